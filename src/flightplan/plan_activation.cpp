// Copies between the active and the edit plan, activation of the edit plan, the
// direct-to plan and the erasing of route modifications.
#include "flightplan/fpl_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "flightplan/route_entry.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

static int last_airport_record(const FlightPlanWpt* t, int last) {
  for (int i = last; i >= 1; --i)
    if (std::strcmp(t[i].type, "APT") == 0) return i;
  return -1;
}

static void copy_table(FlightPlanWpt* dst, int32_t& dst_last, const FlightPlanWpt* src, int src_last) {
  for (int i = 0; i < FPL_CAPACITY; ++i) clear_fpl_record(dst[i]);
  if (src_last > FPL_MAX_LAST) src_last = FPL_MAX_LAST;
  for (int i = 0; i <= src_last; ++i) dst[i] = src[i];
  dst_last = src_last < -1 ? -1 : src_last;
  set_end_record(dst[dst_last + 1]);
}

// The edit plan matches the active plan: each edit record names its active record.
static void stamp_edit_sources() {
  for (int i = 0; i < FPL_CAPACITY; ++i) fpl_edit[i].active_source = i <= fpl_edit_last ? i + 1 : 0;
}

void copy_active_to_edit() {
  copy_table(fpl_edit, fpl_edit_last, fpl_active, fpl_active_last);
  stamp_edit_sources();
  fpl_edit_index = fpl_valid_index(fpl_active_index, fpl_active_last) ? fpl_active_index : 0;
  fpl_edit_active_rec = fpl_edit_index;
  fpl_edit_dest_index = fpl_active_dest_index;
  for (int h = 1; h <= hold_count; ++h) hold_list[h].delete_pending = 0;
  save_hold_indexes();
  sync_hold_numbers();
}

int set_active_plan(const FlightPlanWpt* recs, int last, int active) {
  if (last > FPL_MAX_LAST || last < -1) return 0;
  FlightPlanWpt tmp[FPL_CAPACITY];
  for (int i = 0; i <= last; ++i) tmp[i] = recs[i];
  copy_table(fpl_active, fpl_active_last, tmp, last);
  if (fpl_active_last < 0) fpl_active_index = FPL_NO_PLAN;
  else if (fpl_valid_index(active, fpl_active_last)) fpl_active_index = active;
  else fpl_active_index = fpl_active_last >= 1 ? 1 : 0;
  fpl_active_dest_index = last_airport_record(fpl_active, fpl_active_last);
  sync_hold_numbers();
  return 1;
}

int set_direct_to_plan(const FlightPlanWpt& fix, double from_lat, double from_lon, double dest_alt) {
  // No plan, or an empty one, has no destination to keep.
  bool keep_dest = fpl_active_index != FPL_NO_PLAN && fpl_active_last >= 0 &&
                   std::strcmp(fpl_active[fpl_active_last].type, "APT") == 0;
  FlightPlanWpt recs[3];
  for (FlightPlanWpt& r : recs) clear_fpl_record(r);
  fpl_set_text(recs[0].ident, "DIRECT");
  fpl_set_text(recs[0].type, "WPT");
  recs[0].lat = from_lat;
  recs[0].lon = from_lon;
  recs[1] = fix;
  recs[1].flyover = 0;
  recs[1].constraint_flag = 0;
  recs[1].hold_number = 0;
  recs[1].alt_constraint = FPL_NO_CONSTRAINT;
  fpl_set_text(recs[1].eta, "");
  int last = 1;
  if (keep_dest) {
    const FlightPlanWpt& dest = fpl_active[fpl_active_last];
    fpl_set_text(recs[2].ident, dest.ident);
    fpl_set_text(recs[2].type, dest.type);
    fpl_set_text(recs[2].eta, dest.eta);
    recs[2].lat = dest.lat;
    recs[2].lon = dest.lon;
    recs[2].alt_constraint = dest_alt;
    last = 2;
  } else {
    fpl_no_from_wpt = 1;
  }
  // The old holds point at records that no longer exist.
  drop_all_holds();
  set_active_plan(recs, last, 1);
  return last;
}

