// DEP/ARR INDEX and DEPARTURES pages.
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/route_fields.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"

void cdu_reset_page_10c(GaugeSurface*) {
  smiths_page = SMITHS_PAGE_DEPARTURES;
  smiths_dep_page_no = 1;
  if (smiths_dep_sid_state == 1) smiths_dep_sid_state = 2;
  smiths_dep_trans_chosen = 0;
  smiths_dep_rwy_chosen = 0;
  set_origin_proc_entry(FPL_NONE_TEXT, FPL_NONE_TEXT);
  fill_origin_proc_entry(FPL_NONE_TEXT);
}

void cdu_route_select_line_b(GaugeSurface*, int n) {
  if (n < 1 || n > dep_rwy_count || n > PROC_LIST_CAPACITY) return;
  route_runway = dep_rwy_list[n];
  dep_rwy_index = n;
  smiths_dep_rwy_chosen = 1;
  route_dep_rwy = route_runway;
  smiths_dep_page_no = 1;
  if (pending_sid != FPL_NONE_TEXT) insert_procedure_active_2(pending_sid_index, 1);
  set_origin_proc_entry(route_runway, FPL_NONE_TEXT);
  if (fpl_changed_state == 3) fpl_changed_step();
}

void smiths_fms_dep_arr_index_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  if (smiths_pending_lsk == 1 && route_origin != FPL_NONE_TEXT) {
    cdu_reset_page_10c(rec);
  } else if (smiths_pending_lsk == 7 && route_dest != FPL_NONE_TEXT && !route_dest.empty()) {
    smiths_page = SMITHS_PAGE_ARRIVALS;
    smiths_arr_page_no = 1;
    if (smiths_arr_star_state == 1) smiths_arr_star_state = 2;
    smiths_arr_trans_chosen = 0;
    set_dest_proc_entry(FPL_NONE_TEXT, FPL_NONE_TEXT);
    fill_dest_proc_entry(FPL_NONE_TEXT);
    list_approaches(FPL_NONE_TEXT, FPL_NONE_TEXT);
    smiths_arr_rwy_chosen = 0;
    smiths_arr_appr_chosen = 0;
    smiths_arr_appr_trans_chosen = 0;
  }
  cdu_large(p, 63, 0, "DEP / ARR  INDEX");
  cdu_small(p, 222, 5, "1 / 1");  // a space clear of the title's end
  cdu_large(p, 0, 33, "< DEP");
  cdu_largef(p, 90, 33, "%s", route_origin.c_str());
  cdu_largef(p, 90, 66, "%s", route_dest.c_str());
  cdu_large(p, 220, 66, "ARR >");
  cdu_large(p, 0, 184, "DEP");
  cdu_large(p, 90, 184, "OTHER");
  cdu_large(p, 220, 184, "ARR");
  cdu_large(p, 0, 198, "< - - - -");
  cdu_large(p, 220, 198, "- - - - >");
  cdu_bottom_line(p);
  cdu_page_end(p);
}

namespace {

const char* mark() { return fpl_changed_state == 3 ? "<ACT>" : "<SEL>"; }

int dep_page_count() {
  int n = smiths_dep_sid_state == 1 ? dep_trans_count + 1 : dep_sid_count;
  if (dep_rwy_count > n) n = dep_rwy_count;
  int pages = (n + 4) / 5;
  return pages < 1 ? 1 : pages;
}

int dep_first(int page) { return smiths_dep_sid_state == 1 && page >= 2 ? 5 * page - 5 : 5 * page - 4; }

void departures_key(GaugeSurface* rec, int F) {
  int k = smiths_pending_lsk;
  if (k >= 1 && k <= 5) {
    if (smiths_dep_sid_state != 1) {
      int i = F + k - 1;
      if (i >= 1 && i <= dep_sid_count) {
        insert_procedure_active_2(i, 0);
        smiths_dep_sid_state = 1;
        smiths_dep_page_no = 1;
      }
    } else {
      int i = smiths_dep_page_no == 1 ? k - 1 : F + k - 1;
      if (i >= 1 && i <= dep_trans_count && i <= PROC_LIST_CAPACITY) {
        pending_sid_trans = dep_trans_list[i];
        insert_procedure_active_2(pending_sid_index, 1);
        smiths_dep_trans_chosen = 1;
        smiths_dep_page_no = 1;
      }
    }
  } else if (k >= 6 && k <= 10) {
    cdu_route_select_line_b(rec, F + k - 6);
  } else if (k == LSK_L6) {
    if (fpl_changed_state == 4) erase_route_mods();
    else smiths_page = SMITHS_PAGE_DEP_ARR_INDEX;
  } else if (k == LSK_R6) {
    smiths_page = SMITHS_PAGE_RTE;
  }
}

}  // namespace

