// Route edits on the mission CDU flown as a pilot flies them: from the gate on KSEA 16L
// at sim rate 1 with LNAV and VNAV engaged in the climb, the edit made in flight, then
// what is active and where the aircraft goes after EXEC.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "c17/c17_cdu.h"
#include "cdu/smiths/smiths_cdu.h"
#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/plan_files.h"
#include "geo/great_circle.h"
#include "guidance/hold_legs.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/waypoint_sequencing.h"
#include "host/scenario.h"
#include "module/sim_vars.h"
#include "host/track_log.h"
#include "platform/gfx/gfx_recording.h"
#include "tests/c17/c17_cdu_fixture.h"
#include "tests/c17/c17_cdu_harness.h"

namespace {

// At the gate on KSEA 16L with the host's take-off preset, four frames a second.
constexpr const char* kGate =
    "set frame_rate 4\nset date 2007-160\nset zulu_time 15:30\nset lat 47.463767\nset lon -122.307869\n"
    "set ground_elevation 433\nset altitude 433\nset on_ground 1\nset heading 180\nset ias 0\nset fuel 5000\n"
    "set ap_heading 163\nset ap_altitude 5000\nset ap_vs 2000\nset ap_airspeed 170\nset ap_heading_hold 1\n"
    "set ap_altitude_hold 1\nset ap_airspeed_hold 1\nset flaps 5\nrun 2s\n";
// The take-off with the flight director; autopilot, LNAV and VNAV engaged at about 1,300 ft.
constexpr const char* kTakeOff =
    "set flight_director 1\nrun 45s\nset ap_master 1\nclick LNAV 0\nclick VNAV 0\nset flaps 0\nrun 1m\n";

double nm(double lat1, double lon1, double lat2, double lon2) {
  const double mid = (lat1 + lat2) / 2.0 * M_PI / 180.0;
  return std::hypot((lat1 - lat2) * 60.0, (lon1 - lon2) * 60.0 * std::cos(mid));
}

class C17RouteEdits : public C17CduMfdTest {
 protected:
  // The distance a gauge's page prints right-aligned to x 122 on line y; -1 when none.
  double distance_at(const std::string& gauge, double y) const {
    const simhost::PlacedGauge* g = host_.find_gauge(gauge);
    const GfxRecording* r = g && g->drawn_image() ? gfx_recording_of(g->drawn_image()) : nullptr;
    if (!r) return -1.0;
    for (const GfxTextItem& t : r->text_items())
      if (std::fabs(t.world.y - y) < 0.01 && std::fabs(t.world.x + 10.0 * double(t.text.size()) - 122.0) < 0.01)
        return std::atof(t.text.c_str());
    return -1.0;
  }
  void SetUp() override {
    C17CduMfdTest::SetUp();
    host_.set_frame_listener([this] { track_.sample(host_); });
  }
  void TearDown() override {
    host_.set_frame_listener(nullptr);
    C17CduMfdTest::TearDown();
  }
  void script(const std::string& text) {
    std::istringstream in(text);
    simhost::Scenario sc;
    simhost::ScenarioResult result;
    std::string error;
    ASSERT_TRUE(simhost::parse_scenario(in, "flight", &sc, &error) && simhost::check_scenario(sc, host_, &error) &&
                simhost::run_scenario(sc, host_, folder_, &result, &error))
        << error;
  }
  // From the gate with the sample plan active, LNAV and VNAV engaged after the take-off.
  void take_off() {
    script(kGate);
    load_sample_plan();
    script(kTakeOff);
    ASSERT_EQ(lnav_on_now(), 1);
  }
  static int lnav_on_now();
  // Flies until `ident` is the active fix, at most `limit_s` seconds.
  bool fly_until_active(const char* ident, double limit_s) {
    const int n = int(limit_s * host_.frame_rate());
    for (int i = 0; i < n; ++i) {
      frames(1);
      if (fpl_active_index >= 1 && fpl_active_index <= fpl_active_last &&
          std::strcmp(fpl_active[fpl_active_index].ident, ident) == 0)
        return true;
    }
    return false;
  }
  const FlightPlanWpt& active_fix() const { return fpl_active[fpl_active_index]; }
  std::string active_ident() const {
    return fpl_active_index >= 0 && fpl_active_index <= fpl_active_last ? active_fix().ident : "";
  }
  // The distance to (lat, lon) now, and after `seconds` more of flight.
  double closing_nm(double lat, double lon, double seconds) {
    const double before = nm(present(), lat, lon);
    frames(int(seconds * host_.frame_rate()));
    return before - nm(present(), lat, lon);
  }
  double nm(const simhost::AircraftState& s, double lat, double lon) const {
    return ::nm(s.lat, s.lon, lat, lon);
  }
  const simhost::AircraftState& present() { return host_.aircraft().state(); }
  // The first edit record the FLT PLAN page lists.
  std::string first_listed() {
    press("LEGS");
    frames(1);
    std::string s = at(0, 33);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }

  simhost::TrackLog track_{2.0, true};
};

int C17RouteEdits::lnav_on_now() { return lnav_on; }

// The Smiths CDU beside the unit: the two share the route.
class C17RouteEditsBothUnits : public C17RouteEdits {
 protected:
  void add_gauges(simhost::PanelWindow& main) override {
    C17RouteEdits::add_gauges(main);
    // Drawn before the mission CDU's harness, which ends the frame's line keys.
    auto harness = std::find_if(main.gauges.begin(), main.gauges.end(),
                                [](const simhost::Placement& p) { return p.gauge == "C17_CDU_HARNESS"; });
    main.gauges.insert(harness, simhost::Placement{"vek1", "SMITHS_FMS", 0, 0, 415, 640, "Airlifter"});
  }
};

// A plan loaded again in flight goes on from the fix being flown, as the MOD page
// showed it, on every way of loading one; a plan without that fix goes on from the first
// of its fixes ahead.
TEST_F(C17RouteEdits, APlanLoadedInFlightGoesOnFromTheFixAhead) {
  struct Case {
    const char* how;
    const char* plan;
    const char* active;  // after EXEC
  };
  const Case cases[] = {{"RTE L2", "KSEAKPDX", "DUBYA"}, {"PLANS", "KSEAKPDX", "DUBYA"}, {"RTE L2", "KSEABTG", "BTG"}};
  take_off();
  {
    std::ofstream plan(folder_ + "/vek/flightplans/KSEABTG.RTE");
    plan << "CruiseAlt=17000\n[FlightPlan]\n"
            "KSEA APT 47.449000 -122.309306 433 -999 -1.0 0 0 - - - -\n"
            "ALKIS INT 47.576000 -122.421000 4000 250 -1.0 0 1 ALKI1 SID - -\n"
            "CARRO INT 47.150000 -122.650000 10000 -999 -1.0 0 1 ALKI1 SID - -\n"
            "OLM VOR 46.971528 -122.901900 -999 -999 -1.0 0 0 ALKI1 SID - 113.40\n"
            "BTG VOR 45.814900 -122.530500 -999 -999 -1.0 0 0 V23 - - 116.60\n"
            "KPDX APT 45.588722 -122.597500 31 -999 -1.0 0 0 - - - -\n";
  }
  list_plan_files();  // a plan written in flight, listed after the sample
  ASSERT_TRUE(fly_until_active("DUBYA", 1200)) << active_ident();
  frames(20);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.how) + " " + c.plan);
    const double before = closing_nm(active_fix().lat, active_fix().lon, 5);
    ASSERT_GT(before, 0.0);
    if (std::string(c.how) == "RTE L2") {
      press("RTE");
      enter(c.plan, "L2");
      ASSERT_EQ(fpl_changed_state, 4) << c17_cdu_scratchpad_msg;
      EXPECT_EQ(first_listed(), c.active) << "the MOD page";
      picture(std::string("route_edits_reloaded_") + c.plan);
      smiths_fms_key(69);
    } else {
      press("PLANS");
      int n = 1;
      while (n <= stored_plan_count && std::string(stored_plans[n].name).rfind(c.plan, 0) != 0) ++n;
      ASSERT_LE(n, 6);
      press("L" + std::to_string(n));
    }
    frames(1);
    ASSERT_EQ(fpl_changed_state, 3);
    EXPECT_EQ(active_ident(), c.active);
    const FlightPlanWpt fix = active_fix();
    EXPECT_GT(closing_nm(fix.lat, fix.lon, 10), 0.3) << "flown on towards " << fix.ident;
    EXPECT_EQ(active_ident(), c.active);
  }
}

