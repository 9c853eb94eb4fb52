// Route-change state and the editing of the plans: records inserted and removed, and the
// edit commands of the CDUs. Holds, activation and user waypoints have files of their own.
#include "flightplan/fpl_ops.h"

#include <cstring>
#include <string>

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
  // On a modification, or a route not yet activated, the delete is one more edit that
  // EXEC activates and ERASE drops; on the active route shown it is flown at once.
  if (fpl_changed_state != 3) {
    fpl_step_on_edit();
    return 1;
  }
  fpl_changed_step();
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
