// B777 PFD: dispatcher, renderer order, and the attitude display (sphere, ladder,
// pitch limit, aircraft symbol, flight-director cues, radio altitude, flight-path
// vector, roll scale).
#include "displays/attitude/b777_pfd.h"

#include <cmath>
#include <cstring>

#include "displays/attitude/fd_bars.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace b777 {
namespace {

constexpr double LADDER_UNITS = 3.0;  // design units a degree of pitch

void set_ladder_clip(const Draw& d) {
  d.design();
  GfxPath* path = gfx_path_create(d.g);
  if (!path) return;
  gfx_path_add_arc(d.g, path, -85, -65, 170, 141, 210, 120);
  gfx_path_add_line(d.g, path, 70, -35, 70, 75);
  gfx_path_add_line(d.g, path, 70, 75, -70, 75);
  gfx_path_add_line(d.g, path, -70, 75, -70, -35);
  gfx_path_close_figure(d.g, path);
  gfx_set_clip_path(d.g, path);
  gfx_path_delete(path);
}

void set_attitude_clip(const Draw& d) { set_clip_rounded_rect_d(d.g, -70, -75, 140, 150, 15); }

void draw_ladder(const Draw& d, double h) {
  const AttFrame f = d.fine(adi_token80);
  GfxPen* white1 = d.o.pen(WHITE, f.size(1));
  GfxFont* f9 = d.font(f.size(9));
  GfxBrush* white = d.o.brush(WHITE);
  f.line(white1, -130, h, 130, h);
  for (int32_t i = 5; i <= 90; i += 5) {
    for (int32_t side : {-1, 1}) {
      const double y = h + side * LADDER_UNITS * i;
      if (i % 10 == 0) {
        f.line(white1, -32, y, 32, y);
        f.textf(f9, white, 32, y - 5, "%d", i);
        f.textf(f9, white, -45, y - 5, "%d", i);
      } else {
        f.line(white1, -16, y, 16, y);
      }
      f.line(white1, -8, y - side * 8, 8, y - side * 8);
    }
  }
  if (!(get_flaps_position() > 0)) return;
  const double limit = get_token_349();
  const double y = limit < 25000 ? 37 - limit / 25000 * 80 : -40;
  GfxPen* amber2 = d.o.pen(AMBER, f.size(2));
  for (double s : {-1.0, 1.0}) {
    f.line(amber2, 30 * s, y, 30 * s, y - 6);
    f.line(amber2, 30 * s, y - 5, 42 * s, y - 5);
    for (double x : {33.0, 36.0, 39.0}) f.line(amber2, x * s, y - 5, (x + 3) * s, y - 12);
  }
}

void draw_aircraft_symbol(const Draw& d, const AttFrame& f) {
  GfxBrush* black = d.o.brush(BLACK);
  if (EadiDualCue == 0) {
    const std::initializer_list<DrawPoint> chevron = {{0, 0},   {40, 15},  {20, 15}, {0, 0},
                                                      {-20, 15}, {-40, 15}, {0, 0}};
    f.fill(black, chevron);
    f.lines(d.o.pen(WHITE, 2), chevron);
    return;
  }
  GfxPen* white1 = d.o.pen(WHITE, 1);
  for (double s : {-1.0, 1.0}) {
    const std::initializer_list<DrawPoint> wing = {{26 * s, 0},  {26 * s, -2}, {60 * s, -2}, {60 * s, 2},
                                                   {30 * s, 2},  {30 * s, 10}, {26 * s, 10}, {26 * s, 0}};
    f.fill(black, wing);
    f.lines(white1, wing);
  }
  const std::initializer_list<DrawPoint> centre = {{-2, -2}, {-2, 2}, {2, 2}, {2, -2}, {-2, -2}};
  f.fill(black, centre);
  f.lines(white1, centre);
}

void draw_fd_cues(const Draw& d) {
  fd_bars_step(0.11, 0.0);
  d.design();
  set_attitude_clip(d);
  const double p = att_trunc(3.0 * fd_pitch_bar);
  if (EadiDualCue == 0) {
    d.design(fd_bank_bar)
        .lines(d.o.pen(MAGENTA, 1), {{0, p},
                                     {50, p + 10},
                                     {45, p + 15},
                                     {50, p + 15},
                                     {50, p + 10},
                                     {45, p + 15},
                                     {0, p},
                                     {-45, p + 15},
                                     {-50, p + 10},
                                     {-50, p + 15},
                                     {-45, p + 15},
                                     {-50, p + 10},
                                     {0, p}});
    return;
  }
  const AttFrame f = d.design();
  GfxPen* magenta2 = d.o.pen(MAGENTA, 2);
  const double b = att_trunc(2.4 * fd_bank_bar);
  f.line(magenta2, b, -45, b, 45);
  f.line(magenta2, -45, p, 45, p);
}

void draw_fpv(const Draw& d) {
  if (DispFPV != 1 || !(ground_speed > 60)) return;
  const FpvPlace at = fpv_place(LADDER_UNITS);
  int32_t y = att_trunc(at.y);
  int32_t x = att_trunc(at.x);
  const bool held = y < -70 || y > 70 || x < -65 || x > 65;
  if (held) {
    y = y < -70 ? -70 : y > 70 ? 70 : y;
    x = x < -65 ? -65 : x > 65 ? 65 : x;
    if (!att_flash_on()) return;
  }
  GfxPen* white1 = d.o.pen(WHITE, 1);
  const AttFrame f = d.design(adi_token80);
  f.ellipse(white1, x - 6, y - 6, 12, 12);
  f.line(white1, x, y - 6, x, y - 12);
  f.line(white1, x - 6, y, x - 12, y);
  f.line(white1, x + 6, y, x + 12, y);
}

}  // namespace

