// Pieces the four Pro Line 4 MFD formats share.
#include "displays/nd_corporate/proline4_mfd_common.h"

#include <algorithm>
#include <cmath>

#include "guidance/fms_state.h"
#include "module/sim_vars.h"

void pl4_header(GfxGraphics* g, LayerObjects& o, const GfxFont* font, const Proline4Header& h) {
  GfxBrush* cyan = o.brush(CORP_CYAN);
  GfxBrush* green = o.brush(COLOUR_GREEN);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  // Each value starts at its column, or past its label's measured box where the label
  // reaches further, so that the two never touch.
  auto pair = [&](const GfxBrush* label_brush, double label_x, const char* label, double value_x, const CorpText& v) {
    draw_text(g, font, label_brush, label_x, h.y, ND_TEXT_CAPACITY, label);
    value_x = std::max(value_x, label_x + text_width(g, font, ND_TEXT_CAPACITY, label));
    draw_text(g, font, white, value_x, h.y, ND_TEXT_CAPACITY, v.s.c_str());
  };
  pair(cyan, 0, "UTC", h.time_x, corp_format(false, "%2.0f:%02.0f", zulu_hour, zulu_minute));
  pair(green, 55, "TAS", 82, corp_format(false, "%3.0f", true_airspeed));
  pair(green, 120, "GS", 139, corp_format(false, "%3.0f", ground_speed));
  pair(green, 165, "SAT", h.sat_x, corp_format(false, "%3.0f", token341));
  pair(green, 205, "TAT", h.tat_x, corp_format(false, "%3.0f", h.tat));
}

namespace {

// The heading box's outline from its top: the box and the pointer below it.
constexpr double BOX_X = 107, BOX_W = 32, BOX_H = 17;

// A scale label's layout box, turned by `turn` degrees about (123, cy), meets the
// heading box: the box would cover part of it.
bool under_heading_box(double x, double y, double w, double h, double turn, double cy, double box_top) {
  const double a = turn * M_PI / 180, c = std::cos(a), s = std::sin(a);
  double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
  for (double px : {x, x + w})
    for (double py : {y, y + h}) {
      const double cx = PL4_CENTRE_X + px * c - py * s, cyy = cy + px * s + py * c;
      x0 = std::min(x0, cx);
      x1 = std::max(x1, cx);
      y0 = std::min(y0, cyy);
      y1 = std::max(y1, cyy);
    }
  return x1 > BOX_X && x0 < BOX_X + BOX_W && y1 > box_top && y0 < box_top + BOX_H;
}

}  // namespace

void pl4_arc_heading_scale(GfxGraphics* g, const GaugeSurface* ctx, double cy, double box_top, const GfxPen* pen,
                           const GfxFont* font, double font_px, const GfxBrush* brush) {
  const double hdg = wrap360(heading);
  for (int32_t h = 0; h < 360; h += 5) {
    const double r = h - hdg;
    if (!(std::fabs(r) < 60 || std::fabs(r) > 300)) continue;
    nd_frame(g, ctx, PL4, PL4_CENTRE_X, cy, r);
    if (h % 10 != 0) {
      draw_line_d(g, pen, 0, -140, 0, -144);
      continue;
    }
    draw_line_d(g, pen, 0, -140, 0, -148);
    if (h % 30 != 0) continue;
    // A label the heading box would cut in part is left out whole.
    const CorpText label = corp_format(false, "%d", h / 10);
    const double x = h / 10 < 10 ? -5 : -8;
    if (under_heading_box(x, -160, text_width(g, font, ND_TEXT_CAPACITY, label.s.c_str()), font_px, r, cy, box_top))
      continue;
    draw_text(g, font, brush, x, -160, ND_TEXT_CAPACITY, label.s.c_str());
  }
}

