#include "displays/nd_corporate/du1000_common.h"

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
