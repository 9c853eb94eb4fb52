#include "gauges/debug_gauge.h"

#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "guidance/lnav_vnav_state.h"
#include "module/sim_vars.h"

namespace {
constexpr DesignCanvas canvas_debug{300, 120};
const char* on_off(int32_t flag) { return flag == 1 ? "ON" : "OFF"; }
}  // namespace

void debug_gauge_draw(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  (void)gauge;
  (void)draw_mode;
  GfxGraphics* g = nullptr;
  if (!dc || gfx_create(dc, &g) != GFX_OK || !g) return;
  gfx_clear(g, COLOUR_BLACK);
  if (set_canvas_scale(g, width, height, canvas_debug)) {
    GfxFontFamily* family = gfx_family_create(g, FONT_COURIER_NEW);
    GfxFont* font = family ? gfx_font_create(g, family, 14, GFX_FONT_BOLD) : nullptr;
    GfxBrush* white = gfx_brush_create(g, COLOUR_WHITE);
    if (font && white) {
      draw_textf(g, font, white, 8, 6, 64, "TICK %.0f", get_tick_counter());
      if (fpl_active_index == FPL_NO_PLAN) {
        draw_text(g, font, white, 8, 28, 64, "ACTIVE NONE");
      } else {
        draw_textf(g, font, white, 8, 28, 64, "ACTIVE %d OF %d", fpl_active_index, fpl_active_last);
      }
      draw_textf(g, font, white, 8, 50, 64, "ROUTE STATE %d", fpl_changed_state);
      draw_textf(g, font, white, 8, 72, 64, "LNAV %s  VNAV %s", on_off(lnav_on), on_off(vnav_on));
    }
    gfx_brush_delete(white);
    gfx_font_delete(font);
    gfx_family_delete(family);
  }
  gfx_delete(g);
}
