// Front end of the graphics layer: library state, graphics objects, transforms,
// drawing objects and the calls that reach the raster and recording back ends.
#include <cmath>
#include <cstring>
#include <new>

#include "platform/gfx/gfx_internal.h"

namespace {

int32_t g_start_count = 0;
uintptr_t g_next_token = 0x5A00;
int32_t g_live_objects = 0;

// Tokens handed out and not yet shut down.
constexpr int32_t MAX_TOKENS = 256;
uintptr_t g_tokens[MAX_TOKENS];

bool is_finite(double v) { return std::isfinite(v); }

GfxStatus note(GfxGraphics* g, GfxStatus s) {
  if (g && s != GFX_OK) g->last = s;
  return s;
}

const GfxMatrix IDENTITY = {1, 0, 0, 1, 0, 0};

// a x b: apply a first, then b.
GfxMatrix multiply(const GfxMatrix& a, const GfxMatrix& b) {
  GfxMatrix r;
  r.m11 = a.m11 * b.m11 + a.m12 * b.m21;
  r.m12 = a.m11 * b.m12 + a.m12 * b.m22;
  r.m21 = a.m21 * b.m11 + a.m22 * b.m21;
  r.m22 = a.m21 * b.m12 + a.m22 * b.m22;
  r.dx = a.dx * b.m11 + a.dy * b.m21 + b.dx;
  r.dy = a.dx * b.m12 + a.dy * b.m22 + b.dy;
  return r;
}

GfxStatus combine(GfxGraphics* g, const GfxMatrix& op, int32_t order) {
  if (order != GFX_PREPEND && order != GFX_APPEND) return GFX_INVALID_ARGUMENT;
  g->m = order == GFX_PREPEND ? multiply(op, g->m) : multiply(g->m, op);
  return GFX_OK;
}

bool transform_invertible(const GfxMatrix& m) {
  double det = m.m11 * m.m22 - m.m12 * m.m21;
  return std::isfinite(det) && std::fabs(det) > 1e-12;
}

// Records a state call (no pen, brush or font).
void record_state(GfxGraphics* g, GfxOp op, GfxStatus s, std::initializer_list<double> args) {
  if (GfxRecording* rec = recording_of(g)) {
    GfxRecord& r = record_begin(rec, g, op, s);
    r.args.assign(args);
  }
}

void fill_pen(GfxRecord& r, const GfxPen* pen) {
  if (!pen) return;
  r.pen_argb = pen->argb;
  r.pen_width = pen->width;
  r.pen_dash = pen->dash;
  r.pen_arrow_cap = pen->has_cap;
}

// Common checks of a drawing call: graphics, object, finite arguments.
GfxStatus draw_check(const void* object, std::initializer_list<double> reals = {}) {
  if (!object) return GFX_INVALID_ARGUMENT;
  for (double v : reals)
    if (!is_finite(v)) return GFX_INVALID_ARGUMENT;
  return GFX_OK;
}

bool raster_ready(GfxGraphics* g) { return g->cr && transform_invertible(g->m); }

GfxStatus shape_call(GfxGraphics* g, GfxOp op, const GfxPen* pen, const GfxBrush* brush,
                     std::initializer_list<double> args, const GfxPoint* pts, int32_t n, GfxStatus s) {
  if (s == GFX_OK && !transform_invertible(g->m)) s = GFX_BAD_TRANSFORM;
  if (GfxRecording* rec = recording_of(g)) {
    GfxRecord& r = record_begin(rec, g, op, s);
    r.args.assign(args);
    if (pts && n > 0) r.points.assign(pts, pts + n);
    fill_pen(r, pen);
    if (brush) r.brush_argb = brush->argb;
  }
  return note(g, s);
}

}  // namespace

GfxPointF gfx_apply(const GfxMatrix& m, double x, double y) {
  return {m.m11 * x + m.m21 * y + m.dx, m.m12 * x + m.m22 * y + m.dy};
}

