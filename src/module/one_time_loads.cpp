#include "geo/magnetic_model.h"
#include "module/gauge_frame.h"
#include "module/module_paths.h"

bool is_placement_parameter(std::string_view parameter) {
  return parameter == "VC" || parameter == "VC2" || parameter == "WN";
}

void record_aircraft_name(std::string_view parameter) {
  if (!aircraft_name.empty() || parameter.empty() || is_placement_parameter(parameter)) return;
  aircraft_name = std::string(parameter);
}

void load_settings_once() {}

void load_aircraft_once() {}

void load_navigation_once() { magnetic_model_init(); }

void load_stored_plans_once() {}

void run_fms_update() {}
