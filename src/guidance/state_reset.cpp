// Puts the guidance layer's globals back to their load-time values.
#include "guidance/state_reset.h"

#include "guidance/aircraft_file.h"
#include "guidance/config_line.h"
#include "guidance/cost_index_targets.h"
#include "guidance/eta_clock.h"
#include "guidance/flight_envelope.h"
#include "guidance/flight_log.h"
#include "guidance/fms_snapshot.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/hold_legs.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/performance_tables.h"
#include "guidance/settings.h"
#include "guidance/settings_file.h"
#include "guidance/speed_conversions.h"
#include "guidance/toc_tod.h"
#include "guidance/waypoint_sequencing.h"
#include "module/load_state.h"

void reset_guidance_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // cost_index_targets.cpp
    s.keep(climb_ias_from_ci, cruise_ias_from_ci, descent_ias_from_ci);
    // flight_log.cpp
    s.keep(flight_phase, log_last_row_time, log_last_row_alt, log_last_row_vs, takeoff_time_text,
           takeoff_time_copy, landing_time_text, takeoff_hour, takeoff_minute, zero_fuel_weight, payload_weight,
           log_start_fuel, log_initial_load_done, log_settings_loaded, phase10_entry_time);
    // fms_snapshot.cpp
    s.keep(srv_active_index, srv_plan_last, srv_dist_to_active, srv_desired_track, srv_bearing_to_active,
           srv_xtk_dir, srv_xtk_dist, srv_lnav_on, srv_vnav_on, srv_active);
    // fms_state.cpp
    s.keep(sim_tick, sim_tick_prev, fms_frame, fms_frame_count, update_warmup, hdg_change_timer,
           hdg_change_countdown, clock_second_live, fms_last_second, elapsed_seconds, sim_rate, mcu_new_second,
           seconds_counter_on, seconds_counter, ground_speed_copy, indicated_airspeed, indicated_altitude,
           indicated_altitude_prev, heading, heading_prev, map_heading, adi_token77, adi_token77_prev,
           adi_token80, adi_token80_prev, adi_token793, adi_token793_prev, adi_token794, adi_token794_prev,
           ap_heading, ap_heading_prev, eng_fuel_used, eng_limit_time_a, eng_limit_time_egt, clock_hour,
           clock_minute, clock_second, zulu_hour, zulu_minute, display_power, token792, token341,
           ap_vertical_speed, token106_int, nav_gps_switch, token114, autothrottle_arm, baro_hpa, baro_hpa_prev,
           baro_inhg, nav_flag46, token113, token112, ap_mach_hold, nav_token41, nav_token41_prev, adf1_bearing,
           nav_token39, nav_obs_token25, nav_rel_bearing, nav_obs_token28, nav_token59, nav_token354, nav_token22,
           dme1_distance, dme2_distance, nav_token35, true_airspeed, true_airspeed_prev, vertical_speed,
           vertical_speed_prev, ap_altitude, ap_altitude_prev, ap_airspeed_hold, mach, mach_prev, wind_speed,
           wind_speed_copy, wind_dir_rad, map_heading_rad, wind_along, wind_cross, drift_angle, wind_direction,
           ap_vs_hold, ap_vs_hold_prev, ap_airspeed, ap_airspeed_prev, token118, radio_altitude, radio_spare,
           nav1_course, nav_token40, ap_token103, dist_to_active_wpt_prev, desired_track_prev, dest_bearing,
           leg_length, next_leg_course, active_wpt_lat, active_wpt_lon, ground_track, lnav_heading_cmd,
           lnav_hdg_sent, leg_tracking_on, fms_leg_state, last_wpt_ident, last_wpt_time, last_wpt_altitude,
           fuel_at_last_wpt, ete_active_min, ete_active_min_prev, ete_active_scaled_min,
           ete_active_scaled_min_prev, ete_active_hours, ete_active_minutes, ete_active_tenths,
           ete_active_scaled_hours, ete_active_scaled_minutes, ete_dest_min, ete_dest_min_prev, ete_dest_hours,
           ete_dest_minutes, ete_dest_scaled_hours, ete_dest_scaled_minutes, toc_reached, tod_reached,
           vnav_descent_started, vnav_target_alt, vnav_target_lat, vnav_target_lon, dist_to_vnav_target,
           vnav_target_kind, forced_turn_dir, turn_dir_text, radio_tune_request, mach_repeat_count,
           descent_speed_flag, fms_set_alt_tick, fms_set_spd_tick, fms_set_alt_pending, fms_set_spd_pending,
           tod_1x_done, pause_at_tod_done, pause_at_dist_done);
    // flight_envelope.cpp
    s.keep(envelope_live_vmo, envelope_live_mmo, vnav_speed_asked, vnav_speed_sent);
    // hold_legs.cpp
    s.keep(hold_corner_prev, hold_hdg_cmd, hold_hdg_sent, hold_corner_dist, hold_corner_course, hold_leg_dist,
           hold_leg_course, hold_pattern_leg);
    // lnav_vnav_commands.cpp
    s.keep(vnav_vs_required, vnav_vs_cmd, vnav_vs_sent, vnav_alt_sent, vnav_slow_protect, climb_restriction_applied,
           desc_restriction_applied, constraint_speed_done, vnav_hold_alt, vnav_held_alt, vnav_limit_alt,
           abeam_fix_index, abeam_fix_lat, abeam_fix_lon, vnav_pilot_alt);
    // lnav_vnav_state.cpp
    s.keep(lnav_on, vnav_on, vnav_alt_state, vnav_spd_state, vnav_cmd_pending, fms_set_alt, fms_set_spd,
           fms_set_mach100);
    // performance_tables.cpp
    s.keep(perf_grwt, perf_grwt_count, perf_climb, perf_climb_count, perf_cruise, perf_cruise_count, perf_descent,
           perf_descent_count, perf_altitude, perf_altitude_count);
    // settings.cpp
    s.keep(climb_ias_prev, climb_mach_prev, cruise_ias_prev, cruise_mach_prev, descent_ias_prev, descent_mach_prev);
    s.keep(sim_version, settings_loaded, aircraft_config_loaded, ArmPauseAtTod, PauseAtTod,
           ArmPauseAtDistFromDest, PauseAtDistFromDest, pause_dist_from_dest, DispAppPtrnAlts, DispETALocalTime,
           DispPrevWpt, DrawBodArcOnP1000MFD, DrawBodArcOnEFS50EHSI, DrawTcasWindowOnP1000MFD, EadiDualCue,
           EADIHdgTape, EhsiStaticHdgPointer, ExpandEADI, ExpandEADILnav, FlyoverWptChgDist, Lnav1xAtTod,
           LnavOffAtLastWpt, LnavSetEnRouteFreqs, MFDTextAntiAlias, ParkingFile, SetDestLoadTowerViewDist,
           SetSpdOffwhenAPMasterSetOff, SetUTCTimeOnFPLoad, ShowTodBodIndicators, SetWptBaro, TcasVertRange,
           VnavOffAtLastWpt, VnavOffOnManAltChg, VnavSetAlts, VnavSetSpd, VnavSetSpdOffOnManSpdChg, WeightUnit,
           WptChgDist, WptChgSecs, WptProcChgDist, WptProcChgSecs, TransAlt, MinMapRange, McuShowActiveRwys,
           SequenceFPlanWpts, SetMCPCrzAltOnFlightPlanLoad, SetMCPSpdOnFlightPlanLoad, HdgHoldOnLnavOn,
           DispC17SpdTrend, AdjustTurnDistforAngle, ClimbMach, CruiseMach, DescentMach,
           DisplayMagVarOnGnsxlsNavPage, DecLatLonDisp, aircraft_flight_plans_folder, APPRFLAPSMIN, APPRFLAPSMID,
           APPRFLAPSMAX, BestHoldIas, ClbAltRest, ClbSpdRest, DescAltRest, DescSpdRest, ClimbIas, CruiseTas,
           DescentIas, ClimbTas, DescentTas, ClimbIasMin, ClimbIasMax, CruiseIasMin, CruiseIasMax,
           descent_ias_min, descent_ias_max, climb_mach_min, climb_mach_max, cruise_mach_min, cruise_mach_max,
           descent_mach_min, descent_mach_max, climb_ias_file, cruise_ias_file, descent_ias_file, aircraft_file_max_ias,
           ClimbRate, DescentRate, CostIndex, cost_index_prev, EngThrust, FPA, HoldLegMins, LDGFLAPS, TOFLAPS,
           TOFLAPSRANGE,
           V1, VR, V2, VREF, VREFMIN, VREFMID, VREFMAX, MaxCruise, MaxVnavClimbRate, MinVnavClimbRate,
           MaxVnavDescRate, MinVnavDescRate, MinVnavClimbIas, MinVnavIas, MinVnavRadioAlt, ModelId, EngId,
           PerformanceData, ShowFloatingTodBodIndicators, VnavSetMachCruiseSpd, VnavSetSpdRestDist, ResetApHdg,
           DU1000Style, DispFPV, A320EADIBkgrdColorRed, A320EADIBkgrdColorGreen, A320EADIBkgrdColorBlue,
           A320EADITapeColorRed, A320EADITapeColorGreen, A320EADITapeColorBlue, A320EADISkyColorRed,
           A320EADISkyColorGreen, A320EADISkyColorBlue, A320EADIGrndColorRed, A320EADIGrndColorGreen,
           A320EADIGrndColorBlue, B777PFDBkgrdColorRed, B777PFDBkgrdColorGreen, B777PFDBkgrdColorBlue,
           B777PFDTapeColorRed, B777PFDTapeColorGreen, B777PFDTapeColorBlue, B777PFDSkyColorRed,
           B777PFDSkyColorGreen, B777PFDSkyColorBlue, B777PFDGrndColorRed, B777PFDGrndColorGreen,
           B777PFDGrndColorBlue, C17MfdBkgrdColorRed, C17MfdBkgrdColorGreen, C17MfdBkgrdColorBlue,
           C17MfdSkyColorRed, C17MfdSkyColorGreen, C17MfdSkyColorBlue, C17MfdGrndColorRed, C17MfdGrndColorGreen,
           C17MfdGrndColorBlue, HWB737NDBkgrdColorRed, HWB737NDBkgrdColorGreen, HWB737NDBkgrdColorBlue,
           HWMD11NDBkgrdColorRed, HWMD11NDBkgrdColorGreen, HWMD11NDBkgrdColorBlue, P1000MFDBkgrdColorRed,
           P1000MFDBkgrdColorGreen, P1000MFDBkgrdColorBlue, EFS50EHSIBkgrdColorRed, EFS50EHSIBkgrdColorGreen,
           EFS50EHSIBkgrdColorBlue, DU1000EHSIBkgrdColorRed, DU1000EHSIBkgrdColorGreen, DU1000EHSIBkgrdColorBlue,
           PROLINE4MFDBkgrdColorRed, PROLINE4MFDBkgrdColorGreen, PROLINE4MFDBkgrdColorBlue, MD80EHSIBkgrdColorRed,
           MD80EHSIBkgrdColorGreen, MD80EHSIBkgrdColorBlue, nav_data_cycle, nav_data_active, parking_lat,
           parking_lon, parking_heading);
    // speed_conversions.cpp
    s.keep(toc_oat, isa_deviation, crz_wind_dir, crz_wind_speed, reserve_fuel);
    // toc_tod.cpp
    s.keep(proposed_cruise_alt, toc_alt_reference, perf_climb_segments, perf_climb_segment_count,
           profile_display_index_1, profile_display_index_2, toc_lat, toc_lon, toc_leg_index, toc_climb_dist,
           toc_route_pos, tod_lat, tod_lon, descent_rate, toc_valid, tod_valid, presel_alt, profile_level_cap);
    // waypoint_sequencing.cpp
    s.keep(wpt_change_dist, sequenced_index, sequenced_dist, seen_active_index, seen_active_lat, seen_active_lon,
           active_fix_turned, reach_fix_index, angle_pass_in_cruise, dest_near_done, dest_info_state,
           hold_exit_state, selected_approach_index);
    s.keep(plan_loaded_hooks, fms_phase_reached_hook, lnav_dropped_hook, lnav_off_by_fms);
    keep_fms_update_state(s);
    keep_hold_legs_state(s);
    keep_flight_log_state(s);
    keep_settings_file_state(s);
  });
}

