// Holding-pattern layer: the racetrack of the first hold around its fix, one
// member per display family. Every member draws nothing unless the hold list has
// an entry whose held waypoint index is 1 or more. The EFS 50 EHSI member joins the
// four corner points of the hold instead and marks the corner being flown.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

// Radius form: map radius (design units), map centre, range (NM).
void draw_b737_nd_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                             double range);
// The B737 ND member on a 365 x 289 canvas (no display of the table draws it).
void draw_wide_map_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                              double range);
void draw_md11_nd_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                             double range, double xscale, double yscale);
void draw_md80_ehsi_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                               double range, double xscale, double yscale);
// In the plan view (`p1000_plan_view` set) north up about the active waypoint, as the
// display's other layers; restores the display scale.
void draw_p1000_mfd_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                               double range);
// The centre comes from `proline4_mfd_format`; also joins the map centre to the fix.
void draw_proline4_mfd_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                                  double range);
// Drawn only while `EFS50NavMode` is 2; the centre comes from `efs50_ehsi_mode`.
void draw_efs50_ehsi_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                                double range);

// Scale form: the caller has set the frame and map_px_per_nm.
void draw_du1000_ehsi_hold_layer(GfxGraphics* g, double ref_lat, double ref_lon, double unused1, double unused2,
                                 double xscale, double yscale, double map_heading_deg);
void draw_c17_mfd_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double xscale, double yscale, double unused1,
                             double unused2, double map_heading_deg);
