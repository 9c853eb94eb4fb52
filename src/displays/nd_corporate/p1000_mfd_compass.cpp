// Primus 1000 MFD compass: the heading-up arc with its scale and labels, or the
// north-up plan ring; the selected-heading marker with its line or off-scale arrow.
#include <cmath>

#include "displays/nd_corporate/p1000_common.h"
#include "draw/map_symbols.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"

namespace {

constexpr double COMPASS_CX = 134, COMPASS_CY = 148.5;
constexpr double SCALE_WINDOW = 65;  // degrees either side of the heading, exclusive

void symbol(GfxGraphics* g, double x, double y, int32_t code) {
  draw_map_symbol(g, x, y, code, -99, 1.0, 1.0, 0, p1000_mfd_range);
}

void plan_ring(const P1000Frame& f, GfxGraphics* g, LayerObjects& o) {
  GfxPen* pen = o.pen(P1000_WHITE, 2.5);
  draw_ellipse_d(g, pen, 59, 39, 150, 150);
  p1000_canvas(g, f);
  GfxBrush* white = o.brush(P1000_WHITE);
  const DrawPoint arrow[] = {{10, 30}, {15, 35}, {5, 35}};
  nd_fill(g, white, arrow);
  draw_line_d(g, pen, 10, 35, 10, 40);
  draw_text(g, o.font(FONT_ARIAL, 10, GFX_FONT_BOLD), white, 5, 40, ND_TEXT_CAPACITY, "N");
  draw_line_d(g, pen, 10, 53, 10, 58);
}

// A bearing's offset from the heading is on the scale within 65 degrees either
// side, also across north (the offset is not normalised).
bool on_scale(double d) {
  return (d > -SCALE_WINDOW && d < SCALE_WINDOW) || (d > 360 - SCALE_WINDOW && d < 360) ||
         (d > -360 && d < -360 + SCALE_WINDOW);
}

}  // namespace

void p1000_mfd_compass_label_draw(const P1000Frame& f, GfxGraphics* g, int32_t bearing) {
  static constexpr const char* LABELS[] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
  (void)f;
  if (bearing < 0 || bearing >= 360 || bearing % 30 != 0) return;
  const char* text = LABELS[bearing / 30];
  LayerObjects o(g);
  GfxFont* font = o.font(FONT_ZUDUZ, 17, GFX_FONT_BOLD);
  const double width = text_width(g, font, ND_TEXT_CAPACITY, text);
  draw_text(g, font, o.brush(P1000_WHITE), 0.5 - width / 2, -108, ND_TEXT_CAPACITY, text);
}

void p1000_mfd_compass_draw(const P1000Frame& f, GfxGraphics* g) {
  LayerObjects o(g);
  if (!p1000_canvas(g, f)) return;
  if (p1000_plan_view != 0) {
    plan_ring(f, g, o);
    p1000_canvas(g, f);
    return;
  }
  GfxPen* pen = o.pen(P1000_WHITE, 2.5);
  draw_ellipse_d(g, pen, 82, 95, 105, 107);
  draw_ellipse_d(g, pen, 12, 27, 244, 243);
  symbol(g, 134, 137.5, SYMBOL_OWN_AIRCRAFT);
  symbol(g, 119, 0, SYMBOL_HEADING_BOX);
  if (std::isfinite(heading)) {
    for (int32_t b = 0; b < 360; b += 5) {
      const double d = b - heading;
      if (!on_scale(d)) continue;
      p1000_canvas(g, f);
      gfx_translate(g, COMPASS_CX, COMPASS_CY, GFX_PREPEND);
      gfx_rotate(g, d, GFX_PREPEND);
      if (b % 30 == 0) p1000_mfd_compass_label_draw(f, g, b);
      draw_line_d(g, pen, 0, b % 10 == 0 ? -106 : -113, 0, -121.5);
    }
  }
  p1000_canvas(g, f);
}

P1000RangeBoxes p1000_range_boxes() {
  if (p1000_plan_view != 0) return {{{45, 110}, {195, 110}}};
  return {{{71, 141}, {176, 141}}};
}

void p1000_mfd_range_boxes_draw(const P1000Frame& f, GfxGraphics* g) {
  if (!p1000_canvas(g, f)) return;
  for (const DrawPoint& at : p1000_range_boxes().at) symbol(g, at.x, at.y, SYMBOL_RANGE_BOX);
}

void p1000_mfd_heading_marker_draw(const P1000Frame& f, GfxGraphics* g) {
  LayerObjects o(g);
  if (!p1000_canvas(g, f)) return;
  const double h = heading, a = ap_heading;
  if (!std::isfinite(h) || !std::isfinite(a)) return;
  gfx_translate(g, COMPASS_CX, COMPASS_CY, GFX_PREPEND);
  gfx_rotate(g, a - h, GFX_PREPEND);
  const DrawPoint marker[] = {{-12, -133}, {-7, -133}, {0, -128}, {7, -133},
                              {12, -133},  {12, -122}, {-12, -122}, {-12, -133}};
  nd_fill(g, o.brush(P1000_CYAN), marker);
  if (p1000_cntr_open == 0) draw_line_d(g, o.pen(P1000_CYAN, 2, GFX_DASH_DASH), 0, -100, 0, 0);
  if (p1000_cntr_open == 1) {
    // The shorter way from the heading to the setting and its side.
    double angle;
    bool left;
    if (h > a) {
      angle = h - a;
      left = true;
      if (angle > 180) {
        angle = 360 - h + a;
        left = false;
      }
    } else {
      angle = a - h;
      left = false;
      if (angle > 180) {
        angle = 360 - a + h;
        left = true;
      }
    }
    if (angle > SCALE_WINDOW) {
      p1000_canvas(g, f);
      gfx_translate(g, left ? 40 : 230, 60, GFX_PREPEND);
      gfx_rotate(g, left ? -135 : 135, GFX_PREPEND);
      draw_line_d(g, o.arrow_pen(P1000_CYAN, 3), 0, 0, 0, -25);
    }
  }
  p1000_canvas(g, f);
}
