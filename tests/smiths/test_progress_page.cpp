// PROGRESS pages: paging, the rows of the plan's records (never past the plan), the
// destination's mean-speed model, fuel in the weight unit, and the wind, cross-track and
// track rows of the second page.
#include "cdu/smiths/page_layout.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "module/sim_vars.h"
#include "page_draw.h"

namespace {

class ProgressPageTest : public PageDrawTest {
 protected:
  // The company route (0 KSEA ... 5 BTG, 6 KPDX) in flight with `active` the active record.
  void in_flight(int active) {
    start();
    company_route();
    ASSERT_EQ(fpl_active_last, 6);
    ASSERT_STREQ(fpl_active[6].ident, "KPDX");
    fpl_active_index = active;
    smiths_page = SMITHS_PAGE_PROGRESS;
    smiths_progress_page_no = 1;
    zulu_hour = 10;
    zulu_minute = 0;
    DispETALocalTime = 0;
    WeightUnit = "LBS";
    magvar = 0;
  }
};

}  // namespace

TEST_F(ProgressPageTest, SubPagesWrapAndLeadOn) {
  start();
  press("PROG");
  EXPECT_EQ(title(), "PROGRESS");
  EXPECT_EQ(at(230, 5), "1 / 3");
  press("PREV");
  EXPECT_EQ(at(110, 0), "PROGRESS");
  EXPECT_EQ(at(230, 5), "3 / 3");
  press("NEXT");
  EXPECT_EQ(at(230, 5), "1 / 3");
  press("NEXT");
  EXPECT_EQ(at(55, 0), "RTA  PROGRESS");
  press("L6");
  EXPECT_EQ(title(), "PERF  LIMITS");
  smiths_page = SMITHS_PAGE_PROGRESS;
  smiths_progress_page_no = 1;
  press("L6");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_INIT_REF_INDEX);
}

// Without an active record no active, next or FROM row; an origin alone has no destination.
TEST_F(ProgressPageTest, RowsOnlyForRecordsOfThePlan) {
  in_flight(3);
  ground_speed = 200;
  draw_now();
  EXPECT_EQ(at(0, 66), "OLM  ");
  EXPECT_EQ(at(0, 99), "DUBYA");
  EXPECT_EQ(at(0, 131), "KPDX ");
  fpl_active_index = FPL_NO_PLAN;
  draw_now();
  EXPECT_EQ(at(0, 33), "");
  EXPECT_EQ(at(0, 66), "");
  EXPECT_EQ(at(0, 99), "");
  EXPECT_EQ(at(0, 131), "KPDX ");
  EXPECT_EQ(at(160, 131), "");  // no ETA without an active plan
  fpl_active_last = 0;  // the origin alone
  draw_now();
  EXPECT_EQ(at(0, 131), "");
  EXPECT_TRUE(has("NAV  STATUS >"));
}

// 300 NM to the destination along the legs at 450 kt with a 280 kt descent: v = 374.7 kt,
// 48 minutes.
TEST_F(ProgressPageTest, DestinationMeanSpeedAndFuelInTheWeightUnit) {
  in_flight(5);
  double leg = 0;
  ASSERT_TRUE(fpl_leg_into(fpl_active, 6, 6, leg));
  dist_to_active_wpt = 300.0 - leg;
  ground_speed = 450;
  DescentIas = 280;
  draw_now();
  EXPECT_EQ(at(0, 99), "");  // the active record is the last but one: no next row
  EXPECT_EQ(line(131).substr(0, 20), "KPDX  | 300 | 1048Z ");
  const double fob = read_fuel_on_board();
  const double burn = get_total_fuel_flow() * 300.0 / 450.0;
  EXPECT_EQ(at(227, 131), cdu_format("%3.1f", (fob - burn) / 1000.0));
  EXPECT_EQ(at(200, 166), cdu_format("%3.1f", fob / 1000.0));
  WeightUnit = "KGS";
  draw_now();
  EXPECT_EQ(at(200, 166), cdu_format("%3.1f", fob * kg_per_lb / 1000.0));
  EXPECT_EQ(at(227, 131), cdu_format("%3.1f", (fob - burn) * kg_per_lb / 1000.0));
  WeightUnit = "LBS";
}

TEST_F(ProgressPageTest, FromRowAndNextCourseInOneToThreeSixty) {
  in_flight(4);
  ground_speed = 300;
  last_wpt_ident = "OLM";
  last_wpt_time = "1012Z";
  TransAlt = 18000;
  const struct {
    double alt;
    const char* shown;
  } alts[] = {{12000, "OLM   | 12000 | 1012Z"}, {35000, "OLM   | FL350 | 1012Z"}};
  for (const auto& a : alts) {
    last_wpt_altitude = a.alt;
    draw_now();
    EXPECT_EQ(line(33).substr(0, 21), a.shown);
  }
  double leg = 0, course = 0;
  compute_gc_distance_course(fpl_active[4].lat, fpl_active[4].lon, fpl_active[5].lat, fpl_active[5].lon, leg, course);
  magvar = course + 0.2;  // the leg lies just west of magnetic north
  draw_now();
  EXPECT_EQ(at(0, 99), "BTG  ");
  EXPECT_EQ(at(30, 86), "360 \xC2\xB0");
  magvar = 0;
}

TEST_F(ProgressPageTest, SecondPageWindCrossTrackAndTrack) {
  start();
  smiths_page = SMITHS_PAGE_PROGRESS;
  smiths_progress_page_no = 3;
  wind_along = -20.4;
  wind_cross = 0.3;
  xtk_side = 0;
  desired_track = 359.8;
  magvar = 0.5;
  token341 = -30;
  indicated_altitude = 30000;
  draw_now();
  EXPECT_EQ(at(12, 22).substr(0, 15), "T A I L W I N D");
  EXPECT_EQ(at(0, 33), "20 KT                                0 KT");  // no side letter
  EXPECT_EQ(at(0, 99), "");  // no active leg: no cross track
  EXPECT_EQ(at(0, 133), "360\xC2\xB0T");
  EXPECT_EQ(at(160, 66), "-30\xC2\xB0" "c /14\xC2\xB0" "c");
  xtk_side = 1;
  xtk_nm = 0.25;
  wind_cross = -12.6;
  draw_now();
  EXPECT_EQ(at(0, 99), "L 0.25 NM");
  EXPECT_EQ(at(0, 33), "20 KT                             L  12 KT");
  magvar = 0;
}
