// C-17 MFD navigation formats 3 (expanded arc), 4 (arc under the heading box) and 5
// (centre near the top): range rings, compass, heading readout, range labels, the
// lateral and vertical deviation scales with their pointers, ground speed and the
// selected-heading marker. The route overlay is drawn over them by the dispatcher.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "c17/c17_mfd.h"
#include "c17/c17_page.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

struct RangeLabel {
  double factor, x, y;
};

struct RingArc {
  double radius, start, sweep;
};

// What one format draws. A compass radius of 0 draws no compass and no selected-heading
// marker; a heading-readout y of 0 draws no readout.
struct NavFormat {
  bool full_circle;
  RingArc rings[4];
  int32_t ring_count;
  double compass_radius, compass_window, label_radius;
  double readout_y;
  RangeLabel ranges[3];
  int32_t range_count;
  double lateral_y, vertical_y, ground_speed_y;
};

const NavFormat FORMAT_3 = {true,  {{43, 180, 180}, {86, 180, 180}, {129, 220, 100}}, 3, 172, 55, 162, -195,
                            {{0.25, -50, 0}, {0.5, -92, 0}, {0.75, -105, -83}}, 3, 33, -45, 30};
const NavFormat FORMAT_4 = {false, {}, 0, 124, 60, 112, 0, {{0.5, -66, -22}, {1, -120, -42}}, 2, 101, 15, 95};
const NavFormat FORMAT_5 = {false, {{172, 51, 81}, {43, 0, 180}, {86, 0, 180}, {129, 40, 110}}, 4, 0, 0, 0, -30,
                            {{0.25, -50, -10}, {0.5, -92, -10}, {0.75, -117, 55}}, 3, 195, 80, 190};

struct NavKit : C17Objects {
  GfxGraphics* g;
  const GaugeSurface* surface;
  GfxPen *white2_dashed, *magenta2_dashed;
  GfxFont *a8, *a12;
  NavKit(GfxGraphics* graphics, const GaugeSurface* s) : C17Objects(graphics), g(graphics), surface(s) {
    white2_dashed = o.pen(C17_WHITE, 2, GFX_DASH_DASH);
    magenta2_dashed = o.pen(C17_MAGENTA, 2, GFX_DASH_DASH);
    a8 = C17Objects::a8;
    a12 = o.font(FONT_ARIAL, 12, GFX_FONT_BOLD);
  }
  void at(double rot = 0) const { c17_frame(g, surface, c17_mfd_rose_cx, c17_mfd_rose_cy, rot); }
};

// Whether compass value `d` lies within `w` degrees of the heading either way, by
// way of the wrap windows; the window ends are open.
bool in_compass_window(double a, double w) {
  return (a > 360 - w && a < 360) || (a < -(360 - w) && a > -360) || (a <= 0 && a > -w) || (a >= 0 && a < w);
}

void draw_compass(const NavKit& k, const NavFormat& f) {
  GfxGraphics* g = k.g;
  const double r = f.compass_radius;
  for (int32_t d = 0; d < 360; d += 5) {
    const double a = d - heading;
    if (!in_compass_window(a, f.compass_window)) continue;
    k.at(a);
    draw_line_d(g, k.white2, 0, d % 10 == 0 ? -r + 8 : -r + 4, 0, -r);
    if (d % 30 != 0) continue;
    // Upright at the label radius, moved in as far as needed to stay on the screen.
    k.at();
    const char* cardinal = d == 0 ? "N" : d == 90 ? "E" : d == 180 ? "S" : d == 270 ? "W" : nullptr;
    char number[12];
    std::snprintf(number, sizeof number, "%02d", d / 10);
    const char* label = cardinal ? cardinal : number;
    double x = 0, y = 0;
    polar_to_screen(heading, d, 0, 0, f.label_radius, x, y);
    const double left = -double(c17_mfd_rose_cx);
    const double right = CANVAS_C17_MFD.width + left - text_width(g, k.a12, C17_TEXT_CAPACITY, label);
    draw_text(g, k.a12, k.white, std::max(left, std::min(x - 7, right)), y, C17_TEXT_CAPACITY, label);
  }
  k.at();
}

