// Primus 1000 MFD: full and partial frames, the clip outlines with the TCAS window,
// the controller's effect on layers, marker and legends, the compass scale, the route
// and waypoint data in both views, the active-waypoint block and values no simulator
// should send.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "displays/nd_corporate/nd_corporate.h"
#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "guidance/settings.h"
#include "navdb/navdb.h"
#include "tests/common/display_checks.h"
#include "tests/common/module_fixture.h"
#include "tests/nd/nd_scene.h"

using namespace nd_test;

namespace {

using Layers = std::vector<std::string>;
constexpr double LAT = 47.0, LON = -122.0;
constexpr uint32_t CYAN = 0xFF02A7EB, WHITE = 0xFFDEE6E9, YELLOW = 0xFFFFFF00;

void reset_p1000() {
  p1000_plan_view = 0;
  p1000_map_cx = 134;
  p1000_map_cy = 148;
  p1000_map_radius = 53;
  p1000_mfd_range = 12.5;
  p1000_show_navaids = p1000_show_airports = 0;
  p1000_cntr_open = 0;
  p1000_cntr_menu = 1;
  p1000_vnav_dist_sel = p1000_vnav_elev_sel = p1000_vnav_vang_sel = 0;
  p1000_vnav_distance = p1000_vnav_elevation = p1000_vnav_vs = 0;
  tcas_shown = atc_bdry_on = 0;
  DrawTcasWindowOnP1000MFD = 1;
  DrawBodArcOnP1000MFD = 0;
  DispPrevWpt = 0;
  fpl_active_index = FPL_NO_PLAN;
  hold_fpl_index = 0;
  loaded_rwy_index = -999;
  loaded_rwy_count = 0;
  fix_info[1].ident[0] = fix_info[2].ident[0] = '\0';
  hdg_change_timer = 0;
  ap_heading = ap_altitude = 0;
  true_airspeed = true_airspeed_prev = ground_speed = ground_speed_copy = 0;
  wind_speed = 0;
  route_distance_to_go = 0;
  dist_to_active_wpt = dist_to_active_wpt_prev = ete_active_min = ete_active_min_prev = 0;
}

struct P1000Mfd : ::testing::Test {
  NdScene s{CANVAS_P1000_MFD, p1000_mfd_draw};
  void SetUp() override {
    place_aircraft(LAT, LON, 0);
    reset_p1000();
    s.draw();  // a full frame: the image has pixels a partial frame keeps
  }
  void TearDown() override { reset_p1000(); }

  // Highest design y of the clip outlines set during the last frame, in order.
  std::vector<double> clip_bottoms() {
    std::vector<double> out;
    for (const GfxRecord* r : s.rec().of(GfxOp::SetClip)) {
      double y = -1e9;
      for (const auto& poly : r->clip_device)
        for (const GfxPointF& p : poly) y = std::max(y, s.design(p).y);
      out.push_back(std::round(y));
    }
    return out;
  }
  bool full_fill() {
    for (const GfxRecord* r : s.rec().of(GfxOp::FillRect))
      if (r->args == std::vector<double>{0, 0, 272, 314}) return true;
    return false;
  }
  std::vector<size_t> black_masks() {
    std::vector<size_t> n;
    for (const GfxRecord* r : s.rec().of(GfxOp::FillPolygon))
      if (r->brush_argb == 0xFF000000 && r->points.size() > 5) n.push_back(r->points.size());  // not the range boxes
    return n;
  }
  const GfxRecord* arrow() {
    for (const GfxRecord* r : s.rec().of(GfxOp::Line))
      if (r->pen_arrow_cap) return r;
    return nullptr;
  }
};

TEST_F(P1000Mfd, BlankUnpoweredAndInDrawMode2ThenAFullRepaintAtPowerOn) {
  for (int32_t plan : {0, 1}) {
    p1000_plan_view = plan;
    expect_blank_unpowered_and_in_draw_mode_2(s);
    // The image was cleared: the first powered frame repaints in full although the
    // heading timer asks for a partial one; the next is partial.
    hdg_change_timer = 50;
    s.draw();
    EXPECT_TRUE(full_fill());
    EXPECT_TRUE(s.has("APT"));
    s.draw();
    EXPECT_FALSE(full_fill());
    EXPECT_FALSE(s.has("APT"));
  }
}

TEST_F(P1000Mfd, FullBackgroundBelowTimer2ElseMasksAndOnlyTheChangingValues) {
  struct Case {
    int32_t timer;
    bool full;
  };
  ap_altitude = 12345;
  for (const Case& c : {Case{0, true}, Case{1, true}, Case{2, false}, Case{91, false}}) {
    hdg_change_timer = c.timer;
    s.draw();
    EXPECT_EQ(full_fill(), c.full) << c.timer;
    const std::vector<size_t> masks = c.full ? std::vector<size_t>{} : std::vector<size_t>{18, 17};
    EXPECT_EQ(black_masks(), masks) << c.timer;
    for (const char* legend : {"APT", "NAV", "TCAS", "BDRY", "HDG", "TAS", "GSPD", "ALT"})
      EXPECT_EQ(s.has(legend), c.full) << legend;
    EXPECT_TRUE(s.has("123"));  // the preselected altitude on every frame
  }
  // A partial frame draws the airspeeds only when they changed, over a wipe.
  true_airspeed = true_airspeed_prev = 250;
  ground_speed = ground_speed_copy = 240;
  s.draw();
  EXPECT_FALSE(s.has("250"));
  EXPECT_FALSE(s.has("240"));
  true_airspeed_prev = 249;
  ground_speed_copy = 239;
  s.draw();
  EXPECT_TRUE(near(s.text_at("250"), 223, 213));
  EXPECT_TRUE(near(s.text_at("240"), 223, 237));
  bool wiped = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::FillRect))
    wiped = wiped || r->args == std::vector<double>{224, 214, 35, 12};
  EXPECT_TRUE(wiped);
}

