// A route typed on the GNS-XLS: NEXT FPL, idents confirmed on DATABASE WPT, an airway
// ended on AIRWAY, DELETE?, activation, the ACTIVE FPL view, SAVE ACTIVE FPL.
#include <cstring>
#include <fstream>
#include <regex>

#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "geo/great_circle.h"
#include "cdu/gnsxls/page_frame.h"
#include "gnsxls_fixture.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "navdb/navdb.h"

TEST_F(GnsxlsTest, RouteTypedFromNextFplIsActivatedAndShownFromTheFromWaypoint) {
  start_unit();
  EXPECT_EQ(at(45, 0), "FLIGHT PLAN LIST 1/1");
  EXPECT_FALSE(has("NEXT FPL"));  // shown only once chosen
  press("R2");
  press("R2");
  EXPECT_EQ(colour_at(30, 120), YELLOW);
  press("ENTER");
  frames(1);
  // The empty plan's first row opens by the queued L1.
  EXPECT_EQ(at(30, 0), "FLIGHT PLAN 2  1/1");
  EXPECT_EQ(at(96, 40), "******");
  EXPECT_EQ(boxes(), 1);

  add_fix("KSEA");
  EXPECT_EQ(at(96, 40), "KSEA");
  EXPECT_EQ(at(96, 80), "******");  // the next row is open
  add_fix("SEA");
  type("#V23");
  press("ENTER");
  EXPECT_EQ(line(0), "AIRWAY | V23 | 1/1");
  EXPECT_EQ(line(200), "TO | SEA?");  // joined at the fix before the typed row, end not chosen
  press("L1");
  EXPECT_EQ(line(40), "TO | BTG?");
  EXPECT_EQ(colour_at(75, 80), YELLOW);  // DUBYA lies between
  EXPECT_EQ(colour_at(75, 240), GREEN);  // JAWBN does not
  press("ENTER");
  EXPECT_EQ(at(30, 0), "FLIGHT PLAN 2  1/2");
  press("NEXT");
  press("L1");
  add_fix("KPDX");
  EXPECT_EQ(at(30, 0), "FLIGHT PLAN 2  2/2");
  press("R5");
  EXPECT_TRUE(has("SELECT?"));
  press("ENTER");
  frames(1);

  EXPECT_EQ(active_idents(),
            (std::vector<std::string>{"KSEA", "SEA", "CARRO", "OLM", "DUBYA", "BTG", "KPDX"}));
  EXPECT_STREQ(fpl_active[7].ident, "******");
  EXPECT_STREQ(fpl_active[3].via, "V23");
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_EQ(fpl_active_dest_index, 6);
  EXPECT_EQ(route_dest_text, "KPDX");
  EXPECT_EQ(at(90, 0), "ACTIVE FPL   1/2");  // rows from the FROM waypoint: 7 - 1 + 3
  EXPECT_EQ(line(40), "KSEA | - | KPDX");
  EXPECT_EQ(colour_at(96, 80), MAGENTA);  // the TO waypoint
}

TEST_F(GnsxlsTest, DatabaseWptPagesThroughTheCandidatesAndInsertsTheOneShown) {
  std::ofstream(folder_ + "/vek/navdata/ints.txt", std::ios::app) << "SEA 46.500000 -121.000000\n";
  start_unit();
  open_next_fpl();
  add_fix("KSEA");
  type("SEA");
  press("ENTER");
  EXPECT_EQ(at(75, 0), "DATABASE WPT 1/2");
  EXPECT_EQ(at(300, 120), "VOR");
  EXPECT_EQ(at(300, 240), "116.80");
  EXPECT_EQ(line(160), "POS | N 47 26.07");
  EXPECT_EQ(at(200, 200), "W122 18.34");
  press("NEXT");
  EXPECT_EQ(at(75, 0), "DATABASE WPT 2/2");
  EXPECT_EQ(at(300, 120), "INT");
  press("NEXT");
  EXPECT_EQ(at(75, 0), "DATABASE WPT 1/2");  // wraps
  press("PREV");
  // FLYOVER: R5 opens the answer, CLR turns it to YES, ENTER keeps it.
  press("R5");
  EXPECT_EQ(at(320, 320), "NO?");
  click("CLR");
  press("ENTER");
  EXPECT_EQ(at(320, 320), "YES");
  press("ENTER");
  EXPECT_DOUBLE_EQ(fpl_edit[1].lat, 46.5);
  EXPECT_EQ(fpl_edit[1].flyover, 1);
  EXPECT_EQ(gnsxls_answer, "NO");
}

