// Text CDU pages: FPLN (stored plans; ENTER asks the update to load one for this
// unit), APT (an airport's runways; ENTER selects the runway the maps draw and posts
// the approach message), PERF (flight time) and MSG (the module's messages).
#include <algorithm>
#include <cmath>
#include <string>

#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "cdu/mcu/text_cdu.h"
#include "cdu/mcu/text_cdu_pages.h"
#include "flightplan/flight_plan.h"
#include "flightplan/plan_files.h"
#include "guidance/fms_state.h"
#include "module/keyboard_input.h"
#include "module/module_messages.h"

namespace {

constexpr size_t plan_name_chars = 28;  // what the 210-unit row holds
constexpr size_t message_chars = 50;

double row_y(int32_t r) { return 2 + 10 * r; }
// Top of the cursor box of row 1..8 (13, 23, ... 83); 0 for no row.
int32_t box_y(int32_t r) { return r >= 1 && r <= TEXT_CDU_ROWS ? 13 + 10 * (r - 1) : 0; }

void text(const TextCduPage& p, const GfxFont* font, const GfxBrush* brush, double x, double y, const std::string& s) {
  draw_text(p.g, font, brush, x, y, DRAW_TEXT_MAX, s.c_str());
}

void cursor_box(const TextCduPage& p, double w, int32_t y) {
  if (y < 1) return;
  const DrawPoint box[] = {{0.0, double(y)}, {w, double(y)}, {w, y + 10.0}, {0.0, y + 10.0}, {0.0, double(y)}};
  draw_lines_d(p.g, p.cyan_pen, box, 5);
}

void entry_line(const TextCduPage& p) { text(p, p.row, p.cyan, 0, 92, "> " + text_cdu_scratchpad); }

ListKeys keys(bool page_keys) {
  return {.prev = text_cdu_up == 1,
          .next = text_cdu_down == 1,
          .page_up = page_keys && text_cdu_page_up == 1,
          .page_down = page_keys && text_cdu_page_down == 1};
}

int runway_count() { return std::clamp(loaded_rwy_count, 0, apt_rwy_limit); }

void look_up_airport() {
  load_plan_airport_info(text_cdu_scratchpad, 0);
  sel_rwy_row_cdu = 1;
  // A new runway list starts at its top.
  loaded_rwy_base = 1;
  text_cdu_enter = 0;
  text_cdu_scratchpad.clear();
  loaded_rwy_index = MCU_NO_SELECTION;
  mcu_aptinfo_sel_row = MCU_NO_SELECTION;
  mcu_aptinfo_row = 1;
}

// The selection moves with the runway list; no selection stays none.
void scroll_runways(int n) {
  const int32_t moved = mcu_scroll_list(sel_rwy_row_cdu, loaded_rwy_base, n, TEXT_CDU_ROWS, keys(false));
  if (loaded_rwy_index != MCU_NO_SELECTION) loaded_rwy_index += moved;
}

void select_runway(int n) {
  const int32_t row = sel_rwy_row_cdu;
  if (loaded_rwy_index == row) {
    loaded_rwy_index = MCU_NO_SELECTION;
    mcu_aptinfo_sel_row = MCU_NO_SELECTION;
    return;
  }
  // Only a runway of the list can be selected and announced.
  const int k = loaded_rwy_base + row - 1;
  if (k < 1 || k > n) return;
  loaded_rwy_index = row;
  mcu_aptinfo_top = loaded_rwy_base;
  mcu_aptinfo_sel_row = row;
  sel_rwy_changed = 1;
  const RwyRecord& w = loaded_rwy_table[k];
  add_module_message(std::string("APP") + w.ident + "-" + w.app + " Set");
}

}  // namespace

