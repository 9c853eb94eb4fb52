// What the display frame benchmarks share: the host's token reader at the dense point
// of the synthetic database, the database load and a plan ahead of the aircraft.
// The database comes from scripts/gen_navdb.py; its folder is VEK_NAVDB_BENCH_ROOT
// (default /tmp/vek_navdb_bench).
#pragma once

#include <cstdio>
#include <cstdlib>

#include "flightplan/flight_plan.h"
#include "geo/great_circle.h"
#include "module/module_paths.h"
#include "bench_database.h"
#include "navdb/navdb.h"
#include "platform/host/gauge_host.h"
#include "platform/host/sim_token_ids.h"

namespace nd_frame_bench {

constexpr double kDenseLat = 50.0, kDenseLon = 8.0;

inline double tick = 0;

inline void read_token(TokenVar* var) {
  switch (var->id) {
    case TOK_TICK_COUNTER: var->value = tick; break;
    case TOK_LATITUDE: var->value = kDenseLat * 111130.555557; break;
    case TOK_LONGITUDE: var->value = kDenseLon * 781874935307.4; break;
    default: var->value = 0; break;
  }
}

inline PanelServiceTable services{};

// Loads the database once and serves the tokens.
inline void start() {
  services.read_token_var = read_token;
  ImportTable.panel_services = &services;
  load_bench_database();
}

// Five waypoints 20 NM apart heading north from the dense point.
inline void plan_ahead() {
  clear_fpl_active();
  for (int32_t i = 0; i < 5; ++i) {
    clear_fpl_record(fpl_active[i]);
    std::snprintf(fpl_active[i].ident, sizeof fpl_active[i].ident, "WPT%d", i);
    compute_dest_point(kDenseLat, kDenseLon, 0, 20.0 * i, fpl_active[i].lat, fpl_active[i].lon);
  }
  set_end_record(fpl_active[5]);
  fpl_active_last = 4;
  fpl_active_index = 1;
  fpl_changed_state = 3;
}

}  // namespace nd_frame_bench
