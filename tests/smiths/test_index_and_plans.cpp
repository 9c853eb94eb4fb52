// IDENT, INIT/REF INDEX with the save and the GPS-route load, and STORED FLIGHT PLANS.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cdu/smiths/page_layout.h"
#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"

namespace fs = std::filesystem;

namespace {

class PlansTest : public CduTest {
 protected:
  std::string plans_folder() const { return folder_ + "/vek/flightplans/"; }
  void add_plan_file(const std::string& name) {
    std::ofstream f(plans_folder() + name);
    f << "[FlightPlan]\nKBFI APT 47.529999 -122.301950 21 -999 -1.0 0 0 - - - -\n"
         "SEA VOR 47.435372 -122.309614 -999 -999 -1.0 0 0 - - - 116.80\n"
         "KOLM APT 46.969400 -122.902500 209 -999 -1.0 0 0 - - - -\n";
  }
  // The sample company route, activated.
  void active_route() {
    press("RTE");
    enter("KSEAKPDX", "L2");
    press("R6");
    press("EXEC");
    ASSERT_EQ(fpl_changed_state, 3);
  }
  // Every text of the screen's last draw ends inside the screen.
  void expect_texts_inside() const {
    for (const GfxTextItem& t : items())
      EXPECT_LE(t.world.x + cdu_text_width(t.text, t.font_size), CDU_CANVAS_W) << t.text;
  }
  // The record line of `ident` in plan file `name`.
  std::string line_of(const std::string& name, const std::string& ident) const {
    std::ifstream f(plans_folder() + name);
    std::string line;
    while (std::getline(f, line))
      if (line.rfind(ident + " ", 0) == 0) return line;
    return "";
  }
};

}  // namespace

TEST_F(PlansTest, IdentAndIndexLeadToTheirPages) {
  start();
  EXPECT_TRUE(has("E N G   R A T I N G"));
  EXPECT_TRUE(has("19DEC - 16JAN/25"));
  expect_texts_inside();
  EXPECT_TRUE(has("296485 - 07 - 11      (V01.8.5)"));
  press("R6");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_POS_INIT);
  smiths_page = SMITHS_PAGE_IDENT;
  press("L6");
  EXPECT_EQ(title(), "INIT/REF   INDEX");
  EXPECT_TRUE(has("FLIGHT PLANS>"));
  expect_texts_inside();
  const std::pair<const char*, int> keys[] = {{"L1", SMITHS_PAGE_IDENT},       {"L2", SMITHS_PAGE_POS_INIT},
                                              {"L3", SMITHS_PAGE_PERF_INIT},   {"L4", SMITHS_PAGE_TAKEOFF_REF},
                                              {"L5", SMITHS_PAGE_APPROACH_REF}, {"R1", SMITHS_PAGE_REF_NAV_DATA},
                                              {"R2", SMITHS_PAGE_STORED_PLANS}};
  for (const auto& [key, page] : keys) {
    smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
    press(key);
    EXPECT_EQ(smiths_page, page) << key;
  }
}

TEST_F(PlansTest, DrawWithUpdateRunsAStepAndDrawsThePageOnTheCallersGraphics) {
  start();
  GaugeImage image{nullptr, 284, 233, 284 * 4, nullptr};
  gfx_recording_enable(&image);
  GfxGraphics* g = nullptr;
  ASSERT_EQ(gfx_create(&image, &g), GFX_OK);
  plan_center_index = 3;
  b737_nd_mode = 7;  // the B737 ND shows its plan: the centre stays
  smiths_fms_draw_with_update(nullptr, g);
  EXPECT_EQ(plan_center_index, 3);
  EXPECT_NE(sim_tick_prev, 99.0);  // the update stepped
  b737_nd_mode = 3;
  md11_nd_mode = 2;  // the MD-11's plan does not count
  smiths_pending_lsk = 1;
  smiths_fms_draw_with_update(nullptr, g);
  EXPECT_EQ(plan_center_index, 0);
  EXPECT_EQ(smiths_pending_lsk, 0);
  std::vector<std::string> texts = gfx_recording_of(&image)->texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "E N G   R A T I N G"), texts.end());
  gfx_delete(g);
  gfx_recording_disable(&image);
}

