// The GNS-XLS as a pilot uses it in flight: a hold set ahead and left with AUTO, the open
// row after insertions and deletions, entries that close when finished, refusals told on
// the message line, and the fields that must not print what they cannot hold.
#include <regex>

#include "gnsxls_fixture.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"
#include "navdb/navdb.h"
#include "guidance/waypoint_sequencing.h"
#include "guidance/hold_legs.h"

namespace {

class GnsxlsFlightTest : public GnsxlsTest {
 protected:
  // A flight ends with LNAV given up, as the pilot would on the ground.
  void TearDown() override {
    if (lnav_on == 1) lnav_toggle();
    GnsxlsTest::TearDown();
  }
  simhost::AircraftState& aircraft() { return host_.aircraft().state(); }

  // The route built at KSEA.
  void start_at_ksea(const std::vector<GaugeAt>& gauges = {{"GNSXLS", "Twinjet"}}) {
    start_unit(gauges);
    aircraft().lat = 47.44;
    aircraft().lon = -122.31;
    build_route();
  }
  // The route built, then the aircraft in flight `nm` north of BTG flying to it.
  void fly_toward_btg(double nm) {
    start_at_ksea({{"GNSXLS", "Twinjet"}, {"LNAV", "Twinjet"}});
    simhost::AircraftState& s = aircraft();
    s.lat = 45.8149 + nm / 60.0;
    s.lon = -122.5305;
    s.altitude_ft = 5000;
    s.ap_altitude_ft = 5000;
    s.heading_true = 180;
    s.ap_heading = 180;
    s.ias_kt = 200;
    s.ap_airspeed_kt = 200;
    s.on_ground = false;
    s.ap_master = true;
    fpl_active_index = 5;  // BTG
    active_wpt_lat = fpl_active[5].lat;
    active_wpt_lon = fpl_active[5].lon;
    host_.run_seconds(1);
  }
  void engage_lnav() {
    std::string error;
    ASSERT_TRUE(host_.click_index("LNAV", 0, &error)) << error;
    frames(2);
  }
  // Runs up to `seconds`, a second at a time, until `done` holds.
  template <typename F>
  bool run_until(int seconds, F done) {
    for (int i = 0; i < seconds; ++i) {
      if (done()) return true;
      host_.run_seconds(1);
    }
    return done();
  }
  // HOLDING PATTERN's exit mode stepped to `auto_exit` and kept.
  void choose_exit(bool auto_exit) {
    press("HOLD");
    press("R5");
    if ((at(360, 320) == "AUTO") != auto_exit) press("CLR");
    press("ENTER");
  }
};

TEST_F(GnsxlsFlightTest, AHoldSetAheadIsLeftAtItsFixWithAutoAndFlownWithManual) {
  for (bool auto_exit : {true, false}) {
    SCOPED_TRACE(auto_exit ? "AUTO" : "MANUAL");
    fly_toward_btg(8.0);
    frames(1);
    press("L2");  // BTG, the row after the FROM waypoint
    press("HOLD");
    ASSERT_EQ(hold_count, 1);
    EXPECT_EQ(at(30, 40), "AT BTG");
    EXPECT_EQ(at(360, 320), "MANUAL");
    choose_exit(auto_exit);
    EXPECT_EQ(at(360, 320), auto_exit ? "AUTO" : "MANUAL");
    engage_lnav();
    press("NAV");
    if (auto_exit) {
      // Over the fix and on: the hold ends there and KPDX is flown to.
      ASSERT_TRUE(run_until(600, [] { return hold_count == 0; }));
      EXPECT_TRUE(run_until(60, [] { return fpl_active_index == 6; }));
    } else {
      ASSERT_TRUE(run_until(600, [] { return holds_changed == 1 && holding_active >= 1; }));
      host_.run_seconds(120);
      EXPECT_EQ(hold_count, 1);
      frames(1);
      EXPECT_EQ(at(30, 40), "HOLD RIGHT");
      EXPECT_EQ(at(140, 110), "HOLDING");
      // AUTO chosen in the hold: EXIT HOLD with the time round the pattern, then out.
      choose_exit(true);
      press("NAV");
      EXPECT_EQ(at(30, 120), "EXIT HOLD");
      EXPECT_TRUE(std::regex_match(at(360, 120), std::regex("[0-9][0-9]:[0-5][0-9]"))) << at(360, 120);
      ASSERT_TRUE(run_until(900, [] { return hold_count == 0; }));
      EXPECT_TRUE(run_until(60, [] { return fpl_active_index == 6; }));
    }
    // LNAV flies on to KPDX, the last waypoint: off for the next case.
    if (lnav_on == 1) lnav_toggle();
    host_.stop();
  }
}

// An edit moves the records under the line keys (before the active waypoint the rows
// shift too): the open row, its box and HOLD follow the record left open.
TEST_F(GnsxlsFlightTest, HoldAndTheBoxFollowTheOpenRowAfterAnEdit) {
  struct Case {
    const char* name;
    const char* key;
    bool insert;
    int open_record;
    const char* ident;
    int hold_record;  // -1: the FROM row takes no hold
  };
  const Case cases[] = {{"insertion before the active waypoint", "L1", true, 4, "OLM", -1},
                        {"insertion after it", "L3", true, 7, "KPDX", 7},
                        {"deletion before it", "L1", false, 3, "DUBYA", 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fly_toward_btg(20.0);
    fpl_active_index = 4;  // DUBYA: the FROM row is OLM
    frames(1);
    press(c.key);
    if (c.insert) {
      type("UBG");
      press("ENTER");
      press("ENTER");
    } else {
      press("CLR");
      press("ENTER");
    }
    frames(1);
    ASSERT_EQ(fpl_edit_index, c.open_record);
    EXPECT_STREQ(fpl_active[c.open_record].ident, c.ident);
    EXPECT_STREQ(fpl_active[fpl_active_index].ident, "DUBYA");
    // The box stands on the open record's row.
    int row = c.open_record - (fpl_active_index - 1);
    EXPECT_EQ(boxes(), 1);
    EXPECT_EQ(gnsxls_trimmed(at(96, 40 + 40 * row)), std::string(c.ident));
    press("HOLD");
    if (c.hold_record < 0) {
      EXPECT_EQ(hold_count, 0);
    } else {
      ASSERT_EQ(hold_count, 1);
      EXPECT_EQ(hold_list[1].active_wpt, c.hold_record);
      EXPECT_EQ(at(30, 40), std::string("AT ") + c.ident);
    }
    host_.stop();
  }
}

// An entry finished (ENTER) or left (FPL) on PLAN, HOLDING PATTERN or VNAV DATA: ENTER on
// ACTIVE FPL then opens nothing and inserts nothing, and VNAV shows its page.
TEST_F(GnsxlsFlightTest, EntriesOfTheDataPagesCloseWhenFinishedOrLeft) {
  struct Case {
    const char* page_key;
    const char* field_key;
    const char* typed;
    bool finish;
  };
  const Case cases[] = {{"PLAN", "R2", "5", true},  {"PLAN", "R2", "5", false}, {"HOLD", "R2", "9", true},
                        {"HOLD", "R4", "2", true},  {"HOLD", "R2", "9", false}, {"VNAV", "R2", "8000", true},
                        {"VNAV", "R3", "2", true},  {"VNAV", "R2", "8000", false}};
  start_unit();
  build_route();
  press("L2");
  press("HOLD");
  ASSERT_EQ(hold_count, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.page_key) + " " + c.field_key + (c.finish ? " ENTER" : " left"));
    if (std::string(c.page_key) == "VNAV") {
      press("VNAV");
      press("L5");
      press("ENTER");
      ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_VNAV_DATA);
    } else {
      press(c.page_key);
    }
    press(c.field_key);
    for (char k : std::string(c.typed)) {
      type(std::string(1, k));
      frames(1);
    }
    if (c.finish) press("ENTER");
    int last = fpl_active_last;
    press("FPL");
    press("ENTER");
    frames(1);
    EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
    EXPECT_EQ(fpl_active_last, last);
    EXPECT_STREQ(fpl_active[0].ident, "KSEA");
    EXPECT_EQ(boxes(), 0);
    press("VNAV");
    EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_VNAV);
    press("FPL");
  }
}

