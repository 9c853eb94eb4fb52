// Draw dispatcher, gauge draw function and per-service hook of both gauges.
#include "cdu/smiths/smiths_cdu.h"

#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings_file.h"
#include "guidance/toc_tod.h"
#include "module/display_state.h"
#include "module/host_services.h"

namespace {
GaugeSurface smiths_fms_surface{};
}

bool smiths_plan_mode_shown() {
  // Each C-17 MFD keeps its format in its own record; the working state is only the
  // display drawn last.
  bool c17_map = c17_mfd_mode == 6;
  for (int32_t n = 1; n <= 4; ++n) c17_map = c17_map || c17_mfd_instances[n].format == 6;
  return b737_nd_mode >= 7 || du1000_ehsi_mode == 2 || md11_nd_mode == 2 || md80_ehsi_mode == 2 || c17_map ||
         proline4_mfd_format == 2;
}

SmithsPageFn smiths_page_renderer(int32_t page) {
  switch (page) {
    case SMITHS_PAGE_STORED_PLANS: return smiths_fms_stored_plans_page_draw;
    case SMITHS_PAGE_LEGS: return smiths_fms_legs_page_draw;
    case SMITHS_PAGE_DEPARTURES: return smiths_fms_departures_page_draw;
    case SMITHS_PAGE_ARRIVALS: return smiths_fms_arrivals_page_draw;
    case SMITHS_PAGE_RTE: return smiths_fms_rte_page_draw;
    case SMITHS_PAGE_INIT_REF_INDEX: return smiths_fms_init_ref_index_page_draw;
    case SMITHS_PAGE_DEP_ARR_INDEX: return smiths_fms_dep_arr_index_page_draw;
    case SMITHS_PAGE_IDENT: return smiths_fms_ident_page_draw;
    case SMITHS_PAGE_FIX_INFO: return smiths_fms_fix_info_page_draw;
    case SMITHS_PAGE_PERF_INIT: return smiths_fms_perf_init_page_draw;
    case SMITHS_PAGE_TAKEOFF_REF: return smiths_fms_takeoff_ref_page_draw;
    case SMITHS_PAGE_APPROACH_REF: return smiths_fms_approach_ref_page_draw;
    case SMITHS_PAGE_SELECT_WPT: return smiths_fms_select_waypoint_page_draw;
    case SMITHS_PAGE_RTE_HOLD: return smiths_fms_rte_hold_page_draw;
    case SMITHS_PAGE_POS_INIT: return smiths_fms_pos_init_page_draw;
    case SMITHS_PAGE_REF_NAV_DATA: return smiths_fms_ref_nav_data_page_draw;
    case SMITHS_PAGE_TEMP_NAV: return smiths_fms_temp_nav_summary_page_draw;
    case SMITHS_PAGE_NAV_STATUS: return smiths_fms_nav_status_page_draw;
    case SMITHS_PAGE_PROGRESS: return smiths_fms_progress_page_draw;
    case SMITHS_PAGE_ECON_CLB: return smiths_fms_econ_clb_page_draw;
    case SMITHS_PAGE_ECON_CRZ: return smiths_fms_econ_crz_page_draw;
    case SMITHS_PAGE_ECON_DES: return smiths_fms_econ_path_des_page_draw;
    case SMITHS_PAGE_DES_FORECASTS: return smiths_fms_des_forecasts_page_draw;
    default: return nullptr;
  }
}

void smiths_fms_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height) {
  if (!dc) return;
  if (rec) {
    rec->width = width;
    rec->height = height;
  }
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK || !g) {
    // Without a graphics object no page runs; the keys still end with this frame.
    clear_cdu_key_flags();
    return;
  }
  gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
  gfx_clear(g, COLOUR_TRANSPARENT);
  if (!smiths_plan_mode_shown() && plan_center_index >= 1) plan_center_index = 0;
  if (SmithsPageFn page = smiths_page_renderer(smiths_page)) page(rec, g);
  clear_cdu_key_flags();
  gfx_delete(g);
}

