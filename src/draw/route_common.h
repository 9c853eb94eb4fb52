// Route-overlay helpers shared by the navigation displays.
#pragma once

#include <cstdint>

#include "draw/nd_common.h"
#include "flightplan/flight_plan.h"
#include "navdb/navdb.h"

// Reference position and up direction of a route map.
struct RouteView {
  double lat, lon;
  double heading;
};

// Offset of a position from the map origin in design units (map_px_per_nm must be
// set); false when it cannot be placed (a position that is not finite).
bool route_point(const RouteView& v, double lat, double lon, double& x, double& y);

// Draws the whole ident of route record `w` at (x, y) (a map label of a navaid or an
// airport goes through draw_map_label's shorter buffer).
void draw_route_label(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y,
                      const FlightPlanWpt& w);

// A record of the active plan other than the active waypoint at the active waypoint's fix
// (the same ident at the same place, e.g. a fix flown twice): its label and star would
// cover the active waypoint's magenta ones, so the route overlays leave them out.
bool repeats_active_fix(int32_t index);

// A placed record of a route walk.
struct RouteStop {
  int32_t index;
  const FlightPlanWpt& w;
  double x, y;            // place on the map
  bool joined;            // the pen is down: a leg joins it to the place before
  double prev_x, prev_y;  // place of the record placed before (the map origin before the first)
};

// Walks records first..last of `plan` in order with the pen down at the start when
// `pen_down` holds. A break, or a record that cannot be placed, lifts the pen; every
// other record is passed to `draw` and puts the pen down.
template <typename Draw>
void walk_route(const RouteView& v, const FlightPlanWpt* plan, int32_t first, int32_t last, bool pen_down, Draw draw) {
  double prev_x = 0, prev_y = 0;
  for (int32_t i = first; i <= last; ++i) {
    const FlightPlanWpt& w = plan[i];
    double x, y;
    if (fpl_route_break(w) || !route_point(v, w.lat, w.lon, x, y)) {
      pen_down = false;
      continue;
    }
    draw(RouteStop{i, w, x, y, pen_down, prev_x, prev_y});
    prev_x = x;
    prev_y = y;
    pen_down = true;
  }
}

// Draws segment s[0], s[1] to s[2], s[3] (design units).
void route_line(GfxGraphics* g, const GfxPen* pen, const double* s);

// The end of an active leg flown on an intercept course: 200 NM from the map
// origin along the course from the waypoint to the point 200 NM down the course.
bool intercept_end(const RouteView& v, const FlightPlanWpt& w, double& x, double& y);

// A selected runway of an airport block (1-based index), or null when none.
const RwyRecord* block_runway(int32_t block, int32_t index);

// The lines of a selected runway whose threshold lies within 100 NM of the
// reference, each placed like the route (design units, map origin at 0, 0).
struct RunwayLines {
  double centre[4];     // threshold to far end
  double far_end[4];    // 0.7 L beyond the threshold, 18 NM on
  double approach[4];   // 0.2 L behind the threshold, 18 NM back
  double side_a[4];     // half a mile left of the centre line, L long
  double side_b[4];     // half a mile right
};
bool runway_lines(const RouteView& v, const RwyRecord& r, RunwayLines& out);
