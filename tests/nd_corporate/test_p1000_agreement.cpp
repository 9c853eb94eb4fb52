// Primus 1000 MFD against the aircraft: every map layer draws a fix where the route
// draws it, in both views and on gauges of other shapes than the canvas; the plan
// view's aircraft points along its true heading; a change of view, range, centre or
// active waypoint repaints in full, and partial frames wipe the plan view's map; the
// controller's value knob stops where its legends print.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "displays/nd_corporate/nd_corporate.h"
#include "flightplan/route_progress.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "navdb/navdb.h"
#include "gauges/state_reset.h"
#include "tests/common/module_fixture.h"
#include "tests/common/nav_records.h"
#include "tests/nd/nd_scene.h"

using namespace nd_test;

namespace {

constexpr double LAT = 47.0, LON = -122.0;
constexpr double MAP_HEADING = 30, VARIATION = 17;  // true heading; magnetic 13
constexpr uint32_t LIGHT_GREEN = 0xFF5BE5A7, BOUNDARY = 0xFF979700, YELLOW = 0xFFFFFF00;
constexpr GfxPointF NOT_DRAWN{-1e9, -1e9};

// The aircraft flies towards the active waypoint CARRO, 0.4 of the range north of it.
void fly_towards_carro(double range) {
  place_aircraft(LAT, LON, MAP_HEADING - VARIATION);
  map_heading = MAP_HEADING;
  magvar = VARIATION;
  p1000_mfd_range = range;
  set_active_plan({"AAA", "CARRO", "CCC"}, 1, LAT, LON);
  for (int32_t i = 0; i <= 2; ++i) point_from(LAT, LON, 0, 0.4 * range * i, fpl_active[i].lat, fpl_active[i].lon);
  route_distance_to_go = 50;
}

NavPoint carro() { return {fpl_active[1].lat, fpl_active[1].lon}; }

RwyRecord runway_at(NavPoint thr) {
  RwyRecord r{};
  nav_copy_text(r.ident, sizeof r.ident, "16");
  r.lat = thr.lat;
  r.lon = thr.lon;
  r.heading = r.heading2 = 160;
  r.length_ft = 3000;
  return r;
}

// Design point of the first text `t` less its offset from the point it labels.
GfxPointF labelled(NdScene& s, const std::string& t, double dx, double dy) {
  const GfxPointF p = s.text_at(t);
  return p.x == NOT_DRAWN.x ? p : GfxPointF{p.x - dx, p.y - dy};
}

// The first line drawn in `argb`: the design point of its start, or of its world origin.
GfxPointF first_line(NdScene& s, uint32_t argb, bool origin) {
  for (const GfxRecord* r : s.rec().of(GfxOp::Line))
    if (r->pen_argb == argb) return origin ? s.design_of(*r, 0, 0) : s.design(GfxRecording::device_points(*r)[0]);
  return NOT_DRAWN;
}

struct Layer {
  const char* name;
  double range;
  std::function<void()> set_up;
  std::function<GfxPointF(NdScene&)> where_carro;  // where the layer drew CARRO (design units)
};

const Layer layers_drawing_carro[] = {
    {"route", 25, [] {},
     [](NdScene& s) { return s.design({fpl_active[1].screen_x / 8.0, fpl_active[1].screen_y / 8.0}); }},
    {"navaid", 25,
     [] {
       nav_navaid_count = 1;
       nav_navaids[1] = nav_record("OLM", carro(), "V");
       nav_tables_changed();
       p1000_show_navaids = 1;
     },
     [](NdScene& s) { return labelled(s, "OLM", 7, -10); }},
    {"airport", 25,
     [] {
       nav_airport_count = 1;
       nav_airports[1] = nav_record("KTIW", carro(), "");
       nav_tables_changed();
       p1000_show_airports = 1;
     },
     [](NdScene& s) { return labelled(s, "KTIW", 2, -15); }},
    {"top of descent", 25,
     [] {
       vnav_on = 1;
       cruise_alt = 20000;
       tod_lat = carro().lat;
       tod_lon = carro().lon;
     },
     [](NdScene& s) { return labelled(s, "[TOD]", -37, -8); }},
    {"climb target", 25,
     [] {
       vnav_on = 1;
       cruise_alt = 20000;
       vnav_target_alt = 12000;
       climb_target_lat = carro().lat;
       climb_target_lon = carro().lon;
     },
     // On CARRO's record: left of the marker ((7 + 32) units), away from the ident.
     [](NdScene& s) { return labelled(s, "[12000]", -39, -8); }},
    {"hold", 25,
     [] {
       hold_count = hold_fpl_index = 1;
       hold_list[1] = HoldRecord{};
       hold_list[1].active_wpt = 1;
       hold_list[1].leg_dist = 4;
       hold_list[1].lat = carro().lat;
       hold_list[1].lon = carro().lon;
     },
     [](NdScene& s) { return first_line(s, LIGHT_GREEN, true); }},
    {"fix info", 25,
     [] {
       fix_info[1] = FixInfoRecord{};
       fpl_set_text(fix_info[1].ident, "CARRO");
       fpl_set_text(fix_info[1].type, "I");
       fix_info[1].lat = carro().lat;
       fix_info[1].lon = carro().lon;
     },
     [](NdScene& s) {
       for (const GfxRecord* r : s.rec().of(GfxOp::Ellipse))
         if (r->args.size() == 4 && r->args[2] == 16) return s.design_of(*r, r->args[0] + 8, r->args[1] + 8);
       return NOT_DRAWN;
     }},
    {"boundary", 25,
     [] {
       atc_boundary_count = 1;
       atc_boundaries[1] = AtcBoundary{};
       nav_copy_text(atc_boundaries[1].ident, sizeof atc_boundaries[1].ident, "KZSE001");
       nav_copy_text(atc_boundaries[1].label, sizeof atc_boundaries[1].label, "ZSE");
       atc_boundaries[1].first_point = 1;
       atc_boundaries[1].count = 2;
       atc_boundary_point_count = 2;
       atc_boundary_points[1] = carro();
       compute_dest_point(carro().lat, carro().lon, 90, 1, atc_boundary_points[2].lat, atc_boundary_points[2].lon);
       atc_boundaries[1].label_lat = carro().lat;
       atc_boundaries[1].label_lon = carro().lon;
       atc_boundaries_loaded = 1;
       atc_bdry_on = 1;
     },
     [](NdScene& s) { return first_line(s, BOUNDARY, false); }},
    {"runway", 2.5,
     [] {
       loaded_rwy_count = 1;
       loaded_rwy_base = 1;
       loaded_rwy_table[1] = runway_at(carro());
     },
     [](NdScene& s) { return s.text_at("16"); }},
    {"approach centre line", 25,
     [] {
       loaded_rwy_count = 1;
       loaded_rwy_base = 1;
       loaded_rwy_index = 1;
       loaded_rwy_table[1] = runway_at(carro());
     },
     [](NdScene& s) { return first_line(s, LIGHT_GREEN, false); }},
};

struct Gauge {
  int32_t w, h;
};
constexpr Gauge GAUGES[] = {{272, 314}, {408, 314}, {272, 471}};

// Where CARRO belongs: the plan view's centre, or on the heading-up map 0.4 of the
// 53-unit radius off the nose by its true bearing (north) less the true heading.
GfxPointF carro_expected(int32_t plan) {
  if (plan) return {134, 116};
  const double a = -MAP_HEADING * M_PI / 180, r = 0.4 * 53;
  return {134 + r * std::sin(a), 148 - r * std::cos(a)};
}

TEST(P1000Agreement, EveryLayerDrawsTheFixWhereTheRouteDoesInBothViewsOnAnyGaugeShape) {
  for (const Gauge& gauge : GAUGES)
    for (int32_t plan : {0, 1})
      for (const Layer& layer : layers_drawing_carro) {
        reset_module_state();
        NdScene s{CANVAS_P1000_MFD, p1000_mfd_draw, gauge.w, gauge.h};
        fly_towards_carro(layer.range);
        p1000_plan_view = plan;
        layer.set_up();
        s.draw();
        const GfxPointF at = layer.where_carro(s), want = carro_expected(plan);
        EXPECT_TRUE(near(at, want.x, want.y)) << layer.name << " at " << gauge.w << "x" << gauge.h << ", plan "
                                              << plan << ": " << at.x << ", " << at.y << " for " << want.x << ", "
                                              << want.y;
      }
}

// The plan view's aircraft stands 0.4 of the 75-unit radius south of CARRO, its nose
// along the true heading on the north-up map.
TEST(P1000Agreement, PlanViewAircraftWhereItStandsAlongItsTrueHeading) {
  for (const Gauge& gauge : GAUGES) {
    reset_module_state();
    NdScene s{CANVAS_P1000_MFD, p1000_mfd_draw, gauge.w, gauge.h};
    fly_towards_carro(25);
    p1000_plan_view = 1;
    s.draw();
    const GfxRecord* symbol = nullptr;
    for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
      if (r->pen_argb == YELLOW) symbol = r;
    ASSERT_NE(symbol, nullptr) << gauge.w << "x" << gauge.h;
    const GfxPointF at = s.design_of(*symbol, 0, 0), nose = s.design_of(*symbol, 0, -10);
    EXPECT_TRUE(near(at, 134, 116 + 0.4 * 75)) << gauge.w << "x" << gauge.h << ": " << at.x << ", " << at.y;
    const double track = std::atan2(nose.x - at.x, at.y - nose.y) * 180 / M_PI;
    EXPECT_NEAR(track, MAP_HEADING, 2) << gauge.w << "x" << gauge.h;
  }
}

// ---- full and partial frames ----

bool full_fill(NdScene& s) {
  for (const GfxRecord* r : s.rec().of(GfxOp::FillRect))
    if (r->args == std::vector<double>{0, 0, 272, 314}) return true;
  return false;
}

struct P1000Frames : ::testing::Test {
  NdScene s{CANVAS_P1000_MFD, p1000_mfd_draw};
  void SetUp() override {
    fly_towards_carro(25);
    s.draw();
    hdg_change_timer = 50;  // the heading timer asks for partial frames
    s.draw();
  }
};

// The sim paused (the timer stands): each change repaints in full on the next frame,
// the block with it, and the frame after is partial again.
TEST_F(P1000Frames, ViewRangeCentreAndANewActiveWaypointRepaintInFullAtOnce) {
  struct Case {
    const char* change;
    std::function<void()> act;
    const char* shown;
  };
  const Case cases[] = {
      {"range", [] { p1000_mfd_range = 40; }, " 40"},
      {"plan view", [] { p1000_plan_view = 1; }, "HDG"},
      {"range in the plan view", [] { p1000_mfd_range = 80; }, " 80"},
      {"heading-up map",
       [] {
         p1000_plan_view = 0;
         p1000_map_cy = 148;
         p1000_map_radius = 53;
       },
       "HDG"},
      {"waypoint sequenced", [] { fpl_active_index = 2; }, "CCC"},
      {"EXEC of a new fix in its place", [] { fpl_set_text(fpl_active[2].ident, "OLM"); }, "OLM"},
      {"plan activated", [] { set_active_plan({"AAA", "BBB"}, 1, LAT, LON); }, "BBB"},
  };
  fpl_active_index = FPL_NO_PLAN;
  s.draw();
  for (const Case& c : cases) {
    c.act();
    s.draw();
    EXPECT_TRUE(full_fill(s)) << c.change;
    EXPECT_TRUE(s.has(c.shown)) << c.change;
    for (const char* t : {"FMS", "NM", "MIN"}) EXPECT_EQ(s.has(t), fpl_active_index != FPL_NO_PLAN) << c.change << t;
    s.draw();
    EXPECT_FALSE(full_fill(s)) << c.change;
  }
}

// A partial frame of the plan view wipes its whole map area (the block's corner left
// out, above the TCAS window when shown): the aircraft and labels leave no trail.
TEST_F(P1000Frames, PartialPlanFramesWipeThePlanMap) {
  p1000_plan_view = 1;
  for (int32_t tcas : {0, 1}) {
    tcas_shown = tcas;
    DrawTcasWindowOnP1000MFD = 1;
    s.draw();
    s.draw();
    ASSERT_FALSE(full_fill(s));
    const int32_t bottom = tcas ? 171 : 185;
    const GfxPoint area[] = {{0, 10}, {210, 10}, {210, 60}, {268, 60}, {268, bottom}, {0, bottom}, {0, 10}};
    bool wiped = false;
    for (const GfxRecord* r : s.rec().of(GfxOp::FillPolygon)) {
      if (r->brush_argb != 0xFF000000 || r->points.size() != std::size(area)) continue;
      bool same = true;
      for (size_t i = 0; i < std::size(area); ++i) same = same && r->points[i].x == area[i].x && r->points[i].y == area[i].y;
      wiped = wiped || same;
    }
    EXPECT_TRUE(wiped) << tcas;
  }
}

// ---- the controller's value knob ----

struct P1000Knob : ModuleTest {
  P1000Knob() : ModuleTest("/tmp/vek-p1000-knob-XXXXXX", 272) {}
  void click(int32_t index, int32_t times = 1) {
    std::string error;
    for (int32_t i = 0; i < times; ++i) ASSERT_TRUE(host_.click_index("P1000_MFD_CNTR", index, &error)) << error;
  }
};

// Distance (two digits) and step elevation (five) stop at the largest value their
// legends print, inside their columns; turned down they stop at 0.
TEST_F(P1000Knob, ValueKnobStopsWhereTheLegendsPrint) {
  start({{"P1000_MFD", ""}, {"P1000_MFD_CNTR", ""}});
  host_.set_draw_recording(true);
  host_.run_frames(20);
  click(9);  // main menu: VNAV
  struct Case {
    int32_t select;  // soft key choosing the entry
    double* value;
    double near_top, top;
    const char* legend;
    double column_end;  // where the next legend's column begins
  };
  const Case cases[] = {
      {9, &p1000_vnav_distance, 97, 99, "[99]", 120},
      {10, &p1000_vnav_elevation, 99700, 99900, "[99900]", 157},
  };
  for (const Case& c : cases) {
    click(c.select);
    *c.value = c.near_top;
    click(6, 4);
    EXPECT_EQ(*c.value, c.top) << c.legend;
    host_.run_frames(1);
    const GfxRecording* rec = gfx_recording_of(host_.find_gauge("P1000_MFD")->drawn_image());
    ASSERT_NE(rec, nullptr);
    bool inside = false;
    for (const GfxTextItem& t : rec->text_items())
      if (t.text == c.legend) inside = rec->to_design({t.ink.x + t.ink.width, 0}, 272, 314).x < c.column_end;
    EXPECT_TRUE(inside) << c.legend;
    click(5, 2);
    *c.value = 1;
    click(5, 3);
    EXPECT_EQ(*c.value, 0) << c.legend;
  }
}

}  // namespace
