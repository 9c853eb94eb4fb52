// The C-17 PFD's drawing kit: the design and fine frames and the drawing objects both
// halves of the page use.
#pragma once

#include "c17/c17_page.h"

// The fine frame draws design coordinates multiplied by kx (x) and ky (y), truncated,
// under a world transform scaled down by 16 (w + h), so points land on a sixteenth of
// a design unit.
struct PfdKit : C17Objects {
  GfxGraphics* g;
  const GaugeSurface* surface;
  double kx = 0, ky = 0;
  GfxPen *white_solid, *white_dashed;  // 1.5 design units in the fine frame
  GfxFont *fine9, *fine11, *fine12;

  PfdKit(GfxGraphics* graphics, const GaugeSurface* s);
  // Design frame about the rose centre (or absolute), rotated by `rot`.
  void design_centred(double rot = 0) const;
  void design_absolute() const;
  // Fine frame about the rose centre, rotated by `rot`.
  void fine(double rot = 0) const;
  // Fine-frame drawing in design coordinates.
  void line(const GfxPen* pen, double x1, double y1, double x2, double y2) const;
  void polygon(const GfxBrush* brush, const DrawPoint* pts, int32_t n) const;
  void polyline(const GfxPen* pen, const DrawPoint* pts, int32_t n) const;
  void text(const GfxFont* font, const GfxBrush* brush, double x, double y, const char* t) const;
  // A clip of the closed polygon in the fine frame.
  void clip_polygon(const DrawPoint* pts, int32_t n) const;
};

// The NAV 1 ident's cell, top-left in absolute design units, under the course, V1 and DME
// lines (drawn with a received station).
constexpr double C17_PFD_NAV_IDENT_X = 40, C17_PFD_NAV_IDENT_Y = 208;

// Second half of the page: scales, deviation scales, marker, heading scale and the
// mode annunciators.
void c17_pfd_scales_draw(PfdKit& k);