// What an entry left blank, unset or out of range leaves: nothing changed, the reason on
// the message line where one is refused.
TEST_F(GnsxlsFlightTest, BlankUnsetAndOutOfRangeEntriesChangeNothing) {
  start_unit();
  build_route();
  // A cleared course field is no course 000.
  press("L2");
  press("HOLD");
  double course = hold_list[1].inbound_course;
  ASSERT_GT(course, 0.0);
  press("R2");
  for (int i = 0; i < 3; ++i) press("CLR");
  EXPECT_EQ(at(360, 120), "   ");
  press("ENTER");
  EXPECT_EQ(hold_list[1].inbound_course, course);

  // VNAV DATA: altitudes as PERF INIT takes them.
  struct Alt {
    const char* key;
    const char* typed;
    int32_t want_cruise, want_trans;
    const char* message;
  };
  cruise_alt = 12000;
  TransAlt = 18000;
  const Alt alts[] = {{"R2", "999999", 12000, 18000, "INVALID ENTRY"}, {"R2", "99999", 12000, 18000, "INVALID ENTRY"},
                      // A cruise level from 1,000 ft above the origin to MaxCruise (41,000 ft): the
                      // typed KSEA's 433 ft from the database.
                      {"R2", "300", 12000, 18000, "INVALID ENTRY"},  {"R2", "60000", 12000, 18000, "INVALID ENTRY"},
                      {"R2", "1000", 12000, 18000, "INVALID ENTRY"}, {"R2", "1432", 12000, 18000, "INVALID ENTRY"},
                      {"R2", "41100", 12000, 18000, "INVALID ENTRY"}, {"R2", "1433", 1433, 18000, ""},
                      {"R2", "41000", 41000, 18000, ""},
                      {"R2", "9000", 9000, 18000, ""},               {"R2R2", "ABC", 9000, 18000, "INVALID ENTRY"},
                      {"R2R2", "12K", 9000, 18000, "INVALID ENTRY"}, {"R2R2", "17000", 9000, 17000, ""}};
  gnsxls_page = GNSXLS_PAGE_VNAV_DATA;
  for (const Alt& a : alts) {
    SCOPED_TRACE(std::string(a.key) + " " + a.typed);
    press("FPL");
    gnsxls_page = GNSXLS_PAGE_VNAV_DATA;
    frames(1);
    for (std::size_t k = 0; k < std::string(a.key).size(); k += 2) press("R2");
    type(a.typed);
    frames(1);
    press("ENTER");
    EXPECT_EQ(cruise_alt, a.want_cruise);
    EXPECT_EQ(TransAlt, a.want_trans);
    EXPECT_EQ(gnsxls_message, a.message);
    if (*a.message) EXPECT_EQ(at(30, 0), a.message);
    else EXPECT_EQ(at(90, 0), "VNAV  DATA 1/1");
  }

  // OFFSET WPT: CLR on an unset radial keeps it unset; no POS and no "OK? ENTER" until both
  // are set; after NEXT the POS is the new reference's.
  press("FPL");
  press("L3");
  type("SEA*");
  press("ENTER");
  ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_OFFSET_WPT);
  press("R3");
  press("CLR");
  EXPECT_EQ(at(360, 160), "-----");
  press("ENTER");
  EXPECT_EQ(gnsxls_offset_radial, "-----");
  press("ENTER");
  EXPECT_EQ(at(180, 240), "----------");
  EXPECT_FALSE(has("OK? ENTER"));
  int last = fpl_active_last;
  press("ENTER");
  EXPECT_EQ(fpl_active_last, last);
}

