// MD-11 ND data layer: speeds, active waypoint, heading, range labels, bearing
// data lines, option and mode labels, clock, elapsed time and wind.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

struct DataObjects {
  LayerObjects o;
  GfxFont* a7;
  GfxFont* a8;
  GfxFont* a9;
  GfxFont* a10;
  GfxFont* z15;
  GfxBrush* white;
  GfxBrush* magenta;
  GfxBrush* blue;
  GfxBrush* green;
  GfxBrush* background;
  GfxPen* white1;
  GfxPen* white2;
  GfxPen* blue1;
  GfxPen* green1;
  explicit DataObjects(GfxGraphics* g)
      : o(g),
        a7(o.font(FONT_ARIAL, 7, GFX_FONT_BOLD)),
        a8(o.font(FONT_ARIAL, 8, GFX_FONT_BOLD)),
        a9(o.font(FONT_ARIAL, 9, GFX_FONT_BOLD)),
        a10(o.font(FONT_ARIAL, 10, GFX_FONT_BOLD)),
        z15(o.font(FONT_ZUDUZ, 15, GFX_FONT_BOLD)),
        white(o.brush(COLOUR_WHITE)),
        magenta(o.brush(COLOUR_MAGENTA)),
        blue(o.brush(COLOUR_BLUE)),
        green(o.brush(COLOUR_GREEN)),
        background(o.brush(nd_background_colour(HWMD11NDBkgrdColorRed, HWMD11NDBkgrdColorGreen,
                                                HWMD11NDBkgrdColorBlue))),
        white1(o.pen(COLOUR_WHITE, 1)),
        white2(o.pen(COLOUR_WHITE, 2)),
        blue1(o.pen(COLOUR_BLUE, 1)),
        green1(o.pen(COLOUR_GREEN, 1)) {}
};

// Half range with one decimal where it has one.
void half_range_text(char* out, size_t size) {
  double h = md11_nd_range * 0.5;
  std::snprintf(out, size, (h == 0.5 || h == 2.5) ? "%2.1f" : "%2.0f", h);
}

double len(const char* s) { return double(std::strlen(s)); }

void plan_range_labels(GfxGraphics* g, const DataObjects& k) {
  char range[32], half[32];
  std::snprintf(range, sizeof range, "%.0f", md11_nd_range);
  draw_text(g, k.a9, k.white, 2 * (12 - len(range)), 125, ND_TEXT_CAPACITY, range);
  half_range_text(half, sizeof half);
  draw_text(g, k.a9, k.white, 71 - 2 * len(range), 125, ND_TEXT_CAPACITY, half);
  fill_rect_d(g, k.background, 166 - 2 * len(half), 125, 6 * len(half), 10);
  draw_text(g, k.a9, k.white, 165 - 2 * len(half), 125, ND_TEXT_CAPACITY, half);
  draw_text(g, k.a9, k.white, 2 * (106 - len(half)), 125, ND_TEXT_CAPACITY, range);
}

void pointer_lines(GfxGraphics* g, const DataObjects& k, double cx) {
  char text[96], ident[16];
  bool drawn = false;
  if (md11_nd_vor1_ptr_on == 1 && nav1_received()) {
    host_ident(get_nav1_ident(), ident, sizeof ident);
    double b = station_bearing(nav_rel_bearing, heading);
    if (dme1_distance > 0)
      std::snprintf(text, sizeof text, "%03.0f\xB0 / %2.1fNM  %s", b, dme1_distance, ident);
    else
      std::snprintf(text, sizeof text, "%03.0f\xB0 / ---  %s", b, ident);
    drawn = true;
  } else if (md11_nd_adf1_ptr_on == 1 && adf1_bearing > 0) {
    ident[0] = '\0';
    if (get_adf_signal() > 0) host_ident(get_adf_ident(), ident, sizeof ident);
    std::snprintf(text, sizeof text, "%03.0f\xB0 / %s", wrap360(nav_token39 + 360 + heading), ident);
    drawn = true;
  }
  if (drawn) {
    draw_text(g, k.a8, k.blue, 0, 248, ND_TEXT_CAPACITY, text);
    draw_line_d(g, k.blue1, 80, 252, 100, 252);
    draw_line_d(g, k.blue1, 80, 252, 84, 249);
    draw_line_d(g, k.blue1, 80, 252, 84, 255);
  }
  if (md11_nd_vor2_ptr_on == 1 && get_nav2_signal() > 0) {
    host_ident(get_nav2_ident(), ident, sizeof ident);
    double b = station_bearing(nav_token59, heading);
    if (nav_token35 > 0)
      std::snprintf(text, sizeof text, "%s %03.0f\xB0 / %2.1fNM", ident, b, nav_token35);
    else
      std::snprintf(text, sizeof text, "%03.0f\xB0 / ---  %s", b, ident);
    draw_text(g, k.a8, k.green, cx + 45, 248, ND_TEXT_CAPACITY, text);
    draw_line_d(g, k.green1, 143, 251, 163, 251);
    draw_line_d(g, k.green1, 143, 253, 163, 253);
    draw_line_d(g, k.green1, 160, 249, 164, 252);
    draw_line_d(g, k.green1, 160, 255, 164, 252);
  }
}

}  // namespace

