// What a pilot types on the mission CDU's FLT PLAN and STANDARD HOLD is what the plan
// holds; PROGRESS over a route break; blank page ids and the fitted texts.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"
#include "guidance/fms_state.h"
#include "navdb/navdb.h"
#include "platform/gfx/gfx_recording.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"

namespace {

using C17CduEntries = C17CduTest;

// A fix typed on the active route's FLT PLAN is a modification: MOD with the edit plan
// shown, until EXEC makes it active or ERASE drops it; the LEGS key keeps it.
TEST_F(C17CduEntries, AFixTypedOnTheActiveRouteWaitsForExecOrErase) {
  struct Case {
    const char* then;
    int32_t state;
    const char* active;  // record 2 of each plan afterwards
    const char* edit;
  };
  for (const Case& c : {Case{"EXEC", 3, "SEA", "SEA"}, Case{"ERASE", 3, "CARRO", "CARRO"},
                        Case{"LEGS", 4, "CARRO", "SEA"}}) {
    SCOPED_TRACE(c.then);
    load_sample_plan();
    press("LEGS");
    enter("SEA", "L2");
    EXPECT_EQ(fpl_changed_state, 4);
    EXPECT_TRUE(c17_cdu_scratchpad.empty());
    EXPECT_STREQ(fpl_active[2].ident, "CARRO");
    frames(1);
    EXPECT_TRUE(has("MOD"));
    EXPECT_EQ(at(0, 66), "SEA  ");
    EXPECT_EQ(at(0, 99), "CARRO");
    if (std::string(c.then) == "EXEC") smiths_fms_key(69);  // on the Smiths CDU, which shares the route
    else press(c.then == std::string("ERASE") ? "L6" : "LEGS");
    frames(1);
    EXPECT_EQ(fpl_changed_state, c.state);
    EXPECT_STREQ(fpl_active[2].ident, c.active);
    EXPECT_STREQ(fpl_edit[2].ident, c.edit);
    EXPECT_EQ(at(0, 66), std::string(c.edit) + std::string(5 - std::string(c.edit).size(), ' '));
  }
}

// Only the active plan's active record is boxed; a speed or altitude has no place on a
// route break.
TEST_F(C17CduEntries, FltPlanBoxesTheActiveRecordOnlyAndRefusesConstraintsOnABreak) {
  enter_airway_route();
  ASSERT_EQ(fpl_changed_state, 1);
  ASSERT_EQ(fpl_active_index, 1);
  press("LEGS");
  const uint32_t green = colour_at(63, 0);
  EXPECT_EQ(colour_at(0, 33), green) << "state 1: nothing is flown yet";
  press("R6");
  smiths_fms_key(69);
  ASSERT_EQ(fpl_changed_state, 3);
  frames(1);
  EXPECT_NE(colour_at(0, 33), green) << "the active record, boxed";

  enter("", "DEL");
  press("L2");
  ASSERT_STREQ(fpl_active[2].ident, FPL_DISCO_IDENT);
  for (const char* entry : {"250/5000", "FL120", "250/"}) {
    enter(entry, "R2");
    EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY") << entry;
    EXPECT_EQ(c17_cdu_scratchpad, entry);
    EXPECT_EQ(fpl_edit[2].alt_constraint, FPL_NO_CONSTRAINT) << entry;
    EXPECT_EQ(fpl_edit[2].spd_constraint, FPL_NO_CONSTRAINT) << entry;
    EXPECT_EQ(fpl_changed_state, 3) << entry;
  }
}

// STANDARD HOLD names the fix of the hold it shows, wherever later edits moved it.
TEST_F(C17CduEntries, StandardHoldNamesItsFixAfterARecordIsInsertedBeforeIt) {
  load_sample_plan();
  press("LEGS");
  press("HOLD");
  ASSERT_EQ(smiths_legs_mode, 2);
  enter("", "L3");  // OLM
  ASSERT_EQ(c17_cdu_scratchpad, "OLM");
  press("L6");
  ASSERT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
  enter("123", "L1");
  frames(1);
  EXPECT_EQ(at(201, 0), "OLM");
  press("LEGS");
  enter("SEA", "L2");
  ASSERT_STREQ(fpl_edit[4].ident, "OLM");
  press("HOLD");
  ASSERT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
  frames(1);
  EXPECT_EQ(at(201, 0), "OLM");
  EXPECT_EQ(at(12, 42), "123");
}

// PAMMS typed on FLT PLAN's L6 for a direct-to or a HOLD AT: DUPLICATE NAMES, and the
// chosen fix is the one flown to or held at.
TEST_F(C17CduEntries, DirectToAndHoldAtTakeTheFixChosenOnDuplicateNames) {
  struct Case {
    const char* mode_key;
    const char* after;  // the entry left for the line key
  };
  for (const Case& c : {Case{"DIR INTC", ""}, Case{"HOLD", "HOLD AT PAMMS"}}) {
    SCOPED_TRACE(c.mode_key);
    load_sample_plan();
    press("LEGS");
    press(c.mode_key);
    enter("PAMMS", "L6");
    ASSERT_EQ(c17_cdu_page, C17_CDU_DUPLICATE_NAMES);
    EXPECT_EQ(fpl_changed_state, 3) << "nothing inserted before the choice";
    const NavRecord chosen = nav_search_list[2];
    press("L2");
    EXPECT_EQ(c17_cdu_page, C17_CDU_FLT_PLAN);
    EXPECT_EQ(c17_cdu_scratchpad, c.after);
    if (*c.after) press("L2");  // HOLD AT before CARRO
    EXPECT_EQ(fpl_changed_state, 4);
    const int rec = *c.after ? 2 : fpl_active_index;
    EXPECT_STREQ(fpl_edit[rec].ident, "PAMMS");
    EXPECT_DOUBLE_EQ(fpl_edit[rec].lat, chosen.lat);
    EXPECT_EQ(hold_count, *c.after ? 1 : 0);
    if (*c.after) {
      EXPECT_EQ(hold_list[1].edit_wpt, rec);
    }
    press("L6");  // ERASE
  }
}

// Texts drawn on line y of the last draw.
std::vector<std::string> texts_on(const GfxRecording* r, double y) {
  std::vector<std::string> v;
  if (r)
    for (const GfxTextItem& t : r->text_items())
      if (std::abs(t.world.y - y) < 0.01) v.push_back(t.text);
  return v;
}

// The first number of the texts on line y at or right of x0, -1e9 when none.
double number_on(const GfxRecording* r, double y, double x0, double x1) {
  if (r)
    for (const GfxTextItem& t : r->text_items())
      if (std::abs(t.world.y - y) < 0.01 && t.world.x >= x0 && t.world.x < x1) return std::atof(t.text.c_str());
  return -1e9;
}

// In flight towards CARRO: a northbound next leg reads a course of 001..360; after the
// next fix becomes a discontinuity its row shows the ident alone and the destination
// is measured along the placed fixes.
TEST_F(C17CduEntries, ProgressFoldsCoursesAndMeasuresNoDiscontinuity) {
  load_sample_plan();
  fly_past_alkis();
  ASSERT_STREQ(fpl_active[2].ident, "CARRO");
  press("LEGS");
  enter("PAMMS", "L2");  // the northern one, before OLM
  ASSERT_EQ(c17_cdu_page, C17_CDU_DUPLICATE_NAMES);
  press("L1");
  smiths_fms_key(69);
  ASSERT_STREQ(fpl_active[3].ident, "PAMMS");
  press("PROG");
  frames(1);
  EXPECT_EQ(at(0, 124), "PAMMS");
  const std::string course = at(30, 112);
  EXPECT_EQ(course.find('-'), std::string::npos) << course;
  const double c = std::atof(course.c_str());
  EXPECT_TRUE(c >= 330 && c <= 360) << course;

  press("LEGS");
  enter("", "DEL");
  press("L2");
  ASSERT_STREQ(fpl_active[3].ident, FPL_DISCO_IDENT);
  press("PROG");
  frames(1);
  EXPECT_EQ(texts_on(screen(), 124), std::vector<std::string>{"DISCO"}) << "no distance, time or fuel";
  EXPECT_TRUE(texts_on(screen(), 112).empty()) << "no course";
  EXPECT_EQ(at(0, 165), "KPDX ");
  const double to_dest = number_on(screen(), 165, 40, 130);
  EXPECT_TRUE(to_dest > 60 && to_dest < 200) << to_dest;
  const double fuel = number_on(screen(), 165, 280, 300);
  EXPECT_GE(fuel, 0.0);
}

// A page id this unit leaves blank: L6 (INDEX) leads back to MSN INDEX, other keys do
// nothing.
TEST_F(C17CduEntries, BlankPagesLeadBackToTheIndex) {
  struct Case {
    const char* page_key;  // opened by this key, then `line_key`
    const char* line_key;
    int32_t blank_page;
  };
  for (const Case& c : {Case{"DEP", "L6", 24}, Case{"ARR", "L6", 24}, Case{"PROG", "R6", 31}, Case{"", "", 9},
                        Case{"", "", C17_CDU_LAT_REV}, Case{"TOLD", "", C17_CDU_TAKEOFF_REF}}) {
    SCOPED_TRACE(c.blank_page);
    if (*c.page_key) press(c.page_key);
    else c17_cdu_page = c.blank_page;
    if (c.blank_page == C17_CDU_TAKEOFF_REF) toc_reached = 1;
    if (*c.line_key) press(c.line_key);
    ASSERT_EQ(c17_cdu_page, c.blank_page);
    frames(1);
    EXPECT_TRUE(blank());
    press("R1");
    EXPECT_EQ(c17_cdu_page, c.blank_page);
    press("L6");
    EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX);
    toc_reached = 0;
  }
}

