// Keypad of both MCU gauges: the mouse-rectangle table and what each key records.
#include <cmath>

#include "cdu/mcu/mcu.h"
#include "cdu/mcu/mcu_state.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/waypoint_sequencing.h"
#include "module/display_state.h"
#include "module/host_services.h"

namespace {

bool entry_page(int32_t page) { return page == MCU_PAGE_APT || page == MCU_PAGE_LEGS || page == MCU_PAGE_DIRTO; }

void entry_off() {
  if (mcu_kbd_on == 1) stop_key_capture_2();
}

// The active waypoint moved by hand: its position, and a running direct-to restarts here.
void active_waypoint_moved() {
  const FlightPlanWpt& w = fpl_active[fpl_active_index];
  active_wpt_lat = w.lat;
  active_wpt_lon = w.lon;
  if (dto_active != 1) return;
  dto_origin_lat = present_lat;
  dto_origin_lon = present_lon;
  double dist = 0.0, course = 0.0;
  compute_gc_distance_course(present_lat, present_lon, w.lat, w.lon, dist, course);
  dto_course = course - magvar;
  if (dto_course < 0.5) dto_course += 360.0;
}

void step_active_back() {
  if (fpl_active_index == FPL_NO_PLAN || fpl_active_last < 0) return;
  int32_t i = fpl_active_index - 1;
  if (i < 1) i = fpl_active_last;
  fpl_active_index = i;
  if (fpl_valid_index(i, fpl_active_last)) active_waypoint_moved();
}

void step_active_on() {
  if (fpl_active_index == FPL_NO_PLAN) return;
  int32_t i = fpl_active_index + 1;
  if (i > fpl_active_last) {
    // A plan without record 1 keeps its index; only the direct-to ends.
    if (fpl_active_last < 1) {
      dto_active = 0;
      return;
    }
    i = 1;
  }
  fpl_active_index = i;
  active_waypoint_moved();
}

// HOLD: the first press puts a hold on the active waypoint of the active route, the
// next one asks the guidance to enter it.
void hold_key() {
  if (lnav_on != 1) return;
  // In the hold: it is left at its fix, the racetrack flown until then.
  if (holds_changed == 1 && holding_active != 0) {
    hold_exit_state = 2;
    return;
  }
  if (holds_changed == 1) {
    hold_exit_state = 3;
    holds_changed = 0;
    return;
  }
  // A pending route change (MOD) would be lost by the copy below.
  if (hold_count != 0 || fpl_changed_state == 4 || fpl_active_index == FPL_NO_PLAN || fpl_active_index < 1 ||
      fpl_active_index > fpl_active_last)
    return;
  copy_active_to_edit();
  if (add_hold(fpl_active_index, 0) == 0) return;
  commit_hold_indexes();
  holds_changed = 1;
}

void arrow_key(int32_t arrow) {
  mcu_arrow = arrow;
  if (entry_page(mcu_page) && mcu_digit_sel == 0 && mcu_kbd_on == 0) mcu_digit_sel = 1;
}

void aptinfo_key() {
  if (mcu_page != MCU_PAGE_APT) {
    entry_off();
    mcu_page = MCU_PAGE_APT;
    mcu_aptinfo_subpage = 1;
  } else if (++mcu_aptinfo_subpage > mcu_aptinfo_subpage_count) {
    mcu_aptinfo_subpage = 1;
  }
  mcu_digit_sel = 0;
  if (McuShowActiveRwys == 1 && !aptinfo_ident.empty()) request_active_runways_ipc(aptinfo_ident.c_str());
}

void kbd_key() {
  if (mcu_kbd_on == 1) {
    stop_key_capture_2();
    mcu_scratchpad.clear();
    mcu_legs_entry.clear();
  } else {
    start_mcu_key_capture();
  }
  mcu_digit_sel = 0;
}

void enter_key() {
  mcu_enter = 1;
  if (mcu_kbd_on == 1) {
    stop_key_capture_2();
    mcu_scratchpad.clear();
    mcu_dirto_entry.clear();
  }
  // List mode makes the first listed leg active, only a leg of the active plan; another fix
  // is flown to straight from where the aircraft is until it is passed, as the maps draw
  // its leg, never through the fixes before it.
  if (mcu_page == MCU_PAGE_LEGS && mcu_legs_alt_mode == 0 && fpl_active_index != FPL_NO_PLAN &&
      mcu_legs_index >= 1 && mcu_legs_index <= fpl_active_last) {
    const bool moved = mcu_legs_index != fpl_active_index;
    fpl_active_index = mcu_legs_index;
    if (moved && !fpl_route_break(fpl_active[fpl_active_index])) {
      leg_tracking_on = 0;
      active_waypoint_moved();
    }
  }
  if (mcu_page != MCU_PAGE_ALT) mcu_digit_sel = 0;
}

}  // namespace

