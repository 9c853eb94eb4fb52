// Route-change state, activation, copies, holds and editing of the edit plan.
#include "flightplan/fpl_ops.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "module/load_state.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

std::string route_origin = FPL_NONE_TEXT, route_origin_mod = FPL_NONE_TEXT;
std::string route_dest = FPL_NONE_TEXT, route_dest_mod = FPL_NONE_TEXT;
std::string route_runway = FPL_NONE_TEXT, route_runway_mod = FPL_NONE_TEXT;
std::string route_sid = FPL_NONE_TEXT, route_sid_trans = FPL_NONE_TEXT;
std::string route_dep_sel = FPL_NONE_TEXT;
std::string route_arr_sel_1 = FPL_NONE_TEXT, route_arr_sel_2 = FPL_NONE_TEXT;
std::string route_co_route;
int32_t dep_arr_flags = 0;

int32_t dto_active = 0;
double dto_origin_lat = 0.0, dto_origin_lon = 0.0;
double dto_course = 0.0;
int32_t intc_crs_pending = 0;
int32_t intc_target_wpt = 0;

std::string route_entry_text;

std::string route_origin_text = FPL_NONE_TEXT, route_dest_text = FPL_NONE_TEXT, route_sid_text = FPL_NONE_TEXT,
            route_sid_trans_text = FPL_NONE_TEXT, route_dep_runway_text = FPL_NONE_TEXT,
            route_star_text = FPL_NONE_TEXT, route_star_trans_text = FPL_NONE_TEXT,
            route_arr_runway_text = FPL_NONE_TEXT, route_appr_type_text = FPL_NONE_TEXT,
            route_appr_trans_text = FPL_NONE_TEXT;
std::string edit_origin_text = FPL_NONE_TEXT, edit_dest_text = FPL_NONE_TEXT, edit_sid_text = FPL_NONE_TEXT,
            edit_sid_trans_text = FPL_NONE_TEXT, edit_dep_runway_text = FPL_NONE_TEXT,
            edit_star_text = FPL_NONE_TEXT, edit_star_trans_text = FPL_NONE_TEXT,
            edit_arr_runway_text = FPL_NONE_TEXT, edit_appr_type_text = FPL_NONE_TEXT,
            edit_appr_trans_text = FPL_NONE_TEXT;
int32_t text_cdu_auto_apt = 0;
int32_t fpl_no_from_wpt = 0;

void (*fpl_first_change_hook)() = nullptr;
void (*fpl_plan_activated_hook)() = nullptr;
void (*fpl_mods_erased_hook)() = nullptr;
void (*fpl_hold_added_hook)(int place) = nullptr;
void (*fpl_hold_removed_hook)() = nullptr;
void (*fpl_discontinuity_made_hook)() = nullptr;

int32_t airway_insert_mode = 0;

RteRow rte_rows[FPL_CAPACITY + 1];
int32_t rte_row_count = 0;

static int user_wpt_counter = 0;


// ---------------------------------------------------------------------------------------
// State.

void fpl_changed_step() {
  switch (fpl_changed_state) {
    case 0:
      fpl_changed_state = 1;
      if (ground_speed < 5.0) {
        plan_fuel = 0.0;
        if (fpl_first_change_hook) fpl_first_change_hook();
      }
      break;
    case 1: fpl_changed_state = 2; break;
    case 2: fpl_changed_state = 3; break;
    case 3: fpl_changed_state = 4; break;
    case 4: fpl_changed_state = 3; break;
    default: fpl_changed_state = 0; break;
  }
}

void fpl_step_on_edit() {
  if (fpl_changed_state == 0 || fpl_changed_state == 3) fpl_changed_step();
}

// ---------------------------------------------------------------------------------------
// Table helpers.

static int last_airport_record(const FlightPlanWpt* t, int last) {
  for (int i = last; i >= 1; --i)
    if (std::strcmp(t[i].type, "APT") == 0) return i;
  return -1;
}

