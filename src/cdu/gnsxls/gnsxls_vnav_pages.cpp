// VNAV (page 15): the vertical profile, a summary then the plan's records with the top of
// climb and top of descent as rows of their own; L5 "DATA" leads to VNAV DATA (page 16),
// where R2 and R3 open the cruise altitude, transition level and descent angle.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "module/sim_vars.h"

namespace {

constexpr int ROWS = 7;
constexpr double NO_CONSTRAINT = -999.0;
constexpr double MIN_ESTIMATE_GS = 50.0;  // kt; slower, times and crossings show dashes

// The profile distances under the update's names: to the TOC, to the TOD along the
// route, to the VNAV target, and the two gate distances of the descent path.
double toc_range() { return double(toc_climb_dist); }
double tod_range() { return tod_route_dist; }
double wpt_range() { return dist_to_vnav_target; }
bool on_descent_path() { return vdev_gate_dist_1 > vdev_gate_dist_2; }

const char* phase_text() {
  if (!gns_has_active_plan()) return "INVALID";
  if (toc_reached == 0 && cruise_alt >= 1) return "CLIMB";
  if (cruise_alt > 0 && tod_reached == 0) return "CRUISE";
  if (cruise_alt > 0 && tod_reached == 1) return "DESCENT";
  return "INVALID";
}

void draw_phase(const GnsPage& p) {
  const char* phase = phase_text();
  gns_text(p, 30, 40, std::string(phase) == "INVALID" ? p.yellow : p.green, phase);
}


enum class Target { none, tod, toc, waypoint };

void draw_summary(const GnsPage& p, double d_wpt, double d_toc) {
  bool plan = gns_has_active_plan();
  gns_textf(p, 380, 40, p.cyan, "%5.0f", indicated_altitude);
  Target target = Target::none;
  // Past the route's end VNAV has nothing left to reach: every figure shows dashes.
  const bool aim = plan && !route_end_passed();
  if (aim) {
    if (toc_reached == 1 && tod_reached == 0 && cruise_alt >= 1) target = Target::tod;
    else if (toc_reached == 0 && cruise_alt >= 1 && d_wpt > d_toc) target = Target::toc;
    else target = Target::waypoint;
  }
  std::string to_line = "TO ------", to_value = "-----";
  double range = 0.0;
  std::string ete = "------";
  switch (target) {
    case Target::none: break;
    case Target::tod:
    case Target::toc: {
      bool tod = target == Target::tod;
      to_line = tod ? "TO #TOD" : "TO #TOC";
      to_value = gns_format("%5d", cruise_alt);
      range = tod ? tod_range() : toc_range();
      // The time to fly the range shown, at the speed it is flown over the ground.
      if (ground_speed > MIN_ESTIMATE_GS) ete = gns_duration_text(range / ground_speed * 60.0, "------");
      break;
    }
    case Target::waypoint: {
      const FlightPlanWpt& a = fpl_active[fpl_active_index];
      to_line = gns_format("TO %s", a.ident);
      if (a.alt_constraint != NO_CONSTRAINT) to_value = gns_format("%5.0f", vnav_target_alt);
      range = wpt_range();
      break;
    }
  }
  gns_text(p, 30, 80, p.magenta, to_line);
  gns_text(p, 380, 80, p.cyan, to_value);
  if (target == Target::tod || target == Target::toc) {
    gns_text(p, 30, 120, p.green, "RANGE (NM)");
    gns_textf(p, 370, 120, p.green, "%5.1f", range);
    gns_text(p, 30, 160, p.cyan, "ETE");
    gns_text(p, 380, 160, p.cyan, ete);
  } else {
    // Without a plan or below the ground speed of the other estimates there is no
    // crossing to estimate; nor one the five-digit field cannot hold.
    std::string estimate = "-----";
    if (aim && ground_speed > MIN_ESTIMATE_GS) {
      double r = toc_reached == 0 && d_wpt > d_toc ? toc_range() : wpt_range();
      double alt = indicated_altitude + r / (ground_speed / 60.0) * vertical_speed;
      if (std::isfinite(alt) && alt > -0.5 && alt < 99999.5) estimate = gns_format("%5.0f", alt);
    }
    gns_text(p, 30, 120, p.cyan, "EST CROSSING");
    gns_text(p, 380, 120, p.cyan, estimate);
  }
  if (plan) {
    if (target == Target::tod) {
      gns_text(p, 30, 200, p.green, "@ #TOD   FM DN");
      gns_textf(p, 400, 200, p.green, "%4.0f", 2000.0);
    } else if (target != Target::toc) {
      gns_text(p, 30, 200, p.green, "REQUIRED FPM    ");
      double fpm = vnav_required_fpm();
      gns_text(p, 400, 200, p.green,
               aim && ground_speed > MIN_ESTIMATE_GS && fpm >= 0.0 ? gns_format("%4.0f", fpm) : "----");
    }
  }
  const char* dir = vertical_speed < 0.0 ? "DN" : vertical_speed > 0.0 ? "UP" : "";
  gns_textf(p, 30, 240, p.green, "ACTUAL   FPM %s", dir);
  gns_textf(p, 400, 240, p.green, "%4.0f", std::fabs(vertical_speed));
  if (!plan) return;
  if (toc_reached == 0) {
    double grad = ground_speed > MIN_ESTIMATE_GS ? std::fabs(vertical_speed) / (ground_speed / 60.0) : 0.0;
    gns_text(p, 30, 320, p.green, "CLIMB GRAD");
    gns_textf(p, 340, 320, p.green, "%4.0f/NM", grad);
  } else if (tod_reached == 1) {
    if (aim && indicated_altitude > vnav_path_altitude && on_descent_path()) {
      gns_text(p, 30, 320, p.green, "VERT DEV HIGH");
      gns_textf(p, 340, 320, p.green, "%5.0f", indicated_altitude - vnav_path_altitude);
    } else if (aim && vnav_path_altitude > indicated_altitude && on_descent_path()) {
      gns_text(p, 30, 320, p.green, "VERT DEV LOW");
      gns_textf(p, 340, 320, p.green, "%5.0f", vnav_path_altitude - indicated_altitude);
    } else {
      gns_text(p, 30, 320, p.green, "VERT DEV");
      gns_text(p, 340, 320, p.green, "-----");
    }
  }
}

// The list's rows: records from 1 on, with "#TOC" and "#TOD" (while not passed) each once,
// before the first record farther than the point.
constexpr int32_t TOC_ROW = -1, TOD_ROW = -2;
std::vector<int32_t> list_rows(double d_toc) {
  std::vector<int32_t> rows;
  double d_tod = tod_range();
  bool toc_seen = toc_reached != 0, tod_seen = tod_reached != 0;
  for (int32_t r = 1; r <= fpl_active_last; ++r) {
    // A route break has no position: the points go before a placed record.
    if (!fpl_placed(fpl_active[r])) {
      rows.push_back(r);
      continue;
    }
    double d = gns_distance_from_here(fpl_active[r].lat, fpl_active[r].lon);
    if (!toc_seen && d > d_toc) {
      rows.push_back(TOC_ROW);
      toc_seen = true;
    }
    if (!tod_seen && d > d_tod) {
      rows.push_back(TOD_ROW);
      tod_seen = true;
    }
    rows.push_back(r);
  }
  return rows;
}

// The summary, then seven list rows a sub-page, counted from the active record on with
// both pseudo-rows while not passed, and never fewer than the list holds.
int32_t vnav_page_count(double d_toc) {
  if (!gns_has_active_plan()) return 2;
  int32_t n = fpl_active_last - fpl_active_index + 1 + (toc_reached == 0) + (tod_reached == 0);
  n = std::max(n, int32_t(list_rows(d_toc).size()));
  return std::max(1, (n + ROWS - 1) / ROWS) + 1;
}

// Seven rows a sub-page from sub-page 2 on.
void draw_list(const GnsPage& p, double d_toc) {
  gns_textf(p, 340, 40, p.cyan, "%5.0f", indicated_altitude);
  if (!gns_has_active_plan()) return;
  std::vector<int32_t> rows = list_rows(d_toc);
  std::size_t first = std::size_t(std::max(0, gnsxls_vnav_subpage - 2)) * ROWS;
  for (std::size_t i = 0; i < std::size_t(ROWS) && first + i < rows.size(); ++i) {
    double y = 80.0 + 40.0 * double(i);
    int32_t r = rows[first + i];
    if (r == TOC_ROW || r == TOD_ROW) {
      const GfxBrush* colour = r == TOC_ROW || toc_reached == 1 ? p.magenta : p.cyan;
      gns_text(p, 30, y, colour, r == TOC_ROW ? "#TOC" : "#TOD");
      gns_textf(p, 320, y, p.cyan, "%5d", cruise_alt);
      continue;
    }
    const FlightPlanWpt& w = fpl_active[r];
    gns_text(p, 30, y, p.green, w.ident);
    gns_text(p, 320, y, p.cyan, w.alt_constraint == NO_CONSTRAINT ? "------" : gns_format("%5.0f", w.alt_constraint));
  }
}

// R2 and R3 of VNAV DATA: open a field with its value in the scratchpad.
void open_data_field(int32_t key, int32_t state, const std::string& value) {
  reset_cdu_entry_state();
  gnsxls_lsk_state[key] = state;
  gnsxls_scratchpad = value;
  gnsxls_clear_on_key = 1;
  gnsxls_prompt_open = 1;
}

}  // namespace

