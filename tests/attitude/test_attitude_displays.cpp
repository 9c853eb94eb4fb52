// The three attitude displays as a pilot sees them: power and draw mode, attitude,
// tapes and drums, take-off speeds, annunciations, flashing and the mended faults.
#include "attitude_scene.h"

using namespace attitude_test;

namespace {

struct Attitude : ::testing::Test {
  Scene s;
  void SetUp() override {
    adi_token77 = adi_token80 = adi_token793 = adi_token794 = 0;
    fd_bank_bar = fd_pitch_bar = 0;
    indicated_airspeed = 250, indicated_altitude = 5000, vertical_speed = 0, radio_altitude = 3000;
    ground_speed = 250, drift_angle = 0, heading = 90, ap_heading = 90, ground_track = 90;
    ap_airspeed = 250, ap_altitude = 5000, ap_vs_hold = 0, mach = 0.3, baro_hpa = 1020, fms_frame = 0;
    ap_token103 = 0, ap_vertical_speed = 0, token106_int = 0, token112 = 0, token114 = 0, nav_gps_switch = 0;
    ap_airspeed_hold = 0, ap_mach_hold = 0, autothrottle_arm = 0, lnav_on = 0, vnav_on = 0;
    EadiDualCue = 0, EADIHdgTape = 0, ExpandEADI = 0, DispFPV = 0, VnavSetSpd = 1;
    V1 = VR = V2 = VREF = 0;
    nav1_course = 0;
    s.ac().altitude_ft = 5000;
  }
};

}  // namespace

TEST_F(Attitude, UnpoweredOrDrawMode2BlanksTheEfsAndB777ButTheA320DrawsInMode2) {
  const struct {
    const Display& d;
    bool draws_in_mode_2;
  } rows[] = {{EFS50, false}, {A320, true}, {B777, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.d.name);
    display_power = 0;
    EXPECT_EQ(s.draw(r.d).primitive_count(), 0);
    EXPECT_EQ(s.rec().count(GfxOp::Clear), 1);
    display_power = 1;
    EXPECT_EQ(s.draw(r.d, 2).primitive_count() > 0, r.draws_in_mode_2);
    EXPECT_GT(s.draw(r.d, 3).primitive_count(), 100);
  }
}

TEST_F(Attitude, LaddersMoveWithPitchAndTurnWithBank) {
  // EFS 50: the ladder moves 3 units a degree, the horizon 3.8; labels 30 and -55 across.
  adi_token77 = 10;  // nose down 10: the horizon moves up
  s.draw(EFS50);
  ASSERT_EQ(s.at(EFS50, "10").size(), 4u);
  EXPECT_TRUE(s.shown_at(EFS50, "10", 30, -30 - 30 - 8, 1) && s.shown_at(EFS50, "10", -55, -8, 1));
  auto sky = s.rec().of(GfxOp::FillPolygon)[0];
  GfxPointF horizon = s.rec().to_design(GfxRecording::device_points(*sky)[2], 266, 230);
  EXPECT_NEAR(horizon.y - 114, -38, 0.2);
  // B777 at pitch 0: "10" twice at 30 above and twice at 30 below; bank 30 turns them.
  adi_token77 = 0;
  heading = 0;  // no "10" on the heading arc
  s.draw(B777);
  auto tens = s.at(B777, "10");
  ASSERT_EQ(tens.size(), 4u);
  EXPECT_TRUE(near(tens[0], 32, -35) && near(tens[1], -45, -35) && near(tens[2], 32, 25) && near(tens[3], -45, 25));
  adi_token80 = 30;
  s.draw(B777);
  const double r = std::hypot(32, -35), a = std::atan2(-35, 32) + M_PI / 6;
  EXPECT_TRUE(near(s.at(B777, "10")[0], r * std::cos(a), r * std::sin(a)));
}

TEST_F(Attitude, SpeedTapesAndRollingDigits) {
  // A320 at 20 kt: scaled as if at 30, no marks below 40.
  indicated_airspeed = 20;
  s.draw(A320);
  EXPECT_TRUE(s.has("040") && s.has("060"));
  EXPECT_FALSE(s.has("020") || s.has("000"));
  // B777 at 123.45 kt: hundreds 1, tens 2, the units drum 5 4 3 2 1 downwards.
  indicated_airspeed = 123.45;
  s.draw(B777);
  EXPECT_TRUE(s.shown_at(B777, "1", -117, -7) && s.shown_at(B777, "2", -109, -7));
  std::vector<std::string> drum;
  for (const GfxTextItem& it : s.rec().text_items()) {
    GfxPointF p = s.rec().to_design(it.device, 260, 260);
    if (std::fabs(p.x - 115 + 101) < 0.3 && it.text.size() == 1) drum.push_back(it.text);
  }
  EXPECT_EQ(drum, (std::vector<std::string>{"5", "4", "3", "2", "1"}));
}

