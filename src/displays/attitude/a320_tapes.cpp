// A320 EADI speed and altitude tapes: scales, speed bands, targets, take-off and
// approach speeds, the altitude readout with its 20-ft drum and the speed trend.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "displays/attitude/a320_eadi.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace a320 {
namespace {

constexpr double KNOT = 2.53;          // speed tape, units per knot
constexpr double SPEED_TARGET = 2.6;   // the speed target's own scale
constexpr double FOOT = 0.18;          // altitude tape, units per foot
constexpr double ALTITUDE_TARGET = 0.1825;
constexpr int32_t MAX_BAND_DASHES = 100;

double speed_y(double speed) { return -(speed - indicated_airspeed) * KNOT; }

void draw_speed_bands(const Draw& d, const AttFrame& f) {
  const double ias = indicated_airspeed, vmax = d.speeds.vmax, low = d.speeds.vs + 5;
  if (std::fabs(vmax - ias) < 140) {
    const double top = att_trunc(speed_y(vmax));
    int32_t n = att_trunc((ias + 70 - vmax) / 3);
    n = n < 40 ? 40 : n > MAX_BAND_DASHES ? MAX_BAND_DASHES : n;
    GfxPen* red3 = d.o.pen(RED, f.size(3));
    for (int32_t i = 0; i < n; ++i) f.line(red3, -108, top - 8 * i, -113, top - 8 * i);
    f.line(d.o.pen(RED, f.size(1)), -108, top + 1, -108, top - 8 * (n - 1));
  }
  if (std::fabs(low - ias) < 140) {
    const double top = speed_y(low);
    GfxPen* amber2 = d.o.pen(AMBER, f.size(2));
    f.line(amber2, -110, top, -110, top - 20);
    f.line(amber2, -110, top - 19, -113, top - 19);
    GfxPen* amber3 = d.o.pen(AMBER, f.size(3));
    for (int32_t i = 0; i < 40; ++i) f.line(amber3, -108, top + 8 * i, -113, top + 8 * i);
    f.line(d.o.pen(AMBER, f.size(1)), -108, top + 1, -108, top + 8 * 39);
  }
}

void draw_speed_tape(const Draw& d) {
  AttFrame box = d.design();
  box.fill_rect(d.o.brush(d.tape), -149, -105, 35, 210);
  GfxPen* white2 = d.o.pen(WHITE, 2);
  box.line(white2, -149, -105, -104, -105);
  box.line(white2, -114, -105, -114, 105);
  box.line(white2, -149, 105, -104, 105);
  box.clip_rect(-149, -105, 44, 210);

  const AttFrame f = d.fine();
  const double ias = indicated_airspeed;
  int32_t s0 = att_trunc(ias);
  const double frac = std::isfinite(ias) ? ias - std::trunc(ias) : 0.0;
  if (s0 < 30) s0 = 30;
  GfxPen* fine_white2 = d.o.pen(WHITE, f.size(2));
  GfxFont* f12 = d.font(f.size(12));
  for (int32_t s = s0 - 50; s <= s0 + 49; ++s) {
    if (s < 40 || s % 10 != 0) continue;
    const double y = ((s0 - s) + frac) * KNOT;
    f.line(fine_white2, -114, y, -119, y);
    if (s % 20 == 0) f.textf(f12, d.o.brush(WHITE), -149, y - 8, "%03d", s);
  }
  if (radio_altitude > 200) draw_speed_bands(d, f);

  f.line(d.o.pen(AMBER, f.size(2)), -114, 0, -149, 0);
  f.fill(d.o.brush(AMBER), {{-115, 0}, {-107, -4}, {-107, 4}});
  const double t = att_trunc(-(ap_airspeed - ias) * SPEED_TARGET);
  f.lines(fine_white2, {{-115, t - 1}, {-106, t - 7}, {-106, t + 7}, {-115, t + 1}});

  if (VR > 0) {
    take_off_speeds_settle();
    if (radio_altitude < 30) {
      f.text(d.font(f.size(11)), d.o.brush(GREEN), -113, speed_y(V1) - 7, "1");
      f.ellipse(d.o.pen(CYAN, f.size(2)), -118, speed_y(VR) - 3, 6, 6);
    }
    if (radio_altitude < 800 && V2 > 0) {
      GfxPen* green2 = d.o.pen(GREEN, f.size(2));
      const double y = speed_y(V2);
      f.line(green2, -123, y - 2, -114, y - 2);
      f.line(green2, -123, y + 2, -114, y + 2);
    }
  }
  if (VREF > 0 && radio_altitude > 400) {
    // The mark stands beside the tape, clipped to the tape's height.
    box.clip_rect(-104, -105, 44, 210);
    const double y = speed_y(VREF);
    f.text(d.font(f.size(9)), d.o.brush(GREEN), -82, y - 3, "REF");
    f.line(d.o.pen(GREEN, f.size(2)), -93, y, -83, y);
  }
  gfx_reset_clip(d.g);
}

// A digit character of a readout; anything else (blank, sign) counts 0.
int32_t digit_at(const char* text, int32_t i) {
  const char c = text[i];
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

void draw_altitude_readout(const Draw& d, const AttFrame& f) {
  const double alt = indicated_altitude;
  const std::initializer_list<DrawPoint> outline = {{108, 0},  {108, -8}, {138, -8}, {138, -13}, {154, -13},
                                                    {154, 13}, {138, 13}, {138, 8},  {108, 8},   {108, 0}};
  f.fill(d.o.brush(BLACK), outline);
  f.clip_outline(outline);
  const char* format = alt < 100 ? "   %02.0f" : alt < 1000 ? "  %3.0f" : alt < 10000 ? " %4.0f" : "%5.0f";
  char text[32];
  std::snprintf(text, sizeof text, format, alt);
  GfxBrush* green = d.o.brush(GREEN);
  GfxFont* f17 = d.font(f.size(17));
  for (int32_t i = 0; i < 3 && text[i] != '\0'; ++i) {
    const char one[2] = {text[i], '\0'};
    f.text(f17, green, 105 + 10 * i, -9, one);
  }
  const int32_t len = int32_t(std::strlen(text));
  const int32_t tens = len > 3 ? digit_at(text, 3) : 0, units = len > 4 ? digit_at(text, 4) : 0;
  const int32_t even = tens - tens % 2;
  const double o = 0.6 * (units + (tens % 2 ? 10 : 0)) - 6;
  GfxFont* f12 = d.font(f.size(12));
  for (int32_t k = -2; k <= 2; ++k) {
    f.textf(f12, green, 137, o + 12 * k, "%d0", (even - 2 * k + 10) % 10);
  }
}

void draw_altitude_tape(const Draw& d) {
  const AttFrame f = d.fine();
  const double alt = indicated_altitude;
  f.clip_rect(95, -105, 58, 210);
  f.fill_rect(d.o.brush(d.tape), 108, -105, 30, 210);
  GfxPen* white2 = d.o.pen(WHITE, f.size(2));
  GfxFont* f12 = d.font(f.size(12));
  const int32_t top = att_trunc(alt + 600);
  const int32_t first = (top >= 0 ? top / 100 : (top - 99) / 100) * 100;
  // 13 marks at most: a window of 1200 ft (and none for an altitude off the scale).
  for (int32_t a = first, n = 0; a >= alt - 600 && n < 13; a -= 100, ++n) {
    const double y = (alt - a) * FOOT;
    f.line(white2, 133, y, 138, y);
    if (a % 500 == 0) f.textf(f12, d.o.brush(WHITE), 108, y - 8, "%03.0f", double(a / 100));
  }
  const double t = att_trunc(-(ap_altitude - alt) * ALTITUDE_TARGET);
  f.lines(d.o.pen(CYAN, f.size(2)),
          {{110, t}, {105, t - 5}, {105, t - 16}, {120, t - 16}, {120, t + 16}, {105, t + 16}, {105, t + 5}, {110, t}});
  gfx_reset_clip(d.g);
  draw_altitude_readout(d, f);
  gfx_reset_clip(d.g);
}

void draw_speed_trend(const Draw& d) {
  const AttFrame f = d.fine();
  double t = -180 * speed_trend * 2.45;
  if (!std::isfinite(t)) t = 0;
  t = t < -102 ? -102 : t > 102 ? 102 : t;
  GfxPen* amber2 = d.o.pen(AMBER, f.size(2));
  f.line(amber2, -117, 0, -117, t);
  if (t < -1) {
    f.line(amber2, -119, t + 2, -117, t - 1);
    f.line(amber2, -115, t + 2, -117, t - 1);
  } else if (t > 1) {
    f.line(amber2, -119, t - 2, -117, t + 1);
    f.line(amber2, -115, t - 2, -117, t + 1);
  }
}

}  // namespace

void draw_tapes(const Draw& d) {
  draw_speed_tape(d);
  draw_altitude_tape(d);
  draw_speed_trend(d);
}

}  // namespace a320
