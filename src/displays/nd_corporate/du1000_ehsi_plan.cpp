// DU-1000 EHSI mode 2 frame: the north-up plan's range rings, cardinal letters and
// outward arrows about (159, 155), and the rings' distances.
#include <cmath>

#include "displays/nd_corporate/du1000_common.h"
#include "module/display_state.h"

namespace {
constexpr double OUTER_R = 140, INNER_R = 70;
}  // namespace

void du1000_ehsi_plan_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxPen* green = o.pen(DU1000_GREEN, 2);
  GfxBrush* brush = o.brush(DU1000_GREEN);
  GfxFont* font = o.font(FONT_ARIAL, 15, GFX_FONT_BOLD);
  nd_frame(g, ctx, DU1000, DU1000_CX, DU1000_ROSE_CY);
  GfxPen* white = o.pen(DU1000_WHITE, 2);
  draw_ellipse_d(g, white, -OUTER_R, -OUTER_R, 2 * OUTER_R, 2 * OUTER_R);
  draw_ellipse_d(g, white, -INNER_R, -INNER_R, 2 * INNER_R, 2 * INNER_R);
  struct Letter {
    const char* text;
    double x, y;
  };
  constexpr Letter LETTERS[] = {{"N", 5, -135}, {"E", 123, -20}, {"W", -137, -20}, {"S", 5, 122}};
  for (const Letter& l : LETTERS) draw_text(g, font, brush, l.x, l.y, ND_TEXT_CAPACITY, l.text);
  for (double rot : {0.0, 90.0, 180.0, 270.0}) {
    nd_frame(g, ctx, DU1000, DU1000_CX, DU1000_ROSE_CY, rot);
    const DrawPoint head[] = {{-5, -132}, {0, -137}, {5, -132}};
    nd_polyline(g, green, head);
    draw_line_d(g, green, 0, -120, 0, -137);
  }
}

void du1000_ehsi_plan_ring_labels(const GaugeSurface* ctx, GfxGraphics* g) {
  const double range = du1000_ehsi_range;
  if (!(range > 0) || !std::isfinite(range) || !(du1000_map_radius > 0)) return;
  LayerObjects o(g);
  GfxFont* font = o.font(FONT_ARIAL, DU1000_RING_LABEL_PX, GFX_FONT_BOLD);
  GfxBrush* cyan = o.brush(CORP_CYAN);
  gfx_reset_clip(g);
  nd_frame(g, ctx, DU1000);
  // As the arc modes mark theirs: left of the ring about where it crosses 220 degrees,
  // ending clear of the ring at the text's foot.
  for (double r : {OUTER_R, INNER_R}) {
    const CorpText t = du1000_ring_distance(range * r / du1000_map_radius);
    const double top = std::trunc(DU1000_ROSE_CY + r * std::sin(220 * M_PI / 180)) - 10;
    const double rise = DU1000_ROSE_CY - (top + DU1000_RING_LABEL_PX);
    const double right = DU1000_CX - std::sqrt(r * r - rise * rise) - 2;
    draw_text(g, font, cyan, right - text_width(g, font, ND_TEXT_CAPACITY, t.s.c_str()), top, ND_TEXT_CAPACITY,
              t.s.c_str());
  }
}