// DIR INTC on FLT PLAN in the climb: EXEC makes active the fix the MOD page started with
// and the aircraft flies to it; once that fix is passed, a later change starts at the
// fix then flown.
TEST_F(C17RouteEdits, AnInterceptOrDirectToIsFlownAsTheModPageShowedIt) {
  struct Case {
    const char* line;    // DIR INTC: the line picked, or "" for the fix typed on L6
    const char* course;  // typed on R6, "" for the leg's own
    const char* fix;     // the typed fix
    bool fly_past;       // flown past the fix, then a fix typed on line 2
  };
  const Case cases[] = {{"L2", "", "", true}, {"L2", "150", "", false}, {"", "", "KPDX", false}};
  take_off();
  ASSERT_TRUE(fly_until_active("CARRO", 600)) << active_ident();
  frames(60 * host_.frame_rate());  // established on the leg to CARRO
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line) + " " + c.course + c.fix);
    press("LEGS");
    press("DIR INTC");
    std::string target = c.fix;
    if (*c.line) {
      c17_cdu_scratchpad.clear();
      press(c.line);
      target = c17_cdu_scratchpad;
      press("L6");
      ASSERT_EQ(intc_crs_pending, 1);
      if (*c.course) enter(c.course, "R6");
    } else {
      enter(c.fix, "L6");
    }
    ASSERT_EQ(fpl_changed_state, 4);
    frames(1);
    EXPECT_EQ(at(0, 33).substr(0, target.size()), target) << "the MOD page's first line";
    if (*c.course) {
      EXPECT_EQ(at(20, 22), std::string(c.course) + "\xC2\xB0");
    }
    smiths_fms_key(69);
    frames(1);
    ASSERT_EQ(fpl_changed_state, 3);
    EXPECT_EQ(active_ident(), target);
    const FlightPlanWpt fix = active_fix();
    EXPECT_GT(closing_nm(fix.lat, fix.lon, 20), 0.5) << "flown towards " << fix.ident;
    if (!c.fly_past) continue;
    const std::string next = fpl_active[fpl_active_index + 1].ident;
    ASSERT_TRUE(fly_until_active(next.c_str(), 600)) << active_ident();
    press("LEGS");
    enter("HQM", "L2");
    ASSERT_EQ(fpl_changed_state, 4);
    frames(1);
    EXPECT_EQ(at(0, 33).substr(0, next.size()), next) << "the MOD page starts at the fix flown";
    EXPECT_NEAR(std::atof(at(100, 22).c_str()), nm(present(), active_fix().lat, active_fix().lon), 0.75)
        << "the MOD page's first leg starts at the aircraft";
    EXPECT_EQ(at(0, 66), "HQM  ");
    press("L6");  // ERASE
    ASSERT_EQ(fpl_changed_state, 3);
  }
}

