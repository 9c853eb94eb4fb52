// All screens of the sample panels on one panel (bench/all_screens_panel.h), each drawn
// every frame, as the simulated host runs them: the aircraft at the dense point of the
// synthetic database with a plan ahead and every map layer on. The map displays show
// their maps at 40 NM (DU-1000 30 NM); the C-17 MFD "2" shows the arc map. One iteration
// is one host frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/all_screens_panel.h"
#include "bench/nd_frame_bench.h"
#include "host/sim_host.h"

namespace {

using namespace all_screens;
namespace fs = std::filesystem;

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
    at_dense_point(host.aircraft().state(), 10000, 250);
    host.aircraft().refresh();
    std::string error;
    if (!host.start(&error)) state.SkipWithError(error.c_str());
    refuse_without_database();
    maps_at_40nm();
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
