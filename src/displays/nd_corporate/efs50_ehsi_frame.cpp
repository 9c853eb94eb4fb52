// EFS 50 EHSI and TCAS draw dispatchers: canvas, blanking, the compass radius and
// the renderers and map layers of each format in their fixed order.
#include "displays/nd_corporate/efs50_common.h"
#include "draw/altitude_range_arc.h"
#include "draw/holding_pattern_layer.h"
#include "draw/tcas_range_ring.h"
#include "draw/toc_tod_layer.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"

namespace {

GaugeSurface efs50_ehsi_surface{0, 0};
GaugeSurface efs50_tcas_surface{0, 0};

struct Efs50Format {
  bool rose, arc, map, tcas;
};

// Indexed by efs50_ehsi_mode; 0 is no format.
constexpr Efs50Format FORMATS[] = {
    {},
    {.rose = true},
    {.rose = true, .map = true},
    {.rose = true, .map = true},
    {.arc = true},
    {.arc = true, .map = true},
    {.arc = true, .map = true},
    {.arc = true},
    {.tcas = true},
};

// Route, hold, TOD/TOC and altitude arc of the map formats with the FMS source.
void fms_map_layers(const GaugeSurface* ctx, GfxGraphics* g, const Efs50Format& f) {
  const double cy = f.rose ? EFS50_ROSE_CY : EFS50_ARC_CY;
  const double range = efs50_ehsi_range;
  const int32_t radius = int32_t(efs50_ehsi_map_radius);
  if (corp_plan_active()) {
    nd_trace("route");
    efs50_ehsi_route_overlay_draw(ctx, g);
  }
  if (first_hold_on_active_plan()) {
    nd_trace("hold");
    draw_efs50_ehsi_hold_layer(ctx, g, radius, EFS50_CX, cy, range);
  }
  if (route_distance_to_go > 8.0 && ShowTodBodIndicators == 1) {
    nd_trace("toc_tod");
    nd_frame(g, ctx, EFS50);
    // On the rose the markers stay within the compass circle.
    if (f.rose) efs50_clip_rose(g);
    draw_tod_toc_markers(g, radius, range, int32_t(EFS50_CX), int32_t(cy), TOC_TOD_STYLE_EFS50, 1.0, 1.0,
                         present_lat, present_lon, map_heading);
  }
  if (DrawBodArcOnEFS50EHSI == 1 && altitude_arc_gate()) {
    nd_trace("altitude_arc");
    draw_efs50_ehsi_altitude_arc(ctx, g);
  }
}

}  // namespace

void efs50_ehsi_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  (void)gauge;
  efs50_ehsi_draw(&efs50_ehsi_surface, dc, width, height, draw_mode);
}

void efs50_tcas_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  (void)gauge;
  efs50_tcas_draw(&efs50_tcas_surface, dc, width, height, draw_mode);
}

void efs50_ehsi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  const uint32_t colour =
      nd_background_colour(EFS50EHSIBkgrdColorRed, EFS50EHSIBkgrdColorGreen, EFS50EHSIBkgrdColorBlue);
  GfxBrush* background = nullptr;
  GfxGraphics* g = nd_begin_draw(ctx, dc, width, height, draw_mode, EFS50, colour, false, background);
  if (!g) return;
  const int32_t mode = efs50_ehsi_mode;
  const Efs50Format f = mode >= 1 && mode <= 8 ? FORMATS[mode] : Efs50Format{};
  if (f.rose) {
    efs50_ehsi_map_radius = 50;
    nd_trace("rose");
    efs50_ehsi_rose_draw(ctx, g, draw_mode);
  }
  if (f.arc) {
    efs50_ehsi_map_radius = 95;
    nd_trace("arc");
    efs50_ehsi_arc_draw(ctx, g);
  }
  if (f.rose || f.arc) {
    nd_trace("data");
    efs50_ehsi_data_overlay_draw(ctx, g);
  }
  // A range that cannot scale the map draws no map item.
  if (f.map && EFS50NavMode == 2 && efs50_range_usable()) {
    fms_map_layers(ctx, g, f);
    // The unclipped map of the arc formats would run through the heading read-out.
    if (f.arc && EhsiStaticHdgPointer == 1) {
      gfx_reset_clip(g);
      efs50_static_heading_readout(ctx, g);
    }
  }
  gfx_reset_clip(g);
  if (f.rose) {
    nd_trace("deviation");
    efs50_ehsi_deviation_draw(ctx, g);
  }
  if (f.tcas) {
    nd_trace("tcas");
    draw_efs50_ehsi_tcas_ring(ctx, g);
  }
  nd_end_draw(g, background);
}

void efs50_tcas_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  if (!dc || !ctx) return;
  ctx->width = width;
  ctx->height = height;
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK || !g) return;
  gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
  gfx_clear(g, COLOUR_TRANSPARENT);
  // Transparent but for the ring and its marks.
  if (display_power != 0 && draw_mode != 2) {
    gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
    nd_trace("tcas");
    draw_efs50_tcas_ring(ctx, g);
  }
  gfx_delete(g);
}
