// Scenario scripts: checked before they run, then flown on the host.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/draw_recording.h"
#include "host/panel_config.h"
#include "host/scenario.h"
#include "platform/host/sim_token_ids.h"
#include "tests/host/host_fixture.h"

using simhost::Scenario;

namespace {

bool parse(const std::string& text, Scenario* sc, std::string* error) {
  std::istringstream in(text);
  return simhost::parse_scenario(in, "s.txt", sc, error);
}

double angle_diff(double a, double b) { return std::fabs(std::fmod(a - b + 540.0, 360.0) - 180.0); }

}  // namespace

TEST_F(FakeHostTest, ScenarioEngagingTheAutopilotTurnsClimbsAndAccelerates) {
  start();
  Scenario sc;
  std::string error;
  ASSERT_TRUE(simhost::read_scenario(std::string(HOST_TEST_DATA) + "/autopilot.txt", &sc, &error)) << error;
  ASSERT_TRUE(simhost::check_scenario(sc, host, &error)) << error;
  simhost::ScenarioResult result;
  ASSERT_TRUE(simhost::run_scenario(sc, host, "", &result, &error)) << error;
  const auto& s = host.aircraft().state();

  // After ten seconds: turning right within the bank limit, climbing at 2000 ft/min,
  // accelerating at 2 kt/s.
  EXPECT_GT(s.heading_true, 10.0);
  EXPECT_LT(s.heading_true, 30.0);
  EXPECT_GT(s.bank_deg, 0.0);
  EXPECT_LE(s.bank_deg, 25.0);
  // The climb rate builds up at 400 ft/min a second.
  EXPECT_NEAR(s.altitude_ft, 5000.0 + 2000.0 / 6.0 - 2000.0 * 2.5 / 60.0, 5.0);
  EXPECT_NEAR(s.ias_kt, 270.0, 1.0);
  // The events went to the module's handler too.
  EXPECT_EQ(fake_log.events,
            (std::vector<int>{KEY_AP_HEADING_SET, KEY_AP_ALTITUDE_SET, KEY_AP_VS_SET, KEY_AP_AIRSPEED_SET}));

  // Four more minutes: on heading 090 magnetic, level at 12000 ft, at 300 kt.
  host.run_seconds(240.0);
  EXPECT_LT(angle_diff(s.heading_true, 90.0 + host.aircraft().magnetic_variation()), 0.01);
  EXPECT_DOUBLE_EQ(s.altitude_ft, 12000.0);
  EXPECT_DOUBLE_EQ(s.ias_kt, 300.0);
  EXPECT_GT(s.lon, -122.0 + 0.2);
  // As the module reads it.
  TokenVar t{};
  t.id = TOK_AP_HEADING;
  services()->read_token_var(&t);
  EXPECT_EQ(t.value, 90.0);
  double alt = 0.0;
  services()->execute_calculator_code("(A:INDICATED ALTITUDE, feet)", &alt);
  EXPECT_DOUBLE_EQ(alt, 12000.0);
}

