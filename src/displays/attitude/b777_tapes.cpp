// B777 PFD speed and altitude tapes with their rolling readouts, the vertical-speed
// scale and the selected-value and altimeter readouts.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "displays/attitude/b777_pfd.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace b777 {
namespace {

constexpr double KNOT = 1.5;     // speed tape, units per knot
constexpr double FOOT = 0.2455;  // altitude tape, units per foot
constexpr int32_t MAX_BAND_DASHES = 100;
constexpr int32_t MAX_SCALE_STEPS = 400;

double speed_y(double s) { return -KNOT * (s - indicated_airspeed); }

// The readout box beside a tape: filled, then its outline made the clip.
void open_readout_box(const Draw& d, const AttFrame& f, std::initializer_list<DrawPoint> outline) {
  gfx_reset_clip(d.g);
  f.fill(d.o.brush(d.background), outline);
  f.clip_outline(outline);
}

void close_readout_box(const Draw& d, const AttFrame& f, std::initializer_list<DrawPoint> outline) {
  gfx_reset_clip(d.g);
  f.lines(d.o.pen(WHITE, f.size(1)), outline);
}

void draw_speed_bands(const Draw& d, const AttFrame& f) {
  const double ias = indicated_airspeed;
  GfxPen* red3 = d.o.pen(RED_PEN, f.size(3));
  if (std::fabs(d.speeds.vmax - ias) < 140) {
    const double top = speed_y(d.speeds.vmax);
    int32_t n = att_trunc((ias + 70 - d.speeds.vmax) / 4.5);
    n = n < 40 ? 40 : n > MAX_BAND_DASHES ? MAX_BAND_DASHES : n;
    for (int32_t i = 0; i < n; ++i) f.line(red3, -75, top - 8 * i, -80, top - 8 * i);
  }
  const double low = d.speeds.vs + 5;
  if (std::fabs(low - ias) < 140) {
    const double top = speed_y(low);
    GfxPen* amber2 = d.o.pen(AMBER, f.size(2));
    f.line(amber2, -77, top, -77, top - 20);
    f.line(amber2, -77, top - 19, -80, top - 19);
    for (int32_t i = 0; i < 40; ++i) f.line(red3, -75, top + 8 * i, -80, top + 8 * i);
  }
}

void draw_take_off_speeds(const Draw& d, const AttFrame& f) {
  GfxFont* small = d.font(f.size(6.5));
  GfxBrush* amber = d.o.brush(AMBER);
  if (VR < 1) {
    if (radio_altitude < 30) {
      f.text(small, amber, -81, -57, "NO");
      f.text(small, amber, -78, -47, "V");
      f.text(small, amber, -78, -37, "S");
      f.text(small, amber, -78, -30, "P");
      f.text(small, amber, -78, -23, "D");
    }
    return;
  }
  take_off_speeds_settle();
  if (std::abs(VR - V1) < 4 || std::abs(VR - V2) < 4) {
    if (radio_altitude < 30) f.text(small, amber, -78, speed_y(VR) - 7, "R");
    return;
  }
  if (radio_altitude < 30) {
    f.text(small, amber, -81, speed_y(V1) - 7, "V1");
    f.text(small, amber, -81, speed_y(VR) - 7, "VR");
  }
  if (radio_altitude < 800 && V2 > 0) f.text(small, amber, -81, speed_y(V2) - 7, "V2");
}

void draw_speed_readout(const Draw& d, const AttFrame& f) {
  const std::initializer_list<DrawPoint> box = {{-85, 0},  {-90, -5}, {-90, -15}, {-115, -15},
                                                {-115, 15}, {-90, 15}, {-90, 5},   {-85, 0}};
  open_readout_box(d, f, box);
  const double ias = indicated_airspeed;
  char text[48];
  std::snprintf(text, sizeof text, ias < 10 ? "  %1.5f" : ias < 100 ? " %2.5f" : "%3.5f", ias);
  GfxFont* f12 = d.font(f.size(12));
  GfxBrush* white = d.o.brush(WHITE);
  const char hundreds[2] = {text[0], '\0'}, tens[2] = {text[0] ? text[1] : '\0', '\0'};
  f.text(f12, white, -117, -7, hundreds);
  f.text(f12, white, -109, -7, tens);
  const int32_t u = readout_digit(text, 2);
  const int32_t hundredths = ias < 1 ? 0 : readout_digit(text, 4) * 10 + readout_digit(text, 5);
  const double o = att_trunc(hundredths / 10.0 * 1.5 - 7);
  for (int32_t k = -2; k <= 2; ++k) f.textf(f12, white, -101, o + 12 * k, "%d", (u - k + 10) % 10);
  close_readout_box(d, f, box);
}

// The altitude tape's scale steps grow as the value reaches rounder numbers, so every
// multiple of 50 in the window is visited; the value keeps the altitude's fraction.
void draw_altitude_scale(const Draw& d, const AttFrame& f) {
  const double alt = indicated_altitude;
  GfxPen* white1 = d.o.pen(WHITE, f.size(1));
  GfxFont* f9 = d.font(f.size(9));
  GfxBrush* white = d.o.brush(WHITE);
  double step = 1;
  double a = alt + 500;
  for (int32_t n = 0; a >= alt - 500 && n < MAX_SCALE_STEPS; ++n, a -= step) {
    const int32_t m = att_trunc(a);
    if (m % 100 == 0) {
      const double y = (alt - a) * FOOT;
      f.line(white1, 85, y, 92, y);
      if (m % 200 == 0) {
        // Adding 0 turns a negative zero into "000".
        const double label = std::trunc(a / 100) * 100 + 0.0;
        f.textf(f9, white, 93, y - 5, "%03.0f", label);
        if (label == 0) {
          f.line(white1, 85, y - 5, 120, y - 5);
          f.line(white1, 85, y + 5, 120, y + 5);
        }
      }
    }
    if (step == 1 && m % 5 == 0) step = 5;
    if (step == 5 && m % 10 == 0) step = 10;
    if (step == 10 && m % 50 == 0) step = 50;
  }
}

void draw_altitude_readout(const Draw& d, const AttFrame& f) {
  const std::initializer_list<DrawPoint> box = {{87, 0},   {92, -5}, {92, -15}, {128, -15},
                                                {128, 15}, {92, 15}, {92, 5},   {87, 0}};
  open_readout_box(d, f, box);
  const double alt = indicated_altitude;
  char text[48];
  std::snprintf(text, sizeof text,
                alt < 100 ? "   %02.1f" : alt < 1000 ? "  %3.1f" : alt < 10000 ? " %4.1f" : "%5.1f", alt);
  GfxBrush* white = d.o.brush(WHITE);
  const int32_t len = int32_t(std::strlen(text));
  const struct {
    int32_t index;
    double x, y, size;
  } chars[3] = {{0, 91, -6, 12}, {1, 99, -6, 12}, {2, 107, -5, 11}};
  for (const auto& c : chars) {
    if (c.index >= len) break;
    const char one[2] = {text[c.index], '\0'};
    f.text(d.font(f.size(c.size)), white, c.x, c.y, one);
  }
  const int32_t t = readout_digit(text, 3), u = readout_digit(text, 4);
  const int32_t e = t % 2 ? t - 1 : t;
  const double o = att_trunc(0.6 * (u + (t % 2 ? 10 : 0)) - 5);
  GfxFont* f11 = d.font(f.size(11));
  for (int32_t k = -2; k <= 2; ++k) f.textf(f11, white, 113, o + 12 * k, "%d0", (e - 2 * k + 10) % 10);
  close_readout_box(d, f, box);
}

}  // namespace

