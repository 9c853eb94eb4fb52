#include "cdu/smiths/route_fields.h"

#include <cstring>

#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/plan_files.h"
#include "navdb/navdb.h"

int smiths_load_stored_plan(int n) {
  if (n < 1 || n > stored_plan_count || n >= STORED_PLAN_CAPACITY) return 0;
  fpl_message.clear();
  if (!load_plan_file(stored_plans[n].name, 0)) {
    smiths_scratchpad_msg = fpl_message.empty() ? "Unable to load FP" : fpl_message;
    return 0;
  }
  build_route_rows();
  bool active = fpl_changed_state >= 3;
  if (fpl_edit_last >= 0 && std::strcmp(fpl_edit[0].type, "APT") == 0 && load_airport_block(fpl_edit[0].ident, 1))
    (active ? rte_origin_mod : rte_origin) = fpl_edit[0].ident;
  for (int i = fpl_edit_last; i >= 1; --i) {
    if (std::strcmp(fpl_edit[i].type, "APT") != 0) continue;
    if (load_airport_block(fpl_edit[i].ident, 2)) (active ? rte_dest_mod : rte_dest) = fpl_edit[i].ident;
    break;
  }
  smiths_reset_dep_selection();
  smiths_reset_arr_selection();
  return 1;
}
