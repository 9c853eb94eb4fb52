// Direct-to page (7): the fixes with the entered ident, with bearing and distance;
// ENTER flies direct to the chosen one, keeping the destination airport.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/waypoint_sequencing.h"
#include "module/display_state.h"

namespace {

struct TypeName {
  const char* stored;
  const char* shown;
};
constexpr TypeName type_names[] = {
    {.stored = "N", .shown = "NDB"}, {.stored = "V", .shown = "VOR"},
    {.stored = "I", .shown = "INT"}, {.stored = "A", .shown = "APT"},
};

const char* type_shown(const char* stored) {
  for (const TypeName& t : type_names)
    if (std::strcmp(t.stored, stored) == 0) return t.shown;
  return stored;
}

void fly_direct() {
  const int sel = std::clamp(mcu_dirto_sel, 1, std::min(fix_match_count, nav_search_slots - 1));
  FlightPlanWpt fix;
  fpl_record_from_nav(fix, nav_search_list[sel]);
  // The airport elevation of the last airport lookup, normally the destination's.
  const double dest_alt = std::atof(loaded_apt_elev_text.c_str());
  // The DIRECT record lies where the turn toward the fix ends. The new plan's profile
  // from here: VNAV keeps climbing to its level and descends from its top of descent,
  // not at once to the destination.
  double from_lat = present_lat, from_lon = present_lon;
  direct_to_origin(fix.lat, fix.lon, 0, from_lat, from_lon);
  if (set_direct_to_plan(fix, from_lat, from_lon, dest_alt) >= 1) fms_plan_activated();
  active_wpt_lat = fpl_active[1].lat;
  active_wpt_lon = fpl_active[1].lon;
  mcu_legs_index = 1;
  mcu_dirto_entry.clear();
  mcu_scratchpad.clear();
  fix_match_count = 0;
  mcu_page = MCU_PAGE_NAV;
  hdg_change_timer = 999;
  mcu_redraw = 1;
}

void choose_candidate() {
  if (mcu_prev == 1 && mcu_dirto_sel > 1) --mcu_dirto_sel;
  else if (mcu_next == 1 && mcu_dirto_sel < fix_match_count) ++mcu_dirto_sel;
  else return;
  mcu_redraw = 1;
  hdg_change_timer = 999;
}

void candidate_rows(const McuPage& p) {
  const int count = std::min(fix_match_count, nav_search_slots - 1);
  for (int r = 1; r <= MCU_LIST_ROWS && mcu_dirto_sel >= 1; ++r) {
    const int k = mcu_dirto_sel + r - 1;
    if (k > count) break;
    const NavRecord& n = nav_search_list[k];
    double dist = 0.0, course = 0.0;
    compute_gc_distance_course(present_lat, present_lon, n.lat, n.lon, dist, course);
    course -= magvar;
    if (course < 0.5) course += 360.0;
    mcu_textf(p, k == mcu_dirto_sel ? p.amber : p.green, 0, MCU_ROW_H * r, "%-5s %3s %03.0f\xB0 %5.0f nm", n.ident,
              type_shown(n.type), course, dist);
  }
}

}  // namespace

void mcu_dirto_page_draw(McuPage& p) {
  mcu_text(p, p.amber, 0, 0, "DIRTO:");
  if (mcu_enter == 1 && fix_match_count >= 1) {
    fly_direct();
    return;
  }
  choose_candidate();
  mcu_ident_arrows();
  if (mcu_scratchpad != mcu_dirto_entry) {
    search_nav_ident(mcu_scratchpad, 0);
    mcu_dirto_sel = 1;
    mcu_dirto_entry = mcu_scratchpad;
  }
  candidate_rows(p);
  mcu_box(p, 28, 13, 11);
  mcu_ident_entry_line(p);
}
