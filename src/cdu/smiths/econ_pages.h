// Parts shared by the ECON CLB, ECON CRZ and ECON PATH DES pages.
#pragma once

#include <string>

#include "cdu/smiths/page_layout.h"
#include "flightplan/flight_plan.h"

// L1: the cruise-altitude entry (an empty scratchpad does nothing).
void econ_cruise_alt_key();
// L6 in MOD: ERASE.
void econ_erase_key();
// R6 "RTA >": RTA PROGRESS.
void econ_rta_key();
// The record VNAV flies to, while it is a record of the active plan; null otherwise.
const FlightPlanWpt* econ_vnav_wpt();
// "HHMM.6Z" ("L" in local time) of a point `dist` NM ahead at the ground speed.
std::string econ_time_text(double dist);
// CRZ ALT value at (5, 33), or five boxes while none is entered.
void econ_draw_cruise_alt(const CduPage& p);
// TGT SPD label and value (row 2): "IAS / Mach", dashes for the Mach while none is set (0).
void econ_draw_target_speed(const CduPage& p, int32_t ias, double mach);
// SPD/REST label and value (row 3).
void econ_draw_speed_restriction(const CduPage& p, double speed, double alt);
