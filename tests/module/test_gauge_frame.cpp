#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "gauges/gauge_frame.h"
#include "gauges/gauge_table.h"
#include "module/module_paths.h"
#include "module/trace_file.h"
#include "tests/common/module_fixture.h"

namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(GaugeTable, ListsEveryGaugeInOrderWithItsCallback) {
  const char* expected[] = {
      "HW_B737_ND",        "HW_B737_ND_BR",     "HW_B737_ND_NB",     "HW_MD11_ND",      "HW_MD11_ND_NB",
      "MD80_EHSI_NB",      "EFS50_EHSI",        "EFS50_EHSI_NB",     "EFS50_TCAS",      "DU_1000_EHSI",
      "DU_1000_EHSI_NB",   "PROLINE4_MFD",      "PROLINE4_MFD_NB",   "P1000_MFD",       "P1000_MFD_NB",
      "EFS50_EADI",        "EFS50_EADI_NB",     "A320_EADI_NB",      "B777_PFD_NB",     "C17_MFD",
      "SMITHS_FMS",        "SMITHS_FMS_BR",     "GNSXLS",            "GNSXLS_LM",       "MCU",
      "MCU_LM",            "HW_B737_EFIS_CNTR", "HW_B737_EFIS_CNTR_BR", "MD11_EFIS_CTRL", "MD80_EHSI_CTRL",
      "EFS50_EHSI_CNTR",   "EFS50_EHSI_CNTR_LM", "PROLINE4_MFD_CTRL", "PROLINE4_AUX_CTRL", "A300_EFIS_CTRL",
      "P1000_MFD_CNTR",    "P1000_MFD_NB_CNTR", "C17_MFCP",          "SERVER",          "DEBUG",
      "LNAV",              "VNAV",              "BDRY",              "WINDOW_MCU",      "WINDOW_GNSXLS",
      "WINDOW_SMITHS_FMS", "WINDOW_C17_MFD",
  };
  ASSERT_EQ(std::size(expected), static_cast<size_t>(gauge_table_size));
  GaugeHeader** list = Linkage.gauges;
  for (int i = 0; i < gauge_table_size; ++i) {
    ASSERT_NE(list[i], nullptr) << i;
    EXPECT_STREQ(list[i]->name, expected[i]);
    EXPECT_EQ(list[i]->version, GAUGE_HEADER_VERSION);
    EXPECT_NE(list[i]->callback, nullptr);
    EXPECT_GT(list[i]->element_count, 0);
  }
  EXPECT_EQ(list[gauge_table_size], nullptr);
  EXPECT_EQ(Linkage.gauges[0]->callback, &hw_b737_ehsi_callback);
  EXPECT_EQ(Linkage.gauges[18]->callback, &d100_callback);
}

TEST_F(ModuleTest, InstallRecordsTheSimulatorFolderAsRoot) {
  start({{"SERVER", ""}});
  EXPECT_EQ(std::filesystem::canonical(sim_root_path), std::filesystem::canonical(folder_));
}

TEST_F(ModuleTest, FirstGaugeNamingAnAircraftFixesIt) {
  start({{"SERVER", "VC"}, {"LNAV", "WN"}, {"HW_MD11_ND", "VC2"}, {"HW_B737_ND", "B737-800"}, {"MCU", "MD11"}});
  EXPECT_EQ(aircraft_name, "B737-800");
}

TEST_F(ModuleTest, C17DisplayNeverNamesTheAircraft) {
  start({{"C17_MFD", "PFD_VC"}, {"VNAV", "C-17A"}});
  EXPECT_EQ(aircraft_name, "C-17A");
}

TEST_F(ModuleTest, PlacementParametersNeverNameTheAircraft) {
  start({{"SERVER", "VC"}, {"HW_B737_ND", "VC2"}, {"MCU", "WN"}, {"SMITHS_FMS", ""}});
  EXPECT_EQ(aircraft_name, "");
}

