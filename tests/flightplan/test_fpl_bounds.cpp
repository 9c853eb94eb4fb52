// Table bounds of every editing operation: the 200-record plans, the hold list of 10,
// the markers 999 and -1, and the "******" end record after each step.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "flightplan/plan_files.h"
#include "flightplan/route_entry.h"
#include "fpl_test_util.h"

namespace {

// KSEA, SEA, OLM, BTG, KPDX in the edit plan.
void enter_sample_route() { append_fixes({"KSEA", "SEA", "OLM", "BTG", "KPDX"}); }

// Fills the edit plan with OLM records after its last record up to `last`.
void fill_edit_plan_to(int last) {
  ASSERT_EQ(create_user_waypoint(0, "OLM"), 1);
  while (fpl_edit_last < last) ASSERT_EQ(insert_edit_record(fpl_edit_last + 1, 1), 1);
}

}  // namespace

TEST_F(FplTest, MarkersAreNeverTakenAsRecords) {
  enter_sample_route();
  std::vector<std::string> before = edit_idents();
  ASSERT_EQ(create_user_waypoint(0, "UBG"), 1);
  FlightPlanWpt rec;
  clear_fpl_record(rec);
  fpl_set_text(rec.ident, "X");
  for (int bad : {999, -1}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(insert_edit_record(bad, 1), 0);
    EXPECT_EQ(insert_edit_record(2, bad), 0);  // candidate index
    EXPECT_EQ(insert_edit_record(bad, 1, 1), 0);  // direct-to
    EXPECT_EQ(insert_search_fix(bad), 0);
    EXPECT_EQ(insert_hold_1(bad, 0), 0);
    EXPECT_EQ(store_selected_fix(bad), 0);
    EXPECT_EQ(make_discontinuity_2(bad, 0), 0);
    EXPECT_EQ(make_discontinuity(bad, 0), 0);
    EXPECT_EQ(remove_edit_rows(bad, bad + 1), 0);
    EXPECT_EQ(fpl_edit_insert(bad, rec), 0);
    EXPECT_EQ(add_hold(bad, 1), 0);
    EXPECT_EQ(remove_hold(bad, 1), 0);
    build_route_rows();
    EXPECT_EQ(delete_route_row(bad), 0);
    EXPECT_EQ(find_edit_record_by_ident(bad, 0), 0);
    EXPECT_EQ(expand_airway(bad, 0), 0);
  }
  EXPECT_EQ(remove_edit_rows(2, 999), 0);
  EXPECT_EQ(edit_idents(), before);
  EXPECT_TRUE(end_record_ok(fpl_edit, fpl_edit_last));
  EXPECT_EQ(hold_count, 0);
  EXPECT_EQ(select_search_entry(999), 0);
  EXPECT_EQ(select_search_entry(-1), 0);

  // LEGS "PPOS >" in hold mode without an active plan: the active index is 999.
  clear_fpl_active();
  ASSERT_EQ(create_user_waypoint(0, "HOLD PPOS"), 1);
  EXPECT_EQ(insert_edit_record(fpl_active_index, 1), 0);
  EXPECT_EQ(add_hold(fpl_active_index, 0), 0);
  EXPECT_EQ(edit_idents(), before);

  // A new active plan with an active index outside it gets a real record.
  ASSERT_EQ(set_active_plan(fpl_edit, fpl_edit_last, 999), 1);
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_EQ(set_active_plan(fpl_edit, 999, 1), 0);
  EXPECT_TRUE(end_record_ok(fpl_active, fpl_active_last));
}

TEST_F(FplTest, EmptyingThePlanLeavesNoMinusOneIndex) {
  enter_sample_route();
  fpl_edit_index = 3;
  fpl_edit_active_rec = 3;
  EXPECT_EQ(fpl_edit_remove(0, fpl_edit_last + 1), 5);
  EXPECT_EQ(fpl_edit_last, -1);
  EXPECT_STREQ(fpl_edit[0].ident, "******");
  EXPECT_EQ(fpl_edit_index, 0);
  EXPECT_EQ(fpl_edit_active_rec, 0);
  // EXEC of the empty plan: no active waypoint.
  activate_route();
  EXPECT_EQ(fpl_active_index, 999);
  EXPECT_EQ(fpl_changed_state, 0);
}

