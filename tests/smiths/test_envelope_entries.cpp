// The Smiths CDU's speed, Mach, altitude and other entries that keep the aircraft inside its
// envelope: each refused with "INVALID ENTRY" and the entry kept, or taken and cleared away;
// the TAKEOFF REF speeds reachable in any order.
#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "tests/common/envelope_entries.h"

namespace {

using envelope_entries::Field;

class EnvelopeEntries : public CduTest {
 protected:
  // The page of `f` opened by its keys, and the line key that takes it.
  const char* open(Field f) {
    switch (f) {
      case Field::CruiseAlt: press("INIT REF"); return "R1";
      case Field::ClimbLimitMin: press("INIT REF"); press("NEXT"); return "L2";
      case Field::ClimbLimitMax: press("INIT REF"); press("NEXT"); return "R1";
      case Field::LegConstraint: press("LEGS"); return "R2";
      case Field::CrzWind: press("INIT REF"); return "R2";
      case Field::IsaDev: press("INIT REF"); return "R3";
      case Field::TcOat: press("INIT REF"); return "R4";
      case Field::Zfw: press("INIT REF"); return "L3";
    }
    return "";
  }
  // The entry as typed (signs included), put on `key`.
  void put(const std::string& text, const std::string& key) {
    smiths_scratchpad = text;
    smiths_scratchpad_msg.clear();
    press(key);
  }
  void clear_pad() {
    for (int i = 0; i < 12 && (!smiths_scratchpad.empty() || !smiths_scratchpad_msg.empty()); ++i) press("CLR");
  }
};

}  // namespace

TEST_F(EnvelopeEntries, EachEntryGetsItsAnswer) {
  start();
  execute_company_route();
  for (const envelope_entries::Entry& e : envelope_entries::kEntries) {
    clear_pad();
    const char* key = open(e.field);
    put(e.entry, key);
    EXPECT_EQ(bottom(), e.taken ? "" : "INVALID ENTRY") << e.entry << " on " << key;
    EXPECT_EQ(smiths_scratchpad, e.taken ? "" : e.entry) << e.entry << " on " << key;
  }
  // What was taken is what the pages show.
  EXPECT_EQ(cruise_alt, 20000);
  EXPECT_EQ(ClimbIasMin, 210);
  EXPECT_EQ(crz_wind_speed, 5);
}

// The pages of this unit only: ECON targets and restrictions from the phase's least speed,
// Mach to the limit; RTE HOLD's turn a whole word and its leg time in tenths.
TEST_F(EnvelopeEntries, SpeedTargetsRestrictionsAndHolds) {
  start();
  execute_company_route();
  struct Row {
    const char* page;  // the function key
    const char* key;
    const char* entry;
    bool taken;
    const char* shown = nullptr;  // the restriction's line afterwards, when given
  };
  const Row rows[] = {
      {"CLB", "L2", "50", false},         {"CLB", "L2", "209", false},       {"CLB", "L2", "210", true},
      {"CLB", "L3", "209/10000", false},  {"CLB", "L3", "210/10000", true},  {"CRZ", "L2", "/.99", false},
      {"CRZ", "L2", "/.83", false},       {"CRZ", "L2", "169", false},       {"CRZ", "L2", "170/.82", true},
      {"DES", "L2", "320/.99", false},    {"DES", "L2", "320/.82", true},    {"DES", "L3", "050/10000", false},
      {"DES", "L3", "169/10000", false},  {"DES", "L3", "170/10000", true},
      // The least altitude a restriction takes is shown as taken.
      {"CLB", "L3", "210/1000", true, "210 / 1000 "}, {"CLB", "L3", "210/999", false, "210 / 1000 "},
      {"DES", "L3", "170/1000", true, "170 / 1000 "}, {"DES", "L3", "170/10000", true, "170 / 10000"},
  };
  for (const Row& r : rows) {
    clear_pad();
    press(r.page);
    put(r.entry, r.key);
    EXPECT_EQ(bottom(), r.taken ? "" : "INVALID ENTRY") << r.page << " " << r.entry;
    if (r.shown) {
      EXPECT_EQ(at(5, 99), r.shown) << r.page << " " << r.entry;
    }
  }
  // The restriction taken is shown.
  EXPECT_DOUBLE_EQ(DescSpdRest, 170);
  EXPECT_EQ(at(5, 99), "170 / 10000");

  clear_pad();
  press("EXEC");
  press("HOLD");
  press("L2");  // CARRO
  press("L6");
  ASSERT_EQ(smiths_page, SMITHS_PAGE_RTE_HOLD);
  const Row hold_rows[] = {{"", "L3", "270/RIGHT", false}, {"", "L3", "270/LX", false}, {"", "L3", "270/R", true},
                           {"", "L4", "0.05", false},      {"", "L4", "1.55", false},   {"", "L4", "1.5", true}};
  for (const Row& r : hold_rows) {
    clear_pad();
    put(r.entry, r.key);
    EXPECT_EQ(bottom(), r.taken ? "" : "INVALID ENTRY") << r.entry;
  }
  EXPECT_EQ(hold_list[1].turn, 1);
  EXPECT_DOUBLE_EQ(hold_list[1].leg_time, 1.5);
}

// V1, VR and V2 typed in any order reach the set typed: an entry that puts a set speed out
// of order clears that one, to be typed again.
TEST_F(EnvelopeEntries, TakeoffSpeedsInAnyOrder) {
  start();
  struct Row {
    const char* key;  // R1 V1, R2 VR, R3 V2
    const char* entry;
    int32_t v1, vr, v2;  // afterwards
  };
  const Row rows[] = {
      // 142/147/153 raised to 150/155/160 from the top.
      {"R1", "150", 150, 0, 153}, {"R2", "155", 150, 155, 0}, {"R3", "160", 150, 155, 160},
      {"R1", "200", 200, 0, 0},   {"R2", "147", 0, 147, 0},   {"R3", "120", 0, 0, 120},
      {"R1", "142", 142, 0, 0},
  };
  press("INIT REF");
  smiths_page = SMITHS_PAGE_TAKEOFF_REF;
  frames(1);
  V1 = 142, VR = 147, V2 = 153;
  for (const Row& r : rows) {
    clear_pad();
    put(r.entry, r.key);
    EXPECT_EQ(bottom(), "") << r.key << " " << r.entry;
    EXPECT_EQ(V1, r.v1) << r.key << " " << r.entry;
    EXPECT_EQ(VR, r.vr) << r.key << " " << r.entry;
    EXPECT_EQ(V2, r.v2) << r.key << " " << r.entry;
  }
}
