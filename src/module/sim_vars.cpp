#include "module/sim_vars.h"

#include <cmath>
#include <cstdlib>

#include "module/host_services.h"
#include "platform/host/sim_token_ids.h"

double read_token(int32_t id) { return host_token_value(id); }

namespace {

double tok(int32_t id) { return host_token_value(id); }

// Digits of a packed decimal (hex-coded) value read as a decimal number.
double bcd_to_decimal(double raw) {
  if (!std::isfinite(raw) || raw < 0 || raw > 4294967295.0) return 0.0;
  uint64_t v = static_cast<uint64_t>(raw);
  double result = 0.0;
  double scale = 1.0;
  while (v) {
    result += static_cast<double>(v & 0xF) * scale;
    scale *= 10.0;
    v >>= 4;
  }
  return result;
}

double rankine_to_celsius(double r) { return (r - 491.69) * 5.0 / 9.0; }

double wrap_degrees_pm180(double d) {
  if (!std::isfinite(d)) return 0.0;
  d = std::fmod(d, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d < -180.0) d += 360.0;
  return d;
}

double vor_bearing(int32_t id) {
  double b = tok(id) * 360.0 / 16384.0 + 180.0;
  if (b >= 360.0) b -= 360.0;
  return b;
}

int32_t nav1_flag(int32_t bit) {
  double v = tok(TOK_NAV1_FLAGS);
  if (!std::isfinite(v) || v < 0 || v > 4294967295.0) return 0;
  return (static_cast<uint32_t>(v) & static_cast<uint32_t>(bit)) ? 1 : 0;
}

// Engine 1..4 variable from four ids; 0 for another engine number.
double engine_token(int32_t engine, int32_t a, int32_t b, int32_t c, int32_t d) {
  switch (engine) {
    case 1: return tok(a);
    case 2: return tok(b);
    case 3: return tok(c);
    case 4: return tok(d);
    default: return 0.0;
  }
}

}  // namespace

double get_tick_counter() { return tok(TOK_TICK_COUNTER); }
double get_local_hour() { return tok(TOK_LOCAL_HOUR); }
double get_local_minute() { return tok(TOK_LOCAL_MINUTE); }
double get_local_second() { return tok(TOK_LOCAL_SECOND); }
double get_zulu_hour() { return tok(TOK_ZULU_HOUR); }
double get_zulu_minute() { return tok(TOK_ZULU_MINUTE); }
double get_zulu_day_of_year() { return tok(TOK_ZULU_DAY_OF_YEAR); }
double get_zulu_year() { return tok(TOK_ZULU_YEAR); }

double get_latitude_deg() { return tok(TOK_LATITUDE) / 111130.555557; }
double get_longitude_deg() { return wrap_degrees_pm180(tok(TOK_LONGITUDE) / 781874935307.4); }
double get_heading_deg() { return tok(TOK_HEADING); }
double get_magvar_deg() { return tok(TOK_MAGVAR); }
double get_map_heading_deg() { return tok(TOK_MAP_HEADING); }
double get_pitch_deg() { return tok(TOK_PITCH); }
double get_bank_deg(int32_t sim_version) {
  double b = tok(sim_version == 9 ? TOK_BANK_V9 : TOK_BANK);
  return std::fabs(b) < 0.035 ? 0.0 : b;
}
double get_indicated_airspeed() { return tok(TOK_INDICATED_AIRSPEED); }
double get_mach_raw() { return tok(TOK_MACH); }
double get_mach() { return tok(TOK_MACH) / 65536.0 * 3.2; }
double get_barber_pole_speed_raw() { return tok(TOK_BARBER_POLE); }
double get_vertical_speed_fpm() { return tok(TOK_VERTICAL_SPEED) / 1.30048; }
double get_ground_speed_kt() { return tok(TOK_GROUND_SPEED) / 1.68781; }
double get_radio_altitude_ft() { return tok(TOK_RADIO_ALTITUDE) * 3.2808399; }
double get_on_ground() { return tok(TOK_ON_GROUND); }
double get_altimeter_hpa() { return tok(TOK_ALTIMETER_HPA); }
double get_baro_inhg() { return tok(TOK_ALTIMETER_HPA) / 1013.25 * 29.92; }
double get_wind_speed_kt() { return tok(TOK_WIND_SPEED); }
double get_wind_direction_deg() { return tok(TOK_WIND_DIRECTION); }
double get_total_air_temperature_raw() { return tok(TOK_TOTAL_AIR_TEMP); }
double get_total_air_temperature_c() { return get_total_air_temperature_raw() / 256.0; }
double get_g_force() { return tok(TOK_G_FORCE); }
double get_token_69() { return tok(TOK_SIDESLIP); }
double get_token_341() { return tok(TOK_SAT); }
double get_token_342() { return tok(TOK_342); }
double get_token_349() { return tok(TOK_349); }
double get_token_852() { return tok(TOK_GLIDESLOPE_GATE); }
double get_sim_rate(int32_t sim_version) {
  double r = tok(TOK_SIM_RATE);
  return sim_version == 10 ? r / 256.0 : r;
}
double get_avionics_power() { return tok(TOK_AVIONICS_POWER); }
double get_flight_log_active() { return tok(TOK_FLIGHT_LOG_ACTIVE); }

