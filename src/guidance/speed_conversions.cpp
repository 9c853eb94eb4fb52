#include "guidance/speed_conversions.h"

#include <cmath>

#include "guidance/fms_state.h"
#include "module/sim_vars.h"

double toc_oat = -30.0;
double isa_deviation = 30.0;
int32_t crz_wind_dir = 0, crz_wind_speed = 0;
double reserve_fuel = 0.0;

double ias_to_tas(double ias, double altitude_ft) { return ias * 0.019 * (altitude_ft / 1000.0) + ias; }

double tas_to_ias(double tas, double altitude_ft) {
  double percent = altitude_ft / 1000.0 * 1.9 + 100.0;
  if (!(percent > 0.0)) return tas;
  return tas / percent * 100.0;
}

namespace {
// Speed of sound in knots at `toc_oat`.
double speed_of_sound_kt() {
  double kelvin = toc_oat + 273.15;
  if (!(kelvin > 0.0) || !std::isfinite(kelvin)) kelvin = -30.0 + 273.15;
  return speed_of_sound_factor * std::sqrt(kelvin);
}
}  // namespace

double ias_to_mach(double ias, double altitude_ft) { return ias_to_tas(ias, altitude_ft) / speed_of_sound_kt(); }

void mach_to_speeds(double mach_number) {
  true_airspeed = speed_of_sound_kt() * mach_number;
  indicated_airspeed = tas_to_ias(true_airspeed, 38000.0);
}

double read_fuel_on_board() {
  double weight = get_total_fuel_gallons() * get_fuel_weight_per_gallon();
  if (weight < reserve_fuel) reserve_fuel = weight;
  return weight;
}
