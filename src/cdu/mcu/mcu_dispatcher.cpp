// Draw dispatcher of the MCU, its gauge draw function and per-service hook.
#include "cdu/mcu/mcu.h"
#include "cdu/mcu/mcu_pages.h"
#include "cdu/mcu/mcu_state.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/lnav_vnav_state.h"
#include "module/display_state.h"
#include "module/host_services.h"

namespace {

GaugeSurface mcu_surface{};

using McuPageFn = void (*)(McuPage&);
struct PageEntry {
  int32_t page;
  McuPageFn draw;
};
constexpr PageEntry page_table[] = {
    {.page = MCU_PAGE_FPLN, .draw = mcu_fpln_page_draw},   {.page = MCU_PAGE_APT, .draw = mcu_aptinfo_page_draw},
    {.page = MCU_PAGE_NAV, .draw = mcu_nav_page_draw},     {.page = MCU_PAGE_LEGS, .draw = mcu_legs_page_draw},
    {.page = MCU_PAGE_DIRTO, .draw = mcu_dirto_page_draw}, {.page = MCU_PAGE_ALT, .draw = mcu_alt_page_draw},
};

McuPageFn page_renderer(int32_t page) {
  for (const PageEntry& e : page_table)
    if (e.page == page) return e.draw;
  return nullptr;
}

// A leg value the navigation page shows changed in the update's last step.
bool nav_values_changed() {
  return desired_track != desired_track_prev || dist_to_active_wpt != dist_to_active_wpt_prev ||
         ete_active_scaled_min != ete_active_scaled_min_prev || ete_active_min != ete_active_min_prev ||
         ete_dest_min != ete_dest_min_prev;
}

bool repaint_due() { return hdg_change_timer == 0 || mcu_redraw == 1; }

void entry_bar(const McuPage& p) {
  GfxPen* pen = gfx_pen_create(p.g, MCU_ENTRY_BAR, 1.0);
  GfxBrush* brush = gfx_brush_create(p.g, MCU_ENTRY_BAR);
  const GfxPoint bar[] = {{0, 61}, {236, 61}, {236, 74}, {0, 74}, {0, 61}};
  gfx_fill_polygon(p.g, brush, bar, 5);
  gfx_draw_lines(p.g, pen, bar, 5);
  gfx_brush_delete(brush);
  gfx_pen_delete(pen);
}

void clear_key_flags() {
  mcu_enter = mcu_prev = mcu_next = mcu_fpln_rescan = mcu_page_up = mcu_page_down = mcu_arrow = 0;
}

}  // namespace

void mcu_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height) {
  if (!dc || !rec) return;
  rec->width = width;
  rec->height = height;
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK || !g) return;
  gfx_set_text_hint(g, 4);
  // Without power the keys wait for the first powered frame.
  if (display_power == 0) {
    gfx_clear(g, COLOUR_TRANSPARENT);
    gfx_delete(g);
    return;
  }
  McuPage p;
  mcu_page_begin(p, rec, g);
  if (mcu_page == MCU_PAGE_NAV && nav_values_changed()) mcu_redraw = 1;
  if (repaint_due()) {
    gfx_fill_rect(g, p.black, 0, 0, 250, 85);
    if (mcu_kbd_on == 1) entry_bar(p);
  }
  if (mcu_plan_loaded == 1) {
    mcu_page = MCU_PAGE_APT;
    mcu_enter = 1;
    mcu_redraw = 1;
  }
  if (repaint_due() || (mcu_page == MCU_PAGE_NAV && mcu_new_second == 1)) {
    const int32_t drawn = mcu_page;
    if (McuPageFn draw = page_renderer(mcu_page)) draw(p);
    // A page that hands over to another (ENTER on ALT or on a crossing altitude) leaves the
    // new page to draw in this frame, on a clean screen, without the keys already taken.
    if (mcu_page != drawn && mcu_plan_loaded != 1) {
      clear_key_flags();
      gfx_fill_rect(g, p.black, 0, 0, 250, 85);
      if (mcu_kbd_on == 1) entry_bar(p);
      if (McuPageFn draw = page_renderer(mcu_page)) draw(p);
    }
  }
  if (mcu_plan_loaded == 1) mcu_page = MCU_PAGE_NAV;
  mcu_page_end(p);
  gfx_delete(g);
  clear_key_flags();
  // The text CDU's load (3) is that unit's to clear.
  if (mcu_plan_loaded == 1) mcu_plan_loaded = 0;
  else mcu_redraw = 0;
}

void mcu_draw_gauge(GaugeHeader*, DeviceContext dc, int32_t width, int32_t height, int32_t) {
  mcu_draw(&mcu_surface, dc, width, height);
}

void mcu_service_hook(GaugeHeader* gauge, int32_t service_id) {
  switch (service_id) {
    case PANEL_SERVICE_INSTALL:
      plan_loaded_hooks[1] = mcu_plan_load_done;
      break;
    case PANEL_SERVICE_INITIALIZE:
      mcu_redraw = 1;
      fms_frame = 999;
      hdg_change_timer = 999;
      break;
    case GAUGE_STEP_BEFORE_UPDATE:
      if (mcu_kbd_on == 1) process_mcu_keys();
      break;
    case PANEL_SERVICE_PRE_UPDATE:
      if (lnav_on == 1) show_gauge_element(gauge, MCU_ELEMENT_LNAV_LAMP);
      else hide_gauge_element(gauge, MCU_ELEMENT_LNAV_LAMP);
      if (holds_changed == 1) show_gauge_element(gauge, MCU_ELEMENT_HOLD_LAMP);
      else hide_gauge_element(gauge, MCU_ELEMENT_HOLD_LAMP);
      break;
    case PANEL_SERVICE_GRAPHICS_STOP:
      // The hook and the device must not outlive the gauge's graphics.
      if (mcu_kbd_on == 1) stop_key_capture_2();
      break;
    default:
      break;
  }
}
