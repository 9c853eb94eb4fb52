#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "navdb/navdb_index.h"
#include "navdb_test_util.h"

TEST(NavdbLoad, SampleDatabaseFillsEveryTable) {
  load_sample_database();
  EXPECT_EQ(nav_airport_count, 10);
  EXPECT_EQ(nav_runway_count, 32);
  EXPECT_EQ(nav_navaid_count, 12);
  EXPECT_EQ(nav_intersection_count, 14);  // PAMMS twice; KTIW is an airport too
  EXPECT_EQ(nav_airway_fix_count, 17);  // awys.txt and its user twin
  EXPECT_EQ(nav_proc_count, 7);
  EXPECT_EQ(nav_proc_leg_count, 29);
  EXPECT_EQ(atc_boundary_count, 2);
  EXPECT_EQ(atc_boundary_point_count, 9);
  EXPECT_EQ(atc_boundaries_loaded, 1);
  EXPECT_EQ(apt_info_count, 2);
  EXPECT_EQ(nav_lines_skipped, 0);
  EXPECT_EQ(nav_records_dropped, 0);
  EXPECT_EQ(module_message_count, 0);

  const NavRecord& sea = nav_airports[1];
  EXPECT_STREQ(sea.ident, "KSEA");
  EXPECT_STREQ(sea.name, "SEATTLE-TACOMA INTL");
  EXPECT_STREQ(sea.type, "APT");
  EXPECT_STREQ(sea.extra, "433");
  EXPECT_DOUBLE_EQ(sea.lat, 47.449);
  EXPECT_DOUBLE_EQ(sea.lon, -122.309306);
  ASSERT_EQ(sea.rwy_count, 6);
  const RwyRecord& r16l = nav_runways[sea.rwy_first];
  EXPECT_STREQ(r16l.ident, "16L");
  EXPECT_EQ(r16l.length_ft, 11901);
  EXPECT_DOUBLE_EQ(r16l.heading, 163.6);
  EXPECT_STREQ(r16l.freq, "111.70");
  EXPECT_STREQ(r16l.app, "ILS");
  EXPECT_STREQ(nav_runways[sea.rwy_first + 2].freq, "");  // "-" is an empty text
  EXPECT_EQ(nav_runways[sea.rwy_first + 5].right_pattern, 1);  // 34L RIGHTPATTERN
  EXPECT_EQ(nav_runways[sea.rwy_first + 4].right_pattern, 0);

  // The frequency of a navaid is there for radio tuning.
  EXPECT_STREQ(nav_navaids[1].ident, "SEA");
  EXPECT_STREQ(nav_navaids[1].type, "V");
  EXPECT_STREQ(nav_navaids[1].freq, "116.80");
  EXPECT_STREQ(nav_navaids[1].name, "SEATTLE");
  EXPECT_STREQ(nav_navaids[11].type, "N");
  EXPECT_STREQ(nav_navaids[11].freq, "362");
  EXPECT_STREQ(nav_intersections[1].type, "I");

  const AtcBoundary& b = atc_boundaries[1];
  EXPECT_STREQ(b.ident, "KZSE001");
  EXPECT_STREQ(b.label, "ZSE");
  EXPECT_EQ(b.count, 5);
  EXPECT_DOUBLE_EQ(atc_boundary_points[b.first_point + 4].lat, 49.0);  // closed by repeating point 1
  EXPECT_EQ(atc_boundaries[2].first_point, 6);
}

TEST(NavdbLoad, SecondCallLoadsNothing) {
  load_sample_database();
  load_navigation_database();
  EXPECT_EQ(nav_airport_count, 10);
  EXPECT_EQ(nav_airway_fix_count, 17);
  EXPECT_EQ(atc_boundary_count, 2);
}

