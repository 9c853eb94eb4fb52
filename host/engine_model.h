// Engines of the simulated aircraft: spool toward a thrust demand and derive the engine
// readings, in the green bands of the engine pages in normal flight, from idle to
// take-off thrust, forward or in reverse; a hot engine and a reverse lever are settable
// per engine.
#pragma once

namespace simhost {

// Oil in a present engine's tank, quarts.
constexpr double ENGINE_OIL_QUARTS = 18.0;

struct EngineState {
  // Percent the engine runs at: 0 stopped, ENGINE_IDLE_POWER idling, ENGINE_MAX_POWER at
  // take-off thrust; it spools toward the demand, and the lever stands at it.
  double power = 0.0;
  double n1 = 0.0;            // percent, the core speed (variable 625, the engine dials' N2)
  double n2 = 0.0;            // percent, the fan speed the pressure ratio reads as (variable 626, the pages' N1)
  double thrust = 0.0;        // share of take-off thrust: 0 at idle, 1 at take-off, below 0 in reverse
  double fuel_flow_pph = 0.0; // pounds per hour
  double egt_c = 0.0;
  double oil_temp_c = 0.0;
  double oil_pressure_psi = 0.0;
  double oil_quarts = ENGINE_OIL_QUARTS;
  double pressure_ratio = 0.0;  // 1.0 at idle .. 1.8 at take-off thrust, 0 stopped
  // Settable: a hot engine runs this much hotter (EGT; the oil a quarter of it), a lever
  // pulled into reverse serves a negative lever value, and its fuel can be shut off.
  double egt_offset_c = 0.0;
  bool reverse = false;
  // Its fuel shut off: it runs down and stands as an engine whose tanks ran dry.
  bool fuel_off = false;
};

// Power the engines idle at, the take-off power (the most the thrust demand asks for),
// and the power of a lever pulled fully into reverse.
constexpr double ENGINE_IDLE_POWER = 22.0;
constexpr double ENGINE_MAX_POWER = 98.0;
constexpr double ENGINE_REVERSE_POWER = 75.0;

// Variable 342, the scale of the served pressure values, and each engine's factor they
// are served for: 1 + value x factor / scale is engine k's pressure ratio on the engine
// dials. The thrust page reads the ratio from variable 626 through its speed scale,
// which this scale sets so that take-off thrust (1.8) lies at 98.5 %.
constexpr double ENGINE_PRESSURE_SCALE = 19000.0;
constexpr double ENGINE_PRESSURE_FACTOR[4] = {0.32, 0.32, 0.315, 0.317};

// Moves engine `e` toward `target` power over dt seconds (dt 0: at once) and derives
// its readings and thrust (an engine added to the aircraft gets its oil);
// `pressure_ratio_atm` is the air's pressure ratio at the altitude. Returns its fuel flow.
double step_engine(EngineState& e, double target, double dt, bool fuel, double pressure_ratio_atm);

// Served raw values: the thrust-lever value (0..16383, negative in reverse) and the
// pressure value of variables 633, 652, 671, 690 (engine index 0..3).
double engine_lever_value(const EngineState& e);
double engine_pressure_value(const EngineState& e, int engine);

// The engine speed, percent, the thrust page reads as `pressure_ratio` under variable
// 342 = `scale`: its eleven ratio segments over a speed span the scale sets.
double engine_speed_for_ratio(double pressure_ratio, double scale);

}  // namespace simhost
