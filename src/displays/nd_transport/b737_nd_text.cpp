// B737 ND text overlay: the fixed symbols and data fields drawn over every mode.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "draw/nd_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

constexpr uint32_t TEXT_CYAN = 0xFF02A7EB;

// A whole number for a "%d" field; non-finite or huge values show 0.
int32_t whole(double v) {
  if (!std::isfinite(v) || std::fabs(v) > 2.0e9) return 0;
  return int32_t(v);
}

struct TextObjects {
  LayerObjects o;
  GfxFont* f9;
  GfxFont* f10;
  GfxFont* f12;
  GfxFont* f15;
  GfxBrush* white;
  GfxBrush* green;
  GfxBrush* cyan;
  GfxBrush* yellow;
  GfxBrush* background;
  GfxPen* white1;
  GfxPen* white2;
  GfxPen* magenta2;
  GfxPen* magenta_dash;
  GfxPen* light_green1;
  explicit TextObjects(GfxGraphics* g)
      : o(g),
        f9(o.font(FONT_ARIAL, 9, GFX_FONT_BOLD)),
        f10(o.font(FONT_ARIAL, 10, GFX_FONT_BOLD)),
        f12(o.font(FONT_ARIAL, 12, GFX_FONT_BOLD)),
        f15(o.font(FONT_ARIAL, 15, GFX_FONT_BOLD)),
        white(o.brush(COLOUR_WHITE)),
        green(o.brush(COLOUR_GREEN)),
        cyan(o.brush(TEXT_CYAN)),
        yellow(o.brush(COLOUR_YELLOW)),
        background(o.brush(nd_background_colour(HWB737NDBkgrdColorRed, HWB737NDBkgrdColorGreen,
                                                HWB737NDBkgrdColorBlue))),
        white1(o.pen(COLOUR_WHITE, 1)),
        white2(o.pen(COLOUR_WHITE, 2)),
        magenta2(o.pen(COLOUR_MAGENTA, 2)),
        magenta_dash(o.pen(COLOUR_MAGENTA, 2, GFX_DASH_DASH)),
        light_green1(o.pen(COLOUR_LIGHT_GREEN, 1)) {}
};

void heading_box(GfxGraphics* g, const TextObjects& k, int32_t mode) {
  const double y0 = mode <= 2 ? 30 : 5;
  const DrawPoint box[] = {{107, y0},      {107, y0 + 15}, {115, y0 + 15}, {122, y0 + 26},
                           {129, y0 + 15}, {137, y0 + 15}, {137, y0}};
  for (int32_t i = 0; i + 1 < 7; ++i) draw_line_d(g, k.white1, box[i].x, box[i].y, box[i + 1].x, box[i + 1].y);
  if (mode <= 2) draw_line_d(g, k.white1, 137, y0, 107, y0);
  draw_text(g, k.f9, k.green, 83, y0 + 3, ND_TEXT_CAPACITY, "HDG");
  double h = std::trunc(wrap360(heading));
  if (h == 0) h = 360;
  draw_textf(g, k.f15, k.white, 107, y0 - 1, ND_TEXT_CAPACITY, "%03.0f", h);
  draw_text(g, k.f9, k.green, 140, y0 + 3, ND_TEXT_CAPACITY, "M");
}

void deviation_scale(GfxGraphics* g, const TextObjects& k) {
  fill_rect_d(g, k.background, B737_VDEV_BOX[0], B737_VDEV_BOX[1], B737_VDEV_BOX[2], B737_VDEV_BOX[3]);
  draw_line_d(g, k.white2, 230, 200, 230, 260);
  draw_line_d(g, k.white2, 225, 200, 230, 200);
  draw_line_d(g, k.white2, 220, 230, 230, 230);
  draw_line_d(g, k.white2, 225, 260, 230, 260);
  double y = 226;
  if (vdev_gate_dist_1 > vdev_gate_dist_2) {
    double d = std::min(std::fabs(finite_or(indicated_altitude - vnav_path_altitude, 0)), 9999.0);
    if (indicated_altitude > vnav_path_altitude) {
      if (d < 400) {
        y = std::trunc(226 + d / 400 * 30);
      } else {
        y = 258;
        draw_textf(g, k.f9, k.white, 220, 265, ND_TEXT_CAPACITY, "%4d", int32_t(d));
      }
    } else if (indicated_altitude < vnav_path_altitude) {
      if (d < 400) {
        y = std::trunc(226 - d / 400 * 30);
      } else {
        y = 194;
        draw_textf(g, k.f9, k.white, 220, 185, ND_TEXT_CAPACITY, "%4d", int32_t(d));
      }
    }
  }
  const DrawPoint diamond[] = {{235, y}, {240, y + 4}, {235, y + 8}, {230, y + 4}, {235, y}};
  nd_polyline(g, k.magenta2, diamond);
}

