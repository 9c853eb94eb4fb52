// Small 2-D vector graphics layer over a gauge image.
//
// C-style free functions over opaque handles. Every call that takes a graphics
// object returns a status and, when it fails, stores that status as the graphics
// object's last failure; nothing throws. Objects made through a graphics object
// (pens, brushes, fonts, paths, arrow caps) are independent of it and are
// released by their delete functions (null is accepted).
//
// The device context is the host's GaugeImage. With pixels the calls rasterise
// into it; with a recording switched on (gfx_recording.h) they are recorded too.
#pragma once

#include <cstdint>

#include "platform/host/gauge_host.h"

enum GfxStatus : int32_t {
  GFX_OK = 0,
  GFX_FAILED = 1,
  GFX_INVALID_ARGUMENT = 2,
  GFX_OUT_OF_MEMORY = 3,
  GFX_NOT_STARTED = 4,
  GFX_FAMILY_NOT_FOUND = 5,
  GFX_BAD_TRANSFORM = 6,  // the world transform cannot be inverted
};

// Smoothing modes (numbers as the displays pass them).
enum GfxSmoothing : int32_t {
  GFX_SMOOTHING_DEFAULT = 0,
  GFX_SMOOTHING_FAST = 1,
  GFX_SMOOTHING_HIGH_QUALITY = 2,
  GFX_SMOOTHING_NONE = 3,
  GFX_SMOOTHING_ANTIALIAS = 4,
};

// Text rendering hints.
enum GfxTextHint : int32_t {
  GFX_TEXT_DEFAULT = 0,
  GFX_TEXT_SINGLE_BIT_FIT = 1,
  GFX_TEXT_SINGLE_BIT = 2,
  GFX_TEXT_ANTIALIAS_FIT = 3,
  GFX_TEXT_ANTIALIAS = 4,
};

// Pixel offset: by default integer coordinates are pixel centres; HALF (and
// HIGH_QUALITY) move them half a pixel up and left (pixel corners).
enum GfxPixelOffset : int32_t {
  GFX_PIXEL_OFFSET_DEFAULT = 0,
  GFX_PIXEL_OFFSET_FAST = 1,
  GFX_PIXEL_OFFSET_HIGH_QUALITY = 2,
  GFX_PIXEL_OFFSET_NONE = 3,
  GFX_PIXEL_OFFSET_HALF = 4,
};

// How a transform operation combines with the current world transform.
// PREPEND: the new operation applies to points first (device = old(op(p))).
enum GfxOrder : int32_t {
  GFX_PREPEND = 0,
  GFX_APPEND = 1,
};

enum GfxDash : int32_t {
  GFX_DASH_SOLID = 0,
  GFX_DASH_DASH = 1,  // 3 widths on, 1 off
  GFX_DASH_DOT = 2,   // 1 width on, 1 off
};

enum GfxFontStyle : int32_t {
  GFX_FONT_REGULAR = 0,
  GFX_FONT_BOLD = 1,
};

// Row-vector affine matrix: device x = m11 x + m21 y + dx, device y = m12 x + m22 y + dy.
struct GfxMatrix {
  double m11, m12, m21, m22, dx, dy;
};

struct GfxPoint {
  int32_t x, y;
};

struct GfxPointF {
  double x, y;
};

struct GfxRectF {
  float x, y, width, height;
};

struct GfxGraphics;
struct GfxPen;
struct GfxBrush;
struct GfxFontFamily;
struct GfxFont;
struct GfxPath;
struct GfxArrowCap;

// Library start-up and shutdown. Start-ups nest: each returns a distinct non-zero
// token; the library stays started until every token is shut down. Graphics
// objects can only be made while it is started.
GfxStatus gfx_startup(uintptr_t* token);
GfxStatus gfx_shutdown(uintptr_t token);
bool gfx_started();
// A frame drawn into an image as the frame before it was is not drawn again: the image
// holds its pixels already. Images made anew (a gauge started or stopped) may reuse an
// old one's memory: this forgets what each image was last drawn with.
void gfx_forget_frames();

