#include "guidance/fms_update.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/flight_envelope.h"
#include "guidance/flight_log.h"
#include "guidance/fms_snapshot.h"
#include "guidance/fms_state.h"
#include "guidance/hold_legs.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "guidance/waypoint_sequencing.h"
#include "module/display_state.h"
#include "module/host_services.h"
#include "module/keyboard_input.h"
#include "module/load_state.h"
#include "module/sim_vars.h"
#include "platform/host/sim_token_ids.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Sampling masks: bit (step) set when the row runs on that step.
constexpr uint32_t kMaskMcu = 0x1041;
constexpr uint32_t kMaskRadios = 0x1118;
constexpr uint32_t kMaskAir = 0x924C;

bool on_step(uint32_t mask) { return fms_frame >= 0 && fms_frame < 32 && ((mask >> fms_frame) & 1u) != 0; }

void p1000_controller_timeout() {
  if (p1000_cntr_open != 1) return;
  if (p1000_cntr_draw_count != p1000_cntr_seen_count) {
    p1000_cntr_seen_count = p1000_cntr_draw_count;
    p1000_cntr_idle_checks = 0;
    return;
  }
  if (++p1000_cntr_idle_checks > 10) {
    p1000_cntr_open = 0;
    p1000_cntr_idle_checks = 0;
    hdg_change_timer = 999;
    if (p1000_plan_view == 1) {
      p1000_plan_view = 0;
      p1000_map_cx = 134;
      p1000_map_cy = 148;
      p1000_map_radius = 53;
    }
  }
}

void wind_block() {
  double dir = get_wind_direction_deg();
  wind_dir_rad = dir * kPi / 180.0;
  map_heading_rad = map_heading * kPi / 180.0;
  double x = wind_dir_rad - map_heading_rad;
  wind_along = std::cos(x) * wind_speed;
  wind_cross = std::sin(x) * wind_speed;
  true_airspeed = ground_speed > 25.0 ? ground_speed + wind_along : 0.0;
  // One-in-sixty rule; no drift without an airspeed to divide by.
  drift_angle = true_airspeed > 0.0 ? finite_or(wind_cross / (true_airspeed / 60.0), 0.0) : 0.0;
  wind_direction = dir - magvar;
  if (wind_direction < 0.5) wind_direction += 360.0;
  if (wind_direction >= 360.0) wind_direction -= 360.0;
}

void sample_by_step() {
  if (fms_frame == 0) {
    clock_hour = get_local_hour();
    clock_minute = get_local_minute();
    clock_second = get_local_second();
    zulu_hour = get_zulu_hour();
    zulu_minute = get_zulu_minute();
    display_power = key_param(get_avionics_power());
    token792 = read_token(792);
    token341 = get_token_341();
    ap_vertical_speed = read_token(108);
    token106_int = key_param(read_token(106));
    nav_gps_switch = get_nav_gps_switch();
    token114 = read_token(114);
    autothrottle_arm = get_autothrottle_arm();
    magvar = finite_or(get_magvar_deg(), 0.0);
    baro_hpa_prev = baro_hpa;
    baro_hpa = get_altimeter_hpa();
    baro_inhg = baro_hpa / 1013.25 * 29.92;
    nav_flag46 = get_nav1_code_bit3();
    token113 = read_token(113);
    token112 = read_token(112);
    ap_mach_hold = get_ap_mach_hold();
  }
  if (fms_frame == 0 || fms_frame == 9) p1000_controller_timeout();
  if (on_step(kMaskMcu) && mcu_kbd_on == 1) mcu_redraw = 1;
  if (on_step(kMaskRadios)) {
    nav_token41_prev = nav_token41;
    nav_token41 = read_token(41);
    adf1_bearing = read_token(20);
    nav_token39 = read_token(39);
    nav_obs_token25 = get_vor1_bearing();
    nav_rel_bearing = read_token(550);
    nav_obs_token28 = get_vor2_bearing();
    nav_token59 = read_token(59);
    nav_token354 = read_token(354);
    nav_token22 = read_token(22);
    dme1_distance = get_dme1_distance();
    dme2_distance = get_dme2_distance();
    nav_token35 = read_token(35);
  }
  if (on_step(kMaskAir)) {
    true_airspeed_prev = true_airspeed;
    vertical_speed_prev = vertical_speed;
    vertical_speed = get_vertical_speed_fpm();
    ap_altitude_prev = ap_altitude;
    ap_altitude = get_ap_altitude_lock_ft();
    ap_airspeed_hold = get_ap_airspeed_hold();
    mach_prev = mach;
    mach = get_mach();
    wind_speed = get_wind_speed_kt();
    wind_speed_copy = wind_speed;
    wind_block();
    ap_vs_hold_prev = ap_vs_hold;
    ap_vs_hold = read_token(120);
    ap_airspeed_prev = ap_airspeed;
    ap_airspeed = get_ap_airspeed();
    token118 = read_token(118);
    // What the FMS set is read back from the first sample taken after the command.
    if (fms_set_alt_pending == 1 && sim_tick > fms_set_alt_tick) {
      fms_set_alt = key_param(ap_altitude, -999);
      fms_set_alt_pending = 0;
    }
    if (fms_set_spd_pending == 1 && sim_tick > fms_set_spd_tick) {
      fms_set_mach100 = key_param(token118 * 100.0, -999);
      fms_set_spd = key_param(ap_airspeed, -999);
      fms_set_spd_pending = 0;
    }
  }
  if ((fms_frame & 1) == 1 && fms_frame != 13) {
    radio_altitude = get_radio_altitude_ft();
    radio_spare = 0.0;
    nav1_course = get_nav1_course();
    nav_token40 = read_token(40);
  }
  ground_speed_copy = ground_speed;
}

