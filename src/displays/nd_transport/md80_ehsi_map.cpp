// MD-80 EHSI modes 2 (north-up plan) and 3 (heading-up map).
#include <cmath>
#include <cstdio>

#include "displays/nd_transport/md80_common.h"
#include "draw/altitude_range_arc.h"
#include "draw/atc_boundary_layer.h"
#include "draw/holding_pattern_layer.h"
#include "draw/intersection_layer.h"
#include "draw/navaid_layer.h"
#include "draw/nearby_airport_layer.h"
#include "draw/runway_layer.h"
#include "draw/toc_tod_layer.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "navdb/navdb.h"

namespace {

constexpr int32_t MAP_RADIUS = 180;

// The map section's frame: world units 16 times finer than the canvas, origin at
// the centre; kx, ky turn design lengths into world lengths.
bool map_frame(GfxGraphics* g, const GaugeSurface* ctx, double& kx, double& ky) {
  gfx_reset_transform(g);
  kx = ky = 0;
  if (!ctx || ctx->width <= 0 || ctx->height <= 0) return false;
  const double w = ctx->width, h = ctx->height;
  const double sx = w / (w + h) * 0.0625, sy = h / (w + h) * 0.0625;
  kx = (w / 266.0) / sx;
  ky = (h / 232.0) / sy;
  gfx_scale(g, sx, sy, GFX_PREPEND);
  gfx_translate(g, md80_ehsi_center_x * kx, md80_ehsi_center_y * ky, GFX_PREPEND);
  return true;
}

void distance_and_eta(GfxGraphics* g, const GfxFont* font, const GfxBrush* white) {
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return;
  draw_textf(g, font, white, -133, -200, ND_TEXT_CAPACITY, dist_to_active_wpt >= 100 ? "%-3.0fNM" : "%-3.1fNM",
             dist_to_active_wpt);
  draw_text(g, font, white, -133, -187, ND_TEXT_CAPACITY, "DTW");
  if (!(ground_speed > 30)) return;
  double m = dist_to_active_wpt / ground_speed * 60;
  double hours = 0;
  if (m / 60 >= 1) {
    hours = std::trunc(m / 60);
    m -= 60 * hours;
  }
  int32_t h = 0, mm = 0;
  eta_clock(zulu_hour, zulu_minute, hours, m, h, mm);
  draw_textf(g, font, white, 85, -200, ND_TEXT_CAPACITY, "%02.0f%02.0fZ", double(h), double(mm));
  draw_text(g, font, white, 90, -187, ND_TEXT_CAPACITY, "ETA");
}

void map_layers(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode) {
  const int32_t mode = md80_ehsi_mode;
  const double range = md80_ehsi_range;
  double kx, ky;
  map_frame(g, ctx, kx, ky);
  map_px_per_nm = MAP_RADIUS / range;
  double ref_lat = present_lat, ref_lon = present_lon, hdg = map_heading;
  if (mode == 2) {
    hdg = 0;
    plan_centre_point(true, ref_lat, ref_lon);
  }
  if (mode == 3) {
    nd_trace("toc_tod");
    draw_tod_toc_markers(g, MAP_RADIUS, range, 0, 0, TOC_TOD_STYLE_B737, kx, ky, ref_lat, ref_lon, hdg);
    if (md80_ehsi_nav_on == 1 && range <= 160) {
      nd_trace("navaids");
      draw_md80_ehsi_navaids_layer(ctx, g);
    }
    if (md80_ehsi_apt_on == 1 && range <= 160) {
      nd_trace("airports");
      draw_md80_ehsi_airports_layer(ctx, g);
    }
    if (md80_ehsi_int_on == 1 && range <= 80) {
      nd_trace("fixes");
      draw_md80_ehsi_fixes_layer(ctx, g);
    }
  }
  if (fpl_valid_index(fpl_active_index, fpl_active_last)) {
    nd_trace("route");
    map_frame(g, ctx, kx, ky);
    map_px_per_nm = MAP_RADIUS / range;
    md80_ehsi_route_overlay_draw(ctx, g, kx, ky, hdg, ref_lat, ref_lon);
  }
  if (mode == 3 && loaded_rwy_index != -999) {
    nd_trace("centerline");
    map_frame(g, ctx, kx, ky);
    draw_runway_centerline_layer(g, MAP_RADIUS, 0, 0, range, kx, ky);
  }
  if (first_hold_on_active_plan()) {
    nd_trace("hold");
    map_frame(g, ctx, kx, ky);
    draw_md80_ehsi_hold_layer(ctx, g, MAP_RADIUS, 0, 0, range, kx, ky);
  }
  if (mode == 3 && altitude_arc_gate()) {
    nd_trace("altitude_arc");
    nd_frame(g, ctx, CANVAS_MD80_EHSI, md80_ehsi_center_x, md80_ehsi_center_y);
    draw_md80_ehsi_altitude_arc(ctx, g);
  }
  if (mode == 3 && loaded_rwy_count >= 1 && range <= 2.5) {
    nd_trace("runways");
    // Drawn in design units about the centre: the layer takes no scale.
    nd_frame(g, ctx, CANVAS_MD80_EHSI, md80_ehsi_center_x, md80_ehsi_center_y);
    draw_runway_layer(g, MAP_RADIUS, 0, 0, range);
  }
  if (mode == 3 && atc_bdry_on == 1 && draw_mode != 3) {
    nd_trace("boundaries");
    draw_md80_ehsi_boundaries(ctx, g);
  }
}

}  // namespace

