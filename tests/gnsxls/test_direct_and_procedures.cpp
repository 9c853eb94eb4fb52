// DIRECT with its direct-to steps and DIR CLOSEST ARP, the DEPARTURE, ARRIVAL and
// APPROACH flows on the sample data, and ENTER on PILOT ENTERED WPT and OFFSET WPT.
#include "gnsxls_fixture.h"

#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"
#include "guidance/fms_state.h"
#include "navdb/navdb.h"
#include "platform/host/sim_token_ids.h"

namespace {

class GnsxlsDirectTest : public GnsxlsTest {
 protected:
  std::vector<int32_t> heading_events() const {
    std::vector<int32_t> v;
    for (const auto& r : host_.records())
      if (r.kind == simhost::RecordKind::KeyEvent && r.id == KEY_AP_HEADING_SET) v.push_back(r.param);
    return v;
  }
  // ENTER with the aircraft one degree north of (lat, lon) on `hdg`: the fix lies due south.
  void enter_north_of(double lat, double lon, double hdg) {
    present_lat = lat + 1.0;
    present_lon = lon;
    magvar = 0.0;
    heading = hdg;
    click("ENTER");
    frames(1);
  }
  std::vector<std::string> edit_idents() const {
    std::vector<std::string> v;
    for (int i = 0; i <= fpl_edit_last; ++i) v.push_back(fpl_edit[i].ident);
    return v;
  }
};

TEST_F(GnsxlsDirectTest, DirectToThenEnterPutsADirectRecordBeforeTheActiveWaypoint) {
  start_unit();
  build_route();
  std::vector<std::string> before = active_idents();
  int k = fpl_active_index;
  press("DIRECT");
  EXPECT_EQ(at(90, 0), "DIRECT 1/2");
  EXPECT_EQ(colour_at(30, 40.0 * k), MAGENTA);  // "TO " on the active row
  enter_north_of(fpl_active[k].lat, fpl_active[k].lon, 180.0);
  before.insert(before.begin() + k, "DIRECT");
  EXPECT_EQ(active_idents(), before);
  EXPECT_EQ(fpl_active_index, k + 1);
  EXPECT_STREQ(fpl_active[fpl_active_dest_index].ident, "KPDX");
  EXPECT_EQ(dto_active, 1);
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
  EXPECT_EQ(gnsxls_list_mode, 1);
  EXPECT_TRUE(heading_events().empty());
}

// A typed ident confirmed on DATABASE WPT goes in before the chosen row (nothing doubled
// or lost) and a forced turn against the natural one sets the heading 160 further.
TEST_F(GnsxlsDirectTest, ATypedIdentIsFlownWithTheForcedTurn) {
  struct Case {
    int clr_presses;  // DIRECTION: DEFAULT, LEFT, RIGHT
    double heading;
    std::vector<int32_t> events;
    int32_t forced;
  };
  const Case cases[] = {
      {2, 250.0, {50}, 2},   // natural left, forced right
      {1, 100.0, {300}, 1},  // natural right, forced left
      {2, 100.0, {}, 0},     // natural right, asked right
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heading);
    start_unit();
    build_route();
    gnsxls_turn_field = "DEFAULT";
    press("DIRECT");
    press("L2");  // row 2
    std::vector<std::string> before = active_idents();
    type("UBG");
    press("ENTER");
    ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_DATABASE_WPT);
    press("R5");
    press("R5");
    for (int i = 0; i < c.clr_presses; ++i) press("CLR");
    EXPECT_TRUE(has("DIRECTION:"));
    press("ENTER");
    press("ENTER");
    ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_DIRECT);
    const NavRecord& ubg = nav_search_list[1];
    std::size_t sent = heading_events().size();
    enter_north_of(ubg.lat, ubg.lon, c.heading);
    before.insert(before.begin() + 2, {"DIRECT", "UBG"});
    EXPECT_EQ(active_idents(), before);
    EXPECT_STREQ(fpl_active[fpl_active_index].ident, "UBG");
    std::vector<int32_t> events = heading_events();
    EXPECT_EQ(std::vector<int32_t>(events.begin() + sent, events.end()), c.events);
    EXPECT_EQ(forced_turn_dir, c.forced);
    host_.stop();
  }
}

