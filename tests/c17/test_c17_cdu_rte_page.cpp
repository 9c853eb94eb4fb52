// The mission CDU's RTE page through the harness keypad: a route entered from an empty
// unit, company routes, a full plan, a new destination of an active route, and the TO
// keys on the rows of an expanded airway.
#include <cstring>
#include <filesystem>
#include <string>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/settings.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"
#include "tests/common/sample_flight.h"

namespace {

class C17CduRte : public C17CduTest {
 protected:
  // The VIA and TO texts of the route row at y.
  std::string row(double y) const { return at(0, y) + " | " + at(190, y); }
};

TEST_F(C17CduRte, AMissionEnteredFromAnEmptyUnitIsActivated) {
  press("RTE");
  EXPECT_EQ(at(63, 0), "RTE");
  EXPECT_EQ(at(220, 0), " 1/ 2");
  EXPECT_EQ(at(0, 33), "- - - - -");
  EXPECT_EQ(at(160, 202), "PERF INIT >");
  enter("KXXX", "L1");
  EXPECT_EQ(at(0, 227), "NOT IN DATABASE");
  EXPECT_EQ(c17_cdu_scratchpad, "KXXX");
  enter("KSEA", "L1");
  EXPECT_EQ(at(0, 33), " KSEA");
  EXPECT_EQ(fpl_active_index, FPL_NO_PLAN);
  EXPECT_EQ(fpl_changed_state, 0);
  enter("KPDX", "R1");
  EXPECT_EQ(at(210, 33), " KPDX");
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_STREQ(fpl_edit[1].ident, "KPDX");
  enter("99", "L3");
  EXPECT_EQ(at(0, 227), "NOT IN DATABASE");
  enter("16L", "L3");
  EXPECT_EQ(at(0, 104), "16L");
  EXPECT_EQ(route_runway, "16L");

  press("NEXT");
  EXPECT_EQ(at(220, 0), " 2/ 2");
  EXPECT_EQ(row(36), "DIRECT | KPDX");
  EXPECT_EQ(at(0, 69), "- - - - - -");  // the row for a new entry
  EXPECT_EQ(at(210, 69), "- - - - -");
  enter("V23", "L1");  // the first row takes no airway
  EXPECT_EQ(at(0, 227), "INVALID ENTRY");
  enter("OLM", "R1");
  EXPECT_EQ(row(36), "DIRECT | OLM");
  EXPECT_EQ(row(69), "DIRECT | KPDX");
  EXPECT_EQ(fpl_changed_state, 1);
  EXPECT_EQ(at(160, 202), "ACTIVATE >");
  enter("V23", "L2");
  EXPECT_EQ(at(0, 69), "V23");
  EXPECT_EQ(at(100, 69), "THEN");
  enter("ELN", "R2");  // not on V23
  EXPECT_EQ(at(0, 227), "INVALID ENTRY");
  EXPECT_EQ(c17_cdu_scratchpad, "ELN");
  enter("BTG", "R2");
  EXPECT_EQ(row(69), "V23 | BTG");
  EXPECT_EQ(row(102), "DIRECT | KPDX");
  EXPECT_STREQ(fpl_edit[2].ident, "DUBYA");

  // DELETE on a VIA row removes it; on a TO row or past the list it is refused.
  enter("", "DEL");
  press("R2");
  EXPECT_EQ(at(0, 227), "INVALID DELETE");
  enter("", "DEL");
  press("L2");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "");
  EXPECT_EQ(row(69), "DIRECT | KPDX");
  enter("", "DEL");
  press("L5");
  EXPECT_EQ(at(0, 227), "INVALID DELETE");
  enter("V23", "L2");
  enter("BTG", "R2");

