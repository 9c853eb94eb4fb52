// The host as a module sees it: service order, placements, time, the panel-service table,
// clicks and images.
#include <cairo.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/panel_config.h"
#include "platform/host/sim_token_ids.h"
#include "tests/host/host_fixture.h"

using simhost::RecordKind;

TEST_F(FakeHostTest, ServicesRunInPanelOrderInPhases) {
  start();
  std::vector<std::string> want = {"FAKE_ND 2",  "FAKE_SERVER 2",  "FAKE_ND 2",  "FAKE_ND 4",  "FAKE_SERVER 4",
                                   "FAKE_ND 4",  "FAKE_ND 14",     "FAKE_SERVER 14", "FAKE_ND 14"};
  EXPECT_EQ(fake_log.calls, want);
  fake_log.calls.clear();
  host.run_frames(1);
  want = {"FAKE_ND 6", "FAKE_SERVER 6", "FAKE_ND 6", "FAKE_ND 10", "FAKE_SERVER 10", "FAKE_ND 10"};
  EXPECT_EQ(fake_log.calls, want);
  fake_log.calls.clear();
  host.stop();
  want = {"FAKE_ND 15", "FAKE_SERVER 15", "FAKE_ND 15"};
  EXPECT_EQ(fake_log.calls, want);
}

TEST(HostLifetime, ModuleInitOnAttachDeinitOnReleaseAndRestartReinstalls) {
  fake_log = FakeModuleLog{};
  {
    simhost::SimHost host;
    ASSERT_TRUE(host.attach_module(&fake_linkage, &fake_imports, "vek1"));
    EXPECT_EQ(fake_log.inits, 1);
    EXPECT_EQ(fake_imports.panel_services, host.service_table());
    simhost::PanelConfig panel;
    std::string error;
    std::istringstream cfg("[Window00]\ngauge00=vek1!FAKE_SERVER, 0, 0, 1, 1\n");
    ASSERT_TRUE(simhost::parse_panel_config(cfg, "p.cfg", &panel, &error));
    host.set_panel(panel);
    ASSERT_TRUE(host.start(&error)) << error;
    host.stop();
    ASSERT_TRUE(host.start(&error)) << error;
    EXPECT_EQ(fake_log.calls, (std::vector<std::string>{"FAKE_SERVER 2", "FAKE_SERVER 4", "FAKE_SERVER 14",
                                                        "FAKE_SERVER 15", "FAKE_SERVER 2", "FAKE_SERVER 4",
                                                        "FAKE_SERVER 14"}));
    EXPECT_EQ(fake_log.deinits, 0);
  }
  EXPECT_EQ(fake_log.calls.back(), "FAKE_SERVER 15");
  EXPECT_EQ(fake_log.inits, 1);
  EXPECT_EQ(fake_log.deinits, 1);
  EXPECT_EQ(fake_imports.panel_services, nullptr);
}

TEST_F(FakeHostTest, EachPlacementGetsItsOwnHeaderElementsAndImages) {
  start();
  ASSERT_EQ(host.gauges().size(), 3u);
  const simhost::PlacedGauge& main_nd = *host.gauges()[0];
  const simhost::PlacedGauge& popup_nd = *host.gauges()[2];
  EXPECT_STREQ(main_nd.header.parameters, "VC");
  // Fields of the packed header are copied out before comparing.
  int32_t w = main_nd.header.width, h = main_nd.header.height, win = main_nd.header.window_id;
  EXPECT_EQ(w, 400);
  EXPECT_EQ(h, 300);
  EXPECT_EQ(win, 0);
  EXPECT_STREQ(popup_nd.header.parameters, "WN");
  int32_t px = popup_nd.header.x, py = popup_nd.header.y;
  win = popup_nd.header.window_id;
  EXPECT_EQ(win, 4012);
  EXPECT_EQ(px, 10);
  EXPECT_EQ(py, 20);
  void* host_data = main_nd.header.host_data;
  EXPECT_EQ(host_data, &main_nd);

  // Element 0 is drawn at the placement size; element 2 scaled from its design size;
  // the bitmap element has no image.
  ASSERT_NE(main_nd.elements[0].image, nullptr);
  EXPECT_EQ(main_nd.elements[0].image->width, 400);
  EXPECT_EQ(main_nd.elements[0].image->height, 300);
  EXPECT_EQ(main_nd.elements[0].image->stride, 1600);
  EXPECT_EQ(main_nd.elements[1].image, nullptr);
  ASSERT_NE(main_nd.elements[2].image, nullptr);
  EXPECT_EQ(main_nd.elements[2].image->width, 100);
  EXPECT_EQ(main_nd.elements[2].image->height, 60);
  EXPECT_EQ(main_nd.elements[2].image_flags, IMAGE_HIDDEN);
  EXPECT_EQ(popup_nd.elements[0].image->width, 200);
  EXPECT_NE(main_nd.elements[0].image, popup_nd.elements[0].image);

  // The module's own records stay untouched.
  EXPECT_EQ(fake_linkage.gauges[0]->elements[0].image, nullptr);
  const char* module_params = fake_linkage.gauges[0]->parameters;
  EXPECT_EQ(module_params, nullptr);
}