void smiths_fms_draw_with_update(GaugeSurface* rec, GfxGraphics* g) {
  if (!g) return;
  gfx_clear(g, COLOUR_TRANSPARENT);
  bool plan_map = b737_nd_mode >= 7 || du1000_ehsi_mode == 2 || md80_ehsi_mode == 2 || c17_mfd_mode == 6 ||
                  proline4_mfd_format == 2;
  if (!plan_map && plan_center_index >= 0) plan_center_index = 0;
  // The update that follows runs a full step unless the tick happens to be 99.
  sim_tick_prev = 99;
  fms_update();
  if (SmithsPageFn page = smiths_page_renderer(smiths_page)) page(rec, g);
  clear_cdu_key_flags();
}

void smiths_fms_draw_gauge(GaugeHeader*, DeviceContext dc, int32_t width, int32_t height, int32_t) {
  smiths_fms_draw(&smiths_fms_surface, dc, width, height);
}

namespace {

// The hold pages follow the hold list.
void smiths_hold_added(int place) {
  smiths_hold_page_count = smiths_listed_hold_count();
  smiths_hold_page_no = place;
  smiths_hold_at_index = 0;
}

void smiths_hold_removed() {
  smiths_hold_page_count = smiths_listed_hold_count();
  smiths_scratchpad_msg.clear();
  if (smiths_hold_page_count == 0 && smiths_page == SMITHS_PAGE_RTE_HOLD) smiths_page = SMITHS_PAGE_LEGS;
}

// The climb page gives way to cruise at the top of climb, climb and cruise to descent
// at the top of descent.
void smiths_phase_reached(int32_t phase) {
  bool climb = smiths_page == SMITHS_PAGE_ECON_CLB, cruise = smiths_page == SMITHS_PAGE_ECON_CRZ;
  if (phase == FMS_PHASE_CRUISE && climb) smiths_page = SMITHS_PAGE_ECON_CRZ;
  if (phase == FMS_PHASE_DESCENT && (climb || cruise)) smiths_page = SMITHS_PAGE_ECON_DES;
}

// LNAV switched off by the FMS at the end of the route or a discontinuity.
void smiths_lnav_dropped() { smiths_scratchpad_msg = "LNAV OFF"; }

}  // namespace

// The shared editor's GNS-XLS scratchpad starts empty ("------") once the settings are read.
void reset_shared_scratchpad() { gnsxls_scratchpad = FPL_NONE_TEXT; }

void smiths_cdu_install() {
  on_settings_loaded(reset_shared_scratchpad);
  fpl_hold_added_hook = smiths_hold_added;
  fpl_hold_removed_hook = smiths_hold_removed;
  fms_phase_reached_hook = smiths_phase_reached;
  lnav_dropped_hook = smiths_lnav_dropped;
}

void smiths_fms_service_hook(GaugeHeader* gauge, int32_t service_id) {
  if (service_id == PANEL_SERVICE_INSTALL) {
    smiths_cdu_install();
    if (smiths_page == 0) smiths_page = SMITHS_PAGE_IDENT;
  } else if (service_id == PANEL_SERVICE_PRE_UPDATE) {
    // LNAV engaged again: its loss is no longer news.
    if (lnav_on == 1 && smiths_scratchpad_msg == "LNAV OFF") smiths_scratchpad_msg.clear();
    if (fpl_changed_state == 2 || fpl_changed_state == 4) show_gauge_element(gauge, SMITHS_ELEMENT_EXEC_LIGHT);
    else hide_gauge_element(gauge, SMITHS_ELEMENT_EXEC_LIGHT);
    if (!smiths_scratchpad_msg.empty()) show_gauge_element(gauge, SMITHS_ELEMENT_MSG_LIGHT);
    else hide_gauge_element(gauge, SMITHS_ELEMENT_MSG_LIGHT);
  }
}
