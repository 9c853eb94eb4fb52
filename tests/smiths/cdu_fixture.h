// The CDU on the simulated host, on a copy of the sample simulator folder: keys are
// pressed through the gauge's click rectangles and the page is read from the
// recording of the screen's last draw.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cdu/smiths/smiths_cdu.h"
#include "host/scenario.h"
#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"
#include "platform/host/gauge_host.h"

class CduTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vek-smiths-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    folder_ = tmpl;
    std::filesystem::copy(SAMPLE_SIM_DIR, folder_, std::filesystem::copy_options::recursive);
  }
  void TearDown() override {
    host_.stop();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  // Places SMITHS_FMS (and SMITHS_FMS_BR when asked) in the visible CDU window 4012.
  void start(bool with_br = false);

  // Presses a key by its face label ("RTE", "L1", "R6", "EXEC", "DEL", "CLR", "SP",
  // "+/-", "PREV", "NEXT", "SCREEN" ...) and runs two frames: the page acts in the
  // first, and lights, titles and page numbers drawn before the act settle in the second.
  void press(const std::string& key, const std::string& gauge = "SMITHS_FMS");
  // Types through the keys that name the characters, one frame after each.
  void type(const std::string& text, const std::string& gauge = "SMITHS_FMS");
  // Types and presses a line key: the usual entry.
  void enter(const std::string& text, const std::string& key) {
    type(text);
    press(key);
  }
  void frames(int n = 1) { host_.run_frames(n); }
  // The company route KSEAKPDX entered on RTE, activated and executed (ACT).
  void execute_company_route() {
    press("RTE");
    enter("KSEAKPDX", "L2");
    press("R6");
    press("EXEC");
  }

  // What the screen drew in its last draw.
  const GfxRecording* screen(const std::string& gauge = "SMITHS_FMS") const;
  std::vector<GfxTextItem> items(const std::string& gauge = "SMITHS_FMS") const;
  bool has(const std::string& text, const std::string& gauge = "SMITHS_FMS") const;
  // Text drawn with its layout point at (x, y), "" when none.
  std::string at(double x, double y, const std::string& gauge = "SMITHS_FMS") const;
  // Texts on one line (same y), sorted by x and joined with " | ".
  std::string line(double y, const std::string& gauge = "SMITHS_FMS") const;
  std::string bottom() const { return at(0, 227); }
  std::string title() const { return at(63, 0); }
  // Empty entry-box outlines drawn.
  int boxes() const;
  bool light_on(int element, const std::string& gauge = "SMITHS_FMS") const;

  std::string folder_;
  simhost::SimHost host_;
};

// The sample panel on a copy of the sample simulator folder with the drawing recorded,
// running a script of its scenarios folder; pictures go to out().
class SampleScenario {
 public:
  SampleScenario();
  ~SampleScenario();
  // Reads and checks scenario `name`; false with the reason in `error`.
  bool open(const std::string& name, std::string* error);
  // Runs steps [from, to) of the script (to = -1: the rest).
  bool run(std::size_t from, std::ptrdiff_t to, simhost::ScenarioResult* result, std::string* error);
  std::string out() const { return sim_ + "/out"; }

  simhost::SimHost host;
  simhost::Scenario script;

 private:
  std::string sim_;
};
