// Navaid map layer.
#include "draw/navaid_layer.h"

#include "draw/draw_toolkit.h"
#include "draw/map_layer_frame.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"

int32_t du1000_vor_symbol_code = 76;

namespace {

constexpr uint32_t COLOUR_C17_CYAN = 0xFF18C2E7;

// vor {code, colour}, other {code, colour}, switched, symbol offset, label size,
// label colour, label offset, per character, from point, two-circle pen
const PointLayerStyle B737 = {{1, 3}, {2, 3}, false, -3, -4, 10, COLOUR_GREEN, 7, -10, 0, false, 0};
const PointLayerStyle MD11 = {{1, 1}, {SYMBOL_TWO_CIRCLES, 0}, false, -2, -3, 10, COLOUR_BLUE, 8, -7, 0, false,
                              COLOUR_BLUE};
const PointLayerStyle P1000 = {{1, 3}, {2, 3}, false, 0, 0, 10, COLOUR_LIGHT_GREEN, 7, -10, 0, false, 0};
const PointLayerStyle C17 = {{1, 3}, {2, 3}, false, -3, -4, 10, COLOUR_GREEN, 0, -5, -9, false, 0};
const PointLayerStyle PROLINE4 = {{1, 1}, {2, 1}, true, -3, -4, 10, COLOUR_BLUE, 7, -4, 0, false, 0};
const PointLayerStyle C17_MAP = {{1, 1}, {SYMBOL_TWO_CIRCLES, 0}, false, 0, 0, 10, COLOUR_C17_CYAN, 7, -10, 0, false,
                                 COLOUR_C17_CYAN};

void draw_navaids(GfxGraphics* g, const PointLayerStyle& style, const PointLayerView& view, double refresh_lat,
                  double refresh_lon, double build_lat, double build_lon) {
  if (view.f.ok)
    refresh_near_lists(NEAR_NAVAID_LISTS, refresh_lat, refresh_lon, refresh_lat, refresh_lon, build_lat, build_lon);
  int32_t count = near_navaids_count < near_close_limit ? near_navaids_count : near_close_limit;
  draw_point_layer(g, style, view, near_navaids, count);
}

// Self-framed member in the scaled frame: the plan-centre reference in plan mode.
void draw_self_framed(const GaugeSurface* ctx, GfxGraphics* g, const PointLayerStyle& style, DesignCanvas canvas,
                      double cx, double cy, double radius, double range, bool plan_mode, bool north_up,
                      bool refresh_from_present) {
  PointLayerView v = self_framed_view(g, ctx, canvas, cx, cy, range, plan_mode, north_up);
  map_px_per_nm = radius / range;
  double rlat = refresh_from_present ? present_lat : v.ref_lat;
  double rlon = refresh_from_present ? present_lon : v.ref_lon;
  draw_navaids(g, style, v, rlat, rlon, rlat, rlon);
}

}  // namespace

void draw_b737_nd_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (nd_nav_on != 1 || !range_within(b737_nd_range, 160)) return;
  bool centred = b737_nd_mode == 6 || b737_nd_mode == 7;
  draw_self_framed(ctx, g, B737, CANVAS_B737_ND, 122, centred ? 171 : 249, b737_nd_map_radius, b737_nd_range,
                   b737_nd_mode >= 7, b737_nd_mode == 7, true);
}

void draw_md11_nd_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  bool plan = md11_nd_mode == 2;
  if (md11_nd_nav_on != 1 || !range_within(md11_nd_range, plan ? 160 : 320)) return;
  draw_self_framed(ctx, g, MD11, CANVAS_MD11_ND, md11_nd_center_x, md11_nd_center_y, md11_nd_map_radius,
                   md11_nd_range, plan, plan, false);
}

void draw_md80_ehsi_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (md80_ehsi_nav_on != 1 || !range_within(md80_ehsi_range, 160)) return;
  bool plan = md80_ehsi_mode == 2;
  draw_self_framed(ctx, g, MD11, CANVAS_MD80_EHSI, md80_ehsi_center_x, md80_ehsi_center_y, md80_ehsi_map_radius,
                   md80_ehsi_range, plan, plan, false);
}

void draw_p1000_mfd_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (p1000_show_navaids != 1) return;
  PointLayerView v;
  v.f = half_layer_frame(g, ctx, p1000_map_cx, p1000_map_cy, p1000_map_radius, p1000_mfd_range);
  active_or_present_point(p1000_plan_view != 0, v.ref_lat, v.ref_lon);
  v.heading = p1000_map_heading();
  v.range = p1000_mfd_range;
  // The route labels the plan's records from the active one on, and the one before it when
  // it shows the previous waypoint (all of them in the plan view).
  const bool prev = DispPrevWpt == 1 && p1000_mfd_range >= 5.0 && dto_active == 0;
  v.route_labelled_from = p1000_plan_view != 0 ? 0 : fpl_active_index - (prev ? 1 : 0);
  draw_navaids(g, P1000, v, v.ref_lat, v.ref_lon, present_lat, present_lon);
  restore_p1000_scale(g, ctx);
}

void draw_c17_map_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  bool plan = c17_mfd_mode == 6;
  draw_self_framed(ctx, g, C17_MAP, CANVAS_C17_MFD, c17_mfd_rose_cx, c17_mfd_rose_cy, c17_mfd_rose_radius,
                   c17_mfd_range, plan, plan, true);
}

void draw_du1000_ehsi_navaids_layer(GfxGraphics* g, double ref_lat, double ref_lon, double px_per_nm, double kx,
                                    double ky, double range_nm, double heading_deg, int32_t vor_on, int32_t ndb_on) {
  if (vor_on != 1 && ndb_on != 1) return;
  const PointLayerStyle du1000 = {{du1000_vor_symbol_code, 3}, {3, 4}, true, -3, -4, 12, COLOUR_MAGENTA, 7, -10, 0,
                                  false, 0};
  map_px_per_nm = px_per_nm;
  PointLayerView v = caller_framed_view(kx, ky, ref_lat, ref_lon, heading_deg, range_nm);
  v.vor_on = vor_on;
  v.ndb_on = ndb_on;
  v.route_labelled_from = 0;
  draw_navaids(g, du1000, v, ref_lat, ref_lon, ref_lat, ref_lon);
}

void draw_c17_mfd_navaids_layer(const GaugeSurface*, GfxGraphics* g, double kx, double ky, double ref_lat,
                                double ref_lon, double heading_deg) {
  if ((mfd_vor_on != 1 && mfd_ndb_on != 1) || !range_within(c17_mfd_range, 160)) return;
  PointLayerView v = caller_framed_view(kx, ky, ref_lat, ref_lon, heading_deg, c17_mfd_range);
  draw_navaids(g, C17, v, ref_lat, ref_lon, present_lat, present_lon);
}

void draw_proline4_mfd_navaids_layer(const GaugeSurface* size, GfxGraphics* g, double ref_lat, double ref_lon) {
  if ((mfd_vor_on != 1 && mfd_ndb_on != 1) || !range_within(proline4_mfd_range, 160)) return;
  LayerFrame f = image_size_frame(size, CANVAS_PROLINE4_MFD);
  PointLayerView v = caller_framed_view(f.kx, f.ky, ref_lat, ref_lon, proline4_mfd_format == 2 ? 0.0 : map_heading,
                                        proline4_mfd_range);
  v.f.ok = f.ok;
  v.vor_on = mfd_vor_on;
  v.ndb_on = mfd_ndb_on;
  v.route_labelled_from = 0;
  draw_navaids(g, PROLINE4, v, ref_lat, ref_lon, ref_lat, ref_lon);
}
