// MD-80 EHSI mode 1: the expanded arc with the VOR/ILS course, and the arc pieces
// the map modes share.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "displays/nd_transport/md80_common.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

void md80_half_range_text(char* out, size_t size) {
  std::snprintf(out, size, md80_ehsi_range <= 5 ? "%3.1f" : "%3.0f", md80_ehsi_range * 0.5);
}

double md80_scale_label_x(int32_t d) {
  const int32_t label = d / 10;
  double base = (label < 10 || label == 18) ? -13 : label == 27 ? -15 : -17;
  if (d < 100) return base;
  if (d == 180) return base + 1;
  if (d == 270) return base + 2;
  if (d == 120 || d == 150 || d == 240 || d == 300 || d == 330) return base + 4;
  return base + 3;
}

void md80_heading_scale(GfxGraphics* g, const GaugeSurface* ctx, const GfxPen* pen, const GfxFont* font,
                        const GfxBrush* brush) {
  const double cx = md80_ehsi_center_x, cy = md80_ehsi_center_y;
  for (int32_t d = 0; d < 360; d += 5) {
    double r = d - heading;
    if (!((r > 295 && r < 360) || (r > -360 && r < -295) || (r > -65 && r < 65))) continue;
    nd_frame(g, ctx, CANVAS_MD80_EHSI, cx, cy, r);
    if (d % 10 == 0) {
      draw_line_d(g, pen, 0, -180, 0, -196);
      if (d % 30 == 0) draw_textf(g, font, brush, md80_scale_label_x(d), -198, ND_TEXT_CAPACITY, "%02d", d / 10);
    } else {
      draw_line_d(g, pen, 0, -180, 0, -188);
    }
  }
}

void md80_selected_heading(GfxGraphics* g, const GaugeSurface* ctx, bool line) {
  LayerObjects o(g);
  nd_frame(g, ctx, CANVAS_MD80_EHSI, md80_ehsi_center_x, md80_ehsi_center_y, ap_heading - heading);
  if (line) draw_line_d(g, o.pen(COLOUR_GREEN, 2, GFX_DASH_DASH), 0, 0, 0, -184);
  const DrawPoint bug[] = {{0, -184},   {6, -190},   {12, -190}, {12, -180},
                           {-12, -180}, {-12, -190}, {-6, -190}, {0, -184}};
  nd_fill(g, o.brush(COLOUR_GREEN), bug);
}

void md80_track_diamond(GfxGraphics* g, const GaugeSurface* ctx) {
  LayerObjects o(g);
  nd_frame(g, ctx, CANVAS_MD80_EHSI, md80_ehsi_center_x, md80_ehsi_center_y, ground_track - heading);
  const DrawPoint diamond[] = {{0, -194}, {5, -187}, {0, -180}, {-5, -187}, {0, -194}};
  nd_polyline(g, o.pen(COLOUR_MAGENTA, 2), diamond);
}

void md80_wind_arrow(GfxGraphics* g, const GaugeSurface* ctx, double x, double y, const GfxPen* pen) {
  double w = wrap360(wind_direction) + 180;
  if (w > 360) w -= 360;
  nd_frame(g, ctx, CANVAS_MD80_EHSI, x, y, w - heading);
  draw_line_d(g, pen, 0, -10, 2, -5);
  draw_line_d(g, pen, 0, -10, -2, -5);
  draw_line_d(g, pen, 0, 0, 0, -10);
  draw_line_d(g, pen, 0, 0, 0, 10);
  nd_frame(g, ctx, CANVAS_MD80_EHSI);
}

