// Puts the simulator-access layer's globals back to the values they hold when the module is loaded.
#pragma once

class LoadState;

void reset_sim_access_state();

// Records the state a file keeps to itself.
void keep_c17_mfd_commands_state(LoadState& state);
void keep_ipc_client_state(LoadState& state);
void keep_keyboard_input_state(LoadState& state);
