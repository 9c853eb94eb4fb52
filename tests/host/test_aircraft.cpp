// The aircraft model: numbered variables in raw units, flight under the autopilot, fuel,
// clock and radios.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "geo/magnetic_model.h"
#include "host/aircraft_model.h"
#include "tests/host/aircraft_probe.h"
#include "host/nav_stations.h"
#include "platform/host/gauge_host.h"
#include "platform/host/sim_token_ids.h"

using simhost::AircraftModel;

namespace {

using aircraft_probe::fly;
using aircraft_probe::raw;

std::string text(const AircraftModel& m, int id) {
  TokenVar t{};
  t.id = id;
  m.read_token(&t);
  return t.text ? t.text : "(null)";
}

// The module's conversions of raw values.
double deg_lon(double v) {
  double d = v / 781874935307.4;
  while (d > 180.0) d -= 360.0;
  while (d < -180.0) d += 360.0;
  return d;
}
double from_bcd(double v) {
  long long x = static_cast<long long>(v), out = 0, scale = 1;
  for (; x > 0; x >>= 4, scale *= 10) out += (x & 0xF) * scale;
  return static_cast<double>(out);
}
double nav_mhz(double v) { return from_bcd(v) / 100.0 + 100.0; }
double rankine_to_c(double v) { return (v - 491.69) * 5.0 / 9.0; }
double vor_deg(double v) {
  double d = v * 360.0 / 16384.0 + 180.0;
  return d >= 360.0 ? d - 360.0 : d;
}

double angle_diff(double a, double b) {
  double d = std::fmod(a - b + 540.0, 360.0) - 180.0;
  return std::fabs(d);
}

}  // namespace

