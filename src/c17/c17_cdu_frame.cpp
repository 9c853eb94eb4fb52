// Mission CDU state, page table and its two dispatchers.
#include "c17/c17_cdu.h"
#include "c17/c17_cdu_pages.h"
#include "draw/draw_toolkit.h"
#include "flightplan/fpl_ops.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"

int32_t c17_cdu_page = C17_CDU_MSN_INDEX;
int32_t c17_cdu_pending_lsk = 0;
int32_t c17_cdu_prev_page = 0, c17_cdu_prev_page_alt = 0;
int32_t c17_cdu_next_page = 0, c17_cdu_next_page_alt = 0;
std::string c17_cdu_scratchpad;
std::string c17_cdu_scratchpad_msg;
GaugeSurface c17_cdu_surface{};

namespace {

using PageFn = void (*)(GaugeSurface*, GfxGraphics*);
struct PageEntry {
  int32_t id;
  PageFn draw;
  bool on_update;  // drawn by the update dispatcher too
};
// A page id this unit leaves blank: L6, where the pages have their INDEX prompt,
// leads back to MSN INDEX.
void blank_page() {
  if (c17_cdu_pending_lsk == 11) c17_cdu_page = C17_CDU_MSN_INDEX;
}

// TAKEOFF REF is drawn only before the top of climb is reached.
void takeoff_ref_entry(GaugeSurface* rec, GfxGraphics* g) {
  if (toc_reached == 0) c17_cdu_takeoff_ref_page(rec, g);
  else blank_page();
}

constexpr PageEntry page_table[] = {
    {.id = C17_CDU_MSN_INDEX, .draw = c17_cdu_msn_index_page, .on_update = true},
    {.id = C17_CDU_MSN_INIT, .draw = c17_cdu_msn_init_page, .on_update = true},
    {.id = C17_CDU_NAV_SENSORS, .draw = c17_cdu_nav_sensors_page, .on_update = true},
    {.id = C17_CDU_POSITION_FIX, .draw = c17_cdu_position_fix_page, .on_update = true},
    {.id = C17_CDU_STORED_PLANS, .draw = c17_cdu_stored_plans_page, .on_update = true},
    {.id = C17_CDU_DUPLICATE_NAMES, .draw = c17_cdu_duplicate_names_page, .on_update = true},
    {.id = C17_CDU_TAKEOFF_REF, .draw = takeoff_ref_entry, .on_update = false},
    {.id = C17_CDU_PROGRESS, .draw = c17_cdu_progress_page, .on_update = true},
    {.id = C17_CDU_APPROACH_REF, .draw = c17_cdu_approach_ref_page, .on_update = true},
    {.id = C17_CDU_DEPARTURES, .draw = c17_cdu_departures_page, .on_update = true},
    {.id = C17_CDU_ARRIVALS, .draw = c17_cdu_arrivals_page, .on_update = true},
    {.id = C17_CDU_PERF_INIT, .draw = c17_cdu_perf_page, .on_update = false},
    {.id = C17_CDU_FLT_PLAN, .draw = c17_cdu_legs_page, .on_update = true},
    {.id = C17_CDU_RTE, .draw = c17_cdu_rte_page, .on_update = true},
    {.id = C17_CDU_STANDARD_HOLD, .draw = c17_cdu_hold_page, .on_update = true},
};

const PageEntry* page_entry(int32_t id) {
  for (const PageEntry& e : page_table)
    if (e.id == id) return &e;
  return nullptr;
}

}  // namespace

void c17_cdu_install() {
  fpl_discontinuity_made_hook = [] { c17_cdu_scratchpad_msg.clear(); };
}

void clamp_entry_counters() {
  for (int32_t* v : {&c17_cdu_pending_lsk, &c17_cdu_prev_page, &c17_cdu_next_page})
    if (*v > 0) *v = 0;
}

void c17_cdu_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height, int32_t mode) {
  if (!dc || !rec) return;
  rec->width = width;
  rec->height = height;
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK || !g) return;
  gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
  gfx_clear(g, COLOUR_TRANSPARENT);
  if (display_power == 0 || mode == 2) {
    gfx_clear(g, COLOUR_TRANSPARENT);
    gfx_delete(g);
    return;
  }
  gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
  if (const PageEntry* e = page_entry(c17_cdu_page)) e->draw(rec, g);
  else blank_page();
  clamp_entry_counters();
  c17_cdu_pending_lsk = 0;
  c17_cdu_prev_page = c17_cdu_prev_page_alt = c17_cdu_next_page = c17_cdu_next_page_alt = 0;
  gfx_delete(g);
}

void c17_cdu_update_draw(GaugeSurface* rec, GfxGraphics* g) {
  if (!g) return;
  gfx_clear(g, COLOUR_TRANSPARENT);
  sim_tick_prev = -1.0;
  fms_update();
  const PageEntry* e = page_entry(c17_cdu_page);
  if (e && e->on_update && rec) e->draw(rec, g);
  else if (!e) blank_page();
  clamp_entry_counters();
}
