// The aircraft file: the sample aircraft, hand-written edge lines, missing files, unsafe
// names, the navigation data cycle and the parking file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "guidance/aircraft_file.h"
#include "guidance/performance_tables.h"
#include "guidance/settings.h"
#include "guidance/settings_file.h"
#include "guidance/speed_conversions.h"
#include "module/display_state.h"
#include "module/module_messages.h"
#include "module/module_paths.h"
#include "sim_folder.h"

TEST(AircraftFile, SampleAircraftSetsEveryKey) {
  sim_root_path = std::string(VEK_SAMPLE_ROOT);
  aircraft_name = "Twinjet";
  read_vek_cfg();
  read_aircraft_config();
  EXPECT_EQ(aircraft_config_loaded, 1);

  EXPECT_EQ(ModelId, "TWINJET-800");
  EXPECT_EQ(EngId, "TF27");
  EXPECT_EQ(EngThrust, 27);
  EXPECT_EQ(PerformanceData, "Twinjet_perf.txt");
  EXPECT_EQ(aircraft_flight_plans_folder, "");
  // Cost index 50 places each target a quarter up its range.
  EXPECT_EQ(CostIndex, 50);
  EXPECT_EQ(ClimbIas, 282);
  EXPECT_EQ(CruiseTas, 252);
  EXPECT_EQ(DescentIas, 275);
  EXPECT_EQ(BestHoldIas, 220);  // set after the descent speed, which sets it too
  EXPECT_DOUBLE_EQ(ClimbTas, 282 * 1.285);
  EXPECT_DOUBLE_EQ(DescentTas, 275 * 1.285);
  EXPECT_DOUBLE_EQ(ClimbIasMin, 270);
  EXPECT_DOUBLE_EQ(ClimbIasMax, 320);
  EXPECT_DOUBLE_EQ(CruiseIasMin, 240);
  EXPECT_DOUBLE_EQ(CruiseIasMax, 290);
  EXPECT_DOUBLE_EQ(descent_ias_min, 260);
  EXPECT_DOUBLE_EQ(descent_ias_max, 320);
  EXPECT_NEAR(climb_mach_max, ias_to_mach(320, 15000), 1e-12);
  EXPECT_NEAR(cruise_mach_min, 240 * 1.285 / (38.967854 * std::sqrt(243.15)), 1e-12);
  EXPECT_DOUBLE_EQ(ClimbMach, 0.78);
  EXPECT_DOUBLE_EQ(CruiseMach, 0.0);
  EXPECT_DOUBLE_EQ(DescentMach, 0.0);
  EXPECT_DOUBLE_EQ(ClbSpdRest, 250);
  EXPECT_DOUBLE_EQ(ClbAltRest, 10000);
  EXPECT_DOUBLE_EQ(DescSpdRest, 250);
  EXPECT_DOUBLE_EQ(DescAltRest, 10000);
  EXPECT_EQ(VnavSetSpdRestDist, 25);
  EXPECT_EQ(ClimbRate, 2200);
  EXPECT_DOUBLE_EQ(DescentRate, 2000);
  EXPECT_DOUBLE_EQ(FPA, 0);
  EXPECT_EQ(MaxCruise, 41000);
  EXPECT_DOUBLE_EQ(MaxVnavClimbRate, 3500);
  EXPECT_DOUBLE_EQ(MinVnavClimbRate, 1000);
  EXPECT_DOUBLE_EQ(MaxVnavDescRate, 3000);
  EXPECT_DOUBLE_EQ(MinVnavDescRate, 1000);
  EXPECT_DOUBLE_EQ(MinVnavClimbIas, 210);
  EXPECT_DOUBLE_EQ(MinVnavIas, 170);
  EXPECT_DOUBLE_EQ(MinVnavRadioAlt, 1000);
  EXPECT_EQ(TOFLAPS, 5);
  EXPECT_EQ(TOFLAPSRANGE, ",1,5,10,15,25,");
  EXPECT_EQ(LDGFLAPS, 30);
  EXPECT_EQ(V1, 142);
  EXPECT_EQ(VR, 147);
  EXPECT_EQ(V2, 153);
  EXPECT_EQ(VREF, 145);
  EXPECT_EQ(APPRFLAPSMIN, "15");
  EXPECT_EQ(APPRFLAPSMID, "30");
  EXPECT_EQ(APPRFLAPSMAX, "40");
  EXPECT_EQ(VREFMIN, 151);
  EXPECT_EQ(VREFMID, 145);
  EXPECT_EQ(VREFMAX, 138);
  EXPECT_DOUBLE_EQ(HoldLegMins, 1.0);
  EXPECT_EQ(ResetApHdg, 0);
  EXPECT_EQ(DispFPV, 1);
  EXPECT_EQ(ShowFloatingTodBodIndicators, 1);
  EXPECT_EQ(EADIHdgTape, 1);
  EXPECT_EQ(DU1000Style, "AIRBUS");
  EXPECT_EQ(TcasVertRange, 27);

  EXPECT_EQ(b737_nd_mode, 5);
  EXPECT_EQ(md11_nd_mode, 3);
  EXPECT_EQ(md80_ehsi_mode, 1);
  EXPECT_EQ(efs50_ehsi_mode, 3);
  EXPECT_EQ(EFS50NavMode, 2);
  EXPECT_EQ(du1000_ehsi_mode, 1);
  EXPECT_EQ(proline4_mfd_format, 3);

  EXPECT_EQ(A320EADISkyColorGreen, 165);
  EXPECT_EQ(B777PFDGrndColorBlue, 28);
  EXPECT_EQ(C17MfdGrndColorRed, 131);

  EXPECT_EQ(perf_climb_count, 9);
  EXPECT_EQ(perf_cruise_count, 8);
  EXPECT_EQ(perf_descent_count, 9);
  EXPECT_EQ(perf_altitude_count, 6);
  EXPECT_EQ(perf_grwt_count, 4);
}

