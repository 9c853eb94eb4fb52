// Imports: the simulator's GPS route and its ".PLN" plans in both forms.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "flightplan/fpl_import.h"
#include "flightplan/plan_files.h"
#include "flightplan/route_progress.h"
#include "guidance/settings.h"
#include "module/module_messages.h"
#include "fpl_test_util.h"
#include "platform/host/gps_route_data.h"
#include "platform/host/gauge_host.h"

namespace {

GpsRouteData gps;
uint32_t gps_size = sizeof(GpsRouteData);
bool gps_present = true;

const void* fake_shared_data(const char* name, uint32_t* size) {
  if (!gps_present || std::strcmp(name, "FS2002 GPS DATA") != 0) return nullptr;
  *size = gps_size;
  return &gps;
}

PanelServiceTable services{};

void serve_gps(std::initializer_list<GpsRoutePoint> pts) {
  services.get_shared_data = fake_shared_data;
  ImportTable.panel_services = &services;
  std::memset(&gps, 0, sizeof gps);
  for (const GpsRoutePoint& p : pts) gps.points[gps.count++] = p;
}

}  // namespace

TEST_F(FplTest, GpsRouteImportedAndActivated) {
  serve_gps({{"KSEA", 47.449, -122.309306}, {"SEA", 47.435372, -122.309614}, {"KPDX", 45.588722, -122.5975}});
  import_sim_gps_route(0);
  EXPECT_EQ(fpl_message, "ACTIVE DAVUDUVUV RTE LOADED");
  EXPECT_EQ(active_idents(), (std::vector<std::string>{"KSEA", "SEA", "KPDX"}));
  EXPECT_STREQ(fpl_active[0].type, "APT");
  EXPECT_EQ(fpl_active[0].alt_constraint, 433);
  EXPECT_STREQ(fpl_active[1].type, "WPT");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(fpl_active_index, 1);

  // The GNS-XLS code 7 loads without the message.
  fpl_message.clear();
  import_sim_gps_route(7);
  EXPECT_EQ(fpl_message, "");
  EXPECT_EQ(fpl_active_last, 2);
}

TEST_F(FplTest, UnusableGpsRouteLeavesThePlans) {
  append_fixes({"KSEA", "OLM"});
  ImportTable.panel_services = nullptr;  // no host block
  import_sim_gps_route(7);
  EXPECT_EQ(fpl_message, "NO ACTIVE GPS RTE");

  serve_gps({{"KSEA", 47.449, -122.309306}});  // one point
  fpl_message.clear();
  import_sim_gps_route(0);
  EXPECT_EQ(fpl_message, "NO ACTIVE GPS RTE");

  serve_gps({{"KSEA", 47.449, -122.309306}, {"SEA", 47.435372, -122.309614}});
  gps.count = 5000;  // count beyond the block
  fpl_message.clear();
  import_sim_gps_route(0);
  EXPECT_EQ(fpl_message, "NO ACTIVE GPS RTE");
  gps.count = 2;
  gps_size = 16;  // block shorter than its points
  import_sim_gps_route(0);
  EXPECT_EQ(fpl_message, "NO ACTIVE GPS RTE");
  gps_size = sizeof(GpsRouteData);
  gps.points[1].lat = 1e300 * 10;  // not a position
  import_sim_gps_route(0);
  EXPECT_EQ(fpl_message, "NO ACTIVE GPS RTE");
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM"}));
  EXPECT_EQ(fpl_active_last, -1);
}

TEST_F(FplTest, PlnIniFormImportedIntoTheEditPlan) {
  ASSERT_EQ(import_pln_file(std::string(VEK_FPL_TEST_DIR) + "/ksea_kpdx_ini.pln"), 1);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "SEA", "DUBYA", "BTG", "KPDX"}));
  EXPECT_STREQ(fpl_edit[0].type, "APT");
  EXPECT_NEAR(fpl_edit[0].lat, 47.449, 1e-6);
  EXPECT_NEAR(fpl_edit[0].lon, -(122 + 18.56 / 60), 1e-9);
  EXPECT_EQ(fpl_edit[0].alt_constraint, 433);
  EXPECT_STREQ(fpl_edit[1].type, "VOR");
  EXPECT_STREQ(fpl_edit[2].type, "INT");
  EXPECT_EQ(fpl_edit[2].alt_constraint, -999);
  EXPECT_EQ(fpl_changed_state, 1);
  EXPECT_TRUE(end_record_ok(fpl_edit, fpl_edit_last));
  EXPECT_EQ(fpl_edit_dest_index, 4);  // KPDX
}

