// Departure and arrival procedures: choice lists, previews and insertion of legs.
#include "flightplan/procedures.h"

#include <cmath>
#include <cstring>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "navdb/navdb.h"

std::string dep_sid_list[PROC_LIST_CAPACITY + 1];
int32_t dep_sid_count = 0;
std::string dep_trans_list[PROC_LIST_CAPACITY + 1];
int32_t dep_trans_count = 0;
std::string dep_rwy_list[PROC_LIST_CAPACITY + 1];
int32_t dep_rwy_count = 0;
std::string arr_star_list[PROC_LIST_CAPACITY + 1];
int32_t arr_star_count = 0;
std::string arr_trans_list[PROC_LIST_CAPACITY + 1];
int32_t arr_trans_count = 0;
ApprListEntry arr_appr_list[PROC_LIST_CAPACITY + 1];
int32_t arr_appr_count = 0;
std::string arr_appr_trans_list[PROC_LIST_CAPACITY + 1];
int32_t arr_appr_trans_count = 0;
std::string arr_rwy_list[PROC_LIST_CAPACITY + 1];
int32_t arr_rwy_count = 0;
int32_t arr_appr_index = 0;

std::string pending_sid = FPL_NONE_TEXT, pending_sid_trans = FPL_NONE_TEXT, route_dep_rwy = FPL_NONE_TEXT;
std::string pending_star = FPL_NONE_TEXT, pending_star_trans = FPL_NONE_TEXT, pending_arr_rwy = FPL_NONE_TEXT;
std::string pending_appr_type = FPL_NONE_TEXT, pending_appr_trans = FPL_NONE_TEXT;
int32_t pending_sid_index = 0, pending_star_index = 0;
std::string route_arr_rwy = FPL_NONE_TEXT;
std::string dep_airport_text = FPL_NONE_TEXT, arr_airport_text = FPL_NONE_TEXT;
int32_t sid_block_index = 0, star_block_index = 0;
int32_t dep_insert_row = 0, arr_insert_row = 0;

ProcPreviewLeg proc_preview[9];
int32_t proc_preview_count = 0;

// ---------------------------------------------------------------------------------------
// Helpers.

static bool none(const std::string& s) { return s.empty() || s == FPL_NONE_TEXT; }

static bool runway_fits(const ProcBlock& b, const std::string& runway) {
  return none(runway) || std::strcmp(b.runway, "ALL") == 0 || runway == b.runway;
}

static bool has_transition(const ProcBlock& b, const std::string& trans) {
  if (none(trans)) return true;
  for (int k = 1; k <= b.leg_count && k < proc_leg_slots; ++k)
    if (trans == b.legs[k].transition) return true;
  return false;
}

static int block_count(const AptBlock& a, bool appr) {
  int n = appr ? a.appr_block_count : a.proc_count;
  int cap = appr ? apt_appr_limit : apt_proc_block_limit;
  return n < 0 ? 0 : (n > cap ? cap : n);
}

static const ProcBlock& block_at(const AptBlock& a, bool appr, int i) { return appr ? a.appr_blocks[i] : a.procs[i]; }

// Index of the block named `name` for `runway` (0 none).
static int find_block(const AptBlock& a, bool appr, const std::string& name, const std::string& runway) {
  if (none(name)) return 0;
  for (int i = 1; i <= block_count(a, appr); ++i) {
    const ProcBlock& b = block_at(a, appr, i);
    if (name == b.name && runway_fits(b, runway)) return i;
  }
  return 0;
}

static void add_unique(std::string* list, int32_t& count, const std::string& s) {
  if (s.empty()) return;
  for (int i = 1; i <= count; ++i)
    if (list[i] == s) return;
  if (count < PROC_LIST_CAPACITY) list[++count] = s;
}

// Mirrors a Smiths list into one of the block's fixed text lists.
template <int N, int M>
static void mirror(char (&dst)[N][M], int& dst_count, const std::string* src, int count) {
  dst_count = 0;
  for (int i = 1; i <= count && dst_count < N - 1; ++i) nav_copy_text(dst[++dst_count], M, src[i].c_str());
}

