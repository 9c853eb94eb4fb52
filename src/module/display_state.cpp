#include "module/display_state.h"

int32_t b737_nd_mode = 1;
double b737_nd_range = 40.0;
int32_t nd_apt_on = 0, nd_nav_on = 0, nd_int_on = 0, nd_tcas_on = 0;
int32_t nd_range_arcs_on = 0;
int32_t nd_vor_adf_on = 0;
int32_t b737_nd_map_radius = 215;
int32_t b737_nd_center_y = 249;

int32_t md11_nd_mode = 3;
double md11_nd_range = 80.0;
int32_t md11_nd_map_radius = 150;
int32_t md11_nd_center_x = 120;
int32_t md11_nd_center_y = 178;
int32_t md11_nd_apt_on = 0, md11_nd_nav_on = 0, md11_nd_int_on = 0;
int32_t md11_nd_vor1_ptr_on = 0, md11_nd_adf1_ptr_on = 0, md11_nd_vor2_ptr_on = 0;

int32_t md80_ehsi_mode = 0;
double md80_ehsi_range = 20.0;
int32_t md80_ehsi_apt_on = 0, md80_ehsi_nav_on = 0, md80_ehsi_int_on = 0;
int32_t md80_ehsi_adf_on = 0;
int32_t md80_ehsi_center_x = 133;
int32_t md80_ehsi_center_y = 204;
int32_t plan_center_index = 0;

int32_t efs50_ehsi_mode = 1;
int32_t efs50_ehsi_kept_mode = 1;
double efs50_ehsi_range = 10.0;
double efs50_tcas_range = 5.0;
int32_t EFS50NavMode = 1;
int32_t efs50_brg1_source = 0, efs50_brg2_source = 0;

int32_t du1000_ehsi_mode = 0;
double du1000_ehsi_range = 60.0;
int32_t du1000_map_radius = 234;
int32_t du1000_show_apt = 0, du1000_show_vor = 0, du1000_show_int = 0, du1000_show_ndb = 0;

int32_t proline4_mfd_format = 3;
int32_t proline4_mfd_map_radius = 140;
double proline4_mfd_range = 40.0;
int32_t proline4_mfd_brg1_source = 0, proline4_mfd_brg2_source = 0;
int32_t mfd_apt_on = 0, mfd_vor_on = 0, mfd_int_on = 0, mfd_ndb_on = 0;

double p1000_mfd_range = 12.5;
double p1000_mfd_tcas_range = 12.5;
int32_t p1000_map_cx = 134, p1000_map_cy = 148, p1000_map_radius = 53;
int32_t p1000_plan_view = 0;
int32_t p1000_show_navaids = 0, p1000_show_airports = 0;
int32_t p1000_cntr_open = 0, p1000_cntr_menu = 0;
int32_t p1000_cntr_draw_count = 0;
int32_t p1000_cntr_seen_count = 0;
int32_t p1000_cntr_idle_checks = 0;
int32_t p1000_vnav_dist_sel = 0;
double p1000_vnav_distance = 0.0;
int32_t p1000_vnav_elev_sel = 0;
double p1000_vnav_elevation = 0.0;
int32_t p1000_vnav_vang_sel = 0;
double p1000_vnav_vs = 0.0;

int32_t c17_mfd_mode = 1;
int32_t c17_mfd_last_engine_page = 9;
int32_t c17_mfd_last_nav_format = 0;
C17MfdState c17_mfd_instances[5] = {{0, 9, 0}, {1, 9, 0}, {3, 9, 0}, {9, 9, 0}, {10, 9, 0}};
double c17_mfd_range = 80.0;
int32_t c17_mfd_rose_cx = 122, c17_mfd_rose_cy = 178, c17_mfd_rose_radius = 172;

int32_t md80_ehsi_map_radius = 180;
double efs50_ehsi_map_radius = 95.0;
int32_t c17_mfd_route_on = 1;
int32_t c17_arc_loc_scale_on = 1;

int32_t tcas_shown = 0;
int32_t atc_bdry_on = 0;

int32_t mcu_redraw = 0;