TEST_F(P1000Mfd, NewLegendsOrTheTcasWindowRepaintInFullAtOnce) {
  hdg_change_timer = 50;
  s.draw();
  EXPECT_FALSE(full_fill());
  struct Case {
    int32_t* flag;
    double* value;
    double to;
    const char* shown;
  };
  const Case cases[] = {
      {&p1000_cntr_open, nullptr, 1, "VNAV"},      {&p1000_cntr_menu, nullptr, 2, "ST EL"},
      {&p1000_vnav_dist_sel, nullptr, 1, "[---]"}, {nullptr, &p1000_vnav_distance, 7, "[ 7]"},
      {&tcas_shown, nullptr, 1, "TCAS"},           {&tcas_shown, nullptr, 0, "ST EL"},
  };
  for (const Case& c : cases) {
    if (c.flag) *c.flag = int32_t(c.to);
    if (c.value) *c.value = c.to;
    s.draw();
    EXPECT_TRUE(full_fill()) << c.shown;
    EXPECT_TRUE(s.has(c.shown)) << c.shown;
    s.draw();
    EXPECT_FALSE(full_fill()) << c.shown;
  }
}

TEST_F(P1000Mfd, HeadingAirspeedAndAltitudeFields) {
  struct Case {
    double ap_heading, ap_altitude, tas, gs;
    Layers present;
    Layers absent;
  };
  const Case cases[] = {
      {0.4, 12345, 250, 240, {"360", "123", "250", "240"}, {}},
      {359.9, 50, 0, 5, {"359", "000"}, {"5", "0"}},
  };
  for (const Case& c : cases) {
    ap_heading = c.ap_heading;
    ap_altitude = c.ap_altitude;
    true_airspeed = c.tas;
    ground_speed = c.gs;
    s.draw();
    for (const std::string& t : c.present) EXPECT_TRUE(s.has(t)) << t;
    for (const std::string& t : c.absent) EXPECT_FALSE(s.has(t)) << t;
  }
  EXPECT_TRUE(near(s.text_at("359"), 0, 205));
  int32_t amber = 0;
  for (const GfxTextItem& t : s.rec().text_items()) amber += t.text == "---" && t.argb == 0xFFE9B73E;
  EXPECT_EQ(amber, 2);  // no true airspeed, ground speed 5 kt
  EXPECT_EQ(s.text_colour("000"), CYAN);
}

