// The path flown, sampled for a scenario's `track` command and for tests: one row every
// interval of simulated time, with the aircraft's state and what the module publishes of
// LNAV, VNAV and the active waypoint.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace simhost {

class SimHost;

struct TrackRow {
  double t = 0.0;            // simulated seconds
  double lat = 0.0, lon = 0.0;
  double alt_ft = 0.0, ias_kt = 0.0, hdg_true = 0.0, vs_fpm = 0.0;
  std::string active;        // the active waypoint's ident, "" without a published plan
  int lnav = 0, vnav = 0;
};

// The row of the host's present state.
TrackRow track_row(const SimHost& host);

// "t,lat,lon,alt,ias,hdg_true,vs,active,lnav,vnav"
const char* track_header();
std::string format_track_row(const TrackRow& r);

// Samples the host after each frame once `interval_s` of simulated time has passed since
// the last row; writes to a file when one is open and keeps the rows for a caller.
class TrackLog {
 public:
  TrackLog(double interval_s, bool keep_rows) : interval_s_(interval_s), keep_rows_(keep_rows) {}
  ~TrackLog();
  TrackLog(const TrackLog&) = delete;
  TrackLog& operator=(const TrackLog&) = delete;

  // Opens (truncates) the file and writes the header; false when it cannot be written.
  bool open(const std::string& path);
  void sample(const SimHost& host);
  const std::vector<TrackRow>& rows() const { return rows_; }

 private:
  double interval_s_;
  bool keep_rows_;
  double next_t_ = -1.0;
  std::FILE* file_ = nullptr;
  std::vector<TrackRow> rows_;
};

}  // namespace simhost
