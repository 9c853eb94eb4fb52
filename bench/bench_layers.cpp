// Map layers of one display over the full-size synthetic database: the B737 ND's
// airport, navaid and intersection layers drawn into a 488 x 604 gauge image at
// the dense point, at the largest range each layer is drawn (airports and navaids
// 160 NM, intersections 40 NM), with the nearby lists kept (aircraft still) and
// with the close lists rebuilt every frame (aircraft jumping 60 NM).
// The database comes from scripts/gen_navdb.py; its folder is VEK_NAVDB_BENCH_ROOT
// (default /tmp/vek_navdb_bench).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "draw/intersection_layer.h"
#include "draw/map_layer_frame.h"
#include "draw/navaid_layer.h"
#include "draw/nearby_airport_layer.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "module/module_paths.h"
#include "bench_database.h"
#include "navdb/navdb.h"
#include "platform/gfx/gfx_recording.h"

namespace {

constexpr int32_t W = 488, H = 604;
constexpr double kDenseLat = 50.0, kDenseLon = 8.0;

void ensure_loaded() {
  load_bench_database();
}

struct Frame {
  std::vector<uint32_t> pixels;
  GaugeImage image;
  GaugeSurface surface{W, H};
  uintptr_t token = 0;
  explicit Frame(bool raster) : pixels(raster ? size_t(W) * H : 0), image{raster ? pixels.data() : nullptr, W, H, W * 4, nullptr} {
    token = gdiplus_start();
    if (!raster) gfx_recording_enable(&image);
  }
  ~Frame() {
    if (!image.pixels) gfx_recording_disable(&image);
    gdiplus_stop(token);
  }
  void draw(double airport_range, double navaid_range, double fix_range) {
    if (!image.pixels) gfx_recording_of(&image)->clear();
    GfxGraphics* g = nullptr;
    if (gfx_create(&image, &g) != GFX_OK) return;
    gfx_clear(g, COLOUR_BLACK);
    b737_nd_range = airport_range;
    draw_b737_nd_airports_layer(&surface, g);
    b737_nd_range = navaid_range;
    draw_b737_nd_navaids_layer(&surface, g);
    b737_nd_range = fix_range;
    draw_b737_nd_fixes_layer(&surface, g);
    gfx_delete(g);
  }
};

void setup_b737() {
  ensure_loaded();
  b737_nd_mode = 5;
  b737_nd_map_radius = 215;
  b737_nd_center_y = 249;
  nd_apt_on = nd_nav_on = nd_int_on = 1;
  present_lat = kDenseLat;
  present_lon = kDenseLon;
  map_heading = heading = 30;
}

void counters(benchmark::State& state) {
  state.counters["near_airports"] = near_airports_count;
  state.counters["near_navaids"] = near_navaids_count;
  state.counters["near_fixes"] = near_airway_fixes_count;
}

void BM_B737LayersStill(benchmark::State& state) {
  setup_b737();
  Frame f(state.range(0) != 0);
  f.draw(160, 160, 40);
  for (auto _ : state) f.draw(160, 160, 40);
  counters(state);
  if (!f.image.pixels) state.counters["labels"] = gfx_recording_of(&f.image)->count(GfxOp::Text);
}
BENCHMARK(BM_B737LayersStill)->Arg(1)->Arg(0)->ArgName("raster")->Unit(benchmark::kMillisecond);

void BM_B737LayersCloseListsRebuilt(benchmark::State& state) {
  setup_b737();
  Frame f(true);
  f.draw(160, 160, 40);
  bool east = false;
  for (auto _ : state) {
    east = !east;
    present_lon = kDenseLon + (east ? 1.55 : 0.0);  // about 60 NM at 50N
    f.draw(160, 160, 40);
  }
  counters(state);
}
BENCHMARK(BM_B737LayersCloseListsRebuilt)->Unit(benchmark::kMillisecond);

void BM_B737AirportsOnly160(benchmark::State& state) {
  setup_b737();
  Frame f(true);
  nd_nav_on = nd_int_on = 0;
  f.draw(160, 160, 40);
  for (auto _ : state) f.draw(160, 160, 40);
  counters(state);
}
BENCHMARK(BM_B737AirportsOnly160)->Unit(benchmark::kMillisecond);

}  // namespace
