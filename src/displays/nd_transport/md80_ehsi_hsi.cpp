// MD-80 EHSI mode 0: the full-compass HSI.
#include <algorithm>
#include <cmath>

#include "displays/nd_transport/md80_common.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

void md80_ehsi_hsi_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxFont* a10 = o.font(FONT_ARIAL, 10, GFX_FONT_BOLD);
  GfxFont* a12 = o.font(FONT_ARIAL, 12, GFX_FONT_BOLD);
  GfxFont* a13 = o.font(FONT_ARIAL, 13, GFX_FONT_BOLD);
  GfxFont* a15 = o.font(FONT_ARIAL, 15, GFX_FONT_BOLD);
  GfxPen* white1 = o.pen(COLOUR_WHITE, 1);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxPen* blue2 = o.pen(COLOUR_BLUE, 2);
  GfxPen* magenta2 = o.pen(COLOUR_MAGENTA, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  GfxBrush* green = o.brush(COLOUR_GREEN);
  GfxBrush* magenta = o.brush(COLOUR_MAGENTA);
  const DesignCanvas C = CANVAS_MD80_EHSI;
  const double cx = md80_ehsi_center_x, cy = md80_ehsi_center_y;
  const bool nav1 = nav1_received();
  const bool adf = md80_ehsi_adf_on == 1 && adf1_bearing > 0;

  nd_frame(g, ctx, C);
  if (dme1_distance > 0) {
    draw_textf(g, a13, white, 0, 0, ND_TEXT_CAPACITY, "%-3.1f", dme1_distance);
    draw_text(g, a13, white, 0, 15, ND_TEXT_CAPACITY, "DME1");
  }
  if (nav_token35 > 0) {
    draw_textf(g, a13, white, 225, 0, ND_TEXT_CAPACITY, "%3.1f", nav_token35);
    draw_text(g, a13, white, 225, 15, ND_TEXT_CAPACITY, "DME2");
  }
  if (has_nav1_glideslope()) {
    for (double y : {78.0, 95.0, 131.0, 146.0}) draw_ellipse_d(g, white2, 250, y, 5, 5);
    double gs = std::trunc(std::clamp(finite_or(nav_token41, 0) / (127.0 / 34.0) + 114, -1000.0, 1000.0));
    draw_rect_d(g, magenta2, 250, gs - 2, 10, 5);
    draw_line_d(g, white2, 248, 114, 260, 114);
  }
  if (adf) {
    draw_text(g, a13, white, 5, 180, ND_TEXT_CAPACITY, "ADF1");
    draw_line_d(g, blue2, 55, 185, 55, 195);
    draw_line_d(g, blue2, 55, 175, 50, 185);
    draw_line_d(g, blue2, 55, 175, 60, 185);
    draw_line_d(g, blue2, 50, 185, 60, 185);
  }
  if (nav1) draw_text(g, a13, white, 220, 185, ND_TEXT_CAPACITY, is_nav1_localizer() ? "ILS" : "VOR");
  if (wind_speed >= 1.0) {
    draw_textf(g, a10, white, 10, 150, ND_TEXT_CAPACITY, "%2.0f", wind_speed);
    md80_wind_arrow(g, ctx, 10, 140, white1);
  }

  nd_frame(g, ctx, C, cx, 114, ap_heading - heading);
  const DrawPoint bug[] = {{0, -84}, {6, -90}, {12, -90}, {12, -80}, {-12, -80}, {-12, -90}, {-6, -90}, {0, -84}};
  nd_fill(g, green, bug);
  nd_frame(g, ctx, C, cx, 114);
  const DrawPoint lubber[] = {{0, -90}, {5, -83}, {0, -76}, {-5, -83}, {0, -90}};
  nd_polyline(g, magenta2, lubber);

  for (int32_t d = 0; d < 360; d += 5) {
    nd_frame(g, ctx, C, cx, 114, d - heading);
    if (d % 10 == 0) {
      draw_line_d(g, white2, 0, -70, 0, -80);
      if (d % 30 == 0) {
        const char* cardinal = d == 0 ? "N" : d == 90 ? "E" : d == 180 ? "S" : d == 270 ? "W" : nullptr;
        if (cardinal)
          draw_text(g, a12, white, d == 270 ? -7 : -8, -65, ND_TEXT_CAPACITY, cardinal);
        else
          draw_textf(g, a12, white, -8, -65, ND_TEXT_CAPACITY, "%d", d / 10);
      }
    } else {
      draw_line_d(g, white2, 0, -75, 0, -80);
    }
  }
  for (int32_t a = 0; a < 360; a += 45) {
    nd_frame(g, ctx, C, cx, 114, a);
    draw_line_d(g, white2, 0, -82, 0, -91);
  }

  if (adf) {
    nd_frame(g, ctx, C, cx, 114, nav_token39 + 360);
    draw_line_d(g, blue2, 0, -70, 0, -50);
    draw_line_d(g, blue2, 0, -50, -6, -40);
    draw_line_d(g, blue2, 0, -50, 6, -40);
    draw_line_d(g, blue2, -6, -40, 6, -40);
    draw_line_d(g, blue2, 0, -40, 0, -30);
    draw_line_d(g, blue2, 0, 70, 0, 50);
    draw_line_d(g, blue2, 0, 40, -6, 50);
    draw_line_d(g, blue2, 0, 40, 6, 50);
    draw_line_d(g, blue2, -6, 50, 6, 50);
    draw_line_d(g, blue2, 0, 20, 0, 40);
  }

  nd_frame(g, ctx, C, cx, 114, nav1_course - heading);
  for (double x : {-22.0, -42.0, 18.0, 38.0}) draw_ellipse_d(g, white2, x, -2, 4, 4);
  const DrawPoint head[] = {{0, -50}, {6, -38}, {-6, -38}, {0, -50}};
  nd_fill(g, magenta, head);
  draw_line_d(g, magenta2, 0, -20, 0, -70);
  if (nav1) {
    const double dev = std::trunc(std::clamp(finite_or(nav_token40, 0) / 3.175, -1000.0, 1000.0));
    draw_line_d(g, magenta2, dev, -20, dev, 20);
    if (nav_shows_to(station_bearing(nav_rel_bearing, heading), nav1_course)) {
      const DrawPoint to[] = {{dev, -32}, {dev + 6, -20}, {dev - 6, -20}, {dev, -32}};
      nd_fill(g, white, to);
    } else {
      const DrawPoint from[] = {{dev, 32}, {dev + 6, 20}, {dev - 6, 20}, {dev, 32}};
      nd_fill(g, white, from);
    }
  }
  draw_line_d(g, magenta2, 0, 20, 0, 70);

  nd_frame(g, ctx, C);
  draw_textf(g, a15, white, cx - 15, 5, ND_TEXT_CAPACITY, "%03.0f", wrap360(heading));
  draw_line_d(g, white2, cx - 14, 5, cx + 14, 5);
  draw_line_d(g, white2, cx - 14, 5, cx - 14, 20);
  draw_line_d(g, white2, cx + 14, 5, cx + 14, 20);
  draw_line_d(g, white2, cx - 14, 20, cx - 5, 20);
  draw_line_d(g, white2, cx + 5, 20, cx + 14, 20);
  draw_line_d(g, white2, cx - 5, 20, cx, 25);
  draw_line_d(g, white2, cx, 25, cx + 5, 20);
  nd_frame(g, ctx, C, cx, cy);
  draw_line_d(g, white2, 0, -10, 0, 10);
  draw_line_d(g, white2, -10, 0, 10, 0);
  draw_line_d(g, white2, -5, 10, 5, 10);
}
