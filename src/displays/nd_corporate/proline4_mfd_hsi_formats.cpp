// Pro Line 4 MFD formats 0 (full compass rose) and 1 (heading-up arc): air data,
// the FMS or NAV1 data block, course pointer and deviation, bearing pointers.
#include <cmath>

#include "displays/nd_corporate/proline4_mfd_common.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

// What differs between the two formats.
struct HsiGeometry {
  bool rose;                 // full rose (format 0) or arc (format 1)
  double cy;
  const char* font;          // of the texts other than the "--:--" placeholder
  double time_x;
  double box_top, box_text_y;
  double head, shaft_in, tail_out;  // course pointer radii
  double dots[4];                   // left edges of the deviation dots
  double bar;                       // half length of the deviation bar
  double nav_scale;                 // NAV 1 deviation units per design unit
  bool to_from_in_lnav;             // TO/FROM also while LNAV is on
  double to_from;                   // TO/FROM outline: tip at -to_from - 8, base at -to_from
  double label_y1, label_y2;        // bearing pointer labels
  double icon_dy;                   // pointer icons moved up
  double needle_tip;                // bearing needles: tip and tail end
  double needle_head;               // arrow head of the needles
  double needle_in;                 // inner ends of the bars and pointer 1's shaft
  double needle_tail;               // tail arrow of pointer 2
  double hdg_x, hdg_y;              // "HDG" read-out, clear of the data block and the scale labels
  double bug_r;                     // selected-heading marker radius
  double track_top;
};

constexpr HsiGeometry FORMAT0{.rose = true,
                              .cy = 170,
                              .font = FONT_ARIAL,
                              .time_x = 18,
                              .box_top = 52,
                              .box_text_y = 51,
                              .head = 100,
                              .shaft_in = 40,
                              .tail_out = 86,
                              .dots = {-33, -63, 27, 57},
                              .bar = 40,
                              .nav_scale = 127.0 / 60.0,
                              .to_from_in_lnav = false,
                              .to_from = 40,
                              .label_y1 = 80,
                              .label_y2 = 95,
                              .icon_dy = 0,
                              .needle_tip = 90,
                              .needle_head = 70,
                              .needle_in = 40,
                              .needle_tail = 60,
                              .hdg_x = 50,
                              .hdg_y = 53,
                              .bug_r = 100,
                              .track_top = 98};

constexpr HsiGeometry FORMAT1{.rose = false,
                              .cy = 200,
                              .font = FONT_ZUDUZ,
                              .time_x = 20,
                              .box_top = 42,
                              .box_text_y = 40,
                              .head = 140,
                              .shaft_in = 60,
                              .tail_out = 140,
                              .dots = {-28, -53, 22, 47},
                              .bar = 60,
                              .nav_scale = 2.54,
                              .to_from_in_lnav = true,
                              .to_from = 50,
                              .label_y1 = 50,
                              .label_y2 = 65,
                              .icon_dy = -30,
                              .needle_tip = 139,
                              .needle_head = 110,
                              .needle_in = 60,
                              .needle_tail = 100,
                              .hdg_x = -2,
                              .hdg_y = 29,
                              .bug_r = 140,
                              .track_top = 145};

// Time to go of the data block at (0, 40).
void time_to_go(GfxGraphics* g, const GfxFont* font, const GfxFont* courier, const GfxBrush* white, double distance,
                bool any_distance) {
  if ((any_distance || distance > 0) && ground_speed > 30) {
    double h, m;
    corp_time_to_go(distance, ground_speed, h, m);
    draw_textf(g, font, white, 0, 40, ND_TEXT_CAPACITY, "TTG %02.0f:%02.0f", h, m);
    return;
  }
  draw_text(g, font, white, 0, 40, ND_TEXT_CAPACITY, "TTG");
  draw_text(g, courier, white, 30, 40, ND_TEXT_CAPACITY, "--:--");
}

void data_block(GfxGraphics* g, const GfxFont* font, const GfxFont* courier, const GfxBrush* white) {
  if (lnav_on == 1 && corp_plan_active()) {
    draw_textf(g, font, white, 0, 20, ND_TEXT_CAPACITY, "FMS       CRS %03.0f", desired_track);
    draw_textf(g, font, white, 0, 30, ND_TEXT_CAPACITY, "%-5s          %3.0fNM", fpl_active[fpl_active_index].ident,
               dist_to_active_wpt);
    time_to_go(g, font, courier, white, dist_to_active_wpt, true);
    return;
  }
  if (!nav1_received()) return;
  char ident[16];
  host_ident(get_nav1_ident(), ident, sizeof ident);
  draw_textf(g, font, white, 0, 20, ND_TEXT_CAPACITY, "NAV1       CRS %03.0f", nav1_course);
  if (dme1_distance > 0)
    draw_textf(g, font, white, 0, 30, ND_TEXT_CAPACITY, "%-5s         %3.0fNM", ident, dme1_distance);
  else
    draw_textf(g, font, white, 0, 30, ND_TEXT_CAPACITY, "%-5s         ---", ident);
  time_to_go(g, font, courier, white, dme1_distance, false);
}