void draw_speed_tape(const Draw& d) {
  const AttFrame f = d.fine();
  const double ias = indicated_airspeed;
  f.clip_rect(-115, -100, 45, 200);
  f.fill_rect(d.o.brush(d.tape), -115, -100, 35, 200);
  GfxPen* white1 = d.o.pen(WHITE, f.size(1));
  GfxFont* f9 = d.font(f.size(9));
  int32_t s = att_trunc(ias) - 70;
  for (int32_t n = 0; s < ias + 70 && n < MAX_SCALE_STEPS; ++n) {
    const bool ten = s % 10 == 0;
    if (ten && s >= 0) {
      const double y = speed_y(s);
      f.line(white1, -86, y, -80, y);
      if (s % 20 == 0) f.textf(f9, d.o.brush(WHITE), -110, y - 5, "%3d", s);
    }
    s += ten ? 10 : 1;
  }
  if (radio_altitude > 200) draw_speed_bands(d, f);
  const double t = speed_y(ap_airspeed);
  f.lines(d.o.pen(MAGENTA, f.size(1)), {{-86, t}, {-81, t - 5}, {-71, t - 5}, {-71, t + 5}, {-81, t + 5}, {-86, t}});
  draw_take_off_speeds(d, f);
  if (VREF > 0 && radio_altitude > 300) {
    const double y = speed_y(VREF);
    f.text(d.font(f.size(5)), d.o.brush(GREEN), -82, y - 3, "REF");
    f.line(d.o.pen(GREEN, f.size(2)), -93, y, -83, y);
  }
  double trend = -speed_trend * 180 * 1.4;
  if (!std::isfinite(trend)) trend = 0;
  trend = trend < -92 ? -92 : trend > 92 ? 92 : trend;
  GfxPen* green2 = d.o.pen(GREEN, f.size(2));
  f.line(green2, -83, 0, -83, trend);
  if (trend < -1 || trend > 1) {
    const double tip = trend < -1 ? trend - 1 : trend + 1, base = trend < -1 ? trend + 2 : trend - 2;
    f.line(green2, -85, base, -83, tip);
    f.line(green2, -81, base, -83, tip);
  }
  draw_speed_readout(d, f);
}

