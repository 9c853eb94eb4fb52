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
// The same on a map whose up direction is `map_heading_deg`, measured from (ref_lat,
// ref_lon) instead of the present position.
void draw_runway_layer(GfxGraphics* g, int32_t radius, int32_t cx, int32_t cy, double range, double map_heading_deg,
                       double ref_lat, double ref_lon);

// The C-17 map's selected runways of the origin and destination blocks (no display
// calls it): below 80 NM `range`, each within 100 NM of the aircraft as its body (white,
// 2 px) and 18 NM centre-line extensions (white, 1 px), pens at the mean of the scales.
// Scale form: the caller has set the frame, its origin at the aircraft, and
// map_px_per_nm; x is multiplied by `xscale`, y by `yscale`.
void draw_c17_mfd_runway_lines(GfxGraphics* g, double xscale, double yscale, double range,
                               double map_heading_deg);

// Reciprocal ident of a runway ident: number + 18 with the side letters swapped
// ("16L" gives "34R", "18C" "36C"); an ident without a leading number counts as 0.
// Empty for a number of 19 or more.
std::string reciprocal_runway_ident(const char* ident);
