// B737 ND route overlays (active and pending plan) and the curved trend vector.
#include <gtest/gtest.h>

#include <cstring>

#include "flightplan/fpl_ops.h"
#include "flightplan/route_progress.h"
#include "guidance/settings.h"
#include "navdb/navdb.h"
#include "nd_scene.h"

using namespace nd_test;

namespace {

constexpr double LAT = 47.0, LON = -122.0;
constexpr uint32_t PENDING = 0xFF02A7EB;

struct B737Route : ::testing::Test {
  NdScene s{CANVAS_B737_ND, hw_b737_nd_draw};
  void SetUp() override {
    place_aircraft(LAT, LON, 0);
    magvar = 0;
    b737_nd_mode = 5;
    b737_nd_range = 40;
    nd_apt_on = nd_nav_on = nd_int_on = 0;
    fpl_active_index = FPL_NO_PLAN;
    fpl_edit_index = FPL_NO_PLAN;
    fpl_changed_state = 3;
    loaded_rwy_index = -999;
  }
  int32_t lines(uint32_t colour, int32_t dash) {
    int32_t n = 0;
    for (const GfxRecord* r : s.rec().of(GfxOp::Line))
      if (r->pen_argb == colour && r->pen_dash == dash) ++n;
    return n;
  }
};

TEST_F(B737Route, WithoutPlanOnlyTheRangeArcs) {
  nd_range_arcs_on = 1;
  s.draw();
  EXPECT_EQ(lines(COLOUR_MAGENTA, GFX_DASH_SOLID), 0);
  auto arcs = s.rec().of(GfxOp::Arc);
  ASSERT_EQ(arcs.size(), 3u);
  EXPECT_EQ(arcs[0]->args, (std::vector<double>{-54, -54, 108, 108, 180, 180}));
  EXPECT_EQ(arcs[2]->args, (std::vector<double>{-162, -162, 325, 325, 180, 180}));
  b737_nd_mode = 6;
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::Arc), 0);
}

TEST_F(B737Route, LegsFromTheAircraftWithTheActiveWaypointInMagenta) {
  set_active_plan({"KAAA", "ALPHA", "BRAVO", "CHRLY"}, 1, LAT - 10.0 / 60, LON);
  s.draw();
  EXPECT_EQ(lines(COLOUR_MAGENTA, GFX_DASH_SOLID), 3);
  EXPECT_EQ(s.text_colour("ALPHA"), COLOUR_MAGENTA);
  EXPECT_EQ(s.text_colour("BRAVO"), COLOUR_WHITE);
  EXPECT_FALSE(s.has("KAAA"));
  // BRAVO 10 NM ahead at 40 NM range: 53.75 units above the aircraft.
  EXPECT_TRUE(near(s.text_at("BRAVO"), 129, 249 - 53.75 - 7, 1.5));
  // Plan mode draws every record from the origin about the active waypoint, north up.
  b737_nd_mode = 7;
  s.draw();
  EXPECT_TRUE(s.has("KAAA"));
  EXPECT_TRUE(near(s.text_at("ALPHA"), 129, 171 - 7, 1.5));
  EXPECT_EQ(lines(COLOUR_MAGENTA, GFX_DASH_SOLID), 3);
}

TEST_F(B737Route, DiscontinuityLiftsThePenInBothPlans) {
  set_active_plan({"KAAA", "ALPHA", "DISCO", "CHRLY", "THEN", "DELTA"}, 1, LAT - 10.0 / 60, LON);
  fpl_active[2].lat = fpl_active[2].lon = 0;  // a discontinuity has no position
  fpl_active[4].lat = fpl_active[4].lon = 0;
  s.draw();
  EXPECT_EQ(lines(COLOUR_MAGENTA, GFX_DASH_SOLID), 1);  // aircraft to ALPHA only
  EXPECT_FALSE(s.has("DISCO"));
  EXPECT_TRUE(s.has("CHRLY"));

  set_plan(fpl_edit, fpl_edit_last, {"KAAA", "ALPHA", "DISCO", "CHRLY", "DELTA"}, LAT - 10.0 / 60, LON);
  fpl_edit[2].lat = fpl_edit[2].lon = 0;
  fpl_edit_index = 1;
  fpl_changed_state = 1;
  s.draw();
  EXPECT_EQ(lines(PENDING, GFX_DASH_DASH), 2);  // aircraft to ALPHA, CHRLY to DELTA
  fpl_changed_state = 4;
  s.draw();
  EXPECT_EQ(lines(PENDING, GFX_DASH_DASH), 0);
  EXPECT_GE(lines(COLOUR_WHITE, GFX_DASH_DASH), 2);
  // The edit record that is also the active index carries no second ident.
  int32_t alpha = 0;
  for (const std::string& t : s.rec().texts()) alpha += t == "ALPHA";
  EXPECT_EQ(alpha, 1);

  // The C-17 twin draws the same pending legs in its own colour, on its own canvas.
  fpl_changed_state = 1;
  c17_mfd_mode = 3;
  map_px_per_nm = 215.0 / 40;
  GfxGraphics* g = nullptr;
  ASSERT_EQ(gfx_create(&s.image, &g), GFX_OK);
  s.rec().clear();
  GaugeSurface c17{246, 241};
  c17_mfd_mod_route_draw(&c17, g);
  gfx_delete(g);
  EXPECT_EQ(lines(0xFF18C2E7, GFX_DASH_DASH), 2);
}

