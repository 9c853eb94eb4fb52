#include "host/aircraft_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

#include "geo/magnetic_model.h"
#include "platform/host/gauge_host.h"
#include "platform/host/sim_token_ids.h"

namespace simhost {

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double DEG = PI / 180.0;
constexpr double G = 9.80665;
constexpr double KT_TO_MS = 0.514444;
constexpr double MAX_TURN_RATE = 3.0;  // degrees per second, standard rate
constexpr double MAX_BANK = 25.0;
constexpr double ACCEL_KT_S = 2.0;
constexpr double DECEL_KT_S = 1.5;
constexpr double ROLL_RATE = 5.0;            // degrees per second
constexpr double VS_CHANGE = 400.0;          // ft/min per second
constexpr double ROTATE_RATE = 3.0;          // degrees per second
constexpr double TAKEOFF_ACCEL_KT_S = 4.0;
constexpr double FLAPS_RATE = 2.0;           // degrees per second
constexpr double MAX_FLAPS = 40.0;
// The flap handle's detents UP, 1/2, 3/4 and FULL: the largest flap angle each selects.
constexpr double FLAP_DETENT_DEG[4] = {0.0, 20.0, 30.0, MAX_FLAPS};
constexpr double STALL_AOA = 14.0;           // degrees
constexpr double GLIDESLOPE_DEG = 3.0;
constexpr double FT_PER_NM = 6076.12;
constexpr double LOC_CAPTURE_DEG = 2.0;      // localizer deviation at capture
constexpr double GS_CAPTURE_DEG = 0.15;      // glideslope deviation at capture
constexpr double TRACK_GAIN = 45.0;          // degrees of intercept per NM off the course
constexpr double MARKER_NM[3] = {4.5, 0.6, 0.15};  // outer, middle, inner, before the threshold
constexpr double MARKER_RANGE_NM = 0.3;

double wrap360(double a) {
  if (!std::isfinite(a)) return 0.0;
  a = std::fmod(a, 360.0);
  if (a < 0.0) a += 360.0;
  return a;
}

double wrap180(double a) {
  a = wrap360(a);
  return a > 180.0 ? a - 360.0 : a;
}

double c_to_rankine(double c) { return c * 9.0 / 5.0 + 491.67; }

// The handle stands in the detent of the flaps selected, served as 0, a third, two
// thirds or all of 16384.
double flap_handle_value(double selected_deg) {
  int detent = 3;
  while (detent > 0 && selected_deg <= FLAP_DETENT_DEG[detent - 1]) --detent;
  return std::round(detent * 16384.0 / 3.0);
}

// Flight-path angle of a vertical speed at a true airspeed, degrees.
double path_angle(double vs_fpm, double tas_kt) {
  return std::atan2(vs_fpm / 60.0 * 0.3048, std::max(tas_kt * KT_TO_MS, 1.0)) / DEG;
}

// Great-circle distance and initial true course between two positions.
void gc_distance_course(double lat1, double lon1, double lat2, double lon2, double* dist_nm,
                        double* course) {
  double p1 = lat1 * DEG, p2 = lat2 * DEG, dl = (lon2 - lon1) * DEG;
  double a = std::sin((p2 - p1) / 2) * std::sin((p2 - p1) / 2) +
             std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
  a = std::clamp(a, 0.0, 1.0);
  *dist_nm = 2.0 * std::atan2(std::sqrt(a), std::sqrt(1.0 - a)) * EARTH_RADIUS_NM;
  double y = std::sin(dl) * std::cos(p2);
  double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
  *course = (x == 0.0 && y == 0.0) ? 0.0 : wrap360(std::atan2(y, x) / DEG);
}

void gc_destination(double lat, double lon, double course, double dist_nm, double* out_lat,
                    double* out_lon) {
  double d = dist_nm / EARTH_RADIUS_NM, c = course * DEG, p1 = lat * DEG, l1 = lon * DEG;
  double sp2 = std::sin(p1) * std::cos(d) + std::cos(p1) * std::sin(d) * std::cos(c);
  double p2 = std::asin(std::clamp(sp2, -1.0, 1.0));
  double l2 = l1 + std::atan2(std::sin(c) * std::sin(d) * std::cos(p1),
                              std::cos(d) - std::sin(p1) * std::sin(p2));
  *out_lat = p2 / DEG;
  *out_lon = wrap180(l2 / DEG);
}

// Upper-cased calculator code without blanks: "(A:INDICATEDALTITUDE,FEET)".
std::string squeeze_code(const char* code) {
  std::string out;
  for (const char* p = code; *p; ++p) {
    if (!std::isspace(static_cast<unsigned char>(*p)))
      out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(*p))));
  }
  return out;
}

}  // namespace

Atmosphere standard_atmosphere(double altitude_ft) {
  double h = std::clamp(altitude_ft, -2000.0, 80000.0) * 0.3048;
  Atmosphere a{};
  if (h <= 11000.0) {
    a.temp_k = 288.15 - 0.0065 * h;
    a.pressure_ratio = std::pow(a.temp_k / 288.15, 5.25588);
  } else {
    a.temp_k = 216.65;
    a.pressure_ratio = 0.223361 * std::exp(-(h - 11000.0) / 6341.62);
  }
  a.density_ratio = a.pressure_ratio / (a.temp_k / 288.15);
  a.speed_of_sound_kt = 661.4786 * std::sqrt(a.temp_k / 288.15);
  return a;
}

double true_airspeed_kt(double ias_kt, double altitude_ft) {
  return ias_kt / std::sqrt(standard_atmosphere(altitude_ft).density_ratio);
}

