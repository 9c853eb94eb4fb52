#include "guidance/aircraft_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "guidance/config_line.h"
#include "guidance/cost_index_targets.h"
#include "guidance/performance_tables.h"
#include "guidance/settings.h"
#include "guidance/settings_file.h"
#include "guidance/speed_conversions.h"
#include "module/display_state.h"
#include "module/module_files.h"
#include "module/module_messages.h"
#include "module/module_paths.h"
#include "module/sim_vars.h"

double aircraft_file_max_ias = 0.0;

namespace {

// Start modes as written; validated into the display modes after the file.
void set_efs50_hsi_mode(std::string_view v) { efs50_ehsi_mode = config_int_of_float(v); }
void set_efs50_nav_mode(std::string_view v) { EFS50NavMode = config_int_of_float(v); }
void set_du1000_ehsi_mode(std::string_view v) { du1000_ehsi_mode = config_int_of_float(v); }
void set_b737_nd_mode(std::string_view v) { b737_nd_mode = config_int_of_float(v); }
void set_md11_nd_mode(std::string_view v) { md11_nd_mode = config_int_of_float(v); }
void set_md80_ehsi_mode(std::string_view v) { md80_ehsi_mode = config_int_of_float(v); }
void set_proline4_mfd_mode(std::string_view v) { proline4_mfd_format = config_int_of_float(v); }

// Speed targets: a speed of 0 or less is no speed and leaves the target.
void set_climb_ias(std::string_view v) {
  int32_t ias = config_int_of_float(v);
  if (ias <= 0) return;
  ClimbIas = climb_ias_file = ias;
}

void set_climb_tas(std::string_view v) {
  double tas = config_float(v);
  if (!(tas > 0.0)) return;
  ClimbTas = tas;
  ClimbIas = climb_ias_file = truncate_to_int(tas_to_ias(tas, 15000.0));
}

void set_cruise_ias(std::string_view v) {
  int32_t ias = config_int_of_float(v);
  if (ias <= 0) return;
  CruiseTas = cruise_ias_file = ias;
}

void set_cruise_tas(std::string_view v) {
  double tas = config_float(v);
  if (!(tas > 0.0)) return;
  CruiseTas = cruise_ias_file = truncate_to_int(tas_to_ias(tas, 15000.0));
}

void set_descent_ias(std::string_view v) {
  int32_t ias = config_int_of_float(v);
  if (ias <= 0) return;
  DescentIas = descent_ias_file = ias;
  BestHoldIas = ias;
}

void set_descent_tas(std::string_view v) {
  double tas = config_float(v);
  if (!(tas > 0.0)) return;
  DescentTas = tas;
  DescentIas = descent_ias_file = truncate_to_int(tas_to_ias(tas, 15000.0));
}

// Rates divide distances elsewhere: no rate at or below 0, the default instead.
void set_climb_rate(std::string_view v) {
  int32_t rate = config_int_of_float(v);
  ClimbRate = rate > 0 ? rate : 1800;
}

void set_descent_rate(std::string_view v) {
  double rate = config_float(v);
  DescentRate = rate > 0.0 ? rate : 1800.0;
}

// A speed limit of the file; the highest of them is the aircraft's.
void set_speed_limit(double& limit, std::string_view v) {
  limit = config_float(v);
  if (limit > aircraft_file_max_ias) aircraft_file_max_ias = limit;
}
void set_climb_ias_max(std::string_view v) { set_speed_limit(ClimbIasMax, v); }
void set_cruise_ias_max(std::string_view v) { set_speed_limit(CruiseIasMax, v); }
void set_descent_ias_max(std::string_view v) { set_speed_limit(descent_ias_max, v); }

void set_cost_index(std::string_view v) {
  int32_t ci = config_int_of_float(v);
  if (ci >= -1 && ci <= 200) CostIndex = ci;
}

void set_eng_thrust(std::string_view v) {
  int32_t thrust = config_int_of_float(v);
  EngThrust = thrust > 1000 ? thrust / 1000 : thrust;
}

void set_hold_leg_mins(std::string_view v) {
  double minutes = config_float(v);
  HoldLegMins = minutes > 0.0 ? minutes : 1.0;
}

void set_to_flaps_range(std::string_view v) {
  TOFLAPSRANGE.assign(1, ',');
  TOFLAPSRANGE.append(v);
  TOFLAPSRANGE.push_back(',');
}

}  // namespace

