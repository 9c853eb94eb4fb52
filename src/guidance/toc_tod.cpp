#include "guidance/toc_tod.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/cost_index_targets.h"
#include "guidance/flight_log.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/performance_tables.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "guidance/waypoint_sequencing.h"
#include "platform/host/sim_token_ids.h"

double proposed_cruise_alt = 0.0;
double toc_alt_reference = 0.0;
PerfClimbSegment perf_climb_segments[perf_climb_segment_capacity + 1];
int32_t perf_climb_segment_count = 0;
int32_t profile_display_index_1 = -1, profile_display_index_2 = -1;
void (*fms_phase_reached_hook)(int32_t phase) = nullptr;
double toc_lat = 0.0, toc_lon = 0.0;
int32_t toc_leg_index = 0;
int32_t toc_climb_dist = 0;
double toc_route_pos = 0.0;
double tod_lat = 0.0, tod_lon = 0.0;
double descent_rate = 0.0;
int32_t toc_valid = 0, tod_valid = 0;
double presel_alt = 0.0;
double profile_level_cap = 0.0;

namespace {

// Leg length of the leg into record i (0 for record 0 and for legs touching a
// discontinuity, as the route progress counts them).
double leg_into(int i) { return i >= 1 && i <= fpl_active_last ? fpl_active[i].leg_dist : 0.0; }

// Odd thousands eastbound, even thousands westbound.
int32_t parity_altitude(int32_t p, bool eastbound) {
  if (eastbound) {
    if (p % 2000 == 0) p -= 1000;
  } else if (p % 2000 != 0) {
    p -= 1000;
  }
  if (p <= 0) p = eastbound ? 1000 : 2000;
  return p;
}

double rate_from_fpa(double tas) { return static_cast<int>((tas / 60.0 * FPA * 100.0 + 50.0) / 100.0) * 100.0; }

// The leg flown into record `leg` under a direct-to: from the direct-to's origin.
bool direct_leg(int leg) { return dto_active == 1 && leg == fpl_active_index; }

// Point `back` NM before record `leg` on the course flown into it: the direct-to's
// course for the active leg of a direct-to, else the leg from the record before.
void point_before(int leg, double back, double& lat, double& lon) {
  const FlightPlanWpt& b = fpl_active[leg];
  double from_lat = direct_leg(leg) ? dto_origin_lat : fpl_active[leg - 1].lat;
  double from_lon = direct_leg(leg) ? dto_origin_lon : fpl_active[leg - 1].lon;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(b.lat, b.lon, from_lat, from_lon, d, c);
  compute_dest_point(b.lat, b.lon, c, back, lat, lon);
}

// Point at `dist` NM along the route from record 0, on the leg into record `leg`.
void point_on_leg(int leg, double along_leg, double& lat, double& lon) {
  if (direct_leg(leg)) {
    point_before(leg, leg_into(leg) - along_leg, lat, lon);
    return;
  }
  const FlightPlanWpt& a = fpl_active[leg - 1];
  const FlightPlanWpt& b = fpl_active[leg];
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(a.lat, a.lon, b.lat, b.lon, d, c);
  compute_dest_point(a.lat, a.lon, c, along_leg, lat, lon);
}

// The TOC lies `route_pos` NM along the route from record 0.
void place_toc(double route_pos) {
  double acc = 0.0;
  const int end = profile_end_index();
  for (int i = 1; i <= end; ++i) {
    double leg = leg_into(i);
    if (acc + leg >= route_pos && leg > 0.0) {
      point_on_leg(i, route_pos - acc, toc_lat, toc_lon);
      toc_leg_index = i - 1;
      toc_route_pos = route_pos;
      return;
    }
    acc += leg;
  }
  // A climb longer than the route ends at its last fix (before a route break at the latest).
  const int at = std::max(end, 0);
  toc_lat = fpl_active[at].lat;
  toc_lon = fpl_active[at].lon;
  toc_leg_index = at - 1;
  toc_route_pos = acc;
}

// The TOD lies `descent_dist` along the route before record `end`; never before a route
// break: the path flown begins after it.
void place_tod(int end, double descent_dist) {
  double acc = 0.0;
  for (int i = end; i >= 1; --i) {
    if (fpl_route_break(fpl_active[i - 1]) || fpl_route_break(fpl_active[i])) {
      int after = fpl_route_break(fpl_active[i]) ? i + 1 : i;
      tod_lat = fpl_active[std::min(after, end)].lat;
      tod_lon = fpl_active[std::min(after, end)].lon;
      return;
    }
    double leg = leg_into(i);
    if (acc + leg >= descent_dist && leg > 0.0) {
      point_before(i, descent_dist - acc, tod_lat, tod_lon);
      return;
    }
    acc += leg;
  }
  // A descent longer than the route starts at the origin.
  tod_lat = fpl_active[0].lat;
  tod_lon = fpl_active[0].lon;
}

}  // namespace