TEST(AircraftFile, EdgeLinesAreGuarded) {
  sim_root_path = std::string(VEK_GUIDANCE_TEST_DATA) + "/edge";
  aircraft_name = "Edge";
  read_aircraft_config();

  EXPECT_EQ(b737_nd_mode, 1);
  EXPECT_EQ(md11_nd_mode, 3);  // 1 is no MD-11 mode: MAP
  EXPECT_EQ(md80_ehsi_mode, 3);
  EXPECT_EQ(efs50_ehsi_mode, 1);
  EXPECT_EQ(EFS50NavMode, 1);
  EXPECT_EQ(du1000_ehsi_mode, 0);
  EXPECT_EQ(proline4_mfd_format, 3);  // modes out of range are refused: the start values stay

  EXPECT_EQ(EngThrust, 27);
  EXPECT_EQ(ClimbIas, 233);  // int(300 / 128.5 x 100)
  EXPECT_DOUBLE_EQ(ClimbTas, 233 * 1.285);
  EXPECT_DOUBLE_EQ(HoldLegMins, 1.0);
  EXPECT_EQ(TOFLAPSRANGE, ",5,15,");

  EXPECT_DOUBLE_EQ(CruiseIasMax, 300);
  EXPECT_DOUBLE_EQ(descent_ias_max, 260);
  EXPECT_DOUBLE_EQ(CruiseIasMin, 230);
  EXPECT_DOUBLE_EQ(descent_ias_min, 180);
  EXPECT_NEAR(cruise_mach_max, ias_to_mach(300, 15000), 1e-12);
  EXPECT_NEAR(descent_mach_max, ias_to_mach(260, 15000), 1e-12);

  EXPECT_DOUBLE_EQ(ClimbMach, 0.75);
  EXPECT_DOUBLE_EQ(CruiseMach, 0.0);
  EXPECT_DOUBLE_EQ(DescentMach, 0.0);
  EXPECT_DOUBLE_EQ(WptChgDist, 2.9);  // 0.5 has integer part 0 here
  EXPECT_EQ(aircraft_flight_plans_folder, "Edge plans");
  EXPECT_EQ(FlightPlansFolder, "");

  EXPECT_EQ(B777PFDSkyColorGreen, 200);
  EXPECT_EQ(B777PFDSkyColorRed, 40);
  EXPECT_EQ(A320EADISkyColorBlue, 201);

  EXPECT_EQ(ClimbRate, 1800);
  EXPECT_DOUBLE_EQ(DescentRate, 1800);
  EXPECT_EQ(CostIndex, -1);
  EXPECT_EQ(V1, 0);
  EXPECT_EQ(CruiseTas, 250);  // a cruise speed of 0 is no speed
  EXPECT_EQ(DU1000Style, "BOEING");
}

TEST(AircraftFile, NothingWhileNoAircraftIsNamed) {
  SimFolder sim;
  b737_nd_mode = 9;
  read_aircraft_config();
  EXPECT_EQ(aircraft_config_loaded, 0);
  EXPECT_EQ(b737_nd_mode, 9);
}

