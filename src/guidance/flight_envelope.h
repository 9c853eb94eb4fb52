// The aircraft's envelope for every unit and every VNAV command: the least and greatest
// indicated airspeed, the Mach limit and the cruise levels it can reach. Entries outside
// it are refused; speeds VNAV sends are brought inside it.
#pragma once

#include <cstdint>

// The Mach limit where neither the aircraft nor the simulator gives one.
constexpr double ENVELOPE_DEFAULT_MACH_LIMIT = 0.82;
// The least speeds, knots, where the aircraft file gives none.
constexpr double ENVELOPE_DEFAULT_CLIMB_IAS = 180.0;
constexpr double ENVELOPE_DEFAULT_IAS = 155.0;

// The highest live maximum seen (knots) and the Mach limit read from the live maximum once
// it fell below that (0 none): above its crossover the live maximum is the Mach limit.
extern double envelope_live_vmo;
extern double envelope_live_mmo;
// The speed VNAV last asked for (knots, -1 none) and the one it sent for it (-1 none).
extern double vnav_speed_asked;
extern double vnav_speed_sent;

// The least indicated airspeed, knots, in the climb (MinVnavClimbIas) or elsewhere
// (MinVnavIas); the lower of the two when `phase` is -1 (not known).
double envelope_least_ias(int phase);
constexpr int ENVELOPE_ANY_PHASE = -1, ENVELOPE_CLIMB = 1, ENVELOPE_NOT_CLIMB = 0;

// The aircraft's Mach limit: read from the live maximum, else the default.
double envelope_mach_limit();
// Standard-atmosphere Mach of an indicated airspeed at an altitude, and the inverse.
double envelope_mach_of_ias(double ias_kt, double altitude_ft);
double envelope_ias_of_mach(double mach, double altitude_ft);

// Mach entries: the least (the least speed at the cruise level, else at sea level) and
// the greatest (the Mach limit).
double envelope_least_mach(int phase);

// Cruise levels the aircraft can reach, feet: the plan's bound (cruise_level_lowest_ft:
// the departure airport's elevation + 1000 ft) to MaxCruise.
int32_t envelope_lowest_cruise_ft();
int32_t envelope_highest_cruise_ft();

// Reads the live maximum for the Mach limit; once per step.
void envelope_sample();
// The speed, knots, VNAV may send now for `asked`: at least the phase's least speed, at
// most the live and file maximum and the phase's Mach (never above the limit) at the
// present altitude. `climb` tells the phase.
double envelope_bound_ias(double asked, bool climb);
// A Mach x 100 VNAV may send: at least the least speed's at the present altitude, at most
// the limit.
double envelope_bound_mach100(double mach100);
// A cruise Mach below the least speed's at the cruise level is raised to it (the pages
// show the Mach flown); once per step.
void envelope_raise_cruise_mach();
