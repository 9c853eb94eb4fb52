// The mission CDU's entries that keep the aircraft inside its envelope, with the answers the
// Smiths CDU gives them: each refused with "INVALID ENTRY" and the entry kept, or taken;
// CRZ ALT as its own field; TAKEOFF REF speeds reachable in any order.
#include <string>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/common/envelope_entries.h"

namespace {

using envelope_entries::Field;

class C17EnvelopeEntries : public C17CduTest {
 protected:
  const char* open(Field f) {
    switch (f) {
      case Field::CruiseAlt: perf(1); return "R1";
      case Field::ClimbLimitMin: perf(2); return "L2";
      case Field::ClimbLimitMax: perf(2); return "R2";
      case Field::LegConstraint: press("LEGS"); return "R2";
      case Field::CrzWind: perf(1); return "R2";
      case Field::IsaDev: perf(1); return "R3";
      case Field::TcOat: perf(1); return "R4";
      case Field::Zfw: perf(1); return "L3";
    }
    return "";
  }
  // PERF INIT (1) or PERF LIMITS (2): PERF keeps the sub-page last shown.
  void perf(int sub_page) {
    press("PERF");
    if (smiths_perf_page_no != sub_page) press("NEXT");
  }
  // The entry as typed, signs included, put on `key`.
  void put(const std::string& text, const std::string& key) {
    c17_cdu_scratchpad = text;
    c17_cdu_scratchpad_msg.clear();
    press(key);
  }
};

}  // namespace

TEST_F(C17EnvelopeEntries, EachEntryGetsItsAnswer) {
  load_sample_plan();
  for (const envelope_entries::Entry& e : envelope_entries::kEntries) {
    const char* key = open(e.field);
    put(e.entry, key);
    EXPECT_EQ(c17_cdu_scratchpad_msg, e.taken ? "" : "INVALID ENTRY") << e.entry << " on " << key;
    EXPECT_EQ(c17_cdu_scratchpad, e.taken ? "" : e.entry) << e.entry << " on " << key;
  }
  EXPECT_EQ(cruise_alt, 20000);
  EXPECT_EQ(ClimbIasMin, 210);
  EXPECT_EQ(crz_wind_speed, 5);
}

// 142/147/153 raised to 150/155/160 from the top, then typed out of order: a set speed the
// new one puts out of V1 <= VR <= V2 is cleared to be typed again.
TEST_F(C17EnvelopeEntries, TakeoffSpeedsInAnyOrder) {
  struct Row {
    const char* key;  // R1 V1, R2 VR, R3 V2
    const char* entry;
    int32_t v1, vr, v2;
  };
  const Row rows[] = {{"R1", "150", 150, 0, 153}, {"R2", "155", 150, 155, 0}, {"R3", "160", 150, 155, 160},
                      {"R1", "200", 200, 0, 0},   {"R2", "147", 0, 147, 0},   {"R3", "120", 0, 0, 120}};
  V1 = 142, VR = 147, V2 = 153;
  press("TOLD");
  for (const Row& r : rows) {
    put(r.entry, r.key);
    EXPECT_EQ(c17_cdu_scratchpad_msg, "") << r.key << " " << r.entry;
    EXPECT_EQ(V1, r.v1) << r.key << " " << r.entry;
    EXPECT_EQ(VR, r.vr) << r.key << " " << r.entry;
    EXPECT_EQ(V2, r.v2) << r.key << " " << r.entry;
  }
}