double ias_for_mach(double mach, double altitude_ft) {
  Atmosphere a = standard_atmosphere(altitude_ft);
  return mach * a.speed_of_sound_kt * std::sqrt(a.density_ratio);
}

bool is_leap_year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }
int days_in_year(int year) { return is_leap_year(year) ? 366 : 365; }

int64_t bcd_to_int(int64_t bcd) {
  if (bcd < 0) return -1;
  int64_t value = 0, scale = 1;
  for (; bcd > 0; bcd >>= 4, scale *= 10) {
    int64_t digit = bcd & 0xF;
    if (digit > 9) return -1;
    value += digit * scale;
  }
  return value;
}

int64_t int_to_bcd(int64_t value) {
  if (value < 0) return 0;
  int64_t bcd = 0;
  for (int shift = 0; value > 0 && shift < 60; shift += 4, value /= 10) bcd |= (value % 10) << shift;
  return bcd;
}

AircraftModel::AircraftModel() {
  s_.ap_altitude_ft = s_.altitude_ft;
  refresh();
}

double AircraftModel::indicated_altitude_ft() const {
  return s_.altitude_ft + (s_.altimeter_hpa - s_.sea_level_hpa) * 27.3;
}

double AircraftModel::true_airspeed() const { return true_airspeed_kt(s_.ias_kt, s_.altitude_ft); }

double AircraftModel::mach() const {
  return true_airspeed() / standard_atmosphere(s_.altitude_ft).speed_of_sound_kt;
}

double AircraftModel::decimal_year() const {
  return s_.year + (s_.day_of_year - 1 + s_.zulu_seconds / 86400.0) / days_in_year(s_.year);
}

double AircraftModel::magnetic_variation() const {
  return magnetic_declination(s_.lat, s_.lon, s_.altitude_ft, decimal_year());
}

double AircraftModel::local_offset_hours() const { return std::round(s_.lon / 15.0); }

double AircraftModel::local_seconds() const {
  double t = s_.zulu_seconds + local_offset_hours() * 3600.0;
  if (t < 0.0) t += 86400.0;
  if (t >= 86400.0) t -= 86400.0;
  return t;
}

int AircraftModel::local_day_of_year() const {
  double t = s_.zulu_seconds + local_offset_hours() * 3600.0;
  int day = s_.day_of_year;
  if (t < 0.0) {
    day -= 1;
    if (day < 1) day = days_in_year(s_.year - 1);
  } else if (t >= 86400.0) {
    day += 1;
    if (day > days_in_year(s_.year)) day = 1;
  }
  return day;
}

double AircraftModel::radio_altitude_ft() const {
  return std::max(0.0, s_.altitude_ft - s_.ground_elevation_ft);
}

bool AircraftModel::set_zulu_time(int hour, int minute, int second) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return false;
  s_.zulu_seconds = hour * 3600.0 + minute * 60.0 + second;
  return true;
}

bool AircraftModel::set_date(int year, int day_of_year) {
  if (year < 1900 || year > 2200 || day_of_year < 1 || day_of_year > days_in_year(year)) return false;
  s_.year = year;
  s_.day_of_year = day_of_year;
  return true;
}

void AircraftModel::set_fuel_gallons(double gallons) {
  if (!std::isfinite(gallons)) return;
  s_.fuel_gallons = std::clamp(gallons, 0.0, s_.fuel_capacity_gallons);
}

bool AircraftModel::set_sim_rate(double rate) {
  if (!std::isfinite(rate) || rate < 0.25 || rate > 128.0) return false;
  s_.sim_rate = rate;
  return true;
}

void AircraftModel::refresh() {
  s_.engine_count = std::clamp(s_.engine_count, 1, MAX_ENGINES);
  s_.heading_true = wrap360(s_.heading_true);
  s_.ap_heading = wrap360(s_.ap_heading);
  // On the ground the aircraft sits at the ground elevation; never below it.
  if (s_.on_ground || s_.altitude_ft < s_.ground_elevation_ft) s_.altitude_ft = s_.ground_elevation_ft;
  if (s_.on_ground) s_.vs_fpm = 0.0;
  // On the ground the gear is down and locked.
  if (s_.on_ground) {
    s_.gear_down = true;
    s_.gear_position = 16383.0;
  }
  integrate_position(0.0);
  update_engines(0.0, 0.0);
  update_radios();
}

void AircraftModel::step(double dt) {
  if (!(dt > 0.0) || !std::isfinite(dt)) return;
  // Long frames (high simulation rates) are flown in short slices.
  int slices = static_cast<int>(std::ceil(dt / 0.25));
  slices = std::clamp(slices, 1, 4096);
  double h = dt / slices;
  for (int i = 0; i < slices; ++i) {
    double ias_before = s_.ias_kt;
    fly_autopilot(h);
    integrate_position(h);
    update_engines(h, s_.ias_kt - ias_before);
    advance_clock(h);
    move_gear(h);
  }
  update_radios();
}

double AircraftModel::angle_of_attack() const { return angle_of_attack_at(s_.ias_kt); }

double AircraftModel::angle_of_attack_at(double ias_kt) const {
  double v = std::max(ias_kt, 60.0);
  double aoa = 2.5 * (250.0 / v) * (250.0 / v) - 0.15 * s_.flaps_deg;
  return std::clamp(aoa, 0.0, 15.0);
}

void AircraftModel::move_flaps(double dt) {
  s_.flaps_target_deg = std::clamp(s_.flaps_target_deg, 0.0, MAX_FLAPS);
  double diff = s_.flaps_target_deg - s_.flaps_deg;
  s_.flaps_deg += std::clamp(diff, -FLAPS_RATE * dt, FLAPS_RATE * dt);
}

