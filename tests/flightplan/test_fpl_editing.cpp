// Editing the edit plan: entries, user waypoints, airways, discontinuities, direct-to,
// route rows and the table bounds.
#include <cmath>

#include "fpl_test_util.h"
#include "geo/great_circle.h"

TEST_F(FplTest, RouteWithAnAirwayAndDirectLegs) {
  // KSEA, direct SEA, V23 to BTG, direct KPDX.
  append_fixes({"KSEA", "SEA"});
  build_route_rows();
  load_airways_file("V23");
  ASSERT_GT(fix_match_count, 0);
  ASSERT_EQ(expand_airway(1, 0), 1);  // joins at SEA, waits for the exit fix
  build_route_rows();
  ASSERT_EQ(rte_row_count, 3);
  EXPECT_EQ(rte_rows[3].to, "THEN");
  EXPECT_EQ(rte_rows[3].via, "V23");

  int exit_fix = find_airway_index("BTG");
  ASSERT_GT(exit_fix, 0);
  airway_end_index = exit_fix;
  airway_insert_mode = 1;
  ASSERT_EQ(activate_plan(), 1);
  airway_insert_mode = 0;
  drop_then_rows();
  append_fixes({"KPDX"});
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "SEA", "CARRO", "OLM", "DUBYA", "BTG", "KPDX"}));
  EXPECT_STREQ(fpl_edit[3].via, "V23");
  EXPECT_STREQ(fpl_edit[6].via, "");
  EXPECT_EQ(fpl_active_index, 999);  // editing only; EXEC flies it

  build_route_rows();
  // Origin, SEA DIRECT, BTG via V23, KPDX DIRECT.
  ASSERT_EQ(rte_row_count, 4);
  EXPECT_EQ(rte_rows[2].to, "SEA");
  EXPECT_EQ(rte_rows[2].via, "DIRECT");
  EXPECT_EQ(rte_rows[3].to, "BTG");
  EXPECT_EQ(rte_rows[3].via, "V23");
  EXPECT_EQ(rte_rows[4].via, "DIRECT");

  // Deleting the airway row removes its fixes back to SEA.
  EXPECT_GT(delete_route_row(3), 0);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "SEA", "KPDX"}));
  EXPECT_EQ(delete_route_row(1), 0);  // the origin row is not a route row
  EXPECT_EQ(find_edit_record_by_ident(3, 0), 2);
}

TEST_F(FplTest, ExpandAirwayRefusesAFixOffTheAirway) {
  append_fixes({"KSEA", "UBG"});
  load_airways_file("V23");
  EXPECT_EQ(expand_airway(1, 0), 0);
  EXPECT_EQ(fpl_edit_last, 1);
  EXPECT_EQ(expand_airway(999, 0), 0);
}

TEST_F(FplTest, FullTableRefusesOneMoreRecord) {
  ASSERT_EQ(create_user_waypoint(0, "SEA"), 1);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(insert_edit_record(fpl_edit_last + 1, 1), 1) << i;
  EXPECT_EQ(fpl_edit_last, 199);
  EXPECT_EQ(insert_edit_record(5, 1), 0);
  EXPECT_EQ(insert_search_fix(5), 0);
  EXPECT_EQ(store_selected_fix(200), 0);
  EXPECT_EQ(fpl_edit_last, 199);
  EXPECT_STREQ(fpl_edit[200].ident, "******");
  // Nothing takes 999 or -1 as a record.
  EXPECT_EQ(insert_edit_record(999, 1), 0);
  EXPECT_EQ(insert_edit_record(-1, 1), 0);
  EXPECT_EQ(make_discontinuity_2(999, 0), 0);
  EXPECT_EQ(make_discontinuity(-1, 0), 0);
  EXPECT_EQ(remove_edit_rows(-1, 3), 0);
  EXPECT_EQ(remove_hold(999, 1), 0);
}

