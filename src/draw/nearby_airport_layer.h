// Nearby-airport map layer: the airports of the close list as circles (a star
// glyph on the DU-1000 EHSI) with their idents, one member per display. Each
// member refreshes the shared nearby-airport lists first.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

// Airports farther than 2 x range + margin are not drawn.
constexpr double AIRPORT_MARGIN_NARROW_NM = 10.0;
constexpr double AIRPORT_MARGIN_WIDE_NM = 50.0;

// Self-framed members. Each draws nothing unless its switch is on and its range
// is within the limit: B737 ND `nd_apt_on`, range <= 160; MD-11 ND
// `md11_nd_apt_on`, <= 160; MD-80 EHSI `md80_ehsi_apt_on`, <= 160; Primus 1000
// MFD `p1000_show_airports`, <= 80 (the Primus member restores the display scale).
void draw_b737_nd_airports_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md11_nd_airports_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md80_ehsi_airports_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_p1000_mfd_airports_layer(const GaugeSurface* ctx, GfxGraphics* g);

// Caller-framed members: the caller has set the scaled frame.
// DU-1000 EHSI: `du1000_show_apt` and range <= 120; every value is an argument.
void draw_du1000_ehsi_airports_layer(GfxGraphics* g, double ref_lat, double ref_lon, double px_per_nm, double kx,
                                     double ky, double range_nm, double heading);
// C-17 MFD: `mfd_apt_on` and `c17_mfd_range` <= 160; map_px_per_nm as the caller set it.
void draw_c17_mfd_airports_layer(const GaugeSurface* ctx, GfxGraphics* g, double kx, double ky, double ref_lat,
                                 double ref_lon, double heading);
// Pro Line 4 MFD: `mfd_apt_on` and `proline4_mfd_range` <= 80; kx and ky from the
// image size; map_px_per_nm as the caller set it.
void draw_proline4_mfd_airports_layer(const GaugeSurface* size, GfxGraphics* g, double ref_lat, double ref_lon);
