// The module flown on the simulated host from a copy of the sample simulator folder:
// the folder, the SERVER gauge's window, an airborne start on the autopilot and frames
// that run the FMS update after the host.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "guidance/fms_update.h"
#include "host/sim_host.h"

namespace sample_flight {

// Copies simulator folder `sample` into a new temporary folder named `prefix` and six
// random characters, with an empty flight-log folder. `folder` is set once the
// temporary folder is made; false when it could not be made.
inline bool copy_sample_sim(const char* sample, const char* prefix, std::string& folder) {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return false;
  folder = pattern;
  fs::copy(sample, folder, fs::copy_options::recursive);
  fs::create_directories(folder + "/vek/FlightLog");
  return true;
}

// Window 0, visible, holding the SERVER gauge with the sample twin jet's aircraft file.
inline simhost::PanelWindow server_window() {
  simhost::PanelWindow w;
  w.ident = 0;
  w.visible = true;
  simhost::Placement server;
  server.module = "vek1";
  server.gauge = "SERVER";
  server.width = server.height = 1;
  server.parameters = "Twinjet";
  w.gauges.push_back(server);
  return w;
}

// In the air on the autopilot, holding the heading, the altitude and the airspeed given.
inline void set_airborne_on_autopilot(simhost::AircraftState& s, double lat, double lon, double ground_elevation_ft,
                                      double altitude_ft, double ias_kt, double heading) {
  s.lat = lat;
  s.lon = lon;
  s.altitude_ft = altitude_ft;
  s.ground_elevation_ft = ground_elevation_ft;
  s.on_ground = false;
  s.ias_kt = ias_kt;
  s.heading_true = heading;
  s.ap_master = true;
  s.ap_heading_hold = true;
  s.ap_altitude_hold = true;
  s.ap_airspeed_hold = true;
  s.ap_altitude_ft = altitude_ft;
  s.ap_airspeed_kt = ias_kt;
  s.ap_heading = heading;
}

// The module started on a copy of `sample` (folder named by `prefix`) with the SERVER
// window at 2 frames a second, in the air on the autopilot as set_airborne_on_autopilot
// puts it. False, with `error` set, when it could not start.
inline bool start_airborne(simhost::SimHost& host, const char* sample, const char* prefix, std::string& folder,
                           double lat, double lon, double altitude_ft, double ias_kt, double heading,
                           std::string* error) {
  if (!copy_sample_sim(sample, prefix, folder) || !host.attach_module(&Linkage, &ImportTable, "vek1")) return false;
  host.set_sim_folder(folder);
  simhost::PanelConfig panel;
  panel.windows.push_back(server_window());
  host.set_panel(panel);
  host.set_frame_rate(2);
  set_airborne_on_autopilot(host.aircraft().state(), lat, lon, 31.0, altitude_ft, ias_kt, heading);
  return host.start(error);
}

// One host frame, then the FMS update (a second call in the same tick is a no-op).
inline void frame(simhost::SimHost& host) {
  host.run_frames(1);
  fms_update();
}

// Frames until `done` holds, at most `limit_s` seconds; true when it held.
template <typename F>
bool fly_until(simhost::SimHost& host, F done, double limit_s) {
  int n = static_cast<int>(limit_s * host.frame_rate());
  for (int i = 0; i < n; ++i) {
    frame(host);
    if (done()) return true;
  }
  return false;
}

// Stops the host and removes its simulator folder.
inline void stop_and_remove(simhost::SimHost& host, const std::string& folder) {
  host.stop();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace sample_flight