// Along-route distance of the aircraft from record 0: in flight the climb still to go
// starts there, not at the origin.
double present_route_pos() {
  int a = fpl_active_index;
  if (!active_record(a) || a < 1) return 0.0;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(present_lat, present_lon, fpl_active[a].lat, fpl_active[a].lon, d, c);
  double leg = fpl_active[a].leg_dist;
  if (!std::isfinite(d) || d > leg) d = leg;
  return fpl_active[a].route_dist - d;
}

double descent_ft_per_nm() {
  double grad = descent_rate / (DescentTas / 60.0);
  return std::isfinite(grad) && grad > 0.0 ? grad : 0.0;
}

bool at_or_above_met(int i) { return fpl_at_or_above_met(i, indicated_altitude, descent_ft_per_nm()); }

bool has_alt_constraint(int i) {
  return active_record(i) && fpl_has_constraint(fpl_active[i]) && fpl_active[i].alt_constraint > FPL_NO_CONSTRAINT &&
         !at_or_above_met(i);
}

namespace {

// The constraint the descent has to meet: the first altitude constraint ahead of the
// aircraft, up to a route break, below the level and not of the departure, that the
// climb (at `climb_rate` from the present altitude, held at the constraints below the level
// on its way) reaches at the level, or that lies below the aircraft or the constraint
// holding the climb; -1 when there is none. `held` is the last constraint holding the climb
// before it, -1 none.
int first_descent_constraint(double level, double climb_rate, int& held) {
  held = -1;
  int from = active_record(fpl_active_index) && fpl_active_index >= 1 ? fpl_active_index : 1;
  double alt = std::isfinite(indicated_altitude) ? indicated_altitude : 0.0;
  // Before any constraint holds the climb, one this far below the aircraft cannot hold
  // it down: the descent meets it.
  double below_aircraft = alt - 300.0;
  bool at_level = toc_reached == 1 || alt >= level;
  for (int i = from, end = profile_end_index(); i <= end; ++i) {
    const FlightPlanWpt& r = fpl_active[i];
    double before = alt;
    // The active leg is climbed from where the aircraft is, not from its start.
    double into = i == fpl_active_index ? std::max(fpl_active[i].route_dist - present_route_pos(), 0.0) : leg_into(i);
    if (ClimbTas > 0.0) alt += into / ClimbTas * 60.0 * climb_rate;
    if (fpl_has_constraint(r) && r.alt_constraint > FPL_NO_CONSTRAINT && r.alt_constraint < level &&
        std::strcmp(r.segment, "SID") != 0) {
      if (at_or_above_met(i)) {
        at_level = at_level || alt >= level;
        continue;
      }
      if (at_level || before >= level || r.alt_constraint < below_aircraft) return i;
      alt = r.alt_constraint;  // it holds the climb down; one below it is the descent's
      below_aircraft = r.alt_constraint;
      held = i;
      continue;
    }
    if (alt >= level) at_level = true;
  }
  return -1;
}

void move_toc_to(int record) {
  toc_leg_index = record - 1;
  toc_lat = fpl_active[record].lat;
  toc_lon = fpl_active[record].lon;
  toc_route_pos = fpl_active[record].route_dist;
  if (vnav_target_kind == 1) {
    vnav_target_lat = toc_lat;
    vnav_target_lon = toc_lon;
  }
}

// A prediction takes the altitude and speed fields of a record without an entered
// constraint, marked so that a saved plan leaves it out.
void predict(FlightPlanWpt& r, double alt, double spd) {
  r.alt_constraint = alt;
  r.spd_constraint = spd;
  r.predicted = 1;
}
void predict_speed(FlightPlanWpt& r, double spd) { predict(r, r.alt_constraint, spd); }

double truncated_hundreds(double alt) { return alt > 1000.0 ? std::floor(alt / 100.0) * 100.0 : alt; }

// Crossing altitude and speed of every record up to the route's end that has no
// constraint to meet, for a profile levelling at `cruise`.
void predict_waypoints(double climb_rate, double cruise) {
  // Before a route break the profile only climbs and cruises: the break ends the predictions.
  const bool to_break = profile_end_index() < route_end_index();
  int last = to_break ? profile_end_index() + 1 : route_end_index();
  double alt = fpl_active[0].alt_constraint > FPL_NO_CONSTRAINT ? fpl_active[0].alt_constraint : indicated_altitude;
  int first = 1;
  // Legs across a route break count no distance: with one behind the fix flown, the climb
  // ahead is walked from the aircraft, never from a climb left below it at the break.
  const int a = fpl_active_index;
  if (toc_reached == 0 && active_record(a) && a >= 2 && a < last && std::isfinite(indicated_altitude) &&
      std::any_of(fpl_active + 1, fpl_active + a, fpl_route_break)) {
    first = a;
    double to_fix = 0.0, c = 0.0;
    compute_gc_distance_course(present_lat, present_lon, fpl_active[a].lat, fpl_active[a].lon, to_fix, c);
    if (!std::isfinite(to_fix)) to_fix = 0.0;
    alt = indicated_altitude + (to_fix - leg_into(a)) / ClimbTas * 60.0 * climb_rate;
  }
  int climb_end = last;
  for (int i = first; i < last; ++i) {
    FlightPlanWpt& r = fpl_active[i];
    alt += leg_into(i) / ClimbTas * 60.0 * climb_rate;
    if (has_alt_constraint(i)) {
      alt = r.alt_constraint;
      for (int k = i - 1; k >= 1 && !fpl_has_constraint(fpl_active[k]); --k)
        if (r.spd_constraint > 0.0 && fpl_active[k].spd_constraint > r.spd_constraint)
          predict_speed(fpl_active[k], r.spd_constraint);
      continue;
    }
    if (fpl_has_constraint(r)) continue;
    if (alt >= cruise) {
      predict(r, cruise, CruiseTas);
      climb_end = i;
      break;
    }
    double limit = cruise;
    int held_by = -1;
    // The next constrained record limits the prediction when it lies below the cruise
    // altitude and the climb does not reach the cruise altitude before it.
    double ahead = alt;
    for (int k = i + 1; k <= last; ++k) {
      if (has_alt_constraint(k)) {
        if (fpl_active[k].alt_constraint < cruise && ahead < cruise) {
          limit = fpl_active[k].alt_constraint;
          held_by = k;
        }
        break;
      }
      ahead += leg_into(k) / ClimbTas * 60.0 * climb_rate;
    }
    predict(r, std::min(truncated_hundreds(alt), limit), r.spd_constraint);
    // A constraint that holds the climb below the cruise altitude beyond the TOC
    // moves the TOC onto it.
    if (held_by > 0 && toc_reached == 0 && fpl_active[held_by].route_dist > toc_route_pos) move_toc_to(held_by);
    double spd = ClimbIas;
    if (ClbSpdRest > 0.0 && r.alt_constraint < ClbAltRest && ClimbIas > ClbSpdRest) spd = ClbSpdRest;
    predict_speed(r, spd);
  }
  alt = fpl_active[last].alt_constraint > FPL_NO_CONSTRAINT ? fpl_active[last].alt_constraint : 0.0;
  int descent_start = to_break ? last - 1 : climb_end;
  // The descent is walked back from the destination until it reaches the cruise
  // altitude. It may pass the record where the climb reached the cruise altitude, and
  // records before it, when the top of descent lies before them (a short cruise inside
  // one leg, or none): such a record takes the lower of its two predictions, and the
  // walk ends where the descent meets the climb or a constrained record of the climb.
  for (int i = to_break ? 0 : last - 1; i >= 1; --i) {
    FlightPlanWpt& r = fpl_active[i];
    bool climb_side = i <= climb_end;
    alt += leg_into(i + 1) / DescentTas * 60.0 * descent_rate;
    if (fpl_has_constraint(r)) {
      if (climb_side) break;
      if (r.alt_constraint > FPL_NO_CONSTRAINT && !at_or_above_met(i)) alt = r.alt_constraint;
      // The records after it, up to the next constrained one, fly no faster.
      for (int k = i + 1; k < last && !fpl_has_constraint(fpl_active[k]); ++k)
        if (r.spd_constraint > 0.0 && fpl_active[k].spd_constraint > r.spd_constraint)
          predict_speed(fpl_active[k], r.spd_constraint);
      continue;
    }
    if (alt >= cruise) {
      if (!climb_side) descent_start = i;
      break;
    }
    // Below a constrained record that lies under the cruise altitude, unless the
    // descent reaches the cruise altitude before it.
    double limit = cruise;
    double ahead = alt;
    for (int k = i - 1; k > climb_end; --k) {
      if (has_alt_constraint(k)) {
        if (fpl_active[k].alt_constraint < cruise && ahead < cruise) limit = fpl_active[k].alt_constraint;
        break;
      }
      ahead += leg_into(k + 1) / DescentTas * 60.0 * descent_rate;
    }
    double predicted = std::min(truncated_hundreds(alt), limit);
    if (climb_side && !(predicted < r.alt_constraint)) break;
    double spd = DescentIas;
    if (DescSpdRest > 0.0 && predicted < DescAltRest && DescentIas > DescSpdRest) spd = DescSpdRest;
    predict(r, predicted, spd);
  }
  for (int i = climb_end + 1; i <= descent_start && i < last; ++i) {
    FlightPlanWpt& r = fpl_active[i];
    if (fpl_has_constraint(r)) continue;
    predict(r, cruise, CruiseTas);
  }
}

}  // namespace

