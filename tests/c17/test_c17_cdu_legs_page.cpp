// The mission CDU's FLT PLAN page through the harness keypad: constraints, DELETE to a
// discontinuity, holds that shift later pages, direct-to, intercept course, HOLD AT and
// PPOS, with and without an active plan.
#include <string>

#include "c17/c17_cdu.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"

namespace {

using C17CduLegs = C17CduTest;

TEST_F(C17CduLegs, EmptyPlanHasOnePageAndNoRecordIsRead) {
  press("LEGS");
  EXPECT_EQ(at(63, 0), "FLT  PLAN");
  EXPECT_EQ(at(220, 0), " 1 /  1");
  EXPECT_EQ(at(0, 33), "- - - - - -");
  for (const char* key : {"PREV", "NEXT", "PREV"}) {
    press(key);
    EXPECT_EQ(smiths_legs_page_no, 1) << key;
    EXPECT_EQ(at(220, 0), " 1 /  1") << key;
  }
  // Only an origin: no active plan (index 999); a PPOS hold goes in at record 1.
  press("RTE");
  enter("KSEA", "L1");
  ASSERT_EQ(fpl_active_index, FPL_NO_PLAN);
  press("HOLD");
  ASSERT_EQ(smiths_legs_mode, 2);
  press("R6");
  EXPECT_STREQ(fpl_edit[1].ident, "HOLD PPOS");
  EXPECT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
  EXPECT_EQ(c17_hold_row, 1);
  frames(1);
  EXPECT_EQ(at(201, 0), "HOLD PPOS");
}

TEST_F(C17CduLegs, ConstraintsAndDeleteToADiscontinuity) {
  TransAlt = 18000;
  enter_airway_route();
  press("LEGS");
  EXPECT_EQ(at(0, 33), "OLM  ");
  EXPECT_EQ(at(0, 66), "DUBYA");
  EXPECT_EQ(at(0, 132), "KPDX ");
  EXPECT_EQ(at(0, 165), "- - - - - -");
  EXPECT_EQ(at(170, 209), "ACTIVATE >");
  struct Case {
    const char* entry;
    const char* key;
    bool ok;
    double x, y;
    const char* shown;
  };
  for (const Case& c : {Case{"250/FL120", "R2", true, 130, 66, "  250 / 12000A"},
                        Case{"120", "R3", true, 140, 99, "- - - - / 12000A"},
                        Case{"450/5000", "R1", false, 130, 33, "- - - - / - - - - - -"},
                        Case{"FL250", "R1", true, 140, 33, "- - - - / FL250A"}}) {
    enter(c.entry, c.key);
    EXPECT_EQ(c17_cdu_scratchpad_msg, c.ok ? "" : "INVALID ENTRY") << c.entry;
    EXPECT_EQ(c17_cdu_scratchpad, c.ok ? "" : c.entry) << c.entry;
    EXPECT_EQ(at(c.x, c.y), c.shown) << c.entry;
  }
  // An empty scratchpad takes the altitude and speed back.
  enter("", "R2");
  EXPECT_EQ(c17_cdu_scratchpad, "12000/250");

  // The route activated (EXEC on the Smiths CDU, which shares it); DELETE on the last
  // record is refused; on DUBYA it makes a discontinuity of the active route.
  c17_cdu_scratchpad.clear();
  press("R6");
  ASSERT_EQ(fpl_changed_state, 2);
  smiths_fms_key(69);
  ASSERT_EQ(fpl_changed_state, 3);
  ASSERT_EQ(fpl_active_index, 1);
  enter("", "DEL");
  press("L4");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID DELETE");
  enter("", "DEL");
  press("L2");
  EXPECT_STREQ(fpl_active[2].ident, FPL_DISCO_IDENT);
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(c17_cdu_scratchpad_msg, "");
  frames(1);
  EXPECT_EQ(at(5, 52), "T H E N");
  EXPECT_EQ(at(7, 88), ". .  R O U T E  D I S C O N T I N U I T Y  .");
}

// DELETE to a discontinuity on the route flown or parked: the flight-plan layer empties
// this unit's message line; the Smiths CDU's message stays.
TEST_F(C17CduLegs, DeleteToADiscontinuityEmptiesTheMessageLine) {
  struct Case {
    bool in_flight;
    const char* deleted;  // the fix on the second line, the active one on the first
  };
  for (const Case& c : {Case{false, "CARRO"}, Case{true, "OLM"}}) {
    SCOPED_TRACE(c.in_flight ? "in flight" : "parked");
    load_sample_plan();
    if (c.in_flight) fly_past_alkis();
    press("LEGS");
    const int rec = fpl_active_index + 1;
    ASSERT_STREQ(fpl_active[rec].ident, c.deleted);
    smiths_scratchpad_msg = "NOT IN DATABASE";
    enter("", "DEL");
    EXPECT_EQ(at(0, 227), "DELETE");
    press("L2");
    EXPECT_STREQ(fpl_active[rec].ident, FPL_DISCO_IDENT);
    EXPECT_EQ(fpl_changed_state, 3);
    EXPECT_EQ(c17_cdu_scratchpad_msg, "");
    EXPECT_EQ(smiths_scratchpad_msg, "NOT IN DATABASE");
    frames(1);
    EXPECT_FALSE(has("DELETE"));
    EXPECT_EQ(at(7, 88), ". .  R O U T E  D I S C O N T I N U I T Y  .");
    smiths_scratchpad_msg.clear();
  }
}

// With the MFD on the north-up map the first line is the map centre; once its record is
// passed, the centre moves to the active record on the first line.
TEST_F(C17CduLegs, MapCentreFollowsTheFirstLineOncePassed) {
  load_sample_plan();
  c17_mfd_mode = 6;
  press("LEGS");
  frames(1);
  EXPECT_EQ(plan_center_index, 1);
  EXPECT_EQ(at(78, 33), "<CTR>");
  fly_past_alkis();
  frames(1);
  EXPECT_EQ(plan_center_index, 2);
  EXPECT_EQ(at(0, 33), "CARRO");
  EXPECT_EQ(at(78, 33), "<CTR>");
}

// Two holds on the first page take two lines: page 2 starts two records earlier.
TEST_F(C17CduLegs, HoldsShiftLaterPages) {
  load_sample_plan();
  ASSERT_GE(fpl_active_last, 5);
  ASSERT_GT(add_hold(1, 1), 0);
  ASSERT_GT(add_hold(2, 1), 0);
  press("LEGS");
  EXPECT_EQ(at(20, 55), "H O L D   A T");
  EXPECT_EQ(at(0, 66), cdu_format("%-5s", fpl_edit[1].ident));
  EXPECT_EQ(at(0, 99), cdu_format("%-5s", fpl_edit[2].ident));
  EXPECT_EQ(at(20, 121), "H O L D   A T");
  const int pages = (2 + fpl_edit_last + 4) / 5;
  EXPECT_EQ(at(220, 0), cdu_format("%2d / %2d", 1, pages));
  press("NEXT");
  frames(1);
  EXPECT_EQ(at(0, 33), cdu_format("%-5s", fpl_edit[4].ident));
  press("PREV");
  press("PREV");
  frames(1);
  EXPECT_EQ(at(220, 0), cdu_format("%2d / %2d", pages, pages));
  // DELETE on a HOLD AT line removes that hold only, with EXEC on an active route.
  press("LEGS");
  enter("", "DEL");
  press("L2");
  smiths_fms_key(69);
  EXPECT_EQ(hold_count, 1);
  EXPECT_EQ(c17_cdu_scratchpad_msg, "");
}

TEST_F(C17CduLegs, DirectToAndInterceptCourseInFlight) {
  load_sample_plan();
  fly_past_alkis();
  press("DIR INTC");
  ASSERT_EQ(smiths_legs_mode, 1);
  EXPECT_EQ(at(0, 184), "D I R E C T    T O                    I N T C    L E G");
  enter("SEA", "L6");
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_STREQ(fpl_edit[2].ident, "SEA");
  EXPECT_EQ(fpl_active_index, 2);
  press("L6");  // ERASE
  EXPECT_EQ(fpl_changed_state, 3);

  // An intercept of the leg into the third line's record.
  press("DIR INTC");
  c17_cdu_scratchpad.clear();
  press("L3");
  const int target = smiths_dir_intc_index;
  ASSERT_GT(target, 0);
  EXPECT_EQ(c17_cdu_scratchpad, std::string(fpl_edit[target].ident));
  press("L6");
  EXPECT_EQ(intc_crs_pending, 1);
  EXPECT_EQ(intc_target_wpt, target);
  EXPECT_GE(fpl_edit[target].intc_course, 0.0);
  for (const char* bad : {"ABC", "720", "-5", "361"}) {
    enter(bad, "R6");
    EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY") << bad;
  }
  enter("090", "R6");
  EXPECT_EQ(c17_cdu_scratchpad_msg, "");
  EXPECT_DOUBLE_EQ(fpl_edit[target].intc_course, 90.0);
  frames(1);
  EXPECT_EQ(at(215, 193), "090\xC2\xB0");
}

TEST_F(C17CduLegs, HoldAtAFixAndAtTheRecordOfALine) {
  enter_airway_route();
  press("HOLD");
  ASSERT_EQ(smiths_legs_mode, 2);
  EXPECT_EQ(at(190, 209), "PPOS >");
  enter("OLM", "L6");
  EXPECT_EQ(c17_cdu_scratchpad, "HOLD AT OLM");
  press("L3");  // before BTG
  EXPECT_STREQ(fpl_edit[3].ident, "OLM");
  ASSERT_EQ(hold_count, 1);
  EXPECT_EQ(hold_list[1].edit_wpt, 3);
  EXPECT_EQ(c17_cdu_scratchpad, "");

  // A line's record picked with an empty scratchpad, then L6: STANDARD HOLD on that hold.
  press("HOLD");
  ASSERT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);  // holds listed: the hold page
  smiths_legs_mode = 2;
  c17_cdu_page = C17_CDU_FLT_PLAN;
  c17_cdu_scratchpad.clear();
  press("L1");
  EXPECT_EQ(c17_cdu_scratchpad, "OLM");
  press("L6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
  ASSERT_EQ(hold_count, 2);
  EXPECT_EQ(c17_hold_row, 1);
  EXPECT_EQ(hold_list[c17_hold_index].edit_wpt, 1);
  frames(1);
  EXPECT_EQ(at(201, 0), "OLM");
}

}  // namespace
