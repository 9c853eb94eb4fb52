// ENTER on DEPARTURE, STAR and APPROACH: the typed airport (confirmed on DATABASE WPT),
// then the picked runway, procedure and transition, each rebuilding the lists that depend
// on it and opening the next list still to choose; a list of one name is taken at once.
// With all three chosen the legs show with "SELECT?", and a further ENTER inserts them
// into the plan shown.
//
// Line keys read here: R1 (6) 1 airport typed, 2 runway list; R2 (7) 1 row-2 list,
// 2 row-3 list; L3 (3) 1 the next L3 press picks slot 2; L5 (5) 1 "SELECT?" shown.
#include <cstring>
#include <string>

#include "cdu/gnsxls/gnsxls.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"
#include "guidance/fms_state.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

namespace {

constexpr int DEP = 0, STAR = 1, APPR = 2;  // gnsxls_proc_chosen entries

bool set(const std::string& s) { return s != FPL_NONE_TEXT; }

// First SID (slot 1) or STAR (slot 2) block of that exact name; 0 none.
int find_proc_block(int slot, const std::string& name) {
  const AptBlock& a = apt_blocks[slot];
  for (int i = 1; i <= a.proc_count && i <= apt_proc_block_limit; ++i)
    if (name == a.procs[i].name) return i;
  return 0;
}

void take_block(int slot, const std::string& name, int32_t& index) {
  if (int i = find_proc_block(slot, name)) index = i;
}

// Transition names of a block's legs: their number, the first in `first`.
int transition_legs(int slot, int block, std::string& first) {
  const ProcBlock& b = apt_blocks[slot].procs[block];
  int n = 0;
  for (int k = 1; k <= b.leg_count && k < proc_leg_slots; ++k) {
    if (b.legs[k].transition[0] == '\0') continue;
    if (n++ == 0) first = b.legs[k].transition;
  }
  return n;
}

// The airport typed on DEPARTURE (slot 1) or STAR and APPROACH (slot 2).
bool take_airport(int slot, std::string& field, int32_t return_page) {
  std::string ident = gnsxls_trimmed(gnsxls_scratchpad);
  if (load_airport_block(ident, slot) != 1) {
    airport_not_found = 1;
    // APPROACH tells below its lists; the other pages on the message line.
    if (gnsxls_page != GNSXLS_PAGE_APPROACH) gnsxls_message = GNSXLS_MSG_NO_AIRPORT;
    return false;
  }
  field = ident;
  gnsxls_return_page = return_page;
  gnsxls_page = GNSXLS_PAGE_DATABASE_WPT;
  gnsxls_wpt_shown = 1;
  fix_match_count = 1;
  airport_not_found = 0;
  return true;
}

// After a procedure goes into the active plan the fix flown before (`before`, `flown` when
// there was one) stays active while the plan still has it: an insertion never sends the
// aircraft back. Otherwise, and on the ground where the plan is being built, the plan's
// first leg is flown from the aircraft.
void fly_on_after_insertion(bool flown, const FlightPlanWpt& before) {
  gnsxls_active_fpl_page = 1;
  const int keep = flown ? fpl_record_of_fix(fpl_active, fpl_active_last, before, fpl_active_index) : 0;
  if (keep >= 1) {
    fpl_active_index = keep;
    active_wpt_lat = fpl_active[keep].lat;
    active_wpt_lon = fpl_active[keep].lon;
    return;
  }
  fpl_active_index = 1;
  gnsxls_fly_active_from_aircraft();
}

void approach_preview() {
  list_approach_transitions();
  gnsxls_proc_chosen[APPR] = 1;
  proc_list_cursor = 1;
}

// ---- DEPARTURE ----

void insert_departure() {
  bool active = gnsxls_list_mode == 1;
  FlightPlanWpt before{};
  const bool flown = fpl_fix_flown(before);
  if (!(active ? insert_sid_active() : insert_sid_edit())) return;
  gnsxls_proc_chosen[DEP] = 0;
  if (active) {
    fly_on_after_insertion(flown, before);
    fms_leg_state = 0;
  }
  std::string* to[4] = {&route_sid_text, &route_sid_trans_text, &route_dep_runway_text, &route_origin_text};
  std::string* to_edit[4] = {&edit_sid_text, &edit_sid_trans_text, &edit_dep_runway_text, &edit_origin_text};
  const std::string* from[4] = {&pending_sid, &pending_sid_trans, &route_dep_rwy, &dep_airport_text};
  for (int i = 0; i < 4; ++i) *(active ? to : to_edit)[i] = *from[i];
  gnsxls_page = GNSXLS_PAGE_FPL;
  gnsxls_fpl_column = gnsxls_fpl_column_saved;
  gnsxls_prompt_open = 0;
  gnsxls_dep_choice = 0;
  reset_cdu_entry_state();
}

void departure_sid_picked() {
  int32_t* s = gnsxls_lsk_state;
  pending_sid = gnsxls_scratchpad;
  reset_cdu_entry_state();
  gnsxls_dep_choice = 1;
  proc_list_cursor = 1;
  if (!set(route_dep_rwy)) {
    fill_origin_proc_entry(pending_sid);
    s[6] = 2;
  }
  if (set(pending_sid_trans)) {
    take_block(1, pending_sid, sid_block_index);
  } else {
    set_origin_proc_entry_ext(pending_sid, route_dep_rwy, 0);
    if (int b = find_proc_block(1, pending_sid)) {
      std::string first;
      int n = transition_legs(1, b, first);
      // One leg with a transition: taken at once; two or more: the list opens.
      if (n == 1) pending_sid_trans = first;
      if (n >= 2) s[6] = 0;
      sid_block_index = b;
    }
  }
  if (!set(pending_sid_trans)) s[7] = 2;
  else if (!set(route_dep_rwy)) s[6] = 2;
}

void departure_transition_picked() {
  int32_t* s = gnsxls_lsk_state;
  pending_sid_trans = gnsxls_scratchpad;
  reset_cdu_entry_state();
  if (!set(pending_sid)) {
    set_origin_proc_entry(route_dep_rwy, pending_sid_trans);
    if (dep_sid_count == 1) {
      pending_sid = dep_sid_list[1];
      take_block(1, pending_sid, sid_block_index);
    } else if (dep_sid_count > 1) {
      s[3] = 1;
    }
  }
  if (!set(pending_sid)) {
    s[7] = 1;
  } else if (!set(route_dep_rwy)) {
    fill_origin_proc_entry(pending_sid);
    s[6] = 2;
  }
  gnsxls_dep_choice = 1;
}

void enter_departure() {
  int32_t* s = gnsxls_lsk_state;
  if (gnsxls_proc_chosen[DEP] == 1 && s[5] == 1) return insert_departure();
  if (s[6] == 2) {
    route_dep_rwy = gnsxls_scratchpad;
    reset_cdu_entry_state();
    set_origin_proc_entry(route_dep_rwy, pending_sid_trans);
    if (!set(pending_sid)) s[7] = 1;
    else if (!set(pending_sid_trans)) s[7] = 2;
    gnsxls_dep_choice = 1;
  } else if (s[6] == 1) {
    take_airport(1, dep_airport_text, GNSXLS_PAGE_DEPARTURE);
  } else if (s[7] == 1) {
    departure_sid_picked();
  } else if (s[7] == 2) {
    departure_transition_picked();
  } else {
    return;
  }
  if (set(pending_sid) && set(pending_sid_trans) && set(route_dep_rwy) && gnsxls_proc_chosen[DEP] == 0) {
    sid_insert_helper_origin();
    gnsxls_dep_choice = 1;
    gnsxls_proc_chosen[DEP] = 1;
    s[5] = 1;
  }
}

// ---- STAR ----

// The arrival goes into the plan shown; an opened plan keeps its own texts.
bool insert_arrival() {
  bool active = gnsxls_list_mode == 1;
  if (!(active ? insert_star_appr_active() : insert_star_appr_edit())) return false;
  gnsxls_proc_chosen[STAR] = 0;
  if (active) gnsxls_active_fpl_page = 1;
  std::string* to[4] = {&route_star_text, &route_star_trans_text, &route_arr_runway_text, &route_dest_text};
  std::string* to_edit[4] = {&edit_star_text, &edit_star_trans_text, &edit_arr_runway_text, &edit_dest_text};
  const std::string* from[4] = {&pending_star, &pending_star_trans, &pending_arr_rwy, &arr_airport_text};
  for (int i = 0; i < 4; ++i) *(active ? to : to_edit)[i] = *from[i];
  gnsxls_page = GNSXLS_PAGE_FPL;
  gnsxls_fpl_column = gnsxls_fpl_column_saved;
  fms_leg_state = 0;
  reset_cdu_entry_state();
  return true;
}

void star_transition_picked() {
  int32_t* s = gnsxls_lsk_state;
  pending_star_trans = gnsxls_scratchpad;
  reset_cdu_entry_state();
  if (!set(pending_star)) {
    set_dest_proc_entry(pending_arr_rwy, pending_star_trans);
    if (arr_star_count == 1) {
      pending_star = arr_star_list[1];
      take_block(2, pending_star, star_block_index);
    }
  }
  if (!set(pending_star)) {
    s[7] = 2;
    if (arr_star_count > 1) s[3] = 1;
    proc_list_cursor = 1;
  } else if (!set(pending_arr_rwy)) {
    fill_dest_proc_entry(pending_star);
    s[6] = 2;
    if (arr_rwy_count >= 1) s[3] = 1;
    proc_list_cursor = 1;
  }
  gnsxls_star_choice = 1;
}

void star_picked() {
  int32_t* s = gnsxls_lsk_state;
  pending_star = gnsxls_scratchpad;
  set_dest_proc_entry_ext(pending_star, pending_arr_rwy, 0);
  fill_dest_proc_entry(pending_star);
  reset_cdu_entry_state();
  gnsxls_star_choice = 1;
  proc_list_cursor = 1;
  if (int b = find_proc_block(2, pending_star)) {
    std::string first;
    if (transition_legs(2, b, first) == 1) pending_star_trans = first;
    star_block_index = b;
  }
  if (!set(pending_star_trans)) s[7] = 1;
  else if (!set(pending_arr_rwy)) s[6] = 2;
}

void enter_star() {
  int32_t* s = gnsxls_lsk_state;
  // A picked runway goes on with the transition or STAR it leaves to choose.
  if (s[6] == 2) {
    reset_cdu_entry_state();
    pending_arr_rwy = gnsxls_scratchpad;
    set_dest_proc_entry(pending_arr_rwy, pending_star_trans);
    if (!set(pending_star_trans)) {
      s[7] = 1;
      gnsxls_scratchpad = pending_star_trans;
    } else if (!set(pending_star)) {
      s[7] = 2;
      gnsxls_scratchpad = pending_star;
    }
  }
  if (gnsxls_proc_chosen[STAR] == 1 && s[5] == 1) {
    if (insert_arrival()) return;
  } else if (s[6] == 1) {
    take_airport(2, arr_airport_text, GNSXLS_PAGE_STAR);
  } else if (s[7] == 1) {
    star_transition_picked();
  } else if (s[7] == 2) {
    star_picked();
  }
  if (set(pending_star) && set(pending_star_trans) && set(pending_arr_rwy) && gnsxls_proc_chosen[STAR] == 0) {
    gnsxls_star_choice = 1;
    gnsxls_proc_chosen[STAR] = 1;
    star_insert_helper_dest();
    reset_cdu_entry_state();
    s[5] = 1;
  }
}

// ---- APPROACH ----

// With an approach chosen: its legs when the runway is set, else the runway list for it.
void approach_runway_or_preview() {
  if (set(pending_arr_rwy)) {
    approach_preview();
  } else {
    set_dest_iaf_entry(pending_appr_type, pending_appr_trans);
    gnsxls_lsk_state[6] = 2;
  }
}

bool approach_listed(const std::string& type) {
  for (int k = 1; k <= arr_appr_count && k <= PROC_LIST_CAPACITY; ++k)
    if (arr_appr_list[k].type == type) return true;
  return false;
}

// A type or transition chosen before (the plan's, or another runway's) stays only where
// the runway picked has it: otherwise that runway's own approaches and transitions open.
void keep_choices_of_runway() {
  if (set(pending_appr_type)) {
    list_approaches(pending_arr_rwy, FPL_NONE_TEXT);
    if (!approach_listed(pending_appr_type)) pending_appr_type = pending_appr_trans = FPL_NONE_TEXT;
  }
  if (set(pending_appr_trans)) {
    list_approaches(pending_arr_rwy, pending_appr_trans);
    if (arr_appr_count < 1 || (set(pending_appr_type) && !approach_listed(pending_appr_type)))
      pending_appr_trans = FPL_NONE_TEXT;
  }
}

void approach_runway_picked() {
  int32_t* s = gnsxls_lsk_state;
  pending_arr_rwy = gnsxls_scratchpad;
  reset_cdu_entry_state();
  keep_choices_of_runway();
  if (!set(pending_appr_type)) {
    list_approaches(pending_arr_rwy, pending_appr_trans);
    if (arr_appr_count != 1) {
      s[7] = 1;
      return;
    }
    pending_appr_type = arr_appr_list[1].type;
  }
  if (set(pending_appr_trans)) {
    approach_preview();
  } else {
    apply_approach_selection();
    s[7] = 2;
  }
}

void approach_type_picked() {
  reset_cdu_entry_state();
  pending_appr_type = gnsxls_scratchpad;
  if (!set(pending_appr_trans)) {
    apply_approach_selection();
    if (arr_appr_trans_count == 1) pending_appr_trans = arr_appr_trans_list[1];
  }
  if (set(pending_appr_trans)) {
    approach_runway_or_preview();
  } else {
    // Several transitions: the runway list first, the transitions after the runway.
    set_dest_iaf_entry(pending_appr_type, FPL_NONE_TEXT);
    gnsxls_lsk_state[6] = 2;
  }
  gnsxls_appr_choice = 1;
}

void approach_transition_picked() {
  reset_cdu_entry_state();
  pending_appr_trans = gnsxls_scratchpad;
  if (!set(pending_appr_type)) {
    list_approaches(pending_arr_rwy, pending_appr_trans);
    if (arr_appr_count != 1) {
      gnsxls_lsk_state[7] = 1;
      return;
    }
    pending_appr_type = arr_appr_list[1].type;
  }
  approach_runway_or_preview();
}

void insert_approach_chosen() {
  bool active = gnsxls_list_mode == 1;
  FlightPlanWpt before{};
  const bool flown = fpl_fix_flown(before);
  if (!(active ? insert_approach() : insert_approach_disco(0))) return;
  gnsxls_proc_chosen[APPR] = 0;
  if (active) {
    gnsxls_page = GNSXLS_PAGE_FPL;
    gnsxls_fpl_column = gnsxls_fpl_column_saved;
    fly_on_after_insertion(flown, before);
  }
  std::string* to[4] = {&route_appr_trans_text, &route_appr_type_text, &route_dest_text, &route_arr_runway_text};
  std::string* to_edit[4] = {&edit_appr_trans_text, &edit_appr_type_text, &edit_dest_text, &edit_arr_runway_text};
  const std::string* from[4] = {&pending_appr_trans, &pending_appr_type, &arr_airport_text, &pending_arr_rwy};
  for (int i = 0; i < 4; ++i) *(active ? to : to_edit)[i] = *from[i];
  fms_leg_state = 0;
  reset_cdu_entry_state();
}

void enter_approach() {
  int32_t* s = gnsxls_lsk_state;
  // A typed airport ends the press.
  if (s[6] == 1) {
    if (!take_airport(2, arr_airport_text, GNSXLS_PAGE_APPROACH)) {
      arr_airport_text = FPL_NONE_TEXT;
      gnsxls_prompt_open = 0;
      s[6] = 0;
    }
    return;
  }
  if (s[6] == 2) approach_runway_picked();
  else if (s[7] == 1) approach_type_picked();
  else if (s[7] == 2) approach_transition_picked();
  else if (gnsxls_proc_chosen[APPR] == 1) insert_approach_chosen();
}

}  // namespace

