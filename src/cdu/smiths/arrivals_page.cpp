// ARRIVALS page: STARs and their transitions on the left; approaches, approach
// transitions and runways on the right.
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/route_fields.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"

void cdu_route_select_line_d(GaugeSurface*, int n) {
  if (n < 1 || n > arr_rwy_count || n > PROC_LIST_CAPACITY) return;
  pending_arr_rwy = arr_rwy_list[n];
  arr_rwy_index = n;
  smiths_arr_rwy_chosen = 1;
  route_arr_rwy = pending_arr_rwy;
  smiths_arr_page_no = 1;
  if (pending_star != FPL_NONE_TEXT) insert_procedure_edit_3(pending_star_index, 1);
  set_dest_proc_entry(pending_arr_rwy, FPL_NONE_TEXT);
  list_approaches(pending_arr_rwy, FPL_NONE_TEXT);
  if (fpl_changed_state == 3) fpl_changed_step();
}

namespace {

const double row_y[6] = {0, 33, 66, 99, 132, 165};

const char* mark() { return fpl_changed_state == 3 ? "<ACT>" : "<SEL>"; }

// Rows (bit y / 33) where a STAR or transition mark stands at 93.
using MarkRows = unsigned;

void star_mark(const CduPage& p, MarkRows& rows, double y) {
  cdu_large(p, 93, y, mark());
  rows |= 1u << static_cast<int>(y / 33.0);
}

// The approach's mark ends a space before the approach named at 190; beside a STAR mark on
// its row it stands after that mark in the small font.
void approach_mark(const CduPage& p, MarkRows star_rows, double y) {
  if (star_rows & (1u << static_cast<int>(y / 33.0))) cdu_small(p, 152, y + 5, mark());
  else cdu_large(p, 132, y, mark());
}

int appr_count() { return arr_appr_count < PROC_LIST_CAPACITY ? arr_appr_count : PROC_LIST_CAPACITY; }

int arrivals_page_count() {
  int left = smiths_arr_star_state == 1 ? arr_trans_count + 1 : arr_star_count;
  int right;
  if (smiths_arr_rwy_chosen == 1) right = 1;
  else if (smiths_arr_appr_chosen == 1) right = smiths_arr_appr_trans_chosen == 1 ? 2 : arr_appr_trans_count + 1;
  else right = arr_rwy_count + arr_appr_trans_count + arr_appr_count + (arr_appr_count == 0 ? 1 : 0);
  int n = left > right ? left : right;
  int pages = (n + 4) / 5;
  return pages < 1 ? 1 : pages;
}

int left_first(int page) { return smiths_arr_star_state == 1 && page >= 2 ? 5 * page - 5 : 5 * page - 4; }

// Runway index shown on row 1 of a page that lists approaches then runways.
int first_runway(int page) {
  int Fr = 5 * page - 4;
  return arr_appr_count > 0 ? Fr - appr_count() : Fr - 1;
}

}  // namespace

void choose_approach(int i) {
  smiths_arr_appr_trans_index = 0;
  arr_appr_index = i;
  pending_appr_type = arr_appr_list[i].type;
  route_arr_rwy = arr_appr_list[i].runway;
  pending_appr_trans = FPL_NONE_TEXT;
  list_approach_transitions();
  insert_approach_disco(1);
  apply_approach_selection();
  smiths_arr_appr_chosen = 1;
  smiths_arr_page_no = 1;
}

