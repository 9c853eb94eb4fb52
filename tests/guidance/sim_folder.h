// A temporary simulator folder for one test: files written under it, `sim_root_path`
// pointed at it, removed at the end.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "module/module_paths.h"

class SimFolder {
 public:
  SimFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vek_guidance_XXXXXX").string();
    root_ = mkdtemp(pattern.data()) ? pattern : std::string();
    sim_root_path = root_;
  }
  ~SimFolder() {
    std::error_code ec;
    if (!root_.empty()) std::filesystem::remove_all(root_, ec);
  }
  SimFolder(const SimFolder&) = delete;
  SimFolder& operator=(const SimFolder&) = delete;

  // Writes `text` to `relative` (with "/" separators), creating folders.
  std::string write(const std::string& relative, const std::string& text) const {
    std::filesystem::path p = std::filesystem::path(root_) / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  void make_dir(const std::string& relative) const {
    std::filesystem::create_directories(std::filesystem::path(root_) / relative);
  }
  const std::string& root() const { return root_; }

 private:
  std::string root_;
};
