// Storage of the flight-plan tables and their clear operations.
#include "flightplan/flight_plan.h"

#include <cmath>
#include <cstring>

#include "geo/great_circle.h"

FlightPlanWpt fpl_active[FPL_CAPACITY];
int32_t fpl_active_index = FPL_NO_PLAN;
int32_t fpl_active_last = -1;
FlightPlanWpt fpl_edit[FPL_CAPACITY];
int32_t fpl_edit_last = -1;
int32_t fpl_edit_index = 0;
int32_t fpl_edit_active_rec = 0;
FlightPlanWpt fpl_scan[FPL_CAPACITY];
int32_t fpl_scan_last = -1;
int32_t fpl_active_dest_index = -1;
int32_t fpl_edit_dest_index = -1;

int32_t fpl_changed_state = 0;

int32_t cruise_alt = 0;
int32_t cruise_alt_prev = 0;
int32_t plan_cruise_alt = 0;
double plan_fuel = 0.0;

HoldRecord hold_list[HOLD_CAPACITY + 1];
int32_t hold_count = 0;
int32_t holding_active = 0;
int32_t holds_changed = 0;
int32_t hold_fpl_index = 0;
int32_t hold_delete_index = 0;

FixInfoRecord fix_info[3];

StoredPlan stored_plans[STORED_PLAN_CAPACITY];
int32_t stored_plan_count = 0;
int32_t stored_plan_sel = 0;
int32_t gnsxls_plan_list_pages = 0;

void clear_fpl_record(FlightPlanWpt& rec) {
  std::memset(&rec, 0, sizeof rec);
  rec.alt_constraint = FPL_NO_CONSTRAINT;
  rec.spd_constraint = FPL_NO_CONSTRAINT;
  rec.intc_course = FPL_NO_INTERCEPT;
}

void set_end_record(FlightPlanWpt& rec) {
  clear_fpl_record(rec);
  fpl_set_text(rec.ident, FPL_END_IDENT);
}

static void clear_table(FlightPlanWpt* table, int32_t& last) {
  for (int i = 0; i < FPL_CAPACITY; ++i) clear_fpl_record(table[i]);
  set_end_record(table[0]);
  last = -1;
}

void clear_fpl_active() {
  clear_table(fpl_active, fpl_active_last);
  fpl_active_index = FPL_NO_PLAN;
  fpl_active_dest_index = -1;
}

void clear_fpl_edit() {
  clear_table(fpl_edit, fpl_edit_last);
  fpl_edit_index = 0;
  fpl_edit_active_rec = 0;
  fpl_edit_dest_index = -1;
}

void clear_fpl_scan() { clear_table(fpl_scan, fpl_scan_last); }

void clear_fix_info(int n) {
  if (n >= 1) {
    if (n <= 2) std::memset(&fix_info[n], 0, sizeof fix_info[n]);
    return;
  }
  std::memset(&fix_info[1], 0, sizeof fix_info[1]);
  std::memset(&fix_info[2], 0, sizeof fix_info[2]);
}

bool fpl_valid_index(int index, int last) { return index >= 0 && index <= last && index <= FPL_MAX_LAST; }

bool fpl_route_break(const FlightPlanWpt& rec) {
  return std::strcmp(rec.ident, FPL_DISCO_IDENT) == 0 || std::strcmp(rec.ident, FPL_THEN_IDENT) == 0;
}

bool fpl_procedure_segment(const char* segment) {
  for (const char* s : {"SID", "STAR", "SIDSTAR", "APCH", "APPR"})
    if (std::strcmp(segment, s) == 0) return true;
  return false;
}

bool fpl_has_constraint(const FlightPlanWpt& rec) {
  if (rec.constraint_flag == 1) return true;
  return rec.predicted == 0 && fpl_procedure_segment(rec.segment) &&
         (rec.alt_constraint > FPL_NO_CONSTRAINT || rec.spd_constraint > FPL_NO_CONSTRAINT);
}

bool fpl_at_or_above(const FlightPlanWpt& rec) {
  return rec.constraint_flag == 1 && rec.crossed_at != 1 && rec.alt_constraint > FPL_NO_CONSTRAINT;
}

bool fpl_placed(const FlightPlanWpt& rec) {
  return !fpl_route_break(rec) && std::isfinite(rec.lat) && std::isfinite(rec.lon);
}

int fpl_placed_before(const FlightPlanWpt* t, int i) {
  if (i > FPL_CAPACITY) i = FPL_CAPACITY;
  for (int k = i - 1; k >= 0; --k)
    if (fpl_placed(t[k])) return k;
  return -1;
}

int fpl_placed_from(const FlightPlanWpt* t, int last, int k) {
  if (last > FPL_MAX_LAST) last = FPL_MAX_LAST;
  for (int j = k < 0 ? 0 : k; j <= last; ++j)
    if (fpl_placed(t[j])) return j;
  return fpl_placed_before(t, k > last + 1 ? last + 1 : k);
}

bool fpl_leg_into(const FlightPlanWpt* t, int last, int i, double& nm) {
  nm = 0.0;
  if (!fpl_valid_index(i, last) || !fpl_placed(t[i])) return false;
  int p = fpl_placed_before(t, i);
  if (p < 0) return false;
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(t[p].lat, t[p].lon, t[i].lat, t[i].lon, d, c);
  if (!std::isfinite(d)) return false;
  nm = d;
  return true;
}

double fpl_distance_along(const FlightPlanWpt* t, int last, int from, int to) {
  if (to > last) to = last;
  double sum = 0.0, nm = 0.0;
  // Legs into the placed records after `from`: the first of them starts at `from` or,
  // when `from` is a break, at the last placed record before it.
  for (int i = from + 1; i <= to; ++i)
    if (fpl_leg_into(t, last, i, nm)) sum += nm;
  return sum;
}

namespace {
// Static start: both plans empty with their end record, no active plan.
struct FplStaticStart {
  FplStaticStart() {
    clear_fpl_active();
    clear_fpl_edit();
    clear_fpl_scan();
  }
} fpl_static_start;
}  // namespace
