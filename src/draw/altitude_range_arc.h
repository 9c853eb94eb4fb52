// Altitude range arc: a short arc across the track where the autopilot's selected
// altitude will be reached at the present vertical speed and ground speed. One
// member per display family. Each draws only while the aircraft is above the
// selected altitude and descends faster than 200 ft/min.
#pragma once

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

// NM ahead at which the selected altitude is reached (negative ahead of the
// aircraft, as the arc box takes it); not finite when it is never reached.
double altitude_arc_distance_nm();

void draw_b737_nd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md11_nd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md80_ehsi_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g);
// About the aircraft at (x, y) design units from the map centre, ahead along
// `ahead_deg` clockwise from the map's up (0 on the heading-up formats).
void draw_c17_mfd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g, double x, double y, double ahead_deg);
void draw_efs50_ehsi_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g);
void draw_proline4_mfd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g);
// Works in the display's current frame and restores its design scale after.
void draw_p1000_mfd_altitude_arc(const GaugeSurface* ctx, GfxGraphics* g);
