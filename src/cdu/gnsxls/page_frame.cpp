#include "cdu/gnsxls/page_frame.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "cdu/gnsxls/gnsxls.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace {

constexpr double ARROW_X[2] = {0.0, 460.0};
constexpr double ARROW_Y[5] = {30.0, 98.0, 178.0, 265.0, 340.0};
constexpr double FONT_PX = 33.0;
constexpr uint32_t COLOUR_GNS_CYAN = 0xFF02A7EB;
constexpr double MESSAGE_X = 30.0;
constexpr double TITLE_LINE_BOTTOM = 20.0;  // texts drawn above it stand in the title line

std::string vformat(const char* fmt, va_list args) {
  char buf[DRAW_TEXT_MAX];
  int n = std::vsnprintf(buf, sizeof buf, fmt, args);
  if (n < 0) return std::string();
  return std::string(buf, n < int(sizeof buf) ? std::size_t(n) : sizeof buf - 1);
}

}  // namespace

void gns_page_begin(GnsPage& p, GaugeSurface* rec, GfxGraphics* g) {
  p = GnsPage{};
  p.rec = rec;
  p.g = g;
  set_canvas_scale(g, rec ? rec->width : 0, rec ? rec->height : 0, CANVAS_GNSXLS);
  p.white = gfx_brush_create(g, COLOUR_WHITE);
  p.green = gfx_brush_create(g, COLOUR_GREEN);
  p.cyan = gfx_brush_create(g, COLOUR_GNS_CYAN);
  p.magenta = gfx_brush_create(g, COLOUR_MAGENTA);
  p.yellow = gfx_brush_create(g, COLOUR_YELLOW);
  p.black = gfx_brush_create(g, COLOUR_BLACK);
  p.family = gfx_family_create(g, FONT_COURIER_NEW);
  p.font = gfx_font_create(g, p.family, FONT_PX, GFX_FONT_BOLD);
}

void gns_page_end(GnsPage& p) {
  if (!gnsxls_message.empty()) draw_text(p.g, p.font, p.yellow, MESSAGE_X, 0.0, DRAW_TEXT_MAX, gnsxls_message.c_str());
  for (int k = 1; k <= 10; ++k) {
    if (!p.arrows[k]) continue;
    char text[2] = {p.arrows[k], '\0'};
    draw_text(p.g, p.font, p.white, ARROW_X[k > 5], ARROW_Y[(k - 1) % 5], DRAW_TEXT_MAX, text);
  }
  gfx_font_delete(p.font);
  gfx_family_delete(p.family);
  for (GfxBrush* b : {p.white, p.green, p.cyan, p.magenta, p.yellow, p.black}) gfx_brush_delete(b);
  gfx_reset_transform(p.g);
  p = GnsPage{};
}

void gns_text(const GnsPage& p, double x, double y, const GfxBrush* brush, const std::string& text) {
  // A message stands in the title line.
  if (y < TITLE_LINE_BOTTOM && !gnsxls_message.empty()) return;
  draw_text(p.g, p.font, brush, x, y, DRAW_TEXT_MAX, text.c_str());
}

void gns_textf(const GnsPage& p, double x, double y, const GfxBrush* brush, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string s = vformat(fmt, args);
  va_end(args);
  gns_text(p, x, y, brush, s);
}

void gns_field(const GnsPage& p, double x, double y, int chars, const std::string& text) {
  fill_field_box_yellow(p.rec, x, y, p.g, chars);
  gns_text(p, x, y, p.black, text);
}

void gns_prompt(const GnsPage& p, double x, double y, bool open, const std::string& text) {
  if (open) gns_field(p, x, y, int(text.size()), text);
  else gns_text(p, x, y, p.white, text);
}

std::string gns_format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string s = vformat(fmt, args);
  va_end(args);
  return s;
}

std::string gns_clock_text(double hours, double minutes, bool clock) {
  double h = std::floor(hours);
  double m = std::round(minutes);
  if (m >= 60.0) {
    h += 1.0;
    m -= 60.0;
  }
  if (clock) {
    h = std::fmod(h, 24.0);
    if (h < 0.0) h += 24.0;
  }
  return gns_format("%02.0f:%02.0f", h, m);
}

std::string gns_eta_text(double hours, double minutes) {
  const bool local = DispETALocalTime == 1;
  return gns_clock_text(hours + (local ? clock_hour : zulu_hour), minutes + (local ? clock_minute : zulu_minute), true);
}

std::string gns_duration_text(double minutes, const char* dashes) {
  if (!std::isfinite(minutes) || minutes < 0.0 || std::round(minutes) > 99.0 * 60.0 + 59.0) return dashes;
  double h = std::floor(minutes / 60.0);
  return gns_clock_text(h, minutes - 60.0 * h, false);
}

bool gns_has_active_plan() {
  return fpl_active_index != 999 && fpl_active_index >= 0 && fpl_active_index <= fpl_active_last;
}

double gns_distance_from_here(double lat, double lon) {
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(present_lat, present_lon, lat, lon, d, c);
  return d;
}

std::string gns_dms_template(const std::string& dms) {
  std::string t = "       .  ";
  if (dms.size() < 9) return t;
  t[0] = dms[0];
  if (dms[3] == ':') {
    t.replace(2, 2, dms, 1, 2);
    t.replace(5, 2, dms, 4, 2);
    t.replace(8, 2, dms, 7, 2);
  } else if (dms.size() >= 10) {
    t.replace(1, 3, dms, 1, 3);
    t.replace(5, 2, dms, 5, 2);
    t.replace(8, 2, dms, 8, 2);
  }
  return t;
}