void wind_field(GfxGraphics* g, const GaugeSurface* ctx, const TextObjects& k) {
  if (wind_speed >= 1) {
    char text[32];
    std::snprintf(text, sizeof text, "%03.0f\xB0/%2.0f", wrap360(wind_direction), wind_speed);
    draw_text(g, k.f12, k.white, 10, 255, ND_TEXT_CAPACITY, text);
    double w = std::trunc(wrap360(wind_direction) + 180);
    if (w > 360) w -= 360;
    nd_frame(g, ctx, CANVAS_B737_ND, 15, 247, w - heading);
    const DrawPoint head[] = {{0, -9}, {3, -6}, {-3, -6}};
    nd_fill(g, k.white, head);
    draw_line_d(g, k.white2, 0, -6, 0, 9);
    nd_frame(g, ctx, CANVAS_B737_ND);
  } else {
    draw_text(g, k.f12, k.white, 10, 255, ND_TEXT_CAPACITY, "---\xB0/---");
  }
}

void selected_heading(GfxGraphics* g, const GaugeSurface* ctx, const TextObjects& k, int32_t mode) {
  const double rot = ap_heading - heading;
  if (mode <= 2 || mode == 6) {
    const double cy = mode == 6 ? 171 : 151;
    const double r1 = mode == 6 ? -99 : -79, r2 = mode == 6 ? -107 : -87;
    nd_frame(g, ctx, CANVAS_B737_ND, 122, cy, rot);
    draw_line_d(g, k.magenta2, -10, r1, 10, r1);
    draw_line_d(g, k.magenta2, -10, r2, 10, r2);
    draw_line_d(g, k.magenta2, -10, r1, -10, r2);
    draw_line_d(g, k.magenta2, 0, r1, 0, r2);
    draw_line_d(g, k.magenta2, 10, r1, 10, r2);
    draw_line_d(g, k.magenta_dash, 0, 0, 0, r2);
  } else {
    nd_frame(g, ctx, CANVAS_B737_ND, 122, 249, rot);
    const DrawPoint outline[] = {{0, -218},   {-7, -226}, {-10, -226}, {-10, -218},
                                 {10, -218}, {10, -226}, {6, -226},   {0, -218}};
    nd_polyline(g, k.magenta2, outline);
    if (mode <= 5) draw_line_d(g, k.magenta_dash, 0, 0, 0, -218);
  }
  nd_frame(g, ctx, CANVAS_B737_ND);
}

}  // namespace

bool b737_nd_deviation_scale_shown() {
  const int32_t mode = b737_nd_mode;
  return vnav_descent_started == 1 && fpl_active_index != FPL_NO_PLAN &&
         (mode == 1 || mode == 3 || mode == 5 || mode == 6);
}

