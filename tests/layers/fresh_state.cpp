// Before each test, the linked layers go back to their load-time state.
#include "platform/gfx/gfx_internal.h"
#include "tests/common/fresh_state.h"

namespace {
const bool registered = reset_before_each_test(reset_up_to_draw);
// Their pixels are read while the graphics draws on, and compared between images of two
// sizes: each image is drawn whole, not in bands (whose threads keep masks of their own).
const bool drawn_whole = (gfx_set_band_threads(0), true);
}  // namespace