void text_cdu_fpln_page_draw(const TextCduPage& p) {
  text(p, p.heading, p.cyan, 0, 0, "FPLN:");
  if (text_cdu_rescan == 1) list_plan_files();
  // Plans 1..n are listed; the last stored entry is the new-plan entry.
  const int32_t n = std::min(stored_plan_count, STORED_PLAN_CAPACITY - 1) - 1;
  int32_t& row = text_cdu_fpln_row;
  int32_t& top = text_cdu_fpln_top;
  mcu_scroll_list(row, top, n, TEXT_CDU_ROWS, keys(true));
  cursor_box(p, 105, box_y(row));
  const int32_t plan = top + row - 1;
  if (text_cdu_enter == 1 && plan >= 1 && plan <= n) {
    if (stored_plan_sel != row) {
      // The MCU's list follows.
      stored_plan_sel = row;
      mcu_fpln_top = top;
      mcu_fpln_loaded_row = row;
    }
    plan_load_name = stored_plans[plan].name;
    plan_load_request = 3;
  }
  for (int32_t r = 1; r <= TEXT_CDU_ROWS; ++r) {
    const int32_t k = top + r - 1;
    if (k < 1 || k > n) continue;
    text(p, p.row, r == stored_plan_sel ? p.yellow : p.cyan, 0, row_y(r),
         std::string(stored_plans[k].name).substr(0, plan_name_chars));
  }
  entry_line(p);
}

void text_cdu_apt_page_draw(const TextCduPage& p) {
  if (text_cdu_enter == 1 && !text_cdu_scratchpad.empty()) look_up_airport();
  // The MCU's own load is that unit's to show.
  if (mcu_plan_loaded == 1) return;
  const int n = runway_count();
  if (n == 0) {
    text(p, p.heading, p.cyan, 0, 0, "APT:");
  } else {
    draw_textf(p.g, p.heading, p.cyan, 0, 0, DRAW_TEXT_MAX, "APT: %-4s - Elev:%s", plan_apt_ident.substr(0, 6).c_str(),
               loaded_apt_elev_text.substr(0, 6).c_str());
  }
  scroll_runways(n);
  for (int32_t r = 1; r <= TEXT_CDU_ROWS; ++r) {
    const int k = loaded_rwy_base + r - 1;
    if (k < 1 || k > n) continue;
    text(p, p.row, r == loaded_rwy_index ? p.yellow : p.cyan, 0, row_y(r), mcu_runway_row_text(loaded_rwy_table[k]));
  }
  text_cdu_apt_box_y = box_y(sel_rwy_row_cdu);
  cursor_box(p, 25, text_cdu_apt_box_y);
  if (text_cdu_enter == 1) select_runway(n);
  entry_line(p);
}

void text_cdu_perf_page_draw(const TextCduPage& p) {
  text(p, p.heading, p.cyan, 0, 0, "PERF:");
  // Before the log starts (-99) the flight time reads zero.
  const double raw = std::isfinite(elapsed_seconds) ? std::clamp(elapsed_seconds, 0.0, 3.6e8) : 0.0;
  const int32_t s = static_cast<int32_t>(raw);
  draw_textf(p.g, p.row, p.cyan, 0, 22, DRAW_TEXT_MAX, "Flt Time: %02d:%02d:%02d (%6.0f)", s / 3600, s % 3600 / 60,
             s % 60, raw);
  text(p, p.row, p.cyan, 0, 92, "> ");
}

void text_cdu_msg_page_draw(const TextCduPage& p) {
  const int32_t n = std::clamp(module_message_count, 0, module_message_limit);
  draw_textf(p.g, p.heading, p.cyan, 0, 0, DRAW_TEXT_MAX, "MSG: (%d)", n);
  mcu_scroll_list(text_cdu_msg_row, text_cdu_msg_top, n, TEXT_CDU_ROWS, keys(false));
  for (int32_t r = 1; r <= TEXT_CDU_ROWS; ++r) {
    const int32_t k = text_cdu_msg_top + r - 1;
    if (k < 1 || k > n) continue;
    draw_textf(p.g, p.row, p.cyan, 0, row_y(r), DRAW_TEXT_MAX, "%2d %s", k,
               module_messages[k].substr(0, message_chars).c_str());
  }
  text_cdu_msg_box_y = box_y(text_cdu_msg_row);
  if (text_cdu_msg_box_y >= 1)
    draw_line_d(p.g, p.cyan_pen, 0, text_cdu_msg_box_y + 10, 25, text_cdu_msg_box_y + 10);
  text_cdu_msg_sel = text_cdu_msg_row;
}
