// VNAV in the flows a pilot flies, from the gate on KSEA 16L at sim rate 1: each
// constraint met abeam its fix, never a descent toward the ground away from the runway,
// the missed approach climbed, and the autopilot commanded only when a value changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/draw_recording.h"
#include "tests/host/flight_fixture.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "platform/host/sim_token_ids.h"

namespace {

using flight::abeam_altitude;
using flight::Flight;
using flight::lowest_from;
using flight::nm;
using simhost::TrackRow;

constexpr double kRw10rLat = 45.5939, kRw10rLon = -122.6273;
constexpr double kGround = 31.0;  // the ground below from the take-off on

// NM from the final approach fix TOWNI to the runway.
double faf_to_runway() { return nm(45.6283, -122.7855, kRw10rLat, kRw10rLon); }

// The lowest height above the ground flown with VNAV engaged farther from RW10R than the
// final approach fix, once the climb passed 2,000 ft.
double lowest_vnav_height_before_faf(const std::vector<TrackRow>& rows) {
  double lowest = 1e9;
  bool airborne = false;
  for (const TrackRow& r : rows) {
    airborne = airborne || r.alt_ft > 2000.0;
    if (airborne && r.vnav == 1 && nm(r.lat, r.lon, kRw10rLat, kRw10rLon) > faf_to_runway() + 0.5)
      lowest = std::min(lowest, r.alt_ft - kGround);
  }
  return lowest;
}

struct Constraint {
  const char* ident;
  double alt;
  bool published = false;  // also kept in the plan as the fix's constraint
};

// A flight on `panel` and the altitude expected abeam each of its constrained fixes.
struct FlightCase {
  const char* name;
  const char* panel;
  std::vector<std::string> script;
  std::vector<Constraint> constraints;
};

// Flies `c` and checks each constraint abeam its fix, and VNAV never low before the FAF.
void fly_and_check_abeam(const FlightCase& c) {
  SCOPED_TRACE(c.name);
  Flight f(c.panel);
  ASSERT_TRUE(f.fly(c.script)) << f.error;
  for (const Constraint& k : c.constraints) {
    EXPECT_NEAR(abeam_altitude(f.rows(), k.ident), k.alt, 300.0) << k.ident;
    if (!k.published) continue;
    const FlightPlanWpt* rec = std::find_if(fpl_active, fpl_active + std::clamp(fpl_active_last + 1, 0, FPL_CAPACITY),
                                            [&](const FlightPlanWpt& r) { return std::string(r.ident) == k.ident; });
    ASSERT_NE(rec, fpl_active + std::clamp(fpl_active_last + 1, 0, FPL_CAPACITY)) << k.ident;
    EXPECT_TRUE(fpl_has_constraint(*rec)) << k.ident;
    EXPECT_EQ(rec->alt_constraint, k.alt) << k.ident;
  }
  EXPECT_GE(lowest_vnav_height_before_faf(f.rows()), 1400.0);
}

}  // namespace

