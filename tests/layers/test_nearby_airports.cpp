// Nearby-airport layer: list refresh, distance gate, symbols and labels per member.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "draw/nearby_airport_layer.h"
#include "layer_scene.h"

namespace {

constexpr double LAT = 47.0, LON = -122.0;

void set_airports(const std::vector<NavRecord>& recs) {
  nav_airport_count = 0;
  for (const NavRecord& r : recs) nav_airports[++nav_airport_count] = r;
  nav_tables_changed();
}

TEST(AirportLayer, FirstDrawBuildsBothListsAroundThePresentPosition) {
  place_aircraft(LAT, LON);
  set_airports({nav_record("KAAA", point_from(LAT, LON, 0, 10))});
  b737_map_on(5, 40);
  ASSERT_EQ(near_airports_wide_centre.lat, -999.0);
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_EQ(near_airports_wide_centre.lat, LAT);
  EXPECT_EQ(near_airports_centre.lon, LON);
  EXPECT_EQ(near_airports_count, 1);
  EXPECT_TRUE(s.rec().has_text("KAAA"));
}

TEST(AirportLayer, ListsAreRebuiltOnlyBeyond200And50Nm) {
  place_aircraft(LAT, LON);
  set_airports({});
  b737_map_on(5, 40);
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_airports_layer(s.ctx(), s.g);

  // Moving east from the first build point; the close list follows the aircraft.
  NavPoint p0 = near_airports_wide_centre;
  struct Step {
    double dist;
    bool wide, close;
  };
  for (Step st : {Step{49, false, false}, Step{51, false, true}, Step{199, false, true}, Step{201, true, false}}) {
    NavPoint wide0 = near_airports_wide_centre, close0 = near_airports_centre;
    NavPoint p = point_from(p0.lat, p0.lon, 90, st.dist);
    place_aircraft(p.lat, p.lon);
    draw_b737_nd_airports_layer(s.ctx(), s.g);
    SCOPED_TRACE(st.dist);
    EXPECT_EQ(near_airports_wide_centre.lat != wide0.lat || near_airports_wide_centre.lon != wide0.lon, st.wide);
    EXPECT_EQ(near_airports_centre.lat != close0.lat || near_airports_centre.lon != close0.lon, st.close);
  }
}

TEST(AirportLayer, CentreNeverBuiltIsRebuiltWhereverTheAircraftIs) {
  // (-999, -999) read as a position lies near 81N 81E; an aircraft there still builds.
  place_aircraft(81.0, 81.0);
  set_airports({nav_record("UNNN", point_from(81, 81, 0, 5))});
  b737_map_on(5, 40);
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_EQ(near_airports_wide_centre.lat, 81.0);
  EXPECT_TRUE(s.rec().has_text("UNNN"));
}

TEST(AirportLayer, DistanceGateIncludesTwiceTheRangePlusTheMargin) {
  place_aircraft(LAT, LON, 270);  // the airports lie down and right, past the image's edges
  NavPoint in = point_from(LAT, LON, 45, 50), out = point_from(LAT, LON, 45, 50.2);
  set_airports({nav_record("KIN", in), nav_record("KOUT", out)});
  double d, c;
  compute_gc_distance_course(LAT, LON, in.lat, in.lon, d, c);
  b737_map_on(5, (d - 10) / 2);  // KIN exactly at 2 x range + 10
  LayerScene s(CANVAS_B737_ND, 244, 302, 4000, 4000);
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_TRUE(s.rec().has_text("KIN"));
  EXPECT_FALSE(s.rec().has_text("KOUT"));
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse, COLOUR_BLUE), 1);
}

