// C-17 MFD format 12, the configuration page: aircraft outline with rudder, stabiliser
// and aileron scales, trim, spoiler, aileron, flap and slat bars, the flap setting and
// the landing-gear boxes.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "c17/c17_mfd.h"
#include "c17/c17_page.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

struct CfgKit : C17Objects {
  GfxGraphics* g;

  explicit CfgKit(GfxGraphics* graphics) : C17Objects(graphics), g(graphics) {}
  void text(double x, double y, const char* t, const GfxBrush* brush = nullptr) const {
    draw_text(g, a9, brush ? brush : white, x, y, C17_TEXT_CAPACITY, t);
  }
  void line(const GfxPen* pen, double x1, double y1, double x2, double y2) const { draw_line_d(g, pen, x1, y1, x2, y2); }
};

// Handle positions 2, 4 and 6 sevenths of 16384 start the next setting.
const char* flap_text(double handle) {
  return handle < 4681 ? "UP" : handle < 9362 ? "1/2" : handle < 14043 ? "3/4" : "FULL";
}

// Whole units toward zero; 0 for a value no integer holds.
double whole(double v) {
  int32_t out = 0;
  trunc_coord(v, out);
  return out;
}

void draw_outline(const CfgKit& k) {
  const DrawPoint tail[] = {{4, -75}, {35, -75}, {35, -80}, {-35, -80}, {-35, -75}, {-4, -75}};
  c17_polyline(k.g, k.white1, tail);
  const DrawPoint tips[][4] = {{{90, -3}, {93, -8}, {96, -8}, {90, 3}}, {{-90, -3}, {-93, -8}, {-96, -8}, {-90, 3}}};
  for (const auto& t : tips) c17_polyline(k.g, k.white1, t);
  const double lines[][4] = {{4, -3, 4, -75},  {-4, -3, -4, -75}, {-4, -3, -90, -3},
                             {4, -3, 90, -3},  {-17, 3, -90, 3},  {17, 3, 90, 3}};
  for (const auto& l : lines) k.line(k.white1, l[0], l[1], l[2], l[3]);
  draw_arc_d(k.g, k.white1, -20, 2, 12, 24, 100, 160);
  draw_arc_d(k.g, k.white1, 8, 2, 12, 24, 280, 160);
  draw_arc_d(k.g, k.white1, -16, 21, 32, 8, 0, 180);
}

// Rudder scale and pointer, absolute positions.
void draw_rudder(const CfgKit& k, const GaugeSurface* surface) {
  c17_frame(k.g, surface);
  k.text(97, 0, "RUD TRIM");
  k.text(82, 10, "NL");
  k.text(147, 10, "NR");
  k.line(k.white1, 102, 15, 142, 15);
  k.line(k.white1, 122, 10, 122, 25);
  for (double x : {112.0, 102.0, 132.0, 142.0}) k.line(k.white1, x, 15, x, 20);
  // Pointers are held at their scale ends.
  const double x = 122 + std::clamp(whole(get_rudder_position() / 0.008725), -20.0, 20.0);
  k.line(k.green2, x, 15, x - 4, 10);
  k.line(k.green2, x, 15, x + 4, 10);
  k.text(95, 20, "10     0     10");
}

void draw_stabiliser_and_aileron_scale(const CfgKit& k) {
  k.line(k.white1, 55, -95, 55, -55);
  for (double y : {-95.0, -85.0, -75.0, -55.0}) k.line(k.white1, 50, y, 55, y);
  k.line(k.white1, 50, -65, 60, -65);
  const double v = get_elevator_position();
  const double y = std::clamp(whole(v < 0 ? -65 - v / 0.02618 : -65 - v / (0.02618 / 3)), -95.0, -55.0);
  k.line(k.green2, 55, y, 60, y - 4);
  k.line(k.green2, 55, y, 60, y + 4);
  const struct {
    double x, y;
    const char* t;
  } stab_labels[] = {{60, -100, "NU"}, {37, -100, "15"}, {68, -85, "STAB"}, {68, -75, "TRIM"},
                     {42, -70, "0"},   {42, -60, "5"},   {60, -60, "ND"}};
  for (const auto& l : stab_labels) k.text(l.x, l.y, l.t);

  const double c = c17_mfd_rose_cx;
  const struct {
    double dx, y;
    const char* t;
  } ail_labels[] = {{20, -60, "AIL"}, {23, -50, "TRIM"}, {23, -35, "RWD"}, {27, -25, "10"},
                    {23, -5, "0"},    {27, 15, "10"},    {23, 27, "LWD"}};
  for (const auto& l : ail_labels) k.text(c - l.dx, l.y, l.t);
  k.line(k.white1, c - 10, -20, c - 10, 20);
  for (double ty : {-20.0, -10.0, 10.0, 20.0}) k.line(k.white1, c - 10, ty, c - 15, ty);
  k.line(k.white1, c - 5, 0, c - 15, 0);
  const double ay = std::clamp(whole(-get_aileron_position() / 0.008725), -20.0, 20.0);
  k.line(k.green2, c - 10, ay, c - 5, ay - 4);
  k.line(k.green2, c - 10, ay, c - 5, ay + 4);
}

