// Fix-info overlay: the FIX INFO reference fixes on the maps, each with its symbol,
// a ring, a dashed circle and label at each entered distance, and a dashed line
// with its label along each entered radial. One member per display; each draws
// the used slots (1 and 2) whose ident is not empty.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

// A fix farther than this from the reference point is not drawn.
constexpr double FIX_INFO_RANGE_NM = 380.0;

void draw_b737_nd_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g);
// Marks the tuned NAV 1 station: no symbol, ident or ring; magenta radials.
void draw_md11_nd_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g);
// Only in `du1000_ehsi_mode` 3.
void draw_du1000_ehsi_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g);
// In the plan view north up about the active waypoint, as the display's other layers;
// restores the display's design scale at the end.
void draw_p1000_mfd_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g);
// Uses map_px_per_nm as the caller set it; the map centre is the caller's (the north-up
// map of format 6 may centre on a plan record or on the aircraft).
void draw_c17_mfd_fix_info_layer(const GaugeSurface* ctx, GfxGraphics* g, double centre_lat, double centre_lon);

// Top-left corner of a distance label "%03.1f" of n characters for a fix at (X, Y)
// about the map centre with a distance circle of radius R.
void fix_info_distance_label_at(int32_t X, int32_t Y, int32_t R, int32_t n, double& x, double& y);
