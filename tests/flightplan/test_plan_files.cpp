// Plan files: write, list, read back, refuse bad names, load and activate.
#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "flightplan/plan_files.h"
#include "fpl_test_util.h"
#include "guidance/settings.h"
#include "module/module_messages.h"

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

// The edit plan holds the active plan's records, numbers to the precision of the layout.
void expect_edit_plan_is_active_plan() {
  ASSERT_EQ(fpl_edit_last, fpl_active_last);
  for (int i = 0; i <= fpl_edit_last; ++i) {
    const FlightPlanWpt& a = fpl_active[i];
    const FlightPlanWpt& b = fpl_edit[i];
    EXPECT_STREQ(a.ident, b.ident) << i;
    EXPECT_STREQ(a.type, b.type) << i;
    EXPECT_NEAR(a.lat, b.lat, 5e-7) << i;
    EXPECT_NEAR(a.lon, b.lon, 5e-7) << i;
    EXPECT_NEAR(a.alt_constraint, b.alt_constraint, 0.5) << i;
    EXPECT_NEAR(a.spd_constraint, b.spd_constraint, 0.5) << i;
    EXPECT_NEAR(a.intc_course, b.intc_course, 0.05) << i;
    EXPECT_EQ(a.flyover, b.flyover) << i;
    EXPECT_EQ(a.constraint_flag, b.constraint_flag) << i;
    EXPECT_STREQ(a.via, b.via) << i;
    EXPECT_STREQ(a.segment, b.segment) << i;
    EXPECT_STREQ(a.role, b.role) << i;
    EXPECT_STREQ(a.navaid, b.navaid) << i;
  }
}

}  // namespace

TEST_F(FplTest, PlanWrittenListedAndReadBackEqual) {
  fly_sample_route();
  SaveFPLCruiseAlt = 1;
  cruise_alt = 17000;
  plan_fuel = 8400;
  ASSERT_EQ(write_plan_file("KSEAKPDX.RTE"), 1);
  std::string text = read_text(root + "/vek/flightplans/KSEAKPDX.RTE");
  EXPECT_EQ(text.substr(0, 51), "CruiseAlt=17000\nFuel=8400\nRecords=5\n[FlightPlan]\nKS");
  EXPECT_NE(text.find("\nOLM VOR 46.971528 -122.901900 11000 250 -1.0 0 1 - - - 113.40\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(root + "/vek/flightplans/KSEAKPDX.RTE.part"));
  ASSERT_EQ(write_plan_file("AAA.RTE"), 1);

  list_plan_files();
  ASSERT_EQ(stored_plan_count, 3);
  EXPECT_STREQ(stored_plans[1].name, "AAA.RTE");
  EXPECT_STREQ(stored_plans[2].name, "KSEAKPDX.RTE");
  EXPECT_STREQ(stored_plans[2].first_ident, "KSEA");
  EXPECT_STREQ(stored_plans[2].last_ident, "KPDX");
  EXPECT_STREQ(stored_plans[3].name, "NEW FPL");
  EXPECT_STREQ(stored_plans[3].first_ident, "NEXT FPL");
  EXPECT_STREQ(stored_plans[3].last_ident, "");
  EXPECT_EQ(gnsxls_plan_list_pages, 1);

  clear_fpl_edit();
  cruise_alt = 0;
  ASSERT_EQ(load_plan_file("KSEAKPDX.RTE", 0), 1);
  expect_edit_plan_is_active_plan();
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
  EXPECT_EQ(read_text(root + "/vek/flightplans/A.RTE").rfind("Records=5\n[FlightPlan]\n", 0), 0u);
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

TEST_F(FplTest, CommentsAndTheEndMarkerAreSkippedAndOverlongPlansRefused) {
  std::string dir = root + "/vek/flightplans/";
  write_text(dir + "GOOD.rte",
             "Title=abc\n[FlightPlan]\nKSEA APT 47.449 -122.309 433\n****** WPT 1 1\n"
             "\n; comment\nBTG VOR 45.81 -122.53\r\n");
  ASSERT_EQ(load_plan_file("good.RTE", 0), 1);  // name matched without regard to case
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "BTG"}));
  EXPECT_EQ(plan_cruise_alt, 0);

  std::string big = "[FlightPlan]\n";
  for (int i = 0; i < 201; ++i) big += "WP" + std::to_string(i) + " WPT 47.0 -122.0\n";
  write_text(dir + "BIG.RTE", big);
  EXPECT_EQ(load_plan_file("BIG.RTE", 0), 0);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "BTG"}));
  list_plan_files();  // the overlong file is listed by name, and refused when loaded
  EXPECT_EQ(stored_plan_count, 3);
  EXPECT_STREQ(stored_plans[1].name, "BIG.RTE");
  EXPECT_STREQ(stored_plans[2].name, "GOOD.rte");
}

