// Route overlays of the B737 ND (active and pending plan) and the MD-80 EHSI.
#include <cmath>
#include <vector>

#include "draw/route_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "draw/map_symbols.h"
#include "draw/toc_tod_layer.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"

namespace {

constexpr uint32_t PENDING_CYAN = 0xFF02A7EB;

double b737_origin_y() { return (b737_nd_mode == 6 || b737_nd_mode == 7) ? 171 : 249; }

void b737_runways(GfxGraphics* g, const RouteView& v, LayerObjects& o, GfxFont* font) {
  GfxPen* white = o.pen(COLOUR_WHITE, 2, GFX_DASH_DASH);
  GfxPen* yellow = o.pen(COLOUR_YELLOW, 2, GFX_DASH_DASH);
  if (b737_nd_range < 80) {
    RunwayLines l;
    if (const RwyRecord* dep = block_runway(1, origin_runway_index); dep && runway_lines(v, *dep, l)) {
      route_line(g, white, l.far_end);
      route_line(g, yellow, l.approach);
      route_line(g, white, l.side_a);
      route_line(g, white, l.side_b);
    }
    if (const RwyRecord* arr = block_runway(2, dest_runway_index); arr && runway_lines(v, *arr, l)) {
      route_line(g, white, l.centre);
      route_line(g, white, l.far_end);
      route_line(g, white, l.approach);
      route_line(g, white, l.side_a);
      route_line(g, white, l.side_b);
    }
  } else {
    double x, y;
    if (fpl_active_last >= 0 && route_point(v, fpl_active[0].lat, fpl_active[0].lon, x, y)) {
      GfxBrush* brush = o.brush(COLOUR_WHITE);
      draw_text(g, font, brush, x + 7, y - 7, ND_TEXT_CAPACITY, fpl_active[0].ident);
      draw_ellipse_d(g, o.pen(COLOUR_WHITE, 2), x - 5, y - 5, 10, 10);
    }
  }
}

}  // namespace

void draw_nd_range_arcs(GfxGraphics* g, const GfxPen* pen) {
  draw_arc_d(g, pen, -54, -54, 108, 108, 180, 180);
  draw_arc_d(g, pen, -108, -108, 217, 217, 180, 180);
  draw_arc_d(g, pen, -162, -162, 325, 325, 180, 180);
}

void b737_nd_route_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxFont* font = o.font(FONT_ZUDUZ, 12, GFX_FONT_BOLD);
  GfxPen* magenta = o.pen(COLOUR_MAGENTA, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  GfxBrush* magenta_brush = o.brush(COLOUR_MAGENTA);
  const int32_t mode = b737_nd_mode;
  const double oy = b737_origin_y();
  nd_frame(g, ctx, CANVAS_B737_ND, 122, oy);

  if (mode == 5 && nd_range_arcs_on == 1) draw_nd_range_arcs(g, o.pen(COLOUR_WHITE, 2));

  RouteView v{present_lat, present_lon, map_heading};
  if (mode == 7 && plan_centre_point(true, v.lat, v.lon)) v.heading = 0;
  map_px_per_nm = b737_nd_map_radius / b737_nd_range;

  // An ident that would run under the vertical-deviation scale's box stands left of its point.
  const bool scale = b737_nd_deviation_scale_shown();
  auto label_x = [&](double x, double y, double w) {
    const double left = 122 + x + 7, top = oy + y - 7;
    const bool under = scale && left < B737_VDEV_BOX[0] + B737_VDEV_BOX[2] && left + w > B737_VDEV_BOX[0] &&
                       top < B737_VDEV_BOX[1] + B737_VDEV_BOX[3] && top + 12 > B737_VDEV_BOX[1];
    return under ? x - 10 - w : x + 7;  // clear of the star's left arm
  };

  const bool plan = fpl_valid_index(fpl_active_index, fpl_active_last);
  std::vector<MapTextBox> idents;  // the route's idents as drawn, kept clear by the markers' labels
  if (plan) {
    b737_runways(g, v, o, font);

    // Previous waypoint.
    if (DispPrevWpt == 1 && fpl_active_index >= 1 && b737_nd_range >= 5 && mode != 7) {
      const FlightPlanWpt& prev = fpl_active[fpl_active_index - 1];
      const FlightPlanWpt& act = fpl_active[fpl_active_index];
      bool dct = dto_active == 1;
      double px, py, ax, ay;
      if (!(dct ? false : fpl_route_break(prev)) &&
          route_point(v, dct ? dto_origin_lat : prev.lat, dct ? dto_origin_lon : prev.lon, px, py) &&
          route_point(v, act.lat, act.lon, ax, ay)) {
        GfxBrush* yellow = o.brush(COLOUR_YELLOW);
        draw_text(g, font, yellow, px + 7, py - 7, ND_TEXT_CAPACITY, dct ? "DCT" : prev.ident);
        draw_map_symbol(g, px, py - 6, SYMBOL_STAR, -99, 1, 1, 5, b737_nd_range);
        draw_line_d(g, o.pen(COLOUR_YELLOW, 2, GFX_DASH_DASH), px, py, ax, ay);
      }
    }

    // Legs from the aircraft (from the origin in plan mode).
    walk_route(v, fpl_active, mode == 7 ? 0 : fpl_active_index, fpl_active_last, true, [&](const RouteStop& s) {
      const double x = s.x, y = s.y;
      const bool active = s.index == fpl_active_index;
      if (active && s.w.intc_course > -1) {
        double ex, ey;
        if (intercept_end(v, s.w, ex, ey)) draw_line_d(g, magenta, x, y, ex, ey);
      } else if (s.joined && s.index > 0) {
        draw_line_d(g, magenta, s.prev_x, s.prev_y, x, y);
      }
      if (repeats_active_fix(s.index)) return;
      const double w = text_width(g, font, ND_TEXT_CAPACITY, s.w.ident), lx = label_x(x, y, w);
      draw_text(g, font, active ? magenta_brush : white, lx, y - 7, ND_TEXT_CAPACITY, s.w.ident);
      idents.push_back({lx, y - 7, lx + w, y + 5});
      draw_map_symbol(g, x, y - 6, SYMBOL_STAR, -99, 1, 1, active ? 4 : 0, b737_nd_range);
    });
  }

  nd_frame(g, ctx, CANVAS_B737_ND, 122, oy);
  if (route_distance_to_go > 8 && plan && mode != 7)
    draw_tod_toc_markers(g, b737_nd_map_radius, b737_nd_range, 0, 0, TOC_TOD_STYLE_B737, 1, 1, present_lat,
                         present_lon, map_heading,
                         [&](double x, double y, const char* ident) {
                           return label_x(x, y, text_width(g, font, ND_TEXT_CAPACITY, ident)) < x;
                         },
                         idents);
  if (loaded_rwy_index != -999 && mode != 7)
    draw_runway_centerline_layer(g, b737_nd_map_radius, 0, 0, b737_nd_range, 1, 1);
}