TEST_F(Attitude, AltitudeDrumsRollInTwentyFootSteps) {
  const struct {
    double alt;
    double offset;  // of the centre label "40"
    const char* ten_thousands;
  } rows[] = {{12345.6, -2, "1"}, {12355, 4, "1"}};
  for (const auto& r : rows) {
    indicated_altitude = r.alt;
    s.draw(B777);
    EXPECT_TRUE(s.shown_at(B777, r.ten_thousands, 91, -6));
    EXPECT_TRUE(s.shown_at(B777, "2", 99, -6) && s.shown_at(B777, "3", 107, -5));
    EXPECT_TRUE(s.shown_at(B777, "40", 113, r.offset)) << r.alt;
    EXPECT_TRUE(s.shown_at(B777, "80", 113, r.offset - 24) && s.shown_at(B777, "00", 113, r.offset + 24));
  }
  // Below zero the sign stands in the digit places and counts 0 in the drum.
  indicated_altitude = -55;
  s.draw(B777);
  EXPECT_FALSE(s.at(B777, "00").empty());
}

TEST_F(Attitude, VerticalSpeedBaroMachAndRadioAltitudeBounds) {
  const struct {
    double vs;
    const char* figure;
    double needle;  // B777 needle end, up positive
  } speeds[] = {{1500, "1500", 38}, {-50, nullptr, -1}, {8000, "8000", 64}};
  for (const auto& r : speeds) {
    vertical_speed = r.vs;
    s.draw(B777);
    EXPECT_TRUE(!r.figure || s.has(r.figure));
    bool found = false;
    for (const GfxRecord* l : s.rec().of(GfxOp::Line)) {
      auto p = GfxRecording::device_points(*l);
      GfxPointF a = s.rec().to_design(p[0], 260, 260), b = s.rec().to_design(p[1], 260, 260);
      if (near(a, 115 + 145, 130, 0.3) && std::fabs(b.x - 245) < 0.3) found = std::fabs(130 - b.y - r.needle) < 0.6;
    }
    EXPECT_TRUE(found) << r.vs;
  }
  // A320: the needle stops at 74 from 2000 ft/min on.
  for (double vs : {2000.0, 2500.0}) {
    vertical_speed = vs;
    const GfxRecord* needle = s.draw(A320).of(GfxOp::Line).back();
    for (const GfxRecord* l : s.rec().of(GfxOp::Line))
      if (l->pen_argb == 0xFF00FA00 && l->pen_width == 4) needle = l;
    EXPECT_NEAR(s.rec().to_design(GfxRecording::device_points(*needle)[1], 318, 310).y - 155, -74, 0.3) << vs;
  }
  const struct {
    double hpa;
    bool standard;
  } baros[] = {{1013.2, true}, {1013.4, false}};
  for (const auto& r : baros) {
    baro_hpa = r.hpa;
    EXPECT_EQ(s.draw(A320).has_text("STD"), r.standard);
    EXPECT_EQ(s.has("QNH"), !r.standard);
    EXPECT_EQ(s.draw(B777).has_text("STD"), r.standard);
    EXPECT_EQ(s.has("1013 HPA"), !r.standard);
  }
  mach = 0.39;
  EXPECT_FALSE(s.draw(A320).has_text(".390"));
  EXPECT_FALSE(s.draw(B777).has_text(".390"));
  mach = 1.02;
  EXPECT_TRUE(s.draw(A320).has_text("1.02"));
  EXPECT_TRUE(s.draw(B777).has_text("1.020"));
  const struct {
    double ra;
    const char *efs, *a320, *b777;
  } radios[] = {{-20, "  -20", nullptr, " -20"}, {0, "    0", nullptr, "   0"}, {2500, " 2500", "2500", nullptr},
                {2501, nullptr, nullptr, nullptr}};
  for (const auto& r : radios) {
    radio_altitude = r.ra;
    EXPECT_EQ(s.draw(EFS50).has_text("RA"), r.efs != nullptr) << r.ra;
    EXPECT_TRUE(!r.efs || s.has(r.efs));
    EXPECT_EQ(s.draw(A320).has_text("2500"), r.a320 != nullptr) << r.ra;
    EXPECT_TRUE(!r.b777 || s.draw(B777).has_text(r.b777)) << r.ra;
  }
}

