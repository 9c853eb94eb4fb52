// Puts the GNS-XLS unit's globals back to the values they hold when the module is loaded.
#pragma once

class LoadState;

void reset_gnsxls_state();

// Records the state a file keeps to itself.
void keep_procedure_pages_state(LoadState& state);
