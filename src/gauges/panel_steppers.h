// The stepper and toggle operations of the display control panels. The panel
// clicks, the SERVER gauge's commands and its key-event handler all reach the
// displays' state through these.
#pragma once

#include <cstdint>

#include "module/display_state.h"

// Mode steps: 0 steps every display (B737 ND 1..7 with stops, DU-1000 0..3 with
// wrap, Pro Line 4 format), 11 the Pro Line 4 MFD only; other values do nothing.
void efis_mode_step_down(int32_t displays);
void efis_mode_step_up(int32_t displays);

// Range steps of every map display along its ladder, except the EFS 50, which steps
// from its own panel. A range off its ladder stays.
void nd_range_down();
void nd_range_up();

// Layer toggles; each publishes the B737 ND flag's new value under its name.
void nd_toggle_apt();   // "vek_nd_apt"
void nd_toggle_nav();   // "vek_nd_nav"
void nd_toggle_int();   // "vek_nd_int"
void nd_toggle_tcas();  // "vek_nd_tcas"; EFS 50 EHSI to its TCAS format and back
void atc_bdry_toggle();
void nd_toggle_boundaries();  // the Pro Line 4 panel's name for atc_bdry_toggle

// Bearing pointers.
void nd_vor_adf_toggle();     // B737 ND VOR/ADF pointers
void md11_vor1_ptr_toggle();  // switching on clears the ADF 1 pointer
void md11_adf1_ptr_toggle();  // switching on clears the VOR 1 pointer
void md11_vor2_ptr_toggle();
int32_t next_pointer_source(int32_t source);  // 0, 1, 2, 3, back to 0

// MD-11 ND mode buttons.
void md11_nd_select_map();   // mode 3, map radius 150
void md11_nd_select_plan();  // mode 2, map radius 94
void md11_nd_select_vor();   // mode 4
void md11_nd_select_appr();  // mode 5

// MD-80 EHSI mode steps (0..3 with wrap).
void md80_ehsi_mode_step_down();
void md80_ehsi_mode_step_up();

// EFS 50 EHSI: format steps 1..7 with wrap (while the TCAS format is shown they
// step the format it returns to); range keys step the TCAS range while the TCAS
// format is shown, else the EHSI range.
void efs50_ehsi_mode_step_down();
void efs50_ehsi_mode_step_up();
void efs50_range_down();
void efs50_range_up();
void efs50_nav_mode_toggle();  // 1 NAV <-> 2 FMS

// Primus 1000 controller.
void p1000_plan_view_toggle();  // leaving restores the centre and radius; hdg timer 999
void p1000_soft_key(int32_t key);  // 1..6 under the display, by the open menu
void p1000_value_step(int32_t direction);  // -1 / +1 on the selected VNAV entry
void p1000_compute_vnav_vs();
// The controller's draw: opens it (main menu) or counts the draw, 1..30000; the
// per-frame update closes it when the count stops moving.
void p1000_cntr_draw();

// C-17: the MFCP format keys on the working state and all four instances; the C17_MFD
// NAV and ENG keys on one display's state, which `c17_bezel_key` picks: the record of
// instance 1..4, else the working state the other instances draw.
void c17_format_down();
void c17_format_up();
void c17_nav_key(C17MfdState& s);
void c17_eng_key(C17MfdState& s);
void c17_bezel_key(int32_t instance, void (*key)(C17MfdState&));

