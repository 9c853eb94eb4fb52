// Keypad of both gauges: the click rectangles and what each key records.
#include <array>
#include <cmath>
#include <utility>

#include "cdu/gnsxls/gnsxls.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/hold_legs.h"
#include "guidance/settings.h"
#include "guidance/waypoint_sequencing.h"
#include "module/host_services.h"
#include "guidance/lnav_vnav_state.h"
#include "navdb/navdb.h"


namespace {

void backspace() { scratchpad_add_key("*1", 0); }

// One step of a 1-based counter with wrap-around.
int32_t step_back(int32_t value, int32_t count) { return value < 2 ? count : value - 1; }
int32_t step_on(int32_t value, int32_t count) { return value >= count ? 1 : value + 1; }

// A line chosen on ACTIVE FPL: L1 second press, L2 or L3 either row, or L4's row.
bool fpl_row_chosen() {
  const int32_t* s = gnsxls_lsk_state;
  return s[1] == 2 || s[2] == 1 || s[2] == 2 || s[3] == 1 || s[3] == 2 || s[4] == 1;
}

// Hold 1 at ACTIVE FPL record `row`: inbound along the leg into it, a right turn and
// HoldLegMins legs.
void make_hold_at(int row) {
  const FlightPlanWpt& rec = fpl_active[row];
  const FlightPlanWpt& prev = fpl_active[row - 1];
  HoldRecord h{};
  fpl_set_text(h.ident, "Fix");
  h.active_wpt = row;
  h.lat = h.pattern_lat[0] = rec.lat;
  h.lon = h.pattern_lon[0] = rec.lon;
  double dist = 0.0, course = 360.0;
  compute_gc_distance_course(prev.lat, prev.lon, rec.lat, rec.lon, dist, course);
  // The inbound course is kept within 0..360 as ENTER keeps it.
  double inbound = std::fmod(course - magvar, 360.0);
  if (inbound < 0.0) inbound += 360.0;
  h.inbound_course = std::isfinite(inbound) ? inbound : 0.0;
  h.leg_time = HoldLegMins;
  h.turn = 1;
  h.leg_mode = 1;
  hold_list[1] = h;
  hold_count = 1;
  sync_hold_numbers();
  hold_corner_dist = 99999.0;
  holding_active = 0;
  holds_changed = 0;
  hold_exit_state = 1;
}

}  // namespace

int32_t gnsxls_nav_key() {
  if (gnsxls_page == GNSXLS_PAGE_NAV) {
    gnsxls_nav_subpage = step_on(gnsxls_nav_subpage, 4);
  } else {
    gnsxls_page = GNSXLS_PAGE_NAV;
    gnsxls_nav_subpage = 1;
  }
  return 0;
}

int32_t gnsxls_vnav_key() {
  if (gnsxls_page == GNSXLS_PAGE_VNAV) {
    gnsxls_vnav_subpage = step_on(gnsxls_vnav_subpage, gnsxls_vnav_subpages);
  } else if (gnsxls_page == GNSXLS_PAGE_FPL && gnsxls_list_mode == 1 && gnsxls_prompt_open == 1) {
    gnsxls_page = GNSXLS_PAGE_BLANK;
  } else {
    gnsxls_page = GNSXLS_PAGE_VNAV;
    gnsxls_vnav_subpage = 1;
  }
  return 0;
}

