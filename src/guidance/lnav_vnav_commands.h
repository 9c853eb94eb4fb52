// VNAV vertical-speed and speed commands, and the speed restriction steps.
#pragma once

#include <cstdint>

extern double vnav_vs_required;          // ft/min, unrounded (CDU pages show it); also "vnav_required_fpm"
extern int32_t vnav_vs_cmd;              // ft/min commanded
extern int32_t vnav_vs_sent;             // ft/min last sent; -999 none
extern int32_t vnav_alt_sent;            // ft of the autopilot altitude VNAV last sent; -999 none
extern int32_t vnav_slow_protect;        // 1 while the climb is held for low airspeed
extern double climb_restriction_applied; // 1 once the climb speed restriction was set
extern int32_t desc_restriction_applied; // 1 once the descent speed restriction was set
extern int32_t constraint_speed_done;    // per-waypoint flag of the constraint-speed step
extern double vnav_hold_alt;             // ft kept while a hold is flown; -999 none
extern double vnav_held_alt;             // ft kept in the descent since LNAV went off; -999 none
extern double vnav_limit_alt;            // ft the climb was capped at or the descent kept above; -999 none
extern int32_t abeam_fix_index;          // record whose fix the aircraft last came abeam of; -1 none
extern double abeam_fix_lat, abeam_fix_lon;  // degrees, that record's fix
extern double vnav_pilot_alt;            // ft the pilot set above the aircraft after the TOD, kept; -999 none

// Records that the FMS set the autopilot altitude or speed at this tick: the value is
// read back from the first later sample, and the manual-change tests wait for it.
void note_fms_alt_set();
void note_fms_spd_set();

// Feet a minute needed to meet the VNAV target's altitude from the present one, climbing
// before the TOC and descending after it, over the distance to the target (a fix is met
// abeam it) at the ground speed: 0 when none is needed, at most 9999; -1 with no time to it.
double vnav_required_fpm();
// VNAV altitude and vertical speed for this step.
void vnav_vs_update();
// In the descent with VNAV on: the autopilot keeps the present altitude (LNAV ends), or
// the one the pilot set above the aircraft.
void vnav_level_off();
// At the route's end: the autopilot keeps an altitude the pilot set, else the present
// level as with vnav_level_off.
void vnav_route_end();
// VNAV speed: manual-change test, the last speed again when the envelope moved it, then
// the speed for the phase when due.
void vnav_speed_update();
// Speed restrictions below the climb and descent restriction altitudes and the
// constraint speed of a near waypoint in descent.
void vnav_restriction_steps();

// Speed (knots) and Mach x 100 commands; values at or below 0 are never sent, others are
// brought inside the aircraft's envelope (envelope_bound_ias, envelope_bound_mach100) and
// a speed is sent again as its bounds move. Answer true when sent.
bool send_vnav_speed(double knots);
// The autopilot altitude, sent only when it differs from the one VNAV sent last (a valid
// altitude); answer true when sent.
bool send_vnav_altitude(double feet);
bool send_vnav_mach100(double mach100);
