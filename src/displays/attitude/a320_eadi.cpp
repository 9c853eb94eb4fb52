// A320 EADI: dispatcher and attitude section (sphere, ladder, radio altitude, roll
// and sideslip, aircraft symbol, flight-director bars, flight-path vector, roll
// scale and deviation scales).
#include "displays/attitude/a320_eadi.h"

#include <cmath>
#include <cstring>

#include "displays/attitude/fd_bars.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace a320 {
namespace {

constexpr double LADDER_UNITS = 4.1;  // design units a degree of pitch

// The sphere: a circle of radius 104 (103 below) cut by vertical sides at x = +-90.
void set_sphere_clip(const Draw& d) {
  d.design();
  GfxPath* path = gfx_path_create(d.g);
  if (!path) return;
  gfx_path_add_arc(d.g, path, -104, -104, 208, 208, 210, 120);
  gfx_path_add_line(d.g, path, 90, -52, 90, 52);
  gfx_path_add_arc(d.g, path, -103, -103, 206, 206, 30, 120);
  gfx_path_add_line(d.g, path, -90, -52, -90, 52);
  gfx_path_close_figure(d.g, path);
  gfx_set_clip_path(d.g, path);
  gfx_path_delete(path);
}

void draw_ladder(const Draw& d, const AttFrame& f, double h) {
  GfxPen* white2 = d.o.pen(WHITE, f.size(2));
  GfxFont* f15 = d.font(f.size(15));
  GfxBrush* white = d.o.brush(WHITE);
  const bool on_ground = get_on_ground() != 0;
  f.line(white2, -149, h, 149, h);
  for (int32_t deg = 5; deg <= 90; deg += 5) {
    const double up = h - LADDER_UNITS * deg, down = h + LADDER_UNITS * deg;
    const bool tens = deg % 10 == 0;
    f.line(white2, tens ? -25 : -15, up, tens ? 25 : 15, up);
    if (tens) {
      f.textf(f15, white, 30, up - 8, "%d", deg);
      f.textf(f15, white, -50, up - 8, "%d", deg);
    }
    if (on_ground) continue;
    f.line(white2, -10, up + 8, 10, up + 8);
    f.line(white2, tens ? -25 : -10, down, tens ? 25 : 10, down);
    if (tens) {
      f.textf(f15, white, 30, down - 8, "%d", deg);
      f.textf(f15, white, -50, down - 8, "%d", deg);
    }
    f.line(white2, -5, down - 8, 5, down - 8);
  }
  f.line(white2, -80, -80, 80, -80);
  f.line(white2, -80, 80, 80, 80);
  f.fill_rect(d.o.brush(d.sky), -80, -120, 160, 40);
  f.fill_rect(d.o.brush(d.ground), -80, 80, 160, 40);
  if (radio_altitude > 0 && radio_altitude <= 2500) {
    char text[16];
    std::snprintf(text, sizeof text, "%3.0f", radio_altitude);
    f.text(d.font(f.size(15)), d.o.brush(AMBER), -5.0 * double(std::strlen(text)), 80, text);
  }
}

void draw_aircraft_symbol(const Draw& d, const AttFrame& f) {
  GfxBrush* black = d.o.brush(BLACK);
  if (EadiDualCue == 99) {
    f.fill(black, {{0, 0}, {40, 15}, {30, 15}, {0, 5}, {-30, 15}, {-40, 15}, {0, 0}});
    return;
  }
  GfxPen* amber1 = d.o.pen(AMBER, 1);
  const std::initializer_list<DrawPoint> left = {{-47, 0},  {-47, -3}, {-85, -3}, {-85, 3},
                                                 {-53, 3},  {-53, 12}, {-47, 12}, {-47, 0}};
  const std::initializer_list<DrawPoint> right = {{47, 0}, {47, -3}, {87, -3}, {87, 3},
                                                  {54, 3}, {54, 12}, {47, 12}, {47, 0}};
  const std::initializer_list<DrawPoint> centre = {{-3, -3}, {3, -3}, {3, 3}, {-3, 3}, {-3, -3}};
  for (const auto& part : {left, centre, right}) {
    f.fill(black, part);
    f.lines(amber1, part);
  }
}

// The flight-path vector, blinking while held at a limit.
void draw_fpv(const Draw& d) {
  if (DispFPV != 1 || !(ground_speed > 60)) return;
  const FpvPlace at = fpv_place(LADDER_UNITS);
  int32_t y = att_trunc(at.y);
  int32_t x = att_trunc(at.x);
  const bool held = y < -60 || y > 60 || x < -83 || x > 83;
  y = y < -60 ? -60 : y > 60 ? 60 : y;
  x = x < -83 ? -83 : x > 83 ? 83 : x;
  if (held && !att_flash_on()) return;
  GfxPen* white2 = d.o.pen(WHITE, 2);
  const AttFrame f = d.design(adi_token80);
  f.ellipse(white2, x - 6, y - 6, 12, 12);
  f.line(white2, x, y - 6, x, y - 12);
  f.line(white2, x - 6, y, x - 12, y);
  f.line(white2, x + 6, y, x + 12, y);
}

void draw_roll_scale(const Draw& d) {
  gfx_reset_clip(d.g);
  GfxPen* white2 = d.o.pen(WHITE, 2);
  d.design();
  draw_arc_d(d.g, white2, -104, -104, 208, 208, 240, 60);
  for (int32_t a : {-45, -30, -20, -10, 0, 10, 20, 30, 45}) {
    AttFrame f = d.design(a);
    if (a == 0) {
      f.lines(d.o.pen(AMBER, 2), {{0, -104}, {4, -111}, {-4, -111}, {0, -104}});
    } else {
      f.line(white2, 0, -104, 0, std::abs(a) == 30 ? -114 : -109);
    }
  }
  d.design().line(d.o.pen(AMBER, 3), 92, 0, 107, 0);
}

// Deviation diamonds at 70 units per 127 of deviation.
constexpr double DEVIATION_DIVISOR = 127.0 / 70.0;

void draw_deviation_scales(const Draw& d, const AttFrame& f) {
  GfxPen* white2 = d.o.pen(WHITE, 2);
  GfxPen* magenta2 = d.o.pen(MAGENTA, 2);
  if (has_nav1_glideslope() != 0) {
    for (double y : {-73.0, -38.0, 38.0, 73.0}) f.ellipse(white2, 95, y, 6, 6);
    const double g = att_trunc(nav_token41 / DEVIATION_DIVISOR + 6);
    f.lines(magenta2, {{91, g}, {98, g - 7}, {105, g}, {98, g + 7}, {91, g}});
  }
  if (get_nav1_signal() > 0 && is_nav1_localizer() != 0) {
    for (double x : {-72.0, -37.0, 33.0, 68.0}) f.ellipse(white2, x, 108, 6, 6);
    f.line(d.o.pen(AMBER, 3), 0, 105, 0, 115);
    const double l = att_trunc(nav_token40 / DEVIATION_DIVISOR - 6);
    f.lines(magenta2, {{l, 111}, {l + 7, 104}, {l + 14, 111}, {l + 7, 118}, {l, 111}});
  }
  f.line(d.o.pen(AMBER, 3), 0, 117, 0, 130);
}

}  // namespace

