// The aircraft model's flight: atmosphere, take-off run, autopilot modes, engines, clock,
// gear, flaps and radios; what the gauges read and send is in aircraft_variables.cpp.
#include "host/aircraft_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "geo/magnetic_model.h"
#include "host/aircraft_math.h"

namespace simhost {

namespace {

constexpr double G = 9.80665;
constexpr double KT_TO_MS = 0.514444;
constexpr double MAX_TURN_RATE = 3.0;  // degrees per second, standard rate
constexpr double MAX_BANK = 25.0;
constexpr double ACCEL_KT_S = 2.0;
constexpr double DECEL_KT_S = 1.5;
constexpr double ROLL_RATE = 5.0;            // degrees per second
constexpr double VS_CHANGE = 400.0;          // ft/min per second
constexpr double ROTATE_RATE = 3.0;          // degrees per second
constexpr double TAKEOFF_ACCEL_KT_S = 4.0;   // at take-off thrust; reverse thrust slows as much
constexpr double ROLL_DECEL_KT_S = 0.6;      // rolling and air drag less idle thrust, on the ground
constexpr double BRAKE_DECEL_KT_S = 5.0;     // the wheel brakes' own
constexpr double TAKEOFF_THRUST_FT = 1000.0;  // above the ground, climbing
constexpr double IDLE_GLIDE_RATIO = 20.0;    // a descent this shallow (feet flown per foot down) needs no thrust
constexpr double FLAPS_RATE = 2.0;           // degrees per second
constexpr double FT_PER_NM = 6076.12;
constexpr double LOC_CAPTURE_DEG = 2.0;      // localizer deviation at capture
constexpr double GS_CAPTURE_DEG = 0.15;      // glideslope deviation at capture
constexpr double TRACK_GAIN = 45.0;          // degrees of intercept per NM off the course
constexpr double MARKER_NM[3] = {4.5, 0.6, 0.15};  // outer, middle, inner, before the threshold
constexpr double MARKER_RANGE_NM = 0.3;

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
  const double at[4] = {s_.lat, s_.lon, s_.altitude_ft, decimal_year()};
  Declination& d = declination_;
  if (std::memcmp(at, d.at, sizeof at) != 0) {  // told apart by their bits, as computed
    std::memcpy(d.at, at, sizeof at);
    d.value = magnetic_declination(at[0], at[1], at[2], at[3]);
  }
  return d.value;
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

bool AircraftModel::any_reverse() const {
  for (int i = 0; i < s_.engine_count && i < MAX_ENGINES; ++i)
    if (s_.engines[i].reverse) return true;
  return false;
}

bool AircraftModel::take_off_armed() const {
  return s_.on_ground && s_.flight_director && s_.ap_airspeed_kt > 1.1 * s_.vs1_kt && !any_reverse();
}

double AircraftModel::net_thrust() const {
  const int n = std::clamp(s_.engine_count, 1, MAX_ENGINES);
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum += s_.engines[i].thrust;
  return sum / n;
}

// On the ground, short of take-off thrust, rolling drag, the brakes and reverse thrust
// slow the aircraft to a stop.
// With the flight director on and a selected speed above 1.1 VS1 it takes off: the
// engines' thrust accelerates it to that speed, it rotates and lifts off once the pitch
// gives the wing its angle of attack.
void AircraftModel::take_off_run(double dt) {
  s_.vs_fpm = 0.0;
  s_.bank_deg = 0.0;
  fd_bank_ = 0.0;
  loc_captured_ = gs_captured_ = false;
  const double thrust = net_thrust();
  if (!take_off_armed()) {
    s_.pitch_deg = 0.0;
    fd_pitch_ = 0.0;
    double decel = ROLL_DECEL_KT_S + (s_.brakes ? BRAKE_DECEL_KT_S : 0.0);
    if (thrust < 0.0) decel -= TAKEOFF_ACCEL_KT_S * thrust;
    s_.ias_kt = std::max(0.0, s_.ias_kt - decel * dt);
    return;
  }
  // The attitude after rotation, at the selected speed: the cue is met once the
  // aircraft follows it.
  fd_pitch_ = path_angle(std::fabs(s_.ap_vs_fpm), s_.ap_airspeed_kt) + angle_of_attack_at(s_.ap_airspeed_kt);
  if (s_.ias_kt < s_.ap_airspeed_kt) {
    s_.ias_kt = std::min(s_.ap_airspeed_kt, s_.ias_kt + TAKEOFF_ACCEL_KT_S * std::max(thrust, 0.0) * dt);
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
    target = take_off_armed() ? ENGINE_MAX_POWER : ENGINE_IDLE_POWER;
  } else {
    // Thrust demand: level flight by true airspeed, more for a climb or acceleration; a
    // descent needs less, down to idle once it is as steep as the aircraft glides.
    const double tas = true_airspeed();
    target = 45.0 + 40.0 * std::min(tas / 480.0, 1.2);
    if (s_.vs_fpm > 0.0) {
      target += std::min(s_.vs_fpm / 3000.0, 1.0) * 25.0;
    } else {
      const double descent = -s_.vs_fpm / (std::max(tas, 1.0) * FT_PER_NM / 60.0);  // feet down per foot flown
      target = ENGINE_IDLE_POWER + (target - ENGINE_IDLE_POWER) * (1.0 - IDLE_GLIDE_RATIO * descent);
    }
    if (dt > 0.0 && ias_delta / dt > 0.5) target += 10.0;
    if (dt > 0.0 && ias_delta / dt < -0.5) target -= 15.0;
    // Climbing away from the runway (or going around), take-off thrust up to 1,000 ft.
    if (s_.vs_fpm > 0.0 && radio_altitude_ft() < TAKEOFF_THRUST_FT) target = ENGINE_MAX_POWER;
    target = std::clamp(target, ENGINE_IDLE_POWER, ENGINE_MAX_POWER);
  }
  for (int i = 0; i < MAX_ENGINES; ++i) {
    EngineState& e = s_.engines[i];
    if (i >= s_.engine_count) {
      // An engine not fitted stands still and empty; what the scenario set for it stays.
      const double egt_offset = e.egt_offset_c;
      const bool reverse = e.reverse, fuel_off = e.fuel_off;
      e = EngineState{};
      e.oil_quarts = 0.0;
      e.egt_offset_c = egt_offset;
      e.reverse = reverse;
      e.fuel_off = fuel_off;
      continue;
    }
    // The reversers deploy on the ground only: in the air a lever in reverse idles.
    const double demand = !e.reverse ? target : s_.on_ground ? ENGINE_REVERSE_POWER : ENGINE_IDLE_POWER;
    const bool fed = fuel && !e.fuel_off;
    total_flow += step_engine(e, fed ? demand : 0.0, dt, fed, atm.pressure_ratio);
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

}  // namespace simhost
