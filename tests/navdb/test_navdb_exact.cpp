// The quick paths of the database give what the plain ones give: the parallel load the
// tables of loading file by file, the number reader the values of std::from_chars, the
// nearby lists those of measuring every record.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "geo/great_circle.h"
#include "navdb/navdb_text.h"
#include "navdb_test_util.h"

namespace {

// Every field a page or map reads of the tables, as text, in table order.
std::string table_dump() {
  std::string out;
  char line[256];
  auto rec = [&](const char* tag, const NavRecord& r) {
    std::snprintf(line, sizeof line, "%s %s|%s|%s|%s|%s|%.17g|%.17g|%d|%d|%d|%d\n", tag, r.ident, r.name, r.type, r.freq,
                  r.extra, r.lat, r.lon, r.rwy_first, r.rwy_count, r.seq, r.dup);
    out += line;
  };
  for (int i = 1; i <= nav_airport_count; ++i) rec("A", nav_airports[i]);
  for (int i = 1; i <= nav_navaid_count; ++i) rec("N", nav_navaids[i]);
  for (int i = 1; i <= nav_intersection_count; ++i) rec("I", nav_intersections[i]);
  for (int i = 1; i <= nav_airway_fix_count; ++i) rec("W", nav_airway_fixes[i]);
  for (int i = 1; i <= nav_runway_count; ++i) {
    const RwyRecord& r = nav_runways[i];
    std::snprintf(line, sizeof line, "R %s|%d|%.17g|%.17g|%.17g|%.17g|%s|%s\n", r.ident, r.length_ft, r.lat, r.lon,
                  r.heading, r.heading2, r.freq, r.app);
    out += line;
  }
  for (int i = 1; i <= nav_proc_count; ++i) {
    const ProcHeader& p = nav_procs[i];
    std::snprintf(line, sizeof line, "P %s|%s|%s|%d|%d|%d\n", p.airport, p.name, p.runway, p.kind, p.leg_first,
                  p.leg_count);
    out += line;
  }
  for (int i = 1; i <= nav_proc_leg_count; ++i) {
    const ProcLeg& l = nav_proc_legs[i];
    std::snprintf(line, sizeof line, "L %s|%s|%s|%.17g|%.17g|%.17g|%.17g\n", l.transition, l.fix, l.role, l.lat, l.lon,
                  l.alt, l.spd);
    out += line;
  }
  for (int i = 1; i <= apt_info_count; ++i) out += std::string("T ") + apt_infos[i].ident + "|" + apt_infos[i].text1 + "\n";
  for (int i = 1; i <= nav_airway_break_count; ++i)
    out += std::string("B ") + nav_airway_breaks[i].airway + "|" + std::to_string(nav_airway_breaks[i].seq) + "\n";
  return out;
}

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(NavdbExact, TheParallelLoadGivesTheTablesOfLoadingFileByFile) {
  clear_navigation_database();
  sim_root_path = VEK_NAVDB_WORLD_ROOT;
  load_navigation_database();
  const std::string loaded = table_dump();
  ASSERT_GT(nav_intersection_count, 0);

  clear_navigation_database();
  navdb_loaded = 1;
  const std::string dir = std::string(VEK_NAVDB_WORLD_ROOT) + "/vek/navdata/";
  load_apts_text(file_text(dir + "apts.txt"));
  load_navs_text(file_text(dir + "navs.txt"));
  load_ints_text(file_text(dir + "ints.txt"));
  load_awys_text(file_text(dir + "awys.txt"));
  load_procs_text(file_text(dir + "sids.txt"), proc_kind_sid);
  load_procs_text(file_text(dir + "stars.txt"), proc_kind_star);
  load_procs_text(file_text(dir + "apps.txt"), proc_kind_appr);
  load_apt_info_text(file_text(dir + "apt_additional_info.txt"));
  EXPECT_TRUE(table_dump() == loaded) << "the tables differ from a load file by file";
  clear_navigation_database();
}

TEST(NavdbExact, NumbersReadAsFromCharsReadsThem) {
  std::mt19937_64 rng(20261207);
  std::vector<std::string> words = {"0",       "-0",       "0.0",   "-0.000000", "1.",    ".5",     "-.5",
                                    "90",      "-90.0",    "180.000000", "359.9999999999", "9007199254740993",
                                    "9007199254740992", "1234567890123456789", "0.1234567890123456789012",
                                    "1e3",     "-",        ".",     "1.2.3",     "12a",   "nan",    "inf",
                                    "+5.25",   "0.30000000000000004", "47.449889"};
  for (int i = 0; i < 20000; ++i) {
    std::uniform_real_distribution<double> any(-180.0, 180.0);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(rng() % 12), any(rng));
    words.push_back(buf);
  }
  for (const std::string& w : words) {
    double fast = -1.0;
    bool ok = parse_double(w, fast);
    const char* first = w.data() + (w[0] == '+' ? 1 : 0);
    double plain = 0.0;
    auto [ptr, ec] = std::from_chars(first, w.data() + w.size(), plain);
    bool plain_ok = ec == std::errc() && ptr == w.data() + w.size() && std::isfinite(plain);
    ASSERT_EQ(ok, plain_ok) << w;
    if (ok) {
      ASSERT_EQ(std::memcmp(&fast, &plain, sizeof fast), 0) << w;  // to the bit, the sign of 0 too
    }
  }
}

// Centres across the world, by the poles and the date line: each list holds exactly the
// records a measurement of every record keeps.
TEST(NavdbExact, NearbyListsHoldWhatMeasuringEveryRecordKeeps) {
  clear_navigation_database();
  sim_root_path = VEK_NAVDB_WORLD_ROOT;
  load_navigation_database();
  const double centres[][2] = {{50.0, 8.0},   {0.0, 179.9},  {0.0, -179.9},  {85.0, 10.0}, {-88.0, -60.0},
                               {89.9, 180.0}, {47.45, -122.3}, {-33.9, 151.2}, {60.0, -179.0}};
  for (const auto& c : centres) {
    build_near_navaids(c[0], c[1]);
    std::vector<std::string> expected;
    for (int i = 1; i <= nav_navaid_count; ++i) {
      double d, crs;
      compute_gc_distance_course(c[0], c[1], nav_navaids[i].lat, nav_navaids[i].lon, d, crs);
      if (d <= near_wide_radius_nm) expected.push_back(nav_navaids[i].ident + std::to_string(i));
    }
    if (static_cast<int>(expected.size()) > near_wide_limit) continue;  // a full list ranks: checked elsewhere
    std::vector<std::string> listed;
    for (int i = 1, k = 1; i <= near_navaids_wide_count; ++i) {
      while (k <= nav_navaid_count && std::memcmp(&nav_navaids[k], &near_navaids_wide[i], sizeof(NavRecord)) != 0) ++k;
      listed.push_back(near_navaids_wide[i].ident + std::to_string(k));
    }
    EXPECT_EQ(listed, expected) << c[0] << " " << c[1];
  }
  clear_navigation_database();
}
