// One full frame of the corporate navigation displays, FMS update plus draw into a
// raster image, over the full-size synthetic database at the dense point, with
// every map switch on and a plan ahead: the Pro Line 4 MFD MAP format (494 x 570)
// and the EFS 50 EHSI format 6 with the FMS source (532 x 460), at 40 and 320 NM.
// The database comes from scripts/gen_navdb.py; its folder is VEK_NAVDB_BENCH_ROOT
// (default /tmp/vek_navdb_bench).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "displays/nd_corporate/nd_corporate.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "module/display_state.h"
#include "module/module_paths.h"
#include "navdb/navdb.h"
#include "platform/host/sim_token_ids.h"

namespace {

constexpr double kDenseLat = 50.0, kDenseLon = 8.0;

double tick = 0;

void bench_read_token(TokenVar* var) {
  switch (var->id) {
    case TOK_TICK_COUNTER: var->value = tick; break;
    case TOK_LATITUDE: var->value = kDenseLat * 111130.555557; break;
    case TOK_LONGITUDE: var->value = kDenseLon * 781874935307.4; break;
    default: var->value = 0; break;
  }
}

PanelServiceTable services{};

void ensure_loaded() {
  if (navdb_loaded) return;
  const char* root = std::getenv("VEK_NAVDB_BENCH_ROOT");
  sim_root_path = root ? root : "/tmp/vek_navdb_bench";
  load_navigation_database();
  if (nav_airport_count == 0) std::fprintf(stderr, "no database under %s\n", sim_root_path.c_str());
}

// Five waypoints 20 NM apart heading north from the dense point.
void plan_ahead() {
  clear_fpl_active();
  for (int32_t i = 0; i < 5; ++i) {
    clear_fpl_record(fpl_active[i]);
    std::snprintf(fpl_active[i].ident, sizeof fpl_active[i].ident, "WPT%d", i);
    compute_dest_point(kDenseLat, kDenseLon, 0, 20.0 * i, fpl_active[i].lat, fpl_active[i].lon);
  }
  set_end_record(fpl_active[5]);
  fpl_active_last = 4;
  fpl_active_index = 1;
  fpl_changed_state = 3;
}

using Dispatcher = void (*)(GaugeSurface*, DeviceContext, int32_t, int32_t, int32_t);

void frames(benchmark::State& state, Dispatcher draw, int32_t w, int32_t h) {
  ensure_loaded();
  services.read_token_var = bench_read_token;
  ImportTable.panel_services = &services;
  uintptr_t token = gdiplus_start();
  std::vector<uint32_t> pixels(size_t(w) * h);
  GaugeImage image{pixels.data(), w, h, w * 4, nullptr};
  GaugeSurface surface{w, h};
  plan_ahead();
  mfd_apt_on = mfd_vor_on = mfd_int_on = mfd_ndb_on = 1;
  atc_bdry_on = 1;
  for (auto _ : state) {
    tick += 1;
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

}  // namespace