// Length of a trim bar: the value over its unit, a little over half a unit rounded away.
double bar_length(double v, double unit) { return whole(v < 0 ? v / unit - 0.4 : v / unit + 0.4); }

void draw_elevator_trim(const CfgKit& k) {
  const double t = get_elevator_trim();
  if (!(t < -0.005 || t > 0.005)) return;
  const double h = bar_length(t, 0.0357);
  const bool up = t > 0;
  const double top = up ? -79 - h : -78, height = std::fabs(h);
  for (double x : {-32.0, -20.0, 10.0, 22.0}) fill_rect_d(k.g, k.green, x, top, 9, height);
  const double e = up ? -90 : -66, mid = up ? -84 : -72;
  for (double s : {1.0, -1.0}) {
    k.line(k.white2, s * -10, -78, s * -10, e);
    k.line(k.white2, s * -8, mid, s * -10, mid);
    k.line(k.white2, s * -9, e, s * -14, e);
    k.line(k.white2, s * -32, -78, s * -32, e);
    k.line(k.white2, s * -32, mid, s * -34, mid);
    k.line(k.white2, s * -28, e, s * -33, e);
  }
}

// One spoiler group: four bars standing on y -3 and the brackets at its two ends.
void draw_spoiler_group(const CfgKit& k, double value, const double (&xs)[4], double inner, double outer) {
  const double h = value > 0 ? whole(value / (5461.0 / 3) + 0.4) : 0;
  for (double x : xs) fill_rect_d(k.g, k.green, x, -3 - h, 9, h);
  const double si = inner < 0 ? -1 : 1;
  k.line(k.white2, inner, -3, inner, -14);
  k.line(k.white2, inner - si, -14, inner + 4 * si, -14);
  k.line(k.white2, outer, -3, outer, -14);
  k.line(k.white2, outer + si, -14, outer - 4 * si, -14);
}

// The two labels compare the flap handle in opposite directions.
void draw_spoilers(const CfgKit& k) {
  const double armed = get_spoilers_armed(), position = get_spoilers_position();
  const double handle = get_flaps_handle();
  const bool ground = get_on_ground() != 0;
  if (armed > 800) {
    draw_spoiler_group(k, armed, {-54, -44, -34, -24}, -15, -54);
    if (position > 800) k.text(-45, -35, ground ? "GND" : handle < 9362 ? "SPD BR" : "DLC", k.cyan);
  }
  if (position > 0) {
    draw_spoiler_group(k, position, {15, 25, 35, 45}, 15, 54);
    if (armed > 800) k.text(20, -35, ground ? "GND" : handle > 9362 ? "SPD BR" : "DLC", k.cyan);
  }
}

void draw_aileron_bars(const CfgKit& k) {
  const double v = get_aileron_trim();
  if (!(v < -0.1 || v > 0.1)) return;
  const double h = std::fabs(bar_length(v, 0.02805));
  // Left side rises for a negative value, the right side for a positive one.
  for (double s : {-1.0, 1.0}) {
    const bool rising = (s < 0) == (v < 0);
    const double bar_x = s < 0 ? -85 : 60;
    fill_rect_d(k.g, k.green, bar_x, rising ? -h : 0, 25, h);
    const double e = rising ? -14 : 14, tick = rising ? -7 : 7;
    k.line(k.white2, s * 60, 0, s * 60, e);
    k.line(k.white2, s * 85, 0, s * 85, e);
    k.line(k.white2, s * 60, tick, s * 57, tick);
    k.line(k.white2, s * 88, tick, s * 84, tick);
    k.line(k.white2, s * 86, e, s * 81, e);
  }
}