void count_second() {
  clock_second_live = get_local_second();
  if (clock_second_live == fms_last_second) return;
  if (flight_phase < 11) elapsed_seconds += 1.0;
  fms_last_second = clock_second_live;
  mcu_new_second = 1;
  if (seconds_counter_on == 1 && seconds_counter < 2000000000) ++seconds_counter;
  bool n2_high = false, egt_high = false;
  for (int e = 1; e <= 4; ++e) {
    if (get_eng_n2(e) > 99.0) n2_high = true;
    if (get_eng_egt_celsius(e) > 645.0) egt_high = true;
  }
  if (n2_high) eng_limit_time_a += 1.0;
  else if (eng_limit_time_a > 0.0) eng_limit_time_a = 0.0;
  if (egt_high) eng_limit_time_egt += 1.0;
  else if (eng_limit_time_egt > 0.0) eng_limit_time_egt = 0.0;
}

void autopilot_repeat() {
  if (mach_repeat_count > 0) {
    if (send_vnav_mach100(CruiseMach * 100.0)) fms_set_mach100 = key_param(CruiseMach * 100.0, -999);
    --mach_repeat_count;
  }
  if (descent_speed_flag == 1) {
    if (send_vnav_speed(DescentIas)) fms_set_spd = DescentIas;
    descent_speed_flag = 0;
  }
}

void tod_actions() {
  if (tod_reached == 1) {
    if (Lnav1xAtTod == 1 && tod_1x_done == 0) {
      if (sim_rate > 1.0) send_key(KEY_SIM_RATE_DECREASE, 0);
      else tod_1x_done = 1;
    }
    if (PauseAtTod == 1 && pause_at_tod_done == 0) {
      send_key(KEY_PAUSE_TOGGLE, 0);
      PauseAtTod = 0;
      pause_at_tod_done = 1;
    }
  }
  if (vnav_descent_started == 1 && PauseAtDistFromDest == 1 && pause_at_dist_done == 0 &&
      active_record(fpl_active_index)) {
    double d = lnav_on == 1 ? route_distance_to_go : direct_dist_to_dest;
    if (pause_dist_from_dest > d) {
      send_key(KEY_PAUSE_TOGGLE, 0);
      PauseAtDistFromDest = 0;
      pause_at_dist_done = 1;
    }
  }
}

bool is_disco(int index) { return active_record(index) && std::strcmp(fpl_active[index].ident, FPL_DISCO_IDENT) == 0; }

