// A full flight of the sample route KSEA-KPDX, loaded through the plan-file request,
// flown with LNAV and VNAV from the gate to the gate: the two flight logs it leaves.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "fms_harness.h"
#include "flightplan/plan_files.h"
#include "guidance/flight_log.h"
#include "guidance/lnav_vnav_state.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream ss(text);
  std::string line;
  while (std::getline(ss, line)) out.push_back(line);
  return out;
}

// The segment word of an fpl.log row ("" for the header and rule lines).
std::string segment_of(const std::string& row) {
  if (row.empty() || row[0] == ';' || row.rfind("FlightPlan=", 0) == 0 || row.rfind("Aircraft=", 0) == 0) return "";
  char time[16] = {}, seg[32] = {};
  if (std::sscanf(row.c_str(), "%15s %31s", time, seg) != 2) return "";
  return seg;
}

// The sample route flown from the gate: the plan loaded through the plan-file request,
// push back, taxi and take-off, LNAV and VNAV engaged, then to the destination.
class GateToGate : public FmsFlight {
 protected:
  void load_and_take_off() {
    auto& s = ac();
    s.lat = 47.449;
    s.lon = -122.309306;
    s.ground_elevation_ft = 433.0;
    s.altitude_ft = 433.0;
    s.on_ground = true;
    s.ias_kt = 0.0;
    s.heading_true = 340.0;
    s.ap_altitude_ft = 433.0;
    host.aircraft().refresh();
    seconds(3);

    plan_load_request = 1;
    plan_load_name = "KSEAKPDX.RTE";
    frame();
    ASSERT_EQ(plan_load_request, 0);
    ASSERT_EQ(fpl_active_last, 6);
    ASSERT_STREQ(fpl_active[6].ident, "KPDX");
    EXPECT_EQ(cruise_alt, 17000);
    seconds(3);
    EXPECT_EQ(flight_phase, 0);

    s.ias_kt = 3.0;
    seconds(10);
    EXPECT_EQ(flight_phase, 1);
    s.ias_kt = 15.0;
    seconds(20);
    EXPECT_EQ(flight_phase, 2);
    s.ias_kt = 160.0;
    s.on_ground = false;
    s.altitude_ft = 550.0;
    s.ground_elevation_ft = 31.0;  // the destination's field
    s.ap_airspeed_kt = 160.0;
    s.ap_altitude_ft = 550.0;  // level until VNAV takes the climb
    host.aircraft().refresh();
    seconds(4);
    EXPECT_EQ(flight_phase, 3);
    LnavOffAtLastWpt = 0;  // LNAV steers on to the destination
    lnav_toggle();
    vnav_toggle();
    ASSERT_EQ(lnav_on, 1);
    ASSERT_EQ(vnav_on, 1);
  }

  // En route until LNAV ends abeam the destination; false when it never got there.
  bool fly_to_destination() {
    double best = 1.0e9;
    for (int i = 0; i < 2 * 3600 * 2; ++i) {
      frame();
      double d = nm(ac().lat, ac().lon, 45.588722, -122.5975);
      if (d < best) best = d;
      if (lnav_on == 0 && d < 3.0) return true;
      if (lnav_on == 0 && d > best + 1.0) break;
    }
    ADD_FAILURE() << "closest " << best;
    return false;
  }

  // Touch down, roll out, taxi in, park: the flight ends.
  void land_and_park() {
    auto& s = ac();
    s.on_ground = true;
    s.altitude_ft = 31.0;
    s.ias_kt = 50.0;
    host.aircraft().refresh();
    seconds(3);
    s.ias_kt = 30.0;
    seconds(3);
    s.ias_kt = 0.0;
    host.aircraft().refresh();
    seconds(130);
    EXPECT_EQ(flight_phase, 11);
  }
};

}  // namespace

