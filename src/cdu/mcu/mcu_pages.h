// Page renderers of the MCU and what they share: the per-draw graphics objects on
// the 239 x 78 design canvas, text and box helpers, the arrow rule for altitudes and
// the ident entry line with its arrow spelling.
#pragma once

#include <cstdint>
#include <string>

#include "draw/draw_toolkit.h"
#include "draw/gauge_surface.h"
#include "navdb/navdb.h"
#include "platform/gfx/gfx.h"

constexpr double MCU_CANVAS_W = 239.0;
constexpr double MCU_CANVAS_H = 78.0;
constexpr double MCU_FONT_PX = 14.0;
constexpr double MCU_ROW_H = 12.0;       // list rows at y = 12 r, r = 1..4
constexpr double MCU_ENTRY_Y = 61.0;     // entry line
constexpr int32_t MCU_LIST_ROWS = 4;
constexpr uint32_t MCU_ENTRY_BAR = 0xFF800080;

// Graphics objects of one draw, made by mcu_page_begin and released by mcu_page_end.
struct McuPage {
  GaugeSurface* rec = nullptr;
  GfxGraphics* g = nullptr;
  GfxBrush *green = nullptr, *amber = nullptr, *magenta = nullptr, *black = nullptr;
  GfxPen *green_pen = nullptr, *magenta_pen = nullptr;
  GfxFontFamily* family = nullptr;
  GfxFont* font = nullptr;  // Courier New 14 px bold
};

void mcu_page_begin(McuPage& p, GaugeSurface* rec, GfxGraphics* g);
void mcu_page_end(McuPage& p);

void mcu_text(const McuPage& p, const GfxBrush* brush, double x, double y, const std::string& text);
// The same with a printf pattern.
#define mcu_textf(p, brush, x, y, ...) draw_textf((p).g, (p).font, brush, x, y, DRAW_TEXT_MAX, __VA_ARGS__)
// Closed outline (0,y)-(w,y)-(w,y+h)-(0,y+h) with the green pen.
void mcu_box(const McuPage& p, double w, double y, double h);
// Underlines, at height y, character `index` of `text` as mcu_text draws it at x: under
// its glyph, measured in the page's font.
void mcu_underline(const McuPage& p, double x, double y, const std::string& text, size_t index);
// Top of the cursor box of list row 1..4 (13, 25, 37, 49).
int32_t mcu_row_box_y(int32_t row);

// List scrolling of the plan, runway and message lists of both units: n entries shown
// `rows` at a time, the cursor on `row` (1..rows), entry `top` on row 1. PREV and NEXT
// move the cursor, then the list at its ends; Page Up and Page Down move the list by
// a screen and wrap at either end, the cursor kept on a listed row. Answers how many
// rows the list moved down the screen (old top - new top).
struct ListKeys {
  bool prev, next, page_up, page_down;
};
int32_t mcu_scroll_list(int32_t& row, int32_t& top, int32_t n, int32_t rows, const ListKeys& keys);

// A runway's list row "%-3s %3s %-6s %03d %6d": ident, approach, frequency, final
// course (0..999) and length.
std::string mcu_runway_row_text(const RwyRecord& w);

// Arrow rule of the altitude pages on `value` (feet) with mcu_digit_sel and mcu_arrow:
// left and right choose the group; up adds 1000 while value <= 98000, or 500 while
// value <= 97500; down takes 1000 from 1000 or more, 500 from 500 or more. So the
// value stays within 0..99000.
double mcu_step_altitude(double value);

// Ident entry of pages 2 and 7: applies the arrow spelling to mcu_scratchpad (blank,
// 0-9, A-Z cycle at position mcu_digit_sel) and draws the entry line "> " with the
// ident, each character apart and the edited one underlined while spelling.
void mcu_ident_arrows();
void mcu_ident_entry_line(const McuPage& p);

// Renderers.
void mcu_fpln_page_draw(McuPage& p);
void mcu_aptinfo_page_draw(McuPage& p);
void mcu_nav_page_draw(McuPage& p);
void mcu_legs_page_draw(McuPage& p);
void mcu_dirto_page_draw(McuPage& p);
void mcu_alt_page_draw(McuPage& p);
