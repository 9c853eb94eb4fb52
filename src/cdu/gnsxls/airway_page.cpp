// AIRWAY (page 13): the fixes of a typed airway, sixteen a page in two columns, the
// joining fix "FR" and the chosen end "TO"; a line key chooses the end.
#include <algorithm>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "flightplan/fpl_ops.h"
#include "navdb/navdb.h"

namespace {

constexpr int FIXES_PER_PAGE = 16;

// Per line key: the line of its first and second press (0: no second press).
struct AirwayKey {
  int32_t first, second;
};
constexpr AirwayKey airway_keys[11] = {{0, 0}, {1, 0}, {2, 3}, {4, 5}, {6, 7}, {8, 0},
                                       {9, 0}, {10, 11}, {12, 13}, {14, 15}, {16, 0}};

void airway_line_key(int32_t key) {
  if (key < 1 || key > 10) return;
  int32_t& s = gnsxls_lsk_state[key];
  const AirwayKey& k = airway_keys[key];
  if (s == 0) {
    s = 1;
    gnsxls_airway_line = k.first;
  } else if (s == 1 && k.second != 0) {
    s = 2;
    gnsxls_airway_line = k.second;
  } else {
    s = 0;
    gnsxls_airway_line = 0;
    if (key != 1) gnsxls_prompt_open = 0;
  }
}

}  // namespace

void gnsxls_airway_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  int32_t count = std::clamp(fix_match_count, 0, nav_search_slots - 1);
  if (gnsxls_pending_lsk != 0) airway_line_key(gnsxls_pending_lsk);
  gnsxls_airway_count = std::max(1, (count + FIXES_PER_PAGE - 1) / FIXES_PER_PAGE);
  gnsxls_airway_choice = std::clamp(gnsxls_airway_choice, 1, gnsxls_airway_count);
  int f = (gnsxls_airway_choice - 1) * FIXES_PER_PAGE + 1;
  if (gnsxls_pending_lsk != 0) {
    int r = count - f;
    for (int key = 2; key <= 4; ++key)
      if (gnsxls_lsk_state[key] == 2 && r < 2 * (key - 1)) gnsxls_lsk_state[key] = 0;
    // Only a line that holds a fix on the start fix's chain ends the airway.
    int end = f + gnsxls_airway_line - 1;
    if (gnsxls_airway_line != 0 && end <= count && airway_same_chain(airway_start_index, end)) airway_end_index = end;
  }

  GnsPage p;
  gns_page_begin(p, rec, g);
  gns_text(p, 32, 0, p.white, "AIRWAY");
  gns_text(p, 200, 0, p.green, airway_name);
  gns_textf(p, 340, 0, p.white, "%d/%d", gnsxls_airway_choice, gnsxls_airway_count);
  int lo = std::min(airway_start_index, airway_end_index), hi = std::max(airway_start_index, airway_end_index);
  for (int j = 0; j < FIXES_PER_PAGE; ++j) {
    int n = f + j;
    if (n > count) break;
    bool left = j < 8;
    double marker_x = left ? 20 : 240, ident_x = left ? 75 : 300;
    double y = 40.0 + 40.0 * (left ? j : j - 8);
    const char* ident = nav_search_list[n].ident;
    bool chosen = n == airway_end_index;
    if (n == airway_start_index || n == airway_end_index) {
      gns_text(p, marker_x, y, p.yellow, chosen ? "TO" : "FR");
      if (chosen) gns_field(p, ident_x, y, 7, std::string(ident) + "?");
      else gns_text(p, ident_x, y, p.yellow, ident);
    } else {
      gns_text(p, ident_x, y, n > lo && n < hi ? p.yellow : p.green, ident);
    }
  }
  constexpr int left_entries[5] = {0, 1, 3, 5, 7};
  for (int k = 0; k < 5; ++k) {
    if (f + left_entries[k] <= count) p.arrows[k + 1] = '>';
    if (f + left_entries[k] + 8 <= count) p.arrows[k + 6] = '<';
  }
  gns_text(p, 40, 360, p.white, "SELECT ENDING WPT");
  gns_page_end(p);
}
