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
extern int32_t b737_nd_map_radius;  // 215 in modes 3..5, 110 in modes 6 and 7
extern int32_t b737_nd_center_y;    // 249 in modes 3..5, 171 in modes 6 and 7

// MD-11 ND.
extern int32_t md11_nd_mode;    // 2 PLAN, 3 MAP, 4 VOR, 5 APPR
extern double md11_nd_range;
extern int32_t md11_nd_map_radius;
extern int32_t md11_nd_center_x;    // 120
extern int32_t md11_nd_center_y;    // 178, 129 in PLAN
extern int32_t md11_nd_apt_on, md11_nd_nav_on, md11_nd_int_on;
extern int32_t md11_nd_vor1_ptr_on, md11_nd_adf1_ptr_on, md11_nd_vor2_ptr_on;

// MD-80 EHSI.
extern int32_t md80_ehsi_mode;  // 0..3
extern double md80_ehsi_range;
extern int32_t md80_ehsi_apt_on, md80_ehsi_nav_on, md80_ehsi_int_on;
extern int32_t md80_ehsi_adf_on;
extern int32_t md80_ehsi_center_x;  // 133
extern int32_t md80_ehsi_center_y;  // 116 in mode 0, 204 in modes 1..3 (134 in the plan map)

// Plan-mode centre record of the active plan (the LEGS page steps it); below 1: the
// active waypoint. Also "plan_center_wpt", "plan_centre_index".
extern int32_t plan_center_index;

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
extern int32_t du1000_map_radius;  // also "du1000_ehsi_map_radius"
// Also "du1000_ehsi_apt_on", "du1000_ehsi_vor_on", "du1000_ehsi_int_on", "du1000_ehsi_ndb_on".
extern int32_t du1000_show_apt, du1000_show_vor, du1000_show_int, du1000_show_ndb;

// Pro Line 4 and C-17 map layers.
extern int32_t proline4_mfd_format;  // 0..3
extern int32_t proline4_mfd_map_radius;
extern double proline4_mfd_range;
extern int32_t proline4_mfd_brg1_source, proline4_mfd_brg2_source;
// Shared by the Pro Line 4 MFD and the C-17 map; also "proline4_mfd_show_apt" (_vor, _int, _ndb)
// and "map_layer_apt" (_vor, _ndb).
extern int32_t mfd_apt_on, mfd_vor_on, mfd_int_on, mfd_ndb_on;

// Primus 1000.
extern double p1000_mfd_range;
extern double p1000_mfd_tcas_range;
// Also "p1000_mfd_center_x", "p1000_mfd_center_y", "p1000_mfd_map_radius".
extern int32_t p1000_map_cx, p1000_map_cy, p1000_map_radius;
extern int32_t p1000_plan_view;  // also "p1000_mfd_wpt_centred", "p1000_mfd_select_flag"
extern int32_t p1000_show_navaids, p1000_show_airports;  // also "p1000_mfd_nav_on", "p1000_mfd_apt_on"
extern int32_t p1000_cntr_open, p1000_cntr_menu;
extern int32_t p1000_cntr_draw_count;   // controller draws, 1..30000
extern int32_t p1000_cntr_seen_count;   // draw count at the last idle check
extern int32_t p1000_cntr_idle_checks;  // idle checks since the count last moved
// Controller VNAV menu.
extern int32_t p1000_vnav_dist_sel;     // 0 not selected; 2 labels "FM", else "TO"
extern double p1000_vnav_distance;      // NM, 0 none
constexpr double P1000_VNAV_DISTANCE_MAX = 99;      // NM: the legend prints two digits
extern int32_t p1000_vnav_elev_sel;     // 1 selected
extern double p1000_vnav_elevation;     // ft, 0 none
constexpr double P1000_VNAV_ELEVATION_MAX = 99900;  // ft: five digits, the settings' altitude range
extern int32_t p1000_vnav_vang_sel;     // 1 selected
extern double p1000_vnav_vs;            // ft/min, 0 none

// C-17 MFD: the working state, the four instance records (1..4; 0 unused) and the
// map switches.
struct C17MfdState {
  int32_t format;
  int32_t last_engine_page;
  int32_t last_nav_format;
};
extern int32_t c17_mfd_mode;              // format of the working state
extern int32_t c17_mfd_last_engine_page;
extern int32_t c17_mfd_last_nav_format;
extern C17MfdState c17_mfd_instances[5];
extern double c17_mfd_range;             // NM, range of the map formats
extern int32_t c17_mfd_route_on;
extern int32_t c17_arc_loc_scale_on;
// Rose geometry of the format drawn last, design units of the 246 x 241 canvas: centre
// and radius, set by the C-17 dispatcher for each format; also "c17_mfd_center_x",
// "c17_mfd_center_y", "c17_mfd_map_radius".
extern int32_t c17_mfd_rose_cx, c17_mfd_rose_cy, c17_mfd_rose_radius;

// Map radii of the displays whose frames set them each draw.
extern int32_t md80_ehsi_map_radius;
extern double efs50_ehsi_map_radius;

// Shared switches.
extern int32_t tcas_shown;   // alias of nd_tcas_on kept in step by nd_toggle_tcas
extern int32_t atc_bdry_on;  // ATC-boundary layer; also "atc_boundaries_shown", "atc_boundary_layer_on"

// MCU: 1 asks the MCU pages to repaint.
extern int32_t mcu_redraw;