TEST_F(GnsxlsDirectTest, ADirectToWithoutAFixOrOnAFullTableChangesNothing) {
  start_unit();
  build_route();
  press("DIRECT");
  std::vector<std::string> before = active_idents();
  fpl_edit_index = fpl_edit_last;  // the end record
  click("ENTER");
  EXPECT_EQ(active_idents(), before);
  fpl_set_text(fpl_edit[2].ident, FPL_DISCO_IDENT);
  fpl_edit_index = 2;
  click("ENTER");
  EXPECT_EQ(active_idents(), before);
  // An unknown ident leaves the page.
  gnsxls_clear_on_key = 0;
  gnsxls_scratchpad = "QQQQQ";
  click("ENTER");
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_DIRECT);
}

TEST_F(GnsxlsDirectTest, DirClosestArpListsTheNearestFirstAndRefreshesPast50Nm) {
  host_.aircraft().state().lat = 47.44;  // near KSEA
  host_.aircraft().state().lon = -122.31;
  start_unit();
  build_route();
  press("DIRECT");
  press("DIRECT");  // the last sub-page, rebuilt on the press
  EXPECT_EQ(at(70, 0), "DIR CLOSEST ARP 2/2");
  std::vector<std::string> rows;
  for (int r = 1; r <= 9; ++r) rows.push_back(line(40.0 * r));
  EXPECT_EQ(rows[0].substr(0, 4), "KSEA");
  for (int i = 1; i <= 8; ++i) EXPECT_GE(closest_airports[i].dist, closest_airports[i + 1].dist);

  host_.aircraft().state().lat -= 0.5;  // 30 NM: kept
  frames(2);
  EXPECT_EQ(line(40), rows[0]);
  host_.aircraft().state().lat -= 0.5;  // 60 NM from the centre: rebuilt
  frames(2);
  EXPECT_NE(line(40), rows[0]);

  gnsxls_scratchpad = "KXXX";  // not listed: nothing
  click("ENTER");
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_DIRECT);
  press("L1");
  std::string nearest = closest_airports[9].ident;
  EXPECT_EQ(gnsxls_scratchpad, nearest);
  EXPECT_EQ(boxes(), 1);
  click("ENTER");
  // The origin, the leg from the aircraft and the airport flown to; no entry left open.
  EXPECT_STREQ(fpl_active[0].ident, "KSEA");
  EXPECT_STREQ(fpl_active[1].ident, "DIRECT");
  EXPECT_DOUBLE_EQ(fpl_active[1].lat, host_.aircraft().state().lat);
  EXPECT_STREQ(fpl_active[2].ident, nearest.c_str());
  EXPECT_EQ(fpl_active_last, 2);
  EXPECT_STREQ(fpl_active[3].ident, "******");
  EXPECT_EQ(fpl_active_dest_index, 2);
  EXPECT_EQ(fpl_active_index, 2);
  EXPECT_EQ(dto_active, 1);
  frames(1);
  EXPECT_EQ(gnsxls_prompt_open, 0);
  EXPECT_EQ(boxes(), 0);
  EXPECT_EQ(at(96, 80), nearest);
}

