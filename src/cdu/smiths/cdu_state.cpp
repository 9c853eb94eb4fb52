// CDU state shared by both gauges and the end of the one-shot key flags.
#include "cdu/smiths/smiths_cdu.h"

#include "flightplan/procedures.h"

int32_t smiths_page = 0;
int32_t smiths_pending_lsk = 0;
std::string smiths_scratchpad;
std::string smiths_scratchpad_msg;

int32_t smiths_prev_page_key = 0, smiths_next_page_key = 0;
int32_t smiths_rte_key_flag = 0, smiths_legs_key_flag = 0, smiths_hold_key_flag = 0;

int32_t smiths_perf_page_no = 1, smiths_rte_page_no = 1, smiths_progress_page_no = 1;
int32_t smiths_navstat_page_no = 1;
int32_t smiths_legs_page_no = 1, smiths_fix_page_no = 1, smiths_hold_page_no = 1, smiths_pos_page_no = 1;
int32_t smiths_hold_page_count = 0;

int32_t smiths_legs_mode = 0;
int32_t smiths_dir_intc_index = 0;
int32_t smiths_hold_at_index = 0;

int32_t smiths_legs_page_count = 1;
int32_t select_wpt_row = 0, select_wpt_return_page = 0;
int32_t smiths_hold_select_entry = 0;

int32_t smiths_rte_page_count = 2;

int32_t smiths_plans_page_no = 1, smiths_plans_page_count = 1;

int32_t smiths_dep_page_no = 1, smiths_dep_page_count = 1;
int32_t smiths_dep_sid_state = 0;
int32_t smiths_dep_trans_chosen = 0, smiths_dep_rwy_chosen = 0;
int32_t dep_rwy_index = 0;

int32_t smiths_arr_page_no = 1, smiths_arr_page_count = 1;
int32_t smiths_arr_star_state = 0;
int32_t smiths_arr_trans_chosen = 0, smiths_arr_appr_chosen = 0, smiths_arr_appr_trans_chosen = 0;
int32_t smiths_arr_appr_trans_index = 0;
int32_t smiths_arr_rwy_chosen = 0, arr_rwy_index = 0;

void clear_cdu_key_flags() {
  if (smiths_pending_lsk > 0) smiths_pending_lsk = 0;
  if (smiths_prev_page_key == 1) smiths_prev_page_key = 0;
  if (smiths_next_page_key == 1) smiths_next_page_key = 0;
  if (smiths_legs_key_flag == 1) smiths_legs_key_flag = 0;
  if (smiths_hold_key_flag == 1) smiths_hold_key_flag = 0;
  if (smiths_rte_key_flag == 1) smiths_rte_key_flag = 0;
}

void smiths_reset_dep_selection() {
  smiths_dep_page_no = 1;
  smiths_dep_sid_state = 0;
  smiths_dep_trans_chosen = 0;
  smiths_dep_rwy_chosen = 0;
  dep_rwy_index = 0;
  pending_sid = "------";
  pending_sid_trans = "------";
  pending_sid_index = 0;
  route_dep_rwy = "------";
}

void smiths_reset_arr_selection() {
  smiths_arr_page_no = 1;
  smiths_arr_star_state = 0;
  smiths_arr_trans_chosen = 0;
  smiths_arr_appr_chosen = 0;
  smiths_arr_appr_trans_chosen = 0;
  smiths_arr_appr_trans_index = 0;
  smiths_arr_rwy_chosen = 0;
  arr_rwy_index = 0;
  pending_star = "------";
  pending_star_trans = "------";
  pending_star_index = 0;
  pending_appr_type = "------";
  pending_appr_trans = "------";
  pending_arr_rwy = "------";
  route_arr_rwy = "------";
  arr_appr_index = 0;
}
