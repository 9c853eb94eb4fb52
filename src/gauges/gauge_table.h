// The module's gauge table and the callbacks the host calls.
#pragma once

#include <cstdint>

#include "module/panel_windows.h"
#include "platform/host/gauge_host.h"

// Number of gauges in `Linkage.gauges` (the list ends with a null entry).
constexpr int gauge_table_size = 47;
extern GaugeHeader* gauge_table[gauge_table_size + 1];

// C17_MFD's bezel keys, one table per instance 0..9 (the last entry of each the end of
// the list): each placement clicks through the table of the instance its parameter
// names, so that a key acts on the display it belongs to.
constexpr int32_t C17_MFD_INSTANCES = 10;
constexpr int32_t C17_MFD_RECT_COUNT = 21;
extern MouseRect c17_mfd_rects[C17_MFD_INSTANCES][C17_MFD_RECT_COUNT];

#define VEK_GAUGE_CALLBACK(name) void name(GaugeHeader* gauge, int32_t service_id, uintptr_t extra)
VEK_GAUGE_CALLBACK(hw_b737_ehsi_callback);
VEK_GAUGE_CALLBACK(hw_b737_ehsi_br_callback);
VEK_GAUGE_CALLBACK(hw_b737_ehsi_nb_callback);
VEK_GAUGE_CALLBACK(hw_md11_nd_callback);
VEK_GAUGE_CALLBACK(hw_md11_nd_nb_callback);
VEK_GAUGE_CALLBACK(md80_ehsi_callback);
VEK_GAUGE_CALLBACK(efs50_ehsi_callback);
VEK_GAUGE_CALLBACK(efs50_ehsi_nb_callback);
VEK_GAUGE_CALLBACK(efs50_tcas_callback);
VEK_GAUGE_CALLBACK(du_1000_ehsi_callback);
VEK_GAUGE_CALLBACK(du_1000_ehsi_nb_callback);
VEK_GAUGE_CALLBACK(proline4_mfd_callback);
VEK_GAUGE_CALLBACK(proline4_mfd_nb_callback);
VEK_GAUGE_CALLBACK(p1000_mfd_callback);
VEK_GAUGE_CALLBACK(p1000_mfd_nb_callback);
VEK_GAUGE_CALLBACK(efs50_eadi_callback);
VEK_GAUGE_CALLBACK(efs50_eadi_nb_callback);
VEK_GAUGE_CALLBACK(a320_eadi_callback);
VEK_GAUGE_CALLBACK(d100_callback);
VEK_GAUGE_CALLBACK(c17_mfd_callback);
VEK_GAUGE_CALLBACK(smiths_fms_callback);
VEK_GAUGE_CALLBACK(smiths_fms_br_callback);
VEK_GAUGE_CALLBACK(gnsxls_callback);
VEK_GAUGE_CALLBACK(gnsxls_lm_callback);
VEK_GAUGE_CALLBACK(mcu_callback);
VEK_GAUGE_CALLBACK(mcu_lm_callback);
VEK_GAUGE_CALLBACK(hw_b737_efis_cntr_callback);
VEK_GAUGE_CALLBACK(hw_b737_efis_cntr_br_callback);
VEK_GAUGE_CALLBACK(md11_efis_ctrl_callback);
VEK_GAUGE_CALLBACK(md80_ehsi_ctrl_callback);
VEK_GAUGE_CALLBACK(efs50_ehsi_cntr_callback);
VEK_GAUGE_CALLBACK(efs50_ehsi_cntr_lm_callback);
VEK_GAUGE_CALLBACK(proline4_mfd_ctrl_callback);
VEK_GAUGE_CALLBACK(proline4_aux_ctrl_callback);
VEK_GAUGE_CALLBACK(a300_efis_ctrl_callback);
VEK_GAUGE_CALLBACK(p1000_mfd_cntr_callback);
VEK_GAUGE_CALLBACK(p1000_mfd_nb_cntr_callback);
VEK_GAUGE_CALLBACK(c17_mfcp_callback);
VEK_GAUGE_CALLBACK(server_callback);
VEK_GAUGE_CALLBACK(debug_callback);
VEK_GAUGE_CALLBACK(lnav_callback);
VEK_GAUGE_CALLBACK(vnav_callback);
VEK_GAUGE_CALLBACK(bdry_callback);
VEK_GAUGE_CALLBACK(window_mcu_callback);
VEK_GAUGE_CALLBACK(window_gnsxls_callback);
VEK_GAUGE_CALLBACK(window_smiths_fms_callback);
VEK_GAUGE_CALLBACK(window_c17_mfd_callback);