// ALKI1 (OLM, 16L), HELNS5 (OLM, 10R) and I10R (HELNS) into ACTIVE FPL or an opened plan.
TEST_F(GnsxlsDirectTest, ProceduresAreChosenThroughTheirListsAndInsertedInBothListModes) {
  for (int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    start_unit();
    if (mode == 1) {
      build_route();
    } else {  // a new plan opened from the plan list
      open_next_fpl();
      add_fix("KSEA");
      add_fix("SEA");
      add_fix("KPDX");
    }
    std::string route_star = route_star_text;
    // DEPARTURE: the SID list, ALKI1's two transitions, then the runway list.
    press("L4");
    if (gnsxls_lsk_state[4] != 2) press("L4");
    press("ENTER");
    frames(1);
    ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_DEPARTURE);
    EXPECT_EQ(at(30, 160), "ALKI1 ?");
    press("ENTER");
    EXPECT_EQ(line(160), "OLM  ?");
    press("ENTER");
    EXPECT_EQ(colour_at(53, 40), YELLOW);  // runway list, nothing picked
    press("ENTER");                         // takes nothing
    EXPECT_EQ(route_dep_rwy, "------");
    press("L3");
    EXPECT_EQ(at(30, 160), "RW16L?");
    press("ENTER");
    EXPECT_EQ(at(53, 160), "WAYPOINTS OF SID:");
    EXPECT_EQ(at(30, 360), "SELECT?");
    press("ENTER");
    FlightPlanWpt* plan = mode == 1 ? fpl_active : fpl_edit;
    EXPECT_STREQ(plan[1].ident, "ALKIS");
    EXPECT_STREQ(plan[3].ident, "OLM");
    EXPECT_EQ(mode == 1 ? route_sid_text : edit_sid_text, "ALKI1");
    EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);

    // ARRIVAL: OLM leaves one STAR, HELNS5, and 10R is picked from its runways.
    press("L5");
    press("ENTER");
    frames(1);
    ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_STAR);
    EXPECT_EQ(at(30, 160), "OLM  ?");
    press("ENTER");
    EXPECT_EQ(pending_star, "HELNS5");
    EXPECT_EQ(at(30, 160), "RW10R?");
    press("ENTER");
    EXPECT_EQ(at(53, 160), "WAYPOINTS OF STAR:");
    press("ENTER");
    EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
    EXPECT_EQ(mode == 1 ? route_star_text : edit_star_text, "HELNS5");
    if (mode == 2) {
      EXPECT_EQ(route_star_text, route_star);  // the active plan keeps its texts
    }

    // APPROACH: 10R, the only approach I10R, then its transition HELNS.
    press("L5");
    press("L5");
    press("ENTER");
    frames(1);
    ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_APPROACH);
    press("L3");
    press("ENTER");
    EXPECT_EQ(pending_appr_type, "I10R");
    press("L3");
    EXPECT_EQ(at(30, 160), "HELNS?");
    press("ENTER");
    EXPECT_EQ(at(53, 160), "WPTS OF APPROACH:");
    EXPECT_EQ(at(30, 200), "IAF");
    EXPECT_EQ(at(110, 200), "HELNS");
    press("ENTER");
    EXPECT_EQ(gnsxls_page, mode == 1 ? GNSXLS_PAGE_FPL : GNSXLS_PAGE_APPROACH);
    EXPECT_EQ(gnsxls_proc_chosen[2], 0);
    int last = mode == 1 ? fpl_active_last : fpl_edit_last;
    EXPECT_STREQ(plan[last].ident, "KPDX");
    EXPECT_STREQ(plan[last - 1].ident, "BTG");  // the approach's hold point
    host_.stop();
  }
}

TEST_F(GnsxlsDirectTest, AnApproachAirportEndsThePressAndAnUnknownOneShowsNotFound) {
  start_unit();
  build_route();
  press("L5");
  press("L5");
  press("ENTER");
  frames(1);
  press("R1");  // the airport field
  type("KXYZ");
  press("ENTER");
  EXPECT_EQ(arr_airport_text, "------");
  EXPECT_TRUE(has("AIRPORT NOT FOUND"));
  EXPECT_TRUE(has("ENTER AIRPORT ID"));
  gnsxls_proc_chosen[2] = 1;  // an approach still chosen is not inserted
  std::vector<std::string> before = active_idents();
  press("R1");
  type("KPDX");
  press("ENTER");
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_DATABASE_WPT);
  EXPECT_EQ(at(75, 0), "DATABASE WPT 1/1");
  EXPECT_EQ(active_idents(), before);
  press("ENTER");
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_APPROACH);
  EXPECT_EQ(colour_at(53, 40), YELLOW);
  EXPECT_TRUE(has("RW10R"));
}