TEST(NavdbLoad, MissingFolderLeavesTablesEmptyAndBoundariesAreTriedOnce) {
  std::string root = std::filesystem::temp_directory_path() / "navdb_missing_root";
  std::filesystem::remove_all(root);
  sim_root_path = root;
  load_navigation_database();
  EXPECT_EQ(nav_airport_count + nav_navaid_count + nav_intersection_count + nav_airway_fix_count, 0);
  EXPECT_EQ(atc_boundary_count, 0);
  EXPECT_EQ(atc_boundaries_loaded, 1);
  EXPECT_EQ(load_airport_block("KSEA", 1), 0);

  // The file appearing later is not read on the next draw.
  std::filesystem::create_directories(root + "/vek/navdata");
  std::ofstream(root + "/vek/navdata/atc_bdry.txt") << "B NEW0001 NW 1 1\n1 1\n";
  load_atc_boundaries();
  EXPECT_EQ(atc_boundary_count, 0);
  std::filesystem::remove_all(root);
}

TEST(NavdbLoad, EdgeFilesSkipBadLinesAndKeepNeighbours) {
  load_edge_database();
  // apts.txt 8 bad lines and its last line, cut inside a number; apts_user.txt 1,
  // information 4, boundaries 5.
  EXPECT_EQ(nav_lines_skipped, 8 + 1 + 1 + 4 + 5);
  EXPECT_EQ(nav_records_dropped, 1);  // a third information text
  EXPECT_EQ(nav_navaid_count, 0);     // comments only
  EXPECT_EQ(nav_intersection_count, 0);  // empty file
  ASSERT_EQ(nav_airport_count, 6);
  EXPECT_EQ(nav_runway_count, 3);

  // The runways after a bad airport line do not land on the airport before it.
  EXPECT_STREQ(nav_airports[1].ident, "KAAA");
  ASSERT_EQ(nav_airports[1].rwy_count, 1);
  EXPECT_STREQ(nav_runways[nav_airports[1].rwy_first].ident, "09");
  EXPECT_EQ(nav_runways[nav_airports[1].rwy_first].right_pattern, 1);

  // Over-long texts are cut at their capacity.
  const NavRecord& longer = nav_airports[2];
  EXPECT_STREQ(longer.ident, "ABCDEFGHIJK");
  EXPECT_EQ(std::string(longer.name).size(), static_cast<size_t>(nav_name_size - 1));
  const RwyRecord& lr = nav_runways[longer.rwy_first];
  EXPECT_STREQ(lr.ident, "0123456");
  EXPECT_STREQ(lr.freq, "123.456");
  EXPECT_STREQ(lr.app, "LONGAPP");
  EXPECT_DOUBLE_EQ(lr.heading2, 190.0);

  // Duplicates stay separate records; the runway goes to the second one.
  EXPECT_STREQ(nav_airports[3].ident, "KDUP");
  EXPECT_STREQ(nav_airports[4].ident, "KDUP");
  EXPECT_EQ(nav_airports[3].rwy_count, 0);
  EXPECT_EQ(nav_airports[4].rwy_count, 1);
  EXPECT_EQ(find_airport("KDUP"), 3);

  // CRLF line ends; a last line without a line end that stops inside a number may be cut
  // in it: its runway is refused.
  EXPECT_STREQ(nav_airports[5].name, "LAST AIRPORT");
  EXPECT_STREQ(nav_airports[5].extra, "-12");
  EXPECT_EQ(nav_airports[5].rwy_count, 0);  // nor given the user file's leading runway
  EXPECT_STREQ(nav_airports[6].ident, "KUSR");
  EXPECT_EQ(nav_airports[6].rwy_count, 0);

  ASSERT_EQ(apt_info_count, 1);
  EXPECT_STREQ(apt_infos[1].text1, "FIRST TEXT");
  EXPECT_STREQ(apt_infos[1].text2, "SECOND TEXT");

  ASSERT_EQ(atc_boundary_count, 2);
  EXPECT_EQ(atc_boundaries[1].count, 3);
  EXPECT_DOUBLE_EQ(atc_boundary_points[atc_boundaries[1].first_point + 2].lon, 20.0);
  EXPECT_STREQ(atc_boundaries[2].ident, "TEST002");
  EXPECT_EQ(atc_boundaries[2].count, 1);
}