TEST(ScenarioParse, ABadLineIsRefusedWithItsLineNumber) {
  Scenario sc;
  std::string error;
  ASSERT_FALSE(simhost::read_scenario(std::string(HOST_TEST_DATA) + "/bad_line.txt", &sc, &error));
  EXPECT_NE(error.find("bad_line.txt:4: run needs an amount"), std::string::npos) << error;

  struct Bad {
    const char* line;
    const char* message;
  } bad[] = {
      {"run 30x", "run needs an amount"},
      {"run -5s", "run needs an amount"},
      {"run 0f", "run frames must be"},
      {"run 49h", "run needs an amount"},
      {"run 3000m", "limited to 48 hours"},
      {"click FAKE_ND", "click needs"},
      {"click FAKE_ND -1", "click needs"},
      {"click FAKE_ND 1 2 3", "click needs"},
      {"type FAKE_ND", "type needs"},
      {"event", "event needs"},
      {"event 0x101FA abc", "event needs"},
      {"event 0x101FA 1 2", "event needs"},
      {"set nothing 1", "unknown setting \"nothing\""},
      {"set lat 95", "lat must be a number from -90 to 90"},
      {"set ias fast", "ias must be a number"},
      {"set lat", "set needs NAME VALUE"},
      {"set zulu_time 24:00", "zulu_time must be HH:MM"},
      {"set zulu_time 12:60", "zulu_time must be HH:MM"},
      {"set zulu_time 12:30x", "zulu_time must be HH:MM"},
      {"set date 2007-366", "date must be YYYY-DDD"},
      {"set sim_rate 0", "sim_rate must be"},
      {"window 4012 open", "window needs"},
      {"window x show", "window needs"},
      {"shot FAKE_ND ../x.png", "plain file name"},
      {"shot FAKE_ND sub/x.png", "plain file name"},
      {"shot FAKE_ND x.txt", "shot needs GAUGE FILE.png"},
      {"expect FAKE_ND TEXT", "expect needs GAUGE \"TEXT\""},
      {"expect FAKE_ND \"", "expect needs"},
      {"log ../escape.log", "plain file name"},
      {"log", "log needs FILE"},
      {"track path.csv", "track needs FILE SECONDS"},
      {"track ../path.csv 5", "track needs FILE SECONDS"},
      {"track path.csv 0", "track needs FILE SECONDS"},
      {"track path.csv 5 7", "track needs FILE SECONDS"},
      {"gps ABCDEFGH 1 2", "gps needs"},
      {"gps KSEA 47", "gps needs"},
      {"frobnicate now", "unknown command \"frobnicate\""},
  };
  for (const Bad& b : bad) {
    std::string text = "# header\n\nrun 1f\n" + std::string(b.line) + "\nrun 1f\n";
    error.clear();
    EXPECT_FALSE(parse(text, &sc, &error)) << b.line;
    EXPECT_EQ(error.rfind("s.txt:4: ", 0), 0u) << b.line << " -> " << error;
    EXPECT_NE(error.find(b.message), std::string::npos) << b.line << " -> " << error;
  }
}

TEST(ScenarioParse, AByteOrderMarkAndWindowsLineEndsAreAccepted) {
  Scenario sc;
  std::string error;
  ASSERT_TRUE(parse("\xEF\xBB\xBFrun 2f\r\n# note\r\nset ias 250\r\n", &sc, &error)) << error;
  ASSERT_EQ(sc.steps.size(), 2u);
  EXPECT_EQ(sc.steps[0].frames, 2);
  EXPECT_EQ(sc.steps[1].line, 3);
  simhost::PanelConfig panel;
  std::istringstream cfg("\xEF\xBB\xBF[Window00]\r\nident=4012\r\nvisible=1\r\n");
  ASSERT_TRUE(simhost::parse_panel_config(cfg, "p.cfg", &panel, &error)) << error;
  ASSERT_EQ(panel.windows.size(), 1u);
  EXPECT_EQ(panel.windows[0].ident, 4012);
  EXPECT_TRUE(panel.windows[0].visible);
}

