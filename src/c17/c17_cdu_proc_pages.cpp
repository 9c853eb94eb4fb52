// DEPARTURES (SIDs, their transitions and the origin's runways) and ARRIVALS (STARs and
// their transitions; approaches, approach transitions and runways of the destination).
// The choices, lists and paging are the Smiths CDU's procedure pages' own: the pages of
// both units show and edit one selection, turned by the Smiths PREV/NEXT PAGE flags.
#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/route_fields.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"

void cdu_reset_page_10a(GaugeSurface* rec) {
  // The Smiths reset, without moving the Smiths CDU off its page.
  const int32_t smiths_shown = smiths_page;
  cdu_reset_page_10c(rec);
  smiths_page = smiths_shown;
  c17_cdu_page = C17_CDU_DEPARTURES;
}

namespace {

constexpr double ROW_Y[5] = {41, 74, 107, 140, 173};
// An approach's tag ends a space before the approach named at 190.
constexpr double APPROACH_TAG_X = 132;
// DEPARTURES lists from the chosen SID's line, the fifth row clear of the rule at 184.
constexpr double DEP_ROW_Y[5] = {33, 66, 99, 132, 165};
// A runway's tag, clear of the SID's tag at x 93 on the same line.
constexpr double DEP_RWY_TAG_X = 175.0;
constexpr int32_t PAGE_DEP_ARR_INDEX = 24;  // not drawn by this unit

const char* tag() { return fpl_changed_state == 3 ? "<ACT>" : "<SEL>"; }

int32_t pages_of(int32_t lines, int32_t per_page) { return lines > 0 ? (lines + per_page - 1) / per_page : 1; }

// Turns the page with the Smiths PREV/NEXT PAGE flags, lets the line key act on it, and
// keeps the page within the count of the lists the key may have changed.
int32_t turn_and_act(int32_t& page_no, int32_t& page_count, int32_t (*count)(),
                     void (*key)(GaugeSurface*, int32_t), GaugeSurface* rec) {
  page_count = count();
  page_no = cdu_step_page(page_no, page_count);
  key(rec, page_no);
  page_count = count();
  if (page_no > page_count) page_no = page_count;
  if (page_no < 1) page_no = 1;
  return page_no;
}

// Entry i of a 1-based choice list, or null past its count.
const std::string* listed(const std::string* list, int32_t count, int32_t i) {
  return i >= 1 && i <= count && i <= PROC_LIST_CAPACITY ? &list[i] : nullptr;
}

// Transition index of left line key k (1..5): page 1 lists transitions 1..4 on L2..L5
// under the chosen procedure; a later page lists five from b - 1, one on each key's line.
int32_t transition_of_key(int32_t page, int32_t k) { return page == 1 ? k - 1 : page * 5 - 5 + k - 1; }

// The procedure column: procedures while choosing, else the chosen one with its
// transitions (only the chosen transition once one is chosen).
struct ProcColumn {
  const char* label;
  const std::string* procs;
  int32_t proc_count;
  const std::string* trans;
  int32_t trans_count;
  bool chosen;
  bool trans_chosen;
  const std::string& proc_text;
  const std::string& trans_text;
  double later_trans_label_y;
  const double* rows;  // the five list rows
};

void draw_proc_column(const CduPage& p, const ProcColumn& c, int32_t page, double first_trans_label_y) {
  const int32_t b = page * 5 - 4;
  if (!c.chosen || page == 1) cdu_small(p, 10, 19, c.label);
  if (c.proc_count == 0) {
    cdu_large(p, 0, 33, "- N O N E -");
    return;
  }
  if (!c.chosen) {
    for (int i = 0; i < 5; ++i) {
      const std::string* name = listed(c.procs, c.proc_count, b + i);
      if (!name) break;
      cdu_largef(p, 0, c.rows[i], "%-6s", name->c_str());
      if (*name == c.proc_text) cdu_large(p, 93, c.rows[i], tag());
    }
    return;
  }
  if (page == 1) {
    cdu_largef(p, 0, 33, "%-6s", c.proc_text.c_str());
    cdu_large(p, 93, 33, tag());
  }
  if (c.trans_count == 0 || c.trans_chosen) {
    if (page != 1) return;
    cdu_small(p, 10, first_trans_label_y, "T R A N S");
    if (c.trans_count == 0) {
      cdu_large(p, 0, 66, "- N O N E -");
    } else {
      cdu_largef(p, 0, 66, "%-5s", c.trans_text.c_str());
      cdu_large(p, 93, 66, tag());
    }
    return;
  }
  cdu_small(p, 10, page == 1 ? first_trans_label_y : c.later_trans_label_y, "T R A N S");
  for (int32_t k = page == 1 ? 2 : 1; k <= 5; ++k) {
    const std::string* name = listed(c.trans, c.trans_count, transition_of_key(page, k));
    if (!name) break;
    const double y = page == 1 ? 66.0 + 33.0 * (k - 2) : c.rows[k - 1];
    cdu_largef(p, 0, y, "%-5s", name->c_str());
    if (*name == c.trans_text) cdu_large(p, 93, y, tag());
  }
}

void draw_lower_lines(const CduPage& p, const char* rule) {
  cdu_large_shrink(p, 2, 184, rule);  // the rule's last dash would end past the screen
  cdu_large(p, 0, 198, fpl_changed_state == 4 ? "<ERASE" : "<INDEX");
  cdu_large_fit(p, 210, 198, "ROUTE>");
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
}

// L6 and R6 of both pages.
bool index_or_route_key(int32_t k) {
  if (k == 11) {
    if (fpl_changed_state == 4) erase_route_mods();
    else c17_cdu_page = PAGE_DEP_ARR_INDEX;
    return true;
  }
  if (k == 12) {
    c17_cdu_page = C17_CDU_RTE;
    return true;
  }
  return false;
}

int32_t departure_page_count() {
  int32_t n = smiths_dep_sid_state == 1 ? dep_trans_count + 1 : dep_sid_count;
  if (dep_rwy_count > n) n = dep_rwy_count;
  return pages_of(n, 5);
}

void departure_key(GaugeSurface* rec, int32_t page) {
  const int32_t k = c17_cdu_pending_lsk;
  const int32_t b = page * 5 - 4;
  if (index_or_route_key(k)) return;
  if (k >= 6 && k <= 10) {
    cdu_route_select_line_b(rec, b + k - 6);
  } else if (k >= 1 && k <= 5 && smiths_dep_sid_state != 1) {
    if (!listed(dep_sid_list, dep_sid_count, b + k - 1)) return;
    insert_procedure_active_2(b + k - 1, 0);
    smiths_dep_sid_state = 1;
    smiths_dep_page_no = 1;
  } else if (k >= 1 && k <= 5) {
    const std::string* name = listed(dep_trans_list, dep_trans_count, transition_of_key(page, k));
    if (!name) return;
    pending_sid_trans = *name;
    insert_procedure_active_2(pending_sid_index, 1);
    smiths_dep_trans_chosen = 1;
    smiths_dep_page_no = 1;
  }
}

}  // namespace

