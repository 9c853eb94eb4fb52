// Pieces the Primus 1000 MFD renderers share.
#include "displays/nd_corporate/p1000_common.h"

#include "flightplan/flight_plan.h"
#include "module/display_state.h"

bool p1000_canvas(GfxGraphics* g, const P1000Frame& f) { return nd_frame(g, f.ctx, P1000); }

bool p1000_route_units(GfxGraphics* g, const P1000Frame& f, double& sx, double& sy) {
  sx = sy = 0;
  gfx_reset_transform(g);
  if (!f.ctx || f.ctx->width <= 0 || f.ctx->height <= 0) return false;
  gfx_scale(g, 0.125, 0.125, GFX_PREPEND);
  sx = 8.0 * f.ctx->width / P1000.width;
  sy = 8.0 * f.ctx->height / P1000.height;
  return true;
}

void p1000_unplace(FlightPlanWpt& w) { w.screen_x = w.screen_y = DRAW_COORD_OFF; }

bool p1000_placed(const FlightPlanWpt& w) { return w.screen_x != DRAW_COORD_OFF || w.screen_y != DRAW_COORD_OFF; }