void md80_ehsi_arc_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxFont* z10 = o.font(FONT_ZUDUZ, 10, GFX_FONT_BOLD);
  GfxFont* z13 = o.font(FONT_ZUDUZ, 13, GFX_FONT_BOLD);
  GfxFont* z18 = o.font(FONT_ZUDUZ, 18, GFX_FONT_BOLD);
  GfxPen* white1 = o.pen(COLOUR_WHITE, 1);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxPen* blue2 = o.pen(COLOUR_BLUE, 2);
  GfxPen* magenta2 = o.pen(COLOUR_MAGENTA, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  const DesignCanvas C = CANVAS_MD80_EHSI;
  const double cx = md80_ehsi_center_x, cy = md80_ehsi_center_y;
  const bool nav1 = nav1_received();
  const bool adf = md80_ehsi_adf_on == 1 && adf1_bearing > 0;

  nd_frame(g, ctx, C, cx, cy);
  char half[32];
  md80_half_range_text(half, sizeof half);
  draw_text(g, z13, white, -85, -54, ND_TEXT_CAPACITY, half);
  draw_arc_d(g, white2, -180, -180, 360, 360, 222, 96);
  draw_arc_d(g, white2, -90, -90, 180, 180, 219, 25);
  draw_arc_d(g, white2, -90, -90, 180, 180, 248, 50);
  draw_arc_d(g, white2, -90, -90, 180, 180, 301, 19);
  draw_line_d(g, white2, 0, -94, 0, -86);
  draw_line_d(g, white2, 0, -180, -5, -172);
  draw_line_d(g, white2, 0, -180, 5, -172);
  draw_line_d(g, white2, -5, -172, 5, -172);
  md80_heading_scale(g, ctx, white2, z18, white);

  if (adf) {
    nd_frame(g, ctx, C, cx, cy, nav_token39 + 360);
    draw_line_d(g, blue2, 0, -90, 0, -120);
    draw_line_d(g, blue2, -5, -120, 5, -120);
    draw_line_d(g, blue2, -5, -120, 0, -115);
    draw_line_d(g, blue2, 5, -120, 0, -115);
    draw_line_d(g, blue2, 0, -120, 0, -160);
    draw_line_d(g, blue2, -5, -160, 5, -160);
    draw_line_d(g, blue2, -5, -160, 0, -155);
    draw_line_d(g, blue2, 5, -160, 0, -155);
    draw_line_d(g, blue2, 0, -160, 0, -180);
  }

  nd_frame(g, ctx, C, cx, cy, nav1_course - heading);
  for (double x : {-22.0, -42.0, 18.0, 38.0}) draw_ellipse_d(g, white2, x, -2, 4, 4);
  draw_line_d(g, magenta2, 0, -70, 0, -110);
  draw_line_d(g, magenta2, 0, 70, 0, 110);
  if (nav1) {
    const double dev = std::trunc(std::clamp(finite_or(nav_token40, 0) / 3.175, -1000.0, 1000.0));
    draw_line_d(g, magenta2, dev, -70, dev, 70);
  }

  nd_frame(g, ctx, C, cx, cy);
  if (nav1) {
    bool to = nav_shows_to(station_bearing(nav_rel_bearing, heading), nav1_course);
    draw_text(g, z13, white, 80, -120, ND_TEXT_CAPACITY, to ? "TO" : "FROM");
    draw_text(g, z13, white, to ? 80 : 90, -106, ND_TEXT_CAPACITY, "VOR");
  }
  if (dme1_distance > 0) {
    draw_textf(g, z13, white, -133, -200, ND_TEXT_CAPACITY, "%-3.1f", dme1_distance);
    draw_text(g, z13, white, -133, -187, ND_TEXT_CAPACITY, "DME1");
  }
  if (nav_token35 > 0) {
    draw_textf(g, z13, white, 90, -200, ND_TEXT_CAPACITY, "%3.1f", nav_token35);
    draw_text(g, z13, white, 90, -187, ND_TEXT_CAPACITY, "DME2");
  }

  gfx_reset_clip(g);
  nd_frame(g, ctx, C);
  if (adf) {
    draw_text(g, z13, white, 5, 180, ND_TEXT_CAPACITY, "ADF1");
    draw_line_d(g, blue2, 55, 185, 55, 195);
    draw_line_d(g, blue2, 55, 175, 50, 185);
    draw_line_d(g, blue2, 55, 175, 60, 185);
    draw_line_d(g, blue2, 50, 185, 60, 185);
  }
  if (has_nav1_glideslope()) {
    for (double y : {84.0, 101.0, 137.0, 152.0}) draw_ellipse_d(g, white2, 250, y, 5, 5);
    double gs = std::trunc(std::clamp(finite_or(nav_token41, 0) / (127.0 / 34.0) + 120, -1000.0, 1000.0));
    draw_rect_d(g, magenta2, 250, gs - 2, 10, 5);
    draw_line_d(g, white2, 248, 120, 260, 120);
  }
  if (nav1) draw_text(g, z13, white, 220, 185, ND_TEXT_CAPACITY, is_nav1_localizer() ? "ILS" : "VOR");
  if (wind_speed >= 1.0) {
    draw_textf(g, z10, white, 10, 150, ND_TEXT_CAPACITY, "%2.0f", wind_speed);
    md80_wind_arrow(g, ctx, 10, 140, white1);
  }

  md80_selected_heading(g, ctx, true);
  md80_track_diamond(g, ctx);
  nd_frame(g, ctx, C, cx, cy);
  draw_line_d(g, white2, 0, -10, 0, 10);
  draw_line_d(g, white2, -10, 0, 10, 0);
  draw_line_d(g, white2, -5, 10, 5, 10);
}
