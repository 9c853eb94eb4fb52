#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
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
std::vector<uint64_t> chosen_bits;  // records chosen, by table index

// The records of a whole table by whole degree of latitude, with the sines and cosines of
// their latitudes and their repeat flags: a rebuild reads only the degrees its circle
// spans. Records whose latitude is not a number of -90..90 sit in a last row that every
// search reads.
struct PositionIndex {
  static constexpr int kRows = 182;  // -90..89, 90, stray
  struct Entry {
    GcOrigin at;
    int index;
    int dup;
  };
  const NavRecord* table = nullptr;
  std::atomic<bool> built{false};  // loaders in several threads may clear it
  std::vector<Entry> entries;
  int row_start[kRows + 1] = {};

  static int row_of(double lat) {
    if (!(lat >= -90.0 && lat <= 90.0)) return kRows - 1;
    return static_cast<int>(std::floor(lat)) + 90;
  }

  void build(int count) {
    std::fill(row_start, row_start + kRows + 1, 0);
    for (int i = 1; i <= count; ++i) ++row_start[row_of(table[i].lat) + 1];
    for (int r = 0; r < kRows; ++r) row_start[r + 1] += row_start[r];
    entries.resize(static_cast<size_t>(count));
    int fill[kRows];
    std::copy(row_start, row_start + kRows, fill);
    for (int i = 1; i <= count; ++i) {
      const NavRecord& rec = table[i];
      entries[static_cast<size_t>(fill[row_of(rec.lat)]++)] = {gc_origin(rec.lat, rec.lon), i, rec.dup};
    }
    built.store(true, std::memory_order_relaxed);
  }
};
PositionIndex position_indexes[3] = {{nav_airports}, {nav_navaids}, {nav_airway_fixes}};

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

// The circle searched. A latitude band and a longitude span bound it from outside; only
// records inside both are measured, and measured exactly, so the lists are those of a full scan.
struct Circle {
  GcOrigin origin;
  double radius_nm, band, span;

  Circle(double lat, double lon, double radius)
      : origin(gc_origin(lat, lon)),
        radius_nm(radius),
        band(radius / kNmPerDegree + 1e-9),
        span(longitude_half_span(lat, radius)) {}

  bool outside_bounds(double lat, double lon) const {
    if (std::fabs(lat - origin.lat) > band) return true;
    if (span < 180.0) {
      double dl = std::fabs(lon - origin.lon);
      if (dl > 180.0) dl = 360.0 - dl;
      if (dl > span) return true;
    }
    return false;
  }
  void measure(int index, const GcOrigin& at) const {
    double dist = compute_gc_distance(origin, at);
    if (dist <= radius_nm) candidates.push_back({index, dist});
  }
};

void gather_from_table(const NavRecord* table, int count, const Circle& c, bool skip_dups) {
  for (int i = 1; i <= count; ++i) {
    const NavRecord& r = table[i];
    if (skip_dups && r.dup) continue;
    if (c.outside_bounds(r.lat, r.lon)) continue;
    c.measure(i, gc_origin(r.lat, r.lon));
  }
}

void gather_from_index(PositionIndex& ix, int count, const Circle& c, bool skip_dups) {
  if (!ix.built.load(std::memory_order_relaxed)) ix.build(count);
  auto read_rows = [&](int first, int last) {
    for (int e = ix.row_start[first]; e < ix.row_start[last + 1]; ++e) {
      const PositionIndex::Entry& en = ix.entries[static_cast<size_t>(e)];
      if (en.index > count || (skip_dups && en.dup)) continue;
      if (c.outside_bounds(en.at.lat, en.at.lon)) continue;
      c.measure(en.index, en.at);
    }
  };
  const double low = std::max(-90.0, c.origin.lat - c.band), high = std::min(90.0, c.origin.lat + c.band);
  if (low <= high) read_rows(PositionIndex::row_of(low), PositionIndex::row_of(high));
  read_rows(PositionIndex::kRows - 1, PositionIndex::kRows - 1);
}

// Copies into list[1..] the records of table[1..count] within radius_nm of (lat, lon), at
// most `limit`: the nearest ones when more are within, in table order. Returns the number
// copied. `skip_dups` leaves out records flagged as repeats of an earlier one.
int copy_within(const NavRecord* table, int count, double lat, double lon, double radius_nm,
                NavRecord* list, int limit, bool skip_dups) {
  candidates.clear();
  const Circle circle(lat, lon, radius_nm);
  PositionIndex* ix = nullptr;
  for (PositionIndex& p : position_indexes)
    if (p.table == table) ix = &p;
  if (ix)
    gather_from_index(*ix, count, circle, skip_dups);
  else
    gather_from_table(table, count, circle, skip_dups);
  const size_t keep = limit > 0 ? static_cast<size_t>(limit) : 0;
  if (candidates.size() > keep) {
    auto nearer = [](const Candidate& a, const Candidate& b) {
      return a.dist_nm < b.dist_nm || (a.dist_nm == b.dist_nm && a.index < b.index);
    };
    std::nth_element(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(keep), candidates.end(),
                     nearer);
    candidates.resize(keep);
  }
  // Table order: the chosen indexes marked, then read in order.
  chosen_bits.assign(static_cast<size_t>(count) / 64 + 1, 0);
  for (const Candidate& c : candidates) chosen_bits[static_cast<size_t>(c.index) / 64] |= uint64_t{1} << (c.index % 64);
  int n = 0;
  for (size_t w = 0; w < chosen_bits.size(); ++w)
    for (uint64_t bits = chosen_bits[w]; bits != 0; bits &= bits - 1)
      list[++n] = table[w * 64 + static_cast<size_t>(std::countr_zero(bits))];
  return n;
}

}  // namespace

void nav_tables_changed() {
  for (PositionIndex& p : position_indexes) p.built.store(false, std::memory_order_relaxed);
}

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
