// DEPARTURE, STAR ("ARRIVAL") and APPROACH (pages 10..12): one layout over a member
// table. R1 types the airport and opens the runway list, R2 the two name lists; L3..L5
// and R3..R5 pick a list item into the scratchpad (ENTER takes it), or with the legs
// shown ask SELECT? and ERASE?.
#include <algorithm>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"
#include "module/load_state.h"
#include "navdb/navdb.h"

namespace {

constexpr int ITEMS_PER_PAGE = 12;
constexpr int LEGS_PER_PAGE = 8;

enum ListKind { RUNWAYS, SIDS, STARS, APPROACHES, TRANSITIONS };

struct ProcPage {
  int chosen;  // gnsxls_proc_chosen entry
  int slot;    // airport block: 1 origin, 2 destination
  const char* title;
  const char* row2_label;
  const char* row3_label;
  const char* legs_heading;
  std::string* airport;
  std::string* runway;
  std::string* row2;
  std::string* row3;
  int32_t* list_page;
  int32_t* page_count;  // null: the APPROACH count is kept here
  ListKind row2_list, row3_list;
  bool arrows_on_all_lists;
  bool magenta_airport;
  bool roles;  // approach legs show their fix role
  void (*r1_open_runways)();
  void (*r2_first)();
  void (*r2_second)();
};

int32_t appr_page_count = 1;

const ProcPage pages[3] = {
    {.chosen = 0, .slot = 1, .title = "DEPARTURE", .row2_label = "SID", .row3_label = "TRANSITION",
     .legs_heading = "WAYPOINTS OF SID:", .airport = &dep_airport_text, .runway = &route_dep_rwy,
     .row2 = &pending_sid, .row3 = &pending_sid_trans, .list_page = &gnsxls_dep_choice, .page_count = &gnsxls_dep_count,
     .row2_list = SIDS, .row3_list = TRANSITIONS, .arrows_on_all_lists = false, .magenta_airport = false,
     .roles = false, .r1_open_runways = [] { fill_origin_proc_entry(pending_sid); },
     .r2_first = [] { set_origin_proc_entry(route_dep_rwy, pending_sid_trans); },
     .r2_second = [] { set_origin_proc_entry_ext(pending_sid, route_dep_rwy, 0); }},
    {.chosen = 1, .slot = 2, .title = "ARRIVAL", .row2_label = "TRANSITION", .row3_label = "STAR",
     .legs_heading = "WAYPOINTS OF STAR:", .airport = &arr_airport_text, .runway = &pending_arr_rwy,
     .row2 = &pending_star_trans, .row3 = &pending_star, .list_page = &gnsxls_star_choice, .page_count = &gnsxls_star_count,
     .row2_list = TRANSITIONS, .row3_list = STARS, .arrows_on_all_lists = true, .magenta_airport = true,
     .roles = false, .r1_open_runways = [] { fill_dest_proc_entry(pending_star); },
     .r2_first = [] { set_dest_proc_entry_ext(pending_star, pending_arr_rwy, 0); },
     .r2_second = [] { set_dest_proc_entry(pending_arr_rwy, pending_star_trans); }},
    {.chosen = 2, .slot = 2, .title = "APCH", .row2_label = "TYPE", .row3_label = "TRANSITION",
     .legs_heading = "WPTS OF APPROACH:", .airport = &arr_airport_text, .runway = &pending_arr_rwy,
     .row2 = &pending_appr_type, .row3 = &pending_appr_trans, .list_page = &gnsxls_appr_choice, .page_count = &appr_page_count,
     .row2_list = APPROACHES, .row3_list = TRANSITIONS, .arrows_on_all_lists = false, .magenta_airport = true,
     .roles = true, .r1_open_runways = nullptr,
     .r2_first = [] { list_approaches(pending_arr_rwy, pending_appr_trans); },
     .r2_second = [] { apply_approach_selection(); }},
};

bool none(const std::string& s) { return s == FPL_NONE_TEXT; }

// Items 1..count of a list of the page's airport block.
struct ListView {
  const char (*names)[proc_name_size] = nullptr;
  const char (*runways)[rwy_ident_size] = nullptr;
  int count = 0;
  const char* item_format = "%s";
  const char* picked_format = "%-6s?";
};

ListView list_of(const ProcPage& m, ListKind kind) {
  const AptBlock& a = apt_blocks[m.slot];
  ListView v;
  switch (kind) {
    case RUNWAYS:
      v.runways = a.rwy_names;
      v.count = std::min(a.rwy_name_count, apt_rwy_name_limit);
      v.item_format = "RW%-3s";
      v.picked_format = "RW%-3s?";
      break;
    case SIDS:
    case STARS:
      v.names = a.proc_names;
      v.count = std::min(a.proc_name_count, apt_proc_name_limit);
      break;
    case APPROACHES:
      v.names = a.appr_names;
      v.count = std::min(a.appr_count, apt_appr_limit);
      break;
    case TRANSITIONS:
      v.names = a.trans_names;
      v.count = std::min(a.trans_count, apt_trans_limit);
      v.item_format = "%-5s";
      v.picked_format = "%-5s?";
      break;
  }
  if (v.count < 0) v.count = 0;
  return v;
}

const char* item(const ListView& v, int i) { return v.runways ? v.runways[i] : v.names[i]; }

// ---- line keys ----

void r1_key(const ProcPage& m, bool approach) {
  int32_t* s = gnsxls_lsk_state;
  if (approach) {
    if (s[6] == 1) {
      s[6] = 2;
      *m.runway = FPL_NONE_TEXT;
      gnsxls_proc_chosen[m.chosen] = 0;
      proc_list_cursor = 0;
      gnsxls_prompt_open = 0;
    } else {
      reset_cdu_entry_state();
      s[6] = 1;
      gnsxls_prompt_open = 1;
      gnsxls_scratchpad = *m.airport;
      airport_not_found = 0;
      set_dest_iaf_entry(pending_appr_type, pending_appr_trans);
    }
    s[3] = s[4] = s[5] = 0;
    return;
  }
  if (s[6] == 0) {
    s[6] = 1;
    gnsxls_prompt_open = 1;
    gnsxls_scratchpad = *m.airport;
    gnsxls_clear_on_key = 1;
  } else if (none(*m.airport)) {
    s[6] = 0;
    gnsxls_prompt_open = 0;
  } else if (s[6] == 1) {
    s[6] = 2;
    *m.runway = FPL_NONE_TEXT;
    gnsxls_proc_chosen[m.chosen] = 0;
    m.r1_open_runways();
    if (m.chosen == 0) *m.list_page = 1;
  } else {
    s[6] = 1;
    gnsxls_scratchpad = *m.airport;
  }
  s[3] = s[4] = s[5] = s[7] = 0;
  if (m.chosen == 1) s[8] = s[9] = s[10] = 0;
}

void r2_key(const ProcPage& m, bool approach) {
  int32_t* s = gnsxls_lsk_state;
  if (none(approach ? route_dest_text : *m.airport)) return;
  if (approach) {
    airport_not_found = 0;
    int32_t old = s[7];
    reset_cdu_entry_state();
    s[7] = old;
  }
  if (s[7] != 1) {
    s[7] = 1;
    if (!approach) proc_list_cursor = 1;
    *m.row2 = FPL_NONE_TEXT;
    gnsxls_proc_chosen[m.chosen] = 0;
    m.r2_first();
  } else {
    s[7] = 2;
    *m.row3 = FPL_NONE_TEXT;
    gnsxls_proc_chosen[m.chosen] = 0;
    m.r2_second();
  }
  *m.list_page = 1;
  if (approach) gnsxls_prompt_open = 0;
  for (int k = 1; k <= 10; ++k) {
    bool clear = m.chosen == 1 ? k != 7 : k <= 6;
    if (clear) s[k] = 0;
  }
}

constexpr int pick_keys[6] = {3, 4, 5, 8, 9, 10};

void clear_other_picks(int key) {
  for (int k : pick_keys)
    if (k != key) gnsxls_lsk_state[k] = 0;
}

// L3, L4, R3, R4 pick slots 1/2, 3/4, 7/8, 9/10; L5 and R5 5/6 and 11/12 or close the
// SELECT?/ERASE? prompt.
void pick_key(const ProcPage& m, int key) {
  int32_t& s = gnsxls_lsk_state[key];
  int first = key <= 5 ? 2 * (key - 3) + 1 : 2 * (key - 8) + 7;
  if (key == 5 || key == 10) {
    if (s == 0) {
      proc_list_cursor = first;
      s = 1;
    } else if (s == 1 && gnsxls_proc_chosen[m.chosen] == 1) {
      s = 0;
    } else if (s == 1) {
      s = 2;
      proc_list_cursor = first + 1;
    } else {
      s = 0;
      proc_list_cursor = 0;
    }
  } else {
    s = (s + 1) % 3;
    proc_list_cursor = s == 0 ? 0 : first + s - 1;
  }
  clear_other_picks(key);
}

void line_key(const ProcPage& m, int key, bool approach) {
  if (key == 6) r1_key(m, approach);
  else if (key == 7) r2_key(m, approach);
  else if (key >= 3 && key != 6 && key != 7 && key <= 10) pick_key(m, key);
}

// ---- drawing ----

int pages_of(int count, int per_page) {
  int n = (count + per_page - 1) / per_page;
  return n < 1 ? 1 : n;
}

void draw_list(GnsPage& p, const ProcPage& m, ListKind kind) {
  ListView v = list_of(m, kind);
  int from = ITEMS_PER_PAGE * (*m.list_page - 1) + 1;
  bool arrows = m.arrows_on_all_lists || kind == TRANSITIONS;
  for (int j = 1; j <= ITEMS_PER_PAGE; ++j) {
    int i = from + j - 1;
    if (i < 1 || i > v.count) break;
    double x = j <= 6 ? 30.0 : 292.0;
    double y = 160.0 + 40.0 * ((j - 1) % 6);
    if (j == proc_list_cursor) {
      std::string text = gns_format(v.picked_format, item(v, i));
      gns_field(p, x, y, int(text.size()), text);
      gnsxls_scratchpad = item(v, i);
    } else {
      gns_textf(p, x, y, p.green, v.item_format, item(v, i));
    }
    if (arrows && j % 2 == 1) p.arrows[j <= 6 ? 3 + (j - 1) / 2 : 8 + (j - 7) / 2] = j <= 6 ? '<' : '>';
  }
}

void draw_legs(const GnsPage& p, const ProcPage& m) {
  gns_text(p, 53, 160, p.white, m.legs_heading);
  int from = LEGS_PER_PAGE * (*m.list_page - 1) + 1;
  for (int k = 0; k < LEGS_PER_PAGE; ++k) {
    int i = from + k;
    if (i < 1 || i > proc_preview_count || i > 8) break;
    double x = k < 4 ? 30.0 : 292.0, y = 200.0 + 40.0 * (k % 4);
    const ProcPreviewLeg& leg = proc_preview[i];
    if (m.roles) {
      gns_textf(p, x, y, p.white, "%-3s", leg.role.c_str());
      gns_text(p, x + 80, y, p.green, leg.ident);
    } else {
      gns_text(p, x, y, p.green, leg.ident);
    }
  }
  gns_prompt(p, 30, 360, gnsxls_lsk_state[5] != 0, gnsxls_lsk_state[5] != 0 ? "SELECT?" : "SELECT");
  gns_prompt(p, 320, 360, gnsxls_lsk_state[10] != 0, gnsxls_lsk_state[10] != 0 ? "ERASE?" : "ERASE");
}

void update_page_count(const ProcPage& m, bool approach) {
  const int32_t* s = gnsxls_lsk_state;
  int count = -1;
  if (s[6] == 2) count = pages_of(approach ? apt_blocks[2].rwy_count : list_of(m, RUNWAYS).count, ITEMS_PER_PAGE);
  else if (s[7] == 1) count = pages_of(list_of(m, m.row2_list).count, ITEMS_PER_PAGE);
  else if (s[7] == 2) count = pages_of(list_of(m, m.row3_list).count, ITEMS_PER_PAGE);
  else if (gnsxls_proc_chosen[m.chosen] == 1) count = pages_of(proc_preview_count, LEGS_PER_PAGE);
  if (count > 0) *m.page_count = count;
  else if (m.chosen == 0) *m.list_page = *m.page_count = 1;
}

void draw_procedure_page(GaugeSurface* rec, GfxGraphics* g, const ProcPage& m) {
  bool approach = m.chosen == 2;
  if (gnsxls_pending_lsk >= 1 && gnsxls_pending_lsk <= 10) line_key(m, gnsxls_pending_lsk, approach);
  const int32_t* s = gnsxls_lsk_state;
  GnsPage p;
  gns_page_begin(p, rec, g);
  gns_text(p, 32, 0, p.white, m.title);
  if (s[6] == 1) gns_field(p, 232, 0, int(gnsxls_scratchpad.size()), gnsxls_scratchpad);
  else gns_text(p, 230, 0, m.magenta_airport ? p.magenta : p.yellow, *m.airport);
  update_page_count(m, approach);
  gns_textf(p, 360, 0, p.white, "%d/%d", *m.list_page, *m.page_count);

  const GfxBrush* row1 = s[6] == 2 ? p.yellow : p.green;
  gns_text(p, 53, 40, row1, "RUNWAY");
  gns_textf(p, 292, 40, row1, none(*m.runway) ? "%s" : "RW%s", m.runway->c_str());
  const GfxBrush* row2 = s[7] == 1 ? p.yellow : p.green;
  gns_text(p, 53, 80, row2, m.row2_label);
  gns_text(p, 292, 80, row2, *m.row2);
  const GfxBrush* row3 = s[7] == 2 ? p.yellow : p.green;
  gns_text(p, 53, 120, row3, m.row3_label);
  gns_text(p, 292, 120, row3, *m.row3);

  if (gnsxls_proc_chosen[m.chosen] == 1) draw_legs(p, m);
  if (s[6] == 2) draw_list(p, m, RUNWAYS);
  else if (s[7] == 1) draw_list(p, m, m.row2_list);
  else if (s[7] == 2) draw_list(p, m, m.row3_list);

  if (none(*m.airport)) {
    if (approach && airport_not_found == 1) gns_text(p, 53, 340, p.yellow, "AIRPORT NOT FOUND");
    gns_text(p, 53, 360, p.white, "ENTER AIRPORT ID");
  } else {
    p.arrows[6] = p.arrows[7] = '>';
  }
  gns_page_end(p);
}

}  // namespace

bool gnsxls_open_list_holds(const std::string& text) {
  if (gnsxls_page < GNSXLS_PAGE_DEPARTURE || gnsxls_page > GNSXLS_PAGE_APPROACH) return false;
  const ProcPage& m = pages[gnsxls_page - GNSXLS_PAGE_DEPARTURE];
  const int32_t* s = gnsxls_lsk_state;
  ListView v = list_of(m, s[6] == 2 ? RUNWAYS : s[7] == 1 ? m.row2_list : m.row3_list);
  for (int i = 1; i <= v.count; ++i)
    if (text == item(v, i)) return true;
  return false;
}

void gnsxls_departure_page_draw(GaugeSurface* rec, GfxGraphics* g) { draw_procedure_page(rec, g, pages[0]); }
void gnsxls_star_page_draw(GaugeSurface* rec, GfxGraphics* g) { draw_procedure_page(rec, g, pages[1]); }
void gnsxls_approach_page_draw(GaugeSurface* rec, GfxGraphics* g) { draw_procedure_page(rec, g, pages[2]); }

void keep_procedure_pages_state(LoadState& state) { state.keep(appr_page_count); }
