// Primus 1000 MFD data fields and soft-key legends: wind, selected heading, true
// airspeed, ground speed and preselected altitude, the frame lines and the legends
// of the controller's menu. A full frame draws everything; a partial frame redraws
// only the values that may change, each after wiping its box.
#include <cmath>
#include <string>

#include "displays/nd_corporate/p1000_common.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

struct StatusObjects {
  LayerObjects o;
  GfxFont *f8, *f10, *f14, *f17, *f25;
  GfxBrush *white, *green, *magenta, *cyan, *amber, *background;
  GfxPen* pen;
  StatusObjects(GfxGraphics* g, uint32_t bg) : o(g) {
    f8 = o.font(FONT_ZUDUZ, 8, GFX_FONT_BOLD);
    f10 = o.font(FONT_ZUDUZ, 10, GFX_FONT_BOLD);
    f14 = o.font(FONT_ZUDUZ, 14, GFX_FONT_BOLD);
    f17 = o.font(FONT_ZUDUZ, 17, GFX_FONT_BOLD);
    f25 = o.font(FONT_ZUDUZ, 25, GFX_FONT_BOLD);
    white = o.brush(P1000_WHITE);
    green = o.brush(P1000_GREEN);
    magenta = o.brush(P1000_MAGENTA);
    cyan = o.brush(P1000_CYAN);
    amber = o.brush(P1000_AMBER);
    background = o.brush(bg);
    pen = o.pen(P1000_WHITE, 2);
  }
};

void text(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y, const CorpText& t) {
  if (!t.s.empty()) draw_text(g, font, brush, x, y, ND_TEXT_CAPACITY, t.s.c_str());
}

void text(GfxGraphics* g, const GfxFont* font, const GfxBrush* brush, double x, double y, const char* t) {
  draw_text(g, font, brush, x, y, ND_TEXT_CAPACITY, t);
}

void wind(const P1000Frame& f, GfxGraphics* g, StatusObjects& s) {
  if (!(wind_speed >= 1.0)) return;
  fill_rect_d(g, s.background, 5, 10, 50, 15);
  text(g, s.f14, s.green, 20, 10, corp_format(false, "%4.0f", wind_speed));
  double w = wind_direction + 180;
  if (w > 360) w -= 360;
  gfx_translate(g, 15, 18, GFX_PREPEND);
  if (std::isfinite(w - heading)) gfx_rotate(g, w - heading, GFX_PREPEND);
  const DrawPoint head[] = {{0, -6}, {5, -1}, {-5, -1}, {0, -6}};
  nd_fill(g, s.white, head);
  draw_line_d(g, s.pen, 0, -1, 0, 6);
  p1000_canvas(g, f);
}

std::string vnav_value(double value, int32_t selected, bool bracket_from_one) {
  const bool bracket = bracket_from_one ? selected >= 1 : selected == 1;
  std::string n = value == 0.0 ? "---" : corp_format(false, "%2.0f", value).s;
  return bracket ? "[" + n + "]" : n;
}

