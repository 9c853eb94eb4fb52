// DU-1000 EHSI data fields: speeds, the active waypoint or course and navigation
// source, the range marks and the wind with its arrow.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "displays/nd_corporate/du1000_common.h"
#include "draw/route_common.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

void du1000_ehsi_data_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxFont* f12 = o.font(FONT_ARIAL, 12, GFX_FONT_BOLD);
  GfxFont* f15 = o.font(FONT_ARIAL, 15, GFX_FONT_BOLD);
  GfxBrush* green = o.brush(DU1000_GREEN);
  GfxBrush* cyan = o.brush(CORP_CYAN);
  const int32_t mode = du1000_ehsi_mode;
  nd_frame(g, ctx, DU1000);

  draw_text(g, f12, green, 10, 0, ND_TEXT_CAPACITY, "GS");
  if (ground_speed < 1.0 || !std::isfinite(ground_speed))
    draw_text(g, f15, green, 40, 0, ND_TEXT_CAPACITY, "---");
  else
    draw_textf(g, f15, green, 40, 0, ND_TEXT_CAPACITY, "%3.0f", ground_speed);
  draw_text(g, f12, green, 10, 15, ND_TEXT_CAPACITY, "TAS");
  if (true_airspeed <= 0 || !std::isfinite(true_airspeed))
    draw_text(g, f15, green, 40, 15, ND_TEXT_CAPACITY, "---");
  else
    draw_textf(g, f15, green, 40, 15, ND_TEXT_CAPACITY, "%3.0f", true_airspeed);

  if ((mode == 2 || mode == 3) && corp_plan_active()) {
    // A wide ident ("HOLD PPOS") moves left to end inside the screen.
    const FlightPlanWpt& to = fpl_active[fpl_active_index];
    char ident[sizeof to.ident + 1];
    std::snprintf(ident, sizeof ident, "%.*s", int(sizeof to.ident), to.ident);
    const double room = DU1000.width - text_width(g, f12, int32_t(sizeof ident), ident);
    draw_route_label(g, f12, green, std::min(255.0, room), 0, to);
    draw_text(g, f12, green, 270, 12, ND_TEXT_CAPACITY, corp_format(false, "%03.0f\xB0", bearing_to_active_wpt).s.c_str());
    const CorpText d = corp_format(false, "%.0fNM", dist_to_active_wpt);
    draw_text(g, f12, green, 284 - 5.8 * (d.n() - 2), 24, ND_TEXT_CAPACITY, d.s.c_str());
  }
  if (mode == 0 && get_nav1_signal() > 0) {
    bool frequency, glideslope;
    draw_text(g, f15, cyan, 150, 0, ND_TEXT_CAPACITY, du1000_nav_source(frequency, glideslope));
    if (glideslope) draw_text(g, f12, cyan, 290, 45, ND_TEXT_CAPACITY, "G/S");
    if (frequency) draw_textf(g, f15, cyan, 140, 15, ND_TEXT_CAPACITY, "%3.2f", get_nav1_frequency_mhz());
  }
  if (mode == 0 || mode == 1) {
    draw_text(g, f12, cyan, 250, 3, ND_TEXT_CAPACITY, "CRS");
    draw_text(g, f15, cyan, 280, 0, ND_TEXT_CAPACITY, corp_format(false, "%03.0f\xB0", nav1_course).s.c_str());
  }
  if (mode == 1 || mode == 3) {
    du1000_ring_label(g, o, cyan, 12, 162, du1000_ehsi_range * 2 / 3);
    du1000_ring_label(g, o, cyan, 68, 217, du1000_ehsi_range / 3);
  }
  if (!(wind_speed >= 1.0)) {
    draw_text(g, f12, green, 0, 295, ND_TEXT_CAPACITY, "---/---");
    return;
  }
  draw_textf(g, f12, green, 0, 295, ND_TEXT_CAPACITY, "%03.0f/%-3.0f", wind_direction, wind_speed);
  double r = std::trunc(wrap360(wind_direction) + 180);
  if (r >= 361) r -= 360;
  nd_frame(g, ctx, DU1000, 20, 285, r - heading);
  const DrawPoint head[] = {{0, -8}, {3, -5}, {-3, -5}, {0, -8}};
  nd_fill(g, green, head);
  draw_line_d(g, o.pen(DU1000_GREEN, 1), 0, 8, 0, -8);
  nd_frame(g, ctx, DU1000);
}
