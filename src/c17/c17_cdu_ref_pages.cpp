// TAKEOFF REF (takeoff flaps, V speeds, thrust rating and the pre-flight status) and
// APPROACH REF (gross weight, the approach flap settings with their reference speeds
// and the landing flap/speed pair).
#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
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

// V1 and VR below 250 kt, V2 below 270 kt.
void takeoff_speed(int32_t k) {
  static int32_t* const speeds[3] = {&V1, &VR, &V2};
  const int32_t n = whole_entry();
  if (n < 1 || n >= (k == 8 ? 270 : 250)) {
    c17_cdu_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  *speeds[k - 6] = n;
  c17_cdu_scratchpad.clear();
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
    rte_page_no = 1;
    rte_key_flag = 1;
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

namespace {

struct ApproachFlaps {
  const std::string* flaps;
  int32_t* vref;
};
const ApproachFlaps approach_rows[3] = {
    {.flaps = &APPRFLAPSMIN, .vref = &VREFMIN},
    {.flaps = &APPRFLAPSMID, .vref = &VREFMID},
    {.flaps = &APPRFLAPSMAX, .vref = &VREFMAX},
};

// R1-R3: an empty scratchpad copies the speed down; "0" alone is a speed of 0; a
// negative entry is left in the scratchpad.
void approach_speed(int32_t& vref) {
  std::string& s = c17_cdu_scratchpad;
  if (s.empty()) {
    s = cdu_format("%d", int(vref));
    return;
  }
  const int32_t n = cdu_leading_int(s);
  if (n < 0) return;
  if (n == 0 && s != "0") {
    c17_cdu_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  vref = n;
  s.clear();
}

// R4: "flaps/speed" of one of the three rows, the "/" at position 2 or later.
void landing_pair() {
  const std::string& s = c17_cdu_scratchpad;
  const std::size_t slash = s.find('/');
  if (slash == std::string::npos || slash < 2) return;
  const std::string flaps = s.substr(0, slash);
  const int32_t speed = cdu_leading_int(s.substr(slash + 1));
  for (const ApproachFlaps& r : approach_rows) {
    if (flaps != *r.flaps || speed != *r.vref) continue;
    LDGFLAPS = cdu_leading_int(flaps);
    VREF = speed;
    c17_cdu_scratchpad.clear();
    return;
  }
  c17_cdu_scratchpad_msg = "INVALID ENTRY";
}

}  // namespace

void c17_cdu_approach_ref_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  const int32_t k = c17_cdu_pending_lsk;
  if (k >= 6 && k <= 8) approach_speed(*approach_rows[k - 6].vref);
  else if (k == 9) landing_pair();
  else if (k == 11) c17_cdu_page = C17_CDU_MSN_INDEX;

  approach_ref_body(p, (get_fuel_on_board_weight() + zero_fuel_weight) * (WeightUnit == "KGS" ? kg_per_lb : 1.0));
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}
