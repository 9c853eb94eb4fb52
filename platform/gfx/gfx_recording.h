// Recording of the graphics calls made on a gauge image, for tests and the
// simulated host. Switched on per image; raster drawing goes on alongside.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/gfx.h"

enum class GfxOp : int32_t {
  Create,
  Delete,
  Smoothing,
  TextHint,
  PixelOffset,
  Clear,
  ResetTransform,
  Scale,
  Translate,
  Rotate,
  Line,
  Lines,
  Arc,
  Ellipse,
  FillEllipse,
  FillPolygon,
  Rect,
  FillRect,
  Text,
  SetClip,
  ResetClip,
};

const char* gfx_op_name(GfxOp op);

// One graphics call as made, with the state it was made in.
struct GfxRecord {
  GfxOp op;
  GfxStatus status;
  std::vector<double> args;      // numeric arguments in call order
  std::vector<GfxPoint> points;  // polyline and polygon vertices
  GfxMatrix transform;           // world transform at the call (after it, for transform ops)
  int32_t clip;                  // index of the SetClip record in force, -1 for none
  bool pixel_offset_half;
  // Pen (Line, Lines, Arc, Ellipse, Rect).
  uint32_t pen_argb;
  double pen_width;
  int32_t pen_dash;
  bool pen_arrow_cap;
  // Brush (fills, Text) or the Clear colour.
  uint32_t brush_argb;
  // Font and text (Text).
  std::string font_family;
  double font_size;
  int32_t font_style;
  std::string text;  // UTF-8
  std::vector<GfxRectF> glyph_ink;  // ink box of each glyph drawn, world units
  // SetClip: the clip outline in device coordinates, one polygon per figure.
  std::vector<std::vector<GfxPointF>> clip_device;
};

// A text drawn, with where its layout point landed on the image.
struct GfxTextItem {
  std::string text;
  GfxPointF device;  // image pixels
  GfxPointF world;   // the layout point as passed
  uint32_t argb;
  std::string font_family;
  double font_size;
  int32_t font_style;
  GfxRectF ink;   // image pixels: the bounding box of the glyphs' ink (empty without ink)
  size_t record;  // index in records()
};

struct GfxRecording {
  std::vector<GfxRecord> records;
  int32_t image_width = 0;
  int32_t image_height = 0;

  void clear();
  // Texts drawn, in order.
  std::vector<std::string> texts() const;
  std::vector<GfxTextItem> text_items() const;
  bool has_text(const std::string& text) const;
  // Primitives of a kind, and of a kind in a colour (pen colour for outlines,
  // brush colour for fills and texts, the colour for Clear).
  int32_t count(GfxOp op) const;
  int32_t count(GfxOp op, uint32_t argb) const;
  // Drawing primitives and texts in all (no state changes).
  int32_t primitive_count() const;
  // A Clear to 0x00000000 was recorded.
  bool cleared_transparent() const;
  // Records of one kind.
  std::vector<const GfxRecord*> of(GfxOp op) const;
  // Image pixel of a world point under a record's transform.
  static GfxPointF to_device(const GfxRecord& r, double x, double y);
  // Image pixel back to the design units of a canvas W x H scaled to the image.
  GfxPointF to_design(GfxPointF device, double canvas_w, double canvas_h) const;
  // The record's vertices in image pixels (Lines, FillPolygon; Line end points).
  static std::vector<GfxPointF> device_points(const GfxRecord& r);
};

void gfx_recording_enable(GaugeImage* image);
void gfx_recording_disable(GaugeImage* image);
GfxRecording* gfx_recording_of(const GaugeImage* image);  // null when off
