// Smiths FMS control display unit: CDU state, keypad, scratchpad and message line,
// the draw dispatcher and the page renderers.
//
// Clicks only record (a character, a message, a pending line key, a one-shot flag or
// a page id); the page of `smiths_page` acts on them during the next draw, then the
// dispatcher clears the one-shot flags. Both gauges share this one CDU state.
#pragma once

#include <cstdint>
#include <string>

#include "draw/gauge_surface.h"
#include "module/display_state.h"  // plan_center_index
#include "platform/gfx/gfx.h"
#include "platform/host/gauge_host.h"

// ---- CDU state ----

extern int32_t smiths_page;          // current page id; 25 (IDENT) at start
extern int32_t smiths_pending_lsk;   // L1..L5 1..5, R1..R5 6..10, L6 11, R6 12; 0 none
extern std::string smiths_scratchpad;      // at most 24 characters typed
extern std::string smiths_scratchpad_msg;  // shown instead of the scratchpad while not empty
constexpr std::size_t SMITHS_SCRATCHPAD_MAX = 24;

// One-shot flags: 1 from the click to the end of the next draw.
// Also "prev_page_flag", "next_page_flag", "rte_key_flag", "legs_key_flag", "hold_key_flag".
extern int32_t smiths_prev_page_key, smiths_next_page_key;
extern int32_t smiths_rte_key_flag, smiths_legs_key_flag, smiths_hold_key_flag;

// Sub-page numbers (1 = first); also "perf_sub_page", "rte_page_no", "progress_sub_page",
// "legs_page_no".
extern int32_t smiths_perf_page_no, smiths_rte_page_no, smiths_progress_page_no;
extern int32_t smiths_legs_page_no, smiths_fix_page_no, smiths_hold_page_no, smiths_pos_page_no;
extern int32_t smiths_hold_page_count;
extern int32_t smiths_navstat_page_no;  // 1 NAV STATUS, 2 NAV OPTIONS

extern int32_t smiths_legs_mode;      // 0 plain, 1 DIR INTC, 2 HOLD; also "legs_mode"
extern int32_t smiths_dir_intc_index; // edit record picked in mode 1; 0 none
extern int32_t smiths_hold_at_index;  // edit record picked in mode 2; 0 none

// LEGS page.
extern int32_t smiths_legs_page_count;  // also "legs_page_count"
extern int32_t select_wpt_row, select_wpt_return_page;
extern int32_t smiths_hold_select_entry;

// SELECT WAYPOINT page; a page opening it sets select_wpt_row, select_wpt_return_page
// and smiths_select_page_no := 1.
extern int32_t smiths_select_page_no, smiths_select_page_count;

// RTE page.
extern int32_t smiths_rte_page_count;  // also "rte_page_count"

// STORED FLIGHT PLANS page.
extern int32_t smiths_plans_page_no, smiths_plans_page_count;

// DEPARTURES page; also "dep_arr_page_no", "dep_arr_page_count", "dep_arr_side",
// "dep_trans_chosen", "dep_rwy_chosen".
extern int32_t smiths_dep_page_no, smiths_dep_page_count;
extern int32_t smiths_dep_sid_state;  // 0 none, 1 chosen, 2 chosen with the full list shown
extern int32_t smiths_dep_trans_chosen, smiths_dep_rwy_chosen;
extern int32_t dep_rwy_index;

// ARRIVALS page; also "arr_page_no", "arr_page_count", "arr_side", "arr_trans_chosen",
// "appr_chosen", "appr_trans_chosen", "appr_trans_index", "arr_rwy_chosen".
extern int32_t smiths_arr_page_no, smiths_arr_page_count;
extern int32_t smiths_arr_star_state;
extern int32_t smiths_arr_trans_chosen, smiths_arr_appr_chosen, smiths_arr_appr_trans_chosen;
extern int32_t smiths_arr_appr_trans_index;
extern int32_t smiths_arr_rwy_chosen, arr_rwy_index;

