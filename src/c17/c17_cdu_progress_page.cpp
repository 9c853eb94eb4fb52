// PROGRESS: the last waypoint passed, then distance, ETA and fuel for the active and
// next waypoints and the destination, the fuel quantity and the wind.
#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/eta_clock.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "module/sim_vars.h"
#include "cdu/smiths/smiths_cdu.h"

namespace {

constexpr int32_t PAGE_NAV_STATUS = 31;  // not drawn by this unit

double weight_shown(double lb) { return lb * (WeightUnit == "KGS" ? kg_per_lb : 1.0) / 1000.0; }

// ETA at (190, y) and fuel remaining at (290, y) for `dist` NM at `speed` kt; the fuel
// burnt on the way is scaled by `burn_scale`.
void eta_and_fuel(const CduPage& p, double y, double dist, double speed, double burn_scale) {
  if (!(speed > 0)) return;
  const double minutes = dist / speed * 60.0;
  const double needed = get_total_fuel_flow() * (minutes / 60.0) * burn_scale;
  const bool local = DispETALocalTime == 1;
  int32_t h = 0, m = 0;
  eta_clock(local ? clock_hour : zulu_hour, zulu_minute, 0, minutes, h, m);
  cdu_largef(p, 190, y, "%02d%02d%s", int(h), int(m), local ? "L" : "Z");
  cdu_largef(p, 290, y, "%3.1f", weight_shown(get_fuel_on_board_weight() - needed));
}

// Distance right-aligned to x 122.
void distance(const CduPage& p, double y, double d) {
  const std::string text = cdu_format("%.0f", d);
  cdu_large(p, 122.0 - 10.0 * double(text.size()), y, text);
}

void progress_key() {
  if (c17_cdu_pending_lsk == 11) {
    c17_cdu_page = C17_CDU_MSN_INDEX;
  } else if (c17_cdu_pending_lsk == 12) {
    smiths_refresh_nearest_vors();
    c17_cdu_page = PAGE_NAV_STATUS;
  }
}

// The next row: the record after the active one, its leg course and its distance from
// the aircraft along the route; a route break shows its ident only.
void draw_next_row(const CduPage& p, GfxFont* course_font, int32_t index, int32_t last, bool timed) {
  const FlightPlanWpt& n = fpl_active[index + 1];
  cdu_largef(p, 0, 124, "%-5s", n.ident);
  double leg = 0.0;
  const double next_dist = fpl_distance_to_go(index + 1);
  if (next_dist < 0.0) return;
  distance(p, 124, next_dist);
  if (fpl_leg_into(fpl_active, last, index + 1, leg)) {
    const FlightPlanWpt& from = fpl_active[fpl_placed_before(fpl_active, index + 1)];
    double unused = 0, course = 0;
    compute_gc_distance_course(from.lat, from.lon, n.lat, n.lon, unused, course);
    const std::string crs = cdu_format("%03.0f \xB0", magnetic_course(course));
    draw_text(p.g, course_font, p.green, 30, 112, DRAW_TEXT_MAX, crs.c_str());
  }
  if (timed) eta_and_fuel(p, 124, next_dist, ground_speed, 1.0);
}

// Distance to the destination: from the aircraft through the active fix, then along the
// placed records; straight to it without an active record.
double destination_distance(bool active, int32_t last) {
  const double along = active ? fpl_distance_to_go(last) : -1.0;
  if (along >= 0.0) return along;
  const FlightPlanWpt& dest = fpl_active[last];
  return compute_gc_distance(present_lat, present_lon, dest.lat, dest.lon);
}

void draw_route_rows(const CduPage& p, GfxFont* course_font) {
  const int32_t last = fpl_active_last < FPL_CAPACITY ? fpl_active_last : FPL_CAPACITY - 1;
  const int32_t index = fpl_active_index;
  const bool active = index >= 0 && index <= last;
  const bool timed = active && ground_speed > 75.0;
  if (active) {
    const bool gap = fpl_route_break(fpl_active[index]);
    cdu_largef(p, 0, 83, "%-5s", fpl_active[index].ident);
    if (!gap) {
      const std::string brg = cdu_format("%03.0f \xB0", bearing_to_active_wpt);
      draw_text(p.g, course_font, p.green, 30, 71, DRAW_TEXT_MAX, brg.c_str());
      distance(p, 83, dist_to_active_wpt);
      if (timed) eta_and_fuel(p, 83, dist_to_active_wpt, ground_speed, 1.0);
    }
  }
  if (active && index + 1 < last) draw_next_row(p, course_font, index, last, timed);

  const FlightPlanWpt& dest = fpl_active[last];
  cdu_largef(p, 0, 165, "%-5s", dest.ident);
  if (fpl_route_break(dest)) return;
  const double d = destination_distance(active, last);
  distance(p, 165, d);
  // Beyond 100 NM the last 100 NM are flown at the descent speed.
  const double speed = d > 100.0 ? ((d - 100.0) * ground_speed + DescentIas * 0.8 * 100.0) / d : ground_speed;
  if (active && speed > 60.0)
    eta_and_fuel(p, 165, d, speed, ground_speed > speed && ground_speed > 0 ? speed / ground_speed : 1.0);
}

// The FROM line: each value under its header's word, whatever the ident's length.
void draw_from_line(const CduPage& p) {
  static const std::string header = "F R O M          A L T                        A T A                F U E L";
  cdu_small(p, 0, 30, header);
  if (fpl_active_index < 2 || fpl_active_index == FPL_NO_PLAN) return;
  auto column = [](const char* word) { return cdu_text_width(header.substr(0, header.find(word)), CDU_SMALL_PX); };
  // A long ident ("HOLD PPOS") is drawn smaller to end clear of the altitude.
  cdu_large_within(p, 0, 42, last_wpt_ident, 0, column("A L T") - 8.0);
  if (last_wpt_altitude >= TransAlt) cdu_largef(p, column("A L T"), 42, "FL%3.0f", last_wpt_altitude / 100.0);
  else cdu_largef(p, column("A L T"), 42, "%5.0f", last_wpt_altitude);
  cdu_large(p, column("A T A"), 42, last_wpt_time);
  cdu_largef(p, column("F U E L"), 42, "%3.1f", fuel_at_last_wpt / 1000.0);
}

}  // namespace

void c17_cdu_progress_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_MISSION_CANVAS);
  progress_key();
  cdu_large(p, 63, 0, "PROGRESS");
  draw_from_line(p);
  cdu_small(p, 92, 71, "D T G                      E T A               F U E L");
  GfxFont* course_font = gfx_font_create(p.g, p.family, 15, GFX_FONT_REGULAR);
  if (fpl_active_last > 0) draw_route_rows(p, course_font);
  gfx_font_delete(course_font);

  double y = (fpl_active_last > 0 ? 165.0 : 83.0) + 41.0;
  cdu_small(p, 270, y - 12, "F U E L    Q T Y");
  cdu_largef(p, 290, y, "%3.1f", weight_shown(get_fuel_on_board_weight()));
  y += 41.0;
  cdu_small(p, 12, y - 12, "W I N D         I R S  (   )");
  cdu_largef(p, 0, y, "%03.0f\xB0 / %3.0f", wind_direction, wind_speed);
  c17_cdu_bottom_line(p, C17_CDU_MISSION_CANVAS);
  cdu_page_end(p);
}
