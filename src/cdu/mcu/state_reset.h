// Puts the MCU and text CDU's globals back to the values they hold when the module is loaded.
#pragma once

void reset_mcu_state();
