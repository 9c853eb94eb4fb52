// C-17 MFD format 10, the engine dials page: the thrust page's header, and per engine a
// pressure ratio, dials of both engine speeds and the EGT, and the fuel flow.
#include <algorithm>
#include <cmath>

#include "c17/c17_engine_pages.h"
#include "c17/c17_mfd.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

// Pressure-ratio factor of each engine's pressure value (engine 2 takes engine 1's).
constexpr double RATIO_FACTOR[5] = {0, 0.32, 0.32, 0.315, 0.317};

uint32_t speed_colour(double v) { return v < 15 ? C17_YELLOW : v > 100.5 ? C17_RED : C17_GREEN; }
uint32_t egt_colour(double v) { return v > 655 ? C17_RED : v > 625 ? C17_YELLOW : C17_GREEN; }

}  // namespace

void c17_dial_draw(GfxGraphics* g, const GaugeSurface* surface, const C17EngineKit& k, double bx, double by,
                   std::initializer_list<C17DialMark> marks, double value, double full, uint32_t needle_argb) {
  c17_frame(g, surface);
  draw_arc_d(g, k.white2, bx, by, 50, 50, 135, 180);
  for (const C17DialMark& m : marks) {
    c17_frame(g, surface, bx + 25, by + 25, m.rotation);
    draw_line_d(g, k.pen2(m.argb), -25, 0, -30, 0);
  }
  double a = full != 0 ? std::trunc(value / full * 180.0) : 0.0;
  if (!std::isfinite(a)) a = 0;
  c17_frame(g, surface, bx + 25, by + 25, -45 + std::clamp(a, 0.0, 180.0));
  draw_line_d(g, k.pen2(needle_argb), 0, 0, -25, 0);
  c17_frame(g, surface);
}

void c17_mfd_engine_dials_page_draw(const GaugeSurface* surface, GfxGraphics* g) {
  const C17EngineKit k(g);
  const GfxFont *a10 = k.a10, *a8 = k.a8;
  const GfxBrush *white = k.white, *green = k.green;
  const double cx = c17_mfd_rose_cx;
  c17_frame(g, surface);
  c17_engine_header_draw(g, k, 5);

  draw_text(g, a10, white, cx - 9, 50, C17_TEXT_CAPACITY, "EPR");
  const struct {
    double dx, y;
    const char* text;
  } labels[] = {{-5, 80, "N1"},   {-3, 90, "%"},       {-9, 100, "RPM"}, {-5, 135, "N2"},
                {-3, 145, "%"},   {-9, 155, "RPM"},    {-9, 180, "EGT"}, {-4, 190, "\xB0" "C"},
                {-5, 223, "FF"},  {-9, 230, "PPH"}};
  for (const auto& l : labels) draw_text(g, a8, white, cx + l.dx, l.y, C17_TEXT_CAPACITY, l.text);

  const double v342 = get_token_342();
  for (int32_t e = 1; e <= 4; ++e) {
    const C17EngineColumn& c = C17_ENGINE_COLUMNS[e];
    const double n_first = get_eng_n2(e), n_second = get_eng_n1(e), egt = get_eng_egt_celsius(e);
    // No ratio without a scale to divide by.
    const double ratio = 1.0 + get_eng_pressure_value(e) * RATIO_FACTOR[e] / v342;
    if (v342 > 0) c17_draw_value(g, a10, green, c.tx, 55, "%1.2f", ratio);
    c17_draw_value(g, a10, k.brush(speed_colour(n_first)), c.tx, 105, "%2.1f", n_first);
    c17_draw_value(g, a10, k.brush(speed_colour(n_second)), c.tx, 160, "%2.1f", n_second);
    c17_draw_value(g, a10, k.brush(egt_colour(egt)), c.tx, 215, "%3.0f", egt);
    int32_t flow = 0;
    if (trunc_coord(get_eng_fuel_flow(e), flow)) draw_textf(g, a10, green, c.tx, 226, C17_TEXT_CAPACITY, "%4d", flow / 10 * 10);
    c17_dial_draw(g, surface, k, c.bx, 70, {{-20, C17_YELLOW}, {119, C17_RED}}, n_first, 110, speed_colour(n_first));
    c17_dial_draw(g, surface, k, c.bx, 125, {{44, C17_YELLOW}, {119, C17_RED}}, n_second, 110, speed_colour(n_second));
    c17_dial_draw(g, surface, k, c.bx, 180, {{103, C17_YELLOW}, {110, C17_RED}}, egt, 760, egt_colour(egt));
  }
}
