// STORED FLIGHT PLANS page: the stored-plan list six to a page; a line key loads one.
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/route_fields.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"

void smiths_fms_stored_plans_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  int count = stored_plan_count < 0 ? 0 : stored_plan_count;
  if (count > STORED_PLAN_CAPACITY - 1) count = STORED_PLAN_CAPACITY - 1;
  smiths_plans_page_count = (count + 5) / 6;
  if (smiths_plans_page_count < 1) smiths_plans_page_count = 1;
  smiths_plans_page_no = cdu_step_page(smiths_plans_page_no, smiths_plans_page_count);
  int page = smiths_plans_page_no;

  cdu_large(p, 10, 0, "STORED FLIGHT PLANS");
  cdu_smallf(p, 225, 0, "%2d / %2d", page, smiths_plans_page_count);
  for (int row = 1; row <= 6; ++row) {
    int n = 6 * page - 6 + row;
    if (n > count) break;
    cdu_large_fit(p, 0, 33.0 * row, stored_plans[n].name);
  }

  int k = smiths_pending_lsk;
  int row = k >= 1 && k <= 5 ? k : (k == LSK_L6 ? 6 : 0);
  int n = 6 * page - 6 + row;
  if (row >= 1 && n >= 1 && n <= count && smiths_load_stored_plan(n)) {
    smiths_page = SMITHS_PAGE_RTE;
    smiths_rte_page_no = 1;
    // A loaded plan waits for ACTIVATE (or is a change of the active route).
    fpl_changed_state = row == 6 || fpl_changed_state < 3 ? 1 : 4;
  }
  cdu_page_end(p);
}
