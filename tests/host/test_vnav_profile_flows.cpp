// The VNAV profile as flown from the gate on KSEA 16L at sim rate 1: a cruise level changed
// in flight on any unit is flown and the descent starts where the path for the level flown
// places it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "platform/gfx/gfx_recording.h"
#include "platform/host/sim_token_ids.h"
#include "tests/host/flight_fixture.h"

namespace {

using flight::abeam_altitude;
using flight::Flight;
using flight::nm;
using simhost::TrackRow;

constexpr double kFourtLat = 45.87, kFourtLon = -122.87, kFourtAlt = 11000.0;

// The database route with its discontinuity closed, 14,000 ft on PERF INIT, flown from the
// gate: `cruise` is flown after the take-off.
std::vector<std::string> route_at_14000(const char* cruise) {
  return {"gate_16l.txt",
          "procedures_route.txt",
          "close_disco.txt",
          "exec.txt",
          "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 14000\nclick SMITHS_FMS 14\nrun 2f\nclick SMITHS_FMS 68\nrun 2f",
          "takeoff.txt",
          cruise};
}

// Where the path descent began after simulated time `t`: the row before the first one
// descending steeper than the least VNAV rate with a margin; null when none did.
const TrackRow* descent_start(const std::vector<TrackRow>& rows, double t) {
  for (std::size_t i = 1; i < rows.size(); ++i)
    if (rows[i].t > t && rows[i].vs_fpm < -1300.0) return &rows[i - 1];
  return nullptr;
}

struct Fix {
  double lat, lon;
};

struct Constraint {
  const char* ident;
  double alt;
};

// NM along the fixes from (lat, lon) to the last of them.
double along(double lat, double lon, const std::vector<Fix>& fixes) {
  double d = 0.0;
  for (const Fix& f : fixes) {
    d += nm(lat, lon, f.lat, f.lon);
    lat = f.lat;
    lon = f.lon;
  }
  return d;
}

// The values VNAV sent with key `id` after simulated time `t`, `beyond` NM from KPDX.
std::vector<int32_t> sent_after(const Flight& f, int32_t id, double t, double beyond = 0.0) {
  std::vector<int32_t> out;
  const std::vector<TrackRow>& rows = f.rows();
  for (const simhost::Record& r : f.host.records()) {
    if (r.kind != simhost::RecordKind::KeyEvent || r.id != id || r.sim_seconds <= t) continue;
    auto at = std::lower_bound(rows.begin(), rows.end(), r.sim_seconds,
                               [](const TrackRow& row, double s) { return row.t < s; });
    if (at != rows.end() && nm(at->lat, at->lon, flight::kKpdxLat, flight::kKpdxLon) > beyond) out.push_back(r.param);
  }
  return out;
}

// The MCU's ALT page: the autopilot's thousands stepped `steps` times (down when negative), ENTER.
std::string mcu_alt(int steps) {
  std::string s = "click MCU 9\nrun 2f";
  for (int i = 0; i < std::abs(steps); ++i) s += steps < 0 ? "\nclick MCU 15\nrun 2f" : "\nclick MCU 13\nrun 2f";
  return s + "\nclick MCU 17\nrun 2f";
}

// The GNS-XLS VNAV DATA page: CRUISE ALT `alt`.
std::string vnav_data_cruise(const char* alt) {
  return std::string("click GNSXLS 1\nrun 1f\nclick GNSXLS 9\nrun 1f\nclick GNSXLS 22\nrun 1f\n") +
         "click GNSXLS 11\nrun 1f\ntype GNSXLS " + alt + "\nrun 1f\nclick GNSXLS 22\nrun 1f";
}

}  // namespace