TEST_F(ModuleTest, DrawModeFollowsWindowsAndParameter) {
  start({{"SERVER", ""}}, {WINDOW_B737_ND});
  // Window 0 is visible, the display's own window hidden.
  EXPECT_EQ(compute_draw_mode("VC", WINDOW_B737_ND), 0);
  EXPECT_EQ(compute_draw_mode("VC2", WINDOW_B737_ND), 1);
  EXPECT_EQ(compute_draw_mode("WN", WINDOW_B737_ND), 1);
  EXPECT_EQ(compute_draw_mode("", WINDOW_B737_ND), 1);

  ASSERT_TRUE(host_.set_window_visible(WINDOW_B737_ND, true));
  EXPECT_EQ(compute_draw_mode("VC", WINDOW_B737_ND), 0);  // window 0 still wins
  EXPECT_EQ(compute_draw_mode("VC2", WINDOW_B737_ND), 3);
  EXPECT_EQ(compute_draw_mode("WN", WINDOW_B737_ND), 1);
  EXPECT_EQ(compute_draw_mode("B737", WINDOW_B737_ND), 2);
  EXPECT_EQ(compute_draw_mode("B737", 0), 1);  // no own window: never 2 or 3

  ASSERT_TRUE(host_.set_window_visible(0, false));
  EXPECT_EQ(compute_draw_mode("VC", WINDOW_B737_ND), 2);
}

TEST_F(ModuleTest, TraceFileHasOneLinePerCallbackOnceTheC17DisplayOpensIt) {
  start({{"SERVER", ""}, {"C17_MFD", "PFD_VC"}, {"LNAV", ""}});
  host_.run_frames(1);
  // A frame's lines reach the file with the next frame's once the interval has passed.
  std::this_thread::sleep_for(std::chrono::milliseconds(trace_file_flush_ms + 10));
  host_.run_frames(1);
  EXPECT_NE(read_file(folder_ + "/vek1.log").find("PANEL_SERVICE_PRE_UPDATE:\n"), std::string::npos);
  host_.stop();
  close_trace_file();
  std::string log = read_file(folder_ + "/vek1.log");
  // The SERVER initialised before the file was opened; the LNAV button after.
  EXPECT_EQ(log.rfind("lnav_callback \n", 0), 0u) << log;
  EXPECT_NE(log.find("c17_mfd_callback \nPANEL_SERVICE_PRE_UPDATE:\n"), std::string::npos) << log;
  EXPECT_NE(log.find("server_callback \n"), std::string::npos) << log;
}

TEST_F(ModuleTest, NoTraceFileWithoutTheC17Display) {
  start({{"SERVER", ""}, {"LNAV", ""}});
  host_.run_frames(2);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/vek1.log"));
}

TEST_F(ModuleTest, WindowOpenerTogglesItsWindow) {
  start({{"WINDOW_SMITHS_FMS", ""}}, {WINDOW_SMITHS_FMS});
  std::string error;
  ASSERT_FALSE(host_.window_visible(WINDOW_SMITHS_FMS));
  ASSERT_TRUE(host_.click_index("WINDOW_SMITHS_FMS", 0, &error)) << error;
  EXPECT_TRUE(host_.window_visible(WINDOW_SMITHS_FMS));
  ASSERT_TRUE(host_.click_index("WINDOW_SMITHS_FMS", 0, &error)) << error;
  EXPECT_FALSE(host_.window_visible(WINDOW_SMITHS_FMS));
}

TEST(ModulePaths, MatchesFoldersAndFilesWithoutRegardToCase) {
  char tmpl[] = "/tmp/vek-paths-XXXXXX";
  std::string root = mkdtemp(tmpl);
  std::filesystem::create_directories(root + "/VEK/Navdata");
  std::ofstream(root + "/VEK/Navdata/APTS.TXT") << "x";
  sim_root_path = root;
  EXPECT_EQ(vek_path("\\vek\\navdata\\apts.txt"), root + "/VEK/Navdata/APTS.TXT");
  // Names that do not exist yet are kept as given.
  EXPECT_EQ(vek_path("\\vek\\FlightLog\\fpl.log"), root + "/VEK/FlightLog/fpl.log");
  std::filesystem::remove_all(root);
}

TEST(ModulePaths, FileNamesStayInTheirFolder) {
  EXPECT_TRUE(is_safe_file_name("KSEA-KPDX.RTE"));
  EXPECT_TRUE(is_safe_file_name("B737 800"));
  for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", "..\\vek.cfg", "c:x", "a\nb"}) {
    EXPECT_FALSE(is_safe_file_name(bad)) << bad;
  }
}

}  // namespace
