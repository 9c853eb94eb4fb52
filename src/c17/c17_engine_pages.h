// What the C-17 MFD engine pages share: the header of the thrust and engine dials
// pages, the dials of the engine dials and oil pages, and the engine columns.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "c17/c17_page.h"

// Text, dial-box and dial-centre x of engine k's column (k = 1..4; index 0 unused).
struct C17EngineColumn {
  double tx, bx, cx;
};
extern const C17EngineColumn C17_ENGINE_COLUMNS[5];

// The C-17 pages' drawing objects with the engine pages' own: the red and yellow 2 px
// pens and the bold "Arial" 10 px font.
struct C17EngineKit : C17Objects {
  GfxFont* a10;
  GfxPen *yellow2, *red2;
  explicit C17EngineKit(GfxGraphics* g);
  // The 2 px pen and the brush of a page colour (white for any other).
  const GfxPen* pen2(uint32_t argb) const;
  const GfxBrush* brush(uint32_t argb) const;
};

// Thrust-limit timer at (0, 0), the reverse marks of the engines whose lever is below 0
// (`dy` lower than the thrust page's) and the rating caption, in the 10 px font; plain
// design frame.
void c17_engine_header_draw(GfxGraphics* g, const C17EngineKit& k, double dy);

// "MM:SS" of T seconds, the hours dropped, into `out` (at least 8 bytes).
void c17_minutes_seconds(double seconds, char* out, int32_t size);

struct C17DialMark {
  double rotation;  // degrees; 0 lies at the needle angle 45
  uint32_t argb;
};

// One dial of an engine page: the white half-circle arc in the 50 x 50 box at (bx, by),
// then about its centre the marks and a needle at `value` / `full` x 180 degrees
// (truncated, held within 0..180) in `needle_argb`. Leaves the plain design frame.
void c17_dial_draw(GfxGraphics* g, const GaugeSurface* surface, const C17EngineKit& k, double bx, double by,
                   std::initializer_list<C17DialMark> marks, double value, double full, uint32_t needle_argb);
