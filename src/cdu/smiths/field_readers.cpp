#include "cdu/smiths/field_readers.h"

#include <algorithm>
#include <cmath>

#include "guidance/aircraft_file.h"
#include "guidance/flight_envelope.h"
#include "module/sim_vars.h"

namespace {

constexpr double LB_PER_KG = 2.20462262;

bool all_digits(const std::string& w) {
  return !w.empty() && w.find_first_not_of("0123456789") == std::string::npos;
}

// At most one digit after the point: the tenths a field shows, nothing finer.
bool tenths_word(const std::string& w) {
  const std::size_t point = w.find('.');
  return point == std::string::npos || w.size() - point <= 2;
}

}  // namespace

int32_t cdu_least_speed_kt(int phase) { return int32_t(std::ceil(envelope_least_ias(phase))); }

int32_t cdu_least_reference_speed_kt() {
  const double vs0 = get_design_speed_vs0();
  if (!(vs0 > CDU_MIN_SPEED_KT) || !(vs0 < CDU_MAX_SPEED_KT)) return CDU_MIN_SPEED_KT;
  return int32_t(std::ceil(vs0));
}

double cdu_mach_limit() { return envelope_mach_limit(); }

int32_t cdu_speed_limit_kt() {
  const double limit = aircraft_max_ias();
  if (!(limit >= 1.0) || limit > CDU_MAX_SPEED_KT) return CDU_MAX_SPEED_KT;
  return int32_t(limit);
}

bool read_number_word(const std::string& w, bool signed_word, double& v) {
  std::size_t i = 0;
  if (signed_word && i < w.size() && (w[i] == '-' || w[i] == '+')) ++i;
  bool digit = false, point = false;
  for (; i < w.size(); ++i) {
    if (w[i] >= '0' && w[i] <= '9') digit = true;
    else if (w[i] == '.' && !point) point = true;
    else return false;
  }
  // Twelve characters hold every value of every field.
  if (!digit || w.size() > 12) return false;
  v = std::strtod(w.c_str(), nullptr);
  return std::isfinite(v);
}

bool read_speed_kt(const std::string& w, int32_t min_kt, int32_t max_kt, int32_t& kt) {
  if (!all_digits(w) || w.size() > 4) return false;
  const int32_t v = std::stoi(w);
  if (v < min_kt || v > std::min(max_kt, cdu_speed_limit_kt())) return false;
  kt = v;
  return true;
}

bool read_mach(const std::string& w, double& mach) {
  double v = 0;
  if (!read_number_word(w, false, v) || v < CDU_MIN_MACH || v > std::min(CDU_MAX_MACH, cdu_mach_limit() + 1e-9))
    return false;
  mach = v;
  return true;
}

bool read_speed_mach(const std::string& s, int32_t min_kt, int32_t max_kt, SpeedMachEntry& e) {
  SpeedMachEntry r;
  std::string speed = s, mach;
  const bool slash = s.find('/') != std::string::npos;
  if (slash && !split_at_slash(s, speed, mach)) return false;
  r.has_speed = !speed.empty();
  r.has_mach = slash;
  if (!r.has_speed && !r.has_mach) return false;
  if (r.has_speed && !read_speed_kt(speed, min_kt, max_kt, r.kt)) return false;
  if (r.has_mach && !read_mach(mach, r.mach)) return false;
  e = r;
  return true;
}

bool read_feet(const std::string& w, int32_t min_ft, int32_t max_ft, int32_t& ft) {
  if (!all_digits(w) || w.size() > 6) return false;
  const int32_t v = std::stoi(w);
  if (v < min_ft || v > max_ft) return false;
  ft = v;
  return true;
}

