// The cruise levels the aircraft can fly: one bound for the units' entries and the plan files.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "flightplan/flight_plan.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"

int32_t (*fpl_highest_cruise_hook)() = nullptr;

namespace {

// The departure airport's elevation, feet: the database's, else the record's own; NaN when
// the origin is no airport or neither knows it (a typed plan's origin carries none).
double origin_field_ft(const FlightPlanWpt* origin) {
  if (!origin || std::strcmp(origin->type, "APT") != 0) return NAN;
  if (int i = find_airport(origin->ident); i > 0 && i < nav_airport_slots) {
    const char* text = nav_airports[i].extra;
    char* end = nullptr;
    double e = std::strtod(text, &end);
    if (end != text && std::isfinite(e)) return e;
  }
  double e = origin->alt_constraint;
  return std::isfinite(e) && e != FPL_NO_CONSTRAINT && e > -2000.0 ? e : NAN;
}

// The ground below the aircraft, feet; 0 when it cannot be told.
double aircraft_ground_ft() {
  double radio = get_radio_altitude_ft(), ground = get_indicated_altitude_ft() - radio;
  return std::isfinite(ground) && radio >= 0.0 ? ground : 0.0;
}

}  // namespace

int32_t cruise_level_lowest_ft(const FlightPlanWpt* origin) {
  double field = origin_field_ft(origin);
  if (!std::isfinite(field)) field = aircraft_ground_ft();
  return int32_t(std::ceil(std::clamp(field, -2000.0, 30000.0) + CRUISE_ABOVE_FIELD_FT));
}

int32_t plan_cruise_level_lowest_ft() {
  const FlightPlanWpt* origins[] = {fpl_edit_last >= 0 ? &fpl_edit[0] : nullptr,
                                    fpl_active_last >= 0 ? &fpl_active[0] : nullptr};
  for (const FlightPlanWpt* o : origins)
    if (std::isfinite(origin_field_ft(o))) return cruise_level_lowest_ft(o);
  return cruise_level_lowest_ft(nullptr);
}

int32_t cruise_level_highest_ft() { return fpl_highest_cruise_hook ? fpl_highest_cruise_hook() : 99998; }

bool cruise_level_within(int32_t ft, const FlightPlanWpt* origin) {
  return ft >= cruise_level_lowest_ft(origin) && ft <= cruise_level_highest_ft();
}
