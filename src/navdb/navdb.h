// Navigation database: fixed-capacity tables loaded once from "\vek\navdata\", the
// airport blocks, the lookups and the nearby lists that the maps draw.
// Every list is 1-based: entries 1..count, slot 0 unused. A table with N slots holds
// at most N - 1 records. Texts are NUL-terminated char arrays, cut at their capacity.
// File formats: docs/navdata.md.
#pragma once

#include <string>

// ---------------------------------------------------------------------------------------
// Text capacities (bytes, including the terminating NUL).
constexpr int nav_ident_size = 12;
constexpr int nav_name_size = 40;
constexpr int nav_type_size = 4;
constexpr int nav_freq_size = 8;
constexpr int nav_extra_size = 12;
constexpr int rwy_ident_size = 8;
constexpr int rwy_text_size = 8;
constexpr int proc_name_size = 16;
constexpr int apt_info_text_size = 80;

// One database record: airport ("APT"), VOR ("V"), other navaid ("N"), intersection or
// airway fix ("I").
struct NavRecord {
  char ident[nav_ident_size];
  char name[nav_name_size];   // airports and navaids; empty for fixes
  char type[nav_type_size];
  char freq[nav_freq_size];   // navaids: frequency text, e.g. "113.90" (VOR) or "362" (NDB)
  char extra[nav_extra_size]; // airports: elevation text (feet); airway fixes: airway name
  double lat;                 // degrees, north positive
  double lon;                 // degrees, east positive
  double dist_nm;             // spare values for lists that rank records (distance NM,
  double brg_mag;             //   magnetic bearing degrees)
  int rwy_first;              // airports: first runway in nav_runways (0 = none)
  int rwy_count;              // airports: number of runways (<= apt_rwy_limit)
  int seq;                    // airway fixes: sequence number on the airway
  int dup;                    // airway fixes: 1 when an earlier record is the same fix
};

// Runway record. R1..R7 are the descriptor fields of the runway line.
struct RwyRecord {
  char ident[rwy_ident_size];   // number with optional "L", "R", "C"
  int length_ft;                // R1
  double lat;                   // R2 threshold latitude
  double lon;                   // R3 threshold longitude
  double heading;               // R4 runway heading, degrees
  char freq[rwy_text_size];     // R5 frequency text; its first six characters are the ILS frequency
  char app[rwy_text_size];      // R6 approach text, e.g. "ILS"
  double heading2;              // R7 second heading: final-approach course, degrees
  int right_pattern;            // 1 when listed with "RIGHTPATTERN"
};

// One leg of a SID, STAR or approach.
struct ProcLeg {
  char transition[proc_name_size];  // empty when the leg belongs to no transition
  char fix[nav_ident_size];
  char role[nav_type_size];         // "IAF", "FAF", "MAF", "MAP", "ARC", "HP" or empty
  double lat;
  double lon;
  double alt;                       // altitude constraint, feet; -999 = none
  double spd;                       // speed constraint, knots; -999 = none
};

constexpr int proc_leg_slots = 401;  // legs 1..400

// One SID, STAR or approach for one runway.
struct ProcBlock {
  char name[proc_name_size];        // procedure name
  char runway[rwy_ident_size];      // runway text ("ALL" for every runway)
  char transition[proc_name_size];  // transition of the first leg (empty for none)
  int leg_count;
  ProcLeg legs[proc_leg_slots];
};

constexpr int apt_block_slots = 5;       // slots 1..4: 1 origin, 2 destination
constexpr int apt_rwy_limit = 22;        // runways per airport
constexpr int apt_rwy_name_limit = 12;   // runway-name list
constexpr int apt_proc_name_limit = 60;  // SID or STAR names
constexpr int apt_trans_limit = 60;      // transition list
constexpr int apt_appr_limit = 60;       // approach list and approach blocks
constexpr int apt_proc_block_limit = 100;

