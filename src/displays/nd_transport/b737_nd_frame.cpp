// B737 ND draw dispatcher: canvas, blanking, mode geometry, layer gates and order.
#include <cmath>

#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "draw/altitude_range_arc.h"
#include "draw/atc_boundary_layer.h"
#include "draw/fix_info_overlay.h"
#include "draw/holding_pattern_layer.h"
#include "draw/intersection_layer.h"
#include "draw/navaid_layer.h"
#include "draw/nearby_airport_layer.h"
#include "draw/runway_layer.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"


namespace {

// The top of the display is cut by a circle of radius 175 about (123, 207).
void set_b737_clip(GfxGraphics* g, GfxPath* path) {
  gfx_path_add_arc(g, path, -52, 32, 350, 350, 225, 89);
  gfx_path_add_line(g, path, 244, 79, 244, 302);
  gfx_path_add_line(g, path, 244, 302, 0, 302);
  gfx_path_add_line(g, path, 0, 302, 0, 81);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
}

void draw_map_layers(GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode) {
  const int32_t mode = b737_nd_mode;
  const double range = b737_nd_range;
  if (atc_bdry_on == 1 && mode < 7 && draw_mode != 3) {
    nd_trace("boundaries");
    draw_b737_nd_boundaries(ctx, g);
  }
  if (loaded_rwy_count >= 1 && mode < 7 && range <= 2.5) {
    nd_trace("runways");
    nd_frame(g, ctx, CANVAS_B737_ND);
    draw_runway_layer(g, b737_nd_map_radius, 122, b737_nd_center_y, range);
  }
  nd_trace("route");
  b737_nd_route_overlay_draw(ctx, g);
  if (fix_info_in_use()) {
    nd_trace("fix_info");
    draw_b737_nd_fix_info_layer(ctx, g);
  }
  if (nav1_received() && dme1_distance > 0 && !is_nav1_localizer() && mode < 7) {
    nd_trace("vor_course");
    b737_nd_vor_course_draw(ctx, g);
  }
  if (nd_nav_on == 1 && range <= 160) {
    nd_trace("navaids");
    draw_b737_nd_navaids_layer(ctx, g);
  }
  if (nd_apt_on == 1 && range <= 160) {
    nd_trace("airports");
    draw_b737_nd_airports_layer(ctx, g);
  }
  if (nd_int_on == 1 && range <= 40 && draw_mode != 3) {
    nd_trace("fixes");
    draw_b737_nd_fixes_layer(ctx, g);
  }
  if (first_hold_on_active_plan() && mode < 7) {
    nd_trace("hold");
    draw_b737_nd_hold_layer(ctx, g, b737_nd_map_radius, 122, b737_nd_center_y, range);
  }
  if (fpl_changed_state == 1 || fpl_changed_state == 2 || fpl_changed_state == 4) {
    nd_trace("mod_route");
    b737_nd_mod_route_draw(ctx, g);
  }
  if (mode < 7) {
    nd_trace("trend_vector");
    b737_nd_trend_vector_draw(ctx, g);
  }
  if (altitude_arc_gate() && mode < 7) {
    nd_trace("altitude_arc");
    draw_b737_nd_altitude_arc(ctx, g);
  }
}

}  // namespace

void hw_b737_nd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  const uint32_t colour = nd_background_colour(HWB737NDBkgrdColorRed, HWB737NDBkgrdColorGreen, HWB737NDBkgrdColorBlue);
  GfxBrush* background = nullptr;
  GfxGraphics* g = nd_begin_draw(ctx, dc, width, height, draw_mode, CANVAS_B737_ND, colour, false, background);
  if (!g) return;
  GfxPath* clip = gfx_path_create(g);
  set_b737_clip(g, clip);

  if (b737_nd_mode <= 2) {
    nd_trace("compass");
    b737_nd_compass_draw(ctx, g);
  } else {
    bool centred = b737_nd_mode == 6 || b737_nd_mode == 7;
    b737_nd_map_radius = centred ? 110 : 215;
    b737_nd_center_y = centred ? 171 : 249;
    if (b737_nd_mode >= 5) draw_map_layers(ctx, g, draw_mode);
    if (nd_tcas_on == 1 && b737_nd_mode < 7) nd_frame(g, ctx, CANVAS_B737_ND, 0, 0, 0);
    gfx_reset_clip(g);
    nd_trace("arc");
    b737_nd_arc_draw(ctx, g);
  }
  gfx_reset_clip(g);
  nd_trace("text");
  b737_nd_text_draw(ctx, g);

  gfx_path_delete(clip);
  nd_end_draw(g, background);
}
