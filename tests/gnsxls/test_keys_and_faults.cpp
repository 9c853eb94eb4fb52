// The frame and keypad rules, CLR by page, and the entries the unit refuses or mends.
#include <filesystem>
#include <functional>

#include "cdu/mcu/mcu_state.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "gnsxls_fixture.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "navdb/navdb.h"

TEST_F(GnsxlsTest, AKeyPressedOnADarkUnitActsOnItsFirstPoweredFrame) {
  start_unit();
  host_.aircraft().state().avionics_power = false;
  host_.run_seconds(1);
  press("R2");
  frames(5);
  EXPECT_EQ(gnsxls_pending_lsk, 7);  // the key waits, unseen
  EXPECT_EQ(gnsxls_lsk_state[7], 0);
  host_.aircraft().state().avionics_power = true;
  host_.run_seconds(1);
  EXPECT_EQ(at(395, 80), "1");  // entry 1 chosen: its number boxed
  EXPECT_EQ(boxes(), 1);
}

TEST_F(GnsxlsTest, OfTwoLineKeysBeforeOneFrameOnlyTheLastActs) {
  start_unit();
  open_next_fpl();
  add_fix("KSEA");
  add_fix("SEA");
  click("L2");
  click("L1");
  frames(1);
  EXPECT_EQ(at(96, 40), "KSEA  ");
  EXPECT_EQ(boxes(), 1);
  EXPECT_EQ(at(96, 80), "SEA");
}

TEST_F(GnsxlsTest, ClrActsByPage) {
  struct Case {
    const char* name;
    std::function<void()> setup;
    std::function<void()> check;
  };
  const Case cases[] = {
      {"a typed entry loses its last character",
       [this] {
         open_next_fpl();
         type("KSE");
       },
       [this] { EXPECT_EQ(at(96, 40), "KS    "); }},
      {"AIRWAY is left without joining the airway",
       [this] {
         open_next_fpl();
         add_fix("KSEA");
         add_fix("SEA");
         type("#V23");
         press("ENTER");
         press("L1");
       },
       [this] {
         EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
         EXPECT_EQ(fpl_edit_last, 1);
         EXPECT_EQ(at(96, 120), "******");
       }},
      {"APPROACH opened from page 1 goes back to it",
       [this] {
         build_route();
         press("L5");
         press("L5");
         press("ENTER");
         ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_APPROACH);
       },
       [this] { EXPECT_EQ(at(90, 0), "ACTIVE FPL   1/2"); }},
      {"HOLDING PATTERN toggles the turn and exit choices",
       [this] {
         build_route();
         press("L2");
         press("HOLD");
         ASSERT_EQ(gnsxls_page, GNSXLS_PAGE_HOLD);
         gnsxls_lsk_state[8] = gnsxls_lsk_state[10] = 1;
       },
       [] {
         EXPECT_EQ(hold_turn_choice, 2);
         EXPECT_EQ(hold_exit_choice, 2);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    start_unit();
    c.setup();
    press("CLR");
    c.check();
  }
}

TEST_F(GnsxlsTest, PrevAndNextWithNothingToStepDoNothing) {
  start_unit();
  gnsxls_page = GNSXLS_PAGE_DATABASE_WPT;
  fix_match_count = 0;
  nav_search_count = 0;
  press("NEXT");
  press("PREV");
  EXPECT_EQ(nav_search_count, 0);
}

TEST_F(GnsxlsTest, DirectToDoesNothingWithoutAPlanOrWhenTheCopyWouldNotFit) {
  start_unit();
  press("DIRECT");
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
  static FlightPlanWpt recs[FPL_CAPACITY];
  for (int i = 0; i <= FPL_MAX_LAST; ++i) {
    clear_fpl_record(recs[i]);
    fpl_set_text(recs[i].ident, "FIX");
  }
  ASSERT_EQ(set_active_plan(recs, FPL_MAX_LAST, 1), 1);
  press("DIRECT");
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
  EXPECT_EQ(fpl_edit_last, -1);
  EXPECT_STREQ(fpl_active[FPL_MAX_LAST + 1].ident, "******");
}

TEST_F(GnsxlsTest, HoldNeedsAChosenRowWithALegIntoIt) {
  start_unit();
  build_route();
  press("NEXT");  // rows KPDX, ******
  press("L2");    // the end record
  press("HOLD");  // refused: no hold, HOLDING PATTERN not opened
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
  EXPECT_EQ(hold_count, 0);
  press("PREV");
  press("L2");  // SEA
  press("HOLD");
  ASSERT_EQ(hold_count, 1);
  EXPECT_EQ(hold_list[1].active_wpt, 1);
  EXPECT_STREQ(hold_list[1].ident, "Fix");
  EXPECT_GE(hold_list[1].inbound_course, 0.0);
  EXPECT_LT(hold_list[1].inbound_course, 360.0);

  // HOLDING PATTERN ENTER: values a hold cannot fly are ignored; the leg mode is the hold's.
  struct Entry {
    int key, state;
    std::string* field;
    const char* text;
  };
  const Entry entries[] = {{7, 1, &hold_course_entry, "400"}, {9, 1, &hold_time_entry, "0"},
                           {7, 1, &hold_course_entry, "360"}, {9, 2, &hold_dist_entry, "6"}};
  HoldRecord before = hold_list[1];
  for (const Entry& e : entries) {
    *e.field = e.text;
    gnsxls_lsk_state[e.key] = e.state;
    press("ENTER");
  }
  EXPECT_EQ(hold_list[1].leg_time, before.leg_time);
  EXPECT_EQ(hold_list[1].inbound_course, 0.0);
  EXPECT_EQ(hold_list[1].leg_dist, 6.0);
  EXPECT_EQ(hold_list[1].leg_mode, 2);

  // Deleting the held fix takes the hold with it.
  press("FPL");
  press("L2");
  press("CLR");
  press("ENTER");
  EXPECT_EQ(hold_count, 0);
  EXPECT_STREQ(fpl_active[1].ident, "CARRO");
}

TEST_F(GnsxlsTest, SaveActiveFplWritesAFileThatLoadsBackEqual) {
  start_unit();
  build_route();
  press("R4");
  EXPECT_TRUE(has("SAVE FPL?"));
  press("ENTER");
  EXPECT_EQ(line(120), "KSEAKPDX | .RTE");
  EXPECT_EQ(at(30.0 + 20.0 * 8, 120), ".RTE");
  press("L2");
  // Refused names keep the page with the message until the next key.
  for (const char* bad : {"*", ""}) {
    SCOPED_TRACE(bad);
    type(bad);
    for (int i = 0; i < 10 && *bad == '\0'; ++i) press("CLR");
    press("ENTER");
    EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_SAVE_FPL);
    EXPECT_EQ(at(30, 160), " Unable to Save");
    EXPECT_EQ(colour_at(30, 160), YELLOW);
    press("CLR");
    EXPECT_EQ(at(30, 160), "");
  }
  type("GNSRTE");
  press("ENTER");
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
  std::vector<std::string> saved = active_idents();
  ASSERT_EQ(load_plan_file("GNSRTE.RTE", 0), 1);
  std::vector<std::string> loaded;
  for (int i = 0; i <= fpl_edit_last; ++i) {
    loaded.push_back(fpl_edit[i].ident);
    EXPECT_NEAR(fpl_edit[i].lat, fpl_active[i].lat, 1e-5);
  }
  EXPECT_EQ(loaded, saved);
}

