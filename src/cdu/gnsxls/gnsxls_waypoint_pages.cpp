// PILOT ENTERED WPT (page 20) and OFFSET WPT (page 21): the position, radial and distance
// typed digit by digit, filling from the right, and the fly-over answer; ENTER makes
// and inserts the waypoint.
#include <cstdio>
#include <cstdlib>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"


namespace {

constexpr const char* NO_POSITION = "----------";
constexpr uint32_t UNDERLINE_COLOUR = 0xFFFF13D5;

// Digit places of the typed texts, left to right.
constexpr int LAT_PLACES[] = {2, 3, 5, 6, 8, 9};
constexpr int LON_PLACES[] = {1, 2, 3, 5, 6, 8, 9};
constexpr int RADIAL_PLACES[] = {0, 1, 2, 4};
constexpr int DIST_PLACES[] = {0, 1, 2, 3, 5};

// A new digit enters on the right while the leftmost place is free.
template <std::size_t N>
void push_digit(std::string& t, const int (&places)[N], char digit) {
  if (digit == '\0' || t[places[0]] != ' ') return;
  for (std::size_t k = 0; k + 1 < N; ++k) t[places[k]] = t[places[k + 1]];
  t[places[N - 1]] = digit;
}

// The last digit leaves on the right; the leftmost place becomes free.
template <std::size_t N>
void drop_digit(std::string& t, const int (&places)[N]) {
  for (std::size_t k = N - 1; k > 0; --k) t[places[k]] = t[places[k - 1]];
  t[places[0]] = ' ';
}

// The first blank-separated word of the scratchpad, which every draw consumes.
std::string take_typed_word() {
  char word[32] = {};
  if (std::sscanf(gnsxls_scratchpad.c_str(), " %31s", word) != 1) word[0] = '\0';
  gnsxls_scratchpad.clear();
  return word;
}

bool is_digit_word(const std::string& t) { return t.size() == 1 && t[0] >= '0' && t[0] <= '9'; }

// A position text of any other length cannot be edited in place: it starts again empty.
void keep_position_text(std::string& t) {
  if (t.size() != 10) t = NO_POSITION;
}

// A hemisphere letter starts a field; digits fill the field being typed.
void pilot_typed_key() {
  std::string& lat = gnsxls_pos_lat_text;
  std::string& lon = gnsxls_pos_lon_text;
  keep_position_text(lat);
  keep_position_text(lon);
  std::string t = take_typed_word();
  bool lat_started = lat[0] == 'N' || lat[0] == 'S';
  bool lon_started = lon[0] == 'E' || lon[0] == 'W';
  if (((gnsxls_pos_field == 1 && lat_started) || (gnsxls_pos_field == 2 && lon_started)) && !is_digit_word(t)) t.clear();
  if (gnsxls_clr_pressed == 1) {
    if (gnsxls_pos_field == 2) {
      drop_digit(lon, LON_PLACES);
      gnsxls_pos_lon = 0.0;
    } else if (gnsxls_pos_field == 1) {
      drop_digit(lat, LAT_PLACES);
      gnsxls_pos_lat = 0.0;
    }
    return;
  }
  if (lat == NO_POSITION && (t == "N" || t == "S")) {
    lat = std::string(t) + "      .  ";
    gnsxls_pos_field = 1;
  } else if (lon == NO_POSITION && (t == "E" || t == "W")) {
    lon = std::string(t) + "      .  ";
    gnsxls_pos_field = 2;
  } else if (is_digit_word(t) && gnsxls_pos_field == 1 && lat_started) {
    push_digit(lat, LAT_PLACES, t[0]);
  } else if (is_digit_word(t) && gnsxls_pos_field == 2 && lon_started) {
    push_digit(lon, LON_PLACES, t[0]);
  }
}

// R5 of both pages: the fly-over answer, edited in the scratchpad.
void answer_key() {
  int32_t& r5 = gnsxls_lsk_state[10];
  bool open = r5 == 0;
  reset_cdu_entry_state();
  if (open) {
    r5 = 1;
    gnsxls_scratchpad = gnsxls_answer;
  }
}

void draw_answer(const GnsPage& p, double y) {
  if (gnsxls_lsk_state[10] == 1) {
    std::string q = gnsxls_scratchpad + "?";
    gns_field(p, 320, y, int(q.size()), q);
  } else {
    gns_text(p, 320, y, p.green, gnsxls_answer);
  }
}

// One offset field: "-----" unset, else digits on "   . "; a fresh or unset field starts
// again at the first digit, CLR edits the shown value.
template <std::size_t N>
void edit_offset_field(std::string& e, const int (&places)[N], char digit) {
  std::string unset(N + 1, '-');
  std::string start(N + 1, ' ');
  start[N - 1] = '.';
  if (e.size() != N + 1) e = unset;
  if (gnsxls_clr_pressed == 1) {
    // An unset field has no digit to take back.
    if (e != unset) drop_digit(e, places);
  } else if ((e == unset || gnsxls_offset_fresh == 1) && digit != '\0') {
    e = start;
    e[N] = digit;
    gnsxls_offset_fresh = 0;
  } else {
    push_digit(e, places, digit);
  }
}

void offset_typed_key() {
  std::string t = take_typed_word();
  char digit = is_digit_word(t) ? t[0] : '\0';
  int32_t r3 = gnsxls_lsk_state[8];
  if (r3 == 1) edit_offset_field(gnsxls_offset_radial_edit, RADIAL_PLACES, digit);
  else if (r3 == 2) edit_offset_field(gnsxls_offset_dist_edit, DIST_PLACES, digit);
}

bool has_reference() { return gnsxls_offset_choice >= 1 && gnsxls_offset_choice < nav_search_slots; }

}  // namespace

