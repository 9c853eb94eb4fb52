// Clock time of arrival: a start time plus a time to go, for the CDU pages and the
// navigation displays alike.
#pragma once

#include <cstdint>

// ETA of a start time plus a time to go, as whole hours 0..23 and whole minutes
// 0..59 (minutes floored before the carry; days dropped).
void eta_clock(double start_hour, double start_minute, double add_hours, double add_minutes, int32_t& hour,
               int32_t& minute);
