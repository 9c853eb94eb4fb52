// MD-11 ND PLAN frame: the plan-map clip, the two range rings and the aircraft
// where it stands relative to the plan centre, turned to its heading.
#include <cmath>

#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"

void md11_nd_plan_frame_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  const double cx = md11_nd_center_x, cy = md11_nd_center_y;

  nd_frame(g, ctx, CANVAS_MD11_ND, cx, 178);
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_arc(g, path, -150, -150, 300, 300, 217, 106);
  gfx_path_add_line(g, path, 120, -90, 120, 20);
  gfx_path_add_line(g, path, 120, 20, 83, 20);
  gfx_path_add_line(g, path, 83, 20, 83, 80);
  gfx_path_add_line(g, path, 83, 80, -60, 80);
  gfx_path_add_line(g, path, -60, 80, -60, 40);
  gfx_path_add_line(g, path, -60, 40, -83, 40);
  gfx_path_add_line(g, path, -83, 40, -83, 20);
  gfx_path_add_line(g, path, -83, 20, -120, 20);
  gfx_path_add_line(g, path, -120, 20, -120, -90);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);

  nd_frame(g, ctx, CANVAS_MD11_ND, cx, cy);
  draw_arc_d(g, white2, -94, -94, 188, 188, 5, 170);
  draw_arc_d(g, white2, -94, -94, 188, 188, 185, 170);
  draw_arc_d(g, white2, -47, -47, 94, 94, 5, 168);
  draw_arc_d(g, white2, -47, -47, 94, 94, 187, 170);

  int32_t x = 0, y = 0;
  double clat, clon;
  if (plan_centre_point(true, clat, clon)) {
    map_px_per_nm = md11_nd_map_radius / md11_nd_range;
    compute_gc_distance_course(clat, clon, present_lat, present_lon, gc_distance_nm, gc_course_deg);
    map_distance_px = map_px_per_nm * gc_distance_nm;
    if (!polar_to_screen_int(0, gc_course_deg, 0, 0, map_distance_px, x, y)) x = y = 0;
  }

  nd_frame(g, ctx, CANVAS_MD11_ND, cx + x, cy + y, map_heading);  // true, on a north-up map
  const DrawPoint p[] = {{0, -15}, {2, -13},  {2, -5},   {14, -1},  {14, 3},   {2, 3},
                         {2, 13},  {6, 15},   {6, 17},   {-6, 17},  {-6, 15},  {-2, 13},
                         {-2, 3},  {-14, 3},  {-14, -1}, {-2, -5},  {-2, -13}, {0, -15}};
  for (int32_t i = 0; i + 1 < 18; ++i) draw_line_d(g, white2, p[i].x, p[i].y, p[i + 1].x, p[i + 1].y);
  fill_ellipse_d(g, white, -2, -3, 4, 4);
}
