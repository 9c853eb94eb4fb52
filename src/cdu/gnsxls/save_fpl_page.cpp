// SAVE ACTIVE FPL (page 14): the file name under which ENTER stores the active plan.
#include <algorithm>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "flightplan/flight_plan.h"

void gnsxls_save_fpl_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  int32_t& l2 = gnsxls_lsk_state[2];
  if (gnsxls_pending_lsk == 2) {
    bool open = l2 == 0;
    reset_cdu_entry_state();
    l2 = open ? 2 : 0;
    gnsxls_prompt_open = open ? 1 : 0;
    if (open) {
      gnsxls_clear_on_key = 1;
      gnsxls_scratchpad = gnsxls_save_name;
    }
  }
  GnsPage p;
  gns_page_begin(p, rec, g);
  int32_t last = std::clamp(fpl_active_last, 0, FPL_MAX_LAST);
  gns_text(p, 90, 0, p.white, "SAVE ACTIVE FPL ");
  gns_text(p, 96, 40, p.green, fpl_active[0].ident);
  gns_text(p, 240, 40, p.green, "-");
  gns_text(p, 280, 40, p.green, fpl_active[last].ident);
  gns_text(p, 30, 80, p.green, "Filename:");
  if (l2 == 2 && gnsxls_prompt_open == 1) {
    gns_field(p, 30, 120, 10, gnsxls_scratchpad);
    gns_text(p, 230, 120, p.green, ".RTE");
  } else {
    gns_text(p, 30, 120, p.green, gnsxls_save_name);
    gns_text(p, 30.0 + 20.0 * double(gnsxls_save_name.size()), 120, p.green, ".RTE");
  }
  if (gnsxls_save_failed == 1) gns_text(p, 30, 160, p.yellow, " Unable to Save");
  p.arrows[2] = '>';
  gns_page_end(p);
}