TEST_F(B737Route, InterceptCourseLegRunsAlongTheCourse) {
  set_active_plan({"KAAA", "ALPHA", "BRAVO"}, 1, LAT - 10.0 / 60, LON);
  fpl_active[1].intc_course = 90;
  s.draw();
  bool east = false;
  for (const GfxRecord* r : s.rec().of(GfxOp::Line))
    if (r->pen_argb == COLOUR_MAGENTA && r->args[2] > 1000) east = true;  // 200 NM to the right
  EXPECT_TRUE(east);
}

TEST_F(B737Route, RunwaysBelowEightyAndTheOriginCircleAbove) {
  set_active_plan({"KAAA", "ALPHA", "BRAVO"}, 1, LAT, LON);
  apt_blocks[1].rwy_count = 1;
  fpl_set_text(apt_blocks[1].rwys[1].ident, "36");
  apt_blocks[1].rwys[1].lat = LAT;
  apt_blocks[1].rwys[1].lon = LON;
  apt_blocks[1].rwys[1].heading = 0;
  apt_blocks[1].rwys[1].length_ft = 2640;
  origin_runway_index = 1;
  b737_nd_range = 10;
  s.draw();
  EXPECT_EQ(lines(COLOUR_YELLOW, GFX_DASH_DASH), 1);
  EXPECT_EQ(lines(COLOUR_WHITE, GFX_DASH_DASH), 3);
  // The sides are half a mile long, half a mile either side: 10.75 units.
  int32_t sides = 0;
  for (const GfxRecord* r : s.rec().of(GfxOp::Line))
    if (r->pen_argb == COLOUR_WHITE && r->pen_dash == GFX_DASH_DASH && std::fabs(r->args[0]) >= 10 &&
        std::fabs(r->args[0]) <= 11 && std::fabs(r->args[1] - r->args[3]) >= 10 && std::fabs(r->args[1] - r->args[3]) <= 11)
      ++sides;
  EXPECT_EQ(sides, 2);
  origin_runway_index = 5;  // beyond the block's runways: none
  s.draw();
  EXPECT_EQ(lines(COLOUR_YELLOW, GFX_DASH_DASH), 0);
  origin_runway_index = 1;
  b737_nd_range = 80;
  s.draw();
  EXPECT_EQ(lines(COLOUR_YELLOW, GFX_DASH_DASH), 0);
  EXPECT_TRUE(s.has("KAAA"));
  auto circles = s.rec().of(GfxOp::Ellipse);
  bool origin_circle = false;
  for (const GfxRecord* r : circles) origin_circle |= r->args[2] == 10 && r->args[3] == 10;
  EXPECT_TRUE(origin_circle);
}

TEST_F(B737Route, PreviousWaypointOrDirectToOrigin) {
  DispPrevWpt = 1;
  set_active_plan({"KAAA", "ALPHA", "BRAVO"}, 0, LAT + 10.0 / 60, LON);
  s.draw();
  EXPECT_EQ(lines(COLOUR_YELLOW, GFX_DASH_DASH), 0);
  fpl_active_index = 1;
  s.draw();
  EXPECT_EQ(lines(COLOUR_YELLOW, GFX_DASH_DASH), 1);
  EXPECT_EQ(s.text_colour("KAAA"), COLOUR_YELLOW);
  dto_active = 1;
  dto_origin_lat = LAT;
  dto_origin_lon = LON;
  s.draw();
  EXPECT_EQ(s.text_colour("DCT"), COLOUR_YELLOW);
  b737_nd_range = 2.5;
  s.draw();
  EXPECT_FALSE(s.has("DCT"));
}

// ---- trend vector ----

std::vector<const GfxRecord*> white_arcs(NdScene& s) {
  std::vector<const GfxRecord*> out;
  for (const GfxRecord* r : s.rec().of(GfxOp::Arc))
    if (r->pen_argb == COLOUR_WHITE) out.push_back(r);
  return out;
}