// Each published constraint is met abeam its fix, in the climb and in the descent: the
// climb stops at a constraint ahead, and a constraint holds through the turn at its fix
// until the aircraft is abeam it.
TEST(VnavFlows, ConstraintsAreMetAbeamTheirFixes) {
  using Case = FlightCase;
  // DEP ARR, ARRIVALS, the approach R28L (R2), its transition BTG (R2), EXEC.
  const std::string arrival_r28l_btg =
      "click SMITHS_FMS 7\nrun 2f\nclick SMITHS_FMS 16\nrun 2f\nclick SMITHS_FMS 16\nrun 2f\nclick SMITHS_FMS 16\n"
      "run 2f\nclick SMITHS_FMS 68\nrun 2f";
  const Case cases[] = {
      {"the database route, its discontinuity closed",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt", "run 27m"},
       {{"CARRO", 10000}, {"FOURT", 11000}, {"HELNS", 7000}, {"GIMIC", 5000}, {"MARTY", 4000}, {"TOWNI", 2600},
        {"RIVER", 1500}}},
      {"the company route at 17,000 ft",
       "panel.cfg",
       {"gate_16l.txt", "company_route.txt", "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 17000\nclick SMITHS_FMS 14",
        "run 2f\nclick SMITHS_FMS 68\nrun 2f", "takeoff.txt", "run 8m"},
       {{"CARRO", 10000}}},
      {"GNS-XLS DIRECT-TO DUBYA in the climb to FL200",
       "gnsxls_panel.cfg",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "set frame_rate 4", "takeoff.txt", "run 1m",
        "click GNSXLS 17\nrun 1f\nclick GNSXLS 7\nrun 1f\nclick GNSXLS 7\nrun 1f\nclick GNSXLS 22\nrun 2f", "run 19m"},
       {{"DUBYA", 17000}, {"FOURT", 11000}}},
      {"the company route with the approach R28L from its last fix BTG, chosen at the gate",
       "panel.cfg",
       {"gate_16l.txt", "company_route.txt", "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 17000\nclick SMITHS_FMS 14",
        "run 2f\nclick SMITHS_FMS 68\nrun 2f", arrival_r28l_btg, "takeoff.txt", "run 26m"},
       {{"BTG", 6000, true}}},
      {"the company route with the approach R28L from its last fix BTG, chosen in the climb",
       "panel.cfg",
       {"gate_16l.txt", "company_route.txt", "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 17000\nclick SMITHS_FMS 14",
        "run 2f\nclick SMITHS_FMS 68\nrun 2f", "takeoff.txt", "run 3m", arrival_r28l_btg, "run 23m"},
       {{"BTG", 6000, true}}},
  };
  for (const Case& c : cases) fly_and_check_abeam(c);
}

// Leaving a hold or after a direct-to, VNAV chooses its target from the active waypoint
// again at once and descends on the path to the constraints ahead, not at the hold's level
// nor toward the waypoint aimed at before.
TEST(VnavFlows, TheTargetFollowsTheActiveWaypoint) {
  using Case = FlightCase;
  const std::string hold_at_fourt =
      "run 13m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\n"
      "click SMITHS_FMS 68\nrun 2f";
  const std::string exit_hold = "click SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 24\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";
  const Case cases[] = {
      {"EXIT HOLD at FOURT as the hold begins",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt", hold_at_fourt, "run 8m",
        exit_hold, "run 6m"},
       {{"HELNS", 7000}, {"GIMIC", 5000}, {"MARTY", 4000}, {"TOWNI", 2600}}},
      {"GNS-XLS DIRECT-TO HELNS in the descent toward FOURT",
       "gnsxls_panel.cfg",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "set frame_rate 4", "takeoff.txt", "run 17m",
        "click GNSXLS 17\nrun 1f\nclick GNSXLS 8\nrun 1f\nclick GNSXLS 22\nrun 2f", "run 9m"},
       {{"HELNS", 7000}, {"GIMIC", 5000}, {"MARTY", 4000}, {"TOWNI", 2600}}},
  };
  for (const Case& c : cases) fly_and_check_abeam(c);
}

namespace {

double highest_from(const std::vector<TrackRow>& rows, double t) {
  double highest = -1e9;
  for (const TrackRow& r : rows)
    if (r.t >= t) highest = std::max(highest, r.alt_ft);
  return highest;
}

// The lowest height above the ground flown with VNAV engaged once the climb passed
// 2,000 ft.
double lowest_vnav_height(const std::vector<TrackRow>& rows) {
  double lowest = 1e9;
  bool airborne = false;
  for (const TrackRow& r : rows) {
    airborne = airborne || r.alt_ft > 2000.0;
    if (airborne && r.vnav == 1) lowest = std::min(lowest, r.alt_ft - kGround);
  }
  return lowest;
}

}  // namespace

