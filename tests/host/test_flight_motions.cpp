// The aircraft's attitude motions: roll and climb-rate changes that lag the
// flight-director commands, the take-off run, flaps, the angle-of-attack limit, the
// ILS markers and the approach hold's captures, as the module reads them.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/aircraft_model.h"
#include "host/nav_stations.h"
#include "platform/host/gauge_host.h"
#include "platform/host/sim_token_ids.h"

using simhost::AircraftModel;

namespace {

// KPDX runway 10R: threshold, magnetic course, ILS 111.30.
constexpr double THR_LAT = 45.5939, THR_LON = -122.6273, LOC_COURSE = 85.0;

double raw(const AircraftModel& m, int id) {
  TokenVar t{};
  t.id = id;
  m.read_token(&t);
  return t.value;
}

void fly(AircraftModel& m, double seconds) {
  for (int i = 0; i < static_cast<int>(seconds * 18); ++i) m.step(1.0 / 18.0);
}

// An aircraft on the sample navigation data, NAV 1 on the KPDX 10R localizer.
void tune_kpdx_10r(AircraftModel& m) {
  std::vector<simhost::NavStationEntry> stations;
  simhost::load_nav_stations(SAMPLE_SIM_DIR, &stations);
  m.set_station_resolver(simhost::make_station_resolver(stations));
  m.state().nav1_mhz = 111.30;
  m.refresh();
}

// On the extended centre line `nm` before the threshold (negative: past it).
void place_on_final(AircraftModel& m, double nm, double offset_deg = 0.0) {
  m.state().lat = THR_LAT;
  m.state().lon = THR_LON;
  const double course_true = LOC_COURSE + m.magnetic_variation() + offset_deg;
  const double back = (course_true + 180.0) * M_PI / 180.0;
  auto& s = m.state();
  s.lat = THR_LAT + nm / 60.0 * std::cos(back);
  s.lon = THR_LON + nm / 60.0 * std::sin(back) / std::cos(THR_LAT * M_PI / 180.0);
  s.heading_true = course_true;
  m.refresh();
}

}  // namespace

TEST(FlightMotions, RollAndClimbRateLagTheCommandsTheCuesShow) {
  AircraftModel m;
  auto& s = m.state();
  s.altitude_ft = s.ap_altitude_ft = 5000;
  s.ias_kt = 250;
  s.ap_master = s.flight_director = true;
  m.refresh();
  m.apply_key_event(KEY_AP_HEADING_SET, 90);
  m.apply_key_event(KEY_AP_ALTITUDE_SET, 9000);
  m.apply_key_event(KEY_AP_VS_SET, 2000);
  fly(m, 1.0);
  // Rolled 5 degrees right, climbing at 400 ft/min, while the commands already ask for
  // the full bank and rate: the simulator signs are left wing down and nose down.
  EXPECT_NEAR(raw(m, TOK_BANK), -5.0, 0.01);
  EXPECT_NEAR(raw(m, TOK_FD_BANK), -25.0, 0.01);
  EXPECT_NEAR(raw(m, TOK_VERTICAL_SPEED) / 1.30048, 400.0, 1.0);
  EXPECT_LT(raw(m, TOK_FD_PITCH), raw(m, TOK_PITCH) - 2.0);
  EXPECT_EQ(raw(m, TOK_AP_VERTICAL_SPEED), 2000.0);
  EXPECT_EQ(raw(m, TOK_AP_VS_HOLD), 1.0);
  fly(m, 10.0);
  EXPECT_NEAR(raw(m, TOK_BANK), -25.0, 0.01);
  EXPECT_NEAR(raw(m, TOK_FD_PITCH), raw(m, TOK_PITCH), 0.01);
  // Level at the selected altitude: altitude mode still engaged, no selected rate.
  fly(m, 180.0);
  EXPECT_DOUBLE_EQ(s.altitude_ft, 9000.0);
  EXPECT_EQ(raw(m, TOK_AP_VS_HOLD), 1.0);
  EXPECT_EQ(raw(m, TOK_AP_VERTICAL_SPEED), 0.0);
  EXPECT_EQ(raw(m, TOK_SIDESLIP), 0.0);
}

