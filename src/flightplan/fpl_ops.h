// Flight-plan operations: the route-change state, activation and copies, holds, and
// the editing of the edit plan that the CDU pages call.
//
// Common rules:
// - Record indexes are checked: 999 and -1 are never taken as records; an operation
//   given an index outside its plan does nothing and answers 0 (the CDU then shows
//   "INVALID ENTRY" or "INVALID DELETE").
// - An insertion that would make a plan longer than 200 records (last index 199) is
//   refused and answers 0; the plan is left unchanged.
// - Every operation keeps the "******" end record after the last record.
// - These operations leave a CDU's page, scratchpad and message line to the caller,
//   which acts on the answer; add_hold and remove_hold are the exception: they keep the
//   Smiths CDU's hold pages in step themselves (see there).
// - The gauge drawing record that some callers hold is not an argument here.
#pragma once

#include <cstdint>
#include <string>

#include "flightplan/flight_plan.h"

struct NavRecord;

// ---------------------------------------------------------------------------------------
// Route fields. Committed values and their pending ("_mod") twins; "------" = none. The
// RTE page's entered origin, destination and departure runway, also "rte_origin",
// "rte_dest", "rte_runway" (and their "_mod" twins, shown boxed in MOD).
extern std::string route_origin, route_origin_mod;
extern std::string route_dest, route_dest_mod;
extern std::string route_runway, route_runway_mod;
extern std::string route_sid, route_sid_trans;       // committed departure
extern std::string route_dep_sel;                     // pending departure selection
extern std::string route_arr_sel_1, route_arr_sel_2;  // pending arrival selections
extern std::string route_co_route;
extern int32_t dep_arr_flags;

// Direct-to state: while dto_active is 1 the active leg starts at the direct-to origin.
// Also "direct_to_origin_set", "dirto_active", "fms_direct_active"; the origin also
// "direct_to_origin_lat/_lon", "dirto_origin_lat/_lon".
extern int32_t dto_active;
extern double dto_origin_lat, dto_origin_lon;  // degrees
extern double dto_course;                      // degrees magnetic, origin to the active record
// Turn radius (NM) at 25 degrees of bank at a ground speed (knots); 0 at 50 kt or less.
double direct_turn_radius(double ground_speed_kt);
// Origin of a direct-to the fix from the present position: where the turn toward it
// ends (turn 1 left, 2 right, otherwise toward the fix's side); the present position
// when the fix lies within the turn.
void direct_to_origin(double fix_lat, double fix_lon, int turn, double& lat, double& lon);
// Sets the direct-to state for the fix: dto_active 1, the origin above and dto_course.
void start_direct_to(double fix_lat, double fix_lon, int turn);
// Intercept course of the last direct-to: pending flag and its edit-plan record.
extern int32_t intc_crs_pending;  // also "dir_intc_crs_pending"
extern int32_t intc_target_wpt;   // also "dir_intc_row"

// Entry text handed to create_user_waypoint(kind); also "gnsxls_search_ident",
// "entry_ident". Its candidate count is fix_match_count (navdb/navdb.h).
extern std::string route_entry_text;

// GNS-XLS route texts of the active and the edit plan ("------" none); the GNS-XLS
// pages write them.
extern std::string route_origin_text, route_dest_text, route_sid_text, route_sid_trans_text, route_dep_runway_text,
    route_star_text, route_star_trans_text, route_arr_runway_text, route_appr_type_text, route_appr_trans_text;
extern std::string edit_origin_text, edit_dest_text, edit_sid_text, edit_sid_trans_text, edit_dep_runway_text,
    edit_star_text, edit_star_trans_text, edit_arr_runway_text, edit_appr_type_text, edit_appr_trans_text;
// Set to 1 by a plan load; the text CDU sets 2 after its airport display.
extern int32_t text_cdu_auto_apt;
// Set when the active plan is a direct-to without a destination.
extern int32_t fpl_no_from_wpt;

// Editing reads the present position, magnetic variation and ground speed that the
// per-step update samples (module/sim_vars.h).

