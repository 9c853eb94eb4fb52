// RTE of the mission CDU: origin, destination, company route and runway on sub-page 1,
// then the route as VIA / TO rows, five a sub-page. Keys, paging and route fields are
// those of the Smiths RTE page, fed with this unit's scratchpad and message line.
#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"

int32_t c17_dup_return_page = 0;

namespace {

constexpr double ROW_STEP = 33.0;
constexpr const char* NO_VIA = "- - - - - -";

// Several fixes match an entry: the row is kept (select_wpt_row) and the page that asked.
void open_page(int smiths_page_id, int32_t return_page) {
  if (smiths_page_id == SMITHS_PAGE_PERF_INIT) {
    c17_cdu_page = C17_CDU_PERF_INIT;
  } else if (smiths_page_id == SMITHS_PAGE_SELECT_WPT) {
    c17_dup_return_page = return_page;
    c17_cdu_page = C17_CDU_SELECT_FIX;
  }
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
  cdu_smallf(p, 220, 0, "%2d/%2d", page, int(rte_page_count));
  open_page(smiths_rte_key(page, c17_cdu_pending_lsk, {c17_cdu_scratchpad, c17_cdu_scratchpad_msg}), C17_CDU_RTE);
  if (page == 1) smiths_rte_draw_page_1(p);
  else draw_route_rows(p, page);
  cdu_large(p, 0, 187, "- - - - - - - - - - - - - - - - - - - - - - - - -");
  if (fpl_changed_state == 4) cdu_large(p, 0, 198, "< ERASE");
  cdu_large(p, 160, 202, fpl_changed_state == 1 ? "ACTIVATE >" : "PERF INIT >");
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}
