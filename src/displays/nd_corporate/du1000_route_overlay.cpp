// DU-1000 EHSI map overlay of modes 2 and 3: navaid, airport and intersection
// layers, the selected runways, the active plan, the hold and, in mode 3, the
// fix-info, TOD/TOC, runway and boundary layers; in mode 2 the aircraft.
#include <cmath>
#include <cstring>

#include "displays/nd_corporate/du1000_common.h"
#include "draw/atc_boundary_layer.h"
#include "draw/fix_info_overlay.h"
#include "draw/holding_pattern_layer.h"
#include "draw/intersection_layer.h"
#include "draw/map_symbols.h"
#include "draw/navaid_layer.h"
#include "draw/nearby_airport_layer.h"
#include "draw/route_common.h"
#include "draw/runway_layer.h"
#include "draw/toc_tod_layer.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"

namespace {

struct ActiveStyle {
  uint32_t ident;
  int32_t code, flag;
};

ActiveStyle active_style(const char* type) {
  if (std::strcmp(type, "VOR") == 0 || std::strcmp(type, "NDB") == 0) return {CORP_CYAN, SYMBOL_CIRCLE_SIDE_STUBS, 1};
  if (std::strcmp(type, "APT") == 0) return {DU1000_WHITE, SYMBOL_CIRCLE, 0};
  return {DU1000_GREEN, SYMBOL_CIRCLE, 3};
}

double map_rotation() { return du1000_ehsi_mode == 2 ? 0.0 : map_heading; }

void route(GfxGraphics* g, const RouteView& v, double kx, double ky, double range) {
  LayerObjects o(g);
  GfxPen* pen = o.pen(DU1000_WHITE, 2 * kx);
  GfxFont* font = o.font(FONT_ARIAL, 15 * kx, GFX_FONT_BOLD);
  const int32_t active = fpl_active_index;
  walk_route(v, fpl_active, 0, fpl_active_last, false, [&](const RouteStop& s) {
    // Distances scale by kx across and ky down, as the other layers of this display.
    const double x = std::trunc(s.x * kx), y = std::trunc(s.y * ky);
    if (s.joined) draw_line_d(g, pen, std::trunc(s.prev_x * kx), std::trunc(s.prev_y * ky), x, y);
    // A later record at the active fix would paint over the active label.
    if (repeats_active_fix(s.index)) return;
    const ActiveStyle st = s.index == active && s.index > 0 ? active_style(s.w.type)
                                                            : ActiveStyle{DU1000_WHITE, SYMBOL_CIRCLE, 0};
    draw_route_label(g, font, o.brush(st.ident), x + 7 * kx, y - 15 * ky, s.w);
    draw_map_symbol(g, x, y - 6 * ky, st.code, -99, kx, ky, st.flag, range);
  });
}

}  // namespace

void du1000_ehsi_runway_draw(const GaugeSurface* ctx, GfxGraphics* g, double ref_lat, double ref_lon, double kx,
                             double ky, int32_t pass) {
  (void)ctx;
  const RwyRecord* r = block_runway(pass, pass == 1 ? origin_runway_index : dest_runway_index);
  if (!r) return;
  const double range = du1000_ehsi_range;
  map_px_per_nm = du1000_map_radius / range;
  // The block runway's own threshold: the last loaded list may be another airport.
  double x, y;
  if (!route_point(RouteView{ref_lat, ref_lon, map_rotation()}, r->lat, r->lon, x, y) || gc_distance_nm >= 100)
    return;
  const double k = (kx + ky) / 2;
  x = corp_offset(x * k);
  y = corp_offset(y * k);
  LayerObjects o(g);
  GfxPen* white = o.pen(DU1000_WHITE, 2 * ky);
  draw_textf(g, o.font(FONT_ARIAL, 15 * kx, GFX_FONT_BOLD), o.brush(DU1000_WHITE), x + 8 * kx, y, ND_TEXT_CAPACITY,
             "%.3s", r->ident);
  gfx_translate(g, x, y, GFX_PREPEND);
  // The runway heading is magnetic; mode 2 is north up, drawn true.
  gfx_rotate(g, du1000_ehsi_mode == 2 ? r->heading + magvar : r->heading - heading, GFX_PREPEND);
  if (range >= 60) {
    const DrawPoint symbol[] = {{0, 0},
                                {0, std::trunc(5 * ky)},
                                {std::trunc(4 * kx), std::trunc(5 * ky)},
                                {std::trunc(4 * kx), std::trunc(-10 * ky)},
                                {std::trunc(-4 * kx), std::trunc(-10 * ky)},
                                {std::trunc(-4 * kx), std::trunc(5 * ky)},
                                {0, std::trunc(5 * ky)}};
    nd_polyline(g, white, symbol);
  } else {
    draw_line_d(g, white, -4 * kx, 0, -4 * kx, -40 * ky);
    draw_line_d(g, white, 4 * kx, 0, 4 * kx, -40 * ky);
  }
}

