// Imports of the simulator's GPS route and ".PLN" flight plans.
#include "flightplan/fpl_import.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string_view>
#include <vector>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/route_entry.h"
#include "flightplan/plan_files.h"
#include "module/host_services.h"
#include "module/module_files.h"
#include "platform/host/gps_route_data.h"
#include "module/module_messages.h"
#include "navdb/navdb.h"

static constexpr std::size_t kMaxPlnBytes = 1 << 20;

// A record for a point: airports of the database at that place become "APT".
static void point_record(FlightPlanWpt& r, const char* ident, double lat, double lon, const char* type) {
  clear_fpl_record(r);
  fpl_set_text(r.ident, ident);
  r.lat = lat;
  r.lon = lon;
  fpl_set_text(r.type, type);
  int apt = find_airport(ident);
  if (apt > 0 && apt < nav_airport_slots) {
    const NavRecord& a = nav_airports[apt];
    if (std::fabs(a.lat - lat) < 0.1 && std::fabs(a.lon - lon) < 0.1) {
      fpl_set_text(r.type, "APT");
      if (a.extra[0]) r.alt_constraint = std::atof(a.extra);
    }
  }
}

static bool position_ok(double lat, double lon) {
  return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0;
}

void import_sim_gps_route(int mode) {
  uint32_t size = 0;
  const void* block = host_get_shared_data(GPS_SHARED_DATA_NAME, &size);
  const std::size_t header = offsetof(GpsRouteData, points);
  if (!block || size < header) {
    fpl_message = "NO ACTIVE GPS RTE";
    return;
  }
  const GpsRouteData* data = static_cast<const GpsRouteData*>(block);
  int count = data->count;
  std::size_t room = (size - header) / sizeof(GpsRoutePoint);
  if (count < 2 || count > GPS_ROUTE_CAPACITY || (std::size_t)count > room) {
    fpl_message = "NO ACTIVE GPS RTE";
    return;
  }
  FlightPlanWpt recs[FPL_CAPACITY];
  int n = 0;
  for (int i = 0; i < count && n <= FPL_MAX_LAST; ++i) {
    const GpsRoutePoint& p = data->points[i];
    if (!position_ok(p.lat, p.lon)) continue;
    char ident[sizeof p.ident + 1];
    std::memcpy(ident, p.ident, sizeof p.ident);
    ident[sizeof p.ident] = '\0';
    point_record(recs[n++], ident[0] ? ident : "WPT", p.lat, p.lon, "WPT");
  }
  if (n < 2) {
    fpl_message = "NO ACTIVE GPS RTE";
    return;
  }
  clear_fpl_edit();
  for (int i = 0; i < n; ++i) fpl_edit[i] = recs[i];
  fpl_edit_last = n - 1;
  set_end_record(fpl_edit[n]);
  for (int h = 1; h <= hold_count; ++h) hold_list[h].edit_wpt = 0;
  sync_hold_numbers();
  fpl_changed_step();
  activate_route();
  fpl_take_plan_airports(false);
  if (mode != 7) fpl_message = "ACTIVE DAVUDUVUV RTE LOADED";
}

// ---------------------------------------------------------------------------------------
// ".PLN" readers.

static std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace((unsigned char)s.front())) s.remove_prefix(1);
  while (!s.empty() && std::isspace((unsigned char)s.back())) s.remove_suffix(1);
  return s;
}

// "N47* 26.94'" or "N47° 26' 56.40\"": hemisphere letter, degrees, minutes, [seconds].
static bool parse_angle(std::string_view s, char pos, char neg, double limit, double& out) {
  s = trim(s);
  if (s.empty()) return false;
  char h = (char)std::toupper((unsigned char)s[0]);
  if (h != pos && h != neg) return false;
  s.remove_prefix(1);
  s = trim(s);
  // The degrees come right after the letter; between the numbers stand only marks
  // (degree sign, "*", "'", '"', blanks), never a letter or a sign.
  if (s.empty() || !std::isdigit((unsigned char)s[0])) return false;
  double parts[3] = {0, 0, 0};
  int n = 0;
  std::size_t i = 0;
  while (i < s.size() && n < 4) {
    while (i < s.size() && !std::isdigit((unsigned char)s[i]) && s[i] != '.') {
      if (s[i] == '-' || s[i] == '+' || std::isalpha((unsigned char)s[i])) return false;
      ++i;
    }
    if (i >= s.size()) break;
    std::size_t j = i;
    while (j < s.size() && (std::isdigit((unsigned char)s[j]) || s[j] == '.')) ++j;
    if (n >= 3 || j - i > 20) return false;
    std::string num(s.substr(i, j - i));
    char* end = nullptr;
    parts[n] = std::strtod(num.c_str(), &end);
    if (!end || *end != '\0') return false;
    ++n;
    i = j;
  }
  if (n < 1 || parts[1] >= 60.0 || parts[2] >= 60.0) return false;
  double v = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
  if (!std::isfinite(v) || v > limit) return false;
  out = h == neg ? -v : v;
  return true;
}

