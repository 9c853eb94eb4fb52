#include "guidance/hold_legs.h"

#include <algorithm>
#include <cmath>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "guidance/waypoint_sequencing.h"
#include "module/load_state.h"
#include "platform/host/sim_token_ids.h"

int32_t hold_corner_prev = 0;
double hold_hdg_cmd = 0.0, hold_hdg_sent = 0.0;
double hold_corner_dist = 0.0, hold_corner_course = 0.0;
double hold_leg_dist = 0.0, hold_leg_course = 0.0;
const char* const hold_corner_names[5] = {"", "Xwind", "Dwind", "Base", "Final"};

double hold_pattern_leg = 0.0;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kD2r = kPi / 180.0;
// The racetrack as the maps draw it, in leg lengths L from the fix along the inbound
// course: its ends lie 0.3 L past the fix and 0.85 L before it, its outbound side 0.5 L
// to the holding side. The turns are half circles of radius 0.25 L.
constexpr double kFarEnd = 0.3, kNearEnd = 0.85, kWidth = 0.5;
// The radius of a turn at the speed flown stays below the racetrack's by this factor.
constexpr double kTurnMargin = 1.1;
// A teardrop entry leaves the fix 30 degrees off the outbound course toward the holding
// side and turns back 0.8 L before the fix, where a turn of the racetrack's radius ends
// on the inbound course.
constexpr double kTeardropAngle = 30.0, kTeardropEnd = 0.8;

double corner_lat[5], corner_lon[5];
// A parallel entry under way: 1 outbound on the non-holding side, 2 turning back toward the
// holding side onto the inbound course; 0 none.
int32_t parallel_entry = 0;
// A teardrop entry's offset leg under way: 1, else 0.
int32_t teardrop_entry = 0;
// The entry flown into the first hold (HOLD_ENTRY_*), 0 before its fix.
int32_t hold_entry_flown = 0;
int32_t hold_speed_sent = 0;
double hold_speed_asked = 0.0;  // knots

// Position in the hold's frame: u along the inbound course from the fix, v toward the
// holding side, both NM.
struct HoldFrame {
  double lat, lon, course, side;  // fix, true inbound course, +1 right turns / -1 left
  void to_uv(double plat, double plon, double& u, double& v) const {
    double d = 0.0, c = 0.0;
    compute_gc_distance_course(lat, lon, plat, plon, d, c);
    double a = (c - course) * kD2r;
    u = d * std::cos(a);
    v = side * d * std::sin(a);
  }
  void to_latlon(double u, double v, double& plat, double& plon) const {
    double d = std::hypot(u, v);
    double c = course + std::atan2(side * v, u) / kD2r;
    compute_dest_point(lat, lon, c, d, plat, plon);
  }
  // True course of a direction (du, dv) of the frame.
  double course_of(double du, double dv) const { return course + std::atan2(side * dv, du) / kD2r; }
};

// Speed (knots over the ground, at most) the turns are sized for: the holding speed once
// asked, else the true airspeed, with the wind that may blow along.
double turn_speed() {
  double tas = hold_speed_sent == 1 ? ias_to_tas(hold_speed_asked, indicated_altitude) : true_airspeed;
  return finite_or(tas, 0.0) + std::max(finite_or(wind_speed, 0.0), 0.0);
}

// Course to fly to stay on the segment toward corner `target` from (u, v); the turns are
// followed through a point a little ahead on their circle.
double segment_course(const HoldFrame& f, int target, double L, double u, double v) {
  double r = 0.25 * L, look = std::clamp(0.3 * L, 0.5, 3.0);
  double far_u = kFarEnd * L - r, near_u = -kNearEnd * L + r;
  switch (target) {
    case 1:
      return f.course_of(look, -v);
    case 3:
      return f.course_of(-look, kWidth * L - v);
    default: {
      double cu = target == 2 ? far_u : near_u;
      double phi = std::atan2(v - r, u - cu) + look / r;
      return f.course_of(cu + r * std::cos(phi) - u, r + r * std::sin(phi) - v);
    }
  }
}

// Course of a parallel entry from (u, v): outbound along the inbound course's non-holding
// side, then a turn toward the holding side (against the hold's turns) onto the inbound
// course, both as long as the racetrack's own.
double parallel_entry_course(const HoldFrame& f, double L, double u, double v) {
  double r = 0.25 * L, look = std::clamp(0.3 * L, 0.5, 3.0), near_u = -kNearEnd * L + r;
  if (parallel_entry == 1) return f.course_of(-look, -r - v);
  double phi = std::atan2(v, u - near_u) - look / r;
  return f.course_of(near_u + r * std::cos(phi) - u, r * std::sin(phi) - v);
}

// Course of a teardrop entry's offset leg from (u, v): the line from the fix 30 degrees off
// the outbound course toward the holding side.
double teardrop_course(const HoldFrame& f, double L, double u, double v) {
  const double a = kTeardropAngle * kD2r, du = -std::cos(a), dv = std::sin(a);
  const double along = u * du + v * dv + std::clamp(0.3 * L, 0.5, 3.0);
  return f.course_of(along * du - u, along * dv - v);
}

