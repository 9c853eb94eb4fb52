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

bool perf_init_needed() { return fuel_reserves == 0 || cruise_alt == 0; }
bool departure_needed() { return route_runway == FPL_NONE_TEXT; }

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

void speed_or_dashes(const CduPage& p, double y, int32_t v) {
  if (v > 0) cdu_largef(p, 245, y, "%3d", int(v));
  else cdu_large(p, 245, y, "------");
}

}  // namespace

void c17_cdu_takeoff_ref_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  takeoff_key(rec);
  cdu_large(p, 63, 0, "TAKEOFF  REF");
  cdu_small(p, 220, 3, "1 / 1");
  cdu_small(p, 12, 22, "F L A P S");
  if (TOFLAPS > 0) cdu_largef(p, 20, 33, "%d\xB0", int(TOFLAPS));
  else cdu_large(p, 20, 33, "------");
  cdu_small_right(p, 22, "V1");
  speed_or_dashes(p, 36, V1);
  if (EngThrust > 0) cdu_smallf(p, 12, 55, "%d K   N 1", int(EngThrust));
  else cdu_small(p, 12, 55, "- - K   N 1");
  cdu_small_right(p, 55, "V R");
  speed_or_dashes(p, 68, VR);
  cdu_small(p, 13, 85, "C G             T R I M      ");
  cdu_large(p, 0, 99, "-  -  . - %");
  cdu_small_right(p, 85, "V 2");
  speed_or_dashes(p, 98, V2);
  if (fpl_changed_state != 0 && !perf_init_needed() && !departure_needed()) {
    cdu_large(p, 0, 116, "- - - - -         -                             - - -");
    cdu_small(p, 55, 121, "P R E     F L T   C O M P L E T E");
  } else {
    cdu_large(p, 0, 116, "- - - - -         -                         - - - - -");
    cdu_small(p, 55, 121, "P R E     F L T   S T A T U S");
  }
  if (fpl_changed_state == 0) cdu_large(p, 200, 133, "ROUTE>");
  if (perf_init_needed()) cdu_large(p, 0, 167, "<PERF  INIT");
  if (departure_needed()) cdu_large(p, 157, 167, "DEPARTURE>");
  cdu_large(p, 2, 184, "- - - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, "<INDEX");
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}

namespace {

struct ApproachFlaps {
  const std::string* flaps;
  int32_t* vref;
  double y;
};
const ApproachFlaps approach_rows[3] = {
    {.flaps = &APPRFLAPSMIN, .vref = &VREFMIN, .y = 33},
    {.flaps = &APPRFLAPSMID, .vref = &VREFMID, .y = 66},
    {.flaps = &APPRFLAPSMAX, .vref = &VREFMAX, .y = 99},
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

  cdu_large(p, 63, 0, "APPROACH REF");
  cdu_small(p, 12, 22, "G R O S S   W T");
  const double weight = (get_fuel_on_board_weight() + zero_fuel_weight) * (WeightUnit == "KGS" ? kg_per_lb : 1.0);
  cdu_largef(p, 0, 33, "%3.1f", weight / 1000.0);
  cdu_small(p, 150, 22, "F L A P S");
  cdu_small(p, 230, 22, "V R E F");
  for (const ApproachFlaps& r : approach_rows) {
    cdu_largef(p, 160, r.y, "%3s\xB0", r.flaps->c_str());
    cdu_smallf(p, 223, r.y + 5, "%3d K T", int(*r.vref));
  }
  cdu_small(p, 190, 121, "F L A P / S P D");
  if (LDGFLAPS != 0 && VREF != 0) {
    cdu_largef(p, 210, 133, "%2d\xB0/%3d", int(LDGFLAPS), int(VREF));
  } else {
    cdu_large(p, 215, 133, "- -  - - -");
    cdu_small(p, 235, 138, "/");
  }
  cdu_small(p, 170, 151, "W I N D    C O R R");
  cdu_large(p, 0, 184, "- - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, "< INDEX");
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}