TEST_F(FplTest, DiscontinuityClosedByADirectTo) {
  append_fixes({"KSEA", "SEA", "OLM", "HQM", "BTG", "KPDX"});
  fpl_changed_step();
  activate_route();
  copy_active_to_edit();
  ASSERT_EQ(make_discontinuity_2(3, 0), 1);  // HQM becomes a discontinuity
  EXPECT_STREQ(fpl_edit[3].ident, "DISCO");
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(fpl_edit[3].lat, 0.0);
  build_route_rows();
  EXPECT_EQ(rte_rows[4].to, "DISCO");

  // Direct to BTG from the present position.
  present_lat = 47.3;
  present_lon = -122.4;
  ASSERT_EQ(create_user_waypoint(0, "BTG"), 1);
  int rec = insert_edit_record(fpl_active_index, 1, 1);
  ASSERT_EQ(rec, 1);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "BTG", "KPDX"}));
  EXPECT_EQ(dto_active, 1);
  EXPECT_EQ(dto_origin_lat, 47.3);
  EXPECT_EQ(intc_crs_pending, 1);
  EXPECT_EQ(intc_target_wpt, 1);
  activate_route();
  EXPECT_STREQ(fpl_active[fpl_active_index].ident, "BTG");
}

TEST_F(FplTest, DirectToANewFixMakesItTheActiveWaypoint) {
  append_fixes({"KSEA", "OLM", "KPDX"});
  fpl_changed_step();
  activate_route();
  copy_active_to_edit();
  ASSERT_EQ(create_user_waypoint(0, "SEA"), 1);
  ASSERT_EQ(insert_edit_record(fpl_active_index, 1, 1), 1);
  activate_route();
  EXPECT_EQ(active_idents(), (std::vector<std::string>{"KSEA", "SEA", "OLM", "KPDX"}));
  EXPECT_EQ(fpl_active_index, 1);
}

TEST_F(FplTest, LegsDeleteMakesDiscontinuityOrRemovesFirstAndLastLegs) {
  append_fixes({"KSEA", "SEA", "OLM", "BTG", "KPDX"});
  ASSERT_EQ(make_discontinuity_2(1, 0), 1);  // record 1 is removed
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM", "BTG", "KPDX"}));
  ASSERT_EQ(make_discontinuity_2(2, 0), 1);  // last - 1: removed as well
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM", "KPDX"}));
  ASSERT_EQ(make_discontinuity_2(2, 0), 1);  // the last waypoint
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM"}));
  EXPECT_TRUE(end_record_ok(fpl_edit, fpl_edit_last));
}

TEST_F(FplTest, MissionCduDiscontinuityActivatesTheRoute) {
  append_fixes({"KSEA", "SEA", "OLM", "KPDX"});
  fpl_changed_step();
  activate_route();
  copy_active_to_edit();
  // The unit's hook runs once the edit record is a discontinuity, before activation.
  static std::vector<std::string> seen;
  seen.clear();
  fpl_discontinuity_made_hook = [] { seen.push_back(std::string(fpl_edit[2].ident) + "/" + fpl_active[2].ident); };
  EXPECT_EQ(make_discontinuity(fpl_edit_last + 1, 0), 0);
  ASSERT_EQ(make_discontinuity(2, 0), 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"DISCO/OLM"}));
  EXPECT_STREQ(fpl_active[2].ident, "DISCO");
  EXPECT_EQ(fpl_active[2].alt_constraint, -999.0);
  EXPECT_EQ(fpl_active[2].intc_course, -1.0);
  EXPECT_EQ(fpl_changed_state, 3);
}

TEST_F(FplTest, RouteEntryClosesDiscontinuityAndSkipsToALaterFix) {
  append_fixes({"KSEA", "SEA", "OLM", "HQM", "BTG", "KPDX"});
  ASSERT_EQ(make_discontinuity_2(3, 0), 1);
  ASSERT_EQ(create_user_waypoint(0, "UBG"), 1);
  ASSERT_EQ(store_selected_fix(3), 1);  // the typed fix closes the discontinuity
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "SEA", "OLM", "UBG", "BTG", "KPDX"}));
  // Typing a later fix on a row removes the records between.
  EXPECT_EQ(remove_edit_rows(2, 4), 2);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "SEA", "BTG", "KPDX"}));
}

