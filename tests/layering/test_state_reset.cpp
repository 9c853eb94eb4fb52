// Every variable a layer defines at namespace scope is put back by the layer's reset
// (its state_reset.cpp, or a keep_..._state function of the file that owns it), so that
// the module's init, and each test, starts from the state of a fresh load.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Folders of the layers that hold state.
constexpr const char* kLayerFolders[] = {
    "src/module",      "src/navdb",          "src/flightplan",           "src/guidance",
    "src/draw",        "src/cdu/smiths",     "src/cdu/gnsxls",           "src/cdu/mcu",
    "src/c17",         "src/gauges",         "src/displays/nd_transport", "src/displays/nd_corporate",
    "src/displays/attitude",
};

// Kept otherwise: tables read only up to their counts (emptied by the navigation
// database's clear, stored plans by their count), lookup indexes rebuilt by every load,
// scratch lists, tables filled once when the module loads, caches whose entries hold
// what they were made from, the trace file's last flush (set when it opens).
const std::set<std::string> kNotKept = {
    "airport_heads", "airport_next", "navaid_heads", "navaid_next", "intersection_heads", "intersection_next",
    "airway_heads", "airway_next", "info_heads", "info_next", "airway_fix_keys", "candidates", "chosen_bits", "position_indexes",
    "nav_airports", "nav_navaids", "nav_intersections", "nav_airway_fixes", "nav_runways", "nav_airway_breaks",
    "nav_procs", "nav_proc_legs", "atc_boundary_points", "apt_infos", "apt_blocks", "near_airports_wide",
    "near_navaids_wide", "near_airway_fixes_wide", "near_airway_fixes", "stored_plans", "char_texts",
    "rects_filled", "trace_file", "trace_flushed", "boundary_reach", "boundary_measured",
    "kept_measures",
};
// Types whose variables are constant after load or rewritten by every draw.
const std::set<std::string> kNotKeptTypes = {"MouseRect", "GaugeSurface", "std::mutex"};

std::string read_file(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The text without comments, preprocessor lines and the contents of literals.
std::string strip(const std::string& t) {
  std::string out;
  size_t i = 0, n = t.size();
  while (i < n) {
    if (t.compare(i, 2, "//") == 0) {
      while (i < n && t[i] != '\n') ++i;
    } else if (t.compare(i, 2, "/*") == 0) {
      size_t e = t.find("*/", i + 2);
      i = e == std::string::npos ? n : e + 2;
      out += ' ';
    } else if (t[i] == '#' && (i == 0 || t[i - 1] == '\n')) {
      while (i < n && !(t[i] == '\n' && t[i - 1] != '\\')) ++i;
    } else if (t[i] == '"' || t[i] == '\'') {
      char q = t[i++];
      while (i < n && t[i] != q) i += t[i] == '\\' ? 2 : 1;
      ++i;
      out += q;
      out += q;
    } else {
      out += t[i++];
    }
  }
  return out;
}

size_t matching_brace(const std::string& s, size_t i) {
  int depth = 0;
  for (; i < s.size(); ++i) {
    if (s[i] == '{') ++depth;
    if (s[i] == '}' && --depth == 0) return i;
  }
  return s.size();
}

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\n");
  size_t e = s.find_last_not_of(" \t\n");
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// Statements at namespace scope (function bodies and class bodies skipped).
std::vector<std::string> namespace_statements(const std::string& s) {
  static const std::regex opens_namespace(R"(^(namespace\s*[\w:]*|extern\s*""\s*)$)");
  static const std::regex ends_signature(R"(\)\s*(const|noexcept|override|final|\s)*$)");
  std::vector<std::string> out;
  std::string cur;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '{') {
      std::string head = trim(cur);
      if (std::regex_match(head, opens_namespace)) {
        cur.clear();
        continue;
      }
      size_t end = matching_brace(s, i);
      bool function = std::regex_search(head, ends_signature) && head.find('=') == std::string::npos;
      if (function) {
        cur.clear();
      } else {
        cur += s.substr(i, end - i + 1);
      }
      i = end;
    } else if (c == '}') {
      cur.clear();
    } else if (c == ';') {
      out.push_back(trim(cur));
      cur.clear();
    } else {
      cur += c;
    }
  }
  return out;
}

