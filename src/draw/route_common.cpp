// Route-overlay helpers shared by the navigation displays.
#include "draw/route_common.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "guidance/fms_state.h"

bool route_point(const RouteView& v, double lat, double lon, double& x, double& y) {
  if (!measure_from(v.lat, v.lon, lat, lon)) return false;
  map_distance_px = gc_distance_nm * map_px_per_nm;
  polar_to_screen(v.heading, gc_course_deg, 0, 0, map_distance_px, x, y);
  return std::isfinite(x) && std::isfinite(y);
}

void draw_route_label(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y,
                      const FlightPlanWpt& w) {
  char text[sizeof w.ident + 1];
  std::snprintf(text, sizeof text, "%.*s", int(sizeof w.ident), w.ident);
  draw_text(g, font, brush, x, y, int32_t(sizeof text), text);
}

bool repeats_active_fix(int32_t index) {
  if (index == fpl_active_index || !fpl_valid_index(fpl_active_index, fpl_active_last) ||
      !fpl_valid_index(index, fpl_active_last))
    return false;
  const FlightPlanWpt& a = fpl_active[fpl_active_index];
  const FlightPlanWpt& w = fpl_active[index];
  return std::strcmp(a.ident, w.ident) == 0 && std::fabs(a.lat - w.lat) < 1e-6 && std::fabs(a.lon - w.lon) < 1e-6;
}

void route_line(GfxGraphics* g, const GfxPen* pen, const double* s) { draw_line_d(g, pen, s[0], s[1], s[2], s[3]); }

bool intercept_end(const RouteView& v, const FlightPlanWpt& w, double& x, double& y) {
  double qlat, qlon, dist, course;
  compute_dest_point(w.lat, w.lon, wrap360(w.intc_course + magvar), 200, qlat, qlon);
  compute_gc_distance_course(w.lat, w.lon, qlat, qlon, dist, course);
  gc_distance_nm = dist;
  gc_course_deg = course;
  polar_to_screen(v.heading, course, 0, 0, 200 * map_px_per_nm, x, y);
  return std::isfinite(x) && std::isfinite(y);
}

const RwyRecord* block_runway(int32_t block, int32_t index) {
  if (block < 1 || block >= apt_block_slots) return nullptr;
  const AptBlock& a = apt_blocks[block];
  if (index < 1 || index > a.rwy_count || index > apt_rwy_limit) return nullptr;
  return &a.rwys[index];
}

namespace {

bool place(const RouteView& v, double lat, double lon, double* out) {
  return route_point(v, lat, lon, out[0], out[1]);
}

bool segment(const RouteView& v, double lat, double lon, double course, double dist, double* out) {
  double elat, elon;
  compute_dest_point(lat, lon, course, dist, elat, elon);
  if (!place(v, lat, lon, out)) return false;
  return route_point(v, elat, elon, out[2], out[3]);
}

}  // namespace

bool runway_lines(const RouteView& v, const RwyRecord& r, RunwayLines& out) {
  if (!measure_from(v.lat, v.lon, r.lat, r.lon) || !(gc_distance_nm < 100)) return false;
  const double L = r.length_ft / 5280.0;
  const double H = r.heading + magvar;
  double alat, alon, clat, clon, elat, elon, glat, glon;
  compute_dest_point(r.lat, r.lon, wrap360(H), 0.7 * L, alat, alon);
  compute_dest_point(r.lat, r.lon, wrap360(H - 180), 0.2 * L, clat, clon);
  compute_dest_point(r.lat, r.lon, wrap360(H - 90), 0.5, elat, elon);
  compute_dest_point(r.lat, r.lon, wrap360(H + 90), 0.5, glat, glon);
  return segment(v, r.lat, r.lon, wrap360(H), L, out.centre) && segment(v, alat, alon, wrap360(H), 18, out.far_end) &&
         segment(v, clat, clon, wrap360(H - 180), 18, out.approach) &&
         segment(v, elat, elon, wrap360(H), L, out.side_a) && segment(v, glat, glon, wrap360(H), L, out.side_b);
}
