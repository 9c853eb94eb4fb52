// Route progress of the active plan, run by the per-step FMS update with its sampled
// state: leg distances, along-route distances, top-of-descent gate distances, ETAs,
// cross-track errors and leg targets.
#pragma once

#include <cstdint>

// A true course as magnetic with `magvar`, kept within 0.5..360.5 (360 for north).
double magnetic_course(double true_course);

// Leg length (NM), leg course (degrees true) and distance from record 0 of every
// fpl_active record. "DISCO" and "THEN" records and the legs into and out of them
// count 0 NM.
void compute_leg_distances();

// Sums the leg lengths of fpl_active into route_total_dist and answers the number of
// records counted (0..last+1). `mode` is kept for the callers (1).
int compute_route_distance(int mode);

// The record the flight ends at: an approach's missed-approach point (its runway) when the
// missed approach follows it and is not yet being flown, else the last record. The
// records after it stay in the plan; LNAV and VNAV end there.
int route_end_index();
// The last record the VNAV profile plans to: the route's end, or the record before the first
// route break from the active record on (nothing beyond a break is aimed at until the pilot
// closes it; with the break active, the record behind it).
int profile_end_index();
// Record i's AT OR ABOVE altitude is met without a descent to it: it lies below `altitude`
// (the aircraft's) and the path down to what follows passes the fix at or above it, that
// path climbing back from the profile's end at `ft_per_nm` (feet a NM of the descent) and
// held at each altitude after the fix (at least at each AT OR ABOVE one). Nothing is
// descended to before a route break. False for any other record.
bool fpl_at_or_above_met(int i, double altitude, double ft_per_nm);

extern double route_total_dist;      // NM, record 0 to the last record
// NM along the route from the present position to the route's end; also "dist_to_dest".
extern double route_distance_to_go;
extern double direct_dist_to_dest;   // NM straight to the last record; also "dist_to_dest_alt"
extern double dist_to_active_wpt;    // NM from the present position to the active record
extern double bearing_to_active_wpt; // degrees magnetic from the present position to the active record
// NM from the aircraft to record `to` of the active plan: straight to the active record, then
// along the placed records; when the active record is a route break, straight to the
// first placed record after it. -1 for a route break, a record behind the active one or
// no active record.
double fpl_distance_to_go(int to);
// The aircraft has flown past the route's end (its along-track place on the leg into the
// active record, the route's end, lies beyond that record): VNAV has no target left.
bool route_end_passed();
// Record VNAV targets: first constrained one after the active one, else the last; also
// "vnav_target_index".
extern int32_t vnav_wpt_index;
extern double tod_route_dist;        // NM along the route to the top of descent; 0 without a plan
extern double tod_dist_to_dest;      // NM along the route from the top of descent to the route's end
extern double vdev_gate_dist_1;      // NM top of descent -> VNAV waypoint (after TOD)
extern double vdev_gate_dist_2;      // NM present position -> VNAV waypoint (after TOD)
extern double vnav_path_altitude;    // feet, descent path altitude at the present position
// Feet, the highest altitude flown since the TOD (0 before it): the descent path starts no
// higher, since a level held below the profile's is descended from where it is flown.
extern double vnav_path_top_alt;
// Feet a NM the descent path falls where the aircraft is; 0 where it is level or there is none.
extern double vnav_path_gradient;
extern double climb_target_lat, climb_target_lon;  // next climb constraint, else the TOC

// The update's sampled state.
struct RouteProgressInput {
  double zulu_hours = 0.0;       // time of day, hours (0..24)
  double local_hours = 0.0;      // local time of day, hours
  int32_t eta_local = 0;         // 1: ETAs in local time (DispETALocalTime)
  int32_t tod_valid = 0;         // 1 when the TOD point below is computed
  double tod_lat = 0.0, tod_lon = 0.0;
  int32_t tod_reached = 0;
  int32_t toc_valid = 0;
  double toc_lat = 0.0, toc_lon = 0.0;
  int32_t vnav_wpt_index = -1;   // record of the VNAV target (-1 none)
  double vnav_target_alt = 0.0;  // feet
  double level_alt = 0.0;        // feet the profile levels at; 0: the cruise altitude
  double altitude = 0.0;         // feet, the aircraft's indicated altitude
  double descent_ft_per_nm = 0.0;  // the descent path's gradient, feet a NM; 0: not known
};

// Each time step: the leg distances, the along-route and direct distance to the
// destination, the TOD distances and path altitude, the climb target, and the ETA texts
// of the records from the active one on: "%02d:%02d" of the time (zulu, or local when
// eta_local is 1) plus the along-route distance / ground speed, rounded to the minute
// and kept within 00:00..23:59; with a ground speed of 25 kt or less the ETA texts are
// emptied. Position and ground speed: present_lat/present_lon and ground_speed
// (module/sim_vars.h).
void update_active_legs(const RouteProgressInput& in);

// Cross-track (NM, right of the course positive) and along-track distance (NM, negative
// behind the start) of (lat, lon) against the great circle from (alat, alon) to (blat, blon).
void fpl_cross_along(double alat, double alon, double blat, double blon, double lat, double lon, double& xtk,
                     double& atk);
// The active record carries an intercept course: its leg is that course into the fix.
bool fpl_intercept_leg();
// Start of the active leg: on an intercept leg a point of its course behind the fix, else
// the direct-to origin while dto_active is 1, else the previous record; false without one.
bool fpl_active_leg_start(double& lat, double& lon);

// Tracking errors against the active leg (from the previous record, or from the
// direct-to origin while dto_active is 1):
//  tke_side/tke: track-angle error of `track_true` against the leg's desired track;
//  xtk_side/xtk: cross-track distance NM, limited to 5 (selector not 7) or 125
//                (selector 7); side 1 = left of the leg, 2 = right;
//  drift_side/drift: angle between `heading_true` and the leg's course.
// Without an active leg xtk is -99 and the sides 0. Also sets the globals below.
void compute_track_errors(double lat, double lon, double track_true, double heading_true, int& tke_side,
                          double& tke, int& xtk_side, double& xtk, int& drift_side, double& drift, int selector);
extern double tke_deg, xtk_nm, drift_deg;
extern int32_t tke_side, xtk_side, drift_side;
extern double desired_track;  // degrees true of the active leg

// Copies the active record's altitude and speed constraints (when set) into the VNAV
// targets given. Answers 1 when the active record had a constraint.
int set_leg_targets(int mode, double& target_alt, double& target_spd);

// Moves the host's tower view to the destination airport of the active plan.
void set_tower_view_position();
