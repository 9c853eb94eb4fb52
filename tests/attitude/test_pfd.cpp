// The PFD as a pilot sees it, frame by frame: full against partial frames, the
// attitude sphere and cues, the tapes' drums, the heading display and the fields.
#include <cstring>

#include "displays/attitude/fd_bars.h"
#include "flightplan/route_progress.h"
#include "guidance/lnav_vnav_state.h"
#include "tests/attitude/pfd_scene.h"

namespace {

using pfd_test::Scene;
using pfd_test::tokens;

constexpr uint32_t SKY = 0xFF02A7EB, GROUND = 0xFF946239;

TEST(Pfd, PartialFramesRedrawOnlyWhatChanged) {
  Scene s;
  GaugeSurface untouched{7, 7};
  hdg_change_timer = 5;
  pfd_draw(&untouched, nullptr, 272, 314);
  EXPECT_EQ(untouched.width, 7);
  EXPECT_EQ(hdg_change_timer, 5);

  s.frame(true);
  EXPECT_TRUE(s.rec().cleared_transparent());
  for (const char* t : {"CRS", "GSPD", "IN", "HDG"}) EXPECT_EQ(s.texts(t), 1) << t;
  EXPECT_TRUE(s.text_at("0", 205, 240)) << "vertical-speed labels";

  token106_int = 1;  // a new mode waits for the next full frame
  s.frame(false);
  EXPECT_FALSE(s.rec().cleared_transparent());
  EXPECT_EQ(s.texts("CRS") + s.texts("HDG"), 0);
  EXPECT_FALSE(s.text_at("0", 205, 240));
  EXPECT_EQ(s.shapes_at(GfxOp::Ellipse, COLOUR_WHITE, 218, 190), 0) << "the dial is not drawn";
  EXPECT_EQ(s.shapes_at(GfxOp::FillRect, COLOUR_BLACK, 220, 7), 0);

  vertical_speed = 800;
  ap_altitude = 5500;
  s.frame(false);
  EXPECT_EQ(s.shapes_at(GfxOp::FillEllipse, COLOUR_BLACK, 216, 188), 1) << "the dial erased and redrawn";
  EXPECT_TRUE(s.text_at("800 ", 229, 241));
  EXPECT_EQ(s.shapes_at(GfxOp::FillRect, COLOUR_BLACK, 220, 7), 1);
  EXPECT_TRUE(s.text_at(" 5500", 220, 7));
  EXPECT_EQ(hdg_change_timer, 999) << "the next frame is a full one";
}

TEST(Pfd, AttitudeSphereLadderAndGlideslope) {
  Scene s;
  s.frame();
  EXPECT_EQ(s.texts("10"), 4) << "10-degree lines above and below, labels both sides";
  EXPECT_TRUE(s.text_at("10", 152, 54) && s.text_at("10", 99, 104));
  const int white_shapes = s.rec().count(GfxOp::FillPolygon, COLOUR_WHITE);
  adi_token80 = 62;
  radio_altitude = 2499;
  nav_token41 = 127;
  s.frame();
  EXPECT_EQ(s.rec().count(GfxOp::FillPolygon, COLOUR_WHITE), white_shapes - 1) << "no bank pointer beyond 61";
  EXPECT_EQ(s.texts("2499"), 1);
  EXPECT_EQ(s.shapes_at(GfxOp::FillPolygon, COLOUR_LIGHT_GREEN, 194, 114), 1) << "GS 127 at g = 28";
  radio_altitude = 2500;
  s.frame();
  EXPECT_EQ(s.texts("2500"), 0);

  struct Row {
    double pitch;
    uint32_t drawn, not_drawn;
  } rows[] = {{30, GROUND, SKY}, {-30, SKY, GROUND}};
  for (const Row& r : rows) {
    adi_token77 = r.pitch;
    s.frame();
    EXPECT_EQ(s.rec().count(GfxOp::FillRect, r.drawn), 1) << r.pitch;
    EXPECT_EQ(s.rec().count(GfxOp::FillRect, r.not_drawn), 0) << "a negative height draws nothing, " << r.pitch;
  }
}

TEST(Pfd, SymbolStyleChoosesTheCueAndItsStep) {
  Scene s;
  struct Row {
    int32_t style;
    double fd;
    double bank_bar;
    int chevron_cues, cross_bars;
  } rows[] = {
      {1, 1, 0.33, 1, 0},
      {2, 1, 0.33, 0, 2},
      {3, 1, 0, 0, 0},
      {1, 0, 0, 0, 0},
  };
  for (const Row& r : rows) {
    pfd_symbol_style = r.style;
    tokens[TOK_FD_ACTIVE] = r.fd;
    adi_token793 = -10;
    fd_bank_bar = fd_pitch_bar = 0;
    s.frame();
    EXPECT_DOUBLE_EQ(fd_bank_bar, r.bank_bar) << r.style;
    EXPECT_EQ(s.rec().count(GfxOp::FillPolygon, 0xFFE992E7), r.chevron_cues) << r.style;
    EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_MAGENTA), r.cross_bars) << r.style;
  }
}

