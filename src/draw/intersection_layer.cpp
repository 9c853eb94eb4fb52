// Intersection map layer.
#include "draw/intersection_layer.h"

#include "draw/draw_toolkit.h"
#include "draw/map_layer_frame.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"

namespace {

constexpr uint32_t COLOUR_C17_CYAN = 0xFF18C2E7;

// symbol {code, colour} twice, not switched, symbol offset, label size, colour,
// label offset from the projected point
const PointLayerStyle B737 = {{3, 1}, {3, 1}, false, 0, 0, 10, COLOUR_BLUE, 7, -10, 0, true, 0};
const PointLayerStyle MD11 = {{3, 1}, {3, 1}, false, -1, -1, 10, COLOUR_BLUE, 6, -11, 0, true, 0};
const PointLayerStyle DU1000 = {{21, 4}, {21, 4}, false, -3, -4, 12, COLOUR_MAGENTA, 4, -14, 0, true, 0};
const PointLayerStyle PROLINE4 = {{3, 1}, {3, 1}, false, -3, -4, 10, COLOUR_BLUE, 4, -8, 0, true, 0};
const PointLayerStyle C17_MFD = {{3, 1}, {3, 1}, false, 0, 0, 10, COLOUR_GREEN, 10, -3, 0, true, 0};
const PointLayerStyle C17_MAP = {{3, 1}, {3, 1}, false, 0, 0, 10, COLOUR_C17_CYAN, 7, -10, 0, true, 0};

void draw_fixes(GfxGraphics* g, const PointLayerStyle& style, const PointLayerView& view, double refresh_lat,
                double refresh_lon, double close_lat, double close_lon, double build_lat, double build_lon) {
  if (view.f.ok)
    refresh_near_lists(NEAR_AIRWAY_FIX_LISTS, refresh_lat, refresh_lon, close_lat, close_lon, build_lat, build_lon);
  int32_t count = near_airway_fixes_count < near_airway_fix_limit ? near_airway_fixes_count : near_airway_fix_limit;
  draw_point_layer(g, style, view, near_airway_fixes, count);
}

// Self-framed member: `radius` 0 keeps map_px_per_nm as the caller set it.
void draw_self_framed(const GaugeSurface* ctx, GfxGraphics* g, const PointLayerStyle& style, DesignCanvas canvas,
                      double cx, double cy, double radius, double range, bool plan_mode, bool north_up,
                      bool refresh_from_present) {
  PointLayerView v = self_framed_view(g, ctx, canvas, cx, cy, range, plan_mode, north_up);
  if (radius > 0) map_px_per_nm = radius / range;
  double rlat = refresh_from_present ? present_lat : v.ref_lat;
  double rlon = refresh_from_present ? present_lon : v.ref_lon;
  draw_fixes(g, style, v, rlat, rlon, rlat, rlon, rlat, rlon);
}

}  // namespace

void draw_b737_nd_fixes_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (nd_int_on != 1 || !range_within(b737_nd_range, 40)) return;
  bool centred = b737_nd_mode == 6 || b737_nd_mode == 7;
  draw_self_framed(ctx, g, B737, CANVAS_B737_ND, 122, centred ? 171 : 249, b737_nd_map_radius, b737_nd_range,
                   b737_nd_mode >= 7, b737_nd_mode == 7, true);
}

void draw_md11_nd_fixes_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (md11_nd_int_on != 1 || !range_within(md11_nd_range, 80)) return;
  bool plan = md11_nd_mode == 2;
  draw_self_framed(ctx, g, MD11, CANVAS_MD11_ND, md11_nd_center_x, md11_nd_center_y, md11_nd_map_radius,
                   md11_nd_range, plan, plan, false);
}

void draw_md80_ehsi_fixes_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  if (md80_ehsi_int_on != 1 || !range_within(md80_ehsi_range, 80)) return;
  bool plan = md80_ehsi_mode == 2;
  draw_self_framed(ctx, g, MD11, CANVAS_MD80_EHSI, md80_ehsi_center_x, md80_ehsi_center_y, md80_ehsi_map_radius,
                   md80_ehsi_range, plan, plan, false);
}

void draw_c17_map_fixes_layer(const GaugeSurface* ctx, GfxGraphics* g) {
  bool plan = c17_mfd_mode == 6;
  draw_self_framed(ctx, g, C17_MAP, CANVAS_C17_MFD, c17_mfd_rose_cx, c17_mfd_rose_cy, 0, c17_mfd_range, plan, plan,
                   true);
}

void draw_du1000_ehsi_fixes_layer(GfxGraphics* g, double ref_lat, double ref_lon, double px_per_nm, double kx,
                                  double ky, double range_nm, double heading_deg) {
  if (du1000_show_int != 1 || !range_within(range_nm, 60)) return;
  map_px_per_nm = px_per_nm;
  PointLayerView v = caller_framed_view(kx, ky, ref_lat, ref_lon, heading_deg, range_nm);
  v.route_labelled_from = 0;
  draw_fixes(g, DU1000, v, ref_lat, ref_lon, ref_lat, ref_lon, ref_lat, ref_lon);
}

void draw_proline4_mfd_fixes_layer(const GaugeSurface* size, GfxGraphics* g, double ref_lat, double ref_lon) {
  if (mfd_int_on != 1 || !range_within(proline4_mfd_range, 40)) return;
  LayerFrame f = image_size_frame(size, CANVAS_PROLINE4_MFD);
  PointLayerView v = caller_framed_view(f.kx, f.ky, ref_lat, ref_lon, proline4_mfd_format == 2 ? 0.0 : map_heading,
                                        proline4_mfd_range);
  v.f.ok = f.ok;
  v.route_labelled_from = 0;
  draw_fixes(g, PROLINE4, v, ref_lat, ref_lon, present_lat, present_lon, ref_lat, ref_lon);
}

void draw_c17_mfd_fixes_layer(const GaugeSurface*, GfxGraphics* g, double kx, double ky) {
  PointLayerView v = caller_framed_view(kx, ky, 0, 0, map_heading, c17_mfd_range);
  plan_centre_point(c17_mfd_mode >= 7, v.ref_lat, v.ref_lon);
  draw_fixes(g, C17_MFD, v, present_lat, present_lon, present_lat, present_lon, present_lat, present_lon);
}
