// B737 ND compass rose, heading arc and NAV 1 course line.
#include <gtest/gtest.h>

#include "flightplan/route_progress.h"
#include "nd_scene.h"

using namespace nd_test;

namespace {

struct B737Compass : ::testing::Test {
  NdScene s{CANVAS_B737_ND, hw_b737_nd_draw};
  void SetUp() override {
    place_aircraft(47.4, -122.3, 0);
    b737_nd_range = 40;
    fpl_active_index = FPL_NO_PLAN;
  }
  // The magenta deviation bar's left edge in its course frame.
  int32_t bar_left() {
    for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
      if (r->pen_argb == COLOUR_MAGENTA && r->points.size() == 5 && r->points[0].x != 235) return r->points[0].x;
    return -999;
  }
  bool has_triangle(int32_t tip_y) {
    for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
      if (r->pen_argb == COLOUR_WHITE && r->points.size() == 4 && r->points[0].y == tip_y) return true;
    return false;
  }
};

TEST_F(B737Compass, RoseLabelsEveryThirtyDegreesWithTwentySevenOffset) {
  b737_nd_mode = 1;
  s.draw();
  std::vector<std::string> labels;
  for (const GfxTextItem& t : s.rec().text_items()) {
    if (t.font_size != 12 || t.world.y != -60) continue;
    labels.push_back(t.text);
    EXPECT_EQ(t.world.x, t.text == "27" ? -7 : -8) << t.text;
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"0", "3", "6", "9", "12", "15", "18", "21", "24", "27", "30", "33"}));
  EXPECT_TRUE(near(s.text_at("0"), 114, 91));
  EXPECT_TRUE(near(s.text_at("9"), 182, 143));
}

TEST_F(B737Compass, CrossTrackBeyondFiveMilesPinsTheBar) {
  b737_nd_mode = 3;
  fpl_active_index = 1;
  xtk_nm = 7;
  xtk_side = 2;
  s.draw();
  EXPECT_EQ(bar_left(), 37 - 3);
  xtk_side = 1;
  s.draw();
  EXPECT_EQ(bar_left(), -37 - 3);
  fpl_active_index = FPL_NO_PLAN;  // no active waypoint: centred
  s.draw();
  EXPECT_EQ(bar_left(), -3);
}

TEST_F(B737Compass, CentredMapRoseHasNoFiveDegreeMarks) {
  b737_nd_mode = 6;
  s.draw();
  int32_t ticks = 0, half = 0;
  for (const GfxRecord* r : s.rec().of(GfxOp::Line)) {
    if (r->pen_argb == COLOUR_WHITE && r->args[1] == -90 && r->args[3] == -100) ++ticks;
    if (r->args[1] == -212) ++half;
  }
  EXPECT_EQ(ticks, 24);
  EXPECT_EQ(half, 0);
  EXPECT_TRUE(s.has(" 20"));  // half range, with its decimals below 10 NM
  for (double range : {5.0, 2.5, 1.0, 0.5}) {
    b737_nd_range = range;
    s.draw();
    EXPECT_TRUE(s.has(range == 5 ? "2.5" : range == 2.5 ? "1.25" : range == 1 ? "0.5" : "0.25")) << range;
  }
}

TEST_F(B737Compass, VorModeWithoutSignalKeepsOnlyTheAdfPointer) {
  b737_nd_mode = 2;
  nd_vor_adf_on = 1;
  adf1_bearing = 10;
  nav_token39 = -30;
  s.draw();
  EXPECT_EQ(bar_left(), -999);
  EXPECT_FALSE(has_triangle(-18));
  EXPECT_FALSE(has_triangle(18));
  EXPECT_EQ(s.rec().count(GfxOp::Lines, COLOUR_LIGHT_GREEN), 0);
  EXPECT_EQ(s.rec().count(GfxOp::FillPolygon, COLOUR_BLUE), 1);
  token_values[TOK_NAV1_SIGNAL] = 1;
  s.draw();
  EXPECT_NE(bar_left(), -999);
  EXPECT_EQ(s.rec().count(GfxOp::Lines, COLOUR_LIGHT_GREEN), 2);
}