void mcu_key(int32_t key) {
  if (key == MCU_KEY_LNAV) {
    lnav_toggle();
    return;
  }
  if (key == MCU_KEY_KBD && (kbd_entry_target == 1 || !entry_page(mcu_page))) return;
  hdg_change_timer = 999;
  if (key != MCU_KEY_HOLD) mcu_redraw = 1;
  switch (key) {
    case MCU_KEY_NAV:
      entry_off();
      mcu_page = MCU_PAGE_NAV;
      mcu_digit_sel = 0;
      break;
    case MCU_KEY_FPLN:
      entry_off();
      mcu_fpln_rescan = 1;
      mcu_page = MCU_PAGE_FPLN;
      mcu_digit_sel = 0;
      break;
    case MCU_KEY_DIRTO:
      mcu_page = MCU_PAGE_DIRTO;
      mcu_scratchpad.clear();
      mcu_dirto_entry.clear();
      fix_match_count = 0;
      mcu_digit_sel = 0;
      break;
    case MCU_KEY_HOLD:
      hold_key();
      mcu_digit_sel = 0;
      break;
    case MCU_KEY_LEGS_ALT:
      mcu_page = MCU_PAGE_LEGS;
      mcu_legs_alt_mode = 1;
      mcu_legs_cross_alt = 0;
      mcu_digit_sel = 0;
      break;
    case MCU_KEY_LEGS:
      entry_off();
      mcu_page = MCU_PAGE_LEGS;
      mcu_legs_alt_mode = 0;
      mcu_legs_entry.clear();
      mcu_scratchpad.clear();
      if (fpl_active_index >= 1 && fpl_active_index != FPL_NO_PLAN) mcu_legs_index = fpl_active_index;
      mcu_digit_sel = 0;
      break;
    case MCU_KEY_PREV:
      mcu_prev = 1;
      if (mcu_page == MCU_PAGE_NAV) step_active_back();
      else if (mcu_page == MCU_PAGE_LEGS && mcu_legs_index > 1) --mcu_legs_index;
      mcu_digit_sel = 0;
      break;
    case MCU_KEY_ALT: {
      mcu_page = MCU_PAGE_ALT;
      double alt = std::isfinite(ap_altitude) ? std::trunc(ap_altitude / 1000.0) * 1000.0 : 0.0;
      mcu_new_alt = alt < 0.0 ? 0.0 : alt > 99000.0 ? 99000.0 : alt;
      mcu_digit_sel = 1;
      break;
    }
    case MCU_KEY_APTINFO:
      aptinfo_key();
      break;
    case MCU_KEY_NEXT:
      mcu_next = 1;
      if (mcu_page == MCU_PAGE_NAV) step_active_on();
      else if (mcu_page == MCU_PAGE_LEGS && mcu_legs_index < fpl_active_last) ++mcu_legs_index;
      else if (mcu_page == MCU_PAGE_DIRTO && mcu_dirto_sel < fix_match_count) ++mcu_dirto_sel;
      mcu_digit_sel = 0;
      break;
    case MCU_KEY_KBD:
      kbd_key();
      break;
    case MCU_KEY_UP: arrow_key(MCU_ARROW_UP); break;
    case MCU_KEY_LEFT: arrow_key(MCU_ARROW_LEFT); break;
    case MCU_KEY_DOWN: arrow_key(MCU_ARROW_DOWN); break;
    case MCU_KEY_RIGHT: arrow_key(MCU_ARROW_RIGHT); break;
    case MCU_KEY_ENTER:
      enter_key();
      break;
    default:
      break;
  }
}

