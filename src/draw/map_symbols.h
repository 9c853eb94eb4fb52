// Map-symbol painter: the small vector symbols of every map and several panels.
#pragma once

#include <cstdint>

#include "platform/gfx/gfx.h"

// Symbol codes.
enum MapSymbolCode : int32_t {
  SYMBOL_HEX_LOBES = 1,        // hexagon with three lobes (sets the half pixel offset)
  SYMBOL_HEXAGON = 2,
  SYMBOL_TRIANGLE = 3,
  SYMBOL_LOBED_CIRCLE = 4,     // circle with three lobes
  SYMBOL_TABBED_CIRCLE = 5,    // circle with four tabs
  SYMBOL_AIRCRAFT_FILLED = 11,
  SYMBOL_AIRCRAFT_OUTLINE = 12,
  SYMBOL_STAR = 20,            // four-pointed star; its centre is 6 s below the anchor
  SYMBOL_DIAMOND = 21,
  SYMBOL_RANGE_BOX = 30,       // shows `value`
  SYMBOL_TCAS_RANGE_BOX = 31,  // shows the Primus 1000 TCAS range
  SYMBOL_HEADING_BOX = 40,     // shows the aircraft heading
  SYMBOL_OWN_AIRCRAFT = 50,
  SYMBOL_CIRCLE = 74,
  SYMBOL_CIRCLE_SIDE_STUBS = 75,
  SYMBOL_CIRCLE_FOUR_STUBS = 76,
};
// The range box's size from its anchor, its top-left corner (design units before w and s).
constexpr double RANGE_BOX_WIDTH = 27, RANGE_BOX_HEIGHT = 16;

// Traffic-style symbols 60..63 (small) and 70..73 (large): diamond outline,
// filled diamond, yellow disc, red disc; `arrow` 1 adds an up arrow, 2 a down arrow.

// Draws symbol `code` with its anchor at (x, y) design units under the current
// world transform. `w` scales the symbol horizontally and is the base pen width,
// `s` scales it vertically; `colour` selects the colour as each code defines.
// Any other code draws nothing.
void draw_map_symbol(GfxGraphics* graphics, double x, double y, int32_t code, int32_t arrow, double w, double s,
                     int32_t colour, double value);

// Whether symbol `code` drawn with these arguments can leave ink on the image inside
// the clip's bounding box (draw_map_symbol's geometry and pens). Codes without a
// fixed outline (boxes with values, traffic, aircraft) always can.
bool map_symbol_reaches_image(GfxGraphics* graphics, double x, double y, int32_t code, double w, double s);
