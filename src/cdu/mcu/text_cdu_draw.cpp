// Text CDU dispatcher: the entry bar, the one-frame airport page after a plan load or
// on leaving the first waypoint, the page, and the one-shot keys cleared after it.
#include "cdu/mcu/mcu_state.h"
#include "cdu/mcu/text_cdu.h"
#include "cdu/mcu/text_cdu_pages.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "geo/great_circle.h"
#include "guidance/fms_update.h"
#include "module/keyboard_input.h"
#include "module/sim_vars.h"

int32_t text_cdu_page = 0;
int32_t text_cdu_rescan = 0;
int32_t text_cdu_fpln_row = 1;
int32_t text_cdu_apt_box_y = 13;
int32_t text_cdu_msg_row = 0;
int32_t text_cdu_msg_top = 1;
int32_t text_cdu_msg_sel = 0;
int32_t text_cdu_msg_box_y = 0;

namespace {

constexpr uint32_t ENTRY_BAR = 0xFF800080;
constexpr double AUTO_APT_NM = 5.0;

using PageFn = void (*)(const TextCduPage&);
struct PageEntry {
  int32_t page;
  PageFn draw;
};
constexpr PageEntry page_table[] = {
    {.page = TEXT_CDU_PAGE_FPLN, .draw = text_cdu_fpln_page_draw},
    {.page = TEXT_CDU_PAGE_APT, .draw = text_cdu_apt_page_draw},
    {.page = TEXT_CDU_PAGE_PERF, .draw = text_cdu_perf_page_draw},
    {.page = TEXT_CDU_PAGE_MSG, .draw = text_cdu_msg_page_draw},
};

void entry_bar(GfxGraphics* g, const GaugeSurface* rec) {
  set_canvas_scale(g, rec->width, rec->height, DesignCanvas{TEXT_CDU_CANVAS_W, TEXT_CDU_CANVAS_H});
  GfxPen* pen = gfx_pen_create(g, ENTRY_BAR, 1.0);
  GfxBrush* brush = gfx_brush_create(g, ENTRY_BAR);
  const GfxPoint bar[] = {{0, 92}, {220, 92}, {220, 104}, {0, 104}, {0, 92}};
  gfx_fill_polygon(g, brush, bar, 5);
  gfx_draw_lines(g, pen, bar, 5);
  gfx_brush_delete(brush);
  gfx_pen_delete(pen);
  gfx_reset_transform(g);
}

// The destination is shown once the aircraft has left the first waypoint behind;
// without an active plan there is neither.
bool auto_airport_due() {
  if (text_cdu_auto_apt != 1 || fpl_active_index == FPL_NO_PLAN || fpl_active_last < 0) return false;
  double dist = 0, course = 0;
  compute_gc_distance_course(present_lat, present_lon, fpl_active[0].lat, fpl_active[0].lon, dist, course);
  return dist > AUTO_APT_NM && text_cdu_scratchpad.empty();
}

void page_begin(TextCduPage& p, const GaugeSurface* rec, GfxGraphics* g) {
  p.rec = rec;
  p.g = g;
  set_canvas_scale(g, rec->width, rec->height, DesignCanvas{TEXT_CDU_CANVAS_W, TEXT_CDU_CANVAS_H});
  p.cyan = gfx_brush_create(g, COLOUR_CYAN);
  p.yellow = gfx_brush_create(g, COLOUR_YELLOW);
  p.cyan_pen = gfx_pen_create(g, COLOUR_CYAN, 1.0);
  p.family = gfx_family_create(g, FONT_COURIER_NEW);
  p.heading = gfx_font_create(g, p.family, 14, GFX_FONT_BOLD);
  p.row = gfx_font_create(g, p.family, 12, GFX_FONT_BOLD);
}

void page_end(TextCduPage& p) {
  gfx_font_delete(p.row);
  gfx_font_delete(p.heading);
  gfx_family_delete(p.family);
  gfx_pen_delete(p.cyan_pen);
  gfx_brush_delete(p.yellow);
  gfx_brush_delete(p.cyan);
  p = TextCduPage{};
}

void clear_key_flags() {
  text_cdu_enter = text_cdu_up = text_cdu_down = text_cdu_rescan = text_cdu_page_up = text_cdu_page_down = 0;
}

}  // namespace

void text_cdu_plan_load_done(const std::string& airport_ident) {
  text_cdu_scratchpad = airport_ident;
  text_cdu_enter = 1;
  mcu_plan_loaded = 3;
}

void text_cdu_draw(GaugeSurface* rec, DeviceContext dc, int32_t width, int32_t height) {
  if (!dc || !rec) return;
  rec->width = width;
  rec->height = height;
  plan_loaded_hooks[3] = text_cdu_plan_load_done;
  GfxGraphics* g = nullptr;
  if (gfx_create(dc, &g) != GFX_OK || !g) return;
  gfx_set_smoothing(g, GFX_SMOOTHING_ANTIALIAS);
  gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
  gfx_clear(g, COLOUR_TRANSPARENT);
  if (kbd_entry_target == 1) entry_bar(g, rec);

  const int32_t shown_page = text_cdu_page;
  if (auto_airport_due()) {
    text_cdu_scratchpad = fpl_active[fpl_active_last].ident;
    mcu_plan_loaded = 3;
    text_cdu_auto_apt = 2;
    text_cdu_page = TEXT_CDU_PAGE_APT;
    text_cdu_enter = 1;
  } else if (mcu_plan_loaded == 3) {
    text_cdu_page = TEXT_CDU_PAGE_APT;
    text_cdu_enter = 1;
  }

  TextCduPage p;
  page_begin(p, rec, g);
  for (const PageEntry& e : page_table)
    if (e.page == text_cdu_page) e.draw(p);
  page_end(p);
  gfx_delete(g);

  if (mcu_plan_loaded == 3) {
    text_cdu_page = shown_page;
    mcu_plan_loaded = 0;
  }
  clear_key_flags();
}
