// Navaid and intersection layers: symbols by type and switch, label offsets,
// range gates, list refresh and the sample database.
#include <gtest/gtest.h>

#include "draw/intersection_layer.h"
#include "draw/navaid_layer.h"
#include "layer_scene.h"
#include "module/module_paths.h"
#include "navdb/navdb_load.h"

namespace {

constexpr double LAT = 47.0, LON = -122.0;

void set_navaids(const std::vector<NavRecord>& recs) {
  nav_navaid_count = 0;
  for (const NavRecord& r : recs) nav_navaids[++nav_navaid_count] = r;
  nav_tables_changed();
}

void set_airway_fixes(const std::vector<NavRecord>& recs) {
  nav_airway_fix_count = 0;
  for (const NavRecord& r : recs) nav_airway_fixes[++nav_airway_fix_count] = r;
  nav_tables_changed();
}

int32_t lines_with_points(GfxRecording& rec, size_t n, uint32_t argb) {
  int32_t c = 0;
  for (const GfxRecord* r : rec.of(GfxOp::Lines))
    if (r->points.size() == n && r->pen_argb == argb) ++c;
  return c;
}

TEST(NavaidLayer, B737VorAndOtherNavaidSymbolsInGreenWithLabelsFromTheSymbolPoint) {
  place_aircraft(LAT, LON);
  set_navaids({nav_record("SEA", point_from(LAT, LON, 0, 10), "V"), nav_record("BF", point_from(LAT, LON, 90, 10), "N"),
               nav_record("XX", point_from(LAT, LON, 180, 10), "VOR")});
  b737_map_on(5, 40);
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_navaids_layer(s.ctx(), s.g);
  EXPECT_EQ(lines_with_points(s.rec(), 19, COLOUR_GREEN), 1);  // the "V" record
  EXPECT_EQ(lines_with_points(s.rec(), 7, COLOUR_GREEN), 2);   // "N" and "VOR" are not "V"
  // Label at the projected point + (-3, -4) + (7, -10).
  EXPECT_TRUE(near(s.text_at("SEA"), 122 + 4, 249 - 53.75 - 14));
  EXPECT_EQ(s.text_colour("SEA"), COLOUR_GREEN);
  EXPECT_TRUE(near(s.text_at("BF"), 122 + 53.75 + 4, 249 - 14));
}

TEST(NavaidLayer, Md11DrawsNdbsAsTwoCirclesAndGatesByMode) {
  place_aircraft(LAT, LON);
  set_navaids({nav_record("BF", point_from(LAT, LON, 90, 10), "N"), nav_record("SEA", point_from(LAT, LON, 0, 10), "V")});
  md11_nd_nav_on = 1;
  md11_nd_mode = 3;
  md11_nd_range = 320;
  md11_nd_map_radius = 150;
  LayerScene s(CANVAS_MD11_ND);
  draw_md11_nd_navaids_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse, COLOUR_BLUE), 2);
  EXPECT_EQ(lines_with_points(s.rec(), 19, COLOUR_BLUE), 1);
  EXPECT_EQ(s.rec().texts().size(), 2u);

  s.rec().clear();
  md11_nd_mode = 2;  // plan mode: up to 160 only
  draw_md11_nd_navaids_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  md11_nd_range = 160;
  draw_md11_nd_navaids_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().texts().size(), 2u);
}

TEST(NavaidLayer, Du1000SwitchesChooseTheTypes) {
  place_aircraft(LAT, LON);
  set_navaids({nav_record("SEA", point_from(LAT, LON, 0, 10), "V"), nav_record("BF", point_from(LAT, LON, 90, 10), "N"),
               nav_record("ZZ", point_from(LAT, LON, 180, 10), "X")});
  LayerScene s(CANVAS_DU1000_EHSI);
  double kx, ky;
  set_scaled_frame(s.g, s.surface.width, s.surface.height, CANVAS_DU1000_EHSI, 159, 272, kx, ky);
  draw_du1000_ehsi_navaids_layer(s.g, LAT, LON, 4, kx, ky, 60, 0, 1, 0);
  EXPECT_EQ(s.rec().texts(), std::vector<std::string>{"SEA"});
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse, COLOUR_MAGENTA), 1);  // code 76
  s.rec().clear();
  draw_du1000_ehsi_navaids_layer(s.g, LAT, LON, 4, kx, ky, 60, 0, 0, 1);
  EXPECT_EQ(s.rec().texts(), std::vector<std::string>{"BF"});
  EXPECT_EQ(lines_with_points(s.rec(), 4, COLOUR_MAGENTA), 1);  // triangle
  s.rec().clear();
  draw_du1000_ehsi_navaids_layer(s.g, LAT, LON, 4, kx, ky, 60, 0, 0, 0);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