namespace {

int32_t screen_click(MouseRect*, uint32_t) {
  host_toggle_window(MCU_WINDOW);
  return 0;
}

template <int32_t K>
int32_t key_click(MouseRect*, uint32_t) {
  mcu_key(K);
  return 0;
}

constexpr uint32_t CLICK = MOUSE_LEFT_SINGLE;
constexpr uint32_t REPEAT = MOUSE_LEFT_SINGLE | MOUSE_LEFT_REPEAT;

constexpr MouseRect parent(int32_t x, int32_t y, int32_t w, int32_t h) {
  return {.type = MOUSE_RECT_PARENT, .x = x, .y = y, .width = w, .height = h, .cursor = CURSOR_NONE};
}
constexpr MouseRect child(int32_t w, int32_t h, uint32_t flags, MouseClickFn fn) {
  return {.type = MOUSE_RECT_CHILD, .width = w, .height = h, .cursor = CURSOR_HAND, .event_flags = flags, .click = fn};
}
constexpr MouseRect END = {.type = MOUSE_RECT_END_PARENT};

}  // namespace

// Key boxes in face pixels. The navigation key's click box reaches below its parent;
// the parent bounds it, so the keys below stay reachable.
#define MCU_KEY_RECTS(K, x, y, w, h, cw, ch, flags) parent(x, y, w, h), child(cw, ch, flags, key_click<K>), END
MouseRect mcu_mouse_rects[] = {
    parent(0, 0, MCU_FACE_W, MCU_FACE_H),
    parent(132, 47, 200, 120), child(200, 120, CLICK, screen_click), END,
    MCU_KEY_RECTS(MCU_KEY_NAV, 40, 224, 70, 25, 70, 255, CLICK),
    MCU_KEY_RECTS(MCU_KEY_FPLN, 127, 224, 70, 25, 70, 25, CLICK),
    MCU_KEY_RECTS(MCU_KEY_LNAV, 213, 222, 70, 25, 70, 25, CLICK),
    MCU_KEY_RECTS(MCU_KEY_DIRTO, 40, 258, 70, 25, 70, 25, CLICK),
    MCU_KEY_RECTS(MCU_KEY_HOLD, 127, 258, 70, 25, 70, 25, CLICK),
    MCU_KEY_RECTS(MCU_KEY_LEGS_ALT, 213, 258, 70, 25, 70, 25, CLICK),
    MCU_KEY_RECTS(MCU_KEY_LEGS, 40, 292, 70, 25, 70, 25, CLICK),
    MCU_KEY_RECTS(MCU_KEY_PREV, 127, 292, 70, 25, 70, 25, REPEAT),
    MCU_KEY_RECTS(MCU_KEY_ALT, 213, 292, 70, 25, 70, 25, CLICK),
    MCU_KEY_RECTS(MCU_KEY_APTINFO, 40, 324, 70, 25, 70, 25, CLICK),
    MCU_KEY_RECTS(MCU_KEY_NEXT, 127, 324, 70, 25, 70, 25, REPEAT),
    MCU_KEY_RECTS(MCU_KEY_KBD, 213, 324, 70, 25, 70, 25, CLICK),
    MCU_KEY_RECTS(MCU_KEY_UP, 371, 224, 32, 32, 32, 32, REPEAT),
    MCU_KEY_RECTS(MCU_KEY_LEFT, 338, 256, 32, 32, 32, 32, CLICK),
    MCU_KEY_RECTS(MCU_KEY_DOWN, 371, 290, 32, 32, 32, 32, REPEAT),
    MCU_KEY_RECTS(MCU_KEY_RIGHT, 404, 256, 32, 32, 32, 32, CLICK),
    MCU_KEY_RECTS(MCU_KEY_ENTER, 350, 324, 70, 25, 70, 25, CLICK),
    END,
    {.type = MOUSE_RECT_EOL},
};
#undef MCU_KEY_RECTS
