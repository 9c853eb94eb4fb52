// Scenario scripts for the simulated host. One command a line:
//   run 30s | run 2m | run 10f          run for simulated-clock seconds, minutes, or frames
//   click GAUGE INDEX                   click the INDEXth child rectangle (from 0)
//   click GAUGE X Y                     click the deepest child under (X, Y), gauge pixels
//   type GAUGE TEXT                     click the key of each character (TEXT may be quoted)
//   event ID [PARAM]                    key event to the module's handlers and the aircraft
//   set NAME VALUE                      aircraft, autopilot, radio, clock or host setting
//   window IDENT show|hide
//   gps IDENT LAT LON | gps clear       the route served as the simulator's GPS data
//   shot GAUGE FILE.png                 the gauge's drawn image, under the output folder
//   expect GAUGE "TEXT"                 fails the run unless the last draw drew TEXT
//   log FILE                            host records from now on, under the output folder
// Blank lines and lines starting with "#" are skipped. Every line is checked before
// anything runs; a bad one is refused as "FILE:LINE: message".
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace simhost {

class SimHost;

enum class ScenarioOp { Run, ClickIndex, ClickAt, Type, Event, Set, Window, Gps, GpsClear, Shot, Expect, Log };

struct ScenarioStep {
  ScenarioOp op = ScenarioOp::Run;
  int line = 0;
  std::string gauge;
  std::string text;   // typed or expected text, file name, setting or gps ident
  double seconds = 0.0;
  int64_t frames = 0; // run: frames when seconds is 0
  int32_t a = 0, b = 0;  // click index or x y; event id and param; window ident and 1/0
  double value = 0.0, value2 = 0.0;  // set value; gps lat lon
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
