// Holding-pattern layer.
#include "draw/holding_pattern_layer.h"

#include <cmath>

#include "draw/draw_toolkit.h"
#include "draw/ink_reach.h"
#include "draw/map_layer_frame.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "guidance/hold_legs.h"
#include "guidance/lnav_vnav_state.h"
#include "module/display_state.h"

namespace {

constexpr uint32_t COLOUR_EFS50_GREEN = 0xFF25C817;

// Racetrack proportions: outbound offset W = width x L, near-end arc at k L.
struct RacetrackShape {
  double width;
  double near_left, near_right;
};

constexpr RacetrackShape STANDARD{0.5, 0.61, 0.66};
constexpr RacetrackShape WIDE{0.75, 0.61, 0.66};          // DU-1000 EHSI
constexpr RacetrackShape P1000_SHAPE{0.5, 0.66, 0.66};

const HoldRecord* first_hold() {
  if (hold_count < 1 || hold_list[1].active_wpt < 1) return nullptr;
  return &hold_list[1];
}

// Leg length (NM) of the racetrack LNAV flies for the first hold.
double drawn_leg(const HoldRecord& h) { return hold_pattern_leg > 0.0 ? hold_pattern_leg : h.leg_dist; }

// The racetrack in the frame already translated to the fix and rotated: the
// negative y axis points along the inbound course. `leg_px` is the leg length.
// Screen angle of the magnetic inbound course: on a north-up map (drawn true) the course
// plus the variation, on a heading-up map the course less the magnetic heading.
double inbound_rotation(const HoldRecord& h, bool north_up) {
  return north_up ? h.inbound_course + magvar : h.inbound_course - heading;
}

// A pen and its width, for strokes drawn only where they can leave ink.
struct HoldPen {
  GfxGraphics* g;
  const GfxPen* pen;
  double width;
  void line(double x1, double y1, double x2, double y2) const {
    if (line_reaches_image(g, width, x1, y1, x2, y2)) draw_line_d(g, pen, x1, y1, x2, y2);
  }
  void arc(double x, double y, double w, double h, double start, double sweep) const {
    if (ellipse_reaches_image(g, width, x, y, w, h)) draw_arc_d(g, pen, x, y, w, h, start, sweep);
  }
};

void draw_racetrack(const HoldPen& p, const HoldRecord& h, double leg_px, const RacetrackShape& shape) {
  double L = leg_px, W = shape.width * L;
  bool right = h.turn == 1;
  double s = right ? 1.0 : -1.0;
  double left = right ? 0.0 : -W;
  double k = right ? shape.near_right : shape.near_left;
  p.line(0, 0, 0, -0.2 * L);
  p.line(s * W, -0.2 * L, s * W, 0.8 * L);
  p.line(0, 0.8 * L, 0, 0);
  p.arc(left, -0.3 * L, W, 0.25 * L, 180, 180);
  p.arc(left, k * L, W, 0.25 * L, 0, 180);
}

// Distance and course from the reference point to the fix, projected about (x0, y0).
bool project_fix(const HoldRecord& h, double ref_lat, double ref_lon, double map_hdg, double x0, double y0,
                 double& x, double& y) {
  if (!measure_from(ref_lat, ref_lon, h.lat, h.lon)) return false;
  map_distance_px = gc_distance_nm * map_px_per_nm;
  polar_to_screen(map_hdg, gc_course_deg, x0, y0, map_distance_px, x, y);
  return std::isfinite(x) && std::isfinite(y);
}

void translate_rotate(GfxGraphics* g, double x, double y, double rotation) {
  gfx_translate(g, x, y, GFX_PREPEND);
  if (std::isfinite(rotation)) gfx_rotate(g, rotation, GFX_PREPEND);
}

// Aspect-frame member: reset, scale by (w / (w + h), h / (w + h)); design x times
// kx, design y and lengths times ky.
void draw_aspect_member(const GaugeSurface* ctx, GfxGraphics* g, DesignCanvas canvas, double radius, double cx,
                        double cy, double range, double ref_lat, double ref_lon, double map_hdg, double rotation,
                        bool centre_line) {
  const HoldRecord* h = first_hold();
  if (!h || !ctx || ctx->width <= 0 || ctx->height <= 0) return;
  map_px_per_nm = radius / range;
  double x, y;
  if (!project_fix(*h, ref_lat, ref_lon, map_hdg, cx, cy, x, y)) return;
  double sum = double(ctx->width) + double(ctx->height);
  double kx = sum / canvas.width, ky = sum / canvas.height;
  LayerObjects obj(g);
  HoldPen pen{g, obj.pen(COLOUR_MAGENTA, 2 * kx), 2 * kx};
  gfx_reset_transform(g);
  gfx_scale(g, ctx->width / sum, ctx->height / sum, GFX_PREPEND);
  if (centre_line) pen.line(cx * kx, cy * ky, x * kx, y * ky);
  translate_rotate(g, x * kx, y * ky, rotation);
  draw_racetrack(pen, *h, drawn_leg(*h) * map_px_per_nm * ky, STANDARD);
}

// Member in the caller's frame: x times the x scale, y and lengths times the y scale.
void draw_scaled_member(GfxGraphics* g, double ref_lat, double ref_lon, double map_hdg, double x0, double y0,
                        double xscale, double yscale, double rotation, const RacetrackShape& shape) {
  const HoldRecord* h = first_hold();
  if (!h) return;
  double x, y;
  if (!project_fix(*h, ref_lat, ref_lon, map_hdg, x0, y0, x, y)) return;
  LayerObjects obj(g);
  HoldPen pen{g, obj.pen(COLOUR_MAGENTA, 2 * xscale), 2 * xscale};
  translate_rotate(g, x * xscale, y * yscale, rotation);
  draw_racetrack(pen, *h, drawn_leg(*h) * map_px_per_nm * yscale, shape);
}

// MD-11 ND and MD-80 EHSI: plan mode north up about the plan-centre waypoint.
void draw_plan_capable_member(GfxGraphics* g, bool plan, double radius, double cx, double cy, double range,
                              double xscale, double yscale) {
  const HoldRecord* h = first_hold();
  if (!h) return;
  map_px_per_nm = radius / range;
  double lat, lon;
  plan_centre_point(plan, lat, lon);
  double rotation = inbound_rotation(*h, plan);
  draw_scaled_member(g, lat, lon, plan ? 0.0 : map_heading, cx, cy, xscale, yscale, rotation, STANDARD);
}

}  // namespace

