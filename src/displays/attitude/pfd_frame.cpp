// PFD dispatcher: two surfaces on the one image, the full-redraw rule and the order
// of the elements; the display settings and what the renderers share.
#include <cmath>

#include "displays/attitude/pfd.h"
#include "displays/attitude/pfd_elements.h"
#include "guidance/fms_state.h"

int32_t pfd_symbol_style = 1;
int32_t pfd_course_source_nav = 1;
int32_t pfd_course_source_fms = 0;
int32_t pfd_bearing1_source = 0;
int32_t pfd_bearing2_source = 0;
int32_t pfd_hsi_arc_format = 0;
int32_t pfd_et_field = 2;
int32_t pfd_data_field = 0;

bool pfd_full_frame() { return hdg_change_timer == 0; }

void pfd_request_full_frame() {
  if (hdg_change_timer != 0) hdg_change_timer = 999;
}

void pfd_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height) {
  if (!dc || !rec) return;
  rec->width = width;
  rec->height = height;
  GfxGraphics* a = nullptr;
  GfxGraphics* b = nullptr;
  gfx_create(dc, &a);
  gfx_create(dc, &b);
  if (a && b) {
    if (pfd_full_frame()) gfx_clear(b, COLOUR_TRANSPARENT);
    gfx_set_smoothing(a, GFX_SMOOTHING_HIGH_QUALITY);
    gfx_set_smoothing(b, GFX_SMOOTHING_HIGH_QUALITY);
    draw_pfd_fma(rec, a);
    draw_pfd_speed_tape(rec, a, b);
    draw_pfd_altitude_tape(rec, a);
    draw_pfd_attitude(rec, a, b);
    if (pfd_symbol_style == 1) draw_pfd_chevron_symbol(rec, b);
    if (pfd_symbol_style == 2) draw_pfd_bar_symbol(rec, b);
    // The dial is costly: it keeps its picture until its values change.
    if (pfd_full_frame() || vertical_speed != vertical_speed_prev || ap_vs_hold_prev != ap_vs_hold)
      draw_pfd_vs_dial(rec, a);
    draw_pfd_hsi(rec, a, b);
  }
  gfx_delete(b);
  gfx_delete(a);
}

// ---- shared by the renderers ----

PfdTools::~PfdTools() {
  for (const FontSlot& f : fonts_) gfx_font_delete(f.font);
  gfx_family_delete(family_);
  for (const BrushSlot& b : brushes_) gfx_brush_delete(b.brush);
  for (const PenSlot& p : pens_) gfx_pen_delete(p.pen);
}

GfxPen* PfdTools::pen(uint32_t argb, double width) {
  for (const PenSlot& p : pens_)
    if (p.argb == argb && p.width == width) return p.pen;
  pens_.push_back({argb, width, gfx_pen_create(g_, argb, width)});
  return pens_.back().pen;
}

GfxBrush* PfdTools::brush(uint32_t argb) {
  for (const BrushSlot& b : brushes_)
    if (b.argb == argb) return b.brush;
  brushes_.push_back({argb, gfx_brush_create(g_, argb)});
  return brushes_.back().brush;
}

GfxFont* PfdTools::font(double size) {
  if (!family_) family_ = gfx_family_create(g_, FONT_ZUDUZ);
  for (const FontSlot& f : fonts_)
    if (f.size == size) return f.font;
  fonts_.push_back({size, gfx_font_create(g_, family_, size, GFX_FONT_BOLD)});
  return fonts_.back().font;
}

void pfd_frame_at(GfxGraphics* g, const GaugeSurface* rec, double x, double y, double degrees) {
  set_canvas_scale(g, rec->width, rec->height, CANVAS_PFD);
  if (x != 0 || y != 0) gfx_translate(g, x, y, GFX_PREPEND);
  if (degrees != 0 && std::isfinite(degrees)) gfx_rotate(g, degrees, GFX_PREPEND);
}

void pfd_half_frame(GfxGraphics* g) {
  gfx_reset_transform(g);
  gfx_scale(g, 0.5, 0.5, GFX_PREPEND);
}

double pfd_hx(const GaugeSurface* rec, double x) { return pfd_trunc(2.0 * rec->width / CANVAS_PFD.width * x); }
double pfd_hy(const GaugeSurface* rec, double y) { return pfd_trunc(2.0 * rec->height / CANVAS_PFD.height * y); }

void pfd_clip_rect(GfxGraphics* g, double x, double y, double w, double h) {
  const DrawPoint box[] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
  pfd_clip_polygon(g, box, 4);
}

void pfd_clip_polygon(GfxGraphics* g, const DrawPoint* pts, int32_t n) {
  GfxPath* path = gfx_path_create(g);
  if (!path) return;
  for (int32_t i = 0; i + 1 < n; ++i)
    gfx_path_add_line(g, path, pfd_trunc(pts[i].x), pfd_trunc(pts[i].y), pfd_trunc(pts[i + 1].x),
                      pfd_trunc(pts[i + 1].y));
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

int32_t pfd_trunc(double v) {
  int32_t out = 0;
  trunc_coord(v, out);
  return out;
}

void pfd_shape(GfxGraphics* g, const GfxBrush* fill, const GfxPen* outline, const DrawPoint* pts, int32_t n) {
  if (fill) fill_polygon_d(g, fill, pts, n);
  if (outline) draw_lines_d(g, outline, pts, n);
}