void draw_attitude(const Draw& d) {
  d.design();
  set_attitude_clip(d);
  const double h = -LADDER_UNITS * adi_token77;
  const AttFrame sphere = d.fine(adi_token80);
  sphere.fill(d.o.brush(d.sky), {{-375, -390}, {145, -130}, {145, h}, {-375, h}});
  sphere.fill(d.o.brush(d.ground), {{-375, h}, {145, h}, {145, 130}, {-375, 130}});
  gfx_reset_clip(d.g);

  set_ladder_clip(d);
  draw_ladder(d, h);
  draw_aircraft_symbol(d, d.design());
  if (get_flight_director_active() != 0) draw_fd_cues(d);

  const AttFrame f = d.design();
  if (radio_altitude < 2500) {
    f.fill_rect(d.o.brush(d.background), -20, 53, 40, 15);
    f.textf(d.font(15), d.o.brush(WHITE), -20, 53, "%4.0f", radio_altitude);
  }
  draw_fpv(d);
  gfx_reset_clip(d.g);
}

void draw_roll_scale(const Draw& d) {
  GfxPen* white1 = d.o.pen(WHITE, 1);
  const AttFrame rolled = d.design(adi_token80);
  rolled.lines(white1, {{0, -70}, {4, -62}, {-4, -62}, {0, -70}});
  rolled.rect(white1, att_trunc(get_token_69() / 15.875) - 5, -62, 10, 3);
  for (int32_t a : {-60, -45, -30, -20, -10, 0, 10, 20, 30, 45, 60}) {
    const AttFrame f = d.design(a);
    if (a == 0) {
      f.fill(d.o.brush(WHITE), {{0, -70}, {3, -75}, {-3, -75}});
    } else {
      f.line(white1, 0, -70, 0, std::abs(a) == 30 ? -80 : std::abs(a) == 60 ? -77 : -75);
    }
  }
}

int32_t readout_digit(const char* text, int32_t i) {
  if (i < 0 || i >= int32_t(std::strlen(text))) return 0;
  const char c = text[i];
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

}  // namespace b777

void draw_b777_pfd(const GaugeSurface* ctx, GfxGraphics* g) {
  AttObjects o(g);
  const AttDraw d{.ctx = ctx,
                  .g = g,
                  .o = o,
                  .canvas = CANVAS_B777_PFD,
                  .cx = b777::CX,
                  .cy = b777::CY,
                  .family = FONT_ARIAL,
                  .background = att_setting_colour(B777PFDBkgrdColorRed, B777PFDBkgrdColorGreen, B777PFDBkgrdColorBlue),
                  .tape = att_setting_colour(B777PFDTapeColorRed, B777PFDTapeColorGreen, B777PFDTapeColorBlue),
                  .sky = att_setting_colour(B777PFDSkyColorRed, B777PFDSkyColorGreen, B777PFDSkyColorBlue),
                  .ground = att_setting_colour(B777PFDGrndColorRed, B777PFDGrndColorGreen, B777PFDGrndColorBlue),
                  .speeds = tape_speeds()};
  b777::draw_attitude(d);
  b777::draw_speed_tape(d);
  b777::draw_altitude_tape(d);
  b777::draw_roll_scale(d);
  b777::draw_mode_annunciations(d);
  b777::draw_vertical_speed(d);
  b777::draw_readouts(d);
  b777::draw_radio_data_and_heading(d);
}

void b777_pfd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  GfxGraphics* g = att_begin(ctx, dc, width, height);
  if (!g) return;
  gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
  if (display_power == 0 || draw_mode == 2) {
    gfx_clear(g, 0x0072BD61);
  } else {
    gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
    att_fill_canvas(g, ctx, CANVAS_B777_PFD, 285, 260,
                    att_setting_colour(B777PFDBkgrdColorRed, B777PFDBkgrdColorGreen, B777PFDBkgrdColorBlue));
    draw_b777_pfd(ctx, g);
  }
  gfx_delete(g);
}
