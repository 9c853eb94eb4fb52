// VNAV over a climb, cruise and descent of about 200 NM; pauses at the top of descent
// and at a distance from the destination; manual autopilot changes.
#include <cstdio>

#include "fms_harness.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/waypoint_sequencing.h"
#include "guidance/lnav_vnav_state.h"

namespace {

// South from the origin at 2000 ft; a descent constraint at WP3.
const std::vector<Wpt> kRoute = {{"ORIG", 47.45, -122.31, 400, -999, 0, "APT"},
                                 {"WP1", 47.00, -122.31},
                                 {"WP2", 46.20, -122.31},
                                 {"WP3", 45.20, -122.31, 11000, 250, 1},
                                 {"WP4", 44.75, -122.31},
                                 {"DEST", 44.40, -122.31, 400, -999, 0, "APT"}};

struct Profile {
  double toc_alt = -1.0, tod_dist = -1.0, wp3_alt = -1.0;
  bool finished = false;
};

}  // namespace

class VnavFlight : public FmsFlight {
 protected:
  void SetUp() override {
    FmsFlight::SetUp();
    ac().lat = 47.44;
    ac().lon = -122.31;
    ac().altitude_ft = 2000.0;
    ac().ap_altitude_ft = 2000.0;
    ac().ias_kt = 250.0;
    host.aircraft().refresh();
    seconds(5);
    activate(kRoute);
    fpl_active[3].crossed_at = 1;  // WP3's altitude is one to cross at, not AT OR ABOVE
    propose_cruise_altitude(25000, 1);
    seconds(1);
    lnav_toggle();
    vnav_toggle();
  }

  // Flies to the end of the route, resuming the simulation after each pause.
  Profile fly(int* pauses = nullptr) {
    Profile p;
    int toc = toc_reached, tod = tod_reached;
    double wp3_dist = 1.0e9, dest_dist = 1.0e9;
    for (int i = 0; i < 2 * 3600; ++i) {
      frame();
      if (ac().paused) {
        if (pauses) ++*pauses;
        host.inject_key_event(KEY_PAUSE_TOGGLE, 0);
      }
      if (toc_reached && !toc) p.toc_alt = indicated_altitude;
      if (tod_reached && !tod) p.tod_dist = nm(ac().lat, ac().lon, tod_lat, tod_lon);
      // The altitude abeam the constrained waypoint.
      double d3 = nm(ac().lat, ac().lon, 45.20, -122.31);
      if (d3 < wp3_dist) {
        wp3_dist = d3;
        p.wp3_alt = indicated_altitude;
      }
      toc = toc_reached;
      tod = tod_reached;
      // LNAV leaves off at the last waypoint; the aircraft flies on to the destination.
      if (lnav_on == 0 && fpl_active_index == fpl_active_last) p.finished = true;
      double d = nm(ac().lat, ac().lon, 44.40, -122.31);
      if (p.finished && d > dest_dist) break;
      dest_dist = std::min(dest_dist, d);
    }
    return p;
  }
};

TEST_F(VnavFlight, ClimbCruiseAndDescentMeetTheProfile) {
  EXPECT_EQ(cruise_alt, 25000);
  EXPECT_EQ(host.named_var("vek_vnav"), 1.0);
  Profile p = fly();
  ASSERT_TRUE(p.finished);
  EXPECT_GE(p.toc_alt, 25000 - 150.0);
  EXPECT_LE(p.toc_alt, 25000 + 150.0);
  EXPECT_GE(p.tod_dist, 0.0);
  EXPECT_LE(p.tod_dist, 1.5 + 0.2);
  EXPECT_GT(p.wp3_alt, 0.0);
  // Rates are commanded in whole hundreds toward zero: the descent runs a little late.
  EXPECT_LE(p.wp3_alt, 11000 + 500.0);
  // Autopilot altitudes: cruise, the constraint, then 1,000 ft above the destination's
  // ground (an airport without an approach), never lower.
  bool cruise = false, constraint = false, dest = false;
  for (const auto& r : key_events(KEY_AP_ALTITUDE_SET)) {
    cruise |= r.param == 25000;
    constraint |= r.param == 11000;
    dest |= r.param == 1400;
    EXPECT_GE(r.param, 1400);
  }
  EXPECT_TRUE(cruise);
  EXPECT_TRUE(constraint);
  EXPECT_TRUE(dest);
  // Climb commands positive, descent commands negative, all within the aircraft's rates.
  int up = 0, down = 0;
  for (const auto& r : key_events(KEY_AP_VS_SET)) {
    if (r.param > 0) ++up;
    if (r.param < 0) ++down;
    EXPECT_LE(std::abs(r.param), 3500);
  }
  EXPECT_GT(up, 0);
  EXPECT_GT(down, 0);
  // Climb speed below the restriction altitude, then the climb target.
  auto spd = key_events(KEY_AP_AIRSPEED_SET);
  ASSERT_FALSE(spd.empty());
  for (const auto& r : spd) EXPECT_GT(r.param, 0);
  EXPECT_EQ(vnav_descent_started, 1);
  EXPECT_LT(ac().altitude_ft, 1500.0);  // abeam the destination
  expect_globals_finite();
}

