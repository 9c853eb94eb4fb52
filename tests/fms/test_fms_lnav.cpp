// LNAV over a three-leg plan, sequencing and its change distances, en-route radios.
#include <cstdio>

#include "fms_harness.h"
#include "guidance/speed_conversions.h"
#include "guidance/waypoint_sequencing.h"

namespace {

const std::vector<Wpt> kThreeLegs = {
    {"ORIG", 47.50, -122.31}, {"WPA", 47.20, -122.31}, {"WPB", 47.20, -121.80}, {"WPC", 46.85, -121.80}};

}  // namespace

TEST_F(FmsFlight, LnavFliesThreeLegsInACrosswindAndSequencesAtTheChangeDistance) {
  ac().wind_dir = 270.0;
  ac().wind_speed_kt = 30.0;
  seconds(5);
  activate(kThreeLegs);
  lnav_toggle();
  EXPECT_EQ(host.named_var("vek_lnav"), 1.0);
  EXPECT_EQ(count_events(KEY_AP_HEADING_HOLD_ON), 1);

  int index = fpl_active_index;
  double cd = wpt_change_dist, max_xtk = 0.0;
  std::vector<double> passed_at;
  std::vector<double> change_dists;
  for (int i = 0; i < 2 * 1800 && lnav_on == 1; ++i) {
    double prev_cd = wpt_change_dist;
    double lat = ac().lat, lon = ac().lon;
    frame();
    if (fpl_active_index != index) {
      const FlightPlanWpt& p = fpl_active[index];
      passed_at.push_back(nm(lat, lon, p.lat, p.lon));
      change_dists.push_back(prev_cd);
      index = fpl_active_index;
    }
    // Straight part of a tracked leg: settled 10 NM after the turn, before the next.
    if (leg_tracking_on == 1 && leg_length - dist_to_active_wpt > 10.0 && dist_to_active_wpt > wpt_change_dist + 2.0)
      max_xtk = std::max(max_xtk, xtk_nm);
    cd = wpt_change_dist;
  }
  (void)cd;
  EXPECT_EQ(lnav_on, 0);  // LnavOffAtLastWpt: off once the last waypoint becomes active
  EXPECT_EQ(fpl_active_index, 3);
  ASSERT_EQ(passed_at.size(), 2u);
  for (size_t k = 0; k < passed_at.size(); ++k) {
    EXPECT_LT(passed_at[k], change_dists[k] + 0.1) << k;
    EXPECT_GT(passed_at[k], change_dists[k] - 0.4) << k;
  }
  // A 90-degree turn widens the change distance by 90 x 0.028 NM.
  EXPECT_NEAR(change_dists[0], 3.0 + 2.52, 0.06);
  EXPECT_LT(max_xtk, 0.5);
  EXPECT_GT(max_xtk, 0.0);

  // Heading commands only when the integer heading changes.
  auto hdg = key_events(KEY_AP_HEADING_SET);
  ASSERT_GT(hdg.size(), 3u);
  for (size_t k = 1; k < hdg.size(); ++k) EXPECT_NE(hdg[k].param, hdg[k - 1].param) << k;
  for (const auto& r : hdg) {
    EXPECT_GE(r.param, 0);
    EXPECT_LE(r.param, 360);
  }
  EXPECT_EQ(last_wpt_ident, "WPB");
  EXPECT_EQ(last_wpt_time.size(), 5u);
  EXPECT_EQ(last_wpt_time.back(), 'Z');
  EXPECT_NEAR(last_wpt_altitude, 5000.0, 50.0);
  EXPECT_GT(fuel_at_last_wpt, 0.0);
}