TEST_F(FakeHostTest, InstallRunsInTheSimulatorFolder) {
  TempDir dir;
  char real[PATH_MAX];
  ASSERT_NE(realpath(dir.path.c_str(), real), nullptr);
  host.set_sim_folder(dir.path);
  start();
  EXPECT_EQ(fake_log.install_cwd, real);
}

TEST_F(FakeHostTest, TickCounterRunsAtEighteenPerSimulatedSecond) {
  start();
  host.run_frames(18);
  EXPECT_EQ(host.tick(), 18);
  EXPECT_EQ(fake_log.last_tick, 18.0);

  // Two frames per tick.
  host.set_frame_rate(36);
  host.run_frames(1);
  EXPECT_EQ(fake_log.last_tick, 18.0);
  host.run_frames(1);
  EXPECT_EQ(fake_log.last_tick, 19.0);
  host.run_seconds(1.0);
  EXPECT_EQ(host.tick(), 37);

  // Four times the rate: four ticks a frame.
  host.set_frame_rate(18);
  ASSERT_TRUE(host.aircraft().set_sim_rate(4.0));
  host.run_frames(18);
  EXPECT_EQ(host.tick(), 37 + 72);

  // Paused: frames are still drawn, time stands still.
  host.inject_key_event(KEY_PAUSE_TOGGLE, 0);
  int draws = host.gauges()[0]->draws;
  host.run_frames(10);
  EXPECT_EQ(host.tick(), 37 + 72);
  EXPECT_EQ(host.gauges()[0]->draws, draws + 10);
}

TEST_F(FakeHostTest, ModuleKeyEventsAreRecordedAppliedAndHeardByHandlers) {
  start();
  services()->trigger_key_event(KEY_AP_HEADING_SET, 270);
  services()->trigger_key_event(0x12345, 7);
  ASSERT_EQ(count_records(RecordKind::KeyEvent), 2);
  const simhost::Record& r = host.records()[0];
  EXPECT_EQ(r.id, KEY_AP_HEADING_SET);
  EXPECT_EQ(r.param, 270);
  EXPECT_TRUE(r.applied);
  EXPECT_FALSE(host.records()[1].applied);
  EXPECT_EQ(host.aircraft().state().ap_heading, 270.0);
  EXPECT_EQ(fake_log.events, (std::vector<int>{KEY_AP_HEADING_SET, 0x12345}));
  EXPECT_EQ(simhost::format_record(host.records()[1]).find("key 0x12345 7 (not applied)") != std::string::npos, true);
}

TEST_F(FakeHostTest, AHandlerSendingItsOwnEventStopsAtTheNestingLimit) {
  start();
  host.inject_key_event(0x77777, 0);
  EXPECT_EQ(count_records(RecordKind::InjectedEvent), 1);
  EXPECT_EQ(count_records(RecordKind::KeyEvent), 8);
  EXPECT_EQ(host.records().back().param, 8);
  // The limit is per chain: the next event is heard again.
  host.inject_key_event(KEY_VNAV_TOGGLE_EVENT, 0);
  EXPECT_EQ(fake_log.events.back(), KEY_VNAV_TOGGLE_EVENT);
}

