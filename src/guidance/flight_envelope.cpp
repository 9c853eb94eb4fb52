#include "guidance/flight_envelope.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "flightplan/flight_plan.h"
#include "guidance/aircraft_file.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

double envelope_live_vmo = 0.0;
double envelope_live_mmo = 0.0;
double vnav_speed_asked = -1.0;
double vnav_speed_sent = -1.0;

namespace {

constexpr double SEA_LEVEL_SOUND_KT = 661.4786;

// Density ratio and speed of sound (knots) of the standard atmosphere.
void standard_air(double altitude_ft, double& density_ratio, double& sound_kt) {
  const double h = std::clamp(finite_or(altitude_ft, 0.0), -2000.0, 80000.0) * 0.3048;
  double temp_ratio = 0.0, pressure_ratio = 0.0;
  if (h <= 11000.0) {
    temp_ratio = (288.15 - 0.0065 * h) / 288.15;
    pressure_ratio = std::pow(temp_ratio, 5.25588);
  } else {
    temp_ratio = 216.65 / 288.15;
    pressure_ratio = 0.223361 * std::exp(-(h - 11000.0) / 6341.62);
  }
  density_ratio = pressure_ratio / temp_ratio;
  sound_kt = SEA_LEVEL_SOUND_KT * std::sqrt(temp_ratio);
}

// Knots per Mach at the present altitude: the live ratio while flying, else the standard air's.
double knots_per_mach_now() {
  if (indicated_airspeed > 100.0 && mach > 0.15 && std::isfinite(indicated_airspeed / mach))
    return indicated_airspeed / mach;
  return envelope_ias_of_mach(1.0, indicated_altitude);
}

// The Mach the phase flies above its crossover: its own target within the limit.
double phase_mach(bool climb) {
  const double target = climb ? ClimbMach : (tod_reached == 1 ? DescentMach : CruiseMach);
  const double limit = envelope_mach_limit();
  return target > 0.0 ? std::min(target, limit) : limit;
}

}  // namespace

double envelope_least_ias(int phase) {
  const double climb = MinVnavClimbIas >= 1.0 ? MinVnavClimbIas : ENVELOPE_DEFAULT_CLIMB_IAS;
  const double other = MinVnavIas >= 1.0 ? MinVnavIas : ENVELOPE_DEFAULT_IAS;
  if (phase == ENVELOPE_CLIMB) return climb;
  if (phase == ENVELOPE_NOT_CLIMB) return other;
  return std::min(climb, other);
}

double envelope_mach_limit() {
  return envelope_live_mmo > 0.0 ? envelope_live_mmo : ENVELOPE_DEFAULT_MACH_LIMIT;
}

double envelope_mach_of_ias(double ias_kt, double altitude_ft) {
  double sigma = 1.0, sound = SEA_LEVEL_SOUND_KT;
  standard_air(altitude_ft, sigma, sound);
  return ias_kt / std::sqrt(sigma) / sound;
}

double envelope_ias_of_mach(double m, double altitude_ft) {
  double sigma = 1.0, sound = SEA_LEVEL_SOUND_KT;
  standard_air(altitude_ft, sigma, sound);
  return m * sound * std::sqrt(sigma);
}

double envelope_least_mach(int phase) {
  return envelope_mach_of_ias(envelope_least_ias(phase), cruise_alt > 0 ? cruise_alt : 0.0);
}

int32_t envelope_lowest_cruise_ft() { return plan_cruise_level_lowest_ft(); }

int32_t envelope_highest_cruise_ft() { return MaxCruise >= 1000 && MaxCruise < 99999 ? MaxCruise : 99998; }

void envelope_sample() {
  const double live = get_barber_pole_speed_raw() / 128.0;
  if (!std::isfinite(live) || live < 1.0 || live > 2000.0) return;
  envelope_live_vmo = std::max(envelope_live_vmo, live);
  // Below the highest seen, the live maximum is the Mach limit's airspeed.
  if (live < envelope_live_vmo - 2.0 && indicated_airspeed > 100.0 && mach > 0.15) {
    const double m = live * mach / indicated_airspeed;
    if (std::isfinite(m) && m > 0.3 && m < 3.0) envelope_live_mmo = std::round(m * 1000.0) / 1000.0;
  }
}

double envelope_bound_ias(double asked, bool climb) {
  double hi = aircraft_max_ias_now();
  const double mach_ias = phase_mach(climb) * knots_per_mach_now();
  if (std::isfinite(mach_ias) && mach_ias >= 1.0) hi = hi >= 1.0 ? std::min(hi, mach_ias) : mach_ias;
  const double lo = envelope_least_ias(climb ? ENVELOPE_CLIMB : ENVELOPE_NOT_CLIMB);
  double v = asked;
  if (hi >= 1.0 && v > hi) v = std::floor(hi);
  // The least speed wins over a Mach that gives less: no speed below the aircraft's.
  return std::max(v, lo);
}

double envelope_bound_mach100(double mach100) {
  // No Mach below the least speed at the altitude where it is flown.
  const double least = envelope_mach_of_ias(envelope_least_ias(ENVELOPE_NOT_CLIMB), indicated_altitude);
  if (std::isfinite(least)) mach100 = std::max(mach100, std::ceil(least * 100.0 - 1e-9));
  return std::min(mach100, std::floor(envelope_mach_limit() * 100.0 + 1e-9));
}

void envelope_raise_cruise_mach() {
  const double least = std::ceil(envelope_least_mach(ENVELOPE_NOT_CLIMB) * 100.0 - 1e-9) / 100.0;
  if (!(CruiseMach > 0.0) || !(CruiseMach < least) || !(least < envelope_mach_limit())) return;
  // ERASE gives back the Mach the pilot entered while the level is a modification.
  if (cruise_mach_prev < 0.0) cruise_mach_prev = CruiseMach;
  CruiseMach = least;
}
