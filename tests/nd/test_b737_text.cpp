// B737 ND text overlay: the fields a pilot reads in each mode.
#include <gtest/gtest.h>

#include <cstring>

#include "flightplan/route_progress.h"
#include "nd_scene.h"

using namespace nd_test;

namespace {

const std::string DEG = "\u00B0";

struct B737Text : ::testing::Test {
  NdScene s{CANVAS_B737_ND, hw_b737_nd_draw};
  void SetUp() override {
    place_aircraft(47.4, -122.3, 90);
    b737_nd_range = 40;
    true_airspeed = 250;
    ground_speed = 262;
    fpl_active_index = FPL_NO_PLAN;
  }
};

TEST_F(B737Text, TrueAirspeedAndHeadingReadouts) {
  b737_nd_mode = 1;
  true_airspeed = 100;
  heading = 0.4;
  s.draw();
  EXPECT_TRUE(s.has("- - -"));
  EXPECT_TRUE(s.has("360"));
  EXPECT_TRUE(near(s.text_at("360"), 107, 29));
  EXPECT_TRUE(near(s.text_at("TAS"), 10, 23));
  true_airspeed = 101;
  heading = 359.9;
  b737_nd_mode = 5;
  s.draw();
  EXPECT_TRUE(s.has("101"));
  EXPECT_TRUE(near(s.text_at("101"), 34, 20));
  EXPECT_TRUE(near(s.text_at("359"), 107, 4));  // box top 5 in the map modes
  EXPECT_TRUE(near(s.text_at("HDG"), 83, 8));
}

TEST_F(B737Text, WithoutPlanNoDistanceEtaOrDeviationScale) {
  b737_nd_mode = 5;
  vnav_descent_started = 1;
  s.draw();
  EXPECT_FALSE(s.has("NM"));
  EXPECT_FALSE(s.has("Z"));
  EXPECT_EQ(s.rec().count(GfxOp::Lines, COLOUR_MAGENTA), 1);  // only the selected-heading outline
  EXPECT_TRUE(s.has("TAS"));
  EXPECT_TRUE(s.has("262"));
  EXPECT_TRUE(near(s.text_at("GS"), 190, 20));
}

TEST_F(B737Text, DistanceAndEtaAcrossMidnight) {
  b737_nd_mode = 3;
  fpl_active_index = 1;
  dist_to_active_wpt = 12.34;
  zulu_hour = 23;
  clock_minute = 50;
  ete_active_hours = 0;
  ete_active_minutes = 15;
  ete_active_tenths = 4;
  s.draw();
  EXPECT_TRUE(near(s.text_at("12.3"), 10, 8));
  EXPECT_TRUE(near(s.text_at("NM"), 10 + 8 * 4, 10));
  EXPECT_TRUE(s.has("0005.4"));
  EXPECT_TRUE(near(s.text_at("Z"), 190 + 6.5 * 6, 10));
  // Minute 59 plus a minute and hour 23 plus two hours: never minute 60 or hour 24.
  clock_minute = 59.7;
  ete_active_minutes = 0.6;
  ete_active_hours = 1;
  s.draw();
  EXPECT_TRUE(s.has("0059.4"));
  zulu_hour = 22;
  clock_minute = 30;
  ete_active_hours = 1;
  ete_active_minutes = 30;
  s.draw();
  EXPECT_TRUE(s.has("0000.4"));
}

TEST_F(B737Text, DeviationPointerAboveAndBelowThePath) {
  b737_nd_mode = 5;
  fpl_active_index = 2;
  vnav_descent_started = 1;
  vdev_gate_dist_1 = 20;
  vdev_gate_dist_2 = 10;
  vnav_path_altitude = 10000;
  auto pointer_top = [&] {
    for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
      if (r->pen_argb == COLOUR_MAGENTA && r->points.size() == 5 && r->points[0].x == 235) return r->points[0].y;
    return -1;
  };
  indicated_altitude = 10450;
  s.draw();
  EXPECT_EQ(pointer_top(), 258);
  EXPECT_TRUE(near(s.text_at(" 450"), 220, 265));
  indicated_altitude = 10200;
  s.draw();
  EXPECT_EQ(pointer_top(), 241);
  indicated_altitude = 9000;
  s.draw();
  EXPECT_EQ(pointer_top(), 194);
  EXPECT_TRUE(near(s.text_at("1000"), 220, 185));
  vdev_gate_dist_1 = 5;  // not yet past the gate: centred
  s.draw();
  EXPECT_EQ(pointer_top(), 226);
}

TEST_F(B737Text, WindTextAndArrow) {
  b737_nd_mode = 1;
  wind_direction = 270;
  wind_speed = 5;
  s.draw();
  EXPECT_TRUE(near(s.text_at("270" + DEG + "/ 5"), 10, 255));
  EXPECT_EQ(s.rec().count(GfxOp::FillPolygon, COLOUR_WHITE), 1);
  wind_speed = 0.5;
  s.draw();
  EXPECT_TRUE(s.has("---" + DEG + "/---"));
  EXPECT_EQ(s.rec().count(GfxOp::FillPolygon, COLOUR_WHITE), 0);
}

TEST_F(B737Text, PlanModeHasNorthArrowAndNoWindTcasOrDeviation) {
  b737_nd_mode = 7;
  fpl_active_index = 1;
  vnav_descent_started = 1;
  wind_speed = 20;
  s.draw();
  EXPECT_TRUE(near(s.text_at("N"), 222, 201));
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_LIGHT_GREEN), 3);
  EXPECT_FALSE(s.has("TFC"));
  EXPECT_FALSE(s.has("TCAS"));
  for (const std::string& t : s.rec().texts()) EXPECT_EQ(t.find(DEG), std::string::npos) << t;
}

