// B737 ND dispatcher: blanking, background, clip, geometry and the layers of each
// mode, range and draw mode.
#include <gtest/gtest.h>

#include "guidance/settings.h"
#include "navdb/navdb.h"
#include "nd_scene.h"

using namespace nd_test;

namespace {

using Layers = std::vector<std::string>;

struct B737Frame : ::testing::Test {
  NdScene s{CANVAS_B737_ND, hw_b737_nd_draw};
  void SetUp() override {
    place_aircraft(47.4, -122.3, 180);
    b737_nd_range = 40;
    nd_apt_on = nd_nav_on = nd_int_on = 1;
    atc_bdry_on = 1;
    atc_boundaries_loaded = 1;  // no boundary file in these tests
  }
};

TEST_F(B737Frame, ClearsOnlyWithoutPowerOrInDrawMode2) {
  b737_nd_mode = 5;
  display_power = 0;
  s.draw(1);
  EXPECT_TRUE(s.rec().cleared_transparent());
  EXPECT_EQ(s.rec().primitive_count(), 0);
  EXPECT_TRUE(layers.empty());

  display_power = 1;
  s.draw(2);
  EXPECT_TRUE(s.rec().cleared_transparent());
  EXPECT_EQ(s.rec().primitive_count(), 0);
  EXPECT_TRUE(layers.empty());

  s.draw(3);
  EXPECT_FALSE(s.rec().cleared_transparent());
  EXPECT_FALSE(layers.empty());
}

TEST_F(B737Frame, BackgroundFromTheSettingsLowBytes) {
  b737_nd_mode = 1;
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::FillRect, 0xFF000000), 1);
  HWB737NDBkgrdColorRed = 255 + 256;
  HWB737NDBkgrdColorGreen = 0;
  HWB737NDBkgrdColorBlue = 0;
  s.draw();
  auto fills = s.rec().of(GfxOp::FillRect);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.front()->brush_argb, 0xFFFF0000u);
  EXPECT_EQ(fills.front()->args, (std::vector<double>{0, 0, 244, 302}));
}

TEST_F(B737Frame, ClipCutsTheTopByACircleAndIsRemovedForTheText) {
  b737_nd_mode = 1;
  s.draw();
  auto clips = s.rec().of(GfxOp::SetClip);
  ASSERT_EQ(clips.size(), 1u);
  // Every outline point lies on or below the circle of radius 175 about (123, 207).
  bool on_arc = false;
  for (const auto& fig : clips[0]->clip_device)
    for (GfxPointF p : fig) {
      GfxPointF d = s.design(p);
      double r = std::hypot(d.x - 123, d.y - 207);
      if (d.y < 79) {
        EXPECT_NEAR(r, 175, 1.5);
      }
      if (std::fabs(d.x - 123) < 5 && d.y < 40) on_arc = true;
    }
  EXPECT_TRUE(on_arc);
  // The rose is drawn through the clip; the texts of the overlay without it.
  bool rose_clipped = false;
  for (const GfxRecord& r : s.rec().records)
    if (r.op == GfxOp::Line && r.clip >= 0) rose_clipped = true;
  EXPECT_TRUE(rose_clipped);
  for (const GfxTextItem& t : s.rec().text_items())
    if (t.text == "HDG") {
      EXPECT_EQ(s.rec().records[t.record].clip, -1);
    }
}

TEST_F(B737Frame, RoseModesAndArcModesCallNoMapLayer) {
  for (int32_t mode : {1, 2}) {
    b737_nd_mode = mode;
    s.draw();
    EXPECT_EQ(layers, (Layers{"compass", "text"})) << mode;
  }
  for (int32_t mode : {3, 4}) {
    b737_nd_mode = mode;
    s.draw();
    EXPECT_EQ(layers, (Layers{"arc", "text"})) << mode;
  }
}

