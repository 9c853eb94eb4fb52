// B737 ND heading references: the full compass rose (modes 1 and 2), the expanded
// heading arc (modes 3 to 7) and the tuned NAV 1 station with its course line.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "draw/map_symbols.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

constexpr DesignCanvas GLIDESLOPE_CANVAS{266, 230};

struct B737Objects {
  LayerObjects o;
  GfxPen* white1;
  GfxPen* white2;
  GfxPen* magenta2;
  GfxPen* magenta_dash;
  GfxPen* blue2;
  GfxPen* vor1;
  GfxPen* vor2;
  GfxBrush* white;
  GfxBrush* magenta;
  GfxBrush* blue;
  GfxBrush* green;
  explicit B737Objects(GfxGraphics* g)
      : o(g),
        white1(o.pen(COLOUR_WHITE, 1)),
        white2(o.pen(COLOUR_WHITE, 2)),
        magenta2(o.pen(COLOUR_MAGENTA, 2)),
        magenta_dash(o.pen(COLOUR_MAGENTA, 2, GFX_DASH_DASH)),
        blue2(o.pen(COLOUR_BLUE, 2)),
        vor1(o.pen(COLOUR_LIGHT_GREEN, 1)),
        vor2(o.pen(COLOUR_LIGHT_GREEN, 2)),
        white(o.brush(COLOUR_WHITE)),
        magenta(o.brush(COLOUR_MAGENTA)),
        blue(o.brush(COLOUR_BLUE)),
        green(o.brush(COLOUR_GREEN)) {}
};

// Deviation in design units and the course-frame rotation of the FMS course:
// cross-track limited to 5 NM, 0.132 NM a unit; no active waypoint leaves the
// pointer straight up.
void fms_course_frame(int32_t& dev, double& rot) {
  double xtk = 1e-10;
  rot = 0;
  if (fpl_active_index != FPL_NO_PLAN) {
    xtk = xtk_nm == -99 ? 1e-10 : finite_or(xtk_nm, 0);
    if (xtk_side == 1) xtk = -xtk;
    rot = desired_track - heading;
  }
  dev = int32_t(std::clamp(xtk, -5.0, 5.0) / 0.132);
}

int32_t nav_deviation(double divisor) {
  double d = finite_or(nav_token40, 0) / divisor;
  return int32_t(std::clamp(d, -1000.0, 1000.0));
}

void deviation_dots(GfxGraphics* g, const GfxPen* pen) {
  draw_ellipse_d(g, pen, -25, -3, 5, 5);
  draw_ellipse_d(g, pen, -40, -3, 5, 5);
  draw_ellipse_d(g, pen, 20, -3, 5, 5);
  draw_ellipse_d(g, pen, 35, -3, 5, 5);
}

void aircraft_triangle(GfxGraphics* g, const GfxPen* pen) {
  draw_line_d(g, pen, 0, 0, -7, 18);
  draw_line_d(g, pen, -7, 18, 7, 18);
  draw_line_d(g, pen, 7, 18, 0, 0);
}

// The half range beside the centre line, with its decimals at ranges below 10 NM. Whole
// values fill three cells ending left of the line; a longer text moves left by the cells
// it adds (Arial Bold 10 digits are about 5.6 units wide).
void half_range_label(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double y) {
  char text[16];
  int len = std::snprintf(text, sizeof text, "%3g", b737_nd_range * 0.5);
  double x = -20.0 - 5.6 * std::clamp(len - 3, 0, 8);
  draw_text(g, font, brush, x, y, ND_TEXT_CAPACITY, text);
}

// A heading figure of the arc over the map: its cell is wiped to the background first,
// so a map label or line under it does not run through the figure.
void arc_figure(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, const GfxBrush* background, double x,
                double y, int32_t figure) {
  char text[8];
  std::snprintf(text, sizeof text, "%d", figure);
  fill_rect_d(g, background, x - 1, y + 1, text_width(g, font, ND_TEXT_CAPACITY, text) + 2, 11);
  draw_text(g, font, brush, x, y, ND_TEXT_CAPACITY, text);
}

}  // namespace

