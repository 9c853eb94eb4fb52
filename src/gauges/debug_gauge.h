// The DEBUG gauge: a text readout of the module's state.
#pragma once

#include <cstdint>

#include "platform/host/gauge_host.h"

// Draws the readout on its 300 x 120 canvas: tick, active waypoint, route-change
// state, LNAV and VNAV.
void debug_gauge_draw(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
