// The sample route flown on the simulated host with LNAV and VNAV, and pictures of
// the three displays in map mode during the climb, at the top of descent and on the
// approach, and in plan mode, and over the dense point of a world-size database with
// every map layer on, written under out/nd/.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "displays/nd_transport/nd_transport.h"
#include "flightplan/flight_plan.h"
#include "flightplan/plan_files.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "host/sim_host.h"
#include "module/display_state.h"
#include "navdb/navdb.h"
#include "navdb/navdb_load.h"
#include "platform/gfx/gfx_internal.h"
#include "platform/gfx/gfx_recording.h"
#include "tests/common/sample_flight.h"

namespace fs = std::filesystem;

namespace {

struct Display {
  const char* gauge;
  void (*draw)(GaugeHeader*, DeviceContext, int32_t, int32_t, int32_t);
  int width, height;
};

const Display DISPLAYS[] = {
    {"HW_B737_ND", hw_b737_nd_draw_gauge, 488, 604},
    {"HW_MD11_ND", hw_md11_nd_draw_gauge, 480, 516},
    {"MD80_EHSI_NB", md80_ehsi_draw_gauge, 399, 348},
};

class NdPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    // Drawn in bands of rows, as on a machine of four cores or more (the other tests of
    // flights draw their images whole).
    gfx_set_band_threads(3);
    ASSERT_TRUE(sample_flight::copy_sample_sim(VEK_ND_SAMPLE_ROOT, "vek_nd_", sim));
    out = std::string(VEK_ND_OUT_DIR) + "/nd";
    fs::create_directories(out);
    ASSERT_TRUE(host.attach_module(&Linkage, &ImportTable, "vek1"));
    host.set_sim_folder(sim);
    simhost::PanelConfig panel;
    simhost::PanelWindow w = sample_flight::server_window();
    int x = 0;
    for (const Display& d : DISPLAYS) {
      w.gauges.push_back({"vek1", d.gauge, x, 0, d.width, d.height, ""});
      x += d.width + 10;
    }
    panel.windows.push_back(w);
    host.set_panel(panel);
    host.set_frame_rate(2);
    auto& s = host.aircraft().state();
    sample_flight::set_airborne_on_autopilot(s, 47.449, -122.309306, 31.0, 550.0, 160.0, 180.0);
    s.wind_dir = 250.0;
    s.wind_speed_kt = 25.0;
    std::string error;
    ASSERT_TRUE(host.start(&error)) << error;
    host.set_draw_recording(true);
  }
  void TearDown() override {
    sample_flight::stop_and_remove(host, sim);
    gfx_set_band_threads(-1);
  }
  void frame() { sample_flight::frame(host); }
  template <typename F>
  bool fly_until(F done, double limit_s) {
    return sample_flight::fly_until(host, done, limit_s);
  }
  // Draws the three displays and writes them as NAME_<display>.png; returns the
  // B737 ND's texts.
  std::vector<std::string> shots(const std::string& name) {
    std::vector<std::string> b737_texts;
    for (const Display& d : DISPLAYS) {
      simhost::PlacedGauge* g = host.find_gauge(d.gauge);
      EXPECT_NE(g, nullptr);
      if (!g) continue;
      GaugeImage* img = g->drawn_image();
      if (!img) continue;
      if (GfxRecording* r = gfx_recording_of(img)) r->clear();
      d.draw(&g->header, img, img->width, img->height, 1);
      if (GfxRecording* r = gfx_recording_of(img); r && d.draw == hw_b737_nd_draw_gauge) b737_texts = r->texts();
      std::string error;
      EXPECT_TRUE(host.write_png(d.gauge, out + "/" + name + "_" + d.gauge + ".png", &error)) << error;
    }
    return b737_texts;
  }
  static bool has(const std::vector<std::string>& texts, const std::string& t) {
    for (const std::string& x : texts)
      if (x == t) return true;
    return false;
  }
  static double nm_to(double lat, double lon) {
    double d, c;
    compute_gc_distance_course(present_lat, present_lon, lat, lon, d, c);
    return d;
  }

  std::string sim, out;
  simhost::SimHost host;
};