static void commit_mod(std::string& committed, std::string& mod) {
  if (mod != FPL_NONE_TEXT && !mod.empty()) committed = mod;
  mod = FPL_NONE_TEXT;
}

// Edit record of the fix being flown (fpl_active_index) as the edits moved it, or of the
// fixes entered directly before it, which are flown first; when the fix was deleted, the
// next fix of the active route kept. -1 when the edit plan holds none of them.
static int flown_record_in_edit() {
  if (!fpl_valid_index(fpl_active_index, fpl_active_last) || fpl_active_index < 1) return -1;
  const int want = fpl_active_index + 1;
  int j = -1;
  for (int i = 1; i <= fpl_edit_last && j < 0; ++i)
    if (fpl_edit[i].active_source == want) j = i;
  for (int i = 1; i <= fpl_edit_last && j < 0; ++i)
    if (fpl_edit[i].active_source > want && !fpl_route_break(fpl_edit[i])) j = i;
  if (j < 0) return -1;
  while (j > 1 && fpl_edit[j - 1].active_source == 0 && !fpl_route_break(fpl_edit[j - 1])) --j;
  while (j < fpl_edit_last && fpl_route_break(fpl_edit[j])) ++j;
  return j;
}

// Distance (NM) from the aircraft to the leg from a to b, on a plane about the aircraft
// (enough to tell the nearest leg): to the nearer end when the aircraft is beyond one.
static double nm_to_leg(const FlightPlanWpt& a, const FlightPlanWpt& b) {
  const double k = std::cos(present_lat * M_PI / 180.0) * 60.0;
  auto east = [&](double lon) { return std::remainder(lon - present_lon, 360.0) * k; };
  const double ax = east(a.lon), ay = (a.lat - present_lat) * 60.0;
  const double bx = east(b.lon), by = (b.lat - present_lat) * 60.0;
  const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
  double t = len2 > 1e-9 ? -(ax * dx + ay * dy) / len2 : 1.0;
  t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
  return std::hypot(ax + t * dx, ay + t * dy);
}

bool fpl_fix_flown(FlightPlanWpt& fix) {
  if (get_on_ground() != 0 || !fpl_valid_index(fpl_active_index, fpl_active_last) || fpl_active_index < 1)
    return false;
  fix = fpl_active[fpl_active_index];
  return true;
}

int fpl_record_of_fix(const FlightPlanWpt* t, int last, const FlightPlanWpt& fix, int prefer) {
  if (last > FPL_MAX_LAST) last = FPL_MAX_LAST;
  if (fpl_route_break(fix)) return 0;
  auto holds = [&](int i) {
    return i >= 1 && i <= last && std::strcmp(t[i].ident, fix.ident) == 0 && !fpl_route_break(t[i]) &&
           compute_gc_distance(t[i].lat, t[i].lon, fix.lat, fix.lon) < 1.0;
  };
  if (holds(prefer)) return prefer;
  for (int i = 1; i <= last; ++i)
    if (holds(i)) return i;
  return 0;
}

int fpl_flown_record_of_loaded(const FlightPlanWpt* t, int last) {
  if (last < 1) return last < 0 ? last : 0;
  FlightPlanWpt flown{};
  if (!fpl_fix_flown(flown)) return 1;
  if (last > FPL_MAX_LAST) last = FPL_MAX_LAST;
  if (int i = fpl_record_of_fix(t, last, flown)) return i;
  // Else the end of the leg nearest the aircraft; at a shared end the later leg.
  int best = 1;
  double best_nm = 1e12;
  for (int i = 1; i <= last; ++i) {
    if (fpl_route_break(t[i])) continue;
    const double d = fpl_route_break(t[i - 1]) ? nm_to_leg(t[i], t[i]) : nm_to_leg(t[i - 1], t[i]);
    if (d <= best_nm + 0.01) {
      best = i;
      best_nm = d < best_nm ? d : best_nm;
    }
  }
  return best;
}

