#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "geo/great_circle.h"
#include "module/sim_vars.h"
#include "navdb_test_util.h"

namespace {

constexpr double kLat = 47.0;
constexpr double kLon = -122.0;

// A position `dist_nm` from the test centre on `course`, as text "lat lon".
std::string point_text(double course, double dist_nm) {
  double lat, lon;
  compute_dest_point(kLat, kLon, course, dist_nm, lat, lon);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.9f %.9f", lat, lon);
  return buf;
}

// Records just inside and just outside `radius` on several courses: IN1.., OUT1..
std::string ring(const char* prefix_in, const char* prefix_out, double radius, const char* kind) {
  std::string text;
  const double courses[] = {0.0, 90.0, 180.0, 270.0, 45.0};
  for (int i = 0; i < 5; ++i) {
    std::string n = std::to_string(i + 1);
    text += std::string(prefix_in) + n + kind + point_text(courses[i], radius - 0.01) + "\n";
    text += std::string(prefix_out) + n + kind + point_text(courses[i], radius + 0.01) + "\n";
  }
  return text;
}

bool listed(const NavRecord* list, int count, const char* ident) {
  for (int i = 1; i <= count; ++i) {
    if (std::string(list[i].ident) == ident) return true;
  }
  return false;
}

}  // namespace

TEST(NavdbNear, CentresStartUnset) {
  EXPECT_EQ(near_airports_wide_centre.lat, -999.0);
  EXPECT_EQ(near_airports_centre.lon, -999.0);
  EXPECT_EQ(near_navaids_wide_centre.lat, -999.0);
  EXPECT_EQ(near_navaids_centre.lat, -999.0);
  EXPECT_EQ(near_airway_fixes_wide_centre.lat, -999.0);
  EXPECT_EQ(near_airway_fixes_centre.lat, -999.0);
}

TEST(NavdbNear, AirportListsUseTheirRadii) {
  std::string text;
  std::string wide = ring("WI", "WO", 600.0, " ");
  std::string close = ring("CI", "CO", 180.0, " ");
  for (std::string* part : {&wide, &close}) {
    size_t pos = 0;
    while (pos < part->size()) {
      size_t end = part->find('\n', pos);
      text += "A " + part->substr(pos, end - pos) + " 0 NAME\n";
      pos = end + 1;
    }
  }
  ASSERT_EQ(load_apts_text(text).records, 20);
  build_near_airports(kLat, kLon);
  EXPECT_EQ(near_airports_wide_count, 15);  // 5 inside 600 and the 10 of the 180 ring
  EXPECT_TRUE(listed(near_airports_wide, near_airports_wide_count, "WI3"));
  EXPECT_FALSE(listed(near_airports_wide, near_airports_wide_count, "WO3"));
  EXPECT_EQ(near_airports_wide_centre.lat, kLat);
  EXPECT_EQ(near_airports_wide_centre.lon, kLon);
  build_near_airports_close(kLat, kLon);
  EXPECT_EQ(near_airports_count, 5);
  EXPECT_TRUE(listed(near_airports, near_airports_count, "CI1"));
  EXPECT_FALSE(listed(near_airports, near_airports_count, "CO1"));
  EXPECT_STREQ(near_airports[1].type, "APT");
}

TEST(NavdbNear, NavaidListsCarryTheFrequency) {
  std::string text;
  std::string wide = ring("WI", "WO", 600.0, " V ");
  std::string close = ring("CI", "CO", 320.0, " N ");
  for (std::string* part : {&wide, &close}) {
    size_t pos = 0;
    while (pos < part->size()) {
      size_t end = part->find('\n', pos);
      text += part->substr(pos, end - pos) + " 112.30 NAME\n";
      pos = end + 1;
    }
  }
  ASSERT_EQ(load_navs_text(text).records, 20);
  build_near_navaids(kLat, kLon);
  EXPECT_EQ(near_navaids_wide_count, 15);
  build_near_navaids_close(kLat, kLon);
  EXPECT_EQ(near_navaids_count, 5);
  EXPECT_TRUE(listed(near_navaids, near_navaids_count, "CI5"));
  EXPECT_FALSE(listed(near_navaids, near_navaids_count, "CO5"));
  EXPECT_STREQ(near_navaids[1].freq, "112.30");
  EXPECT_STREQ(near_navaids[1].type, "N");
}

TEST(NavdbNear, AirwayFixCloseListFiltersAroundThePresentPosition) {
  std::string wide = ring("WI", "WO", 600.0, " ");
  std::string close = ring("CI", "CO", 200.0, " ");
  std::string text;
  int seq = 0;
  for (std::string* part : {&wide, &close}) {
    size_t pos = 0;
    while (pos < part->size()) {
      size_t end = part->find('\n', pos);
      std::string line = part->substr(pos, end - pos);
      size_t blank = line.find(' ');
      text += "J9 " + std::to_string(++seq) + " " + line.substr(0, blank) + line.substr(blank) + "\n";
      pos = end + 1;
    }
  }
  text += "J10 1 CI1" + text.substr(text.find("CI1") + 3, text.find('\n', text.find("CI1")) - text.find("CI1") - 3) + "\n";
  ASSERT_EQ(load_awys_text(text).records, 21);
  build_near_airway_fixes(kLat, kLon);
  EXPECT_EQ(near_airway_fixes_wide_count, 15);  // CI1 on two airways is listed once

  present_lat = kLat;
  present_lon = kLon;
  build_near_airway_fixes_close(10.0, 20.0);
  EXPECT_EQ(near_airway_fixes_count, 5);
  EXPECT_TRUE(listed(near_airway_fixes, near_airway_fixes_count, "CI4"));
  EXPECT_FALSE(listed(near_airway_fixes, near_airway_fixes_count, "CO4"));
  EXPECT_EQ(near_airway_fixes_centre.lat, 10.0);
  EXPECT_EQ(near_airway_fixes_centre.lon, 20.0);

  present_lat = -kLat;  // far from every fix
  build_near_airway_fixes_close(kLat, kLon);
  EXPECT_EQ(near_airway_fixes_count, 0);
}