TEST_F(FmsFlight, WithoutLnavTheActiveWaypointAdvancesOnlyWhenTheSettingAsks) {
  seconds(5);
  activate(kThreeLegs);
  ASSERT_EQ(SequenceFPlanWpts, 0);
  EXPECT_FALSE(fly_until([] { return fpl_active_index != 1; }, 240));  // flown past WPA on the AP heading
  EXPECT_EQ(count_events(KEY_AP_HEADING_SET), 0);
  activate(kThreeLegs);
  SequenceFPlanWpts = 1;
  ac().lat = 47.45;
  ac().lon = -122.31;
  host.aircraft().refresh();
  EXPECT_TRUE(fly_until([] { return fpl_active_index == 2; }, 240));
  EXPECT_EQ(count_events(KEY_AP_HEADING_SET), 0);
  // The fuel at the passed waypoint is given in the weight unit of the settings.
  WeightUnit = "KGS";
  double lb = read_fuel_on_board();
  ASSERT_GT(lb, 0.0);
  ac().lat = 47.20;
  ac().lon = -121.82;
  host.aircraft().refresh();
  EXPECT_TRUE(fly_until([] { return fpl_active_index == 3; }, 10));
  EXPECT_EQ(last_wpt_ident, "WPB");
  EXPECT_NEAR(fuel_at_last_wpt, lb * 0.45359237, lb * 0.01);
}

TEST_F(FmsFlight, ChangeDistanceFollowsSegmentFlyoverSecondsAndTurn) {
  seconds(5);
  activate({{"ORIG", 47.50, -122.31}, {"WPA", 47.20, -122.31}, {"WPB", 47.20, -121.80}, {"WPC", 46.85, -121.80}});
  AdjustTurnDistforAngle = 0;
  dist_to_active_wpt = 20.0;
  fpl_set_text(fpl_active[1].segment, "SIDSTAR");
  change_distance_step();
  EXPECT_EQ(wpt_change_dist, WptProcChgDist);
  fpl_set_text(fpl_active[1].segment, "sid");
  change_distance_step();
  EXPECT_EQ(wpt_change_dist, WptChgDist);
  fpl_active[1].flyover = 1;
  change_distance_step();
  EXPECT_EQ(wpt_change_dist, FlyoverWptChgDist);
  fpl_active[1].flyover = 0;
  WptChgSecs = 30.0;
  ground_speed = 240.0;
  change_distance_step();
  EXPECT_DOUBLE_EQ(WptChgDist, 2.0);
  ground_speed = 300.0;
  change_distance_step();
  EXPECT_DOUBLE_EQ(wpt_change_dist, 2.5);
  // The turn term within 15 NM, never on a flyover point.
  AdjustTurnDistforAngle = 1;
  dist_to_active_wpt = 10.0;
  change_distance_step();
  EXPECT_GT(wpt_change_dist, 2.5 + 2.0);
  fpl_active[1].flyover = 1;
  change_distance_step();
  EXPECT_EQ(wpt_change_dist, FlyoverWptChgDist);
}

TEST_F(FmsFlight, EnRouteRadiosTuneTheNextNavaidInPackedDecimal) {
  seconds(5);
  activate({{"ORIG", 47.50, -122.31},
            {"WPA", 47.20, -122.31},
            {"VORX", 47.20, -121.80},
            {"NDBX", 46.85, -121.80},
            {"DEST", 46.50, -121.80}});
  fpl_set_text(fpl_active[2].navaid, "113.90");
  fpl_set_text(fpl_active[3].navaid, "350");
  fpl_set_text(fpl_active[3].type, "NDB");
  set_enroute_radios(2);
  auto nav = key_events(KEY_NAV1_RADIO_SET);
  ASSERT_EQ(nav.size(), 1u);
  EXPECT_EQ(nav[0].param, 0x11390);
  EXPECT_EQ(count_events(KEY_VOR1_OBS_SET), 1);
  fpl_active_index = 3;
  set_enroute_radios(2);
  auto adf = key_events(KEY_ADF_SET);
  ASSERT_EQ(adf.size(), 1u);
  EXPECT_EQ(adf[0].param, 0x350);
  // A text shorter than a frequency, or a zero, tunes nothing.
  fpl_active_index = 2;
  fpl_set_text(fpl_active[2].navaid, "11");
  set_enroute_radios(2);
  fpl_set_text(fpl_active[2].navaid, "000.00");
  set_enroute_radios(2);
  EXPECT_EQ(count_events(KEY_NAV1_RADIO_SET), 1);
}
