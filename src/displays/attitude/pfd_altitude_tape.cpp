// PFD altitude tape (ticks every 100 ft, labels every 500, the 500-ft zig-zag, the
// selected-altitude marks, the ground box and the rolling-digit readout) and the
// vertical-speed half dial at the right edge.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "displays/attitude/pfd_drums.h"
#include "displays/attitude/pfd_elements.h"
#include "guidance/fms_state.h"

namespace {

constexpr double FT_UNITS = 0.122;  // tape units per foot
constexpr double CURRENT_Y = 95;
constexpr DrawPoint readout_window[] = {{218, 95},  {228, 87},  {248, 87},  {248, 80},  {263, 80},
                                        {263, 110}, {248, 110}, {248, 103}, {228, 103}, {218, 95}};
constexpr int32_t readout_points = 10;

double up(double feet) { return CURRENT_Y - FT_UNITS * feet; }
double down(double feet) { return CURRENT_Y + FT_UNITS * feet; }

struct Offsets {
  int32_t a100, a500, b100, b500;
};

// Feet from the altitude to the next 100- and 500-ft marks above and below it.
Offsets mark_offsets(double alt) {
  Offsets o;
  o.a100 = pfd_mark_offset(alt, 1, 100, 0, 100);
  o.b100 = pfd_mark_offset(alt, -1, 100, 0, 100);
  o.a500 = o.a100 + 100 * pfd_mark_offset((alt + o.a100) / 100, 1, 5, 0, 6);
  o.b500 = o.b100 + 100 * pfd_mark_offset((alt - o.b100) / 100, -1, 5, 0, 6);
  return o;
}

void scale(const GaugeSurface* rec, GfxGraphics* a, PfdTools& t, double alt, const Offsets& o) {
  GfxPen* pen = t.pen(COLOUR_WHITE, 4 * rec->height / CANVAS_PFD.height);
  GfxFont* font = t.font(24 * rec->width / CANVAS_PFD.width);
  GfxBrush* white = t.brush(COLOUR_WHITE);
  auto line = [&](double x1, double y1, double x2, double y2) {
    draw_line_d(a, pen, pfd_hx(rec, x1), pfd_hy(rec, y1), pfd_hx(rec, x2), pfd_hy(rec, y2));
  };
  auto label = [&](double x, double y, double feet) {
    draw_textf(a, font, white, pfd_hx(rec, x), pfd_hy(rec, y), DRAW_TEXT_MAX, "%5d", int32_t(feet));
  };
  gfx_set_text_hint(a, GFX_TEXT_ANTIALIAS);
  for (int i = 0; i <= 5; ++i) {
    // No mark stands for an altitude below 0 ft.
    if (alt + o.a100 + 100 * i >= 0) line(218, up(o.a100 + 100 * i), 228, up(o.a100 + 100 * i));
    if (i < 3 && alt + o.a500 + 500 * i >= 0) label(227, up(o.a500 + 500 * i) - 5, alt + o.a500 + 500 * i);
    if (indicated_altitude - (o.b100 + 100 * i) >= 0) line(218, down(o.b100 + 100 * i), 228, down(o.b100 + 100 * i));
    if (i < 2 && indicated_altitude - (o.b500 + 500 * i) >= 0)
      label(226, down(o.b500 + 500 * i) - 5, alt - o.b500 - 500 * i);
  }
  gfx_set_text_hint(a, GFX_TEXT_DEFAULT);

  auto zigzag = [&](double x1, double y1, double x2, double y2) { line(x1, y1, x2, y2); };
  for (int s : {1, -1}) {
    const double m = o.a500;
    zigzag(218, up(m), 238, up(m + s * 150));
    zigzag(238, up(m + s * 150), 238, up(m + s * 350));
    zigzag(238, up(m + s * 350), 218, up(m + s * 500));
    zigzag(218, up(m + s * 500), 238, up(m + s * 650));
  }
  if (o.a500 > 0) {
    if (o.a500 >= 100) zigzag(238, down(o.b500 + 150), 238, down(o.b500 + 350));
    if (o.a500 >= 300) zigzag(238, down(o.b500 + 350), 218, down(o.b500 + 500));
    if (o.a500 >= 400) zigzag(218, down(o.b500 + 500), 238, down(o.b500 + 650));
  }

  const double diff = ap_altitude - indicated_altitude;
  if (!(std::fabs(diff) < 750)) return;
  const double d = std::trunc(std::fabs(diff));
  auto f = [&](double feet) { return diff > 0 ? up(feet) : down(feet); };
  line(223, f(d), 238, f(d - 100));
  line(238, f(d - 100), 238, f(d - 150));
  line(223, f(d), 238, f(d + 100));
  line(238, f(d + 100), 238, f(d + 150));
}

// "%05.0f" drums: a 20-ft drum of two digits, then hundreds, thousands and
// ten-thousands, each rolling with the 20-ft drum when the drums to its right show 9.
void rolling_digits(GfxGraphics* a, PfdTools& t, double alt) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%05.0f", alt);
  const std::string text = buf;
  const int32_t x = pfd_digit_at(text, 0), th = pfd_digit_at(text, 1), hd = pfd_digit_at(text, 2);
  const int32_t l = 10 * pfd_digit_at(text, 3) + pfd_digit_at(text, 4);
  const int32_t r = (l % 20) / 2, base = l - l % 20;
  const int32_t roll = base == 80 ? r : 0;
  GfxBrush* green = t.brush(COLOUR_LIGHT_GREEN);
  for (int i = 0; i < 5; ++i)
    draw_textf(a, t.font(10), green, 248, r + 69 + 10 * i, DRAW_TEXT_MAX, "%02d", (base + 140 - 20 * i) % 100);
  struct Drum {
    double x;
    int32_t n, shift;
  } drums[] = {
      {.x = 238, .n = hd, .shift = roll},
      {.x = 231, .n = th, .shift = hd == 9 ? roll : 0},
      {.x = 224, .n = x, .shift = th == 9 && hd == 9 ? roll : 0},
  };
  for (const Drum& d : drums)
    for (int i = 0; i < 3; ++i)
      draw_textf(a, t.font(14), green, d.x, d.shift + 75 + 12 * i, DRAW_TEXT_MAX, "%d", (d.n + 11 - i) % 10);
}

