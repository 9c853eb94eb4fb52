// GNS-XLS flight management unit: the entry state its keys change, the draw dispatcher
// that runs the page of `gnsxls_page` once per powered frame, the keypad of both gauges
// and the page renderers.
//
// Input has two stages. A key other than ENTER only records (page id, a pending line
// key, line-key states, one-shot flags, scratchpad, page counters); the renderer of the
// current page acts on that in the next powered frame, after which the dispatcher clears
// the one-shot flags and the pending line key. ENTER (`gnsxls_enter_key`) acts at once.
// While `display_power` is 0 nothing is drawn and nothing is cleared, so a key pressed on
// a dark unit acts in the first powered frame. Both gauges show this one state.
//
// Line keys are numbered 1..10: L1..L5 = 1..5, R1..R5 = 6..10. A line-key state is 0
// nothing, 1 line chosen (first press: field opened or question asked), 2 second press or
// second field. Counters are 1-based. The design canvas is 495 x 400 units.
//
// Owned elsewhere: the scratchpad `gnsxls_scratchpad` with `gnsxls_prompt_open`,
// `gnsxls_clear_on_key` and `gnsxls_page` (the shared editor, cdu/smiths/smiths_cdu.h);
// `route_entry_text`, `fix_match_count` (flightplan/fpl_ops.h); `nav_search_count`,
// `airway_*`, `gnsxls_airway_line`, `gnsxls_airway_choice` (navdb/navdb.h).
#pragma once

#include <cstdint>
#include <string>

#include "cdu/smiths/smiths_cdu.h"
#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"
#include "platform/host/gauge_host.h"

// ---- page ids ----

constexpr int32_t GNSXLS_PAGE_FPL = 1;        // FLIGHT PLAN LIST / FLIGHT PLAN n / ACTIVE FPL
constexpr int32_t GNSXLS_PAGE_DIRECT = 7;
constexpr int32_t GNSXLS_PAGE_DATABASE_WPT = 8;
constexpr int32_t GNSXLS_PAGE_NAV = 9;
constexpr int32_t GNSXLS_PAGE_DEPARTURE = 10;
constexpr int32_t GNSXLS_PAGE_STAR = 11;
constexpr int32_t GNSXLS_PAGE_APPROACH = 12;
constexpr int32_t GNSXLS_PAGE_AIRWAY = 13;
constexpr int32_t GNSXLS_PAGE_SAVE_FPL = 14;
constexpr int32_t GNSXLS_PAGE_VNAV = 15;
constexpr int32_t GNSXLS_PAGE_VNAV_DATA = 16;
constexpr int32_t GNSXLS_PAGE_BLANK = 17;     // VNAV pressed while editing ACTIVE FPL
constexpr int32_t GNSXLS_PAGE_HOLD = 18;
constexpr int32_t GNSXLS_PAGE_PLAN = 19;
constexpr int32_t GNSXLS_PAGE_PILOT_WPT = 20;
constexpr int32_t GNSXLS_PAGE_OFFSET_WPT = 21;
constexpr int32_t GNSXLS_PAGE_LAST = 21;

constexpr int32_t GNSXLS_WINDOW = 4004;       // panel window the GNSXLS screen rectangle toggles
constexpr int32_t GNSXLS_ROWS_PER_PAGE = 6;   // plan rows of ACTIVE FPL and FLIGHT PLAN n
constexpr int32_t GNSXLS_PLANS_PER_PAGE = 8;  // entries of FLIGHT PLAN LIST

// ---- entry state ----