// A cruise level changed in flight, on every unit, is flown by one rule: the profile is made
// again from the aircraft. A level raised (on the Smiths CRZ page in cruise, on the GNS-XLS
// VNAV DATA in the climb, on the MCU's ALT page) is climbed to, or, too near the descent for
// it, the level the profile can fly, a constraint holding the climb on the way included; a
// lower one is descended to; every V/S sent until the descent has the sign of the change. The
// descent starts where the path down to its constraint (or the route's end) meets the altitude
// flown, not at once nor with a steep catch-up after it, no altitude below 1,000 ft above the
// ground is sent, and the constraints are met abeam.
TEST(VnavProfileFlows, ARaisedCruiseLevelIsClimbedToBeforeTheDescent) {
  const std::string raise_16000 =
      "click SMITHS_FMS 3\nrun 2f\ntype SMITHS_FMS 16000\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";
  const std::vector<std::string> gnsxls = {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt",
                                           "set frame_rate 4", "takeoff.txt"};
  const std::vector<std::string> mcu = {"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f", "takeoff.txt",
                                        "run 600s"};
  auto then = [](std::vector<std::string> parts, const char* more) {
    parts.push_back(more);
    return parts;
  };
  const std::vector<Fix> to_fourt = {{kFourtLat, kFourtLon}};
  const std::vector<Fix> to_kpdx = {{45.8149, -122.5305}, {flight::kKpdxLat, flight::kKpdxLon}};
  const std::vector<Constraint> arrival = {
      {"FOURT", 11000}, {"HELNS", 7000}, {"GIMIC", 5000}, {"MARTY", 4000}, {"TOWNI", 2600}};
  struct Case {
    const char* name;
    const char* panel;
    std::vector<std::string> flight;  // to the change
    std::string change;
    const char* then;
    double level;    // the level entered
    double reaches;  // the altitude the climb reaches at least; 0 not asked
    bool held;       // the level is held from reaching it until the descent
    std::vector<Fix> path;  // the fixes from the descent's start to the constraint it meets
    double path_alt;
    std::vector<Constraint> constraints;
  };
  // The descent from 14,000 ft starts about 1,145 s after the take-off, 10 NM before FOURT.
  const Case cases[] = {
      {"raised 25 NM before the descent", "panel.cfg", route_at_14000("run 853s"), raise_16000, "run 680s", 16000,
       15950, true, to_fourt, kFourtAlt, arrival},
      {"raised 7 NM before the descent, too near for the level", "panel.cfg", route_at_14000("run 1062s"),
       raise_16000, "run 470s", 16000, 15000, false, to_fourt, kFourtAlt, arrival},
      {"GNS-XLS, 20,000 raised to 24,000 ft in the climb, DUBYA's 17,000 holding it", "gnsxls_panel.cfg",
       then(gnsxls, "run 300s"), vnav_data_cruise("24000"), "run 20m", 24000, 19500, false, to_fourt, kFourtAlt,
       arrival},
      {"GNS-XLS, 13,000 ft entered at 18,500 ft near the TOD", "gnsxls_panel.cfg", then(gnsxls, "run 850s"),
       vnav_data_cruise("13000"), "run 12m", 13000, 0, false, to_fourt, kFourtAlt, arrival},
      {"MCU ALT 12,000 at 17,000 ft, DUBYA active, to KPDX", "mcu_panel.cfg", mcu, mcu_alt(-5), "run 15m", 12000, 0,
       true, to_kpdx, 31, {}},
      {"MCU ALT 19,000 at 17,000 ft, DUBYA active, to KPDX", "mcu_panel.cfg", mcu, mcu_alt(2), "run 15m", 19000,
       18950, true, to_kpdx, 31, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f(c.panel);
    ASSERT_TRUE(f.fly(c.flight)) << f.error;
    const double changed_at = f.rows().back().t, changed_alt = f.rows().back().alt_ft;
    ASSERT_TRUE(f.fly({c.change})) << f.error;
    // The profile's descent gradient as the new level was taken.
    const double feet_per_nm = descent_rate / (DescentTas / 60.0);
    ASSERT_TRUE(f.fly({c.then})) << f.error;
    const std::vector<TrackRow>& rows = f.rows();
    const TrackRow* top = descent_start(rows, changed_at);
    ASSERT_NE(top, nullptr);
    double highest = 0.0;
    for (const TrackRow& r : rows)
      if (r.t > changed_at && r.t <= top->t) highest = std::max(highest, r.alt_ft);
    EXPECT_GE(highest, c.reaches);
    if (c.held) {
      auto reached = std::find_if(rows.begin(), rows.end(), [&](const TrackRow& r) {
        return r.t > changed_at && std::abs(r.alt_ft - c.level) < 100.0;
      });
      ASSERT_NE(reached, rows.end()) << "the level never reached";
      double lowest = 1e9;
      for (auto r = reached; r != rows.end() && r->t <= top->t; ++r) lowest = std::min(lowest, r->alt_ft);
      EXPECT_GE(lowest, c.level - 100.0) << "the level left before the descent";
    }
    for (int32_t vs : sent_after(f, KEY_AP_VS_SET, changed_at)) {
      if (vs == 0) continue;
      EXPECT_EQ(vs > 0, c.level > changed_alt) << "V/S " << vs << " sent toward the level";
      break;
    }
    // Away from the approach: 10 NM from KPDX.
    const std::vector<int32_t> alts = sent_after(f, KEY_AP_ALTITUDE_SET, changed_at, 10.0);
    if (!alts.empty()) {
      EXPECT_GE(*std::min_element(alts.begin(), alts.end()), 1031);
    }
    // The path down to the constraint at the profile's descent gradient meets the altitude
    // flown here; the descent may begin up to 1.5 NM before it.
    const double on_path = (top->alt_ft - c.path_alt) / feet_per_nm;
    EXPECT_NEAR(along(top->lat, top->lon, c.path) - on_path, 0.5, 1.5)
        << "descent from " << top->alt_ft << " ft at " << feet_per_nm << " ft/NM, t " << top->t;
    for (const Constraint& k : c.constraints) EXPECT_NEAR(abeam_altitude(rows, k.ident), k.alt, 300.0) << k.ident;
  }
}

namespace {

// The GNS-XLS VNAV summary as drawn in the next frame: the active fix named on the TO line,
// the altitude beside it, and the REQUIRED FPM figure ("" when the row is not drawn).
struct VnavSummary {
  std::string to, target, required, range, ete, deviation, deviation_value;
};

VnavSummary vnav_summary(Flight& f) {
  f.host.set_draw_recording(true);
  f.host.run_frames(1);
  const simhost::PlacedGauge* g = f.host.find_gauge("GNSXLS");
  std::vector<std::string> texts =
      g && g->drawn_image() ? gfx_recording_of(g->drawn_image())->texts() : std::vector<std::string>{};
  f.host.set_draw_recording(false);
  VnavSummary s;
  for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
    if (texts[i].rfind("TO ", 0) == 0) {
      s.to = texts[i].substr(3);
      s.target = texts[i + 1];
    }
    if (texts[i] == "REQUIRED FPM    ") s.required = texts[i + 1];
    if (texts[i] == "RANGE (NM)") s.range = texts[i + 1];
    if (texts[i] == "ETE") s.ete = texts[i + 1];
    if (texts[i].rfind("VERT DEV", 0) == 0) s.deviation = texts[i], s.deviation_value = texts[i + 1];
  }
  return s;
}

// The highest altitude flown from simulated time `t` on.
double highest_alt_since(const std::vector<TrackRow>& rows, double t) {
  double highest = -1e9;
  for (const TrackRow& r : rows)
    if (r.t >= t) highest = std::max(highest, r.alt_ft);
  return highest;
}

// "hh:mm" as minutes; -1 for dashes.
double minutes_of(const std::string& t) {
  if (t.size() != 5 || t[2] != ':') return -1.0;
  return std::stod(t.substr(0, 2)) * 60.0 + std::stod(t.substr(3));
}

}  // namespace