TEST(ScenarioParse, ReadsEveryCommand) {
  Scenario sc;
  std::string error;
  ASSERT_TRUE(parse("run 30s\nrun 2m\nrun 1.5s\nrun 10f\nclick G 3\nclick G 10 20\ntype G \"KLAX KSFO\"\ntype G N123\n"
                    "event 0x101FA 270\nevent 65560\nevent 0x100AC 0x11390\nevent 1 -5\nset zulu_time 23:59\n"
                    "set date 2008-366\nset ap_master 1\nwindow 4012 hide\nshot G nd.png\nexpect G \"HDG 090\"\n"
                    "log run.log\ngps KSEA 47.449 -122.309\ngps clear\r\n",
                    &sc, &error))
      << error;
  ASSERT_EQ(sc.steps.size(), 21u);
  EXPECT_EQ(sc.steps[0].seconds, 30.0);
  EXPECT_EQ(sc.steps[1].seconds, 120.0);
  EXPECT_EQ(sc.steps[2].seconds, 1.5);
  EXPECT_EQ(sc.steps[3].frames, 10);
  EXPECT_EQ(sc.steps[4].op, simhost::ScenarioOp::ClickIndex);
  EXPECT_EQ(sc.steps[5].op, simhost::ScenarioOp::ClickAt);
  EXPECT_EQ(sc.steps[5].b, 20);
  EXPECT_EQ(sc.steps[6].text, "KLAX KSFO");
  EXPECT_EQ(sc.steps[7].text, "N123");
  EXPECT_EQ(sc.steps[8].a, 0x101FA);
  EXPECT_EQ(sc.steps[8].b, 270);
  EXPECT_EQ(sc.steps[9].a, 65560);
  EXPECT_EQ(sc.steps[9].b, 0);
  EXPECT_EQ(sc.steps[10].b, 0x11390);
  EXPECT_EQ(sc.steps[11].b, -5);
  EXPECT_EQ(sc.steps[12].i1, 23);
  EXPECT_EQ(sc.steps[12].i2, 59);
  EXPECT_EQ(sc.steps[13].i2, 366);
  EXPECT_EQ(sc.steps[15].b, 0);
  EXPECT_EQ(sc.steps[17].text, "HDG 090");
  EXPECT_EQ(sc.steps[19].value2, -122.309);
  EXPECT_EQ(sc.steps[20].op, simhost::ScenarioOp::GpsClear);
  EXPECT_EQ(sc.steps[20].line, 21);
}

TEST_F(FakeHostTest, ScenarioCheckRefusesWhatThePanelCannotDo) {
  start();
  struct Bad {
    const char* line;
    const char* message;
  } bad[] = {
      {"click NOPE 0", "no gauge NOPE on the panel"},
      {"click FAKE_ND 4", "has 4 click rectangles, no index 4"},
      {"click FAKE_ND 2 2", "no click rectangle of FAKE_ND at 2 2"},
      {"click FAKE_ND 400 10", "outside gauge FAKE_ND"},
      {"type FAKE_ND A1Z", "no key for 'Z'"},
      {"window 777 show", "no panel window with ident 777"},
      {"shot FAKE_SERVER s.png", "draws no image"},
      {"expect NOPE \"X\"", "no gauge NOPE"},
  };
  for (const Bad& b : bad) {
    Scenario sc;
    std::string error;
    ASSERT_TRUE(parse(std::string("run 1f\n") + b.line + "\n", &sc, &error)) << error;
    EXPECT_FALSE(simhost::check_scenario(sc, host, &error)) << b.line;
    EXPECT_EQ(error.rfind("s.txt:2: ", 0), 0u) << error;
    EXPECT_NE(error.find(b.message), std::string::npos) << error;
  }
  EXPECT_EQ(host.frame(), 0);  // nothing ran
}

