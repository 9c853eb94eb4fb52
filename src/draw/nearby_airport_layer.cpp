// Nearby-airport map layer.
#include "draw/nearby_airport_layer.h"

#include <cstring>

#include "draw/draw_toolkit.h"
#include "draw/ink_reach.h"
#include "draw/map_layer_frame.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"

namespace {

constexpr uint32_t COLOUR_C17_CYAN = 0xFF18C2E7;

struct AirportMember {
  double margin;
  bool glyph;                 // "*" text instead of a circle
  double sym_dx, sym_dy;      // circle box corner or glyph position
  double sym_w, sym_h;        // circle box size
  uint32_t colour;
  double pen_width;           // world units, times kx when pen_scaled
  bool pen_scaled;
  bool cut_to_5;
  double label_size;          // times kx
  double label_dx, label_dy;
  double label_dx_per_char;   // added times the whole ident's length
  bool route_labelled = false;  // the display's route labels the active plan's airports
};

// margin, glyph, symbol box (dx, dy, w, h), colour, pen width, pen times kx, cut to 5, label size, offset, per char
const AirportMember B737 = {10, false, -5, -5, 10, 10, COLOUR_BLUE, 4, false, true, 10, -3, -20, 0};
const AirportMember MD11 = {50, false, -4, -4, 8, 8, COLOUR_BLUE, 2, true, false, 10, 3, -14, 0};
const AirportMember P1000 = {10, false, -5, -5, 10, 10, COLOUR_BLUE, 4, false, true, 10, 2, -15, 0};
const AirportMember DU1000 = {50, true, -6, -8, 0, 0, COLOUR_MAGENTA, 0, false, false, 12, 4, -14, 0, true};
const AirportMember C17 = {10, false, -5, -5, 10, 10, COLOUR_C17_CYAN, 4, false, true, 10, 0, 2, -9};
const AirportMember PROLINE4 = {50, false, -3, -4, 10, 10, COLOUR_BLUE, 4, false, false, 10, 9, -6, 0, true};

constexpr double DU1000_GLYPH_SIZE = 17;

// One draw: refresh the lists, then plot the close list from the reference
// point. `f` gives the frame; map_px_per_nm is set.
void draw_airports(GfxGraphics* g, const AirportMember& m, const LayerFrame& f, double ref_lat, double ref_lon,
                   double heading_deg, double range, double refresh_lat, double refresh_lon, double build_lat,
                   double build_lon) {
  LayerObjects obj(g);
  GfxFont* label_font = obj.font(FONT_ARIAL, m.label_size * f.label_scale(), GFX_FONT_BOLD);
  GfxBrush* brush = obj.brush(m.colour);
  GfxFont* glyph_font = m.glyph ? obj.font(FONT_ARIAL, DU1000_GLYPH_SIZE * f.kx, GFX_FONT_BOLD) : nullptr;
  double pen_width = m.pen_scaled ? m.pen_width * f.kx : m.pen_width;
  GfxPen* pen = m.glyph ? nullptr : obj.pen(m.colour, pen_width);
  if (!f.ok) return;

  refresh_near_lists(NEAR_AIRPORT_LISTS, refresh_lat, refresh_lon, refresh_lat, refresh_lon, build_lat, build_lon);

  double limit = 2.0 * range + m.margin;
  int32_t count = near_airports_count < near_close_limit ? near_airports_count : near_close_limit;
  for (int32_t i = 1; i <= count; ++i) {
    if (i + MEASURE_AHEAD <= count)
      measure_ahead(ref_lat, ref_lon, near_airports[i + MEASURE_AHEAD].lat, near_airports[i + MEASURE_AHEAD].lon);
    const NavRecord& r = near_airports[i];
    if (!measure_from(ref_lat, ref_lon, r.lat, r.lon)) continue;
    if (!(gc_distance_nm <= limit)) continue;
    map_distance_px = gc_distance_nm * map_px_per_nm;
    double x, y;
    polar_to_screen(heading_deg, gc_course_deg, f.x0, f.y0, map_distance_px, x, y);
    // World position of the projected point.
    double wx = x * f.kx, wy = y * f.ky;
    double sx = wx + m.sym_dx * f.kx, sy = wy + m.sym_dy * f.ky;
    if (m.glyph) {
      if (text_reaches_image(g, DU1000_GLYPH_SIZE * f.kx, sx, sy, 1))
        draw_text(g, glyph_font, brush, sx, sy, MAP_LABEL_CAPACITY, "*");
    } else if (ellipse_reaches_image(g, pen_width, sx, sy, m.sym_w * f.kx, m.sym_h * f.ky)) {
      draw_ellipse_d(g, pen, sx, sy, m.sym_w * f.kx, m.sym_h * f.ky);
    }
    size_t chars = strnlen(r.ident, nav_ident_size);
    double lx = m.label_dx + m.label_dx_per_char * double(chars);
    double tx = wx + lx * f.kx, ty = wy + m.label_dy * f.ky;
    if (m.route_labelled && on_active_plan(r)) continue;
    if (text_reaches_image(g, m.label_size * f.label_scale(), tx, ty, int32_t(chars)))
      draw_map_label(g, label_font, brush, tx, ty, r.ident, m.cut_to_5);
  }
}

void draw_self_framed(const GaugeSurface* ctx, GfxGraphics* g, const AirportMember& m, DesignCanvas canvas,
                      double cx, double cy, double radius, double range, double heading_deg, bool plan_mode,
                      bool refresh_from_present) {
  LayerFrame f = scaled_layer_frame(g, ctx, canvas, cx, cy);
  map_px_per_nm = radius / range;
  double ref_lat, ref_lon;
  plan_centre_point(plan_mode, ref_lat, ref_lon);
  double rlat = refresh_from_present ? present_lat : ref_lat;
  double rlon = refresh_from_present ? present_lon : ref_lon;
  draw_airports(g, m, f, ref_lat, ref_lon, heading_deg, range, rlat, rlon, rlat, rlon);
}

}  // namespace