int32_t semicircular_altitude(int32_t altitude, bool eastbound) {
  if (altitude < 42000) return parity_altitude(altitude / 1000 * 1000, eastbound);
  if (eastbound) {
    if (altitude > 57000) return 57000;
    if (altitude > 53000) return 53000;
    if (altitude > 49000) return 49000;
    return 45000;
  }
  if (altitude > 55000) return 55000;
  if (altitude > 51000) return 51000;
  if (altitude > 47000) return 47000;
  return 43000;
}

namespace {

// Distance (NM) of a descent from `from` down to `to` feet, 1000 ft at a time with the
// descent row nearest in altitude; the aircraft's descent figures without rows.
double perf_descent_distance(double from, double to) {
  double dist = 0.0;
  for (int step = 0; step < 100 && from > to; ++step) {
    double tas = DescentTas, rate = DescentRate;
    if (int32_t row = perf_nearest_row(perf_descent, perf_descent_count, from); row > 0) {
      tas = perf_descent[row].col[2];
      rate = perf_descent[row].col[3];
    }
    if (!(tas > 0.0) || !(rate > 0.0)) return 0.0;
    double feet = std::min(1000.0, from - to);
    dist += tas / 60.0 * (feet / rate);
    from -= feet;
  }
  return dist;
}

}  // namespace

