// A flight of the real module in the simulated host, as a pilot flies it: the sample
// simulator folder on a panel of tests/host/data/flights, scenario parts (files of that
// folder or script lines as they stand) run in order, the path sampled every two seconds.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "flightplan/flight_plan.h"
#include "host/scenario.h"
#include "host/sim_host.h"
#include "host/track_log.h"
#include "platform/host/gauge_host.h"

namespace flight {

namespace fs = std::filesystem;
using simhost::TrackRow;

constexpr double kKpdxLat = 45.588722, kKpdxLon = -122.5975;

// Flat-earth NM between two points; good to a few hundredths over tens of NM.
inline double nm(double lat1, double lon1, double lat2, double lon2) {
  double mid = (lat1 + lat2) / 2.0 * 3.14159265358979323846 / 180.0;
  return std::hypot((lat1 - lat2) * 60.0, (lon1 - lon2) * 60.0 * std::cos(mid));
}

// The row flown abeam the fix `ident` of the active plan (its first record of that name):
// the row closest to it, where a turn anticipated at the fix crosses its bisector. Null
// when the plan has no such fix or nothing was flown.
inline const TrackRow* abeam_row(const std::vector<TrackRow>& rows, const char* ident) {
  int i = 0;
  while (i <= fpl_active_last && i < FPL_CAPACITY && std::string(fpl_active[i].ident) != ident) ++i;
  if (i > fpl_active_last || i >= FPL_CAPACITY) return nullptr;
  double best = 1e9;
  const TrackRow* row = nullptr;
  for (const TrackRow& r : rows)
    if (double d = nm(r.lat, r.lon, fpl_active[i].lat, fpl_active[i].lon); d < best) {
      best = d;
      row = &r;
    }
  return row;
}

// The altitude flown abeam the fix `ident`; NaN when abeam_row finds no row.
inline double abeam_altitude(const std::vector<TrackRow>& rows, const char* ident) {
  const TrackRow* r = abeam_row(rows, ident);
  return r ? r->alt_ft : NAN;
}

// The lowest altitude flown from simulated time `t` on.
inline double lowest_from(const std::vector<TrackRow>& rows, double t) {
  double lowest = 1e9;
  for (const TrackRow& r : rows)
    if (r.t >= t) lowest = std::min(lowest, r.alt_ft);
  return lowest;
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
  explicit Flight(const std::string& panel, const std::function<void(const std::string&)>& prepare) {
    char tmpl[] = "/tmp/vek_flight_XXXXXX";
    if (!mkdtemp(tmpl)) return;
    sim_ = tmpl;
    fs::copy(SAMPLE_SIM_DIR, sim_, fs::copy_options::recursive);
    if (prepare) prepare(sim_);
    host.attach_module(&Linkage, &ImportTable, "vek1");
    host.set_sim_folder(sim_);
    host.receive_sim_folder_stations();
    started_ = host.load_panel(std::string(HOST_TEST_DATA) + "/flights/" + panel, &error) && host.start(&error);
    host.set_frame_listener([this] { track_.sample(host); });
  }
  // `aircraft_lines` are added to the sample aircraft file (the last of a key wins).
  explicit Flight(const std::string& panel, const std::string& aircraft_lines = "")
      : Flight(panel, [&aircraft_lines](const std::string& sim) {
          if (!aircraft_lines.empty())
            std::ofstream(sim + "/vek/Aircraft/Twinjet.cfg", std::ios::app) << "\n" << aircraft_lines << "\n";
        }) {}
  ~Flight() {
    host.set_frame_listener(nullptr);
    host.stop();
    std::error_code ec;
    if (!sim_.empty()) fs::remove_all(sim_, ec);
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
  const std::vector<TrackRow>& rows() const { return track_.rows(); }
  std::string folder() const { return sim_; }

  simhost::SimHost host;
  std::string error;

 private:
  std::string sim_;
  bool started_ = false;
  simhost::TrackLog track_{2.0, true};
};

}  // namespace flight