TEST(AircraftTokens, EveryConversionRoundTripsThroughTheRawUnits) {
  AircraftModel m;
  auto& s = m.state();
  s.lat = -33.9461;
  s.lon = 151.1772;
  s.altitude_ft = 35000;
  s.ias_kt = 260;
  s.vs_fpm = -1800;
  s.heading_true = 123.4;
  s.wind_dir = 270;
  s.wind_speed_kt = 40;
  s.ground_elevation_ft = 500;
  s.altimeter_hpa = 1002.0;
  s.fuel_gallons = 4321.0;
  s.ap_heading = 250;
  s.ap_altitude_ft = 37000;
  s.ap_vs_fpm = 1500;
  s.ap_airspeed_kt = 280;
  s.ap_mach = 0.79;
  s.ap_master = true;
  s.engine_count = 4;
  m.refresh();

  EXPECT_NEAR(raw(m, TOK_LATITUDE) / 111130.555557, -33.9461, 1e-9);
  EXPECT_NEAR(deg_lon(raw(m, TOK_LONGITUDE)), 151.1772, 1e-9);
  EXPECT_NEAR(raw(m, TOK_MACH) / 65536.0 * 3.2, m.mach(), 1e-12);
  EXPECT_GT(m.mach(), 0.7);
  EXPECT_LT(m.mach(), 0.85);
  EXPECT_NEAR(raw(m, TOK_VERTICAL_SPEED) / 1.30048, -1800.0, 1e-9);
  EXPECT_NEAR(raw(m, TOK_GROUND_SPEED) / 1.68781, m.ground_speed_kt(), 1e-9);
  EXPECT_NEAR(raw(m, TOK_RADIO_ALTITUDE) * 3.2808399, 34500.0, 0.01);
  EXPECT_DOUBLE_EQ(raw(m, TOK_INDICATED_AIRSPEED), 260.0);
  // The compass (magnetic) heading; the maps turn by the true one. Sydney's variation is east.
  EXPECT_GT(m.magnetic_variation(), 5.0);
  EXPECT_NEAR(raw(m, TOK_HEADING), 123.4 - m.magnetic_variation(), 1e-9);
  EXPECT_DOUBLE_EQ(raw(m, TOK_MAP_HEADING), 123.4);
  EXPECT_DOUBLE_EQ(raw(m, TOK_ALTIMETER_HPA), 1002.0);
  EXPECT_DOUBLE_EQ(raw(m, TOK_TOTAL_FUEL), 4321.0);
  EXPECT_DOUBLE_EQ(raw(m, TOK_WIND_DIRECTION), 270.0);
  EXPECT_DOUBLE_EQ(raw(m, TOK_WIND_SPEED), 40.0);
  EXPECT_DOUBLE_EQ(raw(m, TOK_AP_HEADING), 250.0);
  EXPECT_DOUBLE_EQ(raw(m, TOK_AP_AIRSPEED), 280.0);
  EXPECT_DOUBLE_EQ(raw(m, TOK_AP_MACH), 0.79);
  EXPECT_DOUBLE_EQ(raw(m, TOK_AP_VERTICAL_SPEED), 1500.0);
  EXPECT_DOUBLE_EQ(raw(m, TOK_AP_MASTER), 1.0);
  EXPECT_DOUBLE_EQ(raw(m, TOK_FUEL_WEIGHT_PER_GALLON), 6.7);
  EXPECT_NEAR(raw(m, TOK_BARBER_POLE) / 128.0, std::min(340.0, simhost::ias_for_mach(0.82, 35000)), 1e-9);
  EXPECT_NEAR(raw(m, TOK_SAT), -54.3, 0.1);  // standard day at 35000 ft
  EXPECT_GT(raw(m, TOK_TOTAL_AIR_TEMP) / 256.0, raw(m, TOK_SAT));
  // Indicated altitude follows the altimeter setting (27.3 ft per hPa).
  double ind = 0.0;
  ASSERT_TRUE(m.calculator_code("(A:INDICATED ALTITUDE, feet)", &ind));
  EXPECT_NEAR(ind, 35000.0 + (1002.0 - 1013.25) * 27.3, 1e-9);

  // Engines, in the units the module converts from.
  const int n1[] = {TOK_ENG1_N1, TOK_ENG2_N1, TOK_ENG3_N1, TOK_ENG4_N1};
  const int n2[] = {TOK_ENG1_N2, TOK_ENG2_N2, TOK_ENG3_N2, TOK_ENG4_N2};
  const int egt[] = {TOK_ENG1_EGT, TOK_ENG2_EGT, TOK_ENG3_EGT, TOK_ENG4_EGT};
  const int oilt[] = {TOK_ENG1_OIL_TEMP, TOK_ENG2_OIL_TEMP, TOK_ENG3_OIL_TEMP, TOK_ENG4_OIL_TEMP};
  const int oilp[] = {TOK_ENG1_OIL_PRESSURE, TOK_ENG2_OIL_PRESSURE, TOK_ENG3_OIL_PRESSURE, TOK_ENG4_OIL_PRESSURE};
  const int oilq[] = {TOK_ENG1_OIL_QUANTITY, TOK_ENG2_OIL_QUANTITY, TOK_ENG3_OIL_QUANTITY, TOK_ENG4_OIL_QUANTITY};
  const int ff[] = {TOK_ENG1_FUEL_FLOW, TOK_ENG2_FUEL_FLOW, TOK_ENG3_FUEL_FLOW, TOK_ENG4_FUEL_FLOW};
  const int ffalt[] = {TOK_ENG1_FUEL_FLOW_ALT, TOK_ENG2_FUEL_FLOW_ALT, TOK_ENG3_FUEL_FLOW_ALT, TOK_ENG4_FUEL_FLOW_ALT};
  for (int i = 0; i < 4; ++i) {
    const simhost::EngineState& e = s.engines[i];
    EXPECT_GT(e.n1, 20.0) << i;
    EXPECT_DOUBLE_EQ(raw(m, n1[i]), e.n1);
    EXPECT_DOUBLE_EQ(raw(m, n2[i]), e.n2);
    EXPECT_NEAR(rankine_to_c(raw(m, egt[i])), e.egt_c, 0.02);
    EXPECT_NEAR(rankine_to_c(raw(m, oilt[i])), e.oil_temp_c, 0.02);
    EXPECT_NEAR(raw(m, oilp[i]) / 144.0, e.oil_pressure_psi, 1e-9);
    EXPECT_NEAR(raw(m, oilq[i]) * 30.0 / 16384.0, e.oil_quarts, 0.002);
    EXPECT_GT(raw(m, ff[i]), 0.0);
    EXPECT_DOUBLE_EQ(raw(m, ffalt[i]), raw(m, ff[i]));
  }

  // Radios: frequencies as packed decimal digits.
  s.nav1_mhz = 110.30;
  s.nav2_mhz = 116.80;
  s.adf_khz = 350;
  EXPECT_EQ(raw(m, TOK_NAV1_FREQ), 0x1030);
  EXPECT_NEAR(nav_mhz(raw(m, TOK_NAV1_FREQ)), 110.30, 1e-9);
  EXPECT_NEAR(nav_mhz(raw(m, TOK_NAV2_FREQ)), 116.80, 1e-9);
  EXPECT_EQ(raw(m, TOK_ADF_FREQ), 0x350);
  // Nothing received without a station: texts are empty, signals 0.
  EXPECT_EQ(text(m, TOK_NAV1_IDENT), "");
  EXPECT_EQ(text(m, TOK_NAV2_IDENT), "");
  EXPECT_EQ(text(m, TOK_ADF_IDENT), "");
  EXPECT_EQ(raw(m, TOK_NAV1_SIGNAL), 0.0);
  EXPECT_EQ(raw(m, TOK_ADF_SIGNAL), 0.0);
  // Unknown ids read 0.
  EXPECT_EQ(raw(m, 9999), 0.0);
}

