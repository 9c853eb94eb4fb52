// DU-1000 EHSI mode 2 frame: the north-up plan's range rings, cardinal letters and
// outward arrows about (159, 155).
#include "displays/nd_corporate/du1000_common.h"

void du1000_ehsi_plan_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxPen* green = o.pen(DU1000_GREEN, 2);
  GfxBrush* brush = o.brush(DU1000_GREEN);
  GfxFont* font = o.font(FONT_ARIAL, 15, GFX_FONT_BOLD);
  nd_frame(g, ctx, DU1000, DU1000_CX, DU1000_ROSE_CY);
  GfxPen* white = o.pen(DU1000_WHITE, 2);
  draw_ellipse_d(g, white, -140, -140, 280, 280);
  draw_ellipse_d(g, white, -70, -70, 140, 140);
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
