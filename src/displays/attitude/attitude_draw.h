// One draw of a tape display (A320 EADI, B777 PFD): its image, drawing objects,
// colours and speeds, and its frames about the attitude centre.
#pragma once

#include "displays/attitude/attitude.h"
#include "displays/attitude/attitude_frame.h"

struct AttDraw {
  const GaugeSurface* ctx;
  GfxGraphics* g;
  AttObjects& o;
  DesignCanvas canvas;
  double cx, cy;        // attitude centre on the canvas
  const char* family;   // font family
  uint32_t background, tape, sky, ground;
  TapeSpeeds speeds;

  // Design frame at (x, y) on the canvas, the attitude centre unless given.
  AttFrame design(double rot = 0) const { return design_at(cx, cy, rot); }
  AttFrame design_at(double x, double y, double rot = 0) const {
    return att_design_frame(g, ctx, canvas, x, y, rot);
  }
  // Fine frame: sixteenths of (w + h) over the canvas size, at the attitude centre.
  AttFrame fine(double rot = 0) const {
    const double sum = 16.0 * (double(ctx->width) + double(ctx->height));
    return att_fine_frame(g, ctx, canvas, cx, cy, rot, sum / canvas.width, sum / canvas.height);
  }
  GfxFont* font(double size) const { return o.font(family, size); }
};
