// The mission CDU's PROGRESS, DEPARTURES and ARRIVALS pages on the sample plan, parked
// and in flight, driven through the harness keypad on the simulated host.
#include <cstdio>
#include <string>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/procedures.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"
#include "tests/common/sample_flight.h"

namespace {

class C17CduRoute : public C17CduTest {
 protected:
  // ETA texts of a row ("hhmmZ"): a valid clock time.
  void expect_clock(double y) {
    const std::string eta = at(190, y);
    ASSERT_EQ(eta.size(), 5u) << y << " " << eta;
    EXPECT_EQ(eta[4], 'Z');
    EXPECT_LT(std::stoi(eta.substr(0, 2)), 24) << eta;
    EXPECT_LT(std::stoi(eta.substr(2, 2)), 60) << eta;
  }
};

TEST_F(C17CduRoute, ProgressWithoutAPlanShowsOnlyFuelAndWind) {
  press("PROG");
  EXPECT_EQ(at(63, 0), "PROGRESS");
  EXPECT_EQ(at(270, 112), "F U E L    Q T Y");
  EXPECT_FALSE(at(290, 124).empty());
  EXPECT_EQ(at(12, 153), "W I N D         I R S  (   )");
  EXPECT_FALSE(at(0, 165).empty());
  EXPECT_EQ(at(0, 83), "");
  EXPECT_EQ(at(0, 42), "");
  press("L6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX);
}

TEST_F(C17CduRoute, ProgressParkedAndWithoutAnActiveIndex) {
  load_sample_plan();
  press("PROG");
  frames(1);
  // Parked: no ETA on the active and next rows; the destination's blended speed gives one.
  EXPECT_EQ(at(0, 83), "ALKIS");
  EXPECT_EQ(at(0, 124), "CARRO");
  EXPECT_EQ(at(0, 165), "KPDX ");
  EXPECT_EQ(at(190, 83), "");
  EXPECT_EQ(at(190, 124), "");
  expect_clock(165);
  EXPECT_EQ(at(290, 206).empty(), false) << "fuel quantity below the destination";

  // A plan without an active record: no active or next row, never record 999.
  fpl_active_index = FPL_NO_PLAN;
  frames(1);
  EXPECT_EQ(at(0, 83), "");
  EXPECT_EQ(at(0, 124), "");
  EXPECT_EQ(at(0, 165), "KPDX ");
  EXPECT_EQ(at(190, 165), "");

  press("R6");
  EXPECT_EQ(c17_cdu_page, 31);
  frames(1);
  EXPECT_TRUE(blank());
}

TEST_F(C17CduRoute, ProgressInFlightPassedWaypointEtasAroundMidnight) {
  load_sample_plan();
  host_.aircraft().state().zulu_seconds = 23 * 3600.0 + 59 * 60.0 + 30.0;
  fly_past_alkis();
  press("PROG");
  frames(1);
  EXPECT_EQ(at(0, 83), "CARRO");
  EXPECT_EQ(at(0, 124), "OLM  ");
  const std::string from = at(0, 42);
  EXPECT_EQ(from.rfind("ALKIS", 0), 0u) << from;
  for (double y : {83.0, 124.0, 165.0}) {
    expect_clock(y);
    EXPECT_EQ(at(190, y).substr(0, 2), "00") << "past midnight, hour 00";
  }
  last_wpt_altitude = 36000;
  frames(1);
  EXPECT_TRUE(has("FL360"));  // under the ALT header
}

TEST_F(C17CduRoute, DeparturesOfTheSampleOriginChooseSidAndRunway) {
  load_sample_plan();
  press("TOLD");
  press("R5");
  ASSERT_EQ(c17_cdu_page, C17_CDU_DEPARTURES);
  frames(1);
  EXPECT_EQ(at(25, 0), "KSEA DEPARTURES");
  EXPECT_EQ(at(0, 33), "ALKI1 ");
  press("L1");
  EXPECT_EQ(smiths_dep_sid_state, 1);
  EXPECT_EQ(route_sid, "ALKI1");
  frames(1);
  EXPECT_EQ(at(0, 33), "ALKI1 ");
  EXPECT_EQ(at(93, 33), fpl_changed_state == 3 ? "<ACT>" : "<SEL>");
  press("L1");
  EXPECT_EQ(route_sid, "ALKI1") << "L1 is the SID line";
  ASSERT_GE(dep_rwy_count, 1);
  const std::string rwy = dep_rwy_list[1];
  press("R1");
  EXPECT_EQ(route_runway, rwy);
  frames(1);
  EXPECT_EQ(at(240, 33), rwy.size() >= 3 ? rwy : rwy + std::string(3 - rwy.size(), ' '));
  press("R6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_RTE);
}

// Lists of the origin as the selection helpers leave them.
void set_list(std::string* list, int32_t& count, const char* prefix, int n) {
  count = n;
  for (int i = 1; i <= n; ++i) list[i] = prefix + std::to_string(i);
}

TEST_F(C17CduRoute, DeparturesPageTheirListsFiveLinesAPage) {
  route_origin = "KSEA";
  set_list(dep_sid_list, dep_sid_count, "SID", 7);
  set_list(dep_rwy_list, dep_rwy_count, "R", 3);
  press("DEP");
  EXPECT_EQ(at(230, 0), " 1 /  2");
  press("NEXT");
  EXPECT_EQ(at(230, 0), " 2 /  2");
  EXPECT_EQ(at(0, 33), "SID6  ");
  EXPECT_EQ(at(0, 66), "SID7  ");
  EXPECT_EQ(at(0, 99), "");

  // A chosen SID with ten transitions: page 2 lists five from the fifth, each on its key.
  smiths_dep_sid_state = 1;
  pending_sid = "SID1";
  set_list(dep_trans_list, dep_trans_count, "T", 10);
  frames(1);
  EXPECT_EQ(at(230, 0), " 2 /  3");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(at(0, 33 + 33 * i), "T" + std::to_string(5 + i) + "   ") << i;
  press("L5");
  EXPECT_EQ(pending_sid_trans, "T9");
  EXPECT_EQ(smiths_dep_trans_chosen, 1);

  // Nothing to list: one page, never page 0.
  smiths_dep_sid_state = 0;
  dep_sid_count = dep_trans_count = dep_rwy_count = 0;
  press("PREV");
  EXPECT_EQ(at(230, 0), " 1 /  1");
  EXPECT_EQ(at(0, 33), "- N O N E -");
  press("L1");
  EXPECT_EQ(smiths_dep_sid_state, 0);
  press("L6");
  EXPECT_EQ(c17_cdu_page, 24);
  frames(1);
  EXPECT_TRUE(blank());
  press("L6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX) << "INDEX leads back from the blank page";
}

TEST_F(C17CduRoute, ArrivalsApproachTransitionKeysPickTheirLines) {
  route_dest = "KPDX";
  arr_star_count = 0;
  arr_appr_count = 1;
  arr_appr_list[1] = {"I10R", "10R"};
  arr_appr_index = 1;
  smiths_arr_appr_chosen = 1;
  set_list(arr_appr_trans_list, arr_appr_trans_count, "AT", 6);
  press("ARR");
  EXPECT_EQ(at(220, 0), " 1 /  2");
  EXPECT_EQ(at(0, 33), "- N O N E -");
  press("L1");
  EXPECT_EQ(smiths_arr_star_state, 0) << "no STARs";
  EXPECT_EQ(at(210, 74), "  AT1");
  EXPECT_EQ(at(210, 173), "  AT4");
  press("R2");
  EXPECT_EQ(pending_appr_trans, "AT1");
  smiths_arr_appr_trans_chosen = 0;
  set_list(arr_appr_trans_list, arr_appr_trans_count, "AT", 6);  // as the database would list them
  press("NEXT");
  EXPECT_EQ(at(220, 0), " 2 /  2");
  EXPECT_EQ(at(210, 74), "  AT5");
  EXPECT_EQ(at(210, 107), "  AT6");
  press("R2");
  EXPECT_EQ(pending_appr_trans, "AT5");
  EXPECT_EQ(smiths_arr_appr_trans_index, 5);
  press("L6");
  EXPECT_EQ(c17_cdu_page, 24);
}

TEST_F(C17CduRoute, ArrivalsOfTheSampleDestinationChooseAnApproach) {
  load_sample_plan();
  ASSERT_EQ(route_dest, "KPDX");
  smiths_reset_arr_selection();
  list_approaches(FPL_NONE_TEXT, FPL_NONE_TEXT);
  set_dest_proc_entry(FPL_NONE_TEXT, FPL_NONE_TEXT);
  fill_dest_proc_entry(FPL_NONE_TEXT);
  ASSERT_GE(arr_appr_count, 1);
  pending_appr_trans = "OLD";
  press("ARR");
  EXPECT_EQ(at(40, 0), "KPDX ARRIVALS");
  EXPECT_EQ(at(0, 41), "HELNS5");
  press("R1");
  EXPECT_EQ(smiths_arr_appr_chosen, 1);
  EXPECT_EQ(pending_appr_type, arr_appr_list[1].type);
  EXPECT_NE(pending_appr_trans, "OLD") << "the approach transition starts from none";
  press("L1");
  EXPECT_EQ(smiths_arr_star_state, 1);
  EXPECT_EQ(pending_star, "HELNS5");
}

}  // namespace
