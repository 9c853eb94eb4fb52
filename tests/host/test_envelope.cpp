// The aircraft kept inside its envelope, flown from the gate on KSEA 16L at sim rate 1 on
// the company route KSEA-KPDX: the highest and lowest entries a pilot may make, the file's
// own speeds and the Mach cruise setting. The path flown is checked: the airspeed between
// the least speed and the live maximum, the Mach below the limit, the altitude below
// MaxCruise and never back on the ground after lift-off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "flightplan/flight_plan.h"
#include "host/aircraft_model.h"
#include "tests/host/flight_fixture.h"

namespace {

using flight::Flight;
using simhost::TrackRow;

// The sample aircraft file's MaxCruise and least speeds, the host aircraft's limits.
constexpr double kMaxCruise = 41000, kLeastClimbIas = 210, kLeastIas = 170;

double mach_of(const TrackRow& r) {
  return simhost::true_airspeed_kt(r.ias_kt, r.alt_ft) / simhost::standard_atmosphere(r.alt_ft).speed_of_sound_kt;
}

struct Excess {
  double over_max = -1e9;    // kt above the live maximum, worst
  double under_least = -1e9; // kt below the least speed, worst, with VNAV flying the speed
  double mach = 0;           // highest Mach
  double descent_ias = 0;    // highest airspeed in the descent
  double alt = 0;            // highest altitude
  bool climbed_out = false;
  double sink = -1e9;        // ft below the ground after lift-off, or below 1,000 ft above it once
                             // climbed out (above 1,500 ft), before KPDX
};

Excess excess(const Flight& f) {
  const simhost::AircraftState& s = f.host.aircraft().state();
  Excess e;
  double engaged_t = -1, lift_off_t = -1;
  bool arrived = false;      // within 15 NM of KPDX: the flight's end
  for (const TrackRow& r : f.rows()) {
    if (engaged_t < 0 && r.vnav == 1) engaged_t = r.t;
    if (lift_off_t < 0 && r.alt_ft > 500) lift_off_t = r.t;
    e.climbed_out = e.climbed_out || r.alt_ft > 1500;
    e.over_max = std::max(e.over_max, r.ias_kt - std::min(s.vmo_kt, simhost::ias_for_mach(s.mmo, r.alt_ft)));
    e.mach = std::max(e.mach, mach_of(r));
    if (r.vnav == 1 && r.vs_fpm < -1000) e.descent_ias = std::max(e.descent_ias, r.ias_kt);
    e.alt = std::max(e.alt, r.alt_ft);
    const double to_kpdx = flight::nm(r.lat, r.lon, flight::kKpdxLat, flight::kKpdxLon);
    arrived = arrived || to_kpdx < 15;
    if (lift_off_t >= 0 && !arrived) e.sink = std::max(e.sink, (e.climbed_out ? 1433.0 : 483.0) - r.alt_ft);
    // Two minutes after VNAV took the speed, away from the approach.
    if (engaged_t >= 0 && r.t > engaged_t + 120 && r.vnav == 1 && r.alt_ft > 3000 && !arrived) {
      const double least = r.vs_fpm > 500 ? kLeastClimbIas : kLeastIas;
      e.under_least = std::max(e.under_least, least - r.ias_kt);
    }
  }
  return e;
}

// A leg 200 NM west after OLM: room to climb to the highest levels.
const std::string kFarOut = "click SMITHS_FMS 5\nrun 2f\ntype SMITHS_FMS SEA250/200\nclick SMITHS_FMS 19\nrun 2f";
const std::string kInit = "click SMITHS_FMS 0\nrun 2f\n";
const std::string kLimits = "click SMITHS_FMS 0\nrun 2f\nclick SMITHS_FMS 12\nrun 2f\n";

// Typed on `page` and put on line key `key`; a refused entry is cleared away after it.
std::string enter(const std::string& page, const std::string& text, int key) {
  std::string s = page + "type SMITHS_FMS " + text + "\nclick SMITHS_FMS " + std::to_string(key) + "\nrun 2f\n";
  for (size_t i = 0; i <= text.size(); ++i) s += "click SMITHS_FMS 66\n";
  return s + "run 2f";
}

// NM outside the racetrack drawn for the first hold (its turns about the middles of its
// ends, the straight sides between them), on a flat plane about the fix.
double outside_racetrack(const TrackRow& r) {
  const HoldRecord& h = hold_list[1];
  const double k = std::cos(h.pattern_lat[0] * 3.14159265358979323846 / 180.0);
  auto xy = [&](double lat, double lon, double& x, double& y) {
    x = (lon - h.pattern_lon[0]) * 60.0 * k;
    y = (lat - h.pattern_lat[0]) * 60.0;
  };
  double x1, y1, x2, y2, x3, y3, x4, y4, px, py;
  xy(h.pattern_lat[1], h.pattern_lon[1], x1, y1);
  xy(h.pattern_lat[2], h.pattern_lon[2], x2, y2);
  xy(h.pattern_lat[3], h.pattern_lon[3], x3, y3);
  xy(h.pattern_lat[4], h.pattern_lon[4], x4, y4);
  xy(r.lat, r.lon, px, py);
  const double ax = (x3 + x4) / 2, ay = (y3 + y4) / 2, bx = (x1 + x2) / 2, by = (y1 + y2) / 2;
  const double radius = std::hypot(x1 - x2, y1 - y2) / 2;
  const double len2 = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
  const double t = len2 > 0 ? std::clamp(((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(px - (ax + t * (bx - ax)), py - (ay + t * (by - ay))) - radius;
}

}  // namespace

// Whatever the pilot enters, the aircraft stays inside its envelope for the whole flight.
TEST(Envelope, EntriesAndVnavKeepTheAircraftInsideItsEnvelope) {
  struct Case {
    const char* name;
    std::string aircraft_lines;
    std::vector<std::string> entries;  // on the active route, before EXEC
    const char* flown;                 // after the take-off
    double descent_ias;                // the descent reaches this airspeed (0: not flown so far)
    double mmo = 0.82;                 // the host aircraft's Mach limit
  };
  const Case cases[] = {
      {"the highest entries",
       "",
       {enter(kInit, "FL410", 14), enter(kLimits, "320/.820", 14), enter("click SMITHS_FMS 2\nrun 2f\n", "320", 15),
        enter("click SMITHS_FMS 4\nrun 2f\n", "320/.82", 15)},
       "run 65m", 318},
      {"FL350 at the file's speeds", "", {enter(kInit, "FL350", 14)}, "run 30m", 0},
      {"the Mach cruise setting",
       "VnavSetMachCruiseSpd=1",
       {enter(kInit, "FL350", 14), enter("click SMITHS_FMS 3\nrun 2f\n", "/.99", 15)},
       "run 30m", 0},
      {"the lowest entries",
       "",
       {enter(kInit, "FL200", 14), enter(kInit, "0", 21), enter(kLimits, "001/.100", 15),
        enter("click SMITHS_FMS 2\nrun 2f\n", "50", 15), enter("click SMITHS_FMS 4\nrun 2f\n", "050/10000", 17)},
       "run 70m", 0},
      {"a constraint of 100 kt", "", {enter(kInit, "FL200", 14), enter("click SMITHS_FMS 5\nrun 2f\n", "100/1", 16)},
       "run 20m", 0},
      {"a Mach cruise above a Mach limit of .76",
       "VnavSetMachCruiseSpd=1",
       {enter(kInit, "FL350", 14), enter("click SMITHS_FMS 3\nrun 2f\n", "/.80", 15)},
       "run 30m",
       0,
       0.76},
      {"a cruise level below the field", "", {enter(kInit, "3", 14)}, "run 8m", 0},
      {"a cruise level above MaxCruise", "", {enter(kInit, "FL600", 14)}, "run 30m", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("panel.cfg", c.aircraft_lines);
    f.host.aircraft().state().mmo = c.mmo;
    std::vector<std::string> script = {"gate_16l.txt", "company_route.txt", kFarOut};
    script.insert(script.end(), c.entries.begin(), c.entries.end());
    script.insert(script.end(), {"click SMITHS_FMS 68\nrun 2f", "takeoff.txt", c.flown});
    ASSERT_TRUE(f.fly(script)) << f.error;
    const Excess e = excess(f);
    EXPECT_LE(e.over_max, 2.0);
    EXPECT_LE(e.under_least, 3.0);
    EXPECT_LE(e.mach, c.mmo + 0.005);
    EXPECT_LE(e.alt, kMaxCruise + 200);
    EXPECT_TRUE(e.climbed_out);
    // Below the crossover the descent speeds up to the speed asked as the limit rises.
    EXPECT_GE(e.descent_ias, c.descent_ias);
    EXPECT_LE(e.sink, 0.0);
  }
}

// A hold is flown at the holding speed (the sample aircraft's BestHoldIas, 220 kt, below
// FOURT's published 280 kt) on every unit: at a fix with a published speed, at the present
// position, and one placed by the MCU, within 1 NM of the racetrack drawn. The last minutes
// of each flight are laps of the hold.
TEST(Envelope, HoldsAreFlownAtTheHoldingSpeed) {
  struct Case {
    const char* name;
    const char* panel;
    std::vector<std::string> script;
  };
  const Case cases[] = {
      {"a hold at FOURT in the descent",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt",
        "run 13m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 23\nrun 2f",
        "click SMITHS_FMS 68\nrun 2f\nrun 15m"}},
      {"a hold at the present position",
       "panel.cfg",
       {"gate_16l.txt", "company_route.txt", "takeoff.txt",
        "run 8m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 24\nrun 2f\nclick SMITHS_FMS 68\nrun 2f\nrun 10m"}},
      {"an MCU hold",
       "mcu_panel.cfg",
       {"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f", "takeoff.txt",
        "run 4m\nclick MCU 5\nrun 2f\nrun 14m"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f(c.panel);
    ASSERT_TRUE(f.fly(c.script)) << f.error;
    const auto& rows = f.rows();
    ASSERT_FALSE(rows.empty());
    ASSERT_GE(hold_count, 1);
    double fastest = 0, slowest = 1e9, outside = -1e9;
    for (const TrackRow& r : rows)
      if (r.t > rows.back().t - 300) {
        fastest = std::max(fastest, r.ias_kt);
        slowest = std::min(slowest, r.ias_kt);
        outside = std::max(outside, outside_racetrack(r));
      }
    EXPECT_LE(fastest, 223.0);
    EXPECT_GE(slowest, kLeastIas - 3.0);
    EXPECT_LE(outside, 1.0);
  }
}
