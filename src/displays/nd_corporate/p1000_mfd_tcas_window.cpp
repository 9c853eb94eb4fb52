// Primus 1000 MFD TCAS window in the lower box: range rings inside a diamond, the
// frame, the range box, the own-aircraft symbol and the title.
#include "displays/nd_corporate/p1000_common.h"
#include "draw/map_symbols.h"
#include "module/display_state.h"

namespace {

template <int32_t N>
void clip_to(GfxGraphics* g, const GfxPoint (&pts)[N]) {
  GfxPath* path = gfx_path_create(g);
  if (!path) return;
  for (int32_t i = 0; i + 1 < N; ++i) gfx_path_add_line(g, path, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y);
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

}  // namespace

void p1000_mfd_tcas_window_draw(const P1000Frame& f, GfxGraphics* g) {
  if (!p1000_canvas(g, f)) return;
  LayerObjects o(g);
  GfxPen* pen = o.pen(P1000_WHITE, 2);
  gfx_reset_clip(g);
  GfxBrush* background = o.brush(f.background);
  gfx_fill_rect(g, background, 39, 171, 2, 101);
  gfx_fill_rect(g, background, 221, 171, 2, 101);
  const GfxPoint diamond[] = {{40, 191}, {131, 258}, {225, 191}, {131, 171}, {40, 191}};
  clip_to(g, diamond);
  gfx_draw_ellipse(g, pen, 67, 177, 130, 130);
  gfx_draw_ellipse(g, pen, 102, 212, 60, 60);
  gfx_reset_clip(g);
  const GfxPoint box[] = {{39, 169}, {39, 272}, {224, 272}, {224, 170}, {39, 169}};
  clip_to(g, box);
  const DrawPoint frame[] = {{40, 171}, {40, 272}, {222, 272}, {222, 171}, {40, 171}};
  nd_polyline(g, pen, frame);
  draw_map_symbol(g, 185, 215, SYMBOL_TCAS_RANGE_BOX, -99, 1.0, 1.0, 0, p1000_mfd_range);
  draw_map_symbol(g, 131, 238, SYMBOL_AIRCRAFT_OUTLINE, -99, 1.0, 1.0, 0, p1000_mfd_range);
  draw_text(g, o.font(FONT_ARIAL, 12, GFX_FONT_BOLD), o.brush(P1000_WHITE), 41, 175, ND_TEXT_CAPACITY, "TCAS");
}
