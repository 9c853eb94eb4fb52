// MSN INDEX (the menu, shown at load) and MSN INITIALIZE (identity, time, date and
// present position).
#include <cmath>

#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace {

bool plans_stored() { return c17_cdu_plan_count() > 0; }

struct IndexKey {
  int32_t key;
  int32_t page;
};
constexpr IndexKey index_keys[] = {
    {.key = 1, .page = C17_CDU_MSN_INIT},      {.key = 2, .page = C17_CDU_NAV_SENSORS},
    {.key = 3, .page = C17_CDU_RTE},           {.key = 4, .page = C17_CDU_PERF_INIT},
    {.key = 6, .page = C17_CDU_TAKEOFF_REF},   {.key = 7, .page = C17_CDU_APPROACH_REF},
    {.key = 8, .page = C17_CDU_STORED_PLANS},
};

void index_key() {
  for (const IndexKey& k : index_keys) {
    if (k.key != c17_cdu_pending_lsk) continue;
    if (k.page == C17_CDU_STORED_PLANS && !plans_stored()) return;
    c17_cdu_page = k.page;
  }
}

constexpr double RIGHT_BOX_X = 218.0;

}  // namespace

void c17_cdu_msn_index_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_MISSION_CANVAS);
  cdu_large(p, 110, 0, "MSN INDEX");
  index_key();
  cdu_large(p, 0, 48, "<MSN INIT");
  c17_cdu_line(p, 240, 48, "TOLD MENU>", true, RIGHT_BOX_X);
  cdu_large(p, 0, 89, "<NAV SENSOR");
  c17_cdu_line(p, 245, 89, "APPROACH>", true, RIGHT_BOX_X);
  cdu_large(p, 0, 130, "<ROUTE DATA");
  c17_cdu_line(p, 217, 130, "FLIGHT PLANS>", !plans_stored(), RIGHT_BOX_X);
  c17_cdu_line(p, 0, 171, "<FUEL PLAN", true, 0);
  cdu_large(p, 214, 171, "LOAD ATC RTE>");
  c17_cdu_line(p, 218, 212, "SAVE ACT FPL>", fpl_active_index == FPL_NO_PLAN, RIGHT_BOX_X);
  c17_cdu_bottom_line(p, C17_CDU_MISSION_CANVAS);
  cdu_page_end(p);
}

void c17_cdu_msn_init_page(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  c17_cdu_page_begin(p, rec, g, C17_CDU_MISSION_CANVAS);
  cdu_large(p, 80, 0, "MSN INITIALIZE");
  if (c17_cdu_pending_lsk == 12) c17_cdu_page = C17_CDU_MSN_INDEX;
  cdu_large(p, 0, 20, "C-17A   F117-PW-100");
  cdu_large(p, 280, 20, "C / S");
  cdu_large(p, 275, 42, "RCH0300");
  cdu_small(p, 10, 73, "NAV DB");
  cdu_large(p, 0, 83, nav_data_cycle);
  cdu_small(p, 275, 73, "ACTIVE");
  c17_cdu_large_fit(p, 270, 83, nav_data_active);
  cdu_small(p, 10, 114, "OPS PROG");
  cdu_large(p, 0, 124, "P1209F");
  cdu_small(p, 10, 155, "FLT ID");
  cdu_large(p, 0, 165, "AS123");
  cdu_small(p, 250, 155, "GMT/DDMMYY");

  // Whole hours and minutes: a minute of 59.6 is not printed as 60.
  const std::string year = cdu_format("%4.0f", get_zulu_year());
  day_of_year_to_month(int(get_zulu_day_of_year()), int(get_zulu_year()));
  int tenths = int(clock_second_live / 60.0 * 10.0);
  if (tenths < 0 || tenths > 9) tenths = 0;
  cdu_largef(p, 220, 165, "%02d%02d%02dz/%02d%02d%s", int(std::floor(get_zulu_hour())) % 24,
             int(std::floor(get_zulu_minute())) % 60, tenths, date_day_of_month, date_month_number,
             year.size() >= 2 ? year.substr(year.size() - 2).c_str() : year.c_str());

  cdu_small(p, 10, 196, "PPOS");
  std::string lat, lon;
  c17_cdu_position_texts(present_lat, present_lon, lat, lon);
  GfxFont* ppos = gfx_font_create(p.g, p.family, 20, GFX_FONT_REGULAR);
  draw_text(p.g, ppos, p.green, 0, 206, DRAW_TEXT_MAX, lat.c_str());
  draw_text(p.g, ppos, p.green, 150, 206, DRAW_TEXT_MAX, lon.c_str());
  gfx_font_delete(ppos);
  cdu_large(p, 270, 247, "RETURN>");
  c17_cdu_bottom_line(p, C17_CDU_MISSION_CANVAS);
  cdu_page_end(p);
}