void b737_nd_compass_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  B737Objects k(g);
  GfxFont* font12 = k.o.font(FONT_ARIAL, 12, GFX_FONT_BOLD);
  const DesignCanvas C = CANVAS_B737_ND;
  const int32_t mode = b737_nd_mode;

  // Aircraft symbol.
  nd_frame(g, ctx, C, 122, 151);
  draw_line_d(g, k.white2, -3, 0, -12, 0);
  draw_line_d(g, k.white2, -3, -12, -3, 12);
  draw_line_d(g, k.white2, 3, 0, 12, 0);
  draw_line_d(g, k.white2, 3, -12, 3, 12);
  draw_line_d(g, k.white2, -3, 11, -10, 11);
  draw_line_d(g, k.white2, 3, 11, 10, 11);

  // Rose.
  for (int32_t d = 0; d < 360; d += 5) {
    nd_frame(g, ctx, C, 122, 151, d - heading);
    if (d % 10 == 0) {
      draw_line_d(g, k.white2, 0, -65, 0, -80);
      if (d % 30 == 0) draw_textf(g, font12, k.white, d == 270 ? -7 : -8, -60, ND_TEXT_CAPACITY, "%d", d / 10);
    } else {
      draw_line_d(g, k.white2, 0, -70, 0, -80);
    }
  }
  for (int32_t a = 0; a < 360; a += 45) {
    nd_frame(g, ctx, C, 122, 151, a);
    draw_line_d(g, k.white2, 0, -80, 0, -95);
  }

  // Course frame.
  int32_t dev = 0;
  double rot = 0;
  if (mode == 1) {
    fms_course_frame(dev, rot);
  } else {
    dev = nav_deviation(127.0 / 37.0);
    rot = nav1_course - heading;
  }
  const bool signal = nav1_received();
  nd_frame(g, ctx, C, 122, 151, rot);
  deviation_dots(g, k.white2);
  const DrawPoint pointer[] = {{3, -30},  {3, -35},   {6, -35},  {6, -40},   {3, -40},   {3, -65},  {0, -70},
                               {-3, -65}, {-3, -40}, {-6, -40}, {-6, -35}, {-3, -35}, {-3, -30}, {3, -30}};
  nd_polyline(g, k.white2, pointer);
  if (mode == 1 || signal) {
    const DrawPoint bar[] = {{dev - 3.0, -27}, {dev + 3.0, -27}, {dev + 3.0, 27}, {dev - 3.0, 27}, {dev - 3.0, -27}};
    nd_polyline(g, k.magenta2, bar);
  }
  const DrawPoint tail[] = {{-3, 30}, {3, 30}, {3, 65}, {0, 70}, {-3, 65}, {-3, 30}};
  nd_polyline(g, k.white2, tail);
  if (mode == 2 && signal) {
    if (nav_shows_to(station_bearing(nav_rel_bearing, heading), nav1_course)) {
      const DrawPoint to[] = {{0, -18}, {4, -14}, {-4, -14}, {0, -18}};
      nd_polyline(g, k.white2, to);
    } else {
      const DrawPoint from[] = {{0, 18}, {4, 14}, {-4, 14}, {0, 18}};
      nd_polyline(g, k.white2, from);
    }
  }

  // Glideslope.
  if (has_nav1_glideslope()) {
    nd_frame(g, ctx, GLIDESLOPE_CANVAS, 129, 114, 0);
    for (double y : {-15.0, -30.0, 10.0, 25.0}) draw_ellipse_d(g, k.white2, 120, y, 5, 5);
    const DrawPoint box[] = {{117, -2}, {127, -2}, {127, 4}, {117, 4}, {117, -2}};
    nd_polyline(g, k.white2, box);
    if (get_token_852() != 0) {
      double gs = std::trunc(std::clamp(finite_or(nav_token41, 0) / 3.42, -1000.0, 1000.0));
      const DrawPoint diamond[] = {{117, gs}, {123, gs - 5}, {127, gs}, {123, gs + 5}, {117, gs}};
      nd_fill(g, k.magenta, diamond);
    }
  }

  // Bearing pointers.
  if (nd_vor_adf_on == 1 && mode == 2) {
    if (adf1_bearing > 1.0) {
      nd_frame(g, ctx, C, 122, 151, nav_token39 + 360);
      const DrawPoint head[] = {{0, -90}, {5, -82}, {-5, -82}, {0, -90}};
      nd_fill(g, k.blue, head);
      draw_line_d(g, k.blue2, 0, -60, 0, -90);
      draw_line_d(g, k.blue2, 0, 60, 0, 90);
      draw_line_d(g, k.blue2, 0, 81, 8, 87);
      draw_line_d(g, k.blue2, 0, 81, -8, 87);
    }
    if (signal) {
      nd_frame(g, ctx, C, 122, 151, station_bearing(nav_rel_bearing, heading) - heading);
      const DrawPoint head[] = {{0, -60},  {-6, -60}, {-6, -65}, {-3, -65}, {-3, -85}, {0, -90},
                                {3, -85},  {3, -65},  {6, -65},  {6, -60},  {0, -60}};
      nd_polyline(g, k.vor2, head);
      draw_line_d(g, k.vor1, 0, -60, 0, -90);
      const DrawPoint tail2[] = {{0, 60},  {3, 65},  {3, 80},   {8, 85},   {8, 90},  {0, 85},
                                 {-8, 90}, {-8, 85}, {-3, 80}, {-3, 65}, {0, 60}};
      nd_polyline(g, k.vor2, tail2);
      draw_line_d(g, k.vor1, 0, 60, 0, 90);
      draw_line_d(g, k.vor2, 0, 81, 8, 88);
      draw_line_d(g, k.vor2, 0, 81, -8, 88);
    }
  }

  nd_frame(g, ctx, GLIDESLOPE_CANVAS, 0, 0, 0);
  map_px_per_nm = 50.0 / b737_nd_range;
}

