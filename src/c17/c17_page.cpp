// Helpers of the C-17 pages.
#include "c17/c17_page.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "module/host_services.h"
#include "platform/host/sim_token_ids.h"

C17Objects::C17Objects(GfxGraphics* g) : o(g) {
  white1 = o.pen(C17_WHITE, 1);
  white2 = o.pen(C17_WHITE, 2);
  green1 = o.pen(C17_GREEN, 1);
  green2 = o.pen(C17_GREEN, 2);
  second_green2 = o.pen(C17_GREEN_2, 2);
  cyan2 = o.pen(C17_CYAN, 2);
  magenta2 = o.pen(C17_MAGENTA, 2);
  magenta3 = o.pen(C17_MAGENTA, 3);
  white = o.brush(C17_WHITE);
  green = o.brush(C17_GREEN);
  cyan = o.brush(C17_CYAN);
  black = o.brush(C17_BLACK);
  magenta = o.brush(C17_MAGENTA);
  amber = o.brush(C17_AMBER);
  red = o.brush(C17_RED);
  yellow = o.brush(C17_YELLOW);
  for (auto [font, size] : {std::pair{&a7, 7}, {&a8, 8}, {&a9, 9}, {&a11, 11}, {&a14, 14}, {&a17, 17}})
    *font = o.font(FONT_ARIAL, size, GFX_FONT_BOLD);
}

bool c17_frame(GfxGraphics* g, const GaugeSurface* surface, double tx, double ty, double rot) {
  if (!surface || !set_canvas_scale(g, surface->width, surface->height, CANVAS_C17_MFD)) {
    gfx_reset_transform(g);
    return false;
  }
  if (tx != 0 || ty != 0) gfx_translate(g, tx, ty, GFX_PREPEND);
  if (rot != 0 && std::isfinite(rot)) gfx_rotate(g, rot, GFX_PREPEND);
  return true;
}

uint32_t c17_colour(int32_t red, int32_t green, int32_t blue) {
  return 0xFF000000u | (uint32_t(red) & 0xFFu) << 16 | (uint32_t(green) & 0xFFu) << 8 | (uint32_t(blue) & 0xFFu);
}

double c17_wrap180(double deg) {
  if (!std::isfinite(deg)) return 0.0;
  double a = std::fmod(deg, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a < -180.0) a += 360.0;
  return a;
}

bool c17_value_text(char* out, int32_t size, const char* format, double value) {
  if (!out || size <= 0) return false;
  out[0] = '\0';
  if (!std::isfinite(value)) return false;
  std::snprintf(out, size_t(size), format, value);
  if (std::strchr(out, '-') && !std::strpbrk(out, "123456789")) std::snprintf(out, size_t(size), format, 0.0);
  return true;
}

bool c17_range_text(char* out, int32_t size, double nm) {
  if (!c17_value_text(out, size, "%2.0f", nm)) return false;
  for (const char* format : {"%.1f", "%.2f", "%.3f"}) {
    if (std::nearbyint(nm) == nm) break;
    c17_value_text(out, size, format, nm);
    if (std::atof(out) == nm) break;
  }
  return true;
}

void c17_draw_value(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y, const char* format,
                    double value) {
  char text[C17_TEXT_CAPACITY];
  if (c17_value_text(text, sizeof text, format, value)) draw_text(g, font, brush, x, y, C17_TEXT_CAPACITY, text);
}

const char* c17_nav1_ident_text() {
  const char* text = host_token_text(TOK_NAV1_IDENT);
  return text ? text : "";
}
