// Route progress of the active plan.
#include "flightplan/route_progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "module/host_services.h"
#include "module/sim_vars.h"

double route_total_dist = 0.0;
double route_distance_to_go = 0.0;
double direct_dist_to_dest = 0.0;
double dist_to_active_wpt = 0.0;
double bearing_to_active_wpt = 0.0;
int32_t vnav_wpt_index = 0;

double magnetic_course(double true_course) {
  double c = true_course - magvar;
  if (c < 0.5) c += 360.0;
  if (c >= 360.5) c -= 360.0;
  return c;
}
double fpl_distance_to_go(int to) {
  const int last = fpl_active_last < FPL_MAX_LAST ? fpl_active_last : FPL_MAX_LAST;
  const int a = fpl_active_index;
  if (last < 1 || !fpl_valid_index(a, last) || to < a || to > last || fpl_route_break(fpl_active[to])) return -1.0;
  // Past a route break flown: straight to the first placed record after it.
  const int first = fpl_route_break(fpl_active[a]) ? fpl_placed_from(fpl_active, last, a + 1) : a;
  if (first < a || first > to) return -1.0;
  // The update's distance to the active record, unless it is marked (below 0).
  double d = first == a ? dist_to_active_wpt : -1.0;
  if (!(d >= 0.0)) d = compute_gc_distance(present_lat, present_lon, fpl_active[first].lat, fpl_active[first].lon);
  return (std::isfinite(d) ? d : 0.0) + fpl_distance_along(fpl_active, last, first, to);
}

double tod_route_dist = 0.0;
double tod_dist_to_dest = 0.0;
double vdev_gate_dist_1 = 0.0;
double vdev_gate_dist_2 = 0.0;
double vnav_path_altitude = 0.0;
double vnav_path_top_alt = 0.0;
double vnav_path_gradient = 0.0;
double climb_target_lat = 0.0, climb_target_lon = 0.0;
double tke_deg = 0.0, xtk_nm = 0.0, drift_deg = 0.0;
int32_t tke_side = 0, xtk_side = 0, drift_side = 0;
double desired_track = 0.0;

static constexpr double kEarthRadiusNm = 3437.7467707849396;
static constexpr double kPi = 3.14159265358979323846;

int route_end_index() {
  int last = fpl_active_last;
  if (last < 1 || last > FPL_MAX_LAST) return last;
  for (int i = 1; i < last; ++i) {
    const FlightPlanWpt& r = fpl_active[i];
    if (std::strcmp(r.role, "MAP") != 0 || !fpl_procedure_segment(r.segment)) continue;
    return fpl_valid_index(fpl_active_index, last) && fpl_active_index > i ? last : i;
  }
  return last;
}

int profile_end_index() {
  int end = route_end_index();
  if (end < 1 || end > FPL_MAX_LAST) return end;
  int from = fpl_valid_index(fpl_active_index, fpl_active_last) && fpl_active_index >= 1 ? fpl_active_index : 1;
  for (int i = from; i <= end; ++i)
    if (fpl_route_break(fpl_active[i])) return i - 1;
  return end;
}

bool fpl_at_or_above_met(int i, double altitude, double ft_per_nm) {
  if (!fpl_valid_index(i, fpl_active_last) || !fpl_at_or_above(fpl_active[i])) return false;
  const double alt = fpl_active[i].alt_constraint;
  if (!(alt < altitude)) return false;
  const int end = profile_end_index();
  if (i > end) return false;
  if (end < route_end_index()) return true;
  if (i == end) return false;  // the path's own end
  const double grad = std::isfinite(ft_per_nm) && ft_per_nm > 0.0 ? ft_per_nm : 0.0;
  double path = fpl_active[end].alt_constraint > FPL_NO_CONSTRAINT ? fpl_active[end].alt_constraint : 0.0;
  for (int k = end - 1; k >= i; --k) {
    path += grad * fpl_active[k + 1].leg_dist;
    const FlightPlanWpt& r = fpl_active[k];
    if (k == i || !fpl_has_constraint(r) || !(r.alt_constraint > FPL_NO_CONSTRAINT)) continue;
    path = fpl_at_or_above(r) ? std::max(path, r.alt_constraint) : r.alt_constraint;
  }
  return path >= alt;
}