void selected_altitude_marker(GfxGraphics* a, PfdTools& t) {
  const double diff = ap_altitude - indicated_altitude;
  if (!(std::fabs(diff) < 750)) return;
  pfd_clip_rect(a, 216, 26, 50, 138);
  const double y = pfd_trunc(CURRENT_Y - FT_UNITS * diff);
  const DrawPoint marker[] = {{218, y},     {221, y - 5}, {221, y - 8}, {215, y - 8},
                              {215, y + 8}, {221, y + 8}, {221, y + 5}, {218, y}};
  fill_polygon_d(a, t.brush(COLOUR_BLUE), marker, 8);
  gfx_reset_clip(a);
  if (ap_altitude_prev != ap_altitude) pfd_request_full_frame();
}

// Needle angle of a vertical speed: 2 degrees per 100 ft/min from 270 (left), within
// +-3000 ft/min.
double vs_angle(double fpm) {
  if (!std::isfinite(fpm)) return 270;
  return std::clamp(std::trunc(std::clamp(fpm, -1e6, 1e6) * 2 / 100 + 270), 210.0, 330.0);
}

}  // namespace

void draw_pfd_altitude_tape(const GaugeSurface* rec, GfxGraphics* a) {
  PfdTools t(a);
  const double alt = std::isfinite(indicated_altitude) ? std::clamp(indicated_altitude, -99999.0, 999999.0) : 0.0;
  pfd_clip_rect(a, 219, 27, 52, 136);
  const DrawPoint tape[] = {{218, 26}, {276, 26}, {276, 164}, {218, 164}, {218, 26}};
  fill_polygon_d(a, t.brush(PFD_TAPE), tape, 5);
  pfd_half_frame(a);
  scale(rec, a, t, std::trunc(alt), mark_offsets(std::trunc(alt)));
  pfd_frame_at(a, rec);
  // A radio altitude off the drawing range draws no box.
  const double g = std::trunc(CURRENT_Y + FT_UNITS * radio_altitude);
  const DrawPoint ground[] = {{218, g}, {276, g}, {276, g + 138}, {218, g + 138}, {218, g}};
  fill_polygon_d(a, t.brush(PFD_GROUND), ground, 5);
  gfx_reset_clip(a);
  pfd_clip_polygon(a, readout_window, readout_points);
  fill_polygon_d(a, t.brush(COLOUR_BLACK), readout_window, readout_points);
  rolling_digits(a, t, alt);
  gfx_reset_clip(a);
  GfxPen* white = t.pen(COLOUR_WHITE, 2);
  if (pfd_full_frame()) draw_rect_d(a, white, 218, 26, 54, 138);
  draw_lines_d(a, white, readout_window, readout_points);
  selected_altitude_marker(a, t);
}

