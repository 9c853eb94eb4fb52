// Page 1: its line keys, the FLIGHT PLAN LIST, view 2 of an opened stored plan with its
// activation; ACTIVE FPL (view 1) is in active_fpl_view.cpp.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/plan_rows.h"
#include "draw/draw_toolkit.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "flightplan/procedures.h"
#include "flightplan/route_progress.h"
#include "guidance/flight_log.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "guidance/toc_tod.h"
#include "guidance/waypoint_sequencing.h"
#include "navdb/navdb.h"

namespace {

struct RowKey {
  int32_t lsk;
  int32_t state;
};
constexpr RowKey row_keys[GNSXLS_ROWS_PER_PAGE] = {{1, 1}, {2, 1}, {2, 2}, {3, 1}, {3, 2}, {4, 1}};

bool is(const char* text, const char* want) { return std::strcmp(text, want) == 0; }

}  // namespace

bool plan_row_selected(int k) { return gnsxls_lsk_state[row_keys[k].lsk] == row_keys[k].state; }

int plan_row_chosen() {
  for (int k = 0; k < GNSXLS_ROWS_PER_PAGE; ++k)
    if (plan_row_selected(k)) return k;
  return -1;
}

void plan_row_choose(int k) {
  reset_cdu_entry_state();
  if (k >= 0 && k < GNSXLS_ROWS_PER_PAGE) gnsxls_lsk_state[row_keys[k].lsk] = row_keys[k].state;
}

bool plan_row_key_pending(int k) {
  return plan_row_selected(k) && gnsxls_pending_lsk >= 1 && gnsxls_pending_lsk <= 4;
}

double plan_row_x(const FlightPlanWpt& rec) {
  const char* s = rec.segment;
  return is(s, "SID") || is(s, "SIDSTAR") || is(s, "STAR") || is(s, "APPR") ? 116.0 : 96.0;
}

void draw_open_plan_row(const GnsPage& p, double x, double y) {
  gns_field(p, x, y, 6, gnsxls_scratchpad);
  if (gnsxls_delete_request == 1) gns_text(p, 230, y, p.yellow, "DELETE?");
}

void set_plan_row_arrows(GnsPage& p, int rows_drawn) {
  if (rows_drawn > 0) p.arrows[1] = '<';
  if (rows_drawn > 1) p.arrows[2] = '<';
  if (rows_drawn > 3) p.arrows[3] = '<';
  p.arrows[4] = p.arrows[5] = '<';
}

void draw_procedure_prompts(const GnsPage& p) {
  const int32_t* s = gnsxls_lsk_state;
  gns_prompt(p, 32, 280, s[4] == 2, s[4] == 2 ? "DEPART?" : "DEPART");
  gns_prompt(p, 32, 320, s[5] == 1, s[5] == 1 ? "ARRIVE?" : "ARRIVE");
  gns_prompt(p, 32, 360, s[5] == 2, s[5] == 2 ? "APPROACH?" : "APPROACH");
}

// ---- line keys ----

void flight_plan_line_key(bool view1, int active_rows) {
  if (gnsxls_pending_lsk == 0) return;
  gnsxls_delete_request = 0;
  int32_t key = gnsxls_pending_lsk;
  if (key < 1 || key > 10) return;
  int32_t old = gnsxls_lsk_state[key];
  int32_t& s = gnsxls_lsk_state[key];
  switch (key) {
    case 1:
      reset_cdu_entry_state();
      s = old == 0 ? 1 : 0;
      if (s == 1) gnsxls_clear_on_key = 1;
      gnsxls_prompt_open = s;
      break;
    case 2:
    case 3:
      reset_cdu_entry_state();
      if (old == 2) {
        gnsxls_prompt_open = 0;
      } else {
        s = old + 1;
        gnsxls_prompt_open = 1;
        gnsxls_clear_on_key = 1;
      }
      break;
    case 4:
      reset_cdu_entry_state();
      if (old == 1) {
        s = 2;
        gnsxls_prompt_open = 0;
        gnsxls_clear_on_key = 0;
      } else if (old == 2) {
        gnsxls_prompt_open = 0;
      } else {
        gnsxls_l4_row_index = (gnsxls_plan_row_page - 1) * GNSXLS_ROWS_PER_PAGE + 5;
        // No row under L4: straight to DEPART?.
        bool no_row = view1 ? active_rows < 5
                            : gnsxls_plan_selected == 1 && fpl_edit_last + 1 < gnsxls_l4_row_index;
        s = no_row ? 2 : 1;
        gnsxls_prompt_open = no_row ? 0 : 1;
        gnsxls_clear_on_key = no_row ? 0 : 1;
      }
      break;
    case 5:
      reset_cdu_entry_state();
      s = old == 2 ? 0 : old + 1;
      if (old == 2) gnsxls_prompt_open = 0;
      break;
    case 6:
      if (old == 2) reset_cdu_entry_state();
      s = old == 2 ? 0 : old + 1;
      break;
    case 7:
    case 8: s = old == 2 ? 0 : old + 1; break;
    case 9:
      reset_cdu_entry_state();
      s = old == 0 ? (view1 ? 2 : 1) : old == 1 ? 2 : 0;
      break;
    case 10:
      reset_cdu_entry_state();
      s = old == 2 ? 0 : old + 1;
      if (view1 && s != 0) gnsxls_fpl_column = gnsxls_fpl_column_saved;
      gnsxls_prompt_open = 0;
      break;
  }
}