// Graphics object on a gauge image (null pixels: recording only).
GfxStatus gfx_create(GaugeImage* image, GfxGraphics** out);
void gfx_delete(GfxGraphics* g);
GfxStatus gfx_last_status(const GfxGraphics* g);  // GFX_OK until a call fails

GfxStatus gfx_set_smoothing(GfxGraphics* g, int32_t mode);
GfxStatus gfx_set_text_hint(GfxGraphics* g, int32_t hint);
GfxStatus gfx_set_pixel_offset(GfxGraphics* g, int32_t mode);

// Fills the whole image with the colour, replacing its pixels. The pixels are written by
// the next drawing call, gfx_flush or gfx_delete (a fill that covers them is not written
// over them twice).
GfxStatus gfx_clear(GfxGraphics* g, uint32_t argb);
// Writes what the graphics object holds pending into the image's pixels.
GfxStatus gfx_flush(GfxGraphics* g);

// World transform. Positive angles turn clockwise on screen (y down).
GfxStatus gfx_reset_transform(GfxGraphics* g);
GfxStatus gfx_scale(GfxGraphics* g, double sx, double sy, int32_t order);
GfxStatus gfx_translate(GfxGraphics* g, double dx, double dy, int32_t order);
GfxStatus gfx_rotate(GfxGraphics* g, double degrees, int32_t order);
GfxStatus gfx_get_transform(GfxGraphics* g, GfxMatrix* out);

// Pens: colour, width in world units.
GfxPen* gfx_pen_create(GfxGraphics* g, uint32_t argb, double width);
GfxStatus gfx_pen_set_dash(GfxGraphics* g, GfxPen* pen, int32_t dash);
void gfx_pen_delete(GfxPen* pen);
// Arrowhead end cap; height and width in multiples of the pen width.
GfxArrowCap* gfx_arrow_cap_create(GfxGraphics* g, double height, double width, bool filled);
GfxStatus gfx_pen_set_end_cap(GfxGraphics* g, GfxPen* pen, const GfxArrowCap* cap);
void gfx_arrow_cap_delete(GfxArrowCap* cap);

GfxBrush* gfx_brush_create(GfxGraphics* g, uint32_t argb);
void gfx_brush_delete(GfxBrush* brush);

// Families "Arial", "ZO Zuduz", "Courier New", "Tahoma", "Terminus"; another name
// fails with GFX_FAMILY_NOT_FOUND. Font sizes are in pixels (world units).
GfxFontFamily* gfx_family_create(GfxGraphics* g, const char* name);
void gfx_family_delete(GfxFontFamily* family);
GfxFont* gfx_font_create(GfxGraphics* g, const GfxFontFamily* family, double size_px, int32_t style);
void gfx_font_delete(GfxFont* font);

// Windows-1252 bytes (null-terminated) to UTF-16 in a buffer of `capacity` units
// including the terminator. Returns the units written with the terminator, or 0
// when the buffer is too small; then the buffer holds an empty string.
int32_t gfx_widen(const char* bytes, char16_t* out, int32_t capacity);

// Draws text with the top-left of its cell at (layout.x, layout.y); a zero-size
// layout box neither wraps nor clips. length -1: up to the terminator.
// An empty text draws nothing.
GfxStatus gfx_draw_string(GfxGraphics* g, const char16_t* text, int32_t length, const GfxFont* font,
                          GfxRectF layout, const GfxBrush* brush);

// The layout box a text takes when drawn at (0, 0) with a zero-size layout: its widest
// line's advance with a sixth of an em of space either side, by its lines' height.
GfxStatus gfx_measure_string(GfxGraphics* g, const char16_t* text, int32_t length, const GfxFont* font,
                             GfxRectF* box);