TEST(AircraftFile, MissingFileIsReportedAndStillDerivesAndValidates) {
  SimFolder sim;
  aircraft_name = "NoSuchAircraft";
  CruiseMach = 0.8;
  b737_nd_mode = 0;
  md11_nd_mode = 6;
  read_aircraft_config();
  EXPECT_EQ(aircraft_config_loaded, 1);
  EXPECT_EQ(b737_nd_mode, 1);
  EXPECT_EQ(md11_nd_mode, 3);
  EXPECT_DOUBLE_EQ(CruiseMach, 0.0);
  EXPECT_NEAR(climb_mach_min, ias_to_mach(180, 15000), 1e-12);
  EXPECT_DOUBLE_EQ(DescentTas, 220 * 1.285);
  EXPECT_EQ(nav_data_cycle, "");
  EXPECT_EQ(nav_data_active, "");
  EXPECT_EQ(perf_cruise_count, 0);
  EXPECT_EQ(module_messages[module_message_count], "Aircraft file '" + sim.root() + "/vek/Aircraft/NoSuchAircraft.cfg' missing");
}

TEST(AircraftFile, ReadsOnce) {
  SimFolder sim;
  sim.write("vek/Aircraft/Jet.cfg", "EngThrust=20\n");
  aircraft_name = "Jet";
  read_aircraft_config();
  EXPECT_EQ(EngThrust, 20);
  sim.write("vek/Aircraft/Jet.cfg", "EngThrust=30\n");
  read_aircraft_config();
  EXPECT_EQ(EngThrust, 20);
}

TEST(AircraftFile, NameNeverLeavesTheAircraftFolder) {
  for (const char* name : {"../Outside", "..", "sub/Inside", "sub\\Inside", "C:Outside"}) {
    SimFolder sim;
    sim.write("vek/Outside.cfg", "EngThrust=11\n");
    sim.write("Outside.cfg", "EngThrust=12\n");
    sim.write("vek/Aircraft/sub/Inside.cfg", "EngThrust=13\n");
    aircraft_config_loaded = 0;
    EngThrust = 0;
    b737_nd_mode = 9;
    aircraft_name = name;
    read_aircraft_config();
    EXPECT_EQ(EngThrust, 0) << name;
    EXPECT_EQ(aircraft_config_loaded, 1) << name;
    EXPECT_EQ(b737_nd_mode, 1) << name;  // the steps after the file still run
  }
}

TEST(NavDataCycle, FirstAiracLineGivesTheTexts) {
  sim_root_path = std::string(VEK_GUIDANCE_TEST_DATA) + "/edge";
  read_nav_data_cycle();
  // The bare ";AIRAC" line comes first: its missing words give empty parts.
  EXPECT_EQ(nav_data_cycle, "AIRAC ");
  EXPECT_EQ(nav_data_active, " - ");

  SimFolder sim;
  sim.write("vek/navdata/NAVS.TXT", "ABC V 1 2 113.00 SOME VOR\n;AIRAC cycle : 0912 17DEC2009 - 13JAN2010\n");
  read_nav_data_cycle();
  EXPECT_EQ(nav_data_cycle, "AIRAC 0912");
  EXPECT_EQ(nav_data_active, "17DEC - 13JAN/10");

  // A byte-order mark before the header, and lone CR line ends, read the same.
  nav_data_cycle.clear();
  sim.write("vek/navdata/NAVS.TXT", "\xEF\xBB\xBF;AIRAC cycle : 0913 14JAN2010 - 10FEB2010\rABC V 1 2 113.00 VOR\r");
  read_nav_data_cycle();
  EXPECT_EQ(nav_data_cycle, "AIRAC 0913");
  EXPECT_EQ(nav_data_active, "14JAN - 10FEB/10");
}

TEST(ParkingFile, FirstExactNameWins) {
  SimFolder sim;
  sim.write("vek/Aircraft/stands.txt",
            "gate1 1 2 3\nGATE1 47.25 8.5 360\nGATE1 9 9 9\nGATE2 -33.9 151.2 90\nSHORT 5\n");
  ParkingFile = "stands.txt";
  read_parking_position("GATE1");
  EXPECT_DOUBLE_EQ(parking_lat, 47.25);
  EXPECT_DOUBLE_EQ(parking_lon, 8.5);
  EXPECT_DOUBLE_EQ(parking_heading, 0.0);  // 360 becomes 0
  read_parking_position("GATE2");
  EXPECT_DOUBLE_EQ(parking_lon, 151.2);
  EXPECT_DOUBLE_EQ(parking_heading, 90.0);
  read_parking_position("SHORT");  // a short line is no stand
  EXPECT_DOUBLE_EQ(parking_lat, 0.0);
  EXPECT_DOUBLE_EQ(parking_lon, 0.0);
  read_parking_position("NONE");
  EXPECT_DOUBLE_EQ(parking_lat, 0.0);
  EXPECT_DOUBLE_EQ(parking_heading, 0.0);

  sim.write("vek/stands.txt", "GATE1 1 2 3\n");
  ParkingFile = "../stands.txt";
  read_parking_position("GATE1");
  EXPECT_DOUBLE_EQ(parking_lat, 0.0);

  // A stand whose numbers do not read or lie out of range is no stand, and is told.
  sim.write("vek/Aircraft/bad.txt", "NAN nan 8.5 90\nFAR 47.25 8.5 1e308\nHUGE 47.25 1e309 90\n");
  ParkingFile = "bad.txt";
  for (const char* stand : {"NAN", "FAR", "HUGE"}) {
    module_message_count = 0;
    read_parking_position(stand);
    EXPECT_DOUBLE_EQ(parking_lon, 0.0) << stand;
    EXPECT_DOUBLE_EQ(parking_heading, 0.0) << stand;
    ASSERT_EQ(module_message_count, 1) << stand;
    EXPECT_EQ(module_messages[1], std::string("Parking position '") + stand + "' out of range, ignored");
  }
}

