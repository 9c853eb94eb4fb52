// Display-state globals: modes, ranges and layer switches that the control panels
// step and the displays read. Start values are the module's static defaults; the
// aircraft file sets the start modes.
#pragma once

#include <cstdint>

// B737 ND.
extern int32_t b737_nd_mode;    // 1..7
extern double b737_nd_range;    // NM
extern int32_t nd_apt_on, nd_nav_on, nd_int_on, nd_tcas_on;
extern int32_t nd_range_arcs_on;
extern int32_t nd_vor_adf_on;

// MD-11 ND.
extern int32_t md11_nd_mode;    // 2 PLAN, 3 MAP, 4 VOR, 5 APPR
extern double md11_nd_range;
extern int32_t md11_nd_map_radius;
extern int32_t md11_nd_apt_on, md11_nd_nav_on, md11_nd_int_on;
extern int32_t md11_nd_vor1_ptr_on, md11_nd_adf1_ptr_on, md11_nd_vor2_ptr_on;

// MD-80 EHSI.
extern int32_t md80_ehsi_mode;  // 0..3
extern double md80_ehsi_range;
extern int32_t md80_ehsi_apt_on, md80_ehsi_nav_on, md80_ehsi_int_on;
extern int32_t md80_ehsi_adf_on;

// EFS 50.
extern int32_t efs50_ehsi_mode;   // 1..7, 8 TCAS
extern int32_t efs50_ehsi_kept_mode;  // the format to return to from TCAS
extern double efs50_ehsi_range;
extern double efs50_tcas_range;
extern int32_t EFS50NavMode;      // 1 NAV, 2 FMS
extern int32_t efs50_brg1_source, efs50_brg2_source;

// DU-1000.
extern int32_t du1000_ehsi_mode;  // 0..3
extern double du1000_ehsi_range;
extern int32_t du1000_map_radius;
extern int32_t du1000_show_apt, du1000_show_vor, du1000_show_int, du1000_show_ndb;

// Pro Line 4 and C-17 map layers (shared switches).
extern int32_t proline4_mfd_format;  // 0..3
extern int32_t proline4_mfd_map_radius;
extern double proline4_mfd_range;
extern int32_t proline4_mfd_brg1_source, proline4_mfd_brg2_source;
extern int32_t mfd_apt_on, mfd_vor_on, mfd_int_on, mfd_ndb_on;

// Primus 1000.
extern double p1000_mfd_range;
extern double p1000_mfd_tcas_range;
extern int32_t p1000_map_cx, p1000_map_cy, p1000_map_radius;
extern int32_t p1000_plan_view;
extern int32_t p1000_show_navaids, p1000_show_airports;
extern int32_t p1000_cntr_open, p1000_cntr_menu;
extern int32_t p1000_cntr_draw_count;

// C-17 MFD.
extern double c17_mfd_range;

// Shared switches.
extern int32_t tcas_shown;   // alias of nd_tcas_on kept in step by nd_toggle_tcas
extern int32_t atc_bdry_on;  // ATC-boundary layer