void compute_leg_distances() {
  double sum = 0.0;
  for (int i = 0; i <= fpl_active_last && i < FPL_CAPACITY; ++i) {
    FlightPlanWpt& r = fpl_active[i];
    r.leg_dist = 0.0;
    r.leg_course = 0.0;
    if (i > 0 && !fpl_route_break(r) && !fpl_route_break(fpl_active[i - 1])) {
      double d = 0.0, c = 0.0;
      compute_gc_distance_course(fpl_active[i - 1].lat, fpl_active[i - 1].lon, r.lat, r.lon, d, c);
      if (std::isfinite(d)) r.leg_dist = d;
      if (std::isfinite(c)) r.leg_course = c;
    }
    sum += r.leg_dist;
    r.route_dist = sum;
  }
  route_total_dist = sum;
}

int compute_route_distance(int mode) {
  compute_leg_distances();
  return fpl_active_last >= 0 ? fpl_active_last + 1 : 0;
}

// Signed cross-track (NM, right positive) and along-track distance of (lat, lon) from
// the great circle a -> b.
void fpl_cross_along(double alat, double alon, double blat, double blon, double lat, double lon, double& xtk,
                     double& atk) {
  double d13 = 0.0, c13 = 0.0, d12 = 0.0, c12 = 0.0;
  compute_gc_distance_course(alat, alon, lat, lon, d13, c13);
  compute_gc_distance_course(alat, alon, blat, blon, d12, c12);
  double a13 = d13 / kEarthRadiusNm;
  double s = std::sin(a13) * std::sin((c13 - c12) * kPi / 180.0);
  if (s > 1.0) s = 1.0;
  if (s < -1.0) s = -1.0;
  double x = std::asin(s);
  xtk = x * kEarthRadiusNm;
  double cx = std::cos(x);
  double ca = cx != 0.0 ? std::cos(a13) / cx : 1.0;
  if (ca > 1.0) ca = 1.0;
  if (ca < -1.0) ca = -1.0;
  atk = std::acos(ca) * kEarthRadiusNm;
  if (std::cos((c13 - c12) * kPi / 180.0) < 0.0) atk = -atk;
  if (!std::isfinite(xtk)) xtk = 0.0;
  if (!std::isfinite(atk)) atk = 0.0;
}

// Along-route position (NM from record 0) of a point near the route: the leg with the
// smallest cross-track distance whose span holds the point.
static double along_route_position(double lat, double lon) {
  double best = -1.0, best_x = 1e9;
  for (int i = 1; i <= fpl_active_last; ++i) {
    const FlightPlanWpt& a = fpl_active[i - 1];
    const FlightPlanWpt& b = fpl_active[i];
    if (fpl_route_break(a) || fpl_route_break(b) || b.leg_dist <= 0.0) continue;
    double x = 0.0, at = 0.0;
    fpl_cross_along(a.lat, a.lon, b.lat, b.lon, lat, lon, x, at);
    if (at < -0.5 || at > b.leg_dist + 0.5) continue;
    if (std::fabs(x) < best_x) {
      best_x = std::fabs(x);
      double clamped = at < 0.0 ? 0.0 : (at > b.leg_dist ? b.leg_dist : at);
      best = a.route_dist + clamped;
    }
  }
  return best;
}

// A record the aircraft passed by a direct-to: one before the direct-to's own leg, or the
// DIRECT record that marks where the direct-to began (and the records before it).
static bool skipped_by_direct_to(int i) {
  return (dto_active == 1 && i < fpl_active_index) || std::strcmp(fpl_active[i].ident, "DIRECT") == 0;
}

