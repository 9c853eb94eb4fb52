// The per-step FMS update. The draw services of the displays, the SERVER gauge and
// several control panels call it; a cheap head runs on every call and the body once
// per simulator time step (host tick).
#pragma once

#include <cstdint>
#include <string>

// Head: ground speed, smoothed airspeed and indicated altitude. Body, when the tick
// moved: sampling over the 18-step cycle, seconds and fuel, sequencing, LNAV and VNAV,
// top of climb and descent, holds, pauses, pending requests and the flight log.
void fms_update();

// Copies the guidance outputs into the SERVER snapshot (srv_*).
void fms_snapshot();

// Registers what the lower layers call back into the guidance (a new active plan).
// Every gauge runs it on install.
void fms_install();

// A new active plan: restarts the flight-phase log and the destination steps and
// computes the cruise altitude, top of climb and top of descent for it.
void fms_plan_activated();

// A cruise level entered on a unit without EXEC (GNS-XLS VNAV DATA, MCU ALT with VNAV
// engaged): the profile is made again from the aircraft and, VNAV engaged, the level goes
// to the autopilot at once, as after an executed change on the other units.
void fms_cruise_level_entered(int32_t ft);

// Called after a plan load that request 1 (MCU), 2 or 3 (text CDU) asked for, with
// the loaded plan's airport ident; the requesting unit registers its own. May stay null.
extern void (*plan_loaded_hooks[4])(const std::string& airport_ident);
