#include "guidance/performance_tables.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "guidance/config_line.h"
#include "guidance/settings.h"
#include "module/module_files.h"
#include "module/module_messages.h"
#include "module/module_paths.h"

double perf_grwt[perf_grwt_capacity + 1];
int32_t perf_grwt_count = 0;
PerfRow perf_climb[perf_row_capacity + 1];
int32_t perf_climb_count = 0;
PerfRow perf_cruise[perf_row_capacity + 1];
int32_t perf_cruise_count = 0;
PerfRow perf_descent[perf_row_capacity + 1];
int32_t perf_descent_count = 0;
PerfRow perf_altitude[perf_row_capacity + 1];
int32_t perf_altitude_count = 0;

namespace {

enum PerfSection { SECTION_NONE, SECTION_UNITS, SECTION_CLIMB, SECTION_CRUISE, SECTION_DESCENT, SECTION_ALTITUDE };

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

size_t split_words(std::string_view line, std::string_view* words) {
  size_t n = 0, pos = 0;
  while (n < static_cast<size_t>(perf_max_columns)) {
    while (pos < line.size() && is_blank(line[pos])) ++pos;
    if (pos >= line.size()) break;
    size_t start = pos;
    while (pos < line.size() && !is_blank(line[pos])) ++pos;
    words[n++] = line.substr(start, pos - start);
  }
  return n;
}

// What each number of a row may be, by section and column (the last range covers the
// columns after it): a value beyond it would make the predictions print nonsense.
struct ColumnRange {
  double lo;
  double hi;
};
constexpr double kMaxFuelFlow = 1e6;  // lb/h
constexpr ColumnRange kAltitude = {-2000.0, 99999.0}, kTas = {0.0, 999.0}, kRate = {0.0, 20000.0},
                      kFuelFlow = {0.0, kMaxFuelFlow}, kWeight = {0.0, 1e7}, kGrwt = {0.0, 10000.0};
constexpr ColumnRange kClimbColumns[] = {kAltitude, kTas, kRate, kFuelFlow};
constexpr ColumnRange kCruiseColumns[] = {kAltitude, kTas, kFuelFlow};
constexpr ColumnRange kDescentColumns[] = {kAltitude, kTas, kRate, kFuelFlow};
constexpr ColumnRange kAltitudeColumns[] = {kAltitude, kWeight};

// The numbers of `words` into `out`; false when one does not read or lies outside the range
// of its column.
template <size_t N>
bool read_numbers(const std::string_view* words, size_t n, const ColumnRange (&ranges)[N], double* out) {
  for (size_t w = 0; w < n; ++w) {
    const ColumnRange& r = ranges[w < N ? w : N - 1];
    if (!config_number(words[w], out[w]) || !(out[w] >= r.lo && out[w] <= r.hi)) return false;
  }
  return true;
}

// Appends a row of the first `columns` words (absent ones 0) plus any present words up
// to `max_columns`. False, adding nothing, when a number does not read or is out of range.
// A row past the table's capacity is counted in `dropped`.
template <size_t N>
bool add_row(PerfRow* rows, int32_t& count, const std::string_view* words, size_t n, int32_t columns,
             int32_t max_columns, const ColumnRange (&ranges)[N], int32_t& dropped) {
  int32_t used = static_cast<int32_t>(n) < max_columns ? static_cast<int32_t>(n) : max_columns;
  double numbers[perf_max_columns] = {};
  if (!read_numbers(words, static_cast<size_t>(used), ranges, numbers)) return false;
  if (count >= perf_row_capacity) {
    ++dropped;
    return true;
  }
  PerfRow& row = rows[++count];
  row = PerfRow{};
  if (used < columns) used = columns;
  for (int32_t c = 1; c <= used; ++c) row.col[c] = numbers[c - 1];
  row.count = used;
  return true;
}

PerfSection section_named(std::string_view name) {
  if (equal_ignoring_case(name, "UNITS")) return SECTION_UNITS;
  if (equal_ignoring_case(name, "CLIMB")) return SECTION_CLIMB;
  if (equal_ignoring_case(name, "CRUISE")) return SECTION_CRUISE;
  if (equal_ignoring_case(name, "DESCENT")) return SECTION_DESCENT;
  if (equal_ignoring_case(name, "Altitude")) return SECTION_ALTITUDE;
  return SECTION_NONE;
}

// A name under the aircraft folder: relative, without "..".
bool stays_in_aircraft_folder(std::string_view name) {
  if (name.empty() || name.find("..") != std::string_view::npos || name.find(':') != std::string_view::npos)
    return false;
  return name[0] != '/' && name[0] != '\\';
}

}  // namespace

