// One full B737 ND frame, FMS update plus draw into a 488 x 604 raster image, over
// the full-size synthetic database at the dense point, in the expanded map at 40 NM
// and 320 NM with every map switch on and a plan ahead.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/nd_frame_bench.h"
#include "displays/nd_transport/nd_transport.h"
#include "draw/draw_toolkit.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "module/display_state.h"

namespace {

constexpr int32_t W = 488, H = 604;

void BM_B737NdFrame(benchmark::State& state) {
  nd_frame_bench::start();
  uintptr_t token = gdiplus_start();
  std::vector<uint32_t> pixels(size_t(W) * H);
  GaugeImage image{pixels.data(), W, H, W * 4, nullptr};
  GaugeSurface surface{W, H};
  nd_frame_bench::plan_ahead();
  display_power = 1;
  b737_nd_mode = 5;
  b737_nd_range = double(state.range(0));
  nd_apt_on = nd_nav_on = nd_int_on = 1;
  for (auto _ : state) {
    nd_frame_bench::tick += 1;
    fms_update();
    display_power = 1;
    hw_b737_nd_draw(&surface, &image, W, H, 1);
    benchmark::DoNotOptimize(pixels[size_t(W) * 300 + 244]);
  }
  state.counters["airports"] = double(near_airports_count);
  state.counters["navaids"] = double(near_navaids_count);
  gdiplus_stop(token);
  ImportTable.panel_services = nullptr;
}
BENCHMARK(BM_B737NdFrame)->Arg(40)->Arg(320)->Unit(benchmark::kMillisecond);

}  // namespace