// No record of the edit plan came from the active plan: it was loaded or imported over it.
static bool edit_plan_loaded() {
  for (int i = 0; i <= fpl_edit_last && i <= FPL_MAX_LAST; ++i)
    if (fpl_edit[i].active_source != 0) return false;
  return true;
}

bool fpl_pending_plan_without_origin() {
  return fpl_changed_state >= 3 && edit_plan_loaded() &&
         (fpl_edit_last < 0 || std::strcmp(fpl_edit[0].type, "APT") != 0);
}

bool fpl_pending_plan_without_dest() {
  return fpl_changed_state >= 3 && edit_plan_loaded() &&
         last_airport_record(fpl_edit, std::min(fpl_edit_last, FPL_MAX_LAST)) < 1;
}

int fpl_edit_active_record() {
  if (fpl_edit_last < 1) return fpl_edit_last;
  const bool chosen = intc_crs_pending == 1 && fpl_edit_active_rec >= 1 && fpl_edit_active_rec <= fpl_edit_last;
  if (!chosen && fpl_changed_state >= 3) {
    int j = flown_record_in_edit();
    if (j >= 1) return j;
    if (edit_plan_loaded()) return fpl_flown_record_of_loaded(fpl_edit, fpl_edit_last);
  }
  return fpl_edit_active_rec >= 1 && fpl_edit_active_rec <= fpl_edit_last ? fpl_edit_active_rec : 1;
}

static void make_edit_active() {
  int active = fpl_edit_active_record();
  copy_table(fpl_active, fpl_active_last, fpl_edit, fpl_edit_last);
  stamp_edit_sources();
  fpl_edit_active_rec = active < 0 ? 0 : active;
  if (fpl_active_last < 0) fpl_active_index = FPL_NO_PLAN;
  else fpl_active_index = fpl_active_last >= 1 ? active : 0;
  fpl_active_dest_index = last_airport_record(fpl_active, fpl_active_last);
  fpl_edit_dest_index = fpl_active_dest_index;
  // Holds deleted while pending leave now, and so do holds on no record of the new
  // plan (a plan loaded or imported over the route); the others take their edit index.
  // The hold being flown is left at its fix: its racetrack is flown until then.
  const bool flown = holds_changed != 0 && holding_active != 0;
  bool still_flown = false;
  for (int h = hold_count; h >= 1; --h) {
    HoldRecord& hr = hold_list[h];
    bool placed = hr.edit_wpt > 0 && hr.edit_wpt <= fpl_edit_last;
    if (h == 1 && flown && placed) {
      still_flown = true;
      if (hr.delete_pending) hr.exit_at_fix = 1;
      hr.delete_pending = 0;
    } else if (hr.delete_pending || !placed) {
      drop_hold_entry(h);
    }
  }
  commit_hold_indexes();
  save_hold_indexes();
  sync_hold_numbers();
  holds_changed = still_flown ? 1 : 0;
  compute_leg_distances();
}

// The airport blocks of the active route's origin and destination, loaded again.
static void load_route_airport_blocks() {
  if (fpl_active_last >= 0 && std::strcmp(fpl_active[0].type, "APT") == 0) fpl_take_airport_block(fpl_active[0], 1);
  if (fpl_active_dest_index >= 1 && fpl_active_dest_index <= fpl_active_last && fpl_active_dest_index <= FPL_MAX_LAST)
    fpl_take_airport_block(fpl_active[fpl_active_dest_index], 2);
}