void md11_nd_data_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  DataObjects k(g);
  nd_frame(g, ctx, CANVAS_MD11_ND);
  const int32_t mode = md11_nd_mode;
  const double cx = md11_nd_center_x;
  const bool plan = fpl_valid_index(fpl_active_index, fpl_active_last);
  const bool rose_or_map = mode >= 3 && mode <= 5;

  draw_text(g, k.a9, k.white, 10, 0, ND_TEXT_CAPACITY, "GS");
  draw_textf(g, k.a10, k.white, 30, 0, ND_TEXT_CAPACITY, "%3.0f", ground_speed);
  draw_text(g, k.a9, k.white, 5, 10, ND_TEXT_CAPACITY, "TAS");
  draw_textf(g, k.a10, k.white, 30, 10, ND_TEXT_CAPACITY, "%3.0f", true_airspeed);
  if (plan) {
    draw_text(g, k.a9, k.magenta, 159, 7, ND_TEXT_CAPACITY, fpl_active[fpl_active_index].ident);
    char text[ND_TEXT_CAPACITY];
    if (ground_speed > 30)
      std::snprintf(text, sizeof text, "%2.1fNM/%2.1f", dist_to_active_wpt, ete_active_minutes);
    else
      std::snprintf(text, sizeof text, "%2.1fNM", dist_to_active_wpt);
    // A long distance would run off the canvas: it then ends at the edge.
    double x = std::min(194.0, CANVAS_MD11_ND.width - text_width(g, k.a8, ND_TEXT_CAPACITY, text));
    draw_text(g, k.a8, k.magenta, x, 9, ND_TEXT_CAPACITY, text);
  }

  if (mode == 2) {
    draw_text(g, k.a9, k.white, 215, 200, ND_TEXT_CAPACITY, "N");
    draw_line_d(g, k.white1, 220, 210, 220, 230);
    draw_line_d(g, k.white1, 220, 210, 217, 215);
    draw_line_d(g, k.white1, 220, 210, 223, 215);
    plan_range_labels(g, k);
  }

  if (rose_or_map) {
    draw_text(g, k.a8, k.white, cx - 38, 9, ND_TEXT_CAPACITY, "HDG");
    draw_textf(g, k.z15, k.white, cx - 16, 5, ND_TEXT_CAPACITY, "%03.0f", wrap360(heading));
    draw_line_d(g, k.white1, cx - 14, 5, cx + 14, 5);
    draw_line_d(g, k.white1, cx - 14, 5, cx - 14, 20);
    draw_line_d(g, k.white1, cx + 14, 5, cx + 14, 20);
    draw_line_d(g, k.white1, cx - 14, 20, cx - 5, 20);
    draw_line_d(g, k.white1, cx + 5, 20, cx + 14, 20);
    draw_line_d(g, k.white1, cx - 5, 20, cx, 25);
    draw_line_d(g, k.white1, cx, 25, cx + 5, 20);
    draw_text(g, k.a8, k.white, cx + 15, 9, ND_TEXT_CAPACITY, "MAG");
    draw_line_d(g, k.white1, 0, 246, 87, 246);
    draw_line_d(g, k.white1, 150, 246, 240, 246);
  }
  if (mode == 3) {
    char half[32];
    half_range_text(half, sizeof half);
    bool small = md11_nd_range * 0.5 < 10;
    fill_rect_d(g, k.background, 115, 248, small ? 10 : 11, 10);
    draw_text(g, k.a9, k.white, small ? cx - 4 : cx - 6, 248, ND_TEXT_CAPACITY, half);
  }
  if (mode == 4 || mode == 5) {
    draw_textf(g, k.a10, k.white, 220, 60, ND_TEXT_CAPACITY, "%.0f", md11_nd_range);
    draw_textf(g, k.a10, k.white, md11_nd_range >= 100 ? 4 : 8, 60, ND_TEXT_CAPACITY, "%.0f", md11_nd_range);
  }
  if (rose_or_map) {
    pointer_lines(g, k, cx);
    draw_line_d(g, k.white2, 205, 190, 240, 190);
    draw_line_d(g, k.white2, 205, 190, 205, 246);
    draw_textf(g, k.a8, k.white, 205, 205, ND_TEXT_CAPACITY, "RNG %2.0f", md11_nd_range);
  }
  if (mode == 3) {
    if (md11_nd_int_on == 1) draw_text(g, k.a8, k.white, 0, 205, ND_TEXT_CAPACITY, "WPT");
    if (md11_nd_nav_on == 1) {
      draw_text(g, k.a8, k.white, 0, 215, ND_TEXT_CAPACITY, "VOR");
      draw_text(g, k.a8, k.white, 0, 225, ND_TEXT_CAPACITY, "NDB");
    }
    if (md11_nd_apt_on == 1) draw_text(g, k.a8, k.white, 0, 235, ND_TEXT_CAPACITY, "ARPT");
  }
  if (mode == 4 || mode == 5) {
    draw_text(g, k.a8, k.magenta, 0, 215, ND_TEXT_CAPACITY, mode == 4 ? "VOR1" : "LOC1");
    draw_textf(g, k.a8, k.magenta, 0, 225, ND_TEXT_CAPACITY, "%3.2f", get_nav1_frequency_mhz());
    if (dme1_distance > 0) draw_textf(g, k.a8, k.magenta, 0, 235, ND_TEXT_CAPACITY, "%3.1fNM", dme1_distance);
  }
  if (rose_or_map) draw_text(g, k.a8, k.white, 205, 215, ND_TEXT_CAPACITY, mode == 3 ? "MAP" : mode == 4 ? "VOR" : "APPR");
  draw_line_d(g, k.white2, 0, 190, 35, 190);
  draw_line_d(g, k.white2, 35, 190, 35, 246);
  if (mode == 2) draw_line_d(g, k.white2, 35, 200, 35, 258);
  if (nd_tcas_on == 1) draw_text(g, k.a8, k.white, 0, 195, ND_TEXT_CAPACITY, "TRFC");
  draw_text(g, k.a8, k.magenta, 40, 225, ND_TEXT_CAPACITY, lnav_on == 1 ? "G/I" : "R/I");
  draw_text(g, k.a8, k.magenta, 40, 235, ND_TEXT_CAPACITY, "NAV");

  // Clock and elapsed time.
  draw_textf(g, k.a7, k.white, 210, 30, ND_TEXT_CAPACITY, "%02.0f:%02.0f", std::floor(finite_or(zulu_hour, 0)),
             std::floor(finite_or(zulu_minute, 0)));
  int32_t hours = 0, minutes = 0;
  if (elapsed_seconds != -99 && plan && elapsed_seconds >= 0 && elapsed_seconds < 2.0e9) {
    int32_t s = int32_t(elapsed_seconds);
    hours = s / 3600;
    minutes = (s - 3600 * hours) / 60;
  }
  draw_textf(g, k.a7, k.blue, 210, 38, ND_TEXT_CAPACITY, "%02d:%02d", hours, minutes);
  nd_frame(g, ctx, CANVAS_MD11_ND, 220, 38);
  draw_ellipse_d(g, k.white1, -15, -15, 30, 30);
  for (int32_t a = 0; a < 360; a += 30) {
    nd_frame(g, ctx, CANVAS_MD11_ND, 220, 38, a);
    draw_line_d(g, k.white1, 0, -12, 0, -15);
  }
  nd_frame(g, ctx, CANVAS_MD11_ND);

  // Wind.
  if (wind_speed >= 1.0) {
    draw_textf(g, k.a9, k.white, 0, 40, ND_TEXT_CAPACITY, "%03.0f\xB0/%2.0f", wrap360(wind_direction), wind_speed);
    double w = std::trunc(wrap360(wind_direction)) + 180;
    if (w >= 361) w -= 360;
    nd_frame(g, ctx, CANVAS_MD11_ND, 15, 30, w - heading);
    draw_line_d(g, k.white1, 0, -10, 2, -5);
    draw_line_d(g, k.white1, 0, -10, -2, -5);
    draw_line_d(g, k.white1, 0, 0, 0, -10);
    draw_line_d(g, k.white1, 0, 0, 0, 10);
    nd_frame(g, ctx, CANVAS_MD11_ND);
  } else {
    draw_text(g, k.a9, k.white, 0, 40, ND_TEXT_CAPACITY, "---\xB0/---");
  }
}