void md80_ehsi_map_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode) {
  LayerObjects o(g);
  GfxFont* z10 = o.font(FONT_ZUDUZ, 10, GFX_FONT_BOLD);
  GfxFont* z13 = o.font(FONT_ZUDUZ, 13, GFX_FONT_BOLD);
  GfxFont* z18 = o.font(FONT_ZUDUZ, 18, GFX_FONT_BOLD);
  GfxPen* white1 = o.pen(COLOUR_WHITE, 1);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  const DesignCanvas C = CANVAS_MD80_EHSI;
  const int32_t mode = md80_ehsi_mode;
  const double cx = md80_ehsi_center_x, cy = md80_ehsi_center_y;
  char half[32];
  md80_half_range_text(half, sizeof half);

  nd_frame(g, ctx, C, cx, cy);
  distance_and_eta(g, z13, white);
  draw_arc_d(g, white2, -180, -180, 360, 360, 222, 96);
  if (mode == 3) {
    draw_arc_d(g, white2, -90, -90, 180, 180, 219, 25);
    draw_arc_d(g, white2, -90, -90, 180, 180, 248, 50);
    draw_arc_d(g, white2, -90, -90, 180, 180, 301, 19);
    draw_line_d(g, white2, 0, -94, 0, -86);
    draw_text(g, z13, white, -75, -48, ND_TEXT_CAPACITY, half);
  }
  draw_line_d(g, white2, 0, -180, -5, -172);
  draw_line_d(g, white2, 0, -180, 5, -172);
  draw_line_d(g, white2, -5, -172, 5, -172);
  md80_heading_scale(g, ctx, white2, z18, white);
  md80_selected_heading(g, ctx, mode == 3);
  md80_track_diamond(g, ctx);

  nd_frame(g, ctx, C, cx, cy);
  GfxPath* clip = gfx_path_create(g);
  gfx_path_add_ellipse(g, clip, -180, -180, 360, 360);
  gfx_set_clip_path(g, clip);
  gfx_path_delete(clip);
  if (mode == 2) {
    md80_ehsi_center_y = int32_t(cy) - 70;
    nd_frame(g, ctx, C, md80_ehsi_center_x, md80_ehsi_center_y);
    draw_arc_d(g, white2, -70, -75, 140, 140, 180, 180);
    draw_text(g, z13, white, -85, -5, ND_TEXT_CAPACITY, half);
    draw_text(g, z13, white, 55, -5, ND_TEXT_CAPACITY, half);
    draw_arc_d(g, white2, -70, -60, 140, 140, 0, 180);
  }

  map_layers(ctx, g, draw_mode);

  gfx_reset_clip(g);
  nd_frame(g, ctx, C, md80_ehsi_center_x, md80_ehsi_center_y);
  if (mode == 2) {
    draw_text(g, z13, white, 113, -5, ND_TEXT_CAPACITY, "N");
    draw_line_d(g, white1, 120, 10, 120, 30);
    draw_line_d(g, white1, 120, 10, 117, 15);
    draw_line_d(g, white1, 120, 10, 123, 15);
  } else {
    draw_line_d(g, white2, 0, 0, 10, 20);
    draw_line_d(g, white2, 10, 20, -10, 20);
    draw_line_d(g, white2, -10, 20, 0, 0);
    if (wind_speed >= 1.0) {
      nd_frame(g, ctx, C, 10, 150);
      draw_textf(g, z10, white, -5, 20, ND_TEXT_CAPACITY, "%2.0f", wind_speed);
      md80_wind_arrow(g, ctx, 10, 150, white1);
    }
  }
}