void b737_nd_text_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  TextObjects k(g);
  nd_frame(g, ctx, CANVAS_B737_ND);
  const int32_t mode = b737_nd_mode;
  const bool plan = fpl_active_index != FPL_NO_PLAN;
  char text[64];

  // Top-left block.
  if (mode == 2 || mode == 4) {
    draw_text(g, k.f9, k.white, 5, 10, ND_TEXT_CAPACITY, "DME");
    if (nav1_received() && dme1_distance > 0)
      draw_textf(g, k.f12, k.white, 30, 8, ND_TEXT_CAPACITY, "%.1f", dme1_distance);
    else
      draw_text(g, k.f12, k.white, 30, 8, ND_TEXT_CAPACITY, "- - -");
  } else {
    if (plan) {
      std::snprintf(text, sizeof text, "%.1f", dist_to_active_wpt);
      draw_text(g, k.f12, k.white, 10, 8, ND_TEXT_CAPACITY, text);
      draw_text(g, k.f9, k.white, 10 + 8.0 * double(std::strlen(text)), 10, ND_TEXT_CAPACITY, "NM");
    }
    draw_text(g, k.f9, k.white, 10, 23, ND_TEXT_CAPACITY, "TAS");
    if (true_airspeed > 100)
      draw_textf(g, k.f12, k.white, 34, 20, ND_TEXT_CAPACITY, "%3.0f", true_airspeed);
    else
      draw_text(g, k.f12, k.white, 34, 20, ND_TEXT_CAPACITY, "- - -");
  }

  // Traffic readout of the first target.
  if (mode == 1 && tcas_targets_found == 1) {
    char ident[TCAS_IDENT_SIZE];
    host_ident(tcas_targets[0].ident, ident, sizeof ident);
    draw_textf(g, k.f9, k.yellow, 70, 240, ND_TEXT_CAPACITY, "ALT %d", whole(tcas_targets[0].altitude));
    draw_textf(g, k.f9, k.yellow, 70, 250, ND_TEXT_CAPACITY, "GSP %d", whole(tcas_targets[0].ground_speed));
    draw_textf(g, k.f9, k.yellow, 70, 260, ND_TEXT_CAPACITY, "Id %s", ident);
    draw_textf(g, k.f9, k.yellow, 70, 270, ND_TEXT_CAPACITY, "TCAS Items %d", tcas_target_cnt);
  }

  // TCAS annunciation.
  if (mode >= 3 && mode <= 6) {
    const double y = mode == 6 ? 33 : 95;
    if (nd_tcas_on == 1) {
      fill_rect_d(g, k.background, 10, y, 20, 10);
      draw_text(g, k.f9, k.green, 10, y, ND_TEXT_CAPACITY, "TFC");
    } else {
      fill_rect_d(g, k.background, 10, y, 30, 20);
      draw_text(g, k.f9, k.white, 10, y, ND_TEXT_CAPACITY, "TCAS");
      draw_text(g, k.f9, k.white, 10, y + 10, ND_TEXT_CAPACITY, "OFF");
    }
  }

  heading_box(g, k, mode);

  if (b737_nd_deviation_scale_shown()) deviation_scale(g, k);

  // Right-hand block.
  if (plan) {
    int32_t h = 0, m = 0;
    eta_clock(zulu_hour, clock_minute, ete_active_hours, ete_active_minutes, h, m);
    double tenth = std::clamp(std::floor(finite_or(ete_active_tenths, 0)), 0.0, 9.0);
    std::snprintf(text, sizeof text, "%02.0f%02.0f.%1.0f", double(h), double(m), tenth);
    draw_text(g, k.f12, k.white, 190, 8, ND_TEXT_CAPACITY, text);
    draw_text(g, k.f9, k.white, 190 + 6.5 * double(std::strlen(text)), 10, ND_TEXT_CAPACITY, "Z");
  }
  draw_text(g, k.f9, k.white, 190, 20, ND_TEXT_CAPACITY, "GS");
  draw_textf(g, k.f12, k.white, 206, 18, ND_TEXT_CAPACITY, "%.0f", ground_speed);

  // Navigation source.
  if (mode == 1 || mode == 3) {
    draw_text(g, k.f12, k.green, 10, 285, ND_TEXT_CAPACITY, "NAV");
  } else if (mode == 2 || mode == 4) {
    bool ils = is_nav1_localizer() && has_nav1_glideslope();
    draw_text(g, k.f12, k.green, 10, 285, ND_TEXT_CAPACITY, ils ? "ILS 1" : "VOR 1");
    if (nav1_received())
      draw_textf(g, k.f12, k.green, 190, 285, ND_TEXT_CAPACITY, "%3.2f", get_nav1_frequency_mhz());
    else
      draw_text(g, k.f12, k.green, 190, 285, ND_TEXT_CAPACITY, "------");
    if (adf1_bearing > 1.0) {
      draw_text(g, k.f12, k.cyan, 10, 270, ND_TEXT_CAPACITY, "ADF 1");
      draw_textf(g, k.f12, k.cyan, 190, 270, ND_TEXT_CAPACITY, "%04.1f", get_adf_frequency_khz());
    }
  }

  if (mode <= 6) wind_field(g, ctx, k);

  selected_heading(g, ctx, k, mode);

  if (mode <= 2) {
    nd_frame(g, ctx, CANVAS_B737_ND, 122, 151);
    draw_line_d(g, k.white2, 0, -80, 7, -70);
    draw_line_d(g, k.white2, 7, -70, -7, -70);
    draw_line_d(g, k.white2, -7, -70, 0, -80);
    nd_frame(g, ctx, CANVAS_B737_ND);
  }

  if (mode == 7) {
    draw_text(g, k.f10, k.green, 222, 201, ND_TEXT_CAPACITY, "N");
    draw_line_d(g, k.light_green1, 227, 211, 227, 231);
    draw_line_d(g, k.light_green1, 227, 211, 230, 214);
    draw_line_d(g, k.light_green1, 227, 211, 224, 214);
  }
}
