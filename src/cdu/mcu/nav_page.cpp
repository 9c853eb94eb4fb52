// Navigation page (5): the active waypoint, distance, bearing, times, the destination
// summary and the LNAV, hold, direct-turn and VNAV annunciations.
#include <cmath>
#include <cstring>

#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "module/display_state.h"

namespace {

// Whole number for a "%d" field: truncated, 0 for a value that is not finite.
int whole(double v) { return std::isfinite(v) && std::fabs(v) < 1.0e9 ? static_cast<int>(v) : 0; }

const char* record_ident(int index) {
  return fpl_valid_index(index, fpl_active_last) ? fpl_active[index].ident : "";
}

// An active discontinuity has no position: no distance or bearing to it.
bool active_placed() {
  return fpl_valid_index(fpl_active_index, fpl_active_last) && !fpl_route_break(fpl_active[fpl_active_index]);
}

void first_lines(const McuPage& p, bool plan) {
  const int n = plan ? fpl_active_index : 0;
  const int last = fpl_active_last;
  const char* ident = plan ? record_ident(n) : "";
  if (n != last) {
    const FlightPlanWpt* w = plan && fpl_valid_index(n, last) ? &fpl_active[n] : nullptr;
    bool radio = w && (std::strcmp(w->type, "VOR") == 0 || std::strcmp(w->type, "NDB") == 0) && w->navaid[0];
    if (radio) mcu_textf(p, p.amber, 0, 0, "TO:   %-7s%-8s%d/%d", ident, w->navaid, n, last);
    else mcu_textf(p, p.amber, 0, 0, "TO:   %-15s%d/%d", ident, n, last);
    if (w && w->flyover == 1) mcu_text(p, p.magenta, 8.0 * std::strlen(ident) + 56, 0, "(FO)");
  } else {
    mcu_textf(p, p.amber, 0, 0, "TO:   %-5.5s %-6.6s %d/%d", ident, loaded_apt_elev_text.c_str(), n, last);
  }
  if (plan && active_placed()) mcu_textf(p, p.green, 0, 12, "DIST: %-4.1f NM", dist_to_active_wpt);
  else if (plan) mcu_text(p, p.green, 0, 12, "DIST:");
}

void bearing_line(const McuPage& p, bool plan) {
  long s = plan && elapsed_seconds != -99.0 && elapsed_seconds > 0.0 && elapsed_seconds < 1.0e9
               ? static_cast<long>(elapsed_seconds)
               : 0;
  if (mcu_new_second == 1) {
    gfx_fill_rect(p.g, p.black, 0, 24, 250, 14);
    mcu_new_second = 0;
  }
  if (plan && !active_placed())
    mcu_textf(p, p.green, 0, 24, "BRG:              [%02ld:%02ld:%02ld]", s / 3600, s / 60 % 60, s % 60);
  else
    mcu_textf(p, p.green, 0, 24, "BRG:  %03.0f\xB0       [%02ld:%02ld:%02ld]", bearing_to_active_wpt, s / 3600,
              s / 60 % 60, s % 60);
}

// Angle of the pending turn onto the active waypoint: left heading - bearing, right
// bearing - heading, each in 0..360.
double turn_angle() {
  double a = forced_turn_dir == 1 ? heading - bearing_to_active_wpt : bearing_to_active_wpt - heading;
  return a < 0.0 ? a + 360.0 : a;
}

void status_lines(const McuPage& p, bool plan) {
  mcu_textf(p, p.green, 0, 36, "ETE:  %02d:%02d (%02d:%02d)", whole(ete_active_hours), whole(ete_active_minutes),
            whole(ete_active_scaled_hours), whole(ete_active_scaled_minutes));
  if (!plan) return;
  mcu_textf(p, p.amber, 0, 48, "%s:%4.0f/%03.0f\xB0 %02d:%02d(%02d:%02d)", record_ident(fpl_active_last),
            lnav_on == 1 ? route_distance_to_go : direct_dist_to_dest, dest_bearing, whole(ete_dest_hours),
            whole(ete_dest_minutes), whole(ete_dest_scaled_hours), whole(ete_dest_scaled_minutes));
  if (lnav_on == 1) mcu_textf(p, p.amber, 0, 62, "LNAV(%s)", record_ident(fpl_active_index));
  else if (lnav_off_by_fms == 1) mcu_textf(p, p.amber, 0, 62, "LNAV OFF");
  const int held = hold_list[1].active_wpt;
  if (held < 1) {
    if (forced_turn_dir != 0 && lnav_on == 1) mcu_textf(p, p.amber, 145, 62, "DCTTO (%3.0fD)", turn_angle());
  } else if (fpl_changed_state < 4) {
    mcu_textf(p, p.amber, 145, 62, "HOLD(%s) ", record_ident(held));
  }
  if (vnav_on == 1) mcu_text(p, p.amber, 105, 62, "VNAV");
}

}  // namespace

void mcu_nav_page_draw(McuPage& p) {
  const bool plan = fpl_active_index != FPL_NO_PLAN;
  const bool full = hdg_change_timer == 0 || mcu_redraw == 1;
  if (full) first_lines(p, plan);
  if (full || mcu_new_second == 1) bearing_line(p, plan);
  if (full) status_lines(p, plan);
}
