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

// The word after the first word `entry` of the word pairs `pairs` ("16L 11901 34R 11901").
// Returns 1 and sets `value`.
int find_vek_pair(std::string_view pairs, std::string_view entry, std::string& value);

// Bytes of a changed "vek_apts.txt" a look-up reads at most: a 200 MB file never holds one
// frame.
constexpr std::size_t vek_apts_piece_bytes = std::size_t{256} << 10;
// Reads "vek_apts.txt" on: opens it when it changed since it was last read (or first), then
// reads at most `budget` bytes of it (0: to its end), indexing each airport's first line;
// read whole, it replaces the one look-ups answer from. Answers the message to post, ""
// when none: its refusal ("File '<path>' refused: ..."), or "vek_apts.txt holds no record".
std::string read_vek_apts(std::size_t budget);

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
