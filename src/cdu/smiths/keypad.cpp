// Keypad of both gauges: 70 click rectangles and what each key records.
#include <cstring>

#include "flightplan/route_entry.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "module/panel_windows.h"
#include "module/host_services.h"

// ---- scratchpad keys ----

void smiths_append_char(char c) {
  if (smiths_scratchpad.size() < SMITHS_SCRATCHPAD_MAX) smiths_scratchpad.push_back(c);
}

void smiths_plus_minus() {
  if (smiths_scratchpad.size() >= SMITHS_SCRATCHPAD_MAX) return;
  if (smiths_scratchpad.empty()) {
    smiths_scratchpad = "-";
  } else if (smiths_scratchpad.back() == '-') {
    smiths_scratchpad.back() = '+';
  } else if (smiths_scratchpad.back() == '+') {
    smiths_scratchpad.back() = '-';
  } else {
    smiths_scratchpad.push_back('-');
  }
}

void smiths_clear_key() {
  if (!smiths_scratchpad_msg.empty()) {
    smiths_scratchpad_msg.clear();
  } else if (!smiths_scratchpad.empty()) {
    smiths_scratchpad.pop_back();
  }
}

// ---- key effects ----

namespace {

// Line keys in keypad order: L1, R1, L2, R2 ... L6, R6.
constexpr int32_t line_key_numbers[12] = {1, 6, 2, 7, 3, 8, 4, 9, 5, 10, 11, 12};

// Characters of the character keys 26..64.
char character_of(int key) {
  if (key >= 26 && key <= 51) return char('A' + (key - 26));
  if (key >= 52 && key <= 60) return char('1' + (key - 52));
  if (key == 61) return '7';
  if (key == 62) return '.';
  if (key == 63) return '0';
  if (key == 64) return '/';
  return '\0';
}

}  // namespace

void smiths_fms_key(int key) {
  switch (key) {
    case 1:  // INIT REF
      smiths_perf_page_no = 1;
      smiths_page = fpl_active_index == FPL_NO_PLAN ? SMITHS_PAGE_POS_INIT : SMITHS_PAGE_PERF_INIT;
      return;
    case 2:  // RTE
      smiths_page = SMITHS_PAGE_RTE;
      smiths_rte_page_no = 1;
      smiths_rte_key_flag = 1;
      return;
    case 3: smiths_page = SMITHS_PAGE_ECON_CLB; return;
    case 4: smiths_page = SMITHS_PAGE_ECON_CRZ; return;
    case 5: smiths_page = SMITHS_PAGE_ECON_DES; return;
    case 6:  // LEGS
      smiths_page = SMITHS_PAGE_LEGS;
      smiths_legs_mode = 0;
      smiths_dir_intc_index = 0;
      smiths_hold_at_index = 0;
      smiths_legs_page_no = 1;
      smiths_legs_key_flag = 1;
      return;
    case 7:  // DIR INTC
      if (fpl_changed_state >= 2) {
        smiths_legs_mode = 1;
        smiths_page = SMITHS_PAGE_LEGS;
      } else {
        smiths_scratchpad_msg = "NO ACTIVE ROUTE";
      }
      return;
    case 8: smiths_page = SMITHS_PAGE_DEP_ARR_INDEX; return;
    case 9:  // HOLD
      smiths_hold_key_flag = 1;
      smiths_hold_page_no = 1;
      if (smiths_listed_hold_count() != 0) {
        smiths_page = SMITHS_PAGE_RTE_HOLD;
      } else {
        plan_center_index = 0;
        smiths_legs_mode = 2;
        smiths_page = SMITHS_PAGE_LEGS;
      }
      return;
    case 10:
      smiths_page = SMITHS_PAGE_PROGRESS;
      smiths_progress_page_no = 1;
      return;
    case 11:
      smiths_page = SMITHS_PAGE_FIX_INFO;
      smiths_fix_page_no = 1;
      return;
    case 12: smiths_prev_page_key = 1; return;
    case 13: smiths_next_page_key = 1; return;
    case 65: smiths_plus_minus(); return;
    case 66: smiths_scratchpad_msg = "DELETE"; return;
    case 67: smiths_clear_key(); return;
    case 68:  // blank key
      if (smiths_scratchpad_msg == "DELETE") {
        smiths_scratchpad.clear();
        smiths_scratchpad_msg.clear();
      } else {
        smiths_append_char(' ');
      }
      return;
    case 69:  // EXEC
      fpl_prepare_first_exec();
      if (fpl_changed_state == 2 || fpl_changed_state == 4) {
        activate_route();
        // The direct-to is flown now: LEGS shows the route again.
        if (smiths_legs_mode == 1) smiths_legs_mode = 0;
        smiths_dir_intc_index = 0;
      }
      return;
    case 70: host_toggle_window(WINDOW_SMITHS_FMS); return;
    default: break;
  }
  if (key >= 14 && key <= 25) {
    smiths_pending_lsk = line_key_numbers[key - 14];
    return;
  }
  char c = character_of(key);
  if (c == '\0') return;
  smiths_append_char(c);
  // The letters G to Z also reach the GNS-XLS entry field.
  if (c >= 'G' && c <= 'Z') scratchpad_add_key(std::string(1, c), 0);
}

// ---- mouse rectangles ----

namespace {

template <int K>
int32_t key_click(MouseRect*, uint32_t) {
  smiths_fms_key(K);
  return 0;
}

constexpr int32_t P = MOUSE_RECT_PARENT;
constexpr int32_t C = MOUSE_RECT_CHILD;
constexpr int32_t E = MOUSE_RECT_END_PARENT;

}  // namespace

