// The A320 EADI renderer's shared frame and colours: the attitude section and the
// tapes draw with them in one pass.
#pragma once

#include "displays/attitude/attitude_draw.h"

namespace a320 {

constexpr double CX = 149, CY = 155;
constexpr uint32_t AMBER = 0xFFE9B73E, GREEN = 0xFF00FA00, CYAN = 0xFF26C2FF, MAGENTA = 0xFFFF13D5;
constexpr uint32_t WHITE = 0xFFDEE6E9, RED = 0xFFFF0000, BLACK = 0xFF000000;

using Draw = AttDraw;

void draw_attitude_section(const Draw& d);
void draw_tapes(const Draw& d);
void draw_heading_and_fields(const Draw& d);

}  // namespace a320
