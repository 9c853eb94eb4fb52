// C-17 MFD format 9, the thrust page: thrust-limit timer, reverse marks, fuel flow, EGT
// limit and its timer, the rating caption, pressure ratios from engine speed, engine
// speeds, the pressure-ratio bars with their scale and the thrust-lever pointers.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "c17/c17_engine_pages.h"
#include "c17/c17_mfd.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

const C17EngineColumn C17_ENGINE_COLUMNS[5] = {{}, {22, 7, 32}, {77, 62, 87}, {153, 138, 163}, {208, 193, 218}};

namespace {

constexpr int32_t SEGMENTS = 11;
constexpr double SEGMENT_WIDTH[SEGMENTS] = {2.5, 10.9, 8.8, 10.8, 11.1, 14.6, 11.8, 12.4, 7.5, 7.8, 1.8};
constexpr double SEGMENT_STEP[SEGMENTS] = {0.05, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.05};
constexpr double RATIO_LOW = 0.85;
constexpr double STOPPED_RATIO = 1.0;
constexpr double LEVER_TOP = 16383.0;

// Pressure ratio of an engine speed (percent) under variable 342's scale: 0.85 at the
// bottom of the span, 1.85 at its top; a span that cannot scale gives 0.85, a speed
// that is no number no ratio. An engine that does not turn raises no pressure: 1.00,
// as the engine dials read it.
double ratio_of_speed(double speed, double v342) {
  const double f = (v342 - 300.0) / 15913.0;
  const double top = 104.0 - 3.5 * f, span = 64.0 + 12.5 * f;
  if (!std::isfinite(speed)) return std::nan("");
  if (speed <= 0) return STOPPED_RATIO;
  if (!(span > 0) || !std::isfinite(top)) return RATIO_LOW;
  double p = std::clamp(100.0 - (top - speed) / span * 100.0, 0.0, 100.0);
  double ratio = RATIO_LOW;
  for (int32_t i = 0; i < SEGMENTS; ++i) {
    if (p >= SEGMENT_WIDTH[i]) {
      ratio += SEGMENT_STEP[i];
      p -= SEGMENT_WIDTH[i];
    } else {
      ratio += SEGMENT_STEP[i] * p / SEGMENT_WIDTH[i];
      break;
    }
  }
  return ratio;
}

// Thrust-lever pointer height: 59 at idle, -59 at the top of the scale.
bool lever_y(double lever, int32_t& y) { return trunc_coord(59.0 - std::fabs(lever) / (LEVER_TOP / 118.0), y); }

}  // namespace

C17EngineKit::C17EngineKit(GfxGraphics* g) : C17Objects(g) {
  a10 = o.font(FONT_ARIAL, 10, GFX_FONT_BOLD);
  yellow2 = o.pen(C17_YELLOW, 2);
  red2 = o.pen(C17_RED, 2);
}

const GfxPen* C17EngineKit::pen2(uint32_t argb) const {
  return argb == C17_GREEN ? green2 : argb == C17_YELLOW ? yellow2 : argb == C17_RED ? red2 : argb == C17_CYAN ? cyan2 : white2;
}

const GfxBrush* C17EngineKit::brush(uint32_t argb) const {
  return argb == C17_GREEN ? green : argb == C17_YELLOW ? yellow : argb == C17_RED ? red : argb == C17_CYAN ? cyan : white;
}

void c17_minutes_seconds(double seconds, char* out, int32_t size) {
  const double t = std::isfinite(seconds) ? std::floor(std::fabs(seconds)) : 0.0;
  const double h = std::trunc(t / 3600.0);
  const double m = std::trunc((t - 3600.0 * h) / 60.0);
  std::snprintf(out, size_t(size), "%02.0f:%02.0f", m, t - 3600.0 * h - 60.0 * m);
}

void c17_engine_header_draw(GfxGraphics* g, const C17EngineKit& k, double dy) {
  const GfxFont* font = k.a10;
  const GfxBrush* cyan = k.cyan;
  const double t = eng_limit_time_a;
  if (t > 0) {
    char ms[16];
    if (t <= 900) {
      c17_minutes_seconds(t, ms, sizeof ms);
      draw_textf(g, font, cyan, 0, 0, C17_TEXT_CAPACITY, "MAX THR TIME OVER %s", ms);
    } else if (1200 - t >= 0) {
      c17_minutes_seconds(1200 - t, ms, sizeof ms);
      draw_textf(g, font, cyan, 0, 0, C17_TEXT_CAPACITY, "MAX THR TIME REM %s", ms);
    } else {
      draw_text(g, font, cyan, 0, 0, C17_TEXT_CAPACITY, "MAX THR TIME REM 00:00");
    }
  }
  const double cx = c17_mfd_rose_cx;
  const double marks_x[5] = {0, cx - 108, cx - 68, cx + 52, cx + 92};
  for (int32_t e = 1; e <= 4; ++e) {
    if (!(get_eng_throttle(e) < 0)) continue;
    draw_arc_d(g, k.cyan2, marks_x[e], 10 + dy, 20, 20, 210, 120);
    draw_arc_d(g, k.cyan2, marks_x[e], 10 + dy, 20, 20, 30, 120);
    draw_text(g, font, cyan, marks_x[e] - 2, 15 + dy, C17_TEXT_CAPACITY, "REV");
  }
  draw_text(g, font, cyan, 0, 43, C17_TEXT_CAPACITY, "RATING  1.22 MCT");
}

