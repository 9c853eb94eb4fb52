#include "guidance/cost_index_targets.h"

#include "guidance/config_line.h"
#include "guidance/settings.h"

int32_t climb_ias_from_ci = -1, cruise_ias_from_ci = -1, descent_ias_from_ci = -1;

namespace {

void place_target(int32_t& target, int32_t file_value, int32_t& from_ci, double min, double max, int32_t c) {
  if (target != file_value && target != from_ci) return;
  target = truncate_to_int((max - min) / 200.0 * c + min);
  from_ci = target;
}

}  // namespace

void apply_cost_index_speeds() {
  if (CostIndex <= -1) return;
  int32_t c = CostIndex > 200 ? 200 : CostIndex;
  place_target(ClimbIas, climb_ias_file, climb_ias_from_ci, ClimbIasMin, ClimbIasMax, c);
  place_target(CruiseTas, cruise_ias_file, cruise_ias_from_ci, CruiseIasMin, CruiseIasMax, c);
  place_target(DescentIas, descent_ias_file, descent_ias_from_ci, descent_ias_min, descent_ias_max, c);
}
