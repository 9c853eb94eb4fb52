// Whether a map item can leave ink.
#include "draw/ink_reach.h"

#include <cmath>

double stroke_reach(double pen_width) { return 5.0 * std::fabs(pen_width) + 1.0; }

namespace {

// The box (x0, y0)-(x1, y1) widened by `pad`, asked of a rectangle test.
template <typename Answer>
Answer ask_box(Answer (*test)(GfxGraphics*, double, double, double, double), GfxGraphics* g, double x0, double y0,
               double x1, double y1, double pad) {
  double left = gfx_fmin(x0, x1) - pad, top = gfx_fmin(y0, y1) - pad;
  return test(g, left, top, gfx_fmax(x0, x1) + pad - left, gfx_fmax(y0, y1) + pad - top);
}

}  // namespace

bool box_reaches_image(GfxGraphics* g, double x0, double y0, double x1, double y1, double pad) {
  return ask_box(gfx_rect_visible, g, x0, y0, x1, y1, pad);
}

GfxRectView box_view(GfxGraphics* g, double x0, double y0, double x1, double y1, double pad) {
  return ask_box(gfx_rect_view, g, x0, y0, x1, y1, pad);
}

bool line_reaches_image(GfxGraphics* g, double pen_width, double x1, double y1, double x2, double y2) {
  return box_reaches_image(g, x1, y1, x2, y2, stroke_reach(pen_width));
}

bool ellipse_reaches_image(GfxGraphics* g, double pen_width, double x, double y, double w, double h) {
  // A smooth outline has no miter: half the pen, and a unit for each truncated corner and size.
  return box_reaches_image(g, x, y, x + w, y + h, std::fabs(pen_width) / 2 + 2.0);
}

bool text_reaches_image(GfxGraphics* g, double size, double x, double y, int32_t chars) {
  double em = std::fabs(size);
  return box_reaches_image(g, x, y, x + chars * em, y + em, em + 1.0);
}
