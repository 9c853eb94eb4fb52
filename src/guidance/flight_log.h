// Flight-phase log "\vek\FlightLog\fpl.log" and the flight summary appended to
// "\vek\FlightLog\Flight.log".
#pragma once

#include <cstdint>
#include <string>

// -1 set by plan activation and loads, 0..11 the phases, 999 before any plan.
extern int32_t flight_phase;
extern double log_last_row_time, log_last_row_alt, log_last_row_vs;
extern std::string takeoff_time_text, takeoff_time_copy, landing_time_text;
extern double takeoff_hour, takeoff_minute;
extern double zero_fuel_weight, payload_weight;  // pounds
extern double log_start_fuel;                    // pounds
extern int32_t log_initial_load_done;
extern int32_t log_settings_loaded;
extern double phase10_entry_time;

// Mode 0 each step, 1 at a waypoint passage (its row names the waypoint), 3 from the
// settings load (reads the weights only).
void update_flight_phase_log(int mode);

// Reads "fpl.log" back and appends the flight summary to "Flight.log".
void write_flight_log();

// Segment text of a phase ("InitLoad" .. "End_Flight"); "" for others.
const char* flight_phase_text(int32_t phase);
