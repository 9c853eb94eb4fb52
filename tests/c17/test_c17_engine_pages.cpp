// C-17 MFD engine pages: the thrust page (format 9), the engine dials (10) and the oil
// and fuel-used page (11), as the host's four engines and stand-in values drive them.
#include "c17_fixture.h"
#include "c17_page_probe.h"
#include "guidance/fms_state.h"
#include "platform/host/sim_token_ids.h"

namespace c17_test {
namespace {

constexpr uint32_t GREEN = 0xFF00FA00, YELLOW = 0xFFFFFF00, RED = 0xFFFF0000, CYAN = 0xFF18C2E7;

double rankine(double celsius) { return celsius * 9.0 / 5.0 + 491.69; }

const int N_FIRST[5] = {0, TOK_ENG1_N2, TOK_ENG2_N2, TOK_ENG3_N2, TOK_ENG4_N2};
const int N_SECOND[5] = {0, TOK_ENG1_N1, TOK_ENG2_N1, TOK_ENG3_N1, TOK_ENG4_N1};
const int EGT[5] = {0, TOK_ENG1_EGT, TOK_ENG2_EGT, TOK_ENG3_EGT, TOK_ENG4_EGT};
const int LEVER[5] = {0, TOK_ENG1_THROTTLE, TOK_ENG2_THROTTLE, TOK_ENG3_THROTTLE, TOK_ENG4_THROTTLE};
const int FLOW[5] = {0, TOK_ENG1_FUEL_FLOW, TOK_ENG2_FUEL_FLOW, TOK_ENG3_FUEL_FLOW, TOK_ENG4_FUEL_FLOW};
const int FLOW_ALT[5] = {0, TOK_ENG1_FUEL_FLOW_ALT, TOK_ENG2_FUEL_FLOW_ALT, TOK_ENG3_FUEL_FLOW_ALT,
                         TOK_ENG4_FUEL_FLOW_ALT};
const int OIL_PRESSURE[5] = {0, TOK_ENG1_OIL_PRESSURE, TOK_ENG2_OIL_PRESSURE, TOK_ENG3_OIL_PRESSURE,
                             TOK_ENG4_OIL_PRESSURE};
const int OIL_TEMP[5] = {0, TOK_ENG1_OIL_TEMP, TOK_ENG2_OIL_TEMP, TOK_ENG3_OIL_TEMP, TOK_ENG4_OIL_TEMP};
const double COLUMN_TX[5] = {0, 22, 77, 153, 208};
const double COLUMN_CX[5] = {0, 32, 87, 163, 218};

class C17EngineTest : public C17Test {
 protected:
  // The engine timers and fuel used as the module starts with them.
  void TearDown() override {
    eng_limit_time_a = eng_limit_time_egt = 0;
    for (double& used : eng_fuel_used) used = 0;
    C17Test::TearDown();
  }
  // The engine placement at `format`, four engines, the engine timers held still (the
  // local clock stands) so that a test can set them.
  void engine_page(int format) {
    place({"3"});
    token_overrides[TOK_LOCAL_SECOND] = 30;
    c17_mfd_instances[3].format = format;
    script("set engines 4\nrun 2f");
    eng_limit_time_a = eng_limit_time_egt = 0;
  }
  void frame() { script("run 1f"); }
  const GfxRecording& r() { return rec("3"); }
  // The needle of the dial centred at (x, y): the line from the centre.
  const GfxRecord* needle(double x, double y) {
    const auto l = lines_from(r(), x, y);
    return l.size() == 1 ? l[0] : nullptr;
  }
};

// FUEL USED adds up what the engines burn over the simulated time, whatever the frame
// rate and the simulation rate: against the fuel the host's tanks lost.
TEST_F(C17EngineTest, FuelUsedAddsTheBurnOverEverySimulatedSecond) {
  engine_page(11);
  struct Row {
    int frame_rate;
    double sim_rate;
  };
  // The last two: two minutes and one minute of the simulated flight a frame.
  for (const Row& row : {Row{18, 1}, Row{6, 1}, Row{18, 4}, Row{5, 2}, Row{1, 128}, Row{1, 64}}) {
    script("set frame_rate " + std::to_string(row.frame_rate) + "\nset sim_rate " + std::to_string(row.sim_rate) +
           "\nrun 1s");
    const simhost::AircraftState& s = host_.aircraft().state();
    const double tanks = s.fuel_gallons;
    double used = 0;
    for (int e = 1; e <= 4; ++e) used -= eng_fuel_used[e];
    script("run 30s");
    for (int e = 1; e <= 4; ++e) used += eng_fuel_used[e];
    const double burnt = (tanks - s.fuel_gallons) * s.fuel_lb_per_gallon;
    ASSERT_GT(burnt, 0);
    EXPECT_NEAR(used / burnt, 1.0, 0.03) << row.frame_rate << " frames a second at rate " << row.sim_rate;
  }
  script("set sim_rate 1\nset frame_rate 18\nrun 1f");
  EXPECT_EQ(text_at(r(), COLUMN_TX[1] - 5, 216), [] {
    char t[16];
    std::snprintf(t, sizeof t, "%5.0f", eng_fuel_used[1]);
    return std::string(t);
  }());
}

// The thrust page (ratio from engine speed) and the engine dials (ratio from each
// engine's pressure value) read the host's four engines alike, 1.00 at idle, 1.80 at
// take-off thrust on the roll and in the climb, 1.56 in reverse and 1.00 stopped; the
// airlifter's panel flies four engines unasked.
TEST_F(C17EngineTest, BothPagesReadTheSameRatiosFromIdleToTakeOffThrust) {
  place({"3", "4"});
  c17_mfd_instances[3].format = 9;
  c17_mfd_instances[4].format = 10;
  struct Row {
    const char* lines;
    const char* ratio;
  };
  const Row rows[] = {
      {"set frame_rate 6\nset on_ground 1\nset ias 0\nrun 20s", "1.00"},
      // The take-off roll, then the take-off rejected with every lever in reverse.
      {"set flight_director 1\nset ap_airspeed 170\nrun 10s", "1.80"},
      {"set reverse 1\nrun 10s", "1.56"},
      {"set reverse 0\nset flight_director 0\nset on_ground 0\nset altitude 2000\nset ias 250\nset ap_master 1\nset ap_altitude 20000\n"
       "set ap_vs 3000\nset vs 3000\nset ap_airspeed 340\nrun 30s",
       "1.80"},
      {"set fuel 0\nrun 20s", "1.00"},
  };
  const double thrust_x[5] = {0, 20, 65, 155, 195};
  for (const Row& row : rows) {
    script(row.lines);
    for (int e = 1; e <= 4; ++e) {
      EXPECT_EQ(text_at(rec("3"), thrust_x[e], 191), row.ratio) << "thrust page, engine " << e;
      EXPECT_EQ(text_at(rec("4"), COLUMN_TX[e], 55), row.ratio) << "engine dials, engine " << e;
    }
  }
}

TEST_F(C17EngineTest, ThrustRatiosFromEngineSpeedAndTheScaleVariable) {
  engine_page(9);
  struct Row {
    double v342, speed;
    const char* ratio;
  };
  // 342 = 300 gives f = 0 (top 104, span 64); the last scale leaves no span.
  // An engine that does not turn reads the dials' 1.00.
  const Row rows[] = {{300, 0, "1.00"}, {19000, 0, "1.00"}, {300, 96, "1.66"}, {300, 40, "0.85"},
                      {300, 104, "1.85"}, {300, 120, "1.85"}, {300 - 5.12 * 15913, 96, "0.85"}};
  const double x[5] = {0, 20, 65, 155, 195};
  for (const Row& row : rows) {
    token_overrides[TOK_342] = row.v342;
    for (int e = 1; e <= 4; ++e) token_overrides[N_FIRST[e]] = row.speed;
    frame();
    for (int e = 1; e <= 4; ++e) EXPECT_EQ(text_at(r(), x[e], 191), row.ratio) << row.speed << " engine " << e;
  }
  // Engine speeds under "N1"; the scale's last label is the blank-led ".9" further right.
  EXPECT_EQ(text_at(r(), 20, 211), "96.0");
  EXPECT_EQ(text_at(r(), 122 - 9, 121 - 54 - 5), "1.8");
  EXPECT_EQ(text_at(r(), 122 - 6, 121 + 54 - 5), " .9");
  EXPECT_EQ(text_at(r(), 122 - 9, 121 + 42 - 5), "1.0");
}

TEST_F(C17EngineTest, ThrustAndEgtTimersLimitTextsAndReverseLevers) {
  engine_page(9);
  struct TimerRow {
    double seconds;
    const char* text;
  };
  for (const TimerRow& t : {TimerRow{900, "MAX THR TIME OVER 15:00"}, TimerRow{901, "MAX THR TIME REM 04:59"},
                            TimerRow{1250, "MAX THR TIME REM 00:00"}}) {
    eng_limit_time_a = t.seconds;
    frame();
    EXPECT_EQ(text_at(r(), 0, 0), t.text);
    EXPECT_EQ(text_colour_at(r(), 0, 0), CYAN);
  }
  eng_limit_time_a = 0;

  struct EgtRow {
    double egt;
    const char* text;
    uint32_t colour;
  };
  for (const EgtRow& row : {EgtRow{620, "", 0}, EgtRow{640, "MAX EGT 655\u00B0C", RED},
                            EgtRow{660, "MAX EGT 625\u00B0C", YELLOW}}) {
    token_overrides[EGT[2]] = rankine(row.egt);
    frame();
    EXPECT_EQ(text_at(r(), 122 + 45, 33), row.text) << row.egt;
    EXPECT_EQ(text_colour_at(r(), 122 + 45, 33), row.colour) << row.egt;
  }
  // The first second above the limit shows five minutes and raises the timer to them.
  eng_limit_time_egt = 1;
  frame();
  EXPECT_EQ(text_at(r(), 122 + 40, 43), "TIME REM 05:00");
  EXPECT_EQ(text_colour_at(r(), 122 + 40, 43), GREEN);
  EXPECT_EQ(eng_limit_time_egt, 300);
  eng_limit_time_egt = 301;
  frame();
  EXPECT_EQ(text_at(r(), 122 + 40, 40), "TIME REM 05:01");
  EXPECT_EQ(text_colour_at(r(), 122 + 40, 40), YELLOW);

  // Engine 3 in reverse: its marks, and the pointer 44 below the bar centre.
  token_overrides[LEVER[3]] = -2000;
  frame();
  EXPECT_EQ(text_at(r(), 122 + 52 - 2, 15), "REV");
  EXPECT_EQ(text_at(r(), 122 - 108 - 2, 15), "");
  EXPECT_EQ(lines_from(r(), 122 + 44, 121 + 44).size(), 2u);
  token_overrides[LEVER[3]] = 16383;
  frame();
  EXPECT_EQ(lines_from(r(), 122 + 44, 121 - 59).size(), 2u);
}

TEST_F(C17EngineTest, DialsColourEachEngineAndHoldTheNeedlesAtTheArcEnds) {
  engine_page(10);
  struct Row {
    double first, egt, flow;
    const char* speed_text;
    uint32_t speed_colour;
    const char* egt_text;
    uint32_t egt_colour;
    const char* flow_text;
  };
  const Row rows[5] = {{},
                       {14.9, 600, 5437, "14.9", YELLOW, "600", GREEN, "5430"},
                       {100.5, 630, -15.2, "100.5", GREEN, "630", YELLOW, " -10"},
                       {100.6, 660, 100, "100.6", RED, "660", RED, " 100"},
                       {120, 800, 9, "120.0", RED, "800", RED, "   0"}};
  for (int e = 1; e <= 4; ++e) {
    token_overrides[N_FIRST[e]] = rows[e].first;
    token_overrides[N_SECOND[e]] = 50;
    token_overrides[EGT[e]] = rankine(rows[e].egt);
    token_overrides[FLOW[e]] = rows[e].flow;
    token_overrides[FLOW_ALT[e]] = rows[e].flow;
  }
  frame();
  for (int e = 1; e <= 4; ++e) {
    const Row& row = rows[e];
    const double tx = COLUMN_TX[e], cx = COLUMN_CX[e];
    EXPECT_EQ(text_at(r(), tx, 105), row.speed_text) << e;
    EXPECT_EQ(text_colour_at(r(), tx, 105), row.speed_colour) << e;
    EXPECT_EQ(text_at(r(), tx, 215), row.egt_text) << e;
    EXPECT_EQ(text_colour_at(r(), tx, 215), row.egt_colour) << e;
    EXPECT_EQ(text_at(r(), tx, 226), row.flow_text) << e;
    const GfxRecord* speed_needle = needle(cx, 95);
    const GfxRecord* egt_needle = needle(cx, 205);
    ASSERT_TRUE(speed_needle && egt_needle) << e;
    EXPECT_EQ(speed_needle->pen_argb, row.speed_colour) << e;
    EXPECT_EQ(egt_needle->pen_argb, row.egt_colour) << e;
  }
  // 120 % and 800 degrees rest at the arc's upper right end (angle 180, 25 long).
  for (const auto& [x, y] : {std::pair{COLUMN_CX[4], 95.0}, std::pair{COLUMN_CX[4], 205.0}}) {
    const GfxPointF end = line_end(*needle(x, y));
    EXPECT_NEAR(end.x, x + 17.7, 0.6);
    EXPECT_NEAR(end.y, y - 17.7, 0.6);
  }
}

TEST_F(C17EngineTest, DialRatiosFromThePressureValuesAndBlankWithoutAScale) {
  engine_page(10);
  for (int e = 1; e <= 4; ++e) token_overrides[TOK_ENG1_PRESSURE_RATIO + 19 * (e - 1)] = 1000;
  token_overrides[TOK_342] = 400;
  frame();
  const char* expected[5] = {"", "1.80", "1.80", "1.79", "1.79"};
  for (int e = 1; e <= 4; ++e) EXPECT_EQ(text_at(r(), COLUMN_TX[e], 55), expected[e]) << e;
  for (double v342 : {0.0, -5.0}) {
    token_overrides[TOK_342] = v342;
    frame();
    for (int e = 1; e <= 4; ++e) EXPECT_EQ(text_at(r(), COLUMN_TX[e], 55), "") << v342;
    EXPECT_TRUE(r().has_text("EPR"));
  }
}

TEST_F(C17EngineTest, OilDialsReadoutAndNeedleThresholdsAndFuelUsedPerEngine) {
  engine_page(11);
  struct Row {
    double psi, temp;
    const char* psi_text;
    uint32_t psi_colour;
    const char* temp_text;
    uint32_t temp_colour, temp_needle;
  };
  const Row rows[5] = {{},
                       {69.9, 177.2, " 70", RED, "177", YELLOW, RED},
                       {70, 163.2, " 70", GREEN, "163", GREEN, YELLOW},
                       {300, 38, "300", GREEN, "38", YELLOW, YELLOW},
                       {100, 90, "100", GREEN, "90", GREEN, GREEN}};
  for (int e = 1; e <= 4; ++e) {
    token_overrides[OIL_PRESSURE[e]] = rows[e].psi * 144;
    token_overrides[OIL_TEMP[e]] = rankine(rows[e].temp);
    eng_fuel_used[e] = 1000.0 * e;
  }
  frame();
  for (int e = 1; e <= 4; ++e) {
    const Row& row = rows[e];
    const double tx = COLUMN_TX[e], cx = COLUMN_CX[e];
    EXPECT_EQ(text_at(r(), tx, 75), row.psi_text) << e;
    EXPECT_EQ(text_colour_at(r(), tx, 75), row.psi_colour) << e;
    EXPECT_EQ(text_at(r(), tx, 130), row.temp_text) << e;
    EXPECT_EQ(text_colour_at(r(), tx, 130), row.temp_colour) << e;
    ASSERT_TRUE(needle(cx, 65) && needle(cx, 120)) << e;
    EXPECT_EQ(needle(cx, 65)->pen_argb, row.psi_colour) << e;
    EXPECT_EQ(needle(cx, 120)->pen_argb, row.temp_needle) << e;
    EXPECT_EQ(text_at(r(), tx - 5, 216), " " + std::to_string(1000 * e)) << e;
    EXPECT_EQ(text_colour_at(r(), tx - 5, 216), CYAN) << e;
  }
  const GfxPointF end = line_end(*needle(COLUMN_CX[3], 65));  // 300 psi held at the arc's end
  EXPECT_NEAR(end.x, COLUMN_CX[3] + 17.7, 0.6);
  EXPECT_NEAR(end.y, 65 - 17.7, 0.6);
}

TEST_F(C17EngineTest, TheHostsEnginesStayGreenInTheClimbAndAHotEngineColoursOnlyItself) {
  place({"3"});
  c17_mfd_instances[3].format = 10;
  script("set engines 4\nset ap_master 1\nset ap_altitude 15000\nset ap_vs 2500\nset ap_airspeed 280\nrun 30s");
  for (int e = 1; e <= 4; ++e) {
    EXPECT_EQ(text_colour_at(r(), COLUMN_TX[e], 105), GREEN) << e;
    EXPECT_EQ(text_colour_at(r(), COLUMN_TX[e], 215), GREEN) << e;
    EXPECT_EQ(text_colour_at(r(), COLUMN_TX[e], 55), GREEN) << e;
  }
  script("set eng2_egt_offset 100\nrun 2s");
  EXPECT_NE(text_colour_at(r(), COLUMN_TX[2], 215), GREEN);
  for (int e : {1, 3, 4}) EXPECT_EQ(text_colour_at(r(), COLUMN_TX[e], 215), GREEN) << e;
  c17_mfd_instances[3].format = 11;
  script("run 1f");
  for (int e = 1; e <= 4; ++e) EXPECT_EQ(text_colour_at(r(), COLUMN_TX[e], 75), GREEN) << e;
}

}  // namespace
}  // namespace c17_test