void draw_lateral_scale(const NavKit& k, double ly, bool pointer) {
  GfxGraphics* g = k.g;
  const DrawPoint mark[] = {{-2, ly - 4}, {-2, ly + 4}, {2, ly + 4}, {2, ly - 4}, {-2, ly - 4}};
  c17_polyline(g, k.white1, mark);
  for (double x : {-27.0, -52.0, 23.0, 48.0}) draw_ellipse_d(g, k.white1, x, ly - 2, 4, 4);
  int32_t d = 0;
  if (!pointer || !trunc_coord(nav_token40 / 2.54, d)) return;
  const DrawPoint diamond[] = {{double(d), ly - 5}, {d - 5.0, ly}, {double(d), ly + 5}, {d + 5.0, ly}, {double(d), ly - 5}};
  c17_polyline(g, k.magenta2, diamond);
}

void draw_vertical_scale(const NavKit& k, double vy) {
  GfxGraphics* g = k.g;
  const DrawPoint mark[] = {{111, vy - 2}, {111, vy + 2}, {119, vy + 2}, {119, vy - 2}, {111, vy - 2}};
  c17_polyline(g, k.white1, mark);
  for (double dy : {-20.0, -40.0, 20.0, 40.0}) draw_ellipse_d(g, k.white1, 113, vy + dy, 4, 4);
  int32_t d = 0;
  if (!has_nav1_glideslope() || !trunc_coord(nav_token41 / 3.175, d)) return;
  const double y = vy + d;
  const DrawPoint diamond[] = {{115, y - 5}, {110, y}, {115, y + 5}, {120, y}, {115, y - 5}};
  c17_polyline(g, k.magenta2, diamond);
}

// A ring's distance as it is.
void draw_range_label(GfxGraphics* g, const NavKit& k, double x, double y, double nm) {
  char text[C17_TEXT_CAPACITY];
  if (c17_range_text(text, sizeof text, nm)) draw_text(g, k.a8, k.white, x, y, C17_TEXT_CAPACITY, text);
}

void draw_selected_heading(const NavKit& k, double r) {
  GfxGraphics* g = k.g;
  k.at(ap_heading - heading);
  draw_rect_d(g, k.magenta2, -5, -r - 5, 10, 5);
  draw_line_d(g, k.magenta2_dashed, 0, -r, 0, -r - 5);
  draw_line_d(g, k.magenta2_dashed, 0, 0, 0, -r);
  k.at();
}

}  // namespace

void c17_mfd_nav_format_draw(const GaugeSurface* surface, GfxGraphics* g) {
  const int32_t format = c17_mfd_mode;
  const NavFormat& f = format == 3 ? FORMAT_3 : format == 4 ? FORMAT_4 : FORMAT_5;
  const NavKit k(g, surface);
  k.at();
  if (f.full_circle) draw_ellipse_d(g, k.white2, -172, -172, 344, 344);
  for (int32_t i = 0; i < f.ring_count; ++i) {
    const RingArc& a = f.rings[i];
    draw_arc_d(g, k.white2_dashed, -a.radius, -a.radius, 2 * a.radius, 2 * a.radius, a.start, a.sweep);
  }
  if (f.compass_radius > 0) draw_compass(k, f);
  if (f.readout_y != 0) {
    const double y = f.readout_y;
    c17_draw_value(g, k.a14, k.green, -14, y, "%03.0f", heading);
    const DrawPoint box[] = {{-12, y}, {-12, y + 15}, {12, y + 15}, {12, y}, {-12, y}};
    c17_polyline(g, k.white1, box);
    draw_text(g, k.a11, k.white, 15, y + 3, C17_TEXT_CAPACITY, "M");
  }
  for (int32_t i = 0; i < f.range_count; ++i) {
    const RangeLabel& r = f.ranges[i];
    draw_range_label(g, k, r.x, r.y, c17_mfd_range * r.factor);
  }
  const bool signal = get_nav1_signal() > 0;
  if (format != 3 || (c17_arc_loc_scale_on == 1 && signal)) draw_lateral_scale(k, f.lateral_y, signal);
  draw_vertical_scale(k, f.vertical_y);
  c17_draw_value(g, k.a9, k.green, -122, f.ground_speed_y, "GS %.0f", ground_speed);
  if (f.compass_radius > 0) draw_selected_heading(k, f.compass_radius);
}
