// Resets shared between the stand-ins.
#pragma once

void win_keyboard_reset();
void win_ipc_reset();