// Compass of format 0: fixed marks and the full heading scale.
void rose(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o, const HsiGeometry& k) {
  GfxPen* white1 = o.pen(COLOUR_WHITE, 1);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  GfxFont* z14 = o.font(FONT_ZUDUZ, 14, GFX_FONT_BOLD);
  for (int32_t a = 45; a < 360; a += 45) {
    nd_frame(g, ctx, PL4, PL4_CENTRE_X, k.cy, a);
    if (a % 90 != 0) {
      const DrawPoint mark[] = {{0, -102}, {-5, -107}, {5, -107}};
      nd_fill(g, white, mark);
    } else {
      draw_line_d(g, white2, 0, -102, 0, -114);
    }
  }
  for (int32_t h = 0; h < 360; h += 5) {
    nd_frame(g, ctx, PL4, PL4_CENTRE_X, k.cy, h - heading);
    draw_line_d(g, white1, 0, -92, 0, -98);
    if (h % 10 == 0) draw_line_d(g, white1, 0, -88, 0, -98);
    if (h % 30 == 0) draw_textf(g, z14, white, h / 10 < 10 ? -5 : -8, -86, ND_TEXT_CAPACITY, "%d", h / 10);
  }
}

// Compass of format 1: the upper half arc, the half-range arc, range labels and marks.
void arc(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o, const HsiGeometry& k) {
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  GfxFont* z12 = o.font(FONT_ZUDUZ, 12, GFX_FONT_BOLD);
  nd_frame(g, ctx, PL4, PL4_CENTRE_X, k.cy);
  draw_arc_d(g, white2, -140, -140, 280, 280, 180, 180);
  draw_arc_d(g, white2, -70, -70, 140, 140, 200, 350);
  const double range = proline4_mfd_range;
  if (std::isfinite(range) && range > 0) {
    draw_textf(g, z12, white, PL4_RANGE_X, -65, ND_TEXT_CAPACITY, "%-3.1f", range);
    draw_textf(g, z12, white, -85, -25, ND_TEXT_CAPACITY, range == 5 ? "%3.1f" : "%3.0f", range / 2);
  }
  for (int32_t a = 0; a < 360; a += 30) {
    nd_frame(g, ctx, PL4, PL4_CENTRE_X, k.cy, a);
    draw_line_d(g, white2, 0, -67, 0, -73);
  }
  pl4_arc_heading_scale(g, ctx, k.cy, k.box_top, white2, z12, 12, white);
}

void course_pointer(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o, const HsiGeometry& k) {
  GfxPen* white1 = o.pen(COLOUR_WHITE, 1);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  const bool fms = lnav_on == 1;
  const bool nav1 = nav1_received();
  const double course = fms ? desired_track : nav1_course;
  double d = 0;
  if (fms)
    d = std::trunc(corp_cross_track_nm() / 0.1);
  else if (nav1)
    d = corp_offset(nav_token40 / k.nav_scale);

  nd_frame(g, ctx, PL4, PL4_CENTRE_X, k.cy, course - heading);
  const double base = k.head - 14;
  draw_line_d(g, white2, 0, -k.head, 6, -base);
  draw_line_d(g, white2, 0, -k.head, -6, -base);
  draw_line_d(g, white2, -6, -base, 6, -base);
  draw_line_d(g, white2, 0, -k.shaft_in, 0, -base);
  for (double x : k.dots) draw_ellipse_d(g, white1, x, -3, 6, 6);
  draw_line_d(g, white2, d, k.bar, d, -k.bar);
  draw_line_d(g, white2, 0, k.shaft_in, 0, k.tail_out);
  if (!nav1 || (fms && !k.to_from_in_lnav)) return;
  // The triangle's tip points to the station side.
  const double s = nav_shows_to(station_bearing(nav_rel_bearing, heading), nav1_course) ? -1 : 1;
  const DrawPoint tri[] = {{0, s * (k.to_from + 8)}, {6, s * k.to_from}, {-6, s * k.to_from}, {0, s * (k.to_from + 8)}};
  nd_polyline(g, white2, tri);
}

