// "\vek\vek.cfg": defaults, the sample file, hand-written edge lines, the load guard
// and the simulator version.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "flightplan/fpl_ops.h"
#include "guidance/flight_log.h"
#include "guidance/aircraft_file.h"
#include "guidance/fms_state.h"
#include "guidance/performance_tables.h"
#include "guidance/settings.h"
#include "guidance/settings_file.h"
#include "guidance/speed_conversions.h"
#include "module/module_messages.h"
#include "module/module_paths.h"
#include "sim_folder.h"

TEST(SettingsFile, TheLoadEmptiesEntryTextsAndRunsEachRegisteredResetOnce) {
  SimFolder sim;
  static int resets;
  resets = 0;
  void (*reset)() = [] { ++resets; };
  route_dest_text = "KPDX";
  edit_appr_trans_text = "OLM";
  turn_dir_text = "LEFT";
  on_settings_loaded(reset);
  on_settings_loaded(reset);  // a unit installed twice registers once
  read_vek_cfg();
  EXPECT_EQ(route_dest_text, "------");
  EXPECT_EQ(edit_appr_trans_text, "------");
  EXPECT_EQ(turn_dir_text, "DEFAULT");
  EXPECT_EQ(resets, 1);
}

TEST(SettingsFile, MissingFileLeavesEveryDefault) {
  SimFolder sim;
  read_vek_cfg();
  EXPECT_EQ(settings_loaded, 1);
  EXPECT_EQ(sim_version, 9);
  EXPECT_EQ(hdg_change_timer, 999);
  EXPECT_EQ(log_settings_loaded, 1);
  EXPECT_EQ(ArmPauseAtTod, 0);
  EXPECT_EQ(PauseAtTod, 0);
  EXPECT_EQ(ArmPauseAtDistFromDest, 0);
  EXPECT_EQ(PauseAtDistFromDest, 0);
  EXPECT_EQ(pause_dist_from_dest, 20);
  EXPECT_EQ(DispAppPtrnAlts, 0);
  EXPECT_EQ(DispETALocalTime, 0);
  EXPECT_EQ(DispPrevWpt, 0);
  EXPECT_EQ(DrawBodArcOnP1000MFD, 0);
  EXPECT_EQ(DrawBodArcOnEFS50EHSI, 0);
  EXPECT_EQ(DrawTcasWindowOnP1000MFD, 1);
  EXPECT_EQ(EadiDualCue, 0);
  EXPECT_EQ(EADIHdgTape, 0);
  EXPECT_EQ(EhsiStaticHdgPointer, 1);
  EXPECT_EQ(ExpandEADI, 0);
  EXPECT_EQ(ExpandEADILnav, 0);
  EXPECT_EQ(FlightPlansFolder, "");
  EXPECT_DOUBLE_EQ(FlyoverWptChgDist, 1.5);
  EXPECT_EQ(LoadFuelonFlightPlanLoad, 0);
  EXPECT_EQ(Lnav1xAtTod, 0);
  EXPECT_EQ(LnavOffAtLastWpt, 0);
  EXPECT_EQ(LnavSetEnRouteFreqs, 0);
  EXPECT_EQ(MFDTextAntiAlias, 1);
  EXPECT_EQ(ParkingFile, "");
  EXPECT_EQ(SetDestLoadTowerViewDist, 0);
  EXPECT_EQ(SetSpdOffwhenAPMasterSetOff, 0);
  EXPECT_EQ(SetUTCTimeOnFPLoad, 0);
  EXPECT_EQ(ShowTodBodIndicators, 1);
  EXPECT_EQ(SetWptBaro, 0);
  EXPECT_EQ(TcasVertRange, 140);
  EXPECT_EQ(VnavOffAtLastWpt, 0);
  EXPECT_EQ(VnavOffOnManAltChg, 0);
  EXPECT_EQ(VnavSetAlts, 1);
  EXPECT_EQ(VnavSetSpd, 1);
  EXPECT_EQ(VnavSetSpdOffOnManSpdChg, 0);
  EXPECT_EQ(WeightUnit, "LBS");
  EXPECT_DOUBLE_EQ(WptChgDist, 3.0);
  EXPECT_DOUBLE_EQ(WptChgSecs, 0.0);
  EXPECT_DOUBLE_EQ(WptProcChgDist, 3.0);
  EXPECT_DOUBLE_EQ(WptProcChgSecs, 0.0);
  EXPECT_EQ(TransAlt, 18000);
  EXPECT_DOUBLE_EQ(MinMapRange, 10.0);
  EXPECT_EQ(McuShowActiveRwys, 0);
  EXPECT_EQ(SaveFPLCruiseAlt, 0);
  EXPECT_EQ(SequenceFPlanWpts, 0);
  EXPECT_EQ(SetMCPCrzAltOnFlightPlanLoad, 0);
  EXPECT_EQ(SetMCPSpdOnFlightPlanLoad, 0);
  EXPECT_EQ(HdgHoldOnLnavOn, 0);
  EXPECT_EQ(DispC17SpdTrend, 0);
  EXPECT_EQ(AdjustTurnDistforAngle, 0);
  EXPECT_DOUBLE_EQ(ClimbMach, 0.0);
  EXPECT_DOUBLE_EQ(CruiseMach, 0.0);
  EXPECT_DOUBLE_EQ(DescentMach, 0.0);
  EXPECT_EQ(DisplayMagVarOnGnsxlsNavPage, 0);
  EXPECT_EQ(DecLatLonDisp, 0);
  // Derived before the file from the start targets (climb 0, descent 220).
  EXPECT_DOUBLE_EQ(ClimbTas, 0.0);
  EXPECT_DOUBLE_EQ(DescentTas, 220 * 1.285);
}

