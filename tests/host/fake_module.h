// A two-gauge module that drives the host in tests: FAKE_ND draws and takes clicks
// through nested mouse rectangles, FAKE_SERVER publishes a shared variable and listens
// to key events. It records what the host does to it.
#pragma once

#include <string>
#include <vector>

#include "platform/host/gauge_host.h"

extern ModuleLinkage fake_linkage;
extern ModuleImports fake_imports;

struct FakeModuleLog {
  std::vector<std::string> calls;   // "FAKE_ND 2", ... in call order
  std::vector<std::string> clicks;  // click function names
  std::vector<int> events;          // key events the handler saw
  std::string install_cwd;
  std::string nd_parameters;
  double last_tick = -1.0;
  int nd_window_id = -1;
  int inits = 0, deinits = 0;
};

extern FakeModuleLog fake_log;
extern double fake_server_value;

// FAKE_ND mouse list: design size 200 x 150.
//   child 0  (10,10) 40x20           key "A"
//   child 1  (90,40) 100x100         no key
//   parent   (100,50) 80x80
//     child 2  (0,0) 40x40   -> (100,50)   key "1"
//     child 3  (40,0) 40x40  -> (140,50)   key " ", toggles window 4012
constexpr int FAKE_ND_DESIGN_W = 200;
constexpr int FAKE_ND_DESIGN_H = 150;
