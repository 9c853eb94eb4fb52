// Puts the Smiths CDU's globals back to their load-time values.
#include "cdu/smiths/state_reset.h"

#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/refnav_select.h"
#include "cdu/smiths/route_fields.h"
#include "cdu/smiths/smiths_cdu.h"
#include "module/load_state.h"

void reset_smiths_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // cdu_state.cpp
    s.keep(smiths_navstat_page_no);
    s.keep(smiths_page, smiths_pending_lsk, smiths_scratchpad, smiths_scratchpad_msg, smiths_prev_page_key,
           smiths_next_page_key, smiths_rte_key_flag, smiths_legs_key_flag, smiths_hold_key_flag,
           smiths_perf_page_no, smiths_rte_page_no, smiths_progress_page_no, smiths_legs_page_no,
           smiths_fix_page_no, smiths_hold_page_no, smiths_pos_page_no, smiths_hold_page_count, smiths_legs_mode,
           smiths_dir_intc_index, smiths_hold_at_index, smiths_legs_page_count, select_wpt_row,
           select_wpt_return_page, smiths_hold_select_entry, smiths_rte_page_count, smiths_plans_page_no,
           smiths_plans_page_count, smiths_dep_page_no, smiths_dep_page_count, smiths_dep_sid_state,
           smiths_dep_trans_chosen, smiths_dep_rwy_chosen, dep_rwy_index, smiths_arr_page_no,
           smiths_arr_page_count, smiths_arr_star_state, smiths_arr_trans_chosen, smiths_arr_appr_chosen,
           smiths_arr_appr_trans_chosen, smiths_arr_appr_trans_index, smiths_arr_rwy_chosen, arr_rwy_index);
    // keypad.cpp
    
    // refnav_select.cpp
    s.keep(smiths_refnav_mode, refnav_ident, refnav_lat, refnav_lon, refnav_type, refnav_freq, refnav_extra,
           refnav_runway);
    // scratchpad_editor.cpp
    s.keep(gnsxls_page, gnsxls_scratchpad, gnsxls_prompt_open, gnsxls_clear_on_key);
    // select_waypoint_page.cpp
    s.keep(smiths_select_page_no, smiths_select_page_count);
  });
}

