// Cruise-altitude proposal, TOC/TOD placement and the VNAV vertical-speed rule.
#include "fms_harness.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/flight_log.h"
#include "guidance/performance_tables.h"
#include "guidance/speed_conversions.h"
#include "guidance/waypoint_sequencing.h"
#include "guidance/lnav_vnav_state.h"

namespace {

// 100 NM east (or west) along 47 N.
void route_100nm(bool east) {
  double dlon = 100.0 / (60.0 * std::cos(47.0 * 3.14159265358979323846 / 180.0));
  double lon0 = -122.0, lon1 = east ? lon0 + dlon : lon0 - dlon;
  static FlightPlanWpt recs[3];
  for (auto& r : recs) clear_fpl_record(r);
  fpl_set_text(recs[0].ident, "A");
  recs[0].lat = 47.0;
  recs[0].lon = lon0;
  fpl_set_text(recs[1].ident, "B");
  recs[1].lat = 47.0;
  recs[1].lon = (lon0 + lon1) / 2.0;
  fpl_set_text(recs[2].ident, "C");
  recs[2].lat = 47.0;
  recs[2].lon = lon1;
  set_active_plan(recs, 2, 1);
}

void plain_aircraft() {
  perf_cruise_count = 0;
  perf_climb_count = 0;
  ClimbRate = 1800;
  ClimbTas = 300.0;
  DescentTas = 300.0;
  DescentRate = 1800.0;
  FPA = 0.0;
  MaxCruise = 35000;
  indicated_altitude = 0.0;
  cruise_alt = 0;
  toc_reached = tod_reached = 0;
}

}  // namespace

TEST_F(FmsFlight, ProposalSearchesByMinuteWithTheDirectionOfFlight) {
  plain_aircraft();
  route_100nm(true);
  propose_cruise_altitude(0, 0);
  EXPECT_EQ(proposed_cruise_alt, 11000.0);  // 12600 after 7 min, odd thousands eastbound
  EXPECT_EQ(cruise_alt, 11000);
  cruise_alt = 0;
  route_100nm(false);
  propose_cruise_altitude(0, 0);
  EXPECT_EQ(proposed_cruise_alt, 12000.0);
  // Above the maximum: the semicircular levels.
  cruise_alt = 0;
  MaxCruise = 44000;
  ClimbRate = 20000;
  propose_cruise_altitude(0, 0);
  EXPECT_EQ(proposed_cruise_alt, 43000.0);
  route_100nm(true);
  propose_cruise_altitude(0, 0);
  EXPECT_EQ(proposed_cruise_alt, 45000.0);
  // A given altitude is kept.
  propose_cruise_altitude(37000, 0);
  EXPECT_EQ(proposed_cruise_alt, 37000.0);
}

TEST_F(FmsFlight, ProposalFromTheAirClimbsFromThePresentAltitude) {
  plain_aircraft();
  route_100nm(true);
  indicated_altitude = 10000.0;
  propose_cruise_altitude(0, 0);
  EXPECT_GT(proposed_cruise_alt, 10000.0);
  EXPECT_EQ(static_cast<int>(proposed_cruise_alt) % 2000, 1000);
  EXPECT_GE(toc_climb_dist, 0);
  // A short hop from the ground never proposes 0 or less.
  plain_aircraft();
  static FlightPlanWpt recs[2];
  for (auto& r : recs) clear_fpl_record(r);
  recs[0].lat = 47.0;
  recs[0].lon = -122.0;
  recs[1].lat = 47.0;
  recs[1].lon = -121.99;
  set_active_plan(recs, 1, 1);
  propose_cruise_altitude(0, 0);
  EXPECT_GT(proposed_cruise_alt, 0.0);
}

