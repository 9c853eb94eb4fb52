// The route on the Pro Line 4, EFS 50, DU-1000 and Primus 1000 maps: whole idents as labels, the
// active label kept in its colour, records without a position left out, and route breaks
// neither measured nor centred on.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "displays/nd_corporate/du1000_common.h"
#include "displays/nd_corporate/nd_corporate.h"
#include "flightplan/route_progress.h"
#include "guidance/lnav_vnav_state.h"
#include "module/display_state.h"
#include "tests/common/display_checks.h"
#include "tests/nd/nd_scene.h"

using namespace nd_test;

namespace {

constexpr double LAT = 47.0, LON = -122.0;

struct RouteMap {
  const char* name;
  DesignCanvas canvas;
  Dispatcher draw;
  std::function<void()> map_mode;
  uint32_t plain;  // colour of a label that is not the active one
};

const RouteMap maps[] = {
    {"Pro Line 4", CANVAS_PROLINE4_MFD, proline4_mfd_draw,
     [] {
       proline4_mfd_format = 3;
       proline4_mfd_map_radius = 140;
       proline4_mfd_range = 50;
     },
     COLOUR_WHITE},
    {"EFS 50", CANVAS_EFS50, efs50_ehsi_draw,
     [] {
       efs50_ehsi_mode = 6;
       EFS50NavMode = 2;
       efs50_ehsi_range = 50;
     },
     COLOUR_WHITE},
    {"DU-1000", CANVAS_DU1000_EHSI, du1000_ehsi_draw,
     [] {
       du1000_ehsi_mode = 3;
       du1000_ehsi_range = 60;
     },
     DU1000_WHITE},
    {"Primus 1000 map", CANVAS_P1000_MFD, p1000_mfd_draw,
     [] {
       p1000_plan_view = 0;
       p1000_mfd_range = 40;
     },
     COLOUR_WHITE},
    {"Primus 1000 plan view", CANVAS_P1000_MFD, p1000_mfd_draw,
     [] {
       p1000_plan_view = 1;
       p1000_mfd_range = 40;
     },
     COLOUR_WHITE},
};

class RouteLabels : public ::testing::Test {
 protected:
  void SetUp() override {
    place_aircraft(LAT, LON, 0);
    hold_list[1].active_wpt = 0;
    hold_fpl_index = 0;
    loaded_rwy_index = -999;
    loaded_rwy_count = 0;
    atc_bdry_on = 0;
    tcas_shown = 0;
    plan_center_index = 0;
    ground_speed = 250;
    dist_to_active_wpt = 4;
    token_values.clear();
  }
  void TearDown() override {
    clear_fpl_active();
    plan_center_index = 0;
  }
  // Texts `t` drawn, and how many of them in colour `argb`.
  static int count(NdScene& s, const std::string& t, uint32_t argb, int* coloured) {
    int n = 0;
    *coloured = 0;
    for (const GfxTextItem& it : s.rec().text_items())
      if (it.text == t) {
        ++n;
        if (it.argb == argb) ++*coloured;
      }
    return n;
  }
};

}  // namespace

// "HOLD PPOS" active, flown again later at the same place: one label, the whole ident,
// never repainted white by the later record.
TEST_F(RouteLabels, WholeIdentAndTheActiveLabelKeepsItsColour) {
  for (const RouteMap& m : maps) {
    SCOPED_TRACE(m.name);
    NdScene s{m.canvas, m.draw};
    m.map_mode();
    set_active_plan({"AAA", "HOLD PPOS", "CCC", "HOLD PPOS", "EEE"}, 1, LAT, LON);
    fpl_active[3].lat = fpl_active[1].lat;
    fpl_active[3].lon = fpl_active[1].lon;
    s.draw();
    int plain = 0;
    EXPECT_GE(count(s, "HOLD PPOS", m.plain, &plain), 1);
    EXPECT_EQ(plain, 0);
    EXPECT_TRUE(s.has("CCC"));
  }
}

// A record whose position is not finite is not drawn at the map reference: no label.
TEST_F(RouteLabels, ARecordWithoutAFinitePositionIsLeftOut) {
  for (const RouteMap& m : maps) {
    SCOPED_TRACE(m.name);
    NdScene s{m.canvas, m.draw};
    m.map_mode();
    set_active_plan({"AAA", "BBB", "CCC", "DDD"}, 1, LAT, LON);
    fpl_active[2].lat = std::numeric_limits<double>::quiet_NaN();
    fpl_active[2].lon = std::numeric_limits<double>::infinity();
    s.draw();
    EXPECT_FALSE(s.has("CCC"));
    EXPECT_TRUE(s.has("DDD"));
  }
}

// The plan centre stepped onto a discontinuity centres on the next placed record, not on
// 0N 0E: the route around it is on the map.
TEST_F(RouteLabels, ThePlanCentreStepsOverADiscontinuity) {
  struct Plan {
    const char* name;
    DesignCanvas canvas;
    Dispatcher draw;
    std::function<void()> plan_mode;
  };
  const Plan plans[] = {
      {"Pro Line 4", CANVAS_PROLINE4_MFD, proline4_mfd_draw,
       [] {
         proline4_mfd_format = 2;
         proline4_mfd_map_radius = 70;
         proline4_mfd_range = 50;
       }},
      {"DU-1000", CANVAS_DU1000_EHSI, du1000_ehsi_draw,
       [] {
         du1000_ehsi_mode = 2;
         du1000_ehsi_range = 60;
       }},
  };
  for (const Plan& p : plans) {
    SCOPED_TRACE(p.name);
    NdScene s{p.canvas, p.draw};
    p.plan_mode();
    set_active_plan({"AAA", "BBB", "DISCO", "DDD", "EEE"}, 1, 0.0, 0.0);
    // The route far from 0N 0E; the discontinuity keeps its zero position.
    for (int i : {0, 1, 3, 4}) fpl_active[i].lat += LAT, fpl_active[i].lon += LON;
    place_aircraft(LAT + 5.0, LON, 0);
    plan_center_index = 2;
    s.draw();
    EXPECT_TRUE(s.has("DDD"));
    EXPECT_TRUE(s.has("BBB"));
  }
}

// Pro Line 4 summary with a discontinuity as the NEXT record: named without distance or
// time, and the destination measured along the placed records (4 + 20 + 10 NM).
TEST_F(RouteLabels, TheSummaryNamesADiscontinuityAndMeasuresPastIt) {
  NdScene s{CANVAS_PROLINE4_MFD, proline4_mfd_draw};
  maps[0].map_mode();
  set_active_plan({"AAA", "BBB", "DISCO", "DDD", "EEE"}, 1, LAT, LON);
  fpl_active[2].lat = fpl_active[2].lon = 0.0;
  s.draw();
  bool disco = false, dest = false;
  for (const GfxTextItem& it : s.rec().text_items()) {
    if (it.world.y == 40) {
      EXPECT_EQ(it.text.find("NM"), std::string::npos) << it.text;
      disco = disco || it.text.rfind("DISCO", 0) == 0;
    }
    if (it.world.y == 50 && it.text == "34") dest = true;
  }
  EXPECT_TRUE(disco);
  EXPECT_TRUE(dest);
}