GfxMatrix gfx_steady(const GfxMatrix& m) {
  if (m.m12 == 0 && m.m21 == 0) return m;  // not turned: nothing to steady
  auto grid = [](double v) { return std::round(v * 65536.0) / 65536.0; };
  const GfxMatrix s{grid(m.m11), grid(m.m12), grid(m.m21), grid(m.m22), m.dx, m.dy};
  // A transform that shrinks to a few grid steps (or is not finite) stays as it stands.
  const double d = m.m11 * m.m22 - m.m12 * m.m21, e = s.m11 * s.m22 - s.m12 * s.m21;
  return std::fabs(e - d) <= 1e-3 * std::fabs(d) ? s : m;
}

// ---- library ----

GfxStatus gfx_startup(uintptr_t* token) {
  if (!token) return GFX_INVALID_ARGUMENT;
  for (int32_t i = 0; i < MAX_TOKENS; ++i) {
    if (g_tokens[i] == 0) {
      g_tokens[i] = ++g_next_token;
      ++g_start_count;
      *token = g_tokens[i];
      return GFX_OK;
    }
  }
  *token = 0;
  return GFX_OUT_OF_MEMORY;
}

GfxStatus gfx_shutdown(uintptr_t token) {
  if (token == 0) return GFX_INVALID_ARGUMENT;
  for (int32_t i = 0; i < MAX_TOKENS; ++i) {
    if (g_tokens[i] == token) {
      g_tokens[i] = 0;
      if (--g_start_count == 0) {
        raster_release_measuring();
        raster_release_kept_glyphs();
        gfx_release_fonts();
        gfx_release_stamps();
        raster_release_clip_coverages();
      }
      return GFX_OK;
    }
  }
  return GFX_INVALID_ARGUMENT;
}

bool gfx_started() { return g_start_count > 0; }

int32_t gfx_live_objects() { return g_live_objects; }

// ---- graphics object ----

GfxStatus gfx_create(GaugeImage* image, GfxGraphics** out) {
  if (!out) return GFX_INVALID_ARGUMENT;
  *out = nullptr;
  if (!image || image->width <= 0 || image->height <= 0) return GFX_INVALID_ARGUMENT;
  if (image->pixels && (image->stride % 4 != 0 || image->stride / 4 < image->width))
    return GFX_INVALID_ARGUMENT;
  if (!gfx_started()) return GFX_NOT_STARTED;
  GfxGraphics* g = new (std::nothrow) GfxGraphics{};
  if (!g) return GFX_OUT_OF_MEMORY;
  g->image = image;
  g->m = IDENTITY;
  g->last = GFX_OK;
  g->smoothing = GFX_SMOOTHING_DEFAULT;
  g->text_hint = GFX_TEXT_DEFAULT;
  g->pixel_offset = GFX_PIXEL_OFFSET_DEFAULT;
  g->clip_on = false;
  g->clip_record = -1;
  if (image->pixels) {
    raster_open(g);
    if (!g->cr) g->last = GFX_FAILED;  // drawing goes on into the recording only
  }
  if (GfxRecording* rec = recording_of(g)) {
    rec->image_width = image->width;
    rec->image_height = image->height;
    record_begin(rec, g, GfxOp::Create, GFX_OK);
  }
  *out = g;
  return GFX_OK;
}

void gfx_delete(GfxGraphics* g) {
  if (!g) return;
  record_state(g, GfxOp::Delete, GFX_OK, {});
  raster_close(g);
  delete g;
}

GfxStatus gfx_last_status(const GfxGraphics* g) { return g ? g->last : GFX_INVALID_ARGUMENT; }

GfxStatus gfx_set_smoothing(GfxGraphics* g, int32_t mode) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (mode < 0 || mode > 4) ? GFX_INVALID_ARGUMENT : GFX_OK;
  if (s == GFX_OK) g->smoothing = mode;
  record_state(g, GfxOp::Smoothing, s, {double(mode)});
  return note(g, s);
}

