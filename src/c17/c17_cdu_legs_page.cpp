// FLT PLAN of the mission CDU: the plan as legs five lines a page, with fix insertion,
// discontinuities, constraints, direct-to and intercept, holds at a fix or at the present
// position, and the plan-format centre. Mode, paging and selections are the Smiths LEGS
// page's; entries come from this unit's scratchpad and answers go to its message line.
#include <cmath>
#include <cstring>

#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "navdb/navdb.h"

namespace {

constexpr double HOLD_LEG_MINUTES = 1.0;

using LegLine = CduLegRow;

bool active_shown() { return fpl_changed_state == 3; }
const FlightPlanWpt* shown_plan() { return active_shown() ? fpl_active : fpl_edit; }
int shown_last() {
  const int last = active_shown() ? fpl_active_last : fpl_edit_last;
  return last > FPL_MAX_LAST ? FPL_MAX_LAST : last;
}
bool edit_record(int n) { return n >= 1 && n <= fpl_edit_last && n <= FPL_MAX_LAST; }
bool is_disco(const FlightPlanWpt& r) { return std::strcmp(r.ident, FPL_DISCO_IDENT) == 0; }
// The active record, or 1 without an active plan (999 is a marker, never an index).
int active_or_first() { return fpl_active_index >= 1 && fpl_active_index <= FPL_MAX_LAST ? fpl_active_index : 1; }

CduLines lines() { return {c17_cdu_scratchpad, c17_cdu_scratchpad_msg}; }
void message(const char* text) { c17_cdu_scratchpad_msg = text; }

// First record of page p: each earlier record with a hold gives a line to its HOLD AT.
int first_record(int page) {
  // A modified route starts at the record EXEC will make active.
  const int mod_active = fpl_changed_state == 4 ? fpl_edit_active_record() : -1;
  const int base = mod_active >= 1 ? mod_active : active_or_first();
  if (page <= 1) return base;
  int first = base + 5 * (page - 1);
  const FlightPlanWpt* t = shown_plan();
  for (int i = active_shown() ? base : 1; i < first && i <= FPL_MAX_LAST; ++i)
    if (t[i].hold_number > 0) --first;
  return first < 1 ? 1 : first;
}

// Several fixes of one ident: DUPLICATE NAMES lists them, with the entry kept and the
// row and this page kept for the choice.
void open_fix_choice(int row) {
  select_wpt_row = row;
  c17_dup_return_page = C17_CDU_FLT_PLAN;
  c17_dup_first_row = 1;
  c17_cdu_page = C17_CDU_DUPLICATE_NAMES;
}

// The place in hold_list of the hold at edit record rec; 0 when none.
int hold_place_of(int rec) {
  for (int h = 1; h <= hold_count && h <= HOLD_CAPACITY; ++h)
    if (hold_list[h].edit_wpt == rec) return h;
  return 0;
}

// STANDARD HOLD opened on the hold just set.
void open_hold_page(int place, int rec) {
  if (place < 1) return;
  c17_hold_index = place;
  c17_hold_row = rec;
  c17_cdu_page = C17_CDU_STANDARD_HOLD;
}

// A typed fix inserted at record n of the edit plan: an active route becomes modified
// and the page shows the edit plan until EXEC or ERASE.
void insert_fix(int n) {
  const int found = create_user_waypoint(0, c17_cdu_scratchpad);
  if (found == 0) return message("NOT IN DATABASE");
  if (found > 1) return open_fix_choice(n);
  if (!insert_edit_record(n, 1)) return message("INVALID ENTRY");
  c17_cdu_scratchpad.clear();
}

// "HOLD AT <ident>" placed at record n: the fix goes in before n and holds there.
void place_hold_at(int n) {
  const int found = create_user_waypoint(0, c17_cdu_scratchpad.substr(8));
  if (found == 0) return message("NOT IN DATABASE");
  const int e = smiths_hold_select_entry >= 1 && smiths_hold_select_entry <= found ? smiths_hold_select_entry : 1;
  if (!select_search_entry(e) || !insert_hold_1(n, 1)) return message("INVALID ENTRY");
  add_hold(n, 1, HOLD_LEG_MINUTES);
  c17_cdu_scratchpad.clear();
}

// DELETE on a HOLD AT line deletes that hold with EXEC (ERASE keeps it; a hold flown is
// left at its fix); on a fix before the destination
// make_discontinuity makes the fix a discontinuity, empties the message line (the
// unit's hook) and activates the active route shown; a modification stays one until EXEC.
void left_key(const LegLine& line) {
  const int n = line.rec;
  if (c17_cdu_scratchpad_msg == "DELETE") {
    if (line.hold && edit_record(n)) {
      hold_delete_index = n;
      remove_hold(n, 2);
      c17_cdu_scratchpad_msg.clear();
    } else if (edit_record(n) && n < fpl_edit_last) {
      make_discontinuity(n, 0);
    } else {
      message("INVALID DELETE");
    }
    return;
  }
  if (!edit_record(n)) return;
  if (c17_cdu_scratchpad.empty()) {
    if (n >= fpl_edit_last) return;
    c17_cdu_scratchpad = std::string(fpl_edit[n].ident).substr(0, SMITHS_SCRATCHPAD_MAX);
    if (smiths_legs_mode == 1) smiths_dir_intc_index = n;
    if (smiths_legs_mode == 2) smiths_hold_at_index = n;
    return;
  }
  if (smiths_legs_mode == 2 && c17_cdu_scratchpad.rfind("HOLD AT ", 0) == 0) return place_hold_at(n);
  for (int j = n; j <= fpl_edit_last; ++j) {
    if (c17_cdu_scratchpad == fpl_edit[j].ident) {
      if (j > n) remove_edit_rows(n, j);
      c17_cdu_scratchpad.clear();
      return;
    }
  }
  insert_fix(n);
}

void right_key(int n) {
  if (!edit_record(n)) return;
  // A constraint is changed by an entry, never deleted: said, not copied behind the word.
  if (c17_cdu_scratchpad_msg == "DELETE") return message("INVALID DELETE");
  // A route break has no place to fly a speed or an altitude at.
  if (!c17_cdu_scratchpad.empty() && fpl_route_break(fpl_edit[n])) return message("INVALID ENTRY");
  if (!c17_cdu_scratchpad.empty()) return cdu_legs_parse_entry_a(n, lines());
  const FlightPlanWpt& r = fpl_edit[n];
  if (r.alt_constraint > 0 && r.spd_constraint > 0)
    c17_cdu_scratchpad = cdu_format("%-5.0f/%-3.0f", r.alt_constraint, r.spd_constraint);
}

// The intercept course of record t when it has none: the leg's course, magnetic.
void default_intercept(int t) {
  if (fpl_edit[t].intc_course > -1.0) return;
  double dist = 0.0, course = 0.0;
  compute_gc_distance_course(fpl_edit[t - 1].lat, fpl_edit[t - 1].lon, fpl_edit[t].lat, fpl_edit[t].lon, dist,
                             course);
  fpl_edit[t].intc_course = std::fmod(course - magvar + 720.0, 360.0);
}

void key_l6() {
  if (fpl_changed_state == 4) return erase_route_mods();
  if (c17_cdu_scratchpad.empty()) return;
  if (smiths_legs_mode == 2 && smiths_hold_at_index != 0) {
    const int rec = smiths_hold_at_index;
    const int place = add_hold(rec, 1, HOLD_LEG_MINUTES);
    if (place == 0) return message("INVALID ENTRY");
    smiths_hold_at_index = 0;
    c17_cdu_scratchpad.clear();
    open_hold_page(place, rec);
  } else if (smiths_legs_mode == 2) {
    const int found = create_user_waypoint(0, c17_cdu_scratchpad);
    if (found == 0) return message("NOT IN DATABASE");
    smiths_hold_select_entry = 1;
    if (found > 1) open_fix_choice(0);
    c17_cdu_scratchpad = "HOLD AT " + c17_cdu_scratchpad;
  } else if (smiths_legs_mode == 1 && smiths_dir_intc_index == 0) {
    const int found = create_user_waypoint(0, c17_cdu_scratchpad);
    if (found == 0) return message("NOT IN DATABASE");
    if (found > 1) return open_fix_choice(0);
    if (!insert_edit_record(active_or_first(), 1, 1)) return message("INVALID ENTRY");
    c17_cdu_scratchpad.clear();
  } else if (smiths_legs_mode == 1) {
    const int t = smiths_dir_intc_index;
    smiths_dir_intc_index = 0;
    if (!edit_record(t)) return message("INVALID ENTRY");
    if (fpl_changed_state == 3) fpl_changed_step();
    intc_crs_pending = 1;
    intc_target_wpt = t;
    // EXEC flies the leg the page shows: its fix becomes the active one.
    fpl_edit_index = t;
    fpl_edit_active_rec = t;
    default_intercept(t);
    c17_cdu_scratchpad.clear();
  }
}

// The intercept course: a number from 0 to 360.
void enter_intercept_course() {
  double crs = 0.0;
  if (!read_course_deg(c17_cdu_scratchpad, crs) || !edit_record(intc_target_wpt)) return message("INVALID ENTRY");
  fpl_edit[intc_target_wpt].intc_course = crs;
  c17_cdu_scratchpad.clear();
}

// PPOS >: a hold at the present position before the active record.
void hold_at_present_position() {
  cdu_hold_ppos_candidate();
  const int at = active_or_first();
  if (!insert_hold_1(at, 1)) return message("INVALID ENTRY");
  // The candidate brings its hold; add_hold is for a record without one.
  if (hold_place_of(at) == 0) add_hold(at, 0, HOLD_LEG_MINUTES);
  open_hold_page(hold_place_of(at), at);
}

void key_r6(int page_last, int& page, int count) {
  if (smiths_legs_mode == 1 && intc_crs_pending == 1) return enter_intercept_course();
  if (smiths_legs_mode == 2) return hold_at_present_position();
  if (!smiths_plan_mode_shown()) {
    if (fpl_changed_state == 1) fpl_changed_step();
    else c17_cdu_page = C17_CDU_RTE;
    return;
  }
  const int last = shown_last();
  ++plan_center_index;
  if (plan_center_index >= last) {
    page = 1;
    plan_center_index = 1;
  } else if (plan_center_index > page_last) {
    if (page < count) {
      ++page;
      plan_center_index = 0;
    } else {
      page = 1;
      plan_center_index = 1;
    }
  }
}

// ---- drawing ----

void draw_constraint(const CduPage& p, const FlightPlanWpt& r, double y) {
  const double alt = r.alt_constraint, spd = r.spd_constraint;
  const bool has_alt = alt > FPL_NO_CONSTRAINT && !is_disco(r), has_spd = spd > FPL_NO_CONSTRAINT && !is_disco(r);
  const char* a = fpl_at_or_above(r) ? "A" : "";
  const bool fl = alt > TransAlt;
  if (!has_spd && !has_alt) cdu_large(p, 130, y, "- - - - / - - - - - -");
  else if (!has_spd && fl) cdu_largef(p, 140, y, "- - - - / FL%03.0f%s", alt / 100.0, a);
  else if (!has_spd) cdu_largef(p, 140, y, "- - - - / %5.0f%s", alt, a);
  else if (!has_alt) cdu_largef(p, 145, y, "%5.0f / - - - - - -", spd);
  else if (fl) cdu_largef(p, 130, y, "%5.0f / FL%03.0f%s", spd, alt / 100.0, a);
  else cdu_largef(p, 130, y, "%5.0f / %5.0f%s", spd, alt, a);
}

void draw_leg(const CduPage& p, int i, double y) {
  const FlightPlanWpt* t = shown_plan();
  const FlightPlanWpt& r = t[i];
  // The active leg, and in MOD the fix EXEC will fly (a direct-to's, else the fix flown),
  // start at the aircraft.
  const bool flown = fpl_valid_index(fpl_active_index, fpl_active_last);
  const bool from_aircraft =
      active_shown() ? i == fpl_active_index
                     : fpl_changed_state == 4 && ((intc_crs_pending == 1 && i == intc_target_wpt) ||
                                                  (flown && intc_crs_pending == 0 && i == fpl_edit_active_record()));
  // A leg from a discontinuity has no course or length; the aircraft's leg to its fix has.
  if (i >= 1 && is_disco(t[i - 1]) && !from_aircraft) {
    cdu_small(p, 7, y - 11, ". .  R O U T E  D I S C O N T I N U I T Y  .");
    return;
  }
  const double lat0 = from_aircraft ? present_lat : t[i - 1].lat;
  const double lon0 = from_aircraft ? present_lon : t[i - 1].lon;
  double dist = 0.0, course = 0.0;
  compute_gc_distance_course(lat0, lon0, r.lat, r.lon, dist, course);
  course = std::fmod(course - magvar + 720.0, 360.0);
  const bool intercept = active_shown() ? i == fpl_active_index : i == 1 || from_aircraft;
  if (intercept && r.intc_course > -1.0) course = r.intc_course;
  if (course < 0.5) course += 360.0;
  cdu_smallf(p, 20, y - 11, "%03.0f\xB0", course);
  cdu_smallf(p, 100, y - 11, "%5.0f NM", dist);
}

void draw_record(const CduPage& p, int i, double y) {
  const FlightPlanWpt* t = shown_plan();
  const FlightPlanWpt& r = t[i];
  if (is_disco(r) && i < shown_last()) {
    cdu_small(p, 5, y - 14, "T H E N");
    static const double xs[5] = {1, 10, 20, 30, 40};
    cdu_entry_boxes(p, xs, 5, y);
    return;
  }
  if (i >= 1) draw_leg(p, i, y);
  const std::string ident = cdu_format("%-5.*s", int(sizeof r.ident), r.ident);
  // Only the active plan has an active record; an edit index is not one.
  if (active_shown() && i == fpl_active_index) cdu_boxed(p, 0, y, 0, y, int(strnlen(r.ident, sizeof r.ident)), ident);
  else cdu_large(p, 0, y, ident);
  // A space clear of the constraint after it.
  if (smiths_plan_mode_shown() && i == plan_center_index) cdu_large(p, 78, y, "<CTR>");
  draw_constraint(p, r, y);
}

void draw_lower_block(const CduPage& p) {
  if (smiths_legs_mode == 0 && fpl_changed_state == 4) {
    if (b737_nd_mode >= 7) {
      cdu_small(p, 0, 175, ". . . . . . . . . . . . . . . . . .");  // clear of the fifth row's foot
      cdu_small(p, 180, 184, "M A P  C T R");
    } else {
      cdu_small(p, 0, 175, ". . . . . . . . . . . . . . . . . . . . . . . .");
    }
  } else if (smiths_legs_mode == 1 && intc_crs_pending == 0) {
    cdu_small(p, 0, 184, "D I R E C T    T O                    I N T C    L E G");
    cdu_small(p, 110, 184, "- - - - - -");  // small: a space clear of "T O" and "I N T C" on its line
    static const double left[5] = {1, 10, 20, 30, 40}, right[5] = {200, 210, 220, 230, 240};
    cdu_entry_boxes(p, left, 5, 198);
    cdu_entry_boxes(p, right, 5, 198);
    cdu_small(p, 165, 198, "T O");
  } else if (smiths_legs_mode == 1) {
    cdu_small(p, 0, 184, ". . . . . . . . . . . . . . . . . . . . . . . I N T C    C R S");
    double crs = -1.0;
    if (edit_record(intc_target_wpt) && fpl_edit[intc_target_wpt].intc_course > -1.0)
      crs = fpl_edit[intc_target_wpt].intc_course;
    else if (edit_record(fpl_active_index) && fpl_edit[fpl_active_index].intc_course > -1.0)
      crs = fpl_edit[fpl_active_index].intc_course;
    if (crs > -1.0) cdu_largef(p, 215, 193, "%03.0f\xB0", crs);
    else cdu_large(p, 215, 193, "- - -");
  } else if (smiths_legs_mode == 2) {
    cdu_large(p, 0, 176, "- - - - - - -                  - - - - - - - - - -");
    cdu_small(p, 80, 182, "H O L D  A T");  // clear of the fifth row's foot
    static const double xs[5] = {5, 15, 25, 35, 45};
    if (holding_active == 0) cdu_entry_boxes(p, xs, 5, 198);
    cdu_large(p, 190, 209, "PPOS >");
  }
}

void draw_line_6(const CduPage& p) {
  if (smiths_plan_mode_shown()) cdu_large(p, 190, 209, "STEP >");
  else if (fpl_changed_state == 1) cdu_large(p, 170, 209, "ACTIVATE >");
  else if (fpl_changed_state >= 2 && smiths_legs_mode == 0) cdu_large(p, 150, 209, "RTE DATA >");
  // "< ERASE" stands clear of entry boxes over the left of its line (they would read as its field).
  const bool boxes_left = (smiths_legs_mode == 1 && intc_crs_pending == 0) || (smiths_legs_mode == 2 && holding_active == 0);
  if (fpl_changed_state == 4) cdu_large(p, boxes_left ? 52 : 0, 209, "< ERASE");
}

}  // namespace

