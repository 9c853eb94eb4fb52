// NAV STATUS (the tuned NAV radios and the nearest VORs), NAV OPTIONS and TEMP NAV
// SUMMARY pages.
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

namespace {

constexpr int32_t smiths_navstat_page_count = 2;

void draw_nav_status(const CduPage& p) {
  cdu_large(p, 63, 0, "NAV  STATUS");
  cdu_small(p, 30, 22, "V O R - L                       V O R - R");
  const char* nav1 = get_nav1_signal() > 0 ? get_nav1_ident() : "";
  const char* nav2 = get_nav2_signal() > 0 ? get_nav2_ident() : "";
  cdu_mono(p, 0, 44,
           cdu_format("%-5s %-3.2f       %-5s %-3.2f", nav1, get_nav1_frequency_mhz(), nav2, get_nav2_frequency_mhz()));
  cdu_small(p, 30, 66, "D M E - L                        D M E - R");
  // Rows 1..8 of the nearest-VOR table, two a line; the ninth is kept but not shown.
  for (int r = 1; r + 1 <= nearest_vor_rows && r <= 7; r += 2) {
    const NavRecord &a = nav_lists_21b[r], &b = nav_lists_21b[r + 1];
    cdu_mono(p, 0, 80 + 10.0 * (r - 1),
             cdu_format("%-5.*s %6.*s       %-5.*s %6.*s", int(sizeof a.ident), a.ident, int(sizeof a.freq), a.freq,
                        int(sizeof b.ident), b.ident, int(sizeof b.freq), b.freq));
  }
  cdu_small(p, 160, 175, "I R S    ( L )");
  cdu_large(p, 160, 198, "POS  SHIFT >");
  cdu_large(p, 0, 198, "< INDEX");
}

void draw_nav_options(const CduPage& p) {
  cdu_large(p, 63, 0, "NAV  OPTIONS");
  cdu_small(p, 80, 22, "D M E    I N H I B I T");
  cdu_large(p, 0, 33, "- - - -");
  cdu_large(p, 220, 33, "- - - -");
  cdu_small(p, 80, 55, "V O R    I N H I B I T");
  cdu_large(p, 0, 66, "- - - -");
  cdu_large(p, 220, 66, "- - - -");
  cdu_small(p, 12, 88, "D M E    U P D A T E");
  cdu_large(p, 0, 99, "<ON/OFF");
  cdu_small(p, 12, 121, "V O R    U P D A T E");
  cdu_large(p, 0, 133, "<ON/OFF");
  cdu_large(p, 0, 198, "< INDEX");
}

}  // namespace

void smiths_fms_nav_status_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  // NEXT PAGE wrapping back to NAV STATUS refreshes the stations; PREV PAGE does not.
  const bool wraps = smiths_prev_page_key != 1 && smiths_next_page_key == 1 &&
                     smiths_navstat_page_no >= smiths_navstat_page_count;
  smiths_navstat_page_no = cdu_step_page(smiths_navstat_page_no, smiths_navstat_page_count);
  if (wraps) smiths_refresh_nearest_vors();
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_smallf(p, 220, 5, "%d / %d", int(smiths_navstat_page_no), int(smiths_navstat_page_count));
  if (smiths_pending_lsk == LSK_L6) {
    smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  } else if (smiths_pending_lsk == LSK_R6 && smiths_navstat_page_no == 1) {
    smiths_page = SMITHS_PAGE_POS_INIT;
    smiths_pos_page_no = 3;
  }
  if (smiths_navstat_page_no == 1) draw_nav_status(p);
  else draw_nav_options(p);
  cdu_page_end(p);
}

void smiths_fms_temp_nav_summary_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 12, 0, "TEMP  NAV  SUMMARY");
  cdu_small(p, 230, 3, "1 / 1");
  if (smiths_pending_lsk == LSK_L6) smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  cdu_large(p, 0, 198, "< INDEX");
  cdu_page_end(p);
}