// DIR INTC with a typed intercept course, in the climb and the cruise, on either unit:
// after EXEC the aircraft turns to join the course at 45 degrees at the most, joins it
// well before the fix and flies it to the fix, as the MOD page's leg showed.
TEST_F(C17RouteEditsBothUnits, ATypedInterceptCourseIsJoinedAndFlownToItsFix) {
  struct Case {
    bool smiths;         // the Smiths CDU's keys, else the mission CDU's
    const char* flown;   // the fix active when the intercept is made
    const char* line;    // the line of the intercepted fix
    const char* fix;
    const char* course;  // typed on R6, degrees magnetic
  };
  const Case cases[] = {{false, "CARRO", "L3", "DUBYA", "150"}, {true, "DUBYA", "L2", "BTG", "160"}};
  take_off();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.smiths ? "Smiths " : "mission ") + c.fix + " " + c.course);
    ASSERT_TRUE(fly_until_active(c.flown, 900)) << active_ident();
    frames(60 * host_.frame_rate());  // established on the leg
    if (c.smiths) {
      auto key = [this](int k) {
        smiths_fms_key(k);
        frames(2);
      };
      key(7);   // DIR INTC
      smiths_scratchpad.clear();
      key(c.line[1] == '2' ? 16 : 18);  // the fix's line
      ASSERT_EQ(smiths_scratchpad, c.fix);
      key(24);  // L6
      for (const char* d = c.course; *d; ++d) key(*d == '0' ? 63 : 52 + (*d - '1'));  // the course's digits
      key(25);                                                                      // R6
    } else {
      press("LEGS");
      press("DIR INTC");
      c17_cdu_scratchpad.clear();
      press(c.line);
      ASSERT_EQ(c17_cdu_scratchpad, c.fix);
      press("L6");
      enter(c.course, "R6");
    }
    ASSERT_EQ(fpl_changed_state, 4);
    smiths_fms_key(69);  // EXEC
    frames(1);
    ASSERT_EQ(fpl_changed_state, 3);
    ASSERT_EQ(active_ident(), c.fix);
    const FlightPlanWpt fix = active_fix();
    const double course_true = std::atof(c.course) + magvar;
    // Cross-track distance (NM, right of the course positive) and distance to go along it.
    auto off_course = [&](double& to_go) {
      const simhost::AircraftState& s = present();
      const double north = (s.lat - fix.lat) * 60.0, east = (s.lon - fix.lon) * 60.0 * std::cos(fix.lat * M_PI / 180.0);
      const double a = course_true * M_PI / 180.0;
      to_go = -(east * std::sin(a) + north * std::cos(a));
      return east * std::cos(a) - north * std::sin(a);
    };
    double to_go = 0.0;
    const double xtk0 = off_course(to_go);
    ASSERT_GT(std::fabs(xtk0), 6.0) << "the aircraft starts off the course";
    frames(40 * host_.frame_rate());
    const double joining = std::fmod(course_true + (xtk0 < 0 ? 45.0 : -45.0) + 720.0, 360.0);
    EXPECT_NEAR(std::remainder(present().heading_true - joining, 360.0), 0.0, 6.0) << "the heading flown to join";
    double xtk = off_course(to_go);
    for (int n = 0; std::fabs(xtk) > 0.3 && to_go > 0.0 && n < 900 * host_.frame_rate(); ++n) {
      frames(1);
      xtk = off_course(to_go);
    }
    EXPECT_LE(std::fabs(xtk), 0.3);
    EXPECT_GT(to_go, 5.0) << "joined before the fix";
    EXPECT_EQ(active_ident(), c.fix);
    frames(45 * host_.frame_rate());
    EXPECT_LT(std::fabs(off_course(to_go)), 0.5) << "kept on the course";
    EXPECT_NEAR(std::remainder(present().heading_true - course_true, 360.0), 0.0, 4.0) << "the course flown";
  }
}

// DIR INTC DUBYA with a typed course in the climb: the course lives until joined. Joined,
// then flown direct to OLM and on to DUBYA again, the aircraft flies the leg OLM-DUBYA the
// page shows, not the old course; with the aircraft already past the course's line,
// DUBYA is flown to and passed there, never sequenced before the aircraft reaches it.
TEST_F(C17RouteEdits, AnInterceptCourseLivesUntilJoined) {
  struct Case {
    const char* line;    // DUBYA's line
    const char* course;  // typed on R6, degrees magnetic
    bool joined;         // joined (5 NM off it), then direct to OLM; else past the course's line
  };
  const Case cases[] = {{"L3", "180", true}, {"L1", "010", false}};
  take_off();
  ASSERT_TRUE(fly_until_active("CARRO", 600)) << active_ident();
  frames(60 * host_.frame_rate());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.course);
    press("LEGS");
    press("DIR INTC");
    c17_cdu_scratchpad.clear();
    press(c.line);
    press("L6");
    enter(c.course, "R6");
    smiths_fms_key(69);
    frames(1);
    const FlightPlanWpt dubya = active_fix();
    if (!c.joined) {
      // Passed within the unit's change distance, as any fix.
      double at_pass = 99.0, change = 0.0;
      for (int n = 0; n < 900 * host_.frame_rate() && active_ident() == "DUBYA"; ++n) {
        at_pass = nm(present(), dubya.lat, dubya.lon);
        change = wpt_change_dist;
        frames(1);
      }
      EXPECT_LT(at_pass, change + 0.2) << "NM from DUBYA when it was passed";
      continue;
    }
    frames(240 * host_.frame_rate());
    press("LEGS");
    press("DIR INTC");
    enter("OLM", "L6");
    smiths_fms_key(69);
    frames(1);
    const FlightPlanWpt olm = active_fix();
    ASSERT_TRUE(fly_until_active("DUBYA", 600)) << active_ident();
    frames(90 * host_.frame_rate());
    double off = 0.0;
    for (int n = 0; n < 60; ++n, frames(host_.frame_rate())) {
      const double k = std::cos(olm.lat * M_PI / 180.0), bx = (dubya.lon - olm.lon) * 60.0 * k;
      const double by = (dubya.lat - olm.lat) * 60.0, x = (present().lon - olm.lon) * 60.0 * k;
      off = std::max(off, std::fabs(x * by - (present().lat - olm.lat) * 60.0 * bx) / std::hypot(bx, by));
    }
    EXPECT_LT(off, 0.5) << "NM off the leg OLM-DUBYA";
  }
}

