// The fix selected on REF NAV DATA: a database record picked by ident, directly or on
// SELECT WAYPOINT.
#pragma once

#include <cstdint>
#include <string>

#include "navdb/navdb.h"

extern int32_t smiths_refnav_mode;  // 1 blank form, 2 waypoint, 3 navaid, 4 airport shown
extern std::string refnav_ident;
extern double refnav_lat, refnav_lon;
extern std::string refnav_type;   // "I", "V", "N", "APT" ...
extern std::string refnav_freq;
extern std::string refnav_extra;
extern std::string refnav_runway;  // refnav_runway_data: navdb (lookup_vek_airport)

// Candidate `index` of nav_search_list becomes the selected fix; the form follows its
// type ("I" waypoint, "N" or "V" navaid, "APT" airport with the runway fields emptied;
// other types leave the form). An index outside the candidates selects nothing.
void refnav_select_record(int index);