void draw_b737_nd_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                             double range) {
  const HoldRecord* h = first_hold();
  if (!h) return;
  draw_aspect_member(ctx, g, CANVAS_B737_ND, radius, cx, cy, range, present_lat, present_lon, map_heading,
                     inbound_rotation(*h, false), false);
}

void draw_wide_map_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                              double range) {
  const HoldRecord* h = first_hold();
  if (!h) return;
  draw_aspect_member(ctx, g, CANVAS_WIDE_MAP, radius, cx, cy, range, present_lat, present_lon, map_heading,
                     inbound_rotation(*h, false), false);
}

void draw_md11_nd_hold_layer(const GaugeSurface*, GfxGraphics* g, double radius, double cx, double cy, double range,
                             double xscale, double yscale) {
  draw_plan_capable_member(g, md11_nd_mode == 2, radius, cx, cy, range, xscale, yscale);
}

void draw_md80_ehsi_hold_layer(const GaugeSurface*, GfxGraphics* g, double radius, double cx, double cy,
                               double range, double xscale, double yscale) {
  draw_plan_capable_member(g, md80_ehsi_mode == 2, radius, cx, cy, range, xscale, yscale);
}

void draw_p1000_mfd_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double cx, double cy,
                               double range) {
  const HoldRecord* h = first_hold();
  if (!h) return;
  map_px_per_nm = radius / range;
  double ref_lat, ref_lon;
  active_or_present_point(p1000_plan_view != 0, ref_lat, ref_lon);
  if (!measure_from(ref_lat, ref_lon, h->lat, h->lon)) return;
  map_distance_px = gc_distance_nm * map_px_per_nm;
  int32_t ix, iy, icx = 0, icy = 0;
  trunc_coord(cx, icx);
  trunc_coord(cy, icy);
  const double up = p1000_map_heading();
  if (polar_to_screen_int(up, gc_course_deg, icx, icy, map_distance_px, ix, iy)) {
    LayerObjects obj(g);
    HoldPen pen{g, obj.pen(COLOUR_LIGHT_GREEN, 2), 2};
    translate_rotate(g, ix, iy, inbound_rotation(*h, p1000_plan_view == 1));
    draw_racetrack(pen, *h, drawn_leg(*h) * map_px_per_nm, P1000_SHAPE);
  }
  restore_p1000_scale(g, ctx);
}

