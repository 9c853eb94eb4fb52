// LNAV in the flows a pilot flies, from the gate on KSEA 16L at sim rate 1: leaving a
// hold, a direct-to behind, a procedure inserted in flight, the final approach and the
// markers drawn on the path. The path is sampled every two seconds and checked where the
// aircraft actually went.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "flight_fixture.h"
#include "flightplan/flight_plan.h"
#include "platform/gfx/gfx_recording.h"
#include "host/track_log.h"

namespace {

using flight_fixture::Flight;
using flight_fixture::nm;
using simhost::TrackRow;

struct Fix {
  const char* ident;
  double lat, lon;
};
constexpr Fix kFourt{"FOURT", 45.87, -122.87};

// The database route with FOURT closing its discontinuity, executed at the gate.
const std::vector<std::string> kProcedureRoute = {"gate_16l.txt", "procedures_route.txt", "close_disco.txt",
                                                  "exec.txt", "takeoff.txt"};

// The first row, from `from_t` on, after which `ident` is no longer the active waypoint;
// rows.end() when it stays or never was.
std::vector<TrackRow>::const_iterator passed(const std::vector<TrackRow>& rows, const char* ident, double from_t) {
  for (auto it = rows.begin() + 1; it < rows.end(); ++it)
    if (it->t >= from_t && (it - 1)->active == ident && it->active != ident) return it;
  return rows.end();
}

}  // namespace

