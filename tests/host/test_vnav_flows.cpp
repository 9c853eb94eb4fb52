// VNAV in the flows a pilot flies, from the gate on KSEA 16L at sim rate 1: each
// constraint met abeam its fix, never a descent toward the ground away from the runway,
// the missed approach climbed, and the autopilot commanded only when a value changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "host/draw_recording.h"
#include "platform/gfx/gfx_recording.h"
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

// The sample aircraft's least speed away from the climb and its descent speed limit.
constexpr double kMinVnavIas = 170.0, kLimitIas = 250.0, kLimitAlt = 10000.0;

// The least IAS flown with VNAV engaged above 2,000 ft.
double least_vnav_ias(const std::vector<TrackRow>& rows) {
  double least = 1e9;
  for (const TrackRow& r : rows)
    if (r.vnav == 1 && r.alt_ft > 2000.0) least = std::min(least, r.ias_kt);
  return least;
}

// The highest IAS flown where a descent passes the limit altitude; 0 when none does.
double ias_descending_through_limit(const std::vector<TrackRow>& rows) {
  double ias = 0.0;
  for (std::size_t i = 1; i < rows.size(); ++i)
    if (rows[i - 1].alt_ft >= kLimitAlt && rows[i].alt_ft < kLimitAlt) ias = std::max(ias, rows[i - 1].ias_kt);
  return ias;
}

struct Constraint {
  const char* ident;
  double alt;
  double ias = 0.0;           // knots held abeam the fix; 0 none checked
  double within = 300.0;      // feet abeam the fix
  bool at_or_above = false;  // met by any altitude above it, else within `within`
  bool published = false;     // also kept in the plan as the fix's constraint
};

// LEGS: `alt` typed on the row at `key` (14 R1, 16 R2, 18 R3), executed: an entered altitude, shown "A".
std::string legs_at(const char* alt, int key) {
  return std::string("click SMITHS_FMS 5\nrun 2f\ntype SMITHS_FMS ") + alt + "\nclick SMITHS_FMS " +
         std::to_string(key) + "\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";
}
// LEGS R3 (the third fix with CARRO active) takes "1": an entered 100 ft, shown 100A.
const std::string kLegsR3At100 = legs_at("1", 18);
// The company route (no arrival) with its cruise level of 17,000 ft.
const std::vector<std::string> kCompanyRoute17000 = {
    "gate_16l.txt", "company_route.txt", "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 17000\nclick SMITHS_FMS 14",
    "run 2f\nclick SMITHS_FMS 68\nrun 2f", "takeoff.txt"};
// RTE R1: KTTD the new destination, executed; a route break follows the fixes kept.
const std::string kNewDestinationKttd =
    "click SMITHS_FMS 1\nrun 2f\ntype SMITHS_FMS KTTD\nclick SMITHS_FMS 14\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";

// A flight on `panel` and the altitude expected abeam each of its constrained fixes;
// `aircraft` lines are added to the aircraft file, and `crz_page` is a text the Smiths
// ECON CRZ page shows at the end ("" none).
struct FlightCase {
  const char* name;
  const char* panel;
  std::vector<std::string> script;
  std::vector<Constraint> constraints;
  std::string aircraft = "";
  std::string crz_page = "";
};

std::vector<std::string> drawn_texts(Flight& f, const char* gauge, const std::string& keys = "run 1f");
bool drawn(const std::vector<std::string>& texts, const std::string& want);

// Flies `c` and checks each constraint abeam its fix, VNAV never low before the FAF, never
// slower than the least speed and at the limit speed where the descent passes 10,000 ft.
void fly_and_check_abeam(const FlightCase& c) {
  SCOPED_TRACE(c.name);
  Flight f(c.panel, c.aircraft);
  ASSERT_TRUE(f.fly(c.script)) << f.error;
  for (const Constraint& k : c.constraints) {
    const double at = abeam_altitude(f.rows(), k.ident);
    EXPECT_TRUE(k.at_or_above ? at >= k.alt : std::fabs(at - k.alt) <= k.within) << k.ident << " abeam at " << at;
    if (const TrackRow* r = flight::abeam_row(f.rows(), k.ident); r && k.ias > 0.0) {
      EXPECT_NEAR(r->ias_kt, k.ias, 5.0) << k.ident;
    }
    if (!k.published) continue;
    const FlightPlanWpt* rec = std::find_if(fpl_active, fpl_active + std::clamp(fpl_active_last + 1, 0, FPL_CAPACITY),
                                            [&](const FlightPlanWpt& r) { return std::string(r.ident) == k.ident; });
    ASSERT_NE(rec, fpl_active + std::clamp(fpl_active_last + 1, 0, FPL_CAPACITY)) << k.ident;
    EXPECT_TRUE(fpl_has_constraint(*rec)) << k.ident;
    EXPECT_EQ(rec->alt_constraint, k.alt) << k.ident;
  }
  EXPECT_GE(lowest_vnav_height_before_faf(f.rows()), 1400.0);
  EXPECT_GE(least_vnav_ias(f.rows()), kMinVnavIas - 1.0);
  EXPECT_LE(ias_descending_through_limit(f.rows()), kLimitIas + 2.0);
  if (!c.crz_page.empty()) {
    EXPECT_TRUE(drawn(drawn_texts(f, "SMITHS_FMS", "click SMITHS_FMS 3\nrun 2f"), c.crz_page)) << c.crz_page;
  }
}

}  // namespace