// Inks of two texts of a page keep apart, `gap` pixels at least.
void expect_inks_apart(const GfxRecording* r, float gap) {
  ASSERT_NE(r, nullptr);
  const std::vector<GfxTextItem> items = r->text_items();
  for (size_t i = 0; i < items.size(); ++i)
    for (size_t j = i + 1; j < items.size(); ++j) {
      const GfxRectF &a = items[i].ink, &b = items[j].ink;
      if (a.width <= 0 || b.width <= 0) continue;
      const bool apart = a.x + a.width + gap <= b.x || b.x + b.width + gap <= a.x || a.y + a.height + gap <= b.y ||
                         b.y + b.height + gap <= a.y;
      EXPECT_TRUE(apart) << "\"" << items[i].text << "\" and \"" << items[j].text << "\"";
    }
}

// TAKEOFF REF's status line and DEPARTURES' tags and fifth runway keep clear of each
// other and of the rules.
TEST_F(C17CduEntries, TakeoffAndDepartureTextsKeepApart) {
  press("TOLD");
  frames(1);
  EXPECT_TRUE(has("P R E     F L T   S T A T U S"));
  expect_inks_apart(screen(), 2.0f);
  load_sample_plan();
  press("TOLD");
  press("R5");
  ASSERT_EQ(c17_cdu_page, C17_CDU_DEPARTURES);
  frames(1);
  ASSERT_GE(dep_rwy_count, 5);
  expect_inks_apart(screen(), 4.0f);
  press("L1");
  press("R1");
  frames(1);
  EXPECT_EQ(texts_on(screen(), 33).size(), 4u) << "SID, runway and their tags";
  expect_inks_apart(screen(), 4.0f);
}

}  // namespace
