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

// The side rule picks the turn of the course line's frame, and the labels' place along
// the frame's x axis with it: course - heading + 90 degrees ("left", the course label at
// -50) or - 90 ("right", at +25). Either way the course label lands on the course's side
// of the station and the reciprocal on the other; with the frame turned past 90 degrees
// the labels read upside down (course 030 at heading 0: up-right of the station).
TEST_F(C17VorCourse, CourseLabelSideByHeadingDifference) {
  struct Case {
    double course, hdg;
    bool left;        // the side rule's answer
    double rotation;  // degrees clockwise the labels' frame turns
    double bearing;   // of the course label from the station, up 0, clockwise
  } cases[] = {
      {30, 0, true, 120, 30},    // the B737's rule answers right
      {10, 350, true, 110, 20},
      {200, 0, false, 110, 200},
      {350, 10, false, 250, 340},
      {90, 90, false, 270, 0},   // equal angles
  };
  c17_mfd_mode = 3;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(int(c.course)) + "/" + std::to_string(int(c.hdg)));
    place_aircraft(47.4, -122.3, c.hdg);
    nav1_course = c.course;
    draw();
    char course[8], reciprocal[8];
    std::snprintf(course, sizeof course, "%03.0f", std::fmod(c.course, 360));
    std::snprintf(reciprocal, sizeof reciprocal, "%03.0f", std::fmod(c.course + 180, 360));
    const double ky = (482.0 / 241) / (482.0 / (492 + 482));
    EXPECT_NEAR(s.world(course).x, c.left ? -50 * ky : 25 * ky, 1e-3);
    EXPECT_NEAR(s.world(reciprocal).x, c.left ? 25 * ky : -50 * ky, 1e-3);
    EXPECT_EQ(s.text_colour(course), COLOUR_GREEN);

    const GfxRecord* line = course_line();
    ASSERT_NE(line, nullptr);
    const GfxPointF o = GfxRecording::to_device(*line, 0, 0), x = GfxRecording::to_device(*line, 1, 0);
    // On the image: the canvas's scales differ a little across and down.
    EXPECT_NEAR(std::remainder(std::atan2(x.y - o.y, x.x - o.x) * 180 / M_PI - c.rotation, 360.0), 0.0, 1.0);
    const GfxPointF station = s.design_of(*line, 0, 0);
    const auto bearing = [&](const char* text) {
      const GfxPointF p = s.text_at(text);
      return std::atan2(p.x - station.x, station.y - p.y) * 180 / M_PI;
    };
    // The labels' anchors sit 10 units below the axis: a few degrees off the course.
    EXPECT_NEAR(std::remainder(bearing(course) - c.bearing, 360.0), 0.0, 10.0);
    EXPECT_NEAR(std::remainder(bearing(reciprocal) - c.bearing - 180, 360.0), 0.0, 10.0);
  }
}

}  // namespace