TEST_F(FplTest, HoldAtPresentPositionRefusedWhileTheHoldListIsFull) {
  for (int i = 0; i < 12; ++i) ASSERT_GT(enter_fix(i % 2 ? "SEA" : "OLM", fpl_edit_last + 1), 0);
  for (int n = 1; n <= 10; ++n) ASSERT_GT(add_hold(n, 0), 0) << n;
  std::vector<std::string> before = edit_idents();
  ASSERT_EQ(create_user_waypoint(0, "HOLD PPOS"), 1);
  EXPECT_EQ(insert_edit_record(11, 1), 0);
  EXPECT_EQ(insert_hold_1(11, 0), 0);
  EXPECT_EQ(edit_idents(), before);
  EXPECT_EQ(hold_count, 10);
  // With room again the same entry gives the record and its hold.
  ASSERT_EQ(remove_hold(1, 0), 1);
  ASSERT_EQ(insert_edit_record(11, 1), 1);
  EXPECT_STREQ(fpl_edit[11].ident, "HOLD PPOS");
  EXPECT_GT(fpl_edit[11].hold_number, 0);
  EXPECT_EQ(hold_count, 10);
}

TEST_F(FplTest, AirwayLegRefusedOnAFullPlanLeavesItAsItWas) {
  append_fixes({"KSEA", "SEA"});
  load_airways_file("V23");
  ASSERT_EQ(expand_airway(1, 0), 1);  // SEA, then THEN waiting for the exit fix
  ASSERT_STREQ(fpl_edit[2].ident, "THEN");
  fill_edit_plan_to(FPL_MAX_LAST);
  std::vector<std::string> before = edit_idents();
  load_airways_file("V23");
  airway_start_index = find_airway_index("SEA");
  airway_end_index = find_airway_index("BTG");
  fpl_edit_index = 1;
  airway_insert_mode = 1;
  EXPECT_EQ(activate_plan(), 0);
  airway_insert_mode = 0;
  EXPECT_EQ(edit_idents(), before);  // the THEN row is still there
  EXPECT_TRUE(end_record_ok(fpl_edit, fpl_edit_last));
  EXPECT_EQ(expand_airway(1, 0), 0);  // no room for another THEN row
  EXPECT_EQ(fpl_edit_last, FPL_MAX_LAST);
}

TEST_F(FplTest, FullPlanFileLoadsFliesAndSavesWhole) {
  // A plan of 200 records: the most a table holds.
  std::string text = "[FlightPlan]\nKSEA APT 47.449 -122.309 433\n";
  for (int i = 1; i < 199; ++i) text += "W" + std::to_string(i) + " WPT 47.0 " + std::to_string(-122.0 + i * 0.001) + "\n";
  text += "KPDX APT 45.5887 -122.5975 31\n";
  {
    std::ofstream f(root + "/vek/flightplans/FULL.RTE");
    f << text;
  }
  plan_load_name = "FULL.RTE";
  ASSERT_EQ(load_and_activate_plan_file(2), 1);  // request 2 is performed like the others
  EXPECT_EQ(plan_load_request, 0);
  EXPECT_EQ(fpl_active_last, FPL_MAX_LAST);
  EXPECT_TRUE(end_record_ok(fpl_active, fpl_active_last));
  EXPECT_EQ(plan_loaded_airport_ident, "KPDX");

  // No room for one more record in the edit copy.
  copy_active_to_edit();
  ASSERT_EQ(create_user_waypoint(0, "SEA"), 1);
  EXPECT_EQ(insert_edit_record(5, 1), 0);
  EXPECT_EQ(store_selected_fix(5), 0);
  EXPECT_TRUE(end_record_ok(fpl_edit, fpl_edit_last));

  ASSERT_EQ(write_plan_file("FULL2.RTE"), 1);
  ASSERT_EQ(load_plan_file("FULL2.RTE", 0), 1);
  EXPECT_EQ(fpl_edit_last, FPL_MAX_LAST);
  EXPECT_STREQ(fpl_edit[199].ident, "KPDX");
  EXPECT_STREQ(fpl_edit[200].ident, "******");
}

