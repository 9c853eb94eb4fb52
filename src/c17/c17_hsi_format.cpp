// C-17 MFD format 0, the HSI: data fields, compass rose, course arrow with deviation,
// glideslope scale, heading and track marks and the bearing pointers; and the heading
// box drawn over format 4.
#include <cmath>

#include "c17/c17_mfd.h"
#include "c17/c17_page.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

struct HsiKit : C17Objects {
  GfxGraphics* g;
  const GaugeSurface* surface;

  HsiKit(GfxGraphics* graphics, const GaugeSurface* s) : C17Objects(graphics), g(graphics), surface(s) {}
  // Design frame about the rose centre, rotated by `rot` degrees.
  void at(double rot = 0) const { c17_frame(g, surface, c17_mfd_rose_cx, c17_mfd_rose_cy, rot); }
};

// Bearing to the NAV 1 station, 0..360.
double station_bearing() {
  double b = nav_rel_bearing + heading;
  if (b >= 360) b -= 360;
  return b;
}

// TO while the station lies within 90 degrees of the course either way round; 90 is FROM.
bool shows_to(double bearing, double course) { return std::fabs(c17_wrap180(bearing - course)) < 90.0; }

void draw_data_fields(const HsiKit& k) {
  GfxGraphics* g = k.g;
  const bool nav1 = get_nav1_signal() > 0;
  if (nav1) {
    c17_draw_value(g, k.a9, k.green, -120, -118, "%3.1f", dme1_distance);
    draw_rect_d(g, k.white1, -120, -118, 25, 10);
    draw_text(g, k.a9, k.white, -120, -106, C17_TEXT_CAPACITY, "DIST");
  }
  c17_draw_value(g, k.a14, k.green, -14, -118, "%03.0f", heading);
  const DrawPoint frame[] = {{-12, -118}, {-12, -103}, {12, -103}, {12, -118}, {-12, -118}};
  c17_polyline(g, k.white1, frame);
  draw_text(g, k.a11, k.white, 15, -118, C17_TEXT_CAPACITY, "M");
  c17_draw_value(g, k.a9, k.green, 93, -118, "%03.0f", nav1_course);
  draw_rect_d(g, k.white1, 90, -118, 25, 10);
  draw_text(g, k.a9, k.white, 90, -106, C17_TEXT_CAPACITY, "CRS");
  if (nav1) {
    const char* source = has_nav1_glideslope() ? "ILS-1" : is_nav1_localizer() ? "LOC-1" : "VOR-1";
    draw_text(g, k.a9, k.green, 80, 80, C17_TEXT_CAPACITY, source);
    c17_draw_value(g, k.a9, k.green, 80, 90, "C %03.0f", nav1_course);
    c17_draw_value(g, k.a9, k.green, 80, 100, "D %.1f", dme1_distance);  // the value DIST shows
    draw_text(g, k.a9, k.green, 90, 110, C17_TEXT_CAPACITY, c17_nav1_ident_text());
    draw_text(g, k.a9, k.green, -120, 80, C17_TEXT_CAPACITY, shows_to(station_bearing(), nav1_course) ? "TO" : "FROM");
    draw_rect_d(g, k.white1, -120, 80, 35, 10);
  }
  c17_draw_value(g, k.a9, k.green, -120, 110, "GS %3.0f", ground_speed);
}

void draw_rose(const HsiKit& k) {
  GfxGraphics* g = k.g;
  for (int32_t d = 0; d < 360; d += 5) {
    k.at(d - heading);
    const bool labelled = d % 30 == 0;
    draw_line_d(g, k.white2, 0, labelled ? -80 : -85, 0, -90);
    if (!labelled) continue;
    // Upright: translated to the label's place, then turned back.
    k.at(d - heading);
    gfx_translate(g, 0, -70, GFX_PREPEND);
    if (std::isfinite(heading)) gfx_rotate(g, heading - d, GFX_PREPEND);
    const char* cardinal = d == 0 ? "N" : d == 90 ? "E" : d == 180 ? "S" : d == 270 ? "W" : nullptr;
    const double x = d == 180 ? -7 : -10;
    if (cardinal)
      draw_text(g, k.a14, k.white, x, -7, C17_TEXT_CAPACITY, cardinal);
    else
      draw_textf(g, k.a14, k.white, x, -7, C17_TEXT_CAPACITY, "%02d", d / 10);
  }
  for (int32_t a = 0; a < 360; a += 45) {
    k.at(a);
    draw_line_d(g, k.white2, 0, -92, 0, -102);
  }
  k.at();
  draw_ellipse_d(g, k.white2, -90, -90, 180, 180);
}

void draw_course_arrow(const HsiKit& k) {
  GfxGraphics* g = k.g;
  k.at(nav1_course - heading);
  for (double x : {-28.0, -53.0, 22.0, 47.0}) draw_ellipse_d(g, k.white2, x, -3, 6, 6);
  draw_line_d(g, k.magenta2, 0, -30, 0, -90);
  draw_line_d(g, k.magenta2, 0, 30, 0, 90);
  int32_t d = 0;
  if (trunc_coord(nav_token40 / 2.54, d)) draw_line_d(g, k.magenta2, d, -30, d, 30);
  const DrawPoint head[] = {{0, -55}, {5, -50}, {-5, -50}, {0, -55}};
  c17_fill(g, k.magenta, head);
  draw_line_d(g, k.cyan2, 0, -90, 0, -100);
  draw_line_d(g, k.cyan2, -5, -95, 5, -95);
}

