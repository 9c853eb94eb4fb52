// MD-11 ND route overlay: TOC/TOD, selected runways, the plan from its origin, the
// pending copy of the active plan, the tuned NAV 1 station and the hold.
#include <cmath>
#include <cstring>

#include "draw/route_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "draw/holding_pattern_layer.h"
#include "draw/map_symbols.h"
#include "draw/toc_tod_layer.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

constexpr uint32_t RUNWAY_CYAN = 0xFF02A7EB;

// The active waypoint's label and symbol give way to the tuned station of the same
// ident when the DME agrees within 20 NM.
bool tuned_station_covers(const FlightPlanWpt& w) {
  char ident[16];
  host_ident(get_nav1_ident(), ident, sizeof ident);
  if (std::strcmp(ident, w.ident) != 0) return false;
  if (!measure_from(present_lat, present_lon, w.lat, w.lon)) return false;
  return std::fabs(dme1_distance - gc_distance_nm) <= 20;
}

}  // namespace

void md11_nd_route_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxFont* font12 = o.font(FONT_ARIAL, 12, GFX_FONT_BOLD);
  GfxFont* font10 = o.font(FONT_ARIAL, 10, GFX_FONT_BOLD);
  GfxPen* magenta = o.pen(COLOUR_MAGENTA, 2);
  GfxPen* magenta_dash = o.pen(COLOUR_MAGENTA, 2, GFX_DASH_DASH);
  GfxPen* white_pen = o.pen(COLOUR_WHITE, 2);
  GfxPen* cyan_pen = o.pen(RUNWAY_CYAN, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  GfxBrush* magenta_brush = o.brush(COLOUR_MAGENTA);
  GfxBrush* cyan = o.brush(RUNWAY_CYAN);
  const int32_t mode = md11_nd_mode;
  const double cx = md11_nd_center_x, cy = md11_nd_center_y;
  const int32_t radius = md11_nd_map_radius;
  const double range = md11_nd_range;

  nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy);
  // APPR (5) would draw range arcs; the display calls the overlay in PLAN and MAP only.
  if (mode == 5 && nd_range_arcs_on == 1) draw_nd_range_arcs(g, white_pen);
  // PLAN is north up about the plan centre (the present position without a plan).
  RouteView v{present_lat, present_lon, mode == 2 ? 0.0 : map_heading};
  plan_centre_point(mode == 2, v.lat, v.lon);
  map_px_per_nm = radius / range;

  const bool plan = fpl_valid_index(fpl_active_index, fpl_active_last);
  if (plan && route_distance_to_go > 8 && mode != 2) {
    draw_tod_toc_markers(g, radius, range, 0, 0, TOC_TOD_STYLE_MD11, 1, 1, present_lat, present_lon, map_heading);
    nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy);
    map_px_per_nm = radius / range;
  }

  if (plan) {
    // Selected runways, each from its own airport block.
    const RwyRecord* dep = block_runway(1, origin_runway_index);
    const RwyRecord* arr = block_runway(2, dest_runway_index);
    if (range < 80) {
      RunwayLines l;
      if (dep && runway_lines(v, *dep, l)) {
        route_line(g, cyan_pen, l.far_end);
        route_line(g, white_pen, l.side_a);
        route_line(g, white_pen, l.side_b);
      }
      if (arr && runway_lines(v, *arr, l)) {
        route_line(g, white_pen, l.centre);
        route_line(g, cyan_pen, l.approach);
        route_line(g, white_pen, l.side_a);
        route_line(g, white_pen, l.side_b);
      }
    } else {
      double x, y;
      if (route_point(v, fpl_active[0].lat, fpl_active[0].lon, x, y)) {
        draw_text(g, font12, white, x + 7, y - 7, ND_TEXT_CAPACITY, fpl_active[0].ident);
        draw_ellipse_d(g, white_pen, x - 5, y - 5, 10, 10);
      }
    }

    // The plan from its origin.
    walk_route(v, fpl_active, 0, fpl_active_last, false, [&](const RouteStop& s) {
      const double x = s.x, y = s.y;
      const bool active = s.index == fpl_active_index;
      if (active && s.w.intc_course > -1) {
        double ex, ey;
        if (intercept_end(v, s.w, ex, ey)) draw_line_d(g, magenta, x, y, ex, ey);
      } else if (s.joined) {
        draw_line_d(g, magenta, s.prev_x, s.prev_y, x, y);
      }
      if (!(active && nav1_received() && tuned_station_covers(s.w)) && !repeats_active_fix(s.index)) {
        draw_text(g, font12, active ? magenta_brush : white, x + 7, y - 7, ND_TEXT_CAPACITY, s.w.ident);
        draw_map_symbol(g, x, y - 6, SYMBOL_STAR, -99, 1, 1, active ? 4 : 0, range);
      }
      if (s.index == 0 && dep) draw_text(g, font10, white, x + 7, y + 17, ND_TEXT_CAPACITY, dep->ident);
      if (s.index == fpl_active_last && arr) draw_text(g, font10, white, x + 7, y + 17, ND_TEXT_CAPACITY, arr->ident);
    });

    // Pending changes: the active plan again, dashed.
    if (fpl_changed_state == 4) {
      walk_route(v, fpl_active, 0, fpl_active_last, false, [&](const RouteStop& s) {
        if (s.joined) draw_line_d(g, magenta_dash, s.prev_x, s.prev_y, s.x, s.y);
        draw_text(g, font12, white, s.x + 7, s.y - 7, ND_TEXT_CAPACITY, s.w.ident);
        draw_map_symbol(g, s.x, s.y - 6, SYMBOL_STAR, -99, 1, 1, 0, range);
      });
    }
  }

  // The tuned NAV 1 station.
  if (nav1_received() && !is_nav1_localizer()) {
    double x = 0, y = 0;
    bool placed = false;
    // The relative bearing from the true heading: the map is drawn true.
    const double bearing = wrap360(map_heading + nav_rel_bearing);
    if (mode == 2) {
      double slat, slon;
      compute_dest_point(present_lat, present_lon, bearing, dme1_distance, slat, slon);
      placed = route_point(v, slat, slon, x, y);
    } else {
      map_distance_px = dme1_distance * map_px_per_nm;
      polar_to_screen(map_heading, bearing, 0, 0, map_distance_px, x, y);
      placed = std::isfinite(x) && std::isfinite(y);
    }
    if (placed) {
      char ident[16];
      host_ident(get_nav1_ident(), ident, sizeof ident);
      draw_map_symbol(g, x, y, SYMBOL_HEX_LOBES, -99, 1, 1, 1, range);
      draw_text(g, font12, cyan, x + 10, y - 3, ND_TEXT_CAPACITY, ident);
      draw_ellipse_d(g, magenta, x - 8, y - 8, 16, 16);
    }
  }

  nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy);
  if (mode != 2) draw_runway_centerline_layer(g, radius, 0, 0, range, 1, 1);
  nd_frame(g, ctx, CANVAS_MD11_ND);
  if (first_hold_on_active_plan()) draw_md11_nd_hold_layer(ctx, g, radius, cx, cy, range, 1, 1);
}