namespace {

// The edit plan's legs from the pending record on (from record 0 about the plan centre
// in a plan mode), dashed in `colour` (white while a change of the active route waits).
struct ModRouteMap {
  DesignCanvas canvas;
  double origin_y;
  bool plan;
  uint32_t colour;
  double symbol_range;
};

void draw_mod_route(const GaugeSurface* ctx, GfxGraphics* g, const ModRouteMap& m) {
  nd_frame(g, ctx, m.canvas, 122, m.origin_y);
  if (!fpl_valid_index(fpl_edit_index, fpl_edit_last)) return;
  LayerObjects o(g);
  GfxFont* font = o.font(FONT_ZUDUZ, 12, GFX_FONT_BOLD);
  GfxPen* pen = o.pen(fpl_changed_state == 4 ? COLOUR_WHITE : m.colour, 2, GFX_DASH_DASH);
  GfxBrush* white = o.brush(COLOUR_WHITE);

  RouteView v{present_lat, present_lon, map_heading};
  int32_t first = fpl_edit_index;
  if (m.plan) {
    int32_t k = plan_center_index >= 1 && fpl_valid_index(plan_center_index, fpl_edit_last) ? plan_center_index
                                                                                             : fpl_edit_index;
    v = {fpl_edit[k].lat, fpl_edit[k].lon, 0};
    first = 0;
  }

  double prev_x = 0, prev_y = 0;
  bool pen_down = true;
  for (int32_t i = first; i <= fpl_edit_last; ++i) {
    const FlightPlanWpt& w = fpl_edit[i];
    if (fpl_route_break(w)) {
      pen_down = false;
      continue;
    }
    double dx, dy;
    if (!route_point(v, w.lat, w.lon, dx, dy)) {
      pen_down = false;
      continue;
    }
    const double x = std::trunc(dx), y = std::trunc(dy);
    if (i == fpl_edit_index && w.intc_course > -1) {
      double ex, ey;
      if (intercept_end(v, w, ex, ey)) draw_line_d(g, pen, x, y, std::trunc(ex), std::trunc(ey));
    } else if (pen_down) {
      draw_line_d(g, pen, prev_x, prev_y, x, y);
    }
    prev_x = x;
    prev_y = y;
    pen_down = true;
    if (i != fpl_active_index) draw_text(g, font, white, x + 7, y - 7, ND_TEXT_CAPACITY, w.ident);
    draw_map_symbol(g, x, y - 3, SYMBOL_STAR, -99, 1, 1, 0, m.symbol_range);
  }
}

}  // namespace

void b737_nd_mod_route_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  map_px_per_nm = b737_nd_map_radius / b737_nd_range;
  draw_mod_route(ctx, g, {CANVAS_B737_ND, b737_origin_y(), b737_nd_mode == 7, PENDING_CYAN, b737_nd_range});
}

void c17_mfd_mod_route_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  // The scale is the one the layer before left in map_px_per_nm.
  const int32_t mode = c17_mfd_mode;
  draw_mod_route(ctx, g, {CANVAS_C17_MFD, (mode == 6 || mode == 7) ? 171.0 : 249.0, mode == 7, 0xFF18C2E7,
                          c17_mfd_range});
}

void md80_ehsi_route_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g, double sx, double sy,
                                  double map_heading_deg, double ref_lat, double ref_lon) {
  (void)ctx;
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return;
  LayerObjects o(g);
  GfxFont* font = o.font(FONT_ARIAL, 12 * sx, GFX_FONT_BOLD);
  GfxPen* magenta = o.pen(COLOUR_MAGENTA, 2 * sx);
  GfxBrush* magenta_brush = o.brush(COLOUR_MAGENTA);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  RouteView v{ref_lat, ref_lon, map_heading_deg};
  walk_route(v, fpl_active, 0, fpl_active_last, false, [&](const RouteStop& s) {
    const double x = s.x, y = s.y;
    const bool active = s.index == fpl_active_index;
    if (s.joined) draw_line_d(g, magenta, s.prev_x * sx, s.prev_y * sy, x * sx, y * sy);
    if (repeats_active_fix(s.index)) return;
    draw_map_symbol(g, x * sx, (y - 6) * sy, SYMBOL_STAR, -99, sx, sy, active ? 4 : 0, md80_ehsi_range);
    draw_text(g, font, active ? magenta_brush : white, (x + 7) * sx, (y - 7) * sy, ND_TEXT_CAPACITY, s.w.ident);
  });
}
