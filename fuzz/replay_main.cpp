// Replays a corpus without libFuzzer: each file of the folders named on the command line
// is one input of the target, run under the sanitizers of the build. A folder without
// inputs fails, so that a lost corpus does not pass unseen.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  int failures = 0;
  for (int a = 1; a < argc; ++a) {
    std::vector<fs::path> inputs;
    std::error_code ec;
    for (fs::directory_iterator it(argv[a], ec), end; !ec && it != end; it.increment(ec))
      if (it->is_regular_file(ec)) inputs.push_back(it->path());
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
      std::fprintf(stderr, "%s: no inputs\n", argv[a]);
      ++failures;
    }
    for (const fs::path& p : inputs) {
      std::ifstream in(p, std::ios::binary);
      std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      static const uint8_t empty = 0;  // libFuzzer never passes null
      LLVMFuzzerTestOneInput(data.empty() ? &empty : data.data(), data.size());
    }
    std::printf("%s: %zu inputs replayed\n", argv[a], inputs.size());
  }
  return failures > 0 || argc < 2 ? 1 : 0;
}
