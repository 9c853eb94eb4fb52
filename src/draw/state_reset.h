// Puts the drawing toolkit's globals back to the values they hold when the module is loaded.
#pragma once

class LoadState;

void reset_draw_state();

// Records the state a file keeps to itself.
void keep_draw_toolkit_state(LoadState& state);
