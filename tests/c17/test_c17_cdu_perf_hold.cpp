// The mission CDU's PERF INIT, PERF LIMITS and STANDARD HOLD pages driven through the
// harness keypad on the simulated host, parked and in flight on the sample plan.
#include <string>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/flight_log.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"
#include "tests/common/sample_flight.h"

namespace {

class C17CduPerfHold : public C17CduTest {
 protected:
  void TearDown() override {
    WeightUnit = weight_unit_;
    C17CduTest::TearDown();
  }
  // A refused entry: the message, the entry kept.
  void expect_refused(const std::string& text, const std::string& key, double bottom_y) {
    enter(text, key);
    EXPECT_EQ(at(0, bottom_y), "INVALID ENTRY") << text << " on " << key;
    EXPECT_EQ(c17_cdu_scratchpad, text) << text;
  }
  std::string weight_unit_ = WeightUnit;
};

TEST_F(C17CduPerfHold, PerfInitWeightsAndCostIndex) {
  press("PERF");
  EXPECT_EQ(at(63, 0), "PERF  INIT");
  EXPECT_EQ(at(220, 0), " 1 /  2");
  WeightUnit = "KGS";
  enter("100", "L3");
  EXPECT_NEAR(zero_fuel_weight, 220462.262, 1e-3);
  EXPECT_EQ(at(0, 99), "100.0");
  EXPECT_TRUE(c17_cdu_scratchpad.empty());
  WeightUnit = "LBS";
  enter("12.5", "L4");
  EXPECT_DOUBLE_EQ(reserve_fuel, 12500.0);
  EXPECT_EQ(at(0, 133), "12.5");
  const double zfw = zero_fuel_weight;
  for (const char* bad : {"1000", "0", "-5", "ABC", "100X", "1E2", "0X1F", ""}) expect_refused(bad, "L3", 227);
  expect_refused("2001", "L4", 227);
  EXPECT_EQ(zero_fuel_weight, zfw);

  struct Case {
    const char* entry;
    bool ok;
    int32_t value;
  };
  for (const Case& c : {Case{"0", true, 0}, Case{"00", false, 0}, Case{"201", false, 0}, Case{"200", true, 200},
                        Case{"-1", true, -1}, Case{"-2", false, 0}, Case{"1.5", false, 0}, Case{"ABC", false, 0}}) {
    const int32_t before = CostIndex;
    enter(c.entry, "L5");
    EXPECT_EQ(CostIndex, c.ok ? c.value : before) << c.entry;
    EXPECT_EQ(c17_cdu_scratchpad_msg.empty(), c.ok) << c.entry;
  }
  enter("80", "L5");
  EXPECT_EQ(at(0, 165), " 80");
}

TEST_F(C17CduPerfHold, PerfInitCruiseAltitudeWindAndTemperatures) {
  press("PERF");
  TransAlt = 18000;
  for (const char* alt : {"FL350", "350", "35000"}) {
    cruise_alt = 0;
    enter(alt, "R1");
    EXPECT_EQ(cruise_alt, 35000) << alt;
    EXPECT_EQ(at(222, 33), "FL350") << alt;
  }
  // Up to the sample aircraft's MaxCruise, 41000 ft.
  enter("41000", "R1");
  EXPECT_EQ(cruise_alt, 41000);
  for (const char* bad : {"41100", "99001", "FL995", "1E10", "0", "-50", "ABC", ""}) {
    enter(bad, "R1");
    EXPECT_EQ(cruise_alt, 41000) << bad;
    EXPECT_EQ(at(0, 227), "INVALID ENTRY") << bad;
  }
  enter("350", "R1");

  enter("270/45", "R2");
  EXPECT_EQ(crz_wind_dir, 270);
  EXPECT_EQ(crz_wind_speed, 45);
  EXPECT_EQ(at(200, 66), "270\xC2\xB0/ 45");
  for (const char* bad : {"27/45", "999/45", "361/10", "ABC/45", "270/1000", "270/X", "270/"})
    expect_refused(bad, "R2", 227);
  EXPECT_EQ(crz_wind_dir, 270);
  enter("360/0", "R2");
  EXPECT_EQ(crz_wind_dir, 360);

  // ISA 0 at 35000 ft: the standard -54.3 C at the top of climb; a deviation in F has no
  // offset, the T/C OAT has.
  enter("0", "R3");
  EXPECT_NEAR(toc_oat, -54.3, 1e-9);
  enter("10", "R3");
  EXPECT_EQ(at(170, 103), "18 \xC2\xB0" "F / 10 \xC2\xB0" "C");
  EXPECT_EQ(at(170, 132), "-48\xC2\xB0" "F / -44\xC2\xB0" "C");
  enter("-40", "R4");
  EXPECT_NEAR(isa_deviation, 14.3, 1e-9);
  EXPECT_EQ(at(170, 132), "-40\xC2\xB0" "F / -40\xC2\xB0" "C");
  expect_refused("ABC", "R3", 227);
  c17_cdu_scratchpad.clear();
  c17_cdu_scratchpad_msg.clear();
  press("R3");
  EXPECT_TRUE(c17_cdu_scratchpad_msg.empty());

  enter("5000", "R5");
  EXPECT_EQ(TransAlt, 5000);
  expect_refused("0.5", "R5", 227);
  EXPECT_EQ(TransAlt, 5000);
}

TEST_F(C17CduPerfHold, PerfLimitsRowsAndPaging) {
  press("PERF");
  press("NEXT");
  EXPECT_EQ(at(63, 0), "PERF  LIMITS");
  EXPECT_EQ(at(220, 0), " 2 /  2");
  ClimbIasMax = 300;
  climb_mach_max = 0.8;
  enter("250/.78", "L2");
  EXPECT_EQ(ClimbIasMin, 250);
  EXPECT_DOUBLE_EQ(climb_mach_min, 0.78);
  EXPECT_EQ(at(0, 71).substr(0, 9), "250 /.780");
  enter("290/.8", "R2");
  EXPECT_EQ(ClimbIasMax, 290);
  EXPECT_DOUBLE_EQ(climb_mach_max, 0.8);
  // Digits only, above zero, the minimum not above the maximum.
  for (const char* bad : {"-50/.780", "25A/.780", "000/.780", "250/.000", "250.7800", "300/.780", "250/.900", "250/"})
    expect_refused(bad, "L2", 227);
  expect_refused("200/.700", "R2", 227);
  EXPECT_EQ(ClimbIasMin, 250);
  EXPECT_EQ(ClimbIasMax, 290);
  enter("260/.7", "L4");  // above the descent maximum Mach
  EXPECT_EQ(at(0, 227), "INVALID ENTRY");
  enter("300/.8", "R4");
  enter("260/.7", "L4");
  EXPECT_EQ(descent_ias_min, 260);
  EXPECT_DOUBLE_EQ(descent_mach_min, 0.7);
  EXPECT_EQ(at(0, 139).substr(0, 9), "260 /.700");
  press("NEXT");
  EXPECT_EQ(at(63, 0), "PERF  INIT");
  press("PREV");
  EXPECT_EQ(at(63, 0), "PERF  LIMITS");
  press("R6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_PROGRESS);
  EXPECT_EQ(smiths_progress_page_no, 2);
  press("PERF");
  press("PREV");
  press("R6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_TAKEOFF_REF);
  press("PERF");
  press("L6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_MSN_INDEX);
}

// In flight on the active route: a changed cost index and cruise altitude make the route
// MOD; ERASE returns the executed values after two changes of each.
TEST_F(C17CduPerfHold, PerfChangesInFlightEraseToTheExecutedValues) {
  load_sample_plan();
  ASSERT_EQ(fpl_changed_state, 3);
  fly_past_alkis();
  CostIndex = 40;
  cruise_alt = 12000;
  press("PERF");
  EXPECT_EQ(at(18, 0), "ACT");
  enter("60", "L5");
  EXPECT_EQ(fpl_changed_state, 4);
  enter("70", "L5");
  enter("FL200", "R1");
  enter("FL220", "R1");
  EXPECT_EQ(at(0, 198), "< ERASE");
  press("L6");
  EXPECT_EQ(CostIndex, 40);
  EXPECT_EQ(cruise_alt, 12000);
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(fpl_active_index, 2);
  EXPECT_EQ(at(0, 198), "< INDEX");
}

TEST_F(C17CduPerfHold, StandardHoldEntriesOnAHoldOfTheRoute) {
  load_sample_plan();
  ASSERT_EQ(fpl_changed_state, 3);
  fly_past_alkis();
  const int place = add_hold(3, 1);
  ASSERT_GT(place, 0);
  c17_hold_index = place;
  c17_hold_row = 3;
  press("HOLD");
  ASSERT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
  EXPECT_EQ(at(18, 0), "STANDARD HOLD");
  EXPECT_EQ(at(201, 0), std::string(fpl_edit[3].ident));
  EXPECT_EQ(at(240, 42), "1.0 / --.-");
  EXPECT_EQ(at(12, 247), "*INSERT");
  HoldRecord& h = hold_list[place];

  enter("360", "L1");
  EXPECT_EQ(h.inbound_course, 360);
  EXPECT_EQ(at(12, 42), "360");
  EXPECT_EQ(c17_cdu_scratchpad, "360");  // kept by the course key
  for (const char* bad : {"361", "360.9", "3E2", "-1", "ABC", "90X"}) expect_refused(bad, "L1", 267);
  EXPECT_EQ(h.inbound_course, 360);
  enter("L", "L2");
  EXPECT_EQ(h.turn, 2);
  EXPECT_EQ(at(12, 83), "L");
  expect_refused("LEFT", "L2", 267);

  enter("0.5", "R1");
  EXPECT_EQ(h.leg_mode, 2);
  EXPECT_DOUBLE_EQ(h.leg_dist, 0.5);
  EXPECT_EQ(at(240, 42), "-.- / 0.5");
  for (const char* bad : {"/0.5", "10", "/10", "0.4", "/ABC"}) expect_refused(bad, "R1", 267);
  enter("/1.5", "R1");
  EXPECT_EQ(h.leg_mode, 1);
  EXPECT_DOUBLE_EQ(h.leg_time, 1.5);
  EXPECT_EQ(at(240, 42), "1.5 / --.-");

  // *INSERT executes the change; the edited hold stays.
  c17_cdu_scratchpad.clear();
  press("L6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_FLT_PLAN);
  EXPECT_EQ(fpl_changed_state, 3);
  ASSERT_GE(hold_count, 1);
  EXPECT_DOUBLE_EQ(hold_list[place].leg_time, 1.5);
  c17_cdu_page = C17_CDU_STANDARD_HOLD;
  frames(1);
  EXPECT_EQ(at(12, 247), "");
  press("L6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
  press("R6");
  EXPECT_EQ(c17_cdu_page, C17_CDU_LAT_REV);
}

TEST_F(C17CduPerfHold, StandardHoldWithoutAHoldRefusesEntries) {
  c17_cdu_page = C17_CDU_STANDARD_HOLD;
  const HoldRecord before = hold_list[1];
  for (const char* key : {"L1", "L2", "R1"}) {
    enter(key[0] == 'L' && key[1] == '2' ? "R" : "090", key);
    EXPECT_EQ(at(0, 267), "INVALID ENTRY") << key;
  }
  EXPECT_EQ(hold_list[1].inbound_course, before.inbound_course);
  EXPECT_EQ(hold_list[1].turn, before.turn);
  EXPECT_EQ(at(12, 42), "");
}

}  // namespace
