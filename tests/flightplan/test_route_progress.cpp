// Route progress: leg distances, distance to go, TOD gates, ETAs, cross-track.
#include <algorithm>
#include <cmath>

#include "flightplan/route_progress.h"
#include "fpl_test_util.h"
#include "geo/great_circle.h"

namespace {

// KSEA SEA OLM BTG KPDX, active, flying to OLM.
void fly_to_olm() {
  append_fixes({"KSEA", "SEA", "OLM", "BTG", "KPDX"});
  fpl_changed_step();
  activate_route();
  fpl_active_index = 2;
}

double gc(const FlightPlanWpt& a, const FlightPlanWpt& b) {
  double d, c;
  compute_gc_distance_course(a.lat, a.lon, b.lat, b.lon, d, c);
  return d;
}

}  // namespace

TEST_F(FplTest, LegDistancesAndDistanceToGo) {
  fly_to_olm();
  EXPECT_EQ(compute_route_distance(1), 5);
  double sum = 0;
  for (int i = 1; i <= 4; ++i) sum += gc(fpl_active[i - 1], fpl_active[i]);
  EXPECT_NEAR(route_total_dist, sum, 1e-9);
  EXPECT_NEAR(fpl_active[2].leg_dist, gc(fpl_active[1], fpl_active[2]), 1e-9);

  // Halfway along SEA -> OLM.
  RouteProgressInput in;
  double d, c;
  compute_gc_distance_course(fpl_active[1].lat, fpl_active[1].lon, fpl_active[2].lat, fpl_active[2].lon, d, c);
  compute_dest_point(fpl_active[1].lat, fpl_active[1].lon, c, d / 2, present_lat, present_lon);
  update_active_legs(in);
  double rest = gc(fpl_active[2], fpl_active[3]) + gc(fpl_active[3], fpl_active[4]);
  EXPECT_NEAR(route_distance_to_go, d / 2 + rest, 0.01);
  EXPECT_NEAR(dist_to_active_wpt, d / 2, 0.01);
  EXPECT_NEAR(direct_dist_to_dest, gc(fpl_active[4], FlightPlanWpt{.lat = present_lat, .lon = present_lon}), 1e-6);
}

TEST_F(FplTest, DiscontinuityCountsNoDistance) {
  append_fixes({"KSEA", "SEA", "OLM", "KPDX"});
  make_discontinuity_2(2, 0);  // would be removed: last - 1
  append_fixes({"BTG", "KPDX"});
  make_discontinuity_2(2, 0);
  fpl_changed_step();
  activate_route();
  ASSERT_STREQ(fpl_active[2].ident, "DISCO");
  EXPECT_EQ(fpl_active[2].leg_dist, 0.0);
  EXPECT_EQ(fpl_active[3].leg_dist, 0.0);
  EXPECT_TRUE(std::isfinite(route_total_dist));
}

TEST_F(FplTest, EtasFromGroundSpeedAcrossMidnight) {
  fly_to_olm();
  RouteProgressInput in;
  present_lat = fpl_active[1].lat;
  present_lon = fpl_active[1].lon;
  ground_speed = 300.0;
  in.zulu_hours = 23.0 + 50.0 / 60.0;  // 23:50Z
  in.local_hours = 15.0 + 50.0 / 60.0;
  update_active_legs(in);
  double to_olm = gc(fpl_active[1], fpl_active[2]);
  int m = (int)std::lround(23 * 60 + 50 + to_olm / 300.0 * 60.0) % 1440;
  char want[16];
  std::snprintf(want, sizeof want, "%02d:%02d", m / 60, m % 60);
  EXPECT_STREQ(fpl_active[2].eta, want);
  EXPECT_STREQ(fpl_active[4].eta, "00:14");  // 118 NM at 300 kt: past midnight, never 24:xx
  in.eta_local = 1;
  update_active_legs(in);
  EXPECT_STREQ(fpl_active[4].eta, "16:14");
  // 59.6 minutes round to the next hour, not minute 60.
  in.eta_local = 0;
  in.zulu_hours = 10.0 + 59.6 / 60.0 - to_olm / 300.0;
  update_active_legs(in);
  EXPECT_STREQ(fpl_active[2].eta, "11:00");
  ground_speed = 20.0;  // taxiing: no ETAs
  update_active_legs(in);
  EXPECT_STREQ(fpl_active[2].eta, "");
}

