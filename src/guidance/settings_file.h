// "\vek\vek.cfg": the module-wide settings, read once at the first initialise.
#pragma once

#include <cstddef>
#include <string_view>

#include "guidance/config_line.h"

// Reads "\vek\vek.cfg" under `sim_root_path` once (guarded by `settings_loaded`): derives
// `ClimbTas` and `DescentTas` from the speed targets, applies every line, sets
// `settings_loaded`, decides `sim_version`, lets the flight log take its start-up
// weights and sets `hdg_change_timer` to 999. A missing file leaves the defaults.
// After the lines it empties the CDUs' entry texts: the route texts to "------", the
// turn-direction text to "DEFAULT", and whatever each unit registered.
void read_vek_cfg();

// A unit's texts that the settings load empties; registered on the unit's install
// (at most eight, each once).
void on_settings_loaded(void (*reset)());

// Sets `sim_version` to 10 when at least three of "fsx.exe", "ace.exe", "simobjects"
// and "Missions" (any case) are entries of the simulator folder; else leaves it.
void detect_sim_version();

// Applies one line of the settings file.
void apply_vek_cfg_line(std::string_view line);

// Keys of the settings file only.
extern const ConfigKey vek_cfg_keys[];
extern const size_t vek_cfg_key_count;

// Keys that the aircraft file reads exactly as the settings file does.
extern const ConfigKey shared_setting_keys[];
extern const size_t shared_setting_key_count;

// Longest piece of a settings-file line read at once.
constexpr size_t vek_cfg_line_limit = 299;