const ConfigKey aircraft_cfg_keys[] = {
    {"WptChgDist", CFG_FLOAT, &WptChgDist, GUARD_INT_PART_ABOVE_ZERO, nullptr},
    {"FlightPlansFolder", CFG_TEXT, &aircraft_flight_plans_folder, GUARD_NONE, nullptr},
    {"APPRFLAPSMIN", CFG_TEXT, &APPRFLAPSMIN, GUARD_NONE, nullptr},
    {"APPRFLAPSMID", CFG_TEXT, &APPRFLAPSMID, GUARD_NONE, nullptr},
    {"APPRFLAPSMAX", CFG_TEXT, &APPRFLAPSMAX, GUARD_NONE, nullptr},
    {"BestHoldIas", CFG_INT_OF_FLOAT, &BestHoldIas, GUARD_NONE, nullptr},
    {"ClbAltRest", CFG_FLOAT, &ClbAltRest, GUARD_NONE, nullptr},
    {"ClbSpdRest", CFG_FLOAT, &ClbSpdRest, GUARD_NONE, nullptr},
    {"ClimbIas", CFG_CUSTOM, nullptr, GUARD_NONE, set_climb_ias},
    {"ClimbIasMax", CFG_CUSTOM, nullptr, GUARD_NONE, set_climb_ias_max},
    {"ClimbIasMin", CFG_FLOAT, &ClimbIasMin, GUARD_NONE, nullptr},
    {"ClimbRate", CFG_CUSTOM, nullptr, GUARD_NONE, set_climb_rate},
    {"ClimbTas", CFG_CUSTOM, nullptr, GUARD_NONE, set_climb_tas},
    {"CostIndex", CFG_CUSTOM, nullptr, GUARD_NONE, set_cost_index},
    {"CruiseIas", CFG_CUSTOM, nullptr, GUARD_NONE, set_cruise_ias},
    {"CruiseIasMax", CFG_CUSTOM, nullptr, GUARD_NONE, set_cruise_ias_max},
    {"CruiseIasMin", CFG_FLOAT, &CruiseIasMin, GUARD_NONE, nullptr},
    {"CruiseTas", CFG_CUSTOM, nullptr, GUARD_NONE, set_cruise_tas},
    {"DescAltRest", CFG_FLOAT, &DescAltRest, GUARD_NONE, nullptr},
    {"DescSpdRest", CFG_FLOAT, &DescSpdRest, GUARD_NONE, nullptr},
    {"DescentIas", CFG_CUSTOM, nullptr, GUARD_NONE, set_descent_ias},
    {"DescentIasMax", CFG_CUSTOM, nullptr, GUARD_NONE, set_descent_ias_max},
    {"DescentIasMin", CFG_FLOAT, &descent_ias_min, GUARD_NONE, nullptr},
    {"DescentRate", CFG_CUSTOM, nullptr, GUARD_NONE, set_descent_rate},
    {"DescentTas", CFG_CUSTOM, nullptr, GUARD_NONE, set_descent_tas},
    {"EngThrust", CFG_CUSTOM, nullptr, GUARD_NONE, set_eng_thrust},
    {"FPA", CFG_FLOAT, &FPA, GUARD_NONE, nullptr},
    {"HoldLegMins", CFG_CUSTOM, nullptr, GUARD_NONE, set_hold_leg_mins},
    {"LDGFLAPS", CFG_INT, &LDGFLAPS, GUARD_NONE, nullptr},
    {"TOFLAPS", CFG_INT, &TOFLAPS, GUARD_NONE, nullptr},
    {"TOFLAPSRANGE", CFG_CUSTOM, nullptr, GUARD_NONE, set_to_flaps_range},
    {"V1", CFG_INT, &V1, GUARD_NONE, nullptr},
    {"VR", CFG_INT, &VR, GUARD_NONE, nullptr},
    {"V2", CFG_INT, &V2, GUARD_NONE, nullptr},
    {"VREF", CFG_INT, &VREF, GUARD_NONE, nullptr},
    {"VREFMIN", CFG_INT, &VREFMIN, GUARD_NONE, nullptr},
    {"VREFMID", CFG_INT, &VREFMID, GUARD_NONE, nullptr},
    {"VREFMAX", CFG_INT, &VREFMAX, GUARD_NONE, nullptr},
    {"MaxCruise", CFG_INT, &MaxCruise, GUARD_NONE, nullptr},
    {"MaxVnavClimbRate", CFG_FLOAT, &MaxVnavClimbRate, GUARD_NONE, nullptr},
    {"MinVnavClimbRate", CFG_FLOAT, &MinVnavClimbRate, GUARD_NONE, nullptr},
    {"MaxVnavDescRate", CFG_FLOAT, &MaxVnavDescRate, GUARD_NONE, nullptr},
    {"MinVnavDescRate", CFG_FLOAT, &MinVnavDescRate, GUARD_NONE, nullptr},
    {"MinVnavClimbIas", CFG_FLOAT, &MinVnavClimbIas, GUARD_NONE, nullptr},
    {"MinVnavIas", CFG_FLOAT, &MinVnavIas, GUARD_NONE, nullptr},
    {"MinVnavRadioAlt", CFG_FLOAT, &MinVnavRadioAlt, GUARD_NONE, nullptr},
    {"ModelId", CFG_TEXT, &ModelId, GUARD_NONE, nullptr},
    {"EngId", CFG_TEXT, &EngId, GUARD_NONE, nullptr},
    {"PerformanceData", CFG_TEXT, &PerformanceData, GUARD_NONE, nullptr},
    {"ShowFloatingTodBodIndicators", CFG_INT, &ShowFloatingTodBodIndicators, GUARD_NONE, nullptr},
    {"VnavSetMachCruiseSpd", CFG_INT, &VnavSetMachCruiseSpd, GUARD_NONE, nullptr},
    {"VnavSetSpdRestDist", CFG_INT, &VnavSetSpdRestDist, GUARD_ABOVE_ZERO, nullptr},
    {"ResetApHdg", CFG_INT, &ResetApHdg, GUARD_NONE, nullptr},
    {"DU1000Style", CFG_UPPER_TEXT, &DU1000Style, GUARD_NONE, nullptr},
    {"DispFPV", CFG_INT, &DispFPV, GUARD_NONE, nullptr},

    {"EFS50HsiMode", CFG_CUSTOM, nullptr, GUARD_NONE, set_efs50_hsi_mode},
    {"EFS50NavMode", CFG_CUSTOM, nullptr, GUARD_NONE, set_efs50_nav_mode},
    {"DU1000EHSIMode", CFG_CUSTOM, nullptr, GUARD_NONE, set_du1000_ehsi_mode},
    {"HWB737NDMode", CFG_CUSTOM, nullptr, GUARD_NONE, set_b737_nd_mode},
    {"HWMD11NDMode", CFG_CUSTOM, nullptr, GUARD_NONE, set_md11_nd_mode},
    {"MD80EHSIMode", CFG_CUSTOM, nullptr, GUARD_NONE, set_md80_ehsi_mode},
    {"PROLINE4MFDMode", CFG_CUSTOM, nullptr, GUARD_NONE, set_proline4_mfd_mode},

#define VEK_COLOUR_KEYS(prefix, part)                                                          \
  {#prefix #part "ColorRed", CFG_INT, &prefix##part##ColorRed, GUARD_COLOUR, nullptr},          \
      {#prefix #part "ColorGreen", CFG_INT, &prefix##part##ColorGreen, GUARD_COLOUR, nullptr},  \
      {#prefix #part "ColorBlue", CFG_INT, &prefix##part##ColorBlue, GUARD_COLOUR, nullptr},
    VEK_COLOUR_KEYS(A320EADI, Bkgrd) VEK_COLOUR_KEYS(A320EADI, Tape)
    VEK_COLOUR_KEYS(A320EADI, Sky) VEK_COLOUR_KEYS(A320EADI, Grnd)
    VEK_COLOUR_KEYS(B777PFD, Bkgrd) VEK_COLOUR_KEYS(B777PFD, Tape)
    VEK_COLOUR_KEYS(B777PFD, Sky) VEK_COLOUR_KEYS(B777PFD, Grnd)
    VEK_COLOUR_KEYS(C17Mfd, Bkgrd) VEK_COLOUR_KEYS(C17Mfd, Sky) VEK_COLOUR_KEYS(C17Mfd, Grnd)
    VEK_COLOUR_KEYS(HWB737ND, Bkgrd) VEK_COLOUR_KEYS(HWMD11ND, Bkgrd)
    VEK_COLOUR_KEYS(P1000MFD, Bkgrd) VEK_COLOUR_KEYS(EFS50EHSI, Bkgrd)
    VEK_COLOUR_KEYS(DU1000EHSI, Bkgrd) VEK_COLOUR_KEYS(PROLINE4MFD, Bkgrd)
    VEK_COLOUR_KEYS(MD80EHSI, Bkgrd)
#undef VEK_COLOUR_KEYS
};
const size_t aircraft_cfg_key_count = sizeof(aircraft_cfg_keys) / sizeof(aircraft_cfg_keys[0]);

namespace {

int32_t in_range_or(int32_t mode, int32_t low, int32_t high, int32_t fallback) {
  return mode >= low && mode <= high ? mode : fallback;
}

// White-space-separated words of `line`, at most `max_words`.
size_t split_words(std::string_view line, std::string_view* words, size_t max_words) {
  size_t n = 0, pos = 0;
  while (n < max_words) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r')) ++pos;
    if (pos >= line.size()) break;
    size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '\r') ++pos;
    words[n++] = line.substr(start, pos - start);
  }
  return n;
}

}  // namespace

void apply_aircraft_cfg_line(std::string_view line) {
  std::string key, value;
  if (!split_config_line(line, key, value)) return;
  if (apply_config_key(shared_setting_keys, shared_setting_key_count, key, value)) return;
  apply_config_key(aircraft_cfg_keys, aircraft_cfg_key_count, key, value);
}

void read_airac_header(std::FILE* file) {
  std::string line;
  bool first = true;
  while (read_limited_line(file, aircraft_cfg_line_limit, line)) {
    if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);  // UTF-8 byte-order mark
    first = false;
    std::string_view words[7];
    size_t n = split_words(line, words, 7);
    if (n == 0 || words[0] != ";AIRAC") continue;
    nav_data_cycle.assign("AIRAC ");
    nav_data_cycle.append(words[3]);
    nav_data_active.assign(words[4].substr(0, 5));
    nav_data_active.append(" - ");
    nav_data_active.append(words[6].substr(0, 5));
    if (words[6].size() > 5) {
      nav_data_active.push_back('/');
      nav_data_active.append(words[6].substr(words[6].size() - 2));
    }
    break;
  }
}

