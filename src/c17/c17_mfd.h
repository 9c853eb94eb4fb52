// C-17 multifunction display: the draw dispatcher of the C17_MFD gauge and its pages.
//
// Design canvas 246 x 241 units, x right, y down. The page shown is the working
// state's format `c17_mfd_mode` (module/display_state.h): 0 HSI, 1 PFD, 3-5 the arc
// navigation formats, 6 north-up map, 9-11 engine pages, 12 configuration page; 2, 7,
// 8 and other values show the background alone. The dispatcher sets the rose
// geometry (`c17_mfd_rose_cx/_cy/_radius`, design units) for the format before a
// page draws.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"
#include "platform/host/gauge_host.h"

// Draws `instance` (0..9) into the image `dc` of width x height pixels. Instances 1..4
// load their record into the working state and save it back after a powered draw;
// 5..9 draw the working state; 0 and an unpowered display clear to transparent.
void c17_mfd_draw(GaugeSurface* surface, DeviceContext dc, int32_t width, int32_t height, int32_t instance);

// The gauge table's entry: the gauge's own surface, the instance from the frame.
void c17_mfd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t instance);

// Pages, drawn by the dispatcher for their format.
void c17_mfd_pfd_draw(const GaugeSurface* surface, GfxGraphics* g);
void c17_mfd_hsi_format_draw(const GaugeSurface* surface, GfxGraphics* g);
void c17_mfd_heading_box_draw(const GaugeSurface* surface, GfxGraphics* g);
void c17_mfd_config_page_draw(const GaugeSurface* surface, GfxGraphics* g);
void c17_mfd_nav_format_draw(const GaugeSurface* surface, GfxGraphics* g);
void c17_mfd_north_up_map_draw(const GaugeSurface* surface, GfxGraphics* g);
void c17_mfd_thrust_page_draw(const GaugeSurface* surface, GfxGraphics* g);
void c17_mfd_engine_dials_page_draw(const GaugeSurface* surface, GfxGraphics* g);
void c17_mfd_oil_page_draw(const GaugeSurface* surface, GfxGraphics* g);

// What moves with the aircraft on the map formats 3-6: navaids, airports, the active
// route, runway centre line, hold, TOD/TOC, fix-info fixes, altitude arc, runways and
// ATC boundaries, drawn over the format in the dispatcher's clip (format 6 draws it
// itself, north up about its map centre).
void c17_mfd_route_overlay_draw(const GaugeSurface* surface, GfxGraphics* g);

// Map centre of format 6 and its overlay: record `plan_center_index` of the active plan
// when it is a record 1..last of it, else the present position.
void c17_map_centre(double& lat, double& lon);