// Called on the first change of a new route on the ground (state 0 -> 1 below 5 kt):
// the flight log resets its counters there. May stay null.
extern void (*fpl_first_change_hook)();
// Called after a plan becomes the active plan (activate_route, activate_plan): the
// guidance recomputes its predictions there. May stay null.
extern void (*fpl_plan_activated_hook)();
// Called after erase_route_mods: the guidance restores its own pre-change values. May stay null.
extern void (*fpl_mods_erased_hook)();
// Called after add_hold placed a hold (its place in hold_list) and after remove_hold:
// the CDU keeps its hold pages in step there. May stay null.
extern void (*fpl_hold_added_hook)(int place);
extern void (*fpl_hold_removed_hook)();
// Called by make_discontinuity once the record is a discontinuity: the mission CDU
// empties its message line there. May stay null.
extern void (*fpl_discontinuity_made_hook)();

// ---------------------------------------------------------------------------------------
// Route-change state.

// Steps fpl_changed_state 0->1, 1->2, 2->3, 3->4, 4->3. The step from 0 at a ground
// speed below 5 kt also resets plan_fuel to 0 and runs fpl_first_change_hook.
void fpl_changed_step();

// Steps the state when it is 0 or 3 (the rule every edit follows).
void fpl_step_on_edit();

// ---------------------------------------------------------------------------------------
// Activation and copies.

// EXEC (states 2 and 4): makes the edit plan the active plan. The active index becomes
// fpl_edit_active_record() (999 for an empty plan), which fpl_edit_active_rec then
// names. Pending route fields are committed and marked "------"; the origin (record 0)
// and destination (last "APT" record) airport blocks are reloaded; hold indexes are
// committed, and holds deleted while pending or on no record of the edit plan (a plan loaded or imported over the route) are dropped;
// holds_changed := 0; intc_crs_pending := 0; leg distances are recomputed; state := 3
// (0 when the plan is empty); then fpl_plan_activated_hook (the guidance: cruise
// altitude, top of climb and descent, leg predictions, flight-phase log).
void activate_route();

// Builds the airway leg of the entered route and, unless airway_insert_mode is 1,
// activates the result (the plan, hold and leg-distance steps of activate_route, then
// state 3 and fpl_plan_activated_hook). The airway leg: when the loaded
// airway has a start and an end (airway_start_index, airway_end_index: candidates of
// nav_search_list, different), its fixes after the start up to the end are inserted
// after edit record fpl_edit_index (the start fix, or a record off the airway: then the
// start fix is inserted first), replacing a "THEN" record there, with via = airway_name;
// both indexes then become 0. Answers 0 when an
// airway was asked for but nothing could be inserted (plan full, start fix moved).
// Route pages: after expand_airway, on the exit-fix entry set airway_end_index :=
// find_airway_index(exit), airway_insert_mode := 1, call, airway_insert_mode := 0, then
// drop_then_rows. The GNS-XLS AIRWAY page calls it with airway_insert_mode 0.
extern int32_t airway_insert_mode;
int activate_plan();

// ERASE (state 4): discards the pending changes: the edit plan is copied back from the
// active plan, pending route fields take the committed values, pending departure and
// arrival selections become "------", holds deleted while pending are kept and holds
// added by the change are dropped; state := 3.
void erase_route_mods();

// Copies fpl_active with its last and active indexes into fpl_edit, and each hold's
// active-plan index into its edit-plan index.
void copy_active_to_edit();

// The edit record that EXEC makes active: the record the edit chose (a direct-to or an
// intercept course, intc_crs_pending 1); else, on an active route (states 3 and 4), the
// record of the fix being flown as the edits moved it, or the first of the fixes entered
// directly before it (a fix or a hold at present position put on the active row is flown
// next), or, when that fix was deleted, the next fix of the route kept; else
// fpl_edit_active_rec when it is a record, else 1 (0 for a one-record plan, -1 empty).
// A plan loaded or imported over the active route goes on as fpl_flown_record_of_loaded says.
int fpl_edit_active_record();

// Whether the modification pending is a plan loaded over the active route that begins
// (ends) at no airport: its EXEC leaves the route without an origin (destination).
bool fpl_pending_plan_without_origin();
bool fpl_pending_plan_without_dest();

// The record of plan t (records 0..last) to fly when it replaces the active route: in
// flight, the fix being flown when t holds it (same ident within 1 NM), else the end of
// the leg of t nearest the aircraft; on the ground or without an active fix, 1.
int fpl_flown_record_of_loaded(const FlightPlanWpt* t, int last);
// In flight, a copy of the fix being flown (an edit in place may move or replace it);
// false on the ground or without an active fix.
bool fpl_fix_flown(FlightPlanWpt& fix);
// The record of plan t (1..last) holding `fix` (the same ident within 1 NM): `prefer` when
// it does, else the first; 0 when none.
int fpl_record_of_fix(const FlightPlanWpt* t, int last, const FlightPlanWpt& fix, int prefer = 0);

