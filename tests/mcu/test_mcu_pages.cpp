// MCU keys and pages as the pilot uses them: paging, plan loading, the altitude and
// legs pages, the airport page with its runway selection.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "guidance/fms_state.h"
#include "guidance/waypoint_sequencing.h"
#include "draw/draw_toolkit.h"
#include "tests/mcu/mcu_fixture.h"

namespace {

TEST_F(McuTest, PrevAndNextStepTheActiveWaypointWithWrap) {
  start();
  load_sample_plan();
  ASSERT_TRUE(shows("TO:   ALKIS")) << "the unit is back on the navigation page";
  ASSERT_EQ(fpl_active_last, 6);
  struct Row {
    int32_t key;
    int32_t index;
    const char* shown;
  } rows[] = {
      {MCU_KEY_PREV, 6, "TO:   KPDX  31     6/6"},
      {MCU_KEY_NEXT, 1, "1/6"},
      {MCU_KEY_NEXT, 2, "TO:   CARRO"},
  };
  for (const Row& r : rows) {
    press(r.key);
    EXPECT_EQ(fpl_active_index, r.index);
    EXPECT_TRUE(shows(r.shown)) << r.shown;
    EXPECT_DOUBLE_EQ(active_wpt_lat, fpl_active[r.index].lat);
  }
}

TEST_F(McuTest, AStoredPlanLoadsThroughTheAirportPageOnce) {
  start();
  press(MCU_KEY_FPLN);
  EXPECT_TRUE(shows("KSEAKPDX.RTE"));
  press(MCU_KEY_ENTER);
  EXPECT_EQ(plan_load_request, 1);
  frames(1);  // the update loads, the unit looks the destination up
  EXPECT_EQ(mcu_page, MCU_PAGE_NAV);
  EXPECT_EQ(aptinfo_ident, "KPDX");
  EXPECT_EQ(mcu_plan_loaded, 0);
  EXPECT_EQ(stored_plan_sel, 1);
  frames(1);
  EXPECT_TRUE(shows("TO:   ALKIS") && shows("KPDX:"));
}

TEST_F(McuTest, KeyboardKeyWorksOnlyOnTheEntryPages) {
  start();
  struct Row {
    int32_t page_key;
    bool entry;
  } rows[] = {{MCU_KEY_FPLN, false}, {MCU_KEY_NAV, false}, {MCU_KEY_ALT, false},
              {MCU_KEY_APTINFO, true}, {MCU_KEY_LEGS, true},  {MCU_KEY_DIRTO, true}};
  for (const Row& r : rows) {
    press(r.page_key);
    press(MCU_KEY_KBD);
    EXPECT_EQ(mcu_kbd_on, r.entry ? 1 : 0) << r.page_key;
    EXPECT_EQ(entry_bars(), r.entry ? 1 : 0) << r.page_key;
    if (r.entry) press(MCU_KEY_KBD);
    EXPECT_EQ(mcu_kbd_on, 0);
  }
}

TEST_F(McuTest, AltitudePageStepsWithinItsLimitsAndSendsTheAltitude) {
  start();
  struct Row {
    const char* ap_altitude;
    std::vector<int32_t> arrows;
    const char* shown;
  } rows[] = {
      {"99000", {MCU_KEY_UP}, "NEW ALT:  99000"},
      {"98000", {MCU_KEY_UP}, "NEW ALT:  99000"},
      {"97000", {MCU_KEY_RIGHT, MCU_KEY_UP, MCU_KEY_UP, MCU_KEY_UP}, "NEW ALT:  98000"},
      {"1000", {MCU_KEY_DOWN, MCU_KEY_DOWN}, "NEW ALT:  00000"},
      {"1000", {MCU_KEY_RIGHT, MCU_KEY_DOWN, MCU_KEY_DOWN, MCU_KEY_DOWN}, "NEW ALT:  00000"},
      {"5700", {MCU_KEY_RIGHT, MCU_KEY_LEFT, MCU_KEY_UP}, "NEW ALT:  06000"},
  };
  for (const Row& r : rows) {
    script(std::string("set ap_altitude ") + r.ap_altitude + "\nrun 1s\n");
    press(MCU_KEY_ALT);
    for (int32_t k : r.arrows) press(k);
    EXPECT_TRUE(shows(r.shown)) << r.ap_altitude << " -> " << r.shown;
  }
  host_.clear_records();
  press(MCU_KEY_ENTER);
  bool sent = false;
  for (const simhost::Record& rec : host_.records())
    sent = sent || (rec.kind == simhost::RecordKind::KeyEvent && rec.id == 0x1024C && rec.param == 6000);
  EXPECT_TRUE(sent);
  EXPECT_EQ(mcu_page, MCU_PAGE_NAV);
  // The navigation page is drawn in the frame of the ENTER, with no plan as well: nothing of
  // the altitude page is left on it.
  EXPECT_FALSE(shows("NEW ALT")) << "without a plan the screen would wait for the next repaint";
  EXPECT_FALSE(shows("ALT/FL"));
}

// The digit the arrows step is underlined under its glyph, wherever the line puts it.
TEST_F(McuTest, TheSteppedDigitIsUnderlinedUnderItsGlyph) {
  start();
  load_sample_plan();
  // Glyph ink boxes leave blanks out: character `index` is the ink box of the glyphs before
  // it that are not blanks.
  auto underline_over_glyph = [&](const std::string& text, size_t index) {
    const GfxRecording* r = screen();
    if (!r) return ::testing::AssertionFailure() << "no screen";
    size_t glyph = static_cast<size_t>(std::count_if(text.begin(), text.begin() + index, [](char c) { return c != ' '; }));
    for (const GfxRecord* t : r->of(GfxOp::Text)) {
      if (t->text != text || glyph >= t->glyph_ink.size()) continue;
      const GfxRectF ink = t->glyph_ink[glyph];
      for (const GfxRecord* l : r->of(GfxOp::Line)) {
        if (l->pen_argb != COLOUR_MAGENTA || l->args.size() < 4) continue;
        if (l->args[0] <= ink.x + 1.0 && l->args[2] >= ink.x + ink.width - 1.0 && l->args[2] - l->args[0] < 12.0)
          return ::testing::AssertionSuccess();
      }
      return ::testing::AssertionFailure() << "no underline under character " << index << " of " << text;
    }
    return ::testing::AssertionFailure() << "no text " << text;
  };
  script("set ap_altitude 5000\nrun 1s\n");
  press(MCU_KEY_ALT);
  press(MCU_KEY_LEFT);
  EXPECT_TRUE(underline_over_glyph("NEW ALT:  05000", 11));
  press(MCU_KEY_RIGHT);
  EXPECT_TRUE(underline_over_glyph("NEW ALT:  05000", 12));
  press(MCU_KEY_NAV);
  press(MCU_KEY_LEGS);
  press(MCU_KEY_LEGS_ALT);
  press(MCU_KEY_UP);
  const std::string line = "> Cross " + std::string(fpl_active[mcu_legs_index].ident) + " At " + mcu_legs_entry;
  EXPECT_TRUE(underline_over_glyph(line, line.size() - 4));
}

TEST_F(McuTest, CrossingAltitudeOnTheDestinationAirportAims200FeetAbove) {
  start();
  load_sample_plan();
  ASSERT_EQ(fpl_active[1].constraint_flag, 1);  // ALKIS carries the plan file's constraint
  press(MCU_KEY_LEGS);
  press(MCU_KEY_NEXT, 8);
  EXPECT_EQ(mcu_legs_index, 6) << "the list stops at the last record";
  EXPECT_TRUE(shows("KPDX"));
  press(MCU_KEY_LEGS_ALT);
  press(MCU_KEY_UP, 5);
  EXPECT_TRUE(shows("> Cross KPDX At 05000"));
  EXPECT_FALSE(shows("> > Cross"));
  script("key 7\n");  // typed digits do not change the altitude
  EXPECT_EQ(mcu_legs_entry, "05000");
  press(MCU_KEY_ENTER);
  EXPECT_EQ(fpl_active[6].alt_constraint, 5000.0);
  EXPECT_EQ(fpl_active[6].constraint_flag, 1);
  EXPECT_EQ(vnav_target_alt, 5200.0);
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(fpl_active[i].constraint_flag, 0) << i;
  EXPECT_EQ(mcu_page, MCU_PAGE_NAV);
  EXPECT_EQ(mcu_legs_alt_mode, 0);
}

TEST_F(McuTest, RunwayChosenOnTheAirportPageIsTheMapsSelection) {
  start();
  press(MCU_KEY_APTINFO);
  press(MCU_KEY_KBD);
  type("KSEA");
  script("key ENTER\n");
  EXPECT_TRUE(shows("APT: KSEA - Elev:433    1/1"));
  EXPECT_TRUE(shows("16L ILS 111.70 163  11901"));
  press(MCU_KEY_ENTER);
  EXPECT_EQ(loaded_rwy_index, 1);
  EXPECT_EQ(sel_rwy_changed, 1);
  EXPECT_EQ(screen()->count(GfxOp::Text, 0xFFE9B73E), 2) << "heading and the chosen row amber";
  press(MCU_KEY_ENTER);
  EXPECT_EQ(loaded_rwy_index, MCU_NO_SELECTION);
  // Row 4 of the list scrolled by one: runway 5 (16R).
  press(MCU_KEY_NEXT, 4);
  press(MCU_KEY_ENTER);
  EXPECT_EQ(loaded_rwy_base + loaded_rwy_index - 1, 5);
  press(MCU_KEY_PREV, 4);
  EXPECT_EQ(mcu_aptinfo_sel_row, 5) << "the mark moves with the list";
  // An airport not in the database: no runway to choose; a new list starts at its top.
  press(MCU_KEY_NEXT, 4);
  press(MCU_KEY_KBD);
  ASSERT_EQ(mcu_aptinfo_top, 2);
  type("XXXX");
  script("key ENTER\n");
  EXPECT_EQ(mcu_aptinfo_top, 1);
  press(MCU_KEY_ENTER);
  EXPECT_EQ(loaded_rwy_index, MCU_NO_SELECTION);
  EXPECT_TRUE(shows("APT:"));
}

TEST_F(McuTest, SecondAirportSubPageShowsTheServersActiveRunways) {
  start();
  press(MCU_KEY_APTINFO);
  press(MCU_KEY_KBD);
  type("KSEA");
  script("key ENTER\n");
  press(MCU_KEY_APTINFO);
  EXPECT_EQ(mcu_aptinfo_subpage, 1) << "without the server one sub-page";
  script("ipc start\nipc i32 3336 51380496\nipc i32 3340 51380752\n");
  press(MCU_KEY_APTINFO);  // asks the server
  press(MCU_KEY_APTINFO);
  EXPECT_EQ(mcu_aptinfo_subpage, 2);
  for (const char* t : {"AI Departure Rwys:", "16L", ",16C", "AI Arrival Rwys:", "16R"}) EXPECT_TRUE(shows(t)) << t;
  press(MCU_KEY_APTINFO);
  EXPECT_EQ(mcu_aptinfo_subpage, 1);
}

}  // namespace

// The crossing altitude steps up to the aircraft's MaxCruise (41,000 ft) and no higher.
TEST_F(McuTest, CrossingAltitudeStopsAtMaxCruise) {
  start();
  load_sample_plan();
  press(MCU_KEY_LEGS);
  press(MCU_KEY_LEGS_ALT);
  const struct {
    int ups;
    const char* entry;
  } steps[] = {{40, "40000"}, {1, "41000"}, {1, "41000"}, {20, "41000"}};
  for (const auto& s : steps) {
    press(MCU_KEY_UP, s.ups);
    EXPECT_EQ(mcu_legs_entry, s.entry) << s.ups;
  }
  press(MCU_KEY_ENTER);
  EXPECT_EQ(fpl_active[mcu_legs_index].alt_constraint, 41000.0);
}