extern int32_t gnsxls_list_mode;       // page 1: 1 ACTIVE FPL, 2 plan list / opened plan
extern int32_t gnsxls_plan_selected;   // list mode 2: 1 = a stored plan is opened (view 2)
extern int32_t gnsxls_pending_lsk;     // line key pressed, not yet handled; 0 none
extern int32_t gnsxls_queued_lsk;      // line key a page queues for the next frame
extern int32_t gnsxls_lsk_state[11];   // entries 1..10
extern int32_t gnsxls_return_page;     // page that opened pages 8, 13, 20, 21
extern int32_t gnsxls_enter_pressed, gnsxls_clr_pressed, gnsxls_direct_pressed;  // one-shots
extern int32_t gnsxls_direct_armed;    // 1: the page-8 candidate is the direct-to target
extern std::string gnsxls_answer;      // YES/NO answer field of pages 7, 8, 20, 21
extern std::string gnsxls_turn_field;  // direct-to turn: "DEFAULT", "LEFT", "RIGHT"
extern int32_t gnsxls_fpl_column;      // ACTIVE FPL column: 1 ETE, 2 ETA, 3 DIS, 4 ALT
extern int32_t gnsxls_fpl_column_saved;
extern int32_t gnsxls_delete_request;  // 1: CLR asked to delete the chosen record
extern int32_t gnsxls_edit_row;        // fpl_active index of the row chosen on ACTIVE FPL
extern int32_t gnsxls_l4_row_index;    // plan index of the L4 row when L4 is pressed from rest
extern int32_t gnsxls_plan_number;     // list entry of the plan shown in view 2
extern std::string gnsxls_save_name;   // file name proposed by SAVE ACTIVE FPL (no ".RTE")
extern std::string gnsxls_new_wpt_name;  // name PILOT ENTERED WPT gives its waypoint
extern int32_t gnsxls_save_failed;     // 1: " Unable to Save" shown until the next key
extern int32_t gnsxls_load_failed;     // 1: "Unable to load FP" shown until the next key
// Why an entry or key was refused: shown in yellow on the title line in place of the
// page's title until the next key; empty for none.
extern std::string gnsxls_message;
constexpr const char* GNSXLS_MSG_PLAN_FULL = "FPL FULL";
constexpr const char* GNSXLS_MSG_NO_AIRPORT = "AIRPORT NOT FOUND";
constexpr const char* GNSXLS_MSG_INVALID = "INVALID ENTRY";

// Page counters: shown page / number of pages.
extern int32_t gnsxls_active_fpl_page, gnsxls_active_fpl_pages;
extern int32_t gnsxls_plan_list_page;  // its count: gnsxls_plan_list_pages (flight_plan.h)
extern int32_t gnsxls_plan_row_page, gnsxls_plan_row_pages;
extern int32_t gnsxls_nav_subpage;     // 1..4
extern int32_t gnsxls_nav_auto_man;    // NAVIGATION hold exit choice: 0 not chosen, 1 AUTO, 2 MAN
extern int32_t gnsxls_vnav_subpage, gnsxls_vnav_subpages;
extern int32_t gnsxls_plan_subpage;    // 1..6
extern int32_t gnsxls_direct_choice, gnsxls_direct_count;
extern int32_t gnsxls_dep_choice, gnsxls_dep_count;
extern int32_t gnsxls_star_choice, gnsxls_star_count;
extern int32_t gnsxls_appr_choice;
extern int32_t gnsxls_airway_count;
extern int32_t gnsxls_wpt_shown;       // DATABASE WPT: candidate number shown
extern int32_t gnsxls_offset_choice;
extern std::string gnsxls_offset_ref;

// Procedure-page state that ENTER on page 1 prepares (the page texts dep_airport_text,
// arr_airport_text and the procedure texts live with the procedures, procedures.h).
extern int32_t gnsxls_proc_chosen[3];  // DEPARTURE, STAR, APPROACH: 1 = the legs are shown
extern int32_t proc_list_cursor;       // procedure pages' picked list item
extern int32_t airport_not_found;

// HOLDING PATTERN page fields that ENTER reads.
extern std::string hold_course_entry, hold_time_entry, hold_dist_entry;
extern int32_t hold_turn_choice, hold_exit_choice;  // 1 or 2
extern int32_t hold_entry_fresh;  // 1: the first edit of the opened field starts from its template

// OFFSET WPT and PILOT ENTERED WPT fields that ENTER on page 1 opens.
extern std::string gnsxls_offset_radial, gnsxls_offset_dist;
extern std::string gnsxls_offset_lat_text, gnsxls_offset_lon_text;
extern std::string gnsxls_pos_lat_text, gnsxls_pos_lon_text;
extern double gnsxls_pos_lat, gnsxls_pos_lon;
extern int32_t gnsxls_pos_field;  // PILOT ENTERED WPT field typed: 0 none, 1 latitude, 2 longitude
extern std::string gnsxls_offset_radial_edit, gnsxls_offset_dist_edit;  // OFFSET WPT texts being typed
extern int32_t gnsxls_offset_fresh;  // 1: the next digit starts the open offset field afresh
extern double gnsxls_offset_lat, gnsxls_offset_lon;  // offset point of the last insertion

