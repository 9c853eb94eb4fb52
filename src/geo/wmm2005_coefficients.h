// WMM-2005 coefficient table, embedded (see wmm2005_coefficients.cpp).
#pragma once

struct WmmCoefficient {
  int n;          // degree 1..12
  int m;          // order 0..n
  double g;       // main field at epoch, nT
  double h;       // main field at epoch, nT (0 for m = 0)
  double g_dot;   // secular variation, nT per year
  double h_dot;   // secular variation, nT per year
};

inline constexpr double kWmm2005Epoch = 2005.0;
inline constexpr int kWmm2005MaxDegree = 12;
inline constexpr int kWmm2005CoefficientCount = 90;  // n = 1..12, m = 0..n

extern const WmmCoefficient kWmm2005Coefficients[kWmm2005CoefficientCount];
