// The four-engine model: readings in the engine pages' green bands from idle to the
// climb, the pressure values against variable 342, a hot engine and reverse levers, and
// the thrust the pages read from the take-off roll to reverse and an idle descent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

const int FAN[4] = {TOK_ENG1_N2, TOK_ENG2_N2, TOK_ENG3_N2, TOK_ENG4_N2};   // the pages' N1
const int CORE[4] = {TOK_ENG1_N1, TOK_ENG2_N1, TOK_ENG3_N1, TOK_ENG4_N1};  // the dials' N2
const int LEVER[4] = {TOK_ENG1_THROTTLE, TOK_ENG2_THROTTLE, TOK_ENG3_THROTTLE, TOK_ENG4_THROTTLE};
const int FLOW[4] = {TOK_ENG1_FUEL_FLOW, TOK_ENG2_FUEL_FLOW, TOK_ENG3_FUEL_FLOW, TOK_ENG4_FUEL_FLOW};

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

// Lined up on KSEA 16L with four engines, take-off flaps and the take-off speed selected.
constexpr const char* LINED_UP =
    "set frame_rate 4\nset lat 47.463767\nset lon -122.307869\nset ground_elevation 433\nset altitude 433\n"
    "set on_ground 1\nset heading 180\nset ias 0\nset engines 4\nset fuel 5000\nset flaps 5\n"
    "set ap_heading 163\nset ap_altitude 5000\nset ap_vs 2000\nset ap_airspeed 170\nrun 2s\n";

// The run from the line-up to lift-off at 170 kt, NM: a flown route's take-off.
constexpr double LIFT_OFF_NM = 1.09;