int32_t gnsxls_fpl_key() {
  reset_cdu_entry_state();
  if (gnsxls_page != GNSXLS_PAGE_FPL) {
    // An entry left open on the page before ends there: no row of page 1 is chosen.
    gnsxls_prompt_open = 0;
    gnsxls_plan_list_page = 1;
    gnsxls_list_mode = 1;
    gnsxls_active_fpl_page = 1;
  } else if (gnsxls_list_mode == 1) {
    ++gnsxls_active_fpl_page;
    if (gnsxls_active_fpl_page >= 2 && gnsxls_active_fpl_page > gnsxls_active_fpl_pages) {
      gnsxls_list_mode = 2;
      gnsxls_plan_list_page = 1;
      gnsxls_active_fpl_page = 1;
    }
  } else {
    int32_t from = gnsxls_plan_selected == 1 ? 0 : gnsxls_plan_list_page;
    gnsxls_plan_selected = 0;
    gnsxls_plan_list_page = from + 1;
    if (gnsxls_plan_list_page >= 2 && gnsxls_plan_list_page > gnsxls_plan_list_pages) {
      gnsxls_plan_list_page = 0;
      gnsxls_list_mode = 1;
      gnsxls_active_fpl_page = 1;
    }
  }
  gnsxls_fpl_column = gnsxls_fpl_column_saved;
  gnsxls_page = GNSXLS_PAGE_FPL;
  return 0;
}

int32_t gnsxls_plan_key() {
  if (gnsxls_page == GNSXLS_PAGE_PLAN) {
    gnsxls_plan_subpage = step_on(gnsxls_plan_subpage, 6);
  } else {
    gnsxls_page = GNSXLS_PAGE_PLAN;
    gnsxls_plan_subpage = 1;
  }
  return 0;
}

int32_t gnsxls_hold_key() {
  // Only a row of the active plan that has a leg into it takes the hold: the open row,
  // the record fpl_edit_index however insertions and deletions have moved it.
  if (gnsxls_page == GNSXLS_PAGE_FPL && gnsxls_list_mode == 1 && fpl_row_chosen() &&
      fpl_active_index != FPL_NO_PLAN && fpl_edit_index >= 1 && fpl_edit_index <= fpl_active_last) {
    gnsxls_edit_row = fpl_edit_index;
    make_hold_at(gnsxls_edit_row);
  }
  // No hold to show: the key does nothing, as DIRECT-TO without a fix.
  if (hold_count < 1) return 0;
  gnsxls_page = GNSXLS_PAGE_HOLD;
  gnsxls_scratchpad.clear();
  return 0;
}

namespace {

// The counter PREV and NEXT step on the current page, with its count.
struct Counter {
  int32_t* value = nullptr;
  int32_t count = 0;
  bool reset = false;  // reset_cdu_entry_state first (NEXT always, PREV on pages 1 mode 1 and 13)
};

Counter page_counter() {
  switch (gnsxls_page) {
    case GNSXLS_PAGE_FPL:
      if (gnsxls_list_mode == 1) return {&gnsxls_active_fpl_page, gnsxls_active_fpl_pages, true};
      if (gnsxls_plan_selected == 1) return {&gnsxls_plan_row_page, gnsxls_plan_row_pages, false};
      return {&gnsxls_plan_list_page, gnsxls_plan_list_pages, false};
    case GNSXLS_PAGE_DIRECT: return {&gnsxls_direct_choice, gnsxls_direct_count};
    case GNSXLS_PAGE_DATABASE_WPT: return {&nav_search_count, fix_match_count};
    case GNSXLS_PAGE_NAV: return {&gnsxls_nav_subpage, 4};
    case GNSXLS_PAGE_DEPARTURE: return {&gnsxls_dep_choice, gnsxls_dep_count};
    case GNSXLS_PAGE_STAR: return {&gnsxls_star_choice, gnsxls_star_count};
    case GNSXLS_PAGE_AIRWAY: return {&gnsxls_airway_choice, gnsxls_airway_count, true};
    case GNSXLS_PAGE_VNAV: return {&gnsxls_vnav_subpage, gnsxls_vnav_subpages};
    case GNSXLS_PAGE_PLAN: return {&gnsxls_plan_subpage, 6};
    default: return {};
  }
}

void step_offset_reference(int dir) {
  if (fix_match_count < 1) return;
  gnsxls_offset_choice = dir < 0 ? step_back(gnsxls_offset_choice, fix_match_count)
                                 : step_on(gnsxls_offset_choice, fix_match_count);
  if (gnsxls_offset_choice >= 1 && gnsxls_offset_choice < nav_search_slots)
    gnsxls_offset_ref = nav_search_list[gnsxls_offset_choice].ident;
}

void step_page(int dir) {
  if (gnsxls_page == GNSXLS_PAGE_OFFSET_WPT) step_offset_reference(dir);
  Counter c = page_counter();
  // Nothing to step through: the key does nothing.
  if (!c.value || c.count < 1) return;
  if (c.reset && (dir > 0 || gnsxls_page != GNSXLS_PAGE_FPL || gnsxls_list_mode == 1)) reset_cdu_entry_state();
  if (dir > 0 && gnsxls_page == GNSXLS_PAGE_FPL && gnsxls_list_mode == 2) reset_cdu_entry_state();
  if (gnsxls_page == GNSXLS_PAGE_FPL && gnsxls_list_mode == 1) gnsxls_prompt_open = 0;
  bool wraps = dir > 0 && *c.value >= c.count;
  *c.value = dir < 0 ? step_back(*c.value, c.count) : step_on(*c.value, c.count);
  if (gnsxls_page == GNSXLS_PAGE_DATABASE_WPT) gnsxls_wpt_shown = nav_search_count;
  if (wraps && gnsxls_page == GNSXLS_PAGE_FPL && gnsxls_list_mode == 2 && gnsxls_plan_selected != 1) stored_plan_sel = 1;
}

}  // namespace