TEST(FlightMotions, TakeOffRunWithTheFlightDirectorRotatesAtTheSelectedSpeed) {
  AircraftModel m;
  auto& s = m.state();
  s.ground_elevation_ft = s.altitude_ft = 433;
  s.on_ground = true;
  s.heading_true = 360;
  s.ap_airspeed_kt = 160;
  s.ap_altitude_ft = 5000;
  s.ap_vs_fpm = 2000;
  m.refresh();
  // Without the flight director the aircraft stands.
  fly(m, 5.0);
  EXPECT_EQ(s.ias_kt, 0.0);
  s.flight_director = true;
  s.ap_heading = 360 - m.magnetic_variation();
  fly(m, 5.0);
  const double early_cue = raw(m, TOK_FD_PITCH);  // at 20 kt
  fly(m, 36.0);  // 4 kt a second at take-off thrust, the engines spooling up for the first 2 s
  EXPECT_TRUE(s.on_ground);
  EXPECT_NEAR(s.ias_kt, 156.0, 0.5);
  const double cue = raw(m, TOK_FD_PITCH);
  EXPECT_LT(cue, -8.0);  // the climb attitude, nose down positive
  EXPECT_NEAR(early_cue, cue, 0.01);  // the same attitude all along the roll
  EXPECT_EQ(raw(m, TOK_PITCH), 0.0);
  fly(m, 2.0);
  EXPECT_NEAR(raw(m, TOK_PITCH), -3.0, 0.2);  // rotating at 3 degrees a second
  fly(m, 10.0);
  EXPECT_FALSE(s.on_ground);
  EXPECT_GT(s.altitude_ft, 500.0);
  EXPECT_LT(raw(m, TOK_PITCH), -8.0);
  fly(m, 30.0);
  EXPECT_NEAR(s.vs_fpm, 2000.0, 1.0);
  // Climbing at the selected rate and speed the aircraft holds the attitude the cue
  // asked for on the ground.
  EXPECT_NEAR(raw(m, TOK_PITCH), cue, 1.5);
}

TEST(FlightMotions, FlapsMoveAtTwoDegreesASecondAndWidenThePitchLimit) {
  AircraftModel m;
  auto& s = m.state();
  s.altitude_ft = s.ap_altitude_ft = 3000;
  s.ias_kt = 160;
  m.refresh();
  // The B777 reads 349 as a pitch limit (37 - v / 25000 x 80) / 3 degrees above the
  // aircraft symbol: the margin left to the stalling angle of attack.
  auto limit = [&] { return -(37.0 - raw(m, TOK_349) / 25000.0 * 80.0) / 3.0; };
  const double clean = limit();
  EXPECT_NEAR(clean, 14.0 - m.angle_of_attack(), 1e-9);
  s.flaps_target_deg = 30;
  struct Step {
    double seconds, flaps, handle, percent;
  };
  // The handle stands in the 3/4 detent of the 30 degrees selected while the flaps run.
  const Step steps[] = {{5, 10, 10923, 25}, {5, 20, 10923, 50}, {10, 30, 10923, 75}};
  for (const Step& st : steps) {
    fly(m, st.seconds);
    EXPECT_NEAR(raw(m, TOK_FLAPS_POSITION), st.flaps, 0.01);
    EXPECT_NEAR(raw(m, TOK_FLAPS_HANDLE), st.handle, 1.0);
    EXPECT_NEAR(raw(m, TOK_FLAPS_LEFT_PERCENT), st.percent, 0.05);
    EXPECT_NEAR(raw(m, TOK_FLAPS_RIGHT_PERCENT), st.percent, 0.05);
  }
  EXPECT_NEAR(limit(), clean + 4.5, 0.01);
  s.ias_kt = 120;  // slower: more angle of attack, less margin
  EXPECT_LT(limit(), clean);
}

