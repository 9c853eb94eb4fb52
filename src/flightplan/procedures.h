// Departure and arrival procedures of the route: the choice lists of the origin and
// destination airport blocks (apt_blocks[1] and [2], loaded by load_airport_block), the
// pending choices, previews, and the insertion of SID, STAR and approach legs.
//
// Choice texts are "------" when nothing is chosen.
//
// Insertion rules (edit plan):
// - A SID's legs follow record 0; legs of a SID inserted before (segment "SID" or
//   "SIDSTAR", with the discontinuity that followed them) are replaced.
// - A STAR's legs go before the approach, else before the destination (the last airport
//   record); an earlier STAR is replaced. An approach's legs go before the destination;
//   an earlier approach is replaced. Approach legs carry the segment "APCH" ("APPR" is
//   read as the same).
// - Where the procedure meets the route: the same fix on both sides is kept once (the
//   procedure's record, with its constraints); different fixes get a "DISCO" between.
// - Legs are those without a transition and those of the chosen transition, in the
//   procedure's order. The runway picks the procedure block for that runway ("ALL"
//   blocks serve every runway; "------" takes the first block of the name).
// - An insertion that would pass 200 records is refused (answer 0), the plan unchanged.
#pragma once

#include <cstdint>
#include <string>

constexpr int PROC_LIST_CAPACITY = 60;  // entries 1..60 of each choice list

// Smiths CDU lists (1-based, with counts).
extern std::string dep_sid_list[PROC_LIST_CAPACITY + 1];
extern int32_t dep_sid_count;
extern std::string dep_trans_list[PROC_LIST_CAPACITY + 1];
extern int32_t dep_trans_count;
extern std::string dep_rwy_list[PROC_LIST_CAPACITY + 1];
extern int32_t dep_rwy_count;
extern std::string arr_star_list[PROC_LIST_CAPACITY + 1];
extern int32_t arr_star_count;
extern std::string arr_trans_list[PROC_LIST_CAPACITY + 1];
extern int32_t arr_trans_count;
struct ApprListEntry {
  std::string type;    // approach name, e.g. "I10R"
  std::string runway;  // its runway text
};
extern ApprListEntry arr_appr_list[PROC_LIST_CAPACITY + 1];
extern int32_t arr_appr_count;
extern std::string arr_appr_trans_list[PROC_LIST_CAPACITY + 1];
extern int32_t arr_appr_trans_count;
extern std::string arr_rwy_list[PROC_LIST_CAPACITY + 1];
extern int32_t arr_rwy_count;
extern int32_t arr_appr_index;

// Pending choices.
// Also "dep_sid_text", "dep_trans_text", "dep_runway_text"; "star_text", "star_trans_text",
// "arr_runway_text"; "appr_type_text", "appr_trans_text".
extern std::string pending_sid, pending_sid_trans, route_dep_rwy;
extern std::string pending_star, pending_star_trans, pending_arr_rwy;
extern std::string pending_appr_type, pending_appr_trans;
extern int32_t pending_sid_index, pending_star_index;
extern std::string route_arr_rwy;
extern std::string dep_airport_text, arr_airport_text;
extern int32_t sid_block_index, star_block_index;  // chosen blocks in apt_blocks[1] / [2]; 0 none
extern int32_t dep_insert_row, arr_insert_row;

// Preview of the chosen procedure: legs 1..proc_preview_count (at most 8).
struct ProcPreviewLeg {
  std::string ident;
  std::string role;  // approaches: "IAF", "FAF", "MAP", "ARC", "HP" or empty
  double lat = 0.0;
  double lon = 0.0;
};
extern ProcPreviewLeg proc_preview[9];
extern int32_t proc_preview_count;

// --- List builders (each rebuilds one list of the origin or destination block and the
// matching Smiths list).
// SIDs of the origin usable from `runway` that have `transition` ("------": any).
void set_origin_proc_entry(const std::string& runway, const std::string& transition);
// Transitions of SID `sid` ("------": of every SID) for `runway`.
void set_origin_proc_entry_ext(const std::string& sid, const std::string& runway, int flag);
// Runways of SID `sid` ("------": every runway of the origin).
void fill_origin_proc_entry(const std::string& sid);
// STARs of the destination for `runway` with `transition`.
void set_dest_proc_entry(const std::string& runway, const std::string& transition);
// Transitions of STAR `star` ("------": of every STAR) for `runway`.
void set_dest_proc_entry_ext(const std::string& star, const std::string& runway, int flag);
void fill_dest_proc_entry(const std::string& star);
// Approaches of the destination for `runway` ("------": all) with `transition`.
void list_approaches(const std::string& runway, const std::string& transition);
// Transitions of the approach pending_appr_type (for pending_arr_rwy).
void apply_approach_selection();
// Runways of approach `approach` with `transition`.
void set_dest_iaf_entry(const std::string& approach, const std::string& transition);

// --- Previews.
void sid_insert_helper_origin();   // SID sid_block_index (else pending_sid), pending_sid_trans
void star_insert_helper_dest();    // STAR star_block_index (else pending_star), pending_star_trans
// Approach pending_appr_type with pending_appr_trans for pending_arr_rwy into the preview, and
// its transitions into arr_appr_trans_list.
void list_approach_transitions();

// --- Insertions. Each answers 1 when legs were inserted, 0 when refused or not found.
// GNS-XLS: the chosen departure / arrival / approach into the edit or the active plan
// (the active variants edit a copy of the active plan and activate it, keeping the
// active waypoint).
int insert_sid_edit();
int insert_sid_active();
int insert_star_appr_edit();
int insert_star_appr_active();
int insert_approach();            // into the active plan
int insert_approach_disco(int flag);  // into the edit plan; steps the state in 0 or 3 when flag is 1

// Smiths DEPARTURES: mode 0 makes dep_sid_list[n] the pending SID; the transition and
// runway lists are rebuilt for it; route_sid / route_sid_trans take the pending SID and
// transition; the SID's legs go into the edit plan for route_dep_rwy; the state steps
// in 0 or 3.
int insert_procedure_active_2(int n, int mode);
// Smiths ARRIVALS: the twin with arr_star_list, pending_star, pending_star_trans,
// pending_arr_rwy.
int insert_procedure_edit_3(int n, int mode);
// Mission CDU: mode 0 makes SID n of the origin block route_sid; either mode rebuilds
// the departure from route_runway, route_sid, route_sid_trans.
int insert_procedure_active_1(int n, int mode);
// Mission CDU: mode 0 makes STAR n of the destination block route_arr_sel_1; either
// mode rebuilds the arrival from route_arr_sel_1 with transition route_arr_sel_2.
int insert_procedure_edit_2(int n, int mode);
