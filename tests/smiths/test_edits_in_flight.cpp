// Route edits in flight: the company route flown with LNAV past ALKIS and CARRO, then an
// edit made on the pages and executed. EXEC keeps the waypoint being flown, or makes the
// fix or hold put before it the active waypoint, and every hold is listed and flown.
#include <fstream>
#include <functional>

#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "guidance/lnav_vnav_state.h"
#include "navdb/navdb.h"
#include "tests/common/sample_flight.h"

namespace {

class EditsInFlight : public CduTest {
 protected:
  // The company route KSEA ALKIS CARRO OLM DUBYA BTG KPDX executed at the gate's
  // neighbourhood, then flown with LNAV until OLM is the active waypoint; LEGS stays on
  // screen all the while.
  void fly_past_two_waypoints() {
    host_.set_frame_rate(2);
    sample_flight::set_airborne_on_autopilot(host_.aircraft().state(), 47.47, -122.33, 433.0, 6000.0, 250.0, 320.0);
    start();
    press("RTE");
    enter("KSEAKPDX", "L2");
    press("R6");
    press("EXEC");
    ASSERT_EQ(fpl_changed_state, 3);
    press("LEGS");
    lnav_toggle();
    ASSERT_EQ(lnav_on, 1);
    ASSERT_TRUE(fly_until([] { return fpl_active_index == 3; }, 1200.0));
    ASSERT_STREQ(fpl_active[3].ident, "OLM");
  }
  template <typename F>
  bool fly_until(F done, double seconds) {
    for (int i = 0; i < int(seconds * host_.frame_rate()); ++i) {
      frames(1);
      if (done()) return true;
    }
    return false;
  }
  void seconds(double s) { frames(int(s * host_.frame_rate())); }
  const char* active_ident() const {
    return fpl_valid_index(fpl_active_index, fpl_active_last) ? fpl_active[fpl_active_index].ident : "";
  }

 public:
  // The keys the edits of the cases press.
  using CduTest::press;
  // Sets the scratchpad as typed and presses `key`.
  void put(const std::string& text, const std::string& key) {
    smiths_scratchpad = text;
    smiths_scratchpad_msg.clear();
    press(key);
  }
  void perf_init() {
    smiths_page = SMITHS_PAGE_PERF_INIT;
    smiths_perf_page_no = 1;
    frames(1);
  }
};

struct ExecCase {
  const char* name;
  std::function<void(EditsInFlight&)> edit;
  const char* active;     // active waypoint after EXEC
  const char* hold_fix;   // "" without a hold
};
void PrintTo(const ExecCase& c, std::ostream* os) { *os << c.name; }

class ExecInFlight : public EditsInFlight, public ::testing::WithParamInterface<ExecCase> {};

const ExecCase exec_cases[] = {
    {"CruiseAltitudeOnPerfInit", [](EditsInFlight& t) { t.perf_init(); t.put("FL210", "R1"); }, "OLM", ""},
    {"CostIndexOnPerfInit", [](EditsInFlight& t) { t.perf_init(); t.put("80", "L5"); }, "OLM", ""},
    {"FixOnALaterLegsRow", [](EditsInFlight& t) { t.put("HQM", "L3"); }, "OLM", ""},
    {"FixOnLegsRow1", [](EditsInFlight& t) { t.put("HQM", "L1"); }, "HQM", ""},
    {"HoldAtAFixTypedOnRow1",
     [](EditsInFlight& t) {
       t.press("HOLD");
       t.put("HQM", "L6");
       t.press("L1");
     },
     "HQM", "HQM"},
    {"HoldAtTheActiveWaypoint",
     [](EditsInFlight& t) {
       t.press("HOLD");
       t.press("L1");
       t.press("L6");
     },
     "OLM", "OLM"},
    {"HoldAtPresentPosition",
     [](EditsInFlight& t) {
       t.press("HOLD");
       t.press("R6");
     },
     "HOLD PPOS", "HOLD PPOS"},
};

}  // namespace