TEST(AircraftTokens, ClockAndDateFollowZuluWithALocalOffsetByLongitude) {
  AircraftModel m;
  ASSERT_TRUE(m.set_date(2008, 366));  // leap year
  ASSERT_TRUE(m.set_zulu_time(23, 59, 30));
  m.state().lon = 151.0;  // local = zulu + 10 h
  EXPECT_EQ(raw(m, TOK_ZULU_HOUR), 23);
  EXPECT_EQ(raw(m, TOK_ZULU_MINUTE), 59);
  EXPECT_EQ(raw(m, TOK_ZULU_SECOND), 30);
  EXPECT_EQ(raw(m, TOK_LOCAL_HOUR), 9);
  EXPECT_EQ(raw(m, TOK_LOCAL_DAY_OF_YEAR), 1);
  m.step(45.0);
  EXPECT_EQ(raw(m, TOK_ZULU_YEAR), 2009);
  EXPECT_EQ(raw(m, TOK_ZULU_DAY_OF_YEAR), 1);
  EXPECT_EQ(raw(m, TOK_ZULU_HOUR), 0);
  EXPECT_EQ(raw(m, TOK_ZULU_MINUTE), 0);
  EXPECT_EQ(raw(m, TOK_ZULU_SECOND), 15);
  // Never minute 60 or hour 24 at the last fraction of a day.
  ASSERT_TRUE(m.set_zulu_time(23, 59, 59));
  m.step(0.999);
  EXPECT_EQ(raw(m, TOK_ZULU_HOUR), 23);
  EXPECT_EQ(raw(m, TOK_ZULU_MINUTE), 59);
  EXPECT_EQ(raw(m, TOK_ZULU_SECOND), 59);

  EXPECT_FALSE(m.set_date(2007, 366));
  EXPECT_FALSE(m.set_date(2100, 366));  // not a leap year
  EXPECT_TRUE(m.set_date(2000, 366));
  EXPECT_FALSE(m.set_zulu_time(24, 0));
  EXPECT_FALSE(m.set_zulu_time(0, 60));
}

// The heading a gauge reads follows the variation where and when the aircraft is, read
// after read, whatever changed since the last read.
TEST(AircraftTokens, MagneticHeadingFollowsEachChangeOfPositionAltitudeAndDate) {
  struct Step {
    const char* what;
    void (*change)(AircraftModel&);
  };
  const Step steps[] = {
      {"Sydney", [](AircraftModel& m) { m.state().lat = -33.9461, m.state().lon = 151.1772; }},
      {"read again", [](AircraftModel&) {}},
      {"Portland", [](AircraftModel& m) { m.state().lat = 45.5887, m.state().lon = -122.5975; }},
      {"climbed", [](AircraftModel& m) { m.state().altitude_ft = 41000; }},
      {"five years on", [](AircraftModel& m) { ASSERT_TRUE(m.set_date(2012, 100)); }},
      {"an hour on", [](AircraftModel& m) { m.step(3600.0); }},
      {"the prime meridian", [](AircraftModel& m) { m.state().lat = 51.5, m.state().lon = 0.0; }},
      {"its other side", [](AircraftModel& m) { m.state().lon = -0.0; }},
  };
  AircraftModel m;
  m.state().heading_true = 200.0;
  ASSERT_TRUE(m.set_date(2007, 60));
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change(m);
    const auto& s = m.state();
    const double magvar = magnetic_declination(s.lat, s.lon, s.altitude_ft, m.decimal_year());
    EXPECT_EQ(m.magnetic_variation(), magvar);
    EXPECT_NEAR(raw(m, TOK_HEADING), 200.0 - magvar, 1e-9);
  }
}

