#include "module/engage_buttons.h"

#include "flightplan/flight_plan.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/host_services.h"

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
  host_set_named_var_by_name("vek_vnav", vnav_on);
}
