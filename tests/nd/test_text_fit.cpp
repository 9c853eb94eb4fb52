// Texts of the navigation displays against their boxes, measured in the recording: the
// MD-11's texts over the picture inside the image and its heading inside its box.
#include <gtest/gtest.h>

#include "nd_scene.h"

using namespace nd_test;

TEST(TextFit, Md11ReadoutsInsideTheImageAndTheHeadingBox) {
  place_aircraft(47.0, -122.0, 358);  // the widest heading readout
  set_active_plan({"KAAA", "ALPHA"}, 1, 47.0, -122.0);
  dist_to_active_wpt = 1234.5;
  ground_speed = true_airspeed = 588;
  md11_nd_map_radius = 150;
  auto inside = [](const GfxRectF& r, GfxRectF b) {
    return r.x >= b.x && r.y >= b.y && r.x + r.width <= b.x + b.width && r.y + r.height <= b.y + b.height;
  };
  for (int32_t mode : {2, 3, 4, 5}) {
    md11_nd_mode = mode;
    NdScene s{CANVAS_MD11_ND, hw_md11_nd_draw, 480, 516};
    s.draw();
    for (const GfxTextItem& t : s.rec().text_items()) {
      const GfxRecord& r = s.rec().records[t.record];
      // Unclipped and unturned; the heading box is x 106 to 134, y 5 to 20 of the canvas.
      EXPECT_TRUE(r.clip >= 0 || r.transform.m12 != 0 || inside(t.ink, {0, 0, 480, 516})) << t.text;
      EXPECT_TRUE(t.text != "358" || inside(t.ink, {212, 10, 56, 30})) << mode;
    }
  }
}