TEST(SettingsFile, SampleFileSetsItsValues) {
  sim_root_path = std::string(VEK_SAMPLE_ROOT);
  read_vek_cfg();
  EXPECT_DOUBLE_EQ(WptChgDist, 3.0);
  EXPECT_DOUBLE_EQ(WptProcChgDist, 1.5);
  EXPECT_EQ(AdjustTurnDistforAngle, 1);
  EXPECT_EQ(LnavOffAtLastWpt, 1);
  EXPECT_EQ(HdgHoldOnLnavOn, 1);
  EXPECT_EQ(Lnav1xAtTod, 1);
  EXPECT_EQ(VnavSetSpdOffOnManSpdChg, 1);
  EXPECT_DOUBLE_EQ(CruiseMach, 0.78);
  EXPECT_EQ(ArmPauseAtTod, 1);
  EXPECT_EQ(PauseAtTod, 0);
  EXPECT_EQ(ArmPauseAtDistFromDest, 1);
  EXPECT_EQ(PauseAtDistFromDest, 0);
  EXPECT_EQ(SetMCPCrzAltOnFlightPlanLoad, 1);
  EXPECT_EQ(SaveFPLCruiseAlt, 1);
  EXPECT_EQ(FlightPlansFolder, "");
  EXPECT_EQ(WeightUnit, "LBS");
  EXPECT_EQ(DisplayMagVarOnGnsxlsNavPage, 1);
  EXPECT_DOUBLE_EQ(MinMapRange, 5.0);
  EXPECT_EQ(DispAppPtrnAlts, 1);
  EXPECT_EQ(DispPrevWpt, 1);
  EXPECT_EQ(DrawBodArcOnEFS50EHSI, 1);
  EXPECT_EQ(DispC17SpdTrend, 1);
  EXPECT_EQ(TcasVertRange, 27);
}

