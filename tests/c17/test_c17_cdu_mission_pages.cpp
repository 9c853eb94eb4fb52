// The mission CDU's sensor, position-fix, stored-plan, duplicate-name, takeoff and
// approach pages and the harness route keys, driven through the harness keypad on the
// simulated host with the airlifter's aircraft file.
#include <cstring>
#include <filesystem>

#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "navdb/navdb.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"

namespace {

using C17CduPages = C17CduTest;

TEST_F(C17CduPages, NavSensorsShowsThePresentPositionOnEveryUnitAndOnlyR6Returns) {
  press("L2");
  ASSERT_EQ(c17_cdu_page, C17_CDU_NAV_SENSORS);
  frames(1);
  // Parked at 47.449 N, 122.309 W.
  const std::string line = "[N47\xC2\xB0" "26'56  W122\xC2\xB0" "18'32]";
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(at(10, 30 + 41 * (n - 1)), "IRU" + std::to_string(n) + "  FOM -");
    EXPECT_EQ(at(0, 50 + 41 * (n - 1)), line) << n;
  }
  EXPECT_EQ(at(40, 214), "CGPS ALIGNED");
  for (const char* key : {"L1", "L3", "L6", "R1", "R5"}) {
    press(key);
    EXPECT_EQ(c17_cdu_page, C17_CDU_NAV_SENSORS) << key;
  }
  press("R6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX);
}

TEST_F(C17CduPages, PositionFixPairsAreCheckedAndStoredWithTheFixAndThePlanKeptActive) {
  press("FIX");
  press("L3");
  EXPECT_EQ(fix_info[1].dist[0], 0.0) << "no fix: the pair keys do nothing";
  enter("XYZZY", "L2");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "NOT IN DATABASE");
  EXPECT_EQ(c17_cdu_scratchpad, "XYZZY");
  enter("SEA", "L2");
  ASSERT_STREQ(fix_info[1].ident, "SEA");
  EXPECT_TRUE(c17_cdu_scratchpad.empty());
  EXPECT_EQ(at(10, 83), "SEA");

  struct Case {
    const char* entry;
    bool ok;
    double radial, dist;
    const char* shown;
  };
  const Case cases[] = {
      {"090/12.5", true, 90, 12.5, "090 /12.5"}, {"000/5", true, 360, 5, "360 /5.0"},
      {"/2.5", true, 0, 2.5, "--- /2.5"},        {"/25", true, 0, 25, "--- /25.0"},
      {"090/12/7", false, 0, 0, ""},             {"1.5/10", false, 0, 0, ""},
      {"09 0/10", false, 0, 0, ""},              {"090/0.05", false, 0, 0, ""},
      {"90/10", false, 0, 0, ""},                {"361/10", false, 0, 0, ""},
      {"090/999", false, 0, 0, ""},              {"ABC/10", false, 0, 0, ""},
      {"090/-5", false, 0, 0, ""},               {"090", false, 0, 0, ""},
      {"090/", false, 0, 0, ""},                 {"090/1.23456789", false, 0, 0, ""},
  };
  for (const Case& c : cases) {
    fix_info[1].radial[1] = fix_info[1].dist[1] = 0;
    enter(c.entry, "L4");
    if (c.ok) {
      EXPECT_TRUE(c17_cdu_scratchpad_msg.empty()) << c.entry;
      EXPECT_EQ(fix_info[1].radial[1], c.radial) << c.entry;
      EXPECT_EQ(fix_info[1].dist[1], c.dist) << c.entry;
      frames(1);
      EXPECT_EQ(at(10, 165), c.shown) << c.entry;
    } else {
      EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY") << c.entry;
      EXPECT_EQ(c17_cdu_scratchpad, c.entry) << "the entry stays";
      EXPECT_EQ(fix_info[1].dist[1], 0.0) << c.entry;
    }
  }
  enter("090/12.5", "L3");
  c17_cdu_scratchpad.clear();
  press("CLR");
  press("L3");
  EXPECT_EQ(fix_info[1].dist[0], 0.0);
  EXPECT_TRUE(c17_cdu_scratchpad_msg.empty());
  EXPECT_EQ(at(10, 124), "---/---.-");
  const std::string brg = at(100, 83);
  ASSERT_GE(brg.size(), 9u) << brg;
  EXPECT_GE(std::stoi(brg.substr(0, 3)), 1);
  EXPECT_LE(std::stoi(brg.substr(0, 3)), 360);

