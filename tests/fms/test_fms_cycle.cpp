// The update frame: tick gate, sampling cycle, no-plan behaviour, the SERVER snapshot
// and robustness against degenerate plans and a standing aircraft.
#include "fms_harness.h"
#include "flightplan/route_progress.h"
#include "guidance/flight_log.h"
#include "guidance/fms_snapshot.h"
#include "guidance/waypoint_sequencing.h"
#include "guidance/lnav_vnav_state.h"

TEST_F(FmsFlight, BodyRunsOncePerTickWhileTheHeadRefreshesOnEveryCall) {
  frames(3);
  int32_t count = fms_frame_count;
  int32_t step = fms_frame;
  ac().ias_kt = 300.0;
  host.aircraft().refresh();
  double first = indicated_airspeed;
  fms_update();
  double second = indicated_airspeed;
  fms_update();
  EXPECT_EQ(fms_frame_count, count);
  EXPECT_EQ(fms_frame, step);
  EXPECT_GT(second, first);           // smoothed again on each call
  EXPECT_GT(indicated_airspeed, second);
  frame();
  EXPECT_EQ(fms_frame_count, count + 1);
}

TEST_F(FmsFlight, CycleWrapsAfterSeventeenAndTheMcuMarkerStartsAtZero) {
  fms_frame = 999;
  frame();
  EXPECT_EQ(fms_frame, 0);
  frames(17);
  EXPECT_EQ(fms_frame, 17);
  frame();
  EXPECT_EQ(fms_frame, 0);
  // The magnetic variation is a step-0 value; the vertical speed is sampled on 2, 3, 6...
  EXPECT_NE(magvar, 0.0);
  fms_frame_count = 2499;
  frames(3);
  EXPECT_EQ(fms_frame_count, 2500);
}

TEST_F(FmsFlight, AttitudeDeadbandAndStandingAircraftKeepSharedValuesFinite) {
  ac().on_ground = true;
  ac().altitude_ft = ac().ground_elevation_ft;
  ac().ias_kt = 0.0;
  ac().wind_speed_kt = 20.0;
  ac().wind_dir = 90.0;
  host.aircraft().refresh();
  seconds(20);
  EXPECT_EQ(ground_speed, 0.0);
  EXPECT_EQ(true_airspeed, 0.0);
  EXPECT_EQ(drift_angle, 0.0);
  EXPECT_EQ(ground_track, heading);
  expect_globals_finite();
}

TEST_F(FmsFlight, WithoutAPlanNoGuidanceRunsAndMasterOffDropsTheAirspeedHold) {
  seconds(10);
  EXPECT_EQ(count_events(KEY_AP_HEADING_SET), 0);
  EXPECT_EQ(srv_active_index, 0);
  lnav_toggle();  // refused without a plan, still published
  EXPECT_EQ(lnav_on, 0);
  EXPECT_EQ(host.named_var("vek_lnav"), 0.0);
  ac().ap_master = false;
  seconds(5);
  EXPECT_EQ(count_events(KEY_AP_AIRSPEED_HOLD_OFF), 1);
  ac().ap_master = true;
  ac().ap_airspeed_hold = false;
  seconds(2);
  ac().ap_master = false;
  seconds(2);
  EXPECT_EQ(count_events(KEY_AP_AIRSPEED_HOLD_OFF), 1);  // only with the airspeed hold on
}

TEST_F(FmsFlight, SnapshotPublishedToOtherModulesFollowsTheActiveLeg) {
  activate({{"ORIG", 47.50, -122.31}, {"WPA", 47.20, -122.31}, {"WPB", 47.20, -121.80}});
  lnav_toggle();
  seconds(10);
  int32_t kind = 0;
  uint32_t size = 0;
  auto* pos = static_cast<int32_t*>(host.lookup_shared_var("vek_act_wpt_pos", &kind, &size));
  auto* dist = static_cast<double*>(host.lookup_shared_var("vek_act_wpt_dist", &kind, &size));
  auto* brg = static_cast<double*>(host.lookup_shared_var("vek_act_wpt_brg", &kind, &size));
  auto* lnav = static_cast<int32_t*>(host.lookup_shared_var("vek_lnav_mode", &kind, &size));
  auto* active = static_cast<int32_t*>(host.lookup_shared_var("vek_active", &kind, &size));
  ASSERT_TRUE(pos && dist && brg && lnav && active);
  EXPECT_EQ(*pos, 1);
  EXPECT_EQ(*lnav, 1);
  EXPECT_EQ(*active, 1);
  // The published distance is the previous step's: within one step of flight.
  double d = nm(ac().lat, ac().lon, 47.20, -122.31);
  EXPECT_NEAR(*dist, d, 0.2);
  EXPECT_NEAR(*brg, bearing_to_active_wpt, 1.0);
  EXPECT_TRUE(fly_until([] { return fpl_active_index == 2; }, 600));
  frame();
  EXPECT_EQ(*pos, 2);
  EXPECT_EQ(*static_cast<int32_t*>(host.lookup_shared_var("vek_fpln_wpt_cnt", &kind, &size)), 2);
}

TEST_F(FmsFlight, DegeneratePlansNeverProduceNanOrBadKeyParameters) {
  // Active index 0, a zero-length leg, a discontinuity; LNAV and VNAV engaged on the ground.
  ac().on_ground = true;
  ac().altitude_ft = ac().ground_elevation_ft;
  ac().ias_kt = 0.0;
  host.aircraft().refresh();
  activate({{"ORIG", 47.45, -122.31, 400, -999, 0, "APT"},
            {"SAME", 47.45, -122.31},
            {"DISCO", 0.0, 0.0},
            {"DEST", 46.00, -122.31, 300, -999, 0, "APT"}},
           0);
  propose_cruise_altitude(0, 1);
  lnav_toggle();
  vnav_toggle();
  seconds(30);
  expect_globals_finite();
  fpl_active_index = 1;
  seconds(30);
  expect_globals_finite();
  // An empty plan with an active index of 0.
  clear_fpl_active();
  fpl_active_index = 0;
  seconds(10);
  expect_globals_finite();
  for (const auto& r : key_events()) {
    if (r.id == KEY_AP_HEADING_SET) {
      EXPECT_GE(r.param, 0);
      EXPECT_LE(r.param, 360);
    }
    if (r.id == KEY_AP_AIRSPEED_SET || r.id == KEY_AP_MACH_SET) {
      EXPECT_GT(r.param, 0);
    }
    if (r.id == KEY_AP_ALTITUDE_SET) {
      EXPECT_GT(r.param, -2000);
    }
  }
}

TEST_F(FmsFlight, LnavNeverSteersTowardADiscontinuityAndStopsBeforeIt) {
  activate({{"ORIG", 47.50, -122.31}, {"WPA", 47.30, -122.31}, {"DISCO", 0.0, 0.0}, {"DEST", 46.0, -122.31}});
  lnav_toggle();
  EXPECT_TRUE(fly_until([] { return lnav_on == 0; }, 600));
  EXPECT_EQ(fpl_active_index, 1);  // the route stopped before the discontinuity
  EXPECT_LT(nm(ac().lat, ac().lon, 47.30, -122.31), 6.0);
  fpl_active_index = 2;
  lnav_on = 1;
  int before = count_events(KEY_AP_HEADING_SET);
  seconds(20);
  EXPECT_EQ(count_events(KEY_AP_HEADING_SET), before);
  expect_globals_finite();
}
