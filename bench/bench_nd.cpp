// One full B737 ND frame, FMS update plus draw into a 488 x 604 raster image, over
// the full-size synthetic database at the dense point, in the expanded map at 40 NM
// and 320 NM with every map switch on and a plan ahead.
// The database comes from scripts/gen_navdb.py; its folder is VEK_NAVDB_BENCH_ROOT
// (default /tmp/vek_navdb_bench).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "displays/nd_transport/nd_transport.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "module/display_state.h"
#include "module/module_paths.h"
#include "navdb/navdb.h"
#include "platform/host/sim_token_ids.h"

namespace {

constexpr int32_t W = 488, H = 604;
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

void BM_B737NdFrame(benchmark::State& state) {
  ensure_loaded();
  services.read_token_var = bench_read_token;
  ImportTable.panel_services = &services;
  uintptr_t token = gdiplus_start();
  std::vector<uint32_t> pixels(size_t(W) * H);
  GaugeImage image{pixels.data(), W, H, W * 4, nullptr};
  GaugeSurface surface{W, H};
  plan_ahead();
  display_power = 1;
  b737_nd_mode = 5;
  b737_nd_range = double(state.range(0));
  nd_apt_on = nd_nav_on = nd_int_on = 1;
  for (auto _ : state) {
    tick += 1;
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
