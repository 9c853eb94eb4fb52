// Routes flown as a pilot flies them: from the gate on KSEA 16L at sim rate 1 with the
// host's take-off, LNAV and VNAV engaged in the climb, edits in the climb, cruise and
// descent. The path flown is sampled every two seconds and checked where the aircraft
// actually went.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "flightplan/flight_plan.h"
#include "tests/host/flight_fixture.h"

namespace {

using flight::abeam_altitude;
using flight::Flight;
using flight::lowest_from;
using flight::nm;
using simhost::TrackRow;

constexpr double kKpdxLat = flight::kKpdxLat, kKpdxLon = flight::kKpdxLon;

bool ever_active(const std::vector<TrackRow>& rows, const char* ident) {
  return std::any_of(rows.begin(), rows.end(), [&](const TrackRow& r) { return r.active == ident; });
}

// The lowest altitude flown on LNAV more than 10 NM from KPDX once the climb passed
// 2,000 ft.
double lowest_away_from_destination(const std::vector<TrackRow>& rows) {
  double lowest = 1e9;
  bool airborne = false;
  for (const TrackRow& r : rows) {
    airborne = airborne || r.alt_ft > 2000.0;
    if (airborne && r.lnav == 1 && nm(r.lat, r.lon, kKpdxLat, kKpdxLon) > 10.0) lowest = std::min(lowest, r.alt_ft);
  }
  return lowest;
}

// The most the aircraft descended, from `from_t` on, below the highest altitude it had
// reached since then, before its highest point of all: a descent before the top.
double descent_before_top(const std::vector<TrackRow>& rows, double from_t = 0.0) {
  auto top = std::max_element(rows.begin(), rows.end(),
                              [](const TrackRow& a, const TrackRow& b) { return a.alt_ft < b.alt_ft; });
  double high = 0.0, worst = 0.0;
  for (auto it = rows.begin(); it != top; ++it) {
    if (it->t < from_t) continue;
    high = std::max(high, it->alt_ft);
    worst = std::max(worst, high - it->alt_ft);
  }
  return worst;
}


}  // namespace

// The database route with its published constraints: LEGS keeps them after EXEC, VNAV
// meets them, the final approach fix within 300 ft, and the flight ends at the runway
// with the missed approach left in the plan, unflown.
TEST(FlownRoute, PublishedConstraintsAreMetDownToTheRunway) {
  Flight f("panel.cfg");
  ASSERT_TRUE(f.fly({"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt"})) << f.error;
  struct Published {
    const char* ident;
    double alt, spd, margin;
  };
  const Published published[] = {{"ALKIS", 4000, 250, 500},   {"CARRO", 10000, -999, 500}, {"FOURT", 11000, 280, 500},
                                 {"HELNS", 7000, -999, 500},  {"GIMIC", 5000, -999, 500},  {"MARTY", 4000, 210, 500},
                                 {"TOWNI", 2600, 180, 300},   {"RIVER", 1500, -999, 500}};
  for (const Published& p : published) {
    int i = 1;
    while (i <= fpl_active_last && std::strcmp(fpl_active[i].ident, p.ident) != 0) ++i;
    ASSERT_LE(i, fpl_active_last) << p.ident;
    EXPECT_EQ(fpl_active[i].alt_constraint, p.alt) << p.ident;
    EXPECT_EQ(fpl_active[i].spd_constraint, p.spd) << p.ident;
  }
  ASSERT_TRUE(f.fly({"takeoff.txt", "run 40m"})) << f.error;
  const auto& rows = f.rows();
  for (const Published& p : published) EXPECT_NEAR(abeam_altitude(rows, p.ident), p.alt, p.margin) << p.ident;
  EXPECT_FALSE(ever_active(rows, "BTG"));  // the missed approach
  EXPECT_GE(lowest_away_from_destination(rows), 1400.0);
  // LNAV ends at the runway; the aircraft levels there.
  auto off = std::find_if(rows.begin(), rows.end(), [](const TrackRow& r) { return r.t > 200.0 && r.lnav == 0; });
  ASSERT_NE(off, rows.end());
  EXPECT_EQ(off->active, "RW10R");
  EXPECT_LT(nm(off->lat, off->lon, 45.5939, -122.6273), 2.0);
  EXPECT_GT(lowest_from(rows, off->t + 20.0), off->alt_ft - 300.0);
  // Engaged at take-off speed, VNAV climbs on: no level-off before ALKIS's 4000 ft.
  auto engaged = std::find_if(rows.begin(), rows.end(), [](const TrackRow& r) { return r.vnav == 1; });
  for (auto it = engaged; it != rows.end() && it->alt_ft < 3000.0; ++it) EXPECT_GT(it->vs_fpm, 300.0) << it->t;
  // The flight log follows the climb past the level-off at ALKIS.
  std::ifstream log(f.folder() + "/vek/FlightLog/fpl.log");
  bool climb_logged_high = false;
  for (std::string row; std::getline(log, row);) {
    char phase[16] = {};
    double alt = 0.0;
    if (std::sscanf(row.c_str(), "%*s %15s %*s %*f %*f %*f %lf", phase, &alt) == 2)
      climb_logged_high = climb_logged_high || (std::strcmp(phase, "Climb") == 0 && alt > 8000.0);
  }
  EXPECT_TRUE(climb_logged_high);
}

