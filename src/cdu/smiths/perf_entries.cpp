#include "cdu/smiths/perf_entries.h"

#include <cmath>

#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/eta_clock.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "module/sim_vars.h"

namespace {
constexpr double MAX_ALT_FT = 99999.0;
constexpr double MAX_TEMPERATURE_C = 99.0;
constexpr double MIN_LIMIT_MACH = 0.1, MAX_LIMIT_MACH = 0.99;
}  // namespace

void cdu_reject() { smiths_scratchpad_msg = "INVALID ENTRY"; }

void cdu_route_value_changed() {
  if (fpl_changed_state == 3) fpl_changed_step();
}

void cdu_enter_cruise_alt() {
  if (smiths_scratchpad.starts_with("FL")) smiths_scratchpad.erase(0, 2);
  // The range is checked on the number itself, before it becomes a whole number.
  double x = cdu_leading_number(smiths_scratchpad);
  if (x <= 0 || x >= MAX_ALT_FT) return cdu_reject();
  if (cruise_alt_prev <= 0) cruise_alt_prev = cruise_alt;
  // Truncated first: "350.5" is FL350, as the page shows it.
  cruise_alt = int32_t(x);
  if (cruise_alt < 1000) cruise_alt *= 100;
  cdu_route_value_changed();
  smiths_scratchpad.clear();
}

void cdu_enter_target_speed(const SpeedTarget& t) {
  const std::string& s = smiths_scratchpad;
  if (s.empty()) return;
  const std::size_t slash = s.find('/');
  const bool has_ias = slash != 0, has_mach = slash != std::string::npos;
  const double ias = has_ias ? cdu_leading_number(s.substr(0, slash)) : 0.0;
  const double mach = has_mach ? cdu_leading_number(s.substr(slash + 1)) : 0.0;
  if (has_ias && !(ias >= 50 && ias <= 500)) return cdu_reject();
  if (has_mach && !(mach >= 0 && mach <= 4)) return cdu_reject();
  if (has_ias) {
    if (*t.ias_prev < 0) *t.ias_prev = *t.ias;
    *t.ias = int32_t(ias);
  }
  if (has_mach) {
    if (*t.mach_prev < 0) *t.mach_prev = *t.mach;
    *t.mach = mach;
  }
  smiths_scratchpad.clear();
  cdu_route_value_changed();
}

void cdu_enter_speed_restriction(double& speed, double& alt) {
  const std::string& s = smiths_scratchpad;
  if (s.empty()) return;
  const std::size_t slash = s.find('/');
  if (slash == std::string::npos || slash < 3) return cdu_reject();
  const double kt = cdu_leading_number(s.substr(0, slash)), ft = cdu_leading_number(s.substr(slash + 1));
  if (kt < 50 || ft < 1000) return cdu_reject();
  speed = double(cdu_leading_int(s.substr(0, slash)));
  alt = ft;
  smiths_scratchpad.clear();
}

bool perf_set_wind(double dir, double speed) {
  if (!(dir >= 0 && dir <= 360 && speed >= 0 && speed < 1000)) return false;
  crz_wind_dir = int32_t(dir);
  crz_wind_speed = int32_t(speed);
  return true;
}

bool perf_set_temperature(double x, bool isa) {
  const double standard = 15.0 - 1.98 * double(cruise_alt / 1000);
  const double dev = isa ? x : x - standard, oat = isa ? x + standard : x;
  if (!(std::fabs(dev) <= MAX_TEMPERATURE_C && std::fabs(oat) <= MAX_TEMPERATURE_C)) return false;
  isa_deviation = dev;
  toc_oat = oat;
  return true;
}

const SpeedLimitRow perf_limit_rows[3] = {
    {.min = {.ias = &ClimbIasMin, .mach = &climb_mach_min}, .max = {.ias = &ClimbIasMax, .mach = &climb_mach_max}},
    {.min = {.ias = &CruiseIasMin, .mach = &cruise_mach_min}, .max = {.ias = &CruiseIasMax, .mach = &cruise_mach_max}},
    {.min = {.ias = &descent_ias_min, .mach = &descent_mach_min},
     .max = {.ias = &descent_ias_max, .mach = &descent_mach_max}},
};

void cdu_enter_speed_limit(int row, bool is_max, CduLines io) {
  if (row < 0 || row > 2) return;
  std::string& s = io.pad;
  if (s.size() == 6) s += "00";
  else if (s.size() == 7) s += "0";
  auto digits = [&s](std::size_t at) { return s.substr(at, 3).find_first_not_of("0123456789") == std::string::npos; };
  if (s.size() != 8 || s.compare(3, 2, "/.") != 0 || !digits(0) || !digits(5)) {
    io.msg = "INVALID ENTRY";
    return;
  }
  const double speed = std::stoi(s.substr(0, 3)), mach = std::stoi(s.substr(5)) / 1000.0;
  const SpeedLimitRow& r = perf_limit_rows[row];
  const SpeedLimit& other = is_max ? r.min : r.max;
  // A limit of 0 on the other side is not set and bounds nothing.
  auto ordered = [is_max](double v, double o) { return o <= 0 || (is_max ? o <= v : v <= o); };
  if (speed < 1 || mach < MIN_LIMIT_MACH || mach > MAX_LIMIT_MACH || !ordered(speed, *other.ias) ||
      !ordered(mach, *other.mach)) {
    io.msg = "INVALID ENTRY";
    return;
  }
  const SpeedLimit& l = is_max ? r.max : r.min;
  *l.ias = speed;
  *l.mach = mach;
  s.clear();
}

std::string cdu_eta_hhmm(double minutes) {
  const bool local = DispETALocalTime == 1;
  int32_t hour = 0, minute = 0;
  eta_clock(local ? clock_hour : zulu_hour, zulu_minute, 0, minutes, hour, minute);
  return cdu_format("%02d%02d", int(hour), int(minute));
}

const char* cdu_eta_zone() { return DispETALocalTime == 1 ? "L" : "Z"; }

double cdu_mean_speed(double dist, double descent_factor) {
  if (!(dist > 100.0)) return ground_speed;
  return ((dist - 100.0) * ground_speed + 100.0 * descent_factor * DescentIas) / dist;
}

double cdu_fuel_at(double dist, double speed) {
  if (!(speed > 0)) return read_fuel_on_board();
  double burn = get_total_fuel_flow() * dist / speed;
  if (ground_speed > speed) burn *= speed / ground_speed;
  return read_fuel_on_board() - burn;
}

double cdu_shown_weight(double lb) { return (WeightUnit == "KGS" ? lb * kg_per_lb : lb) / 1000.0; }