TEST_F(GnsxlsTest, AnInsertionIntoAFullPlanIsRefusedWithTheRowOpen) {
  start_unit();
  open_next_fpl();
  add_fix("KSEA");
  for (int i = 1; i <= FPL_MAX_LAST; ++i) fpl_edit[i] = fpl_edit[0];
  fpl_edit_last = FPL_MAX_LAST;
  set_end_record(fpl_edit[FPL_MAX_LAST + 1]);
  press("L1");
  type("SEA");
  press("ENTER");
  press("ENTER");
  EXPECT_EQ(gnsxls_page, GNSXLS_PAGE_FPL);
  EXPECT_EQ(fpl_edit_last, FPL_MAX_LAST);
  EXPECT_STREQ(fpl_edit[FPL_MAX_LAST + 1].ident, "******");
  EXPECT_EQ(at(96, 40), "SEA   ");
}

TEST_F(GnsxlsTest, AnAirwayLineWithoutAFixKeepsTheEnd) {
  start_unit();
  open_next_fpl();
  add_fix("KSEA");
  add_fix("SEA");
  type("#V23");
  press("ENTER");
  press("R1");  // line 9: V23 has 8 fixes
  EXPECT_EQ(airway_end_index, airway_start_index);
  EXPECT_EQ(line(200), "TO | SEA?");
}

