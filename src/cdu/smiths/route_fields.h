// Route-entry fields of the RTE page under their page names, and the load of a stored
// plan into the edit plan that the RTE and STORED FLIGHT PLANS pages share.
#pragma once

#include <string>

#include "flightplan/fpl_ops.h"

// Entered origin, destination and departure runway ("------" none), and the pending
// values of a modified active route, shown boxed in MOD.
inline std::string& rte_origin = route_origin;
inline std::string& rte_origin_mod = route_origin_mod;
inline std::string& rte_dest = route_dest;
inline std::string& rte_dest_mod = route_dest_mod;
inline std::string& rte_runway = route_runway;
inline std::string& rte_runway_mod = route_runway_mod;

// Loads stored plan n (1..stored_plan_count) into the edit plan, rebuilds the route
// rows and takes the plan's origin and destination airports as the route's. On a
// failed load the message line shows the loader's message and 0 is answered.
int smiths_load_stored_plan(int n);
