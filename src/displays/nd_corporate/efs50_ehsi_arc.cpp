// EFS 50 EHSI formats 4 to 7: the expanded compass arc with the selected heading,
// bearing pointers, the course pointer and deviation (formats 4 and 7) or the map
// furniture (formats 5 and 6).
#include <algorithm>
#include <cmath>

#include "displays/nd_corporate/efs50_common.h"
#include "draw/atc_boundary_layer.h"
#include "draw/runway_layer.h"
#include "draw/toc_tod_layer.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

namespace {

constexpr double CX = EFS50_CX, CY = EFS50_ARC_CY;

void frame(GfxGraphics* g, const GaugeSurface* ctx, double rot = 0) { nd_frame(g, ctx, EFS50, CX, CY, rot); }

// The visible arc of the compass and the wedge below it down to the aircraft.
void clip_arc_window(GfxGraphics* g) {
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_arc(g, path, -180, -180, 360, 360, 223, 92);
  gfx_path_add_line(g, path, 128, -126, 128, -70);
  gfx_path_add_line(g, path, 128, -70, 0, 10);
  gfx_path_add_line(g, path, 0, 10, -128, -70);
  gfx_path_add_line(g, path, -128, -70, -128, -126);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

void range_ring(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  frame(g, ctx);
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_line(g, path, -130, -30, 130, -30);
  gfx_path_add_line(g, path, 130, -30, 0, -130);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
  draw_ellipse_d(g, o.pen(CORP_CYAN, 2, GFX_DASH_DASH), -95, -95, 190, 190);
  gfx_reset_clip(g);
  if (efs50_range_usable())
    draw_textf(g, o.font(FONT_ARIAL, 10, GFX_FONT_BOLD), o.brush(CORP_CYAN), 75, -35, ND_TEXT_CAPACITY, "%3.1f",
               efs50_ehsi_range);
}

void heading_reference(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  GfxBrush* white = o.brush(COLOUR_WHITE);
  frame(g, ctx);
  if (EhsiStaticHdgPointer != 0) {
    fill_rect_d(g, o.brush(COLOUR_MAGENTA), -15, -191, 30, 15);
    const DrawPoint box[] = {{-16, -190}, {-16, -175}, {16, -175}, {16, -190}};
    nd_polyline(g, o.pen(COLOUR_WHITE, 2), box);
    const DrawPoint tri[] = {{-5, -175}, {0, -167}, {5, -175}};
    nd_fill(g, white, tri);
  } else {
    const DrawPoint lubber[] = {{0, -180}, {6, -192}, {-6, -192}};
    nd_fill(g, white, lubber);
  }
  frame(g, ctx, ap_heading - heading);
  const DrawPoint bug[] = {{0, -180}, {6, -186}, {12, -186}, {12, -180}, {-12, -180}, {-12, -186}, {-6, -186}, {0, -180}};
  nd_fill(g, o.brush(COLOUR_AMBER), bug);
}

void scale(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  GfxFont* a12 = o.font(FONT_ARIAL, 12, GFX_FONT_BOLD);
  const double hdg = wrap360(heading);
  for (int32_t a = 0; a < 360; a += 5) {
    const double r = a - hdg;
    if (!(std::fabs(r) < 55 || std::fabs(r) > 305)) continue;
    frame(g, ctx, r);
    draw_line_d(g, white2, 0, a % 10 == 0 ? -170 : -175, 0, -180);
    if (a % 30 != 0) continue;
    const char* cardinal = a == 0 ? "N" : a == 90 ? "E" : a == 180 ? "S" : a == 270 ? "W" : nullptr;
    const double x = a == 270 ? -7 : -9;
    if (cardinal)
      draw_text(g, a12, white, x, -170, ND_TEXT_CAPACITY, cardinal);
    else
      draw_textf(g, a12, white, x, -170, ND_TEXT_CAPACITY, "%d", a / 10);
  }
  if (EhsiStaticHdgPointer != 1) return;
  gfx_reset_clip(g);
  efs50_static_heading_readout(ctx, g);
  clip_arc_window(g);
}

void bearing_pointers(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  if (const Efs50Pointer p = efs50_pointer(2, efs50_brg2_source); p.shown) {
    GfxPen* pen = o.pen(COLOUR_MAGENTA, 2);
    frame(g, ctx, p.angle);
    const DrawPoint head[] = {{0, -175}, {5, -167}, {-5, -167}};
    nd_fill(g, o.brush(COLOUR_MAGENTA), head);
    draw_line_d(g, pen, 3, -167, 3, -124);
    draw_line_d(g, pen, -3, -167, -3, -124);
    const DrawPoint tail[] = {{-3, 170}, {-3, 132}, {0, 124}, {3, 132}, {3, 170}};
    nd_polyline(g, pen, tail);
  }
  if (const Efs50Pointer p = efs50_pointer(1, efs50_brg1_source); p.shown) {
    GfxBrush* cyan = o.brush(CORP_CYAN);
    frame(g, ctx, p.angle);
    const DrawPoint head[] = {{0, -180}, {5, -170}, {-5, -170}};
    nd_fill(g, cyan, head);
    draw_line_d(g, o.pen(CORP_CYAN, 2), 0, -124, 0, -180);
    const DrawPoint tail[] = {{1, 130},  {1, 145},  {3, 150},  {1, 150},  {1, 175}, {-1, 175},
                              {-1, 150}, {-3, 150}, {-1, 145}, {-1, 130}, {1, 130}};
    nd_fill(g, cyan, tail);
  }
}

// Boundaries, runway centre line, runways and the NAV course line of the map formats.
void map_underlay(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o) {
  if (!efs50_range_usable()) return;
  const double range = efs50_ehsi_range;
  const int32_t radius = int32_t(efs50_ehsi_map_radius);
  if (atc_bdry_on == 1) {
    nd_trace("boundaries");
    frame(g, ctx);
    draw_atc_boundaries(g, radius, 0, 0, range, map_heading);
  }
  if (loaded_rwy_index != -999) {
    nd_trace("centerline");
    frame(g, ctx);
    draw_runway_centerline_layer(g, radius, 0, 0, range, 1.0, 1.0);
  }
  if (loaded_rwy_count > 0 && range <= 2.5) {
    nd_trace("runways");
    frame(g, ctx);
    draw_runway_layer(g, radius, 0, 0, range);
  }
  if (EFS50NavMode != 1) return;
  frame(g, ctx, nav1_course - heading);
  const double d = corp_offset(finite_or(nav_token40, 0) / 1.14);
  const DrawPoint line[] = {{d, -170}, {d + 1, -170}, {d + 1, 170}, {d - 1, 170}, {d - 1, -170}, {d, -170}};
  nd_fill(g, o.brush(EFS50_GREEN), line);
}

}  // namespace

void efs50_static_heading_readout(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  frame(g, ctx);
  fill_rect_d(g, o.brush(COLOUR_BLACK), -15, -191, 30, 15);
  draw_textf(g, o.font(FONT_ARIAL, 15, GFX_FONT_BOLD), o.brush(EFS50_GREEN), -16, -191, ND_TEXT_CAPACITY, "%03.0f",
             wrap360(heading));
}

void efs50_ehsi_arc_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  const int32_t mode = efs50_ehsi_mode;
  const bool map = efs50_map_format(mode);
  const bool valid = efs50_course_valid();
  const double course = efs50_course();
  GfxPen* course_pen = o.pen(efs50_source_colour(), 2);

