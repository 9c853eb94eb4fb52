// The simulator's own ".PLN" plans in the plans folder: listed with the stored plans,
// loaded by CO ROUTE or from the list, flown like any plan, never written over.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "module/module_messages.h"

namespace fs = std::filesystem;

namespace {

// KBFI - SEA - KOLM in the INI form, its waypoints out of order.
constexpr const char* kIniPlan =
    "[flightplan]\ntitle=KBFI to KOLM\ncruising_altitude=9000\n"
    "waypoint.0=, KBFI, , KBFI, A, N47* 31.80', W122* 18.12', +000021.00, \n"
    "waypoint.2=, KOLM, , KOLM, A, N46* 58.16', W122* 54.15', +000209.00, \n"
    "waypoint.1=, SEA, , SEA, V, N47* 26.12', W122* 18.58', +000000.00, \n";

// KPDX - BTG - KSEA in the XML form.
constexpr const char* kXmlPlan =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SimBase.Document Type=\"AceXML\" version=\"1,0\">\n"
    "<FlightPlan.FlightPlan>\n"
    "<ATCWaypoint id=\"KPDX\"><ATCWaypointType>Airport</ATCWaypointType>"
    "<WorldPosition>N45° 35' 19.40\",W122° 35' 51.00\",+000031.00</WorldPosition></ATCWaypoint>\n"
    "<ATCWaypoint id=\"BTG\"><ATCWaypointType>VOR</ATCWaypointType>"
    "<WorldPosition>N45° 48' 53.40\",W122° 31' 49.80\",+000000.00</WorldPosition></ATCWaypoint>\n"
    "<ATCWaypoint id=\"KSEA\"><ATCWaypointType>Airport</ATCWaypointType>"
    "<WorldPosition>N47° 26' 56.40\",W122° 18' 33.50\",+000433.00</WorldPosition></ATCWaypoint>\n"
    "</FlightPlan.FlightPlan>\n</SimBase.Document>\n";

std::string trimmed(std::string t) {
  t.erase(0, t.find_first_not_of(' '));
  return t;
}

class SimPlansTest : public CduTest {
 protected:
  std::string plans_folder() const { return folder_ + "/vek/flightplans/"; }
  void write(const std::string& name, const std::string& text) {
    std::ofstream f(plans_folder() + name, std::ios::binary);
    f << text;
  }
  std::string read(const std::string& name) const {
    std::ifstream f(plans_folder() + name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
  std::vector<std::string> active_idents() const {
    std::vector<std::string> out;
    for (int i = 0; i <= fpl_active_last; ++i) out.push_back(fpl_active[i].ident);
    return out;
  }
};

}  // namespace

TEST_F(SimPlansTest, CoRouteLoadsEitherFormByNameOrEnds) {
  write("BFIOLM.PLN", kIniPlan);
  write("PDXSEA.pln", kXmlPlan);
  write("EMPTY.PLN", "[flightplan]\ntitle=nothing\n");
  start();
  struct Case {
    const char* entry;  // a name's first characters, or origin and destination
    const char* origin;
    const char* dest;
    const char* first_row;
    std::vector<std::string> flown;
  } cases[] = {
      {"BFIOLM", "KBFI", "KOLM", "DIRECT | SEA", {"KBFI", "SEA", "KOLM"}},
      {"KPDXKSEA", "KPDX", "KSEA", "DIRECT | BTG", {"KPDX", "BTG", "KSEA"}},
  };
  for (const Case& c : cases) {
    press("RTE");
    enter(c.entry, "L2");
    EXPECT_EQ(bottom(), "") << c.entry;
    // Over an active route the entries are drawn as modified, without the leading blank.
    EXPECT_EQ(trimmed(at(0, 33)), c.origin) << c.entry;
    EXPECT_EQ(trimmed(at(210, 33)), c.dest) << c.entry;
    press("R6");
    press("EXEC");
    EXPECT_EQ(fpl_changed_state, 3) << c.entry;
    EXPECT_EQ(active_idents(), c.flown) << c.entry;
    press("RTE");
    press("NEXT");
    EXPECT_EQ(line(36), c.first_row) << c.entry;
  }
  // A ".PLN" without a waypoint is no stored plan: the unit says it cannot be loaded.
  press("RTE");
  enter("EMPTY", "L2");
  EXPECT_EQ(bottom(), "Unable to load FP");
}

TEST_F(SimPlansTest, ListedBesideThePlanFilesAndNeverWrittenOver) {
  write("BFIOLM.PLN", kIniPlan);
  start();
  smiths_page = SMITHS_PAGE_STORED_PLANS;
  frames();
  EXPECT_EQ(at(0, 33), "BFIOLM.PLN");
  EXPECT_EQ(at(0, 66), "KSEAKPDX.RTE");
  press("L1");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_RTE);
  EXPECT_EQ(at(0, 33), " KBFI");
  press("R6");
  press("EXEC");
  ASSERT_EQ(fpl_changed_state, 3);
  // Saving under the simulator plan's name would leave a file its reader refuses.
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  type("BFIOLM.PLN");
  press("R6");
  EXPECT_EQ(bottom(), "BFIOLM.PLN Unable to Save");
  EXPECT_EQ(read("BFIOLM.PLN"), kIniPlan);
  press("CLR");
  type("BFIOLM.RTE");
  press("R6");
  EXPECT_EQ(bottom(), "BFIOLM.RTE Saved");
}

// A typed name loads the plan it names: a plan saved under a name a simulator plan also holds
// is the one CO ROUTE loads, a listed plan loads by the name shown whatever the case of its
// ending, and a plan with an altitude no page shows is refused, by name and line.
TEST_F(SimPlansTest, ATypedNameLoadsThePlanItNames) {
  std::string high = kIniPlan;
  high.replace(high.find("+000000.00"), 10, "+099999.00");  // SEA at 99,999 ft, on line 6
  write("TESTINI.PLN", kIniPlan);
  write("pdxsea.pln", kXmlPlan);
  write("HIGH.PLN", high);
  start();
  execute_company_route();
  smiths_page = SMITHS_PAGE_INIT_REF_INDEX;
  type("TESTINI");
  press("R6");
  ASSERT_EQ(bottom(), "TESTINI.RTE Saved");
  press("CLR");
  struct Row {
    const char* entry;
    const char* origin;  // of the plan loaded, or nothing when refused
    const char* told;    // the module's message of a refusal
  };
  const Row rows[] = {
      {"TESTINI", "KSEA", nullptr},
      {"TESTINI.PLN", "KBFI", nullptr},
      {"PDXSEA.PLN", "KPDX", nullptr},
      {"HIGH", nullptr, "HIGH.PLN' refused: line 6"},
  };
  for (const Row& row : rows) {
    module_message_count = 0;
    press("RTE");
    enter(row.entry, "L2");
    if (row.origin) {
      EXPECT_EQ(bottom(), "") << row.entry;
      EXPECT_EQ(trimmed(at(0, 33)), row.origin) << row.entry;
      press("R6");
      press("EXEC");
      EXPECT_EQ(fpl_active[0].ident, std::string(row.origin)) << row.entry;
    } else {
      EXPECT_EQ(bottom(), "Unable to load FP") << row.entry;
      EXPECT_TRUE(std::any_of(module_messages + 1, module_messages + module_message_count + 1,
                              [&](const std::string& m) { return m.find(row.told) != std::string::npos; }))
          << row.entry;
      press("CLR");
    }
  }
}
