// Entry state of the unit, its start state and the reset of the line-key states.
#include "cdu/gnsxls/gnsxls.h"

#include "flightplan/flight_plan.h"

int32_t gnsxls_list_mode = 2;
int32_t gnsxls_plan_selected = 0;
int32_t gnsxls_pending_lsk = 0;
int32_t gnsxls_queued_lsk = 0;
int32_t gnsxls_lsk_state[11] = {};
int32_t gnsxls_return_page = 1;
int32_t gnsxls_enter_pressed = 0, gnsxls_clr_pressed = 0, gnsxls_direct_pressed = 0;
int32_t gnsxls_direct_armed = 0;
std::string gnsxls_answer = "NO";
std::string gnsxls_turn_field = "DEFAULT";
int32_t gnsxls_fpl_column = 1;
int32_t gnsxls_fpl_column_saved = 1;
int32_t gnsxls_delete_request = 0;
int32_t gnsxls_edit_row = 0;
int32_t gnsxls_l4_row_index = 0;
int32_t gnsxls_plan_number = 0;
std::string gnsxls_save_name;
std::string gnsxls_new_wpt_name;
int32_t gnsxls_save_failed = 0;
int32_t gnsxls_load_failed = 0;

int32_t gnsxls_active_fpl_page = 1, gnsxls_active_fpl_pages = 1;
int32_t gnsxls_plan_list_page = 1;
int32_t gnsxls_plan_row_page = 1, gnsxls_plan_row_pages = 1;
int32_t gnsxls_nav_subpage = 1;
int32_t gnsxls_vnav_subpage = 1, gnsxls_vnav_subpages = 1;
int32_t gnsxls_plan_subpage = 1;
int32_t gnsxls_direct_choice = 1, gnsxls_direct_count = 1;
int32_t gnsxls_dep_choice = 1, gnsxls_dep_count = 1;
int32_t gnsxls_star_choice = 1, gnsxls_star_count = 1;
int32_t gnsxls_appr_choice = 1;
int32_t gnsxls_airway_count = 1;
int32_t gnsxls_wpt_shown = 1;
int32_t gnsxls_offset_choice = 1;
std::string gnsxls_offset_ref;

int32_t gnsxls_proc_chosen[3] = {};
int32_t proc_list_cursor = 0;
int32_t airport_not_found = 0;

std::string hold_course_entry = "   ", hold_time_entry = " . ", hold_dist_entry = "  . ";
int32_t hold_turn_choice = 1, hold_exit_choice = 1;

std::string gnsxls_offset_radial = "-----", gnsxls_offset_dist = "------";
std::string gnsxls_offset_lat_text = "----------", gnsxls_offset_lon_text = "----------";
std::string gnsxls_pos_lat_text = "----------", gnsxls_pos_lon_text = "----------";
double gnsxls_pos_lat = 0.0, gnsxls_pos_lon = 0.0;

void (*gnsxls_plan_activated_hook)() = nullptr;

void reset_cdu_entry_state() {
  for (int32_t& s : gnsxls_lsk_state) s = 0;
  proc_list_cursor = 0;
}

void gnsxls_start_state(bool lm) {
  gnsxls_page = GNSXLS_PAGE_FPL;
  gnsxls_list_mode = 2;
  gnsxls_active_fpl_page = 1;
  gnsxls_plan_list_page = 1;
  if (!lm) gnsxls_plan_selected = 0;
}