TEST_F(B737Frame, MapModeOrderWithEveryGateOpen) {
  b737_nd_mode = 5;
  b737_nd_range = 2.5;
  loaded_rwy_count = 1;
  fpl_set_text(fix_info[1].ident, "SEA");
  fpl_changed_state = 4;
  hold_list[1].active_wpt = 2;
  ap_token103 = 1;
  ap_vertical_speed = 1;
  indicated_altitude = 9000;
  ap_altitude = 5000;
  vertical_speed = -1500;
  token_values[TOK_NAV1_SIGNAL] = 1;
  dme1_distance = 12;
  s.draw();
  EXPECT_EQ(layers, (Layers{"boundaries", "runways", "route", "fix_info", "vor_course", "navaids", "airports",
                            "fixes", "hold", "mod_route", "trend_vector", "altitude_arc", "arc", "text"}));
  EXPECT_EQ(b737_nd_map_radius, 215);
  EXPECT_EQ(b737_nd_center_y, 249);

  // Draw mode 3 leaves out the boundaries and the intersections.
  s.draw(3);
  EXPECT_EQ(layers, (Layers{"runways", "route", "fix_info", "vor_course", "navaids", "airports", "hold", "mod_route",
                            "trend_vector", "altitude_arc", "arc", "text"}));

  // A localizer is no VOR course.
  token_values[TOK_NAV1_FLAGS] = 0x80;
  s.draw();
  EXPECT_EQ(std::count(layers.begin(), layers.end(), "vor_course"), 0);
}

TEST_F(B737Frame, PlanModeDrawsOnlyTheUngatedAndSwitchedLayers) {
  b737_nd_mode = 7;
  b737_nd_range = 2.5;
  loaded_rwy_count = 1;
  fpl_changed_state = 2;
  hold_list[1].active_wpt = 2;
  token_values[TOK_NAV1_SIGNAL] = 1;
  dme1_distance = 12;
  s.draw();
  EXPECT_EQ(layers, (Layers{"route", "navaids", "airports", "fixes", "mod_route", "arc", "text"}));
  EXPECT_EQ(b737_nd_map_radius, 110);
  EXPECT_EQ(b737_nd_center_y, 171);
}

TEST_F(B737Frame, RangeGatesOfAirportsNavaidsAndIntersections) {
  b737_nd_mode = 6;
  fpl_changed_state = 3;
  b737_nd_range = 160;
  s.draw();
  EXPECT_EQ(layers, (Layers{"boundaries", "route", "navaids", "airports", "trend_vector", "arc", "text"}));
  b737_nd_range = 320;
  s.draw();
  EXPECT_EQ(layers, (Layers{"boundaries", "route", "trend_vector", "arc", "text"}));
  b737_nd_range = 40;
  nd_apt_on = 0;
  s.draw();
  EXPECT_EQ(layers, (Layers{"boundaries", "route", "navaids", "fixes", "trend_vector", "arc", "text"}));
  EXPECT_EQ(b737_nd_map_radius, 110);
}

TEST_F(B737Frame, NullDeviceContextDoesNothing) {
  b737_nd_mode = 5;
  s.rec().clear();
  hw_b737_nd_draw(&s.surface, nullptr, 244, 302, 1);
  EXPECT_TRUE(s.rec().records.empty());
}

TEST_F(B737Frame, GaugeEntryPointScalesTheCanvasToItsImage) {
  b737_nd_mode = 1;
  GaugeImage big{nullptr, 488, 604, 488 * 4, nullptr};
  gfx_recording_enable(&big);
  hw_b737_nd_draw_gauge(nullptr, &big, 488, 604, 1);
  bool found = false;
  for (const GfxTextItem& t : gfx_recording_of(&big)->text_items())
    if (t.text == "HDG") {
      found = true;
      EXPECT_NEAR(t.device.x, 166, 0.01);
      EXPECT_NEAR(t.device.y, 66, 0.01);
    }
  EXPECT_TRUE(found);
  gfx_recording_disable(&big);
}

}  // namespace