TEST(AircraftFlight, AutopilotTurnsAtStandardRateWithinTheBankLimit) {
  AircraftModel m;
  auto& s = m.state();
  s.lat = 0.0;
  s.lon = 10.0;
  s.altitude_ft = 3000;
  s.ap_altitude_ft = 3000;
  s.heading_true = 0;
  s.ias_kt = 140;  // slow: standard rate needs less than 25 degrees of bank
  s.ap_master = true;
  m.refresh();
  double magvar = m.magnetic_variation();
  ASSERT_TRUE(m.apply_key_event(KEY_AP_HEADING_SET, 90));
  fly(m, 10.0);
  // Standard rate once rolled in at 5 degrees a second: about 4 s of roll-in lost.
  EXPECT_GT(s.heading_true, 22.0);
  EXPECT_LT(s.heading_true, 26.0);
  EXPECT_GT(s.bank_deg, 10.0);
  EXPECT_LE(s.bank_deg, 25.0);
  fly(m, 60.0);
  // The variation changes as the aircraft flies east.
  EXPECT_NEAR(m.magnetic_variation(), magvar, 0.5);
  EXPECT_LT(angle_diff(s.heading_true, 90.0 + m.magnetic_variation()), 0.01);
  EXPECT_NEAR(s.bank_deg, 0.0, 0.1);

  // Fast: the bank limit slows the turn below 3 degrees a second; a left turn banks left.
  s.ias_kt = 300;
  m.apply_key_event(KEY_AP_HEADING_SET, 0);
  double before = s.heading_true;
  fly(m, 10.0);
  double turned = angle_diff(before, s.heading_true);
  EXPECT_GT(turned, 10.0);
  EXPECT_LT(turned, 25.0);
  EXPECT_NEAR(s.bank_deg, -25.0, 0.01);

  // With the master off it rolls the wings level and then keeps its heading.
  s.ap_master = false;
  fly(m, 5.0);
  EXPECT_DOUBLE_EQ(s.bank_deg, 0.0);
  before = s.heading_true;
  fly(m, 5.0);
  EXPECT_DOUBLE_EQ(s.heading_true, before);
}

TEST(AircraftFlight, ClimbsAtTheSelectedRateCapturesAndDescends) {
  AircraftModel m;
  auto& s = m.state();
  s.altitude_ft = 5000;
  s.ap_altitude_ft = 5000;
  s.ias_kt = 250;
  s.ap_master = true;
  m.apply_key_event(KEY_AP_ALTITUDE_SET, 8000);
  m.apply_key_event(KEY_AP_VS_SET, 1200);
  fly(m, 60.0);
  // The rate builds up at 400 ft/min a second: 1.5 s of climb lost.
  EXPECT_NEAR(s.altitude_ft, 6170.0, 1.0);
  EXPECT_NEAR(raw(m, TOK_VERTICAL_SPEED) / 1.30048, 1200.0, 1e-6);
  EXPECT_GT(s.pitch_deg, 2.5);
  fly(m, 150.0);
  EXPECT_DOUBLE_EQ(s.altitude_ft, 8000.0);
  EXPECT_EQ(s.vs_fpm, 0.0);
  // A negative rate is taken as its size toward the selected altitude.
  m.apply_key_event(KEY_AP_ALTITUDE_SET, 7000);
  m.apply_key_event(KEY_AP_VS_SET, -2000);
  fly(m, 15.0);
  EXPECT_NEAR(s.altitude_ft, 7583.0, 2.0);
  fly(m, 60.0);
  EXPECT_DOUBLE_EQ(s.altitude_ft, 7000.0);
  // Out-of-range requests are refused and change nothing.
  EXPECT_FALSE(m.apply_key_event(KEY_AP_ALTITUDE_SET, 500000));
  EXPECT_FALSE(m.apply_key_event(KEY_AP_VS_SET, 99999));
  EXPECT_DOUBLE_EQ(s.ap_altitude_ft, 7000.0);
}

