// DEP/ARR INDEX, DEPARTURES and ARRIVALS: a SID with its transition and runway, a STAR
// with its transition, an approach, paging and the marks.
#include <cstring>

#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "flightplan/procedures.h"

namespace {

class DepArrTest : public CduTest {
 protected:
  void origin_and_dest(const char* origin = "KSEA", const char* dest = "KPDX") {
    start();
    press("RTE");
    enter(origin, "L1");
    enter(dest, "R1");
    press("DEP ARR");
  }
  int find_edit(const char* ident) const {
    for (int i = 0; i <= fpl_edit_last; ++i)
      if (std::strcmp(fpl_edit[i].ident, ident) == 0) return i;
    return -1;
  }
};

}  // namespace

TEST_F(DepArrTest, IndexNamesTheAirportsAndNeedsThem) {
  start();
  press("DEP ARR");
  EXPECT_EQ(title(), "DEP / ARR  INDEX");
  press("L1");
  press("R2");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_DEP_ARR_INDEX);
  press("RTE");
  enter("KSEA", "L1");
  press("DEP ARR");
  EXPECT_EQ(at(90, 33), "KSEA");
  press("R2");  // no destination yet
  EXPECT_EQ(smiths_page, SMITHS_PAGE_DEP_ARR_INDEX);
  press("L1");
  EXPECT_EQ(at(25, 0), "KSEA DEPARTURES");
}

TEST_F(DepArrTest, SidTransitionAndRunwayGoIntoTheRoute) {
  origin_and_dest();
  press("L1");
  EXPECT_EQ(at(230, 0), " 1 /  2");  // six runways
  EXPECT_EQ(at(0, 33), "ALKI1 ");
  EXPECT_EQ(at(0, 66), "JAWBN2");
  EXPECT_EQ(at(240, 33), "16L");
  EXPECT_EQ(at(240, 165), "16R");
  press("NEXT");
  EXPECT_EQ(at(240, 33), "34L");
  press("R5");  // keys beyond the lists do nothing
  press("L3");
  EXPECT_EQ(smiths_dep_rwy_chosen, 0);
  press("NEXT");
  EXPECT_EQ(smiths_dep_sid_state, 0);
  press("L1");  // ALKI1
  EXPECT_EQ(smiths_dep_sid_state, 1);
  EXPECT_EQ(at(0, 33), "ALKI1 ");
  EXPECT_EQ(at(93, 33), "<SEL>");
  EXPECT_EQ(at(10, 53), "T R A N S");
  EXPECT_EQ(at(0, 66), "OLM  ");
  EXPECT_EQ(at(0, 99), "ELN  ");
  EXPECT_EQ(fpl_changed_state, 1);
  EXPECT_STREQ(fpl_edit[1].ident, "ALKIS");
  press("L2");  // transition OLM
  EXPECT_EQ(at(0, 66), "OLM  ");
  EXPECT_EQ(at(93, 66), "<SEL>");
  EXPECT_EQ(at(0, 99), "");
  EXPECT_EQ(find_edit("OLM"), 3);
  press("R1");  // runway 16L
  EXPECT_EQ(at(240, 33), "16L");
  EXPECT_EQ(at(153, 33), "<SEL>");
  EXPECT_EQ(at(240, 66), "");
  press("R6");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_RTE);
  EXPECT_EQ(at(0, 104), "16L");
}

TEST_F(DepArrTest, StarTransitionAndApproach) {
  origin_and_dest();
  press("R2");
  EXPECT_EQ(at(40, 0), "KPDX ARRIVALS");
  EXPECT_EQ(at(220, 0), " 1 /  2");
  EXPECT_EQ(at(0, 33), "HELNS5");
  EXPECT_EQ(at(160, 19), "A P P R O A C H E S");
  EXPECT_EQ(at(190, 33), "I10R 10R");
  EXPECT_EQ(at(190, 66), "R28L 28L");
  EXPECT_EQ(at(190, 85), "R U N W A Y S");
  EXPECT_EQ(at(240, 99), "10R");
  press("NEXT");
  EXPECT_EQ(at(240, 33), "28R");
  press("PREV");
  press("L1");  // HELNS5
  EXPECT_EQ(smiths_arr_star_state, 1);
  EXPECT_EQ(at(93, 33), "<SEL>");
  EXPECT_EQ(at(0, 66), "OLM  ");
  EXPECT_EQ(at(0, 99), "UBG  ");
  int helns = find_edit("HELNS");
  EXPECT_GT(helns, 0);
  EXPECT_STREQ(fpl_edit[helns].segment, "STAR");
  press("L2");  // transition OLM
  EXPECT_EQ(at(93, 66), "<SEL>");
  EXPECT_GT(find_edit("DUBYA"), 0);
  press("R1");  // approach I10R
  EXPECT_EQ(smiths_arr_appr_chosen, 1);
  EXPECT_EQ(at(190, 33), "I10R 10R");
  EXPECT_EQ(at(152, 38), "<SEL>");
  EXPECT_EQ(at(210, 66), "HELNS");
  EXPECT_GT(find_edit("TOWNI"), 0);
  press("R1");  // nothing with an approach chosen
  EXPECT_EQ(smiths_arr_appr_trans_chosen, 0);
  press("R2");  // approach transition HELNS
  EXPECT_EQ(smiths_arr_appr_trans_chosen, 1);
  EXPECT_EQ(at(152, 71), "<SEL>");
  EXPECT_STREQ(fpl_edit[fpl_edit_last].ident, "KPDX");
}

