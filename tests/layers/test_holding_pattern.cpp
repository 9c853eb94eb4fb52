// Holding-pattern layer: racetrack figure, turn side, frames and member gates.
#include <gtest/gtest.h>

#include <cmath>

#include "draw/holding_pattern_layer.h"
#include "guidance/hold_legs.h"
#include "guidance/lnav_vnav_state.h"
#include "layer_scene.h"
#include "module/display_state.h"

namespace {

constexpr double LAT = 47.0, LON = -122.0;

void set_hold(NavPoint fix, int32_t turn, double leg, double inbound) {
  hold_count = 1;
  HoldRecord& h = hold_list[1];
  h = HoldRecord{};
  h.active_wpt = 1;
  h.turn = turn;
  h.leg_dist = leg;
  h.inbound_course = inbound;
  h.lat = fix.lat;
  h.lon = fix.lon;
}

// The outbound leg is the second line; its x in the rotated frame.
double outbound_x(GfxRecording& rec) { return rec.of(GfxOp::Line).at(1)->args[0]; }

TEST(HoldLayer, B737RacetrackAroundTheFixOnTheTurnSide) {
  place_aircraft(LAT, LON);
  set_hold(point_from(LAT, LON, 0, 10), 1, 4, 0);
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_hold_layer(s.ctx(), s.g, 215, 122, 249, 40);
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_MAGENTA), 3);
  EXPECT_EQ(s.rec().count(GfxOp::Arc, COLOUR_MAGENTA), 2);
  const GfxRecord& first = *s.rec().of(GfxOp::Line)[0];
  EXPECT_TRUE(near(s.design_of(first, first.args[0], first.args[1]), 122, 249 - 53.75, 1.5));
  EXPECT_GT(outbound_x(s.rec()), 0);  // right turns: outbound right of the inbound leg
  // Seen along the inbound course: the leg is 4 x 5.375 design units long.
  const GfxRecord& out = *s.rec().of(GfxOp::Line)[1];
  GfxPointF a = s.design_of(out, out.args[0], out.args[1]), b = s.design_of(out, out.args[2], out.args[3]);
  EXPECT_NEAR(b.y - a.y, 21.5, 1.0);
  // Racetrack lengths are scaled by the vertical factor in every direction.
  EXPECT_NEAR(a.x - 122, 0.5 * 21.5 * 244 / 302, 1.0);

  for (int32_t turn : {0, 2}) {
    s.rec().clear();
    set_hold(point_from(LAT, LON, 0, 10), turn, 4, 0);
    draw_b737_nd_hold_layer(s.ctx(), s.g, 215, 122, 249, 40);
    EXPECT_LT(outbound_x(s.rec()), 0) << turn;
  }

  // The 365 x 289 copy places the same racetrack on its own canvas.
  set_hold(point_from(LAT, LON, 0, 10), 1, 4, 0);
  LayerScene w(CANVAS_WIDE_MAP);
  draw_wide_map_hold_layer(w.ctx(), w.g, 215, 182, 249, 40);
  EXPECT_EQ(w.rec().count(GfxOp::Line, COLOUR_MAGENTA), 3);
  const GfxRecord& wide_first = *w.rec().of(GfxOp::Line)[0];
  EXPECT_TRUE(near(w.design_of(wide_first, wide_first.args[0], wide_first.args[1]), 182, 249 - 53.75, 1.5));
}

TEST(HoldLayer, NearEndArcDependsOnTurnAndMember) {
  place_aircraft(LAT, LON);
  LayerScene s(CANVAS_B737_ND);
  gfx_translate(s.g, 122, 250, GFX_PREPEND);  // the centre inside the image, which keeps the patterns
  struct Case {
    int32_t turn;
    double k;
  };
  for (Case c : {Case{1, 0.66}, Case{2, 0.61}}) {
    s.rec().clear();
    set_hold(point_from(LAT, LON, 0, 10), c.turn, 20, 0);
    map_px_per_nm = 5;
    draw_c17_mfd_hold_layer(s.ctx(), s.g, 1, 1, 0, 0, 0);
    auto arcs = s.rec().of(GfxOp::Arc);
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_EQ(arcs[1]->args[1], double(int32_t(c.k * 100))) << c.turn;
    EXPECT_EQ(arcs[1]->args[2], 50);  // W = 0.5 L
  }
  // DU-1000: W = 0.75 L.
  s.rec().clear();
  set_hold(point_from(LAT, LON, 0, 10), 1, 20, 0);
  map_px_per_nm = 5;
  draw_du1000_ehsi_hold_layer(s.g, LAT, LON, 0, 0, 1, 1, 0);
  EXPECT_EQ(s.rec().of(GfxOp::Arc).at(0)->args[2], 75);
}

