// PERF INIT (weights, reserves, cost index, cruise altitude and wind, temperatures,
// transition altitude) and PERF LIMITS (climb, cruise and descent speed and Mach limits)
// of the mission CDU. The sub-page and every value are shared with the Smiths PERF page.
#include <cmath>
#include <cstdlib>

#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/perf_entries.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/flight_log.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"

namespace {

constexpr int32_t PERF_SUB_PAGES = 2;
constexpr double MAX_WEIGHT_LB = 2000000.0;
constexpr double MAX_CRUISE_FT = 99000.0;
constexpr double MAX_TRANS_FT = 99999.0;
constexpr double LB_PER_KG = 2.20462262;

void reject() { c17_cdu_scratchpad_msg = "INVALID ENTRY"; }
bool kgs() { return WeightUnit == "KGS"; }

// The scratchpad as a number; false (and INVALID ENTRY) when it is not one.
bool entry_number(double& v) {
  if (whole_word_number(c17_cdu_scratchpad, v)) return true;
  reject();
  return false;
}

void accepted() { c17_cdu_scratchpad.clear(); }

// A route value changed: an active route becomes modified.
void route_value_changed() {
  if (fpl_changed_state == 3) fpl_changed_step();
}

// L3 ZFW (below 1000 thousands) and L4 RESERVES, in thousands of the weight unit.
void enter_weight(double& weight, bool below_1000) {
  double x = 0;
  if (!entry_number(x)) return;
  const double lb = x * 1000.0 * (kgs() ? LB_PER_KG : 1.0);
  if (x <= 0 || (below_1000 && x >= 1000) || lb > MAX_WEIGHT_LB) return reject();
  weight = lb;
  accepted();
}

// -1..200 as a whole number; 0 only as "0". The first change keeps the executed value.
void enter_cost_index() {
  double x = 0;
  if (!entry_number(x)) return;
  if (x != std::floor(x) || x < -1 || x > 200 || (x == 0 && c17_cdu_scratchpad != "0")) return reject();
  if (cost_index_prev < 0) cost_index_prev = CostIndex;
  CostIndex = int32_t(x);
  route_value_changed();
  accepted();
}

// "FL350", "350" or "35000": the "FL" leaves the scratchpad; up to 99000 ft.
void enter_cruise_alt() {
  if (c17_cdu_scratchpad.starts_with("FL")) c17_cdu_scratchpad.erase(0, 2);
  double x = 0;
  if (!entry_number(x)) return;
  const double whole = std::floor(x);
  const double feet = whole < 1000 ? whole * 100.0 : whole;
  if (x <= 0 || whole < 1 || feet > MAX_CRUISE_FT) return reject();
  if (cruise_alt_prev <= 0) cruise_alt_prev = cruise_alt;
  cruise_alt = int32_t(feet);
  route_value_changed();
  accepted();
}

// "270/45": three digits of direction, "/", the speed.
void enter_wind() {
  const std::string& s = c17_cdu_scratchpad;
  double speed = 0;
  if (s.size() < 5 || s[3] != '/' || s.substr(0, 3).find_first_not_of("0123456789") != std::string::npos ||
      !whole_word_number(s.substr(4), speed) || !perf_set_wind(std::atoi(s.substr(0, 3).c_str()), std::trunc(speed)))
    return reject();
  accepted();
}

// R3 ISA DEV / R4 T/C OAT: one sets the other through the standard lapse to cruise.
void enter_temperature(bool isa) {
  if (c17_cdu_scratchpad.empty()) return;
  double x = 0;
  if (!entry_number(x)) return;
  if ((x == 0 && c17_cdu_scratchpad != "0") || !perf_set_temperature(x, isa)) return reject();
  accepted();
}

void enter_trans_alt() {
  double x = 0;
  if (!entry_number(x)) return;
  if (x < 1 || x >= MAX_TRANS_FT) return reject();
  TransAlt = int32_t(x);
  accepted();
}

void init_key() {
  switch (c17_cdu_pending_lsk) {
    case 3: enter_weight(zero_fuel_weight, true); break;
    case 4: enter_weight(reserve_fuel, false); break;
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
  cdu_smallf(p, 220, 0, "%2d / %2d", int(perf_sub_page), int(PERF_SUB_PAGES));
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
    progress_sub_page = 2;
  }
}

void draw_limits(const CduPage& p) {
  draw_title(p, "PERF  LIMITS");
  limits_key();
  perf_limits_body(p, true);
}

}  // namespace

void c17_cdu_perf_page(GaugeSurface* rec, GfxGraphics* g) {
  perf_sub_page = cdu_step_page(perf_sub_page, PERF_SUB_PAGES);
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  if (perf_sub_page == 1) draw_init(p);
  else draw_limits(p);
  cdu_large(p, 0, 184, "- - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, fpl_changed_state == 4 ? "< ERASE" : "< INDEX");
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}