void legends(GfxGraphics* g, StatusObjects& s) {
  struct Legend {
    const char* t;
    double x, y;
  };
  if (p1000_cntr_open == 0) {
    for (const Legend& l : {Legend{"APT", 48, 275}, Legend{"NAV", 80, 275}, Legend{"---", 121, 275},
                            Legend{"TCAS", 153, 275}, Legend{"ATC", 190, 275}, Legend{"BDRY", 187, 290}})
      text(g, s.f10, s.white, l.x, l.y, l.t);
    return;
  }
  if (p1000_cntr_menu == 1) {
    for (const Legend& l : {Legend{"VNAV", 76, 275}, Legend{"T/O", 121, 275}, Legend{"SPEEDS", 114, 290},
                            Legend{"LNDG", 157, 275}, Legend{"SPEEDS", 152, 290}})
      text(g, s.f8, s.white, l.x, l.y, l.t);
    return;
  }
  if (p1000_cntr_menu != 2) return;
  for (const Legend& l : {Legend{"SET", 10, 275}, Legend{"RTN", 45, 275},
                          Legend{p1000_vnav_dist_sel == 2 ? "FM" : "TO", 87, 275}, Legend{"ST EL", 115, 275},
                          Legend{"VANG", 153, 275}, Legend{"VS", 195, 275}})
    text(g, s.f8, s.white, l.x, l.y, l.t);
  text(g, s.f8, s.white, 87, 290, vnav_value(p1000_vnav_distance, p1000_vnav_dist_sel, true).c_str());
  text(g, s.f8, s.white, 120, 290, vnav_value(p1000_vnav_elevation, p1000_vnav_elev_sel, false).c_str());
  const char* open = p1000_vnav_vang_sel == 1 ? "[" : "";
  const char* close = p1000_vnav_vang_sel == 1 ? "]" : "";
  const CorpText angle = p1000_vnav_elevation > 0 && p1000_vnav_distance > 0
                             ? corp_format(false, "%s---%s", open, close)
                             : corp_format(false, "%s%2.1f%s", open, FPA, close);
  text(g, s.f8, s.white, 157, 290, angle);
  text(g, s.f8, s.white, 190, 290,
       p1000_vnav_vs == 0.0 ? CorpText{"---"} : corp_format(false, "%4.0f", p1000_vnav_vs));
}

}  // namespace

void p1000_mfd_status_draw(const P1000Frame& f, GfxGraphics* g) {
  if (!p1000_canvas(g, f)) return;
  StatusObjects s(g, f.background);
  const bool full = f.full;
  wind(f, g, s);

  if (full) {
    draw_line_d(g, s.pen, 0, 225, 40, 225);
    draw_line_d(g, s.pen, 40, 225, 40, 272);
    text(g, s.f14, s.white, 0, 192, "HDG");
    int32_t hdg = 0;  // whole degrees; nothing for no number
    if (trunc_coord(ap_heading, hdg)) text(g, s.f17, s.cyan, 0, 205, corp_format(false, "%03d", hdg == 0 ? 360 : hdg));
    draw_line_d(g, s.pen, 222, 200, 222, 272);
    draw_line_d(g, s.pen, 222, 200, 268, 200);
    text(g, s.f14, s.white, 223, 201, "TAS");
  }

  if (true_airspeed > 0 || !full) {
    if (full || true_airspeed != true_airspeed_prev) {
      if (!full) fill_rect_d(g, s.background, 224, 214, 35, 12);
      text(g, s.f14, s.green, 223, 213, corp_format(false, "%-3.0f", true_airspeed));
    }
  } else {
    text(g, s.f25, s.amber, 223, 204, "---");
  }
  if (full) text(g, s.f14, s.white, 223, 225, "GSPD");

  if (ground_speed > 5 || !full) {
    if ((full || ground_speed_copy != ground_speed) && ground_speed > 5) {
      if (!full) fill_rect_d(g, s.background, 224, 238, 35, 12);
      text(g, s.f14, s.magenta, 223, 237, corp_format(false, "%-3.0f", ground_speed));
    }
  } else {
    text(g, s.f25, s.amber, 223, 226, "---");
  }

  if (full) {
    draw_line_d(g, s.pen, 222, 255, 268, 255);
    draw_line_d(g, s.pen, 0, 272, 267, 272);
    legends(g, s);
    text(g, s.f10, s.white, 228, 275, "ALT");
    text(g, s.f14, s.cyan, 245, 289, "oo");
  }

  fill_rect_d(g, s.background, 220, 290, 27, 15);
  int32_t feet = 0;
  if (trunc_coord(ap_altitude, feet)) text(g, s.f14, s.cyan, 220, 290, corp_format(false, "%03d", feet / 100));
  p1000_canvas(g, f);
}