TEST_F(VnavFlight, PausesAtTopOfDescentAndNearTheDestinationThenBackToRealTime) {
  PauseAtTod = 1;
  Lnav1xAtTod = 1;
  PauseAtDistFromDest = 1;
  pause_dist_from_dest = 20;
  ASSERT_TRUE(fly_until([] { return toc_reached == 1; }, 3600));
  ac().sim_rate = 4.0;
  int pauses = 0;
  Profile p = fly(&pauses);
  ASSERT_TRUE(p.finished);
  EXPECT_EQ(count_events(KEY_PAUSE_TOGGLE), 2);
  EXPECT_EQ(pauses, 2);
  EXPECT_EQ(PauseAtTod, 0);
  EXPECT_EQ(PauseAtDistFromDest, 0);
  EXPECT_EQ(count_events(KEY_SIM_RATE_DECREASE), 2);  // 4x, 2x, 1x
  EXPECT_EQ(ac().sim_rate, 1.0);
  // The distance pause came once the route distance to the destination was below 20 NM.
  auto pause = key_events(KEY_PAUSE_TOGGLE);
  EXPECT_GT(pause[1].sim_seconds, pause[0].sim_seconds);
}

TEST_F(VnavFlight, ManualAutopilotChangesSwitchVnavOffOrSuspendItsSpeeds) {
  VnavOffOnManAltChg = 1;
  VnavSetSpdOffOnManSpdChg = 1;
  seconds(60);
  ASSERT_EQ(vnav_on, 1);
  ASSERT_EQ(VnavSetSpd, 1);
  host.inject_key_event(KEY_AP_AIRSPEED_SET, 231);
  seconds(20);
  EXPECT_EQ(VnavSetSpd, 2);
  EXPECT_EQ(vnav_on, 1);
  host.inject_key_event(KEY_AP_ALTITUDE_SET, 15000);
  seconds(20);
  EXPECT_EQ(vnav_on, 0);
  EXPECT_EQ(host.named_var("vek_vnav"), 0.0);
  vnav_toggle();  // engaging again restores the speed setting
  EXPECT_EQ(VnavSetSpd, 1);
  EXPECT_EQ(vnav_on, 1);
}

TEST_F(VnavFlight, OwnCommandsNeverCountAsManualChangesAtAnyStepOfTheCycle) {
  VnavOffOnManAltChg = 1;
  VnavSetSpdOffOnManSpdChg = 1;
  for (int step = 0; step < 18; ++step) {
    // Engage at this step of the sampling cycle: the altitude and speed are set anew.
    while (fms_frame != step) frame();
    if (vnav_on == 1) vnav_toggle();
    // The pilot had another altitude and speed set while VNAV was off.
    host.inject_key_event(KEY_AP_ALTITUDE_SET, 30000 + 100 * step);
    host.inject_key_event(KEY_AP_AIRSPEED_SET, 240 + step);
    vnav_toggle();
    ASSERT_EQ(vnav_on, 1);
    int alt_sets = count_events(KEY_AP_ALTITUDE_SET);
    seconds(12);
    EXPECT_GT(count_events(KEY_AP_ALTITUDE_SET), alt_sets) << step;
    EXPECT_EQ(vnav_on, 1) << "switched off after its own altitude, step " << step;
    EXPECT_EQ(VnavSetSpd, 1) << "speed suspended after its own speed, step " << step;
  }
  // The same through the top of climb and its cruise speed.
  ASSERT_TRUE(fly_until([] { return toc_reached == 1; }, 3600));
  seconds(60);
  EXPECT_EQ(vnav_on, 1);
  EXPECT_EQ(VnavSetSpd, 1);
}
