// The performance tables file named by `PerformanceData`: gross weights and the climb,
// cruise, descent and altitude rows, with nearest-row lookups.
//
// File: lines of up to 1500 characters, ";" starts a comment line, words separated by
// blanks (at most 28 per line). "[NAME]" starts a section (names match without regard
// to case); "[GRWT] 120 140 160" lists up to 8 gross weights in thousands of pounds and
// starts the CRUISE section. UNITS lines ("FUEL=LBS/HR", "WEIGHT=LBS") are read and
// not kept. Rows:
//   CLIMB     altitude, TAS, climb rate (ft/min), fuel flow (lb/h) at the first gross
//             weight, then up to 7 more fuel flows, one per further gross weight
//   CRUISE    altitude, TAS, then one fuel flow (lb/h) per gross-weight column (up to 26)
//   DESCENT   altitude, TAS, descent rate (ft/min), fuel flow (lb/h)
//   Altitude  altitude, highest gross weight (lb) for it
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

constexpr int32_t perf_row_capacity = 200;     // rows per table; further rows are ignored
constexpr int32_t perf_max_columns = 28;       // words per line
constexpr int32_t perf_grwt_capacity = 8;
constexpr int32_t perf_climb_columns = 11;     // 4 required, 7 optional
constexpr int32_t perf_descent_columns = 4;
constexpr int32_t perf_altitude_columns = 2;
constexpr int32_t perf_cruise_first_weight_column = 3;
constexpr size_t perf_line_limit = 1500;

// One table row: col[1..count] as the numbers of the line (col[0] unused); columns the
// line did not give are 0.
struct PerfRow {
  double col[perf_max_columns + 1];
  int32_t count;
};

extern double perf_grwt[perf_grwt_capacity + 1];  // pounds, 1..perf_grwt_count
extern int32_t perf_grwt_count;
extern PerfRow perf_climb[perf_row_capacity + 1];  // rows 1..count
extern int32_t perf_climb_count;
extern PerfRow perf_cruise[perf_row_capacity + 1];
extern int32_t perf_cruise_count;
extern PerfRow perf_descent[perf_row_capacity + 1];
extern int32_t perf_descent_count;
extern PerfRow perf_altitude[perf_row_capacity + 1];
extern int32_t perf_altitude_count;

// Loads `PerformanceData`: tried as a path of its own, then under "\vek\aircraft\" (a
// name with ".." is refused there). Every table is emptied first; when neither opens
// they stay empty.
void load_aircraft_perf_file();

// Empties the tables and reads them from `file`. A row (or the GRWT line) with a number
// that does not read or lies outside its column's range (altitude -2000..99999 ft, TAS
// 0..999 kt, rate 0..20000 ft/min, fuel flow 0..1e6 lb/h, weight 0..1e7 lb, GRWT
// 0..10000) is skipped whole; answers how many were. The load posts
// "<PerformanceData> '<n>' lines skipped as out of range". Rows past a table's capacity
// are counted into `dropped` (when given); the load posts
// "<PerformanceData> '<n>' rows dropped at capacity". `unread` (when given) tells whether the
// file held lines of which none read (a blank, a comment, a section, a row taken); the load
// then posts "File '<path>' refused: no line reads".
int32_t read_perf_tables(std::FILE* file, int32_t* dropped = nullptr, bool* unread = nullptr);

// Index (1..count) of the row whose altitude (column 1) is nearest to `altitude`, the
// first of equals; 0 for an empty table.
int32_t perf_nearest_row(const PerfRow* rows, int32_t count, double altitude);
// Index (1..perf_grwt_count) of the gross weight nearest to `weight`; 0 when none.
int32_t perf_nearest_weight(double weight);
// Fuel flow of cruise row `row` in gross-weight column `weight_index` (1-based); 0 when
// the row or the column does not exist.
double perf_cruise_fuel_flow(int32_t row, int32_t weight_index);
// Fuel flow of climb row `row` at gross-weight column `weight_index` (1-based): the
// row's own column for that weight when the row gives it above 0, else column 4;
// 0 when the row does not exist.
double perf_climb_fuel_flow(int32_t row, int32_t weight_index);
// Highest altitude of the Altitude section; 0 when it is empty.
double perf_highest_altitude();