// DELETE on a modified route in the climb edits the modification: nothing is flown
// before EXEC, ERASE gives back the route flown, EXEC flies the route shown.
TEST_F(C17RouteEdits, ADeleteOnAModifiedRouteWaitsForExecOrErase) {
  struct Case {
    const char* then;  // "EXEC" or "ERASE"
    std::vector<std::string> route;  // the active route from the fix flown on
  };
  const Case cases[] = {{"ERASE", {"CARRO", "OLM", "DUBYA", "BTG", "KPDX"}},
                        {"EXEC", {"CARRO", FPL_DISCO_IDENT, "HQM", "DUBYA", "BTG", "KPDX"}}};
  take_off();
  ASSERT_TRUE(fly_until_active("CARRO", 600)) << active_ident();
  frames(60 * host_.frame_rate());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.then);
    press("LEGS");
    enter("HQM", "L3");  // before DUBYA
    ASSERT_EQ(fpl_changed_state, 4);
    enter("", "DEL");
    press("L2");  // OLM
    EXPECT_EQ(fpl_changed_state, 4) << "still a modification";
    EXPECT_STREQ(fpl_active[fpl_active_index + 1].ident, "OLM") << "nothing flown before EXEC";
    frames(1);
    EXPECT_TRUE(has("MOD"));
    if (std::string(c.then) == "EXEC") smiths_fms_key(69);
    else press("L6");
    frames(1);
    ASSERT_EQ(fpl_changed_state, 3);
    std::vector<std::string> route;
    for (int i = fpl_active_index; i <= fpl_active_last; ++i) route.push_back(fpl_active[i].ident);
    EXPECT_EQ(route, c.route);
    EXPECT_EQ(fpl_edit_last, fpl_active_last);
    const FlightPlanWpt fix = active_fix();
    EXPECT_GT(closing_nm(fix.lat, fix.lon, 20), 0.5) << "flown towards " << fix.ident;
  }
}

