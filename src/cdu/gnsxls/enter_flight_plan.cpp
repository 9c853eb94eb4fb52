// ENTER on the flight-plan page: the bottom-line questions, a typed ident (airway,
// offset, database fix or pilot waypoint), DELETE, and on DATABASE WPT the insertion of
// the chosen candidate into the plan shown, with the next row opened.
#include <cstring>

#include "cdu/gnsxls/gnsxls.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_import.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "flightplan/procedures.h"
#include "guidance/fms_state.h"
#include "guidance/hold_legs.h"
#include "guidance/waypoint_sequencing.h"
#include "navdb/navdb.h"

namespace {

bool is(const char* text, const char* want) { return std::strcmp(text, want) == 0; }

// The plan the page shows: ACTIVE FPL works on fpl_active, an opened plan on fpl_edit.
struct ShownPlan {
  FlightPlanWpt* recs;
  int32_t& last;
  int32_t& dest;
  bool active;
  std::string& origin_text;
  std::string& dest_text;
  std::string* departure[3];  // runway, SID, SID transition
  std::string* arrival[5];    // STAR, STAR transition, arrival runway, approach, approach transition
};

ShownPlan shown_plan() {
  if (gnsxls_list_mode == 1) {
    return {fpl_active, fpl_active_last, fpl_active_dest_index, true, route_origin_text, route_dest_text,
            {&route_dep_runway_text, &route_sid_text, &route_sid_trans_text},
            {&route_star_text, &route_star_trans_text, &route_arr_runway_text, &route_appr_type_text,
             &route_appr_trans_text}};
  }
  return {fpl_edit, fpl_edit_last, fpl_edit_dest_index, false, edit_origin_text, edit_dest_text,
          {&edit_dep_runway_text, &edit_sid_text, &edit_sid_trans_text},
          {&edit_star_text, &edit_star_trans_text, &edit_arr_runway_text, &edit_appr_type_text,
           &edit_appr_trans_text}};
}

void renumber_hold(const ShownPlan& p, int new_index, int old_index) {
  if (p.active) renumber_hold_active_wpt(new_index, old_index);
  else renumber_hold_edit_wpt(new_index, old_index);
}

// A fix typed into or deleted from a procedure ends that procedure: its marks leave the
// whole plan (record 0 is never touched). A record's published altitude and speed stay
// constraints to meet: only the pilot changing that record changes them.
void strip_procedure_marks(const ShownPlan& p, int k) {
  if (p.last < 1 || k < 0 || k > p.last) return;
  auto replace = [&](const char* from, const char* to) {
    for (int i = 1; i <= p.last; ++i) {
      FlightPlanWpt& r = p.recs[i];
      if (!is(r.segment, from)) continue;
      if (fpl_has_constraint(r) && !is(r.type, "APT") && r.constraint_flag != 1) r.constraint_flag = r.crossed_at = 1;
      fpl_set_text(r.segment, to);
    }
  };
  const char* seg = p.recs[k].segment;
  if (is(seg, "SID") || is(seg, "SIDSTAR")) {
    replace("SID", "");
    replace("SIDSTAR", "STAR");
  }
  if (is(seg, "STAR") || is(seg, "SIDSTAR")) {
    replace("STAR", "");
    replace("SIDSTAR", "SID");
  }
  if (is(seg, "APPR")) replace("APPR", "");
}

void set_active_wpt_position() {
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return;
  active_wpt_lat = fpl_active[fpl_active_index].lat;
  active_wpt_lon = fpl_active[fpl_active_index].lon;
}

// A last airport record other than the destination becomes the destination.
void follow_new_destination(const ShownPlan& p) {
  if (p.last < 1 || !is(p.recs[p.last].type, "APT") || p.recs[p.last].ident == p.dest_text) return;
  p.dest_text = p.recs[p.last].ident;
  p.dest = p.last;
  load_airport_block(p.dest_text, 2);
  for (std::string* t : p.arrival) *t = FPL_NONE_TEXT;
  if (!p.active) return;
  load_plan_airport_info(p.dest_text, 1);
  dest_info_state = 2;
  dest_info_text_1 = dest_info_loaded_1;
  dest_info_text_2 = dest_info_loaded_2;
}

void set_scratchpad(const std::string& text) {
  gnsxls_scratchpad = text;
  scratchpad_add_key("", 1);
}

// ---- bottom-line questions ----

void copy_texts(std::string* const* to, std::string* const* from, int n) {
  for (int i = 0; i < n; ++i) *to[i] = *from[i];
}

// The first field of a procedure page still to choose: the airport is typed (R1 open),
// the procedure or its transition picked on R2, the runway on R1. False when all are chosen.
bool open_first_unchosen(const std::string& airport, const std::string& proc, const std::string& trans,
                         const std::string& runway) {
  int32_t* s = gnsxls_lsk_state;
  if (airport == FPL_NONE_TEXT) {
    s[6] = 1;
    gnsxls_prompt_open = 1;
    gnsxls_clear_on_key = 1;
  } else if (proc == FPL_NONE_TEXT || trans == FPL_NONE_TEXT) {
    s[7] = proc == FPL_NONE_TEXT ? 2 : 1;
    gnsxls_pending_lsk = 7;
  } else if (runway == FPL_NONE_TEXT) {
    s[6] = 1;
    gnsxls_pending_lsk = 6;
  } else {
    return false;
  }
  return true;
}

void open_departure_page(const ShownPlan& p) {
  gnsxls_page = GNSXLS_PAGE_DEPARTURE;
  airport_not_found = 0;
  reset_cdu_entry_state();
  dep_airport_text = p.origin_text;
  std::string* texts[3] = {&route_dep_rwy, &pending_sid, &pending_sid_trans};
  copy_texts(texts, p.departure, 3);
  gnsxls_scratchpad = dep_airport_text;
  // With every departure text chosen the SID's legs show at once.
  bool open = open_first_unchosen(dep_airport_text, pending_sid, pending_sid_trans, route_dep_rwy);
  gnsxls_proc_chosen[0] = open ? 0 : 1;
  // The legs shown are those of this departure, not of the last preview built.
  if (!open) sid_insert_helper_origin();
  gnsxls_dep_choice = 1;
}

void open_star_page(const ShownPlan& p) {
  reset_cdu_entry_state();
  gnsxls_page = GNSXLS_PAGE_STAR;
  airport_not_found = 0;
  gnsxls_star_choice = 1;
  gnsxls_proc_chosen[1] = 0;
  arr_airport_text = p.dest_text;
  std::string* texts[3] = {&pending_star, &pending_star_trans, &pending_arr_rwy};
  copy_texts(texts, p.arrival, 3);
  gnsxls_scratchpad = arr_airport_text;
  open_first_unchosen(arr_airport_text, pending_star, pending_star_trans, pending_arr_rwy);
}

void open_approach_page(const ShownPlan& p) {
  gnsxls_page = GNSXLS_PAGE_APPROACH;
  gnsxls_appr_choice = 1;
  gnsxls_proc_chosen[2] = 0;
  reset_cdu_entry_state();
  pending_appr_type = *p.arrival[3];
  pending_appr_trans = *p.arrival[4];
  arr_airport_text = p.dest_text;
  pending_arr_rwy = *p.arrival[2];
  gnsxls_return_page = GNSXLS_PAGE_FPL;
  if (arr_airport_text == FPL_NONE_TEXT) {
    gnsxls_scratchpad = arr_airport_text;
    gnsxls_lsk_state[6] = 1;
  } else {
    gnsxls_lsk_state[6] = 2;
  }
}

// ACTIVE FPL only: the column choice, SAVE FPL? and LOAD ATC RTE?. True when one acted.
bool active_fpl_questions() {
  const int32_t* s = gnsxls_lsk_state;
  if (gnsxls_prompt_open == 0 && s[10] == 1) {
    gnsxls_fpl_column_saved = gnsxls_fpl_column;
    reset_cdu_entry_state();
    return true;
  }
  if (s[9] == 2 && fpl_active_last >= 2 && is(fpl_active[0].type, "APT") && is(fpl_active[fpl_active_last].type, "APT")) {
    gnsxls_save_name = std::string(fpl_active[0].ident) + fpl_active[fpl_active_last].ident;
    gnsxls_scratchpad = gnsxls_save_name;
    reset_cdu_entry_state();
    gnsxls_prompt_open = 0;
    gnsxls_page = GNSXLS_PAGE_SAVE_FPL;
    return true;
  }
  if (s[10] == 2) {
    // The import's refusal ("NO ACTIVE GPS RTE") shows on the message line.
    fpl_message.clear();
    import_sim_gps_route(7);
    gnsxls_message = fpl_message;
    reset_cdu_entry_state();
    return true;
  }
  return false;
}

// ---- typed ident ----

void take_airway(const ShownPlan& p, const std::string& text) {
  load_airways_file(text);
  // Unknown airway: the row stays open with the entry.
  if (fix_match_count < 1) return;
  int join = fpl_edit_index - 1;
  if (join >= 0 && join <= p.last) {
    int s = find_airway_index(p.recs[join].ident);
    if (s >= 1) airway_start_index = airway_end_index = s;
  }
  gnsxls_page = GNSXLS_PAGE_AIRWAY;
  gnsxls_return_page = GNSXLS_PAGE_FPL;
}

void take_offset_reference(std::string text) {
  text.pop_back();
  if (text.empty()) text = "TMPXX";
  route_entry_text = text;
  create_user_waypoint(0);
  if (fix_match_count < 1) {
    gnsxls_scratchpad = text;
    return;
  }
  gnsxls_return_page = GNSXLS_PAGE_FPL;
  gnsxls_page = GNSXLS_PAGE_OFFSET_WPT;
  gnsxls_offset_ref = text;
  gnsxls_offset_choice = 1;
  gnsxls_offset_radial = "-----";
  gnsxls_offset_dist = "------";
  gnsxls_offset_lat_text = gnsxls_offset_lon_text = "----------";
}

void take_ident(const ShownPlan& p) {
  std::string text = gnsxls_trimmed(gnsxls_scratchpad);
  if (!text.empty() && text[0] == '#') return take_airway(p, text);
  if (!text.empty() && text.back() == '*') return take_offset_reference(text);
  route_entry_text = text;
  create_user_waypoint(0);
  if (fix_match_count >= 1) {
    gnsxls_return_page = GNSXLS_PAGE_FPL;
    gnsxls_page = GNSXLS_PAGE_DATABASE_WPT;
    gnsxls_wpt_shown = 1;
    nav_search_count = 1;
    return;
  }
  gnsxls_new_wpt_name = text.empty() ? "TMP00" : text;
  gnsxls_return_page = GNSXLS_PAGE_FPL;
  gnsxls_page = GNSXLS_PAGE_PILOT_WPT;
  gnsxls_prompt_open = 1;
  gnsxls_clear_on_key = 1;
  gnsxls_pos_lat_text = gnsxls_pos_lon_text = "----------";
  gnsxls_lsk_state[8] = 1;
  gnsxls_pos_lat = gnsxls_pos_lon = 0.0;
}

// ---- DELETE ----

void delete_record(const ShownPlan& p) {
  int k = fpl_edit_index;
  if (k < 0 || k > p.last) return;
  strip_procedure_marks(p, k);
  // A hold belongs to its fix: it goes with it.
  if (hold_count >= 1 && (p.active ? hold_list[1].active_wpt : hold_list[1].edit_wpt) == k) drop_first_hold();
  if (p.dest == k) p.dest = -1;
  for (int i = k + 1; i <= p.last; ++i) {
    p.recs[i - 1] = p.recs[i];
    renumber_hold(p, i - 1, i);
    if (p.dest == i) p.dest = i - 1;
  }
  --p.last;
  set_end_record(p.recs[p.last + 1]);
  if (p.active) {
    if (fpl_active_index != FPL_NO_PLAN && fpl_active_index > k) --fpl_active_index;
    // Never past the last record: the end record is no waypoint.
    if (fpl_active_index != FPL_NO_PLAN && fpl_active_index > fpl_active_last)
      fpl_active_index = fpl_active_last >= 0 ? fpl_active_last : FPL_NO_PLAN;
    if (fpl_active_index != FPL_NO_PLAN && fpl_active_index > 0) set_active_wpt_position();
    fms_leg_state = 0;
  }
  sync_hold_numbers();
  set_scratchpad(p.recs[k].ident);
  gnsxls_delete_request = 0;
  follow_new_destination(p);
}

// The row after the one just filled opens: L1 -> L2 -> L2' -> L3 -> L3' -> L4 -> next page.
void open_next_row() {
  int32_t* s = gnsxls_lsk_state;
  if (s[1] == 1) {
    s[1] = 0;
    s[2] = 1;
  } else if (s[2] == 1) {
    s[2] = 2;
  } else if (s[2] == 2) {
    s[2] = 0;
    s[3] = 1;
  } else if (s[3] == 1) {
    s[3] = 2;
  } else if (s[3] == 2) {
    s[3] = 0;
    s[4] = 1;
  } else if (s[4] == 1) {
    s[4] = 0;
    s[1] = 1;
    ++(gnsxls_list_mode == 1 ? gnsxls_active_fpl_page : gnsxls_plan_row_page);
  }
  gnsxls_prompt_open = 1;
  gnsxls_clear_on_key = 1;
}

void insert_candidate(const ShownPlan& p) {
  int k = fpl_edit_index;
  int e = nav_search_count;
  // A full plan, a row outside it or no candidate: refused, the row stays open.
  if (p.last >= FPL_MAX_LAST) gnsxls_message = GNSXLS_MSG_PLAN_FULL;
  if (p.last >= FPL_MAX_LAST || k < 0 || k > p.last + 1 || e < 1 || e > fix_match_count || e >= nav_search_slots ||
      (p.active && fpl_active_index == FPL_NO_PLAN)) {
    gnsxls_page = GNSXLS_PAGE_FPL;
    return;
  }
  strip_procedure_marks(p, k);
  for (int i = p.last; i >= k; --i) {
    p.recs[i + 1] = p.recs[i];
    renumber_hold(p, i + 1, i);
    if (p.dest == i) p.dest = i + 1;
    if (p.active && i == fpl_active_index && i >= 2) {
      ++fpl_active_index;
      set_active_wpt_position();
    }
  }
  ++p.last;
  set_end_record(p.recs[p.last + 1]);
  FlightPlanWpt& rec = p.recs[k];
  fpl_record_from_nav(rec, nav_search_list[e]);
  rec.alt_constraint = FPL_NO_CONSTRAINT;
  rec.flyover = gnsxls_answer == "YES" ? 1 : 0;
  gnsxls_answer = "NO";
  sync_hold_numbers();

  fpl_edit_index = k + 1;
  gnsxls_page = GNSXLS_PAGE_FPL;
  gnsxls_fpl_column = gnsxls_fpl_column_saved;
  if (p.active) {
    if (fpl_active_index < 2) set_active_wpt_position();
    fms_leg_state = 0;
  }
  open_next_row();
  set_scratchpad(p.recs[k + 1].ident);

  if (is(p.recs[0].type, "APT") && (p.active ? p.recs[0].ident != p.origin_text : k == 0)) {
    p.origin_text = p.recs[0].ident;
    load_airport_block(p.origin_text, 1);
    for (std::string* t : p.departure) *t = FPL_NONE_TEXT;
    if (!p.active) gnsxls_proc_chosen[0] = 0;
  }
  follow_new_destination(p);
}

}  // namespace

