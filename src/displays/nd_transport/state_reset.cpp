// Puts the transport navigation displays' globals back to their load-time values.
#include "displays/nd_transport/state_reset.h"

#include "displays/nd_transport/md80_common.h"
#include "displays/nd_transport/nd_transport.h"
#include "module/load_state.h"

void reset_nd_transport_state() {
  static LoadState state;
  state.restore([](LoadState& s) {
    // gauge_entries.cpp
    s.keep(tcas_targets, tcas_target_cnt, tcas_targets_found);
  });
}

