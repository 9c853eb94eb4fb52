// ATC-boundary layer: the air traffic control region boundaries of the
// navigation database as thin polylines with a short label, under `atc_bdry_on`.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

// Boundaries whose first point lies farther than this are not drawn ...
constexpr double ATC_BOUNDARY_RANGE_NM = 1000.0;
// ... except the special ones, drawn while it is below this.
constexpr double ATC_BOUNDARY_SPECIAL_RANGE_NM = 5000.0;

// Draws every boundary about (cx, cy) with the map heading (0 north up); loads
// the boundary file on first use (a missing file is tried once). Nothing while
// `atc_bdry_on` is not 1.
void draw_atc_boundaries(GfxGraphics* g, double radius, double cx, double cy, double range, double map_heading_deg);
// The same measured from (ref_lat, ref_lon) instead of the present position.
void draw_atc_boundaries(GfxGraphics* g, double radius, double cx, double cy, double range, double map_heading_deg,
                         double ref_lat, double ref_lon);

// Wrappers: set the display's frame about its map centre, then draw.
void draw_b737_nd_boundaries(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md11_nd_boundaries(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md80_ehsi_boundaries(const GaugeSurface* ctx, GfxGraphics* g);
void draw_du1000_ehsi_boundaries(const GaugeSurface* ctx, GfxGraphics* g);
void draw_proline4_mfd_boundaries(const GaugeSurface* ctx, GfxGraphics* g);