static void transitions_of(const ProcBlock& b, std::string* list, int32_t& count) {
  for (int k = 1; k <= b.leg_count && k < proc_leg_slots; ++k) add_unique(list, count, b.legs[k].transition);
}

static void runways_of(const AptBlock& a, bool appr, const std::string& name, const std::string& trans,
                       std::string* list, int32_t& count) {
  count = 0;
  // No procedure chosen: every runway of the airport, with or without procedures.
  if (none(name) && none(trans)) {
    for (int r = 1; r <= a.rwy_count && r <= apt_rwy_limit; ++r) add_unique(list, count, a.rwys[r].ident);
    return;
  }
  for (int i = 1; i <= block_count(a, appr); ++i) {
    const ProcBlock& b = block_at(a, appr, i);
    if (!none(name) && name != b.name) continue;
    if (!has_transition(b, trans)) continue;
    if (std::strcmp(b.runway, "ALL") == 0 || none(name)) {
      for (int r = 1; r <= a.rwy_count && r <= apt_rwy_limit; ++r) add_unique(list, count, a.rwys[r].ident);
      if (none(name)) break;
    } else {
      add_unique(list, count, b.runway);
    }
  }
}

// ---------------------------------------------------------------------------------------
// List builders.

void set_origin_proc_entry(const std::string& runway, const std::string& transition) {
  AptBlock& a = apt_blocks[1];
  dep_sid_count = 0;
  for (int i = 1; i <= block_count(a, false); ++i) {
    const ProcBlock& b = a.procs[i];
    if (runway_fits(b, runway) && has_transition(b, transition)) add_unique(dep_sid_list, dep_sid_count, b.name);
  }
  mirror(a.proc_names, a.proc_name_count, dep_sid_list, dep_sid_count);
}

void set_origin_proc_entry_ext(const std::string& sid, const std::string& runway, int flag) {
  AptBlock& a = apt_blocks[1];
  dep_trans_count = 0;
  for (int i = 1; i <= block_count(a, false); ++i) {
    const ProcBlock& b = a.procs[i];
    if ((none(sid) || sid == b.name) && runway_fits(b, runway)) transitions_of(b, dep_trans_list, dep_trans_count);
  }
  mirror(a.trans_names, a.trans_count, dep_trans_list, dep_trans_count);
}

void fill_origin_proc_entry(const std::string& sid) {
  AptBlock& a = apt_blocks[1];
  runways_of(a, false, sid, FPL_NONE_TEXT, dep_rwy_list, dep_rwy_count);
  mirror(a.rwy_names, a.rwy_name_count, dep_rwy_list, dep_rwy_count);
}

void set_dest_proc_entry(const std::string& runway, const std::string& transition) {
  AptBlock& a = apt_blocks[2];
  arr_star_count = 0;
  for (int i = 1; i <= block_count(a, false); ++i) {
    const ProcBlock& b = a.procs[i];
    if (runway_fits(b, runway) && has_transition(b, transition)) add_unique(arr_star_list, arr_star_count, b.name);
  }
  mirror(a.proc_names, a.proc_name_count, arr_star_list, arr_star_count);
}

void set_dest_proc_entry_ext(const std::string& star, const std::string& runway, int flag) {
  AptBlock& a = apt_blocks[2];
  arr_trans_count = 0;
  for (int i = 1; i <= block_count(a, false); ++i) {
    const ProcBlock& b = a.procs[i];
    if ((none(star) || star == b.name) && runway_fits(b, runway)) transitions_of(b, arr_trans_list, arr_trans_count);
  }
  mirror(a.trans_names, a.trans_count, arr_trans_list, arr_trans_count);
}

void fill_dest_proc_entry(const std::string& star) {
  AptBlock& a = apt_blocks[2];
  runways_of(a, false, star, FPL_NONE_TEXT, arr_rwy_list, arr_rwy_count);
  mirror(a.rwy_names, a.rwy_name_count, arr_rwy_list, arr_rwy_count);
}