bool read_altitude_ft(const std::string& w, int32_t min_ft, int32_t max_ft, int32_t& ft) {
  const bool fl = w.starts_with("FL");
  const std::string digits = fl ? w.substr(2) : w;
  // Whole words only: "350.5" is no level.
  if (!all_digits(digits) || digits.size() > 6) return false;
  const double whole = std::stod(digits);
  if (whole < 1 || (fl && whole >= 1000)) return false;
  const double feet = whole < 1000 ? whole * 100.0 : whole;
  if (feet < min_ft || feet > max_ft) return false;
  ft = int32_t(feet);
  return true;
}

bool read_cruise_alt_ft(const std::string& w, int32_t& ft) {
  return read_altitude_ft(w, envelope_lowest_cruise_ft(), envelope_highest_cruise_ft(), ft);
}

bool read_speed_altitude(const std::string& s, const SpeedAltitudeRange& r, SpeedAltitudeEntry& e) {
  SpeedAltitudeEntry out;
  std::string speed, alt = s;
  if (s.find('/') != std::string::npos && !split_at_slash(s, speed, alt)) return false;
  out.has_speed = !speed.empty();
  if (!out.has_speed && !r.speed_optional) return false;
  if (out.has_speed && !read_speed_kt(speed, r.min_kt, r.max_kt, out.kt)) return false;
  const bool alt_ok =
      r.flight_levels ? read_altitude_ft(alt, r.min_ft, r.max_ft, out.ft) : read_feet(alt, r.min_ft, r.max_ft, out.ft);
  if (!alt_ok) return false;
  e = out;
  return true;
}

bool read_weight_lb(const std::string& w, bool kgs, double max_thousands, double& lb) {
  double v = 0;
  // The field shows tenths of thousands: a smaller weight would show as none.
  if (!read_number_word(w, false, v) || !tenths_word(w) || !(v >= 0.1) || !(v < max_thousands)) return false;
  const double pounds = v * 1000.0 * (kgs ? LB_PER_KG : 1.0);
  if (pounds > CDU_MAX_WEIGHT_LB) return false;
  lb = pounds;
  return true;
}

bool read_temperature_c(const std::string& w, double& c) {
  double v = 0;
  // Zero only as "0": "-0", "+0", "00" and "0.0" are no temperature.
  if (!read_number_word(w, true, v) || std::fabs(v) > CDU_MAX_TEMPERATURE_C || (v == 0 && w != "0")) return false;
  c = v;
  return true;
}

bool read_cost_index(const std::string& w, int32_t& ci) {
  if (w == "-1") {
    ci = -1;
    return true;
  }
  if (!all_digits(w) || w.size() > 3 || (w[0] == '0' && w != "0")) return false;
  const int32_t v = std::stoi(w);
  if (v > 200) return false;
  ci = v;
  return true;
}

bool read_wind(const std::string& s, int32_t& dir, int32_t& kt) {
  std::string d, speed;
  double v = 0;
  if (!split_at_slash(s, d, speed) || d.size() != 3 || !all_digits(d) || !all_digits(speed) ||
      !read_number_word(speed, false, v))
    return false;
  const int32_t deg = std::stoi(d);
  if (deg > 360 || !(v < 1000)) return false;
  dir = deg;
  kt = int32_t(v);
  return true;
}

bool read_course_deg(const std::string& w, double& deg) {
  double v = 0;
  if (!read_number_word(w, false, v) || v > 360.0) return false;
  deg = v;
  return true;
}

bool read_radial_deg(const std::string& w, int32_t& deg) {
  if (w.size() != 3 || !all_digits(w)) return false;
  const int32_t v = std::stoi(w);
  if (v > 360) return false;
  deg = v;
  return true;
}

bool read_tenths(const std::string& w, double min, double max, double& v) {
  double x = 0;
  if (!read_number_word(w, false, x) || !tenths_word(w) || x < min || x > max) return false;
  v = x;
  return true;
}

bool split_at_slash(const std::string& s, std::string& left, std::string& right) {
  const std::size_t slash = s.find('/');
  if (slash == std::string::npos || s.find('/', slash + 1) != std::string::npos) return false;
  left = s.substr(0, slash);
  right = s.substr(slash + 1);
  return true;
}
