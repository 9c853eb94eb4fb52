// The MCU on the simulated host, on a copy of the sample simulator folder: keys are
// clicked through the gauge's rectangles, PC keys and other steps run as scenario
// lines, and the screen is read from the recording of what it shows.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "cdu/mcu/mcu.h"
#include "cdu/mcu/mcu_state.h"
#include "gauges/gauge_table.h"
#include "host/scenario.h"
#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"
#include "tests/common/sample_flight.h"

class McuTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sample_flight::copy_sample_sim(SAMPLE_SIM_DIR, "vek-mcu-", folder_)); }
  void TearDown() override { sample_flight::stop_and_remove(host_, folder_); }

  // MCU in its visible window 4001 at face size (and MCU_LM beside it when asked),
  // the LNAV button on the main panel.
  void start(bool with_lm = false) {
    ASSERT_TRUE(host_.attach_module(&Linkage, &ImportTable));
    host_.set_sim_folder(folder_);
    simhost::PanelConfig panel;
    simhost::PanelWindow main;
    main.ident = 0;
    main.visible = true;
    main.gauges.push_back({.module = "vek1", .gauge = "LNAV", .x = 0, .y = 0, .width = 40, .height = 40, .parameters = "Twinjet"});
    panel.windows.push_back(main);
    simhost::PanelWindow mcu;
    mcu.number = 1;
    mcu.ident = MCU_WINDOW;
    mcu.visible = true;
    mcu.gauges.push_back({.module = "vek1", .gauge = "MCU", .x = 0, .y = 0, .width = 464, .height = 360, .parameters = "Twinjet"});
    if (with_lm) mcu.gauges.push_back({.module = "vek1", .gauge = "MCU_LM", .x = 500, .y = 0, .width = 464, .height = 360, .parameters = "Twinjet"});
    panel.windows.push_back(mcu);
    host_.set_panel(panel);
    host_.set_draw_recording(true);
    std::string error;
    ASSERT_TRUE(host_.start(&error)) << error;
    frames(1);
  }

  // Clicks a key; the page acts on it in the next frame's draw.
  void press(int32_t key, int n = 1) {
    for (int i = 0; i < n; ++i) {
      std::string error;
      ASSERT_TRUE(host_.click_index("MCU", key, &error)) << error;
      frames(1);
    }
  }
  void frames(int n = 1) { host_.run_frames(n); }

  // Scenario lines ("key K", "set ...", "ipc ...").
  void script(const std::string& text) {
    std::istringstream in(text);
    simhost::Scenario sc;
    std::string error;
    ASSERT_TRUE(simhost::parse_scenario(in, "script", &sc, &error)) << error;
    simhost::ScenarioResult result;
    ASSERT_TRUE(simhost::run_scenario(sc, host_, folder_, &result, &error)) << error;
    for (const std::string& f : result.failures) ADD_FAILURE() << f;
  }
  // PC keys typed one after the other.
  void type(const std::string& text) {
    std::string lines;
    for (char c : text) lines += std::string("key ") + c + "\n";
    script(lines);
  }

  // The stored plan KSEAKPDX loaded from the FPLN page: page 2 for a frame, then 5.
  void load_sample_plan() {
    press(MCU_KEY_FPLN);
    press(MCU_KEY_ENTER);
    frames(2);
  }

  const GfxRecording* screen() const {
    const simhost::PlacedGauge* g = host_.find_gauge("MCU");
    return g && g->drawn_image() ? gfx_recording_of(g->drawn_image()) : nullptr;
  }
  bool shows(const std::string& text) const { return shows_in(screen(), text); }
  // Whether a text drawn in the recording holds `text`.
  static bool shows_in(const GfxRecording* r, const std::string& text) {
    if (!r) return false;
    for (const std::string& t : r->texts())
      if (t.find(text) != std::string::npos) return true;
    return false;
  }
  int entry_bars() const { return screen() ? screen()->count(GfxOp::FillPolygon, 0xFF800080) : 0; }

  std::string folder_;
  simhost::SimHost host_;
};
