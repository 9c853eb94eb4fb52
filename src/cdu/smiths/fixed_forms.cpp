// N1 LIMIT and LATERAL OFFSET: fixed forms without a page id.
#include "cdu/smiths/page_layout.h"
#include "cdu/smiths/smiths_cdu.h"

void smiths_fms_n1_limit_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 63, 0, "N1 LIMIT");
  cdu_small(p, 230, 0, "1 / 1");
  if (smiths_pending_lsk == LSK_L6) smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  else if (smiths_pending_lsk == LSK_R6) smiths_page = SMITHS_PAGE_TAKEOFF_REF;
  cdu_small(p, 12, 22, "S E L / O A T");
  cdu_small(p, 200, 22, "2 2 K  N 1");
  cdu_large(p, 0, 33, "- - - - /");
  static const double boxes[4] = {55, 65, 75, 85};
  cdu_entry_boxes(p, boxes, 4, 38);
  cdu_large(p, 200, 33, "94.9/94.9");
  cdu_small(p, 12, 55, "2 2 K");
  cdu_large(p, 0, 66, "<TO    <ACT>      <SEL>      CLB>");
  cdu_small(p, 12, 88, "20 K   D E R A T E");
  cdu_large(p, 0, 99, "<TO-1                                 CLB-1>");
  cdu_small(p, 12, 121, "18 K   D E R AT E");
  cdu_large(p, 0, 135, "<TO-2                                 CLB-2>");
  cdu_large(p, 0, 184, "- - - - - - - - - - - - - - - - - - - - - - - - -");
  cdu_large(p, 0, 198, "< PERF  INIT");
  cdu_large(p, 170, 198, "TAKEOFF >");
  cdu_page_end(p);
}

void smiths_fms_lateral_offset_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  CduPage p;
  cdu_page_begin(p, rec, g);
  cdu_large(p, 63, 0, "LATERAL  OFFSET");
  cdu_small(p, 230, 3, "1 / 1");
  cdu_small(p, 12, 55, "O F F S E T    D I S T");
  cdu_page_end(p);
}