// A record that does not read refuses the whole plan: it never loads with a waypoint missing,
// and a file that is no plan never loads as an empty route.
TEST_F(FplTest, AnUnreadableRecordOrAFileWithoutAPlanIsRefusedWhole) {
  std::string dir = root + "/vek/flightplans/";
  const std::string plan = "[FlightPlan]\nKSEA APT 47.449 -122.309 433\nKPDX APT 45.588 -122.597 31\n";
  const std::pair<const char*, std::string> rows[] = {
      {"nan latitude", "[FlightPlan]\nKSEA APT 47.449 -122.309\nOLM VOR nan -122.90\nKPDX APT 45.58 -122.59\n"},
      {"word for a number", "[FlightPlan]\nKSEA APT 47.449 -122.309\nSEA VOR notanumber -122.3\n"},
      {"unreadable altitude", "[FlightPlan]\nKSEA APT 47.449 -122.309 4x33\n"},
      {"too few fields", "[FlightPlan]\nKSEA APT 47.449\n"},
      {"too many fields", "[FlightPlan]\nOLM VOR 46.97 -122.90 5000 250 -1 1 0 V23 - - 113.40 extra\n"},
      {"overlong line", "[FlightPlan]\nKSEA APT 47.449 -122.309 " + std::string(400, '0') + "\n"},
      {"empty file", ""},
      {"binary file", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10)},
      {"no plan section", "KSEA APT 47.449 -122.309\n"},
      {"cut in its last number", "[FlightPlan]\nKSEA APT 47.449 -122.309\nKPDX APT 45.588722 -12"},
      {"cut at a line end", "Records=3\n" + plan},
      {"more records than its head gives", "Records=1\n" + plan},
      {"a NUL in an ident", std::string("[FlightPlan]\nKSEA APT 47.449 -122.309\nDUB\0A WPT 46 -122\n", 56)},
      {"a NUL in an airway", std::string("[FlightPlan]\nKSEA APT 47.449 -122.309\nDUB WPT 46 -122 -999 -999 -1 0 0 V2\0" "3\n", 76)},
      {"a cruise altitude with its unit", "CruiseAlt=17000ft\n" + plan},
      {"a cruise altitude of twenty digits", "CruiseAlt=17000000000000000000\n" + plan},
      {"a negative cruise altitude", "CruiseAlt=-5\n" + plan},
      {"a cruise altitude that is no number", "CruiseAlt=abc\n" + plan},
      {"a cruise altitude out of range", "CruiseAlt=150000\n" + plan},
      {"a fuel in hexadecimal", "Fuel=0x20D0\n" + plan},
      {"a fuel out of range", "Fuel=99999999\n" + plan},
  };
  for (const auto& [what, text] : rows) {
    append_fixes({"KSEA", "SEA", "KPDX"});
    write_text(dir + "X.RTE", text);
    fpl_message.clear();
    module_message_count = 0;
    EXPECT_EQ(load_plan_file("X.RTE", 0), 0) << what;
    EXPECT_EQ(fpl_message, "Unable to load FP") << what;
    EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "SEA", "KPDX"})) << what;
    // Told by name, a value of the head by its key.
    std::string key = text.rfind("CruiseAlt=", 0) == 0 ? ", CruiseAlt" : text.rfind("Fuel=", 0) == 0 ? ", Fuel" : "";
    EXPECT_EQ(module_message_count, 1) << what;
    EXPECT_EQ(module_messages[1].rfind("File '" + dir + "X.RTE' refused: ", 0), 0u) << what << ": " << module_messages[1];
    if (!key.empty()) {
      EXPECT_EQ(module_messages[1], "File '" + dir + "X.RTE' refused: line 1" + key) << what;
    }
    // Listed by name (a listing reads no plan whole); loading it is refused again.
    list_plan_files();
    EXPECT_EQ(stored_plan_count, 2) << what;
    EXPECT_FALSE(stored_plan_refused("X")) << what;
    EXPECT_EQ(load_plan_file(stored_plans[1].name, 0), 0) << what;
    clear_fpl_edit();
  }
}

