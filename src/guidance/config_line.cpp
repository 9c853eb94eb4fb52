#include "guidance/config_line.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <unordered_map>

#include "module/module_files.h"
#include "module/module_messages.h"

namespace {

bool is_white(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Next white-space-delimited word of `text` from `pos`; empty at the end.
std::string_view next_word(std::string_view text, size_t& pos) {
  while (pos < text.size() && is_white(text[pos])) ++pos;
  size_t start = pos;
  while (pos < text.size() && !is_white(text[pos])) ++pos;
  return text.substr(start, pos - start);
}

size_t skip_white(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && is_white(text[i])) ++i;
  return i;
}

}  // namespace

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string upper_case(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool split_config_line(std::string_view line, std::string& key, std::string& value) {
  key.clear();
  value.clear();
  if (!line.empty() && line[0] == ';') return false;
  std::string text(line);
  for (char& c : text) {
    if (c == ' ') c = '*';
  }
  size_t eq = text.find('=');
  if (eq != std::string::npos) text[eq] = ' ';
  size_t pos = 0;
  key = next_word(text, pos);
  value = next_word(text, pos);
  for (char& c : value) {
    if (c == '*') c = ' ';
  }
  return true;
}

bool is_text_line(std::string_view line) {
  for (char c : line)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) return false;
  return true;
}

bool config_line_reads(std::string_view line) {
  if (!is_text_line(line)) return false;
  size_t first = skip_white(line);
  return first == line.size() || line[first] == ';' || line[first] == '[' || line.find('=') != std::string_view::npos;
}

void post_unread_file(const std::string& path) { post_file_refusal(path, "no line reads"); }

int32_t config_int(std::string_view text) {
  size_t i = skip_white(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t v = 0;
  bool any = false;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    any = true;
    if (v < int64_t{1} << 40) v = v * 10 + (text[i] - '0');
    ++i;
  }
  if (!any) return 0;
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

bool config_number(std::string_view text, double& value) {
  value = 0.0;
  size_t i = skip_white(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Only plain decimal forms: digits, a point, digits, an exponent.
  size_t start = i;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
      while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
      i = j;
    }
  }
  // The number is the whole word: "18,000", "5O" or "0x2710" read as their leading digits
  // would store another value without a word.
  if (skip_white(text.substr(i)) != text.size() - i) return false;
  double v = 0.0;
  auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + i, v);
  (void)ptr;
  if (ec != std::errc() || !std::isfinite(v)) return false;
  value = negative ? -v : v;
  return true;
}

double config_float(std::string_view text) {
  double v = 0.0;
  return config_number(text, v) ? v : 0.0;
}

