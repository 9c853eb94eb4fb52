// Layers run one way: a source file includes headers of its own layer or of the
// layers below it, never of a layer above. The units sit side by side: one unit may
// include another only where the order below puts that one lower.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Folder prefixes (relative to the source root) with their layer, bottom first. A
// header's layer is that of the longest prefix it starts with.
struct Layer {
  const char* prefix;
  int rank;
};
constexpr Layer kLayers[] = {
    {"platform/", 0},
    {"geo/", 1},
    {"module/", 2},
    {"navdb/", 3},
    {"flightplan/", 4},
    {"guidance/", 5},
    {"draw/", 6},
    {"resources/", 6},
    {"cdu/smiths/", 7},
    {"displays/nd_transport/", 8},
    {"displays/nd_corporate/", 8},
    {"displays/attitude/", 8},
    {"cdu/gnsxls/", 8},
    {"cdu/mcu/", 8},
    {"c17/", 9},
    {"gauges/", 10},
};

const Layer* layer_of(const std::string& path) {
  const Layer* best = nullptr;
  for (const Layer& l : kLayers)
    if (path.rfind(l.prefix, 0) == 0 && (!best || std::string(l.prefix).size() > std::string(best->prefix).size()))
      best = &l;
  return best;
}

struct Violation {
  std::string file, include;
};

// Every include of a file under `root`/`folder` that reaches above the file's layer,
// or sideways into another unit of the same rank.
std::vector<Violation> upward_includes(const fs::path& root, const std::string& folder) {
  static const std::regex include_line(R"re(^\s*#\s*include\s*"([^"]+)")re");
  std::vector<Violation> found;
  for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
    if (!entry.is_regular_file()) continue;
    std::string ext = entry.path().extension().string();
    if (ext != ".h" && ext != ".cpp") continue;
    std::string rel = fs::relative(entry.path(), root).generic_string();
    if (rel.rfind("src/", 0) == 0) rel = rel.substr(4);
    const Layer* own = layer_of(rel);
    if (!own) continue;
    std::ifstream in(entry.path());
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
      if (!std::regex_search(line, m, include_line)) continue;
      const Layer* target = layer_of(m[1].str());
      if (!target) continue;
      bool above = target->rank > own->rank;
      bool sideways = target->rank == own->rank && std::string(target->prefix) != own->prefix;
      if (above || sideways) found.push_back({rel, m[1].str()});
    }
  }
  return found;
}

}  // namespace

TEST(Layering, NoFileIncludesAHeaderOfALayerAboveItsOwn) {
  fs::path root = VEK_SOURCE_ROOT;
  std::vector<Violation> all;
  for (const char* folder : {"src", "platform"})
    for (const Violation& v : upward_includes(root, folder)) all.push_back(v);
  for (const Violation& v : all) ADD_FAILURE() << v.file << " includes \"" << v.include << "\" from a layer above its own";
  EXPECT_TRUE(all.empty());
}

// The module is loaded at run time: a thread-local of the default model gets a block
// allocated per thread on first use, which the leak checker can misread at exit. Each is
// declared initial-exec, in the static block.
TEST(Layering, EveryThreadLocalOfTheModuleLivesInTheStaticBlock) {
  fs::path root = VEK_SOURCE_ROOT;
  for (const char* folder : {"src", "platform"})
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        if (line.find("thread_local ") == std::string::npos || line.find("//") < line.find("thread_local ")) continue;
        EXPECT_NE(line.find("tls_model(\"initial-exec\")"), std::string::npos) << entry.path() << ": " << line;
      }
    }
}
