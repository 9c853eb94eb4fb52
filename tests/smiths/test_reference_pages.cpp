// FIX INFO, TAKEOFF REF, APPROACH REF, SELECT WAYPOINT and RTE HOLD: entries taken and
// refused as the pilot sees them, and what the records, settings and plan then hold.
#include <fstream>
#include <vector>

#include "cdu_fixture.h"
#include "cdu/smiths/refnav_select.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/settings.h"
#include "module/sim_vars.h"

namespace {

class ReferencePagesTest : public CduTest {
 protected:
  void clear_pad() {
    while (!smiths_scratchpad.empty() || !smiths_scratchpad_msg.empty()) press("CLR");
  }
  // KSEA to KPDX with `fixes` typed on RTE page 2, activated and executed when asked.
  void route(std::vector<std::string> fixes, bool activate) {
    start();
    press("RTE");
    enter("KSEA", "L1");
    enter("KPDX", "R1");
    if (!fixes.empty()) press("NEXT");
    for (std::size_t i = 0; i < fixes.size(); ++i) enter(fixes[i], "R" + std::to_string(i + 1));
    if (!activate) return;
    press("R6");
    press("EXEC");
  }
  // Appends intersections named `ident`, n of them, to the copied database.
  void add_candidates(const std::string& ident, int n) {
    std::ofstream out(folder_ + "/vek/navdata/ints.txt", std::ios::app);
    for (int i = 0; i < n; ++i) out << ident << " " << 46.0 + 0.01 * i << " -122.500000\n";
  }
};

struct PairCase {
  const char* entry;
  const char* message;  // "" when taken
  double radial, dist;  // pair 1 afterwards
};

}  // namespace

TEST_F(ReferencePagesTest, FixInfoPairsTakenAndRefused) {
  start();
  press("FIX");
  EXPECT_EQ(title(), "FIX INFO");
  EXPECT_EQ(boxes(), 5);
  enter("OLM", "L2");  // no fix yet: nothing
  EXPECT_EQ(bottom(), "OLM");
  clear_pad();
  enter("OLM", "L1");
  EXPECT_EQ(at(5, 33), "OLM");
  EXPECT_STREQ(fix_info[1].ident, "OLM");
  const PairCase cases[] = {
      {"090/15", "", 90, 15},        {"/20", "", 90, 20},          {"000/10", "", 360, 10},
      {"360/10", "", 360, 10},       {"361/10", "INVALID ENTRY", 360, 10}, {"90/10", "INVALID ENTRY", 360, 10},
      {"090/999", "INVALID ENTRY", 360, 10}, {"ABC/10", "INVALID ENTRY", 360, 10},
      {"270", "", 270, 10},          {"090/", "", 90, 10},         {"090/10.000000", "INVALID ENTRY", 90, 10},
      {"090/2E1", "INVALID ENTRY", 90, 10}, {"090/0X1F", "INVALID ENTRY", 90, 10},
      {"090/12/7", "INVALID ENTRY", 90, 10}, {"1.5/10", "INVALID ENTRY", 90, 10},
      {"090/1 2", "INVALID ENTRY", 90, 10}, {"/", "INVALID ENTRY", 90, 10},
  };
  for (const PairCase& c : cases) {
    clear_pad();
    enter(c.entry, "L2");
    EXPECT_EQ(bottom(), c.message[0] ? c.message : "") << c.entry;
    EXPECT_EQ(smiths_scratchpad, c.message[0] ? c.entry : "");
    EXPECT_EQ(fix_info[1].radial[0], c.radial) << c.entry;
    EXPECT_EQ(fix_info[1].dist[0], c.dist) << c.entry;
  }
  EXPECT_EQ(line(66), "090 | 10.0");  // on the ground: no ETA
  EXPECT_EQ(at(5, 99), "---");
  clear_pad();
  press("NEXT");
  EXPECT_EQ(at(230, 0), "2 / 2");
  enter("KSEA", "L1");
  EXPECT_STREQ(fix_info[2].type, "A");
  press("DEL");
  press("L1");
  EXPECT_EQ(fix_info[2].ident[0], '\0');
  enter("XXXXX", "L1");
  EXPECT_EQ(bottom(), "NOT IN DATABASE");
}

