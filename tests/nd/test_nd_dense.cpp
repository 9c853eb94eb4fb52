// The B737 ND and the MD-11 ND in their map modes over the dense point of the world-size
// database (scripts/gen_navdb.py --world) with every map layer on, at 40 and 160 NM:
// pictures under out/nd/, and the map's labels kept inside the map's clip.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "displays/nd_transport/nd_transport.h"
#include "guidance/fms_state.h"
#include "host/sim_host.h"
#include "module/display_state.h"
#include "navdb/navdb.h"
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
};

class NdDense : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sample_flight::copy_sample_sim(VEK_ND_SAMPLE_ROOT, "vek_dense_", sim));
    fs::remove_all(sim + "/vek/navdata");
    fs::copy(std::string(VEK_ND_WORLD_ROOT) + "/vek/navdata", sim + "/vek/navdata", fs::copy_options::recursive);
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
    sample_flight::set_airborne_on_autopilot(host.aircraft().state(), 50.0, 8.0, 300.0, 11000.0, 250.0, 350.0);
    std::string error;
    ASSERT_TRUE(host.start(&error)) << error;
    host.set_draw_recording(true);
  }
  void TearDown() override { sample_flight::stop_and_remove(host, sim); }

  // Draws each display, writes NAME_<display>.png and checks that its map labels are
  // drawn inside the map's clip.
  void shots(const std::string& name) {
    for (const Display& d : DISPLAYS) {
      simhost::PlacedGauge* g = host.find_gauge(d.gauge);
      ASSERT_NE(g, nullptr);
      GaugeImage* img = g->drawn_image();
      ASSERT_NE(img, nullptr);
      GfxRecording* r = gfx_recording_of(img);
      ASSERT_NE(r, nullptr);
      r->clear();
      d.draw(&g->header, img, img->width, img->height, 1);
      // Everything up to the first clip removal is map: drawn under the map clip.
      int32_t map_texts = 0, outside = 0;
      for (const GfxRecord& rec : r->records) {
        if (rec.op == GfxOp::ResetClip) break;
        if (rec.op != GfxOp::Text) continue;
        ++map_texts;
        outside += rec.clip < 0;
      }
      EXPECT_GT(map_texts, 300) << name << " " << d.gauge;  // a dense map
      EXPECT_EQ(outside, 0) << name << " " << d.gauge;
      std::string error;
      EXPECT_TRUE(host.write_png(d.gauge, out + "/" + name + "_" + d.gauge + ".png", &error)) << error;
    }
  }

  std::string sim, out;
  simhost::SimHost host;
};

TEST_F(NdDense, EveryMapLayerAtFortyAndOneSixtyMiles) {
  ASSERT_TRUE(sample_flight::fly_until(host, [] { return display_power == 1; }, 30));
  ASSERT_GT(nav_airport_count, 27000);
  b737_nd_mode = 5;
  md11_nd_mode = 3;
  md11_nd_map_radius = 150;
  nd_apt_on = nd_nav_on = nd_int_on = nd_tcas_on = 1;
  md11_nd_apt_on = md11_nd_nav_on = md11_nd_int_on = 1;
  atc_bdry_on = 1;
  for (double range : {40.0, 160.0}) {
    b737_nd_range = md11_nd_range = range;
    sample_flight::frame(host);
    shots("dense_" + std::to_string(int(range)));
  }
}

}  // namespace
