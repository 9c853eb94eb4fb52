// Puts the navigation database's globals back to their load-time values.
#include "navdb/state_reset.h"

#include "module/load_state.h"
#include "navdb/navdb.h"
#include "navdb/navdb_index.h"
#include "navdb/navdb_load.h"
#include "navdb/navdb_text.h"

void reset_navdb_state() {
  // The large tables are read only up to their counts.
  clear_navigation_database();
  static LoadState state;
  state.restore([](LoadState& s) {
    // navdb_load.cpp
    s.keep(nav_airport_index, nav_navaid_index, nav_intersection_index, nav_airway_index, apt_info_index);
    // navdb_near.cpp
    s.keep(nav_lists_21b);
    // navdb_tables.cpp
    s.keep(nav_airport_count, nav_navaid_count, nav_intersection_count, nav_airway_fix_count, nav_runway_count,
           nav_airway_break_count, nav_proc_count, nav_proc_leg_count, atc_boundaries, atc_boundary_count,
           atc_boundary_point_count, atc_boundaries_loaded, apt_info_count, origin_runway_index,
           dest_runway_index, loaded_rwy_table, loaded_rwy_count, loaded_rwy_base, loaded_rwy_index,
           loaded_apt_elev_text, plan_apt_ident, dest_info_loaded_1, dest_info_loaded_2, dest_info_text_1,
           dest_info_text_2, nav_search_list, nav_search_count, fix_match_count, nav_lists_21a, airway_name,
           airway_start_index, airway_end_index, gnsxls_airway_line, gnsxls_airway_choice, refnav_runway_data,
           near_airports_wide_count, near_airports, near_airports_count, near_navaids_wide_count, near_navaids,
           near_navaids_count, near_airway_fixes_wide_count, near_airway_fixes_count, near_airports_wide_centre,
           near_airports_centre, near_navaids_wide_centre, near_navaids_centre, near_airway_fixes_wide_centre,
           near_airway_fixes_centre, navdb_loaded, nav_lines_skipped, nav_records_dropped);
    keep_navdb_lookup_state(s);
  });
}

