// The PFD as a pilot sees it, frame by frame: full against partial frames, the
// attitude sphere and cues, the tapes' drums, the heading display and the fields. The
// dispatcher draws into a recorded image of the canvas' size (pixels are design
// units); the module is attached to the simulated host for its simulator variables
// and the sampled values are set by hand as the update would leave them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "displays/attitude/fd_bars.h"
#include "displays/attitude/pfd.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"
#include "platform/host/sim_token_ids.h"

namespace {

std::map<int32_t, double> tokens;
simhost::SimHost* current_host = nullptr;

void read_token(TokenVar* var) {
  auto it = tokens.find(var->id);
  if (it != tokens.end()) var->value = it->second;
  else current_host->service_read_token(var);
}

struct Scene {
  simhost::SimHost host;
  PanelServiceTable services{};
  GaugeImage image{nullptr, 272, 314, 272 * 4, nullptr};
  GaugeSurface surface{};
  uintptr_t token = 0;

  Scene() {
    host.attach_module(&Linkage, &ImportTable);
    services = *ImportTable.panel_services;
    services.read_token_var = read_token;
    ImportTable.panel_services = &services;
    current_host = &host;
    tokens = {{TOK_FD_ACTIVE, 0}, {TOK_NAV1_FLAGS, 0}};
    token = gdiplus_start();
    gfx_recording_enable(&image);
    level_flight();
  }
  ~Scene() {
    gfx_recording_disable(&image);
    gdiplus_stop(token);
    ImportTable.panel_services = nullptr;
    current_host = nullptr;
  }
  // Level at 5000 ft and 150 kt heading north, every sample as its previous one,
  // no plan, the start settings.
  static void level_flight() {
    adi_token77 = adi_token80 = radio_altitude = nav1_course = nav_token40 = nav_token41 = nav_token41_prev = 0;
    indicated_airspeed = ap_airspeed = ap_airspeed_prev = ground_speed = ground_speed_copy = 150;
    indicated_altitude = indicated_altitude_prev = ap_altitude = ap_altitude_prev = 5000;
    vertical_speed = vertical_speed_prev = ap_vs_hold = ap_vs_hold_prev = dme1_distance = 0;
    heading = ap_heading = ap_heading_prev = wind_direction = 0;
    desired_track = desired_track_prev = dist_to_active_wpt = dist_to_active_wpt_prev = 0;
    token112 = token113 = nav_gps_switch = ap_airspeed_hold = ap_mach_hold = ap_vertical_speed = ap_token103 = 0;
    mach = 0.3;
    baro_hpa = baro_hpa_prev = 1013;
    radio_altitude = 3000;
    fpl_active_index = FPL_NO_PLAN;
    token106_int = lnav_on = 0;
    pfd_symbol_style = pfd_course_source_nav = 1;
    pfd_course_source_fms = pfd_bearing1_source = pfd_bearing2_source = pfd_hsi_arc_format = pfd_data_field = 0;
    pfd_et_field = 2;
  }
  // One frame: a full-redraw frame, or one that keeps the image.
  GfxRecording& frame(bool full = true) {
    hdg_change_timer = full ? 0 : 5;
    rec().clear();
    pfd_draw(&surface, &image, image.width, image.height);
    return rec();
  }
  GfxRecording& rec() { return *gfx_recording_of(&image); }