void draw_glideslope(const HsiKit& k) {
  if (!has_nav1_glideslope()) return;
  GfxGraphics* g = k.g;
  k.at();
  const DrawPoint mark[] = {{111, 23}, {111, 27}, {119, 27}, {119, 23}, {111, 23}};
  c17_polyline(g, k.white1, mark);
  for (double y : {5.0, -15.0, 45.0, 65.0}) draw_ellipse_d(g, k.white1, 113, y, 4, 4);
  int32_t gs = 0;
  if (!trunc_coord(nav_token41 / 3.175 + 25, gs)) return;
  const DrawPoint pointer[] = {{115, gs - 5.0}, {110, double(gs)}, {115, gs + 5.0}, {120, double(gs)}, {115, gs - 5.0}};
  c17_fill(g, k.magenta, pointer);
}

void draw_marks_and_pointers(const HsiKit& k) {
  GfxGraphics* g = k.g;
  k.at(ap_heading - heading);
  const DrawPoint target[] = {{0, -90}, {-5, -90}, {-5, -95}, {0, -95}, {0, -90}, {5, -90}, {5, -95}, {0, -95}};
  c17_polyline(g, k.cyan2, target);
  k.at(ground_track - heading);
  const DrawPoint diamond[] = {{0, -90}, {-4, -94}, {0, -98}, {4, -94}, {0, -90}};
  c17_polyline(g, k.green2, diamond);

  if (adf1_bearing > 0) {
    k.at(nav_token39 + 360);
    const DrawPoint head[] = {{0, -90}, {5, -82}, {-5, -82}, {0, -90}};
    c17_fill(g, k.cyan, head);
    draw_line_d(g, k.cyan2, 0, -60, 0, -90);
    draw_line_d(g, k.cyan2, 0, 60, 0, 90);
    draw_line_d(g, k.cyan2, 0, 81, 8, 87);
    draw_line_d(g, k.cyan2, 0, 81, -8, 87);
  }
  if (get_nav1_signal() > 0 && !is_nav1_localizer()) {
    k.at(station_bearing() - heading);
    const DrawPoint head[] = {{-2, -30}, {-2, -50}, {-5, -50}, {0, -55}, {0, -90}, {0, -55}, {5, -50}, {2, -50}, {2, -30}};
    const DrawPoint tail[] = {{-2, 30}, {-2, 50}, {0, 55}, {0, 90}, {0, 55}, {2, 50}, {2, 30}};
    c17_polyline(g, k.cyan2, head);
    c17_polyline(g, k.cyan2, tail);
  }
  if (get_nav2_signal() > 0) {
    double b = nav_token59 + heading;
    if (b >= 360) b -= 360;
    k.at(b - heading);
    const DrawPoint head[] = {{0, -60}, {-6, -60}, {-6, -65}, {-3, -65}, {-3, -85}, {0, -90},
                              {3, -85}, {3, -65},  {6, -65},  {6, -60},  {0, -60}};
    const DrawPoint tail[] = {{0, 60}, {3, 65}, {3, 80}, {8, 85}, {8, 90}, {0, 85},
                              {-8, 90}, {-8, 85}, {-3, 80}, {-3, 65}, {0, 60}};
    c17_polyline(g, k.green2, head);
    draw_line_d(g, k.green1, 0, -60, 0, -90);
    c17_polyline(g, k.green2, tail);
    draw_line_d(g, k.green1, 0, 60, 0, 90);
    draw_line_d(g, k.green2, 0, 81, 8, 88);
    draw_line_d(g, k.green2, 0, 81, -8, 88);
  }
}

}  // namespace

void c17_mfd_hsi_format_draw(const GaugeSurface* surface, GfxGraphics* g) {
  HsiKit k(g, surface);
  k.at();
  draw_data_fields(k);
  draw_line_d(g, k.white2, 0, -10, 0, 15);
  draw_line_d(g, k.white2, -10, 0, 10, 0);
  draw_line_d(g, k.white2, -5, 10, 5, 10);
  draw_rose(k);
  draw_course_arrow(k);
  draw_glideslope(k);
  draw_marks_and_pointers(k);
}

void c17_mfd_heading_box_draw(const GaugeSurface* surface, GfxGraphics* g) {
  const C17Objects k(g);
  c17_frame(g, surface, c17_mfd_rose_cx, c17_mfd_rose_cy);
  fill_rect_d(g, k.black, -12, -115, 24, 15);
  c17_draw_value(g, k.a14, k.green, -14, -115, "%03.0f", heading);
  const DrawPoint frame[] = {{-12, -115}, {-12, -100}, {12, -100}, {12, -115}, {-12, -115}};
  c17_polyline(g, k.white1, frame);
  draw_text(g, k.a9, k.white, 15, -113, C17_TEXT_CAPACITY, "M");
}