void list_approaches(const std::string& runway, const std::string& transition) {
  AptBlock& a = apt_blocks[2];
  arr_appr_count = 0;
  for (int i = 1; i <= block_count(a, true); ++i) {
    const ProcBlock& b = a.appr_blocks[i];
    if (!runway_fits(b, runway) || !has_transition(b, transition)) continue;
    bool listed = false;
    for (int k = 1; k <= arr_appr_count; ++k)
      listed = listed || (arr_appr_list[k].type == b.name && arr_appr_list[k].runway == b.runway);
    if (!listed && arr_appr_count < PROC_LIST_CAPACITY) arr_appr_list[++arr_appr_count] = {b.name, b.runway};
  }
  a.appr_count = 0;
  for (int k = 1; k <= arr_appr_count && a.appr_count < apt_appr_limit; ++k) {
    ++a.appr_count;
    nav_copy_text(a.appr_names[a.appr_count], proc_name_size, arr_appr_list[k].type.c_str());
    nav_copy_text(a.appr_runways[a.appr_count], rwy_ident_size, arr_appr_list[k].runway.c_str());
  }
}

void apply_approach_selection() {
  AptBlock& a = apt_blocks[2];
  arr_appr_trans_count = 0;
  int i = find_block(a, true, pending_appr_type, pending_arr_rwy);
  if (i > 0) transitions_of(a.appr_blocks[i], arr_appr_trans_list, arr_appr_trans_count);
  mirror(a.trans_names, a.trans_count, arr_appr_trans_list, arr_appr_trans_count);
  arr_appr_index = 0;
  for (int k = 1; k <= arr_appr_count; ++k)
    if (arr_appr_list[k].type == pending_appr_type) arr_appr_index = k;
}

void set_dest_iaf_entry(const std::string& approach, const std::string& transition) {
  AptBlock& a = apt_blocks[2];
  arr_rwy_count = 0;
  for (int i = 1; i <= block_count(a, true); ++i) {
    const ProcBlock& b = a.appr_blocks[i];
    if (!none(approach) && approach != b.name) continue;
    if (!has_transition(b, transition)) continue;
    if (std::strcmp(b.runway, "ALL") == 0) {
      for (int r = 1; r <= a.rwy_count && r <= apt_rwy_limit; ++r) add_unique(arr_rwy_list, arr_rwy_count, a.rwys[r].ident);
    } else {
      add_unique(arr_rwy_list, arr_rwy_count, b.runway);
    }
  }
  mirror(a.rwy_names, a.rwy_name_count, arr_rwy_list, arr_rwy_count);
}

// ---------------------------------------------------------------------------------------
// Legs.

// The legs of block b for `trans`: common legs and those of the transition, in order.
static int collect_legs(const ProcBlock& b, const std::string& trans, const ProcLeg** out, int cap) {
  int n = 0;
  for (int k = 1; k <= b.leg_count && k < proc_leg_slots && n < cap; ++k) {
    const ProcLeg& l = b.legs[k];
    if (l.transition[0] == '\0' || (!none(trans) && trans == l.transition)) out[n++] = &l;
  }
  return n;
}

static void preview_from(const ProcBlock* b, const std::string& trans) {
  proc_preview_count = 0;
  if (!b) return;
  const ProcLeg* legs[proc_leg_slots];
  int n = collect_legs(*b, trans, legs, proc_leg_slots);
  for (int i = 0; i < n && proc_preview_count < 8; ++i) {
    ProcPreviewLeg& p = proc_preview[++proc_preview_count];
    p.ident = legs[i]->fix;
    p.role = legs[i]->role;
    p.lat = legs[i]->lat;
    p.lon = legs[i]->lon;
  }
}

