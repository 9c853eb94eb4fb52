// Per-gauge drawing record: the dispatcher stores the gauge image's size here at
// the start of each draw; map layers that reset the world transform read it to
// re-apply the display's scale.
#pragma once

#include <cstdint>

struct GaugeSurface {
  int32_t width;
  int32_t height;
};