int32_t gnsxls_prev_key() {
  step_page(-1);
  return 0;
}

int32_t gnsxls_next_key() {
  step_page(1);
  return 0;
}

int32_t gnsxls_direct_key() {
  if (fpl_active_index == FPL_NO_PLAN) return 0;
  if (gnsxls_page == GNSXLS_PAGE_DIRECT) {
    gnsxls_direct_choice = step_on(gnsxls_direct_choice, gnsxls_direct_count);
    gnsxls_answer = "NO";
    reset_cdu_entry_state();
    gnsxls_direct_pressed = 1;
    return 0;
  }
  // The copy takes one record more than the plan and its end record: refused when full.
  if (fpl_active_last > 0 && fpl_active_last + 1 > FPL_MAX_LAST) {
    gnsxls_message = GNSXLS_MSG_PLAN_FULL;
    return 0;
  }
  gnsxls_direct_armed = 0;
  gnsxls_direct_choice = 1;
  reset_cdu_entry_state();
  fpl_edit_index = 0;
  fpl_edit_last = 0;
  if (fpl_active_last > 0) {
    for (int i = 0; i <= fpl_active_last + 1; ++i) fpl_edit[i] = fpl_active[i];
    save_hold_indexes();
    fpl_edit_index = fpl_valid_index(fpl_active_index, fpl_active_last + 1) ? fpl_active_index : 0;
    fpl_edit_last = fpl_active_last + 1;
    fpl_edit_dest_index = fpl_active_dest_index;
  }
  // Without a copy the edit plan is only its end record.
  set_end_record(fpl_edit[fpl_active_last > 0 ? fpl_edit_last + 1 : 0]);
  gnsxls_scratchpad = fpl_edit[fpl_edit_index].ident;
  gnsxls_prompt_open = 1;
  gnsxls_clear_on_key = 1;
  scratchpad_add_key("", 1);
  gnsxls_page = GNSXLS_PAGE_DIRECT;
  gnsxls_answer = "NO";
  reset_cdu_entry_state();
  gnsxls_direct_pressed = 1;
  return 0;
}

