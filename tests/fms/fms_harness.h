// The module on the simulated host with only its SERVER gauge placed (the settings and
// the sample twin jet's aircraft file load on its initialise), on a copy of the sample
// simulator folder. Each frame flies the aircraft model, runs the gauges and then the
// FMS update, so a test sees what a pilot would: key events, position, files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/fms_state.h"
#include "guidance/fms_update.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "host/sim_host.h"
#include "platform/host/gauge_host.h"
#include "platform/host/sim_token_ids.h"
#include "tests/common/sample_flight.h"

namespace fs = std::filesystem;

struct Wpt {
  const char* ident;
  double lat, lon;
  double alt = -999.0;
  double spd = -999.0;
  int constrained = 0;
  const char* type = "WPT";
  const char* segment = "";
};

class FmsFlight : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sample_flight::copy_sample_sim(SAMPLE_SIM_DIR, "vek_fms_", sim));
    ASSERT_TRUE(host.attach_module(&Linkage, &ImportTable, "vek1"));
    host.set_sim_folder(sim);
    simhost::PanelConfig panel;
    panel.windows.push_back(sample_flight::server_window());
    host.set_panel(panel);
    host.set_frame_rate(2);
    sample_flight::set_airborne_on_autopilot(host.aircraft().state(), 47.45, -122.31, 400.0, 5000.0, 250.0, 180.0);
    std::string error;
    ASSERT_TRUE(host.start(&error)) << error;
  }

  void TearDown() override {
    if (!keep_folder) sample_flight::stop_and_remove(host, sim);
  }

  // One host frame, then the FMS update (a second call in the same tick is a no-op).
  void frame() { sample_flight::frame(host); }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  void seconds(double s) { frames(static_cast<int>(s * host.frame_rate())); }
  // Frames until `done` holds, at most `limit` seconds; true when it held.
  template <typename F>
  bool fly_until(F done, double limit) {
    return sample_flight::fly_until(host, done, limit);
  }

  // Makes the records the active plan (active index 1) in the unchanged-route state.
  static void activate(const std::vector<Wpt>& wpts, int active = 1) {
    static FlightPlanWpt recs[FPL_CAPACITY];
    for (size_t i = 0; i < wpts.size(); ++i) {
      FlightPlanWpt& r = recs[i];
      clear_fpl_record(r);
      fpl_set_text(r.ident, wpts[i].ident);
      r.lat = wpts[i].lat;
      r.lon = wpts[i].lon;
      fpl_set_text(r.type, wpts[i].type);
      fpl_set_text(r.segment, wpts[i].segment);
      r.alt_constraint = wpts[i].alt;
      r.spd_constraint = wpts[i].spd;
      r.constraint_flag = wpts[i].constrained;
    }
    set_active_plan(recs, static_cast<int>(wpts.size()) - 1, active);
    copy_active_to_edit();
    fpl_changed_state = 3;
  }

  std::vector<simhost::Record> key_events(int32_t id = 0) const {
    std::vector<simhost::Record> out;
    for (const auto& r : host.records())
      if (r.kind == simhost::RecordKind::KeyEvent && (id == 0 || r.id == id)) out.push_back(r);
    return out;
  }
  int count_events(int32_t id) const { return static_cast<int>(key_events(id).size()); }

  std::string read_text(const std::string& rel) const {
    std::ifstream in(sim + "/" + rel);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  // Great-circle distance in NM between two positions.
  static double nm(double lat1, double lon1, double lat2, double lon2) {
    constexpr double d2r = 3.14159265358979323846 / 180.0;
    double c = std::sin(lat1 * d2r) * std::sin(lat2 * d2r) +
               std::cos(lat1 * d2r) * std::cos(lat2 * d2r) * std::cos((lon2 - lon1) * d2r);
    c = std::fmax(-1.0, std::fmin(1.0, c));
    return std::acos(c) * 3437.7467707849396;
  }

  simhost::AircraftState& ac() { return host.aircraft().state(); }

  std::string sim;
  simhost::SimHost host;
  bool keep_folder = false;
};

// The shared globals a display reads must stay finite.
inline void expect_globals_finite() {
  const double values[] = {ground_speed,   indicated_airspeed, indicated_altitude, true_airspeed, drift_angle,
                           ground_track,   wind_along,         wind_cross,         lnav_heading_cmd,
                           bearing_to_active_wpt, leg_length, next_leg_course, ete_active_min,
                           ete_active_scaled_min, ete_dest_min, vnav_target_alt, dist_to_vnav_target,
                           sim_rate,       elapsed_seconds};
  for (double v : values) EXPECT_TRUE(std::isfinite(v)) << v;
}
