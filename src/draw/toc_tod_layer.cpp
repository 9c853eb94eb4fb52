// TOC/TOD markers and the approach pattern.
#include "draw/toc_tod_layer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "draw/draw_toolkit.h"
#include "draw/ink_reach.h"
#include "draw/map_layer_frame.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "guidance/waypoint_sequencing.h"
#include "navdb/navdb.h"

namespace {

constexpr int32_t MARKER_TEXT_CAPACITY = 16;

struct MarkerContext {
  GfxGraphics* g;
  int32_t cx, cy, style;
  double w, s;
  double ref_lat, ref_lon, heading;
  // The route's idents as drawn, and the labels drawn so far this frame.
  std::span<const MapTextBox> idents;
  MapTextBox labels[4] = {};
  int32_t label_count = 0;
};

bool boxes_meet(const MapTextBox& a, const MapTextBox& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// The ident or earlier label a label box meets, or null.
const MapTextBox* met_text(const MarkerContext& m, const MapTextBox& b) {
  for (int32_t i = 0; i < m.label_count; ++i)
    if (boxes_meet(b, m.labels[i])) return &m.labels[i];
  for (const MapTextBox& o : m.idents)
    if (boxes_meet(b, o)) return &o;
  return nullptr;
}

// Whether a marker at (x, y) can leave ink: its dot, circle or line figure (arrow cap
// included) lies within 50 w left and 30 w right of it, its label within 16 characters
// of 10 s beyond, all within 20 s and 10 w above and below.
bool marker_reaches_image(const MarkerContext& m, double x, double y) {
  double w = std::fabs(m.w), s = std::fabs(m.s);
  return box_reaches_image(m.g, x - 50 * w - 170 * s, y - 20 * s - 10 * w, x + 30 * w + 170 * s, y + 20 * s + 10 * w,
                           stroke_reach(3 * w) + 10 * s);
}

// A position on the map, x by the x scale and y by the y scale; false when it cannot
// be placed or a marker there would leave no ink.
bool place(const MarkerContext& m, double lat, double lon, double& x, double& y) {
  if (!measure_from(m.ref_lat, m.ref_lon, lat, lon)) return false;
  map_distance_px = gc_distance_nm * map_px_per_nm;
  int32_t ix, iy;
  if (!polar_to_screen_int(m.heading, gc_course_deg, m.cx, m.cy, map_distance_px, ix, iy)) return false;
  int32_t sx, sy;
  if (!trunc_coord(ix * m.w, sx) || !trunc_coord(iy * m.s, sy)) return false;
  x = sx;
  y = sy;
  return marker_reaches_image(m, x, y);
}

// A marker's label with its top left at (lx, top); one that would stand on an ident or an
// earlier label moves up or down the least that clears them all (just above or below one of
// them), or stays where it is when no such place is clear; it is kept for the next.
void draw_label(MarkerContext& m, const GfxBrush* brush, const GfxFont* font, double lx, double top,
                const char* text) {
  const double width = text_width(m.g, font, MARKER_TEXT_CAPACITY, text);
  const double height = 12 * std::fabs(m.s);
  const MapTextBox at{std::min(lx, lx + width), top, std::max(lx, lx + width), top + height};
  auto shifted = [&](double dy) { return MapTextBox{at.x0, at.y0 + dy, at.x1, at.y1 + dy}; };
  double best = 0.0;
  if (met_text(m, at)) {
    bool found = false;
    auto consider = [&](const MapTextBox& o) {
      if (!(o.x0 < at.x1 && at.x0 < o.x1)) return;  // beside the label: no vertical move clears it
      for (double dy : {o.y0 - at.y1, o.y1 - at.y0})
        if ((!found || std::fabs(dy) < std::fabs(best)) && !met_text(m, shifted(dy))) best = dy, found = true;
    };
    for (int32_t i = 0; i < m.label_count; ++i) consider(m.labels[i]);
    for (const MapTextBox& o : m.idents) consider(o);
  }
  const MapTextBox b = shifted(best);
  draw_text(m.g, font, brush, lx, b.y0, MARKER_TEXT_CAPACITY, text);
  if (m.label_count < 4) m.labels[m.label_count++] = b;
}

// A filled dot and a bracketed label left of it ((n + 32) w) or right of it (7 w).
void dot_and_label(MarkerContext& m, const GfxBrush* brush, const GfxFont* font, double x, double y,
                   double dot_top_scale, const char* text, bool label_right) {
  fill_ellipse_d(m.g, brush, x - 4 * m.w, y - 5 * dot_top_scale, 8 * m.w, 8 * m.s);
  if (!text) return;
  const double n = double(std::strlen(text));
  draw_label(m, brush, font, label_right ? x + 7 * m.w : x - (n + 32) * m.w, y - 8 * m.s, text);
}

// The floating TOD: where the descent to the next constraint must begin, walked
// back along the plan from the VNAV record; none when that walk meets a route break,
// without VNAV engaged, or behind the aircraft (a descent it can no longer begin).
bool floating_tod_point(double& lat, double& lon) {
  double dist = (indicated_altitude - vnav_target_alt) / descent_rate * DescentTas / 60.0;
  if (vnav_on != 1 || !std::isfinite(dist) || !fpl_valid_index(fpl_active_index, fpl_active_last)) return false;
  double sum = 0.0;
  if (fpl_valid_index(vnav_wpt_index, fpl_active_last)) {
    for (int32_t i = vnav_wpt_index; i > fpl_active_index && i >= 1; --i) {
      const FlightPlanWpt& later = fpl_active[i];
      const FlightPlanWpt& earlier = fpl_active[i - 1];
      if (fpl_route_break(later) || fpl_route_break(earlier)) return false;
      double leg, course;
      compute_gc_distance_course(later.lat, later.lon, earlier.lat, earlier.lon, leg, course);
      if (sum + leg >= dist) {
        compute_dest_point(later.lat, later.lon, course, dist - sum, lat, lon);
        return true;
      }
      sum += leg;
    }
  }
  if (dist - sum > dist_to_active_wpt) return false;
  double back = bearing_to_active_wpt + 180.0;
  if (back >= 360.0) back -= 360.0;
  const FlightPlanWpt& active = fpl_active[fpl_active_index];
  compute_dest_point(active.lat, active.lon, back + magvar, dist - sum, lat, lon);
  return std::isfinite(lat) && std::isfinite(lon);
}

// The record ahead the climb target stands on; null for none (the TOC).
const FlightPlanWpt* climb_target_record() {
  if (!fpl_valid_index(fpl_active_index, fpl_active_last)) return nullptr;
  for (int32_t i = fpl_active_index; i <= fpl_active_last; ++i) {
    const FlightPlanWpt& r = fpl_active[i];
    if (r.lat == climb_target_lat && r.lon == climb_target_lon) return &r;
  }
  return nullptr;
}

// The altitude constraint of the record the climb target stands on; 0 for the TOC.
double climb_target_constraint() {
  const FlightPlanWpt* r = climb_target_record();
  return r && fpl_has_constraint(*r) && r->alt_constraint > 0.0 ? r->alt_constraint : 0.0;
}

// Climb-target label, or null for none: a constraint's marker shows the constraint.
const char* climb_target_label(char* buf, size_t size) {
  if (double c = climb_target_constraint(); c > 0.0 && toc_reached == 0) {
    std::snprintf(buf, size, "[%.0f]", c);
    return buf;
  }
  bool differs = vnav_target_alt != double(cruise_alt);
  if (toc_reached == 0 || (toc_reached == 1 && tod_reached == 0)) {
    if (differs) {
      std::snprintf(buf, size, "[%.0f]", vnav_target_alt);
      return buf;
    }
    if (vnav_on == 0) return toc_reached == 0 ? "[TOC]" : "[TOD]";
    return nullptr;
  }
  std::snprintf(buf, size, "[%.0f]", vnav_target_alt);
  return buf;
}

void draw_line_marker(const MarkerContext& m, const GfxPen* pen, const GfxPen* arrow_pen, double x, double y,
                      bool tod) {
  double w = m.w, s = m.s, a = x - 8 * w;
  GfxGraphics* g = m.g;
  if (!tod) {
    draw_line_d(g, pen, a - 20 * w, y - 7 * s, a - 7 * w, y);
    draw_line_d(g, pen, a - 7 * w, y, a, y);
    if (m.style == TOC_TOD_STYLE_ARROW) {
      draw_line_d(g, arrow_pen, a + 3 * w, y, a + 8 * w, y);
    } else {
      draw_line_d(g, pen, a, y, a, y - 3 * w);
      draw_line_d(g, pen, a, y, a, y + 3 * w);
      draw_line_d(g, pen, a, y - 4 * w, a + 8 * w, y);
      draw_line_d(g, pen, a, y + 4 * w, a + 8 * w, y);
    }
    return;
  }
  draw_line_d(g, pen, a - 20 * w, y - 8 * s, a - 7 * w, y - 8 * s);
  draw_line_d(g, pen, a - 7 * w, y - 8 * s, a, y - 6 * s);
  if (m.style == TOC_TOD_STYLE_ARROW) {
    draw_line_d(g, arrow_pen, a + 3 * w, y - 4 * s, a + 8 * w, y);
  } else {
    draw_line_d(g, pen, a, y - 6 * s, a + 3 * w, y - 10 * s);
    draw_line_d(g, pen, a, y - 6 * s, a - 3 * w, y - 2 * s);
    draw_line_d(g, pen, a + 3 * w, y - 10 * s, a + 8 * w, y);
    draw_line_d(g, pen, a - 3 * w, y - 2 * s, a + 8 * w, y);
  }
}

}  // namespace

void draw_tod_toc_markers(GfxGraphics* g, int32_t radius, double range, int32_t cx, int32_t cy, int32_t style,
                          double w, double s, double ref_lat, double ref_lon, double map_heading_deg,
                          const IdentStandsLeft& ident_left, std::span<const MapTextBox> idents) {
  MarkerContext m{g, cx, cy, style, w, s, ref_lat, ref_lon, map_heading_deg, idents};
  map_px_per_nm = radius / range;

  LayerObjects obj(g);
  GfxPen* circle_pen = obj.pen(COLOUR_LIGHT_GREEN, w);
  GfxPen* blue_pen = obj.pen(COLOUR_BLUE, 2 * w);
  GfxPen* arrow_pen = style == TOC_TOD_STYLE_ARROW ? obj.arrow_pen(COLOUR_BLUE, 3 * w) : nullptr;
  GfxBrush* green = obj.brush(COLOUR_GREEN);
  GfxBrush* amber = obj.brush(COLOUR_AMBER);
  GfxFont* font = obj.font(FONT_ARIAL, 10 * s, GFX_FONT_BOLD);
  double x, y;

  bool line_styles = style == TOC_TOD_STYLE_B737 || style == TOC_TOD_STYLE_MD11 || style == TOC_TOD_STYLE_ARROW;
  if (!line_styles || ShowFloatingTodBodIndicators == 1) {
    double lat, lon;
    if (indicated_altitude - 500 > vnav_target_alt && floating_tod_point(lat, lon) && place(m, lat, lon, x, y)) {
      fill_ellipse_d(g, amber, x - 4 * w, y - 5 * w, 8 * w, 8 * s);
      draw_label(m, amber, font, x - (5 + 32) * w, y - 8 * s, "[TOD]");
    }
    bool target_is_toc = climb_target_lat == toc_lat || climb_target_lon == toc_lon;
    if (!(vnav_on == 1 && target_is_toc) && place(m, climb_target_lat, climb_target_lon, x, y)) {
      char buf[MARKER_TEXT_CAPACITY * 2];
      // On a plan record the label stands on the side away from the record's ident.
      const FlightPlanWpt* on = climb_target_record();
      const bool right = on ? ident_left && ident_left(x, y, on->ident) : vnav_on == 1;
      dot_and_label(m, amber, font, x, y, s, climb_target_label(buf, sizeof buf), right);
    }
  }

  if (cruise_alt <= 0) return;
  // Passed markers go, and so does a TOC the aircraft flew past still climbing (held at a
  // constraint below the level) until the profile places it again.
  bool show_toc = toc_reached == 0 && !(toc_route_pos < present_route_pos()), show_tod = tod_reached == 0;
  switch (style) {
    case TOC_TOD_STYLE_B737:
      if (show_toc && place(m, toc_lat, toc_lon, x, y)) {
        draw_ellipse_d(g, circle_pen, x - 3 * w, y - 4 * s, 6 * w, 6 * s);
        draw_label(m, green, font, x + 8 * w, y - 7 * s, "T/C");
      }
      if (show_tod && place(m, tod_lat, tod_lon, x, y)) {
        draw_ellipse_d(g, circle_pen, x - 3 * w, y - 4 * s, 6 * w, 6 * s);
        draw_label(m, green, font, x + 8 * w, y - 7 * s, "T/D");
      }
      break;
    case TOC_TOD_STYLE_MD11:
    case TOC_TOD_STYLE_ARROW:
      if (show_toc && place(m, toc_lat, toc_lon, x, y)) draw_line_marker(m, blue_pen, arrow_pen, x, y, false);
      if (show_tod && place(m, tod_lat, tod_lon, x, y)) draw_line_marker(m, blue_pen, arrow_pen, x, y, true);
      break;
    case TOC_TOD_STYLE_P1000:
    case TOC_TOD_STYLE_EFS50:
      if (vnav_on != 1) break;
      if (show_toc && place(m, toc_lat, toc_lon, x, y)) dot_and_label(m, green, font, x, y, s, "[TOC]", false);
      if (show_tod && place(m, tod_lat, tod_lon, x, y)) dot_and_label(m, green, font, x, y, s, "[TOD]", false);
      break;
    default:
      break;
  }
}

// ---- approach pattern ----

int32_t elevation_feet(const char* text) {
  if (!text) return 0;
  char* end = nullptr;
  double v = std::strtod(text, &end);
  if (end == text || !std::isfinite(v) || std::fabs(v) > 100000.0) return 0;
  return int32_t(v);
}

namespace {

double wrap360(double a) {
  a = std::fmod(a, 360.0);
  return a < 0 ? a + 360.0 : a;
}

struct PatternFrame {
  int32_t cx, cy;
  double xs, ys;
  double up;
  double ref_lat, ref_lon;
};

// Screen point of a position: projected from the reference position, then scaled.
bool pattern_point(const PatternFrame& f, double lat, double lon, double& x, double& y) {
  if (!measure_from(f.ref_lat, f.ref_lon, lat, lon)) return false;
  map_distance_px = gc_distance_nm * map_px_per_nm;
  double px, py;
  polar_to_screen(f.up, gc_course_deg, f.cx, f.cy, map_distance_px, px, py);
  int32_t ix, iy;
  if (!trunc_coord(px * f.xs, ix) || !trunc_coord(py * f.ys, iy)) return false;
  x = ix;
  y = iy;
  return true;
}

NavPoint along(NavPoint from, double course, double dist) {
  NavPoint p;
  compute_dest_point(from.lat, from.lon, course, dist, p.lat, p.lon);
  return p;
}

}  // namespace

void draw_runway_centerline_layer(GfxGraphics* g, int32_t radius, int32_t cx, int32_t cy, double range,
                                  double xscale, double yscale) {
  draw_runway_centerline_layer(g, radius, cx, cy, range, xscale, yscale, map_heading, present_lat, present_lon);
}

void draw_runway_centerline_layer(GfxGraphics* g, int32_t radius, int32_t cx, int32_t cy, double range,
                                  double xscale, double yscale, double up, double ref_lat, double ref_lon) {
  if (loaded_rwy_index == -999) return;
  int32_t sel = loaded_rwy_index + loaded_rwy_base - 1;
  int32_t count = loaded_rwy_count < apt_rwy_limit ? loaded_rwy_count : apt_rwy_limit;
  if (sel < 1 || sel > count) return;
  const RwyRecord& r = loaded_rwy_table[sel];

  LayerObjects obj(g);
  GfxPen* pen = obj.pen(COLOUR_LIGHT_GREEN, 2 * xscale);
  GfxBrush* brush = obj.brush(COLOUR_LIGHT_GREEN);
  GfxFont* font = obj.font(FONT_ARIAL, 12 * yscale, GFX_FONT_REGULAR);
  map_px_per_nm = radius / range;
  PatternFrame f{cx, cy, xscale, yscale, up, ref_lat, ref_lon};

  NavPoint t{r.lat, r.lon};
  double second = r.heading2 + 180.0;
  if (second > 360.0) second -= 360.0;
  if (second == 360.0) second = 0.0;
  double approach = second + magvar;  // outward along the extended centre line
  NavPoint p14 = along(t, approach, 14), p60 = along(t, approach, 60);
  NavPoint fan1 = along(p14, wrap360(approach - 30), 15), fan2 = along(p14, wrap360(approach + 30), 15);

  double tx, ty, ax, ay, bx, by;
  bool t_ok = pattern_point(f, t.lat, t.lon, tx, ty);
  if (t_ok && pattern_point(f, p60.lat, p60.lon, ax, ay)) draw_line_d(g, pen, tx, ty, ax, ay);
  bool p14_ok = pattern_point(f, p14.lat, p14.lon, ax, ay);
  if (p14_ok && pattern_point(f, fan1.lat, fan1.lon, bx, by)) draw_line_d(g, pen, ax, ay, bx, by);
  if (p14_ok && pattern_point(f, fan2.lat, fan2.lon, bx, by)) draw_line_d(g, pen, ax, ay, bx, by);
  bool altitudes = DispAppPtrnAlts == 1 && range <= 20;
  int32_t elev = elevation_feet(loaded_apt_elev_text.c_str());
  if (altitudes && p14_ok) draw_textf(g, font, brush, ax, ay + 7 * yscale, 16, "%d00", (elev + 3000) / 100);

  double side = r.right_pattern == 1 ? 90.0 : -90.0;
  NavPoint q = along(t, r.heading + magvar, 3);
  NavPoint c1 = along(q, wrap360(r.heading + side) + magvar, 5);
  NavPoint c2 = along(c1, r.heading + 180.0 + magvar, 8);
  NavPoint c3 = along(c2, wrap360(r.heading + 180.0) + side + magvar, 5);
  double qx, qy, x1, y1, x2, y2, x3, y3;
  bool q_ok = pattern_point(f, q.lat, q.lon, qx, qy);
  bool c1_ok = pattern_point(f, c1.lat, c1.lon, x1, y1);
  bool c2_ok = pattern_point(f, c2.lat, c2.lon, x2, y2);
  bool c3_ok = pattern_point(f, c3.lat, c3.lon, x3, y3);
  if (q_ok && c1_ok) draw_line_d(g, pen, qx, qy, x1, y1);
  if (c1_ok && c2_ok) draw_line_d(g, pen, x1, y1, x2, y2);
  if (c2_ok && c3_ok) draw_line_d(g, pen, x2, y2, x3, y3);
  if (altitudes && c1_ok) draw_textf(g, font, brush, x1, y1 + 7 * yscale, 16, "%d00", (elev + 1500) / 100);
}