// A fix repeated on other airways, in this file or a later one, is flagged once stored;
// the same ident elsewhere, or another ident at the same place, is a fix of its own.
TEST(NavdbNear, RepeatedAirwayFixesAreFlaggedAcrossAirwaysAndFiles) {
  std::string first, second;
  for (int i = 1; i <= 5000; ++i) {
    std::string fix = " F" + std::to_string(i) + " " + std::to_string(40 + i * 0.001) + " -100\n";
    first += "V1 " + std::to_string(i) + fix;
    first += "V2 " + std::to_string(i) + fix;                                                 // repeat
    second += "V3 " + std::to_string(i) + fix;                                                // repeat, later file
    second += "V4 " + std::to_string(i) + " F" + std::to_string(i) + " 30 -100\n";            // elsewhere
    second += "V5 " + std::to_string(i) + " G" + std::to_string(i) + fix.substr(fix.find(' ', 1));  // other ident
  }
  ASSERT_EQ(load_awys_text(first).records, 10000);
  ASSERT_EQ(load_awys_text(second).records, 15000);
  int repeats[6] = {};
  for (int i = 1; i <= nav_airway_fix_count; ++i)
    repeats[nav_airway_fixes[i].extra[1] - '0'] += nav_airway_fixes[i].dup;
  EXPECT_EQ(repeats[1], 0);
  EXPECT_EQ(repeats[2], 5000);
  EXPECT_EQ(repeats[3], 5000);
  EXPECT_EQ(repeats[4], 0);
  EXPECT_EQ(repeats[5], 0);
}

TEST(NavdbNear, ListsStopAtTheirLimits) {
  std::string text;
  for (int i = 1; i <= 3100; ++i) text += "A A" + std::to_string(i) + " 47 -122 0 X\n";
  load_apts_text(text);
  build_near_airports(kLat, kLon);
  EXPECT_EQ(near_airports_wide_count, near_wide_limit);
  EXPECT_STREQ(near_airports_wide[3000].ident, "A3000");  // table order
  build_near_airports_close(kLat, kLon);
  EXPECT_EQ(near_airports_count, near_close_limit);
}

TEST(NavdbNear, SampleListsAroundSeattle) {
  load_sample_database();
  build_near_airports(47.45, -122.31);
  EXPECT_EQ(near_airports_wide_count, 10);  // Spokane is about 190 NM away
  build_near_airports_close(47.45, -122.31);
  EXPECT_EQ(near_airports_count, 9);
  EXPECT_FALSE(listed(near_airports, near_airports_count, "KGEG"));
  build_near_navaids(47.45, -122.31);
  build_near_navaids_close(47.45, -122.31);
  EXPECT_EQ(near_navaids_count, 12);
}

// Eleven VORs and a nearer NDB around the centre: the table keeps the nine nearest VORs,
// nearest first, with magnetic bearings; a second build over two VORs leaves seven rows empty.
TEST(NavdbNear, NearestVorTableKeepsTheNineNearestVors) {
  present_lat = kLat;
  present_lon = kLon;
  magvar = 16.0;
  near_navaids_count = 0;
  auto add = [](const char* ident, const char* type, double course, double dist) {
    NavRecord& r = near_navaids[++near_navaids_count];
    r = NavRecord{};
    nav_copy_text(r.ident, nav_ident_size, ident);
    nav_copy_text(r.type, nav_type_size, type);
    nav_copy_text(r.freq, nav_freq_size, "113.90");
    compute_dest_point(kLat, kLon, course, dist, r.lat, r.lon);
  };
  add("NDB", "N", 90.0, 1.0);
  const char* idents[] = {"V11", "V10", "V9", "V8", "V7", "V6", "V5", "V4", "V3", "V2", "V1"};
  for (int i = 0; i < 11; ++i) add(idents[i], "V", 16.2, 11.0 - i);  // V1 nearest at 1 NM
  nearest_vor_table();
  for (int row = 1; row <= nearest_vor_rows; ++row) {
    EXPECT_EQ(std::string(nav_lists_21b[row].ident), "V" + std::to_string(row)) << row;
    EXPECT_NEAR(nav_lists_21b[row].dist_nm, row, 0.01);
    EXPECT_NEAR(nav_lists_21b[row].brg_mag, 360.2, 0.05);  // 0.2 magnetic is below 0.5
    EXPECT_EQ(std::string(nav_lists_21b[row].freq), "113.90");
  }

  near_navaids_count = 0;
  add("FAR", "V", 106.0, 200.0);
  add("NEAR", "V", 106.0, 50.0);
  nearest_vor_table();
  EXPECT_EQ(std::string(nav_lists_21b[1].ident), "NEAR");
  EXPECT_NEAR(nav_lists_21b[1].brg_mag, 90.0, 0.05);
  EXPECT_EQ(std::string(nav_lists_21b[2].ident), "FAR");
  for (int row = 3; row <= nearest_vor_rows; ++row) {
    EXPECT_EQ(nav_lists_21b[row].ident[0], '\0');
    EXPECT_EQ(nav_lists_21b[row].dist_nm, nearest_vor_empty);
    EXPECT_EQ(nav_lists_21b[row].brg_mag, nearest_vor_empty);
  }
}