// Degrees of a track (true) from the hold's inbound course, toward the holding side positive.
double track_from_inbound(const HoldFrame& f, double track) { return f.side * std::remainder(track - f.course, 360.0); }

// The entry by the sector the aircraft comes from, its track (true) measured from the
// inbound course toward the holding side: below -70 degrees (the outbound course up to 110
// degrees off the track against the hold's turns) a parallel entry; past 110 (the outbound
// course up to 70 degrees off the track the way the hold turns) a teardrop; else direct.
int32_t entry_for_track(const HoldFrame& f, double track) {
  double from_inbound = track_from_inbound(f, track);
  if (!std::isfinite(from_inbound)) return HOLD_ENTRY_DIRECT;
  if (from_inbound < -70.0 && from_inbound > -175.0) return HOLD_ENTRY_PARALLEL;
  if (std::fabs(from_inbound) > 110.0) return HOLD_ENTRY_TEARDROP;
  return HOLD_ENTRY_DIRECT;
}

// True once the aircraft at (u, v) has passed corner `target` along the racetrack.
bool corner_passed(int target, double L, double u, double v) {
  double r = 0.25 * L, far_u = kFarEnd * L - r, near_u = -kNearEnd * L + r;
  switch (target) {
    case 1: return u >= far_u;
    case 2: return u <= far_u && v > r;
    case 3: return u <= near_u;
    default: return u >= near_u && v < r;
  }
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

// The holding speed the hold pages show, never above the aircraft's speed limits, asked once
// two minutes before the fix while VNAV sets the speeds.
void send_hold_speed() {
  if (hold_speed_sent == 1 || vnav_on != 1 || VnavSetSpd != 1 || BestHoldIas <= 0) return;
  double hi = std::max({ClimbIasMax, CruiseIasMax, descent_ias_max});
  double ias = hi > 0.0 ? std::min<double>(BestHoldIas, hi) : BestHoldIas;
  if (ap_mach_hold > 0.0) {
    send_key(KEY_AP_SPEED_HOLD_A, 0);
    send_key(KEY_AP_SPEED_HOLD_B, 0);
  }
  if (send_vnav_speed(ias)) {
    hold_speed_sent = 1;
    hold_speed_asked = ias;
  }
}

// Leaving the hold: VNAV sets its own speed again.
void end_hold_speed() {
  if (hold_speed_sent == 1) vnav_spd_state = 0;
  hold_speed_sent = 0;
}

// No hold flown any more: no corner, entry or racetrack kept, the speed VNAV's again.
void forget_flown_hold() {
  holding_active = 0;
  parallel_entry = 0;
  teardrop_entry = 0;
  hold_entry_flown = 0;
  hold_pattern_leg = 0.0;
  end_hold_speed();
}

HoldFrame first_hold_frame() {
  const HoldRecord& h = hold_list[1];
  double c = std::fmod(finite_or(h.inbound_course + magvar, 0.0), 360.0);
  return {h.lat, h.lon, c < 0.0 ? c + 360.0 : c, h.turn == 1 ? 1.0 : -1.0};
}

}  // namespace

double hold_dist_to_fix() {
  if (!hold_being_flown() || hold_count < 1 || !(hold_pattern_leg > 0.0)) return 0.0;
  double L = hold_pattern_leg, r = 0.25 * L;
  double far_u = kFarEnd * L - r, near_u = -kNearEnd * L + r;
  double u = 0.0, v = 0.0;
  first_hold_frame().to_uv(present_lat, present_lon, u, v);
  if (holding_active == 1 && u < 0.0) return std::hypot(u, v);
  // To the corner flown to, then the racetrack's segments from it back to the fix.
  const double after[5] = {0.0, kPi * r + (far_u - near_u) + kPi * r - near_u, (far_u - near_u) + kPi * r - near_u,
                           kPi * r - near_u, -near_u};
  int k = std::clamp<int>(holding_active, 1, 4);
  return finite_or(hold_corner_dist, 0.0) + after[k];
}

bool hold_being_flown() { return holds_changed != 0 && holding_active != 0; }

void end_hold_without_record() {
  if (holding_active == 0 || (hold_count >= 1 && hold_list[1].active_wpt >= 1)) return;
  holds_changed = 0;
  hold_exit_state = 0;
  forget_flown_hold();
}

bool hold_speed_due() { return hold_speed_sent == 1; }

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
  forget_flown_hold();
}

int32_t hold_entry() {
  if (hold_count < 1) return 0;
  if (holding_active != 0 && hold_entry_flown != 0) return hold_entry_flown;
  // Before the fix: the entry the present track would fly.
  return entry_for_track(first_hold_frame(), ground_track + magvar);
}

