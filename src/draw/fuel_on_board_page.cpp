#include "draw/fuel_on_board_page.h"

#include "draw/draw_toolkit.h"
#include "guidance/speed_conversions.h"
#include "module/sim_vars.h"

namespace {
constexpr uint32_t kFuelPagePurple = 0xFF800080;
constexpr DesignCanvas kOutlineCanvas{282, 245};
}  // namespace

void fuel_on_board_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height) {
  if (!dc) return;
  if (rec) {
    rec->width = width;
    rec->height = height;
  }
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK || !g) return;
  gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
  gfx_clear(g, COLOUR_TRANSPARENT);
  // The page's own brush and pen are made and released unused.
  GfxBrush* purple = gfx_brush_create(g, kFuelPagePurple);
  GfxPen* purple_pen = gfx_pen_create(g, kFuelPagePurple, 1);
  fuel_on_board_page_draw(g, width, height);
  gfx_pen_delete(purple_pen);
  gfx_brush_delete(purple);
  gfx_delete(g);
}

void fuel_on_board_page_draw(GfxGraphics* g, int32_t width, int32_t height) {
  if (set_canvas_scale(g, width, height, CANVAS_FUEL_PAGE)) {
    GfxFontFamily* family = gfx_family_create(g, FONT_TERMINUS);
    GfxFont* font = family ? gfx_font_create(g, family, 33, GFX_FONT_BOLD) : nullptr;
    GfxBrush* green = gfx_brush_create(g, COLOUR_GREEN);
    if (font && green) {
      draw_text(g, font, green, 0, 0, 32, "FUEL ON BOARD");
      // No gallons without a fuel weight to divide by.
      double per_gallon = get_fuel_weight_per_gallon();
      double gallons = per_gallon > 0.0 ? read_fuel_on_board() / per_gallon : 0.0;
      draw_textf(g, font, green, 0, 75, 32, "      %4.0f GAL", gallons);
    }
    gfx_brush_delete(green);
    gfx_font_delete(font);
    gfx_family_delete(family);
  }
  gfx_reset_transform(g);
}

void outline_frame_draw(GfxGraphics* g, int32_t width, int32_t height) {
  GfxFontFamily* arial = gfx_family_create(g, FONT_ARIAL);
  GfxFontFamily* courier = gfx_family_create(g, FONT_COURIER_NEW);
  GfxFont* arial18 = arial ? gfx_font_create(g, arial, 18, GFX_FONT_REGULAR) : nullptr;
  GfxFont* arial12 = arial ? gfx_font_create(g, arial, 12, GFX_FONT_REGULAR) : nullptr;
  GfxFont* courier25 = courier ? gfx_font_create(g, courier, 25, GFX_FONT_BOLD) : nullptr;
  GfxBrush* green = gfx_brush_create(g, COLOUR_GREEN);
  GfxPen* pen = gfx_pen_create(g, COLOUR_GREEN, 1);
  if (set_canvas_scale(g, width, height, kOutlineCanvas) && pen) {
    gfx_draw_line(g, pen, 0, 0, 280, 0);
    gfx_draw_line(g, pen, 280, 0, 280, 240);
    gfx_draw_line(g, pen, 280, 240, 0, 240);
    gfx_draw_line(g, pen, 0, 240, 0, 0);
  }
  gfx_pen_delete(pen);
  gfx_brush_delete(green);
  gfx_font_delete(courier25);
  gfx_font_delete(arial12);
  gfx_font_delete(arial18);
  gfx_family_delete(courier);
  gfx_family_delete(arial);
}
