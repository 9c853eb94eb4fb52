// Pro Line 4 MFD: blanking, format and range steps from its panel, map layer gates,
// the flight-plan summary, the HSI data block, deviation and TO/FROM.
#include <gtest/gtest.h>

#include "displays/nd_corporate/nd_corporate.h"
#include "flightplan/route_progress.h"
#include "gauges/control_panels.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "navdb/navdb.h"
#include "tests/common/display_checks.h"
#include "tests/nd/nd_scene.h"

using namespace nd_test;

namespace {

using Layers = std::vector<std::string>;
constexpr double LAT = 47.0, LON = -122.0;

struct Proline4 : ::testing::Test {
  NdScene s{CANVAS_PROLINE4_MFD, proline4_mfd_draw};
  void SetUp() override {
    place_aircraft(LAT, LON, 0);
    proline4_mfd_format = 3;
    proline4_mfd_map_radius = 140;
    proline4_mfd_range = 40;
    mfd_vor_on = mfd_ndb_on = mfd_apt_on = mfd_int_on = 0;
    proline4_mfd_brg1_source = proline4_mfd_brg2_source = 0;
    atc_bdry_on = 0;
    fpl_active_index = FPL_NO_PLAN;
    loaded_rwy_index = -999;
    hold_list[1].active_wpt = 0;
    lnav_on = 0;
    ground_speed = 250;
    zulu_hour = 10;
    zulu_minute = 50;
    toc_reached = 0;
    WeightUnit = "LBS";
    true_airspeed = 300;
    dme1_distance = 0;
    adf1_bearing = 0;
    atc_boundaries_loaded = 1;
    token_values.clear();
  }
  bool has_line(uint32_t argb, double x1, double y1, double x2, double y2) {
    for (const GfxRecord* r : s.rec().of(GfxOp::Line))
      if (r->pen_argb == argb && r->args == std::vector<double>{x1, y1, x2, y2}) return true;
    return false;
  }
  void click(int32_t (*fn)(MouseRect*, uint32_t)) { fn(nullptr, MOUSE_LEFT_SINGLE); }
};

TEST_F(Proline4, BlankUnpoweredAndInDrawMode2AndOffTableFormatsShowTheBackground) {
  for (int32_t f : {0, 1, 2, 3}) {
    proline4_mfd_format = f;
    expect_blank_unpowered_and_in_draw_mode_2(s);
  }
  PROLINE4MFDBkgrdColorBlue = 128 + 256;  // the low byte counts
  for (int32_t f : {5, -1}) {
    proline4_mfd_format = f;
    s.draw();
    EXPECT_EQ(s.rec().primitive_count(), 1);
    EXPECT_EQ(s.rec().count(GfxOp::FillRect, 0xFF000080), 1);
  }
  PROLINE4MFDBkgrdColorBlue = 0;
}

TEST_F(Proline4, WindArrowPointsWithTheWindOnTheNorthUpPlanAndAgainstTheHeadingOnTheMap) {
  // Wind from 250 magnetic (266 true) where the variation is 16 east; heading 100
  // magnetic. The arrow points where the wind goes: 86 true on the north-up PLAN, 70 - 100
  // on the heading-up MAP.
  wind_speed = 20;
  wind_direction = 250;
  magvar = 16;
  heading = 100;
  map_heading = 116;
  for (const auto& [format, expected] : {std::pair{2, 86.0}, std::pair{3, -30.0}}) {
    proline4_mfd_format = format;
    s.draw();
    bool found = false;
    for (const GfxRecord* r : s.rec().of(GfxOp::Line)) {
      if (r->args != std::vector<double>{0, 0, 0, -10}) continue;
      const auto p = GfxRecording::device_points(*r);
      const GfxPointF a = s.design(p[0]), b = s.design(p[1]);
      if (std::fabs(a.x - 20) > 1 || std::fabs(a.y - 90) > 1) continue;
      found = true;
      EXPECT_NEAR(std::remainder(std::atan2(b.x - a.x, a.y - b.y) * 180 / M_PI - expected, 360.0), 0, 1.0)
          << "format " << format;
    }
    EXPECT_TRUE(found) << "format " << format;
  }
  magvar = 0;
  wind_speed = 0;
}

TEST_F(Proline4, FormatAndRangeStepsFromThePanel) {
  struct Step {
    int32_t from;
    bool up;
    int32_t to, radius;
    const char* renderer;
  };
  const Step steps[] = {{0, true, 3, 140, "map"},  {3, true, 1, 70, "heading"}, {1, true, 2, 70, "plan"},
                        {2, true, 0, 70, "hsi"},   {0, false, 2, 70, "plan"},   {1, false, 3, 140, "map"}};
  for (const Step& st : steps) {
    proline4_mfd_format = st.from;
    proline4_mfd_map_radius = 70;
    click(st.up ? proline4_ctrl_format_up_click : proline4_ctrl_format_down_click);
    EXPECT_EQ(proline4_mfd_format, st.to) << st.from;
    EXPECT_EQ(proline4_mfd_map_radius, st.radius) << st.from;
    s.draw();
    ASSERT_FALSE(layers.empty());
    EXPECT_EQ(layers[0], st.renderer);
  }
  proline4_mfd_range = 320;
  click(proline4_ctrl_range_up_click);
  EXPECT_EQ(proline4_mfd_range, 5);
  click(proline4_ctrl_range_down_click);
  EXPECT_EQ(proline4_mfd_range, 320);
  proline4_mfd_range = 33;  // off the ladder: kept
  click(proline4_ctrl_range_up_click);
  EXPECT_EQ(proline4_mfd_range, 33);
}

TEST_F(Proline4, RangeKeysStepOnlyTheirOwnPanelsDisplays) {
  efs50_ehsi_mode = 1;
  efs50_ehsi_range = 20;
  proline4_mfd_range = 40;
  click(proline4_ctrl_range_up_click);
  click(proline4_ctrl_range_up_click);
  click(proline4_ctrl_range_down_click);
  EXPECT_EQ(efs50_ehsi_range, 20);  // the EFS 50 has its own panel
  EXPECT_NE(proline4_mfd_range, 40);
  click(efs50_cntr_range_up_click);
  EXPECT_EQ(efs50_ehsi_range, 40);
  click(efs50_cntr_range_down_click);
  EXPECT_EQ(efs50_ehsi_range, 20);
}

TEST_F(Proline4, MapLayersByRangeFormatAndDrawMode) {
  click(proline4_aux_nav_click);
  click(proline4_aux_apt_click);
  click(proline4_aux_int_click);
  click(proline4_aux_bdry_click);
  set_active_plan({"AAA", "BBB", "CCC"}, 1, LAT, LON);
  hold_list[1].active_wpt = 1;
  loaded_rwy_index = 1;
  struct Case {
    int32_t format;
    double range;
    int32_t draw_mode;
    Layers expected;
  };
  const Case cases[] = {
      {3, 40, 1, {"map", "navaids", "airports", "fixes", "route", "toc_tod", "centerline", "hold", "boundaries"}},
      {3, 80, 1, {"map", "navaids", "airports", "route", "toc_tod", "centerline", "hold", "boundaries"}},
      {3, 160, 3, {"map", "navaids", "route", "toc_tod", "centerline", "hold"}},
      {3, 320, 1, {"map", "route", "toc_tod", "centerline", "hold", "boundaries"}},
      {2, 40, 1, {"plan", "navaids", "airports", "fixes", "route", "hold", "boundaries"}},
      // A range that cannot scale the map draws no map item.
      {3, 0, 1, {"map"}},
  };
  for (const Case& c : cases) {
    proline4_mfd_format = c.format;
    proline4_mfd_range = c.range;
    s.draw(c.draw_mode);
    EXPECT_EQ(layers, c.expected) << c.format << " " << c.range;
  }
  EXPECT_FALSE(s.has("0  "));
  EXPECT_FALSE(s.has("0.0"));
  click(proline4_aux_bdry_click);
}

TEST_F(Proline4, SummaryTimesArrivalAndFuel) {
  set_active_plan({"AAA", "BBB", "CCC", "DDD"}, 1, LAT, LON);
  fpl_set_text(fpl_active[0].eta, "10:40");
  dist_to_active_wpt = 125;
  struct Case {
    double hour, minute, gs;
    std::vector<std::string> seen;
  };
  const Case cases[] = {
      {10, 50, 250, {"0", "30", "11", "20", "---LB"}},
      {23, 50, 250, {"0", "30", "00", "20"}},
      // 59.7 minutes: the minutes carry, never ":60".
      {10, 0, 125 / (59.7 / 60), {"1", "00", "11"}},
  };
  for (const Case& c : cases) {
    zulu_hour = c.hour;
    zulu_minute = c.minute;
    ground_speed = c.gs;
    s.draw();
    for (const std::string& t : c.seen) EXPECT_TRUE(s.has(t)) << t << " at " << c.hour << ":" << c.minute;
    EXPECT_FALSE(s.has("60"));
  }
  ground_speed = 250;
  zulu_hour = 10;
  zulu_minute = 50;
  s.draw();
  EXPECT_NEAR(s.world("125").x, 73 - 2 * 6.4, 1e-4);
  EXPECT_DOUBLE_EQ(s.world("30").x, 127);
  EXPECT_DOUBLE_EQ(s.world("11").x, 150);
  EXPECT_EQ(s.text_colour("BBB   "), COLOUR_MAGENTA);
  EXPECT_EQ(s.text_colour("AAA   "), 0xFF02A7EBu);
  toc_reached = 1;
  WeightUnit = "KG";  // only "KGS" is kilograms
  s.draw();
  EXPECT_FALSE(s.has("---LB"));
  WeightUnit = "KGS";
  toc_reached = 0;
  s.draw();
  EXPECT_TRUE(s.has("---KG"));
  ground_speed = 30;
  s.draw();
  EXPECT_TRUE(s.has("  -:-- --:-- ----"));
  EXPECT_TRUE(s.has("KG"));
}

TEST_F(Proline4, DestinationDistanceByActiveWaypoint) {
  set_active_plan({"AAA", "BBB", "CCC", "DDD"}, 1, LAT, LON);
  dist_to_active_wpt = 4;
  struct Case {
    int32_t active;
    const char* destination;  // NM; the records lie 10 NM apart
  };
  for (const Case& c : {Case{1, "24"}, Case{2, "14"}, Case{3, "4"}}) {
    fpl_active_index = c.active;
    s.draw();
    bool found = false;
    for (const GfxTextItem& it : s.rec().text_items())
      if (it.text == c.destination && it.argb == COLOUR_WHITE && it.world.y == 50) found = true;
    EXPECT_TRUE(found) << c.active;
  }
}

TEST_F(Proline4, EmptyRowsWithoutAPlanAndFromRowAtTheFirstRecord) {
  s.draw();
  EXPECT_TRUE(s.has("-----   ---    -:--"));
  EXPECT_TRUE(s.has("-----   ---    -:-- --:-- ----"));
  EXPECT_DOUBLE_EQ(s.world("LB").x, 225);
  // The first record active: no record before it is read.
  set_active_plan({"AAA", "BBB"}, 0, LAT, LON);
  s.draw();
  EXPECT_TRUE(s.has("-----   ---    -:--"));
  EXPECT_TRUE(s.has("AAA   "));
  EXPECT_EQ(s.text_colour("AAA   "), COLOUR_MAGENTA);
}

TEST_F(Proline4, HsiDataBlockDeviationAndToFrom) {
  proline4_mfd_format = 0;
  lnav_on = 1;
  set_active_plan({"AAA", "BBB"}, 1, LAT, LON);
  desired_track = 90;
  heading = 90;
  dist_to_active_wpt = 125;
  xtk_nm = 7;
  xtk_side = 2;
  s.draw();
  EXPECT_TRUE(s.has("FMS       CRS 090"));
  EXPECT_TRUE(s.has("TTG 00:30"));
  EXPECT_TRUE(has_line(COLOUR_WHITE, 50, 40, 50, -40));  // 7 NM: pinned at 5 NM
  xtk_side = 1;
  s.draw();
  EXPECT_TRUE(has_line(COLOUR_WHITE, -50, 40, -50, -40));

  // NAV 1: 127 units are 60 design units; TO/FROM by the smaller angle.
  lnav_on = 0;
  token_values[TOK_NAV1_SIGNAL] = 1;
  nav1_course = 10;
  nav_token40 = 127;
  struct Case {
    double heading, rel_bearing;
    double tip_y;
  };
  const Case cases[] = {{350, 0, -48}, {10, 80, -48}, {10, 90, 48}, {0, 190, 48}};
  for (const Case& c : cases) {
    heading = c.heading;
    nav_rel_bearing = c.rel_bearing;
    s.draw();
    EXPECT_TRUE(has_line(COLOUR_WHITE, 60, 40, 60, -40));
    bool found = false;
    for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
      if (r->points.size() == 4 && r->points[0].x == 0 && r->points[0].y == c.tip_y) found = true;
    EXPECT_TRUE(found) << c.heading << " " << c.rel_bearing;
  }
  EXPECT_TRUE(s.has("NAV1       CRS 010"));
  EXPECT_TRUE(s.has("TTG"));
  EXPECT_TRUE(s.has("--:--"));
}

TEST_F(Proline4, BearingPointerLabelsStayWithoutTheirNeedles) {
  proline4_mfd_format = 0;
  proline4_mfd_brg2_source = 2;  // ADF
  proline4_mfd_brg1_source = 3;  // FMS without a plan
  adf1_bearing = 1;
  s.draw();
  EXPECT_EQ(s.text_colour("ADF"), 0xFF02A7EBu);
  EXPECT_EQ(s.text_colour("FMS"), COLOUR_MAGENTA);
  const int32_t without = s.rec().count(GfxOp::Line, 0xFF02A7EB);
  adf1_bearing = 90;
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::Line, 0xFF02A7EB), without + 10);
}

}  // namespace
