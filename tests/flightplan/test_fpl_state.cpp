// Route-change states, activation, copies and holds, driven as a pilot would.
#include <cmath>

#include "fpl_test_util.h"
#include "geo/great_circle.h"

namespace {

// KSEA SEA OLM KPDX in the edit plan (state 1 after the first entry).
void build_ksea_kpdx() { append_fixes({"KSEA", "SEA", "OLM", "KPDX"}); }

void activate() {
  fpl_changed_step();  // ACTIVATE
  activate_route();    // EXEC
}

}  // namespace

TEST(FplStaticStart, EmptyPlansWithEndRecordAndNoActiveWaypoint) {
  EXPECT_EQ(sizeof(FlightPlanWpt), 320u);
  EXPECT_EQ(fpl_active_index, 999);
  EXPECT_EQ(fpl_active_last, -1);
  EXPECT_EQ(fpl_edit_last, -1);
  EXPECT_STREQ(fpl_active[0].ident, "******");
  EXPECT_STREQ(fpl_edit[0].ident, "******");
  EXPECT_EQ(fpl_edit[5].alt_constraint, -999.0);
  EXPECT_EQ(fpl_edit[5].intc_course, -1.0);
  EXPECT_EQ(fpl_changed_state, 0);
}

TEST_F(FplTest, FiveStatesSteppedByEntriesActivateExecAndErase) {
  build_ksea_kpdx();
  EXPECT_EQ(fpl_changed_state, 1);  // route being entered
  fpl_changed_step();               // ACTIVATE
  EXPECT_EQ(fpl_changed_state, 2);
  EXPECT_EQ(fpl_active_index, 999);  // nothing flies before EXEC
  activate_route();                  // EXEC
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(active_idents(), (std::vector<std::string>{"KSEA", "SEA", "OLM", "KPDX"}));
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_TRUE(end_record_ok(fpl_active, fpl_active_last));
  EXPECT_GT(fpl_active[3].route_dist, 100.0);  // leg distances recomputed

  // An edit of the active route makes MOD; ERASE restores the active route.
  ASSERT_GT(enter_fix("BTG", 3), 0);
  EXPECT_EQ(fpl_changed_state, 4);
  erase_route_mods();
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(edit_idents(), active_idents());

  // Edit again and EXEC: the change is flown.
  ASSERT_GT(enter_fix("BTG", 3), 0);
  EXPECT_EQ(fpl_changed_state, 4);
  activate_route();
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(active_idents(), (std::vector<std::string>{"KSEA", "SEA", "OLM", "BTG", "KPDX"}));

  // A cruise-altitude entry steps 3 -> 4 and again 4 -> 3.
  fpl_changed_step();
  EXPECT_EQ(fpl_changed_state, 4);
  fpl_changed_step();
  EXPECT_EQ(fpl_changed_state, 3);
}

TEST_F(FplTest, ExecKeepsTheActiveWaypointWhenRecordsMoveBeforeIt) {
  build_ksea_kpdx();
  activate();
  fpl_active_index = 2;  // flying to OLM
  copy_active_to_edit();
  ASSERT_GT(enter_fix("BTG", 1), 0);  // inserted before the active waypoint
  activate_route();
  EXPECT_STREQ(fpl_active[fpl_active_index].ident, "OLM");
}

static int hook_calls = 0;
TEST_F(FplTest, FirstChangeOnTheGroundResetsPlanFuelOnlyBelowFiveKnots) {
  hook_calls = 0;
  fpl_first_change_hook = [] { ++hook_calls; };
  plan_fuel = 9000.0;
  ground_speed = 120.0;
  fpl_changed_step();
  EXPECT_EQ(plan_fuel, 9000.0);
  EXPECT_EQ(hook_calls, 0);
  fpl_changed_state = 0;
  ground_speed = 0.0;
  fpl_changed_step();
  EXPECT_EQ(plan_fuel, 0.0);
  EXPECT_EQ(hook_calls, 1);
}

TEST_F(FplTest, ActivatingAnEmptyEditPlanLeavesNoActiveWaypoint) {
  build_ksea_kpdx();
  activate();
  clear_fpl_edit();
  activate_route();
  EXPECT_EQ(fpl_active_index, 999);
  EXPECT_EQ(fpl_active_last, -1);
  EXPECT_EQ(fpl_changed_state, 0);
  EXPECT_STREQ(fpl_active[0].ident, "******");
}

TEST_F(FplTest, SetActivePlanAlwaysWritesTheEndRecord) {
  build_ksea_kpdx();
  activate();
  FlightPlanWpt recs[3];
  recs[0] = fpl_active[0];
  recs[1] = fpl_active[2];
  ASSERT_EQ(set_active_plan(recs, 1, 1), 1);
  EXPECT_EQ(active_idents(), (std::vector<std::string>{"KSEA", "OLM"}));
  EXPECT_STREQ(fpl_active[2].ident, "******");
  EXPECT_EQ(set_active_plan(recs, 200, 1), 0);
  EXPECT_EQ(set_active_plan(recs, 1, 999), 1);
  EXPECT_EQ(fpl_active_index, 1);  // 999 is not a record
}

// ---------------------------------------------------------------------------------------
// Holds.

