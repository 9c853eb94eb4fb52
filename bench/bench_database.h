// The navigation database of the benchmarks: scripts/gen_navdb.py's output in the folder
// VEK_NAVDB_BENCH_ROOT (default /tmp/vek_navdb_bench). Without it a benchmark would time
// empty tables, so it refuses to run.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "module/module_paths.h"
#include "navdb/navdb.h"
#include "navdb/navdb_load.h"

inline const char* bench_database_root() {
  const char* root = std::getenv("VEK_NAVDB_BENCH_ROOT");
  return root ? root : "/tmp/vek_navdb_bench";
}

// Exits with status 2 and the generator's command unless a database is loaded.
inline void refuse_without_database() {
  if (nav_airport_count > 0) return;
  std::fprintf(stderr, "no navigation database under %s: run scripts/gen_navdb.py %s\n", bench_database_root(),
               bench_database_root());
  std::exit(2);
}

inline void load_bench_database() {
  if (navdb_loaded) return;
  sim_root_path = bench_database_root();
  load_navigation_database();
  refuse_without_database();
}
