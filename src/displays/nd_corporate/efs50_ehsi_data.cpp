// EFS 50 EHSI text fields of formats 1 to 7: course, TO/FROM, source, distance,
// ground speed, time to go, bearing legends, "WX OFF", "NO MAP", the selected
// heading and the wind.
#include <cmath>

#include "displays/nd_corporate/efs50_common.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

// Right-aligned fields: x by the trimmed text's length.
constexpr double DISTANCE_X[] = {218, 210, 202, 194, 187};  // lengths 3..7
constexpr double SPEED_X[] = {230, 223, 214, 207};          // lengths 1..4
constexpr double TIME_X[] = {230, 222};                     // lengths 4..5
// The legends and "WX OFF" stand on rows 10 units apart: at 11 px their ink keeps 2 units
// between rows (at 14 px rows touch).
constexpr double ROW_PX = 11, LEGEND_MIN_PX = 7;

// One bearing legend: symbol, label, value, "NM" and, when invalid, a red cross.
struct LegendPlace {
  double x;                     // label and value
  uint32_t colour;
  const char* nav_label;
};
constexpr LegendPlace LEGENDS[2] = {{.x = 30, .colour = CORP_CYAN, .nav_label = "VOR 1"},
                                    {.x = 210, .colour = COLOUR_MAGENTA, .nav_label = "VOR 2"}};

// Height of a line of `font`, world units (0 when it cannot be measured).
double line_height(GfxGraphics* g, const GfxFont* font) {
  const char16_t digit[] = u"0";
  GfxRectF box{};
  return gfx_measure_string(g, digit, 1, font, &box) == GFX_OK ? box.height : 0;
}

void legend(GfxGraphics* g, LayerObjects& o, const GfxFont* font, int32_t pointer, int32_t source) {
  if (source < 1 || source > 3) return;
  const LegendPlace& k = LEGENDS[pointer - 1];
  GfxBrush* brush = o.brush(k.colour);
  GfxPen* pen = o.pen(k.colour, 1);
  if (pointer == 1) {
    const DrawPoint tri[] = {{20, 205}, {25, 210}, {15, 210}};
    nd_fill(g, brush, tri);
    draw_line_d(g, pen, 20, 210, 20, 220);
  } else {
    const DrawPoint tri[] = {{200, 205}, {205, 210}, {195, 210}};
    nd_fill(g, brush, tri);
    draw_line_d(g, pen, 197, 210, 197, 220);
    draw_line_d(g, pen, 203, 210, 203, 220);
  }
  const char* label = "ADF";
  CorpText value{"---"};
  bool valid = adf1_bearing >= 1.0;
  if (source == 1) {
    label = k.nav_label;
    valid = (pointer == 1 ? get_nav1_signal() : get_nav2_signal()) > 0;
    if (valid) value = corp_format(false, "%3.1f", pointer == 1 ? dme1_distance : nav_token35);
  } else if (source == 2) {
    label = "FMS";
    valid = corp_plan_active();
    if (valid) value = corp_format(false, "%4.1f", dist_to_active_wpt);
  }
  draw_text(g, font, brush, k.x, 200, ND_TEXT_CAPACITY, label);
  // "NM" right after the value's measured box (the columns of 14 px do not fit the row
  // size). Where the pair would run into the lateral scale (formats 1 to 3) or off the
  // screen, both take the largest smaller size that fits.
  const double right = pointer == 1 && efs50_ehsi_mode <= 3 ? EFS50_CX - 57 : EFS50.width - 1;
  const GfxFont* f = font;
  double nm_x = k.x + text_width(g, f, ND_TEXT_CAPACITY, value.s.c_str());
  for (double px = ROW_PX - 1; px >= LEGEND_MIN_PX && nm_x + text_width(g, f, ND_TEXT_CAPACITY, "NM") > right;
       --px) {
    f = o.font(FONT_ARIAL, px, GFX_FONT_BOLD);
    nm_x = k.x + text_width(g, f, ND_TEXT_CAPACITY, value.s.c_str());
  }
  // A smaller pair keeps the foot of the row: clear of the label above.
  const double y = 210 + line_height(g, font) - line_height(g, f);
  draw_text(g, f, brush, k.x, y, ND_TEXT_CAPACITY, value.s.c_str());
  if (!value.s.empty()) draw_text(g, f, brush, nm_x, y, ND_TEXT_CAPACITY, "NM");
  if (!valid) {
    GfxPen* red = o.pen(EFS50_RED, 1);
    draw_line_d(g, red, k.x, 202, k.x + 30, 208);
    draw_line_d(g, red, k.x, 208, k.x + 30, 202);
  }
}

// Distance and speed of the time to go, or false when none shows.
bool time_to_go_source(double& distance, double& speed) {
  if (!(ground_speed > 50)) return false;
  if (EFS50NavMode == 1) {
    distance = dme1_distance;
    speed = dme2_distance;
  } else {
    if (!corp_plan_active()) return false;
    distance = dist_to_active_wpt;
    speed = ground_speed;
  }
  return distance > 0 && speed > 0;
}