// Bearing pointer 2 (cyan, two bars) and 1 (magenta, one bar).
void bearing_pointers(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o, const HsiGeometry& k,
                      const GfxFont* label_font) {
  const double tip = k.needle_tip, head = k.needle_head, in = k.needle_in, tail = k.needle_tail;
  const double dy = k.icon_dy;

  if (const Proline4Pointer p = pl4_pointer(2, proline4_mfd_brg2_source); p.label) {
    GfxPen* pen1 = o.pen(CORP_CYAN, 1);
    GfxPen* pen2 = o.pen(CORP_CYAN, 2);
    nd_frame(g, ctx, PL4, PL4_CENTRE_X, k.cy);
    draw_text(g, label_font, o.brush(CORP_CYAN), -123, k.label_y2, ND_TEXT_CAPACITY, p.label);
    draw_line_d(g, pen1, -80, 98 + dy, -80, 101 + dy);
    draw_line_d(g, pen1, -80, 101 + dy, -78, 104 + dy);
    draw_line_d(g, pen1, -80, 101 + dy, -82, 104 + dy);
    draw_line_d(g, pen1, -81, 103 + dy, -81, 108 + dy);
    draw_line_d(g, pen1, -79, 104 + dy, -79, 108 + dy);
    if (p.shown) {
      nd_frame(g, ctx, PL4, PL4_CENTRE_X, k.cy, p.angle);
      draw_line_d(g, pen2, 0, -head, 0, -tip);
      draw_line_d(g, pen2, 0, -head, -8, -head + 10);
      draw_line_d(g, pen2, 0, -head, 8, -head + 10);
      draw_line_d(g, pen2, -4, -head + 6, -4, -in);
      draw_line_d(g, pen2, 4, -head + 6, 4, -in);
      draw_line_d(g, pen2, 0, tail, 0, tip);
      draw_line_d(g, pen2, 0, tail, -8, tail + 10);
      draw_line_d(g, pen2, 0, tail, 8, tail + 10);
      draw_line_d(g, pen2, -4, tail + 4, -4, in);
      draw_line_d(g, pen2, 4, tail + 4, 4, in);
    }
  }
  if (const Proline4Pointer p = pl4_pointer(1, proline4_mfd_brg1_source); p.label) {
    GfxPen* pen1 = o.pen(COLOUR_MAGENTA, 1);
    GfxPen* pen2 = o.pen(COLOUR_MAGENTA, 2);
    nd_frame(g, ctx, PL4, PL4_CENTRE_X, k.cy);
    draw_text(g, label_font, o.brush(COLOUR_MAGENTA), -123, k.label_y1, ND_TEXT_CAPACITY, p.label);
    draw_line_d(g, pen1, -80, 83 + dy, -80, 93 + dy);
    draw_line_d(g, pen1, -80, 86 + dy, -78, 89 + dy);
    draw_line_d(g, pen1, -80, 86 + dy, -82, 89 + dy);
    if (p.shown) {
      nd_frame(g, ctx, PL4, PL4_CENTRE_X, k.cy, p.angle);
      draw_line_d(g, pen2, 0, -in, 0, -tip);
      draw_line_d(g, pen2, 0, -head, -8, -head + 10);
      draw_line_d(g, pen2, 0, -head, 8, -head + 10);
      draw_line_d(g, pen2, 0, in, 0, tip);
    }
  }
}

void hsi_format(const GaugeSurface* ctx, GfxGraphics* g, const HsiGeometry& k) {
  LayerObjects o(g);
  GfxFont* f9 = o.font(k.font, 9, GFX_FONT_BOLD);
  GfxFont* f12 = o.font(k.font, 12, GFX_FONT_BOLD);
  GfxFont* f13 = o.font(k.font, 13, GFX_FONT_BOLD);
  GfxFont* z13 = o.font(FONT_ZUDUZ, 13, GFX_FONT_BOLD);
  GfxFont* courier = o.font(FONT_COURIER_NEW, 12, GFX_FONT_BOLD);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxPen* magenta2 = o.pen(COLOUR_MAGENTA, 2);
  GfxPen* dashed = o.pen(COLOUR_MAGENTA, 1, GFX_DASH_DASH);
  GfxPen* green2 = o.pen(COLOUR_GREEN, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  GfxBrush* magenta = o.brush(COLOUR_MAGENTA);
  GfxBrush* background = o.brush(
      nd_background_colour(PROLINE4MFDBkgrdColorRed, PROLINE4MFDBkgrdColorGreen, PROLINE4MFDBkgrdColorBlue));

  nd_frame(g, ctx, PL4);
  draw_text(g, o.font(k.font, PL4_WX_PX, GFX_FONT_BOLD), o.brush(CORP_CYAN), 0, 0, ND_TEXT_CAPACITY, "WX");
  pl4_header(g, o, f9, {.y = 10, .time_x = k.time_x, .sat_x = 180, .tat_x = 220, .tat = token341});
  data_block(g, f12, courier, white);

  if (k.rose)
    rose(g, ctx, o, k);
  else
    arc(g, ctx, o, k);
  pl4_heading_box(g, ctx, background, white2, z13, white, k.box_top, k.box_text_y);
  course_pointer(g, ctx, o, k);
  bearing_pointers(g, ctx, o, k, f13);

  nd_frame(g, ctx, PL4);
  if (hdg_change_countdown > 0) pl4_selected_heading_readout(g, f9, magenta, k.hdg_x, k.hdg_y);
  pl4_selected_heading(g, ctx, k.cy, k.bug_r, magenta2, dashed);
  pl4_track_marker(g, ctx, k.cy, k.track_top, green2);
  pl4_aircraft(g, ctx, k.cy, white2);
}

}  // namespace

void proline4_mfd_hsi_format_draw(const GaugeSurface* ctx, GfxGraphics* g) { hsi_format(ctx, g, FORMAT0); }

void proline4_mfd_heading_format_draw(const GaugeSurface* ctx, GfxGraphics* g) { hsi_format(ctx, g, FORMAT1); }
