// Puts the attitude displays' globals back to their load-time values.
#include "displays/attitude/state_reset.h"

#include "displays/attitude/a320_eadi.h"
#include "displays/attitude/attitude.h"
#include "displays/attitude/attitude_draw.h"
#include "displays/attitude/attitude_frame.h"
#include "displays/attitude/b777_pfd.h"
#include "displays/attitude/fd_bars.h"
#include "displays/attitude/pfd.h"
#include "displays/attitude/pfd_drums.h"
#include "displays/attitude/pfd_elements.h"
#include "module/load_state.h"

void reset_attitude_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // fd_bars.cpp
    s.keep(fd_bank_bar, fd_pitch_bar);
    // pfd_frame.cpp
    s.keep(pfd_symbol_style, pfd_course_source_nav, pfd_course_source_fms, pfd_bearing1_source,
           pfd_bearing2_source, pfd_hsi_arc_format, pfd_et_field, pfd_data_field);
  });
}

