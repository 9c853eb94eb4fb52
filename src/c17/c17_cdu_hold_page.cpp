// STANDARD HOLD: inbound course, turn direction and leg time or distance of one hold of
// the route, then the modified route inserted.

#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"

int32_t c17_hold_index = 1;

namespace {

void reject() { c17_cdu_scratchpad_msg = "INVALID ENTRY"; }

// After a hold is deleted the page's entry may be past the list or pending deletion:
// the page then shows a hold the route keeps (the last one listed before it).
void keep_shown_hold_listed() {
  const int n = hold_count < HOLD_CAPACITY ? hold_count : HOLD_CAPACITY;
  if (n < 1) return;
  if (c17_hold_index > n) c17_hold_index = n;
  if (c17_hold_index < 1) c17_hold_index = 1;
  for (int k = 0; k < n && hold_list[c17_hold_index].delete_pending; ++k)
    c17_hold_index = c17_hold_index > 1 ? c17_hold_index - 1 : n;
}

// The shown hold: hold_list entry c17_hold_index while it is listed.
HoldRecord* shown_hold() {
  if (c17_hold_index < 1 || c17_hold_index > hold_count || c17_hold_index > HOLD_CAPACITY) return nullptr;
  return &hold_list[c17_hold_index];
}

// L1: a number from 0 up to 360. The scratchpad stays.
void enter_course(HoldRecord& h) {
  double v = 0;
  if (!cdu_hold_course(c17_cdu_scratchpad, v)) return reject();
  h.inbound_course = v;
}

// L2: "R" or "L". The scratchpad stays.
void enter_turn(HoldRecord& h) {
  const std::string& s = c17_cdu_scratchpad;
  if (s != "R" && s != "L") return reject();
  h.turn = s == "R" ? 1 : 2;
}

// R1: "/t" timed legs of 1.0-9.9 min, or "d" distance legs of 0.5-9.9 NM.
void enter_leg(HoldRecord& h) {
  const std::string& s = c17_cdu_scratchpad;
  const bool timed = s.find('/') != std::string::npos;
  std::string before, word = s;
  double v = 0;
  if ((timed && (!split_at_slash(s, before, word) || !before.empty())) ||
      !read_tenths(word, timed ? 1.0 : 0.5, 9.9, v))
    return reject();
  (timed ? h.leg_time : h.leg_dist) = v;
  h.leg_mode = timed ? 1 : 2;
  c17_cdu_scratchpad.clear();
}

void hold_key(HoldRecord* h) {
  const int32_t k = c17_cdu_pending_lsk;
  if (k == 1 || k == 2 || k == 6) {
    if (!h) return reject();
    if (c17_cdu_scratchpad.empty()) return;
    if (k == 1) enter_course(*h);
    else if (k == 2) enter_turn(*h);
    else enter_leg(*h);
  } else if (k == 11 && fpl_changed_state != 3) {
    activate_route();
    c17_cdu_page = C17_CDU_FLT_PLAN;
  } else if (k == 12) {
    c17_cdu_page = C17_CDU_LAT_REV;
  }
}

}  // namespace

void c17_cdu_hold_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_MISSION_CANVAS);
  cdu_large(p, 18, 0, "STANDARD HOLD");
  keep_shown_hold_listed();
  hold_key(shown_hold());
  const HoldRecord* h = shown_hold();
  cdu_small(p, 180, 5, "A T");
  // The held fix as the hold list has it: records inserted before it move its row.
  if (h) cdu_largef(p, 201, 0, "%.*s", int(sizeof h->ident), h->ident);  // a space after "A T"
  cdu_small(p, 12, 30, "I N B  C R S");
  cdu_small(p, 240, 30, "T I M E/D I S T");
  cdu_small(p, 12, 71, "T U R N");
  if (h) {
    cdu_largef(p, 12, 42, "%03.0f", h->inbound_course);
    if (h->leg_mode == 1) cdu_largef(p, 240, 42, "%1.1f / --.-", h->leg_time);
    else cdu_largef(p, 240, 42, "-.- / %2.1f", h->leg_dist);
    cdu_large(p, 12, 83, h->turn == 1 ? "R" : "L");
  }
  cdu_small(p, 12, 112, "T R I P");
  cdu_small(p, 12, 153, "R T E  R S V%");
  cdu_small(p, 12, 194, "F I N A L / T I M E");
  cdu_small(p, 250, 235, "R E T U R N  T O");
  cdu_large(p, 240, 247, "LAT  REV>");
  if (fpl_changed_state != 3) cdu_large(p, 12, 247, "*INSERT");
  c17_cdu_bottom_line(p, C17_CDU_MISSION_CANVAS);
  cdu_page_end(p);
}
