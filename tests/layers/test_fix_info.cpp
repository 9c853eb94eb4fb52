// Fix-info overlay: symbols, rings, distance circles and labels, radials per member.
#include <gtest/gtest.h>

#include "draw/fix_info_overlay.h"
#include "layer_scene.h"
#include "platform/host/gauge_host.h"
#include "platform/host/sim_token_ids.h"

namespace {

constexpr double LAT = 47.0, LON = -122.0;

void set_fix(int32_t slot, const char* ident, NavPoint p, const char* type, std::vector<std::pair<double, double>> pairs) {
  FixInfoRecord& f = fix_info[slot];
  f = FixInfoRecord{};
  fpl_set_text(f.ident, ident);
  fpl_set_text(f.type, type);
  f.lat = p.lat;
  f.lon = p.lon;
  for (size_t i = 0; i < pairs.size() && i < 3; ++i) {
    f.radial[i] = pairs[i].first;
    f.dist[i] = pairs[i].second;
  }
}

int32_t dashed(GfxRecording& rec, GfxOp op) {
  int32_t n = 0;
  for (const GfxRecord* r : rec.of(op)) n += r->pen_dash == GFX_DASH_DASH;
  return n;
}

TEST(FixInfo, B737FixWithDistanceCircleAndRadial) {
  place_aircraft(LAT, LON);
  b737_map(5, 40);  // 5.375 units per NM
  set_fix(1, "SEA", point_from(LAT, LON, 0, 10), "V", {{90, 5}});
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_fix_info_layer(s.ctx(), s.g);
  // Symbol and ring for each of the three pairs; dashed circles of 26 and 0 units.
  EXPECT_EQ(s.rec().count(GfxOp::Lines, COLOUR_BLUE), 3);
  int32_t rings = 0, circles = 0;
  for (const GfxRecord* r : s.rec().of(GfxOp::Ellipse)) {
    if (r->pen_dash == GFX_DASH_SOLID && r->args[2] == 16) ++rings;
    if (r->pen_dash == GFX_DASH_DASH) ++circles;
  }
  EXPECT_EQ(rings, 3);
  EXPECT_EQ(circles, 3);
  EXPECT_EQ(s.rec().texts(), (std::vector<std::string>{"5.0", "090"}));
  // Y + R = -53 + 26 < -10: the label goes under the circle at (X - 2n, Y + R + 1).
  EXPECT_TRUE(near(s.text_at("5.0"), 122 - 6, 249 - 53 + 26 + 1));
  // Radial 090 with heading 0 lies on side 2: the line runs from the fix to the right.
  auto lines = s.rec().of(GfxOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  GfxPointF a = s.design_of(*lines[0], lines[0]->args[0], lines[0]->args[1]);
  GfxPointF b = s.design_of(*lines[0], lines[0]->args[2], lines[0]->args[3]);
  EXPECT_TRUE(near(a, 122, 249 - 53));
  EXPECT_NEAR(b.y, a.y, 1.0);
  EXPECT_GT(b.x, a.x + 1000);  // 360 NM long
  EXPECT_EQ(lines[0]->pen_dash, GFX_DASH_DASH);
  EXPECT_TRUE(near(s.text_at("090"), 122 + 25, 249 - 53, 1.5));
}

TEST(FixInfo, RadialZeroOr360DrawsNoLineAndHalfADegreeDoes) {
  place_aircraft(LAT, LON);
  b737_map(5, 40);
  LayerScene s(CANVAS_B737_ND);
  set_fix(1, "FIX", point_from(LAT, LON, 0, 10), "I", {{360, 0}, {0, 0}, {0.5, 0}});
  draw_b737_nd_fix_info_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().count(GfxOp::Line), 1);
  EXPECT_EQ(s.rec().count(GfxOp::Lines, COLOUR_SILVER), 0);
  EXPECT_EQ(s.rec().count(GfxOp::Lines, COLOUR_BLUE), 3);  // code 3 triangle, colour 1
}

TEST(FixInfo, FixBeyond380NmAndEmptySlotsDrawNothing) {
  place_aircraft(LAT, LON);
  b737_map(5, 40);
  LayerScene s(CANVAS_B737_ND);
  set_fix(1, "FAR", point_from(LAT, LON, 0, 381), "V", {{90, 5}});
  set_fix(2, "", point_from(LAT, LON, 0, 10), "V", {{90, 5}});
  draw_b737_nd_fix_info_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

TEST(FixInfo, FarFixRadialLabelMovesOut) {
  place_aircraft(LAT, LON);
  b737_map(5, 40);
  LayerScene s(CANVAS_B737_ND);
  set_fix(1, "FAR", point_from(LAT, LON, 0, 300), "I", {{90, 0}});
  draw_b737_nd_fix_info_layer(s.ctx(), s.g);
  auto texts = s.rec().text_items();
  ASSERT_EQ(texts.size(), 1u);
  // Side 2: the label stands at (a, 0) along the radial from the fix.
  double a = ((300.0 - 40) * 0.5 + 40) * 5.375;
  EXPECT_NEAR(texts[0].world.x, a, 0.01);
}

TEST(FixInfo, DistanceLabelPlacementRules) {
  double x, y;
  fix_info_distance_label_at(100, -100, 105, 3, x, y);  // past x 110 and above y -199: left of it
  EXPECT_EQ(x, 100 - 105 - 13.5);
  EXPECT_EQ(y, -107);
  fix_info_distance_label_at(100, -100, 95, 3, x, y);  // past x 110, top at -195: above it
  EXPECT_EQ(x, 94);
  EXPECT_EQ(y, -204);
  fix_info_distance_label_at(0, -100, 95, 3, x, y);
  EXPECT_EQ(x, 98);
  EXPECT_EQ(y, -107);
  fix_info_distance_label_at(0, -100, 20, 3, x, y);
  EXPECT_EQ(x, -6);
  EXPECT_EQ(y, -79);
}

TEST(FixInfo, PlanModeWithoutPlanMeasuresFromTheAircraftNorthUp) {
  place_aircraft(LAT, LON, 90);
  clear_fpl_active();
  b737_map(7, 40);  // 2.75 units per NM about (122, 171)
  LayerScene s(CANVAS_B737_ND);
  set_fix(1, "FIX", point_from(LAT, LON, 0, 10), "I", {{0, 0}});
  draw_b737_nd_fix_info_layer(s.ctx(), s.g);
  const GfxRecord& ring = *s.rec().of(GfxOp::Ellipse).at(0);
  EXPECT_TRUE(near(s.design_of(ring, ring.args[0] + 8, ring.args[1] + 8), 122, 171 - 27, 1.5));
}

TEST(FixInfo, C17SidesAreSwappedAgainstTheBase) {
  place_aircraft(LAT, LON, 0);
  set_fix(1, "FIX", point_from(LAT, LON, 0, 10), "I", {{90, 0}});
  b737_map(5, 40);
  LayerScene b(CANVAS_B737_ND);
  draw_b737_nd_fix_info_layer(b.ctx(), b.g);
  c17_mfd_mode = 5;
  c17_mfd_range = 40;
  map_px_per_nm = 5;
  LayerScene c(CANVAS_C17_MFD);
  draw_c17_mfd_fix_info_layer(c.ctx(), c.g, LAT, LON);
  const GfxRecord& lb = *b.rec().of(GfxOp::Line).at(0);
  const GfxRecord& lc = *c.rec().of(GfxOp::Line).at(0);
  EXPECT_GT(lb.args[2], 0);  // base: side 2, line to (L, 0)
  EXPECT_LT(lc.args[2], 0);  // C-17: side 1, line to (-L, 0)
}

TEST(FixInfo, P1000ColoursSymbolsAndScale) {
  place_aircraft(LAT, LON);
  p1000_map_cx = 136;
  p1000_map_cy = 200;
  p1000_map_radius = 100;
  p1000_mfd_range = 40;
  set_fix(1, "FIX", point_from(LAT, LON, 0, 10), "I", {{0, 4}});
  LayerScene s(CANVAS_P1000_MFD, 544, 628);
  draw_p1000_mfd_fix_info_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().count(GfxOp::Lines, COLOUR_SILVER), 3);  // code 3 colour 0
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse, COLOUR_LIGHT_GREEN), 6);
  EXPECT_EQ(s.text_colour("4.0"), COLOUR_LIGHT_GREEN);
  GfxMatrix m;
  gfx_get_transform(s.g, &m);
  EXPECT_DOUBLE_EQ(m.m11, 2.0);
  EXPECT_DOUBLE_EQ(m.dx, 0);
}

