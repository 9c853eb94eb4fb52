// TAKEOFF REF page: takeoff flaps and V speeds, the engine rating and the pre-flight
// status with the pages still needed before takeoff.
#include <string>

#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/route_fields.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"

bool perf_init_needed() { return reserve_fuel == 0 || cruise_alt == 0; }
bool departure_needed() { return route_runway == FPL_NONE_TEXT; }

namespace {

void open_perf_init() {
  if (!perf_init_needed()) return;
  smiths_page = SMITHS_PAGE_PERF_INIT;
  smiths_perf_page_no = 1;
}

void open_route() {
  if (fpl_changed_state != 0) return;
  smiths_page = SMITHS_PAGE_RTE;
  smiths_rte_page_no = 1;
  smiths_rte_key_flag = 1;
}

void enter_flaps() {
  int32_t v = cdu_leading_int(smiths_scratchpad);
  if (v < 1 || v > 50 || TOFLAPSRANGE.find("," + smiths_scratchpad + ",") == std::string::npos) {
    smiths_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  TOFLAPS = v;
  smiths_scratchpad.clear();
}

void handle_key(GaugeSurface* rec) {
  int k = smiths_pending_lsk;
  bool empty = smiths_scratchpad.empty();
  if (k == 1 && empty) open_perf_init();
  else if (k == 1) enter_flaps();
  else if (k == 5) open_perf_init();
  else if (k >= 6 && k <= 8 && empty) open_route();
  else if (k >= 6 && k <= 8 && !cdu_enter_takeoff_speed(k - 6, smiths_scratchpad))
    smiths_scratchpad_msg = "INVALID ENTRY";
  else if (k == 9) open_route();
  else if (k == 10 && route_origin != FPL_NONE_TEXT) cdu_reset_page_10c(rec);
  else if (k == LSK_L6) smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
}

}  // namespace

bool cdu_enter_takeoff_speed(int which, std::string& pad) {
  static int32_t* const speeds[3] = {&V1, &VR, &V2};
  if (which < 0 || which > 2) return false;
  int32_t v = 0;
  if (!read_speed_kt(pad, cdu_least_reference_speed_kt(), which == 2 ? 269 : 249, v)) return false;
  *speeds[which] = v;
  for (int j = 0; j < 3; ++j)
    if (*speeds[j] > 0 && (j < which ? *speeds[j] > v : (j > which && *speeds[j] < v))) *speeds[j] = 0;
  pad.clear();
  return true;
}

void takeoff_ref_body(const CduPage& p, const char* unset) {
  auto draw_speed = [&](double y, int32_t v) {
    if (v > 0) cdu_largef(p, 245, y, "%3d", int(v));
    else if (*unset) cdu_large_right(p, y, unset);  // wider than a speed: ends at the margin
  };
  cdu_large(p, 63, 0, "TAKEOFF  REF");
  cdu_small(p, 220, 3, "1 / 1");
  cdu_small(p, 12, 22, "F L A P S");
  if (TOFLAPS > 0) cdu_largef(p, 20, 33, "%d\xB0", int(TOFLAPS));
  else if (*unset) cdu_large(p, 20, 33, unset);
  cdu_small_right(p, 22, "V1");
  draw_speed(36, V1);
  if (EngThrust > 0) cdu_smallf(p, 12, 55, "%d K   N 1", int(EngThrust));
  else cdu_small(p, 12, 55, "- - K   N 1");
  cdu_small_right(p, 55, "V R");
  draw_speed(68, VR);
  cdu_small(p, 13, 85, "C G             T R I M      ");
  cdu_large(p, 0, 99, "-  -  . - %");
  cdu_small_right(p, 85, "V 2");
  draw_speed(98, V2);
  bool complete = fpl_changed_state != 0 && !perf_init_needed() && !departure_needed();
  const char* status = complete ? "P R E     F L T   C O M P L E T E" : "P R E     F L T   S T A T U S";
  // The status rule runs either side of its label, clear of it.
  constexpr double label_x = 55.0, gap = 12.0;
  cdu_large(p, 0, 116, "- - - -");
  cdu_small(p, label_x, 121, status);
  const double right = label_x + cdu_text_width(status, CDU_SMALL_PX) + gap;
  std::string dashes = "-";
  while (right + cdu_text_width(dashes + " -", CDU_LARGE_PX) <= 272.0) dashes += " -";
  cdu_large(p, right, 116, dashes);
  if (fpl_changed_state == 0) cdu_large(p, 200, 133, "ROUTE>");
  if (perf_init_needed()) cdu_large(p, 0, 167, "<PERF  INIT");
  if (departure_needed()) cdu_large_fit(p, 157, 167, "DEPARTURE>");
  cdu_large_shrink(p, 2, 184, "- - - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, "<INDEX");
}

void smiths_fms_takeoff_ref_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  handle_key(rec);
  takeoff_ref_body(p, "");
  cdu_bottom_line(p);
  cdu_page_end(p);
}
