// The sample route flown on the simulated host with the PFD drawn on an image of its
// own after every frame (the image persists, as on a gauge), and pictures of it in
// the climb, the turn, the cruise and on the approach written under out/pfd/.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "displays/attitude/pfd.h"
#include "draw/draw_toolkit.h"
#include "flightplan/flight_plan.h"
#include "flightplan/plan_files.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "host/sim_host.h"
#include "platform/gfx/gfx_recording.h"
#include "tests/common/sample_flight.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t W = 408, H = 471;  // 1.5 times the design canvas

class PfdPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sample_flight::copy_sample_sim(VEK_ATTITUDE_SAMPLE_ROOT, "vek_pfd_", sim));
    out = std::string(VEK_ATTITUDE_OUT_DIR) + "/pfd";
    fs::create_directories(out);
    ASSERT_TRUE(host.attach_module(&Linkage, &ImportTable, "vek1"));
    host.set_sim_folder(sim);
    simhost::PanelConfig panel;
    panel.windows.push_back(sample_flight::server_window());
    host.set_panel(panel);
    host.set_frame_rate(2);
    sample_flight::set_airborne_on_autopilot(host.aircraft().state(), 47.449, -122.309306, 31.0, 550.0, 160.0, 180.0);
    std::string error;
    ASSERT_TRUE(host.start(&error)) << error;
    token = gdiplus_start();
    pixels.assign(size_t(W) * H, 0);
    image = GaugeImage{pixels.data(), W, H, W * 4, nullptr};
    gfx_recording_enable(&image);
  }
  void TearDown() override {
    gfx_recording_disable(&image);
    gdiplus_stop(token);
    sample_flight::stop_and_remove(host, sim);
  }
  void frame() {
    sample_flight::frame(host);
    gfx_recording_of(&image)->clear();
    pfd_draw(&surface, &image, W, H);
  }
  template <typename F>
  bool fly_until(F done, double limit_s) {
    const int n = int(limit_s * host.frame_rate());
    for (int i = 0; i < n; ++i) {
      frame();
      if (done()) return true;
    }
    return false;
  }
  // The picture after the next full-redraw frame and some partial ones.
  void shot(const std::string& name) {
    ASSERT_TRUE(fly_until([] { return hdg_change_timer == 0; }, 60));
    for (int i = 0; i < 4; ++i) frame();
    std::string error;
    EXPECT_TRUE(simhost::write_image_png(image, out + "/" + name + ".png", &error)) << error;
  }
  static double nm_to(const FlightPlanWpt& w) {
    double d, c;
    compute_gc_distance_course(present_lat, present_lon, w.lat, w.lon, d, c);
    return d;
  }

  std::string sim, out;
  simhost::SimHost host;
  std::vector<uint32_t> pixels;
  GaugeImage image{};
  GaugeSurface surface{};
  uintptr_t token = 0;
};

TEST_F(PfdPictures, SampleRouteClimbTurnCruiseAndApproach) {
  for (int i = 0; i < 6; ++i) frame();
  plan_load_request = 1;
  plan_load_name = "KSEAKPDX.RTE";
  frame();
  ASSERT_GE(fpl_active_last, 2);
  LnavOffAtLastWpt = 0;
  lnav_toggle();
  vnav_toggle();

  ASSERT_TRUE(fly_until([] { return indicated_altitude > 3000; }, 900));
  shot("climb");
  const int32_t first = fpl_active_index;
  ASSERT_TRUE(fly_until([&] { return fpl_active_index != first; }, 1800));
  for (int i = 0; i < 10; ++i) frame();
  shot("turn");
  ASSERT_TRUE(fly_until([] { return vnav_on == 1 && indicated_altitude > cruise_alt - 100; }, 3600));
  pfd_course_source_nav = 0;
  pfd_course_source_fms = 1;
  pfd_bearing1_source = 3;
  pfd_bearing2_source = 1;
  pfd_data_field = 1;
  shot("cruise_fms_bearings");
  pfd_hsi_arc_format = 1;
  pfd_symbol_style = 2;
  pfd_et_field = 1;
  shot("cruise_arc_bars");
  const FlightPlanWpt dest = fpl_active[fpl_active_last];
  ASSERT_TRUE(fly_until([&] { return nm_to(dest) < 15; }, 2 * 3600));
  pfd_hsi_arc_format = 0;
  pfd_symbol_style = 1;
  pfd_course_source_nav = 1;
  pfd_course_source_fms = 0;
  pfd_bearing1_source = pfd_bearing2_source = 0;
  pfd_et_field = 2;
  pfd_data_field = 0;
  shot("approach");
  EXPECT_TRUE(fs::exists(out + "/approach.png"));
}

}  // namespace