TEST_F(GnsxlsTest, DeletingAProcedureLegClearsThatProcedureOnly) {
  start_unit();
  open_next_fpl();
  for (const char* f : {"KSEA", "CARRO", "OLM", "DUBYA", "BTG"}) add_fix(f);
  fpl_set_text(fpl_edit[1].segment, "SIDSTAR");
  fpl_set_text(fpl_edit[2].segment, "SID");
  fpl_set_text(fpl_edit[3].segment, "APPR");
  fpl_set_text(fpl_edit[4].segment, "STAR");
  press("L2");  // row 1, CARRO
  EXPECT_EQ(at(116, 80), "CARRO ");
  click("CLR");
  frames(1);
  EXPECT_EQ(at(230, 80), "DELETE?");
  press("ENTER");
  EXPECT_STREQ(fpl_edit[1].ident, "OLM");
  frames(1);
  EXPECT_EQ(at(96, 80), "OLM   ");  // the record that moved up, still open
  EXPECT_STREQ(fpl_edit[1].segment, "");      // SID
  EXPECT_STREQ(fpl_edit[2].segment, "APPR");  // the approach stays
  EXPECT_STREQ(fpl_edit[3].segment, "");      // STAR
  EXPECT_EQ(fpl_edit_last, 3);
  EXPECT_STREQ(fpl_edit[4].ident, "******");
}

// A leg inserted into or deleted from the arrival ends the procedure's marks, but the
// published altitudes and speeds of its other records stay constraints VNAV meets.
TEST_F(GnsxlsTest, PublishedConstraintsStayWhenAnEditEndsTheProcedure) {
  struct Case {
    const char* name;
    bool insert;  // a fix typed on the row, else the row's record deleted
  };
  const Case cases[] = {{"UBG typed before OLM", true}, {"OLM deleted", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    start_unit();
    open_next_fpl();
    for (const char* f : {"KSEA", "OLM", "DUBYA", "FOURT", "HELNS"}) add_fix(f);
    for (int i = 1; i <= 3; ++i) fpl_set_text(fpl_edit[i].segment, "STAR");
    fpl_edit[2].alt_constraint = 17000;
    fpl_edit[3].alt_constraint = 11000;
    fpl_edit[3].spd_constraint = 280;
    press("L2");  // row 1, OLM
    if (c.insert) {
      add_fix("UBG");
    } else {
      click("CLR");
      frames(1);
      press("ENTER");
    }
    ASSERT_STREQ(fpl_edit[1].ident, c.insert ? "UBG" : "DUBYA");
    for (int i = 1; i <= fpl_edit_last; ++i) {
      const FlightPlanWpt& r = fpl_edit[i];
      EXPECT_STREQ(r.segment, "") << r.ident;  // the marks are gone
      bool published = std::strcmp(r.ident, "DUBYA") == 0 || std::strcmp(r.ident, "FOURT") == 0;
      EXPECT_EQ(fpl_has_constraint(r), published) << r.ident;
    }
    EXPECT_EQ(fpl_edit[c.insert ? 4 : 2].spd_constraint, 280);
  }
}

TEST_F(GnsxlsTest, ActiveFplColumnsAndMarkersFollowTheFlight) {
  start_unit({{"GNSXLS", "Twinjet"}, {"LNAV", "Twinjet"}});
  simhost::AircraftState& s = host_.aircraft().state();
  s.lat = 47.44;
  s.lon = -122.31;
  s.altitude_ft = 3000;
  s.ias_kt = 250;
  build_route();
  host_.run_seconds(2);
  std::string error;
  ASSERT_TRUE(host_.click_index("LNAV", 0, &error)) << error;
  frames(2);
  EXPECT_EQ(at(30, 80), "TO ");
  EXPECT_EQ(colour_at(30, 80), MAGENTA);
  struct Row {
    std::string name, pattern;
    uint32_t colour;
  };
  const Row rows[] = {{"ETE", "[0-9][0-9]:[0-9][0-9]", CYAN}, {"ETA", "[0-9][0-9]:[0-9][0-9]", CYAN},
                      {"DIS", "  [ 0-9][0-9]", GREEN}, {"ALT", "[ 0-9]{4}[0-9]|-----", CYAN}};  // predicted or none
  press("R5");
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(at(380, 320), r.name == "ETE" ? r.name : r.name + "?");  // "?" while not the kept one
    EXPECT_TRUE(std::regex_match(at(300, 160), std::regex(r.pattern))) << at(300, 160);
    EXPECT_EQ(colour_at(300, 160), r.colour);
    press("CLR");
  }
  EXPECT_EQ(at(380, 320), "ETE");
  press("CLR");
  press("CLR");
  press("ENTER");  // DIS kept: shown after FPL from another page
  press("NAV");
  press("FPL");
  EXPECT_EQ(at(380, 320), "DIS");
  // Standing still, ETE shows dashes.
  s.ias_kt = 0;
  s.on_ground = true;
  host_.run_seconds(3);
  press("R5");
  press("CLR");
  press("CLR");
  press("CLR");
  EXPECT_EQ(at(300, 160), "------");
}

