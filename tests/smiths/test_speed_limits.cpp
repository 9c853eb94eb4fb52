// The aircraft's speed limits on the pages and in the air: the highest speeds a pilot can
// enter (PERF LIMITS, ECON CLB, cost index 200) and VNAV's commands stay within the
// aircraft file's limit and the host's maximum operating speed and Mach in the climb.
#include <algorithm>

#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"
#include "guidance/aircraft_file.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "host/aircraft_model.h"
#include "tests/common/sample_flight.h"

namespace {

class SpeedLimits : public CduTest {
 protected:
  // Sets the scratchpad as typed and presses `key`; answers the message line.
  std::string put(const std::string& text, const std::string& key) {
    smiths_scratchpad = text;
    smiths_scratchpad_msg.clear();
    press(key);
    return smiths_scratchpad_msg;
  }
  void perf_page(int sub_page) {
    smiths_page = SMITHS_PAGE_PERF_INIT;
    smiths_perf_page_no = sub_page;
    frames(1);
  }
};

TEST_F(SpeedLimits, TheHighestSpeedsAPilotCanEnterStayWithinTheAircraftsLimitsInTheClimb) {
  host_.set_frame_rate(2);
  simhost::AircraftState& s = host_.aircraft().state();
  sample_flight::set_airborne_on_autopilot(s, 47.40, -122.31, 433.0, 3000.0, 220.0, 180.0);
  s.ap_altitude_ft = 3000.0;
  start();
  execute_company_route();
  ASSERT_EQ(fpl_changed_state, 3);
  ASSERT_DOUBLE_EQ(aircraft_file_max_ias, 320.0);  // the sample aircraft file's highest limit

  // Above the limit: refused on every page, nothing stored.
  perf_page(2);
  EXPECT_EQ(put("999/.990", "R1"), "INVALID ENTRY");
  EXPECT_EQ(put("321/.820", "R1"), "INVALID ENTRY");
  EXPECT_EQ(put("320/.820", "R1"), "");
  press("CLB");
  EXPECT_EQ(put("500", "L2"), "INVALID ENTRY");
  EXPECT_EQ(put("500/.99", "L2"), "INVALID ENTRY");
  EXPECT_EQ(put("320", "L2"), "");
  EXPECT_EQ(ClimbIas, 320);
  perf_page(1);
  EXPECT_EQ(put("200", "L5"), "");
  EXPECT_EQ(put("FL250", "R1"), "");
  press("EXEC");
  ASSERT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(ClimbIas, 320);

  press("CLB");
  lnav_toggle();
  vnav_toggle();
  ASSERT_EQ(vnav_on, 1);
  double highest_ias = 0, highest_mach = 0, highest_target = 0;
  // The route is short: the climb ends at the top of descent, near FL190.
  double top = 0;
  for (int i = 0; i < 1800 * host_.frame_rate() && toc_reached == 0; ++i) {
    frames(1);
    const double vmax = std::min(s.vmo_kt, simhost::ias_for_mach(s.mmo, s.altitude_ft));
    top = std::max(top, s.altitude_ft);
    highest_target = std::max(highest_target, s.ap_airspeed_kt);
    highest_ias = std::max(highest_ias, s.ias_kt);
    highest_mach = std::max(highest_mach, host_.aircraft().mach());
    ASSERT_LE(s.ias_kt, vmax + 0.5) << "at " << s.altitude_ft << " ft";
    ASSERT_LE(s.ap_airspeed_kt, 320.0) << "at " << s.altitude_ft << " ft";
  }
  EXPECT_EQ(toc_reached, 1);
  EXPECT_GT(top, 15000.0);
  // The climb flies the highest speed taken, no more.
  EXPECT_NEAR(highest_target, 320.0, 0.5);
  EXPECT_GT(highest_ias, 300.0);
  EXPECT_LE(highest_mach, s.mmo);
}

// The autopilot is never given more than the aircraft's maximum: a cost-index target
// placed above the file's limit (a limit raised past it before the entry readers) is
// sent as the limit.
TEST_F(SpeedLimits, VnavNeverCommandsBeyondTheLimit) {
  host_.set_frame_rate(2);
  simhost::AircraftState& s = host_.aircraft().state();
  sample_flight::set_airborne_on_autopilot(s, 47.40, -122.31, 433.0, 11000.0, 250.0, 180.0);
  start();
  execute_company_route();
  ClimbIas = 468;  // as cost index 200 over a limit of 999 kt made it
  ClbSpdRest = 0;
  lnav_toggle();
  vnav_toggle();
  ASSERT_EQ(vnav_on, 1);
  double highest_target = 0;
  for (int i = 0; i < 300 * host_.frame_rate(); ++i) {
    frames(1);
    highest_target = std::max(highest_target, s.ap_airspeed_kt);
  }
  EXPECT_GT(highest_target, 250.0);
  EXPECT_LE(highest_target, 320.0);
}

}  // namespace