  // Whether text `t` was drawn with its top left within `tol` of (x, y).
  bool text_at(const std::string& t, double x, double y, double tol = 0.6) {
    for (const GfxTextItem& it : rec().text_items())
      if (it.text == t && std::fabs(it.device.x - x) <= tol && std::fabs(it.device.y - y) <= tol) return true;
    return false;
  }
  int texts(const std::string& t) {
    const std::vector<std::string> all = rec().texts();
    return int(std::count(all.begin(), all.end(), t));
  }
  // Records of kind `op` in colour `argb` whose first point lies within 0.6 of (x, y).
  int shapes_at(GfxOp op, uint32_t argb, double x, double y) {
    int n = 0;
    for (const GfxRecord* r : rec().of(op)) {
      const uint32_t c = op == GfxOp::FillPolygon || op == GfxOp::FillRect || op == GfxOp::FillEllipse ? r->brush_argb
                                                                                                     : r->pen_argb;
      if (c != argb || r->status != GFX_OK) continue;
      GfxPointF p = r->points.empty() ? GfxRecording::to_device(*r, r->args[0], r->args[1])
                                      : GfxRecording::device_points(*r)[0];
      n += std::fabs(p.x - x) <= 0.6 && std::fabs(p.y - y) <= 0.6;
    }
    return n;
  }
};

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

TEST(Pfd, APartialFrameInATurnDrawsTheHeadingDisplayOutsideOtherRenderersClips) {
  // Level (the dial skipped), the selected altitude in view (its marker drawn), turning:
  // the rose and the arc and their readouts are drawn under no clip but their own.
  for (int32_t arc : {0, 1}) {
    Scene s;
    pfd_hsi_arc_format = arc;
    s.frame(true);
    heading = 30;
    GfxRecording& r = s.frame(false);
    int checked = 0;
    for (const GfxRecord& e : r.records) {
      const bool readout = e.op == GfxOp::Text && e.text == "030";
      if (!readout && e.op != GfxOp::Ellipse) continue;
      const GfxPointF p = e.op == GfxOp::Text ? GfxRecording::to_device(e, e.args[0], e.args[1])
                                              : GfxRecording::to_device(e, e.args[0] + e.args[2] / 2, e.args[1]);
      if (p.y < 170) continue;  // above the heading display
      ++checked;
      if (e.clip < 0) continue;
      double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
      for (const auto& fig : r.records[e.clip].clip_device)
        for (const GfxPointF& q : fig) {
          x0 = std::min(x0, q.x), y0 = std::min(y0, q.y), x1 = std::max(x1, q.x), y1 = std::max(y1, q.y);
        }
      EXPECT_TRUE(p.x >= x0 - 1 && p.x <= x1 + 1 && p.y >= y0 - 1 && p.y <= y1 + 1)
          << "arc " << arc << ": drawn at " << p.x << ", " << p.y << " under a clip elsewhere";
    }
    EXPECT_GT(checked, 0) << arc;
    pfd_hsi_arc_format = 0;
  }
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

  struct Row { double pitch; uint32_t drawn, not_drawn; } rows[] = {{30, GROUND, SKY}, {-30, SKY, GROUND}};
  for (const Row& r : rows) {
    adi_token77 = r.pitch;
    s.frame();
    EXPECT_EQ(s.rec().count(GfxOp::FillRect, r.drawn), 1) << r.pitch;
    EXPECT_EQ(s.rec().count(GfxOp::FillRect, r.not_drawn), 0) << "a negative height draws nothing, " << r.pitch;
  }
}

TEST(Pfd, SymbolStyleChoosesTheCueAndItsStep) {
  Scene s;
  // Style, flight director, bank cue after one draw, chevron cues, cross bars.
  struct Row { int32_t style; double fd, bank_bar; int chevron_cues, cross_bars; } rows[] = {
      {1, 1, 0.33, 1, 0}, {2, 1, 0.33, 0, 2}, {3, 1, 0, 0, 0}, {1, 0, 0, 0, 0}};
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
  struct Row { double speed, altitude; const char* text; double x, y; } rows[] = {
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
  struct Row { double xtk; int32_t side; double bar_x; } rows[] = {{2, 1, 147}, {9, 2, 105}, {-99, 0, 135}};
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
  struct Row { const char* name; void (*set)(); const char* text; double x, y; } rows[] = {
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
      {"TTG without a DME speed", [] { pfd_data_field = 1, ground_speed = 100, dme2_distance = 0; }, "---", 175, 290},
      {"TTG", [] { pfd_data_field = 1, ground_speed = 100, dme2_distance = 120, dme1_distance = 30; }, " 15", 175, 290},
      {"ET in seconds", [] { pfd_et_field = 1, seconds_counter = 3725; }, "01:02", 180, 290},
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
