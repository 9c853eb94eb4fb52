// The racetrack of the first hold, flown corner by corner and left on request.
#include "fms_harness.h"
#include "guidance/hold_legs.h"
#include "guidance/waypoint_sequencing.h"

namespace {

const std::vector<Wpt> kHoldRoute = {
    {"ORIG", 47.50, -122.31}, {"HFIX", 47.25, -122.31}, {"NEXT", 47.00, -122.00}, {"DEST", 46.80, -122.00}};

}  // namespace

TEST_F(FmsFlight, HoldIsFlownCornerByCornerAndLeftOnRequest) {
  ac().ias_kt = 200.0;
  ac().ap_airspeed_kt = 200.0;
  host.aircraft().refresh();
  seconds(5);
  activate(kHoldRoute);
  ASSERT_EQ(add_hold(1, 0, 1.0), 1);
  commit_hold_indexes();
  ASSERT_EQ(hold_list[1].active_wpt, 1);
  lnav_toggle();

  std::vector<int> corners;
  int lnav_events_in_hold = 0;
  int last_hdg_events = count_events(KEY_AP_HEADING_SET);
  for (int i = 0; i < 2 * 1800 && corners.size() < 9; ++i) {
    int before = holding_active;
    frame();
    if (holding_active != before && holding_active != 0) corners.push_back(holding_active);
    if (hold_being_flown()) {
      EXPECT_EQ(fpl_active_index, 1);  // no sequencing while held
      EXPECT_EQ(lnav_hdg_sent, 999);   // LNAV leaves the heading to the hold
    }
    (void)lnav_events_in_hold;
  }
  ASSERT_GE(corners.size(), 9u);
  for (size_t k = 0; k < corners.size(); ++k) EXPECT_EQ(corners[k], static_cast<int>(k % 4) + 1) << k;
  EXPECT_GT(count_events(KEY_AP_HEADING_SET), last_hdg_events + 8);
  // The corners are stored for the maps; Final lies on the inbound course before the fix.
  EXPECT_NE(hold_list[1].pattern_lat[4], 0.0);
  EXPECT_LT(hold_list[1].pattern_lat[4], 47.25 + 0.1);
  EXPECT_STREQ(hold_corner_names[1], "Xwind");

  // Exit: asked now, taken at the next Xwind corner; then the route goes on.
  hold_exit_state = 2;
  ASSERT_TRUE(fly_until([] { return hold_count == 0; }, 900));
  EXPECT_EQ(holds_changed, 0);
  EXPECT_EQ(holding_active, 0);
  EXPECT_TRUE(fly_until([] { return fpl_active_index == 2; }, 300));
}

TEST_F(FmsFlight, TimedHoldGeometryUsesAtLeast150Knots) {
  ac().ias_kt = 110.0;  // about 120 kt over the ground
  ac().ap_airspeed_kt = 110.0;
  ac().altitude_ft = 1000.0;
  ac().ap_altitude_ft = 1000.0;
  host.aircraft().refresh();
  seconds(5);
  activate(kHoldRoute);
  ASSERT_EQ(add_hold(1, 0, 1.0), 1);
  commit_hold_indexes();
  lnav_toggle();
  seconds(2);
  EXPECT_DOUBLE_EQ(hold_list[1].leg_dist, 2.5);  // 150 / 60 x 1 min
  // Xwind, where the turn outbound begins, lies (0.3 - 0.25) x 2.5 = 0.125 NM past the fix.
  EXPECT_NEAR(nm(47.25, -122.31, hold_list[1].pattern_lat[1], hold_list[1].pattern_lon[1]), 0.125, 0.01);
  // With LNAV off the corners are not stored, and the hold ahead is dropped.
  lnav_toggle();
  EXPECT_EQ(hold_exit_state, 1);
  seconds(2);
  EXPECT_EQ(hold_count, 0);
}

// The hold flown taken out of the list by an edit (the hold of a fix deleted): LNAV never
// stays engaged steering nothing; the route is flown on and its fixes sequenced.
TEST_F(FmsFlight, HoldFlownTakenOutOfTheListLeavesTheRouteSteered) {
  activate(kHoldRoute);
  ASSERT_EQ(add_hold(1, 0, 1.0), 1);
  commit_hold_indexes();
  lnav_toggle();
  ASSERT_TRUE(fly_until([] { return holding_active >= 2; }, 900));
  ASSERT_EQ(remove_hold(1, 0), 1);
  frame();
  EXPECT_FALSE(hold_being_flown());
  EXPECT_EQ(lnav_on, 1);
  EXPECT_TRUE(fly_until([] { return fpl_active_index == 2; }, 900));
}