// Leg geometry of the active waypoint from the present position.
void leg_geometry() {
  int i = fpl_active_index;
  if (!active_record(i)) return;
  // A discontinuity has no position: nothing is measured to it (LNAV is off there).
  if (is_disco(i)) {
    leg_length = dist_to_active_wpt_prev = dist_to_active_wpt = 0.0;
    return;
  }
  const FlightPlanWpt& to = fpl_active[i];
  double slat = present_lat, slon = present_lon;
  if (!fpl_active_leg_start(slat, slon)) {
    slat = present_lat;
    slon = present_lon;
  }
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(slat, slon, to.lat, to.lon, d, c);
  leg_length = finite_or(d, 0.0);
  desired_track_prev = desired_track;
  desired_track = magnetic_course(finite_or(c, 360.0));
  compute_gc_distance_course(present_lat, present_lon, to.lat, to.lon, d, c);
  dist_to_active_wpt_prev = dist_to_active_wpt;
  dist_to_active_wpt = finite_or(d, 0.0);
  bearing_to_active_wpt = magnetic_course(finite_or(c, 360.0));
  // Never read past the plan's table, whatever its last index says.
  const FlightPlanWpt& dest = fpl_active[std::clamp(fpl_active_last, 0, FPL_MAX_LAST)];
  compute_gc_distance_course(present_lat, present_lon, dest.lat, dest.lon, d, c);
  dest_bearing = magnetic_course(finite_or(c, 360.0));
  if (dist_to_active_wpt < 10.0 && i < fpl_active_last && !is_disco(i + 1)) {
    compute_gc_distance_course(to.lat, to.lon, fpl_active[i + 1].lat, fpl_active[i + 1].lon, d, c);
    next_leg_course = magnetic_course(finite_or(c, 360.0));
  }
}

// Splits minutes into whole hours and whole minutes (never 60).
void split_minutes(double minutes, double& h, double& m) {
  if (!(minutes > 0.0) || !std::isfinite(minutes) || minutes > 1.0e7) {
    h = 0.0;
    m = 0.0;
    return;
  }
  double whole = std::floor(minutes);
  h = std::floor(whole / 60.0);
  m = whole - h * 60.0;
}

void times_to_go() {
  if (fms_frame != 0) return;
  ete_active_min_prev = ete_active_min;
  ete_active_scaled_min_prev = ete_active_scaled_min;
  ete_dest_min_prev = ete_dest_min;
  if (ground_speed > 25.0) {
    double rate = sim_rate > 0.0 && std::isfinite(sim_rate) ? sim_rate : 1.0;
    // In the hold the fix being flown is reached along the racetrack.
    double dist = hold_being_flown() ? hold_dist_to_fix() : dist_to_active_wpt;
    ete_active_min = dist / ground_speed * 60.0;
    ete_active_scaled_min = ete_active_min / rate;
    split_minutes(ete_active_min, ete_active_hours, ete_active_minutes);
    split_minutes(ete_active_scaled_min, ete_active_scaled_hours, ete_active_scaled_minutes);
    ete_active_tenths = ete_active_min > 0.0 ? std::floor((ete_active_min - std::floor(ete_active_min)) * 10.0) : 0.0;
    ete_dest_min = route_distance_to_go / ground_speed * 60.0;
    split_minutes(ete_dest_min, ete_dest_hours, ete_dest_minutes);
    split_minutes(ete_dest_min / rate, ete_dest_scaled_hours, ete_dest_scaled_minutes);
  } else {
    ete_active_min = ete_active_scaled_min = ete_active_tenths = 0.0;
    ete_active_hours = ete_active_minutes = ete_active_scaled_hours = ete_active_scaled_minutes = 0.0;
    ete_dest_min = ete_dest_hours = ete_dest_minutes = ete_dest_scaled_hours = ete_dest_scaled_minutes = 0.0;
  }
}

void track_errors() {
  // The route-progress computation writes the leg's true course into desired_track;
  // the update keeps the magnetic one.
  double keep = desired_track;
  int tke_s = 0, xtk_s = 0, drift_s = 0;
  double tke = 0.0, xtk = 0.0, drift = 0.0;
  // Track and heading are magnetic; the leg's course there is true.
  compute_track_errors(present_lat, present_lon, ground_track + magvar, heading + magvar, tke_s, tke, xtk_s, xtk,
                       drift_s, drift, 7);
  desired_track = keep;
}

