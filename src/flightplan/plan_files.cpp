// Plan files under "\vek\flightplans\" and the stored-plan list.
#include <cstring>

#include "flightplan/flight_plan.h"

void list_plan_files() {
  stored_plan_count = 0;
  StoredPlan& entry = stored_plans[1];
  std::memset(&entry, 0, sizeof entry);
  fpl_set_text(entry.name, "NEW FPL");
  fpl_set_text(entry.first_ident, "NEXT FPL");
  entry.last = -1;
  stored_plan_count = 1;
  gnsxls_plan_list_pages = 0;
}
