// C-17 PFD, HSI and configuration page as the pilot sees them, driven through the
// host's aircraft and, where it serves nothing, stand-ins for its variables.
#include <cmath>

#include "c17_fixture.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "platform/host/sim_token_ids.h"

namespace c17_test {
namespace {

bool starts(const GfxRecording& r, const std::string& prefix) {
  for (const std::string& t : r.texts())
    if (t.rfind(prefix, 0) == 0) return true;
  return false;
}
// Whether `text` was drawn with its top-left at image point (x, y).
bool drawn_at(const GfxRecording& r, const std::string& text, GfxPointF at) {
  for (const GfxTextItem& it : r.text_items())
    if (it.text == text && std::fabs(it.device.x - at.x) < 0.2 && std::fabs(it.device.y - at.y) < 0.2) return true;
  return false;
}
// Lines and polylines of a pen colour whose first point lies at image row y.
int lines_at_row(const GfxRecording& r, uint32_t argb, double y) {
  int n = 0;
  for (GfxOp op : {GfxOp::Line, GfxOp::Lines})
    for (const GfxRecord* rec : r.of(op))
      if (rec->pen_argb == argb && std::fabs(GfxRecording::device_points(*rec)[0].y - y) < 0.5) ++n;
  return n;
}
int fills(const GfxRecording& r, uint32_t argb) { return r.count(GfxOp::FillRect, argb); }
// The scenario line that turns the aircraft to a compass (magnetic) heading; the host's
// `heading` setting is true.
std::string set_compass(double magnetic, double variation) {
  return "set heading " + std::to_string(std::fmod(magnetic + variation + 360.0, 360.0));
}

struct PfdRow {
  const char* script;
  std::map<int32_t, double> tokens;
  std::vector<std::string> shown, hidden;  // texts, or text prefixes ending in a blank
  int32_t vnav = 0;
};

const PfdRow PFD_ROWS[] = {
    {"set altitude 2400", {}, {"RA "}, {"DH "}},
    {"set altitude 1999", {}, {"RA ", "DH "}, {}},
    {"set altitude 1500\nset vs -5000", {}, {"TERRAIN"}, {}},
    {"set altitude 2500\nset vs -5000", {}, {}, {"TERRAIN"}},
    {"set altitude 300", {{TOK_GEAR_NOSE, 8000}}, {"TERRAIN"}, {}},
    {"", {{TOK_STALL_WARNING, 1}, {TOK_OVERSPEED_WARNING, 1}}, {"STALL"}, {"OVERSPEED"}},
    {"set altitude 1500\nset vs -5000", {{TOK_STALL_WARNING, 1}}, {"TERRAIN"}, {"STALL"}},
    {"set ap_master 1\nset ap_altitude 6000", {{TOK_AP_GLIDESLOPE_HOLD, 1}}, {"G/S1 CAP"}, {"VNAV", "ALT 060"}, 1},
    {"set ap_master 1\nset ap_altitude 6000", {}, {"VNAV"}, {"G/S1 CAP", "ALT 060"}, 1},
    {"set ap_master 1\nset ap_altitude 6000", {}, {"ALT 060"}, {"G/S1 CAP"}},
};

TEST_F(C17Test, PfdFieldsWarningsAndAnnunciations) {
  place({"PFD"});
  for (const PfdRow& row : PFD_ROWS) {
    token_overrides = row.tokens;
    vnav_on = row.vnav;
    script("set altitude 5000\nset vs 0\nset ap_master 0\n" + std::string(row.script) + "\nrun 1s");
    const GfxRecording& r = rec("PFD");
    for (const std::string& t : row.shown) EXPECT_TRUE(starts(r, t)) << row.script << ": " << t;
    for (const std::string& t : row.hidden) EXPECT_FALSE(starts(r, t)) << row.script << ": " << t;
  }
}

struct ReadoutRow {
  const char* script;
  std::vector<std::pair<const char*, GfxPointF>> texts;
};

// Readout characters and rolling columns (speed column x 22, altitude column x 230).
const ReadoutRow READOUT_ROWS[] = {
    {"set ias 99.6", {{"9", {13, 104}}, {"9", {22, 98}}, {"8", {22, 88}}, {"0", {22, 108}}}},
    {"set altitude 12345", {{"1", {208, 104}}, {"2", {215, 104}}, {"3", {222, 104}}, {"40", {230, 109}},
                            {"30", {230, 121}}, {"50", {230, 97}}}},
    {"set ground_elevation -1000\nset altitude -50",
     {{"-", {222, 104}}, {"50", {230, 104}}, {"40", {230, 92}}, {"60", {230, 116}}}},  // lower is more negative
    // The format by the value as printed, and a negative altitude with its sign.
    {"set ias 99.97", {{"1", {4, 104}}, {"0", {13, 104}}, {"0", {22, 104}}}},
    {"set altitude 9999.7", {{"1", {208, 104}}, {"0", {215, 104}}, {"0", {222, 104}}, {"00", {230, 104}}}},
    {"set altitude 999.7", {{"1", {215, 104}}, {"0", {222, 104}}, {"00", {230, 104}}}},
    // Five digits at most: from 99,999.5 ft on the readout holds 99,999.
    {"set altitude 99999.7", {{"9", {208, 104}}, {"9", {215, 104}}, {"9", {222, 104}}, {"90", {230, 113}}}},
    {"set ground_elevation -2000\nset altitude -1234",
     {{"-", {208, 104}}, {"1", {215, 104}}, {"2", {222, 104}}, {"30", {230, 100}}, {"40", {230, 112}}}},
};

TEST_F(C17Test, PfdReadoutsRollTheirDigits) {
  place({"PFD"});
  for (const ReadoutRow& row : READOUT_ROWS) {
    script(std::string(row.script) + "\nrun 5s");
    for (const auto& [text, pos] : row.texts)
      EXPECT_TRUE(drawn_at(rec("PFD"), text, pos)) << row.script << ": " << text << " at " << pos.x << ", " << pos.y;
    for (const std::string& t : rec("PFD").texts()) {
      size_t run = 0, longest = 0;
      for (char c : t) longest = std::max(longest, run = std::isdigit(static_cast<unsigned char>(c)) ? run + 1 : 0);
      EXPECT_LE(longest, 5u) << row.script << ": " << t;
    }
  }
}

// Image row of the speed-trend triangle's tip (the white filled triangle by the speed
// scale), or -1 when none was drawn.
double trend_tip_y(const GfxRecording& r) {
  for (const GfxRecord* e : r.of(GfxOp::FillPolygon)) {
    if (e->points.size() != 3) continue;
    const auto p = GfxRecording::device_points(*e);
    if (p[1].x > p[0].x && p[0].x == p[2].x) return p[1].y;
  }
  return -1;
}

TEST_F(C17Test, PfdSpeedTrendMarksTheSpeedBeingReached) {
  place({"PFD"});
  DispC17SpdTrend = 1;
  // The airspeed served steady, rising and falling by a knot a frame; higher speeds lie
  // lower on this tape, so rising moves the marker down from where it sits steady.
  double tip[3] = {};
  for (int slope : {0, 1, -1}) {
    for (int i = 0; i < 40; ++i) {
      token_overrides = {{TOK_INDICATED_AIRSPEED, 200.0 + slope * i}};
      script("run 1f");
    }
    tip[slope + 1] = trend_tip_y(rec("PFD"));
  }
  token_overrides.clear();
  DispC17SpdTrend = 0;
  ASSERT_GT(tip[1], 0);
  EXPECT_GT(tip[2] - tip[1], 5);  // rising
  EXPECT_GT(tip[1] - tip[0], 5);  // falling
}

TEST_F(C17Test, PfdTargetsHeldAtTheScaleEndsAndHeadingScaleAcrossNorth) {
  place({"PFD"});
  script("set ap_airspeed 260\nset ap_altitude 9000\nset ap_master 1\nset ap_heading_hold 0\n" +
         set_compass(358.5, host_.aircraft().magnetic_variation()) + "\nrun 1s");
  EXPECT_EQ(lines_at_row(rec("PFD"), 0xFF18C2E7, 177), 4);  // two speed chevrons at 67
  EXPECT_EQ(lines_at_row(rec("PFD"), 0xFF18C2E7, 45) + lines_at_row(rec("PFD"), 0xFF25C817, 45), 4);
  EXPECT_TRUE(drawn_at(rec("PFD"), "00", {119, 231}));  // 360 at x 4
  EXPECT_TRUE(drawn_at(rec("PFD"), "35", {99, 231}));   // 350 at x -16
}

TEST_F(C17Test, PfdDirectorBarsOnlyWhileTheDirectorIsOn) {
  place({"PFD"});
  for (const auto& [on, bars] : {std::pair{1, 2}, std::pair{0, 0}}) {
    script("set flight_director " + std::to_string(on) + "\nrun 1s");
    EXPECT_EQ(rec("PFD").count(GfxOp::Line, 0xFFFF13D5), bars) << "director " << on;
  }
}

// The flight-path vector's circle drawn in the last frame.
bool fpv_drawn(const GfxRecording& r) {
  for (const GfxRecord* e : r.of(GfxOp::Ellipse))
    if (e->args[2] == 12) return true;
  return false;
}

TEST_F(C17Test, PfdFlightPathVectorFlashesOffTheScaleAndStaysFiniteAtSeaLevel) {
  place({"PFD"});
  DispFPV = 1;
  for (const auto& [wind, frames_on] : {std::pair{0, 18}, std::pair{60, 8}}) {
    script("set wind_dir 90\nset wind_speed " + std::to_string(wind) + "\nrun 1s");
    int on = 0;
    for (int i = 0; i < 18; ++i) {
      script("run 1f");
      on += fpv_drawn(rec("PFD"));
    }
    EXPECT_EQ(on, frames_on) << "wind " << wind;
  }
  script("set wind_speed 0\nset ground_elevation 0\nset on_ground 1\nset ias 100\nrun 1s");
  ASSERT_TRUE(fpv_drawn(rec("PFD")));
  const GfxRecord& circle = *rec("PFD").of(GfxOp::Ellipse)[0];
  EXPECT_EQ(circle.args[0], -6);  // on the horizon, about the centre
  EXPECT_EQ(circle.args[1], -6);
}

TEST_F(C17Test, PfdFlightPathVectorSitsTheAngleOfAttackBelowTheSymbolOnTheTrackSide) {
  place({"PFD"});
  DispFPV = 1;
  // Vertical speed and wind from the east at a heading of about north: the nose is the
  // path angle plus the angle of attack up, so the vector sits the angle of attack below
  // the aircraft symbol, and left of it in the crosswind.
  const struct {
    double vs, wind;
  } rows[] = {{0, 0}, {-1500, 0}, {2000, 0}, {0, 40}};
  for (const auto& row : rows) {
    script("set wind_dir 90\nset wind_speed " + std::to_string(row.wind) + "\nset vs " + std::to_string(row.vs) +
           "\nrun 1s");
    SCOPED_TRACE(row.vs);
    std::vector<const GfxRecord*> e;
    for (const GfxRecord* r : rec("PFD").of(GfxOp::Ellipse))
      if (r->args[2] == 12) e.push_back(r);
    ASSERT_FALSE(e.empty());
    const double aoa = host_.aircraft().angle_of_attack();
    EXPECT_NEAR(e[0]->args[1] + 6, 4.5 * aoa, 2.0);
    if (row.wind > 0) {
      EXPECT_LT(e[0]->args[0] + 6, -20);  // about 10 degrees of drift to the left
    } else {
      EXPECT_NEAR(e[0]->args[0] + 6, 0, 1.0);
    }
  }
}

TEST_F(C17Test, HsiShowsOneDmeDistanceInEachFrame) {
  place({"1"});
  script("var \"MFDX1 mode\" 1\nset ias 300\nset nav1 116.80\nrun 2s");
  for (int i = 0; i < 18; ++i) {
    script("run 1f");
    std::string dist;
    for (const std::string& t : rec("1").texts())
      if (t.rfind("D ", 0) == 0) dist = t.substr(2);
    ASSERT_FALSE(dist.empty());
    EXPECT_TRUE(has("1", dist)) << "D " << dist << " without the same DIST";
  }
}

TEST_F(C17Test, HsiSourcePointersDeviationAndToFrom) {
  place({"1"});
  script("var \"MFDX1 mode\" 1\nset nav1 111.70\nrun 1s");
  EXPECT_TRUE(has("1", "ILS-1"));
  const auto vor_pointers = [this] {
    int n = 0;
    for (const GfxRecord* r : rec("1").of(GfxOp::Lines)) n += r->pen_argb == 0xFF18C2E7 && r->points.size() == 9;
    return n;
  };
  EXPECT_EQ(vor_pointers(), 0);
  token_overrides = {{TOK_NAV1_DEVIATION, 127}};
  script("set nav1 116.80\nset obs 0\n" + set_compass(0.2, host_.aircraft().magnetic_variation()) + "\nrun 1s");
  EXPECT_TRUE(has("1", "VOR-1"));
  EXPECT_EQ(vor_pointers(), 1);
  EXPECT_EQ(lines_at_row(rec("1"), 0xFFFF13D5, 91), 2);  // course line and the bar at x 50
  const struct {
    double bearing, course;
    const char* shown;
  } rows[] = {{359, 1, "TO"}, {90, 0, "FROM"}, {271, 0, "TO"}};
  for (const auto& row : rows) {
    token_overrides = {{TOK_NAV_REL_BEARING, row.bearing}};
    script("set obs " + std::to_string(row.course) + "\nrun 1s");
    EXPECT_TRUE(has("1", row.shown)) << row.bearing << " on course " << row.course;
  }
}

struct CfgRow {
  const char* script;
  std::map<int32_t, double> tokens;
  std::vector<std::pair<const char*, GfxPointF>> texts;
  int green_fills, yellow_fills;
};

const CfgRow CFG_ROWS[] = {
    {"", {{TOK_FLAPS_HANDLE, 9361}}, {{"FLAPS 1/2", {92, 153}}}, 5, 0},
    {"", {{TOK_FLAPS_HANDLE, 9362}, {TOK_FLAPS_LEFT_PERCENT, 8}}, {{"FLAPS 3/4", {92, 153}}}, 5, 0},
    {"", {{TOK_FLAPS_LEFT_PERCENT, 50}}, {}, 7, 0},
    {"set gear 0\nrun 3s", {}, {{"GEAR DOWN", {96, 183}}}, 0, 5},
    {"set gear 0\nrun 12s", {}, {{"GEAR DOWN", {96, 183}}}, 0, 0},
    {"set spoilers_armed 16384\nset spoilers 16384\nset ground_elevation 5000\nset on_ground 1",
     {}, {{"GND", {77, 86}}, {"GND", {142, 86}}}, 13, 0},
    {"set spoilers_armed 16384\nset spoilers 16384", {{TOK_FLAPS_HANDLE, 5000}},
     {{"SPD BR", {77, 86}}, {"DLC", {142, 86}}}, 13, 0},
};

TEST_F(C17Test, ConfigurationPageFlapsGearAndSpoilers) {
  place({"CFG"});
  for (const CfgRow& row : CFG_ROWS) {
    token_overrides = row.tokens;
    script("set ground_elevation 0\nset on_ground 0\nset altitude 5000\nset gear 1\nset spoilers_armed 0\n"
           "set spoilers 0\nrun 12s\n" + std::string(row.script) + "\nrun 1f");
    const GfxRecording& r = rec("CFG");
    for (const auto& [text, pos] : row.texts) EXPECT_TRUE(drawn_at(r, text, pos)) << row.script << ": " << text;
    EXPECT_EQ(fills(r, 0xFF00FA00), row.green_fills) << row.script;
    EXPECT_EQ(fills(r, 0xFFFFFF00), row.yellow_fills) << row.script;
  }
}

// A readout of a value that is no number shows nothing, and none reads "-0": every
// page with the host's values at NaN, engines 3 and 4 dead.
TEST_F(C17Test, NoReadoutShowsNanOrMinusZero) {
  place({"1", "2", "3", "4"});
  const double nan = std::nan("");
  token_overrides = {{TOK_G_FORCE, nan},       {TOK_MACH, nan},         {TOK_VERTICAL_SPEED, nan},
                     {TOK_DME1_DISTANCE, nan}, {TOK_NAV1_COURSE, nan},  {TOK_AP_AIRSPEED, nan},
                     {TOK_AP_HEADING, nan},    {TOK_RADIO_ALTITUDE, nan}, {TOK_GROUND_SPEED, nan}};
  for (int id : {TOK_ENG1_N1, TOK_ENG1_N2, TOK_ENG1_EGT, TOK_ENG1_OIL_PRESSURE, TOK_ENG1_OIL_TEMP,
                 TOK_ENG1_OIL_QUANTITY, TOK_ENG1_PRESSURE_RATIO, TOK_ENG2_N1, TOK_ENG2_N2, TOK_ENG2_EGT,
                 TOK_ENG2_OIL_PRESSURE, TOK_ENG2_OIL_TEMP, TOK_ENG2_OIL_QUANTITY, TOK_ENG2_PRESSURE_RATIO})
    token_overrides[id] = nan;
  const struct {
    int instance, format;
  } pages[] = {{1, 1}, {2, 0}, {3, 10}, {4, 11}, {3, 9}, {2, 3}};
  script("set engines 2\nset ap_master 1\nset ap_airspeed_hold 1\nset nav1 111.70\nrun 2s");
  for (const auto& p : pages) {
    c17_mfd_instances[p.instance].format = p.format;
    script("run 2f");
    for (const std::string& t : rec(std::to_string(p.instance)).texts()) {
      const bool no_number = t.find("nan") != std::string::npos || t.find("inf") != std::string::npos;
      const bool minus_zero = t.find('-') != std::string::npos && t.find_first_of("123456789") == std::string::npos &&
                              t.find_first_of("0") != std::string::npos;
      EXPECT_FALSE(no_number || minus_zero) << "format " << p.format << ": \"" << t << "\"";
    }
  }
}

// The flap handle's detent reads as the flaps selected: any extension at least 1/2.
TEST_F(C17Test, ConfigurationPageReadsTheHandleDetentOfTheFlapsSelected) {
  place({"CFG"});
  const struct {
    int flaps;
    const char* text;
  } rows[] = {{0, "FLAPS UP"}, {5, "FLAPS 1/2"}, {10, "FLAPS 1/2"}, {20, "FLAPS 1/2"},
              {25, "FLAPS 3/4"}, {30, "FLAPS 3/4"}, {40, "FLAPS FULL"}};
  for (const auto& row : rows) {
    script("set flaps " + std::to_string(row.flaps) + "\nrun 1f");
    EXPECT_TRUE(has("CFG", row.text)) << row.flaps << " degrees";
  }
}

// Image points where the configuration page's green pointers (rudder, stabiliser,
// aileron) have their tips.
std::vector<std::pair<double, double>> pointer_tips(const GfxRecording& r) {
  std::vector<std::pair<double, double>> tips;
  for (const GfxRecord* e : r.of(GfxOp::Line))
    if (e->pen_argb == 0xFF00FA00) {
      const GfxPointF p = GfxRecording::device_points(*e)[0];
      tips.emplace_back(std::round(p.x), std::round(p.y));
    }
  return tips;
}

TEST_F(C17Test, ConfigurationPointersHeldAtTheirScaleEndsAndBothSlatColumnsAlike) {
  place({"CFG"});
  // Surfaces at the host's limits sit where the scale ends put them.
  const struct {
    const char* at_end;
    const char* beyond;
  } rows[] = {{"set rudder 10\nset elevator 20\nset aileron 10", "set rudder 30\nset elevator 30\nset aileron 30"},
              {"set rudder -10\nset elevator -20\nset aileron -10",
               "set rudder -30\nset elevator -30\nset aileron -30"}};
  for (const auto& row : rows) {
    script(std::string(row.at_end) + "\nrun 1f");
    const auto end = pointer_tips(rec("CFG"));
    ASSERT_EQ(end.size(), 6u);
    script(std::string(row.beyond) + "\nrun 1f");
    EXPECT_EQ(pointer_tips(rec("CFG")), end) << row.beyond;
  }
  // Slats out: the eight boxes, four a side, filled alike.
  for (const auto& [slats, height] : {std::pair{100.0, 6.0}, std::pair{50.0, 3.0}}) {
    script("set rudder 0\nset elevator 0\nset aileron 0\nset leading_edge 25\nset slats " +
           std::to_string(slats) + "\nrun 1f");
    int filled = 0;
    for (const GfxRecord* e : rec("CFG").of(GfxOp::FillRect))
      if (e->brush_argb == 0xFF00FA00) filled += std::fabs(e->args[3] - height) < 0.01;
    EXPECT_EQ(filled, 8) << slats;
  }
}

}  // namespace
}  // namespace c17_test