void draw_attitude_section(const Draw& d) {
  set_sphere_clip(d);
  const double h = -LADDER_UNITS * adi_token77;
  AttFrame sphere = d.fine(adi_token80);
  sphere.fill(d.o.brush(d.sky), {{-549, -555}, {251, -155}, {251, h}, {-549, h}});
  sphere.fill(d.o.brush(d.ground), {{-549, h}, {251, h}, {251, 245}, {-549, 245}});
  draw_ladder(d, sphere, h);

  AttFrame rolled = d.design(adi_token80);
  rolled.lines(d.o.pen(WHITE, 2), {{0, -104}, {4, -97}, {-4, -97}, {0, -104}});
  rolled.fill_rect(d.o.brush(WHITE), att_trunc(get_token_69() / 15.875) - 6, -96, 10, 3);

  AttFrame f = d.design();
  draw_aircraft_symbol(d, f);
  if (get_flight_director_active() != 0) {
    fd_bars_step(0.11, 0.0);
    GfxPen* green2 = d.o.pen(GREEN, 2);
    const int32_t x = att_trunc(1.8 * fd_bank_bar), p = att_trunc(1.8 * fd_pitch_bar);
    f.line(green2, x, -33, x, 33);
    f.line(green2, -33, p, 33, p);
  }
  draw_fpv(d);
  draw_roll_scale(d);
  draw_deviation_scales(d, d.design());
}

}  // namespace a320

TapeSpeeds tape_speeds() {
  TapeSpeeds s{get_barber_pole_speed_raw() / 128.0, 0.0};
  if (indicated_airspeed > s.vmax + 120) s.vmax = indicated_airspeed - 70;
  s.vs = get_flaps_position() == 0 ? get_design_speed_vs1() : get_design_speed_vs0();
  return s;
}

void take_off_speeds_settle() {
  if (VR > 0 && V1 == 0) V1 = VR;
}

FpvPlace fpv_place(double units_per_degree) {
  if (!(ground_speed > 0)) return {0, 0};
  const double path = 0.6 * get_vertical_speed_fpm() / ground_speed;
  return {-units_per_degree * drift_angle, -units_per_degree * (adi_token77 + path)};
}

void draw_a320_pfd(const GaugeSurface* ctx, GfxGraphics* g) {
  AttObjects o(g);
  const AttDraw d{.ctx = ctx,
                  .g = g,
                  .o = o,
                  .canvas = CANVAS_A320_EADI,
                  .cx = a320::CX,
                  .cy = a320::CY,
                  .family = FONT_TAHOMA,
                  .background = 0,
                  .tape = att_setting_colour(A320EADITapeColorRed, A320EADITapeColorGreen, A320EADITapeColorBlue),
                  .sky = att_setting_colour(A320EADISkyColorRed, A320EADISkyColorGreen, A320EADISkyColorBlue),
                  .ground = att_setting_colour(A320EADIGrndColorRed, A320EADIGrndColorGreen, A320EADIGrndColorBlue),
                  .speeds = tape_speeds()};
  a320::draw_attitude_section(d);
  a320::draw_tapes(d);
  a320::draw_heading_and_fields(d);
}

void a320_eadi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t) {
  GfxGraphics* g = att_begin(ctx, dc, width, height);
  if (!g) return;
  if (display_power == 0) {
    gfx_clear(g, COLOUR_TRANSPARENT);
  } else {
    gfx_set_smoothing(g, GFX_SMOOTHING_ANTIALIAS);
    gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
    att_fill_canvas(g, ctx, CANVAS_A320_EADI, 318, 310,
                    att_setting_colour(A320EADIBkgrdColorRed, A320EADIBkgrdColorGreen, A320EADIBkgrdColorBlue));
    draw_a320_pfd(ctx, g);
  }
  gfx_delete(g);
}
