#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "geo/great_circle.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

namespace {

// One NM is one minute of arc on the great-circle sphere, so a latitude difference alone
// bounds the distance from below; records outside that band are skipped without trigonometry.
constexpr double kNmPerDegree = 60.0;

struct Candidate {
  int index;  // in the table searched
  double dist_nm;
};
std::vector<Candidate> candidates;  // kept between builds for its capacity

// Copies into list[1..] the records of table[1..count] within radius_nm of (lat, lon), at
// most `limit`: the nearest ones when more are within, in table order. Returns the number
// copied. `skip_dups` leaves out records flagged as repeats of an earlier one.
// Half the longitude span, degrees, of the circle of `radius_nm` about latitude `lat`,
// with a margin for rounding; 180 when the circle holds a pole.
double longitude_half_span(double lat, double radius_nm) {
  constexpr double kDeg = 3.14159265358979323846 / 180.0;
  const double d = radius_nm / kGcEarthRadiusNm;  // radians
  const double pole_gap = (90.0 - std::fabs(lat)) * kDeg;
  if (!(d < pole_gap)) return 180.0;
  const double s = std::sin(d) / std::cos(lat * kDeg);
  return s >= 1.0 ? 180.0 : std::asin(s) / kDeg + 1e-6;
}

int copy_within(const NavRecord* table, int count, double lat, double lon, double radius_nm,
                NavRecord* list, int limit, bool skip_dups) {
  candidates.clear();
  // A latitude band and a longitude span bound the circle from outside; only records inside
  // both are measured, and measured exactly, so the lists are those of a full scan.
  const double band = radius_nm / kNmPerDegree + 1e-9;
  const double span = longitude_half_span(lat, radius_nm);
  const GcOrigin origin = gc_origin(lat, lon);
  for (int i = 1; i <= count; ++i) {
    const NavRecord& r = table[i];
    if (skip_dups && r.dup) continue;
    if (std::fabs(r.lat - lat) > band) continue;
    if (span < 180.0) {
      double dl = std::fabs(r.lon - lon);
      if (dl > 180.0) dl = 360.0 - dl;
      if (dl > span) continue;
    }
    double dist = compute_gc_distance(origin, r.lat, r.lon);
    if (dist <= radius_nm) candidates.push_back({i, dist});
  }
  if (static_cast<int>(candidates.size()) > limit) {
    auto nearer = [](const Candidate& a, const Candidate& b) {
      return a.dist_nm < b.dist_nm || (a.dist_nm == b.dist_nm && a.index < b.index);
    };
    std::nth_element(candidates.begin(), candidates.begin() + limit, candidates.end(), nearer);
    candidates.resize(limit);
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.index < b.index; });
  }
  int n = 0;
  for (const Candidate& c : candidates) list[++n] = table[c.index];
  return n;
}

}  // namespace

void build_near_airports(double lat, double lon) {
  near_airports_wide_count = copy_within(nav_airports, nav_airport_count, lat, lon, near_wide_radius_nm,
                                         near_airports_wide, near_wide_limit, false);
  near_airports_wide_centre = {lat, lon};
}

void build_near_airports_close(double lat, double lon) {
  near_airports_count = copy_within(near_airports_wide, near_airports_wide_count, lat, lon,
                                    near_airports_radius_nm, near_airports, near_close_limit, false);
  near_airports_centre = {lat, lon};
}

void build_near_navaids(double lat, double lon) {
  near_navaids_wide_count = copy_within(nav_navaids, nav_navaid_count, lat, lon, near_wide_radius_nm,
                                        near_navaids_wide, near_wide_limit, false);
  near_navaids_wide_centre = {lat, lon};
}

void build_near_navaids_close(double lat, double lon) {
  near_navaids_count = copy_within(near_navaids_wide, near_navaids_wide_count, lat, lon,
                                   near_navaids_radius_nm, near_navaids, near_close_limit, false);
  near_navaids_centre = {lat, lon};
}

void build_near_airway_fixes(double lat, double lon) {
  near_airway_fixes_wide_count =
      copy_within(nav_airway_fixes, nav_airway_fix_count, lat, lon, near_wide_radius_nm,
                  near_airway_fixes_wide, near_airway_fix_wide_limit, true);
  near_airway_fixes_wide_centre = {lat, lon};
}

// Filters around the present position but records (lat, lon) as the centre, as the
// callers' refresh rule expects.
void build_near_airway_fixes_close(double lat, double lon) {
  near_airway_fixes_count =
      copy_within(near_airway_fixes_wide, near_airway_fixes_wide_count, present_lat, present_lon,
                  near_airway_fixes_radius_nm, near_airway_fixes, near_airway_fix_limit, false);
  near_airway_fixes_centre = {lat, lon};
}

NavRecord nav_lists_21b[nearest_vor_rows + 1];

void nearest_vor_table() {
  for (int i = 1; i <= nearest_vor_rows; ++i) {
    nav_lists_21b[i] = NavRecord{};
    nav_lists_21b[i].dist_nm = nearest_vor_empty;
    nav_lists_21b[i].brg_mag = nearest_vor_empty;
  }
  int worst = 1;
  double dist = 0.0;
  double course = 0.0;
  for (int i = 1; i <= near_navaids_count && i < near_close_slots; ++i) {
    const NavRecord& r = near_navaids[i];
    if (std::string_view(r.type) != "V") continue;
    compute_gc_distance_course(present_lat, present_lon, r.lat, r.lon, dist, course);
    if (!(dist < nav_lists_21b[worst].dist_nm)) continue;
    double bearing = course - magvar;
    if (bearing < 0.5) bearing += 360.0;
    NavRecord& row = nav_lists_21b[worst];
    row = NavRecord{};
    nav_copy_text(row.ident, nav_ident_size, r.ident);
    nav_copy_text(row.freq, nav_freq_size, r.freq);
    row.dist_nm = dist;
    row.brg_mag = bearing;
    worst = 1;
    for (int k = 2; k <= nearest_vor_rows; ++k)
      if (nav_lists_21b[k].dist_nm > nav_lists_21b[worst].dist_nm) worst = k;
  }
  std::stable_sort(nav_lists_21b + 1, nav_lists_21b + 1 + nearest_vor_rows,
                   [](const NavRecord& a, const NavRecord& b) { return a.dist_nm < b.dist_nm; });
}
