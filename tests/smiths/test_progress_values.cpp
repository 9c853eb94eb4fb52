// Values of the PROGRESS, ECON CRZ and PERF INIT pages as the aircraft has them, in the
// unit the page names: the crosswind's side, the destination's distance along the legs
// with one ETA, no distance across a route break, no vertical deviation where none is
// due, the fuel at the destination in the weight unit and an ISA deviation in F.
#include <cstring>

#include "cdu/smiths/page_layout.h"
#include "flightplan/flight_plan.h"
#include "flightplan/route_progress.h"
#include "geo/great_circle.h"
#include "guidance/fms_state.h"
#include "guidance/settings.h"
#include "guidance/speed_conversions.h"
#include "guidance/toc_tod.h"
#include "page_draw.h"
#include "tests/common/sample_flight.h"

namespace {

class ProgressValues : public PageDrawTest {
 protected:
  // The company route (0 KSEA ... 5 BTG, 6 KPDX) in flight with `active` the active record,
  // `to_active` NM ahead of it.
  void in_flight(int active, double to_active) {
    start();
    company_route();
    ASSERT_EQ(fpl_active_last, 6);
    fpl_active_index = active;
    dist_to_active_wpt = to_active;
    ground_speed = 300;
    smiths_page = SMITHS_PAGE_PROGRESS;
    smiths_progress_page_no = 1;
    DispETALocalTime = 0;
    WeightUnit = "LBS";
  }
  double nm(int from, int to) const {
    double d = 0, c = 0;
    compute_gc_distance_course(fpl_active[from].lat, fpl_active[from].lon, fpl_active[to].lat, fpl_active[to].lon, d,
                               c);
    return d;
  }
};

// A wind from 270 at 40 kt on a southerly heading blows from the right.
TEST_F(ProgressValues, CrosswindFromTheRightReadsR) {
  host_.set_frame_rate(2);
  simhost::AircraftState& s = host_.aircraft().state();
  sample_flight::set_airborne_on_autopilot(s, 47.0, -122.5, 433.0, 12000.0, 280.0, 170.0);
  s.wind_dir = 270;
  s.wind_speed_kt = 40;
  start();
  smiths_page = SMITHS_PAGE_PROGRESS;
  smiths_progress_page_no = 3;
  frames(20);
  const std::string row = at(0, 33);
  ASSERT_GE(row.size(), 8u);
  EXPECT_EQ(row.substr(row.size() - 8, 3), "R  ") << row;
  EXPECT_GT(std::stoi(row.substr(row.size() - 6, 3)), 30) << row;
}

// From CARRO on the destination is measured along OLM, DUBYA and BTG, as the legs run.
TEST_F(ProgressValues, DestinationDistanceRunsAlongTheLegs) {
  in_flight(2, 10.0);
  draw_now();
  const double along = 10.0 + nm(2, 3) + nm(3, 4) + nm(4, 5) + nm(5, 6);
  EXPECT_EQ(at(0, 131), "KPDX ");
  const std::string d = cdu_format("%.0f", along);
  EXPECT_EQ(line(131).substr(0, 8 + d.size()), "KPDX  | " + d);
}

// The destination as the active waypoint: its row and the destination row agree.
TEST_F(ProgressValues, OneEtaForTheDestination) {
  in_flight(6, 40.0);
  draw_now();
  EXPECT_EQ(at(0, 66), "KPDX ");
  EXPECT_EQ(at(160, 66), at(160, 131));
  EXPECT_EQ(at(227, 66), at(227, 131));
  EXPECT_NE(at(160, 131), "");
}

// A break after the active waypoint: its row has no distance, time, course or fuel; the
// destination is measured over the placed records.
TEST_F(ProgressValues, ARouteBreakRowShowsNoDistance) {
  in_flight(3, 10.0);
  std::strcpy(fpl_active[4].ident, "DISCO");
  draw_now();
  EXPECT_EQ(at(0, 99), "DISCO");
  EXPECT_EQ(line(99), "DISCO");
  EXPECT_EQ(at(30, 86), "");
  const std::string d = cdu_format("%.0f", 10.0 + nm(3, 5) + nm(5, 6));
  EXPECT_EQ(line(131).substr(0, 8 + d.size()), "KPDX  | " + d);
}

// A route break flown (the active record): the next waypoint and the destination are
// measured from the aircraft straight to the first placed record after it, then along.
TEST_F(ProgressValues, AnActiveRouteBreakIsMeasuredFromTheFixAfterIt) {
  in_flight(3, 10.0);
  std::strcpy(fpl_active[3].ident, "DISCO");
  draw_now();
  double to_next = 0, course = 0;
  compute_gc_distance_course(present_lat, present_lon, fpl_active[4].lat, fpl_active[4].lon, to_next, course);
  struct Row {
    double y;
    const char* ident;
    double nm;
  };
  for (const Row& r : {Row{99, "DUBYA", to_next}, Row{131, "KPDX ", to_next + nm(4, 5) + nm(5, 6)}}) {
    const std::string d = cdu_format("%.0f", r.nm);
    EXPECT_EQ(line(r.y).substr(0, 8 + d.size()), std::string(r.ident) + " | " + d) << r.ident;
  }
}

// PROGRESS 3 past the top of descent: feet above or below the path, nothing when it
// rounds to no foot.
TEST_F(ProgressValues, VerticalDeviationOnlyWhereDue) {
  in_flight(4, 20.0);
  smiths_progress_page_no = 3;
  vnav_wpt_index = 5;
  tod_reached = 1;
  tod_lat = fpl_active[3].lat;
  tod_lon = fpl_active[3].lon;
  const struct {
    double above;  // feet above the path
    const char* shown;
  } rows[] = {{120, "  120 HI"}, {0.3, ""}, {-0.3, ""}, {0, ""}, {-40, "   40 LO"}};
  for (const auto& r : rows) {
    vnav_path_altitude = 9000;
    indicated_altitude = 9000 + r.above;
    draw_now();
    EXPECT_EQ(at(200, 99), r.shown) << r.above;
    EXPECT_EQ(has("V E R T  D E V"), *r.shown != '\0') << r.above;
  }
}

// ECON CRZ's fuel at the destination follows the weight unit, as PROGRESS's does.
TEST_F(ProgressValues, EconCruiseFuelAtTheDestinationInKilograms) {
  in_flight(2, 10.0);
  smiths_page = SMITHS_PAGE_ECON_CRZ;
  draw_now();
  const double lbs = std::stod(at(0, 133));
  WeightUnit = "KGS";
  draw_now();
  EXPECT_NEAR(std::stod(at(0, 133)), lbs * kg_per_lb, 0.1);
  WeightUnit = "LBS";
}

// An ISA deviation converts to F as a difference: -5 C is -9 F, +10 C is 18 F.
TEST_F(ProgressValues, IsaDeviationInFahrenheitIsADifference) {
  start();
  smiths_page = SMITHS_PAGE_PERF_INIT;
  smiths_perf_page_no = 1;
  frames(1);
  put("FL350", "R1");
  const struct {
    const char* entry;
    const char* shown;
  } rows[] = {{"-5", "-9 \xC2\xB0" "F / -5 \xC2\xB0" "C"}, {"10", "18 \xC2\xB0" "F / 10 \xC2\xB0" "C"}};
  for (const auto& r : rows) {
    put(r.entry, "R3");
    EXPECT_EQ(line(103), r.shown) << r.entry;
  }
}

// The widest values of lines that end at the screen's right edge: inside the margin of the
// right-aligned lines (x 277.5), and not over the line's left column.
TEST_F(ProgressValues, WidestValuesEndInsideTheMargin) {
  struct Case {
    const char* name;
    int32_t page, sub_page;
    int32_t pause_nm;   // ECON PATH DES pause distance
    double above_path;  // PROGRESS 3: feet above the descent path
    const char* text;
    double left;  // the ink starts at or right of it
  };
  const Case cases[] = {
      {"pause 20 NM", SMITHS_PAGE_ECON_DES, 1, 20, 0, "PAUSE 20 NM From (KPDX)(OFF)", 0},
      {"pause 100 NM", SMITHS_PAGE_ECON_DES, 1, 100, 0, "PAUSE 100 NM From (KPDX)(OFF)", 0},
      {"deviation above", SMITHS_PAGE_PROGRESS, 3, 20, 25000, "V E R T  D E V", 150},
      {"deviation below", SMITHS_PAGE_PROGRESS, 3, 20, -25000, "V E R T  D E V", 150},
  };
  in_flight(4, 20.0);
  for (const Case& c : cases) {
    ArmPauseAtDistFromDest = 1;
    pause_dist_from_dest = c.pause_nm;
    smiths_page = c.page;
    smiths_progress_page_no = c.sub_page;
    vnav_wpt_index = 5;
    tod_reached = 1;
    tod_lat = fpl_active[3].lat;
    tod_lon = fpl_active[3].lon;
    vnav_path_altitude = 30000;
    indicated_altitude = 30000 + c.above_path;
    draw_now();
    int found = 0;
    const GfxRecording* r = screen();
    for (const GfxTextItem& t : items()) {
      if (t.text != c.text) continue;
      ++found;
      const GfxPointF a = r->to_design({t.ink.x, t.ink.y}, CDU_CANVAS_W, CDU_CANVAS_H);
      const GfxPointF b = r->to_design({t.ink.x + t.ink.width, t.ink.y + t.ink.height}, CDU_CANVAS_W, CDU_CANVAS_H);
      EXPECT_GE(a.x, c.left) << c.name;
      EXPECT_LE(b.x, 277.5) << c.name;
    }
    EXPECT_EQ(found, 1) << c.name;
  }
}

}  // namespace