TEST(SettingsFile, EdgeFileSkipsWhatItCannotUse) {
  sim_root_path = std::string(VEK_GUIDANCE_TEST_DATA) + "/edge";
  read_vek_cfg();
  EXPECT_DOUBLE_EQ(WptChgDist, 3.0);       // commented out, then a bad number
  EXPECT_DOUBLE_EQ(WptProcChgDist, 3.0);   // blanks around "="
  EXPECT_EQ(TransAlt, 18000);              // a bad number is refused: the default stays
  EXPECT_DOUBLE_EQ(MinMapRange, 10.0);     // "2.5nm" is no number whole: the default stays
  EXPECT_DOUBLE_EQ(FlyoverWptChgDist, 1.5);
  EXPECT_EQ(TcasVertRange, 140);
  EXPECT_DOUBLE_EQ(WptChgSecs, 0.0);
  EXPECT_EQ(WeightUnit, "KGS");
  EXPECT_EQ(DispPrevWpt, 0);
  EXPECT_EQ(ParkingFile, "gate list.txt");
  EXPECT_EQ(DecLatLonDisp, 1);
  EXPECT_EQ(ShowTodBodIndicators, 1);  // an int key named alone reads no number
  EXPECT_EQ(PauseAtTod, 1);
  EXPECT_EQ(ArmPauseAtTod, 1);
  EXPECT_EQ(PauseAtDistFromDest, 1);
  EXPECT_EQ(ArmPauseAtDistFromDest, 1);
  EXPECT_EQ(pause_dist_from_dest, 40);
}

TEST(SettingsFile, GuardsKeepThePreviousValue) {
  apply_vek_cfg_line("FlyoverWptChgDist=1.2");
  apply_vek_cfg_line("FlyoverWptChgDist=0.5");
  EXPECT_DOUBLE_EQ(FlyoverWptChgDist, 1.2);

  apply_vek_cfg_line("WptChgDist=2.5");
  apply_vek_cfg_line("WptChgDist=0");
  EXPECT_DOUBLE_EQ(WptChgDist, 2.5);
  apply_vek_cfg_line("WptChgDist=0.5");  // the settings file takes a decimal above 0
  EXPECT_DOUBLE_EQ(WptChgDist, 0.5);

  apply_vek_cfg_line("TcasVertRange=14000");
  EXPECT_EQ(TcasVertRange, 140);
  apply_vek_cfg_line("TcasVertRange=25099");
  EXPECT_EQ(TcasVertRange, 250);
  apply_vek_cfg_line("TcasVertRange=999");
  EXPECT_EQ(TcasVertRange, 250);

  apply_vek_cfg_line("PauseAtDistFromDest=-5");  // stored unchanged, no pause armed
  EXPECT_EQ(PauseAtDistFromDest, -5);
  EXPECT_EQ(ArmPauseAtDistFromDest, 0);
  EXPECT_EQ(pause_dist_from_dest, 20);

  apply_vek_cfg_line("PauseAtTod=2");  // a flag is 0 or 1
  EXPECT_EQ(PauseAtTod, 0);
  EXPECT_EQ(ArmPauseAtTod, 0);

  apply_vek_cfg_line("DecLatLonDisp=-0.7");
  EXPECT_EQ(DecLatLonDisp, 0);
}

TEST(SettingsFile, ReadsOnceAndDropsTheRestOfLongLines) {
  SimFolder sim;
  sim.write("vek/vek.cfg", "TransAlt=5000\n;" + std::string(298, 'x') + "TransAlt=7000\nSequenceFPlanWpts=1\n");
  read_vek_cfg();
  EXPECT_EQ(TransAlt, 5000);
  EXPECT_EQ(SequenceFPlanWpts, 1);

  sim.write("vek/vek.cfg", "TransAlt=9000\n");
  read_vek_cfg();
  EXPECT_EQ(TransAlt, 5000);
}

TEST(SettingsFile, FolderNamesMatchWithoutCase) {
  SimFolder sim;
  sim.write("VEK/VEK.CFG", "WptChgDist=4\n");
  read_vek_cfg();
  EXPECT_DOUBLE_EQ(WptChgDist, 4.0);
}

TEST(SimVersion, ThreeMarkersMakeTheNewerSimulator) {
  SimFolder sim;
  sim.write("fsx.exe", "");
  sim.make_dir("SimObjects");
  detect_sim_version();
  EXPECT_EQ(sim_version, 9);

  sim.write("MISSIONS", "");
  detect_sim_version();
  EXPECT_EQ(sim_version, 10);
}

