// ATC-boundary layer.
#include "draw/atc_boundary_layer.h"

#include <cstdio>
#include <cstring>

#include "draw/draw_toolkit.h"
#include "draw/map_layer_frame.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "navdb/navdb.h"

namespace {

constexpr uint32_t COLOUR_BOUNDARY = 0xFF979700;
constexpr int32_t BOUNDARY_LABEL_CAPACITY = 4;  // 3 characters and the terminator
const char* const SPECIAL_IDENTS[] = {"YM00142", "YB00001", "NZ00084"};

bool special_boundary(const char* ident) {
  for (const char* s : SPECIAL_IDENTS)
    if (std::strncmp(ident, s, nav_ident_size) == 0) return true;
  return false;
}

bool project(double lat, double lon, int32_t cx, int32_t cy, double heading_deg, int32_t& x, int32_t& y) {
  if (!measure_from(present_lat, present_lon, lat, lon)) return false;
  map_distance_px = gc_distance_nm * map_px_per_nm;
  return polar_to_screen_int(heading_deg, gc_course_deg, cx, cy, map_distance_px, x, y);
}

void draw_in_frame(const GaugeSurface* ctx, GfxGraphics* g, DesignCanvas canvas, double cx, double cy, double radius,
                   double range, double heading_deg) {
  if (atc_bdry_on != 1) return;
  if (!ctx || !set_canvas_scale(g, ctx->width, ctx->height, canvas)) return;
  gfx_translate(g, cx, cy, GFX_PREPEND);
  draw_atc_boundaries(g, radius, 0, 0, range, heading_deg);
}

}  // namespace

void draw_atc_boundaries(GfxGraphics* g, double radius, double cx, double cy, double range, double map_heading_deg) {
  if (atc_bdry_on != 1) return;
  LayerObjects obj(g);
  GfxPen* pen = obj.pen(COLOUR_BOUNDARY, 1);
  GfxBrush* brush = obj.brush(COLOUR_BOUNDARY);
  GfxFont* font = obj.font(FONT_ZUDUZ, 14, GFX_FONT_BOLD);
  map_px_per_nm = radius / range;
  if (atc_boundaries_loaded == 0) load_atc_boundaries();

  int32_t icx = 0, icy = 0;
  trunc_coord(cx, icx);
  trunc_coord(cy, icy);
  int32_t count = atc_boundary_count < atc_boundary_slots - 1 ? atc_boundary_count : atc_boundary_slots - 1;
  int32_t points = atc_boundary_point_count < atc_point_slots - 1 ? atc_boundary_point_count : atc_point_slots - 1;
  for (int32_t b = 1; b <= count; ++b) {
    const AtcBoundary& bd = atc_boundaries[b];
    if (bd.first_point < 1 || bd.count < 1 || bd.first_point > points) continue;
    int32_t n = bd.count <= points - bd.first_point + 1 ? bd.count : points - bd.first_point + 1;
    const NavPoint* pts = &atc_boundary_points[bd.first_point];
    if (!measure_from(present_lat, present_lon, pts[0].lat, pts[0].lon)) continue;
    bool far = special_boundary(bd.ident) ? !(gc_distance_nm < ATC_BOUNDARY_SPECIAL_RANGE_NM)
                                          : !(gc_distance_nm <= ATC_BOUNDARY_RANGE_NM);
    if (far) continue;
    int32_t px = 0, py = 0;
    bool prev_ok = false;
    for (int32_t k = 0; k < n; ++k) {
      int32_t x, y;
      bool ok = project(pts[k].lat, pts[k].lon, icx, icy, map_heading_deg, x, y);
      if (ok && prev_ok) gfx_draw_line(g, pen, px, py, x, y);
      px = x;
      py = y;
      prev_ok = ok;
    }
    int32_t lx, ly;
    if (project(bd.label_lat, bd.label_lon, icx, icy, map_heading_deg, lx, ly)) {
      char label[BOUNDARY_LABEL_CAPACITY];
      std::snprintf(label, sizeof label, "%.3s", bd.label);
      draw_text(g, font, brush, lx - 15.0, ly, BOUNDARY_LABEL_CAPACITY, label);
    }
  }
}

void draw_b737_nd_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  bool centred = b737_nd_mode == 6 || b737_nd_mode == 7;
  draw_in_frame(ctx, g, CANVAS_B737_ND, 122, centred ? 171 : 249, b737_nd_map_radius, b737_nd_range,
                b737_nd_mode == 7 ? 0.0 : map_heading);
}

void draw_md11_nd_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_in_frame(ctx, g, CANVAS_MD11_ND, md11_nd_center_x, md11_nd_center_y, md11_nd_map_radius, md11_nd_range,
                md11_nd_mode == 2 ? 0.0 : map_heading);
}

void draw_md80_ehsi_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_in_frame(ctx, g, CANVAS_MD80_EHSI, md80_ehsi_center_x, md80_ehsi_center_y, md80_ehsi_map_radius,
                md80_ehsi_range, md80_ehsi_mode == 2 ? 0.0 : map_heading);
}

void draw_du1000_ehsi_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  bool plan = du1000_ehsi_mode == 2;
  draw_in_frame(ctx, g, CANVAS_DU1000_EHSI, 159, plan ? 155 : 272, du1000_ehsi_map_radius, du1000_ehsi_range,
                plan ? 0.0 : map_heading);
}

void draw_proline4_mfd_boundaries(const GaugeSurface* ctx, GfxGraphics* g) {
  bool north_up = proline4_mfd_format == 2;
  draw_in_frame(ctx, g, CANVAS_PROLINE4_MFD, 123, north_up ? 155 : 220, proline4_mfd_map_radius, proline4_mfd_range,
                north_up ? 0.0 : map_heading);
}