// An intercept leg is joined at 45 degrees at the most, then tracked to its fix: the
// look-ahead point lies at least as far along the course as the aircraft is off it.
double intercept_heading(double look) {
  double slat = 0.0, slon = 0.0, x = 0.0, at = 0.0;
  const FlightPlanWpt& to = fpl_active[fpl_active_index];
  if (!fpl_active_leg_start(slat, slon)) return bearing_to_active_wpt;
  fpl_cross_along(slat, slon, to.lat, to.lon, present_lat, present_lon, x, at);
  const double aim = std::min(at + std::max(look, std::fabs(x)), leg_length);
  if (!(aim < leg_length - 0.1)) return bearing_to_active_wpt;
  double lat = 0.0, lon = 0.0, d = 0.0, c = 0.0;
  compute_dest_point(slat, slon, desired_track + magvar, aim, lat, lon);
  compute_gc_distance_course(present_lat, present_lon, lat, lon, d, c);
  return magnetic_course(finite_or(c, 360.0));
}

// The final approach fix being joined while the aircraft first flies out beside its
// course (-1 none).
int32_t final_join_detour = -1;

// A final approach fix being joined (joining_final) is reached established on the final
// course: joined at 45 degrees, aimed kAimNm before the fix at the latest while that
// lies ahead; where even a 45-degree join would come after the fix, and the track does
// not meet the course aligned before it, the aircraft first flies out beside the extended
// course (two turn radii off it, three beyond kEstablishedNm) until such a join lies
// kEstablishedNm before the fix.
bool final_join_heading(double look, double& heading) {
  constexpr double kEstablishedNm = 1.0;
  double final_course = 0.0, x = 0.0, u = 0.0;
  if (!joining_final(final_course)) return false;
  const FlightPlanWpt &faf = fpl_active[fpl_active_index], &next = fpl_active[fpl_active_index + 1];
  fpl_cross_along(faf.lat, faf.lon, next.lat, next.lon, present_lat, present_lon, x, u);
  if (!std::isfinite(x) || !std::isfinite(u)) return false;
  const bool on_final = std::fabs(x) < 0.3 && course_difference(ground_track + magvar, final_course) < 30.0;
  // Aimed at the course kAimNm before the fix while that lies ahead.
  constexpr double kAimNm = 2.0;
  double along = u + std::max(look, std::fabs(x)), off = 0.0;
  if (along > -kAimNm) along = std::max(-kAimNm, u + look);
  // Where the present track meets the course (NM along it), when it closes on it at 70
  // degrees at the most.
  constexpr double kRad = 3.14159265358979323846 / 180.0;
  const double rel = std::remainder(ground_track + magvar - final_course, 360.0) * kRad;
  const bool closing = x * std::sin(rel) < 0.0 && std::fabs(std::sin(rel)) > 0.05 && std::fabs(rel) < 70.0 * kRad;
  const double r = turn_radius_nm();
  const double meets = closing ? u + std::fabs(x) * std::cos(rel) / std::fabs(std::sin(rel)) : 1e9;
  // Aligned there after the turn onto the course.
  const double aligned = meets + r * std::tan(std::fabs(rel) / 2.0);
  // Begun and ended at different places: a turn toward the course may swing wide.
  const double join_at = u + std::fabs(x);
  if (on_final || aligned < 0.0 || join_at <= -kEstablishedNm) final_join_detour = -1;
  else if (join_at > 0.0) final_join_detour = fpl_active_index;
  if (final_join_detour == fpl_active_index) {
    along = -kEstablishedNm - 3.0 * r;
    off = (x < 0.0 ? -2.0 : 2.0) * r;
  }
  double blat = 0.0, blon = 0.0, lat = 0.0, lon = 0.0, d = 0.0, c = 0.0;
  compute_dest_point(faf.lat, faf.lon, along >= 0.0 ? final_course : final_course + 180.0, std::fabs(along), blat, blon);
  compute_dest_point(blat, blon, off >= 0.0 ? final_course + 90.0 : final_course + 270.0, std::fabs(off), lat, lon);
  compute_gc_distance_course(present_lat, present_lon, lat, lon, d, c);
  if (!std::isfinite(c)) return false;
  heading = magnetic_course(c);
  return true;
}

