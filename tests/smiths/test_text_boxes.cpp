// Texts of the CDU pages against their boxes, measured by their ink in the recording:
// texts end inside the screen with the margin of the right-aligned lines, values stand
// under their labels, lines keep apart, and SELECT WAYPOINT's immediate return shows
// the page it returns to in the same frame.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <vector>

#include "cdu/smiths/page_layout.h"
#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "module/display_state.h"
#include "module/sim_vars.h"
#include "tests/common/text_layout.h"

namespace {

// An ink box in design units.
struct Ink {
  double left, top, right, bottom;
};

// Where the right-aligned lines' ink ends ("POS  INIT>", "V1"): the screen's margin.
constexpr double INK_RIGHT = 277.5;

// Click rectangle of line key L6 (the fixture's press runs two frames after a click).
constexpr int L6_RECT = 23;

bool apart(double a0, double a1, double b0, double b1, double gap) { return a1 + gap <= b0 || b1 + gap <= a0; }

class TextBoxTest : public CduTest {
 protected:
  Ink ink(const GfxTextItem& t) const {
    const GfxRecording* r = screen();
    const GfxPointF a = r->to_design({t.ink.x, t.ink.y}, CDU_CANVAS_W, CDU_CANVAS_H);
    const GfxPointF b = r->to_design({t.ink.x + t.ink.width, t.ink.y + t.ink.height}, CDU_CANVAS_W, CDU_CANVAS_H);
    return {a.x, a.y, b.x, b.y};
  }
  // Texts drawn on line y, left to right.
  std::vector<GfxTextItem> row(double y) const {
    std::vector<GfxTextItem> out;
    for (const GfxTextItem& t : items())
      if (std::fabs(t.world.y - y) < 0.01) out.push_back(t);
    std::sort(out.begin(), out.end(), [](const GfxTextItem& a, const GfxTextItem& b) { return a.world.x < b.world.x; });
    return out;
  }
  // Presses a key, or types an entry and presses its key for a step "TEXT>KEY".
  void step(const std::string& s) {
    const std::size_t gt = s.find('>');
    if (gt == std::string::npos || gt + 1 == s.size()) {
      press(s);
    } else {
      enter(s.substr(0, gt), s.substr(gt + 1));
    }
  }
  void add_candidates(const std::string& ident, int n) {
    std::ofstream out(folder_ + "/vek/navdata/ints.txt", std::ios::app);
    for (int i = 0; i < n; ++i) out << ident << " " << 46.0 + 0.01 * i << " -122.500000\n";
  }
  // KSEA to KPDX by OLM and BTG, executed, flying south at 250 kt towards OLM.
  void route_in_flight() {
    press("RTE");
    enter("KSEA", "L1");
    enter("KPDX", "R1");
    press("NEXT");
    enter("OLM", "R1");
    enter("BTG", "R2");
    press("R6");
    press("EXEC");
    ASSERT_EQ(fpl_changed_state, 3);
    auto& s = host_.aircraft().state();
    s.lat = 47.2;
    s.lon = -122.6;
    s.on_ground = false;
    s.altitude_ft = 8000;
    s.ias_kt = 250;
    s.heading_true = 200;
    frames(40);
  }
};

struct BoxCase {
  const char* page;
  std::vector<std::string> steps;  // from IDENT
  const char* text;
  Ink box;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.page << ": " << c.text; }

const char* const TAKEOFF_SEPARATOR = "- - - - - - - - - - - - - - - - - - - - - - - - - -";

const BoxCase BOX_CASES[] = {
    {"IDENT", {}, "19DEC - 16JAN/25", {100, 66, INK_RIGHT, 86}},
    {"INIT/REF INDEX", {"L6", "R3"}, "ACTIVE DAVUDUVUV RTE LOADED", {0, 227, INK_RIGHT, 245}},
    {"TAKEOFF REF", {"L6", "L4"}, TAKEOFF_SEPARATOR, {0, 184, INK_RIGHT, 204}},
    {"TAKEOFF REF", {"L6", "L4"}, "DEPARTURE>", {140, 167, INK_RIGHT, 187}},
    {"DEPARTURES", {"RTE", "KSEA>L1", "DEP ARR", "L1"}, "ROUTE>", {150, 198, INK_RIGHT, 218}},
    {"IDENT", {}, "27 K", {200, 33, INK_RIGHT, 53}},
    {"INIT/REF INDEX", {"L6"}, "LOAD ATC RTE>", {100, 99, INK_RIGHT, 119}},
    {"INIT/REF INDEX", {"L6"}, "FLIGHT PLANS>", {100, 66, INK_RIGHT, 86}},
    // Before take-off on the company route VNAV flies to CARRO at 10000 ft.
    {"ECON PATH DES", {"RTE", "KSEAKPDX>L2", "R6", "EXEC", "DES"}, " CARRO/10000", {120, 99, INK_RIGHT, 119}},
};

}  // namespace