void gnsxls_vnav_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  int32_t& l5 = gnsxls_lsk_state[5];
  if (gnsxls_pending_lsk == 5) {
    if (l5 == 0) {
      reset_cdu_entry_state();
      l5 = 1;
    } else {
      l5 = 0;
    }
  }
  double d_wpt = 0.0, d_toc = 0.0;
  if (gns_has_active_plan()) {
    d_wpt = gns_distance_from_here(fpl_active[fpl_active_index].lat, fpl_active[fpl_active_index].lon);
    d_toc = gns_distance_from_here(toc_lat, toc_lon);
  }
  gnsxls_vnav_subpages = vnav_page_count(d_toc);
  GnsPage p;
  gns_page_begin(p, rec, g);
  gns_textf(p, 90, 0, p.white, "VNAV   %d/%d", gnsxls_vnav_subpage, gnsxls_vnav_subpages);
  draw_phase(p);
  if (gnsxls_vnav_subpage <= 1) draw_summary(p, d_wpt, d_toc);
  else draw_list(p, d_toc);
  if (l5 == 1) gns_field(p, 30, 360, 5, "DATA?");
  else gns_text(p, 30, 360, p.white, "DATA");
  gns_text(p, 0, 330, p.white, "<");
  gns_page_end(p);
}

void gnsxls_vnav_data_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  int32_t* s = gnsxls_lsk_state;
  gnsxls_vnav_subpages = std::max(1, (std::max(fpl_active_last, 0) + ROWS - 1) / ROWS) + 1;
  if (gnsxls_pending_lsk == 7) {
    if (s[7] == 0) open_data_field(7, 1, gns_format("%6d", cruise_alt));
    else if (s[7] == 1) open_data_field(7, 2, gns_format("%6d", TransAlt));
    else s[7] = 0;
  } else if (gnsxls_pending_lsk == 8) {
    if (s[8] == 0) {
      std::string a = gns_format("%1.1f", FPA);
      open_data_field(8, 1, a.size() >= 3 ? std::string{a[0], a[2]} : "00");
    } else {
      s[8] = 0;
    }
  }
  GnsPage p;
  gns_page_begin(p, rec, g);
  gns_text(p, 90, 0, p.white, "VNAV  DATA 1/1");
  gns_text(p, 30, 80, p.cyan, "CRUISE ALT");
  if (s[7] == 1) gns_field(p, 340, 80, int(gnsxls_scratchpad.size()), gnsxls_scratchpad);
  else gns_text(p, 340, 80, p.cyan, cruise_alt != 0 ? gns_format("%6d", cruise_alt) : "------");
  gns_text(p, 30, 120, p.cyan, "TRANS LEVEL");
  if (s[7] == 2) gns_field(p, 340, 120, int(gnsxls_scratchpad.size()), gnsxls_scratchpad);
  else gns_textf(p, 340, 120, p.cyan, "%6d", TransAlt);
  gns_text(p, 30, 160, p.green, "DEFAULT FPA");
  if (s[8] == 1) {
    if (gnsxls_scratchpad.size() > 2) gnsxls_scratchpad.resize(2);
    const std::string& t = gnsxls_scratchpad;
    std::string angle = t.empty() ? " . " : t.size() == 1 ? "." + t : std::string{t[0], '.', t[1]};
    gns_field(p, 400, 160, int(angle.size()), angle);
  } else {
    gns_text(p, 400, 160, p.green, FPA > 0.0 ? gns_format("%2.1f", FPA) : "---");
  }
  gns_text(p, 30, 240, p.cyan, "PRESEL ALT");
  gns_textf(p, 360, 240, p.cyan, "%4.0f", presel_alt);
  bool plan = gns_has_active_plan();
  double range = plan ? gns_distance_from_here(toc_lat, toc_lon) : 0.0;
  gns_text(p, 30, 280, p.green, "RANGE (NM)");
  gns_text(p, 360, 280, p.green, plan ? gns_format("%4.1f", range) : "-----");
  // No plan, no top of climb to reach: the time stays dashes.
  std::string ete = "------";
  if (plan && ground_speed > MIN_ESTIMATE_GS && true_airspeed > 0.0) {
    double t = range / true_airspeed * 60.0;
    double h = std::floor(t / 60.0);
    bool clock = gnsxls_fpl_column == 2;
    ete = clock ? gns_clock_text(h + clock_hour, t - 60.0 * h + clock_minute, true) : gns_duration_text(t, "------");
  }
  gns_text(p, 30, 320, p.cyan, "ETE");
  gns_text(p, 360, 320, p.cyan, ete);
  gns_page_end(p);
}
