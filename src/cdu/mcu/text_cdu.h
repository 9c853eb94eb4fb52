// Text CDU: a second text unit of the MCU on a 210 x 108 design canvas with four
// pages: 1 FPLN (stored plans), 2 APT (an airport's runways and the approach
// selection), 3 PERF (flight time) and 4 MSG (the module's messages); 0 draws nothing.
//
// No gauge of the gauge table draws it and no key sets its page: `text_cdu_draw` has
// the dispatcher shape of the other units, ready for a gauge. It shares the MCU's
// state (mcu_state.h): the keyboard entry (`kbd_entry_target`, `text_cdu_scratchpad`
// and the one-shot keys), the plan-load request and the runway selection. Rows are
// 1..8 on the screen; list indexes are 1-based; -999 marks "no selection".
#pragma once

#include <cstdint>
#include <string>

#include "draw/gauge_surface.h"
#include "platform/host/gauge_host.h"

constexpr int32_t TEXT_CDU_PAGE_FPLN = 1;
constexpr int32_t TEXT_CDU_PAGE_APT = 2;
constexpr int32_t TEXT_CDU_PAGE_PERF = 3;
constexpr int32_t TEXT_CDU_PAGE_MSG = 4;
constexpr int32_t TEXT_CDU_ROWS = 8;

extern int32_t text_cdu_page;        // 0 at start
extern int32_t text_cdu_rescan;      // one-shot: list the plan folder again
extern int32_t text_cdu_fpln_row;    // FPLN cursor row 1..8
extern int32_t text_cdu_apt_box_y;   // top of the APT cursor box, design units; 0 none
extern int32_t text_cdu_msg_row;     // MSG cursor row 1..8; 0 before the first key
extern int32_t text_cdu_msg_top;     // message on row 1
extern int32_t text_cdu_msg_sel;     // the cursor row, for the unit's owner
extern int32_t text_cdu_msg_box_y;   // y of the MSG cursor line; 0 none

// Draws the page into the image (cleared every frame; no power test); the size goes
// into `rec`. Before the page: the airport of a plan the unit loaded, or of the
// active plan's destination once 5 NM from its first record (text_cdu_auto_apt 1),
// is looked up on the APT page for this one frame. After the draw the one-shot keys
// are cleared.
void text_cdu_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height);

// Plan-load hand-over for request 3 (the FPLN page's load): the airport ident into
// the scratchpad, ENTER and mcu_plan_loaded := 3. The unit registers it when it draws.
void text_cdu_plan_load_done(const std::string& airport_ident);