void du1000_ehsi_map_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode) {
  const double range = du1000_ehsi_range;
  if (!ctx || !(range > 0) || !std::isfinite(range)) return;
  const bool plan = du1000_ehsi_mode == 2;
  const double cy = plan ? DU1000_ROSE_CY : DU1000_ARC_CY;
  const int32_t radius = du1000_map_radius;
  if (!plan) {
    nd_frame(g, ctx, DU1000, DU1000_CX, cy);
    GfxPath* path = gfx_path_create(g);
    gfx_path_add_ellipse(g, path, -234, -234, 468, 468);
    gfx_set_clip_path(g, path);
    gfx_path_delete(path);
  }
  double kx = 0, ky = 0;
  if (!set_scaled_frame(g, ctx->width, ctx->height, DU1000, DU1000_CX, cy, kx, ky)) {
    gfx_reset_clip(g);
    return;
  }
  double lat = present_lat, lon = present_lon;
  if (plan) plan_centre_point(true, lat, lon);
  const double rot = map_rotation();
  map_px_per_nm = radius / range;
  if (du1000_show_vor == 1 || du1000_show_ndb == 1) {
    nd_trace("navaids");
    draw_du1000_ehsi_navaids_layer(g, lat, lon, map_px_per_nm, kx, ky, range, rot, du1000_show_vor, du1000_show_ndb);
  }
  if (du1000_show_apt == 1 && range <= 120) {
    nd_trace("airports");
    draw_du1000_ehsi_airports_layer(g, lat, lon, map_px_per_nm, kx, ky, range, rot);
  }
  if (du1000_show_int == 1 && range <= 60) {
    nd_trace("fixes");
    draw_du1000_ehsi_fixes_layer(g, lat, lon, map_px_per_nm, kx, ky, range, rot);
  }
  const bool origin = origin_runway_index > 0, dest = dest_runway_index >= 1;
  if (origin) du1000_ehsi_runway_draw(ctx, g, lat, lon, kx, ky, 1);
  if (origin) set_scaled_frame(g, ctx->width, ctx->height, DU1000, DU1000_CX, cy, kx, ky);
  if (dest) du1000_ehsi_runway_draw(ctx, g, lat, lon, kx, ky, 2);
  if (origin || dest) set_scaled_frame(g, ctx->width, ctx->height, DU1000, DU1000_CX, cy, kx, ky);
  map_px_per_nm = radius / range;
  if (corp_plan_active()) {
    nd_trace("route");
    route(g, RouteView{lat, lon, rot}, kx, ky, range);
  }
  if (hold_fpl_index > 0) {
    nd_trace("hold");
    draw_du1000_ehsi_hold_layer(g, lat, lon, radius, range, kx, ky, rot);
  }
  if (!plan) {
    if (fix_info_in_use()) {
      nd_trace("fix_info");
      draw_du1000_ehsi_fix_info_layer(ctx, g);
    }
    set_scaled_frame(g, ctx->width, ctx->height, DU1000, DU1000_CX, DU1000_ARC_CY, kx, ky);
    nd_trace("toc_tod");
    draw_tod_toc_markers(g, radius, range, 0, 0, TOC_TOD_STYLE_ARROW, kx, ky, present_lat, present_lon, map_heading);
    if (loaded_rwy_index != -999) {
      nd_trace("centerline");
      draw_runway_centerline_layer(g, radius, 0, 0, range, kx, ky);
    }
    // With traffic shown the later layers draw under the plain canvas scale.
    if (tcas_shown == 1) nd_frame(g, ctx, DU1000);
    if (atc_bdry_on == 1 && draw_mode != 3) {
      nd_trace("boundaries");
      draw_du1000_ehsi_boundaries(ctx, g);
    }
    if (loaded_rwy_count > 0 && range <= 2.5) {
      nd_trace("runways");
      draw_runway_layer(g, radius, 0, 0, range);
    }
  } else {
    set_scaled_frame(g, ctx->width, ctx->height, DU1000, DU1000_CX, DU1000_ROSE_CY, kx, ky);
    double x, y;
    if (route_point(RouteView{lat, lon, 0}, present_lat, present_lon, x, y)) {
      gfx_translate(g, corp_offset(x * kx), corp_offset(y * ky), GFX_PREPEND);
      gfx_rotate(g, map_heading, GFX_PREPEND);  // true, on a north-up map
      LayerObjects o(g);
      du1000_aircraft(g, o.pen(DU1000_AMBER, 2 * kx), kx, ky);
    }
  }
  gfx_reset_clip(g);
}