// One airport with its runways and procedures.
struct AptBlock {
  char ident[nav_ident_size];
  char name[nav_name_size];
  char elev[nav_extra_size];  // elevation text, feet
  double lat;
  double lon;
  int rwy_count;
  RwyRecord rwys[apt_rwy_limit + 1];
  int rwy_name_count;
  char rwy_names[apt_rwy_name_limit + 1][rwy_ident_size];
  int proc_name_count;                                   // SID names (origin) or
  char proc_names[apt_proc_name_limit + 1][proc_name_size];  // STAR names (destination)
  int trans_count;                                       // transitions of the chosen
  char trans_names[apt_trans_limit + 1][proc_name_size];  // procedure
  int appr_count;                                        // destination approaches:
  char appr_names[apt_appr_limit + 1][proc_name_size];    // name and runway text
  char appr_runways[apt_appr_limit + 1][rwy_ident_size];
  int proc_count;                                        // SID (origin) or STAR
  ProcBlock procs[apt_proc_block_limit + 1];             // (destination) blocks
  int appr_block_count;                                  // approach blocks (destination)
  ProcBlock appr_blocks[apt_appr_limit + 1];
};

struct NavPoint {
  double lat;
  double lon;
};

// ATC boundary. Its points are atc_boundary_points[first_point .. first_point + count - 1].
struct AtcBoundary {
  char ident[nav_ident_size];  // e.g. "YM00142"
  char label[8];               // up to 3 characters in the data
  int count;                   // points
  double label_lat;
  double label_lon;
  int first_point;
};

// Additional airport information: two texts per airport.
struct AptInfo {
  char ident[nav_ident_size];
  char text1[apt_info_text_size];
  char text2[apt_info_text_size];
};

// ---------------------------------------------------------------------------------------
// Tables (slots; a table holds slots - 1 records).
constexpr int nav_airport_slots = 45002;
constexpr int nav_navaid_slots = 30002;
constexpr int nav_intersection_slots = 300002;
constexpr int nav_airway_fix_slots = 150002;
constexpr int nav_runway_slots = 120002;
constexpr int nav_proc_slots = 30002;
constexpr int nav_proc_leg_slots = 600002;
constexpr int atc_boundary_slots = 2002;
constexpr int atc_point_slots = 400002;
constexpr int apt_info_slots = 45002;
constexpr int nav_airway_break_slots = 20002;

extern NavRecord nav_airports[nav_airport_slots];
extern int nav_airport_count;
extern NavRecord nav_navaids[nav_navaid_slots];
extern int nav_navaid_count;
extern NavRecord nav_intersections[nav_intersection_slots];
extern int nav_intersection_count;
extern NavRecord nav_airway_fixes[nav_airway_fix_slots];  // one record per airway point,
extern int nav_airway_fix_count;                          // in file order
extern RwyRecord nav_runways[nav_runway_slots];
extern int nav_runway_count;

// A break in an airway: its points with a sequence above `seq` start a new chain.
struct AirwayBreak {
  char airway[nav_extra_size];
  int seq;
};
extern AirwayBreak nav_airway_breaks[nav_airway_break_slots];
extern int nav_airway_break_count;

// Procedures of every airport: a header per block and a shared leg table.
constexpr int proc_kind_sid = 1;
constexpr int proc_kind_star = 2;
constexpr int proc_kind_appr = 3;
struct ProcHeader {
  char airport[nav_ident_size];
  char name[proc_name_size];
  char runway[rwy_ident_size];
  int kind;
  int leg_first;  // first leg in nav_proc_legs
  int leg_count;
};
extern ProcHeader nav_procs[nav_proc_slots];
extern int nav_proc_count;
extern ProcLeg nav_proc_legs[nav_proc_leg_slots];
extern int nav_proc_leg_count;

extern AtcBoundary atc_boundaries[atc_boundary_slots];
extern int atc_boundary_count;
extern NavPoint atc_boundary_points[atc_point_slots];
extern int atc_boundary_point_count;
extern int atc_boundaries_loaded;  // 1 once "atc_bdry.txt" has been read or found missing

extern AptInfo apt_infos[apt_info_slots];
extern int apt_info_count;

// ---------------------------------------------------------------------------------------
// Airport blocks, loaded airport, search list.
extern AptBlock apt_blocks[apt_block_slots];
extern int origin_runway_index;  // index into apt_blocks[1].rwys; <= 0 none
extern int dest_runway_index;    // index into apt_blocks[2].rwys; <= 0 none

