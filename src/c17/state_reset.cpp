// Puts the C-17 units' globals back to their load-time values.
#include "c17/state_reset.h"

#include "c17/c17_cdu.h"
#include "c17/c17_cdu_layout.h"
#include "c17/c17_cdu_pages.h"
#include "c17/c17_mfd.h"
#include "c17/c17_page.h"
#include "c17/c17_pfd.h"
#include "module/load_state.h"

void reset_c17_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // c17_cdu_frame.cpp
    s.keep(c17_cdu_page, c17_cdu_pending_lsk, c17_cdu_prev_page, c17_cdu_prev_page_alt, c17_cdu_next_page,
           c17_cdu_next_page_alt, c17_cdu_scratchpad, c17_cdu_scratchpad_msg, c17_cdu_surface);
    // c17_cdu_rte_page.cpp, c17_cdu_hold_page.cpp, c17_cdu_plan_pages.cpp
    s.keep(c17_dup_return_page, c17_hold_index, c17_cdu_fpl_page, c17_cdu_fpl_page_count, c17_dup_first_row,
           c17_dup_scroll_up, c17_dup_scroll_down, c17_hold_row);
  });
}