TEST_F(B737Route, TrendVectorSegmentsByRange) {
  ground_speed = 250;
  adi_token80 = 25;
  s.draw();
  auto arcs = white_arcs(s);
  ASSERT_EQ(arcs.size(), 3u);
  EXPECT_EQ(arcs[0]->args[4], 0);
  EXPECT_EQ(arcs[0]->args[5], -60);  // about 2.03 degrees a second for 30 seconds
  // Radius about 1.96 NM: the circle to the left of the aircraft, 2 x 1.96 x 215 / 40 across.
  EXPECT_NEAR(arcs[0]->args[2], 21, 1);
  EXPECT_EQ(arcs[0]->args[0], -arcs[0]->args[2]);
  b737_nd_range = 20;
  s.draw();
  EXPECT_EQ(white_arcs(s).size(), 2u);
  b737_nd_range = 10;
  s.draw();
  EXPECT_EQ(white_arcs(s).size(), 1u);
  adi_token80 = -25;
  s.draw();
  ASSERT_EQ(white_arcs(s).size(), 1u);
  EXPECT_EQ(white_arcs(s)[0]->args[0], 0);
  EXPECT_EQ(white_arcs(s)[0]->args[4], 180);
  EXPECT_EQ(white_arcs(s)[0]->args[5], 60);
}

TEST_F(B737Route, NoTrendVectorWingsLevelOrStanding) {
  ground_speed = 250;
  adi_token80 = 0;
  s.draw();
  EXPECT_TRUE(white_arcs(s).empty());
  ground_speed = 0;
  adi_token80 = 20;
  s.draw();
  EXPECT_TRUE(white_arcs(s).empty());
}

}  // namespace

TEST(RouteLabels, ActiveFixFlownAgainKeepsItsMagentaLabelOnEveryDisplay) {
  place_aircraft(LAT, LON, 0);
  b737_nd_mode = 5;
  md11_nd_mode = md80_ehsi_mode = 3;
  b737_nd_range = md11_nd_range = md80_ehsi_range = 40;
  md11_nd_map_radius = 150;
  set_active_plan({"KAAA", "ALPHA", "BRAVO", "ALPHA"}, 1, LAT - 10.0 / 60, LON);  // ALPHA again on the way back
  fpl_active[3].lat = fpl_active[1].lat;
  fpl_active[3].lon = fpl_active[1].lon;
  using Display = std::pair<DesignCanvas, Dispatcher>;
  for (auto [canvas, draw] : {Display{CANVAS_B737_ND, hw_b737_nd_draw}, Display{CANVAS_MD11_ND, hw_md11_nd_draw},
                              Display{CANVAS_MD80_EHSI, md80_ehsi_draw}}) {
    NdScene s{canvas, draw};
    s.draw();
    EXPECT_TRUE(s.has("ALPHA"));
    for (const GfxTextItem& t : s.rec().text_items()) EXPECT_TRUE(t.text != "ALPHA" || t.argb == COLOUR_MAGENTA);
  }
}

namespace {

// A waypoint whose ident would run under the vertical-deviation scale's box stands left of
// its point while the scale is shown; elsewhere, and without the scale, right of it.
TEST_F(B737Route, IdentsStandClearOfTheDeviationScale) {
  struct Case {
    double course, dist;  // of the active waypoint from the aircraft (heading north, 40 NM arc)
    bool under;           // its ident right of its point runs under the scale's box
  };
  // Design box of the ident's ink, with the scale shown or not.
  auto ident_box = [&](int32_t descent) {
    vnav_descent_started = descent;
    s.draw();
    GfxRectF ink{};
    for (const GfxTextItem& t : s.rec().text_items())
      if (t.text == "FOURT") ink = t.ink;
    const GfxPointF a = s.design({ink.x, ink.y}), b = s.design({ink.x + ink.width, ink.y + ink.height});
    return std::pair<GfxPointF, GfxPointF>{a, b};
  };
  auto in_box = [](GfxPointF a, GfxPointF b) {
    return a.x < B737_VDEV_BOX[0] + B737_VDEV_BOX[2] && b.x > B737_VDEV_BOX[0] &&
           a.y < B737_VDEV_BOX[1] + B737_VDEV_BOX[3] && b.y > B737_VDEV_BOX[1];
  };
  for (const Case& c : {Case{76, 15, true}, Case{0, 10, false}, Case{76, 8, false}}) {
    SCOPED_TRACE(std::to_string(c.course) + " " + std::to_string(c.dist));
    set_active_plan({"KAAA", "FOURT", "KBBB"}, 1, LAT, LON);
    point_from(LAT, LON, c.course, c.dist, fpl_active[1].lat, fpl_active[1].lon);
    const auto plain = ident_box(0);
    const auto shown = ident_box(1);
    ASSERT_GT(plain.second.x, plain.first.x);
    EXPECT_EQ(in_box(plain.first, plain.second), c.under);
    EXPECT_FALSE(in_box(shown.first, shown.second)) << shown.first.x << ".." << shown.second.x;
    if (c.under) {
      EXPECT_LT(shown.second.x, plain.first.x);  // left of its point
    } else {
      EXPECT_TRUE(near(shown.first, plain.first.x, plain.first.y, 0.01));
    }
  }
  vnav_descent_started = 0;
}

}  // namespace