GfxStatus gfx_set_text_hint(GfxGraphics* g, int32_t hint) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (hint < 0 || hint > 5) ? GFX_INVALID_ARGUMENT : GFX_OK;
  if (s == GFX_OK) g->text_hint = hint;
  record_state(g, GfxOp::TextHint, s, {double(hint)});
  return note(g, s);
}

GfxStatus gfx_set_pixel_offset(GfxGraphics* g, int32_t mode) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (mode < 0 || mode > 4) ? GFX_INVALID_ARGUMENT : GFX_OK;
  if (s == GFX_OK) g->pixel_offset = mode;
  record_state(g, GfxOp::PixelOffset, s, {double(mode)});
  return note(g, s);
}

GfxStatus gfx_clear(GfxGraphics* g, uint32_t argb) {
  if (!g) return GFX_INVALID_ARGUMENT;
  if (g->cr) raster_clear(g, argb);
  if (GfxRecording* rec = recording_of(g)) {
    GfxRecord& r = record_begin(rec, g, GfxOp::Clear, GFX_OK);
    r.args = {double(argb)};
    r.brush_argb = argb;
  }
  return GFX_OK;
}

// ---- world transform ----

GfxStatus gfx_reset_transform(GfxGraphics* g) {
  if (!g) return GFX_INVALID_ARGUMENT;
  g->m = IDENTITY;
  record_state(g, GfxOp::ResetTransform, GFX_OK, {});
  return GFX_OK;
}

GfxStatus gfx_scale(GfxGraphics* g, double sx, double sy, int32_t order) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (is_finite(sx) && is_finite(sy)) ? combine(g, {sx, 0, 0, sy, 0, 0}, order) : GFX_INVALID_ARGUMENT;
  record_state(g, GfxOp::Scale, s, {sx, sy, double(order)});
  return note(g, s);
}

GfxStatus gfx_translate(GfxGraphics* g, double dx, double dy, int32_t order) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (is_finite(dx) && is_finite(dy)) ? combine(g, {1, 0, 0, 1, dx, dy}, order) : GFX_INVALID_ARGUMENT;
  record_state(g, GfxOp::Translate, s, {dx, dy, double(order)});
  return note(g, s);
}

GfxStatus gfx_rotate(GfxGraphics* g, double degrees, int32_t order) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = GFX_INVALID_ARGUMENT;
  if (is_finite(degrees)) {
    double r = std::fmod(degrees, 360.0) * (3.14159265358979323846 / 180.0);
    double c = std::cos(r), n = std::sin(r);
    if (std::fmod(degrees, 90.0) == 0.0) {  // exact quarter turns
      c = std::round(c);
      n = std::round(n);
    }
    s = combine(g, {c, n, -n, c, 0, 0}, order);
  }
  record_state(g, GfxOp::Rotate, s, {degrees, double(order)});
  return note(g, s);
}

GfxStatus gfx_get_transform(GfxGraphics* g, GfxMatrix* out) {
  if (!g || !out) return note(g, GFX_INVALID_ARGUMENT);
  *out = g->m;
  return GFX_OK;
}

// ---- objects ----

