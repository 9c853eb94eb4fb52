// Airport information page (2): an airport looked up by ident with its elevation and
// runways; ENTER on a runway row selects the runway the maps draw. Sub-page 2 shows
// the active runways the IPC server reports.
#include <algorithm>
#include <cmath>

#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "guidance/settings.h"

namespace {

int runway_count() { return std::clamp(loaded_rwy_count, 0, apt_rwy_limit); }

void look_up_airport() {
  load_plan_airport_info(mcu_scratchpad, mcu_plan_loaded != 0 ? 0 : 1);
  aptinfo_elev = loaded_apt_elev_text;
  aptinfo_ident = plan_apt_ident;
  if (McuShowActiveRwys == 1) request_active_runways_ipc(aptinfo_ident.c_str());
  // A new runway list starts at its top.
  mcu_aptinfo_row = 1;
  mcu_aptinfo_top = 1;
  mcu_enter = 0;
  mcu_scratchpad.clear();
  mcu_aptinfo_sel_row = MCU_NO_SELECTION;
  loaded_rwy_index = MCU_NO_SELECTION;
}

void heading_line(const McuPage& p) {
  if (runway_count() == 0) {
    mcu_text(p, p.amber, 0, 0, "APT:");
    return;
  }
  mcu_textf(p, p.amber, 0, 0, "APT: %-4s - Elev:%-5s  %d/%d", aptinfo_ident.substr(0, 6).c_str(),
            aptinfo_elev.substr(0, 6).c_str(), mcu_aptinfo_subpage, mcu_aptinfo_subpage_count);
}

void scroll_runways(int n) {
  const int32_t moved = mcu_scroll_list(mcu_aptinfo_row, mcu_aptinfo_top, n, MCU_LIST_ROWS,
                                        {.prev = mcu_prev == 1, .next = mcu_next == 1});
  // The selection mark moves with the list; no selection stays none.
  if (mcu_aptinfo_sel_row != MCU_NO_SELECTION) mcu_aptinfo_sel_row += moved;
}

void runway_rows(const McuPage& p, int n) {
  for (int r = 1; r <= MCU_LIST_ROWS; ++r) {
    const int k = mcu_aptinfo_top + r - 1;
    if (k < 1 || k > n) continue;
    mcu_text(p, r == mcu_aptinfo_sel_row ? p.amber : p.green, 0, MCU_ROW_H * r, mcu_runway_row_text(loaded_rwy_table[k]));
  }
}

void select_runway(int n) {
  const int32_t row = mcu_aptinfo_row;
  if (mcu_aptinfo_sel_row != row) {
    // Only a runway of the list can be drawn by the maps.
    const int k = mcu_aptinfo_top + row - 1;
    if (k < 1 || k > n) return;
    mcu_aptinfo_sel_row = row;
    loaded_rwy_base = mcu_aptinfo_top;
    loaded_rwy_index = row;
    sel_rwy_row_cdu = row;
    sel_rwy_changed = 1;
  } else {
    mcu_aptinfo_sel_row = MCU_NO_SELECTION;
    loaded_rwy_index = MCU_NO_SELECTION;
  }
}

void active_runway_line(const McuPage& p, double y, const char* label, const std::string& first,
                        const std::string& second) {
  mcu_text(p, p.green, 0, y, label);
  if (!first.empty()) mcu_text(p, p.magenta, 160, y, first);
  if (!second.empty()) mcu_textf(p, p.magenta, 185, y, ",%s", second.c_str());
}

// The IPC lines end in a newline, which is not drawn.
std::string runway_line(int i) {
  std::string s = active_rwy_lines[i];
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

}  // namespace

void mcu_aptinfo_page_draw(McuPage& p) {
  if (mcu_enter == 1 && !mcu_scratchpad.empty()) look_up_airport();
  if (mcu_plan_loaded != 0) return;
  const int n = runway_count();
  heading_line(p);
  if (mcu_aptinfo_subpage == 1) {
    scroll_runways(n);
    // Selected before the rows are drawn, so the choice shows in this frame.
    if (mcu_enter == 1) select_runway(n);
    runway_rows(p, n);
    mcu_aptinfo_box_y = mcu_aptinfo_row >= 1 && mcu_aptinfo_row <= MCU_LIST_ROWS ? mcu_row_box_y(mcu_aptinfo_row) : 0;
    if (mcu_aptinfo_box_y >= 1) mcu_box(p, 28, mcu_aptinfo_box_y, 12);
  } else {
    active_runway_line(p, 20, "AI Departure Rwys:", runway_line(0), runway_line(1));
    active_runway_line(p, 40, "AI Arrival Rwys:", runway_line(2), runway_line(3));
  }
  mcu_ident_arrows();
  mcu_ident_entry_line(p);
}
