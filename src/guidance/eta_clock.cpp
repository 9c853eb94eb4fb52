#include "guidance/eta_clock.h"

#include <cmath>

#include "guidance/fms_state.h"

void eta_clock(double start_hour, double start_minute, double add_hours, double add_minutes, int32_t& hour,
               int32_t& minute) {
  double total = std::floor(finite_or(start_hour, 0)) * 60.0 + std::floor(finite_or(start_minute, 0)) +
                 std::floor(finite_or(add_hours, 0)) * 60.0 + std::floor(finite_or(add_minutes, 0));
  if (!(std::fabs(total) < 1e9)) total = 0;
  double day = std::fmod(total, 1440.0);
  if (day < 0) day += 1440.0;
  int32_t t = int32_t(day);
  hour = t / 60;
  minute = t % 60;
}
