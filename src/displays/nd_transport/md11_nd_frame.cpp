// MD-11 ND draw dispatcher: canvas, blanking and the layers of each mode.
#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "draw/altitude_range_arc.h"
#include "draw/atc_boundary_layer.h"
#include "draw/fix_info_overlay.h"
#include "draw/intersection_layer.h"
#include "draw/navaid_layer.h"
#include "draw/nearby_airport_layer.h"
#include "draw/runway_layer.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "navdb/navdb.h"


namespace {

void draw_map_layers(GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode) {
  const int32_t mode = md11_nd_mode;
  const double range = md11_nd_range;
  nd_trace("route");
  md11_nd_route_overlay_draw(ctx, g);
  if (fix_info_in_use()) {
    nd_trace("fix_info");
    draw_md11_nd_fix_info_layer(ctx, g);
  }
  if (md11_nd_nav_on == 1 && range <= (mode == 3 ? 320 : 160)) {
    nd_trace("navaids");
    draw_md11_nd_navaids_layer(ctx, g);
  }
  if (md11_nd_apt_on == 1 && range <= 160) {
    nd_trace("airports");
    draw_md11_nd_airports_layer(ctx, g);
  }
  if (md11_nd_int_on == 1 && range <= 80) {
    nd_trace("fixes");
    draw_md11_nd_fixes_layer(ctx, g);
  }
  if (mode == 3 && altitude_arc_gate()) {
    nd_trace("altitude_arc");
    nd_frame(g, ctx, CANVAS_MD11_ND);
    draw_md11_nd_altitude_arc(ctx, g);
  }
  if (mode == 3 && loaded_rwy_count >= 1 && range <= 2.5) {
    nd_trace("runways");
    nd_frame(g, ctx, CANVAS_MD11_ND);
    draw_runway_layer(g, md11_nd_map_radius, md11_nd_center_x, md11_nd_center_y, range);
  }
  if (atc_bdry_on == 1 && draw_mode != 3) {
    nd_trace("boundaries");
    draw_md11_nd_boundaries(ctx, g);
  }
}

}  // namespace

void hw_md11_nd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  const uint32_t colour = nd_background_colour(HWMD11NDBkgrdColorRed, HWMD11NDBkgrdColorGreen, HWMD11NDBkgrdColorBlue);
  GfxBrush* background = nullptr;
  GfxGraphics* g = nd_begin_draw(ctx, dc, width, height, draw_mode, CANVAS_MD11_ND, colour, true, background);
  if (!g) return;

  const int32_t mode = md11_nd_mode;
  if (mode >= 3 && mode <= 5) {
    md11_nd_center_y = 178;
    nd_trace("heading");
    md11_nd_heading_draw(ctx, g);
  } else if (mode == 2) {
    md11_nd_center_y = 129;
    nd_trace("plan_frame");
    md11_nd_plan_frame_draw(ctx, g);
  }
  if (mode == 2 || mode == 3) draw_map_layers(ctx, g, draw_mode);
  gfx_reset_clip(g);
  nd_trace("data");
  md11_nd_data_draw(ctx, g);

  nd_end_draw(g, background);
}
