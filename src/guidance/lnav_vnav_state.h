// Engagement state of LNAV and VNAV and what the VNAV toggle resets, plus the LNAV
// and VNAV toggles that the engage buttons, the SERVER gauge and its key handler call.
#pragma once

#include <cstdint>

extern int32_t lnav_on;          // 1 while LNAV is engaged
extern int32_t vnav_on;          // 1 while VNAV is engaged
extern int32_t vnav_alt_state;   // 0: the VNAV altitude is to be set; 1: set
extern int32_t vnav_spd_state;   // 0: the VNAV speed is to be set; 1: set
extern int32_t vnav_cmd_pending; // 1 for one step after VNAV is engaged
extern int32_t fms_set_alt;      // altitude the FMS last set, feet; -999 none
extern int32_t fms_set_spd;      // speed the FMS last set, knots; -999 none
extern int32_t fms_set_mach100;  // Mach x 100 the FMS last set; -999 none
// 1 while LNAV is off because the update switched it off at the end of the route or a
// discontinuity; engaging or disengaging LNAV clears it.
extern int32_t lnav_off_by_fms;
// Called when the update switches LNAV off; a unit registers it to say so.
extern void (*lnav_dropped_hook)();

// Engages LNAV when a plan is active, disengages it when engaged; publishes
// "vek_lnav" and asks the MCU to redraw.
void lnav_toggle();

// Disengages VNAV when engaged; engages it only with an active plan, resetting the
// speed and altitude states so that the next steps set them again. Always asks the
// MCU to redraw and publishes "vek_vnav".
void vnav_toggle();
