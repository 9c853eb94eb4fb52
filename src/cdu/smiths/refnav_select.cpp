#include "cdu/smiths/refnav_select.h"

#include <cstring>

#include "navdb/navdb.h"

int32_t smiths_refnav_mode = 1;
std::string refnav_ident;
double refnav_lat = 0.0, refnav_lon = 0.0;
std::string refnav_type, refnav_freq, refnav_extra;
std::string refnav_runway;

namespace {
std::string text_of(const char* field, std::size_t size) { return std::string(field, strnlen(field, size)); }
}  // namespace

void refnav_select_record(int index) {
  if (index < 1 || index > fix_match_count || index >= nav_search_slots) return;
  const NavRecord& r = nav_search_list[index];
  refnav_ident = text_of(r.ident, sizeof r.ident);
  refnav_lat = r.lat;
  refnav_lon = r.lon;
  refnav_type = text_of(r.type, sizeof r.type);
  refnav_freq = text_of(r.freq, sizeof r.freq);
  refnav_extra = text_of(r.extra, sizeof r.extra);
  if (refnav_type == "I") {
    smiths_refnav_mode = 2;
  } else if (refnav_type == "N" || refnav_type == "V") {
    smiths_refnav_mode = 3;
  } else if (refnav_type == "APT") {
    smiths_refnav_mode = 4;
    refnav_runway.clear();
    refnav_runway_data.clear();
  }
}