// The airport of the last load_plan_airport_info (also read as the looked-up airport).
extern RwyRecord loaded_rwy_table[apt_rwy_limit + 1];  // also "apt_lookup_rwys"
extern int loaded_rwy_count;  // also "apt_lookup_rwy_count"
extern int loaded_rwy_base;   // 1 after a load; also "sel_rwy_top"
// Selected runway (the maps read it): record loaded_rwy_base + loaded_rwy_index - 1; -999
// none. Also "sel_rwy_row".
extern int loaded_rwy_index;
extern std::string loaded_apt_elev_text;  // feet, also set by load_airport_block; also "plan_apt_elev"
extern std::string plan_apt_ident;
extern std::string dest_info_loaded_1;  // airport-information texts of the last load
extern std::string dest_info_loaded_2;
extern std::string dest_info_text_1;    // their committed copies (taken by the callers)
extern std::string dest_info_text_2;

constexpr int nav_search_slots = 251;  // candidates 1..250
extern NavRecord nav_search_list[nav_search_slots];
extern int nav_search_count;  // index of the chosen candidate (1 after an airport block load)
// Number of candidates in nav_search_list; also "gnsxls_wpt_count", "entry_candidate_count".
extern int fix_match_count;

extern NavRecord nav_lists_21a[21];

// The airway loaded for a VIA entry.
extern std::string airway_name;
extern int airway_start_index;  // indexes into nav_search_list; 0 = none
extern int airway_end_index;
extern int gnsxls_airway_line;
extern int gnsxls_airway_choice;

extern std::string refnav_runway_data;

// Nearby lists (1-based) and the points they were built around.
constexpr int near_wide_slots = 3001;
constexpr int near_close_slots = 1001;
constexpr int near_wide_limit = 3000;
constexpr int near_close_limit = 1000;
constexpr int near_airway_fix_wide_slots = 8001;
constexpr int near_airway_fix_wide_limit = 8000;
constexpr int near_airway_fix_slots = 5001;
constexpr int near_airway_fix_limit = 5000;
constexpr double near_wide_radius_nm = 600.0;
constexpr double near_airports_radius_nm = 180.0;
constexpr double near_navaids_radius_nm = 320.0;
constexpr double near_airway_fixes_radius_nm = 200.0;

extern NavRecord near_airports_wide[near_wide_slots];
extern int near_airports_wide_count;
extern NavRecord near_airports[near_close_slots];
extern int near_airports_count;
extern NavRecord near_navaids_wide[near_wide_slots];
extern int near_navaids_wide_count;
extern NavRecord near_navaids[near_close_slots];
extern int near_navaids_count;
extern NavRecord near_airway_fixes_wide[near_airway_fix_wide_slots];
extern int near_airway_fixes_wide_count;
extern NavRecord near_airway_fixes[near_airway_fix_slots];
extern int near_airway_fixes_count;

extern NavPoint near_airports_wide_centre;  // all start at (-999, -999)
extern NavPoint near_airports_centre;
extern NavPoint near_navaids_wide_centre;
extern NavPoint near_navaids_centre;
extern NavPoint near_airway_fixes_wide_centre;
extern NavPoint near_airway_fixes_centre;

// The close airway-fix list is centred on the aircraft (present_lat, present_lon:
// module/sim_vars.h).

// ---------------------------------------------------------------------------------------
// Loading.

// Loads every navigation file once; later calls do nothing.
void load_navigation_database();
extern int navdb_loaded;

// Reads "atc_bdry.txt" once; does nothing while atc_boundaries_loaded is 1.
void load_atc_boundaries();

// Lines skipped as malformed and records dropped (at a table's capacity, or a third
// information text), over all loads.
extern int nav_lines_skipped;
extern int nav_records_dropped;

// ---------------------------------------------------------------------------------------
// Lookups.

// Loads airport `ident` into apt_blocks[slot] (slot 1 origin with its SIDs, 2 destination
// with its STARs and approaches, 3 and 4 runways only). Returns 1 when found, 0 when not
// (the block is then left as it was). When found, the airport becomes candidate 1 of
// nav_search_list and nav_search_count := 1; loaded_apt_elev_text := its elevation text.
int load_airport_block(const std::string& ident, int slot);