TEST(AircraftFlight, AcceleratesToTheSelectedSpeedThenHoldsMach) {
  AircraftModel m;
  auto& s = m.state();
  s.altitude_ft = 31000;
  s.ap_altitude_ft = 31000;
  s.ias_kt = 250;
  s.ap_master = true;
  m.apply_key_event(KEY_AP_AIRSPEED_SET, 280);
  fly(m, 10.0);
  EXPECT_NEAR(s.ias_kt, 270.0, 0.1);
  fly(m, 10.0);
  EXPECT_DOUBLE_EQ(s.ias_kt, 280.0);

  // Top of climb: airspeed hold gives way to Mach hold, then the Mach is set.
  m.apply_key_event(KEY_AP_MACH_HOLD_A, 0);
  EXPECT_FALSE(s.ap_airspeed_hold);
  m.apply_key_event(KEY_AP_MACH_HOLD_B, 0);
  EXPECT_TRUE(s.ap_mach_hold);
  EXPECT_NEAR(s.ap_mach, std::round(m.mach() * 100) / 100, 1e-12);
  m.apply_key_event(KEY_AP_MACH_SET, 80);
  fly(m, 120.0);
  EXPECT_NEAR(m.mach(), 0.80, 0.001);
  EXPECT_NEAR(raw(m, TOK_AP_MACH_HOLD), 1.0, 0);
  // Mach held while descending means a rising airspeed.
  double ias = s.ias_kt;
  m.apply_key_event(KEY_AP_ALTITUDE_SET, 27000);
  m.apply_key_event(KEY_AP_VS_SET, 2000);
  fly(m, 60.0);
  EXPECT_GT(s.ias_kt, ias + 10.0);

  // Top of descent: Mach hold gives way to airspeed hold at the present speed.
  m.apply_key_event(KEY_AP_SPEED_HOLD_A, 0);
  m.apply_key_event(KEY_AP_SPEED_HOLD_B, 0);
  EXPECT_FALSE(s.ap_mach_hold);
  EXPECT_TRUE(s.ap_airspeed_hold);
  EXPECT_DOUBLE_EQ(s.ap_airspeed_kt, std::round(s.ias_kt));
  m.apply_key_event(KEY_AP_AIRSPEED_SET, 250);
  // Master off and airspeed hold off: the speed stays.
  m.apply_key_event(KEY_AP_AIRSPEED_HOLD_OFF, 0);
  ias = s.ias_kt;
  fly(m, 10.0);
  EXPECT_DOUBLE_EQ(s.ias_kt, ias);
}

TEST(AircraftFlight, WindDriftsTheTrackAndFuelBurnsWithTheFlow) {
  AircraftModel m;
  auto& s = m.state();
  s.lat = 45.0;
  s.lon = 0.0;
  s.altitude_ft = 10000;
  s.ap_altitude_ft = 10000;
  s.ias_kt = 250;
  s.heading_true = 0.0;
  s.wind_dir = 270.0;  // from the west
  s.wind_speed_kt = 50.0;
  s.fuel_gallons = 3000.0;
  m.refresh();
  double tas = m.true_airspeed();
  EXPECT_NEAR(m.ground_track_true(), std::atan2(50.0, tas) * 180.0 / M_PI, 1e-6);
  EXPECT_NEAR(m.ground_speed_kt(), std::hypot(tas, 50.0), 1e-6);

  double flow = 0.0;
  for (const auto& e : s.engines) flow += e.fuel_flow_pph;
  fly(m, 600.0);
  // Ten minutes: north and east of the start by the ground speed.
  double north_nm = (s.lat - 45.0) * 60.0;
  EXPECT_NEAR(north_nm, tas * 600.0 / 3600.0, 0.5);
  EXPECT_GT(s.lon, 0.15);
  double burnt = 3000.0 - s.fuel_gallons;
  EXPECT_NEAR(burnt, flow / 6.7 / 6.0, burnt * 0.05);
  EXPECT_NEAR(s.zulu_seconds, 12 * 3600.0 + 600.0, 1e-6);

  // Empty tanks: the engines stop and nothing more burns.
  m.set_fuel_gallons(0.001);
  fly(m, 60.0);
  EXPECT_EQ(s.fuel_gallons, 0.0);
  EXPECT_LT(s.engines[0].n1, 1.0);
  EXPECT_EQ(raw(m, TOK_ENG1_FUEL_FLOW), 0.0);
}

TEST(AircraftFlight, DescentIntoTheGroundLandsAtTheElevation) {
  AircraftModel m;
  auto& s = m.state();
  s.altitude_ft = 1000;
  s.ground_elevation_ft = 400;
  s.ias_kt = 150;
  s.vs_fpm = -1000;
  m.refresh();
  EXPECT_NEAR(m.radio_altitude_ft(), 600.0, 1e-9);
  fly(m, 60.0);
  EXPECT_TRUE(s.on_ground);
  EXPECT_DOUBLE_EQ(s.altitude_ft, 400.0);
  EXPECT_EQ(raw(m, TOK_ON_GROUND), 1.0);
  EXPECT_EQ(raw(m, TOK_RADIO_ALTITUDE), 0.0);
  EXPECT_EQ(raw(m, TOK_GEAR_NOSE), 16383.0);
  // The autopilot does not fly it off the ground.
  s.ap_master = true;
  m.apply_key_event(KEY_AP_ALTITUDE_SET, 5000);
  fly(m, 10.0);
  EXPECT_DOUBLE_EQ(s.altitude_ft, 400.0);
  // Put on the ground from the air, it sits at the elevation.
  s.on_ground = false;
  s.altitude_ft = 3000.0;
  s.ground_elevation_ft = 100.0;
  s.on_ground = true;
  m.refresh();
  EXPECT_DOUBLE_EQ(s.altitude_ft, 100.0);
}

