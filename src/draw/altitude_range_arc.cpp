// Altitude range arc.
#include "draw/altitude_range_arc.h"

#include <cmath>

#include "draw/draw_toolkit.h"
#include "draw/map_layer_frame.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"

namespace {

constexpr double ARC_MIN_DESCENT_FPM = -200.0;

struct ArcMember {
  const DesignCanvas* canvas;  // null: the display's current frame
  double left, size, start, sweep;
  uint32_t colour;
};

const ArcMember B737{&CANVAS_B737_ND, -108, 217, 240, 60, COLOUR_GREEN};
const ArcMember MD11{&CANVAS_MD11_ND, -75, 150, 220, 100, COLOUR_GREEN};
const ArcMember MD80{&CANVAS_MD80_EHSI, -75, 150, 220, 100, COLOUR_GREEN};
const ArcMember C17{&CANVAS_C17_MFD, -75, 150, 220, 100, COLOUR_GREEN};
const ArcMember EFS50{&CANVAS_EFS50, -45, 90, 220, 100, 0xFF25C817};
const ArcMember PROLINE4{&CANVAS_PROLINE4_MFD, -45, 90, 220, 100, COLOUR_GREEN};
const ArcMember P1000{nullptr, -53, 105, 220, 100, COLOUR_LIGHT_GREEN};

void draw_arc_member(const GaugeSurface* ctx, GfxGraphics* g, const ArcMember& m, double cx, double cy, double radius,
                     double range, double ahead_deg = 0) {
  if (!(indicated_altitude > ap_altitude) || !(vertical_speed < ARC_MIN_DESCENT_FPM)) return;
  double d = altitude_arc_distance_nm();
  if (!std::isfinite(d)) return;
  if (m.canvas && (!ctx || !set_canvas_scale(g, ctx->width, ctx->height, *m.canvas))) return;
  gfx_translate(g, cx, cy, GFX_PREPEND);
  if (ahead_deg != 0 && std::isfinite(ahead_deg)) gfx_rotate(g, ahead_deg, GFX_PREPEND);
  map_px_per_nm = radius / range;
  LayerObjects obj(g);
  GfxPen* pen = obj.pen(m.colour, 2);
  int32_t top;
  if (trunc_coord(d * map_px_per_nm, top)) draw_arc_d(g, pen, m.left, top, m.size, m.size, m.start, m.sweep);
}

}  // namespace

double altitude_arc_distance_nm() {
  return (indicated_altitude - ap_altitude) / vertical_speed * ground_speed / 60.0;
}

void draw_b737_nd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_arc_member(ctx, g, B737, 122, b737_nd_center_y, b737_nd_map_radius, b737_nd_range);
}

void draw_md11_nd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_arc_member(ctx, g, MD11, md11_nd_center_x, md11_nd_center_y, md11_nd_map_radius, md11_nd_range);
}

void draw_md80_ehsi_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_arc_member(ctx, g, MD80, md80_ehsi_center_x, md80_ehsi_center_y, md80_ehsi_map_radius, md80_ehsi_range);
}

void draw_c17_mfd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g, double x, double y, double ahead_deg) {
  draw_arc_member(ctx, g, C17, c17_mfd_rose_cx + x, c17_mfd_rose_cy + y, c17_mfd_rose_radius, c17_mfd_range,
                  ahead_deg);
}

void draw_efs50_ehsi_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g) {
  double cy = efs50_ehsi_mode == 2 || efs50_ehsi_mode == 3 ? 114 : 190;
  draw_arc_member(ctx, g, EFS50, 129, cy, efs50_ehsi_map_radius, efs50_ehsi_range);
}

void draw_proline4_mfd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_arc_member(ctx, g, PROLINE4, 123, 220, proline4_mfd_map_radius, proline4_mfd_range);
}

void draw_p1000_mfd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_arc_member(ctx, g, P1000, p1000_map_cx, p1000_map_cy, p1000_map_radius, p1000_mfd_range);
  restore_p1000_scale(g, ctx);
}
