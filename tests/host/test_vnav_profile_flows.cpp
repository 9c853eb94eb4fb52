// The VNAV profile as flown from the gate on KSEA 16L at sim rate 1: a cruise level raised
// in flight is climbed to and the descent starts where the path for the level flown
// places it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "tests/host/flight_fixture.h"

namespace {

using flight::abeam_altitude;
using flight::Flight;
using flight::nm;
using simhost::TrackRow;

constexpr double kFourtLat = 45.87, kFourtLon = -122.87, kFourtAlt = 11000.0;

// Where the descent began after simulated time `t`: the highest row before the altitude
// first fell 150 ft below it; null when it never did.
const TrackRow* descent_start(const std::vector<TrackRow>& rows, double t) {
  const TrackRow* top = nullptr;
  for (const TrackRow& r : rows) {
    if (r.t < t) continue;
    if (!top || r.alt_ft >= top->alt_ft) top = &r;
    else if (r.alt_ft < top->alt_ft - 150.0) return top;
  }
  return nullptr;
}

}  // namespace

// A cruise level raised on the Smiths CRZ page in cruise (14,000 to 16,000 ft) is climbed
// to, or, too near the descent for it, the level the profile can fly; the descent toward
// FOURT starts where the path down to FOURT's 11,000 meets the level flown, not at once,
// and the arrival's constraints are met abeam.
TEST(VnavProfileFlows, ARaisedCruiseLevelIsClimbedToBeforeTheDescent) {
  const std::string cruise_14000 =
      "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 14000\nclick SMITHS_FMS 14\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";
  const std::string raise_16000 =
      "click SMITHS_FMS 3\nrun 2f\ntype SMITHS_FMS 16000\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";
  struct Case {
    const char* name;
    const char* cruise;  // flown at 14,000 ft for this long after the take-off
    const char* then;    // flown after the raise
    double reaches;      // the altitude the climb reaches at least
    bool held;           // the new level is held until the descent
  };
  // The descent from 14,000 ft starts about 1,145 s after the take-off, 10 NM before FOURT.
  const Case cases[] = {
      {"raised 25 NM before the descent", "run 853s", "run 680s", 15950, true},
      {"raised 7 NM before the descent, too near for the level", "run 1062s", "run 470s", 15000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("panel.cfg");
    ASSERT_TRUE(f.fly({"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", cruise_14000,
                       "takeoff.txt", c.cruise}))
        << f.error;
    ASSERT_NEAR(f.rows().back().alt_ft, 14000.0, 50.0);
    const double raised_at = f.rows().back().t;
    ASSERT_TRUE(f.fly({raise_16000})) << f.error;
    // The profile's descent gradient as the new level was taken.
    const double feet_per_nm = descent_rate / (DescentTas / 60.0);
    ASSERT_TRUE(f.fly({c.then})) << f.error;
    const std::vector<TrackRow>& rows = f.rows();
    const TrackRow* top = descent_start(rows, raised_at);
    ASSERT_NE(top, nullptr);
    EXPECT_GE(top->alt_ft, c.reaches);
    if (c.held) {
      auto reached = std::find_if(rows.begin(), rows.end(),
                                  [&](const TrackRow& r) { return r.t > raised_at && r.alt_ft >= c.reaches; });
      double lowest = 1e9;
      for (auto r = reached; r != rows.end() && r->t <= top->t; ++r) lowest = std::min(lowest, r->alt_ft);
      EXPECT_GE(lowest, c.reaches - 100.0) << "the level left before the descent";
    }
    // The path down to FOURT at the profile's descent gradient meets the level flown here;
    // the descent may begin up to 1.5 NM before it.
    const double on_path = (top->alt_ft - kFourtAlt) / feet_per_nm;
    EXPECT_NEAR(nm(top->lat, top->lon, kFourtLat, kFourtLon) - on_path, 0.5, 1.5) << "descent from " << top->alt_ft << " ft/NM " << feet_per_nm;
    const struct {
      const char* ident;
      double alt;
    } constraints[] = {{"FOURT", 11000}, {"HELNS", 7000}, {"GIMIC", 5000}, {"MARTY", 4000}, {"TOWNI", 2600}};
    for (const auto& k : constraints) EXPECT_NEAR(abeam_altitude(rows, k.ident), k.alt, 300.0) << k.ident;
  }
}