// Inserts `rec` before record n of table t (0..last+1), the later records and the holds
// on them (`held`: the hold's index into t) moving down one. False when refused.
static bool insert_record(FlightPlanWpt* t, int32_t& last, int32_t HoldRecord::* held, int n,
                          const FlightPlanWpt& rec) {
  if (n < 0 || n > last + 1 || last >= FPL_MAX_LAST) return false;
  for (int i = last; i >= n; --i) t[i + 1] = t[i];
  t[n] = rec;
  ++last;
  set_end_record(t[last + 1]);
  for (int h = 1; h <= hold_count; ++h)
    if (hold_list[h].*held >= n) ++(hold_list[h].*held);
  return true;
}

int fpl_edit_insert(int n, const FlightPlanWpt& rec) {
  if (!insert_record(fpl_edit, fpl_edit_last, &HoldRecord::edit_wpt, n, rec)) return 0;
  if (fpl_edit_index >= n && fpl_edit_index > 0) ++fpl_edit_index;
  if (fpl_edit_active_rec >= n && fpl_edit_active_rec > 0) ++fpl_edit_active_rec;
  if (fpl_edit_dest_index >= n) ++fpl_edit_dest_index;
  if (intc_target_wpt >= n && intc_target_wpt > 0) ++intc_target_wpt;
  sync_hold_numbers();
  return 1;
}

static void drop_hold_entry(int h) {
  for (int k = h; k < hold_count; ++k) hold_list[k] = hold_list[k + 1];
  std::memset(&hold_list[hold_count], 0, sizeof hold_list[hold_count]);
  --hold_count;
}

void drop_all_holds() {
  for (int h = hold_count; h >= 1; --h) drop_hold_entry(h);
  holds_changed = 0;
  sync_hold_numbers();
}

void move_hold_edit_indexes(int from, int by) {
  for (int h = 1; h <= hold_count; ++h)
    if (hold_list[h].edit_wpt >= from && hold_list[h].edit_wpt > 0) {
      hold_list[h].edit_wpt += by;
      if (hold_list[h].edit_wpt < 0) hold_list[h].edit_wpt = 0;
    }
}

int fpl_active_insert(int n, const FlightPlanWpt& rec) {
  if (!insert_record(fpl_active, fpl_active_last, &HoldRecord::active_wpt, n, rec)) return 0;
  if (fpl_active_dest_index >= n) ++fpl_active_dest_index;
  // The TO waypoint stays the TO waypoint.
  if (fpl_valid_index(fpl_active_index, fpl_active_last - 1) && n <= fpl_active_index) ++fpl_active_index;
  sync_hold_numbers();
  return 1;
}

int fpl_edit_remove(int from, int to) {
  if (from < 0 || to <= from || from > fpl_edit_last) return 0;
  if (to > fpl_edit_last + 1) to = fpl_edit_last + 1;
  int n = to - from;
  for (int h = hold_count; h >= 1; --h) {
    HoldRecord& hr = hold_list[h];
    int w = hr.edit_wpt;
    if (w >= from && w < to) {
      // A hold of the active route is still flown until EXEC; ERASE brings it back.
      if (hr.active_wpt > 0 && fpl_changed_state >= 3) {
        hr.delete_pending = 1;
        hr.edit_wpt = 0;
      } else {
        drop_hold_entry(h);
      }
    } else if (w >= to) {
      hr.edit_wpt -= n;
    }
  }
  for (int i = to; i <= fpl_edit_last + 1 && i < FPL_CAPACITY; ++i) fpl_edit[i - n] = fpl_edit[i];
  int old_last = fpl_edit_last;
  fpl_edit_last -= n;
  for (int i = fpl_edit_last + 1; i <= old_last + 1 && i < FPL_CAPACITY; ++i) clear_fpl_record(fpl_edit[i]);
  set_end_record(fpl_edit[fpl_edit_last + 1]);
  auto shift = [&](int32_t& idx) {
    if (idx >= to) idx -= n;
    else if (idx >= from) idx = from <= fpl_edit_last ? from : (fpl_edit_last > 0 ? fpl_edit_last : 0);
  };
  if (fpl_edit_index > 0) shift(fpl_edit_index);
  if (fpl_edit_active_rec > 0) shift(fpl_edit_active_rec);
  if (fpl_edit_dest_index >= 0) {
    if (fpl_edit_dest_index >= from && fpl_edit_dest_index < to) fpl_edit_dest_index = -1;
    else if (fpl_edit_dest_index >= to) fpl_edit_dest_index -= n;
  }
  if (intc_target_wpt > 0) {
    if (intc_target_wpt >= from && intc_target_wpt < to) { intc_target_wpt = 0; intc_crs_pending = 0; }
    else if (intc_target_wpt >= to) intc_target_wpt -= n;
  }
  sync_hold_numbers();
  return n;
}

