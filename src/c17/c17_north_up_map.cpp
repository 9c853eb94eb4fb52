// C-17 MFD format 6, the north-up map: heading and range readouts, a grid of whole
// degrees about the map centre, the route overlay and the aircraft where it stands.
#include <cmath>
#include <cstdlib>

#include "c17/c17_mfd.h"
#include "c17/c17_page.h"
#include "draw/route_common.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

constexpr double GRID_RANGE_LIMIT_NM = 320.0;

// A geographic point in the fine frame, truncated to whole units; false when it cannot
// be placed or lies beyond a pole.
bool grid_point(const RouteView& v, double lat, double lon, double kx, double ky, double& x, double& y) {
  if (std::fabs(lat) > 90.0 || !route_point(v, lat, lon, x, y)) return false;
  x = std::trunc(x * kx);
  y = std::trunc(y * ky);
  return true;
}

double wrap_longitude(double lon) { return lon > 180 ? lon - 360 : lon < -180 ? lon + 360 : lon; }

void draw_grid(GfxGraphics* g, const RouteView& v, double kx, double ky, const GfxPen* dashed, const GfxFont* font,
               const GfxBrush* white) {
  const double lat0 = std::trunc(v.lat) - 5;
  const double lon0 = wrap_longitude(std::trunc(v.lon) - 5);
  for (int32_t r = 1; r <= 10; ++r) {
    const double lat = lat0 + r - 1;
    double lon = lon0;
    double px = 0, py = 0;
    bool placed = false;
    for (int32_t step = 0; step < 11; ++step) {
      placed = grid_point(v, lat, lon, kx, ky, px, py);
      if (placed && r == 5)
        draw_textf(g, font, white, std::trunc(px + kx), -90 * ky, C17_TEXT_CAPACITY, "%s%02d", lon >= 0 ? "E" : "W",
                   std::abs(int32_t(lon)));
      double qx, qy;
      if (placed && grid_point(v, lat + 1, lon, kx, ky, qx, qy)) draw_line_d(g, dashed, px, py, qx, qy);
      lon = wrap_longitude(lon + 1);
      if (placed && grid_point(v, lat, lon, kx, ky, qx, qy)) draw_line_d(g, dashed, px, py, qx, qy);
    }
    if (placed)
      draw_textf(g, font, white, -122 * kx, py, C17_TEXT_CAPACITY, "%s%02d", lat < 0 ? "S" : "N",
                 std::abs(int32_t(lat)));
  }
}

}  // namespace

void c17_mfd_north_up_map_draw(const GaugeSurface* surface, GfxGraphics* g) {
  if (!surface) return;
  C17Objects k(g);
  const double cx = c17_mfd_rose_cx, cy = c17_mfd_rose_cy;
  c17_frame(g, surface, cx, cy);
  c17_draw_value(g, k.a14, k.green, -14, -115, "%03.0f", heading);
  const DrawPoint box[] = {{-12, -115}, {-12, -100}, {12, -100}, {12, -115}, {-12, -115}};
  c17_polyline(g, k.white1, box);
  draw_text(g, k.a11, k.white, 15, -112, C17_TEXT_CAPACITY, "M");
  // The range as it is, as the rings of the arc formats label it.
  char range[C17_TEXT_CAPACITY];
  if (c17_range_text(range, sizeof range, c17_mfd_range))
    draw_textf(g, k.o.font(FONT_ARIAL, 10, GFX_FONT_BOLD), k.cyan, 65, -115, C17_TEXT_CAPACITY, "%s NM", range);

  GfxPath* clip = gfx_path_create(g);
  const GfxPoint corners[] = {{-122, -90}, {122, -90}, {122, 120}, {-122, 120}};
  for (int32_t i = 0; i < 3; ++i)
    gfx_path_add_line(g, clip, corners[i].x, corners[i].y, corners[i + 1].x, corners[i + 1].y);
  gfx_path_close_figure(g, clip);
  gfx_set_clip_path(g, clip);
  gfx_path_delete(clip);

  double kx = 0, ky = 0;
  if (!set_scaled_frame(g, surface->width, surface->height, CANVAS_C17_MFD, cx, cy, kx, ky)) return;
  RouteView v{0, 0, 0};
  c17_map_centre(v.lat, v.lon);
  if (c17_mfd_range < GRID_RANGE_LIMIT_NM)
    draw_grid(g, v, kx, ky, k.o.pen(C17_WHITE, 2 * kx, GFX_DASH_DASH), k.o.font(FONT_ARIAL, 10 * kx, GFX_FONT_BOLD),
              k.white);

  if (c17_mfd_route_on == 1) c17_mfd_route_overlay_draw(surface, g);

  set_scaled_frame(g, surface->width, surface->height, CANVAS_C17_MFD, cx, cy, kx, ky);
  double x = 0, y = 0;
  if (!route_point(v, present_lat, present_lon, x, y)) x = y = 0;
  gfx_translate(g, x * kx, y * ky, GFX_PREPEND);
  // The map is drawn to true north: the symbol turns by the true heading the maps use.
  if (std::isfinite(map_heading)) gfx_rotate(g, map_heading, GFX_PREPEND);
  const GfxPen* pen = k.o.pen(C17_WHITE, 2 * kx);
  draw_line_d(g, pen, 0, -5 * ky, 0, 15 * ky);
  draw_line_d(g, pen, -7 * kx, 0, 7 * kx, 0);
  draw_line_d(g, pen, -4 * kx, 10 * ky, 4 * kx, 10 * ky);
}
