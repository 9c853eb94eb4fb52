// All screens of the sample panels on one panel, each drawn every frame, as the simulated
// host runs them: every gauge with a drawn image placed in data/sample/panel*.cfg (one
// placement per gauge and parameters, in the window it sits in, every window shown), the
// first SERVER, the aircraft at the dense point of the synthetic database with a plan
// ahead and every map layer on. The map displays show their maps at 40 NM (DU-1000
// 30 NM); the C-17 MFD "2" shows the arc map. One iteration is one host frame.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "bench/nd_frame_bench.h"
#include "gauges/gauge_table.h"
#include "host/panel_config.h"
#include "host/sim_host.h"

namespace {

namespace fs = std::filesystem;

bool draws_image(const std::string& gauge) {
  for (int i = 0; i < gauge_table_size; ++i) {
    const GaugeHeader* h = gauge_table[i];
    if (!h || gauge != h->name) continue;
    for (int32_t e = 0; e < h->element_count; ++e)
      if (h->elements[e].kind == ELEMENT_DRAWN) return true;
  }
  return false;
}

// The screens of every sample panel, windows merged by ident.
simhost::PanelConfig all_screens_panel(int* screens) {
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
std::string make_sim_folder() {
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

// The host makes the simulator folder the current directory; the benchmark gives it back.
void BM_AllScreens(benchmark::State& state) {
  const fs::path cwd = fs::current_path();
  const std::string folder = make_sim_folder();
  int screens = 0;
  {
    simhost::SimHost host;
    host.set_sim_folder(folder);
    host.attach_module(&Linkage, &ImportTable);
    host.set_panel(all_screens_panel(&screens));
    simhost::AircraftState& a = host.aircraft().state();
    a.lat = nd_frame_bench::kDenseLat;
    a.lon = nd_frame_bench::kDenseLon;
    a.altitude_ft = 10000;
    a.heading_true = 0;
    a.ias_kt = 250;
    a.on_ground = false;
    host.aircraft().refresh();
    std::string error;
    if (!host.start(&error)) state.SkipWithError(error.c_str());
    refuse_without_database();
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
    for (auto _ : state) host.run_frames(1);
    state.counters["screens"] = screens;
    state.counters["airports"] = double(near_airports_count);
    host.stop();
  }
  std::error_code ec;
  fs::current_path(cwd, ec);
  fs::remove_all(folder, ec);
}
BENCHMARK(BM_AllScreens)->Unit(benchmark::kMillisecond);

}  // namespace
