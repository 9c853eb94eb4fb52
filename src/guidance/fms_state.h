// Shared FMS state: the values the per-step update samples and computes. Displays,
// CDU pages and the SERVER snapshot read them directly. Units: degrees, nautical
// miles, feet, knots and feet per minute unless a line says otherwise.
//
// Owned elsewhere and written by the update too: `dist_to_active_wpt`,
// `desired_track` (flightplan/route_progress.h), `dto_active`, `dto_origin_lat/lon`
// (flightplan/fpl_ops.h), `cruise_alt`, `holding_active`, `holds_changed`
// (flightplan/flight_plan.h), `lnav_on`, `vnav_on` and the VNAV set states
// (guidance/lnav_vnav_state.h).
#pragma once

#include <cstdint>
#include <string>

#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "module/sim_vars.h"

// --- Cycle and housekeeping -------------------------------------------------------------
extern double sim_tick;            // tick counter read on this call (18 per second)
extern double sim_tick_prev;       // tick of the last body run
extern int32_t fms_frame;          // step of the 18-step sampling cycle, 0..17 (999: next is 0)
extern int32_t fms_frame_count;    // body runs, up to 2500
extern int32_t update_warmup;      // counts up to 10
extern int32_t hdg_change_timer;   // 0..91; 0 after an autopilot heading change; 999 set from outside
extern int32_t hdg_change_countdown;  // 54 on an autopilot heading change, then down to 0
extern double clock_second_live;   // local clock second, every step
extern double fms_last_second;     // second last counted; -99 forces a count
extern double elapsed_seconds;     // flight seconds while the log runs
extern double sim_rate;            // simulation rate
extern int32_t mcu_new_second;     // set once per simulator second for the MCU; also "mcu_nav_refresh"
extern int32_t seconds_counter_on; // enables `seconds_counter`
extern int32_t seconds_counter;    // display seconds counter; also "pfd_elapsed_count"

// --- Aircraft state sampled every step (the first three on every call) ------------------
extern double ground_speed_copy;  // ground_speed itself: module/sim_vars.h
extern double indicated_airspeed;
extern double indicated_altitude, indicated_altitude_prev;
extern double heading, heading_prev;
extern double map_heading;
extern double adi_token77, adi_token77_prev;    // pitch attitude
extern double adi_token80, adi_token80_prev;    // bank attitude (|x| < 0.035 stored as 0)
extern double adi_token793, adi_token793_prev;  // flight-director bank command
extern double adi_token794, adi_token794_prev;  // flight-director pitch command
extern double ap_heading, ap_heading_prev;
extern double eng_fuel_used[5];                 // pounds, engines 1..4
extern double eng_limit_time_a;                 // seconds with any N2 above 99 %
extern double eng_limit_time_egt;               // seconds with any EGT above 645 C

// --- Sampled on step 0 -------------------------------------------------------------------
extern double clock_hour, clock_minute, clock_second;
extern double zulu_hour, zulu_minute;
extern int32_t display_power;
extern double token792, token341;
extern double ap_vertical_speed;   // variable 108; also "ap_token108"
extern int32_t token106_int;       // autopilot heading hold
extern double nav_gps_switch, token114, autothrottle_arm;
extern double baro_hpa, baro_hpa_prev, baro_inhg;
extern int32_t nav_flag46;
extern double token113, token112;
extern double ap_mach_hold;

// --- Sampled on steps 3, 4, 8, 12 --------------------------------------------------------
extern double nav_token41, nav_token41_prev;
extern double adf1_bearing, nav_token39, nav_obs_token25, nav_rel_bearing, nav_obs_token28;
extern double nav_token59, nav_token354, nav_token22, dme1_distance, nav_token35;
extern double dme2_distance;       // also "dme_speed" (the PFD's time to go)

// --- Sampled on steps 2, 3, 6, 9, 12, 15, with the wind block ---------------------------
extern double true_airspeed, true_airspeed_prev;
extern double vertical_speed, vertical_speed_prev;
extern double ap_altitude, ap_altitude_prev;
extern double ap_airspeed_hold;
extern double mach, mach_prev;
extern double wind_speed, wind_speed_copy;
extern double wind_dir_rad, map_heading_rad;
extern double wind_along, wind_cross;   // head-wind positive; signed cross
extern double drift_angle;              // 0 while the true airspeed is 0
extern double wind_direction;           // magnetic
extern double ap_vs_hold, ap_vs_hold_prev;
extern double ap_airspeed, ap_airspeed_prev;
extern double token118;                 // autopilot Mach setting

