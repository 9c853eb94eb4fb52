// Attitude display frames: design and fine transforms and scaled drawing calls.
#include "displays/attitude/attitude_frame.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "guidance/fms_state.h"

namespace {

constexpr int32_t TEXT_CAPACITY = 64;

bool scale_to_image(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double kx, double ky) {
  gfx_reset_transform(g);
  if (!ctx || ctx->width <= 0 || ctx->height <= 0 || !(kx > 0) || !(ky > 0)) return false;
  gfx_scale(g, ctx->width / canvas.width / kx, ctx->height / canvas.height / ky, GFX_PREPEND);
  return true;
}

}  // namespace

void AttFrame::line(const GfxPen* pen, double x1, double y1, double x2, double y2) const {
  draw_line_d(g, pen, x1 * kx, y1 * ky, x2 * kx, y2 * ky);
}

namespace {

// The points in this frame's units; at most 16.
int32_t scaled(const AttFrame& f, std::initializer_list<DrawPoint> pts, DrawPoint (&out)[16]) {
  int32_t n = 0;
  for (const DrawPoint& q : pts) {
    if (n == 16) break;
    out[n++] = {q.x * f.kx, q.y * f.ky};
  }
  return n;
}

}  // namespace

void AttFrame::lines(const GfxPen* pen, std::initializer_list<DrawPoint> pts) const {
  DrawPoint p[16];
  draw_lines_d(g, pen, p, scaled(*this, pts, p));
}

void AttFrame::fill(const GfxBrush* brush, std::initializer_list<DrawPoint> pts) const {
  DrawPoint p[16];
  fill_polygon_d(g, brush, p, scaled(*this, pts, p));
}

void AttFrame::clip_outline(std::initializer_list<DrawPoint> pts) const {
  DrawPoint p[16];
  const int32_t n = scaled(*this, pts, p);
  GfxPath* path = gfx_path_create(g);
  if (!path) return;
  for (int32_t i = 0; i + 1 < n; ++i) {
    gfx_path_add_line(g, path, att_trunc(p[i].x), att_trunc(p[i].y), att_trunc(p[i + 1].x), att_trunc(p[i + 1].y));
  }
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

void AttFrame::ellipse(const GfxPen* pen, double x, double y, double w, double h) const {
  draw_ellipse_d(g, pen, x * kx, y * ky, w * kx, h * ky);
}

void AttFrame::fill_ellipse(const GfxBrush* brush, double x, double y, double w, double h) const {
  fill_ellipse_d(g, brush, x * kx, y * ky, w * kx, h * ky);
}

void AttFrame::rect(const GfxPen* pen, double x, double y, double w, double h) const {
  draw_rect_d(g, pen, x * kx, y * ky, w * kx, h * ky);
}

void AttFrame::fill_rect(const GfxBrush* brush, double x, double y, double w, double h) const {
  fill_rect_d(g, brush, x * kx, y * ky, w * kx, h * ky);
}

void AttFrame::clip_rect(double x, double y, double w, double h) const {
  set_clip_rect_d(g, x * kx, y * ky, w * kx, h * ky);
}

void AttFrame::text(const GfxFont* font, const GfxBrush* brush, double x, double y, const char* s) const {
  draw_text(g, font, brush, x * kx, y * ky, TEXT_CAPACITY, s);
}

void AttFrame::textf(const GfxFont* font, const GfxBrush* brush, double x, double y, const char* format, ...) const {
  char bytes[TEXT_CAPACITY];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(bytes, sizeof bytes, format, args);
  va_end(args);
  if (n < 0 || n >= int(sizeof bytes)) return;
  text(font, brush, x, y, bytes);
}

AttObjects::~AttObjects() {
  for (int32_t i = 0; i < npens_; ++i) gfx_pen_delete(pens_[i].pen);
  for (int32_t i = 0; i < nbrushes_; ++i) gfx_brush_delete(brushes_[i].brush);
  for (int32_t i = 0; i < nfonts_; ++i) gfx_font_delete(fonts_[i].font);
  for (int32_t i = 0; i < nfamilies_; ++i) gfx_family_delete(families_[i]);
}

GfxPen* AttObjects::pen(uint32_t argb, double width) {
  for (int32_t i = 0; i < npens_; ++i)
    if (pens_[i].argb == argb && pens_[i].width == width) return pens_[i].pen;
  if (npens_ == CAPACITY) return nullptr;
  pens_[npens_] = {argb, width, gfx_pen_create(g_, argb, width)};
  return pens_[npens_++].pen;
}

GfxBrush* AttObjects::brush(uint32_t argb) {
  for (int32_t i = 0; i < nbrushes_; ++i)
    if (brushes_[i].argb == argb) return brushes_[i].brush;
  if (nbrushes_ == CAPACITY) return nullptr;
  brushes_[nbrushes_] = {argb, gfx_brush_create(g_, argb)};
  return brushes_[nbrushes_++].brush;
}

GfxFont* AttObjects::font(const char* family, double size_px) {
  for (int32_t i = 0; i < nfonts_; ++i)
    if (std::strcmp(fonts_[i].family, family) == 0 && fonts_[i].size == size_px) return fonts_[i].font;
  if (nfonts_ == CAPACITY) return nullptr;
  GfxFontFamily* fam = nullptr;
  for (int32_t i = 0; i < nfamilies_; ++i)
    if (std::strcmp(family_names_[i], family) == 0) fam = families_[i];
  if (!fam) {
    if (nfamilies_ == 4) return nullptr;
    fam = gfx_family_create(g_, family);
    family_names_[nfamilies_] = family;
    families_[nfamilies_++] = fam;
  }
  fonts_[nfonts_] = {family, size_px, gfx_font_create(g_, fam, size_px, GFX_FONT_BOLD)};
  return fonts_[nfonts_++].font;
}

AttFrame att_design_frame(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double cx, double cy,
                          double rot) {
  return att_fine_frame(g, ctx, canvas, cx, cy, rot, 1.0, 1.0);
}

AttFrame att_fine_frame(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double cx, double cy,
                        double rot, double kx, double ky) {
  AttFrame f{g, kx, ky};
  if (!scale_to_image(g, ctx, canvas, kx, ky)) return f;
  gfx_translate(g, cx * kx, cy * ky, GFX_PREPEND);
  if (rot != 0.0 && std::isfinite(rot)) gfx_rotate(g, rot, GFX_PREPEND);
  return f;
}

uint32_t att_setting_colour(int32_t red, int32_t green, int32_t blue) {
  return 0xFF000000u | (uint32_t(red) & 0xFF) << 16 | (uint32_t(green) & 0xFF) << 8 | (uint32_t(blue) & 0xFF);
}

GfxGraphics* att_begin(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height) {
  if (!dc || !ctx) return nullptr;
  ctx->width = width;
  ctx->height = height;
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK) return nullptr;
  return g;
}

void att_fill_canvas(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double fill_w, double fill_h,
                     uint32_t argb) {
  if (!set_canvas_scale(g, ctx->width, ctx->height, canvas)) return;
  GfxBrush* brush = gfx_brush_create(g, argb);
  fill_rect_d(g, brush, 0, 0, fill_w, fill_h);
  gfx_brush_delete(brush);
}

bool att_flash_on() { return fms_frame < 8; }

int32_t att_trunc(double v) {
  int32_t out = 0;
  trunc_coord(v, out);
  return out;
}