void draw_altitude_tape(const Draw& d) {
  const AttFrame f = d.fine();
  f.clip_rect(80, -100, 40, 200);
  f.fill_rect(d.o.brush(d.tape), 85, -100, 35, 200);
  draw_altitude_scale(d, f);
  draw_altitude_readout(d, f);
  f.clip_rect(80, -100, 40, 200);
  const double m = att_trunc(-(ap_altitude - indicated_altitude) * FOOT);
  f.lines(d.o.pen(MAGENTA, f.size(1)),
          {{87, m}, {82, m - 5}, {82, m - 15}, {102, m - 15}, {102, m + 15}, {82, m + 15}, {82, m + 5}, {87, m}});
  gfx_reset_clip(d.g);
}

void draw_vertical_speed(const Draw& d) {
  const AttFrame f = d.design();
  f.fill(d.o.brush(d.tape), {{130, 0},
                             {130, -20},
                             {125, -25},
                             {125, -70},
                             {135, -70},
                             {145, -40},
                             {145, 40},
                             {135, 70},
                             {125, 70},
                             {125, 25},
                             {130, 20},
                             {130, 0}});
  GfxFont* f9 = d.font(9);
  GfxBrush* white = d.o.brush(WHITE);
  const struct {
    double m;
    double pen;
    const char* label;
  } marks[] = {{0, 2, nullptr}, {14, 1, nullptr}, {28, 2, "1"}, {38, 1, nullptr},
               {48, 2, "2"},    {56, 1, nullptr}, {64, 2, "6"}};
  for (const auto& k : marks) {
    GfxPen* pen = d.o.pen(WHITE, k.pen);
    f.line(pen, 130, -k.m, 135, -k.m);
    f.line(pen, 130, k.m, 135, k.m);
    if (!k.label) continue;
    f.text(f9, white, 123, -k.m - 5, k.label);
    f.text(f9, white, 123, k.m - 5, k.label);
  }
  const double v = std::isfinite(vertical_speed) ? vertical_speed : 0;
  const double s = std::fabs(v);
  const double deflection =
      s < 1000 ? 0.028 * s : s < 2000 ? 28 + 0.02 * (s - 1000) : s <= 6000 ? 48 + 0.004 * (s - 2000) : 64;
  const double needle = att_trunc(deflection);
  f.line(d.o.pen(WHITE, 2), 145, 0, 130, v > 0 ? -needle : needle);
  const int32_t n = att_trunc(v / 100) * 100;
  if (v > 100) f.textf(f9, white, 123, -83, "%4d", n);
  if (v < -100) f.textf(f9, white, 123, 73, "%4d", -n);
}

void draw_readouts(const Draw& d) {
  const AttFrame f = d.design();
  GfxBrush *magenta = d.o.brush(MAGENTA), *white = d.o.brush(WHITE), *green = d.o.brush(GREEN);
  if (ap_mach_hold == 1) {
    f.textf(d.font(13), magenta, -110, -118, "%.2f", get_ap_mach_hold_var());
  } else {
    f.textf(d.font(13), magenta, -110, -118, "%3.0f", ap_airspeed);
  }
  if (mach >= 0.4) {
    if (mach < 1) {
      f.textf(d.font(15), white, -110, 100, ".%3.0f", mach * 1000);
    } else {
      f.textf(d.font(15), white, -110, 100, "%.3f", mach);
    }
  }
  f.textf(d.font(13), magenta, 80, -118, "%5.0f", ap_altitude);
  if (baro_hpa >= 1013.0 && baro_hpa < 1013.4) {
    f.text(d.font(11), green, 85, 105, "STD");
  } else {
    f.textf(d.font(9), green, 85, 100, "%2.2f IN", baro_inhg);
    f.textf(d.font(9), white, 85, 115, "%4.0f HPA", baro_hpa);
  }
}

}  // namespace b777