void gnsxls_enter_procedure_page() {
  const int32_t* s = gnsxls_lsk_state;
  // With a list open only one of its items is taken (nothing picked: nothing happens).
  bool list_open = s[6] == 2 || s[7] == 1 || s[7] == 2;
  if (list_open && s[6] != 1 && !gnsxls_open_list_holds(gnsxls_scratchpad)) return;
  switch (gnsxls_page) {
    case GNSXLS_PAGE_DEPARTURE: enter_departure(); break;
    case GNSXLS_PAGE_STAR: enter_star(); break;
    case GNSXLS_PAGE_APPROACH: enter_approach(); break;
    default: break;
  }
}

// Back from DATABASE WPT with the airport confirmed: the page's first list opens.
void gnsxls_enter_procedure_airport() {
  int32_t* s = gnsxls_lsk_state;
  gnsxls_page = gnsxls_return_page;
  reset_cdu_entry_state();
  switch (gnsxls_return_page) {
    case GNSXLS_PAGE_DEPARTURE:
      gnsxls_dep_choice = 1;
      s[7] = 1;
      s[3] = 1;
      proc_list_cursor = 1;
      pending_sid = pending_sid_trans = route_dep_rwy = FPL_NONE_TEXT;
      set_origin_proc_entry(route_dep_rwy, pending_sid_trans);
      gnsxls_proc_chosen[DEP] = 0;
      break;
    case GNSXLS_PAGE_STAR:
      s[7] = 1;
      s[3] = 1;
      proc_list_cursor = 1;
      pending_arr_rwy = pending_star = pending_star_trans = FPL_NONE_TEXT;
      set_dest_proc_entry(pending_arr_rwy, pending_star_trans);
      gnsxls_proc_chosen[STAR] = 0;
      break;
    default:
      pending_arr_rwy = pending_appr_type = pending_appr_trans = FPL_NONE_TEXT;
      set_dest_iaf_entry(FPL_NONE_TEXT, FPL_NONE_TEXT);
      s[6] = 2;
      gnsxls_appr_choice = 1;
      gnsxls_proc_chosen[APPR] = 0;
      break;
  }
}
