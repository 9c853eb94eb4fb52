// Puts the gauge layer's globals back to their load-time values.
#include "gauges/state_reset.h"

#include "c17/state_reset.h"
#include "cdu/gnsxls/state_reset.h"
#include "cdu/mcu/state_reset.h"
#include "cdu/smiths/state_reset.h"
#include "displays/attitude/state_reset.h"
#include "displays/nd_corporate/state_reset.h"
#include "displays/nd_transport/state_reset.h"
#include "draw/state_reset.h"
#include "flightplan/state_reset.h"
#include "gauges/gauge_frame.h"
#include "guidance/state_reset.h"
#include "module/load_state.h"
#include "module/state_reset.h"
#include "navdb/state_reset.h"

void reset_gauges_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // gauge_frame.cpp
    s.keep(current_element);
    keep_one_time_loads_state(s);
    keep_server_gauge_state(s);
  });
}

void reset_module_state() {
  reset_sim_access_state();
  reset_navdb_state();
  reset_flightplan_state();
  reset_guidance_state();
  reset_draw_state();
  reset_smiths_state();
  reset_nd_transport_state();
  reset_nd_corporate_state();
  reset_attitude_state();
  reset_gnsxls_state();
  reset_mcu_state();
  reset_c17_state();
  reset_gauges_state();
}
