// B777 PFD mode annunciations, NAV 1 line, minimums, deviation scales, marker
// beacons and the heading arc.
#include <cmath>
#include <cstdio>

#include "displays/attitude/b777_pfd.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace b777 {
namespace {

// Deviation diamonds at 34 units per 127 of deviation.
constexpr double DEVIATION_DIVISOR = 127.0 / 34.0;
constexpr double ARC_CX = 115, ARC_CY = 360;

struct MarkerStyle {
  const char* label;
  uint32_t text, pen;
  double font;
  double circle_y, circle_size;
};

const MarkerStyle MARKERS[3] = {
    {.label = "OM", .text = RED_FILL, .pen = RED_PEN, .font = 9, .circle_y = -73, .circle_size = 18},
    {.label = "MM", .text = AMBER, .pen = AMBER, .font = 9, .circle_y = -73, .circle_size = 18},
    {.label = "IM", .text = WHITE, .pen = WHITE, .font = 12, .circle_y = -72, .circle_size = 17},
};

void draw_deviation_scales(const Draw& d, const AttFrame& f) {
  GfxPen* white2 = d.o.pen(WHITE, 2);
  GfxBrush* magenta = d.o.brush(MAGENTA);
  if (has_nav1_glideslope() != 0) {
    for (double y : {-36.0, -19.0, 19.0, 36.0}) f.ellipse(white2, 72, y, 5, 5);
    const double g = att_trunc(nav_token41 / DEVIATION_DIVISOR);
    f.fill(magenta, {{71, g}, {75, g - 5}, {79, g}, {75, g + 5}});
    f.line(white2, 70, 0, 82, 0);
  }
  if (get_nav1_signal() > 0 && is_nav1_localizer() != 0) {
    for (double x : {-32.0, -17.0, 15.0, 32.0}) f.ellipse(white2, x, 83, 5, 5);
    const double l = att_trunc(nav_token40 / DEVIATION_DIVISOR);
    f.fill(magenta, {{l, 81}, {l + 5, 85}, {l, 89}, {l - 5, 85}});
    f.line(white2, 0, 79, 0, 91);
  }
}

void draw_marker(const Draw& d, const AttFrame& f) {
  const double beacon = get_marker_beacon();
  if (!att_flash_on() || (beacon != 1 && beacon != 2 && beacon != 3)) return;
  const MarkerStyle& m = MARKERS[int32_t(beacon) - 1];
  f.text(d.font(m.font), d.o.brush(m.text), 50, -70, m.label);
  f.ellipse(d.o.pen(m.pen, 2), 50, m.circle_y, m.circle_size, m.circle_size);
}

void draw_heading_arc(const Draw& d) {
  const AttFrame f = d.design_at(ARC_CX, ARC_CY);
  f.fill_ellipse(d.o.brush(d.tape), -130, -130, 260, 260);
  GfxPen *white1 = d.o.pen(WHITE, 1), *magenta1 = d.o.pen(MAGENTA, 1);
  f.lines(white1, {{0, -130}, {3, -136}, {-3, -136}, {0, -130}});
  const AttFrame track = d.design_at(ARC_CX, ARC_CY, ground_track - heading);
  track.line(d.o.pen(WHITE, 2), 0, 0, 0, -130);
  track.line(white1, -3, -111, 3, -111);
  d.design_at(ARC_CX, ARC_CY, ap_heading - heading)
      .lines(magenta1, {{0, -130}, {3, -134}, {5, -134}, {5, -130}, {-5, -130}, {-5, -134}, {-3, -134}, {0, -130}});
  const AttFrame upright = d.design_at(ARC_CX, ARC_CY);
  GfxBrush* magenta = d.o.brush(MAGENTA);
  upright.textf(d.font(10), magenta, -30, -111, "%03.0f", ap_heading);
  upright.text(d.font(7), magenta, -12, -108, "H");
  upright.text(d.font(7), d.o.brush(GREEN), 15, -108, "MAG");
  GfxBrush* white = d.o.brush(WHITE);
  for (int32_t h = 0; h < 360; h += 5) {
    const double off = h - heading;
    if (!((off > 305 && off < 360) || (off > -360 && off < -305) || (off > -55 && off < 55))) continue;
    const AttFrame tick = d.design_at(ARC_CX, ARC_CY, off);
    tick.line(white1, 0, -127, 0, -130);
    if (h % 10 != 0) continue;
    const bool thirty = h % 30 == 0;
    const double x = (h == 0 ? -3 : -6) - (thirty ? 3 : 0);
    tick.textf(d.font(thirty ? 10 : 7), white, x, -127, h == 0 ? "%d" : "%02d", h / 10);
  }
}

}  // namespace

void draw_mode_annunciations(const Draw& d) {
  const AttFrame f = d.design();
  f.fill_rect(d.o.brush(d.tape), -73, -130, 150, 20);
  GfxPen* white2 = d.o.pen(WHITE, 2);
  f.line(white2, -23, -130, -23, -110);
  f.line(white2, 25, -130, 25, -110);
  GfxBrush *green = d.o.brush(GREEN), *white = d.o.brush(WHITE);
  if (ap_airspeed_hold == 1) {
    f.text(d.font(13), green, -70, -130, "SPD");
  } else if (ap_mach_hold == 1) {
    f.text(d.font(13), green, -70, -130, "MACH");
  }
  if (ap_token103 == 0) {
    if (get_flight_director_active() != 0) f.text(d.font(13), green, -29, -90, "FLT DIR");
  } else {
    f.text(d.font(13), green, -14, -90, "A/P");
  }
  if (token106_int == 1) {
    if (lnav_on == 1) {
      f.text(d.font(12), green, -18, -130, "LNAV");
    } else {
      f.text(d.font(10), green, -23, -130, "HDG SEL");
    }
  } else if (lnav_on == 1) {
    f.text(d.font(9), white, -15, -118, "LNAV");
  }
  if (ap_vertical_speed == 1) {
    if (vnav_on == 1) {
      const bool speed = ap_airspeed_hold == 1 && VnavSetSpd == 1;
      f.text(d.font(9), green, 27, -130, speed ? "VNAV SPD" : "VNAV PTH");
    } else {
      f.text(d.font(12), green, 30, -130, "ALT");
    }
  } else if (token112 == 1) {
    f.text(d.font(12), green, 30, -130, "APP");
  } else if (vnav_on == 1) {
    f.text(d.font(9), white, 30, -118, "VNAV");
  }
}

void draw_radio_data_and_heading(const Draw& d) {
  const AttFrame f = d.design();
  GfxFont* f9 = d.font(9);
  if (get_nav1_signal() > 0) {
    char ident[8];
    const char* id = get_nav1_ident();
    std::snprintf(ident, sizeof ident, "%s", id ? id : "");
    f.textf(f9, d.o.brush(WHITE), -70, -100, "%s/%3.0f", ident, nav1_course);
    f.textf(f9, d.o.brush(WHITE), -70, -90, "DME %3.1f", dme1_distance);
  }
  f.text(f9, d.o.brush(GREEN), 45, 80, "BARO");
  f.textf(f9, d.o.brush(GREEN), 50, 90, "%3.0f", get_decision_height());
  draw_deviation_scales(d, f);
  draw_marker(d, f);
  draw_heading_arc(d);
}

}  // namespace b777
