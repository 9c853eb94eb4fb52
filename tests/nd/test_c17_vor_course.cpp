// The C-17 MFD twin of the NAV 1 station and course line: its own canvas, mode, range,
// line colour and side rule.
#include <gtest/gtest.h>

#include "nd_scene.h"

using namespace nd_test;

namespace {

void no_dispatcher(GaugeSurface*, DeviceContext, int32_t, int32_t, int32_t) {}

struct C17VorCourse : ::testing::Test {
  // Twice the design size, so that a slip of the canvas shows in design units.
  NdScene s{CANVAS_C17_MFD, no_dispatcher, 492, 482};
  void SetUp() override {
    place_aircraft(47.4, -122.3, 0);
    b737_nd_map_radius = 215;
    c17_mfd_range = 40;
    dme1_distance = 20;
    nav_rel_bearing = 0;
  }
  void draw() {
    s.rec().clear();
    s.surface = {492, 482};
    GfxGraphics* g = nullptr;
    ASSERT_EQ(gfx_create(&s.image, &g), GFX_OK);
    c17_mfd_vor_course_draw(&s.surface, g);
    gfx_delete(g);
  }
  const GfxRecord* course_line() {
    for (const GfxRecord* r : s.rec().of(GfxOp::Line))
      if (r->pen_argb == COLOUR_GREEN) return r;
    return nullptr;
  }
};

TEST_F(C17VorCourse, StationOnItsOwnCanvasAtItsOwnRange) {
  struct Case {
    int32_t mode;
    double range;
    double station_y;  // design units of the 246 x 241 canvas
  } cases[] = {
      {3, 40, 249 - 107.5},  // 20 NM at 40 NM: half the radius ahead of the arc origin
      {5, 80, 249 - 53.75},
      {6, 40, 171 - 107.5},  // the centred origin
  };
  b737_nd_range = 10;  // the B737's own range plays no part
  b737_nd_mode = 6;
  for (const Case& c : cases) {
    c17_mfd_mode = c.mode;
    c17_mfd_range = c.range;
    draw();
    const GfxRecord* line = course_line();
    ASSERT_NE(line, nullptr) << c.mode;
    EXPECT_EQ(line->pen_dash, GFX_DASH_DASH);
    EXPECT_TRUE(near(s.design_of(*line, 0, 0), 122, c.station_y, 1.5))
        << c.mode << ": " << s.design_of(*line, 0, 0).x << "," << s.design_of(*line, 0, 0).y;
    EXPECT_DOUBLE_EQ(map_px_per_nm, 215 / c.range);
    EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_LIGHT_GREEN), 0) << "the B737's colour";
  }
  c17_mfd_range = 0;  // no range: nothing drawn, no scale from a division by zero
  draw();
  EXPECT_EQ(course_line(), nullptr);
  EXPECT_DOUBLE_EQ(map_px_per_nm, 215 / 40.0);
}

TEST_F(C17VorCourse, CourseLabelSideByHeadingDifference) {
  struct Case {
    double course, hdg;
    bool course_left;  // the course label left of the station, its reciprocal right
  } cases[] = {
      {30, 0, true},     // the B737's rule puts this one right
      {10, 350, true},
      {200, 0, false},
      {350, 10, false},
      {90, 90, false},   // equal angles
  };
  c17_mfd_mode = 3;
  for (const Case& c : cases) {
    place_aircraft(47.4, -122.3, c.hdg);
    nav1_course = c.course;
    draw();
    char course[8], reciprocal[8];
    std::snprintf(course, sizeof course, "%03.0f", std::fmod(c.course, 360));
    std::snprintf(reciprocal, sizeof reciprocal, "%03.0f", std::fmod(c.course + 180, 360));
    const double ky = (482.0 / 241) / (482.0 / (492 + 482));
    EXPECT_NEAR(s.world(course).x, c.course_left ? -50 * ky : 25 * ky, 1e-3) << c.course << "/" << c.hdg;
    EXPECT_NEAR(s.world(reciprocal).x, c.course_left ? 25 * ky : -50 * ky, 1e-3) << c.course << "/" << c.hdg;
    EXPECT_EQ(s.text_colour(course), COLOUR_GREEN);
  }
}

}  // namespace