TEST_F(NdPictures, SampleRouteClimbTopOfDescentApproachAndPlan) {
  for (int i = 0; i < 6; ++i) frame();
  plan_load_request = 1;
  plan_load_name = "KSEAKPDX.RTE";
  frame();
  ASSERT_EQ(plan_load_request, 0);
  ASSERT_GE(fpl_active_last, 2);
  LnavOffAtLastWpt = 0;
  lnav_toggle();
  vnav_toggle();
  ASSERT_EQ(lnav_on, 1);

  b737_nd_mode = 5;
  b737_nd_range = 40;
  nd_apt_on = nd_nav_on = 1;
  md11_nd_mode = 3;
  md11_nd_map_radius = 150;
  md11_nd_range = 40;
  md80_ehsi_mode = 3;
  md80_ehsi_range = 40;

  ASSERT_TRUE(fly_until([] { return indicated_altitude > 8000; }, 1800));
  auto climb = shots("climb");
  EXPECT_TRUE(has(climb, fpl_active[fpl_active_index].ident));
  EXPECT_TRUE(has(climb, "TAS"));

  ASSERT_TRUE(fly_until([] { return tod_reached == 1; }, 3 * 3600));
  auto tod = shots("tod");
  EXPECT_TRUE(has(tod, fpl_active[fpl_active_index].ident));

  const FlightPlanWpt dest = fpl_active[fpl_active_last];
  ASSERT_TRUE(fly_until([&] { return nm_to(dest.lat, dest.lon) < 15; }, 2 * 3600));
  b737_nd_range = 20;
  md11_nd_range = 20;
  md80_ehsi_range = 20;
  auto approach = shots("approach");
  EXPECT_TRUE(has(approach, "GS"));

  b737_nd_mode = 7;
  md11_nd_mode = 2;
  md11_nd_map_radius = 94;
  md80_ehsi_mode = 2;
  b737_nd_range = 40;
  auto plan = shots("plan");
  EXPECT_TRUE(has(plan, "N"));
  EXPECT_TRUE(has(plan, dest.ident));
}

TEST_F(NdPictures, DensePointWithEveryMapLayerDrawsItsLabelsInsideTheMapClip) {
  ASSERT_TRUE(fly_until([] { return display_power == 1; }, 30));
  fs::copy(std::string(VEK_ND_WORLD_ROOT) + "/vek/navdata", sim + "/vek/navdata",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  clear_navigation_database();
  load_navigation_database();
  auto& s = host.aircraft().state();
  s.lat = 50.0;
  s.lon = 8.0;
  b737_nd_mode = 5;
  md11_nd_mode = md80_ehsi_mode = 3;
  md11_nd_map_radius = 150;
  nd_apt_on = nd_nav_on = nd_int_on = nd_tcas_on = atc_bdry_on = 1;
  md11_nd_apt_on = md11_nd_nav_on = md11_nd_int_on = 1;
  for (double range : {40.0, 160.0}) {
    b737_nd_range = md11_nd_range = md80_ehsi_range = range;
    frame();
    shots("dense_" + std::to_string(int(range)));
    for (const char* gauge : {"HW_B737_ND", "HW_MD11_ND"}) {
      int32_t map_texts = 0;  // all before the first clip removal, under the map clip
      for (const GfxRecord& r : gfx_recording_of(host.find_gauge(gauge)->drawn_image())->records) {
        if (r.op == GfxOp::ResetClip) break;
        map_texts += r.op == GfxOp::Text;
        EXPECT_TRUE(r.op != GfxOp::Text || r.clip >= 0) << gauge << range;
      }
      // Only labels that reach the image are drawn: 45 to over 300 of them here.
      EXPECT_GT(map_texts, 40) << gauge << range;
    }
  }
}

}  // namespace