void draw_flaps(const CfgKit& k) {
  const struct {
    double percent, s;
  } sides[] = {{get_flaps_left_percent(), -1}, {get_flaps_right_percent(), 1}};
  for (const auto& side : sides) {
    if (!(side.percent > 0)) continue;
    const double s = side.s;
    k.line(k.white2, s * 24, 0, s * 24, 14);
    k.line(k.white2, s * 23, 14, s * 27, 14);
    k.line(k.white2, s * 52, 0, s * 52, 14);
    k.line(k.white2, s * 53, 14, s * 49, 14);
    if (side.percent > 10) {
      const double h = whole(side.percent / 6.25);
      const double xs[] = {s < 0 ? -52.0 : 24.0, s < 0 ? -37.0 : 39.0};
      for (double x : xs) fill_rect_d(k.g, k.green, x, 0, 13, h);
    }
  }
}

void draw_rudder_trim(const CfgKit& k) {
  const double v = get_rudder_trim();
  if (!(v < -0.03 || v > 0.03)) return;
  const double w = whole(v / 0.095427);
  for (double y : {-60.0, -39.0}) fill_rect_d(k.g, k.green, w < 0 ? w : 0, y, std::fabs(w), 18);
  const double s = v < 0 ? -1 : 1;
  k.line(k.white2, 0, -20, s * 10, -20);
  k.line(k.white2, s * 10, -19, s * 10, -23);
  k.line(k.white2, 0, -60, s * 10, -60);
  k.line(k.white2, s * 10, -62, s * 10, -58);
}

// Both columns show the slat extension: 100 % fills the six-unit boxes.
void draw_slats(const CfgKit& k) {
  const double percent = get_slats_percent();
  if (!(percent > 0)) return;
  const double h = std::min(whole(percent / (50.0 / 3)), 6.0);
  for (double x : {-28.0, -41.0, -54.0, -67.0, 21.0, 34.0, 47.0, 60.0}) {
    draw_rect_d(k.g, k.green1, x, 54, 9, 6);
    fill_rect_d(k.g, k.green, x, 54, 9, h);
  }
}

// Down and locked fills green, in transit yellow, up leaves the box empty.
void draw_gear(const CfgKit& k) {
  const struct {
    double value;
    double boxes[2][2];
    int32_t n;
    double h;
  } gears[] = {{get_gear_nose_position(), {{-4, 72}}, 1, 10},
               {get_gear_left_position(), {{-12, 88}, {-12, 106}}, 2, 12},
               {get_gear_right_position(), {{4, 88}, {4, 106}}, 2, 12}};
  for (const auto& gear : gears) {
    const GfxBrush* fill = gear.value > 16300 ? k.green : gear.value > 0 ? k.yellow : nullptr;
    for (int32_t i = 0; i < gear.n; ++i) {
      if (fill) fill_rect_d(k.g, fill, gear.boxes[i][0], gear.boxes[i][1], 8, gear.h);
      draw_rect_d(k.g, k.white1, gear.boxes[i][0], gear.boxes[i][1], 8, gear.h);
    }
  }
}

}  // namespace

void c17_mfd_config_page_draw(const GaugeSurface* surface, GfxGraphics* g) {
  CfgKit k(g);
  draw_rudder(k, surface);
  c17_frame(g, surface, c17_mfd_rose_cx, c17_mfd_rose_cy);
  draw_outline(k);
  draw_stabiliser_and_aileron_scale(k);
  draw_elevator_trim(k);
  draw_spoilers(k);
  draw_aileron_bars(k);
  draw_flaps(k);
  draw_rudder_trim(k);
  draw_slats(k);
  draw_gear(k);
  char text[16];
  std::snprintf(text, sizeof text, "FLAPS %s", flap_text(get_flaps_handle()));
  k.text(-30, 32, text);
  k.text(-20, 42, "INDEX 100");
  k.text(-16, 52, "SLATS");
  k.text(-26, 62, "GEAR DOWN");
}
