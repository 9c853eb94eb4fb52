// DU-1000 EHSI: blanking, the renderers and overlay gate of each mode, the
// selected-heading readout, the altitude arc, the navigation source, TO/FROM
// and the map layers' range gates.
#include <gtest/gtest.h>

#include <cmath>

#include "displays/nd_corporate/nd_corporate.h"
#include "flightplan/fpl_ops.h"
#include "guidance/lnav_vnav_state.h"
#include "navdb/navdb.h"
#include "tests/common/display_checks.h"
#include "tests/nd/nd_scene.h"

using namespace nd_test;

namespace {

using Layers = std::vector<std::string>;
constexpr double LAT = 47.0, LON = -122.0;

struct Du1000 : ::testing::Test {
  NdScene s{CANVAS_DU1000_EHSI, du1000_ehsi_draw};
  void SetUp() override {
    place_aircraft(LAT, LON, 0);
    du1000_ehsi_mode = 0;
    du1000_ehsi_range = 60;
    du1000_show_vor = du1000_show_ndb = du1000_show_apt = du1000_show_int = 0;
    tcas_shown = atc_bdry_on = 0;
    fpl_active_index = FPL_NO_PLAN;
    hold_list[1].active_wpt = 0;
    loaded_rwy_index = -999;
    loaded_rwy_count = 0;
    ap_heading = nav1_course = nav_rel_bearing = 0;
    token_values.clear();
  }
  void TearDown() override { token_values.clear(); }
};

TEST_F(Du1000, BlankUnpoweredAndInDrawMode2) {
  for (int32_t m : {0, 1, 2, 3}) {
    du1000_ehsi_mode = m;
    expect_blank_unpowered_and_in_draw_mode_2(s);
  }
}

TEST_F(Du1000, RenderersAndOverlayGateByMode) {
  struct Case {
    int32_t mode;
    int32_t* flag;
    int32_t value;
    Layers expected;
  };
  const Case cases[] = {
      {0, nullptr, 0, {"rose", "data"}},
      {1, &tcas_shown, 1, {"arc", "data"}},
      {2, nullptr, 0, {"plan"}},
      {3, nullptr, 0, {"arc", "data"}},
      {3, &du1000_show_int, 2, {"arc", "data"}},  // only 1 counts as on
      {3, &tcas_shown, 1, {"arc", "overlay", "toc_tod", "data"}},
      {2, &tcas_shown, 1, {"plan", "overlay"}},
      {7, &tcas_shown, 1, {"data"}},
  };
  for (const Case& c : cases) {
    du1000_ehsi_mode = c.mode;
    if (c.flag) *c.flag = c.value;
    s.draw();
    EXPECT_EQ(layers, c.expected) << c.mode;
    if (c.flag) *c.flag = 0;
  }
}

TEST_F(Du1000, MapLayersByRange) {
  du1000_ehsi_mode = 3;
  du1000_show_apt = du1000_show_int = 1;
  struct Case {
    double range;
    Layers expected;
  };
  const Case cases[] = {
      {60, {"arc", "overlay", "airports", "fixes", "toc_tod", "data"}},
      {120, {"arc", "overlay", "airports", "toc_tod", "data"}},
      {240, {"arc", "overlay", "toc_tod", "data"}},
  };
  for (const Case& c : cases) {
    du1000_ehsi_range = c.range;
    s.draw();
    EXPECT_EQ(layers, c.expected) << c.range;
  }
  // Range marks of 60 NM.
  du1000_ehsi_range = 60;
  s.draw();
  EXPECT_TRUE(s.has(" 40"));
  EXPECT_TRUE(s.has(" 20"));
}

TEST_F(Du1000, SelectedHeadingMarkUntil41DegreesThenReadout) {
  du1000_ehsi_mode = 1;
  struct Case {
    double selected;
    const char* readout;
  };
  for (const Case& c : {Case{41, nullptr}, Case{42, "042"}, Case{319, nullptr}, Case{318, "318"}}) {
    ap_heading = c.selected;
    s.draw();
    const int32_t marks = s.rec().count(GfxOp::Line, 0xFF02A7EB);
    if (c.readout) {
      EXPECT_TRUE(s.has(c.readout)) << c.selected;
    } else {
      EXPECT_FALSE(s.has("041") || s.has("319")) << c.selected;
      EXPECT_GT(marks, 0);
    }
  }
}

TEST_F(Du1000, AltitudeArcApexAheadOfTheAircraft) {
  du1000_ehsi_mode = 3;
  ap_token103 = ap_vertical_speed = 1;
  indicated_altitude = 12000;
  ap_altitude = 10000;
  vertical_speed = -1000;
  ground_speed = 240;
  s.draw();
  bool found = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::Arc))
    if (r->pen_argb == 0xFF00FA00) found = r->args[1] == -31;
  EXPECT_TRUE(found);
  ap_token103 = ap_vertical_speed = 0;
  vertical_speed = 0;
}

