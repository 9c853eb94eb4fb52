// LEGS page: the plan as legs five to a page, with waypoint insertion and deletion,
// direct-to and intercept course, holds, constraints and the plan-map centre.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "navdb/navdb.h"

namespace {

using LegRow = CduLegRow;

bool showing_active() { return fpl_changed_state == 3; }
const FlightPlanWpt* shown_plan() { return showing_active() ? fpl_active : fpl_edit; }
int shown_last() {
  int last = showing_active() ? fpl_active_last : fpl_edit_last;
  return last > FPL_MAX_LAST ? FPL_MAX_LAST : last;
}
bool edit_record(int n) { return n >= 1 && n <= fpl_edit_last; }
// A record before the destination: the destination itself is changed on RTE only.
bool route_record(int n) { return n >= 1 && n < fpl_edit_last; }
bool is_disco(const FlightPlanWpt& r) { return std::strcmp(r.ident, FPL_DISCO_IDENT) == 0; }

// First record of the page.
int first_record(int page) {
  int F;
  int base_active = fpl_active_index == FPL_NO_PLAN ? 1 : fpl_active_index;
  // A modified route starts at the record EXEC will make active.
  int mod_active = fpl_changed_state == 4 ? fpl_edit_active_record() : -1;
  if (page <= 1) {
    F = mod_active > 0 ? mod_active : base_active;
  } else {
    int base = mod_active > 0 ? mod_active : base_active;
    F = 5 * (page - 1) + base;
    // Each hold before the page takes a row of an earlier page.
    const FlightPlanWpt* t = showing_active() ? fpl_active : fpl_edit;
    int i = showing_active() ? base_active : 1;
    if (!showing_active() && F <= 1) i = F;
    for (; i < F && i >= 0 && i < FPL_CAPACITY; ++i)
      if (t[i].hold_number > 0) --F;
  }
  return F < 1 ? 1 : F;
}

// ---- entries ----

// "250/FL120", "/12000" or "120": 100 to 400 kt within the aircraft's limit, up to 99000 ft.
constexpr SpeedAltitudeRange LEG_CONSTRAINT = {
    .min_kt = 100, .max_kt = 400, .min_ft = 1, .max_ft = 99000, .speed_optional = true, .flight_levels = true};

bool whole_number(const std::string& w, double& v) { return w.size() <= 12 && whole_word_number(w, v); }

void insert_candidate(int n, int e) {
  if (!insert_edit_record(n, e, smiths_legs_mode == 1 ? 1 : 0)) {
    smiths_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  smiths_scratchpad.clear();
}

void open_select_waypoint(int row) {
  select_wpt_row = row;
  select_wpt_return_page = SMITHS_PAGE_LEGS;
  smiths_select_page_no = 1;
  smiths_page = SMITHS_PAGE_SELECT_WPT;
}

// A typed fix inserted before record n, or chosen on SELECT WAYPOINT.
void enter_fix(int n) {
  int found = create_user_waypoint(0, smiths_scratchpad);
  if (found == 0) {
    smiths_scratchpad_msg = "NOT IN DATABASE";
  } else if (found == 1) {
    insert_candidate(n, 1);
  } else {
    open_select_waypoint(n);
    smiths_scratchpad.clear();
  }
}

void place_staged_hold(int n) {
  std::string ident = smiths_scratchpad.substr(8);
  int found = create_user_waypoint(0, ident);
  if (found == 0) {
    smiths_scratchpad_msg = "NOT IN DATABASE";
    return;
  }
  int e = smiths_hold_select_entry >= 1 && smiths_hold_select_entry <= found ? smiths_hold_select_entry : 1;
  if (!insert_edit_record(n, e)) {
    smiths_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  add_hold(n, 1, HoldLegMins);
  smiths_hold_at_index = 0;
  smiths_scratchpad.clear();
}

void left_key(const LegRow& row) {
  int n = row.rec;
  if (smiths_scratchpad_msg == "DELETE") {
    if (row.hold && edit_record(n)) {
      hold_delete_index = n;
      remove_hold(n, 2);
    } else if (!row.hold && route_record(n)) {
      // A deletion on the active route is a modification, whether the record becomes
      // a discontinuity or goes.
      if (fpl_changed_state == 3) fpl_changed_step();
      make_discontinuity_2(n, 0);
      smiths_scratchpad_msg.clear();
    } else {
      smiths_scratchpad_msg = "INVALID DELETE";
    }
    return;
  }
  if (!edit_record(n)) return;
  if (smiths_scratchpad.empty()) {
    smiths_scratchpad = std::string(fpl_edit[n].ident).substr(0, SMITHS_SCRATCHPAD_MAX);
    if (smiths_legs_mode == 1) smiths_dir_intc_index = n;
    if (smiths_legs_mode == 2) smiths_hold_at_index = n;
    return;
  }
  if (smiths_legs_mode == 2 && smiths_scratchpad.rfind("HOLD AT ", 0) == 0) {
    place_staged_hold(n);
    return;
  }
  for (int j = n; j <= fpl_edit_last; ++j) {
    if (smiths_scratchpad == fpl_edit[j].ident) {
      if (j > n) remove_edit_rows(n, j);
      smiths_scratchpad.clear();
      return;
    }
  }
  enter_fix(n);
}

// A fix typed on the row after the last record goes before the destination.
void end_row_key() {
  if (fpl_edit_last < 0 || smiths_scratchpad.empty() || smiths_scratchpad_msg == "DELETE" || smiths_legs_mode != 0)
    return;
  enter_fix(fpl_edit_route_end());
}

void right_key(const LegRow& row) {
  int n = row.rec;
  if (!edit_record(n)) return;
  if (!smiths_scratchpad.empty()) {
    cdu_legs_parse_entry_b(nullptr, n);
  } else if (fpl_edit[n].alt_constraint > 0 && fpl_edit[n].spd_constraint > 0) {
    // Speed first, as the entry reads it back.
    smiths_scratchpad = cdu_format("%.0f/%.0f", fpl_edit[n].spd_constraint, fpl_edit[n].alt_constraint);
  }
}

// Direct-to and intercept, hold and ERASE on L6.
void key_l6() {
  if (fpl_changed_state == 4) {
    erase_route_mods();
    return;
  }
  if (smiths_scratchpad.empty()) return;
  if (smiths_legs_mode == 1 && smiths_dir_intc_index == 0) {
    if (!fpl_valid_index(fpl_active_index, fpl_edit_last + 1) || fpl_active_index < 1) {
      smiths_scratchpad_msg = "NO ACTIVE ROUTE";
      return;
    }
    int found = create_user_waypoint(0, smiths_scratchpad);
    if (found == 0) {
      smiths_scratchpad_msg = "NOT IN DATABASE";
      return;
    }
    if (found > 1) open_select_waypoint(0);
    insert_candidate(fpl_edit_active_record(), 1);
  } else if (smiths_legs_mode == 1) {
    // DIRECT TO the picked fix: the fixes before it go and it is flown direct.
    int t = smiths_dir_intc_index;
    smiths_dir_intc_index = 0;
    if (fpl_changed_state == 3) copy_active_to_edit();
    if (!edit_record(t) || !fpl_edit_direct_to(fpl_edit_active_record(), t)) {
      smiths_scratchpad_msg = "INVALID ENTRY";
      return;
    }
    smiths_scratchpad.clear();
  } else if (smiths_legs_mode == 2 && smiths_hold_at_index != 0) {
    if (add_hold(smiths_hold_at_index, 1, HoldLegMins) == 0) {
      smiths_scratchpad_msg = "INVALID ENTRY";
      return;
    }
    smiths_scratchpad.clear();
    smiths_page = SMITHS_PAGE_RTE_HOLD;
  } else if (smiths_legs_mode == 2) {
    int found = create_user_waypoint(0, smiths_scratchpad);
    if (found == 0) {
      smiths_scratchpad_msg = "NOT IN DATABASE";
      return;
    }
    smiths_hold_select_entry = 1;
    if (found > 1) open_select_waypoint(0);
    smiths_scratchpad = "HOLD AT " + smiths_scratchpad;
  }
}

// INTC LEG TO the picked fix: its leg is intercepted on the course into it.
void intercept_picked_leg() {
  int t = smiths_dir_intc_index;
  smiths_dir_intc_index = 0;
  if (!edit_record(t)) {
    smiths_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  if (fpl_changed_state == 3) fpl_changed_step();
  intc_crs_pending = 1;
  intc_target_wpt = t;
  fpl_edit_index = t;
  fpl_edit_active_rec = t;
  if (fpl_edit[t].intc_course <= -1.0) {
    const FlightPlanWpt& a = fpl_edit[t - 1];
    double dist = 0.0, course = 0.0;
    compute_gc_distance_course(a.lat, a.lon, fpl_edit[t].lat, fpl_edit[t].lon, dist, course);
    double c = std::fmod(course - magvar + 720.0, 360.0);
    fpl_edit[t].intc_course = c;
  }
  smiths_scratchpad.clear();
}

// STEP: the plan-map centre to the next record with a position; past the page's last
// record `page_last` (HOLD AT lines take rows of their own) the next page.
void key_r6(int page_last, int& page, int count) {
  if (smiths_legs_mode == 1 && intc_crs_pending == 0) {
    if (smiths_dir_intc_index != 0 && !smiths_scratchpad.empty()) intercept_picked_leg();
    else key_l6();
    return;
  }
  if (smiths_legs_mode == 1 && intc_crs_pending == 1) {
    double crs = 0.0;
    bool digits = smiths_scratchpad.find_first_not_of("0123456789.") == std::string::npos;
    if (!digits || !whole_number(smiths_scratchpad, crs) || crs < 0.0 || crs > 360.0 || !edit_record(intc_target_wpt)) {
      smiths_scratchpad_msg = "INVALID ENTRY";
      return;
    }
    fpl_edit[intc_target_wpt].intc_course = crs;
    smiths_scratchpad.clear();
    return;
  }
  if (smiths_legs_mode == 2) {
    if (!fpl_valid_index(fpl_active_index, fpl_active_last) || fpl_active_index < 1) {
      smiths_scratchpad_msg = "NO ACTIVE ROUTE";
      return;
    }
    cdu_hold_ppos_candidate();
    // Before the fix being flown: EXEC makes the hold the active waypoint.
    const int at = fpl_edit_active_record();
    if (at < 1 || !insert_edit_record(at, 1)) {
      smiths_scratchpad_msg = "INVALID ENTRY";
      return;
    }
    add_hold(at, 0, HoldLegMins);
    smiths_page = SMITHS_PAGE_RTE_HOLD;
    return;
  }
  if (smiths_plan_mode_shown()) {
    int last = shown_last();
    // The centre steps over route breaks: they have no position.
    do ++plan_center_index;
    while (plan_center_index < last && fpl_route_break(shown_plan()[plan_center_index]));
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
    return;
  }
  if (fpl_changed_state == 1) fpl_changed_step();
  else smiths_page = SMITHS_PAGE_RTE;
}

// ---- drawing ----

void draw_constraint(const CduPage& p, const FlightPlanWpt& r, double y) {
  double alt = r.alt_constraint;
  if (showing_active() && alt > FPL_NO_CONSTRAINT) alt = std::trunc(alt / 100.0) * 100.0;
  bool has_alt = alt > FPL_NO_CONSTRAINT;
  bool has_spd = r.spd_constraint > FPL_NO_CONSTRAINT;
  const char* a = fpl_at_or_above(r) ? "A" : "";
  bool fl = alt > TransAlt;
  if (!has_spd && !has_alt) cdu_large(p, 130, y, "- - - - / - - - - - -");
  else if (!has_spd && fl) cdu_largef(p, 140, y, "- - - - / FL%03.0f%s", alt / 100.0, a);
  else if (!has_spd) cdu_largef(p, 140, y, "- - - - / %5.0f%s", alt, a);
  else if (!has_alt) cdu_largef(p, 145, y, "%5.0f / - - - - - -", r.spd_constraint);
  else if (fl) cdu_largef(p, 130, y, "%5.0f / FL%03.0f%s", r.spd_constraint, alt / 100.0, a);
  else cdu_largef(p, 130, y, "%5.0f / %5.0f%s", r.spd_constraint, alt, a);
}

void draw_record_row(const CduPage& p, int i, double y) {
  const FlightPlanWpt* t = shown_plan();
  const FlightPlanWpt& r = t[i];
  if (is_disco(r)) {
    cdu_small(p, 5, y - 14, "T H E N");
    const double xs[5] = {1, 10, 20, 30, 40};
    cdu_entry_boxes(p, xs, 5, y);
    return;
  }
  if (i >= 1 && is_disco(t[i - 1])) {
    cdu_small(p, 7, y - 11, ". .  R O U T E  D I S C O N T I N U I T Y  .");
  } else {
    double lat0 = t[i - 1].lat, lon0 = t[i - 1].lon;
    // The active leg, and a direct-to leg waiting for EXEC, start at the aircraft.
    bool from_aircraft = showing_active() ? i == fpl_active_index
                                          : fpl_changed_state == 4 && intc_crs_pending == 1 && i == intc_target_wpt;
    if (from_aircraft) {
      lat0 = present_lat;
      lon0 = present_lon;
    }
    double dist = 0.0, course = 0.0;
    compute_gc_distance_course(lat0, lon0, r.lat, r.lon, dist, course);
    course -= magvar;
    if (course >= 360.0) course -= 360.0;
    if (course < 0.0) course += 360.0;
    bool intc = showing_active() ? i == fpl_active_index : i == 1 || from_aircraft;
    if (intc && r.intc_course > -1.0) course = r.intc_course;
    if (course < 0.5) course += 360.0;
    cdu_smallf(p, 20, y - 11, "%03.0f\xB0", course);
    cdu_smallf(p, 100, y - 11, "%5.0f NM", dist);
  }
  std::string ident = cdu_format("%-5s", r.ident);
  if (i == fpl_active_index && fpl_changed_state != 4) cdu_boxed(p, 0, y, 0, y, int(std::strlen(r.ident)), ident);
  else cdu_large(p, 0, y, ident);
  // A space clear of the constraint after it.
  if (smiths_plan_mode_shown() && i == plan_center_index) cdu_large(p, 78, y, "<CTR>");
  draw_constraint(p, r, y);
}

void draw_line_6(const CduPage& p) {
  bool nd_plan = b737_nd_mode >= 7;
  // "< ERASE" stands clear of entry boxes on the left of its line.
  double erase_x = 0.0;
  if (smiths_legs_mode == 0 && fpl_changed_state != 4) {
    cdu_small(p, 10, 184, "R N P / A C T U A L");
    if (nd_plan) {
      cdu_large(p, 120, 174, ". . . . . .");
      cdu_small(p, 180, 184, "M A P  C T R");
    } else {
      cdu_large(p, 120, 174, ". . . . . . . . . . . . .");
    }
    cdu_small(p, 0, 198, "1 . 0 0 / 0 . 0 0 N M");
  } else if (smiths_legs_mode == 0) {
    if (nd_plan) {
      cdu_large(p, 0, 174, ". . . . . . . . . . . . . . . . . .");
      cdu_small(p, 180, 184, "M A P  C T R");
    } else {
      cdu_large(p, 0, 174, ". . . . . . . . . . . . . . . . . . . . . . . .");
    }
  } else if (smiths_legs_mode == 2) {
    cdu_large(p, 0, 176, "- - - - - - -                  - - - - - - - - - -");
    cdu_small(p, 80, 181, "H O L D  A T");
    if (holding_active == 0) {
      cdu_five_boxes(p, 5, 10, 198);
      erase_x = 52.0;
    }
    cdu_large(p, 190, 198, "PPOS >");
  } else if (intc_crs_pending == 0) {
    static const std::string label = "D I R E C T    T O                    I N T C    L E G";
    cdu_small(p, 0, 184, label);
    // The rule between the two labels ends a space clear of "I N T C".
    const double intc = cdu_text_width(label.substr(0, label.find("I N T C")), CDU_SMALL_PX) - 6.0;
    std::string dashes = "-";
    while (100.0 + cdu_text_width(dashes + " -", CDU_LARGE_PX) <= intc) dashes += " -";
    cdu_large(p, 100, 179, dashes);
    const double left[5] = {1, 10, 20, 30, 40};
    const double right[5] = {200, 210, 220, 230, 240};
    cdu_entry_boxes(p, left, 5, 198);
    cdu_entry_boxes(p, right, 5, 198);
    erase_x = 52.0;
    cdu_small(p, 165, 198, "T O");
  } else {
    cdu_small(p, 0, 184, ". . . . . . . . . . . . . . . . . . . . . . . I N T C    C R S");
    double crs = -1.0;
    if (edit_record(intc_target_wpt) && fpl_edit[intc_target_wpt].intc_course > -1.0)
      crs = fpl_edit[intc_target_wpt].intc_course;
    else if (fpl_valid_index(fpl_active_index, fpl_edit_last) && fpl_edit[fpl_active_index].intc_course > -1.0)
      crs = fpl_edit[fpl_active_index].intc_course;
    if (crs > -1.0) cdu_largef(p, 215, 193, "%03.0f\xB0", crs);
    else cdu_large(p, 215, 193, "- - -");
  }
  bool plan = smiths_plan_mode_shown();
  if (fpl_changed_state == 1) {
    if (plan) cdu_large(p, 190, 198, "STEP >");
    else cdu_large(p, 170, 198, "ACTIVATE >");
  } else if (fpl_changed_state >= 2 && smiths_legs_mode == 0) {
    if (plan) cdu_large(p, 190, 198, "STEP >");
    else cdu_large(p, 150, 198, "RTE DATA >");
  } else if (plan) {
    cdu_large(p, 190, 198, "STEP >");
  }
  if (fpl_changed_state == 4) cdu_large(p, erase_x, 198, "< ERASE");
}

}  // namespace

void cdu_build_leg_rows(const FlightPlanWpt* t, int last, int first, CduLegRow rows[6]) {
  int rec;
  bool hold;
  if (first - 1 >= 1 && first - 1 <= last && t[first - 1].hold_number > 0) {
    rec = first - 1;
    hold = true;
  } else {
    rec = first;
    hold = false;
  }
  for (int k = 1; k <= 5; ++k) {
    rows[k] = CduLegRow{};
    if (rec > last) {
      rows[k].end = true;
      break;
    }
    rows[k].rec = rec;
    rows[k].hold = hold;
    if (!hold && t[rec].hold_number > 0) {
      hold = true;
    } else {
      hold = false;
      ++rec;
    }
  }
}

int cdu_last_listed_record(const CduLegRow rows[6]) {
  int last = -1;
  for (int k = 1; k <= 5; ++k)
    if (rows[k].rec > last && !rows[k].hold) last = rows[k].rec;
  return last;
}

void cdu_hold_ppos_candidate() {
  NavRecord& c = nav_search_list[1];
  std::memset(&c, 0, sizeof c);
  nav_copy_text(c.ident, nav_ident_size, "HOLD PPOS");
  nav_copy_text(c.type, nav_type_size, "I");
  c.lat = present_lat;
  c.lon = present_lon;
  fix_match_count = 1;
  nav_search_count = 1;
  if (fpl_changed_state == 3) {
    copy_active_to_edit();
    fpl_changed_step();
  }
}

void cdu_legs_parse_entry_a(int n, CduLines io) {
  if (!edit_record(n)) {
    io.msg = "INVALID ENTRY";
    return;
  }
  // A speed of 0 is no speed.
  const std::string text = io.pad.starts_with("0/") ? io.pad.substr(1) : io.pad;
  SpeedAltitudeEntry e;
  // A constraint's speed is flown in any phase: at least the lower least speed.
  SpeedAltitudeRange range = LEG_CONSTRAINT;
  range.min_kt = std::max(range.min_kt, cdu_least_speed_kt(ENVELOPE_ANY_PHASE));
  // No crossing higher than the aircraft can cruise: such a constraint would never be flown.
  range.max_ft = std::min(range.max_ft, envelope_highest_cruise_ft());
  if (!read_speed_altitude(text, range, e)) {
    io.msg = "INVALID ENTRY";
    return;
  }
  const double alt = e.ft, speed = e.has_speed ? e.kt : 0.0;
  if (fpl_changed_state == 3) copy_active_to_edit();
  fpl_edit[n].alt_constraint = alt;
  fpl_edit[n].constraint_flag = 1;
  fpl_edit[n].crossed_at = 0;
  if (speed != 0.0) fpl_edit[n].spd_constraint = speed;
  fpl_step_on_edit();
  io.pad.clear();
}

void cdu_legs_parse_entry_b(GaugeSurface*, int n) {
  cdu_legs_parse_entry_a(n, {smiths_scratchpad, smiths_scratchpad_msg});
}

void smiths_fms_legs_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  if ((smiths_legs_key_flag == 1 || smiths_hold_key_flag == 1) && (fpl_changed_state == 0 || fpl_changed_state == 3))
    copy_active_to_edit();

  int last = shown_last();
  smiths_legs_page_count = (hold_count + (last < 0 ? 0 : last) + 4) / 5;
  if (smiths_legs_page_count < 1) smiths_legs_page_count = 1;
  int page = smiths_legs_page_no;
  if (page < 1) page = 1;
  if (page > smiths_legs_page_count) page = smiths_legs_page_count;
  int F = first_record(page);
  int next = page;
  if (smiths_prev_page_key == 1) next = next - 1 < 1 ? smiths_legs_page_count : next - 1;
  if (smiths_next_page_key == 1) next = next + 1 > smiths_legs_page_count ? 1 : next + 1;
  if (smiths_plan_mode_shown()) {
    if ((smiths_next_page_key == 1 && F < last) || smiths_prev_page_key == 1) plan_center_index = F;
    else if (plan_center_index == 0) plan_center_index = F;
  }

  LegRow rows[6];
  cdu_build_leg_rows(shown_plan(), shown_last(), F, rows);
  int k = smiths_pending_lsk;
  if (k >= 1 && k <= 5 && rows[k].rec >= 0) left_key(rows[k]);
  else if (k >= 1 && k <= 5 && rows[k].end) end_row_key();
  else if (k >= 6 && k <= 10 && rows[k - 5].rec >= 0) right_key(rows[k - 5]);
  else if (k == LSK_L6) key_l6();
  else if (k == LSK_R6) key_r6(cdu_last_listed_record(rows), next, smiths_legs_page_count);
  smiths_legs_page_no = next;

  cdu_act_mod_tag(p, 20);
  cdu_large(p, 63, 0, "RTE    LEGS");
  cdu_smallf(p, 220, 0, "%2d / %2d", page, smiths_legs_page_count);
  cdu_build_leg_rows(shown_plan(), shown_last(), F, rows);
  const FlightPlanWpt* t = shown_plan();
  for (int r = 1; r <= 5; ++r) {
    double y = 33.0 * r;
    if (rows[r].rec < 0) {
      if (r == 1 || rows[r - 1].rec >= 0) cdu_large(p, 0, y - 3, "- - - - - -");
      break;
    }
    if (rows[r].hold) {
      cdu_small(p, 20, y - 11, "H O L D   A T");
      cdu_largef(p, 0, y, "%-5s", t[rows[r].rec].ident);
      cdu_large(p, 130, y, "- - - - / - - - - - -");
    } else {
      draw_record_row(p, rows[r].rec, y);
    }
  }
  draw_line_6(p);
  cdu_bottom_line(p);
  cdu_page_end(p);
}
