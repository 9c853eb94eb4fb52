// Before each test, the module goes back to its load-time state and the scene's
// stand-in host to no values.
#include "tests/common/fresh_state.h"

#include "tests/nd/nd_scene.h"

namespace {
const bool registered = reset_before_each_test([] {
  reset_module_state();
  nd_test::token_values.clear();
  nd_test::token_texts.clear();
  nd_test::layers.clear();
});
}  // namespace