TEST(AirportLayer, B737CircleAndFiveCharacterLabelAtTheirOffsets) {
  place_aircraft(LAT, LON);
  set_airports({nav_record("KBCDEFG", point_from(LAT, LON, 0, 10))});
  b737_map_on(5, 40);  // 5.375 units per NM: the airport is 53.75 above the centre (122, 249)
  LayerScene s(CANVAS_B737_ND, 488, 604);
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_TRUE(near(s.text_at("KBCDE"), 122 - 3, 249 - 53.75 - 20));
  EXPECT_EQ(s.text_colour("KBCDE"), COLOUR_BLUE);
  auto ellipses = s.rec().of(GfxOp::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  const GfxRecord& e = *ellipses[0];
  GfxPointF tl = s.design_of(e, e.args[0], e.args[1]);
  GfxPointF br = s.design_of(e, e.args[0] + e.args[2], e.args[1] + e.args[3]);
  EXPECT_TRUE(near(tl, 117, 249 - 53.75 - 5));
  EXPECT_NEAR(br.x - tl.x, 10, 0.2);
  EXPECT_NEAR(br.y - tl.y, 10, 0.2);
  EXPECT_EQ(e.pen_argb, COLOUR_BLUE);
}

TEST(AirportLayer, SwitchAndRangeGates) {
  place_aircraft(LAT, LON);
  set_airports({nav_record("KAAA", point_from(LAT, LON, 0, 10))});
  b737_map_on(5, 160);
  nd_apt_on = 0;
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  nd_apt_on = 1;
  b737_nd_range = 320;
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  b737_nd_range = 160;
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_TRUE(s.rec().has_text("KAAA"));

  // Primus 1000 up to 80, DU-1000 up to 120, Pro Line 4 up to 80, C-17 up to 160.
  s.rec().clear();
  p1000_show_airports = 1;
  p1000_mfd_range = 160;
  draw_p1000_mfd_airports_layer(s.ctx(), s.g);
  du1000_show_apt = 1;
  draw_du1000_ehsi_airports_layer(s.g, LAT, LON, 1, 1, 1, 160, 0);
  mfd_apt_on = 1;
  proline4_mfd_range = 160;
  draw_proline4_mfd_airports_layer(s.ctx(), s.g, LAT, LON);
  c17_mfd_range = 320;
  draw_c17_mfd_airports_layer(s.ctx(), s.g, 1, 1, LAT, LON, 0);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  draw_du1000_ehsi_airports_layer(s.g, LAT, LON, 1, 1, 1, 120, 0);
  EXPECT_EQ(s.rec().count(GfxOp::Text), 2);  // glyph and ident
}

TEST(AirportLayer, SevenCharacterIdentDrawsTheCircleWithoutLabel) {
  place_aircraft(LAT, LON);
  set_airports({nav_record("ABCDEFG", point_from(LAT, LON, 0, 10)), nav_record("ABCDEF", point_from(LAT, LON, 90, 10))});
  md11_nd_apt_on = 1;
  md11_nd_mode = 3;
  md11_nd_range = 40;
  LayerScene s(CANVAS_MD11_ND);
  draw_md11_nd_airports_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse), 2);
  EXPECT_EQ(s.rec().texts(), std::vector<std::string>{"ABCDEF"});
}

TEST(AirportLayer, B737PlanModeMeasuresFromTheActiveWaypointNorthUp) {
  place_aircraft(LAT, LON, 90);
  NavPoint wpt = point_from(LAT, LON, 0, 30);
  set_active_plan({{LAT, LON}, wpt});
  plan_center_index = 0;
  set_airports({nav_record("KEAST", point_from(wpt.lat, wpt.lon, 90, 10))});
  b737_map_on(7, 40);  // 110 / 40 = 2.75 units per NM, centre (122, 171)
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_TRUE(near(s.text_at("KEAST"), 122 + 27.5 - 3, 171 - 20, 1.5));
  // Lists still refreshed around the present position.
  EXPECT_EQ(near_airports_wide_centre.lat, LAT);

  // Without a plan: the present position, still north up.
  clear_fpl_active();
  s.rec().clear();
  set_airports({nav_record("KPP", point_from(LAT, LON, 90, 10))});
  near_airports_wide_centre = near_airports_centre = {-999, -999};
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_TRUE(near(s.text_at("KPP"), 122 + 27.5 - 3, 171 - 20, 1.5));
}

