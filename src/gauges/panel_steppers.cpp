#include "gauges/panel_steppers.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/display_state.h"
#include "module/host_services.h"
#include "module/sim_vars.h"

namespace {

// Ladders from the largest range down.
constexpr double nd_ladder[] = {320, 160, 80, 40, 20, 10, 5, 2.5, 1, 0.5};
constexpr double proline4_ladder[] = {320, 160, 80, 40, 20, 10, 5};
constexpr double p1000_ladder[] = {160, 80, 40, 25, 12.5, 5, 2.5, 1, 0.5};
constexpr double du1000_ladder[] = {240, 120, 60, 30, 15, 10, 5, 2.5, 1, 0.5, 0.25, 0.125, 0.05};
constexpr double efs50_tcas_ladder[] = {2, 5, 10, 20, 40};

// Position of `range` on a ladder, -1 when it is off the ladder.
int ladder_index(std::span<const double> ladder, double range) {
  for (size_t i = 0; i < ladder.size(); ++i)
    if (std::fabs(ladder[i] - range) < 1e-9) return static_cast<int>(i);
  return -1;
}

// Ranges below `floor_nm` are reached only as far as MinMapRange allows: 5, 2.5 and
// 1 when it is at most that value, 0.5 only when it equals 0.5.
bool min_range_allows(double next, double floor_nm) {
  if (next >= floor_nm) return true;
  if (next >= 1.0) return MinMapRange <= next;
  return MinMapRange == next;
}

double nd_step_down(double range, double floor_nm) {
  int i = ladder_index(nd_ladder, range);
  if (i < 0 || i + 1 >= static_cast<int>(std::size(nd_ladder))) return range;
  double next = nd_ladder[i + 1];
  return min_range_allows(next, floor_nm) ? next : range;
}

// Up the ladder with a stop at the top (the ladders run from the top down).
double step_up_stop(std::span<const double> ladder, double range) {
  int i = ladder_index(ladder, range);
  return i > 0 ? ladder[i - 1] : range;
}

double step_down_stop(std::span<const double> ladder, double range) {
  int i = ladder_index(ladder, range);
  return (i >= 0 && i + 1 < static_cast<int>(ladder.size())) ? ladder[i + 1] : range;
}

double step_down_wrap(std::span<const double> ladder, double range) {
  int i = ladder_index(ladder, range);
  if (i < 0) return range;
  return ladder[(static_cast<size_t>(i) + 1) % ladder.size()];
}

double step_up_wrap(std::span<const double> ladder, double range) {
  int i = ladder_index(ladder, range);
  if (i < 0) return range;
  return i == 0 ? ladder.back() : ladder[i - 1];
}

int32_t flip(int32_t& flag) {
  flag = flag == 0 ? 1 : 0;
  return flag;
}

int32_t wrap_step(int32_t value, int32_t delta, int32_t lo, int32_t hi) {
  if (value < lo || value > hi) return value;
  int32_t v = value + delta;
  if (v > hi) return lo;
  if (v < lo) return hi;
  return v;
}

int32_t clamp_step(int32_t value, int32_t delta, int32_t lo, int32_t hi) {
  int32_t v = value + delta;
  if (v > hi) return hi;
  if (v < lo) return lo;
  return v;
}

bool p1000_tcas_window_shown() { return tcas_shown == 1 && DrawTcasWindowOnP1000MFD == 1; }

void proline4_format_down() {
  switch (proline4_mfd_format) {
    case 0: proline4_mfd_format = 2; proline4_mfd_map_radius = 70; break;
    case 1: proline4_mfd_format = 3; proline4_mfd_map_radius = 140; break;
    case 2: proline4_mfd_format = 1; break;
    case 3: proline4_mfd_format = 0; break;
    default: break;
  }
}

void proline4_format_up() {
  switch (proline4_mfd_format) {
    case 0: proline4_mfd_format = 3; proline4_mfd_map_radius = 140; break;
    case 1: proline4_mfd_format = 2; proline4_mfd_map_radius = 70; break;
    case 2: proline4_mfd_format = 0; break;
    case 3: proline4_mfd_format = 1; break;
    default: break;
  }
}

void p1000_leave_plan_view() {
  p1000_plan_view = 0;
  p1000_map_cx = 134;
  p1000_map_cy = 148;
  p1000_map_radius = 53;
}

int32_t c17_format_step(int32_t format, int32_t delta) {
  if (delta < 0) return (format == 5 || format == 4) ? format - 1 : format;
  return (format == 3 || format == 4) ? format + 1 : format;
}

}  // namespace

