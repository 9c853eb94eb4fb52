// Simulated aircraft for the test host: flies what the autopilot is set to, answers the
// key events a gauge module sends, and serves the numbered simulator variables in the raw
// units the simulator gives them.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include "host/engine_model.h"

struct TokenVar;

namespace simhost {

constexpr double EARTH_RADIUS_NM = 3437.7467707849396;
constexpr int MAX_ENGINES = 4;
constexpr double GEAR_TRANSIT_SECONDS = 10.0;

// A station a tuned radio receives.
struct RadioStation {
  std::string ident;
  double lat = 0.0;
  double lon = 0.0;
  double elevation_ft = 0.0;
  double range_nm = 200.0;
  bool localizer = false;
  bool glideslope = false;
  double course_deg = 0.0;  // localizer front course, magnetic
};

enum class RadioKind { Nav, Adf };

// Resolves a tuned frequency (MHz for NAV, kHz for ADF) to a station for an aircraft at
// lat/lon. Returns false when nothing transmits on it. With no resolver set the radios
// receive nothing.
using StationResolver =
    std::function<bool(RadioKind kind, double frequency, double lat, double lon, RadioStation* out)>;

// What one radio receives this step.
struct RadioReception {
  bool receiving = false;
  RadioStation station;
  double distance_nm = 0.0;
  double bearing_to_true = 0.0;  // from the aircraft to the station
  double radial_mag = 0.0;       // from the station to the aircraft, magnetic
};

struct AircraftState {
  // Position and attitude.
  double lat = 0.0, lon = 0.0;     // degrees
  double altitude_ft = 0.0;        // true altitude above sea level
  double ground_elevation_ft = 0.0;
  double heading_true = 0.0;       // degrees 0..360
  double ias_kt = 0.0;
  double vs_fpm = 0.0;
  double bank_deg = 0.0;           // right wing down positive (served left wing down positive)
  double pitch_deg = 0.0;          // nose up positive (served nose down positive)
  bool on_ground = false;
  double flaps_deg = 0.0;          // trailing-edge flaps, moving toward flaps_target_deg
  double flaps_target_deg = 0.0;

  // Air mass.
  double wind_dir = 0.0;           // degrees true, from
  double wind_speed_kt = 0.0;
  double sea_level_hpa = 1013.25;
  double altimeter_hpa = 1013.25;

  // Fuel and engines.
  int engine_count = 2;
  EngineState engines[MAX_ENGINES];
  double fuel_gallons = 5000.0;
  double fuel_capacity_gallons = 7000.0;
  double fuel_lb_per_gallon = 6.7;

  // Autopilot. The selected heading is magnetic.
  bool ap_master = false;
  bool ap_heading_hold = true;
  bool ap_altitude_hold = true;
  bool ap_airspeed_hold = true;
  bool ap_mach_hold = false;
  bool autothrottle_arm = true;
  bool flight_director = false;    // the pilot flies the cues while the autopilot is off
  bool ap_nav_hold = false;        // tracks the NAV 1 course
  bool ap_approach_hold = false;   // captures the localizer, then the glideslope
  bool yaw_damper = false;
  double ap_heading = 0.0;
  double ap_altitude_ft = 0.0;
  double ap_vs_fpm = 1500.0;
  double ap_airspeed_kt = 250.0;
  double ap_mach = 0.78;

  // Radios.
  double nav1_mhz = 110.00, nav2_mhz = 110.00;
  double adf_khz = 200.0;
  double nav1_obs = 0.0;
  bool avionics_power = true;

  // Clock: zulu time of day, date, local offset derived from the longitude.
  double zulu_seconds = 12.0 * 3600.0;
  int day_of_year = 1;  // 1..365 or 366
  int year = 2007;

  // Simulation.
  double sim_rate = 1.0;
  bool paused = false;

  // Airframe: landing gear (selected down, and where it is: 0 up .. 16383 down, moving
  // through transit at GEAR_TRANSIT_SECONDS), slats, spoilers (0..16384 as served),
  // control surfaces and trims (degrees, served in radians).
  bool gear_down = true;
  bool brakes = false;             // wheel brakes set, on the ground
  double gear_position = 16383.0;
  double slats_percent = 0.0;
  double leading_edge_deg = 0.0;
  double spoilers_armed = 0.0;
  double spoilers_position = 0.0;
  double rudder_deg = 0.0, elevator_deg = 0.0, aileron_deg = 0.0;
  double rudder_trim_deg = 0.0, elevator_trim_deg = 0.0, aileron_trim_deg = 0.0;