TEST_F(FplTest, CrossTrackSideAndDistanceOnBothSidesOfTheLeg) {
  fly_to_olm();  // SEA -> OLM, about south-west
  double d, c;
  const FlightPlanWpt& a = fpl_active[1];
  const FlightPlanWpt& b = fpl_active[2];
  compute_gc_distance_course(a.lat, a.lon, b.lat, b.lon, d, c);
  double mlat, mlon;
  compute_dest_point(a.lat, a.lon, c, d / 2, mlat, mlon);
  int ts, xs, ds;
  double tke, xtk, drift;
  for (int side : {1, 2}) {
    double off = side == 1 ? -90.0 : 90.0;  // left, right of the course
    double lat, lon;
    compute_dest_point(mlat, mlon, std::fmod(c + off + 360.0, 360.0), 2.0, lat, lon);
    compute_track_errors(lat, lon, c + 10.0, c - 5.0, ts, tke, xs, xtk, ds, drift, 7);
    EXPECT_EQ(xs, side);
    EXPECT_NEAR(xtk, 2.0, 0.02);
    EXPECT_EQ(ts, 2);
    EXPECT_NEAR(tke, 10.0, 0.2);
    EXPECT_EQ(ds, 1);
    EXPECT_NEAR(drift, 5.0, 0.2);
    // 20 NM off: limited to 5, or 125 with selector 7.
    compute_dest_point(mlat, mlon, std::fmod(c + off + 360.0, 360.0), 20.0, lat, lon);
    compute_track_errors(lat, lon, c, c, ts, tke, xs, xtk, ds, drift, 0);
    EXPECT_EQ(xtk, 5.0);
    compute_track_errors(lat, lon, c, c, ts, tke, xs, xtk, ds, drift, 7);
    EXPECT_NEAR(xtk, 20.0, 0.1);
    EXPECT_EQ(xtk_side, side);
  }
  // From the direct-to origin instead of the previous waypoint.
  dto_active = 1;
  dto_origin_lat = b.lat + 1.0;
  dto_origin_lon = b.lon;
  compute_track_errors(b.lat + 0.5, b.lon, 180.0, 180.0, ts, tke, xs, xtk, ds, drift, 7);
  EXPECT_NEAR(xtk, 0.0, 1e-6);
  EXPECT_NEAR(desired_track, 180.0, 1e-6);
}

TEST_F(FplTest, NoActiveLegGivesMinus99) {
  int ts, xs, ds;
  double tke, xtk, drift;
  compute_track_errors(47, -122, 0, 0, ts, tke, xs, xtk, ds, drift, 7);
  EXPECT_EQ(xtk, -99.0);
  RouteProgressInput in;
  update_active_legs(in);
  EXPECT_EQ(tod_route_dist, 0.0);
  double alt = 1, spd = 2;
  EXPECT_EQ(set_leg_targets(1, alt, spd), 0);
  set_tower_view_position();  // no plan: nothing
}