TEST_F(ReferencePagesTest, FixInfoEtaInFlightAcrossMidnight) {
  start();
  host_.aircraft().state().on_ground = false;
  host_.aircraft().state().altitude_ft = 1000;
  host_.aircraft().state().ias_kt = 240;
  press("FIX");
  enter("OLM", "L1");
  // A point ahead, two and a half minutes from the aircraft at its ground speed.
  fix_info[1].lat = host_.aircraft().state().lat;
  fix_info[1].lon = host_.aircraft().state().lon;
  ASSERT_GT(ground_speed, 75.0);
  enter("360/" + std::to_string(int(ground_speed * 2.5 / 60.0)), "L2");
  host_.aircraft().set_zulu_time(23, 59);
  frames(40);  // the clock is sampled once in a cycle of frames
  EXPECT_EQ(at(122, 66), "0001Z");
}

TEST_F(ReferencePagesTest, TakeoffAndApproachEntries) {
  start();
  struct Case {
    const char* entry;
    const char* key;
    const char* message;
  };
  auto run = [this](const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      clear_pad();
      enter(c.entry, c.key);
      EXPECT_EQ(bottom(), c.message) << c.entry;
    }
  };
  press("L6");  // IDENT to INIT/REF INDEX
  press("L5");
  EXPECT_EQ(title(), "APPROACH REF");
  run({{"30/150", "R4", "INVALID ENTRY"}, {"30/145", "R4", ""}, {"5/140", "R4", "INVALID ENTRY"},
       {"00", "R2", "INVALID ENTRY"}, {"0", "R2", "INVALID ENTRY"}, {"50", "R2", "INVALID ENTRY"}});
  EXPECT_EQ(LDGFLAPS, 30);
  EXPECT_EQ(VREF, 145);
  EXPECT_EQ(VREFMID, 145);
  EXPECT_EQ(at(210, 133), "30°/145");
  clear_pad();
  press("R1");
  EXPECT_EQ(smiths_scratchpad, std::to_string(VREFMIN));
  clear_pad();

  TOFLAPSRANGE = ",5,15,";
  press("L6");
  press("L4");
  EXPECT_EQ(title(), "TAKEOFF  REF");
  run({{"5", "L1", ""}, {"15", "L1", ""}, {"10", "L1", "INVALID ENTRY"}, {"05", "L1", "INVALID ENTRY"},
       {"51", "L1", "INVALID ENTRY"}, {"50", "R1", "INVALID ENTRY"}, {"109", "R2", "INVALID ENTRY"}, {"249", "R1", ""}, {"250", "R1", "INVALID ENTRY"}, {"269", "R3", ""},
       {"270", "R3", "INVALID ENTRY"}});
  EXPECT_EQ(TOFLAPS, 15);
  EXPECT_EQ(at(20, 33), "15°");
  EXPECT_EQ(V1, 249);
  EXPECT_EQ(V2, 269);
  EXPECT_TRUE(has("P R E     F L T   S T A T U S"));
  clear_pad();
  press("L5");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_PERF_INIT);
}

TEST_F(ReferencePagesTest, SelectWaypointPagesAndPicks) {
  add_candidates("MANYX", 31);
  route({"MANYX"}, false);  // in the empty row
  EXPECT_EQ(at(40, 0), "SELECT WAYPOINT");
  EXPECT_EQ(at(220, 0), " 1/ 6");
  const struct {
    const char* key;
    const char* page;
  } steps[] = {{"NEXT", " 6/ 6"}, {"NEXT", " 5/ 6"}, {"PREV", " 6/ 6"}, {"PREV", " 1/ 6"}};
  for (const auto& s : steps) {
    press(s.key);
    EXPECT_EQ(at(220, 0), s.page) << s.key;
  }
  press("NEXT");  // page 6 holds candidate 31 alone
  press("R2");
  press("L1");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_RTE);
  EXPECT_STREQ(fpl_edit[0].ident, "KSEA");
  EXPECT_STREQ(fpl_edit[1].ident, "MANYX");
  EXPECT_NEAR(fpl_edit[1].lat, 46.30, 1e-6);
  EXPECT_STREQ(fpl_edit[2].ident, "KPDX");
}

