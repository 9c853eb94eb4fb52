// Recording back end: one record per graphics call on an image that has a
// recording switched on, and the queries tests and the host make of it.
#include "platform/gfx/gfx_recording.h"

#include <algorithm>

#include "platform/gfx/gfx_internal.h"

namespace {

bool is_primitive(GfxOp op) {
  switch (op) {
    case GfxOp::Line:
    case GfxOp::Lines:
    case GfxOp::Arc:
    case GfxOp::Ellipse:
    case GfxOp::FillEllipse:
    case GfxOp::FillPolygon:
    case GfxOp::Rect:
    case GfxOp::FillRect:
    case GfxOp::Text:
      return true;
    default:
      return false;
  }
}

uint32_t colour_of(const GfxRecord& r) {
  switch (r.op) {
    case GfxOp::Line:
    case GfxOp::Lines:
    case GfxOp::Arc:
    case GfxOp::Ellipse:
    case GfxOp::Rect:
      return r.pen_argb;
    default:
      return r.brush_argb;
  }
}

}  // namespace

const char* gfx_op_name(GfxOp op) {
  static const char* const NAMES[] = {
      "Create", "Delete", "Smoothing", "TextHint", "PixelOffset", "Clear",  "ResetTransform",
      "Scale",  "Translate", "Rotate", "Line",     "Lines",       "Arc",    "Ellipse",
      "FillEllipse", "FillPolygon", "Rect", "FillRect", "Text",   "SetClip", "ResetClip",
  };
  size_t i = size_t(op);
  return i < sizeof(NAMES) / sizeof(NAMES[0]) ? NAMES[i] : "?";
}

GfxRecording* recording_of(GfxGraphics* g) {
  return g && g->image ? static_cast<GfxRecording*>(g->image->recorder) : nullptr;
}

GfxRecord& record_begin(GfxRecording* rec, GfxGraphics* g, GfxOp op, GfxStatus status) {
  GfxRecord r{};
  r.op = op;
  r.status = status;
  r.transform = g->m;
  r.clip = g->clip_on ? g->clip_record : -1;
  if (r.clip >= 0 && (size_t(r.clip) >= rec->records.size() || rec->records[r.clip].op != GfxOp::SetClip))
    r.clip = -2;  // set before the recording was cleared
  r.pixel_offset_half = gfx_pixel_offset_half(g);
  rec->records.push_back(std::move(r));
  return rec->records.back();
}

void GfxRecording::clear() { records.clear(); }

std::vector<std::string> GfxRecording::texts() const {
  std::vector<std::string> out;
  for (const GfxRecord& r : records)
    if (r.op == GfxOp::Text && r.status == GFX_OK) out.push_back(r.text);
  return out;
}

std::vector<GfxTextItem> GfxRecording::text_items() const {
  std::vector<GfxTextItem> out;
  for (size_t i = 0; i < records.size(); ++i) {
    const GfxRecord& r = records[i];
    if (r.op != GfxOp::Text || r.status != GFX_OK) continue;
    GfxTextItem t;
    t.text = r.text;
    t.world = {r.args[0], r.args[1]};
    t.device = to_device(r, r.args[0], r.args[1]);
    t.argb = r.brush_argb;
    t.font_family = r.font_family;
    t.font_size = r.font_size;
    t.font_style = r.font_style;
    bool any = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const GfxRectF& k : r.glyph_ink) {
      for (GfxPointF p : {to_device(r, k.x, k.y), to_device(r, k.x + k.width, k.y), to_device(r, k.x, k.y + k.height),
                          to_device(r, k.x + k.width, k.y + k.height)}) {
        x0 = any ? std::min(x0, double(p.x)) : p.x;
        y0 = any ? std::min(y0, double(p.y)) : p.y;
        x1 = any ? std::max(x1, double(p.x)) : p.x;
        y1 = any ? std::max(y1, double(p.y)) : p.y;
        any = true;
      }
    }
    t.ink = {float(x0), float(y0), float(x1 - x0), float(y1 - y0)};
    t.record = i;
    out.push_back(std::move(t));
  }
  return out;
}

bool GfxRecording::has_text(const std::string& text) const {
  for (const GfxRecord& r : records)
    if (r.op == GfxOp::Text && r.status == GFX_OK && r.text == text) return true;
  return false;
}

int32_t GfxRecording::count(GfxOp op) const {
  int32_t n = 0;
  for (const GfxRecord& r : records)
    if (r.op == op && r.status == GFX_OK) ++n;
  return n;
}

int32_t GfxRecording::count(GfxOp op, uint32_t argb) const {
  int32_t n = 0;
  for (const GfxRecord& r : records)
    if (r.op == op && r.status == GFX_OK && colour_of(r) == argb) ++n;
  return n;
}

int32_t GfxRecording::primitive_count() const {
  int32_t n = 0;
  for (const GfxRecord& r : records)
    if (is_primitive(r.op) && r.status == GFX_OK) ++n;
  return n;
}

bool GfxRecording::cleared_transparent() const {
  for (const GfxRecord& r : records)
    if (r.op == GfxOp::Clear && r.brush_argb == 0x00000000u) return true;
  return false;
}

std::vector<const GfxRecord*> GfxRecording::of(GfxOp op) const {
  std::vector<const GfxRecord*> out;
  for (const GfxRecord& r : records)
    if (r.op == op && r.status == GFX_OK) out.push_back(&r);
  return out;
}

GfxPointF GfxRecording::to_device(const GfxRecord& r, double x, double y) { return gfx_apply(r.transform, x, y); }

GfxPointF GfxRecording::to_design(GfxPointF device, double canvas_w, double canvas_h) const {
  if (image_width <= 0 || image_height <= 0) return device;
  return {device.x * canvas_w / image_width, device.y * canvas_h / image_height};
}

std::vector<GfxPointF> GfxRecording::device_points(const GfxRecord& r) {
  std::vector<GfxPointF> out;
  for (const GfxPoint& p : r.points) out.push_back(to_device(r, p.x, p.y));
  return out;
}

void gfx_recording_enable(GaugeImage* image) {
  if (!image || image->recorder) return;
  GfxRecording* rec = new GfxRecording();
  rec->image_width = image->width;
  rec->image_height = image->height;
  image->recorder = rec;
}

void gfx_recording_disable(GaugeImage* image) {
  if (!image || !image->recorder) return;
  delete static_cast<GfxRecording*>(image->recorder);
  image->recorder = nullptr;
}

GfxRecording* gfx_recording_of(const GaugeImage* image) {
  return image ? static_cast<GfxRecording*>(image->recorder) : nullptr;
}