// The edit after two waypoints were sequenced, then EXEC: the active waypoint, the hold
// listed on RTE HOLD and still flown after the next frames, and LEGS row 1.
TEST_P(ExecInFlight, KeepsTheFlownWaypointOrFliesWhatWasPutBeforeIt) {
  const ExecCase& c = GetParam();
  fly_past_two_waypoints();
  c.edit(*this);
  ASSERT_EQ(fpl_changed_state, 4);
  press("EXEC");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_STREQ(active_ident(), c.active);
  seconds(10);
  EXPECT_STREQ(active_ident(), c.active);
  EXPECT_EQ(lnav_on, 1);
  const bool held = c.hold_fix[0] != '\0';
  ASSERT_EQ(hold_count, held ? 1 : 0);
  press("LEGS");
  EXPECT_NE(line(33).find(c.active), std::string::npos) << line(33);
  if (!held) return;
  // Listed on RTE HOLD, on the active plan's record of its fix, not dropped as passed.
  EXPECT_STREQ(hold_list[1].ident, c.hold_fix);
  ASSERT_TRUE(fpl_valid_index(hold_list[1].active_wpt, fpl_active_last));
  EXPECT_STREQ(fpl_active[hold_list[1].active_wpt].ident, c.hold_fix);
  EXPECT_GE(hold_list[1].active_wpt, fpl_active_index);
  press("HOLD");
  EXPECT_EQ(title(), "RTE        HOLD");
  EXPECT_EQ(at(0, 33), c.hold_fix);
}

INSTANTIATE_TEST_SUITE_P(Edits, ExecInFlight, ::testing::ValuesIn(exec_cases),
                         [](const ::testing::TestParamInfo<ExecCase>& i) { return std::string(i.param.name); });

// A fix deleted behind the aircraft's leg and one added later, with the route sequencing
// on between the edit and EXEC: EXEC flies the fix flown at that moment.
TEST_F(EditsInFlight, AWaypointSequencedBetweenTheEditAndExecStaysActive) {
  fly_past_two_waypoints();
  put("HQM", "L4");  // before KPDX
  ASSERT_EQ(fpl_changed_state, 4);
  ASSERT_TRUE(fly_until([] { return fpl_active_index == 4; }, 900.0));
  ASSERT_STREQ(active_ident(), "DUBYA");
  press("EXEC");
  EXPECT_STREQ(active_ident(), "DUBYA");
  EXPECT_STREQ(fpl_active[fpl_active_last - 1].ident, "HQM");
}