// ---------------------------------------------------------------------------------------
// Holds.

void sync_hold_numbers() {
  for (int i = 0; i < FPL_CAPACITY; ++i) {
    fpl_edit[i].hold_number = 0;
    fpl_active[i].hold_number = 0;
  }
  hold_fpl_index = 0;
  for (int h = 1; h <= hold_count; ++h) {
    const HoldRecord& hr = hold_list[h];
    if (!hr.delete_pending && hr.edit_wpt > 0 && hr.edit_wpt <= fpl_edit_last) fpl_edit[hr.edit_wpt].hold_number = h;
    if (hr.active_wpt > 0 && hr.active_wpt <= fpl_active_last) fpl_active[hr.active_wpt].hold_number = h;
  }
  if (hold_count >= 1 && hold_list[1].active_wpt > 0) hold_fpl_index = hold_list[1].active_wpt;
}

void save_hold_indexes() {
  for (int h = 1; h <= hold_count; ++h) hold_list[h].edit_wpt = hold_list[h].active_wpt;
}

void commit_hold_indexes() {
  for (int h = 1; h <= hold_count; ++h) {
    if (hold_list[h].edit_wpt > 0) {
      hold_list[h].active_wpt = hold_list[h].edit_wpt;
      hold_list[h].edit_wpt = 0;
    }
  }
}

void renumber_hold_active_wpt(int new_index, int old_index) {
  for (int h = 1; h <= hold_count; ++h)
    if (hold_list[h].active_wpt == old_index) { hold_list[h].active_wpt = new_index; break; }
  if (hold_count >= 1) hold_fpl_index = hold_list[1].active_wpt;
}

void renumber_hold_edit_wpt(int new_index, int old_index) {
  for (int h = 1; h <= hold_count; ++h)
    if (hold_list[h].edit_wpt == old_index) { hold_list[h].edit_wpt = new_index; break; }
}

static void sort_holds() {
  for (int i = 2; i <= hold_count; ++i)
    for (int j = i; j > 1 && hold_list[j - 1].edit_wpt > hold_list[j].edit_wpt; --j) {
      HoldRecord t = hold_list[j];
      hold_list[j] = hold_list[j - 1];
      hold_list[j - 1] = t;
    }
}

int add_hold(int n, int mode, double leg_minutes) {
  if (n < 1 || n > fpl_edit_last || hold_count >= HOLD_CAPACITY) return 0;
  if (fpl_route_break(fpl_edit[n])) return 0;
  for (int h = 1; h <= hold_count; ++h)
    if (hold_list[h].edit_wpt == n && !hold_list[h].delete_pending) return 0;
  const FlightPlanWpt& r = fpl_edit[n];
  HoldRecord hr{};
  fpl_set_text(hr.ident, r.ident);
  hr.edit_wpt = n;
  hr.active_wpt = 0;
  hr.turn = 1;
  hr.leg_mode = 1;
  hr.leg_time = leg_minutes > 0.0 ? leg_minutes : 1.0;
  hr.lat = r.lat;
  hr.lon = r.lon;
  hr.pattern_lat[0] = r.lat;
  hr.pattern_lon[0] = r.lon;
  double course = 360.0;
  const FlightPlanWpt& prev = fpl_edit[n - 1];
  if (!fpl_route_break(prev)) {
    double dist = 0.0;
    compute_gc_distance_course(prev.lat, prev.lon, r.lat, r.lon, dist, course);
  }
  double inbound = std::fmod(course - magvar + 720.0, 360.0);
  if (inbound < 0.5) inbound += 360.0;
  hr.inbound_course = inbound;
  hold_list[++hold_count] = hr;
  sort_holds();
  int place = 1;
  for (int h = 1; h <= hold_count; ++h)
    if (hold_list[h].edit_wpt == n) place = h;
  sync_hold_numbers();
  holds_changed = 1;
  if (fpl_hold_added_hook) fpl_hold_added_hook(place);
  // A hold is a change of the active route; a route already waiting for EXEC (2, 4)
  // keeps waiting, so the hold stays listed and is committed with the rest.
  if (mode == 1 && fpl_changed_state == 3) fpl_changed_step();
  return place;
}

