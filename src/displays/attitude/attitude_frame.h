// Drawing frames of the attitude displays. A frame sets the world transform about
// the display's attitude centre and multiplies every design coordinate by (kx, ky)
// before the integer drawing calls truncate it: k = 1 is the design frame; a fine
// frame shrinks the transform by k so that coordinates land on fractions of a unit.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "draw/draw_toolkit.h"
#include "draw/gauge_surface.h"

struct AttFrame {
  GfxGraphics* g = nullptr;
  double kx = 1.0, ky = 1.0;

  void line(const GfxPen* pen, double x1, double y1, double x2, double y2) const;
  // An open polyline through the points (repeat the first to close it).
  void lines(const GfxPen* pen, std::initializer_list<DrawPoint> pts) const;
  void fill(const GfxBrush* brush, std::initializer_list<DrawPoint> pts) const;
  void ellipse(const GfxPen* pen, double x, double y, double w, double h) const;
  void fill_ellipse(const GfxBrush* brush, double x, double y, double w, double h) const;
  void rect(const GfxPen* pen, double x, double y, double w, double h) const;
  void fill_rect(const GfxBrush* brush, double x, double y, double w, double h) const;
  void clip_rect(double x, double y, double w, double h) const;
  // Clips to the closed outline through the points.
  void clip_outline(std::initializer_list<DrawPoint> pts) const;
  // Text with its top-left at (x, y).
  void text(const GfxFont* font, const GfxBrush* brush, double x, double y, const char* s) const;
  void textf(const GfxFont* font, const GfxBrush* brush, double x, double y, const char* format, ...) const
      __attribute__((format(printf, 6, 7)));
  // A pen width or font size given in design units, for this frame.
  double size(double design) const { return design * kx; }
};

// Pens, brushes and fonts of one draw, made on first use and released together
// when the draw ends. Past the capacity nothing more is made (null draws nothing).
class AttObjects {
 public:
  explicit AttObjects(GfxGraphics* g) : g_(g) {}
  ~AttObjects();
  AttObjects(const AttObjects&) = delete;
  AttObjects& operator=(const AttObjects&) = delete;

  GfxPen* pen(uint32_t argb, double width);
  GfxBrush* brush(uint32_t argb);
  // Bold font of `family` at `size_px`.
  GfxFont* font(const char* family, double size_px);

 private:
  static constexpr int32_t CAPACITY = 40;
  struct Pen {
    uint32_t argb;
    double width;
    GfxPen* pen;
  };
  struct Brush {
    uint32_t argb;
    GfxBrush* brush;
  };
  struct Font {
    const char* family;
    double size;
    GfxFont* font;
  };
  GfxGraphics* g_;
  GfxFontFamily* families_[4] = {};
  const char* family_names_[4] = {};
  Pen pens_[CAPACITY] = {};
  Brush brushes_[CAPACITY] = {};
  Font fonts_[CAPACITY] = {};
  int32_t npens_ = 0, nbrushes_ = 0, nfonts_ = 0, nfamilies_ = 0;
};

// Design frame: the canvas scaled to the image, translated to (cx, cy), rotated by
// `rot` degrees.
AttFrame att_design_frame(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double cx, double cy,
                          double rot = 0.0);
// Fine frame of multipliers (kx, ky): the canvas scale divided by them, translated to
// (cx kx, cy ky) in those units and rotated by `rot` degrees.
AttFrame att_fine_frame(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double cx, double cy,
                        double rot, double kx, double ky);

// Opaque colour of three 8-bit settings.
uint32_t att_setting_colour(int32_t red, int32_t green, int32_t blue);

// Opens a dispatcher's draw on `dc`: records the image size and makes the graphics
// object. Null without a device context or graphics.
GfxGraphics* att_begin(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height);
// Fills the canvas rectangle (0, 0, fill_w, fill_h) of the scaled frame with `argb`.
void att_fill_canvas(GfxGraphics* g, const GaugeSurface* ctx, DesignCanvas canvas, double fill_w, double fill_h,
                     uint32_t argb);

// Flashing items show on frames 0 to 7 of the update's 18-frame cycle.
bool att_flash_on();
// A value truncated toward zero to a whole number; 0 when not finite or out of range.
int32_t att_trunc(double v);
