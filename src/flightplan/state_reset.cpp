// Puts the flight-plan layer's globals back to their load-time values.
#include "flightplan/state_reset.h"

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_import.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "flightplan/procedures.h"
#include "flightplan/route_entry.h"
#include "flightplan/route_progress.h"
#include "module/load_state.h"

void reset_flightplan_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // flight_plan.cpp
    s.keep(fpl_active, fpl_active_index, fpl_active_last, fpl_edit, fpl_edit_last, fpl_edit_index,
           fpl_edit_active_rec, fpl_scan, fpl_scan_last, fpl_active_dest_index, fpl_edit_dest_index,
           fpl_changed_state, cruise_alt, cruise_alt_prev, plan_cruise_alt, plan_fuel, hold_list, hold_count,
           holding_active, holds_changed, hold_fpl_index, hold_delete_index, fix_info, stored_plan_count,
           stored_plan_sel, gnsxls_plan_list_pages);
    // cruise_levels.cpp
    s.keep(fpl_highest_cruise_hook);
    // fpl_ops.cpp
    s.keep(route_origin, route_origin_mod, route_dest, route_dest_mod, route_runway, route_runway_mod, route_sid,
           route_sid_trans, route_dep_sel, route_arr_sel_1, route_arr_sel_2, route_co_route, dep_arr_flags,
           dto_active, dto_origin_lat, dto_origin_lon, dto_course, intc_crs_pending, intc_target_wpt,
           route_entry_text, route_origin_text, route_dest_text, route_sid_text, route_sid_trans_text,
           route_dep_runway_text, route_star_text, route_star_trans_text, route_arr_runway_text,
           route_appr_type_text, route_appr_trans_text, edit_origin_text, edit_dest_text, edit_sid_text,
           edit_sid_trans_text, edit_dep_runway_text, edit_star_text, edit_star_trans_text, edit_arr_runway_text,
           edit_appr_type_text, edit_appr_trans_text, text_cdu_auto_apt, fpl_no_from_wpt, airway_insert_mode,
           rte_rows, rte_row_count);
    s.keep(fpl_first_change_hook, fpl_plan_activated_hook, fpl_mods_erased_hook, fpl_hold_added_hook,
           fpl_hold_removed_hook, fpl_discontinuity_made_hook);
    // plan_files.cpp
    s.keep(fpl_message, plan_loader_flag, FlightPlansFolder, SaveFPLCruiseAlt, LoadFuelonFlightPlanLoad,
           plan_load_request, plan_load_name, plan_loaded_airport_ident, refused_plan_names);
    // procedures.cpp
    s.keep(dep_sid_list, dep_sid_count, dep_trans_list, dep_trans_count, dep_rwy_list, dep_rwy_count,
           arr_star_list, arr_star_count, arr_trans_list, arr_trans_count, arr_appr_list, arr_appr_count,
           arr_appr_trans_list, arr_appr_trans_count, arr_rwy_list, arr_rwy_count, arr_appr_index, pending_sid,
           pending_sid_trans, route_dep_rwy, pending_star, pending_star_trans, pending_arr_rwy, pending_appr_type,
           pending_appr_trans, pending_sid_index, pending_star_index, route_arr_rwy, dep_airport_text,
           arr_airport_text, sid_block_index, star_block_index, dep_insert_row, arr_insert_row, proc_preview,
           proc_preview_count);
    // route_progress.cpp
    s.keep(route_total_dist, route_distance_to_go, direct_dist_to_dest, dist_to_active_wpt, bearing_to_active_wpt,
           vnav_wpt_index, tod_route_dist, tod_dist_to_dest, vdev_gate_dist_1, vdev_gate_dist_2,
           vnav_path_altitude, vnav_path_top_alt, vnav_path_gradient, climb_target_lat, climb_target_lon, tke_deg,
           xtk_nm, drift_deg, tke_side, xtk_side, drift_side, desired_track);
    keep_user_waypoints_state(s);
  });
}