// On the ground the aircraft stands or taxis as set. With the flight director on and a
// selected speed above 1.1 VS1 it takes off: accelerates to that speed, rotates and
// lifts off once the pitch gives the wing its angle of attack.
void AircraftModel::take_off_run(double dt) {
  s_.vs_fpm = 0.0;
  s_.bank_deg = 0.0;
  fd_bank_ = 0.0;
  loc_captured_ = gs_captured_ = false;
  if (!s_.flight_director || !(s_.ap_airspeed_kt > 1.1 * s_.vs1_kt)) {
    s_.pitch_deg = 0.0;
    fd_pitch_ = 0.0;
    return;
  }
  // The attitude after rotation, at the selected speed: the cue is met once the
  // aircraft follows it.
  fd_pitch_ = path_angle(std::fabs(s_.ap_vs_fpm), s_.ap_airspeed_kt) + angle_of_attack_at(s_.ap_airspeed_kt);
  if (s_.ias_kt < s_.ap_airspeed_kt) {
    s_.ias_kt = std::min(s_.ap_airspeed_kt, s_.ias_kt + TAKEOFF_ACCEL_KT_S * dt);
    return;
  }
  s_.pitch_deg += ROTATE_RATE * dt;
  if (s_.pitch_deg >= angle_of_attack()) s_.on_ground = false;
}

double AircraftModel::nav_track_heading() const {
  const RadioStation& st = nav1_.station;
  double course = st.localizer ? st.course_deg : s_.nav1_obs;
  double off = wrap180(nav1_.radial_mag - course);
  double dev = std::fabs(off) > 90.0 ? wrap180(off + 180.0) : -off;  // the course to the right positive
  double cross_nm = nav1_.distance_nm * std::sin(dev * DEG);
  double track = course + magnetic_variation() + std::clamp(cross_nm * TRACK_GAIN, -30.0, 30.0);
  return wrap360(track + wrap180(s_.heading_true - ground_track_));
}

double AircraftModel::glideslope_angle() const {
  return std::atan2(s_.altitude_ft - nav1_.station.elevation_ft, std::max(nav1_.distance_nm, 0.01) * FT_PER_NM) / DEG;
}

// Heading (true) the lateral mode steers to, or -1 for wings level. Approach hold
// captures the localizer once its deviation is within LOC_CAPTURE_DEG.
double AircraftModel::lateral_target_true() {
  bool engaged = s_.ap_master || s_.flight_director;
  bool localizer = nav1_.receiving && nav1_.station.localizer;
  if (!engaged || !s_.ap_approach_hold || !localizer) loc_captured_ = gs_captured_ = false;
  if (engaged && s_.ap_approach_hold && localizer && !loc_captured_) {
    double off = wrap180(nav1_.radial_mag - nav1_.station.course_deg);
    double dev = std::fabs(off) > 90.0 ? wrap180(off + 180.0) : -off;
    loc_captured_ = std::fabs(off) > 90.0 && std::fabs(dev) < LOC_CAPTURE_DEG;
  }
  if (!engaged) return -1.0;
  if (loc_captured_ || (s_.ap_nav_hold && nav1_.receiving)) return nav_track_heading();
  if (s_.ap_heading_hold) return wrap360(s_.ap_heading + magnetic_variation());
  return -1.0;
}

// Vertical speed the vertical mode asks for. The glideslope is captured within
// GS_CAPTURE_DEG once the localizer is; then it is followed down.
double AircraftModel::vertical_speed_command() {
  bool engaged = s_.ap_master || s_.flight_director;
  if (loc_captured_ && nav1_.station.glideslope && !gs_captured_)
    gs_captured_ = std::fabs(glideslope_angle() - GLIDESLOPE_DEG) < GS_CAPTURE_DEG;
  if (gs_captured_) {
    double slope = std::tan(GLIDESLOPE_DEG * DEG);
    double path_ft = nav1_.station.elevation_ft + nav1_.distance_nm * FT_PER_NM * slope;
    return -ground_speed_kt_ * FT_PER_NM / 60.0 * slope + 3.0 * (path_ft - s_.altitude_ft);
  }
  if (!engaged || !s_.ap_altitude_hold) return s_.vs_fpm;
  // Toward the selected altitude at the selected rate, tapering off near it, down to
  // 200 ft/min.
  double diff = s_.ap_altitude_ft - s_.altitude_ft;
  if (std::fabs(diff) < 1.0) return 0.0;
  double rate = std::min(std::fabs(s_.ap_vs_fpm), std::max(std::fabs(diff) * 6.0, 200.0));
  return diff > 0 ? rate : -rate;
}