void fly_hold_pattern() {
  if (hold_count <= 0) return;
  HoldRecord& h = hold_list[1];
  if (holding_active < 0 || holding_active > 4) holding_active = 0;
  double leg = h.leg_dist;
  if (h.leg_mode == 1) leg = std::max(ground_speed, 150.0) / 60.0 * h.leg_time;
  leg = finite_or(leg, 0.0);
  // Longer legs when the turns at the speed flown would not fit the racetrack.
  leg = std::max(leg, 4.0 * kTurnMargin * direct_turn_radius(turn_speed()));
  // In the hold the racetrack only grows: the wind changes the speed lap by lap.
  if (holding_active > 0) leg = std::max(leg, hold_pattern_leg);
  if (h.leg_mode == 1) h.leg_dist = leg;
  hold_pattern_leg = leg;
  HoldFrame f = first_hold_frame();
  double r = 0.25 * leg;
  double far_u = kFarEnd * leg - r, near_u = -kNearEnd * leg + r;
  corner_lat[0] = h.lat;
  corner_lon[0] = h.lon;
  f.to_latlon(far_u, 0.0, corner_lat[1], corner_lon[1]);
  f.to_latlon(far_u, kWidth * leg, corner_lat[2], corner_lon[2]);
  f.to_latlon(near_u, kWidth * leg, corner_lat[3], corner_lon[3]);
  f.to_latlon(near_u, 0.0, corner_lat[4], corner_lon[4]);

  if (lnav_on != 1) return;
  for (int k = 0; k <= 4; ++k) {
    h.pattern_lat[k] = corner_lat[k];
    h.pattern_lon[k] = corner_lon[k];
  }
  double u = 0.0, v = 0.0;
  f.to_uv(present_lat, present_lon, u, v);
  measure_corner();
  // An exit executed in the hold is flown as one asked ahead: the racetrack until the fix.
  if (h.exit_at_fix == 1 && holding_active > 0 && hold_exit_state != 3) hold_exit_state = 2;
  // A parallel entry ends on the inbound course, which is then flown to the fix.
  if (parallel_entry == 1 && u <= near_u) parallel_entry = 2;
  if (parallel_entry == 2 && u >= near_u && v > 0.0) {
    parallel_entry = 0;
    holding_active = 1;
    hold_corner_prev = 4;
  }
  // A teardrop's offset leg ends in the turn onto the inbound course.
  if (teardrop_entry == 1 && u <= -kTeardropEnd * leg) {
    teardrop_entry = 0;
    holding_active = 4;
    hold_corner_prev = 3;
  }
  bool reached = parallel_entry == 0 && teardrop_entry == 0 && holding_active > 0 &&
                 corner_passed(holding_active, leg, u, v);
  if (reached) {
    if (hold_exit_state == 2 && holding_active == 1) hold_exit_state = 3;
    if (hold_exit_state == 3) {
      holds_changed = 0;
      drop_first_hold();
      holding_active = 0;
      hold_exit_state = 0;
      // Leaving on the inbound course the aircraft may head far from the next leg.
      reach_fix_index = fpl_active_index + 1;
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
    // The entry by the sector the aircraft comes from; a direct entry across the inbound
    // course from the non-holding side (70 to 110 degrees) turns the hold's way onto the
    // outbound side first.
    if (holding_active == 0) {
      hold_entry_flown = entry_for_track(f, ground_track + magvar);
      double from_inbound = track_from_inbound(f, ground_track + magvar);
      parallel_entry = hold_entry_flown == HOLD_ENTRY_PARALLEL ? 1 : 0;
      teardrop_entry = hold_entry_flown == HOLD_ENTRY_TEARDROP ? 1 : 0;
      holding_active = hold_entry_flown != HOLD_ENTRY_DIRECT || from_inbound > 70.0 ? 3 : 1;
    } else {
      holding_active = holding_active >= 4 ? 1 : holding_active + 1;
    }
    hold_corner_prev = holding_active - 1 < 1 ? 4 : holding_active - 1;
    measure_corner();
  }
  if (holding_active == 0 && fix_dist < ground_speed / 30.0) send_hold_speed();
  if (holding_active == 0) return;
  double course = parallel_entry != 0   ? parallel_entry_course(f, leg, u, v)
                  : teardrop_entry != 0 ? teardrop_course(f, leg, u, v)
                                        : segment_course(f, holding_active, leg, u, v);
  hold_hdg_cmd = magnetic_course(finite_or(std::fmod(course + 720.0, 360.0), 360.0));
  if (holds_changed == 1 && key_param(hold_hdg_cmd) != key_param(hold_hdg_sent)) {
    send_key(KEY_AP_HEADING_SET, hold_hdg_cmd);
    hold_hdg_sent = hold_hdg_cmd;
  }
}

void keep_hold_legs_state(LoadState& state) {
  state.keep(corner_lat, corner_lon, parallel_entry, teardrop_entry, hold_entry_flown, hold_speed_sent,
             hold_speed_asked);
}
