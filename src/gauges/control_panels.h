// Click handlers of the control panels, the engage buttons and the C-17 keys, and
// the per-gauge hooks of the panels. The mouse-rectangle tables that reach them are
// in the gauge table.
#pragma once

#include <cstdint>

#include "platform/host/gauge_host.h"

#define VEK_CLICK(name) int32_t name(MouseRect* rect, uint32_t event_flags)

// HW_B737_EFIS_CNTR, HW_B737_EFIS_CNTR_BR.
VEK_CLICK(b737_efis_mode_down_click);
VEK_CLICK(b737_efis_mode_up_click);
VEK_CLICK(b737_efis_range_down_click);
VEK_CLICK(b737_efis_range_up_click);
VEK_CLICK(b737_efis_apt_click);
VEK_CLICK(b737_efis_nav_click);
VEK_CLICK(b737_efis_int_click);
VEK_CLICK(b737_efis_tcas_click);
VEK_CLICK(b737_efis_range_arcs_click);
VEK_CLICK(b737_efis_vor_adf_left_click);
VEK_CLICK(b737_efis_vor_adf_right_click);

// MD11_EFIS_CTRL.
VEK_CLICK(md11_efis_map_click);
VEK_CLICK(md11_efis_plan_click);
VEK_CLICK(md11_efis_vor_click);
VEK_CLICK(md11_efis_appr_click);
VEK_CLICK(md11_efis_range_down_click);
VEK_CLICK(md11_efis_range_up_click);
VEK_CLICK(md11_efis_vor1_click);
VEK_CLICK(md11_efis_adf1_click);
VEK_CLICK(md11_efis_vor2_click);

// MD80_EHSI_CTRL.
VEK_CLICK(md80_ctrl_mode_down_click);
VEK_CLICK(md80_ctrl_mode_up_click);
VEK_CLICK(md80_ctrl_range_down_click);
VEK_CLICK(md80_ctrl_range_up_click);
VEK_CLICK(md80_ctrl_adf_click);

// EFS50_EHSI_CNTR, EFS50_EHSI_CNTR_LM.
VEK_CLICK(efs50_cntr_format_down_click);
VEK_CLICK(efs50_cntr_format_up_click);
VEK_CLICK(efs50_cntr_range_down_click);
VEK_CLICK(efs50_cntr_range_up_click);
VEK_CLICK(efs50_cntr_nav_fms_click);
VEK_CLICK(efs50_cntr_brg1_click);
VEK_CLICK(efs50_cntr_brg2_click);

// PROLINE4_MFD_CTRL.
VEK_CLICK(proline4_ctrl_range_down_click);
VEK_CLICK(proline4_ctrl_range_up_click);
VEK_CLICK(proline4_ctrl_format_down_click);
VEK_CLICK(proline4_ctrl_format_up_click);
VEK_CLICK(proline4_ctrl_tcas_click);
VEK_CLICK(proline4_ctrl_brg1_click);
VEK_CLICK(proline4_ctrl_brg2_click);

// PROLINE4_AUX_CTRL.
VEK_CLICK(proline4_aux_tcas_click);
VEK_CLICK(proline4_aux_int_click);
VEK_CLICK(proline4_aux_nav_click);
VEK_CLICK(proline4_aux_ndb_click);
VEK_CLICK(proline4_aux_apt_click);
VEK_CLICK(proline4_aux_bdry_click);

// A300_EFIS_CTRL (the DU-1000 EHSI's panel).
VEK_CLICK(a300_efis_mode_down_click);
VEK_CLICK(a300_efis_mode_up_click);
VEK_CLICK(a300_efis_range_down_click);
VEK_CLICK(a300_efis_range_up_click);
VEK_CLICK(a300_efis_nav_click);
VEK_CLICK(a300_efis_ndb_click);
VEK_CLICK(a300_efis_apt_click);
VEK_CLICK(a300_efis_int_click);

// P1000_MFD_CNTR, P1000_MFD_NB_CNTR.
VEK_CLICK(p1000_cntr_range_down_click);
VEK_CLICK(p1000_cntr_range_up_click);
VEK_CLICK(p1000_cntr_plan_click);
VEK_CLICK(p1000_cntr_navaids_click);
VEK_CLICK(p1000_cntr_airports_click);
VEK_CLICK(p1000_cntr_value_down_click);
VEK_CLICK(p1000_cntr_value_up_click);
VEK_CLICK(p1000_cntr_soft1_click);
VEK_CLICK(p1000_cntr_soft2_click);
VEK_CLICK(p1000_cntr_soft3_click);
VEK_CLICK(p1000_cntr_soft4_click);
VEK_CLICK(p1000_cntr_soft5_click);
VEK_CLICK(p1000_cntr_soft6_click);

// C17_MFCP.
VEK_CLICK(c17_mfcp_nav_click);
VEK_CLICK(c17_mfcp_apt_click);
VEK_CLICK(c17_mfcp_route_click);
VEK_CLICK(c17_mfcp_scale_click);
VEK_CLICK(c17_mfcp_range_down_click);
VEK_CLICK(c17_mfcp_range_up_click);
VEK_CLICK(c17_mfcp_format_down_click);
VEK_CLICK(c17_mfcp_format_up_click);

// C17_MFD bezel keys and screen.
VEK_CLICK(c17_mfd_pfd_click);
VEK_CLICK(c17_mfd_nav_click);
VEK_CLICK(c17_mfd_third_click);
VEK_CLICK(c17_mfd_eng_click);
VEK_CLICK(c17_mfd_cfg_click);
VEK_CLICK(c17_mfd_screen_click);  // returns what the host's window toggle returns

// Engage buttons.
VEK_CLICK(lnav_button_click);
VEK_CLICK(vnav_button_click);
VEK_CLICK(bdry_button_click);

// Elements of the B737 EFIS panels: the face, the mode knob in its seven
// positions and the range knob in its ten (0.5 to 320 NM).
constexpr int32_t B737_EFIS_MODE_KNOB_FIRST = 1;   // elements 1..7: modes 1..7
constexpr int32_t B737_EFIS_RANGE_KNOB_FIRST = 8;  // elements 8..17: 0.5, 1, 2.5 .. 320 NM
constexpr int32_t B737_EFIS_ELEMENT_COUNT = 18;
// Hook of the B737 EFIS panels: on pre-update shows the knob images of the B737
// ND's mode and range and hides the others (none for a range off the ladder).
void b737_efis_hook(GaugeHeader* gauge, int32_t service_id);

// Hook of the Primus 1000 controllers: their draw opens the controller or counts.
void p1000_cntr_hook(GaugeHeader* gauge, int32_t service_id);

// Hook of C17_MFD: on install gives the placement the key table of the instance its
// parameter names, then the gauge's own commands (module/c17_mfd_commands.h).
void c17_mfd_panel_hook(GaugeHeader* gauge, int32_t service_id);
