// A320 EADI heading scale, vertical-speed scale, data fields and the mode
// annunciation row.
#include <cmath>
#include <cstdio>

#include "displays/attitude/a320_eadi.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "module/sim_vars.h"

namespace a320 {
namespace {

constexpr double DEGREE = 3.6;  // heading scale, units per degree

double wrap180(double a) {
  if (!std::isfinite(a)) return 0;
  a = std::fmod(a, 360.0);
  if (a > 180) a -= 360;
  if (a < -180) a += 360;
  return a;
}

// One mark of the heading scale: a tick every 5 degrees, a label every 10.
void heading_mark(const Draw& d, const AttFrame& f, int32_t m, double x, bool left, bool label) {
  if (m % 5 != 0) return;
  f.line(d.o.pen(WHITE, f.size(2)), x, 130, x, 135);
  if (m % 10 != 0 || !label) return;
  const bool thirty = m % 30 == 0;
  const double dx = left && thirty ? -10 : -8;
  f.textf(d.font(f.size(thirty ? 15 : 12)), d.o.brush(WHITE), x + dx, thirty ? 138 : 140, "%2d", m / 10);
}

void draw_heading_scale(const Draw& d) {
  const AttFrame f = d.fine();
  f.clip_rect(-90, 130, 180, 25);
  f.fill_rect(d.o.brush(d.tape), -90, 130, 180, 25);
  f.rect(d.o.pen(WHITE, f.size(2)), -90, 130, 180, 25);
  const double hdg = std::isfinite(heading) ? heading : 0;
  const double whole = std::trunc(hdg);
  for (int32_t k = 0; k <= 55; ++k) {
    double a = hdg - k, b = hdg + k;
    if (a < 0) a += 360;
    if (b >= 360) b -= 360;
    heading_mark(d, f, att_trunc(a), (whole - k - hdg) * DEGREE, true, true);
    heading_mark(d, f, att_trunc(b), (whole + k - hdg) * DEGREE, false, k != 0);
  }
  // The track diamond inside the scale's clip; the target mark stands above it.
  const double x = DEGREE * wrap180(ground_track - hdg);
  f.lines(d.o.pen(GREEN, f.size(2)), {{x, 132}, {x + 4, 138}, {x, 144}, {x - 4, 138}, {x, 132}});
  gfx_reset_clip(d.g);
  const double diff = wrap180(ap_heading - hdg);
  if (diff > 25 || diff < -25) {
    f.textf(d.font(f.size(12)), d.o.brush(CYAN), diff > 25 ? 68 : -90, 118, "%03.0f", ap_heading);
  } else {
    const double t = DEGREE * diff;
    f.lines(d.o.pen(CYAN, f.size(2)), {{t, 130}, {t - 5, 120}, {t + 5, 120}, {t, 130}});
  }
}

void draw_vertical_speed(const Draw& d, const AttFrame& f) {
  f.fill(d.o.brush(d.tape), {{156, 0}, {156, -90}, {168, -70}, {168, 70}, {156, 90}, {156, 0}});
  for (double m : {0.0, 28.0, 56.0, 65.0, 74.0}) {
    GfxPen* pen = d.o.pen(WHITE, m == 28 || m == 65 ? 1 : 2);
    f.line(pen, 156, -m, 160, -m);
    if (m != 0) f.line(pen, 156, m, 160, m);
  }
  const double v = std::isfinite(vertical_speed) ? vertical_speed : 0;
  const double s = std::fabs(v);
  // 2000 ft/min and beyond stand at 74, as 2500 does.
  const double r = s <= 1000 ? s * 0.056 : s < 2000 ? 56 + (s - 1000) * 0.016 : 74;
  const double end = v >= 0 ? -r : r;
  f.line(d.o.pen(GREEN, 4), 206, 0, 156, end);
  if (v >= 200 || v <= -200) {
    const double top = v >= 0 ? -10 - r : r;
    f.fill_rect(d.o.brush(BLACK), 156, top, 15, 10);
    f.textf(d.font(9), d.o.brush(GREEN), 156, top, "%d", att_trunc(s / 100));
  }
}

void draw_data_fields(const Draw& d, const AttFrame& f) {
  GfxFont* f12 = d.font(12);
  if (mach < 0.4 && get_nav1_signal() > 0) {
    char ident[8];
    const char* id = get_nav1_ident();
    std::snprintf(ident, sizeof ident, "%s", id ? id : "");
    GfxBrush* magenta = d.o.brush(MAGENTA);
    f.text(f12, magenta, -150, 118, ident);
    f.textf(f12, magenta, -150, 130, "%3.2f", get_nav1_frequency_mhz());
    f.textf(f12, magenta, -150, 142, "%2.1f NM", dme1_distance);
  }
  GfxBrush* cyan = d.o.brush(CYAN);
  if (ap_airspeed > 0) {
    if (ap_airspeed > indicated_airspeed + 40) f.textf(f12, cyan, -150, -119, "%4.0f", ap_airspeed);
    if (ap_airspeed < indicated_airspeed - 40) f.textf(f12, cyan, -150, 106, "%4.0f", ap_airspeed);
  }
  if (ap_altitude > 0) {
    if (ap_altitude > indicated_altitude + 500) f.textf(f12, cyan, 105, -119, "%4.0f", ap_altitude);
    if (ap_altitude < indicated_altitude - 500) f.textf(f12, cyan, 105, 106, "%4.0f", ap_altitude);
  }
  if (baro_hpa >= 1013.0 && baro_hpa < 1013.4) {
    f.rect(d.o.pen(AMBER, 2), 100, 130, 30, 12);
    f.text(f12, cyan, 100, 130, "STD");
  } else {
    f.text(f12, d.o.brush(WHITE), 100, 120, "QNH");
    f.textf(f12, cyan, 130, 120, "%4.0f", baro_hpa);
    f.textf(f12, cyan, 100, 135, "%2.2f IN", baro_inhg);
  }
  if (mach >= 0.4) {
    if (mach >= 1.0) {
      f.textf(d.font(13), d.o.brush(GREEN), -150, 120, "%.2f", mach);
    } else {
      f.textf(d.font(13), d.o.brush(GREEN), -150, 120, ".%2.0f", mach * 1000);
    }
  }
  const double beacon = get_marker_beacon();
  const char* marker = beacon == 1 ? "OM" : beacon == 2 ? "MM" : beacon == 3 ? "IM" : nullptr;
  if (marker) f.text(f12, d.o.brush(WHITE), 80, 88, marker);
}

void draw_annunciations(const Draw& d, const AttFrame& f) {
  GfxPen* white2 = d.o.pen(WHITE, 2);
  for (double x : {-85.0, -5.0, 65.0, 120.0}) f.line(white2, x, -155, x, -117);
  GfxFont* f12 = d.font(12);
  GfxBrush *white = d.o.brush(WHITE), *cyan = d.o.brush(CYAN);
  if (ap_token103 == 1.0) f.text(f12, white, 125, -155, "AP1");
  if (ap_vertical_speed == 1.0) {
    if (vnav_on == 0) {
      if (ap_vs_hold >= 200) {
        f.textf(f12, cyan, -80, -155, "V/S +%4.0f", ap_vs_hold);
      } else if (ap_vs_hold <= -200) {
        f.textf(f12, cyan, -80, -155, "V/S %4.0f", ap_vs_hold);
      } else {
        f.text(f12, cyan, -80, -141, "ALT");
      }
    } else {
      f.text(f12, cyan, -80, -141, ap_vs_hold > 0 ? "CLB" : ap_vs_hold < 0 ? "DES" : "ALT");
    }
  }
  if (token106_int == 1) {
    f.text(f12, cyan, -5, -141, lnav_on == 0 ? "HDG" : "NAV");
  } else if (nav_gps_switch == 1.0) {
    f.text(f12, cyan, -5, -141, "GPS NAV");
  }
  if (token112 == 1.0) f.text(f12, cyan, 0, -127, "APP");
  if (get_flight_director_active() != 0) f.text(f12, white, 125, -141, "1FD");
  if (autothrottle_arm == 1.0) f.text(f12, white, 125, -127, "A/THR");
  if (ap_airspeed_hold == 1.0) {
    f.text(f12, cyan, -135, -155, "SPEED");
  } else if (ap_mach_hold == 1.0) {
    f.text(f12, cyan, -135, -155, "MACH");
  }
}

}  // namespace

void draw_heading_and_fields(const Draw& d) {
  draw_heading_scale(d);
  const AttFrame f = d.design();
  draw_vertical_speed(d, f);
  draw_data_fields(d, f);
  draw_annunciations(d, f);
}

}  // namespace a320
