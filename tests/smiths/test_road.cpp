// The road of one request: from an empty CDU to an executed route with a departure, an
// airway, an arrival and an approach, edited on LEGS, then a change shown as MOD.
#include <cstring>
#include <filesystem>

#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"

namespace {

class RoadTest : public CduTest {
 protected:
  std::string route() const {
    std::string s;
    for (int i = 0; i <= fpl_edit_last; ++i) s += std::string(i ? " " : "") + fpl_edit[i].ident;
    return s;
  }
  int find(const char* ident) const {
    for (int i = 0; i <= fpl_edit_last; ++i)
      if (std::strcmp(fpl_edit[i].ident, ident) == 0) return i;
    return -1;
  }
};

}  // namespace

TEST_F(RoadTest, FromAnEmptyCduToAnExecutedRoute) {
  start();
  EXPECT_EQ(title(), "IDENT");
  // Origin and destination.
  press("RTE");
  enter("KSEA", "L1");
  enter("KPDX", "R1");
  EXPECT_EQ(at(0, 33), " KSEA");
  EXPECT_EQ(at(210, 33), " KPDX");
  // Departure: SID, transition, runway.
  press("DEP ARR");
  press("L1");
  press("L1");
  press("L2");
  press("R1");
  EXPECT_EQ(route(), "KSEA ALKIS CARRO OLM DISCO KPDX");
  press("R6");
  EXPECT_EQ(at(0, 104), "16L");
  // The airway from the end of the SID, then the discontinuity closed.
  press("NEXT");
  EXPECT_EQ(line(36), "ALKI1 | OLM");
  EXPECT_EQ(at(100, 58), "THEN");  // the discontinuity waits for a fix
  enter("V23", "L2");
  EXPECT_EQ(at(0, 69), "V23");
  enter("BTG", "R2");
  EXPECT_EQ(line(69), "V23 | BTG");
  enter("KPDX", "R3");
  EXPECT_EQ(route(), "KSEA ALKIS CARRO OLM DUBYA BTG KPDX");
  EXPECT_EQ(line(102), "DIRECT | KPDX");
  // Arrival and approach.
  press("DEP ARR");
  press("R2");
  press("L1");  // HELNS5
  press("R1");  // I10R
  press("R2");  // its transition HELNS
  int btg = find("BTG");
  ASSERT_GT(btg, 0);
  EXPECT_STREQ(fpl_edit[btg + 1].ident, "DISCO");
  EXPECT_STREQ(fpl_edit[fpl_edit_last].ident, "KPDX");
  // LEGS: close the discontinuity, delete a waypoint, enter a constraint.
  press("LEGS");
  EXPECT_EQ(title(), "RTE    LEGS");
  EXPECT_EQ(at(0, 33), "ALKIS");
  press("NEXT");
  frames();
  // Page 2 begins with BTG's discontinuity: record 6.
  EXPECT_EQ(at(5, 19), "T H E N");
  enter("FOURT", "L1");
  EXPECT_EQ(at(0, 33), "FOURT");
  EXPECT_EQ(find("DISCO"), -1);
  press("PREV");
  press("DEL");
  press("L4");  // DUBYA
  EXPECT_STREQ(fpl_edit[4].ident, "DISCO");
  enter("BTG", "L4");
  EXPECT_EQ(at(0, 132), "BTG  ");
  EXPECT_EQ(find("DUBYA"), -1);
  enter("250/FL120", "R2");
  EXPECT_EQ(at(130, 66), "  250 / 12000A");
  // ACTIVATE, then EXEC with its light.
  EXPECT_EQ(at(170, 198), "ACTIVATE >");
  EXPECT_FALSE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  press("R6");
  EXPECT_EQ(fpl_changed_state, 2);
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  press("EXEC");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_FALSE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  EXPECT_EQ(at(20, 0), "ACT");
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_STREQ(fpl_active[fpl_active_last].ident, "KPDX");
  EXPECT_STREQ(fpl_active[fpl_active_last + 1].ident, "******");
  EXPECT_GT(fpl_active[fpl_active_last].route_dist, 100.0);
  // A change shows MOD and lights EXEC; ERASE puts the active route back.
  enter("FL150", "R3");
  EXPECT_EQ(at(14, 0), "MOD");
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  press("L6");
  EXPECT_EQ(at(20, 0), "ACT");
  EXPECT_FALSE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  press("RTE");
  EXPECT_EQ(at(18, 0), "ACT");
  EXPECT_EQ(at(160, 202), "PERF INIT >");
}