void gnsxls_pilot_wpt_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  int32_t* s = gnsxls_lsk_state;
  if (gnsxls_pending_lsk == 8) {
    bool open = s[8] == 0;
    reset_cdu_entry_state();
    if (open) {
      s[8] = 1;
      gnsxls_prompt_open = 1;
      gnsxls_clear_on_key = 1;
    } else {
      gnsxls_pos_lat_text = gnsxls_pos_lon_text = NO_POSITION;
      gnsxls_prompt_open = 0;
      gnsxls_pos_field = 0;
      gnsxls_scratchpad.clear();
      gnsxls_pos_lat = gnsxls_pos_lon = 0.0;
    }
  } else if (gnsxls_pending_lsk == 10) {
    answer_key();
  }
  if (s[10] == 0) pilot_typed_key();
  GnsPage p;
  gns_page_begin(p, rec, g);
  gns_text(p, 75, 0, p.white, "PILOT ENTERED WPT");
  gns_text(p, 30, 80, p.green, "WAYPOINT");
  gns_text(p, 300, 80, p.green, gnsxls_new_wpt_name);
  gns_text(p, 90, 180, p.green, "POS");
  if (s[8] == 1) {
    gns_field(p, 200, 176, 10, gnsxls_pos_lat_text);
    gns_field(p, 200, 206, 10, gnsxls_pos_lon_text);
    if (gnsxls_pos_field == 1 || gnsxls_pos_field == 2) {
      int y = gnsxls_pos_field == 1 ? 206 : 236;
      GfxPen* pen = gfx_pen_create(g, UNDERLINE_COLOUR, 3.0);
      gfx_draw_line(g, pen, 208, y, 228, y);
      gfx_pen_delete(pen);
    }
  } else {
    gns_text(p, 200, 176, p.green, gnsxls_pos_lat_text);
    gns_text(p, 200, 206, p.green, gnsxls_pos_lon_text);
  }
  gns_text(p, 30, 320, p.white, "FLYOVER:");
  draw_answer(p, 320);
  gns_page_end(p);
}

