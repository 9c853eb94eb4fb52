// LNAV in the flows a pilot flies, from the gate on KSEA 16L at sim rate 1: leaving a
// hold, a direct-to behind, a procedure inserted in flight, the final approach and the
// markers drawn on the path. The path is sampled every two seconds and checked where the
// aircraft actually went.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/host/flight_fixture.h"
#include "draw/draw_toolkit.h"
#include "draw/toc_tod_layer.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/toc_tod.h"
#include "guidance/fms_state.h"
#include "platform/gfx/gfx_recording.h"
#include "host/track_log.h"

namespace {

using flight::Flight;
using flight::nm;
using simhost::TrackRow;

struct Fix {
  const char* ident;
  double lat, lon;
};
constexpr Fix kFourt{"FOURT", 45.87, -122.87};
constexpr double kPi = 3.14159265358979323846;

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

// EXIT HOLD executed anywhere in the racetrack (Smiths at FOURT, the MCU's second HOLD
// press at DUBYA): the racetrack is flown on and the hold is left over the fix, wherever
// the aircraft was when the pilot asked.
TEST(LnavFlows, HoldIsLeftAtItsFix) {
  constexpr Fix kDubya{"DUBYA", 46.58, -122.76};
  const std::string hold_at_fourt =
      "run 13m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\n"
      "click SMITHS_FMS 68\nrun 2f";
  const std::string smiths_exit = "click SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 24\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";
  const std::vector<std::string> mcu_route = {"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f",
                                              "takeoff.txt", "run 530s\nclick MCU 5\nrun 2f"};
  struct Case {
    const char* name;
    const char* panel;
    std::vector<std::string> to_hold;  // from the gate into the hold
    const char* wait;                  // flown in the hold before the exit
    std::string exit;
    Fix fix;
  };
  const std::vector<std::string> smiths_route = [&] {
    std::vector<std::string> v = kProcedureRoute;
    v.push_back(hold_at_fourt);
    return v;
  }();
  const Case cases[] = {
      {"Smiths, on the outbound leg", "panel.cfg", smiths_route, "run 530s", smiths_exit, kFourt},
      {"Smiths, in the turn at the far end", "panel.cfg", smiths_route, "run 680s", smiths_exit, kFourt},
      {"Smiths, on the inbound leg", "panel.cfg", smiths_route, "run 800s", smiths_exit, kFourt},
      {"MCU, on the outbound leg", "mcu_panel.cfg", mcu_route, "run 760s", "click MCU 5\nrun 2f", kDubya},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f(c.panel);
    std::vector<std::string> script = c.to_hold;
    script.push_back(c.wait);
    ASSERT_TRUE(f.fly(script)) << f.error;
    double exec_t = f.rows().back().t;
    ASSERT_EQ(f.rows().back().active, c.fix.ident);
    ASSERT_TRUE(f.fly({c.exit, "run 6m"})) << f.error;
    const auto& rows = f.rows();
    auto at = passed(rows, c.fix.ident, exec_t);
    ASSERT_NE(at, rows.end());
    EXPECT_LT(nm(at->lat, at->lon, c.fix.lat, c.fix.lon), 1.0) << "passed at t " << at->t;
    // Until then the racetrack: never farther from the fix than in the lap before.
    double lap = 0.0;
    for (auto it = rows.begin(); it != at; ++it) {
      double d = nm(it->lat, it->lon, c.fix.lat, c.fix.lon);
      if (it->t > exec_t - 400.0 && it->t <= exec_t) lap = std::max(lap, d);
      if (it->t > exec_t) {
        EXPECT_LT(d, lap + 1.0) << it->t;
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
    std::vector<std::string> to_behind;  // from the gate until the fix lies behind
    const char* wait;
    double least, most;                  // NM behind then
    std::string direct;
  };
  const std::string mcu_dirto_olm =
      "click MCU 4\nclick MCU 12\nkey O\nkey L\nkey M\nrun 2f\nclick MCU 12\nclick MCU 17\nrun 2f";
  const std::vector<std::string> mcu_route = {"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f",
                                              "takeoff.txt"};
  const Case cases[] = {
      {"Smiths DIR INTC OLM", "panel.cfg", {kProcedureRoute.begin(), kProcedureRoute.end()}, "run 566s", 4.0, 7.0,
       "type SMITHS_FMS OLM\nclick SMITHS_FMS 6\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\nclick SMITHS_FMS 68\nrun 2f"},
      {"MCU DIRTO OLM", "mcu_panel.cfg", mcu_route, "run 566s", 4.0, 7.0, mcu_dirto_olm},
      {"MCU DIRTO OLM far behind, a reversal after it", "mcu_panel.cfg", mcu_route, "run 690s", 12.0, 18.0,
       mcu_dirto_olm},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f(c.panel);
    std::vector<std::string> script = c.to_behind;
    script.push_back(c.wait);
    ASSERT_TRUE(f.fly(script)) << f.error;
    const TrackRow before = f.rows().back();
    double behind = nm(before.lat, before.lon, kOlm.lat, kOlm.lon);
    ASSERT_GT(behind, c.least);
    ASSERT_LT(behind, c.most);
    ASSERT_TRUE(f.fly({c.direct, "run 8m"})) << f.error;
    const auto& rows = f.rows();
    // The closest approach while OLM is the active waypoint (a pass between two rows ends it).
    auto at = passed(rows, "OLM", before.t);
    double closest = behind;
    for (auto it = rows.begin(); it != at; ++it) {
      if (it->t > before.t && it->active == "OLM") closest = std::min(closest, nm(it->lat, it->lon, kOlm.lat, kOlm.lon));
    }
    EXPECT_NE(at, rows.end());
    EXPECT_LT(closest, 0.55 * behind) << behind << " NM behind";
    // Reached, within the turn's radius, whatever its distance and the turn after it.
    double least = behind;
    for (const TrackRow& r : rows)
      if (r.t > before.t) least = std::min(least, nm(r.lat, r.lon, kOlm.lat, kOlm.lon));
    EXPECT_LT(least, 1.0) << behind << " NM behind";
  }
}

// A later fix made active on the MCU's LEGS page in the climb toward CARRO (NEXT to it,
// ENTER): it is flown to from where the aircraft was, along the line the ND draws from the
// aircraft to it, never through the fixes before it.
TEST(LnavFlows, AFixActivatedOnTheLegsPageIsFlownToFromTheAircraft) {
  constexpr Fix kOlm{"OLM", 46.971528, -122.9019};
  struct Case {
    const char* name;
    std::string legs;  // LEGS, NEXT to the fix, ENTER
    Fix fix;
  };
  const Case cases[] = {
      {"OLM, after CARRO", "click MCU 7\nrun 2f\nclick MCU 11\nrun 1f\nclick MCU 17\nrun 2f", kOlm},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("mcu_panel.cfg");
    ASSERT_TRUE(f.fly({"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f", "takeoff.txt", "run 100s"})) << f.error;
    const TrackRow before = f.rows().back();
    ASSERT_EQ(before.active, "CARRO");
    ASSERT_TRUE(f.fly({c.legs, "run 6m"})) << f.error;
    // NM off the line from where the aircraft was to the fix, once turned toward it.
    const double k = std::cos(before.lat * kPi / 180.0);
    const double fx = (c.fix.lon - before.lon) * 60.0 * k, fy = (c.fix.lat - before.lat) * 60.0, len = std::hypot(fx, fy);
    double off = 0.0;
    int flown = 0;
    for (const TrackRow& r : f.rows()) {
      if (r.t < before.t + 90.0 || r.active != c.fix.ident) continue;
      ++flown;
      const double x = (r.lon - before.lon) * 60.0 * k, y = (r.lat - before.lat) * 60.0;
      off = std::max(off, std::fabs(x * fy - y * fx) / len);
    }
    EXPECT_GT(flown, 30);
    EXPECT_LT(off, 1.0) << c.fix.ident << " " << len << " NM away";
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

// The hold at FOURT entered from DUBYA (track 186 true) with its inbound course set so that
// each sector is flown: the side of the inbound course the aircraft goes to after the fix,
// a teardrop's leg 30 degrees off the outbound course, the inbound course it is on when it
// next crosses the fix, and the entry the GNS-XLS HOLDING PATTERN page names.
TEST(LnavFlows, HoldsAreEnteredBySector) {
  struct Case {
    const char* name;
    const char* course;  // RTE HOLD INBD CRS/DIR
    double side;         // +1 the first 90 s after the fix on the holding side, -1 on the other
    const char* entry;   // on the HOLDING PATTERN page
  };
  const Case cases[] = {
      {"direct", "169/R", 1, "DIRECT ENTRY"},
      {"teardrop", "019/R", 1, "TEARDROP ENTRY"},
      {"teardrop, the outbound course 55 degrees right of the track", "044/R", 1, "TEARDROP ENTRY"},
      {"parallel", "299/R", -1, "PARALLEL ENTRY"},
      {"parallel, the outbound course 36 degrees left of the track", "314/R", -1, "PARALLEL ENTRY"},
      {"parallel, left turns", "049/L", -1, "PARALLEL ENTRY"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("gnsxls_panel.cfg");
    std::vector<std::string> script = kProcedureRoute;
    script.push_back(std::string("run 13m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 23\n") +
                     "run 2f\ntype SMITHS_FMS " + c.course + "\nclick SMITHS_FMS 17\nrun 2f\nclick SMITHS_FMS 68\nrun 2f");
    ASSERT_TRUE(f.fly(script)) << f.error;
    double exec_t = f.rows().back().t;
    ASSERT_TRUE(f.fly({"run 15m"})) << f.error;
    ASSERT_EQ(hold_count, 1);
    // The hold's frame: u along the inbound course from the fix, v toward the holding side.
    const double inbound = (hold_list[1].inbound_course + magvar) * kPi / 180.0;
    const double turn = hold_list[1].turn == 1 ? 1.0 : -1.0;
    auto frame = [&](const TrackRow& r, double& u, double& v) {
      double n = (r.lat - kFourt.lat) * 60.0, e = (r.lon - kFourt.lon) * 60.0 * std::cos(kFourt.lat * kPi / 180.0);
      u = n * std::cos(inbound) + e * std::sin(inbound);
      v = turn * (e * std::cos(inbound) - n * std::sin(inbound));
    };
    const auto& rows = f.rows();
    // At the fix: the first time the aircraft comes no closer to it.
    size_t at = 0;
    for (size_t i = 1; i + 1 < rows.size() && at == 0; ++i) {
      double d = nm(rows[i].lat, rows[i].lon, kFourt.lat, kFourt.lon);
      if (rows[i].t > exec_t && d < 2.0 && d <= nm(rows[i + 1].lat, rows[i + 1].lon, kFourt.lat, kFourt.lon)) at = i;
    }
    ASSERT_GT(at, 0u);
    double wrong_side = 0.0, right_side = 0.0, offset = 0.0;
    for (size_t i = at; i < rows.size() && rows[i].t < rows[at].t + 90.0; ++i) {
      double u = 0.0, v = 0.0;
      frame(rows[i], u, v);
      wrong_side = std::max(wrong_side, -c.side * v);
      right_side = std::max(right_side, c.side * v);
      // The track's angle off the outbound course toward the holding side, 30 to 60 s on.
      if (i > at && rows[i].t >= rows[at].t + 30.0 && rows[i].t < rows[at].t + 60.0) {
        double u0 = 0.0, v0 = 0.0;
        frame(rows[i - 1], u0, v0);
        offset = std::max(offset, std::atan2(v - v0, u0 - u) * 180.0 / kPi);
      }
    }
    EXPECT_LT(wrong_side, 0.5);
    EXPECT_GT(right_side, 1.0);
    if (std::string(c.entry) == "TEARDROP ENTRY") {
      EXPECT_NEAR(offset, 30.0, 8.0);
    }
    // Back over the fix on the inbound course.
    bool back = false;
    for (size_t i = at + 1; i < rows.size() && !back; ++i) {
      double u0 = 0.0, v0 = 0.0, u = 0.0, v = 0.0;
      frame(rows[i - 1], u0, v0);
      frame(rows[i], u, v);
      if (rows[i].t < rows[at].t + 120.0 || !(u0 < 0.0 && u >= 0.0 && std::fabs(v) < 3.0)) continue;
      back = true;
      double off = std::remainder(rows[i].hdg_true - inbound * 180.0 / kPi, 360.0);
      EXPECT_LT(std::fabs(v), 1.0) << "at " << rows[i].t;
      EXPECT_LT(std::fabs(off), 25.0) << "at " << rows[i].t;
    }
    EXPECT_TRUE(back);
    f.host.set_draw_recording(true);
    ASSERT_TRUE(f.fly({"click GNSXLS 4\nrun 2f"})) << f.error;
    const simhost::PlacedGauge* g = f.host.find_gauge("GNSXLS");
    const GfxRecording* r = g && g->drawn_image() ? gfx_recording_of(g->drawn_image()) : nullptr;
    EXPECT_TRUE(r && r->has_text(c.entry)) << "the page names the entry flown";
    f.host.set_draw_recording(false);
  }
}

namespace {

// A marker drawn: its label, colour and position (NM east and north of the aircraft).
struct Marker {
  std::string label;
  uint32_t argb;
  double east, north;
};

// The TOC/TOD and climb-target markers of `style` drawn north up around the aircraft on a
// recorded image, 160 NM to 400 design units; each label's dot found from where its text
// is laid out (left of the dot, or right of it for a climb target on no record while VNAV
// is on), the nearest dot of its colour there.
std::vector<Marker> drawn_markers(int32_t style) {
  constexpr double kRadius = 400.0, kRange = 160.0, kCentre = 500.0;
  GaugeImage image{nullptr, 1000, 1000, 4000, nullptr};
  uintptr_t token = gdiplus_start();
  gfx_recording_enable(&image);
  GfxGraphics* g = nullptr;
  gfx_create(&image, &g);
  draw_tod_toc_markers(g, int32_t(kRadius), kRange, int32_t(kCentre), int32_t(kCentre), style, 1.0, 1.0,
                       present_lat, present_lon, 0.0);
  std::vector<Marker> out;
  for (const GfxTextItem& t : gfx_recording_of(&image)->text_items()) {
    if (t.text.empty() || t.text[0] != '[') continue;
    bool on_record = false;
    for (int32_t i = std::max(fpl_active_index, 0); i <= fpl_active_last && i < FPL_CAPACITY; ++i)
      on_record = on_record || (fpl_active[i].lat == climb_target_lat && fpl_active[i].lon == climb_target_lon);
    bool right = t.argb == COLOUR_AMBER && t.text != "[TOD]" && vnav_on == 1 && !on_record;
    double x = right ? t.world.x - 7.0 : t.world.x + double(t.text.size()) + 32.0, y = t.world.y + 8.0;
    // A label moved up or down clear of another keeps its x: its dot is the nearest of that
    // colour below or above it.
    double best = 1e9;
    for (const GfxRecord* e : gfx_recording_of(&image)->of(GfxOp::FillEllipse)) {
      if (e->brush_argb != t.argb || e->args.size() < 4 || std::fabs(e->args[0] + 4.0 - x) > 1.0) continue;
      if (std::fabs(e->args[1] + 5.0 - (t.world.y + 8.0)) < best) best = std::fabs(e->args[1] + 5.0 - (t.world.y + 8.0)), y = e->args[1] + 5.0;
    }
    out.push_back({t.text, t.argb, (x - kCentre) * kRange / kRadius, (kCentre - y) * kRange / kRadius});
  }
  gfx_delete(g);
  gfx_recording_disable(&image);
  gdiplus_stop(token);
  return out;
}

// NM from a marker to the path ahead: the aircraft to the active waypoint, then the
// plan's legs, none across a route break.
double off_path(const Marker& m) {
  const double k = std::cos(present_lat * kPi / 180.0);
  auto xy = [&](double lat, double lon) { return std::pair<double, double>{(lon - present_lon) * 60.0 * k, (lat - present_lat) * 60.0}; };
  auto seg = [&](std::pair<double, double> a, std::pair<double, double> b) {
    double dx = b.first - a.first, dy = b.second - a.second, l2 = dx * dx + dy * dy;
    double t = l2 > 0.0 ? std::clamp(((m.east - a.first) * dx + (m.north - a.second) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(m.east - a.first - t * dx, m.north - a.second - t * dy);
  };
  double best = seg({0.0, 0.0}, xy(fpl_active[fpl_active_index].lat, fpl_active[fpl_active_index].lon));
  for (int i = fpl_active_index + 1; i <= fpl_active_last; ++i) {
    if (fpl_route_break(fpl_active[i]) || fpl_route_break(fpl_active[i - 1])) continue;
    best = std::min(best, seg(xy(fpl_active[i - 1].lat, fpl_active[i - 1].lon), xy(fpl_active[i].lat, fpl_active[i].lon)));
  }
  return best;
}

}  // namespace

// The markers a pilot sees lie on the path the aircraft will fly and show what they mark:
// at the gate the climb target at ALKIS shows its 4,000 ft; after a direct-to the TOC is
// on the direct leg; with the discontinuity after DUBYA open the descent markers stay on
// the route and the TOC passed in the climb is not drawn.
TEST(LnavFlows, MarkersLieOnThePathAndShowWhatTheyMark) {
  struct Case {
    const char* name;
    std::vector<std::string> script;
    int32_t style;
    std::vector<std::string> labels, not_labels;  // drawn, not drawn
  };
  const std::vector<std::string> gate = {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt",
                                         "run 2f"};
  const Case cases[] = {
      {"at the gate, before VNAV", gate, TOC_TOD_STYLE_B737, {"[4000]"}, {"[TOC]", "[23900]"}},
      {"DIR INTC FOURT in the climb",
       {kProcedureRoute.begin(), kProcedureRoute.end()},
       TOC_TOD_STYLE_P1000, {"[TOC]"}, {}},
      {"the discontinuity after DUBYA open, the TOC passed",
       {"gate_16l.txt", "procedures_route.txt", "exec.txt", "takeoff.txt", "run 12m"},
       TOC_TOD_STYLE_P1000, {}, {"[TOC]"}},
      // OLM has no constraint: the FMS's crossing prediction stored there is no climb target.
      {"the company route past CARRO in the climb, OLM predicted",
       {"gate_16l.txt", "company_route.txt", "takeoff.txt", "run 7m"},
       TOC_TOD_STYLE_B737, {}, {"[15400]"}},
  };
  std::vector<std::string> scripts[4] = {{}, {"run 100s", "type SMITHS_FMS FOURT\nclick SMITHS_FMS 6\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\nclick SMITHS_FMS 68\nrun 10s"}, {}, {}};
  for (size_t n = 0; n < std::size(cases); ++n) {
    const Case& c = cases[n];
    SCOPED_TRACE(c.name);
    Flight f("panel.cfg");
    std::vector<std::string> script = c.script;
    script.insert(script.end(), scripts[n].begin(), scripts[n].end());
    ASSERT_TRUE(f.fly(script)) << f.error;
    std::vector<Marker> markers = drawn_markers(c.style);
    std::string seen;
    for (const Marker& m : markers) seen += m.label + " ";
    for (const std::string& l : c.labels)
      EXPECT_TRUE(std::any_of(markers.begin(), markers.end(), [&](const Marker& m) { return m.label == l; })) << seen;
    for (const std::string& l : c.not_labels)
      EXPECT_FALSE(std::any_of(markers.begin(), markers.end(), [&](const Marker& m) { return m.label == l; })) << seen;
    for (const Marker& m : markers) EXPECT_LT(off_path(m), 1.0) << m.label << " " << m.east << " E " << m.north << " N";
  }
}

// The approach I10R flown to the runway: established on the final course (TOWNI to RW10R)
// by the final approach fix TOWNI, from the route as executed and after a hold at FOURT.
TEST(LnavFlows, FinalCourseIsJoinedByTheFinalApproachFix) {
  constexpr Fix kTowni{"TOWNI", 45.597, -122.756}, kRw10r{"RW10R", 45.5939, -122.6273};
  struct Case {
    const char* name;
    std::vector<std::string> after_takeoff;
    std::vector<const char*> reached;  // each passed within a mile from when it is active
    const char* panel = "panel.cfg";
    std::vector<std::string> route = kProcedureRoute;
  };
  const Case cases[] = {
      {"the route as executed", {"run 32m"}, {"MARTY", "TOWNI"}},
      {"GNS-XLS DIRECT-TO TOWNI with HELNS active at 8,000 ft",
       {"run 1245s\nclick GNSXLS 17\nrun 1f\nclick GNSXLS 10\nrun 1f\nclick GNSXLS 22\nrun 2f\nrun 6m"},
       {"TOWNI"},
       "gnsxls_panel.cfg",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "set frame_rate 4", "takeoff.txt"}},
      {"after EXIT HOLD at FOURT",
       {"run 13m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\n"
        "click SMITHS_FMS 68\nrun 2f\nrun 530s\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 24\nrun 2f\n"
        "click SMITHS_FMS 68\nrun 2f\nrun 12m"},
       {"MARTY", "TOWNI"}},
      // MARTY lies behind the hold's inbound course: a turn back to it, a reversal after it.
      {"after EXIT HOLD at GIMIC held on 086/R",
       {"run 13m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 17\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\n"
        "type SMITHS_FMS 086/R\nclick SMITHS_FMS 17\nrun 2f\nclick SMITHS_FMS 68\nrun 2f\nrun 930s\n"
        "click SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 24\nrun 2f\nclick SMITHS_FMS 68\nrun 2f\nrun 16m"},
       {"MARTY", "TOWNI"}},
      {"DIR INTC TOWNI with GIMIC active at 7,000 ft",
       {"run 1347s\ntype SMITHS_FMS TOWNI\nclick SMITHS_FMS 6\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\n"
        "click SMITHS_FMS 68\nrun 2f\nrun 6m"},
       {"TOWNI"}},
  };
  const double k = std::cos(kRw10r.lat * kPi / 180.0);
  const double fx = (kTowni.lon - kRw10r.lon) * 60.0 * k, fy = (kTowni.lat - kRw10r.lat) * 60.0;
  const double final_nm = std::hypot(fx, fy), ux = -fx / final_nm, uy = -fy / final_nm;
  // Along the final course from TOWNI toward the runway, and cross-track from it (NM).
  auto frame = [&](const TrackRow& r, double& along, double& xtk) {
    double x = (r.lon - kRw10r.lon) * 60.0 * k - fx, y = (r.lat - kRw10r.lat) * 60.0 - fy;
    along = x * ux + y * uy;
    xtk = -x * uy + y * ux;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f(c.panel);
    std::vector<std::string> script = c.route;
    script.insert(script.end(), c.after_takeoff.begin(), c.after_takeoff.end());
    ASSERT_TRUE(f.fly(script)) << f.error;
    const auto& rows = f.rows();
    // From when TOWNI is active (a hold nearby crosses the final course before).
    double at_faf = NAN, joined_from_threshold = 0.0, off_past = 0.0;
    size_t from = 1;
    while (from < rows.size() && rows[from].active != kTowni.ident) ++from;
    for (size_t i = from; i < rows.size(); ++i) {
      double a0 = 0.0, x0 = 0.0, a = 0.0, x = 0.0;
      frame(rows[i - 1], a0, x0);
      frame(rows[i], a, x);
      if (std::isnan(at_faf) && a0 < 0.0 && a >= 0.0 && std::fabs(x) < 3.0) at_faf = x;
      if (!std::isnan(at_faf) && joined_from_threshold == 0.0 && std::fabs(x) < 0.2) joined_from_threshold = final_nm - a;
      if (!std::isnan(at_faf) && a >= 0.5 && a <= 1.5) off_past = std::max(off_past, std::fabs(x));
    }
    ASSERT_FALSE(std::isnan(at_faf));
    EXPECT_LT(std::fabs(at_faf), 0.5);
    EXPECT_GT(joined_from_threshold, 0.7 * final_nm) << "final course " << final_nm << " NM";
    EXPECT_LT(off_past, 0.3) << "off the final course 0.5-1.5 NM past the FAF";
    for (const char* ident : c.reached) {
      int i = 1;
      while (i <= fpl_active_last && std::strcmp(fpl_active[i].ident, ident) != 0) ++i;
      ASSERT_LE(i, fpl_active_last) << ident;
      // From when it is made active until the fix after it is passed.
      const std::string next = i < fpl_active_last ? fpl_active[i + 1].ident : "";
      double closest = 1e9;
      bool begun = false;
      for (const TrackRow& r : rows) {
        begun = begun || r.active == ident;
        if (begun && r.active != ident && r.active != next) break;
        if (begun) closest = std::min(closest, nm(r.lat, r.lon, fpl_active[i].lat, fpl_active[i].lon));
      }
      EXPECT_LT(closest, 1.0) << ident << " from when it is active";
    }
  }
}