TEST(AircraftEvents, PauseRateBarometerAndCourse) {
  AircraftModel m;
  auto& s = m.state();
  EXPECT_TRUE(m.apply_key_event(KEY_PAUSE_TOGGLE, 0));
  EXPECT_TRUE(s.paused);
  m.apply_key_event(KEY_PAUSE_TOGGLE, 0);
  EXPECT_FALSE(s.paused);
  ASSERT_TRUE(m.set_sim_rate(8.0));
  m.apply_key_event(KEY_SIM_RATE_DECREASE, 0);
  EXPECT_EQ(raw(m, TOK_SIM_RATE), 4.0);
  m.apply_key_event(KEY_SIM_RATE_DECREASE, 0);
  m.apply_key_event(KEY_SIM_RATE_DECREASE, 0);
  m.apply_key_event(KEY_SIM_RATE_DECREASE, 0);
  EXPECT_EQ(s.sim_rate, 1.0);
  ASSERT_TRUE(m.set_sim_rate(0.25));
  m.apply_key_event(KEY_SIM_RATE_DECREASE, 0);
  EXPECT_EQ(s.sim_rate, 0.5);
  EXPECT_FALSE(m.set_sim_rate(0.0));
  EXPECT_FALSE(m.set_sim_rate(NAN));

  s.altimeter_hpa = 995.0;
  s.sea_level_hpa = 1021.0;
  m.apply_key_event(KEY_BAROMETRIC, 0);
  EXPECT_EQ(raw(m, TOK_ALTIMETER_HPA), 1021.0);
  m.apply_key_event(KEY_VOR1_OBS_SET, 370);
  EXPECT_EQ(raw(m, TOK_NAV1_COURSE), 10.0);
  m.apply_key_event(KEY_AP_HEADING_SET, 360);
  EXPECT_EQ(raw(m, TOK_AP_HEADING), 0.0);
  m.apply_key_event(KEY_AP_HEADING_HOLD_ON, 0);
  EXPECT_EQ(raw(m, TOK_AP_HEADING_HOLD), 1.0);
}

TEST(AircraftRadios, TunedStationsGiveSignalIdentDistanceAndBearing) {
  AircraftModel m;
  auto& s = m.state();
  s.lat = 47.0;
  s.lon = -122.0;
  s.heading_true = 0.0;
  // One VOR 60 nm due north on 116.80, one NDB on 350 kHz due east.
  m.set_station_resolver([](simhost::RadioKind kind, double f, double, double, simhost::RadioStation* out) {
    if (kind == simhost::RadioKind::Nav && std::fabs(f - 116.80) < 0.001) {
      out->ident = "SEA";
      out->lat = 48.0;
      out->lon = -122.0;
      return true;
    }
    if (kind == simhost::RadioKind::Adf && f == 350.0) {
      out->ident = "NB";
      out->lat = 47.0;
      out->lon = -121.0;
      return true;
    }
    return false;
  });
  EXPECT_TRUE(m.apply_key_event(KEY_NAV1_RADIO_SET, 0x1680));
  EXPECT_EQ(text(m, TOK_NAV1_IDENT), "SEA");
  EXPECT_EQ(raw(m, TOK_NAV1_SIGNAL), 1.0);
  EXPECT_NEAR(raw(m, TOK_DME1_DISTANCE), 60.0, 0.1);
  // Radial: due south of the station, less the variation.
  EXPECT_NEAR(vor_deg(raw(m, TOK_VOR1_BEARING)), std::fmod(180.0 - m.magnetic_variation() + 360.0, 360.0), 0.02);
  EXPECT_EQ(raw(m, TOK_NAV_REL_BEARING), 0.0);
  s.nav2_mhz = 116.80;  // NAV 2 on the same station: its bearing and DME as NAV 1's
  m.refresh();
  EXPECT_EQ(raw(m, TOK_NAV59), raw(m, TOK_NAV_REL_BEARING));
  EXPECT_NEAR(raw(m, TOK_NAV35), 60.0, 0.1);
  EXPECT_FALSE(m.apply_key_event(KEY_NAV1_RADIO_SET, 0x10000));  // 100.00: out of band
  EXPECT_FALSE(m.apply_key_event(KEY_NAV1_RADIO_SET, 0x16A0));  // not decimal
  EXPECT_NEAR(s.nav1_mhz, 116.80, 1e-9);
  // The five-digit form with the leading 1 tunes the same.
  EXPECT_TRUE(m.apply_key_event(KEY_NAV1_RADIO_SET, 0x11030));
  EXPECT_NEAR(s.nav1_mhz, 110.30, 1e-9);
  EXPECT_EQ(raw(m, TOK_NAV1_SIGNAL), 0.0);
  EXPECT_EQ(text(m, TOK_NAV1_IDENT), "");

  EXPECT_TRUE(m.apply_key_event(KEY_ADF_SET, 0x350));
  EXPECT_EQ(text(m, TOK_ADF_IDENT), "NB");
  EXPECT_NEAR(raw(m, TOK_ADF_BEARING), 90.0, 1.0);
  EXPECT_GT(raw(m, TOK_ADF_SIGNAL), 0.0);
  EXPECT_FALSE(m.apply_key_event(KEY_ADF_SET, 0x5));  // below the band
  // Out of range: nothing received.
  s.lat = 40.0;
  m.refresh();
  EXPECT_EQ(raw(m, TOK_ADF_SIGNAL), 0.0);
}