double get_indicated_altitude_ft() { return host_exec_calculator_code("(A:INDICATED ALTITUDE, feet)"); }
double get_ap_altitude_lock_ft() { return host_exec_calculator_code("(A:AUTOPILOT ALTITUDE LOCK VAR, feet)"); }
double get_decision_height() { return host_exec_calculator_code("(A:DECISION HEIGHT,FEET)"); }
double get_design_speed_vs0() { return host_exec_calculator_code("(A:Design Speed VS0, knots)"); }
double get_design_speed_vs1() { return host_exec_calculator_code("(A:Design Speed VS1, knots)"); }

double get_ap_master() { return tok(TOK_AP_MASTER); }
double get_nav_gps_switch() { return tok(TOK_NAV_GPS_SWITCH); }
double get_ap_heading_hold() { return tok(TOK_AP_HEADING_HOLD); }
double get_ap_heading() { return tok(TOK_AP_HEADING); }
double get_ap_vs_hold() { return tok(TOK_AP_VS_HOLD); }
double get_ap_altitude_hold() { return tok(TOK_AP_ALTITUDE_HOLD); }
double get_ap_airspeed_hold() { return tok(TOK_AP_AIRSPEED_HOLD); }
double get_ap_airspeed() { return tok(TOK_AP_AIRSPEED); }
double get_ap_mach_hold() { return tok(TOK_AP_MACH_HOLD); }
double get_ap_mach_hold_var() { return tok(TOK_AP_MACH); }
double get_ap_vertical_speed() { return tok(TOK_AP_VERTICAL_SPEED); }
double get_autothrottle_arm() { return tok(TOK_AUTOTHROTTLE_ARM); }
double get_ap_attitude_hold() { return tok(TOK_AP_ATTITUDE_HOLD); }
double get_ap_glideslope_hold() { return tok(TOK_AP_GLIDESLOPE_HOLD); }
double get_ap_loc_hold_on() { return tok(TOK_AP_LOC_HOLD); }
double get_ap_approach_hold() { return tok(TOK_AP_APPROACH_HOLD); }
double get_flight_director_active() { return tok(TOK_FD_ACTIVE); }
double get_fd_bank() { return tok(TOK_FD_BANK); }
double get_fd_pitch() { return tok(TOK_FD_PITCH); }

double get_nav1_frequency_mhz() { return bcd_to_decimal(tok(TOK_NAV1_FREQ)) / 100.0 + 100.0; }
double get_nav2_frequency_mhz() { return bcd_to_decimal(tok(TOK_NAV2_FREQ)) / 100.0 + 100.0; }
double get_adf_frequency_khz() { return bcd_to_decimal(tok(TOK_ADF_FREQ)); }
const char* get_nav1_ident() { return host_token_text(TOK_NAV1_IDENT); }
const char* get_nav2_ident() { return host_token_text(TOK_NAV2_IDENT); }
const char* get_adf_ident() { return host_token_text(TOK_ADF_IDENT); }
double get_nav1_signal() { return tok(TOK_NAV1_SIGNAL); }
double get_nav2_signal() { return tok(TOK_NAV2_SIGNAL); }
double get_adf_signal() { return tok(TOK_ADF_SIGNAL); }
double get_vor1_bearing() { return vor_bearing(TOK_VOR1_BEARING); }
double get_vor2_bearing() { return vor_bearing(TOK_VOR2_BEARING); }
double get_dme1_distance() { return tok(TOK_DME1_DISTANCE); }
double get_dme2_distance() { return tok(TOK_DME2_DISTANCE); }
double get_nav1_deviation() { return tok(TOK_NAV1_DEVIATION); }
double get_glideslope_deviation() { return tok(TOK_GLIDESLOPE_DEVIATION); }
double get_nav1_course() { return tok(TOK_NAV1_COURSE); }
int32_t get_nav1_code_bit3() { return nav1_flag(0x08); }
int32_t is_nav1_backcourse() { return nav1_flag(0x20); }
int32_t has_nav1_glideslope() { return nav1_flag(0x40); }
int32_t is_nav1_localizer() { return nav1_flag(0x80); }
double get_marker_beacon() { return tok(TOK_MARKER_BEACON); }

