// RTE page: origin, destination, company route and runway on page 1, then the route
// as VIA / TO rows, five a page.
#include <cstring>

#include "cdu/smiths/page_layout.h"
#include "flightplan/route_entry.h"
#include "cdu/smiths/route_fields.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "flightplan/procedures.h"
#include "guidance/fms_state.h"
#include "navdb/navdb.h"

namespace {

bool none(const std::string& s) { return s.empty() || s == FPL_NONE_TEXT; }

// Where a long ident may reach: page 1's origin and destination share the line; a TO ident
// stays clear of its VIA text (the widest, "DIRECT", ends at 67).
constexpr double ORIGIN_RIGHT = 130.0, DEST_LEFT = 140.0, TO_LEFT = 100.0, RIGHT = 272.0;

// ---- page 1 keys ----

void enter_origin(const std::string& ident, CduLines io) {
  if (!load_airport_block(ident, 1)) {
    io.msg = "NOT IN DATABASE";
    return;
  }
  // In flight the route flown stays until EXEC: a new origin is a modification of it.
  FlightPlanWpt flown;
  if (fpl_changed_state >= 3 && fpl_fix_flown(flown)) {
    fpl_set_origin_mod(fpl_airport_record(apt_blocks[1]));
    route_origin_mod = apt_blocks[1].ident;
    route_runway_mod = FPL_NONE_TEXT;
    smiths_reset_dep_selection();
    if (fpl_changed_state == 3) fpl_changed_step();
    io.pad.clear();
    return;
  }
  fpl_start_route(fpl_airport_record(apt_blocks[1]));
  route_origin = apt_blocks[1].ident;
  route_origin_mod = route_origin;
  cruise_alt = 0;
  toc_reached = 0;
  tod_reached = 0;
  route_runway = FPL_NONE_TEXT;
  route_runway_mod = FPL_NONE_TEXT;
  route_dest = FPL_NONE_TEXT;
  route_dest_mod = FPL_NONE_TEXT;
  route_sid = FPL_NONE_TEXT;
  route_sid_trans = FPL_NONE_TEXT;
  smiths_reset_dep_selection();
  smiths_reset_arr_selection();
  fpl_changed_state = 0;
  io.pad.clear();
}

void enter_dest(const std::string& ident, CduLines io) {
  if (!load_airport_block(ident, 2)) {
    io.msg = "NOT IN DATABASE";
    return;
  }
  FlightPlanWpt dest = fpl_airport_record(apt_blocks[2]);
  if (fpl_changed_state < 3) {
    if (!fpl_set_destination(dest)) {
      io.msg = "INVALID ENTRY";
      return;
    }
    route_dest = apt_blocks[2].ident;
  } else {
    fpl_set_destination_mod(dest);
    route_dest_mod = apt_blocks[2].ident;
    if (fpl_changed_state == 3) fpl_changed_step();
  }
  smiths_reset_arr_selection();
  io.pad.clear();
}

void enter_co_route(const std::string& entry, CduLines io) {
  int found = find_stored_plan(entry);
  if (!found && entry.size() >= 5) {
    std::string orig = entry.substr(0, 4), dest = entry.substr(4, 4);
    for (int i = 1; i <= stored_plan_count && i < STORED_PLAN_CAPACITY && !found; ++i)
      if (orig == stored_plans[i].first_ident && dest == stored_plans[i].last_ident) found = i;
  }
  if (!found) {
    // A plan file the list refused exists, but cannot be loaded.
    io.msg = stored_plan_refused(entry) ? "Unable to load FP" : "NOT IN DATABASE";
    return;
  }
  const std::string kept = smiths_scratchpad_msg;
  const int loaded = smiths_load_stored_plan(found);
  const std::string answer = smiths_scratchpad_msg;
  smiths_scratchpad_msg = kept;
  if (!loaded) {
    io.msg = answer;
    return;
  }
  fpl_changed_state = fpl_changed_state < 3 ? 1 : 4;
  io.pad.clear();
}

void enter_runway(const std::string& entry, CduLines io) {
  const AptBlock& a = apt_blocks[1];
  int found = 0;
  for (int i = 1; i <= a.rwy_count && i <= apt_rwy_limit && !found; ++i)
    if (entry == a.rwys[i].ident) found = i;
  if (!found) {
    io.msg = "NOT IN DATABASE";
    return;
  }
  if (route_runway == FPL_NONE_TEXT) {
    route_runway = a.rwys[found].ident;
    route_runway_mod = FPL_NONE_TEXT;
    route_dep_rwy = route_runway;
    origin_runway_index = found;
    for (int i = 1; i <= dep_rwy_count; ++i)
      if (dep_rwy_list[i] == route_runway) dep_rwy_index = i;
    smiths_dep_rwy_chosen = 1;
  } else if (fpl_changed_state == 3) {
    route_runway_mod = entry;
    fpl_changed_step();
  } else {
    route_runway = entry;
  }
  io.pad.clear();
}

// ---- route-page keys ----


void via_key(int e, CduLines io) {
  if (io.msg == "DELETE") {
    if (e >= 2 && e <= rte_row_count && delete_route_row(e)) io.msg.clear();
    else io.msg = "INVALID DELETE";
    return;
  }
  if (io.pad.empty()) return;
  if (e <= 2 || e > rte_row_count + 1) {
    io.msg = "INVALID ENTRY";
    return;
  }
  int prev = find_edit_record_by_ident(e - 1, 0);
  const std::string& prev_to = rte_rows[e - 1].to;
  if ((prev == 0 && prev_to != fpl_edit[0].ident) || prev_to == FPL_DISCO_IDENT || prev_to == FPL_THEN_IDENT) {
    io.msg = "INVALID ENTRY";
    return;
  }
  load_airways_file(io.pad);
  if (fix_match_count < 1) {
    io.msg = "INVALID ENTRY";
    return;
  }
  if (select_next_duplicate(e - 1)) return;
  if (!expand_airway(prev, 0)) {
    io.msg = "INVALID ENTRY";
    return;
  }
  build_route_rows();
  fpl_step_on_edit();
  io.pad.clear();
}

// Exit fix of the airway waiting on the "THEN" record at `then_rec`.
void airway_exit(int then_rec, CduLines io) {
  if (then_rec < 1 || then_rec > fpl_edit_last) {
    io.msg = "INVALID ENTRY";
    return;
  }
  load_airways_file(fpl_edit[then_rec].via);
  int start = 0, end = 0;
  if (!find_airway_leg(fpl_edit[then_rec - 1].ident, io.pad, start, end)) {
    io.msg = "INVALID ENTRY";
    return;
  }
  airway_start_index = start;
  airway_end_index = end;
  fpl_edit_index = then_rec - 1;
  airway_insert_mode = 1;
  int ok = activate_plan();
  airway_insert_mode = 0;
  if (!ok) {
    io.msg = "INVALID ENTRY";
    return;
  }
  drop_then_rows();
  build_route_rows();
  fpl_step_on_edit();
  io.pad.clear();
}

int to_key(int e, CduLines io) {
  if (io.msg == "DELETE") {
    io.msg = "INVALID DELETE";
    return 0;
  }
  bool listed = e >= 2 && e <= rte_row_count;
  if (io.pad.empty()) {
    if (listed && rte_rows[e].to != FPL_THEN_IDENT && rte_rows[e].to != FPL_DISCO_IDENT)
      io.pad = rte_rows[e].to.substr(0, SMITHS_SCRATCHPAD_MAX);
    return 0;
  }
  if (e < 2 || e > rte_row_count + 1) {
    io.msg = "INVALID ENTRY";
    return 0;
  }
  if (listed && io.pad == rte_rows[e].to) {
    io.msg = "INVALID ENTRY";
    return 0;
  }
  int n = rte_entry_record(e);
  if (listed && rte_rows[e].to == FPL_THEN_IDENT) {
    airway_exit(n, io);
    return 0;
  }
  if (listed) {
    for (int j = n + 1; j <= fpl_edit_last; ++j) {
      if (io.pad == fpl_edit[j].ident) {
        remove_edit_rows(n, j);
        io.pad.clear();
        return 0;
      }
    }
  }
  int found = create_user_waypoint(0, io.pad);
  if (found == 0) {
    io.msg = "NOT IN DATABASE";
    return 0;
  }
  if (found == 1) {
    if (!store_selected_fix(n)) {
      io.msg = "INVALID ENTRY";
      return 0;
    }
    build_route_rows();
    fpl_step_on_edit();
  } else {
    select_wpt_row = e;
    io.pad.clear();
    return SMITHS_PAGE_SELECT_WPT;
  }
  io.pad.clear();
  return 0;
}

}  // namespace

