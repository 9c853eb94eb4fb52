// EFS 50 EADI: sky and ground, ladder, roll scale, horizon and heading tape, aircraft
// symbol, flight-director cues, deviation scales, annunciations, radio altitude,
// decision height, fast/slow scale and marker beacons, in that order.
#include <cmath>

#include "displays/attitude/attitude.h"
#include "displays/attitude/attitude_frame.h"
#include "displays/attitude/fd_bars.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace {

constexpr double CX = 129, CY = 114;
constexpr uint32_t SKY = 0xFF0060C4, GROUND = 0xFF946239, WHITE = 0xFFDEE6E9, AMBER = 0xFFE9B73E;
constexpr uint32_t ANN_GREEN = 0xFF50D175, CUE_GREEN = 0xFF25C817, MAGENTA = 0xFFFF13D5, CYAN = 0xFF02A7EB;

// Heading-tape letters for 0, 30 ... 330 degrees.
constexpr const char* HDG_LABELS[12] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};

// Sub-pixel frame: sixteenths of a pixel, rotated by the bank.
AttFrame sub_pixel(GfxGraphics* g, const GaugeSurface* ctx, double rot) {
  return att_fine_frame(g, ctx, CANVAS_EFS50, CX, CY, rot, 16.0 * ctx->width / 266.0, 16.0 * ctx->height / 230.0);
}

AttFrame design(GfxGraphics* g, const GaugeSurface* ctx, double rot = 0) {
  return att_design_frame(g, ctx, CANVAS_EFS50, CX, CY, rot);
}

void set_clip_a(const AttFrame& f) {
  if (ExpandEADI == 1 || (lnav_on == 1 && ExpandEADILnav == 1)) {
    f.clip_rect(-124, -114, 248, 227);
  } else {
    f.clip_rect(-99, -94, 198, 182);
  }
}

void draw_ladder(GfxGraphics* g, const GaugeSurface* ctx, AttObjects& obj) {
  gfx_reset_clip(g);
  design(g, ctx);
  if (GfxPath* circle = gfx_path_create(g)) {
    gfx_path_add_ellipse(g, circle, -76, -73, 150, 150);
    gfx_set_clip_path(g, circle);
    gfx_path_delete(circle);
  }
  AttFrame f = sub_pixel(g, ctx, adi_token80);
  // A hairline: one pixel wide whatever the frame's scale.
  GfxPen* hairline = obj.pen(WHITE, 16);
  GfxFont* f17 = obj.font(FONT_ARIAL, f.size(17));
  GfxBrush* white = obj.brush(WHITE);
  const int32_t zero = att_trunc(-3.0 * adi_token77);
  for (int32_t d = 0; d <= 90; d += 5) {
    for (int32_t y : {zero - 3 * d, zero + 3 * d}) {
      if (d % 10 != 0) {
        f.line(hairline, -10, y, 10, y);
        continue;
      }
      f.line(hairline, -30, y, 30, y);
      if (d == 0) continue;
      f.textf(f17, white, 30, y - 8, "%d", d);
      f.textf(f17, white, -55, y - 8, "%d", d);
    }
  }
}

void draw_roll_scale(GfxGraphics* g, const GaugeSurface* ctx, AttObjects& o) {
  gfx_reset_clip(g);
  for (int32_t a : {-60, -45, -30, -20, -10, 0, 10, 20, 30, 45, 60}) {
    AttFrame f = design(g, ctx, a);
    if (std::abs(a) <= 20) {
      f.line(o.pen(WHITE, 2), 0, -85, 0, -94);
    } else if (std::abs(a) == 45) {
      f.lines(o.pen(WHITE, 2), {{0, -86}, {4, -94}, {-4, -94}, {0, -86}});
    } else {
      f.line(o.pen(WHITE, 2), 0, -75, 0, -94);
    }
  }
  design(g, ctx).fill(o.brush(AMBER), {{0, -83}, {5, -94}, {-5, -94}});
  design(g, ctx, adi_token80).fill(o.brush(WHITE), {{0, -84}, {5, -73}, {-5, -73}});
}