int32_t truncate_to_int(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int32_t config_int_of_float(std::string_view text) { return truncate_to_int(config_float(text)); }

namespace {

// Reads past the line end that `c` begins: LF, CR LF or a lone CR. False when `c` ends no line.
bool at_line_end(std::FILE* file, int c) {
  if (c == '\n') return true;
  if (c != '\r') return false;
  int next = std::fgetc(file);
  if (next != '\n' && next != EOF) std::ungetc(next, file);
  return true;
}

}  // namespace

bool read_limited_line(std::FILE* file, size_t limit, std::string& line, bool* line_ended) {
  line.clear();
  if (line_ended) *line_ended = false;
  if (!file || limit == 0) return false;
  // A byte-order mark before the first line is no part of its key.
  if (std::ftell(file) == 0) {
    unsigned char mark[3] = {};
    if (std::fread(mark, 1, 3, file) != 3 || mark[0] != 0xEF || mark[1] != 0xBB || mark[2] != 0xBF)
      std::fseek(file, 0, SEEK_SET);
  }
  bool any = false;
  bool ended = false;
  while (line.size() < limit) {
    int c = std::fgetc(file);
    if (c == EOF) break;
    any = true;
    if (at_line_end(file, c)) {
      ended = true;
      break;
    }
    line.push_back(static_cast<char>(c));
  }
  // The rest of an over-long line is dropped: read as a line of its own, the tail of a
  // comment would become a setting.
  if (!ended && line.size() == limit) {
    int c;
    while ((c = std::fgetc(file)) != EOF && !(ended = at_line_end(file, c))) {
    }
  }
  if (line_ended) *line_ended = ended;
  return any;
}

namespace {

// What each number of the settings and aircraft files may be: speeds print in three
// digits, altitudes in five, and a value beyond them would overflow the guidance's
// whole-number arithmetic (a flight-path angle of 1e10 degrees, say). Flags are 0 or 1.
// A name with `suffix` set covers every key ending with it (the colour keys).
struct ConfigRange {
  const char* name;
  double lo;
  double hi;
  bool suffix = false;
};
constexpr double kMaxSpeed = 999.0;      // knots
constexpr double kMaxAltitude = 99999.0; // feet
constexpr double kMaxRate = 20000.0;     // feet per minute
constexpr double kMaxChangeDist = 20.0;  // nm: farther, a waypoint sequences before its turn
constexpr double kMaxChangeSecs = 60.0;  // s: a minute at 600 kt is 10 nm
constexpr double kMaxMach = 0.99;
constexpr ConfigRange kConfigRanges[] = {
    {"WptChgDist", 0.0, kMaxChangeDist}, {"WptProcChgDist", 0.0, kMaxChangeDist},
    {"FlyoverWptChgDist", 0.0, kMaxChangeDist}, {"WptChgSecs", 0.0, kMaxChangeSecs},
    {"WptProcChgSecs", 0.0, kMaxChangeSecs}, {"TransAlt", 0.0, kMaxAltitude},
    {"MinMapRange", 0.0, 320.0},         {"SetDestLoadTowerViewDist", 0.0, 9999.0},
    {"ClimbMach", 0.0, kMaxMach},        {"CruiseMach", 0.0, kMaxMach},
    {"DescentMach", 0.0, kMaxMach},      {"BestHoldIas", 0.0, kMaxSpeed},
    {"ClbAltRest", 0.0, kMaxAltitude},   {"ClbSpdRest", 0.0, kMaxSpeed},
    {"DescAltRest", 0.0, kMaxAltitude},  {"DescSpdRest", 0.0, kMaxSpeed},
    {"ClimbIas", 0.0, kMaxSpeed},        {"ClimbIasMax", 0.0, kMaxSpeed},
    {"ClimbIasMin", 0.0, kMaxSpeed},     {"ClimbTas", 0.0, kMaxSpeed},
    {"CruiseIas", 0.0, kMaxSpeed},       {"CruiseIasMax", 0.0, kMaxSpeed},
    {"CruiseIasMin", 0.0, kMaxSpeed},    {"CruiseTas", 0.0, kMaxSpeed},
    {"DescentIas", 0.0, kMaxSpeed},      {"DescentIasMax", 0.0, kMaxSpeed},
    {"DescentIasMin", 0.0, kMaxSpeed},   {"DescentTas", 0.0, kMaxSpeed},
    {"ClimbRate", 0.0, kMaxRate},        {"DescentRate", 0.0, kMaxRate},
    {"MaxVnavClimbRate", 0.0, kMaxRate}, {"MinVnavClimbRate", 0.0, kMaxRate},
    {"MaxVnavDescRate", 0.0, kMaxRate},  {"MinVnavDescRate", 0.0, kMaxRate},
    {"MinVnavClimbIas", 0.0, kMaxSpeed}, {"MinVnavIas", 0.0, kMaxSpeed},
    {"MinVnavRadioAlt", 0.0, kMaxAltitude}, {"MaxCruise", 0.0, kMaxAltitude},
    {"CostIndex", -1.0, 200.0},          {"EngThrust", 0.0, 999999.0},
    {"FPA", 0.0, 10.0},                  {"HoldLegMins", 0.0, 60.0},
    {"LDGFLAPS", 0.0, 100.0},            {"TOFLAPS", 0.0, 100.0},
    {"V1", 0.0, kMaxSpeed},              {"VR", 0.0, kMaxSpeed},
    {"V2", 0.0, kMaxSpeed},              {"VREF", 0.0, kMaxSpeed},
    {"VREFMIN", 0.0, kMaxSpeed},         {"VREFMID", 0.0, kMaxSpeed},
    {"VREFMAX", 0.0, kMaxSpeed},         {"VnavSetSpdRestDist", 0.0, 9999.0},
    {"PauseAtDistFromDest", -9999.0, 9999.0}, {"TcasVertRange", 0.0, kMaxAltitude},
    {"EFS50HsiMode", 1.0, 7.0},          {"EFS50NavMode", 1.0, 2.0},
    {"DU1000EHSIMode", 0.0, 3.0},        {"HWB737NDMode", 1.0, 7.0},
    {"HWMD11NDMode", 2.0, 5.0},          {"MD80EHSIMode", 0.0, 3.0},
    {"PROLINE4MFDMode", 0.0, 3.0},       {"VnavSetSpd", 0.0, 2.0},
    {"ColorRed", 0.0, 255.0, true},      {"ColorGreen", 0.0, 255.0, true},
    {"ColorBlue", 0.0, 255.0, true},
    {"ArmPauseAtTod", 0.0, 1.0},         {"PauseAtTod", 0.0, 1.0},
    {"DispETALocalTime", 0.0, 1.0},      {"LoadFuelonFlightPlanLoad", 0.0, 1.0},
    {"Lnav1xAtTod", 0.0, 1.0},           {"SetUTCTimeOnFPLoad", 0.0, 1.0},
    {"McuShowActiveRwys", 0.0, 1.0},     {"SaveFPLCruiseAlt", 0.0, 1.0},
    {"DispC17SpdTrend", 0.0, 1.0},       {"ArmPauseAtDistFromDest", 0.0, 1.0},
    {"SetMCPSpdOnFlightPlanLoad", 0.0, 1.0}, {"DisplayMagVarOnGnsxlsNavPage", 0.0, 1.0},
    {"DecLatLonDisp", 0.0, 1.0},         {"DispAppPtrnAlts", 0.0, 1.0},
    {"DispPrevWpt", 0.0, 1.0},           {"DrawBodArcOnP1000MFD", 0.0, 1.0},
    {"EadiDualCue", 0.0, 1.0},           {"EADIHdgTape", 0.0, 1.0},
    {"EhsiStaticHdgPointer", 0.0, 1.0},  {"ExpandEADI", 0.0, 1.0},
    {"ExpandEADILnav", 0.0, 1.0},        {"LnavOffAtLastWpt", 0.0, 1.0},
    {"LnavSetEnRouteFreqs", 0.0, 1.0},   {"MFDTextAntiAlias", 0.0, 1.0},
    {"SetSpdOffwhenAPMasterSetOff", 0.0, 1.0}, {"SetWptBaro", 0.0, 1.0},
    {"ShowTodBodIndicators", 0.0, 1.0},  {"VnavOffAtLastWpt", 0.0, 1.0},
    {"VnavOffOnManAltChg", 0.0, 1.0},    {"VnavSetAlts", 0.0, 1.0},
    {"VnavSetSpdOffOnManSpdChg", 0.0, 1.0}, {"DrawBodArcOnEFS50EHSI", 0.0, 1.0},
    {"SequenceFPlanWpts", 0.0, 1.0},     {"DrawTcasWindowOnP1000MFD", 0.0, 1.0},
    {"SetMCPCrzAltOnFlightPlanLoad", 0.0, 1.0}, {"HdgHoldOnLnavOn", 0.0, 1.0},
    {"AdjustTurnDistforAngle", 0.0, 1.0}, {"ShowFloatingTodBodIndicators", 0.0, 1.0},
    {"VnavSetMachCruiseSpd", 0.0, 1.0},  {"ResetApHdg", 0.0, 1.0},
    {"DispFPV", 0.0, 1.0},
};

bool ends_with_ignoring_case(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && equal_ignoring_case(text.substr(text.size() - end.size()), end);
}

std::string lower_case(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

const ConfigRange* range_of(std::string_view key) {
  // By name through an index made once: a file of many lines reads in time that does not
  // grow with the number of keys.
  static const std::unordered_map<std::string, const ConfigRange*> by_name = [] {
    std::unordered_map<std::string, const ConfigRange*> index;
    for (const ConfigRange& r : kConfigRanges)
      if (!r.suffix) index.try_emplace(lower_case(r.name), &r);
    return index;
  }();
  if (auto it = by_name.find(lower_case(key)); it != by_name.end()) return it->second;
  for (const ConfigRange& r : kConfigRanges)
    if (r.suffix && ends_with_ignoring_case(key, r.name)) return &r;
  return nullptr;
}

// The entry of `table` named `key`, the first of equal names, through an index of the
// table's names made at its first use.
const ConfigKey* find_config_key(const ConfigKey* table, size_t count, std::string_view key) {
  static std::map<const ConfigKey*, std::unordered_map<std::string, size_t>> indexes;
  auto [it, made] = indexes.try_emplace(table);
  if (made)
    for (size_t k = 0; k < count; ++k) it->second.try_emplace(lower_case(table[k].name), k);
  auto found = it->second.find(lower_case(key));
  return found == it->second.end() ? nullptr : &table[found->second];
}

// False, with a module message, when `key` has a range and `value` does not read as a
// number ("nan", "abc", "1e309", nothing) or reads outside the range. A whole-number key
// is checked as it is stored, truncated.
bool config_value_in_range(std::string_view key, ConfigType type, std::string_view value) {
  const ConfigRange* r = range_of(key);
  if (!r) return true;
  double d = 0.0;
  bool reads = config_number(value, d);
  if (reads && (type == CFG_INT || type == CFG_INT_OF_FLOAT)) d = truncate_to_int(d);
  if (reads && d >= r->lo && d <= r->hi) return true;
  add_module_message(std::string(key) + "=" + std::string(value.substr(0, 32)) + " out of range, ignored");
  return false;
}

}  // namespace

bool config_key_has_range(std::string_view key) { return range_of(key) != nullptr; }

bool apply_config_key(const ConfigKey* table, size_t count, std::string_view key, std::string_view value) {
  if (const ConfigKey* found = find_config_key(table, count, key)) {
    const ConfigKey& entry = *found;
    if (entry.type != CFG_TEXT && entry.type != CFG_UPPER_TEXT && !config_value_in_range(entry.name, entry.type, value))
      return true;
    switch (entry.type) {
      case CFG_INT:
      case CFG_INT_OF_FLOAT: {
        // Stored as checked: "1.5e4" is 15000, not the 1 before its point.
        double d = config_float(value);
        if (entry.type == CFG_INT) d = truncate_to_int(d);
        int32_t v = truncate_to_int(d);
        bool ok = true;
        if (entry.guard == GUARD_ABOVE_ZERO) ok = d > 0.0;
        if (entry.guard == GUARD_INT_PART_ABOVE_ZERO) ok = v > 0;
        if (entry.guard == GUARD_COLOUR) ok = v >= 0 && v <= 255;
        if (ok) *static_cast<int32_t*>(entry.target) = v;
        break;
      }
      case CFG_FLOAT: {
        double d = config_float(value);
        bool ok = true;
        if (entry.guard == GUARD_ABOVE_ZERO) ok = d > 0.0;
        if (entry.guard == GUARD_INT_PART_ABOVE_ZERO) ok = truncate_to_int(d) > 0;
        if (ok) *static_cast<double*>(entry.target) = d;
        break;
      }
      case CFG_TEXT:
        *static_cast<std::string*>(entry.target) = std::string(value);
        break;
      case CFG_UPPER_TEXT:
        *static_cast<std::string*>(entry.target) = upper_case(value);
        break;
      case CFG_CUSTOM:
        if (entry.apply) entry.apply(value);
        break;
    }
    return true;
  }
  return false;
}
