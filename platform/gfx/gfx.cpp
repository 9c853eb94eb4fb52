// Front end of the graphics layer: library state, graphics objects and their settings,
// transforms, pens, brushes and fonts. The drawing calls are in gfx_draw_calls.cpp.
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

const GfxMatrix IDENTITY = {1, 0, 0, 1, 0, 0};

// The clip tables of the last graphics object deleted: the next one fills them again
// without making their room anew (a display sets several clips a frame).
GfxClipEdges g_spare_clip_edges;

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

}  // namespace

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
        gfx_bands_stop();
        raster_release_measuring();
        raster_release_kept_glyphs();
        gfx_release_fonts();
        gfx_release_stamps();
        gfx_release_kept_strokes();
        raster_release_clip_coverages();
        gfx_forget_frames();
        g_spare_clip_edges = GfxClipEdges{};
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
  static uint64_t made = 0;
  g->serial = ++made;
  g->image = image;
  g->m = IDENTITY;
  g->last = GFX_OK;
  g->smoothing = GFX_SMOOTHING_DEFAULT;
  g->text_hint = GFX_TEXT_DEFAULT;
  g->pixel_offset = GFX_PIXEL_OFFSET_DEFAULT;
  g->clip_on = false;
  g->clip_record = -1;
  g->clip_edges.swap_room(g_spare_clip_edges);
  g->clip_edges.forget();
  if (image->pixels) {
    raster_open(g);
    if (!g->cr) g->last = GFX_FAILED;  // drawing goes on into the recording only
    gfx_bands_open(g);
    gfx_repeat_begin(g);
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
  gfx_record_state(g, GfxOp::Delete, GFX_OK, {});
  gfx_repeat_end(g);
  gfx_bands_close(g);
  raster_close(g);
  g_spare_clip_edges.swap_room(g->clip_edges);
  delete g;
}

GfxStatus gfx_last_status(const GfxGraphics* g) { return g ? g->last : GFX_INVALID_ARGUMENT; }

GfxStatus gfx_set_smoothing(GfxGraphics* g, int32_t mode) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (mode < 0 || mode > 4) ? GFX_INVALID_ARGUMENT : GFX_OK;
  if (s == GFX_OK) g->smoothing = mode;
  gfx_record_state(g, GfxOp::Smoothing, s, {double(mode)});
  return gfx_note(g, s);
}

GfxStatus gfx_set_text_hint(GfxGraphics* g, int32_t hint) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (hint < 0 || hint > 5) ? GFX_INVALID_ARGUMENT : GFX_OK;
  if (s == GFX_OK) g->text_hint = hint;
  gfx_record_state(g, GfxOp::TextHint, s, {double(hint)});
  return gfx_note(g, s);
}

GfxStatus gfx_set_pixel_offset(GfxGraphics* g, int32_t mode) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (mode < 0 || mode > 4) ? GFX_INVALID_ARGUMENT : GFX_OK;
  if (s == GFX_OK) g->pixel_offset = mode;
  gfx_record_state(g, GfxOp::PixelOffset, s, {double(mode)});
  return gfx_note(g, s);
}

GfxStatus gfx_clear(GfxGraphics* g, uint32_t argb) {
  if (!g) return GFX_INVALID_ARGUMENT;
  if (g->cr) gfx_hand_to_raster(g, {.op = GfxOp::Clear, .argb = argb});
  if (GfxRecording* rec = recording_of(g)) {
    GfxRecord& r = record_begin(rec, g, GfxOp::Clear, GFX_OK);
    r.args = {double(argb)};
    r.brush_argb = argb;
  }
  return GFX_OK;
}

GfxStatus gfx_flush(GfxGraphics* g) {
  if (!g) return GFX_INVALID_ARGUMENT;
  if (g->surface && !gfx_repeat_holding(g)) {
    gfx_bands_flush(g);
    raster_settle(g);
  }
  return GFX_OK;
}

// ---- world transform ----

GfxStatus gfx_reset_transform(GfxGraphics* g) {
  if (!g) return GFX_INVALID_ARGUMENT;
  g->m = IDENTITY;
  gfx_record_state(g, GfxOp::ResetTransform, GFX_OK, {});
  return GFX_OK;
}

GfxStatus gfx_scale(GfxGraphics* g, double sx, double sy, int32_t order) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (std::isfinite(sx) && std::isfinite(sy)) ? combine(g, {sx, 0, 0, sy, 0, 0}, order) : GFX_INVALID_ARGUMENT;
  gfx_record_state(g, GfxOp::Scale, s, {sx, sy, double(order)});
  return gfx_note(g, s);
}

GfxStatus gfx_translate(GfxGraphics* g, double dx, double dy, int32_t order) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = (std::isfinite(dx) && std::isfinite(dy)) ? combine(g, {1, 0, 0, 1, dx, dy}, order) : GFX_INVALID_ARGUMENT;
  gfx_record_state(g, GfxOp::Translate, s, {dx, dy, double(order)});
  return gfx_note(g, s);
}