// Heading tape on the horizon: 1.8 units per degree over +-45 degrees, each whole
// degree's mark and label drawn once where it stands.
void draw_heading_tape(const AttFrame& f, double h, AttObjects& obj) {
  GfxPen* white2 = obj.pen(WHITE, f.size(2));
  GfxPen* amber2 = obj.pen(AMBER, f.size(2));
  GfxFont* f10 = obj.font(FONT_ARIAL, f.size(10));
  GfxBrush* white = obj.brush(WHITE);
  // Within 0..360, so the loop below always ends.
  double hdg = std::isfinite(heading) ? std::fmod(heading, 360.0) : 0;
  if (hdg < 0) hdg += 360;
  const int32_t selected = att_trunc(ap_heading) % 360;
  bool marker = false;
  double b = 0;
  for (double d = std::ceil(hdg - 45); d <= hdg + 45; ++d) {
    int32_t v = att_trunc(d) % 360;
    if (v < 0) v += 360;
    const double o = d - hdg;
    const double x = 1.8 * o;
    if (v % 10 == 0) {
      f.line(white2, x, h, x, h - 7);
      if (v % 30 == 0) {
        const double dx = v <= 90 ? -5 : -7;
        f.text(f10, white, x + dx, h - 20, HDG_LABELS[v / 30]);
      }
    } else if (v % 5 == 0) {
      f.line(white2, x, h, x, h - 4.5);
    }
    if (v == selected) {
      marker = true;
      b = o;
    }
  }
  if (!marker) return;
  f.lines(amber2, {{1.8 * (b - 5), h},
                   {1.8 * (b - 5), h - 12},
                   {1.8 * (b - 1.5), h - 12},
                   {1.8 * b, h - 6},
                   {1.8 * (b + 1.5), h - 12},
                   {1.8 * (b + 5), h - 12},
                   {1.8 * (b + 5), h},
                   {1.8 * (b - 5), h}});
}

void draw_aircraft_symbol(const AttFrame& f, AttObjects& o) {
  if (EadiDualCue != 0) {
    for (double s : {1.0, -1.0}) {
      const std::initializer_list<DrawPoint> wing = {{-15 * s, 0},  {-15 * s, -4}, {-60 * s, -4}, {-60 * s, 4},
                                                     {-22 * s, 4},  {-22 * s, 14}, {-15 * s, 14}, {-15 * s, 0}};
      f.fill(o.brush(AMBER), wing);
      f.lines(o.pen(WHITE, 1), wing);
    }
    f.fill_rect(o.brush(AMBER), -2, -2, 4, 4);
    f.rect(o.pen(WHITE, 1), -2, -2, 4, 4);
    return;
  }
  const std::initializer_list<DrawPoint> delta = {{0, 0},    {60, 20},  {30, 20}, {30, 15},
                                                  {-30, 15}, {-30, 20}, {-60, 20}, {0, 0}};
  f.fill(o.brush(AMBER), delta);
  f.lines(o.pen(WHITE, 1), delta);
  for (double x : {-110.0, 80.0}) {
    f.fill_rect(o.brush(AMBER), x, -8, 30, 10);
    f.rect(o.pen(WHITE, 1), x, -8, 30, 10);
  }
}

void draw_fd_cues(GfxGraphics* g, const GaugeSurface* ctx, AttObjects& o) {
  if (get_flight_director_active() == 0) return;
  fd_bars_step(0.11, 0.0);
  const int32_t p = att_trunc(3.0 * fd_pitch_bar);
  if (EadiDualCue != 0) {
    AttFrame f = design(g, ctx);
    const int32_t x = att_trunc(3.0 * fd_bank_bar);
    f.line(o.pen(MAGENTA, 3), x, -50, x, 50);
    f.line(o.pen(MAGENTA, 3), -50, p, 50, p);
    return;
  }
  AttFrame f = design(g, ctx, fd_bank_bar);
  const std::initializer_list<DrawPoint> chevron = {
      {0, double(p)},        {60, p + 20.0},  {70, p + 10.0},  {70, p + 20.0},  {60, p + 20.0},
      {70, p + 10.0},        {0, double(p)},  {-60, p + 20.0}, {-70, p + 10.0}, {-70, p + 20.0},
      {-60, p + 20.0},       {-70, p + 10.0}, {0, double(p)}};
  f.fill(o.brush(CUE_GREEN), chevron);
  f.lines(o.pen(WHITE, 1), chevron);
}