TEST_F(PlansTest, SaveNeedsAnActiveRouteAndNamesTheFileAfterItsEnds) {
  start();
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  type("MYPLAN");
  press("R6");
  EXPECT_EQ(bottom(), "NO ACTIVE FLIGHT PLAN");
  EXPECT_EQ(smiths_scratchpad, "MYPLAN");
  press("CLR");
  for (int i = 0; i < 6; ++i) press("CLR");
  active_route();
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  fs::remove(plans_folder() + "KSEAKPDX.RTE");
  press("R6");
  EXPECT_EQ(bottom(), "KSEAKPDX.RTE Saved");
  EXPECT_TRUE(fs::exists(plans_folder() + "KSEAKPDX.RTE"));
  press("CLR");
  type("TRIP.RTE");
  press("R6");
  EXPECT_EQ(bottom(), "TRIP.RTE Saved");
  EXPECT_TRUE(fs::exists(plans_folder() + "TRIP.RTE"));
  EXPECT_EQ(smiths_scratchpad, "");
}

TEST_F(PlansTest, SavedNameNeverLeavesThePlansFolder) {
  start();
  active_route();
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  for (const char* name : {"../../OUT", "A/B", "..RTE"}) {
    smiths_scratchpad.clear();
    smiths_scratchpad_msg.clear();
    type(name);
    press("R6");
    EXPECT_EQ(bottom(), "INVALID ENTRY") << name;
    EXPECT_EQ(smiths_scratchpad, name);
  }
  EXPECT_FALSE(fs::exists(folder_ + "/OUT.RTE"));
  EXPECT_FALSE(fs::exists(folder_ + "/vek/OUT.RTE"));
}

TEST_F(PlansTest, LoadAtcRouteTakesTheSimulatorsGpsRoute) {
  start();
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  press("R3");
  EXPECT_EQ(bottom(), "NO ACTIVE GPS RTE");
  press("CLR");
  host_.add_gps_point("KSEA", 47.449, -122.309306);
  host_.add_gps_point("OLM", 46.971528, -122.9019);
  host_.add_gps_point("KPDX", 45.588722, -122.5975);
  press("R3");
  EXPECT_EQ(bottom(), "ACTIVE DAVUDUVUV RTE LOADED");
  expect_texts_inside();
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(fpl_active_last, 2);
  // The route's airports as a stored-plan load gives them, so DEP/ARR works.
  press("CLR");
  press("RTE");
  EXPECT_EQ(at(0, 33), " KSEA");
  EXPECT_EQ(at(210, 33), " KPDX");
  EXPECT_EQ(at(0, 104), "- - - - -");
  press("DEP ARR");
  press("L1");
  EXPECT_EQ(at(25, 0), "KSEA DEPARTURES");
  press("DEP ARR");
  press("R2");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_ARRIVALS);
}

// The saved plan is listed at once and holds what was entered, not OLM's predicted
// crossing: loaded again, OLM shows no constraint.
TEST_F(PlansTest, ASavedPlanIsListedAndHoldsTheEnteredConstraintsOnly) {
  start();
  active_route();
  ASSERT_GT(fpl_active[3].alt_constraint, 0.0);  // OLM's prediction
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  enter("TRIP", "R6");
  ASSERT_EQ(bottom(), "TRIP.RTE Saved");
  EXPECT_NE(line_of("TRIP.RTE", "ALKIS").find(" 4000 250 "), std::string::npos);
  EXPECT_NE(line_of("TRIP.RTE", "OLM").find(" -999 -999 "), std::string::npos);
  EXPECT_NE(line_of("TRIP.RTE", "KPDX").find(" 31 -999 "), std::string::npos);
  press("CLR");
  smiths_page = SMITHS_PAGE_STORED_PLANS;
  frames();
  EXPECT_EQ(at(0, 66), "TRIP.RTE");
  press("RTE");
  enter("KSEA", "L1");
  enter("TRIP", "L2");
  press("LEGS");
  EXPECT_EQ(at(0, 99), "OLM  ");
  EXPECT_EQ(at(130, 99), "- - - - / - - - - - -");
  EXPECT_EQ(at(130, 33), "  250 /  4000A");
}

