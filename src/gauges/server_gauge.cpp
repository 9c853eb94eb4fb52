#include "gauges/server_gauge.h"

#include <cmath>

#include "flightplan/flight_plan.h"
#include "guidance/fms_snapshot.h"
#include "guidance/lnav_vnav_state.h"
#include "module/display_state.h"
#include "guidance/lnav_vnav_state.h"
#include "module/host_services.h"
#include "gauges/panel_steppers.h"
#include "module/load_state.h"
#include "platform/host/sim_token_ids.h"

namespace {

void lnav_command(int32_t) { lnav_toggle(); }
void vnav_command(int32_t) { vnav_toggle(); }
// A value 1..7 selects that B737 ND mode; any other steps the modes up.
void nd_mode_command(int32_t value) {
  if (value >= 1 && value <= 7) {
    b737_nd_mode = value;
  } else {
    efis_mode_step_up(0);
  }
}
void range_up_command(int32_t) { nd_range_up(); }
void range_down_command(int32_t) { nd_range_down(); }
void apt_command(int32_t) { nd_toggle_apt(); }
void nav_command(int32_t) { nd_toggle_nav(); }
void int_command(int32_t) { nd_toggle_int(); }
void tcas_command(int32_t) { nd_toggle_tcas(); }
void bdry_command(int32_t) { atc_bdry_toggle(); }
void vor_adf_command(int32_t) { nd_vor_adf_toggle(); }

struct SharedEntry {
  const char* name;
  SharedVarKind kind;
  void* storage;
  uint32_t size;
};

const SharedEntry shared_entries[] = {
    {"vek_act_wpt_pos", SHARED_INT32, &srv_active_index, sizeof srv_active_index},
    {"vek_fpln_wpt_cnt", SHARED_INT32, &srv_plan_last, sizeof srv_plan_last},
    {"vek_act_wpt_dist", SHARED_FLOAT64, &srv_dist_to_active, sizeof srv_dist_to_active},
    {"vek_act_wpt_trk", SHARED_FLOAT64, &srv_desired_track, sizeof srv_desired_track},
    {"vek_act_wpt_brg", SHARED_FLOAT64, &srv_bearing_to_active, sizeof srv_bearing_to_active},
    {"vek_xtk_err_dir", SHARED_INT32, &srv_xtk_dir, sizeof srv_xtk_dir},
    {"vek_xtk_err_dist", SHARED_FLOAT64, &srv_xtk_dist, sizeof srv_xtk_dist},
    {"vek_lnav_mode", SHARED_INT32, &srv_lnav_on, sizeof srv_lnav_on},
    {"vek_vnav_mode", SHARED_INT32, &srv_vnav_on, sizeof srv_vnav_on},
    {"vek_active", SHARED_INT32, &srv_active, sizeof srv_active},
    {"Vek_FlightPlan", SHARED_BLOCK, fpl_active, sizeof fpl_active},
};

// Named variables the module publishes, with their current values.
struct PublishedEntry {
  const char* name;
  const int32_t* value;
};

const PublishedEntry published_entries[] = {
    {"vek_lnav", &lnav_on},       {"vek_vnav", &vnav_on},       {"vek_nd_apt", &nd_apt_on},
    {"vek_nd_nav", &nd_nav_on},   {"vek_nd_int", &nd_int_on},   {"vek_nd_tcas", &nd_tcas_on},
};

// SERVER placements whose graphics are started; the first registers, the last
// to stop withdraws.
int server_registrations = 0;

void server_register() {
  if (server_registrations++ > 0) return;
  for (const SharedEntry& e : shared_entries) host_register_shared_var(e.name, e.kind, e.storage, e.size);
  for (const PublishedEntry& e : published_entries) {
    int32_t id = host_register_named_var(e.name);
    host_set_named_var(id, *e.value);
  }
  for (int i = 0; i < server_command_count; ++i) host_register_named_var(server_commands[i].clicked_name);
  host_register_key_handler(server_key_event_handler, nullptr);
}

void server_unregister() {
  if (server_registrations == 0 || --server_registrations > 0) return;
  host_unregister_key_handler(server_key_event_handler, nullptr);
  for (const SharedEntry& e : shared_entries) host_unregister_shared_var(e.name);
  for (const PublishedEntry& e : published_entries) host_unregister_shared_var(e.name);
  for (int i = 0; i < server_command_count; ++i) host_unregister_shared_var(server_commands[i].clicked_name);
}

}  // namespace

// The commands. Key events other than 0x10338 are this module's own numbering.
const ServerCommand server_commands[] = {
    {"vek_lnav_clicked", 0x10339, lnav_command},
    {"vek_vnav_clicked", KEY_VNAV_TOGGLE_EVENT, vnav_command},
    {"vek_nd_mode_clicked", 0x1033A, nd_mode_command},
    {"vek_nd_range_incr_clicked", 0x1033B, range_up_command},
    {"vek_nd_range_decr_clicked", 0x1033C, range_down_command},
    {"vek_nd_apt_clicked", 0x1033D, apt_command},
    {"vek_nd_nav_clicked", 0x1033E, nav_command},
    {"vek_nd_int_clicked", 0x1033F, int_command},
    {"vek_nd_tcas_clicked", 0x10340, tcas_command},
    {"vek_atc_bdry_clicked", 0x10341, bdry_command},
    {"vek_nd_vor_adf_clicked", 0, vor_adf_command},
};
const int server_command_count = static_cast<int>(sizeof server_commands / sizeof server_commands[0]);

void server_process_clicked() {
  for (int i = 0; i < server_command_count; ++i) {
    const ServerCommand& c = server_commands[i];
    int32_t id = host_find_named_var(c.clicked_name);
    if (id < 0) continue;
    double v = host_get_named_var(id);
    if (v == 0.0) continue;
    host_set_named_var(id, 0.0);
    // A value that is no number, or out of the integer range, is cleared unheard.
    if (!std::isfinite(v) || std::fabs(v) > 2.0e9) continue;
    c.action(static_cast<int32_t>(v));
  }
}

void server_key_event_handler(int32_t event_id, int32_t param, void* user) {
  (void)user;
  if (event_id == 0) return;
  for (int i = 0; i < server_command_count; ++i) {
    if (server_commands[i].key_event == event_id) {
      server_commands[i].action(param);
      return;
    }
  }
}

void server_hook(GaugeHeader* gauge, int32_t service_id) {
  (void)gauge;
  switch (service_id) {
    case PANEL_SERVICE_PRE_UPDATE: server_process_clicked(); break;
    case PANEL_SERVICE_GRAPHICS_START: server_register(); break;
    case PANEL_SERVICE_GRAPHICS_STOP: server_unregister(); break;
    default: break;
  }
}

void keep_server_gauge_state(LoadState& state) { state.keep(server_registrations); }
