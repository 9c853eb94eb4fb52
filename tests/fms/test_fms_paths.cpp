// Paths that start from a pilot's action, flown and measured against what the map draws.
#include <functional>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/smiths/smiths_cdu.h"
#include "fms_harness.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/hold_legs.h"
#include "guidance/waypoint_sequencing.h"
#include "navdb/navdb.h"

namespace {

constexpr double kEarthNm = 3437.7467707849396;
constexpr double kD2r = 3.14159265358979323846 / 180.0;

// Signed cross-track (NM) of p from the great circle a -> b, and whether p is past a.
double xtk_from(double alat, double alon, double blat, double blon, double plat, double plon, bool* past = nullptr) {
  double d13 = 0, c13 = 0, d12 = 0, c12 = 0;
  compute_gc_distance_course(alat, alon, plat, plon, d13, c13);
  compute_gc_distance_course(alat, alon, blat, blon, d12, c12);
  if (past) *past = d13 < 0.05 || std::cos((c13 - c12) * kD2r) > 0.0;
  return std::asin(std::sin(d13 / kEarthNm) * std::sin((c13 - c12) * kD2r)) * kEarthNm;
}

// The fix as the one search candidate, as a CDU finds it.
void candidate(const char* ident, double lat, double lon) {
  NavRecord& c = nav_search_list[1];
  std::memset(&c, 0, sizeof c);
  nav_copy_text(c.ident, nav_ident_size, ident);
  nav_copy_text(c.type, nav_type_size, "I");
  c.lat = lat;
  c.lon = lon;
  fix_match_count = 1;
  nav_search_count = 1;
}

const std::vector<Wpt> kRoute = {{"ORIG", 47.60, -122.31}, {"WPA", 47.25, -122.31}, {"WPB", 47.00, -122.31},
                                 {"WPC", 46.70, -122.00}, {"WPD", 46.40, -121.60}};

// The three ways a pilot makes a direct-to, each followed by EXEC where the unit has one.
enum class Dto { SmithsTyped, SmithsPicked, GnsXls };

void make_direct(Dto how, const char* ident, double lat, double lon) {
  switch (how) {
    case Dto::SmithsTyped:  // DIR INTC, the ident typed, L6, EXEC
      candidate(ident, lat, lon);
      copy_active_to_edit();
      ASSERT_EQ(insert_edit_record(fpl_edit_active_record(), 1, 1), 1);
      activate_route();
      break;
    case Dto::SmithsPicked: {  // DIR INTC, the fix's LEGS row, L6 (DIRECT TO), EXEC
      copy_active_to_edit();
      int t = -1;
      for (int i = 1; i <= fpl_edit_last; ++i)
        if (std::strcmp(fpl_edit[i].ident, ident) == 0) t = i;
      ASSERT_GT(t, 0);
      ASSERT_EQ(fpl_edit_direct_to(fpl_edit_active_record(), t), 1);
      activate_route();
      break;
    }
    case Dto::GnsXls: {  // DIRECT-TO, the fix, ENTER: a DIRECT record at the aircraft before it
      static FlightPlanWpt recs[3];
      for (FlightPlanWpt& r : recs) clear_fpl_record(r);
      fpl_set_text(recs[0].ident, "DIRECT");
      recs[0].lat = present_lat;
      recs[0].lon = present_lon;
      fpl_set_text(recs[1].ident, ident);
      recs[1].lat = lat;
      recs[1].lon = lon;
      recs[2] = fpl_active[fpl_active_last];
      set_active_plan(recs, 2, 1);
      gnsxls_fly_active_from_aircraft();
      break;
    }
  }
}

// Each row of a table flown on a freshly loaded module.
class FmsPaths : public FmsFlight {
 protected:
  // A fresh module for each row after the first, in the air at the speed and level given,
  // with a wind from 250 degrees.
  void start_row(bool first, double ias, double alt, double wind_kt) {
    if (!first) {
      TearDown();
      SetUp();
    }
    ac().ias_kt = ac().ap_airspeed_kt = ias;
    ac().altitude_ft = ac().ap_altitude_ft = alt;
    ac().wind_dir = 250.0;
    ac().wind_speed_kt = wind_kt;
    host.aircraft().refresh();
    seconds(3);
  }
};

}  // namespace