GfxPen* gfx_pen_create(GfxGraphics* g, uint32_t argb, double width) {
  if (!g) return nullptr;
  if (!is_finite(width) || width < 0) {
    note(g, GFX_INVALID_ARGUMENT);
    return nullptr;
  }
  GfxPen* p = new (std::nothrow) GfxPen{argb, width, GFX_DASH_SOLID, false, {0, 0, false}};
  if (!p) {
    note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  ++g_live_objects;
  return p;
}

GfxStatus gfx_pen_set_dash(GfxGraphics* g, GfxPen* pen, int32_t dash) {
  if (!pen || dash < GFX_DASH_SOLID || dash > GFX_DASH_DOT) return note(g, GFX_INVALID_ARGUMENT);
  pen->dash = dash;
  return GFX_OK;
}

void gfx_pen_delete(GfxPen* pen) {
  if (!pen) return;
  --g_live_objects;
  delete pen;
}

GfxArrowCap* gfx_arrow_cap_create(GfxGraphics* g, double height, double width, bool filled) {
  if (!g) return nullptr;
  if (!is_finite(height) || !is_finite(width) || height < 0 || width < 0) {
    note(g, GFX_INVALID_ARGUMENT);
    return nullptr;
  }
  GfxArrowCap* c = new (std::nothrow) GfxArrowCap{height, width, filled};
  if (!c) {
    note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  ++g_live_objects;
  return c;
}

GfxStatus gfx_pen_set_end_cap(GfxGraphics* g, GfxPen* pen, const GfxArrowCap* cap) {
  if (!pen || !cap) return note(g, GFX_INVALID_ARGUMENT);
  pen->has_cap = true;
  pen->cap = *cap;
  return GFX_OK;
}

void gfx_arrow_cap_delete(GfxArrowCap* cap) {
  if (!cap) return;
  --g_live_objects;
  delete cap;
}

GfxBrush* gfx_brush_create(GfxGraphics* g, uint32_t argb) {
  if (!g) return nullptr;
  GfxBrush* b = new (std::nothrow) GfxBrush{argb};
  if (!b) {
    note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  ++g_live_objects;
  return b;
}

void gfx_brush_delete(GfxBrush* brush) {
  if (!brush) return;
  --g_live_objects;
  delete brush;
}

GfxFontFamily* gfx_family_create(GfxGraphics* g, const char* name) {
  if (!g) return nullptr;
  const char* face = name ? gfx_resolve_face(name) : nullptr;
  if (!face) {
    note(g, name ? GFX_FAMILY_NOT_FOUND : GFX_INVALID_ARGUMENT);
    return nullptr;
  }
  GfxFontFamily* f = new (std::nothrow) GfxFontFamily{name, face};
  if (!f) {
    note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  ++g_live_objects;
  return f;
}

void gfx_family_delete(GfxFontFamily* family) {
  if (!family) return;
  --g_live_objects;
  delete family;
}

GfxFont* gfx_font_create(GfxGraphics* g, const GfxFontFamily* family, double size_px, int32_t style) {
  if (!g) return nullptr;
  if (!family || !is_finite(size_px) || size_px <= 0 || (style != GFX_FONT_REGULAR && style != GFX_FONT_BOLD)) {
    note(g, GFX_INVALID_ARGUMENT);
    return nullptr;
  }
  GfxFont* f = new (std::nothrow) GfxFont{family->name, family->face, size_px, style};
  if (!f) {
    note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  ++g_live_objects;
  return f;
}

void gfx_font_delete(GfxFont* font) {
  if (!font) return;
  --g_live_objects;
  delete font;
}

// ---- text ----

GfxStatus gfx_draw_string(GfxGraphics* g, const char16_t* text, int32_t length, const GfxFont* font,
                          GfxRectF layout, const GfxBrush* brush) {
  if (!g) return GFX_INVALID_ARGUMENT;
  if (!text || !font || !brush || length < -1) return note(g, GFX_INVALID_ARGUMENT);
  if (!is_finite(layout.x) || !is_finite(layout.y) || !is_finite(layout.width) || !is_finite(layout.height))
    return note(g, GFX_INVALID_ARGUMENT);
  std::string utf8 = gfx_utf8(text, length);
  if (utf8.empty()) return GFX_OK;
  GfxStatus s = transform_invertible(g->m) ? GFX_OK : GFX_BAD_TRANSFORM;
  if (s == GFX_OK && g->cr) raster_text(g, utf8, font, layout, brush);
  if (GfxRecording* rec = recording_of(g)) {
    GfxRecord& r = record_begin(rec, g, GfxOp::Text, s);
    r.args = {layout.x, layout.y, layout.width, layout.height};
    r.brush_argb = brush->argb;
    r.font_family = font->family;
    r.font_size = font->size;
    r.font_style = font->style;
    r.glyph_ink = raster_glyph_ink(utf8, font, layout.width > 0 ? layout.width : 0);
    for (GfxRectF& k : r.glyph_ink) {
      k.x += layout.x;
      k.y += layout.y;
    }
    r.text = std::move(utf8);
  }
  return note(g, s);
}

GfxStatus gfx_measure_string(GfxGraphics* g, const char16_t* text, int32_t length, const GfxFont* font,
                             GfxRectF* box) {
  if (!g) return GFX_INVALID_ARGUMENT;
  if (!text || !font || !box || length < -1) return note(g, GFX_INVALID_ARGUMENT);
  *box = raster_text_box(gfx_utf8(text, length), font);
  return note(g, GFX_OK);
}

// ---- primitives ----

GfxStatus gfx_draw_line(GfxGraphics* g, const GfxPen* pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxPoint pts[2] = {{x1, y1}, {x2, y2}};
  GfxStatus s = shape_call(g, GfxOp::Line, pen, nullptr, {double(x1), double(y1), double(x2), double(y2)}, pts,
                           2, draw_check(pen));
  if (s == GFX_OK && raster_ready(g)) raster_stroke_line(g, pen, pts, 2);
  return s;
}

GfxStatus gfx_draw_lines(GfxGraphics* g, const GfxPen* pen, const GfxPoint* points, int32_t count) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(pen);
  if (s == GFX_OK && (!points || count < 2)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::Lines, pen, nullptr, {double(count)}, points, points ? count : 0, s);
  if (s == GFX_OK && raster_ready(g)) raster_stroke_line(g, pen, points, count);
  return s;
}

GfxStatus gfx_draw_arc(GfxGraphics* g, const GfxPen* pen, int32_t x, int32_t y, int32_t w, int32_t h,
                       double start_deg, double sweep_deg) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(pen, {start_deg, sweep_deg});
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::Arc, pen, nullptr, {double(x), double(y), double(w), double(h), start_deg, sweep_deg},
                 nullptr, 0, s);
  if (s == GFX_OK && raster_ready(g)) raster_stroke_arc(g, pen, x, y, w, h, start_deg, sweep_deg);
  return s;
}

GfxStatus gfx_draw_ellipse(GfxGraphics* g, const GfxPen* pen, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(pen);
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::Ellipse, pen, nullptr, {double(x), double(y), double(w), double(h)}, nullptr, 0, s);
  if (s == GFX_OK && raster_ready(g)) raster_stroke_arc(g, pen, x, y, w, h, 0.0, 360.0);
  return s;
}

GfxStatus gfx_fill_ellipse(GfxGraphics* g, const GfxBrush* brush, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(brush);
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::FillEllipse, nullptr, brush, {double(x), double(y), double(w), double(h)}, nullptr, 0,
                 s);
  if (s == GFX_OK && raster_ready(g)) raster_fill_ellipse(g, brush, x, y, w, h);
  return s;
}

