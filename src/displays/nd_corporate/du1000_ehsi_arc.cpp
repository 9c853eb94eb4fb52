// DU-1000 EHSI modes 1 and 3: the expanded compass arc with the range arcs, the
// selected heading, lubber and track; mode 1 adds the navigation source,
// glideslope and course, mode 3 the altitude range arc.
#include <cmath>

#include "displays/nd_corporate/du1000_common.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

void frame(GfxGraphics* g, const GaugeSurface* ctx, double rot = 0) {
  nd_frame(g, ctx, DU1000, DU1000_CX, DU1000_ARC_CY, rot);
}

void scale(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  GfxPen* white = o.pen(DU1000_WHITE, 2);
  GfxFont* f15 = o.font(FONT_ZUDUZ, 15, GFX_FONT_BOLD);
  GfxBrush* brush = o.brush(DU1000_WHITE);
  const double hdg = wrap360(heading);  // a heading served past 360 still finds its marks
  for (int32_t b = 0; b < 360; b += 5) {
    const double d = b - hdg;
    if (!((d > -55 && d < 55) || (d > 305 && d < 360) || (d > -360 && d < -305))) continue;
    frame(g, ctx, d);
    if (b % 10 != 0) {
      draw_line_d(g, white, 0, -234, 0, -238);
      continue;
    }
    draw_line_d(g, white, 0, -234, 0, -242);
    draw_textf(g, f15, brush, b < 100 ? -6 : -10, -258, ND_TEXT_CAPACITY, "%d", b / 10);
  }
}

// Green arc whose apex stands where the selected altitude will be reached.
void altitude_arc(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  frame(g, ctx);
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_ellipse(g, path, -234, -234, 468, 468);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
  if (altitude_arc_gate() && du1000_ehsi_range > 0) {
    map_px_per_nm = 233 / du1000_ehsi_range;
    const double minutes = (indicated_altitude - ap_altitude) / vertical_speed;
    map_distance_px = map_px_per_nm * minutes * ground_speed / 60;
    draw_arc_d(g, o.pen(DU1000_GREEN, 2), -78, corp_offset(map_distance_px), 156, 156, 220, 100);
  }
  gfx_reset_clip(g);
}

void navigation(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  GfxPen* white = o.pen(DU1000_WHITE, 2);
  GfxPen* cyan = o.pen(CORP_CYAN, 2);
  GfxFont* f15 = o.font(FONT_ZUDUZ, 15, GFX_FONT_BOLD);
  GfxBrush* cyan_brush = o.brush(CORP_CYAN);
  const bool received = get_nav1_signal() > 0;
  frame(g, ctx);
  if (received) {
    bool frequency, glideslope;
    draw_text(g, f15, cyan_brush, -10, -195, ND_TEXT_CAPACITY, du1000_nav_source(frequency, glideslope));
    if (glideslope)
      draw_text(g, o.font(FONT_ZUDUZ, 12, GFX_FONT_BOLD), o.brush(DU1000_WHITE), 125, -155, ND_TEXT_CAPACITY, "G/S");
    if (frequency) draw_textf(g, f15, cyan_brush, -20, -180, ND_TEXT_CAPACITY, "%3.2f", get_nav1_frequency_mhz());
  }
  if (received && has_nav1_glideslope()) {
    for (double y : {-130.0, -110.0, -70.0, -50.0}) draw_ellipse_d(g, white, 130, y, 4, 4);
    draw_line_d(g, white, 130, -90, 140, -90);
    const double gs = corp_offset(nav_token41 / (127.0 / 45.0) - 90);
    const DrawPoint diamond[] = {{132, gs - 5}, {137, gs}, {132, gs + 5}, {127, gs}, {132, gs - 5}};
    nd_polyline(g, o.pen(DU1000_MAGENTA, 2), diamond);
  }
  frame(g, ctx, nav1_course - heading);
  for (double x : {-62.0, -32.0, 28.0, 58.0}) draw_ellipse_d(g, white, x, -2, 4, 4);
  draw_line_d(g, cyan, 0, -200, 0, -235);
  draw_line_d(g, cyan, 0, -30, 0, -77);
  draw_line_d(g, cyan, -10, -50, 10, -50);
  const double x = corp_offset(nav_token40 / 1.5875);
  draw_line_d(g, cyan, x, -30, x, 30);
}

// The selected-heading mark, or its readout at 40 degrees when more than 41 off.
void selected_heading(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  const double h = wrap360(heading), a = wrap360(ap_heading);
  double angle;
  bool right;
  if (h > a) {
    right = h - a > 180;
    angle = right ? 360 - h + a : h - a;
  } else {
    right = a - h <= 180;
    angle = right ? a - h : 360 - a + h;
  }
  if (angle > 41) {
    frame(g, ctx, right ? 40 : -40);
    draw_textf(g, o.font(FONT_ZUDUZ, 15, GFX_FONT_BOLD), o.brush(CORP_CYAN), -10, -230, ND_TEXT_CAPACITY, "%03.0f",
               a);
  } else {
    frame(g, ctx, a - h);
    draw_line_d(g, o.pen(CORP_CYAN, 3), 0, -234, 0, -260);
  }
}

}  // namespace

void du1000_ehsi_heading_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxPen* white = o.pen(DU1000_WHITE, 2);
  GfxPen* amber = o.pen(DU1000_AMBER, 2);
  frame(g, ctx);
  du1000_aircraft(g, amber);
  draw_ellipse_d(g, white, -234, -234, 468, 468);
  draw_arc_d(g, white, -156, -156, 312, 312, 220, 100);
  draw_arc_d(g, white, -78, -78, 156, 156, 215, 110);
  scale(g, ctx, o);
  if (du1000_ehsi_mode == 3) altitude_arc(g, ctx, o);
  if (du1000_ehsi_mode == 1) navigation(g, ctx, o);
  selected_heading(g, ctx, o);
  frame(g, ctx);
  const DrawPoint lubber[] = {{0, -233}, {8, -223}, {-8, -223}, {0, -233}};
  nd_polyline(g, amber, lubber);
  frame(g, ctx, ground_track - heading);
  const DrawPoint track[] = {{0, -234}, {3, -239}, {0, -244}, {-3, -239}, {0, -234}};
  nd_polyline(g, o.pen(DU1000_GREEN, 2), track);
}