void AircraftModel::fly_autopilot(double dt) {
  move_flaps(dt);
  if (s_.on_ground) {
    take_off_run(dt);
    if (s_.on_ground) return;
  }
  double tas = true_airspeed();
  double v = std::max(tas * KT_TO_MS, 1.0);
  bool engaged = s_.ap_master || s_.flight_director;

  // Lateral: a turn rate toward the target heading, the bank for it, rolled into at the
  // roll rate; the command leads the bank.
  double target = lateral_target_true();
  double diff = target >= 0.0 ? wrap180(target - s_.heading_true) : 0.0;
  double bank_cmd = 0.0;
  if (target >= 0.0) {
    double max_rate = std::min(MAX_TURN_RATE, std::tan(MAX_BANK * DEG) * G / v / DEG);
    double rate = std::clamp(diff * 0.5, -max_rate, max_rate);
    bank_cmd = std::clamp(std::atan(v * rate * DEG / G) / DEG, -MAX_BANK, MAX_BANK);
  }
  fd_bank_ = bank_cmd;
  s_.bank_deg += std::clamp(bank_cmd - s_.bank_deg, -ROLL_RATE * dt, ROLL_RATE * dt);
  double turn = std::tan(s_.bank_deg * DEG) * G / v / DEG * dt;
  // Never turn past the target heading.
  if (target >= 0.0 && ((diff >= 0.0 && turn > diff) || (diff <= 0.0 && turn < diff))) turn = diff;
  s_.heading_true = wrap360(s_.heading_true + turn);

  // Vertical: the climb rate changes toward the command at a bounded rate.
  double vs_cmd = vertical_speed_command();
  s_.vs_fpm += std::clamp(vs_cmd - s_.vs_fpm, -VS_CHANGE * dt, VS_CHANGE * dt);
  bool holding = engaged && s_.ap_altitude_hold && !gs_captured_;
  double level_diff = s_.ap_altitude_ft - s_.altitude_ft;
  double climb = s_.vs_fpm * dt / 60.0;
  if (holding && std::fabs(level_diff) < 1.0) {
    climb = level_diff;
    s_.vs_fpm = 0.0;
  } else if (holding && climb * level_diff > 0.0 && std::fabs(climb) > std::fabs(level_diff)) {
    climb = level_diff;  // never past the selected altitude
  }
  s_.altitude_ft += climb;
  if (s_.altitude_ft <= s_.ground_elevation_ft && s_.vs_fpm <= 0.0) {
    s_.altitude_ft = s_.ground_elevation_ft;
    s_.vs_fpm = 0.0;
    s_.on_ground = true;
  }
  double aoa = angle_of_attack();
  s_.pitch_deg = path_angle(s_.vs_fpm, tas) + aoa;
  fd_pitch_ = path_angle(vs_cmd, tas) + aoa;

  // Speed: toward the selected airspeed, or the Mach in Mach hold.
  if (engaged && (s_.ap_airspeed_hold || s_.ap_mach_hold)) {
    double speed = s_.ap_mach_hold ? ias_for_mach(s_.ap_mach, s_.altitude_ft) : s_.ap_airspeed_kt;
    double d = speed - s_.ias_kt;
    double step = d > 0 ? ACCEL_KT_S * dt : DECEL_KT_S * dt;
    s_.ias_kt += std::clamp(d, -step, step);
  }
}

int AircraftModel::marker_beacon() const {
  if (!nav1_.receiving || !nav1_.station.localizer) return 0;
  // Only before the threshold, on the approach side of the station.
  if (std::fabs(wrap180(nav1_.radial_mag - nav1_.station.course_deg - 180.0)) >= 90.0) return 0;
  int heard = 0;
  double nearest = MARKER_RANGE_NM;
  for (int i = 0; i < 3; ++i) {
    double d = std::fabs(nav1_.distance_nm - MARKER_NM[i]);
    if (d <= nearest) {
      nearest = d;
      heard = i + 1;
    }
  }
  return heard;
}

void AircraftModel::integrate_position(double dt) {
  double tas = s_.on_ground ? s_.ias_kt : true_airspeed();
  double north = tas * std::cos(s_.heading_true * DEG);
  double east = tas * std::sin(s_.heading_true * DEG);
  if (!s_.on_ground) {
    // The wind blows from wind_dir.
    north -= s_.wind_speed_kt * std::cos(s_.wind_dir * DEG);
    east -= s_.wind_speed_kt * std::sin(s_.wind_dir * DEG);
  }
  ground_speed_kt_ = std::hypot(north, east);
  ground_track_ = ground_speed_kt_ > 0.01 ? wrap360(std::atan2(east, north) / DEG) : s_.heading_true;
  if (dt > 0.0 && ground_speed_kt_ > 0.0) {
    gc_destination(s_.lat, s_.lon, ground_track_, ground_speed_kt_ * dt / 3600.0, &s_.lat, &s_.lon);
  }
}

void AircraftModel::update_engines(double dt, double ias_delta) {
  double total_flow = 0.0;
  Atmosphere atm = standard_atmosphere(s_.altitude_ft);
  bool fuel = s_.fuel_gallons > 0.0;
  double target;
  if (s_.on_ground) {
    target = ENGINE_IDLE_N1;
  } else {
    // Thrust demand: level flight by true airspeed, more for a climb or acceleration,
    // idle in a descent.
    target = 45.0 + 40.0 * std::min(true_airspeed() / 480.0, 1.2);
    target += std::clamp(s_.vs_fpm / 3000.0, -1.0, 1.0) * 25.0;
    if (dt > 0.0 && ias_delta / dt > 0.5) target += 10.0;
    if (dt > 0.0 && ias_delta / dt < -0.5) target -= 15.0;
    target = std::clamp(target, 30.0, ENGINE_MAX_N1);
  }
  if (!fuel) target = 0.0;
  for (int i = 0; i < MAX_ENGINES; ++i) {
    EngineState& e = s_.engines[i];
    if (i >= s_.engine_count) {
      // An engine not fitted stands still and empty; what the scenario set for it stays.
      const double egt_offset = e.egt_offset_c;
      const bool reverse = e.reverse;
      e = EngineState{};
      e.oil_quarts = 0.0;
      e.egt_offset_c = egt_offset;
      e.reverse = reverse;
      continue;
    }
    total_flow += step_engine(e, target, dt, fuel, atm.pressure_ratio);
  }
  if (dt > 0.0 && s_.fuel_lb_per_gallon > 0.0) {
    s_.fuel_gallons -= total_flow / s_.fuel_lb_per_gallon * dt / 3600.0;
    if (s_.fuel_gallons < 0.0) s_.fuel_gallons = 0.0;
  }
}