TEST_F(FplTest, UserWaypointsFromCoordinatesAndPlaceBearingDistance) {
  ASSERT_EQ(create_user_waypoint(0, "N4730.5W12218.0"), 1);
  EXPECT_NEAR(nav_search_list[1].lat, 47.508333, 1e-6);
  EXPECT_NEAR(nav_search_list[1].lon, -122.3, 1e-9);
  ASSERT_EQ(create_user_waypoint(0, "S3352.0E15112.5"), 1);
  EXPECT_NEAR(nav_search_list[1].lat, -33.866667, 1e-6);
  EXPECT_NEAR(nav_search_list[1].lon, 151.208333, 1e-6);
  ASSERT_EQ(create_user_waypoint(0, "47.5/-122.25"), 1);
  EXPECT_EQ(nav_search_list[1].lon, -122.25);

  magvar = 16.0;  // east: magnetic 074 is true 090
  ASSERT_EQ(create_user_waypoint(0, "SEA074/10"), 1);
  std::string name = nav_search_list[1].ident;
  EXPECT_EQ(name.substr(0, 3), "SEA");
  double d, c;
  compute_gc_distance_course(47.435372, -122.309614, nav_search_list[1].lat, nav_search_list[1].lon, d, c);
  EXPECT_NEAR(d, 10.0, 1e-6);
  EXPECT_NEAR(c, 90.0, 1e-6);
  ASSERT_EQ(create_user_waypoint(0, "BF180/5"), 1);
  EXPECT_EQ(std::string(nav_search_list[1].ident).size(), 4u);  // "%2s%02d"
  EXPECT_EQ(std::string(nav_search_list[1].ident).substr(0, 2), "BF");
  ASSERT_EQ(insert_edit_record(0, 1), 1);
  EXPECT_STREQ(fpl_edit[0].type, "WPT");

  // Refused entries.
  EXPECT_EQ(create_user_waypoint(0, "SEA999/10"), 0);
  EXPECT_EQ(create_user_waypoint(0, "SEA090/0"), 0);
  EXPECT_EQ(create_user_waypoint(0, "XXX090/10"), 0);
  EXPECT_EQ(create_user_waypoint(0, "N9530.0W12218.0"), 0);
  EXPECT_EQ(create_user_waypoint(0, "N4775.0W12218.0"), 0);
  EXPECT_EQ(create_user_waypoint(0, "95/10"), 0);
  EXPECT_EQ(create_user_waypoint(0, "NOSUCH"), 0);
  EXPECT_EQ(create_user_waypoint(0, ""), 0);
  EXPECT_EQ(fix_match_count, 0);
}

TEST_F(FplTest, UserWaypointCounterWrapsAfter99) {
  std::string last;
  for (int i = 0; i < 100; ++i) last = next_user_waypoint_name("SEATTLE");
  EXPECT_EQ(last, "SEA01");
}

TEST_F(FplTest, LookupKindsAndCandidateSelection) {
  EXPECT_EQ(create_user_waypoint(3, "SEA"), 0);  // SEA is a VOR, not an airport
  ASSERT_EQ(create_user_waypoint(1, "SEA"), 1);
  EXPECT_STREQ(nav_search_list[1].type, "V");
  EXPECT_EQ(select_search_entry(2), 0);
  EXPECT_EQ(select_search_entry(1), 1);
  ASSERT_EQ(create_user_waypoint(0, "BF"), 1);
  ASSERT_EQ(insert_edit_record(0, 1), 1);
  EXPECT_STREQ(fpl_edit[0].type, "NDB");
  EXPECT_STREQ(fpl_edit[0].navaid, "362");
}

TEST_F(FplTest, AirwayPageBuildsAndActivatesTheRoute) {
  append_fixes({"KSEA", "SEA"});
  load_airways_file("#V4");
  airway_start_index = find_airway_index("ELN");
  airway_end_index = find_airway_index("YKM");
  fpl_edit_index = 1;  // SEA is on the airway but not its start: refused
  EXPECT_EQ(activate_plan(), 0);
  EXPECT_EQ(fpl_active_last, -1);
  airway_start_index = find_airway_index("SEA");
  ASSERT_EQ(activate_plan(), 1);
  EXPECT_EQ(active_idents(), (std::vector<std::string>{"KSEA", "SEA", "ELN", "YKM"}));
  EXPECT_STREQ(fpl_active[3].via, "V4");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_EQ(airway_start_index, 0);
}
