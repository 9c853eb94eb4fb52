// SELECT WAYPOINT page: the candidates of an ident with several database fixes, six a
// page; a line key hands the chosen one back to the page that asked.
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/refnav_select.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "navdb/navdb.h"

int32_t smiths_select_page_no = 1, smiths_select_page_count = 1;

namespace {

constexpr int ROWS = 6;

int candidate_count() { return fix_match_count < nav_search_slots ? fix_match_count : nav_search_slots - 1; }

// Row 1..6 of a pending line key (L6 and R6 row 6), 0 for none.
int key_row(int k) {
  if (k >= 1 && k <= 5) return k;
  if (k >= 6 && k <= 10) return k - 5;
  if (k == LSK_L6 || k == LSK_R6) return ROWS;
  return 0;
}

void pick_for_route(int e) {
  int n = rte_entry_record(select_wpt_row);
  if (n < 1 || !select_search_entry(e) || !store_selected_fix(n)) {
    smiths_scratchpad_msg = "INVALID ENTRY";
  } else {
    build_route_rows();
    fpl_step_on_edit();
    smiths_scratchpad.clear();
  }
  smiths_page = SMITHS_PAGE_RTE;
}

void pick(int e) {
  if (select_wpt_return_page == SMITHS_PAGE_REF_NAV_DATA) {
    refnav_select_record(e);
    smiths_page = SMITHS_PAGE_REF_NAV_DATA;
  } else if (select_wpt_return_page == SMITHS_PAGE_RTE) {
    pick_for_route(e);
  } else if (select_wpt_row >= 1) {
    if (!insert_edit_record(select_wpt_row, e, smiths_legs_mode == 1 ? 1 : 0)) smiths_scratchpad_msg = "INVALID ENTRY";
    smiths_page = select_wpt_return_page;
  }
}

const char* type_label(const char* type) {
  if (type[0] == 'V' && type[1] == '\0') return "VOR";
  if (type[0] == 'N' && type[1] == '\0') return "NDB";
  return "INT";
}

}  // namespace

void smiths_fms_select_waypoint_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  // Only LEGS leaves without a pick, and its page is drawn in this frame; RTE and REF
  // NAV DATA wait for a key.
  if (select_wpt_return_page == SMITHS_PAGE_LEGS && select_wpt_row < 1) {
    smiths_page = SMITHS_PAGE_LEGS;
    smiths_fms_legs_page_draw(rec, g);
    return;
  }
  int count = candidate_count();
  smiths_select_page_count = count < 1 ? 1 : (count + ROWS - 1) / ROWS;
  int32_t& page = smiths_select_page_no;
  int32_t last = smiths_select_page_count;
  if (page < 1 || page > last) page = 1;
  // PREV steps up and NEXT down on this page.
  if (smiths_prev_page_key) page = page + 1 > last ? 1 : page + 1;
  else if (smiths_next_page_key) page = page - 1 < 1 ? last : page - 1;
  int first = ROWS * (page - 1) + 1;
  if (int r = key_row(smiths_pending_lsk)) {
    if (first + r - 1 <= count) pick(first + r - 1);
    else build_route_rows();
  }

  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 40, 0, "SELECT WAYPOINT");
  cdu_largef(p, 220, 0, "%2d/%2d", int(page), int(smiths_select_page_count));
  for (int r = 0; r < ROWS && first + r <= count; ++r) {
    const NavRecord& c = nav_search_list[first + r];
    double y = 33 + 33 * r;
    cdu_largef(p, 40, y, "%-6.*s  %3s  %6.*s", int(sizeof c.ident), c.ident, type_label(c.type), int(sizeof c.freq),
               c.freq);
    std::string lat, lon;
    format_dms_position(c.lat, -c.lon, lat, lon, 1);
    // Small, and low enough to keep its ink off the ident above.
    cdu_smallf(p, 55, y + 18, "%-12s %-12s", lat.c_str(), lon.c_str());
  }
  cdu_bottom_line(p);
  cdu_page_end(p);
}