static void format_eta(char (&out)[16], double hours_of_day, double minutes_ahead) {
  double total = hours_of_day * 60.0 + minutes_ahead;
  if (!std::isfinite(total)) {
    out[0] = '\0';
    return;
  }
  long m = std::lround(std::fmod(total, 1440.0));
  m %= 1440;
  if (m < 0) m += 1440;
  std::snprintf(out, sizeof out, "%02ld:%02ld", m / 60, m % 60);
}

void update_active_legs(const RouteProgressInput& in) {
  compute_leg_distances();
  route_distance_to_go = 0.0;
  direct_dist_to_dest = 0.0;
  dist_to_active_wpt = 0.0;
  tod_route_dist = 0.0;
  vnav_path_gradient = 0.0;
  if (fpl_active_last < 0 || !fpl_valid_index(fpl_active_index, fpl_active_last)) {
    vdev_gate_dist_1 = vdev_gate_dist_2 = 0.0;
    return;
  }
  const FlightPlanWpt& act = fpl_active[fpl_active_index];
  const FlightPlanWpt& dest = fpl_active[fpl_active_last];
  const double end_dist = fpl_active[route_end_index()].route_dist;
  double d = 0.0, c = 0.0;
  // A route break active has no position: nothing is measured to it.
  const bool placed = !fpl_route_break(act);
  if (placed) compute_gc_distance_course(present_lat, present_lon, act.lat, act.lon, d, c);
  dist_to_active_wpt = placed && std::isfinite(d) ? d : 0.0;
  compute_gc_distance_course(present_lat, present_lon, dest.lat, dest.lon, d, c);
  direct_dist_to_dest = std::isfinite(d) ? d : 0.0;
  // Along the route: to the active record, then its remaining legs; past a route break,
  // straight to the first record placed after it.
  double ahead = dist_to_active_wpt + (end_dist - act.route_dist);
  if (!placed) ahead = std::max(fpl_distance_to_go(route_end_index()), 0.0);
  route_distance_to_go = ahead;
  double present_pos = end_dist - ahead;  // along-route position of the aircraft

  if (in.tod_valid) {
    double tod_pos = along_route_position(in.tod_lat, in.tod_lon);
    if (tod_pos >= 0.0) {
      tod_dist_to_dest = end_dist - tod_pos;
      tod_route_dist = tod_pos - present_pos > 0.0 ? tod_pos - present_pos : 0.0;
      if (in.tod_reached && fpl_valid_index(in.vnav_wpt_index, fpl_active_last)) {
        double wpt_pos = fpl_active[in.vnav_wpt_index].route_dist;
        vdev_gate_dist_1 = wpt_pos - tod_pos;
        vdev_gate_dist_2 = wpt_pos - present_pos;
        // The path runs straight from the TOD at the level, or from the last altitude
        // constraint after it (met at its fix), down to the target; a record a direct-to
        // skipped was never flown: from the direct-to on, the path rises at the profile's
        // gradient from the target along the way flown to it. It starts no higher than flown
        // since the TOD.
        vnav_path_top_alt = std::max(vnav_path_top_alt, in.altitude);
        double from_pos = tod_pos, from_alt = in.level_alt > 0.0 ? in.level_alt : cruise_alt;
        double span = wpt_pos - tod_pos, direct_gradient = 0.0;
        for (int i = in.vnav_wpt_index - 1; i >= 0; --i) {
          const FlightPlanWpt& r = fpl_active[i];
          if (fpl_route_break(r) || r.route_dist <= tod_pos) break;
          if (skipped_by_direct_to(i)) {
            direct_gradient = in.descent_ft_per_nm;
            if (direct_gradient > 0.0) break;
            // No gradient told: from a TOD among the skipped records straight to where the
            // direct-to began.
            double blat = r.lat, blon = r.lon, rest = wpt_pos - r.route_dist;
            if (std::strcmp(r.ident, "DIRECT") != 0) {
              blat = dto_origin_lat, blon = dto_origin_lon;
              rest = compute_gc_distance(blat, blon, act.lat, act.lon) + wpt_pos - act.route_dist;
            }
            const double to_start = compute_gc_distance(in.tod_lat, in.tod_lon, blat, blon);
            if (std::isfinite(to_start) && std::isfinite(rest)) span = to_start + rest;
            break;
          }
          if (fpl_has_constraint(r) && r.alt_constraint > FPL_NO_CONSTRAINT && std::strcmp(r.type, "APT") != 0 &&
              !fpl_at_or_above_met(i, in.altitude, in.descent_ft_per_nm)) {
            from_pos = r.route_dist, from_alt = r.alt_constraint, span = wpt_pos - from_pos;
            break;
          }
        }
        const double to_go = std::max(vdev_gate_dist_2, 0.0);
        if (direct_gradient > 0.0) {
          vnav_path_gradient = direct_gradient;
          vnav_path_altitude = in.vnav_target_alt + direct_gradient * to_go;
        } else if (span > 0.0 && to_go < span) {
          vnav_path_gradient = (from_alt - in.vnav_target_alt) / span;
          vnav_path_altitude = in.vnav_target_alt + vnav_path_gradient * to_go;
        } else {
          vnav_path_altitude = span > 0.0 ? from_alt : in.vnav_target_alt;
        }
        // Level at the top: at the profile's level, or no higher than flown since the TOD.
        double top = from_alt;
        if (vnav_path_top_alt > in.vnav_target_alt) top = std::min(top, vnav_path_top_alt);
        if (vnav_path_altitude >= top && top > in.vnav_target_alt) {
          vnav_path_altitude = top;
          vnav_path_gradient = 0.0;
        }
      }
    }
  }
  if (!in.tod_reached) vnav_path_top_alt = 0.0;
  if (!in.tod_reached && cruise_alt > 1000) vdev_gate_dist_2 = 0.0;

  // Next climb constraint: the first record from the active one with an altitude
  // constraint that is not an airport, else the top of climb. A crossing prediction is
  // no constraint.
  bool found = false;
  for (int i = fpl_active_index; i <= fpl_active_last; ++i) {
    const FlightPlanWpt& r = fpl_active[i];
    if (fpl_has_constraint(r) && r.alt_constraint > 0.0 && std::strcmp(r.type, "APT") != 0 &&
        std::strcmp(r.segment, "SID") == 0) {
      climb_target_lat = r.lat;
      climb_target_lon = r.lon;
      found = true;
      break;
    }
  }
  if (!found && in.toc_valid) {
    climb_target_lat = in.toc_lat;
    climb_target_lon = in.toc_lon;
  }

  // ETAs.
  double clock = in.eta_local == 1 ? in.local_hours : in.zulu_hours;
  for (int i = fpl_active_index; i <= fpl_active_last; ++i) {
    FlightPlanWpt& r = fpl_active[i];
    if (ground_speed <= 25.0 || fpl_route_break(r)) {
      r.eta[0] = '\0';
      continue;
    }
    double dist = dist_to_active_wpt + (r.route_dist - act.route_dist);
    format_eta(r.eta, clock, dist / ground_speed * 60.0);
  }
}