void lnav_steering() {
  double xtk = xtk_nm;
  double look = (xtk > 0.0 && xtk <= 3.5) ? 3.0 : 5.0;
  int i = fpl_active_index;
  bool steerable = active_record(i) && !is_disco(i);
  // An approach's legs are joined within a few miles: established by the final approach fix.
  if (steerable && std::strcmp(fpl_active[i].segment, "APCH") == 0) look = 1.5;
  // A direct-to is flown from its origin to the fix, as drawn, until the fix is passed:
  // the look-ahead point lies on that great circle like on any other leg.
  lnav_heading_cmd = bearing_to_active_wpt;
  double slat = 0.0, slon = 0.0;
  double join = 0.0;
  if (steerable && final_join_heading(look, join)) {
    lnav_heading_cmd = join;
  } else if (steerable && fpl_intercept_leg()) {
    lnav_heading_cmd = intercept_heading(look);
  } else if (!steerable || xtk >= 10.0) {
    leg_tracking_on = 0;
  } else if ((leg_tracking_on == 1 || dto_active == 1) && fpl_active_leg_start(slat, slon)) {
    double lat = 0.0, lon = 0.0, d = 0.0, c = 0.0;
    compute_dest_point(slat, slon, desired_track + magvar, leg_length - dist_to_active_wpt + look, lat, lon);
    compute_gc_distance_course(present_lat, present_lon, lat, lon, d, c);
    lnav_heading_cmd = magnetic_course(finite_or(c, 360.0));
  }
  if (lnav_on == 1 && token106_int == 1 && !hold_being_flown() && steerable) {
    if (forced_turn_dir == 1 || forced_turn_dir == 2) {
      if (turn_side(bearing_to_active_wpt, heading) == forced_turn_dir) {
        forced_turn_dir = 0;
        turn_dir_text = "DEFAULT";
      }
    } else {
      int32_t h = key_param(lnav_heading_cmd, lnav_hdg_sent);
      if (h != lnav_hdg_sent) {
        send_key(KEY_AP_HEADING_SET, h);
        lnav_hdg_sent = h;
      }
    }
  } else {
    lnav_hdg_sent = 999;
  }
}

// The record whose intercept course is flown (-1 none) and its position.
int intercept_index = -1;
double intercept_lat = 0.0, intercept_lon = 0.0;

// The intercept course of the record at (lat, lon) dropped from the active plan and from the
// edit plan's copy; a course the pilot is typing for a change waiting for EXEC stays.
void drop_intercept_course(double lat, double lon) {
  for (int k = 0; k <= fpl_active_last && k <= FPL_MAX_LAST; ++k)
    if (fpl_active[k].lat == lat && fpl_active[k].lon == lon) fpl_active[k].intc_course = FPL_NO_INTERCEPT;
  for (int k = 0; k <= fpl_edit_last && k <= FPL_MAX_LAST; ++k)
    if (fpl_edit[k].lat == lat && fpl_edit[k].lon == lon && !(intc_crs_pending == 1 && k == intc_target_wpt))
      fpl_edit[k].intc_course = FPL_NO_INTERCEPT;
  intercept_index = -1;
}

// An intercept course lives while its record is active and the course is still to be
// joined: once joined it is flown on to the fix as a direct-to along it; with the aircraft
// already past its line the fix is flown to straight from the aircraft (the course would
// pass the fix before the aircraft reaches it).
void intercept_course_step() {
  const int i = fpl_active_index;
  const bool same = active_record(i) && i == intercept_index && fpl_active[i].lat == intercept_lat &&
                    fpl_active[i].lon == intercept_lon;
  if (intercept_index >= 0 && !same) drop_intercept_course(intercept_lat, intercept_lon);
  if (!active_record(i) || is_disco(i) || !fpl_intercept_leg()) return;
  const FlightPlanWpt& to = fpl_active[i];
  intercept_index = i;
  intercept_lat = to.lat;
  intercept_lon = to.lon;
  double slat = 0.0, slon = 0.0, x = 0.0, at = 0.0;
  if (!fpl_active_leg_start(slat, slon)) return;
  fpl_cross_along(slat, slon, to.lat, to.lon, present_lat, present_lon, x, at);
  const double length = compute_gc_distance(slat, slon, to.lat, to.lon);
  const bool joined = std::fabs(x) < 0.25, past = !(at < length - 0.1);
  if (!joined && !past) return;
  const double course = to.intc_course;
  drop_intercept_course(to.lat, to.lon);
  if (past) return start_direct_to(to.lat, to.lon, 0);
  dto_active = 1;
  dto_origin_lat = slat;
  dto_origin_lon = slon;
  dto_course = course < 0.5 ? course + 360.0 : course;
}

