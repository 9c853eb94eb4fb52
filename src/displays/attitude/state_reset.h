// Puts the attitude displays' globals back to the values they hold when the module is loaded.
#pragma once

void reset_attitude_state();
