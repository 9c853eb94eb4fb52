// C-17 PFD, second half: airspeed and altitude scales with their rolling readouts and
// target markers, localizer and glideslope scales, marker beacon, heading scale and
// the mode annunciators.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "c17/c17_pfd.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

// Values beyond this are drawn as this; keeps every scale walk and digit in range.
constexpr double SCALE_VALUE_LIMIT = 1.0e6;
// The altitude readout and tape labels have five digits: they stop at 99,999 ft.
constexpr double ALTITUDE_SHOWN_LIMIT = 99999.0;

double scale_value(double v) { return std::clamp(finite_or(v, 0), -SCALE_VALUE_LIMIT, SCALE_VALUE_LIMIT); }

// The character at `i` of `text` as a one-character string; blank past its end.
void char_at(const char* text, size_t i, char out[2]) {
  out[0] = i < std::strlen(text) ? text[i] : ' ';
  out[1] = '\0';
}

// Digit `from_end` places left of the end of |value| printed with `format`, 0..9.
int32_t digit_of_magnitude(double value, const char* format, size_t from_end) {
  char text[32];
  std::snprintf(text, sizeof text, format, std::fabs(value));
  size_t n = std::strlen(text);
  if (from_end >= n) return 0;
  char c = text[n - 1 - from_end];
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

int32_t wrap_digit(int32_t d) { return ((d % 10) + 10) % 10; }

void draw_airspeed_scale(PfdKit& k) {
  const double cx = c17_mfd_rose_cx;
  k.fine();
  const DrawPoint clip[] = {{-cx, -75}, {38 - cx, -75}, {38 - cx, 75}, {-cx, 75}};
  k.clip_polygon(clip, 4);
  const int32_t s = int32_t(std::trunc(scale_value(indicated_airspeed)));
  char label[16];
  for (int32_t off = -50; off <= 50; ++off) {
    const int32_t v = s + off;
    const double y = 1.75 * off;
    if (v % 10 != 0) continue;
    k.line(k.white_solid, -85, y, v % 20 == 0 ? -95 : -90, y);
    if (v % 20 == 0 && v >= 0) {
      std::snprintf(label, sizeof label, "%3d", v);
      k.text(k.fine9, k.white, 7 - cx, y - 5, label);
    }
  }
  gfx_reset_clip(k.g);
}

// At the speed being reached: higher speeds lie lower on this tape.
void draw_trend_marker(PfdKit& k) {
  if (DispC17SpdTrend != 1) return;
  const double t = std::clamp(std::trunc(finite_or(speed_trend, 0) * 180 * 1.7), -17.0, 17.0);
  const DrawPoint tri[] = {{-25, t - 3}, {-19, t}, {-25, t + 3}};
  k.polygon(k.white, tri, 3);
}

// Readout box: filled black, clips the digits, outlined after them.
template <int32_t N>
void open_readout(PfdKit& k, const DrawPoint (&box)[N]) {
  k.polygon(k.black, box, N);
  k.clip_polygon(box, N);
}
template <int32_t N>
void close_readout(PfdKit& k, const DrawPoint (&box)[N]) {
  gfx_reset_clip(k.g);
  DrawPoint closed[N + 1];
  std::copy(box, box + N, closed);
  closed[N] = box[0];
  k.polyline(k.white_solid, closed, N + 1);
}

void draw_airspeed_readout(PfdKit& k) {
  const double cx = c17_mfd_rose_cx;
  const DrawPoint box[] = {{-135, -7}, {-100, -7}, {-100, -12}, {-90, -12}, {-90, -7}, {-85, 0},
                           {-90, 7},   {-90, 12},  {-100, 12},  {-100, 7},  {-135, 7}};
  open_readout(k, box);
  if (!std::isfinite(indicated_airspeed)) {
    close_readout(k, box);
    return;
  }
  const double v = scale_value(indicated_airspeed);
  char text[32], c[2], digit[4];
  // The format by the value as printed: 99.97 prints as 100.0.
  const double shown = std::nearbyint(v * 10) / 10;
  std::snprintf(text, sizeof text, shown < 10 ? "  %1.1f" : shown < 100 ? " %2.1f" : "%3.1f", v);
  char_at(text, 0, c);
  k.text(k.fine12, k.green, 4 - cx, -6, c);
  char_at(text, 1, c);
  k.text(k.fine12, k.green, 13 - cx, -6, c);
  const int32_t d = digit_of_magnitude(v, "%.1f", 2);
  const int32_t f = std::fabs(v) < 1 ? 0 : digit_of_magnitude(v, "%.1f", 0);
  for (int32_t i = -2; i <= 2; ++i) {
    std::snprintf(digit, sizeof digit, "%d", wrap_digit(d + i));
    k.text(k.fine12, k.green, 22 - cx, -6 + 10 * i - f, digit);
  }
  close_readout(k, box);
}

void draw_speed_target(PfdKit& k) {
  if (ap_airspeed_hold != 1.0) return;
  k.design_centred();
  double y = std::trunc(std::clamp(-(finite_or(indicated_airspeed, 0) - finite_or(ap_airspeed, 0)) * 1.68, -1e6, 1e6));
  if (y < -67 || y >= 68) {
    y = y < 0 ? -67 : 67;
    draw_line_d(k.g, k.cyan2, -82, y, -77, y - 5);
    draw_line_d(k.g, k.cyan2, -82, y, -77, y + 5);
  }
  draw_line_d(k.g, k.cyan2, -85, y, -80, y - 5);
  draw_line_d(k.g, k.cyan2, -85, y, -80, y + 5);
}

void draw_altitude_scale(PfdKit& k) {
  const double cx = c17_mfd_rose_cx;
  const double alt = scale_value(indicated_altitude);
  k.fine();
  const DrawPoint clip[] = {{cx - 40, -70}, {cx, -70}, {cx, 70}, {cx - 40, 70}};
  k.clip_polygon(clip, 4);
  const double top = std::trunc(alt + 1199);
  char label[16];
  for (double v = std::floor(top / 100) * 100; v >= alt - 1199; v -= 100) {
    const double y = (alt - v) * 0.065;
    const bool major = std::fmod(v, 500) == 0;
    k.line(k.white_solid, cx - 38, y, major ? cx - 28 : cx - 33, y);
    if (major && std::fabs(v) <= ALTITUDE_SHOWN_LIMIT) {
      std::snprintf(label, sizeof label, "%5d", int32_t(v));
      k.text(k.fine9, k.white, cx - 27, y - 5, label);
    }
  }
  gfx_reset_clip(k.g);
}

void draw_altitude_readout(PfdKit& k) {
  const double c = c17_mfd_rose_cx;
  const DrawPoint box[] = {{c + 2, -12}, {c - 13, -12}, {c - 13, -7}, {c - 33, -7}, {c - 38, 0},
                           {c - 33, 7},  {c - 13, 7},   {c - 13, 12}, {c + 2, 12}};
  open_readout(k, box);
  if (!std::isfinite(indicated_altitude)) {
    close_readout(k, box);
    return;
  }
  const double alt = std::clamp(indicated_altitude, -ALTITUDE_SHOWN_LIMIT, ALTITUDE_SHOWN_LIMIT);
  char text[32], ch[2], tens[8];
  // The digits of the magnitude as printed (9999.7 prints as 10000), right-aligned in
  // five places; a minus sign in the place left of the first digit shown.
  const double shown = std::fabs(std::nearbyint(alt));
  std::snprintf(text, sizeof text, shown < 100 ? "   %02.0f" : "%5.0f", shown);
  if (std::nearbyint(alt) < 0) {
    size_t first = 0;
    while (first < 3 && text[first] == ' ') ++first;
    if (first > 0) text[first - 1] = '-';
  }
  const double xs[] = {c - 36, c - 29, c - 22};
  for (size_t i = 0; i < 3; ++i) {
    char_at(text, i, ch);
    k.text(k.fine12, k.green, xs[i], -6, ch);
  }
  const int32_t d = digit_of_magnitude(alt, "%.0f", 1);
  const int32_t u = digit_of_magnitude(alt, "%.0f", 0);
  // The drum rolls with the altitude: below zero a larger magnitude lies lower.
  const int32_t sign = alt < 0 ? -1 : 1;
  for (int32_t i = -2; i <= 2; ++i) {
    std::snprintf(tens, sizeof tens, "%d0", wrap_digit(d - i));
    k.text(k.fine12, k.green, c - 14, sign * (u + 12 * i) - 6, tens);
  }
  close_readout(k, box);
}

void draw_altitude_target(PfdKit& k) {
  if (ap_token103 != 1.0) return;
  k.design_centred();
  const bool vs_hold = ap_vertical_speed == 1.0;
  double y = std::trunc(std::clamp((finite_or(indicated_altitude, 0) - finite_or(ap_altitude, 0)) * 0.065, -1e6, 1e6));
  if (y < -65 || y > 65) {
    y = y < 0 ? -65 : 65;
    const GfxPen* pen = vs_hold ? k.second_green2 : k.cyan2;
    draw_line_d(k.g, pen, 80, y, 75, y - 5);
    draw_line_d(k.g, pen, 80, y, 75, y + 5);
  }
  const GfxPen* pen = vs_hold ? k.cyan2 : k.second_green2;
  draw_line_d(k.g, pen, 83, y, 78, y - 5);
  draw_line_d(k.g, pen, 83, y, 78, y + 5);
}

void draw_deviation_scales(PfdKit& k) {
  GfxGraphics* g = k.g;
  k.design_centred();
  if (get_nav1_signal() > 0 && is_nav1_localizer()) {
    const double l = c17_mfd_rose_cy - 25;
    const DrawPoint mark[] = {{-2, l - 4}, {-2, l + 4}, {2, l + 4}, {2, l - 4}, {-2, l - 4}};
    c17_polyline(g, k.white1, mark);
    for (double x : {-27.0, -52.0, 23.0, 48.0}) draw_ellipse_d(g, k.white1, x, l - 2, 4, 4);
    const double d = std::trunc(std::clamp(finite_or(nav_token40, 0), -1e6, 1e6) / 2.54);
    const DrawPoint diamond[] = {{d, l - 5}, {d - 5, l}, {d, l + 5}, {d + 5, l}, {d, l - 5}};
    c17_polyline(g, k.magenta2, diamond);
  }
  if (has_nav1_glideslope()) {
    draw_rect_d(g, k.white1, 71, -2, 8, 4);
    for (double y : {-21.0, -40.0, 17.0, 36.0}) draw_ellipse_d(g, k.white1, 73, y, 4, 4);
    const double gs = std::trunc(std::clamp(finite_or(nav_token41, 0), -1e6, 1e6) / (127.0 / 38.0));
    const DrawPoint diamond[] = {{75, gs - 5}, {70, gs}, {75, gs + 5}, {80, gs}, {75, gs - 5}};
    c17_polyline(g, k.magenta2, diamond);
  }
}

void draw_marker_and_heading_scale(PfdKit& k) {
  GfxGraphics* g = k.g;
  c17_frame(g, k.surface, c17_mfd_rose_cx, 229);
  const double marker = get_marker_beacon();
  if (marker > 0) {
    const GfxBrush* brush = marker == 1.0 ? k.amber : marker == 2.0 ? k.cyan : k.white;
    const char* letter = marker == 1.0 ? "O" : marker == 2.0 ? "M" : "I";
    const DrawPoint box[] = {{-5, -27}, {5, -27}, {5, -18}, {-5, -18}, {-5, -27}};
    c17_fill(g, brush, box);
    draw_text(g, k.a9, k.black, -5, -27, C17_TEXT_CAPACITY, letter);
  }
  const DrawPoint pointer[] = {{0, -8}, {-3, -16}, {3, -16}, {0, -8}};
  c17_polyline(g, k.second_green2, pointer);

  GfxPath* clip = gfx_path_create(g);
  gfx_path_add_line(g, clip, -55, -10, 55, -10);
  gfx_path_add_line(g, clip, 55, -10, 55, 11);
  gfx_path_add_line(g, clip, 55, 11, -55, 11);
  gfx_path_close_figure(g, clip);
  gfx_set_clip_path(g, clip);
  gfx_path_delete(clip);
  double hdg = c17_wrap180(heading);
  if (hdg < 0) hdg += 360;
  const auto mark = [&](int32_t value, double x) {
    if (value % 10 == 0) {
      draw_line_d(g, k.white2, x, 0, x, -8);
      draw_textf(g, k.a9, k.white, x - 7, 2, C17_TEXT_CAPACITY, "%02d", value / 10);
    } else if (value % 5 == 0) {
      draw_line_d(g, k.white2, x, 0, x, -4);
    }
  };
  for (int32_t i = 0; i <= 25; ++i) {
    int32_t left = int32_t(std::trunc(hdg - i)), right = int32_t(std::trunc(hdg + i));
    if (left < 0) left += 360;
    if (right >= 360) right -= 360;
    mark(right, 2.0 * i);
    if (i > 0) mark(left, -2.0 * i);
  }
  gfx_reset_clip(g);
  draw_text(g, k.a9, k.white, 60, 2, C17_TEXT_CAPACITY, "M");

  const double bug = std::clamp(std::trunc(2 * c17_wrap180(ap_heading - heading)), -55.0, 55.0);
  const DrawPoint box[] = {{bug, -10}, {bug, -5}, {bug - 5, -5}, {bug - 5, -10}, {bug + 5, -10}, {bug + 5, -5}, {bug, -5}};
  c17_polyline(g, k.cyan2, box);
  if (bug == -55 || bug == 55) {
    // At the left end the readout's row is the NAV ident's: it starts where the ident's cell ends.
    double x = bug - 7;
    if (bug < 0 && get_nav1_signal() > 0)
      x = std::max(x, C17_PFD_NAV_IDENT_X + text_width(g, k.a9, C17_TEXT_CAPACITY, c17_nav1_ident_text()) -
                          c17_mfd_rose_cx);
    c17_draw_value(g, k.a7, k.white, x, -20, "%03.0f", ap_heading);
  }
  const double course = std::clamp(std::trunc(2 * c17_wrap180(nav1_course - heading)), -55.0, 55.0);
  draw_line_d(g, k.white2, course, -14, course, -6);
  draw_line_d(g, k.white2, course - 4, -10, course + 4, -10);
}

// A boxed annunciation: white 1 px box 43 x 11 at (x, y), the text (bold, 8 or 9 px) one
// unit lower; a text wider than the box ("MACH 0.78") is drawn smaller to fit it.
void annunciate(PfdKit& k, double x, double y, int32_t px, const GfxBrush* brush, const char* text) {
  constexpr double BOX_W = 43, BOX_H = 11;
  draw_rect_d(k.g, k.white1, x, y, BOX_W, BOX_H);
  const GfxFont* font = px == 8 ? k.a8 : k.a9;
  const double width = text_width(k.g, font, C17_TEXT_CAPACITY, text);
  if (width > BOX_W) font = k.o.font(FONT_ARIAL, px * BOX_W / width, GFX_FONT_BOLD);
  draw_text(k.g, font, brush, x, y + 1, C17_TEXT_CAPACITY, text);
}

void draw_annunciators(PfdKit& k) {
  k.design_absolute();
  char text[32];
  if (ap_airspeed_hold == 1.0) {
    c17_value_text(text, sizeof text, "IAS %3.0f", ap_airspeed);
    annunciate(k, 10, 4, 9, k.green, text);
  } else if (ap_mach_hold == 1.0) {
    c17_value_text(text, sizeof text, "MACH %.2f", token118);
    annunciate(k, 10, 4, 9, k.green, text);
  }

  const bool engaged = ap_token103 == 1.0;
  c17_value_text(text, sizeof text, "ALT %03.0f", ap_altitude / 100);
  if (!engaged) {
    if (ap_vertical_speed == 1.0) annunciate(k, 200, 15, 8, k.white, text);
  } else {
    const char* vertical = get_ap_glideslope_hold() == 1.0 ? "G/S1 CAP"
                           : vnav_on == 1                 ? "VNAV"
                           : ap_vertical_speed == 1.0     ? text
                                                          : nullptr;
    if (vertical) annunciate(k, 200, 4, 8, k.green, vertical);
  }

  c17_value_text(text, sizeof text, "HDG %03.0f", ap_heading);
  if (!engaged) {
    if (token106_int == 1) annunciate(k, 10, 230, 9, k.white, text);
    return;
  }
  if (get_ap_loc_hold_on() == 1.0) {
    annunciate(k, 10, 219, 8, k.green, "LOC1 CAP");
  } else if (lnav_on == 1) {
    annunciate(k, 10, 219, 9, k.green, "LNAV");
  } else if (token106_int != 1 && get_ap_approach_hold() == 1.0) {
    annunciate(k, 10, 219, 9, k.green, "APPR");
  } else if (token106_int == 1) {
    annunciate(k, 10, 219, 9, k.green, text);
    if (get_ap_approach_hold() == 1.0) annunciate(k, 10, 230, 9, k.white, "APPR");
  }
}

}  // namespace

void c17_pfd_scales_draw(PfdKit& k) {
  draw_airspeed_scale(k);
  k.fine();
  draw_trend_marker(k);
  draw_airspeed_readout(k);
  draw_speed_target(k);
  draw_altitude_scale(k);
  k.fine();
  draw_altitude_readout(k);
  draw_altitude_target(k);
  draw_deviation_scales(k);
  draw_marker_and_heading_scale(k);
  draw_annunciators(k);
}