TEST_F(FakeHostTest, ScenarioRunsClicksWindowsShotsAndLogs) {
  start();
  TempDir dir;
  const std::string& out = dir.path;
  Scenario sc;
  std::string error;
  ASSERT_TRUE(parse("log run.log\ntrack path.csv 0.5\nset sim_rate 2\nrun 1s\nclick FAKE_ND 300 120\nwindow 0 hide\n"
                    "type FAKE_ND a1\nevent 0x10338\ngps KSEA 47.449 -122.309\nshot FAKE_ND nd.png\nrun 2f\n"
                    "expect FAKE_ND \"HDG\"\nrun 1f\n",
                    &sc, &error))
      << error;
  ASSERT_TRUE(simhost::check_scenario(sc, host, &error)) << error;
  simhost::ScenarioResult result;
  ASSERT_TRUE(simhost::run_scenario(sc, host, out, &result, &error)) << error;
  EXPECT_EQ(host.tick(), 36 + 2 * 2 + 2 * 2 + 2);
  EXPECT_EQ(fake_log.clicks, (std::vector<std::string>{"space", "a", "1"}));
  EXPECT_TRUE(host.window_visible(4012));
  EXPECT_FALSE(host.window_visible(0));
  EXPECT_EQ(host.named_var("fake_vnav"), 1.0);
  EXPECT_EQ(host.gps_route().count, 1);

  // The fake module draws no text: the expectation fails, the run goes on.
  EXPECT_EQ(result.expectations, 1);
  EXPECT_EQ(result.failed_expectations, 1);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].rfind("s.txt:12: expect FAKE_ND \"HDG\": ", 0), 0u) << result.failures[0];

  std::ifstream png(out + "/nd.png", std::ios::binary);
  char sig[4] = {};
  png.read(sig, 4);
  EXPECT_EQ(std::string(sig + 1, 3), "PNG");
  std::ifstream log(out + "/run.log");
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("click FAKE_ND 3"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("window 4012 shown"), std::string::npos);
  EXPECT_NE(text.str().find("window 0 hidden"), std::string::npos);
  EXPECT_NE(text.str().find("event 0x10338 0 (not applied)"), std::string::npos);
  EXPECT_NE(text.str().find("named fake_vnav = 1"), std::string::npos);

  // The path: a row at the start and one at the first frame of each half second after it.
  std::ifstream track(out + "/path.csv");
  std::vector<std::string> rows;
  for (std::string row; std::getline(track, row);) rows.push_back(row);
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(rows[0], "t,lat,lon,alt,ias,hdg_true,vs,active,lnav,vnav");
  EXPECT_EQ(rows.size(), 1u + 1u + static_cast<size_t>(host.sim_seconds() / 0.5 + 1e-6)) << rows.back();
  double t2 = std::stod(rows[2]);
  EXPECT_TRUE(t2 >= 0.5 && t2 < 0.5 + 2.0 / 18 + 0.05) << rows[2];
}

TEST_F(FakeHostTest, ScenarioStopsAtAStepThatCannotBeCarriedOut) {
  start();
  Scenario sc;
  std::string error;
  ASSERT_TRUE(parse("run 1f\nshot FAKE_ND nd.png\nrun 5f\n", &sc, &error));
  simhost::ScenarioResult result;
  EXPECT_FALSE(simhost::run_scenario(sc, host, "/nonexistent-folder", &result, &error));
  EXPECT_EQ(error.rfind("s.txt:2: ", 0), 0u) << error;
  EXPECT_EQ(host.frame(), 1);
}

TEST_F(FakeHostTest, ExpectSeesOnlyTheTextsOfTheLastDraw) {
  ASSERT_TRUE(simhost::draw_recording_available());
  host.set_draw_recording(true);
  start();
  host.run_frames(1);
  std::string why;
  EXPECT_TRUE(simhost::gauge_drew_text(host, "FAKE_ND", "TICK 1", &why)) << why;
  EXPECT_TRUE(simhost::gauge_drew_text(host, "FAKE_ND", "TICK", &why)) << why;  // part of a text
  EXPECT_FALSE(simhost::gauge_drew_text(host, "FAKE_ND", "TICK 2", &why));
  EXPECT_EQ(why, "not drawn in the last draw");
  host.run_frames(1);
  EXPECT_TRUE(simhost::gauge_drew_text(host, "FAKE_ND", "TICK 2", &why)) << why;
  EXPECT_FALSE(simhost::gauge_drew_text(host, "FAKE_ND", "TICK 1", &why));
  // The server draws nothing that is recorded.
  EXPECT_FALSE(simhost::gauge_drew_text(host, "FAKE_SERVER", "TICK", &why));
  EXPECT_EQ(why, "the gauge's drawing is not recorded");

  Scenario sc;
  std::string error;
  ASSERT_TRUE(parse("run 1f\nexpect FAKE_ND \"TICK 3\"\nexpect FAKE_ND \"TICK 2\"\nrun 2f\nexpect FAKE_ND \"TICK 5\"\n",
                    &sc, &error));
  simhost::ScenarioResult result;
  ASSERT_TRUE(simhost::run_scenario(sc, host, "", &result, &error)) << error;
  EXPECT_EQ(result.expectations, 3);
  EXPECT_EQ(result.failed_expectations, 1);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0], "s.txt:3: expect FAKE_ND \"TICK 2\": not drawn in the last draw");
}
