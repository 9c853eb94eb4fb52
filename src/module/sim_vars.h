// Simulator-variable accessors: each reads one numbered variable from the host on
// the spot and returns it as a double in the unit stated.
#pragma once

#include <cstdint>

// Raw numbered variable.
double read_token(int32_t id);

// Time and date.
double get_tick_counter();           // 18 per second
double get_local_hour();
double get_local_minute();
double get_local_second();
double get_zulu_hour();
double get_zulu_minute();
double get_zulu_day_of_year();
double get_zulu_year();

// Position, attitude and air data.
double get_latitude_deg();           // north positive
double get_longitude_deg();          // east positive, -180..180
double get_heading_deg();            // true
double get_magvar_deg();             // east positive
double get_map_heading_deg();
double get_pitch_deg();
double get_bank_deg(int32_t sim_version);  // variable 80 for version 9, else 79; |x| < 0.035 gives 0
double get_indicated_airspeed();     // knots
double get_mach_raw();               // raw
double get_mach();                   // raw / 65536 * 3.2
double get_barber_pole_speed_raw();  // knots * 128
double get_vertical_speed_fpm();
double get_ground_speed_kt();
double get_radio_altitude_ft();
double get_on_ground();
double get_altimeter_hpa();
double get_baro_inhg();              // hPa / 1013.25 * 29.92
double get_wind_speed_kt();
double get_wind_direction_deg();
double get_total_air_temperature_raw();  // degrees C times 256
double get_total_air_temperature_c();
double get_g_force();
double get_token_69();
double get_token_341();
double get_token_342();
double get_token_349();
double get_token_852();
double get_sim_rate(int32_t sim_version);  // variable 336, / 256 when sim_version is 10
double get_avionics_power();
double get_flight_log_active();      // variable 323; 0 ends the flight log

// Calculator-code reads.
double get_indicated_altitude_ft();  // "(A:INDICATED ALTITUDE, feet)"
double get_ap_altitude_lock_ft();    // "(A:AUTOPILOT ALTITUDE LOCK VAR, feet)"
double get_decision_height();
double get_design_speed_vs0();
double get_design_speed_vs1();

// Autopilot.
double get_ap_master();
double get_nav_gps_switch();
double get_ap_heading_hold();
double get_ap_heading();
double get_ap_vs_hold();             // variable 108
double get_ap_altitude_hold();       // variable 113
double get_ap_airspeed_hold();
double get_ap_airspeed();
double get_ap_mach_hold();
double get_ap_mach_hold_var();       // variable 118, Mach target
double get_ap_vertical_speed();      // variable 120, ft/min
double get_autothrottle_arm();
double get_ap_attitude_hold();
double get_ap_glideslope_hold();
double get_ap_loc_hold_on();
double get_ap_approach_hold();
double get_flight_director_active();
double get_fd_bank();                // variable 793
double get_fd_pitch();               // variable 794

// Radios.
double get_nav1_frequency_mhz();     // BCD variable 24 -> MHz
double get_nav2_frequency_mhz();
double get_adf_frequency_khz();      // BCD variable 16
const char* get_nav1_ident();
const char* get_nav2_ident();
const char* get_adf_ident();
double get_nav1_signal();
double get_nav2_signal();
double get_adf_signal();
double get_vor1_bearing();           // variable 25 in degrees
double get_vor2_bearing();
double get_dme1_distance();
double get_dme2_distance();
double get_nav1_deviation();
double get_glideslope_deviation();
double get_nav1_course();
int32_t get_nav1_code_bit3();        // bit 0x08 of variable 46
int32_t is_nav1_backcourse();        // bit 0x20
int32_t has_nav1_glideslope();       // bit 0x40
int32_t is_nav1_localizer();         // bit 0x80
double get_marker_beacon();

// Engines and fuel (engine 1..4).
double get_eng_fuel_flow(int32_t engine);     // pph; the alternate when the main is not above 0
double get_total_fuel_flow();
double get_eng_n1(int32_t engine);
double get_eng_n2(int32_t engine);
double get_eng_egt_celsius(int32_t engine);
double get_eng_oil_temp_celsius(int32_t engine);
double get_eng_oil_pressure_psi(int32_t engine);
double get_eng_oil_quantity(int32_t engine);  // quarts
double get_eng_throttle(int32_t engine);      // thrust-lever value, 16383 at the top
double get_eng_pressure_value(int32_t engine);
double get_fuel_weight_per_gallon();
double get_total_fuel_gallons();

// Airframe.
double get_flaps_position();
double get_flaps_handle();
double get_gear_nose_position();
double get_gear_left_position();
double get_gear_right_position();
double get_stall_warning();
double get_overspeed_warning();
double get_rudder_position();
double get_rudder_trim();
double get_elevator_position();
double get_elevator_trim();
double get_aileron_position();
double get_aileron_trim();
double get_spoilers_armed();
double get_spoilers_position();
double get_flaps_left_percent();
double get_flaps_right_percent();
double get_leading_edge_flaps_left_angle();
double get_slats_percent();

// Smoothed airspeed and its trend.
extern double smoothed_airspeed;
extern double speed_trend;
constexpr int speed_history_size = 15;
extern double speed_history[speed_history_size];
// Reads variable 61 again: new * 0.3 + previous smoothed * 0.7, stored and returned.
double smooth_module_var();
// Shifts the 15-sample history, sets `speed_trend` to (newest stored - sample 14
// steps earlier) / 14, then stores a new smoothed sample.
void update_trend_history();

// Aircraft state that the per-step FMS update samples through the accessors above and
// every layer reads (maps, plan editing, guidance).
extern double present_lat, present_lon;  // degrees, north and east positive
extern double magvar;                    // degrees, east positive; magnetic = true - magvar
extern double ground_speed;              // knots
