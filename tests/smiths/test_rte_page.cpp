// RTE page: origin, destination, runway, company route, airways and direct legs,
// ACTIVATE and EXEC, MOD and ERASE, and the messages of bad entries.
#include <cstdio>
#include <cstring>
#include <fstream>

#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"

namespace {

class RteTest : public CduTest {
 protected:
  void origin_and_dest() {
    start();
    press("RTE");
    enter("KSEA", "L1");
    enter("KPDX", "R1");
  }
  // KSEA OLM V23 BTG KPDX in the edit plan.
  void airway_route() {
    origin_and_dest();
    press("NEXT");
    enter("OLM", "R1");
    enter("V23", "L2");
    enter("BTG", "R2");
  }
};

}  // namespace

TEST_F(RteTest, OriginAndDestinationFromTheDatabase) {
  start();
  press("RTE");
  EXPECT_EQ(title(), "RTE");
  EXPECT_EQ(at(220, 0), " 1/ 2");
  EXPECT_EQ(at(0, 33), "- - - - -");
  EXPECT_EQ(boxes(), 5);  // the destination waits in five boxes
  EXPECT_FALSE(has("R U N W A Y"));
  EXPECT_EQ(at(160, 202), "");  // no prompt without a route
  enter("KXXX", "L1");
  EXPECT_EQ(bottom(), "NOT IN DATABASE");
  EXPECT_EQ(smiths_scratchpad, "KXXX");
  press("CLR");
  press("CLR");
  press("CLR");
  press("CLR");
  press("CLR");
  enter("KSEA", "L1");
  EXPECT_EQ(at(0, 33), " KSEA");
  EXPECT_EQ(bottom(), "");
  EXPECT_TRUE(has("R U N W A Y"));
  EXPECT_EQ(at(0, 104), "- - - - -");
  EXPECT_EQ(fpl_active_index, FPL_NO_PLAN);
  enter("KPDX", "R1");
  EXPECT_EQ(at(210, 33), " KPDX");
  EXPECT_EQ(boxes(), 0);
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_STREQ(fpl_edit[1].ident, "KPDX");
  EXPECT_STREQ(fpl_edit[1].type, "APT");
  EXPECT_DOUBLE_EQ(fpl_edit[1].alt_constraint, 31.0);
  // An empty scratchpad makes the entry keys do nothing.
  press("L1");
  EXPECT_EQ(at(0, 33), " KSEA");
}

TEST_F(RteTest, RunwayOfTheOrigin) {
  origin_and_dest();
  enter("99", "L3");
  EXPECT_EQ(bottom(), "NOT IN DATABASE");
  press("CLR");
  press("CLR");
  press("CLR");
  enter("16L", "L3");
  EXPECT_EQ(at(0, 104), "16L");
  EXPECT_EQ(smiths_scratchpad, "");
}

TEST_F(RteTest, DirectAndAirwayLegsOnTheRoutePages) {
  origin_and_dest();
  press("NEXT");
  EXPECT_EQ(at(220, 0), " 2/ 2");
  EXPECT_EQ(line(36), "DIRECT | KPDX");
  // The first listed row takes no airway.
  enter("V23", "L1");
  EXPECT_EQ(bottom(), "INVALID ENTRY");
  press("CLR");
  press("CLR");
  press("CLR");
  press("CLR");
  enter("OLM", "R1");
  EXPECT_EQ(line(36), "DIRECT | OLM");
  EXPECT_EQ(line(69), "DIRECT | KPDX");
  EXPECT_EQ(at(160, 202), "ACTIVATE >");
  enter("J999", "L2");
  EXPECT_EQ(bottom(), "INVALID ENTRY");
  for (int i = 0; i < 5; ++i) press("CLR");
  enter("V23", "L2");
  EXPECT_EQ(at(0, 69), "V23");
  EXPECT_EQ(at(100, 58), "THEN");
  EXPECT_EQ(boxes(), 5);
  enter("ELN", "R2");  // not on V23
  EXPECT_EQ(bottom(), "INVALID ENTRY");
  EXPECT_EQ(smiths_scratchpad, "ELN");
  for (int i = 0; i < 4; ++i) press("CLR");
  enter("BTG", "R2");
  EXPECT_EQ(line(69), "V23 | BTG");
  EXPECT_EQ(line(102), "DIRECT | KPDX");
  EXPECT_EQ(fpl_edit_last, 4);
  EXPECT_STREQ(fpl_edit[2].ident, "DUBYA");
  EXPECT_STREQ(fpl_edit[2].via, "V23");
}

TEST_F(RteTest, ToKeysCopyRefuseAndSkipAhead) {
  airway_route();
  press("R1");  // empty scratchpad: the row's fix
  EXPECT_EQ(smiths_scratchpad, "OLM");
  press("R1");  // the same fix again
  EXPECT_EQ(bottom(), "INVALID ENTRY");
  press("CLR");
  press("CLR");
  press("CLR");
  press("CLR");
  enter("NOWHERE", "R1");
  EXPECT_EQ(bottom(), "NOT IN DATABASE");
  for (int i = 0; i < 8; ++i) press("CLR");
  press("DEL");
  press("R1");
  EXPECT_EQ(bottom(), "INVALID DELETE");
  press("CLR");
  // A later fix of the route: the fixes between go.
  enter("BTG", "R1");
  EXPECT_EQ(line(36), "V23 | BTG");
  EXPECT_EQ(fpl_edit_last, 2);
}

TEST_F(RteTest, DeleteOnAViaRowRemovesTheRow) {
  airway_route();
  press("DEL");
  press("L2");
  EXPECT_EQ(bottom(), "");
  EXPECT_EQ(line(36), "DIRECT | OLM");
  EXPECT_EQ(line(69), "DIRECT | KPDX");
  press("DEL");
  press("L5");
  EXPECT_EQ(bottom(), "INVALID DELETE");
}