TEST_F(P1000Mfd, ClipOutlinesStopAboveTheTcasWindow) {
  struct Case {
    int32_t tcas, setting, plan;
    std::vector<double> bottoms;
    bool window;
  };
  // Normal view: outline 1 for the compass, then outline 2 (set twice: map, overlays).
  const Case cases[] = {
      {0, 1, 0, {215, 271, 271, 271}, false},     {1, 1, 0, {172, 185, 185, 185, 258, 272}, true},
      {1, 0, 0, {215, 271, 271, 271}, false},     {0, 1, 1, {185, 185, 185}, false},
      {1, 1, 1, {171, 171, 171, 258, 272}, true},
  };
  for (const Case& c : cases) {
    tcas_shown = c.tcas;
    DrawTcasWindowOnP1000MFD = c.setting;
    p1000_plan_view = c.plan;
    s.draw();
    EXPECT_EQ(clip_bottoms(), c.bottoms) << c.tcas << c.setting << c.plan;
    bool window = false;
    for (const GfxTextItem& t : s.rec().text_items())
      window = window || (t.text == "TCAS" && near(s.design(t.device), 41, 175));
    EXPECT_EQ(window, c.window);
  }
}

TEST_F(P1000Mfd, PlanViewGeometryIsNorthUpAndLeavesTheMapHeadingAlone) {
  place_aircraft(LAT, LON, 90);
  p1000_plan_view = 1;
  s.draw();
  EXPECT_EQ(p1000_map_cy, 116);
  EXPECT_EQ(p1000_map_radius, 75);
  EXPECT_EQ(map_heading, 90);
  EXPECT_EQ(layers, (Layers{"compass", "route", "status"}));
  // No plan: the aircraft symbol (yellow in the plan view) at the map centre.
  bool centred = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
    if (r->pen_argb == YELLOW) centred = centred || near(s.design_of(*r, 0, 0), 134, 116);
  EXPECT_TRUE(centred);
  // No compass scale, ring radius 75 about (134, 114), the north arrow's "N".
  EXPECT_TRUE(near(s.text_at("N"), 5, 40));
  EXPECT_FALSE(s.has("E"));
}

TEST_F(P1000Mfd, PlanViewFrameDoesNotTurnAnotherDisplaysMapNorthUp) {
  NdScene nd{CANVAS_B737_ND, hw_b737_nd_draw};
  place_aircraft(LAT, LON, 90);
  b737_nd_mode = 4;
  nd.draw();
  const std::vector<GfxTextItem> before = nd.rec().text_items();
  p1000_plan_view = 1;
  s.draw();
  nd.draw();
  const std::vector<GfxTextItem> after = nd.rec().text_items();
  ASSERT_EQ(before.size(), after.size());
  for (size_t i = 0; i < before.size(); ++i)
    EXPECT_TRUE(near(after[i].device, before[i].device.x, before[i].device.y, 0.01));
}

TEST_F(P1000Mfd, ControllerOnScreenDropsBoundariesAndRunwaysAndShowsTheOffScaleArrow) {
  atc_bdry_on = 1;
  loaded_rwy_index = 1;
  loaded_rwy_count = 1;
  p1000_mfd_range = 2.5;
  struct Case {
    int32_t open, draw_mode;
    double heading, selected;
    Layers map;
    const char* arrow_at;  // "left", "right" or none
  };
  const Case cases[] = {
      {0, 1, 0, 100, {"boundaries", "centerline", "runways"}, nullptr},
      {0, 3, 0, 100, {"centerline", "runways"}, nullptr},
      {1, 1, 0, 100, {}, "right"},
      {1, 1, 0, 65, {}, nullptr},
      {1, 1, 200, 100, {}, "left"},
      {1, 1, 0, 180, {}, "right"},
      {1, 1, 180, 0, {}, "left"},
  };
  for (const Case& c : cases) {
    p1000_cntr_open = c.open;
    place_aircraft(LAT, LON, c.heading);
    ap_heading = c.selected;
    s.draw(c.draw_mode);
    Layers map;
    for (const std::string& l : layers)
      if (l == "boundaries" || l == "centerline" || l == "runways") map.push_back(l);
    EXPECT_EQ(map, c.map) << c.open << " " << c.selected;
    const GfxRecord* a = arrow();
    ASSERT_EQ(a != nullptr, c.arrow_at != nullptr) << c.heading << " " << c.selected;
    if (a) {
      EXPECT_TRUE(near(s.design_of(*a, 0, 0), std::strcmp(c.arrow_at, "left") == 0 ? 40 : 230, 60));
    }
    // The dashed heading line only while the controller is off screen.
    EXPECT_EQ(s.rec().count(GfxOp::Line, CYAN) - (a ? 1 : 0), c.open ? 0 : 1);
  }
}