namespace {

void arrivals_key(GaugeSurface* rec, int page) {
  int k = smiths_pending_lsk;
  int F = left_first(page);
  int Fr = 5 * page - 4;
  if (k >= 1 && k <= 5) {
    if (smiths_arr_star_state != 1) {
      int i = F + k - 1;
      if (i >= 1 && i <= arr_star_count) {
        insert_procedure_edit_3(i, 0);
        smiths_arr_star_state = 1;
        smiths_arr_page_no = 1;
      }
    } else {
      int i = page == 1 ? k - 1 : F + k - 1;
      if (i >= 1 && i <= arr_trans_count && i <= PROC_LIST_CAPACITY) {
        pending_star_trans = arr_trans_list[i];
        insert_procedure_edit_3(pending_star_index, 1);
        smiths_arr_trans_chosen = 1;
        smiths_arr_page_no = 1;
      }
    }
  } else if (k >= 6 && k <= 10) {
    int r = k - 5;
    if (smiths_arr_appr_chosen == 1) {
      int i = (4 * page - 3) + (k - 7);
      if (k >= 7 && i >= 1 && i <= arr_appr_trans_count && i <= PROC_LIST_CAPACITY) {
        smiths_arr_appr_trans_index = i;
        pending_appr_trans = arr_appr_trans_list[i];
        list_approach_transitions();
        insert_approach_disco(1);
        smiths_arr_appr_trans_chosen = 1;
      }
    } else if (smiths_arr_rwy_chosen == 0 && Fr + r - 1 >= 1 && Fr + r - 1 <= appr_count()) {
      choose_approach(Fr + r - 1);
    } else if (smiths_arr_rwy_chosen == 0) {
      cdu_route_select_line_d(rec, first_runway(page) + r - 1);
    } else {
      cdu_route_select_line_d(rec, Fr + r - 1);
    }
  } else if (k == LSK_L6) {
    if (fpl_changed_state == 4) erase_route_mods();
    else smiths_page = SMITHS_PAGE_DEP_ARR_INDEX;
  } else if (k == LSK_R6) {
    smiths_page = SMITHS_PAGE_RTE;
  }
}

MarkRows draw_left(const CduPage& p, int page) {
  MarkRows rows = 0;
  int F = left_first(page);
  if (smiths_arr_star_state == 0 || (smiths_arr_star_state == 1 && page == 1)) cdu_small(p, 10, 19, "S T A R S");
  if (arr_star_count == 0) {
    cdu_large(p, 0, 33, "- N O N E -");
    return rows;
  }
  if (smiths_arr_star_state != 1) {
    for (int r = 1; r <= 5; ++r) {
      int i = F + r - 1;
      if (i > arr_star_count || i > PROC_LIST_CAPACITY) break;
      cdu_largef(p, 0, row_y[r], "%-6s", arr_star_list[i].c_str());
      if (arr_star_list[i] == pending_star) star_mark(p, rows, row_y[r]);
    }
    return rows;
  }
  if (page == 1) {
    cdu_largef(p, 0, 33, "%-6s", pending_star.c_str());
    star_mark(p, rows, 33);
  }
  int first_trans = page == 1 ? 1 : F;
  if (first_trans <= arr_trans_count) cdu_small(p, 10, page == 1 ? 55 : 19, "T R A N S");
  if (smiths_arr_trans_chosen == 1) {
    if (page == 1) {
      cdu_largef(p, 0, 66, "%-5s", pending_star_trans.c_str());
      star_mark(p, rows, 66);
    }
  } else if (page == 1) {
    for (int i = 1; i <= 4 && i <= arr_trans_count; ++i) cdu_largef(p, 0, row_y[i + 1], "%-5s", arr_trans_list[i].c_str());
  } else {
    for (int r = 1; r <= 5; ++r) {
      int i = F + r - 1;
      if (i > arr_trans_count || i > PROC_LIST_CAPACITY) break;
      cdu_largef(p, 0, row_y[r], "%-5s", arr_trans_list[i].c_str());
    }
  }
  return rows;
}

void draw_right(const CduPage& p, int page, MarkRows star_rows) {
  int Fr = 5 * page - 4;
  if (smiths_arr_rwy_chosen == 1) {
    cdu_small(p, 190, 19, "R U N W A Y S");
    if (page == 1) {
      cdu_largef(p, 240, 33, "%-3s", pending_arr_rwy.c_str());
      cdu_large(p, 153, 33, "<SEL>");
    }
    return;
  }
  if (smiths_arr_appr_chosen == 1) {
    int i = arr_appr_index;
    approach_mark(p, star_rows, 33);
    if (i >= 1 && i <= appr_count())
      cdu_largef(p, 190, 33, "%4s %3s", arr_appr_list[i].type.c_str(), arr_appr_list[i].runway.c_str());
    if (page == 1 || page - 5 <= arr_appr_trans_count) cdu_small(p, 220, 52, "T R A N S");
    if (arr_appr_trans_count == 0) {
      if (page == 1) cdu_large(p, 200, 66, "- N O N E -");
    } else if (smiths_arr_appr_trans_chosen == 1) {
      approach_mark(p, star_rows, 66);
      cdu_largef(p, 210, 66, "%5s", pending_appr_trans.c_str());
    } else {
      int G = 4 * page - 3;
      for (int r = 0; r < 4; ++r) {
        int t = G + r;
        if (t > arr_appr_trans_count || t > PROC_LIST_CAPACITY) break;
        cdu_largef(p, 210, row_y[r + 2], "%5s", arr_appr_trans_list[t].c_str());
        if (t == smiths_arr_appr_trans_index) approach_mark(p, star_rows, row_y[r + 2]);
      }
    }
    return;
  }
  // Approaches, then the runways in the same column.
  if (Fr <= arr_appr_count || page == 1) cdu_small(p, 160, 19, "A P P R O A C H E S");
  for (int r = 1; r <= 5; ++r) {
    int j = Fr + r - 1;
    double y = row_y[r];
    if (arr_appr_count == 0 && j == 1) {
      cdu_large(p, 200, 33, "- N O N E -");
      continue;
    }
    if (j <= appr_count()) {
      cdu_largef(p, 190, y, "%4s %3s", arr_appr_list[j].type.c_str(), arr_appr_list[j].runway.c_str());
      if (j == arr_appr_index) approach_mark(p, star_rows, y);
      continue;
    }
    int w = first_runway(page) + r - 1;
    if (w < 1) continue;
    if (arr_rwy_count == 0) {
      if (w == 1) cdu_large(p, 200, 66, "- N O N E -");
      break;
    }
    if (w > arr_rwy_count || w > PROC_LIST_CAPACITY) break;
    if (w == 1 || r == 1) cdu_small(p, 190, y - 14, "R U N W A Y S");
    cdu_largef(p, 240, y, "%-3s", arr_rwy_list[w].c_str());
    if (arr_rwy_list[w] == pending_arr_rwy) cdu_large(p, 153, y, mark());
  }
}

}  // namespace

void smiths_fms_arrivals_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  smiths_arr_page_count = arrivals_page_count();
  smiths_arr_page_no = cdu_step_page(smiths_arr_page_no, smiths_arr_page_count);
  arrivals_key(rec, smiths_arr_page_no);

  smiths_arr_page_count = arrivals_page_count();
  if (smiths_arr_page_no > smiths_arr_page_count) smiths_arr_page_no = smiths_arr_page_count;
  int page = smiths_arr_page_no;
  cdu_largef(p, 40, 0, "%s ARRIVALS", route_dest.c_str());
  cdu_smallf(p, 220, 0, "%2d / %2d", page, smiths_arr_page_count);
  draw_right(p, page, draw_left(p, page));
  cdu_large_shrink(p, 2, 184, "- - - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, fpl_changed_state == 4 ? "<ERASE" : "<INDEX");
  cdu_large(p, 200, 198, "ROUTE>");
  cdu_bottom_line(p);
  cdu_page_end(p);
}
