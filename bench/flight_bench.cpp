// A flight over the benchmark database with every sample screen on one panel
// (bench/all_screens_panel.h), timed frame by frame through the host: each gauge's
// per-frame services (update and draw) and the whole host frame. The script: lift-off
// at the dense point with the maps at their shortest range, a climb stepping every map
// up its range ladder, a standard-rate turn, cruise, the plan views stepped from waypoint
// to waypoint, then paused. Prints median, p95, p99 and max of the whole frame and each map
// display per phase, and of every screen over the flight, beside the targets, the navigation
// database's load beside its own target, the start (gauges and first frame, for information)
// and the resident memory at the end.
// Usage: flight_bench [--minutes N]   N more minutes of simulated flight (turns and range
// steps) after the script, for the memory plateau: resident memory and the minute's host-frame
// p99 are printed each minute; those minutes are not in the tables.
//        flight_bench --vector-bits   prints the width of the vectors the blend would run with
// (VEK_VECTOR_BITS=256 keeps it to 256 bits) and stops.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/all_screens_panel.h"
#include "bench/nd_frame_bench.h"
#include "bench/resident_memory.h"
#include "host/sim_host.h"
#include "module/module_paths.h"
#include "navdb/navdb.h"
#include "platform/gfx/gfx_internal.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kLongFlight = "long flight";
constexpr double kMapTargetMs = 4.0, kAllTargetMs = 16.0, kLoadTargetMs = 50.0, kRssTargetMb = 120.0;

// The per-frame services of each placement, timed by a callback standing in for the
// module's: the time of every call this frame, by placement.
struct Timed {
  GaugeCallback callback = nullptr;
  size_t slot = 0;
};
std::unordered_map<GaugeHeader*, Timed> timed;
std::vector<double> frame_ms;  // by slot, this frame

void timed_callback(GaugeHeader* gauge, int32_t service, uintptr_t extra) {
  const Timed& t = timed.at(gauge);
  if (service != PANEL_SERVICE_PRE_UPDATE && service != PANEL_SERVICE_DRAW) {
    t.callback(gauge, service, extra);
    return;
  }
  const Clock::time_point start = Clock::now();
  t.callback(gauge, service, extra);
  frame_ms[t.slot] += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool is_map_display(const std::string& gauge) {
  static const char* const maps[] = {"HW_B737_ND", "HW_MD11_ND",  "MD80_EHSI_NB", "EFS50_EHSI",
                                     "DU_1000_EHSI", "PROLINE4_MFD", "P1000_MFD",  "C17_MFD"};
  for (const char* m : maps)
    if (gauge == m) return true;
  return false;
}

double rss_mb() { return resident_kb() / 1024.0; }

struct Stats {
  double median = 0, p95 = 0, p99 = 0, max = 0;
};

Stats stats(std::vector<double> v) {
  Stats s;
  if (v.empty()) return s;
  std::sort(v.begin(), v.end());
  auto at = [&](double q) { return v[std::min(v.size() - 1, size_t(q * double(v.size() - 1) + 0.5))]; };
  s.median = at(0.5);
  s.p95 = at(0.95);
  s.p99 = at(0.99);
  s.max = v.back();
  return s;
}

struct Samples {
  std::vector<std::string> names;                 // by slot
  std::vector<std::vector<double>> by_slot;       // per frame
  std::vector<double> frame;                      // whole host frame
  std::map<std::string, std::vector<size_t>> phase_frames;  // indexes into `frame`
  std::vector<std::string> phase_order;
};

int misses = 0;

void row(const std::string& name, const Stats& s, double target) {
  const bool miss = target > 0 && s.p99 >= target;
  misses += miss;
  std::printf("  %-30s %8.2f %8.2f %8.2f %8.2f %8s %s\n", name.c_str(), s.median, s.p95, s.p99, s.max,
              target > 0 ? (std::to_string(int(target)) + " p99").c_str() : "", miss ? "miss" : "");
}

// The rows of a table: the whole frame, after the map displays (a phase's) or every screen.
enum class Rows { MAPS, SCREENS };

void print_table(const Samples& in, const std::vector<size_t>& frames, Rows rows) {
  std::printf("  %-30s %8s %8s %8s %8s %8s\n", "screen (ms)", "median", "p95", "p99", "max", "target");
  for (size_t slot = 0; slot < in.names.size(); ++slot) {
    const std::string gauge = in.names[slot].substr(0, in.names[slot].find(':'));
    const bool map = is_map_display(gauge);
    if (rows == Rows::MAPS && !map) continue;
    std::vector<double> v;
    for (size_t f : frames) v.push_back(in.by_slot[slot][f]);
    row(in.names[slot], stats(v), map ? kMapTargetMs : 0);
  }
  if (rows == Rows::SCREENS) {
    std::vector<double> v;
    for (size_t f : frames) {
      double sum = 0;
      for (size_t slot = 0; slot < in.names.size(); ++slot) sum += in.by_slot[slot][f];
      v.push_back(sum);
    }
    row("sum of the screens' services", stats(v), 0);
  }
  std::vector<double> v;
  for (size_t f : frames) v.push_back(in.frame[f]);
  row("all screens (host frame)", stats(v), kAllTargetMs);
}

}  // namespace

