// Entries and predictions shared by the performance pages (PERF INIT, ECON CLB, ECON
// CRZ, ECON PATH DES, PROGRESS): cruise altitude, speed targets and restrictions, clock
// times of arrival and the fuel left at a point ahead.
#pragma once

#include <cstdint>
#include <string>

#include "guidance/flight_envelope.h"

// "INVALID ENTRY" in the message line; the scratchpad stays.
void cdu_reject();
// A route value changed: an active, unchanged route becomes modified (MOD).
void cdu_route_value_changed();

// Cruise altitude from the scratchpad (read_cruise_alt_ft): "FL350", "350" or "35000", a
// level the aircraft can reach. The first change since EXEC keeps the executed value in cruise_alt_prev.
void cdu_enter_cruise_alt();

// A speed target and its Mach target with their pre-change slots (-1 = none).
struct SpeedTarget {
  int32_t* ias;
  double* mach;
  double* ias_prev;
  double* mach_prev;
  int phase;  // ENVELOPE_CLIMB or ENVELOPE_NOT_CLIMB: the least speed it takes
};
// "250", "/.78" or "250/.78": the phase's least speed to 500 kt within the aircraft's limit,
// Mach from the least speed's at the cruise level to the aircraft's limit.
// An empty scratchpad does nothing; a refused entry changes nothing, slots included.
void cdu_enter_target_speed(const SpeedTarget& t);
// "250/10000": the "/" at the fourth character or later, the phase's least speed to the
// aircraft's limit below 1000 to 99998 ft. The route state is not stepped.
void cdu_enter_speed_restriction(double& speed, double& alt, int phase);

// PERF INIT CRZ WIND: direction 0-360 degrees, speed 0-999 knots (0 shows dashes); false,
// nothing stored, otherwise.
bool perf_set_wind(double dir, double speed);
// PERF INIT ISA DEV (`isa`) or T/C OAT: `x` degrees C and the other through the standard
// lapse to the cruise altitude; false, nothing stored, when either lies outside -99..99.
bool perf_set_temperature(double x, bool isa);

// PERF LIMITS: the climb, cruise and descent rows, each a minimum and a maximum speed
// (knots) with its Mach.
struct SpeedLimit {
  double* ias;
  double* mach;
};
struct SpeedLimitRow {
  SpeedLimit min, max;
};
extern const SpeedLimitRow perf_limit_rows[3];
// "250/.780" for the minimum or maximum of row `row` (0-2) from io.pad: an entry of 6 or 7
// characters is read as if filled with zeros; three digits of speed, the row's least speed
// to the aircraft's limit, three of Mach, the least speed's to the Mach limit, and the
// minimum not above the maximum (a
// limit of 0 is not set). Else "INVALID ENTRY" in io.msg, the pad kept as typed, nothing
// stored.
struct CduLines;
void cdu_enter_speed_limit(int row, bool is_max, CduLines io);

// Clock time `minutes` from now as "HHMM" (local hours when DispETALocalTime is 1),
// and the zone letter "L" or "Z" that goes with it.
std::string cdu_eta_hhmm(double minutes);
const char* cdu_eta_zone();

// Mean ground speed to a point `dist` NM ahead: the ground speed, with the last 100 NM
// flown at `descent_factor` x DescentIas.
double cdu_mean_speed(double dist, double descent_factor);
// Fuel on board (pounds) less the burn at the total fuel flow over `dist` NM at `speed`
// knots; a mean speed below the ground speed scales the burn by speed / ground speed.
double cdu_fuel_at(double dist, double speed);
// Pounds shown as thousands, in kilograms under "KGS".
double cdu_shown_weight(double lb);
