// PC-keyboard entry, the direct-to page and the unsound cases the unit refuses.
#include <cmath>
#include <cstring>
#include <fstream>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/waypoint_sequencing.h"
#include "platform/win/win_keyboard.h"
#include "tests/mcu/mcu_fixture.h"

namespace {

TEST_F(McuTest, KeyboardEntryTakesPressesBackspacePerPressAndNothingWithShift) {
  start();
  struct Row {
    const char* name;
    const char* keys;
    const char* scratchpad;
  } rows[] = {
      {"a held letter appends once", "key A down\nrun 3f\nkey A up\n", "OLMA"},
      {"Backspace held deletes one character", "key BACK down\nrun 3f\nkey BACK up\n", "OL"},
      {"each Backspace press deletes one", "key BACK\nkey BACK\n", "O"},
      {"Shift held takes nothing", "key SHIFT down\nkey B\nkey BACK\nkey SHIFT up\n", "OLM"},
      {"keypad digits and blanks are not taken", "key SPACE\nkey 7\n", "OLM7"},
  };
  for (const Row& r : rows) {
    press(MCU_KEY_DIRTO);
    press(MCU_KEY_KBD);
    type("OLM");
    script(r.keys);
    EXPECT_EQ(mcu_scratchpad, r.scratchpad) << r.name;
    press(MCU_KEY_KBD);
  }
  // Enter ends the entry and acts as ENTER in the same frame.
  press(MCU_KEY_DIRTO);
  press(MCU_KEY_KBD);
  type("OLM");
  EXPECT_TRUE(shows("OLM   VOR"));
  EXPECT_EQ(entry_bars(), 1);
  script("key ENTER\n");
  EXPECT_EQ(mcu_kbd_on, 0);
  EXPECT_FALSE(win_keyboard_hook_installed());
  EXPECT_STREQ(fpl_active[1].ident, "OLM");
}

TEST_F(McuTest, TwoUnitsPollTheKeyboardTwiceAFrame) {
  start(true);
  press(MCU_KEY_DIRTO);
  press(MCU_KEY_KBD);
  type("KPDX");  // each press is taken once
  script("key BACK\n");
  EXPECT_EQ(mcu_scratchpad, "KPD") << "Backspace deletes once a press";
}

// A keyboard entry stops where the entry line ends, on both entry pages.
TEST_F(McuTest, KeyboardEntriesEndWhereTheirLineEnds) {
  start();
  for (int32_t page_key : {MCU_KEY_DIRTO, MCU_KEY_APTINFO}) {
    press(page_key);
    press(MCU_KEY_KBD);
    type(std::string(40, 'A'));
    EXPECT_EQ(mcu_scratchpad, std::string(MCU_ENTRY_MAX_CHARS, 'A')) << page_key;
    script("key BACK\nkey B\n");
    EXPECT_EQ(mcu_scratchpad, std::string(MCU_ENTRY_MAX_CHARS - 1, 'A') + "B") << page_key;
    EXPECT_TRUE(shows("> " + std::string(MCU_ENTRY_MAX_CHARS - 1, 'A') + "B")) << page_key;
    press(MCU_KEY_KBD);
  }
}

TEST_F(McuTest, DirectToKeepsTheDestinationAirportAndRewritesTheRecords) {
  struct Row {
    bool plan;
    int last;
    std::vector<const char*> idents;
  } rows[] = {
      {true, 2, {"DIRECT", "BTG", "KPDX", "******"}},
      {false, 1, {"DIRECT", "BTG", "******"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.plan ? "plan to an airport" : "no plan");
    start();
    if (r.plan) {
      load_sample_plan();
      press(MCU_KEY_LNAV);
      press(MCU_KEY_HOLD);
      ASSERT_EQ(hold_count, 1);
    }
    press(MCU_KEY_DIRTO);
    press(MCU_KEY_KBD);
    type("BTG");
    script("key ENTER\n");
    EXPECT_EQ(fpl_active_last, r.last);
    EXPECT_EQ(fpl_active_index, 1);
    for (size_t i = 0; i < r.idents.size(); ++i) EXPECT_STREQ(fpl_active[i].ident, r.idents[i]) << i;
    EXPECT_FALSE(fpl_has_constraint(fpl_active[1])) << "no constraint, a prediction at most";
    EXPECT_STREQ(fpl_active[1].via, "") << "the old leg's airway is gone";
    EXPECT_EQ(hold_count, 0) << "holds of the old records are dropped";
    EXPECT_EQ(fpl_no_from_wpt, r.plan ? 0 : 1);
    if (r.plan) {
      EXPECT_EQ(vnav_wpt_index, 2);
      EXPECT_EQ(fpl_active[2].alt_constraint, 31.0) << "the destination's elevation";
    }
    EXPECT_EQ(mcu_page, MCU_PAGE_NAV);
    host_.stop();
    clear_fpl_active();
  }
}

TEST_F(McuTest, ArrowsSpellTheIdentThroughBlankDigitsAndLetters) {
  start();
  using K = std::vector<int32_t>;
  const K up11(11, MCU_KEY_UP);
  struct Row {
    K keys;
    const char* ident;
  } rows[] = {
      {{MCU_KEY_UP}, "0"},
      {up11, "A"},
      {{MCU_KEY_DOWN}, "Z"},
      {{MCU_KEY_DOWN, MCU_KEY_UP}, ""},
      {{MCU_KEY_UP, MCU_KEY_RIGHT, MCU_KEY_UP}, "00"},
      // Past the end of the text: blanks fill the gap.
      {{MCU_KEY_RIGHT, MCU_KEY_RIGHT, MCU_KEY_RIGHT, MCU_KEY_UP}, "0"},
  };
  for (const Row& r : rows) {
    press(MCU_KEY_DIRTO);
    for (int32_t k : r.keys) press(k);
    EXPECT_EQ(mcu_scratchpad, r.ident);
  }
  press(MCU_KEY_DIRTO);
  for (int32_t k : up11) press(k);
  press(MCU_KEY_DOWN);
  EXPECT_EQ(mcu_scratchpad, "9");
}

TEST_F(McuTest, KeysThatDoNotApplyChangeNothing) {
  start();
  // Without a plan: list-mode ENTER, the crossing altitude and HOLD.
  press(MCU_KEY_LEGS);
  press(MCU_KEY_ENTER);
  EXPECT_EQ(fpl_active_index, FPL_NO_PLAN);
  press(MCU_KEY_LEGS_ALT);
  press(MCU_KEY_UP, 3);
  press(MCU_KEY_ENTER);
  EXPECT_EQ(fpl_active_last, -1);
  EXPECT_EQ(mcu_page, MCU_PAGE_NAV);
  EXPECT_EQ(mcu_legs_alt_mode, 0);
  press(MCU_KEY_NAV);
  EXPECT_TRUE(shows("TO:   " + std::string(15, ' ') + "0/-1"));
  // A crossing altitude of 0 is no crossing.
  load_sample_plan();
  press(MCU_KEY_LEGS_ALT);
  press(MCU_KEY_ENTER);
  EXPECT_EQ(fpl_active[2].alt_constraint, 10000.0);
  EXPECT_EQ(fpl_changed_state, 3);
  // The text CDU's plan load (3) is that unit's to clear.
  mcu_plan_loaded = 3;
  frames(2);
  EXPECT_EQ(mcu_plan_loaded, 3);
  mcu_plan_loaded = 0;
  // NEXT on a plan without record 1 keeps its index.
  FlightPlanWpt only = fpl_active[6];
  set_active_plan(&only, 0, 0);
  press(MCU_KEY_NAV);
  press(MCU_KEY_NEXT);
  EXPECT_EQ(fpl_active_index, 0);
}

TEST_F(McuTest, HoldIsPlacedOnTheActiveWaypointUnlessARouteChangeIsPending) {
  start();
  load_sample_plan();
  press(MCU_KEY_LNAV);
  press(MCU_KEY_NEXT);
  fpl_changed_state = 4;
  press(MCU_KEY_HOLD);
  EXPECT_EQ(hold_count, 0) << "the pending change is kept";
  fpl_changed_state = 3;
  press(MCU_KEY_HOLD);
  ASSERT_EQ(hold_count, 1);
  EXPECT_EQ(hold_list[1].active_wpt, 2);
  EXPECT_STREQ(hold_list[1].ident, "CARRO");
  EXPECT_EQ(holds_changed, 1);
  const simhost::PlacedGauge* g = host_.find_gauge("MCU");
  EXPECT_EQ(g->elements[MCU_ELEMENT_HOLD_LAMP].image_flags & IMAGE_HIDDEN, 0u);
  press(MCU_KEY_NAV);
  EXPECT_TRUE(shows("HOLD(CARRO)"));
  press(MCU_KEY_HOLD);
  EXPECT_EQ(hold_exit_state, 3);
  EXPECT_EQ(holds_changed, 0);
}

TEST_F(McuTest, DirectTurnShowsTheTurnAngleOnEitherSide) {
  start();
  load_sample_plan();
  press(MCU_KEY_LNAV);
  script("set ap_heading_hold 0\nrun 1s\n");  // LNAV does not steer, the turn stays pending
  for (int32_t side : {1, 2}) {
    forced_turn_dir = side;
    press(MCU_KEY_NAV);
    double a = side == 1 ? heading - bearing_to_active_wpt : bearing_to_active_wpt - heading;
    if (a < 0) a += 360.0;
    char text[32];
    std::snprintf(text, sizeof text, "DCTTO (%3.0fD)", a);
    EXPECT_TRUE(shows(text)) << text;
  }
}

TEST_F(McuTest, KeyboardThatCannotStartLeavesEntryOff) {
  start();
  win_input_fail_stage(2);
  press(MCU_KEY_DIRTO);
  press(MCU_KEY_KBD);
  EXPECT_TRUE(mcu_kbd_on == 0 && entry_bars() == 0 && !win_keyboard_hook_installed());
  EXPECT_EQ(text_cdu_scratchpad, "CreateDevice failed");
}

TEST_F(McuTest, PlanListWrapsWithinListedRowsAndCutsLongNames) {
  const std::string plans = folder_ + "/vek/flightplans/";
  for (int i = 1; i <= 9; ++i) std::filesystem::copy_file(plans + "KSEAKPDX.RTE", plans + "P" + std::to_string(i) + ".RTE");
  std::filesystem::copy_file(plans + "KSEAKPDX.RTE", plans + "ZZ_A_VERY_LONG_PLAN_NAME_INDEED.RTE");
  start();
  press(MCU_KEY_FPLN);
  ASSERT_EQ(stored_plan_count, 12);  // eleven plans and the new-plan entry
  press(MCU_KEY_NEXT);
  mcu_page_up = 1;  // the PC keyboard's Page Up
  press(MCU_KEY_FPLN);
  EXPECT_EQ(mcu_fpln_top, 8);
  EXPECT_EQ(mcu_fpln_row, 2) << "the cursor stays on a listed row";
  EXPECT_TRUE(shows("ZZ_A_VERY_LONG_PLAN_NAME_I"));
  EXPECT_FALSE(shows("ZZ_A_VERY_LONG_PLAN_NAME_IN"));
  press(MCU_KEY_ENTER);
  EXPECT_EQ(plan_load_name, std::string(stored_plans[9].name));
  // An empty folder lists nothing and loads nothing.
  plan_load_request = 0;
  for (const auto& e : std::filesystem::directory_iterator(plans)) std::filesystem::remove(e.path());
  press(MCU_KEY_FPLN);
  press(MCU_KEY_ENTER);
  EXPECT_EQ(plan_load_request, 0);
}

}  // namespace

// A direct-to drops the holds and with them the hold waiting to be entered: the HOLD lamp
// goes out and the next HOLD press places a hold again, on the direct-to fix.
TEST_F(McuTest, DirectToDropsTheHoldAndItsLamp) {
  start();
  load_sample_plan();
  press(MCU_KEY_LNAV);
  press(MCU_KEY_HOLD);
  ASSERT_EQ(hold_count, 1);
  ASSERT_EQ(holds_changed, 1);
  press(MCU_KEY_DIRTO);
  press(MCU_KEY_KBD);
  type("BTG");
  script("key ENTER\n");
  ASSERT_STREQ(fpl_active[1].ident, "BTG");
  EXPECT_EQ(hold_count, 0);
  EXPECT_EQ(holds_changed, 0);
  const simhost::PlacedGauge* g = host_.find_gauge("MCU");
  EXPECT_NE(g->elements[MCU_ELEMENT_HOLD_LAMP].image_flags & IMAGE_HIDDEN, 0u);
  press(MCU_KEY_HOLD);
  EXPECT_NE(hold_exit_state, 3) << "not taken as leaving a hold";
  ASSERT_EQ(hold_count, 1);
  EXPECT_STREQ(hold_list[1].ident, "BTG");
}
