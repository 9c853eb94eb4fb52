// The quick paths of the database give what the plain ones give: the parallel load the
// tables of loading file by file, the number reader the values of std::from_chars, the
// nearby lists those of measuring every record.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
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

namespace {

// The lines and the words of a text as a reading byte by byte finds them.
std::vector<std::string> plain_lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] != ';')
      lines.emplace_back(line.substr(first, line.find_last_not_of(" \t") + 1 - first));
  }
  return lines;
}

std::vector<std::string> plain_words(std::string_view line, int n, std::string& rest) {
  std::vector<std::string> words;
  size_t pos = 0;
  while (true) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (static_cast<int>(words.size()) == n || pos == line.size()) break;
    size_t end = pos;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
    words.emplace_back(line.substr(pos, end - pos));
    pos = end;
  }
  rest = static_cast<int>(words.size()) == n ? std::string(line.substr(pos)) : std::string();
  return words;
}

}  // namespace

// Texts of every length up to a few times the 16 and 64 bytes that the line and word
// finders take at once, of line ends, blanks, comments and NULs: the same lines, words and
// counts of lines.
TEST(NavdbExact, LinesAndWordsAreThoseOfAReadingByteByByte) {
  std::mt19937 rng(20261208);
  const std::string word_bytes("x1.-;\0AB", 8);
  for (int trial = 0; trial < 4000; ++trial) {
    const size_t size = trial < 300 ? static_cast<size_t>(trial) : rng() % 300;
    // On average a line end one byte in `ends`, a blank one in `blanks` of the others.
    const unsigned ends = 1u << (rng() % 7);
    const unsigned blanks = 1u << (rng() % 5);
    std::unique_ptr<char[]> bytes(new char[size]);  // a read past its end is caught
    for (size_t i = 0; i < size; ++i) {
      if (rng() % ends == 0) bytes[i] = rng() % 2 ? '\n' : '\r';
      else if (rng() % blanks == 0) bytes[i] = rng() % 2 ? ' ' : '\t';
      else bytes[i] = word_bytes[rng() % word_bytes.size()];
    }
    const std::string_view text(bytes.get(), size);
    std::vector<std::string> lines;
    for_each_record_line(text, [&](std::string_view line) { lines.emplace_back(line); });
    ASSERT_EQ(lines, plain_lines(text)) << trial;
    // The lines counted (each, and those of a kind) are those begun at the start and after an LF.
    for (const char kind : {'\0', 'A'}) {
      size_t plain = 0;
      for (size_t i = 0; i < size; ++i) plain += (i == 0 || text[i - 1] == '\n') && (kind == 0 || text[i] == kind);
      ASSERT_EQ(count_lines(text, kind), plain) << trial << " " << kind;
    }

    for (int n = 0; n <= 9; ++n) {
      std::string_view words[9];
      std::string_view rest;
      const int count = split_words(text, n, words, rest);
      std::string plain_rest;
      const std::vector<std::string> plain = plain_words(text, n, plain_rest);
      ASSERT_EQ(std::vector<std::string>(words, words + count), plain) << trial << " " << n;
      ASSERT_EQ(rest, plain_rest) << trial << " " << n;
    }
  }
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
  // Every count of digits before and after the point, with a sign or none, and each with one
  // byte made something else: the digits after the point are read 8 at a time.
  for (const char* sign : {"", "-", "+"}) {
    for (int whole = 0; whole <= 10; ++whole) {
      for (int fraction = -1; fraction <= 10; ++fraction) {
        std::string w = sign;
        for (int d = 0; d < whole; ++d) w += static_cast<char>('0' + rng() % 10);
        if (fraction >= 0) w += '.';
        for (int d = 0; d < fraction; ++d) w += static_cast<char>('0' + rng() % 10);
        words.push_back(w);
        for (char other : {'/', ':', '.', 'e', ' ', '\0'}) {
          std::string bad = w;
          if (!bad.empty()) bad[rng() % bad.size()] = other;
          words.push_back(bad);
        }
      }
    }
  }
  for (const std::string& text : words) {
    // Each word alone in a buffer of its size, so that a read past either end is caught.
    std::unique_ptr<char[]> bytes(new char[text.size()]);
    std::memcpy(bytes.get(), text.data(), text.size());
    const std::string_view w(bytes.get(), text.size());
    double fast = -1.0;
    bool ok = parse_double(w, fast);
    const char* first = w.data() + (!w.empty() && w[0] == '+' ? 1 : 0);
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
// The wide list of a table by the rule itself: every record within the radius measured,
// the nearest `limit` kept (the lower index first among equals), in table order.
std::vector<int> measured_list(const NavRecord* table, int count, double lat, double lon, int limit, bool skip_dups) {
  std::vector<std::pair<double, int>> within;
  for (int i = 1; i <= count; ++i) {
    if (skip_dups && table[i].dup) continue;
    double d, crs;
    compute_gc_distance_course(lat, lon, table[i].lat, table[i].lon, d, crs);
    if (d <= near_wide_radius_nm) within.push_back({d, i});
  }
  std::sort(within.begin(), within.end());
  if (static_cast<int>(within.size()) > limit) within.resize(static_cast<size_t>(limit));
  std::vector<int> out;
  for (const auto& w : within) out.push_back(w.second);
  std::sort(out.begin(), out.end());
  return out;
}

struct WideList {
  const char* name;
  const NavRecord* table;
  const int* count;
  void (*build)(double, double);
  const NavRecord* list;
  const int* listed;
  int limit;
  bool skip_dups;
};

const WideList kWideLists[] = {
    {"airports", nav_airports, &nav_airport_count, build_near_airports, near_airports_wide, &near_airports_wide_count,
     near_wide_limit, false},
    {"navaids", nav_navaids, &nav_navaid_count, build_near_navaids, near_navaids_wide, &near_navaids_wide_count,
     near_wide_limit, false},
    {"airway fixes", nav_airway_fixes, &nav_airway_fix_count, build_near_airway_fixes, near_airway_fixes_wide,
     &near_airway_fixes_wide_count, near_airway_fix_wide_limit, true},
};

// Table indexes of the records a list holds (each list record is a copy of one).
std::vector<int> listed_indexes(const WideList& w) {
  std::vector<int> out;
  for (int i = 1, k = 1; i <= *w.listed; ++i) {
    while (k <= *w.count && std::memcmp(&w.table[k], &w.list[i], sizeof(NavRecord)) != 0) ++k;
    out.push_back(k++);
  }
  return out;
}

TEST(NavdbExact, NearbyListsHoldWhatMeasuringEveryRecordKeeps) {
  clear_navigation_database();
  sim_root_path = VEK_NAVDB_WORLD_ROOT;
  load_navigation_database();
  // Poles, the date line, the dense point (full lists that rank) and open sea.
  const double centres[][2] = {{50.0, 8.0},   {0.0, 179.9},  {0.0, -179.9},  {85.0, 10.0}, {-88.0, -60.0},
                               {89.9, 180.0}, {47.45, -122.3}, {-33.9, 151.2}, {60.0, -179.0}, {-90.0, 0.0}};
  for (const WideList& w : kWideLists) {
    for (const auto& c : centres) {
      w.build(c[0], c[1]);
      EXPECT_EQ(listed_indexes(w), measured_list(w.table, *w.count, c[0], c[1], w.limit, w.skip_dups))
          << w.name << " " << c[0] << " " << c[1];
    }
  }
  clear_navigation_database();
}

TEST(NavdbExact, NearbyListsFollowTablesWrittenAfterABuild) {
  clear_navigation_database();
  auto place = [](int i, const char* ident, double lat, double lon) {
    nav_navaids[i] = NavRecord{};
    std::snprintf(nav_navaids[i].ident, nav_ident_size, "%s", ident);
    nav_navaids[i].lat = lat;
    nav_navaids[i].lon = lon;
  };
  place(1, "NEAR", 47.1, -122.0);
  place(2, "FAR", 10.0, 20.0);
  nav_navaid_count = 2;
  nav_tables_changed();
  build_near_navaids(47.0, -122.0);
  ASSERT_EQ(near_navaids_wide_count, 1);
  EXPECT_STREQ(near_navaids_wide[1].ident, "NEAR");
  // Rewritten: one record moved near, one added, one whose latitude is no number (measured
  // as the plain scan measures it: at no distance).
  place(2, "MOVED", 46.5, -121.0);
  place(3, "ODD", std::nan(""), -122.0);
  nav_navaid_count = 3;
  nav_tables_changed();
  build_near_navaids(47.0, -122.0);
  const WideList& w = kWideLists[1];
  EXPECT_EQ(listed_indexes(w), measured_list(nav_navaids, 3, 47.0, -122.0, near_wide_limit, false));
  EXPECT_EQ(near_navaids_wide_count, 3);
  // Fewer records than the index was made for: none past the count is listed.
  nav_navaid_count = 1;
  build_near_navaids(47.0, -122.0);
  EXPECT_EQ(near_navaids_wide_count, 1);
  clear_navigation_database();
}
