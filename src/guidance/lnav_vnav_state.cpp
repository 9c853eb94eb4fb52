#include "guidance/lnav_vnav_state.h"

#include "flightplan/flight_plan.h"
#include "module/display_state.h"
#include "module/host_services.h"

int32_t lnav_on = 0;
int32_t vnav_on = 0;
int32_t vnav_alt_state = 0;
int32_t vnav_spd_state = 0;
int32_t vnav_cmd_pending = 0;
int32_t fms_set_alt = -999;
int32_t fms_set_spd = -999;
int32_t fms_set_mach100 = -999;

void lnav_toggle() {
  if (lnav_on == 1) {
    lnav_on = 0;
  } else if (fpl_active_index != FPL_NO_PLAN) {
    lnav_on = 1;
  }
  mcu_redraw = 1;
  host_set_named_var_by_name("vek_lnav", lnav_on);
}