namespace {

void clr_flight_plan_page() {
  const int32_t* s = gnsxls_lsk_state;
  if (gnsxls_list_mode == 1 && gnsxls_prompt_open != 1 && s[10] == 1) {
    gnsxls_fpl_column = gnsxls_fpl_column % 4 + 1;
    return;
  }
  if (gnsxls_list_mode == 1 || (gnsxls_list_mode == 2 && gnsxls_plan_selected == 1)) {
    const FlightPlanWpt* plan = gnsxls_list_mode == 1 ? fpl_active : fpl_edit;
    bool record = fpl_edit_index >= 0 && fpl_edit_index < FPL_CAPACITY;
    if (!record || std::string(plan[fpl_edit_index].ident) == FPL_END_IDENT || gnsxls_clear_on_key != 1) {
      backspace();
    } else {
      gnsxls_delete_request = 1;
    }
    return;
  }
  backspace();
}

void toggle_answer_in_scratchpad() { gnsxls_scratchpad = gnsxls_scratchpad == "NO" ? "YES" : "NO"; }

}  // namespace

int32_t gnsxls_clr_key() {
  gnsxls_clr_pressed = 1;
  int32_t* s = gnsxls_lsk_state;
  switch (gnsxls_page) {
    case GNSXLS_PAGE_DATABASE_WPT:
      if (s[10] == 2 && gnsxls_return_page == GNSXLS_PAGE_DIRECT) {
        const std::string& t = gnsxls_scratchpad;
        gnsxls_scratchpad = t == "DEFAULT" ? "LEFT" : t == "LEFT" ? "RIGHT" : "DEFAULT";
      } else if (s[10] == 1) {
        toggle_answer_in_scratchpad();
      }
      break;
    case GNSXLS_PAGE_PILOT_WPT:
    case GNSXLS_PAGE_OFFSET_WPT:
      if (s[10] == 1) toggle_answer_in_scratchpad();
      break;
    case GNSXLS_PAGE_HOLD:
      if (s[8] == 1) hold_turn_choice = hold_turn_choice == 1 ? 2 : 1;
      if (s[10] == 1) hold_exit_choice = hold_exit_choice == 1 ? 2 : 1;
      break;
    case GNSXLS_PAGE_APPROACH:
      if (gnsxls_return_page == GNSXLS_PAGE_FPL && gnsxls_prompt_open != 1) gnsxls_page = GNSXLS_PAGE_FPL;
      else backspace();
      break;
    case GNSXLS_PAGE_AIRWAY:
      gnsxls_page = gnsxls_return_page;
      gnsxls_prompt_open = 0;
      gnsxls_scratchpad.clear();
      break;
    case GNSXLS_PAGE_FPL: clr_flight_plan_page(); break;
    case GNSXLS_PAGE_NAV:
      if (s[7] == 1) gnsxls_scratchpad = gnsxls_scratchpad == "ALT?" ? "ETA?" : "ALT?";
      if (s[10] == 1) {
        if (gnsxls_nav_auto_man == 1) gnsxls_nav_auto_man = 2;
        else if (gnsxls_nav_auto_man == 2) gnsxls_nav_auto_man = 1;
        else gnsxls_nav_auto_man = lnav_on == 1 ? 2 : 1;
      }
      if (s[7] != 1 && s[10] != 1) backspace();
      break;
    default: backspace(); break;
  }
  return 0;
}

int32_t gnsxls_lsk_key(int32_t lsk) {
  gnsxls_pending_lsk = lsk;
  return 0;
}

int32_t gnsxls_char_key(char c) {
  scratchpad_add_key(std::string(1, c), 0);
  return 0;
}

// ---- mouse rectangles ----