void draw_deviation_scales(const AttFrame& f, AttObjects& o) {
  if (has_nav1_glideslope() != 0) {
    for (double y : {-55.0, -5.0, 45.0}) f.ellipse(o.pen(WHITE, 2), 102, y, 7, 7);
    for (double y : {-30.0, 20.0}) f.ellipse(o.pen(WHITE, 2), 104, y, 4, 4);
    const int32_t top = att_trunc(0.5 * nav_token41 - 11);
    f.rect(o.pen(CUE_GREEN, 2), 110, top, 10, 20);
    f.fill(o.brush(ANN_GREEN), {{110, top + 5.0}, {100, top + 10.0}, {110, top + 15.0}});
    f.text(o.font(FONT_ARIAL, 8), o.brush(WHITE), 111, top, "G");
    f.text(o.font(FONT_ARIAL, 8), o.brush(WHITE), 111, top + 10, "S");
  }
  if (get_nav1_code_bit3() == 0) {
    for (double x : {-70.0, 70.0}) f.ellipse(o.pen(WHITE, 2), x, 75, 7, 7);
    for (double x : {-35.0, 35.0}) f.ellipse(o.pen(WHITE, 2), x, 77, 4, 4);
    f.lines(o.pen(WHITE, 2), {{0, 75}, {3, 78}, {0, 81}, {-3, 78}, {0, 75}});
    const int32_t x = att_trunc(nav_token40 / 1.54);
    f.line(o.pen(AMBER, 3), x, 73, x, 87);
  }
}

void draw_annunciations(const AttFrame& f, AttObjects& o) {
  if (ap_token103 != 1.0) return;
  f.text(o.font(FONT_ARIAL, 11), o.brush(ANN_GREEN), -119, -114, "AP");
  if (token106_int == 1) {
    f.text(o.font(FONT_ARIAL, 11), o.brush(ANN_GREEN), -54, -114, "HDG");
  } else if (nav_gps_switch == 1.0) {
    f.text(o.font(FONT_ARIAL, 11), o.brush(ANN_GREEN), -54, -114, "NAV");
  }
  if (token112 == 1.0) {
    f.text(o.font(FONT_ARIAL, 11), o.brush(ANN_GREEN), -54, -104, "APR");
  } else if (lnav_on == 1) {
    f.text(o.font(FONT_ARIAL, 11), o.brush(ANN_GREEN), -54, -104, "LNAV");
  }
  if (token114 == 1.0) f.text(o.font(FONT_ARIAL, 11), o.brush(ANN_GREEN), -119, -94, "YD");
  if (ap_vertical_speed == 1.0) {
    if (vnav_on == 1) f.text(o.font(FONT_ARIAL, 11), o.brush(WHITE), 21, -114, "VNAV");
    f.text(o.font(FONT_ARIAL, 11), o.brush(WHITE), 28, -104, "ALT");
  }
}

void draw_fast_slow(const AttFrame& f, AttObjects& o) {
  const double error = ap_airspeed - indicated_airspeed;
  if (!(std::fabs(error) <= 50)) return;
  f.text(o.font(FONT_ARIAL, 11), o.brush(WHITE), -113, -54, "F");
  f.text(o.font(FONT_ARIAL, 11), o.brush(WHITE), -113, 41, "S");
  f.lines(o.pen(WHITE, 2), {{-107, -39}, {-102, -32}, {-107, -25}, {-112, -32}, {-107, -39}});
  f.lines(o.pen(WHITE, 2), {{-107, 21}, {-102, 28}, {-107, 35}, {-112, 28}, {-107, 21}});
  f.ellipse(o.pen(WHITE, 2), -111, -4, 4, 4);
  int32_t k = att_trunc(error);
  k = k < -13 ? -13 : k > 13 ? 13 : k;
  const double y = 3 * k - 11;
  f.rect(o.pen(CUE_GREEN, 2), -125, y, 10, 20);
  f.fill(o.brush(ANN_GREEN), {{-115, y + 5}, {-105, y + 10}, {-115, y + 15}});
  f.text(o.font(FONT_ARIAL, 8), o.brush(WHITE), -124, y, "A");
  f.text(o.font(FONT_ARIAL, 8), o.brush(WHITE), -124, y + 10, "S");
}

