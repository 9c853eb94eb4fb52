#include "host/nav_stations.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "module/module_files.h"

namespace simhost {

namespace {

namespace fs = std::filesystem;

constexpr double VOR_RANGE_NM = 200.0;
constexpr double NDB_RANGE_NM = 75.0;
constexpr double LOC_RANGE_NM = 30.0;

bool same_ci(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// base/parts..., each name matched without regard to case; empty when missing.
std::string find_ci(const std::string& base, const std::vector<std::string>& parts) {
  fs::path p = base;
  std::error_code ec;
  for (const std::string& part : parts) {
    fs::path next;
    for (fs::directory_iterator it(p, ec), end; !ec && it != end; it.increment(ec))
      if (same_ci(it->path().filename().string(), part)) {
        next = it->path();
        break;
      }
    if (next.empty()) return {};
    p = next;
  }
  return p.string();
}

bool number(const std::string& t, double* out) {
  if (t.empty()) return false;
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

bool position(const std::string& lat_t, const std::string& lon_t, double* lat, double* lon) {
  return number(lat_t, lat) && number(lon_t, lon) && *lat >= -90 && *lat <= 90 && *lon >= -180 && *lon <= 180;
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string s; in >> s;) w.push_back(s);
  return w;
}

bool comment_or_blank(const std::string& line) {
  for (char c : line) {
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    return c == ';';
  }
  return true;
}

// The module's reader: only a regular file within the navigation-data bound is read, so a
// FIFO or a device in the folder never hangs the start. A byte-order mark is dropped.
std::string read_nav_text(const std::string& path) {
  std::string text;
  read_regular_file(path, nav_file_max_bytes, text);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  return text;
}

// The next line of `text` from `pos`, as the module reads them: ended by LF, CR LF or a
// lone CR. False at the end.
bool next_line(const std::string& text, size_t& pos, std::string& line) {
  if (pos >= text.size()) return false;
  size_t end = text.find_first_of("\r\n", pos);
  if (end == std::string::npos) end = text.size();
  line.assign(text, pos, end - pos);
  pos = end;
  if (pos < text.size() && text[pos] == '\r') {
    ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  } else if (pos < text.size()) {
    ++pos;  // '\n'
  }
  return true;
}

void add_station(std::vector<NavStationEntry>* out, const NavStationEntry& e) {
  if (out->size() < nav_station_limit) out->push_back(e);
}

void read_navs(const std::string& path, std::vector<NavStationEntry>* out) {
  const std::string text = read_nav_text(path);
  size_t pos = 0;
  for (std::string line; next_line(text, pos, line);) {
    if (comment_or_blank(line)) continue;
    std::vector<std::string> w = words(line);
    if (w.size() < 5 || (w[1] != "V" && w[1] != "N")) continue;
    NavStationEntry e;
    e.station.ident = w[0];
    if (!position(w[2], w[3], &e.station.lat, &e.station.lon) || !number(w[4], &e.frequency)) continue;
    if (w[1] == "V") {
      if (e.frequency < 108.0 || e.frequency > 118.0) continue;
      e.kind = RadioKind::Nav;
      e.station.range_nm = VOR_RANGE_NM;
    } else {
      if (e.frequency < 100.0 || e.frequency > 1799.0) continue;
      e.kind = RadioKind::Adf;
      e.station.range_nm = NDB_RANGE_NM;
    }
    add_station(out, e);
  }
}

void read_localizers(const std::string& path, std::vector<NavStationEntry>* out) {
  const std::string text = read_nav_text(path);
  size_t pos = 0;
  std::string airport;
  double elevation = 0.0;
  for (std::string line; next_line(text, pos, line);) {
    if (comment_or_blank(line)) continue;
    std::vector<std::string> w = words(line);
    if (w.empty()) continue;
    if (w[0] == "A") {
      double lat, lon;
      airport.clear();
      if (w.size() >= 5 && position(w[2], w[3], &lat, &lon)) {
        airport = w[1];
        if (!number(w[4], &elevation)) elevation = 0.0;
      }
      continue;
    }
    // R ident length lat lon heading frequency approach heading2
    if (w[0] != "R" || airport.empty() || w.size() < 9 || w[6] == "-") continue;
    NavStationEntry e;
    double course = 0.0;
    if (!position(w[3], w[4], &e.station.lat, &e.station.lon) || !number(w[6].substr(0, 6), &e.frequency) ||
        !number(w[8], &course) || e.frequency < 108.0 || e.frequency > 112.0)
      continue;
    e.kind = RadioKind::Nav;
    std::string ident(1, 'I');  // "I" and the last three letters of the airport
    ident.append(airport, airport.size() > 3 ? airport.size() - 3 : 0, std::string::npos);
    e.station.ident = std::move(ident);
    e.station.localizer = true;
    e.station.glideslope = w[7] == "ILS";
    e.station.course_deg = course;
    e.station.elevation_ft = elevation;
    e.station.range_nm = LOC_RANGE_NM;
    add_station(out, e);
  }
}

}  // namespace

int load_nav_stations(const std::string& sim_folder, std::vector<NavStationEntry>* out) {
  size_t before = out->size();
  for (const char* name : {"navs.txt", "navs_user.txt"}) {
    std::string p = find_ci(sim_folder, {"vek", "navdata", name});
    if (!p.empty()) read_navs(p, out);
  }
  for (const char* name : {"apts.txt", "apts_user.txt"}) {
    std::string p = find_ci(sim_folder, {"vek", "navdata", name});
    if (!p.empty()) read_localizers(p, out);
  }
  return static_cast<int>(out->size() - before);
}

namespace {

// Stations in order of kind, frequency step and latitude: a lookup visits only the stations
// on its frequency within reach of its latitude, not every station of the world each frame.
double tolerance_of(RadioKind kind) { return kind == RadioKind::Nav ? 0.005 : 0.5; }

int64_t frequency_step(RadioKind kind, double frequency) {
  return static_cast<int64_t>(std::floor(frequency / (2.0 * tolerance_of(kind))));
}

struct StationOrder {
  int kind;
  int64_t step;
  double lat;
  bool operator<(const StationOrder& o) const {
    return kind != o.kind ? kind < o.kind : step != o.step ? step < o.step : lat < o.lat;
  }
};

StationOrder order_of(const NavStationEntry& e) {
  return {static_cast<int>(e.kind), frequency_step(e.kind, e.frequency), e.station.lat};
}

}  // namespace

StationResolver make_station_resolver(std::vector<NavStationEntry> stations) {
  std::sort(stations.begin(), stations.end(),
            [](const NavStationEntry& a, const NavStationEntry& b) { return order_of(a) < order_of(b); });
  return [stations = std::move(stations)](RadioKind kind, double frequency, double lat, double lon,
                                          RadioStation* out) {
    if (!std::isfinite(frequency) || !std::isfinite(lat) || !std::isfinite(lon) || std::fabs(frequency) > 1e6)
      return false;
    const double tolerance = tolerance_of(kind);
    // No station reaches farther than this many degrees of latitude.
    const double reach_deg = std::max({VOR_RANGE_NM, NDB_RANGE_NM, LOC_RANGE_NM}) / 60.0 + 0.01;
    const RadioStation* best = nullptr;
    double best_dist = 0.0;
    const int64_t step = frequency_step(kind, frequency);
    for (int64_t s = step - 1; s <= step + 1; ++s) {
      const StationOrder from{static_cast<int>(kind), s, lat - reach_deg};
      auto first = std::lower_bound(stations.begin(), stations.end(), from,
                                    [](const NavStationEntry& e, const StationOrder& o) { return order_of(e) < o; });
      for (auto it = first; it != stations.end(); ++it) {
        const NavStationEntry& e = *it;
        StationOrder o = order_of(e);
        if (o.kind != static_cast<int>(kind) || o.step != s || o.lat > lat + reach_deg) break;
        if (std::fabs(e.frequency - frequency) > tolerance) continue;
        // Haversine distance in nautical miles.
        const double r = M_PI / 180.0;
        double dlat = (e.station.lat - lat) * r, dlon = (e.station.lon - lon) * r;
        double a = std::sin(dlat / 2) * std::sin(dlat / 2) +
                   std::cos(lat * r) * std::cos(e.station.lat * r) * std::sin(dlon / 2) * std::sin(dlon / 2);
        double d =
            2.0 * std::atan2(std::sqrt(std::min(a, 1.0)), std::sqrt(std::max(0.0, 1.0 - a))) * EARTH_RADIUS_NM;
        if (d > e.station.range_nm) continue;
        if (!best || d < best_dist) {
          best = &e.station;
          best_dist = d;
        }
      }
    }
    if (!best) return false;
    *out = *best;
    return true;
  };
}

}  // namespace simhost