// Selected heading in formats 4..7, beside the arc on the side the knob's heading
// lies the shorter way round, once it is off the visible arc.
void selected_heading_off_arc(GfxGraphics* g, const GaugeSurface* ctx, const GfxFont* font, const GfxBrush* amber,
                              const CorpText& text) {
  const double diff = wrap360(ap_heading - heading);  // clockwise from the heading
  if (!(diff > 45 && diff < 315)) return;
  if (diff <= 180)
    nd_frame(g, ctx, EFS50, 220, 85, 40);
  else
    nd_frame(g, ctx, EFS50, 15, 105, -40);
  draw_text(g, font, amber, 0, 0, ND_TEXT_CAPACITY, text.s.c_str());
}

}  // namespace

void efs50_ehsi_data_overlay_draw(const GaugeSurface* ctx, GfxGraphics* g) {
  LayerObjects o(g);
  GfxFont* a10 = o.font(FONT_ARIAL, 10, GFX_FONT_BOLD);
  GfxFont* a14 = o.font(FONT_ARIAL, 14, GFX_FONT_BOLD);
  GfxBrush* source = o.brush(efs50_source_colour());
  GfxBrush* white = o.brush(COLOUR_WHITE);
  const int32_t mode = efs50_ehsi_mode;
  const bool nav = EFS50NavMode == 1;
  const bool plan = corp_plan_active();
  nd_frame(g, ctx, EFS50);

  GfxBrush* cyan = o.brush(CORP_CYAN);
  if (nav)
    draw_textf(g, a14, cyan, 0, 0, ND_TEXT_CAPACITY, "CRS %03.0f", nav1_course);
  else if (plan)
    draw_textf(g, a14, cyan, 0, 0, ND_TEXT_CAPACITY, "DTK %03.0f", desired_track);
  else
    draw_text(g, a14, cyan, 0, 0, ND_TEXT_CAPACITY, "DTK ---");

  // Without a NAV signal the field falls back to the plan's desired track.
  bool to = true, shown = false;
  if (nav && nav1_received()) {
    to = nav_shows_to(station_bearing(nav_rel_bearing, heading), nav1_course);
    shown = true;
  } else if (plan) {
    to = nav_shows_to(desired_track, heading);
    shown = true;
  }
  if (efs50_map_format(mode) && shown) draw_text(g, a10, white, 60, 3, ND_TEXT_CAPACITY, to ? "TO" : "FR");
  if (wind_speed >= 1.0) draw_textf(g, a14, source, 15, 15, ND_TEXT_CAPACITY, "%4.0f", wind_speed);

  const char* letters = !nav ? "FMS" : is_nav1_localizer() ? "LOC" : "VOR";
  for (int32_t i = 0; i < 3; ++i) {
    const char letter[2] = {letters[i], '\0'};
    draw_text(g, a14, source, 0, 90 + 15 * i, ND_TEXT_CAPACITY, letter);
  }

  CorpText distance{"---"};
  if (nav && dme1_distance > 0)
    distance = corp_format(true, "%4.1f", dme1_distance);
  else if (!nav && plan)
    distance = corp_format(true, "%4.1f", dist_to_active_wpt);
  draw_text(g, a14, source, corp_x_by_length(DISTANCE_X, 3, distance.n()), 0, ND_TEXT_CAPACITY, distance.s.c_str());
  draw_text(g, a14, source, 240, 0, ND_TEXT_CAPACITY, "NM");

  const CorpText speed = corp_format(true, "%4.0f", ground_speed);
  draw_text(g, a14, source, corp_x_by_length(SPEED_X, 1, speed.n()), 15, ND_TEXT_CAPACITY, speed.s.c_str());
  draw_text(g, a14, source, 240, 15, ND_TEXT_CAPACITY, "KT");

  double dist = 0, spd = 0;
  if (time_to_go_source(dist, spd)) {
    double h, m;
    corp_time_to_go(dist, spd, h, m);
    const CorpText t = corp_format(true, "%2.0f:%02.0f", h, m);
    draw_text(g, a14, source, corp_x_by_length(TIME_X, 4, t.n()), 30, ND_TEXT_CAPACITY, t.s.c_str());
  }

  GfxFont* rows = o.font(FONT_ARIAL, ROW_PX, GFX_FONT_BOLD);
  legend(g, o, rows, 1, efs50_brg1_source);
  legend(g, o, rows, 2, efs50_brg2_source);
  if (mode == 2 || mode == 6 || mode == 7) draw_text(g, rows, white, 0, 190, ND_TEXT_CAPACITY, "WX OFF");
  if (efs50_map_format(mode) && (nav ? !nav1_received() : !plan))
    draw_text(g, a10, white, 110, mode <= 3 ? 155 : 45, ND_TEXT_CAPACITY, "NO MAP");

  // The knob's heading, 0 shown as 360, with the code-page degree sign.
  const double selected = wrap360(ap_heading);
  const CorpText sel = corp_format(false, "%03.0f\xB0", selected < 0.5 ? 360.0 : selected);
  GfxBrush* amber = o.brush(COLOUR_AMBER);
  if (mode <= 3)
    draw_text(g, a14, amber, 208, 180, ND_TEXT_CAPACITY, sel.s.c_str());
  else
    selected_heading_off_arc(g, ctx, a14, amber, sel);

  if (wind_speed >= 1.0) {
    double w = wind_direction + 180;
    if (w > 360) w -= 360;
    nd_frame(g, ctx, EFS50, 10, 22, w - heading);
    const DrawPoint arrow[] = {{0, -6}, {5, -1}, {-5, -1}};
    nd_fill(g, white, arrow);
    draw_line_d(g, o.pen(COLOUR_WHITE, 2), 0, -1, 0, 6);
  }
}
