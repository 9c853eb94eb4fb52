// Constants and angle helpers shared by the aircraft model's flight and variable files.
#pragma once

#include <cmath>

namespace simhost {

constexpr double PI = 3.14159265358979323846;
constexpr double DEG = PI / 180.0;
constexpr double MAX_FLAPS = 40.0;
constexpr double GLIDESLOPE_DEG = 3.0;

inline double wrap360(double a) {
  if (!std::isfinite(a)) return 0.0;
  a = std::fmod(a, 360.0);
  if (a < 0.0) a += 360.0;
  return a;
}

inline double wrap180(double a) {
  a = wrap360(a);
  return a > 180.0 ? a - 360.0 : a;
}

}  // namespace simhost
