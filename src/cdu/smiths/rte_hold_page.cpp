// RTE HOLD page: one hold of the route at a time, its inbound course and turn, leg time
// or distance, the fix ETA, another hold or the exit from the shown one.
#include <cctype>
#include <cmath>

#include "cdu/smiths/econ_pages.h"
#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace {

constexpr int MAX_PLACED_HOLDS = 5;

// Leg times and distances print in tenths: "9.9   M I N" and "99.9 - N M" at the most.
constexpr double MAX_LEG_MIN = 9.9, MAX_LEG_NM = 99.9;

void enter_course(HoldRecord& h) {
  std::string course_word, dir_word;
  // Two words around one "/": a third is no part of the entry to drop.
  const bool two_words = split_at_slash(smiths_scratchpad, course_word, dir_word);
  double course = 0;
  // The direction is the whole word "L" or "R".
  const char dir = dir_word.size() == 1 ? char(std::toupper(static_cast<unsigned char>(dir_word[0]))) : ' ';
  if (!two_words || !cdu_hold_course(course_word, course) || (dir != 'L' && dir != 'R')) {
    smiths_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  h.inbound_course = course;
  h.turn = dir == 'L' ? 2 : 1;
  smiths_scratchpad.clear();
}

// A leg above 0 that shows within its field: 0.1 up to `max` in tenths.
void enter_leg(double& value, int32_t& mode, int32_t new_mode, double max) {
  double v = 0;
  if (!read_tenths(smiths_scratchpad, 0.1, max + 1e-9, v)) {
    smiths_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  value = v;
  mode = new_mode;
  smiths_scratchpad.clear();
}

void handle_key(HoldRecord* h, int count) {
  int k = smiths_pending_lsk;
  bool entry = !smiths_scratchpad.empty();
  if (k == 3 && h && entry) {
    enter_course(*h);
  } else if (k == 4 && h && entry) {
    enter_leg(h->leg_time, h->leg_mode, 1, MAX_LEG_MIN);
  } else if (k == 5 && h && entry) {
    enter_leg(h->leg_dist, h->leg_mode, 2, MAX_LEG_NM);
  } else if (k == LSK_L6 && fpl_changed_state == 4) {
    erase_route_mods();
  } else if (k == LSK_L6 && count < MAX_PLACED_HOLDS) {
    smiths_legs_mode = 2;
    smiths_page = SMITHS_PAGE_LEGS;
  } else if (k == LSK_R6 && h && count < MAX_PLACED_HOLDS) {
    hold_delete_index = h->edit_wpt;
    remove_hold(h->edit_wpt, 2);
    smiths_page = SMITHS_PAGE_LEGS;
    smiths_legs_mode = 0;
  }
}

// Clock time at the hold fix, "HHMM.6Z" ("L" in local time); empty when not shown.
std::string fix_eta(const HoldRecord* h) {
  if (!h || fpl_active_index == FPL_NO_PLAN || !(ground_speed > 60.0)) return "";
  double dist = 0, course = 0;
  compute_gc_distance_course(present_lat, present_lon, h->lat, h->lon, dist, course);
  return econ_time_text(dist);
}

}  // namespace

bool cdu_hold_course(const std::string& w, double& v) { return read_course_deg(w, v); }

int smiths_listed_hold_count() {
  int n = 0;
  for (int i = 1; i <= hold_count && i <= HOLD_CAPACITY; ++i) n += hold_list[i].delete_pending == 1 ? 0 : 1;
  return n;
}

HoldRecord* smiths_listed_hold(int h) {
  for (int i = 1; i <= hold_count && i <= HOLD_CAPACITY; ++i)
    if (hold_list[i].delete_pending != 1 && --h == 0) return &hold_list[i];
  return nullptr;
}

void smiths_fms_rte_hold_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  int count = smiths_listed_hold_count();
  smiths_hold_page_count = count;
  smiths_hold_page_no = cdu_step_page(smiths_hold_page_no, count);
  handle_key(smiths_listed_hold(smiths_hold_page_no), count);
  // A deleted or erased hold leaves the shown one within the list.
  count = smiths_listed_hold_count();
  smiths_hold_page_count = count;
  if (smiths_hold_page_no > count) smiths_hold_page_no = count < 1 ? 1 : count;
  const HoldRecord* h = smiths_listed_hold(smiths_hold_page_no);

  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_act_mod_tag(p, 18);
  cdu_large(p, 63, 0, "RTE        HOLD");
  cdu_smallf(p, 220, 5, "%d / %d", int(smiths_hold_page_no), count);
  cdu_small(p, 12, 22, "F I X                            S P D / T G T    A L T");
  if (h) cdu_largef(p, 0, 33, "%.*s", int(sizeof h->ident), h->ident);
  else cdu_large(p, 0, 33, "- - -");
  cdu_large(p, 135, 33, "- - - \xB0   / - - - - - -");
  cdu_small(p, 12, 55, "Q U A D / R A D I A L            F I X    E T A");
  cdu_large(p, 0, 66, ". . / . . .");
  std::string eta = fix_eta(h);
  cdu_large(p, 180, 66, eta.empty() ? ". . / . . ." : eta);
  cdu_small(p, 12, 88, "I N B D    C R S / D I R        E F C    T I M E");
  if (h) cdu_largef(p, 0, 99, "%03.0f /  %s  T U R N", h->inbound_course, h->turn == 1 ? "R" : "L");
  cdu_large(p, 160, 99, "- - - -");
  cdu_small(p, 230, 99, "Z");
  cdu_small(p, 12, 121, "L E G  T I M E");
  cdu_small(p, 150, 121, "H O L D    A V A I L");
  if (h && h->leg_mode == 1) cdu_largef(p, 0, 133, "%1.1f   M I N", h->leg_time);
  else cdu_large(p, 0, 133, "-.-   M I N");
  cdu_small(p, 12, 155, "L E G    D I S T");
  cdu_small(p, 150, 155, "B E S T    S P E E D");
  if (h && h->leg_mode == 2) cdu_largef(p, 0, 166, "%2.1f - N M", h->leg_dist);
  else cdu_large(p, 0, 166, "--.-  - N M");
  cdu_largef(p, 190, 166, "%3d", int(BestHoldIas));
  cdu_small(p, 230, 166, "K T");
  cdu_text_within(p, CDU_LARGE_PX, 0, 178, "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -", 0);
  if (fpl_changed_state == 4) cdu_large(p, 0, 198, "< ERASE");
  else if (count < MAX_PLACED_HOLDS) cdu_large(p, 0, 198, "< NEXT HOLD");
  if (h && count < MAX_PLACED_HOLDS) cdu_large(p, 150, 198, "EXIT HOLD >");
  cdu_bottom_line(p);
  cdu_page_end(p);
}
