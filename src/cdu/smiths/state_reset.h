// Puts the Smiths CDU's globals back to the values they hold when the module is loaded.
#pragma once

void reset_smiths_state();