void gnsxls_enter_flight_plan_page() {
  const int32_t* s = gnsxls_lsk_state;
  if (gnsxls_list_mode != 1 && gnsxls_list_mode != 2) return;
  ShownPlan p = shown_plan();
  if (s[4] == 2) return open_departure_page(p);
  if (s[5] == 1) return open_star_page(p);
  if (s[5] == 2) return open_approach_page(p);
  if (gnsxls_list_mode == 1 && active_fpl_questions()) return;
  if (gnsxls_prompt_open != 1) return;
  if (gnsxls_list_mode == 2 && gnsxls_plan_selected != 1) return;
  if (gnsxls_delete_request == 1) delete_record(p);
  else take_ident(p);
}

void gnsxls_enter_database_wpt_page() {
  int32_t* s = gnsxls_lsk_state;
  if (s[10] == 1) {
    reset_cdu_entry_state();
    gnsxls_answer = gnsxls_trimmed(gnsxls_scratchpad);
    return;
  }
  if (s[10] == 2 && gnsxls_return_page == GNSXLS_PAGE_DIRECT) {
    reset_cdu_entry_state();
    gnsxls_turn_field = gnsxls_trimmed(gnsxls_scratchpad);
    return;
  }
  switch (gnsxls_return_page) {
    case GNSXLS_PAGE_FPL:
      if (gnsxls_list_mode == 1 || gnsxls_list_mode == 2) insert_candidate(shown_plan());
      break;
    case GNSXLS_PAGE_DEPARTURE:
    case GNSXLS_PAGE_STAR:
    case GNSXLS_PAGE_APPROACH: gnsxls_enter_procedure_airport(); break;
    default: gnsxls_enter_direct_candidate(); break;
  }
}