// VNAV descends only from a top of descent, never toward the ground: a level the route
// cannot hold, a direct-to in the climb, LNAV lost at a discontinuity, a hold in the
// descent.
TEST(FlownRoute, VnavNeverDescendsBeforeTheTopOfDescentNorBelowItsFloor) {
  struct Case {
    const char* name;
    const char* panel;
    std::vector<std::string> script;
    double level_from_t;  // from then on the aircraft stays within 300 ft of its level
    double level;         // that level (ft), 0 for the altitude it had then
    bool lnav_to_kpdx;    // LNAV flies on to KPDX
  };
  const Case cases[] = {
      {"a cruise level the route cannot hold",
       "panel.cfg",
       {"gate_16l.txt", "company_route.txt", "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 35000\nclick SMITHS_FMS 14",
        "run 2f\nclick SMITHS_FMS 68\nrun 2f", "takeoff.txt", "run 30m"},
       -1, 0, true},
      {"an MCU direct to OLM in the climb",
       "mcu_panel.cfg",
       {"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f", "takeoff.txt",
        "run 2m\nclick MCU 4\nclick MCU 12\nkey O\nkey L\nkey M\nrun 2f\nclick MCU 12\nclick MCU 17\nrun 30m"},
       -1, 0, true},
      {"LNAV lost at an open discontinuity",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "exec.txt", "takeoff.txt", "run 20m"},
       0, 0, false},
      {"a hold at FOURT in the descent",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt",
        "run 13m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 23\nrun 2f",
        "click SMITHS_FMS 68\nrun 2f\nrun 15m"},
       1000, 11000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f(c.panel);
    ASSERT_TRUE(f.fly(c.script)) << f.error;
    const auto& rows = f.rows();
    EXPECT_LT(descent_before_top(rows), 300.0);
    EXPECT_GE(lowest_away_from_destination(rows), 1400.0);
    auto off = std::find_if(rows.begin(), rows.end(), [](const TrackRow& r) { return r.t > 200.0 && r.lnav == 0; });
    if (c.lnav_to_kpdx) {
      ASSERT_NE(off, rows.end());
      EXPECT_LT(nm(off->lat, off->lon, kKpdxLat, kKpdxLon), 5.0);
    }
    if (c.level_from_t < 0) continue;
    // Level from LNAV's loss (time 0), or from the given time on.
    double t = c.level_from_t, level = c.level;
    if (t == 0) {
      ASSERT_NE(off, rows.end());
      t = off->t;
      level = off->alt_ft;
    }
    EXPECT_GT(lowest_from(rows, t), level - 300.0);
  }
}

// What the pilot executes in flight is flown at once: a higher and a lower cruise level,
// a cruise speed, a constraint on the waypoint being flown in the descent.
TEST(FlownRoute, ExecutedChangesAreFlownAtOnce) {
  const std::vector<std::string> cruise_at_14000 = {
      "gate_16l.txt", "company_route.txt", "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 14000\nclick SMITHS_FMS 14",
      "run 2f\nclick SMITHS_FMS 68\nrun 2f", "takeoff.txt", "run 10m"};
  const std::string perf_init = "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS ";
  struct Case {
    const char* name;
    std::vector<std::string> change;  // executed at the end of the first part
    double TrackRow::*value;
    double target, margin;  // reached within the margin after the change
  };
  const Case cases[] = {
      {"a higher cruise level", {perf_init + "16000\nclick SMITHS_FMS 14\nrun 2f\nclick SMITHS_FMS 68\nrun 4m"},
       &TrackRow::alt_ft, 16000, 150},
      {"a lower cruise level", {perf_init + "12000\nclick SMITHS_FMS 14\nrun 2f\nclick SMITHS_FMS 68\nrun 4m"},
       &TrackRow::alt_ft, 12000, 150},
      {"a cruise speed", {"click SMITHS_FMS 3\nrun 2f\ntype SMITHS_FMS 300\nclick SMITHS_FMS 15\nrun 2f\nclick SMITHS_FMS 68\nrun 2m"},
       &TrackRow::ias_kt, 300, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("panel.cfg");
    ASSERT_TRUE(f.fly(cruise_at_14000)) << f.error;
    ASSERT_NEAR(f.rows().back().alt_ft, 14000, 100);
    double edit_t = f.rows().back().t;
    ASSERT_TRUE(f.fly(c.change)) << f.error;
    double nearest = 1e9;
    for (const TrackRow& r : f.rows())
      if (r.t > edit_t) nearest = std::min(nearest, std::fabs(r.*c.value - c.target));
    EXPECT_LT(nearest, c.margin);
  }
  // 10,000 ft typed on FOURT while it is flown (level at its published 11,000 ft since the
  // climb stopped there): crossed there, not at 11,000 ft.
  Flight f("panel.cfg");
  ASSERT_TRUE(f.fly({"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt", "run 13m",
                     "type SMITHS_FMS 280/10000\nclick SMITHS_FMS 14\nrun 2f\nclick SMITHS_FMS 68\nrun 8m"}))
      << f.error;
  EXPECT_NEAR(abeam_altitude(f.rows(), "FOURT"), 10000, 300);
}