void efis_mode_step_down(int32_t displays) {
  if (displays != 0 && displays != 11) return;
  proline4_format_down();
  if (displays == 0) {
    du1000_ehsi_mode = wrap_step(du1000_ehsi_mode, -1, 0, 3);
    b737_nd_mode = clamp_step(b737_nd_mode, -1, 1, 7);
  }
}

void efis_mode_step_up(int32_t displays) {
  if (displays != 0 && displays != 11) return;
  proline4_format_up();
  if (displays == 0) {
    du1000_ehsi_mode = wrap_step(du1000_ehsi_mode, 1, 0, 3);
    b737_nd_mode = clamp_step(b737_nd_mode, 1, 1, 7);
  }
}

void nd_range_down() {
  b737_nd_range = nd_step_down(b737_nd_range, 10.0);
  md11_nd_range = nd_step_down(md11_nd_range, 10.0);
  md80_ehsi_range = nd_step_down(md80_ehsi_range, 10.0);
  c17_mfd_range = nd_step_down(c17_mfd_range, 5.0);
  proline4_mfd_range = step_down_wrap(proline4_ladder, proline4_mfd_range);
  if (p1000_tcas_window_shown()) {
    p1000_mfd_tcas_range = step_down_stop(p1000_ladder, p1000_mfd_tcas_range);
  } else {
    p1000_mfd_range = step_down_stop(p1000_ladder, p1000_mfd_range);
  }
  du1000_ehsi_range = step_down_stop(du1000_ladder, du1000_ehsi_range);
}

void nd_range_up() {
  b737_nd_range = step_up_stop(nd_ladder, b737_nd_range);
  md11_nd_range = step_up_stop(nd_ladder, md11_nd_range);
  md80_ehsi_range = step_up_stop(nd_ladder, md80_ehsi_range);
  c17_mfd_range = step_up_stop(nd_ladder, c17_mfd_range);
  proline4_mfd_range = step_up_wrap(proline4_ladder, proline4_mfd_range);
  if (p1000_tcas_window_shown()) {
    p1000_mfd_tcas_range = step_up_stop(p1000_ladder, p1000_mfd_tcas_range);
  } else {
    p1000_mfd_range = step_up_stop(p1000_ladder, p1000_mfd_range);
  }
  du1000_ehsi_range = step_up_stop(du1000_ladder, du1000_ehsi_range);
}

void nd_toggle_apt() {
  flip(nd_apt_on);
  flip(md11_nd_apt_on);
  flip(md80_ehsi_apt_on);
  flip(du1000_show_apt);
  flip(mfd_apt_on);
  host_set_named_var_by_name("vek_nd_apt", nd_apt_on);
}

void nd_toggle_nav() {
  flip(nd_nav_on);
  flip(md11_nd_nav_on);
  flip(md80_ehsi_nav_on);
  flip(du1000_show_vor);
  flip(mfd_vor_on);
  host_set_named_var_by_name("vek_nd_nav", nd_nav_on);
}

void nd_toggle_int() {
  flip(nd_int_on);
  flip(md11_nd_int_on);
  flip(md80_ehsi_int_on);
  flip(du1000_show_int);
  flip(mfd_int_on);
  host_set_named_var_by_name("vek_nd_int", nd_int_on);
}

void nd_toggle_tcas() {
  flip(nd_tcas_on);
  flip(tcas_shown);
  if (efs50_ehsi_mode == 8) {
    efs50_ehsi_mode = efs50_ehsi_kept_mode;
  } else {
    efs50_ehsi_kept_mode = efs50_ehsi_mode;
    efs50_ehsi_mode = 8;
  }
  host_set_named_var_by_name("vek_nd_tcas", nd_tcas_on);
}

void atc_bdry_toggle() { flip(atc_bdry_on); }

