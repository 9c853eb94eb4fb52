// Speed conversions, the fuel weight on board and the cost-index speed targets.
#include <gtest/gtest.h>

#include <cmath>

#include "guidance/cost_index_targets.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "platform/host/gauge_host.h"

namespace {

double host_fuel_gallons = 0.0;
double host_fuel_lb_per_gallon = 0.0;

void fake_read_token_var(TokenVar* var) {
  if (var->id == 386) var->value = host_fuel_gallons;
  else if (var->id == 306) var->value = host_fuel_lb_per_gallon;
  else var->value = 0.0;
}

PanelServiceTable fake_services() {
  PanelServiceTable table{};
  table.read_token_var = fake_read_token_var;
  return table;
}

}  // namespace

TEST(SpeedConversions, RulesOfThumb) {
  EXPECT_DOUBLE_EQ(ias_to_tas(250, 10000), 297.5);
  EXPECT_DOUBLE_EQ(tas_to_ias(297.5, 10000), 250);
  EXPECT_DOUBLE_EQ(ias_to_tas(250, 0), 250);
  EXPECT_NEAR(tas_to_ias(300, 15000), 233.463, 1e-3);
  // Where the rule would divide by zero the speed comes back unchanged.
  EXPECT_DOUBLE_EQ(tas_to_ias(300, -60000), 300);
  EXPECT_DOUBLE_EQ(tas_to_ias(300, -1000000.0 / 1.9), 300);
}

TEST(SpeedConversions, MachAtTheTopOfClimbTemperature) {
  EXPECT_NEAR(ias_to_mach(280, 35000), 0.767, 5e-4);
  EXPECT_NEAR(ias_to_mach(280, 35000), 466.2 / (38.967854 * std::sqrt(243.15)), 1e-12);
  toc_oat = 15.0;
  EXPECT_NEAR(ias_to_mach(280, 35000), 466.2 / (38.967854 * std::sqrt(288.15)), 1e-12);
  // "Not entered" and impossible temperatures fall back to -30.
  for (double oat : {-999.0, -273.15, std::nan("")}) {
    toc_oat = oat;
    EXPECT_NEAR(ias_to_mach(280, 35000), 0.767, 5e-4) << oat;
  }
  // And back: Mach 0.8 at -30 C is 486.1 kt true, its IAS taken at 38000 ft.
  toc_oat = -30.0;
  mach_to_speeds(0.8);
  EXPECT_NEAR(true_airspeed, 0.8 * 38.967854 * std::sqrt(243.15), 1e-9);
  EXPECT_NEAR(indicated_airspeed, tas_to_ias(true_airspeed, 38000), 1e-9);
}

TEST(FuelOnBoard, WeightAndReserve) {
  PanelServiceTable table = fake_services();
  ImportTable.panel_services = &table;
  host_fuel_gallons = 1000;
  host_fuel_lb_per_gallon = 6.7;
  reserve_fuel = 8000;
  EXPECT_DOUBLE_EQ(read_fuel_on_board(), 6700);
  EXPECT_DOUBLE_EQ(reserve_fuel, 6700);
  host_fuel_gallons = 2000;
  EXPECT_DOUBLE_EQ(read_fuel_on_board(), 13400);  // above the kept minimum
  EXPECT_DOUBLE_EQ(reserve_fuel, 6700);
  ImportTable.panel_services = nullptr;
  EXPECT_DOUBLE_EQ(read_fuel_on_board(), 0.0);  // no host
}

TEST(CostIndex, PlacesTargetsBetweenTheirLimits) {
  ClimbIasMin = 180;
  ClimbIasMax = 250;
  ClimbIas = climb_ias_file = 0;
  for (auto [ci, expected] : {std::pair{100, 215}, {0, 180}, {200, 250}, {250, 250}}) {
    CostIndex = ci;
    apply_cost_index_speeds();
    EXPECT_EQ(ClimbIas, expected) << ci;
  }
  CruiseIasMin = 230;
  CruiseIasMax = 280;
  CostIndex = 33;
  apply_cost_index_speeds();
  EXPECT_EQ(CruiseTas, 238);  // trunc(238.25)
  EXPECT_EQ(DescentIas, 191);  // trunc(180 + 70 / 200 x 33)
}

TEST(CostIndex, NotSetChangesNothing) {
  CostIndex = -1;
  apply_cost_index_speeds();
  EXPECT_EQ(ClimbIas, 0);
  EXPECT_EQ(CruiseTas, 250);
  EXPECT_EQ(DescentIas, 220);
}

TEST(CostIndex, EveryChangeAppliesButPilotSpeedsStay) {
  CostIndex = 100;
  apply_cost_index_speeds();
  EXPECT_EQ(ClimbIas, 215);
  EXPECT_EQ(CruiseTas, 255);
  EXPECT_EQ(DescentIas, 215);

  ClimbIas = 240;  // entered on the CDU
  CostIndex = 0;
  apply_cost_index_speeds();
  EXPECT_EQ(ClimbIas, 240);
  EXPECT_EQ(CruiseTas, 230);
  EXPECT_EQ(DescentIas, 180);

  CostIndex = 200;
  apply_cost_index_speeds();
  EXPECT_EQ(ClimbIas, 240);
  EXPECT_EQ(CruiseTas, 280);
  EXPECT_EQ(DescentIas, 250);
}
