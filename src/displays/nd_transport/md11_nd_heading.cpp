// MD-11 ND heading layer: aircraft symbol, rose (VOR, APPR) or heading arc (MAP),
// bearing pointers, course and deviation, and the clip for the map layers.
#include <algorithm>
#include <cmath>

#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

struct Md11Objects {
  LayerObjects o;
  GfxPen* white1;
  GfxPen* white2;
  GfxPen* white_dot;
  GfxPen* green2;
  GfxPen* blue2;
  GfxPen* magenta2;
  GfxBrush* white;
  GfxBrush* magenta;
  GfxFont* rose_font;
  GfxFont* arc_font;
  GfxFont* tcas_font;
  explicit Md11Objects(GfxGraphics* g)
      : o(g),
        white1(o.pen(COLOUR_WHITE, 1)),
        white2(o.pen(COLOUR_WHITE, 2)),
        white_dot(o.pen(COLOUR_WHITE, 2, GFX_DASH_DOT)),
        green2(o.pen(COLOUR_GREEN, 2)),
        blue2(o.pen(COLOUR_BLUE, 2)),
        magenta2(o.pen(COLOUR_MAGENTA, 2)),
        white(o.brush(COLOUR_WHITE)),
        magenta(o.brush(COLOUR_MAGENTA)),
        rose_font(o.font(FONT_ZUDUZ, 9, GFX_FONT_BOLD)),
        arc_font(o.font(FONT_ZUDUZ, 10, GFX_FONT_BOLD)),
        tcas_font(o.font(FONT_ARIAL, 15, GFX_FONT_BOLD)) {}
};

struct Seg {
  double x1, y1, x2, y2;
};

template <size_t N>
void segments(GfxGraphics* g, const GfxPen* pen, const Seg (&s)[N]) {
  for (const Seg& l : s) draw_line_d(g, pen, l.x1, l.y1, l.x2, l.y2);
}

const Seg SHORT_POINTER_1[] = {{0, -72, 0, -40}, {0, -60, -4, -55}, {0, -60, 4, -55},
                               {0, 72, 0, 42},   {0, 57, -4, 62},   {0, 57, 4, 62}};
const Seg ROSE_POINTER_2[] = {{0, -72, 0, -50}, {0, -55, -4, -50}, {0, -55, 4, -50}, {-2, -53, -2, -37},
                              {2, -53, 2, -37}, {-2, -37, 2, -37}, {0, -37, 0, -33}, {0, 35, 0, 40},
                              {0, 40, -4, 45},  {0, 40, 4, 45},    {-2, 57, -2, 42}, {2, 57, 2, 42},
                              {2, 57, -2, 57},  {0, 57, 0, 72}};
const Seg MAP_SHORT_1[] = {{0, -72, 0, -40}, {0, -60, -4, -55}, {0, -60, 4, -55}};
const Seg MAP_LONG_1[] = {{0, -70, 0, -145}, {0, -135, -4, -130}, {0, -135, 4, -130}};
const Seg MAP_SHORT_2[] = {{0, -72, 0, -50}, {0, -55, -4, -50}, {0, -55, 4, -50}, {-2, -53, -2, -37},
                           {2, -53, 2, -37}, {-2, -37, 2, -37}, {0, -37, 0, -33}};
const Seg MAP_LONG_2[] = {{0, -133, -4, -128}, {0, -133, 4, -128}, {-2, -130, -2, -70},
                          {2, -130, 2, -70},   {-2, -70, 2, -70},  {0, -70, 0, -65}};

