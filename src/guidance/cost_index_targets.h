// Climb, cruise and descent IAS targets placed between their limits by the cost index.
#pragma once

#include <cstdint>

// The value the cost index last gave each target; -1 before it gave one.
extern int32_t climb_ias_from_ci, cruise_ias_from_ci, descent_ias_from_ci;

// With `CostIndex` c of 0..200 (above 200 counts as 200; -1 or below changes nothing),
// each target that still holds its aircraft-file value, or the value the cost index
// last gave it, becomes trunc((max - min) / 200 x c + min). A target the pilot changed
// keeps the pilot's value.
void apply_cost_index_speeds();