// A save writes plans only: an existing file of another kind under the typed name is left as
// it was, whatever the case of the name; a listed plan or a new name is written.
TEST_F(FplTest, ASaveNeverReplacesAFileThatIsNoPlan) {
  fly_sample_route();
  FlightPlansFolder = "\\vek";
  write_text(root + "/vek/vek.cfg", "[Settings]\nCostIndex=80\n");
  EXPECT_EQ(write_plan_file("VEK.CFG"), 0);
  EXPECT_EQ(read_text(root + "/vek/vek.cfg"), "[Settings]\nCostIndex=80\n");
  EXPECT_EQ(write_plan_file("ROUTE.RTE"), 1);  // a new name is written
  EXPECT_EQ(write_plan_file("KSEAKPDX.RTE"), 1);
  EXPECT_EQ(write_plan_file("kseakpdx.rte"), 1);  // the listed plan, replaced
  FlightPlansFolder.clear();
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

TEST_F(FplTest, AValueOutsideItsRangeRefusesThePlan) {
  append_fixes({"KSEA", "SEA"});
  for (const char* line : {"X VOR 95.0 10.0", "X VOR 10.0 -180.5", "X VOR 10 10 1e300", "X VOR 10 10 -2001",
                           "X VOR 10 10 5000 2001", "X VOR 10 10 5000 -1000", "X VOR 10 10 5000 250 360.5"}) {
    write_text(root + "/vek/flightplans/R.RTE", std::string("[FlightPlan]\nKSEA APT 47.4 -122.3 433\n") + line + "\n");
    fpl_message.clear();
    EXPECT_EQ(load_plan_file("R.RTE", 0), 0) << line;
    EXPECT_EQ(fpl_message, "Unable to load FP") << line;
    EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "SEA"})) << line;
  }
}

// A stored plan's cruise level the aircraft cannot fly is refused with its key named, by the
// units' own bound: the departure airport's elevation in the database + 1,000 ft (KSEA 433 ft,
// with or without it in the file) up to MaxCruise (41,000 ft).
TEST_F(FplTest, ACruiseLevelTheAircraftCannotFlyRefusesThePlan) {
  fpl_highest_cruise_hook = [] { return int32_t{41000}; };
  const struct {
    int32_t cruise;
    const char* origin;
    bool loads;
  } rows[] = {{500, "KSEA APT 47.449 -122.309 433", false}, {1432, "KSEA APT 47.449 -122.309", false},
              {1433, "KSEA APT 47.449 -122.309", true},     {60000, "KSEA APT 47.449 -122.309 433", false},
              {41000, "KSEA APT 47.449 -122.309 433", true}};
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.cruise) + " from " + r.origin);
    const std::string path = root + "/vek/flightplans/C.RTE";
    write_text(path, "CruiseAlt=" + std::to_string(r.cruise) + "\n[FlightPlan]\n" + r.origin +
                         "\nKPDX APT 45.588722 -122.5975 31\n");
    clear_fpl_edit();
    cruise_alt = 17000;
    module_message_count = 0;
    EXPECT_EQ(load_plan_file("C.RTE", 0), r.loads ? 1 : 0);
    EXPECT_EQ(cruise_alt, r.loads ? r.cruise : 17000);
    const std::string told = "File '" + path + "' refused: CruiseAlt=" + std::to_string(r.cruise) + " out of range";
    EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1, told), r.loads ? 0 : 1);
  }
}