GfxStatus gfx_fill_polygon(GfxGraphics* g, const GfxBrush* brush, const GfxPoint* points, int32_t count) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(brush);
  if (s == GFX_OK && (!points || count < 3)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::FillPolygon, nullptr, brush, {double(count)}, points, points ? count : 0, s);
  if (s == GFX_OK && raster_ready(g)) raster_fill_polygon(g, brush, points, count);
  return s;
}

GfxStatus gfx_draw_rect(GfxGraphics* g, const GfxPen* pen, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(pen);
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::Rect, pen, nullptr, {double(x), double(y), double(w), double(h)}, nullptr, 0, s);
  if (s == GFX_OK && raster_ready(g)) raster_stroke_rect(g, pen, x, y, w, h);
  return s;
}

GfxStatus gfx_fill_rect(GfxGraphics* g, const GfxBrush* brush, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(brush);
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::FillRect, nullptr, brush, {double(x), double(y), double(w), double(h)}, nullptr, 0, s);
  if (s == GFX_OK && raster_ready(g)) raster_fill_rect(g, brush, x, y, w, h);
  return s;
}

// ---- paths and clipping ----

GfxPath* gfx_path_create(GfxGraphics* g) {
  if (!g) return nullptr;
  GfxPath* p = new (std::nothrow) GfxPath{};
  if (!p) {
    note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  ++g_live_objects;
  return p;
}

GfxStatus gfx_path_add_arc(GfxGraphics* g, GfxPath* path, int32_t x, int32_t y, int32_t w, int32_t h,
                           double start_deg, double sweep_deg) {
  if (!path || w < 0 || h < 0 || !is_finite(start_deg) || !is_finite(sweep_deg)) return note(g, GFX_INVALID_ARGUMENT);
  path->segs.push_back({GfxPathSeg::ARC, {double(x), double(y), double(w), double(h), start_deg, sweep_deg}});
  return GFX_OK;
}

GfxStatus gfx_path_add_line(GfxGraphics* g, GfxPath* path, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (!path) return note(g, GFX_INVALID_ARGUMENT);
  path->segs.push_back({GfxPathSeg::LINE, {double(x1), double(y1), double(x2), double(y2), 0, 0}});
  return GFX_OK;
}

GfxStatus gfx_path_add_ellipse(GfxGraphics* g, GfxPath* path, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!path || w < 0 || h < 0) return note(g, GFX_INVALID_ARGUMENT);
  path->segs.push_back({GfxPathSeg::ELLIPSE, {double(x), double(y), double(w), double(h), 0, 0}});
  return GFX_OK;
}