// PROGRESS on both units in flight: the next waypoint and the destination are as far as
// the aircraft flies to them, through the fix flown and along the legs: on the route, on
// a dog-leg after a direct-to off the route, in a hold at the present position.
TEST_F(C17RouteEditsBothUnits, ProgressDistancesRunThroughTheFixFlown) {
  struct Case {
    const char* name;
    std::vector<std::string> keys;  // mission CDU keys; "=X" types X, "EXEC" on the Smiths CDU
    double seconds;                 // flown before the pages are read
  };
  const Case cases[] = {
      {"on the route", {}, 0},
      {"direct to HQM", {"LEGS", "DIR INTC", "=HQM", "L6", "EXEC"}, 30},
      {"a hold at the present position", {"HOLD", "R6", "EXEC"}, 120},
  };
  take_off();
  ASSERT_TRUE(fly_until_active("CARRO", 600)) << active_ident();
  frames(60 * host_.frame_rate());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const std::string& k : c.keys) {
      if (k[0] == '=') type(k.substr(1));
      else if (k == "EXEC") smiths_fms_key(69);
      else press(k);
    }
    ASSERT_EQ(fpl_changed_state, 3);
    frames(int(c.seconds * host_.frame_rate()));
    press("PROG");
    smiths_fms_key(10);
    frames(2);
    // Through the active fix, then leg by leg.
    const int a = fpl_active_index;
    const double to_active = nm(present(), fpl_active[a].lat, fpl_active[a].lon);
    double along = 0.0;
    std::vector<double> to(fpl_active_last + 1, -1.0);
    for (int i = a; i <= fpl_active_last; ++i) {
      if (i > a) along += compute_gc_distance(fpl_active[i - 1].lat, fpl_active[i - 1].lon, fpl_active[i].lat,
                                              fpl_active[i].lon);
      to[i] = to_active + along;
    }
    EXPECT_NEAR(distance_at("C17_CDU_HARNESS", 124), to[a + 1], 1.5) << "mission CDU, " << fpl_active[a + 1].ident;
    EXPECT_NEAR(distance_at("C17_CDU_HARNESS", 165), to[fpl_active_last], 1.5) << "mission CDU, KPDX";
    EXPECT_NEAR(distance_at("SMITHS_FMS", 99), to[a + 1], 1.5) << "Smiths CDU, " << fpl_active[a + 1].ident;
    EXPECT_NEAR(distance_at("SMITHS_FMS", 131), to[fpl_active_last], 1.5) << "Smiths CDU, KPDX";
    picture(std::string("route_edits_progress_") + (c.keys.empty() ? "route" : c.keys[0] == "HOLD" ? "hold" : "direct"));
  }
}

// STANDARD HOLD after one of two holds is deleted in the climb: the page shows the hold
// the route keeps, and an entry there changes that hold.
TEST_F(C17RouteEdits, TheHoldPageShowsAHoldTheRouteKeeps) {
  struct Case {
    const char* deleted;
    const char* kept;
  };
  const Case cases[] = {{"OLM", "DUBYA"}, {"DUBYA", "OLM"}};
  take_off();
  ASSERT_TRUE(fly_until_active("CARRO", 600)) << active_ident();
  frames(60 * host_.frame_rate());
  // The FLT PLAN line of `ident`'s fix, or of its HOLD AT line; "" when not on page 1.
  auto line_of = [this](const std::string& ident, bool hold_at) -> std::string {
    press("LEGS");
    frames(1);
    for (int r = 1; r <= 5; ++r)
      if (at(0, 33.0 * r).rfind(ident, 0) == 0 && (at(20, 33.0 * r - 11) == "H O L D   A T") == hold_at)
        return "L" + std::to_string(r);
    return "";
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deleted);
    for (const char* fix : {"OLM", "DUBYA"}) {
      const std::string line = line_of(fix, false);
      ASSERT_NE(line, "") << fix;
      smiths_legs_mode = 2;  // HOLD with holds listed opens STANDARD HOLD
      c17_cdu_scratchpad.clear();
      press(line);
      press("L6");
      ASSERT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD) << fix;
      smiths_fms_key(69);
    }
    ASSERT_EQ(hold_count, 2);
    const std::string line = line_of(c.deleted, true);
    ASSERT_NE(line, "");
    enter("", "DEL");
    press(line);
    smiths_fms_key(69);
    ASSERT_EQ(fpl_changed_state, 3);
    ASSERT_EQ(hold_count, 1);
    ASSERT_STREQ(hold_list[1].ident, c.kept);
    press("HOLD");
    ASSERT_EQ(c17_cdu_page, C17_CDU_STANDARD_HOLD);
    frames(1);
    EXPECT_EQ(at(201, 0), c.kept) << "the hold shown";
    EXPECT_NE(at(12, 42), "") << "its inbound course";
    enter("090", "L1");
    EXPECT_EQ(c17_cdu_scratchpad_msg, "");
    EXPECT_DOUBLE_EQ(hold_list[1].inbound_course, 90.0);
    // Flown on to the fix ahead; the kept hold goes before the next case.
    const FlightPlanWpt fix = active_fix();
    EXPECT_GT(closing_nm(fix.lat, fix.lon, 10), 0.3) << "flown towards " << fix.ident;
    enter("", "DEL");
    press(line_of(c.kept, true));
    smiths_fms_key(69);
    ASSERT_EQ(hold_count, 0);
  }
}

