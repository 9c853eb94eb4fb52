// ECON CLB, ECON CRZ, ECON PATH DES and DES FORECASTS: speed targets, cruise altitude
// and restrictions taken and refused, ERASE back to the executed values, the climb
// target and the descent rows in each phase of the flight.
#include "cdu/smiths/page_layout.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "guidance/fms_state.h"
#include "guidance/lnav_vnav_commands.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "module/sim_vars.h"
#include "page_draw.h"

namespace {

class EconPagesTest : public PageDrawTest {
 protected:
  void open(int32_t page) {
    smiths_page = page;
    clear_pad();
    frames(1);
  }
  // The company route in flight: `speed` kt over the ground, `nm` NM south of CARRO
  // (record 2, 10000 ft), CARRO the VNAV record and the top of climb far ahead.
  void before_carro(double speed, double nm) {
    company_route();
    ASSERT_STREQ(fpl_active[2].ident, "CARRO");
    fpl_active_index = 2;
    vnav_wpt_index = 2;
    present_lat = fpl_active[2].lat - nm / 60.0;
    present_lon = fpl_active[2].lon;
    ground_speed = speed;
    toc_lat = fpl_active[2].lat + 3.0;
    toc_lon = fpl_active[2].lon;
    toc_reached = tod_reached = 0;
    DispETALocalTime = 0;
  }
};

struct SpeedCase {
  const char* entry;
  bool taken;
  int32_t ias;
  double mach;
  const char* shown;
};

}  // namespace

TEST_F(EconPagesTest, ClimbTargetSpeedsTakenAndRefused) {
  start();
  ClimbIas = 230;
  ClimbMach = 0.70;
  open(SMITHS_PAGE_ECON_CLB);
  EXPECT_EQ(title(), "ECON  CLB");
  EXPECT_EQ(at(5, 66), "230 / 0.70");
  const SpeedCase cases[] = {
      {"250", true, 250, 0.70, "250 / 0.70"},     {"260/.78", true, 260, 0.78, "260 / 0.78"},
      {"/.80", true, 260, 0.80, "260 / 0.80"},    {"40", false, 260, 0.80, "260 / 0.80"},
      {"600", false, 260, 0.80, "260 / 0.80"},    {"/5", false, 260, 0.80, "260 / 0.80"},
      {"500.5", false, 260, 0.80, "260 / 0.80"},  {"ABC", false, 260, 0.80, "260 / 0.80"},
      {"270/4.5", false, 260, 0.80, "260 / 0.80"},
      // Within the aircraft's limit (the sample aircraft file's highest, 320 kt), the Mach
      // part read whole, .10 to .99.
      {"500", false, 260, 0.80, "260 / 0.80"},    {"321", false, 260, 0.80, "260 / 0.80"},
      {"250/-.5", false, 260, 0.80, "260 / 0.80"}, {"250/ABC", false, 260, 0.80, "260 / 0.80"},
      {"/", false, 260, 0.80, "260 / 0.80"},      {"250/", false, 260, 0.80, "260 / 0.80"},
      {"/4", false, 260, 0.80, "260 / 0.80"},     {"250 /.7 8", false, 260, 0.80, "260 / 0.80"},
      {"250/.7/.8", false, 260, 0.80, "260 / 0.80"}, {"/.05", false, 260, 0.80, "260 / 0.80"},
      // Within the aircraft's envelope: Mach .82 at most, 210 kt (its least climb speed) at least.
      {"320/.99", false, 260, 0.80, "260 / 0.80"}, {"/.83", false, 260, 0.80, "260 / 0.80"},
      {"209", false, 260, 0.80, "260 / 0.80"},     {"50", false, 260, 0.80, "260 / 0.80"},
      {"210", true, 210, 0.80, "210 / 0.80"},      {"320/.82", true, 320, 0.82, "320 / 0.82"},
  };
  for (const SpeedCase& c : cases) {
    put(c.entry, "L2");
    EXPECT_EQ(ClimbIas, c.ias) << c.entry;
    EXPECT_DOUBLE_EQ(ClimbMach, c.mach) << c.entry;
    EXPECT_EQ(at(5, 66), c.shown) << c.entry;
    EXPECT_EQ(bottom(), c.taken ? "" : "INVALID ENTRY") << c.entry;
    EXPECT_EQ(smiths_scratchpad, c.taken ? "" : c.entry) << c.entry;
  }
  put("", "L2");  // empty: nothing
  EXPECT_EQ(bottom(), "");
}

