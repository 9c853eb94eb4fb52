// Entry state of the unit, its start state and the reset of the line-key states.
#include "cdu/gnsxls/gnsxls.h"

#include "flightplan/flight_plan.h"

int32_t gnsxls_list_mode;
int32_t gnsxls_plan_selected;
int32_t gnsxls_pending_lsk;
int32_t gnsxls_queued_lsk;
int32_t gnsxls_lsk_state[11];
int32_t gnsxls_return_page;
int32_t gnsxls_enter_pressed, gnsxls_clr_pressed, gnsxls_direct_pressed;
int32_t gnsxls_direct_armed;
std::string gnsxls_answer;
std::string gnsxls_turn_field;
int32_t gnsxls_fpl_column;
int32_t gnsxls_fpl_column_saved;
int32_t gnsxls_delete_request;
int32_t gnsxls_edit_row;
int32_t gnsxls_l4_row_index;
int32_t gnsxls_plan_number;
std::string gnsxls_save_name;
std::string gnsxls_new_wpt_name;
int32_t gnsxls_save_failed;
int32_t gnsxls_load_failed;
std::string gnsxls_message;

int32_t gnsxls_active_fpl_page, gnsxls_active_fpl_pages;
int32_t gnsxls_plan_list_page;
int32_t gnsxls_plan_row_page, gnsxls_plan_row_pages;
int32_t gnsxls_nav_subpage;
int32_t gnsxls_nav_auto_man;
int32_t gnsxls_vnav_subpage, gnsxls_vnav_subpages;
int32_t gnsxls_plan_subpage;
int32_t gnsxls_direct_choice, gnsxls_direct_count;
int32_t gnsxls_dep_choice, gnsxls_dep_count;
int32_t gnsxls_star_choice, gnsxls_star_count;
int32_t gnsxls_appr_choice;
int32_t gnsxls_airway_count;
int32_t gnsxls_wpt_shown;
int32_t gnsxls_offset_choice;
std::string gnsxls_offset_ref;

int32_t gnsxls_proc_chosen[3];
int32_t proc_list_cursor;
int32_t airport_not_found;

std::string hold_course_entry, hold_time_entry, hold_dist_entry;
int32_t hold_turn_choice, hold_exit_choice;
int32_t hold_entry_fresh;

std::string gnsxls_offset_radial, gnsxls_offset_dist;
std::string gnsxls_offset_lat_text, gnsxls_offset_lon_text;
std::string gnsxls_pos_lat_text, gnsxls_pos_lon_text;
double gnsxls_pos_lat, gnsxls_pos_lon;
int32_t gnsxls_pos_field;
std::string gnsxls_offset_radial_edit, gnsxls_offset_dist_edit;
int32_t gnsxls_offset_fresh;
double gnsxls_offset_lat, gnsxls_offset_lon;

int32_t gnsxls_dir_closest_arp;
ClosestAirport closest_airports[11];

void (*gnsxls_plan_activated_hook)() = nullptr;

void reset_cdu_entry_state() {
  for (int32_t& s : gnsxls_lsk_state) s = 0;
  proc_list_cursor = 0;
}

void gnsxls_reset_state() {
  gnsxls_page = GNSXLS_PAGE_FPL;
  gnsxls_prompt_open = 0;
  gnsxls_clear_on_key = 1;
  gnsxls_list_mode = 2;
  gnsxls_plan_selected = 0;
  gnsxls_pending_lsk = gnsxls_queued_lsk = 0;
  reset_cdu_entry_state();
  gnsxls_return_page = 1;
  gnsxls_enter_pressed = gnsxls_clr_pressed = gnsxls_direct_pressed = 0;
  gnsxls_direct_armed = 0;
  gnsxls_answer = "NO";
  gnsxls_turn_field = "DEFAULT";
  gnsxls_fpl_column = gnsxls_fpl_column_saved = 1;
  gnsxls_delete_request = 0;
  gnsxls_edit_row = gnsxls_l4_row_index = 0;
  gnsxls_plan_number = 0;
  gnsxls_save_name.clear();
  gnsxls_new_wpt_name.clear();
  gnsxls_save_failed = gnsxls_load_failed = 0;
  gnsxls_message.clear();

  gnsxls_active_fpl_page = gnsxls_active_fpl_pages = 1;
  gnsxls_plan_list_page = 1;
  gnsxls_plan_row_page = gnsxls_plan_row_pages = 1;
  gnsxls_nav_subpage = 1;
  gnsxls_nav_auto_man = 0;
  gnsxls_vnav_subpage = gnsxls_vnav_subpages = 1;
  gnsxls_plan_subpage = 1;
  gnsxls_direct_choice = gnsxls_direct_count = 1;
  gnsxls_dep_choice = gnsxls_dep_count = 1;
  gnsxls_star_choice = gnsxls_star_count = 1;
  gnsxls_appr_choice = 1;
  gnsxls_airway_count = 1;
  gnsxls_wpt_shown = 1;
  gnsxls_offset_choice = 1;
  gnsxls_offset_ref.clear();

  for (int32_t& c : gnsxls_proc_chosen) c = 0;
  airport_not_found = 0;

  hold_course_entry = "   ";
  hold_time_entry = " . ";
  hold_dist_entry = "  . ";
  hold_turn_choice = hold_exit_choice = 1;
  hold_entry_fresh = 0;

  gnsxls_offset_radial = gnsxls_offset_radial_edit = "-----";
  gnsxls_offset_dist = gnsxls_offset_dist_edit = "------";
  gnsxls_offset_lat_text = gnsxls_offset_lon_text = "----------";
  gnsxls_pos_lat_text = gnsxls_pos_lon_text = "----------";
  gnsxls_pos_lat = gnsxls_pos_lon = 0.0;
  gnsxls_pos_field = 0;
  gnsxls_offset_fresh = 0;
  gnsxls_offset_lat = gnsxls_offset_lon = 0.0;

  gnsxls_dir_closest_arp = 1;
  for (ClosestAirport& a : closest_airports) a = ClosestAirport{};
}

namespace {
// The start values from the library's load on (the shared scratchpad's text is set by the
// settings load).
[[maybe_unused]] const bool started = (gnsxls_reset_state(), true);
}  // namespace

void gnsxls_start_state(bool lm) {
  if (!lm) {
    gnsxls_reset_state();
    return;
  }
  gnsxls_page = GNSXLS_PAGE_FPL;
  gnsxls_list_mode = 2;
  gnsxls_active_fpl_page = 1;
  gnsxls_plan_list_page = 1;
}