void smiths_fms_departures_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  smiths_dep_page_count = dep_page_count();
  smiths_dep_page_no = cdu_step_page(smiths_dep_page_no, smiths_dep_page_count);
  departures_key(rec, dep_first(smiths_dep_page_no));

  smiths_dep_page_count = dep_page_count();
  if (smiths_dep_page_no > smiths_dep_page_count) smiths_dep_page_no = smiths_dep_page_count;
  int page = smiths_dep_page_no;
  int F = dep_first(page);
  const double row_y[6] = {0, 33, 66, 99, 132, 165};

  cdu_largef(p, 25, 0, "%s DEPARTURES", route_origin.c_str());
  cdu_smallf(p, 230, 0, "%2d / %2d", page, smiths_dep_page_count);
  // SIDs and their transitions.
  if (smiths_dep_sid_state != 1 || page == 1) cdu_small(p, 10, 19, "S I D S");
  if (dep_sid_count == 0) {
    cdu_large(p, 0, 33, "- N O N E -");
  } else if (smiths_dep_sid_state != 1) {
    for (int r = 1; r <= 5; ++r) {
      int i = F + r - 1;
      if (i > dep_sid_count || i > PROC_LIST_CAPACITY) break;
      cdu_largef(p, 0, row_y[r], "%-6s", dep_sid_list[i].c_str());
      if (dep_sid_list[i] == pending_sid) cdu_large(p, 93, row_y[r], mark());
    }
  } else {
    if (page == 1) {
      cdu_largef(p, 0, 33, "%-6s", pending_sid.c_str());
      cdu_large(p, 93, 33, mark());
    }
    int first_trans = page == 1 ? 1 : F;
    if (first_trans <= dep_trans_count) cdu_small(p, 10, page == 1 ? 53 : 19, "T R A N S");
    if (dep_trans_count == 0) {
      if (page == 1) cdu_large(p, 0, 66, "- N O N E -");
    } else if (smiths_dep_trans_chosen == 1) {
      if (page == 1) {
        cdu_largef(p, 0, 66, "%-5s", pending_sid_trans.c_str());
        cdu_large(p, 93, 66, mark());
      }
    } else if (page == 1) {
      for (int i = 1; i <= 4 && i <= dep_trans_count; ++i) cdu_largef(p, 0, row_y[i + 1], "%-5s", dep_trans_list[i].c_str());
    } else {
      for (int r = 1; r <= 5; ++r) {
        int i = F + r - 1;
        if (i > dep_trans_count || i > PROC_LIST_CAPACITY) break;
        cdu_largef(p, 0, row_y[r], "%-5s", dep_trans_list[i].c_str());
      }
    }
  }
  // Runways.
  cdu_small(p, 190, 19, "R U N W A Y S");
  if (smiths_dep_rwy_chosen == 1) {
    if (page == 1) {
      cdu_largef(p, 240, 33, "%-3s", route_runway.c_str());
      cdu_large(p, 153, 33, mark());
    }
  } else {
    for (int r = 1; r <= 5; ++r) {
      int i = F + r - 1;
      if (i > dep_rwy_count || i > PROC_LIST_CAPACITY) break;
      cdu_largef(p, 240, row_y[r], "%-3s", dep_rwy_list[i].c_str());
      if (dep_rwy_list[i] == route_runway) cdu_large(p, 153, row_y[r], mark());
    }
  }
  cdu_large(p, 2, 184, "- - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, fpl_changed_state == 4 ? "<ERASE" : "<INDEX");
  cdu_large_fit(p, 210, 198, "ROUTE>");
  cdu_bottom_line(p);
  cdu_page_end(p);
}
