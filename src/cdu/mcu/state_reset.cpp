// Puts the MCU and text CDU's globals back to their load-time values.
#include "cdu/mcu/state_reset.h"

#include "cdu/mcu/mcu.h"
#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "cdu/mcu/text_cdu.h"
#include "cdu/mcu/text_cdu_pages.h"
#include "module/load_state.h"

void reset_mcu_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // mcu_keys.cpp
    
    // mcu_state.cpp
    s.keep(mcu_page, mcu_enter, mcu_prev, mcu_next, mcu_page_up, mcu_page_down, mcu_arrow, mcu_fpln_rescan,
           mcu_digit_sel, mcu_scratchpad, mcu_legs_entry, mcu_dirto_entry, mcu_aptinfo_subpage, mcu_legs_alt_mode,
           mcu_legs_cross_alt, mcu_legs_index, mcu_new_alt, mcu_dirto_sel, mcu_plan_loaded, mcu_fpln_row,
           mcu_fpln_top, mcu_fpln_loaded_row, mcu_fpln_box_y, text_cdu_fpln_top, aptinfo_ident, aptinfo_elev,
           mcu_aptinfo_row, mcu_aptinfo_top, mcu_aptinfo_box_y, mcu_aptinfo_sel_row, sel_rwy_row_cdu,
           sel_rwy_changed, kbd_entry_target, text_cdu_enter, text_cdu_up, text_cdu_down, text_cdu_page_up,
           text_cdu_page_down, kbd_prev_state);
    // text_cdu_draw.cpp
    s.keep(text_cdu_page, text_cdu_rescan, text_cdu_fpln_row, text_cdu_apt_box_y, text_cdu_msg_row,
           text_cdu_msg_top, text_cdu_msg_sel, text_cdu_msg_box_y);
  });
}