void draw_pfd_vs_dial(const GaugeSurface* rec, GfxGraphics* a) {
  PfdTools t(a);
  constexpr double cx = 274, cy = 246;
  pfd_frame_at(a, rec);
  gfx_reset_clip(a);
  if (!pfd_full_frame()) fill_ellipse_d(a, t.brush(COLOUR_BLACK), 216, 188, 116, 116);
  GfxPen* white = t.pen(COLOUR_WHITE, 2);
  draw_ellipse_d(a, white, 218, 190, 112, 112);
  if (pfd_full_frame()) {
    struct Label {
      const char* text;
      double x, y;
    } labels[] = {{"3", 240, 186}, {"2", 222, 200}, {"1", 212, 220}, {"0", 205, 240},
                  {"1", 211, 260}, {"2", 221, 280}, {"3", 238, 295}};
    for (const Label& l : labels) draw_text(a, t.font(10), t.brush(COLOUR_WHITE), l.x, l.y, DRAW_TEXT_MAX, l.text);
  }
  for (int angle = 210; angle <= 330; angle += 10) {
    pfd_frame_at(a, rec, cx, cy, angle);
    draw_line_d(a, white, 0, angle % 20 == 10 ? -46 : -51, 0, -56);
  }
  pfd_frame_at(a, rec, cx, cy, vs_angle(ap_vs_hold));
  const DrawPoint selected[] = {{0, -56}, {5, -56}, {5, -51}, {-5, -51}, {-5, -56}, {0, -56}};
  fill_polygon_d(a, t.brush(COLOUR_BLUE), selected, 6);
  pfd_frame_at(a, rec, cx, cy, vs_angle(vertical_speed));
  const DrawPoint pointer[] = {{0, -56}, {5, -49}, {-5, -49}, {0, -56}};
  fill_polygon_d(a, t.brush(COLOUR_LIGHT_GREEN), pointer, 4);
  draw_line_d(a, t.pen(COLOUR_LIGHT_GREEN, 2), 0, 0, 0, -56);
  if (vertical_speed >= 500 || vertical_speed <= -500) {
    pfd_frame_at(a, rec, cx, cy);
    const DrawPoint box[] = {{-45, 0}, {-45, -8}, {-15, -8}, {-15, 8}, {-45, 8}, {-45, 0}};
    pfd_shape(a, t.brush(COLOUR_BLACK), white, box, 6);
    draw_textf(a, t.font(10), t.brush(COLOUR_LIGHT_GREEN), -45, -5, DRAW_TEXT_MAX, "%-4.0f",
               std::clamp(vertical_speed, -9900.0, 9900.0));
  }
}
