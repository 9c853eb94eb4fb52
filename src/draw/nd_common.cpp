// Helpers shared by the navigation displays.
#include "draw/nd_common.h"

#include <cmath>
#include <cstring>

#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "module/sim_vars.h"

void (*nd_layer_trace)(const char* layer) = nullptr;

void nd_trace(const char* layer) {
  if (nd_layer_trace) nd_layer_trace(layer);
}

uint32_t nd_background_colour(int32_t red, int32_t green, int32_t blue) {
  return 0xFF000000u | (uint32_t(red) & 0xFFu) << 16 | (uint32_t(green) & 0xFFu) << 8 | (uint32_t(blue) & 0xFFu);
}

double wrap360(double deg) {
  if (!std::isfinite(deg)) return 0.0;
  double r = std::fmod(deg, 360.0);
  if (r < 0) r += 360.0;
  if (r >= 360.0) r = 0.0;
  return r;
}

bool nav_shows_to(double bearing, double course) {
  double d = std::fabs(wrap360(bearing - course + 180.0) - 180.0);
  return d < 90.0;
}

double station_bearing(double relative_bearing, double hdg) { return wrap360(relative_bearing + hdg); }

bool nd_frame(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double tx, double ty, double rot) {
  if (!ctx || !set_canvas_scale(g, ctx->width, ctx->height, canvas)) {
    gfx_reset_transform(g);
    return false;
  }
  if (tx != 0 || ty != 0) gfx_translate(g, tx, ty, GFX_PREPEND);
  if (rot != 0 && std::isfinite(rot)) gfx_rotate(g, rot, GFX_PREPEND);
  return true;
}

namespace {

GfxGraphics* open_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode,
                       DesignCanvas canvas, bool clear_first, bool& cleared) {
  cleared = false;
  if (!dc || !ctx) return nullptr;
  ctx->width = width;
  ctx->height = height;
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK || !g) return nullptr;
  gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
  if (clear_first) gfx_clear(g, COLOUR_TRANSPARENT);
  if (display_power == 0 || draw_mode == 2) {
    gfx_clear(g, COLOUR_TRANSPARENT);
    gfx_delete(g);
    cleared = true;
    return nullptr;
  }
  gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
  nd_frame(g, ctx, canvas);
  return g;
}

}  // namespace

GfxGraphics* nd_open_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode,
                          DesignCanvas canvas, bool& cleared) {
  return open_draw(ctx, dc, width, height, draw_mode, canvas, false, cleared);
}

GfxGraphics* nd_begin_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode,
                           DesignCanvas canvas, uint32_t background_argb, bool clear_first, GfxBrush*& background) {
  background = nullptr;
  bool cleared = false;
  GfxGraphics* g = open_draw(ctx, dc, width, height, draw_mode, canvas, clear_first, cleared);
  if (!g) return nullptr;
  background = gfx_brush_create(g, background_argb);
  gfx_fill_rect(g, background, 0, 0, int32_t(canvas.width), int32_t(canvas.height));
  return g;
}

void nd_end_draw(GfxGraphics* g, GfxBrush* background) {
  gfx_brush_delete(background);
  gfx_delete(g);
}

bool fix_info_in_use() { return fix_info[1].ident[0] != '\0' || fix_info[2].ident[0] != '\0'; }

bool first_hold_on_active_plan() { return hold_list[1].active_wpt >= 1; }

bool altitude_arc_gate() {
  return ap_token103 == 1.0 && ap_vertical_speed == 1.0 && indicated_altitude > ap_altitude && vertical_speed < -200;
}

bool nav1_received() { return get_nav1_signal() > 0; }

void host_ident(const char* text, char* out, int32_t size) {
  if (size <= 0) return;
  out[0] = '\0';
  if (!text) return;
  int32_t n = 0;
  while (n < size - 1 && text[n] != '\0') {
    out[n] = text[n];
    ++n;
  }
  out[n] = '\0';
}
