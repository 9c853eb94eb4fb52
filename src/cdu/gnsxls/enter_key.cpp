// ENTER: the common steps and the pages whose entries are single values (AIRWAY, SAVE
// ACTIVE FPL, VNAV, VNAV DATA, HOLDING PATTERN, PLAN).
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "cdu/gnsxls/gnsxls.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "guidance/flight_envelope.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "guidance/toc_tod.h"
#include "guidance/waypoint_sequencing.h"
#include "navdb/navdb.h"

namespace {

constexpr int32_t ALTITUDE_LIMIT_FT = 99999;

double entry_value(const std::string& text) { return std::atof(text.c_str()); }

// The airway chosen on AIRWAY joins the plan shown at the record before the typed row;
// the ACTIVE FPL goes through a copy of the active plan.
void enter_airway_page() {
  int32_t row = fpl_edit_index;
  // No end chosen: nothing to join.
  if (airway_start_index == airway_end_index) {
    gnsxls_page = GNSXLS_PAGE_FPL;
    return;
  }
  if (gnsxls_list_mode == 1) {
    copy_active_to_edit();
  } else {
    // The stored plan replaces the active one: the old plan's holds go with it.
    for (int h = 1; h <= hold_count; ++h) hold_list[h].edit_wpt = 0;
  }
  fpl_edit_index = row - 1;
  if (!activate_plan()) {
    // Refused (plan full, no record before the row): the row stays open, nothing changed.
    fpl_edit_index = row;
    gnsxls_page = GNSXLS_PAGE_FPL;
    return;
  }
  fms_leg_state = 0;
  gnsxls_page = GNSXLS_PAGE_FPL;
  gnsxls_fpl_column = gnsxls_fpl_column_saved;
  reset_cdu_entry_state();
  gnsxls_airway_line = 0;
  gnsxls_prompt_open = 0;
}

void enter_save_page() {
  if (gnsxls_prompt_open != 1) {
    gnsxls_save_name = gnsxls_trimmed(gnsxls_scratchpad);
    gnsxls_prompt_open = 0;
    gnsxls_lsk_state[2] = 0;
    return;
  }
  std::string name = gnsxls_trimmed(gnsxls_scratchpad);
  // An empty name or one with the end-record character is no file name.
  bool ok = !name.empty() && name.find('*') == std::string::npos && write_plan_file(name + ".RTE") == 1;
  if (!ok) {
    gnsxls_save_failed = 1;
    return;
  }
  gnsxls_page = GNSXLS_PAGE_FPL;
  gnsxls_fpl_column = 1;
  reset_cdu_entry_state();
}

void enter_vnav_page() {
  if (gnsxls_lsk_state[5] != 1) return;
  reset_cdu_entry_state();
  gnsxls_page = GNSXLS_PAGE_VNAV_DATA;
}

// Descent angle "c.c" from the first two scratchpad characters; a missing one reads "0".
double entered_angle() {
  const std::string& s = gnsxls_scratchpad;
  char text[4] = {s.size() > 0 ? s[0] : '0', '.', s.size() > 1 ? s[1] : '0', '\0'};
  return std::atof(text);
}

// An altitude entry: digits only (blanks around them), above 0 and below 99999 ft as on
// PERF INIT; false for anything else.
bool altitude_entry(const std::string& text, int32_t& out) {
  std::size_t a = text.find_first_not_of(' ');
  if (a == std::string::npos) return false;
  std::string digits = gnsxls_trimmed(text.substr(a));
  if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  int32_t v = std::atoi(digits.c_str());
  if (v <= 0 || v >= ALTITUDE_LIMIT_FT) return false;
  out = v;
  return true;
}

// Ends an entry of a data page: the field closes and the scratchpad is emptied, so that
// no later ENTER elsewhere takes it.
void close_entry() {
  reset_cdu_entry_state();
  gnsxls_prompt_open = 0;
  gnsxls_scratchpad.clear();
}

void enter_vnav_data_page(double tas_climb, double tas_descent) {
  const int32_t* s = gnsxls_lsk_state;
  if (s[7] == 1 || s[7] == 2) {
    int32_t alt = 0;
    // Refused: nothing changes and the field stays open for another entry. A cruise level
    // is one the aircraft can reach.
    const bool cruise = s[7] == 1;
    if (!altitude_entry(gnsxls_scratchpad, alt) ||
        (cruise && (alt < envelope_lowest_cruise_ft() || alt > envelope_highest_cruise_ft()))) {
      gnsxls_message = GNSXLS_MSG_INVALID;
      gnsxls_clear_on_key = 1;
      return;
    }
    if (s[7] == 1) {
      fms_cruise_level_entered(alt);
    } else {
      TransAlt = alt;
    }
  }
  if (s[8] == 1) {
    double a = entered_angle();
    if (a > 6.0) a = 6.0;
    FPA = a;
    if (a > 0.0) {
      int32_t t = key_param(-100.0 * a * tas_climb / 60.0);
      ClimbRate = 100 * key_param((50.0 - t) / 100.0);
      DescentRate = 100.0 * key_param((100.0 * a * tas_descent / 60.0 + 50.0) / 100.0);
      // The profile is made again at the new angle: the TOD and path move with it.
      if (cruise_alt > 0 && fpl_active_last >= 1) fms_cruise_level_entered(cruise_alt);
    }
  }
  close_entry();
}

void enter_hold_page() {
  const int32_t* s = gnsxls_lsk_state;
  if (hold_count >= 1) {
    HoldRecord& h = hold_list[1];
    double course = entry_value(hold_course_entry);
    // Values a hold cannot fly are ignored, and so is a field left blank.
    bool typed = hold_course_entry.find_first_of("0123456789") != std::string::npos;
    if (s[7] == 1 && typed && course >= 0.0 && course <= 360.0) h.inbound_course = course == 360.0 ? 0.0 : course;
    if (s[8] == 1) h.turn = hold_turn_choice;
    double minutes = entry_value(hold_time_entry);
    if (s[9] == 1 && minutes > 0.0) {
      h.leg_time = minutes;
      h.leg_mode = 1;
    }
    double nm = entry_value(hold_dist_entry);
    if (s[9] == 2 && nm > 0.0) {
      h.leg_dist = nm;
      h.leg_mode = 2;
    }
  }
  // AUTO asks the guidance to leave the hold at its fix; MANUAL withdraws that.
  if (s[10] == 1 && (hold_exit_choice == 2) != hold_exit_asked()) hold_exit_state = hold_exit_choice == 2 ? 2 : 1;
  close_entry();
}

void enter_plan_page() {
  if (gnsxls_plan_subpage == 1 && gnsxls_lsk_state[7] == 1) {
    bool kg = WeightUnit == "KGS";
    // The offer confirmed unchanged keeps the reserve: no rounding through kilograms.
    char offer[32];
    std::snprintf(offer, sizeof offer, "%.0f", reserve_fuel * (kg ? 0.45359237 : 1.0));
    double fuel = entry_value(gnsxls_scratchpad);
    std::string typed = gnsxls_trimmed(gnsxls_scratchpad);
    typed.erase(0, typed.find_first_not_of(' '));
    if (typed != offer) reserve_fuel = kg ? fuel * 2.20462262 : fuel;
  }
  close_entry();
}

}  // namespace

