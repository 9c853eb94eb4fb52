#include "displays/nd_corporate/du1000_common.h"

#include <algorithm>
#include <cmath>

#include "draw/nd_common.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

void du1000_aircraft(GfxGraphics* g, const GfxPen* pen, double kx, double ky) {
  draw_line_d(g, pen, -10 * kx, 0, 10 * kx, 0);
  draw_line_d(g, pen, 0, -10 * ky, 0, 10 * ky);
  draw_line_d(g, pen, -5 * kx, 10 * ky, 5 * kx, 10 * ky);
  draw_line_d(g, pen, 0, 10 * ky, 0, 13 * ky);
}

const char* du1000_nav_source(bool& frequency, bool& glideslope) {
  frequency = is_nav1_localizer() != 0;
  glideslope = frequency && has_nav1_glideslope() != 0;
  return glideslope ? "ILS" : frequency ? "LOC" : "VOR";
}

CorpText du1000_ring_distance(double nm) {
  const bool fraction = std::fabs(nm) < 9.95 && std::fabs(nm - std::round(nm)) > 0.005;
  return fraction ? corp_format(false, "%.2g", nm) : corp_format(false, "%3.0f", nm);
}

void du1000_ring_label(GfxGraphics* g, LayerObjects& o, const GfxBrush* brush, double x, double y, double nm) {
  const CorpText t = du1000_ring_distance(nm);
  const GfxFont* font = o.font(FONT_ARIAL, DU1000_RING_LABEL_PX, GFX_FONT_BOLD);
  const double right = x + text_width(g, font, ND_TEXT_CAPACITY, corp_format(false, "%3.0f", nm).s.c_str());
  double width = text_width(g, font, ND_TEXT_CAPACITY, t.s.c_str());
  for (double px = DU1000_RING_LABEL_PX - 1; px >= 8 && width > right; --px) {
    font = o.font(FONT_ARIAL, px, GFX_FONT_BOLD);
    width = text_width(g, font, ND_TEXT_CAPACITY, t.s.c_str());
  }
  // The figure's cell is wiped first: a map label under it does not run through the figure.
  const double left = std::max(0.0, right - width), px = DU1000_RING_LABEL_PX;
  fill_rect_d(g, o.brush(nd_background_colour(DU1000EHSIBkgrdColorRed, DU1000EHSIBkgrdColorGreen,
                                              DU1000EHSIBkgrdColorBlue)),
              left - 1, y + 0.1 * px, width + 2, 0.9 * px);
  draw_text(g, font, brush, left, y, ND_TEXT_CAPACITY, t.s.c_str());
}