// A discontinuity after the TO waypoint: its row shows no time or distance, and the leg of
// the next row is measured from the TO waypoint, not from 0N 0E.
TEST_F(GnsxlsTest, ActiveFplMeasuresPastADiscontinuity) {
  start_unit();
  build_route();
  const int k = fpl_active_index;
  ASSERT_LE(k + 2, fpl_active_last);
  clear_fpl_record(fpl_active[k + 1]);
  fpl_set_text(fpl_active[k + 1].ident, FPL_DISCO_IDENT);
  double leg = 0.0, course = 0.0;
  compute_gc_distance_course(fpl_active[k].lat, fpl_active[k].lon, fpl_active[k + 2].lat, fpl_active[k + 2].lon, leg,
                             course);
  for (int column : {1, 2, 3}) {
    SCOPED_TRACE(column);
    gnsxls_fpl_column = column;
    frames(1);
    EXPECT_EQ(at(300, 120), "");
  }
  EXPECT_EQ(at(300, 160), gns_format("%4.0f", leg));
}

TEST(GnsxlsClock, EtasReadOneClock) {
  // Zulu 10:50, local 02:50: 1 h 20 min from now is 12:10 zulu or 04:10 local, hour and
  // minute from the same clock.
  zulu_hour = 10, zulu_minute = 50, clock_hour = 2, clock_minute = 50;
  for (const auto& [local, shown] : {std::pair{0, "12:10"}, std::pair{1, "04:10"}}) {
    DispETALocalTime = local;
    EXPECT_EQ(gns_eta_text(1, 20), shown) << local;
  }
  DispETALocalTime = 0;
}

TEST(GnsxlsClock, MinutesAreRoundedBeforeTheCarry) {
  struct Case {
    double h, m;
    bool clock;
    const char* shown;
  };
  const Case cases[] = {{23, 70, true, "00:10"}, {12, 60, true, "13:00"}, {10, 59.6, true, "11:00"},
                        {23, 59.7, true, "00:00"}, {25, 59.7, false, "26:00"}, {0, 4.4, false, "00:04"}};
  for (const Case& c : cases) EXPECT_EQ(gns_clock_text(c.h, c.m, c.clock), c.shown) << c.h << " " << c.m;
}