// Refusals say why on the message line until the next key.
TEST_F(GnsxlsFlightTest, RefusalsAreToldOnTheMessageLine) {
  start_unit();
  build_route();
  // LOAD ATC RTE? without a simulator route.
  press("R5");
  press("R5");
  EXPECT_TRUE(has("LOAD ATC RTE?"));
  press("ENTER");
  frames(1);
  EXPECT_EQ(at(30, 0), "NO ACTIVE GPS RTE");
  EXPECT_EQ(at(90, 0), "");
  press("NEXT");
  EXPECT_EQ(at(30, 0), "");

  // An unknown airport typed on DEPARTURE.
  press("FPL");
  press("L4");
  press("L4");
  press("ENTER");
  frames(1);
  ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_DEPARTURE);
  ASSERT_EQ(gnsxls_lsk_state[6], 1);  // the airport open for entry
  type("KXXX");
  press("ENTER");
  frames(1);
  EXPECT_EQ(at(30, 0), "AIRPORT NOT FOUND");

  // A full plan: DIRECT-TO and a typed fix are refused with "FPL FULL".
  press("FPL");
  for (int i = fpl_active_last + 1; i <= FPL_MAX_LAST; ++i) fpl_active[i] = fpl_active[2];
  fpl_active_last = FPL_MAX_LAST;
  set_end_record(fpl_active[FPL_MAX_LAST + 1]);
  press("DIRECT");
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
  EXPECT_EQ(at(30, 0), "FPL FULL");
  press("L2");
  type("OLM");
  press("ENTER");
  press("ENTER");
  EXPECT_EQ(fpl_active_last, FPL_MAX_LAST);
  frames(1);
  EXPECT_EQ(at(30, 0), "FPL FULL");
}