TEST(AircraftFile, MissingFileLeavesEveryAircraftDefault) {
  SimFolder sim;
  aircraft_name = "NoSuchAircraft";
  read_aircraft_config();
  EXPECT_EQ(aircraft_flight_plans_folder, "");
  EXPECT_EQ(APPRFLAPSMIN, "15");
  EXPECT_EQ(APPRFLAPSMID, "30");
  EXPECT_EQ(APPRFLAPSMAX, "40");
  EXPECT_EQ(BestHoldIas, 0);
  EXPECT_DOUBLE_EQ(ClbAltRest, 0);
  EXPECT_DOUBLE_EQ(ClbSpdRest, 0);
  EXPECT_DOUBLE_EQ(DescAltRest, 0);
  EXPECT_DOUBLE_EQ(DescSpdRest, 0);
  EXPECT_EQ(ClimbIas, 0);
  EXPECT_EQ(CruiseTas, 250);
  EXPECT_EQ(DescentIas, 220);
  EXPECT_DOUBLE_EQ(ClimbIasMin, 180);
  EXPECT_DOUBLE_EQ(ClimbIasMax, 250);
  EXPECT_DOUBLE_EQ(CruiseIasMin, 230);
  EXPECT_DOUBLE_EQ(CruiseIasMax, 280);
  EXPECT_DOUBLE_EQ(descent_ias_min, 180);
  EXPECT_DOUBLE_EQ(descent_ias_max, 250);
  EXPECT_EQ(ClimbRate, 1800);
  EXPECT_DOUBLE_EQ(DescentRate, 1800);
  EXPECT_EQ(CostIndex, -1);
  EXPECT_EQ(EngThrust, 0);
  EXPECT_DOUBLE_EQ(FPA, 0);
  EXPECT_DOUBLE_EQ(HoldLegMins, 1.0);
  EXPECT_EQ(LDGFLAPS, 0);
  EXPECT_EQ(TOFLAPS, 0);
  EXPECT_EQ(TOFLAPSRANGE, ",1,5,10,15,25,");
  EXPECT_EQ(V1, 0);
  EXPECT_EQ(VR, 0);
  EXPECT_EQ(V2, 0);
  EXPECT_EQ(VREF, 0);
  EXPECT_EQ(VREFMIN, 150);
  EXPECT_EQ(VREFMID, 145);
  EXPECT_EQ(VREFMAX, 135);
  EXPECT_EQ(MaxCruise, 35000);
  EXPECT_DOUBLE_EQ(MaxVnavClimbRate, 2500);
  EXPECT_DOUBLE_EQ(MinVnavClimbRate, 1500);
  EXPECT_DOUBLE_EQ(MaxVnavDescRate, 3000);
  EXPECT_DOUBLE_EQ(MinVnavDescRate, 1500);
  EXPECT_DOUBLE_EQ(MinVnavClimbIas, 180);
  EXPECT_DOUBLE_EQ(MinVnavIas, 155);
  EXPECT_DOUBLE_EQ(MinVnavRadioAlt, 1000);
  EXPECT_EQ(ModelId, "");
  EXPECT_EQ(EngId, "");
  EXPECT_EQ(PerformanceData, "");
  EXPECT_EQ(ShowFloatingTodBodIndicators, 0);
  EXPECT_EQ(VnavSetMachCruiseSpd, 0);
  EXPECT_EQ(VnavSetSpdRestDist, 25);
  EXPECT_EQ(ResetApHdg, 0);
  EXPECT_EQ(DU1000Style, "AIRBUS");
  EXPECT_EQ(DispFPV, 0);
  EXPECT_EQ(HWB737NDBkgrdColorRed, 0);
  EXPECT_EQ(A320EADISkyColorRed, 41);
  EXPECT_EQ(C17MfdSkyColorBlue, 175);
  // The start modes of the display state are valid as they are.
  EXPECT_EQ(b737_nd_mode, 1);
  EXPECT_EQ(md11_nd_mode, 3);
  EXPECT_EQ(md80_ehsi_mode, 0);
  EXPECT_EQ(efs50_ehsi_mode, 1);
  EXPECT_EQ(EFS50NavMode, 1);
  EXPECT_EQ(du1000_ehsi_mode, 0);
  EXPECT_EQ(proline4_mfd_format, 3);
}