TEST_F(GateToGate, SampleRouteFlownGateToGateLeavesBothFlightLogs) {
  load_and_take_off();
  ASSERT_TRUE(fly_to_destination());
  EXPECT_EQ(toc_reached, 1);
  EXPECT_EQ(tod_reached, 1);
  EXPECT_GE(flight_phase, 7);
  land_and_park();

  std::string fpl = read_text("vek/FlightLog/fpl.log");
  auto rows = lines_of(fpl);
  ASSERT_GT(rows.size(), 10u);
  EXPECT_EQ(rows[0], "FlightPlan=KSEA-KPDX");
  EXPECT_EQ(rows[1], "Aircraft=Twinjet");
  EXPECT_EQ(rows[4], "; TIME   Segment  Waypoint   GSP   TAS       V/S    ALT    FF     FOB       ZFW     PLD  IAS");
  EXPECT_EQ(fpl.find("nan"), std::string::npos);
  EXPECT_EQ(fpl.find("inf"), std::string::npos);
  // Every phase, in order.
  const std::vector<std::string> order = {"InitLoad", "PushBack", "Taxi",    "Takeoff",  "Climb",
                                          "Cruise",   "Descent",  "Approach", "Landing", "Arr_Taxi",
                                          "End_Flight"};
  size_t next = 0;
  int waypoint_rows = 0;
  for (const auto& row : rows) {
    std::string seg = segment_of(row);
    if (seg.empty() || seg == "---") continue;  // the stop after the taxi has no segment text
    // Never back to an earlier phase.
    auto at = std::find(order.begin(), order.end(), seg);
    ASSERT_NE(at, order.end()) << row;
    EXPECT_GE(static_cast<size_t>(at - order.begin()) + 1, next) << row;
    if (next < order.size() && seg == order[next]) ++next;
    if (row.find(" ALKIS ") != std::string::npos || row.find(" OLM ") != std::string::npos) ++waypoint_rows;
  }
  EXPECT_EQ(next, order.size()) << fpl;
  EXPECT_GE(waypoint_rows, 2);
  EXPECT_EQ(rows[6].substr(0, 8), "00:00:00");
  EXPECT_EQ(rows[6].substr(9, 8), "InitLoad");

  std::string summary = read_text("vek/FlightLog/Flight.log");
  EXPECT_NE(summary.find("[KSEA-KPDX]\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("\nDate="), std::string::npos);
  EXPECT_NE(summary.find("\nFlightTime="), std::string::npos);
  EXPECT_NE(summary.find("\nAircraft=Twinjet\n"), std::string::npos);
  EXPECT_NE(summary.find("\nClimb="), std::string::npos);
  EXPECT_NE(summary.find("\nCruise="), std::string::npos);
  EXPECT_NE(summary.find("\nDescent="), std::string::npos);
  EXPECT_EQ(summary.find("nan"), std::string::npos);
  size_t fu = summary.find("FuelUsed=");
  ASSERT_NE(fu, std::string::npos);
  EXPECT_GT(std::atof(summary.c_str() + fu + 9), 0.0);
  // The flight time is HH:MM, never minute 60.
  size_t ft = summary.find("FlightTime=");
  std::string hhmm = summary.substr(ft + 11, 5);
  EXPECT_EQ(hhmm[2], ':');
  EXPECT_LT(std::atoi(hhmm.c_str() + 3), 60);
}

TEST_F(FmsFlight, EveryPlanRequestIsPerformedOrRefusedNeverLeftPending) {
  seconds(1);
  plan_load_request = 2;
  plan_load_name = "KSEAKPDX.RTE";
  frame();
  EXPECT_EQ(plan_load_request, 0);
  EXPECT_EQ(fpl_active_last, 6);
  EXPECT_STREQ(fpl_active[6].ident, "KPDX");
  // An unknown request is dropped without touching the plan.
  plan_load_request = 7;
  plan_load_name = "NOSUCH.RTE";
  frame();
  EXPECT_EQ(plan_load_request, 0);
  EXPECT_EQ(fpl_active_last, 6);
}

// EXEC again on the unchanged route in the climb keeps the active waypoint and the top of
// descent where they were and the flight log's clock running; a new cruise altitude
// mid-climb is climbed to, the descent still starts ahead, and the flight ends with both
// logs.
TEST_F(GateToGate, ReExecutedInTheClimbWithANewCruiseAltitude) {
  load_and_take_off();
  ASSERT_TRUE(fly_until([&] { return indicated_altitude >= 12000.0; }, 1200.0));
  ASSERT_EQ(toc_reached, 0);
  const double tod_lat0 = tod_lat, tod_lon0 = tod_lon, clock = elapsed_seconds;
  const int phase = flight_phase;
  const auto exec_change = [&] {
    const int32_t flown = fpl_active_index;
    ASSERT_GE(flown, 2);  // waypoints were sequenced
    fpl_changed_step();  // a CDU entry makes the route MOD
    activate_route();    // EXEC
    // The waypoint being flown stays active: LNAV does not turn back.
    EXPECT_EQ(fpl_active_index, flown);
    frame();
    EXPECT_EQ(fpl_active_index, flown);
  };
  exec_change();
  EXPECT_LT(nm(tod_lat, tod_lon, tod_lat0, tod_lon0), 1.0);
  EXPECT_EQ(toc_reached, 0);
  EXPECT_EQ(tod_reached, 0);
  EXPECT_GE(elapsed_seconds, clock);
  EXPECT_EQ(flight_phase, phase);  // still this flight

  // Levels that fit the route left ahead: it is flown on, not turned back to its first
  // waypoint.
  cruise_alt = 15000;
  exec_change();
  EXPECT_GT(tod_route_dist, 0.0);
  EXPECT_EQ(tod_reached, 0);
  ASSERT_TRUE(fly_until([&] { return toc_reached == 1; }, 1800.0));
  EXPECT_GT(indicated_altitude, 14500.0);
  EXPECT_EQ(tod_reached, 0);
  // And again from the level reached.
  cruise_alt = 16000;
  exec_change();
  EXPECT_EQ(toc_reached, 0);
  ASSERT_TRUE(fly_until([&] { return toc_reached == 1; }, 1800.0));
  EXPECT_GT(indicated_altitude, 15500.0);
  EXPECT_EQ(tod_reached, 0);
  ASSERT_TRUE(fly_to_destination());
  EXPECT_EQ(tod_reached, 1);
  land_and_park();

  std::string fpl = read_text("vek/FlightLog/fpl.log");
  EXPECT_EQ(fpl.find("FlightPlan=KSEA-KPDX"), 0u);
  EXPECT_NE(fpl.find(" End_Flight "), std::string::npos);
  // One flight: its clock never restarted.
  EXPECT_EQ(fpl.find("InitLoad"), fpl.rfind("InitLoad"));
  std::string summary = read_text("vek/FlightLog/Flight.log");
  size_t ft = summary.find("FlightTime=");
  ASSERT_NE(ft, std::string::npos);
  const int minutes = std::atoi(summary.c_str() + ft + 11) * 60 + std::atoi(summary.c_str() + ft + 14);
  EXPECT_EQ(minutes, static_cast<int>(elapsed_seconds) / 60);
}
