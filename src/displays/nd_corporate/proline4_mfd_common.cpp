// Pieces the four Pro Line 4 MFD formats share.
#include "displays/nd_corporate/proline4_mfd_common.h"

#include <cmath>

#include "guidance/fms_state.h"
#include "module/sim_vars.h"

void pl4_header(GfxGraphics* g, LayerObjects& o, const GfxFont* font, const Proline4Header& h) {
  GfxBrush* cyan = o.brush(CORP_CYAN);
  GfxBrush* green = o.brush(COLOUR_GREEN);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  draw_text(g, font, cyan, 0, h.y, ND_TEXT_CAPACITY, "UTC");
  draw_textf(g, font, white, h.time_x, h.y, ND_TEXT_CAPACITY, "%2.0f:%02.0f", zulu_hour, zulu_minute);
  draw_text(g, font, green, 55, h.y, ND_TEXT_CAPACITY, "TAS");
  draw_textf(g, font, white, 82, h.y, ND_TEXT_CAPACITY, "%3.0f", true_airspeed);
  draw_text(g, font, green, 120, h.y, ND_TEXT_CAPACITY, "GS");
  draw_textf(g, font, white, 139, h.y, ND_TEXT_CAPACITY, "%3.0f", ground_speed);
  draw_text(g, font, green, 165, h.y, ND_TEXT_CAPACITY, "SAT");
  draw_textf(g, font, white, h.sat_x, h.y, ND_TEXT_CAPACITY, "%3.0f", token341);
  draw_text(g, font, green, 205, h.y, ND_TEXT_CAPACITY, "TAT");
  draw_textf(g, font, white, h.tat_x, h.y, ND_TEXT_CAPACITY, "%3.0f", h.tat);
}

void pl4_arc_heading_scale(GfxGraphics* g, const GaugeSurface* ctx, double cy, const GfxPen* pen,
                           const GfxFont* font, const GfxBrush* brush) {
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
    if (h % 30 == 0) draw_textf(g, font, brush, h / 10 < 10 ? -5 : -8, -160, ND_TEXT_CAPACITY, "%d", h / 10);
  }
}

void pl4_heading_box(GfxGraphics* g, const GaugeSurface* ctx, const GfxBrush* fill, const GfxPen* pen,
                     const GfxFont* font, const GfxBrush* brush, double top, double text_y) {
  nd_frame(g, ctx, PL4);
  fill_rect_d(g, fill, 107, top, 32, 12);
  const DrawPoint box[] = {{107, top + 2},  {107, top + 12}, {118, top + 12}, {123, top + 17},
                           {128, top + 12}, {139, top + 12}, {139, top + 2}};
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
