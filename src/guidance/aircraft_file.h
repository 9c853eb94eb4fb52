// The aircraft file "\vek\Aircraft\<aircraft name>.cfg": the settings for one aircraft,
// its speed and flap schedules, performance figures, display colours and start modes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "guidance/config_line.h"

// Once an aircraft name is recorded, runs once (guarded by `aircraft_config_loaded`):
// reads the navigation data cycle from "\vek\Navdata\navs.txt", applies the aircraft
// file, validates the start modes, derives the Mach limits, loads the performance
// tables named by `PerformanceData`, applies the cost index, clears `CruiseMach` and
// `DescentMach` and derives `ClimbTas` and `DescentTas`. A missing file (or a name that
// is not a plain file name) skips only the file's lines. Does nothing while
// `aircraft_name` is empty.
void read_aircraft_config();

// The highest of the speed limits the aircraft file gives (ClimbIasMax, CruiseIasMax,
// DescentIasMax), knots; 0 when it gives none.
extern double aircraft_file_max_ias;
// The aircraft's highest indicated airspeed, knots: the aircraft file's, else the live
// maximum (the barber pole); 0 when neither is known.
double aircraft_max_ias();
// The highest indicated airspeed the autopilot may be given now, knots: the lower of the
// aircraft file's and the live maximum; 0 when neither is known.
double aircraft_max_ias_now();

// Applies one line of an aircraft file.
void apply_aircraft_cfg_line(std::string_view line);

// Sets `nav_data_cycle` and `nav_data_active` from the first ";AIRAC" line of
// "\vek\Navdata\navs.txt": "AIRAC " + the fourth word, and "DDMMM - DDMMM/YY" from the
// first five characters of the fifth and seventh words and the last two of the seventh.
void read_nav_data_cycle();
// The same from an open navaid file.
void read_airac_header(std::FILE* file);

// Brings each display start mode into its valid range.
void validate_start_modes();

// Looks `name` up in the parking file "\vek\Aircraft\" + `ParkingFile` (lines of name,
// latitude, longitude, heading; the first exact match wins) and sets `parking_lat`,
// `parking_lon` and `parking_heading` (360 becomes 0); all 0 when not found, or when a
// number of its line does not read or lies outside -90..90, -180..180, 0..360 (then with
// the message "Parking position '<name>' out of range, ignored").
void read_parking_position(std::string_view name);
// The same from an open parking file.
void read_parking_lines(std::FILE* file, std::string_view name);

constexpr size_t aircraft_cfg_line_limit = 200;

// Keys of the aircraft file only (besides the shared settings keys).
extern const ConfigKey aircraft_cfg_keys[];
extern const size_t aircraft_cfg_key_count;
