// Runway layer: the runways of the loaded airport as lines from threshold to far
// end with their numbers at both ends, the selected runway in yellow and the
// others in red; at the shortest ranges the aircraft's parking position.
// The stored runway table is only read.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/gfx.h"

// Radius and centre in design units, range in NM; the displays choose the ranges
// at which they call it. Writes map_px_per_nm and the great-circle scratch values.
void draw_runway_layer(GfxGraphics* g, int32_t radius, int32_t cx, int32_t cy, double range);

// Reciprocal ident of a runway ident: number + 18 with the side letters swapped
// ("16L" gives "34R", "18C" "36C"); an ident without a leading number counts as 0.
// Empty for a number of 19 or more.
std::string reciprocal_runway_ident(const char* ident);