// DEPART? with every text chosen previews that departure's legs, not the last preview.
TEST_F(GnsxlsFlightTest, DepartWithEverythingChosenPreviewsThatDeparture) {
  start_unit();
  build_route();
  route_sid_text = "ALKI1";
  route_sid_trans_text = "OLM";
  route_dep_runway_text = "16L";
  press("L5");  // ARRIVE? builds a STAR preview first
  press("ENTER");
  frames(1);
  press("FPL");
  press("L4");
  press("L4");
  press("ENTER");
  frames(1);
  ASSERT_TRUE(has("WAYPOINTS OF SID:"));
  EXPECT_TRUE(has("ALKIS"));
  EXPECT_FALSE(has("HELNS"));
}


// Speeds, climbs and fuel the aircraft itself gives (the update reads them from the host
// every frame): each field shows a value only when it has one it can print.
TEST_F(GnsxlsFlightTest, SlowSpeedsAndNoFuelFlowLeaveTheFieldsDashed) {
  struct Case {
    const char* name;
    bool on_ground;
    double ias, headroom;  // headroom: ground speed left after a headwind, 0 for no wind
    double vs, fuel;
    bool times;  // EXIT HOLD and EST CROSSING have a value
    bool endurance;
  };
  const Case cases[] = {{"2 kt on the ground, slowing", true, 2.0, 0.0, 0.0, 5000.0, false, false},
                        {"3 kt climbing into the wind", false, 150.0, 3.0, 1500.0, 5000.0, false, false},
                        {"40 kt into the wind", false, 150.0, 40.0, 0.0, 5000.0, false, false},
                        {"250 kt without fuel", false, 250.0, 0.0, 0.0, 0.0, true, false},
                        {"250 kt climbing", false, 250.0, 0.0, 1500.0, 5000.0, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fly_toward_btg(30.0);
    simhost::AircraftState& s = aircraft();
    s.ap_master = false;
    s.on_ground = c.on_ground;
    s.ias_kt = c.ias;
    s.vs_fpm = c.vs;
    s.fuel_gallons = c.fuel;
    host_.run_seconds(1);
    // The headwind follows the true airspeed until the ground speed settles.
    for (int k = 0; k < 3 && c.headroom > 0.0; ++k) {
      s.wind_dir = s.heading_true;
      s.wind_speed_kt = true_airspeed - c.headroom;
      host_.run_seconds(1);
    }
    host_.run_seconds(1);
    ASSERT_GT(ground_speed, 0.0);
    if (!c.times) {
      ASSERT_LT(ground_speed, 50.0);
    }
    cruise_alt = 0;  // VNAV estimates the crossing at the active waypoint
    // A hold at BTG being flown with AUTO: NAVIGATION shows EXIT HOLD and its time.
    press("L2");
    press("HOLD");
    ASSERT_EQ(hold_count, 1);
    hold_exit_state = 2;
    holds_changed = 1;
    holding_active = 1;
    for (int k = 0; k <= 4; ++k) {
      hold_list[1].pattern_lat[k] = hold_list[1].lat + 0.01 * k;
      hold_list[1].pattern_lon[k] = hold_list[1].lon;
    }
    press("NAV");
    EXPECT_EQ(at(30, 120), "EXIT HOLD");
    std::string exit_time = at(360, 120);
    if (c.times) EXPECT_TRUE(std::regex_match(exit_time, std::regex("[0-9][0-9]:[0-5][0-9]"))) << exit_time;
    else EXPECT_EQ(exit_time, "-----");
    press("VNAV");
    ASSERT_EQ(at(30, 120), "EST CROSSING");
    std::string crossing = at(380, 120);
    if (c.times) EXPECT_TRUE(std::regex_match(crossing, std::regex("[ 0-9]{4}[0-9]"))) << crossing;
    else EXPECT_EQ(crossing, "-----");
    press("PLAN");
    EXPECT_EQ(at(90, 40), "FUEL STATUS");
    std::string hours = at(360, 280), range = at(360, 320);
    if (c.endurance) {
      EXPECT_TRUE(std::regex_match(hours, std::regex("[0-9][0-9]:[0-5][0-9]"))) << hours;
      EXPECT_TRUE(std::regex_match(range, std::regex("[ 0-9]{4}[0-9]"))) << range;
    } else {
      EXPECT_EQ(hours, "-----");
      EXPECT_EQ(range, "-----");
    }
    host_.stop();
  }
}

// NAVIGATION 4/4 shows the present position in the "N DD MM.SS" / "EDDD MM.SS" fields.
TEST_F(GnsxlsFlightTest, NavigationShowsThePositionInItsFields) {
  struct Case {
    double lat, lon;
    const char* lat_text;
    const char* lon_text;
  };
  const Case cases[] = {{47.5, 8.25, "N 47 30.00", "E 08 15.00"}, {8.5, -122.25, "N 08 30.00", "W122 15.00"},
                        {-33.75, 151.5, "S 33 45.00", "E151 30.00"}};
  start_unit();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lat_text);
    aircraft().lat = c.lat;
    aircraft().lon = c.lon;
    aircraft().on_ground = true;
    aircraft().ias_kt = 0.0;
    host_.run_seconds(1);
    gnsxls_page = GNSXLS_PAGE_NAV;
    gnsxls_nav_subpage = 4;
    frames(1);
    EXPECT_EQ(at(200, 120), c.lat_text);
    EXPECT_EQ(at(200, 160), c.lon_text);
  }
}


