#include "host/scenario.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "host/sim_host.h"
#include "host/track_log.h"
#include "platform/win/win_ipc.h"
#include "platform/win/win_keyboard.h"

namespace simhost {

namespace {

constexpr double MAX_RUN_SECONDS = 48.0 * 3600.0;
constexpr int64_t MAX_RUN_FRAMES = 10000000;

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Splits off the first blank-separated word of s.
std::string take_word(std::string& s) {
  s = trim(s);
  size_t end = 0;
  while (end < s.size() && !std::isspace(static_cast<unsigned char>(s[end]))) ++end;
  std::string w = s.substr(0, end);
  s = trim(s.substr(end));
  return w;
}

// Splits off a name: a quoted text (which may hold blanks) or the first word.
std::string take_name(std::string& s) {
  s = trim(s);
  if (s.empty() || s.front() != '"') return take_word(s);
  size_t close = s.find('"', 1);
  if (close == std::string::npos) return std::string();
  std::string name = s.substr(1, close - 1);
  s = trim(s.substr(close + 1));
  return name;
}

bool parse_double(const std::string& t, double* out) {
  if (t.empty()) return false;
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

bool parse_long(const std::string& t, int base, long long lo, long long hi, long long* out) {
  if (t.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(t.c_str(), &end, base);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  *out = v;
  return true;
}

// A file name written under the output folder: a plain name that stays in that folder.
bool safe_file_name(const std::string& name) {
  if (name.empty() || name[0] == '.' || name.size() > 200) return false;
  for (char c : name)
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) return false;
  return true;
}

struct SettingRange {
  const char* name;
  double lo, hi;
};

// Numeric settings and their accepted ranges.
const SettingRange SETTINGS[] = {
    {"lat", -90, 90},          {"lon", -180, 180},          {"altitude", -2000, 100000},
    {"heading", 0, 360},       {"ias", 0, 1000},            {"mach", 0, 5},
    {"vs", -10000, 10000},     {"fuel", 0, 1e6},            {"fuel_capacity", 0, 1e6},
    {"wind_dir", 0, 360},      {"wind_speed", 0, 500},      {"sim_rate", 0.25, 128},
    {"on_ground", 0, 1},       {"ap_master", 0, 1},         {"ap_heading", 0, 360},
    {"ap_altitude", -2000, 100000}, {"ap_vs", -10000, 10000}, {"ap_airspeed", 0, 999},
    {"ap_mach", 0, 5},         {"ap_heading_hold", 0, 1},   {"ap_altitude_hold", 0, 1},
    {"ap_airspeed_hold", 0, 1}, {"ap_mach_hold", 0, 1},     {"autothrottle", 0, 1},
    {"flight_director", 0, 1}, {"ground_elevation", -2000, 30000}, {"avionics", 0, 1},
    {"engines", 1, 4},         {"nav1", 108, 117.95},       {"nav2", 108, 117.95},
    {"adf", 100, 1799},        {"obs", 0, 360},             {"altimeter", 900, 1100},
    {"sea_level_pressure", 900, 1100}, {"paused", 0, 1},    {"frame_rate", 1, 1000},
    {"decision_height", 0, 5000}, {"flaps", 0, 40},        {"ap_nav_hold", 0, 1},
    {"ap_approach_hold", 0, 1},  {"yaw_damper", 0, 1},      {"gear", 0, 1},
    {"slats", 0, 100},
    {"leading_edge", 0, 40},   {"spoilers_armed", 0, 16384}, {"spoilers", 0, 16384},
    {"rudder", -30, 30},       {"elevator", -30, 30},       {"aileron", -30, 30},
    {"rudder_trim", -30, 30},  {"elevator_trim", -30, 30},  {"aileron_trim", -30, 30},
    {"reverse", 0, 1},         {"eng1_egt_offset", -300, 300}, {"eng2_egt_offset", -300, 300},
    {"eng3_egt_offset", -300, 300}, {"eng4_egt_offset", -300, 300},
    {"eng1_fuel", 0, 1},       {"eng2_fuel", 0, 1},         {"eng3_fuel", 0, 1},
    {"eng4_fuel", 0, 1},       {"brakes", 0, 1},
};

const SettingRange* find_setting(const std::string& name) {
  for (const SettingRange& s : SETTINGS)
    if (name == s.name) return &s;
  return nullptr;
}

bool parse_set(std::string rest, ScenarioStep* st, std::string* msg) {
  std::string name = take_word(rest);
  std::string value = rest;
  if (name.empty() || value.empty()) {
    *msg = "set needs NAME VALUE";
    return false;
  }
  st->text = name;
  if (name == "zulu_time") {
    int h = -1, m = -1;
    char tail = 0;
    if (std::sscanf(value.c_str(), "%d:%d%c", &h, &m, &tail) != 2 || h < 0 || h > 23 || m < 0 || m > 59) {
      *msg = "zulu_time must be HH:MM (00:00 to 23:59)";
      return false;
    }
    st->i1 = h;
    st->i2 = m;
    return true;
  }
  if (name == "date") {
    int y = 0, d = 0;
    char tail = 0;
    if (std::sscanf(value.c_str(), "%d-%d%c", &y, &d, &tail) != 2 || y < 1900 || y > 2200 || d < 1 ||
        d > days_in_year(y)) {
      *msg = "date must be YYYY-DDD with a day of that year";
      return false;
    }
    st->i1 = y;
    st->i2 = d;
    return true;
  }
  const SettingRange* s = find_setting(name);
  if (!s) {
    *msg = "unknown setting \"" + name + "\"";
    return false;
  }
  double v = 0.0;
  if (!parse_double(value, &v) || v < s->lo || v > s->hi) {
    std::ostringstream o;
    o << name << " must be a number from " << s->lo << " to " << s->hi;
    *msg = o.str();
    return false;
  }
  st->value = v;
  return true;
}

bool parse_line(const std::string& raw, ScenarioStep* st, std::string* msg) {
  std::string rest = trim(raw);
  std::string cmd = take_word(rest);
  if (cmd == "run") {
    std::string amount = take_word(rest);
    if (amount.size() < 2 || !rest.empty()) {
      *msg = "run needs an amount such as 30s, 2m or 10f";
      return false;
    }
    char unit = amount.back();
    std::string num = amount.substr(0, amount.size() - 1);
    st->op = ScenarioOp::Run;
    if (unit == 'f') {
      long long f = 0;
      if (!parse_long(num, 10, 1, MAX_RUN_FRAMES, &f)) {
        *msg = "run frames must be a whole number from 1 to " + std::to_string(MAX_RUN_FRAMES);
        return false;
      }
      st->frames = f;
      return true;
    }
    double v = 0.0;
    if ((unit != 's' && unit != 'm') || !parse_double(num, &v) || v <= 0.0) {
      *msg = "run needs an amount such as 30s, 2m or 10f";
      return false;
    }
    st->seconds = unit == 'm' ? v * 60.0 : v;
    if (st->seconds > MAX_RUN_SECONDS) {
      *msg = "run is limited to 48 hours a line";
      return false;
    }
    return true;
  }
  if (cmd == "click") {
    st->gauge = take_word(rest);
    std::string a = take_word(rest), b = take_word(rest);
    long long x = 0, y = 0;
    if (st->gauge.empty() || a.empty() || !rest.empty() || !parse_long(a, 10, 0, 100000, &x) ||
        (!b.empty() && !parse_long(b, 10, 0, 100000, &y))) {
      *msg = "click needs GAUGE INDEX or GAUGE X Y";
      return false;
    }
    st->op = b.empty() ? ScenarioOp::ClickIndex : ScenarioOp::ClickAt;
    st->a = static_cast<int32_t>(x);
    st->b = static_cast<int32_t>(y);
    return true;
  }
  if (cmd == "type") {
    st->op = ScenarioOp::Type;
    st->gauge = take_word(rest);
    std::string text = rest;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    if (st->gauge.empty() || text.empty()) {
      *msg = "type needs GAUGE TEXT";
      return false;
    }
    st->text = text;
    return true;
  }
  if (cmd == "event") {
    std::string id = take_word(rest), param = take_word(rest);
    long long i = 0, p = 0;
    if (id.empty() || !rest.empty() || !parse_long(id, 0, 0, 0x7FFFFFFF, &i) ||
        (!param.empty() && !parse_long(param, 0, -2147483648LL, 0xFFFFFFFFLL, &p))) {
      *msg = "event needs ID [PARAM], decimal or 0x hexadecimal";
      return false;
    }
    st->op = ScenarioOp::Event;
    st->a = static_cast<int32_t>(i);
    st->b = static_cast<int32_t>(static_cast<uint32_t>(p & 0xFFFFFFFFLL));
    return true;
  }
  if (cmd == "set") {
    st->op = ScenarioOp::Set;
    return parse_set(rest, st, msg);
  }
  if (cmd == "window") {
    std::string id = take_word(rest), action = take_word(rest);
    long long i = 0;
    if (!parse_long(id, 10, 0, 1000000, &i) || (action != "show" && action != "hide") || !rest.empty()) {
      *msg = "window needs IDENT show|hide";
      return false;
    }
    st->op = ScenarioOp::Window;
    st->a = static_cast<int32_t>(i);
    st->b = action == "show" ? 1 : 0;
    return true;
  }
  if (cmd == "gps") {
    std::string ident = take_word(rest);
    if (ident == "clear" && rest.empty()) {
      st->op = ScenarioOp::GpsClear;
      return true;
    }
    std::string lat = take_word(rest), lon = take_word(rest);
    if (ident.empty() || ident.size() > 7 || !rest.empty() || !parse_double(lat, &st->value) ||
        !parse_double(lon, &st->value2) || st->value < -90 || st->value > 90 || st->value2 < -180 ||
        st->value2 > 180) {
      *msg = "gps needs IDENT LAT LON (ident up to 7 characters) or clear";
      return false;
    }
    st->op = ScenarioOp::Gps;
    st->text = ident;
    return true;
  }
  if (cmd == "shot") {
    st->op = ScenarioOp::Shot;
    st->gauge = take_word(rest);
    st->text = take_word(rest);
    if (st->gauge.empty() || !rest.empty() || st->text.size() < 5 ||
        st->text.compare(st->text.size() - 4, 4, ".png") != 0 || !safe_file_name(st->text)) {
      *msg = "shot needs GAUGE FILE.png, a plain file name";
      return false;
    }
    return true;
  }
  if (cmd == "expect") {
    st->op = ScenarioOp::Expect;
    st->gauge = take_word(rest);
    if (st->gauge.empty() || rest.size() < 3 || rest.front() != '"' || rest.back() != '"') {
      *msg = "expect needs GAUGE \"TEXT\"";
      return false;
    }
    st->text = rest.substr(1, rest.size() - 2);
    return true;
  }
  if (cmd == "log") {
    st->op = ScenarioOp::Log;
    st->text = take_word(rest);
    if (!rest.empty() || !safe_file_name(st->text)) {
      *msg = "log needs FILE, a plain file name";
      return false;
    }
    return true;
  }
  if (cmd == "track") {
    st->op = ScenarioOp::Track;
    st->text = take_word(rest);
    std::string interval = take_word(rest);
    if (!rest.empty() || !safe_file_name(st->text) || !parse_double(interval, &st->value) || st->value < 0.05 ||
        st->value > 3600.0) {
      *msg = "track needs FILE SECONDS, a plain file name and 0.05 to 3600 seconds";
      return false;
    }
    return true;
  }
  if (cmd == "key") {
    std::string name = take_word(rest), action = take_word(rest);
    bool extended = false;
    if (name.empty() || !rest.empty() || (!action.empty() && action != "down" && action != "up") ||
        win_vk_from_name(name.c_str(), &extended) <= 0) {
      *msg = "key needs a key NAME and optionally down or up";
      return false;
    }
    st->op = ScenarioOp::Key;
    st->text = name;
    st->a = action == "down" ? 1 : action == "up" ? 2 : 0;
    return true;
  }
  if (cmd == "ipc") {
    std::string what = take_word(rest);
    if ((what == "start" || what == "stop") && rest.empty()) {
      st->op = what == "start" ? ScenarioOp::IpcStart : ScenarioOp::IpcStop;
      return true;
    }
    std::string offset = take_word(rest), value = take_word(rest);
    long long off = 0;
    if ((what != "i32" && what != "f64") || !rest.empty() || !parse_long(offset, 0, 0, 0xFFFFFF, &off) ||
        !parse_double(value, &st->value)) {
      *msg = "ipc needs start, stop, or i32|f64 OFFSET VALUE";
      return false;
    }
    st->op = what == "i32" ? ScenarioOp::IpcI32 : ScenarioOp::IpcF64;
    st->a = static_cast<int32_t>(off);
    return true;
  }
  if (cmd == "var" || cmd == "expect_var") {
    st->text = take_name(rest);
    std::string value = take_word(rest);
    if (st->text.empty() || !rest.empty() || !parse_double(value, &st->value)) {
      *msg = cmd + " needs NAME VALUE";
      return false;
    }
    st->op = cmd == "var" ? ScenarioOp::Var : ScenarioOp::ExpectVar;
    return true;
  }
  *msg = "unknown command \"" + cmd + "\"";
  return false;
}

std::string where(const Scenario& sc, const ScenarioStep& st) {
  return sc.file + ":" + std::to_string(st.line) + ": ";
}

}  // namespace

bool parse_scenario(std::istream& in, const std::string& file, Scenario* out, std::string* error) {
  Scenario sc;
  sc.file = file;
  std::string raw;
  int line_no = 0;
  while (std::getline(in, raw)) {
    ++line_no;
    if (line_no == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);  // UTF-8 byte-order mark
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::string line = trim(raw);
    if (line.empty() || line[0] == '#') continue;
    ScenarioStep st;
    st.line = line_no;
    std::string msg;
    if (!parse_line(line, &st, &msg)) {
      if (error) *error = file + ":" + std::to_string(line_no) + ": " + msg;
      return false;
    }
    sc.steps.push_back(st);
  }
  *out = std::move(sc);
  return true;
}

bool read_scenario(const std::string& path, Scenario* out, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    if (error) *error = path + ": cannot open";
    return false;
  }
  return parse_scenario(in, path, out, error);
}

bool check_scenario(const Scenario& sc, const SimHost& host, std::string* error) {
  for (const ScenarioStep& st : sc.steps) {
    std::string msg;
    const PlacedGauge* g = nullptr;
    bool needs_gauge = st.op == ScenarioOp::ClickIndex || st.op == ScenarioOp::ClickAt ||
                       st.op == ScenarioOp::Type || st.op == ScenarioOp::Shot || st.op == ScenarioOp::Expect;
    if (needs_gauge) {
      g = host.find_gauge(st.gauge);
      if (!g) msg = "no gauge " + st.gauge + " on the panel";
    }
    if (msg.empty()) {
      switch (st.op) {
        case ScenarioOp::ClickIndex:
          if (st.a >= host.child_rect_count(*g))
            msg = "gauge " + st.gauge + " has " + std::to_string(host.child_rect_count(*g)) +
                  " click rectangles, no index " + std::to_string(st.a);
          break;
        case ScenarioOp::ClickAt:
          if (st.a >= g->width || st.b >= g->height)
            msg = "click point lies outside gauge " + st.gauge;
          else if (host.hit_test(*g, st.a, st.b) < 0)
            msg = "no click rectangle of " + st.gauge + " at " + std::to_string(st.a) + " " + std::to_string(st.b);
          break;
        case ScenarioOp::Type:
          for (char c : st.text)
            if (host.key_for_char(*g, c) < 0) {
              msg = std::string("gauge ") + st.gauge + " has no key for '" + c + "'";
              break;
            }
          break;
        case ScenarioOp::Window:
          if (!host.window_exists(st.a)) msg = "no panel window with ident " + std::to_string(st.a);
          break;
        case ScenarioOp::Shot:
          if (!g->drawn_image()) msg = "gauge " + st.gauge + " draws no image";
          break;
        default:
          break;
      }
    }
    if (!msg.empty()) {
      if (error) *error = where(sc, st) + msg;
      return false;
    }
  }
  return true;
}

namespace {

void apply_setting(SimHost& host, const ScenarioStep& st) {
  AircraftModel& m = host.aircraft();
  AircraftState& s = m.state();
  const std::string& n = st.text;
  double v = st.value;
  bool on = v >= 0.5;
  if (n == "zulu_time") m.set_zulu_time(st.i1, st.i2);
  else if (n == "date") m.set_date(st.i1, st.i2);
  else if (n == "lat") s.lat = v;
  else if (n == "lon") s.lon = v;
  else if (n == "altitude") s.altitude_ft = v;
  else if (n == "heading") s.heading_true = v;
  else if (n == "ias") s.ias_kt = v;
  else if (n == "mach") s.ias_kt = ias_for_mach(v, s.altitude_ft);
  else if (n == "vs") s.vs_fpm = v;
  else if (n == "fuel") m.set_fuel_gallons(v);
  else if (n == "fuel_capacity") {
    s.fuel_capacity_gallons = v;
    m.set_fuel_gallons(s.fuel_gallons);
  } else if (n == "wind_dir") s.wind_dir = v;
  else if (n == "wind_speed") s.wind_speed_kt = v;
  else if (n == "sim_rate") m.set_sim_rate(v);
  else if (n == "on_ground") s.on_ground = on;
  else if (n == "ap_master") s.ap_master = on;
  else if (n == "ap_heading") s.ap_heading = v;
  else if (n == "ap_altitude") s.ap_altitude_ft = v;
  else if (n == "ap_vs") s.ap_vs_fpm = v;
  else if (n == "ap_airspeed") s.ap_airspeed_kt = v;
  else if (n == "ap_mach") s.ap_mach = v;
  else if (n == "ap_heading_hold") s.ap_heading_hold = on;
  else if (n == "ap_altitude_hold") s.ap_altitude_hold = on;
  else if (n == "ap_airspeed_hold") s.ap_airspeed_hold = on;
  else if (n == "ap_mach_hold") s.ap_mach_hold = on;
  else if (n == "autothrottle") s.autothrottle_arm = on;
  else if (n == "flight_director") s.flight_director = on;
  else if (n == "ground_elevation") s.ground_elevation_ft = v;
  else if (n == "avionics") s.avionics_power = on;
  else if (n == "engines") s.engine_count = static_cast<int>(v);
  else if (n == "nav1") s.nav1_mhz = v;
  else if (n == "nav2") s.nav2_mhz = v;
  else if (n == "adf") s.adf_khz = v;
  else if (n == "obs") s.nav1_obs = v;
  else if (n == "altimeter") s.altimeter_hpa = v;
  else if (n == "sea_level_pressure") s.sea_level_hpa = v;
  else if (n == "paused") s.paused = on;
  else if (n == "frame_rate") host.set_frame_rate(static_cast<int>(v));
  else if (n == "decision_height") s.decision_height_ft = v;
  else if (n == "flaps") s.flaps_target_deg = v;
  else if (n == "ap_nav_hold") s.ap_nav_hold = on;
  else if (n == "ap_approach_hold") s.ap_approach_hold = on;
  else if (n == "yaw_damper") s.yaw_damper = on;
  else if (n == "gear") s.gear_down = on;
  else if (n == "slats") s.slats_percent = v;
  else if (n == "leading_edge") s.leading_edge_deg = v;
  else if (n == "spoilers_armed") s.spoilers_armed = v;
  else if (n == "spoilers") s.spoilers_position = v;
  else if (n == "rudder") s.rudder_deg = v;
  else if (n == "elevator") s.elevator_deg = v;
  else if (n == "aileron") s.aileron_deg = v;
  else if (n == "rudder_trim") s.rudder_trim_deg = v;
  else if (n == "elevator_trim") s.elevator_trim_deg = v;
  else if (n == "aileron_trim") s.aileron_trim_deg = v;
  else if (n == "reverse") for (EngineState& e : s.engines) e.reverse = on;
  else if (n == "brakes") s.brakes = on;
  else if (n.rfind("eng", 0) == 0 && n.size() > 3 && n[3] >= '1' && n[3] <= '4') {
    EngineState& e = s.engines[n[3] - '1'];
    if (n.ends_with("_fuel")) e.fuel_off = !on;
    else e.egt_offset_c = v;
  }
  m.refresh();
}

}  // namespace

bool run_scenario(const Scenario& sc, SimHost& host, const std::string& out_dir, ScenarioResult* result,
                  std::string* error) {
  ScenarioResult res;
  std::unique_ptr<std::ofstream> log;
  std::unique_ptr<TrackLog> track;
  // A track's listener goes with the run; a caller's own listener stays.
  struct ListenerReset {
    SimHost& host;
    const std::unique_ptr<TrackLog>& track;
    ~ListenerReset() {
      if (track) host.set_frame_listener(nullptr);
    }
  } listener_reset{host, track};
  auto out_path = [&](const std::string& name) { return out_dir.empty() ? name : out_dir + "/" + name; };
  size_t logged = 0;
  auto flush_log = [&]() {
    if (!log) return;
    const auto& recs = host.records();
    for (; logged < recs.size(); ++logged) *log << format_record(recs[logged]) << "\n";
    log->flush();
  };
  bool ok = true;
  for (const ScenarioStep& st : sc.steps) {
    std::string msg;
    switch (st.op) {
      case ScenarioOp::Run:
        if (st.frames > 0) host.run_frames(st.frames);
        else host.run_seconds(st.seconds);
        break;
      case ScenarioOp::ClickIndex:
        ok = host.click_index(st.gauge, st.a, &msg);
        break;
      case ScenarioOp::ClickAt:
        ok = host.click_at(st.gauge, st.a, st.b, &msg);
        break;
      case ScenarioOp::Type:
        ok = host.type_text(st.gauge, st.text, &msg);
        break;
      case ScenarioOp::Event:
        host.inject_key_event(st.a, st.b);
        break;
      case ScenarioOp::Set:
        apply_setting(host, st);
        break;
      case ScenarioOp::Window:
        ok = host.set_window_visible(st.a, st.b != 0);
        if (!ok) msg = "no panel window with ident " + std::to_string(st.a);
        break;
      case ScenarioOp::Gps:
        ok = host.add_gps_point(st.text, st.value, st.value2);
        if (!ok) msg = "the GPS route holds at most " + std::to_string(GPS_ROUTE_CAPACITY) + " points";
        break;
      case ScenarioOp::GpsClear:
        host.gps_route() = GpsRouteData{};
        break;
      case ScenarioOp::Shot:
        ok = host.write_png(st.gauge, out_path(st.text), &msg);
        break;
      case ScenarioOp::Expect: {
        ++res.expectations;
        std::string why;
        if (!gauge_drew_text(host, st.gauge, st.text, &why)) {
          ++res.failed_expectations;
          res.failures.push_back(where(sc, st) + "expect " + st.gauge + " \"" + st.text + "\": " + why);
        }
        break;
      }
      case ScenarioOp::Key: {
        bool extended = false;
        int32_t vk = win_vk_from_name(st.text.c_str(), &extended);
        // A frame with the key down, so that a poll sees it, then one after the release.
        if (st.a != 2) {
          win_key_event(vk, true, extended);
          host.run_frames(1);
        }
        if (st.a != 1) {
          win_key_event(vk, false, extended);
          host.run_frames(1);
        }
        break;
      }
      case ScenarioOp::IpcStart:
        ok = win_ipc_server_start();
        if (!ok) msg = "the IPC server did not start";
        break;
      case ScenarioOp::IpcStop:
        win_ipc_server_stop();
        break;
      case ScenarioOp::IpcI32: {
        int32_t v = static_cast<int32_t>(st.value);
        ok = win_ipc_server_write(static_cast<uint32_t>(st.a), &v, sizeof v);
        if (!ok) msg = "the IPC server is not running or the offset lies outside its block";
        break;
      }
      case ScenarioOp::IpcF64:
        ok = win_ipc_server_write(static_cast<uint32_t>(st.a), &st.value, sizeof st.value);
        if (!ok) msg = "the IPC server is not running or the offset lies outside its block";
        break;
      case ScenarioOp::Var: {
        int id = host.named_var_id(st.text);
        if (id < 0) id = host.register_named_var(st.text);
        host.set_named_var(id, st.value);
        break;
      }
      case ScenarioOp::ExpectVar: {
        ++res.expectations;
        double v = host.named_var(st.text);
        if (host.named_var_id(st.text) < 0 || std::fabs(v - st.value) > 1e-6) {
          ++res.failed_expectations;
          std::ostringstream o;
          o << where(sc, st) << "expect_var " << st.text << " " << st.value << ": "
            << (host.named_var_id(st.text) < 0 ? std::string("no such variable") : "it holds " + std::to_string(v));
          res.failures.push_back(o.str());
        }
        break;
      }
      case ScenarioOp::Track: {
        if (track) host.set_frame_listener(nullptr);
        track = std::make_unique<TrackLog>(st.value, false);
        ok = track->open(out_path(st.text));
        if (!ok) {
          msg = out_path(st.text) + ": cannot write";
          track.reset();
          break;
        }
        track->sample(host);
        host.set_frame_listener([&host, t = track.get()]() { t->sample(host); });
        break;
      }
      case ScenarioOp::Log: {
        flush_log();
        log = std::make_unique<std::ofstream>(out_path(st.text));
        if (!*log) {
          ok = false;
          msg = out_path(st.text) + ": cannot write";
          log.reset();
        }
        logged = 0;
        break;
      }
    }
    flush_log();
    if (!ok) {
      if (error) *error = where(sc, st) + msg;
      if (result) *result = res;
      return false;
    }
  }
  flush_log();
  if (result) *result = res;
  return true;
}

}  // namespace simhost