int32_t read_perf_tables(std::FILE* file, int32_t* dropped_rows, bool* unread) {
  int32_t dropped = 0;
  if (dropped_rows) *dropped_rows = 0;
  if (unread) *unread = false;
  bool lines = false, reads = false;
  perf_grwt_count = perf_climb_count = perf_cruise_count = perf_descent_count = perf_altitude_count = 0;
  if (!file) return 0;
  PerfSection section = SECTION_NONE;
  int32_t refused = 0;
  std::string line;
  while (read_limited_line(file, perf_line_limit, line)) {
    lines = true;
    const bool text = is_text_line(line);
    if (!line.empty() && line[0] == ';') {
      reads = reads || text;
      continue;
    }
    if (!line.empty() && line[0] == '[') {
      reads = reads || text;
      std::string bare;
      for (char c : line) {
        if (c != '[' && c != ']') bare.push_back(c);
      }
      std::string_view words[perf_max_columns];
      size_t n = split_words(bare, words);
      if (n == 0) {
        section = SECTION_NONE;
        continue;
      }
      if (equal_ignoring_case(words[0], "GRWT")) {
        size_t weights = std::min<size_t>(n - 1, perf_grwt_capacity);
        double numbers[perf_grwt_capacity] = {};
        constexpr ColumnRange kGrwtColumns[] = {kGrwt};
        if (read_numbers(words + 1, weights, kGrwtColumns, numbers)) {
          for (size_t w = 0; w < weights && perf_grwt_count < perf_grwt_capacity; ++w)
            perf_grwt[++perf_grwt_count] = numbers[w] * 1000.0;
        } else {
          ++refused;
        }
        section = SECTION_CRUISE;
      } else {
        section = section_named(words[0]);
      }
      continue;
    }
    std::string_view words[perf_max_columns];
    size_t n = split_words(line, words);
    if (n == 0) {
      reads = reads || text;
      continue;
    }
    bool ok = true;
    switch (section) {
      case SECTION_CLIMB:
        ok = add_row(perf_climb, perf_climb_count, words, n, 4, perf_climb_columns, kClimbColumns, dropped);
        break;
      case SECTION_CRUISE:
        ok = add_row(perf_cruise, perf_cruise_count, words, n, 2, perf_max_columns, kCruiseColumns, dropped);
        break;
      case SECTION_DESCENT:
        ok = add_row(perf_descent, perf_descent_count, words, n, perf_descent_columns, perf_descent_columns,
                     kDescentColumns, dropped);
        break;
      case SECTION_ALTITUDE:
        ok = add_row(perf_altitude, perf_altitude_count, words, n, perf_altitude_columns, perf_altitude_columns,
                     kAltitudeColumns, dropped);
        break;
      case SECTION_UNITS:  // fuel and weight units: read, not kept
      case SECTION_NONE:
        break;
    }
    if (!ok) ++refused;
    reads = reads || (text && ok && section != SECTION_NONE);
  }
  if (dropped_rows) *dropped_rows = dropped;
  if (unread) *unread = lines && !reads;
  return refused;
}

void load_aircraft_perf_file() {
  std::string path = PerformanceData;
  std::FILE* file = PerformanceData.empty() ? nullptr : open_regular_file(path, text_file_max_bytes);
  if (!file && stays_in_aircraft_folder(PerformanceData)) {
    path = vek_path("\\vek\\aircraft\\" + PerformanceData);
    file = open_regular_file(path, text_file_max_bytes);
  }
  int32_t dropped = 0;
  bool unread = false;
  int32_t refused = read_perf_tables(file, &dropped, &unread);
  if (file) std::fclose(file);
  // LEGS without a prediction and PERF INIT's default level would pass for tables read.
  if (unread) {
    post_unread_file(path);
    return;
  }
  if (refused > 0)
    add_module_message(PerformanceData.substr(0, 64) + " '" + std::to_string(refused) +
                       "' lines skipped as out of range");
  if (dropped > 0)
    add_module_message(PerformanceData.substr(0, 64) + " '" + std::to_string(dropped) + "' rows dropped at capacity");
}

int32_t perf_nearest_row(const PerfRow* rows, int32_t count, double altitude) {
  int32_t best = 0;
  double best_diff = 0.0;
  if (count > perf_row_capacity) count = perf_row_capacity;
  for (int32_t r = 1; r <= count; ++r) {
    double diff = std::fabs(rows[r].col[1] - altitude);
    if (best == 0 || diff < best_diff) {
      best = r;
      best_diff = diff;
    }
  }
  return best;
}

int32_t perf_nearest_weight(double weight) {
  int32_t best = 0;
  double best_diff = 0.0;
  for (int32_t w = 1; w <= perf_grwt_count && w <= perf_grwt_capacity; ++w) {
    double diff = std::fabs(perf_grwt[w] - weight);
    if (best == 0 || diff < best_diff) {
      best = w;
      best_diff = diff;
    }
  }
  return best;
}

double perf_cruise_fuel_flow(int32_t row, int32_t weight_index) {
  if (row < 1 || row > perf_cruise_count || row > perf_row_capacity || weight_index < 1) return 0.0;
  int32_t column = perf_cruise_first_weight_column + weight_index - 1;
  if (column > perf_cruise[row].count || column > perf_max_columns) return 0.0;
  return perf_cruise[row].col[column];
}

double perf_climb_fuel_flow(int32_t row, int32_t weight_index) {
  if (row < 1 || row > perf_climb_count || row > perf_row_capacity) return 0.0;
  const PerfRow& r = perf_climb[row];
  int32_t column = 3 + weight_index;
  if (weight_index >= 1 && column <= perf_climb_columns && column <= r.count && r.col[column] > 0.0)
    return r.col[column];
  return r.col[4];
}

double perf_highest_altitude() {
  double highest = 0.0;
  for (int32_t r = 1; r <= perf_altitude_count && r <= perf_row_capacity; ++r) {
    if (r == 1 || perf_altitude[r].col[1] > highest) highest = perf_altitude[r].col[1];
  }
  return highest;
}