// --- Sampled on odd steps other than 13 --------------------------------------------------
extern double radio_altitude, radio_spare, nav1_course, nav_token40;

// --- Autopilot master edge -----------------------------------------------------------------
extern double ap_token103;

// --- Guidance outputs ----------------------------------------------------------------------
extern double dist_to_active_wpt_prev;  // NM, the distance of the previous step
extern double desired_track_prev;      // desired_track of the previous step
extern double dest_bearing;            // magnetic bearing to the plan's last record
extern double leg_length;              // NM of the active leg; also "active_leg_dist"
extern double next_leg_course;         // magnetic, refreshed within 10 NM of the active waypoint
extern double active_wpt_lat, active_wpt_lon;
extern double ground_track;            // also "track_angle"
extern double lnav_heading_cmd;        // magnetic
extern int32_t lnav_hdg_sent;          // 999 while LNAV does not steer
extern int32_t leg_tracking_on;        // also "fms_course_capture_flag"
// 1 at start and after the MCU's direct-to; 0 once a plan is activated or changed
// through the GNS-XLS or loaded from a file (the GNS-XLS then shows a FROM waypoint).
extern int32_t fms_leg_state;
// The waypoint passed last; also "passed_wpt_ident", "passed_wpt_ata", "passed_wpt_alt".
extern std::string last_wpt_ident, last_wpt_time;
extern double last_wpt_altitude, fuel_at_last_wpt;

// Times to go, computed on step 0.
extern double ete_active_min, ete_active_min_prev, ete_active_scaled_min, ete_active_scaled_min_prev;
extern double ete_active_hours, ete_active_minutes, ete_active_tenths;
extern double ete_active_scaled_hours, ete_active_scaled_minutes;
extern double ete_dest_min, ete_dest_min_prev;
extern double ete_dest_hours, ete_dest_minutes;  // also "dest_ete_hours", "dest_ete_minutes"
// Also "dest_ete_scaled_hours", "dest_ete_scaled_minutes".
extern double ete_dest_scaled_hours, ete_dest_scaled_minutes;

// VNAV profile state.
extern int32_t toc_reached;  // also "toc_passed", "toc_distance"
extern int32_t tod_reached;  // also "tod_passed", "tod_distance"
extern int32_t vnav_descent_started;
extern double vnav_target_alt;
extern double vnav_target_lat, vnav_target_lon;
extern double dist_to_vnav_target;     // NM along the route
extern int32_t vnav_target_kind;       // 0 a plan record, 1 the TOC, 2 the TOD

// Requests from the CDU and direct-to pages.
extern int32_t forced_turn_dir;        // pending turn direction: 0 none, 1 left, 2 right; also "turn_side_flag"
extern std::string turn_dir_text;      // "DEFAULT" once the turn is made
extern int32_t radio_tune_request;     // pending radio tuning mode (0 none)

// Autopilot repeat and set bookkeeping.
extern int32_t mach_repeat_count;      // Mach commands still to repeat on step 9
extern int32_t descent_speed_flag;     // 1: send DescentIas on the next step 9
extern int32_t fms_set_alt_tick;       // tick of the last altitude set, -999 when recorded
extern int32_t fms_set_spd_tick;       // tick of the last speed set, -999 when recorded
extern int32_t fms_set_alt_pending;    // 1 until the altitude the FMS set is sampled back
extern int32_t fms_set_spd_pending;    // 1 until the speed the FMS set is sampled back

// Once-per-flight actions, re-armed at the top of climb.
extern int32_t tod_1x_done;
extern int32_t pause_at_tod_done;
extern int32_t pause_at_dist_done;

// Helpers shared by the guidance files.
// Magnetic course from a true one: true - magvar, +360 below 0.5, -360 at 360.5 or more.
// The absolute angle between two courses, folded into 0..180.
double course_difference(double a, double b);
// A finite value or `fallback`.
double finite_or(double v, double fallback);
// A key-event parameter from a double: truncated toward zero; NaN, infinite or out of
// the integer range gives `fallback`.
int32_t key_param(double v, int32_t fallback = 0);
// A record index of the active plan (0..last).
bool active_record(int index);
