// SIDs, STARs and approaches inserted and replaced as a pilot picks them.
#include "flightplan/procedures.h"
#include "fpl_test_util.h"

namespace {

// Route KSEA OLM BTG KPDX with both airport blocks loaded.
void enter_route() {
  append_fixes({"KSEA", "OLM", "BTG", "KPDX"});
  ASSERT_EQ(load_airport_block("KSEA", 1), 1);
  ASSERT_EQ(load_airport_block("KPDX", 2), 1);
}

std::vector<std::string> list(const std::string* l, int n) { return std::vector<std::string>(l + 1, l + 1 + n); }

}  // namespace

TEST_F(FplTest, DepartureListsFollowRunwayAndSid) {
  enter_route();
  set_origin_proc_entry("------", "------");
  EXPECT_EQ(list(dep_sid_list, dep_sid_count), (std::vector<std::string>{"ALKI1", "JAWBN2"}));
  set_origin_proc_entry("16L", "------");
  EXPECT_EQ(list(dep_sid_list, dep_sid_count), (std::vector<std::string>{"ALKI1"}));
  EXPECT_EQ(apt_blocks[1].proc_name_count, 1);
  set_origin_proc_entry("------", "PAE");
  EXPECT_EQ(list(dep_sid_list, dep_sid_count), (std::vector<std::string>{"JAWBN2"}));
  set_origin_proc_entry_ext("ALKI1", "16L", 0);
  EXPECT_EQ(list(dep_trans_list, dep_trans_count), (std::vector<std::string>{"OLM", "ELN"}));
  set_origin_proc_entry_ext("ALKI1", "16R", 0);
  EXPECT_EQ(list(dep_trans_list, dep_trans_count), (std::vector<std::string>{"OLM"}));
  fill_origin_proc_entry("ALKI1");
  EXPECT_EQ(list(dep_rwy_list, dep_rwy_count), (std::vector<std::string>{"16L", "16R"}));
  fill_origin_proc_entry("------");
  EXPECT_EQ(dep_rwy_count, 6);
}

TEST_F(FplTest, AnAirportWithoutProceduresListsItsRunways) {
  ASSERT_EQ(load_airport_block("KBFI", 1), 1);
  ASSERT_EQ(load_airport_block("KTTD", 2), 1);
  set_origin_proc_entry("------", "------");
  EXPECT_EQ(dep_sid_count, 0);
  fill_origin_proc_entry("------");
  EXPECT_EQ(dep_rwy_count, apt_blocks[1].rwy_count);
  EXPECT_GT(dep_rwy_count, 0);
  fill_dest_proc_entry("------");
  EXPECT_EQ(arr_rwy_count, apt_blocks[2].rwy_count);
  EXPECT_GT(arr_rwy_count, 0);
}

TEST_F(FplTest, SidWithTransitionAndRunwayThenReplaced) {
  enter_route();
  route_dep_rwy = "16L";
  pending_sid_trans = "OLM";
  set_origin_proc_entry(route_dep_rwy, "------");
  ASSERT_EQ(insert_procedure_active_2(1, 0), 1);  // ALKI1
  EXPECT_EQ(pending_sid, "ALKI1");
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "ALKIS", "CARRO", "OLM", "BTG", "KPDX"}));
  EXPECT_STREQ(fpl_edit[1].segment, "SID");
  EXPECT_STREQ(fpl_edit[1].via, "ALKI1");
  EXPECT_EQ(fpl_edit[1].alt_constraint, 4000);
  EXPECT_EQ(fpl_edit[1].spd_constraint, 250);
  EXPECT_STREQ(fpl_edit[1].type, "INT");
  EXPECT_STREQ(fpl_edit[3].type, "VOR");  // the route's OLM stays at the joint
  EXPECT_EQ(list(dep_trans_list, dep_trans_count), (std::vector<std::string>{"OLM", "ELN"}));
  EXPECT_EQ(fpl_changed_state, 1);

  // The other runway's SID replaces it; it does not join the route.
  route_dep_rwy = "34R";
  pending_sid_trans = "PAE";
  set_origin_proc_entry(route_dep_rwy, "------");
  ASSERT_EQ(insert_procedure_active_2(1, 0), 1);  // JAWBN2
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "JAWBN", "PAE", "DISCO", "OLM", "BTG", "KPDX"}));
  // And back: the discontinuity of the old SID goes with it.
  route_dep_rwy = "16L";
  pending_sid = "ALKI1";
  pending_sid_trans = "OLM";
  ASSERT_EQ(insert_procedure_active_2(0, 1), 1);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "ALKIS", "CARRO", "OLM", "BTG", "KPDX"}));
  EXPECT_EQ(insert_procedure_active_2(9, 0), 0);  // not in the list
}