void b737_nd_arc_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  B737Objects k(g);
  GfxFont* font10 = k.o.font(FONT_ARIAL, 10, GFX_FONT_BOLD);
  GfxFont* font12 = k.o.font(FONT_ARIAL, 12, GFX_FONT_BOLD);
  const DesignCanvas C = CANVAS_B737_ND;
  const int32_t mode = b737_nd_mode;
  GfxBrush* background =
      k.o.brush(nd_background_colour(HWB737NDBkgrdColorRed, HWB737NDBkgrdColorGreen, HWB737NDBkgrdColorBlue));

  if (mode == 6) {
    nd_frame(g, ctx, C, 122, 171);
    draw_line_d(g, k.white1, 0, 0, 0, -130);
    half_range_label(g, font10, k.white, -60);
    draw_line_d(g, k.white1, -3, -55, 3, -55);
    aircraft_triangle(g, k.white2);
    for (int32_t d = 0; d < 360; d += 10) {
      nd_frame(g, ctx, C, 122, 171, d - heading);
      if (d % 30 == 0)
        arc_figure(g, font12, k.white, background, d / 10 < 10 ? -5 : -9, -100, d / 10);
      else
        draw_line_d(g, k.white2, 0, -90, 0, -100);
    }
    return;
  }

  if (mode >= 3 && mode <= 5) {
    nd_frame(g, ctx, C, 122, 249);
    aircraft_triangle(g, k.white2);
    half_range_label(g, font10, k.white, -120);
    draw_line_d(g, k.white1, -3, -108, 3, -108);
    draw_line_d(g, k.white1, 0, 0, 0, -217);
  }

  // Heading arc: the part of the radius-217 rose within 55 degrees of the heading.
  nd_frame(g, ctx, C, 122, 249);
  draw_ellipse_d(g, k.white2, -217, -217, 434, 434);
  for (int32_t d = 0; d < 360; d += 5) {
    double r = d - heading;
    bool shown = (r > 305 && r < 360) || (r > -360 && r < -305) || (r > -55 && r < 55);
    if (!shown) continue;
    nd_frame(g, ctx, C, 122, 249, r);
    if (d % 10 == 0) {
      draw_line_d(g, k.white2, 0, -207, 0, -217);
      if (d % 30 == 0) arc_figure(g, font12, k.white, background, d / 10 < 10 ? -7 : -9, -207, d / 10);
    } else {
      draw_line_d(g, k.white2, 0, -212, 0, -217);
    }
  }

  if (mode == 4 && has_nav1_glideslope()) {
    nd_frame(g, ctx, C, 122, 249);
    for (double y : {-55.0, -70.0, -30.0, -15.0}) draw_ellipse_d(g, k.white2, 103, y, 5, 5);
    const DrawPoint box[] = {{100, -42}, {110, -42}, {110, -36}, {100, -36}, {100, -42}};
    nd_polyline(g, k.white2, box);
    if (get_token_852() != 0) {
      double gs = std::trunc(std::clamp(finite_or(nav_token41, 0) / 4.7 - 40, -1000.0, 1000.0));
      const DrawPoint diamond[] = {{100, gs}, {105, gs - 5}, {110, gs}, {105, gs + 5}, {100, gs}};
      nd_fill(g, k.magenta, diamond);
    }
  }

  // Course frame.
  int32_t dev = 0;
  double rot = 0;
  if (mode == 3) {
    fms_course_frame(dev, rot);
  } else {
    dev = nav_deviation(127.0 / 37.0);
    rot = nav1_course - heading;
  }
  // TO/FROM stands unturned beside the aircraft; the course frame turns with the course.
  if (mode == 4 && nav1_received()) {
    nd_frame(g, ctx, C, 122, 249);
    bool to = nav_shows_to(station_bearing(nav_rel_bearing, heading), nav1_course);
    draw_text(g, font12, k.green, 70, 5, ND_TEXT_CAPACITY, to ? "TO" : "FROM");
  }
  nd_frame(g, ctx, C, 122, 249, rot);
  if (mode == 3 || mode == 4) {
    draw_line_d(g, k.magenta2, 0, -45, 0, -190);
    deviation_dots(g, k.white2);
    const DrawPoint head[] = {{-3, -20}, {-3, -40}, {0, -45}, {3, -40}, {3, -20}, {-3, -20}};
    nd_polyline(g, k.white2, head);
    const DrawPoint bar[] = {{dev - 3.0, 23}, {dev - 3.0, -18}, {dev + 3.0, -18}, {dev + 3.0, 23}, {dev - 3.0, 23}};
    nd_polyline(g, k.magenta2, bar);
    const DrawPoint tail[] = {{-3, 25}, {-3, 45}, {3, 45}, {3, 25}, {-3, 25}};
    nd_polyline(g, k.white2, tail);
    draw_line_d(g, k.magenta_dash, 0, 45, 0, 190);
  }
}