int smiths_rte_key(int page, int k, CduLines io) {
  if (k <= 0) return 0;
  if (k == LSK_L6) {
    if (fpl_changed_state == 4) {
      erase_route_mods();
      build_route_rows();
    }
    return 0;
  }
  if (k == LSK_R6) {
    if (fpl_changed_state == 1) fpl_changed_step();
    else return SMITHS_PAGE_PERF_INIT;
    return 0;
  }
  if (page == 1) {
    if (io.pad.empty()) return 0;
    std::string entry = io.pad;
    switch (k) {
      case 1: enter_origin(entry, io); break;
      case 2: enter_co_route(entry, io); break;
      case 3:
        if (route_origin != FPL_NONE_TEXT) enter_runway(entry, io);
        break;
      case 6: enter_dest(entry, io); break;
      default: break;
    }
    return 0;
  }
  if (k >= 1 && k <= 5) via_key(5 * page - 9 + k, io);
  else if (k >= 6 && k <= 10) return to_key(5 * page - 9 + (k - 5), io);
  return 0;
}

namespace {

void handle_key(int page) {
  const int open = smiths_rte_key(page, smiths_pending_lsk, {smiths_scratchpad, smiths_scratchpad_msg});
  if (open == SMITHS_PAGE_SELECT_WPT) {
    select_wpt_return_page = SMITHS_PAGE_RTE;
    smiths_select_page_no = 1;
  }
  if (open != 0) smiths_page = open;
}

// ---- drawing ----

}  // namespace