TEST_F(FplTest, TopOfDescentGatesAndPathAltitude) {
  fly_to_olm();
  cruise_alt = 17000;
  fpl_active[4].alt_constraint = 31;
  // TOD halfway along OLM -> BTG; VNAV target the destination at 1031 ft, say.
  const FlightPlanWpt& olm = fpl_active[2];
  const FlightPlanWpt& btg = fpl_active[3];
  double d, c;
  compute_gc_distance_course(olm.lat, olm.lon, btg.lat, btg.lon, d, c);
  RouteProgressInput in;
  in.tod_valid = 1;
  compute_dest_point(olm.lat, olm.lon, c, d / 2, in.tod_lat, in.tod_lon);
  present_lat = fpl_active[1].lat;
  present_lon = fpl_active[1].lon;
  in.vnav_wpt_index = 4;
  in.vnav_target_alt = 1031;
  update_active_legs(in);
  EXPECT_NEAR(tod_route_dist, gc(fpl_active[1], olm) + d / 2, 0.05);
  EXPECT_EQ(vdev_gate_dist_2, 0.0);
  // Past TOD, a quarter of the way from TOD to BTG.
  in.tod_reached = 1;
  fpl_active_index = 3;
  compute_dest_point(olm.lat, olm.lon, c, d * 0.75, present_lat, present_lon);
  update_active_legs(in);
  double gate1 = d / 2 + gc(btg, fpl_active[4]);
  EXPECT_NEAR(vdev_gate_dist_1, gate1, 0.05);
  EXPECT_NEAR(vdev_gate_dist_2, gate1 - d / 4, 0.05);
  double want = 1031 + (17000 - 1031) * (gate1 - d / 4) / gate1;
  EXPECT_NEAR(vnav_path_altitude, want, 5.0);
  EXPECT_EQ(tod_route_dist, 0.0);
  // Past BTG, a quarter of the way to the destination: the path runs from BTG's altitude
  // constraint (met abeam it) when it has one, else still from the TOD at the level; not
  // from a constraint a direct-to skipped, and no higher than flown since the TOD (a level
  // held below the profile's is where the descent starts from). With the profile's gradient
  // told, the path from a direct-to rises at it from the destination, up to the level.
  const FlightPlanWpt& dest = fpl_active[4];
  double dd, dc;
  compute_gc_distance_course(btg.lat, btg.lon, dest.lat, dest.lon, dd, dc);
  struct Row {
    int flag;
    double btg_alt, from_alt, from_dist;  // path start: altitude and distance to the destination
    int32_t direct;                       // 1: flown direct to the destination from behind BTG
    double flown;                         // feet, the highest flown since the TOD (0 not told)
    double gradient;                      // feet a NM the profile descends (0 not told)
  } rows[] = {{1, 9000, 9000, dd, 0, 0, 0},          {0, -999, 17000, gate1, 0, 0, 0},
              {1, 9000, 17000, gate1, 1, 0, 0},      {0, -999, 17000, gate1, 0, 16000, 0},
              {0, -999, 17000, gate1, 0, 4000, 0},   {1, 9000, 1031 + 300 * dd, dd, 1, 0, 300},
              {1, 9000, 17000, dd * 0.75, 1, 0, 2000}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.btg_alt << " direct " << r.direct << " flown " << r.flown << " gradient "
                                    << r.gradient);
    in.descent_ft_per_nm = r.gradient;
    fpl_active[3].constraint_flag = r.flag;
    fpl_active[3].alt_constraint = r.btg_alt;
    fpl_active_index = 4;
    dto_active = r.direct;
    dto_origin_lat = btg.lat;  // the direct-to began abeam BTG: its path from the TOD is as long
    dto_origin_lon = btg.lon;
    in.tod_reached = 0;  // a new descent
    update_active_legs(in);
    in.tod_reached = 1;
    in.altitude = r.flown;
    compute_dest_point(btg.lat, btg.lon, dc, dd / 4, present_lat, present_lon);
    update_active_legs(in);
    const double line = 1031 + (r.from_alt - 1031) * (dd * 0.75) / r.from_dist;
    EXPECT_NEAR(vnav_path_altitude, r.flown > 0 ? std::min(line, r.flown) : line, 10.0);
  }
  dto_active = 0;
}

TEST_F(FplTest, LegTargetsFromTheActiveRecord) {
  fly_to_olm();
  fpl_active[2].alt_constraint = 9000;
  double alt = 0, spd = 0;
  EXPECT_EQ(set_leg_targets(1, alt, spd), 1);
  EXPECT_EQ(alt, 9000);
  EXPECT_EQ(spd, 0);  // no speed constraint: unchanged
}