TEST(NavdbLoad, AirportTableFilledPastCapacityDropsWarnsAndCountsOnce) {
  std::string text;
  text.reserve(40 * nav_airport_slots);
  const int lines = nav_airport_slots + 8;  // 9 more than the table holds
  char line[80];
  for (int i = 1; i <= lines; ++i) {
    std::snprintf(line, sizeof line, "A K%05d %.4f %.4f 10 A%d\n", i, (i % 1700) * 0.05, 1.0, i);
    text += line;
  }
  NavLoadResult r = load_apts_text(text);
  check_nav_capacity_warnings();
  EXPECT_EQ(r.records, nav_airport_slots - 1);
  EXPECT_EQ(r.dropped, 9);
  EXPECT_STREQ(nav_airports[45001].ident, "K45001");
  EXPECT_EQ(count_messages("Apts '45001' approaching struct_limit"), 1);
  EXPECT_EQ(count_messages("Apts '9' dropped at struct_limit"), 1);
  // A runway for a dropped airport is dropped too, not given to the last stored one.
  r = load_apts_text("A KMORE 1 1 1 MORE\nR 09 100 1 1 90 - - 270\n");
  EXPECT_EQ(r.dropped, 2);
  EXPECT_EQ(nav_airports[45001].rwy_count, 0);
  check_nav_capacity_warnings();
  EXPECT_EQ(count_messages("Rwys '1' dropped at struct_limit"), 1);
  EXPECT_EQ(module_message_count, 3);
}

TEST(NavdbLoad, WarningNamesTheTableAndItsCount) {
  std::string text;
  for (int i = 1; i <= 28502; ++i) text += "N" + std::to_string(i) + " V 1 1 110.00\n";
  load_navs_text(text);
  check_nav_capacity_warnings();
  EXPECT_EQ(count_messages("Navs '28502' approaching struct_limit"), 1);
  EXPECT_EQ(module_message_count, 1);
}

TEST(NavdbLoad, RunwaysPastTwentyTwoAreDroppedPerAirportAndCounted) {
  std::string text = "A KBIG 1 1 1 BIG\n";
  for (int i = 1; i <= 25; ++i) text += "R " + std::to_string(i) + " 100 1 1 90 - - 270\n";
  text += "A KNEXT 2 2 2 NEXT\nR 01 100 2 2 10 - - 190\n";
  NavLoadResult r = load_apts_text(text);
  EXPECT_EQ(r.dropped, 3);
  EXPECT_EQ(nav_airports[1].rwy_count, 22);
  EXPECT_EQ(nav_airports[2].rwy_count, 1);
  EXPECT_STREQ(nav_runways[nav_airports[2].rwy_first].ident, "01");
  check_nav_capacity_warnings();
  EXPECT_EQ(count_messages("Rwys '3' dropped at struct_limit"), 1);
}

TEST(NavdbLoad, ProcedureLegsPastCapacityAreDropped) {
  std::string text = "P KAAA LONG1 09\n";
  for (int i = 1; i <= 405; ++i) text += "L - F" + std::to_string(i) + " 1 1 - - -\n";
  text += "L - BAD 1 1 - high -\nP KAAA NEXT1 09\nL T1 F1 1 1 IAF 3000 210\n";
  text += "L - BAD 1 1 - 1e12 -\nL - BAD 1 1 - - 5000\nL - BAD 1 1 - - -1\n";
  NavLoadResult r = load_procs_text(text, proc_kind_sid);
  EXPECT_EQ(r.dropped, 5);
  EXPECT_EQ(r.skipped, 4);
  EXPECT_EQ(nav_procs[1].leg_count, proc_leg_slots - 1);
  const ProcLeg& leg = nav_proc_legs[nav_procs[2].leg_first];
  EXPECT_EQ(nav_procs[2].leg_count, 1);
  EXPECT_STREQ(leg.transition, "T1");
  EXPECT_STREQ(leg.role, "IAF");
  EXPECT_DOUBLE_EQ(leg.alt, 3000.0);
  EXPECT_DOUBLE_EQ(leg.spd, 210.0);
  EXPECT_DOUBLE_EQ(nav_proc_legs[1].alt, -999.0);
}