void gnsxls_offset_wpt_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  int32_t* s = gnsxls_lsk_state;
  if (gnsxls_pending_lsk == 8) {
    int32_t r3 = s[8];
    reset_cdu_entry_state();
    if (r3 == 0) {
      s[8] = 1;
      gnsxls_prompt_open = 1;
      gnsxls_offset_fresh = 1;
      gnsxls_offset_radial_edit = gnsxls_offset_radial;
    } else if (r3 == 1) {
      s[8] = 2;
      gnsxls_prompt_open = 1;
      gnsxls_offset_fresh = 1;
      gnsxls_offset_dist_edit = gnsxls_offset_dist;
    } else {
      gnsxls_prompt_open = 0;
    }
    gnsxls_scratchpad.clear();
  } else if (gnsxls_pending_lsk == 10) {
    answer_key();
  }
  if (s[10] == 0) offset_typed_key();
  GnsPage p;
  gns_page_begin(p, rec, g);
  gns_textf(p, 75, 0, p.white, "OFFSET WPT    %d/%d", gnsxls_offset_choice, fix_match_count);
  gns_text(p, 30, 80, p.green, "WAYPOINT");
  gns_textf(p, 300, 80, p.green, "%s*", gnsxls_offset_ref.c_str());
  if (has_reference()) {
    const NavRecord& ref = nav_search_list[gnsxls_offset_choice];
    compute_gc_distance_course(present_lat, present_lon, ref.lat, ref.lon, gc_distance_nm, gc_course_deg);
    gc_course_deg -= magvar;
    if (gc_course_deg < 0.5) gc_course_deg += 360.0;
    gns_textf(p, 100, 120, p.green, "(BRG %03.0f/DIS %-5.0f)", gc_course_deg, gc_distance_nm);
  }
  gns_text(p, 30, 160, p.green, "RAD");
  if (s[8] == 1) gns_field(p, 360, 160, int(gnsxls_offset_radial_edit.size()), gnsxls_offset_radial_edit);
  else gns_text(p, 360, 160, p.green, gnsxls_offset_radial);
  gns_text(p, 30, 200, p.green, "DIS");
  if (s[8] == 2) gns_field(p, 340, 200, int(gnsxls_offset_dist_edit.size()), gnsxls_offset_dist_edit);
  else gns_text(p, 340, 200, p.green, gnsxls_offset_dist);
  gns_text(p, 100, 240, p.green, "POS");
  // POS is the point of the reference shown, its radial and distance, once both are set.
  bool ready = gnsxls_offset_radial != "-----" && gnsxls_offset_dist != "------" && has_reference();
  gnsxls_offset_lat_text = gnsxls_offset_lon_text = NO_POSITION;
  if (ready) {
    const NavRecord& ref = nav_search_list[gnsxls_offset_choice];
    double r = std::atof(gnsxls_offset_radial.c_str());
    double d = std::atof(gnsxls_offset_dist.c_str());
    compute_dest_point(ref.lat, ref.lon, magvar + r, d, gnsxls_offset_lat, gnsxls_offset_lon);
    std::string lat, lon;
    format_dms_position(gnsxls_offset_lat, -gnsxls_offset_lon, lat, lon, 1);
    gnsxls_offset_lat_text = gns_dms_template(lat);
    gnsxls_offset_lon_text = gns_dms_template(lon);
  }
  gns_text(p, 180, 240, p.green, gnsxls_offset_lat_text);
  gns_text(p, 180, 280, p.green, gnsxls_offset_lon_text);
  if (ready && s[8] == 0) gns_text(p, 30, 320, p.white, "OK? ENTER");
  gns_text(p, 460, 178, p.white, ">");
  gns_text(p, 30, 360, p.white, "FLYOVER:");
  draw_answer(p, 360);
  gns_page_end(p);
}