void nd_vor_course_draw(const GaugeSurface* ctx, GfxGraphics* g, const VorCourseStyle& style) {
  if (!ctx || !(style.range > 0)) return;
  LayerObjects o(g);
  map_px_per_nm = b737_nd_map_radius / style.range;
  const double cy = (style.mode == 6 || style.mode == 7) ? 171 : 249;
  double kx = 0, ky = 0;
  if (!set_scaled_frame(g, ctx->width, ctx->height, style.canvas, 122, cy, kx, ky)) return;
  GfxPen* course_pen = o.pen(style.line_argb, 2.0 * ctx->height / style.canvas.height, GFX_DASH_DASH);
  GfxBrush* green = o.brush(COLOUR_GREEN);
  GfxFont* font = o.font(FONT_ARIAL, 10 * kx, GFX_FONT_BOLD);

  double x = 0, y = 0;
  // Heading up, about the aircraft; the plan variant (mode 7, which no display asks
  // for) is north up about the active waypoint.
  const bool plan = style.mode == 7;
  const double up = plan ? 0.0 : heading;
  if (plan) {
    double slat, slon;
    compute_dest_point(present_lat, present_lon, wrap360(nav_rel_bearing + map_heading), dme1_distance, slat, slon);
    measure_from(present_lat, present_lon, slat, slon);
    if (fpl_valid_index(fpl_active_index, fpl_active_last))
      measure_from(fpl_active[fpl_active_index].lat, fpl_active[fpl_active_index].lon, slat, slon);
    map_distance_px = gc_distance_nm * map_px_per_nm;
    polar_to_screen(0, gc_course_deg, 0, 0, map_distance_px, x, y);
  } else {
    map_distance_px = dme1_distance * map_px_per_nm;
    polar_to_screen(map_heading, nav_rel_bearing + map_heading, 0, 0, map_distance_px, x, y);
  }
  draw_map_symbol(g, x * kx, y * ky, SYMBOL_HEX_LOBES, -99, kx, ky, 3, style.range);

  const bool left = style.side(nav1_course, up) == 1;
  if (!std::isfinite(x * kx) || !std::isfinite(y * ky)) return;
  gfx_translate(g, x * kx, y * ky, GFX_PREPEND);
  gfx_rotate(g, wrap360(nav1_course - up + (left ? 90 : -90)), GFX_PREPEND);
  draw_line_d(g, course_pen, -300 * kx, 0, 300 * ky, 0);
  double course = wrap360(nav1_course);
  double reciprocal = wrap360(nav1_course + 180);
  draw_textf(g, font, green, left ? -50 * ky : 25 * ky, 10, ND_TEXT_CAPACITY, "%03.0f", course);
  draw_textf(g, font, green, left ? 25 * ky : -50 * ky, 10, ND_TEXT_CAPACITY, "%03.0f", reciprocal);
}

void b737_nd_vor_course_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  nd_vor_course_draw(ctx, g, {CANVAS_B737_ND, b737_nd_mode, b737_nd_range, COLOUR_LIGHT_GREEN, turn_side});
}