TEST_F(EconPagesTest, CruiseAltitudeAndClimbRestriction) {
  start();
  TransAlt = 18000;
  cruise_alt = 0;
  open(SMITHS_PAGE_ECON_CRZ);
  EXPECT_EQ(title(), "ECON  CRZ");
  EXPECT_EQ(boxes(), 5);
  const struct {
    const char* entry;
    bool taken;
    int32_t alt;
  } alts[] = {{"FL350", true, 35000}, {"350", true, 35000},   {"99999", false, 35000},
              {"0", false, 35000},    {"370.9", false, 35000}, {"0X1F", false, 35000},
              {"1E5", false, 35000},  {"FL420", false, 35000}, {"FL410", true, 41000},
              {"12000", true, 12000}, {"", true, 12000}};
  for (const auto& c : alts) {
    put(c.entry, "L1");
    EXPECT_EQ(cruise_alt, c.alt) << c.entry;
    EXPECT_EQ(bottom(), c.taken ? "" : "INVALID ENTRY") << c.entry;
  }
  EXPECT_EQ(at(5, 33), "12000");
  put("FL310", "L1");
  EXPECT_EQ(at(5, 33), "FL310");

  open(SMITHS_PAGE_ECON_CLB);
  ClbSpdRest = 0;
  ClbAltRest = 0;
  put("250/10000", "L3");
  EXPECT_EQ(at(5, 99), "250 / 10000");
  for (const char* refused : {"25/10000", "250/900", "250", "2500/10000", "250/250000", "321/10000", "250/1E4",
                              "250/10000/5", "250/10 000", "250/FL100", "250/99999"}) {
    put(refused, "L3");
    EXPECT_EQ(bottom(), "INVALID ENTRY") << refused;
    EXPECT_EQ(smiths_scratchpad, refused);
    EXPECT_DOUBLE_EQ(ClbSpdRest, 250);
    EXPECT_DOUBLE_EQ(ClbAltRest, 10000);
  }
}

// The slots keep the values from before the first change since EXEC: a second entry and
// a refused one leave them, ERASE returns to them, and after EXEC the new values stay.
TEST_F(EconPagesTest, EraseReturnsTheTargetsToTheExecutedValues) {
  start();
  company_route();
  ClimbIas = 282;
  ClimbMach = 0.78;
  CruiseTas = 420;
  open(SMITHS_PAGE_ECON_CLB);
  const int32_t executed_alt = cruise_alt;
  EXPECT_EQ(at(0, 198), "< MAX   ANGLE");
  put("280", "L2");
  EXPECT_EQ(fpl_changed_state, 4);
  EXPECT_EQ(at(0, 198), "< ERASE");
  EXPECT_TRUE(light_on(SMITHS_ELEMENT_EXEC_LIGHT));
  put("290/.74", "L2");
  put("40", "L2");  // refused: the slots stay
  EXPECT_EQ(bottom(), "INVALID ENTRY");
  open(SMITHS_PAGE_ECON_CRZ);
  put("300", "L2");
  put("FL330", "L1");
  EXPECT_EQ(at(0, 198), "< ERASE");
  put("", "L6");
  EXPECT_EQ(fpl_changed_state, 3);
  EXPECT_EQ(ClimbIas, 282);
  EXPECT_DOUBLE_EQ(ClimbMach, 0.78);
  EXPECT_EQ(CruiseTas, 420);
  EXPECT_EQ(cruise_alt, executed_alt);
  EXPECT_EQ(at(0, 198), "< LRC");

  put("310", "L2");
  press("EXEC");
  put("320", "L2");
  put("", "L6");
  EXPECT_EQ(CruiseTas, 310);
}