TEST_F(FakeHostTest, InjectedEventsReachHandlersAndAircraftUntilTheHandlerLeaves) {
  start();
  host.inject_key_event(KEY_VNAV_TOGGLE_EVENT, 0);
  EXPECT_EQ(host.named_var("fake_vnav"), 1.0);
  EXPECT_EQ(count_records(RecordKind::NamedVarWrite), 1);
  host.inject_key_event(KEY_PAUSE_TOGGLE, 0);
  EXPECT_TRUE(host.aircraft().state().paused);
  host.stop();
  size_t seen = fake_log.events.size();
  host.inject_key_event(KEY_VNAV_TOGGLE_EVENT, 0);
  EXPECT_EQ(fake_log.events.size(), seen);
  EXPECT_EQ(host.named_var("fake_vnav"), 1.0);
}

TEST_F(FakeHostTest, NamedVariablesShareOneNamespaceWithoutRegardToCase) {
  start();
  int32_t id = services()->register_named_variable("vek_lnav");
  ASSERT_GE(id, 0);
  EXPECT_EQ(services()->register_named_variable("VEK_LNAV"), id);
  EXPECT_EQ(services()->check_named_variable("Vek_Lnav"), id);
  EXPECT_EQ(services()->check_named_variable("vek_nothing"), -1);
  EXPECT_EQ(services()->get_named_variable_value(id), 0.0);
  services()->set_named_variable_value(id, 1.0);
  EXPECT_EQ(services()->get_named_variable_value(id), 1.0);
  EXPECT_EQ(host.named_var("vek_lnav"), 1.0);
  ASSERT_EQ(count_records(RecordKind::NamedVarWrite), 1);
  EXPECT_EQ(host.records().back().name, "vek_lnav");

  // Ids outside the table read 0 and are not written.
  EXPECT_EQ(services()->get_named_variable_value(-1), 0.0);
  EXPECT_EQ(services()->get_named_variable_value(999), 0.0);
  services()->set_named_variable_value(999, 5.0);
  services()->set_named_variable_value(-1, 5.0);
  EXPECT_EQ(count_records(RecordKind::NamedVarWrite), 1);
  EXPECT_EQ(services()->register_named_variable(nullptr), -1);
  EXPECT_EQ(services()->register_named_variable(""), -1);

  // Withdrawn through the shared-variable call: gone by name, its id reads 0 and ignores
  // writes; registering again revives the same id at 0.
  EXPECT_EQ(services()->unregister_shared_var("vek_lnav"), 1);
  EXPECT_EQ(services()->check_named_variable("vek_lnav"), -1);
  EXPECT_EQ(services()->get_named_variable_value(id), 0.0);
  services()->set_named_variable_value(id, 3.0);
  EXPECT_EQ(count_records(RecordKind::NamedVarWrite), 1);
  EXPECT_EQ(services()->unregister_shared_var("vek_lnav"), 0);
  EXPECT_EQ(services()->register_named_variable("vek_lnav"), id);
  EXPECT_EQ(services()->get_named_variable_value(id), 0.0);
}

TEST_F(FakeHostTest, SharedVariablesCanBeReadAsAnotherModuleWould) {
  start();
  int32_t kind = -9;
  uint32_t size = 0;
  void* p = services()->lookup_shared_var("fake_act_wpt", &kind, &size);
  ASSERT_EQ(p, &fake_server_value);
  EXPECT_EQ(kind, SHARED_FLOAT64);
  EXPECT_EQ(size, sizeof(double));
  fake_server_value = 7.25;
  EXPECT_EQ(*static_cast<double*>(host.lookup_shared_var("FAKE_ACT_WPT", nullptr, nullptr)), 7.25);
  EXPECT_EQ(services()->lookup_shared_var("tcas_targets", &kind, &size), nullptr);
  EXPECT_EQ(kind, -1);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(services()->register_shared_var("x", SHARED_INT32, nullptr, 4), 0);
  host.stop();
  EXPECT_EQ(host.lookup_shared_var("fake_act_wpt", nullptr, nullptr), nullptr);
  EXPECT_EQ(services()->unregister_shared_var("fake_act_wpt"), 0);
}

