// The attitude flight of the sample folder on its panel: take-off, climb, turn,
// cruise and ILS, its expectations met and its pictures written under out/attitude/.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/scenario.h"
#include "host/sim_host.h"
#include "platform/host/gauge_host.h"
#include "tests/common/sample_flight.h"

namespace fs = std::filesystem;

TEST(AttitudePictures, SampleFlightFromTakeOffToMinimums) {
  std::string sim;
  ASSERT_TRUE(sample_flight::copy_sample_sim(VEK_ATTITUDE_SAMPLE_ROOT, "vek_attitude_", sim));
  const std::string out = std::string(VEK_ATTITUDE_OUT_DIR) + "/attitude";
  fs::create_directories(out);
  simhost::SimHost host;
  host.set_sim_folder(sim);
  std::string error;
  ASSERT_TRUE(host.load_panel(sim + "/panel_attitude.cfg", &error)) << error;
  ASSERT_TRUE(host.attach_module(&Linkage, &ImportTable, "vek1"));
  host.receive_sim_folder_stations();
  ASSERT_TRUE(host.start(&error)) << error;
  simhost::Scenario sc;
  ASSERT_TRUE(simhost::read_scenario(sim + "/scenarios/attitude_flight.txt", &sc, &error)) << error;
  ASSERT_TRUE(simhost::check_scenario(sc, host, &error)) << error;
  // Fewer frames a second keep the test quick: several ticks a frame.
  host.set_frame_rate(4);
  host.set_draw_recording(true);
  simhost::ScenarioResult result;
  ASSERT_TRUE(simhost::run_scenario(sc, host, out, &result, &error)) << error;
  EXPECT_EQ(result.expectations, 9);
  EXPECT_EQ(result.failed_expectations, 0) << (result.failures.empty() ? "" : result.failures[0]);
  for (const char* stage : {"takeoff", "climb", "turn", "cruise", "approach", "minimums"})
    for (const char* display : {"efs50", "a320", "b777"})
      EXPECT_TRUE(fs::exists(out + "/" + display + "_" + stage + ".png")) << display << " " << stage;
  sample_flight::stop_and_remove(host, sim);
}