TEST_F(EconPagesTest, PauseAtTopOfDescentOnlyWhileArmed) {
  start();
  ArmPauseAtTod = 0;
  PauseAtTod = 0;
  open(SMITHS_PAGE_ECON_CRZ);
  press("R6");
  EXPECT_EQ(PauseAtTod, 0);
  EXPECT_FALSE(has("Pause at TOD (OFF)  >"));
  ArmPauseAtTod = 1;
  pause_at_tod_done = 1;
  frames(1);
  EXPECT_TRUE(has("Pause at TOD (OFF)  >"));
  press("R6");
  EXPECT_EQ(PauseAtTod, 1);
  EXPECT_EQ(pause_at_tod_done, 0);
  EXPECT_TRUE(has("Pause at TOD (ON) >"));
  press("R6");
  EXPECT_EQ(PauseAtTod, 0);
  ArmPauseAtTod = 0;
}

// The climb target is the constraint waypoint unless the top of climb is nearer; its time
// is the zulu time plus the whole minutes to go, carried into the hour and the day.
TEST_F(EconPagesTest, ClimbTargetTimeAndDistance) {
  start();
  before_carro(120, 2.1);
  smiths_page = SMITHS_PAGE_ECON_CLB;
  const struct {
    double hour, minute;
    const char* time;
  } times[] = {{15, 59, "1600.6Z/2 NM"}, {23, 59, "0000.6Z/2 NM"}, {9, 30, "0931.6Z/2 NM"}};
  for (const auto& t : times) {
    zulu_hour = t.hour;
    zulu_minute = t.minute;
    draw_now();
    EXPECT_EQ(at(200, 22), "A T   CARRO");
    EXPECT_EQ(at(200, 55), "T O    CARRO");
    EXPECT_TRUE(has(t.time)) << t.time;
  }
  EXPECT_TRUE(has("10000.00"));
  // A VNAV index that is no record of the active plan: the top of climb.
  vnav_wpt_index = fpl_active_last + 5;
  draw_now();
  EXPECT_EQ(at(200, 55), "T O   T / C");
  EXPECT_FALSE(has("T O    CARRO"));
  vnav_wpt_index = 2;
  toc_lat = present_lat + 1.0 / 60.0;
  toc_lon = present_lon;
  draw_now();
  EXPECT_EQ(at(200, 55), "T O   T / C");
  EXPECT_TRUE(has("0930.6Z / 1.0"));
  ground_speed = 50;  // slow: no block
  draw_now();
  EXPECT_EQ(at(200, 55), "");
}

// Near the destination the required vertical speed grows past four digits: the FPA, V/B and
// V/S row moves left to stay on the screen, and stays at 130 while it fits.
TEST_F(EconPagesTest, PathAnglesStayOnTheScreen) {
  start();
  before_carro(240, 20);
  smiths_page = SMITHS_PAGE_ECON_DES;
  toc_reached = tod_reached = 1;
  vertical_speed = 0;
  struct Case {
    double vs_required;
    bool at_130;
  };
  for (const Case& c : {Case{-1800, true}, Case{98268, false}, Case{-987654, false}}) {
    vnav_vs_required = c.vs_required;
    draw_now();
    SCOPED_TRACE(c.vs_required);
    EXPECT_EQ(!at(130, 133).empty(), c.at_130);
    for (const GfxTextItem& t : items()) EXPECT_LE(t.ink.x + t.ink.width, screen()->image_width - 2.5f) << t.text;
  }
}

