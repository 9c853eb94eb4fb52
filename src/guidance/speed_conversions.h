// Rules of thumb between indicated airspeed, true airspeed and Mach, and the fuel
// weight on board.
#pragma once

#include <cstdint>

// Outside air temperature at top of climb, degrees Celsius (-30); the Mach conversions
// take the speed of sound from it. A value at or below absolute zero (such as the -999
// of "not entered") counts as -30. Also "tc_oat".
extern double toc_oat;
extern double isa_deviation;              // deg C; -999 = not known
extern int32_t crz_wind_dir, crz_wind_speed;  // cruise wind: degrees, knots (below 1 = none)
// Reserve fuel, pounds; every fuel-weight read lowers it to the weight read when that
// is smaller. Also "fms_reserve_fuel", "fuel_reserves".
extern double reserve_fuel;

// Speed of sound in knots per square root of kelvin.
constexpr double speed_of_sound_factor = 38.967854;

// ias + 1.9 % per 1000 ft.
double ias_to_tas(double ias, double altitude_ft);
// The inverse of `ias_to_tas`; `tas` unchanged at altitudes where the rule breaks down.
double tas_to_ias(double tas, double altitude_ft);
// `ias_to_tas` over the speed of sound at `toc_oat`.
double ias_to_mach(double ias, double altitude_ft);
// `true_airspeed` := Mach `mach_number` at the speed of sound of `toc_oat`, and
// `indicated_airspeed` := its IAS at 38000 ft.
void mach_to_speeds(double mach_number);
// Fuel on board in pounds: total fuel (gallons) x fuel weight per gallon.
double read_fuel_on_board();

// The fuel read under the names some pages use.
inline double get_fuel_weight_lb() { return read_fuel_on_board(); }
inline double get_fuel_on_board_weight() { return read_fuel_on_board(); }