void read_nav_data_cycle() {
  std::FILE* file = open_regular_file(vek_path("\\vek\\Navdata\\navs.txt"), nav_file_max_bytes);
  if (!file) return;
  read_airac_header(file);
  std::fclose(file);
}

void validate_start_modes() {
  efs50_ehsi_mode = in_range_or(efs50_ehsi_mode, 1, 7, 1);
  EFS50NavMode = in_range_or(EFS50NavMode, 1, 2, 1);
  du1000_ehsi_mode = in_range_or(du1000_ehsi_mode, 0, 3, 0);
  b737_nd_mode = in_range_or(b737_nd_mode, 1, 7, 1);
  md11_nd_mode = in_range_or(md11_nd_mode, 2, 5, 3);  // MAP: 1 is no MD-11 mode
  md80_ehsi_mode = in_range_or(md80_ehsi_mode, 0, 3, 0);
  proline4_mfd_format = in_range_or(proline4_mfd_format, 0, 3, 0);
}

void read_parking_lines(std::FILE* file, std::string_view name) {
  parking_lat = parking_lon = parking_heading = 0.0;
  std::string line;
  bool ended = true;
  while (read_limited_line(file, 300, line, &ended)) {
    std::string_view words[4];
    size_t n = split_words(line, words, 4);
    if (n == 0 || words[0] != name) continue;
    // Latitude, longitude and heading; a word that does not read or lies outside its range,
    // a short line, or a last line without its line end (cut, perhaps in its heading)
    // refuses the stand, as if it were not in the file.
    constexpr double lo[] = {-90.0, -180.0, 0.0}, hi[] = {90.0, 180.0, 360.0};
    double v[3] = {};
    bool whole = n == 4 && ended;
    for (size_t w = 1; w < 4 && whole; ++w)
      whole = config_number(words[w], v[w - 1]) && v[w - 1] >= lo[w - 1] && v[w - 1] <= hi[w - 1];
    if (!whole) {
      add_module_message("Parking position '" + std::string(name.substr(0, 32)) + "' out of range, ignored");
      return;
    }
    parking_lat = v[0];
    parking_lon = v[1];
    parking_heading = v[2] == 360.0 ? 0.0 : v[2];
    break;
  }
}