TEST(AircraftFile, SpeedKeysFeedTheirTargets) {
  SimFolder sim;
  aircraft_name = "Speeds";
  sim.write("vek/Aircraft/Speeds.cfg",
            "DescentIas=270.9\nCruiseTas=385.5\nDescentTas=0\nClimbIas=-5\nVnavSetSpdRestDist=0\n"
            "CostIndex=-7\nEngThrust=900\n");
  read_aircraft_config();
  EXPECT_EQ(DescentIas, 270);
  EXPECT_EQ(BestHoldIas, 270);
  EXPECT_EQ(descent_ias_file, 270);
  EXPECT_EQ(CruiseTas, 300);  // int(385.5 / 128.5 x 100)
  EXPECT_EQ(cruise_ias_file, 300);
  EXPECT_EQ(ClimbIas, 0);
  EXPECT_DOUBLE_EQ(DescentTas, 270 * 1.285);
  EXPECT_EQ(VnavSetSpdRestDist, 25);
  EXPECT_EQ(CostIndex, -1);
  EXPECT_EQ(EngThrust, 900);
}

TEST(AircraftFile, CostIndexFromTheFileMovesTheFileSpeeds) {
  SimFolder sim;
  aircraft_name = "Econ";
  sim.write("vek/Aircraft/Econ.cfg",
            "ClimbIas=300\nCruiseIas=260\nClimbIasMin=180\nClimbIasMax=250\nCostIndex=100\n");
  read_aircraft_config();
  EXPECT_EQ(ClimbIas, 215);
  EXPECT_EQ(CruiseTas, 255);
  EXPECT_EQ(DescentIas, 215);
  EXPECT_DOUBLE_EQ(ClimbTas, 215 * 1.285);
}

TEST(AircraftFile, TheRestOfALineLongerThan200IsDropped) {
  SimFolder sim;
  aircraft_name = "Long";
  sim.write("vek/Aircraft/Long.cfg", "ModelId=" + std::string(192, 'M') + "MaxCruise=41000\n;" +
                                         std::string(199, 'c') + "ModelId=EVIL\nDescentIas=250\n");
  read_aircraft_config();
  EXPECT_EQ(ModelId, std::string(192, 'M'));  // the comment's tail set nothing
  EXPECT_NE(MaxCruise, 41000);
  EXPECT_EQ(DescentIas, 250);
}

// A number outside what its field can hold keeps the value before it, with a message;
// the guidance never converts such a value to a whole number.
TEST(AircraftFile, ValuesOutOfRangeAreIgnoredWithAMessage) {
  struct Row {
    const char* line;
    std::function<bool()> kept;
  };
  const Row rows[] = {
      {"FPA=1e10", [] { return FPA == 3.0; }},
      {"FPA=-1", [] { return FPA == 3.0; }},
      {"ClimbIasMax=1e30", [] { return ClimbIasMax == 250.0; }},
      {"V1=5000", [] { return V1 == 140; }},
      {"MaxCruise=4000000000", [] { return MaxCruise == 35000; }},
      {"HoldLegMins=1e300", [] { return HoldLegMins == 1.5; }},
      {"DescentRate=99999999", [] { return DescentRate == 2000.0; }},
  };
  for (const Row& row : rows) {
    SimFolder sim;
    aircraft_config_loaded = 0;
    aircraft_name = "Range";
    sim.write("vek/Aircraft/Range.cfg",
              std::string("FPA=3\nClimbIasMax=250\nV1=140\nMaxCruise=35000\nHoldLegMins=1.5\nDescentRate=2000\n") +
                  row.line + "\n");
    module_message_count = 0;
    read_aircraft_config();
    EXPECT_TRUE(row.kept()) << row.line;
    EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1,
                         std::string(row.line) + " out of range, ignored"),
              1)
        << row.line;
  }
  aircraft_name.clear();
  aircraft_config_loaded = 0;
}