TEST(FixInfo, Du1000OnlyInItsMapMode) {
  place_aircraft(LAT, LON);
  set_fix(1, "FIX", point_from(LAT, LON, 0, 10), "I", {{0, 4}});
  LayerScene s(CANVAS_DU1000_EHSI);
  du1000_ehsi_mode = 2;
  draw_du1000_ehsi_fix_info_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  du1000_ehsi_mode = 3;
  draw_du1000_ehsi_fix_info_layer(s.ctx(), s.g);
  EXPECT_TRUE(s.rec().has_text("4.0"));
}

// ---- MD-11: the tuned NAV 1 station ----

double nav1_signal = 0;
const char* nav1_ident = "";

void fake_read_token(TokenVar* var) {
  if (var->id == TOK_NAV1_IDENT)
    var->text = nav1_ident;
  else if (var->id == TOK_NAV1_SIGNAL)
    var->value = nav1_signal;
  else
    var->value = 0;
}

PanelServiceTable fake_services{};

struct Md11Scene : LayerScene {
  Md11Scene() : LayerScene(CANVAS_MD11_ND) {
    fake_services.read_token_var = fake_read_token;
    ImportTable.panel_services = &fake_services;
    place_aircraft(LAT, LON);
    md11_nd_mode = 3;
    md11_nd_range = 40;
    md11_nd_map_radius = 150;
  }
  ~Md11Scene() { ImportTable.panel_services = nullptr; }
};

