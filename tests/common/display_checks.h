// Checks shared by the tests of the display dispatchers.
#pragma once

#include <gtest/gtest.h>

#include "guidance/fms_state.h"

// Without display power a frame clears the image and draws nothing; with power, a frame
// in draw mode 2 draws nothing. `scene` draws a frame with draw(draw_mode) and gives
// its recording with rec(). The power is left on.
template <typename Scene>
void expect_blank_unpowered_and_in_draw_mode_2(Scene& scene) {
  display_power = 0;
  scene.draw();
  EXPECT_TRUE(scene.rec().cleared_transparent());
  EXPECT_EQ(scene.rec().primitive_count(), 0);
  display_power = 1;
  scene.draw(2);
  EXPECT_EQ(scene.rec().primitive_count(), 0);
}