GfxStatus gfx_rotate(GfxGraphics* g, double degrees, int32_t order) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = GFX_INVALID_ARGUMENT;
  if (std::isfinite(degrees)) {
    double r = std::fmod(degrees, 360.0) * (3.14159265358979323846 / 180.0);
    double c = std::cos(r), n = std::sin(r);
    if (std::fmod(degrees, 90.0) == 0.0) {  // exact quarter turns
      c = std::round(c);
      n = std::round(n);
    }
    s = combine(g, {c, n, -n, c, 0, 0}, order);
  }
  gfx_record_state(g, GfxOp::Rotate, s, {degrees, double(order)});
  return gfx_note(g, s);
}

GfxStatus gfx_get_transform(GfxGraphics* g, GfxMatrix* out) {
  if (!g || !out) return gfx_note(g, GFX_INVALID_ARGUMENT);
  *out = g->m;
  return GFX_OK;
}

// ---- objects ----

GfxPen* gfx_pen_create(GfxGraphics* g, uint32_t argb, double width) {
  if (!g) return nullptr;
  if (!std::isfinite(width) || width < 0) {
    gfx_note(g, GFX_INVALID_ARGUMENT);
    return nullptr;
  }
  GfxPen* p = new (std::nothrow) GfxPen{argb, width, GFX_DASH_SOLID, false, {0, 0, false}};
  if (!p) {
    gfx_note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  gfx_count_object(1);
  return p;
}

GfxStatus gfx_pen_set_dash(GfxGraphics* g, GfxPen* pen, int32_t dash) {
  if (!pen || dash < GFX_DASH_SOLID || dash > GFX_DASH_DOT) return gfx_note(g, GFX_INVALID_ARGUMENT);
  pen->dash = dash;
  return GFX_OK;
}

void gfx_pen_delete(GfxPen* pen) {
  if (!pen) return;
  gfx_count_object(-1);
  delete pen;
}

GfxArrowCap* gfx_arrow_cap_create(GfxGraphics* g, double height, double width, bool filled) {
  if (!g) return nullptr;
  if (!std::isfinite(height) || !std::isfinite(width) || height < 0 || width < 0) {
    gfx_note(g, GFX_INVALID_ARGUMENT);
    return nullptr;
  }
  GfxArrowCap* c = new (std::nothrow) GfxArrowCap{height, width, filled};
  if (!c) {
    gfx_note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  gfx_count_object(1);
  return c;
}

GfxStatus gfx_pen_set_end_cap(GfxGraphics* g, GfxPen* pen, const GfxArrowCap* cap) {
  if (!pen || !cap) return gfx_note(g, GFX_INVALID_ARGUMENT);
  pen->has_cap = true;
  pen->cap = *cap;
  return GFX_OK;
}

void gfx_arrow_cap_delete(GfxArrowCap* cap) {
  if (!cap) return;
  gfx_count_object(-1);
  delete cap;
}

GfxBrush* gfx_brush_create(GfxGraphics* g, uint32_t argb) {
  if (!g) return nullptr;
  GfxBrush* b = new (std::nothrow) GfxBrush{argb};
  if (!b) {
    gfx_note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  gfx_count_object(1);
  return b;
}

void gfx_brush_delete(GfxBrush* brush) {
  if (!brush) return;
  gfx_count_object(-1);
  delete brush;
}

GfxFontFamily* gfx_family_create(GfxGraphics* g, const char* name) {
  if (!g) return nullptr;
  const char* face = name ? gfx_resolve_face(name) : nullptr;
  if (!face) {
    gfx_note(g, name ? GFX_FAMILY_NOT_FOUND : GFX_INVALID_ARGUMENT);
    return nullptr;
  }
  GfxFontFamily* f = new (std::nothrow) GfxFontFamily{name, face};
  if (!f) {
    gfx_note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  gfx_count_object(1);
  return f;
}

void gfx_family_delete(GfxFontFamily* family) {
  if (!family) return;
  gfx_count_object(-1);
  delete family;
}

GfxFont* gfx_font_create(GfxGraphics* g, const GfxFontFamily* family, double size_px, int32_t style) {
  if (!g) return nullptr;
  if (!family || !std::isfinite(size_px) || size_px <= 0 || (style != GFX_FONT_REGULAR && style != GFX_FONT_BOLD)) {
    gfx_note(g, GFX_INVALID_ARGUMENT);
    return nullptr;
  }
  GfxFont* f = new (std::nothrow) GfxFont{family->name, family->face, size_px, style};
  if (!f) {
    gfx_note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  f->hash = gfx_font_hash(*f);
  gfx_count_object(1);
  return f;
}

void gfx_font_delete(GfxFont* font) {
  if (!font) return;
  gfx_count_object(-1);
  delete font;
}

GfxStatus gfx_note(GfxGraphics* g, GfxStatus s) {
  if (g && s != GFX_OK) g->last = s;
  return s;
}

void gfx_record_state(GfxGraphics* g, GfxOp op, GfxStatus s, std::initializer_list<double> args) {
  if (GfxRecording* rec = recording_of(g)) {
    GfxRecord& r = record_begin(rec, g, op, s);
    r.args.assign(args);
  }
}

void gfx_count_object(int32_t change) { g_live_objects += change; }
