// The drawing calls of the graphics layer: text, lines and shapes, paths, clipping and the
// visibility test, each checked, then handed to the raster and recording back ends.
#include <cmath>

#include "platform/gfx/gfx_internal.h"

namespace {

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
    if (!std::isfinite(v)) return GFX_INVALID_ARGUMENT;
  return GFX_OK;
}

bool raster_ready(GfxGraphics* g) { return g->cr && gfx_transform_invertible(g->m); }

GfxStatus shape_call(GfxGraphics* g, GfxOp op, const GfxPen* pen, const GfxBrush* brush,
                     std::initializer_list<double> args, const GfxPoint* pts, int32_t n, GfxStatus s) {
  if (s == GFX_OK && !gfx_transform_invertible(g->m)) s = GFX_BAD_TRANSFORM;
  if (GfxRecording* rec = recording_of(g)) {
    GfxRecord& r = record_begin(rec, g, op, s);
    r.args.assign(args);
    if (pts && n > 0) r.points.assign(pts, pts + n);
    fill_pen(r, pen);
    if (brush) r.brush_argb = brush->argb;
  }
  return gfx_note(g, s);
}

}  // namespace

// ---- text ----

GfxStatus gfx_draw_string(GfxGraphics* g, const char16_t* text, int32_t length, const GfxFont* font,
                          GfxRectF layout, const GfxBrush* brush) {
  if (!g) return GFX_INVALID_ARGUMENT;
  if (!text || !font || !brush || length < -1) return gfx_note(g, GFX_INVALID_ARGUMENT);
  if (!std::isfinite(layout.x) || !std::isfinite(layout.y) || !std::isfinite(layout.width) ||
      !std::isfinite(layout.height))
    return gfx_note(g, GFX_INVALID_ARGUMENT);
  std::string utf8 = gfx_utf8(text, length);
  if (utf8.empty()) return GFX_OK;
  GfxStatus s = gfx_transform_invertible(g->m) ? GFX_OK : GFX_BAD_TRANSFORM;
  if (s == GFX_OK && g->cr)
    gfx_hand_to_raster(g, {.op = GfxOp::Text,
                           .argb = brush->argb,
                           .a = {layout.x, layout.y, layout.width, layout.height},
                           .text = &utf8,
                           .font = font});
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
  return gfx_note(g, s);
}

GfxStatus gfx_measure_string(GfxGraphics* g, const char16_t* text, int32_t length, const GfxFont* font,
                             GfxRectF* box) {
  if (!g) return GFX_INVALID_ARGUMENT;
  if (!text || !font || !box || length < -1) return gfx_note(g, GFX_INVALID_ARGUMENT);
  *box = raster_text_box(gfx_utf8(text, length), font);
  return gfx_note(g, GFX_OK);
}

// ---- primitives ----

GfxStatus gfx_draw_line(GfxGraphics* g, const GfxPen* pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxPoint pts[2] = {{x1, y1}, {x2, y2}};
  GfxStatus s = shape_call(g, GfxOp::Line, pen, nullptr, {double(x1), double(y1), double(x2), double(y2)}, pts,
                           2, draw_check(pen));
  if (s == GFX_OK && raster_ready(g)) gfx_hand_to_raster(g, {.op = GfxOp::Line, .pen = pen, .pts = pts, .n = 2});
  return s;
}

GfxStatus gfx_draw_lines(GfxGraphics* g, const GfxPen* pen, const GfxPoint* points, int32_t count) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(pen);
  if (s == GFX_OK && (!points || count < 2)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::Lines, pen, nullptr, {double(count)}, points, points ? count : 0, s);
  if (s == GFX_OK && raster_ready(g)) gfx_hand_to_raster(g, {.op = GfxOp::Line, .pen = pen, .pts = points, .n = count});
  return s;
}

GfxStatus gfx_draw_arc(GfxGraphics* g, const GfxPen* pen, int32_t x, int32_t y, int32_t w, int32_t h,
                       double start_deg, double sweep_deg) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(pen, {start_deg, sweep_deg});
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::Arc, pen, nullptr, {double(x), double(y), double(w), double(h), start_deg, sweep_deg},
                 nullptr, 0, s);
  if (s == GFX_OK && raster_ready(g))
    gfx_hand_to_raster(
        g, {.op = GfxOp::Arc, .pen = pen, .a = {double(x), double(y), double(w), double(h), start_deg, sweep_deg}});
  return s;
}