// A key: parent at its box, one click child of the box's size (child width cw), end.
#define KEY(k, x, y, w, h, cw, chars)                                                  \
  {P, x, y, w, h, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},                             \
  {C, 0, 0, cw, h, CURSOR_HAND, 0, MOUSE_LEFT_SINGLE, 0, key_click<k>, chars},         \
  {E, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},

MouseRect smiths_fms_mouse_rects[] = {
    {P, 0, 0, 415, 640, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    KEY(1, 51, 298, 44, 30, 44, nullptr)     // INIT REF
    KEY(2, 104, 298, 44, 30, 44, nullptr)    // RTE
    KEY(3, 153, 298, 44, 30, 44, nullptr)    // CLB
    KEY(4, 206, 298, 44, 30, 44, nullptr)    // CRZ
    KEY(5, 258, 298, 44, 30, 44, nullptr)    // DES
    KEY(6, 104, 338, 44, 30, 44, nullptr)    // LEGS
    KEY(7, 51, 338, 44, 30, 44, nullptr)     // DIR INTC
    KEY(8, 153, 338, 44, 30, 44, nullptr)    // DEP ARR
    KEY(9, 206, 338, 44, 30, 44, nullptr)    // HOLD
    KEY(10, 258, 338, 44, 30, 44, nullptr)   // PROG
    KEY(11, 104, 377, 44, 30, 44, nullptr)   // FIX
    KEY(12, 51, 418, 46, 34, 46, nullptr)    // PREV PAGE
    KEY(13, 104, 418, 46, 34, 46, nullptr)   // NEXT PAGE
    KEY(14, 7, 68, 46, 34, 46, nullptr)      // L1
    KEY(15, 379, 68, 46, 34, 46, nullptr)    // R1
    KEY(16, 7, 100, 46, 34, 46, nullptr)     // L2
    KEY(17, 379, 100, 46, 34, 46, nullptr)   // R2
    KEY(18, 7, 132, 46, 34, 46, nullptr)     // L3
    KEY(19, 379, 132, 46, 34, 46, nullptr)   // R3
    KEY(20, 7, 165, 46, 34, 46, nullptr)     // L4
    KEY(21, 379, 165, 46, 34, 46, nullptr)   // R4
    KEY(22, 7, 197, 46, 34, 46, nullptr)     // L5
    KEY(23, 379, 197, 46, 34, 46, nullptr)   // R5
    KEY(24, 7, 230, 46, 34, 46, nullptr)     // L6
    KEY(25, 379, 230, 46, 34, 46, nullptr)   // R6
    KEY(26, 172, 381, 36, 36, 36, "A")
    KEY(27, 212, 381, 36, 36, 36, "B")
    KEY(28, 252, 381, 36, 36, 36, "C")
    KEY(29, 293, 381, 36, 36, 30, "D")
    KEY(30, 332, 381, 36, 36, 36, "E")
    KEY(31, 172, 422, 36, 36, 36, "F")
    KEY(32, 212, 422, 36, 36, 36, "G")
    KEY(33, 252, 422, 36, 36, 36, "H")
    KEY(34, 293, 422, 36, 36, 36, "I")
    KEY(35, 332, 422, 36, 36, 36, "J")
    KEY(36, 172, 461, 36, 36, 36, "K")
    KEY(37, 212, 461, 36, 36, 36, "L")
    KEY(38, 252, 461, 36, 36, 36, "M")
    KEY(39, 293, 461, 36, 36, 36, "N")
    KEY(40, 332, 461, 36, 36, 36, "O")
    KEY(41, 172, 502, 36, 36, 36, "P")
    KEY(42, 212, 502, 36, 36, 36, "Q")
    KEY(43, 252, 502, 36, 36, 36, "R")
    KEY(44, 293, 502, 36, 36, 36, "S")
    KEY(45, 332, 502, 36, 36, 36, "T")
    KEY(46, 172, 542, 36, 36, 36, "U")
    KEY(47, 212, 542, 36, 36, 36, "V")
    KEY(48, 252, 542, 36, 36, 36, "W")
    KEY(49, 293, 542, 36, 36, 36, "X")
    KEY(50, 332, 542, 36, 36, 36, "Y")
    KEY(51, 172, 582, 36, 36, 36, "Z")
    KEY(52, 51, 461, 34, 34, 34, "1")
    KEY(53, 90, 461, 34, 34, 34, "2")
    KEY(54, 130, 461, 34, 34, 34, "3")
    KEY(55, 51, 502, 34, 34, 34, "4")
    KEY(56, 90, 502, 34, 34, 34, "5")
    KEY(57, 130, 502, 34, 34, 34, "6")
    KEY(58, 51, 542, 34, 34, 34, "7")
    KEY(59, 90, 542, 34, 34, 34, "8")
    KEY(60, 130, 542, 34, 34, 34, "9")
    KEY(61, 51, 542, 34, 34, 34, "7")        // second 7, same box as the first
    KEY(62, 51, 582, 34, 34, 34, ".")
    KEY(63, 90, 582, 34, 34, 34, "0")
    KEY(64, 293, 582, 34, 34, 34, "/")
    KEY(65, 130, 582, 34, 34, 34, "-")       // +/-
    KEY(66, 252, 582, 34, 34, 36, nullptr)   // DEL
    KEY(67, 332, 582, 34, 34, 34, nullptr)   // CLR
    KEY(68, 212, 582, 34, 34, 34, " ")       // blank key
    KEY(69, 318, 338, 44, 30, 44, nullptr)   // EXEC
    KEY(70, 160, 100, 92, 92, 92, nullptr)   // screen centre: the CDU window
    {E, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_EOL, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
};

#undef KEY

static_assert(sizeof(smiths_fms_mouse_rects) / sizeof(MouseRect) == 3 + 3 * SMITHS_KEY_COUNT,
              "outer rectangle, 70 keys, end and end of list");