// The engines as the thrust and dials pages read them, flown from the runway: the
// take-off roll at 80 kt and at lift-off, a take-off rejected at 120 kt with every lever
// in reverse, reverse at a standstill, the engines idling on the runway, a roll at idle
// slowed by drag and one stopped by the brakes, and an idle descent on the autopilot.
TEST(EngineModel, ThePagesReadTheThrustTheAircraftFlies) {
  enum class Until { Time, Ias, Airborne };
  struct Row {
    const char* what;
    const char* lines;      // after lining up
    Until until;            // then flown until this (at most two minutes)
    double until_ias;
    const char* after;      // then these lines
    double epr_lo, epr_hi;  // every engine's pressure ratio on the dials
    double fan_lo, fan_hi;  // its fan speed, the pages' N1
    bool reverse;           // its lever in reverse
    double ias_lo, ias_hi;  // what the aircraft does meanwhile
    bool on_ground;
    double roll_lo, roll_hi;  // NM run down the runway (0, 0: not checked)
  };
  const Row rows[] = {
      {"roll at 80 kt", "set flight_director 1\n", Until::Ias, 80, "", 1.7, 1.81, 92, 99, false, 80, 82, true, 0, 0},
      {"lift-off", "set flight_director 1\n", Until::Airborne, 0, "", 1.75, 1.81, 96, 99, false, 169, 171, false,
       LIFT_OFF_NM * 0.95, LIFT_OFF_NM * 1.05},
      {"rejected at 120 kt", "set flight_director 1\nset ap_airspeed 200\n", Until::Ias, 120,
       "set reverse 1\nrun 8s\n", 1.3, 1.8, 60, 99, true, 80, 112, true, 0, 0},
      {"stopped by reverse", "set flight_director 1\nset ap_airspeed 200\n", Until::Ias, 120,
       "set reverse 1\nrun 80s\n", 1.4, 1.7, 75, 92, true, 0, 0, true, 0, 0},
      {"reverse standing", "set reverse 1\nrun 10s\n", Until::Time, 0, "", 1.4, 1.7, 75, 92, true, 0, 0, true, 0, 0},
      {"idle on the runway", "run 10s\n", Until::Time, 0, "", 0.995, 1.01, 30, 33, false, 0, 0, true, 0, 0},
      {"idle roll from 130 kt", "set flight_director 1\n", Until::Ias, 130, "set flight_director 0\nrun 32s\n",
       0.995, 1.01, 30, 33, false, 100, 118, true, 0, 0},
      {"braked once the reversers are stowed", "set flight_director 1\nset ap_airspeed 200\n", Until::Ias, 120,
       "set reverse 1\nrun 8s\nset flight_director 0\nset reverse 0\nset brakes 1\nrun 25s\n", 0.995, 1.01, 30, 33,
       false, 0, 0, true, 0, 0},
      {"idle descent",
       "set on_ground 0\nset altitude 15000\nset ias 280\nset ap_airspeed 280\nset ap_altitude 5000\n"
       "set ap_vs 1900\nset ap_master 1\nrun 60s\n",
       Until::Time, 0, "", 0.995, 1.01, 30, 33, false, 275, 285, false, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    simhost::SimHost host;
    run_lines(host, LINED_UP);
    run_lines(host, row.lines);
    const AircraftModel& m = host.aircraft();
    const auto& s = m.state();
    const double lat0 = s.lat;
    for (int frame = 0; frame < 480; ++frame) {
      if (row.until == Until::Time || (row.until == Until::Ias && s.ias_kt >= row.until_ias) ||
          (row.until == Until::Airborne && !s.on_ground))
        break;
      host.run_frames(1);
    }
    run_lines(host, row.after);
    EXPECT_GE(s.ias_kt, row.ias_lo);
    EXPECT_LE(s.ias_kt, row.ias_hi);
    EXPECT_EQ(s.on_ground, row.on_ground);
    // Lined up due south: the run is the latitude lost.
    if (row.roll_hi > 0) {
      EXPECT_GE((lat0 - s.lat) * 60.0, row.roll_lo);
      EXPECT_LE((lat0 - s.lat) * 60.0, row.roll_hi);
    }
    for (int e = 0; e < 4; ++e) {
      SCOPED_TRACE(e + 1);
      EXPECT_GE(dial_ratio(m, e), row.epr_lo);
      EXPECT_LE(dial_ratio(m, e), row.epr_hi);
      const double fan = raw(m, FAN[e]), core = raw(m, CORE[e]);
      EXPECT_GE(fan, row.fan_lo);
      EXPECT_LE(fan, row.fan_hi);
      // A turbofan's core turns faster than its fan, never into the dials' red.
      EXPECT_GT(core, fan);
      EXPECT_LE(core, 100.5);
      EXPECT_EQ(raw(m, LEVER[e]) < 0, row.reverse);
      EXPECT_GT(raw(m, FLOW[e]), 0);
    }
  }
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
  const double idle_egt = s.engines[0].egt_c;
  const double lever = raw(m, TOK_ENG2_THROTTLE);
  ASSERT_GT(lever, 0.0);

  // Every lever in reverse, engine 2 hot: all four at reverse thrust, engine 2 hotter.
  run_lines(host, "set eng2_egt_offset 60\nset reverse 1\n");
  const auto& e = host.aircraft().state().engines;
  EXPECT_NEAR(e[1].egt_c - e[0].egt_c, 60.0, 0.5);
  EXPECT_NEAR(e[1].oil_temp_c - e[0].oil_temp_c, 15.0, 0.5);
  EXPECT_GT(e[0].egt_c, idle_egt + 50.0);
  EXPECT_LT(raw(host.aircraft(), TOK_ENG2_THROTTLE), -2.0 * lever);
  EXPECT_LT(raw(host.aircraft(), TOK_ENG4_THROTTLE), 0.0);

  simhost::Scenario sc;
  std::string msg;
  std::istringstream bad("set eng5_egt_offset 10\n");
  EXPECT_FALSE(simhost::parse_scenario(bad, "test", &sc, &msg));
}

// An engine whose fuel the scenario shuts off in flight reads as the engines whose tanks
// ran dry (the air's temperature, its oil kept), and the others give the thrust they gave.
TEST(EngineModel, AnEngineShutOffReadsAsOneRunDry) {
  constexpr const char* CRUISE =
      "set on_ground 0\nset altitude 15000\nset ias 280\nset ap_airspeed 280\nset ap_altitude 15000\n"
      "set ap_master 1\nrun 20s\n";
  struct Row {
    const char* lines;
    int stopped;  // engines 0..stopped-1 are stopped, the rest run
    int running;  // an engine that runs, or -1
  };
  const Row rows[] = {{"", 0, 1}, {"set eng1_fuel 0\nrun 60s\n", 1, 1}, {"set fuel 0\nrun 60s\n", 4, -1}};
  double running_thrust = -1.0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.lines);
    simhost::SimHost host;
    run_lines(host, LINED_UP);
    run_lines(host, CRUISE);
    run_lines(host, row.lines);
    const auto& e = host.aircraft().state().engines;
    for (int i = 0; i < row.stopped; ++i) {
      EXPECT_EQ(e[i].power, 0.0);
      EXPECT_EQ(e[i].fuel_flow_pph, 0.0);
      EXPECT_NEAR(e[i].egt_c, 15.0, 0.01);
      EXPECT_NEAR(e[i].oil_quarts, simhost::ENGINE_OIL_QUARTS, 0.01);
    }
    if (row.running < 0) continue;
    if (running_thrust < 0.0) running_thrust = e[row.running].thrust;
    EXPECT_GT(e[row.running].power, simhost::ENGINE_IDLE_POWER);
    EXPECT_NEAR(e[row.running].thrust, running_thrust, 0.01);
  }
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
