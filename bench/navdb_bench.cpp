// Navigation database at the tables' scale: the full load at start-up, the nearby-list
// rebuilds at a dense point and at a sparse one (whole tables scanned), ident lookups.
// The database comes from scripts/gen_navdb.py (at the tables' scale, or with --world at
// the world's size and density); its folder is VEK_NAVDB_BENCH_ROOT (default
// /tmp/vek_navdb_bench).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "module/module_paths.h"
#include "module/sim_vars.h"
#include "bench_database.h"
#include "bench/resident_memory.h"
#include "navdb/navdb.h"
#include "navdb/navdb_load.h"

namespace {

constexpr double kDenseLat = 50.0, kDenseLon = 8.0;
constexpr double kSparseLat = -60.0, kSparseLon = -100.0;

void ensure_loaded() {
  load_bench_database();
}

void BM_FullLoad(benchmark::State& state) {
  ensure_loaded();
  for (auto _ : state) {
    clear_navigation_database();
    load_navigation_database();
  }
  state.counters["airports"] = nav_airport_count;
  state.counters["runways"] = nav_runway_count;
  state.counters["navaids"] = nav_navaid_count;
  state.counters["intersections"] = nav_intersection_count;
  state.counters["airway_fixes"] = nav_airway_fix_count;
  state.counters["procedures"] = nav_proc_count;
  state.counters["skipped"] = nav_lines_skipped;
  state.counters["dropped"] = nav_records_dropped;
  state.counters["rss_MB"] = resident_kb() / 1024.0;
}
BENCHMARK(BM_FullLoad)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();  // threads load

template <void (*Build)(double, double), void (*Wide)(double, double)>
void near_bench(benchmark::State& state, double lat, double lon, const int* count) {
  ensure_loaded();
  Wide(lat, lon);
  for (auto _ : state) {
    Build(lat, lon);
    benchmark::DoNotOptimize(*count);
  }
  state.counters["listed"] = *count;
}

void noop(double, double) {}

void BM_NearAirports600Dense(benchmark::State& s) { near_bench<build_near_airports, noop>(s, kDenseLat, kDenseLon, &near_airports_wide_count); }
void BM_NearAirports180Dense(benchmark::State& s) { near_bench<build_near_airports_close, build_near_airports>(s, kDenseLat, kDenseLon, &near_airports_count); }
void BM_NearNavaids600Dense(benchmark::State& s) { near_bench<build_near_navaids, noop>(s, kDenseLat, kDenseLon, &near_navaids_wide_count); }
void BM_NearNavaids320Dense(benchmark::State& s) { near_bench<build_near_navaids_close, build_near_navaids>(s, kDenseLat, kDenseLon, &near_navaids_count); }
void BM_NearAirwayFixes600Dense(benchmark::State& s) { near_bench<build_near_airway_fixes, noop>(s, kDenseLat, kDenseLon, &near_airway_fixes_wide_count); }
void BM_NearAirwayFixes200Dense(benchmark::State& s) {
  present_lat = kDenseLat;
  present_lon = kDenseLon;
  near_bench<build_near_airway_fixes_close, build_near_airway_fixes>(s, kDenseLat, kDenseLon, &near_airway_fixes_count);
}
void BM_NearAirports600Sparse(benchmark::State& s) { near_bench<build_near_airports, noop>(s, kSparseLat, kSparseLon, &near_airports_wide_count); }
void BM_NearNavaids600Sparse(benchmark::State& s) { near_bench<build_near_navaids, noop>(s, kSparseLat, kSparseLon, &near_navaids_wide_count); }
void BM_NearAirwayFixes600Sparse(benchmark::State& s) { near_bench<build_near_airway_fixes, noop>(s, kSparseLat, kSparseLon, &near_airway_fixes_wide_count); }
BENCHMARK(BM_NearAirports600Dense)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearAirports180Dense)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearNavaids600Dense)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearNavaids320Dense)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearAirwayFixes600Dense)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearAirwayFixes200Dense)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearAirports600Sparse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearNavaids600Sparse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearAirwayFixes600Sparse)->Unit(benchmark::kMicrosecond);

void BM_IdentLookupAllTables(benchmark::State& state) {
  ensure_loaded();
  std::string ident = nav_intersections[nav_intersection_count / 2].ident;
  for (auto _ : state) benchmark::DoNotOptimize(search_nav_ident(ident, 0));
  state.counters["matches"] = fix_match_count;
}
BENCHMARK(BM_IdentLookupAllTables)->Unit(benchmark::kMicrosecond);

void BM_LoadAirportBlock(benchmark::State& state) {
  ensure_loaded();
  std::string ident = nav_airports[1].ident;  // an airport with procedures
  for (auto _ : state) benchmark::DoNotOptimize(load_airport_block(ident, 2));
  state.counters["procs"] = apt_blocks[2].proc_count + apt_blocks[2].appr_block_count;
}
BENCHMARK(BM_LoadAirportBlock)->Unit(benchmark::kMicrosecond);

void BM_LoadAirway(benchmark::State& state) {
  ensure_loaded();
  std::string name = std::string("#") + nav_airway_fixes[nav_airway_fix_count / 2].extra;
  for (auto _ : state) load_airways_file(name);
  state.counters["fixes"] = fix_match_count;
}
BENCHMARK(BM_LoadAirway)->Unit(benchmark::kMicrosecond);

void BM_LookupVekAirport(benchmark::State& state) {
  ensure_loaded();
  std::string ident = nav_airports[999].ident;  // the file's last airport
  for (auto _ : state) benchmark::DoNotOptimize(lookup_vek_airport(ident, "27"));
}
BENCHMARK(BM_LookupVekAirport)->Unit(benchmark::kMicrosecond);

// Look-ups of a 200 MB "vek_apts.txt" that keeps changing, through a whole read and the next
// opening: each one reads a piece of the changed file, or opens it anew. Target: within a
// frame's budget, whatever the size.
void BM_LookupVekAirportChanging200MB(benchmark::State& state) {
  const std::string root = (std::filesystem::temp_directory_path() / "vek_apts_bench").string();
  const std::string file = root + "/vek/navdata/vek_apts.txt";
  std::filesystem::create_directories(root + "/vek/navdata");
  {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return state.SkipWithError("cannot write the file");
    for (long written = 0, n = 0; written < 200L << 20; ++n)
      written += std::fprintf(out, "X%07ld 09 5000 27 5000\n", n);
    std::fclose(out);
  }
  const std::string saved_root = sim_root_path;
  sim_root_path = root;
  // The mean hides the look-up that opens the file: each look-up is timed, the worst counts.
  std::vector<double> ms;
  ms.reserve(static_cast<std::size_t>(state.max_iterations));
  for (auto _ : state) {
    // A new time each round: the file counts as changed once it was read whole.
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now());
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(lookup_vek_airport("X0000001", "27"));
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  if (!ms.empty()) {
    state.counters["first_ms"] = ms.front();  // the look-up that opens the file
    state.counters["max_ms"] = *std::max_element(ms.begin(), ms.end());
    std::sort(ms.begin(), ms.end());
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
  }
  state.counters["rss_MB"] = resident_kb() / 1024.0;
  sim_root_path = saved_root;
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_LookupVekAirportChanging200MB)->Unit(benchmark::kMillisecond)->Iterations(900);

}  // namespace