TEST_F(RteTest, ActivateThenExecMakesTheRouteActive) {
  airway_route();
  EXPECT_EQ(fpl_changed_state, 1);
  press("R6");
  EXPECT_EQ(fpl_changed_state, 2);
  EXPECT_EQ(at(160, 202), "PERF INIT >");
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  press("EXEC");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_FALSE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  EXPECT_EQ(at(18, 0), "ACT");
  EXPECT_EQ(fpl_active_last, 4);
  EXPECT_STREQ(fpl_active[4].ident, "KPDX");
  EXPECT_STREQ(fpl_active[5].ident, "******");
  // An edit of the active route shows MOD until EXEC or ERASE.
  enter("SEA", "R1");
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(at(14, 0), "MOD");
  EXPECT_EQ(at(0, 198), "< ERASE");
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  EXPECT_EQ(line(36), "DIRECT | SEA");
  press("L6");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(line(36), "DIRECT | OLM");
  EXPECT_EQ(fpl_active_last, 4);
  // R6 past ACTIVATE opens PERF INIT.
  press("R6");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_PERF_INIT);
}

TEST_F(RteTest, NewOriginOnAnActiveRouteStartsOver) {
  airway_route();
  press("R6");
  press("EXEC");
  press("PREV");
  enter("KBFI", "L1");
  EXPECT_EQ(fpl_changed_state, 0);
  EXPECT_FALSE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  EXPECT_EQ(at(0, 33), " KBFI");
  EXPECT_EQ(boxes(), 5);
  EXPECT_EQ(fpl_active_last, 0);
  EXPECT_EQ(fpl_active_index, FPL_NO_PLAN);
}

TEST_F(RteTest, PagesCountTheRowsAndWrap) {
  origin_and_dest();  // 2 rows: 2 pages
  press("PREV");
  EXPECT_EQ(at(220, 0), " 2/ 2");
  press("NEXT");
  EXPECT_EQ(at(220, 0), " 1/ 2");
  press("NEXT");
  enter("OLM", "R1");
  enter("BTG", "R2");
  enter("SEA", "R3");  // 5 rows: ceil(6 / 5) + 1 pages
  EXPECT_EQ(at(220, 0), " 2/ 3");
}

TEST_F(RteTest, CompanyRouteFromTheStoredPlans) {
  start();
  press("RTE");
  enter("KXXX", "L2");
  EXPECT_EQ(bottom(), "NOT IN DATABASE");
  for (int i = 0; i < 5; ++i) press("CLR");
  enter("KSEAKP", "L2");  // the plan's name begins with the entry
  EXPECT_EQ(fpl_changed_state, 1);
  EXPECT_EQ(at(160, 202), "ACTIVATE >");
  EXPECT_EQ(at(0, 33), " KSEA");
  EXPECT_EQ(at(210, 33), " KPDX");
  press("NEXT");
  EXPECT_EQ(line(36), "ALKI1 | OLM");
  EXPECT_EQ(line(69), "V23 | BTG");
}

TEST_F(RteTest, DestinationOnAnActiveRouteWithAnArrivalLeavesOneDiscontinuity) {
  // The old destination's arrival goes, and so does its approach with the missed
  // approach after the runway: one route break stands where they were.
  for (const char* last_leg : {"STAR", "APCH"}) {
    SCOPED_TRACE(last_leg);
    start();
    press("RTE");
    enter("KSEAKPDX", "L2");
    press("R6");
    press("EXEC");
    std::strcpy(fpl_active[4].segment, "STAR");
    std::strcpy(fpl_active[5].segment, last_leg);
    enter("KOLM", "R1");
    EXPECT_EQ(fpl_changed_state, 4);
    EXPECT_EQ(at(14, 0), "MOD");
    EXPECT_EQ(at(210, 33), "KOLM");
    EXPECT_STREQ(fpl_edit[fpl_edit_last].ident, "KOLM");
    EXPECT_STREQ(fpl_edit[fpl_edit_last - 1].ident, "DISCO");
    EXPECT_STREQ(fpl_edit[fpl_edit_last - 2].ident, "OLM");
    host_.stop();
  }
}

TEST_F(RteTest, DestinationOfAFullPlanIsRefusedAndChangesNothing) {
  start();
  press("RTE");
  enter("KSEA", "L1");
  // A route of fixes that fills the plan table.
  for (int i = 1; i <= FPL_MAX_LAST; ++i) {
    fpl_active[i] = fpl_active[0];
    std::snprintf(fpl_active[i].ident, sizeof fpl_active[i].ident, "W%03d", i);
    std::strcpy(fpl_active[i].type, "WPT");
  }
  std::strcpy(fpl_active[FPL_MAX_LAST + 1].ident, "******");
  fpl_active_last = FPL_MAX_LAST;
  for (int i = 0; i <= FPL_MAX_LAST + 1; ++i) fpl_edit[i] = fpl_active[i];
  fpl_edit_last = FPL_MAX_LAST;
  enter("KPDX", "R1");
  EXPECT_EQ(bottom(), "INVALID ENTRY");
  EXPECT_EQ(smiths_scratchpad, "KPDX");
  EXPECT_EQ(boxes(), 5);
  EXPECT_EQ(fpl_active_last, FPL_MAX_LAST);
  EXPECT_STREQ(fpl_active[FPL_MAX_LAST].ident, "W199");
  EXPECT_STREQ(fpl_active[FPL_MAX_LAST + 1].ident, "******");
  EXPECT_EQ(fpl_changed_state, 0);
}
