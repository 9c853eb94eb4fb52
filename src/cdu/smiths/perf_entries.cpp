#include "cdu/smiths/perf_entries.h"

#include <cmath>

#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/eta_clock.h"
#include "guidance/flight_envelope.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "module/sim_vars.h"

namespace {
constexpr int32_t MAX_TARGET_KT = 500;

// A Mach at least the phase's least speed at the cruise level.
bool mach_within(const SpeedMachEntry& e, int phase) {
  return !e.has_mach || e.mach >= std::floor(envelope_least_mach(phase) * 1000.0) / 1000.0;
}
}  // namespace

void cdu_reject() { smiths_scratchpad_msg = "INVALID ENTRY"; }

void cdu_route_value_changed() {
  if (fpl_changed_state == 3) fpl_changed_step();
}

void cdu_enter_cruise_alt() {
  int32_t ft = 0;
  if (!read_cruise_alt_ft(smiths_scratchpad, ft)) return cdu_reject();
  if (cruise_alt_prev <= 0) cruise_alt_prev = cruise_alt;
  cruise_alt = ft;
  cdu_route_value_changed();
  smiths_scratchpad.clear();
}

void cdu_enter_target_speed(const SpeedTarget& t) {
  if (smiths_scratchpad.empty()) return;
  SpeedMachEntry e;
  if (!read_speed_mach(smiths_scratchpad, cdu_least_speed_kt(t.phase), MAX_TARGET_KT, e) || !mach_within(e, t.phase))
    return cdu_reject();
  if (e.has_speed) {
    if (*t.ias_prev < 0) *t.ias_prev = *t.ias;
    *t.ias = e.kt;
  }
  if (e.has_mach) {
    if (*t.mach_prev < 0) *t.mach_prev = *t.mach;
    *t.mach = e.mach;
  }
  smiths_scratchpad.clear();
  cdu_route_value_changed();
}

void cdu_enter_speed_restriction(double& speed, double& alt, int phase) {
  const std::string& s = smiths_scratchpad;
  if (s.empty()) return;
  // "250/10000": at least the phase's least speed below at least 1000 ft, in feet.
  const SpeedAltitudeRange range = {.min_kt = cdu_least_speed_kt(phase),
                                    .max_kt = CDU_MAX_SPEED_KT,
                                    .min_ft = 1000,
                                    .max_ft = int32_t(CDU_MAX_ALT_FT) - 1,
                                    .speed_optional = false,
                                    .flight_levels = false};
  SpeedAltitudeEntry e;
  if (s.find('/') < 3 || !read_speed_altitude(s, range, e)) return cdu_reject();
  speed = e.kt;
  alt = e.ft;
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
  if (!(std::fabs(dev) <= CDU_MAX_TEMPERATURE_C && std::fabs(oat) <= CDU_MAX_TEMPERATURE_C)) return false;
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
  // The zeros fill a copy: a refused entry stays as typed.
  std::string s = io.pad;
  if (s.size() == 6) s += "00";
  else if (s.size() == 7) s += "0";
  int32_t speed = 0;
  double mach = 0;
  const int phase = row == 0 ? ENVELOPE_CLIMB : ENVELOPE_NOT_CLIMB;
  if (s.size() != 8 || s.compare(3, 2, "/.") != 0 || s.substr(5).find_first_not_of("0123456789") != std::string::npos ||
      !read_speed_kt(s.substr(0, 3), cdu_least_speed_kt(phase), CDU_MAX_SPEED_KT, speed) ||
      !read_mach(s.substr(4), mach) || !mach_within({.has_mach = true, .mach = mach}, phase)) {
    io.msg = "INVALID ENTRY";
    return;
  }
  const SpeedLimitRow& r = perf_limit_rows[row];
  const SpeedLimit& other = is_max ? r.min : r.max;
  // A limit of 0 on the other side is not set and bounds nothing.
  auto ordered = [is_max](double v, double o) { return o <= 0 || (is_max ? o <= v : v <= o); };
  if (!ordered(speed, *other.ias) || !ordered(mach, *other.mach)) {
    io.msg = "INVALID ENTRY";
    return;
  }
  const SpeedLimit& l = is_max ? r.max : r.min;
  *l.ias = speed;
  *l.mach = mach;
  io.pad.clear();
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