void AircraftModel::advance_clock(double dt) {
  s_.zulu_seconds += dt;
  while (s_.zulu_seconds >= 86400.0) {
    s_.zulu_seconds -= 86400.0;
    s_.day_of_year += 1;
    if (s_.day_of_year > days_in_year(s_.year)) {
      s_.day_of_year = 1;
      s_.year += 1;
    }
  }
}

void AircraftModel::move_gear(double dt) {
  if (s_.on_ground) s_.gear_down = true;
  double target = s_.gear_down ? 16383.0 : 0.0;
  double step = 16383.0 / GEAR_TRANSIT_SECONDS * dt;
  s_.gear_position += std::clamp(target - s_.gear_position, -step, step);
}

void AircraftModel::receive(RadioKind kind, double frequency, RadioReception* out) const {
  *out = RadioReception{};
  if (!resolver_ || !s_.avionics_power || frequency <= 0.0) return;
  RadioStation st;
  if (!resolver_(kind, frequency, s_.lat, s_.lon, &st)) return;
  double dist, course;
  gc_distance_course(s_.lat, s_.lon, st.lat, st.lon, &dist, &course);
  if (st.range_nm > 0.0 && dist > st.range_nm) return;
  out->receiving = true;
  out->station = st;
  out->distance_nm = dist;
  out->bearing_to_true = course;
  out->radial_mag = wrap360(course + 180.0 - magnetic_variation());
}

void AircraftModel::update_radios() {
  receive(RadioKind::Nav, s_.nav1_mhz, &nav1_);
  receive(RadioKind::Nav, s_.nav2_mhz, &nav2_);
  receive(RadioKind::Adf, s_.adf_khz, &adf_);
}

bool AircraftModel::apply_key_event(int32_t id, int32_t param) {
  switch (id) {
    case KEY_AP_HEADING_SET:
      s_.ap_heading = wrap360(param);
      return true;
    case KEY_AP_ALTITUDE_SET:
      if (param < -2000 || param > 100000) return false;
      s_.ap_altitude_ft = param;
      return true;
    case KEY_AP_VS_SET:
      if (param < -10000 || param > 10000) return false;
      s_.ap_vs_fpm = param;
      return true;
    case KEY_AP_AIRSPEED_SET:
      if (param < 0 || param > 999) return false;
      s_.ap_airspeed_kt = param;
      return true;
    case KEY_AP_MACH_SET:
      if (param < 0 || param > 500) return false;
      s_.ap_mach = param / 100.0;
      return true;
    case KEY_AP_MACH_HOLD_A:  // airspeed hold gives way to Mach hold
      s_.ap_airspeed_hold = false;
      return true;
    case KEY_AP_MACH_HOLD_B:
      if (!s_.ap_mach_hold) s_.ap_mach = std::round(mach() * 100.0) / 100.0;
      s_.ap_mach_hold = true;
      s_.ap_airspeed_hold = false;
      return true;
    case KEY_AP_SPEED_HOLD_A:  // Mach hold gives way to airspeed hold
      s_.ap_mach_hold = false;
      return true;
    case KEY_AP_SPEED_HOLD_B:
      if (!s_.ap_airspeed_hold) s_.ap_airspeed_kt = std::round(s_.ias_kt);
      s_.ap_airspeed_hold = true;
      s_.ap_mach_hold = false;
      return true;
    case KEY_AP_AIRSPEED_HOLD_OFF:
      s_.ap_airspeed_hold = false;
      return true;
    case KEY_AP_HEADING_HOLD_ON:
      s_.ap_heading_hold = true;
      return true;
    case KEY_PAUSE_TOGGLE:
      s_.paused = !s_.paused;
      return true;
    case KEY_SIM_RATE_DECREASE:
      if (s_.sim_rate > 1.0) s_.sim_rate = std::max(1.0, s_.sim_rate / 2.0);
      else if (s_.sim_rate < 1.0) s_.sim_rate = std::min(1.0, s_.sim_rate * 2.0);
      return true;
    case KEY_BAROMETRIC:
      s_.altimeter_hpa = s_.sea_level_hpa;
      return true;
    case KEY_NAV1_RADIO_SET: {
      // Four digits are hundredths above 100 MHz; five digits carry the leading 1.
      int64_t v = bcd_to_int(param);
      if (v <= 0 || v > 99999) return false;
      double mhz = v >= 10000 ? v / 100.0 : 100.0 + v / 100.0;
      if (mhz < 108.0 || mhz > 118.0) return false;
      s_.nav1_mhz = mhz;
      update_radios();
      return true;
    }
    case KEY_ADF_SET: {
      int64_t v = bcd_to_int(param);
      if (v < 100 || v > 1799) return false;
      s_.adf_khz = static_cast<double>(v);
      update_radios();
      return true;
    }
    case KEY_VOR1_OBS_SET:
      s_.nav1_obs = wrap360(param);
      return true;
    default:
      return false;
  }
}