TEST_F(FplTest, PlnXmlFormImportedIntoTheEditPlan) {
  ASSERT_EQ(import_pln_file(std::string(VEK_FPL_TEST_DIR) + "/ksea_kpdx_xml.pln"), 1);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM", "DUBYA", "KPDX"}));
  EXPECT_NEAR(fpl_edit[0].lat, 47 + 26 / 60.0 + 56.40 / 3600, 1e-9);
  EXPECT_NEAR(fpl_edit[3].lon, -(122 + 35 / 60.0 + 51.0 / 3600), 1e-9);
  EXPECT_STREQ(fpl_edit[0].type, "APT");
  EXPECT_STREQ(fpl_edit[1].type, "VOR");
  EXPECT_STREQ(fpl_edit[2].type, "INT");
  EXPECT_EQ(fpl_edit[3].alt_constraint, 31);
}

TEST_F(FplTest, PlnFilesRefused) {
  append_fixes({"KSEA", "OLM"});
  EXPECT_EQ(import_pln_file(root + "/none.pln"), 0);
  EXPECT_EQ(fpl_message, "Unable to load FP");
  const char* broken = "<SimBase.Document><FlightPlan.FlightPlan><ATCWaypoint id=\"A\">";
  EXPECT_EQ(parse_pln_text(broken, std::strlen(broken)), -1);
  std::string many = "[flightplan]\n";
  for (int i = 0; i < 201; ++i) many += "waypoint." + std::to_string(i) + "=W, I, N47* 00.00', W122* 00.00', +0\n";
  EXPECT_EQ(parse_pln_text(many.data(), many.size()), -1);
  std::string xml = "<a><FlightPlan.FlightPlan>";
  for (int i = 0; i < 201; ++i)
    xml += "<ATCWaypoint id=\"W\"><WorldPosition>N47 0 0,W122 0 0,+0</WorldPosition></ATCWaypoint>";
  xml += "</FlightPlan.FlightPlan></a>";
  EXPECT_EQ(parse_pln_text(xml.data(), xml.size()), -1);
  EXPECT_EQ(parse_pln_text("[flightplan]\nwaypoint.0=X\n", 26), -1);
  EXPECT_EQ(parse_pln_text("[flightplan]\ntitle=none\n", 24), 0);
  EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM"}));
}

// A coordinate whose degrees do not follow the hemisphere letter, or with a letter among its
// numbers, refuses the plan; the forms the simulator writes read.
TEST_F(FplTest, PlnCoordinatesReadOnlyAsNumbersAfterTheLetter) {
  const std::pair<const char*, bool> rows[] = {
      {"N47* 26.94', W122* 18.56'", true},
      {"N 47* 26.94', W 122* 18.56'", true},
      {"N47\xC2\xB0 26' 56.40\", W122\xC2\xB0 18' 33.60\"", true},
      {"Nnan* 0', W122* 18.56'", false},
      {"N47* 26.94', Wx122* 18.56'", false},
      {"Ninf* 0', W122* 0'", false},
      {"N47* nan', W122* 18.56'", false},
      {"N* 47 0', W122* 18.56'", false},
      {"N-47* 0', W122* 18.56'", false},
  };
  for (const auto& [coords, taken] : rows) {
    std::string text = "[flightplan]\nwaypoint.0=KSEA, A, N47* 26.94', W122* 18.56', +433\nwaypoint.1=OLM, V, " +
                       std::string(coords) + ", +0\nwaypoint.2=KPDX, A, N45* 35.31', W122* 35.85', +31\n";
    ASSERT_EQ(parse_pln_text(text.data(), text.size()), taken ? 3 : -1) << coords;
    if (taken) {
      EXPECT_EQ(std::string(fpl_scan[1].ident), "OLM") << coords;
    }
  }
}

