// WMM-2005 magnetic declination. Contract in magnetic_model.h.
//
// Formulation: the Gauss-normalised associated Legendre functions P(n,m)(cos theta) and their
// theta-derivatives by the classic recursion, with the Schmidt semi-normalisation folded into
// the coefficients once at initialise; geodetic (WGS-84) to geocentric conversion; the field
// components in the geocentric frame rotated back into the geodetic frame; D = atan2(Y, X).
#include "geo/magnetic_model.h"

#include <cmath>

#include "geo/wmm2005_coefficients.h"

namespace {

constexpr int kN = kWmm2005MaxDegree;
constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kRefRadiusKm = 6371.2;              // geomagnetic reference radius
constexpr double kWgs84A = 6378.137;                 // semi-major axis, km
constexpr double kWgs84F = 1.0 / 298.257223563;      // flattening
constexpr double kWgs84E2 = kWgs84F * (2.0 - kWgs84F);  // first eccentricity squared
constexpr double kFeetToKm = 0.0003048;

bool g_initialised = false;
// Schmidt-scaled coefficients, indexed [n][m].
double g_g[kN + 1][kN + 1];
double g_h[kN + 1][kN + 1];
double g_gdot[kN + 1][kN + 1];
double g_hdot[kN + 1][kN + 1];
// Recursion factor K(n,m) = ((n-1)^2 - m^2) / ((2n-1)(2n-3)) for n >= 2.
double g_k[kN + 1][kN + 1];

}  // namespace

void magnetic_model_init() {
  if (g_initialised) return;

  // Schmidt factors S(n,m): P_schmidt(n,m) = S(n,m) * P_gauss(n,m).
  double s[kN + 1][kN + 1] = {};
  s[0][0] = 1.0;
  for (int n = 1; n <= kN; ++n) {
    s[n][0] = s[n - 1][0] * (2.0 * n - 1.0) / n;
    for (int m = 1; m <= n; ++m) {
      const double j = (m == 1) ? 2.0 : 1.0;
      s[n][m] = s[n][m - 1] * std::sqrt((n - m + 1.0) * j / (n + m));
    }
  }

  for (int n = 0; n <= kN; ++n) {
    for (int m = 0; m <= kN; ++m) {
      g_g[n][m] = g_h[n][m] = g_gdot[n][m] = g_hdot[n][m] = 0.0;
      g_k[n][m] = 0.0;
      if (n >= 2 && m <= n) {
        g_k[n][m] = ((n - 1.0) * (n - 1.0) - 1.0 * m * m) / ((2.0 * n - 1.0) * (2.0 * n - 3.0));
      }
    }
  }
  for (const WmmCoefficient& c : kWmm2005Coefficients) {
    if (c.n < 1 || c.n > kN || c.m < 0 || c.m > c.n) continue;
    const double f = s[c.n][c.m];
    g_g[c.n][c.m] = c.g * f;
    g_h[c.n][c.m] = c.h * f;
    g_gdot[c.n][c.m] = c.g_dot * f;
    g_hdot[c.n][c.m] = c.h_dot * f;
  }
  g_initialised = true;
}

double magnetic_declination(double lat_deg, double lon_deg, double alt_ft, double decimal_year) {
  magnetic_model_init();
  if (!std::isfinite(lat_deg)) lat_deg = 0.0;
  if (!std::isfinite(lon_deg)) lon_deg = 0.0;
  if (!std::isfinite(alt_ft)) alt_ft = 0.0;
  if (!std::isfinite(decimal_year)) decimal_year = kWmm2005Epoch;

  constexpr double kPoleLimit = 90.0 - 1e-7;
  if (lat_deg > kPoleLimit) lat_deg = kPoleLimit;
  if (lat_deg < -kPoleLimit) lat_deg = -kPoleLimit;
  const double h_km = alt_ft * kFeetToKm;
  const double dt = decimal_year - kWmm2005Epoch;

  // Geodetic -> geocentric spherical.
  const double phi = lat_deg * kDegToRad;
  const double sphi = std::sin(phi), cphi = std::cos(phi);
  const double rc = kWgs84A / std::sqrt(1.0 - kWgs84E2 * sphi * sphi);
  const double p = (rc + h_km) * cphi;
  const double z = (rc * (1.0 - kWgs84E2) + h_km) * sphi;
  double r = std::sqrt(p * p + z * z);
  if (!(r > 1.0)) r = 1.0;  // absurd altitudes: keep the sums finite
  const double phic = std::atan2(z, p);  // geocentric latitude
  const double ct = std::sin(phic);      // cos(colatitude)
  double st = std::cos(phic);            // sin(colatitude)
  if (st < 1e-12) st = 1e-12;

  const double lam = lon_deg * kDegToRad;
  double cml[kN + 1], sml[kN + 1];
  for (int m = 0; m <= kN; ++m) {
    cml[m] = std::cos(m * lam);
    sml[m] = std::sin(m * lam);
  }

  // Gauss-normalised P(n,m)(cos theta) and dP/dtheta.
  double P[kN + 1][kN + 1] = {};
  double dP[kN + 1][kN + 1] = {};
  P[0][0] = 1.0;
  dP[0][0] = 0.0;
  for (int n = 1; n <= kN; ++n) {
    for (int m = 0; m <= n; ++m) {
      if (m == n) {
        P[n][m] = st * P[n - 1][m - 1];
        dP[n][m] = st * dP[n - 1][m - 1] + ct * P[n - 1][m - 1];
      } else if (n == 1) {  // m == 0
        P[n][m] = ct * P[0][0];
        dP[n][m] = ct * dP[0][0] - st * P[0][0];
      } else {
        const double p2 = (m <= n - 2) ? P[n - 2][m] : 0.0;
        const double dp2 = (m <= n - 2) ? dP[n - 2][m] : 0.0;
        P[n][m] = ct * P[n - 1][m] - g_k[n][m] * p2;
        dP[n][m] = ct * dP[n - 1][m] - st * P[n - 1][m] - g_k[n][m] * dp2;
      }
    }
  }

  // Spherical components: br outward, bt along +theta (south), bp east.
  const double ar = kRefRadiusKm / r;
  double arn = ar * ar;  // (a/r)^(n+2) starts at n = 0
  double br = 0.0, bt = 0.0, bp = 0.0;
  for (int n = 1; n <= kN; ++n) {
    arn *= ar;
    double sr = 0.0, stt = 0.0, sp = 0.0;
    for (int m = 0; m <= n; ++m) {
      const double g = g_g[n][m] + dt * g_gdot[n][m];
      const double h = g_h[n][m] + dt * g_hdot[n][m];
      const double a = g * cml[m] + h * sml[m];
      sr += a * P[n][m];
      stt += a * dP[n][m];
      sp += m * (g * sml[m] - h * cml[m]) * P[n][m];
    }
    br += (n + 1) * arn * sr;
    bt += -arn * stt;
    bp += arn * sp;
  }
  bp /= st;

  // Geocentric north / east / down, then rotate into the geodetic frame.
  const double xc = -bt;
  const double yc = bp;
  const double zc = -br;
  const double psi = phi - phic;
  const double x = xc * std::cos(psi) + zc * std::sin(psi);
  const double y = yc;

  double d = std::atan2(y, x) * kRadToDeg;
  if (!std::isfinite(d)) d = 0.0;
  if (d <= -180.0) d += 360.0;
  return d;
}