void nd_toggle_boundaries() { atc_bdry_toggle(); }

void nd_vor_adf_toggle() { flip(nd_vor_adf_on); }

void md11_vor1_ptr_toggle() {
  if (flip(md11_nd_vor1_ptr_on) == 1) md11_nd_adf1_ptr_on = 0;
}

void md11_adf1_ptr_toggle() {
  if (flip(md11_nd_adf1_ptr_on) == 1) md11_nd_vor1_ptr_on = 0;
}

void md11_vor2_ptr_toggle() { flip(md11_nd_vor2_ptr_on); }

int32_t next_pointer_source(int32_t source) { return (source >= 0 && source < 3) ? source + 1 : 0; }

void md11_nd_select_map() {
  md11_nd_mode = 3;
  md11_nd_map_radius = 150;
}

void md11_nd_select_plan() {
  md11_nd_mode = 2;
  md11_nd_map_radius = 94;
}

void md11_nd_select_vor() { md11_nd_mode = 4; }

void md11_nd_select_appr() { md11_nd_mode = 5; }

void md80_ehsi_mode_step_down() { md80_ehsi_mode = wrap_step(md80_ehsi_mode, -1, 0, 3); }

void md80_ehsi_mode_step_up() { md80_ehsi_mode = wrap_step(md80_ehsi_mode, 1, 0, 3); }

void efs50_ehsi_mode_step_down() {
  int32_t& format = efs50_ehsi_mode == 8 ? efs50_ehsi_kept_mode : efs50_ehsi_mode;
  format = wrap_step(format, -1, 1, 7);
}

void efs50_ehsi_mode_step_up() {
  int32_t& format = efs50_ehsi_mode == 8 ? efs50_ehsi_kept_mode : efs50_ehsi_mode;
  format = wrap_step(format, 1, 1, 7);
}

void efs50_range_down() {
  if (efs50_ehsi_mode == 8) {
    int i = ladder_index(efs50_tcas_ladder, efs50_tcas_range);
    efs50_tcas_range = i > 0 ? efs50_tcas_ladder[i - 1] : 2.0;
  } else {
    efs50_ehsi_range = nd_step_down(efs50_ehsi_range, 10.0);
  }
}

void efs50_range_up() {
  if (efs50_ehsi_mode == 8) {
    int i = ladder_index(efs50_tcas_ladder, efs50_tcas_range);
    efs50_tcas_range = (i >= 0 && i + 1 < static_cast<int>(std::size(efs50_tcas_ladder))) ? efs50_tcas_ladder[i + 1] : 2.0;
  } else {
    efs50_ehsi_range = step_up_stop(nd_ladder, efs50_ehsi_range);
  }
}

void efs50_nav_mode_toggle() { EFS50NavMode = EFS50NavMode == 2 ? 1 : 2; }

void p1000_plan_view_toggle() {
  if (p1000_plan_view != 0) {
    p1000_leave_plan_view();
  } else {
    p1000_plan_view = 1;
  }
  hdg_change_timer = 999;
}

void p1000_compute_vnav_vs() {
  double gs = get_ground_speed_kt();
  double vs = 0.0;
  if (p1000_vnav_vang_sel == 1) {
    // From the flight-path angle, to whole hundreds of feet per minute.
    if (gs > 0.0 && FPA > 0.0) vs = std::floor((gs / 60.0 * FPA * 100.0 + 50.0) / 100.0) * 100.0;
  } else if (p1000_vnav_distance > 0.0 && p1000_vnav_elevation > 0.0 && gs > 0.0) {
    double minutes = p1000_vnav_distance / gs * 60.0;
    vs = std::round(p1000_vnav_elevation / minutes);
  }
  p1000_vnav_vs = std::isfinite(vs) ? vs : 0.0;
}

