// Radio stations of the simulator folder's navigation data, for the aircraft's radios:
// VORs and NDBs of "\vek\navdata\navs.txt" (and its "_user" twin) and the localizers of
// the ILS runways of "apts.txt" (and its twin).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/aircraft_model.h"

namespace simhost {

struct NavStationEntry {
  RadioKind kind = RadioKind::Nav;
  double frequency = 0.0;  // MHz for NAV, kHz for ADF
  RadioStation station;
};

// Most stations kept: twice the module's navaid table. A larger file is no database, and
// each lookup stays short.
constexpr size_t nav_station_limit = 60000;

// Reads the stations under sim_folder; folder and file names are matched without regard
// to case. Lines end with LF, CR LF or a lone CR; a byte-order mark is skipped. Malformed
// lines are skipped; stations past nav_station_limit are dropped. Returns the number of
// stations read.
int load_nav_stations(const std::string& sim_folder, std::vector<NavStationEntry>* out);

// A resolver that answers with the nearest station on the frequency within its range.
StationResolver make_station_resolver(std::vector<NavStationEntry> stations);

}  // namespace simhost
