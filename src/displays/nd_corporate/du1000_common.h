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

// A range ring's distance: "%3.0f", or with its decimals below 10 NM ("1.7", "0.83").
CorpText du1000_ring_distance(double nm);
// The distance in Arial 15 laid out from (x, y) as "%3.0f" would be: ending where that
// field ends, in a smaller size where it would start left of the screen.
constexpr double DU1000_RING_LABEL_PX = 15;
void du1000_ring_label(GfxGraphics* g, LayerObjects& o, const GfxBrush* brush, double x, double y, double nm);

// Mode 2: the plan rings' distances at the map scale (the map radius spans the range),
// over the map.
void du1000_ehsi_plan_ring_labels(const GaugeSurface* ctx, GfxGraphics* g);