double AircraftModel::token_value(int32_t id) const {
  const EngineState* e = s_.engines;
  auto nav_bearing_raw = [](double deg) {
    // degrees = raw * 360 / 16384 + 180
    return std::round(wrap180(deg - 180.0) * 16384.0 / 360.0);
  };
  auto bcd_nav = [](double mhz) {
    return static_cast<double>(int_to_bcd(std::llround((mhz - 100.0) * 100.0)));
  };
  double tas = true_airspeed();
  double magvar = magnetic_variation();
  double local = local_seconds();
  switch (id) {
    case TOK_TICK_COUNTER: return 0.0;  // served by the host
    case TOK_LOCAL_HOUR: return std::floor(local / 3600.0);
    case TOK_LOCAL_MINUTE: return std::floor(std::fmod(local, 3600.0) / 60.0);
    case TOK_LOCAL_SECOND: return std::floor(std::fmod(local, 60.0));
    case TOK_ZULU_HOUR: return std::floor(s_.zulu_seconds / 3600.0);
    case TOK_ZULU_MINUTE: return std::floor(std::fmod(s_.zulu_seconds, 3600.0) / 60.0);
    case TOK_ZULU_SECOND: return std::floor(std::fmod(s_.zulu_seconds, 60.0));
    case TOK_ZULU_DAY_OF_YEAR: return s_.day_of_year;
    case TOK_ZULU_YEAR: return s_.year;
    case TOK_LOCAL_DAY_OF_YEAR: return local_day_of_year();

    case TOK_ADF_FREQ: return static_cast<double>(int_to_bcd(std::llround(s_.adf_khz)));
    case TOK_ADF_SIGNAL:
    case TOK_ADF_BEARING:
    case TOK_ADF_NEEDLE: {
      if (!adf_.receiving) return 0.0;
      double rel = wrap360(adf_.bearing_to_true - s_.heading_true);
      return rel < 0.5 ? 360.0 : rel;  // above 0 while receiving
    }
    case TOK_NAV1_FREQ: return bcd_nav(s_.nav1_mhz);
    case TOK_NAV2_FREQ: return bcd_nav(s_.nav2_mhz);
    case TOK_VOR1_BEARING: return nav1_.receiving ? nav_bearing_raw(nav1_.radial_mag) : 0.0;
    case TOK_VOR2_BEARING: return nav2_.receiving ? nav_bearing_raw(nav2_.radial_mag) : 0.0;
    case TOK_DME1_DISTANCE: return nav1_.receiving ? nav1_.distance_nm : 0.0;
    case TOK_DME2_DISTANCE: return nav2_.receiving ? nav2_.distance_nm : 0.0;
    case TOK_NAV_REL_BEARING:
      return nav1_.receiving ? wrap360(nav1_.bearing_to_true - s_.heading_true) : 0.0;
    case TOK_NAV59:  // NAV 2's relative bearing, as 550 is NAV 1's
      return nav2_.receiving ? wrap360(nav2_.bearing_to_true - s_.heading_true) : 0.0;
    case TOK_NAV35: return nav2_.receiving ? nav2_.distance_nm : 0.0;  // NAV 2's DME
    case TOK_NAV1_DEVIATION: {
      if (!nav1_.receiving) return 0.0;
      double course = nav1_.station.localizer ? nav1_.station.course_deg : s_.nav1_obs;
      // Positive: the course lies to the right of an aircraft flying the course.
      double off = wrap180(nav1_.radial_mag - course);
      double dev = std::fabs(off) > 90.0 ? wrap180(off + 180.0) : -off;
      double full = nav1_.station.localizer ? 2.5 : 10.0;
      return std::clamp(dev / full * 127.0, -127.0, 127.0);
    }
    case TOK_GLIDESLOPE_DEVIATION: {
      if (!nav1_.receiving || !nav1_.station.glideslope || nav1_.distance_nm <= 0.0) return 0.0;
      // Negative below the path: the displays draw the glideslope above the aircraft.
      return std::clamp((glideslope_angle() - GLIDESLOPE_DEG) / 0.7 * 127.0, -127.0, 127.0);
    }
    case TOK_NAV1_COURSE: return s_.nav1_obs;
    case TOK_NAV1_FLAGS: {
      if (!nav1_.receiving) return 0x08;  // no usable signal
      int flags = 0;
      if (nav1_.station.glideslope) flags |= 0x40;
      if (nav1_.station.localizer) flags |= 0x80;
      return flags;
    }
    case TOK_NAV1_SIGNAL: return nav1_.receiving ? 1.0 : 0.0;
    case TOK_NAV2_SIGNAL: return nav2_.receiving ? 1.0 : 0.0;
    case TOK_GLIDESLOPE_GATE: return (nav1_.receiving && nav1_.station.glideslope) ? 1.0 : 0.0;
    case TOK_MARKER_BEACON: return marker_beacon();
    case TOK_349: {
      // (37 + 3m) x 25000 / 80 for an angle-of-attack margin of m degrees.
      double margin = std::max(0.0, STALL_AOA - angle_of_attack());
      return (37.0 + 3.0 * margin) * 25000.0 / 80.0;
    }
    case TOK_342:
      return ENGINE_PRESSURE_SCALE;

    case TOK_ON_GROUND: return s_.on_ground ? 1.0 : 0.0;
    case TOK_INDICATED_AIRSPEED: return s_.ias_kt;
    case TOK_BARBER_POLE:
      return std::min(s_.vmo_kt, ias_for_mach(s_.mmo, s_.altitude_ft)) * 128.0;
    case TOK_MACH: return mach() * 65536.0 / 3.2;
    case TOK_VERTICAL_SPEED: return s_.vs_fpm * 1.30048;
    case TOK_SIDESLIP: return 0.0;
    case TOK_LATITUDE: return s_.lat * 111130.555557;
    case TOK_LONGITUDE: return s_.lon * 781874935307.4;
    case TOK_ALTIMETER_HPA: return s_.altimeter_hpa;
    // The simulator's attitude: nose down and left wing down positive.
    case TOK_PITCH: return -s_.pitch_deg;
    case TOK_BANK: case TOK_BANK_V9: return -s_.bank_deg;
    // The compass value (magnetic) the displays show; the maps turn by the true heading.
    case TOK_HEADING: return wrap360(s_.heading_true - magvar);
    case TOK_MAGVAR: return magvar;
    case TOK_MAP_HEADING: return s_.heading_true;

    case TOK_AP_MASTER: return s_.ap_master ? 1.0 : 0.0;
    case TOK_NAV_GPS_SWITCH: return s_.ap_nav_hold ? 1.0 : 0.0;
    case TOK_AP_HEADING_HOLD:
      return s_.ap_heading_hold && !loc_captured_ && !(s_.ap_nav_hold && nav1_.receiving) ? 1.0 : 0.0;
    case TOK_AP_HEADING: return s_.ap_heading;
    case TOK_AP_VS_HOLD:  // the altitude mode, capturing or level
      return (s_.ap_master || s_.flight_director) && s_.ap_altitude_hold && !gs_captured_ ? 1.0 : 0.0;
    case TOK_AP_ALTITUDE_HOLD: return 0.0;  // back-course hold: never flown
    case TOK_AP_112: return s_.ap_approach_hold ? 1.0 : 0.0;
    case TOK_AP_114: return s_.yaw_damper ? 1.0 : 0.0;
    case TOK_AP_AIRSPEED_HOLD: return s_.ap_airspeed_hold ? 1.0 : 0.0;
    case TOK_AP_AIRSPEED: return s_.ap_airspeed_kt;
    case TOK_AP_MACH_HOLD: return s_.ap_mach_hold ? 1.0 : 0.0;
    case TOK_AP_MACH: return s_.ap_mach;
    case TOK_AP_VERTICAL_SPEED: {  // signed toward the selected altitude, 0 once captured
      double diff = s_.ap_altitude_ft - s_.altitude_ft;
      if (gs_captured_ || (s_.ap_altitude_hold && std::fabs(diff) < 1.0)) return 0.0;
      if (!s_.ap_altitude_hold) return s_.ap_vs_fpm;
      return diff > 0 ? std::fabs(s_.ap_vs_fpm) : -std::fabs(s_.ap_vs_fpm);
    }
    case TOK_AUTOTHROTTLE_ARM: return s_.autothrottle_arm ? 1.0 : 0.0;
    case TOK_AP_ATTITUDE_HOLD: return 0.0;
    case TOK_AP_GLIDESLOPE_HOLD: return gs_captured_ ? 1.0 : 0.0;
    case TOK_AP_LOC_HOLD: return loc_captured_ ? 1.0 : 0.0;
    case TOK_AP_APPROACH_HOLD: return s_.ap_approach_hold ? 1.0 : 0.0;

    case TOK_ENG1_THROTTLE: return engine_lever_value(e[0]);
    case TOK_ENG2_THROTTLE: return engine_lever_value(e[1]);
    case TOK_ENG3_THROTTLE: return engine_lever_value(e[2]);
    case TOK_ENG4_THROTTLE: return engine_lever_value(e[3]);
    case TOK_ENG1_OIL_QUANTITY: return std::round(e[0].oil_quarts * 16384.0 / 30.0);
    case TOK_ENG2_OIL_QUANTITY: return std::round(e[1].oil_quarts * 16384.0 / 30.0);
    case TOK_ENG3_OIL_QUANTITY: return std::round(e[2].oil_quarts * 16384.0 / 30.0);
    case TOK_ENG4_OIL_QUANTITY: return std::round(e[3].oil_quarts * 16384.0 / 30.0);
    case TOK_FUEL_WEIGHT_PER_GALLON: return s_.fuel_lb_per_gallon;
    case TOK_FLIGHT_LOG_ACTIVE: return 1.0;
    case TOK_SIM_RATE: return s_.sim_rate;
    case TOK_SAT: return standard_atmosphere(s_.altitude_ft).temp_k - 273.15;
    case TOK_TOTAL_AIR_TEMP: {
      double sat_k = standard_atmosphere(s_.altitude_ft).temp_k;
      double m = mach();
      return (sat_k * (1.0 + 0.2 * m * m) - 273.15) * 256.0;
    }
    case TOK_WIND_SPEED: return s_.wind_speed_kt;
    case TOK_WIND_DIRECTION: return s_.wind_dir;
    case TOK_TOTAL_FUEL: return s_.fuel_gallons;
    case TOK_ENG1_FUEL_FLOW: case TOK_ENG1_FUEL_FLOW_ALT: return e[0].fuel_flow_pph;
    case TOK_ENG2_FUEL_FLOW: case TOK_ENG2_FUEL_FLOW_ALT: return e[1].fuel_flow_pph;
    case TOK_ENG3_FUEL_FLOW: case TOK_ENG3_FUEL_FLOW_ALT: return e[2].fuel_flow_pph;
    case TOK_ENG4_FUEL_FLOW: case TOK_ENG4_FUEL_FLOW_ALT: return e[3].fuel_flow_pph;
    case TOK_GROUND_SPEED: return ground_speed_kt_ * 1.68781;
    case TOK_ENG1_OIL_TEMP: return c_to_rankine(e[0].oil_temp_c);
    case TOK_ENG2_OIL_TEMP: return c_to_rankine(e[1].oil_temp_c);
    case TOK_ENG3_OIL_TEMP: return c_to_rankine(e[2].oil_temp_c);
    case TOK_ENG4_OIL_TEMP: return c_to_rankine(e[3].oil_temp_c);
    case TOK_ENG1_OIL_PRESSURE: return e[0].oil_pressure_psi * 144.0;
    case TOK_ENG2_OIL_PRESSURE: return e[1].oil_pressure_psi * 144.0;
    case TOK_ENG3_OIL_PRESSURE: return e[2].oil_pressure_psi * 144.0;
    case TOK_ENG4_OIL_PRESSURE: return e[3].oil_pressure_psi * 144.0;
    case TOK_ENG1_EGT: return c_to_rankine(e[0].egt_c);
    case TOK_ENG2_EGT: return c_to_rankine(e[1].egt_c);
    case TOK_ENG3_EGT: return c_to_rankine(e[2].egt_c);
    case TOK_ENG4_EGT: return c_to_rankine(e[3].egt_c);
    case TOK_RADIO_ALTITUDE: return radio_altitude_ft() * 0.3048;
    case TOK_ENG1_N1: return e[0].n1;
    case TOK_ENG2_N1: return e[1].n1;
    case TOK_ENG3_N1: return e[2].n1;
    case TOK_ENG4_N1: return e[3].n1;
    case TOK_ENG1_N2: return e[0].n2;
    case TOK_ENG2_N2: return e[1].n2;
    case TOK_ENG3_N2: return e[2].n2;
    case TOK_ENG4_N2: return e[3].n2;
    case TOK_ENG1_PRESSURE_RATIO: return engine_pressure_value(e[0], 0);
    case TOK_ENG2_PRESSURE_RATIO: return engine_pressure_value(e[1], 1);
    case TOK_ENG3_PRESSURE_RATIO: return engine_pressure_value(e[2], 2);
    case TOK_ENG4_PRESSURE_RATIO: return engine_pressure_value(e[3], 3);

    case TOK_AVIONICS_POWER: return s_.avionics_power ? 1.0 : 0.0;
    case TOK_FD_ACTIVE: return s_.flight_director ? 1.0 : 0.0;
    // The commands in the attitude's signs: left wing down and nose down positive.
    case TOK_FD_BANK: return s_.flight_director ? -fd_bank_ : 0.0;
    case TOK_FD_PITCH: return s_.flight_director ? -fd_pitch_ : 0.0;
    case TOK_FLAPS_POSITION: return s_.flaps_deg;
    case TOK_FLAPS_HANDLE: return flap_handle_value(s_.flaps_target_deg);
    case TOK_FLAPS_LEFT_PERCENT: case TOK_FLAPS_RIGHT_PERCENT: return s_.flaps_deg / MAX_FLAPS * 100.0;
    case TOK_LE_FLAPS_LEFT_ANGLE: return s_.leading_edge_deg;
    case TOK_SLATS_PERCENT: return s_.slats_percent;
    case TOK_G_FORCE: return 1.0 / std::cos(s_.bank_deg * DEG);
    case TOK_GEAR_NOSE: case TOK_GEAR_LEFT: case TOK_GEAR_RIGHT:
      return std::round(s_.gear_position);
    case TOK_STALL_WARNING: return (!s_.on_ground && s_.ias_kt < s_.vs1_kt) ? 1.0 : 0.0;
    case TOK_OVERSPEED_WARNING:
      return s_.ias_kt > std::min(s_.vmo_kt, ias_for_mach(s_.mmo, s_.altitude_ft)) ? 1.0 : 0.0;
    case TOK_RUDDER_POSITION: return s_.rudder_deg * DEG;
    case TOK_RUDDER_TRIM: return s_.rudder_trim_deg * DEG;
    case TOK_ELEVATOR_POSITION: return s_.elevator_deg * DEG;
    case TOK_ELEVATOR_TRIM: return s_.elevator_trim_deg * DEG;
    case TOK_AILERON_POSITION: return s_.aileron_deg * DEG;
    case TOK_AILERON_TRIM: return s_.aileron_trim_deg * DEG;
    case TOK_SPOILERS_ARMED: return s_.spoilers_armed;
    case TOK_SPOILERS_POSITION: return s_.spoilers_position;
    default:
      (void)tas;
      return 0.0;
  }
}