int32_t compute_perf_cruise_altitude() {
  if (fpl_active_last < 1 || fpl_active_last > FPL_MAX_LAST || perf_cruise_count < 1 || perf_climb_count < 1) return 0;
  compute_route_distance(1);
  double route = route_total_dist;
  double half = route / 2.0;
  if (half > 450.0) half = 200.0;
  else if (half > 35.0) half -= 15.0;
  double ceiling = perf_highest_altitude();
  if (!(ceiling > 0.0)) return 0;

  constexpr double kHighestLevel = 99000.0;
  // Climb in 20-NM steps; the profile keeps the altitude at the end of each step.
  constexpr int kMaxSteps = 64;
  double profile_alt[kMaxSteps + 1];
  double start_alt = std::isfinite(indicated_altitude) && indicated_altitude > 0.0 ? indicated_altitude : 0.0;
  double alt = start_alt;
  double weight = zero_fuel_weight + 100.0 + read_fuel_on_board();
  double flown = 0.0;
  int steps = 0;
  profile_alt[0] = alt;
  perf_climb_segment_count = 0;
  while (steps < kMaxSteps && alt < ceiling && flown < half) {
    int32_t row = perf_nearest_row(perf_climb, perf_climb_count, alt);
    if (row < 1) break;
    double tas = perf_climb[row].col[2];
    double rate = perf_climb[row].col[3];
    if (alt < 10000.0 && tas > 300.0) tas = 300.0;
    if (ClbSpdRest > 0.0 && alt < ClbAltRest) tas = ias_to_tas(ClbSpdRest, alt);
    if (!(tas > 0.0) || !(rate > 0.0)) break;
    double hours = 20.0 / tas;
    double fuel = perf_climb_fuel_flow(row, perf_nearest_weight(weight)) * hours;
    alt += rate * hours * 60.0;
    weight -= fuel;
    flown += 20.0;
    profile_alt[++steps] = alt;
    // Each change of TAS starts a new climb segment.
    int32_t& n = perf_climb_segment_count;
    if (n == 0 || perf_climb_segments[n].tas != tas) {
      if (n >= perf_climb_segment_capacity) continue;
      perf_climb_segments[++n] = {tas, rate, 0.0, 0.0};
    }
    perf_climb_segments[n].minutes += hours * 60.0;
    perf_climb_segments[n].fuel += fuel;
  }
  double reached = std::min(alt, ceiling);
  double field = fpl_active[fpl_active_last].alt_constraint > FPL_NO_CONSTRAINT
                     ? fpl_active[fpl_active_last].alt_constraint
                     : 0.0;

  // The cruise row within reach that burns the least fuel per mile at the weight on
  // top of the climb, allowed at that weight and leaving room for the descent.
  int32_t column = std::max(perf_nearest_weight(weight), 1);
  double best_alt = 0.0, best_per_nm = 0.0;
  for (int32_t i = 1; i <= perf_cruise_count && i <= perf_row_capacity; ++i) {
    double a = perf_cruise[i].col[1];
    double tas = perf_cruise[i].col[2];
    double flow = perf_cruise_fuel_flow(i, column);
    if (!(a >= 1000.0) || a > reached || a > kHighestLevel || !(tas > 0.0) || !(flow > 0.0)) continue;
    if (int32_t limit = perf_nearest_row(perf_altitude, perf_altitude_count, a);
        limit > 0 && perf_altitude[limit].col[2] > 0.0 && weight > perf_altitude[limit].col[2])
      continue;
    double climb = 0.0;
    for (int k = 1; k <= steps; ++k) {
      if (profile_alt[k] >= a) {
        double part = (a - profile_alt[k - 1]) / (profile_alt[k] - profile_alt[k - 1]);
        climb = 20.0 * (k - 1) + 20.0 * std::clamp(part, 0.0, 1.0);
        break;
      }
    }
    if (climb + perf_descent_distance(a, field) > route) continue;
    double per_nm = flow / tas;
    if (best_alt == 0.0 || per_nm < best_per_nm || (per_nm == best_per_nm && a > best_alt)) {
      best_alt = a;
      best_per_nm = per_nm;
    }
  }
  return static_cast<int32_t>(best_alt) / 1000 * 1000;
}

