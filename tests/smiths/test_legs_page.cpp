// LEGS page: the legs of the route, constraints, deletions and insertions, direct-to
// with the intercept course, holds, paging and the plan-map centre.
#include <cstring>

#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "module/display_state.h"

namespace {

// The sample company route: KSEA ALKIS CARRO OLM DUBYA BTG KPDX, activated.
class LegsTest : public CduTest {
 protected:
  // Executed unless asked otherwise (then waiting for EXEC).
  void active_route(bool execute = true) {
    start();
    press("RTE");
    enter("KSEAKPDX", "L2");
    press("R6");
    if (execute) press("EXEC");
    ASSERT_EQ(fpl_changed_state, execute ? 3 : 2);
    press("LEGS");
  }
  static int key_number(const std::string& key) {
    if (key == "L6") return 23;
    if (key == "R6") return 24;
    if (key[0] == 'L') return 13 + 2 * (key[1] - '1');
    return 14 + 2 * (key[1] - '1');
  }
  void clear_pad() {
    while (!smiths_scratchpad.empty() || !smiths_scratchpad_msg.empty()) press("CLR");
  }
};

}  // namespace

TEST_F(LegsTest, ShowsTheActiveRouteFiveLegsAPage) {
  active_route();
  EXPECT_EQ(title(), "RTE    LEGS");
  EXPECT_EQ(at(220, 0), " 1 /  2");
  EXPECT_EQ(at(20, 0), "ACT");
  EXPECT_EQ(at(0, 33), "ALKIS");
  EXPECT_EQ(at(130, 33), "  250 /  4000A");
  EXPECT_EQ(at(0, 66), "CARRO");
  EXPECT_EQ(at(140, 66), "- - - - / 10000A");
  EXPECT_EQ(at(0, 99), "OLM  ");
  // Activation predicted the crossing speed and altitude of the unconstrained legs.
  std::string predicted = at(130, 99);
  EXPECT_NE(predicted.find(" / "), std::string::npos) << predicted;
  EXPECT_EQ(predicted.find("- -"), std::string::npos) << predicted;
  EXPECT_EQ(predicted.back(), '0') << predicted;  // no "A": not an entered constraint
  EXPECT_EQ(at(0, 165), "BTG  ");
  // The leg into CARRO: magnetic course with the degree sign and the distance.
  std::string course = at(20, 55), dist = at(100, 55);
  EXPECT_EQ(course.size(), 5u);  // three digits and the two-byte degree sign
  EXPECT_EQ(course.substr(3), "\u00B0");
  EXPECT_EQ(dist.substr(dist.size() - 3), " NM");
  // The active waypoint is drawn black on a green box.
  const GfxRecording* r = screen();
  ASSERT_NE(r, nullptr);
  bool black = false;
  for (const GfxTextItem& t : r->text_items()) black = black || (t.text == "ALKIS" && t.argb == 0xFF000000u);
  EXPECT_TRUE(black);
  EXPECT_EQ(at(150, 198), "RTE DATA >");
  press("NEXT");
  EXPECT_EQ(at(220, 0), " 2 /  2");
  EXPECT_EQ(at(0, 33), "KPDX ");
  EXPECT_EQ(at(0, 63), "- - - - - -");  // end of the list
  press("NEXT");
  EXPECT_EQ(at(220, 0), " 1 /  2");
  press("R6");  // RTE DATA
  EXPECT_EQ(smiths_page, SMITHS_PAGE_RTE);
}

