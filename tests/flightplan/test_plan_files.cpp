// Plan files: write, list, read back, refuse bad names, load and activate.
#include <fstream>
#include <sstream>

#include "flightplan/plan_files.h"
#include "fpl_test_util.h"
#include "guidance/settings.h"

namespace {

std::string read_text(const std::string& path) {
  std::ifstream f(path);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void write_text(const std::string& path, const std::string& text) {
  std::ofstream f(path);
  f << text;
}

// An active plan KSEA SEA OLM HOLD PPOS BTG KPDX with constraints and a flyover point.
void fly_sample_route() {
  append_fixes({"KSEA", "SEA", "OLM", "BTG", "KPDX"});
  fpl_edit[2].alt_constraint = 11000;
  fpl_edit[2].spd_constraint = 250;
  fpl_edit[2].constraint_flag = 1;
  fpl_edit[3].flyover = 1;
  fpl_edit[3].intc_course = 184.5;
  fpl_set_text(fpl_edit[3].via, "V23");
  fpl_set_text(fpl_edit[1].segment, "SID");
  fpl_set_text(fpl_edit[1].role, "IAF");
  fpl_changed_step();
  activate_route();
}

}  // namespace

TEST_F(FplTest, PlanWrittenListedAndReadBackEqual) {
  fly_sample_route();
  SaveFPLCruiseAlt = 1;
  cruise_alt = 17000;
  plan_fuel = 8400;
  ASSERT_EQ(write_plan_file("KSEAKPDX.RTE"), 1);
  std::string text = read_text(root + "/vek/flightplans/KSEAKPDX.RTE");
  EXPECT_EQ(text.substr(0, 41), "CruiseAlt=17000\nFuel=8400\n[FlightPlan]\nKS");
  EXPECT_NE(text.find("\nOLM VOR 46.971528 -122.901900 11000 250 -1.0 0 1 - - - 113.40\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(root + "/vek/flightplans/KSEAKPDX.RTE.part"));
  ASSERT_EQ(write_plan_file("AAA.RTE"), 1);

  list_plan_files();
  ASSERT_EQ(stored_plan_count, 3);
  EXPECT_STREQ(stored_plans[1].name, "AAA.RTE");
  EXPECT_STREQ(stored_plans[2].name, "KSEAKPDX.RTE");
  EXPECT_STREQ(stored_plans[2].first_ident, "KSEA");
  EXPECT_STREQ(stored_plans[2].last_ident, "KPDX");
  EXPECT_EQ(stored_plans[2].last, 4);
  EXPECT_STREQ(stored_plans[3].name, "NEW FPL");
  EXPECT_STREQ(stored_plans[3].first_ident, "NEXT FPL");
  EXPECT_STREQ(stored_plans[3].last_ident, "");
  EXPECT_EQ(gnsxls_plan_list_pages, 1);

  clear_fpl_edit();
  cruise_alt = 0;
  ASSERT_EQ(load_plan_file("KSEAKPDX.RTE", 0), 1);
  ASSERT_EQ(fpl_edit_last, fpl_active_last);
  for (int i = 0; i <= fpl_edit_last; ++i) {
    const FlightPlanWpt& a = fpl_active[i];
    const FlightPlanWpt& b = fpl_edit[i];
    EXPECT_STREQ(a.ident, b.ident);
    EXPECT_STREQ(a.type, b.type);
    EXPECT_NEAR(a.lat, b.lat, 1e-6);
    EXPECT_NEAR(a.lon, b.lon, 1e-6);
    EXPECT_EQ(a.alt_constraint, b.alt_constraint);
    EXPECT_EQ(a.spd_constraint, b.spd_constraint);
    EXPECT_EQ(a.intc_course, b.intc_course);
    EXPECT_EQ(a.flyover, b.flyover);
    EXPECT_EQ(a.constraint_flag, b.constraint_flag);
    EXPECT_STREQ(a.via, b.via);
    EXPECT_STREQ(a.segment, b.segment);
    EXPECT_STREQ(a.role, b.role);
    EXPECT_STREQ(a.navaid, b.navaid);
  }
  EXPECT_STREQ(fpl_edit[fpl_edit_last + 1].ident, "******");
  EXPECT_EQ(plan_cruise_alt, 17000);
  EXPECT_EQ(cruise_alt, 17000);
  EXPECT_EQ(plan_fuel, 8400.0);
}

TEST_F(FplTest, CruiseAltitudeLineOnlyWhenAskedFor) {
  fly_sample_route();
  SaveFPLCruiseAlt = 0;
  cruise_alt = 17000;
  ASSERT_EQ(write_plan_file("A.RTE"), 1);
  EXPECT_EQ(read_text(root + "/vek/flightplans/A.RTE").rfind("[FlightPlan]\n", 0), 0u);
}

TEST_F(FplTest, OtherFixTypesAndBlanksAreWrittenAsTheLayoutSays) {
  append_fixes({"KSEA", "N4730.0W12218.0", "HOLD PPOS"});
  fpl_changed_step();
  activate_route();
  ASSERT_EQ(write_plan_file("U.RTE"), 1);
  std::string text = read_text(root + "/vek/flightplans/U.RTE");
  EXPECT_NE(text.find(" WPT 47.500000 -122.300000 "), std::string::npos);
  EXPECT_NE(text.find("\nHOLD_PPOS INT "), std::string::npos);
  ASSERT_EQ(load_plan_file("U.RTE", 0), 1);
  EXPECT_STREQ(fpl_edit[2].ident, "HOLD PPOS");
}

TEST_F(FplTest, BadPlanNamesAreRefused) {
  fly_sample_route();
  for (const char* bad : {"../x.RTE", "a/b.RTE", "a\\b.RTE", "..", "", "C:x.RTE"}) {
    EXPECT_EQ(write_plan_file(bad), 0) << bad;
    EXPECT_EQ(load_plan_file(bad, 0), 0) << bad;
  }
  EXPECT_FALSE(std::filesystem::exists(root + "/vek/x.RTE"));
  EXPECT_EQ(fpl_message, "Unable to load FP");
}

TEST_F(FplTest, SaveIntoAMissingFolderIsReportedAsFailure) {
  fly_sample_route();
  write_text(root + "/blocker", "x");
  FlightPlansFolder = root + "/blocker/plans";  // a file stands where the folder should be
  EXPECT_EQ(write_plan_file("A.RTE"), 0);
  FlightPlansFolder = "";
}

TEST_F(FplTest, FailedLoadKeepsTheEditPlanAndSaysSo) {
  append_fixes({"KSEA", "SEA"});
  fpl_message.clear();
  EXPECT_EQ(load_plan_file("NOSUCH.RTE", 0), 0);
  EXPECT_EQ(fpl_message, "Unable to load FP");
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "SEA"}));
  // The new-plan entry gives an empty plan.
  EXPECT_EQ(load_plan_file("NEXT FPL", 0), 1);
  EXPECT_EQ(fpl_edit_last, -1);
  EXPECT_STREQ(fpl_edit[0].ident, "******");
}