TEST(NavaidLayer, NavaidExactlyAtTheLimitIsDrawn) {
  place_aircraft(LAT, LON, 270);  // the navaids lie down and right, past the image's edges
  NavPoint in = point_from(LAT, LON, 30, 110), out = point_from(LAT, LON, 30, 110.3);
  set_navaids({nav_record("IN", in, "V"), nav_record("OUT", out, "V")});
  double d, c;
  compute_gc_distance_course(LAT, LON, in.lat, in.lon, d, c);
  b737_map_on(5, (d - 50) / 2);
  LayerScene s(CANVAS_B737_ND, 244, 302, 4000, 4000);
  draw_b737_nd_navaids_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().texts(), std::vector<std::string>{"IN"});
}

TEST(NavaidLayer, ProLine4AndC17Gates) {
  place_aircraft(LAT, LON);
  set_navaids({nav_record("SEA", point_from(LAT, LON, 0, 10), "V"), nav_record("BF", point_from(LAT, LON, 90, 10), "N")});
  LayerScene s(CANVAS_PROLINE4_MFD);
  mfd_vor_on = 0;
  mfd_ndb_on = 1;
  proline4_mfd_range = 160;
  map_px_per_nm = 1;
  draw_proline4_mfd_navaids_layer(s.ctx(), s.g, LAT, LON);
  EXPECT_EQ(s.rec().texts(), std::vector<std::string>{"BF"});
  EXPECT_EQ(lines_with_points(s.rec(), 7, COLOUR_BLUE), 1);  // code 2, colour 1
  s.rec().clear();
  proline4_mfd_range = 320;
  draw_proline4_mfd_navaids_layer(s.ctx(), s.g, LAT, LON);
  c17_mfd_range = 320;
  draw_c17_mfd_navaids_layer(s.ctx(), s.g, 1, 1, LAT, LON, 0);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  c17_mfd_range = 160;
  draw_c17_mfd_navaids_layer(s.ctx(), s.g, 1, 1, LAT, LON, 0);
  EXPECT_EQ(s.rec().texts().size(), 2u);  // the C-17 draws every type
}

TEST(NavaidLayer, P1000DrawsWithoutRangeLimitAndRestoresItsScale) {
  place_aircraft(LAT, LON);
  set_navaids({nav_record("SEA", point_from(LAT, LON, 0, 10), "V")});
  p1000_show_navaids = 1;
  p1000_mfd_range = 640;
  LayerScene s(CANVAS_P1000_MFD, 544, 628);
  draw_p1000_mfd_navaids_layer(s.ctx(), s.g);
  EXPECT_EQ(s.text_colour("SEA"), COLOUR_LIGHT_GREEN);
  GfxMatrix m;
  gfx_get_transform(s.g, &m);
  EXPECT_DOUBLE_EQ(m.m11, 2.0);
  EXPECT_DOUBLE_EQ(m.m22, 2.0);
}

TEST(NavaidLayer, SampleDatabaseAroundSeattle) {
  sim_root_path = VEK_LAYERS_SAMPLE_ROOT;
  load_navigation_database();
  ASSERT_GT(nav_navaid_count, 10);
  place_aircraft(47.45, -122.31);  // over Seattle
  b737_map_on(5, 20);                 // 2 x 20 + 50 = 90 NM
  b737_nd_map_radius = 15;            // 0.75 units a NM: every navaid within 90 NM on the image
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_navaids_layer(s.ctx(), s.g);
  for (const char* near_one : {"SEA", "PAE", "OLM", "BF", "HQM", "ELN"}) EXPECT_TRUE(s.rec().has_text(near_one)) << near_one;
  for (const char* far_one : {"GEG", "YKM", "LA", "BTG", "BLI"}) EXPECT_FALSE(s.rec().has_text(far_one)) << far_one;
}

