#include "guidance/waypoint_sequencing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/flight_log.h"
#include "guidance/fms_state.h"
#include "guidance/hold_legs.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "guidance/toc_tod.h"
#include "module/host_services.h"
#include "module/ipc_client.h"
#include "navdb/navdb.h"
#include "platform/host/sim_token_ids.h"

double wpt_change_dist = 3.0;
int32_t angle_pass_in_cruise = 0;
int32_t dest_near_done = 0;
int32_t dest_info_state = 0;
int32_t hold_exit_state = 0;
int32_t selected_approach_index = -999;
int32_t sequenced_index = -1;
double sequenced_dist = 0.0;
int32_t seen_active_index = -1;
double seen_active_lat = 0.0, seen_active_lon = 0.0;
int32_t active_fix_turned = 0;
int32_t reach_fix_index = -1;

namespace {

bool is_proc_segment(const char* seg) {
  return std::strcmp(seg, "SID") == 0 || std::strcmp(seg, "STAR") == 0 || std::strcmp(seg, "SIDSTAR") == 0 ||
         std::strcmp(seg, "APCH") == 0;
}

bool is_disco(int index) { return active_record(index) && std::strcmp(fpl_active[index].ident, FPL_DISCO_IDENT) == 0; }

// The record's altitude and position as the VNAV target; a record without an altitude
// keeps the altitude aimed at before.
void target_record(int index) {
  if (!active_record(index)) return;
  const FlightPlanWpt& r = fpl_active[index];
  if (r.alt_constraint > FPL_NO_CONSTRAINT) vnav_target_alt = r.alt_constraint;
  vnav_target_lat = r.lat;
  vnav_target_lon = r.lon;
  vnav_target_kind = 0;
}

// The frequency text of a navaid as the integer whose digits it shows ("113.90" gives
// 11390): the fourth character becomes a blank and the two words are joined. Texts
// shorter than four characters give 0.
long vor_frequency_digits(const char* text) {
  std::string t(text);
  if (t.size() < 4) return 0;
  t[3] = ' ';
  char w1[32] = {}, w2[32] = {};
  if (std::sscanf(t.c_str(), "%31s %31s", w1, w2) < 1) return 0;
  std::string joined = std::string(w1) + w2;
  return std::strtol(joined.c_str(), nullptr, 10);
}

void send_frequency(int32_t event_id, long digits) {
  if (digits <= 0 || digits > 99999999) return;
  double bcd = convert_radix(static_cast<double>(digits), 10, 16);
  if (bcd > 0.0) send_key(event_id, bcd);
}

void send_course_between(int from, int to) {
  if (!active_record(from) || !active_record(to)) return;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(fpl_active[from].lat, fpl_active[from].lon, fpl_active[to].lat, fpl_active[to].lon, d, c);
  double m = magnetic_course(finite_or(c, 360.0));
  int32_t whole = key_param(m);
  if (whole != 0) send_key(KEY_VOR1_OBS_SET, whole);
}

// NM before a fix the aircraft must be sent on to the next leg for the turn to pass the
// fix within the turn's radius: the turn's anticipation for the angle between the
// bearing to the fix and the next leg, or for what a reversal leaves of it (such a turn
// begins almost over the fix); a fix not yet headed for is flown to within half a mile.
double reach_distance(int i) {
  constexpr double kFloorNm = 0.5, kRad = 3.14159265358979323846 / 180.0;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(fpl_active[i].lat, fpl_active[i].lon, fpl_active[i + 1].lat, fpl_active[i + 1].lon, d, c);
  double turn = course_difference(magnetic_course(finite_or(c, 360.0)), bearing_to_active_wpt);
  if (!std::isfinite(turn) || course_difference(bearing_to_active_wpt, ground_track) > 45.0) return kFloorNm;
  double a = std::min(turn, 180.0 - turn);
  return std::max(kFloorNm, turn_radius_nm() * std::tan(a / 2.0 * kRad));
}

}  // namespace