void propose_cruise_altitude(double altitude, int mode) {
  int last = fpl_active_last;
  if (last < 1 || last > FPL_MAX_LAST) return;
  if (!std::isfinite(altitude) || altitude < 0.0) altitude = 0.0;
  compute_route_distance(1);
  double route = route_total_dist;
  double dc = 0.0, course = 0.0;
  compute_gc_distance_course(fpl_active[0].lat, fpl_active[0].lon, fpl_active[last].lat, fpl_active[last].lon, dc,
                             course);
  bool eastbound = course < 180.0;
  double half = route / 2.0;
  if (half > 35.0) half -= 15.0;

  double r = FPA > 0.0 ? rate_from_fpa(ClimbTas) : ClimbRate;
  // Without a climb rate or speed there is no profile: the previous one stays.
  if (!(r > 0.0) || !(ClimbTas > 0.0)) return;

  double proposal = proposed_cruise_alt;
  if (altitude > 0.0) {
    proposal = altitude;
  } else if (int32_t perf = compute_perf_cruise_altitude(); perf > 0) {
    proposal = semicircular_altitude(perf, eastbound);
    FPA = 0.0;
    r = ClimbRate;
    if (!(r > 0.0)) return;
  } else {
    double flown = 0.0;
    for (int m = 1; m <= 199; ++m) {
      flown += ClimbTas / 60.0;
      double h = indicated_altitude + m * r;
      if (h >= MaxCruise) {
        proposal = semicircular_altitude(MaxCruise, eastbound);
        break;
      }
      if (flown >= half) {
        proposal = parity_altitude(static_cast<int32_t>(h / 1000.0) * 1000, eastbound);
        break;
      }
    }
    if (!(proposal > 0.0)) proposal = semicircular_altitude(MaxCruise > 0 ? MaxCruise : 35000, eastbound);
  }
  double start_alt = std::isfinite(indicated_altitude) ? indicated_altitude : 0.0;
  double climb_dist = (proposal - start_alt) / r * ClimbTas / 60.0;
  if (!(climb_dist > 0.0)) climb_dist = 0.0;
  double level_before = vnav_level_alt();

  // A cruise altitude above the aircraft after the top of climb is climbed to again.
  if (mode == 1 && toc_reached == 1 && tod_reached == 0 && proposal - start_alt >= 150.0) toc_reached = 0;
  // In cruise the profile keeps the level it reached, unless the new one is lower.
  double level = proposal;
  if (toc_reached == 1 && profile_level_cap > 0.0 && profile_level_cap < proposal) level = profile_level_cap;

  double dr = FPA > 0.0 ? rate_from_fpa(DescentTas) : DescentRate;
  bool descent = dr > 0.0 && DescentTas > 0.0;
  // The path met by the AT OR ABOVE altitudes is this profile's.
  if (descent) descent_rate = dr;
  // The descent ends at the first constraint below the level past the TOC, else at
  // the route's end; none (-1) before a route break: no descent is planned beyond it.
  int bottom_index = route_end_index();
  double bottom = 0.0, descent_dist = 0.0;
  int held = -1;
  auto find_bottom = [&]() {
    int n = descent ? first_descent_constraint(level, r, held) : -1;
    bottom_index = n >= 0 ? n : profile_end_index() < route_end_index() ? -1 : route_end_index();
    const FlightPlanWpt& b = fpl_active[std::max(bottom_index, 0)];
    bottom = bottom_index >= 0 && b.alt_constraint > FPL_NO_CONSTRAINT ? b.alt_constraint : 0.0;
    descent_dist = descent && bottom_index >= 0 ? (level - bottom) / dr * DescentTas / 60.0 : 0.0;
    if (!(descent_dist > 0.0)) descent_dist = 0.0;
  };

  if (toc_reached == 0) {
    double from = present_route_pos();
    find_bottom();
    double bottom_pos = fpl_active[std::max(bottom_index, 0)].route_dist;
    double climb_grad = r / (ClimbTas / 60.0), descent_grad = descent ? dr / (DescentTas / 60.0) : 0.0;  // ft per NM
    // Where a climb from `cf` NM at `ca` feet meets the descent to the constraint (or the
    // route's end); the altitude reachable there, in whole hundreds.
    auto meet_at = [&](double cf, double ca, double& meet) {
      meet = (bottom + descent_grad * bottom_pos - ca + climb_grad * cf) / (climb_grad + descent_grad);
      meet = std::clamp(meet, cf, std::max(cf, bottom_pos));
      return std::max(std::floor((ca + climb_grad * (meet - cf)) / 100.0) * 100.0, bottom);
    };
    double climb_from = from, climb_alt = start_alt, meet = 0.0;
    // The climb goes on from the last constraint holding it below the level, at its fix,
    // where it can climb on at least 1,000 ft before the descent.
    if (descent && bottom_index >= 0 && held >= 0 && fpl_active[held].route_dist > from &&
        meet_at(fpl_active[held].route_dist, fpl_active[held].alt_constraint, meet) >=
            fpl_active[held].alt_constraint + 1000.0) {
      climb_from = fpl_active[held].route_dist;
      climb_alt = fpl_active[held].alt_constraint;
    }
    double climb_rest = std::max((proposal - climb_alt) / r * ClimbTas / 60.0, 0.0);
    if (descent && bottom_index >= 0 && climb_from + climb_rest > bottom_pos - descent_dist) {
      // A route too short for the level: the climb ends where the descent to the
      // constraint (or the route's end) must begin, at the altitude reachable there.
      level = std::min(meet_at(climb_from, climb_alt, meet), proposal);
      climb_dist = meet - from;
      descent_dist = bottom_pos - meet;
    }
    place_toc(from + climb_dist);
    profile_level_cap = level < proposal ? level : 0.0;
    proposed_cruise_alt = proposal;
    presel_alt = proposal;
    toc_climb_dist = static_cast<int32_t>(std::min(climb_dist, 100000.0));
    toc_valid = 1;
  } else {
    if (!(level < proposal)) profile_level_cap = 0.0;
    find_bottom();
  }

  if (descent) {
    descent_rate = dr;
    // Measured back from the constraint the descent has to meet, so that it is met at
    // its altitude; without one, back from the route's end.
    if (bottom_index >= 0) place_tod(bottom_index, descent_dist);
    tod_valid = bottom_index >= 0 ? 1 : 0;
  }

  if (cruise_alt == 0) cruise_alt = static_cast<int32_t>(proposed_cruise_alt);
  if (toc_reached == 0 && tod_reached == 0) {
    vnav_target_alt = vnav_level_alt();
    vnav_target_lat = toc_lat;
    vnav_target_lon = toc_lon;
    vnav_target_kind = 1;
    vnav_wpt_index = next_constrained_index(fpl_valid_index(fpl_active_index, last) ? fpl_active_index + 1 : 1);
  }
  // A new level goes to the autopilot at the next step.
  if (vnav_level_alt() != level_before) vnav_alt_state = 0;

  if (mode != 1) {
    vnav_descent_started = 0;
    toc_reached = 0;
    tod_reached = 0;
    profile_display_index_1 = profile_display_index_2 = -1;
    return;
  }
  apply_cost_index_speeds();
  if (ClimbTas > 0.0 && DescentTas > 0.0 && descent_rate > 0.0 && cruise_alt > 0)
    predict_waypoints(r, vnav_level_alt());
}

