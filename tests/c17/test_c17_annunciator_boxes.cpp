// The PFD's mode annunciations inside their 43 x 11 boxes, measured by the texts' ink
// (the placement is at design size, so image pixels are design units).
#include "c17_fixture.h"
#include "platform/host/sim_token_ids.h"

namespace c17_test {
namespace {

struct BoxRow {
  const char* script;
  std::map<int32_t, double> tokens;
  const char* text;
  double box_x, box_y;  // the box's top-left
};

const BoxRow BOX_ROWS[] = {
    {"set ap_airspeed_hold 0\nset ap_mach_hold 1\nset ap_mach 0.78", {}, "MACH 0.78", 10, 4},
    {"set ap_airspeed_hold 0\nset ap_mach_hold 1\nset ap_mach 0.99", {}, "MACH 0.99", 10, 4},
    {"set ap_airspeed_hold 1\nset ap_airspeed 250", {}, "IAS 250", 10, 4},
    {"set ap_heading 359", {}, "HDG 359", 10, 219},
    {"", {{TOK_AP_LOC_HOLD, 1}}, "LOC1 CAP", 10, 219},
    {"", {{TOK_AP_GLIDESLOPE_HOLD, 1}}, "G/S1 CAP", 200, 4},
    {"set ap_altitude 6000", {}, "ALT 060", 200, 4},
};

TEST_F(C17Test, PfdAnnunciationsInsideTheirBoxes) {
  place({"PFD"});
  for (const BoxRow& row : BOX_ROWS) {
    SCOPED_TRACE(row.text);
    token_overrides = row.tokens;
    script("set altitude 5000\nset ap_master 1\nset ap_heading_hold 1\nset ap_mach_hold 0\nset ap_airspeed_hold 0\n" +
           std::string(row.script) + "\nrun 1s");
    int found = 0;
    for (const GfxTextItem& t : rec("PFD").text_items()) {
      if (t.text != row.text) continue;
      ++found;
      // Inside the 1 px outline: from half a unit in on each side.
      EXPECT_GE(t.ink.x, row.box_x + 0.5);
      EXPECT_GE(t.ink.y, row.box_y + 0.5);
      EXPECT_LE(t.ink.x + t.ink.width, row.box_x + 42.5);
      EXPECT_LE(t.ink.y + t.ink.height, row.box_y + 10.5);
    }
    EXPECT_EQ(found, 1);
  }
  token_overrides.clear();
}

}  // namespace
}  // namespace c17_test