// The .PLN XML seeds of the fuzz corpus are whole documents that the waypoint reader reads:
// each valid seed gives its waypoints, the one over the plan's capacity is refused.
TEST_F(FplTest, PlnXmlCorpusSeedsReachTheWaypointReader) {
  const std::pair<const char*, int> rows[] = {
      {"seed_one.pln", 1},     {"seed_several.pln", 5},        {"seed_200.pln", 200},
      {"seed_201.pln", -1},    {"seed_ksea_kpdx_xml.pln", 4},  {"seed_odd_coordinates.pln", 5},
      {"seed_refused_coordinates.pln", -1}, {"seed_padded.pln", 4},
  };
  for (const auto& [name, count] : rows) {
    std::ifstream in(std::string(VEK_PLN_XML_CORPUS) + "/" + name, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty()) << name;
    EXPECT_EQ(parse_pln_text(text.data(), text.size()), count) << name;
  }
}

namespace {
double tower_lat = 0, tower_lon = 0, tower_alt = 0, fuel_gallons = 0;
}  // namespace

TEST_F(FplTest, PlanRequestLoadsFuelAndTowerViewGoesToTheDestination) {
  services.set_tower_view = [](double lat, double lon, double alt) {
    tower_lat = lat;
    tower_lon = lon;
    tower_alt = alt;
  };
  services.set_fuel_total_gallons = [](double g) { fuel_gallons = g; };
  fuel_gallons = 0.0;
  ImportTable.panel_services = &services;
  std::filesystem::copy_file(std::string(VEK_FPL_SAMPLE_ROOT) + "/vek/flightplans/KSEAKPDX.RTE",
                             root + "/vek/flightplans/KSEAKPDX.RTE");
  LoadFuelonFlightPlanLoad = 1;
  plan_load_name = "KSEAKPDX.RTE";
  ASSERT_EQ(load_and_activate_plan_file(3), 1);
  EXPECT_EQ(fuel_gallons, 0.0);  // the sample plan carries no fuel
  EXPECT_EQ(text_cdu_auto_apt, 1);
  load_plan_fuel(6700.0);
  EXPECT_NEAR(fuel_gallons, 1000.0, 1e-9);
  load_plan_fuel(-5.0);
  EXPECT_NEAR(fuel_gallons, 1000.0, 1e-9);

  set_tower_view_position();
  EXPECT_NEAR(tower_lat, 45.588722, 1e-9);
  EXPECT_NEAR(tower_lon, -122.5975, 1e-9);
  EXPECT_EQ(tower_alt, 31.0);
}

