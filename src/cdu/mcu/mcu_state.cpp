// The MCU's shared state.
#include "cdu/mcu/mcu_state.h"

int32_t mcu_page = MCU_PAGE_NAV;
int32_t mcu_enter = 0;
int32_t mcu_prev = 0, mcu_next = 0;
int32_t mcu_page_up = 0, mcu_page_down = 0;
int32_t mcu_arrow = 0;
int32_t mcu_fpln_rescan = 0;
int32_t mcu_digit_sel = 0;
std::string mcu_scratchpad;
std::string mcu_legs_entry;
std::string mcu_dirto_entry;
int32_t mcu_aptinfo_subpage = 1;
int32_t mcu_legs_alt_mode = 0;
int32_t mcu_legs_cross_alt = 0;
int32_t mcu_legs_index = 2;
double mcu_new_alt = 0.0;
int32_t mcu_dirto_sel = 0;
int32_t mcu_plan_loaded = 0;

int32_t mcu_fpln_row = 1;
int32_t mcu_fpln_top = 1;
int32_t mcu_fpln_loaded_row = 0;
int32_t mcu_fpln_box_y = 13;
int32_t text_cdu_fpln_top = 1;

std::string aptinfo_ident, aptinfo_elev;
int32_t mcu_aptinfo_row = 1;
int32_t mcu_aptinfo_top = 1;
int32_t mcu_aptinfo_box_y = 13;
int32_t mcu_aptinfo_sel_row = 0;
int32_t sel_rwy_row_cdu = 0;
int32_t sel_rwy_changed = 0;

int32_t kbd_entry_target = 0;
int32_t text_cdu_enter = 0, text_cdu_up = 0, text_cdu_down = 0, text_cdu_page_up = 0, text_cdu_page_down = 0;
uint8_t kbd_prev_state[256] = {};

void mcu_plan_load_done(const std::string& airport_ident) {
  mcu_scratchpad = airport_ident;
  mcu_enter = 1;
  mcu_plan_loaded = 1;
}
