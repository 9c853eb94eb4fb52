// REF NAV DATA page: an ident looked up in the navigation database and shown as a
// waypoint, a navaid or an airport (with a runway of the airport list).
#include <cstring>

#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/refnav_select.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

namespace {

// Looks the scratchpad up in the table of `kind`; one match of an accepted type is
// selected, several go to SELECT WAYPOINT, which returns here.
void lookup(int kind, const char* type_a, const char* type_b = nullptr) {
  if (smiths_scratchpad.empty()) return;
  route_entry_text = smiths_scratchpad;
  const int n = create_user_waypoint(kind);
  if (n < 1) {
    smiths_scratchpad_msg = "NOT IN DATABASE";
    return;
  }
  smiths_scratchpad.clear();
  if (n > 1) {
    select_wpt_return_page = SMITHS_PAGE_REF_NAV_DATA;
    select_wpt_row = 0;
    smiths_select_page_no = 1;
    smiths_page = SMITHS_PAGE_SELECT_WPT;
    return;
  }
  const char* type = nav_search_list[1].type;
  if (std::strcmp(type, type_a) == 0 || (type_b && std::strcmp(type, type_b) == 0)) refnav_select_record(1);
  else smiths_scratchpad_msg = "NOT IN DATABASE";
}

// A runway of the selected airport from the airport list.
void lookup_runway() {
  if (smiths_scratchpad.empty()) return;
  if (!lookup_vek_airport(refnav_ident, smiths_scratchpad)) {
    smiths_scratchpad_msg = "NOT FOUND IN DATABASE";
    return;
  }
  refnav_runway = smiths_scratchpad;
  smiths_scratchpad.clear();
}

void to_index() {
  if (smiths_refnav_mode != 1) smiths_refnav_mode = 1;
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
}

void refnav_key() {
  const int mode = smiths_refnav_mode, key = smiths_pending_lsk;
  if (key == LSK_L6) return to_index();
  if (key == 1 && (mode == 1 || mode == 2)) lookup(2, "I");
  else if (key == 2 && (mode == 1 || mode == 4)) lookup(3, "APT");
  else if (key == 6 && (mode == 1 || mode == 3)) lookup(1, "V", "N");
  else if (key == 1 && mode == 4) lookup_runway();
  else if (key == LSK_R6 && mode == 1) {
    smiths_page = SMITHS_PAGE_NAV_STATUS;
    smiths_navstat_page_no = 2;
  }
}

// The selected fix's own position.
void draw_position(const CduPage& p) {
  std::string lat, lon;
  cdu_position_texts(refnav_lat, refnav_lon, lat, lon);
  cdu_small(p, 12, 88, "L A T I T U D E");
  cdu_large(p, 0, 99, lat);
  cdu_small(p, 150, 88, "L O N G I T U D E");
  cdu_large(p, 145, 99, lon);
}

void draw_blank(const CduPage& p) {
  cdu_small(p, 12, 22, "W P T    I D E N T        N A V A I D    I D E N T");
  cdu_large(p, 0, 33, "- - - - -");
  cdu_small(p, 12, 60, "A I R P O R T    I D E N T");
  cdu_large(p, 0, 71, "- - - - -");
  cdu_large(p, 120, 198, "NAV    OPTIONS>");
}

void draw_waypoint(const CduPage& p) {
  cdu_small(p, 12, 22, "W P T    I D E N T");
  cdu_large(p, 0, 33, refnav_ident);
  draw_position(p);
  cdu_small(p, 12, 122, "M A G    V A R");
  cdu_large(p, 0, 133, "- - -");
  double dist = 0, course = 0;
  compute_gc_distance_course(present_lat, present_lon, refnav_lat, refnav_lon, dist, course);
  cdu_small(p, 140, 155, "R A D I A L / D I S T");
  cdu_large_fit(p, 165, 166, cdu_format("%03.0f\xB0/%3.0f", magnetic_course(course), dist));
}

void draw_navaid(const CduPage& p) {
  cdu_small(p, 150, 22, "N A V A I D    I D E N T");
  cdu_large_fit(p, 220, 33, refnav_ident);
  draw_position(p);
  cdu_small(p, 12, 122, "F R E Q");
  cdu_largef(p, 0, 133, "%6s", refnav_freq.c_str());
  cdu_small(p, 12, 155, "M A G    V A R");
  cdu_large(p, 0, 166, "- - -");
}

void draw_airport(const CduPage& p) {
  cdu_small(p, 12, 22, "R U N W A Y");
  cdu_large(p, 0, 33, refnav_runway.empty() ? "- - -" : refnav_runway);
  cdu_small(p, 12, 55, "A I R P O R T    I D E N T");
  cdu_large(p, 0, 66, refnav_ident);
  draw_position(p);
  cdu_small(p, 12, 121, "E L E V A T I O N");
  cdu_largef(p, 0, 133, "%s FT", refnav_extra.c_str());
  if (!refnav_runway_data.empty()) {
    cdu_small(p, 150, 121, "L E N G T H");
    const int metres = int(cdu_leading_number(refnav_runway_data) * 0.3048);
    cdu_large_fit(p, 150, 133, cdu_format("%sFT %-5dM", refnav_runway_data.c_str(), metres));
  }
  cdu_small(p, 12, 155, "M A G    V A R");
  cdu_large(p, 0, 166, "- - -");
}

}  // namespace

void smiths_fms_ref_nav_data_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 63, 0, "REF  NAV  DATA");
  refnav_key();
  switch (smiths_refnav_mode) {
    case 2: draw_waypoint(p); break;
    case 3: draw_navaid(p); break;
    case 4: draw_airport(p); break;
    default: draw_blank(p); break;
  }
  cdu_large(p, 0, 184, "- - - - - - - - - - - - -");
  cdu_large(p, 0, 198, "< INDEX");
  cdu_bottom_line(p);
  cdu_page_end(p);
}
