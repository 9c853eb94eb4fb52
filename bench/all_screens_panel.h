// The panel of every sample screen and the simulator folder the all-screens benchmarks
// fly in: every gauge with a drawn image placed in data/sample/panel*.cfg (one placement
// per gauge and parameters, in the window it sits in, every window shown) and the first
// SERVER; the sample's settings and aircraft over the benchmark database.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_database.h"
#include "bench/nd_frame_bench.h"
#include "host/aircraft_model.h"
#include "host/panel_config.h"
#include "gauges/gauge_table.h"

namespace all_screens {

namespace fs = std::filesystem;

inline bool draws_image(const std::string& gauge) {
  for (int i = 0; i < gauge_table_size; ++i) {
    const GaugeHeader* h = gauge_table[i];
    if (!h || gauge != h->name) continue;
    for (int32_t e = 0; e < h->element_count; ++e)
      if (h->elements[e].kind == ELEMENT_DRAWN) return true;
  }
  return false;
}

// The screens of every sample panel, windows merged by ident.
inline simhost::PanelConfig all_screens_panel(int* screens) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(VEK_BENCH_SAMPLE_ROOT)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("panel") && name.ends_with(".cfg")) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::map<int, simhost::PanelWindow> windows;
  std::set<std::pair<std::string, std::string>> placed;
  bool server = false;
  *screens = 0;
  for (const fs::path& file : files) {
    simhost::PanelConfig panel;
    std::string error;
    if (!simhost::read_panel_config(file.string(), &panel, &error)) continue;
    for (const simhost::PanelWindow& w : panel.windows) {
      simhost::PanelWindow& merged = windows[w.ident];
      merged.ident = w.ident;
      merged.visible = true;
      for (const simhost::Placement& p : w.gauges) {
        const bool is_server = p.gauge == "SERVER";
        if (is_server ? server : (!draws_image(p.gauge) || !placed.insert({p.gauge, p.parameters}).second)) continue;
        server = server || is_server;
        *screens += is_server ? 0 : 1;
        merged.gauges.push_back(p);
      }
    }
  }
  simhost::PanelConfig out;
  for (auto& [ident, w] : windows) {
    w.number = int(out.windows.size());
    out.windows.push_back(w);
  }
  return out;
}

// A simulator folder of the sample's settings and aircraft over the benchmark database.
inline std::string make_sim_folder() {
  char tmpl[] = "/tmp/vek-all-screens-XXXXXX";
  const std::string folder = mkdtemp(tmpl);
  const fs::path vek = fs::path(folder) / "vek";
  const fs::path sample = fs::path(VEK_BENCH_SAMPLE_ROOT) / "vek";
  fs::create_directories(vek);
  fs::copy_file(sample / "vek.cfg", vek / "vek.cfg");
  fs::copy(sample / "Aircraft", vek / "Aircraft", fs::copy_options::recursive);
  fs::create_directory_symlink(fs::absolute(fs::path(bench_database_root()) / "vek" / "navdata"), vek / "navdata");
  return folder;
}

// The aircraft in the air at the dense point, heading north.
inline void at_dense_point(simhost::AircraftState& a, double altitude_ft, double ias_kt) {
  a.lat = nd_frame_bench::kDenseLat;
  a.lon = nd_frame_bench::kDenseLon;
  a.altitude_ft = altitude_ft;
  a.heading_true = 0;
  a.ias_kt = ias_kt;
  a.on_ground = false;
}

// The plan ahead, every layer on and each map display on its map: 40 NM (DU-1000 30 NM),
// the C-17 MFD "2" on the arc map.
inline void maps_at_40nm() {
  nd_frame_bench::plan_ahead();
  nd_frame_bench::all_layers_on();
  nd_frame_bench::choose::b737(5, 40);
  nd_frame_bench::choose::md11(3, 40);
  nd_frame_bench::choose::md80(1, 40);
  nd_frame_bench::choose::efs50(6, 40);
  nd_frame_bench::choose::proline4(3, 40);
  nd_frame_bench::choose::du1000(3, 30);
  nd_frame_bench::choose::p1000(0, 40);
  c17_mfd_range = 40;
  c17_mfd_instances[2].format = 3;
}

}  // namespace all_screens
