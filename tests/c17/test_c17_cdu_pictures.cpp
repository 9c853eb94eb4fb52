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
  const int32_t sequence = SequenceFPlanWpts;
  auto shot = [&](const char* name) {
    frames(1);
    picture(name);
    EXPECT_TRUE(std::filesystem::exists(std::string(VEK_C17_OUT_DIR) + "/c17/" + name + ".png")) << name;
  };
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
  SequenceFPlanWpts = 1;
  sample_flight::set_airborne_on_autopilot(host_.aircraft().state(), 47.60, -122.40, 433.0, 5000.0, 250.0, 200.0);
  host_.aircraft().refresh();
  ASSERT_TRUE(sample_flight::fly_until(host_, [] { return fpl_active_index == 2; }, 120));
  for (int i = 0; i < 40; ++i) sample_flight::frame(host_);
  press("PROG");
  shot("cdu_progress_flight");
  EXPECT_EQ(at(0, 83), "CARRO");
  press("FIX");
  shot("cdu_position_fix_flight");
  SequenceFPlanWpts = sequence;
}

}  // namespace
