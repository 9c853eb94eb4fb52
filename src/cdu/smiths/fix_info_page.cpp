// FIX INFO page: two reference fixes, each with up to three radial/distance pairs, the
// aircraft's radial and distance from the fix and the ETA and distance to each point.
#include <cmath>
#include <cstring>

#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/eta_clock.h"
#include "guidance/fms_state.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

namespace {

constexpr double PAIR_Y[3] = {66, 99, 133};

// Columns of the pair rows, each label standing over its values: a distance ("998.9")
// ends by x 118, an ETA ("2359Z") by 176 and a distance to go ("1015.4", a point 998.9 NM
// out) by 245, left of the altitude column, which has no values.
struct Column {
  const char* label;
  double x;
};
constexpr Column RADIAL{"R A D /", 5}, DISTANCE{"D I S", 70}, ETA{"E T A", 122}, TO_GO{"D T G", 187},
    ALTITUDE{"A L T", 246};

FixInfoRecord& shown_record() {
  if (smiths_fix_page_no < 1 || smiths_fix_page_no > 2) smiths_fix_page_no = 1;
  return fix_info[smiths_fix_page_no];
}

void set_fix(FixInfoRecord& f) {
  if (!fix_info_take_fix(f, smiths_scratchpad)) {
    smiths_scratchpad_msg = "NOT IN DATABASE";
    return;
  }
  smiths_scratchpad.clear();
}

}  // namespace

bool fix_info_take_fix(FixInfoRecord& f, const std::string& ident) {
  route_entry_text = ident;
  if (create_user_waypoint(0) < 1) return false;
  const NavRecord& c = nav_search_list[1];
  f = FixInfoRecord{};
  std::snprintf(f.ident, sizeof f.ident, "%s", c.ident);
  // Airports are drawn as airports by the map overlay.
  std::snprintf(f.type, sizeof f.type, "%s", std::strcmp(c.type, "APT") == 0 ? "A" : c.type);
  f.lat = c.lat;
  f.lon = c.lon;
  return true;
}

void fix_info_radial_to_aircraft(const FixInfoRecord& f, double& radial, double& dist) {
  double course = 0;
  compute_gc_distance_course(present_lat, present_lon, f.lat, f.lon, dist, course);
  radial = course - magvar;
  if (radial < 0.5) radial += 360.0;
  radial += 180.0;
  if (radial >= 360.0) radial -= 360.0;
  if (radial == 0.0) radial = 360.0;
}

bool whole_word_number(const std::string& w, double& v) { return read_number_word(w, true, v); }

namespace {

// "RRR/DDD", "/DDD", "RRR" or "RRR/": radial three digits 000..360, distance 0.1 to 998.9.
void enter_pair(FixInfoRecord& f, int k) {
  const std::string& s = smiths_scratchpad;
  if (s.empty()) return;
  std::string radial_word = s, dist_word;
  const bool slash = s.find('/') != std::string::npos;
  int32_t radial = 0;
  double dist = 0;
  bool ok = s.size() <= 12 && (!slash || split_at_slash(s, radial_word, dist_word));
  const bool dist_only = radial_word.empty(), has_dist = !dist_word.empty();
  if (ok && !dist_only) ok = read_radial_deg(radial_word, radial);
  if (ok && has_dist) ok = read_tenths(dist_word, 0.1, 998.9, dist);
  if (!ok || (dist_only && !has_dist)) {
    smiths_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  if (!dist_only) f.radial[k] = radial == 0 ? 360.0 : radial;
  if (has_dist) f.dist[k] = dist;
  smiths_scratchpad.clear();
}

void handle_key(FixInfoRecord& f) {
  int k = smiths_pending_lsk;
  bool del = smiths_scratchpad_msg == "DELETE";
  if (k == 1 && del) {
    f = FixInfoRecord{};
    smiths_scratchpad_msg.clear();
  } else if (k == 1 && !smiths_scratchpad.empty()) {
    set_fix(f);
  } else if (k >= 2 && k <= 4 && f.ident[0] != '\0') {
    if (del) {
      f.radial[k - 2] = 0;
      f.dist[k - 2] = 0;
      smiths_scratchpad_msg.clear();
    } else {
      enter_pair(f, k - 2);
    }
  }
}

void draw_pair(const CduPage& p, const FixInfoRecord& f, int k) {
  double y = PAIR_Y[k];
  double radial = f.radial[k], dist = f.dist[k];
  if (radial != 0) cdu_largef(p, RADIAL.x, y, "%03.0f", radial);
  else cdu_large(p, RADIAL.x, y, "---");
  if (dist != 0) cdu_largef(p, DISTANCE.x, y, "%.1f", dist);
  else cdu_large(p, DISTANCE.x, y, "---");
  if (!(ground_speed > 75.0 && radial > 0 && dist > 0)) return;
  double lat = 0, lon = 0, dtg = 0, course = 0;
  compute_dest_point(f.lat, f.lon, radial + magvar, dist, lat, lon);
  compute_gc_distance_course(lat, lon, present_lat, present_lon, dtg, course);
  int32_t h = 0, m = 0;
  eta_clock(zulu_hour, zulu_minute, 0, dtg / ground_speed * 60.0, h, m);
  cdu_largef(p, ETA.x, y, "%02d%02dZ", int(h), int(m));
  cdu_large_fit(p, TO_GO.x, y, cdu_format("%3.1f", dtg));
}

}  // namespace

void smiths_fms_fix_info_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  if (smiths_prev_page_key || smiths_next_page_key) smiths_fix_page_no = smiths_fix_page_no == 1 ? 2 : 1;
  FixInfoRecord& f = shown_record();
  handle_key(f);
  cdu_large(p, 63, 0, "FIX INFO");
  cdu_smallf(p, 230, 0, "%d / %d", int(smiths_fix_page_no), 2);
  cdu_small(p, 12, 22, "F I X         R A D / D I S   F R");
  for (const Column& c : {RADIAL, DISTANCE, ETA, TO_GO, ALTITUDE}) cdu_small(p, c.x, 55, c.label);
  if (f.ident[0] == '\0') {
    cdu_five_boxes(p, 5, 10, 38);
  } else {
    cdu_largef(p, 5, 33, "%.*s", int(sizeof f.ident), f.ident);
    double r = 0, dist = 0;
    fix_info_radial_to_aircraft(f, r, dist);
    cdu_largef(p, 70, 33, "%03.0f/%5.1f", r, dist);
    for (int k = 0; k < 3; ++k) draw_pair(p, f, k);
  }
  cdu_bottom_line(p);
  cdu_page_end(p);
}