TEST_F(PlansTest, StoredPlansListedSixAPageAndLoadedIntoTheRoute) {
  for (const char* n : {"A1.RTE", "A2.RTE", "A3.RTE", "A4.RTE", "A5.RTE"}) add_plan_file(n);
  start();
  smiths_page = SMITHS_PAGE_STORED_PLANS;
  frames();
  ASSERT_EQ(stored_plan_count, 7);  // six files and the new-plan entry
  EXPECT_EQ(at(10, 0), "STORED FLIGHT PLANS");
  EXPECT_EQ(at(225, 0), " 1 /  2");
  EXPECT_EQ(at(0, 33), "A1.RTE");
  EXPECT_EQ(at(0, 198), "KSEAKPDX.RTE");
  EXPECT_EQ(at(0, 227), "");  // no bottom line
  press("NEXT");
  EXPECT_EQ(at(225, 0), " 2 /  2");
  EXPECT_EQ(at(0, 33), "NEW FPL");
  EXPECT_EQ(at(0, 66), "");
  press("L2");  // an empty line
  EXPECT_EQ(smiths_page, SMITHS_PAGE_STORED_PLANS);
  press("PREV");
  press("L6");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_RTE);
  EXPECT_EQ(fpl_changed_state, 1);
  EXPECT_EQ(at(0, 33), " KSEA");
  EXPECT_EQ(at(160, 202), "ACTIVATE >");
}

TEST_F(PlansTest, APlanLoadedOverAnActiveRouteWaitsForExec) {
  add_plan_file("A1.RTE");
  start();
  active_route();
  smiths_page = SMITHS_PAGE_STORED_PLANS;
  press("L1");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_RTE);
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(at(14, 0), "MOD");
  frames();
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  EXPECT_STREQ(fpl_active[0].ident, "KSEA");  // the active route until EXEC
  press("NEXT");
  EXPECT_EQ(line(36), "DIRECT | SEA");
  press("EXEC");
  EXPECT_STREQ(fpl_active[0].ident, "KBFI");
  EXPECT_EQ(fpl_changed_state, 3);
}

TEST_F(PlansTest, AnEmptyListHasOnePageAndNoEntries) {
  start();
  stored_plan_count = 0;
  smiths_page = SMITHS_PAGE_STORED_PLANS;
  press("PREV");
  EXPECT_EQ(at(225, 0), " 1 /  1");
  press("L1");
  press("L6");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_STORED_PLANS);
  EXPECT_EQ(fpl_changed_state, 0);
}

TEST_F(PlansTest, FailedSaveAndFailedLoadAreReported) {
  start();
  active_route();
  // The plans folder replaced by a file: nothing can be written there.
  fs::remove_all(plans_folder());
  { std::ofstream blocker(folder_ + "/vek/flightplans"); }
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  type("TRIP");
  press("R6");
  EXPECT_EQ(bottom(), "TRIP.RTE Unable to Save");
  EXPECT_EQ(smiths_scratchpad, "");
  press("CLR");
  // A listed plan whose file has gone.
  smiths_page = SMITHS_PAGE_STORED_PLANS;
  press("L1");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_STORED_PLANS);
  EXPECT_EQ(smiths_scratchpad_msg, "Unable to load FP");
  EXPECT_EQ(fpl_changed_state, 3);
}

// A GPS route between two navaids over an airport route: no airport is kept from it, and
// DEP/ARR offers none.
TEST_F(PlansTest, AnAtcRouteWithoutAirportsLeavesNoOriginOrDestination) {
  start();
  active_route();
  ASSERT_EQ(route_origin, "KSEA");
  host_.add_gps_point("OLM", 46.971528, -122.9019);
  host_.add_gps_point("BTG", 45.8149, -122.5305);
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  press("R3");
  ASSERT_EQ(bottom(), "ACTIVE DAVUDUVUV RTE LOADED");
  EXPECT_STREQ(fpl_active[0].ident, "OLM");
  EXPECT_EQ(route_origin, FPL_NONE_TEXT);
  EXPECT_EQ(route_dest, FPL_NONE_TEXT);
  press("CLR");
  press("DEP ARR");
  press("L1");
  EXPECT_NE(at(25, 0), "KSEA DEPARTURES");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_DEP_ARR_INDEX);
}