struct MarkerStyle {
  double top;
  const char* label;
  double label_x, label_y;
  bool large_font;
};

const MarkerStyle MARKERS[3] = {
    {.top = 46, .label = "OM", .label_x = -121, .label_y = 47, .large_font = false},
    {.top = 61, .label = "MM", .label_x = -121, .label_y = 62, .large_font = false},
    {.top = 76, .label = "IM", .label_x = -119, .label_y = 76, .large_font = true},
};

void draw_marker(const AttFrame& f, AttObjects& o) {
  const double beacon = get_marker_beacon();
  if (beacon != 1 && beacon != 2 && beacon != 3) return;
  const MarkerStyle& m = MARKERS[int32_t(beacon) - 1];
  const GfxPen* pen = o.pen(beacon == 1 ? AMBER : beacon == 2 ? CYAN : WHITE, 1);
  const double t = m.top;
  f.lines(pen, {{-119, t}, {-104, t}, {-100, t + 7}, {-104, t + 13}, {-119, t + 13}, {-123, t + 7}, {-119, t}});
  f.text(m.large_font ? o.font(FONT_ARIAL, 11) : o.font(FONT_ARIAL, 10), o.brush(WHITE), m.label_x, m.label_y, m.label);
}

}  // namespace

void draw_efs50_eadi(const GaugeSurface* ctx, GfxGraphics* g) {
  AttObjects o(g);
  const double h = -3.8 * adi_token77;

  set_clip_a(design(g, ctx));
  {
    AttFrame f = sub_pixel(g, ctx, adi_token80);
    f.fill(o.brush(SKY), {{-529, -514}, {271, -114}, {271, h}, {-529, h}});
    f.fill(o.brush(GROUND), {{-529, h}, {271, h}, {271, 286}, {-529, 286}});
  }
  draw_ladder(g, ctx, o);
  draw_roll_scale(g, ctx, o);

  gfx_reset_clip(g);
  if (lnav_on != 0) {
    design(g, ctx).clip_rect(-124, -104, 248, 217);
  } else {
    design(g, ctx).clip_rect(-99, -94, 198, 182);
  }
  {
    AttFrame f = sub_pixel(g, ctx, adi_token80);
    GfxPen* white2 = o.pen(WHITE, f.size(2));
    f.line(white2, -99.5, h, 99.5, h);
    if (EADIHdgTape == 1) draw_heading_tape(f, h, o);
  }

  gfx_reset_clip(g);
  AttFrame f = design(g, ctx);
  set_clip_a(f);
  draw_aircraft_symbol(f, o);
  gfx_reset_clip(g);
  draw_fd_cues(g, ctx, o);

  f = design(g, ctx);
  draw_deviation_scales(f, o);
  draw_annunciations(f, o);
  if (radio_altitude >= -20 && radio_altitude <= 2500) {
    f.textf(o.font(FONT_ARIAL, 15), o.brush(WHITE), 81, -114, "%5.0f", radio_altitude);
    f.text(o.font(FONT_ARIAL, 11), o.brush(WHITE), 101, -99, "RA");
  }
  f.text(o.font(FONT_ARIAL, 11), o.brush(WHITE), 81, 89, "DH");
  f.textf(o.font(FONT_ARIAL, 13), o.brush(WHITE), 71, 99, "%3.0f", get_decision_height());
  if (is_nav1_localizer() != 0) f.text(o.font(FONT_ARIAL, 11), o.brush(WHITE), 71, 61, "LOC");
  draw_fast_slow(f, o);
  draw_marker(f, o);
}

void efs50_eadi_draw(GaugeSurface* ctx, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode) {
  GfxGraphics* g = att_begin(ctx, dc, width, height);
  if (!g) return;
  if (display_power != 0 && draw_mode != 2) {
    gfx_set_smoothing(g, GFX_SMOOTHING_ANTIALIAS);
    gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
    att_fill_canvas(g, ctx, CANVAS_EFS50, 266, 230, COLOUR_BLACK);
    draw_efs50_eadi(ctx, g);
  } else {
    gfx_clear(g, COLOUR_TRANSPARENT);
  }
  gfx_delete(g);
}
