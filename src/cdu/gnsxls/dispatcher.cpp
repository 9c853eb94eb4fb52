// Draw dispatcher and per-service hooks of both gauges.
#include "cdu/gnsxls/gnsxls.h"

#include "draw/draw_toolkit.h"
#include "guidance/fms_state.h"
#include "guidance/settings_file.h"

namespace {

GaugeSurface gnsxls_surface{};

struct PageRow {
  int32_t page;
  GnsxlsPageFn draw;
};

// Ids not listed (2..6, 17 and the pages still to come) draw nothing.
constexpr PageRow page_renderers[] = {
    {.page = GNSXLS_PAGE_FPL, .draw = gnsxls_flight_plan_page_draw},
    {.page = GNSXLS_PAGE_DIRECT, .draw = gnsxls_direct_page_draw},
    {.page = GNSXLS_PAGE_DATABASE_WPT, .draw = gnsxls_database_wpt_page_draw},
    {.page = GNSXLS_PAGE_DEPARTURE, .draw = gnsxls_departure_page_draw},
    {.page = GNSXLS_PAGE_STAR, .draw = gnsxls_star_page_draw},
    {.page = GNSXLS_PAGE_APPROACH, .draw = gnsxls_approach_page_draw},
    {.page = GNSXLS_PAGE_AIRWAY, .draw = gnsxls_airway_page_draw},
    {.page = GNSXLS_PAGE_SAVE_FPL, .draw = gnsxls_save_fpl_page_draw},
    {.page = GNSXLS_PAGE_NAV, .draw = gnsxls_navigation_page_draw},
    {.page = GNSXLS_PAGE_VNAV, .draw = gnsxls_vnav_page_draw},
    {.page = GNSXLS_PAGE_VNAV_DATA, .draw = gnsxls_vnav_data_page_draw},
    {.page = GNSXLS_PAGE_HOLD, .draw = gnsxls_holding_pattern_page_draw},
    {.page = GNSXLS_PAGE_PLAN, .draw = gnsxls_plan_page_draw},
    {.page = GNSXLS_PAGE_PILOT_WPT, .draw = gnsxls_pilot_wpt_page_draw},
    {.page = GNSXLS_PAGE_OFFSET_WPT, .draw = gnsxls_offset_wpt_page_draw},
};

}  // namespace

GnsxlsPageFn gnsxls_page_renderer(int32_t page) {
  for (const PageRow& row : page_renderers)
    if (row.page == page) return row.draw;
  return nullptr;
}

void gnsxls_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height) {
  if (!dc || !rec) return;
  rec->width = width;
  rec->height = height;
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK || !g) return;
  gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
  gfx_clear(g, COLOUR_TRANSPARENT);
  // A dark unit keeps every key for its first powered frame.
  if (display_power == 0) {
    gfx_delete(g);
    return;
  }
  gnsxls_queued_lsk = 0;
  if (GnsxlsPageFn page = gnsxls_page_renderer(gnsxls_page)) page(rec, g);
  gnsxls_enter_pressed = 0;
  gnsxls_direct_pressed = 0;
  gnsxls_clr_pressed = 0;
  gnsxls_pending_lsk = gnsxls_queued_lsk;
  gfx_delete(g);
}

void gnsxls_draw_gauge(GaugeHeader*, DeviceContext dc, int32_t width, int32_t height, int32_t) {
  gnsxls_draw(&gnsxls_surface, dc, width, height);
}

namespace {
// The settings load leaves the direct-to answer at "NO".
void reset_answer_text() { gnsxls_answer = "NO"; }
}  // namespace

void gnsxls_service_hook(GaugeHeader*, int32_t service_id) {
  if (service_id != PANEL_SERVICE_INSTALL) return;
  gnsxls_start_state(false);
  on_settings_loaded(reset_answer_text);
}

void gnsxls_lm_service_hook(GaugeHeader*, int32_t service_id) {
  if (service_id != PANEL_SERVICE_INSTALL) return;
  gnsxls_start_state(true);
  on_settings_loaded(reset_answer_text);
}