GfxStatus gfx_draw_ellipse(GfxGraphics* g, const GfxPen* pen, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(pen);
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::Ellipse, pen, nullptr, {double(x), double(y), double(w), double(h)}, nullptr, 0, s);
  if (s == GFX_OK && raster_ready(g))
    gfx_hand_to_raster(g,
                       {.op = GfxOp::Arc, .pen = pen, .a = {double(x), double(y), double(w), double(h), 0.0, 360.0}});
  return s;
}

GfxStatus gfx_fill_ellipse(GfxGraphics* g, const GfxBrush* brush, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(brush);
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::FillEllipse, nullptr, brush, {double(x), double(y), double(w), double(h)}, nullptr, 0,
                 s);
  if (s == GFX_OK && raster_ready(g))
    gfx_hand_to_raster(
        g, {.op = GfxOp::FillEllipse, .argb = brush->argb, .a = {double(x), double(y), double(w), double(h)}});
  return s;
}

GfxStatus gfx_fill_polygon(GfxGraphics* g, const GfxBrush* brush, const GfxPoint* points, int32_t count) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(brush);
  if (s == GFX_OK && (!points || count < 3)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::FillPolygon, nullptr, brush, {double(count)}, points, points ? count : 0, s);
  if (s == GFX_OK && raster_ready(g))
    gfx_hand_to_raster(g, {.op = GfxOp::FillPolygon, .argb = brush->argb, .pts = points, .n = count});
  return s;
}

GfxStatus gfx_draw_rect(GfxGraphics* g, const GfxPen* pen, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(pen);
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::Rect, pen, nullptr, {double(x), double(y), double(w), double(h)}, nullptr, 0, s);
  if (s == GFX_OK && raster_ready(g))
    gfx_hand_to_raster(g, {.op = GfxOp::Rect, .pen = pen, .a = {double(x), double(y), double(w), double(h)}});
  return s;
}

GfxStatus gfx_fill_rect(GfxGraphics* g, const GfxBrush* brush, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = draw_check(brush);
  if (s == GFX_OK && (w < 0 || h < 0)) s = GFX_INVALID_ARGUMENT;
  s = shape_call(g, GfxOp::FillRect, nullptr, brush, {double(x), double(y), double(w), double(h)}, nullptr, 0, s);
  if (s == GFX_OK && raster_ready(g))
    gfx_hand_to_raster(
        g, {.op = GfxOp::FillRect, .argb = brush->argb, .a = {double(x), double(y), double(w), double(h)}});
  return s;
}

// ---- paths and clipping ----

GfxPath* gfx_path_create(GfxGraphics* g) {
  if (!g) return nullptr;
  GfxPath* p = new (std::nothrow) GfxPath{};
  if (!p) {
    gfx_note(g, GFX_OUT_OF_MEMORY);
    return nullptr;
  }
  gfx_count_object(1);
  return p;
}

GfxStatus gfx_path_add_arc(GfxGraphics* g, GfxPath* path, int32_t x, int32_t y, int32_t w, int32_t h,
                           double start_deg, double sweep_deg) {
  if (!path || w < 0 || h < 0 || !std::isfinite(start_deg) || !std::isfinite(sweep_deg))
    return gfx_note(g, GFX_INVALID_ARGUMENT);
  path->segs.push_back({GfxPathSeg::ARC, {double(x), double(y), double(w), double(h), start_deg, sweep_deg}});
  return GFX_OK;
}

GfxStatus gfx_path_add_line(GfxGraphics* g, GfxPath* path, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (!path) return gfx_note(g, GFX_INVALID_ARGUMENT);
  path->segs.push_back({GfxPathSeg::LINE, {double(x1), double(y1), double(x2), double(y2), 0, 0}});
  return GFX_OK;
}

GfxStatus gfx_path_add_ellipse(GfxGraphics* g, GfxPath* path, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!path || w < 0 || h < 0) return gfx_note(g, GFX_INVALID_ARGUMENT);
  path->segs.push_back({GfxPathSeg::ELLIPSE, {double(x), double(y), double(w), double(h), 0, 0}});
  return GFX_OK;
}

GfxStatus gfx_path_add_curve(GfxGraphics* g, GfxPath* path, const GfxPointF* points, int32_t count,
                             double tension) {
  if (!path || !points || count < 2 || !std::isfinite(tension)) return gfx_note(g, GFX_INVALID_ARGUMENT);
  for (int32_t i = 0; i < count; ++i)
    if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) return gfx_note(g, GFX_INVALID_ARGUMENT);
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
  if (!path) return gfx_note(g, GFX_INVALID_ARGUMENT);
  path->segs.push_back({GfxPathSeg::CLOSE, {0, 0, 0, 0, 0, 0}});
  return GFX_OK;
}