TEST_F(FmsFlight, ProfileWithoutRatesKeepsThePreviousPointsAndResetsTheDescentFlag) {
  plain_aircraft();
  route_100nm(true);
  propose_cruise_altitude(11000, 0);
  double toc = toc_lat + toc_lon, tod = tod_lat + tod_lon;
  EXPECT_EQ(toc_valid, 1);
  EXPECT_EQ(tod_valid, 1);
  // TOC 11000 / 1800 x 5 NM/min = 30.6 NM after the origin, TOD 30.6 NM before the end.
  EXPECT_NEAR(nm(47.0, -122.0, toc_lat, toc_lon), 30.56, 0.1);
  EXPECT_NEAR(nm(fpl_active[2].lat, fpl_active[2].lon, tod_lat, tod_lon), 30.56, 0.1);
  vnav_descent_started = 1;
  ClimbRate = 0;
  propose_cruise_altitude(15000, 0);
  EXPECT_EQ(toc_lat + toc_lon, toc);
  EXPECT_EQ(tod_lat + tod_lon, tod);
  ClimbRate = 1800;
  propose_cruise_altitude(15000, 0);
  EXPECT_EQ(vnav_descent_started, 0);
  // A level the route cannot hold: the climb ends where the descent begins, halfway on
  // this even route, at the level reachable there; no old point stays.
  propose_cruise_altitude(40000, 0);
  EXPECT_NEAR(nm(toc_lat, toc_lon, tod_lat, tod_lon), 0.0, 0.5);
  EXPECT_NEAR(nm(47.0, -122.0, toc_lat, toc_lon), nm(toc_lat, toc_lon, fpl_active[2].lat, fpl_active[2].lon), 1.0);
  EXPECT_GT(profile_level_cap, 15000.0);
  EXPECT_LT(profile_level_cap, 40000.0);
  EXPECT_EQ(vnav_level_alt(), cruise_alt > 0 ? std::min<double>(cruise_alt, profile_level_cap) : 0.0);
  expect_globals_finite();
}

TEST_F(FmsFlight, DescentRateIsTruncatedLimitedAndHeldWithoutTimeToGo) {
  seconds(2);
  activate({{"A", 47.5, -122.3}, {"B", 47.0, -122.3}});
  lnav_on = 1;
  vnav_on = 1;
  vnav_alt_state = 1;
  VnavOffOnManAltChg = 0;
  toc_reached = tod_reached = 1;
  MaxVnavDescRate = 3000;
  MinVnavDescRate = 1500;
  MinVnavIas = 155;
  indicated_airspeed = 250.0;
  ground_speed = 300.0;
  dist_to_vnav_target = 5.0;  // one minute to B, the route's end
  vnav_target_alt = 10000.0;
  vnav_target_kind = 0;
  vnav_wpt_index = fpl_active_last;
  auto vs_after = [&](double alt) {
    indicated_altitude = alt;
    vnav_vs_update();
    auto ev = key_events(KEY_AP_VS_SET);
    return ev.empty() ? 0 : ev.back().param;
  };
  EXPECT_EQ(vs_after(12345.0), -2300);
  EXPECT_EQ(vs_after(10900.0), -1500);
  EXPECT_EQ(vs_after(13400.0), -3000);
  indicated_airspeed = 150.0;
  EXPECT_EQ(vs_after(12345.0), 0);
  int sent = count_events(KEY_AP_VS_SET);
  indicated_airspeed = 250.0;
  ground_speed = 0.0;  // no time to the target: nothing new
  vs_after(12345.0);
  dist_to_vnav_target = 0.0;
  ground_speed = 300.0;
  vs_after(12345.0);
  EXPECT_EQ(count_events(KEY_AP_VS_SET), sent);
  EXPECT_TRUE(std::isfinite(vnav_vs_required));
}

TEST_F(FmsFlight, TopOfDescentPassedAbeamIsDetectedOnAnEastboundLeg) {
  // 3 NM north of an eastbound route, level at the cruise altitude, LNAV off.
  ac().lat = 47.05;
  ac().lon = -121.6;
  ac().altitude_ft = 15000.0;
  ac().ap_altitude_ft = 15000.0;
  ac().heading_true = 90.0;
  host.aircraft().refresh();
  double mv = host.aircraft().magnetic_variation();
  host.inject_key_event(KEY_AP_HEADING_SET, static_cast<int32_t>(std::lround(90.0 - mv)));
  seconds(5);
  activate({{"ORIG", 47.0, -122.0}, {"WPA", 47.0, -121.0}, {"DEST", 47.0, -120.0, 400, -999, 0, "APT"}}, 2);
  propose_cruise_altitude(15000, 0);
  ASSERT_EQ(tod_valid, 1);
  ASSERT_GT(tod_lon, ac().lon);
  double closest = 1.0e9;
  ASSERT_TRUE(fly_until(
      [&] {
        closest = std::min(closest, nm(ac().lat, ac().lon, tod_lat, tod_lon));
        return tod_reached == 1;
      },
      1200));
  EXPECT_GT(closest, 1.5);  // never within the 1.5-NM circle: found behind the aircraft
  EXPECT_EQ(vnav_descent_started, 1);
  EXPECT_GT(ac().lon, tod_lon);
  EXPECT_LT(ac().lon, tod_lon + 0.1);
}