// Writes a whole new active plan (records 0..last of `recs`) with its end record,
// active index `active` (checked; 999 when the plan is empty). Answers 0 when last is
// beyond the table.
int set_active_plan(const FlightPlanWpt* recs, int last, int active);

// Direct-to over the active plan: record 0 "DIRECT" at (from_lat, from_lon), record 1
// the fix (flyover 0, no constraint, no ETA), and when the active plan ends at an
// airport, record 2 that airport with `dest_alt` as its constraint. Every record is
// written from a cleared one, the end record follows, the active index is 1, the old
// holds are dropped (drop_all_holds) and fpl_no_from_wpt := 1 when no airport is kept. The edit plan is
// not touched. Answers the new last index (1 or 2).
int set_direct_to_plan(const FlightPlanWpt& fix, double from_lat, double from_lon, double dest_alt);

// ---------------------------------------------------------------------------------------
// Holds.

// Drops every hold; holds_changed := 0 (no hold is left to enter or to leave).
void drop_all_holds();
// Removes hold h from hold_list, the later holds moving up one.
void drop_hold_entry(int h);
// Every hold on edit record `from` or later moves `by` records (records inserted or
// removed before it by a caller that moves the records itself); below 1 it is on none.
void move_hold_edit_indexes(int from, int by);
// Inserts `rec` before active record n (0..last+1), moving the later records, their holds
// and the destination index down; an insertion at or before the active record keeps that
// record active (the index follows it). Answers 1, or 0 when refused (bad index, full).
int fpl_active_insert(int n, const FlightPlanWpt& rec);

// Each hold's active-plan index into its edit-plan index.
void save_hold_indexes();
// Each positive edit-plan index into the active-plan index; edit index := 0.
void commit_hold_indexes();
// The hold whose active (edit) index is `old_index` gets `new_index`.
void renumber_hold_active_wpt(int new_index, int old_index);
void renumber_hold_edit_wpt(int new_index, int old_index);

// Adds a hold at edit record n (1..last): ident and position of the record, inbound
// course = course from record n-1 to n less magvar, leg time `leg_minutes` (the
// Smiths CDU passes HoldLegMins, the mission CDU 1.0), timed legs, right turns.
// hold_list stays sorted by edit index and the records' hold numbers follow the list.
// holds_changed := 1; mode 1 makes an unchanged active route (3) modified (4), and a
// route waiting for EXEC (2, 4) keeps its state; then fpl_hold_added_hook with the new
// hold's place.
// Answers the new hold's place (1..hold_count), or 0 when refused (list full with 10
// holds, bad index, or the record already holds).
int add_hold(int n, int mode, double leg_minutes = 1.0);

// Removes the hold of edit record n. Mode 0 or 1: the entry leaves hold_list at once.
// Mode 2 (a delete on the LEGS page): the hold is marked and leaves the list when the
// change is executed (activate_route), so it is not flown after EXEC; ERASE keeps it.
// Every mode clears record n's hold number and sets hold_delete_index := 0; mode 1 or
// more makes an unchanged active route (3) modified (4); then fpl_hold_removed_hook.
// Answers 1 when a hold was found, 0 otherwise.
int remove_hold(int n, int mode);

// Hold numbers of both plans and hold_fpl_index from hold_list.
void sync_hold_numbers();

// ---------------------------------------------------------------------------------------
// Lookup and editing of the edit plan.

// Resolves an entry into nav_search_list 1..n and fix_match_count := n (0 none).
// kind: 0 all tables, 1 navaids, 2 intersections, 3 airports. Besides idents:
//  - coordinates "N4730.5W12218.0" (degrees and minutes) or "47.508/-122.3" (degrees);
//  - place/bearing/distance "SEA090/12.5": a database ident, a three-digit magnetic
//    bearing, "/", a distance in NM (the first candidate of the place is used);
//  - "HOLD PPOS": the present position.
// Coordinates and place/bearing/distance entries give one user waypoint named by
// next_user_waypoint_name. Answers n.
int create_user_waypoint(int kind, const std::string& entry);
// The same with route_entry_text as the entry.
int create_user_waypoint(int kind);

// Name of a new user point: the first three characters of `place` and a counter
// ("%3s%02d"), or "%2s%02d" for a two-character place; the counter runs 01..99.
std::string next_user_waypoint_name(const std::string& place);