TEST_F(LegsTest, ConstraintEntriesAndTheirRefusals) {
  active_route();
  enter("250/FL120", "R2");
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(at(14, 0), "MOD");
  EXPECT_EQ(at(130, 66), "  250 / 12000A");
  EXPECT_EQ(at(0, 198), "< ERASE");
  // An altitude alone keeps the predicted speed.
  const double spd3 = fpl_edit[3].spd_constraint, spd4 = fpl_edit[4].spd_constraint;
  enter("FL250", "R3");
  EXPECT_EQ(at(130, 99), spd3 > 0 ? std::string(5 - std::to_string(int(spd3)).size(), ' ') +
                                        std::to_string(int(spd3)) + " / FL250A"
                                  : std::string("- - - - / FL250A"));
  EXPECT_DOUBLE_EQ(fpl_edit[4].spd_constraint, spd4);
  // Refused entries change nothing and keep the scratchpad.
  const double alt_before = fpl_edit[5].alt_constraint, spd_before = fpl_edit[5].spd_constraint;
  // Nothing above the aircraft's highest cruise level (MaxCruise 41000).
  for (const char* bad : {"0", "99001", "FL995", "FL411", "FL990", "41100", "ABC", "450/FL250", "50/9000", "2X0/9000", "3E4", "250/1E4", "250/",
                          "250/FL", "250/5000/7", "330/FL120", "25 0/FL120", "FL 120"}) {
    clear_pad();
    type(bad);
    press("R5");
    EXPECT_EQ(bottom(), "INVALID ENTRY") << bad;
    EXPECT_EQ(smiths_scratchpad, bad);
    EXPECT_DOUBLE_EQ(fpl_edit[5].alt_constraint, alt_before) << bad;
    EXPECT_DOUBLE_EQ(fpl_edit[5].spd_constraint, spd_before) << bad;
  }
  clear_pad();
  enter("FL410", "R5");
  EXPECT_DOUBLE_EQ(fpl_edit[5].alt_constraint, 41000.0);
  // ERASE restores the active route.
  press("L6");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(at(140, 66), "- - - - / 10000A");
}

TEST_F(LegsTest, CopiedConstraintReadsBackAsItWas) {
  active_route();
  press("R1");
  EXPECT_EQ(smiths_scratchpad, "250/4000");
  press("R1");
  EXPECT_DOUBLE_EQ(fpl_edit[1].spd_constraint, 250.0);
  EXPECT_DOUBLE_EQ(fpl_edit[1].alt_constraint, 4000.0);
  EXPECT_EQ(bottom(), "");
}

TEST_F(LegsTest, DeleteMakesADiscontinuityThatAFixCloses) {
  active_route();
  press("DEL");
  press("L2");
  EXPECT_EQ(bottom(), "");
  EXPECT_STREQ(fpl_edit[2].ident, "DISCO");
  EXPECT_EQ(at(5, 52), "T H E N");
  EXPECT_EQ(at(7, 88), ". .  R O U T E  D I S C O N T I N U I T Y  .");
  EXPECT_EQ(at(0, 99), "OLM  ");
  EXPECT_EQ(fpl_changed_state, 4);
  // The next fix typed on the discontinuity closes it.
  enter("OLM", "L2");
  EXPECT_EQ(at(0, 66), "OLM  ");
  EXPECT_EQ(fpl_edit_last, 5);
  press("EXEC");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_STREQ(fpl_active[2].ident, "OLM");
}

TEST_F(LegsTest, InsertAndSkipAheadByIdent) {
  active_route();
  enter("SEA", "L3");
  EXPECT_EQ(at(0, 99), "SEA  ");
  EXPECT_EQ(at(0, 132), "OLM  ");
  enter("KXXXX", "L3");
  EXPECT_EQ(bottom(), "NOT IN DATABASE");
  clear_pad();
  enter("BTG", "L3");  // a later fix: the fixes between go
  EXPECT_EQ(at(0, 99), "BTG  ");
  EXPECT_EQ(at(0, 132), "KPDX ");
  press("L6");  // ERASE
  EXPECT_EQ(at(0, 99), "OLM  ");
}

TEST_F(LegsTest, DirectToAWaypointOfTheRouteAndItsInterceptCourse) {
  active_route();
  press("DIR INTC");
  EXPECT_TRUE(has("D I R E C T    T O                    I N T C    L E G"));
  press("L3");  // picks OLM
  EXPECT_EQ(smiths_scratchpad, "OLM");
  press("R6");  // taken as L6 while no course is pending
  EXPECT_EQ(intc_crs_pending, 1);
  EXPECT_EQ(intc_target_wpt, 3);
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_TRUE(has(". . . . . . . . . . . . . . . . . . . . . . . I N T C    C R S"));
  for (const char* bad : {"500", "ABC", "-10", "9.9.9"}) {
    clear_pad();
    type(bad);
    press("R6");
    EXPECT_EQ(bottom(), "INVALID ENTRY") << bad;
  }
  clear_pad();
  double before = fpl_edit[3].intc_course;
  EXPECT_GT(before, -1.0);
  enter("090", "R6");
  EXPECT_DOUBLE_EQ(fpl_edit[3].intc_course, 90.0);
  EXPECT_EQ(at(215, 193), "090\u00B0");
  press("EXEC");
  EXPECT_EQ(fpl_active_index, 3);
}