  if (map) range_ring(g, ctx, o);
  heading_reference(g, ctx, o);
  frame(g, ctx);
  clip_arc_window(g);
  scale(g, ctx, o);
  bearing_pointers(g, ctx, o);
  if (!map && valid) {
    frame(g, ctx, course - heading);
    const DrawPoint head[] = {{0, -170}, {1, -162}, {4, -154}, {1, -153}, {1, -35},
                              {-1, -35}, {-1, -153}, {-4, -154}, {-1, -162}, {0, -170}};
    nd_polyline(g, course_pen, head);
    const DrawPoint tail[] = {{0, 35}, {1, 35}, {1, 155}, {0, 165}, {-1, 155}, {-1, 35}, {0, 35}};
    nd_polyline(g, course_pen, tail);
  }
  const double x = corp_cross_track_nm();
  if (map) map_underlay(g, ctx, o);
  gfx_reset_clip(g);

  if (valid) {
    frame(g, ctx, map ? 0 : course - heading);
    GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
    for (double cx : {-49.0, -29.0, 23.0, 43.0}) draw_ellipse_d(g, white2, cx, -4, 7, 7);
    const double d = EFS50NavMode == 1 ? corp_offset(finite_or(nav_token40, 0) / 2.59) : std::trunc(x / 0.102);
    const DrawPoint bar[] = {{d, -30}, {d + 1, -30}, {d + 1, 30}, {d - 1, 30}, {d - 1, -30}, {d, -30}};
    nd_polyline(g, course_pen, bar);
  }
  bool to = true;
  if (!map && efs50_to_from(to)) {
    frame(g, ctx, course - heading);
    const DrawPoint to_tri[] = {{0, -25}, {7, -15}, {-7, -15}};
    const DrawPoint from_tri[] = {{0, 35}, {7, 25}, {-7, 25}};
    nd_fill(g, o.brush(COLOUR_WHITE), to ? to_tri : from_tri);
  }
  frame(g, ctx);
  efs50_aircraft(g, o.pen(COLOUR_AMBER, 1));
}