TEST_F(FakeHostTest, WindowsShowHideAndToggleWithRecords) {
  start();
  EXPECT_EQ(services()->is_panel_window_visible(0), 1);
  EXPECT_EQ(services()->is_panel_window_visible(4012), 0);
  // The space key of the display toggles window 4012.
  std::string error;
  ASSERT_TRUE(host.click_index("FAKE_ND", 3, &error)) << error;
  EXPECT_TRUE(host.window_visible(4012));
  EXPECT_EQ(services()->panel_window_toggle(4012), 1);
  EXPECT_FALSE(host.window_visible(4012));
  EXPECT_EQ(services()->panel_window_show(4012), 1);
  EXPECT_EQ(services()->panel_window_show(4012), 1);
  EXPECT_TRUE(host.window_visible(4012));
  EXPECT_EQ(services()->panel_window_close(0), 1);
  EXPECT_EQ(services()->is_panel_window_visible(0), 0);
  // A window the panel does not have.
  EXPECT_EQ(services()->panel_window_toggle(4001), 0);
  EXPECT_EQ(services()->is_panel_window_visible(4001), 0);

  std::vector<std::string> lines;
  for (const auto& r : host.records())
    if (r.kind == RecordKind::WindowChange) {
      std::string line = simhost::format_record(r);
      lines.push_back(line.substr(line.find("window")));
    }
  std::vector<std::string> want = {"window 4012 shown", "window 4012 hidden", "window 4012 shown",
                                   "window 4012 shown", "window 0 hidden", "window 4001 shown (not applied)"};
  EXPECT_EQ(lines, want);
}

TEST_F(FakeHostTest, ClicksReachTheDeepestRectangleInDesignUnits) {
  start();
  const simhost::PlacedGauge& g = *host.gauges()[0];  // 400 x 300: twice the design size
  EXPECT_EQ(host.child_rect_count(g), 4);
  EXPECT_EQ(host.hit_test(g, 60, 30), 0);    // design (30, 15)
  EXPECT_EQ(host.hit_test(g, 240, 120), 2);  // design (120, 60): nested child over the big one
  EXPECT_EQ(host.hit_test(g, 300, 120), 3);  // design (150, 60)
  EXPECT_EQ(host.hit_test(g, 300, 260), 1);  // design (150, 130): below the nested parent
  EXPECT_EQ(host.hit_test(g, 190, 90), 1);   // design (95, 45)
  EXPECT_EQ(host.hit_test(g, 10, 10), -1);   // inside the parent only
  EXPECT_EQ(host.hit_test(g, 399, 299), -1);

  std::string error;
  ASSERT_TRUE(host.click_at("FAKE_ND", 240, 120, &error)) << error;
  ASSERT_TRUE(host.click_at("FAKE_ND", 300, 260, &error)) << error;
  ASSERT_TRUE(host.click_index("FAKE_ND", 0, &error)) << error;
  EXPECT_EQ(fake_log.clicks, (std::vector<std::string>{"1", "big", "a"}));
  EXPECT_EQ(count_records(RecordKind::Click), 3);

  EXPECT_FALSE(host.click_at("FAKE_ND", 10, 10, &error));
  EXPECT_NE(error.find("no click rectangle"), std::string::npos);
  EXPECT_FALSE(host.click_index("FAKE_ND", 4, &error));
  EXPECT_FALSE(host.click_index("FAKE_SERVER", 0, &error));
  EXPECT_FALSE(host.click_index("NOPE", 0, &error));
  EXPECT_EQ(fake_log.clicks.size(), 3u);
}