TEST(Pfd, SpeedAndAltitudeDrums) {
  Scene s;
  struct Row {
    double speed, altitude;
    const char* text;
    double x, y;
  } rows[] = {
      {85.3, 5000, "5", 20, 91},  {85.3, 5000, "8", 11, 88},   {99.7, 5000, "9", 11, 95},
      {99.7, 5000, "0", 1, 95},   {0, 5000, "20", 1, 59.5},    {0, 5000, "80", 1, -29},
      {150, 1234, " 1500", 227, 57.5}, {150, 1234, " 1000", 226, 118.5}, {150, 1234, "20", 248, 96},
      {150, 1285, "2", 238, 89},  {150, 1285, "1", 231, 87},   {150, 9990, "0", 224, 92},
      {150, 9990, "9", 231, 92},
  };
  for (const Row& r : rows) {
    indicated_airspeed = r.speed;
    indicated_altitude = indicated_altitude_prev = ap_altitude = ap_altitude_prev = r.altitude;
    s.frame();
    EXPECT_TRUE(s.text_at(r.text, r.x, r.y)) << r.speed << " kt, " << r.altitude << " ft: " << r.text;
  }
  indicated_airspeed = 0;
  indicated_altitude = indicated_altitude_prev = -50;
  vertical_speed = 12000;
  s.frame();
  for (const std::string& t : s.rec().texts())
    EXPECT_TRUE(t.find('-') == std::string::npos || t == "-15") << "no tape label below 0: " << t;
  EXPECT_EQ(s.texts("9900"), 1);
  vertical_speed = -450;
  s.frame();
  EXPECT_EQ(s.texts("-450"), 0);

  indicated_airspeed = 150;
  for (double selected : {219.0, 220.0}) {
    ap_airspeed = ap_airspeed_prev = selected;
    s.frame();
    EXPECT_EQ(s.shapes_at(GfxOp::FillPolygon, COLOUR_BLUE, 36, -17), selected < 220) << selected;
  }
}

TEST(Pfd, HeadingDisplayCourseAndBearingPointers) {
  Scene s;
  heading = 90;
  s.frame();
  EXPECT_TRUE(s.text_at("E", 130, 200) && s.text_at("N", 88, 250));

  pfd_course_source_nav = 0;
  pfd_course_source_fms = 1;
  pfd_bearing1_source = 4;
  desired_track = 200;
  s.frame();
  EXPECT_EQ(s.shapes_at(GfxOp::FillPolygon, COLOUR_MAGENTA, 134, 211), 1) << "no plan: pointer unrotated";
  EXPECT_EQ(s.shapes_at(GfxOp::FillPolygon, COLOUR_MAGENTA, 135, 234), 1) << "no plan: no deviation";
  EXPECT_EQ(s.shapes_at(GfxOp::FillEllipse, COLOUR_BLUE, 130, 222), 1) << "source 4 points straight up";

  // The FMS deviation is the active leg's cross-track distance, at most 5 nm.
  fpl_active_index = 1;
  fpl_active_last = 2;
  heading = desired_track = 0;
  struct Row {
    double xtk;
    int32_t side;
    double bar_x;
  } rows[] = {{2, 1, 147}, {9, 2, 105}, {-99, 0, 135}};
  for (const Row& r : rows) {
    xtk_nm = r.xtk;
    xtk_side = r.side;
    s.frame();
    EXPECT_EQ(s.shapes_at(GfxOp::FillPolygon, COLOUR_MAGENTA, r.bar_x, 234), 1) << r.xtk;
  }

  // Arc format: on the first leg the desired track stands for the course.
  pfd_hsi_arc_format = 1;
  fpl_active_index = 0;
  heading = 90;
  desired_track = 120;
  s.frame();
  EXPECT_TRUE(s.text_at("090", 122, 167));
  EXPECT_EQ(s.shapes_at(GfxOp::FillPolygon, COLOUR_MAGENTA, 176, 217.25), 1);
  fpl_active_index = FPL_NO_PLAN;
  pfd_hsi_arc_format = 2;
  s.frame();
  EXPECT_FALSE(s.rec().has_text("E")) << "no heading display";
}

TEST(Pfd, ModesAndDataFields) {
  Scene s;
  struct Row {
    const char* name;
    void (*set)();
    const char* text;
    double x, y;
  } rows[] = {
      {"HDG and LOC read LOC", [] { token106_int = 1, token112 = 1, tokens[TOK_NAV1_FLAGS] = 0x80; }, "LOC", 105, 0},
      {"Mach below 1", [] { mach = 0.785; }, ".785", 3, 165},
      {"Mach from 1", [] { mach = 1.02; }, "1.020", 3, 165},
      {"Mach below 50 kt", [] { ground_speed = 40; }, ".---", 3, 165},
      {"DME 7.4", [] { dme1_distance = 7.4; }, "7", 193, 185},
      {"DME 123", [] { dme1_distance = 123; }, "123", 182, 185},
      {"metres", [] { indicated_altitude = 10000; }, "3048", 228, 175},
      {"wind 0.4", [] { wind_direction = 0.4; }, "360", 40, 290},
      {"GS 4", [] { ground_speed = 4; }, "---", 182, 290},
      {"GS past the table", [] { ground_speed = 123456; }, "123456", 164, 290},
      {"TTG without a DME speed", [] { pfd_data_field = 1, ground_speed = 100, dme_speed = 0; }, "---", 175, 290},
      {"TTG", [] { pfd_data_field = 1, ground_speed = 100, dme_speed = 120, dme1_distance = 30; }, " 15", 175, 290},
      {"ET in seconds", [] { pfd_et_field = 1, pfd_elapsed_count = 3725; }, "01:02", 180, 290},
  };
  for (const Row& r : rows) {
    Scene::level_flight();
    tokens[TOK_NAV1_FLAGS] = 0;
    r.set();
    s.frame();
    EXPECT_TRUE(s.text_at(r.text, r.x, r.y)) << r.name;
  }
  EXPECT_EQ(s.texts("HDG"), 1) << "only the heading label";
}

}  // namespace
