// Holds of the plans: the hold list kept in step with the records the holds stand on,
// the records' hold numbers, and adding and removing holds.
#include "flightplan/fpl_ops.h"

#include <cmath>
#include <cstring>

#include "geo/great_circle.h"
#include "module/sim_vars.h"

void drop_hold_entry(int h) {
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
