// LEGS page (6): four legs of the active plan from mcu_legs_index, and the crossing
// altitude set with the arrows and ENTER on the first listed leg.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/flight_envelope.h"
#include "guidance/fms_state.h"
#include "guidance/waypoint_sequencing.h"

namespace {

constexpr size_t entry_line_chars = 34;

bool listed_leg(int index) {
  return fpl_active_index != FPL_NO_PLAN && index >= 1 && index <= fpl_active_last;
}

// ENTER in crossing-altitude mode: the first listed leg becomes the VNAV target with
// the altitude set by the arrows, and the plan is activated again. Without a plan,
// a leg of it or an altitude the mode only ends.
void set_crossing_altitude() {
  const int k = mcu_legs_index;
  const int v = mcu_legs_cross_alt;
  if (listed_leg(k) && v > 0) {
    for (int i = fpl_active_index; i <= k; ++i)
      if (fpl_valid_index(i, fpl_active_last)) fpl_active[i].constraint_flag = 0;
    fpl_active[k].alt_constraint = v;
    fpl_active[k].constraint_flag = 1;
    fpl_active[k].crossed_at = 1;
    if (toc_reached == 1) tod_reached = 0;
    copy_active_to_edit();
    fpl_changed_state = 4;
    activate_route();
    // The activation works out its own VNAV target; the pilot's crossing is set after it.
    const FlightPlanWpt& w = fpl_active[k];
    vnav_wpt_index = k;
    vnav_target_lat = w.lat;
    vnav_target_lon = w.lon;
    // An airport is crossed 200 ft above the altitude set.
    vnav_target_alt = k == fpl_active_last && std::strcmp(w.type, "APT") == 0 ? v + 200.0 : v;
  }
  mcu_legs_entry.clear();
  mcu_scratchpad.clear();
  mcu_legs_alt_mode = 0;
  mcu_page = MCU_PAGE_NAV;
}

void leg_row(const McuPage& p, int i, int r) {
  const FlightPlanWpt& w = fpl_active[i];
  double dist = 0.0, course = 0.0;
  // No leg into or out of a discontinuity: it has no position.
  const bool leg = !fpl_route_break(w) && (i == fpl_active_index || (i >= 1 && !fpl_route_break(fpl_active[i - 1])));
  if (leg && i == fpl_active_index) {
    dist = dist_to_active_wpt;
    course = bearing_to_active_wpt;
  } else if (leg && i >= 1) {
    const FlightPlanWpt& from = fpl_active[i - 1];
    compute_gc_distance_course(from.lat, from.lon, w.lat, w.lon, dist, course);
    course -= magvar;
    if (course < 0.5) course += 360.0;
  }
  const double y = MCU_ROW_H * r;
  if (leg) mcu_textf(p, p.green, 0, y, "%-5s   %5.0f %03.0f", w.ident, dist, course);
  else mcu_textf(p, p.green, 0, y, "%-5s", w.ident);
  if (w.flyover == 1) mcu_text(p, p.magenta, 50, y, "FO");
  // The altitude flown at the leg: its constraint (a crossing entered included), else the
  // VNAV target's where the leg is the one aimed at (the route's end: its own altitude).
  double alt = FPL_NO_CONSTRAINT;
  if (fpl_has_constraint(w) && w.alt_constraint > FPL_NO_CONSTRAINT) alt = w.alt_constraint;
  else if (i == vnav_wpt_index) alt = i == fpl_active_last ? w.alt_constraint : vnav_target_alt;
  if (alt > FPL_NO_CONSTRAINT) mcu_textf(p, p.green, 155, y, "%5.0f", alt);
}

}  // namespace

void mcu_legs_page_draw(McuPage& p) {
  if (mcu_legs_alt_mode == 1 && mcu_enter == 1) set_crossing_altitude();
  mcu_text(p, p.amber, 0, 0, "LEGS:");
  const int first = mcu_legs_index;
  const bool listed = fpl_active_index != FPL_NO_PLAN && first >= 0 && first <= fpl_active_last;
  if (listed) {
    for (int r = 1; r <= MCU_LIST_ROWS && first + r - 1 <= fpl_active_last; ++r) leg_row(p, first + r - 1, r);
    mcu_box(p, 47, 13, 12);
  }
  std::string line = "> " + mcu_scratchpad.substr(0, entry_line_chars);
  if (mcu_legs_alt_mode == 1) {
    const char* ident = listed ? fpl_active[first].ident : "";
    // A crossing altitude the aircraft can reach: the arrows stop at MaxCruise.
    if (mcu_digit_sel != 0)
      mcu_legs_cross_alt = std::min(static_cast<int32_t>(mcu_step_altitude(mcu_legs_cross_alt)),
                                    std::max(envelope_highest_cruise_ft(), mcu_legs_cross_alt));
    char text[64];
    std::snprintf(text, sizeof text, "%05d", mcu_legs_cross_alt);
    mcu_legs_entry = text;
    // The entry line's own prompt is the only one.
    std::snprintf(text, sizeof text, "Cross %s At ", ident);
    mcu_scratchpad = text + mcu_legs_entry;
    line = "> " + mcu_scratchpad.substr(0, entry_line_chars);
    // The thousands digit, or the hundreds that step by 500.
    size_t digit = 2 + std::strlen(text) + (mcu_digit_sel == 1 ? 1 : 2);
    if (mcu_digit_sel != 0) mcu_underline(p, 0, 75, line, digit);
  }
  mcu_text(p, p.green, 0, MCU_ENTRY_Y, line);
}