TEST_F(FakeHostTest, TypingClicksTheKeyOfEachCharacterFrameByFrame) {
  start();
  int64_t frame = host.frame();
  std::string error;
  ASSERT_TRUE(host.type_text("FAKE_ND", "A1 a", &error)) << error;
  EXPECT_EQ(fake_log.clicks, (std::vector<std::string>{"a", "1", "space", "a"}));
  EXPECT_EQ(host.frame(), frame + 4);
  EXPECT_EQ(host.key_for_char(*host.gauges()[0], 'Z'), -1);
  EXPECT_FALSE(host.type_text("FAKE_ND", "Z", &error));
  EXPECT_NE(error.find("no key for 'Z'"), std::string::npos);
}

TEST_F(FakeHostTest, GpsRouteIsServedAsSharedData) {
  start();
  ASSERT_TRUE(host.add_gps_point("KSEA", 47.449, -122.309));
  ASSERT_TRUE(host.add_gps_point("LONGIDENT", 45.589, -122.597));  // cut to 7 characters
  uint32_t size = 0;
  auto* data = static_cast<const GpsRouteData*>(services()->get_shared_data("FS2002 GPS DATA", &size));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(size, sizeof(GpsRouteData));
  EXPECT_EQ(data->count, 2);
  EXPECT_STREQ(data->points[0].ident, "KSEA");
  EXPECT_STREQ(data->points[1].ident, "LONGIDE");
  EXPECT_DOUBLE_EQ(data->points[1].lon, -122.597);
  EXPECT_EQ(services()->get_shared_data("OTHER DATA", &size), nullptr);
  EXPECT_EQ(size, 0u);
  for (int i = 2; i < GPS_ROUTE_CAPACITY; ++i) ASSERT_TRUE(host.add_gps_point("P", 0, 0));
  EXPECT_FALSE(host.add_gps_point("FULL", 0, 0));
  EXPECT_FALSE(host.add_gps_point("BAD", 91, 0));
  EXPECT_EQ(data->count, GPS_ROUTE_CAPACITY);
}

TEST_F(FakeHostTest, SimulatorRequestsAreRecordedAndFuelAndTimeApplied) {
  start();
  services()->set_fuel_total_gallons(1234.0);
  EXPECT_DOUBLE_EQ(host.aircraft().state().fuel_gallons, 1234.0);
  services()->set_fuel_total_gallons(-5.0);
  EXPECT_DOUBLE_EQ(host.aircraft().state().fuel_gallons, 1234.0);
  services()->set_fuel_total_gallons(1e9);  // limited to the tanks
  EXPECT_DOUBLE_EQ(host.aircraft().state().fuel_gallons, host.aircraft().state().fuel_capacity_gallons);

  services()->set_zulu_time(23, 59);
  EXPECT_DOUBLE_EQ(host.aircraft().state().zulu_seconds, 23 * 3600.0 + 59 * 60.0);
  services()->set_zulu_time(24, 0);
  services()->set_zulu_time(12, 60);
  EXPECT_DOUBLE_EQ(host.aircraft().state().zulu_seconds, 23 * 3600.0 + 59 * 60.0);

  services()->set_tower_view(47.449, -122.309, 433.0);
  std::vector<bool> applied;
  for (const auto& r : host.records()) applied.push_back(r.applied);
  EXPECT_EQ(applied, (std::vector<bool>{true, false, true, true, false, false, true}));
  EXPECT_EQ(host.records().back().kind, RecordKind::TowerView);
  EXPECT_DOUBLE_EQ(host.records().back().lat, 47.449);
}

