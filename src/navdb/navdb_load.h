// Text loaders behind load_navigation_database, one per file grammar. Each parses a
// whole file's text, appends to its tables and returns what it did; the tests and the
// fuzz targets call them directly.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

struct NavLoadResult {
  int lines = 0;    // record lines seen (comments and blank lines not counted)
  int records = 0;  // records stored
  int skipped = 0;  // malformed lines skipped
  int dropped = 0;  // records dropped at a table's capacity
};

NavLoadResult load_apts_text(std::string_view text);
NavLoadResult load_navs_text(std::string_view text);
NavLoadResult load_ints_text(std::string_view text);
NavLoadResult load_awys_text(std::string_view text);
NavLoadResult load_procs_text(std::string_view text, int kind);  // proc_kind_*
NavLoadResult load_atc_bdry_text(std::string_view text);
// Needs the airports and runways loaded first (it flags their runways).
NavLoadResult load_apt_info_text(std::string_view text);

// The "vek_apts.txt" rule on a text: on the first line whose first word is `airport`, the
// second word of the first pair whose first word is `entry`. Returns 1 and sets `value`.
int find_vek_airport_pair(std::string_view text, std::string_view airport,
                          std::string_view entry, std::string& value);

// Reads a whole navigation file (a regular file within the navigation size bound);
// false when it is missing, refused or unreadable.
bool read_nav_file(const std::string& path, std::string& text);
// The same for a file opened by open_regular_file; closes it.
bool read_opened_nav_file(std::FILE* file, std::string& text);

// Posts "<Table> '%d' approaching struct_limit" once per table when a table holds 95 %
// of its records or more.
void check_nav_capacity_warnings();

// Empties every table, list and flag (start state).
void clear_navigation_database();