// The sample scenario of the road on the sample panel: every expectation of the script
// holds, the route climbs to the cruise altitude activation proposed, and LNAV takes it
// past the end of the airway towards the arrival.
TEST(RoadScenario, TheSampleScenarioBuildsExecutesAndFliesTheRoute) {
  namespace fs = std::filesystem;
  SampleScenario road;
  std::string error;
  ASSERT_TRUE(road.open("road_of_one_request.txt", &error)) << error;
  // Up to the pictures en route, then the rest.
  const auto& steps = road.script.steps;
  std::size_t split = 0;
  for (std::size_t i = 0; i < steps.size() && split == 0; ++i)
    if (steps[i].op == simhost::ScenarioOp::Shot && steps[i].text == "cdu_enroute.png") split = i + 1;
  ASSERT_GT(split, 0u);

  simhost::ScenarioResult result;
  ASSERT_TRUE(road.run(0, static_cast<std::ptrdiff_t>(split), &result, &error)) << error;
  EXPECT_EQ(result.failed_expectations, 0) << (result.failures.empty() ? "" : result.failures[0]);
  EXPECT_GE(result.expectations, 10);
  // VNAV climbs towards the proposed cruise altitude.
  ASSERT_GE(cruise_alt, 10000);
  const double alt = road.host.aircraft().state().altitude_ft;
  EXPECT_GT(alt, 3000.0 + (cruise_alt - 3000.0) / 2.0);
  EXPECT_LT(alt, cruise_alt + 300.0);
  int btg = -1;
  for (int i = 1; i <= fpl_active_last && btg < 0; ++i)
    if (std::strcmp(fpl_active[i].ident, "BTG") == 0) btg = i;
  ASSERT_GT(btg, 0);

  ASSERT_TRUE(road.run(split, -1, &result, &error)) << error;
  EXPECT_EQ(result.failed_expectations, 0) << (result.failures.empty() ? "" : result.failures[0]);
  EXPECT_GT(fpl_active_index, btg);
  EXPECT_LE(fpl_active_index, fpl_active_last);
  for (const char* f : {"cdu_departures.png", "cdu_rte.png", "cdu_arrivals.png", "cdu_legs_act.png", "nd_route.png",
                        "md11_enroute.png", "md80_enroute.png", "nd_arrival.png"})
    EXPECT_TRUE(fs::exists(road.out() + "/" + f)) << f;
}

// The route edits (at the gate and in flight), the reference pages and the GNS-XLS flight
// of the sample scenarios, each on its panel: every expectation holds, every picture is
// taken. One module per process: one scenario per test.
struct PageScenario {
  const char* name;
  int expectations;
  int frame_rate = 0;  // frames a second when the script's keys need the host's own rate
};
class PageScenarios : public ::testing::TestWithParam<PageScenario> {};

TEST_P(PageScenarios, EveryExpectationHoldsAndEveryPictureIsTaken) {
  SampleScenario run;
  std::string error;
  ASSERT_TRUE(run.open(GetParam().name, &error)) << error;
  if (GetParam().frame_rate > 0) run.host.set_frame_rate(GetParam().frame_rate);
  simhost::ScenarioResult result;
  ASSERT_TRUE(run.run(0, -1, &result, &error)) << error;
  EXPECT_EQ(result.failed_expectations, 0) << (result.failures.empty() ? "" : result.failures[0]);
  EXPECT_GE(result.expectations, GetParam().expectations);
  for (const simhost::ScenarioStep& st : run.script.steps)
    EXPECT_TRUE(st.op != simhost::ScenarioOp::Shot || std::filesystem::exists(run.out() + "/" + st.text)) << st.text;
}

INSTANTIATE_TEST_SUITE_P(Sample, PageScenarios,
                         ::testing::Values(PageScenario{"route_edits.txt", 30},
                                           PageScenario{"route_edits_in_flight.txt", 17},
                                           PageScenario{"cdu_reference_pages.txt", 16},
                                           PageScenario{"cdu_performance_pages.txt", 20},
                                           PageScenario{"gnsxls_route.txt", 21, 18}));
