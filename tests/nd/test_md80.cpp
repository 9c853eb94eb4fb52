// MD-80 EHSI: dispatcher, HSI, expanded arc and the two map modes.
#include <gtest/gtest.h>

#include "navdb/navdb.h"
#include "nd_scene.h"
#include "tests/common/display_checks.h"

using namespace nd_test;

namespace {

using Layers = std::vector<std::string>;
constexpr double LAT = 47.0, LON = -122.0;

struct Md80 : ::testing::Test {
  NdScene s{CANVAS_MD80_EHSI, md80_ehsi_draw};
  void SetUp() override {
    place_aircraft(LAT, LON, 0);
    md80_ehsi_range = 20;
    fpl_active_index = FPL_NO_PLAN;
    loaded_rwy_index = -999;
    atc_boundaries_loaded = 1;
  }
  int32_t gs_rect_top() {
    for (const GfxRecord* r : s.rec().of(GfxOp::Rect))
      if (r->pen_argb == COLOUR_MAGENTA) return int32_t(r->args[1]);
    return -1;
  }
};

TEST_F(Md80, ClearsOnlyWithoutPowerOrInDrawMode2AndOtherModesShowTheBackground) {
  md80_ehsi_mode = 3;
  expect_blank_unpowered_and_in_draw_mode_2(s);
  md80_ehsi_mode = 4;
  s.draw();
  EXPECT_EQ(s.rec().primitive_count(), 1);
  EXPECT_EQ(s.rec().count(GfxOp::FillRect, 0xFF000000), 1);
}

TEST_F(Md80, HsiRoseWithCardinalLettersAndGlideslope) {
  md80_ehsi_mode = 0;
  token_values[TOK_NAV1_FLAGS] = 0x40;
  s.draw();
  EXPECT_EQ(layers, (Layers{"hsi"}));
  EXPECT_EQ(md80_ehsi_center_y, 116);
  EXPECT_EQ(s.world("W").x, -7);
  EXPECT_EQ(s.world("N").x, -8);
  EXPECT_EQ(s.world("3").x, -8);
  EXPECT_TRUE(near(s.text_at("N"), 125, 49));
  EXPECT_EQ(gs_rect_top(), 112);
  EXPECT_FALSE(s.has(" 10"));
  // A NAV 1 station ahead with the course ahead: TO.
  token_values[TOK_NAV1_SIGNAL] = 1;
  nav1_course = 0;
  nav_rel_bearing = 0;
  s.draw();
  EXPECT_TRUE(s.has("VOR"));
  EXPECT_EQ(s.rec().count(GfxOp::FillPolygon, COLOUR_WHITE), 1);
}

TEST_F(Md80, ArcLabelsAndCorners) {
  md80_ehsi_mode = 1;
  token_values[TOK_NAV1_FLAGS] = 0x40;
  dme1_distance = 12.5;
  nav_token35 = 3.25;
  heading = 210;
  s.draw();
  EXPECT_EQ(md80_ehsi_center_y, 204);
  EXPECT_TRUE(s.has(" 10"));
  EXPECT_EQ(s.world("21").x, -14);
  EXPECT_EQ(s.world("18").x, -12);
  EXPECT_EQ(s.world("24").x, -13);
  EXPECT_EQ(gs_rect_top(), 118);
  EXPECT_TRUE(near(s.text_at("12.5"), 0, 4));
  EXPECT_TRUE(near(s.text_at("DME1"), 0, 17));
  EXPECT_TRUE(near(s.text_at("3.2"), 223, 4));
  EXPECT_TRUE(near(s.text_at("DME2"), 223, 17));
  heading = 270;
  md80_ehsi_range = 5;
  s.draw();
  EXPECT_TRUE(s.has("2.5"));
  EXPECT_EQ(s.world("27").x, -13);
}

TEST_F(Md80, MapDistanceAndEta) {
  md80_ehsi_mode = 3;
  fpl_active_index = 1;
  fpl_active_last = 2;
  dist_to_active_wpt = 123.4;
  ground_speed = 30;
  s.draw();
  EXPECT_TRUE(s.has("123NM"));
  EXPECT_FALSE(s.has("ETA"));
  dist_to_active_wpt = 12.34;
  ground_speed = 37.02;  // 20 minutes
  zulu_hour = 23;
  zulu_minute = 50;
  s.draw();
  EXPECT_TRUE(near(s.text_at("12.3NM"), 0, 4));
  EXPECT_TRUE(s.has("0010Z"));
  EXPECT_TRUE(near(s.text_at("ETA"), 223, 17));
}

TEST_F(Md80, MapLayersByMode) {
  md80_ehsi_mode = 3;
  md80_ehsi_nav_on = md80_ehsi_apt_on = md80_ehsi_int_on = 1;
  atc_bdry_on = 1;
  md80_ehsi_range = 2.5;
  loaded_rwy_count = 1;
  loaded_rwy_index = 1;
  loaded_rwy_base = 1;
  hold_list[1].active_wpt = 1;
  ap_token103 = ap_vertical_speed = 1;
  indicated_altitude = 9000;
  ap_altitude = 3000;
  vertical_speed = -1000;
  set_active_plan({"AAA", "BBB", "CCC"}, 1, LAT, LON);
  s.draw();
  EXPECT_EQ(layers, (Layers{"map", "toc_tod", "navaids", "airports", "fixes", "route", "centerline", "hold",
                            "altitude_arc", "runways", "boundaries"}));
  s.draw(3);
  EXPECT_EQ(std::count(layers.begin(), layers.end(), "boundaries"), 0);
  md80_ehsi_mode = 2;
  s.draw();
  EXPECT_EQ(layers, (Layers{"map", "route", "hold"}));
  EXPECT_EQ(md80_ehsi_center_y, 134);
  EXPECT_TRUE(s.has("N"));
  md80_ehsi_mode = 3;
  s.draw();
  EXPECT_EQ(md80_ehsi_center_y, 204);
}

TEST_F(Md80, PlanWithoutRouteCentresOnTheAircraft) {
  md80_ehsi_mode = 2;
  md80_ehsi_range = 10;
  s.draw();
  EXPECT_EQ(layers, (Layers{"map"}));
  EXPECT_TRUE(s.has("  5"));
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_MAGENTA), 0);
}

TEST_F(Md80, MapClipHoldsForTheMapOnlyAndWindNeedsAKnot) {
  md80_ehsi_mode = 3;
  set_active_plan({"AAA", "BBB", "CCC"}, 1, LAT, LON);
  wind_speed = 0.5;
  s.draw();
  bool route_clipped = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::Line))
    if (r->pen_argb == COLOUR_MAGENTA && r->clip >= 0) route_clipped = true;
  EXPECT_TRUE(route_clipped);
  // The aircraft triangle comes after the clip is removed.
  const GfxRecord* last = s.rec().of(GfxOp::Line).back();
  EXPECT_EQ(last->clip, -1);
  EXPECT_EQ(s.rec().count(GfxOp::Text), int32_t(s.rec().texts().size()));
  for (const std::string& t : s.rec().texts()) EXPECT_NE(t, " 0");
  wind_speed = 12;
  s.draw();
  EXPECT_TRUE(s.has("12"));
}

}  // namespace