TEST_F(P1000Mfd, SoftKeyLegendsFollowTheControllerMenu) {
  struct Case {
    int32_t open, menu, dist_sel, elev_sel, vang_sel;
    double distance, elevation, vs;
    Layers present;
    Layers absent;
  };
  FPA = 3.0;
  const Case cases[] = {
      {0, 1, 0, 0, 0, 0, 0, 0, {"APT", "NAV", "---", "TCAS", "ATC", "BDRY"}, {"VNAV", "SET"}},
      {1, 1, 0, 0, 0, 0, 0, 0, {"VNAV", "T/O", "SPEEDS", "LNDG"}, {"APT", "SET"}},
      {1, 2, 2, 0, 0, 12, 0, 0, {"SET", "RTN", "FM", "[12]", "ST EL", "---", "VANG", "3.0", "VS"}, {"TO", "APT"}},
      {1, 2, 1, 0, 1, 12, 1500, 700, {"TO", "[12]", "1500", "[---]", " 700"}, {"FM"}},
      {1, 2, 0, 1, 0, 0, 1500, 0, {"TO", "[1500]", "3.0"}, {"[12]"}},
      {1, 3, 0, 0, 0, 0, 0, 0, {"ALT"}, {"APT", "VNAV", "SET"}},
  };
  for (const Case& c : cases) {
    p1000_cntr_open = c.open;
    p1000_cntr_menu = c.menu;
    p1000_vnav_dist_sel = c.dist_sel;
    p1000_vnav_elev_sel = c.elev_sel;
    p1000_vnav_vang_sel = c.vang_sel;
    p1000_vnav_distance = c.distance;
    p1000_vnav_elevation = c.elevation;
    p1000_vnav_vs = c.vs;
    s.draw();
    for (const std::string& t : c.present) EXPECT_TRUE(s.has(t)) << c.menu << " " << t;
    for (const std::string& t : c.absent) EXPECT_FALSE(s.has(t)) << c.menu << " " << t;
  }
  EXPECT_TRUE(near(s.text_at("ALT"), 228, 275));
  FPA = 0;
}

TEST_F(P1000Mfd, CompassScaleWindowAndCentredLabels) {
  struct Case {
    double heading;
    int32_t ticks;
    Layers present;
    Layers absent;
  };
  // 5-degree ticks strictly within 65 degrees either side: 25 of them.
  const Case cases[] = {
      {350, 25, {"30", "33", "N", "3"}, {"W", "6"}},
      {0, 25, {"30", "33", "N", "3", "6"}, {"E", "W"}},
  };
  for (const Case& c : cases) {
    place_aircraft(LAT, LON, c.heading);
    s.draw();
    int32_t ticks = 0;
    for (const GfxRecord* r : s.rec().of(GfxOp::Line)) ticks += r->pen_argb == WHITE && r->pen_width == 2.5;
    EXPECT_EQ(ticks, c.ticks) << c.heading;
    for (const std::string& t : c.present) EXPECT_TRUE(s.has(t)) << t;
    for (const std::string& t : c.absent) EXPECT_FALSE(s.has(t)) << t;
  }
  // Centred on the tick: its layout point left of the tick by half its width.
  EXPECT_LT(s.world("33").x, 0.0);
  EXPECT_EQ(s.world("33").y, -108);
  // The range boxes show the range.
  EXPECT_TRUE(s.has("12.5"));
}

struct P1000Route : P1000Mfd {
  void SetUp() override {
    P1000Mfd::SetUp();
    p1000_mfd_range = 40;
    set_active_plan({"AAA", "BBB", "CCC", "DDD"}, 1, LAT, LON);
  }
  void TearDown() override {
    dto_active = 0;
    P1000Mfd::TearDown();
  }
  // Canvas point of a record's stored screen point (route units).
  GfxPointF stored(int32_t i) { return {fpl_active[i].screen_x / 8.0, fpl_active[i].screen_y / 8.0}; }
  // Route legs: white, 2 canvas units (16 route units) wide.
  int32_t route_lines() {
    int32_t n = 0;
    for (const GfxRecord* r : s.rec().of(GfxOp::Line)) n += r->pen_argb == WHITE && r->pen_width == 16;
    return n;
  }
};

