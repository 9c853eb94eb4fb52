// Pro Line 4 MFD formats 2 (PLAN, north up about a plan waypoint) and 3 (MAP,
// heading up about the aircraft): air data, the FROM / TO / NEXT / destination
// summary with times of arrival and fuel, wind, and the map furniture.
#include <cmath>

#include "displays/nd_corporate/proline4_mfd_common.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "module/display_state.h"
#include "module/sim_vars.h"

namespace {

// What differs between the two formats' summaries.
struct SummaryLayout {
  double header_y;
  double rows[4];
  double wind_y;
  double time_x, sat_x, tat_x;
  const char* wind_format;
  double wx_px;  // "WX", small enough to clear the header row
};

constexpr SummaryLayout PLAN_LAYOUT{.header_y = 9,
                                    .rows = {22, 31, 40, 49},
                                    .wind_y = 58,
                                    .time_x = 20,
                                    .sat_x = 180,
                                    .tat_x = 220,
                                    .wind_format = "%03.0f / %-2.0f",
                                    .wx_px = 9};
constexpr SummaryLayout MAP_LAYOUT{.header_y = 10,
                                   .rows = {20, 30, 40, 50},
                                   .wind_y = 60,
                                   .time_x = 21,
                                   .sat_x = 186,
                                   .tat_x = 226,
                                   .wind_format = "%03.0f/%-2.0f",
                                   .wx_px = PL4_WX_PX};

constexpr double CHAR_ADVANCE = 6.4;
constexpr double KG_PER_LB = 0.45359237;

struct SummaryFonts {
  const GfxFont* arial11;
  const GfxFont* zuduz11;
  const GfxFont* courier12;
};

bool weight_in_kg() { return WeightUnit == "KGS"; }
const char* weight_unit() { return weight_in_kg() ? "KG" : "LB"; }

double gc_nm(const FlightPlanWpt& a, double lat, double lon) {
  double d = 0, c = 0;
  compute_gc_distance_course(a.lat, a.lon, lat, lon, d, c);
  return std::isfinite(d) ? d : 0;
}

// One summary row: ident, distance, and the placeholders or times the caller adds.
class SummaryRow {
 public:
  SummaryRow(GfxGraphics* g, const SummaryFonts& f, const GfxBrush* brush, double y)
      : g_(g), f_(f), brush_(brush), y_(y) {}

  // "-----" over the dashes of an empty line and "NM" after them.
  void empty(const char* pattern) {
    draw_textf(g_, f_.courier12, brush_, 0, y_, ND_TEXT_CAPACITY, pattern, "-----");
    draw_text(g_, f_.arial11, brush_, 81, y_, ND_TEXT_CAPACITY, "NM");
  }
  void ident(const char* text) { draw_textf(g_, f_.arial11, brush_, 0, y_, ND_TEXT_CAPACITY, "%-6s", text); }
  void distance(double nm) {
    corp_draw_right(g_, f_.zuduz11, brush_, 73, y_, CHAR_ADVANCE, corp_format(false, "%.0f", nm));
    draw_text(g_, f_.arial11, brush_, 80, y_, ND_TEXT_CAPACITY, "NM");
  }
  void placeholder(const char* text) { draw_text(g_, f_.courier12, brush_, 97, y_, ND_TEXT_CAPACITY, text); }
  void text(const GfxFont* font, double x, const char* s) { draw_text(g_, font, brush_, x, y_, ND_TEXT_CAPACITY, s); }
  // Time to go and time of arrival of `nm` at the ground speed (above 30 kt).
  void times(double nm) {
    double h, m;
    corp_time_to_go(nm, ground_speed, h, m);
    corp_draw_right(g_, f_.zuduz11, brush_, 113, y_, CHAR_ADVANCE, corp_format(false, "%.0f", h));
    draw_text(g_, f_.courier12, brush_, 119, y_, ND_TEXT_CAPACITY, ":");
    draw_textf(g_, f_.zuduz11, brush_, 127, y_, ND_TEXT_CAPACITY, "%02.0f", m);
    int32_t ah = 0, am = 0;
    eta_clock(zulu_hour, zulu_minute, h, m, ah, am);
    draw_textf(g_, f_.zuduz11, brush_, 150, y_, ND_TEXT_CAPACITY, "%02.0f", double(ah));
    draw_text(g_, f_.courier12, brush_, 164, y_, ND_TEXT_CAPACITY, ":");
    draw_textf(g_, f_.zuduz11, brush_, 171, y_, ND_TEXT_CAPACITY, "%02d", am);
  }

