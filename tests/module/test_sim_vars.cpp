#include <cmath>

#include "geo/magnetic_model.h"
#include "module/sim_vars.h"
#include "tests/common/module_fixture.h"

namespace {

using SimVars = ModuleTest;

TEST_F(SimVars, PositionRoundTripsThroughTheHostsRawUnits) {
  start({{"SERVER", ""}});
  auto& s = host_.aircraft().state();
  for (auto [lat, lon] : {std::pair{47.4502, -122.3088}, {-33.9461, 151.1772}, {0.0, 179.9}, {12.5, -179.95}}) {
    s.lat = lat;
    s.lon = lon;
    EXPECT_NEAR(get_latitude_deg(), lat, 1e-9);
    EXPECT_NEAR(get_longitude_deg(), lon, 1e-9);
  }
}

TEST_F(SimVars, AirDataAndEnginesConvertToPilotUnits) {
  start({{"SERVER", ""}});
  auto& s = host_.aircraft().state();
  s.on_ground = false;
  s.altitude_ft = 12000;
  s.ias_kt = 280;
  s.vs_fpm = -1800;
  s.heading_true = 93.5;
  s.wind_speed_kt = 0;
  host_.run_frames(1);
  EXPECT_NEAR(get_vertical_speed_fpm(), host_.aircraft().state().vs_fpm, 0.01);
  EXPECT_NEAR(get_ground_speed_kt(), host_.aircraft().ground_speed_kt(), 0.01);
  EXPECT_NEAR(get_mach(), host_.aircraft().mach(), 1e-3);
  EXPECT_NEAR(get_heading_deg(), host_.aircraft().state().heading_true - host_.aircraft().magnetic_variation(), 1e-4);
  EXPECT_NEAR(get_map_heading_deg(), host_.aircraft().state().heading_true, 1e-4);
  EXPECT_NEAR(get_radio_altitude_ft(), host_.aircraft().radio_altitude_ft(), 0.01);
  EXPECT_NEAR(get_indicated_altitude_ft(), host_.aircraft().indicated_altitude_ft(), 0.01);
  EXPECT_NEAR(get_magvar_deg(), host_.aircraft().magnetic_variation(), 1e-9);
  for (int e = 1; e <= 2; ++e) {
    const auto& eng = host_.aircraft().state().engines[e - 1];
    // The module's Rankine offset is 491.69, the host's 491.67.
    EXPECT_NEAR(get_eng_egt_celsius(e), eng.egt_c, 0.02);
    EXPECT_NEAR(get_eng_oil_temp_celsius(e), eng.oil_temp_c, 0.02);
    EXPECT_NEAR(get_eng_oil_pressure_psi(e), eng.oil_pressure_psi, 1e-6);
    EXPECT_NEAR(get_eng_oil_quantity(e), eng.oil_quarts, 1e-3);
    EXPECT_NEAR(get_eng_fuel_flow(e), eng.fuel_flow_pph, 1e-6);
  }
  EXPECT_EQ(get_eng_egt_celsius(0), 0.0);
  EXPECT_EQ(get_eng_fuel_flow(5), 0.0);
}

TEST_F(SimVars, RadioFrequenciesDecodeFromPackedDecimal) {
  start({{"SERVER", ""}});
  auto& s = host_.aircraft().state();
  s.nav1_mhz = 110.30;
  s.nav2_mhz = 117.95;
  s.adf_khz = 362;
  EXPECT_NEAR(get_nav1_frequency_mhz(), 110.30, 1e-9);
  EXPECT_NEAR(get_nav2_frequency_mhz(), 117.95, 1e-9);
  EXPECT_NEAR(get_adf_frequency_khz(), 362, 1e-9);
}

TEST_F(SimVars, MagneticVariationComesFromTheMagneticModel) {
  start({{"SERVER", ""}});
  auto& s = host_.aircraft().state();
  s.lat = 47.45;
  s.lon = -122.31;
  s.altitude_ft = 0;
  s.year = 2007;
  s.day_of_year = 183;
  double expected = magnetic_declination(47.45, -122.31, 0, host_.aircraft().decimal_year());
  EXPECT_NEAR(get_magvar_deg(), expected, 1e-9);
  EXPECT_GT(get_magvar_deg(), 17.0);  // easterly variation in the Pacific Northwest
  EXPECT_LT(get_magvar_deg(), 19.0);
  s.lat = 40.64;
  s.lon = -73.78;
  EXPECT_LT(get_magvar_deg(), -12.0);  // westerly on the east coast
}

TEST_F(SimVars, SmoothedAirspeedAndTrend) {
  start({{"SERVER", ""}});
  host_.aircraft().state().ias_kt = 200;
  EXPECT_DOUBLE_EQ(smooth_module_var(), 60.0);
  EXPECT_DOUBLE_EQ(smooth_module_var(), 60.0 + 0.3 * 200 - 0.3 * 60.0);
  // A steady speed gives a history whose trend falls to zero.
  for (int i = 0; i < 200; ++i) update_trend_history();
  EXPECT_NEAR(speed_trend, 0.0, 1e-9);
  EXPECT_NEAR(speed_history[0], 200.0, 1e-6);
}

TEST(SimVarsWithoutHost, ReadZeroAndEmptyText) {
  EXPECT_EQ(get_indicated_airspeed(), 0.0);
  EXPECT_STREQ(get_nav1_ident(), "");
  EXPECT_EQ(get_indicated_altitude_ft(), 0.0);
}

}  // namespace
