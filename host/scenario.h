// Scenario scripts for the simulated host. One command a line:
//   run 30s | run 2m | run 10f          run for seconds, minutes, or frames
//   click GAUGE INDEX                   click the INDEXth child rectangle (from 0)
//   click GAUGE X Y                     click the deepest child under (X, Y), gauge pixels
//   type GAUGE TEXT                     click the key of each character (TEXT may be quoted)
//   event ID [PARAM]                    key event to the module's handlers and the aircraft
//   set NAME VALUE                      aircraft, autopilot, radio, clock or host setting
//   window IDENT show|hide
//   gps IDENT LAT LON | gps clear       the route served as the simulator's GPS data
//   shot GAUGE FILE.png                 the gauge's drawn image, under the output folder
//   expect GAUGE "TEXT"                 fails the run unless a text the gauge shows holds TEXT
//                                       (its last draw; for a display repainting on request,
//                                       what its last repaint and partial repaints drew)
//   log FILE                            the host's records so far and from now on, under
//                                       the output folder
//   track FILE SECONDS                  from now on a CSV row of the path flown every SECONDS
//                                       of simulated time, under the output folder: t (s),
//                                       lat, lon, alt (ft), ias (kt), hdg_true, vs (ft/min),
//                                       active (waypoint ident), lnav, vnav
//   key NAME [down|up]                  a keyboard key pressed for a frame and released for
//                                       a frame (or only one of them, with its frame), NAME
//                                       a letter, digit or key name such as ENTER
//   ipc start|stop                      the stand-in IPC server of another add-on
//   ipc i32|f64 OFFSET VALUE            writes a value into the IPC server's block
//   var NAME VALUE                      sets a named variable as another gauge would; a
//                                       NAME with blanks is quoted: var "MFDX1 mode" 1
//   expect_var NAME VALUE               fails the run unless the named variable holds VALUE
// Settings of `set`: lat, lon (degrees), altitude (ft), heading (true), ias (kt), mach (the
// airspeed for that Mach at the present altitude), vs (ft/min), fuel, fuel_capacity
// (gallons), wind_dir (true, from), wind_speed (kt), sim_rate, zulu_time HH:MM,
// date YYYY-DDD, on_ground, ap_master, ap_heading (magnetic), ap_altitude, ap_vs,
// ap_airspeed, ap_mach, ap_heading_hold, ap_altitude_hold, ap_airspeed_hold, ap_mach_hold,
// autothrottle, flight_director, avionics, paused (0 or 1 flags), ground_elevation (ft),
// engines (1-4), nav1, nav2 (MHz), adf (kHz), obs (degrees), altimeter,
// sea_level_pressure (hPa), decision_height (ft), frame_rate (frames a second), flaps
// (degrees, moving at 2 a second), ap_nav_hold, ap_approach_hold, yaw_damper, gear (0 up,
// 1 down; it moves through transit), slats (percent), leading_edge (degrees),
// spoilers_armed, spoilers (0..16384), rudder, elevator, aileron and their _trim
// (degrees).
// `run` seconds and minutes count frames at the host's frame rate; simulated time goes
// on at the simulation rate and stands still while paused.
// Blank lines and lines starting with "#" are skipped. Every line is checked before
// anything runs; a bad one is refused as "FILE:LINE: message".
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace simhost {

class SimHost;

enum class ScenarioOp {
  Run, ClickIndex, ClickAt, Type, Event, Set, Window, Gps, GpsClear, Shot, Expect, Log, Track,
  Key, IpcStart, IpcStop, IpcI32, IpcF64, Var, ExpectVar
};

struct ScenarioStep {
  ScenarioOp op = ScenarioOp::Run;
  int line = 0;
  std::string gauge;
  std::string text;   // typed or expected text, file name, setting or gps ident
  double seconds = 0.0;
  int64_t frames = 0; // run: frames when seconds is 0
  int32_t a = 0, b = 0;  // click index or x y; event id and param; window ident and 1/0
  double value = 0.0, value2 = 0.0;  // set value; gps lat lon; track interval
  int32_t i1 = 0, i2 = 0;            // set zulu_time hour minute, date year day
};

struct Scenario {
  std::string file;
  std::vector<ScenarioStep> steps;
};

// Reads the script; refuses the first bad line.
bool parse_scenario(std::istream& in, const std::string& file, Scenario* out, std::string* error);
bool read_scenario(const std::string& path, Scenario* out, std::string* error);

// Checks the steps against a started host: gauges, click rectangles, keys, windows.
bool check_scenario(const Scenario& scenario, const SimHost& host, std::string* error);

struct ScenarioResult {
  int expectations = 0;
  int failed_expectations = 0;
  std::vector<std::string> failures;  // "FILE:LINE: ..." per failed expectation
};

// Runs a checked scenario on a started host. Output files go under out_dir. Returns false
// with "FILE:LINE: message" when a step cannot be carried out; failed expectations do not
// stop the run and are counted in the result.
bool run_scenario(const Scenario& scenario, SimHost& host, const std::string& out_dir, ScenarioResult* result,
                  std::string* error);

// Whether the gauge's last draw drew the text; false with a reason when the draw was not
// recorded.
bool gauge_drew_text(const SimHost& host, const std::string& gauge, const std::string& text, std::string* why);

}  // namespace simhost