void aircraft_symbol(GfxGraphics* g, const GaugeSurface* ctx, const Md11Objects& k, double cx, double cy) {
  nd_frame(g, ctx, CANVAS_MD11_ND);
  const double y0 = cy - 15;
  const DrawPoint p[] = {{cx, y0},           {cx + 2, y0 + 2},   {cx + 2, y0 + 10},  {cx + 14, y0 + 14},
                         {cx + 14, y0 + 18}, {cx + 2, y0 + 18},  {cx + 2, y0 + 28},  {cx + 6, y0 + 30},
                         {cx + 6, y0 + 32},  {cx - 6, y0 + 32},  {cx - 6, y0 + 30},  {cx - 2, y0 + 28},
                         {cx - 2, y0 + 18},  {cx - 14, y0 + 18}, {cx - 14, y0 + 14}, {cx - 2, y0 + 10},
                         {cx - 2, y0 + 2},   {cx, y0}};
  for (int32_t i = 0; i + 1 < 18; ++i) draw_line_d(g, k.white2, p[i].x, p[i].y, p[i + 1].x, p[i + 1].y);
  fill_ellipse_d(g, k.white, cx - 2, cy - 3, 4, 4);
}

void rose_modes(GfxGraphics* g, const GaugeSurface* ctx, const Md11Objects& k, double cx, double cy) {
  const int32_t mode = md11_nd_mode;
  nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy);
  draw_arc_d(g, k.white2, -150, -150, 300, 300, 230, 82);
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_ellipse(g, path, -150, -151, 300, 300);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
  draw_ellipse_d(g, k.white2, -75, -75, 150, 150);

  for (int32_t d = 0; d < 360; d += 5) {
    nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, d - heading);
    if (d % 30 == 0) {
      draw_line_d(g, k.white1, 0, -73, 0, -75);
      draw_textf(g, k.rose_font, k.white, -7, -74, ND_TEXT_CAPACITY, "%02d", d / 10);
    } else if (d % 10 == 0) {
      draw_line_d(g, k.white1, 0, -67, 0, -75);
    } else {
      draw_line_d(g, k.white1, 0, -71, 0, -75);
    }
  }

  nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, ap_heading - heading);
  const DrawPoint bug[] = {{0, -78}, {4, -82}, {8, -82}, {8, -75}, {-8, -75}, {-8, -82}, {-4, -82}, {0, -78}};
  nd_fill(g, k.white, bug);
  nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy);
  const DrawPoint lubber[] = {{0, -74}, {3, -70}, {0, -66}, {-3, -70}, {0, -74}};
  nd_polyline(g, k.green2, lubber);

  const bool nav1 = nav1_received();
  if (md11_nd_vor1_ptr_on == 1 && nav1) {
    nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, station_bearing(nav_rel_bearing, heading) - heading);
    segments(g, k.blue2, SHORT_POINTER_1);
  } else if (md11_nd_adf1_ptr_on == 1 && adf1_bearing > 0) {
    nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, nav_token39 + 360);
    segments(g, k.blue2, SHORT_POINTER_1);
  }
  if (md11_nd_vor2_ptr_on == 1 && get_nav2_signal() > 0) {
    nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, station_bearing(nav_token59, heading) - heading);
    segments(g, k.green2, ROSE_POINTER_2);
  }

  nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, nav1_course - heading);
  for (double x : {-27.0, -52.0, 23.0, 48.0}) draw_ellipse_d(g, k.white1, x, -2, 4, 4);
  const DrawPoint head[] = {{0, -65}, {3, -57}, {-3, -57}, {0, -65}};
  nd_fill(g, k.magenta, head);
  draw_line_d(g, k.magenta2, 0, -30, 0, -60);
  const double dev = std::trunc(std::clamp(finite_or(nav_token40, 0) / 2.54, -1000.0, 1000.0));
  if (mode == 4 && nav1) {
    draw_line_d(g, k.magenta2, dev, -30, dev, 30);
    if (nav_shows_to(station_bearing(nav_rel_bearing, heading), nav1_course)) {
      const DrawPoint to[] = {{dev, -32}, {dev + 3, -24}, {dev - 3, -24}, {dev, -32}};
      nd_fill(g, k.white, to);
    } else {
      const DrawPoint from[] = {{dev, 32}, {dev + 3, 24}, {dev - 3, 24}, {dev, 32}};
      nd_fill(g, k.white, from);
    }
  } else if (mode == 5 && nav1 && is_nav1_localizer()) {
    draw_line_d(g, k.magenta2, dev, -30, dev, 30);
  }
  draw_line_d(g, k.magenta2, 0, 30, 0, 60);
}

