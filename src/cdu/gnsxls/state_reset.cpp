// Puts the GNS-XLS unit's globals back to their load-time values.
#include "cdu/gnsxls/state_reset.h"

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "cdu/gnsxls/plan_rows.h"
#include "module/load_state.h"

void reset_gnsxls_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // enter_direct.cpp
    s.keep(gnsxls_dir_closest_arp, closest_airports, gnsxls_pos_field, gnsxls_offset_radial_edit,
           gnsxls_offset_dist_edit, gnsxls_offset_lat, gnsxls_offset_lon);
    // gnsxls_hold_page.cpp
    s.keep(hold_entry_fresh);
    // gnsxls_state.cpp
    s.keep(gnsxls_message);
    s.keep(gnsxls_list_mode, gnsxls_plan_selected, gnsxls_pending_lsk, gnsxls_queued_lsk, gnsxls_lsk_state,
           gnsxls_return_page, gnsxls_enter_pressed, gnsxls_clr_pressed, gnsxls_direct_pressed,
           gnsxls_direct_armed, gnsxls_answer, gnsxls_turn_field, gnsxls_fpl_column, gnsxls_fpl_column_saved,
           gnsxls_delete_request, gnsxls_edit_row, gnsxls_l4_row_index, gnsxls_plan_number, gnsxls_save_name,
           gnsxls_new_wpt_name, gnsxls_save_failed, gnsxls_load_failed, gnsxls_active_fpl_page,
           gnsxls_active_fpl_pages, gnsxls_plan_list_page, gnsxls_plan_row_page, gnsxls_plan_row_pages,
           gnsxls_nav_subpage, gnsxls_vnav_subpage, gnsxls_vnav_subpages, gnsxls_plan_subpage,
           gnsxls_direct_choice, gnsxls_direct_count, gnsxls_dep_choice, gnsxls_dep_count, gnsxls_star_choice,
           gnsxls_star_count, gnsxls_appr_choice, gnsxls_airway_count, gnsxls_wpt_shown, gnsxls_offset_choice,
           gnsxls_offset_ref, gnsxls_proc_chosen, proc_list_cursor, airport_not_found, hold_course_entry,
           hold_time_entry, hold_dist_entry, hold_turn_choice, hold_exit_choice, gnsxls_offset_radial,
           gnsxls_offset_dist, gnsxls_offset_lat_text, gnsxls_offset_lon_text, gnsxls_pos_lat_text,
           gnsxls_pos_lon_text, gnsxls_pos_lat, gnsxls_pos_lon);
    // gnsxls_waypoint_pages.cpp
    s.keep(gnsxls_offset_fresh);
    // keypad.cpp
    s.keep(gnsxls_nav_auto_man);
    s.keep(gnsxls_plan_activated_hook);
    keep_procedure_pages_state(s);
  });
}

