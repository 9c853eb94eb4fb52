// The mission CDU's entries that share the Smiths CDU's checks: PERF INIT wind and
// temperatures, PERF LIMITS and APPROACH REF speeds, each
// refused with the entry kept and nothing stored when outside what its field shows.
#include <functional>
#include <string>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "guidance/flight_log.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "tests/c17/c17_cdu_fixture.h"

namespace {

struct Case {
  const char* entry;
  const char* key;
  bool taken;
  double* value;
  double expected;  // afterwards
};

double wind_kt;

class C17EntryRanges : public C17CduTest {
 protected:
  void run(const Case* cases, std::size_t n, double bottom_y) {
    for (std::size_t i = 0; i < n; ++i) {
      const Case& c = cases[i];
      enter(c.entry, c.key);
      wind_kt = crz_wind_speed;
      EXPECT_EQ(at(0, bottom_y), c.taken ? "" : "INVALID ENTRY") << c.entry << " on " << c.key;
      if (!c.taken) {
        EXPECT_EQ(c17_cdu_scratchpad.substr(0, std::string(c.entry).size()), c.entry) << c.entry;
      }
      EXPECT_DOUBLE_EQ(*c.value, c.expected) << c.entry << " on " << c.key;
    }
  }
};

TEST_F(C17EntryRanges, PerfInitWindAndTemperatures) {
  press("PERF");
  cruise_alt = 35000;
  const double std_oat = 15.0 - 1.98 * 35;
  const Case cases[] = {
      {"270/35", "R2", true, &wind_kt, 35},         {"270/-5", "R2", false, &wind_kt, 35},
      {"270/1E3", "R2", false, &wind_kt, 35},       {"270/999", "R2", true, &wind_kt, 999},
      {"-999", "R4", false, &toc_oat, toc_oat},     {"-99", "R4", true, &toc_oat, -99},
      {"-100", "R4", false, &toc_oat, -99},         {"-45", "R3", false, &toc_oat, -99},
      {"20", "R3", true, &toc_oat, 20 + std_oat},   {"1E2", "R3", false, &toc_oat, 20 + std_oat},
      {"350.5", "R1", false, &wind_kt, 999},
  };
  run(cases, std::size(cases), 227);
  EXPECT_EQ(cruise_alt, 35000);
  EXPECT_EQ(at(222, 33), "FL350");
}

TEST_F(C17EntryRanges, PerfLimitsShareTheSmithsCheck) {
  press("PERF");
  press("NEXT");
  ClimbIasMin = 180, ClimbIasMax = 300, climb_mach_min = 0.6, climb_mach_max = 0.8;
  const Case cases[] = {
      {"250/.78", "L2", true, &ClimbIasMin, 250},    {"-50/.78", "L2", false, &ClimbIasMin, 250},
      {"250/.7X", "L2", false, &climb_mach_min, 0.78}, {"250/.099", "L2", false, &climb_mach_min, 0.78},
      {"250/.995", "R2", false, &climb_mach_max, 0.8}, {"240/.7", "R2", false, &ClimbIasMax, 300},
      {"280/.75", "R2", false, &ClimbIasMax, 300},      {"280/.79", "R2", true, &ClimbIasMax, 280},
  };
  run(cases, std::size(cases), 227);
  EXPECT_DOUBLE_EQ(climb_mach_max, 0.79);
  EXPECT_EQ(at(0, 71), "250 /.780");
}

TEST_F(C17EntryRanges, ApproachRefSpeeds) {
  c17_cdu_page = C17_CDU_APPROACH_REF;
  frames(1);
  VREFMID = 145;
  struct Speed {
    const char* entry;
    bool taken;
    int32_t vref;
  };
  // Within the aircraft's limit (320 kt in the sample aircraft file), every word read.
  for (const Speed& c : {Speed{"999999", false, 145}, Speed{"999", false, 145}, Speed{"320", true, 320},
                         Speed{"1000", false, 320}, Speed{"3E4", false, 320}, Speed{"-5", false, 320}}) {
    enter(c.entry, "R2");
    EXPECT_EQ(at(0, 227), c.taken ? "" : "INVALID ENTRY") << c.entry;
    EXPECT_EQ(VREFMID, c.vref) << c.entry;
  }
}

// Entries read loosely before: each is INVALID ENTRY with the entry kept as typed and
// nothing stored, on each page of this unit that takes it.
TEST_F(C17EntryRanges, MalformedEntriesAreRefusedAsTyped) {
  struct Row {
    const char* page;  // how the page is reached
    const char* entry;
    const char* key;
    std::function<double()> stored;
  };
  auto hold_leg = [] { return hold_list[1].leg_time * 100 + hold_list[1].leg_dist + hold_list[1].leg_mode; };
  auto leg2 = [] { return fpl_edit[2].alt_constraint * 1000 + fpl_edit[2].spd_constraint; };
  const Row rows[] = {
      {"FIX", "090/12/7", "L3", [] { return fix_info[1].dist[0] + fix_info[1].radial[0]; }},
      {"FIX", "1.5/10", "L3", [] { return fix_info[1].dist[0] + fix_info[1].radial[0]; }},
      {"HOLD", "1.5/", "R1", hold_leg},
      {"HOLD", "/5/7", "R1", hold_leg},
      {"HOLD", "/0.5", "R1", hold_leg},
      {"LEGS", "250/5000/7", "R2", leg2},
      {"LEGS", "250/", "R2", leg2},
      {"LEGS", "250/FL", "R2", leg2},
      {"APPR", "3E4", "R2", [] { return double(VREFMID); }},
      {"APPR", "-5", "R2", [] { return double(VREFMID); }},
      {"APPR", "30/145X", "R4", [] { return double(VREF); }},
      {"APPR", "30/", "R4", [] { return double(VREF); }},
      {"TOLD", "1", "R1", [] { return double(V1); }},
      {"PERF", "1", "R5", [] { return double(TransAlt); }},
      {"PERF", "0.0001", "L3", [] { return zero_fuel_weight; }},
      {"PERF", "FL 350", "R1", [] { return double(cruise_alt); }},
      {"LIMITS", "250/78", "L2", [] { return ClimbIasMin; }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.page) + " " + r.entry);
    const std::string page = r.page;
    if (page == "FIX") {
      press("FIX");
      enter("SEA", "L2");
    } else if (page == "HOLD" || page == "LEGS") {
      load_sample_plan();
      press("LEGS");
      if (page == "HOLD") {
        press("HOLD");
        enter("", "L3");
        press("L6");
        ASSERT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
      }
    } else if (page == "TOLD") {
      V1 = 120, VR = 140, V2 = 150;
      press("TOLD");
    } else if (page == "LIMITS") {
      press("PERF");
      press("NEXT");
    } else {
      press(r.page);
    }
    const double before = r.stored();
    enter(r.entry, r.key);
    EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID ENTRY");
    EXPECT_EQ(c17_cdu_scratchpad, r.entry);
    EXPECT_EQ(r.stored(), before);
  }
}

}  // namespace