static bool parse_alt(std::string_view s, double& out) {
  std::string t(trim(s));
  if (t.empty() || t.size() > 30) return false;
  char* end = nullptr;
  out = std::strtod(t.c_str(), &end);
  return end && *end == '\0' && std::isfinite(out);
}

static const char* type_from_letter(char c) {
  switch (std::toupper((unsigned char)c)) {
    case 'A': return "APT";
    case 'V': return "VOR";
    case 'N': return "NDB";
    case 'I': return "INT";
    case 'U': return "WPT";
    default: return nullptr;
  }
}

// The highest altitude a page shows: FL999.
static constexpr double kMaxPlanAltitude = 99900.0;

// An ident the module gives a meaning of its own (a route break, the end record), or one a
// saved plan would not give back ("_" is how a plan file writes a blank), refuses the plan.
static bool usable_ident(std::string_view ident) {
  if (ident.empty()) return false;
  for (const char* marker : {FPL_END_IDENT, FPL_DISCO_IDENT, FPL_THEN_IDENT, "DIRECT", "HOLD PPOS", "-"}) {
    std::string_view m(marker);
    if (ident.size() == m.size() && std::equal(ident.begin(), ident.end(), m.begin(), [](char a, char b) {
          return std::toupper((unsigned char)a) == std::toupper((unsigned char)b);
        }))
      return false;
  }
  return std::none_of(ident.begin(), ident.end(),
                      [](char c) { return (unsigned char)c < 0x20 || c == 0x7F || c == '_'; });
}

static bool has_control_character(std::string_view line) {
  return std::any_of(line.begin(), line.end(), [](char c) { return ((unsigned char)c < 0x20 && c != '\t') || c == 0x7F; });
}

// False when the waypoint cannot be taken whole: an ident of the module's own, an altitude
// that does not read or that no page shows.
static bool waypoint_record(FlightPlanWpt& r, std::string_view ident, const char* type, double lat, double lon,
                            double alt) {
  if (!usable_ident(ident) || !(alt <= kMaxPlanAltitude)) return false;
  clear_fpl_record(r);
  fpl_set_text(r.ident, ident);
  fpl_set_text(r.type, type);
  r.lat = lat;
  r.lon = lon;
  if (alt > 0.0) r.alt_constraint = std::round(alt);
  return true;
}

// One "waypoint.N=" value: [leading fields,] ident, type letter, lat, lon, alt.
static bool parse_ini_waypoint(std::string_view value, FlightPlanWpt& r) {
  std::vector<std::string_view> f;
  std::size_t start = 0;
  while (f.size() < 16) {
    std::size_t comma = value.find(',', start);
    f.push_back(trim(value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  for (std::size_t t = 1; t + 2 < f.size(); ++t) {
    if (f[t].size() != 1 || !type_from_letter(f[t][0])) continue;
    double lat, lon, alt = 0.0;
    if (!parse_angle(f[t + 1], 'N', 'S', 90.0, lat) || !parse_angle(f[t + 2], 'E', 'W', 180.0, lon)) continue;
    std::string_view ident;
    for (std::size_t k = t; k-- > 0;)
      if (!f[k].empty()) {
        ident = f[k];
        break;
      }
    if (t + 3 < f.size() && !f[t + 3].empty() && !parse_alt(f[t + 3], alt)) return false;
    return waypoint_record(r, ident, type_from_letter(f[t][0]), lat, lon, alt);
  }
  return false;
}

// The INI form. A waypoint line that does not read whole (position, type, ident, altitude),
// a repeated waypoint number, a line of the plan longer than 400 characters or holding a
// control character, a last line without its line end that stops inside a number, or a last
// waypoint that is not the destination the file names (a file cut at a line end) refuses
// the file at that line.
static int parse_ini(const char* data, std::size_t size, int& refused_line) {
  std::map<long, FlightPlanWpt> points;
  bool in_plan = false;
  std::string destination;
  int line_no = 0;
  std::size_t pos = byte_order_mark_size(data, size);
  std::string_view raw;
  bool ended = true;
  while (next_text_line(data, size, pos, raw, ended)) {
    ++line_no;
    std::string_view line = trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      std::string s(line);
      for (char& c : s) c = (char)std::tolower((unsigned char)c);
      in_plan = s == "[flightplan]";
      continue;
    }
    if (!in_plan) continue;
    // A last line without its line end is taken unless it stops inside a number, which may
    // have been cut ("35.8" of "35.85'"); a file cut at a line end fails the destination check.
    const bool cut = !ended && (std::isdigit((unsigned char)line.back()) || line.back() == '.');
    if (line.size() > 400 || has_control_character(line) || cut) return refused_line = line_no, -1;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string key(trim(line.substr(0, eq)));
    for (char& c : key) c = (char)std::tolower((unsigned char)c);
    std::string_view value = line.substr(eq + 1);
    if (key == "destination_id") {
      destination = trim(value.substr(0, value.find(',')));
      continue;
    }
    if (key.rfind("waypoint.", 0) != 0) continue;
    bool digits = key.size() > 9 && key.size() <= 15 &&
                  std::all_of(key.begin() + 9, key.end(), [](char c) { return std::isdigit((unsigned char)c); });
    FlightPlanWpt r;
    if (!digits || !parse_ini_waypoint(value, r)) return refused_line = line_no, -1;
    if (!points.emplace(std::strtol(key.c_str() + 9, nullptr, 10), r).second) return refused_line = line_no, -1;
    if (points.size() > (std::size_t)FPL_MAX_LAST + 1) return refused_line = line_no, -1;
  }
  // Idents match without regard to case, as the navigation and settings files do.
  auto same_ident = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::toupper((unsigned char)x) == std::toupper((unsigned char)y);
           });
  };
  if (!destination.empty() && !points.empty() &&
      !same_ident(points.rbegin()->second.ident, std::string_view(destination).substr(0, 15)))
    return refused_line = line_no, -1;
  for (const auto& [n, r] : points) {
    fpl_scan[++fpl_scan_last] = r;
  }
  set_end_record(fpl_scan[fpl_scan_last + 1]);
  return fpl_scan_last + 1;
}