TEST_F(FplTest, SaveOverAFolderOfThatNameFailsAndLeavesNoPart) {
  append_fixes({"KSEA", "KPDX"});
  activate_route();
  std::string dir = root + "/vek/flightplans/";
  std::filesystem::create_directory(dir + "TAKEN.RTE");
  EXPECT_EQ(write_plan_file("TAKEN.RTE"), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir + "TAKEN.RTE"));
  EXPECT_FALSE(std::filesystem::exists(dir + "TAKEN.RTE.part"));
  // A name that fills the stored-plan name field is refused rather than cut.
  EXPECT_EQ(write_plan_file(std::string(70, 'A') + ".RTE"), 0);
  list_plan_files();
  EXPECT_EQ(stored_plan_count, 1);
  EXPECT_STREQ(stored_plans[1].name, "NEW FPL");
}

TEST_F(FplTest, HoldOnADeletedLegIsFlownUntilExecAndErasedBack) {
  append_fixes({"KSEA", "SEA", "OLM", "KPDX"});
  ASSERT_GT(add_hold(2, 1), 0);  // hold at OLM
  fpl_changed_step();            // ACTIVATE
  activate_route();              // EXEC
  ASSERT_EQ(hold_list[1].active_wpt, 2);

  // OLM deleted on the route page: MOD, the active plan still holds there.
  ASSERT_EQ(remove_edit_rows(2, 3), 1);
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(hold_count, 1);
  EXPECT_EQ(fpl_active[2].hold_number, 1);
  EXPECT_EQ(fpl_edit[2].hold_number, 0);  // KPDX does not hold
  EXPECT_GT(add_hold(2, 0), 0);           // a hold may go on the record now at 2
  EXPECT_EQ(remove_hold(2, 0), 1);        // and leave again, the pending one untouched
  EXPECT_EQ(hold_count, 1);

  erase_route_mods();  // ERASE: OLM and its hold are back
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "SEA", "OLM", "KPDX"}));
  EXPECT_EQ(fpl_edit[2].hold_number, 1);
  EXPECT_EQ(hold_count, 1);

  ASSERT_EQ(remove_edit_rows(2, 3), 1);
  activate_route();  // EXEC: gone
  EXPECT_EQ(hold_count, 0);
  EXPECT_EQ(fpl_active[2].hold_number, 0);
  EXPECT_EQ(hold_fpl_index, 0);
}

TEST_F(FplTest, PlanLoadedOverARouteDropsItsHoldsAtExec) {
  append_fixes({"KSEA", "SEA", "OLM", "KPDX"});
  ASSERT_GT(add_hold(2, 1), 0);
  fpl_changed_step();
  activate_route();
  ASSERT_EQ(hold_count, 1);
  plan_load_name = "KSEAKPDX.RTE";
  std::filesystem::copy_file(std::string(VEK_FPL_SAMPLE_ROOT) + "/vek/flightplans/KSEAKPDX.RTE",
                             root + "/vek/flightplans/KSEAKPDX.RTE");
  ASSERT_EQ(load_and_activate_plan_file(1), 1);
  EXPECT_EQ(hold_count, 0);
  for (int i = 0; i <= fpl_active_last; ++i) EXPECT_EQ(fpl_active[i].hold_number, 0) << fpl_active[i].ident;
  EXPECT_EQ(hold_fpl_index, 0);
}

TEST_F(FplTest, ADestinationFindsNoRoomInAFullPlan) {
  enter_sample_route();
  ASSERT_EQ(create_user_waypoint(0, "OLM"), 1);
  // The edit plan ends with a fix, not an airport, and is full.
  remove_edit_rows(fpl_edit_last, fpl_edit_last + 1);
  while (fpl_edit_last < FPL_MAX_LAST) ASSERT_EQ(insert_edit_record(fpl_edit_last + 1, 1), 1);
  ASSERT_EQ(set_active_plan(fpl_edit, fpl_edit_last, 999), 1);
  fpl_changed_state = 1;
  ASSERT_EQ(load_airport_block("KPDX", 2), 1);
  const std::string last_before = fpl_active[FPL_MAX_LAST].ident;
  EXPECT_FALSE(fpl_set_destination(fpl_airport_record(apt_blocks[2])));
  EXPECT_EQ(fpl_active_last, FPL_MAX_LAST);
  EXPECT_EQ(last_before, fpl_active[FPL_MAX_LAST].ident);
  EXPECT_STREQ(fpl_active[FPL_MAX_LAST + 1].ident, "******");
  EXPECT_EQ(fpl_edit_last, FPL_MAX_LAST);
}
