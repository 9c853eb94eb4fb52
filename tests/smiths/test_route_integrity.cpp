// Everyday route edits never lose or corrupt the route: holds keep the change waiting
// for EXEC, fixes typed after the last row go before the destination, a direct-to
// waiting in MOD is measured from the aircraft, and a discontinuity can be deleted.
#include <cstring>
#include <filesystem>
#include <string>

#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"

namespace {

class RouteEditTest : public CduTest {
 protected:
  // The sample company route KSEA ALKIS CARRO OLM DUBYA BTG KPDX, activated; executed
  // unless asked otherwise.
  void company_route(bool execute = true) {
    start();
    press("RTE");
    enter("KSEAKPDX", "L2");
    press("R6");
    if (execute) press("EXEC");
    ASSERT_EQ(fpl_changed_state, execute ? 3 : 2);
    press("LEGS");
  }
  std::string route() const {
    std::string s;
    for (int i = 0; i <= fpl_edit_last; ++i) s += std::string(i ? " " : "") + fpl_edit[i].ident;
    return s;
  }
  void hold_waits_for_exec(bool executed, bool typed);
};

}  // namespace

// A hold placed on the route (a typed "HOLD AT <fix>" or a waypoint of the route picked)
// waits for EXEC with the rest of the change: listed on LEGS, EXEC lit, MOD on an
// executed route; EXEC then flies it.
void RouteEditTest::hold_waits_for_exec(bool executed, bool typed) {
  company_route(executed);
  press("HOLD");
  if (typed) {
    enter("SEA", "L6");
    press("L2");
  } else {
    press("L2");
    press("L6");
  }
  const int state = executed ? 4 : 2;
  EXPECT_EQ(fpl_changed_state, state);
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  press("LEGS");
  EXPECT_EQ(fpl_changed_state, state);
  EXPECT_EQ(at(0, 33), "ALKIS");
  EXPECT_EQ(at(0, 66), typed ? "SEA  " : "CARRO");
  EXPECT_EQ(at(20, 88), "H O L D   A T");
  EXPECT_EQ(at(18, 0), executed ? "MOD" : "");
  press("EXEC");
  EXPECT_EQ(fpl_changed_state, 3);
  ASSERT_EQ(hold_count, 1);
  EXPECT_EQ(hold_list[1].active_wpt, 2);
  EXPECT_STREQ(fpl_active[2].ident, typed ? "SEA" : "CARRO");
}

TEST_F(RouteEditTest, HoldAtATypedFixOnTheActiveRouteIsAModification) { hold_waits_for_exec(true, true); }
TEST_F(RouteEditTest, HoldAtATypedFixBeforeTheFirstExecWaitsForIt) { hold_waits_for_exec(false, true); }
TEST_F(RouteEditTest, HoldAtARouteFixBeforeTheFirstExecWaitsForIt) { hold_waits_for_exec(false, false); }

TEST_F(RouteEditTest, AFixAfterTheLastRowGoesBeforeTheDestination) {
  start();
  press("RTE");
  enter("KSEA", "L1");
  enter("KPDX", "R1");
  press("NEXT");
  enter("BTG", "R2");  // the empty row after DIRECT KPDX
  EXPECT_EQ(route(), "KSEA BTG KPDX");
  EXPECT_EQ(line(69), "DIRECT | KPDX");
  press("LEGS");
  EXPECT_EQ(at(0, 96), "- - - - - -");  // the row after KPDX
  enter("OLM", "L3");
  EXPECT_EQ(route(), "KSEA BTG OLM KPDX");
  EXPECT_EQ(at(0, 66), "OLM  ");
  press("DEL");
  press("L2");
  EXPECT_EQ(bottom(), "");
  EXPECT_EQ(route(), "KSEA BTG KPDX");
}

TEST_F(RouteEditTest, ADirectToInModIsMeasuredFromTheAircraftAndExecEndsTheInterceptMode) {
  host_.aircraft().state().lat = 47.20;
  host_.aircraft().state().lon = -122.10;
  company_route();
  press("DIR INTC");
  press("L3");  // OLM
  press("L6");
  ASSERT_EQ(fpl_changed_state, 4);
  ASSERT_EQ(at(0, 33), "OLM  ");
  const std::string pending = at(100, 22);
  EXPECT_TRUE(has(". . . . . . . . . . . . . . . . . . . . . . . I N T C    C R S"));
  press("EXEC");
  EXPECT_EQ(smiths_legs_mode, 0);
  EXPECT_EQ(intc_crs_pending, 0);
  EXPECT_EQ(at(20, 0), "ACT");
  EXPECT_EQ(at(100, 22), pending);
  EXPECT_TRUE(has("R N P / A C T U A L"));
  EXPECT_FALSE(has(". . . . . . . . . . . . . . . . . . . . . . . I N T C    C R S"));
}

TEST_F(RouteEditTest, DeleteOnADiscontinuityJoinsTheRoute) {
  company_route();
  press("DEL");
  press("L2");  // CARRO becomes a discontinuity
  ASSERT_STREQ(fpl_edit[2].ident, "DISCO");
  press("DEL");
  press("L2");
  EXPECT_EQ(bottom(), "");
  EXPECT_EQ(route(), "KSEA ALKIS OLM DUBYA BTG KPDX");
  EXPECT_EQ(at(0, 66), "OLM  ");
  EXPECT_EQ(fpl_changed_state, 4);
}

// The scenario of these edits on the sample panel: every expectation holds and every
// picture is taken.
TEST(RouteEditsScenario, EveryEditShowsWhatItDid) {
  SampleScenario edits;
  std::string error;
  ASSERT_TRUE(edits.open("route_edits.txt", &error)) << error;
  simhost::ScenarioResult result;
  ASSERT_TRUE(edits.run(0, -1, &result, &error)) << error;
  EXPECT_EQ(result.failed_expectations, 0) << (result.failures.empty() ? "" : result.failures[0]);
  EXPECT_GE(result.expectations, 30);
  std::size_t shots = 0;
  for (const simhost::ScenarioStep& st : edits.script.steps)
    if (st.op == simhost::ScenarioOp::Shot) {
      ++shots;
      EXPECT_TRUE(std::filesystem::exists(edits.out() + "/" + st.text)) << st.text;
    }
  EXPECT_GE(shots, 10u);
}
