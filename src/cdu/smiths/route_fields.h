// The load of a stored plan into the edit plan that the RTE and STORED FLIGHT PLANS pages
// share; the route-entry fields it sets are those of flightplan/fpl_ops.h.
#pragma once

#include <string>

#include "flightplan/fpl_ops.h"

// Loads stored plan n (1..stored_plan_count) into the edit plan, rebuilds the route
// rows and takes the plan's origin and destination airports as the route's. On a
// failed load the message line shows the loader's message and 0 is answered.
int smiths_load_stored_plan(int n);