TEST_F(Du1000, NavigationSourceAndFrequency) {
  token_values[TOK_NAV1_SIGNAL] = 1;
  token_values[TOK_NAV1_FREQ] = 0x1030;
  struct Case {
    int32_t mode, flags;
    std::vector<const char*> shown;
  };
  const Case cases[] = {
      {0, 0xC0, {"ILS", "G/S", "110.30", "CRS"}},
      {1, 0x80, {"LOC", "110.30"}},
      {1, 0, {"VOR"}},
  };
  for (const Case& c : cases) {
    du1000_ehsi_mode = c.mode;
    token_values[TOK_NAV1_FLAGS] = c.flags;
    s.draw();
    for (const char* t : c.shown) EXPECT_TRUE(s.has(t)) << c.mode << " " << t;
    EXPECT_EQ(s.has("110.30"), c.flags != 0);
  }
}

TEST_F(Du1000, ToFromByTheWrappedAngle) {
  token_values[TOK_NAV1_SIGNAL] = 1;
  struct Case {
    double relative, course;
    bool to;
  };
  for (const Case& c : {Case{89, 0, true}, Case{90, 0, false}, Case{350, 10, true}}) {
    nav_rel_bearing = c.relative;
    nav1_course = c.course;
    s.draw();
    // The chevron's tip: y -30 (TO) or 30 (FROM) on the deviation bar.
    bool to = false, from = false;
    for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
      if (r->pen_argb == 0xFF02A7EB && r->points.size() == 3) (r->points[1].y == -30 ? to : from) = true;
    EXPECT_EQ(to, c.to) << c.relative;
    EXPECT_EQ(from, !c.to) << c.relative;
  }
}

TEST_F(Du1000, RouteDistancesScaleDownByTheVerticalFactorAsItsLayers) {
  // Waypoints 10 NM apart north of the aircraft on the arc map: each ident 7 right and 15
  // above its point, the points radius / range design units a mile up from the aircraft.
  du1000_ehsi_mode = 3;
  tcas_shown = 1;
  set_active_plan({"AAA", "BBB", "CCC", "DDD"}, 1, LAT, LON);
  s.draw();
  const double per_nm = double(du1000_map_radius) / du1000_ehsi_range;
  const struct {
    const char* ident;
    double nm;
  } rows[] = {{"BBB", 10}, {"CCC", 20}, {"DDD", 30}};
  for (const auto& row : rows) {
    const GfxPointF at = s.text_at(row.ident);
    EXPECT_NEAR(at.x, 159 + 7, 1.5) << row.ident;
    EXPECT_NEAR(at.y, 272 - row.nm * per_nm - 15, 1.5) << row.ident;
  }
  fpl_active_index = FPL_NO_PLAN;
  tcas_shown = 0;
}

TEST_F(Du1000, ArcHeadingScaleLabelsAtAHeadingServedPast360) {
  du1000_ehsi_mode = 1;
  for (double h : {360.0, 370.0, 730.0}) {
    heading = h;
    ap_heading = std::fmod(h, 360);
    s.draw();
    EXPECT_TRUE(s.has("3")) << h;   // 030
    EXPECT_TRUE(s.has("33")) << h;  // 330
  }
  heading = 0;
}

TEST_F(Du1000, PlanCentresOnTheAircraftWithoutAPlan) {
  du1000_ehsi_mode = 2;
  tcas_shown = 1;
  plan_center_index = 50;
  s.draw();
  // The aircraft symbol's cross bar stands at the plan centre (159, 155).
  bool centred = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::Line))
    if (r->pen_argb == 0xFFE3CF8A) centred = centred || near(s.design_of(*r, 0, 0), 159, 155, 1.5);
  EXPECT_TRUE(centred);
  plan_center_index = 0;
  tcas_shown = 0;
}

}  // namespace
