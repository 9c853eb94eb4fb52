// EFS 50 EHSI route overlay of the map formats: the leg from the aircraft to the
// active waypoint, the later legs, each waypoint's symbol and ident, and the
// previous leg when asked for.
#include <cmath>
#include <cstring>

#include "displays/nd_corporate/efs50_common.h"
#include "draw/map_symbols.h"
#include "draw/route_common.h"
#include "flightplan/fpl_ops.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"

namespace {

int32_t symbol_code(const char* type) {
  if (std::strcmp(type, "VOR") == 0 || std::strcmp(type, "NDB") == 0) return SYMBOL_LOBED_CIRCLE;
  if (std::strcmp(type, "APT") == 0) return SYMBOL_TABBED_CIRCLE;
  return SYMBOL_STAR;
}

}  // namespace

void efs50_ehsi_route_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  if (!ctx || !corp_plan_active() || !efs50_range_usable()) return;
  const bool rose = efs50_ehsi_mode >= 1 && efs50_ehsi_mode <= 3;
  const double range = efs50_ehsi_range;
  double sx = 0, sy = 0;
  if (!set_scaled_frame(g, ctx->width, ctx->height, EFS50, EFS50_CX, efs50_centre_y(efs50_ehsi_mode), sx, sy)) return;
  LayerObjects o(g);
  GfxPen* white = o.pen(COLOUR_WHITE, 2 * sx);
  GfxPen* cyan = o.pen(CORP_CYAN, 2 * sx);
  GfxPen* yellow = o.pen(COLOUR_YELLOW, 2 * sx, GFX_DASH_DASH);
  GfxBrush* white_brush = o.brush(COLOUR_WHITE);
  GfxBrush* cyan_brush = o.brush(CORP_CYAN);
  GfxBrush* yellow_brush = o.brush(COLOUR_YELLOW);
  GfxFont* font = o.font(FONT_ZUDUZ, 12 * sx, GFX_FONT_BOLD);

  efs50_ehsi_map_radius = rose ? 50 : 95;
  if (rose) {
    GfxPath* path = gfx_path_create(g);
    gfx_path_add_ellipse(g, path, int32_t(-100 * sx), int32_t(-100 * sy), int32_t(200 * sx), int32_t(200 * sy));
    gfx_set_clip_path(g, path);
    gfx_path_delete(path);
  }
  map_px_per_nm = efs50_ehsi_map_radius / range;
  // Design offsets from the aircraft, x scaled by sx and y by sy.
  const RouteView v{present_lat, present_lon, map_heading};
  auto place = [&](double lat, double lon, double& x, double& y) {
    if (!route_point(v, lat, lon, x, y)) return false;
    x = std::trunc(x * sx);
    y = std::trunc(y * sy);
    return true;
  };

  const int32_t active = fpl_active_index;
  const FlightPlanWpt& to = fpl_active[active];
  double ax, ay;
  if (DispPrevWpt == 1 && active >= 1 && range >= 5.0 && !fpl_route_break(to) && place(to.lat, to.lon, ax, ay)) {
    const bool dct = dto_active != 0;
    const FlightPlanWpt& prev = fpl_active[active - 1];
    double px, py;
    if ((dct || !fpl_route_break(prev)) &&
        place(dct ? dto_origin_lat : prev.lat, dct ? dto_origin_lon : prev.lon, px, py)) {
      if (dct)
        draw_map_label(g, font, yellow_brush, px + 7 * sx, py - 7 * sy, "DCT", false);
      else
        draw_route_label(g, font, yellow_brush, px + 7 * sx, py - 7 * sy, prev);
      const int32_t code = dct ? SYMBOL_STAR : symbol_code(prev.type);
      draw_map_symbol(g, px, py - (code == SYMBOL_STAR ? 6 : 3) * sy, code, -99, sx, sy, 5, range * sx);
      draw_line_d(g, yellow, px, py, ax, ay);
    }
  }

  walk_route(v, fpl_active, active, fpl_active_last, true, [&](const RouteStop& s) {
    const double x = std::trunc(s.x * sx), y = std::trunc(s.y * sy);
    const bool first = s.index == active;
    if (s.joined) draw_line_d(g, first ? cyan : white, std::trunc(s.prev_x * sx), std::trunc(s.prev_y * sy), x, y);
    // A later record at the active fix would paint over the active label.
    if (repeats_active_fix(s.index)) return;
    const int32_t code = symbol_code(s.w.type);
    const double k = code == SYMBOL_STAR ? 6 : 3;
    if (first)
      draw_route_label(g, font, cyan_brush, x + 7, y - 7, s.w);
    else
      draw_route_label(g, font, white_brush, x + 7 * sx, y - 7 * sy, s.w);
    draw_map_symbol(g, x, y - k * (first ? sy : sx), code, -99, sx, sy, 1, range * sx);
  });
  gfx_reset_clip(g);
}
