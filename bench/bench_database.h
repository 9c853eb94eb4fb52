// The navigation database of the benchmarks: scripts/gen_navdb.py's output in the folder
// VEK_NAVDB_BENCH_ROOT (default /tmp/vek_navdb_bench). Without it a benchmark would time
// empty tables, so it refuses to run.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "module/module_paths.h"
#include "navdb/navdb.h"
#include "navdb/navdb_load.h"

inline void load_bench_database() {
  if (navdb_loaded) return;
  const char* root = std::getenv("VEK_NAVDB_BENCH_ROOT");
  sim_root_path = root ? root : "/tmp/vek_navdb_bench";
  load_navigation_database();
  if (nav_airport_count > 0) return;
  std::fprintf(stderr, "no navigation database under %s: run scripts/gen_navdb.py %s\n", sim_root_path.c_str(),
               sim_root_path.c_str());
  std::exit(2);
}
