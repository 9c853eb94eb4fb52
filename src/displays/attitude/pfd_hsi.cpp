// PFD heading display: the full rose or the arc, each with the heading-select marker,
// the course pointer and deviation bar of NAV 1 or the FMS leg, the aircraft symbol
// and two bearing pointers.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "displays/attitude/pfd.h"
#include "displays/attitude/pfd_elements.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "module/sim_vars.h"

namespace {

constexpr double ARC_CARD_Y = 290;  // arc-format card centre, x as the rose
constexpr double MAX_FMS_DEV_NM = 5;

bool nav_source() { return pfd_course_source_nav == 1; }
bool have_plan() { return fpl_active_index != FPL_NO_PLAN; }
uint32_t source_colour() { return nav_source() ? COLOUR_LIGHT_GREEN : COLOUR_MAGENTA; }

// Signed deviation in units: NAV 1 30 units at full scale (127); the FMS leg's
// cross-track distance, at most 5 nm, the course to the right of the aircraft
// positive.
double deviation(double units_per_nm) {
  if (nav_source()) return pfd_trunc(nav_token40 / 4.23);
  if (!have_plan() || !(xtk_nm >= 0)) return 0;
  const double side = xtk_side == 1 ? 1 : xtk_side == 2 ? -1 : 0;
  return pfd_trunc(side * std::min(xtk_nm, MAX_FMS_DEV_NM) * units_per_nm);
}

// Bearing of a pointer's source; false for a source with no bearing (drawn straight up).
bool bearing_of(int32_t pointer, int32_t source, double& bearing) {
  struct Source {
    int32_t pointer, source;
    const double* bearing;
  } static const sources[] = {
      {1, 1, &nav_obs_token25}, {1, 2, &nav_token22}, {1, 3, &desired_track},
      {2, 1, &nav_obs_token28}, {2, 2, &nav_token22},
  };
  for (const Source& s : sources)
    if (s.pointer == pointer && s.source == source) {
      bearing = *s.bearing;
      return true;
    }
  return false;
}

// The pointer's turn about its centre.
double pointer_angle(int32_t pointer, int32_t source) {
  double bearing = 0;
  return bearing_of(pointer, source, bearing) ? bearing - heading : 0;
}

void card_label(GfxGraphics* g, PfdTools& t, int v, double size, double y) {
  char text[16];
  switch (v) {
    case 0: std::snprintf(text, sizeof text, "N"); break;
    case 90: std::snprintf(text, sizeof text, "E"); break;
    case 180: std::snprintf(text, sizeof text, "S"); break;
    case 270: std::snprintf(text, sizeof text, "W"); break;
    default: std::snprintf(text, sizeof text, "%d", v / 10); break;
  }
  draw_text(g, t.font(size), t.brush(COLOUR_WHITE), v >= 100 && v % 90 != 0 ? -6 : -4, y, DRAW_TEXT_MAX, text);
}

// ---- full rose ----

void rose_pointers(const GaugeSurface* rec, GfxGraphics* a, PfdTools& t) {
  GfxPen* white1 = t.pen(COLOUR_WHITE, 1);
  if (nav_source() || pfd_course_source_fms == 1) {
    const double course = nav_source() ? nav1_course - heading : have_plan() ? desired_track - heading : 0;
    pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y, course);
    GfxBrush* colour = t.brush(source_colour());
    const DrawPoint head[] = {{0, -35}, {4, -30}, {1, -30}, {1, -12}, {-1, -12}, {-1, -30}, {-4, -30}, {0, -35}};
    fill_polygon_d(a, colour, head, 8);
    const double d = deviation(6);
    if (get_nav1_code_bit3() == 0) {
      const DrawPoint bar[] = {{d + 1, -12}, {d - 1, -12}, {d - 1, 12}, {d + 1, 12}, {d + 1, -12}};
      fill_polygon_d(a, colour, bar, 5);
    }
    const DrawPoint tail[] = {{1, 12}, {1, 35}, {-1, 35}, {-1, 12}, {1, 12}};
    fill_polygon_d(a, colour, tail, 5);
    const DrawPoint triangle[] = {{0, -16}, {7, -9}, {-7, -9}, {0, -16}};
    fill_polygon_d(a, t.brush(COLOUR_WHITE), triangle, 4);
    for (double x : {-33.0, -18.0, 12.0, 27.0}) draw_ellipse_d(a, white1, x, -3, 6, 6);
  }
  pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y);
  const DrawPoint aircraft[] = {{0, -7}, {1, -6},  {1, -2},  {6, 0},   {6, 1},   {1, 0},   {1, 0},
                                {1, 4},  {2, 5},   {1, 6},   {0, 5},   {-1, 6},  {-2, 5},  {-1, 4},
                                {-1, 0}, {-1, 0},  {-6, 1},  {-6, 0},  {-1, -2}, {-1, -6}, {0, -7}};
  draw_lines_d(a, t.pen(COLOUR_WHITE, 2), aircraft, int32_t(std::size(aircraft)));
  if (pfd_bearing1_source >= 1) {
    pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y, pointer_angle(1, pfd_bearing1_source));
    GfxPen* cyan = t.pen(COLOUR_BLUE, 1);
    draw_line_d(a, cyan, 0, -10, 0, -45);
    draw_line_d(a, cyan, 0, 25, 0, 45);
    fill_ellipse_d(a, t.brush(COLOUR_BLUE), -4, -24, 8, 8);
  }
  if (pfd_bearing2_source >= 1) {
    pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y, pointer_angle(2, pfd_bearing2_source));
    const DrawPoint outline[] = {{4, -4}, {4, -24}, {4, -28}, {0, -32}, {0, -45},
                                 {0, -32}, {-4, -28}, {-4, -24}, {-4, -4}};
    draw_lines_d(a, white1, outline, 9);
    const DrawPoint diamond[] = {{0, -32}, {4, -28}, {0, -24}, {-4, -28}, {0, -32}};
    fill_polygon_d(a, t.brush(COLOUR_WHITE), diamond, 5);
    const DrawPoint tail[] = {{-4, 25}, {-4, 35}, {4, 35}, {4, 25}};
    draw_lines_d(a, white1, tail, 4);
  }
}

