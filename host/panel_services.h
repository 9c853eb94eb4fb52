// The panel-service table the simulated host hands a module. Its entries take no context:
// they reach the one host set to serve the module.
#pragma once

#include <string>

#include "platform/host/gauge_host.h"

namespace simhost {

class SimHost;

void fill_panel_services(PanelServiceTable& table);
void serve_module_from(SimHost* host);  // nullptr: no host serves
SimHost* served_host();

// Names of gauges, modules and variables compare without regard to ASCII case.
bool same_name(const std::string& a, const std::string& b);

}  // namespace simhost