// DIRECT: 2 while DIR CLOSEST ARP is shown, else 1 (written by the page every draw).
extern int32_t gnsxls_dir_closest_arp;
// The nine airports nearest to the aircraft, 1..9 from the farthest to the nearest.
struct ClosestAirport {
  std::string ident;  // empty for an unused entry
  double lat = 0.0, lon = 0.0;
  double dist = 9999.0;     // NM
  double bearing = 9999.0;  // degrees magnetic
};
extern ClosestAirport closest_airports[11];

// Run when a GNS-XLS activation replaces the active plan; the gauge table wires what
// other units empty then (the MCU scratchpad). May stay null.
extern void (*gnsxls_plan_activated_hook)();

// Zeroes the ten line-key states and proc_list_cursor.
void reset_cdu_entry_state();

// Every entry state, page counter and page field of the unit at its start values.
void gnsxls_reset_state();
// Install start state: GNSXLS starts the whole unit afresh (gnsxls_reset_state); GNSXLS_LM
// only returns to page 1, the plan list and the first pages, keeping an opened plan.
void gnsxls_start_state(bool lm);

// ---- frame ----

// Draws the page of gnsxls_page into the image; the size goes into `rec`.
void gnsxls_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height);
// Draw function and per-service hooks of the two gauges.
void gnsxls_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
void gnsxls_service_hook(GaugeHeader* gauge, int32_t service_id);
void gnsxls_lm_service_hook(GaugeHeader* gauge, int32_t service_id);

// ---- keypad ----

// The outer parent (empty box: the whole gauge), then per key a parent, one click child
// and an end: 58 keys in the keypad order of gnsxls_keypad.cpp; GNSXLS has the window
// rectangle as key 59.
constexpr int GNSXLS_KEY_COUNT = 58;
extern MouseRect gnsxls_mouse_rects[];
extern MouseRect gnsxls_lm_mouse_rects[];

int32_t gnsxls_nav_key();
int32_t gnsxls_vnav_key();
int32_t gnsxls_fpl_key();
int32_t gnsxls_plan_key();
int32_t gnsxls_hold_key();
int32_t gnsxls_prev_key();
int32_t gnsxls_next_key();
int32_t gnsxls_direct_key();
int32_t gnsxls_clr_key();
int32_t gnsxls_enter_key();
// The scratchpad text without its trailing blanks (the entry the pages take).
std::string gnsxls_trimmed(std::string s);
int32_t gnsxls_lsk_key(int32_t lsk);
int32_t gnsxls_char_key(char c);

// ---- ENTER branches ----

void gnsxls_enter_flight_plan_page();
void gnsxls_enter_database_wpt_page();
void gnsxls_enter_direct_page();
void gnsxls_enter_direct_candidate();   // DATABASE WPT opened by DIRECT
void gnsxls_enter_pilot_wpt_page();
// The active waypoint of fpl_active_index is flown to from the aircraft's position.
void gnsxls_fly_active_from_aircraft();
void gnsxls_enter_offset_wpt_page();
void gnsxls_enter_procedure_page();     // DEPARTURE, STAR, APPROACH
void gnsxls_enter_procedure_airport();  // DATABASE WPT opened by a procedure page
// True when the list open on the procedure page shown holds `text`.
bool gnsxls_open_list_holds(const std::string& text);

// ---- pages ----

using GnsxlsPageFn = void (*)(GaugeSurface* rec, GfxGraphics* g);
// Renderer of a page id; null for ids without a page.
GnsxlsPageFn gnsxls_page_renderer(int32_t page);

void gnsxls_flight_plan_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_database_wpt_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_airway_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_save_fpl_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_direct_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_departure_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_star_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_approach_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_navigation_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_vnav_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_vnav_data_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_holding_pattern_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_plan_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_pilot_wpt_page_draw(GaugeSurface* rec, GfxGraphics* g);
void gnsxls_offset_wpt_page_draw(GaugeSurface* rec, GfxGraphics* g);
