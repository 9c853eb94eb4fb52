// A mission on the mission CDU through the harness keypad, every page drawn, with its
// pictures written under out/c17/.
#include <filesystem>
#include <string>
#include <vector>

#include "c17/c17_cdu.h"
#include "c17/c17_page.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"
#include "tests/c17/c17_page_probe.h"
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
  open_arrivals();
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

using C17CduMfdPictures = C17CduMfdTest;
using c17_test::text_colour;
using c17_test::text_near;

// The active plan's idents from record 0.
std::vector<std::string> active_idents() {
  std::vector<std::string> v;
  for (int i = 0; i <= fpl_active_last && i < FPL_CAPACITY; ++i) v.push_back(fpl_active[i].ident);
  return v;
}

// Arcs of the magenta hold racetrack (the route draws none), and the device point of
// the first one's frame origin: the held fix.
int hold_arcs(const GfxRecording& r, GfxPointF* fix = nullptr) {
  int n = 0;
  for (const GfxRecord* a : r.of(GfxOp::Arc)) {
    if (a->pen_argb != C17_MAGENTA) continue;
    if (n++ == 0 && fix) *fix = GfxRecording::to_device(*a, 0, 0);
  }
  return n;
}

// A route entered on RTE, DEPARTURES and ARRIVALS, with TAKEOFF REF and performance
// data, activated and flown with LNAV and VNAV; FLT PLAN edits and a hold of the route
// in flight, the MFD maps drawn along.
TEST_F(C17CduMfdPictures, RouteEnteredOnTheUnitWithPerformanceAndAHold) {
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
  ASSERT_EQ(fpl_changed_state, 2);

  // TAKEOFF REF, its DEPARTURES key: the SID with its OLM transition; ARRIVALS: the ILS
  // 10R from HELNS.
  press("INDEX");
  press("R1");
  ASSERT_EQ(c17_cdu_page, C17_CDU_TAKEOFF_REF);
  enter("10", "L1");
  enter("142", "R1");
  enter("147", "R2");
  enter("153", "R3");
  c17_cdu_scratchpad.clear();
  shot("cdu_takeoff_ref_mission");
  EXPECT_EQ(at(245, 98), "153");
  press("R5");
  ASSERT_EQ(c17_cdu_page, C17_CDU_DEPARTURES);
  shot("cdu_departures_mission");
  press("L1");
  press("L2");
  shot("cdu_departures_mission_chosen");
  EXPECT_EQ(pending_sid, "ALKI1");
  EXPECT_EQ(pending_sid_trans, "OLM");
  open_arrivals();
  shot("cdu_arrivals_mission");
  press("R1");
  press("R2");
  shot("cdu_arrivals_mission_chosen");
  smiths_fms_key(69);  // EXEC on the Smiths CDU, which shares the route
  frames(1);
  ASSERT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(active_idents(), (std::vector<std::string>{"KSEA", "ALKIS", "CARRO", "OLM", "DUBYA", "BTG", "DISCO",
                                                       "HELNS", "GIMIC", "MARTY", "TOWNI", "RIVER", "RW10R", "BTG",
                                                       "KPDX"}));

  press("PERF");
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
  enter("320/.78", "R2");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "");
  shot("cdu_perf_limits");
  smiths_fms_key(69);  // the performance changes executed
  frames(1);
  ASSERT_EQ(fpl_changed_state, 3);

  // FLT PLAN of the active route: a constraint at CARRO and the discontinuity before
  // the approach closed by HELNS (MOD until EXEC).
  press("LEGS");
  shot("cdu_flt_plan_act");
  EXPECT_EQ(at(20, 0), "ACT");
  enter("250/FL120", "R2");
  press("NEXT");
  ASSERT_STREQ(fpl_edit[6].ident, FPL_DISCO_IDENT);
  enter("HELNS", "L1");
  shot("cdu_flt_plan_mod");
  EXPECT_EQ(at(18, 0), "MOD");
  smiths_fms_key(69);
  frames(1);
  ASSERT_EQ(fpl_changed_state, 3);
  ASSERT_STREQ(fpl_active[6].ident, "HELNS");
  EXPECT_EQ(fpl_active[2].alt_constraint, 12000);

  // Off runway 16L with LNAV and VNAV, two frames a second.
  host_.set_frame_rate(2);
  sample_flight::set_airborne_on_autopilot(host_.aircraft().state(), 47.43, -122.308, 433.0, 1500.0, 200.0, 163.0);
  host_.aircraft().refresh();
  frames(2);
  engage_lnav_vnav();
  press("LEGS");
  for (int i = 0; i < 120; ++i) sample_flight::frame(host_);
  ASSERT_EQ(fpl_active_index, 1);
  const GfxRecording& climb = map_shot("mfd_route_climb", 4, 40);
  EXPECT_EQ(text_colour(climb, "ALKIS"), C17_MAGENTA);
  EXPECT_EQ(text_colour(climb, "CARRO"), C17_WHITE);
  ASSERT_TRUE(sample_flight::fly_until(host_, [] { return fpl_active_index == 2; }, 1200));
  ASSERT_TRUE(sample_flight::fly_until(host_, [] { return dist_to_active_wpt < 12; }, 1200));
  const GfxRecording& carro = map_shot("mfd_route_carro", 3, 40);
  EXPECT_EQ(text_colour(carro, "CARRO"), C17_MAGENTA);
  EXPECT_EQ(text_colour(carro, "OLM"), C17_WHITE);

  // A direct-to (erased), then a hold at BTG from the legs page.
  press("DIR INTC");
  enter("SEA", "L6");
  shot("cdu_flt_plan_direct_to");
  EXPECT_STREQ(fpl_edit[fpl_active_index].ident, "SEA");
  press("L6");
  press("HOLD");
  ASSERT_EQ(smiths_legs_mode, 2);
  c17_cdu_scratchpad.clear();
  constexpr int BTG = 5;
  ASSERT_STREQ(fpl_active[BTG].ident, "BTG");
  press("L" + std::to_string(BTG - fpl_active_index + 1));
  shot("cdu_flt_plan_hold_mode");
  EXPECT_EQ(c17_cdu_scratchpad, "BTG");
  press("L6");
  ASSERT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
  enter("/1.5", "R1");
  enter("L", "L2");
  c17_cdu_scratchpad.clear();
  shot("cdu_standard_hold");
  EXPECT_EQ(at(201, 0), "BTG");
  press("L6");
  EXPECT_EQ(fpl_changed_state, 3);
  press("LEGS");
  shot("cdu_flt_plan_with_hold");
  press("RTE");
  press("NEXT");
  shot("cdu_rte_2_flight");

  // Past OLM: the north-up map about the aircraft shows the hold at BTG ahead.
  ASSERT_TRUE(sample_flight::fly_until(host_, [] { return fpl_active_index == 4; }, 1800));
  const GfxRecording& plan_map = map_shot("mfd_route_hold_map", 6, 80);
  EXPECT_GT(hold_arcs(plan_map), 0);
  EXPECT_EQ(text_colour(plan_map, "DUBYA"), C17_MAGENTA);

  // BTG ahead, then flying its hold, on the arc formats and centred on BTG.
  press("LEGS");
  c17_mfd_instances[2].format = 4;
  ASSERT_TRUE(sample_flight::fly_until(host_, [] { return fpl_active_index == BTG && dist_to_active_wpt < 15; }, 1800));
  const GfxRecording& ahead = map_shot("mfd_hold_ahead", 4, 20);
  EXPECT_EQ(text_colour(ahead, "BTG"), C17_MAGENTA);
  EXPECT_GT(hold_arcs(ahead), 0);
  ASSERT_TRUE(sample_flight::fly_until(host_, [] { return holding_active != 0; }, 1800));
  for (int i = 0; i < 120; ++i) sample_flight::frame(host_);
  EXPECT_EQ(fpl_active_index, BTG);
  EXPECT_GT(hold_arcs(map_shot("mfd_in_hold", 3, 10)), 0);
  // The north-up map centres on the first line of FLT PLAN, BTG: the hold is drawn there.
  const GfxRecording& held = map_shot("mfd_in_hold_map", 6, 10);
  EXPECT_EQ(plan_center_index, BTG);
  EXPECT_TRUE(text_near(held, "BTG", 122 + 7, 120 - 7, 1.1));
  GfxPointF fix{};
  EXPECT_GT(hold_arcs(held, &fix), 0);
  EXPECT_NEAR(fix.x, 122, 1.5);
  EXPECT_NEAR(fix.y, 120, 1.5);
  shot("cdu_flt_plan_holding");
  EXPECT_EQ(at(78, 33), "<CTR>");
}

}  // namespace