// nav_search_list entry e (1..fix_match_count) into entry 1; 0 when e is not a candidate.
int select_search_entry(int e);

// A plan record from a database record (type "APT", "VOR" for "V", "NDB" for "N",
// "INT" for "I", else "WPT"; navaid = frequency).
void fpl_record_from_nav(FlightPlanWpt& rec, const NavRecord& nav);

// Inserts candidate e as a new edit record before record n (0..last+1), moving the
// later records down. A "HOLD PPOS" candidate also gets a hold (refused while the hold
// list holds 10). Steps the state in 0 or 3. legs_mode 1 (direct-to): the new record becomes
// the edit plan's active record, the direct-to starts (start_direct_to), intc_crs_pending := 1
// and intc_target_wpt := the record; when the fix is already a later record j of the plan,
// records n..j-1 (with any discontinuity) are removed instead of inserting a copy; the
// fix is then record n either way. Answers 1, or 0 when refused.
int insert_edit_record(int n, int e, int legs_mode = 0);
// Direct-to record j of the edit plan from record n (j >= n): the records n..j-1 go and
// the fix, now record n, is flown direct as insert_edit_record's legs_mode 1 flies it.
// Answers 1, or 0 when refused.
int fpl_edit_direct_to(int n, int j);

// Puts candidate 1 into the edit plan at record n, moving later records down
// (mission-CDU route page). Answers 1, or 0 when refused.
int insert_search_fix(int n);

// insert_search_fix with hold handling: a "HOLD PPOS" candidate becomes a hold at the
// present position (mode is add_hold's mode); refused while the hold list is full.
int insert_hold_1(int row, int mode);

// Where a fix entered after the last listed row of a route page goes: before the
// destination (the last record, when it is an airport after record 0), else after the
// last record.
int fpl_edit_route_end();

// Route-page TO entry: candidate 1 becomes the fix after record n-1; the discontinuities
// directly at n are removed with it. n = last+1 appends. Answers 1 or 0.
int store_selected_fix(int n);

// LEGS delete: removes record n's hold; record n (1 < n < last-1, flag 0) becomes
// "DISCO", otherwise it is removed; a "DISCO" record is removed, so that its
// neighbours join. Steps the state in 3. Answers 1 or 0.
int make_discontinuity_2(int n, int flag);

// Mission-CDU delete: record row becomes "DISCO" (texts cleared, position 0,
// constraints -999, intercept -1), its hold is removed, fpl_discontinuity_made_hook
// runs; in state 3 the route is then activated (activate_route); in any other state
// (a modification pending, a route not yet activated) it stays an edit of the edit plan.
// Answers 1 or 0.
int make_discontinuity(int row, int flag);

// Removes records from..to-1; record `to` then follows record from-1. Steps the state
// in 0 or 3 and rebuilds the route rows. Answers the number removed.
int remove_edit_rows(int from, int to);

// Removes edit records from..to-1 without state or rows. Holds on them go too; in
// states 3 and 4 a hold of the active plan is only marked (delete_pending) and still
// flown until EXEC, and ERASE brings it back.
int fpl_edit_remove(int from, int to);
// Inserts `rec` before edit record n without state or rows. Answers 1 or 0.
int fpl_edit_insert(int n, const FlightPlanWpt& rec);

// Route rows of the route pages (also the mission CDU's route list): row 1 the origin,
// then one row per fix, consecutive fixes of one airway making one row (its exit fix).
struct RteRow {
  std::string to;   // fix ident, "THEN" or "DISCO"
  std::string via;  // airway name or "DIRECT"
  int32_t record;   // edit record of the row
};
extern RteRow rte_rows[FPL_CAPACITY + 1];
extern int32_t rte_row_count;
void build_route_rows();

// Removes the records of route row `row` (2..rte_row_count): the row's fix and, for an
// airway row, the airway's fixes back to the previous row. Steps the state in 3 and
// rebuilds the rows. Answers 0 when nothing was removed.
int delete_route_row(int row);

// Edit record whose ident is the TO text of route row `row` (first from that row's
// record), 0 when none.
int find_edit_record_by_ident(int row, int flag);

// VIA entry after the airway is loaded: the airway is joined at edit record n (its
// ident must be a fix of the airway); a "THEN" record with via = airway_name follows
// record n, waiting for the exit fix. airway_start_index := the joining fix. Answers 0
// when the fix is not on the airway or the plan is full.
int expand_airway(int n, int flag);

// Removes the "THEN" records of the edit plan.
void drop_then_rows();
