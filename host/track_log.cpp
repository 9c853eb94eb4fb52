#include "host/track_log.h"

#include <cmath>
#include <cstring>

#include "host/sim_host.h"

namespace simhost {

namespace {

// "Vek_FlightPlan" is a block of 320-byte plan records, each opening with its ident.
constexpr uint32_t PLAN_RECORD_SIZE = 320;
constexpr uint32_t PLAN_IDENT_SIZE = 16;

std::string active_ident(const SimHost& host) {
  uint32_t plan_size = 0, pos_size = 0;
  const auto* plan = static_cast<const char*>(host.lookup_shared_var("Vek_FlightPlan", nullptr, &plan_size));
  const auto* pos = static_cast<const int32_t*>(host.lookup_shared_var("vek_act_wpt_pos", nullptr, &pos_size));
  if (!plan || !pos || pos_size < sizeof(int32_t)) return "";
  int32_t index = *pos;  // 999 while no plan is active
  if (index < 0 || static_cast<uint32_t>(index) >= plan_size / PLAN_RECORD_SIZE) return "";
  const char* ident = plan + static_cast<size_t>(index) * PLAN_RECORD_SIZE;
  return std::string(ident, strnlen(ident, PLAN_IDENT_SIZE));
}

}  // namespace

TrackRow track_row(const SimHost& host) {
  const AircraftState& s = host.aircraft().state();
  TrackRow r;
  r.t = host.sim_seconds();
  r.lat = s.lat;
  r.lon = s.lon;
  r.alt_ft = s.altitude_ft;
  r.ias_kt = s.ias_kt;
  r.hdg_true = s.heading_true;
  r.vs_fpm = s.vs_fpm;
  r.active = active_ident(host);
  r.lnav = host.named_var("vek_lnav") >= 0.5 ? 1 : 0;
  r.vnav = host.named_var("vek_vnav") >= 0.5 ? 1 : 0;
  return r;
}

const char* track_header() { return "t,lat,lon,alt,ias,hdg_true,vs,active,lnav,vnav"; }

std::string format_track_row(const TrackRow& r) {
  char line[256];
  std::snprintf(line, sizeof line, "%.1f,%.6f,%.6f,%.0f,%.1f,%.1f,%.0f,", r.t, r.lat, r.lon, r.alt_ft, r.ias_kt,
                r.hdg_true, r.vs_fpm);
  std::string out = line;
  for (char c : r.active) out += (c == ',' || c == '"' || static_cast<unsigned char>(c) < 32) ? '_' : c;
  out += "," + std::to_string(r.lnav) + "," + std::to_string(r.vnav);
  return out;
}

TrackLog::~TrackLog() {
  if (file_) std::fclose(file_);
}

bool TrackLog::open(const std::string& path) {
  if (file_) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "w");
  if (!file_) return false;
  std::fprintf(file_, "%s\n", track_header());
  std::fflush(file_);
  return true;
}

void TrackLog::sample(const SimHost& host) {
  double t = host.sim_seconds();
  if (next_t_ >= 0.0 && t + 1e-9 < next_t_) return;
  next_t_ = (next_t_ < 0.0 ? t : next_t_) + interval_s_;
  if (next_t_ <= t) next_t_ = t + interval_s_;  // a pause or a long frame: no burst of rows
  TrackRow r = track_row(host);
  if (file_) {
    std::fprintf(file_, "%s\n", format_track_row(r).c_str());
    std::fflush(file_);
  }
  if (keep_rows_) rows_.push_back(std::move(r));
}

}  // namespace simhost
