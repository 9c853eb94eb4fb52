#include "module/module_paths.h"

#include <cctype>
#include <filesystem>
#include <system_error>

std::string sim_root_path;
std::string aircraft_name;

void record_sim_root_path() {
  if (!sim_root_path.empty()) return;
  std::error_code ec;
  std::filesystem::path cwd = std::filesystem::current_path(ec);
  if (!ec) sim_root_path = cwd.string();
}

namespace {

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The entry of `dir` named `name` ignoring case; an exact match wins.
std::string match_entry(const std::filesystem::path& dir, std::string_view name) {
  std::error_code ec;
  if (std::filesystem::exists(dir / std::string(name), ec)) return std::string(name);
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (equal_ignoring_case(entry, name)) return entry;
  }
  return std::string(name);
}

}  // namespace

std::string vek_path(std::string_view sim_path) {
  std::filesystem::path result(sim_root_path.empty() ? "." : sim_root_path);
  size_t pos = 0;
  while (pos <= sim_path.size()) {
    size_t end = sim_path.find_first_of("\\/", pos);
    if (end == std::string_view::npos) end = sim_path.size();
    std::string_view part = sim_path.substr(pos, end - pos);
    if (!part.empty() && part != ".") result /= match_entry(result, part);
    pos = end + 1;
  }
  return result.string();
}

bool is_safe_file_name(std::string_view name) {
  if (name.empty() || name == "." || name.find("..") != std::string_view::npos) return false;
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}