double vnav_level_alt() {
  if (cruise_alt <= 0) return 0.0;
  return profile_level_cap > 0.0 && profile_level_cap < cruise_alt ? profile_level_cap : cruise_alt;
}

void toc_check() {
  if (!(cruise_alt >= 1) || toc_reached != 0 || !(vnav_level_alt() - indicated_altitude < 150.0)) return;
  toc_reached = 1;
  if (fms_phase_reached_hook) fms_phase_reached_hook(FMS_PHASE_CRUISE);
  tod_1x_done = 0;
  pause_at_tod_done = 0;
  pause_at_dist_done = 0;
  if (vnav_on == 1 && fpl_changed_state >= 3 && VnavSetSpd == 1) {
    if (VnavSetMachCruiseSpd == 1 && CruiseMach > 0.0) {
      if (ap_airspeed_hold > 0.0) send_key(KEY_AP_MACH_HOLD_A, 0);
      send_key(KEY_AP_MACH_HOLD_B, 0);
      mach_repeat_count = 2;
    } else if (send_vnav_speed(CruiseTas)) {
      fms_set_spd = CruiseTas;
    }
    climb_restriction_applied = 0.0;
  }
  desc_restriction_applied = 0;
  toc_alt_reference = vnav_level_alt();
  if (active_record(vnav_wpt_index)) {
    const FlightPlanWpt& r = fpl_active[vnav_wpt_index];
    if (r.alt_constraint > FPL_NO_CONSTRAINT) vnav_target_alt = r.alt_constraint;
    vnav_target_lat = r.lat;
    vnav_target_lon = r.lon;
    vnav_target_kind = 0;
  }
}