bool joining_final(double& final_course) {
  int i = fpl_active_index;
  if (!active_record(i) || std::strcmp(fpl_active[i].role, "FAF") != 0 || i >= route_end_index() || is_disco(i + 1))
    return false;
  const FlightPlanWpt &faf = fpl_active[i], &next = fpl_active[i + 1];
  double d = 0.0;
  compute_gc_distance_course(faf.lat, faf.lon, next.lat, next.lon, d, final_course);
  if (!std::isfinite(final_course) || !(d > 0.0)) return false;
  return i == reach_fix_index || course_difference(magnetic_course(final_course), desired_track) >= 30.0;
}

double turn_radius_nm() { return direct_turn_radius(std::max(finite_or(ground_speed, 0.0), 120.0)); }

RouteProgressInput route_progress_input() {
  RouteProgressInput in;
  in.zulu_hours = zulu_hour + zulu_minute / 60.0;
  in.local_hours = clock_hour + clock_minute / 60.0;
  in.eta_local = DispETALocalTime;
  in.tod_valid = tod_valid;
  in.tod_lat = tod_lat;
  in.tod_lon = tod_lon;
  in.tod_reached = tod_reached;
  in.toc_valid = toc_valid;
  in.toc_lat = toc_lat;
  in.toc_lon = toc_lon;
  in.vnav_wpt_index = active_record(vnav_wpt_index) ? vnav_wpt_index : -1;
  in.vnav_target_alt = vnav_target_alt;
  in.level_alt = vnav_level_alt();
  in.altitude = indicated_altitude;
  in.descent_ft_per_nm = descent_ft_per_nm();
  return in;
}

void send_key(int32_t event_id, double param) { host_send_key_event(event_id, key_param(param)); }

int next_constrained_index(int from) {
  int end = profile_end_index();
  for (int i = from < 0 ? 0 : from; i <= end && i < FPL_CAPACITY; ++i)
    if (fpl_has_constraint(fpl_active[i]) && !at_or_above_met(i)) return i;
  return end;
}

void new_active_fix_step() {
  int i = fpl_active_index;
  if (!active_record(i)) return;
  const FlightPlanWpt& r = fpl_active[i];
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(present_lat, present_lon, r.lat, r.lon, d, c);
  if (i != seen_active_index || r.lat != seen_active_lat || r.lon != seen_active_lon) {
    // Another fix was being flown: the pilot sent the aircraft to this one.
    reach_fix_index = lnav_on == 1 && seen_active_index >= 0 ? i : -1;
    seen_active_index = i;
    seen_active_lat = r.lat;
    seen_active_lon = r.lon;
    // A fix made active by an edit while LNAV flies (a direct-to, perhaps behind the
    // aircraft) is reached within half its distance now, as a sequenced one is.
    active_fix_turned = lnav_on == 1 ? 0 : 1;
    if (lnav_on == 1) {
      sequenced_index = i;
      sequenced_dist = finite_or(d, 0.0);
    }
  }
  if (active_fix_turned == 0 && course_difference(magnetic_course(finite_or(c, 360.0)), ground_track) < 90.0)
    active_fix_turned = 1;
}

void angle_rule_step() {
  int i = fpl_active_index;
  if (lnav_on != 1 || token106_int != 1 || !(dist_to_active_wpt < 10.0) || i >= route_end_index() - 1) return;
  if (hold_count > 0 && hold_list[1].active_wpt == i) return;
  // A fix behind the aircraft when it was made active is passed only once turned toward.
  if (active_fix_turned == 0) return;
  // A final approach fix being joined is passed on the final course, within the change
  // distance; a fix to be reached once behind the aircraft on its own track.
  double final_course = 0.0;
  if (joining_final(final_course)) return;
  double a = course_difference(bearing_to_active_wpt, i == reach_fix_index ? ground_track : desired_track);
  if (static_cast<int>(a) > 90) {
    dist_to_active_wpt = -1.0;
    vnav_alt_state = 0;
    vnav_spd_state = 0;
    if (toc_reached == 1 && tod_reached == 0) angle_pass_in_cruise = 1;
  }
}

