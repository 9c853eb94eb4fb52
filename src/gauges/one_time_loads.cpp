#include "flightplan/flight_plan.h"
#include "gauges/gauge_frame.h"
#include "geo/magnetic_model.h"
#include "guidance/aircraft_file.h"
#include "guidance/fms_update.h"
#include "guidance/settings_file.h"
#include "module/load_state.h"
#include "module/module_paths.h"
#include "navdb/navdb.h"

namespace {
bool stored_plans_listed = false;
}  // namespace

bool is_placement_parameter(std::string_view parameter) {
  return parameter == "VC" || parameter == "VC2" || parameter == "WN";
}

void record_aircraft_name(std::string_view parameter) {
  if (!aircraft_name.empty() || parameter.empty() || is_placement_parameter(parameter)) return;
  aircraft_name = std::string(parameter);
}

void load_settings_once() { read_vek_cfg(); }

void load_aircraft_once() { read_aircraft_config(); }

void load_navigation_once() {
  load_navigation_database();
  magnetic_model_init();
}

void load_stored_plans_once() {
  if (stored_plans_listed) return;
  stored_plans_listed = true;
  list_plan_files();
}

void run_fms_update() { fms_update(); }

void keep_one_time_loads_state(LoadState& state) { state.keep(stored_plans_listed); }