TEST_F(FmsFlight, PerformanceTablesProposeALevelWithinTheirAltitudes) {
  ASSERT_GT(perf_cruise_count, 0);  // the sample twin jet's tables
  seconds(2);
  activate({{"KSEA", 47.45, -122.31, 433, -999, 0, "APT"}, {"MID", 46.5, -122.4}, {"KPDX", 45.59, -122.60, 31, -999, 0, "APT"}});
  cruise_alt = 0;
  propose_cruise_altitude(0, 0);
  EXPECT_GT(proposed_cruise_alt, 5000.0);
  EXPECT_LE(proposed_cruise_alt, perf_highest_altitude());
  EXPECT_EQ(static_cast<int>(proposed_cruise_alt) % 2000, 0);  // southbound: even thousands
  EXPECT_EQ(cruise_alt, static_cast<int32_t>(proposed_cruise_alt));
}

TEST_F(FmsFlight, PredictionMovesTheTopOfClimbOntoAConstraintThatHoldsTheClimbDown) {
  // Eastbound along 47 N: B at 60 NM, C at 100 NM, D at 200 NM, E at 300 NM.
  auto lon_at = [](double dist) { return -122.0 + dist / (60.0 * std::cos(47.0 * 3.14159265358979323846 / 180.0)); };
  auto fly_plan = [&](double c_alt) {
    plain_aircraft();
    activate({{"A", 47.0, lon_at(0.0), 0.0},
              {"B", 47.0, lon_at(60.0)},
              {"C", 47.0, lon_at(100.0), c_alt, -999.0, 1},
              {"D", 47.0, lon_at(200.0)},
              {"E", 47.0, lon_at(300.0), 0.0}});
    propose_cruise_altitude(25000, 1);
  };
  // At 1800 ft/min and 5 NM/min the climb needs 69.4 NM: C at 8000 ft keeps the
  // aircraft below the cruise altitude until C, so the top of climb is C.
  fly_plan(8000.0);
  EXPECT_EQ(toc_leg_index, 1);
  EXPECT_NEAR(nm(toc_lat, toc_lon, fpl_active[2].lat, fpl_active[2].lon), 0.0, 0.01);
  EXPECT_EQ(fpl_active[1].alt_constraint, 8000.0);  // B predicted no higher than C
  EXPECT_EQ(fpl_active[2].alt_constraint, 8000.0);  // the constraint itself is kept
  EXPECT_EQ(fpl_active[3].alt_constraint, 25000.0);
  // A constraint above the cruise altitude holds nothing: the TOC stays at 69.4 NM.
  fly_plan(30000.0);
  EXPECT_NEAR(nm(47.0, -122.0, toc_lat, toc_lon), 69.4, 0.2);
  EXPECT_NEAR(fpl_active[1].alt_constraint, 21600.0, 200.0);  // 12 minutes at 1800 ft/min
  // A climb that reaches the cruise altitude before the constraint is not held by it.
  plain_aircraft();
  ClimbRate = 3000;
  activate({{"A", 47.0, lon_at(0.0), 0.0},
            {"B", 47.0, lon_at(60.0)},
            {"C", 47.0, lon_at(100.0), 8000.0, -999.0, 1},
            {"E", 47.0, lon_at(300.0), 0.0}});
  propose_cruise_altitude(25000, 1);
  EXPECT_NEAR(nm(47.0, -122.0, toc_lat, toc_lon), 41.7, 0.2);
  // B is not held at 8000 ft; it lies past the top of descent for C (47.2 NM before C,
  // at 52.8 NM), so it is predicted 7.2 NM down the descent.
  EXPECT_NEAR(fpl_active[1].alt_constraint, 22400.0, 200.0);
  // Once the TOC is passed the prediction leaves it where it is.
  fly_plan(8000.0);
  toc_reached = 1;
  double lat = toc_lat, lon = toc_lon;
  fpl_active[2].alt_constraint = 9000.0;
  propose_cruise_altitude(25000, 1);
  EXPECT_EQ(toc_lat, lat);
  EXPECT_EQ(toc_lon, lon);
}

