#include "guidance/hold_legs.h"

#include <algorithm>
#include <cmath>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/waypoint_sequencing.h"
#include "module/load_state.h"
#include "platform/host/sim_token_ids.h"

int32_t hold_corner_prev = 0;
double hold_hdg_cmd = 0.0, hold_hdg_sent = 0.0;
double hold_corner_dist = 0.0, hold_corner_course = 0.0;
double hold_leg_dist = 0.0, hold_leg_course = 0.0;
const char* const hold_corner_names[5] = {"", "Xwind", "Dwind", "Base", "Final"};

namespace {

double corner_lat[5], corner_lon[5];

double turned(double course, bool right) {
  if (right) {
    course += 90.0;
    if (course >= 360.0) course -= 360.0;
  } else {
    course -= 90.0;
    if (course < 0.0) course += 360.0;
  }
  return course;
}

void measure_corner() {
  int c = std::clamp<int>(holding_active, 0, 4);
  compute_gc_distance_course(present_lat, present_lon, corner_lat[c], corner_lon[c], hold_corner_dist,
                             hold_corner_course);
  if (c > 0) {
    int p = std::clamp<int>(hold_corner_prev, 0, 4);
    compute_gc_distance_course(corner_lat[p], corner_lon[p], corner_lat[c], corner_lon[c], hold_leg_dist,
                               hold_leg_course);
  }
}

}  // namespace

bool hold_being_flown() { return holds_changed != 0 && holding_active != 0; }

void drop_first_hold() {
  if (hold_count <= 0) return;
  const HoldRecord& h = hold_list[1];
  int n = h.edit_wpt > 0 ? h.edit_wpt : h.active_wpt;
  int before = hold_count;
  if (n >= 1) remove_hold(n, 0);
  if (hold_count == before) {
    // A hold whose record was unset: take the entry out of the list directly.
    for (int k = 1; k < hold_count; ++k) hold_list[k] = hold_list[k + 1];
    hold_list[hold_count] = HoldRecord{};
    --hold_count;
    sync_hold_numbers();
  }
  holding_active = 0;
}

void fly_hold_pattern() {
  if (hold_count <= 0) return;
  HoldRecord& h = hold_list[1];
  if (holding_active < 0 || holding_active > 4) holding_active = 0;
  double c = finite_or(h.inbound_course + magvar, 0.0);
  c = std::fmod(c, 360.0);
  if (c < 0.0) c += 360.0;
  double leg = h.leg_dist;
  if (h.leg_mode == 1) {
    leg = std::max(ground_speed, 150.0) / 60.0 * h.leg_time;
    h.leg_dist = leg;
  }
  leg = finite_or(leg, 0.0);
  double s = 1.5 * leg;
  bool right = h.turn == 1;
  corner_lat[0] = h.lat;
  corner_lon[0] = h.lon;
  compute_dest_point(h.lat, h.lon, c, 0.2 * s, corner_lat[1], corner_lon[1]);
  double c1 = turned(c, right);
  compute_dest_point(corner_lat[1], corner_lon[1], c1, 0.5 * s, corner_lat[2], corner_lon[2]);
  double c2 = turned(c1, right);
  compute_dest_point(corner_lat[2], corner_lon[2], c2, 0.75 * s, corner_lat[3], corner_lon[3]);
  double c3 = turned(c2, right);
  compute_dest_point(corner_lat[3], corner_lon[3], c3, 0.5 * s, corner_lat[4], corner_lon[4]);

  if (lnav_on != 1) return;
  for (int k = 0; k <= 4; ++k) {
    h.pattern_lat[k] = corner_lat[k];
    h.pattern_lon[k] = corner_lon[k];
  }
  measure_corner();
  double d = hold_corner_dist;
  if (holding_active > 0) {
    if (d > 2.5 * hold_leg_dist) d = 0.0;
    else if (course_difference(hold_corner_course, hold_leg_course) > 90.0) d = 0.0;
  }
  bool reached = d <= 0.25 * s;
  if (reached && holding_active > 0) {
    if (hold_exit_state == 2 && holding_active == 1) hold_exit_state = 3;
    if (hold_exit_state == 3) {
      holds_changed = 0;
      drop_first_hold();
      holding_active = 0;
      hold_exit_state = 0;
      return;
    }
  }
  double fix_dist = 0.0, fix_course = 0.0;
  compute_gc_distance_course(present_lat, present_lon, h.lat, h.lon, fix_dist, fix_course);
  if (reached || (holding_active == 0 && fix_dist <= wpt_change_dist)) {
    if (holding_active == 0) {
      holds_changed = 1;
      // An exit asked before the fix (AUTO) still ends the hold at the fix.
      if (!hold_exit_asked()) hold_exit_state = 0;
    }
    holding_active = holding_active >= 4 ? 1 : holding_active + 1;
    hold_corner_prev = holding_active - 1 < 1 ? 4 : holding_active - 1;
    measure_corner();
  }
  hold_hdg_cmd = magnetic_course(finite_or(hold_corner_course, 360.0));
  if (holds_changed == 1 && holding_active >= 1 && key_param(hold_hdg_cmd) != key_param(hold_hdg_sent)) {
    send_key(KEY_AP_HEADING_SET, hold_hdg_cmd);
    hold_hdg_sent = hold_hdg_cmd;
  }
}

void keep_hold_legs_state(LoadState& state) { state.keep(corner_lat, corner_lon); }