TEST_F(LegsTest, DirectToANewFixGoesInAtTheActiveWaypoint) {
  active_route();
  press("DIR INTC");
  enter("SEA", "L6");
  EXPECT_STREQ(fpl_edit[1].ident, "SEA");
  EXPECT_EQ(intc_crs_pending, 1);
  EXPECT_EQ(fpl_changed_state, 4);
  press("EXEC");
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_STREQ(fpl_active[1].ident, "SEA");
}

TEST_F(LegsTest, HoldAtAWaypointThenDeleteTheHoldOnly) {
  active_route();
  press("HOLD");
  EXPECT_EQ(smiths_legs_mode, 2);
  EXPECT_EQ(at(190, 198), "PPOS >");
  EXPECT_TRUE(has("H O L D  A T"));
  press("L2");  // picks CARRO
  EXPECT_EQ(smiths_hold_at_index, 2);
  press("L6");
  EXPECT_EQ(hold_count, 1);
  EXPECT_EQ(smiths_page, SMITHS_PAGE_RTE_HOLD);
  EXPECT_EQ(fpl_changed_state, 4);
  smiths_fms_key(69);  // EXEC
  press("LEGS");
  EXPECT_EQ(at(0, 66), "CARRO");
  EXPECT_EQ(at(20, 88), "H O L D   A T");
  EXPECT_EQ(at(0, 99), "CARRO");
  EXPECT_EQ(at(0, 132), "OLM  ");
  press("DEL");
  press("L3");  // the HOLD AT row
  EXPECT_EQ(fpl_edit[2].hold_number, 0);
  EXPECT_STREQ(fpl_edit[2].ident, "CARRO");
  EXPECT_EQ(at(0, 99), "OLM  ");
}

TEST_F(LegsTest, HoldAtThePresentPositionNeedsAnActivePlan) {
  start();
  press("HOLD");
  press("R6");
  EXPECT_EQ(bottom(), "NO ACTIVE ROUTE");
  EXPECT_EQ(fpl_edit_last, -1);
  EXPECT_EQ(hold_count, 0);
  EXPECT_EQ(smiths_page, SMITHS_PAGE_LEGS);
}

TEST_F(LegsTest, HoldAtThePresentPositionOnAnActiveRoute) {
  active_route();
  press("HOLD");
  press("R6");
  EXPECT_STREQ(fpl_edit[1].ident, "HOLD PPOS");
  EXPECT_EQ(hold_count, 1);
  EXPECT_EQ(smiths_page, SMITHS_PAGE_RTE_HOLD);
}

TEST_F(LegsTest, HoldsTakeRowsAndPages) {
  active_route();
  // Twelve records and two holds: three pages.
  press("RTE");
  press("NEXT");
  smiths_page = SMITHS_PAGE_LEGS;
  for (const char* f : {"SEA", "PAE", "BLI", "HQM", "YKM", "ELN"}) enter(f, "L3");
  ASSERT_EQ(fpl_edit_last, 12);
  ASSERT_EQ(add_hold(5, 1), 1);
  ASSERT_EQ(add_hold(2, 1), 1);
  smiths_fms_key(69);  // EXEC
  frames(2);
  EXPECT_EQ(at(220, 0), " 1 /  3");
  EXPECT_EQ(at(20, 88), "H O L D   A T");  // after record 2
  // Page 2 begins with record 5 and its HOLD AT row.
  press("NEXT");
  std::string five = fpl_active[5].ident;
  EXPECT_EQ(at(0, 33), five.append(5 - five.size(), ' '));
  EXPECT_EQ(at(20, 55), "H O L D   A T");
}

TEST_F(LegsTest, WithoutAPlanThePageStaysWithinItsOnePage) {
  start();
  press("LEGS");
  press("PREV");
  press("PREV");
  EXPECT_EQ(at(220, 0), " 1 /  1");
  EXPECT_EQ(at(0, 30), "- - - - - -");
  press("DEL");
  press("L1");
  EXPECT_EQ(fpl_edit_last, -1);
  type("SEA");
  press("L1");
  EXPECT_EQ(fpl_edit_last, -1);
}

