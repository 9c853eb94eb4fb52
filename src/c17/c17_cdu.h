// C-17 mission CDU: a page set sharing one page id, one pending line-select key, four
// page-scroll flags, a scratchpad and a message line. No gauge draws it and it has no
// keypad: `c17_cdu_draw` has the dispatcher shape of the other units, ready for one.
// Key codes: 0 none, 1-5 L1-L5, 6-10 R1-R5, 11 L6, 12 R6. The message line also
// carries the keypad's delete words "DELETE" and "CLR".
#pragma once

#include <cstdint>
#include <string>

#include "draw/gauge_surface.h"
#include "platform/gfx/gfx.h"
#include "platform/host/gauge_host.h"

constexpr int32_t C17_CDU_STORED_PLANS = 1;
constexpr int32_t C17_CDU_PERF_INIT = 3;
constexpr int32_t C17_CDU_FLT_PLAN = 6;
constexpr int32_t C17_CDU_SELECT_FIX = 9;  // not drawn: L6 leads back to MSN INDEX
constexpr int32_t C17_CDU_DEPARTURES = 10;
constexpr int32_t C17_CDU_ARRIVALS = 11;
constexpr int32_t C17_CDU_APPROACH_REF = 12;
constexpr int32_t C17_CDU_RTE = 22;
constexpr int32_t C17_CDU_MSN_INDEX = 23;
constexpr int32_t C17_CDU_MSN_INIT = 25;
constexpr int32_t C17_CDU_TAKEOFF_REF = 27;
constexpr int32_t C17_CDU_PROGRESS = 33;
constexpr int32_t C17_CDU_POSITION_FIX = 37;
constexpr int32_t C17_CDU_STANDARD_HOLD = 39;
constexpr int32_t C17_CDU_LAT_REV = 41;  // not drawn: L6 leads back to MSN INDEX
constexpr int32_t C17_CDU_DUPLICATE_NAMES = 47;
constexpr int32_t C17_CDU_NAV_SENSORS = 48;

extern int32_t c17_cdu_page;  // 23 (MSN INDEX) at load
extern int32_t c17_cdu_pending_lsk;
extern int32_t c17_cdu_prev_page, c17_cdu_prev_page_alt;
extern int32_t c17_cdu_next_page, c17_cdu_next_page_alt;
extern std::string c17_cdu_scratchpad;
extern std::string c17_cdu_scratchpad_msg;  // shown instead of the scratchpad while not empty
extern GaugeSurface c17_cdu_surface;

// STORED FLIGHT PLANS list page and its page count (1-based, 1 at load).
extern int32_t c17_cdu_fpl_page, c17_cdu_fpl_page_count;
// DUPLICATE NAMES: first candidate shown (1 at load) and scroll requests (1 = pressed).
extern int32_t c17_dup_first_row, c17_dup_scroll_up, c17_dup_scroll_down;
// STANDARD HOLD: the hold_list entry shown (1 at load) and the edit record it was set on
// (its fix is read from the list: later insertions move the record).
extern int32_t c17_hold_index;
extern int32_t c17_hold_row;
// The page (FLT PLAN or RTE) that opened DUPLICATE NAMES for the line in select_wpt_row
// (0 on FLT PLAN: the direct-to or HOLD AT entry); 0 when none waits. A choice goes into
// the edit plan there; without a page waiting it is refused.
extern int32_t c17_dup_return_page;

// Draw dispatcher: nothing without a DC; blank with the display unpowered or in draw
// mode 2 (keys and flags kept for the first powered draw); else the current page, then
// the pending key and the four scroll flags are zeroed.
void c17_cdu_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height, int32_t mode);
// Update dispatcher: one full FMS update step (the tick guard is reset), then the page
// on the caller's graphics; PERF INIT and TAKEOFF REF draw nothing here. Only keys and
// flags above 0 are cleared.
void c17_cdu_update_draw(GaugeSurface* rec, GfxGraphics* g);

// Registers the unit with the flight-plan layer: a discontinuity made by
// make_discontinuity empties the message line.
void c17_cdu_install();

// Zeroes the pending key and the two plain scroll flags where they are above 0.
void clamp_entry_counters();

// Opens DEPARTURES with the departure choices reset and the lists rebuilt for every
// runway of the origin.
void cdu_reset_page_10a(GaugeSurface* rec);
