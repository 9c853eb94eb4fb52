// Primus 1000 controller: the value knob stops where the VNAV legends print.
#include <gtest/gtest.h>

#include <string>

#include "module/display_state.h"
#include "platform/gfx/gfx_recording.h"
#include "tests/common/module_fixture.h"

namespace {

// ---- the controller's value knob ----

struct P1000Knob : ModuleTest {
  P1000Knob() : ModuleTest("/tmp/vek-p1000-knob-XXXXXX", 272) {}
  void click(int32_t index, int32_t times = 1) {
    std::string error;
    for (int32_t i = 0; i < times; ++i) ASSERT_TRUE(host_.click_index("P1000_MFD_CNTR", index, &error)) << error;
  }
};

// Distance (two digits) and step elevation (five) stop at the largest value their
// legends print, inside their columns; turned down they stop at 0.
TEST_F(P1000Knob, ValueKnobStopsWhereTheLegendsPrint) {
  start({{"P1000_MFD", ""}, {"P1000_MFD_CNTR", ""}});
  host_.set_draw_recording(true);
  host_.run_frames(20);
  click(9);  // main menu: VNAV
  struct Case {
    int32_t select;  // soft key choosing the entry
    double* value;
    double near_top, top;
    const char* legend;
    double column_end;  // where the next legend's column begins
  };
  const Case cases[] = {
      {9, &p1000_vnav_distance, 97, 99, "[99]", 120},
      {10, &p1000_vnav_elevation, 99700, 99900, "[99900]", 157},
  };
  for (const Case& c : cases) {
    click(c.select);
    *c.value = c.near_top;
    click(6, 4);
    EXPECT_EQ(*c.value, c.top) << c.legend;
    host_.run_frames(1);
    const GfxRecording* rec = gfx_recording_of(host_.find_gauge("P1000_MFD")->drawn_image());
    ASSERT_NE(rec, nullptr);
    bool inside = false;
    for (const GfxTextItem& t : rec->text_items())
      if (t.text == c.legend) inside = rec->to_design({t.ink.x + t.ink.width, 0}, 272, 314).x < c.column_end;
    EXPECT_TRUE(inside) << c.legend;
    click(5, 2);
    *c.value = 1;
    click(5, 3);
    EXPECT_EQ(*c.value, 0) << c.legend;
  }
}

}  // namespace