// The VNAV list: records from 1 with "#TOC" and "#TOD" each once, seven rows a sub-page,
// however the pseudo-rows fall across the sub-pages.
TEST_F(GnsxlsFlightTest, VnavListShowsEachPseudoRowOnce) {
  start_at_ksea();
  press("L2");
  press("L2");  // CARRO
  add_fix("JAWBN");
  add_fix("PAE");
  cruise_alt = 9000;
  host_.run_seconds(2);
  press("NAV");
  press("VNAV");
  std::vector<std::string> shown;
  for (int sub = 2; sub <= gnsxls_vnav_subpages; ++sub) {
    press("NEXT");
    for (int r = 0; r < 7; ++r) {
      std::string t = at(30, 80 + 40 * r);
      if (!t.empty()) shown.push_back(t);
    }
  }
  // From a fresh start #TOC falls on the last row of the first list page; wherever the
  // pseudo-rows fall, every row shows once and the records keep their order.
  std::vector<std::string> records;
  for (const std::string& t : shown)
    if (t[0] != '#') records.push_back(t);
  const std::vector<std::string> route = {"SEA", "JAWBN", "PAE", "CARRO", "OLM", "DUBYA", "BTG", "KPDX"};
  EXPECT_EQ(records, route);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), "#TOC"), 1);
  EXPECT_LE(std::count(shown.begin(), shown.end(), "#TOD"), 1);
}


// An offset waypoint before a hold moves the hold's record by one; POS is always that of
// the reference shown, and ENTER inserts that point.
TEST_F(GnsxlsFlightTest, OffsetWaypointsKeepTheHoldAndTakeTheReferenceShown) {
  start_at_ksea();
  press("L4");  // BTG
  press("HOLD");
  ASSERT_EQ(hold_list[1].active_wpt, 5);
  press("FPL");
  press("L3");  // OLM
  type("PAMMS*");  // two intersections of that name
  press("ENTER");
  ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_OFFSET_WPT);
  ASSERT_EQ(fix_match_count, 2);
  press("R3");
  for (char k : std::string("0900")) {
    type(std::string(1, k));
    frames(1);
  }
  press("ENTER");
  for (char k : std::string("100")) {
    type(std::string(1, k));
    frames(1);
  }
  press("ENTER");
  std::string first = at(180, 280);
  EXPECT_NE(first, "----------");
  EXPECT_TRUE(has("OK? ENTER"));
  press("NEXT");
  std::string second = at(180, 280);
  EXPECT_NE(second, first);
  EXPECT_NE(second, "----------");
  double lat = gnsxls_offset_lat, lon = gnsxls_offset_lon;
  press("ENTER");
  ASSERT_STREQ(fpl_active[3].ident, "PAMMS*");
  EXPECT_NEAR(fpl_active[3].lat, lat, 1e-9);
  EXPECT_NEAR(fpl_active[3].lon, lon, 1e-9);
  EXPECT_NEAR(fpl_active[3].lat, 45.9, 0.1);  // by the second PAMMS
  EXPECT_EQ(hold_list[1].active_wpt, 6);
  EXPECT_EQ(hold_fpl_index, 6);
  EXPECT_STREQ(fpl_active[6].ident, "BTG");
}