int main(int argc, char** argv) {
  double extra_minutes = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--minutes") == 0 && i + 1 < argc) extra_minutes = std::atof(argv[++i]);
    if (std::strcmp(argv[i], "--vector-bits") == 0) {
      std::printf("%d\n", gfx_vector_bits());
      return 0;
    }
  }
  const fs::path cwd = fs::current_path();
  const std::string folder = all_screens::make_sim_folder();
  int screens = 0;
  Samples samples;
  double load_ms = 0, start_ms = 0, rss = 0;
  {
    simhost::SimHost host;
    host.set_sim_folder(folder);
    host.attach_module(&Linkage, &ImportTable);
    host.set_panel(all_screens::all_screens_panel(&screens));
    simhost::AircraftState& a = host.aircraft().state();
    all_screens::at_dense_point(a, 400, 160);  // just after lift-off
    a.ap_master = true;
    a.ap_heading_hold = true;
    a.ap_heading = 0;
    a.ap_altitude_hold = true;
    a.ap_altitude_ft = 35000;
    a.ap_vs_fpm = 2500;
    a.ap_airspeed_hold = true;
    a.ap_airspeed_kt = 250;
    host.aircraft().refresh();
    // The database loaded first, timed on its own, from the folder the gauges record as
    // the simulator's: the gauges then find it loaded.
    sim_root_path = folder;
    const Clock::time_point load_start = Clock::now();
    load_navigation_database();
    load_ms = std::chrono::duration<double, std::milli>(Clock::now() - load_start).count();
    std::string error;
    const Clock::time_point start = Clock::now();
    if (!host.start(&error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    refuse_without_database();
    all_screens::maps_at_40nm();
    for (int i = 0; i < 12; ++i) {
      nd_range_down();
      efs50_range_down();
    }
    host.run_frames(1);
    start_ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    for (const auto& g : host.gauges()) {
      timed[&g->header] = Timed{g->header.callback, samples.names.size()};
      g->header.callback = timed_callback;
      samples.names.push_back(g->parameters.empty() ? g->name : g->name + ":" + g->parameters);
    }
    samples.by_slot.resize(samples.names.size());
    frame_ms.assign(samples.names.size(), 0.0);

    const int fps = host.frame_rate();
    // A phase's frames are kept for the tables; the minutes after the script keep only the
    // current minute's host frames, so that the resident figure is the module's, not the
    // samples' (about 200 bytes a frame).
    std::vector<double> minute_frames;
    auto fly = [&](const std::string& phase, double seconds, auto&& each_second) {
      const bool kept = phase != kLongFlight;
      if (kept && samples.phase_frames.find(phase) == samples.phase_frames.end()) samples.phase_order.push_back(phase);
      const int64_t frames = int64_t(std::llround(seconds * fps));
      minute_frames.clear();
      for (int64_t f = 0; f < frames; ++f) {
        if (f % fps == 0) each_second(int(f / fps));
        std::fill(frame_ms.begin(), frame_ms.end(), 0.0);
        const Clock::time_point t0 = Clock::now();
        host.run_frames(1);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        if (!kept) {
          minute_frames.push_back(ms);
          continue;
        }
        samples.frame.push_back(ms);
        for (size_t s = 0; s < frame_ms.size(); ++s) samples.by_slot[s].push_back(frame_ms[s]);
        samples.phase_frames[phase].push_back(samples.frame.size() - 1);
      }
    };
    auto nothing = [](int) {};
    auto range_up_every = [](int period) {
      return [period](int s) {
        if (s > 0 && s % period == 0) {
          nd_range_up();
          efs50_range_up();
        }
      };
    };
    auto turn_to = [&](double heading) {
      a.ap_heading = std::fmod(heading + 360.0, 360.0);
    };

    fly("take-off", 15, nothing);
    fly("climb, range steps", 60, range_up_every(10));  // five steps up
    nd_frame_bench::choose::b737(6, b737_nd_range);       // the centred map
    fly("standard-rate turn", 60, [&](int s) {
      if (s == 0) turn_to(a.heading_true + 90);
      if (s == 25) turn_to(a.heading_true + 90);
    });
    fly("cruise", 40, nothing);
    nd_frame_bench::choose::b737(7, b737_nd_range);
    nd_frame_bench::choose::md11(2, md11_nd_range);
    nd_frame_bench::choose::p1000(1, p1000_mfd_range);
    c17_mfd_instances[2].format = 6;
    fly("plan views, stepping", 30, [&](int s) {
      if (s % 3 == 0) plan_center_index = 1 + (s / 3) % 4;
    });
    a.paused = true;
    fly("paused", 10, nothing);
    a.paused = false;

    if (extra_minutes > 0) {
      nd_frame_bench::choose::b737(6, b737_nd_range);
      nd_frame_bench::choose::md11(3, md11_nd_range);
      nd_frame_bench::choose::p1000(0, p1000_mfd_range);
      c17_mfd_instances[2].format = 3;
      for (int m = 0; m < int(extra_minutes); ++m) {
        fly(kLongFlight, 60, [&](int s) {
          if (s == 0) turn_to(a.heading_true + 90);
          if (s == 30) turn_to(a.heading_true + 90);
          if (s == 45) (m % 6 < 3) ? nd_range_up() : nd_range_down();
        });
        std::printf("minute %d: resident %.1f MB, host frame p99 %.2f ms\n", m + 1, rss_mb(), stats(minute_frames).p99);
        std::fflush(stdout);
      }
    }
    rss = rss_mb();
    host.stop();
  }
  std::error_code ec;
  fs::current_path(cwd, ec);
  fs::remove_all(folder, ec);

  std::printf("flight over %s: %d screens, %zu frames, %d-bit vectors\n", bench_database_root(), screens,
              samples.frame.size(), gfx_vector_bits());
  for (const std::string& phase : samples.phase_order) {
    std::printf("%s (%zu frames)\n", phase.c_str(), samples.phase_frames[phase].size());
    print_table(samples, samples.phase_frames[phase], Rows::MAPS);
  }
  std::vector<size_t> all(samples.frame.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  std::printf("whole flight, each screen's update and draw\n");
  print_table(samples, all, Rows::SCREENS);
  const bool load_miss = load_ms >= kLoadTargetMs;
  misses += load_miss + (rss >= kRssTargetMb);
  std::printf("navigation database load: %.1f ms (target %g)%s\n", load_ms, kLoadTargetMs, load_miss ? " miss" : "");
  std::printf("start (gauges, first frame): %.1f ms\n", start_ms);
  std::printf("resident memory at the end of the flight: %.1f MB (target %g)%s\n", rss, kRssTargetMb,
              rss >= kRssTargetMb ? " miss" : "");
  std::printf("%d figures miss their target\n", misses);
  return 0;
}