GfxStatus gfx_path_add_curve(GfxGraphics* g, GfxPath* path, const GfxPointF* points, int32_t count,
                             double tension) {
  if (!path || !points || count < 2 || !is_finite(tension)) return note(g, GFX_INVALID_ARGUMENT);
  for (int32_t i = 0; i < count; ++i)
    if (!is_finite(points[i].x) || !is_finite(points[i].y)) return note(g, GFX_INVALID_ARGUMENT);
  path->segs.push_back({GfxPathSeg::LINE, {points[0].x, points[0].y, points[0].x, points[0].y, 0, 0}});
  // Cardinal tangent at point i, as a third of it for the Bezier control points.
  auto tangent = [&](int32_t i, double& tx, double& ty) {
    const GfxPointF& a = points[i > 0 ? i - 1 : 0];
    const GfxPointF& b = points[i < count - 1 ? i + 1 : count - 1];
    tx = tension * (b.x - a.x) / 3.0;
    ty = tension * (b.y - a.y) / 3.0;
  };
  for (int32_t i = 0; i + 1 < count; ++i) {
    double t0x, t0y, t1x, t1y;
    tangent(i, t0x, t0y);
    tangent(i + 1, t1x, t1y);
    const GfxPointF& p0 = points[i];
    const GfxPointF& p1 = points[i + 1];
    path->segs.push_back({GfxPathSeg::BEZIER, {p0.x + t0x, p0.y + t0y, p1.x - t1x, p1.y - t1y, p1.x, p1.y}});
  }
  return GFX_OK;
}

GfxStatus gfx_path_close_figure(GfxGraphics* g, GfxPath* path) {
  if (!path) return note(g, GFX_INVALID_ARGUMENT);
  path->segs.push_back({GfxPathSeg::CLOSE, {0, 0, 0, 0, 0, 0}});
  return GFX_OK;
}

void gfx_path_delete(GfxPath* path) {
  if (!path) return;
  --g_live_objects;
  delete path;
}

