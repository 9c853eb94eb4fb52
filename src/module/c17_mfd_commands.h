// The C17_MFD gauge's named-variable commands: "MFDX1 mode" to "MFDX4 mode", one per
// display instance, created when graphics start and withdrawn when they stop.
#pragma once

#include <cstdint>

#include "platform/host/gauge_host.h"

void ProcessMFDX1(GaugeHeader* gauge);
void ProcessMFDX2(GaugeHeader* gauge);
void ProcessMFDX3(GaugeHeader* gauge);
void ProcessMFDX4(GaugeHeader* gauge);

// Instance 0..9 a C17_MFD placement draws this frame, from its parameter and the
// visibility of windows 0 and 4025. A parameter naming a page ("PFD", "MFD", "ENG",
// "CFG", each also with "_VC" or "_WN") takes instance 1..4 and forces its format.
// Instance 0 draws transparent.
int32_t c17_mfd_instance(const char* parameter);

// The instance 0..9 a placement's parameter names (a page name 1..4, else its first
// digit), whatever the windows show: the display its bezel keys act on.
int32_t c17_mfd_parameter_instance(const char* parameter);

// Per-gauge hook of C17_MFD: names on 14 and 15, the command of the placement's
// instance on 6.
void c17_mfd_hook(GaugeHeader* gauge, int32_t service_id);
