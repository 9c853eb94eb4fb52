// ACTIVE FPL, view 1 of page 1: the active plan from the FROM waypoint on, with FROM and
// TO markers, flyover marks and the ETE / ETA / DIS / ALT column.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/plan_rows.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"

namespace {

constexpr const char* column_names[5] = {"", "ETE", "ETA", "DIS", "ALT"};

bool is(const char* text, const char* want) { return std::strcmp(text, want) == 0; }

// The aircraft is still leaving the FROM waypoint.
bool in_from_window() {
  return leg_length < dist_to_active_wpt || std::fabs(desired_track - bearing_to_active_wpt) <= 10.0;
}

// ETE or ETA of record i, "------" when the aircraft does not yet fly.
std::string time_value(const FlightPlanWpt& rec, bool eta) {
  if (ground_speed <= 50.0 || true_airspeed <= 0.0) return "------";
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(present_lat, present_lon, rec.lat, rec.lon, d, c);
  double m = d / true_airspeed * 60.0;
  if (!std::isfinite(m)) return "------";
  double h = std::floor(m / 60.0);
  m -= h * 60.0;
  if (!eta) return gns_clock_text(h, m, false);
  return gns_eta_text(h, m);
}

void draw_column(const GnsPage& p, int i, double y) {
  const FlightPlanWpt& rec = fpl_active[i];
  // A route break has no position: no time or distance.
  if (fpl_route_break(rec) && gnsxls_fpl_column != 4) return;
  switch (gnsxls_fpl_column) {
    case 1:
    case 2: gns_text(p, 300, y, p.cyan, time_value(rec, gnsxls_fpl_column == 2)); return;
    case 3: {
      double d = 0.0, c = 0.0;
      if (i == fpl_active_index) compute_gc_distance_course(present_lat, present_lon, rec.lat, rec.lon, d, c);
      else fpl_leg_into(fpl_active, fpl_active_last, i, d);
      gns_textf(p, 300, y, p.green, "%4.0f", d);
      return;
    }
    default:
      if (rec.alt_constraint == FPL_NO_CONSTRAINT) gns_text(p, 300, y, p.cyan, "-----");
      else gns_textf(p, 300, y, p.cyan, "%5.0f", rec.alt_constraint);
      return;
  }
}

void draw_bottom_line(GnsPage& p) {
  const int32_t* s = gnsxls_lsk_state;
  p.arrows[9] = p.arrows[10] = '>';
  draw_procedure_prompts(p);
  bool can_save = fpl_active_last >= 2 && is(fpl_active[0].type, "APT") && is(fpl_active[fpl_active_last].type, "APT");
  gns_prompt(p, 280, 280, s[9] == 2 && can_save, s[9] == 2 && can_save ? "SAVE FPL?" : "SAVE FPL");
  int column = std::clamp(gnsxls_fpl_column, 1, 4);
  std::string name = column_names[column];
  if (s[10] == 1) {
    if (gnsxls_fpl_column_saved != gnsxls_fpl_column) name += "?";
    gns_field(p, 380, 320, int(name.size()), name);
  } else {
    gns_text(p, 380, 320, p.white, name);
  }
  gns_prompt(p, 200, 360, s[10] == 2, s[10] == 2 ? "LOAD ATC RTE?" : "LOAD ATC RTE");
}

// The chosen row is the record fpl_edit_index wherever an insertion, a deletion or the
// sequencing has moved it: page and line key follow it; a record no longer listed (behind
// the FROM waypoint) ends the entry.
void follow_open_row() {
  int k = plan_row_chosen();
  if (k < 0 || gnsxls_pending_lsk != 0) return;
  int first = std::max(0, fpl_active_index - 1);
  int f = first + (gnsxls_active_fpl_page - 1) * GNSXLS_ROWS_PER_PAGE;
  if (fpl_edit_index == f + k) return;
  if (fpl_edit_index < first || fpl_edit_index > fpl_active_last + 1) {
    reset_cdu_entry_state();
    gnsxls_prompt_open = 0;
    return;
  }
  int pos = fpl_edit_index - first;
  gnsxls_active_fpl_page = pos / GNSXLS_ROWS_PER_PAGE + 1;
  plan_row_choose(pos % GNSXLS_ROWS_PER_PAGE);
}

}  // namespace

void draw_active_fpl_view(GnsPage& p) {
  gnsxls_plan_selected = 0;
  bool plan = fpl_active_index != FPL_NO_PLAN && fpl_active_last >= 0;
  int32_t last = std::clamp(fpl_active_last, -1, FPL_MAX_LAST);
  if (plan) follow_open_row();
  int f = plan ? std::max(0, (gnsxls_active_fpl_page - 1) * GNSXLS_ROWS_PER_PAGE + fpl_active_index - 1) : 0;
  int rows = !plan ? 1 : last == 0 ? 1 : last - fpl_active_index + 3;
  gnsxls_active_fpl_pages = std::max(1, (rows + GNSXLS_ROWS_PER_PAGE - 1) / GNSXLS_ROWS_PER_PAGE);
  gns_textf(p, 90, 0, p.white, "ACTIVE FPL   %d/%d", gnsxls_active_fpl_page, gnsxls_active_fpl_pages);
  if (!is(fpl_active[last + 1].ident, FPL_END_IDENT)) set_end_record(fpl_active[last + 1]);
  int drawn = 0;
  for (int k = 0; plan && k < GNSXLS_ROWS_PER_PAGE; ++k) {
    int i = f + k;
    if (i > last + 1) continue;
    ++drawn;
    const FlightPlanWpt& rec = fpl_active[i];
    double x = plan_row_x(rec), y = plan_row_y(k);
    bool selected = plan_row_selected(k);
    if (plan_row_key_pending(k)) {
      gnsxls_scratchpad = rec.ident;
      gnsxls_edit_row = i;
      scratchpad_add_key("", 1);
      fpl_edit_index = i;
    }
    bool from_row = i == fpl_active_index - 1 && lnav_on == 1 && in_from_window();
    bool to_row = i == fpl_active_index;
    if (from_row) gns_text(p, 30, y, p.yellow, "FR");
    if (to_row && lnav_on == 1) gns_text(p, 30, y, p.magenta, "TO ");
    if (gnsxls_prompt_open == 1 && selected) {
      draw_open_plan_row(p, x, y);
      continue;
    }
    if (i >= 1 && is(rec.segment, "APPR") && !from_row && !(to_row && lnav_on == 1))
      gns_text(p, 30, y, p.white, rec.role);
    gns_text(p, x, y, from_row ? p.yellow : to_row ? p.magenta : p.green, rec.ident);
    if (i >= 1 && rec.flyover == 1) gns_text(p, 240, y, p.magenta, "F");
    if (i >= 1 && i <= last) draw_column(p, i, y);
    // The route line stands on the origin's row, where no value column is drawn.
    if (k == 0 && i == 0 && !is(fpl_active[0].ident, "---") && plan_loader_flag == 0 && dto_active == 0 &&
        last >= 1) {
      gns_text(p, 240, 40, p.green, "-");
      gns_text(p, 280, 40, p.green, fpl_active[last].ident);
    }
  }
  set_plan_row_arrows(p, drawn);
  draw_bottom_line(p);
}