TEST_F(FakeHostTest, CalculatorCodeAnswersItsKnownReadsAndZeroOtherwise) {
  start();
  host.aircraft().state().altitude_ft = 8000.0;
  host.aircraft().state().ap_altitude_ft = 11000.0;
  double v = -1.0;
  EXPECT_EQ(services()->execute_calculator_code("(A:INDICATED ALTITUDE, feet)", &v), 1);
  EXPECT_DOUBLE_EQ(v, 8000.0);
  EXPECT_EQ(services()->execute_calculator_code("(A:AUTOPILOT ALTITUDE LOCK VAR, feet)", &v), 1);
  EXPECT_DOUBLE_EQ(v, 11000.0);
  EXPECT_EQ(services()->execute_calculator_code("(A:DECISION HEIGHT,FEET)", &v), 1);
  EXPECT_DOUBLE_EQ(v, 200.0);
  EXPECT_EQ(services()->execute_calculator_code("(A:Design Speed VS0, knots)", &v), 1);
  EXPECT_DOUBLE_EQ(v, 110.0);
  EXPECT_EQ(services()->execute_calculator_code("(A:Design Speed VS1, knots)", &v), 1);
  EXPECT_DOUBLE_EQ(v, 130.0);
  ASSERT_TRUE(host.aircraft().set_zulu_time(12, 0));
  host.aircraft().state().lon = 0.0;
  EXPECT_EQ(services()->execute_calculator_code("(P:TIME OF DAY)", &v), 1);
  EXPECT_DOUBLE_EQ(v, 1.0);
  ASSERT_TRUE(host.aircraft().set_zulu_time(23, 0));
  EXPECT_EQ(services()->execute_calculator_code("(P:TIME OF DAY)", &v), 1);
  EXPECT_DOUBLE_EQ(v, 3.0);
  EXPECT_EQ(services()->execute_calculator_code("(A:FLAPS HANDLE INDEX, number)", &v), 0);
  EXPECT_EQ(v, 0.0);
  EXPECT_EQ(services()->execute_calculator_code(nullptr, &v), 0);
  // The unit-based reader reaches the same values.
  int32_t var = services()->get_aircraft_var_enum("INDICATED ALTITUDE");
  EXPECT_DOUBLE_EQ(services()->aircraft_varget(var, services()->get_units_enum("feet"), 0), 8000.0);
  EXPECT_DOUBLE_EQ(services()->aircraft_varget(var, services()->get_units_enum("meters"), 0), 8000.0 * 0.3048);
  EXPECT_EQ(services()->get_aircraft_var_enum("NOT A VARIABLE"), -1);
  EXPECT_EQ(services()->aircraft_varget(-1, 0, 0), 0.0);
}

TEST_F(FakeHostTest, ShotWritesTheDrawnImageAsPng) {
  start();
  host.run_frames(1);
  TempDir dir;
  std::string path = dir.path + "/nd.png";
  std::string error;
  ASSERT_TRUE(host.write_png("FAKE_ND", path, &error)) << error;
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(s), 400);
  EXPECT_EQ(cairo_image_surface_get_height(s), 300);
  auto* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  EXPECT_EQ(px[0], 0xFF00FF00u);
  cairo_surface_destroy(s);
  EXPECT_FALSE(host.write_png("FAKE_SERVER", path, &error));
  EXPECT_FALSE(host.write_png("FAKE_ND", "/nonexistent-dir/x.png", &error));
}

TEST(HostModuleFile, LoadsAModuleFileByItsExports) {
  simhost::SimHost host;
  std::string error;
  EXPECT_FALSE(host.load_module("/nonexistent/vek1.gau", &error));
  EXPECT_NE(error.find("/nonexistent/vek1.gau"), std::string::npos);
  ASSERT_TRUE(host.load_module(FAKE_GAU_PATH, &error)) << error;
  // The module name is the file name: "fake".
  simhost::PanelConfig panel;
  std::istringstream cfg("[Window00]\nvisible=1\ngauge00=fake!FAKE_SERVER, 0, 0, 10, 10\n");
  ASSERT_TRUE(simhost::parse_panel_config(cfg, "panel.cfg", &panel, &error)) << error;
  host.set_panel(panel);
  ASSERT_TRUE(host.start(&error)) << error;
  EXPECT_NE(host.lookup_shared_var("fake_act_wpt", nullptr, nullptr), nullptr);
  host.run_frames(2);
  host.stop();
  EXPECT_EQ(host.lookup_shared_var("fake_act_wpt", nullptr, nullptr), nullptr);
}