  // Aircraft constants the calculator code reports.
  double decision_height_ft = 200.0;
  double vs0_kt = 110.0;
  double vs1_kt = 130.0;
  double vmo_kt = 340.0;
  double mmo = 0.82;
};

// Standard atmosphere at a pressure altitude.
struct Atmosphere {
  double temp_k;
  double pressure_ratio;
  double density_ratio;
  double speed_of_sound_kt;
};
Atmosphere standard_atmosphere(double altitude_ft);
double true_airspeed_kt(double ias_kt, double altitude_ft);
double ias_for_mach(double mach, double altitude_ft);

bool is_leap_year(int year);
int days_in_year(int year);

// Packed-decimal helpers for radio frequencies: each hex digit one decimal digit.
// bcd_to_int returns -1 when a digit is not decimal.
int64_t bcd_to_int(int64_t bcd);
int64_t int_to_bcd(int64_t value);

class AircraftModel {
 public:
  AircraftModel();

  AircraftState& state() { return s_; }
  const AircraftState& state() const { return s_; }

  // Advances the model by dt seconds of simulated time (already scaled by the rate).
  void step(double dt_seconds);

  // Applies a simulator key event. Returns false for an event the model does not know or
  // a parameter it refuses (the state is then unchanged).
  bool apply_key_event(int32_t event_id, int32_t param);

  // Fills a numbered-variable record in raw simulator units; unknown ids give 0.
  void read_token(TokenVar* var) const;
  // The same as a double (text variables give 0).
  double token_value(int32_t id) const;
  const char* token_text(int32_t id) const;

  // Calculator code such as "(A:INDICATED ALTITUDE, feet)". Returns false for code the
  // model does not know, with *result 0.
  bool calculator_code(const char* code, double* result) const;

  double indicated_altitude_ft() const;
  double true_airspeed() const;
  double mach() const;
  double ground_speed_kt() const { return ground_speed_kt_; }
  double ground_track_true() const { return ground_track_; }
  double magnetic_variation() const;
  double decimal_year() const;
  double local_offset_hours() const;
  double local_seconds() const;  // 0..86400
  int local_day_of_year() const;
  double radio_altitude_ft() const;

  void set_station_resolver(StationResolver resolver) { resolver_ = std::move(resolver); }
  const RadioReception& nav1() const { return nav1_; }
  const RadioReception& nav2() const { return nav2_; }
  const RadioReception& adf() const { return adf_; }

  // Sets the zulu clock; false for an hour outside 0..23 or a minute outside 0..59.
  bool set_zulu_time(int hour, int minute, int second = 0);
  // Sets the date; false for a day outside the year.
  bool set_date(int year, int day_of_year);
  // Sets the fuel on board, limited to 0..capacity.
  void set_fuel_gallons(double gallons);
  // Sets the simulation rate; false outside 1/4..128.
  bool set_sim_rate(double rate);
  // Re-derives the radios and ground speed after a direct state change.
  void refresh();

  // Angle of attack in degrees: grows as the airspeed falls, less with flaps.
  double angle_of_attack() const;
  double angle_of_attack_at(double ias_kt) const;
  // Approach-hold captures, as the autopilot annunciates them.
  bool localizer_captured() const { return loc_captured_; }
  bool glideslope_captured() const { return gs_captured_; }
  // Marker beacon heard: 1 outer, 2 middle, 3 inner, 0 none.
  int marker_beacon() const;

 private:
  void fly_autopilot(double dt);
  void take_off_run(double dt);
  // On the ground with the flight director on and a take-off speed selected, no lever in
  // reverse: the engines give take-off thrust.
  bool take_off_armed() const;
  bool any_reverse() const;
  // The fitted engines' mean share of take-off thrust, below 0 in reverse.
  double net_thrust() const;
  void move_flaps(double dt);
  // Heading (true) the lateral mode steers to, -1 for wings level; captures the localizer.
  double lateral_target_true();
  // Vertical speed the vertical mode asks for; captures the glideslope.
  double vertical_speed_command();
  // Heading (true) that tracks the NAV 1 course, correcting for the wind.
  double nav_track_heading() const;
  // The glideslope angle above the NAV 1 station's elevation, degrees.
  double glideslope_angle() const;
  void integrate_position(double dt);
  void update_engines(double dt, double ias_target_delta);
  void advance_clock(double dt);
  void move_gear(double dt);
  void update_radios();
  void receive(RadioKind kind, double frequency, RadioReception* out) const;

  AircraftState s_;
  StationResolver resolver_;
  RadioReception nav1_, nav2_, adf_;
  double ground_speed_kt_ = 0.0;
  double ground_track_ = 0.0;
  double fd_bank_ = 0.0;   // what the lateral mode asks, before the roll rate
  double fd_pitch_ = 0.0;  // what the vertical mode asks, before the climb-rate change
  bool loc_captured_ = false;
  bool gs_captured_ = false;
  // The last declination worked out and where and when: the gauges read it many times a
  // frame at one position.
  struct Declination {
    double at[4] = {NAN, NAN, NAN, NAN};  // latitude, longitude, altitude (ft), decimal year
    double value = 0.0;
  };
  mutable Declination declination_;
};

}  // namespace simhost
