// The PFD's element renderers and what they share. Surface A and surface B are two
// graphics objects on the one image, each with its own world transform and clip.
#pragma once

#include <cstdint>
#include <vector>

#include "draw/draw_toolkit.h"
#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

constexpr DesignCanvas CANVAS_PFD{272, 314};
constexpr double PFD_ATT_X = 134, PFD_ATT_Y = 86;    // attitude centre
constexpr double PFD_ROSE_X = 134, PFD_ROSE_Y = 246;  // heading-rose centre

constexpr uint32_t PFD_TAPE = 0xFF624E6A;
constexpr uint32_t PFD_GROUND = 0xFF946239;
constexpr uint32_t PFD_CHEVRON_CUE = 0xFFE992E7;

// Renderers, in the order pfd_draw calls them.
void draw_pfd_fma(const GaugeSurface* rec, GfxGraphics* a);
void draw_pfd_speed_tape(const GaugeSurface* rec, GfxGraphics* a, GfxGraphics* b);
void draw_pfd_altitude_tape(const GaugeSurface* rec, GfxGraphics* a);
void draw_pfd_attitude(const GaugeSurface* rec, GfxGraphics* a, GfxGraphics* b);
void draw_pfd_chevron_symbol(const GaugeSurface* rec, GfxGraphics* b);
void draw_pfd_bar_symbol(const GaugeSurface* rec, GfxGraphics* b);
void draw_pfd_vs_dial(const GaugeSurface* rec, GfxGraphics* a);
void draw_pfd_hsi(const GaugeSurface* rec, GfxGraphics* a, GfxGraphics* b);

// A full-redraw frame: hdg_change_timer is 0.
bool pfd_full_frame();
// After a selected value changed outside a full frame: the next update makes the next
// frame a full one.
void pfd_request_full_frame();

// Pens, brushes and fonts ("ZO Zuduz" bold) of one renderer call, made on first use
// and released when the call ends.
class PfdTools {
 public:
  explicit PfdTools(GfxGraphics* g) : g_(g) {}
  ~PfdTools();
  PfdTools(const PfdTools&) = delete;
  PfdTools& operator=(const PfdTools&) = delete;
  GfxPen* pen(uint32_t argb, double width);
  GfxBrush* brush(uint32_t argb);
  GfxFont* font(double size);

 private:
  struct PenSlot {
    uint32_t argb;
    double width;
    GfxPen* pen;
  };
  struct BrushSlot {
    uint32_t argb;
    GfxBrush* brush;
  };
  struct FontSlot {
    double size;
    GfxFont* font;
  };
  GfxGraphics* g_;
  GfxFontFamily* family_ = nullptr;
  std::vector<PenSlot> pens_;
  std::vector<BrushSlot> brushes_;
  std::vector<FontSlot> fonts_;
};

// The design frame (scaled by image / canvas), optionally translated to (x, y) and
// rotated by `degrees`.
void pfd_frame_at(GfxGraphics* g, const GaugeSurface* rec, double x = 0, double y = 0, double degrees = 0);
// The half-unit frame: scaled by 0.5 alone; a design length v becomes trunc(2 sx v)
// horizontally and trunc(2 sy v) vertically (pfd_hx, pfd_hy).
void pfd_half_frame(GfxGraphics* g);
double pfd_hx(const GaugeSurface* rec, double x);
double pfd_hy(const GaugeSurface* rec, double y);

// Clip to a rectangle, to a closed polygon, in the current frame.
void pfd_clip_rect(GfxGraphics* g, double x, double y, double w, double h);
void pfd_clip_polygon(GfxGraphics* g, const DrawPoint* pts, int32_t n);

// Truncates toward zero; a value that is not finite or beyond the drawing range is 0.
int32_t pfd_trunc(double v);

// Polygon filled with `fill`, then outlined with `outline` (either may be null).
void pfd_shape(GfxGraphics* g, const GfxBrush* fill, const GfxPen* outline, const DrawPoint* pts, int32_t n);