static double wrap180(double a) {
  a = std::fmod(a, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a < -180.0) a += 360.0;
  return a;
}

bool fpl_intercept_leg() {
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return false;
  const FlightPlanWpt& to = fpl_active[fpl_active_index];
  return to.intc_course > FPL_NO_INTERCEPT && to.intc_course <= 360.0 && !fpl_route_break(to);
}

bool fpl_active_leg_start(double& lat, double& lon) {
  const int i = fpl_active_index;
  if (!fpl_valid_index(i, fpl_active_last)) return false;
  const FlightPlanWpt& to = fpl_active[i];
  if (fpl_intercept_leg()) {
    // Far enough behind the fix that the aircraft joins the course after the leg's start.
    const double reach = compute_gc_distance(present_lat, present_lon, to.lat, to.lon) + 10.0;
    compute_dest_point(to.lat, to.lon, std::fmod(to.intc_course + magvar + 540.0, 360.0),
                       std::isfinite(reach) ? reach : 10.0, lat, lon);
    return std::isfinite(lat) && std::isfinite(lon);
  }
  if (dto_active == 1) {
    lat = dto_origin_lat;
    lon = dto_origin_lon;
    return true;
  }
  if (i < 1 || fpl_route_break(fpl_active[i - 1])) return false;
  lat = fpl_active[i - 1].lat;
  lon = fpl_active[i - 1].lon;
  return true;
}

