// DU-1000 EHSI mode 0: the full-rose HSI with the bearing pointers, course,
// deviation, TO/FROM, selected heading, glideslope and track.
#include <cmath>

#include "displays/nd_corporate/du1000_common.h"
#include "guidance/fms_state.h"
#include "module/sim_vars.h"

namespace {

void frame(GfxGraphics* g, const GaugeSurface* ctx, double rot = 0) {
  nd_frame(g, ctx, DU1000, DU1000_CX, DU1000_ROSE_CY, rot);
}

void scale(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  GfxPen* white = o.pen(DU1000_WHITE, 2);
  GfxFont* font = o.font(FONT_ARIAL, 15, GFX_FONT_BOLD);
  GfxBrush* brush = o.brush(DU1000_WHITE);
  for (int32_t b = 0; b < 360; b += 10) {
    frame(g, ctx, b - heading);
    if (b % 30 != 0) {
      draw_line_d(g, white, 0, -100, 0, -105);
      continue;
    }
    draw_line_d(g, white, 0, -100, 0, -110);
    // Labels stand upright.
    gfx_translate(g, 0, -123, GFX_PREPEND);
    gfx_rotate(g, heading - b, GFX_PREPEND);
    draw_textf(g, font, brush, b < 100 ? -6 : -9, -8, ND_TEXT_CAPACITY, "%d", b / 10);
  }
}

}  // namespace

void du1000_ehsi_mode0_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxPen* white = o.pen(DU1000_WHITE, 2);
  GfxPen* magenta = o.pen(DU1000_MAGENTA, 2);
  GfxPen* green = o.pen(DU1000_GREEN, 2);
  GfxPen* cyan = o.pen(CORP_CYAN, 2);
  GfxPen* amber = o.pen(DU1000_AMBER, 2);

  frame(g, ctx);
  draw_ellipse_d(g, white, -100, -100, 200, 200);
  scale(g, ctx, o);
  if (get_nav1_signal() > 0) {
    frame(g, ctx, nav_rel_bearing);
    const DrawPoint head[] = {{-9, -68}, {0, -78}, {9, -68}};
    draw_line_d(g, magenta, 0, -100, 0, -68);
    nd_polyline(g, magenta, head);
    draw_line_d(g, magenta, 0, 60, 0, 100);
  }
  if (adf1_bearing > 1.0) {
    frame(g, ctx, nav_token39 + 360);
    const DrawPoint head[] = {{-10, -60}, {-10, -70}, {0, -80}, {10, -70}, {10, -60}};
    draw_line_d(g, green, 0, -100, 0, -80);
    nd_polyline(g, green, head);
    draw_line_d(g, green, 0, 60, 0, 100);
  }
  frame(g, ctx, nav1_course - heading);
  for (double x : {-82.0, -42.0, 38.0, 78.0}) draw_ellipse_d(g, white, x, -2, 4, 4);
  draw_line_d(g, cyan, 0, -30, 0, -100);
  draw_line_d(g, cyan, -10, -80, 10, -80);
  draw_line_d(g, cyan, 0, 30, 0, 100);
  const double x = corp_offset(nav_token40 / 1.5875);
  draw_line_d(g, cyan, x, -30, x, 30);
  const double tip = nav_shows_to(station_bearing(nav_rel_bearing, heading), nav1_course) ? -30 : 30;
  const double base = tip < 0 ? -25 : 25;
  const DrawPoint chevron[] = {{x - 5, base}, {x, tip}, {x + 5, base}};
  nd_polyline(g, cyan, chevron);

  frame(g, ctx, ap_heading - heading);
  draw_line_d(g, o.pen(CORP_CYAN, 3), 0, -100, 0, -126);
  frame(g, ctx);
  const DrawPoint lubber[] = {{0, -100}, {6, -92}, {-6, -92}, {0, -100}};
  nd_polyline(g, amber, lubber);
  if (has_nav1_glideslope()) {
    for (double y : {-80.0, -40.0, 40.0, 80.0}) draw_ellipse_d(g, white, 143, y, 4, 4);
    draw_line_d(g, white, 140, 0, 150, 0);
    const double gs = corp_offset(nav_token41 / 1.6);
    const DrawPoint diamond[] = {{145, gs - 8}, {150, gs}, {145, gs + 8}, {140, gs}, {145, gs - 8}};
    nd_polyline(g, magenta, diamond);
  }
  du1000_aircraft(g, amber);
  frame(g, ctx, ground_track - heading);
  const DrawPoint track[] = {{0, -100}, {3, -105}, {0, -110}, {-3, -105}, {0, -100}};
  nd_polyline(g, green, track);
}
