// EFS 50 EHSI formats 1 to 3: the full compass rose with the selected heading and
// the vertical path scale, then the HSI pointers (format 1) or the map furniture
// (formats 2 and 3).
#include <algorithm>
#include <cmath>

#include "displays/nd_corporate/efs50_common.h"
#include "draw/atc_boundary_layer.h"
#include "draw/map_symbols.h"
#include "draw/runway_layer.h"
#include "draw/toc_tod_layer.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

namespace {

constexpr double CX = EFS50_CX, CY = EFS50_ROSE_CY;
constexpr double GLIDESLOPE_SCALE = 0.44881889763779526;  // 57 design units for 127 of the token

void frame(GfxGraphics* g, const GaugeSurface* ctx, double rot = 0) { nd_frame(g, ctx, EFS50, CX, CY, rot); }

// Boundaries, runway centre line and runways under the compass of the map formats.
void map_underlay(GfxGraphics* g, const GaugeSurface* ctx, int32_t draw_mode) {
  if (!efs50_range_usable()) return;
  const double range = efs50_ehsi_range;
  const int32_t radius = int32_t(efs50_ehsi_map_radius);
  nd_frame(g, ctx, EFS50);
  efs50_clip_rose(g);
  if (atc_bdry_on == 1 && draw_mode != 3) {
    nd_trace("boundaries");
    draw_atc_boundaries(g, radius, CX, CY, range, map_heading);
  }
  if (loaded_rwy_index != -999) {
    nd_trace("centerline");
    nd_frame(g, ctx, EFS50);
    draw_runway_centerline_layer(g, radius, int32_t(CX), int32_t(CY), range, 1.0, 1.0);
  }
  if (loaded_rwy_count > 0 && range <= 2.5) {
    nd_trace("runways");
    nd_frame(g, ctx, EFS50);
    draw_runway_layer(g, radius, int32_t(CX), int32_t(CY), range);
  }
  gfx_reset_clip(g);
}

void scale(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o, bool hsi) {
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  GfxFont* z13 = o.font(FONT_ZUDUZ, 13, GFX_FONT_BOLD);
  for (int32_t a = 0; a < 360; a += 5) {
    frame(g, ctx, a - heading);
    if (a % 10 == 0)
      draw_line_d(g, white2, 0, hsi ? -85 : -90, 0, -100);
    else
      draw_line_d(g, white2, 0, hsi ? -90 : -95, 0, -100);
    if (a % 30 != 0) continue;
    const char* cardinal = a == 0 ? "N" : a == 90 ? "E" : a == 180 ? "S" : a == 270 ? "W" : nullptr;
    const double x = a == 270 ? -7 : -8, y = hsi ? -80 : -90;
    if (cardinal)
      draw_text(g, z13, white, x, y, ND_TEXT_CAPACITY, cardinal);
    else
      draw_textf(g, z13, white, x, y, ND_TEXT_CAPACITY, "%d", a / 10);
  }
  for (int32_t a = 45; a < 360; a += 45) {
    frame(g, ctx, a);
    draw_line_d(g, white2, 0, -102, 0, -111);
  }
  frame(g, ctx, ap_heading - heading);
  const DrawPoint bug[] = {{0, -102}, {6, -109}, {12, -109}, {12, -102}, {-12, -102}, {-12, -109}, {-6, -109}, {0, -102}};
  nd_fill(g, o.brush(COLOUR_AMBER), bug);
}

// Glideslope (NAV) or VNAV path (FMS, past the top of descent) pointer.
void vertical_scale(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  const bool gs = has_nav1_glideslope() != 0;
  double p = 0;
  const char* letters[2];
  uint32_t box = COLOUR_BLACK;
  if (gs && get_token_852() > 0 && EFS50NavMode == 1) {
    p = corp_offset(finite_or(nav_token41, 0) * GLIDESLOPE_SCALE - 10);
    box = nd_background_colour(EFS50EHSIBkgrdColorRed, EFS50EHSIBkgrdColorGreen, EFS50EHSIBkgrdColorBlue);
    letters[0] = "G";
    letters[1] = "S";
  } else if (!gs && route_distance_to_go > 4.0 && EFS50NavMode == 2 && tod_reached == 1 && corp_plan_active()) {
    p = std::trunc(std::clamp(finite_or(indicated_altitude - vnav_path_altitude, 0), -1000.0, 1000.0) * 0.057 - 10);
    letters[0] = "V";
    letters[1] = "N";
  } else {
    return;
  }
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxBrush* green = o.brush(EFS50_GREEN);
  frame(g, ctx);
  fill_rect_d(g, o.brush(box), 89, -61, 40, 122);
  draw_line_d(g, white2, 90, -60, 100, -60);
  draw_line_d(g, white2, 90, -60, 90, 60);
  draw_line_d(g, white2, 90, 60, 100, 60);
  draw_ellipse_d(g, white2, 95, -56, 7, 7);
  draw_ellipse_d(g, white2, 96, -28, 5, 5);
  draw_ellipse_d(g, white2, 95, 49, 7, 7);
  draw_ellipse_d(g, white2, 96, 25, 5, 5);
  const DrawPoint centre[] = {{95, 0}, {99, -5}, {103, 0}, {99, 5}, {95, 0}};
  nd_polyline(g, white2, centre);
  const DrawPoint pointer[] = {{105, p}, {115, p}, {115, p + 20}, {105, p + 20}, {105, p}};
  nd_polyline(g, o.pen(EFS50_GREEN, 1), pointer);
  const DrawPoint tri[] = {{105, p + 5}, {95, p + 10}, {105, p + 15}};
  nd_fill(g, green, tri);
  GfxFont* a8 = o.font(FONT_ARIAL, 8, GFX_FONT_BOLD);
  draw_text(g, a8, green, 106, p, ND_TEXT_CAPACITY, letters[0]);
  draw_text(g, a8, green, 106, p + 10, ND_TEXT_CAPACITY, letters[1]);
}

// Format 1: course pointer, deviation bar and TO/FROM of the source, then the
// bearing pointers.
void hsi(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  if (efs50_course_valid()) {
    const bool nav = EFS50NavMode == 1;
    GfxPen* course = o.pen(efs50_source_colour(), 2);
    GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
    frame(g, ctx, efs50_course() - heading);
    for (double x : {-53.0, -28.0, 22.0, 47.0}) draw_ellipse_d(g, white2, x, -3, 7, 7);
    const DrawPoint head[] = {{0, -85}, {1, -77},  {4, -69},  {1, -68},  {1, -24},
                              {-1, -24}, {-1, -68}, {-4, -69}, {-1, -77}, {0, -85}};
    nd_polyline(g, course, head);
    if (!nav || nav1_received()) {
      const double d = nav ? corp_offset(finite_or(nav_token40, 0) / 2.54) : std::trunc(corp_cross_track_nm() / 0.1);
      const DrawPoint bar[] = {{d, -20}, {d + 1, -20}, {d + 1, 20}, {d - 1, 20}, {d - 1, -20}, {d, -20}};
      nd_polyline(g, course, bar);
    }
    const DrawPoint tail[] = {{0, 24}, {1, 24}, {1, 70}, {0, 80}, {-1, 70}, {-1, 24}, {0, 24}};
    nd_polyline(g, course, tail);
    bool to = true;
    if (efs50_to_from(to)) {
      GfxBrush* white = o.brush(COLOUR_WHITE);
      const DrawPoint to_tri[] = {{0, -25}, {7, -15}, {-7, -15}};
      const DrawPoint from_tri[] = {{0, 39}, {7, 29}, {-7, 29}};
      nd_fill(g, white, to ? to_tri : from_tri);
    }
  }
  if (const Efs50Pointer p = efs50_pointer(2, efs50_brg2_source); p.shown) {
    GfxPen* pen = o.pen(COLOUR_MAGENTA, 2);
    frame(g, ctx, p.angle);
    const DrawPoint head[] = {{0, -90}, {5, -82}, {-5, -82}};
    nd_fill(g, o.brush(COLOUR_MAGENTA), head);
    draw_line_d(g, pen, 3, -82, 3, -24);
    draw_line_d(g, pen, -3, -82, -3, -24);
    const DrawPoint tail[] = {{-3, 90}, {-3, 32}, {0, 24}, {3, 32}, {3, 90}};
    nd_polyline(g, pen, tail);
  }
  if (const Efs50Pointer p = efs50_pointer(1, efs50_brg1_source); p.shown) {
    GfxBrush* cyan = o.brush(CORP_CYAN);
    frame(g, ctx, p.angle);
    const DrawPoint head[] = {{0, -95}, {5, -85}, {-5, -85}};
    nd_fill(g, cyan, head);
    draw_line_d(g, o.pen(CORP_CYAN, 2), 0, -30, 0, -85);
    const DrawPoint tail[] = {{1, 40},   {1, 55},   {3, 60},  {1, 60},  {1, 95},  {-1, 95},
                              {-1, 60},  {-3, 60},  {-1, 55}, {-1, 40}, {1, 40}};
    nd_fill(g, cyan, tail);
  }
}

// Formats 2 and 3: range ring, the NAV 1 station with its course line.
void map_furniture(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  GfxPen* dashed = o.pen(CORP_CYAN, 2, GFX_DASH_DASH);
  if (efs50_ehsi_mode == 3) {
    for (double a : {60.0, 240.0}) {
      frame(g, ctx, a);
      draw_line_d(g, dashed, 0, 0, 0, -95);
    }
  }
  frame(g, ctx);
  draw_ellipse_d(g, dashed, -50, -50, 100, 100);
  if (!efs50_range_usable()) return;
  const double range = efs50_ehsi_range;
  draw_textf(g, o.font(FONT_ARIAL, 10, GFX_FONT_BOLD), o.brush(CORP_CYAN), 50, -4, ND_TEXT_CAPACITY, "%3.1f", range);
  if (EFS50NavMode == 1 && nav1_received() && !is_nav1_localizer()) {
    nd_frame(g, ctx, EFS50);
    efs50_clip_rose(g);
    map_px_per_nm = 40 / range;
    map_distance_px = dme1_distance * map_px_per_nm;
    int32_t x, y;
    if (polar_to_screen_int(map_heading, station_bearing(nav_rel_bearing, heading) + magvar, int32_t(CX), int32_t(CY),
                            map_distance_px, x, y)) {
      draw_map_symbol(g, x, y - 3, SYMBOL_LOBED_CIRCLE, -99, 1.0, 1.0, 0, range);
      nd_frame(g, ctx, EFS50, x, y, nav1_course - heading);
      draw_line_d(g, o.pen(COLOUR_WHITE, 1), 0, 0, 0, -100);
      draw_line_d(g, o.pen(EFS50_GREEN, 1), 0, 0, 0, 100);
    }
    gfx_reset_clip(g);
  }
  map_px_per_nm = efs50_ehsi_map_radius / range;
}

void heading_pointer(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  GfxBrush* white = o.brush(COLOUR_WHITE);
  frame(g, ctx);
  if (EhsiStaticHdgPointer == 0) {
    const DrawPoint lubber[] = {{0, -103}, {6, -112}, {-6, -112}};
    nd_fill(g, white, lubber);
    return;
  }
  fill_rect_d(g, o.brush(nd_background_colour(EFS50EHSIBkgrdColorRed, EFS50EHSIBkgrdColorGreen,
                                              EFS50EHSIBkgrdColorBlue)),
              -16, -114, 32, 15);
  const DrawPoint box[] = {{-16, -112}, {-16, -99}, {16, -99}, {16, -112}};
  nd_polyline(g, o.pen(COLOUR_WHITE, 2), box);
  const DrawPoint tri[] = {{-6, -99}, {0, -89}, {6, -99}};
  nd_fill(g, white, tri);
  draw_textf(g, o.font(FONT_ARIAL, 15, GFX_FONT_BOLD), o.brush(EFS50_GREEN), -15, -114, ND_TEXT_CAPACITY, "%03.0f",
             wrap360(heading));
}

}  // namespace

void efs50_ehsi_rose_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode) {
  LayerObjects o(g);
  const bool hsi_format = efs50_ehsi_mode == 1;
  if (!hsi_format) map_underlay(g, ctx, draw_mode);
  scale(g, ctx, o, hsi_format);
  vertical_scale(g, ctx, o);
  if (hsi_format)
    hsi(g, ctx, o);
  else
    map_furniture(g, ctx, o);
  heading_pointer(g, ctx, o);
  frame(g, ctx);
  efs50_aircraft(g, o.pen(COLOUR_AMBER, 1));
}
