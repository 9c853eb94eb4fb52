// The C-17 MFD twin of the B737 ND's NAV 1 station and course line; no display draws it.
#include "displays/nd_transport/nd_transport.h"
#include "geo/great_circle.h"

namespace {
int heading_side(double course, double up) {
  int side = 0, diff = 0;
  return heading_diff_side(course, up, side, diff);
}
}  // namespace

void c17_mfd_vor_course_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  nd_vor_course_draw(ctx, g, {CANVAS_C17_MFD, c17_mfd_mode, c17_mfd_range, COLOUR_GREEN, heading_side});
}