void vnav_target_choice() {
  int i = fpl_active_index;
  // In a hold the fix is reached lap after lap: the target is chosen when the hold is left.
  if (!(dist_to_active_wpt < wpt_change_dist) || lnav_on != 1 || i >= route_end_index() || hold_being_flown()) return;
  choose_vnav_target(i + 1);
}

void choose_vnav_target(int from) {
  int i = fpl_active_index;
  if (!active_record(i)) return;
  vnav_wpt_index = next_constrained_index(from);
  vnav_target_lat = toc_lat;
  vnav_target_lon = toc_lon;
  vnav_target_kind = 1;
  if (cruise_alt > 0) vnav_target_alt = vnav_level_alt();
  if (toc_reached == 1) {
    double alt = vnav_target_alt, spd = 0.0;
    if (fpl_has_constraint(fpl_active[i]) && !at_or_above_met(i)) set_leg_targets(1, alt, spd);
    if (tod_reached == 1) {
      vnav_target_alt = alt;
      target_record(vnav_wpt_index);
    } else {
      vnav_target_alt = alt;
      vnav_target_lat = tod_lat;
      vnav_target_lon = tod_lon;
      vnav_target_kind = 2;
    }
    const FlightPlanWpt& t = fpl_active[vnav_wpt_index];
    if (vnav_wpt_index == fpl_active_last && std::strcmp(t.type, "APT") == 0 && vnav_on == 1 &&
        vnav_target_alt != vnav_level_alt() && t.alt_constraint > FPL_NO_CONSTRAINT)
      vnav_target_alt = t.alt_constraint + 200.0;
  } else {
    int counted = compute_route_distance(1);
    // Before the top of climb only a constraint on the climb (before the TOC leg) above
    // the aircraft is aimed at: the climb never aims down.
    const FlightPlanWpt& t = fpl_active[vnav_wpt_index];
    if (vnav_wpt_index < counted && vnav_wpt_index <= toc_leg_index && fpl_has_constraint(t) &&
        t.alt_constraint > FPL_NO_CONSTRAINT && t.alt_constraint > indicated_altitude)
      target_record(vnav_wpt_index);
  }
  if (toc_reached == 1 && tod_reached != 1) {
    vnav_alt_state = 1;
  } else {
    vnav_alt_state = 0;
    vnav_spd_state = 0;
  }
}

void passage_stamp() {
  int i = fpl_active_index;
  if (!active_record(i) || !(dist_to_active_wpt < wpt_change_dist)) return;
  FlightPlanWpt& r = fpl_active[i];
  if (r.eta[0] == '\0' && ground_speed > 65.0)
    std::snprintf(r.eta, sizeof r.eta, "%02.0f:%02.0f", std::floor(zulu_hour), std::floor(zulu_minute));
}

void hold_step() {
  end_hold_without_record();
  if (hold_count <= 0) return;
  if (hold_list[1].active_wpt > 0) fly_hold_pattern();
  // Holds behind the aircraft go; a hold not yet in the active plan (index below 1)
  // waits for EXEC.
  for (int guard = 0; guard < HOLD_CAPACITY && hold_count > 0 && hold_list[1].active_wpt >= 1 &&
                      hold_list[1].active_wpt < fpl_active_index;
       ++guard)
    drop_first_hold();
}

