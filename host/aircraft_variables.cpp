// What the gauges read from and send to the aircraft model: key events, numbered
// variables and calculator codes.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

#include "host/aircraft_math.h"
#include "host/aircraft_model.h"
#include "platform/host/gauge_host.h"
#include "platform/host/sim_token_ids.h"

namespace simhost {

namespace {

// The flap handle's detents UP, 1/2, 3/4 and FULL: the largest flap angle each selects.
constexpr double FLAP_DETENT_DEG[4] = {0.0, 20.0, 30.0, MAX_FLAPS};
constexpr double STALL_AOA = 14.0;           // degrees

double c_to_rankine(double c) { return c * 9.0 / 5.0 + 491.67; }

// The handle stands in the detent of the flaps selected, served as 0, a third, two
// thirds or all of 16384.
double flap_handle_value(double selected_deg) {
  int detent = 3;
  while (detent > 0 && selected_deg <= FLAP_DETENT_DEG[detent - 1]) --detent;
  return std::round(detent * 16384.0 / 3.0);
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
