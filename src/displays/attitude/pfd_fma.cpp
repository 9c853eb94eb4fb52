// PFD mode annunciations and data fields, drawn first in each frame. Static texts and
// the annunciations are drawn on full-redraw frames only; a value field is erased with
// a black box and redrawn when its value changed.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "displays/attitude/pfd.h"
#include "displays/attitude/pfd_elements.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "module/sim_vars.h"

namespace {

constexpr double FEET_PER_METRE = 3.2808399;

// A right-aligned number field: x of the text by its length once the leading blanks
// are gone.
struct RightAligned {
  double y;
  double x[5];
  int32_t lengths;  // lengths with an x; a longer text takes the last
};
constexpr RightAligned DISTANCE_FIELD{.y = 185, .x = {193, 187, 182, 176, 170}, .lengths = 5};
constexpr RightAligned METRES_FIELD{.y = 175, .x = {247, 240, 234, 228, 222}, .lengths = 5};
constexpr RightAligned SPEED_FIELD{.y = 290, .x = {182, 177, 171, 164, 0}, .lengths = 4};

struct Fma {
  const GaugeSurface* rec;
  GfxGraphics* g;
  PfdTools& t;
  bool full;

  void text(double size, uint32_t colour, double x, double y, const char* s) const {
    draw_text(g, t.font(size), t.brush(colour), x, y, DRAW_TEXT_MAX, s);
  }
  void erase(double x, double y, double w, double h) const { fill_rect_d(g, t.brush(COLOUR_BLACK), x, y, w, h); }
  // The number `value` in `format`, placed by its length; drawn as "---" when `dashes`.
  void right_aligned(const RightAligned& f, const char* format, double value, bool dashes, uint32_t colour) const {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    const char* digits = buf + std::strspn(buf, " ");
    const size_t length = std::clamp<size_t>(std::strlen(digits), 1, size_t(f.lengths));
    text(10, colour, f.x[length - 1], f.y, dashes ? "---" : digits);
  }
};

// The last mode whose condition holds is shown.
struct Mode {
  const char* text;
  bool (*on)();
};
constexpr Mode lateral_modes[] = {
    {"HDG", [] { return token106_int == 1; }},
    {"LNAV", [] { return token106_int == 1 && lnav_on == 1; }},
    {"LOC", [] { return token112 == 1 && is_nav1_localizer() != 0; }},
    {"BC", [] { return token113 == 1 && is_nav1_backcourse() != 0; }},
    {"VOR", [] { return nav_gps_switch == 1 && nav_flag46 == 0 && is_nav1_localizer() == 0; }},
};
constexpr Mode vertical_modes[] = {
    {"IAS", [] { return ap_airspeed_hold == 1; }},
    {"MACH", [] { return ap_mach_hold == 1; }},
    {"ALT", [] { return ap_vertical_speed == 1; }},
    {"GS", [] { return token112 == 1 && has_nav1_glideslope() != 0; }},
};

template <size_t N>
const char* active_mode(const Mode (&modes)[N]) {
  const char* shown = "";
  for (const Mode& m : modes)
    if (m.on()) shown = m.text;
  return shown;
}

void annunciations(const Fma& f) {
  f.text(8, COLOUR_LIGHT_GREEN, 105, 0, active_mode(lateral_modes));
  if (get_flight_director_active() != 0) {
    const DrawPoint arrow[] = {{145, 4}, {131, 4}, {136, 7}, {131, 4}, {136, 1}};
    draw_lines_d(f.g, f.t.pen(COLOUR_LIGHT_GREEN, 1), arrow, 5);
  }
  f.text(8, COLOUR_LIGHT_GREEN, 150, 0, active_mode(vertical_modes));
  if (ap_token103 == 1) {
    f.text(8, COLOUR_LIGHT_GREEN, 115, 10, "AP");
    f.text(8, COLOUR_LIGHT_GREEN, 140, 10, "ENG");
  }
  if (pfd_course_source_fms == 1) f.text(10, COLOUR_MAGENTA, 190, 40, "FMS");
  char mach_text[32] = ".---";
  if (ground_speed >= 50) {
    if (mach < 1) std::snprintf(mach_text, sizeof mach_text, ".%3.0f", mach * 1000);
    else std::snprintf(mach_text, sizeof mach_text, "%.3f", std::min(mach, 99.0));
  }
  f.text(10, COLOUR_LIGHT_GREEN, 3, 165, mach_text);
  f.text(10, COLOUR_WHITE, 28, 165, "M");
  struct Marker {
    int32_t code;
    uint32_t colour;
    double x, text_x;
    const char* letter;
  } static const markers[] = {{1, COLOUR_BLUE, 180, 180, "O"}, {2, COLOUR_LIGHT_GREEN, 190, 190, "M"},
                              {3, COLOUR_WHITE, 200, 202, "I"}};
  for (const Marker& m : markers) {
    if (nav_token354 != m.code) continue;
    fill_rect_d(f.g, f.t.brush(m.colour), m.x, 140, 10, 10);
    f.text(8, COLOUR_BLACK, m.text_x, 141, m.letter);
  }
}

void selected_values(const Fma& f) {
  if (f.full || ap_altitude_prev != ap_altitude) {
    f.erase(220, 7, 40, 14);
    draw_textf(f.g, f.t.font(14), f.t.brush(COLOUR_BLUE), 220, 7, DRAW_TEXT_MAX, "%5.0f", ap_altitude);
    if (f.full) draw_rect_d(f.g, f.t.pen(COLOUR_WHITE, 2), 218, 0, 54, 23);
  }
  if (f.full || ap_airspeed_prev != ap_airspeed) {
    if (ap_airspeed_prev != ap_airspeed) f.erase(0, 7, 30, 14);
    draw_textf(f.g, f.t.font(14), f.t.brush(COLOUR_BLUE), 0, 7, DRAW_TEXT_MAX, "%3.0f", ap_airspeed);
    if (f.full) {
      draw_rect_d(f.g, f.t.pen(COLOUR_WHITE, 2), -4, 0, 41, 23);
      annunciations(f);
    }
  }
}

void baro(const Fma& f) {
  if (!f.full && baro_hpa_prev == baro_hpa) return;
  if (baro_hpa_prev != baro_hpa) f.erase(222, 165, 29, 10);
  draw_textf(f.g, f.t.font(10), f.t.brush(COLOUR_BLUE), 222, 165, DRAW_TEXT_MAX, "%2.2f", baro_inhg);
  if (f.full) f.text(10, COLOUR_WHITE, 250, 165, "IN");
}

void nav1_fields(const Fma& f) {
  if (pfd_course_source_nav != 1 || get_nav1_code_bit3() != 0) return;
  if (nav1_course != 0) {
    f.erase(3, 185, 21, 10);
    draw_textf(f.g, f.t.font(10), f.t.brush(COLOUR_LIGHT_GREEN), 3, 185, DRAW_TEXT_MAX, "%03.0f", nav1_course);
  } else if (f.full) {
    f.text(10, COLOUR_LIGHT_GREEN, 3, 185, "000");
  }
  if (f.full) {
    f.text(10, COLOUR_WHITE, 2, 175, "CRS");
    f.text(10, COLOUR_LIGHT_GREEN, 190, 175, is_nav1_localizer() != 0 ? "ILS1" : "VOR1");
  }
  if (f.full || dme1_distance != 0) {
    if (dme1_distance != 0) f.erase(170, 185, 31, 10);
    f.right_aligned(DISTANCE_FIELD, "%4.0f", dme1_distance, dme1_distance < 0, COLOUR_LIGHT_GREEN);
    if (f.full) f.text(10, COLOUR_WHITE, 200, 185, "NM");
  }
}

void fms_fields(const Fma& f) {
  if (pfd_course_source_fms != 1) return;
  const bool no_plan = fpl_active_index == FPL_NO_PLAN;
  if (f.full) f.text(10, COLOUR_WHITE, 2, 175, "DTRK");
  if (f.full || desired_track != desired_track_prev) {
    if (desired_track != desired_track_prev) f.erase(3, 185, 21, 10);
    if (no_plan) f.text(10, COLOUR_MAGENTA, 3, 185, "---");
    else draw_textf(f.g, f.t.font(10), f.t.brush(COLOUR_MAGENTA), 3, 185, DRAW_TEXT_MAX, "%03.0f", desired_track);
    if (f.full) f.text(10, COLOUR_MAGENTA, 195, 175, "FMS");
  }
  if (f.full || dist_to_active_wpt != dist_to_active_wpt_prev) {
    if (dist_to_active_wpt != dist_to_active_wpt_prev) f.erase(170, 185, 31, 10);
    f.right_aligned(DISTANCE_FIELD, "%4.0f", dist_to_active_wpt, no_plan, COLOUR_MAGENTA);
    if (f.full) f.text(10, COLOUR_WHITE, 200, 185, "NM");
  }
}

void metres(const Fma& f) {
  if (!f.full && indicated_altitude_prev == indicated_altitude) return;
  if (indicated_altitude_prev != indicated_altitude) f.erase(222, 175, 31, 10);
  f.right_aligned(METRES_FIELD, "%5.0f", indicated_altitude / FEET_PER_METRE, false, COLOUR_LIGHT_GREEN);
  if (f.full) f.text(10, COLOUR_WHITE, 252, 175, "M");
}

void bearing_legends(const Fma& f) {
  static const char* const first[] = {"VOR1", "ADF1", "FMS1"};
  static const char* const second[] = {"VOR2", "ADF2"};
  if (pfd_bearing1_source >= 1) {
    fill_ellipse_d(f.g, f.t.brush(COLOUR_BLUE), 5, 240, 10, 10);
    if (pfd_bearing1_source <= 3) f.text(10, COLOUR_WHITE, 20, 240, first[pfd_bearing1_source - 1]);
  }
  if (pfd_bearing2_source >= 1) {
    const DrawPoint diamond[] = {{10, 260}, {15, 265}, {10, 270}, {5, 265}, {10, 260}};
    fill_polygon_d(f.g, f.t.brush(COLOUR_WHITE), diamond, 5);
    if (pfd_bearing2_source <= 2) f.text(10, COLOUR_WHITE, 20, 260, second[pfd_bearing2_source - 1]);
  }
}

void heading_and_wind(const Fma& f) {
  if (!f.full && ap_heading_prev == ap_heading) return;
  if (ap_heading_prev != ap_heading) f.erase(2, 290, 20, 10);
  draw_textf(f.g, f.t.font(10), f.t.brush(COLOUR_BLUE), 2, 290, DRAW_TEXT_MAX, "%03.0f", ap_heading);
  if (!f.full) return;
  f.text(10, COLOUR_WHITE, 0, 280, "HDG");
  // North is shown as 360.
  const double wind = std::trunc(wind_direction) == 0 ? 360 : wind_direction;
  draw_textf(f.g, f.t.font(10), f.t.brush(COLOUR_MAGENTA), 40, 290, DRAW_TEXT_MAX, "%03.0f", wind);
  pfd_frame_at(f.g, f.rec, 65, 295, wind_direction - heading);
  const DrawPoint arrow[] = {{0, -4}, {3, -1}, {0, -4}, {-3, -1}, {0, -4}, {0, 4}};
  draw_lines_d(f.g, f.t.pen(COLOUR_MAGENTA, 1), arrow, 6);
  pfd_frame_at(f.g, f.rec);
}

// Minutes to go at `speed`; "---" without a speed to divide by.
void time_to_go(const Fma& f, double distance, double speed, uint32_t colour) {
  if (ground_speed < 50 || !(speed > 0)) {
    f.text(10, colour, 175, 290, "---");
    return;
  }
  draw_textf(f.g, f.t.font(10), f.t.brush(colour), 175, 290, DRAW_TEXT_MAX, "%3.0f",
             std::clamp(distance / speed * 60, -999999.0, 999999.0));
}

void lower_right(const Fma& f) {
  if (pfd_et_field == 1) {
    if (!f.full) return;
    f.text(10, COLOUR_WHITE, 188, 280, "ET");
    const int32_t seconds = std::max(seconds_counter, 0);
    draw_textf(f.g, f.t.font(10), f.t.brush(COLOUR_LIGHT_GREEN), 180, 290, DRAW_TEXT_MAX, "%02d:%02d",
               seconds / 3600, seconds % 3600 / 60);
  } else if (pfd_data_field == 0) {
    if (f.full) {
      f.text(10, COLOUR_WHITE, 183, 280, "GSPD");
      f.text(10, COLOUR_WHITE, 190, 290, "KTS");
    }
    if (!f.full && ground_speed_copy == ground_speed) return;
    if (ground_speed_copy != ground_speed) f.erase(164, 290, 20, 10);
    if (pfd_course_source_nav == 1) f.right_aligned(SPEED_FIELD, "%4.0f", ground_speed, !(ground_speed > 5), COLOUR_LIGHT_GREEN);
    if (pfd_course_source_fms == 1) f.right_aligned(SPEED_FIELD, "%4.0f", ground_speed, !(ground_speed > 5), COLOUR_MAGENTA);
  } else if (pfd_data_field == 1) {
    if (!f.full || (pfd_course_source_nav != 1 && pfd_course_source_fms != 1)) return;
    f.text(10, COLOUR_WHITE, 183, 280, "TTG");
    if (pfd_course_source_nav == 1) time_to_go(f, dme1_distance, dme2_distance, COLOUR_LIGHT_GREEN);
    if (pfd_course_source_fms == 1) time_to_go(f, dist_to_active_wpt, true_airspeed, COLOUR_MAGENTA);
    f.text(10, COLOUR_WHITE, 190, 290, "MIN");
  }
}

}  // namespace

void draw_pfd_fma(const GaugeSurface* rec, GfxGraphics* a) {
  PfdTools t(a);
  pfd_frame_at(a, rec);
  const Fma f{.rec = rec, .g = a, .t = t, .full = pfd_full_frame()};
  selected_values(f);
  baro(f);
  nav1_fields(f);
  fms_fields(f);
  metres(f);
  if (f.full) bearing_legends(f);
  heading_and_wind(f);
  lower_right(f);
}