TEST_F(ReferencePagesTest, SelectWaypointForLegsAndRefNavData) {
  add_candidates("MANYX", 13);
  route({}, true);
  press("LEGS");
  enter("MANYX", "L2");
  EXPECT_EQ(at(220, 0), " 1/ 3");
  press("NEXT");
  EXPECT_EQ(at(220, 0), " 3/ 3");
  EXPECT_EQ(line(66), "");  // entry 13 alone
  press("R2");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_SELECT_WPT);
  press("L1");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_LEGS);
  EXPECT_STREQ(fpl_edit[1].ident, "MANYX");
  EXPECT_NEAR(fpl_edit[1].lat, 46.12, 1e-6);

  // REF NAV DATA sets no row and waits for the pick.
  create_user_waypoint(0, "MANYX");
  select_wpt_row = 0;
  select_wpt_return_page = SMITHS_PAGE_REF_NAV_DATA;
  smiths_select_page_no = 1;
  smiths_page = SMITHS_PAGE_SELECT_WPT;
  frames(2);
  EXPECT_EQ(smiths_page, SMITHS_PAGE_SELECT_WPT);
  press("L3");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_REF_NAV_DATA);
  EXPECT_EQ(refnav_ident, "MANYX");
  EXPECT_NEAR(refnav_lat, 46.02, 1e-6);
  EXPECT_EQ(smiths_refnav_mode, 2);
}

TEST_F(ReferencePagesTest, FiveHoldsThenExitHold) {
  route({"ALKIS", "CARRO", "DUBYA", "OLM", "BTG"}, true);
  for (int n = 1; n <= 5; ++n) ASSERT_GT(add_hold(n, 1, 1.0), 0);
  press("EXEC");
  press("HOLD");
  EXPECT_EQ(at(220, 5), "1 / 5");
  EXPECT_FALSE(has("< NEXT HOLD"));
  EXPECT_FALSE(has("EXIT HOLD >"));
  press("R6");
  press("L6");
  EXPECT_EQ(hold_count, 5);
  EXPECT_EQ(smiths_page, SMITHS_PAGE_RTE_HOLD);
  press("PREV");
  EXPECT_EQ(at(0, 33), "BTG");
  remove_hold(5, 0);
  frames(1);
  EXPECT_EQ(at(220, 5), "4 / 4");  // the shown hold stays within the list
  EXPECT_EQ(at(0, 33), "OLM");
  press("R6");  // EXIT HOLD: OLM's hold leaves at EXEC
  EXPECT_EQ(smiths_page, SMITHS_PAGE_LEGS);
  EXPECT_EQ(fpl_changed_state, 4);
  press("HOLD");
  EXPECT_EQ(at(220, 5), "1 / 3");
  press("PREV");
  EXPECT_EQ(at(0, 33), "DUBYA");
}

TEST_F(ReferencePagesTest, RteHoldEntriesExitAndErase) {
  route({"OLM", "BTG"}, true);
  press("HOLD");
  press("L2");  // OLM
  press("L6");
  EXPECT_EQ(title(), "RTE        HOLD");
  struct Case {
    const char* entry;
    const char* key;
    const char* message;
  } cases[] = {{"270/L", "L3", ""},  {"361/R", "L3", "INVALID ENTRY"}, {"270/X", "L3", "INVALID ENTRY"},
               {"270", "L3", "INVALID ENTRY"}, {"ABC/L", "L3", "INVALID ENTRY"}, {"1.5", "L4", ""},
               {"0", "L5", "INVALID ENTRY"}};
  for (const Case& c : cases) {
    clear_pad();
    enter(c.entry, c.key);
    EXPECT_EQ(bottom(), c.message) << c.entry;
  }
  EXPECT_EQ(at(0, 99), "270 /  L  T U R N");
  EXPECT_EQ(at(0, 133), "1.5   M I N");
  EXPECT_EQ(at(0, 166), "--.-  - N M");
  clear_pad();
  enter("6", "L5");
  EXPECT_EQ(at(0, 133), "-.-   M I N");
  EXPECT_EQ(at(0, 166), "6.0 - N M");
  EXPECT_EQ(at(0, 198), "< ERASE");
  EXPECT_EQ(at(150, 198), "EXIT HOLD >");
  press("L6");  // ERASE takes the hold back
  EXPECT_EQ(hold_count, 0);
  EXPECT_EQ(at(0, 33), "- - -");
  press("PREV");
  press("L3");
  press("R6");
  EXPECT_EQ(at(220, 5), "1 / 0");
}