void c17_cdu_legs_page(GaugeSurface* rec, GfxGraphics* g) {
  if ((smiths_legs_key_flag == 1 || smiths_hold_key_flag == 1) && (fpl_changed_state == 0 || fpl_changed_state == 3))
    copy_active_to_edit();
  if (smiths_legs_mode == 1 && intc_crs_pending == 0 && c17_cdu_pending_lsk == 12) c17_cdu_pending_lsk = 11;

  const int last = shown_last();
  smiths_legs_page_count = (hold_count + (last < 0 ? 0 : last) + 4) / 5;
  if (smiths_legs_page_count < 1) smiths_legs_page_count = 1;
  if (smiths_legs_page_no < 1 || smiths_legs_page_no > smiths_legs_page_count)
    smiths_legs_page_no = smiths_legs_page_no < 1 ? 1 : smiths_legs_page_count;
  const int page = smiths_legs_page_no;
  const int first = first_record(page);
  int next = c17_cdu_step_page(page, smiths_legs_page_count, smiths_prev_page_key == 1 && smiths_next_page_key != 1,
                               smiths_next_page_key == 1);
  if (smiths_plan_mode_shown()) {
    if ((smiths_next_page_key == 1 && first < last) || smiths_prev_page_key == 1) plan_center_index = first;
    // A centre record passed since (before the page's first) moves to the first.
    else if (plan_center_index == 0 || plan_center_index < first) plan_center_index = first;
  }

  LegLine rows[6];
  cdu_build_leg_rows(shown_plan(), shown_last(), first, rows);
  const int k = c17_cdu_pending_lsk;
  if (k >= 1 && k <= 5 && rows[k].rec >= 0) left_key(rows[k]);
  else if (k >= 6 && k <= 10 && rows[k - 5].rec >= 0 && !rows[k - 5].hold) right_key(rows[k - 5].rec);
  else if (k == 11) key_l6();
  else if (k == 12) key_r6(cdu_last_listed_record(rows), next, smiths_legs_page_count);
  smiths_legs_page_no = next;

  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_SMALL_CANVAS);
  if (fpl_changed_state == 3) cdu_large(p, 20, 0, "ACT");
  else if (fpl_changed_state == 4) cdu_boxed(p, 20, 0, 18, 0, 3, "MOD");
  cdu_large(p, 63, 0, "FLT  PLAN");
  cdu_smallf(p, 220, 0, "%2d / %2d", page, int(smiths_legs_page_count));
  cdu_build_leg_rows(shown_plan(), shown_last(), first, rows);
  const FlightPlanWpt* t = shown_plan();
  for (int r = 1; r <= 5; ++r) {
    const double y = 33.0 * r;
    if (rows[r].rec < 0) {
      cdu_large(p, 0, y, "- - - - - -");
      break;
    }
    if (rows[r].hold) {
      cdu_small(p, 20, y - 11, "H O L D   A T");
      cdu_largef(p, 0, y, "%-5.*s", int(sizeof t[0].ident), t[rows[r].rec].ident);
      cdu_large(p, 130, y, "- - - - / - - - - - -");
    } else {
      draw_record(p, rows[r].rec, y);
    }
  }
  draw_lower_block(p);
  draw_line_6(p);
  c17_cdu_bottom_line(p, C17_CDU_SMALL_CANVAS);
  cdu_page_end(p);
}
