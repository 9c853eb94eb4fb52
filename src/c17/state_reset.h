// Puts the C-17 units' globals back to the values they hold when the module is loaded.
#pragma once

void reset_c17_state();
