// Both displays in every format with values no simulator should send, and plans no
// pilot should build: nothing crashes, nothing is drawn from a huge number, and the
// drawing leaves the plan as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "displays/nd_corporate/nd_corporate.h"
#include "flightplan/route_progress.h"
#include "guidance/lnav_vnav_state.h"
#include "tests/nd/nd_scene.h"

using namespace nd_test;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

void hostile(double v) {
  for (double* d : {&heading, &map_heading, &ap_heading, &ground_speed, &true_airspeed, &dist_to_active_wpt,
                    &dme1_distance, &dme2_distance, &nav1_course, &nav_rel_bearing, &nav_token40, &nav_token41,
                    &nav_token39, &nav_token59, &wind_speed, &wind_direction, &desired_track, &bearing_to_active_wpt,
                    &zulu_hour, &zulu_minute, &xtk_nm, &indicated_altitude, &vnav_path_altitude, &ground_track,
                    &route_distance_to_go, &adf1_bearing, &token341})
    *d = v;
}

TEST(CorporateHostileValues, EveryFormatSurvivesHugeAndMissingValuesAndKeepsThePlan) {
  NdScene pl4{CANVAS_PROLINE4_MFD, proline4_mfd_draw};
  NdScene efs{CANVAS_EFS50, efs50_ehsi_draw};
  NdScene du{CANVAS_DU1000_EHSI, du1000_ehsi_draw};
  place_aircraft(47, -122, 0);
  token_values[TOK_NAV1_SIGNAL] = 1;
  token_values[TOK_NAV2_SIGNAL] = 1;
  proline4_mfd_brg1_source = efs50_brg1_source = 1;
  proline4_mfd_brg2_source = efs50_brg2_source = 2;
  hold_list[1].active_wpt = 0;
  set_active_plan({"AAA", "DISCO", "CCC", "DDD"}, 2, 47, -122);
  const FlightPlanWpt before = fpl_active[2];
  struct Case {
    double value, range;
  };
  for (const Case& c : {Case{NaN, 40}, Case{INF, 40}, Case{-1e300, 40}, Case{1e300, NaN}, Case{7, -5}, Case{7, INF}}) {
    hostile(c.value);
    proline4_mfd_range = efs50_ehsi_range = du1000_ehsi_range = c.range;
    for (int32_t m = -1; m <= 4; ++m) {
      du1000_ehsi_mode = m;
      du.draw();
      for (const std::string& t : du.rec().texts()) EXPECT_LT(t.size(), 24u) << t;
    }
    for (int32_t f = 0; f <= 3; ++f) {
      proline4_mfd_format = f;
      for (int32_t lnav : {0, 1}) {
        lnav_on = lnav;
        pl4.draw();
      }
    }
    for (int32_t m = 1; m <= 8; ++m) {
      efs50_ehsi_mode = m;
      for (int32_t src : {1, 2}) {
        EFS50NavMode = src;
        efs.draw();
        for (const std::string& t : efs.rec().texts()) EXPECT_LT(t.size(), 24u) << t;
      }
    }
  }
  EXPECT_EQ(std::memcmp(&before, &fpl_active[2], sizeof before), 0);
  EXPECT_EQ(fpl_active_index, 2);
  EXPECT_EQ(fpl_active_last, 3);
  proline4_mfd_range = 40;
  efs50_ehsi_range = 10;
  du1000_ehsi_range = 60;
  du1000_ehsi_mode = 0;
  hostile(0);
  token_values.clear();
}

TEST(CorporateHostileValues, PlanCentreOnlyOnARecordOfTheActivePlan) {
  NdScene pl4{CANVAS_PROLINE4_MFD, proline4_mfd_draw};
  place_aircraft(47, -122, 0);
  proline4_mfd_format = 2;
  proline4_mfd_map_radius = 70;
  proline4_mfd_range = 40;
  set_active_plan({"AAA", "BBB", "CCC"}, 1, 47, -122);
  struct Case {
    int32_t centre;
    const char* at_centre;
  };
  for (const Case& c : {Case{2, "CCC"}, Case{0, "BBB"}, Case{50, "BBB"}, Case{-7, "BBB"}}) {
    plan_center_index = c.centre;
    pl4.draw();
    // The centre record's label stands 7 right and 8 up of the centre.
    EXPECT_TRUE(near(pl4.text_at(c.at_centre), 130, 147, 1.5)) << c.centre;
  }
  plan_center_index = 0;
}

}  // namespace
