#include "cdu/smiths/route_fields.h"

#include <cstring>

#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/plan_files.h"
#include "flightplan/route_entry.h"
#include "navdb/navdb.h"

int smiths_load_stored_plan(int n) {
  if (n < 1 || n > stored_plan_count || n >= STORED_PLAN_CAPACITY) return 0;
  fpl_message.clear();
  if (!load_plan_file(stored_plans[n].name, 0)) {
    smiths_scratchpad_msg = fpl_message.empty() ? "Unable to load FP" : fpl_message;
    return 0;
  }
  build_route_rows();
  fpl_take_plan_airports(fpl_changed_state >= 3);
  smiths_reset_dep_selection();
  smiths_reset_arr_selection();
  return 1;
}