int32_t gnsxls_enter_key() {
  gnsxls_enter_pressed = 1;
  gnsxls_pending_lsk = 0;
  hdg_change_timer = 999;
  double tas_climb = ias_to_tas(ClimbIas, 15000.0);
  double tas_descent = ias_to_tas(DescentIas, 15000.0);
  switch (gnsxls_page) {
    case GNSXLS_PAGE_FPL: gnsxls_enter_flight_plan_page(); break;
    case GNSXLS_PAGE_DATABASE_WPT: gnsxls_enter_database_wpt_page(); break;
    case GNSXLS_PAGE_DIRECT: gnsxls_enter_direct_page(); break;
    case GNSXLS_PAGE_DEPARTURE:
    case GNSXLS_PAGE_STAR:
    case GNSXLS_PAGE_APPROACH: gnsxls_enter_procedure_page(); break;
    case GNSXLS_PAGE_PILOT_WPT: gnsxls_enter_pilot_wpt_page(); break;
    case GNSXLS_PAGE_OFFSET_WPT: gnsxls_enter_offset_wpt_page(); break;
    case GNSXLS_PAGE_AIRWAY: enter_airway_page(); break;
    case GNSXLS_PAGE_SAVE_FPL: enter_save_page(); break;
    case GNSXLS_PAGE_VNAV: enter_vnav_page(); break;
    case GNSXLS_PAGE_VNAV_DATA: enter_vnav_data_page(tas_climb, tas_descent); break;
    case GNSXLS_PAGE_HOLD: enter_hold_page(); break;
    case GNSXLS_PAGE_PLAN: enter_plan_page(); break;
    default: break;
  }
  return 0;
}

std::string gnsxls_trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}
