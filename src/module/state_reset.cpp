// Puts the simulator-access layer's globals back to their load-time values.
#include "module/state_reset.h"

#include "module/c17_mfd_commands.h"
#include "module/display_state.h"
#include "module/host_services.h"
#include "module/ipc_client.h"
#include "module/keyboard_input.h"
#include "module/load_state.h"
#include "module/module_files.h"
#include "module/module_messages.h"
#include "module/module_paths.h"
#include "module/panel_windows.h"
#include "module/sim_vars.h"
#include "module/trace_file.h"

void reset_sim_access_state() {
  close_trace_file();
  static LoadState state;
  state.restore([](LoadState& s) {
    // display_state.cpp
    s.keep(b737_nd_mode, b737_nd_range, nd_apt_on, nd_nav_on, nd_int_on, nd_tcas_on, nd_range_arcs_on,
           nd_vor_adf_on, b737_nd_map_radius, b737_nd_center_y, md11_nd_mode, md11_nd_range, md11_nd_map_radius,
           md11_nd_center_x, md11_nd_center_y, md11_nd_apt_on, md11_nd_nav_on, md11_nd_int_on,
           md11_nd_vor1_ptr_on, md11_nd_adf1_ptr_on, md11_nd_vor2_ptr_on, md80_ehsi_mode, md80_ehsi_range,
           md80_ehsi_apt_on, md80_ehsi_nav_on, md80_ehsi_int_on, md80_ehsi_adf_on, md80_ehsi_center_x,
           md80_ehsi_center_y, plan_center_index, efs50_ehsi_mode, efs50_ehsi_kept_mode, efs50_ehsi_range,
           efs50_tcas_range, EFS50NavMode, efs50_brg1_source, efs50_brg2_source, du1000_ehsi_mode,
           du1000_ehsi_range, du1000_map_radius, du1000_show_apt, du1000_show_vor, du1000_show_int,
           du1000_show_ndb, proline4_mfd_format, proline4_mfd_map_radius, proline4_mfd_range,
           proline4_mfd_brg1_source, proline4_mfd_brg2_source, mfd_apt_on, mfd_vor_on, mfd_int_on, mfd_ndb_on,
           p1000_mfd_range, p1000_mfd_tcas_range, p1000_map_cx, p1000_map_cy, p1000_map_radius, p1000_plan_view,
           p1000_show_navaids, p1000_show_airports, p1000_cntr_open, p1000_cntr_menu, p1000_cntr_draw_count,
           p1000_cntr_seen_count, p1000_cntr_idle_checks, p1000_vnav_dist_sel, p1000_vnav_distance,
           p1000_vnav_elev_sel, p1000_vnav_elevation, p1000_vnav_vang_sel, p1000_vnav_vs, c17_mfd_mode,
           c17_mfd_last_engine_page, c17_mfd_last_nav_format, c17_mfd_instances, c17_mfd_range, c17_mfd_rose_cx,
           c17_mfd_rose_cy, c17_mfd_rose_radius, md80_ehsi_map_radius, efs50_ehsi_map_radius, c17_mfd_route_on,
           c17_arc_loc_scale_on, tcas_shown, atc_bdry_on, mcu_redraw);
    // ipc_client.cpp
    s.keep(active_rwy_lines, mcu_aptinfo_subpage_count);
    // keyboard_input.cpp
    s.keep(dinput_keyboard, mcu_kbd_on, text_cdu_scratchpad);
    // module_messages.cpp
    s.keep(module_messages, module_message_count, module_message_serials, module_message_routine,
           module_messages_posted, module_message_file, module_message_file_rows, module_message_file_more);
    // module_paths.cpp
    s.keep(sim_root_path, aircraft_name);
    // sim_vars.cpp
    s.keep(present_lat, present_lon, magvar, ground_speed, smoothed_airspeed, speed_trend, speed_history);
    // trace_file.cpp
    s.keep(trace_file_bytes);
    keep_c17_mfd_commands_state(s);
    keep_module_files_state(s);
    keep_ipc_client_state(s);
    keep_keyboard_input_state(s);
  });
}