// DELETE on a constraint line in the climb is refused on the message line: the route
// flown keeps its constraints and nothing is put in the scratchpad behind the word.
TEST_F(C17RouteEdits, DeleteOnAConstraintIsRefusedOnTheMessageLine) {
  struct Case {
    const char* line;
    const char* fix;
    double alt, spd;
  };
  const Case cases[] = {{"R2", "OLM", 12000, 250}, {"R1", "CARRO", 10000, FPL_NO_CONSTRAINT}};
  take_off();
  ASSERT_TRUE(fly_until_active("CARRO", 600)) << active_ident();
  frames(60 * host_.frame_rate());
  press("LEGS");
  enter("250/12000", "R2");
  smiths_fms_key(69);
  ASSERT_EQ(fpl_changed_state, 3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fix);
    press("LEGS");
    enter("", "DEL");
    press(c.line);
    EXPECT_EQ(c17_cdu_scratchpad_msg, "INVALID DELETE");
    EXPECT_EQ(c17_cdu_scratchpad, "");
    EXPECT_EQ(fpl_changed_state, 3);
    const int i = fpl_active_index + (c.line[1] - '1');
    ASSERT_STREQ(fpl_active[i].ident, c.fix);
    EXPECT_EQ(fpl_active[i].alt_constraint, c.alt);
    EXPECT_EQ(fpl_active[i].spd_constraint, c.spd);
    const FlightPlanWpt fix = active_fix();
    EXPECT_GT(closing_nm(fix.lat, fix.lon, 10), 0.3) << "flown towards " << fix.ident;
  }
}

// STEP on FLT PLAN with the plan map shown, a hold in the route, just after take-off:
// each press puts <CTR> on a line of the page, on every page the steps reach.
TEST_F(C17RouteEdits, StepCentresALineAtEachPressWithAHoldInTheRoute) {
  take_off();
  ASSERT_EQ(active_ident(), "ALKIS");
  press("LEGS");
  smiths_legs_mode = 2;  // HOLD with no hold listed
  c17_cdu_scratchpad.clear();
  press("L2");  // CARRO
  press("L6");
  smiths_fms_key(69);
  ASSERT_EQ(hold_count, 1);
  const int32_t format = c17_mfd_instances[2].format;
  c17_mfd_instances[2].format = 6;  // the plan map
  press("LEGS");
  frames(2);
  for (int n = 1; n <= 2 * fpl_active_last; ++n) {
    press("R6");
    frames(1);
    EXPECT_TRUE(has("<CTR>")) << "press " << n << ", centre " << plan_center_index;
  }
  c17_mfd_instances[2].format = format;
  frames(2);
}

// DELETE on the HOLD AT line of the hold flown waits for EXEC as a route change: ERASE
// keeps the hold flown, EXEC leaves it at its fix and the route is flown on from there.
TEST_F(C17RouteEdits, DeletingTheHoldFlownWaitsForExecAndLeavesItAtItsFix) {
  const char* const cases[] = {"ERASE", "EXEC"};
  take_off();
  press("LEGS");
  smiths_legs_mode = 2;
  c17_cdu_scratchpad.clear();
  press("L2");  // CARRO
  press("L6");
  smiths_fms_key(69);
  const HoldRecord hold = hold_list[1];
  for (int n = 0; n < 900 * host_.frame_rate() && holding_active == 0; ++n) frames(1);
  frames(60 * host_.frame_rate());
  for (const char* then : cases) {
    SCOPED_TRACE(then);
    press("LEGS");
    frames(1);
    std::string line;  // HOLD AT CARRO
    for (int r = 1; r <= 5 && line.empty(); ++r)
      if (at(20, 33.0 * r - 11) == "H O L D   A T") line = "L" + std::to_string(r);
    enter("", "DEL");
    press(line);
    EXPECT_EQ(fpl_changed_state, 4) << "the hold stays until EXEC";
    if (std::string(then) == "EXEC") smiths_fms_key(69);
    else press("L6");
    // Flown on: the racetrack (a leg from the fix at most), then once over the fix OLM.
    const double racetrack = hold_pattern_leg + 1.0;
    double closest = 99.0, farthest = 0.0;
    for (int n = 0; n < 240 && active_ident() == "CARRO"; ++n, frames(host_.frame_rate())) {
      closest = std::min(closest, nm(present(), hold.lat, hold.lon));
      farthest = std::max(farthest, nm(present(), hold.lat, hold.lon));
    }
    EXPECT_LT(farthest, racetrack) << "never off the racetrack";
    EXPECT_EQ(hold_count, std::string(then) == "EXEC" ? 0 : 1);
    if (std::string(then) == "ERASE") continue;
    EXPECT_LT(closest, 1.0) << "left over its fix";
    EXPECT_GT(closing_nm(active_fix().lat, active_fix().lon, 30), 2.0) << "flown towards " << active_ident();
  }
}

}  // namespace