// Soft keys under the display, numbered 1..6 from the left:
//   main menu (1): key 3 "VNAV" opens the VNAV menu; the others do nothing;
//   VNAV menu (2): 1 "SET" computes the vertical speed; 2 "RTN" back to the main
//   menu; 3 the distance entry ("TO", pressed again "FM", again off); 4 "ST EL" the
//   elevation entry; 5 "VANG" the vertical angle; 6 nothing. One entry is selected
//   at a time.
void p1000_soft_key(int32_t key) {
  if (p1000_cntr_menu == 2) {
    switch (key) {
      case 1: p1000_compute_vnav_vs(); break;
      case 2:
        p1000_cntr_menu = 1;
        p1000_vnav_dist_sel = p1000_vnav_elev_sel = p1000_vnav_vang_sel = 0;
        break;
      case 3:
        p1000_vnav_dist_sel = p1000_vnav_dist_sel == 0 ? 1 : (p1000_vnav_dist_sel == 1 ? 2 : 0);
        p1000_vnav_elev_sel = p1000_vnav_vang_sel = 0;
        break;
      case 4:
        p1000_vnav_elev_sel = p1000_vnav_elev_sel == 1 ? 0 : 1;
        p1000_vnav_dist_sel = p1000_vnav_vang_sel = 0;
        break;
      case 5:
        p1000_vnav_vang_sel = p1000_vnav_vang_sel == 1 ? 0 : 1;
        p1000_vnav_dist_sel = p1000_vnav_elev_sel = 0;
        p1000_compute_vnav_vs();
        break;
      default: break;
    }
  } else if (key == 3) {
    p1000_cntr_menu = 2;
  }
}

// The value knob: 1 NM on the distance, 100 ft on the elevation, from 0 to what the
// legends print (two digits of distance, five of elevation).
void p1000_value_step(int32_t direction) {
  if (p1000_cntr_menu != 2 || direction == 0) return;
  double sign = direction > 0 ? 1.0 : -1.0;
  if (p1000_vnav_dist_sel >= 1) {
    p1000_vnav_distance = std::clamp(p1000_vnav_distance + sign, 0.0, P1000_VNAV_DISTANCE_MAX);
  } else if (p1000_vnav_elev_sel == 1) {
    p1000_vnav_elevation = std::clamp(p1000_vnav_elevation + 100.0 * sign, 0.0, P1000_VNAV_ELEVATION_MAX);
  } else {
    return;
  }
  p1000_compute_vnav_vs();
}

void p1000_cntr_draw() {
  if (p1000_cntr_open == 0) {
    p1000_cntr_open = 1;
    if (p1000_cntr_menu == 0) p1000_cntr_menu = 1;
    p1000_cntr_idle_checks = 0;
    return;
  }
  p1000_cntr_draw_count = p1000_cntr_draw_count >= 30000 ? 1 : p1000_cntr_draw_count + 1;
}

void c17_format_down() {
  c17_mfd_mode = c17_format_step(c17_mfd_mode, -1);
  for (int i = 1; i <= 4; ++i) c17_mfd_instances[i].format = c17_format_step(c17_mfd_instances[i].format, -1);
}

void c17_format_up() {
  c17_mfd_mode = c17_format_step(c17_mfd_mode, 1);
  for (int i = 1; i <= 4; ++i) c17_mfd_instances[i].format = c17_format_step(c17_mfd_instances[i].format, 1);
}

void c17_nav_key(C17MfdState& s) {
  int32_t next;
  switch (s.format) {
    case 0: next = 3; break;
    case 3: case 4: case 5: next = 6; break;
    case 6: next = 0; break;
    case 1: case 2: return;
    default:
      s.format = s.last_nav_format;
      return;
  }
  s.format = s.last_nav_format = next;
}

void c17_eng_key(C17MfdState& s) {
  int32_t next;
  switch (s.format) {
    case 9: next = 10; break;
    case 10: next = 11; break;
    case 11: next = 9; break;
    default:
      s.format = s.last_engine_page;
      return;
  }
  s.format = s.last_engine_page = next;
}

void c17_bezel_key(int32_t instance, void (*key)(C17MfdState&)) {
  if (instance >= 1 && instance <= 4) {
    key(c17_mfd_instances[instance]);
    return;
  }
  C17MfdState working{c17_mfd_mode, c17_mfd_last_engine_page, c17_mfd_last_nav_format};
  key(working);
  c17_mfd_mode = working.format;
  c17_mfd_last_engine_page = working.last_engine_page;
  c17_mfd_last_nav_format = working.last_nav_format;
}
