// Puts the navigation database's globals back to the values they hold when the module is loaded.
#pragma once

class LoadState;

void reset_navdb_state();

// Records the state a file keeps to itself.
void keep_navdb_lookup_state(LoadState& state);
