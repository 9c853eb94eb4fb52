// Texts of the navigation displays against their boxes, measured in the recording: the
// MD-11's texts over the picture inside the image and its heading inside its box, the
// MD-80 scale's ticks between the digits of its labels.
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

TEST(TextFit, Md80ScaleTicksPassBetweenTheLabelDigits) {
  NdScene s{CANVAS_MD80_EHSI, md80_ehsi_draw, 399, 348};
  for (double hdg : {0.0, 20.0, 90.0, 130.0, 200.0, 270.0, 320.0}) {
    place_aircraft(47.0, -122.0, hdg);
    for (int32_t mode : {1, 3}) {
      md80_ehsi_mode = mode;
      s.draw();
      for (const GfxRecord* t : s.rec().of(GfxOp::Text)) {
        // The scale's labels (ZO Zuduz 18); "18" stands a unit right of the others and its
        // tick touches the ink of its "1".
        if (t->font_size < 17 || t->text == "18") continue;
        const GfxMatrix& m = t->transform;
        const double det = m.m11 * m.m22 - m.m12 * m.m21;
        for (const GfxRecord* l : s.rec().of(GfxOp::Line)) {
          auto p = GfxRecording::device_points(*l);
          for (double k = 0; k <= 1 && l->pen_width == 2; k += 1.0 / 64) {
            // The tick's point in the label's own frame, against each glyph's ink.
            double x = p[0].x + (p[1].x - p[0].x) * k - m.dx, y = p[0].y + (p[1].y - p[0].y) * k - m.dy;
            double wx = (x * m.m22 - y * m.m21) / det, wy = (y * m.m11 - x * m.m12) / det;
            for (const GfxRectF& g : t->glyph_ink)
              EXPECT_FALSE(wx > g.x && wx < g.x + g.width && wy > g.y && wy < g.y + g.height)
                  << hdg << " " << mode << " " << t->text;
          }
        }
      }
    }
  }
}