TEST_F(P1000Route, NormalViewPlotsFromTheActiveWaypointAndStoresItsPoints) {
  s.draw();
  EXPECT_EQ(fpl_active[0].screen_x, DRAW_COORD_OFF);  // no previous leg asked for
  for (int32_t i = 1; i <= 3; ++i) EXPECT_TRUE(near(stored(i), 134, 148 - 10.0 * i * 53 / 40, 1)) << i;
  EXPECT_TRUE(s.has("BBB"));
  EXPECT_FALSE(s.has("AAA"));
  EXPECT_EQ(s.text_colour("BBB"), 0xFFFF13D5u);
  EXPECT_EQ(s.text_colour("CCC"), WHITE);
  // Previous leg: only with the setting, from 5 NM range, never before record 0 (the
  // origin active reads no record before it).
  DispPrevWpt = 1;
  struct Case {
    int32_t active;
    double range;
    bool previous;
  };
  for (const Case& c : {Case{1, 5, true}, Case{1, 2.5, false}, Case{0, 40, false}}) {
    fpl_active_index = c.active;
    p1000_mfd_range = c.range;
    s.draw();
    EXPECT_EQ(s.rec().count(GfxOp::Line, YELLOW), c.previous ? 1 : 0) << c.active << " " << c.range;
    EXPECT_EQ(s.text_colour("AAA") == YELLOW, c.previous);
  }
}

// The map and the plan view: the dashed leg from where the direct-to was made and "DCT" there
// (its text 7 right of and 6 over the point, clear of the range boxes), not at the record
// before the active one.
TEST_F(P1000Route, PreviousLegAfterADirectStartsWhereTheDirectWasMade) {
  DispPrevWpt = 1;
  double lat, lon;
  point_from(LAT, LON, 270, 20, lat, lon);
  dto_active = 1;
  dto_origin_lat = lat;
  dto_origin_lon = lon;
  const struct {
    int32_t plan_view;
    double x, y;  // the origin: 20 NM west of the aircraft, at 53 (map) or 75 (plan) units per 40 NM
  } rows[] = {{0, 134 - 20.0 * 53 / 40, 148}, {1, 134 - 20.0 * 75 / 40, 116 + 10.0 * 75 / 40}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.plan_view);
    p1000_plan_view = row.plan_view;
    s.rec().clear();
    s.draw();
    EXPECT_TRUE(near(s.text_at("DCT"), row.x + 7, row.y - 6, 2.0)) << s.text_at("DCT").x << ", " << s.text_at("DCT").y;
    EXPECT_EQ(s.text_colour("DCT"), YELLOW);
    bool dashed = false;
    for (const GfxRecord* r : s.rec().of(GfxOp::Line))
      dashed = dashed || (r->pen_argb == YELLOW && near(s.design_of(*r, r->args[0], r->args[1]), row.x, row.y, 2.0));
    EXPECT_TRUE(dashed) << "no leg from the direct-to's origin";
  }
}

TEST_F(P1000Route, PlanViewCentresOnTheActiveWaypointWithTheAircraftWhereItStands) {
  p1000_plan_view = 1;
  s.draw();
  for (int32_t i = 0; i <= 3; ++i) EXPECT_TRUE(near(stored(i), 134, 116 - 10.0 * (i - 1) * 75 / 40, 1)) << i;
  EXPECT_TRUE(s.has("AAA"));
  bool plotted = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::Lines))
    if (r->pen_argb == YELLOW) plotted = plotted || near(s.design_of(*r, 0, 0), 134, 116 + 10.0 * 75 / 40, 1.5);
  EXPECT_TRUE(plotted);
  EXPECT_EQ(route_lines(), 3);
}

TEST_F(P1000Route, DiscontinuityLiftsThePenAndIsNotMarked) {
  set_active_plan({"AAA", "BBB", "DISCO", "DDD", "EEE"}, 1, LAT, LON);
  s.draw();
  EXPECT_EQ(fpl_active[2].screen_x, DRAW_COORD_OFF);
  EXPECT_FALSE(s.has("DISCO"));
  EXPECT_TRUE(s.has("DDD"));
  // Aircraft to BBB, then DDD to EEE.
  EXPECT_EQ(route_lines(), 2);
}

