// Flight-plan records and tables: the active, edit and scan plans of 201 records,
// the route-change state, the hold list, the fix-info records and the stored-plan list.
//
// Plan tables: record 0 is the origin; records 0..last are in use and the record
// after the last always carries the ident "******" (so a table holds at most 200
// records, last index 199). last = -1 is an empty plan. Every operation keeps that
// end record. Texts are plain null-terminated char arrays so that other modules can
// read the active table through the shared variable "Vek_FlightPlan".
//
// Operations: fpl_ops.h (route-change state, activation, copies, holds, lookup and
// editing, route rows), procedures.h (SID/STAR/approach lists and insertion),
// plan_files.h (plan files, stored plans, plan requests), route_progress.h (leg
// distances, ETAs, cross-track for the FMS update), fpl_import.h (GPS route, ".PLN").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

constexpr int FPL_CAPACITY = 201;       // records per plan table, 0..200
constexpr int FPL_MAX_LAST = 199;       // highest last index: record 200 holds "******"
constexpr int FPL_NO_PLAN = 999;        // fpl_active_index marker: no active plan
constexpr double FPL_NO_CONSTRAINT = -999.0;
constexpr double FPL_NO_INTERCEPT = -1.0;
constexpr const char* FPL_END_IDENT = "******";
constexpr const char* FPL_DISCO_IDENT = "DISCO";
constexpr const char* FPL_THEN_IDENT = "THEN";
constexpr const char* FPL_NONE_TEXT = "------";

struct FlightPlanWpt {
  char ident[16];         // "DISCO", "THEN", "******", "DIRECT", "HOLD PPOS" or a fix ident
  double lat;             // degrees, north positive
  double lon;             // degrees, east positive
  char type[8];           // "APT", "VOR", "NDB", "INT", "RWY", "WPT", ...
  char via[16];           // airway of the leg into the point ("" or "DIRECT" for a direct leg)
  char segment[8];        // "SID", "STAR", "SIDSTAR", "APCH" or ""
  char role[8];           // "IAF", "FAF", "MAF", "MAP", "ARC", "HP" or ""
  char eta[16];           // "hh:mm" or ""
  double alt_constraint;  // feet, -999 none (airport elevation on airport records)
  double spd_constraint;  // knots, -999 none
  double intc_course;     // intercept course, degrees magnetic, -1 or less none
  int32_t flyover;        // 1 = flyover point
  int32_t constraint_flag;  // 1 = constraint entered by the pilot
  int32_t hold_number;    // 0 = no hold
  int32_t predicted;      // 1 = altitude and speed are the FMS's crossing prediction
  char navaid[32];        // navaid text (frequency)
  int32_t screen_x;       // plotted position written by a route layer
  int32_t screen_y;
  double leg_dist;        // NM of the leg into this record (kept by the leg update)
  double leg_course;      // degrees true of the leg into this record
  double route_dist;      // NM along the route from record 0 to this record
  // Edit records: 1 + the fpl_active index the record was copied from when the edit plan
  // last matched the active plan; 0 for a record entered since (kept by the plan operations).
  int32_t active_source;
  // 1: the altitude is one to cross at (an MCU crossing, a procedure's altitude kept when its
  // marks go), though the constraint flag is 1; 0: an entered altitude is AT OR ABOVE (shown
  // "A"). Plan files do not carry it: a stored plan's entered altitudes read as shown.
  int32_t crossed_at;
  char reserved[120];
};
static_assert(sizeof(FlightPlanWpt) == 320, "FlightPlanWpt is the 320-byte shared record");
static_assert(offsetof(FlightPlanWpt, lat) == 16, "layout read by other modules");

extern FlightPlanWpt fpl_active[FPL_CAPACITY];
extern int32_t fpl_active_index;  // active (TO) record; 999 = no plan
extern int32_t fpl_active_last;   // last record; -1 empty
extern FlightPlanWpt fpl_edit[FPL_CAPACITY];
extern int32_t fpl_edit_last;
extern int32_t fpl_edit_index;    // the edit plan's active or chosen record
extern int32_t fpl_edit_active_rec;  // edit record that activation makes active (0 = none)
extern FlightPlanWpt fpl_scan[FPL_CAPACITY];  // plan-file reader's table
extern int32_t fpl_scan_last;
extern int32_t fpl_active_dest_index;  // destination record of each plan (-1 none)
extern int32_t fpl_edit_dest_index;

// Route-change state: 0 no route, 1 route being entered, 2 activated and waiting for
// EXEC, 3 active and unchanged, 4 active with pending changes (MOD).
extern int32_t fpl_changed_state;

extern int32_t cruise_alt;       // feet, 0 = not entered
// Cruise altitude from before the first change since EXEC; 0 = none. ERASE restores it.
extern int32_t cruise_alt_prev;
extern int32_t plan_cruise_alt;  // cruise altitude of the last plan file read

// Cruise levels the aircraft can fly, feet, one bound for every unit and every plan file:
// from the departure airport's elevation (the database's, else the record's; the ground
// below the aircraft where no airport elevation is known) + 1000 ft, up to the highest
// fpl_highest_cruise_hook gives (the guidance: the aircraft's MaxCruise; 99998 without).
constexpr double CRUISE_ABOVE_FIELD_FT = 1000.0;
extern int32_t (*fpl_highest_cruise_hook)();
// `origin` is the plan's record 0 (null: none); plan_cruise_level_lowest_ft takes the
// origin of the plan being entered, else of the active plan.
int32_t cruise_level_lowest_ft(const FlightPlanWpt* origin);
int32_t plan_cruise_level_lowest_ft();
int32_t cruise_level_highest_ft();
bool cruise_level_within(int32_t ft, const FlightPlanWpt* origin);
extern double plan_fuel;         // fuel of the last plan file read (0 = none)