TEST_F(FmsFlight, PerformanceLevelBurnsLeastPerMileWithinWeightLimitsAndRoomToDescend) {
  auto load = [](const std::string& text) {
    std::string copy = text;
    std::FILE* f = fmemopen(copy.data(), copy.size(), "rb");
    ASSERT_NE(f, nullptr);
    read_perf_tables(f);
    std::fclose(f);
  };
  // Climb 3000 ft/min at 300 kt: 12000 ft per 20 NM. Descent at 300 kt: 2.5 NM per
  // 1000 ft at 2000 ft/min. Cruise fuel flows for 100000 and 200000 lb.
  auto tables = [](const char* descent_rate, const char* limit_22000) {
    return std::string("[CLIMB]\n0 300 3000 0\n") +
           "[GRWT] 100 200\n20000 400 4000 3000\n22000 400 3800 3400\n30000 450 3000 2000\n" +
           "[DESCENT]\n0 300 " + descent_rate + " 0\n" + "[Altitude]\n20000 0\n22000 " + limit_22000 +
           "\n40000 0\n";
  };
  plain_aircraft();
  ClbSpdRest = 0.0;
  route_100nm(true);  // half route 35 NM: the climb reaches 24000 ft
  ASSERT_LT(read_fuel_on_board(), 50000.0);
  zero_fuel_weight = 0.0;
  load(tables("2000", "0"));
  EXPECT_EQ(compute_perf_cruise_altitude(), 22000);  // 9.5 lb/NM against 10 at 20000
  zero_fuel_weight = 190000.0;
  EXPECT_EQ(compute_perf_cruise_altitude(), 20000);  // heavy: 7.5 lb/NM against 8.5
  // 22000 ft allowed only up to 1000 lb.
  zero_fuel_weight = 0.0;
  load(tables("2000", "1000"));
  EXPECT_EQ(compute_perf_cruise_altitude(), 20000);
  // Descending at 1000 ft/min no level leaves room for the descent: the minute search
  // proposes instead.
  load(tables("1000", "0"));
  EXPECT_EQ(compute_perf_cruise_altitude(), 0);
  cruise_alt = 0;
  propose_cruise_altitude(0, 0);
  EXPECT_EQ(proposed_cruise_alt, 11000.0);
  // Absurd numbers give no level outside the flight levels.
  load("[CLIMB]\n0 1e300 1e300 1e300\n[GRWT] 1\n1e30 1e-300 1e300\n50000 0 100\n[DESCENT]\n0 0 0 0\n"
       "[Altitude]\n1e300 0\n");
  EXPECT_EQ(compute_perf_cruise_altitude(), 0);
  // The climb is kept as segments of one TAS each; a heavy aircraft burns the climb
  // row's fuel flow of its gross-weight column where the row gives one.
  load("[CLIMB]\n0 250 2000 1000 1500\n10000 300 3000 1200\n[GRWT] 100 200\n20000 400 4000 3000\n"
       "[Altitude]\n40000 0\n");
  zero_fuel_weight = 190000.0;
  compute_perf_cruise_altitude();
  ASSERT_EQ(perf_climb_segment_count, 2);
  EXPECT_DOUBLE_EQ(perf_climb_segments[1].tas, 250.0);
  EXPECT_NEAR(perf_climb_segments[1].minutes, 4.8, 1e-9);
  EXPECT_NEAR(perf_climb_segments[1].fuel, 1500 * 0.08, 1e-9);
  EXPECT_DOUBLE_EQ(perf_climb_segments[2].rate, 3000.0);
  EXPECT_NEAR(perf_climb_segments[2].fuel, 1200 * 20.0 / 300, 1e-9);
  zero_fuel_weight = 0.0;
  compute_perf_cruise_altitude();
  EXPECT_NEAR(perf_climb_segments[1].fuel, 1000 * 0.08, 1e-9);
  // No plan: nothing.
  load(tables("2000", "0"));
  clear_fpl_active();
  EXPECT_EQ(compute_perf_cruise_altitude(), 0);
}

TEST_F(FmsFlight, DescentPredictionStaysBelowAConstraintAndSlowsAfterIt) {
  // Eastbound along 47 N: C at 200 NM at 6000 ft and 220 kt, D at 260 NM, E at 300 NM.
  auto lon_at = [](double dist) { return -122.0 + dist / (60.0 * std::cos(47.0 * 3.14159265358979323846 / 180.0)); };
  auto plan = [&](int constrained) {
    plain_aircraft();
    DescentIas = 280;
    DescSpdRest = 0.0;
    activate({{"A", 47.0, lon_at(0.0), 0.0},
              {"B", 47.0, lon_at(100.0)},
              {"C", 47.0, lon_at(200.0), constrained ? 6000.0 : -999.0, constrained ? 220.0 : -999.0, constrained},
              {"D", 47.0, lon_at(260.0)},
              {"E", 47.0, lon_at(300.0), 0.0}});
    propose_cruise_altitude(25000, 1);
  };
  // 1800 ft/min at 5 NM/min: D, 40 NM before E, is predicted at about 14400 ft.
  plan(0);
  EXPECT_NEAR(fpl_active[3].alt_constraint, 14400.0, 200.0);
  EXPECT_EQ(fpl_active[3].spd_constraint, 280.0);
  // After C at 6000 ft the aircraft is no higher and no faster.
  plan(1);
  EXPECT_EQ(fpl_active[3].alt_constraint, 6000.0);
  EXPECT_EQ(fpl_active[3].spd_constraint, 220.0);
  EXPECT_EQ(fpl_active[2].alt_constraint, 6000.0);
  EXPECT_EQ(fpl_active[1].alt_constraint, 25000.0);  // B cruises
}

