// PERF INIT and PERF LIMITS: entries taken and refused as the pilot sees them, what the
// settings then hold, and ERASE returning to the executed values.
#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "guidance/flight_log.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"

namespace {

class PerfPagesTest : public CduTest {
 protected:
  void open_perf(bool active_route) {
    start();
    smiths_scratchpad.clear();
    smiths_scratchpad_msg.clear();
    if (active_route) {
      press("RTE");
      enter("KSEA", "L1");
      enter("KPDX", "R1");
      press("NEXT");
      enter("OLM", "R1");
      press("R6");
      press("EXEC");
    }
    smiths_page = SMITHS_PAGE_PERF_INIT;
    smiths_perf_page_no = 1;
    frames(1);
  }
  // Sets the scratchpad as typed (signs included) and presses `key`.
  void put(const std::string& text, const std::string& key) {
    smiths_scratchpad = text;
    smiths_scratchpad_msg.clear();
    press(key);
  }
};

struct EntryCase {
  const char* entry;
  const char* key;
  bool taken;
  int32_t* value;
  int32_t expected;  // the value afterwards
};

}  // namespace

TEST_F(PerfPagesTest, InitEntriesTakenAndRefused) {
  open_perf(false);
  EXPECT_EQ(title(), "PERF  INIT");
  const EntryCase cases[] = {
      {"FL350", "R1", true, &cruise_alt, 35000}, {"350", "R1", true, &cruise_alt, 35000},
      {"37000", "R1", true, &cruise_alt, 37000}, {"0", "R1", false, &cruise_alt, 37000},
      {"FL", "R1", false, &cruise_alt, 37000},   {"99999", "R1", false, &cruise_alt, 37000},
      {"0", "L5", true, &CostIndex, 0},          {"00", "L5", false, &CostIndex, 0},
      {"201", "L5", false, &CostIndex, 0},       {"-1", "L5", true, &CostIndex, -1},
      {"120", "L5", true, &CostIndex, 120},      {"5000", "R5", true, &TransAlt, 5000},
      {"120000", "R5", false, &TransAlt, 5000},  {"270/35", "R2", true, &crz_wind_speed, 35},
      {"27/35", "R2", false, &crz_wind_speed, 35}, {"999/1000", "R2", false, &crz_wind_speed, 35},
  };
  for (const EntryCase& c : cases) {
    put(c.entry, c.key);
    EXPECT_EQ(*c.value, c.expected) << c.entry << " on " << c.key;
    EXPECT_EQ(bottom(), c.taken ? "" : "INVALID ENTRY") << c.entry << " on " << c.key;
  }
  EXPECT_EQ(at(222, 33), "FL370");
  EXPECT_EQ(at(0, 165), "120");
  EXPECT_EQ(at(200, 66), "270\xC2\xB0/ 35");
  EXPECT_EQ(at(210, 165), " 5000");
  put("", "R3");  // empty: nothing, no message
  EXPECT_EQ(bottom(), "");
  put("0", "R3");
  EXPECT_DOUBLE_EQ(toc_oat, 15.0 - 1.98 * 37);
  put("", "L3");
  EXPECT_EQ(bottom(), "INVALID ENTRY");
}

TEST_F(PerfPagesTest, KilogramWeightsAndSpeedLimits) {
  open_perf(false);
  WeightUnit = "KGS";
  put("150", "L3");
  EXPECT_NEAR(zero_fuel_weight, 330693.39, 0.01);
  EXPECT_EQ(at(0, 99), "150.0");
  put("950", "L3");
  EXPECT_EQ(bottom(), "INVALID ENTRY");
  EXPECT_NEAR(zero_fuel_weight, 330693.39, 0.01);
  press("NEXT");
  EXPECT_EQ(title(), "PERF  LIMITS");
  put("320/.8", "R1");  // the row's maximum first: a minimum is never above it
  put("250/.7", "L2");
  EXPECT_DOUBLE_EQ(ClimbIasMin, 250);
  EXPECT_DOUBLE_EQ(climb_mach_min, 0.7);
  EXPECT_EQ(at(0, 71).substr(0, 9), "250 /.700");
  put("250/78", "R3");
  EXPECT_EQ(bottom(), "INVALID ENTRY");
  EXPECT_EQ(smiths_scratchpad, "250/78");
  press("NEXT");
  EXPECT_EQ(title(), "PERF  INIT");
}

// The slots keep the values from before the first change since EXEC: a second entry and
// a refused one leave them, ERASE returns to them, and after EXEC the new values stay.
TEST_F(PerfPagesTest, EraseReturnsToTheExecutedValues) {
  open_perf(true);
  const int32_t executed_alt = cruise_alt, executed_ci = CostIndex;
  ASSERT_EQ(fpl_changed_state, 3);
  put("FL350", "R1");
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(at(0, 198), "< ERASE");
  put("FL370", "R1");
  put("60", "L5");
  put("201", "L5");
  put("", "L6");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(cruise_alt, executed_alt);
  EXPECT_EQ(CostIndex, executed_ci);
  put("FL350", "R1");
  put("70", "L5");
  press("EXEC");
  put("FL390", "R1");
  put("", "L6");
  EXPECT_EQ(cruise_alt, 35000);
  EXPECT_EQ(CostIndex, 70);
}