// The GNS-XLS entry field that the shared scratchpad editor edits.
extern int32_t gnsxls_page;           // 14 is SAVE ACTIVE FPL (field 10 wide, else 6)
extern std::string gnsxls_scratchpad;
extern int32_t gnsxls_prompt_open;    // edits only while 1; also "gnsxls_entry_open"
extern int32_t gnsxls_clear_on_key;   // 1: the next key empties the field first

// ---- page ids ----

constexpr int32_t SMITHS_PAGE_STORED_PLANS = 1;
constexpr int32_t SMITHS_PAGE_PERF_INIT = 3;
constexpr int32_t SMITHS_PAGE_LEGS = 6;
constexpr int32_t SMITHS_PAGE_SELECT_WPT = 9;
constexpr int32_t SMITHS_PAGE_DEPARTURES = 10;
constexpr int32_t SMITHS_PAGE_ARRIVALS = 11;
constexpr int32_t SMITHS_PAGE_APPROACH_REF = 12;
constexpr int32_t SMITHS_PAGE_RTE = 22;
constexpr int32_t SMITHS_PAGE_INIT_REF_INDEX = 23;
constexpr int32_t SMITHS_PAGE_DEP_ARR_INDEX = 24;
constexpr int32_t SMITHS_PAGE_IDENT = 25;
constexpr int32_t SMITHS_PAGE_POS_INIT = 26;
constexpr int32_t SMITHS_PAGE_TAKEOFF_REF = 27;
constexpr int32_t SMITHS_PAGE_REF_NAV_DATA = 28;
constexpr int32_t SMITHS_PAGE_TEMP_NAV = 29;       // no key leads here
constexpr int32_t SMITHS_PAGE_NAV_STATUS = 31;
constexpr int32_t SMITHS_PAGE_PROGRESS = 33;
constexpr int32_t SMITHS_PAGE_ECON_CLB = 34;
constexpr int32_t SMITHS_PAGE_ECON_CRZ = 35;
constexpr int32_t SMITHS_PAGE_ECON_DES = 36;
constexpr int32_t SMITHS_PAGE_FIX_INFO = 37;
constexpr int32_t SMITHS_PAGE_DES_FORECASTS = 38;  // no key leads here
constexpr int32_t SMITHS_PAGE_RTE_HOLD = 39;

// Pending line-key numbers.
constexpr int32_t LSK_L6 = 11;
constexpr int32_t LSK_R6 = 12;

// Element indexes of both gauges.
constexpr int32_t SMITHS_ELEMENT_SCREEN = 1;
constexpr int32_t SMITHS_ELEMENT_EXEC_LIGHT = 2;
constexpr int32_t SMITHS_ELEMENT_MSG_LIGHT = 3;

// ---- keypad ----

constexpr int SMITHS_KEY_COUNT = 70;
// The outer rectangle, then per key a parent holding one click child; 70 keys in the
// keypad order (1 INIT REF ... 69 EXEC, 70 screen centre).
extern MouseRect smiths_fms_mouse_rects[];
// Runs the click effect of key `key` (1..70).
void smiths_fms_key(int key);

// Scratchpad editing of the keypad.
void smiths_append_char(char c);
void smiths_plus_minus();
void smiths_clear_key();

// The shared scratchpad editor of the GNS-XLS field: `key` is one character, "*1"
// (delete) or empty with `pad_only` set.
void scratchpad_add_key(std::string key, int32_t pad_only);

// ---- frame ----

// Draws the current page into the image; the image size goes into `rec`.
void smiths_fms_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height);
// Draw function of both gauges: smiths_fms_draw on the screen element.
void smiths_fms_draw_gauge(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height, int32_t draw_mode);
// Per-service work of both gauges: start page at install, EXEC and MSG lights at pre-update.
void smiths_fms_service_hook(GaugeHeader* gauge, int32_t service_id);
// The dispatcher's twin on a graphics object of the caller's (no gauge calls it):
// clears it, drops the plan centre unless a plan map other than the MD-11's is shown,
// runs a full update step, draws the current page and ends the keys.
void smiths_fms_draw_with_update(GaugeSurface* rec, GfxGraphics* g);
// Registers the CDU's followers of the hold list and the flight phase (install).
void smiths_cdu_install();
// Ends the one-shot key flags after a CDU draw.
void clear_cdu_key_flags();
// True while one of the displays shows a plan-mode map.
bool smiths_plan_mode_shown();

