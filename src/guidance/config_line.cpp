#include "guidance/config_line.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

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

double config_float(std::string_view text) {
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
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
      while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
      i = j;
    }
  }
  double v = 0.0;
  auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + i, v);
  (void)ptr;
  if (ec != std::errc() || !std::isfinite(v)) return 0.0;
  return negative ? -v : v;
}

int32_t truncate_to_int(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int32_t config_int_of_float(std::string_view text) { return truncate_to_int(config_float(text)); }

bool read_limited_line(std::FILE* file, size_t limit, std::string& line) {
  line.clear();
  if (!file || limit == 0) return false;
  bool any = false;
  bool ended = false;
  while (line.size() < limit) {
    int c = std::fgetc(file);
    if (c == EOF) break;
    any = true;
    if (c == '\n') {
      ended = true;
      break;
    }
    line.push_back(static_cast<char>(c));
  }
  // The rest of an over-long line is dropped: read as a line of its own, the tail of a
  // comment would become a setting.
  if (!ended && line.size() == limit) {
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n') {
    }
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

namespace {

// What each number of the settings and aircraft files may be: speeds print in three
// digits, altitudes in five, and a value beyond them would overflow the guidance's
// whole-number arithmetic (a flight-path angle of 1e10 degrees, say).
struct ConfigRange {
  const char* name;
  double lo;
  double hi;
};
constexpr double kMaxSpeed = 999.0;      // knots
constexpr double kMaxAltitude = 99999.0; // feet
constexpr double kMaxRate = 20000.0;     // feet per minute
constexpr ConfigRange kConfigRanges[] = {
    {"WptChgDist", 0.0, 100.0},          {"BestHoldIas", 0.0, kMaxSpeed},
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
};

// False, with a module message, when `key` has a range and `value` reads outside it.
bool config_value_in_range(std::string_view key, std::string_view value) {
  for (const ConfigRange& r : kConfigRanges) {
    if (!equal_ignoring_case(r.name, key)) continue;
    // Read as a decimal, so that no whole-number clamp hides a huge value.
    double d = config_float(value);
    if (d >= r.lo && d <= r.hi) return true;
    add_module_message(std::string(r.name) + "=" + std::string(value.substr(0, 32)) + " out of range, ignored");
    return false;
  }
  return true;
}

}  // namespace

bool apply_config_key(const ConfigKey* table, size_t count, std::string_view key, std::string_view value) {
  for (size_t k = 0; k < count; ++k) {
    const ConfigKey& entry = table[k];
    if (!equal_ignoring_case(entry.name, key)) continue;
    if (entry.type != CFG_TEXT && entry.type != CFG_UPPER_TEXT && !config_value_in_range(entry.name, value))
      return true;
    switch (entry.type) {
      case CFG_INT:
      case CFG_INT_OF_FLOAT: {
        double d = entry.type == CFG_INT ? config_int(value) : config_float(value);
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
