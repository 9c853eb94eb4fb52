// TAKEOFF REF (takeoff flaps, V speeds, thrust rating and the pre-flight status) and
// APPROACH REF (gross weight, the approach flap settings with their reference speeds
// and the landing flap/speed pair).
#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/flight_log.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"

namespace {

// The scratchpad as a whole number of at most six digits; -1 when it is not one.
int32_t whole_entry() {
  const std::string& s = c17_cdu_scratchpad;
  if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string::npos) return -1;
  return cdu_leading_int(s);
}

void takeoff_flaps() {
  const int32_t n = whole_entry();
  if (n < 1 || n > 50 || TOFLAPSRANGE.find("," + c17_cdu_scratchpad + ",") == std::string::npos) {
    c17_cdu_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  TOFLAPS = n;
  c17_cdu_scratchpad.clear();
}

void takeoff_speed(int32_t k) {
  if (!cdu_enter_takeoff_speed(k - 6, c17_cdu_scratchpad)) c17_cdu_scratchpad_msg = "INVALID ENTRY";
}

void takeoff_key(GaugeSurface* rec) {
  int32_t k = c17_cdu_pending_lsk;
  const bool empty = c17_cdu_scratchpad.empty();
  if (k == 1 && empty) k = 5;
  if (k >= 6 && k <= 8 && empty) k = 9;
  if (k == 1) {
    takeoff_flaps();
  } else if (k == 5) {
    if (perf_init_needed()) c17_cdu_page = C17_CDU_PERF_INIT;
  } else if (k >= 6 && k <= 8) {
    takeoff_speed(k);
  } else if (k == 9) {
    if (fpl_changed_state != 0) return;
    c17_cdu_page = C17_CDU_RTE;
    smiths_rte_page_no = 1;
    smiths_rte_key_flag = 1;
  } else if (k == 10) {
    if (route_origin != FPL_NONE_TEXT) cdu_reset_page_10a(rec);
  } else if (k == 11) {
    c17_cdu_page = C17_CDU_MSN_INDEX;
  }
}

}  // namespace

void c17_cdu_takeoff_ref_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  takeoff_key(rec);
  takeoff_ref_body(p, "------");
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}

void c17_cdu_approach_ref_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  const int32_t k = c17_cdu_pending_lsk;
  int32_t* const speeds[3] = {&VREFMIN, &VREFMID, &VREFMAX};
  if (k >= 6 && k <= 8) cdu_approach_speed_entry(*speeds[k - 6], {c17_cdu_scratchpad, c17_cdu_scratchpad_msg});
  else if (k == 9) cdu_approach_landing_entry({c17_cdu_scratchpad, c17_cdu_scratchpad_msg});
  else if (k == 11) c17_cdu_page = C17_CDU_MSN_INDEX;

  approach_ref_body(p, (get_fuel_on_board_weight() + zero_fuel_weight) * (WeightUnit == "KGS" ? kg_per_lb : 1.0));
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}