void draw_b737_nd_airports_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (nd_apt_on != 1 || !range_within(b737_nd_range, 160)) return;
  bool centred = b737_nd_mode == 6 || b737_nd_mode == 7;
  draw_self_framed(ctx, g, B737, CANVAS_B737_ND, 122, centred ? 171 : 249, b737_nd_map_radius, b737_nd_range,
                   b737_nd_mode == 7 ? 0.0 : map_heading, b737_nd_mode >= 7, true);
}

void draw_md11_nd_airports_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (md11_nd_apt_on != 1 || !range_within(md11_nd_range, 160)) return;
  bool plan = md11_nd_mode == 2;
  draw_self_framed(ctx, g, MD11, CANVAS_MD11_ND, md11_nd_center_x, md11_nd_center_y, md11_nd_map_radius,
                   md11_nd_range, plan ? 0.0 : map_heading, plan, false);
}

void draw_md80_ehsi_airports_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (md80_ehsi_apt_on != 1 || !range_within(md80_ehsi_range, 160)) return;
  bool plan = md80_ehsi_mode == 2;
  draw_self_framed(ctx, g, MD11, CANVAS_MD80_EHSI, md80_ehsi_center_x, md80_ehsi_center_y, md80_ehsi_map_radius,
                   md80_ehsi_range, plan ? 0.0 : map_heading, plan, false);
}

void draw_p1000_mfd_airports_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (p1000_show_airports != 1 || !range_within(p1000_mfd_range, 80)) return;
  LayerFrame f = half_layer_frame(g, ctx, p1000_map_cx, p1000_map_cy, p1000_map_radius,
                                  p1000_mfd_range);
  double ref_lat, ref_lon;
  active_or_present_point(p1000_plan_view != 0, ref_lat, ref_lon);
  draw_airports(g, P1000, f, ref_lat, ref_lon, p1000_map_heading(), p1000_mfd_range, ref_lat, ref_lon, present_lat,
                present_lon);
  restore_p1000_scale(g, ctx);
}

void draw_du1000_ehsi_airports_layer(GfxGraphics* g, double ref_lat, double ref_lon, double px_per_nm, double kx,
                                     double ky, double range_nm, double heading_deg) {
  if (du1000_show_apt != 1 || !range_within(range_nm, 120)) return;
  map_px_per_nm = px_per_nm;
  LayerFrame f;
  f.kx = kx;
  f.ky = ky;
  f.ok = true;
  draw_airports(g, DU1000, f, ref_lat, ref_lon, heading_deg, range_nm, ref_lat, ref_lon, ref_lat, ref_lon);
}

void draw_c17_mfd_airports_layer(const GaugeSurface*, GfxGraphics* g, double kx, double ky, double ref_lat,
                                 double ref_lon, double heading_deg) {
  if (mfd_apt_on != 1 || !range_within(c17_mfd_range, 160)) return;
  LayerFrame f;
  f.kx = kx;
  f.ky = ky;
  f.ok = true;
  draw_airports(g, C17, f, ref_lat, ref_lon, heading_deg, c17_mfd_range, ref_lat, ref_lon, present_lat, present_lon);
}

void draw_proline4_mfd_airports_layer(const GaugeSurface* size, GfxGraphics* g, double ref_lat, double ref_lon) {
  if (mfd_apt_on != 1 || !range_within(proline4_mfd_range, 80)) return;
  LayerFrame f = image_size_frame(size, CANVAS_PROLINE4_MFD);
  double heading_deg = proline4_mfd_format == 2 ? 0.0 : map_heading;
  draw_airports(g, PROLINE4, f, ref_lat, ref_lon, heading_deg, proline4_mfd_range, ref_lat, ref_lon, ref_lat, ref_lon);
}
