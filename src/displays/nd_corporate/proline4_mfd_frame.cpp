// Pro Line 4 MFD draw dispatcher: canvas, blanking and the renderer of each format.
#include <iterator>

#include "displays/nd_corporate/corporate_common.h"
#include "guidance/settings.h"
#include "module/display_state.h"

namespace {

GaugeSurface proline4_mfd_surface{0, 0};

void hsi_format(const GaugeSurface* ctx, GfxGraphics* g, int32_t) { proline4_mfd_hsi_format_draw(ctx, g); }
void heading_format(const GaugeSurface* ctx, GfxGraphics* g, int32_t) { proline4_mfd_heading_format_draw(ctx, g); }

struct Proline4Format {
  const char* trace;
  void (*draw)(const GaugeSurface*, GfxGraphics*, int32_t draw_mode);
};

// Indexed by proline4_mfd_format.
constexpr Proline4Format FORMATS[] = {
    {.trace = "hsi", .draw = hsi_format},
    {.trace = "heading", .draw = heading_format},
    {.trace = "plan", .draw = proline4_mfd_plan_format_draw},
    {.trace = "map", .draw = proline4_mfd_map_format_draw},
};

}  // namespace

void proline4_mfd_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  (void)gauge;
  proline4_mfd_draw(&proline4_mfd_surface, dc, width, height, draw_mode);
}

void proline4_mfd_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  const uint32_t colour =
      nd_background_colour(PROLINE4MFDBkgrdColorRed, PROLINE4MFDBkgrdColorGreen, PROLINE4MFDBkgrdColorBlue);
  GfxBrush* background = nullptr;
  GfxGraphics* g = nd_begin_draw(ctx, dc, width, height, draw_mode, CANVAS_PROLINE4_MFD, colour, false, background);
  if (!g) return;
  const int32_t f = proline4_mfd_format;
  if (f >= 0 && f < int32_t(std::size(FORMATS))) {
    nd_trace(FORMATS[f].trace);
    FORMATS[f].draw(ctx, g, draw_mode);
  }
  nd_end_draw(g, background);
}