TEST_F(Attitude, TakeOffSpeedLegendsGoAsTheAircraftClimbs) {
  const struct {
    int v1, vr, v2;
    double ra;
    std::vector<std::string> shown, hidden;
  } rows[] = {
      {0, 0, 0, 0, {"NO", "V", "S", "P", "D"}, {"R"}},
      {0, 0, 0, 30, {}, {"NO"}},
      {0, 140, 150, 0, {"R"}, {"V1", "VR", "V2"}},
      {130, 140, 150, 0, {"V1", "VR", "V2"}, {"R"}},
      {130, 140, 150, 30, {"V2"}, {"V1", "VR"}},
      {130, 140, 150, 800, {}, {"V2"}},
  };
  for (const auto& r : rows) {
    V1 = r.v1, VR = r.vr, V2 = r.v2, radio_altitude = r.ra;
    indicated_airspeed = 140;
    s.draw(B777);
    for (const auto& t : r.shown) EXPECT_TRUE(s.has(t)) << t << " at " << r.ra;
    for (const auto& t : r.hidden) EXPECT_FALSE(s.has(t)) << t << " at " << r.ra;
  }
  EXPECT_EQ(V1, 130);
  V1 = 0, VR = 140;
  s.draw(A320);
  EXPECT_EQ(V1, 140);  // the tapes set V1 to VR
}

