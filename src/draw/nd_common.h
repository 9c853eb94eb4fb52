// Helpers shared by the navigation displays: frame opening, background colour,
// angle wraps, TO/FROM, ETA clock, gates and the layer trace.
#pragma once

#include <cstdint>

#include "draw/draw_toolkit.h"
#include "draw/gauge_surface.h"
#include "draw/map_layer_frame.h"
#include "guidance/eta_clock.h"
#include "platform/gfx/gfx.h"
#include "platform/host/gauge_host.h"

// Wide buffer of a display text.
constexpr int32_t ND_TEXT_CAPACITY = 64;

// Called with each layer's name just before a dispatcher calls it; null for none.
extern void (*nd_layer_trace)(const char* layer);
// Reports a layer call to nd_layer_trace.
void nd_trace(const char* layer);

// Opaque background colour from three settings (low byte of each).
uint32_t nd_background_colour(int32_t red, int32_t green, int32_t blue);

// An angle brought into 0..360 (360 excluded); a non-finite angle gives 0.
double wrap360(double deg);

// TO when the smallest angle between the station bearing and the course is below
// 90 degrees; exactly 90 (and beyond) is FROM.
bool nav_shows_to(double station_bearing, double course);

// Station bearing from a relative bearing and the heading, brought into 0..360.
double station_bearing(double relative_bearing, double hdg);

// Resets the transform, scales the canvas to the drawing record's image size,
// translates to (tx, ty) and rotates by `rot` degrees. False when the size is unusable.
bool nd_frame(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double tx = 0, double ty = 0,
              double rot = 0);

// Opens a dispatcher's draw without filling it: records the image size and makes the
// graphics (high-quality smoothing, antialiased text, `canvas` framed). Without display
// power or in draw mode 2 the image is cleared, `cleared` set and null returned.
GfxGraphics* nd_open_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode,
                          DesignCanvas canvas, bool& cleared);
// Opens a dispatcher's draw: records the image size, makes the graphics (high-quality
// smoothing) and, when `clear_first` holds, clears the image. Without display power or
// in draw mode 2 the image is cleared, nothing else is drawn and null is returned;
// otherwise the text is antialiased, `canvas` framed and filled with `background_argb`
// by the brush returned in `background`.
GfxGraphics* nd_begin_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode,
                           DesignCanvas canvas, uint32_t background_argb, bool clear_first, GfxBrush*& background);
// Releases the background brush and the graphics of nd_begin_draw.
void nd_end_draw(GfxGraphics* g, GfxBrush* background);

// Draws a closed or open polyline of design points.
template <int32_t N>
inline void nd_polyline(GfxGraphics* g, const GfxPen* pen, const DrawPoint (&pts)[N]) {
  draw_lines_d(g, pen, pts, N);
}
template <int32_t N>
inline void nd_fill(GfxGraphics* g, const GfxBrush* brush, const DrawPoint (&pts)[N]) {
  fill_polygon_d(g, brush, pts, N);
}

// Whether a fix-info reference fix is in use.
bool fix_info_in_use();
// Whether the first hold is on a record of the active plan.
bool first_hold_on_active_plan();
// The altitude-arc gate: autopilot on, vertical-speed hold, above the selected
// altitude and descending faster than 200 ft/min.
bool altitude_arc_gate();
// A NAV 1 station is received.
bool nav1_received();
// A station ident from the host, copied into a bounded buffer.
void host_ident(const char* text, char* out, int32_t size);
