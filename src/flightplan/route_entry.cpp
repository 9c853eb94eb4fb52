#include "flightplan/route_entry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "module/sim_vars.h"

FlightPlanWpt fpl_airport_record(const AptBlock& apt) {
  FlightPlanWpt r;
  clear_fpl_record(r);
  fpl_set_text(r.ident, apt.ident);
  r.lat = apt.lat;
  r.lon = apt.lon;
  fpl_set_text(r.type, "APT");
  r.alt_constraint = std::atof(apt.elev);
  r.spd_constraint = FPL_NO_CONSTRAINT;
  return r;
}

void fpl_start_route(const FlightPlanWpt& origin) {
  clear_fpl_active();
  clear_fpl_edit();
  hold_count = 0;
  sync_hold_numbers();
  fpl_active[0] = origin;
  fpl_active_last = 0;
  set_end_record(fpl_active[1]);
  fpl_active_index = FPL_NO_PLAN;
  fpl_active_dest_index = -1;
  copy_active_to_edit();
  build_route_rows();
}

void fpl_set_origin_mod(const FlightPlanWpt& origin) {
  if (fpl_changed_state == 3) copy_active_to_edit();
  if (fpl_edit_last < 0) return;
  fpl_edit[0] = origin;
  build_route_rows();
}

void fpl_take_airport_block(const FlightPlanWpt& apt, int slot) {
  if (load_airport_block(apt.ident, slot)) return;
  fpl_empty_airport_block(slot);
  AptBlock& b = apt_blocks[slot];
  fpl_set_text(b.ident, apt.ident);
  std::snprintf(b.elev, sizeof b.elev, "%.0f", apt.alt_constraint > FPL_NO_CONSTRAINT ? apt.alt_constraint : 0.0);
  b.lat = apt.lat;
  b.lon = apt.lon;
}

void fpl_empty_airport_block(int slot) {
  if (slot < 1 || slot >= apt_block_slots) return;
  AptBlock& b = apt_blocks[slot];
  b.ident[0] = b.name[0] = b.elev[0] = '\0';
  b.lat = b.lon = 0.0;
  b.rwy_count = b.rwy_name_count = b.proc_name_count = b.trans_count = b.appr_count = 0;
  b.proc_count = b.appr_block_count = 0;
}

void fpl_take_plan_airports(bool pending) {
  if (fpl_edit_last < 0 || fpl_edit_last > FPL_MAX_LAST) return;
  bool origin_taken = false, dest_taken = false;
  // The plan's airports are its own, whether the database holds them or not.
  if (std::strcmp(fpl_edit[0].type, "APT") == 0 && fpl_edit[0].ident[0] != '\0') {
    fpl_take_airport_block(fpl_edit[0], 1);
    std::string& origin = pending ? route_origin_mod : route_origin;
    if (origin != fpl_edit[0].ident) (pending ? route_runway_mod : route_runway) = FPL_NONE_TEXT;
    origin = fpl_edit[0].ident;
    origin_taken = true;
  }
  for (int i = fpl_edit_last; i >= 1; --i) {
    if (std::strcmp(fpl_edit[i].type, "APT") != 0) continue;
    if (fpl_edit[i].ident[0] != '\0') {
      fpl_take_airport_block(fpl_edit[i], 2);
      (pending ? route_dest_mod : route_dest) = fpl_edit[i].ident;
      dest_taken = true;
    }
    break;
  }
  if (pending) return;
  // A route that does not begin (end) at an airport has no origin (destination): the
  // previous route's airport is not offered for it.
  if (!origin_taken) route_origin = route_runway = FPL_NONE_TEXT;
  if (!dest_taken) route_dest = FPL_NONE_TEXT;
}

static int last_airport_index(const FlightPlanWpt* t, int last) {
  for (int i = last; i >= 1; --i)
    if (std::strcmp(t[i].type, "APT") == 0) return i;
  return -1;
}

bool fpl_set_destination(const FlightPlanWpt& dest) {
  int d;
  if (fpl_active[0].ident[0] == '\0' || fpl_active_last < 0) d = 1;
  else if (fpl_active_last >= 1 && std::strcmp(fpl_active[fpl_active_last].type, "APT") == 0) d = fpl_active_last;
  else d = fpl_active_last + 1;
  int e = last_airport_index(fpl_edit, fpl_edit_last);
  bool edit_copies = fpl_changed_state == 0 || fpl_edit_last < 1;
  // A full plan takes no further record.
  if (d > FPL_MAX_LAST || (!edit_copies && e < 1 && fpl_edit_last + 1 > FPL_MAX_LAST)) return false;
  fpl_active[d] = dest;
  fpl_active_last = d;
  set_end_record(fpl_active[d + 1]);
  fpl_active_dest_index = d;
  if (fpl_active_index == FPL_NO_PLAN) fpl_active_index = 1;
  vnav_wpt_index = fpl_active_last;
  if (fpl_valid_index(fpl_active_index, fpl_active_last)) {
    const FlightPlanWpt& a = fpl_active[fpl_active_index];
    double dist = 0.0, course = 0.0;
    compute_gc_distance_course(present_lat, present_lon, a.lat, a.lon, dist, course);
    dist_to_active_wpt = dist;
    bearing_to_active_wpt = magnetic_course(course);
  }
  if (edit_copies) copy_active_to_edit();
  else if (e >= 1) fpl_edit[e] = dest;  // a route being entered keeps its fixes
  else fpl_edit_insert(fpl_edit_last + 1, dest);
  build_route_rows();
  return true;
}

void fpl_set_destination_mod(const FlightPlanWpt& dest) {
  if (fpl_changed_state == 3) {
    copy_active_to_edit();
    // The old destination's arrival and approach (with its missed approach) go, but for
    // the record being flown and those before it: the active waypoint is never turned
    // into a discontinuity.
    int kept = fpl_valid_index(fpl_active_index, fpl_active_last) ? fpl_active_index : 0;
    int from = fpl_edit_last;
    for (int i = fpl_edit_last - 1; i >= 1 && i > kept; --i) {
      const char* seg = fpl_edit[i].segment;
      if (std::strcmp(seg, "STAR") != 0 && std::strcmp(seg, "APCH") != 0 && std::strcmp(seg, "APPR") != 0) break;
      from = i;
    }
    // They leave one route break, none where the route already breaks before them.
    if (from < fpl_edit_last) {
      const bool broken = fpl_route_break(fpl_edit[from - 1]);
      fpl_edit_remove(broken ? from : from + 1, fpl_edit_last);
      if (!broken) {
        clear_fpl_record(fpl_edit[from]);
        fpl_set_text(fpl_edit[from].ident, FPL_DISCO_IDENT);
      }
    }
  }
  if (fpl_edit_last >= 1) fpl_edit[fpl_edit_last] = dest;
  else fpl_edit_insert(fpl_edit_last + 1, dest);
  build_route_rows();
}

void fpl_prepare_first_exec() {
  if (fpl_changed_state == 2 && intc_crs_pending == 0) fpl_edit_active_rec = fpl_edit_last >= 1 ? 1 : 0;
}
