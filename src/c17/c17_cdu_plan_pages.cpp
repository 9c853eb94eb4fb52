// STORED FLIGHT PLANS (the stored plans six to a page; a line key loads and activates
// one) and DUPLICATE NAMES (the candidates of an entered ident; a line key puts the
// chosen one into the edit plan where the page that asked wanted it).
#include <cmath>

#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/route_fields.h"
#include "cdu/smiths/smiths_cdu.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "navdb/navdb.h"

int32_t c17_cdu_fpl_page = 1, c17_cdu_fpl_page_count = 1;
int32_t c17_dup_first_row = 1, c17_dup_scroll_up = 0, c17_dup_scroll_down = 0;
int32_t c17_hold_row = 0;

namespace {

// Loads stored plan n as the Smiths CDU does (its message goes to this unit's line) and
// makes it the active plan; a failed load activates nothing.
void load_and_activate(int n) {
  const std::string smiths_msg = smiths_scratchpad_msg;
  const int ok = smiths_load_stored_plan(n);
  if (!ok) c17_cdu_scratchpad_msg = smiths_scratchpad_msg;
  smiths_scratchpad_msg = smiths_msg;
  if (!ok) return;
  c17_cdu_page = C17_CDU_FLT_PLAN;
  fpl_changed_step();
  fpl_edit_index = 1;
  activate_route();
}

// FLT PLAN: the candidate goes in at the line it was typed on (select_wpt_row), or is
// the direct-to fix (row 0, legs mode 1), or the fix of the HOLD AT entry kept in the
// scratchpad (row 0, legs mode 2).
bool choose_for_legs(int e) {
  if (select_wpt_row >= 1) return insert_edit_record(select_wpt_row, e);
  if (smiths_legs_mode == 1) {
    const int at = fpl_active_index >= 1 && fpl_active_index <= FPL_MAX_LAST ? fpl_active_index : 1;
    return insert_edit_record(at, e, 1);
  }
  if (smiths_legs_mode == 2) {
    smiths_hold_select_entry = e;
    return true;
  }
  return false;
}

// RTE: the candidate closes the route row it was typed on.
bool choose_for_route(int e) {
  const int n = rte_entry_record(select_wpt_row);
  if (n < 1 || !select_search_entry(e) || !store_selected_fix(n)) return false;
  build_route_rows();
  fpl_step_on_edit();
  return true;
}

// Candidate e for the page that asked: into the edit plan (MOD on an active route,
// EXEC activates), back on that page; the entry stays while the choice is refused.
void choose_candidate(int e) {
  const int32_t page = c17_dup_return_page;
  bool ok = false;
  if (page == C17_CDU_FLT_PLAN) ok = choose_for_legs(e);
  else if (page == C17_CDU_RTE) ok = choose_for_route(e);
  if (!ok) {
    c17_cdu_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  // A HOLD AT entry waits in the scratchpad for its line key.
  if (!(page == C17_CDU_FLT_PLAN && select_wpt_row < 1 && smiths_legs_mode == 2)) c17_cdu_scratchpad.clear();
  c17_dup_return_page = 0;
  c17_cdu_page = page;
}

}  // namespace

void c17_cdu_stored_plans_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_MISSION_CANVAS);
  const int32_t count = c17_cdu_plan_count();
  c17_cdu_fpl_page_count = count > 0 ? (count + 5) / 6 : 1;
  c17_cdu_fpl_page = c17_cdu_step_page(c17_cdu_fpl_page, c17_cdu_fpl_page_count,
                                       c17_cdu_prev_page == 1 || c17_cdu_prev_page_alt == 1,
                                       c17_cdu_next_page == 1 || c17_cdu_next_page_alt == 1);
  const int32_t page = c17_cdu_fpl_page;
  cdu_large(p, 10, 0, "STORED FLIGHT PLANS");
  GfxFont* counter = gfx_font_create(p.g, p.family, 15, GFX_FONT_REGULAR);
  const std::string counter_text = cdu_format("%2d / %2d", int(page), int(c17_cdu_fpl_page_count));
  draw_text(p.g, counter, p.green, 240, 5, DRAW_TEXT_MAX, counter_text.c_str());
  gfx_font_delete(counter);
  for (int row = 1; row <= 6; ++row) {
    const int n = page * 6 - 6 + row;
    if (n > count) break;
    c17_cdu_large_fit(p, 0, 1.0 + 41.0 * row, stored_plans[n].name);
  }
  const int32_t k = c17_cdu_pending_lsk;
  const int row = k >= 1 && k <= 5 ? k : (k == 11 ? 6 : 0);
  const int n = page * 6 - 6 + row;
  if (row > 0 && n <= count) load_and_activate(n);
  cdu_page_end(p);
}

void c17_cdu_duplicate_names_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_MISSION_CANVAS);
  cdu_large(p, 40, 0, "DUPLICATE NAMES");
  cdu_small(p, 80, 22, "L A T / L O N G                 F R E Q");
  int32_t count = fix_match_count < nav_search_slots - 1 ? fix_match_count : nav_search_slots - 1;
  if (count < 0) count = 0;
  if (c17_dup_first_row < 1) c17_dup_first_row = 1;
  if (c17_dup_first_row > count && count > 0) c17_dup_first_row = count;
  if (c17_dup_scroll_up == 1 && c17_dup_first_row > 1) --c17_dup_first_row;
  if (c17_dup_scroll_down == 1 && c17_dup_first_row < count) ++c17_dup_first_row;

  for (int r = 0; r < 6; ++r) {
    const int e = c17_dup_first_row + r;
    if (e > count) break;
    const NavRecord& c = nav_search_list[e];
    cdu_largef(p, 0, 41.0 + 33.0 * r, "*%-6s    %s%02d/%s%03d         %6s", c.ident, c.lat < 0 ? "S" : "N",
               int(std::fabs(c.lat)), c.lon < 0 ? "W" : "E", int(std::fabs(c.lon)), c.freq);
  }

  const int32_t k = c17_cdu_pending_lsk;
  const int e = c17_dup_first_row + k - 1;
  if (k >= 1 && k <= 5 && e <= count) choose_candidate(e);

  GfxPen* arrow = gfx_pen_create(p.g, COLOUR_GREEN, 2.0);
  if (c17_dup_first_row > 1) {
    draw_line_d(p.g, arrow, 240, 220, 244, 224);
    draw_line_d(p.g, arrow, 240, 220, 236, 224);
    draw_line_d(p.g, arrow, 240, 220, 240, 234);
  }
  if (c17_dup_first_row < count) {
    draw_line_d(p.g, arrow, 250, 234, 254, 230);
    draw_line_d(p.g, arrow, 250, 234, 246, 230);
    draw_line_d(p.g, arrow, 250, 234, 250, 220);
  }
  gfx_pen_delete(arrow);
  cdu_page_end(p);
}
