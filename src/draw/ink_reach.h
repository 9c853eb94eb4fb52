// Whether a map item can leave ink: the box its strokes, fills and glyphs can reach,
// asked of the graphics layer under the current transform (the image and the
// clip's bounding box). An item that cannot reach them is not drawn at all.
#pragma once

#include <cstdint>

#include "platform/gfx/gfx.h"

// World units a stroke can reach past its outline: miter joins up to 5 pen widths
// (a miter limit of 10 half widths), plus a unit for coordinates truncated to whole units.
double stroke_reach(double pen_width);

// The world box (x0, y0)-(x1, y1), widened by `pad` on every side.
bool box_reaches_image(GfxGraphics* g, double x0, double y0, double x1, double y1, double pad);
// How that box meets the image: not at all, wholly within it (every box inside it
// reaches the image) or in part.
GfxRectView box_view(GfxGraphics* g, double x0, double y0, double x1, double y1, double pad);
// A straight stroke, and an ellipse or arc stroked inside the box (x, y, w, h) (no
// miter on its smooth outline).
bool line_reaches_image(GfxGraphics* g, double pen_width, double x1, double y1, double x2, double y2);
bool ellipse_reaches_image(GfxGraphics* g, double pen_width, double x, double y, double w, double h);
// A text of `chars` characters drawn with its cell's top-left at (x, y) in a font of
// `size` world units: every glyph stays within an em of its cell, each cell an em wide.
bool text_reaches_image(GfxGraphics* g, double size, double x, double y, int32_t chars);