// EXIT HOLD executed anywhere in the racetrack at FOURT: the racetrack is flown on and the
// hold is left over the fix, wherever the aircraft was when the pilot executed it.
TEST(LnavFlows, HoldIsLeftAtItsFix) {
  const std::string hold_at_fourt =
      "run 13m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\n"
      "click SMITHS_FMS 68\nrun 2f";
  const std::string exit_hold = "click SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 24\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";
  struct Case {
    const char* name;
    const char* wait;  // flown in the hold before EXIT HOLD
  };
  const Case cases[] = {
      {"on the outbound leg", "run 530s"},
      {"in the turn at the far end", "run 680s"},
      {"on the inbound leg", "run 800s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("panel.cfg");
    std::vector<std::string> script = kProcedureRoute;
    script.insert(script.end(), {hold_at_fourt, c.wait});
    ASSERT_TRUE(f.fly(script)) << f.error;
    double exec_t = f.rows().back().t;
    ASSERT_EQ(f.rows().back().active, "FOURT");
    ASSERT_TRUE(f.fly({exit_hold, "run 6m"})) << f.error;
    const auto& rows = f.rows();
    auto at = passed(rows, "FOURT", exec_t);
    ASSERT_NE(at, rows.end());
    EXPECT_LT(nm(at->lat, at->lon, kFourt.lat, kFourt.lon), 1.0) << "passed at t " << at->t;
    // Until then the racetrack: never farther from the fix than its far side.
    for (auto it = rows.begin(); it != at; ++it) {
      if (it->t > exec_t) {
        EXPECT_LT(nm(it->lat, it->lon, kFourt.lat, kFourt.lon), 10.0) << it->t;
      }
    }
  }
}

// A direct-to a fix a few miles behind, in the climb: the aircraft turns back and flies
// to it before going on (Smiths DIR INTC with EXEC, MCU DIRTO with ENTER).
TEST(LnavFlows, DirectToAFixBehindIsFlownTo) {
  constexpr Fix kOlm{"OLM", 46.971528, -122.9019};
  struct Case {
    const char* name;
    const char* panel;
    std::vector<std::string> to_behind;  // from the gate until the fix lies about 5 NM behind
    std::string direct;
  };
  const Case cases[] = {
      {"Smiths DIR INTC OLM", "panel.cfg", {kProcedureRoute.begin(), kProcedureRoute.end()},
       "type SMITHS_FMS OLM\nclick SMITHS_FMS 6\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\nclick SMITHS_FMS 68\nrun 2f"},
      {"MCU DIRTO OLM", "mcu_panel.cfg", {"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f", "takeoff.txt"},
       "click MCU 4\nclick MCU 12\nkey O\nkey L\nkey M\nrun 2f\nclick MCU 12\nclick MCU 17\nrun 2f"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f(c.panel);
    std::vector<std::string> script = c.to_behind;
    script.push_back("run 566s");
    ASSERT_TRUE(f.fly(script)) << f.error;
    const TrackRow before = f.rows().back();
    double behind = nm(before.lat, before.lon, kOlm.lat, kOlm.lon);
    ASSERT_GT(behind, 4.0);
    ASSERT_LT(behind, 7.0);
    ASSERT_TRUE(f.fly({c.direct, "run 5m"})) << f.error;
    const auto& rows = f.rows();
    // The closest approach while OLM is the active waypoint (a pass between two rows ends it).
    auto at = passed(rows, "OLM", before.t);
    double closest = behind;
    for (auto it = rows.begin(); it != at; ++it) {
      if (it->t > before.t && it->active == "OLM") closest = std::min(closest, nm(it->lat, it->lon, kOlm.lat, kOlm.lon));
    }
    EXPECT_NE(at, rows.end());
    EXPECT_LT(closest, 0.55 * behind) << behind << " NM behind";
  }
}

// A procedure inserted into the active plan on the GNS-XLS in the climb, CARRO being flown:
// CARRO stays the active waypoint and the aircraft flies on, never back to ALKIS.
TEST(LnavFlows, ProcedureInsertedInFlightKeepsTheActiveWaypoint) {
  constexpr Fix kAlkis{"ALKIS", 47.576, -122.421};
  const std::string fpl = "click GNSXLS 0\nrun 2f\nclick GNSXLS 2\nrun 2f\n";
  struct Case {
    const char* name;
    std::string insertion;  // from the FPL page
  };
  const Case cases[] = {
      {"APPROACH I10R via HELNS",
       fpl + "click GNSXLS 9\nrun 2f\nclick GNSXLS 9\nrun 2f\nclick GNSXLS 22\nrun 2f\nclick GNSXLS 10\nrun 2f\n"
             "type GNSXLS KPDX\nrun 2f\nclick GNSXLS 22\nrun 2f\nclick GNSXLS 22\nrun 2f\nclick GNSXLS 7\nrun 2f\n"
             "click GNSXLS 22\nrun 2f\nclick GNSXLS 7\nrun 2f\nclick GNSXLS 22\nrun 2f\nclick GNSXLS 22\nrun 2f"},
      {"DEPARTURE ALKI1.OLM off 16L",
       fpl + "click GNSXLS 8\nrun 2f\nclick GNSXLS 8\nrun 2f\nclick GNSXLS 22\nrun 2f\ntype GNSXLS KSEA\nrun 2f\n"
             "click GNSXLS 22\nrun 2f\nclick GNSXLS 22\nrun 2f\nclick GNSXLS 22\nrun 2f\nclick GNSXLS 22\nrun 2f\n"
             "click GNSXLS 7\nrun 2f\nclick GNSXLS 22\nrun 2f\nclick GNSXLS 22\nrun 2f"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("gnsxls_panel.cfg");
    std::vector<std::string> script = kProcedureRoute;
    script.push_back("run 100s");
    ASSERT_TRUE(f.fly(script)) << f.error;
    const TrackRow before = f.rows().back();
    ASSERT_EQ(before.active, "CARRO");
    ASSERT_TRUE(f.fly({c.insertion, "run 3m"})) << f.error;
    double from_alkis = nm(before.lat, before.lon, kAlkis.lat, kAlkis.lon), closest = from_alkis;
    std::string active_after;
    for (const TrackRow& r : f.rows()) {
      if (r.t <= before.t + 10.0) continue;
      if (active_after.empty()) active_after = r.active;
      closest = std::min(closest, nm(r.lat, r.lon, kAlkis.lat, kAlkis.lon));
    }
    EXPECT_EQ(active_after, "CARRO");
    EXPECT_GT(closest, from_alkis - 0.5) << "ALKIS " << from_alkis << " NM away at the insertion";
  }
}

// The departure with the change distance of procedure fixes set long (its largest value):
// every fix of the SID is flown toward, passed only once a third of its leg is flown, as
// with the sample's settings.
TEST(LnavFlows, LongChangeDistancesStillFlyTheDeparture) {
  struct Case {
    const char* name;
    const char* setting;  // "" the sample's
  };
  const Case cases[] = {{"the sample's settings", ""}, {"WptProcChgDist=20", "WptProcChgDist=20"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto prepare = [&](const std::string& folder) {
      const std::string path = folder + "/vek/Aircraft/Twinjet.cfg";
      std::ifstream in(path);
      std::string text, line;
      while (std::getline(in, line)) {
        if (*c.setting && line.rfind("WptProcChgDist=", 0) == 0) line = c.setting;
        text += line + "\n";
      }
      in.close();
      std::ofstream(path) << text;
    };
    Flight f("panel.cfg", prepare);
    std::vector<std::string> script = kProcedureRoute;
    script.push_back("run 9m");
    ASSERT_TRUE(f.fly(script)) << f.error;
    const auto& rows = f.rows();
    for (const char* ident : {"ALKIS", "CARRO", "OLM"}) {
      int i = 1;
      while (i <= fpl_active_last && std::strcmp(fpl_active[i].ident, ident) != 0) ++i;
      ASSERT_LE(i, fpl_active_last) << ident;
      const FlightPlanWpt &from = fpl_active[i - 1], &fix = fpl_active[i];
      double leg = nm(from.lat, from.lon, fix.lat, fix.lon);
      auto at = passed(rows, ident, 0.0);
      ASSERT_NE(at, rows.end()) << ident;
      EXPECT_LT(nm(at->lat, at->lon, fix.lat, fix.lon), 2.0 / 3.0 * leg + 0.3) << ident << ", leg " << leg << " NM";
    }
  }
}

// LNAV lost at the open discontinuity after DUBYA: "LNAV OFF" on the Smiths message line
// stays while LNAV is off and goes once the pilot flies direct to FOURT and engages it.
TEST(LnavFlows, LnavOffMessageGoesWhenLnavIsEngagedAgain) {
  const std::string direct_fourt =
      "type SMITHS_FMS FOURT\nclick SMITHS_FMS 6\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";
  struct Case {
    const char* name;
    std::string then;
    bool shown;  // "LNAV OFF" still on the message line
  };
  const Case cases[] = {
      {"LNAV left off", direct_fourt + "\nrun 30s", true},
      {"LNAV engaged again", direct_fourt + "\nclick LNAV 0\nrun 30s", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("panel.cfg");
    // The CDU as drawn in the next two frames.
    auto message_shown = [&] {
      f.host.set_draw_recording(true);
      f.host.run_frames(2);
      const simhost::PlacedGauge* g = f.host.find_gauge("SMITHS_FMS");
      const GfxRecording* r = g && g->drawn_image() ? gfx_recording_of(g->drawn_image()) : nullptr;
      bool shown = r && r->has_text("LNAV OFF");
      f.host.set_draw_recording(false);
      return shown;
    };
    ASSERT_TRUE(f.fly({"gate_16l.txt", "procedures_route.txt", "exec.txt", "takeoff.txt", "run 13m"})) << f.error;
    ASSERT_EQ(f.rows().back().lnav, 0);
    ASSERT_TRUE(message_shown());
    ASSERT_TRUE(f.fly({c.then})) << f.error;
    EXPECT_EQ(f.rows().back().lnav, c.shown ? 0 : 1);
    EXPECT_EQ(message_shown(), c.shown);
  }
}
