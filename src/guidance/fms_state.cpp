#include "guidance/fms_state.h"

#include <cmath>

double sim_tick = 0.0;
double sim_tick_prev = 0.0;
int32_t fms_frame = 0;
int32_t fms_frame_count = 0;
int32_t update_warmup = 0;
int32_t hdg_change_timer = 0;
int32_t hdg_change_countdown = 0;
double clock_second_live = 0.0;
double fms_last_second = 0.0;
double elapsed_seconds = 0.0;
double sim_rate = 1.0;
int32_t mcu_new_second = 0;
int32_t seconds_counter_on = 0;
int32_t seconds_counter = 0;

double ground_speed_copy = 0.0;
double indicated_airspeed = 0.0;
double indicated_altitude = 0.0, indicated_altitude_prev = 0.0;
double heading = 0.0, heading_prev = 0.0;
double map_heading = 0.0;
double adi_token77 = 0.0, adi_token77_prev = 0.0;
double adi_token80 = 0.0, adi_token80_prev = 0.0;
double adi_token793 = 0.0, adi_token793_prev = 0.0;
double adi_token794 = 0.0, adi_token794_prev = 0.0;
double ap_heading = 0.0, ap_heading_prev = 0.0;
double eng_fuel_used[5] = {};
double eng_limit_time_a = 0.0;
double eng_limit_time_egt = 0.0;

double clock_hour = 0.0, clock_minute = 0.0, clock_second = 0.0;
double zulu_hour = 0.0, zulu_minute = 0.0;
int32_t display_power = 0;
double token792 = 0.0, token341 = 0.0;
double ap_vertical_speed = 0.0;
int32_t token106_int = 0;
double nav_gps_switch = 0.0, token114 = 0.0, autothrottle_arm = 0.0;
double baro_hpa = 0.0, baro_hpa_prev = 0.0, baro_inhg = 0.0;
int32_t nav_flag46 = 0;
double token113 = 0.0, token112 = 0.0;
double ap_mach_hold = 0.0;

double nav_token41 = 0.0, nav_token41_prev = 0.0;
double adf1_bearing = 0.0, nav_token39 = 0.0, nav_obs_token25 = 0.0, nav_rel_bearing = 0.0, nav_obs_token28 = 0.0;
double nav_token59 = 0.0, nav_token354 = 0.0, nav_token22 = 0.0, dme1_distance = 0.0, dme2_distance = 0.0,
       nav_token35 = 0.0;

double true_airspeed = 0.0, true_airspeed_prev = 0.0;
double vertical_speed = 0.0, vertical_speed_prev = 0.0;
double ap_altitude = 0.0, ap_altitude_prev = 0.0;
double ap_airspeed_hold = 0.0;
double mach = 0.0, mach_prev = 0.0;
double wind_speed = 0.0, wind_speed_copy = 0.0;
double wind_dir_rad = 0.0, map_heading_rad = 0.0;
double wind_along = 0.0, wind_cross = 0.0;
double drift_angle = 0.0;
double wind_direction = 0.0;
double ap_vs_hold = 0.0, ap_vs_hold_prev = 0.0;
double ap_airspeed = 0.0, ap_airspeed_prev = 0.0;
double token118 = 0.0;

double radio_altitude = 0.0, radio_spare = 0.0, nav1_course = 0.0, nav_token40 = 0.0;
double ap_token103 = 0.0;

double dist_to_active_wpt_prev = 0.0;
double desired_track_prev = 0.0;
double dest_bearing = 0.0;
double leg_length = 0.0;
double next_leg_course = 0.0;
double active_wpt_lat = 0.0, active_wpt_lon = 0.0;
double ground_track = 0.0;
double lnav_heading_cmd = 0.0;
int32_t lnav_hdg_sent = 999;
int32_t leg_tracking_on = 0;
int32_t fms_leg_state = 1;
std::string last_wpt_ident, last_wpt_time;
double last_wpt_altitude = 0.0, fuel_at_last_wpt = 0.0;

double ete_active_min = 0.0, ete_active_min_prev = 0.0, ete_active_scaled_min = 0.0, ete_active_scaled_min_prev = 0.0;
double ete_active_hours = 0.0, ete_active_minutes = 0.0, ete_active_tenths = 0.0;
double ete_active_scaled_hours = 0.0, ete_active_scaled_minutes = 0.0;
double ete_dest_min = 0.0, ete_dest_min_prev = 0.0;
double ete_dest_hours = 0.0, ete_dest_minutes = 0.0;
double ete_dest_scaled_hours = 0.0, ete_dest_scaled_minutes = 0.0;

int32_t toc_reached = 0;
int32_t tod_reached = 0;
int32_t vnav_descent_started = 0;
double vnav_target_alt = 0.0;
double vnav_target_lat = 0.0, vnav_target_lon = 0.0;
double dist_to_vnav_target = 0.0;
int32_t vnav_target_kind = 0;

int32_t forced_turn_dir = 0;
std::string turn_dir_text = "DEFAULT";
int32_t radio_tune_request = 0;

int32_t mach_repeat_count = 0;
int32_t descent_speed_flag = 0;
int32_t fms_set_alt_tick = -999;
int32_t fms_set_spd_tick = -999;
int32_t fms_set_alt_pending = 0;
int32_t fms_set_spd_pending = 0;

int32_t tod_1x_done = 0;
int32_t pause_at_tod_done = 0;
int32_t pause_at_dist_done = 0;


double course_difference(double a, double b) {
  double d = std::fabs(a - b);
  d = std::fmod(d, 360.0);
  if (d > 180.0) d = 360.0 - d;
  return d;
}

double finite_or(double v, double fallback) { return std::isfinite(v) ? v : fallback; }

int32_t key_param(double v, int32_t fallback) {
  if (!std::isfinite(v) || v >= 2147483647.0 || v <= -2147483648.0) return fallback;
  return static_cast<int32_t>(v);
}

bool active_record(int index) { return fpl_valid_index(index, fpl_active_last); }