// Integer primitives. Angles in degrees, clockwise from +x; ellipses by bounding box.
GfxStatus gfx_draw_line(GfxGraphics* g, const GfxPen* pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
GfxStatus gfx_draw_lines(GfxGraphics* g, const GfxPen* pen, const GfxPoint* points, int32_t count);
GfxStatus gfx_draw_arc(GfxGraphics* g, const GfxPen* pen, int32_t x, int32_t y, int32_t w, int32_t h,
                       double start_deg, double sweep_deg);
GfxStatus gfx_draw_ellipse(GfxGraphics* g, const GfxPen* pen, int32_t x, int32_t y, int32_t w, int32_t h);
GfxStatus gfx_fill_ellipse(GfxGraphics* g, const GfxBrush* brush, int32_t x, int32_t y, int32_t w, int32_t h);
// Even-odd fill; the closing edge is implied.
GfxStatus gfx_fill_polygon(GfxGraphics* g, const GfxBrush* brush, const GfxPoint* points, int32_t count);
GfxStatus gfx_draw_rect(GfxGraphics* g, const GfxPen* pen, int32_t x, int32_t y, int32_t w, int32_t h);
GfxStatus gfx_fill_rect(GfxGraphics* g, const GfxBrush* brush, int32_t x, int32_t y, int32_t w, int32_t h);

// Paths: figures of arcs, lines and ellipses. Within a figure each segment is
// joined to the end of the previous one.
GfxPath* gfx_path_create(GfxGraphics* g);
GfxStatus gfx_path_add_arc(GfxGraphics* g, GfxPath* path, int32_t x, int32_t y, int32_t w, int32_t h,
                           double start_deg, double sweep_deg);
GfxStatus gfx_path_add_line(GfxGraphics* g, GfxPath* path, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
GfxStatus gfx_path_add_ellipse(GfxGraphics* g, GfxPath* path, int32_t x, int32_t y, int32_t w, int32_t h);
// A cardinal curve through `count` (2 or more) points: each point's tangent is
// `tension` times the chord from the point before it to the point after it (the end
// points use their one neighbour); 0.5 is the usual smooth curve.
GfxStatus gfx_path_add_curve(GfxGraphics* g, GfxPath* path, const GfxPointF* points, int32_t count,
                             double tension = 0.5);
GfxStatus gfx_path_close_figure(GfxGraphics* g, GfxPath* path);
void gfx_path_delete(GfxPath* path);

// Clip to the path's interior (even-odd) under the current world transform. The
// clip stays where it was set on the image whatever the transform does later.
GfxStatus gfx_set_clip_path(GfxGraphics* g, const GfxPath* path);
GfxStatus gfx_reset_clip(GfxGraphics* g);

// Whether anything drawn inside the world rectangle (x, y, w, h) under the current
// transform can reach a pixel of the image inside the bounding box of the clip in
// force: false only when the rectangle's device box, widened by a pixel, misses them.
// A rectangle that is not finite, or a transform that cannot be inverted, counts as
// visible (the drawing call reports the fault). False without a graphics object.
bool gfx_rect_visible(GfxGraphics* g, double x, double y, double w, double h);
// The same question, told apart further: visible with the widened device box wholly
// within the image and the clip's bounding box (then every rectangle inside the world
// rectangle is visible), or visible only in part. Where gfx_rect_visible cannot tell,
// visible in part.
enum GfxRectView { GFX_VIEW_NONE, GFX_VIEW_PART, GFX_VIEW_WITHIN };
GfxRectView gfx_rect_view(GfxGraphics* g, double x, double y, double w, double h);

// std::fmin and std::fmax as the C library computes them (a NaN yields the other value),
// inline: the library's are calls, and boxes take four of each per point.
inline double gfx_fmin(double x, double y) {
  if (x <= y) return x;
  if (x > y) return y;
  return y != y ? x : y;
}
inline double gfx_fmax(double x, double y) {
  if (x >= y) return x;
  if (x < y) return y;
  return y != y ? x : y;
}

// Pens, brushes, fonts, families, paths and caps alive now (leak checks).
int32_t gfx_live_objects();
