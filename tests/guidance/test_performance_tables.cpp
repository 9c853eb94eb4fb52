// The performance tables file: sections, rows, capacities, the file's two places and the
// nearest-row lookups.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "guidance/performance_tables.h"
#include "guidance/settings.h"
#include "sim_folder.h"

namespace {

void read_text(const std::string& text) {
  std::string copy = text;
  std::FILE* f = fmemopen(copy.data(), copy.size(), "rb");
  ASSERT_NE(f, nullptr);
  read_perf_tables(f);
  std::fclose(f);
}

}  // namespace

// A row with a number that does not read or lies out of its column's range is skipped
// whole, and counted; the rows around it stay.
TEST(PerformanceTables, RowsWithUnreadableOrOutOfRangeNumbersAreSkipped) {
  struct Row {
    const char* what;
    const char* section;
    const char* line;
    const int32_t* count;
  };
  const Row rows[] = {
      {"climb TAS nan", "[CLIMB]", "30000 nan 1400 4700", &perf_climb_count},
      {"climb rate 1e309", "[CLIMB]", "30000 450 1e309 4700", &perf_climb_count},
      {"climb fuel flow of a later weight", "[CLIMB]", "30000 450 1400 4700 5000 -1", &perf_climb_count},
      {"cruise altitude 1e308", "[GRWT] 120 140", "1e308 450 4700 5000", &perf_cruise_count},
      {"cruise fuel flow abc", "[GRWT] 120 140", "35000 450 4700 abc", &perf_cruise_count},
      {"descent rate inf", "[DESCENT]", "20000 395 inf 1250", &perf_descent_count},
      {"altitude weight -5", "[Altitude]", "35000 -5", &perf_altitude_count},
  };
  for (const Row& row : rows) {
    std::string copy =
        std::string(row.section) + "\n10000 300 2000 3000 3000\n" + row.line + "\n20000 350 2000 3000 3000\n";
    std::FILE* f = fmemopen(copy.data(), copy.size(), "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(read_perf_tables(f), 1) << row.what;
    std::fclose(f);
    EXPECT_EQ(*row.count, 2) << row.what;
  }
  read_text("[GRWT] 120 nan\n35000 450 4700 5000\n");
  EXPECT_EQ(perf_grwt_count, 0);  // the weights line refused whole
  EXPECT_EQ(perf_cruise_count, 1);
  read_text("[GRWT] 1 2 3 4 5 6 7 8\n[GRWT] 9 10\n");
  EXPECT_EQ(perf_grwt_count, perf_grwt_capacity);  // a second weights line adds none past the table
}

TEST(PerformanceTables, GrossWeightsStartTheCruiseRows) {
  read_text("[GRWT] 120 140 160\n31000 447 4750 5050 5450\n33000 452 4600\n");
  ASSERT_EQ(perf_grwt_count, 3);
  EXPECT_DOUBLE_EQ(perf_grwt[1], 120000);
  EXPECT_DOUBLE_EQ(perf_grwt[3], 160000);
  ASSERT_EQ(perf_cruise_count, 2);
  EXPECT_DOUBLE_EQ(perf_cruise[1].col[1], 31000);
  EXPECT_DOUBLE_EQ(perf_cruise[1].col[2], 447);
  EXPECT_DOUBLE_EQ(perf_cruise_fuel_flow(1, 3), 5450);
  EXPECT_DOUBLE_EQ(perf_cruise_fuel_flow(2, 1), 4600);
  EXPECT_DOUBLE_EQ(perf_cruise_fuel_flow(2, 2), 0.0);  // the row has one weight column
  EXPECT_DOUBLE_EQ(perf_cruise_fuel_flow(3, 1), 0.0);
  EXPECT_DOUBLE_EQ(perf_cruise_fuel_flow(0, 1), 0.0);
  EXPECT_DOUBLE_EQ(perf_cruise_fuel_flow(1, 0), 0.0);
  EXPECT_DOUBLE_EQ(perf_cruise_fuel_flow(1, 99), 0.0);
}

TEST(PerformanceTables, SectionsRowsAndUnits) {
  read_text(
      "; comment [CLIMB]\n"
      "10000 300 2500 6000\n"  // before any section: ignored
      "[units]\nFUEL=LBS/HR\nWEIGHT=LBS\n"
      "[climb]\n0 270 3200\n10000 330 2700 6400 1 2 3 4 5 6 7 8 9\n"
      "\n   \n"
      "[DESCENT]\n39000 460 2400 950 77\n"
      "[Altitude]\n35000 162000\n41000 136000\n37000 152000\n"
      "[SOMETHING]\n1 2 3 4\n");
  ASSERT_EQ(perf_climb_count, 2);
  EXPECT_EQ(perf_climb[1].count, 4);
  EXPECT_DOUBLE_EQ(perf_climb[1].col[3], 3200);
  EXPECT_DOUBLE_EQ(perf_climb[1].col[4], 0.0);  // a required column missing reads 0
  EXPECT_EQ(perf_climb[2].count, 11);           // optional columns stop at 11
  EXPECT_DOUBLE_EQ(perf_climb[2].col[11], 7);
  EXPECT_DOUBLE_EQ(perf_climb[2].col[12], 0.0);
  ASSERT_EQ(perf_descent_count, 1);
  EXPECT_EQ(perf_descent[1].count, 4);
  EXPECT_DOUBLE_EQ(perf_descent[1].col[5], 0.0);
  EXPECT_EQ(perf_altitude_count, 3);
  EXPECT_DOUBLE_EQ(perf_highest_altitude(), 41000);
  EXPECT_EQ(perf_grwt_count, 0);
  EXPECT_EQ(perf_cruise_count, 0);
}

TEST(PerformanceTables, ClimbRowWithOnlyRequiredColumnsLeavesTheRestZero) {
  read_text("[CLIMB]\n5000 290 2900 6900\n");
  ASSERT_EQ(perf_climb_count, 1);
  for (int c = 5; c <= perf_climb_columns; ++c) EXPECT_DOUBLE_EQ(perf_climb[1].col[c], 0.0);
}

TEST(PerformanceTables, CapacitiesBoundEveryTable) {
  std::string text = "[GRWT] 1 2 3 4 5 6 7 8 9 10\n";
  std::string wide;
  for (int w = 1; w <= 40; ++w) wide += std::to_string(w) + " ";
  text += wide + "\n";
  text += "[CLIMB]\n";
  for (int r = 0; r < perf_row_capacity + 20; ++r) text += std::to_string(r * 100) + " 1 2 3\n";
  read_text(text);
  EXPECT_EQ(perf_grwt_count, perf_grwt_capacity);
  EXPECT_DOUBLE_EQ(perf_grwt[8], 8000);
  ASSERT_EQ(perf_cruise_count, 1);
  EXPECT_EQ(perf_cruise[1].count, perf_max_columns);
  EXPECT_DOUBLE_EQ(perf_cruise_fuel_flow(1, 26), 28);
  EXPECT_EQ(perf_climb_count, perf_row_capacity);
}

TEST(PerformanceTables, EachLoadStartsEmpty) {
  read_text("[CLIMB]\n0 1 2 3\n[GRWT] 100\n1 2 3\n");
  EXPECT_EQ(perf_climb_count, 1);
  read_text("");
  EXPECT_EQ(perf_climb_count, 0);
  EXPECT_EQ(perf_cruise_count, 0);
  EXPECT_EQ(perf_grwt_count, 0);
  EXPECT_DOUBLE_EQ(perf_highest_altitude(), 0.0);
}

TEST(PerformanceLookup, NearestRowBetweenTableRows) {
  read_text("[CLIMB]\n0 270 3200 7400\n10000 330 2700 6400\n20000 395 2100 5500\n");
  EXPECT_EQ(perf_nearest_row(perf_climb, perf_climb_count, 4999), 1);
  EXPECT_EQ(perf_nearest_row(perf_climb, perf_climb_count, 5001), 2);
  EXPECT_EQ(perf_nearest_row(perf_climb, perf_climb_count, 5000), 1);  // equal: the first
  EXPECT_EQ(perf_nearest_row(perf_climb, perf_climb_count, 17000), 3);
  EXPECT_EQ(perf_nearest_row(perf_climb, perf_climb_count, 45000), 3);
  EXPECT_EQ(perf_nearest_row(perf_climb, perf_climb_count, -2000), 1);
  EXPECT_EQ(perf_nearest_row(perf_descent, perf_descent_count, 1000), 0);
}

TEST(PerformanceLookup, NearestGrossWeight) {
  read_text("[GRWT] 120 140 160\n");
  EXPECT_EQ(perf_nearest_weight(100000), 1);
  EXPECT_EQ(perf_nearest_weight(131000), 2);
  EXPECT_EQ(perf_nearest_weight(130000), 1);
  EXPECT_EQ(perf_nearest_weight(151000), 3);
  read_text("");
  EXPECT_EQ(perf_nearest_weight(151000), 0);
}

TEST(PerformanceFile, OwnPathFirstThenTheAircraftFolder) {
  SimFolder sim;
  std::string own = sim.write("elsewhere/perf.txt", "[CLIMB]\n0 1 2 3\n");
  sim.write("vek/aircraft/perf.txt", "[CLIMB]\n0 1 2 3\n5 6 7 8\n");

  PerformanceData = own;
  load_aircraft_perf_file();
  EXPECT_EQ(perf_climb_count, 1);

  PerformanceData = "perf.txt";
  load_aircraft_perf_file();
  EXPECT_EQ(perf_climb_count, 2);

  PerformanceData = "missing.txt";
  load_aircraft_perf_file();
  EXPECT_EQ(perf_climb_count, 0);
}

TEST(PerformanceFile, AircraftFolderRefusesParentFolders) {
  SimFolder sim;
  sim.write("vek/perf.txt", "[CLIMB]\n0 1 2 3\n");
  sim.write("vek/Aircraft/sub/perf.txt", "[CLIMB]\n0 1 2 3\n5 6 7 8\n");
  PerformanceData = "../perf.txt";
  load_aircraft_perf_file();
  EXPECT_EQ(perf_climb_count, 0);
  PerformanceData = "sub\\perf.txt";
  load_aircraft_perf_file();
  EXPECT_EQ(perf_climb_count, 2);
}
