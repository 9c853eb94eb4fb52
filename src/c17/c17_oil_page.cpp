// C-17 MFD format 11, the engine oil and fuel-used page: per engine dials of oil
// pressure, temperature and quantity, and the fuel the engine has used.
#include "c17/c17_engine_pages.h"
#include "c17/c17_mfd.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

uint32_t pressure_colour(double psi) { return psi < 70 ? C17_RED : C17_GREEN; }
// The readout and the needle change colour at different temperatures.
uint32_t temperature_colour(double c, double red_above, double yellow_above) {
  return c < 39 ? C17_YELLOW : c > red_above ? C17_RED : c > yellow_above ? C17_YELLOW : C17_GREEN;
}
uint32_t quantity_colour(double quarts) { return quarts < 4 ? C17_YELLOW : C17_GREEN; }

}  // namespace

void c17_mfd_oil_page_draw(const GaugeSurface* surface, GfxGraphics* g) {
  const C17EngineKit k(g);
  const double cx = c17_mfd_rose_cx;
  c17_frame(g, surface);
  draw_text(g, k.a10, k.white, cx - 25, 20, C17_TEXT_CAPACITY, "ENGINE OIL");
  const struct {
    double dx, y;
    const char* text;
  } labels[] = {{-15, 50, "PRESS"}, {-9, 60, "PSI"},  {-11, 105, "TEMP"}, {-4, 115, "\xB0" "C"},
                {-9, 160, "QTY"},   {-9, 170, "QTS"}, {-11, 211, "FUEL"}, {-11, 221, "USED"}};
  for (const auto& l : labels) draw_text(g, k.a8, k.white, cx + l.dx, l.y, C17_TEXT_CAPACITY, l.text);

  for (int32_t e = 1; e <= 4; ++e) {
    const C17EngineColumn& c = C17_ENGINE_COLUMNS[e];
    const double psi = get_eng_oil_pressure_psi(e), temp = get_eng_oil_temp_celsius(e);
    const double quarts = get_eng_oil_quantity(e);
    c17_draw_value(g, k.a10, k.brush(pressure_colour(psi)), c.tx, 75, "%3.0f", psi);
    c17_draw_value(g, k.a10, k.brush(temperature_colour(temp, 177.5, 163.5)), c.tx, 130, "%2.0f", temp);
    c17_draw_value(g, k.a10, k.brush(quantity_colour(quarts)), c.tx, 185, "%3.0f", quarts);
    c17_draw_value(g, k.a10, k.cyan, c.tx - 5, 216, "%5.0f", eng_fuel_used[e]);
    c17_dial_draw(g, surface, k, c.bx, 40, {{0, C17_RED}}, psi, 250, pressure_colour(psi));
    c17_dial_draw(g, surface, k, c.bx, 95, {{0, C17_YELLOW}, {101, C17_YELLOW}, {114, C17_RED}}, temp, 200,
                  temperature_colour(temp, 177, 163));
    c17_dial_draw(g, surface, k, c.bx, 150, {{0, C17_YELLOW}}, quarts, 23, quantity_colour(quarts));
  }
}