static const ProcBlock* chosen_block(int slot, bool appr, int index, const std::string& name, const std::string& runway) {
  const AptBlock& a = apt_blocks[slot];
  int i = index;
  if (i < 1 || i > block_count(a, appr) || name != block_at(a, appr, i).name) i = find_block(a, appr, name, runway);
  return i > 0 ? &block_at(a, appr, i) : nullptr;
}

void sid_insert_helper_origin() {
  preview_from(chosen_block(1, false, sid_block_index, pending_sid, route_dep_rwy), pending_sid_trans);
}

void star_insert_helper_dest() {
  preview_from(chosen_block(2, false, star_block_index, pending_star, pending_arr_rwy), pending_star_trans);
}

void list_approach_transitions() {
  apply_approach_selection();
  preview_from(chosen_block(2, true, 0, pending_appr_type, pending_arr_rwy), pending_appr_trans);
}

// Fix type of a procedure leg: runways, then a navaid at that place, else an intersection.
static const char* leg_fix_type(const ProcLeg& l) {
  if (std::strncmp(l.fix, "RW", 2) == 0 && l.fix[2] >= '0' && l.fix[2] <= '9') return "RWY";
  for (int i = 1; i <= nav_navaid_count && i < nav_navaid_slots; ++i) {
    const NavRecord& n = nav_navaids[i];
    if (std::strcmp(n.ident, l.fix) == 0 && std::fabs(n.lat - l.lat) < 0.05 && std::fabs(n.lon - l.lon) < 0.05)
      return std::strcmp(n.type, "V") == 0 ? "VOR" : "NDB";
  }
  return "INT";
}

static void leg_record(FlightPlanWpt& r, const ProcLeg& l, const char* segment, const char* name) {
  clear_fpl_record(r);
  fpl_set_text(r.ident, l.fix);
  r.lat = l.lat;
  r.lon = l.lon;
  fpl_set_text(r.type, leg_fix_type(l));
  fpl_set_text(r.segment, segment);
  fpl_set_text(r.role, l.role);
  fpl_set_text(r.via, name);
  r.alt_constraint = l.alt > 0.0 ? l.alt : FPL_NO_CONSTRAINT;
  r.spd_constraint = l.spd > 0.0 ? l.spd : FPL_NO_CONSTRAINT;
}

static bool seg_is(const FlightPlanWpt& r, const char* a, const char* b = nullptr) {
  return std::strcmp(r.segment, a) == 0 || (b && std::strcmp(r.segment, b) == 0);
}
static bool is_disco(int i) { return i >= 0 && i <= fpl_edit_last && std::strcmp(fpl_edit[i].ident, FPL_DISCO_IDENT) == 0; }

static int dest_record() {
  for (int i = fpl_edit_last; i >= 1; --i)
    if (std::strcmp(fpl_edit[i].type, "APT") == 0) return i;
  return -1;
}

// The route's record at a joint takes the procedure leg's constraints when it has none
// (a prediction is none): kept as constraints, so that no prediction writes over them.
static void adopt_constraints(FlightPlanWpt& route, const FlightPlanWpt& leg) {
  if (!fpl_has_constraint(route)) route.alt_constraint = route.spd_constraint = FPL_NO_CONSTRAINT;
  if (route.alt_constraint <= FPL_NO_CONSTRAINT) route.alt_constraint = leg.alt_constraint;
  if (route.spd_constraint <= FPL_NO_CONSTRAINT) route.spd_constraint = leg.spd_constraint;
  if (fpl_has_constraint(leg) && !fpl_has_constraint(route)) {
    route.constraint_flag = 1;
    route.crossed_at = 1;
    route.predicted = 0;
  }
}

// Range [from, to) of the records of a segment kind, with the discontinuity before
// them when `disco_before` (arrivals) or after them (departures).
static void segment_range(const char* a, const char* b, bool disco_before, int& from, int& to) {
  from = to = -1;
  for (int i = 1; i <= fpl_edit_last; ++i)
    if (seg_is(fpl_edit[i], a, b)) {
      if (from < 0) from = i;
      to = i + 1;
    }
  if (from < 0) return;
  if (disco_before && is_disco(from - 1) && from - 1 >= 1) --from;
  if (!disco_before && is_disco(to)) ++to;
}

