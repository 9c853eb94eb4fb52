// Corporate-aircraft navigation displays: the Pro Line 4 MFD (247 x 285 canvas),
// the EFS 50 EHSI and the EFS 50 TCAS display (266 x 230). Each display has one
// draw dispatcher shared by its gauge variants; the dispatcher fills the canvas
// and calls the renderer of the display's format. All positions are design units
// of the display's canvas; angles are degrees, distances NM.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"
#include "platform/host/gauge_host.h"

// ---- gauge entry points (draw functions of the gauge table) ----

// PROLINE4_MFD and PROLINE4_MFD_NB.
void proline4_mfd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
// EFS50_EHSI and EFS50_EHSI_NB.
void efs50_ehsi_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
// DU_1000_EHSI and DU_1000_EHSI_NB.
void du1000_ehsi_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
// P1000_MFD and P1000_MFD_NB; their service hook starts a full repaint on initialise.
void p1000_mfd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
void p1000_mfd_service_hook(GaugeHeader* gauge, int32_t service_id);
// EFS50_TCAS.
void efs50_tcas_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);

// ---- dispatchers ----

// Formats 0..3 of `proline4_mfd_format`; any other value draws the background only.
void proline4_mfd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
// Formats 1..8 of `efs50_ehsi_mode`; any other value draws the background only.
void efs50_ehsi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
// The TCAS ring for `efs50_tcas_range` on a transparent image.
void efs50_tcas_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);

// Modes 0..3 of `du1000_ehsi_mode` (318 x 310 canvas); any other value draws the
// background and the data fields.
void du1000_ehsi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);

// Primus 1000 MFD (272 x 314 canvas): the heading-up map or the north-up plan view.
// The image keeps its pixels between frames: a full frame fills the background, a
// partial one wipes only the map area and the changed values.
void p1000_mfd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);

// ---- Pro Line 4 MFD renderers ----

void proline4_mfd_hsi_format_draw(const GaugeSurface* ctx, GfxGraphics* g);      // format 0
void proline4_mfd_heading_format_draw(const GaugeSurface* ctx, GfxGraphics* g);  // format 1
void proline4_mfd_plan_format_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode);  // format 2
void proline4_mfd_map_format_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode);   // format 3
// The moving map of formats 2 and 3, inside its clip; leaves the clip reset.
void proline4_mfd_map_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode);

// ---- EFS 50 EHSI renderers ----

void efs50_ehsi_rose_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode);  // formats 1..3
void efs50_ehsi_arc_draw(const GaugeSurface* ctx, GfxGraphics* g);                      // formats 4..7
void efs50_ehsi_data_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g);             // formats 1..7
void efs50_ehsi_deviation_draw(const GaugeSurface* ctx, GfxGraphics* g);                // formats 1..3
void efs50_ehsi_route_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g);            // map formats, FMS source

// ---- DU-1000 EHSI renderers ----

void du1000_ehsi_mode0_draw(const GaugeSurface* ctx, GfxGraphics* g);    // mode 0, full rose
void du1000_ehsi_heading_draw(const GaugeSurface* ctx, GfxGraphics* g);  // modes 1 and 3, arc
void du1000_ehsi_plan_draw(const GaugeSurface* ctx, GfxGraphics* g);     // mode 2 frame
void du1000_ehsi_data_draw(const GaugeSurface* ctx, GfxGraphics* g);     // modes 0, 1, 3
// The map contents of modes 2 and 3.
void du1000_ehsi_map_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode);
// Origin (pass 1) or destination (pass 2) selected runway about the current map frame.
void du1000_ehsi_runway_draw(const GaugeSurface* ctx, GfxGraphics* g, double ref_lat, double ref_lon, double kx,
                             double ky, int32_t pass);
