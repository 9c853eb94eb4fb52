// The world's navigation data as scripts/gen_navdb.py --world writes it: every record
// loads, and at its dense point the full wide lists keep the nearest records.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "geo/great_circle.h"
#include "module/sim_vars.h"
#include "navdb_test_util.h"

TEST(NavdbWorld, EveryRecordLoadsAndFullListsKeepTheNearest) {
  sim_root_path = VEK_NAVDB_WORLD_ROOT;
  load_navigation_database();
  EXPECT_EQ(nav_airport_count, 27500);
  EXPECT_EQ(nav_runway_count, 67000);
  EXPECT_EQ(nav_airway_fix_count, 73000);
  EXPECT_EQ(nav_records_dropped + nav_lines_skipped + module_message_count, 0);
  // The pages past each table's last entry are given back after the load, never the entry.
  for (const char* last : {nav_airports[nav_airport_count].ident, nav_runways[nav_runway_count].ident,
                           nav_airway_fixes[nav_airway_fix_count].ident, nav_navaids[nav_navaid_count].ident,
                           nav_intersections[nav_intersection_count].ident})
    EXPECT_NE(last[0], '\0');
  EXPECT_NE(atc_boundary_points[atc_boundary_point_count].lat, 0.0);
  present_lat = 50.0;
  present_lon = 8.0;
  build_near_airports(50.0, 8.0);
  build_near_airports_close(50.0, 8.0);
  build_near_airway_fixes(50.0, 8.0);
  build_near_airway_fixes_close(50.0, 8.0);
  auto nm = [](const NavRecord& r) {
    double d, c;
    compute_gc_distance_course(50.0, 8.0, r.lat, r.lon, d, c);
    return d;
  };
  struct Row {
    const NavRecord *table, *wide;
    int count, wide_count, limit, close_count;
    double close_nm;
  };
  for (const Row& row : {Row{nav_airports, near_airports_wide, nav_airport_count, near_airports_wide_count,
                             near_wide_limit, near_airports_count, near_airports_radius_nm},
                         Row{nav_airway_fixes, near_airway_fixes_wide, nav_airway_fix_count,
                             near_airway_fixes_wide_count, near_airway_fix_wide_limit, near_airway_fixes_count,
                             near_airway_fixes_radius_nm}}) {
    std::vector<double> within;  // once per fix
    for (int i = 1; i <= row.count; ++i)
      if (!row.table[i].dup && nm(row.table[i]) <= near_wide_radius_nm) within.push_back(nm(row.table[i]));
    ASSERT_GT(static_cast<int>(within.size()), row.limit);  // more in range than the list holds
    std::sort(within.begin(), within.end());
    ASSERT_EQ(row.wide_count, row.limit);
    for (int k = 1; k <= row.wide_count; ++k) EXPECT_LE(nm(row.wide[k]), within[row.limit - 1]);
    EXPECT_EQ(row.close_count, std::count_if(within.begin(), within.end(), [&](double d) { return d <= row.close_nm; }));
  }
}
