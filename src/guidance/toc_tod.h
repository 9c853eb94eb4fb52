// Cruise altitude, top of climb and top of descent: the profile proposed from the
// active plan, and the detection of both points by the per-step update.
#pragma once

#include <cstdint>

extern double proposed_cruise_alt;  // ft, the last proposal
// Kept for the pages that show the profile; no page reads them yet.
extern double toc_alt_reference;    // ft; the cruise altitude once the top of climb is reached
extern int32_t profile_display_index_1, profile_display_index_2;  // -1 after a profile without predictions
extern double toc_lat, toc_lon;     // TOC point
extern int32_t toc_leg_index;       // record index less 1 of the leg holding the TOC
extern int32_t toc_climb_dist;      // NM from the present position to the TOC
extern double toc_route_pos;        // NM from record 0 along the route to the TOC
// NM from record 0 along the route to the aircraft's place on the active leg.
double present_route_pos();
extern double tod_lat, tod_lon;     // TOD point
extern double descent_rate;         // ft/min
// Feet a NM of the descent path (descent_rate at DescentTas); 0 without them.
double descent_ft_per_nm();
// Record i holds an AT OR ABOVE altitude below the aircraft that the path down to what
// follows meets anyway: it is no altitude to climb or descend to, nor a TOD's or target's.
bool at_or_above_met(int i);
// An altitude to meet at record i: one the plan gives, less an AT OR ABOVE one the path meets.
bool has_alt_constraint(int i);
extern int32_t toc_valid, tod_valid;  // 1 once the points are placed
extern double presel_alt;           // ft, preselected altitude (the proposal)

// Proposes the cruise altitude (`altitude` > 0 is taken as given) and places the TOC
// and TOD. On a route too short for the cruise altitude the climb ends where the descent
// must begin: TOC and TOD meet, at the level reachable there. Mode 1 also predicts the
// crossing altitude and speed of every record with no constraint to meet; any other mode
// restarts the profile (TOC and TOD ahead).
void propose_cruise_altitude(double altitude, int mode);

// The level the profile flies: the cruise altitude, or the lower one where climb and
// descent meet on a route too short for it (ft; 0 without a cruise altitude).
double vnav_level_alt();
extern double profile_level_cap;  // ft, that lower level; 0 when the cruise altitude is reached

// A cruise altitude from the performance tables: the cruise row within reach of a climb
// over half the route that burns the least fuel per mile at the weight on top of the
// climb, allowed at that weight by the Altitude rows and leaving room for the descent.
// 0 when they give none.
int32_t compute_perf_cruise_altitude();

// The semicircular rule for `altitude` (ft): eastbound odd thousands (high levels
// 45000, 49000, 53000, 57000), westbound even (43000, 47000, 51000, 55000).
int32_t semicircular_altitude(int32_t altitude, bool eastbound);

// The climb that compute_perf_cruise_altitude simulated, one segment per TAS
// (segments 1..count).
struct PerfClimbSegment {
  double tas;      // knots
  double rate;     // ft/min
  double minutes;  // time in the segment
  double fuel;     // lb burnt in it
};
constexpr int32_t perf_climb_segment_capacity = 64;
extern PerfClimbSegment perf_climb_segments[perf_climb_segment_capacity + 1];
extern int32_t perf_climb_segment_count;

// Top of climb, then top of descent, for this step.
void toc_check();
void tod_check();
// Called when the top of climb (phase 2, cruise) or of descent (phase 3) is reached:
// a CDU showing the climb or cruise page moves on there. May stay null.
constexpr int32_t FMS_PHASE_CRUISE = 2;
constexpr int32_t FMS_PHASE_DESCENT = 3;
extern void (*fms_phase_reached_hook)(int32_t phase);
// Along-route distance from the present position to the VNAV target.
void update_vnav_target_distance();