double get_eng_fuel_flow(int32_t engine) {
  double flow = engine_token(engine, TOK_ENG1_FUEL_FLOW, TOK_ENG2_FUEL_FLOW, TOK_ENG3_FUEL_FLOW, TOK_ENG4_FUEL_FLOW);
  if (flow > 0.0) return flow;
  return engine_token(engine, TOK_ENG1_FUEL_FLOW_ALT, TOK_ENG2_FUEL_FLOW_ALT, TOK_ENG3_FUEL_FLOW_ALT,
                      TOK_ENG4_FUEL_FLOW_ALT);
}
double get_total_fuel_flow() {
  double total = 0.0;
  for (int32_t e = 1; e <= 4; ++e) total += get_eng_fuel_flow(e);
  return total;
}
double get_eng_n1(int32_t e) { return engine_token(e, TOK_ENG1_N1, TOK_ENG2_N1, TOK_ENG3_N1, TOK_ENG4_N1); }
double get_eng_n2(int32_t e) { return engine_token(e, TOK_ENG1_N2, TOK_ENG2_N2, TOK_ENG3_N2, TOK_ENG4_N2); }
double get_eng_egt_celsius(int32_t e) {
  if (e < 1 || e > 4) return 0.0;
  return rankine_to_celsius(engine_token(e, TOK_ENG1_EGT, TOK_ENG2_EGT, TOK_ENG3_EGT, TOK_ENG4_EGT));
}
double get_eng_oil_temp_celsius(int32_t e) {
  if (e < 1 || e > 4) return 0.0;
  return rankine_to_celsius(
      engine_token(e, TOK_ENG1_OIL_TEMP, TOK_ENG2_OIL_TEMP, TOK_ENG3_OIL_TEMP, TOK_ENG4_OIL_TEMP));
}
double get_eng_oil_pressure_psi(int32_t e) {
  return engine_token(e, TOK_ENG1_OIL_PRESSURE, TOK_ENG2_OIL_PRESSURE, TOK_ENG3_OIL_PRESSURE,
                      TOK_ENG4_OIL_PRESSURE) / 144.0;
}
double get_eng_oil_quantity(int32_t e) {
  return engine_token(e, TOK_ENG1_OIL_QUANTITY, TOK_ENG2_OIL_QUANTITY, TOK_ENG3_OIL_QUANTITY,
                      TOK_ENG4_OIL_QUANTITY) * 30.0 / 16384.0;
}
double get_eng_throttle(int32_t e) {
  return engine_token(e, TOK_ENG1_THROTTLE, TOK_ENG2_THROTTLE, TOK_ENG3_THROTTLE, TOK_ENG4_THROTTLE);
}
double get_eng_pressure_value(int32_t e) {
  return engine_token(e, TOK_ENG1_PRESSURE_RATIO, TOK_ENG2_PRESSURE_RATIO, TOK_ENG3_PRESSURE_RATIO,
                      TOK_ENG4_PRESSURE_RATIO);
}
double get_fuel_weight_per_gallon() { return tok(TOK_FUEL_WEIGHT_PER_GALLON); }
double get_total_fuel_gallons() { return tok(TOK_TOTAL_FUEL); }

double get_flaps_position() { return tok(TOK_FLAPS_POSITION); }
double get_flaps_handle() { return tok(TOK_FLAPS_HANDLE); }
double get_gear_nose_position() { return tok(TOK_GEAR_NOSE); }
double get_gear_left_position() { return tok(TOK_GEAR_LEFT); }
double get_gear_right_position() { return tok(TOK_GEAR_RIGHT); }
double get_stall_warning() { return tok(TOK_STALL_WARNING); }
double get_overspeed_warning() { return tok(TOK_OVERSPEED_WARNING); }
double get_rudder_position() { return tok(TOK_RUDDER_POSITION); }
double get_rudder_trim() { return tok(TOK_RUDDER_TRIM); }
double get_elevator_position() { return tok(TOK_ELEVATOR_POSITION); }
double get_elevator_trim() { return tok(TOK_ELEVATOR_TRIM); }
double get_aileron_position() { return tok(TOK_AILERON_POSITION); }
double get_aileron_trim() { return tok(TOK_AILERON_TRIM); }
double get_spoilers_armed() { return tok(TOK_SPOILERS_ARMED); }
double get_spoilers_position() { return tok(TOK_SPOILERS_POSITION); }
double get_flaps_left_percent() { return tok(TOK_FLAPS_LEFT_PERCENT); }
double get_flaps_right_percent() { return tok(TOK_FLAPS_RIGHT_PERCENT); }
double get_leading_edge_flaps_left_angle() { return tok(TOK_LE_FLAPS_LEFT_ANGLE); }
double get_slats_percent() { return tok(TOK_SLATS_PERCENT); }

double present_lat = 0.0, present_lon = 0.0;
double magvar = 0.0;
double ground_speed = 0.0;

double smoothed_airspeed = 0.0;
double speed_trend = 0.0;
double speed_history[speed_history_size] = {};

double smooth_module_var() {
  smoothed_airspeed = get_indicated_airspeed() * 0.3 + smoothed_airspeed * 0.7;
  return smoothed_airspeed;
}

void update_trend_history() {
  speed_trend = (speed_history[0] - speed_history[speed_history_size - 1]) / 14.0;
  for (int i = speed_history_size - 1; i > 0; --i) speed_history[i] = speed_history[i - 1];
  speed_history[0] = smooth_module_var();
}
