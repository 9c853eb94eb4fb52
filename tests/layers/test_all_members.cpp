// Every member releases what it makes, and none fails a graphics call, on a
// populated map; a gauge image of no size draws nothing and fails nothing.
#include <gtest/gtest.h>

#include "draw/altitude_range_arc.h"
#include "draw/atc_boundary_layer.h"
#include "draw/fix_info_overlay.h"
#include "draw/holding_pattern_layer.h"
#include "draw/intersection_layer.h"
#include "draw/navaid_layer.h"
#include "draw/nearby_airport_layer.h"
#include "draw/runway_layer.h"
#include "draw/tcas_range_ring.h"
#include "draw/toc_tod_layer.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "layer_scene.h"
#include "module/module_paths.h"
#include "navdb/navdb_load.h"

namespace {

void draw_every_member(const GaugeSurface* ctx, GfxGraphics* g) {
  draw_b737_nd_airports_layer(ctx, g);
  draw_md11_nd_airports_layer(ctx, g);
  draw_md80_ehsi_airports_layer(ctx, g);
  draw_p1000_mfd_airports_layer(ctx, g);
  draw_du1000_ehsi_airports_layer(g, present_lat, present_lon, 4, 2, 2, 60, 0);
  draw_c17_mfd_airports_layer(ctx, g, 2, 2, present_lat, present_lon, 0);
  draw_proline4_mfd_airports_layer(ctx, g, present_lat, present_lon);
  draw_b737_nd_navaids_layer(ctx, g);
  draw_md11_nd_navaids_layer(ctx, g);
  draw_md80_ehsi_navaids_layer(ctx, g);
  draw_p1000_mfd_navaids_layer(ctx, g);
  draw_c17_map_navaids_layer(ctx, g);
  draw_du1000_ehsi_navaids_layer(g, present_lat, present_lon, 4, 2, 2, 60, 0, 1, 1);
  draw_c17_mfd_navaids_layer(ctx, g, 2, 2, present_lat, present_lon, 0);
  draw_proline4_mfd_navaids_layer(ctx, g, present_lat, present_lon);
  draw_b737_nd_fixes_layer(ctx, g);
  draw_md11_nd_fixes_layer(ctx, g);
  draw_md80_ehsi_fixes_layer(ctx, g);
  draw_c17_map_fixes_layer(ctx, g);
  draw_du1000_ehsi_fixes_layer(g, present_lat, present_lon, 4, 2, 2, 60, 0);
  draw_proline4_mfd_fixes_layer(ctx, g, present_lat, present_lon);
  draw_c17_mfd_fixes_layer(ctx, g, 2, 2);
  draw_b737_nd_hold_layer(ctx, g, 215, 122, 249, 40);
  draw_md11_nd_hold_layer(ctx, g, 150, 120, 178, 40, 1, 1);
  draw_md80_ehsi_hold_layer(ctx, g, 180, 133, 204, 40, 1, 1);
  draw_p1000_mfd_hold_layer(ctx, g, 100, 136, 200, 40);
  draw_proline4_mfd_hold_layer(ctx, g, 140, 0, 0, 40);
  draw_efs50_ehsi_hold_layer(ctx, g, 95, 129, 190, 40);
  draw_du1000_ehsi_hold_layer(g, present_lat, present_lon, 0, 0, 1, 1, 0);
  draw_c17_mfd_hold_layer(ctx, g, 1, 1, 0, 0, 0);
  draw_runway_layer(g, 215, 122, 249, 0.5);
  draw_runway_centerline_layer(g, 215, 122, 249, 10, 1, 1);
  for (int32_t style : {2, 5, 8, 9, 10}) draw_tod_toc_markers(g, 215, 40, 122, 249, style, 1, 1, present_lat, present_lon, 0);
  draw_b737_nd_boundaries(ctx, g);
  draw_md11_nd_boundaries(ctx, g);
  draw_md80_ehsi_boundaries(ctx, g);
  draw_du1000_ehsi_boundaries(ctx, g);
  draw_proline4_mfd_boundaries(ctx, g);
  draw_b737_nd_altitude_arc(ctx, g);
  draw_md11_nd_altitude_arc(ctx, g);
  draw_md80_ehsi_altitude_arc(ctx, g);
  draw_c17_mfd_altitude_arc(ctx, g, 0, 0, 0);
  draw_efs50_ehsi_altitude_arc(ctx, g);
  draw_proline4_mfd_altitude_arc(ctx, g);
  draw_p1000_mfd_altitude_arc(ctx, g);
  draw_efs50_ehsi_tcas_ring(ctx, g);
  draw_efs50_tcas_ring(ctx, g);
  draw_b737_nd_fix_info_layer(ctx, g);
  draw_md11_nd_fix_info_layer(ctx, g);
  draw_du1000_ehsi_fix_info_layer(ctx, g);
  draw_p1000_mfd_fix_info_layer(ctx, g);
  draw_c17_mfd_fix_info_layer(ctx, g, present_lat, present_lon);
}

void set_fix_sample() {
  fpl_set_text(fix_info[1].ident, "SEA");
  fpl_set_text(fix_info[1].type, "V");
  fix_info[1].lat = 47.435372;
  fix_info[1].lon = -122.309614;
  fix_info[1].radial[0] = 90;
  fix_info[1].dist[0] = 5;
}

void populate() {
  sim_root_path = VEK_LAYERS_SAMPLE_ROOT;
  load_navigation_database();
  place_aircraft(47.45, -122.31, 160);
  magvar = 15;
  b737_map_on(5, 40);
  md11_nd_apt_on = md11_nd_nav_on = md11_nd_int_on = 1;
  md80_ehsi_apt_on = md80_ehsi_nav_on = md80_ehsi_int_on = 1;
  p1000_show_airports = p1000_show_navaids = 1;
  du1000_show_apt = du1000_show_int = 1;
  du1000_ehsi_mode = 3;
  mfd_apt_on = mfd_vor_on = mfd_ndb_on = mfd_int_on = 1;
  md11_nd_range = md80_ehsi_range = p1000_mfd_range = c17_mfd_range = proline4_mfd_range = efs50_ehsi_range = 40;
  atc_bdry_on = 1;
  EFS50NavMode = 2;
  lnav_on = vnav_on = 1;
  load_plan_airport_info("KSEA", 0);
  loaded_rwy_index = 1;
  parking_lat = 47.45;
  parking_lon = -122.30;
  hold_count = 1;
  hold_list[1].active_wpt = 1;
  hold_list[1].lat = 47.5;
  hold_list[1].lon = -122.3;
  hold_list[1].leg_dist = 4;
  hold_list[1].turn = 1;
  set_fix_sample();
  cruise_alt = 30000;
  ap_altitude = 5000;
  indicated_altitude = 8000;
  vertical_speed = -1500;
  ground_speed = 240;
}

TEST(EveryMember, ReleasesItsObjectsAndFailsNoCall) {
  populate();
  LayerScene s(CANVAS_B737_ND);
  draw_every_member(s.ctx(), s.g);
  EXPECT_GT(s.rec().primitive_count(), 100);
  EXPECT_EQ(gfx_last_status(s.g), GFX_OK);
  EXPECT_EQ(gfx_live_objects(), 0);
}

TEST(EveryMember, ImageWithoutSizeDrawsNothing) {
  populate();
  LayerScene s(CANVAS_B737_ND, 0, 0);
  GaugeSurface none{0, 0};
  draw_every_member(&none, s.g);
  draw_every_member(nullptr, s.g);
  EXPECT_EQ(gfx_live_objects(), 0);
}

}  // namespace
