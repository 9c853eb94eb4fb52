// Plan records from navigation records, and user waypoints made from an entry
// (coordinates, or place/bearing/distance) as the single search candidate.
#include "flightplan/fpl_ops.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "geo/great_circle.h"
#include "module/load_state.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

static int user_wpt_counter = 0;

void fpl_record_from_nav(FlightPlanWpt& rec, const NavRecord& nav) {
  clear_fpl_record(rec);
  fpl_set_text(rec.ident, nav.ident);
  rec.lat = nav.lat;
  rec.lon = nav.lon;
  const char* t = "WPT";
  if (std::strcmp(nav.type, "APT") == 0) t = "APT";
  else if (std::strcmp(nav.type, "V") == 0) t = "VOR";
  else if (std::strcmp(nav.type, "N") == 0) t = "NDB";
  else if (std::strcmp(nav.type, "I") == 0) t = "INT";
  else if (std::strcmp(nav.type, "RWY") == 0) t = "RWY";
  fpl_set_text(rec.type, t);
  fpl_set_text(rec.navaid, nav.freq);
  if (std::strcmp(t, "APT") == 0 && nav.extra[0]) rec.alt_constraint = std::atof(nav.extra);
}

std::string next_user_waypoint_name(const std::string& place) {
  user_wpt_counter = user_wpt_counter % 99 + 1;
  char buf[16];
  std::string p = place.substr(0, 3);
  if (p.size() >= 3) std::snprintf(buf, sizeof buf, "%3s%02d", p.c_str(), user_wpt_counter);
  else std::snprintf(buf, sizeof buf, "%2s%02d", p.c_str(), user_wpt_counter);
  return buf;
}

static void set_single_candidate(const char* ident, double lat, double lon, const char* type) {
  NavRecord& r = nav_search_list[1];
  std::memset(&r, 0, sizeof r);
  nav_copy_text(r.ident, nav_ident_size, ident);
  nav_copy_text(r.type, nav_type_size, type);
  r.lat = lat;
  r.lon = lon;
  fix_match_count = 1;
  nav_search_count = 1;
}

// "N4730.5W12218.0": hemisphere, degrees (2 or 3 digits) and decimal minutes.
static bool parse_dm_coordinates(const std::string& s, double& lat, double& lon) {
  if (s.size() < 6) return false;
  char h1 = s[0];
  if (h1 != 'N' && h1 != 'S') return false;
  size_t p = s.find_first_of("EW", 1);
  if (p == std::string::npos) return false;
  auto part = [](const std::string& t, int deg_digits, double& out) {
    if ((int)t.size() < deg_digits + 2) return false;
    for (char c : t)
      if (!std::isdigit((unsigned char)c) && c != '.') return false;
    double deg = std::atof(t.substr(0, deg_digits).c_str());
    double min = std::atof(t.substr(deg_digits).c_str());
    if (min >= 60.0) return false;
    out = deg + min / 60.0;
    return true;
  };
  double a, b;
  if (!part(s.substr(1, p - 1), 2, a) || !part(s.substr(p + 1), 3, b)) return false;
  if (a > 90.0 || b > 180.0) return false;
  lat = h1 == 'S' ? -a : a;
  lon = s[p] == 'W' ? -b : b;
  return true;
}

static bool parse_number(const std::string& t, double& v) {
  if (t.empty() || t.size() > 20) return false;
  char* end = nullptr;
  v = std::strtod(t.c_str(), &end);
  return end && *end == '\0' && std::isfinite(v);
}

int create_user_waypoint(int kind, const std::string& entry_in) {
  std::string entry = entry_in;
  while (!entry.empty() && entry.back() == ' ') entry.pop_back();
  while (!entry.empty() && entry.front() == ' ') entry.erase(0, 1);
  fix_match_count = 0;
  nav_search_count = 0;
  if (entry.empty()) return 0;
  if (entry == "HOLD PPOS") {
    set_single_candidate("HOLD PPOS", present_lat, present_lon, "I");
    return 1;
  }
  double lat = 0.0, lon = 0.0;
  if (parse_dm_coordinates(entry, lat, lon)) {
    std::string name = next_user_waypoint_name(entry.substr(0, 1) + (lat >= 0 ? "N" : "S") + (lon >= 0 ? "E" : "W"));
    set_single_candidate(name.c_str(), lat, lon, "U");
    return 1;
  }
  size_t slash = entry.find('/');
  if (slash != std::string::npos) {
    std::string a = entry.substr(0, slash), b = entry.substr(slash + 1);
    // Decimal degrees "lat/lon".
    if (parse_number(a, lat) && parse_number(b, lon)) {
      if (std::fabs(lat) > 90.0 || std::fabs(lon) > 180.0) return 0;
      set_single_candidate(next_user_waypoint_name("WPT").c_str(), lat, lon, "U");
      return 1;
    }
    // Place/bearing/distance: PLACE + BBB "/" DDD.
    if (a.size() >= 4) {
      std::string brg_text = a.substr(a.size() - 3), place = a.substr(0, a.size() - 3);
      double brg = 0.0, dist = 0.0;
      bool digits = std::isdigit((unsigned char)brg_text[0]) && std::isdigit((unsigned char)brg_text[1]) &&
                    std::isdigit((unsigned char)brg_text[2]);
      if (!digits || !parse_number(b, dist) || dist <= 0.0 || dist > 999.0) return 0;
      brg = std::atof(brg_text.c_str());
      if (brg > 360.0) return 0;
      if (search_nav_ident(place, 0) < 1) {
        fix_match_count = 0;
        nav_search_count = 0;
        return 0;
      }
      NavRecord ref = nav_search_list[1];
      double dlat = 0.0, dlon = 0.0;
      compute_dest_point(ref.lat, ref.lon, std::fmod(brg + magvar + 360.0, 360.0), dist, dlat, dlon);
      set_single_candidate(next_user_waypoint_name(place).c_str(), dlat, dlon, "U");
      return 1;
    }
    return 0;
  }
  return search_nav_ident(entry, kind);
}

int create_user_waypoint(int kind) { return create_user_waypoint(kind, route_entry_text); }

int select_search_entry(int e) {
  if (e < 1 || e > fix_match_count || e >= nav_search_slots) return 0;
  nav_search_list[1] = nav_search_list[e];
  nav_search_count = 1;
  return 1;
}

void keep_user_waypoints_state(LoadState& state) { state.keep(user_wpt_counter); }
