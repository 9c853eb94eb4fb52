// Two drawings no gauge of the table places: the fuel-on-board page with its own
// dispatcher, and a green outline frame.
#pragma once

#include <cstdint>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"

// Dispatcher: clears the image to transparent and draws the page scaled from its
// 386 x 429 canvas; `rec` takes the image size.
void fuel_on_board_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height);
// The page: "FUEL ON BOARD" and the fuel on board in gallons, "Terminus" 33 px bold green.
void fuel_on_board_page_draw(GfxGraphics* g, int32_t width, int32_t height);
// The outline: rectangle (0, 0)-(280, 240) of a 282 x 245 canvas in four 1 px green lines.
void outline_frame_draw(GfxGraphics* g, int32_t width, int32_t height);