void c17_mfd_thrust_page_draw(const GaugeSurface* surface, GfxGraphics* g) {
  const C17EngineKit k(g);
  const GfxFont* a10 = k.a10;
  const double cx = c17_mfd_rose_cx;
  c17_frame(g, surface);
  c17_engine_header_draw(g, k, 0);

  draw_text(g, a10, k.white, cx - 15, 10, C17_TEXT_CAPACITY, "FF PPH");
  draw_rect_d(g, k.white1, cx - 15, 25, 35, 12);
  c17_draw_value(g, a10, k.green, cx - 15, 26, "%5.0f", get_total_fuel_flow());

  double hottest = -1e9;
  for (int32_t e = 1; e <= 4; ++e) hottest = std::max(hottest, get_eng_egt_celsius(e));
  if (hottest > 655)
    draw_textf(g, a10, k.yellow, cx + 45, 33, C17_TEXT_CAPACITY, "MAX EGT %03.0f\xB0" "C", 625.0);
  else if (hottest > 625)
    draw_textf(g, a10, k.red, cx + 45, 33, C17_TEXT_CAPACITY, "MAX EGT %03.0f\xB0" "C", 655.0);

  if (eng_limit_time_egt > 0) {
    if (eng_limit_time_egt <= 300) {
      eng_limit_time_egt = 300;
      draw_textf(g, a10, k.green, cx + 40, 43, C17_TEXT_CAPACITY, "TIME REM %02.0f:%02.0f", 5.0, 0.0);
    } else {
      char ms[16];
      c17_minutes_seconds(eng_limit_time_egt, ms, sizeof ms);
      draw_textf(g, a10, k.yellow, cx + 40, 40, C17_TEXT_CAPACITY, "TIME REM %s", ms);
    }
  }

  const double v342 = get_token_342();
  double ratio[5] = {};
  for (int32_t e = 1; e <= 4; ++e) ratio[e] = ratio_of_speed(get_eng_n2(e), v342);
  const double ratio_x[5] = {0, 20, 65, 155, 195};
  for (int32_t e = 1; e <= 4; ++e) c17_draw_value(g, a10, k.green, ratio_x[e], 191, "%1.2f", ratio[e]);
  draw_text(g, a10, k.white, cx - 10, 191, C17_TEXT_CAPACITY, "EPR");
  const double speed_x[5] = {0, 20, 70, 155, 195};
  for (int32_t e = 1; e <= 4; ++e)
    c17_draw_value(g, a10, k.green, speed_x[e], 211, "%2.1f", get_eng_n2(e));
  draw_text(g, a10, k.white, cx - 10, 206, C17_TEXT_CAPACITY, "N1");
  draw_text(g, a10, k.white, cx - 20, 221, C17_TEXT_CAPACITY, "%RPM");

  c17_frame(g, surface, cx, 121);
  const double bar_x[5] = {0, -83, -43, 37, 77};
  for (int32_t e = 1; e <= 4; ++e) {
    int32_t v = 0;
    if (trunc_coord(std::trunc((1.85 - ratio[e]) * 100.0) * 1.2, v)) fill_rect_d(g, k.green, bar_x[e], v - 60, 6, 120 - v);
    draw_rect_d(g, k.white1, bar_x[e], -60, 6, 120);
  }
  double value = 1.8;
  for (int32_t y = -54; y <= 54; y += 12, value += -0.1) {
    draw_line_d(g, k.white1, -37, y, -27, y);
    draw_line_d(g, k.white1, -77, y, -67, y);
    draw_line_d(g, k.white1, 37, y, 30, y);
    draw_line_d(g, k.white1, 77, y, 70, y);
    char label[16];
    std::snprintf(label, sizeof label, "%1.1f", value);
    if (label[0] == '0') label[0] = ' ';
    draw_text(g, a10, k.white, value > 0.9 ? -9 : -6, y - 5, C17_TEXT_CAPACITY, label);
  }
  const double chevron[5][2] = {{}, {-84, -89}, {-44, -49}, {44, 49}, {84, 89}};
  for (int32_t e = 1; e <= 4; ++e) {
    int32_t y = 0;
    if (!lever_y(get_eng_throttle(e), y)) continue;
    draw_line_d(g, k.cyan2, chevron[e][0], y, chevron[e][1], y - 5);
    draw_line_d(g, k.cyan2, chevron[e][0], y, chevron[e][1], y + 5);
  }
}