class TextBoxCaseTest : public TextBoxTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(TextBoxCaseTest, TextInsideItsBox) {
  const BoxCase& c = GetParam();
  start();
  host_.add_gps_point("KSEA", 47.449, -122.309306);
  host_.add_gps_point("KPDX", 45.588722, -122.5975);
  for (const std::string& s : c.steps) step(s);
  int found = 0;
  for (const GfxTextItem& t : items()) {
    if (t.text != c.text) continue;
    ++found;
    const Ink k = ink(t);
    EXPECT_GE(k.left, c.box.left);
    EXPECT_GE(k.top, c.box.top);
    EXPECT_LE(k.right, c.box.right);
    EXPECT_LE(k.bottom, c.box.bottom);
  }
  EXPECT_EQ(found, 1);
}

INSTANTIATE_TEST_SUITE_P(Pages, TextBoxCaseTest, ::testing::ValuesIn(BOX_CASES));

TEST_F(TextBoxTest, FixInfoValuesStandUnderTheirLabels) {
  start();
  route_in_flight();
  ASSERT_GT(ground_speed, 75.0);
  press("FIX");
  enter("OLM", "L1");
  enter("090/15", "L2");
  enter("180/998.9", "L3");
  const std::vector<GfxTextItem> labels = row(55);
  ASSERT_EQ(labels.size(), 5u);  // R A D /, D I S, E T A, D T G, A L T
  for (double y : {66.0, 99.0}) {
    const std::vector<GfxTextItem> values = row(y);
    ASSERT_EQ(values.size(), 4u) << y;  // radial, distance, ETA, distance to go
    for (std::size_t v = 0; v < values.size(); ++v) {
      const Ink a = ink(values[v]);
      for (std::size_t l = 0; l < labels.size(); ++l) {
        const Ink b = ink(labels[l]);
        EXPECT_EQ(!apart(a.left, a.right, b.left, b.right, 0.0), v == l)
            << values[v].text << " and " << labels[l].text << " at y " << y;
      }
    }
  }
}

TEST_F(TextBoxTest, SelectWaypointLinesKeepApart) {
  add_candidates("MANYX", 8);
  start();
  press("RTE");
  enter("KSEA", "L1");
  enter("KPDX", "R1");
  press("NEXT");
  enter("MANYX", "R1");
  ASSERT_EQ(smiths_page, SMITHS_PAGE_SELECT_WPT);
  smiths_scratchpad_msg = "NOT IN DATABASE";  // the bottom line under the sixth row
  frames(1);
  const std::vector<GfxTextItem> texts = items();
  ASSERT_EQ(texts.size(), 2u + 12u + 1u);  // title, page, six rows of two lines, bottom line
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      const Ink a = ink(texts[i]), b = ink(texts[j]);
      // Two design units (about two pixels) between any two texts' ink.
      EXPECT_TRUE(apart(a.left, a.right, b.left, b.right, 2.0) || apart(a.top, a.bottom, b.top, b.bottom, 2.0))
          << texts[i].text << " and " << texts[j].text;
      EXPECT_LE(std::max(a.right, b.right), INK_RIGHT);
    }
  }
  smiths_scratchpad_msg.clear();
}

TEST_F(TextBoxTest, SelectWaypointReturnFrameShowsLegs) {
  add_candidates("MANYX", 3);
  start();
  route_in_flight();
  struct Case {
    const char* mode_key;
    const char* scratchpad;  // after the return
  } cases[] = {{"DIR INTC", ""}, {"HOLD", "HOLD AT MANYX"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode_key);
    press("LEGS");
    press(c.mode_key);
    type("MANYX");
    std::string error;
    ASSERT_TRUE(host_.click_index("SMITHS_FMS", L6_RECT, &error)) << error;
    // The key's frame opens SELECT WAYPOINT, which hands back at once: every frame
    // shows the LEGS page.
    for (int f = 0; f < 3; ++f) {
      frames(1);
      EXPECT_EQ(title(), "RTE    LEGS") << "frame " << f;
    }
    EXPECT_EQ(smiths_page, SMITHS_PAGE_LEGS);
    EXPECT_EQ(smiths_scratchpad, c.scratchpad);
    press("CLR");
    while (!smiths_scratchpad.empty()) press("CLR");
    if (fpl_changed_state == 4) press("EXEC");
  }
}

