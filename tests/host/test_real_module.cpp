// The module itself on the host, on a copy of the sample simulator folder and its panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/scenario.h"
#include "platform/gfx/gfx_recording.h"
#include "host/sim_host.h"
#include "platform/host/sim_token_ids.h"
#include "module/ipc_client.h"

namespace fs = std::filesystem;

namespace {

class RealModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vek_real_module_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    sim = tmpl;
    fs::copy(SAMPLE_SIM_DIR, sim, fs::copy_options::recursive);
    ASSERT_TRUE(host.attach_module(&Linkage, &ImportTable, "vek1"));
    host.set_sim_folder(sim);
    ASSERT_GT(host.receive_sim_folder_stations(), 10);
    std::string error;
    ASSERT_TRUE(host.load_panel(sim + "/panel.cfg", &error)) << error;
    ASSERT_TRUE(host.start(&error)) << error;
  }

  void TearDown() override {
    host.stop();
    std::error_code ec;
    fs::remove_all(sim, ec);
  }

  const simhost::Record* last(simhost::RecordKind kind, const std::string& name = "") const {
    const auto& recs = host.records();
    for (auto it = recs.rbegin(); it != recs.rend(); ++it)
      if (it->kind == kind && (name.empty() || it->name == name)) return &*it;
    return nullptr;
  }

  std::string sim;
  simhost::SimHost host;
};

}  // namespace

TEST_F(RealModuleTest, SamplePanelPlacesEveryGaugeAndTheServerPublishes) {
  EXPECT_EQ(host.gauges().size(), 11u);
  for (const char* name : {"SERVER", "HW_B737_ND", "HW_MD11_ND", "MD80_EHSI_NB", "HW_B737_EFIS_CNTR", "LNAV", "VNAV",
                           "BDRY", "WINDOW_SMITHS_FMS", "DEBUG", "SMITHS_FMS"})
    EXPECT_NE(host.find_gauge(name), nullptr) << name;
  // The navigation display draws into an image of its placement size.
  const simhost::PlacedGauge* nd = host.find_gauge("HW_B737_ND");
  ASSERT_NE(nd->drawn_image(), nullptr);
  EXPECT_EQ(nd->drawn_image()->width, 488);
  EXPECT_EQ(nd->drawn_image()->height, 604);

  int32_t kind = -1;
  uint32_t size = 0;
  EXPECT_NE(host.lookup_shared_var("Vek_FlightPlan", &kind, &size), nullptr);
  EXPECT_EQ(kind, SHARED_BLOCK);
  EXPECT_GT(size, 200u * 320u);
  EXPECT_NE(host.lookup_shared_var("vek_act_wpt_pos", &kind, &size), nullptr);

  host.run_seconds(2.0);
  EXPECT_EQ(host.tick(), 36);
  host.stop();
  EXPECT_EQ(host.lookup_shared_var("Vek_FlightPlan", nullptr, nullptr), nullptr);
}

TEST_F(RealModuleTest, WindowButtonTogglesTheCduWindow) {
  ASSERT_TRUE(host.window_visible(4012));
  std::string error;
  ASSERT_TRUE(host.click_index("WINDOW_SMITHS_FMS", 0, &error)) << error;
  EXPECT_FALSE(host.window_visible(4012));
  const simhost::Record* r = last(simhost::RecordKind::WindowChange);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->id, 4012);
  EXPECT_EQ(r->param, 0);
  ASSERT_TRUE(host.click_at("WINDOW_SMITHS_FMS", 20, 20, &error)) << error;
  EXPECT_TRUE(host.window_visible(4012));
}

TEST_F(RealModuleTest, VnavKeyEventReachesTheServerHandler) {
  host.run_frames(2);
  host.inject_key_event(KEY_VNAV_TOGGLE_EVENT, 0);
  // Without an active plan VNAV stays off, and the module publishes that.
  const simhost::Record* r = last(simhost::RecordKind::NamedVarWrite, "vek_vnav");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->value, 0.0);
}

TEST_F(RealModuleTest, DemoScenarioRunsToTheEnd) {
  simhost::Scenario sc;
  std::string error;
  ASSERT_TRUE(simhost::read_scenario(sim + "/scenarios/demo.txt", &sc, &error)) << error;
  ASSERT_TRUE(simhost::check_scenario(sc, host, &error)) << error;
  std::string out = sim + "/out";
  fs::create_directories(out);
  // Fewer frames a second keep the test quick: several ticks a frame.
  host.set_frame_rate(4);
  host.set_draw_recording(true);
  simhost::ScenarioResult result;
  ASSERT_TRUE(simhost::run_scenario(sc, host, out, &result, &error)) << error;
  EXPECT_EQ(result.expectations, 3);
  EXPECT_EQ(result.failed_expectations, 0) << result.failures[0];
  EXPECT_LT(host.frame(), 3000);
  for (const char* f : {"nd_start.png", "cdu_rte.png", "nd_climb.png", "md11_climb.png", "nd_level.png", "cdu_level.png",
                        "demo.log"})
    EXPECT_TRUE(fs::exists(out + "/" + f)) << f;
  // Level at the selected altitude on the selected heading.
  const auto& s = host.aircraft().state();
  EXPECT_DOUBLE_EQ(s.altitude_ft, 15000.0);
  EXPECT_NEAR(s.ap_heading, 200.0, 1e-9);
  EXPECT_TRUE(s.ap_mach_hold);
  EXPECT_EQ(s.sim_rate, 1.0);
  // NAV 1 was set to the Seattle VOR, now behind the aircraft to the north.
  EXPECT_TRUE(host.aircraft().nav1().receiving);
  EXPECT_EQ(host.aircraft().nav1().station.ident, "SEA");
  EXPECT_GT(host.aircraft().nav1().distance_nm, 40.0);
}

