// PFD attitude: sky and ground sphere with the pitch ladder and radio altitude, the
// glideslope scale, the fixed window and bank scale, and the two aircraft symbols
// with their flight-director cues.
#include <cmath>
#include <iterator>

#include "displays/attitude/fd_bars.h"
#include "displays/attitude/pfd_elements.h"
#include "guidance/fms_state.h"
#include "module/sim_vars.h"

namespace {

constexpr double PITCH_UNITS = 2.5;  // per degree, sphere and ladder

// The window: a circle of 125 with its left and right sides cut flat.
void clip_attitude_window(GfxGraphics* g) {
  GfxPath* path = gfx_path_create(g);
  if (!path) return;
  gfx_path_add_arc(g, path, 72, 28, 125, 125, -150, 120);
  gfx_path_add_arc(g, path, 72, 28, 125, 125, 30, 120);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

void sphere(const GaugeSurface* rec, GfxGraphics* b, PfdTools& t) {
  const double bank = adi_token80;
  pfd_frame_at(b, rec, PFD_ATT_X, PFD_ATT_Y, bank);
  // A pitch beyond 28 degrees gives one rectangle a negative height: it draws nothing
  // and the other covers the window.
  const int32_t p = pfd_trunc(adi_token77 * -PITCH_UNITS);
  fill_rect_d(b, t.brush(COLOUR_BLUE), -74, -70, 148, p + 70.0);
  fill_rect_d(b, t.brush(PFD_GROUND), -74, p, 148, 70.0 - p);
  draw_line_d(b, t.pen(COLOUR_WHITE, 2), -134, p, 134, p);
  if (radio_altitude < 2500)
    draw_textf(b, t.font(10), t.brush(COLOUR_LIGHT_GREEN), -13, 50, DRAW_TEXT_MAX, "%4.0f", radio_altitude);
  if (bank >= -61 && bank <= 61) {
    const DrawPoint pointer[] = {{0, -60}, {4, -52}, {-4, -52}, {0, -60}};
    fill_polygon_d(b, t.brush(COLOUR_WHITE), pointer, 4);
  }
}

// The ladder in the half-unit frame about the attitude centre, turned with the bank.
void ladder(const GaugeSurface* rec, GfxGraphics* b, PfdTools& t) {
  gfx_set_text_hint(b, GFX_TEXT_ANTIALIAS);
  pfd_half_frame(b);
  gfx_translate(b, pfd_hx(rec, PFD_ATT_X), pfd_hy(rec, PFD_ATT_Y), GFX_PREPEND);
  if (std::isfinite(adi_token80)) gfx_rotate(b, adi_token80, GFX_PREPEND);
  const double sx = rec->width / CANVAS_PFD.width;
  GfxPen* pen = t.pen(COLOUR_WHITE, 4 * rec->height / CANVAS_PFD.height);
  GfxFont* font = t.font(24 * sx);
  GfxBrush* white = t.brush(COLOUR_WHITE);
  const double pitch = std::isfinite(adi_token77) ? adi_token77 : 0.0;
  const int32_t base = pfd_trunc(pitch * -PITCH_UNITS);
  auto line = [&](double half_width, double y) {
    draw_line_d(b, pen, pfd_hx(rec, -half_width), pfd_hy(rec, y), pfd_hx(rec, half_width), pfd_hy(rec, y));
  };
  auto labels = [&](int a, double y) {
    if (a == 0) return;
    for (double x : {18.0, -35.0})
      draw_textf(b, font, white, pfd_hx(rec, x), pfd_hy(rec, y - 7), DRAW_TEXT_MAX, "%d", a);
  };
  for (int a = 0; a <= 90; a += 5) {
    const double up = base - PITCH_UNITS * a, down = base + PITCH_UNITS * a;
    if (a % 10 != 0) {
      line(5, up);
      line(5, down);
      continue;
    }
    if (a > pitch - 28) {
      line(15, up);
      labels(a, up);
    }
    if (a < pitch + 28) {
      line(15, down);
      labels(a, down);
    }
  }
  gfx_reset_clip(b);
  gfx_set_text_hint(b, GFX_TEXT_DEFAULT);
}

void glideslope_scale(const GaugeSurface* rec, GfxGraphics* b, PfdTools& t) {
  if (!pfd_full_frame() && nav_token41 == nav_token41_prev) return;
  pfd_frame_at(b, rec, PFD_ATT_X, PFD_ATT_Y);
  GfxBrush* black = t.brush(COLOUR_BLACK);
  fill_rect_d(b, black, 59, -35, 9, 70);
  fill_rect_d(b, black, 55, -2, 10, 4);
  GfxPen* white = t.pen(COLOUR_WHITE, 2);
  for (double y : {-28.0, -14.0, 8.0, 22.0}) draw_ellipse_d(b, white, 60, y, 6, 6);
  draw_line_d(b, white, 57, 0, 63, 0);
  const int32_t g = pfd_trunc(nav_token41 / 4.5);
  const DrawPoint pointer[] = {{60.0, double(g)}, {67.0, g + 7.0}, {67.0, g - 7.0}, {60.0, double(g)}};
  fill_polygon_d(b, t.brush(COLOUR_LIGHT_GREEN), pointer, 4);
}

// Bank marks, each drawn straight up in the frame turned by its angle.
struct BankMark {
  double angle;
  bool triangle;
  double y0, y1;  // line from (0, y0) to (0, y1); triangle tip y0, base y1
};
constexpr BankMark bank_marks[] = {
    {.angle = -60, .triangle = false, .y0 = -60, .y1 = -64}, {.angle = -45, .triangle = true, .y0 = -60, .y1 = -64},
    {.angle = -30, .triangle = false, .y0 = -60, .y1 = -68}, {.angle = -20, .triangle = false, .y0 = -60, .y1 = -64},
    {.angle = -10, .triangle = false, .y0 = -60, .y1 = -64}, {.angle = 10, .triangle = false, .y0 = -60, .y1 = -64},
    {.angle = 20, .triangle = false, .y0 = -60, .y1 = -64},  {.angle = 30, .triangle = false, .y0 = -61, .y1 = -69},
    {.angle = 45, .triangle = true, .y0 = -62, .y1 = -66},   {.angle = 60, .triangle = false, .y0 = -62, .y1 = -66},
};

void window_and_bank_scale(const GaugeSurface* rec, GfxGraphics* b, PfdTools& t) {
  if (!pfd_full_frame()) return;
  pfd_frame_at(b, rec);
  GfxPen* white2 = t.pen(COLOUR_WHITE, 2);
  draw_arc_d(b, white2, 71, 27, 127, 127, -150, 120);
  draw_arc_d(b, white2, 71, 27, 127, 127, 30, 120);
  fill_rect_d(b, t.brush(COLOUR_WHITE), 79, 58, 1, 65);
  fill_rect_d(b, t.brush(COLOUR_WHITE), 189, 58, 1, 65);
  pfd_frame_at(b, rec, PFD_ATT_X, PFD_ATT_Y);
  const DrawPoint zero_index[] = {{0, -60}, {4, -68}, {-4, -68}, {0, -60}};
  draw_lines_d(b, t.pen(COLOUR_WHITE, 1), zero_index, 4);
  for (const BankMark& m : bank_marks) {
    pfd_frame_at(b, rec, PFD_ATT_X, PFD_ATT_Y, m.angle);
    if (m.triangle) {
      const DrawPoint tri[] = {{0, m.y0}, {2, m.y1}, {-2, m.y1}, {0, m.y0}};
      draw_lines_d(b, white2, tri, 4);
    } else {
      draw_line_d(b, white2, 0, m.y0, 0, m.y1);
    }
  }
}

}  // namespace

void draw_pfd_attitude(const GaugeSurface* rec, GfxGraphics*, GfxGraphics* b) {
  PfdTools t(b);
  pfd_frame_at(b, rec);
  clip_attitude_window(b);
  sphere(rec, b, t);
  ladder(rec, b, t);
  glideslope_scale(rec, b, t);
  window_and_bank_scale(rec, b, t);
}

void draw_pfd_chevron_symbol(const GaugeSurface* rec, GfxGraphics* b) {
  PfdTools t(b);
  pfd_frame_at(b, rec, PFD_ATT_X, PFD_ATT_Y);
  GfxBrush* black = t.brush(COLOUR_BLACK);
  GfxPen* outline = t.pen(COLOUR_AMBER, 1);
  const DrawPoint chevron[] = {{0, 0}, {30, 10}, {15, 10}, {15, 8}, {-15, 8}, {-15, 10}, {-30, 10}, {0, 0}};
  pfd_shape(b, black, outline, chevron, 8);
  draw_line_d(b, outline, 0, 0, 0, 3);
  draw_line_d(b, outline, 0, 3, 30, 10);
  draw_line_d(b, outline, 0, 3, -30, 10);
  const DrawPoint right_tip[] = {{44, 2}, {44, -2}, {54, -2}, {54, 2}, {44, 2}};
  const DrawPoint left_tip[] = {{-42, 2}, {-42, -2}, {-52, -2}, {-52, 2}, {-42, 2}};
  pfd_shape(b, black, outline, right_tip, 5);
  pfd_shape(b, black, outline, left_tip, 5);
  if (get_flight_director_active() == 0) return;
  fd_bars_step(0.11, 0);
  pfd_frame_at(b, rec, PFD_ATT_X, PFD_ATT_Y, fd_bank_bar);
  const double y = pfd_trunc(PITCH_UNITS * fd_pitch_bar - 1);
  const DrawPoint cue[] = {{0, y},       {33, y + 11},  {38, y + 6},   {38, y + 11}, {33, y + 11},
                           {38, y + 6},  {0, y},        {-33, y + 11}, {-38, y + 6}, {-38, y + 11},
                           {-33, y + 11}, {-38, y + 6}, {0, y}};
  pfd_shape(b, t.brush(PFD_CHEVRON_CUE), t.pen(COLOUR_WHITE, 1), cue, int32_t(std::size(cue)));
}

void draw_pfd_bar_symbol(const GaugeSurface* rec, GfxGraphics* b) {
  PfdTools t(b);
  pfd_frame_at(b, rec, PFD_ATT_X, PFD_ATT_Y);
  GfxBrush* black = t.brush(COLOUR_BLACK);
  GfxPen* outline = t.pen(COLOUR_YELLOW, 1);
  const DrawPoint left[] = {{-10, 0}, {-10, -2}, {-35, -2}, {-35, 2}, {-14, 2}, {-14, 7}, {-10, 7}, {-10, 0}};
  const DrawPoint centre[] = {{-2, -2}, {-2, 2}, {2, 2}, {2, -2}, {-2, -2}};
  const DrawPoint right[] = {{10, 0}, {10, -2}, {35, -2}, {35, 2}, {14, 2}, {14, 7}, {10, 7}, {10, 0}};
  pfd_shape(b, black, outline, left, 8);
  pfd_shape(b, black, outline, centre, 5);
  pfd_shape(b, black, outline, right, 8);
  if (get_flight_director_active() == 0) return;
  fd_bars_step(0.1, 20);
  GfxPen* magenta = t.pen(COLOUR_MAGENTA, 2);
  const double x = pfd_trunc(2.05 * fd_bank_bar), y = pfd_trunc(PITCH_UNITS * fd_pitch_bar);
  draw_line_d(b, magenta, x, -30, x, 30);
  draw_line_d(b, magenta, -30, y, 30, y);
}