TEST_F(B737Compass, ToFromUsesTheSmallestAngleAndNinetyIsFrom) {
  b737_nd_mode = 2;
  token_values[TOK_NAV1_SIGNAL] = 1;
  heading = 0;
  nav1_course = 5;
  nav_rel_bearing = 355;  // station at 355: ten degrees from the course
  s.draw();
  EXPECT_TRUE(has_triangle(-18));
  nav1_course = 85;
  nav_rel_bearing = 355;  // exactly 90
  s.draw();
  EXPECT_TRUE(has_triangle(18));
  b737_nd_mode = 4;
  nav1_course = 10;
  s.draw();
  EXPECT_TRUE(near(s.text_at("TO"), 192, 254));
  EXPECT_EQ(s.text_colour("TO"), COLOUR_GREEN);
  nav1_course = 265;
  s.draw();
  EXPECT_TRUE(s.has("FROM"));
}

TEST_F(B737Compass, PlanModeArcHasNoAircraftOrCourse) {
  b737_nd_mode = 7;
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse, COLOUR_WHITE), 1);
  auto e = s.rec().of(GfxOp::Ellipse);
  EXPECT_EQ(e[0]->args, (std::vector<double>{-217, -217, 434, 434}));
  EXPECT_EQ(bar_left(), -999);
  EXPECT_FALSE(s.has(" 20"));
  // Heading 0: marks within 55 degrees, 55 and 305 themselves left out.
  int32_t marks = 0;
  for (const GfxRecord* r : s.rec().of(GfxOp::Line))
    if (r->args[3] == -217) ++marks;
  EXPECT_EQ(marks, 21);
}

TEST_F(B737Compass, VorCourseLineThroughTheStationWithCourseAndReciprocal) {
  b737_nd_mode = 5;
  token_values[TOK_NAV1_SIGNAL] = 1;
  dme1_distance = 20;
  nav_rel_bearing = 0;
  nav1_course = 30;
  s.draw();
  EXPECT_TRUE(s.has("030"));
  EXPECT_TRUE(s.has("210"));
  EXPECT_EQ(s.text_colour("030"), COLOUR_GREEN);
  // The station 20 NM ahead at 40 NM range: half the radius above the aircraft.
  bool station = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
    if (r->pen_argb == COLOUR_GREEN || r->pen_argb == COLOUR_BLUE || r->pen_argb == COLOUR_WHITE) {
      GfxPointF p = s.design(GfxRecording::device_points(*r)[0]);
      if (std::fabs(p.x - 122) < 10 && std::fabs(p.y - (249 - 107.5)) < 10) station = true;
    }
  EXPECT_TRUE(station);
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_LIGHT_GREEN), 1);

  // The plan variant, which the display never asks for, is north up about the active
  // waypoint: with the aircraft at the waypoint heading east, the station 20 NM ahead
  // lies 20 NM east of the centre (radius 110 at 40 NM), its course line turned by the
  // course alone.
  place_aircraft(47.0, -122.0, 90);
  set_active_plan({"AAA", "BBB"}, 0, 47.0, -122.0);
  b737_nd_mode = 7;
  b737_nd_map_radius = 110;
  s.surface = {244, 302};
  s.rec().clear();
  GfxGraphics* g = nullptr;
  ASSERT_EQ(gfx_create(&s.image, &g), GFX_OK);
  b737_nd_vor_course_draw(&s.surface, g);
  gfx_delete(g);
  const GfxRecord* line = s.rec().of(GfxOp::Line).at(0);
  GfxPointF centre = s.design_of(*line, 0, 0);
  EXPECT_TRUE(near(centre, 122 + 55, 171, 1.5)) << centre.x << "," << centre.y;
  GfxPointF end = s.design_of(*line, line->args[2], line->args[3]);
  double angle = std::atan2(end.y - centre.y, end.x - centre.x) * 180 / M_PI;
  // Across the course (heading 90 would turn it by a further 90); the aspect of the
  // frame bends design angles by a few degrees.
  double across = std::fmod(angle - (30 - 90) + 720 + 90, 180) - 90;
  EXPECT_NEAR(across, 0, 8.0) << angle;
}

}  // namespace