namespace {

struct KeyRow {
  int32_t x, y, w, h;
  int32_t (*fn)();   // function key, else
  int32_t lsk;       // line key 1..10, else
  char c;            // character key
};

constexpr int32_t LX[5] = {60, 60, 60, 60, 57};
constexpr int32_t LY[5] = {70, 115, 160, 204, 247};
constexpr int32_t ROW1_X[10] = {48, 94, 138, 184, 230, 276, 322, 368, 414, 460};
constexpr int32_t DIGIT_X[3] = {428, 462, 498};
constexpr int32_t DIGIT_Y[4] = {84, 130, 174, 218};

constexpr KeyRow fn_key(int32_t x, int32_t y, int32_t w, int32_t h, int32_t (*fn)()) { return {x, y, w, h, fn, 0, 0}; }
constexpr KeyRow lsk_key(int32_t n) {
  return n <= 5 ? KeyRow{LX[n - 1], LY[n - 1], 24, 17, nullptr, n, 0} : KeyRow{390, LY[n - 6], 24, 17, nullptr, n, 0};
}
constexpr KeyRow char_key(int32_t x, int32_t y, int32_t w, int32_t h, char c) { return {x, y, w, h, nullptr, 0, c}; }

// Keypad order; the index is the click rectangle's (the scenario scripts use it).
constexpr KeyRow keys[GNSXLS_KEY_COUNT] = {
    fn_key(55, 11, 36, 28, gnsxls_nav_key),      // 0 NAV
    fn_key(99, 11, 36, 28, gnsxls_vnav_key),     // 1 VNAV
    fn_key(188, 11, 36, 28, gnsxls_fpl_key),     // 2 FPL
    fn_key(363, 11, 36, 28, gnsxls_plan_key),    // 3 PLAN
    fn_key(428, 48, 36, 28, gnsxls_hold_key),    // 4 HOLD
    lsk_key(1), lsk_key(2), lsk_key(3), lsk_key(4), lsk_key(5),      // 5..9 L1..L5
    lsk_key(6), lsk_key(7), lsk_key(8), lsk_key(9), lsk_key(10),     // 10..14 R1..R5
    fn_key(18, 140, 30, 38, gnsxls_prev_key),    // 15 PREV
    fn_key(18, 185, 30, 38, gnsxls_next_key),    // 16 NEXT
    fn_key(18, 228, 30, 38, gnsxls_direct_key),  // 17 DIRECT-TO
    char_key(48, 310, 36, 30, 'A'), char_key(94, 310, 36, 30, 'B'), char_key(138, 310, 36, 30, 'C'),
    char_key(184, 310, 30, 30, 'D'),             // 18..21
    fn_key(242, 310, 62, 30, gnsxls_enter_key),  // 22 ENTER
    char_key(322, 310, 36, 30, 'E'), char_key(368, 310, 36, 30, 'F'), char_key(414, 310, 36, 30, 'G'),
    char_key(460, 310, 36, 30, 'H'),             // 23..26
    char_key(ROW1_X[0], 350, 36, 30, 'I'), char_key(ROW1_X[1], 350, 36, 30, 'J'),
    char_key(ROW1_X[2], 350, 36, 30, 'K'), char_key(ROW1_X[3], 350, 36, 30, 'L'),
    char_key(ROW1_X[4], 350, 36, 30, 'M'), char_key(ROW1_X[5], 350, 36, 30, 'N'),
    char_key(ROW1_X[6], 350, 36, 30, 'O'), char_key(ROW1_X[7], 350, 36, 30, 'P'),
    char_key(ROW1_X[8], 350, 36, 30, 'Q'), char_key(ROW1_X[9], 350, 36, 30, 'R'),  // 27..36
    char_key(ROW1_X[0], 392, 36, 30, 'S'), char_key(ROW1_X[1], 392, 36, 30, 'T'),
    char_key(ROW1_X[2], 392, 36, 30, 'U'), char_key(ROW1_X[3], 392, 36, 30, 'V'),
    char_key(ROW1_X[4], 392, 36, 30, 'W'), char_key(ROW1_X[5], 392, 36, 30, 'X'),
    char_key(ROW1_X[6], 392, 36, 30, 'Y'), char_key(ROW1_X[7], 392, 36, 30, 'Z'),
    char_key(ROW1_X[8], 392, 36, 30, '*'),       // 37..45
    fn_key(430, 262, 34, 26, gnsxls_clr_key),    // 46 CLR
    char_key(DIGIT_X[0], DIGIT_Y[0], 30, 36, '1'), char_key(DIGIT_X[1], DIGIT_Y[0], 30, 36, '2'),
    char_key(DIGIT_X[2], DIGIT_Y[0], 30, 36, '3'), char_key(DIGIT_X[0], DIGIT_Y[1], 30, 36, '4'),
    char_key(DIGIT_X[1], DIGIT_Y[1], 30, 36, '5'), char_key(DIGIT_X[2], DIGIT_Y[1], 30, 36, '6'),
    char_key(DIGIT_X[0], DIGIT_Y[2], 30, 36, '7'), char_key(DIGIT_X[1], DIGIT_Y[2], 30, 36, '8'),
    char_key(DIGIT_X[2], DIGIT_Y[2], 30, 36, '9'),  // 47..55
    char_key(DIGIT_X[0], DIGIT_Y[3], 30, 36, '#'), char_key(DIGIT_X[1], DIGIT_Y[3], 30, 36, '0'),  // 56, 57
};

// One-character texts for key_chars.
struct CharText {
  char text[2];
};
std::array<CharText, GNSXLS_KEY_COUNT> char_texts = [] {
  std::array<CharText, GNSXLS_KEY_COUNT> t{};
  for (int k = 0; k < GNSXLS_KEY_COUNT; ++k) t[k] = {{keys[k].c, '\0'}};
  return t;
}();

int32_t press_key(int index) {
  // Any key ends a failure message shown on the page.
  gnsxls_save_failed = 0;
  gnsxls_load_failed = 0;
  gnsxls_message.clear();
  const KeyRow& k = keys[index];
  if (k.fn) return k.fn();
  if (k.lsk) return gnsxls_lsk_key(k.lsk);
  return gnsxls_char_key(k.c);
}

template <int K>
int32_t key_click(MouseRect*, uint32_t) {
  return press_key(K);
}

template <std::size_t... K>
constexpr std::array<MouseClickFn, sizeof...(K)> make_clicks(std::index_sequence<K...>) {
  return {key_click<int(K)>...};
}
constexpr auto clicks = make_clicks(std::make_index_sequence<GNSXLS_KEY_COUNT>());

int32_t window_click(MouseRect*, uint32_t) {
  host_toggle_window(GNSXLS_WINDOW);
  return 0;
}

constexpr int RECTS_LAST = 1 + 3 * (GNSXLS_KEY_COUNT + 1) + 1;  // outer, keys (+ window), end, eol

void fill_rects(MouseRect* r, bool window_key) {
  int n = 0;
  r[n++] = {MOUSE_RECT_PARENT, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr};
  auto add = [&](int32_t x, int32_t y, int32_t w, int32_t h, MouseClickFn fn, const char* chars) {
    r[n++] = {MOUSE_RECT_PARENT, x, y, w, h, CURSOR_NONE, 0, 0, 0, nullptr, nullptr};
    r[n++] = {MOUSE_RECT_CHILD, 0, 0, w, h, CURSOR_HAND, 0, MOUSE_LEFT_SINGLE, 0, fn, chars};
    r[n++] = {MOUSE_RECT_END_PARENT, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr};
  };
  for (int k = 0; k < GNSXLS_KEY_COUNT; ++k)
    add(keys[k].x, keys[k].y, keys[k].w, keys[k].h, clicks[k], keys[k].c ? char_texts[k].text : nullptr);
  if (window_key) add(190, 101, 80, 80, window_click, nullptr);
  r[n++] = {MOUSE_RECT_END_PARENT, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr};
  r[n++] = {MOUSE_RECT_EOL, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr};
}

}  // namespace

MouseRect gnsxls_mouse_rects[RECTS_LAST + 1];
MouseRect gnsxls_lm_mouse_rects[RECTS_LAST + 1];

namespace {
[[maybe_unused]] const bool rects_filled = [] {
  fill_rects(gnsxls_mouse_rects, true);
  fill_rects(gnsxls_lm_mouse_rects, false);
  return true;
}();
}  // namespace
