// Helpers of the C-17 pages: colours, the design frame and polylines.
#pragma once

#include <cstdint>

#include "draw/draw_toolkit.h"
#include "draw/map_layer_frame.h"

constexpr uint32_t C17_WHITE = 0xFFDEE6E9;
constexpr uint32_t C17_AMBER = 0xFFE9B73E;
constexpr uint32_t C17_GREEN = 0xFF00FA00;
constexpr uint32_t C17_GREEN_2 = 0xFF25C817;  // second green of the PFD
constexpr uint32_t C17_CYAN = 0xFF18C2E7;
constexpr uint32_t C17_MAGENTA = 0xFFFF13D5;
constexpr uint32_t C17_BLACK = 0xFF000000;
constexpr uint32_t C17_RED = 0xFFFF0000;
constexpr uint32_t C17_YELLOW = 0xFFFFFF00;

// Wide buffer of a page text.
constexpr int32_t C17_TEXT_CAPACITY = 64;

// The design-unit pens (named colour and width), brushes and bold "Arial" fonts (by
// pixel size) the C-17 pages draw with, made for one draw and released with it.
struct C17Objects {
  LayerObjects o;
  GfxPen *white1, *white2, *green1, *green2, *second_green2, *cyan2, *magenta2, *magenta3;
  GfxBrush *white, *green, *cyan, *black, *magenta, *amber, *red, *yellow;
  GfxFont *a7, *a8, *a9, *a11, *a14, *a17;
  explicit C17Objects(GfxGraphics* g);
};

// Design frame: reset, scale the 246 x 241 canvas to the image, translate to (tx, ty),
// rotate by `rot` degrees clockwise. False when the image size is unusable.
bool c17_frame(GfxGraphics* g, const GaugeSurface* surface, double tx = 0, double ty = 0, double rot = 0);

// An opaque colour from three settings, the low 8 bits of each.
uint32_t c17_colour(int32_t red, int32_t green, int32_t blue);

// An angle brought into -180..180; a non-finite angle gives 0.
double c17_wrap180(double deg);

// A readout of one value printed with `format` into `out` (`size` bytes). False for a
// value that is no number, which shows nothing; a value that prints as zero prints
// without a minus sign.
bool c17_value_text(char* out, int32_t size, const char* format, double value);
// A map range as it is: whole miles "%2.0f", others with the decimals they have (1.25,
// 2.5, 0.375). False for a range that is no number.
bool c17_range_text(char* out, int32_t size, double nm);
// Draws that readout at (x, y), or nothing.
void c17_draw_value(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y, const char* format,
                    double value);

// The text of NAV 1's ident variable; empty when the host gives none.
const char* c17_nav1_ident_text();

template <int32_t N>
inline void c17_polyline(GfxGraphics* g, const GfxPen* pen, const DrawPoint (&pts)[N]) {
  draw_lines_d(g, pen, pts, N);
}
template <int32_t N>
inline void c17_fill(GfxGraphics* g, const GfxBrush* brush, const DrawPoint (&pts)[N]) {
  fill_polygon_d(g, brush, pts, N);
}
