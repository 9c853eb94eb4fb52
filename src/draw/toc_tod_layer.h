// Top-of-climb and top-of-descent markers, the floating descent and climb
// indicators, and the approach pattern of the selected runway.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/gfx/gfx.h"

// Marker styles by display family.
constexpr int32_t TOC_TOD_STYLE_B737 = 8;      // B737 ND, MD-80 EHSI, C-17 MFD
constexpr int32_t TOC_TOD_STYLE_MD11 = 9;
constexpr int32_t TOC_TOD_STYLE_ARROW = 10;    // DU-1000 EHSI, Pro Line 4 MFD
constexpr int32_t TOC_TOD_STYLE_EFS50 = 5;
constexpr int32_t TOC_TOD_STYLE_P1000 = 2;

// Whether the route overlay drew a record's ident left of its point (x, y); none: right.
using IdentStandsLeft = std::function<bool(double x, double y, const char* ident)>;

// A text's box on the map, in the markers' units.
struct MapTextBox {
  double x0, y0, x1, y1;
};

// Radius and centre in design units, range in NM, w and s the x and y scales;
// positions measured from the reference point, up = `map_heading_deg`. A label on a
// record stands on the side away from the record's ident; a label that would stand on one of
// `idents` (the route's idents as drawn) or on an earlier label moves up or down clear of it.
void draw_tod_toc_markers(GfxGraphics* g, int32_t radius, double range, int32_t cx, int32_t cy, int32_t style,
                          double w, double s, double ref_lat, double ref_lon, double map_heading_deg,
                          const IdentStandsLeft& ident_left = nullptr, std::span<const MapTextBox> idents = {});

// Extended centre line, fan lines and traffic pattern of the selected runway of
// the loaded airport, with the pattern altitudes at ranges up to 20 NM when
// `DispAppPtrnAlts` is 1. Draws nothing without a selected runway in the table.
void draw_runway_centerline_layer(GfxGraphics* g, int32_t radius, int32_t cx, int32_t cy, double range,
                                  double xscale, double yscale);
// The same on a map whose up direction is `map_heading_deg`, measured from (ref_lat,
// ref_lon) instead of the present position.
void draw_runway_centerline_layer(GfxGraphics* g, int32_t radius, int32_t cx, int32_t cy, double range,
                                  double xscale, double yscale, double map_heading_deg, double ref_lat,
                                  double ref_lon);

// An airport elevation text in feet; 0 when it is not a number.
int32_t elevation_feet(const char* text);
