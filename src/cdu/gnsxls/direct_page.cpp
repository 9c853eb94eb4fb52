// DIRECT (page 7): the rows of the direct-to edit plan, eighteen a sub-page in two
// columns, and as the last sub-page DIR CLOSEST ARP, the nine airports nearest to the
// aircraft. A line key puts the chosen ident into the scratchpad; ENTER flies to it.
#include <utility>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

namespace {

constexpr int ROWS_PER_PAGE = 18;
constexpr double WIDE_REFRESH_NM = 200.0;
constexpr double CLOSE_REFRESH_NM = 50.0;

// Plan line keys: the rows of the first and second press, from the sub-page's first row.
struct RowKey {
  int first, second;  // -1: one press only
};
constexpr RowKey row_keys[11] = {{0, 0},  {0, -1},  {1, 2},   {3, 4},   {5, 6},  {7, 8},
                                 {9, -1}, {10, 11}, {12, 13}, {14, 15}, {16, 17}};

void select_row(int r) {
  if (r < 0 || r >= FPL_CAPACITY) return;
  fpl_edit_index = r;
  gnsxls_scratchpad = fpl_edit[r].ident;
  scratchpad_add_key("", 1);
}

void clear_column_except(int key) {
  int first = key <= 5 ? 1 : 6;
  for (int k = first; k < first + 5; ++k)
    if (k != key) gnsxls_lsk_state[k] = 0;
}

void plan_line_key(int key, int f) {
  int32_t& s = gnsxls_lsk_state[key];
  const RowKey& rk = row_keys[key];
  int a = f + rk.first;
  if (key == 1) {
    if (s == 0) {
      gnsxls_clear_on_key = 1;
      s = 1;
      gnsxls_prompt_open = 1;
      clear_column_except(1);
      select_row(a);
    } else {
      s = 0;
      gnsxls_prompt_open = 0;
    }
    return;
  }
  if (key == 6) {
    if (a <= fpl_edit_last && s != 0) {
      s = 0;
      gnsxls_prompt_open = 0;
      return;
    }
    if (a <= fpl_edit_last) {
      s = 1;
      gnsxls_prompt_open = 1;
      gnsxls_clear_on_key = 1;
    } else if (s != 1) {
      return;
    }
    for (int k = 1; k <= 10; ++k)
      if (k != 6) gnsxls_lsk_state[k] = 0;
    if (gnsxls_prompt_open == 1) select_row(a);
    return;
  }
  if (a <= fpl_edit_last) {
    if (s == 2) {
      s = 0;
      gnsxls_prompt_open = 0;
      return;
    }
    ++s;
    gnsxls_prompt_open = 1;
    gnsxls_clear_on_key = 1;
  } else if (s != 1 && s != 2) {
    return;
  }
  clear_column_except(key);
  if (gnsxls_prompt_open == 1) select_row(s == 1 ? a : f + rk.second);
}

// Key of a row drawn at y in the left or right column (0: none).
int key_at(double y, bool right) {
  constexpr double ys[5] = {40.0, 80.0, 160.0, 240.0, 320.0};
  for (int i = 0; i < 5; ++i)
    if (y == ys[i]) return (right ? 6 : 1) + i;
  return 0;
}

void draw_plan_subpage(GnsPage& p, int f) {
  gns_textf(p, 90, 0, p.white, "DIRECT %d/%d", gnsxls_direct_choice, gnsxls_direct_count);
  double y = 40.0;
  bool right = false;
  for (int r = f; r <= f + ROWS_PER_PAGE - 1 && r <= fpl_edit_last + 1 && r < FPL_CAPACITY; ++r) {
    const FlightPlanWpt& rec = fpl_edit[r];
    if (std::string(rec.ident) == "---") continue;
    if (y > 360.0) {
      if (right) break;
      right = true;
      y = 40.0;
    }
    double marker_x = right ? 240.0 : 30.0, text_x = right ? 310.0 : 90.0;
    int key = key_at(y, right);
    if (key) p.arrows[key] = right ? '>' : '<';
    if (r == fpl_edit_index && gnsxls_prompt_open == 1) {
      gns_field(p, text_x, y, int(gnsxls_scratchpad.size()), gnsxls_scratchpad);
      gns_text(p, marker_x, y, p.magenta, "TO ");
      if (gnsxls_direct_pressed && key && y != 40.0) gnsxls_lsk_state[key] = 1;
    } else {
      gns_text(p, text_x, y, p.green, rec.ident);
    }
    if (std::string(rec.ident) == FPL_END_IDENT) break;
    y += 40.0;
  }
}

// ---- closest airports ----

double distance_to(const NavPoint& c) {
  double d = 0.0, course = 0.0;
  compute_gc_distance_course(present_lat, present_lon, c.lat, c.lon, d, course);
  return d;
}

void recompute_closest() {
  for (int i = 1; i <= 9; ++i) closest_airports[i] = ClosestAirport{};
  int w = 1;
  for (int i = 1; i <= near_airports_count && i < near_close_slots; ++i) {
    const NavRecord& a = near_airports[i];
    double d = 0.0, c = 0.0;
    compute_gc_distance_course(present_lat, present_lon, a.lat, a.lon, d, c);
    double b = c - magvar;
    if (b < 0.5) b += 360.0;
    if (d >= closest_airports[w].dist) continue;
    closest_airports[w] = {a.ident, a.lat, a.lon, d, b};
    double worst = -1.0;
    for (int k = 1; k <= 9; ++k)
      if (closest_airports[k].dist > worst) {
        worst = closest_airports[k].dist;
        w = k;
      }
  }
  // Farthest first; equal distances keep their order.
  for (int i = 1; i <= 8;) {
    if (closest_airports[i + 1].dist > closest_airports[i].dist) {
      std::swap(closest_airports[i], closest_airports[i + 1]);
      i = 1;
    } else {
      ++i;
    }
  }
}

void refresh_closest() {
  if (distance_to(near_airports_wide_centre) > WIDE_REFRESH_NM) build_near_airports(present_lat, present_lon);
  if (distance_to(near_airports_centre) > CLOSE_REFRESH_NM || gnsxls_direct_pressed) {
    build_near_airports_close(present_lat, present_lon);
    recompute_closest();
  }
}

// L1..L5 pick rows 1..9 (entries 9..1), two a key (L5 one).
void closest_line_key(int key) {
  if (key < 1 || key > 5) return;
  int32_t& s = gnsxls_lsk_state[key];
  if (s == 2 || (key == 5 && s == 1)) {
    s = 0;
    return;
  }
  int next = s + 1;
  reset_cdu_entry_state();
  s = next;
  int row = 2 * (key - 1) + next;
  gnsxls_scratchpad = closest_airports[10 - row].ident;
}

bool closest_row_selected(int row) {
  int key = (row + 1) / 2;
  return gnsxls_lsk_state[key] == (row % 2 == 1 ? 1 : 2);
}

void draw_closest_subpage(GnsPage& p) {
  gns_textf(p, 70, 0, p.white, "DIR CLOSEST ARP %d/%d", gnsxls_direct_choice, gnsxls_direct_count);
  for (int k = 1; k <= 5; ++k) p.arrows[k] = '<';
  refresh_closest();
  closest_line_key(gnsxls_pending_lsk);
  for (int row = 1; row <= 9; ++row) {
    const ClosestAirport& a = closest_airports[10 - row];
    double y = 40.0 * row;
    if (closest_row_selected(row)) {
      gns_field(p, 120, y, 6, gnsxls_scratchpad);
      gns_textf(p, 304, y, p.green, "%03.0f/%4.0f", a.bearing, a.dist);
    } else {
      gns_textf(p, 120, y, p.green, "%-8s %03.0f/%4.0f", a.ident.c_str(), a.bearing, a.dist);
    }
  }
}

}  // namespace

void gnsxls_direct_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  GnsPage p;
  gns_page_begin(p, rec, g);
  int plan_pages = fpl_edit_last == 0 ? 1 : fpl_edit_last < 0 ? 0 : (fpl_edit_last + ROWS_PER_PAGE - 1) / ROWS_PER_PAGE;
  gnsxls_direct_count = plan_pages + 1;
  // A plan that shrank leaves no sub-page past the last.
  if (gnsxls_direct_choice > gnsxls_direct_count) gnsxls_direct_choice = gnsxls_direct_count;
  if (gnsxls_direct_choice < 1) gnsxls_direct_choice = 1;
  int f = ROWS_PER_PAGE * (gnsxls_direct_choice - 1) + 1;
  gnsxls_dir_closest_arp = gnsxls_direct_choice == gnsxls_direct_count ? 2 : 1;
  if (gnsxls_dir_closest_arp == 1) {
    if (gnsxls_pending_lsk >= 1 && gnsxls_pending_lsk <= 10) plan_line_key(gnsxls_pending_lsk, f);
    draw_plan_subpage(p, f);
  } else {
    draw_closest_subpage(p);
  }
  gns_page_end(p);
}
