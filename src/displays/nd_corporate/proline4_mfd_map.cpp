// Pro Line 4 MFD moving map of the PLAN (format 2) and MAP (format 3) formats:
// nearby layers by range, the active route with labels and symbols, markers,
// hold, boundaries, aircraft symbol and altitude arc, inside the format's clip.
#include <cmath>

#include "displays/nd_corporate/proline4_mfd_common.h"
#include "draw/altitude_range_arc.h"
#include "draw/atc_boundary_layer.h"
#include "draw/holding_pattern_layer.h"
#include "draw/intersection_layer.h"
#include "draw/map_symbols.h"
#include "draw/navaid_layer.h"
#include "draw/nearby_airport_layer.h"
#include "draw/route_common.h"
#include "draw/toc_tod_layer.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "navdb/navdb.h"

namespace {

// Clip of the format about its map centre: PLAN keeps the canvas below the summary
// with the wind corner cut off, MAP the range circle.
void set_map_clip(GfxGraphics* g, bool plan) {
  GfxPath* path = gfx_path_create(g);
  if (plan) {
    const GfxPoint p[] = {{-80, -80}, {123, -80}, {123, 138}, {-123, 138}, {-123, -40}, {-80, -80}};
    for (int32_t i = 0; i + 1 < 6; ++i) gfx_path_add_line(g, path, p[i].x, p[i].y, p[i + 1].x, p[i + 1].y);
  } else {
    gfx_path_add_ellipse(g, path, -140, -140, 280, 280);
  }
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

// The route in the fine grid: one white leg per pair of placed records, the FROM
// label cyan, the active magenta.
void route(GfxGraphics* g, LayerObjects& o, const RouteView& v, double sx, double sy, double range) {
  GfxPen* pen = o.pen(COLOUR_WHITE, 2 * sx);
  GfxFont* font = o.font(FONT_ARIAL, 12 * sx, GFX_FONT_BOLD);
  GfxBrush* cyan = o.brush(CORP_CYAN);
  GfxBrush* magenta = o.brush(COLOUR_MAGENTA);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  const int32_t active = fpl_active_index;
  walk_route(v, fpl_active, 0, fpl_active_last, false, [&](const RouteStop& s) {
    const double px = std::trunc(s.x * sx), py = std::trunc(s.y * sy);
    if (s.joined) draw_line_d(g, pen, std::trunc(s.prev_x * sx), std::trunc(s.prev_y * sy), px, py);
    // A later record at the active fix would paint over the active label.
    if (repeats_active_fix(s.index)) return;
    const bool from = s.index == active - 1, to = s.index == active;
    draw_route_label(g, font, from ? cyan : to ? magenta : white, px + 7 * sx, py - 8 * sy, s.w);
    draw_map_symbol(g, px, py - 6 * sx, SYMBOL_STAR, -99, sx, sy, from ? 1 : to ? 4 : 0, range);
  });
}

// PLAN: the aircraft where it stands from the plan centre, north up.
void plan_aircraft(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o, const RouteView& v) {
  double x = 0, y = 0;
  if (!route_point(v, present_lat, present_lon, x, y)) x = y = 0;
  nd_frame(g, ctx, PL4, PL4_CENTRE_X, 155);
  gfx_translate(g, corp_offset(x), corp_offset(y), GFX_PREPEND);
  if (std::isfinite(map_heading)) gfx_rotate(g, map_heading, GFX_PREPEND);  // true, on a north-up map
  pl4_aircraft_lines(g, o.pen(COLOUR_WHITE, 2));
}

}  // namespace

void proline4_mfd_map_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode) {
  LayerObjects o(g);
  const bool plan = proline4_mfd_format == 2;
  const double cy = plan ? 155 : 220;
  const double range = proline4_mfd_range;
  const double radius = proline4_mfd_map_radius;

  nd_frame(g, ctx, PL4, PL4_CENTRE_X, cy);
  set_map_clip(g, plan);
  RouteView v{present_lat, present_lon, plan ? 0.0 : map_heading};
  if (plan) plan_centre_point(true, v.lat, v.lon);
  // A range that cannot scale the map draws no map item.
  if (!(std::isfinite(range) && range > 0) || !ctx) {
    gfx_reset_clip(g);
    return;
  }

  double sx = 0, sy = 0;
  const bool grid = set_scaled_frame(g, ctx->width, ctx->height, PL4, PL4_CENTRE_X, cy, sx, sy);
  map_px_per_nm = radius / range;
  if (grid && range <= 160 && (mfd_vor_on == 1 || mfd_ndb_on == 1)) {
    nd_trace("navaids");
    draw_proline4_mfd_navaids_layer(ctx, g, v.lat, v.lon);
  }
  if (grid && range <= 80 && mfd_apt_on == 1) {
    nd_trace("airports");
    draw_proline4_mfd_airports_layer(ctx, g, v.lat, v.lon);
  }
  if (grid && range <= 40 && mfd_int_on == 1) {
    nd_trace("fixes");
    draw_proline4_mfd_fixes_layer(ctx, g, v.lat, v.lon);
  }

  set_scaled_frame(g, ctx->width, ctx->height, PL4, PL4_CENTRE_X, cy, sx, sy);
  map_px_per_nm = radius / range;
  if (grid && corp_plan_active()) {
    nd_trace("route");
    route(g, o, v, sx, sy, range);
  }
  if (grid && !plan) {
    nd_trace("toc_tod");
    draw_tod_toc_markers(g, int32_t(radius), range, 0, 0, TOC_TOD_STYLE_ARROW, sx, sy, present_lat, present_lon,
                         map_heading);
    if (loaded_rwy_index != -999) {
      nd_trace("centerline");
      set_scaled_frame(g, ctx->width, ctx->height, PL4, PL4_CENTRE_X, cy, sx, sy);
      draw_runway_centerline_layer(g, int32_t(radius), 0, 0, range, sx, sy);
    }
  }
  if (first_hold_on_active_plan()) {
    nd_trace("hold");
    draw_proline4_mfd_hold_layer(ctx, g, radius, 0, 0, range);
  }
  if (atc_bdry_on == 1 && draw_mode != 3) {
    nd_trace("boundaries");
    nd_frame(g, ctx, PL4, PL4_CENTRE_X, cy);
    draw_proline4_mfd_boundaries(ctx, g);
  }
  if (plan) plan_aircraft(g, ctx, o, v);
  if (!plan && altitude_arc_gate()) {
    nd_trace("altitude_arc");
    draw_proline4_mfd_altitude_arc(ctx, g);
  }
  gfx_reset_clip(g);
}