void full_rose(const GaugeSurface* rec, GfxGraphics* a, GfxGraphics* b) {
  PfdTools t(a);
  pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y);
  GfxBrush* black = t.brush(COLOUR_BLACK);
  fill_ellipse_d(a, black, -63, -63, 126, 126);
  fill_rect_d(a, black, -8, -68, 16, 12);
  const DrawPoint lubber[] = {{0, -56}, {6, -66}, {-6, -66}, {0, -56}};
  draw_lines_d(a, t.pen(COLOUR_WHITE, 1), lubber, 4);
  pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y, ap_heading - heading);
  const DrawPoint bug[] = {{0, -56}, {8, -56}, {8, -61}, {4, -61}, {0, -58}, {-4, -61}, {-8, -61}, {-8, -56}, {0, -56}};
  fill_polygon_d(a, t.brush(COLOUR_BLUE), bug, 9);
  GfxPen* white2 = t.pen(COLOUR_WHITE, 2);
  for (int angle = 0; angle < 360; angle += 45) {
    pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y, angle);
    draw_line_d(a, white2, 0, -56, 0, -61);
  }
  {
    PfdTools tb(b);
    gfx_set_text_hint(b, GFX_TEXT_ANTIALIAS);
    GfxPen* card_pen = tb.pen(COLOUR_WHITE, 2);
    for (int v = 0; v < 360; v += 5) {
      pfd_frame_at(b, rec, PFD_ROSE_X, PFD_ROSE_Y, v - heading);
      draw_line_d(b, card_pen, 0, v % 10 == 0 ? -46 : -51, 0, -56);
      if (v % 30 == 0) card_label(b, tb, v, 10, -46);
    }
    gfx_set_text_hint(b, GFX_TEXT_DEFAULT);
  }
  rose_pointers(rec, a, t);
}