  // The page never drops the active plan; CLR on L2 removes the fix.
  fpl_active_index = 1;
  fpl_active_last = 3;
  frames(3);
  EXPECT_EQ(fpl_active_index, 1);
  press("CLR");
  press("L2");
  EXPECT_EQ(fix_info[1].ident[0], '\0');
  EXPECT_EQ(at(10, 83), "-----");
  EXPECT_EQ(at(100, 83), "---/---");
  press("R2");
  EXPECT_EQ(c17_cdu_page, C17_CDU_STORED_PLANS);
}

TEST_F(C17CduPages, StoredPlansListThePlansSixToAPageAndLoadOneIntoTheActiveRoute) {
  namespace fs = std::filesystem;
  const std::string plans = folder_ + "/vek/flightplans/";
  for (int i = 1; i <= 12; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "PLAN%02d.RTE", i);
    fs::copy_file(plans + "KSEAKPDX.RTE", plans + name);
  }
  list_plan_files();
  ASSERT_EQ(c17_cdu_plan_count(), 13);
  press("PLANS");
  EXPECT_EQ(at(240, 5), " 1 /  3");
  EXPECT_EQ(at(0, 42), "KSEAKPDX.RTE");
  EXPECT_FALSE(has("NEW FPL"));
  press("PREV");
  EXPECT_EQ(at(240, 5), " 3 /  3");
  EXPECT_EQ(at(0, 42), "PLAN12.RTE");
  EXPECT_EQ(at(0, 83), "") << "entry 13 alone on page 3";
  press("L2");
  EXPECT_EQ(c17_cdu_page, C17_CDU_STORED_PLANS) << "no entry on that line";
  c17_cdu_prev_page_alt = 1;
  c17_cdu_next_page = 1;
  frames(1);
  EXPECT_EQ(at(240, 5), " 3 /  3") << "both flags in one draw cancel";
  press("NEXT");
  EXPECT_EQ(at(240, 5), " 1 /  3");

  // A plan file gone since the listing: a message, nothing activated.
  fs::remove(plans + "PLAN05.RTE");
  press("L6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_STORED_PLANS);
  EXPECT_EQ(c17_cdu_scratchpad_msg, "Unable to load FP");
  EXPECT_TRUE(smiths_scratchpad_msg.empty()) << "the Smiths CDU's line stays as it was";
  EXPECT_EQ(fpl_active_index, FPL_NO_PLAN);

  press("L1");
  EXPECT_EQ(c17_cdu_page, C17_CDU_FLT_PLAN);
  ASSERT_GT(fpl_active_last, 3);
  EXPECT_STREQ(fpl_active[0].ident, "KSEA");
  EXPECT_STREQ(fpl_active[fpl_active_last].ident, "KPDX");
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_EQ(route_origin, "KSEA");
  EXPECT_EQ(route_dest, "KPDX");
}