void draw_proline4_mfd_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double, double,
                                  double range) {
  const HoldRecord* h = first_hold();
  if (!h) return;
  bool north_up = proline4_mfd_format == 2;
  double lat, lon;
  plan_centre_point(north_up, lat, lon);
  draw_aspect_member(ctx, g, CANVAS_PROLINE4_MFD, radius, 123, north_up ? 155 : 220, range, lat, lon,
                     north_up ? 0.0 : map_heading, inbound_rotation(*h, north_up), true);
}

void draw_du1000_ehsi_hold_layer(GfxGraphics* g, double ref_lat, double ref_lon, double, double, double xscale,
                                 double yscale, double map_heading_deg) {
  const HoldRecord* h = first_hold();
  if (!h) return;
  double rotation = inbound_rotation(*h, du1000_ehsi_mode == 2);
  draw_scaled_member(g, ref_lat, ref_lon, map_heading_deg, 0, 0, xscale, yscale, rotation, WIDE);
}

void draw_c17_mfd_hold_layer(const GaugeSurface*, GfxGraphics* g, double xscale, double yscale, double, double,
                             double map_heading_deg) {
  const HoldRecord* h = first_hold();
  if (!h) return;
  // A north-up map (map heading 0) turns the pattern by its true inbound course.
  draw_scaled_member(g, present_lat, present_lon, map_heading_deg, 0, 0, xscale, yscale,
                     inbound_rotation(*h, map_heading_deg == 0.0), STANDARD);
}

void draw_efs50_ehsi_hold_layer(const GaugeSurface* ctx, GfxGraphics* g, double radius, double, double,
                                double) {
  const HoldRecord* h = first_hold();
  if (!h || EFS50NavMode != 2 || !ctx) return;
  int32_t cx = 129, cy = efs50_ehsi_mode > 3 ? 190 : 114;
  map_px_per_nm = radius / efs50_ehsi_range;

  // F is point 0, the corners 1..4; each projected from the present position.
  GfxPoint p[5];
  double lats[5] = {h->lat, h->pattern_lat[1], h->pattern_lat[2], h->pattern_lat[3], h->pattern_lat[4]};
  double lons[5] = {h->lon, h->pattern_lon[1], h->pattern_lon[2], h->pattern_lon[3], h->pattern_lon[4]};
  for (int32_t i = 0; i < 5; ++i) {
    if (!measure_from(present_lat, present_lon, lats[i], lons[i])) return;
    map_distance_px = gc_distance_nm * map_px_per_nm;
    if (!polar_to_screen_int(map_heading, gc_course_deg, cx, cy, map_distance_px, p[i].x, p[i].y)) return;
  }
  LayerObjects obj(g);
  HoldPen pen{g, obj.pen(COLOUR_EFS50_GREEN, 2), 2};
  double hh = drawn_leg(*h) * 0.5 * map_px_per_nm;
  double rotation = inbound_rotation(*h, false);
  bool right = h->turn == 1;

  set_canvas_scale(g, ctx->width, ctx->height, CANVAS_EFS50);
  pen.line(p[0].x, p[0].y, p[1].x, p[1].y);
  set_canvas_scale(g, ctx->width, ctx->height, CANVAS_EFS50);
  const GfxPoint& a = right ? p[1] : p[2];
  translate_rotate(g, a.x, a.y, rotation);
  pen.arc(0, -0.25 * hh, hh, 0.5 * hh, 180, 180);
  set_canvas_scale(g, ctx->width, ctx->height, CANVAS_EFS50);
  pen.line(p[2].x, p[2].y, p[3].x, p[3].y);
  pen.line(p[4].x, p[4].y, p[0].x, p[0].y);
  const GfxPoint& b = right ? p[4] : p[3];
  translate_rotate(g, b.x, b.y, rotation);
  pen.arc(0, -0.25 * hh - 2, hh, 0.5 * hh, 0, 180);
  set_canvas_scale(g, ctx->width, ctx->height, CANVAS_EFS50);

  if (lnav_on == 1) {
    int32_t px, py;
    if (polar_to_screen_int(map_heading, hold_corner_course, cx, cy, hold_corner_dist * map_px_per_nm, px, py)) {
      GfxBrush* brush = obj.brush(holds_changed == 1 ? COLOUR_AMBER : COLOUR_EFS50_GREEN);
      if (box_reaches_image(g, px - 4.0, py - 5.0, px + 4.0, py + 3.0, 2.0))
        fill_ellipse_d(g, brush, px - 4.0, py - 5.0, 8, 8);
    }
  }
}