// A direct-to is flown on the great circle the map draws from its origin to the fix, until
// the fix, whatever the turn toward it; the shared cross-track reads from that course.
TEST_F(FmsPaths, DirectToIsFlownOnTheDrawnCourseAfterTheTurn) {
  struct Case {
    const char* name;
    Dto how;
    const char* ident;
    double lat, lon;
    double ias, alt;
  };
  const Case cases[] = {
      {"typed, 40 degrees", Dto::SmithsTyped, "DFIX", 47.10, -121.95, 250, 10000},
      {"typed, 100 degrees", Dto::SmithsTyped, "DFIX", 47.55, -121.70, 250, 10000},
      {"typed, 140 degrees, fast", Dto::SmithsTyped, "DFIX", 47.75, -122.05, 280, 20000},
      {"picked route fix", Dto::SmithsPicked, "WPC", 46.70, -122.00, 280, 20000},
      {"GNS-XLS, 140 degrees", Dto::GnsXls, "DUBYA", 47.75, -122.05, 250, 10000},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    start_row(&k == cases, k.ias, k.alt, 0.0);
    activate(kRoute);
    lnav_toggle();
    seconds(20);
    make_direct(k.how, k.ident, k.lat, k.lon);
    ASSERT_EQ(dto_active, 1);
    const double olat = dto_origin_lat, olon = dto_origin_lon;
    double worst = 0.0, worst_shared = 0.0;
    int after = 0;
    bool captured = false;
    while (std::strcmp(fpl_active[fpl_active_index].ident, k.ident) == 0 && lnav_on == 1 && after < 2 * 900) {
      frame();
      if (std::strcmp(fpl_active[fpl_active_index].ident, k.ident) != 0) break;
      bool past = false;
      double x = std::fabs(xtk_from(olat, olon, k.lat, k.lon, ac().lat, ac().lon, &past));
      // After the turn: from the first time on the course past its origin.
      captured = captured || (past && x < 0.1);
      if (!captured) continue;
      ++after;
      EXPECT_EQ(dto_active, 1);
      worst = std::max(worst, x);
      worst_shared = std::max(worst_shared, std::fabs(xtk_nm - x));
    }
    EXPECT_GT(after, 60);  // flown on the course more than half a minute
    EXPECT_LT(worst, 0.3);
    EXPECT_LT(worst_shared, 0.05);  // the cross-track the displays show is from that course
    EXPECT_NE(std::strcmp(fpl_active[fpl_active_index].ident, k.ident), 0);  // the fix passed
  }
}

// Each lap of a hold passes over the fix and stays inside the racetrack the maps draw
// (its leg hold_pattern_leg: the ends 0.3 L past the fix and 0.91 L before it, the
// outbound side 0.5 L off), in a wind, at the holding speed when VNAV sets the speeds.
TEST_F(FmsPaths, HoldLapsPassOverTheFixInsideTheDrawnRacetrack) {
  struct Case {
    const char* name;
    double ias, alt;
    int vnav, turn;
    double inbound_turned;  // degrees from the course the fix is reached on
  };
  const Case cases[] = {{"FL240, VNAV, right", 250, 24000, 1, 1, 0},
                        {"FL240, right", 250, 24000, 0, 1, 0},
                        {"8000 ft, left", 250, 8000, 0, 2, 0},
                        {"FL350, 300 kt", 300, 35000, 0, 1, 0},
                        {"reached against the inbound course, left", 250, 7000, 0, 2, 180},
                        {"reached across the inbound course, right", 250, 7000, 0, 1, 100}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    start_row(&k == cases, k.ias, k.alt, 40.0);
    activate({{"ORIG", 47.80, -122.31}, {"HFIX", 47.25, -122.31}, {"NEXT", 47.00, -122.00}, {"DEST", 44.80, -119.00}});
    ASSERT_EQ(add_hold(1, 0, 1.0), 1);
    hold_list[1].turn = k.turn;
    hold_list[1].inbound_course = std::fmod(hold_list[1].inbound_course + k.inbound_turned, 360.0);
    commit_hold_indexes();
    lnav_toggle();
    if (k.vnav) {  // in cruise, VNAV setting the speeds
      vnav_on = 1;
      cruise_alt = k.alt;
      toc_reached = 1;
    }
    int laps = 0;
    double worst_fix = 0.0, worst_out = 0.0, prev_u = 1e9;
    for (int i = 0; i < 2 * 1500; ++i) {
      frame();
      if (!hold_being_flown()) continue;
      const HoldRecord& h = hold_list[1];
      const double L = hold_pattern_leg;
      double d = 0.0, c = 0.0;
      compute_gc_distance_course(h.lat, h.lon, ac().lat, ac().lon, d, c);
      double a = (c - h.inbound_course - magvar) * kD2r;
      double u = d * std::cos(a), v = (h.turn == 1 ? 1.0 : -1.0) * d * std::sin(a);
      if (prev_u < 0.0 && u >= 0.0 && v < 0.25 * L) {  // abeam the fix inbound
        ++laps;
        worst_fix = std::max(worst_fix, std::fabs(v));
      }
      prev_u = u;
      double du = u > 0.3 * L ? u - 0.3 * L : (u < -0.91 * L ? -0.91 * L - u : 0.0);
      double dv = v < 0.0 ? -v : (v > 0.5 * L ? v - 0.5 * L : 0.0);
      // The laps, from the first pass over the fix: a parallel entry flies the other side.
      if (laps >= 1) worst_out = std::max(worst_out, std::hypot(du, dv));
      // The time to go is to the fix along the racetrack (timed each 18 steps).
      if (fms_frame == 0 && holding_active == 3) {
        EXPECT_NEAR(ete_active_min, hold_dist_to_fix() / ground_speed * 60.0, 0.1);
        EXPECT_GT(ete_active_min, 1.0);
      }
      // The map draws the racetrack LNAV flies.
      if (h.leg_mode == 1) {
        EXPECT_DOUBLE_EQ(h.leg_dist, L);
      }
    }
    EXPECT_GE(laps, 2);
    EXPECT_LT(worst_fix, 0.5);
    EXPECT_LT(worst_out, 1.0);
    if (k.vnav) {
      EXPECT_NEAR(ac().ap_airspeed_kt, BestHoldIas, 0.5);
    }
  }
}