// An ident of two fixes typed on a line of FLT PLAN or RTE of the active route: DUPLICATE
// NAMES lists them with the entry kept; the chosen one goes in at that line of the edit
// plan (MOD), and EXEC makes it active.
TEST_F(C17CduPages, DuplicateNamesPutTheChosenFixAtTheLineItWasTypedOn) {
  struct Case {
    const char* page_key;
    bool next_page;  // the route rows start on RTE's second sub-page
    const char* line_key;
    int32_t page;
    int rec;             // the record of that line
    const char* before;  // the fix on it
  };
  for (const Case& c : {Case{"LEGS", false, "L2", C17_CDU_FLT_PLAN, 2, "CARRO"},
                        Case{"RTE", true, "R1", C17_CDU_RTE, 3, "OLM"}}) {
    SCOPED_TRACE(c.page_key);
    load_sample_plan();
    press(c.page_key);
    if (c.next_page) press("NEXT");
    enter("PAMMS", c.line_key);
    EXPECT_EQ(c17_cdu_page, C17_CDU_DUPLICATE_NAMES);
    EXPECT_EQ(c17_cdu_scratchpad, "PAMMS") << "the entry is kept";
    frames(1);
    EXPECT_EQ(at(40, 0), "DUPLICATE NAMES");
    const std::string second = at(0, 74);
    ASSERT_EQ(second.rfind("*PAMMS ", 0), 0u) << second;
    EXPECT_EQ(at(0, 107), "") << "two candidates, two rows";
    press("L4");
    EXPECT_EQ(c17_cdu_page, C17_CDU_DUPLICATE_NAMES) << "no candidate on line 4";

    const NavRecord chosen = nav_search_list[2];
    press("L2");
    EXPECT_EQ(c17_cdu_page, c.page);
    EXPECT_EQ(fpl_changed_state, 4);
    EXPECT_TRUE(c17_cdu_scratchpad.empty());
    EXPECT_STREQ(fpl_active[c.rec].ident, c.before) << "nothing flown before EXEC";
    EXPECT_STREQ(fpl_edit[c.rec].ident, "PAMMS");
    EXPECT_STREQ(fpl_edit[c.rec + 1].ident, c.before);
    smiths_fms_key(69);  // EXEC, on the Smiths CDU that shares the route
    EXPECT_EQ(fpl_changed_state, 3);
    EXPECT_STREQ(fpl_active[c.rec].ident, "PAMMS");
    EXPECT_DOUBLE_EQ(fpl_active[c.rec].lat, chosen.lat) << "the chosen candidate, not the first";
    EXPECT_DOUBLE_EQ(fpl_active[c.rec].lon, chosen.lon);
    EXPECT_EQ(fpl_active_index, 1);
  }
  // Reached with no line waiting for a choice, a candidate goes nowhere.
  ASSERT_EQ(create_user_waypoint(0, "PAMMS"), 2);
  const int32_t last = fpl_active_last;
  press("DUP");
  press("L1");
  EXPECT_EQ(c17_cdu_page, C17_CDU_DUPLICATE_NAMES);
  EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY");
  EXPECT_EQ(fpl_active_last, last);
  EXPECT_EQ(fpl_changed_state, 3);
}

TEST_F(C17CduPages, DuplicateNamesRowsPrintHemispheresAndScroll) {
  fix_match_count = 3;
  struct Row {
    const char* ident;
    double lat, lon;
    const char* freq;
    const char* shown;
  };
  const Row rows[] = {{"SYD", -33.9, 151.2, "112.10", "*SYD       S33/E151         112.10"},
                      {"ABC", 5.5, -0.5, "", "*ABC       N05/W000               "},
                      {"XYZ", 10, 10, "", "*XYZ       N10/E010               "}};
  for (int i = 0; i < 3; ++i) {
    NavRecord& c = nav_search_list[i + 1];
    c = NavRecord{};
    std::snprintf(c.ident, sizeof c.ident, "%s", rows[i].ident);
    std::snprintf(c.freq, sizeof c.freq, "%s", rows[i].freq);
    c.lat = rows[i].lat;
    c.lon = rows[i].lon;
  }
  press("DUP");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(at(0, 41 + 33 * i), rows[i].shown) << i;
  press("NEXT");
  EXPECT_EQ(c17_dup_first_row, 2);
  EXPECT_EQ(at(0, 41), rows[1].shown);
  press("NEXT");
  press("NEXT");
  EXPECT_EQ(c17_dup_first_row, 3) << "not past the last candidate";
  press("PREV");
  EXPECT_EQ(c17_dup_first_row, 2);
}

