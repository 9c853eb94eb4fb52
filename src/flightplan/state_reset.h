// Puts the flight-plan layer's globals back to the values they hold when the module is loaded.
#pragma once

class LoadState;

void reset_flightplan_state();

// Records the state a file keeps to itself.
void keep_user_waypoints_state(LoadState& state);
