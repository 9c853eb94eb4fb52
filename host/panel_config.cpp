#include "host/panel_config.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace simhost {

namespace {

std::string trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool parse_int(const std::string& text, long lo, long hi, int* out) {
  std::string t = trim(text);
  if (t.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(t.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  *out = static_cast<int>(v);
  return true;
}

bool starts_with(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

bool parse_panel_config(std::istream& in, const std::string& name, PanelConfig* out, std::string* error) {
  PanelConfig cfg;
  PanelWindow* window = nullptr;
  std::string raw;
  int line_no = 0;
  auto fail = [&](const std::string& msg) {
    if (error) *error = name + ":" + std::to_string(line_no) + ": " + msg;
    return false;
  };
  while (std::getline(in, raw)) {
    ++line_no;
    if (line_no == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);  // UTF-8 byte-order mark
    std::string line = raw;
    size_t comment = line.find("//");
    if (comment != std::string::npos) line.erase(comment);
    line = trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']') return fail("malformed section header \"" + line + "\"");
      std::string section = lower(trim(line.substr(1, line.size() - 2)));
      window = nullptr;
      if (starts_with(section, "window") && section != "window titles") {
        int number = 0;
        if (!parse_int(section.substr(6), 0, 99, &number))
          return fail("bad window number in \"" + line + "\"");
        for (const PanelWindow& w : cfg.windows)
          if (w.number == number) return fail("window " + std::to_string(number) + " given twice");
        cfg.windows.push_back(PanelWindow{});
        window = &cfg.windows.back();
        window->number = number;
        window->ident = number;
      }
      continue;
    }
    if (!window) continue;  // keys of other sections
    size_t eq = line.find('=');
    if (eq == std::string::npos) return fail("expected KEY=VALUE");
    std::string key = lower(trim(line.substr(0, eq)));
    std::string value = trim(line.substr(eq + 1));
    if (key == "ident") {
      if (!parse_int(value, 0, 1000000, &window->ident)) return fail("ident must be a number: \"" + value + "\"");
    } else if (key == "visible") {
      int v = 0;
      if (!parse_int(value, 0, 1, &v)) return fail("visible must be 0 or 1");
      window->visible = v == 1;
    } else if (starts_with(key, "gauge")) {
      int gauge_no = 0;
      if (!parse_int(key.substr(5), 0, 999, &gauge_no)) return fail("bad gauge key \"" + key + "\"");
      std::vector<std::string> fields;
      std::string rest = value;
      // module!name, x, y [, w, h [, parameters]]: the parameters are the rest of the line.
      for (int i = 0; i < 5; ++i) {
        size_t comma = rest.find(',');
        if (comma == std::string::npos) break;
        fields.push_back(trim(rest.substr(0, comma)));
        rest = rest.substr(comma + 1);
      }
      fields.push_back(trim(rest));
      Placement p;
      size_t bang = fields[0].find('!');
      if (bang == std::string::npos || bang == 0 || bang + 1 >= fields[0].size())
        return fail("gauge must be MODULE!NAME: \"" + fields[0] + "\"");
      p.module = fields[0].substr(0, bang);
      p.gauge = fields[0].substr(bang + 1);
      if (fields.size() < 3) return fail("gauge line needs a position x, y");
      if (!parse_int(fields[1], -10000, 10000, &p.x) || !parse_int(fields[2], -10000, 10000, &p.y))
        return fail("bad gauge position");
      if (fields.size() == 4) return fail("gauge size needs both width and height");
      if (fields.size() >= 5) {
        if (!parse_int(fields[3], 1, 4096, &p.width) || !parse_int(fields[4], 1, 4096, &p.height))
          return fail("gauge size must be 1..4096 pixels");
      }
      if (fields.size() >= 6) p.parameters = fields[5];
      window->gauges.push_back(p);
    }
  }
  for (size_t i = 0; i < cfg.windows.size(); ++i)
    for (size_t j = i + 1; j < cfg.windows.size(); ++j)
      if (cfg.windows[i].ident == cfg.windows[j].ident) {
        line_no = 0;
        if (error)
          *error = name + ": windows " + std::to_string(cfg.windows[i].number) + " and " +
                   std::to_string(cfg.windows[j].number) + " share ident " +
                   std::to_string(cfg.windows[i].ident);
        return false;
      }
  *out = std::move(cfg);
  return true;
}

bool read_panel_config(const std::string& path, PanelConfig* out, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    if (error) *error = path + ": cannot open";
    return false;
  }
  return parse_panel_config(in, path, out, error);
}

}  // namespace simhost
