// One full frame of the corporate navigation displays, FMS update plus draw into a
// raster image, over the full-size synthetic database at the dense point, with
// every map switch on and a plan ahead: the Pro Line 4 MFD MAP format (494 x 570)
// and the EFS 50 EHSI format 6 with the FMS source (532 x 460), at 40 and 320 NM; the
// DU-1000 EHSI mode 3 (477 x 465) and the Primus 1000 MFD map (408 x 471, full frames
// twice in 92 updates, the masks in between), at 40 and 160 NM.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/nd_frame_bench.h"
#include "displays/nd_corporate/nd_corporate.h"
#include "draw/draw_toolkit.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "module/display_state.h"

namespace {

using Dispatcher = void (*)(GaugeSurface*, DeviceContext, int32_t, int32_t, int32_t);

void frames(benchmark::State& state, Dispatcher draw, int32_t w, int32_t h) {
  nd_frame_bench::start();
  uintptr_t token = gdiplus_start();
  std::vector<uint32_t> pixels(size_t(w) * h);
  GaugeImage image{pixels.data(), w, h, w * 4, nullptr};
  GaugeSurface surface{w, h};
  nd_frame_bench::plan_ahead();
  mfd_apt_on = mfd_vor_on = mfd_int_on = mfd_ndb_on = 1;
  du1000_show_apt = du1000_show_vor = du1000_show_int = du1000_show_ndb = 1;
  p1000_show_navaids = p1000_show_airports = 1;
  atc_bdry_on = 1;
  for (auto _ : state) {
    nd_frame_bench::tick += 1;
    fms_update();
    display_power = 1;
    draw(&surface, &image, w, h, 1);
    benchmark::DoNotOptimize(pixels[size_t(w) * (h / 2) + w / 2]);
  }
  state.counters["airports"] = double(near_airports_count);
  state.counters["navaids"] = double(near_navaids_count);
  gdiplus_stop(token);
  ImportTable.panel_services = nullptr;
}

void BM_Proline4MfdMapFrame(benchmark::State& state) {
  proline4_mfd_format = 3;
  proline4_mfd_map_radius = 140;
  proline4_mfd_range = double(state.range(0));
  frames(state, proline4_mfd_draw, 494, 570);
}
BENCHMARK(BM_Proline4MfdMapFrame)->Arg(40)->Arg(320)->Unit(benchmark::kMillisecond);

void BM_Efs50EhsiFormat6Frame(benchmark::State& state) {
  efs50_ehsi_mode = 6;
  EFS50NavMode = 2;
  efs50_ehsi_range = double(state.range(0));
  frames(state, efs50_ehsi_draw, 532, 460);
}
BENCHMARK(BM_Efs50EhsiFormat6Frame)->Arg(40)->Arg(320)->Unit(benchmark::kMillisecond);

void BM_Du1000EhsiMode3Frame(benchmark::State& state) {
  du1000_ehsi_mode = 3;
  du1000_ehsi_range = double(state.range(0));
  frames(state, du1000_ehsi_draw, 477, 465);
}
BENCHMARK(BM_Du1000EhsiMode3Frame)->Arg(40)->Arg(160)->Unit(benchmark::kMillisecond);

void BM_P1000MfdMapFrame(benchmark::State& state) {
  p1000_plan_view = 0;
  p1000_mfd_range = double(state.range(0));
  frames(state, p1000_mfd_draw, 408, 471);
}
BENCHMARK(BM_P1000MfdMapFrame)->Arg(40)->Arg(160)->Unit(benchmark::kMillisecond);

}  // namespace