// Never a VNAV descent toward the ground: a new destination in the descent keeps the fix
// being flown and the level at the discontinuity after it, the route's end leaves the
// pilot's go-around altitude alone, and the missed approach climbs to its constraint and
// never descends toward the airport after it.
TEST(VnavFlows, VnavNeverDescendsTowardTheGround) {
  const std::vector<std::string> route = {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt",
                                          "takeoff.txt"};
  auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> all = route;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  const std::string go_around = "set ap_altitude 4000\nset ap_vs 1500";
  const std::string direct_btg =
      "click SMITHS_FMS 5\nrun 2f\ntype SMITHS_FMS BTG\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 68\nrun 2f\n"
      "click LNAV 0\nrun 2f\nclick VNAV 0\nrun 2f";
  struct Case {
    const char* name;
    std::vector<std::string> script;
    double from_t;      // simulated seconds from which the next two hold
    double at_least;    // the lowest altitude flown from then on
    double reaches;     // the altitude reached from then on, 0 none
    double vnav_height;  // the lowest height above the ground with VNAV engaged (on the
                         // approach: the glide path where the route ends, about 3 NM out)
    const char* abeam;  // a fix crossed abeam at `abeam_alt`, or null
    double abeam_alt;
  };
  const Case cases[] = {
      {"KTTD as the new destination while FOURT is flown",
       with({"run 13m\nclick SMITHS_FMS 1\nrun 2f\ntype SMITHS_FMS KTTD\nclick SMITHS_FMS 14\nrun 2f\n"
             "click SMITHS_FMS 68\nrun 2f",
             "run 12m"}),
       960, 10700, 0, 1400, "FOURT", 11000},
      {"a go-around with the autopilot at the route's end",
       with({"run 1585s", go_around, "run 150s"}), 1790, 1000, 3900, 900, nullptr, 0},
      {"a direct-to BTG into the missed approach, then on to KPDX",
       with({"run 1585s", go_around, "run 40s", direct_btg, "run 10m"}), 1960, 3700, 0, 900, "BTG",
       4000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("panel.cfg");
    ASSERT_TRUE(f.fly(c.script)) << f.error;
    const auto& rows = f.rows();
    EXPECT_GE(lowest_from(rows, c.from_t), c.at_least);
    if (c.reaches > 0) {
      EXPECT_GE(highest_from(rows, c.from_t), c.reaches);
    }
    EXPECT_GE(lowest_vnav_height(rows), c.vnav_height);
    if (c.abeam) {
      EXPECT_NEAR(abeam_altitude(rows, c.abeam), c.abeam_alt, 300.0);
    }
    EXPECT_FALSE(std::any_of(rows.begin(), rows.end(), [](const TrackRow& r) { return r.active == "DISCO"; }));
  }
}

// In a steady hold the autopilot is commanded only when a value changes: no altitude,
// vertical speed or speed sent lap after lap at the fix.
TEST(VnavFlows, ASteadyHoldSendsNoCommandLapAfterLap) {
  Flight f("panel.cfg");
  ASSERT_TRUE(f.fly({"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt",
                     "run 13m\nclick SMITHS_FMS 8\nrun 2f\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 23\nrun 2f",
                     "click SMITHS_FMS 68\nrun 2f\nrun 15m"}))
      << f.error;
  // The hold is entered at FOURT a little before 1,450 s; laps from 1,500 s on.
  ASSERT_EQ(f.rows().back().active, "FOURT");
  const double from = 1500.0, to = f.rows().back().t;
  ASSERT_GT(to - from, 5 * 60.0);
  struct Command {
    const char* name;
    int32_t id;
  };
  const Command commands[] = {
      {"altitude", KEY_AP_ALTITUDE_SET}, {"vertical speed", KEY_AP_VS_SET}, {"speed", KEY_AP_AIRSPEED_SET}};
  for (const Command& c : commands) {
    int sent = 0;
    for (const simhost::Record& r : f.host.records())
      sent += r.kind == simhost::RecordKind::KeyEvent && r.id == c.id && r.sim_seconds > from && r.sim_seconds < to;
    EXPECT_LE(sent / ((to - from) / 60.0), 1.0) << c.name << ": " << sent;
  }
}

// A cruise level entered on the GNS-XLS VNAV DATA page in flight is flown: lowered below
// the aircraft in the climb toward FL200, the aircraft descends to it and meets the
// arrival's constraints (and DUBYA's 17,000 caps the climb before).
TEST(VnavFlows, ACruiseLevelEnteredInFlightIsFlown) {
  const std::string vnav_data_12000 =
      "click GNSXLS 1\nrun 1f\nclick GNSXLS 9\nrun 1f\nclick GNSXLS 22\nrun 1f\nclick GNSXLS 11\nrun 1f\n"
      "type GNSXLS 12000\nrun 1f\nclick GNSXLS 22\nrun 1f";
  struct Case {
    const char* name;
    std::vector<std::string> script;
    std::vector<Constraint> constraints;
  };
  // The unit takes a key a frame: its route is entered at 18 frames a second.
  const Case cases[] = {
      {"GNS-XLS, 12,000 ft entered at 18,400 ft",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "set frame_rate 4", "takeoff.txt", "run 14m",
        vnav_data_12000, "run 11m"},
       {{"DUBYA", 17000}, {"FOURT", 11000}, {"HELNS", 7000}, {"GIMIC", 5000}, {"MARTY", 4000}, {"TOWNI", 2600}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("gnsxls_panel.cfg");
    ASSERT_TRUE(f.fly(c.script)) << f.error;
    for (const Constraint& k : c.constraints) EXPECT_NEAR(abeam_altitude(f.rows(), k.ident), k.alt, 300.0) << k.ident;
    EXPECT_GE(lowest_vnav_height_before_faf(f.rows()), 1400.0);
  }
}

// ---- edits, activations and discontinuities in flight ----

namespace {

// The texts `gauge` last drew, the scenario part `keys` run with the drawing recorded.
std::vector<std::string> drawn_texts(Flight& f, const char* gauge, const std::string& keys = "run 1f") {
  f.host.set_draw_recording(true);
  EXPECT_TRUE(f.fly({keys})) << f.error;
  std::vector<std::string> texts;
  if (const simhost::PlacedGauge* g = f.host.find_gauge(gauge))
    for (const auto& img : g->images)
      if (img) simhost::draw_recording_texts(img.get(), &texts);
  f.host.set_draw_recording(false);
  return texts;
}

bool drawn(const std::vector<std::string>& texts, const std::string& want) {
  return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.find(want) != std::string::npos; });
}

}  // namespace