static const char* xml_type(const char* t) {
  if (!t) return "WPT";
  std::string s(t);
  for (char& c : s) c = (char)std::tolower((unsigned char)c);
  if (s == "airport") return "APT";
  if (s == "vor") return "VOR";
  if (s == "ndb") return "NDB";
  if (s == "intersection") return "INT";
  return "WPT";
}

// The XML form: a waypoint without a position that reads, without a usable ident, or with
// an altitude that does not read refuses the file at its line, as does a document that
// does not parse.
static int parse_xml(const char* data, std::size_t size, int& refused_line) {
  tinyxml2::XMLDocument doc;
  if (doc.Parse(data, size) != tinyxml2::XML_SUCCESS) return refused_line = doc.ErrorLineNum(), -1;
  tinyxml2::XMLElement* root = doc.RootElement();
  if (!root) return refused_line = 1, -1;
  for (tinyxml2::XMLElement* plan = root->FirstChildElement("FlightPlan.FlightPlan"); plan;
       plan = plan->NextSiblingElement("FlightPlan.FlightPlan")) {
    for (tinyxml2::XMLElement* w = plan->FirstChildElement("ATCWaypoint"); w;
         w = w->NextSiblingElement("ATCWaypoint")) {
      refused_line = w->GetLineNum();
      tinyxml2::XMLElement* posn = w->FirstChildElement("WorldPosition");
      if (!posn || !posn->GetText()) return -1;
      std::string_view text = posn->GetText();
      std::size_t c1 = text.find(',');
      if (c1 == std::string_view::npos) return -1;
      std::size_t c2 = text.find(',', c1 + 1);
      double lat, lon, alt = 0.0;
      if (!parse_angle(text.substr(0, c1), 'N', 'S', 90.0, lat)) return -1;
      if (!parse_angle(text.substr(c1 + 1, c2 == std::string_view::npos ? std::string_view::npos : c2 - c1 - 1), 'E',
                       'W', 180.0, lon))
        return -1;
      if (c2 != std::string_view::npos && !parse_alt(text.substr(c2 + 1), alt)) return -1;
      const char* ident = nullptr;
      if (tinyxml2::XMLElement* icao = w->FirstChildElement("ICAO"))
        if (tinyxml2::XMLElement* id = icao->FirstChildElement("ICAOIdent")) ident = id->GetText();
      if (!ident || !*ident) ident = w->Attribute("id");
      if (!ident || fpl_scan_last >= FPL_MAX_LAST) return -1;
      const char* type = nullptr;
      if (tinyxml2::XMLElement* t = w->FirstChildElement("ATCWaypointType")) type = t->GetText();
      if (!waypoint_record(fpl_scan[fpl_scan_last + 1], trim(ident), xml_type(type), lat, lon, alt)) return -1;
      ++fpl_scan_last;
      set_end_record(fpl_scan[fpl_scan_last + 1]);
    }
  }
  refused_line = 0;
  return fpl_scan_last + 1;
}