// A simulator plan loads whole or is refused: "Unable to load FP", the active plan kept, and
// one message naming the file and the line that refused it.
TEST_F(FplTest, DamagedSimulatorPlansAreRefusedWholeAtTheirLine) {
  const std::string head =
      "[flightplan]\r\ntitle=KSEA to KPDX\r\ndestination_id=KPDX, N45* 35.32', W122* 35.85', +000031.00\r\n";
  const std::string w0 = "waypoint.0=, KSEA, , KSEA, A, N47* 26.94', W122* 18.56', +000433.00, \r\n";
  const std::string w1 = "waypoint.1=, CARRO, , CARRO, I, N46* 54.00', W122* 40.00', +000000.00, \r\n";
  const std::string w2 = "waypoint.2=, BTG, , BTG, V, N45* 48.89', W122* 31.83', +000000.00, \r\n";
  const std::string w3 = "waypoint.3=, KPDX, , KPDX, A, N45* 35.32', W122* 35.85', +000031.00, \r\n";
  auto with = [&](const std::string& middle) { return head + w0 + middle + w2 + w3; };
  const std::string xml_head =
      "<?xml version=\"1.0\"?>\n<SimBase.Document>\n<FlightPlan.FlightPlan>\n"
      "<ATCWaypoint id=\"KSEA\"><WorldPosition>N47* 26.94',W122* 18.56',+433</WorldPosition></ATCWaypoint>\n";
  const std::string xml_tail = "</FlightPlan.FlightPlan>\n</SimBase.Document>\n";
  struct Row {
    const char* what;
    std::string text;
    int line;  // the line named in the message
  };
  const Row rows[] = {
      {"cut in its last longitude", head + w0 + w1 + w2 + w3.substr(0, 52), 7},
      {"cut at a line end", head + w0 + w1 + w2, 6},
      {"a position that does not read", with("waypoint.1=, CARRO, , CARRO, I, N95* 00.00', W122* 40.00', +0\n"), 5},
      {"a type that does not read", with("waypoint.1=, CARRO, , CARRO, X, N46* 54.00', W122* 40.00', +0\n"), 5},
      {"no ident", with("waypoint.1=, , , , I, N46* 54.00', W122* 40.00', +0\n"), 5},
      {"an altitude that does not read", with("waypoint.1=, CARRO, , CARRO, I, N46* 54.00', W122* 40.00', +1x\n"), 5},
      {"an altitude no page shows", with("waypoint.1=, CARRO, , CARRO, I, N46* 54.00', W122* 40.00', +99999\n"), 5},
      {"a line of 401 characters", with(w1.substr(0, w1.size() - 2) + std::string(401, ' ') + "x\n"), 5},
      {"a repeated number", with(w1 + "waypoint.1=, OLM, , OLM, V, N46* 58.00', W122* 54.00', +0\n"), 6},
      {"a number that is no number", with("waypoint.1x=, CARRO, , CARRO, I, N46* 54.00', W122* 40.00', +0\n"), 5},
      {"a NUL in an ident", with(std::string("waypoint.1=, CA") + '\0' + "RRO, , CA" + '\0' + "RRO, I, N46* 54.00', W122* 40.00', +0\n"), 5},
      {"the discontinuity marker", with("waypoint.1=, DISCO, , DISCO, I, N46* 54.00', W122* 40.00', +0\n"), 5},
      {"the route-break marker", with("waypoint.1=, THEN, , THEN, I, N46* 54.00', W122* 40.00', +0\n"), 5},
      {"the end marker", with("waypoint.1=, ******, , ******, I, N46* 54.00', W122* 40.00', +0\n"), 5},
      {"a blank written as a plan file writes it", with("waypoint.1=, A_B, , A_B, I, N46* 54.00', W122* 40.00', +0\n"), 5},
      {"an XML waypoint without a position",
       xml_head + "<ATCWaypoint id=\"NOPOS\"></ATCWaypoint>\n" + xml_tail, 5},
      {"an XML marker ident",
       xml_head + "<ATCWaypoint id=\"THEN\"><WorldPosition>N46* 54.00',W122* 40.00',+0</WorldPosition></ATCWaypoint>\n" +
           xml_tail,
       5},
      {"an XML document cut short", xml_head + "<ATCWaypoint id=\"BTG\"><WorldPos", 5},
  };
  for (const Row& row : rows) {
    std::string path = root + "/vek/flightplans/DAMAGED.PLN";
    std::ofstream(path, std::ios::binary) << row.text;
    fpl_edit_last = -1;
    append_fixes({"KSEA", "OLM"});
    fpl_message.clear();
    module_message_count = 0;
    EXPECT_EQ(load_plan_file("DAMAGED.PLN", 0), 0) << row.what;
    EXPECT_EQ(fpl_message, "Unable to load FP") << row.what;
    EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "OLM"})) << row.what;
    std::string told = "File '" + path + "' refused: line " + std::to_string(row.line);
    EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1, told), 1)
        << row.what << ": " << (module_message_count > 0 ? module_messages[module_message_count] : "no message");
  }
  // The whole plan loads, its last line ended or not, its destination in either case.
  std::string lower_head = head;
  lower_head.replace(lower_head.find("=KPDX"), 5, "=kpdx");
  for (const std::string& whole : {head + w0 + w1 + w2 + w3, head + w0 + w1 + w2 + w3.substr(0, w3.size() - 2),
                                   lower_head + w0 + w1 + w2 + w3}) {
    std::ofstream(root + "/vek/flightplans/WHOLE.PLN", std::ios::binary) << whole;
    module_message_count = 0;
    ASSERT_EQ(load_plan_file("WHOLE.PLN", 0), 1) << whole;
    EXPECT_EQ(edit_idents(), (std::vector<std::string>{"KSEA", "CARRO", "BTG", "KPDX"}));
    EXPECT_EQ(module_message_count, 0) << module_messages[1];
  }
}
