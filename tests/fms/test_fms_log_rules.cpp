// Flight-log phases, rows and summary bands; seconds, fuel, times to go and the
// top-of-climb speed commands.
#include <cstdio>

#include "fms_harness.h"
#include "guidance/flight_log.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/lnav_vnav_state.h"
#include "module/module_messages.h"
#include "module/module_paths.h"

namespace {

void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

const char* kHeader =
    "FlightPlan=AAAA-BBBB\nAircraft=Twinjet\n"
    ";--------------------------------------------------------------------------\n";

}  // namespace

TEST_F(FmsFlight, ActivationWhileMovingAppendsWithoutHeader) {
  write_file(sim + "/vek/FlightLog/fpl.log", "old flight\n");
  ac().on_ground = true;
  ac().altitude_ft = ac().ground_elevation_ft;
  ac().ias_kt = 15.0;  // taxiing
  host.aircraft().refresh();
  seconds(3);
  activate({{"ORIG", 47.50, -122.31}, {"DEST", 47.0, -122.31}});
  flight_phase = -1;  // as a plan activation sets it
  frame();
  EXPECT_EQ(flight_phase, 2);  // -1, 0 and 2 in one call
  std::string log = read_text("vek/FlightLog/fpl.log");
  EXPECT_EQ(log.rfind("old flight\n", 0), 0u);
  EXPECT_EQ(log.find("FlightPlan="), std::string::npos);
  EXPECT_NE(log.find(" Taxi "), std::string::npos);
}

TEST_F(FmsFlight, MissingLogFolderStillAdvancesThePhases) {
  fs::remove_all(sim + "/vek/FlightLog");
  ac().on_ground = true;
  ac().altitude_ft = ac().ground_elevation_ft;
  ac().ias_kt = 0.0;
  host.aircraft().refresh();
  seconds(3);
  activate({{"ORIG", 47.50, -122.31}, {"DEST", 47.0, -122.31}});
  flight_phase = -1;
  frame();
  EXPECT_EQ(flight_phase, 0);
  ac().ias_kt = 5.0;
  seconds(2);
  EXPECT_EQ(flight_phase, 1);
  EXPECT_FALSE(fs::exists(sim + "/vek/FlightLog/fpl.log"));
}

TEST_F(FmsFlight, SummaryBandsSkipEmptyPairsAndStartFuelComesFromTheInitLoadRow) {
  seconds(1);
  activate({{"AAAA", 47.50, -122.31}, {"BBBB", 47.0, -122.31}});
  // The InitLoad row is stamped 00:00:03 (not 00:00:00).
  write_file(sim + "/vek/FlightLog/fpl.log",
             std::string(kHeader) +
                 "00:00:03 InitLoad      ---     0      0       0     433    800   40000    50000    5000 0  \n"
                 "00:10:00 Climb         ---   300    300    2000    1000   6000   39000    50000    5000 250\n"
                 "00:11:00 Climb         ---   300    320    2000    3000   6000   38900    51000    5000 250\n"
                 "00:20:00 Cruise        ---   400    400       0   30000   5000   38000    51500    5000 280\n"
                 "00:21:00 Cruise        ---   400    400       0   30000   5000   37900    53000    5000 280\n"
                 "00:30:00 Descent       ---   350    350   -2000   20000   2000   37000    53000    5000 280\n"
                 "01:02:00 End_Flight    ---     0      0       0      31    800   36000    53000    5000 0  \n");
  write_flight_log();
  std::string s = read_text("vek/FlightLog/Flight.log");
  EXPECT_NE(s.find("[AAAA-BBBB]\n"), std::string::npos) << s;
  EXPECT_NE(s.find("FlightTime=01:02\n"), std::string::npos);
  EXPECT_NE(s.find("FuelUsed=4000\n"), std::string::npos);
  // Altitude 1000 and 3000 fall in band 5000; weights 94000 and 94900 in 95000.
  EXPECT_NE(s.find("Climb=5000_310_2000_95000_6000 \n"), std::string::npos) << s;
  // 94500 -> 95000 (5000 scheme); 95900 -> 100000 (10000 scheme at 95500 and above).
  EXPECT_NE(s.find("Cruise=30000_400_95000_5000 30000_400_100000_5000 \n"), std::string::npos) << s;
  EXPECT_NE(s.find("Descent=20000_350_2000_2000 \n"), std::string::npos) << s;
  EXPECT_EQ(s.find("nan"), std::string::npos);
  // Without an aircraft name nothing is appended.
  aircraft_name.clear();
  write_flight_log();
  EXPECT_EQ(read_text("vek/FlightLog/Flight.log"), s);
}

