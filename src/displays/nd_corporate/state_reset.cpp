// Puts the corporate navigation displays' globals back to their load-time values.
#include "displays/nd_corporate/state_reset.h"

#include "displays/nd_corporate/p1000_common.h"
#include "module/load_state.h"

void reset_nd_corporate_state() {
  static LoadState state;
  state.restore([](LoadState& s) { keep_p1000_mfd_frame_state(s); });
}
