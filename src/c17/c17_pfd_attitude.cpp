// C-17 PFD, first half: data fields, sky and ground, pitch ladder, flight-director
// bars, flight-path vector, warnings, aircraft symbol and bank scale.
#include <cmath>
#include <cstdio>

#include "c17/c17_mfd.h"
#include "c17/c17_pfd.h"
#include "displays/attitude/attitude.h"
#include "displays/attitude/fd_bars.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

PfdKit::PfdKit(GfxGraphics* graphics, const GaugeSurface* s) : C17Objects(graphics), g(graphics), surface(s) {
  const double wh = double(s->width) + double(s->height);
  kx = 16.0 * wh / CANVAS_C17_MFD.width;
  ky = 16.0 * wh / CANVAS_C17_MFD.height;
  white_solid = o.pen(C17_WHITE, 1.5 * ky);
  white_dashed = o.pen(C17_WHITE, 1.5 * kx, GFX_DASH_DASH);
  fine9 = o.font(FONT_ARIAL, 9 * kx, GFX_FONT_BOLD);
  fine11 = o.font(FONT_ARIAL, 11 * kx, GFX_FONT_BOLD);
  fine12 = o.font(FONT_ARIAL, 12 * kx, GFX_FONT_BOLD);
}

void PfdKit::design_centred(double rot) const { c17_frame(g, surface, c17_mfd_rose_cx, c17_mfd_rose_cy, rot); }
void PfdKit::design_absolute() const { c17_frame(g, surface); }

void PfdKit::fine(double rot) const {
  gfx_reset_transform(g);
  const double wh = double(surface->width) + double(surface->height);
  if (!(wh > 0)) return;
  gfx_scale(g, surface->width / wh / 16.0, surface->height / wh / 16.0, GFX_PREPEND);
  gfx_translate(g, c17_mfd_rose_cx * kx, c17_mfd_rose_cy * ky, GFX_PREPEND);
  if (rot != 0 && std::isfinite(rot)) gfx_rotate(g, rot, GFX_PREPEND);
}

void PfdKit::line(const GfxPen* pen, double x1, double y1, double x2, double y2) const {
  draw_line_d(g, pen, x1 * kx, y1 * ky, x2 * kx, y2 * ky);
}

void PfdKit::polygon(const GfxBrush* brush, const DrawPoint* pts, int32_t n) const {
  DrawPoint fine_pts[16];
  if (n > 16) return;
  for (int32_t i = 0; i < n; ++i) fine_pts[i] = {pts[i].x * kx, pts[i].y * ky};
  fill_polygon_d(g, brush, fine_pts, n);
}

void PfdKit::polyline(const GfxPen* pen, const DrawPoint* pts, int32_t n) const {
  DrawPoint fine_pts[16];
  if (n > 16) return;
  for (int32_t i = 0; i < n; ++i) fine_pts[i] = {pts[i].x * kx, pts[i].y * ky};
  draw_lines_d(g, pen, fine_pts, n);
}

void PfdKit::text(const GfxFont* font, const GfxBrush* brush, double x, double y, const char* t) const {
  int32_t fx = 0, fy = 0;
  if (trunc_coord(x * kx, fx) && trunc_coord(y * ky, fy)) draw_text(g, font, brush, fx, fy, C17_TEXT_CAPACITY, t);
}