// Places `n` leg records at `at` (after removing [rm_from, rm_to)), then joins both
// ends to the route: equal fixes are kept once, different ones get a discontinuity.
static int splice_legs(const FlightPlanWpt* recs, int n, int rm_from, int rm_to, bool departure) {
  if (n < 1) return 0;
  int removed = rm_from >= 0 ? rm_to - rm_from : 0;
  if (fpl_edit_last - removed + n + 2 > FPL_MAX_LAST) return 0;  // room for the legs and two joins
  if (rm_from >= 0) fpl_edit_remove(rm_from, rm_to);
  int at;
  if (departure) {
    at = 1;
  } else if (std::strcmp(recs[0].segment, "STAR") == 0) {
    int appr_from, appr_to;
    segment_range("APCH", "APPR", false, appr_from, appr_to);
    if (appr_from >= 1 && is_disco(appr_from - 1)) {  // the joint to the old STAR
      fpl_edit_remove(appr_from - 1, appr_from);
      --appr_from;
    }
    int d = dest_record();
    at = appr_from >= 0 ? appr_from : (d >= 1 ? d : fpl_edit_last + 1);
  } else {
    int d = dest_record();
    at = d >= 1 ? d : fpl_edit_last + 1;
  }
  for (int i = 0; i < n; ++i) fpl_edit_insert(at + i, recs[i]);
  int first = at, last = at + n - 1;
  FlightPlanWpt disco;
  clear_fpl_record(disco);
  fpl_set_text(disco.ident, FPL_DISCO_IDENT);
  // After the legs: the route (departures) or the approach (a STAR before it).
  int next = last + 1;
  if (next <= fpl_edit_last && !is_disco(next) && (departure || seg_is(fpl_edit[next], "APCH", "APPR"))) {
    if (std::strcmp(fpl_edit[next].ident, fpl_edit[last].ident) == 0) {
      // Departures: the route's record stays (a SID replaced later leaves it), with the
      // leg's constraints when it has none. A STAR before an approach: the approach's.
      if (departure) adopt_constraints(fpl_edit[next], fpl_edit[last]);
      fpl_edit_remove(last, last + 1);
    } else {
      fpl_edit_insert(next, disco);
    }
  }
  // Before the legs (arrivals): the route or the STAR.
  int prev = first - 1;
  if (!departure && prev >= 1 && !is_disco(prev)) {
    if (std::strcmp(fpl_edit[prev].ident, fpl_edit[first].ident) != 0) {
      fpl_edit_insert(first, disco);
    } else if (seg_is(fpl_edit[prev], "STAR") && seg_is(fpl_edit[first], "APCH")) {
      fpl_edit_remove(prev, prev + 1);  // the approach's record stays
    } else {
      adopt_constraints(fpl_edit[prev], fpl_edit[first]);  // the route's record stays
      fpl_edit_remove(first, first + 1);
    }
  }
  return 1;
}

static int insert_proc(int slot, bool appr, const ProcBlock* b, const std::string& trans, const char* segment) {
  if (!b || fpl_edit_last < 0) return 0;
  const ProcLeg* legs[proc_leg_slots];
  int n = collect_legs(*b, trans, legs, FPL_MAX_LAST);
  if (n < 1) return 0;
  static FlightPlanWpt recs[FPL_CAPACITY];
  for (int i = 0; i < n; ++i) leg_record(recs[i], *legs[i], segment, b->name);
  int from, to;
  bool departure = slot == 1;
  if (departure) segment_range("SID", "SIDSTAR", false, from, to);
  else if (appr) segment_range("APCH", "APPR", true, from, to);
  else segment_range("STAR", nullptr, true, from, to);
  return splice_legs(recs, n, from, to, departure);
}

