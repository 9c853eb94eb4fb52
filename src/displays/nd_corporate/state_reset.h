// Puts the corporate navigation displays' globals back to the values they hold when the module is loaded.
#pragma once

void reset_nd_corporate_state();
