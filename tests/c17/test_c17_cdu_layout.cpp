// Pages of the mission CDU in the states where their texts crowd one line: each page's
// picture is taken with shot(), which checks that every text reads where it stands.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/plan_files.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
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
  using C17CduTest::fly_past_alkis;
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
    {"layout_takeoff_ref_cleared_speeds",
     [](C17CduTest& t) {
       V1 = VR = V2 = 0;
       static_cast<C17CduLayout&>(t).press("TOLD");
     }},
    {"cdu_progress_hold_ppos_passed",
     [](C17CduTest& t) {
       auto& u = static_cast<C17CduLayout&>(t);
       u.load_sample_plan();
       u.fly_past_alkis();
       last_wpt_ident = "HOLD PPOS";
       u.press("PROG");
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

namespace {

using C17CduProgressColumns = C17CduTest;

// PROGRESS's FROM line in flight: the altitude, the time over and the fuel each stand under
// their header's word, and stay there whatever the ident's length.
TEST_F(C17CduProgressColumns, FromLineValuesStandUnderTheirHeaders) {
  load_sample_plan();
  fly_past_alkis();
  press("PROG");
  // Ink spans of the header's words ALT, ATA and FUEL (its glyphs without the blanks:
  // F R O M, A L T, A T A, F U E L) and of the line's texts.
  auto spans = [&]() {
    std::vector<std::pair<float, float>> words, values;
    for (const GfxTextItem& t : screen()->text_items()) {
      const GfxRecord& r = screen()->records[t.record];
      if (t.text.rfind("F R O M", 0) == 0 && r.glyph_ink.size() == 14) {
        for (auto [first, last] : {std::pair{4, 6}, std::pair{7, 9}, std::pair{10, 13}}) {
          const GfxPointF a = GfxRecording::to_device(r, r.glyph_ink[first].x, 0);
          const GfxPointF b = GfxRecording::to_device(r, r.glyph_ink[last].x + r.glyph_ink[last].width, 0);
          words.push_back({a.x, b.x});
        }
      } else if (std::fabs(t.world.y - 42) < 0.01) {
        values.push_back({t.ink.x, t.ink.x + t.ink.width});
      }
    }
    std::sort(values.begin(), values.end());
    return std::pair{words, values};
  };
  for (const char* ident : {"ALKIS", "SEA", "ABCDEFGHI"}) {
    SCOPED_TRACE(ident);
    last_wpt_ident = ident;
    frames(1);
    const auto [words, values] = spans();
    ASSERT_EQ(words.size(), 3u);
    ASSERT_EQ(values.size(), 4u);  // ident, altitude, time, fuel
    for (size_t i = 0; i < 3; ++i) {
      // The value's ink and its header word's ink share part of their width.
      EXPECT_LT(values[i + 1].first, words[i].second) << i;
      EXPECT_GT(values[i + 1].second, words[i].first) << i;
    }
  }
}

}  // namespace
