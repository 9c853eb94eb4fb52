// Helpers shared by the navigation-database tests.
#pragma once

#include <string>

#include "module/module_messages.h"
#include "module/module_paths.h"
#include "navdb/navdb.h"
#include "navdb/navdb_load.h"

inline void load_sample_database() {
  sim_root_path = VEK_NAVDB_SAMPLE_ROOT;
  load_navigation_database();
}

inline void load_edge_database() {
  sim_root_path = std::string(VEK_NAVDB_TEST_DIR) + "/edge";
  load_navigation_database();
}

inline int count_messages(const std::string& text) {
  int n = 0;
  for (int i = 1; i <= module_message_count; ++i) n += module_messages[i] == text;
  return n;
}
