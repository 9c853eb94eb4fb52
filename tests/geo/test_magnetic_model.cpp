// Tests of the WMM-2005 declination.
// 1. Published test values: NOAA/NGDC "2006TestValues_WMM2005" (declination at 2006.0, height
//    0 km, for latitudes 80, 40, 0, -40, -80 and longitudes 0..300 east).
// 2. An independent computation written here: the coefficient file read at test time (a copy
//    of the public-domain WMM.COF in this folder), unnormalised Ferrers functions with the
//    Schmidt factor from factorials, the potential V evaluated at Cartesian (ECEF) points and
//    B = -grad V by central differences, projected on the geodetic north and east unit
//    vectors. It shares nothing with the code under test but the model's constants.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "geo/magnetic_model.h"
#include "geo/wmm2005_coefficients.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kD2R = kPi / 180.0;

struct Cof {
  int n, m;
  double g, h, gd, hd;
};

std::vector<Cof> read_cof() {
  std::vector<Cof> out;
  std::ifstream f(std::string(VEK_GEO_TEST_DIR) + "/wmm2005.cof");
  std::string line;
  std::getline(f, line);  // header: epoch, model name, date
  while (std::getline(f, line)) {
    std::istringstream is(line);
    Cof c{};
    if (!(is >> c.n >> c.m >> c.g >> c.h >> c.gd >> c.hd)) break;  // the 9999... trailer
    out.push_back(c);
  }
  return out;
}

double factorial(int k) { return std::tgamma(k + 1.0); }

// Magnetic scalar potential (nT km) at ECEF point (x, y, z) in km, decimal year t.
double potential(const std::vector<Cof>& cof, double t, double x, double y, double z) {
  const double a = 6371.2;
  const double r = std::sqrt(x * x + y * y + z * z);
  const double mu = z / r;                         // cos(colatitude)
  const double s = std::sqrt(x * x + y * y) / r;   // sin(colatitude)
  const double lam = std::atan2(y, x);
  // Unnormalised associated Legendre (Ferrers) functions, no Condon-Shortley phase.
  double P[13][13] = {};
  for (int m = 0; m <= 12; ++m) {
    double dfact = 1.0;  // (2m-1)!!
    for (int k = 2 * m - 1; k > 1; k -= 2) dfact *= k;
    P[m][m] = dfact * std::pow(s, m);
    if (m + 1 <= 12) P[m + 1][m] = mu * (2 * m + 1) * P[m][m];
    for (int n = m + 2; n <= 12; ++n)
      P[n][m] = ((2 * n - 1) * mu * P[n - 1][m] - (n + m - 1) * P[n - 2][m]) / (n - m);
  }
  const double dt = t - 2005.0;
  double v = 0.0;
  for (const Cof& c : cof) {
    const double schmidt =
        std::sqrt((c.m == 0 ? 1.0 : 2.0) * factorial(c.n - c.m) / factorial(c.n + c.m));
    const double g = c.g + dt * c.gd, h = c.h + dt * c.hd;
    v += a * std::pow(a / r, c.n + 1) * (g * std::cos(c.m * lam) + h * std::sin(c.m * lam)) *
         schmidt * P[c.n][c.m];
  }
  return v;
}

double reference_declination(const std::vector<Cof>& cof, double lat, double lon, double alt_km,
                             double t) {
  const double A = 6378.137, F = 1 / 298.257223563, E2 = F * (2 - F);
  const double phi = lat * kD2R, lam = lon * kD2R;
  const double N = A / std::sqrt(1 - E2 * std::sin(phi) * std::sin(phi));
  const double x = (N + alt_km) * std::cos(phi) * std::cos(lam);
  const double y = (N + alt_km) * std::cos(phi) * std::sin(lam);
  const double z = (N * (1 - E2) + alt_km) * std::sin(phi);
  const double h = 0.01;  // km
  const double bx = -(potential(cof, t, x + h, y, z) - potential(cof, t, x - h, y, z)) / (2 * h);
  const double by = -(potential(cof, t, x, y + h, z) - potential(cof, t, x, y - h, z)) / (2 * h);
  const double bz = -(potential(cof, t, x, y, z + h) - potential(cof, t, x, y, z - h)) / (2 * h);
  const double north = -std::sin(phi) * std::cos(lam) * bx - std::sin(phi) * std::sin(lam) * by +
                       std::cos(phi) * bz;
  const double east = -std::sin(lam) * bx + std::cos(lam) * by;
  return std::atan2(east, north) / kD2R;
}

double angle_diff(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d < -180.0) d += 360.0;
  return d;
}

}  // namespace

TEST(MagneticModel, EmbeddedTableMatchesTheCoefficientFile) {
  const std::vector<Cof> cof = read_cof();
  ASSERT_EQ(cof.size(), static_cast<size_t>(kWmm2005CoefficientCount));
  for (int i = 0; i < kWmm2005CoefficientCount; ++i) {
    const WmmCoefficient& e = kWmm2005Coefficients[i];
    EXPECT_EQ(e.n, cof[i].n);
    EXPECT_EQ(e.m, cof[i].m);
    EXPECT_EQ(e.g, cof[i].g);
    EXPECT_EQ(e.h, cof[i].h);
    EXPECT_EQ(e.g_dot, cof[i].gd);
    EXPECT_EQ(e.h_dot, cof[i].hd);
  }
}

