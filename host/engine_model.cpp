#include "host/engine_model.h"

#include <algorithm>
#include <cmath>

namespace simhost {

namespace {

// The thrust page's ratio segments: percent of its speed span each takes, and the ratio
// each adds, from 0.85 at the bottom of the span up to 1.85 at its top.
constexpr int RATIO_SEGMENTS = 11;
constexpr double SEGMENT_WIDTH[RATIO_SEGMENTS] = {2.5, 10.9, 8.8, 10.8, 11.1, 14.6, 11.8, 12.4, 7.5, 7.8, 1.8};
constexpr double SEGMENT_STEP[RATIO_SEGMENTS] = {0.05, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.05};
constexpr double RATIO_BOTTOM = 0.85;

}  // namespace

double engine_speed_for_ratio(double pressure_ratio, double scale) {
  const double f = (scale - 300.0) / 15913.0;
  const double top = 104.0 - 3.5 * f, span = 64.0 + 12.5 * f;
  double rest = std::max(0.0, pressure_ratio - RATIO_BOTTOM), percent = 0.0;
  for (int i = 0; i < RATIO_SEGMENTS && rest > 0.0; ++i) {
    const double part = std::min(rest, SEGMENT_STEP[i]);
    percent += SEGMENT_WIDTH[i] * part / SEGMENT_STEP[i];
    rest -= part;
  }
  return top - (100.0 - percent) / 100.0 * span;
}

double step_engine(EngineState& e, double target, double dt, bool fuel, double pressure_ratio_atm) {
  if (dt <= 0.0) {
    e.power = target;  // a direct state change: the engine settles at once
  } else {
    e.power += (target - e.power) * std::min(1.0, dt * 0.5);
    if (target <= 0.0 && e.power < 1.0) e.power = 0.0;  // run down: it stops
  }
  if (!(e.oil_quarts > 0.0)) e.oil_quarts = ENGINE_OIL_QUARTS;
  const double n = e.power;
  const bool running = n > 0.0;
  const double thrust = std::clamp((n - ENGINE_IDLE_POWER) / (ENGINE_MAX_POWER - ENGINE_IDLE_POWER), 0.0, 1.0);
  const double load = std::max(0.0, (n - 20.0) / 80.0);
  e.thrust = e.reverse ? -thrust : thrust;
  e.pressure_ratio = running ? 1.0 + 0.8 * thrust : 0.0;
  // Below idle (spooling down) both speeds fall in proportion; the core turns faster
  // than the fan at every power.
  const double below_idle = std::min(1.0, n / ENGINE_IDLE_POWER);
  e.n2 = running ? engine_speed_for_ratio(e.pressure_ratio, ENGINE_PRESSURE_SCALE) * below_idle : 0.0;
  e.n1 = running ? 50.0 * below_idle + 0.5 * e.n2 : 0.0;
  e.fuel_flow_pph = (fuel && running) ? (400.0 + 5000.0 * load * load) * (0.55 + 0.45 * pressure_ratio_atm) : 0.0;
  e.egt_c = running ? 400.0 + 2.2 * n + e.egt_offset_c : 15.0;
  e.oil_temp_c = running ? 60.0 + 0.4 * n + e.egt_offset_c / 4.0 : 15.0;
  e.oil_pressure_psi = running ? 62.0 + 0.5 * n : 0.0;
  return e.fuel_flow_pph;
}

double engine_lever_value(const EngineState& e) {
  const double v = std::round(e.power / 100.0 * 16383.0);
  return e.reverse ? -v : v;
}

double engine_pressure_value(const EngineState& e, int engine) {
  if (!(e.pressure_ratio > 1.0) || engine < 0 || engine > 3) return 0.0;
  return (e.pressure_ratio - 1.0) * ENGINE_PRESSURE_SCALE / ENGINE_PRESSURE_FACTOR[engine];
}

}  // namespace simhost