int parse_pln_text(const char* data, std::size_t size, int* refused_line) {
  clear_fpl_scan();
  int line = 0;
  int n = -1;
  if (data && size <= kMaxPlnBytes) {
    std::size_t i = byte_order_mark_size(data, size);
    while (i < size && std::isspace((unsigned char)data[i])) ++i;
    n = (i < size && data[i] == '<') ? parse_xml(data, size, line) : parse_ini(data, size, line);
  }
  if (n < 0) clear_fpl_scan();
  if (refused_line) *refused_line = n < 0 ? line : 0;
  return n;
}

int read_pln_file(const std::string& path, int* refused_line) {
  std::string text;
  int line = -1;
  int n = read_regular_file(path, kMaxPlnBytes, text) ? parse_pln_text(text.data(), text.size(), &line) : -1;
  if (n < 1) clear_fpl_scan();
  if (refused_line) *refused_line = n < 1 ? line : 0;
  return n >= 1 ? 1 : 0;
}

int import_pln_file(const std::string& path) {
  int line = 0;
  if (!read_pln_file(path, &line)) {
    fpl_message = "Unable to load FP";
    post_plan_refusal(path, line);
    return 0;
  }
  scanned_plan_to_edit();
  clear_fpl_scan();
  fpl_step_on_edit();
  return 1;
}

// ---------------------------------------------------------------------------------------
// What a listing shows of a ".PLN": its origin and destination from its first and last bytes.

// The "<ATCWaypoint" start tag at or after `from` (before `from` when `backwards`); npos when none.
static std::size_t find_waypoint_tag(std::string_view text, std::size_t from, bool backwards) {
  constexpr std::string_view tag = "<ATCWaypoint";
  for (std::size_t at = backwards ? text.rfind(tag, from) : text.find(tag, from); at != std::string_view::npos;
       at = backwards ? (at == 0 ? std::string_view::npos : text.rfind(tag, at - 1)) : text.find(tag, at + 1)) {
    std::size_t next = at + tag.size();
    if (next < text.size() && (text[next] == '>' || std::isspace((unsigned char)text[next]))) return at;
  }
  return std::string_view::npos;
}

// The ident of the waypoint element at `at`: its "ICAO/ICAOIdent", else its "id".
static std::string xml_waypoint_ident(std::string_view text, std::size_t at) {
  std::string_view element = text.substr(at, text.find("</ATCWaypoint>", at) - at);
  std::size_t icao = element.find("<ICAOIdent>");
  if (icao != std::string_view::npos) {
    std::string_view rest = element.substr(icao + 11);
    return std::string(trim(rest.substr(0, rest.find('<'))));
  }
  std::string_view start = element.substr(0, element.find('>'));
  std::size_t id = start.find("id=\"");
  if (id == std::string_view::npos) return "";
  std::string_view rest = start.substr(id + 4);
  return std::string(trim(rest.substr(0, rest.find('"'))));
}

// The INI waypoint lines of `text` (the first line skipped when `partial`): the ident of the
// lowest and of the highest waypoint number.
static void ini_waypoint_ends(std::string_view text, bool partial, std::string& lowest, std::string& highest) {
  long low = 0, high = 0;
  bool any = false;
  std::size_t pos = 0;
  std::string_view raw;
  bool ended = true;
  for (bool first = true; next_text_line(text.data(), text.size(), pos, raw, ended); first = false) {
    std::string_view line = trim(raw);
    if ((first && partial) || line.size() < 10) continue;
    std::string key(line.substr(0, 9));
    for (char& c : key) c = (char)std::tolower((unsigned char)c);
    std::size_t eq = line.find('=');
    FlightPlanWpt r;
    if (key != "waypoint." || eq == std::string_view::npos || !parse_ini_waypoint(line.substr(eq + 1), r)) continue;
    long n = std::strtol(std::string(line.substr(9, eq - 9)).c_str(), nullptr, 10);
    if (!any || n < low) low = n, lowest = r.ident;
    if (!any || n > high) high = n, highest = r.ident;
    any = true;
  }
}

void pln_summary(std::string_view head, std::string_view tail, std::string& first, std::string& last) {
  first.clear();
  last.clear();
  head.remove_prefix(byte_order_mark_size(head.data(), head.size()));
  std::size_t i = 0;
  while (i < head.size() && std::isspace((unsigned char)head[i])) ++i;
  const bool whole = tail.empty();
  if (whole) tail = head;
  if (i < head.size() && head[i] == '<') {
    std::size_t at = find_waypoint_tag(head, 0, false);
    if (at != std::string_view::npos) first = xml_waypoint_ident(head, at);
    at = find_waypoint_tag(tail, std::string_view::npos, true);
    if (at != std::string_view::npos) last = xml_waypoint_ident(tail, at);
    return;
  }
  std::string low, high, ignored;
  ini_waypoint_ends(head, false, low, high);
  first = low;
  if (whole) {
    last = high;
    return;
  }
  ini_waypoint_ends(tail, true, ignored, last);
}