TEST_F(Attitude, ModeAnnunciations) {
  const struct {
    const char* name;
    double ap, alt_mode, hdg, app, vs;
    int lnav, vnav;
    std::vector<std::string> efs, a320, b777;
  } rows[] = {
      {"autopilot off", 0, 1, 1, 0, 0, 0, 0, {}, {"HDG", "ALT"}, {"HDG SEL"}},
      {"heading, altitude", 1, 1, 1, 0, 0, 0, 0, {"AP", "HDG", "ALT"}, {"AP1", "HDG", "ALT"}, {"A/P", "HDG SEL", "ALT"}},
      {"LNAV, VNAV climb", 1, 1, 1, 0, 1500, 1, 1, {"LNAV", "VNAV"}, {"NAV", "CLB"}, {"LNAV", "VNAV PTH"}},
      {"selected climb", 1, 1, 0, 0, 1500, 0, 0, {"ALT"}, {"V/S +1500"}, {"ALT"}},
      {"small rate is ALT", 1, 1, 0, 0, 150, 0, 0, {"ALT"}, {"ALT"}, {"ALT"}},
      {"approach", 1, 0, 0, 1, 0, 0, 0, {"APR"}, {"APP"}, {"APP"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ap_token103 = r.ap, ap_vertical_speed = r.alt_mode, token106_int = int32_t(r.hdg), token112 = r.app;
    ap_vs_hold = r.vs, lnav_on = r.lnav, vnav_on = r.vnav;
    s.draw(EFS50);
    for (const auto& t : r.efs) EXPECT_TRUE(s.has(t)) << t;
    EXPECT_FALSE(r.ap == 0 && (s.has("AP") || s.has("HDG")));
    s.draw(A320);
    for (const auto& t : r.a320) EXPECT_TRUE(s.has(t)) << t;
    s.draw(B777);
    for (const auto& t : r.b777) EXPECT_TRUE(s.has(t)) << t;
  }
}

TEST_F(Attitude, FlightPathVectorFlashesAtItsLimitAndIsTrueAtAltitudeZero) {
  DispFPV = 1;
  ground_speed = 100;
  s.ac().vs_fpm = -8000;  // steep: beyond both displays' limits
  const struct {
    int32_t frame;
    bool shown;
  } frames[] = {{3, true}, {10, false}};
  for (const auto& f : frames) {
    fms_frame = f.frame;
    EXPECT_EQ(s.draw(A320).count(GfxOp::Ellipse, 0xFFDEE6E9) > 0, f.shown);
    EXPECT_EQ(s.draw(B777).count(GfxOp::Ellipse, 0xFFDEE6E9) > 0, f.shown);
  }
  // At altitude 0 the vector shows the path, steadily: 500 ft/min at 100 kt is 12 up.
  indicated_altitude = 0, fms_frame = 10;
  s.ac().vs_fpm = 500;
  s.draw(A320);
  bool found = false;
  for (const GfxRecord* e : s.rec().of(GfxOp::Ellipse)) {
    GfxPointF c = s.rec().to_design(GfxRecording::to_device(*e, e->args[0] + 6, e->args[1] + 6), 318, 310);
    found = found || (e->pen_argb == 0xFFDEE6E9 && std::fabs(c.y - 155 + 12) < 0.3);
  }
  EXPECT_TRUE(found);
}

// Design offset from the attitude centre of the flight-path vector's circle centre, or
// none (x 1e9) when it was not drawn.
GfxPointF fpv_centre(Scene& s, const Display& d) {
  for (const GfxRecord* e : s.rec().of(GfxOp::Ellipse)) {
    if (e->pen_argb != 0xFFDEE6E9 || e->args[2] != 12) continue;
    GfxPointF c = s.rec().to_design(GfxRecording::to_device(*e, e->args[0] + 6, e->args[1] + 6), d.canvas.width,
                                    d.canvas.height);
    return {c.x - d.cx, c.y - d.cy};
  }
  return {1e9, 1e9};
}

TEST_F(Attitude, FlightPathVectorSitsOffTheHorizonByThePathAngleOnTheTrackSide) {
  DispFPV = 1;
  ground_speed = 300;
  // pitch up, vertical speed, drift (wind from the right: the track lies left), bank;
  // path angle 0.6 V / GS.
  const struct {
    const char* name;
    double pitch, vs, drift, bank;
  } rows[] = {
      {"climb", 8, 3000, 0, 0},      // path 6: 2 below the aircraft symbol, 6 above the horizon
      {"descent", 3, -1000, 0, 0},   // path -2: below the horizon though the nose is up
      {"crosswind", 2, 0, 5, 0},     // on the horizon, 5 degrees left
      {"banked", 4, 1000, -4, 30},   // path 2, track 4 right, turned with the bank
  };
  for (const Display* d : {&A320, &B777}) {
    const double k = d == &A320 ? 4.1 : 3.0;  // the ladder's units a degree
    for (const auto& r : rows) {
      SCOPED_TRACE(std::string(d->name) + " " + r.name);
      adi_token77 = -r.pitch;
      adi_token80 = r.bank;
      drift_angle = r.drift;
      s.ac().vs_fpm = r.vs;
      s.draw(*d);
      const double path = 0.6 * r.vs / 300;
      // In the frame turned with the bank: from the horizon (k x pitch below the
      // centre) up by the path angle, across by the track's offset from the heading.
      const double x = -k * r.drift, y = k * r.pitch - k * path;
      const double b = r.bank * M_PI / 180;
      const GfxPointF c = fpv_centre(s, *d);
      EXPECT_NEAR(c.x, x * std::cos(b) - y * std::sin(b), 1.5);
      EXPECT_NEAR(c.y, x * std::sin(b) + y * std::cos(b), 1.5);
    }
  }
}

TEST_F(Attitude, MarksStayInsideTheirScales) {
  // A320: the REF mark beside the speed tape and the track diamond of the heading scale
  // are drawn under a clip, so far off-scale they do not show over other fields.
  VREF = 140;
  radio_altitude = 1000;
  ground_track = 90 + 40;  // 40 degrees of drift: off the +-25 degree scale
  s.draw(A320);
  bool ref_clipped = false, diamond_clipped = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::Text))
    if (r->text == "REF") ref_clipped = r->clip >= 0;
  for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
    if (r->pen_argb == 0xFF00FA00 && r->points.size() == 5) diamond_clipped = r->clip >= 0;
  EXPECT_TRUE(ref_clipped);
  EXPECT_TRUE(diamond_clipped);
  // EFS 50 heading tape: each label once, also at headings just past north.
  EADIHdgTape = 1;
  const struct {
    double heading;
    const char* label;
  } rows[] = {{0, "N"}, {0.5, "N"}, {359.5, "N"}, {0.5, "3"}, {359.5, "33"}, {90.25, "E"}};
  for (const auto& row : rows) {
    heading = row.heading;
    s.draw(EFS50);
    int n = 0;
    for (const std::string& t : s.rec().texts()) n += t == row.label;
    EXPECT_EQ(n, 1) << row.label << " at " << row.heading;
  }
  EADIHdgTape = 0;
  heading = 90;
}

TEST_F(Attitude, FlightDirectorCuesOnlyWithTheDirectorOnAndEachDrawStepsThem) {
  adi_token80 = 40;
  s.draw(EFS50);
  EXPECT_EQ(fd_bank_bar, 0.0);
  EXPECT_EQ(s.rec().count(GfxOp::FillPolygon, 0xFF25C817), 0);
  s.ac().flight_director = true;
  s.draw(EFS50);
  EXPECT_EQ(s.rec().count(GfxOp::FillPolygon, 0xFF25C817), 1);
  s.draw(A320);
  s.draw(B777);
  EXPECT_NEAR(fd_bank_bar, 0.99, 1e-9);  // three draws, three steps
}

TEST_F(Attitude, ALongStationIdentIsCutToItsField) {
  s.host.aircraft().set_station_resolver([](simhost::RadioKind, double, double, double, simhost::RadioStation* out) {
    out->ident = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    out->range_nm = 0;
    return true;
  });
  s.ac().nav1_mhz = 110.5;
  s.draw(A320);
  EXPECT_TRUE(s.has("ABCDEFG"));
  EXPECT_TRUE(s.draw(B777).has_text("ABCDEFG/  0"));
}