// Holds: entries 1..hold_count of hold_list (entry 0 unused), at most 10.
constexpr int HOLD_CAPACITY = 10;
struct HoldRecord {
  char ident[16];        // held fix ("Fix" for a hold made by the GNS-XLS HOLD key)
  int32_t active_wpt;    // index of the held record in fpl_active; < 1 none
  int32_t edit_wpt;      // index of the held record in fpl_edit; < 1 none
  int32_t turn;          // 1 right, 2 left
  int32_t leg_mode;      // 1 timed, 2 distance
  double leg_dist;       // NM
  double leg_time;       // minutes
  double inbound_course; // degrees magnetic
  double lat;            // fix position
  double lon;
  double pattern_lat[5]; // point 0 the fix, 1..4 the racetrack corners in flying order
  double pattern_lon[5];
  int32_t delete_pending;  // 1 when a delete waits for EXEC (the hold is dropped then)
  int32_t exit_at_fix;     // 1 when a delete was executed while the hold is flown: left at its fix
};
extern HoldRecord hold_list[HOLD_CAPACITY + 1];
extern int32_t hold_count;
extern int32_t holding_active;    // 1 while the aircraft flies a hold; also "hold_leg_point"
extern int32_t holds_changed;     // 1 once a hold was added; 0 after an activation
extern int32_t hold_fpl_index;    // fpl_active index of the record carrying hold 1; < 1 none
extern int32_t hold_delete_index; // record whose hold a delete removes; also "hold_removed_index"

// Fix-info reference fixes: entries 1 and 2 (0 unused). In use while ident is not empty.
struct FixInfoRecord {
  char ident[16];
  double lat;
  double lon;
  char type[8];          // "V", "N", "A" or another database type
  double radial[3];      // degrees magnetic, 0 none (360 is taken as 0)
  double dist[3];        // NM, 0 none
};
extern FixInfoRecord fix_info[3];

// Stored plans: entries 1..stored_plan_count; the last entry is the new-plan entry
// named "NEW FPL" with first ident "NEXT FPL" and an empty last ident.
constexpr int STORED_PLAN_CAPACITY = 304;  // slots 0..303, entries 1..303
struct StoredPlan {
  char name[64];         // file name as found in the plans folder
  char first_ident[16];  // origin
  char last_ident[16];   // destination
};
extern StoredPlan stored_plans[STORED_PLAN_CAPACITY];
extern int32_t stored_plan_count;
extern int32_t stored_plan_sel;
extern int32_t gnsxls_plan_list_pages;  // stored plans / 8, rounded up

// Copies `text` into a fixed text field, cut to fit and always terminated.
template <std::size_t N>
inline void fpl_set_text(char (&field)[N], std::string_view text) {
  std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  for (std::size_t i = 0; i < n; ++i) field[i] = text[i];
  for (std::size_t i = n; i < N; ++i) field[i] = '\0';
}

// A record in its cleared state: texts empty, numbers 0, constraints -999, intercept -1.
void clear_fpl_record(FlightPlanWpt& rec);
// Makes `rec` the "******" end record.
void set_end_record(FlightPlanWpt& rec);
// Empty every record of the table; last := -1 and record 0 carries "******".
// clear_fpl_active also sets fpl_active_index := 999.
void clear_fpl_active();
void clear_fpl_edit();
void clear_fpl_scan();

// fix_info: n >= 1 clears entry n (n <= 2); n < 1 clears entries 1 and 2.
void clear_fix_info(int n);

// True when `index` is a record of the plan (0..last); 999 and -1 never are.
bool fpl_valid_index(int index, int last);

// Route breaks: a "DISCO" or "THEN" record has no position. Rows show it without distance
// or time, sums step over it (from the last placed record to the next), and no map
// draws or centres on it.
bool fpl_route_break(const FlightPlanWpt& rec);
// A record with a position: no route break, finite coordinates.
bool fpl_placed(const FlightPlanWpt& rec);
// "SID", "STAR", "SIDSTAR", "APCH" or "APPR": a record of a procedure.
bool fpl_procedure_segment(const char* segment);
// A constraint the FMS has to meet: one the pilot entered (constraint flag 1) or an
// altitude or speed a procedure leg publishes. The FMS's own predictions are none.
bool fpl_has_constraint(const FlightPlanWpt& rec);
// An altitude the pilot entered as AT OR ABOVE (constraint flag 1, not crossed_at; shown "A").
bool fpl_at_or_above(const FlightPlanWpt& rec);
// The last placed record of t[0..i-1]; -1 when none.
int fpl_placed_before(const FlightPlanWpt* t, int i);
// The first placed record of t[k..last], else the last placed one before k; -1 when none.
int fpl_placed_from(const FlightPlanWpt* t, int last, int k);
// NM of the leg into record i of t (0..last) from the last placed record before it; false
// for a route break, an unplaced record or one with no placed record before it.
bool fpl_leg_into(const FlightPlanWpt* t, int last, int i, double& nm);
// NM along t from record `from` to record `to` (from <= to), leg by leg over the placed
// records; 0 when from >= to.
double fpl_distance_along(const FlightPlanWpt* t, int last, int from, int to);

// Rebuilds stored_plans from the plan files of the plans folder (sorted by name),
// then the "NEW FPL" entry; sets stored_plan_count and gnsxls_plan_list_pages.
// The module's first initialise calls it.
void list_plan_files();