void sequencing_step() {
  int i = fpl_active_index;
  // An active discontinuity is left only by the pilot's direct-to or activation.
  if (!active_record(i) || is_disco(i)) return;
  if (!(dist_to_active_wpt < wpt_change_dist) || !(lnav_on == 1 || SequenceFPlanWpts == 1)) return;
  if (hold_being_flown() && hold_exit_state != 4) return;
  constraint_speed_done = 0;
  if (hold_exit_state == 4) hold_exit_state = 0;
  // The end of the route (the last record, or the runway before a missed approach),
  // or a discontinuity after the active waypoint (never made active): LNAV disengages
  // there, and VNAV too at the end after the top of climb when the settings say so.
  bool end = i >= route_end_index();
  if (end || is_disco(i + 1)) {
    if (end) vnav_route_end();
    else vnav_level_off();
    if (end && VnavOffAtLastWpt == 1 && toc_reached == 1) vnav_on = 0;
    if (lnav_on == 1) {
      lnav_off_by_fms = 1;
      if (lnav_dropped_hook) lnav_dropped_hook();
    }
    lnav_on = 0;
    return;
  }
  if (flight_phase < 11) update_flight_phase_log(1);
  const FlightPlanWpt& passed = fpl_active[i];
  last_wpt_ident = passed.ident;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02.0f%02.0fZ", std::floor(zulu_hour), std::floor(zulu_minute));
  last_wpt_time = buf;
  last_wpt_altitude = indicated_altitude;
  fuel_at_last_wpt = read_fuel_on_board();
  if (WeightUnit == "KGS") fuel_at_last_wpt *= kg_per_lb;

  fpl_active_index = i + 1;
  update_active_legs(route_progress_input());
  vnav_spd_state = 0;
  vnav_speed_update();
  if (LnavSetEnRouteFreqs == 1 && (lnav_on == 1 || SequenceFPlanWpts == 1)) set_enroute_radios(2);
  leg_tracking_on = 1;
  dto_active = 0;
  active_wpt_lat = fpl_active[fpl_active_index].lat;
  active_wpt_lon = fpl_active[fpl_active_index].lon;
  double c = 0.0;
  sequenced_index = fpl_active_index;
  compute_gc_distance_course(present_lat, present_lon, active_wpt_lat, active_wpt_lon, sequenced_dist, c);
  sequenced_dist = finite_or(sequenced_dist, 0.0);
  seen_active_index = fpl_active_index;
  seen_active_lat = active_wpt_lat;
  seen_active_lon = active_wpt_lon;
  active_fix_turned = 1;
  // Kept for the fix after a hold just left (the hold names it, perhaps behind the
  // aircraft), and for a final approach fix after a fix to be reached.
  if (reach_fix_index == i && std::strcmp(fpl_active[fpl_active_index].role, "FAF") == 0)
    reach_fix_index = fpl_active_index;
  else if (reach_fix_index != fpl_active_index)
    reach_fix_index = -1;
  else
    active_fix_turned = 0;
  if (SetWptBaro == 1) send_key(KEY_BAROMETRIC, 0);
}

void change_distance_step() {
  int i = fpl_active_index;
  if (!active_record(i)) return;
  if (WptChgSecs > 0.0) WptChgDist = ground_speed / 3600.0 * WptChgSecs;
  if (WptProcChgSecs > 0.0) WptProcChgDist = ground_speed / 3600.0 * WptProcChgSecs;
  const FlightPlanWpt& r = fpl_active[i];
  if (is_proc_segment(r.segment)) wpt_change_dist = WptProcChgDist;
  else if (r.flyover == 1) wpt_change_dist = FlyoverWptChgDist;
  else wpt_change_dist = WptChgDist;
  if (AdjustTurnDistforAngle == 1 && dist_to_active_wpt < 15.0 && r.flyover != 1 && i < route_end_index() &&
      !is_disco(i + 1)) {
    // The course of the next leg from the records: the displayed one is refreshed
    // only within 10 NM.
    double d = 0.0, c = 0.0;
    compute_gc_distance_course(r.lat, r.lon, fpl_active[i + 1].lat, fpl_active[i + 1].lon, d, c);
    double t = course_difference(magnetic_course(finite_or(c, 360.0)), desired_track);
    wpt_change_dist += static_cast<int>(t) * 0.028;
  }
  wpt_change_dist = finite_or(wpt_change_dist, 0.0);
  // A fix is passed only once a third of its leg is flown, whatever the settings ask: a
  // long change distance would pass a departure's first fix before the aircraft turns to it.
  bool from_dto = dto_active == 1, from_record = !from_dto && i >= 1 && !is_disco(i - 1);
  if (from_dto || from_record) {
    double d = 0.0, c = 0.0;
    compute_gc_distance_course(from_dto ? dto_origin_lat : fpl_active[i - 1].lat,
                               from_dto ? dto_origin_lon : fpl_active[i - 1].lon, r.lat, r.lon, d, c);
    if (d > 0.0) wpt_change_dist = std::min(wpt_change_dist, 2.0 / 3.0 * d);
  }
  // No fix is passed in the step after the one before it: a fix made active by
  // sequencing is reached within half its distance at that moment at the most.
  if (i == sequenced_index && sequenced_dist > 0.0) wpt_change_dist = std::min(wpt_change_dist, 0.5 * sequenced_dist);
  // A fix the pilot sent the aircraft to, the first after a hold, or a final approach fix
  // being joined is reached whatever its distance and the turn after it.
  double final_course = 0.0;
  if ((i == reach_fix_index || joining_final(final_course)) && i < route_end_index() && !is_disco(i + 1))
    wpt_change_dist = std::min(wpt_change_dist, reach_distance(i));
}

