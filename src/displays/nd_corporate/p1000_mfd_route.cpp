// Primus 1000 MFD route layer: the active plan as a polyline in route units, the
// previous leg, and in the plan view the aircraft where it stands on the plan. The
// screen point of each plotted record is stored for the waypoint data layer.
#include <cmath>

#include "displays/nd_corporate/p1000_common.h"
#include "draw/map_symbols.h"
#include "draw/route_common.h"
#include "flightplan/fpl_ops.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"

namespace {

// A projection from a reference position onto a reference screen point, in route
// units: a design offset across times sx, down times sy.
struct RoutePlot {
  RouteView v;
  double x0, y0;
  double sx, sy;

  // The integer screen point of a position; false when it cannot be placed.
  bool place(double lat, double lon, int32_t& x, int32_t& y) const {
    double dx, dy;
    return route_point(v, lat, lon, dx, dy) && trunc_coord(x0 + dx * sx, x) && trunc_coord(y0 + dy * sy, y);
  }
  bool place(double dx, double dy, double& x, double& y) const {
    int32_t ix, iy;
    if (!trunc_coord(x0 + dx * sx, ix) || !trunc_coord(y0 + dy * sy, iy)) return false;
    x = ix;
    y = iy;
    return true;
  }
};

void store(FlightPlanWpt& w, double x, double y) {
  w.screen_x = int32_t(x);
  w.screen_y = int32_t(y);
}

RoutePlot route_plot(const P1000Frame& f, double sx, double sy) {
  return {{f.ref_lat, f.ref_lon, f.map_up}, p1000_map_cx * sx, p1000_map_cy * sy, sx, sy};
}

// The dashed leg into the active waypoint from the record before it (the map view), or
// from where a direct route was started (both views: the plan view draws the record's
// own leg, not the one flown).
void previous_leg(const RoutePlot& p, GfxGraphics* g, LayerObjects& o, double sx, bool plan_view) {
  const int32_t active = fpl_active_index;
  if (DispPrevWpt != 1 || active < 1 || !(p1000_mfd_range >= 5.0)) return;
  FlightPlanWpt& prev = fpl_active[active - 1];
  const FlightPlanWpt& to = fpl_active[active];
  const bool direct = dto_active != 0;
  if (fpl_route_break(to) || (!direct && (plan_view || fpl_route_break(prev)))) return;
  int32_t x1, y1, x2, y2;
  const bool start = direct ? p.place(dto_origin_lat, dto_origin_lon, x1, y1)
                            : p.place(prev.lat, prev.lon, x1, y1);
  if (!start) return;
  if (!direct) store(prev, x1, y1);
  if (p.place(to.lat, to.lon, x2, y2)) gfx_draw_line(g, o.pen(P1000_YELLOW, 2 * sx, GFX_DASH_DASH), x1, y1, x2, y2);
}

}  // namespace

bool p1000_direct_origin_point(const P1000Frame& f, double sx, double sy, int32_t& x, int32_t& y) {
  return dto_active != 0 && route_plot(f, sx, sy).place(dto_origin_lat, dto_origin_lon, x, y);
}

void p1000_mfd_route_draw(const P1000Frame& f, GfxGraphics* g) {
  double sx, sy;
  const double range = p1000_mfd_range;
  const bool plan_view = p1000_plan_view != 0;
  const bool route = corp_plan_active() && std::isfinite(range) && range > 0;
  if (!p1000_route_units(g, f, sx, sy)) return;
  LayerObjects o(g);
  const double ax = p1000_map_cx * sx, ay = p1000_map_cy * sy;
  double plane_x = ax, plane_y = ay;  // the aircraft's point

  if (route) {
    const int32_t active = fpl_active_index, last = fpl_active_last;
    map_px_per_nm = p1000_map_radius / range;
    const int32_t first = plan_view ? 0 : active;
    for (int32_t i = first > 0 ? first - 1 : 0; i <= last; ++i) p1000_unplace(fpl_active[i]);
    GfxPen* white = o.pen(P1000_WHITE, 2 * sx);
    const RoutePlot p = route_plot(f, sx, sy);
    if (!plan_view) previous_leg(p, g, o, sx, false);
    walk_route(p.v, fpl_active, first, last, !plan_view, [&](const RouteStop& s) {
      double x, y, px, py;
      if (!p.place(s.x, s.y, x, y)) return;
      store(fpl_active[s.index], x, y);
      if (s.joined && p.place(s.prev_x, s.prev_y, px, py)) draw_line_d(g, white, px, py, x, y);
    });
    if (plan_view) previous_leg(p, g, o, sx, true);
    if (plan_view) {
      double dx, dy;
      if (!route_point(p.v, present_lat, present_lon, dx, dy) || !p.place(dx, dy, plane_x, plane_y)) {
        plane_x = ax;
        plane_y = ay;
      }
    }
  }

  if (plan_view) {
    // Route units back to canvas units for the symbol under the canvas scale.
    p1000_canvas(g, f);
    gfx_translate(g, plane_x / sx, plane_y / sy, GFX_PREPEND);
    // True heading on the north-up map.
    if (std::isfinite(map_heading)) gfx_rotate(g, map_heading, GFX_PREPEND);
    draw_map_symbol(g, 0, -9, SYMBOL_OWN_AIRCRAFT, -99, 1.0, 1.0, 0, range);
  }
  p1000_canvas(g, f);
}