namespace {

// An airport typed on RTE sub-page 1 in the climb, on the route with the arrival R28L via
// BTG: the route flown stays until EXEC; after it the fix flown is kept with LNAV and VNAV,
// and a new destination leaves one route break where the arrival was.
TEST_F(C17RouteEdits, AnAirportTypedOnRteInFlightModifiesTheRouteFlown) {
  struct Case {
    const char* key;    // L1 origin, R1 destination
    const char* airport;
    const char* first;  // record 0 after EXEC
    const char* last;   // the last record after EXEC
    int breaks;         // route breaks after EXEC
  };
  const Case cases[] = {{"R1", "KTTD", "KSEA", "KTTD", 1}, {"L1", "KBFI", "KBFI", "KTTD", 1}};
  take_off();
  open_arrivals();
  press("R2");  // R28L
  press("R2");  // via BTG
  smiths_fms_key(69);
  frames(1);
  ASSERT_EQ(fpl_changed_state, 3);
  ASSERT_TRUE(fly_until_active("CARRO", 600)) << active_ident();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.airport);
    press("RTE");
    enter(c.airport, c.key);
    EXPECT_EQ(fpl_changed_state, 4) << c17_cdu_scratchpad_msg;
    EXPECT_EQ(active_ident(), "CARRO") << "flown until EXEC";
    EXPECT_EQ(lnav_on, 1);
    smiths_fms_key(69);
    frames(1);
    ASSERT_EQ(fpl_changed_state, 3);
    EXPECT_EQ(active_ident(), "CARRO");
    EXPECT_STREQ(fpl_active[0].ident, c.first);
    EXPECT_STREQ(fpl_active[fpl_active_last].ident, c.last);
    int breaks = 0;
    for (int i = 1; i <= fpl_active_last; ++i) breaks += fpl_route_break(fpl_active[i]) ? 1 : 0;
    EXPECT_EQ(breaks, c.breaks) << "route breaks";
    frames(4);
    EXPECT_EQ(lnav_on, 1);
    EXPECT_EQ(vnav_on, 1);
  }
}

}  // namespace

namespace {

// DELETE on the fix flown in the climb, then on the next: the fix after the route breaks is
// flown and its row shows the course and distance from the aircraft and no crossing
// altitude below it.
TEST_F(C17RouteEdits, ADeleteOnTheFixFlownShowsTheLegFromTheAircraft) {
  const char* const flown_after_each_delete[] = {"OLM", "DUBYA"};
  take_off();
  ASSERT_TRUE(fly_until_active("CARRO", 600)) << active_ident();
  frames(60 * host_.frame_rate());
  for (const std::string flown : flown_after_each_delete) {
    SCOPED_TRACE(flown);
    press("LEGS");
    enter("", "DEL");
    press("L1");  // the fix flown
    frames(1);
    ASSERT_EQ(active_ident(), flown);
    ASSERT_EQ(at(0, 33), (flown + "     ").substr(0, 5));
    const FlightPlanWpt& fix = active_fix();
    EXPECT_NE(at(20, 22), "") << "a course";
    EXPECT_NEAR(std::atof(at(100, 22).c_str()), nm(present(), fix.lat, fix.lon), 0.75) << "the distance from the aircraft";
    const std::string crossing = at(130, 33);
    ASSERT_NE(crossing.find('/'), std::string::npos) << crossing;
    EXPECT_GE(std::atof(crossing.substr(crossing.find('/') + 1).c_str()), present().altitude_ft - 100.0) << crossing;
  }
}

}  // namespace