 private:
  GfxGraphics* g_;
  const SummaryFonts& f_;
  const GfxBrush* brush_;
  double y_;
};

// Fuel at the destination after `d` NM beyond the next waypoint, in the weight unit.
double fuel_at_destination(double d) {
  const double gs = ground_speed;
  double speed = gs;
  if (d > 100) speed = (DescentIas * 0.85 * 100 + (d - 100) * gs) / d;
  double burn = 0;
  if (speed > 0) {
    burn = get_total_fuel_flow() * (d / speed);
    if (gs > speed) burn *= speed / gs;
  }
  const double fuel = read_fuel_on_board() - burn;
  return weight_in_kg() ? fuel * KG_PER_LB : fuel;
}

void summary(GfxGraphics* g, LayerObjects& o, const SummaryFonts& f, const SummaryLayout& k) {
  const bool plan = corp_plan_active();
  const int32_t i = fpl_active_index, last = fpl_active_last;
  const bool moving = ground_speed > 30;

  // FROM: the record before the active one; the first record has none.
  SummaryRow from(g, f, o.brush(CORP_CYAN), k.rows[0]);
  if (!plan || i < 1) {
    from.empty("%-8s---    -:--");
  } else if (const FlightPlanWpt& w = fpl_active[i - 1]; w.eta[0] != '\0' && fpl_placed(w)) {
    from.ident(w.ident);
    from.distance(gc_nm(w, present_lat, present_lon));
    from.placeholder("  -:--");
    from.text(f.arial11, 150, w.eta);
  } else {
    from.text(f.courier12, 0, "-----");
    from.distance(0);
    from.placeholder("  -:--");
  }

  SummaryRow to(g, f, o.brush(COLOUR_MAGENTA), k.rows[1]);
  if (!plan) {
    to.empty("%-8s---    -:-- --:--");
  } else {
    to.ident(fpl_active[i].ident);
    to.distance(dist_to_active_wpt);
    if (moving)
      to.times(dist_to_active_wpt);
    else
      to.placeholder("  -:-- --:--");
  }

  GfxBrush* white = o.brush(COLOUR_WHITE);
  SummaryRow next(g, f, white, k.rows[2]);
  double next_nm = dist_to_active_wpt;
  if (!plan || last - i < 2) {
    next.empty("%-8s---    -:-- --:--");
  } else if (fpl_route_break(fpl_active[i + 1])) {
    // A route break has no position: named without distance or time.
    next.ident(fpl_active[i + 1].ident);
  } else {
    next_nm += fpl_distance_along(fpl_active, last, i, i + 1);
    next.ident(fpl_active[i + 1].ident);
    next.distance(next_nm);
    if (moving)
      next.times(next_nm);
    else
      next.placeholder("  -:-- --:--");
  }

  SummaryRow dest(g, f, white, k.rows[3]);
  if (!plan) {
    dest.empty("%-8s---    -:-- --:-- ----");
    dest.text(f.arial11, 225, weight_unit());
    return;
  }
  // Along the route beyond the NEXT waypoint, or beyond the TO waypoint when NEXT is the
  // last record (not the last record to itself, which would leave its leg out); nothing
  // lies beyond a last active waypoint. A route break beyond is stepped over.
  const int32_t beyond = last - i >= 2 && !fpl_route_break(fpl_active[i + 1]) ? i + 1 : i;
  const double d = fpl_distance_along(fpl_active, last, beyond, last);
  const double total = next_nm + d;
  dest.ident(fpl_active[last].ident);
  dest.distance(total);
  if (!moving) {
    dest.placeholder("  -:-- --:-- ----");
    dest.text(f.arial11, 225, weight_unit());
    return;
  }
  dest.times(total);
  const CorpText fuel = toc_reached == 1 ? corp_format(false, "%.0f%s", fuel_at_destination(d), weight_unit())
                                        : corp_format(false, "---%s", weight_unit());
  dest.text(f.arial11, 190, fuel.s.c_str());
}

// Header, summary and wind line of either format.
void summary_block(GfxGraphics* g, const GaugeSurface* ctx, LayerObjects& o, const SummaryLayout& k) {
  const SummaryFonts f{o.font(FONT_ARIAL, 11, GFX_FONT_BOLD), o.font(FONT_ZUDUZ, 11, GFX_FONT_BOLD),
                       o.font(FONT_COURIER_NEW, 12, GFX_FONT_BOLD)};
  nd_frame(g, ctx, PL4);
  draw_text(g, o.font(FONT_ARIAL, k.wx_px, GFX_FONT_BOLD), o.brush(CORP_CYAN), 0, 0, ND_TEXT_CAPACITY, "WX");
  pl4_header(g, o, o.font(FONT_ARIAL, 9, GFX_FONT_BOLD),
             {.y = k.header_y, .time_x = k.time_x, .sat_x = k.sat_x, .tat_x = k.tat_x,
              .tat = get_total_air_temperature_c()});
  summary(g, o, f, k);
  draw_textf(g, f.zuduz11, o.brush(COLOUR_WHITE), 0, k.wind_y, ND_TEXT_CAPACITY, k.wind_format, wind_direction,
             wind_speed);
}

bool range_usable(double range) { return std::isfinite(range) && range > 0; }

}  // namespace

