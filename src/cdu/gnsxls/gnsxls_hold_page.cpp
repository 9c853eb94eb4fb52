// HOLDING PATTERN (page 18): hold 1's course, turn, leg time or distance and exit mode;
// R2..R5 open the fields, digits fill the open number from the right, ENTER stores.
#include <cstdio>
#include <cstring>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "flightplan/flight_plan.h"
#include "guidance/hold_legs.h"
#include "guidance/waypoint_sequencing.h"

namespace {

// A number field: its template and its digit places, left to right.
struct DigitField {
  std::string* text;
  const char* blank;
  int places[3];
  int count;
};

const DigitField course_field{&hold_course_entry, "   ", {0, 1, 2}, 3};
const DigitField time_field{&hold_time_entry, " . ", {0, 2}, 2};
const DigitField dist_field{&hold_dist_entry, "  . ", {0, 1, 3}, 3};

// Digits shift left with the new one on the right while the leftmost place is free;
// a deletion shifts right while the rightmost place holds a digit.
void edit_field(const DigitField& f, char digit, bool erase) {
  std::string& t = *f.text;
  if (hold_entry_fresh == 1 || t.size() != std::string(f.blank).size()) {
    t = f.blank;
    hold_entry_fresh = 0;
  }
  const int* pl = f.places;
  int last = f.count - 1;
  if (erase) {
    if (t[pl[last]] == ' ') return;
    for (int k = last; k > 0; --k) t[pl[k]] = t[pl[k - 1]];
    t[pl[0]] = ' ';
  } else if (digit != '\0' && t[pl[0]] == ' ') {
    for (int k = 0; k < last; ++k) t[pl[k]] = t[pl[k + 1]];
    t[pl[last]] = digit;
  }
}

// Opens a number field with its value; the keypad then types into the page.
void open_number(std::string& entry, const char* fmt, double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, fmt, value);
  entry = buf;
  gnsxls_scratchpad.clear();
  hold_entry_fresh = 1;
  gnsxls_prompt_open = 1;
  gnsxls_clear_on_key = 1;
}

void hold_line_key(const HoldRecord& h) {
  int32_t* s = gnsxls_lsk_state;
  switch (gnsxls_pending_lsk) {
    case 7:
      if (s[7] != 0) {
        reset_cdu_entry_state();
      } else {
        reset_cdu_entry_state();
        s[7] = 1;
        open_number(hold_course_entry, "%03.0f", h.inbound_course);
      }
      break;
    case 8:
      if (s[8] == 0) {
        reset_cdu_entry_state();
        hold_turn_choice = h.turn;
        s[8] = 1;
      } else {
        s[8] = 0;
      }
      break;
    case 9:
      if (s[9] == 0) {
        reset_cdu_entry_state();
        s[9] = 1;
        open_number(hold_time_entry, "%1.1f", h.leg_time);
      } else if (s[9] == 1) {
        reset_cdu_entry_state();
        s[9] = 2;
        open_number(hold_dist_entry, "%2.1f", h.leg_dist);
      } else {
        s[9] = 0;
      }
      break;
    case 10:
      if (s[10] == 0) {
        reset_cdu_entry_state();
        s[10] = 1;
        hold_exit_choice = hold_exit_asked() ? 2 : 1;
      } else {
        s[10] = 0;
      }
      break;
    default: break;
  }
}

// The typed key: one digit or nothing; the scratchpad is emptied on every draw.
void hold_digit_input() {
  char digit = '\0';
  bool erase = false;
  if (!gnsxls_scratchpad.empty()) {
    char token[8] = {};
    if (std::sscanf(gnsxls_scratchpad.c_str(), " %7s ", token) == 1 && token[1] == '\0' && token[0] >= '0' &&
        token[0] <= '9')
      digit = token[0];
    gnsxls_scratchpad.clear();
  } else if (gnsxls_clr_pressed == 1) {
    erase = true;
  } else {
    return;
  }
  const int32_t* s = gnsxls_lsk_state;
  if (s[7] == 1) edit_field(course_field, digit, erase);
  else if (s[9] == 1) edit_field(time_field, digit, erase);
  else if (s[9] == 2) edit_field(dist_field, digit, erase);
}

const char* turn_name(int32_t turn) { return turn == 1 ? "RIGHT" : turn == 2 ? "LEFT" : ""; }

}  // namespace

void gnsxls_holding_pattern_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  const HoldRecord& h = hold_list[1];
  hold_line_key(h);
  hold_digit_input();
  const int32_t* s = gnsxls_lsk_state;
  bool held = h.active_wpt >= 1 && h.active_wpt <= fpl_active_last;
  GnsPage p;
  gns_page_begin(p, rec, g);
  gns_text(p, 90, 0, p.white, "HOLDING PATTERN 1/1");
  gns_textf(p, 30, 40, p.green, "AT %s", held ? fpl_active[h.active_wpt].ident : "---");
  if (held) {
    // The entry flown, or the one the present track leads to; centred where DIRECT ENTRY stood.
    const int32_t e = hold_entry();
    const char* entry = e == HOLD_ENTRY_TEARDROP   ? "TEARDROP ENTRY"
                        : e == HOLD_ENTRY_PARALLEL ? "PARALLEL ENTRY"
                                                   : "DIRECT ENTRY";
    gns_text(p, 276.0 - 10.5 * double(std::strlen(entry)), 80, p.green, entry);
  }
  gns_text(p, 30, 120, p.green, "INBOUND CRS");
  if (s[7] == 1) gns_field(p, 360, 120, 3, hold_course_entry);
  else gns_textf(p, 360, 120, p.green, "%03.0f", h.inbound_course);
  gns_text(p, 30, 200, p.green, "TURN DIR");
  if (s[8] == 1) gns_field(p, 360, 200, 5, turn_name(hold_turn_choice));
  else gns_text(p, 360, 200, p.green, turn_name(h.turn));
  gns_text(p, 30, 240, p.cyan, "LEG TIME");
  if (s[9] == 1) gns_field(p, 360, 240, 3, hold_time_entry);
  else if (!held) gns_text(p, 360, 240, p.cyan, "----");
  else if (h.leg_mode == 1) gns_textf(p, 360, 240, p.cyan, "%-1.1f", h.leg_time);
  else gns_textf(p, 350, 240, p.cyan, "(%-1.1f)", h.leg_time);
  gns_text(p, 30, 280, p.green, "LEG DIST");
  if (s[9] == 2) gns_field(p, 360, 280, 4, hold_dist_entry);
  else if (!held) gns_text(p, 360, 280, p.green, "----");
  else if (h.leg_mode == 2) gns_textf(p, 360, 280, p.green, "%-2.1f", h.leg_dist);
  else gns_textf(p, 340, 280, p.green, "(%-2.1f)", h.leg_dist);
  gns_text(p, 30, 320, p.green, "EXIT MODE");
  if (s[10] == 1) gns_field(p, 360, 320, 6, hold_exit_choice == 1 ? "MANUAL" : "AUTO");
  else gns_text(p, 360, 320, p.green, hold_exit_asked() ? "AUTO" : "MANUAL");
  gns_page_end(p);
}
