// ENTER on DIRECT (a plan row, a typed ident through DATABASE WPT, or one of the closest
// airports), on DATABASE WPT for a direct-to candidate, and on PILOT ENTERED WPT and
// OFFSET WPT, whose new waypoint goes into the plan shown.
//
// The direct-to edit plan is the active plan copied by DIRECT-TO: its real records end at
// the first "******"; fpl_edit_last is one past them.
#include <cstdlib>
#include <cstring>

#include "cdu/gnsxls/gnsxls.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/hold_legs.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "module/host_services.h"
#include "navdb/navdb.h"
#include "platform/host/sim_token_ids.h"

namespace {

bool is(const char* text, const char* want) { return std::strcmp(text, want) == 0; }

void set_active_wpt_position() {
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return;
  active_wpt_lat = fpl_active[fpl_active_index].lat;
  active_wpt_lon = fpl_active[fpl_active_index].lon;
}

// A clean record: no constraint, flags or texts.
void fresh_record(FlightPlanWpt& r, const std::string& ident, double lat, double lon, const char* type) {
  clear_fpl_record(r);
  fpl_set_text(r.ident, ident.c_str());
  fpl_set_text(r.type, type);
  r.lat = lat;
  r.lon = lon;
  r.alt_constraint = FPL_NO_CONSTRAINT;
}

// Last real record of the direct-to edit plan (-1 when it holds none).
int edit_real_last() {
  int n = fpl_edit_last + 1 < FPL_CAPACITY ? fpl_edit_last + 1 : FPL_CAPACITY - 1;
  for (int i = 0; i <= n; ++i)
    if (is(fpl_edit[i].ident, FPL_END_IDENT)) return i - 1;
  return n;
}

// ---- DIR CLOSEST ARP ----

// The page and guidance state of a direct-to just made: the leg starts at the aircraft
// and ACTIVE FPL shows the plan with no entry open.
void direct_flown_from_here() {
  gnsxls_fly_active_from_aircraft();
  gnsxls_fpl_column = gnsxls_fpl_column_saved;
  gnsxls_page = GNSXLS_PAGE_FPL;
  gnsxls_list_mode = 1;
  gnsxls_active_fpl_page = 1;
  gnsxls_prompt_open = 0;
  fms_leg_state = 0;
  reset_cdu_entry_state();
}

// The plan becomes the origin (when there is one), a DIRECT record at the aircraft and
// the airport, flown to; the old holds go with the old route.
void direct_closest_airport() {
  const ClosestAirport* a = nullptr;
  for (int i = 1; i <= 9 && !a; ++i)
    if (!closest_airports[i].ident.empty() && closest_airports[i].ident == gnsxls_scratchpad) a = &closest_airports[i];
  if (!a) return;
  FlightPlanWpt recs[3];
  int n = 0;
  if (fpl_active_index != FPL_NO_PLAN && fpl_active_last >= 0 && !is(fpl_active[0].ident, "DIRECT"))
    recs[n++] = fpl_active[0];
  fresh_record(recs[n], "DIRECT", present_lat, present_lon, "WPT");
  fpl_set_text(recs[n++].segment, "DCT");
  fresh_record(recs[n], a->ident, a->lat, a->lon, "APT");
  recs[n].alt_constraint = vnav_target_alt;
  for (int guard = 0; guard < HOLD_CAPACITY && hold_count > 0; ++guard) drop_first_hold();
  set_active_plan(recs, n, n);
  load_airport_block(a->ident, 2);
  load_plan_airport_info(a->ident, 1);
  route_dest_text = a->ident;
  fms_plan_activated();
  direct_flown_from_here();
}

// ---- direct to an edit-plan record ----

void send_forced_turn(double course) {
  int natural = turn_side(course, heading);
  forced_turn_dir = 0;
  if (gnsxls_turn_field == "RIGHT" && natural == 1) {
    forced_turn_dir = 2;
    int target = key_param(heading + 160.0);
    if (target >= 361) target -= 360;
    host_send_key_event(KEY_AP_HEADING_SET, target);
  } else if (gnsxls_turn_field == "LEFT" && natural == 2) {
    forced_turn_dir = 1;
    int target = key_param(heading - 160.0);
    if (target < 0) target += 360;
    host_send_key_event(KEY_AP_HEADING_SET, target);
  }
}

void direct_to_edit_record() {
  int real_last = edit_real_last();
  int k = fpl_edit_index;
  // No fix to fly to, or no room for the DIRECT record and the end record: refused.
  if (k < 0 || k > real_last) return;
  if (real_last + 1 > FPL_MAX_LAST) {
    gnsxls_message = GNSXLS_MSG_PLAN_FULL;
    return;
  }
  if (is(fpl_edit[k].ident, FPL_DISCO_IDENT) || is(fpl_edit[k].ident, FPL_THEN_IDENT)) return;
  // A plan without origin: the first airport becomes record 0.
  int from = k >= 1 && real_last >= 1 && is(fpl_edit[0].ident, "---") && is(fpl_edit[1].type, "APT") ? 1 : 0;
  int out = 0;
  int dest = -1;
  for (int i = from; i <= real_last; ++i) {
    if (i == k) {
      fresh_record(fpl_active[out], "DIRECT", present_lat, present_lon, "WPT");
      fpl_set_text(fpl_active[out].segment, "DCT");
      fpl_edit_index = ++out;
    }
    if (i == fpl_edit_dest_index) dest = out;
    fpl_active[out++] = fpl_edit[i];
  }
  fpl_active_last = out - 1;
  set_end_record(fpl_active[out]);
  fpl_active_dest_index = dest;
  // The holds keep their fixes: behind the DIRECT record, and without a dropped record 0.
  move_hold_edit_indexes(k, 1);
  if (from > 0) move_hold_edit_indexes(1, -from);
  commit_hold_indexes();
  sync_hold_numbers();
  fpl_active_index = fpl_edit_index;

  const FlightPlanWpt& to = fpl_active[fpl_active_index];
  double dist = 0.0, course = 0.0;
  compute_gc_distance_course(present_lat, present_lon, to.lat, to.lon, dist, course);
  course -= magvar;
  if (course < 0.5) course += 360.0;
  gc_course_deg = course;
  send_forced_turn(course);
  direct_flown_from_here();
}

void direct_typed_ident() {
  std::string text = gnsxls_trimmed(gnsxls_scratchpad);
  nav_search_count = 0;
  route_entry_text = text;
  create_user_waypoint(0);
  if (fix_match_count < 1) return;
  gnsxls_return_page = GNSXLS_PAGE_DIRECT;
  gnsxls_page = GNSXLS_PAGE_DATABASE_WPT;
  gnsxls_wpt_shown = 1;
  nav_search_count = 1;
}

// ---- the plan a new pilot or offset waypoint goes into ----

struct TargetPlan {
  FlightPlanWpt* recs;
  int32_t& last;
  int32_t& dest;
  bool active;
};

TargetPlan target_plan() {
  if (gnsxls_list_mode == 1) return {fpl_active, fpl_active_last, fpl_active_dest_index, true};
  return {fpl_edit, fpl_edit_last, fpl_edit_dest_index, false};
}

// A full plan is refused with the message line.
bool plan_has_room(const TargetPlan& p) {
  int k = fpl_edit_index;
  if (p.last >= FPL_MAX_LAST) gnsxls_message = GNSXLS_MSG_PLAN_FULL;
  return p.last < FPL_MAX_LAST && k >= 0 && k <= p.last + 1;
}

// Inserts the waypoint at fpl_edit_index; the records from there on move up one.
void insert_new_waypoint(const TargetPlan& p, const std::string& ident, double lat, double lon, const char* type) {
  int k = fpl_edit_index;
  FlightPlanWpt rec;
  fresh_record(rec, ident, lat, lon, type);
  rec.flyover = gnsxls_answer == "YES" ? 1 : 0;
  gnsxls_answer = "NO";
  if (p.active) {
    // The active plan's operation keeps the TO waypoint and the holds on their fixes.
    fpl_active_insert(k, rec);
  } else {
    for (int i = p.last; i >= k; --i) {
      p.recs[i + 1] = p.recs[i];
      renumber_hold_edit_wpt(i + 1, i);
      if (p.dest == i) p.dest = i + 1;
    }
    ++p.last;
    set_end_record(p.recs[p.last + 1]);
    p.recs[k] = rec;
    sync_hold_numbers();
  }
  if (fpl_edit_index < p.last) ++fpl_edit_index;
}

void toggle_answer() {
  gnsxls_answer = gnsxls_answer == "NO" ? "YES" : "NO";
  reset_cdu_entry_state();
}

// ---- PILOT ENTERED WPT ----

int digits(const std::string& s, std::size_t at, std::size_t n) {
  if (s.size() < at + n) return -1;
  int v = 0;
  for (std::size_t i = at; i < at + n; ++i) {
    char c = s[i] == ' ' ? '0' : s[i];
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

// Degrees, minutes and hundredths of a minute of a position field; false when the field
// is short or out of range (the field then stays open).
bool read_position(const std::string& text, bool longitude, double& out) {
  std::size_t deg_at = longitude ? 1 : 2;
  int deg = digits(text, deg_at, longitude ? 3 : 2);
  int min = digits(text, 5, 2);
  int hundredths = digits(text, 8, 2);
  if (deg < 0 || min < 0 || hundredths < 0 || min >= 60 || deg > (longitude ? 180 : 90)) return false;
  double v = deg + (min + hundredths / 100.0) / 60.0;
  if (v > (longitude ? 180.0 : 90.0)) return false;
  out = text[0] == (longitude ? 'W' : 'S') ? -v : v;
  return true;
}

void enter_pilot_wpt() {
  if (gnsxls_lsk_state[10] == 1) return toggle_answer();
  if (gnsxls_pos_field == 1 && gnsxls_pos_lat_text.size() > 3 && gnsxls_pos_lat_text[3] != ' ') {
    if (!read_position(gnsxls_pos_lat_text, false, gnsxls_pos_lat)) return;
    if (gnsxls_pos_lon == 0.0) gnsxls_pos_field = 2;
  } else if (gnsxls_pos_field == 2 && gnsxls_pos_lon_text.size() > 3 && gnsxls_pos_lon_text[3] != ' ') {
    if (!read_position(gnsxls_pos_lon_text, true, gnsxls_pos_lon)) return;
    if (gnsxls_pos_lat == 0.0) gnsxls_pos_field = 1;
  }
  if (gnsxls_pos_lat == 0.0 || gnsxls_pos_lon == 0.0) return;
  TargetPlan p = target_plan();
  if (!plan_has_room(p)) return;
  insert_new_waypoint(p, gnsxls_new_wpt_name, gnsxls_pos_lat, gnsxls_pos_lon, "WPT");
  if (p.active) fms_leg_state = 0;
  gnsxls_page = gnsxls_return_page;
  gnsxls_scratchpad = gnsxls_new_wpt_name;
  reset_cdu_entry_state();
}

// ---- OFFSET WPT ----

void enter_offset_wpt() {
  int32_t* s = gnsxls_lsk_state;
  // A field left without a digit stays unset: it is no radial or distance of 0.
  auto digits_or_unset = [](const std::string& t, const char* unset) {
    return t.find_first_of("0123456789") == std::string::npos ? std::string(unset) : t;
  };
  if (s[8] == 1) {
    gnsxls_offset_radial = digits_or_unset(gnsxls_offset_radial_edit, "-----");
    gnsxls_offset_dist_edit = gnsxls_offset_dist;
    s[8] = 2;
    return;
  }
  if (s[8] == 2) {
    gnsxls_offset_dist = digits_or_unset(gnsxls_offset_dist_edit, "------");
    s[8] = 0;
    gnsxls_prompt_open = 0;
    return;
  }
  if (s[10] == 1) return toggle_answer();
  int e = gnsxls_offset_choice;
  if (gnsxls_offset_radial == "-----" || gnsxls_offset_dist == "------") return;
  if (e < 1 || e > fix_match_count || e >= nav_search_slots) return;
  TargetPlan p = target_plan();
  if (!plan_has_room(p)) return;
  // The point of the reference, radial and distance shown now.
  const NavRecord& ref = nav_search_list[e];
  double radial = std::atof(gnsxls_offset_radial.c_str());
  double dist = std::atof(gnsxls_offset_dist.c_str());
  compute_dest_point(ref.lat, ref.lon, magvar + radial, dist, gnsxls_offset_lat, gnsxls_offset_lon);
  int k = fpl_edit_index;
  gnsxls_page = gnsxls_return_page;
  insert_new_waypoint(p, gnsxls_offset_ref + "*", gnsxls_offset_lat, gnsxls_offset_lon, "INT");
  if (!p.active) return;
  if (k <= fpl_active_index) set_active_wpt_position();
  fms_leg_state = 0;
}

}  // namespace

void gnsxls_fly_active_from_aircraft() {
  set_active_wpt_position();
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return;
  const FlightPlanWpt& to = fpl_active[fpl_active_index];
  start_direct_to(to.lat, to.lon, forced_turn_dir);
  // The DIRECT record before the fix lies where the direct course begins.
  if (fpl_active_index >= 1 && is(fpl_active[fpl_active_index - 1].ident, "DIRECT")) {
    fpl_active[fpl_active_index - 1].lat = dto_origin_lat;
    fpl_active[fpl_active_index - 1].lon = dto_origin_lon;
  }
}

void gnsxls_enter_direct_page() {
  if (gnsxls_dir_closest_arp != 1) return direct_closest_airport();
  if (gnsxls_direct_armed == 1 || gnsxls_clear_on_key == 1) return direct_to_edit_record();
  direct_typed_ident();
}

// DATABASE WPT for a direct-to: the candidate goes into the edit plan at fpl_edit_index
// and DIRECT opens with it.
void gnsxls_enter_direct_candidate() {
  int e = nav_search_count;
  int k = fpl_edit_index;
  int real_last = edit_real_last();
  // Room for the candidate and the two end records.
  if (e < 1 || e > fix_match_count || e >= nav_search_slots || k < 0 || k > real_last + 1 ||
      real_last + 3 > FPL_CAPACITY - 1) {
    if (real_last + 3 > FPL_CAPACITY - 1) gnsxls_message = GNSXLS_MSG_PLAN_FULL;
    gnsxls_page = GNSXLS_PAGE_DIRECT;
    return;
  }
  for (int i = real_last; i >= k; --i) {
    fpl_edit[i + 1] = fpl_edit[i];
    renumber_hold_edit_wpt(i + 1, i);
    if (fpl_edit_dest_index == i) fpl_edit_dest_index = i + 1;
  }
  ++real_last;
  FlightPlanWpt& rec = fpl_edit[k];
  fpl_record_from_nav(rec, nav_search_list[e]);
  rec.alt_constraint = FPL_NO_CONSTRAINT;
  fpl_edit_last = real_last + 1;
  set_end_record(fpl_edit[fpl_edit_last]);
  set_end_record(fpl_edit[fpl_edit_last + 1]);
  gnsxls_page = GNSXLS_PAGE_DIRECT;
  gnsxls_scratchpad = rec.ident;
  gnsxls_prompt_open = 1;
  gnsxls_clear_on_key = 1;
  gnsxls_direct_armed = 1;
  reset_cdu_entry_state();
  scratchpad_add_key("", 1);
}

void gnsxls_enter_pilot_wpt_page() { enter_pilot_wpt(); }
void gnsxls_enter_offset_wpt_page() { enter_offset_wpt(); }
