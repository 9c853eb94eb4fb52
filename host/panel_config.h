// Panel configuration in the simulator's panel.cfg style:
//   [Window00]
//   ident=0
//   visible=1
//   gauge00=vek1!HW_B737_ND, 0, 0, 400, 500, VC
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace simhost {

struct Placement {
  std::string module;      // text before '!'
  std::string gauge;       // gauge name after '!'
  int x = 0, y = 0, width = 0, height = 0;
  std::string parameters;  // rest of the line after the fifth field, trimmed
};

struct PanelWindow {
  int number = 0;   // NN of [WindowNN]
  int ident = 0;    // ident=, or NN when absent
  bool visible = false;
  std::vector<Placement> gauges;  // in gaugeNN order of the file
};

struct PanelConfig {
  std::vector<PanelWindow> windows;
};

// Reads a panel configuration. Unknown keys and sections are skipped; a malformed window
// header, ident, visible flag or gauge line is refused with "NAME:LINE: message".
bool parse_panel_config(std::istream& in, const std::string& name, PanelConfig* out, std::string* error);
bool read_panel_config(const std::string& path, PanelConfig* out, std::string* error);

}  // namespace simhost