void PfdKit::clip_polygon(const DrawPoint* pts, int32_t n) const {
  GfxPath* path = gfx_path_create(g);
  for (int32_t i = 0; i < n; ++i) {
    const DrawPoint& a = pts[i];
    const DrawPoint& b = pts[(i + 1) % n];
    int32_t x1, y1, x2, y2;
    if (trunc_coord(a.x * kx, x1) && trunc_coord(a.y * ky, y1) && trunc_coord(b.x * kx, x2) &&
        trunc_coord(b.y * ky, y2))
      gfx_path_add_line(g, path, x1, y1, x2, y2);
  }
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

namespace {

constexpr double LADDER_UNITS = 4.5;  // design units a degree of pitch
// The radio altitude and decision height the DH field shows; nothing changes it.
constexpr double DH_FIELD_FT = 200.0;

void draw_data_fields(PfdKit& k) {
  GfxGraphics* g = k.g;
  k.design_absolute();
  if (get_ap_attitude_hold() == 1.0) draw_text(g, k.a8, k.cyan, 180, 10, C17_TEXT_CAPACITY, "ATT");
  c17_draw_value(g, k.a9, k.green, 0, 188, "GS %3.0f", ground_speed);
  c17_draw_value(g, k.a9, k.green, 0, 198, "M  .%02.0f", get_mach_raw() / 65536.0 * 3.2 * 100.0);
  if (get_nav1_signal() > 0) {
    c17_draw_value(g, k.a9, k.cyan, 40, 178, "%03.0f", nav1_course);
    draw_text(g, k.a9, k.cyan, 40, 188, C17_TEXT_CAPACITY, "V1");
    c17_draw_value(g, k.a9, k.cyan, 40, 198, "D%.1f", get_dme1_distance());
    draw_text(g, k.a9, k.cyan, C17_PFD_NAV_IDENT_X, C17_PFD_NAV_IDENT_Y, C17_TEXT_CAPACITY, c17_nav1_ident_text());
  }
  c17_draw_value(g, k.a9, k.green, 200, 220, "%1.1f G", get_g_force());
  c17_draw_value(g, k.a9, k.green, 200, 190, "VV %02.0f", vertical_speed);
  if (radio_altitude < 2500) c17_draw_value(g, k.a9, k.green, 200, 200, "RA %4.0f", radio_altitude);
  if (radio_altitude < 2000) draw_textf(g, k.a9, k.green, 200, 210, C17_TEXT_CAPACITY, "DH %4.0f", DH_FIELD_FT);
}

void set_attitude_clip(PfdKit& k) {
  k.design_centred();
  GfxPath* path = gfx_path_create(k.g);
  gfx_path_add_arc(k.g, path, -80, -80, 160, 160, 210, 120);
  gfx_path_add_line(k.g, path, 69, -40, 69, 40);
  gfx_path_add_arc(k.g, path, -80, -80, 160, 160, 30, 120);
  gfx_path_add_line(k.g, path, -69, -40, -69, 40);
  gfx_path_close_figure(k.g, path);
  gfx_set_clip_path(k.g, path);
  gfx_path_delete(path);
}

void draw_sky_and_ground(PfdKit& k, double h) {
  const double cx = c17_mfd_rose_cx, cy = c17_mfd_rose_cy;
  const DrawPoint sky[] = {{-cx - 400, -cy - 400}, {400 - cx, -cy}, {400 - cx, h}, {-cx - 400, h}};
  const DrawPoint ground[] = {{-cx - 400, h}, {400 - cx, h}, {400 - cx, 400 - cy}, {-cx - 400, 400 - cy}};
  LayerObjects o(k.g);
  k.polygon(o.brush(c17_colour(C17MfdSkyColorRed, C17MfdSkyColorGreen, C17MfdSkyColorBlue)), sky, 4);
  k.polygon(o.brush(c17_colour(C17MfdGrndColorRed, C17MfdGrndColorGreen, C17MfdGrndColorBlue)), ground, 4);
}

// One rung at y: the end ticks (length `tick`, down above the horizon, up below it)
// solid, the rest solid above the horizon and dashed below, slanting towards it.
void draw_rung(PfdKit& k, int32_t a, double y, double tick) {
  const double e = a % 10 == 0 ? 48 : 40;
  const GfxPen* pen = tick > 0 ? k.white_solid : k.white_dashed;
  for (double side : {-1.0, 1.0}) {
    k.line(k.white_solid, side * e, y, side * e, y + tick);
    if (a < 30) {
      k.line(pen, side * e, y, side * 20, y);
    } else {
      k.line(pen, side * e, y, side * 30, y);
      k.line(pen, side * 30, y, side * 20, y + (tick > 0 ? 15 : -15));
    }
  }
  if (a % 10 == 0) {
    char label[8];
    std::snprintf(label, sizeof label, "%d", a);
    k.text(k.fine11, k.white, 50, y - 6, label);
    k.text(k.fine11, k.white, -65, y - 6, label);
  }
}

void draw_pitch_ladder(PfdKit& k, double h) {
  k.line(k.white_solid, -c17_mfd_rose_cx, h, c17_mfd_rose_cx, h);
  for (int32_t a = 5; a <= 90; a += 5) {
    draw_rung(k, a, h - LADDER_UNITS * a, 8);
    draw_rung(k, a, h + LADDER_UNITS * a, -8);
  }
}

void draw_fd_bars(PfdKit& k) {
  if (get_flight_director_active() == 0) return;
  fd_bars_step(0.11, 0);
  k.design_centred();
  int32_t x = 0, y = 0;
  if (trunc_coord(2.28 * fd_bank_bar, x)) draw_line_d(k.g, k.magenta3, x, -50, x, 50);
  if (trunc_coord(2.28 * fd_pitch_bar, y)) draw_line_d(k.g, k.magenta3, -50, y, 50, y);
}

// From the horizon by the flight-path angle, toward the track, turned with the bank.
void draw_flight_path_vector(PfdKit& k) {
  if (DispFPV != 1 || !(ground_speed > 60)) return;
  const FpvPlace at = fpv_place(LADDER_UNITS);
  int32_t x = 0, y = 0;
  if (!trunc_coord(at.y, y) || !trunc_coord(at.x, x)) return;
  const bool inside = y >= -50 && y <= 50 && x >= -55 && x <= 55;
  if (!inside && fms_frame >= 8) return;
  k.design_centred(adi_token80);
  draw_ellipse_d(k.g, k.white2, x - 6, y - 6, 12, 12);
  draw_line_d(k.g, k.white2, x, y - 6, x, y - 12);
  draw_line_d(k.g, k.white2, x - 6, y, x - 12, y);
  draw_line_d(k.g, k.white2, x + 6, y, x + 12, y);
}

struct Warning {
  const char* text;
  double x;
};

// The first warning that holds, or null.
const Warning* active_warning() {
  static const Warning terrain{"TERRAIN", -40}, stall{"STALL", -30}, overspeed{"OVERSPEED", -60}, dh{"DH", -20};
  const double ra = radio_altitude, vs = vertical_speed;
  if ((ra < 4000 && vs < -16000) || (ra < 3000 && vs < -8000) || (ra < 2000 && vs < -4000) ||
      (ra < 500 && (vs < -1950 || get_gear_nose_position() < 16000)))
    return &terrain;
  if (get_stall_warning() != 0) return &stall;
  if (get_overspeed_warning() != 0) return &overspeed;
  const double dh_ft = get_decision_height();
  if (dh_ft - 10 <= ra && ra <= dh_ft + 10 && vs < -100) return &dh;
  return nullptr;
}

void draw_symbol_and_bank_scale(PfdKit& k) {
  GfxGraphics* g = k.g;
  k.design_centred();
  const DrawPoint wing_l[] = {{0, 1}, {-5, 7}, {-10, 0}, {-15, 0}};
  const DrawPoint wing_r[] = {{0, 1}, {5, 7}, {10, 0}, {15, 0}};
  c17_polyline(g, k.white2, wing_l);
  c17_polyline(g, k.white2, wing_r);
  draw_ellipse_d(g, k.white2, -2, -2, 4, 4);

  k.design_centred(adi_token80);
  const DrawPoint pointer[] = {{0, -80}, {4, -72}, {-4, -72}, {0, -80}};
  c17_polyline(g, k.white1, pointer);
  int32_t ball = 0;
  if (trunc_coord(get_token_69() / 15.875, ball)) fill_rect_d(g, k.white, double(ball) - 5, -72, 10, 3);

  for (int32_t b : {-60, -45, -30, -20, -10, 0, 10, 20, 30, 45, 60}) {
    k.design_centred(b);
    if (b == 0) {
      const DrawPoint index[] = {{0, -80}, {4, -88}, {-4, -88}, {0, -80}};
      c17_polyline(g, k.white1, index);
    } else {
      draw_line_d(g, k.white2, 0, -80, 0, std::abs(b) == 30 || std::abs(b) == 60 ? -90 : -85);
    }
  }
}

}  // namespace

void c17_mfd_pfd_draw(const GaugeSurface* surface, GfxGraphics* g) {
  if (!surface || surface->width <= 0 || surface->height <= 0) return;
  PfdKit k(g, surface);
  draw_data_fields(k);

  set_attitude_clip(k);
  const double h = -LADDER_UNITS * finite_or(adi_token77, 0);
  k.fine(adi_token80);
  draw_sky_and_ground(k, h);
  draw_pitch_ladder(k, h);
  draw_fd_bars(k);
  draw_flight_path_vector(k);
  if (const Warning* w = active_warning()) {
    k.design_centred();
    draw_text(g, k.a17, k.red, w->x, -45, C17_TEXT_CAPACITY, w->text);
  }
  gfx_reset_clip(g);
  draw_symbol_and_bank_scale(k);

  c17_pfd_scales_draw(k);
}