TEST_F(FplTest, HoldFollowsItsRecordWhenRecordsMoveAroundIt) {
  build_ksea_kpdx();
  magvar = 15.0;
  int place = add_hold(2, 0);  // hold at OLM
  ASSERT_EQ(place, 1);
  EXPECT_EQ(hold_count, 1);
  EXPECT_EQ(fpl_edit[2].hold_number, 1);
  EXPECT_EQ(holds_changed, 1);
  double d, c;
  compute_gc_distance_course(fpl_edit[1].lat, fpl_edit[1].lon, fpl_edit[2].lat, fpl_edit[2].lon, d, c);
  EXPECT_NEAR(hold_list[1].inbound_course, c - 15.0, 1e-9);  // magnetic, from SEA
  EXPECT_EQ(hold_list[1].leg_time, 1.0);
  EXPECT_EQ(hold_list[1].turn, 1);

  ASSERT_GT(enter_fix("PAE", 1), 0);  // a record before it
  EXPECT_EQ(hold_list[1].edit_wpt, 3);
  EXPECT_EQ(fpl_edit[3].hold_number, 1);
  EXPECT_STREQ(fpl_edit[3].ident, "OLM");
  EXPECT_EQ(fpl_edit[2].hold_number, 0);

  EXPECT_EQ(remove_edit_rows(1, 2), 1);  // PAE goes again
  EXPECT_EQ(hold_list[1].edit_wpt, 2);
  EXPECT_EQ(fpl_edit[2].hold_number, 1);

  // A second hold earlier in the route sorts first.
  EXPECT_EQ(add_hold(1, 0, 1.5), 1);
  EXPECT_EQ(hold_list[1].edit_wpt, 1);
  EXPECT_EQ(hold_list[1].leg_time, 1.5);
  EXPECT_EQ(hold_list[2].edit_wpt, 2);
  EXPECT_EQ(fpl_edit[2].hold_number, 2);

  // Deleting the held record takes its hold with it.
  EXPECT_EQ(remove_edit_rows(1, 2), 1);
  EXPECT_EQ(hold_count, 1);
  EXPECT_STREQ(hold_list[1].ident, "OLM");
  EXPECT_EQ(fpl_edit[1].hold_number, 1);
}

TEST_F(FplTest, HoldListRefusesAnEleventhHoldAndBadRecords) {
  for (int i = 0; i < 12; ++i) ASSERT_GT(enter_fix(i % 2 ? "SEA" : "OLM", fpl_edit_last + 1), 0);
  for (int n = 1; n <= 10; ++n) EXPECT_GT(add_hold(n, 0), 0) << n;
  EXPECT_EQ(add_hold(11, 0), 0);
  EXPECT_EQ(hold_count, 10);
  EXPECT_EQ(add_hold(999, 0), 0);
  EXPECT_EQ(add_hold(-1, 0), 0);
  EXPECT_EQ(add_hold(3, 0), 0);  // already holds
}

TEST_F(FplTest, DeletedHoldIsNotFlownAfterExecButComesBackWithErase) {
  build_ksea_kpdx();
  ASSERT_GT(add_hold(2, 1), 0);
  activate();
  ASSERT_EQ(hold_count, 1);
  EXPECT_EQ(hold_list[1].active_wpt, 2);
  EXPECT_EQ(fpl_active[2].hold_number, 1);
  EXPECT_EQ(holds_changed, 0);

  // LEGS delete of the hold (mode 2), then ERASE: the hold stays.
  copy_active_to_edit();
  hold_delete_index = 2;
  EXPECT_EQ(remove_hold(2, 2), 1);
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(fpl_edit[2].hold_number, 0);
  EXPECT_EQ(fpl_active[2].hold_number, 1);  // still flown until EXEC
  erase_route_mods();
  EXPECT_EQ(hold_count, 1);
  EXPECT_EQ(fpl_edit[2].hold_number, 1);

  // Delete again and EXEC: gone.
  EXPECT_EQ(remove_hold(2, 2), 1);
  activate_route();
  EXPECT_EQ(hold_count, 0);
  EXPECT_EQ(fpl_active[2].hold_number, 0);
  EXPECT_EQ(hold_fpl_index, 0);
}

TEST_F(FplTest, HoldIndexCopiesAndRenumbering) {
  build_ksea_kpdx();
  ASSERT_GT(add_hold(2, 0), 0);
  commit_hold_indexes();
  EXPECT_EQ(hold_list[1].active_wpt, 2);
  EXPECT_EQ(hold_list[1].edit_wpt, 0);
  save_hold_indexes();
  EXPECT_EQ(hold_list[1].edit_wpt, 2);
  renumber_hold_edit_wpt(3, 2);
  EXPECT_EQ(hold_list[1].edit_wpt, 3);
  renumber_hold_active_wpt(4, 2);
  EXPECT_EQ(hold_list[1].active_wpt, 4);
  EXPECT_EQ(hold_fpl_index, 4);
}

TEST_F(FplTest, HoldAtPresentPosition) {
  build_ksea_kpdx();
  activate();
  present_lat = 47.0;
  present_lon = -122.5;
  copy_active_to_edit();
  ASSERT_EQ(create_user_waypoint(0, "HOLD PPOS"), 1);
  int rec = insert_edit_record(fpl_active_index, 1);
  ASSERT_EQ(rec, 1);
  EXPECT_STREQ(fpl_edit[1].ident, "HOLD PPOS");
  EXPECT_DOUBLE_EQ(fpl_edit[1].lat, 47.0);
  EXPECT_EQ(hold_count, 1);
  EXPECT_EQ(fpl_edit[1].hold_number, 1);
}

TEST_F(FplTest, FixInfoClearsOneOrBoth) {
  fpl_set_text(fix_info[1].ident, "SEA");
  fpl_set_text(fix_info[2].ident, "OLM");
  fix_info[2].radial[0] = 90.0;
  clear_fix_info(2);
  EXPECT_STREQ(fix_info[1].ident, "SEA");
  EXPECT_STREQ(fix_info[2].ident, "");
  EXPECT_EQ(fix_info[2].radial[0], 0.0);
  clear_fix_info(3);  // not an entry: nothing
  EXPECT_STREQ(fix_info[1].ident, "SEA");
  clear_fix_info(0);
  EXPECT_STREQ(fix_info[1].ident, "");
}
