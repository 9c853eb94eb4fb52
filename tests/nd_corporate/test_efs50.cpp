// EFS 50 EHSI and TCAS display: blanking, the layers of each format and source,
// the data fields, the vertical and lateral scales and the route overlay.
#include <gtest/gtest.h>

#include "displays/nd_corporate/nd_corporate.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "gauges/control_panels.h"
#include "guidance/settings.h"
#include "navdb/navdb.h"
#include "tests/common/display_checks.h"
#include "tests/nd/nd_scene.h"

using namespace nd_test;

namespace {

using Layers = std::vector<std::string>;
constexpr double LAT = 47.0, LON = -122.0;
constexpr uint32_t CYAN = 0xFF02A7EB;

struct Efs50 : ::testing::Test {
  NdScene s{CANVAS_EFS50, efs50_ehsi_draw};
  void SetUp() override {
    place_aircraft(LAT, LON, 0);
    efs50_ehsi_mode = 1;
    efs50_ehsi_range = 10;
    EFS50NavMode = 1;
    efs50_brg1_source = efs50_brg2_source = 0;
    fpl_active_index = FPL_NO_PLAN;
    loaded_rwy_index = -999;
    loaded_rwy_count = 0;
    hold_list[1].active_wpt = 0;
    atc_bdry_on = 0;
    route_distance_to_go = 0;
    ap_heading = 0;
    wind_speed = 0;
    xtk_nm = 0;
    DispPrevWpt = 0;
    dto_active = 0;
    atc_boundaries_loaded = 1;
    nav1_course = desired_track = nav_rel_bearing = 0;
    dme1_distance = ground_speed = 0;
    indicated_altitude = vnav_path_altitude = 0;
    tod_reached = 0;
    token_values.clear();
  }
  // x of the lateral scale's bar (a 3 px line from y 72 to 82), or -999.
  double lateral_bar() {
    for (const GfxRecord* r : s.rec().of(GfxOp::Line))
      if (r->pen_width == 3 && r->args[1] == 72 && r->args[3] == 82) return r->args[0];
    return -999;
  }
};

TEST_F(Efs50, BlankUnpoweredAndInDrawMode2BothDisplays) {
  for (int32_t m : {1, 3, 6, 8}) {
    efs50_ehsi_mode = m;
    expect_blank_unpowered_and_in_draw_mode_2(s);
  }
  NdScene tcas{CANVAS_EFS50, efs50_tcas_draw};
  expect_blank_unpowered_and_in_draw_mode_2(tcas);
  tcas.draw();
  EXPECT_EQ(tcas.rec().count(GfxOp::FillRect), 0);
  EXPECT_EQ(layers, (Layers{"tcas"}));
  efs50_ehsi_mode = 9;
  s.draw();
  EXPECT_EQ(s.rec().primitive_count(), 1);
}

TEST_F(Efs50, LayersByFormatAndSource) {
  set_active_plan({"AAA", "BBB", "CCC"}, 1, LAT, LON);
  hold_list[1].active_wpt = 1;
  route_distance_to_go = 8.5;
  atc_bdry_on = 1;
  loaded_rwy_index = 1;
  struct Case {
    int32_t mode, source;
    Layers expected;
  };
  const Layers fms_rose{"rose", "boundaries", "centerline", "data", "route", "hold", "toc_tod", "deviation"};
  const Case cases[] = {
      {1, 2, {"rose", "data", "deviation"}},
      {2, 1, {"rose", "boundaries", "centerline", "data", "deviation"}},
      {2, 2, fms_rose},
      {3, 2, fms_rose},
      {4, 2, {"arc", "data"}},
      {5, 1, {"arc", "boundaries", "centerline", "data"}},
      {6, 2, {"arc", "boundaries", "centerline", "data", "route", "hold", "toc_tod"}},
      {7, 2, {"arc", "data"}},
      {8, 2, {"tcas"}},
  };
  for (const Case& c : cases) {
    efs50_ehsi_mode = c.mode;
    EFS50NavMode = c.source;
    s.draw();
    EXPECT_EQ(layers, c.expected) << c.mode << "/" << c.source;
  }
  // Exactly 8 NM to go: no markers; no plan: the hold still runs on its own test.
  route_distance_to_go = 8.0;
  fpl_active_index = FPL_NO_PLAN;
  efs50_ehsi_mode = 6;
  s.draw();
  EXPECT_EQ(layers, (Layers{"arc", "boundaries", "centerline", "data", "hold"}));
  EXPECT_TRUE(s.has("NO MAP"));
  // A range that cannot scale the map draws no map item and no range.
  efs50_ehsi_range = 0;
  s.draw();
  EXPECT_EQ(layers, (Layers{"arc", "data"}));
  EXPECT_FALSE(s.has("0.0"));
}

TEST_F(Efs50, DataFieldsRightAlignedByLength) {
  efs50_ehsi_mode = 2;
  token_values[TOK_NAV1_SIGNAL] = 1;
  struct Case {
    double dme, gs, dme_speed;
    const char *distance, *speed, *ttg;
    double distance_x, speed_x, ttg_x;
  };
  const Case cases[] = {
      {12.5, 250, 7.5, "12.5", "250", "1:40", 210, 214, 230},
      {0, 50, 100, "---", "50", nullptr, 218, 223, 0},
      {123.4, 8, 246.8, "123.4", "8", nullptr, 202, 230, 0},
      {5, 300, 10, "5.0", "300", "0:30", 218, 214, 230},
      {99999, 12345, 10000, "99999.0", "12345", "10:00", 187, 207, 222},
  };
  for (const Case& c : cases) {
    dme1_distance = c.dme;
    ground_speed = c.gs;
    dme2_distance = c.dme_speed;
    s.draw();
    EXPECT_DOUBLE_EQ(s.world(c.distance).x, c.distance_x) << c.distance;
    EXPECT_DOUBLE_EQ(s.world(c.speed).x, c.speed_x) << c.speed;
    if (c.ttg) {
      EXPECT_DOUBLE_EQ(s.world(c.ttg).x, c.ttg_x) << c.ttg;
    }
    EXPECT_FALSE(s.has("9:60"));
  }
  EXPECT_TRUE(s.has("CRS 000"));
  for (const char* t : {"V", "O", "R", "NM", "KT", "WX OFF"}) EXPECT_TRUE(s.has(t)) << t;
}

TEST_F(Efs50, SelectedHeadingReadoutDegreeSignAndSide) {
  ap_heading = 0;
  s.draw();
  EXPECT_TRUE(s.has("360\u00B0"));
  efs50_ehsi_mode = 5;
  struct Case {
    double heading, selected;
    double x;  // of the rotated origin; 0 for none
  };
  const Case cases[] = {{350, 10, 0}, {10, 40, 0}, {350, 60, 220}, {10, 300, 15}, {100, 200, 220}};
  for (const Case& c : cases) {
    heading = c.heading;
    ap_heading = c.selected;
    s.draw();
    const std::string t = c.selected < 100 ? "0" + std::to_string(int(c.selected)) + "\u00B0"
                                           : std::to_string(int(c.selected)) + "\u00B0";
    if (c.x == 0) {
      EXPECT_FALSE(s.has(t)) << c.heading << " " << c.selected;
      continue;
    }
    for (const GfxTextItem& it : s.rec().text_items()) {
      if (it.text != t) continue;
      EXPECT_NEAR(s.rec().records[it.record].transform.dx, c.x, 1.01) << t;
    }
    EXPECT_TRUE(s.has(t));
  }
}

TEST_F(Efs50, VerticalAndLateralScales) {
  efs50_ehsi_mode = 2;
  EFS50NavMode = 2;
  set_active_plan({"AAA", "BBB"}, 1, LAT, LON);
  route_distance_to_go = 20;
  tod_reached = 1;
  struct Vnav {
    double above_path;
    double top;
  };
  for (const Vnav& v : {Vnav{-5000, -67}, Vnav{5000, 47}, Vnav{0, -10}}) {
    indicated_altitude = 10000 + v.above_path;
    vnav_path_altitude = 10000;
    s.draw();
    EXPECT_TRUE(s.has("V"));
    bool found = false;
    for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
      if (r->pen_argb == 0xFF25C817 && r->points.size() == 5 && r->points[0].x == 105 && r->points[0].y == v.top)
        found = true;
    EXPECT_TRUE(found) << v.above_path;
  }
  tod_reached = 0;
  struct Lateral {
    double xtk;
    int32_t side;
    double bar;
  };
  for (const Lateral& l : {Lateral{6, 2, 50}, Lateral{0.113, 2, 1}, Lateral{2, 1, -17}}) {
    xtk_nm = l.xtk;
    xtk_side = l.side;
    s.draw();
    EXPECT_EQ(lateral_bar(), l.bar) << l.xtk;
  }
  fpl_active_index = FPL_NO_PLAN;
  s.draw();
  EXPECT_EQ(lateral_bar(), -999);
  EXPECT_TRUE(s.has("DTK ---"));
}

TEST_F(Efs50, RouteOverlayOnTheRangeRingAndPreviousLeg) {
  EFS50NavMode = 2;
  set_active_plan({"AAA", "BBB", "CCC"}, 1, LAT, LON);
  place_aircraft(LAT, LON, 0);
  // BBB lies 10 NM ahead, CCC 20: at a range of 10 BBB is on the ring.
  struct Case {
    int32_t mode;
    double ring;
  };
  for (const Case& c : {Case{2, 50}, Case{5, 95}}) {
    efs50_ehsi_mode = c.mode;
    s.draw();
    const double cy = c.mode <= 3 ? 114 : 190;
    const GfxRecord* leg = nullptr;
    for (const GfxRecord* r : s.rec().of(GfxOp::Line))
      if (r->pen_argb == CYAN && !leg) leg = r;
    ASSERT_NE(leg, nullptr);
    GfxPointF end = s.design_of(*leg, leg->args[2], leg->args[3]);
    EXPECT_TRUE(near(end, 129, cy - c.ring, 1.5)) << end.x << " " << end.y;
    EXPECT_EQ(s.text_colour("BBB"), CYAN);
    EXPECT_EQ(s.text_colour("CCC"), COLOUR_WHITE);
  }
  DispPrevWpt = 1;
  s.draw();
  EXPECT_EQ(s.text_colour("AAA"), COLOUR_YELLOW);
  dto_active = 1;
  dto_origin_lat = LAT;
  dto_origin_lon = LON + 0.1;
  s.draw();
  EXPECT_TRUE(s.has("DCT"));
  EXPECT_FALSE(s.has("AAA"));
  efs50_ehsi_range = 2.5;
  s.draw();
  EXPECT_FALSE(s.has("DCT"));
}

}  // namespace
