// The GNS-XLS on the simulated host, on a copy of the sample simulator folder: keys are
// clicked through the gauge's rectangles and the page is read from the recording of the
// screen's last draw (design units of the 495 x 400 canvas).
#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "../common/module_fixture.h"
#include "cdu/gnsxls/gnsxls.h"
#include "flightplan/flight_plan.h"
#include "platform/gfx/gfx_recording.h"

class GnsxlsTest : public ModuleTest {
 protected:
  GnsxlsTest() : ModuleTest("/tmp/vek-gnsxls-XXXXXX", 495) {}

  void SetUp() override {
    ModuleTest::SetUp();
    std::filesystem::copy(SAMPLE_SIM_DIR, folder_, std::filesystem::copy_options::recursive);
  }

  void start_unit(const std::vector<GaugeAt>& gauges = {{"GNSXLS", "Twinjet"}}) {
    host_.set_draw_recording(true);
    start(gauges);
    host_.run_seconds(1);  // the update samples the avionics power
  }

  // Clicks a key by its name ("NAV", "L1", "R5", "ENTER", "CLR", ...) without a frame.
  void click(const std::string& key, const std::string& gauge = "GNSXLS") {
    static const std::map<std::string, int> keys = {
        {"NAV", 0},   {"VNAV", 1}, {"FPL", 2},  {"PLAN", 3},  {"HOLD", 4},  {"L1", 5},   {"L2", 6},
        {"L3", 7},    {"L4", 8},   {"L5", 9},   {"R1", 10},   {"R2", 11},   {"R3", 12},  {"R4", 13},
        {"R5", 14},   {"PREV", 15}, {"NEXT", 16}, {"DIRECT", 17}, {"ENTER", 22}, {"CLR", 46}, {"WINDOW", 58}};
    std::string error;
    ASSERT_TRUE(host_.click_index(gauge, keys.at(key), &error)) << error;
  }
  // Clicks, then one frame: the page acts on the key.
  void press(const std::string& key) {
    click(key);
    frames(1);
  }
  void type(const std::string& text) {
    std::string error;
    ASSERT_TRUE(host_.type_text("GNSXLS", text, &error)) << error;
  }
  void frames(int n) { host_.run_frames(n); }

  // From the start page: NEXT FPL, the list's last entry (R2 twice with one stored plan).
  void open_next_fpl() {
    press("R2");
    press("R2");
    press("ENTER");
    frames(1);
  }
  // Types an ident into the open row and confirms the first candidate.
  void add_fix(const std::string& ident) {
    type(ident);
    press("ENTER");
    press("ENTER");
  }
  // KSEA SEA, V23 to BTG, KPDX, activated.
  void build_route() {
    open_next_fpl();
    add_fix("KSEA");
    add_fix("SEA");
    type("#V23");
    press("ENTER");
    press("L1");  // BTG, the airway's first fix
    press("ENTER");
    press("NEXT");
    press("L1");
    add_fix("KPDX");
    press("R5");
    press("ENTER");
    frames(1);
  }

  const GfxRecording* screen(const std::string& gauge = "GNSXLS") const {
    const simhost::PlacedGauge* g = host_.find_gauge(gauge);
    return g && g->drawn_image() ? gfx_recording_of(g->drawn_image()) : nullptr;
  }
  std::vector<GfxTextItem> items() const {
    const GfxRecording* r = screen();
    return r ? r->text_items() : std::vector<GfxTextItem>{};
  }
  bool has(const std::string& text) const {
    const GfxRecording* r = screen();
    return r && r->has_text(text);
  }
  // Text drawn at (x, y), "" when none.
  std::string at(double x, double y) const {
    for (const GfxTextItem& t : items())
      if (std::fabs(t.world.x - x) < 0.01 && std::fabs(t.world.y - y) < 0.01) return t.text;
    return "";
  }
  uint32_t colour_at(double x, double y) const {
    for (const GfxTextItem& t : items())
      if (std::fabs(t.world.x - x) < 0.01 && std::fabs(t.world.y - y) < 0.01) return t.argb;
    return 0;
  }
  // Texts on one line, by x, joined with " | ".
  std::string line(double y) const {
    std::vector<GfxTextItem> row;
    for (const GfxTextItem& t : items())
      if (std::fabs(t.world.y - y) < 0.01) row.push_back(t);
    std::stable_sort(row.begin(), row.end(), [](const auto& a, const auto& b) { return a.world.x < b.world.x; });
    std::string s;
    for (const GfxTextItem& t : row) s += (s.empty() ? "" : " | ") + t.text;
    return s;
  }
  int boxes() const {
    const GfxRecording* r = screen();
    return r ? r->count(GfxOp::FillPolygon, 0xFFFFFF00) : 0;
  }
  std::vector<std::string> active_idents() const {
    std::vector<std::string> v;
    for (int i = 0; i <= fpl_active_last; ++i) v.push_back(fpl_active[i].ident);
    return v;
  }
};

constexpr uint32_t GREEN = 0xFF00FA00, YELLOW = 0xFFFFFF00, MAGENTA = 0xFFFF13D5, CYAN = 0xFF02A7EB;
