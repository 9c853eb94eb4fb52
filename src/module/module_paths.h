// Paths under the simulator folder and the recorded aircraft name.
#pragma once

#include <string>
#include <string_view>

// The simulator folder, recorded on install from the current directory; prefix of
// every "\vek\..." path.
extern std::string sim_root_path;

// The aircraft name: the first gauge parameter that names an aircraft (empty until
// one is recorded).
extern std::string aircraft_name;

// Records the current directory as `sim_root_path` while it is still empty.
void record_sim_root_path();

// Maps a simulator path such as "\vek\navdata\apts.txt" to a file system path:
// `sim_root_path` plus the path with "\" turned into "/". Each folder and file name
// that exists is matched case-insensitively; names that do not exist are kept as given.
std::string vek_path(std::string_view sim_path);

// True when `name` is one file name that stays inside its folder: not empty, no "/",
// "\", ":", no "..", no control characters.
bool is_safe_file_name(std::string_view name);
