// Every test starts from the state of a freshly loaded module: before each test the
// globals of the layers the test program links go back to their load-time values.
// Host-driven tests get the same again from the module's init when they attach it.
#pragma once

#include <gtest/gtest.h>

#include "draw/state_reset.h"
#include "flightplan/state_reset.h"
#include "gauges/state_reset.h"
#include "guidance/state_reset.h"
#include "module/state_reset.h"
#include "navdb/state_reset.h"

class FreshLoadState : public ::testing::EmptyTestEventListener {
 public:
  explicit FreshLoadState(void (*reset)()) : reset_(reset) {}
  void OnTestStart(const ::testing::TestInfo&) override { reset_(); }

 private:
  void (*reset_)();
};

// Registers `reset` to run before each test of the program; for a static initialiser.
inline bool reset_before_each_test(void (*reset)()) {
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshLoadState(reset));
  return true;
}

// The layers a test program links, from the bottom up to the one named.
inline void reset_up_to_navdb() {
  reset_sim_access_state();
  reset_navdb_state();
}
inline void reset_up_to_flightplan() {
  reset_up_to_navdb();
  reset_flightplan_state();
}
inline void reset_up_to_guidance() {
  reset_up_to_flightplan();
  reset_guidance_state();
}
inline void reset_up_to_draw() {
  reset_up_to_guidance();
  reset_draw_state();
}
