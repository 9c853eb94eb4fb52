// The performance tables file: the input is a whole file. After the load every lookup
// runs over what was stored.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "guidance/performance_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::FILE* f = text.empty() ? nullptr : fmemopen(text.data(), text.size(), "rb");
  read_perf_tables(f);
  if (f) std::fclose(f);

  if (perf_grwt_count > perf_grwt_capacity || perf_climb_count > perf_row_capacity ||
      perf_cruise_count > perf_row_capacity || perf_descent_count > perf_row_capacity ||
      perf_altitude_count > perf_row_capacity) {
    __builtin_trap();
  }
  // Every stored number lies within the ranges of its columns.
  for (const auto& [rows, count] : {std::pair{perf_climb, perf_climb_count}, std::pair{perf_cruise, perf_cruise_count},
                                    std::pair{perf_descent, perf_descent_count},
                                    std::pair{perf_altitude, perf_altitude_count}}) {
    for (int32_t r = 1; r <= count; ++r)
      for (int32_t c = 1; c <= rows[r].count; ++c)
        if (!(rows[r].col[c] >= -2000.0 && rows[r].col[c] <= 1e7)) __builtin_trap();
  }
  double sink = perf_highest_altitude();
  for (double altitude : {-1000.0, 0.0, 15000.0, 35000.0, 1e9}) {
    int32_t row = perf_nearest_row(perf_climb, perf_climb_count, altitude);
    if (row > 0) sink += perf_climb[row].col[2];
    row = perf_nearest_row(perf_cruise, perf_cruise_count, altitude);
    int32_t weight = perf_nearest_weight(altitude * 4.0);
    sink += perf_cruise_fuel_flow(row, weight);
    row = perf_nearest_row(perf_descent, perf_descent_count, altitude);
    if (row > 0) sink += perf_descent[row].col[3];
  }
  for (int32_t r = 0; r <= perf_cruise_count + 1; ++r) {
    for (int32_t w = -1; w <= perf_max_columns + 1; ++w) sink += perf_cruise_fuel_flow(r, w);
  }
  volatile double keep = sink;
  (void)keep;
  return 0;
}