TEST(HostStart, RefusesGaugesTheModuleLacks) {
  fake_log = FakeModuleLog{};
  simhost::SimHost host;
  ASSERT_TRUE(host.attach_module(&fake_linkage, &fake_imports, "vek1"));
  std::string error;
  simhost::PanelConfig panel;
  std::istringstream cfg("[Window00]\ngauge00=vek1!NO_SUCH_GAUGE, 0, 0, 10, 10\n");
  ASSERT_TRUE(simhost::parse_panel_config(cfg, "p.cfg", &panel, &error));
  host.set_panel(panel);
  EXPECT_FALSE(host.start(&error));
  EXPECT_NE(error.find("NO_SUCH_GAUGE"), std::string::npos);
  std::istringstream cfg2("[Window00]\ngauge00=other!FAKE_ND, 0, 0, 10, 10\n");
  ASSERT_TRUE(simhost::parse_panel_config(cfg2, "p.cfg", &panel, &error));
  host.set_panel(panel);
  EXPECT_FALSE(host.start(&error));
  EXPECT_NE(error.find("other"), std::string::npos);
  // A size from the module's first element when the line gives none.
  std::istringstream cfg3("[Window00]\ngauge00=vek1!FAKE_ND, 5, 6\n");
  ASSERT_TRUE(simhost::parse_panel_config(cfg3, "p.cfg", &panel, &error));
  host.set_panel(panel);
  ASSERT_TRUE(host.start(&error)) << error;
  EXPECT_EQ(host.gauges()[0]->width, FAKE_ND_DESIGN_W);
  EXPECT_EQ(host.gauges()[0]->height, FAKE_ND_DESIGN_H);
  EXPECT_TRUE(fake_log.calls.size() >= 3u);
}

TEST(HostPanelConfig, ReadsWindowsAndPlacementsAndRefusesMalformedLines) {
  simhost::PanelConfig panel;
  std::string error;
  ASSERT_TRUE(simhost::read_panel_config(std::string(HOST_TEST_DATA) + "/fake_panel.cfg", &panel, &error)) << error;
  ASSERT_EQ(panel.windows.size(), 2u);
  EXPECT_EQ(panel.windows[0].ident, 0);
  EXPECT_TRUE(panel.windows[0].visible);
  ASSERT_EQ(panel.windows[0].gauges.size(), 2u);
  EXPECT_EQ(panel.windows[0].gauges[0].gauge, "FAKE_ND");
  EXPECT_EQ(panel.windows[0].gauges[0].parameters, "VC");
  EXPECT_EQ(panel.windows[0].gauges[1].parameters, "");
  EXPECT_EQ(panel.windows[1].ident, 4012);
  EXPECT_FALSE(panel.windows[1].visible);
  EXPECT_EQ(panel.windows[1].gauges[0].parameters, "WN");  // comment cut off

  struct Bad {
    const char* text;
    const char* error;
  } bad[] = {
      {"[Window00]\nident=0\ngauge00=FAKE_ND, 0, 0\n", "p.cfg:3: gauge must be MODULE!NAME"},
      {"[Window00]\nvisible=2\n", "p.cfg:2: visible must be 0 or 1"},
      {"[WindowAB]\n", "p.cfg:1: bad window number"},
      {"[Window00]\n\ngauge01=vek1!A, 1, 2, 3\n", "p.cfg:3: gauge size needs both"},
      {"[Window00]\ngauge01=vek1!A, 1, 2, 0, 5\n", "p.cfg:2: gauge size must be"},
      {"[Window00]\ngauge01=vek1!A\n", "p.cfg:2: gauge line needs a position"},
      {"[Window00]\nident=MAIN\n", "p.cfg:2: ident must be a number"},
      {"[Window00]\n[Window00]\n", "p.cfg:2: window 0 given twice"},
      {"[Window00]\nident=5\n[Window01]\nident=5\n", "share ident 5"},
      {"[Window00]\njunk\n", "p.cfg:2: expected KEY=VALUE"},
  };
  for (const Bad& b : bad) {
    std::istringstream in(b.text);
    error.clear();
    EXPECT_FALSE(simhost::parse_panel_config(in, "p.cfg", &panel, &error)) << b.text;
    EXPECT_NE(error.find(b.error), std::string::npos) << error;
  }
}