// The distance and index the sequencing tests use must belong to the plan now active.
int geometry_index = -1;
double geometry_lat = 0.0, geometry_lon = 0.0;

// The LNAV and VNAV modes last published as named variables.
int32_t published_lnav = 0, published_vnav = 0;

// Tick at which the fuel used was last integrated; -1 before the first step.
double fuel_tick = -1.0;

// Simulated seconds since the fuel used was last integrated: a host frame may span
// many ticks (minutes at the high simulation rates), all of them burnt. One tick on the
// first step or after the counter went back, none when a forced step repeats a tick.
double fuel_seconds(double tick) {
  double ticks = 1.0;
  if (std::isfinite(tick) && fuel_tick >= 0.0 && tick >= fuel_tick) ticks = tick - fuel_tick;
  if (std::isfinite(tick)) fuel_tick = tick;
  return ticks / 18.0;
}

// The active waypoint the VNAV target was last chosen from (-1 none), and whether a hold
// was being flown at the step before.
int vnav_choice_index = -1;
double vnav_choice_lat = 0.0, vnav_choice_lon = 0.0;
int32_t vnav_choice_holding = 0;

// A new active waypoint however it came (sequencing, direct-to, activation) or a hold
// left: the VNAV target is chosen again from the active waypoint on.
void vnav_target_follows_active() {
  int i = fpl_active_index;
  int32_t holding = hold_being_flown() ? 1 : 0;
  bool moved = active_record(i) && (i != vnav_choice_index || fpl_active[i].lat != vnav_choice_lat ||
                                    fpl_active[i].lon != vnav_choice_lon);
  if (vnav_on == 1 && active_record(i) && vnav_choice_index >= 0 && (moved || (vnav_choice_holding == 1 && holding == 0)))
    choose_vnav_target(i);
  vnav_choice_index = active_record(i) ? i : -1;
  vnav_choice_lat = vnav_choice_index >= 0 ? fpl_active[i].lat : 0.0;
  vnav_choice_lon = vnav_choice_index >= 0 ? fpl_active[i].lon : 0.0;
  vnav_choice_holding = holding;
}

bool geometry_current() {
  int i = fpl_active_index;
  return active_record(i) && i == geometry_index && fpl_active[i].lat == geometry_lat &&
         fpl_active[i].lon == geometry_lon;
}

void plan_block() {
  bool current = geometry_current();
  new_active_fix_step();
  intercept_course_step();
  if (current) {
    angle_rule_step();
    vnav_target_choice();
    passage_stamp();
  }
  // VNAV just engaged, or a change executed: the target from the active waypoint on.
  if (vnav_cmd_pending == 1 && vnav_on == 1 && active_record(fpl_active_index)) {
    choose_vnav_target(fpl_active_index);
    vnav_alt_state = 0;
  }
  vnav_target_follows_active();
  // A discontinuity is never flown: LNAV drops and VNAV keeps its level.
  if (is_disco(fpl_active_index) && lnav_on == 1) {
    vnav_level_off();
    lnav_on = 0;
    leg_tracking_on = 0;
    lnav_off_by_fms = 1;
    if (lnav_dropped_hook) lnav_dropped_hook();
  }
  hold_step();
  if (current) sequencing_step();
  if (active_record(fpl_active_index)) change_distance_step();
  leg_geometry();
  if (active_record(fpl_active_index)) {
    geometry_index = fpl_active_index;
    geometry_lat = fpl_active[fpl_active_index].lat;
    geometry_lon = fpl_active[fpl_active_index].lon;
  } else {
    geometry_index = -1;
  }
  fms_snapshot();
  update_active_legs(route_progress_input());
  dest_near_step();
  toc_check();
  tod_check();
  update_active_legs(route_progress_input());
  update_vnav_target_distance();
  vnav_vs_update();
  vnav_restriction_steps();
  vnav_speed_update();
  times_to_go();
  dest_info_step();
  track_errors();
  lnav_steering();
}