TEST_F(FmsFlight, SecondsAndFuelCountEighteenStepsASecond) {
  seconds(2);
  double before = eng_fuel_used[1];
  double flow = host.aircraft().state().engines[0].fuel_flow_pph;
  frames(18);
  // The burn over the simulated time the frames span (two frames a second here).
  const double burn = flow / 3600.0 * 18 / host.frame_rate();
  EXPECT_NEAR(eng_fuel_used[1] - before, burn, burn * 0.05 + 0.01);
  double secs = elapsed_seconds;
  frames(4);
  EXPECT_EQ(elapsed_seconds, secs);  // the log has not started (no plan)
  // Once the log runs, each simulator second counts once.
  activate({{"ORIG", 47.50, -122.31}, {"DEST", 47.0, -122.31}});
  flight_phase = -1;
  seconds(10);
  EXPECT_NEAR(elapsed_seconds, 10.0, 1.0);
  EXPECT_EQ(eng_limit_time_a, 0.0);  // N2 within its limit
}

TEST_F(FmsFlight, TimesToGoAreZeroWhenSlowAndNeverShowMinuteSixty) {
  activate({{"ORIG", 47.50, -122.31}, {"FAR", 40.0, -122.31}});
  seconds(20);
  fly_until([] { return fms_frame == 0; }, 20);
  EXPECT_GT(ete_active_min, 60.0);
  EXPECT_GE(ete_active_hours, 1.0);
  EXPECT_LT(ete_active_minutes, 60.0);
  EXPECT_LT(ete_dest_minutes, 60.0);
  ac().sim_rate = 4.0;
  frames(18);
  EXPECT_NEAR(ete_active_scaled_min, ete_active_min / 4.0, 0.01);
  ac().on_ground = true;
  ac().altitude_ft = ac().ground_elevation_ft;
  ac().ias_kt = 20.0;
  ac().sim_rate = 1.0;
  host.aircraft().refresh();
  frames(36);
  EXPECT_EQ(ete_active_min, 0.0);
  EXPECT_EQ(ete_active_hours, 0.0);
  EXPECT_EQ(ete_dest_minutes, 0.0);
  expect_globals_finite();
}

TEST_F(FmsFlight, TopOfClimbSetsTheMachHoldOrTheCruiseSpeedNeverZero) {
  seconds(2);
  activate({{"ORIG", 47.50, -122.31}, {"FAR", 45.0, -122.31}});
  vnav_toggle();
  cruise_alt = 5100;  // 100 ft above: the top of climb is passed at once
  VnavSetMachCruiseSpd = 1;
  CruiseMach = 0.0;  // the aircraft file clears it: no Mach 0 command
  frames(3);
  EXPECT_EQ(toc_reached, 1);
  EXPECT_EQ(count_events(KEY_AP_MACH_SET), 0);
  EXPECT_EQ(count_events(KEY_AP_MACH_HOLD_B), 0);
  auto spd = key_events(KEY_AP_AIRSPEED_SET);
  ASSERT_FALSE(spd.empty());
  EXPECT_EQ(spd.back().param, CruiseTas);
  // With a cruise Mach: airspeed hold off, Mach hold on, the Mach sent twice.
  toc_reached = 0;
  CruiseMach = 0.78;
  frames(4);
  EXPECT_EQ(count_events(KEY_AP_MACH_HOLD_A), 1);
  EXPECT_EQ(count_events(KEY_AP_MACH_HOLD_B), 1);
  auto mach = key_events(KEY_AP_MACH_SET);
  ASSERT_EQ(mach.size(), 2u);
  EXPECT_EQ(mach[0].param, 78);
}
