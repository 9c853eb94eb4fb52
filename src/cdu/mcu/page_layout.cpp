// What the MCU pages share: graphics objects of one draw, text, boxes and the
// altitude arrow rule.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "draw/draw_toolkit.h"

void mcu_page_begin(McuPage& p, GaugeSurface* rec, GfxGraphics* g) {
  p.rec = rec;
  p.g = g;
  set_canvas_scale(g, rec->width, rec->height, DesignCanvas{MCU_CANVAS_W, MCU_CANVAS_H});
  p.green = gfx_brush_create(g, COLOUR_LIGHT_GREEN);
  p.amber = gfx_brush_create(g, COLOUR_AMBER);
  p.magenta = gfx_brush_create(g, COLOUR_MAGENTA);
  p.black = gfx_brush_create(g, COLOUR_BLACK);
  p.green_pen = gfx_pen_create(g, COLOUR_LIGHT_GREEN, 2.0);
  p.magenta_pen = gfx_pen_create(g, COLOUR_MAGENTA, 2.0);
  p.family = gfx_family_create(g, FONT_COURIER_NEW);
  p.font = gfx_font_create(g, p.family, MCU_FONT_PX, GFX_FONT_BOLD);
}

void mcu_page_end(McuPage& p) {
  gfx_font_delete(p.font);
  gfx_family_delete(p.family);
  gfx_pen_delete(p.magenta_pen);
  gfx_pen_delete(p.green_pen);
  gfx_brush_delete(p.black);
  gfx_brush_delete(p.magenta);
  gfx_brush_delete(p.amber);
  gfx_brush_delete(p.green);
  p = McuPage{};
}

void mcu_text(const McuPage& p, const GfxBrush* brush, double x, double y, const std::string& text) {
  draw_text(p.g, p.font, brush, x, y, DRAW_TEXT_MAX, text.c_str());
}

void mcu_underline(const McuPage& p, double x, double y, const std::string& text, size_t index) {
  if (index >= text.size()) return;
  // A measured box holds a sixth of the font size of space before and after the glyphs.
  const double pad = MCU_FONT_PX / 6.0;
  auto advance = [&](const std::string& s) {
    return s.empty() ? 0.0 : std::max(0.0, text_width(p.g, p.font, DRAW_TEXT_MAX, s.c_str()) - 2.0 * pad);
  };
  double left = x + pad + advance(text.substr(0, index));
  draw_line_d(p.g, p.magenta_pen, left, y, left + advance(text.substr(index, 1)), y);
}

void mcu_box(const McuPage& p, double w, double y, double h) {
  const DrawPoint box[] = {{0, y}, {w, y}, {w, y + h}, {0, y + h}, {0, y}};
  draw_lines_d(p.g, p.green_pen, box, 5);
}

int32_t mcu_row_box_y(int32_t row) { return 1 + 12 * row; }

double mcu_step_altitude(double value) {
  switch (mcu_arrow) {
    case MCU_ARROW_LEFT: mcu_digit_sel = 1; break;
    case MCU_ARROW_RIGHT: mcu_digit_sel = 2; break;
    case MCU_ARROW_UP:
      if (mcu_digit_sel == 1 && value <= 98000.0) value += 1000.0;
      else if (mcu_digit_sel == 2 && value <= 97500.0) value += 500.0;
      break;
    case MCU_ARROW_DOWN:
      if (mcu_digit_sel == 1 && value >= 1000.0) value -= 1000.0;
      else if (mcu_digit_sel == 2 && value >= 500.0) value -= 500.0;
      break;
    default: break;
  }
  return value;
}

int32_t mcu_scroll_list(int32_t& row, int32_t& top, int32_t n, int32_t rows, const ListKeys& keys) {
  const int32_t old_top = top;
  if (keys.prev) {
    if (row > 1) --row;
    else if (top > 1) --top;
  }
  if (keys.next && row - 1 + top < n) {
    if (row < rows) ++row;
    else ++top;
  }
  if (keys.page_up) {
    top -= rows;
    if (top < 1) {
      // Wraps to the last window; the cursor stays on a listed row.
      top = std::max(n - rows + 1, 1);
      row = std::clamp(row, 1, std::max(std::min(rows, n - top + 1), 1));
    }
  }
  if (keys.page_down) {
    if (top + rows - 1 < n) {
      top += rows;
      if (row - 1 + top > n) row = 1;
    } else {
      top = 1;
      row = 1;
    }
  }
  return old_top - top;
}

std::string mcu_runway_row_text(const RwyRecord& w) {
  const int course = std::isfinite(w.heading2) ? static_cast<int>(std::clamp(w.heading2, 0.0, 999.0)) : 0;
  char row[64];
  std::snprintf(row, sizeof row, "%-3.3s %3.3s %-6.6s %03d %6d", w.ident, w.app, w.freq, course, w.length_ft);
  return row;
}
