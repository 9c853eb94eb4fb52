// Texts of the navigation displays against their boxes, measured in the recording: the
// texts drawn over the picture stay inside the image, the MD-11 heading readout inside
// its box and clear of "MAG", the MD-80 scale labels clear of the scale's ticks.
#include <gtest/gtest.h>

#include <cstdio>

#include "guidance/fms_state.h"
#include "nd_scene.h"

using namespace nd_test;

namespace {

constexpr double LAT = 47.0, LON = -122.0;

bool inside(const GfxRectF& r, double w, double h) {
  return r.x >= 0 && r.y >= 0 && r.x + r.width <= w && r.y + r.height <= h;
}

bool overlap(const GfxRectF& a, const GfxRectF& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// Image pixel `p` in the world units of record `r` (the inverse of its transform).
GfxPointF to_world(const GfxRecord& r, GfxPointF p) {
  const GfxMatrix& m = r.transform;
  double det = m.m11 * m.m22 - m.m12 * m.m21;
  double x = p.x - m.dx, y = p.y - m.dy;
  return {float((x * m.m22 - y * m.m21) / det), float((y * m.m11 - x * m.m12) / det)};
}

// Whether the line from p to q (image pixels) passes through a glyph of text record `t`.
bool crosses(GfxPointF p, GfxPointF q, const GfxRecord& t) {
  for (int i = 0; i <= 64; ++i) {
    GfxPointF w = to_world(t, {p.x + (q.x - p.x) * i / 64.0f, p.y + (q.y - p.y) * i / 64.0f});
    for (const GfxRectF& k : t.glyph_ink)
      if (w.x > k.x && w.x < k.x + k.width && w.y > k.y && w.y < k.y + k.height) return true;
  }
  return false;
}

GfxTextItem item(NdScene& s, const std::string& text) {
  for (const GfxTextItem& t : s.rec().text_items())
    if (t.text == text) return t;
  ADD_FAILURE() << "no text " << text;
  return {};
}

// Long values in every field, heading 350 (the widest readout).
void busy_flight() {
  place_aircraft(LAT, LON, 358);
  set_active_plan({"KAAA", "ALPHA", "BRAVO"}, 1, LAT, LON);
  dist_to_active_wpt = 1234.5;
  ground_speed = true_airspeed = 588;
  wind_direction = 270;
  wind_speed = 125;
}

struct Display {
  const char* name;
  DesignCanvas canvas;
  Dispatcher draw;
  int32_t* mode;
  std::vector<int32_t> modes;
};

}  // namespace

TEST(TextFit, TextsOverThePictureStayInsideTheImage) {
  busy_flight();
  b737_nd_range = md11_nd_range = md80_ehsi_range = 40;
  md11_nd_map_radius = 150;
  const Display displays[] = {{"B737", CANVAS_B737_ND, hw_b737_nd_draw, &b737_nd_mode, {1, 2, 3, 4, 5, 6, 7}},
                              {"MD-11", CANVAS_MD11_ND, hw_md11_nd_draw, &md11_nd_mode, {2, 3, 4, 5}},
                              {"MD-80", CANVAS_MD80_EHSI, md80_ehsi_draw, &md80_ehsi_mode, {0, 1, 2, 3}}};
  for (const Display& d : displays) {
    NdScene s{d.canvas, d.draw, int32_t(d.canvas.width * 2), int32_t(d.canvas.height * 2)};
    for (int32_t mode : d.modes) {
      *d.mode = mode;
      s.draw();
      for (const GfxTextItem& t : s.rec().text_items()) {
        const GfxRecord& r = s.rec().records[t.record];
        // The map's texts are cut by its clip; scale labels turn past the edges.
        if (r.clip >= 0 || r.transform.m12 != 0) continue;
        EXPECT_TRUE(inside(t.ink, s.image.width, s.image.height))
            << d.name << " mode " << mode << " \"" << t.text << "\" " << t.ink.x << "," << t.ink.y << " "
            << t.ink.width << "x" << t.ink.height;
      }
    }
  }
}

TEST(TextFit, Md11HeadingReadoutInsideItsBox) {
  busy_flight();
  NdScene s{CANVAS_MD11_ND, hw_md11_nd_draw, 480, 516};
  for (int32_t mode : {3, 4}) {
    md11_nd_mode = mode;
    s.draw();
    GfxTextItem hdg = item(s, "358"), mag = item(s, "MAG");
    // The box: x 120 +- 14, y 5 to 20 of the 240 x 258 canvas, twice the size here.
    GfxRectF box{2 * 106, 2 * 5, 2 * 28, 2 * 15};
    EXPECT_TRUE(inside({hdg.ink.x - box.x, hdg.ink.y - box.y, hdg.ink.width, hdg.ink.height}, box.width, box.height))
        << hdg.ink.x << " " << hdg.ink.width << " " << hdg.ink.y << " " << hdg.ink.height;
    EXPECT_FALSE(overlap(hdg.ink, mag.ink));
  }
}

TEST(TextFit, Md80ScaleLabelsClearOfTheTicks) {
  busy_flight();
  NdScene s{CANVAS_MD80_EHSI, md80_ehsi_draw, 399, 348};
  for (double hdg : {0.0, 10.0, 20.0, 45.0, 350.0}) {
    place_aircraft(LAT, LON, hdg);
    for (int32_t mode : {1, 3}) {
      md80_ehsi_mode = mode;
      s.draw();
      int32_t labels = 0;
      for (const GfxTextItem& t : s.rec().text_items()) {
        if (t.text.size() != 2 || t.font_size < 17) continue;  // the scale's "%02d" labels
        ++labels;
        for (const GfxRecord* l : s.rec().of(GfxOp::Line)) {
          if (l->pen_width != 2 || l->pen_argb != COLOUR_WHITE) continue;
          auto p = GfxRecording::device_points(*l);
          EXPECT_FALSE(crosses(p[0], p[1], s.rec().records[t.record])) << "heading " << hdg << " mode " << mode << " label " << t.text;
        }
      }
      EXPECT_GE(labels, 3) << hdg << " " << mode;
    }
  }
}