const char* AircraftModel::token_text(int32_t id) const {
  switch (id) {
    case TOK_ADF_IDENT: return adf_.receiving ? adf_.station.ident.c_str() : "";
    case TOK_NAV1_IDENT: return nav1_.receiving ? nav1_.station.ident.c_str() : "";
    case TOK_NAV2_IDENT: return nav2_.receiving ? nav2_.station.ident.c_str() : "";
    default: return nullptr;
  }
}

void AircraftModel::read_token(TokenVar* var) const {
  if (!var) return;
  if (const char* text = token_text(var->id)) {
    var->text = text;
    return;
  }
  var->value = token_value(var->id);
}

bool AircraftModel::calculator_code(const char* code, double* result) const {
  double value = 0.0;
  bool known = true;
  std::string c = code ? squeeze_code(code) : std::string();
  if (c == "(A:INDICATEDALTITUDE,FEET)") {
    value = indicated_altitude_ft();
  } else if (c == "(A:AUTOPILOTALTITUDELOCKVAR,FEET)") {
    value = s_.ap_altitude_ft;
  } else if (c == "(P:TIMEOFDAY)") {
    // 0 dawn, 1 day, 2 dusk, 3 night, by the local clock.
    double hour = local_seconds() / 3600.0;
    value = hour >= 5.0 && hour < 7.0 ? 0.0 : hour >= 7.0 && hour < 18.0 ? 1.0 : hour >= 18.0 && hour < 20.0 ? 2.0 : 3.0;
  } else if (c == "(A:DECISIONHEIGHT,FEET)") {
    value = s_.decision_height_ft;
  } else if (c == "(A:DESIGNSPEEDVS0,KNOTS)") {
    value = s_.vs0_kt;
  } else if (c == "(A:DESIGNSPEEDVS1,KNOTS)") {
    value = s_.vs1_kt;
  } else {
    known = false;
  }
  if (result) *result = value;
  return known;
}

}  // namespace simhost
