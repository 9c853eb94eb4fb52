// MD-80 EHSI draw dispatcher: canvas, blanking and the layer of each mode.
#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"


void md80_ehsi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  const uint32_t colour = nd_background_colour(MD80EHSIBkgrdColorRed, MD80EHSIBkgrdColorGreen, MD80EHSIBkgrdColorBlue);
  GfxBrush* background = nullptr;
  GfxGraphics* g = nd_begin_draw(ctx, dc, width, height, draw_mode, CANVAS_MD80_EHSI, colour, true, background);
  if (!g) return;

  switch (md80_ehsi_mode) {
    case 0:
      md80_ehsi_center_x = 133;
      md80_ehsi_center_y = 116;
      nd_trace("hsi");
      md80_ehsi_hsi_draw(ctx, g);
      break;
    case 1:
      md80_ehsi_center_x = 133;
      md80_ehsi_center_y = 204;
      nd_trace("arc");
      md80_ehsi_arc_draw(ctx, g);
      break;
    case 2:
    case 3:
      md80_ehsi_center_x = 133;
      md80_ehsi_center_y = 204;
      nd_trace("map");
      md80_ehsi_map_draw(ctx, g, draw_mode);
      break;
    default:
      break;
  }
  gfx_reset_clip(g);
  nd_frame(g, ctx, CANVAS_MD80_EHSI);
  nd_end_draw(g, background);
}
