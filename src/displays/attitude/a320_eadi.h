// The A320 EADI renderer's shared frame and colours: the attitude section and the
// tapes draw with them in one pass.
#pragma once

#include "displays/attitude/attitude.h"
#include "displays/attitude/attitude_frame.h"

namespace a320 {

constexpr double CX = 149, CY = 155;
constexpr uint32_t AMBER = 0xFFE9B73E, GREEN = 0xFF00FA00, CYAN = 0xFF26C2FF, MAGENTA = 0xFFFF13D5;
constexpr uint32_t WHITE = 0xFFDEE6E9, RED = 0xFFFF0000, BLACK = 0xFF000000;

struct Draw {
  const GaugeSurface* ctx;
  GfxGraphics* g;
  AttObjects& o;
  uint32_t sky, ground, tape;
  TapeSpeeds speeds;
  // Design frame about the attitude centre.
  AttFrame design(double rot = 0) const { return att_design_frame(g, ctx, CANVAS_A320_EADI, CX, CY, rot); }
  // Fine frame: sixteenths of (w + h) over the canvas size.
  AttFrame fine(double rot = 0) const {
    const double sum = 16.0 * (double(ctx->width) + double(ctx->height));
    return att_fine_frame(g, ctx, CANVAS_A320_EADI, CX, CY, rot, sum / 318.0, sum / 310.0);
  }
  GfxFont* font(double size) const { return o.font(FONT_TAHOMA, size); }
};

void draw_attitude_section(const Draw& d);
void draw_tapes(const Draw& d);
void draw_heading_and_fields(const Draw& d);

}  // namespace a320