TEST(SimVersion, ReadingTheSettingsDecidesIt) {
  SimFolder sim;
  sim.write("ace.exe", "");
  sim.write("fsx.exe", "");
  sim.make_dir("Missions");
  read_vek_cfg();
  EXPECT_EQ(sim_version, 10);
}

// Every number of the settings and aircraft files has a range; a value outside it, or one
// that does not read as a number, is refused with one message and the value stays.
namespace {

// A line of the aircraft file, else of the settings file.
void apply_line(const char* line, bool aircraft) {
  if (aircraft) apply_aircraft_cfg_line(line);
  else apply_vek_cfg_line(line);
}

// `line` is refused with its key's one message and the old value kept.
void expect_refused_and_kept(const char* line, bool aircraft, const std::function<bool()>& kept) {
  module_message_count = 0;
  apply_line(line, aircraft);
  EXPECT_TRUE(kept()) << line;
  EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1,
                       std::string(line) + " out of range, ignored"),
            1)
      << line;
}

}  // namespace

TEST(SettingsFile, EveryNumberHasARangeAndAnUnreadableOneIsRefused) {
  struct Table {
    const ConfigKey* keys;
    size_t count;
  };
  for (const Table& t : {Table{vek_cfg_keys, vek_cfg_key_count}, Table{shared_setting_keys, shared_setting_key_count},
                         Table{aircraft_cfg_keys, aircraft_cfg_key_count}}) {
    for (size_t k = 0; k < t.count; ++k) {
      const ConfigKey& key = t.keys[k];
      bool text = key.type == CFG_TEXT || key.type == CFG_UPPER_TEXT || std::string(key.name) == "TOFLAPSRANGE";
      EXPECT_TRUE(text || config_key_has_range(key.name)) << key.name;
    }
  }
  struct Row {
    const char* line;
    bool aircraft;  // a line of the aircraft file, else of the settings file
    std::function<bool()> kept;
  };
  const Row rows[] = {
      {"WptProcChgSecs=600", false, [] { return WptProcChgSecs == 0.0; }},
      {"WptChgSecs=abc", false, [] { return WptChgSecs == 0.0; }},
      {"WptProcChgDist=500", false, [] { return WptProcChgDist == 3.0; }},
      {"FlyoverWptChgDist=1e308", false, [] { return FlyoverWptChgDist == 1.5; }},
      {"TransAlt=1e308", false, [] { return TransAlt == 18000; }},
      {"TransAlt=1e309", false, [] { return TransAlt == 18000; }},
      {"MinMapRange=inf", false, [] { return MinMapRange == 10.0; }},
      {"ClimbMach=-1e308", false, [] { return ClimbMach == 0.0; }},
      {"CruiseMach=nan", false, [] { return CruiseMach == 0.0; }},
      {"SetDestLoadTowerViewDist=", false, [] { return SetDestLoadTowerViewDist == 0; }},
      {"VnavSetAlts=7", false, [] { return VnavSetAlts == 1; }},
      {"MaxVnavClimbRate=nan", true, [] { return MaxVnavClimbRate == 2500.0; }},
      {"ClimbRate=abc", true, [] { return ClimbRate == 1800; }},
      {"B777PFDSkyColorRed=300", true, [] { return B777PFDSkyColorRed != 300; }},
  };
  for (const Row& row : rows) {
    expect_refused_and_kept(row.line, row.aircraft, row.kept);
  }
  // A whole number is stored as it was checked.
  apply_vek_cfg_line("TransAlt=1.5e4");
  EXPECT_EQ(TransAlt, 15000);
}

