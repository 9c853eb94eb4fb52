// NAV SENSORS - IRS (the four inertial units on the present position) and POSITION FIX
// (a reference fix with three radial/distance pairs in fix-info entry 1).
#include <cstring>

#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "cdu/smiths/field_readers.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

void c17_cdu_nav_sensors_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_MISSION_CANVAS);
  cdu_large(p, 80, 0, "NAV  SENSORS  -  IRS");
  if (c17_cdu_pending_lsk == 12) c17_cdu_page = C17_CDU_MSN_INDEX;
  std::string lat, lon;
  c17_cdu_position_texts(present_lat, present_lon, lat, lon);
  for (int n = 1; n <= 4; ++n) {
    const double y = 50.0 + 41.0 * (n - 1);
    cdu_largef(p, 10, y - 20, "IRU%d  FOM -", n);
    cdu_largef(p, 0, y, "[%s  %s]", lat.c_str(), lon.c_str());
  }
  cdu_large(p, 40, 214, "CGPS ALIGNED");
  cdu_large(p, 260, 255, "RETURN>");
  cdu_page_end(p);
}

namespace {

constexpr double PAIR_Y[3] = {124, 165, 206};

void set_fix(FixInfoRecord& f) {
  if (!fix_info_take_fix(f, c17_cdu_scratchpad)) {
    c17_cdu_scratchpad_msg = "NOT IN DATABASE";
    return;
  }
  c17_cdu_scratchpad.clear();
}

// "RRR/D.D" or "/D.D" (radial 0): one "/", the radial three digits 000..360, the
// distance 0.1 to 998.9 NM; a radial of 000 is stored as 360.
void enter_pair(FixInfoRecord& f, int k) {
  const std::string& s = c17_cdu_scratchpad;
  if (s.empty()) return;
  std::string radial_word, dist_word;
  int32_t radial = 0;
  double dist = 0;
  if (s.size() > 12 || !split_at_slash(s, radial_word, dist_word) ||
      (!radial_word.empty() && !read_radial_deg(radial_word, radial)) || !read_tenths(dist_word, 0.1, 998.9, dist)) {
    c17_cdu_scratchpad_msg = "INVALID ENTRY";
    return;
  }
  f.radial[k] = !radial_word.empty() && radial == 0 ? 360.0 : radial;
  f.dist[k] = dist;
  c17_cdu_scratchpad.clear();
}

void fix_key() {
  FixInfoRecord& f = fix_info[1];
  const int32_t k = c17_cdu_pending_lsk;
  const bool clr = c17_cdu_scratchpad_msg == "CLR";
  if (k == 1) {
    c17_cdu_page = C17_CDU_MSN_INIT;
  } else if (k == 7) {
    if (c17_cdu_plan_count() > 0) c17_cdu_page = C17_CDU_STORED_PLANS;
  } else if (k == 2 && clr) {
    clear_fix_info(1);
    c17_cdu_scratchpad_msg.clear();
  } else if (k == 2 && !c17_cdu_scratchpad.empty()) {
    set_fix(f);
  } else if (k >= 3 && k <= 5 && f.ident[0] != '\0') {
    if (clr) {
      f.radial[k - 3] = 0;
      f.dist[k - 3] = 0;
      c17_cdu_scratchpad_msg.clear();
    } else {
      enter_pair(f, k - 3);
    }
  }
}

}  // namespace

void c17_cdu_position_fix_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_MISSION_CANVAS);
  cdu_large(p, 80, 0, "POSITION  FIX");
  fix_key();
  const FixInfoRecord& f = fix_info[1];
  const bool fixed = f.ident[0] != '\0';
  cdu_small(p, 10, 22, "FIX");
  cdu_small(p, 10, 63, "IDENT");
  cdu_largef(p, 10, 83, "%.*s", int(sizeof f.ident), fixed ? f.ident : "-----");
  cdu_small(p, 100, 63, "BRG / DIST");
  if (fixed) {
    double bearing = 0, dist = 0;
    fix_info_radial_to_aircraft(f, bearing, dist);
    cdu_largef(p, 100, 83, "%03.0f/%5.1f", bearing, dist);
  } else {
    cdu_large(p, 100, 83, "---/---");
  }
  cdu_small(p, 10, 104, "RAD / DIST");
  for (int k = 0; k < 3; ++k) {
    if (f.dist[k] == 0) cdu_large(p, 10, PAIR_Y[k], "---/---.-");
    else if (f.radial[k] == 0) cdu_largef(p, 10, PAIR_Y[k], "--- /%-3.1f", f.dist[k]);
    else cdu_largef(p, 10, PAIR_Y[k], "%03.0f /%-3.1f", f.radial[k], f.dist[k]);
  }
  cdu_small(p, 270, 186, "EXECUTE");
  cdu_large(p, 280, 206, "UPDATE*");
  c17_cdu_bottom_line(p, C17_CDU_MISSION_CANVAS);
  cdu_page_end(p);
}