// A company route loaded over the route flown: after EXEC, RTE and DEP ARR name the
// airports LEGS flies to, whether the database holds them or not, and DEPARTURES lists
// nothing of the airport left behind; after ERASE, the route flown's airports and
// departures again.
TEST_F(EditsInFlight, APlanLoadedInFlightNamesItsOwnAirports) {
  struct Case {
    const char* name;    // the plan's file name and its CO ROUTE entry
    const char* origin;  // record 0: ident and type
    const char* dest;    // the last record
    const char* then;    // "EXEC" or "ERASE"
    const char* shown_origin;  // "------" none
    const char* shown_dest;
    bool departures;  // the origin shown has departures listed
  };
  const Case cases[] = {{"KXXKYY", "KXXX APT", "KYYY", "ERASE", "KSEA", "KPDX", true},
                        {"KXXKYY", "KXXX APT", "KYYY", "EXEC", "KXXX", "KYYY", false},
                        {"KSEAKPDX", "KSEA APT", "KPDX", "EXEC", "KSEA", "KPDX", true},
                        {"SEAKPDX", "SEA VOR", "KPDX", "EXEC", "------", "KPDX", false}};
  fly_past_two_waypoints();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.then);
    {
      std::ofstream plan(folder_ + "/vek/flightplans/" + c.name + ".RTE");
      plan << "CruiseAlt=17000\n[FlightPlan]\n" << c.origin << " 47.449000 -122.309306 433 -999 -1.0 0 0 - - - -\n"
           << "OLM VOR 46.971528 -122.901900 -999 -999 -1.0 0 0 - - - 113.40\n"
              "BTG VOR 45.814900 -122.530500 -999 -999 -1.0 0 0 - - - 116.60\n"
           << c.dest << " APT 45.588722 -122.597500 31 -999 -1.0 0 0 - - - -\n";
    }
    list_plan_files();
    press("RTE");
    put(c.name, "L2");
    ASSERT_EQ(fpl_changed_state, 4) << smiths_scratchpad_msg;
    const bool none = std::string(c.shown_origin) == "------";
    frames(1);
    EXPECT_EQ(at(0, 33) == "- - - - -", none && std::string(c.then) == "EXEC") << "RTE origin pending: " << at(0, 33);
    press(std::string(c.then) == "EXEC" ? "EXEC" : "L6");
    ASSERT_EQ(fpl_changed_state, 3);
    EXPECT_STREQ(active_ident(), "OLM");
    EXPECT_STREQ(fpl_active[fpl_active_last].ident, c.shown_dest);
    press("RTE");
    EXPECT_EQ(at(0, 33), none ? "- - - - -" : " " + std::string(c.shown_origin)) << "RTE origin";
    EXPECT_EQ(at(210, 33), " " + std::string(c.shown_dest)) << "RTE destination";
    press("DEP ARR");
    EXPECT_EQ(at(90, 33), c.shown_origin) << "DEP ARR origin";
    EXPECT_EQ(at(90, 66), c.shown_dest) << "DEP ARR destination";
    EXPECT_STREQ(apt_blocks[1].ident, none ? "" : c.shown_origin);
    EXPECT_EQ(apt_blocks[1].proc_count > 0, c.departures) << "departures of the origin shown only";
    seconds(10);
    EXPECT_STREQ(active_ident(), "OLM");
  }
}

// CO ROUTE with the name the stored list gives its own new-plan row, executed in flight:
// a plan saved under that name is the one loaded and flown on; without one the route
// executed is empty, and LNAV and VNAV are no longer engaged on it.
TEST_F(EditsInFlight, ACompanyRouteNamedAsTheListsNewPlanRow) {
  struct Case {
    bool saved;           // SAVE FPL "NEW FPL" first
    const char* active;   // after EXEC; "" none
    int32_t engaged;      // LNAV and VNAV after EXEC
  };
  const Case cases[] = {{false, "", 0}, {true, "OLM", 1}};  // the file stays for the next
  for (const Case& c : cases) {
    SCOPED_TRACE(c.saved ? "saved" : "not saved");
    fly_past_two_waypoints();
    if (vnav_on == 0) vnav_toggle();
    ASSERT_EQ(vnav_on, 1);
    std::vector<std::string> route;
    for (int i = 0; i <= fpl_active_last; ++i) route.emplace_back(fpl_active[i].ident);
    if (c.saved) {
      smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
      frames(1);
      put("NEW FPL", "R6");
      EXPECT_EQ(smiths_scratchpad_msg, "NEW FPL.RTE Saved");
    }
    press("RTE");
    put("NEW FPL", "L2");
    ASSERT_EQ(fpl_changed_state, 4) << smiths_scratchpad_msg;
    press("EXEC");
    frames(2);
    EXPECT_STREQ(active_ident(), c.active);
    std::vector<std::string> now;
    for (int i = 0; i <= fpl_active_last; ++i) now.emplace_back(fpl_active[i].ident);
    if (c.saved) {
      EXPECT_EQ(now, route);
    }
    EXPECT_EQ(lnav_on, c.engaged);
    EXPECT_EQ(vnav_on, c.engaged);
    host_.stop();
  }
}