TEST(NavdbLoad, NumbersMustBeWholeAndInRange) {
  NavLoadResult r = load_ints_text(
      "OK1 45 -122\nBAD1 45x -122\nBAD2 45 -181\nBAD3 inf 0\nBAD4 1e999 0\nBAD5 45\n"
      "BAD6 45 -122 EXTRA\nOK2 +90 180\nOK3 -90.0 -180.0\nBAD7 +-47.3 -122\nBAD8 45 ++122\n");
  EXPECT_EQ(r.records, 3);
  EXPECT_EQ(r.skipped, 8);
  EXPECT_STREQ(nav_intersections[2].ident, "OK2");
  // Headings and lengths that no display could print.
  r = load_apts_text("A KAAA 1 1 1 A\nR 09 100 1 1 1e300 - - 90\nR 09 100 1 1 90 - - -5\n"
                     "R 09 -100 1 1 90 - - 270\nR 09 99999999999 1 1 90 - - 270\nR 09 100 1 1 360 - - 0\n");
  EXPECT_EQ(r.skipped, 4);
  EXPECT_EQ(nav_airports[1].rwy_count, 1);
  r = load_navs_text("ABC X 1 1 110.00 BAD TYPE\nABC VOR 1 1 110.00 BAD TYPE\nABC N 1 1 -\n");
  EXPECT_EQ(r.skipped, 2);
  EXPECT_STREQ(nav_navaids[1].freq, "");
  EXPECT_STREQ(nav_navaids[1].name, "");
}

// The sample database copied with each file's line ends and start changed loads the same
// records; a file that yields nothing, or that cannot be read, is named in a message.
TEST(NavdbLoad, ByteOrderMarksAndEveryLineEndLoadTheSameRecords) {
  namespace fs = std::filesystem;
  std::string root = (fs::temp_directory_path() / "vek_navdb_ends").string();
  const std::string src = std::string(VEK_NAVDB_SAMPLE_ROOT) + "/vek/navdata";
  struct Row {
    const char* what;
    std::string (*change)(const std::string&);
  };
  const Row rows[] = {
      {"byte-order mark", [](const std::string& t) { return "\xEF\xBB\xBF" + t; }},
      {"CR only",
       [](const std::string& t) {
         std::string out = t;
         std::replace(out.begin(), out.end(), '\n', '\r');
         return out;
       }},
      {"CRLF and a mark",
       [](const std::string& t) {
         std::string out = "\xEF\xBB\xBF";
         for (char c : t) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
         return out;
       }},
  };
  // What the sample database loads as it stands.
  clear_navigation_database();
  load_sample_database();
  const int counts[] = {nav_airport_count, nav_runway_count,     nav_navaid_count,        nav_intersection_count,
                        nav_airway_fix_count, nav_proc_leg_count, atc_boundary_point_count};
  for (const Row& row : rows) {
    fs::remove_all(root);
    fs::create_directories(root + "/vek/navdata");
    for (const auto& entry : fs::directory_iterator(src)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      std::ofstream(root + "/vek/navdata/" + entry.path().filename().string(), std::ios::binary)
          << row.change(text);
    }
    clear_navigation_database();
    module_message_count = 0;
    sim_root_path = root;
    load_navigation_database();
    const int loaded[] = {nav_airport_count, nav_runway_count,     nav_navaid_count,        nav_intersection_count,
                          nav_airway_fix_count, nav_proc_leg_count, atc_boundary_point_count};
    EXPECT_TRUE(std::equal(std::begin(counts), std::end(counts), std::begin(loaded))) << row.what;
    EXPECT_GT(nav_intersection_count, 0) << row.what;
    EXPECT_EQ(nav_lines_skipped, 0) << row.what;
    EXPECT_EQ(module_message_count, 0) << row.what;
    EXPECT_STREQ(nav_airports[1].ident, "KSEA") << row.what;
  }

  fs::remove_all(root);
  fs::create_directories(root + "/vek/navdata");
  std::ofstream(root + "/vek/navdata/navs.txt") << "; only a comment\n\n";
  fs::create_symlink(root + "/vek/navdata/ints.txt", root + "/vek/navdata/ints.txt");  // a loop
  clear_navigation_database();
  module_message_count = 0;
  sim_root_path = root;
  load_navigation_database();
  EXPECT_EQ(count_messages("navs.txt holds no record"), 1);
  EXPECT_EQ(count_messages("File '" + root + "/vek/navdata/ints.txt' refused: unreadable"), 1);
  fs::remove_all(root);
  clear_navigation_database();
}

