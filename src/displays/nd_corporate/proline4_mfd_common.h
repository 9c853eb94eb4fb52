// Pieces the four Pro Line 4 MFD formats share: the air-data header, the arc
// heading scale, the heading read-out box, the selected-heading and track
// markers, the aircraft symbol, the wind arrow and the bearing pointer sources.
#pragma once

#include "displays/nd_corporate/corporate_common.h"

constexpr DesignCanvas PL4 = CANVAS_PROLINE4_MFD;
constexpr double PL4_CENTRE_X = 123;
// The arc formats' range label, from the screen's left edge (the design's -125 starts
// 2 units off the screen).
constexpr double PL4_RANGE_X = -PL4_CENTRE_X;
// "WX" at the top left, small enough to clear the header row below it.
constexpr double PL4_WX_PX = 10;

// Fonts, pens and brushes of one format (bold, pixel sizes).
struct Proline4Header {
  double y;
  double time_x, sat_x, tat_x;
  double tat;  // shown under "TAT"
};

// "UTC" time, "TAS", "GS", "SAT" and "TAT" in `font`.
void pl4_header(GfxGraphics* g, LayerObjects& o, const GfxFont* font, const Proline4Header& h);

// Heading scale of the arc formats about (123, cy): ticks within 60 degrees of
// screen up, labels every 30 degrees in `font` of `font_px` but where the heading
// box with its top at `box_top` covers them.
void pl4_arc_heading_scale(GfxGraphics* g, const GaugeSurface* ctx, double cy, double box_top, const GfxPen* pen,
                           const GfxFont* font, double font_px, const GfxBrush* brush);

// The selected heading's "HDG" read-out at (x, y); a negative x ends it `-x` units left of the
// screen's right edge by its measured width.
void pl4_selected_heading_readout(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y);

// The heading read-out box with its top at `top` and the heading at (109, text_y).
void pl4_heading_box(GfxGraphics* g, const GaugeSurface* ctx, const GfxBrush* fill, const GfxPen* pen,
                     const GfxFont* font, const GfxBrush* brush, double top, double text_y);

// Selected-heading marker at radius r about (123, cy), with the dashed line to it
// while the heading was changed lately.
void pl4_selected_heading(GfxGraphics* g, const GaugeSurface* ctx, double cy, double r, const GfxPen* pen,
                          const GfxPen* dashed);
// Track circle with its top at -top about (123, cy).
void pl4_track_marker(GfxGraphics* g, const GaugeSurface* ctx, double cy, double top, const GfxPen* pen);
// Aircraft cross with its tail at the origin of the current frame.
void pl4_aircraft_lines(GfxGraphics* g, const GfxPen* pen);
// Aircraft cross with its tail about (123, cy).
void pl4_aircraft(GfxGraphics* g, const GaugeSurface* ctx, double cy, const GfxPen* pen);
// Wind arrow at (20, 90) from a wind of 1 kt or more.
void pl4_wind_arrow(GfxGraphics* g, const GaugeSurface* ctx, const GfxPen* pen, bool north_up);

// A bearing pointer's source: its label, and its angle from screen up while its
// needle shows.
struct Proline4Pointer {
  const char* label;  // null for source 0
  bool shown;
  double angle;
};
Proline4Pointer pl4_pointer(int32_t pointer, int32_t source);