bool route_end_passed() {
  const int a = fpl_active_index;
  double slat = 0.0, slon = 0.0;
  if (!fpl_valid_index(a, fpl_active_last) || a < route_end_index() || !fpl_active_leg_start(slat, slon)) return false;
  const FlightPlanWpt& end = fpl_active[a];
  double xtk = 0.0, atk = 0.0;
  fpl_cross_along(slat, slon, end.lat, end.lon, present_lat, present_lon, xtk, atk);
  const double leg = compute_gc_distance(slat, slon, end.lat, end.lon);
  return std::isfinite(leg) && atk > leg;
}

void compute_track_errors(double lat, double lon, double track_true, double heading_true, int& tke_s, double& tke,
                          int& xtk_s, double& xtk, int& drift_s, double& drift, int selector) {
  tke_s = xtk_s = drift_s = 0;
  tke = drift = 0.0;
  xtk = -99.0;
  tke_deg = drift_deg = 0.0;
  tke_side = xtk_side = drift_side = 0;
  xtk_nm = -99.0;
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return;
  const FlightPlanWpt& to = fpl_active[fpl_active_index];
  // No leg into a route break: no track error measured to it.
  if (fpl_route_break(to)) return;
  double slat, slon;
  if (!fpl_active_leg_start(slat, slon)) return;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(slat, slon, to.lat, to.lon, d, c);
  desired_track = c;
  double x = 0.0, at = 0.0;
  fpl_cross_along(slat, slon, to.lat, to.lon, lat, lon, x, at);
  double limit = selector == 7 ? 125.0 : 5.0;
  xtk = std::fabs(x) > limit ? limit : std::fabs(x);
  xtk_s = x < 0.0 ? 1 : 2;
  double e = wrap180(track_true - c);
  tke = std::fabs(e);
  tke_s = e < 0.0 ? 1 : 2;
  double dr = wrap180(heading_true - c);
  drift = std::fabs(dr);
  drift_s = dr < 0.0 ? 1 : 2;
  tke_deg = tke;
  tke_side = tke_s;
  xtk_nm = xtk;
  xtk_side = xtk_s;
  drift_deg = drift;
  drift_side = drift_s;
}

int set_leg_targets(int mode, double& target_alt, double& target_spd) {
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return 0;
  const FlightPlanWpt& r = fpl_active[fpl_active_index];
  int applied = 0;
  if (r.alt_constraint > FPL_NO_CONSTRAINT) {
    target_alt = r.alt_constraint;
    applied = 1;
  }
  if (r.spd_constraint > 0.0) {
    target_spd = r.spd_constraint;
    applied = 1;
  }
  return applied;
}

void set_tower_view_position() {
  int i = fpl_active_dest_index;
  if (!fpl_valid_index(i, fpl_active_last)) {
    if (fpl_active_last < 0 || std::strcmp(fpl_active[fpl_active_last].type, "APT") != 0) return;
    i = fpl_active_last;
  }
  const FlightPlanWpt& r = fpl_active[i];
  double elev = r.alt_constraint > FPL_NO_CONSTRAINT ? r.alt_constraint : 0.0;
  host_set_tower_view(r.lat, r.lon, elev);
}