// Within 55 degrees either side of the nose, whatever turn the angle carries.
bool within_arc(double angle) {
  double a = wrap360(angle);
  return a <= 55 || a >= 305;
}

void map_mode(GfxGraphics* g, const GaugeSurface* ctx, const Md11Objects& k, double cx, double cy) {
  nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, ap_heading - heading);
  const DrawPoint bug[] = {{0, -153},  {5, -158},   {10, -158}, {10, -150},
                           {-10, -150}, {-10, -158}, {-5, -158}, {0, -153}};
  nd_fill(g, k.white, bug);
  draw_line_d(g, k.white_dot, 0, 0, 0, -153);

  nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy);
  draw_ellipse_d(g, k.white2, -150, -150, 300, 300);
  draw_ellipse_d(g, k.white2, -75, -75, 150, 150);
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_arc(g, path, -150, -151, 300, 300, 217, 106);
  gfx_path_add_line(g, path, 120, -90, 120, 10);
  gfx_path_add_line(g, path, 120, 10, 83, 10);
  gfx_path_add_line(g, path, 83, 10, 83, 67);
  gfx_path_add_line(g, path, 83, 67, 34, 67);
  gfx_path_add_arc(g, path, -75, -75, 151, 151, 64, 85);
  gfx_path_add_line(g, path, -65, 38, -84, 38);
  gfx_path_add_line(g, path, -83, 38, -83, 10);
  gfx_path_add_line(g, path, -83, 10, -120, 10);
  gfx_path_add_line(g, path, -120, 10, -120, -90);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);

  for (int32_t d = 0; d < 360; d += 5) {
    double r = d - heading;
    if (!((r > 290 && r < 360) || (r > -360 && r < -290) || (r > -70 && r < 70))) continue;
    nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, r);
    draw_line_d(g, k.white1, 0, -143, 0, -150);
    if (d % 10 == 0) draw_textf(g, k.arc_font, k.white, -7, -144, ND_TEXT_CAPACITY, "%02d", d / 10);
  }

  if (md11_nd_range == 10 && nd_tcas_on == 1) {
    map_px_per_nm = md11_nd_map_radius / md11_nd_range;
    map_distance_px = 2 * map_px_per_nm;
    for (int32_t a = 0; a < 360; a += 30) {
      nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, a - heading);
      draw_text(g, k.tcas_font, k.white, 0, -map_distance_px - 5, ND_TEXT_CAPACITY, "*");
    }
  }

  nd_frame(g, ctx, CANVAS_MD11_ND, cx, 189, ground_track - heading);
  const DrawPoint diamond[] = {{0, -160}, {4, -154}, {0, -148}, {-4, -154}, {0, -160}};
  nd_polyline(g, k.green2, diamond);

  bool p1 = false;
  double a1 = 0;
  if (md11_nd_adf1_ptr_on == 1 && adf1_bearing > 1.0) {
    p1 = true;
    a1 = nav_token39 + 360;
  } else if (md11_nd_vor1_ptr_on == 1 && nav1_received()) {
    p1 = true;
    a1 = station_bearing(nav_rel_bearing, heading) - heading;
  }
  if (p1) {
    nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, a1);
    if (within_arc(a1))
      segments(g, k.blue2, MAP_LONG_1);
    else
      segments(g, k.blue2, MAP_SHORT_1);
  }
  if (md11_nd_vor2_ptr_on == 1 && get_nav2_signal() > 0) {
    double a2 = station_bearing(nav_token59, heading) - heading;
    nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy, a2);
    if (within_arc(a2))
      segments(g, k.green2, MAP_LONG_2);
    else
      segments(g, k.green2, MAP_SHORT_2);
  }
}

}  // namespace

void md11_nd_heading_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  Md11Objects k(g);
  const double cx = md11_nd_center_x, cy = md11_nd_center_y;
  aircraft_symbol(g, ctx, k, cx, cy);
  if (md11_nd_mode == 3)
    map_mode(g, ctx, k, cx, cy);
  else
    rose_modes(g, ctx, k, cx, cy);
}