// A fix typed into the arrival and deleted again, or a fix of the arrival deleted, on the
// GNS-XLS in the climb with LNAV and VNAV engaged: the arrival's published altitudes are
// still met abeam their fixes, and VNAV 1 aims at FOURT's 11,000 on the way down.
TEST(VnavFlows, PublishedConstraintsOutliveAnEditOfTheArrival) {
  const std::string insert_ubg_before_fourt =  // FPL, L4 (FOURT, row 6), UBG, ENTER, ENTER
      "click GNSXLS 2\nrun 1f\nclick GNSXLS 8\nrun 1f\ntype GNSXLS UBG\nrun 1f\nclick GNSXLS 22\nrun 1f\n"
      "click GNSXLS 22\nrun 1f";
  const std::string delete_row_6 =  // NAV, FPL, L4, CLR, ENTER
      "click GNSXLS 0\nrun 1f\nclick GNSXLS 2\nrun 1f\nclick GNSXLS 8\nrun 1f\nclick GNSXLS 46\nrun 1f\n"
      "click GNSXLS 22\nrun 1f";
  const std::string delete_arrival_olm =  // FPL, L3 (the arrival's OLM, row 4), CLR, ENTER
      "click GNSXLS 2\nrun 1f\nclick GNSXLS 7\nrun 1f\nclick GNSXLS 46\nrun 1f\nclick GNSXLS 22\nrun 1f";
  // VNAV twice: with a row still open the first press shows the blank page.
  const std::string vnav_page = "click GNSXLS 1\nrun 1f\nclick GNSXLS 1\nrun 1f";
  struct Case {
    const char* name;
    std::vector<std::string> edit;
  };
  const Case cases[] = {
      {"UBG typed before FOURT and deleted again", {insert_ubg_before_fourt, delete_row_6}},
      {"the arrival's OLM deleted", {delete_arrival_olm}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("gnsxls_panel.cfg");
    std::vector<std::string> script = {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt",
                                       "set frame_rate 4", "takeoff.txt", "run 1m"};
    script.insert(script.end(), c.edit.begin(), c.edit.end());
    script.insert(script.end(), {vnav_page, "run 17m"});
    ASSERT_TRUE(f.fly(script)) << f.error;
    ASSERT_EQ(f.rows().back().active, "FOURT");
    const std::vector<std::string> vnav1 = drawn_texts(f, "GNSXLS");
    EXPECT_TRUE(drawn(vnav1, "TO FOURT") && drawn(vnav1, "11000"));
    ASSERT_TRUE(f.fly({"run 3m"})) << f.error;
    for (const Constraint& k : {Constraint{"DUBYA", 17000}, Constraint{"FOURT", 11000}})
      EXPECT_NEAR(abeam_altitude(f.rows(), k.ident), k.alt, 300.0) << k.ident;
    EXPECT_GE(lowest_vnav_height_before_faf(f.rows()), 1400.0);
  }
}

// A later fix made active on the MCU's LEGS page (NEXT to it, ENTER) is aimed at from the
// next step: in the climb the level beyond CARRO's 10,000 is climbed to, in the descent
// toward FOURT the arrival's constraints after the new fix are met abeam.
TEST(VnavFlows, AFixActivatedOnTheMcuLegsPageChoosesTheTarget) {
  const std::string legs_next_enter = "click MCU 7\nrun 2f\nclick MCU 11\nrun 1f\nclick MCU 17\nrun 2f\nclick MCU 1\nrun 2f";
  const std::string legs_next_next_enter =
      "click MCU 7\nrun 2f\nclick MCU 11\nrun 1f\nclick MCU 11\nrun 1f\nclick MCU 17\nrun 2f\nclick MCU 1\nrun 2f";
  const FlightCase cases[] = {
      {"DUBYA activated in the climb toward CARRO",
       "mcu_panel.cfg",
       {"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f", "takeoff.txt", "run 1m", legs_next_next_enter,
        "run 12m"},
       {{"DUBYA", 17000}}},
      {"HELNS activated in the descent toward FOURT",
       "smiths_mcu_panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt", "run 13m",
        legs_next_enter, "run 13m"},
       {{"HELNS", 7000}, {"GIMIC", 5000}, {"MARTY", 4000}, {"TOWNI", 2600}}},
  };
  for (const FlightCase& c : cases) fly_and_check_abeam(c);
}

