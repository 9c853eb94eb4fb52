// The mission CDU's harness gauge on the simulated host, on a copy of the sample
// simulator folder: keys go through the harness, pages are read from the recording of
// its last draw, pictures go under out/c17/.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"

class C17CduTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Presses a harness key and runs one frame, in which the page acts.
  void press(const std::string& key);
  void type(const std::string& text);
  // An entry: the scratchpad and message line emptied, `text` typed, `key` pressed.
  void enter(const std::string& text, const std::string& key);
  void frames(int n = 1) { host_.run_frames(n); }
  // Text drawn with its layout point at (x, y), "" when none; colour of that text.
  std::string at(double x, double y) const;
  uint32_t colour_at(double x, double y) const;
  bool has(const std::string& text) const;
  // Every pixel of the last draw transparent.
  bool blank() const;
  const GfxRecording* screen() const;
  // The last drawing of `gauge` written to out/c17/<name>.png.
  void picture(const std::string& name, const std::string& gauge = "C17_CDU_HARNESS") const;
  // One frame, then its picture out/c17/<name>.png.
  void shot(const std::string& name);
  // The sample plan KSEA-KPDX loaded from STORED FLIGHT PLANS into the active route.
  void load_sample_plan();
  // In the air on the autopilot with sequencing on, from ALKIS towards CARRO, until ALKIS
  // is passed and the slow values are sampled (sequencing is put back after the test).
  void fly_past_alkis();
  // KSEA OLM V23 BTG KPDX entered on RTE (entered, not activated), scratchpad empty.
  void enter_airway_route();
  // ARRIVALS with the destination's lists built afresh, as the Smiths ARR key builds them.
  void open_arrivals();
  // Gauges placed beside the harness on window 0; none here.
  virtual void add_gauges(simhost::PanelWindow&) {}

  std::string folder_;
  int32_t sequence_at_start_ = 0;
  simhost::SimHost host_;
};

// The same unit beside a C17_MFD ("2", at its design size 246 x 241) and the LNAV and
// VNAV buttons: the maps of the flight the unit sets up.
class C17CduMfdTest : public C17CduTest {
 protected:
  void add_gauges(simhost::PanelWindow& main) override;
  // The display at map `format` and `range` for two frames, written to out/c17/<name>.png.
  const GfxRecording& map_shot(const std::string& name, int32_t format, double range);
  // LNAV and VNAV engaged by clicking their buttons on the host.
  void engage_lnav_vnav();
};