void c17_cdu_departures_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  const int32_t page =
      turn_and_act(smiths_dep_page_no, smiths_dep_page_count, departure_page_count, departure_key, rec);

  cdu_largef(p, 25, 0, "%s DEPARTURES", route_origin.c_str());
  cdu_smallf(p, 230, 0, "%2d / %2d", int(page), int(smiths_dep_page_count));
  const ProcColumn sids{.label = "S I D S",
                        .procs = dep_sid_list,
                        .proc_count = dep_sid_count,
                        .trans = dep_trans_list,
                        .trans_count = dep_trans_count,
                        .chosen = smiths_dep_sid_state == 1,
                        .trans_chosen = smiths_dep_trans_chosen == 1,
                        .proc_text = pending_sid,
                        .trans_text = pending_sid_trans,
                        .later_trans_label_y = 19,
                        .rows = DEP_ROW_Y};
  draw_proc_column(p, sids, page, 53);
  cdu_small(p, 190, 19, "R U N W A Y S");
  if (smiths_dep_rwy_chosen == 1) {
    if (page == 1) {
      cdu_largef(p, 240, 33, "%-3s", route_runway.c_str());
      cdu_large(p, DEP_RWY_TAG_X, 33, tag());
    }
  } else {
    for (int i = 0; i < 5; ++i) {
      const std::string* rwy = listed(dep_rwy_list, dep_rwy_count, page * 5 - 4 + i);
      if (!rwy) break;
      cdu_largef(p, 240, DEP_ROW_Y[i], "%-3s", rwy->c_str());
      if (*rwy == route_runway) cdu_large(p, DEP_RWY_TAG_X, DEP_ROW_Y[i], tag());
    }
  }
  draw_lower_lines(p, "- - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_page_end(p);
}

