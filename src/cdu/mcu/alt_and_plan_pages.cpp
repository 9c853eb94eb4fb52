// Altitude page (19): the autopilot altitude set with the arrows and ENTER. Plan-list
// page (1): the stored plans four at a time; ENTER asks the update to load one.
#include <algorithm>

#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/plan_files.h"
#include "guidance/flight_envelope.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/lnav_vnav_state.h"
#include "module/host_services.h"
#include "platform/host/sim_token_ids.h"

namespace {
constexpr size_t plan_name_chars = 26;  // a row's text
}

void mcu_alt_page_draw(McuPage& p) {
  if (mcu_digit_sel != 0) mcu_new_alt = mcu_step_altitude(mcu_new_alt);
  if (mcu_enter == 1) {
    host_send_key_event(KEY_AP_ALTITUDE_SET, key_param(mcu_new_alt));
    // With VNAV flying a plan before the descent, the unit's only level entry is the
    // cruise level: the profile is made again for it, as on the other units.
    const int32_t alt = key_param(mcu_new_alt);
    if (vnav_on == 1 && fpl_active_index != FPL_NO_PLAN && tod_reached == 0 && alt >= envelope_lowest_cruise_ft() &&
        alt <= envelope_highest_cruise_ft())
      fms_cruise_level_entered(alt);
    mcu_page = MCU_PAGE_NAV;
    return;
  }
  mcu_text(p, p.amber, 0, 0, "ALT/FL:");
  mcu_textf(p, p.green, 70, 20, "AP ALT:   %05.0f", ap_altitude);
  char line[32];
  std::snprintf(line, sizeof line, "NEW ALT:  %05.0f", mcu_new_alt);
  mcu_text(p, p.amber, 70, 40, line);
  // The thousands digit, or the hundreds that step by 500.
  if (mcu_digit_sel != 0) mcu_underline(p, 70, 55, line, mcu_digit_sel == 1 ? 11 : 12);
}

void mcu_fpln_page_draw(McuPage& p) {
  mcu_text(p, p.amber, 0, 0, "FPLN:");
  if (mcu_fpln_rescan == 1) list_plan_files();
  // Plans 1..n are listed; the last stored entry is the new-plan entry.
  const int32_t n = std::min(stored_plan_count, STORED_PLAN_CAPACITY - 1) - 1;
  int32_t& row = mcu_fpln_row;
  int32_t& top = mcu_fpln_top;
  // The loaded plan's mark moves with the list, wraps included.
  mcu_fpln_loaded_row += mcu_scroll_list(
      row, top, n, MCU_LIST_ROWS,
      {.prev = mcu_prev == 1, .next = mcu_next == 1, .page_up = mcu_page_up == 1, .page_down = mcu_page_down == 1});

  mcu_fpln_box_y = row >= 1 && row <= MCU_LIST_ROWS ? mcu_row_box_y(row) : 0;
  if (mcu_fpln_box_y >= 1) mcu_box(p, 120, mcu_fpln_box_y, 12);

  const int32_t plan = top + row - 1;
  if (mcu_enter == 1 && plan >= 1 && plan <= n) {
    if (mcu_fpln_loaded_row != row) {
      mcu_fpln_loaded_row = row;
      text_cdu_fpln_top = top;
      stored_plan_sel = row;
    }
    plan_load_name = stored_plans[plan].name;
    plan_load_request = 1;
  }
  for (int32_t r = 1; r <= MCU_LIST_ROWS; ++r) {
    int32_t k = top + r - 1;
    if (k < 1 || k > n) continue;
    std::string name = std::string(stored_plans[k].name).substr(0, plan_name_chars);
    mcu_text(p, r == mcu_fpln_loaded_row ? p.amber : p.green, 0, MCU_ROW_H * r, name);
  }
}
