// Transport-aircraft navigation displays: the B737 ND, the MD-11 ND and the MD-80
// EHSI. Each display has one draw dispatcher shared by its gauge variants; the
// dispatcher sets the display's geometry for the frame and calls its layers in a
// fixed order under their gates.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "draw/nd_common.h"
#include "module/display_state.h"
#include "platform/gfx/gfx.h"
#include "platform/host/gauge_host.h"

// ---- gauge entry points (draw functions and hooks of the gauge table) ----

// Draw functions of HW_B737_ND / _BR / _NB, HW_MD11_ND / _NB and MD80_EHSI_NB: each
// keeps the display's drawing record and calls its dispatcher.
void hw_b737_nd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
void hw_md11_nd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
void md80_ehsi_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);

// Service hook of HW_B737_ND_NB: on the pre-update service, copies the traffic
// array and count that another module shares as "tcas_targets" and
// "tcas_target_cnt" (bounded by our table).
void hw_b737_nd_nb_service_hook(GaugeHeader* gauge, int32_t service_id);

// ---- dispatchers ----

void hw_b737_nd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
void hw_md11_nd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
void md80_ehsi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);

// ---- display geometry written by the dispatchers ----


// ---- B737 ND layers ----

void b737_nd_compass_draw(const GaugeSurface* ctx, GfxGraphics* g);
void b737_nd_arc_draw(const GaugeSurface* ctx, GfxGraphics* g);
void b737_nd_vor_course_draw(const GaugeSurface* ctx, GfxGraphics* g);
// Its C-17 MFD twin, which no display draws: the 246 x 241 canvas, `c17_mfd_mode` and
// `c17_mfd_range`, the course line in 0xFF00FA00, the side by `heading_diff_side`.
void c17_mfd_vor_course_draw(const GaugeSurface* ctx, GfxGraphics* g);
// The station and course line of both: `side`(course, heading up) 1 puts the course
// label left of the station.
struct VorCourseStyle {
  DesignCanvas canvas;
  int32_t mode;
  double range;
  uint32_t line_argb;
  int (*side)(double course, double up);
};
void nd_vor_course_draw(const GaugeSurface* ctx, GfxGraphics* g, const VorCourseStyle& style);
void b737_nd_text_draw(const GaugeSurface* ctx, GfxGraphics* g);
// The vertical-deviation scale, drawn over the map with its background while a descent is
// flown with a plan in the arc and map modes: its box (x, y, w, h) on the B737 ND canvas.
constexpr double B737_VDEV_BOX[4] = {218, 185, 25, 90};
bool b737_nd_deviation_scale_shown();
void b737_nd_route_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g);
void b737_nd_mod_route_draw(const GaugeSurface* ctx, GfxGraphics* g);
// Its C-17 MFD twin on the 246 x 241 canvas, by `c17_mfd_mode` (no display calls it):
// dashed 0xFF18C2E7, symbols at `c17_mfd_range`, the scale the previous layer left.
void c17_mfd_mod_route_draw(const GaugeSurface* ctx, GfxGraphics* g);
// The range arcs of the centred modes (`nd_range_arcs_on`): half circles of radius
// 54, 108.5 and 162.5 about the overlay's origin.
void draw_nd_range_arcs(GfxGraphics* g, const GfxPen* pen);
void b737_nd_trend_vector_draw(const GaugeSurface* ctx, GfxGraphics* g);

// ---- MD-11 ND layers ----

void md11_nd_heading_draw(const GaugeSurface* ctx, GfxGraphics* g);
void md11_nd_plan_frame_draw(const GaugeSurface* ctx, GfxGraphics* g);
void md11_nd_data_draw(const GaugeSurface* ctx, GfxGraphics* g);
void md11_nd_route_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g);

// ---- MD-80 EHSI layers ----

void md80_ehsi_hsi_draw(const GaugeSurface* ctx, GfxGraphics* g);
void md80_ehsi_arc_draw(const GaugeSurface* ctx, GfxGraphics* g);
void md80_ehsi_map_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode);
void md80_ehsi_route_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g, double sx, double sy, double map_heading_deg,
                                  double ref_lat, double ref_lon);

// ---- traffic of another module ----

constexpr int32_t TCAS_TARGET_CAPACITY = 40;
constexpr int32_t TCAS_IDENT_SIZE = 16;

// One traffic target as the other module shares it.
struct TcasTarget {
  char ident[TCAS_IDENT_SIZE];
  double altitude;      // feet
  double ground_speed;  // knots
  double lat, lon;
  double vertical_speed;
};

extern TcasTarget tcas_targets[TCAS_TARGET_CAPACITY];
extern int32_t tcas_target_cnt;
extern int32_t tcas_targets_found;  // 1 once the other module's array was found

