// PROGRESS pages: the waypoint passed last, the active and next waypoints and the
// destination with distance to go, ETA and predicted fuel (sub-page 1); a fixed RTA
// form (2); wind components, temperatures, cross track, vertical deviation, track and
// true airspeed (3).
#include <cmath>
#include <cstdlib>

#include "cdu/smiths/econ_pages.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/perf_entries.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "guidance/toc_tod.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

namespace {

constexpr int32_t smiths_progress_page_count = 3;

// Distances and altitudes end at x 122.
void column(const CduPage& p, double y, const std::string& text) {
  cdu_large(p, 122.0 - 10.0 * double(text.size()), y, text);
}

// ETA and predicted fuel of a point `dist` NM ahead at `speed` knots.
void eta_and_fuel(const CduPage& p, double y, double dist, double speed) {
  cdu_large(p, 160, y, cdu_eta_hhmm(dist / speed * 60.0) + cdu_eta_zone());
  cdu_largef(p, 227, y, "%3.1f", cdu_shown_weight(cdu_fuel_at(dist, speed)));
}

double distance(double lat1, double lon1, double lat2, double lon2, double* course = nullptr) {
  double d = 0, c = 0;
  compute_gc_distance_course(lat1, lon1, lat2, lon2, d, c);
  if (course) *course = c;
  return d;
}

void draw_from_row(const CduPage& p) {
  if (fpl_active_index < 2 || fpl_active_index == FPL_NO_PLAN) return;
  cdu_largef(p, 0, 33, "%-5s", last_wpt_ident.c_str());
  if (last_wpt_altitude < TransAlt) column(p, 33, cdu_format("%5.0f", last_wpt_altitude));
  else column(p, 33, cdu_format("FL%3.0f", last_wpt_altitude / 100.0));
  cdu_large(p, 160, 33, last_wpt_time);
  // Stored already in the weight unit shown.
  cdu_largef(p, 227, 33, "%3.1f", fuel_at_last_wpt / 1000.0);
}

// The speed a row's ETA and fuel are worked at: the destination's with the descent at the
// end, every other point at the ground speed; 0 for none.
double row_speed(int rec, double dist) {
  if (rec == fpl_active_last) {
    const double v = cdu_mean_speed(dist, 0.8);
    return v > 60.0 ? v : 0.0;
  }
  return ground_speed > 75.0 ? ground_speed : 0.0;
}

// The active, next and destination rows read only records of the plan; distances run
// along the legs, and a route break shows no distance, time or fuel.
void draw_route_rows(const CduPage& p) {
  const int active = fpl_active_index, last = fpl_active_last;
  const bool has_active = last > 0 && active_record(active);
  if (has_active) {
    const FlightPlanWpt& a = fpl_active[active];
    cdu_largef(p, 0, 66, "%-5s", a.ident);
    if (!fpl_route_break(a)) {
      cdu_mediumf(p, 30, 53, "%03.0f \xB0", bearing_to_active_wpt);
      column(p, 66, cdu_format("%.0f", dist_to_active_wpt));
      if (const double v = row_speed(active, dist_to_active_wpt); v > 0) eta_and_fuel(p, 66, dist_to_active_wpt, v);
    }
  }
  if (has_active && active + 1 < last) {
    const FlightPlanWpt& n = fpl_active[active + 1];
    cdu_largef(p, 0, 99, "%-5s", n.ident);
    // Along the route from the aircraft; past a route break flown, from the aircraft straight.
    const double d = fpl_distance_to_go(active + 1);
    double leg = 0;
    if (d >= 0.0) {
      column(p, 99, cdu_format("%.0f", d));
      if (const double v = row_speed(active + 1, d); v > 0) eta_and_fuel(p, 99, d, v);
    }
    if (d >= 0.0 && fpl_leg_into(fpl_active, last, active + 1, leg)) {
      const FlightPlanWpt& from = fpl_active[fpl_placed_before(fpl_active, active + 1)];
      double course = 0;
      distance(from.lat, from.lon, n.lat, n.lon, &course);
      cdu_mediumf(p, 30, 86, "%03.0f \xB0", magnetic_course(course));
    }
  }
  // A destination beyond the origin.
  if (last < 1) return;
  const FlightPlanWpt& dest = fpl_active[last];
  cdu_largef(p, 0, 131, "%-5s", dest.ident);
  if (fpl_route_break(dest)) return;
  // Through the active waypoint along the legs; straight without one.
  double d = has_active ? fpl_distance_to_go(last) : -1.0;
  if (d < 0.0) d = distance(present_lat, present_lon, dest.lat, dest.lon);
  column(p, 131, cdu_format("%.0f", d));
  if (const double v = row_speed(last, d); active != FPL_NO_PLAN && v > 0) eta_and_fuel(p, 131, d, v);
}

void draw_progress(const CduPage& p) {
  cdu_large(p, 63, 0, "PROGRESS");
  if (smiths_pending_lsk == LSK_L6) {
    smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  } else if (smiths_pending_lsk == LSK_R6) {
    smiths_page = SMITHS_PAGE_NAV_STATUS;
    smiths_navstat_page_no = 1;
    smiths_refresh_nearest_vors();
  }
  cdu_small(p, 12, 22, "F R O M          A L T              A T A     F U E L");
  draw_from_row(p);
  cdu_small(p, 92, 55, "D T G              E T A     F U E L");
  draw_route_rows(p);
  cdu_small(p, 180, 151, "F U E L    Q T Y");
  cdu_largef(p, 200, 166, "%3.1f", cdu_shown_weight(read_fuel_on_board()));
  cdu_small(p, 12, 188, "W I N D         I R S  (   )");
  cdu_largef(p, 0, 198, "%03.0f\xB0 / %3.0f", wind_direction, wind_speed);
  cdu_large(p, 140, 198, "NAV  STATUS >");
}

void draw_rta_progress(const CduPage& p) {
  cdu_large(p, 55, 0, "RTA  PROGRESS");
  if (smiths_pending_lsk == LSK_L6) {
    smiths_perf_page_no = 2;
    smiths_page = SMITHS_PAGE_PERF_INIT;
  }
  cdu_small(p, 12, 22, "R T A    W P T");
  cdu_large(p, 0, 33, "- - - - - -");
  cdu_large(p, 0, 184, "- - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, "< LIMITS");
}

// A course brought into 001..360 for printing.
double course_001_360(double c) {
  c = std::fmod(c, 360.0);
  if (c < 0.5) c += 360.0;
  return c;
}

void draw_vertical_deviation(const CduPage& p) {
  const FlightPlanWpt* wpt = econ_vnav_wpt();
  if (tod_reached != 1 || !wpt || !(distance(tod_lat, tod_lon, wpt->lat, wpt->lon) > 0)) return;
  const double h = indicated_altitude, path = vnav_path_altitude;
  // A deviation that rounds to no foot is none.
  if (h - path >= 0.5) {
    cdu_small_right(p, 88, "V E R T  D E V");
    cdu_largef(p, 200, 99, "%5.0f HI", h - path);
  } else if (path - h >= 0.5) {
    cdu_small_right(p, 88, "V E R T  D E V");
    cdu_smallf(p, 200, 99, "%5.0f LO", path - h);
  }
}

void draw_progress_2(const CduPage& p) {
  cdu_large(p, 110, 0, "PROGRESS");
  if (smiths_pending_lsk == LSK_L6) smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  cdu_small(p, 12, 22,
            wind_along >= 0 ? "H E A D W I N D                 C R O S S W I N D"
                            : "T A I L W I N D                 C R O S S W I N D");
  const int along = std::abs(key_param(wind_along)), cross = key_param(wind_cross);
  // A positive cross component blows from the right of the heading.
  cdu_largef(p, 0, 33, "%2d KT                             %s %3d KT", along,
             cross > 0 ? "R" : (cross < 0 ? "L" : ""), std::abs(cross));
  cdu_small(p, 12, 55, "W I N D                         S A T / I S A    D E V");
  cdu_largef(p, 0, 66, "%03.0f\xB0 / %3.0f", wind_direction, wind_speed);
  const int isa_dev = key_param(token341 - (15.0 - indicated_altitude / 1000.0 * 1.98));
  cdu_largef(p, 160, 66, "%2.0f\xB0" "c /%-2d\xB0" "c", token341, isa_dev);
  cdu_small(p, 12, 88, "X T K   E R R O R");
  // No cross track without an active leg.
  if (xtk_side != 0) cdu_largef(p, 0, 99, "%s %3.2f NM", xtk_side == 1 ? "L" : "R", xtk_nm);
  draw_vertical_deviation(p);
  cdu_small(p, 12, 121, "G P S - L    T R K                             T A S");
  cdu_largef(p, 0, 133, "%03.0f\xB0T", course_001_360(desired_track + magvar));
  cdu_largef(p, 200, 133, "%3.0f KT", true_airspeed);
}

}  // namespace

void smiths_refresh_nearest_vors() {
  build_near_navaids(present_lat, present_lon);
  build_near_navaids_close(present_lat, present_lon);
  nearest_vor_table();
}

void smiths_fms_progress_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  smiths_progress_page_no = cdu_step_page(smiths_progress_page_no, smiths_progress_page_count);
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_smallf(p, 230, 5, "%d / %d", int(smiths_progress_page_no), int(smiths_progress_page_count));
  if (smiths_progress_page_no == 1) draw_progress(p);
  else if (smiths_progress_page_no == 2) draw_rta_progress(p);
  else draw_progress_2(p);
  cdu_bottom_line(p);
  cdu_page_end(p);
}