TEST(FlightMotions, MarkersAreHeardWithinAThirdOfAMileBeforeTheThreshold) {
  AircraftModel m;
  m.state().altitude_ft = 2000;
  tune_kpdx_10r(m);
  struct Case {
    double nm;
    int marker;
  };
  const Case cases[] = {{8.0, 0}, {4.8, 1}, {4.5, 1}, {4.1, 0}, {2.0, 0}, {0.85, 2},
                        {0.6, 2}, {0.3, 3},  {0.15, 3}, {0.05, 3}, {-0.5, 0}};
  for (const Case& c : cases) {
    place_on_final(m, c.nm);
    EXPECT_EQ(raw(m, TOK_MARKER_BEACON), c.marker) << c.nm << " nm";
  }
  // Nothing tuned: no markers, and the NAV 1 flag says no usable signal.
  m.state().nav1_mhz = 117.95;
  m.refresh();
  EXPECT_EQ(raw(m, TOK_MARKER_BEACON), 0.0);
  EXPECT_EQ(static_cast<int>(raw(m, TOK_NAV1_FLAGS)), 0x08);
}

TEST(FlightMotions, ApproachHoldCapturesTheLocalizerThenTheGlideslopeAndFliesItDown) {
  AircraftModel m;
  auto& s = m.state();
  s.altitude_ft = s.ap_altitude_ft = 2500;
  s.ground_elevation_ft = 31;
  s.ias_kt = s.ap_airspeed_kt = 150;
  s.flaps_deg = s.flaps_target_deg = 30;
  s.ap_master = true;
  tune_kpdx_10r(m);
  place_on_final(m, 15.0, 10.0);  // 10 degrees off the course line: an intercept
  s.ap_heading = LOC_COURSE + 30.0;
  s.ap_approach_hold = true;
  m.refresh();
  EXPECT_EQ(raw(m, TOK_AP_112), 1.0);
  EXPECT_EQ(raw(m, TOK_AP_LOC_HOLD), 0.0);
  EXPECT_EQ(raw(m, TOK_AP_HEADING_HOLD), 1.0);
  bool loc = false, gs_after_loc = false;
  for (int i = 0; i < 400 && !gs_after_loc; ++i) {
    fly(m, 1.0);
    if (!loc) {
      EXPECT_EQ(raw(m, TOK_AP_GLIDESLOPE_HOLD), 0.0);
    }
    loc = loc || raw(m, TOK_AP_LOC_HOLD) == 1.0;
    gs_after_loc = loc && raw(m, TOK_AP_GLIDESLOPE_HOLD) == 1.0;
  }
  ASSERT_TRUE(gs_after_loc);
  EXPECT_EQ(raw(m, TOK_AP_HEADING_HOLD), 0.0);
  EXPECT_EQ(raw(m, TOK_AP_VS_HOLD), 0.0);  // the altitude mode gives way to the glideslope
  EXPECT_EQ(raw(m, TOK_AP_VERTICAL_SPEED), 0.0);
  // Down the glideslope to 200 ft above the field, on the centre line and the path.
  std::vector<int> heard;
  while (!s.on_ground && m.radio_altitude_ft() > 200.0) {
    fly(m, 0.5);
    int marker = static_cast<int>(raw(m, TOK_MARKER_BEACON));
    if (marker != 0 && (heard.empty() || heard.back() != marker)) heard.push_back(marker);
  }
  EXPECT_EQ(heard, (std::vector<int>{1, 2}));
  EXPECT_LT(std::fabs(raw(m, TOK_NAV1_DEVIATION)), 20.0);
  EXPECT_LT(std::fabs(raw(m, TOK_GLIDESLOPE_DEVIATION)), 20.0);
  EXPECT_LT(s.vs_fpm, -500.0);
}