void dest_near_step() {
  if (fpl_active_last < 1 || dest_near_done != 0 || !(direct_dist_to_dest <= 25.0)) return;
  if (SetDestLoadTowerViewDist > 0) set_tower_view_position();
  dest_near_done = 1;
  if (SetWptBaro == 1) send_key(KEY_BAROMETRIC, 0);
}

void dest_info_step() {
  if (dest_info_state != 1 || fpl_active_last < 1) return;
  const FlightPlanWpt& last = fpl_active[fpl_active_last];
  if (std::strcmp(last.type, "APT") != 0) return;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(present_lat, present_lon, fpl_active[0].lat, fpl_active[0].lon, d, c);
  if (!(d > 8.0)) return;
  load_plan_airport_info(last.ident, 1);
  dest_info_state = 2;
  dest_info_text_1 = dest_info_loaded_1;
  dest_info_text_2 = dest_info_loaded_2;
  if (McuShowActiveRwys == 1) send_fplan_ipc(dest_info_text_2.c_str());
  loaded_rwy_index = -999;
  selected_approach_index = -999;
}

void set_enroute_radios(int mode) {
  if (mode == 1) {
    int r = dest_runway_index;
    if (r < 1 || r > apt_blocks[2].rwy_count || r > apt_rwy_limit) return;
    const RwyRecord& rwy = apt_blocks[2].rwys[r];
    int32_t course = key_param(rwy.heading2);
    if (course != 0) send_key(KEY_VOR1_OBS_SET, course);
    char six[8] = {};
    std::strncpy(six, rwy.freq, 6);
    send_frequency(KEY_NAV1_RADIO_SET, vor_frequency_digits(six));
    return;
  }
  if (mode != 2 || !active_record(fpl_active_index)) return;
  int found = -1;
  for (int i = fpl_active_index; i < fpl_active_last; ++i) {
    if (fpl_active[i].navaid[0] != '\0') {
      found = i;
      break;
    }
  }
  bool near = false;
  if (found > 0) {
    double d = 0.0, c = 0.0;
    compute_gc_distance_course(present_lat, present_lon, fpl_active[found].lat, fpl_active[found].lon, d, c);
    near = d <= 230.0;
  }
  if (near) {
    const FlightPlanWpt& r = fpl_active[found];
    send_course_between(found - 1, found);
    if (std::strcmp(r.type, "NDB") == 0) send_frequency(KEY_ADF_SET, std::strtol(r.navaid, nullptr, 10));
    else send_frequency(KEY_NAV1_RADIO_SET, vor_frequency_digits(r.navaid));
    return;
  }
  int i = fpl_active_index;
  if (i >= 1 && fpl_active[i - 1].navaid[0] != '\0') send_course_between(i - 1, i);
}
