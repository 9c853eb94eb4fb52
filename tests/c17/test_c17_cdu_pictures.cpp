// A mission on the mission CDU through the harness keypad, every page drawn, with its
// pictures written under out/c17/.
#include <filesystem>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"
#include "tests/common/sample_flight.h"

namespace {

using C17CduPictures = C17CduTest;

TEST_F(C17CduPictures, SampleMissionThroughEveryPage) {
  shot("cdu_msn_index");
  press("L1");
  shot("cdu_msn_init");
  press("R6");
  press("L2");
  shot("cdu_nav_sensors");
  press("R6");

  // The sample plan from STORED FLIGHT PLANS.
  press("R3");
  shot("cdu_stored_plans");
  EXPECT_EQ(at(0, 42), "KSEAKPDX.RTE");
  press("L1");
  ASSERT_EQ(c17_cdu_page, C17_CDU_FLT_PLAN);
  ASSERT_STREQ(fpl_active[fpl_active_last].ident, "KPDX");

  // Takeoff data, then the departure.
  press("INDEX");
  press("R1");
  enter("10", "L1");
  enter("142", "R1");
  enter("147", "R2");
  enter("153", "R3");
  shot("cdu_takeoff_ref");
  EXPECT_EQ(at(245, 98), "153");
  press("R5");
  ASSERT_EQ(c17_cdu_page, C17_CDU_DEPARTURES);
  shot("cdu_departures");
  press("L1");
  press("R1");
  shot("cdu_departures_chosen");
  EXPECT_EQ(route_sid, "ALKI1");

  // The arrival and approach at the destination.
  smiths_reset_arr_selection();
  set_dest_proc_entry(FPL_NONE_TEXT, FPL_NONE_TEXT);
  fill_dest_proc_entry(FPL_NONE_TEXT);
  list_approaches(FPL_NONE_TEXT, FPL_NONE_TEXT);
  press("ARR");
  shot("cdu_arrivals");
  press("L1");
  press("R1");
  shot("cdu_arrivals_chosen");
  EXPECT_EQ(pending_star, "HELNS5");
  press("APPR");
  enter("30/145", "R4");
  shot("cdu_approach_ref");
  EXPECT_EQ(VREF, 145);

  // A reference fix with two radials, and an entry refused.
  press("INDEX");
  press("FIX");
  enter("SEA", "L2");
  enter("090/12.5", "L3");
  enter("/2.5", "L4");
  enter("361/10", "L5");
  shot("cdu_position_fix");
  EXPECT_EQ(at(0, 267), "INVALID ENTRY");

  // Two fixes of one ident.
  c17_cdu_scratchpad_msg.clear();
  c17_cdu_scratchpad.clear();
  ASSERT_EQ(create_user_waypoint(0, "PAMMS"), 2);
  press("DUP");
  shot("cdu_duplicate_names");

  // In flight past ALKIS towards CARRO.
  fly_past_alkis();
  press("PROG");
  shot("cdu_progress_flight");
  EXPECT_EQ(at(0, 83), "CARRO");
  press("FIX");
  shot("cdu_position_fix_flight");
}

}  // namespace

namespace {

// A route entered on RTE, activated, with performance data and a hold of the route, in
// flight after the first fix.
TEST_F(C17CduPictures, RouteEnteredOnTheUnitWithPerformanceAndAHold) {
  press("RTE");
  enter("KSEA", "L1");
  enter("KPDX", "R1");
  enter("16L", "L3");
  c17_cdu_scratchpad.clear();
  shot("cdu_rte_1");
  EXPECT_EQ(at(0, 104), "16L");
  press("NEXT");
  enter("OLM", "R1");
  enter("V23", "L2");
  shot("cdu_rte_2_then");
  enter("BTG", "R2");
  c17_cdu_scratchpad.clear();
  press("R6");
  shot("cdu_rte_2");
  EXPECT_EQ(at(190, 69), "BTG");
  smiths_fms_key(69);  // EXEC on the Smiths CDU, which shares the route
  frames(1);
  ASSERT_EQ(fpl_changed_state, 3);

  press("R6");
  ASSERT_EQ(c17_cdu_page, C17_CDU_PERF_INIT);
  enter("180", "L3");
  enter("20", "L4");
  enter("80", "L5");
  enter("FL350", "R1");
  enter("270/45", "R2");
  enter("5", "R3");
  c17_cdu_scratchpad.clear();
  shot("cdu_perf_init");
  EXPECT_EQ(at(222, 33), "FL350");
  press("NEXT");
  enter("330/.78", "R2");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "");
  shot("cdu_perf_limits");

  smiths_fms_key(69);  // the performance changes executed
  frames(1);
  ASSERT_EQ(fpl_changed_state, 3);

  // FLT PLAN of the active route; a constraint change shows MOD until ERASE.
  press("LEGS");
  shot("cdu_flt_plan_act");
  EXPECT_EQ(at(20, 0), "ACT");
  enter("250/FL120", "R2");
  shot("cdu_flt_plan_mod");
  EXPECT_EQ(at(18, 0), "MOD");
  press("L6");
  ASSERT_EQ(fpl_changed_state, 3);

  // In flight towards OLM: a direct-to (erased), then a hold at BTG from the legs page.
  SequenceFPlanWpts = 1;
  sample_flight::set_airborne_on_autopilot(host_.aircraft().state(), 47.30, -122.60, 433.0, 6000.0, 250.0, 220.0);
  host_.aircraft().refresh();
  for (int i = 0; i < 20; ++i) sample_flight::frame(host_);
  press("DIR INTC");
  enter("SEA", "L6");
  shot("cdu_flt_plan_direct_to");
  EXPECT_STREQ(fpl_edit[1].ident, "SEA");
  press("L6");
  press("HOLD");
  ASSERT_EQ(legs_mode, 2);
  c17_cdu_scratchpad.clear();
  press("L3");
  shot("cdu_flt_plan_hold_mode");
  EXPECT_EQ(c17_cdu_scratchpad, "BTG");
  press("L6");
  ASSERT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
  enter("/1.5", "R1");
  enter("L", "L2");
  c17_cdu_scratchpad.clear();
  shot("cdu_standard_hold");
  EXPECT_EQ(at(200, 0), "BTG");
  press("L6");
  EXPECT_EQ(fpl_changed_state, 3);
  press("LEGS");
  shot("cdu_flt_plan_with_hold");
  press("RTE");
  press("NEXT");
  shot("cdu_rte_2_flight");
}

}  // namespace
