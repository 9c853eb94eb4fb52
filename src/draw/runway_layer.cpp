// Runway layer.
#include "draw/runway_layer.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "draw/draw_toolkit.h"
#include "draw/ink_reach.h"
#include "draw/map_layer_frame.h"
#include "draw/route_common.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "navdb/navdb.h"

namespace {

constexpr double FEET_PER_NM = 6076.0;
constexpr int32_t RUNWAY_LABEL_CAPACITY = 12;
constexpr double PARKING_RANGE_NM = 0.5;
constexpr double RUNWAY_PEN_WIDTH = 2;
constexpr double RUNWAY_LABEL_SIZE = 10;

// Projects a position from the reference position about (cx, cy).
bool project(const RouteView& v, double lat, double lon, int32_t cx, int32_t cy, int32_t& x, int32_t& y) {
  if (!measure_from(v.lat, v.lon, lat, lon)) return false;
  map_distance_px = gc_distance_nm * map_px_per_nm;
  return polar_to_screen_int(v.heading, gc_course_deg, cx, cy, map_distance_px, x, y);
}

int32_t runway_number(const char* ident) {
  int32_t n = 0;
  for (int32_t i = 0; i < 3 && std::isdigit(static_cast<unsigned char>(ident[i])); ++i) n = n * 10 + (ident[i] - '0');
  return n;
}

}  // namespace

std::string reciprocal_runway_ident(const char* ident) {
  int32_t number = runway_number(ident);
  if (number >= 19) return {};
  std::string suffix;
  if (std::strchr(ident, 'L')) suffix += "R";
  if (std::strchr(ident, 'R')) suffix += "L";
  if (std::strchr(ident, 'C')) suffix += "C";
  char text[16];
  std::snprintf(text, sizeof text, "%02d%s", number + 18, suffix.c_str());
  return text;
}

void draw_runway_layer(GfxGraphics* g, int32_t radius, int32_t cx, int32_t cy, double range) {
  draw_runway_layer(g, radius, cx, cy, range, map_heading, present_lat, present_lon);
}

void draw_runway_layer(GfxGraphics* g, int32_t radius, int32_t cx, int32_t cy, double range, double up,
                       double ref_lat, double ref_lon) {
  const RouteView v{ref_lat, ref_lon, up};
  LayerObjects obj(g);
  GfxPen* red_pen = obj.pen(COLOUR_RED, RUNWAY_PEN_WIDTH);
  GfxPen* yellow_pen = obj.pen(COLOUR_YELLOW, RUNWAY_PEN_WIDTH);
  GfxPen* amber_pen = obj.pen(COLOUR_AMBER, 2);
  GfxBrush* yellow = obj.brush(COLOUR_YELLOW);
  GfxBrush* red = obj.brush(COLOUR_RED);
  GfxBrush* amber = obj.brush(COLOUR_AMBER);
  GfxFont* label_font = obj.font(FONT_ARIAL, RUNWAY_LABEL_SIZE, GFX_FONT_REGULAR);
  GfxFont* parking_font = obj.font(FONT_ARIAL, 14, GFX_FONT_BOLD);

  map_px_per_nm = radius / range;
  int32_t count = loaded_rwy_count < apt_rwy_limit ? loaded_rwy_count : apt_rwy_limit;
  int32_t selected = loaded_rwy_index == -999 ? -1 : loaded_rwy_base + loaded_rwy_index - 1;
  std::string drawn = " ";
  for (int32_t i = 1; i <= count; ++i) {
    const RwyRecord& r = loaded_rwy_table[i];
    char ident[rwy_ident_size + 1];
    std::snprintf(ident, sizeof ident, "%.*s", rwy_ident_size, r.ident);
    if (drawn.find(" " + std::string(ident) + " ") != std::string::npos) continue;

    // The far end is computed here; the table keeps its own thresholds.
    double end_lat, end_lon;
    compute_dest_point(r.lat, r.lon, r.heading + magvar, r.length_ft / FEET_PER_NM, end_lat, end_lon);
    int32_t tx, ty, ex, ey;
    bool t_ok = project(v, r.lat, r.lon, cx, cy, tx, ty);
    bool e_ok = project(v, end_lat, end_lon, cx, cy, ex, ey);

    std::string recip = reciprocal_runway_ident(ident);
    int32_t j = 0;
    if (!recip.empty()) {
      drawn += recip + " ";
      for (int32_t k = i + 1; k <= count && j == 0; ++k)
        if (std::strncmp(loaded_rwy_table[k].ident, recip.c_str(), rwy_ident_size) == 0) j = k;
    }
    bool i_sel = i == selected, j_sel = j != 0 && j == selected;
    if (t_ok && e_ok && line_reaches_image(g, RUNWAY_PEN_WIDTH, tx, ty, ex, ey))
      draw_line_d(g, i_sel || j_sel ? yellow_pen : red_pen, tx, ty, ex, ey);
    if (t_ok && text_reaches_image(g, RUNWAY_LABEL_SIZE, tx, ty, int32_t(std::strlen(ident))))
      draw_text(g, label_font, i_sel ? yellow : red, tx, ty, RUNWAY_LABEL_CAPACITY, ident);
    if (e_ok && !recip.empty() && text_reaches_image(g, RUNWAY_LABEL_SIZE, ex, ey, int32_t(recip.size())))
      draw_text(g, label_font, j_sel ? yellow : red, ex, ey, RUNWAY_LABEL_CAPACITY, recip.c_str());
  }

  if (range <= PARKING_RANGE_NM && parking_lat != 0) {
    int32_t px, py;
    if (project(v, parking_lat, parking_lon, cx, cy, px, py)) {
      gfx_translate(g, px, py, GFX_PREPEND);
      // Against the heading on a heading-up map; a north-up map is drawn true.
      double turn = parking_heading - heading + (map_heading - up);
      if (std::isfinite(turn)) gfx_rotate(g, turn, GFX_PREPEND);
      draw_text(g, parking_font, amber, 3, 0, RUNWAY_LABEL_CAPACITY, "P");
      draw_line_d(g, amber_pen, 0, 0, 4, 3);
      draw_line_d(g, amber_pen, 0, 0, -4, 3);
      draw_line_d(g, amber_pen, 0, 0, 0, 12);
    }
  }
}

void draw_c17_mfd_runway_lines(GfxGraphics* g, double xscale, double yscale, double range, double map_heading_deg) {
  if (!(range < 80)) return;
  const double width = (xscale + yscale) / 2;
  GfxPen* body = gfx_pen_create(g, COLOUR_WHITE, 2 * width);
  GfxPen* extension = gfx_pen_create(g, COLOUR_WHITE, width);
  auto line = [&](const GfxPen* pen, const double* s) {
    draw_line_d(g, pen, s[0] * xscale, s[1] * yscale, s[2] * xscale, s[3] * yscale);
  };
  RouteView v{present_lat, present_lon, map_heading_deg};
  for (const RwyRecord* r : {block_runway(1, origin_runway_index), block_runway(2, dest_runway_index)}) {
    RunwayLines l;
    if (!r || !runway_lines(v, *r, l)) continue;
    line(body, l.centre);
    line(body, l.side_a);
    line(body, l.side_b);
    line(extension, l.far_end);
    line(extension, l.approach);
  }
  gfx_pen_delete(extension);
  gfx_pen_delete(body);
}
