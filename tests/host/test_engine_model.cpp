// The four-engine model: readings in the engine pages' green bands from idle to the
// climb, the pressure values against variable 342, a hot engine and reverse levers.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "host/aircraft_model.h"
#include "host/scenario.h"
#include "host/sim_host.h"
#include "tests/host/aircraft_probe.h"
#include "platform/host/gauge_host.h"
#include "platform/host/sim_token_ids.h"

using simhost::AircraftModel;

namespace {

using aircraft_probe::fly;
using aircraft_probe::raw;

// The ratio the engine dials show: 1 + value x the engine's factor / variable 342.
double dial_ratio(const AircraftModel& m, int engine) {
  const int ids[] = {TOK_ENG1_PRESSURE_RATIO, TOK_ENG2_PRESSURE_RATIO, TOK_ENG3_PRESSURE_RATIO,
                     TOK_ENG4_PRESSURE_RATIO};
  const double factor[] = {0.32, 0.32, 0.315, 0.317};
  return 1.0 + raw(m, ids[engine]) * factor[engine] / raw(m, TOK_342);
}

// Runs scenario lines on the host.
void run_lines(simhost::SimHost& host, const std::string& lines) {
  std::istringstream in(lines);
  simhost::Scenario sc;
  std::string error;
  ASSERT_TRUE(simhost::parse_scenario(in, "test", &sc, &error)) << error;
  simhost::ScenarioResult result;
  ASSERT_TRUE(simhost::run_scenario(sc, host, "", &result, &error)) << error;
}

TEST(EngineModel, IdleToClimbStaysInTheGreenBandsWithRatiosFromOneToOnePointEight) {
  AircraftModel m;
  auto& s = m.state();
  s.on_ground = true;
  m.refresh();  // two engines
  s.engine_count = 4;
  m.refresh();
  // Engines added later have their oil too.
  EXPECT_NEAR(raw(m, TOK_ENG4_OIL_QUANTITY) * 30.0 / 16384.0, 18.0, 0.01);
  for (int e = 0; e < 4; ++e) EXPECT_NEAR(dial_ratio(m, e), 1.0, 0.01) << e;
  // A steep, accelerating climb asks for the most thrust the model gives.
  s.on_ground = false;
  s.altitude_ft = 2000;
  s.ap_altitude_ft = 20000;
  s.ias_kt = 200;
  s.ap_airspeed_kt = 300;
  s.ap_vs_fpm = 3000;
  s.ap_master = true;
  double top = 0;
  for (int step = 0; step < 120; ++step) {
    fly(m, 1.0);
    for (int e = 0; e < 4; ++e) {
      const simhost::EngineState& en = s.engines[e];
      EXPECT_LT(en.egt_c, 625.0);
      EXPECT_GE(en.oil_pressure_psi, 70.0);
      EXPECT_LE(en.oil_temp_c, 163.0);
      EXPECT_LE(en.n2, 100.5);
      top = std::max(top, dial_ratio(m, e));
    }
  }
  EXPECT_NEAR(top, 1.8, 0.02);
}

TEST(EngineModel, AHotEngineAndReverseLeversAreSetByTheScenario) {
  simhost::SimHost host;
  AircraftModel& m = host.aircraft();
  auto& s = m.state();
  s.engine_count = 4;
  s.on_ground = true;
  m.refresh();
  const double cool_egt = s.engines[0].egt_c, cool_oil = s.engines[0].oil_temp_c;
  const double lever = raw(m, TOK_ENG2_THROTTLE);
  ASSERT_GT(lever, 0.0);

  run_lines(host, "set eng2_egt_offset 60\nset reverse 1\n");
  const auto& e = host.aircraft().state().engines;
  EXPECT_NEAR(e[1].egt_c, cool_egt + 60.0, 0.5);
  EXPECT_NEAR(e[1].oil_temp_c, cool_oil + 15.0, 0.5);
  EXPECT_NEAR(e[0].egt_c, cool_egt, 0.5);
  EXPECT_NEAR(raw(host.aircraft(), TOK_ENG2_THROTTLE), -lever, 100.0);
  EXPECT_LT(raw(host.aircraft(), TOK_ENG4_THROTTLE), 0.0);

  simhost::Scenario sc;
  std::string msg;
  std::istringstream bad("set eng5_egt_offset 10\n");
  EXPECT_FALSE(simhost::parse_scenario(bad, "test", &sc, &msg));
}

// A hot engine or a reverse lever set while the aircraft flies two engines is still
// there once it flies four.
TEST(EngineModel, SettingsMadeBeforeTheEnginesAreFittedAreKept) {
  struct Row {
    const char* lines;
    int engine;  // 0..3
    double egt_offset;
    bool reverse;
  };
  const Row rows[] = {
      {"set engines 2\nset eng3_egt_offset 60\nset engines 4\n", 2, 60, false},
      {"set engines 2\nset reverse 1\nset engines 4\n", 3, 0, true},
      {"set engines 1\nset eng2_egt_offset -40\nset engines 3\n", 1, -40, false},
  };
  for (const Row& row : rows) {
    simhost::SimHost host;
    host.aircraft().state().on_ground = true;
    run_lines(host, row.lines);
    const auto& e = host.aircraft().state().engines;
    EXPECT_NEAR(e[row.engine].egt_c - e[0].egt_c, row.egt_offset, 0.5) << row.lines;
    const int levers[] = {TOK_ENG1_THROTTLE, TOK_ENG2_THROTTLE, TOK_ENG3_THROTTLE, TOK_ENG4_THROTTLE};
    EXPECT_EQ(raw(host.aircraft(), levers[row.engine]) < 0, row.reverse) << row.lines;
  }
}

}  // namespace