void activate_route() {
  // A plan loaded over the route names its own airports: none where it begins or ends at none.
  const bool no_origin = fpl_pending_plan_without_origin(), no_dest = fpl_pending_plan_without_dest();
  make_edit_active();
  commit_mod(route_origin, route_origin_mod);
  commit_mod(route_dest, route_dest_mod);
  commit_mod(route_runway, route_runway_mod);
  if (no_origin) {
    route_origin = route_runway = FPL_NONE_TEXT;
    fpl_empty_airport_block(1);
  }
  if (no_dest) {
    route_dest = FPL_NONE_TEXT;
    fpl_empty_airport_block(2);
  }
  route_dep_sel = FPL_NONE_TEXT;
  route_arr_sel_1 = FPL_NONE_TEXT;
  route_arr_sel_2 = FPL_NONE_TEXT;
  // The intercept course of a direct-to is entered before its EXEC only; its fix is
  // flown now and no later change starts there.
  intc_crs_pending = 0;
  intc_target_wpt = 0;
  cruise_alt_prev = 0;
  load_route_airport_blocks();
  fpl_changed_state = fpl_active_last >= 0 ? 3 : 0;
  if (fpl_plan_activated_hook) fpl_plan_activated_hook();
}

static int insert_airway_leg() {
  int s = airway_start_index, e = airway_end_index;
  if (s < 1 || e < 1 || s == e || s > fix_match_count || e > fix_match_count || s >= nav_search_slots ||
      e >= nav_search_slots)
    return -1;
  int at = fpl_edit_index;
  if (at < 0 || at > fpl_edit_last) return 0;
  // The record must still be the start fix; a record off the airway enters it at the
  // start fix, which is inserted too. Another fix of the airway there: refused.
  bool joined = std::strcmp(nav_search_list[s].ident, fpl_edit[at].ident) == 0;
  if (!joined && find_airway_index(fpl_edit[at].ident) != 0) return 0;
  int pos = at + 1;
  bool then_row = pos <= fpl_edit_last && std::strcmp(fpl_edit[pos].ident, FPL_THEN_IDENT) == 0;
  int step = e > s ? 1 : -1;
  int first = joined ? s + step : s;
  int count = (e - first) * step + 1;
  // Refused before anything moves: the plan stays as it was.
  if (fpl_edit_last - (then_row ? 1 : 0) + count > FPL_MAX_LAST) return 0;
  if (then_row) fpl_edit_remove(pos, pos + 1);
  for (int k = first; k != e + step; k += step) {
    FlightPlanWpt rec;
    fpl_record_from_nav(rec, nav_search_list[k]);
    fpl_set_text(rec.via, airway_name);
    fpl_edit_insert(pos++, rec);
  }
  // Where the route goes on with the exit fix, drop the duplicate.
  if (pos <= fpl_edit_last && std::strcmp(fpl_edit[pos].ident, fpl_edit[pos - 1].ident) == 0)
    fpl_edit_remove(pos, pos + 1);
  airway_start_index = 0;
  airway_end_index = 0;
  return 1;
}

int activate_plan() {
  int r = insert_airway_leg();
  if (airway_insert_mode == 1) return r == 1 ? 1 : 0;
  if (r == 0) return 0;
  make_edit_active();
  fpl_changed_state = fpl_active_last >= 0 ? 3 : 0;
  if (fpl_plan_activated_hook) fpl_plan_activated_hook();
  return 1;
}

void erase_route_mods() {
  // Holds added by the change go with it: no hold is left on no record.
  for (int h = hold_count; h >= 1; --h)
    if (hold_list[h].active_wpt < 1) drop_hold_entry(h);
  copy_active_to_edit();
  // A plan loaded for the change took the blocks of its own airports.
  load_route_airport_blocks();
  route_origin_mod = route_origin;
  route_dest_mod = route_dest;
  route_runway_mod = route_runway;
  route_dep_sel = FPL_NONE_TEXT;
  route_arr_sel_1 = FPL_NONE_TEXT;
  route_arr_sel_2 = FPL_NONE_TEXT;
  intc_crs_pending = 0;
  intc_target_wpt = 0;
  if (cruise_alt_prev > 0) cruise_alt = cruise_alt_prev;
  cruise_alt_prev = 0;
  fpl_changed_state = fpl_active_last >= 0 ? 3 : 0;
  if (fpl_mods_erased_hook) fpl_mods_erased_hook();
}