TEST_F(LegsTest, ActivateFromLegsAndThePlanMapCentre) {
  start();
  press("RTE");
  enter("KSEAKPDX", "L2");
  press("LEGS");
  EXPECT_EQ(at(170, 198), "ACTIVATE >");
  press("R6");
  EXPECT_EQ(fpl_changed_state, 2);
  press("EXEC");
  b737_nd_mode = 7;
  press("LEGS");
  EXPECT_EQ(at(190, 198), "STEP >");
  EXPECT_EQ(plan_center_index, 1);
  EXPECT_EQ(at(78, 33), "<CTR>");
  press("R6");
  EXPECT_EQ(plan_center_index, 2);
  EXPECT_EQ(at(78, 66), "<CTR>");
  b737_nd_mode = 3;
  frames();
  EXPECT_EQ(plan_center_index, 0);
}

TEST_F(LegsTest, TheProLine4PlanCountsAsAPlanMapShown) {
  start();
  press("RTE");
  enter("KSEAKPDX", "L2");
  press("LEGS");
  press("R6");
  press("EXEC");
  b737_nd_mode = 3;
  proline4_mfd_format = 2;  // PLAN
  press("LEGS");
  EXPECT_EQ(at(190, 198), "STEP >");
  press("R6");
  press("R6");
  frames();
  EXPECT_EQ(plan_center_index, 3);  // stepped through the route, kept across frames
  EXPECT_EQ(at(78, 99), "<CTR>");
  proline4_mfd_format = 3;  // MAP
  frames();
  EXPECT_EQ(plan_center_index, 0);
}

TEST_F(LegsTest, DirectToWithoutAnActiveWaypointIsRefused) {
  start();
  press("RTE");
  enter("KSEAKPDX", "L2");  // loaded, never flown: no active waypoint
  press("R6");
  ASSERT_EQ(fpl_changed_state, 2);
  ASSERT_EQ(fpl_active_index, FPL_NO_PLAN);
  int last = fpl_edit_last;
  press("DIR INTC");
  enter("SEA", "L6");
  EXPECT_EQ(bottom(), "NO ACTIVE ROUTE");
  EXPECT_EQ(fpl_edit_last, last);
}

TEST_F(LegsTest, AStagedHoldFixIsLookedUpAgainWhenPlaced) {
  active_route();
  press("HOLD");
  enter("SEA", "L6");
  ASSERT_EQ(smiths_scratchpad, "HOLD AT SEA");
  // Another lookup in between replaces the candidates.
  press("RTE");
  press("NEXT");
  press("R1");
  EXPECT_EQ(bottom(), "NOT IN DATABASE");
  press("CLR");
  press("HOLD");
  press("L2");
  EXPECT_STREQ(fpl_edit[2].ident, "SEA");
  EXPECT_EQ(fpl_edit[2].hold_number, 1);
  // The hold is part of the change: MOD and listed, also on the next LEGS press.
  press("LEGS");
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(at(14, 0), "MOD");
  EXPECT_EQ(at(20, 88), "H O L D   A T");
  press("L6");  // ERASE takes the hold back with the rest of the change
  EXPECT_EQ(hold_count, 0);
}

TEST_F(LegsTest, AHoldBeforeTheFirstExecWaitsForIt) {
  active_route(false);
  press("HOLD");
  press("L2");  // CARRO
  press("L6");
  EXPECT_EQ(fpl_changed_state, 2);
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  press("LEGS");
  EXPECT_EQ(at(0, 66), "CARRO");
  EXPECT_EQ(at(20, 88), "H O L D   A T");
  press("EXEC");
  EXPECT_EQ(hold_list[1].active_wpt, 2);
}

TEST_F(LegsTest, AFixAfterTheLastRowGoesBeforeTheDestination) {
  start();
  press("RTE");
  enter("KSEA", "L1");
  enter("KPDX", "R1");
  press("NEXT");
  enter("BTG", "R2");  // the empty row after DIRECT KPDX
  press("LEGS");
  enter("OLM", "L3");  // the row after KPDX
  EXPECT_STREQ(fpl_edit[1].ident, "BTG");
  EXPECT_STREQ(fpl_edit[2].ident, "OLM");
  EXPECT_STREQ(fpl_edit[3].ident, "KPDX");
  press("DEL");
  press("L2");
  EXPECT_STREQ(fpl_edit[2].ident, "KPDX");
}

