// MCU text unit: the state both MCU gauges share, and the keyboard entry that the
// text-CDU pages use as well.
//
// Keys record, pages act: a click sets a one-shot flag, the page drawn next acts on
// it and mcu_draw clears the flags after the draw (they stay set while the display
// has no power). Pages: 1 FPLN, 2 airport information, 5 navigation (the start and
// home page), 6 LEGS, 7 direct-to, 19 altitude. Row numbers are 1..4 on the screen;
// list indexes are 1-based. -999 marks "no selection".
#pragma once

#include <cstdint>
#include <string>

#include "module/keyboard_input.h"
#include "module/ipc_client.h"
#include "navdb/navdb.h"

// ---- pages ----
constexpr int32_t MCU_PAGE_FPLN = 1;
constexpr int32_t MCU_PAGE_APT = 2;
constexpr int32_t MCU_PAGE_NAV = 5;
constexpr int32_t MCU_PAGE_LEGS = 6;
constexpr int32_t MCU_PAGE_DIRTO = 7;
constexpr int32_t MCU_PAGE_ALT = 19;
constexpr int32_t MCU_NO_SELECTION = -999;
// Characters a keyboard entry takes: with the "> " prompt they fill the entry line.
constexpr size_t MCU_ENTRY_MAX_CHARS = 26;

// Arrow one-shot values.
constexpr int32_t MCU_ARROW_UP = 1, MCU_ARROW_DOWN = 2, MCU_ARROW_LEFT = 3, MCU_ARROW_RIGHT = 4;

// ---- unit state ----
extern int32_t mcu_page;       // 5 at start
extern int32_t mcu_enter;      // one-shot ENTER
extern int32_t mcu_prev, mcu_next;             // one-shot PREV, NEXT (keypad and Up/Down keys)
extern int32_t mcu_page_up, mcu_page_down;     // one-shot Page Up, Page Down (PC keyboard)
extern int32_t mcu_arrow;      // one-shot arrow, MCU_ARROW_*; 0 none
extern int32_t mcu_fpln_rescan;  // one-shot: list the plan folder again
// Arrow editing: on pages 6 and 19 the digit group (1 thousands, 2 five hundreds), on
// pages 2 and 7 the character position 1..7 of the ident; 0 none.
extern int32_t mcu_digit_sel;
extern std::string mcu_scratchpad;   // entry of pages 2 and 7; the crossing line on page 6
extern std::string mcu_legs_entry;   // entry of page 6: "%05d" of the crossing altitude
extern std::string mcu_dirto_entry;  // ident of the last direct-to search
extern int32_t mcu_aptinfo_subpage;  // 1 or 2 (mcu_aptinfo_subpage_count: module/ipc_client.h)
extern int32_t mcu_legs_alt_mode;    // 1: LEGS page in crossing-altitude mode
extern int32_t mcu_legs_cross_alt;   // feet, 0..99000
extern int32_t mcu_legs_index;       // first active-plan record listed on LEGS; 2 at start
extern double mcu_new_alt;           // feet, 0..99000, the altitude page's value
extern int32_t mcu_dirto_sel;        // chosen direct-to candidate 1..count
// 1 for the frame after an MCU plan load (airport page once, then page 5); the text
// CDU's load leaves 3, which only that unit clears.
extern int32_t mcu_plan_loaded;

// ---- FPLN page ----
extern int32_t mcu_fpln_row;         // cursor row 1..4
extern int32_t mcu_fpln_top;         // stored_plans entry on row 1
extern int32_t mcu_fpln_loaded_row;  // row of the plan loaded last (amber); moves with scrolling
extern int32_t mcu_fpln_box_y;       // top of the cursor box, design units; none below 1
extern int32_t text_cdu_fpln_top;    // the text CDU's list top, set by an MCU load

// ---- airport page ----
extern std::string aptinfo_ident, aptinfo_elev;  // airport shown and its elevation text (feet)
extern int32_t mcu_aptinfo_row;      // cursor row 1..4
extern int32_t mcu_aptinfo_top;      // runway on row 1
extern int32_t mcu_aptinfo_box_y;
extern int32_t mcu_aptinfo_sel_row;  // row of the selected runway, -999 none; moves with scrolling
extern int32_t sel_rwy_row_cdu;      // the text CDU's copy of the selected row
extern int32_t sel_rwy_changed;      // 1 once a runway was selected

// ---- keyboard entry ----
// Text-CDU entry: on while 1; its one-shot flags set by the keyboard.
extern int32_t kbd_entry_target;
extern int32_t text_cdu_enter, text_cdu_up, text_cdu_down, text_cdu_page_up, text_cdu_page_down;
extern uint8_t kbd_prev_state[256];  // state of the last successful poll

// Polls the keyboard device: typed letters and digits go into the entry string of the
// page (or the text CDU's), Backspace deletes one character a poll, Up, Down, Page Up
// and Page Down become PREV, NEXT and the page flags, Enter ends the entry and presses
// ENTER. Shift, Ctrl or left Alt held: nothing is taken.
void process_mcu_keys();
// Entry on (the keyboard key): hook and device; an init that leaves no device turns
// entry off again, keeping the failure text in text_cdu_scratchpad.
void start_mcu_key_capture();

// Plan-load hand-over: registered with the FMS update, which calls it after a load
// that the MCU asked for: the airport ident into the scratchpad, ENTER and
// mcu_plan_loaded := 1.
void mcu_plan_load_done(const std::string& airport_ident);