TEST(FixInfo, Md11OwnSymbolsIdentAndTwoWayRadials) {
  Md11Scene s;
  set_fix(1, "SEA", point_from(LAT, LON, 0, 10), "N", {{90, 0}});
  draw_md11_nd_fix_info_layer(s.ctx(), s.g);
  // Two white circles, the ident and the green ring for each pair; no zero distance circle.
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse, COLOUR_WHITE), 6);
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse, COLOUR_GREEN), 3);
  EXPECT_EQ(s.text_colour("SEA"), COLOUR_WHITE);
  // Radial 090 on side 2: reciprocal to the left, "090R" to the right, green dashed.
  EXPECT_EQ(dashed(s.rec(), GfxOp::Line), 2);
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_GREEN), 2);
  EXPECT_TRUE(s.rec().has_text("270"));
  EXPECT_TRUE(s.rec().has_text("090R"));
}

TEST(FixInfo, Md11TunedStationHasNoSymbolAndMagentaRadials) {
  Md11Scene s;
  set_fix(1, "SEA", point_from(LAT, LON, 0, 10), "V", {{90, 0}});
  nav1_signal = 1;
  nav1_ident = "SEA";
  dme1_distance = 12;  // within 5 NM of the fix's 10
  draw_md11_nd_fix_info_layer(s.ctx(), s.g);
  EXPECT_EQ(s.rec().count(GfxOp::Lines), 0);
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse), 0);
  EXPECT_FALSE(s.rec().has_text("SEA"));
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_MAGENTA), 2);
  EXPECT_EQ(s.text_colour("090R"), COLOUR_MAGENTA);

  // DME far off: an ordinary fix again.
  s.rec().clear();
  dme1_distance = 20;
  draw_md11_nd_fix_info_layer(s.ctx(), s.g);
  EXPECT_TRUE(s.rec().has_text("SEA"));
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_MAGENTA), 0);
}

}  // namespace