// A stored plan opened and activated over the route: in flight it goes on from the fix
// being flown, which it holds, and LNAV flies on to it; on the ground it starts at record 1.
TEST_F(GnsxlsFlightTest, AStoredPlanActivatedInFlightGoesOnFromTheFixFlown) {
  struct Case {
    bool in_flight;
    const char* active;  // after the activation
  };
  for (const Case& c : {Case{true, "BTG"}, Case{false, "ALKIS"}}) {
    SCOPED_TRACE(c.in_flight ? "in flight" : "on the ground");
    if (c.in_flight) {
      fly_toward_btg(20);
      engage_lnav();
      host_.run_seconds(5);
    } else {
      start_at_ksea();
      aircraft().on_ground = true;
      host_.run_seconds(1);
    }
    for (int i = 0; i < 6 && gnsxls_list_mode != 2; ++i) press("FPL");
    ASSERT_EQ(gnsxls_list_mode, 2);
    press("R2");  // the stored KSEAKPDX
    press("ENTER");
    frames(1);
    press("R5");
    press("ENTER");
    frames(1);
    ASSERT_STREQ(fpl_active[1].ident, "ALKIS") << "the stored plan is active";
    ASSERT_TRUE(fpl_valid_index(fpl_active_index, fpl_active_last));
    EXPECT_STREQ(fpl_active[fpl_active_index].ident, c.active);
    if (!c.in_flight) continue;
    const double before = std::hypot(aircraft().lat - 45.8149, (aircraft().lon + 122.5305) * 0.7);
    host_.run_seconds(10);
    EXPECT_LT(std::hypot(aircraft().lat - 45.8149, (aircraft().lon + 122.5305) * 0.7), before) << "flown on to BTG";
    EXPECT_STREQ(fpl_active[fpl_active_index].ident, c.active);
    host_.stop();
  }
}

}  // namespace

namespace {

// The approach of the plan changed to another runway's, through FPL's approach row, at
// the gate and in flight toward BTG: the new runway lists its own approaches and
// transitions, and the one chosen replaces the old in the active plan, the fix flown kept.
TEST_F(GnsxlsFlightTest, AnotherRunwaysApproachReplacesThePlansApproach) {
  struct Case {
    bool in_flight;
    const char* active;  // after the insertion
  };
  for (const Case& c : {Case{false, "SEA"}, Case{true, "BTG"}}) {
    SCOPED_TRACE(c.in_flight ? "in flight" : "at the gate");
    if (c.in_flight) fly_toward_btg(20);
    else start_at_ksea();
    // I10R from HELNS, as a pilot puts it in.
    auto open_approach = [this] {
      press("NAV");
      press("FPL");
      press("L5");
      press("L5");
      press("ENTER");
      frames(1);
      ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_APPROACH);
    };
    open_approach();
    press("L3");
    press("ENTER");
    ASSERT_EQ(pending_appr_type, "I10R");
    press("L3");
    press("ENTER");
    press("ENTER");
    ASSERT_EQ(route_appr_type_text, "I10R");
    // RW28L picked for the approach row: R28L, its one approach, and its transition BTG.
    open_approach();
    for (int i = 0; i < 6 && gnsxls_scratchpad != "28L"; ++i) press("L3");
    ASSERT_EQ(gnsxls_scratchpad, "28L") << line(160);
    press("ENTER");
    EXPECT_EQ(pending_appr_type, "R28L");
    EXPECT_EQ(pending_appr_trans, "------") << "the transitions of R28L listed";
    press("L3");
    EXPECT_EQ(at(30, 160), "BTG  ?");
    press("ENTER");
    EXPECT_EQ(at(110, 200), "BTG");
    press("ENTER");
    EXPECT_EQ(route_appr_type_text, "R28L");
    std::vector<std::string> idents = active_idents();
    EXPECT_EQ(std::count(idents.begin(), idents.end(), "HELNS"), 0) << "the old approach is gone";
    EXPECT_EQ(idents.back(), "KPDX");
    ASSERT_TRUE(fpl_valid_index(fpl_active_index, fpl_active_last));
    EXPECT_STREQ(fpl_active[fpl_active_index].ident, c.active);
    host_.stop();
  }
}

}  // namespace