// The GNS-XLS VNAV page's REQUIRED FPM in the descent after a cruise level lowered in
// flight: the rate that reaches the altitude shown for the active fix by the fix at the
// ground speed flown, a whole number within the four-digit field, never negative.
TEST(VnavProfileFlows, TheRequiredRateIsWhatTheFixNeeds) {
  const std::string lower_to_12000 = vnav_data_cruise("12000") + "\nclick GNSXLS 1\nrun 1f";
  struct Case {
    const char* name;
    std::vector<std::string> script;
    int samples;  // taken 10 s apart from the end of the script on
  };
  const Case cases[] = {
      {"12,000 ft entered at 17,000 ft, the descent to the runway",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "set frame_rate 4", "takeoff.txt", "run 708s",
        lower_to_12000, "run 8m"},
       36},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("gnsxls_panel.cfg");
    ASSERT_TRUE(f.fly(c.script)) << f.error;
    int checked = 0;
    for (int i = 0; i < c.samples; ++i) {
      ASSERT_TRUE(f.fly({"run 10s"})) << f.error;
      VnavSummary s = vnav_summary(f);
      if (s.required.empty()) continue;
      SCOPED_TRACE("TO " + s.to + " " + s.target + ", REQUIRED FPM \"" + s.required + "\"");
      ASSERT_LE(s.required.size(), 4u);
      if (s.required == "----") continue;
      ASSERT_EQ(s.required.find_first_not_of(" 0123456789"), std::string::npos);
      // The rate to the fix's altitude at the ground speed of the last two seconds.
      const std::vector<TrackRow>& rows = f.rows();
      const TrackRow &a = rows[rows.size() - 2], &b = rows.back();
      int fix = fpl_active_index;
      // Only a fix whose own altitude is shown.
      if (fix < 0 || fix > fpl_active_last || fix >= FPL_CAPACITY || s.to != fpl_active[fix].ident ||
          s.target.find_first_not_of(" 0123456789") != std::string::npos)
        continue;
      double to_fix = nm(b.lat, b.lon, fpl_active[fix].lat, fpl_active[fix].lon);
      double minutes = to_fix / (nm(a.lat, a.lon, b.lat, b.lon) / (b.t - a.t) * 60.0);
      if (to_fix < 1.0) continue;
      double needed = std::max((b.alt_ft - std::stod(s.target)) / minutes, 0.0);
      EXPECT_NEAR(std::stod(s.required), needed, 100.0 + 0.1 * needed) << "at " << to_fix << " NM";
      ++checked;
    }
    EXPECT_GE(checked, c.samples / 2);
  }
}