void pending_requests() {
  if (radio_tune_request > 0) set_enroute_radios(radio_tune_request);
  // Requests 1 to 3 load and activate the named plan; any other value is refused.
  int32_t request = plan_load_request;
  if (request >= 1 && request <= 3 && load_and_activate_plan_file(request)) {
    fms_leg_state = 0;
    if (plan_loaded_hooks[request]) plan_loaded_hooks[request](plan_loaded_airport_ident);
  }
  plan_load_request = 0;
  radio_tune_request = 0;
  vnav_cmd_pending = 0;
}

}  // namespace

void (*plan_loaded_hooks[4])(const std::string& airport_ident) = {};

namespace {
// The pre-change speed targets: a slot of 0 or above holds the value before the first change.
struct SpeedSlot {
  double* prev;
  double* mach;     // the target when it is a Mach number
  int32_t* ias;     // the target when it is a speed
};
const SpeedSlot SPEED_SLOTS[] = {
    {.prev = &climb_ias_prev, .mach = nullptr, .ias = &ClimbIas},
    {.prev = &climb_mach_prev, .mach = &ClimbMach, .ias = nullptr},
    {.prev = &cruise_ias_prev, .mach = nullptr, .ias = &CruiseTas},
    {.prev = &cruise_mach_prev, .mach = &CruiseMach, .ias = nullptr},
    {.prev = &descent_ias_prev, .mach = nullptr, .ias = &DescentIas},
    {.prev = &descent_mach_prev, .mach = &DescentMach, .ias = nullptr},
};

void empty_speed_slots() {
  for (const SpeedSlot& s : SPEED_SLOTS) *s.prev = -1.0;
}

// ERASE: the cost index and the speed targets return to their executed values.
void restore_pre_change_values() {
  if (cost_index_prev >= 0) CostIndex = cost_index_prev;
  cost_index_prev = -1;
  for (const SpeedSlot& s : SPEED_SLOTS) {
    if (*s.prev >= 0.0) {
      if (s.mach) *s.mach = *s.prev;
      else *s.ias = key_param(*s.prev, *s.ias);
    }
  }
  empty_speed_slots();
}
}  // namespace

void fms_install() {
  fpl_plan_activated_hook = fms_plan_activated;
  fpl_mods_erased_hook = restore_pre_change_values;
  fpl_highest_cruise_hook = envelope_highest_cruise_ft;
}

void fms_plan_activated() {
  fms_last_second = -99.0;
  cost_index_prev = -1;
  empty_speed_slots();
  // A new flight begins unless one is under way (pushed back and not yet parked): an
  // EXEC in flight keeps its log and its clock.
  if (!(flight_phase >= 1 && flight_phase <= 9)) flight_phase = -1;
  dest_info_state = 1;
  dest_near_done = 0;
  propose_cruise_altitude(cruise_alt, 1);
  // In flight an EXEC takes effect at once: the VNAV target from the active waypoint
  // on, then the altitude and the speed for the phase.
  if (vnav_on == 1 && active_record(fpl_active_index)) {
    vnav_spd_state = 0;
    vnav_cmd_pending = 1;
  }
  // A route executed with no waypoint to fly leaves nothing for LNAV or VNAV to follow.
  if (!active_record(fpl_active_index)) {
    if (lnav_on == 1) lnav_toggle();
    if (vnav_on == 1) vnav_toggle();
  }
}

void fms_cruise_level_entered(int32_t ft) {
  cruise_alt = ft;
  propose_cruise_altitude(cruise_alt, 1);
  if (vnav_on == 1 && fpl_active_index != FPL_NO_PLAN) vnav_cmd_pending = 1;
}

