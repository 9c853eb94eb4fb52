// The B777 PFD renderer's shared frames and colours: the attitude display, the
// tapes and the annunciations draw with them in one pass.
#pragma once

#include "displays/attitude/attitude_draw.h"

namespace b777 {

constexpr double CX = 115, CY = 130;
constexpr uint32_t WHITE = 0xFFDEE6E9, AMBER = 0xFFE9B73E, MAGENTA = 0xFFFF13D5, GREEN = 0xFF00FA00;
constexpr uint32_t BLACK = 0xFF000000, RED_PEN = 0xFFFF0000, RED_FILL = 0xFFFA0000;

using Draw = AttDraw;

void draw_attitude(const Draw& d);
void draw_roll_scale(const Draw& d);
void draw_speed_tape(const Draw& d);
void draw_altitude_tape(const Draw& d);
void draw_vertical_speed(const Draw& d);
void draw_readouts(const Draw& d);
void draw_mode_annunciations(const Draw& d);
void draw_radio_data_and_heading(const Draw& d);

// A digit character of a readout text; anything else (blank, sign) counts 0.
int32_t readout_digit(const char* text, int32_t i);

}  // namespace b777