// A VNAV descent away from the runway stops at the aircraft file's MinVnavRadioAlt above
// the ground: FOURT crossed low on the MCU in cruise ("Cross FOURT At", an altitude to cross
// at; one typed on LEGS is AT OR ABOVE and met above it), over ground risen to 2,500 ft or
// with a floor of 2,500 ft in the file, is not descended below it.
TEST(VnavProfileFlows, TheDescentStopsAtTheLeastHeightAboveTheGround) {
  auto fourt_at = [](int thousands) {
    std::string s = "click MCU 7\nrun 2f\nclick MCU 6\nrun 2f";
    for (int i = 0; i < thousands; ++i) s += "\nclick MCU 13\nrun 2f";
    return s + "\nclick MCU 17\nrun 2f";
  };
  struct Case {
    const char* name;
    const char* aircraft_lines;
    std::string edit;  // in cruise with FOURT active, the ground below the aircraft then
    double ground;
    double floor;  // ft above the ground
  };
  const Case cases[] = {
      {"FOURT at 3,000 ft over ground at 2,500 ft", "", "set ground_elevation 2500\n" + fourt_at(3), 2500, 1000},
      {"FOURT at 2,000 ft with a floor of 2,500 ft", "MinVnavRadioAlt=2500", fourt_at(2), 31, 2500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("smiths_mcu_panel.cfg", c.aircraft_lines);
    ASSERT_TRUE(f.fly(route_at_14000("run 780s"))) << f.error;
    ASSERT_EQ(f.rows().back().active, "FOURT");
    const double edited_at = f.rows().back().t;
    // On to HELNS and beyond, the approach's fixes above the aircraft.
    ASSERT_TRUE(f.fly({c.edit, "run 10m"})) << f.error;
    double lowest = 1e9;
    for (const TrackRow& r : f.rows())
      if (r.t > edited_at && r.vnav == 1) lowest = std::min(lowest, r.alt_ft - c.ground);
    EXPECT_GE(lowest, c.floor - 50.0) << "lowest height " << lowest;
    EXPECT_LE(lowest, c.floor + 300.0) << "the descent stopped above the floor: " << lowest;
  }
}

// The GNS-XLS VNAV summary reads what VNAV has to do: the ETE to the TOC or TOD is its range
// at the ground speed flown; past the route's end (the runway) nothing is left to reach and
// every figure shows dashes.
TEST(VnavProfileFlows, TheVnavSummaryReadsWhatVnavHasLeftToDo) {
  struct Case {
    const char* name;
    const char* then;  // flown after the take-off, then sampled every 20 s
    int samples;
    bool past_end;
  };
  const Case cases[] = {
      {"the climb and the cruise", "run 1s", 60, false},
      {"ten minutes past the runway", "run 50m", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("gnsxls_panel.cfg");
    // The plan entered, VNAV DATA left for the VNAV summary (VNAV key).
    ASSERT_TRUE(f.fly({"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "click GNSXLS 1\nrun 1f",
                       "set frame_rate 4", "takeoff.txt", c.then}))
        << f.error;
    int timed = 0;
    for (int i = 0; i < c.samples; ++i) {
      if (i > 0) {
        ASSERT_TRUE(f.fly({"run 20s"})) << f.error;
      }
      const VnavSummary s = vnav_summary(f);
      SCOPED_TRACE("TO " + s.to + " " + s.target + ", RANGE " + s.range + ", ETE " + s.ete + ", REQUIRED FPM " +
                   s.required + ", " + s.deviation + " " + s.deviation_value);
      if (c.past_end) {
        ASSERT_TRUE(route_end_passed());
        EXPECT_EQ(s.to, "------");
        EXPECT_EQ(s.target, "-----");
        EXPECT_TRUE(s.required.empty() || s.required == "----");
        EXPECT_TRUE(s.deviation_value.empty() || s.deviation_value == "-----");
        continue;
      }
      if (s.range.empty() || minutes_of(s.ete) < 0) continue;
      const std::vector<TrackRow>& rows = f.rows();
      const TrackRow &a = rows[rows.size() - 2], &b = rows.back();
      const double knots = nm(a.lat, a.lon, b.lat, b.lon) / (b.t - a.t) * 3600.0;
      EXPECT_NEAR(minutes_of(s.ete), std::stod(s.range) / knots * 60.0, 1.5) << "at " << knots << " kt";
      ++timed;
    }
    if (!c.past_end) {
      EXPECT_GE(timed, 5);
    }
  }
}

// After a direct-to in the descent the aircraft flies, and the VERT DEV the GNS-XLS VNAV page
// shows is its distance from, the path from where it is: down to the direct-to fix's altitude
// at the profile's gradient, no higher than it flies; not from a constraint the direct-to
// skipped, nor down to the point where the fix is passed.
TEST(VnavProfileFlows, TheVerticalDeviationIsFromThePathFlownAfterADirectTo) {
  struct Case {
    const char* name;
    std::vector<std::string> script;
    const char* fix;
    double lat, lon, alt;  // the direct-to fix and its constraint
  };
  const Case cases[] = {
      {"DIRECT-TO HELNS in the descent toward FOURT, FOURT skipped",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "set frame_rate 4", "takeoff.txt", "run 17m",
        "click GNSXLS 17\nrun 1f\nclick GNSXLS 8\nrun 1f\nclick GNSXLS 22\nrun 2f", "click GNSXLS 1\nrun 1f", "run 20s"},
       "HELNS", 45.70, -122.72, 7000},
      {"DIRECT-TO FOURT in the climb, flown down to it from the TOD",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "set frame_rate 4", "takeoff.txt", "run 12m",
        "click GNSXLS 17\nrun 1f\nclick GNSXLS 8\nrun 1f\nclick GNSXLS 22\nrun 2f", "click GNSXLS 1\nrun 1f", "run 260s"},
       "FOURT", kFourtLat, kFourtLon, kFourtAlt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("gnsxls_panel.cfg");
    ASSERT_TRUE(f.fly(c.script)) << f.error;
    ASSERT_EQ(f.rows().back().active, c.fix);
    const double top = highest_alt_since(f.rows(), 0.0);  // the level cruised at
    // The profile's gradient: its descent rate at its descent TAS, from the 3.0 degrees of
    // VNAV DATA (the profile is made again when the angle is entered).
    const double profile_ft_per_nm = descent_rate / (DescentTas / 60.0);
    const double three_degrees_ft_per_nm = 6076.12 * std::tan(3.0 * M_PI / 180.0);
    const double from_t = f.rows().back().t;
    int checked = 0;
    for (int i = 0; i < 6; ++i) {
      ASSERT_TRUE(f.fly({"run 20s"})) << f.error;
      const VnavSummary s = vnav_summary(f);
      const TrackRow& b = f.rows().back();
      const double to_fix = nm(b.lat, b.lon, c.lat, c.lon);
      if (b.active != c.fix || to_fix < 3.0 || s.deviation_value.find_first_of("0123456789") == std::string::npos)
        continue;
      const double shown = (s.deviation == "VERT DEV LOW" ? -1.0 : 1.0) * std::stod(s.deviation_value);
      const double path = std::min(top, c.alt + to_fix * profile_ft_per_nm);
      EXPECT_NEAR(shown, b.alt_ft - path, 150.0) << s.deviation << " " << s.deviation_value << " at " << b.alt_ft
                                                 << " ft, " << to_fix << " NM from " << c.fix;
      // Near a 3-degree line to the fix.
      EXPECT_NEAR(b.alt_ft, std::min(top, c.alt + to_fix * three_degrees_ft_per_nm), 300.0) << to_fix << " NM";
      ++checked;
    }
    EXPECT_GE(checked, 3);
    ASSERT_TRUE(f.fly({"run 150s"})) << f.error;
    // The aircraft keeps to that path all the way to the fix (it aimed at the point where the
    // fix is passed, and flew up to 900 ft below the path).
    double farthest = 0.0;
    for (const TrackRow& r : f.rows()) {
      const double to_fix = nm(r.lat, r.lon, c.lat, c.lon);
      if (r.t < from_t || r.active != c.fix) continue;
      farthest = std::max(farthest, std::fabs(r.alt_ft - std::min(top, c.alt + to_fix * profile_ft_per_nm)));
    }
    EXPECT_LE(farthest, 300.0) << "from the path to " << c.fix;
  }
}