TEST(AirportLayer, PlanCentreBeyondThePlanFallsBackToTheActiveWaypoint) {
  place_aircraft(LAT, LON);
  NavPoint wpt = point_from(LAT, LON, 0, 30);
  set_active_plan({{LAT, LON}, wpt});
  plan_center_index = 150;  // left over from a longer plan
  set_airports({nav_record("KWPT", wpt)});
  b737_map_on(7, 40);
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_airports_layer(s.ctx(), s.g);
  EXPECT_TRUE(near(s.text_at("KWPT"), 122 - 3, 171 - 20, 1.5));
}

TEST(AirportLayer, C17LabelShiftsNineUnitsPerCharacterOfTheWholeIdent) {
  place_aircraft(LAT, LON);
  set_airports({nav_record("KABC", point_from(LAT, LON, 0, 10)), nav_record("LONGID", point_from(LAT, LON, 180, 10))});
  mfd_apt_on = 1;
  c17_mfd_range = 40;
  LayerScene s(CANVAS_C17_MFD);
  double kx, ky;
  set_scaled_frame(s.g, s.surface.width, s.surface.height, CANVAS_C17_MFD, 122, 178, kx, ky);
  map_px_per_nm = 2.0;
  draw_c17_mfd_airports_layer(s.ctx(), s.g, kx, ky, LAT, LON, 0);
  EXPECT_TRUE(near(s.text_at("KABC"), 122 - 36, 178 - 20 + 2));
  EXPECT_TRUE(near(s.text_at("LONGI"), 122 - 54, 178 + 20 + 2));
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse, 0xFF18C2E7), 2);
}

// The circle centred on its airport; on a gauge of another shape than the canvas the label
// keeps the height of the display's own texts (the smaller scale).
TEST(AirportLayer, P1000CircleCentredOnTheProjectedPointAndScaleRestored) {
  struct Case {
    int32_t w, h;
    double label_px;  // font size in image pixels
  };
  for (const Case& c : {Case{272, 314, 10}, Case{600, 314, 10}, Case{272, 600, 10}}) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    place_aircraft(LAT, LON);
    set_airports({nav_record("KAAA", point_from(LAT, LON, 0, 10))});
    p1000_show_airports = 1;
    p1000_mfd_range = 40;
    p1000_map_cx = 136;
    p1000_map_cy = 200;
    p1000_map_radius = 100;
    LayerScene s(CANVAS_P1000_MFD, c.w, c.h);
    draw_p1000_mfd_airports_layer(s.ctx(), s.g);
    auto ellipses = s.rec().of(GfxOp::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    const GfxRecord& e = *ellipses[0];
    GfxPointF centre = s.design_of(e, e.args[0] + e.args[2] / 2, e.args[1] + e.args[3] / 2);
    EXPECT_TRUE(near(centre, 136, 200 - 25));
    EXPECT_TRUE(near(s.text_at("KAAA"), 136 + 2, 200 - 25 - 15));
    for (const GfxTextItem& t : s.rec().text_items()) {
      const GfxRecord& r = s.rec().records[t.record];
      EXPECT_NEAR(r.font_size * std::sqrt(std::fabs(r.transform.m11 * r.transform.m22)), c.label_px, 0.01);
    }
    GfxMatrix m;
    gfx_get_transform(s.g, &m);
    EXPECT_DOUBLE_EQ(m.m11, double(c.w) / 272);
    EXPECT_DOUBLE_EQ(m.m22, double(c.h) / 314);
  }
}

TEST(AirportLayer, Du1000DrawsTheStarGlyphAndMagentaIdent) {
  place_aircraft(LAT, LON);
  set_airports({nav_record("KAAA", point_from(LAT, LON, 90, 10))});
  du1000_show_apt = 1;
  LayerScene s(CANVAS_DU1000_EHSI);
  double kx, ky;
  set_scaled_frame(s.g, s.surface.width, s.surface.height, CANVAS_DU1000_EHSI, 159, 272, kx, ky);
  draw_du1000_ehsi_airports_layer(s.g, LAT, LON, 4.0, kx, ky, 60, 0);
  EXPECT_TRUE(near(s.text_at("*"), 159 + 40 - 6, 272 - 8));
  EXPECT_TRUE(near(s.text_at("KAAA"), 159 + 40 + 4, 272 - 14));
  EXPECT_EQ(s.text_colour("KAAA"), COLOUR_MAGENTA);
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse), 0);
}

}  // namespace