TEST_F(LegsTest, DeleteOnADiscontinuityJoinsTheRoute) {
  active_route();
  press("DEL");
  press("L2");  // CARRO becomes a discontinuity
  press("DEL");
  press("L2");
  EXPECT_EQ(bottom(), "");
  EXPECT_EQ(at(0, 66), "OLM  ");
  EXPECT_EQ(fpl_edit_last, 5);
}

TEST_F(LegsTest, ADirectToInModIsMeasuredFromTheAircraftAsAfterExec) {
  host_.aircraft().state().lat = 47.20;
  host_.aircraft().state().lon = -122.10;
  active_route();
  press("DIR INTC");
  press("L3");  // OLM
  press("L6");
  const std::string pending = line(22);
  press("EXEC");
  EXPECT_EQ(line(22), pending);
  EXPECT_EQ(smiths_legs_mode, 0);  // the route again, no intercept course to enter
  EXPECT_TRUE(has("R N P / A C T U A L"));
}

TEST_F(LegsTest, DeleteOnTheDestinationIsRefusedAndOnTheEndRowWaits) {
  active_route();
  press("NEXT");
  ASSERT_EQ(at(0, 33), "KPDX ");
  const int last = fpl_edit_last;
  press("DEL");
  EXPECT_EQ(bottom(), "DELETE");
  press("L2");  // the end row: no record, the message stays for another key
  EXPECT_EQ(bottom(), "DELETE");
  EXPECT_EQ(fpl_changed_state, 3);
  press("L1");  // the destination cannot be removed
  EXPECT_EQ(bottom(), "INVALID DELETE");
  EXPECT_EQ(fpl_edit_last, last);
  EXPECT_STREQ(fpl_edit[last].ident, "KPDX");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_FALSE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  press("CLR");
  EXPECT_EQ(bottom(), "");
  // Its ident is still copied for a direct-to.
  press("DIR INTC");  // the page stays on its second page
  press("L1");
  EXPECT_EQ(smiths_scratchpad, "KPDX");
  EXPECT_EQ(smiths_dir_intc_index, last);
}

TEST_F(LegsTest, DeletingTheFirstWaypointOfTheActiveRouteIsAModification) {
  active_route();
  press("DEL");
  press("L1");  // ALKIS
  EXPECT_EQ(bottom(), "");
  EXPECT_STREQ(fpl_edit[1].ident, "CARRO");
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
}

// STEP with a hold in the route: each press puts <CTR> on a line of the page shown, the
// HOLD AT line taking a row of its own, on each plan map that shows the plan.
TEST_F(LegsTest, StepCentresALineAtEachPressWithAHold) {
  struct Case {
    int32_t* mode;
    int32_t plan, other;
  };
  const Case cases[] = {{&b737_nd_mode, 7, 3}, {&du1000_ehsi_mode, 2, 0}};
  active_route();
  press("HOLD");
  press("L2");  // CARRO
  press("L6");
  smiths_fms_key(69);  // EXEC
  ASSERT_EQ(hold_count, 1);
  for (const Case& c : cases) {
    *c.mode = c.plan;
    press("LEGS");
    for (int n = 1; n <= 2 * fpl_active_last; ++n) {
      press("R6");
      EXPECT_TRUE(has("<CTR>")) << "press " << n << ", centre " << plan_center_index;
    }
    *c.mode = c.other;
    frames();
  }
}

// STEP steps the plan-map centre over a discontinuity: it has no position to centre on.
TEST_F(LegsTest, StepPassesOverADiscontinuity) {
  active_route();
  press("DEL");
  press("L2");
  ASSERT_STREQ(fpl_edit[2].ident, "DISCO");
  press("EXEC");
  ASSERT_STREQ(fpl_active[2].ident, "DISCO");
  b737_nd_mode = 7;
  press("LEGS");
  ASSERT_EQ(plan_center_index, 1);
  press("R6");
  EXPECT_EQ(plan_center_index, 3);
  EXPECT_STREQ(fpl_active[plan_center_index].ident, "OLM");
  b737_nd_mode = 3;
  frames();
}
