// Before each test, the module goes back to its load-time state.
#include "tests/common/fresh_state.h"

namespace {
const bool registered = reset_before_each_test(reset_module_state);
}  // namespace