GfxStatus gfx_set_clip_path(GfxGraphics* g, const GfxPath* path) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = path ? GFX_OK : GFX_INVALID_ARGUMENT;
  if (s == GFX_OK && !transform_invertible(g->m)) s = GFX_BAD_TRANSFORM;
  std::vector<std::vector<GfxPointF>> device;
  if (s == GFX_OK) {
    device = gfx_flatten_path(*path);
    for (auto& poly : device)
      for (auto& p : poly) p = gfx_apply(g->m, p.x, p.y);
    if (g->cr) raster_set_clip(g, device);
    g->clip_on = true;
    g->clip_record = -2;
  }
  if (GfxRecording* rec = recording_of(g)) {
    GfxRecord& r = record_begin(rec, g, GfxOp::SetClip, s);
    r.clip_device = std::move(device);
    if (s == GFX_OK) {
      g->clip_record = int32_t(rec->records.size() - 1);
      r.clip = g->clip_record;
    }
  }
  return note(g, s);
}

GfxStatus gfx_reset_clip(GfxGraphics* g) {
  if (!g) return GFX_INVALID_ARGUMENT;
  g->clip_on = false;
  g->clip_record = -1;
  if (g->cr) raster_reset_clip(g);
  record_state(g, GfxOp::ResetClip, GFX_OK, {});
  return GFX_OK;
}

// ---- visibility ----

bool gfx_rect_visible(GfxGraphics* g, double x, double y, double w, double h) {
  if (!g) return false;
  if (!is_finite(x) || !is_finite(y) || !is_finite(w) || !is_finite(h) || !transform_invertible(g->m)) return true;
  // Device box of the rectangle, in the raster's pixel space (pixel i covers [i, i + 1]).
  double off = gfx_pixel_offset_half(g) ? 0.0 : 0.5;
  const GfxPointF c[4] = {gfx_apply(g->m, x, y), gfx_apply(g->m, x + w, y), gfx_apply(g->m, x, y + h),
                          gfx_apply(g->m, x + w, y + h)};
  double x0 = c[0].x, x1 = c[0].x, y0 = c[0].y, y1 = c[0].y;
  for (const GfxPointF& p : c) {
    x0 = std::fmin(x0, p.x);
    x1 = std::fmax(x1, p.x);
    y0 = std::fmin(y0, p.y);
    y1 = std::fmax(y1, p.y);
  }
  x0 += off - 1;
  y0 += off - 1;
  x1 += off + 1;
  y1 += off + 1;
  // Whole pixels that can take ink: the image, cut to the clip's box rounded out.
  double vx0 = 0, vy0 = 0, vx1 = g->image->width, vy1 = g->image->height;
  if (g->clip_on) {
    double cx0 = 0, cy0 = 0, cx1 = 0, cy1 = 0;
    bool known = false;
    GfxRecording* rec = recording_of(g);
    if (rec && g->clip_record >= 0 && size_t(g->clip_record) < rec->records.size() &&
        rec->records[size_t(g->clip_record)].op == GfxOp::SetClip) {
      bool first = true;
      for (const auto& poly : rec->records[size_t(g->clip_record)].clip_device)
        for (const GfxPointF& p : poly) {
          cx0 = first ? p.x : std::fmin(cx0, p.x);
          cx1 = first ? p.x : std::fmax(cx1, p.x);
          cy0 = first ? p.y : std::fmin(cy0, p.y);
          cy1 = first ? p.y : std::fmax(cy1, p.y);
          first = false;
        }
      if (first) return false;  // an empty clip shows nothing
      cx0 = std::floor(cx0 + 0.5);
      cy0 = std::floor(cy0 + 0.5);
      cx1 = std::ceil(cx1 + 0.5);
      cy1 = std::ceil(cy1 + 0.5);
      known = true;
    } else if (g->cr) {
      // The raster's clip extents, taken when the clip was set.
      const double* e = g->clip_edges.extents;
      cx0 = e[0], cy0 = e[1], cx1 = e[2], cy1 = e[3];
      known = true;
    }
    if (known) {
      vx0 = std::fmax(vx0, cx0);
      vy0 = std::fmax(vy0, cy0);
      vx1 = std::fmin(vx1, cx1);
      vy1 = std::fmin(vy1, cy1);
    }
  }
  return x1 > vx0 && x0 < vx1 && y1 > vy0 && y0 < vy1;
}
