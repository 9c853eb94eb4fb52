// Pages of the mission CDU in the states where their texts crowd one line: each page's
// picture is taken with shot(), which checks that every text reads where it stands.
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/plan_files.h"
#include "guidance/fms_state.h"
#include "module/display_state.h"
#include "tests/c17/c17_cdu_fixture.h"

namespace {

struct LayoutCase {
  const char* picture;
  std::function<void(C17CduTest&)> to_page;
};

class C17CduLayout : public C17CduTest, public ::testing::WithParamInterface<LayoutCase> {
 public:
  using C17CduTest::enter;
  using C17CduTest::enter_airway_route;
  using C17CduTest::folder_;
  using C17CduTest::load_sample_plan;
  using C17CduTest::press;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.picture; }

// The sample plan changed by a fix put before its third line: a modified route (MOD).
void modified_sample_plan(C17CduTest& t) {
  auto& u = static_cast<C17CduLayout&>(t);
  u.load_sample_plan();
  u.press("LEGS");
  u.enter("SEA", "L3");
}

const LayoutCase CASES[] = {
    {"layout_standard_hold",
     [](C17CduTest& t) {
       auto& u = static_cast<C17CduLayout&>(t);
       u.enter_airway_route();
       u.press("HOLD");
       u.enter("OLM", "L6");
       u.press("L3");
       u.press("HOLD");
     }},
    {"layout_flt_plan_dir_intc",
     [](C17CduTest& t) {
       auto& u = static_cast<C17CduLayout&>(t);
       u.load_sample_plan();
       u.press("DIR INTC");
     }},
    {"layout_flt_plan_hold_at_mod",
     [](C17CduTest& t) {
       modified_sample_plan(t);
       static_cast<C17CduLayout&>(t).press("HOLD");
     }},
    {"layout_flt_plan_dir_intc_mod",
     [](C17CduTest& t) {
       modified_sample_plan(t);
       static_cast<C17CduLayout&>(t).press("DIR INTC");
     }},
    {"layout_flt_plan_map_centre",
     [](C17CduTest& t) {
       auto& u = static_cast<C17CduLayout&>(t);
       u.load_sample_plan();
       c17_mfd_mode = 6;
       u.press("LEGS");
     }},
    {"layout_stored_plans_long_name",
     [](C17CduTest& t) {
       auto& u = static_cast<C17CduLayout&>(t);
       const std::string plans = u.folder_ + "/vek/flightplans/";
       std::filesystem::copy_file(plans + "KSEAKPDX.RTE", plans + "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD.RTE");
       list_plan_files();
       u.press("PLANS");
     }},
};

TEST_P(C17CduLayout, TextsReadWhereTheyStand) {
  const LayoutCase& c = GetParam();
  c.to_page(*this);
  shot(c.picture);
}

INSTANTIATE_TEST_SUITE_P(Pages, C17CduLayout, ::testing::ValuesIn(CASES));

}  // namespace