TEST_F(P1000Route, ActiveWaypointBlockRightAlignsDistanceAndTime) {
  struct Case {
    double dist, gs;
    const char *d, *t;
    double dx, tx;
  };
  const Case cases[] = {
      {7.26, 300, "7.3", "1", 218, 229},
      {123.4, 20, "123.4", "0", 202, 229},
      {123.4, 200, "123.4", "37", 202, 222},
      {1234567.8, 100, "1234567.8", "740741", 171, 190},
  };
  for (const Case& c : cases) {
    dist_to_active_wpt = c.dist;
    ground_speed = c.gs;
    s.draw();
    EXPECT_TRUE(near(s.text_at(c.d), c.dx, 13)) << c.d << " " << s.text_at(c.d).x << " " << s.text_at(c.d).y;
    EXPECT_TRUE(near(s.text_at(c.t), c.tx, 39)) << c.t << " " << s.text_at(c.t).x << " " << s.text_at(c.t).y;
  }
  EXPECT_TRUE(near(s.text_at("FMS"), 220, 0));
  bool ident = false;
  for (const GfxTextItem& t : s.rec().text_items())
    ident = ident || (t.text == "BBB" && near(s.design(t.device), 220, 26));
  EXPECT_TRUE(ident);
  // A partial frame with nothing changed writes no block text; a new distance is written.
  hdg_change_timer = 40;
  dist_to_active_wpt_prev = dist_to_active_wpt;
  ete_active_min_prev = ete_active_min;
  s.draw();
  for (const char* t : {"FMS", "NM", "MIN", "1234567.8", "740741"}) EXPECT_FALSE(s.has(t)) << t;
  EXPECT_TRUE(s.has("BBB"));  // the map ident stays
  dist_to_active_wpt = 9.5;
  s.draw();
  EXPECT_TRUE(near(s.text_at("9.5"), 218, 13));
}

TEST_F(P1000Route, HostileValuesWriteOnlyTheScreenPoints) {
  constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double INF = std::numeric_limits<double>::infinity();
  set_active_plan({"AAA", "DISCO", "CCC", "THEN", "LONGIDENT12"}, 2, LAT, LON);
  FlightPlanWpt before[6];
  std::memcpy(before, fpl_active, sizeof before);
  tcas_shown = atc_bdry_on = p1000_show_navaids = p1000_show_airports = 1;
  DispPrevWpt = 1;
  for (double v : {NaN, INF, -1e300, 1e300}) {
    for (double* d : {&heading, &map_heading, &ap_heading, &ap_altitude, &ground_speed, &true_airspeed,
                      &dist_to_active_wpt, &wind_speed, &wind_direction, &p1000_mfd_range, &FPA, &p1000_vnav_vs})
      *d = v;
    for (int32_t plan : {0, 1, 2})
      for (int32_t menu : {1, 2}) {
        p1000_plan_view = plan;
        p1000_cntr_open = 1;
        p1000_cntr_menu = menu;
        s.draw();
        for (const std::string& t : s.rec().texts()) EXPECT_LT(t.size(), 24u) << t;
      }
  }
  for (int32_t i = 0; i < 6; ++i) {
    fpl_active[i].screen_x = before[i].screen_x;
    fpl_active[i].screen_y = before[i].screen_y;
    EXPECT_EQ(std::memcmp(&before[i], &fpl_active[i], sizeof before[i]), 0) << i;
  }
  EXPECT_EQ(fpl_active_index, 2);
  EXPECT_EQ(map_heading, 1e300);
  place_aircraft(LAT, LON, 0);
  FPA = 0;
}

// Through the host: the display's initialise starts a full repaint, the legends come
// only with full frames, and the controller's plan key repaints the plan view.
struct P1000Host : ModuleTest {
  P1000Host() : ModuleTest("/tmp/vek-p1000-XXXXXX", 272) {}
  GfxRecording* rec() { return gfx_recording_of(host_.find_gauge("P1000_MFD")->drawn_image()); }
};