TEST(HoldLayer, ZeroLegCollapsesToTheFixAndNoHoldDrawsNothing) {
  place_aircraft(LAT, LON);
  set_hold(point_from(LAT, LON, 0, 10), 1, 0, 0);
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_hold_layer(s.ctx(), s.g, 215, 122, 249, 40);
  for (const GfxRecord* r : s.rec().of(GfxOp::Line))
    for (double v : r->args) EXPECT_EQ(v, 0);
  s.rec().clear();
  hold_list[1].active_wpt = 0;
  draw_b737_nd_hold_layer(s.ctx(), s.g, 215, 122, 249, 40);
  hold_list[1].active_wpt = 1;
  hold_count = 0;
  draw_b737_nd_hold_layer(s.ctx(), s.g, 215, 122, 249, 40);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

TEST(HoldLayer, P1000DrawnInLightGreenNorthUpInThePlanViewAndHeadingUpOnTheMap) {
  place_aircraft(LAT, LON, 90);
  set_hold(point_from(LAT, LON, 0, 10), 2, 4, 0);
  LayerScene s(CANVAS_P1000_MFD);
  struct Case {
    int32_t plan;
    double x, y;  // the fix 10 NM north at 100 units a 40 NM
  };
  for (const Case& c : {Case{1, 136, 175}, Case{0, 111, 200}}) {
    p1000_plan_view = c.plan;
    s.rec().clear();
    draw_p1000_mfd_hold_layer(s.ctx(), s.g, 100, 136, 200, 40);
    EXPECT_EQ(s.rec().count(GfxOp::Arc, COLOUR_LIGHT_GREEN), 2) << c.plan;
    ASSERT_FALSE(s.rec().of(GfxOp::Line).empty());
    EXPECT_TRUE(near(s.design_of(*s.rec().of(GfxOp::Line)[0], 0, 0), c.x, c.y)) << c.plan;
  }
  EXPECT_EQ(s.rec().of(GfxOp::Arc)[1]->args[1], double(int32_t(0.66 * 10)));  // 0.66 for left turns too
  p1000_plan_view = 0;
}

TEST(HoldLayer, Md11PlanModeWithoutPlanIsNorthUpAboutTheAircraft) {
  place_aircraft(LAT, LON, 90);
  clear_fpl_active();
  set_hold(point_from(LAT, LON, 0, 10), 1, 4, 0);
  md11_nd_mode = 2;
  LayerScene s(CANVAS_MD11_ND);
  set_canvas_scale(s.g, s.surface.width, s.surface.height, CANVAS_MD11_ND);
  draw_md11_nd_hold_layer(s.ctx(), s.g, 94, 120, 129, 40, 1, 1);
  const GfxRecord& first = *s.rec().of(GfxOp::Line)[0];
  EXPECT_TRUE(near(s.design_of(first, 0, 0), 120, 129 - 23.5, 1.5));  // straight up, not to the left
  // The inbound leg points north: rotation by the inbound course alone.
  GfxPointF up = s.design_of(first, first.args[2], first.args[3]);
  EXPECT_NEAR(up.x, 120, 1.0);
}

TEST(HoldLayer, MagneticInboundCourseTurnedByTheVariationOnNorthUpMapsAndByTheHeadingOnHeadingUpMaps) {
  // Inbound 163 magnetic where the variation is 16.5 east: the leg lies along 179.5
  // true. The aircraft heads 100 magnetic, 116.5 true.
  const double variation = 16.5;
  struct Row {
    const char* name;
    double expected;  // screen angle of the inbound leg, clockwise from up
    void (*setup_and_draw)(LayerScene&);
    size_t leg = 0;  // the inbound leg's line (the Pro Line 4 first joins the centre to the fix)
  };
  const Row rows[] = {
      {"MD-11 plan", 179.5,
       [](LayerScene& s) {
         md11_nd_mode = 2;
         draw_md11_nd_hold_layer(s.ctx(), s.g, 94, 120, 129, 40, 1, 1);
       }},
      {"MD-11 map", 63,
       [](LayerScene& s) {
         md11_nd_mode = 3;
         draw_md11_nd_hold_layer(s.ctx(), s.g, 94, 120, 129, 40, 1, 1);
       }},
      {"Pro Line 4 PLAN", 179.5,
       [](LayerScene& s) {
         proline4_mfd_format = 2;
         draw_proline4_mfd_hold_layer(s.ctx(), s.g, 70, 0, 0, 40);
       },
       1},
      {"DU-1000 mode 2", 179.5,
       [](LayerScene& s) {
         du1000_ehsi_mode = 2;
         draw_du1000_ehsi_hold_layer(s.g, LAT, LON, 0, 0, 1, 1, 0);
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    place_aircraft(LAT, LON, 100);
    map_heading = 100 + variation;
    magvar = variation;
    clear_fpl_active();
    set_hold(point_from(LAT, LON, 90, 10), 1, 4, 163);
    LayerScene s(CANVAS_MD11_ND);
    row.setup_and_draw(s);
    const GfxRecord& first = *s.rec().of(GfxOp::Line).at(row.leg);
    const GfxPointF a = s.design_of(first, first.args[0], first.args[1]);
    const GfxPointF b = s.design_of(first, first.args[2], first.args[3]);
    const double angle = std::atan2(b.x - a.x, a.y - b.y) * 180 / M_PI;
    EXPECT_NEAR(std::remainder(angle - row.expected, 180.0), 0, 1.0);
  }
  magvar = 0;
}

TEST(HoldLayer, Efs50CornerFormMarksTheCornerFlown) {
  place_aircraft(LAT, LON);
  NavPoint fix = point_from(LAT, LON, 0, 10);
  set_hold(fix, 1, 4, 0);
  for (int32_t k = 1; k <= 4; ++k) {
    NavPoint c = point_from(fix.lat, fix.lon, 90.0 * k, 2);
    hold_list[1].pattern_lat[k] = c.lat;
    hold_list[1].pattern_lon[k] = c.lon;
  }
  efs50_ehsi_mode = 5;
  efs50_ehsi_range = 25;
  hold_corner_dist = 5;
  hold_corner_course = 0;
  lnav_on = 1;
  LayerScene s(CANVAS_EFS50);
  EFS50NavMode = 1;
  draw_efs50_ehsi_hold_layer(s.ctx(), s.g, 95, 129, 190, 25);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  EFS50NavMode = 2;
  holds_changed = 0;
  draw_efs50_ehsi_hold_layer(s.ctx(), s.g, 95, 129, 190, 25);
  EXPECT_EQ(s.rec().count(GfxOp::Line, 0xFF25C817), 3);
  EXPECT_EQ(s.rec().count(GfxOp::Arc, 0xFF25C817), 2);
  EXPECT_EQ(s.rec().count(GfxOp::FillEllipse, 0xFF25C817), 1);
  const GfxRecord& dot = *s.rec().of(GfxOp::FillEllipse)[0];
  EXPECT_TRUE(near(s.design_of(dot, dot.args[0], dot.args[1]), 129 - 4, 190 - 19 - 5));  // 5 NM x 3.8
  s.rec().clear();
  holds_changed = 1;
  draw_efs50_ehsi_hold_layer(s.ctx(), s.g, 95, 129, 190, 25);
  EXPECT_EQ(s.rec().count(GfxOp::FillEllipse, COLOUR_AMBER), 1);
  s.rec().clear();
  lnav_on = 0;
  draw_efs50_ehsi_hold_layer(s.ctx(), s.g, 95, 129, 190, 25);
  EXPECT_EQ(s.rec().count(GfxOp::FillEllipse), 0);
}

TEST(HoldLayer, ProLine4JoinsTheMapCentreToTheFix) {
  place_aircraft(LAT, LON);
  set_hold(point_from(LAT, LON, 0, 10), 1, 4, 0);
  proline4_mfd_format = 3;
  LayerScene s(CANVAS_PROLINE4_MFD);
  draw_proline4_mfd_hold_layer(s.ctx(), s.g, 140, 0, 0, 40);
  auto lines = s.rec().of(GfxOp::Line);
  ASSERT_EQ(lines.size(), 4u);
  const GfxRecord& join = *lines[0];
  EXPECT_TRUE(near(s.design_of(join, join.args[0], join.args[1]), 123, 220, 1.5));
  EXPECT_TRUE(near(s.design_of(join, join.args[2], join.args[3]), 123, 220 - 35, 1.5));
}

}  // namespace