void tod_check() {
  if (tod_reached != 0 || tod_valid != 1 || !active_record(fpl_active_index)) return;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(present_lat, present_lon, tod_lat, tod_lon, d, c);
  if (angle_pass_in_cruise == 1 && d < 10.0) d = -1.0;
  angle_pass_in_cruise = 0;
  bool passed = d <= 1.5;
  // Climbing to the level, no constraint holding the climb below it: the descent begins
  // where the climb meets the path down from the level (the TOD of the level flown), at
  // the route's end at the latest.
  bool held = vnav_limit_alt > FPL_NO_CONSTRAINT && vnav_limit_alt < vnav_level_alt();
  // Likewise above a lower level entered in cruise: the descent begins where the way down
  // to the level meets the path, not at the level's TOD with a steep catch-up after it.
  bool above_level = toc_reached == 1 && indicated_altitude - vnav_level_alt() >= 150.0;
  if (((toc_reached == 0 && !held) || above_level) && descent_rate > 0.0 && DescentTas > 0.0) {
    double past = tod_dist_to_dest - route_distance_to_go;
    double below_path = (vnav_level_alt() - indicated_altitude) * DescentTas / 60.0 / descent_rate;
    passed = std::isfinite(past) && std::isfinite(below_path) && past >= std::min(below_path, tod_dist_to_dest);
  }
  bool behind = false;
  // Only in cruise: in the climb a TOD behind the aircraft is one of an old profile.
  if (!passed && toc_reached == 1 && tod_dist_to_dest > route_distance_to_go) {
    // The TOD lies behind the aircraft when the route's end is ahead along the leg.
    const FlightPlanWpt& dest = fpl_active[route_end_index()];
    double dd = 0.0, dest_course = 0.0;
    compute_gc_distance_course(present_lat, present_lon, dest.lat, dest.lon, dd, dest_course);
    if (static_cast<int>(course_difference(magnetic_course(dest_course), desired_track)) < 20) {
      passed = behind = true;
      vnav_spd_state = 0;
      constraint_speed_done = 0;
    }
  }
  if (!passed) return;
  tod_reached = 1;
  vnav_descent_started = 1;
  if (toc_reached == 0) {
    toc_reached = 1;
    tod_1x_done = 0;
  }
  if (fms_phase_reached_hook) fms_phase_reached_hook(FMS_PHASE_DESCENT);
  if (active_record(vnav_wpt_index)) {
    const FlightPlanWpt& r = fpl_active[vnav_wpt_index];
    if (r.alt_constraint > FPL_NO_CONSTRAINT) vnav_target_alt = r.alt_constraint;
    vnav_target_lat = r.lat;
    vnav_target_lon = r.lon;
    vnav_target_kind = 0;
  }
  if (vnav_on == 1) {
    // The descent's altitude, never below its floor, goes to the autopilot once, from this
    // step's VNAV update.
    vnav_alt_state = 0;
    if (VnavSetSpd == 1) {
      if (ap_mach_hold > 0.0) {
        send_key(KEY_AP_SPEED_HOLD_A, 0);
        send_key(KEY_AP_SPEED_HOLD_B, 0);
        if (dist_to_active_wpt < VnavSetSpdRestDist) descent_speed_flag = 1;
      } else if (!(dist_to_active_wpt < VnavSetSpdRestDist)) {
        if (send_vnav_speed(DescentIas)) fms_set_spd = DescentIas;
      }
    }
  }
  if (behind) vnav_speed_update();
}

void update_vnav_target_distance() {
  int a = fpl_active_index;
  if (!active_record(a)) {
    dist_to_vnav_target = 0.0;
    return;
  }
  double present_pos = fpl_active[a].route_dist - dist_to_active_wpt;
  double d = -1.0;
  if (vnav_target_kind == 1) {
    d = toc_route_pos - present_pos;
  } else if (vnav_target_kind == 2) {
    d = tod_route_dist;
  } else {
    for (int i = a; i <= fpl_active_last; ++i)
      if (fpl_active[i].lat == vnav_target_lat && fpl_active[i].lon == vnav_target_lon) {
        d = dist_to_active_wpt + (fpl_active[i].route_dist - fpl_active[a].route_dist);
        break;
      }
    if (d < 0.0) {
      double c = 0.0;
      compute_gc_distance_course(present_lat, present_lon, vnav_target_lat, vnav_target_lon, d, c);
    }
  }
  dist_to_vnav_target = std::isfinite(d) && d > 0.0 ? d : 0.0;
}