namespace {

int32_t approach_count() { return arr_appr_count < PROC_LIST_CAPACITY ? arr_appr_count : PROC_LIST_CAPACITY; }

// First approach transition of a page: four to a page on R2..R5.
int32_t first_approach_transition(int32_t page) { return page * 4 - 3; }

int32_t arrival_page_count() {
  const int32_t left = smiths_arr_star_state == 1 ? arr_trans_count + 1 : arr_star_count;
  int32_t right = 1;
  if (smiths_arr_rwy_chosen == 1) right = pages_of(1, 5);
  else if (smiths_arr_appr_chosen == 1) right = smiths_arr_appr_trans_chosen == 1 ? 1 : pages_of(arr_appr_trans_count, 4);
  else right = pages_of(arr_rwy_count + arr_appr_trans_count + arr_appr_count + (arr_appr_count == 0 ? 1 : 0), 5);
  const int32_t l = pages_of(left, 5);
  return l > right ? l : right;
}

// Right-column item of line r (0..4) while no approach is chosen: approaches first,
// then the runways ("- N O N E -" takes the first line when there are no approaches).
// Answers the runway number (0 for an approach line), and the approach in `appr`.
int32_t runway_of_line(int32_t page, int32_t r, int32_t& appr) {
  const int32_t item = page * 5 - 4 + r;
  appr = item <= approach_count() ? item : 0;
  if (appr) return 0;
  return arr_appr_count > 0 ? item - arr_appr_count : item - 1;
}

void arrival_right_key(GaugeSurface* rec, int32_t page, int32_t k) {
  if (smiths_arr_appr_chosen == 1) {
    const int32_t n = first_approach_transition(page) + k - 7;
    const std::string* name = k >= 7 ? listed(arr_appr_trans_list, arr_appr_trans_count, n) : nullptr;
    if (!name) return;
    smiths_arr_appr_trans_index = n;
    pending_appr_trans = *name;
    list_approach_transitions();
    insert_approach_disco(1);
    smiths_arr_appr_trans_chosen = 1;
    return;
  }
  if (smiths_arr_rwy_chosen == 1) return;
  int32_t appr = 0;
  const int32_t rwy = runway_of_line(page, k - 6, appr);
  if (appr) choose_approach(appr);
  else cdu_route_select_line_d(rec, rwy);
}

void arrival_key(GaugeSurface* rec, int32_t page) {
  const int32_t k = c17_cdu_pending_lsk;
  const int32_t b = page * 5 - 4;
  if (index_or_route_key(k)) return;
  if (k >= 6 && k <= 10) {
    arrival_right_key(rec, page, k);
  } else if (k >= 1 && k <= 5 && smiths_arr_star_state != 1) {
    if (!listed(arr_star_list, arr_star_count, b + k - 1)) return;
    insert_procedure_edit_3(b + k - 1, 0);
    smiths_arr_star_state = 1;
    smiths_arr_page_no = 1;
  } else if (k >= 1 && k <= 5) {
    const std::string* name = listed(arr_trans_list, arr_trans_count, transition_of_key(page, k));
    if (!name) return;
    pending_star_trans = *name;
    insert_procedure_edit_3(pending_star_index, 1);
    smiths_arr_trans_chosen = 1;
    smiths_arr_page_no = 1;
  }
}

void draw_approach_transitions(const CduPage& p, int32_t page) {
  const int32_t n = arr_appr_index;
  // Beside a chosen STAR's tag the approach's tag is drawn small, clear of it.
  if (smiths_arr_star_state == 1 && page == 1 && arr_star_count > 0) cdu_small(p, 150, 46, tag());
  else cdu_large(p, APPROACH_TAG_X, 41, tag());
  if (n >= 1 && n <= approach_count())
    cdu_largef(p, 190, 41, "%4s %3s", arr_appr_list[n].type.c_str(), arr_appr_list[n].runway.c_str());
  cdu_small(p, 220, 60, "T R A N S");
  if (arr_appr_trans_count == 0) {
    cdu_large(p, 200, 66, "- N O N E -");
  } else if (smiths_arr_appr_trans_chosen == 1) {
    cdu_large(p, 150, 74, "<SEL>");
    cdu_largef(p, 210, 74, "%5s", pending_appr_trans.c_str());
  } else {
    for (int32_t r = 0; r < 4; ++r) {
      const int32_t t = first_approach_transition(page) + r;
      const std::string* name = listed(arr_appr_trans_list, arr_appr_trans_count, t);
      if (!name) break;
      cdu_largef(p, 210, ROW_Y[r + 1], "%5s", name->c_str());
      if (t == smiths_arr_appr_trans_index) cdu_large(p, 135, ROW_Y[r + 1], tag());
    }
  }
}

void draw_arrival_right(const CduPage& p, int32_t page) {
  if (smiths_arr_rwy_chosen == 1) {
    cdu_small(p, 190, 19, "R U N W A Y S");
    if (page == 1) {
      cdu_largef(p, 240, 33, "%-3s", pending_arr_rwy.c_str());
      cdu_large(p, 153, 33, "<SEL>");
    }
    return;
  }
  cdu_small(p, 160, 19, "A P P R O A C H E S");
  if (smiths_arr_appr_chosen == 1) {
    draw_approach_transitions(p, page);
    return;
  }
  bool runway_label = false;
  for (int32_t r = 0; r < 5; ++r) {
    int32_t appr = 0;
    const int32_t rwy = runway_of_line(page, r, appr);
    if (appr) {
      cdu_largef(p, 190, ROW_Y[r], "%4s %3s", arr_appr_list[appr].type.c_str(), arr_appr_list[appr].runway.c_str());
      if (appr == arr_appr_index) cdu_large(p, APPROACH_TAG_X, ROW_Y[r], tag());
      continue;
    }
    if (arr_appr_count == 0 && rwy == 0) {
      cdu_large(p, 200, 33, "- N O N E -");
      continue;
    }
    const std::string* name = listed(arr_rwy_list, arr_rwy_count, rwy);
    if (!name) break;
    // Under an approach line the label stands nearer its own line than that one (11 above, not 14).
    if (!runway_label) cdu_small(p, 190, ROW_Y[r] - (r > 0 ? 11 : 14), "R U N W A Y S");
    runway_label = true;
    cdu_largef(p, 240, ROW_Y[r], "%-3s", name->c_str());
    if (*name == pending_arr_rwy) cdu_large(p, 153, ROW_Y[r], tag());
  }
}

}  // namespace

void c17_cdu_arrivals_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  const int32_t page = turn_and_act(smiths_arr_page_no, smiths_arr_page_count, arrival_page_count, arrival_key, rec);

  cdu_largef(p, 40, 0, "%s ARRIVALS", route_dest.c_str());
  cdu_smallf(p, 220, 0, "%2d / %2d", int(page), int(smiths_arr_page_count));
  const ProcColumn stars{.label = "S T A R S",
                         .procs = arr_star_list,
                         .proc_count = arr_star_count,
                         .trans = arr_trans_list,
                         .trans_count = arr_trans_count,
                         .chosen = smiths_arr_star_state == 1,
                         .trans_chosen = smiths_arr_trans_chosen == 1,
                         .proc_text = pending_star,
                         .trans_text = pending_star_trans,
                         .later_trans_label_y = 27,
                         .rows = ROW_Y};
  draw_proc_column(p, stars, page, 53);
  draw_arrival_right(p, page);
  draw_lower_lines(p, "- - - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_page_end(p);
}
