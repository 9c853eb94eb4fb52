// The SERVER gauge as other gauges and modules see it: shared variables, the
// "_clicked" commands, the key events; and the C-17 display's named commands.
#include <cmath>
#include <cstring>
#include <limits>

#include "flightplan/flight_plan.h"
#include "guidance/fms_snapshot.h"
#include "guidance/lnav_vnav_state.h"
#include "module/c17_mfd_commands.h"
#include "module/display_state.h"
#include "gauges/server_gauge.h"
#include "platform/host/sim_token_ids.h"
#include "host/scenario.h"
#include "tests/panels/panel_fixture.h"

namespace {

class Server : public PanelTest {};

TEST_F(Server, SharedVariablesShowTheSnapshotAndThePlanToOtherModules) {
  start({{"SERVER", ""}});
  int32_t kind = -1;
  uint32_t size = 0;
  auto* dist = static_cast<const double*>(host_.lookup_shared_var("vek_act_wpt_dist", &kind, &size));
  ASSERT_NE(dist, nullptr);
  EXPECT_EQ(kind, SHARED_FLOAT64);
  EXPECT_EQ(size, sizeof(double));
  auto* pos = static_cast<const int32_t*>(host_.lookup_shared_var("vek_act_wpt_pos", &kind, &size));
  ASSERT_NE(pos, nullptr);
  EXPECT_EQ(kind, SHARED_INT32);
  srv_dist_to_active = 12.5;
  srv_active_index = 3;
  EXPECT_EQ(*dist, 12.5);
  EXPECT_EQ(*pos, 3);

  const char* names[] = {"vek_fpln_wpt_cnt", "vek_act_wpt_trk", "vek_act_wpt_brg", "vek_xtk_err_dir",
                         "vek_xtk_err_dist", "vek_lnav_mode",   "vek_vnav_mode",   "vek_active"};
  for (const char* n : names) EXPECT_NE(host_.lookup_shared_var(n, nullptr, nullptr), nullptr) << n;

  auto* plan = static_cast<const FlightPlanWpt*>(host_.lookup_shared_var("Vek_FlightPlan", &kind, &size));
  ASSERT_NE(plan, nullptr);
  EXPECT_EQ(kind, SHARED_BLOCK);
  EXPECT_EQ(size, FPL_CAPACITY * sizeof(FlightPlanWpt));
  std::strcpy(fpl_active[1].ident, "KSEA");
  EXPECT_STREQ(plan[1].ident, "KSEA");

  // Its named variables exist for others to read and set.
  EXPECT_GE(host_.named_var_id("vek_lnav"), 0);
  EXPECT_GE(host_.named_var_id("vek_nd_range_incr_clicked"), 0);

  host_.stop();
  EXPECT_EQ(host_.lookup_shared_var("vek_act_wpt_dist", nullptr, nullptr), nullptr);
  EXPECT_EQ(host_.lookup_shared_var("Vek_FlightPlan", nullptr, nullptr), nullptr);
  host_.inject_key_event(KEY_VNAV_TOGGLE_EVENT, 0);  // the handler is gone
  make_active_plan();
  host_.inject_key_event(KEY_VNAV_TOGGLE_EVENT, 0);
  EXPECT_EQ(vnav_on, 0);
}

TEST_F(Server, AnotherModuleFollowsTheActiveLegThroughTheSharedVariables) {
  host_.aircraft().state().lat = 47.45;
  host_.aircraft().state().lon = -122.31;
  host_.aircraft().refresh();
  start({{"SERVER", ""}});
  auto* active = static_cast<const int32_t*>(host_.lookup_shared_var("vek_active", nullptr, nullptr));
  auto* pos = static_cast<const int32_t*>(host_.lookup_shared_var("vek_act_wpt_pos", nullptr, nullptr));
  auto* count = static_cast<const int32_t*>(host_.lookup_shared_var("vek_fpln_wpt_cnt", nullptr, nullptr));
  auto* dist = static_cast<const double*>(host_.lookup_shared_var("vek_act_wpt_dist", nullptr, nullptr));
  auto* lnav = static_cast<const int32_t*>(host_.lookup_shared_var("vek_lnav_mode", nullptr, nullptr));
  ASSERT_TRUE(active && pos && count && dist && lnav);
  EXPECT_EQ(*active, 0);
  make_active_plan();
  set_named("vek_lnav_clicked", 1);
  host_.run_seconds(2);
  EXPECT_EQ(*active, 1);
  EXPECT_EQ(*pos, 1);
  EXPECT_EQ(*count, 1);
  EXPECT_EQ(*lnav, 1);
  EXPECT_NEAR(*dist, 113.0, 5.0);  // Seattle to Portland
}

TEST_F(Server, EachClickedCommandActsOnceAndIsCleared) {
  start({{"SERVER", ""}});
  make_active_plan();
  struct Case {
    const char* name;
    double value;
    int32_t* flag;
  } flags[] = {
      {"vek_lnav_clicked", 1, &lnav_on},         {"vek_vnav_clicked", 1, &vnav_on},
      {"vek_nd_apt_clicked", 1, &nd_apt_on},     {"vek_nd_nav_clicked", 1, &nd_nav_on},
      {"vek_nd_int_clicked", 1, &nd_int_on},     {"vek_nd_tcas_clicked", 1, &nd_tcas_on},
      {"vek_atc_bdry_clicked", 1, &atc_bdry_on}, {"vek_nd_vor_adf_clicked", 1, &nd_vor_adf_on},
  };
  for (const Case& c : flags) {
    set_named(c.name, c.value);
    host_.run_frames(1);
    EXPECT_EQ(*c.flag, 1) << c.name;
    EXPECT_EQ(named(c.name), 0.0) << c.name;
    host_.run_frames(2);
    EXPECT_EQ(*c.flag, 1) << c.name << " acted on twice";
  }
  EXPECT_EQ(named("vek_lnav"), 1.0);
  EXPECT_EQ(named("vek_nd_tcas"), 1.0);

  set_named("vek_nd_range_incr_clicked", 1);
  host_.run_frames(3);
  EXPECT_EQ(b737_nd_range, 80.0);
  set_named("vek_nd_range_decr_clicked", 1);
  host_.run_frames(3);
  EXPECT_EQ(b737_nd_range, 40.0);
  EXPECT_EQ(named("vek_nd_range_decr_clicked"), 0.0);
}

TEST_F(Server, ModeCommandSelectsAModeOrSteps) {
  start({{"SERVER", ""}});
  set_named("vek_nd_mode_clicked", 5);
  host_.run_frames(1);
  EXPECT_EQ(b737_nd_mode, 5);
  set_named("vek_nd_mode_clicked", 9);
  host_.run_frames(1);
  EXPECT_EQ(b737_nd_mode, 6);
  set_named("vek_nd_mode_clicked", 7.9);
  host_.run_frames(1);
  EXPECT_EQ(b737_nd_mode, 7);
  EXPECT_EQ(named("vek_nd_mode_clicked"), 0.0);
}

TEST_F(Server, ValuesThatAreNoNumberAreClearedUnheard) {
  start({{"SERVER", ""}});
  set_named("vek_nd_apt_clicked", std::numeric_limits<double>::quiet_NaN());
  set_named("vek_nd_mode_clicked", 1e300);
  host_.run_frames(1);
  EXPECT_EQ(nd_apt_on, 0);
  EXPECT_EQ(b737_nd_mode, 1);
  EXPECT_EQ(named("vek_nd_apt_clicked"), 0.0);
  EXPECT_EQ(named("vek_nd_mode_clicked"), 0.0);
}

TEST_F(Server, KeyEventsReachTheSameCommands) {
  start({{"SERVER", ""}});
  make_active_plan();
  host_.inject_key_event(KEY_VNAV_TOGGLE_EVENT, 0);
  EXPECT_EQ(vnav_on, 1);
  EXPECT_EQ(named("vek_vnav"), 1.0);
  host_.inject_key_event(KEY_VNAV_TOGGLE_EVENT, 0);
  EXPECT_EQ(vnav_on, 0);

  // Every mapped event acts once per event; unmapped events do nothing.
  int mapped = 0;
  for (int i = 0; i < server_command_count; ++i)
    if (server_commands[i].key_event != 0) ++mapped;
  EXPECT_EQ(mapped, 10);
  host_.inject_key_event(0x10339, 0);
  EXPECT_EQ(lnav_on, 1);
  host_.inject_key_event(0x1033B, 0);
  EXPECT_EQ(b737_nd_range, 80.0);
  host_.inject_key_event(0x1033C, 0);
  host_.inject_key_event(0x1033C, 0);
  EXPECT_EQ(b737_nd_range, 20.0);
  host_.inject_key_event(0x1033A, 3);
  EXPECT_EQ(b737_nd_mode, 3);
  host_.inject_key_event(0x1033D, 0);
  host_.inject_key_event(0x1033E, 0);
  host_.inject_key_event(0x1033F, 0);
  host_.inject_key_event(0x10340, 0);
  host_.inject_key_event(0x10341, 0);
  EXPECT_EQ(nd_apt_on + nd_nav_on + nd_int_on + nd_tcas_on + atc_bdry_on, 5);
  host_.inject_key_event(0x10342, 0);
  host_.inject_key_event(0x101FA, 90);
  EXPECT_EQ(nd_apt_on + nd_nav_on + nd_int_on + nd_tcas_on + atc_bdry_on, 5);
  EXPECT_EQ(b737_nd_mode, 3);
}

TEST_F(Server, TwoServersRegisterOnceAndWithdrawWithTheLast) {
  start({{"SERVER", ""}, {"SERVER", ""}});
  make_active_plan();
  host_.inject_key_event(KEY_VNAV_TOGGLE_EVENT, 0);
  EXPECT_EQ(vnav_on, 1);  // one handler, one toggle
}

class C17Commands : public PanelTest {};

TEST_F(C17Commands, NamedCommandsDriveTheirInstanceAndReturnToIdle) {
  start({{"C17_MFD", "2"}, {"C17_MFD", "1"}});
  ASSERT_GE(host_.named_var_id("MFDX2 mode"), 0);
  c17_mfd_instances[2].format = 9;
  set_named("MFDX2 mode", 3);
  host_.run_frames(1);
  EXPECT_EQ(c17_mfd_instances[2].format, 10);
  EXPECT_EQ(named("MFDX2 mode"), 10.0);
  host_.run_frames(1);
  EXPECT_EQ(c17_mfd_instances[2].format, 10);

  // Command 1 steps from the remembered navigation format, not the shown one.
  c17_mfd_instances[1].format = 4;
  c17_mfd_instances[1].last_nav_format = 3;
  set_named("MFDX1 mode", 1);
  host_.run_frames(1);
  EXPECT_EQ(c17_mfd_instances[1].format, 6);
  EXPECT_EQ(c17_mfd_instances[1].last_nav_format, 6);
  EXPECT_EQ(named("MFDX1 mode"), 10.0);

  // Command 2 hides the image once and keeps its value.
  c17_mfd_instances[2].format = 1;
  set_named("MFDX2 mode", 2);
  host_.run_frames(1);
  const simhost::PlacedGauge* g = host_.gauges()[0].get();
  EXPECT_EQ(c17_mfd_instances[2].format, 3);
  EXPECT_NE(g->header.elements[0].image_flags & IMAGE_HIDDEN, 0u);
  EXPECT_EQ(named("MFDX2 mode"), 2.0);
  set_named("MFDX2 mode", 0);
  host_.run_frames(1);
  EXPECT_EQ(g->header.elements[0].image_flags & IMAGE_HIDDEN, 0u);
  EXPECT_EQ(c17_mfd_instances[2].format, 1);
  set_named("MFDX2 mode", 7);
  host_.run_frames(1);
  EXPECT_EQ(c17_mfd_instances[2].format, 12);
}

TEST_F(C17Commands, AMissingVariableIsNoCommand) {
  start({{"SERVER", ""}});
  ASSERT_LT(host_.named_var_id("MFDX3 mode"), 0);
  c17_mfd_instances[3].format = 6;
  simhost::PlacedGauge* g = host_.gauges()[0].get();
  ProcessMFDX3(&g->header);
  EXPECT_EQ(c17_mfd_instances[3].format, 6);
}

}  // namespace