void pl4_heading_box(GfxGraphics* g, const GaugeSurface* ctx, const GfxBrush* fill, const GfxPen* pen,
                     const GfxFont* font, const GfxBrush* brush, double top, double text_y) {
  nd_frame(g, ctx, PL4);
  fill_rect_d(g, fill, BOX_X, top, BOX_W, 12);
  const DrawPoint box[] = {{BOX_X, top + 2},  {BOX_X, top + 12}, {118, top + 12}, {123, top + BOX_H},
                           {128, top + 12}, {BOX_X + BOX_W, top + 12}, {BOX_X + BOX_W, top + 2}};
  nd_polyline(g, pen, box);
  draw_textf(g, font, brush, 109, text_y, ND_TEXT_CAPACITY, "%03.0f", wrap360(heading));
}

void pl4_selected_heading(GfxGraphics* g, const GaugeSurface* ctx, double cy, double r, const GfxPen* pen,
                          const GfxPen* dashed) {
  nd_frame(g, ctx, PL4, PL4_CENTRE_X, cy, ap_heading - heading);
  const DrawPoint bug[] = {{0, -r},      {10, -r},      {10, -r - 5}, {5, -r - 5}, {0, -r},
                           {-5, -r - 5}, {-10, -r - 5}, {-10, -r},    {0, -r}};
  nd_polyline(g, pen, bug);
  if (hdg_change_countdown > 0) draw_line_d(g, dashed, 0, 0, 0, -r);
}

void pl4_track_marker(GfxGraphics* g, const GaugeSurface* ctx, double cy, double top, const GfxPen* pen) {
  nd_frame(g, ctx, PL4, PL4_CENTRE_X, cy, ground_track - heading);
  draw_ellipse_d(g, pen, -3, -top, 6, 6);
}

void pl4_aircraft(GfxGraphics* g, const GaugeSurface* ctx, double cy, const GfxPen* pen) {
  nd_frame(g, ctx, PL4, PL4_CENTRE_X, cy);
  pl4_aircraft_lines(g, pen);
}

void pl4_aircraft_lines(GfxGraphics* g, const GfxPen* pen) {
  draw_line_d(g, pen, -10, 0, 10, 0);
  draw_line_d(g, pen, 0, -10, 0, 10);
  draw_line_d(g, pen, -5, 10, 5, 10);
  draw_line_d(g, pen, 0, 10, 0, 13);
}

void pl4_wind_arrow(GfxGraphics* g, const GaugeSurface* ctx, const GfxPen* pen, bool north_up) {
  if (!(wind_speed >= 1.0)) return;
  double w = wind_direction + 180;
  if (w > 360) w -= 360;
  // The wind's direction is magnetic: a north-up map is drawn true.
  nd_frame(g, ctx, PL4, 20, 90, north_up ? w + magvar : w - heading);
  draw_line_d(g, pen, 0, -10, -3, -6);
  draw_line_d(g, pen, 0, -10, 3, -6);
  draw_line_d(g, pen, 0, 0, 0, -10);
  draw_line_d(g, pen, 0, 0, 0, 10);
}

Proline4Pointer pl4_pointer(int32_t pointer, int32_t source) {
  switch (source) {
    case 1:
      if (pointer == 1) return {"VOR1", get_nav1_signal() > 0, station_bearing(nav_rel_bearing, heading) - heading};
      return {"VOR2", get_nav2_signal() > 0, station_bearing(nav_token59, heading) - heading};
    case 2:
      return {"ADF", adf1_bearing > 1, nav_token39 + 360};
    case 3:
      return {"FMS", corp_plan_active(), bearing_to_active_wpt - heading};
    default:
      return {nullptr, false, 0};
  }
}

void pl4_selected_heading_readout(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y) {
  const CorpText t = corp_format(false, "HDG %03.0f", ap_heading);
  if (x < 0) x = PL4.width + x - text_width(g, font, ND_TEXT_CAPACITY, t.s.c_str());
  draw_text(g, font, brush, x, y, ND_TEXT_CAPACITY, t.s.c_str());
}
