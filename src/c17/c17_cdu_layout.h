// Layout helpers of the mission CDU pages: the 365 x 289 mission canvas and the
// 282 x 245 canvas of the takeoff/approach/procedure family, "Arial" 18/12 regular
// green text, reverse video and the bottom line.
#pragma once

#include <cstdint>
#include <string>

#include "cdu/smiths/page_layout.h"
#include "draw/draw_toolkit.h"

constexpr DesignCanvas C17_CDU_MISSION_CANVAS{365.0, 289.0};
constexpr DesignCanvas C17_CDU_SMALL_CANVAS{282.0, 245.0};
constexpr double C17_CDU_REVERSE_W = 144.0;
constexpr double C17_CDU_REVERSE_H = 20.0;

// Begins a page on `canvas` with the shared brushes, pen and fonts (CduPage).
void c17_cdu_page_begin(CduPage& p, GaugeSurface* rec, GfxGraphics* g, DesignCanvas canvas);

// Reverse video: the green 144 x 20 box at (bx, by), then black large text at (tx, ty).
void c17_cdu_reverse(const CduPage& p, double bx, double by, double tx, double ty, const std::string& text);
// Large text, in reverse video when `reverse` (box at (box_x, y)).
void c17_cdu_line(const CduPage& p, double x, double y, const std::string& text, bool reverse, double box_x);

// Large text at (x, y) on the mission canvas, moved left as far as needed to end inside it;
// a text wider than the canvas is drawn from its left edge in a smaller size.
void c17_cdu_large_fit(const CduPage& p, double x, double y, const std::string& text);

// The message line when not empty, else the scratchpad, at (0, 267) on the mission
// canvas and (0, 227) on the small one.
void c17_cdu_bottom_line(const CduPage& p, DesignCanvas canvas);

// Present-position texts with degree sign and apostrophe ("N34°05'09", "W097°30'00";
// the sign is the code-page byte 0xB0), rebuilt from format_dms_position's fields.
void c17_cdu_position_texts(double lat, double lon, std::string& lat_text, std::string& lon_text);

// Stored flight plans before the "NEW FPL" entry (entries 1..count), within the table.
int32_t c17_cdu_plan_count();

// Page scrolling with wrap: a previous-page flag steps down (1 wraps to `count`), then a
// next-page flag steps up (past `count` wraps to 1); a count below 1 counts as 1 and a
// page outside 1..count is brought into it first.
int32_t c17_cdu_step_page(int32_t page, int32_t count, bool prev, bool next);