TEST_F(P1000Host, InitialiseRepaintsInFullThenLegendsOnlyOnFullFrames) {
  start({{"P1000_MFD", ""}, {"P1000_MFD_CNTR", ""}});
  EXPECT_EQ(update_warmup, 999);
  host_.set_draw_recording(true);
  // The avionics switch is sampled every few frames: the first powered frame is full.
  for (int32_t i = 0; i < 40 && display_power == 0; ++i) host_.run_frames(1);
  host_.run_frames(1);
  ASSERT_NE(rec(), nullptr);
  auto count = [&](const std::string& t) {
    int32_t n = 0;
    for (const std::string& x : rec()->texts()) n += x == t;
    return n;
  };
  auto masks = [&] {
    int32_t n = 0;
    for (const GfxRecord* r : rec()->of(GfxOp::FillPolygon)) n += r->points.size() == 18;
    return n;
  };
  EXPECT_EQ(count("HDG"), 1);
  // The host keeps the picture: later partial frames add their masks and values to
  // the full frame's legends, which are not drawn again.
  host_.run_frames(10);
  EXPECT_EQ(count("HDG"), 1);
  EXPECT_EQ(count("VNAV"), 1);  // the controller is on screen
  EXPECT_GE(masks(), 5);
  std::string error;
  ASSERT_TRUE(host_.click_index("P1000_MFD_CNTR", 2, &error)) << error;
  host_.run_frames(1);
  EXPECT_EQ(p1000_plan_view, 1);
  EXPECT_EQ(masks(), 0);
  EXPECT_EQ(count("VNAV"), 1);
  EXPECT_EQ(count("APT"), 0);
  ASSERT_TRUE(host_.click_index("P1000_MFD_CNTR", 2, &error)) << error;
  host_.run_frames(1);
}

}  // namespace

namespace {

// A waypoint's ident where it would stand on a range box: it stands left of its star, or
// above or below the boxes' row where a box is on either side, whole and clear of both
// boxes; the boxes, drawn after the map's items, keep the range readable in both views.
TEST_F(P1000Route, MapsIdentsStandClearOfTheRangeBoxes) {
  struct Case {
    int32_t plan_view;
    double course, dist;  // of the active waypoint from the aircraft, at 40 NM range
  };
  // On the right box; just behind the aircraft, a box either side; on the plan view's right box.
  for (const Case& c : {Case{0, 86, 23.5}, Case{0, 180, 3}, Case{1, 90, 0}}) {
    SCOPED_TRACE(c.plan_view * 1000 + c.course);
    p1000_plan_view = c.plan_view;
    set_active_plan({"AAA", "BBBBB", "CCC"}, 1, LAT, LON);
    // In the plan view the ring centres on the active waypoint: the next one lies on the box.
    const int32_t on_box = c.plan_view ? 2 : 1;
    double lat, lon;
    if (c.plan_view)
      point_from(fpl_active[1].lat, fpl_active[1].lon, 90, 40.0 * (195 - 7 - 134) / 75 - 1, lat, lon);
    else
      point_from(LAT, LON, c.course, c.dist, lat, lon);
    fpl_active[on_box].lat = lat;
    fpl_active[on_box].lon = lon;
    s.draw();
    size_t ident = 0, range = 0;
    GfxRectF ink{};
    // The ident on the map (the first drawn; the active block repeats the active one).
    for (const GfxTextItem& t : s.rec().text_items())
      if (t.text == fpl_active[on_box].ident && ident == 0) ident = t.record, ink = t.ink;
    for (const GfxTextItem& t : s.rec().text_items())
      if (t.text == " 40") range = t.record;
    ASSERT_GT(ident, 0u);
    ASSERT_GT(range, ident);
    const GfxPointF a = s.design({ink.x, ink.y}), b = s.design({ink.x + ink.width, ink.y + ink.height});
    // The boxes: black fills 27 x 16 drawn after the ident.
    int32_t boxes = 0;
    for (size_t i = ident + 1; i < s.rec().records.size(); ++i) {
      const GfxRecord& r = s.rec().records[i];
      if (r.op != GfxOp::FillPolygon || r.brush_argb != 0xFF000000u) continue;
      GfxPointF lo{1e9f, 1e9f}, hi{-1e9f, -1e9f};
      for (const GfxPointF& p : GfxRecording::device_points(r)) {
        const GfxPointF d = s.design(p);
        lo = {std::min(lo.x, d.x), std::min(lo.y, d.y)}, hi = {std::max(hi.x, d.x), std::max(hi.y, d.y)};
      }
      if (std::fabs(hi.x - lo.x - 27) > 0.5 || std::fabs(hi.y - lo.y - 16) > 0.5) continue;
      ++boxes;
      EXPECT_TRUE(b.x <= lo.x || a.x >= hi.x || b.y <= lo.y || a.y >= hi.y)
          << "ident x " << a.x << ".." << b.x << " y " << a.y << ".." << b.y << " on the box at " << lo.x;
    }
    EXPECT_EQ(boxes, 2);
  }
}

}  // namespace
