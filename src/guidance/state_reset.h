// Puts the guidance layer's globals back to the values they hold when the module is loaded.
#pragma once

class LoadState;

void reset_guidance_state();

// Records the state a file keeps to itself.
void keep_fms_update_state(LoadState& state);
void keep_hold_legs_state(LoadState& state);
void keep_flight_log_state(LoadState& state);
void keep_settings_file_state(LoadState& state);
