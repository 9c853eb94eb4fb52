// EFS 50 EHSI lateral deviation scale below the rose of formats 1 to 3.
#include <algorithm>
#include <cmath>

#include "displays/nd_corporate/efs50_common.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"

void efs50_ehsi_deviation_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  nd_frame(g, ctx, EFS50, EFS50_CX, EFS50_ROSE_CY);
  fill_rect_d(g,
              o.brush(nd_background_colour(EFS50EHSIBkgrdColorRed, EFS50EHSIBkgrdColorGreen, EFS50EHSIBkgrdColorBlue)),
              -56, 69, 112, 45);
  draw_line_d(g, white2, -55, 70, -55, 80);
  draw_line_d(g, white2, -55, 70, 55, 70);
  draw_line_d(g, white2, 55, 70, 55, 80);
  draw_ellipse_d(g, white2, -52, 73, 7, 7);
  draw_ellipse_d(g, white2, -28, 74, 5, 5);
  draw_ellipse_d(g, white2, 20, 74, 5, 5);
  draw_ellipse_d(g, white2, 44, 73, 7, 7);
  const DrawPoint diamond[] = {{0, 73}, {3, 77}, {0, 81}, {-3, 77}, {0, 73}};
  nd_polyline(g, white2, diamond);

  if (EFS50NavMode == 1 && nav1_received()) {
    // Not limited: a large deviation leaves the scale.
    const double d = corp_offset(finite_or(nav_token40, 0) / 2.39);
    draw_line_d(g, o.pen(COLOUR_AMBER, 3), d, 72, d, 82);
  } else if (EFS50NavMode == 2 && corp_plan_active()) {
    // Full scale at about 5.65 NM, past the 5 NM of the other scales.
    const double d = std::clamp(std::trunc(corp_cross_track_nm(125) / 0.113), -50.0, 50.0);
    draw_line_d(g, o.pen(CORP_CYAN, 3), d, 72, d, 82);
  }
}
