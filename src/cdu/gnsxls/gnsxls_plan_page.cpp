// PLAN (page 19): fuel status, trip and fuel plans, engine fuel flows, times and weights;
// R2 opens the reserve-fuel entry that ENTER stores.
#include <cmath>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/flight_log.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "module/sim_vars.h"

namespace {

constexpr double KG_PER_LB = 0.45359237;

// Engine fuel-flow tokens: the main one, else the alternate.
struct EngineTokens {
  int32_t main, alternate;
};
constexpr EngineTokens engine_tokens[4] = {{421, 638}, {460, 657}, {499, 676}, {538, 695}};

bool kilograms() { return WeightUnit == "KGS"; }

// "-----"-style dashes unless the value is finite.
std::string number_or(const char* fmt, double v, const char* dashes) {
  return std::isfinite(v) ? gns_format(fmt, v) : dashes;
}

void draw_fuel_status(const GnsPage& p) {
  double unit = kilograms() ? KG_PER_LB : 1.0;
  double fuel = get_fuel_weight_lb();
  double flow = get_total_fuel_flow();
  gns_text(p, 90, 40, p.white, "FUEL STATUS");
  gns_text(p, 380, 40, p.green, kilograms() ? "KG" : "LB");
  gns_text(p, 30, 80, p.green, "REMAINING");
  gns_textf(p, 340, 80, p.green, "%6.0f", fuel * unit);
  gns_text(p, 30, 120, p.green, "RESERVE");
  if (gnsxls_lsk_state[7] == 1) gns_field(p, 340, 120, 6, gnsxls_scratchpad);
  else gns_textf(p, 340, 120, p.green, "%6.0f", reserve_fuel * unit);
  gns_text(p, 30, 160, p.green, "FLOW");
  gns_textf(p, 340, 160, p.green, "%6.0f", flow * unit);
  // Endurance and range need a flow: without one the tank never empties.
  std::string hours = "-----", range = "-----", per_mile = "----";
  if (ground_speed > 50.0) {
    per_mile = number_or("%4.0f", flow / ground_speed, "----");
    double e = fuel / flow;
    // Only what the fields can print: up to 99:59 and 99999 NM.
    if (flow > 0.0 && std::isfinite(e)) {
      hours = gns_duration_text(e * 60.0, "-----");
      if (e * ground_speed < 99999.5) range = gns_format("%5.0f", e * ground_speed);
    }
  }
  gns_text(p, 90, 280, p.cyan, "HOURS");
  gns_text(p, 360, 280, p.cyan, hours);
  gns_text(p, 90, 320, p.green, "RANGE");
  gns_text(p, 360, 320, p.green, range);
  gns_text(p, 90, 360, p.green, "NM/LB");
  gns_text(p, 380, 360, p.green, per_mile);
}

// The DIRECT / TO lines of TRIP PLAN and FUEL PLAN.
void draw_route_head(const GnsPage& p, const char* to_fmt) {
  bool plan = gns_has_active_plan();
  std::string origin = plan ? gns_format("%6s", fpl_active[0].ident) : "------";
  gns_text(p, 30, 80, p.yellow, "DIRECT");
  gns_text(p, 340, 80, p.green, origin);
  gns_text(p, 30, 120, p.magenta, plan ? gns_format(to_fmt, fpl_active[fpl_active_index].ident) : "TO ------");
  gns_text(p, 340, 120, p.green, origin);
}

void draw_trip_plan(const GnsPage& p) {
  gns_text(p, 90, 40, p.white, "TRIP PLAN");
  draw_route_head(p, "TO %6s");
  gns_text(p, 30, 160, p.green, "GS");
  gns_text(p, 400, 160, p.green, ground_speed > 20.0 ? gns_format("%3.0f", ground_speed) : "---");
  gns_text(p, 30, 200, p.green, "DIS/DTK");
  gns_text(p, 280, 200, p.green,
           dist_to_active_wpt > 0.0 ? gns_format("%4.1f/%03.0f", dist_to_active_wpt, desired_track) : "------/---");
  gns_text(p, 30, 240, p.cyan, "ETE");
  gns_text(p, 360, 240, p.cyan, ground_speed > 50.0 ? gns_clock_text(ete_active_hours, ete_active_minutes, false) : "-----");
  gns_text(p, 30, 280, p.green, "FPL");
  bool route = route_distance_to_go > 0.0;
  gns_text(p, 240, 280, p.green, route ? gns_format("%5.0f/", route_distance_to_go) : "-----/");
  gns_text(p, 360, 280, p.cyan,
           route && ground_speed > 20.0 ? gns_clock_text(ete_dest_hours, ete_dest_minutes, false) : "-----");
  gns_text(p, 30, 320, p.cyan, gns_has_active_plan() ? gns_format("ETA @ %s", fpl_active[fpl_active_last].ident) : "ETA @ ----");
  gns_text(p, 360, 340, p.cyan,
           ground_speed > 50.0 ? gns_eta_text(ete_dest_hours, ete_dest_minutes)
                               : "------");
}

void draw_fuel_plan(const GnsPage& p) {
  double flow = get_total_fuel_flow();
  gns_text(p, 120, 40, p.white, "FUEL PLAN");
  draw_route_head(p, "TO %s");
  gns_text(p, 30, 160, p.green, "GS");
  gns_text(p, 400, 160, p.green, ground_speed > 0.0 ? gns_format("%3.0f", ground_speed) : "---");
  gns_text(p, 30, 200, p.green, "FLOW");
  gns_textf(p, 380, 200, p.green, "%4.0f", flow);
  bool moving = ground_speed > 50.0;
  gns_text(p, 30, 240, p.green, "LEG FUEL");
  gns_text(p, 360, 240, p.green, moving ? number_or("%5.0f", dist_to_active_wpt / ground_speed * flow, "-----") : "-----");
  gns_text(p, 30, 280, p.green, "FPL FUEL");
  gns_text(p, 360, 280, p.green, moving ? number_or("%5.0f", route_distance_to_go / ground_speed * flow, "-----") : "-----");
}

void draw_fuel_flow(const GnsPage& p) {
  gns_text(p, 30, 40, p.white, "FUEL FLOW");
  for (int n = 0; n < 4; ++n) {
    double main = read_token(engine_tokens[n].main);
    double alternate = read_token(engine_tokens[n].alternate);
    if (!(main > 0.0) && !(alternate > 0.0)) continue;
    double y = 160 + 40 * n;
    gns_textf(p, 30, y, p.green, "ENGINE   %d", n + 1);
    gns_textf(p, 380, y, p.green, "%4.0f", main > 0.0 ? main : alternate);
  }
  gns_text(p, 30, 360, p.green, "TOTAL");
  gns_textf(p, 380, 360, p.green, "%4.0f", get_total_fuel_flow());
}

void draw_times(const GnsPage& p) {
  day_of_year_to_month(int(get_zulu_day_of_year()), int(get_zulu_year()));
  gns_text(p, 30, 80, p.cyan, "DATE");
  gns_textf(p, 280, 80, p.cyan, "%02d %s %02.0f", zulu_day_of_month, zulu_month_name.c_str(), get_zulu_year() - 2000.0);
  gns_text(p, 30, 120, p.cyan, "GMT");
  gns_text(p, 280, 120, p.cyan, gns_clock_text(get_zulu_hour(), get_zulu_minute(), true));
  gns_text(p, 30, 200, p.cyan, "TAKEOFF");
  gns_text(p, 380, 200, p.cyan, takeoff_time_text);
  gns_text(p, 30, 240, p.cyan, "LAND");
  gns_text(p, 380, 240, p.cyan, landing_time_text.empty() ? "-----" : landing_time_text);
  gns_text(p, 30, 320, p.cyan, "FLIGHT TIME");
  std::string flown = "-----";
  if (!takeoff_time_text.empty() && takeoff_time_text != "-----") {
    double m = std::round((zulu_hour * 60.0 + zulu_minute) - (takeoff_hour * 60.0 + takeoff_minute));
    if (m < 0.0) m += 1440.0;
    double h = std::floor(m / 60.0);
    flown = gns_clock_text(h, m - 60.0 * h, true);
  }
  gns_text(p, 380, 320, p.cyan, flown);
}

void draw_weights(const GnsPage& p) {
  double fuel = get_fuel_weight_lb();
  gns_text(p, 120, 80, p.white, "AIRCRAFT WEIGHT");
  gns_text(p, 30, 160, p.green, "BASIC OP WT");
  gns_textf(p, 340, 160, p.green, "%6.0f", zero_fuel_weight);
  gns_text(p, 30, 200, p.green, "PAYLOAD");
  gns_textf(p, 340, 200, p.green, "%6.0f", payload_weight);
  gns_text(p, 30, 240, p.green, "FUEL ON BOARD");
  gns_textf(p, 340, 240, p.green, "%6.0f", fuel);
  gns_text(p, 30, 320, p.green, "FUEL USED");
  gns_text(p, 360, 320, p.green, log_start_fuel >= fuel ? gns_format("%5.0f", log_start_fuel - fuel) : "-----");
  gns_text(p, 30, 360, p.green, "GROSS WEIGHT");
  gns_textf(p, 340, 360, p.green, "%6.0f", fuel + zero_fuel_weight);
}

using SubPageFn = void (*)(const GnsPage&);
constexpr SubPageFn sub_pages[6] = {draw_fuel_status, draw_trip_plan, draw_fuel_plan,
                                    draw_fuel_flow, draw_times, draw_weights};

}  // namespace

void gnsxls_plan_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  int32_t& r2 = gnsxls_lsk_state[7];
  if (gnsxls_pending_lsk == 7) {
    bool open = r2 != 1;
    reset_cdu_entry_state();
    if (open) {
      // ENTER reads the entry in the unit shown, so the offer is in that unit too.
      double unit = kilograms() ? KG_PER_LB : 1.0;
      gnsxls_scratchpad = gns_format("%6.0f", reserve_fuel * unit);
      r2 = 1;
      gnsxls_clear_on_key = 1;
      gnsxls_prompt_open = 1;
    }
  }
  GnsPage p;
  gns_page_begin(p, rec, g);
  gns_textf(p, 150, 0, p.white, "PLAN %d/%d", gnsxls_plan_subpage, 6);
  if (gnsxls_plan_subpage >= 1 && gnsxls_plan_subpage <= 6) sub_pages[gnsxls_plan_subpage - 1](p);
  gns_page_end(p);
}