  // ACTIVATE, then EXEC on the Smiths CDU, which shares the route: flown from OLM.
  c17_cdu_scratchpad_msg.clear();
  press("R6");
  EXPECT_EQ(fpl_changed_state, 2);
  smiths_fms_key(69);
  frames(1);
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(at(18, 0), "ACT");
  EXPECT_STREQ(fpl_active[1].ident, "OLM");
  EXPECT_STREQ(fpl_active[fpl_active_last].ident, "KPDX");
  press("R6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_PERF_INIT);
}

TEST_F(C17CduRte, CompanyRoutesByNameOrByTheirEnds) {
  namespace fs = std::filesystem;
  press("RTE");
  struct Case {
    const char* entry;
    bool found;
  };
  // A plan's whole name, with or without its ending, or its origin and destination; a
  // first part of a name is no name.
  for (const Case& c : {Case{"KSE", false}, Case{"K", false}, Case{"KSEAKPDX", true}, Case{"KSEAKPDX.RTE", true},
                        Case{"KSEAKPD", false}, Case{"KSEAKBFI", false}, Case{"KPDX", false}}) {
    fpl_changed_state = 0;
    route_origin = route_dest = FPL_NONE_TEXT;
    enter(c.entry, "L2");
    EXPECT_EQ(fpl_changed_state, c.found ? 1 : 0) << c.entry;
    EXPECT_EQ(c17_cdu_scratchpad_msg, c.found ? "" : "NOT IN DATABASE") << c.entry;
    EXPECT_EQ(route_co_route, c.found ? c.entry : "") << c.entry;
    route_co_route.clear();
    if (c.found) {
      EXPECT_EQ(route_origin, "KSEA") << c.entry;
      EXPECT_EQ(route_dest, "KPDX") << c.entry;
      EXPECT_EQ(at(0, 33), " KSEA") << c.entry;
    }
  }
  // A plan file gone since the listing: the loader's message, the state kept.
  fpl_changed_state = 0;
  fs::remove(folder_ + "/vek/flightplans/KSEAKPDX.RTE");
  const std::string smiths_msg = smiths_scratchpad_msg;
  enter("KSEAKPDX", "L2");
  EXPECT_EQ(at(0, 227), "Unable to load FP");
  EXPECT_EQ(fpl_changed_state, 0);
  EXPECT_EQ(smiths_scratchpad_msg, smiths_msg);
}

TEST_F(C17CduRte, ADestinationOfAFullPlanIsRefused) {
  press("RTE");
  enter("KSEA", "L1");
  for (int i = 1; i <= FPL_MAX_LAST; ++i) {
    fpl_active[i] = fpl_active[0];
    std::strcpy(fpl_active[i].ident, "OLM");
    std::strcpy(fpl_active[i].type, "VOR");
  }
  fpl_active_last = FPL_MAX_LAST;
  copy_active_to_edit();
  enter("KPDX", "R1");
  EXPECT_EQ(at(0, 227), "INVALID ENTRY");
  EXPECT_EQ(c17_cdu_scratchpad, "KPDX");
  EXPECT_EQ(fpl_active_last, FPL_MAX_LAST);
  EXPECT_STREQ(fpl_active[FPL_MAX_LAST].ident, "OLM");
}

// In flight on the sample route: a new destination turns the trailing arrival records
// into discontinuities of the change (MOD); nothing is activated until EXEC.
TEST_F(C17CduRte, ANewDestinationInFlightEndsTheArrivalInADiscontinuity) {
  load_sample_plan();
  ASSERT_EQ(fpl_changed_state, 3);
  fly_past_alkis();
  const int last = fpl_active_last;
  ASSERT_GE(last, 4);
  std::strcpy(fpl_active[last - 1].segment, "STAR");
  std::strcpy(fpl_active[last - 2].segment, "STAR");
  const std::string before_star = fpl_active[last - 3].ident;
  const std::string star_fix = fpl_active[last - 1].ident;
  press("RTE");
  enter("KBFI", "R1");
  EXPECT_EQ(fpl_changed_state, 4);
  frames(1);  // the title is drawn before the key acts
  EXPECT_EQ(at(14, 0), "MOD");
  EXPECT_EQ(route_dest_mod, "KBFI");
  // The two arrival records leave one discontinuity.
  EXPECT_EQ(fpl_edit_last, last - 1);
  EXPECT_STREQ(fpl_edit[last - 1].ident, "KBFI");
  EXPECT_STREQ(fpl_edit[last - 2].ident, FPL_DISCO_IDENT);
  EXPECT_EQ(std::string(fpl_edit[last - 3].ident), before_star);
  // The active route is still the one flown.
  EXPECT_EQ(std::string(fpl_active[last - 1].ident), star_fix);
  EXPECT_STREQ(fpl_active[last].ident, "KPDX");
  EXPECT_EQ(fpl_active_index, 2);
  press("L6");  // ERASE
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_STREQ(fpl_edit[last].ident, "KPDX");
}

// Rows and records differ after an airway: each TO key acts on its own row's record.
TEST_F(C17CduRte, ToKeysUseTheirRowsRecord) {
  enter_airway_route();
  c17_cdu_scratchpad.clear();
  press("R3");  // row of KPDX, record 4
  EXPECT_EQ(c17_cdu_scratchpad, "KPDX");
  press("R3");
  EXPECT_EQ(at(0, 227), "INVALID ENTRY");
  enter("SEA", "R3");
  EXPECT_STREQ(fpl_edit[3].ident, "BTG");
  EXPECT_STREQ(fpl_edit[4].ident, "SEA");
  EXPECT_STREQ(fpl_edit[5].ident, "KPDX");
  EXPECT_EQ(row(102), "DIRECT | SEA");
  // A later fix of the route: the fixes between go.
  enter("KPDX", "R1");
  EXPECT_EQ(row(36), "DIRECT | KPDX");
  EXPECT_EQ(fpl_edit_last, 1);
  // Several fixes of one ident: DUPLICATE NAMES, the entry, row and page kept.
  c17_cdu_page = C17_CDU_RTE;
  enter("PAMMS", "R1");
  EXPECT_EQ(c17_cdu_page, C17_CDU_DUPLICATE_NAMES);
  EXPECT_EQ(c17_dup_return_page, C17_CDU_RTE);
  EXPECT_EQ(select_wpt_row, 2);
  EXPECT_EQ(c17_cdu_scratchpad, "PAMMS");
}

// The shared LEGS constraint parser with this unit's lines: the Smiths lines stay.
TEST_F(C17CduRte, LegsConstraintParserAnswersOnThisUnitsLines) {
  enter_airway_route();
  smiths_scratchpad = "SMITHS";
  smiths_scratchpad_msg.clear();
  struct Case {
    const char* entry;
    bool ok;
    double alt, speed;
  };
  for (const Case& c : {Case{"250/FL120", true, 12000, 250}, Case{"120", true, 12000, -999},
                        Case{"450/5000", false, 0, 0}, Case{"250/0", false, 0, 0}, Case{"FL995", false, 0, 0}}) {
    fpl_edit[1].alt_constraint = fpl_edit[1].spd_constraint = -999;
    c17_cdu_scratchpad = c.entry;
    c17_cdu_scratchpad_msg.clear();
    cdu_legs_parse_entry_a(1, {c17_cdu_scratchpad, c17_cdu_scratchpad_msg});
    EXPECT_EQ(c17_cdu_scratchpad_msg, c.ok ? "" : "INVALID ENTRY") << c.entry;
    EXPECT_EQ(c17_cdu_scratchpad, c.ok ? "" : c.entry) << c.entry;
    EXPECT_EQ(fpl_edit[1].alt_constraint, c.ok ? c.alt : -999) << c.entry;
    EXPECT_EQ(fpl_edit[1].spd_constraint, c.ok ? c.speed : -999) << c.entry;
  }
  EXPECT_EQ(smiths_scratchpad, "SMITHS");
  EXPECT_EQ(smiths_scratchpad_msg, "");
  smiths_scratchpad.clear();
}

}  // namespace
