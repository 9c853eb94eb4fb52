// Pieces the Primus 1000 MFD renderers share: canvas, colours, the frame each
// renderer is given, route units and the map geometry.
#pragma once

#include "displays/nd_corporate/corporate_common.h"
#include "draw/map_symbols.h"
#include "flightplan/flight_plan.h"

constexpr DesignCanvas P1000 = CANVAS_P1000_MFD;
constexpr uint32_t P1000_WHITE = COLOUR_WHITE;
constexpr uint32_t P1000_CYAN = CORP_CYAN;
constexpr uint32_t P1000_GREEN = COLOUR_LIGHT_GREEN;
constexpr uint32_t P1000_MAGENTA = COLOUR_MAGENTA;
constexpr uint32_t P1000_AMBER = COLOUR_AMBER;
constexpr uint32_t P1000_YELLOW = COLOUR_YELLOW;

// One draw of the display as its renderers see it.
struct P1000Frame {
  const GaugeSurface* ctx;
  bool full;           // full repaint: the background was filled, legends and frame lines are drawn
  double map_up;       // map up direction: 0 in the plan view, else `map_heading`
  uint32_t background; // background colour of the wipes
  // Position at the map centre, which every map layer measures from: in the plan view
  // the active waypoint (the next placed record at a route break), else the aircraft.
  double ref_lat, ref_lon;
};

// Resets the transform to the canvas scale (false when the image size is unusable).
bool p1000_canvas(GfxGraphics* g, const P1000Frame& f);

// Route units: eight per image pixel. The transform is reset and scaled by 1/8; a
// canvas point (X, Y) is (X sx, Y sy) with sx = 8 w / 272, sy = 8 h / 314, and so is a
// map distance across and down. False (sx = sy = 0) when the image size is unusable.
bool p1000_route_units(GfxGraphics* g, const P1000Frame& f, double& sx, double& sy);

// Screen point (route units) of where the direct-to being flown began; false without one
// or when it cannot be placed.
bool p1000_direct_origin_point(const P1000Frame& f, double sx, double sy, int32_t& x, int32_t& y);

// Marks a record's screen point as not placed; the waypoint data layer skips it.
void p1000_unplace(FlightPlanWpt& w);
bool p1000_placed(const FlightPlanWpt& w);

// ---- renderers ----

void p1000_mfd_set_clip(const P1000Frame& f, GfxGraphics* g, int32_t outline);
void p1000_mfd_compass_draw(const P1000Frame& f, GfxGraphics* g);
// The two range boxes on the ring, drawn over the map's items so that the range reads.
void p1000_mfd_range_boxes_draw(const P1000Frame& f, GfxGraphics* g);
// Their anchors (top-left corners, canvas units) in the view shown; each box is
// RANGE_BOX_WIDTH x RANGE_BOX_HEIGHT canvas units.
struct P1000RangeBoxes {
  DrawPoint at[2];
};
P1000RangeBoxes p1000_range_boxes();
void p1000_mfd_compass_label_draw(const P1000Frame& f, GfxGraphics* g, int32_t bearing);
void p1000_mfd_heading_marker_draw(const P1000Frame& f, GfxGraphics* g);
void p1000_mfd_status_draw(const P1000Frame& f, GfxGraphics* g);
void p1000_mfd_route_draw(const P1000Frame& f, GfxGraphics* g);
void p1000_mfd_tcas_window_draw(const P1000Frame& f, GfxGraphics* g);
void p1000_mfd_waypoint_data_draw(const P1000Frame& f, GfxGraphics* g);

class LoadState;
// The images the P1000 has painted, for the layer's reset.
void keep_p1000_mfd_frame_state(LoadState& state);