// Loads the runways and the two information texts of airport `ident` into
// loaded_rwy_table / dest_info_loaded_1 / _2, sets plan_apt_ident and
// loaded_apt_elev_text and posts "APT '%s' Set". Every mode loads the same data.
// An unknown airport empties the runway table and the texts and posts nothing.
void load_plan_airport_info(const std::string& ident, int mode);

// Loads airway `text` (a leading "#" and surrounding blanks are ignored): its fixes in
// sequence order into nav_search_list (at most 250; a navaid point with its navaid type and
// frequency, others type "I"), fix_match_count := their number
// (0 = not found), airway_name, airway_start_index := airway_end_index := 1 (0 when not
// found), gnsxls_airway_line := 0, gnsxls_airway_choice := 1.
void load_airways_file(const std::string& text);

// 1-based index of `fix` among the loaded airway's fixes, 0 when absent.
int find_airway_index(const std::string& fix);

// The entry and exit fixes of a leg along the loaded airway: the first pair of their
// indexes into nav_search_list that lie on one chain of the airway (no break between),
// into start and end. Returns 1, or 0 (start = end = 0) when no chain holds both.
int find_airway_leg(const std::string& entry, const std::string& exit, int& start, int& end);

// 1 when points a and b (indexes into nav_search_list) of the loaded airway lie on one
// chain, 0 when a break lies between them or an index is outside the loaded points.
int airway_same_chain(int a, int b);

// Moves nav_search_count to the next candidate of nav_search_list with the ident of the
// current one; returns 1 when there was one, 0 when none remains. `row` is the caller's
// route row, which the candidates were looked up for.
int select_next_duplicate(int row);

// Reads "vek_apts.txt": on the line of `airport`, looks for a word pair whose first word
// is `entry`; on a match stores the second word in refnav_runway_data and returns 1.
// Returns 0 when nothing matches (the caller shows "NOT FOUND IN DATABASE").
int lookup_vek_airport(const std::string& airport, const std::string& entry);

// Exact-ident search: kind 0 all tables, 1 navaids, 2 intersections, 3 airports, in the
// order navaids, intersections, airports. Fills nav_search_list 1..n (n <= 250), sets
// fix_match_count := n and nav_search_count := 1 (0 when none); returns n.
int search_nav_ident(const std::string& ident, int kind);

// Index of airport `ident` in nav_airports, 0 when absent.
int find_airport(const std::string& ident);

// ---------------------------------------------------------------------------------------
// Nearby lists. "Within" means a distance <= the radius. A list with more records within
// than its limit keeps the nearest ones; the records kept stay in table order.
void build_near_airports(double lat, double lon);         // 600 NM from the airports
void build_near_airports_close(double lat, double lon);   // 180 NM from near_airports_wide
void build_near_navaids(double lat, double lon);          // 600 NM from the navaids
void build_near_navaids_close(double lat, double lon);    // 320 NM from near_navaids_wide
void build_near_airway_fixes(double lat, double lon);     // 600 NM from the airway fixes, once each
void build_near_airway_fixes_close(double lat, double lon);  // 200 NM of the present position
// The wide lists read the whole tables through a position index, made again on the first
// build after this is called. The loaders of those tables and the clear call it; so must
// any other writer of nav_airports, nav_navaids or nav_airway_fixes.
void nav_tables_changed();

// Nearest-VOR table: rows 1..nearest_vor_rows of nav_lists_21b, nearest first, each with
// ident, frequency text, dist_nm and brg_mag (magnetic); an empty row has empty texts and
// distance and bearing 9999.0. Row 0 is unused.
constexpr int nearest_vor_rows = 9;
constexpr double nearest_vor_empty = 9999.0;
extern NavRecord nav_lists_21b[nearest_vor_rows + 1];

// Rebuilds nav_lists_21b from the type "V" records of near_navaids, measured from the
// present position (bearing = true course - magvar, plus 360 below 0.5).
void nearest_vor_table();

// ---------------------------------------------------------------------------------------
// Bounded appends to an airport block's lists (return 0 when full or already listed).
int apt_block_add_rwy_name(AptBlock& block, const char* name);
int apt_block_add_proc_name(AptBlock& block, const char* name);
int apt_block_add_trans_name(AptBlock& block, const char* name);

// Copies `src` into `dst` (capacity `size`), cut at the capacity, always terminated.
void nav_copy_text(char* dst, int size, const char* src);