namespace {

// ---- plan list ----

void draw_plan_list(GnsPage& p) {
  if (gnsxls_load_failed == 1) gns_text(p, 45, 0, p.yellow, "Unable to load FP");
  else gns_textf(p, 45, 0, p.white, "FLIGHT PLAN LIST %d/%d", gnsxls_plan_list_page, gnsxls_plan_list_pages);
  stored_plan_sel = gnsxls_plan_list_page * GNSXLS_PLANS_PER_PAGE - 7;
  int32_t first = stored_plan_sel;
  // A second-row choice with no entry there is dropped.
  if (gnsxls_pending_lsk != 0) {
    for (int key = 7; key <= 10; ++key) {
      if (gnsxls_lsk_state[key] == 2 && first + 2 * (key - 7) + 1 > stored_plan_count) gnsxls_lsk_state[key] = 0;
    }
  }
  for (int j = 0; j < GNSXLS_PLANS_PER_PAGE; ++j) {
    int n = first + j;
    if (n < 1 || n > stored_plan_count || n >= STORED_PLAN_CAPACITY) break;
    int key = 7 + j / 2;
    bool selected = gnsxls_lsk_state[key] == (j % 2 == 0 ? 1 : 2);
    if (j % 2 == 0) p.arrows[key] = '>';
    double y = 80.0 + 40.0 * j;
    const StoredPlan& sp = stored_plans[n];
    bool next_fpl = is(sp.first_ident, "NEXT FPL");
    if (next_fpl && !selected) continue;
    if (next_fpl) {
      gns_text(p, 30, y, p.yellow, "NEXT FPL");
    } else {
      gns_text(p, 30, y, p.green, sp.first_ident);
      gns_text(p, 220, y, p.green, sp.last_ident);
    }
    std::string index = gns_format("%d", n);
    if (selected) {
      fill_field_box_yellow(p.rec, 400, y, p.g, int(index.size()));
      gns_text(p, 395, y, p.black, index);
    } else {
      gns_text(p, 395, y, p.green, index);
    }
    if (!selected || gnsxls_enter_pressed != 1) continue;
    if (!load_plan_file(next_fpl ? "NEXT FPL" : sp.name, 0)) {
      // The list stays; the title line tells until the next key.
      gnsxls_load_failed = 1;
      reset_cdu_entry_state();
      continue;
    }
    gnsxls_plan_number = n;
    gnsxls_plan_selected = 1;
    gnsxls_plan_row_page = 1;
    reset_cdu_entry_state();
    if (fpl_edit_last == -1) {
      gnsxls_queued_lsk = 1;
      gnsxls_lsk_state[1] = 0;
    }
  }
}

// ---- activation of view 2 ----

void set_route_texts_none() {
  for (std::string* t : {&route_origin_text, &route_dest_text, &route_sid_text, &route_sid_trans_text,
                         &route_dep_runway_text, &route_star_text, &route_star_trans_text, &route_arr_runway_text,
                         &route_appr_type_text, &route_appr_trans_text, &edit_origin_text, &edit_dest_text,
                         &edit_sid_text, &edit_sid_trans_text, &edit_dep_runway_text, &edit_star_text,
                         &edit_star_trans_text, &edit_arr_runway_text, &edit_appr_type_text, &edit_appr_trans_text})
    *t = FPL_NONE_TEXT;
}

void activate_opened_plan() {
  int32_t last = fpl_edit_last;
  static FlightPlanWpt recs[FPL_CAPACITY];
  for (int i = 0; i <= last; ++i) {
    recs[i] = fpl_edit[i];
    recs[i].eta[0] = '\0';
    recs[i].alt_constraint = FPL_NO_CONSTRAINT;
    recs[i].constraint_flag = 0;
  }
  // The old plan's holds stand on records of the old plan.
  for (int h = 1; h <= hold_count; ++h) hold_list[h] = HoldRecord{};
  hold_count = 0;
  set_active_plan(recs, last, fpl_flown_record_of_loaded(recs, last));
  if (LnavSetEnRouteFreqs == 1) set_enroute_radios(2);
  fpl_changed_state = 3;
  DescentIas = descent_ias_file;
  CruiseTas = cruise_ias_file;
  loaded_rwy_index = -999;
  leg_tracking_on = 0;
  holds_changed = 0;
  hold_fpl_index = 0;
  dto_active = 0;
  active_wpt_lat = fpl_active[fpl_active_index].lat;
  active_wpt_lon = fpl_active[fpl_active_index].lon;
  reserve_fuel = 0.0;
  takeoff_time_text = "-----";
  compute_leg_distances();

  if (gnsxls_plan_activated_hook) gnsxls_plan_activated_hook();
  dest_info_state = 1;
  fms_leg_state = 0;
  gnsxls_lsk_state[10] = 0;
  gnsxls_list_mode = 1;
  gnsxls_active_fpl_pages = (fpl_active_last + GNSXLS_ROWS_PER_PAGE - 1) / GNSXLS_ROWS_PER_PAGE;
  gnsxls_active_fpl_page = 1;
  set_route_texts_none();

  FlightPlanWpt& dest = fpl_active[fpl_active_last];
  if (is(dest.type, "APT")) {
    route_dest_text = dest.ident;
    bool loaded = load_airport_block(route_dest_text, 2) > 0;
    load_plan_airport_info(route_dest_text, 2);
    set_dest_proc_entry(FPL_NONE_TEXT, FPL_NONE_TEXT);
    // The destination keeps its elevation: the descent is planned down to it.
    if (loaded) dest.alt_constraint = std::atof(apt_blocks[2].elev);
    fpl_active_dest_index = fpl_active_last;
    cruise_alt = plan_cruise_alt;
    propose_cruise_altitude(std::max(plan_cruise_alt, 0), 0);
    if (LoadFuelonFlightPlanLoad == 1 && plan_fuel > 0.0) load_plan_fuel(plan_fuel);
    fms_plan_activated();
    if (ground_speed < 5.0) {
      flight_phase = -1;
      update_flight_phase_log(0);
      fms_last_second = -99.0;
      elapsed_seconds = 0.0;
    }
  }
  const FlightPlanWpt& origin = fpl_active[0];
  if (is(origin.type, "APT")) {
    route_origin_text = origin.ident;
    load_airport_block(route_origin_text, 1);
    set_origin_proc_entry(FPL_NONE_TEXT, FPL_NONE_TEXT);
    load_plan_airport_info(route_origin_text, 0);
    dest_info_text_1 = dest_info_loaded_1;
    dest_info_text_2 = dest_info_loaded_2;
  }
}

// ---- view 2 ----

void draw_opened_plan(GnsPage& p) {
  int32_t last = std::clamp(fpl_edit_last, -1, FPL_MAX_LAST);
  int f = (gnsxls_plan_row_page - 1) * GNSXLS_ROWS_PER_PAGE;
  int rows = last + 2;
  gnsxls_plan_row_pages = last == 0 ? 1 : std::max(1, (rows + GNSXLS_ROWS_PER_PAGE - 1) / GNSXLS_ROWS_PER_PAGE);
  gns_textf(p, 30, 0, p.white, "FLIGHT PLAN %d  %d/%d", gnsxls_plan_number, gnsxls_plan_row_page,
            gnsxls_plan_row_pages);
  if (!is(fpl_edit[last + 1].ident, FPL_END_IDENT)) set_end_record(fpl_edit[last + 1]);
  int drawn = 0;
  for (int k = 0; k < GNSXLS_ROWS_PER_PAGE; ++k) {
    int i = f + k;
    if (i < 0 || i > last + 1) continue;
    ++drawn;
    const FlightPlanWpt& rec = fpl_edit[i];
    double x = plan_row_x(rec), y = plan_row_y(k);
    bool selected = plan_row_selected(k);
    if (plan_row_key_pending(k)) {
      gnsxls_scratchpad = rec.ident;
      scratchpad_add_key("", 1);
    }
    if (selected) fpl_edit_index = i;
    if (is(rec.segment, "APPR")) gns_text(p, 30, y, p.white, rec.role);
    if (gnsxls_prompt_open == 1 && selected) draw_open_plan_row(p, x, y);
    else gns_text(p, x, y, p.green, rec.ident);
    if (k == 0 && last >= 1) {
      gns_text(p, 240, 40, p.green, "-");
      gns_text(p, 280, 40, p.green, fpl_edit[last].ident);
    }
  }
  set_plan_row_arrows(p, drawn);
  p.arrows[10] = '>';
  const int32_t* s = gnsxls_lsk_state;
  draw_procedure_prompts(p);
  gns_prompt(p, 320, 320, s[10] == 1, s[10] == 1 ? "SELECT?" : "SELECT");
  gns_text(p, 340, 360, p.white, "ERASE");
  if (s[10] == 1 && gnsxls_enter_pressed == 1) {
    if (fpl_edit_last >= 1) activate_opened_plan();
    reset_cdu_entry_state();
  }
}

// Rows of ACTIVE FPL from the FROM waypoint on (1 with a one-record plan).
int active_rows() {
  if (fpl_active_index == FPL_NO_PLAN) return 0;
  return fpl_active_last == 0 ? 1 : fpl_active_last - fpl_active_index + 3;
}

}  // namespace

void gnsxls_flight_plan_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  GnsPage p;
  gns_page_begin(p, rec, g);
  bool view1 = gnsxls_list_mode == 1;
  flight_plan_line_key(view1, active_rows());
  if (view1) draw_active_fpl_view(p);
  else if (gnsxls_list_mode == 2 && gnsxls_plan_selected == 0) draw_plan_list(p);
  else if (gnsxls_list_mode == 2 && gnsxls_plan_selected == 1) draw_opened_plan(p);
  gns_page_end(p);
}