namespace {

bool run_script(simhost::SimHost& host, const std::string& text, simhost::ScenarioResult* result, std::string* error) {
  std::istringstream in(text);
  simhost::Scenario sc;
  if (!simhost::parse_scenario(in, "script", &sc, error)) return false;
  if (!simhost::check_scenario(sc, host, error)) return false;
  return simhost::run_scenario(sc, host, "/tmp", result, error);
}

}  // namespace

TEST_F(RealModuleTest, ScenarioCommandsReachNamedVariablesKeysAndTheIpcServer) {
  simhost::ScenarioResult result;
  std::string error;
  // Another gauge's command through a "_clicked" variable, read back as published.
  ASSERT_TRUE(run_script(host,
                         "var vek_nd_apt_clicked 1\nrun 2f\nexpect_var vek_nd_apt 1\nexpect_var vek_nd_apt_clicked 0\n"
                         "expect_var vek_nd_nav 1\n",
                         &result, &error))
      << error;
  EXPECT_EQ(result.expectations, 3);
  EXPECT_EQ(result.failed_expectations, 1);  // the navaid layer stayed off
  // The IPC server holds what the scenario writes, where the module's client reads it.
  ASSERT_TRUE(run_script(host, "ipc start\nipc i32 5116 3\nipc f64 5120 1850.5\nkey A\nkey ENTER down\nkey ENTER up\n",
                         &result, &error))
      << error;
  ASSERT_NE(ipc_open(), 0);
  int32_t stations = 0;
  double weight = 0.0;
  ASSERT_TRUE(ipc_read(5116, 4, &stations));
  ASSERT_TRUE(ipc_read(5120, 8, &weight));
  ipc_process();
  EXPECT_EQ(stations, 3);
  EXPECT_DOUBLE_EQ(weight, 1850.5);
  ipc_close();
  // Bad lines are refused with their line numbers.
  EXPECT_FALSE(run_script(host, "run 1f\nkey NOSUCHKEY\n", &result, &error));
  EXPECT_NE(error.find("script:2:"), std::string::npos) << error;
  EXPECT_FALSE(run_script(host, "ipc i32 x 1\n", &result, &error));
  EXPECT_FALSE(run_script(host, "var vek_x\n", &result, &error));
}

namespace {

// One flight on a fresh copy of the sample folder with the module loaded from its file:
// types `entry` on the CDU and returns the texts the CDU drew before and after.
struct Flight {
  std::vector<std::string> before, after;
};
Flight fly_loaded_module(const std::string& entry) {
  Flight flight;
  char tmpl[] = "/tmp/vek_reload_XXXXXX";
  EXPECT_NE(mkdtemp(tmpl), nullptr);
  std::string sim = tmpl;
  fs::copy(SAMPLE_SIM_DIR, sim, fs::copy_options::recursive);
  {
    simhost::SimHost host;
    std::string error;
    EXPECT_TRUE(host.load_module(VEK_GAU_PATH, &error)) << error;
    host.set_sim_folder(sim);
    EXPECT_TRUE(host.load_panel(sim + "/panel.cfg", &error)) << error;
    host.set_draw_recording(true);
    EXPECT_TRUE(host.start(&error)) << error;
    host.run_frames(2);
    auto texts = [&host] {
      const simhost::PlacedGauge* cdu = host.find_gauge("SMITHS_FMS");
      return cdu && cdu->drawn_image() ? gfx_recording_of(cdu->drawn_image())->texts() : std::vector<std::string>{};
    };
    flight.before = texts();
    EXPECT_TRUE(host.type_text("SMITHS_FMS", entry, &error)) << error;
    host.run_frames(2);
    flight.after = texts();
  }
  std::error_code ec;
  fs::remove_all(sim, ec);
  return flight;
}

bool drew(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

}  // namespace

// A host that lets the module go and loads it again in the same process gets the copy
// already in memory (the loader keeps it), and the module's init puts it back to its
// load-time state: the second flight does not see the first one's entry.
TEST(RealModuleReload, SecondLoadInOneProcessStartsFromTheLoadTimeState) {
  Flight first = fly_loaded_module("KSEA");
  EXPECT_FALSE(drew(first.before, "KSEA"));
  EXPECT_TRUE(drew(first.after, "KSEA"));
  Flight second = fly_loaded_module("");
  EXPECT_EQ(second.before, first.before);
  EXPECT_FALSE(drew(second.after, "KSEA"));
}
