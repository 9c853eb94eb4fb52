// Navaid map layer: the VORs ("V") and other navaids ("N") of the close list with
// their idents, one member per display. Each member refreshes the shared
// nearby-navaid lists first.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

// Symbol code with which the DU-1000 EHSI draws a VOR.
extern int32_t du1000_vor_symbol_code;

// Self-framed members, each under its switch and range limit: B737 ND `nd_nav_on`,
// range <= 160; MD-11 ND `md11_nd_nav_on`, <= 320 in map mode, <= 160 in plan
// mode 2; MD-80 EHSI `md80_ehsi_nav_on`, <= 160; Primus 1000 MFD
// `p1000_show_navaids` (no range limit; restores the display scale); the C-17 map
// member, which no display calls, has neither.
void draw_b737_nd_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md11_nd_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_md80_ehsi_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_p1000_mfd_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g);
void draw_c17_map_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g);

// Caller-framed members. DU-1000 EHSI: VORs while vor_on is 1, NDBs while ndb_on
// is 1, no range limit.
void draw_du1000_ehsi_navaids_layer(GfxGraphics* g, double ref_lat, double ref_lon, double px_per_nm, double kx,
                                    double ky, double range_nm, double heading, int32_t vor_on, int32_t ndb_on);
// C-17 MFD: `mfd_vor_on` or `mfd_ndb_on`, `c17_mfd_range` <= 160.
void draw_c17_mfd_navaids_layer(const GaugeSurface* ctx, GfxGraphics* g, double kx, double ky, double ref_lat,
                                double ref_lon, double heading);
// Pro Line 4 MFD: range <= 160; VORs while `mfd_vor_on`, NDBs while `mfd_ndb_on`.
void draw_proline4_mfd_navaids_layer(const GaugeSurface* size, GfxGraphics* g, double ref_lat, double ref_lon);
