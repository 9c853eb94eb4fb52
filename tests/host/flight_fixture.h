// A flight in the simulated host with the real module: the sample simulator folder, a
// test panel, scenario parts flown in order and the path sampled every two seconds.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "host/scenario.h"
#include "host/sim_host.h"
#include "host/track_log.h"

namespace flight_fixture {

// NM between two positions, flat over the short distances of a flight's checks.
inline double nm(double lat1, double lon1, double lat2, double lon2) {
  double mid = (lat1 + lat2) / 2.0 * 3.14159265358979323846 / 180.0;
  return std::hypot((lat1 - lat2) * 60.0, (lon1 - lon2) * 60.0 * std::cos(mid));
}

// A scenario part: a file of tests/host/data/flights, or script lines as they stand.
inline std::string part_text(const std::string& part) {
  if (part.size() < 4 || part.compare(part.size() - 4, 4, ".txt") != 0) return part + "\n";
  std::ifstream in(std::string(HOST_TEST_DATA) + "/flights/" + part);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The sample simulator folder on `panel` with the module, its path sampled every 2 s;
// `prepare` may change the folder's files before the module starts.
class Flight {
 public:
  explicit Flight(const std::string& panel, const std::function<void(const std::string&)>& prepare = nullptr) {
    char tmpl[] = "/tmp/vek_flight_XXXXXX";
    if (!mkdtemp(tmpl)) return;
    sim_ = tmpl;
    std::filesystem::copy(SAMPLE_SIM_DIR, sim_, std::filesystem::copy_options::recursive);
    if (prepare) prepare(sim_);
    host.attach_module(&Linkage, &ImportTable, "vek1");
    host.set_sim_folder(sim_);
    host.receive_sim_folder_stations();
    started_ = host.load_panel(std::string(HOST_TEST_DATA) + "/flights/" + panel, &error) && host.start(&error);
    host.set_frame_listener([this] { track_.sample(host); });
  }
  ~Flight() {
    host.set_frame_listener(nullptr);
    host.stop();
    std::error_code ec;
    if (!sim_.empty()) std::filesystem::remove_all(sim_, ec);
  }
  Flight(const Flight&) = delete;
  Flight& operator=(const Flight&) = delete;
  // Runs the parts in order; false with `error` set when a step cannot be carried out.
  bool fly(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& p : parts) text += part_text(p);
    std::istringstream in(text);
    simhost::Scenario sc;
    simhost::ScenarioResult result;
    return started_ && simhost::parse_scenario(in, "flight", &sc, &error) &&
           simhost::check_scenario(sc, host, &error) && simhost::run_scenario(sc, host, sim_, &result, &error);
  }
  const std::vector<simhost::TrackRow>& rows() const { return track_.rows(); }
  std::string folder() const { return sim_; }

  simhost::SimHost host;
  std::string error;

 private:
  std::string sim_;
  bool started_ = false;
  simhost::TrackLog track_{2.0, true};
};

}  // namespace flight_fixture