TEST(AircraftRadios, StationsOfTheSampleNavigationDataAreReceived) {
  std::vector<simhost::NavStationEntry> stations;
  int n = simhost::load_nav_stations(SAMPLE_SIM_DIR, &stations);
  ASSERT_GT(n, 10);
  AircraftModel m;
  auto& s = m.state();
  s.lat = 47.75;  // about 19 nm north of SEA
  s.lon = -122.309614;
  s.heading_true = 180.0;
  s.altitude_ft = 3000.0;
  m.set_station_resolver(simhost::make_station_resolver(stations));
  ASSERT_TRUE(m.apply_key_event(KEY_NAV1_RADIO_SET, 0x1680));  // 116.80
  EXPECT_EQ(text(m, TOK_NAV1_IDENT), "SEA");
  EXPECT_NEAR(raw(m, TOK_DME1_DISTANCE), (47.75 - 47.435372) * 60.0, 0.1);
  EXPECT_EQ(static_cast<int>(raw(m, TOK_NAV1_FLAGS)) & 0xC0, 0);  // a VOR
  // Course 360 from the station, slightly east of it: the course lies to the left (FROM).
  m.apply_key_event(KEY_VOR1_OBS_SET, static_cast<int>(std::lround(m.magnetic_variation() >= 0 ? 360 - m.magnetic_variation() : -m.magnetic_variation())));
  s.lon += 0.05;
  m.refresh();
  EXPECT_LT(raw(m, TOK_NAV1_DEVIATION), -20.0);
  EXPECT_EQ(static_cast<int>(raw(m, TOK_NAV1_FLAGS)) & 0x08, 0);
  s.lon -= 0.05;

  // On the extended centre line of runway 16L: its localizer with a glideslope.
  s.lat = 47.463767 + 5.0 / 60.0;
  s.lon = -122.307869 + (5.0 / 60.0) * std::tan((163.6 + m.magnetic_variation() - 180.0) * M_PI / 180.0) /
                            std::cos(47.5 * M_PI / 180.0);
  ASSERT_TRUE(m.apply_key_event(KEY_NAV1_RADIO_SET, 0x1170));  // 111.70
  EXPECT_EQ(text(m, TOK_NAV1_IDENT), "ISEA");
  EXPECT_EQ(static_cast<int>(raw(m, TOK_NAV1_FLAGS)) & 0xC0, 0xC0);
  EXPECT_LT(std::fabs(raw(m, TOK_NAV1_DEVIATION)), 10.0);
  EXPECT_EQ(raw(m, TOK_GLIDESLOPE_GATE), 1.0);
  // East of the centre line while flying it south: the course lies to the right.
  s.lon += 0.01;
  m.refresh();
  EXPECT_GT(raw(m, TOK_NAV1_DEVIATION), 30.0);

  ASSERT_TRUE(m.apply_key_event(KEY_ADF_SET, 0x362));
  EXPECT_EQ(text(m, TOK_ADF_IDENT), "BF");
  // Far away: nothing.
  s.lat = 40.0;
  m.refresh();
  EXPECT_EQ(raw(m, TOK_NAV1_SIGNAL), 0.0);
  EXPECT_EQ(raw(m, TOK_ADF_SIGNAL), 0.0);
}

