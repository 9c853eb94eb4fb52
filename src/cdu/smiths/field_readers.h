// Field readers of the CDU entries, one per field kind, shared by the Smiths CDU and the
// mission CDU. Each reads the whole text it is given (no blank, no letter or exponent
// after the number, nothing left over), answers false for anything else or a value
// outside its range, and stores nothing: the page shows "INVALID ENTRY", keeps the entry
// as typed and stores nothing.
//
//   reader                  accepts                          range
//   read_number_word        digits, one point (a sign when   -
//                           asked): "12", ".5", "-3.5"
//   read_speed_kt           digits: "250"                    min_kt .. the lower of max_kt and
//                                                            cdu_speed_limit_kt()
//   read_mach               ".78", "0.78", ".780"            CDU_MIN_MACH .. the aircraft's Mach
//                                                            limit (cdu_mach_limit)
//   read_speed_mach         "250", "/.78", "250/.78"         each part as above
//   read_feet               digits: "18000"                  min_ft .. max_ft
//   read_altitude_ft        "FL350", "350", "35000"          below 1000 a flight level;
//                                                            min_ft .. max_ft
//   read_cruise_alt_ft      as read_altitude_ft              the origin's elevation + 1000 ft ..
//                                                            MaxCruise
//   read_speed_altitude     "250/10000", "250/FL100"; alone  speed as read_speed_kt, altitude as
//                           "FL100" or "/FL100" when the     read_altitude_ft (read_feet
//                           speed is optional                without flight levels)
//   read_weight_lb          thousands of the weight unit:    0.1 up, below max_thousands,
//                           "120.5", tenths at most          at most CDU_MAX_WEIGHT_LB
//   read_temperature_c      "-5", "+12", "0" (zero only so)  -99 .. 99 degrees C
//   read_cost_index         "0", "120", "-1" (not entered)   -1 .. 200, 0 only as "0"
//   read_wind               "270/35": three digits, "/",     direction 0 .. 360, speed 0 .. 999 kt
//                           digits
//   read_course_deg         "270", "90.5"                    0 .. 360 degrees
//   read_radial_deg         three digits: "090"              000 .. 360 degrees
//   read_tenths             "1.5", "12": minutes, miles,     min .. max
//                           tenths at most
//   split_at_slash          the two words around one "/"     -
//
// Speeds are indicated airspeeds in knots, altitudes feet, weights pounds once read.
#pragma once

#include <cstdint>
#include <string>

#include "guidance/flight_envelope.h"

constexpr double CDU_MIN_MACH = 0.1;
// The widest Mach the PERF LIMITS field prints; the aircraft's limit bounds it further.
constexpr double CDU_MAX_MACH = 0.99;
constexpr double CDU_MAX_ALT_FT = 99999.0;  // altitudes below this
constexpr double CDU_MAX_WEIGHT_LB = 2000000.0;
constexpr double CDU_MAX_TEMPERATURE_C = 99.0;
// The lowest speed a speed field of a flying aircraft takes.
constexpr int32_t CDU_MIN_SPEED_KT = 50;
// Three digits: the widest speed any field prints.
constexpr int32_t CDU_MAX_SPEED_KT = 999;

// The least speed a VNAV speed entry takes, knots: the aircraft's least for the phase
// (ENVELOPE_CLIMB, ENVELOPE_NOT_CLIMB, or ENVELOPE_ANY_PHASE for the lower of the two).
int32_t cdu_least_speed_kt(int phase);
// The least V1, VR, V2 and VREF an entry takes, knots: the aircraft's stall speed in the
// landing configuration (VS0), CDU_MIN_SPEED_KT where the simulator gives none below three digits.
int32_t cdu_least_reference_speed_kt();
// The highest Mach an entry takes: the aircraft's Mach limit.
double cdu_mach_limit();

// The highest speed an entry takes, knots: the aircraft's limit (its file, else the
// live maximum), and never above three digits.
int32_t cdu_speed_limit_kt();

bool read_number_word(const std::string& w, bool signed_word, double& v);
bool read_speed_kt(const std::string& w, int32_t min_kt, int32_t max_kt, int32_t& kt);
bool read_mach(const std::string& w, double& mach);

// A speed, a Mach or both around one "/"; absent parts are not set.
struct SpeedMachEntry {
  bool has_speed = false, has_mach = false;
  int32_t kt = 0;
  double mach = 0.0;
};
bool read_speed_mach(const std::string& s, int32_t min_kt, int32_t max_kt, SpeedMachEntry& e);

bool read_feet(const std::string& w, int32_t min_ft, int32_t max_ft, int32_t& ft);
bool read_altitude_ft(const std::string& w, int32_t min_ft, int32_t max_ft, int32_t& ft);
bool read_cruise_alt_ft(const std::string& w, int32_t& ft);

// A speed and an altitude around one "/"; `has_speed` false for an altitude alone.
struct SpeedAltitudeRange {
  int32_t min_kt, max_kt;
  int32_t min_ft, max_ft;
  bool speed_optional;  // "FL100" and "/FL100" taken as an altitude alone
  bool flight_levels;   // "FL100" and "100" as flight levels, else feet digits only
};
struct SpeedAltitudeEntry {
  bool has_speed = false;
  int32_t kt = 0, ft = 0;
};
bool read_speed_altitude(const std::string& s, const SpeedAltitudeRange& r, SpeedAltitudeEntry& e);

// Thousands of pounds, or of kilograms when `kgs`, as pounds.
bool read_weight_lb(const std::string& w, bool kgs, double max_thousands, double& lb);
bool read_temperature_c(const std::string& w, double& c);
bool read_cost_index(const std::string& w, int32_t& ci);
bool read_wind(const std::string& s, int32_t& dir, int32_t& kt);
bool read_course_deg(const std::string& w, double& deg);
bool read_radial_deg(const std::string& w, int32_t& deg);
bool read_tenths(const std::string& w, double min, double max, double& v);
// The texts before and after the one "/" of `s`; false when it has none or several.
bool split_at_slash(const std::string& s, std::string& left, std::string& right);
