// DU-1000 EHSI draw dispatcher: canvas, blanking and the renderers of each mode.
#include "displays/nd_corporate/du1000_common.h"
#include "flightplan/flight_plan.h"
#include "guidance/settings.h"
#include "module/display_state.h"

namespace {

GaugeSurface du1000_ehsi_surface{0, 0};

struct Du1000Mode {
  bool rose, arc, plan, overlay, data;
};

constexpr Du1000Mode MODES[] = {
    {.rose = true, .data = true},
    {.arc = true, .data = true},
    {.plan = true, .overlay = true},
    {.arc = true, .overlay = true, .data = true},
};

// The map overlay is left out only with no plan and every layer off.
bool overlay_gate() {
  return fpl_active_index != 999 || du1000_show_int == 1 || du1000_show_vor == 1 || du1000_show_ndb == 1 ||
         du1000_show_apt == 1 || tcas_shown == 1 || atc_bdry_on == 1;
}

}  // namespace

void du1000_ehsi_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  (void)gauge;
  du1000_ehsi_draw(&du1000_ehsi_surface, dc, width, height, draw_mode);
}

void du1000_ehsi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  const uint32_t colour =
      nd_background_colour(DU1000EHSIBkgrdColorRed, DU1000EHSIBkgrdColorGreen, DU1000EHSIBkgrdColorBlue);
  GfxBrush* background = nullptr;
  GfxGraphics* g = nd_begin_draw(ctx, dc, width, height, draw_mode, DU1000, colour, false, background);
  if (!g) return;
  const int32_t mode = du1000_ehsi_mode;
  const Du1000Mode m = mode >= 0 && mode <= 3 ? MODES[mode] : Du1000Mode{.data = true};
  // Each renderer sets its own frame; what one leaves is what the next finds.
  if (m.rose) {
    nd_trace("rose");
    du1000_ehsi_mode0_draw(ctx, g);
  }
  if (m.arc) {
    nd_trace("arc");
    du1000_ehsi_heading_draw(ctx, g);
  }
  if (m.plan) {
    nd_trace("plan");
    du1000_ehsi_plan_draw(ctx, g);
  }
  if (m.overlay && overlay_gate()) {
    nd_trace("overlay");
    du1000_ehsi_map_overlay_draw(ctx, g, draw_mode);
  }
  if (m.plan) du1000_ehsi_plan_ring_labels(ctx, g);
  if (m.data) {
    nd_trace("data");
    du1000_ehsi_data_draw(ctx, g);
  }
  nd_end_draw(g, background);
}