TEST(AircraftRadios, StationFilesAreFoundWithoutRegardToCaseAndBadLinesSkipped) {
  char tmpl[] = "/tmp/vek_navs_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  std::string dir = std::string(tmpl) + "/VEK/NavData";
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/NAVS.TXT") << ";AIRAC cycle : 1 2 - 3\n"
                                      "AAA V 10.0 20.0 114.50 GOOD\n"
                                      "BBB V 95.0 20.0 114.60 BAD LATITUDE\n"
                                      "CCC X 10.0 20.0 114.70 BAD TYPE\n"
                                      "DDD V 10.0 20.0 11x.80 BAD FREQUENCY\n"
                                      "EEE N 10.0 20.0\n";
  std::vector<simhost::NavStationEntry> stations;
  EXPECT_EQ(simhost::load_nav_stations(tmpl, &stations), 1);
  EXPECT_EQ(stations[0].station.ident, "AAA");
  EXPECT_EQ(simhost::load_nav_stations("/nonexistent", &stations), 0);
  std::error_code ec;
  std::filesystem::remove_all(tmpl, ec);
}

// Station files read as the module reads them: any line end, a byte-order mark skipped;
// a file of more stations than a database holds keeps the first nav_station_limit, and the
// tuned station is still the one in reach.
TEST(AircraftRadios, StationFilesWithEveryLineEndAndTheirBound) {
  struct Row {
    const char* what;
    std::string text;
    int stations;
  };
  std::string many;
  for (size_t i = 0; i < simhost::nav_station_limit + 100; ++i) many += "FAR V -60.0 20.0 114.50 FAR\n";
  const Row rows[] = {
      {"LF", "AAA V 10.0 20.0 114.50 A\nBBB N 10.5 20.5 350 B\n", 2},
      {"CR LF", "AAA V 10.0 20.0 114.50 A\r\nBBB N 10.5 20.5 350 B\r\n", 2},
      {"lone CR", "AAA V 10.0 20.0 114.50 A\rBBB N 10.5 20.5 350 B\r", 2},
      {"byte-order mark and lone CR", "\xEF\xBB\xBF" "AAA V 10.0 20.0 114.50 A\r\rBBB N 10.5 20.5 350 B", 2},
      {"more stations than a database", "AAA V 10.0 20.0 114.50 A\n" + many,
       static_cast<int>(simhost::nav_station_limit)},
  };
  for (const Row& row : rows) {
    char tmpl[] = "/tmp/vek_navs_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = std::string(tmpl) + "/vek/navdata";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/navs.txt", std::ios::binary) << row.text;
    std::vector<simhost::NavStationEntry> stations;
    EXPECT_EQ(simhost::load_nav_stations(tmpl, &stations), row.stations) << row.what;
    simhost::StationResolver resolve = simhost::make_station_resolver(stations);
    simhost::RadioStation station;
    ASSERT_TRUE(resolve(simhost::RadioKind::Nav, 114.50, 10.2, 20.1, &station)) << row.what;
    EXPECT_EQ(station.ident, "AAA") << row.what;
    EXPECT_FALSE(resolve(simhost::RadioKind::Nav, 114.60, 10.2, 20.1, &station)) << row.what;
    if (row.stations == 2) {
      ASSERT_TRUE(resolve(simhost::RadioKind::Adf, 350.0, 10.2, 20.1, &station)) << row.what;
      EXPECT_EQ(station.ident, "BBB") << row.what;
    }
    std::error_code ec;
    std::filesystem::remove_all(tmpl, ec);
  }
}

// A FIFO, a device or a folder in place of a station file is never read: the start goes on
// with the other files.
TEST(AircraftRadios, StationFilesThatAreNoRegularFilesAreNotRead) {
  for (const std::string kind : {"fifo", "link to /dev/zero", "link to /dev/urandom", "folder"}) {
    char tmpl[] = "/tmp/vek_navs_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = std::string(tmpl) + "/vek/navdata";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/navs_user.txt") << "AAA V 10.0 20.0 114.50 GOOD\n";
    std::string path = dir + "/navs.txt";
    if (kind == "fifo") ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    else if (kind == "folder") std::filesystem::create_directory(path);
    else std::filesystem::create_symlink(kind.substr(8), path);
    std::vector<simhost::NavStationEntry> stations;
    EXPECT_EQ(simhost::load_nav_stations(tmpl, &stations), 1) << kind;
    std::error_code ec;
    std::filesystem::remove_all(tmpl, ec);
  }
}