TEST_F(FplTest, ARecordTheReaderWouldRefuseIsNeverSaved) {
  fly_sample_route();
  ASSERT_EQ(write_plan_file("OLD.RTE"), 1);
  std::string old_text = read_text(root + "/vek/flightplans/OLD.RTE");
  void (*const faults[])(FlightPlanWpt&) = {
      [](FlightPlanWpt& r) { r.alt_constraint = 1e300; },
      [](FlightPlanWpt& r) { r.lat = 91.0; },
      [](FlightPlanWpt& r) { fpl_set_text(r.via, "J1\nX"); },  // a line end in a text
      [](FlightPlanWpt& r) { fpl_set_text(r.ident, "-"); },     // read back as no ident
  };
  const FlightPlanWpt kept = fpl_active[2];
  for (auto spoil : faults) {
    spoil(fpl_active[2]);
    EXPECT_EQ(write_plan_file("OLD.RTE"), 0);
    fpl_active[2] = kept;
  }
  EXPECT_EQ(read_text(root + "/vek/flightplans/OLD.RTE"), old_text);
}

TEST_F(FplTest, SavingNeverWritesThroughALink) {
  fly_sample_route();
  std::string dir = root + "/vek/flightplans/";
  write_text(root + "/vek/vek.cfg", "TransAlt=5000\n");
  std::filesystem::create_symlink("../vek.cfg", dir + "A.RTE:saving");  // a stale working file
  std::filesystem::create_symlink("../vek.cfg", dir + "B.RTE");         // a plan that is a link
  write_text(dir + "A.RTE.part", "the pilot's own file");
  for (const char* name : {"A.RTE", "B.RTE"}) {
    ASSERT_EQ(write_plan_file(name), 1) << name;
    EXPECT_FALSE(std::filesystem::is_symlink(dir + name)) << name;
    EXPECT_EQ(read_text(dir + name).find("Records=5\n[FlightPlan]\nKSEA APT"), 0u) << name;
  }
  EXPECT_EQ(read_text(root + "/vek/vek.cfg"), "TransAlt=5000\n");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir + "A.RTE:saving")));
  EXPECT_EQ(read_text(dir + "A.RTE.part"), "the pilot's own file");
}

// Generated plans within every field's range save and reload to the same records.
TEST_F(FplTest, GeneratedPlansReloadToTheSameRecords) {
  std::mt19937 rng(19);
  auto number = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  auto text = [&](std::size_t size) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ./";
    std::string t(std::uniform_int_distribution<std::size_t>(0, size - 1)(rng), ' ');
    for (char& c : t) c = letters[rng() % (sizeof letters - 1)];
    return t;
  };
  static const char* types[] = {"APT", "VOR", "NDB", "INT", "RWY", "WPT"};
  for (int plan = 0; plan < 50; ++plan) {
    clear_fpl_active();
    fpl_active_last = static_cast<int>(rng() % (FPL_MAX_LAST + 1));
    for (int i = 0; i <= fpl_active_last; ++i) {
      FlightPlanWpt& r = fpl_active[i];
      std::string ident = text(sizeof r.ident);
      fpl_set_text(r.ident, ident.empty() || ident == "******" ? "X" : ident);
      fpl_set_text(r.type, types[rng() % 6]);
      r.lat = number(-90.0, 90.0);
      r.lon = number(-180.0, 180.0);
      r.alt_constraint = rng() % 2 ? FPL_NO_CONSTRAINT : number(-2000.0, 99900.0);
      r.spd_constraint = rng() % 2 ? FPL_NO_CONSTRAINT : number(0.0, 2000.0);
      r.intc_course = rng() % 2 ? FPL_NO_INTERCEPT : number(0.0, 360.0);
      r.flyover = static_cast<int32_t>(rng() % 2);
      r.constraint_flag = static_cast<int32_t>(rng() % 2);
      fpl_set_text(r.via, text(sizeof r.via));
      fpl_set_text(r.segment, text(sizeof r.segment));
      fpl_set_text(r.role, text(sizeof r.role));
      fpl_set_text(r.navaid, text(sizeof r.navaid));
    }
    set_end_record(fpl_active[fpl_active_last + 1]);
    ASSERT_EQ(write_plan_file("GEN.RTE"), 1) << plan;
    ASSERT_EQ(load_plan_file("GEN.RTE", 0), 1) << plan;
    expect_edit_plan_is_active_plan();
  }
}