static int insert_departure(const std::string& sid, const std::string& trans, const std::string& runway, int index) {
  return insert_proc(1, false, chosen_block(1, false, index, sid, runway), trans, "SID");
}
static int insert_star(const std::string& star, const std::string& trans, const std::string& runway, int index) {
  return insert_proc(2, false, chosen_block(2, false, index, star, runway), trans, "STAR");
}
static int insert_appr(const std::string& type, const std::string& trans, const std::string& runway) {
  return insert_proc(2, true, chosen_block(2, true, 0, type, runway), trans, "APCH");
}

// Runs an edit on a copy of the active plan and activates it, keeping the active waypoint.
static int on_active_plan(int (*edit)()) {
  if (fpl_active_last < 0) return 0;
  copy_active_to_edit();
  int ok = edit();
  if (ok) {
    int state = fpl_changed_state;
    activate_route();
    if (state < 3) fpl_changed_state = 3;
  }
  return ok;
}

// ---------------------------------------------------------------------------------------
// Insertions.

int insert_sid_edit() { return insert_departure(pending_sid, pending_sid_trans, route_dep_rwy, sid_block_index); }
int insert_sid_active() { return on_active_plan(insert_sid_edit); }
int insert_star_appr_edit() { return insert_star(pending_star, pending_star_trans, pending_arr_rwy, star_block_index); }
int insert_star_appr_active() { return on_active_plan(insert_star_appr_edit); }

static int approach_into_edit() { return insert_appr(pending_appr_type, pending_appr_trans, pending_arr_rwy); }
int insert_approach() { return on_active_plan(approach_into_edit); }

int insert_approach_disco(int flag) {
  int ok = approach_into_edit();
  if (ok && flag == 1) fpl_step_on_edit();
  return ok;
}

int insert_procedure_active_2(int n, int mode) {
  if (mode == 0) {
    if (n < 1 || n > dep_sid_count) return 0;
    pending_sid = dep_sid_list[n];
    pending_sid_index = n;
  }
  if (none(pending_sid)) return 0;
  set_origin_proc_entry_ext(pending_sid, route_dep_rwy, 0);
  fill_origin_proc_entry(pending_sid);
  route_sid = pending_sid;
  route_sid_trans = pending_sid_trans;
  int ok = insert_departure(pending_sid, pending_sid_trans, route_dep_rwy, 0);
  if (ok) fpl_step_on_edit();
  return ok;
}

int insert_procedure_edit_3(int n, int mode) {
  if (mode == 0) {
    if (n < 1 || n > arr_star_count) return 0;
    pending_star = arr_star_list[n];
    pending_star_index = n;
  }
  if (none(pending_star)) return 0;
  set_dest_proc_entry_ext(pending_star, pending_arr_rwy, 0);
  fill_dest_proc_entry(pending_star);
  route_arr_rwy = pending_arr_rwy;
  int ok = insert_star(pending_star, pending_star_trans, pending_arr_rwy, 0);
  if (ok) fpl_step_on_edit();
  return ok;
}

int insert_procedure_active_1(int n, int mode) {
  if (mode == 0) {
    const AptBlock& a = apt_blocks[1];
    if (n < 1 || n > a.proc_name_count || n > apt_proc_name_limit) return 0;
    route_sid = a.proc_names[n];
  }
  if (none(route_sid)) return 0;
  int ok = insert_departure(route_sid, route_sid_trans, route_runway, 0);
  if (ok) fpl_step_on_edit();
  return ok;
}

int insert_procedure_edit_2(int n, int mode) {
  if (mode == 0) {
    const AptBlock& a = apt_blocks[2];
    if (n < 1 || n > a.proc_name_count || n > apt_proc_name_limit) return 0;
    route_arr_sel_1 = a.proc_names[n];
  }
  if (none(route_arr_sel_1)) return 0;
  int ok = insert_star(route_arr_sel_1, route_arr_sel_2, pending_arr_rwy, 0);
  if (ok) fpl_step_on_edit();
  return ok;
}
