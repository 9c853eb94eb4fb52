// Before each test, the linked layers go back to their load-time state.
#include "tests/common/fresh_state.h"

namespace {
const bool registered = reset_before_each_test(reset_up_to_draw);
}  // namespace
