// PERF INIT and PERF LIMITS pages: weights, reserves, cost index, cruise altitude and
// wind, temperatures and transition altitude; the climb, cruise and descent speed limits.
#include <cmath>

#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/perf_entries.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/flight_log.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"

namespace {

constexpr int32_t smiths_perf_page_count = 2;
constexpr int32_t MIN_TRANS_ALT_FT = 1000;

bool kgs() { return WeightUnit == "KGS"; }

// L3 ZFW and L4 RESERVES, thousands of the weight unit. The gross weight (ZFW and fuel)
// prints in its field of three digits of thousands.
void enter_zfw() {
  const double fuel = read_fuel_on_board();
  double lb = 0;
  // Bounded as printed, in tenths: 999.96 would print "1000.0".
  if (!read_weight_lb(smiths_scratchpad, kgs(), 1000.0, lb) || !(std::round(cdu_shown_weight(lb + fuel) * 10.0) < 10000.0))
    return cdu_reject();
  zero_fuel_weight = lb;
  smiths_scratchpad.clear();
}

void enter_reserves() {
  double lb = 0;
  if (!read_weight_lb(smiths_scratchpad, kgs(), CDU_MAX_WEIGHT_LB, lb)) return cdu_reject();
  reserve_fuel = lb;
  smiths_scratchpad.clear();
}

void enter_cost_index() {
  int32_t n = 0;
  if (!read_cost_index(smiths_scratchpad, n)) return cdu_reject();
  if (cost_index_prev < 0) cost_index_prev = CostIndex;
  CostIndex = n;
  cdu_route_value_changed();
  smiths_scratchpad.clear();
}

// "270/35": three digits of direction, "/", the speed.
void enter_wind() {
  int32_t dir = 0, speed = 0;
  if (!read_wind(smiths_scratchpad, dir, speed) || !perf_set_wind(dir, speed)) return cdu_reject();
  smiths_scratchpad.clear();
}

// R3 ISA DEV / R4 T/C OAT: one sets the other through the standard lapse to cruise.
void enter_temperature(bool isa) {
  if (smiths_scratchpad.empty()) return;
  double x = 0;
  if (!read_temperature_c(smiths_scratchpad, x) || !perf_set_temperature(x, isa)) return cdu_reject();
  smiths_scratchpad.clear();
}

// Feet, from 1000 up.
void enter_trans_alt() {
  int32_t ft = 0;
  if (!read_feet(smiths_scratchpad, MIN_TRANS_ALT_FT, int32_t(CDU_MAX_ALT_FT) - 1, ft)) return cdu_reject();
  TransAlt = ft;
  smiths_scratchpad.clear();
}

void init_key() {
  switch (smiths_pending_lsk) {
    case 3: enter_zfw(); break;
    case 4: enter_reserves(); break;
    case 5: enter_cost_index(); break;
    case 6: cdu_enter_cruise_alt(); break;
    case 7: enter_wind(); break;
    case 8: enter_temperature(true); break;
    case 9: enter_temperature(false); break;
    case 10: enter_trans_alt(); break;
    case LSK_L6:
      if (fpl_changed_state == 4) erase_route_mods();
      else smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
      break;
    case LSK_R6: smiths_page = SMITHS_PAGE_TAKEOFF_REF; break;
    default: break;
  }
}

// An ISA deviation in F may be a difference (x 1.8); a temperature is x 1.8 + 32.
void draw_temperature(const CduPage& p, double y, double celsius, bool deviation) {
  // Left of 170 as far as the text needs, clear of the weights at the left.
  constexpr double MIN_X = 100;
  if (celsius == -999.0) {
    cdu_text_within(p, CDU_LARGE_PX, 170, y, "- - - \xB0 F / - - - \xB0 C", MIN_X);
    return;
  }
  // Whole degrees, and no "-0" for a value that rounds to zero.
  auto whole = [](double v) {
    const double r = std::round(v);
    return r == 0.0 ? 0.0 : r;
  };
  const double f = celsius * 1.8 + (deviation ? 0.0 : 32.0);
  cdu_text_within(p, CDU_LARGE_PX, 170, y, cdu_format("%-3.0f\xB0" "F / %-3.0f\xB0" "C", whole(f), whole(celsius)),
                  MIN_X);
}

void draw_toc_oat(const CduPage& p) {
  cdu_small(p, 200, 121, "T / C    O A T");
  draw_temperature(p, 132, toc_oat, false);  // clear of its label's foot
}

// A weight at (0, y), or `whole` boxes, a point (at dot_y) and one more box when it is 0.
void draw_weight(const CduPage& p, double y, double dot_y, const char* fmt, double lb, int whole) {
  static const double xs[4] = {5, 15, 25, 35};
  if (lb != 0) {
    cdu_largef(p, 0, y, fmt, cdu_shown_weight(lb));
    return;
  }
  const double last[1] = {10.0 * whole + 10.0};
  cdu_entry_boxes(p, xs, whole, dot_y + 5);
  cdu_large(p, 10.0 * whole, dot_y, ".");
  cdu_entry_boxes(p, last, 1, dot_y + 5);
}

void draw_bottom(const CduPage& p) {
  cdu_large(p, 0, 184, "- - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, fpl_changed_state == 4 ? "< ERASE" : "< INDEX");
  cdu_bottom_line(p);
}

void draw_init(const CduPage& p) {
  cdu_act_mod_tag(p, 18, 20);
  cdu_large(p, 63, 0, "PERF  INIT");
  cdu_smallf(p, 220, 0, "%2d / %2d", int(smiths_perf_page_no), int(smiths_perf_page_count));
  init_key();
  // A deviation converts as a difference: -5 C is -9 F.
  perf_init_body(p, {.isa_dev_as_difference = true, .oat_beside_isa = false});
  cdu_large(p, 175, 198, "TAKEOFF >");
  draw_bottom(p);
}

void limits_key() {
  int k = smiths_pending_lsk;
  if (k >= 2 && k <= 4) cdu_enter_speed_limit(k - 2, false, {smiths_scratchpad, smiths_scratchpad_msg});
  else if (k >= 6 && k <= 8) cdu_enter_speed_limit(k - 6, true, {smiths_scratchpad, smiths_scratchpad_msg});
  else if (k == LSK_L6) smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  else if (k == LSK_R6) {
    smiths_page = SMITHS_PAGE_PROGRESS;
    smiths_progress_page_no = 2;
  }
}

void draw_limits(const CduPage& p) {
  cdu_large(p, 63, 0, "PERF  LIMITS");
  cdu_smallf(p, 220, 0, "%2d / %2d", int(smiths_perf_page_no), int(smiths_perf_page_count));
  limits_key();
  perf_limits_body(p, false);
  draw_bottom(p);
}

}  // namespace

void perf_init_body(const CduPage& p, const PerfInitStyle& style) {
  const double fuel = read_fuel_on_board();
  cdu_small(p, 12, 22, "G W  /  C R Z  C G");
  cdu_largef(p, 0, 33, "%3.1f", cdu_shown_weight(fuel + zero_fuel_weight));
  cdu_small_right(p, 22, "C R Z   A L T");
  if (cruise_alt > TransAlt) cdu_largef(p, 222, 33, "FL%03d", int(cruise_alt / 100));
  else if (cruise_alt != 0) cdu_largef(p, 222, 33, "%5d", int(cruise_alt));
  else cdu_five_boxes(p, 228, 10, 38);
  cdu_small(p, 12, 55, "F U E L");
  draw_weight(p, 66, 66, "%2.1f", fuel, 2);
  cdu_small(p, 190, 55, "C R Z   W I N D");
  if (crz_wind_speed >= 1) cdu_largef(p, 200, 66, "%03d\xB0/%3d", int(crz_wind_dir), int(crz_wind_speed));
  else cdu_large(p, 190, 66, "- - - \xB0 / - - -");
  cdu_small(p, 12, 88, "ZFW");
  draw_weight(p, 99, 99, "%3.1f", zero_fuel_weight > 0 ? zero_fuel_weight : 0.0, 3);
  if (cruise_alt > 0) {
    cdu_small(p, 200, 88, "I S A    D E V");
    draw_temperature(p, 103, isa_deviation, style.isa_dev_as_difference);
    if (style.oat_beside_isa) draw_toc_oat(p);
  }
  cdu_small(p, 12, 121, "R E S E R V E S");
  draw_weight(p, 133, 132, "%2.1f", reserve_fuel, 2);
  if (cruise_alt > 0 && !style.oat_beside_isa) draw_toc_oat(p);
  cdu_small(p, 12, 151, "C O S T   I N D E X");
  static const double three_boxes[3] = {5, 15, 25};
  if (CostIndex != -1) cdu_largef(p, 0, 165, "%3d", int(CostIndex));
  else cdu_entry_boxes(p, three_boxes, 3, 169);
  cdu_small_right(p, 151, "T R A N S   A L T");
  if (TransAlt >= 1) cdu_largef(p, 210, 165, "%5d", int(TransAlt));
  else cdu_five_boxes(p, 228, 10, 169);
}

void perf_limits_body(const CduPage& p, bool mach_zero_padded) {
  // The maximum column stands where the row puts it after a three-digit minimum.
  static const double max_x = cdu_text_width("000 /.000                     ", CDU_LARGE_PX);
  cdu_small(p, 0, 22, "  T I M E    E R R O R    T O L E R A N C E");
  cdu_small(p, 12, 39, "   1 5    S E C    A T    R T A    W P T");
  cdu_small(p, 0, 55, "  M I N    S P D     - - C L B - -       M A X    S P D");
  cdu_small(p, 0, 88, "                            - -  C R Z - -");
  cdu_small(p, 0, 121, "                            - -  D E S - -");
  const double ys[3] = {71, 104, 139};
  for (int i = 0; i < 3; ++i) {
    const SpeedLimit &lo = perf_limit_rows[i].min, &hi = perf_limit_rows[i].max;
    const double lo_mach = *lo.mach * 1000.0, hi_mach = *hi.mach * 1000.0;
    cdu_large(p, 0, ys[i],
              mach_zero_padded ? cdu_format("%3.0f /.%03.0f", *lo.ias, lo_mach) : cdu_format("%3.0f /.%3.0f", *lo.ias, lo_mach));
    cdu_large(p, max_x, ys[i],
              mach_zero_padded ? cdu_format("%3.0f / .%03.0f", *hi.ias, hi_mach)
                               : cdu_format("%3.0f / .%3.0f", *hi.ias, hi_mach));
  }
  cdu_large(p, 205, 198, "RTA >");
}

void smiths_fms_perf_init_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  smiths_perf_page_no = cdu_step_page(smiths_perf_page_no, smiths_perf_page_count);
  CduPage p;
  cdu_page_begin(p, rec, g);
  if (smiths_perf_page_no == 1) draw_init(p);
  else draw_limits(p);
  cdu_page_end(p);
}
