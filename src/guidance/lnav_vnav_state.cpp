#include "guidance/lnav_vnav_state.h"

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/hold_legs.h"
#include "guidance/settings.h"
#include "guidance/waypoint_sequencing.h"
#include "module/display_state.h"
#include "module/host_services.h"
#include "module/sim_vars.h"
#include "platform/host/sim_token_ids.h"

int32_t lnav_on = 0;
int32_t vnav_on = 0;
int32_t vnav_alt_state = 0;
int32_t vnav_spd_state = 0;
int32_t vnav_cmd_pending = 0;
int32_t fms_set_alt = -999;
int32_t fms_set_spd = -999;
int32_t fms_set_mach100 = -999;
int32_t lnav_off_by_fms = 0;
void (*lnav_dropped_hook)() = nullptr;

void lnav_toggle() {
  lnav_off_by_fms = 0;
  if (lnav_on == 1) {
    hold_exit_state = 1;
    lnav_on = 0;
    leg_tracking_on = 0;
    // The hold ahead is given up.
    if (hold_count > 0) drop_first_hold();
    holds_changed = 0;
    dto_active = 0;
  } else if (fpl_active_index != FPL_NO_PLAN && fpl_valid_index(fpl_active_index, fpl_active_last)) {
    lnav_on = 1;
    if (HdgHoldOnLnavOn == 1) host_send_key_event(KEY_AP_HEADING_HOLD_ON, 0);
    if (LnavSetEnRouteFreqs == 1) set_enroute_radios(2);
    // The active leg is captured; a direct-to waiting for LNAV starts at the present
    // position.
    if (dto_active == 1) {
      dto_origin_lat = get_latitude_deg();
      dto_origin_lon = get_longitude_deg();
      const FlightPlanWpt& to = fpl_active[fpl_active_index];
      double d = 0.0, c = 0.0;
      compute_gc_distance_course(dto_origin_lat, dto_origin_lon, to.lat, to.lon, d, c);
      double course = finite_or(c, 360.0) - finite_or(get_magvar_deg(), 0.0);
      dto_course = course < 0.5 ? course + 360.0 : course;
    }
  }
  mcu_redraw = 1;
  hdg_change_timer = 999;
  host_set_named_var_by_name("vek_lnav", lnav_on);
}

void vnav_toggle() {
  if (vnav_on == 1) {
    vnav_on = 0;
  } else if (fpl_active_index != FPL_NO_PLAN) {
    vnav_on = 1;
    vnav_spd_state = 0;
    vnav_alt_state = 0;
    vnav_cmd_pending = 1;
    fms_set_alt = -999;
    fms_set_spd = -999;
    fms_set_mach100 = -999;
    if (VnavSetSpd == 2) VnavSetSpd = 1;
  }
  mcu_redraw = 1;
  hdg_change_timer = 999;
  host_set_named_var_by_name("vek_vnav", vnav_on);
}
