// What the display frame benchmarks share: the host's token reader at the dense point
// of the synthetic database, the database load, a plan ahead of the aircraft, every
// layer switch on, the one frame loop (FMS update plus draw into a raster image) and
// the registration of one benchmark per format and range.
// The database comes from scripts/gen_navdb.py; its folder is VEK_NAVDB_BENCH_ROOT
// (default /tmp/vek_navdb_bench).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "gauges/panel_steppers.h"
#include "module/module_paths.h"
#include "bench_database.h"
#include "navdb/navdb.h"
#include "platform/host/gauge_host.h"
#include "platform/host/sim_token_ids.h"

namespace nd_frame_bench {

constexpr double kDenseLat = 50.0, kDenseLon = 8.0;

inline double tick = 0;

inline void read_token(TokenVar* var) {
  switch (var->id) {
    case TOK_TICK_COUNTER: var->value = tick; break;
    case TOK_LATITUDE: var->value = kDenseLat * 111130.555557; break;
    case TOK_LONGITUDE: var->value = kDenseLon * 781874935307.4; break;
    default: var->value = 0; break;
  }
}

inline PanelServiceTable services{};

// Loads the database once and serves the tokens.
inline void start() {
  services.read_token_var = read_token;
  ImportTable.panel_services = &services;
  load_bench_database();
}

// Five waypoints 20 NM apart heading north from the dense point.
inline void plan_ahead() {
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

// Every map layer switch of every display on.
inline void all_layers_on() {
  nd_apt_on = nd_nav_on = nd_int_on = 1;
  md11_nd_apt_on = md11_nd_nav_on = md11_nd_int_on = 1;
  md80_ehsi_apt_on = md80_ehsi_nav_on = md80_ehsi_int_on = 1;
  du1000_show_apt = du1000_show_vor = du1000_show_int = du1000_show_ndb = 1;
  mfd_apt_on = mfd_vor_on = mfd_int_on = mfd_ndb_on = 1;
  p1000_show_navaids = p1000_show_airports = 1;
  c17_mfd_route_on = 1;
  atc_bdry_on = 1;
}

// Format and range selection of each map display, as its control panel keys leave them.
namespace choose {

inline void b737(int mode, double range) {
  b737_nd_mode = mode;
  b737_nd_range = range;
}

// The mode buttons set the map radius with the mode (2 PLAN, 3 MAP, 4 VOR, 5 APPR).
inline void md11(int mode, double range) {
  switch (mode) {
    case 2: md11_nd_select_plan(); break;
    case 3: md11_nd_select_map(); break;
    case 4: md11_nd_select_vor(); break;
    default: md11_nd_select_appr(); break;
  }
  md11_nd_range = range;
}

inline void md80(int mode, double range) {
  md80_ehsi_mode = mode;
  md80_ehsi_range = range;
}

// The format keys set the map radius with the format.
inline void proline4(int format, double range) {
  for (int i = 0; i < 4 && proline4_mfd_format != format; ++i) efis_mode_step_up(11);
  proline4_mfd_range = range;
}

// With the FMS source.
inline void efs50(int format, double range) {
  efs50_ehsi_mode = format;
  EFS50NavMode = 2;
  efs50_ehsi_range = range;
}

inline void du1000(int mode, double range) {
  du1000_ehsi_mode = mode;
  du1000_ehsi_range = range;
}

// Leaving the plan view restores the map centre and radius.
inline void p1000(int plan_view, double range) {
  if ((p1000_plan_view != 0) != (plan_view != 0)) p1000_plan_view_toggle();
  p1000_mfd_range = range;
}

// The working state's format.
inline void c17(int format, double range) {
  c17_mfd_mode = format;
  c17_mfd_range = range;
}

}  // namespace choose

// Draws one display's frame into the caller's image.
using DrawFn = void (*)(GaugeSurface* surface, DeviceContext image, int32_t width, int32_t height);

// The timed loop: frame by frame the FMS update, then `draw` into a w x h raster image,
// at the dense point with the plan ahead and every layer on. The caller sets the
// display's format and range first.
inline void frames(benchmark::State& state, int32_t w, int32_t h, DrawFn draw) {
  start();
  uintptr_t token = gdiplus_start();
  std::vector<uint32_t> pixels(size_t(w) * h);
  GaugeImage image{pixels.data(), w, h, w * 4, nullptr};
  GaugeSurface surface{w, h};
  plan_ahead();
  all_layers_on();
  for (auto _ : state) {
    tick += 1;
    fms_update();
    display_power = 1;
    draw(&surface, &image, w, h);
    benchmark::DoNotOptimize(pixels[size_t(w) * (h / 2) + w / 2]);
  }
  state.counters["airports"] = double(near_airports_count);
  state.counters["navaids"] = double(near_navaids_count);
  gdiplus_stop(token);
  ImportTable.panel_services = nullptr;
}

// A display's range ladder as its own range keys step it: up to the top, then down
// to the end (or until it wraps), with the minimum map range at its lowest. The range
// is left at its start value.
inline std::vector<double> ladder(double& range, void (*down)(), void (*up)()) {
  const double start_range = range, start_min = MinMapRange;
  MinMapRange = 0.5;
  for (int i = 0; i < 32; ++i) {
    double before = range;
    up();
    if (range <= before) {
      range = std::max(range, before);
      break;
    }
  }
  std::vector<double> out{range};
  for (int i = 0; i < 32; ++i) {
    down();
    if (range >= out.back()) break;
    out.push_back(range);
  }
  range = start_range;
  MinMapRange = start_min;
  return out;
}

// One benchmark per format and range, "NAME/AXIS:M/range:R" (AXIS names the formats:
// mode, format, page): `set(m, r)` selects them before the frames. No formats or no
// ranges leave that part out of the name (and pass 0).
inline void register_formats(const char* name, const char* axis, const std::vector<int>& formats,
                             const std::vector<double>& ranges, int32_t w, int32_t h, void (*set)(int format, double range),
                             DrawFn draw) {
  const std::vector<int> f = formats.empty() ? std::vector<int>{0} : formats;
  const std::vector<double> r = ranges.empty() ? std::vector<double>{0} : ranges;
  for (int format : f) {
    for (double range : r) {
      char title[160];
      int n = std::snprintf(title, sizeof title, "%s", name);
      if (!formats.empty() && n >= 0 && size_t(n) < sizeof title)
        n += std::snprintf(title + n, sizeof title - size_t(n), "/%s:%d", axis, format);
      if (!ranges.empty() && n >= 0 && size_t(n) < sizeof title)
        std::snprintf(title + n, sizeof title - size_t(n), "/range:%g", range);
      benchmark::RegisterBenchmark(title, [=](benchmark::State& state) {
        set(format, range);
        frames(state, w, h, draw);
      })->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace nd_frame_bench