namespace {

// A page as the pilot leaves it: where every text must read where it stands.
struct LayoutCase {
  const char* page;
  bool in_flight;                  // KSEA OLM BTG KPDX executed and flown south of KSEA first
  std::vector<std::string> steps;  // then these, from where that left the unit
  const char* plan_file;           // a stored plan written before the unit starts, "" none
  bool plans_blocked = false;      // a file where the plans folder should be: every save fails
  int32_t nd_mode = 0;             // the B737 ND's mode, when not 0 (7: the plan map)
  const char* plan_text = "";      // the plan file's text, when not a copy of KSEAKPDX.RTE
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.page; }

const std::string LONG_NAME = "ABCDEFGHIJKLMNOPQRSTUVWX";

// A simulator plan whose fix and destination idents are longer than any of the database's.
constexpr const char* LONG_IDENT_PLAN =
    "[flightplan]\ntitle=KSEA to a long ident\ncruising_altitude=17000\n"
    "waypoint.0=, KSEA, , KSEA, A, N47* 26.94', W122* 18.56', +000433.00, \n"
    "waypoint.1=, ABCDEFGHIJKLMNO, , ABCDEFGHIJKLMNO, U, N46* 34.80', W122* 45.60', +000000.00, \n"
    "waypoint.2=, KPDXFIELD, , KPDXFIELD, A, N45* 35.32', W122* 35.85', +000031.00, \n";

const LayoutCase LAYOUT_CASES[] = {
    {"KPDX ARRIVALS, STAR and approach chosen",
     false,
     {"RTE", "KSEA>L1", "KPDX>R1", "DEP ARR", "R2", "L1", "R1"},
     ""},
    {"KPDX ARRIVALS, approach chosen", false, {"RTE", "KSEA>L1", "KPDX>R1", "DEP ARR", "R2", "R1"}, ""},
    {"LEGS with the map centre", false, {"RTE", "KSEAKPDX>L2", "R6", "EXEC", "LEGS"}, "", false, 7},
    {"LEGS HOLD on a modified route", true, {"LEGS", "SEA>L3", "HOLD"}, ""},
    {"LEGS DIR INTC in flight", true, {"DIR INTC"}, ""},
    {"DEP/ARR INDEX", false, {"RTE", "KSEA>L1", "KPDX>R1", "DEP ARR"}, ""},
    {"POS REF in flight", true, {"INIT REF", "L6", "L2", "NEXT"}, ""},
    {"SAVE FPL of a long name failing", true, {"INIT REF", "L6", LONG_NAME + ">R6"}, "", true},
    {"STORED FLIGHT PLANS with a long name", false, {"L6", "R2"}, "ABCDEFGHIJKLMNOPQRSTUVWXYZ.RTE"},
    {"RTE of a simulator plan with long idents", false, {"RTE", "LONGID>L2"}, "LONGID.PLN", false, 0,
     LONG_IDENT_PLAN},
    {"RTE of a simulator plan with long idents over the active route", true, {"RTE", "LONGID>L2"}, "LONGID.PLN",
     false, 0, LONG_IDENT_PLAN},
    {"RTE rows of a simulator plan with long idents", false, {"RTE", "LONGID>L2", "NEXT"}, "LONGID.PLN", false, 0,
     LONG_IDENT_PLAN},
};

// <temp>/vek-smiths-layout/<page>.png, for a look beside the aircraft's state (the host
// works in its simulator folder, removed after the test).
std::string picture_name(std::string page) {
  for (char& ch : page) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vek-smiths-layout";
  std::filesystem::create_directories(dir);
  return (dir / (page + ".png")).string();
}

class TextLayoutCaseTest : public TextBoxTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(TextLayoutCaseTest, TextsReadWhereTheyStand) {
  const LayoutCase& c = GetParam();
  if (*c.plan_text) {
    std::ofstream(folder_ + "/vek/flightplans/" + c.plan_file) << c.plan_text;
  } else if (*c.plan_file) {
    std::filesystem::copy_file(folder_ + "/vek/flightplans/KSEAKPDX.RTE", folder_ + "/vek/flightplans/" + c.plan_file);
  }
  start();
  host_.add_gps_point("KSEA", 47.449, -122.309306);
  host_.add_gps_point("KPDX", 45.588722, -122.5975);
  if (c.in_flight) route_in_flight();
  if (c.nd_mode) b737_nd_mode = c.nd_mode;
  if (c.plans_blocked) {
    std::filesystem::remove_all(folder_ + "/vek/flightplans");
    std::ofstream blocker(folder_ + "/vek/flightplans");
  }
  for (const std::string& s : c.steps) step(s);
  const GfxRecording* rec = screen();
  ASSERT_NE(rec, nullptr);
  // Labels 19 under the line above and 14 over their own, where their pages place them.
  text_layout::Allowed allowed;
  allowed.labels_close_under = {"T R A N S", "M A P  C T R"};
  for (const std::string& f : text_layout::faults(*rec, allowed)) ADD_FAILURE() << f;
  // Right-aligned lines end 2.5 pixels inside the screen; nothing may end further right.
  for (const GfxTextItem& t : items()) EXPECT_LE(t.ink.x + t.ink.width, rec->image_width - 2.5f) << t.text;
  std::string error;
  EXPECT_TRUE(host_.write_png("SMITHS_FMS", picture_name(c.page), &error)) << error;
}

INSTANTIATE_TEST_SUITE_P(Pages, TextLayoutCaseTest, ::testing::ValuesIn(LAYOUT_CASES));

}  // namespace