void proline4_mfd_plan_format_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode) {
  LayerObjects o(g);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  summary_block(g, ctx, o, PLAN_LAYOUT);

  const double range = proline4_mfd_range;
  nd_frame(g, ctx, PL4, PL4_CENTRE_X, 155);
  draw_ellipse_d(g, white2, -70, -70, 150, 150);
  if (range_usable(range))
    draw_textf(g, o.font(FONT_ARIAL, 11, GFX_FONT_BOLD), white, range >= 100 ? -10 : -7, -70, ND_TEXT_CAPACITY,
               "%-3.0f", range);
  proline4_mfd_map_draw(ctx, g, draw_mode);
  nd_frame(g, ctx, PL4);
  draw_text(g, o.font(FONT_ARIAL, 13, GFX_FONT_BOLD), white, 118, 70, ND_TEXT_CAPACITY, "N");
  pl4_wind_arrow(g, ctx, white2, true);
}

void proline4_mfd_map_format_draw(const GaugeSurface* ctx, GfxGraphics* g, int32_t draw_mode) {
  LayerObjects o(g);
  GfxPen* white2 = o.pen(COLOUR_WHITE, 2);
  GfxBrush* white = o.brush(COLOUR_WHITE);
  GfxFont* z11 = o.font(FONT_ZUDUZ, 11, GFX_FONT_BOLD);
  constexpr double CY = 220;
  summary_block(g, ctx, o, MAP_LAYOUT);

  const double range = proline4_mfd_range;
  nd_frame(g, ctx, PL4, PL4_CENTRE_X, CY);
  draw_arc_d(g, white2, -140, -140, 280, 280, 360, 360);
  draw_arc_d(g, white2, -70, -70, 140, 140, 200, 350);
  if (range_usable(range)) {
    draw_textf(g, z11, white, PL4_RANGE_X, -65, ND_TEXT_CAPACITY, "%-3.0f", range);
    draw_textf(g, z11, white, -85, -25, ND_TEXT_CAPACITY, range == 5 ? "%3.1f" : "%3.0f", range / 2);
    map_px_per_nm = proline4_mfd_map_radius / range;
  }
  for (int32_t a = 0; a < 360; a += 30) {
    nd_frame(g, ctx, PL4, PL4_CENTRE_X, CY, a);
    if (a < 150 || a > 210) draw_line_d(g, white2, 0, -68, 0, -72);
    if (range_usable(range) && range <= 20)
      draw_line_d(g, white2, 0, std::trunc(-1.5 * map_px_per_nm), 0, std::trunc(-2 * map_px_per_nm));
  }
  constexpr double BOX_TOP = 62;
  pl4_arc_heading_scale(g, ctx, CY, BOX_TOP, white2, z11, 11, white);
  proline4_mfd_map_draw(ctx, g, draw_mode);

  pl4_heading_box(
      g, ctx,
      o.brush(nd_background_colour(PROLINE4MFDBkgrdColorRed, PROLINE4MFDBkgrdColorGreen, PROLINE4MFDBkgrdColorBlue)),
      white2, o.font(FONT_ZUDUZ, 13, GFX_FONT_BOLD), white, BOX_TOP, 61);
  pl4_wind_arrow(g, ctx, white2, false);
  nd_frame(g, ctx, PL4);
  if (hdg_change_countdown >= 1)
    pl4_selected_heading_readout(g, o.font(FONT_ARIAL, 9, GFX_FONT_BOLD), o.brush(COLOUR_MAGENTA), -2, 61);
  pl4_selected_heading(g, ctx, CY, 140, o.pen(COLOUR_MAGENTA, 2), o.pen(COLOUR_MAGENTA, 1, GFX_DASH_DASH));
  pl4_track_marker(g, ctx, CY, 145, o.pen(COLOUR_GREEN, 2));
  pl4_aircraft(g, ctx, CY, white2);
}