void gfx_path_delete(GfxPath* path) {
  if (!path) return;
  gfx_count_object(-1);
  delete path;
}

GfxStatus gfx_set_clip_path(GfxGraphics* g, const GfxPath* path) {
  if (!g) return GFX_INVALID_ARGUMENT;
  GfxStatus s = path ? GFX_OK : GFX_INVALID_ARGUMENT;
  if (s == GFX_OK && !gfx_transform_invertible(g->m)) s = GFX_BAD_TRANSFORM;
  std::vector<std::vector<GfxPointF>> device;
  if (s == GFX_OK) {
    device = gfx_flatten_path(*path);
    for (auto& poly : device)
      for (auto& p : poly) p = gfx_apply(g->m, p.x, p.y);
    g->clip_on = true;
    if (g->cr) gfx_hand_to_raster(g, {.op = GfxOp::SetClip, .clip = &device});
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
  return gfx_note(g, s);
}

GfxStatus gfx_reset_clip(GfxGraphics* g) {
  if (!g) return GFX_INVALID_ARGUMENT;
  g->clip_on = false;
  g->clip_record = -1;
  if (g->cr) gfx_hand_to_raster(g, {.op = GfxOp::ResetClip});
  gfx_record_state(g, GfxOp::ResetClip, GFX_OK, {});
  return GFX_OK;
}

// ---- visibility ----

namespace {

// The device box (x0, y0, x1, y1) of a world rectangle, widened by a pixel, in the
// raster's pixel space (pixel i covers [i, i + 1]); false where it cannot be told (a
// rectangle not finite, a transform that cannot be inverted).
bool device_box(const GfxGraphics* g, double x, double y, double w, double h, double b[4]) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h) ||
      !gfx_transform_invertible(g->m))
    return false;
  double off = gfx_pixel_offset_half(g) ? 0.0 : 0.5;
  const GfxPointF c[4] = {gfx_apply(g->m, x, y), gfx_apply(g->m, x + w, y), gfx_apply(g->m, x, y + h),
                          gfx_apply(g->m, x + w, y + h)};
  double x0 = c[0].x, x1 = c[0].x, y0 = c[0].y, y1 = c[0].y;
  for (const GfxPointF& p : c) {
    x0 = gfx_fmin(x0, p.x);
    x1 = gfx_fmax(x1, p.x);
    y0 = gfx_fmin(y0, p.y);
    y1 = gfx_fmax(y1, p.y);
  }
  b[0] = x0 + off - 1;
  b[1] = y0 + off - 1;
  b[2] = x1 + off + 1;
  b[3] = y1 + off + 1;
  return true;
}

// The whole pixels that can take ink (x0, y0, x1, y1): the image, cut to the clip's box
// rounded out; false for an empty clip.
bool view_box(GfxGraphics* g, double v[4]) {
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
          cx0 = first ? p.x : gfx_fmin(cx0, p.x);
          cx1 = first ? p.x : gfx_fmax(cx1, p.x);
          cy0 = first ? p.y : gfx_fmin(cy0, p.y);
          cy1 = first ? p.y : gfx_fmax(cy1, p.y);
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
      vx0 = gfx_fmax(vx0, cx0);
      vy0 = gfx_fmax(vy0, cy0);
      vx1 = gfx_fmin(vx1, cx1);
      vy1 = gfx_fmin(vy1, cy1);
    }
  }
  v[0] = vx0, v[1] = vy0, v[2] = vx1, v[3] = vy1;
  return true;
}

}  // namespace

GfxRectView gfx_rect_view(GfxGraphics* g, double x, double y, double w, double h) {
  if (!g) return GFX_VIEW_NONE;
  double b[4], v[4];
  if (!device_box(g, x, y, w, h, b)) return GFX_VIEW_PART;
  if (!view_box(g, v) || !(b[2] > v[0] && b[0] < v[2] && b[3] > v[1] && b[1] < v[3])) return GFX_VIEW_NONE;
  return gfx_box_within(v, b[0], b[1], b[2], b[3]) ? GFX_VIEW_WITHIN : GFX_VIEW_PART;
}

bool gfx_rect_visible(GfxGraphics* g, double x, double y, double w, double h) {
  return gfx_rect_view(g, x, y, w, h) != GFX_VIEW_NONE;
}