TEST_F(GnsxlsTest, AnAirportTypedLastBecomesTheDestination) {
  start_unit();
  build_route();
  press("NEXT");
  press("L2");  // the end record after KPDX
  add_fix("KSEA");
  EXPECT_EQ(route_dest_text, "KSEA");
  EXPECT_EQ(fpl_active_dest_index, 7);
  EXPECT_EQ(route_star_text, "------");
}

TEST_F(GnsxlsTest, ActivatingAStoredPlanDropsTheOldHoldsAndEmptiesTheMcuEntryAndAFailedLoadKeepsTheList) {
  start_unit();
  build_route();
  press("L2");
  press("HOLD");
  ASSERT_EQ(hold_count, 1);
  press("FPL");
  press("FPL");
  press("FPL");  // past the two ACTIVE FPL pages: the plan list
  press("R2");   // KSEAKPDX
  press("ENTER");
  frames(1);
  press("R5");
  mcu_scratchpad = "KSEA";
  vnav_target_alt = 20000.0;  // a VNAV target of the old route
  press("ENTER");
  frames(1);
  EXPECT_EQ(mcu_scratchpad, "");
  EXPECT_EQ(hold_count, 0);
  EXPECT_EQ(fpl_active_last, 6);
  EXPECT_EQ(fpl_active[6].alt_constraint, 31.0);  // KPDX keeps its elevation
  EXPECT_STREQ(fpl_active[7].ident, "******");

  std::filesystem::remove(folder_ + "/vek/flightplans/KSEAKPDX.RTE");
  press("FPL");
  press("FPL");
  press("R2");
  press("ENTER");
  frames(1);
  EXPECT_EQ(at(45, 0), "Unable to load FP");
  EXPECT_EQ(gnsxls_plan_selected, 0);
  press("R2");
  EXPECT_EQ(at(45, 0), "FLIGHT PLAN LIST 1/1");
}

TEST_F(GnsxlsTest, BothGaugesShowOneUnitAndOnlyGnsxlsOpensItsWindow) {
  host_.set_draw_recording(true);
  start({{"GNSXLS", "Twinjet"}, {"GNSXLS_LM", "Twinjet"}}, {GNSXLS_WINDOW});
  host_.run_seconds(1);
  click("R2", "GNSXLS_LM");
  frames(1);
  EXPECT_EQ(boxes(), 1);  // drawn on GNSXLS too
  EXPECT_FALSE(host_.window_visible(GNSXLS_WINDOW));
  click("WINDOW");
  EXPECT_TRUE(host_.window_visible(GNSXLS_WINDOW));
  std::string error;
  EXPECT_FALSE(host_.click_index("GNSXLS_LM", 58, &error));
  // Keys past the 495 x 400 screen are hit too: "3" at (498, 84) (the gauge is 495 x 495).
  EXPECT_EQ(host_.hit_test(*host_.find_gauge("GNSXLS"), 510, 124), 49);
}

TEST_F(GnsxlsTest, EnterStoresTheSingleValuesOfVnavDataAndPlan) {
  start_unit();  // Twinjet: climb 282 kt, descent 275 kt
  struct Case {
    int page, key, state;
    const char* entry;
    std::function<void()> check;
  };
  const Case cases[] = {
      {16, 7, 1, "35000 ", [] { EXPECT_EQ(cruise_alt, 35000); }},
      {16, 7, 2, "12000 ", [] { EXPECT_EQ(TransAlt, 12000); }},
      {16, 8, 1, "30", [] { EXPECT_EQ(FPA, 3.0); EXPECT_EQ(ClimbRate, 1800); EXPECT_EQ(DescentRate, 1800.0); }},
      {16, 8, 1, "75", [] { EXPECT_EQ(FPA, 6.0); EXPECT_EQ(ClimbRate, 3600); EXPECT_EQ(DescentRate, 3500.0); }},
      {16, 8, 1, "2", [] { EXPECT_EQ(FPA, 2.0); EXPECT_EQ(ClimbRate, 1200); EXPECT_EQ(DescentRate, 1200.0); }},
      {16, 8, 1, "00", [] { EXPECT_EQ(FPA, 0.0); EXPECT_EQ(ClimbRate, 1200); }},  // rates kept
      {19, 7, 1, "1000", [] { EXPECT_NEAR(reserve_fuel, 2204.62262, 1e-6); }},
  };
  WeightUnit = "KGS";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    gnsxls_page = c.page;
    gnsxls_plan_subpage = 1;
    gnsxls_lsk_state[c.key] = c.state;
    gnsxls_scratchpad = c.entry;
    click("ENTER");
    c.check();
    EXPECT_EQ(gnsxls_lsk_state[c.key], 0);
  }
}
