#include "gauges/control_panels.h"

#include <cmath>

#include "guidance/lnav_vnav_state.h"
#include "module/c17_mfd_commands.h"
#include "module/display_state.h"
#include "gauges/gauge_table.h"
#include "module/host_services.h"
#include "gauges/panel_steppers.h"

// Every handler ignores the host's click arguments and answers 0 (handled).
#define PANEL_CLICK(name, action) \
  VEK_CLICK(name) {               \
    (void)rect;                   \
    (void)event_flags;            \
    action;                       \
    return 0;                     \
  }

PANEL_CLICK(b737_efis_mode_down_click, efis_mode_step_down(0))
PANEL_CLICK(b737_efis_mode_up_click, efis_mode_step_up(0))
PANEL_CLICK(b737_efis_range_down_click, nd_range_down())
PANEL_CLICK(b737_efis_range_up_click, nd_range_up())
PANEL_CLICK(b737_efis_apt_click, nd_toggle_apt())
PANEL_CLICK(b737_efis_nav_click, nd_toggle_nav())
PANEL_CLICK(b737_efis_int_click, nd_toggle_int())
PANEL_CLICK(b737_efis_tcas_click, nd_toggle_tcas())
PANEL_CLICK(b737_efis_range_arcs_click, nd_range_arcs_on = nd_range_arcs_on == 0 ? 1 : 0)
PANEL_CLICK(b737_efis_vor_adf_left_click, nd_vor_adf_toggle())
PANEL_CLICK(b737_efis_vor_adf_right_click, nd_vor_adf_toggle())

PANEL_CLICK(md11_efis_map_click, md11_nd_select_map())
PANEL_CLICK(md11_efis_plan_click, md11_nd_select_plan())
PANEL_CLICK(md11_efis_vor_click, md11_nd_select_vor())
PANEL_CLICK(md11_efis_appr_click, md11_nd_select_appr())
PANEL_CLICK(md11_efis_range_down_click, nd_range_down())
PANEL_CLICK(md11_efis_range_up_click, nd_range_up())
PANEL_CLICK(md11_efis_vor1_click, md11_vor1_ptr_toggle())
PANEL_CLICK(md11_efis_adf1_click, md11_adf1_ptr_toggle())
PANEL_CLICK(md11_efis_vor2_click, md11_vor2_ptr_toggle())

PANEL_CLICK(md80_ctrl_mode_down_click, md80_ehsi_mode_step_down())
PANEL_CLICK(md80_ctrl_mode_up_click, md80_ehsi_mode_step_up())
PANEL_CLICK(md80_ctrl_range_down_click, nd_range_down())
PANEL_CLICK(md80_ctrl_range_up_click, nd_range_up())
PANEL_CLICK(md80_ctrl_adf_click, md80_ehsi_adf_on = md80_ehsi_adf_on == 0 ? 1 : 0)

PANEL_CLICK(efs50_cntr_format_down_click, efs50_ehsi_mode_step_down())
PANEL_CLICK(efs50_cntr_format_up_click, efs50_ehsi_mode_step_up())
PANEL_CLICK(efs50_cntr_range_down_click, efs50_range_down())
PANEL_CLICK(efs50_cntr_range_up_click, efs50_range_up())
PANEL_CLICK(efs50_cntr_nav_fms_click, efs50_nav_mode_toggle())
PANEL_CLICK(efs50_cntr_brg1_click, efs50_brg1_source = next_pointer_source(efs50_brg1_source))
PANEL_CLICK(efs50_cntr_brg2_click, efs50_brg2_source = next_pointer_source(efs50_brg2_source))

PANEL_CLICK(proline4_ctrl_range_down_click, nd_range_down())
PANEL_CLICK(proline4_ctrl_range_up_click, nd_range_up())
PANEL_CLICK(proline4_ctrl_format_down_click, efis_mode_step_down(11))
PANEL_CLICK(proline4_ctrl_format_up_click, efis_mode_step_up(11))
PANEL_CLICK(proline4_ctrl_tcas_click, nd_toggle_tcas())
PANEL_CLICK(proline4_ctrl_brg1_click, proline4_mfd_brg1_source = next_pointer_source(proline4_mfd_brg1_source))
PANEL_CLICK(proline4_ctrl_brg2_click, proline4_mfd_brg2_source = next_pointer_source(proline4_mfd_brg2_source))

PANEL_CLICK(proline4_aux_tcas_click, nd_toggle_tcas())
PANEL_CLICK(proline4_aux_int_click, nd_toggle_int())
PANEL_CLICK(proline4_aux_nav_click, nd_toggle_nav())
PANEL_CLICK(proline4_aux_ndb_click, mfd_ndb_on = mfd_ndb_on == 0 ? 1 : 0)
PANEL_CLICK(proline4_aux_apt_click, nd_toggle_apt())
PANEL_CLICK(proline4_aux_bdry_click, nd_toggle_boundaries())

PANEL_CLICK(a300_efis_mode_down_click, efis_mode_step_down(0))
PANEL_CLICK(a300_efis_mode_up_click, efis_mode_step_up(0))
PANEL_CLICK(a300_efis_range_down_click, nd_range_down())
PANEL_CLICK(a300_efis_range_up_click, nd_range_up())
PANEL_CLICK(a300_efis_nav_click, nd_toggle_nav())
PANEL_CLICK(a300_efis_ndb_click, du1000_show_ndb = du1000_show_ndb == 0 ? 1 : 0)
PANEL_CLICK(a300_efis_apt_click, nd_toggle_apt())
PANEL_CLICK(a300_efis_int_click, nd_toggle_int())