void read_parking_position(std::string_view name) {
  parking_lat = parking_lon = parking_heading = 0.0;
  if (!is_safe_file_name(ParkingFile)) return;
  std::FILE* file = open_regular_file(vek_path("\\vek\\Aircraft\\" + ParkingFile), text_file_max_bytes);
  if (!file) return;
  read_parking_lines(file, name);
  std::fclose(file);
}

double aircraft_max_ias() {
  if (aircraft_file_max_ias >= 1.0) return aircraft_file_max_ias;
  const double live = get_barber_pole_speed_raw() / 128.0;
  return std::isfinite(live) && live >= 1.0 ? live : 0.0;
}

double aircraft_max_ias_now() {
  const double live = get_barber_pole_speed_raw() / 128.0;
  const bool known = std::isfinite(live) && live >= 1.0;
  if (aircraft_file_max_ias >= 1.0) return known ? std::min(live, aircraft_file_max_ias) : aircraft_file_max_ias;
  return known ? live : 0.0;
}

void read_aircraft_config() {
  if (aircraft_config_loaded || aircraft_name.empty()) return;
  aircraft_config_loaded = 1;
  read_nav_data_cycle();

  // The name comes from a gauge parameter: it must stay one file in the aircraft folder.
  std::string path = vek_path("\\vek\\Aircraft\\" + aircraft_name + ".cfg");
  std::FILE* file = is_safe_file_name(aircraft_name) ? open_regular_file(path, text_file_max_bytes) : nullptr;
  if (file) {
    std::string line;
    begin_file_messages(aircraft_name + ".cfg");
    bool lines = false, reads = false;
    while (read_limited_line(file, aircraft_cfg_line_limit, line)) {
      lines = true;
      reads = reads || config_line_reads(line);
      apply_aircraft_cfg_line(line);
    }
    end_file_messages();
    std::fclose(file);
    if (lines && !reads) post_unread_file(path);
  } else if (!is_safe_file_name(aircraft_name)) {
    add_module_message("Aircraft file '" + aircraft_name + ".cfg' refused: not a file name");
  } else if (std::error_code ec; !std::filesystem::exists(path, ec)) {
    add_module_message("Aircraft file '" + path + "' missing");
  }

  validate_start_modes();
  climb_mach_min = ias_to_mach(ClimbIasMin, 15000.0);
  cruise_mach_min = ias_to_mach(CruiseIasMin, 15000.0);
  descent_mach_min = ias_to_mach(descent_ias_min, 15000.0);
  climb_mach_max = ias_to_mach(ClimbIasMax, 15000.0);
  cruise_mach_max = ias_to_mach(CruiseIasMax, 15000.0);
  descent_mach_max = ias_to_mach(descent_ias_max, 15000.0);
  if (!PerformanceData.empty()) load_aircraft_perf_file();
  apply_cost_index_speeds();
  CruiseMach = 0.0;
  DescentMach = 0.0;
  ClimbTas = ias_to_tas(ClimbIas, 15000.0);
  DescentTas = ias_to_tas(DescentIas, 15000.0);
}
