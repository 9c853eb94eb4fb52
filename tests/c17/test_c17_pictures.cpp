// The sample mission on the airlifter's panel, flown through the host by its scenario,
// with the pictures of the displays written under out/c17/.
#include <filesystem>

#include "c17_fixture.h"

namespace c17_test {
namespace {

TEST(C17Pictures, SampleMissionTakeOffClimbDirectorAndIlsApproach) {
  std::string sim, error;
  ASSERT_TRUE(sample_flight::copy_sample_sim(VEK_C17_SAMPLE_ROOT, "vek_c17_pictures_", sim));
  const std::string out = std::string(VEK_C17_OUT_DIR) + "/c17";
  std::filesystem::create_directories(out);
  simhost::SimHost host;
  host.set_sim_folder(sim);
  ASSERT_TRUE(host.attach_module(&Linkage, &ImportTable));
  ASSERT_TRUE(host.load_panel(sim + "/panel_c17.cfg", &error)) << error;
  host.receive_sim_folder_stations();
  ASSERT_TRUE(host.start(&error)) << error;
  host.set_draw_recording(true);
  simhost::Scenario scenario;
  ASSERT_TRUE(simhost::read_scenario(sim + "/scenarios/c17_mission.txt", &scenario, &error)) << error;
  ASSERT_TRUE(simhost::check_scenario(scenario, host, &error)) << error;
  simhost::ScenarioResult result;
  ASSERT_TRUE(simhost::run_scenario(scenario, host, out, &result, &error)) << error;
  for (const std::string& f : result.failures) ADD_FAILURE() << f;
  EXPECT_GE(result.expectations, 10);
  for (const char* png : {"pfd_climb.png", "pfd_ils.png", "hsi_ils.png", "cfg_ground.png", "cfg_gear_moving.png",
                          "format4.png", "popup.png", "eng_thrust_takeoff.png", "route_format4.png",
                          "route_format5.png", "route_format3.png", "route_map6.png", "route_format3_tod.png",
                          "eng_dials_cruise.png", "eng_oil_cruise.png", "cfg_cruise.png", "pfd_cruise.png",
                          "eng_thrust_hot.png", "eng_dials_hot.png"})
    EXPECT_TRUE(std::filesystem::exists(out + "/" + png)) << png;
  sample_flight::stop_and_remove(host, sim);
}

}  // namespace
}  // namespace c17_test
