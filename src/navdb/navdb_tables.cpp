#include "navdb/navdb.h"

#include <cstring>

NavRecord nav_airports[nav_airport_slots];
int nav_airport_count = 0;
NavRecord nav_navaids[nav_navaid_slots];
int nav_navaid_count = 0;
NavRecord nav_intersections[nav_intersection_slots];
int nav_intersection_count = 0;
NavRecord nav_airway_fixes[nav_airway_fix_slots];
int nav_airway_fix_count = 0;
RwyRecord nav_runways[nav_runway_slots];
int nav_runway_count = 0;
AirwayBreak nav_airway_breaks[nav_airway_break_slots];
int nav_airway_break_count = 0;
ProcHeader nav_procs[nav_proc_slots];
int nav_proc_count = 0;
ProcLeg nav_proc_legs[nav_proc_leg_slots];
int nav_proc_leg_count = 0;

AtcBoundary atc_boundaries[atc_boundary_slots];
int atc_boundary_count = 0;
NavPoint atc_boundary_points[atc_point_slots];
int atc_boundary_point_count = 0;
int atc_boundaries_loaded = 0;

AptInfo apt_infos[apt_info_slots];
int apt_info_count = 0;

AptBlock apt_blocks[apt_block_slots];
int origin_runway_index = 0;
int dest_runway_index = 0;

RwyRecord loaded_rwy_table[apt_rwy_limit + 1];
int loaded_rwy_count = 0;
int loaded_rwy_base = 0;
int loaded_rwy_index = -999;
std::string loaded_apt_elev_text;
std::string plan_apt_ident;
std::string dest_info_loaded_1;
std::string dest_info_loaded_2;
std::string dest_info_text_1;
std::string dest_info_text_2;

NavRecord nav_search_list[nav_search_slots];
int nav_search_count = 0;
int fix_match_count = 0;
NavRecord nav_lists_21a[21];

std::string airway_name;
int airway_start_index = 0;
int airway_end_index = 0;
int gnsxls_airway_line = 0;
int gnsxls_airway_choice = 0;

std::string refnav_runway_data;

NavRecord near_airports_wide[near_wide_slots];
int near_airports_wide_count = 0;
NavRecord near_airports[near_close_slots];
int near_airports_count = 0;
NavRecord near_navaids_wide[near_wide_slots];
int near_navaids_wide_count = 0;
NavRecord near_navaids[near_close_slots];
int near_navaids_count = 0;
NavRecord near_airway_fixes_wide[near_airway_fix_wide_slots];
int near_airway_fixes_wide_count = 0;
NavRecord near_airway_fixes[near_airway_fix_slots];
int near_airway_fixes_count = 0;

NavPoint near_airports_wide_centre = {-999.0, -999.0};
NavPoint near_airports_centre = {-999.0, -999.0};
NavPoint near_navaids_wide_centre = {-999.0, -999.0};
NavPoint near_navaids_centre = {-999.0, -999.0};
NavPoint near_airway_fixes_wide_centre = {-999.0, -999.0};
NavPoint near_airway_fixes_centre = {-999.0, -999.0};

int navdb_loaded = 0;
int nav_lines_skipped = 0;
int nav_records_dropped = 0;

void nav_copy_text(char* dst, int size, const char* src) {
  if (size <= 0) return;
  size_t n = src ? strnlen(src, static_cast<size_t>(size - 1)) : 0;
  if (n > 0) std::memcpy(dst, src, n);
  dst[n] = '\0';
}

namespace {

int add_name(char (*list)[proc_name_size], int& count, int limit, const char* name) {
  for (int i = 1; i <= count; ++i) {
    if (std::strncmp(list[i], name, proc_name_size - 1) == 0) return 0;
  }
  if (count >= limit) return 0;
  ++count;
  nav_copy_text(list[count], proc_name_size, name);
  return 1;
}

}  // namespace

int apt_block_add_rwy_name(AptBlock& block, const char* name) {
  for (int i = 1; i <= block.rwy_name_count; ++i) {
    if (std::strncmp(block.rwy_names[i], name, rwy_ident_size - 1) == 0) return 0;
  }
  if (block.rwy_name_count >= apt_rwy_name_limit) return 0;
  ++block.rwy_name_count;
  nav_copy_text(block.rwy_names[block.rwy_name_count], rwy_ident_size, name);
  return 1;
}

int apt_block_add_proc_name(AptBlock& block, const char* name) {
  return add_name(block.proc_names, block.proc_name_count, apt_proc_name_limit, name);
}

int apt_block_add_trans_name(AptBlock& block, const char* name) {
  return add_name(block.trans_names, block.trans_count, apt_trans_limit, name);
}