namespace {

// Bytes this process has read through the file system so far.
long long bytes_read_so_far() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long long value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return 0;
}

}  // namespace

// A listing reads only what it lists: each plan's first and last bytes (its origin and
// destination), never a whole file; a plan is read whole when it is loaded, and a damaged
// one is refused then, by name and line.
TEST_F(FplTest, AListingReadsOnlyTheEndsOfEachPlan) {
  const std::string pad = "\n" + std::string(40000, ' ') + "\n";
  const std::string rte = "[FlightPlan]\nKSEA APT 47.449 -122.309 433\n;" + pad + "OLM VOR 46.97 -122.90\n" +
                          "KPDX APT 45.588 -122.597 31\n";
  const std::string ini =
      "[flightplan]\r\ntitle=x\r\nwaypoint.0=, KBFI, , KBFI, A, N47* 31.80', W122* 18.12', +21\r\n;" + pad +
      "waypoint.1=, KOLM, , KOLM, A, N46* 58.16', W122* 54.15', +209\r\n";
  const std::string xml =
      "<?xml version=\"1.0\"?>\n<SimBase.Document><FlightPlan.FlightPlan>\n"
      "<ATCWaypoint id=\"KPDX\"><ATCWaypointType>Airport</ATCWaypointType>"
      "<WorldPosition>N45* 35.32',W122* 35.85',+31</WorldPosition></ATCWaypoint>" + pad +
      "<ATCWaypoint id=\"X\"><ATCWaypointType>Airport</ATCWaypointType>"
      "<WorldPosition>N47* 26.94',W122* 18.56',+433</WorldPosition><ICAO><ICAOIdent>KSEA</ICAOIdent></ICAO>"
      "</ATCWaypoint>\n</FlightPlan.FlightPlan></SimBase.Document>\n";
  std::string damaged = ini;
  damaged[damaged.size() / 2] = '\0';
  struct Row {
    const char* suffix;
    const std::string* text;
    const char* first;
    const char* last;
    bool loads;
  };
  const Row rows[] = {
      {"A.RTE", &rte, "KSEA", "KPDX", true},
      {"B.PLN", &ini, "KBFI", "KOLM", true},
      {"C.pln", &xml, "KPDX", "KSEA", true},
      {"D.PLN", &damaged, "KBFI", "KOLM", false},
  };
  const int copies = 75;
  std::string dir = root + "/vek/flightplans/";
  long long written = 0;
  for (int c = 0; c < copies; ++c)
    for (const Row& row : rows) {
      char name[32];
      std::snprintf(name, sizeof name, "P%03d%s", c, row.suffix);
      write_text(dir + name, *row.text);
      written += static_cast<long long>(row.text->size());
    }
  long long before = bytes_read_so_far();
  list_plan_files();
  long long listing = bytes_read_so_far() - before;
  EXPECT_LE(listing, copies * 4 * 8192LL + 4096) << "of " << written << " bytes in the folder";
  ASSERT_EQ(stored_plan_count, copies * 4 + 1);
  for (int c = 0; c < copies; ++c)
    for (int k = 0; k < 4; ++k) {
      const StoredPlan& e = stored_plans[1 + c * 4 + k];
      EXPECT_STREQ(e.first_ident, rows[k].first) << e.name;
      EXPECT_STREQ(e.last_ident, rows[k].last) << e.name;
    }
  for (const Row& row : rows) {
    std::string name = std::string("P000") + row.suffix;
    module_message_count = 0;
    EXPECT_EQ(load_plan_file(name, 0), row.loads ? 1 : 0) << name;
    EXPECT_EQ(module_message_count, row.loads ? 0 : 1) << name;
  }
}
