// C-17 MFD route overlay: the layers, the active route and the markers that move with
// the aircraft on the map formats, in the fine frame (design lengths times kx, ky).
#include <algorithm>
#include <cmath>
#include <vector>

#include "c17/c17_mfd.h"
#include "c17/c17_page.h"
#include "draw/altitude_range_arc.h"
#include "draw/atc_boundary_layer.h"
#include "draw/fix_info_overlay.h"
#include "draw/holding_pattern_layer.h"
#include "draw/map_symbols.h"
#include "draw/navaid_layer.h"
#include "draw/nd_common.h"
#include "draw/nearby_airport_layer.h"
#include "draw/route_common.h"
#include "draw/runway_layer.h"
#include "draw/toc_tod_layer.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "navdb/navdb.h"

namespace {

// The active route: magenta legs between placed records (none into record 0, a break
// or a record that cannot be placed), idents and star symbols, the active one magenta.
// The idents' boxes go to `idents`, which the markers' labels keep clear of.
void draw_route(GfxGraphics* g, const RouteView& v, double kx, double ky, std::vector<MapTextBox>& idents) {
  LayerObjects o(g);
  const GfxPen* leg = o.pen(C17_MAGENTA, 2 * ky);
  const GfxFont* font = o.font(FONT_ARIAL, 10 * ky, GFX_FONT_BOLD);
  const GfxBrush* white = o.brush(C17_WHITE);
  const GfxBrush* magenta = o.brush(C17_MAGENTA);
  const double range = c17_mfd_range;
  const int32_t last = std::min(fpl_active_last, FPL_MAX_LAST);
  walk_route(v, fpl_active, 0, last, false, [&](const RouteStop& s) {
    const double x = std::trunc(s.x * kx), y = std::trunc(s.y * ky);
    if (s.joined) draw_line_d(g, leg, std::trunc(s.prev_x * kx), std::trunc(s.prev_y * ky), x, y);
    const bool active = s.index == fpl_active_index;
    const double lx = x + 7 * kx, w = text_width(g, font, C17_TEXT_CAPACITY, s.w.ident);
    draw_text(g, font, active ? magenta : white, lx, y - 7 * ky, C17_TEXT_CAPACITY, s.w.ident);
    idents.push_back({lx, y - 7 * ky, lx + w, y + 5 * ky});
    draw_map_symbol(g, x, y - 6 * ky, SYMBOL_STAR, -99, kx, ky, active ? 4 : 0, range);
  });
}

}  // namespace

void c17_map_centre(double& lat, double& lon) {
  lat = present_lat;
  lon = present_lon;
  if (fpl_active_index == 999 || plan_center_index < 1 || !fpl_valid_index(plan_center_index, fpl_active_last)) return;
  lat = fpl_active[plan_center_index].lat;
  lon = fpl_active[plan_center_index].lon;
}

void c17_mfd_route_overlay_draw(const GaugeSurface* surface, GfxGraphics* g) {
  if (!surface) return;
  const bool north_up = c17_mfd_mode == 6;
  RouteView v{present_lat, present_lon, north_up ? 0.0 : map_heading};
  if (north_up) c17_map_centre(v.lat, v.lon);
  double kx = 0, ky = 0;
  const auto fine_frame = [&] {
    return set_scaled_frame(g, surface->width, surface->height, CANVAS_C17_MFD, c17_mfd_rose_cx, c17_mfd_rose_cy, kx,
                            ky);
  };
  if (!fine_frame()) return;
  const double range = c17_mfd_range;
  const int32_t radius = c17_mfd_rose_radius;

  draw_c17_mfd_navaids_layer(surface, g, kx, ky, v.lat, v.lon, v.heading);
  draw_c17_mfd_airports_layer(surface, g, kx, ky, v.lat, v.lon, v.heading);
  std::vector<MapTextBox> idents;
  if (fpl_active_index != 999 && c17_mfd_route_on == 1) draw_route(g, v, kx, ky, idents);
  if (loaded_rwy_index != -999 && !north_up) draw_runway_centerline_layer(g, radius, 0, 0, range, kx, ky);
  // The layers below place what they draw from the present position at the frame's
  // origin: a map centred elsewhere moves the origin to the aircraft.
  double ax = 0, ay = 0;
  const bool placed = route_point(v, present_lat, present_lon, ax, ay);
  if (first_hold_on_active_plan() && placed) {
    gfx_translate(g, ax * kx, ay * ky, GFX_PREPEND);
    draw_c17_mfd_hold_layer(surface, g, kx, ky, v.lat, v.lon, v.heading);
    fine_frame();
  }
  draw_tod_toc_markers(g, radius, range, 0, 0, TOC_TOD_STYLE_B737, kx, ky, v.lat, v.lon, v.heading, nullptr, idents);
  if (fix_info_in_use()) draw_c17_mfd_fix_info_layer(surface, g, v.lat, v.lon);

  c17_frame(g, surface, c17_mfd_rose_cx, c17_mfd_rose_cy);
  if (!placed) return;
  // The arc lies ahead along the track: the true track on the north-up map, the track's
  // angle off the heading on the heading-up formats.
  if (altitude_arc_gate())
    draw_c17_mfd_altitude_arc(surface, g, ax, ay, c17_wrap180((north_up ? map_heading : 0.0) - drift_angle));
  int32_t x = 0, y = 0;
  if (!trunc_coord(ax, x) || !trunc_coord(ay, y)) return;
  if (loaded_rwy_count > 0 && range <= 2.5) draw_runway_layer(g, radius, x, y, range, v.heading, present_lat, present_lon);
  draw_atc_boundaries(g, radius, x, y, range, v.heading);
}
