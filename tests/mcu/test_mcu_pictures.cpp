// The sample scenario of the MCU pages on the sample MCU panel: every expectation
// holds and each page's picture is written under out/mcu/.
#include "host/panel_config.h"
#include "tests/mcu/mcu_fixture.h"

namespace {

TEST_F(McuTest, SampleScenarioShowsEveryPage) {
  simhost::PanelConfig panel;
  std::string error;
  ASSERT_TRUE(simhost::read_panel_config(folder_ + "/panel_mcu.cfg", &panel, &error)) << error;
  simhost::Scenario sc;
  ASSERT_TRUE(simhost::read_scenario(folder_ + "/scenarios/mcu_pages.txt", &sc, &error)) << error;
  ASSERT_TRUE(host_.attach_module(&Linkage, &ImportTable));
  host_.set_sim_folder(folder_);
  host_.set_panel(panel);
  host_.set_draw_recording(true);
  ASSERT_TRUE(host_.start(&error)) << error;
  ASSERT_TRUE(simhost::check_scenario(sc, host_, &error)) << error;
  const std::string out = VEK_MCU_OUT_DIR;
  std::filesystem::create_directories(out);
  simhost::ScenarioResult result;
  ASSERT_TRUE(simhost::run_scenario(sc, host_, out, &result, &error)) << error;
  for (const std::string& f : result.failures) ADD_FAILURE() << f;
  EXPECT_GE(result.expectations, 12);
  EXPECT_TRUE(std::filesystem::exists(out + "/mcu_apt_ai.png"));
}

}  // namespace