TEST_F(FmsFlight, RecordPastTheTopOfDescentIsPredictedOnTheDescentNotAtCruise) {
  // Eastbound along 47 N: B at 20 NM, M at 80 NM, C at 120 NM, D at 140 NM. Climb and
  // descent both at 360 ft/NM (1800 ft/min at 5 NM/min).
  auto lon_at = [](double dist) { return -122.0 + dist / (60.0 * std::cos(47.0 * 3.14159265358979323846 / 180.0)); };
  plain_aircraft();
  DescentIas = 280;
  DescSpdRest = 0.0;
  activate({{"A", 47.0, lon_at(0.0), 0.0},
            {"B", 47.0, lon_at(20.0)},
            {"C", 47.0, lon_at(120.0)},
            {"D", 47.0, lon_at(140.0), 0.0}});
  // FL200: top of climb at 55.6 NM, top of descent at 84.4 NM. The climb reaches the
  // cruise altitude only at C, which lies 20 NM before the destination.
  propose_cruise_altitude(20000, 1);
  EXPECT_NEAR(nm(47.0, lon_at(0.0), toc_lat, toc_lon), 55.6, 0.2);
  EXPECT_NEAR(nm(47.0, lon_at(140.0), tod_lat, tod_lon), 55.6, 0.2);
  EXPECT_NEAR(fpl_active[1].alt_constraint, 7200.0, 200.0);  // climbing
  EXPECT_NEAR(fpl_active[2].alt_constraint, 7200.0, 200.0);  // descending, not at cruise
  EXPECT_EQ(fpl_active[2].spd_constraint, 280.0);
  // FL300 does not fit: no cruise at all. M at 80 NM would be at 28800 ft on the
  // climb but has to be at 21600 ft for the descent; B stays on the climb.
  plain_aircraft();
  DescentIas = 280;
  DescSpdRest = 0.0;
  activate({{"A", 47.0, lon_at(0.0), 0.0},
            {"B", 47.0, lon_at(20.0)},
            {"M", 47.0, lon_at(80.0)},
            {"C", 47.0, lon_at(120.0)},
            {"D", 47.0, lon_at(140.0), 0.0}});
  propose_cruise_altitude(30000, 1);
  EXPECT_NEAR(fpl_active[1].alt_constraint, 7200.0, 200.0);
  EXPECT_NEAR(fpl_active[2].alt_constraint, 21600.0, 200.0);
  EXPECT_EQ(fpl_active[2].spd_constraint, 280.0);
  EXPECT_NEAR(fpl_active[3].alt_constraint, 7200.0, 200.0);
  // No record shows a cruise altitude the aircraft never flies.
  for (int i = 1; i < 4; ++i) EXPECT_LT(fpl_active[i].alt_constraint, 30000.0);
}

TEST_F(FmsFlight, SampleTwinjetCrossesAWaypointPastTheTopOfDescentNearItsPrediction) {
  // Due south along 122.31 W from 5000 ft: B at 20 NM, C at 120 NM, the destination
  // airport D at 140 NM. The climb to FL200 reaches the cruise altitude only at C, and
  // the top of descent lies before C.
  auto lat_at = [](double dist) { return 47.45 - dist / 60.0; };
  seconds(2);
  activate({{"A", lat_at(0.0), -122.31},
            {"B", lat_at(20.0), -122.31},
            {"C", lat_at(120.0), -122.31},
            {"D", lat_at(140.0), -122.31, 100.0, -999.0, 0, "APT"}});
  cruise_alt = 0;
  propose_cruise_altitude(20000, 1);
  ASSERT_EQ(cruise_alt, 20000);
  double predicted_c = fpl_active[2].alt_constraint;
  EXPECT_LT(predicted_c, 15000.0);
  LnavOffAtLastWpt = 0;
  lnav_toggle();
  vnav_toggle();
  ASSERT_EQ(lnav_on, 1);
  ASSERT_EQ(vnav_on, 1);
  ASSERT_TRUE(fly_until([] { return fpl_active_index == 3; }, 3600));
  EXPECT_EQ(toc_reached, 1);
  EXPECT_EQ(tod_reached, 1);
  // Sequenced a few miles before C, on the way down toward D.
  EXPECT_NEAR(ac().altitude_ft, predicted_c, 1500.0);
  expect_globals_finite();
}
