// TCAS range ring.
#include "draw/tcas_range_ring.h"

#include "draw/draw_toolkit.h"
#include "draw/map_layer_frame.h"
#include "module/display_state.h"

namespace {

constexpr double RING_CX = 129, RING_CY = 114;

const DrawPoint OWN_AIRCRAFT[30] = {
    {0, -12}, {2, -8},  {2, -3},  {12, 3},  {12, 5},  {5, 3},   {2, 3},   {2, -3},  {2, 13},  {2, 13},
    {5, 16},  {5, 18},  {1, 16},  {2, 13},  {1, 16},  {0, 17},  {-1, 16}, {-2, 13}, {-1, 16}, {-5, 18},
    {-5, 16}, {-2, 13}, {-2, -3}, {-2, 3},  {-5, 3},  {-12, 5}, {-12, 3}, {-2, -3}, {-2, -8}, {0, -12}};

bool ring_frame(const GaugeSurface* ctx, GfxGraphics* g, double angle) {
  if (!ctx || !set_canvas_scale(g, ctx->width, ctx->height, CANVAS_EFS50)) return false;
  gfx_translate(g, RING_CX, RING_CY, GFX_PREPEND);
  if (angle != 0) gfx_rotate(g, angle, GFX_PREPEND);
  return true;
}

void draw_ring(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects obj(g);
  GfxFont* font = obj.font(FONT_ARIAL, 15, GFX_FONT_BOLD);
  GfxBrush* blue = obj.brush(COLOUR_BLUE);
  GfxBrush* white = obj.brush(COLOUR_WHITE);
  GfxPen* blue_pen = obj.pen(COLOUR_BLUE, 2);
  GfxPen* white_pen = obj.pen(COLOUR_WHITE, 1);
  double range = efs50_tcas_range;
  for (int32_t a = 0; a < 360; a += 10) {
    if (!ring_frame(ctx, g, a)) return;
    if (a % 30 != 0) {
      fill_ellipse_d(g, blue, 0, -100, 5, 5);
      continue;
    }
    draw_line_d(g, blue_pen, 0, -90, 0, -100);
    if (range == 5)
      fill_ellipse_d(g, blue, 0, -40, 5, 5);
    else if (range == 10)
      fill_ellipse_d(g, blue, 0, -20, 4, 4);
    else if (range == 20)
      fill_ellipse_d(g, blue, 0, -10, 3, 3);
  }
  if (!ring_frame(ctx, g, 0)) return;
  draw_lines_d(g, white_pen, OWN_AIRCRAFT, 30);
  draw_textf(g, font, white, 80, 94, 8, "%2.0f", range);
}

}  // namespace

void draw_efs50_ehsi_tcas_ring(const GaugeSurface* ctx, GfxGraphics* g) { draw_ring(ctx, g); }

void draw_efs50_tcas_ring(const GaugeSurface* ctx, GfxGraphics* g) { draw_ring(ctx, g); }