TEST_F(DepArrTest, RunwayChoiceWithoutAStarRebuildsTheLists) {
  origin_and_dest();
  press("R2");
  int last = fpl_edit_last;
  press("R3");  // row 3: the first runway, 10R
  EXPECT_EQ(smiths_arr_rwy_chosen, 1);
  EXPECT_EQ(at(240, 33), "10R");
  EXPECT_EQ(at(153, 33), "<SEL>");
  EXPECT_EQ(fpl_edit_last, last);
  EXPECT_EQ(at(0, 33), "HELNS5");
}

TEST_F(DepArrTest, AnAirportWithoutProceduresShowsNone) {
  origin_and_dest("KTTD", "KBFI");
  press("L1");
  EXPECT_EQ(at(25, 0), "KTTD DEPARTURES");
  EXPECT_EQ(at(0, 33), "- N O N E -");
  press("PREV");
  EXPECT_EQ(at(230, 0), " 1 /  1");
  press("L1");
  EXPECT_EQ(smiths_dep_sid_state, 0);
  press("R5");
  EXPECT_EQ(smiths_dep_rwy_chosen, 0);
  press("L6");
  press("R2");
  EXPECT_EQ(at(40, 0), "KBFI ARRIVALS");
  EXPECT_EQ(at(200, 33), "- N O N E -");  // no approach: the runways would start in row 2
}

TEST_F(DepArrTest, ActiveChoicesAreMarkedAndReopeningShowsTheFullList) {
  origin_and_dest();
  press("L1");
  press("L1");
  press("L2");
  press("R6");
  press("NEXT");
  enter("KPDX", "R2");  // close the discontinuity after the SID
  press("R6");
  press("EXEC");
  ASSERT_EQ(fpl_changed_state, 3);
  press("DEP ARR");
  press("L1");
  EXPECT_EQ(smiths_dep_sid_state, 2);
  EXPECT_EQ(at(0, 33), "ALKI1 ");
  EXPECT_EQ(at(93, 33), "<ACT>");
  EXPECT_EQ(at(0, 66), "JAWBN2");
  press("L2");  // another SID changes the active route
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(at(0, 198), "<ERASE");
  press("L6");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_STREQ(fpl_edit[1].ident, "ALKIS");
}

TEST_F(DepArrTest, TransitionsOfAChosenSidRunOnToPageTwo) {
  origin_and_dest();
  press("L1");
  press("L1");  // ALKI1
  dep_trans_count = 6;
  for (int i = 1; i <= 6; ++i) dep_trans_list[i] = "TR" + std::to_string(i);
  frames();
  EXPECT_EQ(at(230, 0), " 1 /  2");
  EXPECT_EQ(at(0, 33), "ALKI1 ");
  EXPECT_EQ(at(0, 66), "TR1  ");
  EXPECT_EQ(at(0, 165), "TR4  ");
  press("NEXT");
  EXPECT_EQ(at(10, 19), "T R A N S");
  EXPECT_EQ(at(0, 33), "TR5  ");
  EXPECT_EQ(at(0, 66), "TR6  ");
  EXPECT_EQ(at(0, 99), "");
  press("L2");  // TR6
  EXPECT_EQ(pending_sid_trans, "TR6");
  EXPECT_EQ(smiths_dep_page_no, 1);
}

TEST_F(DepArrTest, ApproachesThenRunwaysShareTheRightColumn) {
  origin_and_dest();
  press("R2");
  arr_appr_count = 3;
  arr_appr_list[3] = {"R28R", "28R"};
  arr_rwy_count = 4;
  frames();
  EXPECT_EQ(at(220, 0), " 1 /  2");
  EXPECT_EQ(at(190, 99), "R28R 28R");
  EXPECT_EQ(at(190, 118), "R U N W A Y S");
  EXPECT_EQ(at(240, 132), "10R");
  EXPECT_EQ(at(240, 165), "28L");
  press("NEXT");
  EXPECT_EQ(at(190, 19), "R U N W A Y S");
  EXPECT_EQ(at(240, 33), "10L");
  EXPECT_EQ(at(240, 66), "28R");
  EXPECT_EQ(at(240, 99), "");
  press("R2");  // runway 4
  EXPECT_EQ(pending_arr_rwy, "28R");
  EXPECT_EQ(smiths_arr_rwy_chosen, 1);
}
