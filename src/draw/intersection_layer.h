// Intersection map layer: the airway fixes of the close list as triangles (a
// diamond on the DU-1000 EHSI) with their idents, one member per display. Each
// member refreshes the shared nearby airway-fix lists first.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

// Self-framed members, each under its switch and range limit: B737 ND `nd_int_on`,
// range <= 40; MD-11 ND `md11_nd_int_on`, <= 80; MD-80 EHSI `md80_ehsi_int_on`,
// <= 80. The C-17 map member (no display calls it) uses map_px_per_nm as set.
void draw_b737_nd_fixes_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md11_nd_fixes_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md80_ehsi_fixes_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_c17_map_fixes_layer(const GaugeSurface* ctx, GfxGraphics* g);

// Caller-framed members. DU-1000 EHSI: `du1000_show_int`, range <= 60.
void draw_du1000_ehsi_fixes_layer(GfxGraphics* g, double ref_lat, double ref_lon, double px_per_nm, double kx,
                                  double ky, double range_nm, double heading);
// Pro Line 4 MFD: `mfd_int_on`, `proline4_mfd_range` <= 40; map_px_per_nm as set.
void draw_proline4_mfd_fixes_layer(const GaugeSurface* size, GfxGraphics* g, double ref_lat, double ref_lon);
// C-17 MFD (no display calls it): map_px_per_nm as set.
void draw_c17_mfd_fixes_layer(const GaugeSurface* ctx, GfxGraphics* g, double kx, double ky);
