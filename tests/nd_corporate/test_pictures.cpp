// The sample picture scenario of the Pro Line 4 MFD and the EFS 50 displays on their
// sample panel: the route flown with LNAV and VNAV while the panels are clicked; every
// expectation holds and every picture is written, under out/nd_corporate/.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/scenario.h"
#include "host/sim_host.h"
#include "platform/host/gauge_host.h"
#include "tests/common/sample_flight.h"

namespace fs = std::filesystem;

TEST(CorporatePictures, TheSampleScenariosFlyTheRouteAndWriteEveryPicture) {
  struct Case {
    const char* panel;
    const char* scenario;
    int32_t shots;
  };
  // ASSERTs end the lambda, leaving the next case to run.
  auto fly = [](const Case& c) {
    std::string sim;
    ASSERT_TRUE(sample_flight::copy_sample_sim(VEK_ND_SAMPLE_ROOT, "vek_corporate_", sim));
    const std::string out = std::string(VEK_ND_OUT_DIR) + "/nd_corporate";
    fs::create_directories(out);
    simhost::SimHost host;
    std::string error;
    ASSERT_TRUE(host.attach_module(&Linkage, &ImportTable, "vek1"));
    host.set_sim_folder(sim);
    host.receive_sim_folder_stations();
    ASSERT_TRUE(host.load_panel(sim + "/" + c.panel, &error)) << error;
    host.set_draw_recording(true);
    ASSERT_TRUE(host.start(&error)) << error;
    host.set_frame_rate(4);

    simhost::Scenario sc;
    ASSERT_TRUE(simhost::read_scenario(sim + "/scenarios/" + c.scenario, &sc, &error)) << error;
    ASSERT_TRUE(simhost::check_scenario(sc, host, &error)) << error;
    simhost::ScenarioResult result;
    ASSERT_TRUE(simhost::run_scenario(sc, host, out, &result, &error)) << error;
    EXPECT_EQ(result.failed_expectations, 0) << (result.failures.empty() ? "" : result.failures[0]);
    int32_t shots = 0;
    for (const simhost::ScenarioStep& st : sc.steps) {
      if (st.op != simhost::ScenarioOp::Shot) continue;
      ++shots;
      EXPECT_TRUE(fs::exists(out + "/" + st.text)) << st.text;
    }
    EXPECT_GE(shots, c.shots);
    sample_flight::stop_and_remove(host, sim);
  };
  for (const Case& c : {Case{"panel_proline4_efs50.cfg", "proline4_efs50.txt", 45},
                        Case{"panel_du1000_p1000.cfg", "du1000_p1000.txt", 40}}) {
    SCOPED_TRACE(c.scenario);
    fly(c);
  }
}