// A number is its whole word: one with other characters after its digits (a thousands
// separator, a decimal comma, a letter for a digit, a hexadecimal form) is refused with
// its key's message, never taken as its leading digits.
TEST(SettingsFile, NumbersAreReadWholeOrRefused) {
  struct Row {
    const char* line;
    bool aircraft;  // a line of the aircraft file, else of the settings file
    const char* before;  // the line that sets the value kept
    std::function<bool()> kept;
  };
  const Row rows[] = {
      {"TransAlt=18,000", false, "TransAlt=18000", [] { return TransAlt == 18000; }},
      {"TransAlt=18.000.0", false, "TransAlt=18000", [] { return TransAlt == 18000; }},
      {"TransAlt=18 000", false, "TransAlt=18000", [] { return TransAlt == 18000; }},
      {"ClimbMach=0,78", false, "ClimbMach=0.76", [] { return ClimbMach == 0.76; }},
      {"WptChgSecs=3e", false, "WptChgSecs=5", [] { return WptChgSecs == 5.0; }},
      {"ClimbRate=2,200", true, "ClimbRate=2000", [] { return ClimbRate == 2000; }},
      {"MaxCruise=41,000", true, "MaxCruise=37000", [] { return MaxCruise == 37000; }},
      {"CostIndex=5O", true, "CostIndex=50", [] { return CostIndex == 50; }},
      {"V1=0x8C", true, "V1=140", [] { return V1 == 140; }},
      {"FPA=3deg", true, "FPA=3.5", [] { return FPA == 3.5; }},
  };
  for (const Row& row : rows) {
    apply_line(row.before, row.aircraft);
    expect_refused_and_kept(row.line, row.aircraft, row.kept);
  }
  // Performance rows and parking stands: a word that is not one number refuses its row.
  struct FileRow {
    const char* text;
    const int32_t* count;  // rows kept, one expected
  };
  const FileRow tables[] = {
      {"[CLIMB]\n5000 300 2000 3000\n10,000 330 2,700 6,400\n", &perf_climb_count},
      {"[GRWT] 120\n31000 447 4750\n0x2710 447 4750\n", &perf_cruise_count},
      {"[DESCENT]\n20000 300 2000 1000\n30000 320 2000 1,250\n", &perf_descent_count},
  };
  for (const FileRow& t : tables) {
    std::string copy = t.text;
    std::FILE* f = fmemopen(copy.data(), copy.size(), "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(read_perf_tables(f), 1) << t.text;
    std::fclose(f);
    EXPECT_EQ(*t.count, 1) << t.text;
  }
  std::string stands = "GATE1 47.3,5 -122.3 90\nGATE2 47.3 -122.3 09O\n";
  for (const char* stand : {"GATE1", "GATE2"}) {
    std::FILE* f = fmemopen(stands.data(), stands.size(), "rb");
    ASSERT_NE(f, nullptr);
    module_message_count = 0;
    read_parking_lines(f, stand);
    std::fclose(f);
    EXPECT_EQ(parking_lat, 0.0) << stand;
    EXPECT_EQ(module_message_count, 1) << stand;
  }
}

// A control byte in a value (a NUL, an escape sequence) refuses the line, and its message
// shows the byte escaped and ends saying so: never cut where the byte stood.
TEST(SettingsFile, AControlByteInAValueIsToldEscaped) {
  struct Row {
    std::string line;
    bool aircraft;  // a line of the aircraft file, else of the settings file
    const char* told;
  };
  const Row rows[] = {
      {std::string("TransAlt=50\0" "00", 14), false, "TransAlt=50\\x0000 out of range, ignored"},
      {"TransAlt=5000\x1b[2J", false, "TransAlt=5000\\x1B[2J out of range, ignored"},
      {"V1=140\x7f", true, "V1=140\\x7F out of range, ignored"},
  };
  for (const Row& row : rows) {
    module_message_count = 0;
    TransAlt = 18000;
    V1 = 0;
    if (row.aircraft) apply_aircraft_cfg_line(row.line);
    else apply_vek_cfg_line(row.line);
    EXPECT_EQ(TransAlt, 18000) << row.told;
    EXPECT_EQ(V1, 0) << row.told;
    ASSERT_EQ(module_message_count, 1) << row.told;
    EXPECT_EQ(module_messages[1], row.told);
    EXPECT_STREQ(module_messages[1].c_str(), row.told);
  }
}