// Loaders link their records to the indexes and flag repeated airway points in runs; the
// chains and flags must be those of adding the records one by one: for every key, its
// records newest first, and a point flagged when an earlier line had its ident and place.
TEST(NavdbLoad, IndexChainsAndRepeatsAreThoseOfAddingRecordByRecord) {
  auto line_of = [](int table, int i) {
    std::string ident = "ID" + std::to_string(i % 7);  // each ident in many runs
    // Some cut at their capacity or at a NUL they hold: the key is the text stored.
    if (i % 5 == 1) ident += "_LONGER_THAN_ITS_ROOM";
    if (i % 5 == 2) ident += std::string("\0", 1) + std::to_string(i % 4);
    const std::string airway = "AWY" + std::to_string(i % 3) + (i % 4 == 1 ? "_LONGER_THAN_ITS_ROOM" : "");
    const std::string place = std::to_string(10 + i % 3) + " " + std::to_string(20 + i % 3);  // again 21 lines on
    switch (table) {
      case 0: return "A " + ident + " " + place + " 100 NAME\nR 09 8000 " + place + " 90 - - 270\n";
      case 1: return ident + " V " + place + " 113.90 NAME\n";
      case 2: return ident + " " + place + "\n";
      default: return airway + " " + std::to_string(i) + " " + ident + " " + place + "\n";
    }
  };
  struct Row {
    NavLoadResult (*load)(std::string_view);
    const NavIndex& index;
    const NavRecord* table;
    const int& count;
    bool by_extra;  // airway fixes are indexed by airway name
  };
  const Row rows[] = {{load_apts_text, nav_airport_index, nav_airports, nav_airport_count, false},
                      {load_navs_text, nav_navaid_index, nav_navaids, nav_navaid_count, false},
                      {load_ints_text, nav_intersection_index, nav_intersections, nav_intersection_count, false},
                      {load_awys_text, nav_airway_index, nav_airway_fixes, nav_airway_fix_count, true}};
  for (int t = 0; t < 4; ++t) {
    const Row& row = rows[t];
    clear_navigation_database();
    // Two files, as a user file follows its base file: the second's records chain on.
    for (int part = 0; part < 2; ++part) {
      std::string text;
      for (int i = part * 150; i < part * 150 + 150 + part * 31; ++i) text += line_of(t, i);
      EXPECT_EQ(row.load(text).skipped, 0) << t;
    }
    ASSERT_EQ(row.count, 331) << t;
    auto key_of = [&](int i) { return std::string(row.by_extra ? row.table[i].extra : row.table[i].ident); };
    for (int first = 1; first <= row.count; ++first) {
      const std::string key = key_of(first);
      std::vector<int> chained, scanned;
      for (int i = nav_index_first(row.index, key); i != 0; i = row.index.next[i])
        if (key_of(i) == key) chained.push_back(i);
      for (int i = row.count; i >= 1; --i)
        if (key_of(i) == key) scanned.push_back(i);
      ASSERT_EQ(chained, scanned) << t << " " << key;
    }
    for (int i = 1; t == 3 && i <= row.count; ++i) {
      int earlier = 0;
      for (int j = 1; j < i; ++j)
        earlier |= std::strcmp(nav_airway_fixes[j].ident, nav_airway_fixes[i].ident) == 0 &&
                   nav_airway_fixes[j].lat == nav_airway_fixes[i].lat && nav_airway_fixes[j].lon == nav_airway_fixes[i].lon;
      ASSERT_EQ(nav_airway_fixes[i].dup, earlier) << i;
    }
  }
  clear_navigation_database();
}

// A file that tells a size smaller than it holds (as the kernel's own files tell 0) is read
// whole all the same, its room grown as it is read.
TEST(NavdbLoad, AFileLargerThanItsToldSizeIsReadWhole) {
  const std::string path = "/proc/self/environ";
  std::ifstream in(path, std::ios::binary);
  if (!in) GTEST_SKIP() << "no " << path;
  const std::string expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string text;
  ASSERT_TRUE(read_nav_file(path, text));
  EXPECT_EQ(text, expected);
}

