// The compass heading on the navigation displays, flown on the simulated host: with the
// autopilot holding a selected (magnetic) heading where the variation is large, the
// heading readouts show that heading and the selected-heading bug sits on the lubber line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "displays/nd_transport/nd_transport.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "platform/gfx/gfx_recording.h"
#include "tests/common/sample_flight.h"

namespace {

struct HeadingDisplay {
  const char* gauge;
  void (*draw)(GaugeHeader*, DeviceContext, int32_t, int32_t, int32_t);
  int width, height;
};

const HeadingDisplay DISPLAYS[] = {
    {"HW_B737_ND", hw_b737_nd_draw_gauge, 244, 302},
    {"HW_MD11_ND", hw_md11_nd_draw_gauge, 240, 258},
    {"MD80_EHSI_NB", md80_ehsi_draw_gauge, 266, 232},
};

class CompassHeading : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(sample_flight::copy_sample_sim(VEK_ND_SAMPLE_ROOT, "vek_hdg_", sim));
    ASSERT_TRUE(host.attach_module(&Linkage, &ImportTable, "vek1"));
    host.set_sim_folder(sim);
    simhost::PanelConfig panel;
    simhost::PanelWindow w = sample_flight::server_window();
    for (const HeadingDisplay& d : DISPLAYS) w.gauges.push_back({"vek1", d.gauge, 0, 0, d.width, d.height, ""});
    panel.windows.push_back(w);
    host.set_panel(panel);
    host.set_frame_rate(2);
    ASSERT_TRUE(host.start(&error)) << error;
    host.set_draw_recording(true);
  }
  void TearDown() override { sample_flight::stop_and_remove(host, sim); }

  const GfxRecording& draw(const HeadingDisplay& d) {
    simhost::PlacedGauge* g = host.find_gauge(d.gauge);
    GaugeImage* img = g->drawn_image();
    GfxRecording* r = gfx_recording_of(img);
    r->clear();
    d.draw(&g->header, img, img->width, img->height, 1);
    return *r;
  }

  std::string sim;
  simhost::SimHost host;
};

// Three-digit readouts drawn, as numbers.
std::vector<int> readouts(const GfxRecording& r) {
  std::vector<int> v;
  for (const std::string& t : r.texts())
    if (t.size() == 3 && t.find_first_not_of("0123456789") == std::string::npos) v.push_back(std::atoi(t.c_str()));
  return v;
}

// Design x of the B737 ND's selected-heading bug tip (the magenta eight-point outline).
double b737_bug_tip_x(const GfxRecording& r) {
  for (const GfxRecord* e : r.of(GfxOp::Lines))
    if (e->pen_argb == 0xFFFF13D5 && e->points.size() == 8)
      return r.to_design(GfxRecording::device_points(*e)[0], 244, 302).x;
  return -1e9;
}

TEST_F(CompassHeading, ReadoutsAndBugAgreeWithTheSelectedHeadingWhereTheVariationIsLarge) {
  struct Place {
    double lat, lon, selected;
  } places[] = {{47.45, -122.31, 163}, {40.64, -73.78, 44}, {47.45, -122.31, 355}};
  for (const Place& p : places) {
    auto& s = host.aircraft().state();
    s.lat = p.lat;
    s.lon = p.lon;
    const double variation = host.aircraft().magnetic_variation();
    sample_flight::set_airborne_on_autopilot(s, p.lat, p.lon, 0, 6000, 250, std::fmod(p.selected + variation, 360));
    s.ap_heading = p.selected;
    host.aircraft().refresh();
    b737_nd_mode = 5;
    md11_nd_mode = 3;
    md80_ehsi_mode = 0;  // the rose, with its readout
    for (int i = 0; i < 120; ++i) sample_flight::frame(host);
    SCOPED_TRACE(p.selected);
    // The aircraft flies the selected heading over the ground as a true heading off it by
    // the variation.
    ASSERT_GT(std::fabs(host.aircraft().magnetic_variation()), 10.0);
    ASSERT_NEAR(std::remainder(s.heading_true - p.selected - host.aircraft().magnetic_variation(), 360.0), 0, 0.1);
    for (const HeadingDisplay& d : DISPLAYS) {
      const GfxRecording& r = draw(d);
      bool shown = false;
      for (int v : readouts(r)) {
        shown |= std::fabs(std::remainder(v - p.selected, 360.0)) <= 1;
        EXPECT_FALSE(std::fabs(std::remainder(v - p.selected - host.aircraft().magnetic_variation(), 360.0)) <= 1)
            << d.gauge << " shows the true heading " << v;
      }
      EXPECT_TRUE(shown) << d.gauge;
      if (d.draw == hw_b737_nd_draw_gauge) {
        EXPECT_NEAR(b737_bug_tip_x(r), 122, 1.5);
      }
    }
  }
}

}  // namespace