// Fields as PILOT ENTERED WPT and OFFSET WPT leave them.
TEST_F(GnsxlsDirectTest, PilotAndOffsetWaypointsGoInAtTheChosenRow) {
  start_unit();
  build_route();
  struct Field {
    std::string lat, lon;
    bool inserted;
    double want_lat;
  };
  const Field fields[] = {
      {"N 47 30.12", "W122 15.00", true, 47.502},
      {"N 91 00.00", "W122 15.00", false, 0.0},
      {"N 47 60.00", "W122 15.00", false, 0.0},
  };
  for (const Field& f : fields) {
    SCOPED_TRACE(f.lat);
    int last = fpl_active_last;
    gnsxls_page = GNSXLS_PAGE_PILOT_WPT;
    gnsxls_return_page = GNSXLS_PAGE_FPL;
    gnsxls_list_mode = 1;
    fpl_edit_index = 2;
    gnsxls_new_wpt_name = "PILOT";
    gnsxls_pos_lat = gnsxls_pos_lon = 0.0;
    gnsxls_pos_lat_text = f.lat;
    gnsxls_pos_lon_text = f.lon;
    gnsxls_pos_field = 1;
    click("ENTER");  // the latitude
    click("ENTER");  // the longitude, then the insertion
    EXPECT_EQ(fpl_active_last, f.inserted ? last + 1 : last);
    if (f.inserted) {
      EXPECT_NEAR(fpl_active[2].lat, f.want_lat, 1e-9);
    }
  }
  // OFFSET WPT after the active waypoint: the active index stays.
  int active = fpl_active_index;
  int last = fpl_active_last;
  route_entry_text = "SEA";
  create_user_waypoint(0);
  gnsxls_offset_choice = 1;
  gnsxls_offset_ref = "SEA";
  gnsxls_page = GNSXLS_PAGE_OFFSET_WPT;
  fpl_edit_index = active + 2;
  gnsxls_offset_radial_edit = "090.0";
  gnsxls_offset_dist = "  10.0";
  gnsxls_lsk_state[8] = 1;
  click("ENTER");
  click("ENTER");
  EXPECT_EQ(fpl_active_last, last);  // radial, then distance: nothing yet
  click("ENTER");
  EXPECT_EQ(fpl_active_last, last + 1);
  EXPECT_STREQ(fpl_active[active + 2].ident, "SEA*");
  EXPECT_STREQ(fpl_active[active + 2].type, "INT");
  EXPECT_GT(fpl_active[active + 2].lon, nav_search_list[1].lon);  // east of SEA
  EXPECT_EQ(fpl_active_index, active);

  // A full plan takes no more.
  for (int i = fpl_active_last + 1; i <= FPL_MAX_LAST; ++i) fpl_active[i] = fpl_active[1];
  fpl_active_last = FPL_MAX_LAST;
  set_end_record(fpl_active[FPL_MAX_LAST + 1]);
  gnsxls_page = GNSXLS_PAGE_OFFSET_WPT;
  click("ENTER");
  EXPECT_EQ(fpl_active_last, FPL_MAX_LAST);
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_OFFSET_WPT);
}

// A pilot waypoint put in the active plan at the FROM row, at the TO row or after it:
// the TO waypoint stays the TO waypoint.
TEST_F(GnsxlsDirectTest, APilotWaypointKeepsTheToWaypoint) {
  start_unit();
  build_route();
  ASSERT_GE(fpl_active_index, 1);
  for (int offset : {-1, 0, 1}) {
    SCOPED_TRACE(offset);
    const std::string to = fpl_active[fpl_active_index].ident;
    const int last = fpl_active_last;
    gnsxls_page = GNSXLS_PAGE_PILOT_WPT;
    gnsxls_return_page = GNSXLS_PAGE_FPL;
    gnsxls_list_mode = 1;
    fpl_edit_index = fpl_active_index + offset;
    gnsxls_new_wpt_name = "PILOT";
    gnsxls_pos_lat = gnsxls_pos_lon = 0.0;
    gnsxls_pos_lat_text = "N 47 30.12";
    gnsxls_pos_lon_text = "W122 15.00";
    gnsxls_pos_field = 1;
    click("ENTER");
    click("ENTER");
    ASSERT_EQ(fpl_active_last, last + 1);
    EXPECT_EQ(fpl_active[fpl_active_index].ident, to);
  }
}

// DIRECT-TO puts its DIRECT record before the chosen fix: a hold on a later fix stays on
// that fix, listed and flown there.
TEST_F(GnsxlsDirectTest, DirectToKeepsTheHoldOnItsFix) {
  start_unit();
  build_route();
  const int k = fpl_active_index;
  const int held = fpl_active_last - 1;
  ASSERT_GT(held, k);
  const std::string fix = fpl_active[held].ident;
  copy_active_to_edit();
  ASSERT_EQ(add_hold(held, 0), 1);
  commit_hold_indexes();
  sync_hold_numbers();
  press("DIRECT");
  enter_north_of(fpl_active[k].lat, fpl_active[k].lon, 180.0);
  ASSERT_STREQ(fpl_active[k].ident, "DIRECT");
  ASSERT_EQ(hold_count, 1);
  EXPECT_EQ(hold_list[1].active_wpt, held + 1);
  EXPECT_EQ(fpl_active[hold_list[1].active_wpt].ident, fix);
  EXPECT_EQ(fpl_active[held + 1].hold_number, 1);
  EXPECT_EQ(hold_fpl_index, held + 1);
}

}  // namespace
