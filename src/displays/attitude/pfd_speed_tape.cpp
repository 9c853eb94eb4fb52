// PFD speed tape: the scale of indicated airspeed with ticks every 10 kt and labels
// every 20, the readout window with rolling digits, and the selected-speed marker.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "displays/attitude/pfd_drums.h"
#include "displays/attitude/pfd_elements.h"
#include "guidance/fms_state.h"

namespace {

constexpr double KT_UNITS = 1.475;      // tape units per knot
constexpr double MARKER_UNITS = 1.625;  // the marker's units per knot
constexpr double CURRENT_Y = 95;
constexpr DrawPoint readout_window[] = {{36, 95},  {30, 88},  {30, 80}, {21, 80}, {21, 87}, {1, 87},
                                        {1, 103},  {21, 103}, {21, 110}, {30, 110}, {30, 102}, {36, 95}};
constexpr int32_t readout_points = 12;

void ticks_and_labels(const GaugeSurface* rec, GfxGraphics* b, PfdTools& t, double s) {
  const int32_t a10 = pfd_mark_offset(s, 1, 10, 1, 20), a20 = pfd_mark_offset(s, 1, 20, 1, 20);
  const int32_t b10 = pfd_mark_offset(s, -1, 10, 1, 20), b20 = pfd_mark_offset(s, -1, 20, 1, 20);
  GfxPen* pen = t.pen(COLOUR_WHITE, 4 * rec->height / CANVAS_PFD.height);
  GfxFont* font = t.font(24 * rec->width / CANVAS_PFD.width);
  GfxBrush* white = t.brush(COLOUR_WHITE);
  auto tick = [&](double y) { draw_line_d(b, pen, pfd_hx(rec, 27), pfd_hy(rec, y), pfd_hx(rec, 37), pfd_hy(rec, y)); };
  auto label = [&](double kt, double y) {
    draw_textf(b, font, white, pfd_hx(rec, 1), pfd_hy(rec, y), DRAW_TEXT_MAX, "%d", int32_t(kt));
  };
  for (int i = 0; i <= 4; ++i) {
    tick(CURRENT_Y - (a10 + 10 * i) * KT_UNITS);
    if (i <= 3) label(std::trunc(s + a20 + 20 * i), 89 - (a20 + 20 * i) * KT_UNITS);
    // Nothing below 0 kt.
    if (std::trunc(s - b10 - 10 * i) >= 0) tick(CURRENT_Y + (b10 + 10 * i) * KT_UNITS);
    if (i <= 3 && std::trunc(s - b20 - 20 * i) >= 0) label(std::trunc(s - b20 - 20 * i), 89 + (b20 + 20 * i) * KT_UNITS);
  }
}

// Drums of "%3.1f" padded with zeros to five characters: units 15 font, tens and
// hundreds 14; a drum rolls with the tenths when the drums to its right show 9.
void rolling_digits(const GaugeSurface* rec, GfxGraphics* b, PfdTools& t, double s) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%3.1f", s);
  std::string text = buf;
  while (text.size() < 5) text.insert(0, "0");
  const int32_t h = pfd_digit_at(text, 0), tens = pfd_digit_at(text, 1), u = pfd_digit_at(text, 2);
  const int32_t d = pfd_digit_at(text, 4);
  GfxBrush* green = t.brush(COLOUR_LIGHT_GREEN);
  const double sx = rec->width / CANVAS_PFD.width;
  auto digit = [&](double size, double x, double y, int32_t n) {
    draw_textf(b, t.font(2 * sx * size), green, pfd_hx(rec, x), pfd_hy(rec, y), DRAW_TEXT_MAX, "%d", (n + 10) % 10);
  };
  const double units_y[] = {62, 75, 88, 100, 112};
  for (int i = 0; i < 5; ++i) digit(15, 20, d + units_y[i], u + 2 - i);
  const int32_t r = u == 9 ? d : 0, q = tens == 9 && u == 9 ? d : 0;
  for (int i = 0; i < 3; ++i) {
    digit(14, 11, r + 76 + 12 * i, tens + 1 - i);
    digit(14, 1, q + 76 + 12 * i, h + 1 - i);
  }
}

void selected_speed_marker(GfxGraphics* b, PfdTools& t, double s) {
  pfd_clip_rect(b, 0, 26, 39, 139);
  const double d = ap_airspeed - s;
  if (!(std::fabs(d) < 70)) return;
  const double y = pfd_trunc(CURRENT_Y - MARKER_UNITS * d);
  const DrawPoint marker[] = {{36, y},     {33, y - 5}, {33, y - 8}, {39, y - 8},
                              {39, y + 8}, {33, y + 8}, {33, y + 5}, {36, y}};
  fill_polygon_d(b, t.brush(COLOUR_BLUE), marker, 8);
  if (ap_airspeed_prev != ap_airspeed) pfd_request_full_frame();
}

}  // namespace

void draw_pfd_speed_tape(const GaugeSurface* rec, GfxGraphics* a, GfxGraphics* b) {
  // Speeds beyond any aircraft's are drawn as the nearest the drums can show.
  const double s = std::isfinite(indicated_airspeed) ? std::clamp(indicated_airspeed, -999.0, 9999.0) : 0.0;
  {
    PfdTools ta(a);
    pfd_frame_at(a, rec);
    pfd_clip_rect(a, 0, 27, 36, 135);
    const DrawPoint tape[] = {{-4, 26}, {37, 26}, {37, 164}, {-4, 164}, {-4, 26}};
    fill_polygon_d(a, ta.brush(PFD_TAPE), tape, 5);
    gfx_reset_clip(a);
  }
  PfdTools t(b);
  pfd_frame_at(b, rec);
  pfd_clip_rect(b, 0, 27, 36, 135);
  pfd_half_frame(b);
  gfx_set_text_hint(b, GFX_TEXT_ANTIALIAS);
  ticks_and_labels(rec, b, t, s);
  pfd_frame_at(b, rec);
  pfd_clip_polygon(b, readout_window, readout_points);
  fill_polygon_d(b, t.brush(COLOUR_BLACK), readout_window, readout_points);
  pfd_half_frame(b);
  rolling_digits(rec, b, t, s);
  gfx_set_text_hint(b, GFX_TEXT_DEFAULT);
  pfd_frame_at(b, rec);
  gfx_reset_clip(b);
  GfxPen* white = t.pen(COLOUR_WHITE, 2);
  if (pfd_full_frame()) draw_rect_d(b, white, -4, 26, 41, 137);
  draw_lines_d(b, white, readout_window, readout_points);
  selected_speed_marker(b, t, s);
}
