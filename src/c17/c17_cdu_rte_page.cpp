// RTE of the mission CDU: origin, destination, company route and runway on sub-page 1,
// then the route as VIA / TO rows, five a sub-page. Keys, paging and route fields are
// those of the Smiths RTE page, fed with this unit's scratchpad and message line.
#include <strings.h>

#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/route_fields.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"

int32_t c17_dup_return_page = 0;

namespace {

constexpr double ROW_STEP = 33.0;
constexpr const char* NO_VIA = "- - - - - -";

// Several fixes match an entry: DUPLICATE NAMES lists them, the entry back in the
// scratchpad, the row (select_wpt_row) and this page kept for the choice.
void open_page(int smiths_page_id, const std::string& entry) {
  if (smiths_page_id == SMITHS_PAGE_PERF_INIT) {
    c17_cdu_page = C17_CDU_PERF_INIT;
  } else if (smiths_page_id == SMITHS_PAGE_SELECT_WPT) {
    c17_cdu_scratchpad = entry;
    c17_dup_return_page = C17_CDU_RTE;
    c17_dup_first_row = 1;
    c17_cdu_page = C17_CDU_DUPLICATE_NAMES;
  }
}

// A stored plan's name without its file ending (".RTE", or ".PLN" for the simulator's).
std::string plan_name(const StoredPlan& plan) {
  std::string name = plan.name;
  const char* end = name.size() > 4 ? name.c_str() + name.size() - 4 : "";
  if (strcasecmp(end, ".RTE") == 0 || strcasecmp(end, ".PLN") == 0) name.resize(name.size() - 4);
  return name;
}

// The stored plan named by the entry, else the one from its first four characters to
// the rest (an entry of four characters or fewer names a plan only); 0 when none.
int company_route(const std::string& entry) {
  const int count = c17_cdu_plan_count();
  for (int i = 1; i <= count; ++i)
    if (plan_name(stored_plans[i]) == entry || entry == stored_plans[i].name) return i;
  if (entry.size() <= 4) return 0;
  const std::string origin = entry.substr(0, 4), dest = entry.substr(4);
  for (int i = 1; i <= count; ++i)
    if (origin == stored_plans[i].first_ident && dest == stored_plans[i].last_ident) return i;
  return 0;
}

// L2 of sub-page 1: the company route whose name equals the entry goes into the edit
// plan. False for any other key, which the shared route keys take.
bool company_route_key(int page) {
  if (page != 1 || c17_cdu_pending_lsk != 2) return false;
  const std::string entry = c17_cdu_scratchpad;
  if (entry.empty()) return true;
  const int found = company_route(entry);
  if (found == 0) {
    c17_cdu_scratchpad_msg = "NOT IN DATABASE";
    return true;
  }
  const std::string smiths_msg = smiths_scratchpad_msg;
  const int loaded = smiths_load_stored_plan(found);
  // The loader's message is this unit's answer; the Smiths line stays as it was.
  if (!loaded) c17_cdu_scratchpad_msg = smiths_scratchpad_msg;
  smiths_scratchpad_msg = smiths_msg;
  if (!loaded) return true;
  route_co_route = entry;
  fpl_changed_state = fpl_changed_state < 3 ? 1 : 4;
  c17_cdu_scratchpad.clear();
  return true;
}

void draw_route_rows(const CduPage& p, int page) {
  cdu_small(p, 12, 22, "V I A");
  cdu_small(p, 220, 22, "T O");
  for (int k = 1; k <= 5; ++k) {
    const int e = 5 * page - 9 + k;
    const double y = 3 + ROW_STEP * k;
    if (e < 2) continue;
    if (e > rte_row_count) {
      // The row for a new entry after the last one.
      if (e == rte_row_count + 1) {
        cdu_large(p, 0, y, NO_VIA);
        cdu_large(p, 210, y, "- - - - -");
      }
      break;
    }
    const RteRow& row = rte_rows[e];
    if (row.to == FPL_DISCO_IDENT) {
      cdu_small(p, 0, y - 11, "- -   R O U T E    D I S C O N T I N U I T Y  -");
      cdu_large(p, 0, y, NO_VIA);
      continue;
    }
    cdu_large(p, 0, y, row.via);
    if (row.to == FPL_THEN_IDENT) {
      cdu_large(p, 100, y, "THEN");
      cdu_five_boxes(p, 220, 10, y);
    } else {
      cdu_large(p, 190, y, row.to);
    }
  }
}

}  // namespace

void c17_cdu_rte_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  const int page = smiths_rte_page_step();
  cdu_act_mod_tag(p, 18);
  cdu_large(p, 63, 0, "RTE");
  cdu_smallf(p, 220, 0, "%2d/%2d", page, int(smiths_rte_page_count));
  const std::string entry = c17_cdu_scratchpad;
  if (!company_route_key(page))
    open_page(smiths_rte_key(page, c17_cdu_pending_lsk, {c17_cdu_scratchpad, c17_cdu_scratchpad_msg}), entry);
  if (page == 1) smiths_rte_draw_page_1(p);
  else draw_route_rows(p, page);
  cdu_large(p, 0, 187, "- - - - - - - - - - - - - - - - - - - - - - - - -");
  if (fpl_changed_state == 4) cdu_large(p, 0, 198, "< ERASE");
  cdu_large(p, 160, 202, fpl_changed_state == 1 ? "ACTIVATE >" : "PERF INIT >");
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}