TEST_F(B737Text, TcasAnnunciation) {
  b737_nd_mode = 6;
  nd_tcas_on = 1;
  s.draw();
  EXPECT_TRUE(near(s.text_at("TFC"), 10, 33));
  EXPECT_EQ(s.text_colour("TFC"), COLOUR_GREEN);
  nd_tcas_on = 0;
  b737_nd_mode = 4;
  s.draw();
  EXPECT_TRUE(near(s.text_at("TCAS"), 10, 95));
  EXPECT_TRUE(near(s.text_at("OFF"), 10, 105));
}

TEST_F(B737Text, NavigationSourceAndFrequencies) {
  b737_nd_mode = 3;
  s.draw();
  EXPECT_TRUE(near(s.text_at("NAV"), 10, 285));
  b737_nd_mode = 2;
  s.draw();
  EXPECT_TRUE(s.has("VOR 1"));
  EXPECT_TRUE(near(s.text_at("------"), 190, 285));
  EXPECT_TRUE(near(s.text_at("- - -"), 30, 8));
  EXPECT_FALSE(s.has("ADF 1"));
  token_values[TOK_NAV1_SIGNAL] = 1;
  token_values[TOK_NAV1_FREQ] = 0x1090;
  token_values[TOK_NAV1_FLAGS] = 0xC0;
  token_values[TOK_ADF_FREQ] = 0x362;
  dme1_distance = 7.25;
  adf1_bearing = 45;
  s.draw();
  EXPECT_TRUE(s.has("ILS 1"));
  EXPECT_TRUE(near(s.text_at("110.90"), 190, 285));
  EXPECT_TRUE(near(s.text_at("7.2"), 30, 8));
  EXPECT_EQ(s.text_colour("ADF 1"), 0xFF02A7EBu);
  EXPECT_TRUE(near(s.text_at("362.0"), 190, 270));
}

// The other module's traffic array, shared through the host.
TcasTarget foreign_targets[2];
int32_t foreign_count = 2;

void* fake_lookup(const char* name, int32_t* kind, uint32_t* size) {
  if (std::strcmp(name, "tcas_targets") == 0) {
    *kind = SHARED_BLOCK;
    *size = sizeof foreign_targets;
    return foreign_targets;
  }
  if (std::strcmp(name, "tcas_target_cnt") == 0) {
    *kind = SHARED_INT32;
    *size = sizeof foreign_count;
    return &foreign_count;
  }
  return nullptr;
}

TEST_F(B737Text, TrafficReadoutCopiesTheForeignIdentBounded) {
  b737_nd_mode = 1;
  s.draw();
  EXPECT_FALSE(s.has("TCAS Items 0"));
  std::memset(foreign_targets[0].ident, 'X', sizeof foreign_targets[0].ident);  // no terminator
  foreign_targets[0].altitude = 12345.9;
  foreign_targets[0].ground_speed = 301.5;
  fake_services.lookup_shared_var = fake_lookup;
  hw_b737_nd_nb_service_hook(nullptr, PANEL_SERVICE_PRE_UPDATE);
  fake_services.lookup_shared_var = nullptr;
  ASSERT_EQ(tcas_targets_found, 1);
  s.draw();
  EXPECT_TRUE(near(s.text_at("ALT 12345"), 70, 240));
  EXPECT_TRUE(near(s.text_at("GSP 301"), 70, 250));
  EXPECT_TRUE(s.has("Id " + std::string(TCAS_IDENT_SIZE - 1, 'X')));
  EXPECT_TRUE(near(s.text_at("TCAS Items 2"), 70, 270));
  EXPECT_EQ(s.text_colour("TCAS Items 2"), COLOUR_YELLOW);
  b737_nd_mode = 2;
  s.draw();
  EXPECT_FALSE(s.has("TCAS Items 2"));
}

TEST_F(B737Text, SelectedHeadingMarkerTurnsWithTheBugAndLubberOnlyOnTheRose) {
  b737_nd_mode = 1;
  heading = 90;
  ap_heading = 180;
  s.draw();
  // The marker's bar at radius 79 turned 90 degrees right of the nose: about (201, 151).
  bool found = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::Line))
    if (r->pen_argb == COLOUR_MAGENTA && r->pen_dash == GFX_DASH_SOLID && r->args[1] == -79 && r->args[3] == -79)
      found = near(s.design_of(*r, 0, -79), 201, 151, 1.5);
  EXPECT_TRUE(found);
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_MAGENTA), 6);
  b737_nd_mode = 7;
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_MAGENTA), 0);  // outline only, no dashed line
  EXPECT_EQ(s.rec().count(GfxOp::Lines, COLOUR_MAGENTA), 1);
}

}  // namespace
