// B737 ND curved trend vector: the predicted track of a turn over 90 seconds.
#include <cmath>

#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"

void b737_nd_trend_vector_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  map_px_per_nm = b737_nd_map_radius / b737_nd_range;
  nd_frame(g, ctx, CANVAS_B737_ND, 122, (b737_nd_mode == 6 || b737_nd_mode == 7) ? 171 : 249);
  const double bank = adi_token80;
  // Level wings or no ground speed: no turn to show.
  if (!(std::fabs(bank) > 0) || !(ground_speed > 0) || !std::isfinite(bank)) return;
  const double radius_ft = ground_speed * ground_speed / (std::tan(std::fabs(bank) * 0.01745) * 11.23);
  const double rate = ground_speed * 96.7 / radius_ft;
  if (!std::isfinite(radius_ft) || !std::isfinite(rate) || radius_ft <= 0) return;
  gc_distance_nm = radius_ft / 6076.1;
  const double d = std::trunc(2 * radius_ft / 6076.1 * map_px_per_nm);
  map_distance_px = d;

  LayerObjects o(g);
  GfxPen* pen = o.pen(COLOUR_WHITE, 2);
  const double range = b737_nd_range;
  if (bank < 0) {
    draw_arc_d(g, pen, 0, -d / 2, d, d, 180, std::trunc(30 * rate));
    if (range >= 20) draw_arc_d(g, pen, 0, -d / 2, d, d, 180 + 33 * rate, std::trunc(27 * rate));
    if (range > 20) draw_arc_d(g, pen, 0, -d / 2, d, d, 180 + 63 * rate, std::trunc(27 * rate));
  } else {
    draw_arc_d(g, pen, -d, -d / 2, d, d, 0, std::trunc(-30 * rate));
    if (range >= 20) draw_arc_d(g, pen, -d, -d / 2, d, d, std::trunc(-33 * rate), std::trunc(-27 * rate));
    if (range > 20) draw_arc_d(g, pen, -d, -d / 2, d, d, std::trunc(-63 * rate), std::trunc(-27 * rate));
  }
}
