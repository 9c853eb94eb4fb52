// Puts the gauge layer's globals back to the values they hold when the module is loaded.
#pragma once

class LoadState;

void reset_gauges_state();

// Records the state a file keeps to itself.
void keep_one_time_loads_state(LoadState& state);
void keep_server_gauge_state(LoadState& state);

// Every layer's globals, bottom layer first: what the module's init starts from.
void reset_module_state();