// ---- arc ----

void clip_arc_window(GfxGraphics* g) {
  GfxPath* path = gfx_path_create(g);
  if (!path) return;
  gfx_path_add_arc(g, path, -100, -57, 200, 200, -136, 92);
  gfx_path_add_line(g, path, 72, -27, 36, 19);
  gfx_path_add_line(g, path, 36, 19, 36, 64);
  gfx_path_add_line(g, path, -36, 64, -36, 19);
  gfx_path_add_line(g, path, -36, 19, -72, -27);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

void clip_arc_bug(GfxGraphics* g) {
  GfxPath* path = gfx_path_create(g);
  if (!path) return;
  gfx_path_add_arc(g, path, -100, -68, 200, 200, -136, 92);
  gfx_path_add_line(g, path, 0, 62, 72, -29);
  gfx_path_add_line(g, path, 0, 62, -72, -29);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

// Card marks within 55 degrees either side of the heading.
bool on_arc(double r) { return (r > 305 && r < 360) || (r > -360 && r < -305) || (r > -55 && r < 55); }

// Course of the active leg, magnetic, for the FMS source.
double arc_fms_course() {
  const int32_t i = fpl_active_index;
  // The first leg has no previous record: the desired track stands for it.
  if (i < 1 || i > fpl_active_last) return desired_track;
  double dist = 0, course = 0;
  compute_gc_distance_course(fpl_active[i - 1].lat, fpl_active[i - 1].lon, fpl_active[i].lat, fpl_active[i].lon, dist,
                             course);
  course -= magvar;
  if (course < 0.5) course += 360;
  return course;
}

void arc_pointers(const GaugeSurface* rec, GfxGraphics* a, PfdTools& t) {
  const double course = nav_source() ? nav1_course - heading
                        : pfd_course_source_fms == 1 && have_plan() ? arc_fms_course() - heading
                                                                    : 0;
  pfd_frame_at(a, rec, PFD_ROSE_X, ARC_CARD_Y, course);
  GfxPen* white2 = t.pen(COLOUR_WHITE, 2);
  for (double x : {-15.0, -27.0, 9.0, 21.0}) draw_ellipse_d(a, white2, x, -3, 5, 5);
  GfxBrush* colour = t.brush(source_colour());
  const DrawPoint head[] = {{0, -84}, {4, -74}, {1, -74}, {1, -28}, {-1, -28}, {-1, -74}, {-4, -74}, {0, -84}};
  fill_polygon_d(a, colour, head, 8);
  const double d = deviation(4.8);
  if (nav_flag46 == 0) {
    const DrawPoint bar[] = {{d + 1, -28}, {d - 1, -28}, {d - 1, 15}, {d + 1, 15}, {d + 1, -28}};
    fill_polygon_d(a, colour, bar, 5);
  }
  const DrawPoint tail[] = {{1, 15}, {1, 84}, {-1, 84}, {-1, 15}, {1, 15}};
  fill_polygon_d(a, colour, tail, 5);

  GfxPen* white1 = t.pen(COLOUR_WHITE, 1);
  if (pfd_bearing1_source >= 1) {
    pfd_frame_at(a, rec, PFD_ROSE_X, ARC_CARD_Y, pointer_angle(1, pfd_bearing1_source));
    GfxPen* cyan = t.pen(COLOUR_BLUE, 1);
    draw_line_d(a, cyan, 0, -60, 0, -85);
    fill_ellipse_d(a, t.brush(COLOUR_BLUE), -4, -66, 8, 8);
    draw_line_d(a, cyan, 0, 50, 0, 80);
  }
  if (pfd_bearing2_source >= 1) {
    pfd_frame_at(a, rec, PFD_ROSE_X, ARC_CARD_Y, pointer_angle(2, pfd_bearing2_source));
    const DrawPoint outline[] = {{4, -54}, {4, -54}, {4, -70}, {0, -74}, {0, -85},
                                 {0, -74}, {-4, -70}, {-4, -54}, {-4, -54}};
    draw_lines_d(a, white1, outline, 9);
    const DrawPoint diamond[] = {{0, -74}, {4, -70}, {0, -66}, {-4, -70}, {0, -74}};
    fill_polygon_d(a, t.brush(COLOUR_WHITE), diamond, 5);
    const DrawPoint tail[] = {{-4, 60}, {-4, 75}, {4, 75}, {4, 60}};
    draw_lines_d(a, white1, tail, 4);
    const DrawPoint notch[] = {{0, 20}, {14, 30}, {-14, 30}, {0, 20}};
    draw_lines_d(a, white1, notch, 4);
  }
}

void arc(const GaugeSurface* rec, GfxGraphics* a) {
  PfdTools t(a);
  pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y);
  const DrawPoint erase[] = {{0, -79},  {15, -79}, {15, -66}, {47, -66},  {47, -53},  {80, -36},
                             {70, -6},  {35, 24},  {35, 74},  {-35, 74},  {-35, 24},  {-85, -26},
                             {-85, -46}, {-15, -66}, {-15, -79}, {0, -79}};
  fill_polygon_d(a, t.brush(COLOUR_BLACK), erase, int32_t(std::size(erase)));
  clip_arc_window(a);
  GfxPen* white2 = t.pen(COLOUR_WHITE, 2);
  draw_ellipse_d(a, white2, -100, -56, 200, 200);
  draw_ellipse_d(a, white2, -50, -6, 100, 100);
  for (int v = 0; v < 360; v += 5) {
    const double r = v - heading;
    if (!on_arc(r)) continue;
    pfd_frame_at(a, rec, PFD_ROSE_X, ARC_CARD_Y, r);
    draw_line_d(a, white2, 0, v % 10 == 0 ? -90 : -95, 0, -100);
    if (v % 30 == 0) card_label(a, t, v, 12, -90);
  }
  gfx_reset_clip(a);
  pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y);
  const DrawPoint box[] = {{-12, -78}, {-12, -66}, {-4, -66}, {0, -58}, {4, -66}, {12, -66}, {12, -78}};
  draw_lines_d(a, white2, box, 7);
  draw_textf(a, t.font(12), t.brush(COLOUR_LIGHT_GREEN), -12, -79, DRAW_TEXT_MAX, "%03.0f", heading);
  clip_arc_bug(a);
  pfd_frame_at(a, rec, PFD_ROSE_X, ARC_CARD_Y, ap_heading - heading);
  const DrawPoint bug[] = {{0, -102}, {8, -102}, {8, -107}, {4, -107}, {0, -102},
                           {-4, -107}, {-8, -107}, {-8, -102}, {0, -102}};
  draw_lines_d(a, t.pen(COLOUR_BLUE, 2), bug, 9);
  pfd_frame_at(a, rec, PFD_ROSE_X, PFD_ROSE_Y);
  clip_arc_window(a);
  const DrawPoint aircraft[] = {{0, 38},  {1, 39},  {1, 42},  {6, 45},  {6, 46},  {1, 45},  {1, 45},
                                {1, 49},  {2, 50},  {1, 51},  {0, 50},  {-1, 51}, {-2, 50}, {-1, 49},
                                {-1, 45}, {-1, 45}, {-6, 46}, {-6, 45}, {-1, 42}, {-1, 39}, {0, 38}};
  draw_lines_d(a, white2, aircraft, int32_t(std::size(aircraft)));
  arc_pointers(rec, a, t);
  gfx_reset_clip(a);
}

}  // namespace

void draw_pfd_hsi(const GaugeSurface* rec, GfxGraphics* a, GfxGraphics* b) {
  if (pfd_hsi_arc_format == 0) full_rose(rec, a, b);
  else if (pfd_hsi_arc_format == 1) arc(rec, a);
}