PANEL_CLICK(p1000_cntr_range_down_click, nd_range_down())
PANEL_CLICK(p1000_cntr_range_up_click, nd_range_up())
PANEL_CLICK(p1000_cntr_plan_click, p1000_plan_view_toggle())
PANEL_CLICK(p1000_cntr_navaids_click, p1000_show_navaids = p1000_show_navaids == 0 ? 1 : 0)
PANEL_CLICK(p1000_cntr_airports_click, p1000_show_airports = p1000_show_airports == 0 ? 1 : 0)
PANEL_CLICK(p1000_cntr_value_down_click, p1000_value_step(-1))
PANEL_CLICK(p1000_cntr_value_up_click, p1000_value_step(1))
PANEL_CLICK(p1000_cntr_soft1_click, p1000_soft_key(1))
PANEL_CLICK(p1000_cntr_soft2_click, p1000_soft_key(2))
PANEL_CLICK(p1000_cntr_soft3_click, p1000_soft_key(3))
PANEL_CLICK(p1000_cntr_soft4_click, p1000_soft_key(4))
PANEL_CLICK(p1000_cntr_soft5_click, p1000_soft_key(5))
PANEL_CLICK(p1000_cntr_soft6_click, p1000_soft_key(6))

PANEL_CLICK(c17_mfcp_nav_click, nd_toggle_nav())
PANEL_CLICK(c17_mfcp_apt_click, nd_toggle_apt())
PANEL_CLICK(c17_mfcp_route_click, c17_mfd_route_on = c17_mfd_route_on == 0 ? 1 : 0)
PANEL_CLICK(c17_mfcp_scale_click, c17_arc_loc_scale_on = c17_arc_loc_scale_on == 0 ? 1 : 0)
PANEL_CLICK(c17_mfcp_range_down_click, nd_range_down())
PANEL_CLICK(c17_mfcp_range_up_click, nd_range_up())
PANEL_CLICK(c17_mfcp_format_down_click, c17_format_down())
PANEL_CLICK(c17_mfcp_format_up_click, c17_format_up())

namespace {

// The instance whose table holds `rect`; 0 for a rectangle of no table.
int32_t c17_key_instance(const MouseRect* rect) {
  for (int32_t n = 0; n < C17_MFD_INSTANCES; ++n)
    for (const MouseRect& r : c17_mfd_rects[n])
      if (&r == rect) return n;
  return 0;
}

void c17_pfd_key(C17MfdState& s) { s.format = 1; }
void c17_cfg_key(C17MfdState& s) { s.format = 12; }

}  // namespace

PANEL_CLICK(c17_mfd_pfd_click, c17_bezel_key(c17_key_instance(rect), c17_pfd_key))
PANEL_CLICK(c17_mfd_nav_click, c17_bezel_key(c17_key_instance(rect), c17_nav_key))
PANEL_CLICK(c17_mfd_third_click, (void)0)
PANEL_CLICK(c17_mfd_eng_click, c17_bezel_key(c17_key_instance(rect), c17_eng_key))
PANEL_CLICK(c17_mfd_cfg_click, c17_bezel_key(c17_key_instance(rect), c17_cfg_key))

VEK_CLICK(c17_mfd_screen_click) {
  (void)rect;
  (void)event_flags;
  return host_toggle_window(WINDOW_C17_MFD);
}

PANEL_CLICK(lnav_button_click, lnav_toggle())
PANEL_CLICK(vnav_button_click, vnav_toggle())
PANEL_CLICK(bdry_button_click, atc_bdry_toggle())

void c17_mfd_panel_hook(GaugeHeader* gauge, int32_t service_id) {
  if (service_id == PANEL_SERVICE_INSTALL && gauge)
    gauge->mouse_rect = c17_mfd_rects[c17_mfd_parameter_instance(gauge->parameters)];
  c17_mfd_hook(gauge, service_id);
}

void b737_efis_hook(GaugeHeader* gauge, int32_t service_id) {
  if (service_id != PANEL_SERVICE_PRE_UPDATE) return;
  static constexpr double ranges[] = {0.5, 1, 2.5, 5, 10, 20, 40, 80, 160, 320};
  for (int32_t mode = 1; mode <= 7; ++mode) {
    int32_t element = B737_EFIS_MODE_KNOB_FIRST + mode - 1;
    if (b737_nd_mode == mode) {
      show_gauge_element(gauge, element);
    } else {
      hide_gauge_element(gauge, element);
    }
  }
  for (int32_t i = 0; i < 10; ++i) {
    int32_t element = B737_EFIS_RANGE_KNOB_FIRST + i;
    if (std::fabs(b737_nd_range - ranges[i]) < 1e-9) {
      show_gauge_element(gauge, element);
    } else {
      hide_gauge_element(gauge, element);
    }
  }
}

// The controller counts as open only while its face is on screen: the host marks an
// element on screen for each draw of a visible window; the mark is cleared after it.
void p1000_cntr_hook(GaugeHeader* gauge, int32_t service_id) {
  if (service_id != PANEL_SERVICE_DRAW || !gauge || !gauge->elements || gauge->element_count < 1) return;
  if ((gauge->elements[0].image_flags & IMAGE_ON_SCREEN) == 0) return;
  p1000_cntr_draw();
  clear_element_flags(gauge, 0, IMAGE_ON_SCREEN);
}
