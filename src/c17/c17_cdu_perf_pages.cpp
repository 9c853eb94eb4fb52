// PERF INIT (weights, reserves, cost index, cruise altitude and wind, temperatures,
// transition altitude) and PERF LIMITS (climb, cruise and descent speed and Mach limits)
// of the mission CDU. The sub-page and every value are shared with the Smiths PERF page.
#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/perf_entries.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/flight_log.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"

namespace {

constexpr int32_t PERF_SUB_PAGES = 2;
constexpr int32_t MIN_TRANS_ALT_FT = 1000;

void reject() { c17_cdu_scratchpad_msg = "INVALID ENTRY"; }
bool kgs() { return WeightUnit == "KGS"; }

void accepted() { c17_cdu_scratchpad.clear(); }

// A route value changed: an active route becomes modified.
void route_value_changed() {
  if (fpl_changed_state == 3) fpl_changed_step();
}

// L3 ZFW (below 1000) and L4 RESERVES, thousands of the weight unit, at least the 0.1
// their fields print: a smaller weight would show as 0.0, like no weight.
void enter_weight(double& weight, double max_thousands) {
  double lb = 0;
  if (!read_weight_lb(c17_cdu_scratchpad, kgs(), max_thousands, lb) || cdu_shown_weight(lb) < 0.1 - 1e-9)
    return reject();
  weight = lb;
  accepted();
}

// -1..200 as a whole number; 0 only as "0". The first change keeps the executed value.
void enter_cost_index() {
  int32_t ci = 0;
  if (!read_cost_index(c17_cdu_scratchpad, ci)) return reject();
  if (cost_index_prev < 0) cost_index_prev = CostIndex;
  CostIndex = ci;
  route_value_changed();
  accepted();
}

// "FL350", "350" or "35000", a level the aircraft can reach.
void enter_cruise_alt() {
  int32_t ft = 0;
  if (!read_cruise_alt_ft(c17_cdu_scratchpad, ft)) return reject();
  if (cruise_alt_prev <= 0) cruise_alt_prev = cruise_alt;
  cruise_alt = ft;
  route_value_changed();
  accepted();
}

// "270/45": three digits of direction, "/", the speed.
void enter_wind() {
  int32_t dir = 0, kt = 0;
  if (!read_wind(c17_cdu_scratchpad, dir, kt) || !perf_set_wind(dir, kt)) return reject();
  accepted();
}

// R3 ISA DEV / R4 T/C OAT: one sets the other through the standard lapse to cruise.
void enter_temperature(bool isa) {
  if (c17_cdu_scratchpad.empty()) return;
  double x = 0;
  if (!read_temperature_c(c17_cdu_scratchpad, x) || !perf_set_temperature(x, isa)) return reject();
  accepted();
}

// Feet, from 1000 up.
void enter_trans_alt() {
  int32_t ft = 0;
  if (!read_feet(c17_cdu_scratchpad, MIN_TRANS_ALT_FT, int32_t(CDU_MAX_ALT_FT) - 1, ft)) return reject();
  TransAlt = ft;
  accepted();
}

void init_key() {
  switch (c17_cdu_pending_lsk) {
    case 3: enter_weight(zero_fuel_weight, 1000.0); break;
    case 4: enter_weight(reserve_fuel, CDU_MAX_WEIGHT_LB); break;
    case 5: enter_cost_index(); break;
    case 6: enter_cruise_alt(); break;
    case 7: enter_wind(); break;
    case 8: enter_temperature(true); break;
    case 9: enter_temperature(false); break;
    case 10: enter_trans_alt(); break;
    case 11:
      if (fpl_changed_state == 4) erase_route_mods();
      else c17_cdu_page = C17_CDU_MSN_INDEX;
      break;
    case 12: c17_cdu_page = C17_CDU_TAKEOFF_REF; break;
    default: break;
  }
}

void draw_title(const CduPage& p, const char* title) {
  cdu_large(p, 63, 0, title);
  cdu_smallf(p, 220, 0, "%2d / %2d", int(smiths_perf_page_no), int(PERF_SUB_PAGES));
}

void draw_init(const CduPage& p) {
  cdu_act_mod_tag(p, 18);
  draw_title(p, "PERF  INIT");
  init_key();
  perf_init_body(p, {.isa_dev_as_difference = true, .oat_beside_isa = true});
  cdu_large(p, 175, 198, "TAKEOFF >");
}

void limits_key() {
  const int32_t k = c17_cdu_pending_lsk;
  if (k >= 2 && k <= 4) {
    cdu_enter_speed_limit(k - 2, false, {c17_cdu_scratchpad, c17_cdu_scratchpad_msg});
  } else if (k >= 7 && k <= 9) {
    cdu_enter_speed_limit(k - 7, true, {c17_cdu_scratchpad, c17_cdu_scratchpad_msg});
  } else if (k == 11) {
    c17_cdu_page = C17_CDU_MSN_INDEX;
  } else if (k == 12) {
    c17_cdu_page = C17_CDU_PROGRESS;
    smiths_progress_page_no = 2;
  }
}

void draw_limits(const CduPage& p) {
  draw_title(p, "PERF  LIMITS");
  limits_key();
  perf_limits_body(p, true);
}

}  // namespace

void c17_cdu_perf_page(GaugeSurface* rec, GfxGraphics* g) {
  smiths_perf_page_no = cdu_step_page(smiths_perf_page_no, PERF_SUB_PAGES);
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  if (smiths_perf_page_no == 1) draw_init(p);
  else draw_limits(p);
  cdu_large(p, 0, 184, "- - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, fpl_changed_state == 4 ? "< ERASE" : "< INDEX");
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}