TEST(FixLayer, B737TrianglesWithLabelsFromTheProjectedPointAndGate40) {
  place_aircraft(LAT, LON);
  set_airway_fixes({nav_record("DUBYA", point_from(LAT, LON, 0, 10), "I"), nav_record("TOOLONG", point_from(LAT, LON, 90, 10), "I")});
  b737_map_on(5, 40);
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_fixes_layer(s.ctx(), s.g);
  EXPECT_EQ(lines_with_points(s.rec(), 4, COLOUR_BLUE), 2);
  EXPECT_EQ(s.rec().texts(), std::vector<std::string>{"DUBYA"});  // 7 characters: no label
  EXPECT_TRUE(near(s.text_at("DUBYA"), 122 + 7, 249 - 53.75 - 10));
  s.rec().clear();
  b737_nd_range = 80;
  draw_b737_nd_fixes_layer(s.ctx(), s.g);
  nd_int_on = 0;
  b737_nd_range = 40;
  draw_b737_nd_fixes_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

TEST(FixLayer, Du1000DiamondsAndMemberGates) {
  place_aircraft(LAT, LON);
  set_airway_fixes({nav_record("DUBYA", point_from(LAT, LON, 0, 10), "I")});
  du1000_show_int = 1;
  LayerScene s(CANVAS_DU1000_EHSI);
  double kx, ky;
  set_scaled_frame(s.g, s.surface.width, s.surface.height, CANVAS_DU1000_EHSI, 159, 272, kx, ky);
  draw_du1000_ehsi_fixes_layer(s.g, LAT, LON, 4, kx, ky, 80, 0);  // beyond 60
  EXPECT_EQ(s.rec().primitive_count(), 0);
  draw_du1000_ehsi_fixes_layer(s.g, LAT, LON, 4, kx, ky, 60, 0);
  EXPECT_EQ(lines_with_points(s.rec(), 5, COLOUR_MAGENTA), 1);
  EXPECT_TRUE(near(s.text_at("DUBYA"), 159 + 4, 272 - 40 - 14));

  s.rec().clear();
  md11_nd_int_on = md80_ehsi_int_on = mfd_int_on = 1;
  md11_nd_range = md80_ehsi_range = 160;
  proline4_mfd_range = 80;
  draw_md11_nd_fixes_layer(s.ctx(), s.g);
  draw_md80_ehsi_fixes_layer(s.ctx(), s.g);
  draw_proline4_mfd_fixes_layer(s.ctx(), s.g, LAT, LON);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  md11_nd_range = 80;
  draw_md11_nd_fixes_layer(s.ctx(), s.g);
  EXPECT_TRUE(s.rec().has_text("DUBYA"));
}

TEST(FixLayer, ProLine4TestsTheCloseListFromThePresentPositionButBuildsAroundItsPoint) {
  place_aircraft(LAT, LON);
  set_airway_fixes({nav_record("NEAR1", point_from(LAT, LON, 0, 10), "I")});
  mfd_int_on = 1;
  proline4_mfd_range = 40;
  map_px_per_nm = 1;
  NavPoint ref = point_from(LAT, LON, 0, 100);
  LayerScene s(CANVAS_PROLINE4_MFD);
  draw_proline4_mfd_fixes_layer(s.ctx(), s.g, ref.lat, ref.lon);
  EXPECT_EQ(near_airway_fixes_centre.lat, ref.lat);
  EXPECT_EQ(near_airway_fixes_count, 1);  // within 200 NM of the aircraft, not of the point
  // The aircraft stays 100 NM from that centre, so every draw builds the close list again.
  near_airway_fixes_count = 0;
  draw_proline4_mfd_fixes_layer(s.ctx(), s.g, ref.lat, ref.lon);
  EXPECT_EQ(near_airway_fixes_count, 1);
}

TEST(FixLayer, B737PlanModeWithoutPlanUsesThePresentPositionNorthUp) {
  place_aircraft(LAT, LON, 90);
  clear_fpl_active();
  set_airway_fixes({nav_record("NORTH", point_from(LAT, LON, 0, 10), "I")});
  b737_map_on(7, 40);
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_fixes_layer(s.ctx(), s.g);
  EXPECT_TRUE(near(s.text_at("NORTH"), 122 + 7, 171 - 27.5 - 10));
}

}  // namespace