TEST_F(EconPagesTest, PathDescentRowsByPhase) {
  start();
  before_carro(240, 20);
  smiths_page = SMITHS_PAGE_ECON_DES;
  zulu_hour = 10;
  zulu_minute = 0;
  tod_route_dist = 40;
  vdev_gate_dist_1 = 30;
  vdev_gate_dist_2 = 20;
  vertical_speed = -1500;
  vnav_vs_required = -1800;
  const struct {
    int32_t toc, tod;
    const char* label;
    const char* row;
  } phases[] = {{0, 0, "", ""},
                {1, 0, "T O   T / D", "1010.6Z/40 NM"},
                {1, 1, "T O   CARRO", "1005.6Z/20 NM"}};
  for (const auto& ph : phases) {
    toc_reached = ph.toc;
    tod_reached = ph.tod;
    draw_now();
    EXPECT_EQ(title(), "ECON  PATH  DES");
    EXPECT_EQ(at(200, 55) + at(190, 55), ph.label) << ph.toc << ph.tod;
    EXPECT_EQ(ph.row[0] ? has(ph.row) : true, true) << ph.row;
  }
  EXPECT_EQ(at(0, 33), "10000");
  EXPECT_EQ(at(190, 22), "A T   CARRO");
  EXPECT_EQ(at(130, 133), "3.8   4.5     -1800");
  const struct {
    double alt, path, gate1, gate2;
    const char* shown;
  } devs[] = {{11234, 10000, 30, 20, " 1200 HI"}, {9655, 10000, 30, 20, "  340 LO"},
              {10007, 10000, 30, 20, "    5 HI"}, {11000, 10000, 30, 20, " 1000 HI"},
              {10250, 10000, 30, 20, "  250 HI"}, {11234, 10000, 20, 20, "----  --"}};
  for (const auto& d : devs) {
    indicated_altitude = d.alt;
    vnav_path_altitude = d.path;
    vdev_gate_dist_1 = d.gate1;
    vdev_gate_dist_2 = d.gate2;
    draw_now();
    EXPECT_EQ(at(5, 133), d.shown) << d.alt;
  }
  vertical_speed = 250;  // climbing: no angles
  draw_now();
  EXPECT_EQ(at(130, 133), "");
}

TEST_F(EconPagesTest, DescentEntriesPauseAndTheFixedForecastForm) {
  start();
  company_route();
  DescentIas = 275;
  DescentMach = 0.0;
  ArmPauseAtDistFromDest = 0;
  PauseAtDistFromDest = 0;
  open(SMITHS_PAGE_ECON_DES);
  put("/.74", "L2");
  EXPECT_DOUBLE_EQ(DescentMach, 0.74);
  EXPECT_EQ(at(5, 66), "275 / 0.74");
  put("240/10000", "L3");
  EXPECT_DOUBLE_EQ(DescSpdRest, 240);
  EXPECT_EQ(at(0, 198), "< ERASE");
  press("L5");  // not armed: nothing
  EXPECT_EQ(PauseAtDistFromDest, 0);
  ArmPauseAtDistFromDest = 1;
  press("L5");
  EXPECT_EQ(PauseAtDistFromDest, 1);
  EXPECT_EQ(at(0, 165), "PAUSE 20 NM From (KPDX)(ON)");
  press("L6");
  EXPECT_DOUBLE_EQ(DescentMach, 0.0);
  press("R6");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_PROGRESS);
  EXPECT_EQ(smiths_progress_page_no, 2);
  ArmPauseAtDistFromDest = 0;
  PauseAtDistFromDest = 0;

  smiths_page = SMITHS_PAGE_DES_FORECASTS;
  put("123", "L1");  // no keys, no entry line
  EXPECT_EQ(title(), "DES  FORECASTS");
  EXPECT_EQ(smiths_page, SMITHS_PAGE_DES_FORECASTS);
  EXPECT_EQ(bottom(), "");
  EXPECT_EQ(line(133), "- - - - -                      - - - \xC2\xB0 / - - -");
}

TEST_F(EconPagesTest, TargetSpeedWithoutAMachShowsDashes) {
  start();
  ClimbIas = 252;
  CruiseTas = 252;
  DescentIas = 252;
  // A Mach of 0 is no Mach target (the aircraft file's load clears the cruise and descent
  // Machs): its half of the pair reads as dashes, a set Mach as its value.
  const struct {
    int32_t page;
    double* mach;
  } pages[] = {{SMITHS_PAGE_ECON_CLB, &ClimbMach}, {SMITHS_PAGE_ECON_CRZ, &CruiseMach},
               {SMITHS_PAGE_ECON_DES, &DescentMach}};
  for (const auto& pg : pages) {
    for (const auto& [mach, shown] : {std::pair{0.0, "252 / - - - -"}, std::pair{0.78, "252 / 0.78"}}) {
      *pg.mach = mach;
      open(pg.page);
      EXPECT_EQ(at(5, 66), shown) << pg.page << " Mach " << mach;
    }
  }
}
