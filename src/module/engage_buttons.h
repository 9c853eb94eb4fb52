// The VNAV toggle, reached from the VNAV button, the SERVER gauge's commands and
// key event 0x10338. (The LNAV toggle is the guidance's `lnav_toggle`; the BDRY
// button calls `atc_bdry_toggle`.)
#pragma once

// Disengages VNAV when engaged; engages it only with an active plan, resetting the
// speed and altitude states so that the next steps set them again. Always asks the
// MCU to redraw and publishes "vek_vnav".
void vnav_toggle();