// ---- pages ----

using SmithsPageFn = void (*)(GaugeSurface* rec, GfxGraphics* g);
// Renderer of a page id; null for ids without a page.
SmithsPageFn smiths_page_renderer(int32_t page);

void smiths_fms_stored_plans_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_legs_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_departures_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_arrivals_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_rte_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_init_ref_index_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_dep_arr_index_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_ident_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_fix_info_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_takeoff_ref_page_draw(GaugeSurface* rec, GfxGraphics* g);
// TAKEOFF REF's pre-flight status: PERF INIT still wanted (no reserves or cruise altitude),
// a departure runway still wanted.
bool perf_init_needed();
bool departure_needed();
// V1, VR or V2 (`which` 0-2) from the scratchpad `pad`: a speed of the field's range
// (V1 and VR below 250 kt, V2 below 270 kt). Taken in any order: a set speed the new one
// puts out of V1 <= VR <= V2 is cleared to be entered again. False when refused.
bool cdu_enter_takeoff_speed(int which, std::string& pad);
// TAKEOFF REF from its title to "<INDEX", shared with the mission CDU: `unset` stands
// for flaps and speeds not entered ("" draws nothing there).
struct CduPage;
void takeoff_ref_body(const CduPage& p, const char* unset);
// APPROACH REF from its title to "< INDEX", shared with the mission CDU; `weight` is the
// gross weight in the unit of WeightUnit.
void approach_ref_body(const CduPage& p, double weight);
// PERF INIT below its title, from GW/CRZ CG to TRANS ALT, shared with the mission CDU.
struct PerfInitStyle {
  bool isa_dev_as_difference;  // ISA DEV in F as x 1.8, else x 1.8 + 32 as T/C OAT
  bool oat_beside_isa;         // T/C OAT drawn right after ISA DEV, else after RESERVES
};
void perf_init_body(const CduPage& p, const PerfInitStyle& style);
// PERF LIMITS from its first label to "RTA >", shared with the mission CDU; the Mach
// thousandths zero-padded ("%03.0f") or blank-padded.
void perf_limits_body(const CduPage& p, bool mach_zero_padded);
void smiths_fms_perf_init_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_approach_ref_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_select_waypoint_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_rte_hold_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_econ_clb_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_econ_crz_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_econ_path_des_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_des_forecasts_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_pos_init_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_progress_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_ref_nav_data_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_nav_status_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_temp_nav_summary_page_draw(GaugeSurface* rec, GfxGraphics* g);
// Two forms without a page id, drawn only by a caller of their own: N1 LIMIT (L6 to
// INIT/REF INDEX, R6 to TAKEOFF REF) and LATERAL OFFSET (no keys).
void smiths_fms_n1_limit_page_draw(GaugeSurface* rec, GfxGraphics* g);
void smiths_fms_lateral_offset_page_draw(GaugeSurface* rec, GfxGraphics* g);

// ---- shared page operations ----