void fms_snapshot() {
  srv_active_index = fpl_active_index == FPL_NO_PLAN ? 0 : fpl_active_index;
  srv_plan_last = fpl_active_last;
  srv_dist_to_active = dist_to_active_wpt;
  srv_desired_track = desired_track;
  srv_bearing_to_active = bearing_to_active_wpt;
  srv_xtk_dir = xtk_side;
  srv_xtk_dist = xtk_nm > 0.0 ? xtk_nm : 0.0;
  srv_lnav_on = lnav_on;
  srv_vnav_on = vnav_on;
  if (srv_active == 0) srv_active = 1;
}

void fms_update() {
  ground_speed = finite_or(get_ground_speed_kt(), 0.0);
  indicated_airspeed = finite_or(smooth_module_var(), 0.0);
  indicated_altitude_prev = indicated_altitude;
  indicated_altitude = finite_or(get_indicated_altitude_ft(), indicated_altitude);
  sim_tick = get_tick_counter();
  if (sim_tick == sim_tick_prev) return;

  update_trend_history();
  sim_tick_prev = sim_tick;
  fms_frame = fms_frame >= 17 ? 0 : fms_frame + 1;
  if (fms_frame_count < 2500) ++fms_frame_count;

  // Heading-change timer: the autopilot heading read at the previous step against
  // the one before it.
  int32_t timer = hdg_change_timer + 1;
  if (timer >= 92 || timer < 0) timer = 0;
  if (ap_heading != ap_heading_prev) timer = 0;
  if (update_warmup < 10) ++update_warmup;
  if (update_warmup < 6) timer = 0;
  hdg_change_timer = timer;
  heading_prev = heading;

  heading = get_heading_deg();
  map_heading = get_map_heading_deg();
  adi_token77_prev = adi_token77;
  adi_token77 = get_pitch_deg();
  adi_token80_prev = adi_token80;
  adi_token80 = get_bank_deg(sim_version);
  adi_token793_prev = adi_token793;
  adi_token793 = get_fd_bank();
  adi_token794_prev = adi_token794;
  adi_token794 = get_fd_pitch();
  present_lat = get_latitude_deg();
  present_lon = get_longitude_deg();

  ap_heading_prev = ap_heading;
  ap_heading = get_ap_heading();
  if (ap_heading == ap_heading_prev) {
    if (hdg_change_countdown > 0) --hdg_change_countdown;
  } else {
    hdg_change_countdown = 54;
  }

  count_second();
  const double burn_seconds = fuel_seconds(sim_tick);
  for (int e = 1; e <= 4; ++e) eng_fuel_used[e] += finite_or(get_eng_fuel_flow(e), 0.0) / 3600.0 * burn_seconds;

  sample_by_step();
  envelope_raise_cruise_mach();
  autopilot_repeat();
  sim_rate = get_sim_rate(sim_version);
  tod_actions();
  ground_track = heading;
  if (true_airspeed > 0.0) {
    ground_track = heading - drift_angle;
    if (ground_track < 0.0) ground_track += 360.0;
  }

  if (fpl_active_index != FPL_NO_PLAN) plan_block();

  pending_requests();
  if (flight_phase < 11) update_flight_phase_log(0);

  // Modes switched off by the update itself (end of route, last waypoint) are
  // published like the toggles publish them.
  if (lnav_on != published_lnav) host_set_named_var_by_name("vek_lnav", lnav_on);
  if (vnav_on != published_vnav) host_set_named_var_by_name("vek_vnav", vnav_on);
  published_lnav = lnav_on;
  published_vnav = vnav_on;

  double master = get_ap_master();
  if (SetSpdOffwhenAPMasterSetOff == 1 && ap_token103 == 1.0 && master == 0.0 && ap_airspeed_hold == 1.0)
    send_key(KEY_AP_AIRSPEED_HOLD_OFF, 0);
  ap_token103 = master;
}

void keep_fms_update_state(LoadState& state) {
  state.keep(geometry_index, geometry_lat, geometry_lon, published_lnav, published_vnav, fuel_tick, vnav_choice_index,
             vnav_choice_lat, vnav_choice_lon, vnav_choice_holding, final_join_detour, intercept_index, intercept_lat,
             intercept_lon);
}
