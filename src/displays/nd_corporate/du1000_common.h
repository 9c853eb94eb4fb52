// Pieces the DU-1000 EHSI renderers share: canvas, centres and colours.
#pragma once

#include "displays/nd_corporate/corporate_common.h"

constexpr DesignCanvas DU1000 = CANVAS_DU1000_EHSI;
constexpr double DU1000_CX = 159;
constexpr double DU1000_ARC_CY = 272;   // aircraft of the arc modes
constexpr double DU1000_ROSE_CY = 155;  // rose and plan centre
constexpr uint32_t DU1000_WHITE = 0xFFDEE6E9;
constexpr uint32_t DU1000_GREEN = 0xFF00FA00;
constexpr uint32_t DU1000_MAGENTA = 0xFFFF13D5;
constexpr uint32_t DU1000_AMBER = 0xFFE3CF8A;

// The aircraft symbol at the origin of the current frame.
void du1000_aircraft(GfxGraphics* g, const GfxPen* pen, double kx = 1, double ky = 1);

// The navigation source text of a received NAV 1 station ("ILS", "LOC", "VOR");
// `frequency` tells whether its frequency is shown.
const char* du1000_nav_source(bool& frequency, bool& glideslope);