TEST_F(FplTest, StarAndApproachReplaceEarlierOnes) {
  enter_route();
  // STAR HELNS5 from OLM for 10R, then the ILS 10R from HELNS.
  pending_arr_rwy = "10R";
  pending_star = "HELNS5";
  pending_star_trans = "OLM";
  ASSERT_EQ(insert_star_appr_edit(), 1);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM", "BTG", "DISCO", "OLM", "DUBYA", "FOURT", "HELNS", "KPDX"}));
  EXPECT_STREQ(fpl_edit[5].segment, "STAR");
  EXPECT_EQ(fpl_edit[6].alt_constraint, 11000);

  pending_appr_type = "I10R";
  pending_appr_trans = "HELNS";
  pending_arr_rwy = "10R";
  ASSERT_EQ(insert_approach_disco(1), 1);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM", "BTG", "DISCO", "OLM", "DUBYA", "FOURT", "HELNS",
                                                     "GIMIC", "MARTY", "TOWNI", "RIVER", "RW10R", "BTG", "KPDX"}));
  EXPECT_STREQ(fpl_edit[7].segment, "APCH");  // HELNS: the approach's IAF
  EXPECT_STREQ(fpl_edit[7].role, "IAF");
  EXPECT_STREQ(fpl_edit[12].type, "RWY");
  EXPECT_STREQ(fpl_edit[12].role, "MAP");

  // A STAR without the transition replaces the first one, before the approach.
  pending_star_trans = "------";
  ASSERT_EQ(insert_star_appr_edit(), 1);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM", "BTG", "DISCO", "FOURT", "HELNS", "GIMIC", "MARTY",
                                                     "TOWNI", "RIVER", "RW10R", "BTG", "KPDX"}));

  // The 28L approach from BTG replaces the ILS 10R.
  pending_appr_type = "R28L";
  pending_appr_trans = "BTG";
  pending_arr_rwy = "28L";
  ASSERT_EQ(insert_approach_disco(0), 1);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM", "BTG", "DISCO", "FOURT", "DISCO", "BTG", "KOLSE",
                                                     "RW28L", "KPDX"}));
  EXPECT_TRUE(end_record_ok(fpl_edit, fpl_edit_last));
}

TEST_F(FplTest, ArrivalListsAndPreviews) {
  enter_route();
  set_dest_proc_entry("------", "------");
  EXPECT_EQ(list(arr_star_list, arr_star_count), (std::vector<std::string>{"HELNS5"}));
  set_dest_proc_entry_ext("HELNS5", "10R", 0);
  EXPECT_EQ(arr_trans_count, 2);
  list_approaches("------", "------");
  ASSERT_EQ(arr_appr_count, 2);
  EXPECT_EQ(arr_appr_list[1].type, "I10R");
  EXPECT_EQ(arr_appr_list[1].runway, "10R");
  list_approaches("28L", "------");
  EXPECT_EQ(arr_appr_count, 1);
  set_dest_iaf_entry("I10R", "HELNS");
  EXPECT_EQ(list(arr_rwy_list, arr_rwy_count), (std::vector<std::string>{"10R"}));

  pending_appr_type = "I10R";
  pending_appr_trans = "HELNS";
  pending_arr_rwy = "10R";
  list_approach_transitions();
  EXPECT_EQ(list(arr_appr_trans_list, arr_appr_trans_count), (std::vector<std::string>{"HELNS"}));
  ASSERT_EQ(proc_preview_count, 7);
  EXPECT_EQ(proc_preview[1].ident, "HELNS");
  EXPECT_EQ(proc_preview[1].role, "IAF");
  EXPECT_EQ(proc_preview[7].role, "HP");

  pending_sid = "ALKI1";
  pending_sid_trans = "ELN";
  route_dep_rwy = "16L";
  sid_insert_helper_origin();
  ASSERT_EQ(proc_preview_count, 3);
  EXPECT_EQ(proc_preview[3].ident, "ELN");
}

TEST_F(FplTest, ProcedureIntoTheActivePlanKeepsTheActiveWaypoint) {
  enter_route();
  fpl_changed_step();
  activate_route();
  fpl_active_index = 2;  // to BTG
  pending_appr_type = "R28L";
  pending_appr_trans = "BTG";
  pending_arr_rwy = "28L";
  ASSERT_EQ(insert_approach(), 1);
  EXPECT_EQ(active_idents(), (std::vector<std::string>{"KSEA", "OLM", "BTG", "KOLSE", "RW28L", "KPDX"}));
  EXPECT_STREQ(fpl_active[fpl_active_index].ident, "BTG");
  EXPECT_EQ(fpl_changed_state, 3);
}

TEST_F(FplTest, ProcedureRefusedWhenThePlanWouldOverflow) {
  enter_route();
  ASSERT_EQ(create_user_waypoint(0, "UBG"), 1);
  while (fpl_edit_last < FPL_MAX_LAST - 1) ASSERT_EQ(insert_edit_record(2, 1), 1);
  int before = fpl_edit_last;
  pending_arr_rwy = "10R";
  pending_star = "HELNS5";
  pending_star_trans = "OLM";
  EXPECT_EQ(insert_star_appr_edit(), 0);
  EXPECT_EQ(fpl_edit_last, before);
  EXPECT_STREQ(fpl_edit[fpl_edit_last + 1].ident, "******");
  pending_star = "NOSUCH";
  EXPECT_EQ(insert_star_appr_edit(), 0);
}