void smiths_rte_draw_page_1(const CduPage& p) {
  cdu_small(p, 12, 22, "O R I G I N");
  // A simulator plan's airport ident may be longer than the database's: each stays in its half of the line.
  // A plan loaded over the route without an airport at its start (end) shows none pending.
  if (fpl_changed_state == 4 && !none(route_origin_mod) && !fpl_pending_plan_without_origin())
    cdu_boxed_within(p, 3, 33, 0, 33, route_origin_mod, 0, ORIGIN_RIGHT);
  else if (route_origin == FPL_NONE_TEXT || fpl_pending_plan_without_origin()) cdu_large(p, 0, 33, "- - - - -");
  else cdu_large_within(p, 0, 33, cdu_format("%5s", route_origin.c_str()), 0, ORIGIN_RIGHT);
  cdu_small(p, 220, 22, "D E S T");
  if (fpl_changed_state == 4 && !none(route_dest_mod) && !fpl_pending_plan_without_dest())
    cdu_boxed_within(p, 213, 33, 210, 33, route_dest_mod, DEST_LEFT, RIGHT);
  else if (none(route_dest) || fpl_pending_plan_without_dest()) cdu_five_boxes(p, 220, 10, 38);
  else cdu_large_within(p, 210, 33, cdu_format("%5s", route_dest.c_str()), DEST_LEFT, RIGHT);
  cdu_small(p, 12, 55, "C O   R O U T E");
  cdu_large(p, 0, 66, "- - - - - -");
  if (route_origin != FPL_NONE_TEXT) {
    cdu_small(p, 12, 88, "R U N W A Y");
    if (fpl_changed_state == 4 && route_runway_mod != FPL_NONE_TEXT && !route_runway_mod.empty())
      cdu_boxed(p, 0, 104, 0, 104, int(route_runway_mod.size()), route_runway_mod);
    else if (route_runway == FPL_NONE_TEXT) cdu_large(p, 0, 104, "- - - - -");
    else cdu_largef(p, 0, 104, "%s", route_runway.c_str());
  }
  cdu_large(p, 2, 132, "- - - - - - - - - - - - - - - - - - - - - - - -");
}

namespace {

void draw_route_rows(const CduPage& p, int page) {
  cdu_small(p, 12, 22, "V I A");
  cdu_small(p, 220, 22, "T O");
  for (int k = 1; k <= 5; ++k) {
    int e = 5 * page - 9 + k;
    if (e < 2 || e > rte_row_count) break;
    const RteRow& row = rte_rows[e];
    double y = 3 + 33 * k;
    if (row.to == FPL_THEN_IDENT || row.to == FPL_DISCO_IDENT) {
      cdu_large(p, 0, y, row.to == FPL_DISCO_IDENT ? "- - - - - -" : row.via);
      cdu_small(p, 100, y - 11, "THEN");
      cdu_five_boxes(p, 220, 10, y);
    } else if (rte_rows[e - 1].to == FPL_DISCO_IDENT) {
      cdu_small(p, 0, y - 11, "- -   R O U T E    D I S C O N T I N U I T Y  -");
      cdu_large(p, 0, y, "- - - - - -");
      cdu_large_within(p, 190, y, row.to, TO_LEFT, RIGHT);
    } else {
      cdu_large(p, 0, y, row.via);
      cdu_large_within(p, 190, y, row.to, TO_LEFT, RIGHT);
    }
  }
}

}  // namespace

int smiths_rte_page_step() {
  if (smiths_rte_key_flag == 1 && fpl_changed_state == 3) copy_active_to_edit();
  // The rows follow the edit plan, which the DEPARTURES, ARRIVALS and LEGS pages change too.
  build_route_rows();
  smiths_rte_page_count = (rte_row_count + 1 + 4) / 5 + 1;
  if (smiths_rte_page_count < 2) smiths_rte_page_count = 2;
  smiths_rte_page_no = cdu_step_page(smiths_rte_page_no, smiths_rte_page_count);
  return smiths_rte_page_no;
}

void smiths_fms_rte_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  int page = smiths_rte_page_step();

  cdu_act_mod_tag(p, 18);
  cdu_large(p, 63, 0, "RTE");
  cdu_smallf(p, 220, 0, "%2d/%2d", page, smiths_rte_page_count);
  handle_key(page);

  if (page == 1) smiths_rte_draw_page_1(p);
  else draw_route_rows(p, page);
  if (fpl_changed_state == 4) cdu_large(p, 0, 198, "< ERASE");
  if (fpl_changed_state == 1) cdu_large(p, 160, 202, "ACTIVATE >");
  else if (fpl_changed_state >= 2 && fpl_changed_state <= 4) cdu_large(p, 160, 202, "PERF INIT >");
  cdu_bottom_line(p);
  cdu_page_end(p);
}

int rte_entry_record(int e) { return e >= 1 && e <= rte_row_count ? rte_rows[e].record : fpl_edit_route_end(); }
