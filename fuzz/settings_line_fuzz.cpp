// The settings-line grammar: the input is a whole settings or aircraft file. Every line
// is applied as both file kinds, then the aircraft-file steps that follow the lines run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "guidance/aircraft_file.h"
#include "guidance/config_line.h"
#include "guidance/cost_index_targets.h"
#include "guidance/settings.h"
#include "guidance/settings_file.h"
#include "guidance/speed_conversions.h"
#include "module/display_state.h"

namespace {

void apply_file(std::string& text, size_t limit, void (*apply)(std::string_view)) {
  if (text.empty()) return;
  std::FILE* f = fmemopen(text.data(), text.size(), "rb");
  if (!f) return;
  std::string line;
  while (read_limited_line(f, limit, line)) apply(line);
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  apply_file(text, vek_cfg_line_limit, apply_vek_cfg_line);
  apply_file(text, aircraft_cfg_line_limit, apply_aircraft_cfg_line);

  validate_start_modes();
  if (b737_nd_mode < 1 || b737_nd_mode > 7 || md11_nd_mode < 2 || md11_nd_mode > 5) __builtin_trap();
  climb_mach_max = ias_to_mach(ClimbIasMax, 15000.0);
  descent_mach_min = ias_to_mach(descent_ias_min, 15000.0);
  apply_cost_index_speeds();
  ClimbTas = ias_to_tas(ClimbIas, 15000.0);
  DescentTas = ias_to_tas(DescentIas, 15000.0);
  if (ClimbRate <= 0 || !(DescentRate > 0.0) || !(HoldLegMins > 0.0)) __builtin_trap();
  if (!(WptChgDist > 0.0) || !(WptProcChgDist > 0.0)) __builtin_trap();
  // What the files set stays within the ranges the keys have.
  if (!(WptChgDist <= 20.0 && WptProcChgSecs >= 0.0 && WptProcChgSecs <= 60.0 && MinMapRange <= 320.0) ||
      TransAlt < 0 || TransAlt > 99999 || !(ClimbMach >= 0.0 && ClimbMach <= 0.99) ||
      !(MaxVnavClimbRate >= 0.0 && MaxVnavClimbRate <= 20000.0) || VnavSetAlts < 0 || VnavSetAlts > 1)
    __builtin_trap();
  (void)truncate_to_int(tas_to_ias(CruiseTas, MaxCruise));
  return 0;
}
