// The airlifter's MFDs on the simulated host: a copy of the sample folder, the SERVER
// gauge with the airlifter's aircraft file, C17_MFD placements at their design size
// (246 x 241, so image pixels are design units) on window 0 and the pop-up window
// 4025, scenario lines, and stand-ins for the simulator variables the host's aircraft
// does not serve.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/scenario.h"
#include "module/display_state.h"
#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"
#include "tests/common/sample_flight.h"

namespace c17_test {

inline std::map<int32_t, double> token_overrides;
inline void (*host_read_token)(TokenVar*) = nullptr;

inline void read_token_with_overrides(TokenVar* var) {
  host_read_token(var);
  auto it = token_overrides.find(var->id);
  if (it != token_overrides.end()) var->value = it->second;
}

class C17Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sample_flight::copy_sample_sim(VEK_C17_SAMPLE_ROOT, "vek_c17_", sim_));
    host_.set_sim_folder(sim_);
    ASSERT_TRUE(host_.attach_module(&Linkage, &ImportTable));
    token_overrides.clear();
    // The display state at its start values, whatever an earlier test left.
    c17_mfd_mode = 1;
    for (int i = 1; i <= 4; ++i) c17_mfd_instances[i] = {i == 1 ? 1 : i == 2 ? 3 : i == 3 ? 9 : 10, 9, 0};
    host_read_token = host_.service_table()->read_token_var;
    host_.service_table()->read_token_var = read_token_with_overrides;
  }
  void TearDown() override {
    token_overrides.clear();
    sample_flight::stop_and_remove(host_, sim_);
  }

  // C17_MFD placements by parameter on window 0 and on the hidden pop-up window, in the
  // air at 5000 ft over the sample folder's airport with the avionics on.
  void place(const std::vector<std::string>& main, const std::vector<std::string>& popup = {}) {
    simhost::PanelConfig panel;
    simhost::PanelWindow w0 = sample_flight::server_window();
    w0.gauges[0].parameters = "Airlifter";
    for (const std::string& p : main) w0.gauges.push_back({"vek1", "C17_MFD", 0, 0, 246, 241, p});
    w0.gauges.push_back({"vek1", "C17_MFCP", 0, 0, 440, 520, "Airlifter"});
    simhost::PanelWindow w1;
    w1.number = 1;
    w1.ident = 4025;
    for (const std::string& p : popup) w1.gauges.push_back({"vek1", "C17_MFD", 0, 0, 246, 241, p});
    panel.windows = {w0, w1};
    host_.set_panel(panel);
    host_.receive_sim_folder_stations();
    std::string error;
    ASSERT_TRUE(host_.start(&error)) << error;
    host_.set_draw_recording(true);
    script("set lat 47.6\nset lon -122.3\nset altitude 5000\nset heading 0\nset ias 200\nrun 1s");
  }

  // Runs scenario lines on the host.
  void script(const std::string& lines) {
    std::istringstream in(lines);
    simhost::Scenario sc;
    simhost::ScenarioResult result;
    std::string error;
    ASSERT_TRUE(simhost::parse_scenario(in, "test", &sc, &error)) << error;
    ASSERT_TRUE(simhost::run_scenario(sc, host_, "", &result, &error)) << error;
    EXPECT_EQ(result.failed_expectations, 0) << (result.failures.empty() ? "" : result.failures[0]);
  }

  simhost::PlacedGauge* mfd(const std::string& parameter) {
    simhost::PlacedGauge* g = host_.find_gauge("C17_MFD:" + parameter);
    if (!g) ADD_FAILURE() << "no C17_MFD placed with \"" << parameter << "\"";
    return g;
  }
  const GfxRecording& rec(const std::string& parameter) { return *gfx_recording_of(mfd(parameter)->drawn_image()); }
  bool has(const std::string& parameter, const std::string& text) { return rec(parameter).has_text(text); }
  // The page a placement drew last.
  std::string page(const std::string& parameter) {
    const GfxRecording& r = rec(parameter);
    if (r.cleared_transparent() && r.primitive_count() == 0) return "transparent";
    if (r.has_text("INDEX 100")) return "CFG";
    if (r.has_text("CRS")) return "HSI";
    for (const std::string& t : r.texts())
      if (t.rfind("VV ", 0) == 0) return "PFD";
    if (r.has_text("ENGINE OIL")) return "oil";
    if (r.has_text("FF PPH")) return "thrust";
    if (r.has_text("PPH")) return "dials";
    for (const std::string& t : r.texts())
      if (t.size() > 3 && t.compare(t.size() - 3, 3, " NM") == 0) return "map";
    // The heading box's "M" sits lower than the readout of formats 3 and 5.
    for (const GfxTextItem& t : r.text_items())
      if (t.text == "M") return t.device.y > 15 ? "heading box" : "arc";
    return r.primitive_count() == 1 ? "background" : "arc";
  }

  std::string sim_;
  simhost::SimHost host_;
};

}  // namespace c17_test