// A discontinuity made active on the MCU (LEGS: NEXT to it and ENTER; NAV: NEXT onto it)
// with the discontinuity after DUBYA left open: LNAV drops, VNAV keeps the level it had,
// and nothing is measured to the discontinuity: no distance or course on the MCU's pages,
// the distance to it and the route to go not counted to 0N 0E.
TEST(VnavFlows, NothingIsMeasuredToAnActiveDiscontinuity) {
  struct Case {
    const char* name;
    std::string to_disco;
  };
  const Case cases[] = {
      {"MCU LEGS, ENTER on the discontinuity", "click MCU 7\nrun 2f\nclick MCU 11\nrun 1f\nclick MCU 17\nrun 2f"},
      {"MCU NAV, NEXT onto the discontinuity", "click MCU 1\nrun 2f\nclick MCU 11\nrun 2f"},
  };
  auto has_digit = [](const std::string& t) {
    return std::any_of(t.begin(), t.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("smiths_mcu_panel.cfg");
    ASSERT_TRUE(f.fly({"gate_16l.txt", "procedures_route.txt", "exec.txt", "takeoff.txt", "run 12m"})) << f.error;
    ASSERT_EQ(f.rows().back().active, "DUBYA");
    const double level = f.rows().back().alt_ft, from = f.rows().back().t;
    ASSERT_TRUE(f.fly({c.to_disco, "click MCU 1\nrun 2f", "run 2m"})) << f.error;
    ASSERT_EQ(f.rows().back().active, "DISCO");
    EXPECT_EQ(f.rows().back().lnav, 0);
    EXPECT_NEAR(lowest_from(f.rows(), from), level, 300.0);
    EXPECT_NEAR(highest_from(f.rows(), from), level, 300.0);
    EXPECT_EQ(dist_to_active_wpt, 0.0);
    EXPECT_LT(route_distance_to_go, 150.0);
    const std::vector<std::string> nav = drawn_texts(f, "MCU", "click MCU 1\nrun 2f");
    EXPECT_TRUE(drawn(nav, "DIST:") && !drawn(nav, "DIST: "));
    const std::vector<std::string> legs = drawn_texts(f, "MCU", "click MCU 7\nrun 2f");
    ASSERT_TRUE(drawn(legs, "DISCO") && drawn(legs, "FOURT"));
    for (const std::string& t : legs)
      if (t.rfind("DISCO", 0) == 0 || t.rfind("FOURT", 0) == 0) {
        EXPECT_FALSE(has_digit(t)) << t;
      }
  }
}