TEST(MagneticModel, PublishedTestValues2006) {
  // NOAA/NGDC 2006 test values for WMM2005: latitude, longitude (east), declination.
  const double kat[][3] = {
      {80, 0, -7.55},    {80, 60, 35.53},   {80, 120, 0.85},     {80, 180, 9.32},
      {80, 240, 36.35},  {80, 300, -55.92}, {40, 0, -1.13},      {40, 60, 4.98},
      {40, 120, -7.27},  {40, 180, 5.85},   {40, 240, 14.93},    {40, 300, -17.98},
      {0, 0, -6.60},     {0, 60, -4.20},    {0, 120, 1.12},      {0, 180, 9.63},
      {0, 240, 9.18},    {0, 300, -14.48},  {-40, 0, -23.47},    {-40, 60, -45.20},
      {-40, 120, -3.42}, {-40, 180, 21.73}, {-40, 240, 22.43},   {-40, 300, -2.45},
      {-80, 0, -21.65},  {-80, 60, -74.13}, {-80, 120, -140.50}, {-80, 180, 131.73},
      {-80, 240, 70.50}, {-80, 300, 23.95},
  };
  for (const auto& k : kat) {
    const double d = magnetic_declination(k[0], k[1], 0.0, 2006.0);
    EXPECT_NEAR(angle_diff(d, k[2]), 0.0, 0.1) << k[0] << " " << k[1];
    // The same meridian written west-negative.
    const double dw = magnetic_declination(k[0], k[1] - 360.0, 0.0, 2006.0);
    EXPECT_NEAR(angle_diff(dw, d), 0.0, 1e-9);
  }
}

TEST(MagneticModel, AgreesWithIndependentComputation) {
  const std::vector<Cof> cof = read_cof();
  ASSERT_FALSE(cof.empty());
  struct Place {
    const char* name;
    double lat, lon;
  };
  const Place places[] = {
      {"Boulder", 40.015, -105.27},  {"London", 51.4775, -0.4614},
      {"Sydney", -33.9461, 151.1772}, {"Tokyo", 35.5494, 139.7798},
      {"Anchorage", 61.1744, -149.996}, {"Cape Town", -33.9715, 18.6021},
      {"Reykjavik", 64.13, -21.94},  {"Sao Paulo", -23.4356, -46.4731},
      {"Honolulu", 21.3187, -157.9225}, {"Singapore", 1.3644, 103.9915},
      {"Resolute", 74.7169, -94.9694}, {"McMurdo", -77.85, 166.67},
      {"Antimeridian", -17.0, 180.0}, {"Equator", 0.0, 0.0},
  };
  const double years[] = {2005.0, 2006.37, 2007.5, 2008.99, 2010.0};
  const double alts_ft[] = {0.0, 10000.0, 37000.0};
  int checked = 0;
  for (const Place& p : places) {
    for (double t : years) {
      for (double alt : alts_ft) {
        const double expected = reference_declination(cof, p.lat, p.lon, alt * 0.0003048, t);
        const double got = magnetic_declination(p.lat, p.lon, alt, t);
        EXPECT_NEAR(angle_diff(got, expected), 0.0, 0.1)
            << p.name << " " << t << " " << alt << " ft: " << got << " vs " << expected;
        EXPECT_NEAR(angle_diff(got, expected), 0.0, 1e-3) << p.name;  // in fact far closer
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, 14 * 5 * 3);
}

TEST(MagneticModel, SecularVariationMovesTheDeclination) {
  // Boulder drifted westward by roughly 0.1 degree a year over 2005-2010.
  const double d2005 = magnetic_declination(40.015, -105.27, 5400.0, 2005.0);
  const double d2010 = magnetic_declination(40.015, -105.27, 5400.0, 2010.0);
  EXPECT_GT(d2005, 9.0);
  EXPECT_LT(d2005, 10.5);
  EXPECT_LT(d2010, d2005 - 0.3);
  EXPECT_GT(d2010, d2005 - 1.0);
}

TEST(MagneticModel, InitIsIdempotentAndPolesAreFinite) {
  const double before = magnetic_declination(47.45, -122.31, 0.0, 2007.0);
  magnetic_model_init();
  magnetic_model_init();
  EXPECT_EQ(magnetic_declination(47.45, -122.31, 0.0, 2007.0), before);
  for (double lat : {-90.0, -89.9999999, 89.9999999, 90.0, 1000.0, -1000.0}) {
    for (double lon : {-180.0, 0.0, 77.0, 180.0, 1e6}) {
      const double d = magnetic_declination(lat, lon, 0.0, 2008.0);
      EXPECT_TRUE(std::isfinite(d)) << lat << " " << lon;
      EXPECT_GT(d, -180.0);
      EXPECT_LE(d, 180.0);
    }
  }
  EXPECT_TRUE(std::isfinite(magnetic_declination(10, 10, -1e9, 2008.0)));
  EXPECT_TRUE(std::isfinite(magnetic_declination(10, 10, 1e12, 2008.0)));
  EXPECT_TRUE(std::isfinite(magnetic_declination(10, 10, 0, 1e9)));
  EXPECT_TRUE(std::isfinite(magnetic_declination(NAN, NAN, NAN, NAN)));
}
