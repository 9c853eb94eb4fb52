// The navigation data of the whole world, as scripts/gen_navdb.py --world makes it: every
// record loads, and the nearby lists at its dense point keep the records nearest to it.
#include <gtest/gtest.h>

#include <vector>

#include "geo/great_circle.h"
#include "module/sim_vars.h"
#include "navdb_test_util.h"

namespace {

constexpr double kDenseLat = 50.0, kDenseLon = 8.0;

void load_world_database() {
  sim_root_path = VEK_NAVDB_WORLD_ROOT;
  load_navigation_database();
}

double distance_nm(const NavRecord& r) {
  double dist = 0, course = 0;
  compute_gc_distance_course(kDenseLat, kDenseLon, r.lat, r.lon, dist, course);
  return dist;
}

// Distances from the dense point of the table's records within `radius`, once per fix.
std::vector<double> within(const NavRecord* table, int count, double radius) {
  std::vector<double> out;
  for (int i = 1; i <= count; ++i) {
    double d = distance_nm(table[i]);
    if (d <= radius && !table[i].dup) out.push_back(d);
  }
  return out;
}

double farthest(const NavRecord* list, int count) {
  double far = 0;
  for (int i = 1; i <= count; ++i) far = std::max(far, distance_nm(list[i]));
  return far;
}

}  // namespace

TEST(NavdbWorld, EveryRecordLoadsWithoutAMessage) {
  load_world_database();
  EXPECT_EQ(nav_airport_count, 27500);
  EXPECT_EQ(nav_runway_count, 67000);
  EXPECT_EQ(nav_navaid_count, 10800);
  EXPECT_EQ(nav_intersection_count, 120000);
  EXPECT_EQ(nav_airway_fix_count, 73000);
  EXPECT_EQ(nav_records_dropped, 0);
  EXPECT_EQ(nav_lines_skipped, 0);
  EXPECT_EQ(module_message_count, 0);
}

TEST(NavdbWorld, DenseListsHoldTheNearestAndEveryCloseRecord) {
  load_world_database();
  struct Row {
    const NavRecord* table;
    const int* table_count;
    void (*wide)(double, double);
    void (*close)(double, double);
    const NavRecord* wide_list;
    const int* wide_count;
    int wide_limit;
    const int* close_count;
    double close_radius;
  };
  const Row rows[] = {
      {nav_airports, &nav_airport_count, build_near_airports, build_near_airports_close, near_airports_wide,
       &near_airports_wide_count, near_wide_limit, &near_airports_count, near_airports_radius_nm},
      {nav_airway_fixes, &nav_airway_fix_count, build_near_airway_fixes, build_near_airway_fixes_close,
       near_airway_fixes_wide, &near_airway_fixes_wide_count, near_airway_fix_wide_limit,
       &near_airway_fixes_count, near_airway_fixes_radius_nm},
  };
  present_lat = kDenseLat;
  present_lon = kDenseLon;
  for (const Row& row : rows) {
    std::vector<double> wide = within(row.table, *row.table_count, near_wide_radius_nm);
    ASSERT_GT(static_cast<int>(wide.size()), row.wide_limit);  // more in range than the list holds
    row.wide(kDenseLat, kDenseLon);
    ASSERT_EQ(*row.wide_count, row.wide_limit);
    std::sort(wide.begin(), wide.end());
    EXPECT_LE(farthest(row.wide_list, *row.wide_count), wide[row.wide_limit - 1]);
    row.close(kDenseLat, kDenseLon);
    EXPECT_EQ(*row.close_count, static_cast<int>(within(row.table, *row.table_count, row.close_radius).size()));
  }
}