TEST_F(FplTest, MalformedLinesAreSkippedAndOverlongPlansRefused) {
  std::string dir = root + "/vek/flightplans/";
  write_text(dir + "BAD.rte",
             "CruiseAlt=abc\n[FlightPlan]\nKSEA APT 47.449 -122.309 433\nSEA VOR notanumber -122.3\n"
             "X VOR 95.0 10.0\nY VOR 10.0 nan\n****** WPT 1 1\nOLM VOR 46.97 -122.90 5000 250 -1 1 0 V23 - - 113.40 extra\n"
             "\n; comment\nBTG VOR 45.81 -122.53\r\n");
  ASSERT_EQ(load_plan_file("bad.RTE", 0), 1);  // name matched without regard to case
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "BTG"}));
  EXPECT_EQ(plan_cruise_alt, 0);

  std::string big = "[FlightPlan]\n";
  for (int i = 0; i < 201; ++i) big += "WP" + std::to_string(i) + " WPT 47.0 -122.0\n";
  write_text(dir + "BIG.RTE", big);
  EXPECT_EQ(load_plan_file("BIG.RTE", 0), 0);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "BTG"}));
  list_plan_files();  // the overlong file is not listed
  EXPECT_EQ(stored_plan_count, 2);
  EXPECT_STREQ(stored_plans[1].name, "BAD.rte");
}

TEST_F(FplTest, PlanRequestLoadsAndActivates) {
  fly_sample_route();
  ASSERT_EQ(write_plan_file("KSEAKPDX.RTE"), 1);
  clear_fpl_active();
  clear_fpl_edit();
  fpl_changed_state = 0;
  plan_load_name = "KSEAKPDX.RTE";
  plan_load_request = 1;
  ASSERT_EQ(load_and_activate_plan_file(plan_load_request), 1);
  EXPECT_EQ(plan_load_request, 0);
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(fpl_active_index, 1);
  EXPECT_EQ(active_idents(), (std::vector<std::string>{"KSEA", "SEA", "OLM", "BTG", "KPDX"}));
  EXPECT_EQ(plan_loaded_airport_ident, "KPDX");
  EXPECT_STREQ(apt_blocks[2].ident, "KPDX");

  // Request 2 is performed like the others; other values are refused, never left pending.
  clear_fpl_active();
  plan_load_request = 2;
  EXPECT_EQ(load_and_activate_plan_file(2), 1);
  EXPECT_EQ(fpl_active_last, 4);
  plan_load_request = 7;
  EXPECT_EQ(load_and_activate_plan_file(7), 0);
  EXPECT_EQ(plan_load_request, 0);
  plan_load_name = "NOSUCH.RTE";
  EXPECT_EQ(load_and_activate_plan_file(3), 0);
  EXPECT_EQ(fpl_active_last, 4);
}

TEST_F(FplTest, SamplePlanFileLoads) {
  std::filesystem::copy_file(std::string(VEK_FPL_SAMPLE_ROOT) + "/vek/flightplans/KSEAKPDX.RTE",
                             root + "/vek/flightplans/KSEAKPDX.RTE");
  list_plan_files();
  ASSERT_EQ(stored_plan_count, 2);
  EXPECT_STREQ(stored_plans[1].first_ident, "KSEA");
  EXPECT_STREQ(stored_plans[1].last_ident, "KPDX");
  ASSERT_EQ(load_plan_file("KSEAKPDX.RTE", 0), 1);
  EXPECT_GE(fpl_edit_last, 4);
  EXPECT_EQ(plan_cruise_alt, 17000);
}

TEST_F(FplTest, EmptyFolderListsOnlyTheNewPlanEntry) {
  list_plan_files();
  EXPECT_EQ(stored_plan_count, 1);
  EXPECT_STREQ(stored_plans[1].name, "NEW FPL");
  std::filesystem::remove_all(root + "/vek/flightplans");
  list_plan_files();
  EXPECT_EQ(stored_plan_count, 1);
}