// No fix is passed in the step after the fix before it: on short approach legs flown fast,
// and onto the legs after a hold left on request.
TEST_F(FmsPaths, NoFixIsSkippedOnShortLegsOrAfterAHold) {
  struct Case {
    const char* name;
    std::vector<Wpt> route;
    bool hold;
  };
  // Legs of about 3 NM turning 120 degrees, and a hold whose next leg turns back 150 degrees.
  const Case cases[] = {
      {"3-NM approach legs at 275 kt",
       {{"ORIG", 47.60, -122.31}, {"AP1", 47.25, -122.31, -999, -999, 0, "WPT", "APCH"},
        {"AP2", 47.20, -122.31, -999, -999, 0, "WPT", "APCH"}, {"AP3", 47.17, -122.245, -999, -999, 0, "WPT", "APCH"},
        {"AP4", 47.21, -122.195, -999, -999, 0, "WPT", "APCH"}, {"DEST", 46.90, -121.80, -999, -999, 0, "APT"}},
       false},
      {"hold left onto a leg back",
       {{"ORIG", 47.60, -122.31}, {"HFIX", 47.25, -122.31}, {"NXT1", 47.30, -122.27}, {"NXT2", 47.40, -122.20},
        {"DEST", 47.60, -122.00, -999, -999, 0, "APT"}},
       true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    start_row(&k == cases, 275.0, 5000.0, 0.0);
    activate(k.route);
    if (k.hold) {
      ASSERT_EQ(add_hold(1, 0, 1.0), 1);
      commit_hold_indexes();
    }
    lnav_toggle();
    int index = fpl_active_index, steps_active = 0, laps = 0;
    std::vector<int> steps_on;
    std::vector<double> passed_at;
    for (int i = 0; i < 2 * 1800 && lnav_on == 1; ++i) {
      if (k.hold && holding_active == 4 && ++laps > 2 * 60 && hold_exit_state == 0) hold_exit_state = 2;
      double lat = ac().lat, lon = ac().lon;
      frame();
      ++steps_active;
      if (fpl_active_index != index) {
        steps_on.push_back(steps_active);
        passed_at.push_back(nm(lat, lon, fpl_active[index].lat, fpl_active[index].lon));
        index = fpl_active_index;
        steps_active = 0;
      }
    }
    EXPECT_EQ(fpl_active_index, fpl_active_last);
    ASSERT_EQ(steps_on.size(), static_cast<size_t>(fpl_active_last - 1));
    for (size_t n = 0; n < steps_on.size(); ++n) {
      EXPECT_GT(steps_on[n], 4) << fpl_active[n + 1].ident;     // flown toward for more than two seconds
      EXPECT_LT(passed_at[n], 3.5) << fpl_active[n + 1].ident;  // and passed near
    }
  }
}

// LNAV switched off by the FMS at the end of the route or at a discontinuity is said on
// the units (the Smiths CDU's message line, the MCU's LNAV line); a pilot's own
// disengagement is not.
TEST_F(FmsPaths, LnavSwitchedOffByTheFmsIsSaid) {
  struct Case {
    const char* name;
    std::vector<Wpt> route;
    bool pilot_off;
    int said;
  };
  const Case cases[] = {
      {"end of the route", {{"ORIG", 47.50, -122.31}, {"WPA", 47.35, -122.31}, {"DEST", 47.30, -122.31}}, false, 1},
      {"discontinuity", {{"ORIG", 47.50, -122.31}, {"WPA", 47.35, -122.31}, {"DISCO", 0, 0}, {"WPB", 46.5, -122}},
       false, 1},
      {"pilot's disengagement", {{"ORIG", 47.50, -122.31}, {"WPA", 47.35, -122.31}, {"DEST", 46.5, -122.0}}, true, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    start_row(&k == cases, 250.0, 5000.0, 0.0);
    smiths_cdu_install();  // as the CDU gauge's install does
    smiths_scratchpad_msg.clear();
    activate(k.route);
    lnav_toggle();
    if (k.pilot_off) {
      seconds(10);
      lnav_toggle();
    }
    ASSERT_TRUE(fly_until([] { return lnav_on == 0; }, 600));
    seconds(2);
    EXPECT_EQ(lnav_off_by_fms, k.said);
    EXPECT_EQ(smiths_scratchpad_msg, k.said ? "LNAV OFF" : "");
  }
}