int remove_hold(int n, int mode) {
  int found = 0;
  for (int h = 1; h <= hold_count; ++h) {
    HoldRecord& hr = hold_list[h];
    bool match = hr.edit_wpt > 0 ? hr.edit_wpt == n : hr.active_wpt == n;
    if (!match || n < 1 || hr.delete_pending) continue;
    found = h;
    break;
  }
  if (found) {
    if (mode < 2 || fpl_changed_state < 3) drop_hold_entry(found);
    else hold_list[found].delete_pending = 1;
  }
  if (n >= 0 && n <= fpl_edit_last) fpl_edit[n].hold_number = 0;
  hold_delete_index = 0;
  sync_hold_numbers();
  if (mode >= 1 && fpl_changed_state == 3) fpl_changed_step();
  if (fpl_hold_removed_hook) fpl_hold_removed_hook();
  return found ? 1 : 0;
}

// ---------------------------------------------------------------------------------------
// Activation and copies.

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

int fpl_edit_active_record() {
  if (fpl_edit_last < 1) return fpl_edit_last;
  const bool chosen = intc_crs_pending == 1 && fpl_edit_active_rec >= 1 && fpl_edit_active_rec <= fpl_edit_last;
  if (!chosen && fpl_changed_state >= 3) {
    int j = flown_record_in_edit();
    if (j >= 1) return j;
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
  for (int h = hold_count; h >= 1; --h)
    if (hold_list[h].delete_pending || hold_list[h].edit_wpt <= 0 || hold_list[h].edit_wpt > fpl_edit_last)
      drop_hold_entry(h);
  commit_hold_indexes();
  save_hold_indexes();
  sync_hold_numbers();
  holds_changed = 0;
  compute_leg_distances();
}

void activate_route() {
  make_edit_active();
  commit_mod(route_origin, route_origin_mod);
  commit_mod(route_dest, route_dest_mod);
  commit_mod(route_runway, route_runway_mod);
  route_dep_sel = FPL_NONE_TEXT;
  route_arr_sel_1 = FPL_NONE_TEXT;
  route_arr_sel_2 = FPL_NONE_TEXT;
  // The intercept course of a direct-to is entered before its EXEC only.
  intc_crs_pending = 0;
  cruise_alt_prev = 0;
  if (fpl_active_last >= 0 && std::strcmp(fpl_active[0].type, "APT") == 0)
    load_airport_block(fpl_active[0].ident, 1);
  if (fpl_active_dest_index >= 1) load_airport_block(fpl_active[fpl_active_dest_index].ident, 2);
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
  route_origin_mod = route_origin;
  route_dest_mod = route_dest;
  route_runway_mod = route_runway;
  route_dep_sel = FPL_NONE_TEXT;
  route_arr_sel_1 = FPL_NONE_TEXT;
  route_arr_sel_2 = FPL_NONE_TEXT;
  intc_crs_pending = 0;
  if (cruise_alt_prev > 0) cruise_alt = cruise_alt_prev;
  cruise_alt_prev = 0;
  fpl_changed_state = fpl_active_last >= 0 ? 3 : 0;
  if (fpl_mods_erased_hook) fpl_mods_erased_hook();
}

// ---------------------------------------------------------------------------------------
// Lookup.

void fpl_record_from_nav(FlightPlanWpt& rec, const NavRecord& nav) {
  clear_fpl_record(rec);
  fpl_set_text(rec.ident, nav.ident);
  rec.lat = nav.lat;
  rec.lon = nav.lon;
  const char* t = "WPT";
  if (std::strcmp(nav.type, "APT") == 0) t = "APT";
  else if (std::strcmp(nav.type, "V") == 0) t = "VOR";
  else if (std::strcmp(nav.type, "N") == 0) t = "NDB";
  else if (std::strcmp(nav.type, "I") == 0) t = "INT";
  else if (std::strcmp(nav.type, "RWY") == 0) t = "RWY";
  fpl_set_text(rec.type, t);
  fpl_set_text(rec.navaid, nav.freq);
  if (std::strcmp(t, "APT") == 0 && nav.extra[0]) rec.alt_constraint = std::atof(nav.extra);
}

std::string next_user_waypoint_name(const std::string& place) {
  user_wpt_counter = user_wpt_counter % 99 + 1;
  char buf[16];
  std::string p = place.substr(0, 3);
  if (p.size() >= 3) std::snprintf(buf, sizeof buf, "%3s%02d", p.c_str(), user_wpt_counter);
  else std::snprintf(buf, sizeof buf, "%2s%02d", p.c_str(), user_wpt_counter);
  return buf;
}

static void set_single_candidate(const char* ident, double lat, double lon, const char* type) {
  NavRecord& r = nav_search_list[1];
  std::memset(&r, 0, sizeof r);
  nav_copy_text(r.ident, nav_ident_size, ident);
  nav_copy_text(r.type, nav_type_size, type);
  r.lat = lat;
  r.lon = lon;
  fix_match_count = 1;
  nav_search_count = 1;
}

// "N4730.5W12218.0": hemisphere, degrees (2 or 3 digits) and decimal minutes.
static bool parse_dm_coordinates(const std::string& s, double& lat, double& lon) {
  if (s.size() < 6) return false;
  char h1 = s[0];
  if (h1 != 'N' && h1 != 'S') return false;
  size_t p = s.find_first_of("EW", 1);
  if (p == std::string::npos) return false;
  auto part = [](const std::string& t, int deg_digits, double& out) {
    if ((int)t.size() < deg_digits + 2) return false;
    for (char c : t)
      if (!std::isdigit((unsigned char)c) && c != '.') return false;
    double deg = std::atof(t.substr(0, deg_digits).c_str());
    double min = std::atof(t.substr(deg_digits).c_str());
    if (min >= 60.0) return false;
    out = deg + min / 60.0;
    return true;
  };
  double a, b;
  if (!part(s.substr(1, p - 1), 2, a) || !part(s.substr(p + 1), 3, b)) return false;
  if (a > 90.0 || b > 180.0) return false;
  lat = h1 == 'S' ? -a : a;
  lon = s[p] == 'W' ? -b : b;
  return true;
}

static bool parse_number(const std::string& t, double& v) {
  if (t.empty() || t.size() > 20) return false;
  char* end = nullptr;
  v = std::strtod(t.c_str(), &end);
  return end && *end == '\0' && std::isfinite(v);
}

int create_user_waypoint(int kind, const std::string& entry_in) {
  std::string entry = entry_in;
  while (!entry.empty() && entry.back() == ' ') entry.pop_back();
  while (!entry.empty() && entry.front() == ' ') entry.erase(0, 1);
  fix_match_count = 0;
  nav_search_count = 0;
  if (entry.empty()) return 0;
  if (entry == "HOLD PPOS") {
    set_single_candidate("HOLD PPOS", present_lat, present_lon, "I");
    return 1;
  }
  double lat = 0.0, lon = 0.0;
  if (parse_dm_coordinates(entry, lat, lon)) {
    std::string name = next_user_waypoint_name(entry.substr(0, 1) + (lat >= 0 ? "N" : "S") + (lon >= 0 ? "E" : "W"));
    set_single_candidate(name.c_str(), lat, lon, "U");
    return 1;
  }
  size_t slash = entry.find('/');
  if (slash != std::string::npos) {
    std::string a = entry.substr(0, slash), b = entry.substr(slash + 1);
    // Decimal degrees "lat/lon".
    if (parse_number(a, lat) && parse_number(b, lon)) {
      if (std::fabs(lat) > 90.0 || std::fabs(lon) > 180.0) return 0;
      set_single_candidate(next_user_waypoint_name("WPT").c_str(), lat, lon, "U");
      return 1;
    }
    // Place/bearing/distance: PLACE + BBB "/" DDD.
    if (a.size() >= 4) {
      std::string brg_text = a.substr(a.size() - 3), place = a.substr(0, a.size() - 3);
      double brg = 0.0, dist = 0.0;
      bool digits = std::isdigit((unsigned char)brg_text[0]) && std::isdigit((unsigned char)brg_text[1]) &&
                    std::isdigit((unsigned char)brg_text[2]);
      if (!digits || !parse_number(b, dist) || dist <= 0.0 || dist > 999.0) return 0;
      brg = std::atof(brg_text.c_str());
      if (brg > 360.0) return 0;
      if (search_nav_ident(place, 0) < 1) {
        fix_match_count = 0;
        nav_search_count = 0;
        return 0;
      }
      NavRecord ref = nav_search_list[1];
      double dlat = 0.0, dlon = 0.0;
      compute_dest_point(ref.lat, ref.lon, std::fmod(brg + magvar + 360.0, 360.0), dist, dlat, dlon);
      set_single_candidate(next_user_waypoint_name(place).c_str(), dlat, dlon, "U");
      return 1;
    }
    return 0;
  }
  return search_nav_ident(entry, kind);
}

int create_user_waypoint(int kind) { return create_user_waypoint(kind, route_entry_text); }

int select_search_entry(int e) {
  if (e < 1 || e > fix_match_count || e >= nav_search_slots) return 0;
  nav_search_list[1] = nav_search_list[e];
  nav_search_count = 1;
  return 1;
}

// ---------------------------------------------------------------------------------------
// Editing.

static bool candidate_ok(int e) { return e >= 1 && e <= fix_match_count && e < nav_search_slots; }

// A "HOLD PPOS" record comes with its hold: refused while the hold list is full.
static bool hold_ppos_refused(const NavRecord& cand) {
  return std::strcmp(cand.ident, "HOLD PPOS") == 0 && hold_count >= HOLD_CAPACITY;
}

int insert_edit_record(int n, int e, int legs_mode) {
  if (!candidate_ok(e) || n < 0 || n > fpl_edit_last + 1) return 0;
  if (legs_mode != 1 && hold_ppos_refused(nav_search_list[e])) return 0;
  FlightPlanWpt rec;
  fpl_record_from_nav(rec, nav_search_list[e]);
  if (legs_mode == 1) {
    int j = -1;
    for (int i = n; i <= fpl_edit_last; ++i)
      if (std::strcmp(fpl_edit[i].ident, rec.ident) == 0) { j = i; break; }
    if (j >= n) return fpl_edit_direct_to(n, j);
    if (!fpl_edit_insert(n, rec)) return 0;
    return fpl_edit_direct_to(n, n);
  }
  if (!fpl_edit_insert(n, rec)) return 0;
  if (std::strcmp(rec.ident, "HOLD PPOS") == 0) add_hold(n, 0);
  fpl_step_on_edit();
  return 1;
}

int fpl_edit_direct_to(int n, int j) {
  if (n < 0 || j < n || j > fpl_edit_last) return 0;
  fpl_edit_remove(n, j);
  fpl_edit_index = n;
  fpl_edit_active_rec = n;
  start_direct_to(fpl_edit[n].lat, fpl_edit[n].lon, 0);
  intc_crs_pending = 1;
  intc_target_wpt = n;
  fpl_step_on_edit();
  return 1;
}

int insert_search_fix(int n) {
  if (!candidate_ok(1) || n < 0 || n > fpl_edit_last + 1) return 0;
  FlightPlanWpt rec;
  fpl_record_from_nav(rec, nav_search_list[1]);
  return fpl_edit_insert(n, rec);
}

int insert_hold_1(int row, int mode) {
  if (candidate_ok(1) && hold_ppos_refused(nav_search_list[1])) return 0;
  if (!insert_search_fix(row)) return 0;
  if (std::strcmp(fpl_edit[row].ident, "HOLD PPOS") == 0) add_hold(row, mode);
  return 1;
}

int fpl_edit_route_end() {
  int last = fpl_edit_last;
  if (last >= 1 && last <= FPL_MAX_LAST && std::strcmp(fpl_edit[last].type, "APT") == 0) return last;
  return last + 1;
}

int store_selected_fix(int n) {
  if (!candidate_ok(1) || n < 1 || n > fpl_edit_last + 1) return 0;
  // Discontinuities at n go: the new fix closes them.
  int k = n;
  while (k <= fpl_edit_last && std::strcmp(fpl_edit[k].ident, FPL_DISCO_IDENT) == 0) ++k;
  FlightPlanWpt rec;
  fpl_record_from_nav(rec, nav_search_list[1]);
  if (k == n && fpl_edit_last >= FPL_MAX_LAST) return 0;
  if (k > n) fpl_edit_remove(n, k);
  return fpl_edit_insert(n, rec);
}

static void make_disco_record(FlightPlanWpt& r) {
  clear_fpl_record(r);
  fpl_set_text(r.ident, FPL_DISCO_IDENT);
}

int make_discontinuity_2(int n, int flag) {
  if (n < 1 || n > fpl_edit_last) return 0;
  if (fpl_edit_last > 1) remove_hold(n, 0);
  // Deleting a discontinuity closes it: the records on either side join.
  bool disco = std::strcmp(fpl_edit[n].ident, FPL_DISCO_IDENT) == 0;
  if (n > 1 && n < fpl_edit_last - 1 && flag == 0 && !disco) {
    make_disco_record(fpl_edit[n]);
    if (fpl_changed_state == 3) fpl_changed_step();
  } else {
    fpl_edit_remove(n, n + 1);
  }
  return 1;
}

int make_discontinuity(int row, int flag) {
  if (row < 1 || row > fpl_edit_last) return 0;
  remove_hold(row, 0);
  make_disco_record(fpl_edit[row]);
  if (fpl_discontinuity_made_hook) fpl_discontinuity_made_hook();
  if (fpl_changed_state == 3) fpl_changed_step();
  activate_route();
  return 1;
}

int remove_edit_rows(int from, int to) {
  if (from < 1 || to <= from || to > fpl_edit_last + 1) return 0;
  int n = fpl_edit_remove(from, to);
  fpl_step_on_edit();
  build_route_rows();
  return n;
}

void build_route_rows() {
  rte_row_count = 0;
  for (int i = 0; i <= fpl_edit_last && rte_row_count < FPL_CAPACITY; ++i) {
    const FlightPlanWpt& r = fpl_edit[i];
    RteRow& row = rte_rows[++rte_row_count];
    row.to = r.ident;
    row.record = i;
    if (std::strcmp(r.ident, FPL_DISCO_IDENT) == 0) row.via = "";
    else row.via = r.via[0] ? r.via : "DIRECT";
    // Consecutive fixes of one airway make one row: the airway's exit fix.
    if (rte_row_count > 2 && r.via[0] && !fpl_route_break(r)) {
      RteRow& prev = rte_rows[rte_row_count - 1];
      if (prev.via == r.via && prev.to != FPL_THEN_IDENT && prev.to != FPL_DISCO_IDENT) {
        prev = row;
        --rte_row_count;
      }
    }
  }
}

int delete_route_row(int row) {
  if (row < 2 || row > rte_row_count) return 0;
  int to = rte_rows[row].record + 1;
  int from = rte_rows[row - 1].record + 1;
  if (from < 1 || to <= from) return 0;
  int n = fpl_edit_remove(from, to);
  if (n <= 0) return 0;
  if (fpl_changed_state == 3) fpl_changed_step();
  build_route_rows();
  return n;
}

int find_edit_record_by_ident(int row, int flag) {
  if (row < 1 || row > rte_row_count) return 0;
  const std::string& ident = rte_rows[row].to;
  int start = rte_rows[row].record;
  for (int i = start < 0 ? 0 : start; i <= fpl_edit_last; ++i)
    if (ident == fpl_edit[i].ident) return i;
  for (int i = 0; i <= fpl_edit_last; ++i)
    if (ident == fpl_edit[i].ident) return i;
  return 0;
}

int expand_airway(int n, int flag) {
  if (n < 0 || n > fpl_edit_last || fix_match_count < 1) return 0;
  int s = find_airway_index(fpl_edit[n].ident);
  if (s < 1) return 0;
  FlightPlanWpt rec;
  clear_fpl_record(rec);
  fpl_set_text(rec.ident, FPL_THEN_IDENT);
  fpl_set_text(rec.via, airway_name);
  if (!fpl_edit_insert(n + 1, rec)) return 0;
  airway_start_index = s;
  airway_end_index = s;
  fpl_edit_index = n;
  return 1;
}

void drop_then_rows() {
  for (int i = fpl_edit_last; i >= 0; --i)
    if (std::strcmp(fpl_edit[i].ident, FPL_THEN_IDENT) == 0) fpl_edit_remove(i, i + 1);
}

void keep_fpl_ops_state(LoadState& state) { state.keep(user_wpt_counter); }
