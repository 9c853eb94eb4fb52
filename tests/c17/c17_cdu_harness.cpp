#include "tests/c17/c17_cdu_harness.h"

#include <map>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "gauges/gauge_frame.h"
#include "gauges/gauge_table.h"

namespace {

void harness_draw(GaugeHeader*, DeviceContext dc, int32_t width, int32_t height, int32_t mode) {
  c17_cdu_draw(&c17_cdu_surface, dc, width, height, mode);
  clear_cdu_key_flags();
  c17_dup_scroll_up = c17_dup_scroll_down = 0;
}

const GaugeDescriptor harness_desc = {"c17_cdu_harness_callback", GaugeRole::Display, 0, 0, harness_draw, nullptr};

void harness_callback(GaugeHeader* gauge, int32_t service_id, uintptr_t) {
  run_gauge_service(gauge, service_id, harness_desc);
}

GaugeElement harness_elements[] = {{ELEMENT_DRAWN, 0, 0, 0, 365, 289, 0, nullptr}};
GaugeHeader harness_header = {GAUGE_HEADER_VERSION, "C17_CDU_HARNESS", harness_elements, 1, nullptr,
                              harness_callback, 0, nullptr, 0, 0, 0, 0, 0, nullptr};

const std::map<std::string, int32_t> page_keys = {
    {"INDEX", C17_CDU_MSN_INDEX},        {"INIT", C17_CDU_MSN_INIT},      {"SENSORS", C17_CDU_NAV_SENSORS},
    {"FIX", C17_CDU_POSITION_FIX},       {"PLANS", C17_CDU_STORED_PLANS}, {"TOLD", C17_CDU_TAKEOFF_REF},
    {"PROG", C17_CDU_PROGRESS},          {"APPR", C17_CDU_APPROACH_REF},  {"DEP", C17_CDU_DEPARTURES},
    {"ARR", C17_CDU_ARRIVALS},           {"DUP", C17_CDU_DUPLICATE_NAMES},
    {"PERF", C17_CDU_PERF_INIT},
};

}  // namespace

ModuleLinkage* c17_cdu_harness_linkage() {
  static GaugeHeader* gauges[gauge_table_size + 2] = {};
  static ModuleLinkage linkage = Linkage;
  int n = 0;
  for (; n < gauge_table_size && gauge_table[n]; ++n) gauges[n] = gauge_table[n];
  gauges[n] = &harness_header;
  gauges[n + 1] = nullptr;
  linkage.gauges = gauges;
  return &linkage;
}

bool c17_cdu_harness_key(const std::string& key) {
  if (key.size() == 2 && (key[0] == 'L' || key[0] == 'R') && key[1] >= '1' && key[1] <= '6') {
    const int32_t row = key[1] - '0';
    const int32_t base = key[0] == 'L' ? 0 : 5;
    c17_cdu_pending_lsk = row == 6 ? (key[0] == 'L' ? 11 : 12) : base + row;
    return true;
  }
  if (key == "DEL" || key == "CLR") {
    c17_cdu_scratchpad_msg = key == "DEL" ? "DELETE" : "CLR";
    return true;
  }
  if (key == "PREV" || key == "NEXT") {
    (key == "PREV" ? c17_cdu_prev_page : c17_cdu_next_page) = 1;
    (key == "PREV" ? smiths_prev_page_key : smiths_next_page_key) = 1;
    (key == "PREV" ? c17_dup_scroll_up : c17_dup_scroll_down) = 1;
    return true;
  }
  // The route keys as the Smiths keypad has them, onto this unit's legs and hold pages.
  if (key == "LEGS") {
    c17_cdu_page = C17_CDU_FLT_PLAN;
    smiths_legs_mode = 0;
    smiths_dir_intc_index = 0;
    smiths_hold_at_index = 0;
    smiths_legs_page_no = 1;
    smiths_legs_key_flag = 1;
    return true;
  }
  if (key == "DIR INTC") {
    if (fpl_changed_state >= 2) {
      smiths_legs_mode = 1;
      c17_cdu_page = C17_CDU_FLT_PLAN;
    } else {
      c17_cdu_scratchpad_msg = "NO ACTIVE ROUTE";
    }
    return true;
  }
  if (key == "RTE") {
    c17_cdu_page = C17_CDU_RTE;
    smiths_rte_page_no = 1;
    smiths_rte_key_flag = 1;
    return true;
  }
  if (key == "HOLD") {
    smiths_hold_key_flag = 1;
    smiths_hold_page_no = 1;
    if (smiths_listed_hold_count() != 0) {
      c17_cdu_page = C17_CDU_STANDARD_HOLD;
    } else {
      plan_center_index = 0;
      smiths_legs_mode = 2;
      c17_cdu_page = C17_CDU_FLT_PLAN;
    }
    return true;
  }
  auto it = page_keys.find(key);
  if (it == page_keys.end()) return false;
  c17_cdu_page = it->second;
  return true;
}

void c17_cdu_harness_type(const std::string& text) { c17_cdu_scratchpad += text; }