// Each published constraint is met abeam its fix, in the climb and in the descent: the
// climb stops at a constraint ahead, a constraint holds through the turn at its fix until
// the aircraft is abeam it, and a lower altitude the pilot set does not take the descent
// through it. A cruise Mach below the least speed at the level is raised to it.
TEST(VnavFlows, ConstraintsAreMetAbeamTheirFixes) {
  using Case = FlightCase;
  auto perf_init = [](const char* alt) {
    return std::string("click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS ") + alt + "\nclick SMITHS_FMS 14\nrun 2f\n" +
           "click SMITHS_FMS 68\nrun 2f";
  };
  // ECON CRZ: M.36 (the least at 17,000 ft is .357), then 20,000 ft (.379 there), EXEC.
  const std::string mach_36_then_20000 =
      "click SMITHS_FMS 3\nrun 2f\ntype SMITHS_FMS /.36\nclick SMITHS_FMS 15\nrun 2f\nclick SMITHS_FMS 68\nrun 2f\n"
      "type SMITHS_FMS 20000\nclick SMITHS_FMS 13\nrun 2f\nclick SMITHS_FMS 68\nrun 2f";
  // DEP ARR, ARRIVALS, the approach R28L (R2), its transition BTG (R2), EXEC.
  const std::string arrival_r28l_btg =
      "click SMITHS_FMS 7\nrun 2f\nclick SMITHS_FMS 16\nrun 2f\nclick SMITHS_FMS 16\nrun 2f\nclick SMITHS_FMS 16\n"
      "run 2f\nclick SMITHS_FMS 68\nrun 2f";
  const Case cases[] = {
      {"the database route, its discontinuity closed",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt", "run 27m"},
       // DUBYA has no altitude: the climb goes on past OLM's 11,000 toward the level, FOURT's lies past the TOD.
       {{"ALKIS", 4000}, {"CARRO", 10000}, {"DUBYA", 15000, 0, 0, true}, {"FOURT", 11000}, {"HELNS", 7000},
        {"GIMIC", 5000}, {"MARTY", 4000}, {"TOWNI", 2600}, {"RIVER", 1500}}},
      {"speeds typed on LEGS at FOURT, HELNS and GIMIC",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt",
        "run 13m\nclick SMITHS_FMS 5\nrun 2f\ntype SMITHS_FMS 240/11000\nclick SMITHS_FMS 14\nrun 2f\n"
        "type SMITHS_FMS 220/7000\nclick SMITHS_FMS 16\nrun 2f\ntype SMITHS_FMS 190/5000\nclick SMITHS_FMS 18\nrun 2f\n"
        "click SMITHS_FMS 68\nrun 2f",
        "run 13m"},
       {{"FOURT", 11000, 240}, {"HELNS", 7000, 220}, {"GIMIC", 5000, 190}}},
      {"the company route at 17,000 ft",
       "panel.cfg",
       {"gate_16l.txt", "company_route.txt", "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 17000\nclick SMITHS_FMS 14",
        "run 2f\nclick SMITHS_FMS 68\nrun 2f", "takeoff.txt", "run 8m"},
       {{"CARRO", 10000}}},
      {"MCU, ALKIS reached in the turn from the runway",
       "mcu_panel.cfg",
       {"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f", "takeoff.txt", "run 3m"},
       {{"ALKIS", 4000}}},
      {"GNS-XLS DIRECT-TO DUBYA in the climb to FL200",
       "gnsxls_panel.cfg",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "set frame_rate 4", "takeoff.txt", "run 1m",
        "click GNSXLS 17\nrun 1f\nclick GNSXLS 7\nrun 1f\nclick GNSXLS 7\nrun 1f\nclick GNSXLS 22\nrun 2f", "run 19m"},
       {{"DUBYA", 17000}, {"FOURT", 11000}}},
      {"MCP 3,000 set at 19,000 ft in the descent toward FOURT",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", perf_init("20000"), "takeoff.txt",
        "run 940s\nset ap_altitude 3000", "run 8m"},
       {{"FOURT", 11000, 0, 100}, {"HELNS", 7000}}},
      {"Mach cruise .36 taken at 17,000 ft, the level raised to 20,000 ft",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", perf_init("17000"), mach_36_then_20000,
        "takeoff.txt", "run 23m"},
       {{"CARRO", 10000}, {"FOURT", 11000}},
       "VnavSetMachCruiseSpd=1",
       "252 / 0.38"},
      {"100A entered on DUBYA in the climb, CARRO active at 4,000 ft",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", "takeoff.txt", "run 210s", kLegsR3At100,
        "run 16m"},
       {{"CARRO", 10000}, {"DUBYA", 100, 0, 300, true}, {"FOURT", 11000}}},
      {"3000A entered on DUBYA in cruise at 14,000 ft, DUBYA active",
       "panel.cfg",
       {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt", perf_init("14000"), "takeoff.txt",
        "run 560s", legs_at("3000", 14), "run 16m"},
       {{"DUBYA", 3000, 0, 300, true}, {"FOURT", 11000}, {"HELNS", 7000}, {"GIMIC", 5000}}},
      {"100A entered on DUBYA in the climb on the company route, CARRO 10000A",
       "panel.cfg",
       {"gate_16l.txt", "company_route.txt", "takeoff.txt", "run 210s", kLegsR3At100, "run 12m"},
       {{"CARRO", 10000}, {"DUBYA", 100, 0, 300, true}}},
      {"the company route with the approach R28L from its last fix BTG, chosen at the gate",
       "panel.cfg",
       {"gate_16l.txt", "company_route.txt", "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 17000\nclick SMITHS_FMS 14",
        "run 2f\nclick SMITHS_FMS 68\nrun 2f", arrival_r28l_btg, "takeoff.txt", "run 26m"},
       {{"BTG", 6000, 0, 300, false, true}}},
      {"the company route with the approach R28L from its last fix BTG, chosen in the climb",
       "panel.cfg",
       {"gate_16l.txt", "company_route.txt", "click SMITHS_FMS 0\nrun 2f\ntype SMITHS_FMS 17000\nclick SMITHS_FMS 14",
        "run 2f\nclick SMITHS_FMS 68\nrun 2f", "takeoff.txt", "run 3m", arrival_r28l_btg, "run 23m"},
       {{"BTG", 6000, 0, 300, false, true}}},
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
        exit_hold, "run 12m"},
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
// being flown and the level at the discontinuity after it; in the climb or cruise, or the
// discontinuity after DUBYA left open, nothing beyond the route break is aimed at: the climb
// goes on to the cruise level and VNAV keeps its level once LNAV drops at the break; the
// route's end leaves the pilot's go-around altitude alone, and the missed approach climbs to
// its constraint and never descends toward the airport after it.
TEST(VnavFlows, VnavNeverDescendsTowardTheGround) {
  const std::vector<std::string> route = {"gate_16l.txt", "procedures_route.txt", "close_disco.txt", "exec.txt",
                                          "takeoff.txt"};
  auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> all = route;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  auto company = [&](std::vector<std::string> more) {
    std::vector<std::string> all = kCompanyRoute17000;
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
    double pilot_alt = 0;  // from `from_t` on no altitude below it nor a descending V/S is sent; 0 none
    bool level_without_lnav = false;  // VNAV keeps the altitude it had when LNAV went off
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
      {"a go-around on final 2.2 NM before RIVER", with({"run 1468s", go_around + "\nset ap_airspeed 200", "run 150s"}),
       1653, 1500, 3900, 900, nullptr, 0, 4000},
      {"KTTD as the new destination in the climb, CARRO active at 7,900 ft",
       with({"run 400s", kNewDestinationKttd, "run 15m"}), 410, 7800, 20000, 1400, "CARRO", 10000, 0, true},
      {"KTTD as the new destination at 11,000 ft, DUBYA 6.7 NM ahead",
       with({"run 700s", kNewDestinationKttd, "run 15m"}), 880, 10900, 0, 1400, nullptr, 0, 0, true},
      {"100A entered on BTG in cruise at 17,000 ft on the company route", company({"run 630s", legs_at("1", 16), "run 20m"}),
       800, 1300, 0, 1300, "DUBYA", 17000},
      {"100A entered on BTG in the descent on the company route", company({"run 990s", legs_at("1", 14), "run 12m"}),
       1160, 1300, 0, 1300, nullptr, 0},
      {"the discontinuity after DUBYA left open",
       {"gate_16l.txt", "procedures_route.txt", "exec.txt", "takeoff.txt", "run 30m"}, 900, 23800, 23900, 1400,
       nullptr, 0, 0, true},
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
    for (const simhost::Record& r : f.host.records())
      if (c.pilot_alt > 0 && r.kind == simhost::RecordKind::KeyEvent && r.sim_seconds >= c.from_t &&
          (r.id == KEY_AP_ALTITUDE_SET || r.id == KEY_AP_VS_SET)) {
        EXPECT_GE(r.param, r.id == KEY_AP_VS_SET ? 0 : int32_t(c.pilot_alt)) << r.id << " at " << r.sim_seconds << " s";
      }
    EXPECT_FALSE(std::any_of(rows.begin(), rows.end(), [](const TrackRow& r) { return r.active == "DISCO"; }));
    if (c.level_without_lnav) {
      auto off = std::find_if(rows.begin(), rows.end(),
                              [](const TrackRow& r) { return r.vnav == 1 && r.lnav == 0 && r.alt_ft > 2000.0; });
      EXPECT_NE(off, rows.end()) << "LNAV never went off";
      double moved = 0.0;
      for (auto r = off; r != rows.end(); ++r)
        if (r->vnav == 1 && r->lnav == 0) moved = std::max(moved, std::fabs(r->alt_ft - off->alt_ft));
      EXPECT_LE(moved, 300.0) << "from " << (off != rows.end() ? off->alt_ft : 0.0) << " ft with LNAV off";
    }
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
// arrival's constraints (and DUBYA's 17,000 caps the climb before). An approach put in
// the plan in the climb leaves the level the profile can reach after DUBYA flown.
TEST(VnavFlows, ACruiseLevelEnteredInFlightIsFlown) {
  const std::string vnav_data_12000 =
      "click GNSXLS 1\nrun 1f\nclick GNSXLS 9\nrun 1f\nclick GNSXLS 22\nrun 1f\nclick GNSXLS 11\nrun 1f\n"
      "type GNSXLS 12000\nrun 1f\nclick GNSXLS 22\nrun 1f";
  // FPL's approach row: I10R (L3), its transition HELNS (L3), ENTER.
  const std::string approach =
      "click GNSXLS 9\nrun 1f\nclick GNSXLS 9\nrun 1f\nclick GNSXLS 22\nrun 2f\nclick GNSXLS 7\nrun 1f\n"
      "click GNSXLS 22\nrun 1f\nclick GNSXLS 7\nrun 1f\nclick GNSXLS 22\nrun 1f\nclick GNSXLS 22\nrun 2f\n";
  std::string route_without_approach = flight::part_text("gnsxls_route.txt");
  const size_t at = route_without_approach.find(approach);
  ASSERT_NE(at, std::string::npos);
  route_without_approach.erase(at, approach.size());
  struct Case {
    const char* name;
    std::vector<std::string> script;
    std::vector<Constraint> constraints;
    double highest = 0.0;  // the least of the highest altitude flown
  };
  const std::vector<Constraint> arrival = {{"DUBYA", 17000}, {"FOURT", 11000}, {"HELNS", 7000}};
  // The unit takes a key a frame: its route is entered at 18 frames a second.
  const Case cases[] = {
      {"GNS-XLS, 12,000 ft entered at 18,400 ft",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", "gnsxls_route.txt", "set frame_rate 4", "takeoff.txt", "run 14m",
        vnav_data_12000, "run 11m"},
       {{"DUBYA", 17000}, {"FOURT", 11000}, {"HELNS", 7000}, {"GIMIC", 5000}, {"MARTY", 4000}, {"TOWNI", 2600}}},
      {"GNS-XLS, the approach put in at 8,300 ft with CARRO active",
       {"gate_16l.txt", "set frame_rate 18\nrun 2s", route_without_approach, "set frame_rate 4", "takeoff.txt", "run 4m",
        "set frame_rate 18\nclick GNSXLS 0\nrun 1f\nclick GNSXLS 2\nrun 1f\n" + approach + "set frame_rate 4",
        "run 20m"},
       arrival,
       19000.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("gnsxls_panel.cfg");
    ASSERT_TRUE(f.fly(c.script)) << f.error;
    for (const Constraint& k : c.constraints) {
      EXPECT_NEAR(abeam_altitude(f.rows(), k.ident), k.alt, 300.0) << k.ident;
      if (const TrackRow* r = flight::abeam_row(f.rows(), k.ident); r && k.ias > 0.0) {
        EXPECT_NEAR(r->ias_kt, k.ias, 5.0) << k.ident;
      }
    }
    double highest = 0.0;
    for (const TrackRow& r : f.rows()) highest = std::max(highest, r.alt_ft);
    EXPECT_GE(highest, c.highest);
    EXPECT_GE(lowest_vnav_height_before_faf(f.rows()), 1400.0);
  }
}

// ---- edits, activations and discontinuities in flight ----

namespace {

// The texts `gauge` last drew, the scenario part `keys` run with the drawing recorded.
std::vector<std::string> drawn_texts(Flight& f, const char* gauge, const std::string& keys) {
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

namespace {

// The altitude the MCU's LEGS page shows beside each listed fix ("" none), LEGS pressed.
std::map<std::string, std::string> mcu_legs_altitudes(Flight& f) {
  f.host.set_draw_recording(true);
  EXPECT_TRUE(f.fly({"click MCU 7\nrun 2f"})) << f.error;
  std::map<std::string, std::string> out;
  const simhost::PlacedGauge* g = f.host.find_gauge("MCU");
  const std::vector<GfxTextItem> items =
      g && g->drawn_image() ? gfx_recording_of(g->drawn_image())->text_items() : std::vector<GfxTextItem>{};
  f.host.set_draw_recording(false);
  for (const GfxTextItem& fix : items) {
    if (fix.world.x != 0.0 || fix.text.size() < 3 || fix.text[0] < 'A' || fix.text[0] > 'Z') continue;
    std::string& alt = out[fix.text.substr(0, fix.text.find(' '))];
    for (const GfxTextItem& a : items)
      if (a.world.y == fix.world.y && a.world.x == 155.0) alt = a.text.substr(a.text.find_first_not_of(' '));
  }
  return out;
}

}  // namespace

// A crossing altitude entered on the MCU ("Cross BTG At 8000": LEGS, NEXT to the fix,
// LEGS-ALT, the arrows, ENTER) in cruise is flown and shown on LEGS beside its fix, and an
// earlier one entered after it is shown too, each the altitude flown abeam its fix.
TEST(VnavFlows, TheMcuLegsPageShowsTheCrossingAltitudeFlown) {
  auto cross = [](int next, int thousands) {
    std::string s = "click MCU 7\nrun 2f";
    for (int i = 0; i < next; ++i) s += "\nclick MCU 11\nrun 2f";
    s += "\nclick MCU 6\nrun 2f";
    for (int i = 0; i < thousands; ++i) s += "\nclick MCU 13\nrun 2f";
    return s + "\nclick MCU 17\nrun 2f";
  };
  const struct {
    const char* name;
    std::vector<std::string> entries;
    std::vector<Constraint> shown;
  } cases[] = {
      {"BTG at 8,000 ft", {cross(1, 8)}, {{"BTG", 8000}}},
      {"BTG at 8,000 ft, then DUBYA at 15,000 ft", {cross(1, 8), "run 30s", cross(0, 15)},
       {{"DUBYA", 15000}, {"BTG", 8000}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Flight f("mcu_panel.cfg");
    ASSERT_TRUE(f.fly({"gate_16l.txt", "click MCU 2\nrun 2f\nclick MCU 17\nrun 3f", "takeoff.txt", "run 600s"}))
        << f.error;
    ASSERT_EQ(f.rows().back().active, "DUBYA");
    ASSERT_TRUE(f.fly(c.entries)) << f.error;
    ASSERT_TRUE(f.fly({"run 1m"})) << f.error;
    const std::map<std::string, std::string> legs = mcu_legs_altitudes(f);
    for (const Constraint& k : c.shown) {
      auto row = legs.find(k.ident);
      ASSERT_NE(row, legs.end()) << k.ident;
      EXPECT_EQ(row->second, std::to_string(static_cast<int>(k.alt))) << k.ident;
    }
    ASSERT_TRUE(f.fly({"run 12m"})) << f.error;
    for (const Constraint& k : c.shown) EXPECT_NEAR(abeam_altitude(f.rows(), k.ident), k.alt, 300.0) << k.ident;
  }
}