TEST_F(C17CduPages, TakeoffRefChecksFlapsAndWholeSpeeds) {
  TOFLAPSRANGE = ",1,5,10,15,25,";
  V1 = VR = V2 = 0;
  TOFLAPS = 0;
  press("TOLD");
  EXPECT_EQ(at(63, 0), "TAKEOFF  REF");
  EXPECT_EQ(at(272.0 - 9.0 * 6, 36), "------");  // right-aligned: ends inside the screen
  EXPECT_EQ(at(20, 33), "------");
  struct Case {
    const char* entry;
    const char* key;
    int32_t* value;
    int32_t expected;  // 0: refused
  };
  const Case cases[] = {{"5", "L1", &TOFLAPS, 5},   {"7", "L1", &TOFLAPS, 0},    {"1", "L1", &TOFLAPS, 1},
                        {"51", "L1", &TOFLAPS, 0},  {"05", "L1", &TOFLAPS, 0},   {"249", "R1", &V1, 249},
                        {"250", "R1", &V1, 0},      {"249", "R2", &VR, 249},     {"250", "R2", &VR, 0},
                        {"269", "R3", &V2, 269},    {"270", "R3", &V2, 0},       {"0", "R1", &V1, 0},
                        {"0", "R3", &V2, 0},        {"150KT", "R1", &V1, 0},     {"14.5", "R2", &VR, 0}};
  for (const Case& c : cases) {
    *c.value = 0;
    enter(c.entry, c.key);
    if (c.expected) {
      EXPECT_EQ(*c.value, c.expected) << c.entry;
      EXPECT_TRUE(c17_cdu_scratchpad.empty()) << c.entry;
    } else {
      EXPECT_EQ(*c.value, 0) << c.entry;
      EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY") << c.entry;
      EXPECT_EQ(c17_cdu_scratchpad, c.entry);
    }
  }
  TOFLAPS = 5;
  V1 = 142;
  c17_cdu_scratchpad_msg.clear();
  c17_cdu_scratchpad.clear();
  frames(1);
  EXPECT_EQ(at(20, 33), "5\xC2\xB0");
  EXPECT_EQ(at(245, 36), "142");
  EXPECT_EQ(at(55, 121), "P R E     F L T   S T A T U S");

  // An empty scratchpad on R1 opens the route page while the route is unchanged.
  fpl_changed_state = 1;
  press("R1");
  EXPECT_EQ(c17_cdu_page, C17_CDU_TAKEOFF_REF);
  fpl_changed_state = 0;
  press("R1");
  EXPECT_EQ(c17_cdu_page, C17_CDU_RTE);
  EXPECT_EQ(smiths_rte_page_no, 1);

  // R5 opens DEPARTURES once an origin is entered.
  press("TOLD");
  press("R5");
  EXPECT_EQ(c17_cdu_page, C17_CDU_TAKEOFF_REF) << "no origin";
  route_origin = "KSEA";
  smiths_page = SMITHS_PAGE_IDENT;
  press("R5");
  EXPECT_EQ(c17_cdu_page, C17_CDU_DEPARTURES);
  EXPECT_EQ(smiths_page, SMITHS_PAGE_IDENT) << "the Smiths CDU stays on its page";

  // The update dispatcher never draws TAKEOFF REF.
  press("TOLD");
  GfxGraphics* gfx = nullptr;
  ASSERT_EQ(gfx_create(host_.find_gauge("C17_CDU_HARNESS")->drawn_image(), &gfx), GFX_OK);
  c17_cdu_update_draw(&c17_cdu_surface, gfx);
  gfx_delete(gfx);
  EXPECT_TRUE(blank());

  // Past the top of climb the page is blank; its line keys other than L6 do nothing.
  press("TOLD");
  toc_reached = 1;
  press("R1");
  EXPECT_TRUE(blank());
  EXPECT_EQ(c17_cdu_page, C17_CDU_TAKEOFF_REF);
  toc_reached = 0;
  press("L6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX);
}

TEST_F(C17CduPages, ApproachRefSpeedsAndTheLandingPair) {
  VREFMIN = 150;
  VREFMID = 145;
  VREFMAX = 135;
  APPRFLAPSMIN = "15";
  APPRFLAPSMID = "30";
  APPRFLAPSMAX = "40";
  LDGFLAPS = VREF = 0;
  press("APPR");
  EXPECT_EQ(at(215, 133), "- -  - - -");
  EXPECT_EQ(at(160, 66), " 30\xC2\xB0");
  EXPECT_EQ(at(223, 71), "145 K T");
  enter("30/150", "R4");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY");
  EXPECT_EQ(VREF, 0);
  enter("5/150", "R4");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY") << "no row's pair";
  EXPECT_EQ(c17_cdu_scratchpad, "5/150");
  enter("30/145", "R4");
  EXPECT_EQ(LDGFLAPS, 30);
  EXPECT_EQ(VREF, 145);
  frames(1);
  EXPECT_EQ(at(210, 133), "30\xC2\xB0/145");

  c17_cdu_scratchpad.clear();
  press("R1");
  EXPECT_EQ(c17_cdu_scratchpad, "150") << "copied down";
  c17_cdu_scratchpad = "152";
  press("R1");
  EXPECT_EQ(VREFMIN, 152);
  enter("0", "R2");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY");
  EXPECT_EQ(VREFMID, 145) << "no speed of 0";
  enter("ABC", "R3");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY");
  EXPECT_EQ(VREFMAX, 135);
  enter("-5", "R3");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY");
  EXPECT_EQ(c17_cdu_scratchpad, "-5");
  EXPECT_EQ(VREFMAX, 135);
  press("L6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX);
}

TEST_F(C17CduPages, HarnessRouteKeysSetTheLegsModeAsTheSmithsKeypad) {
  press("DIR INTC");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "NO ACTIVE ROUTE");
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX);
  press("HOLD");
  EXPECT_EQ(smiths_legs_mode, 2);
  EXPECT_EQ(c17_cdu_page, C17_CDU_FLT_PLAN);
  EXPECT_EQ(smiths_hold_key_flag, 0) << "one-shot: cleared after the draw";
  fpl_changed_state = 3;
  press("DIR INTC");
  EXPECT_EQ(smiths_legs_mode, 1);
  ASSERT_TRUE(c17_cdu_harness_key("LEGS"));
  EXPECT_EQ(smiths_legs_mode, 0);
  EXPECT_EQ(smiths_legs_key_flag, 1);
  EXPECT_EQ(c17_cdu_page, C17_CDU_FLT_PLAN);
  frames(1);
  EXPECT_EQ(smiths_legs_key_flag, 0);
  EXPECT_FALSE(c17_cdu_harness_key("EXEC"));
}

TEST_F(C17CduPages, MsnInitializeFitsTheDatabaseTextsOnTheScreen) {
  press("INIT");
  EXPECT_FALSE(at(0, 83).empty()) << "NAV DB cycle from the aircraft's database";
  const GfxRecording* r = screen();
  ASSERT_NE(r, nullptr);
  bool found = false;
  for (const GfxTextItem& t : r->text_items()) {
    if (t.text != nav_data_active) continue;
    found = true;
    EXPECT_LE(t.world.x + cdu_text_width(t.text, CDU_LARGE_PX), 360.0) << t.text;
    EXPECT_GE(t.world.x, 0.0);
  }
  EXPECT_TRUE(found) << nav_data_active;
}

}  // namespace