// LEGS constraint entry for edit record n from the scratchpad.
void cdu_legs_parse_entry_b(GaugeSurface* rec, int n);
// DEPARTURES runway choice n; ARRIVALS runway choice n.
void cdu_route_select_line_b(GaugeSurface* rec, int n);
void cdu_route_select_line_d(GaugeSurface* rec, int n);
// ARRIVALS approach choice: approach i of arr_appr_list becomes the chosen approach
// (its transition none), its legs go into the edit plan, page 1.
void choose_approach(int i);
// The whole word as a number: an optional sign, digits with an optional decimal point.
bool whole_word_number(const std::string& w, double& v);
// Takes the first database match of `ident` into the FIX INFO record `f` (airports typed
// "A"); false, `f` unchanged, when nothing matches.
struct FixInfoRecord;
bool fix_info_take_fix(FixInfoRecord& f, const std::string& ident);
// Magnetic bearing from fix `f` to the aircraft, 001..360, and the distance (NM).
void fix_info_radial_to_aircraft(const FixInfoRecord& f, double& radial, double& dist);
// Opens DEPARTURES with its choices reset and the lists rebuilt for every runway.
void cdu_reset_page_10c(GaugeSurface* rec);
// Edit record of RTE entry row e; a row past the last goes before the destination.
int rte_entry_record(int e);
// A unit's scratchpad and message line, for the entry routines both CDUs share.
struct CduLines {
  std::string& pad;
  std::string& msg;
};
// APPROACH REF R1-R3 on the row speed `vref` from io.pad: an empty pad takes the speed;
// digits of 50 kt to the aircraft's limit are stored; else INVALID ENTRY.
void cdu_approach_speed_entry(int32_t& vref, CduLines io);
// APPROACH REF R4 "flaps/speed" matching one of the three rows, both words whole:
// LDGFLAPS and VREF; an empty pad does nothing, any other entry is INVALID ENTRY.
void cdu_approach_landing_entry(CduLines io);
// RTE key k (1-5 L1-L5, 6-10 R1-R5, LSK_L6, LSK_R6) on sub-page `page`: entries from
// io.pad, answers in io.msg. Answers the page the unit opens: 0 none,
// SMITHS_PAGE_PERF_INIT, or SMITHS_PAGE_SELECT_WPT (several fixes; select_wpt_row set).
int smiths_rte_key(int page, int k, CduLines io);
// The LEGS constraint entry with a unit's lines: speed/altitude of edit record n from
// io.pad ("250/FL120", "120", "450/5000"); "INVALID ENTRY" in io.msg, nothing stored,
// for a bad entry.
void cdu_legs_parse_entry_a(int n, CduLines io);
// LEGS HOLD mode's PPOS: the present position as the only database candidate ("HOLD
// PPOS", type "I"), and an active, unchanged route copied to the edit plan (MOD).
void cdu_hold_ppos_candidate();
// The five LEGS rows (1-5) of a page whose first record is `first` in plan `t` (last record
// `last`): a record with a hold gives a HOLD AT row after it; rows stop after the last.
struct FlightPlanWpt;
struct CduLegRow {
  int rec = -1;       // record of the row; -1 past the list
  bool hold = false;  // HOLD AT row of `rec`
  bool end = false;   // the row after the last record: a fix typed there ends the route
};
void cdu_build_leg_rows(const FlightPlanWpt* t, int last, int first, CduLegRow rows[6]);
// The last record the rows list as a fix (a HOLD AT row is not one); -1 when none.
int cdu_last_listed_record(const CduLegRow rows[6]);
// Start of an RTE draw: the RTE key's copy of the active route, the route rows rebuilt,
// the sub-page count and the PREV/NEXT paging. Answers the sub-page shown.
int smiths_rte_page_step();
// RTE sub-page 1: origin, destination, company route and runway fields.
struct CduPage;
void smiths_rte_draw_page_1(const CduPage& p);
// A hold's inbound course: digits with an optional point, 0 to 360.
bool cdu_hold_course(const std::string& w, double& v);
// Holds the RTE HOLD page and the HOLD key list: those not deleted in a change waiting
// for EXEC. Hold h (1-based) of them, null when none.
int smiths_listed_hold_count();
struct HoldRecord;
HoldRecord* smiths_listed_hold(int h);
// Rebuilds the nearby navaid lists around the present position and the nearest-VOR
// table that NAV STATUS lists.
void smiths_refresh_nearest_vors();
// Resets the departure and arrival selections of the DEPARTURES and ARRIVALS pages.
void smiths_reset_dep_selection();
void smiths_reset_arr_selection();