namespace {

class DebugReadout : public PanelTest {};

TEST_F(DebugReadout, ShowsTickActiveWaypointRouteStateAndModes) {
  start({{"DEBUG", ""}});
  host_.set_draw_recording(true);
  host_.run_frames(1);
  std::string why;
  EXPECT_TRUE(simhost::gauge_drew_text(host_, "DEBUG", "ACTIVE NONE", &why)) << why;
  EXPECT_TRUE(simhost::gauge_drew_text(host_, "DEBUG", "LNAV OFF  VNAV OFF", &why)) << why;
  EXPECT_TRUE(simhost::gauge_drew_text(host_, "DEBUG", "TICK", &why)) << why;

  fpl_active_index = 2;
  fpl_active_last = 5;
  fpl_changed_state = 3;
  lnav_on = 1;
  host_.run_frames(1);
  EXPECT_TRUE(simhost::gauge_drew_text(host_, "DEBUG", "ACTIVE 2 OF 5", &why)) << why;
  EXPECT_TRUE(simhost::gauge_drew_text(host_, "DEBUG", "ROUTE STATE 3", &why)) << why;
  EXPECT_TRUE(simhost::gauge_drew_text(host_, "DEBUG", "LNAV ON  VNAV OFF", &why)) << why;
}

}  // namespace
