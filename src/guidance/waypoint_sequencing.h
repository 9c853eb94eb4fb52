// Waypoint sequencing, the change distance, the passage record, the destination steps
// and the en-route radio tuning, run inside the update's body with an active plan.
#pragma once

#include <cstdint>

#include "flightplan/route_progress.h"

extern double wpt_change_dist;        // NM; the active waypoint counts as reached below it
// The record sequencing made active last (-1 none) and its distance then (NM).
extern int32_t sequenced_index;
extern double sequenced_dist;
// The active fix as last seen, and 1 once the aircraft's track came within 90 degrees of
// the bearing to it (the angle rule waits for that).
extern int32_t seen_active_index;
extern double seen_active_lat, seen_active_lon;
extern int32_t active_fix_turned;
// The active record the pilot sent the aircraft to, or the first after a hold left (-1
// none): passed only where the turn after it still passes within the turn's radius.
extern int32_t reach_fix_index;
extern int32_t angle_pass_in_cruise;  // 1 when the angle rule passed a waypoint in cruise
extern int32_t dest_near_done;        // 1 once the 25-NM destination step ran
extern int32_t dest_info_state;       // 1 load the destination information, 2 done
// 1 LNAV off, 2 exit asked, 3 leaving, 4 sequencing allowed; also "hold_exit_mode" (GNS-XLS hold
// pages), "hold_entry_mode" (MCU HOLD key).
extern int32_t hold_exit_state;
extern int32_t selected_approach_index;  // approach chosen for the destination; -999 none

// The hold ahead or being flown is left at its fix (exit asked or under way).
inline bool hold_exit_asked() { return hold_exit_state == 2 || hold_exit_state == 3; }

// The present position, times, TOC/TOD and VNAV target as the route-progress input.
RouteProgressInput route_progress_input();

// NM of the aircraft's turn at the present ground speed (25 degrees of bank, never
// less than at 120 kt).
double turn_radius_nm();

// The active record is a final approach fix reached on a leg far from the final course,
// or after a hold or a direct-to: LNAV joins the final course (degrees true, from the fix
// to the next record) before it.
bool joining_final(double& final_course);

// First record from `from` with a constraint to meet (an AT OR ABOVE altitude the path meets
// anyway is none), else the profile's end (the route's end, or the record before a route
// break ahead).
int next_constrained_index(int from);

// A new active fix (index or position): the change distance capped by its distance now,
// and whether the aircraft has turned toward it; run before the angle rule.
void new_active_fix_step();
// Angle rule, VNAV target choice and the passage stamp (in this order).
void angle_rule_step();
void vnav_target_choice();
// The VNAV target: the first record from `from` with a constraint to meet (the
// waypoint after the active one as it is passed; the active one itself when VNAV is
// engaged or a change executed), or the TOC or TOD point before it.
void choose_vnav_target(int from);
void passage_stamp();
// Flies the first hold when it has a held record, then drops the holds already passed.
void hold_step();
// Advances the active waypoint within the change distance.
void sequencing_step();
// The change distance used by the next step's tests.
void change_distance_step();
// Once within 25 NM of the destination: tower view and barometric setting.
void dest_near_step();
// Loads the destination airport's information once the aircraft has left the origin.
void dest_info_step();

// Tunes the radios: mode 2 from the next waypoint with a navaid text (course, NAV or
// ADF frequency), mode 1 the ILS of the selected destination runway.
void set_enroute_radios(int mode);

// Sends a key event whose parameter is a double, never a NaN or out-of-range integer.
void send_key(int32_t event_id, double param);