// Commas outside brackets split the declarators of one statement.
std::vector<std::string> declarators(const std::string& st) {
  std::vector<std::string> parts(1);
  int depth = 0;
  for (char c : st) {
    if (c == '(' || c == '[' || c == '{' || c == '<') ++depth;
    if (c == ')' || c == ']' || c == '}' || c == '>') --depth;
    if (c == ',' && depth == 0) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

struct Variable {
  std::string type, name;
};

// Mutable variables defined by a file at namespace scope (references and function
// pointers left out).
std::vector<Variable> variables_of(const fs::path& file) {
  static const std::regex skipped(
      R"(^(return|using|typedef|template|struct|class|enum|union|namespace|extern|static_assert|friend)\b)");
  static const std::regex constant(R"(^(static\s+)?(inline\s+)?(\[\[maybe_unused\]\]\s+)?(constexpr|const)\b)");
  static const std::regex first(R"(^(static\s+)?(.*?[\w>*&\s])\s*\**\s*([A-Za-z_]\w*)\s*(\[[^\]]*\]\s*)*(=.*|\{.*\})?$)");
  static const std::regex other(R"(^\s*\**\s*([A-Za-z_]\w*)\s*(\[[^\]]*\]\s*)*(=.*|\{.*\})?$)");
  std::vector<Variable> out;
  for (const std::string& st : namespace_statements(strip(read_file(file)))) {
    if (st.empty() || std::regex_search(st, skipped) || std::regex_search(st, constant)) continue;
    std::vector<std::string> parts = declarators(st);
    std::smatch m;
    std::string head = parts[0];
    size_t eq = head.find_first_of("={");
    if (head.substr(0, eq).find('(') != std::string::npos) continue;  // a function or a function pointer
    if (!std::regex_match(head, m, first)) continue;
    std::string type = trim(m[2].str());
    if (type.empty() || type.back() == '&') continue;
    out.push_back({type, m[3].str()});
    for (size_t k = 1; k < parts.size(); ++k)
      if (std::regex_match(parts[k], m, other)) out.push_back({type, m[1].str()});
  }
  return out;
}

bool has_word(const std::string& text, const std::string& word) {
  auto ident = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    bool starts = at == 0 || !ident(text[at - 1]);
    bool ends = at + word.size() == text.size() || !ident(text[at + word.size()]);
    if (starts && ends) return true;
  }
  return false;
}

}  // namespace

TEST(StateReset, EveryNamespaceVariableIsKeptByItsLayersReset) {
  fs::path root = VEK_SOURCE_ROOT;
  static const std::regex keep_function(R"(^void keep_\w+_state\(LoadState& state\).*$)");
  for (const char* folder : kLayerFolders) {
    fs::path dir = root / folder;
    std::string kept = fs::exists(dir / "state_reset.cpp") ? strip(read_file(dir / "state_reset.cpp")) : "";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.is_regular_file() && entry.path().extension() == ".cpp" && entry.path().filename() != "state_reset.cpp")
        files.push_back(entry.path());
    for (const fs::path& f : files) {
      std::ifstream in(f);
      std::string line;
      bool in_keep = false;
      while (std::getline(in, line)) {
        if (std::regex_match(line, keep_function)) in_keep = true;
        if (in_keep) kept += line + "\n";
        if (in_keep && !line.empty() && line.back() == '}') in_keep = false;
      }
    }
    for (const fs::path& f : files) {
      for (const Variable& v : variables_of(f)) {
        if (kNotKept.count(v.name) || kNotKeptTypes.count(v.type)) continue;
        EXPECT_TRUE(has_word(kept, v.name))
            << fs::relative(f, root).generic_string() << " defines " << v.type << " " << v.name
            << ", which " << folder << "/state_reset.cpp does not keep";
      }
    }
  }
}

// The scan finds what the resets must keep: each kind of definition the layers use.
TEST(StateReset, ScanFindsEveryKindOfDefinition) {
  fs::path file = fs::temp_directory_path() / "vek_state_reset_scan.cpp";
  {
    std::ofstream out(file);
    out << "#include \"x.h\"\n"
           "int a = 0;\n"
           "double b = 1.0, c = 2.0;\n"
           "std::string d[3];\n"
           "Rec e{1, 2};\n"
           "static int f = 0;\n"
           "namespace {\nint g = -1;  // comment; with a semicolon\n}  // namespace\n"
           "const int k = 1;\nconstexpr int l = 2;\nint& m = a;\nvoid (*hook)() = nullptr;\n"
           "int function(int x) { int local = x; return local; }\n"
           "struct S { int member; };\n"
           "const char* text = \"a;b\";\n";
  }
  std::vector<std::string> names;
  for (const Variable& v : variables_of(file)) names.push_back(v.name);
  fs::remove(file);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g"}));
}
