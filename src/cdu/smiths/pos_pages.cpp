// POS INIT, POS REF and POS SHIFT: present position, reference airport, zulu time and
// date, ground speed and the NAV 1 station. No entries; L6 goes to INIT/REF INDEX and
// R6 to RTE on every sub-page.
#include <algorithm>
#include <cmath>

#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "module/sim_vars.h"

namespace {

constexpr int32_t smiths_pos_page_count = 3;

int whole(double v) { return int(std::floor(finite_or(v, 0.0))); }

// The NAV 1 station while it is received.
std::string nav1_text() { return get_nav1_signal() > 0 ? get_nav1_ident() : ""; }

void draw_pos_init(const CduPage& p, const std::string& lat, const std::string& lon) {
  cdu_large(p, 63, 0, "POS   INIT");
  cdu_small(p, 170, 22, "L A S T   P O S");
  cdu_large(p, 70, 33, lat);
  cdu_large(p, 160, 33, lon);
  cdu_small(p, 12, 55, "R E F    A I R P O R T");
  if (fpl_active_index != FPL_NO_PLAN && fpl_active_last >= 0) cdu_largef(p, 0, 66, "%4s", fpl_active[0].ident);
  else cdu_large(p, 0, 66, "- - - -");
  cdu_small(p, 12, 88, "G A T E");
  cdu_small(p, 140, 121, "S E T   I R S    P O S");
  cdu_small(p, 12, 151, "G M T  -  M O N / D V");
  day_of_year_to_month(whole(get_zulu_day_of_year()), whole(get_zulu_year()));
  const int hour = whole(get_zulu_hour()) % 24, minute = whole(get_zulu_minute()) % 60;
  const int tenths = std::clamp(whole(clock_second_live / 60.0 * 10.0), 0, 9);
  cdu_largef(p, 0, 166, "%02d%02d.%d z  %02d/%02d", hour, minute, tenths, date_month_number, date_day_of_month);
  cdu_large(p, 2, 184, "- - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, "< INDEX");
  cdu_large(p, 180, 198, "ROUTE >");
}

void draw_pos_ref(const CduPage& p, const std::string& lat, const std::string& lon) {
  cdu_large(p, 63, 0, "POS  REF");
  cdu_small(p, 12, 22, "F M C    P O S");
  cdu_large(p, 0, 33, lat);
  cdu_large(p, 85, 33, lon);
  cdu_small(p, 245, 22, "G S");
  const std::string gs = cdu_format("%.0f", ground_speed);
  cdu_large(p, 242.0 - cdu_text_width(gs, CDU_LARGE_PX), 33, gs);  // ends a space before its unit
  cdu_small(p, 245, 38, "K T");
  cdu_small(p, 12, 55, "I R S   L");
  cdu_small(p, 12, 99, "I R S   R");
  cdu_small(p, 12, 151, "R A D I O");
  cdu_large(p, 12, 167, nav1_text());
}

void draw_pos_shift(const CduPage& p) {
  cdu_large(p, 63, 0, "POS  SHIFT");
  cdu_small(p, 12, 88, "I R S - L");
  cdu_small(p, 200, 88, "I R S - R");
  cdu_small(p, 10, 121, "R N P / A C T U A L");
  cdu_small(p, 200, 121, "R A D I O");
  cdu_large(p, 200, 133, nav1_text());
  cdu_small(p, 0, 135, "1 . 0 0 / 0 . 0 0 N M");
  cdu_large(p, 0, 141, ". . . . . . . . . . . . . . . . . . . . . . . .");
  cdu_large(p, 0, 198, "<INDEX");
}

}  // namespace

void smiths_fms_pos_init_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  smiths_pos_page_no = cdu_step_page(smiths_pos_page_no, smiths_pos_page_count);
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_smallf(p, 220, 5, "%d / %d", int(smiths_pos_page_no), int(smiths_pos_page_count));
  if (smiths_pending_lsk == LSK_L6) smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  else if (smiths_pending_lsk == LSK_R6) smiths_page = SMITHS_PAGE_RTE;
  std::string lat, lon;
  cdu_position_texts(present_lat, present_lon, lat, lon);
  if (smiths_pos_page_no == 1) draw_pos_init(p, lat, lon);
  else if (smiths_pos_page_no == 2) draw_pos_ref(p, lat, lon);
  else draw_pos_shift(p);
  cdu_bottom_line(p);
  cdu_page_end(p);
}
