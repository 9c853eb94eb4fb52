// NAVIGATION (page 9): four sub-pages about the leg being flown, the hold, the wind,
// the tracking errors and the present position; L4 and L5 arm the pauses on sub-page 4.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "guidance/waypoint_sequencing.h"
#include "module/sim_vars.h"

namespace {

constexpr uint32_t WIND_ARROW_COLOUR = 0xFF00FA00;
constexpr double EXIT_HOLD_Y = 120.0;
constexpr GfxPoint WIND_ARROW[6] = {{0, 0}, {9, 9}, {0, 0}, {-9, 9}, {0, 0}, {0, 24}};


double gc_distance(double lat1, double lon1, double lat2, double lon2) {
  double d = 0.0, c = 0.0;
  compute_gc_distance_course(lat1, lon1, lat2, lon2, d, c);
  return d;
}

double distance_to_record(int32_t r) {
  return gns_distance_from_here(fpl_active[r].lat, fpl_active[r].lon);
}

// The clock time `minutes` from now; dashes when the time is not finite.
std::string eta_text(double minutes, const char* dashes) {
  if (!std::isfinite(minutes) || minutes < 0.0) return dashes;
  double h = std::floor(minutes / 60.0);
  return gns_eta_text(h, minutes - 60.0 * h);
}

// Minutes to fly the rest of hold 1's pattern from point `p` back to the fix.
double hold_exit_minutes(int32_t p) {
  const HoldRecord& h = hold_list[1];
  p = std::clamp(p, 0, 4);
  double d = std::trunc(gc_distance(present_lat, present_lon, h.pattern_lat[p], h.pattern_lon[p]));
  for (int32_t k = p; k <= 4; ++k) {
    int32_t n = k == 4 ? 0 : k + 1;
    d = std::trunc(d + gc_distance(h.pattern_lat[k], h.pattern_lon[k], h.pattern_lat[n], h.pattern_lon[n]));
  }
  return d / ground_speed * 60.0;
}

void draw_header(const GnsPage& p, int32_t sub) {
  bool plan = gns_has_active_plan();
  if (holds_changed == 1 && holding_active >= 1) {
    const HoldRecord& h = hold_list[1];
    gns_text(p, 30, 40, p.yellow, h.turn == 1 ? "HOLD RIGHT" : "HOLD LEFT");
    gns_text(p, 30, 80, p.magenta, "AT");
    if (h.active_wpt >= 0 && h.active_wpt <= fpl_active_last) gns_text(p, 90, 80, p.magenta, fpl_active[h.active_wpt].ident);
    if (!hold_exit_asked()) {
      gns_text(p, 140, 110, p.green, "HOLDING");
    } else {
      // On the line below AT (the NX line is not drawn in the hold), clear of its text.
      gns_text(p, 30, EXIT_HOLD_Y, p.cyan, "EXIT HOLD");
      // Below the ground speed of the other times: dashes rather than an endless time.
      std::string t = ground_speed > 60.0 ? gns_duration_text(hold_exit_minutes(holding_active), "-----") : "-----";
      gns_text(p, 360, EXIT_HOLD_Y, p.cyan, t);
    }
  } else {
    std::string from = "------", from_time = "-----";
    if (plan && fms_leg_state == 0 && fpl_active_index >= 1) {
      const FlightPlanWpt& r = fpl_active[fpl_active_index - 1];
      from = r.ident;
      if (r.eta[0] != '\0') from_time = r.eta;
    }
    gns_text(p, 30, 40, p.yellow, "FR");
    gns_text(p, 90, 40, p.yellow, from);
    gns_text(p, 360, 40, p.cyan, from_time);
    gns_text(p, 30, 80, p.magenta, "TO");
    gns_text(p, 90, 80, p.magenta, plan ? std::string(fpl_active[fpl_active_index].ident) : "------");
  }
  std::string eta = "-----";
  if (plan && ground_speed > 60.0) eta = gns_eta_text(ete_active_hours, ete_active_minutes);
  if (gnsxls_lsk_state[7] == 1) {
    bool choice = gnsxls_scratchpad == "ALT?" || gnsxls_scratchpad == "ETA?";
    gns_field(p, 360, 80, 5, choice ? gnsxls_scratchpad : eta);
  } else {
    gns_text(p, 360, 80, p.cyan, eta);
  }
  if (!(ground_speed > 60.0 && plan && ete_active_minutes < 1.0 && fms_leg_state == 0 &&
        fpl_active_index < fpl_active_last && holding_active == 0))
    return;
  int32_t next = fpl_active_index + 1;
  gns_text(p, 30, 120, p.yellow, "NX");
  gns_text(p, 90, 120, p.yellow, fpl_active[next].ident);
  double d = distance_to_record(next);
  gns_text(p, 360, 120, p.cyan, true_airspeed > 0.0 ? eta_text(d / true_airspeed * 60.0, "-----") : "-----");
  if (sub != 1) return;
  double dist = 0.0, course = 0.0;
  const FlightPlanWpt& a = fpl_active[fpl_active_index];
  compute_gc_distance_course(a.lat, a.lon, fpl_active[next].lat, fpl_active[next].lon, dist, course);
  course -= magvar;
  if (course < 0.5) course += 360.0;
  gns_textf(p, 160, 160, p.green, "(%.0f)", d);
  gns_textf(p, 160, 240, p.green, "(%.0f)", course);
}

void draw_summary(const GnsPage& p) {
  bool plan = gns_has_active_plan();
  gns_text(p, 30, 160, p.green, "DIS");
  gns_text(p, 320, 160, p.green, plan ? gns_format("%7.1f", dist_to_active_wpt) : "-------");
  gns_text(p, 30, 200, p.cyan, "ETE");
  gns_text(p, 320, 200, p.cyan,
           plan && ground_speed > 60.0
               ? gns_format("%02.0f:%s%2.1f", ete_active_hours, ete_active_minutes < 10.0 ? "0" : "", ete_active_minutes)
               : "-------");
  gns_text(p, 30, 240, p.green, holds_changed ? "INBOUND CRS" : "DTK");
  std::string course = "---";
  if (holds_changed) course = gns_format("%03.0f", hold_list[1].inbound_course);
  else if (plan) course = gns_format("%03.0f", desired_track);
  gns_text(p, 400, 240, p.green, course);
  gns_text(p, 30, 280, p.green, "GS");
  gns_text(p, 400, 280, p.green, ground_speed > 60.0 ? gns_format("%3.0f", ground_speed) : "---");
  gns_text(p, 30, 320, p.green, "WIND");
  gns_text(p, 350, 320, p.green, wind_speed > 0.0 ? gns_format("%03.0f/%-3.0f", wind_direction, wind_speed) : "---/---");
  std::string mode = lnav_on == 1 ? "-AUTO-" : "-MAN-";
  if (gnsxls_lsk_state[10] != 1) {
    gns_text(p, 160, 360, p.white, mode);
    return;
  }
  if (gnsxls_nav_auto_man == 1) mode = "AUTO?";
  else if (gnsxls_nav_auto_man == 2) mode = "MAN?";
  gns_field(p, 160, 360, 5, mode);
}

// A wind arrow at (x, y) turned by `degrees`, then the plain canvas again.
void wind_arrow(const GnsPage& p, const GfxPen* pen, double x, double y, double degrees) {
  gfx_translate(p.g, x, y, GFX_PREPEND);
  gfx_rotate(p.g, degrees, GFX_PREPEND);
  gfx_draw_lines(p.g, pen, WIND_ARROW, 6);
  set_canvas_scale(p.g, p.rec->width, p.rec->height, CANVAS_GNSXLS);
}

void draw_wind_and_track(const GnsPage& p) {
  bool plan = gns_has_active_plan();
  int along = std::isfinite(wind_along) ? int(wind_along) : 0;
  int cross = std::isfinite(wind_cross) ? int(wind_cross) : 0;
  GfxPen* pen = gfx_pen_create(p.g, WIND_ARROW_COLOUR, 3.0);
  gns_text(p, 30, 160, p.green, "WIND");
  if (along != 0) {
    if (wind_along < 0.0) wind_arrow(p, pen, 160, 163, 0.0);
    else wind_arrow(p, pen, 160, 187, 180.0);
  }
  gns_text(p, 170, 160, p.green, along != 0 ? gns_format("%3d", std::abs(along)) : "---");
  gns_text(p, 370, 160, p.green, cross != 0 ? gns_format("%3d", std::abs(cross)) : "---");
  if (cross != 0) {
    if (cross < 0) wind_arrow(p, pen, 390, 176, 90.0);
    else wind_arrow(p, pen, 440, 176, 270.0);
  }
  gfx_pen_delete(pen);
  std::string dest = plan ? fpl_active[fpl_active_last].ident : "";
  gns_text(p, 30, 200, p.cyan, "ETA-" + dest);
  gns_text(p, 30, 240, p.green, "FUEL-" + dest);
  std::string eta = "-----", fuel = "-----";
  if (plan && ground_speed > 60.0) {
    double hours = distance_to_record(fpl_active_last) / ground_speed;
    eta = eta_text(hours * 60.0, "-----");
    double left = get_fuel_weight_lb() - get_total_fuel_flow() * hours;
    if (std::isfinite(left)) fuel = gns_format("%5.0f", left < 0.0 ? -1.0 : left);
  }
  gns_text(p, 360, 200, p.cyan, eta);
  gns_text(p, 360, 240, p.green, fuel);
  gns_text(p, 30, 280, p.green, "TKE");
  gns_textf(p, 340, 280, p.green, "%s %03.0f", tke_side == 1 ? "L" : "R", tke_deg);
  gns_text(p, 30, 320, p.green, "XTK   TRMNL");
  gns_text(p, 340, 320, p.green, plan ? gns_format("%s %2.2f", xtk_side == 1 ? "L" : "R", xtk_nm) : "-------");
  gns_text(p, 30, 360, p.green, "SXTK");
}

void draw_aircraft(const GnsPage& p) {
  bool plan = gns_has_active_plan();
  int var = std::isfinite(magvar) ? int(magvar) : 0;
  struct Row {
    const char* label;
    double x;
    std::string value;
  };
  const Row rows[] = {
      {"DRIFT", 360, plan ? gns_format("%s %03.0f", drift_side == 1 ? "L" : "R", drift_deg) : "  ---"},
      {"VAR", 360, gns_format("%s %3d", var > 0 ? "E" : "W", std::abs(var))},
      {"TAS", 400, true_airspeed > 40.0 ? gns_format("%3.0f", true_airspeed) : "---"},
      {"HDG", 400, gns_format("%03.0f", heading)},
      {"BRG", 400, plan ? gns_format("%03.0f", bearing_to_active_wpt) : "---"},
      {"TK", 400, plan ? gns_format("%03.0f", desired_track) : "---"},
  };
  double y = 160;
  for (const Row& r : rows) {
    gns_text(p, 30, y, p.green, r.label);
    gns_text(p, r.x, y, p.green, r.value);
    y += 40;
  }
}

// Toggles a pause: turning it on re-arms its one-shot.
void toggle_pause(int32_t& pause, int32_t& done) {
  if (pause == 0) {
    pause = 1;
    done = 0;
  } else {
    pause = 0;
  }
}

void draw_position_and_pauses(const GnsPage& p) {
  gns_text(p, 90, 80, p.green, "IDENT    ------");
  gns_text(p, 100, 120, p.green, "POS");
  std::string lat, lon;
  format_dms_position(present_lat, -present_lon, lat, lon, 1);
  gns_text(p, 200, 120, p.green, gns_dms_template(lat));
  gns_text(p, 200, 160, p.green, gns_dms_template(lon));
  if (DecLatLonDisp == 1) {
    gns_textf(p, 200, 200, p.green, "(%.6f)", present_lat);
    gns_textf(p, 200, 240, p.green, "(%.6f)", present_lon);
  }
  if (ArmPauseAtDistFromDest != 1 || !gns_has_active_plan()) {
    gns_text(p, 30, 280, p.green, "VPU");
    gns_text(p, 150, 280, p.yellow, "----");
  } else {
    if (gnsxls_pending_lsk == 4) toggle_pause(PauseAtDistFromDest, pause_at_dist_done);
    GfxFont* small = gfx_font_create(p.g, p.family, 30.0, GFX_FONT_BOLD);
    std::string line = gns_format("PAUSE %d FROM (%s)(%s)", int(pause_dist_from_dest), fpl_active[fpl_active_last].ident,
                                  PauseAtDistFromDest ? "ON" : "OFF");
    draw_text(p.g, small, p.green, 30, 280, DRAW_TEXT_MAX, line.c_str());
    gfx_font_delete(small);
  }
  gns_text(p, 30, 320, p.green, "GPS");
  gns_text(p, 150, 320, p.yellow, "----");
  if (DisplayMagVarOnGnsxlsNavPage == 1) gns_textf(p, 240, 320, p.yellow, "MV(%3.1f)", magvar);
  if (ArmPauseAtTod == 1) {
    if (gnsxls_pending_lsk == 5) toggle_pause(PauseAtTod, pause_at_tod_done);
    gns_text(p, 30, 360, p.green, PauseAtTod ? "PAUSE AT TOD (ON)" : "PAUSE AT TOD (OFF)");
  }
}

}  // namespace

void gnsxls_navigation_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  int32_t* s = gnsxls_lsk_state;
  if (gnsxls_pending_lsk == 7) {
    if (s[7] == 0) {
      reset_cdu_entry_state();
      s[7] = 1;
      gnsxls_scratchpad.clear();
    } else {
      s[7] = 0;
    }
  } else if (gnsxls_pending_lsk == 10) {
    if (s[10] == 0) {
      reset_cdu_entry_state();
      s[10] = 1;
      if (gnsxls_nav_subpage == 1) gnsxls_nav_auto_man = 0;
    } else {
      s[10] = 0;
    }
  }
  GnsPage p;
  gns_page_begin(p, rec, g);
  int32_t sub = gnsxls_nav_subpage;
  gns_textf(p, 90, 0, p.white, "NAVIGATION   %d/%d", sub, 4);
  if (sub >= 1 && sub <= 3) draw_header(p, sub);
  switch (sub) {
    case 1: draw_summary(p); break;
    case 2: draw_wind_and_track(p); break;
    case 3: draw_aircraft(p); break;
    case 4: draw_position_and_pauses(p); break;
    default: break;
  }
  gns_page_end(p);
}
