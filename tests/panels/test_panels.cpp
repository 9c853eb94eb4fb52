// Control panels, engage buttons, window openers and the C-17 keys, driven through
// the host's clicks.
#include <cmath>

#include "flightplan/flight_plan.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "gauges/control_panels.h"
#include "module/display_state.h"
#include "gauges/gauge_table.h"
#include "gauges/panel_steppers.h"
#include "module/sim_vars.h"
#include "tests/panels/panel_fixture.h"

namespace {

// Child indices of the B737 EFIS panel.
enum { B737_MODE_DOWN, B737_MODE_UP, B737_RANGE_DOWN, B737_RANGE_UP, B737_APT, B737_NAV, B737_WPT, B737_TFC, B737_ARCS,
       B737_VOR_ADF_L, B737_VOR_ADF_R };

class ControlPanels : public PanelTest {};

TEST_F(ControlPanels, B737RangeKnobStopsAtMinMapRangeAndAtTheTop) {
  start({{"HW_B737_EFIS_CNTR", ""}, {"SERVER", ""}});
  ASSERT_EQ(MinMapRange, 10.0);
  b737_nd_range = 40;
  click("HW_B737_EFIS_CNTR", B737_RANGE_DOWN, 5);
  EXPECT_EQ(b737_nd_range, 10.0);  // 5 needs MinMapRange <= 5
  MinMapRange = 2.5;
  click("HW_B737_EFIS_CNTR", B737_RANGE_DOWN, 5);
  EXPECT_EQ(b737_nd_range, 2.5);
  MinMapRange = 1.0;
  click("HW_B737_EFIS_CNTR", B737_RANGE_DOWN, 3);
  EXPECT_EQ(b737_nd_range, 1.0);  // 0.5 only when MinMapRange is exactly 0.5
  MinMapRange = 0.5;
  click("HW_B737_EFIS_CNTR", B737_RANGE_DOWN, 3);
  EXPECT_EQ(b737_nd_range, 0.5);
  const double up[] = {1, 2.5, 5, 10, 20, 40, 80, 160, 320, 320};
  for (double want : up) {
    click("HW_B737_EFIS_CNTR", B737_RANGE_UP);
    EXPECT_EQ(b737_nd_range, want);
  }
}

TEST_F(ControlPanels, RangeKnobStepsEveryMapDisplayOnItsOwnLadder) {
  start({{"HW_B737_EFIS_CNTR", ""}});
  // Start values: B737 40, MD-11 80, MD-80 20, C-17 80, Pro Line 4 40, P1000 12.5, DU-1000 60.
  click("HW_B737_EFIS_CNTR", B737_RANGE_DOWN);
  EXPECT_EQ(b737_nd_range, 20.0);
  EXPECT_EQ(md11_nd_range, 40.0);
  EXPECT_EQ(md80_ehsi_range, 10.0);
  EXPECT_EQ(c17_mfd_range, 40.0);
  EXPECT_EQ(proline4_mfd_range, 20.0);
  EXPECT_EQ(p1000_mfd_range, 5.0);
  EXPECT_EQ(du1000_ehsi_range, 30.0);

  // The Pro Line 4 range wraps both ways; the others stop.
  proline4_mfd_range = 5;
  p1000_mfd_range = 0.5;
  du1000_ehsi_range = 0.05;
  click("HW_B737_EFIS_CNTR", B737_RANGE_DOWN);
  EXPECT_EQ(proline4_mfd_range, 320.0);
  EXPECT_EQ(p1000_mfd_range, 0.5);
  EXPECT_EQ(du1000_ehsi_range, 0.05);
  p1000_mfd_range = 160;
  du1000_ehsi_range = 240;
  click("HW_B737_EFIS_CNTR", B737_RANGE_UP);
  EXPECT_EQ(proline4_mfd_range, 5.0);
  EXPECT_EQ(p1000_mfd_range, 160.0);
  EXPECT_EQ(du1000_ehsi_range, 240.0);

  // A range off its ladder does not move.
  b737_nd_range = 30;
  proline4_mfd_range = 7;
  click("HW_B737_EFIS_CNTR", B737_RANGE_UP);
  click("HW_B737_EFIS_CNTR", B737_RANGE_DOWN);
  EXPECT_EQ(b737_nd_range, 30.0);
  EXPECT_EQ(proline4_mfd_range, 7.0);
}

TEST_F(ControlPanels, C17RangeKnobReachesFiveAlwaysAndLessAsMinMapRangeAllows) {
  start({{"C17_MFCP", ""}});
  enum { RANGE_DOWN = 4, RANGE_UP = 5 };
  c17_mfd_range = 10;
  click("C17_MFCP", RANGE_DOWN, 2);
  EXPECT_EQ(c17_mfd_range, 5.0);  // MinMapRange 10 holds it at 5
  MinMapRange = 2.5;
  click("C17_MFCP", RANGE_DOWN, 2);
  EXPECT_EQ(c17_mfd_range, 2.5);
  MinMapRange = 1;
  click("C17_MFCP", RANGE_DOWN);
  EXPECT_EQ(c17_mfd_range, 1.0);
  c17_mfd_range = 160;
  click("C17_MFCP", RANGE_UP, 2);
  EXPECT_EQ(c17_mfd_range, 320.0);
}

TEST_F(ControlPanels, ModeKnobStopsB737WrapsDu1000AndMapsProLine4Formats) {
  start({{"HW_B737_EFIS_CNTR", ""}, {"PROLINE4_MFD_CTRL", ""}});
  b737_nd_mode = 2;
  du1000_ehsi_mode = 0;
  proline4_mfd_format = 3;
  click("HW_B737_EFIS_CNTR", B737_MODE_DOWN);
  EXPECT_EQ(b737_nd_mode, 1);
  EXPECT_EQ(du1000_ehsi_mode, 3);
  EXPECT_EQ(proline4_mfd_format, 0);
  click("HW_B737_EFIS_CNTR", B737_MODE_DOWN);
  EXPECT_EQ(b737_nd_mode, 1);
  EXPECT_EQ(du1000_ehsi_mode, 2);
  EXPECT_EQ(proline4_mfd_format, 2);
  EXPECT_EQ(proline4_mfd_map_radius, 70);
  b737_nd_mode = 6;
  click("HW_B737_EFIS_CNTR", B737_MODE_UP, 3);
  EXPECT_EQ(b737_nd_mode, 7);
  EXPECT_EQ(du1000_ehsi_mode, 1);  // 2 -> 3 -> 0 -> 1

  // The Pro Line 4 format keys step that display only.
  enum { FORMAT_DOWN = 2, FORMAT_UP = 3 };
  b737_nd_mode = 4;
  proline4_mfd_format = 1;
  click("PROLINE4_MFD_CTRL", FORMAT_UP);
  EXPECT_EQ(proline4_mfd_format, 2);
  EXPECT_EQ(proline4_mfd_map_radius, 70);
  click("PROLINE4_MFD_CTRL", FORMAT_UP);
  EXPECT_EQ(proline4_mfd_format, 0);
  click("PROLINE4_MFD_CTRL", FORMAT_UP);
  EXPECT_EQ(proline4_mfd_format, 3);
  EXPECT_EQ(proline4_mfd_map_radius, 140);
  click("PROLINE4_MFD_CTRL", FORMAT_DOWN);
  EXPECT_EQ(proline4_mfd_format, 0);
  EXPECT_EQ(b737_nd_mode, 4);
}

TEST_F(ControlPanels, B737PanelShowsTheKnobImagesOfModeAndRange) {
  start({{"HW_B737_EFIS_CNTR_BR", ""}});
  auto shown = [&](int first, int count) {
    const simhost::PlacedGauge* g = host_.find_gauge("HW_B737_EFIS_CNTR_BR");
    std::vector<int> out;
    for (int i = 0; i < count; ++i)
      if ((g->header.elements[first + i].image_flags & IMAGE_HIDDEN) == 0) out.push_back(i);
    return out;
  };
  host_.run_frames(1);
  EXPECT_EQ(shown(B737_EFIS_MODE_KNOB_FIRST, 7), std::vector<int>{0});   // mode 1
  EXPECT_EQ(shown(B737_EFIS_RANGE_KNOB_FIRST, 10), std::vector<int>{6}); // 40 NM
  click("HW_B737_EFIS_CNTR_BR", B737_MODE_UP, 2);
  click("HW_B737_EFIS_CNTR_BR", B737_RANGE_UP);
  host_.run_frames(1);
  EXPECT_EQ(shown(B737_EFIS_MODE_KNOB_FIRST, 7), std::vector<int>{2});
  EXPECT_EQ(shown(B737_EFIS_RANGE_KNOB_FIRST, 10), std::vector<int>{7});
  b737_nd_range = 30;
  host_.run_frames(1);
  EXPECT_TRUE(shown(B737_EFIS_RANGE_KNOB_FIRST, 10).empty());
}

TEST_F(ControlPanels, LayerTogglesFlipEveryDisplayAndPublish) {
  start({{"HW_B737_EFIS_CNTR", ""}, {"PROLINE4_AUX_CTRL", ""}, {"SERVER", ""}});
  click("HW_B737_EFIS_CNTR", B737_APT);
  EXPECT_EQ(nd_apt_on, 1);
  EXPECT_EQ(md11_nd_apt_on, 1);
  EXPECT_EQ(md80_ehsi_apt_on, 1);
  EXPECT_EQ(du1000_show_apt, 1);
  EXPECT_EQ(mfd_apt_on, 1);
  EXPECT_EQ(mfd_apt_on, 1);
  EXPECT_EQ(named("vek_nd_apt"), 1.0);
  click("HW_B737_EFIS_CNTR", B737_APT);
  EXPECT_EQ(mfd_apt_on, 0);
  EXPECT_EQ(named("vek_nd_apt"), 0.0);

  click("HW_B737_EFIS_CNTR", B737_NAV);
  EXPECT_EQ(du1000_show_vor, 1);
  EXPECT_EQ(mfd_vor_on, 1);
  EXPECT_EQ(named("vek_nd_nav"), 1.0);
  click("HW_B737_EFIS_CNTR", B737_WPT);
  EXPECT_EQ(md11_nd_int_on, 1);
  EXPECT_EQ(named("vek_nd_int"), 1.0);

  // NDB and boundaries on the auxiliary panel; neither publishes.
  enum { AUX_NDB = 3, AUX_BDRY = 5 };
  click("PROLINE4_AUX_CTRL", AUX_NDB);
  EXPECT_EQ(mfd_ndb_on, 1);
  EXPECT_EQ(du1000_show_ndb, 0);
  click("PROLINE4_AUX_CTRL", AUX_BDRY);
  EXPECT_EQ(atc_bdry_on, 1);
}

TEST_F(ControlPanels, TcasSwitchTakesTheEfs50ToItsTrafficFormatAndBack) {
  start({{"HW_B737_EFIS_CNTR", ""}, {"EFS50_EHSI_CNTR", ""}, {"SERVER", ""}});
  efs50_ehsi_mode = 3;
  click("HW_B737_EFIS_CNTR", B737_TFC);
  EXPECT_EQ(tcas_shown, 1);
  EXPECT_EQ(efs50_ehsi_mode, 8);
  EXPECT_EQ(named("vek_nd_tcas"), 1.0);

  // While it shows traffic the EFS 50 range keys step the traffic range 2..40 with wrap.
  enum { FORMAT_DOWN, FORMAT_UP, RANGE_DOWN, RANGE_UP, NAV_FMS, BRG1, BRG2 };
  efs50_tcas_range = 20;
  click("EFS50_EHSI_CNTR", RANGE_UP);
  EXPECT_EQ(efs50_tcas_range, 40.0);
  click("EFS50_EHSI_CNTR", RANGE_UP);
  EXPECT_EQ(efs50_tcas_range, 2.0);
  click("EFS50_EHSI_CNTR", RANGE_DOWN);
  EXPECT_EQ(efs50_tcas_range, 2.0);
  efs50_tcas_range = 7;
  click("EFS50_EHSI_CNTR", RANGE_DOWN);
  EXPECT_EQ(efs50_tcas_range, 2.0);
  EXPECT_EQ(efs50_ehsi_range, 10.0);
  // A format key here changes the format to return to.
  click("EFS50_EHSI_CNTR", FORMAT_UP);
  EXPECT_EQ(efs50_ehsi_mode, 8);

  click("HW_B737_EFIS_CNTR", B737_TFC);
  EXPECT_EQ(tcas_shown, 0);
  EXPECT_EQ(efs50_ehsi_mode, 4);
  EXPECT_EQ(named("vek_nd_tcas"), 0.0);
  click("EFS50_EHSI_CNTR", RANGE_DOWN);
  EXPECT_EQ(efs50_ehsi_range, 10.0);  // MinMapRange 10
  click("EFS50_EHSI_CNTR", RANGE_UP);
  EXPECT_EQ(efs50_ehsi_range, 20.0);
  click("EFS50_EHSI_CNTR", NAV_FMS);
  EXPECT_EQ(EFS50NavMode, 2);
  click("EFS50_EHSI_CNTR", NAV_FMS);
  EXPECT_EQ(EFS50NavMode, 1);
  efs50_ehsi_mode = 7;
  click("EFS50_EHSI_CNTR", FORMAT_UP);
  EXPECT_EQ(efs50_ehsi_mode, 1);
  click("EFS50_EHSI_CNTR", FORMAT_DOWN);
  EXPECT_EQ(efs50_ehsi_mode, 7);
}

TEST_F(ControlPanels, BearingPointersCycleAndTheMd11PointersExcludeEachOther) {
  start({{"PROLINE4_MFD_CTRL", ""}, {"EFS50_EHSI_CNTR_LM", ""}, {"MD11_EFIS_CTRL", ""}, {"HW_B737_EFIS_CNTR_BR", ""},
         {"MD80_EHSI_CTRL", ""}});
  const int cycle[] = {1, 2, 3, 0, 1};
  for (int want : cycle) {
    click("PROLINE4_MFD_CTRL", 5);
    click("EFS50_EHSI_CNTR_LM", 6);
    EXPECT_EQ(proline4_mfd_brg1_source, want);
    EXPECT_EQ(efs50_brg2_source, want);
  }
  EXPECT_EQ(proline4_mfd_brg2_source, 0);

  enum { MAP, PLAN, VOR, APPR, RANGE_DOWN, RANGE_UP, VOR1, ADF1, VOR2 };
  click("MD11_EFIS_CTRL", VOR1);
  EXPECT_EQ(md11_nd_vor1_ptr_on, 1);
  click("MD11_EFIS_CTRL", ADF1);
  EXPECT_EQ(md11_nd_adf1_ptr_on, 1);
  EXPECT_EQ(md11_nd_vor1_ptr_on, 0);
  click("MD11_EFIS_CTRL", ADF1);
  EXPECT_EQ(md11_nd_adf1_ptr_on, 0);
  EXPECT_EQ(md11_nd_vor1_ptr_on, 0);
  click("MD11_EFIS_CTRL", VOR2);
  EXPECT_EQ(md11_nd_vor2_ptr_on, 1);

  // Both B737 VOR/ADF switches drive the one pointer switch; the centre key the arcs.
  click("HW_B737_EFIS_CNTR_BR", B737_VOR_ADF_L);
  EXPECT_EQ(nd_vor_adf_on, 1);
  click("HW_B737_EFIS_CNTR_BR", B737_VOR_ADF_R);
  EXPECT_EQ(nd_vor_adf_on, 0);
  click("HW_B737_EFIS_CNTR_BR", B737_ARCS);
  EXPECT_EQ(nd_range_arcs_on, 1);
  click("MD80_EHSI_CTRL", 4);
  EXPECT_EQ(md80_ehsi_adf_on, 1);
}

TEST_F(ControlPanels, Md11ModeButtonsSetModeAndMapRadius) {
  start({{"MD11_EFIS_CTRL", ""}, {"MD80_EHSI_CTRL", ""}});
  enum { MAP, PLAN, VOR, APPR };
  click("MD11_EFIS_CTRL", PLAN);
  EXPECT_EQ(md11_nd_mode, 2);
  EXPECT_EQ(md11_nd_map_radius, 94);
  click("MD11_EFIS_CTRL", VOR);
  EXPECT_EQ(md11_nd_mode, 4);
  EXPECT_EQ(md11_nd_map_radius, 94);
  click("MD11_EFIS_CTRL", APPR);
  EXPECT_EQ(md11_nd_mode, 5);
  click("MD11_EFIS_CTRL", MAP);
  EXPECT_EQ(md11_nd_mode, 3);
  EXPECT_EQ(md11_nd_map_radius, 150);

  md80_ehsi_mode = 3;
  click("MD80_EHSI_CTRL", 1);
  EXPECT_EQ(md80_ehsi_mode, 0);
  click("MD80_EHSI_CTRL", 0);
  EXPECT_EQ(md80_ehsi_mode, 3);
}

TEST_F(ControlPanels, A300PanelStepsTheDu1000) {
  start({{"A300_EFIS_CTRL", ""}});
  click("A300_EFIS_CTRL", 5);
  EXPECT_EQ(du1000_show_ndb, 1);
  EXPECT_EQ(mfd_ndb_on, 0);
  click("A300_EFIS_CTRL", 1);
  EXPECT_EQ(du1000_ehsi_mode, 1);
  click("A300_EFIS_CTRL", 3);
  EXPECT_EQ(du1000_ehsi_range, 120.0);
}

// P1000 controller children.
enum { P1_RANGE_DOWN, P1_RANGE_UP, P1_PLAN, P1_NAVAIDS, P1_AIRPORTS, P1_VALUE_DOWN, P1_VALUE_UP, P1_SOFT1 };

TEST_F(ControlPanels, P1000PlanViewAndTrafficRange) {
  start({{"P1000_MFD_CNTR", ""}});
  hdg_change_timer = 5;
  click("P1000_MFD_CNTR", P1_PLAN);
  EXPECT_EQ(p1000_plan_view, 1);
  EXPECT_EQ(hdg_change_timer, 999);
  hdg_change_timer = 5;
  p1000_map_cx = 20;
  p1000_map_radius = 99;
  click("P1000_MFD_CNTR", P1_PLAN);
  EXPECT_EQ(p1000_plan_view, 0);
  EXPECT_EQ(p1000_map_cx, 134);
  EXPECT_EQ(p1000_map_cy, 148);
  EXPECT_EQ(p1000_map_radius, 53);
  EXPECT_EQ(hdg_change_timer, 999);
  click("P1000_MFD_CNTR", P1_NAVAIDS);
  click("P1000_MFD_CNTR", P1_AIRPORTS);
  EXPECT_EQ(p1000_show_navaids, 1);
  EXPECT_EQ(p1000_show_airports, 1);

  // With the traffic window shown the range keys step the traffic range instead.
  tcas_shown = 1;
  click("P1000_MFD_CNTR", P1_RANGE_UP);
  EXPECT_EQ(p1000_mfd_tcas_range, 25.0);
  EXPECT_EQ(p1000_mfd_range, 12.5);
  DrawTcasWindowOnP1000MFD = 0;
  click("P1000_MFD_CNTR", P1_RANGE_DOWN);
  EXPECT_EQ(p1000_mfd_range, 5.0);
  EXPECT_EQ(p1000_mfd_tcas_range, 25.0);
}

TEST_F(ControlPanels, P1000ControllerOpensOnItsFirstDrawThenCounts) {
  start({{"P1000_MFD_CNTR", ""}});
  host_.run_frames(1);
  EXPECT_EQ(p1000_cntr_open, 1);
  EXPECT_EQ(p1000_cntr_menu, 1);
  EXPECT_EQ(p1000_cntr_draw_count, 0);
  host_.run_frames(3);
  EXPECT_EQ(p1000_cntr_draw_count, 3);
  p1000_cntr_draw_count = 30000;
  host_.run_frames(1);
  EXPECT_EQ(p1000_cntr_draw_count, 1);
  // Closed by the idle timeout, it opens again on the next draw with its menu kept.
  p1000_cntr_open = 0;
  p1000_cntr_menu = 2;
  host_.run_frames(1);
  EXPECT_EQ(p1000_cntr_open, 1);
  EXPECT_EQ(p1000_cntr_menu, 2);
}

TEST_F(ControlPanels, P1000VnavMenuEntriesAndVerticalSpeed) {
  host_.aircraft().state().on_ground = false;
  host_.aircraft().state().altitude_ft = 10000;
  host_.aircraft().state().ias_kt = 250;
  host_.aircraft().refresh();
  start({{"P1000_MFD_CNTR", ""}});
  host_.run_frames(1);
  click("P1000_MFD_CNTR", P1_VALUE_UP);  // nothing selected in the main menu
  EXPECT_EQ(p1000_vnav_distance, 0.0);
  click("P1000_MFD_CNTR", P1_SOFT1 + 2);  // VNAV
  ASSERT_EQ(p1000_cntr_menu, 2);
  click("P1000_MFD_CNTR", P1_SOFT1 + 2);  // distance, "TO"
  EXPECT_EQ(p1000_vnav_dist_sel, 1);
  click("P1000_MFD_CNTR", P1_VALUE_UP, 12);
  click("P1000_MFD_CNTR", P1_VALUE_DOWN, 2);
  EXPECT_EQ(p1000_vnav_distance, 10.0);
  click("P1000_MFD_CNTR", P1_SOFT1 + 2);
  EXPECT_EQ(p1000_vnav_dist_sel, 2);  // "FM"
  click("P1000_MFD_CNTR", P1_SOFT1 + 3);  // elevation
  EXPECT_EQ(p1000_vnav_dist_sel, 0);
  EXPECT_EQ(p1000_vnav_elev_sel, 1);
  click("P1000_MFD_CNTR", P1_VALUE_DOWN);
  EXPECT_EQ(p1000_vnav_elevation, 0.0);  // never below 0
  click("P1000_MFD_CNTR", P1_VALUE_UP, 30);
  EXPECT_EQ(p1000_vnav_elevation, 3000.0);
  double gs = get_ground_speed_kt();
  ASSERT_GT(gs, 100.0);
  EXPECT_NEAR(p1000_vnav_vs, 3000.0 / (10.0 / gs * 60.0), 1.0);

  // Without ground speed there is no vertical speed, never a division by zero.
  host_.aircraft().state().ias_kt = 0;
  host_.aircraft().state().on_ground = true;
  host_.aircraft().refresh();
  if (get_ground_speed_kt() <= 0.0) {
    click("P1000_MFD_CNTR", P1_SOFT1);  // SET
    EXPECT_EQ(p1000_vnav_vs, 0.0);
  }
  click("P1000_MFD_CNTR", P1_SOFT1 + 1);  // RTN
  EXPECT_EQ(p1000_cntr_menu, 1);
  EXPECT_EQ(p1000_vnav_elev_sel, 0);
}

TEST_F(ControlPanels, C17FormatKeysStepWorkingStateAndAllInstances) {
  start({{"C17_MFCP", ""}});
  enum { NAV, APT, ROUTE, SCALE, RANGE_DOWN, RANGE_UP, FMT_DOWN_L, FMT_DOWN_R, FMT_UP_L, FMT_UP_R };
  c17_mfd_mode = 5;
  c17_mfd_instances[1].format = 5;
  c17_mfd_instances[2].format = 4;
  c17_mfd_instances[3].format = 3;
  c17_mfd_instances[4].format = 1;
  click("C17_MFCP", FMT_DOWN_L);
  EXPECT_EQ(c17_mfd_mode, 4);
  EXPECT_EQ(c17_mfd_instances[1].format, 4);
  EXPECT_EQ(c17_mfd_instances[2].format, 3);
  EXPECT_EQ(c17_mfd_instances[3].format, 3);
  EXPECT_EQ(c17_mfd_instances[4].format, 1);
  click("C17_MFCP", FMT_UP_R, 3);
  EXPECT_EQ(c17_mfd_mode, 5);
  EXPECT_EQ(c17_mfd_instances[3].format, 5);
  EXPECT_EQ(c17_mfd_instances[4].format, 1);
  EXPECT_EQ(c17_mfd_instances[1].last_nav_format, 0);

  click("C17_MFCP", ROUTE);
  click("C17_MFCP", SCALE);
  EXPECT_EQ(c17_mfd_route_on, 0);
  EXPECT_EQ(c17_arc_loc_scale_on, 0);
  click("C17_MFCP", NAV);
  click("C17_MFCP", APT);
  EXPECT_EQ(mfd_vor_on, 1);
  EXPECT_EQ(mfd_apt_on, 1);
  EXPECT_EQ(nd_nav_on, 1);
}

TEST_F(ControlPanels, C17BezelKeysCycleTheirDisplaysRecordAndTheScreenTogglesItsWindow) {
  start({{"C17_MFD", "1"}}, {WINDOW_C17_MFD});
  enum { PFD, NAV, THIRD, ENG, CFG, SCREEN };
  C17MfdState& s = c17_mfd_instances[1];
  s.format = 0;
  const int nav_cycle[] = {3, 6, 0, 3};
  for (int want : nav_cycle) {
    click("C17_MFD", NAV);
    EXPECT_EQ(s.format, want);
    EXPECT_EQ(s.last_nav_format, want);
  }
  click("C17_MFD", PFD);
  EXPECT_EQ(s.format, 1);
  click("C17_MFD", NAV);
  EXPECT_EQ(s.format, 1);  // 1 and 2 change nothing
  click("C17_MFD", ENG);
  EXPECT_EQ(s.format, 9);  // back to the remembered engine page
  click("C17_MFD", ENG);
  EXPECT_EQ(s.format, 10);
  EXPECT_EQ(s.last_engine_page, 10);
  click("C17_MFD", CFG);
  EXPECT_EQ(s.format, 12);
  click("C17_MFD", NAV);
  EXPECT_EQ(s.format, 3);  // 7 and above restore the remembered format
  click("C17_MFD", THIRD);
  EXPECT_EQ(s.format, 3);

  EXPECT_FALSE(host_.window_visible(WINDOW_C17_MFD));
  click("C17_MFD", SCREEN);
  EXPECT_TRUE(host_.window_visible(WINDOW_C17_MFD));
  click("C17_MFD", SCREEN);
  EXPECT_FALSE(host_.window_visible(WINDOW_C17_MFD));
}

class EngageButtons : public PanelTest {};

TEST_F(EngageButtons, VnavEngagesOnlyWithAPlanAndResetsItsStates) {
  start({{"VNAV", ""}, {"SERVER", ""}});
  ASSERT_EQ(fpl_active_index, FPL_NO_PLAN);
  click("VNAV", 0);
  EXPECT_EQ(vnav_on, 0);
  EXPECT_EQ(mcu_redraw, 1);
  EXPECT_EQ(named("vek_vnav"), 0.0);

  make_active_plan();
  vnav_spd_state = vnav_alt_state = 1;
  fms_set_alt = 12000;
  fms_set_spd = 250;
  fms_set_mach100 = 78;
  VnavSetSpd = 2;
  mcu_redraw = 0;
  hdg_change_timer = 5;
  click("VNAV", 0);
  EXPECT_EQ(hdg_change_timer, 999);
  EXPECT_EQ(vnav_on, 1);
  EXPECT_EQ(vnav_spd_state, 0);
  EXPECT_EQ(vnav_alt_state, 0);
  EXPECT_EQ(vnav_cmd_pending, 1);
  EXPECT_EQ(fms_set_alt, -999);
  EXPECT_EQ(fms_set_spd, -999);
  EXPECT_EQ(fms_set_mach100, -999);
  EXPECT_EQ(VnavSetSpd, 1);
  EXPECT_EQ(mcu_redraw, 1);
  EXPECT_EQ(named("vek_vnav"), 1.0);

  // Disengaging leaves the rest alone, even with the plan gone.
  fpl_active_index = FPL_NO_PLAN;
  VnavSetSpd = 2;
  click("VNAV", 0);
  EXPECT_EQ(vnav_on, 0);
  EXPECT_EQ(VnavSetSpd, 2);
  EXPECT_EQ(named("vek_vnav"), 0.0);
}

TEST_F(EngageButtons, LnavAndBoundaryButtons) {
  start({{"LNAV", ""}, {"BDRY", ""}, {"SERVER", ""}});
  click("LNAV", 0);
  EXPECT_EQ(lnav_on, 0);
  make_active_plan();
  click("LNAV", 0);
  EXPECT_EQ(lnav_on, 1);
  EXPECT_EQ(named("vek_lnav"), 1.0);
  click("LNAV", 0);
  EXPECT_EQ(lnav_on, 0);
  EXPECT_EQ(named("vek_lnav"), 0.0);

  click("BDRY", 0);
  EXPECT_EQ(atc_bdry_on, 1);
  EXPECT_EQ(atc_bdry_on, 1);
  click("BDRY", 0);
  EXPECT_EQ(atc_bdry_on, 0);
}

TEST_F(EngageButtons, WindowOpenersToggleTheirWindows) {
  start({{"WINDOW_MCU", ""}, {"WINDOW_GNSXLS", ""}, {"WINDOW_SMITHS_FMS", ""}, {"WINDOW_C17_MFD", ""}},
        {WINDOW_MCU, WINDOW_GNSXLS, WINDOW_SMITHS_FMS, WINDOW_C17_MFD});
  const struct {
    const char* gauge;
    int window;
  } openers[] = {{"WINDOW_MCU", WINDOW_MCU}, {"WINDOW_GNSXLS", WINDOW_GNSXLS},
                 {"WINDOW_SMITHS_FMS", WINDOW_SMITHS_FMS}, {"WINDOW_C17_MFD", WINDOW_C17_MFD}};
  for (const auto& o : openers) {
    click(o.gauge, 0);
    EXPECT_TRUE(host_.window_visible(o.window)) << o.gauge;
    for (const auto& other : openers) {
      if (other.window != o.window) {
        EXPECT_FALSE(host_.window_visible(other.window)) << o.gauge;
      }
    }
    click(o.gauge, 0);
    EXPECT_FALSE(host_.window_visible(o.window)) << o.gauge;
  }
}

TEST_F(EngageButtons, EveryPanelKeyAnswersHandledAndLiesInsideItsFace) {
  start({{"HW_B737_EFIS_CNTR", ""}, {"MD11_EFIS_CTRL", ""}, {"MD80_EHSI_CTRL", ""}, {"EFS50_EHSI_CNTR", ""},
         {"PROLINE4_MFD_CTRL", ""}, {"PROLINE4_AUX_CTRL", ""}, {"A300_EFIS_CTRL", ""}, {"P1000_MFD_NB_CNTR", ""},
         {"C17_MFCP", ""}, {"LNAV", ""}, {"VNAV", ""}, {"BDRY", ""}});
  for (const auto& g : host_.gauges()) {
    const MouseRect* r = g->header.mouse_rect;
    ASSERT_NE(r, nullptr) << g->name;
    ASSERT_EQ(r[0].type, MOUSE_RECT_PARENT) << g->name;
    int face_w = r[0].width, face_h = r[0].height, depth = 0, children = 0;
    for (int i = 0; r[i].type != MOUSE_RECT_EOL; ++i) {
      if (r[i].type == MOUSE_RECT_PARENT) {
        ++depth;
        if (depth == 2) {
          EXPECT_LE(r[i].x + r[i].width, face_w) << g->name << " rect " << i;
          EXPECT_LE(r[i].y + r[i].height, face_h) << g->name << " rect " << i;
        }
      } else if (r[i].type == MOUSE_RECT_END_PARENT) {
        --depth;
      } else if (r[i].type == MOUSE_RECT_CHILD) {
        ++children;
        EXPECT_EQ(r[i].event_flags, MOUSE_LEFT_SINGLE);
        EXPECT_NE(r[i].cursor, CURSOR_NONE);
        EXPECT_EQ(r[i].click(const_cast<MouseRect*>(&r[i]), MOUSE_LEFT_SINGLE), 0) << g->name << " rect " << i;
      }
    }
    EXPECT_EQ(depth, 0) << g->name;
    EXPECT_EQ(children, host_.child_rect_count(*g)) << g->name;
  }
}

}  // namespace