// The groups read their files side by side: refusals still come in file order, before the
// files' counts, the boundaries' last, and every other file loads.
TEST(NavdbLoad, RefusalsKeepFileOrderWhileGroupsReadSideBySide) {
  namespace fs = std::filesystem;
  const std::string root = (fs::temp_directory_path() / "vek_navdb_order").string();
  const std::string dir = root + "/vek/navdata/";
  fs::remove_all(root);
  fs::create_directories(dir);
  for (const char* folder : {"apts.txt", "awys.txt", "sids.txt", "apt_additional_info.txt", "atc_bdry.txt"})
    fs::create_directory(dir + folder);
  std::ofstream(dir + "navs.txt") << "AAA V 10 20 113.90 NAME\nbad\n";
  std::ofstream(dir + "ints.txt") << "FIXA 10 20\nFIXB 11 21\n";
  std::ofstream(dir + "stars.txt") << "P KSEA STAR1 16L\nL - FIXA 10 20 - - -\n";
  clear_navigation_database();
  module_message_count = 0;
  sim_root_path = root;
  load_navigation_database();
  EXPECT_EQ(nav_navaid_count, 1);
  EXPECT_EQ(nav_intersection_count, 2);
  EXPECT_EQ(nav_proc_leg_count, 1);
  std::vector<std::string> expected;
  for (const char* folder : {"apts.txt", "awys.txt", "sids.txt", "apt_additional_info.txt"})
    expected.push_back("File '" + dir + folder + "' refused: not a regular file");
  expected.push_back("navs.txt '1' lines skipped as malformed");
  expected.push_back("File '" + dir + "atc_bdry.txt' refused: not a regular file");  // read with them, told last
  std::vector<std::string> posted(module_messages + 1, module_messages + 1 + module_message_count);
  EXPECT_EQ(posted, expected);
  // Boundaries loaded before the rest (the map layer asks for them first) are not read again.
  fs::remove(dir + "atc_bdry.txt");
  std::ofstream(dir + "atc_bdry.txt") << "B SY1 S1 10 20\n10 20\n11 21\n";
  clear_navigation_database();
  module_message_count = 0;
  load_atc_boundaries();
  std::ofstream(dir + "atc_bdry.txt", std::ios::app) << "12 22\n";
  load_navigation_database();
  EXPECT_EQ(atc_boundary_point_count, 2);
  EXPECT_EQ(nav_intersection_count, 2);
  fs::remove_all(root);
  clear_navigation_database();
}

// Rows are backed ahead of a file's lines before they are parsed; a file of malformed lines
// fills none of them, and the pages past the table's last entry are given back.
TEST(NavdbLoad, RowsBackedForLinesThatFillNoneAreGivenBack) {
  namespace fs = std::filesystem;
  const std::string root = (fs::temp_directory_path() / "vek_navdb_backed").string();
  fs::remove_all(root);
  fs::create_directories(root + "/vek/navdata");
  constexpr int kBadLines = 40000;
  {
    std::ofstream apts(root + "/vek/navdata/apts.txt");
    apts << "A KONE 10 20 100 ONE\n";
    for (int i = 0; i < kBadLines; ++i) apts << "A BAD north east 0 BAD\n";
  }
  clear_navigation_database();
  sim_root_path = root;
  load_navigation_database();
  EXPECT_EQ(nav_airport_count, 1);
  EXPECT_EQ(nav_lines_skipped, kBadLines);
  const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const uintptr_t from = (reinterpret_cast<uintptr_t>(&nav_airports[2]) + page - 1) & ~(page - 1);
  const uintptr_t to = reinterpret_cast<uintptr_t>(&nav_airports[kBadLines + 2]) & ~(page - 1);
  std::vector<unsigned char> resident((to - from) / page);
  ASSERT_EQ(::mincore(reinterpret_cast<void*>(from), to - from, resident.data()), 0);
  EXPECT_EQ(std::count_if(resident.begin(), resident.end(), [](unsigned char r) { return r & 1; }), 0);
  fs::remove_all(root);
  clear_navigation_database();
}
