// The sample route flown on the simulated host with the PFD drawn on an image of its
// own after every frame (the image persists, as on a gauge); pictures in the climb,
// the turn, the cruise (FMS source, bearing pointers, arc, bar cue) and on the
// approach go under out/pfd/.
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
#include "tests/common/sample_flight.h"

namespace {

constexpr int32_t W = 408, H = 471;  // 1.5 times the design canvas

struct PfdFlight {
  simhost::SimHost host;
  std::string sim, out = std::string(VEK_ATTITUDE_OUT_DIR) + "/pfd";
  std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t(W) * H);
  GaugeImage image{pixels.data(), W, H, W * 4, nullptr};
  GaugeSurface surface{};
  uintptr_t token = gdiplus_start();

  ~PfdFlight() {
    gdiplus_stop(token);
    sample_flight::stop_and_remove(host, sim);
  }
  template <typename F>
  bool fly_until(F done, double limit_s) {
    for (int i = 0; i < int(limit_s * host.frame_rate()); ++i) {
      sample_flight::frame(host);
      pfd_draw(&surface, &image, W, H);
      if (done()) return true;
    }
    return false;
  }
  // The picture a few partial frames after the next full one.
  void shot(const std::string& name) {
    ASSERT_TRUE(fly_until([] { return hdg_change_timer == 0; }, 60));
    fly_until([] { return false; }, 2);
    std::string error;
    EXPECT_TRUE(simhost::write_image_png(image, out + "/" + name + ".png", &error)) << error;
  }
};

TEST(PfdPictures, SampleRouteClimbTurnCruiseAndApproach) {
  PfdFlight f;
  std::string error;
  ASSERT_TRUE(sample_flight::start_airborne(f.host, VEK_ATTITUDE_SAMPLE_ROOT, "vek_pfd_", f.sim, 47.449, -122.309306,
                                            550.0, 160.0, 180.0, &error)) << error;
  std::filesystem::create_directories(f.out);
  plan_load_request = 1;
  plan_load_name = "KSEAKPDX.RTE";
  f.fly_until([] { return false; }, 3);
  ASSERT_GE(fpl_active_last, 2);
  LnavOffAtLastWpt = 0;
  lnav_toggle();
  vnav_toggle();

  ASSERT_TRUE(f.fly_until([] { return indicated_altitude > 3000; }, 900));
  f.shot("climb");
  const int32_t first = fpl_active_index;
  ASSERT_TRUE(f.fly_until([&] { return fpl_active_index != first; }, 1800));
  f.shot("turn");
  ASSERT_TRUE(f.fly_until([] { return indicated_altitude > cruise_alt - 100; }, 3600));
  pfd_course_source_nav = 0;
  pfd_course_source_fms = pfd_data_field = 1;
  pfd_bearing1_source = 3;
  pfd_bearing2_source = 1;
  f.shot("cruise_fms_bearings");
  pfd_hsi_arc_format = pfd_et_field = 1;
  pfd_symbol_style = 2;
  f.shot("cruise_arc_bars");
  const FlightPlanWpt dest = fpl_active[fpl_active_last];
  ASSERT_TRUE(f.fly_until(
      [&] {
        double d, c;
        compute_gc_distance_course(present_lat, present_lon, dest.lat, dest.lon, d, c);
        return d < 15;
      },
      2 * 3600));
  pfd_hsi_arc_format = pfd_course_source_fms = pfd_bearing1_source = pfd_bearing2_source = pfd_data_field = 0;
  pfd_symbol_style = pfd_course_source_nav = 1;
  pfd_et_field = 2;
  f.shot("approach");
  EXPECT_TRUE(std::filesystem::exists(f.out + "/approach.png"));
}

}  // namespace
