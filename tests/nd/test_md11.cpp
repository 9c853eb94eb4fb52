// MD-11 ND: dispatcher, heading layer, plan frame, data layer and route overlay.
#include <gtest/gtest.h>

#include "draw/map_layer_frame.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "navdb/navdb.h"
#include "nd_scene.h"
#include "tests/common/display_checks.h"

using namespace nd_test;

namespace {

using Layers = std::vector<std::string>;
const std::string DEG = "\u00B0";
constexpr double LAT = 47.0, LON = -122.0;

struct Md11 : ::testing::Test {
  NdScene s{CANVAS_MD11_ND, hw_md11_nd_draw};
  void SetUp() override {
    place_aircraft(LAT, LON, 0);
    md11_nd_mode = 3;
    md11_nd_range = 80;
    md11_nd_map_radius = 150;
    md11_nd_apt_on = md11_nd_nav_on = md11_nd_int_on = 1;
    atc_bdry_on = 1;
    atc_boundaries_loaded = 1;
    fpl_active_index = FPL_NO_PLAN;
    loaded_rwy_index = -999;
  }
};

TEST_F(Md11, ClearsOnlyWithoutPowerOrInDrawMode2) {
  expect_blank_unpowered_and_in_draw_mode_2(s);
  EXPECT_TRUE(layers.empty());
}

TEST_F(Md11, LayersOfEachMode) {
  md11_nd_range = 2.5;
  loaded_rwy_count = 1;
  fpl_set_text(fix_info[2].ident, "OLM");
  ap_token103 = ap_vertical_speed = 1;
  indicated_altitude = 9000;
  ap_altitude = 3000;
  vertical_speed = -1000;
  s.draw();
  EXPECT_EQ(layers, (Layers{"heading", "route", "fix_info", "navaids", "airports", "fixes", "altitude_arc",
                            "runways", "boundaries", "data"}));
  EXPECT_EQ(md11_nd_center_y, 178);
  s.draw(3);
  EXPECT_EQ(layers, (Layers{"heading", "route", "fix_info", "navaids", "airports", "fixes", "altitude_arc",
                            "runways", "data"}));
  md11_nd_mode = 2;
  s.draw();
  EXPECT_EQ(layers, (Layers{"plan_frame", "route", "fix_info", "navaids", "airports", "fixes", "boundaries", "data"}));
  EXPECT_EQ(md11_nd_center_y, 129);
  for (int32_t mode : {4, 5}) {
    md11_nd_mode = mode;
    s.draw();
    EXPECT_EQ(layers, (Layers{"heading", "data"}));
  }
  md11_nd_mode = 3;
  md11_nd_range = 320;
  atc_bdry_on = 0;
  s.draw();
  EXPECT_EQ(layers, (Layers{"heading", "route", "fix_info", "navaids", "altitude_arc", "data"}));
  md11_nd_mode = 2;
  s.draw();
  EXPECT_EQ(layers, (Layers{"plan_frame", "route", "fix_info", "data"}));
}

TEST_F(Md11, ClipOfRoseAndMapRemovedForTheData) {
  md11_nd_mode = 4;
  s.draw();
  auto clips = s.rec().of(GfxOp::SetClip);
  ASSERT_EQ(clips.size(), 1u);
  // The rose circle of radius 150 about (120, 177).
  for (GfxPointF p : clips[0]->clip_device[0]) EXPECT_NEAR(std::hypot(p.x - 120, p.y - 177), 150, 1.5);
  for (const GfxTextItem& t : s.rec().text_items()) {
    if (t.text == "RNG 80") {
      EXPECT_EQ(s.rec().records[t.record].clip, -1);
    }
    if (t.text == "03") {
      EXPECT_GE(s.rec().records[t.record].clip, 0);
    }
  }
  md11_nd_mode = 3;
  s.draw();
  EXPECT_EQ(s.rec().of(GfxOp::SetClip).size(), 1u);
}

TEST_F(Md11, TcasMarksOnlyAtTenMiles) {
  nd_tcas_on = 1;
  s.draw();
  int32_t stars = 0;
  for (const std::string& t : s.rec().texts()) stars += t == "*";
  EXPECT_EQ(stars, 0);
  md11_nd_range = 10;
  s.draw();
  for (const std::string& t : s.rec().texts()) stars += t == "*";
  EXPECT_EQ(stars, 12);
  // A ring at 2 NM: 30 units, the mark 5 above.
  EXPECT_TRUE(near(s.text_at("*"), 120, 178 - 35));
  EXPECT_TRUE(s.has("TRFC"));
}

TEST_F(Md11, PointerLongFormOnlyWithinTheArcOnEitherSideOfNorth) {
  token_values[TOK_NAV1_SIGNAL] = 1;
  md11_nd_vor1_ptr_on = 1;
  struct Row {
    double heading, relative_bearing;
    bool long_form;
  };
  for (const Row& row : {Row{0, 0, true}, Row{0, 120, false}, Row{350, 20, true}, Row{10, 340, true},
                         Row{350, 100, false}}) {
    place_aircraft(LAT, LON, row.heading);
    nav_rel_bearing = row.relative_bearing;
    s.draw();
    int32_t longs = 0, shorts = 0;
    for (const GfxRecord* r : s.rec().of(GfxOp::Line)) {
      longs += r->pen_argb == COLOUR_BLUE && r->args[3] == -145;
      shorts += r->pen_argb == COLOUR_BLUE && r->args[3] == -40;
    }
    EXPECT_EQ(longs, row.long_form ? 1 : 0) << row.heading << " " << row.relative_bearing;
    EXPECT_EQ(shorts, row.long_form ? 0 : 1) << row.heading << " " << row.relative_bearing;
  }
}

TEST_F(Md11, ImageTwiceTheDesignDrawsTwiceAsLarge) {
  NdScene big{CANVAS_MD11_ND, hw_md11_nd_draw, 480, 516};
  big.draw();
  for (const GfxTextItem& t : big.rec().text_items())
    if (t.text == "TAS") {
      EXPECT_NEAR(t.device.x, 10, 0.01);
      EXPECT_NEAR(t.device.y, 20, 0.01);
    }
  EXPECT_TRUE(big.has("TAS"));
}

TEST_F(Md11, DataLayerRangeLabels) {
  md11_nd_range = 5;
  s.draw();
  EXPECT_TRUE(near(s.text_at("2.5"), 116, 248));
  md11_nd_range = 10;
  s.draw();
  EXPECT_TRUE(s.has(" 5"));
  md11_nd_range = 1;
  s.draw();
  EXPECT_TRUE(s.has("0.5"));
  EXPECT_TRUE(s.has("RNG  1"));
  md11_nd_mode = 4;
  md11_nd_range = 160;
  s.draw();
  EXPECT_TRUE(near(s.text_at("160"), 220, 60));
  int32_t left = 0;
  for (const GfxTextItem& t : s.rec().text_items())
    if (t.text == "160" && near(s.design(t.device), 4, 60)) ++left;
  EXPECT_EQ(left, 1);
  md11_nd_range = 80;
  s.draw();
  int32_t eight = 0;
  for (const GfxTextItem& t : s.rec().text_items())
    if (t.text == "80" && near(s.design(t.device), 8, 60)) ++eight;
  EXPECT_EQ(eight, 1);
  // PLAN labels: "80" and "40" at the ring crossings.
  md11_nd_mode = 2;
  s.draw();
  EXPECT_TRUE(near(s.text_at("80"), 20, 125));
  EXPECT_TRUE(near(s.text_at("40"), 67, 125));
}

TEST_F(Md11, DataLayerWaypointTimesAndModes) {
  fpl_active_index = 1;
  fpl_active_last = 2;
  fpl_set_text(fpl_active[1].ident, "OLM");
  dist_to_active_wpt = 12.34;
  ete_active_minutes = 4;
  ground_speed = 30;
  lnav_on = 1;
  elapsed_seconds = 3725;
  wind_speed = 0.5;
  s.draw();
  EXPECT_EQ(s.text_colour("OLM"), COLOUR_MAGENTA);
  EXPECT_TRUE(near(s.text_at("12.3NM"), 194, 9));
  EXPECT_TRUE(s.has("G/I"));
  EXPECT_TRUE(near(s.text_at("01:02"), 210, 38));
  EXPECT_TRUE(s.has("---" + DEG + "/---"));
  EXPECT_TRUE(s.has("MAP"));
  EXPECT_TRUE(s.has("ARPT"));
  ground_speed = 31;
  lnav_on = 0;
  fpl_active_index = FPL_NO_PLAN;
  md11_nd_mode = 5;
  s.draw();
  EXPECT_FALSE(s.has("OLM"));
  EXPECT_TRUE(s.has("R/I"));
  EXPECT_TRUE(s.has("00:00"));
  EXPECT_TRUE(s.has("LOC1"));
  EXPECT_TRUE(s.has("APPR"));
}

TEST_F(Md11, BearingDataLines) {
  token_values[TOK_NAV1_SIGNAL] = 1;
  token_texts[TOK_NAV1_IDENT] = "SEA";
  md11_nd_vor1_ptr_on = 1;
  heading = 350;
  nav_rel_bearing = 20;  // station bearing 10
  dme1_distance = 0;
  s.draw();
  EXPECT_TRUE(near(s.text_at("010" + DEG + " / ---  SEA"), 0, 248));
  EXPECT_EQ(s.text_colour("010" + DEG + " / ---  SEA"), COLOUR_BLUE);
  md11_nd_vor1_ptr_on = 0;
  md11_nd_adf1_ptr_on = 1;
  adf1_bearing = 5;
  nav_token39 = 30;  // beyond a full turn once the 360 is added
  s.draw();
  EXPECT_TRUE(s.has("020" + DEG + " / "));
}

TEST_F(Md11, PlanFrameAircraftRelativeToTheCentre) {
  md11_nd_mode = 2;
  md11_nd_range = 94;
  md11_nd_map_radius = 94;
  heading = 0;
  auto nose = [&] {
    for (const GfxRecord* r : s.rec().of(GfxOp::Line))
      if (r->args[0] == 0 && r->args[1] == -15 && r->pen_argb == COLOUR_WHITE) return s.design_of(*r, 0, 0);
    return GfxPointF{-1, -1};
  };
  s.draw();
  EXPECT_TRUE(near(nose(), 120, 129));
  set_active_plan({"AAA", "BBB", "CCC"}, 1, LAT, LON);
  double clat, clon;
  point_from(LAT, LON, 0, 47, clat, clon);
  fpl_active[1].lat = clat;
  fpl_active[1].lon = clon;
  plan_center_index = 0;
  s.draw();
  EXPECT_TRUE(near(nose(), 120, 129 + 47, 1.5));
  auto arcs = s.rec().of(GfxOp::Arc);
  int32_t rings = 0;
  for (const GfxRecord* r : arcs) rings += r->args[0] == -94 || r->args[0] == -47;
  EXPECT_EQ(rings, 4);
}

TEST_F(Md11, RouteRunwaysFromEachAirportsOwnRunway) {
  set_active_plan({"KAAA", "MID", "KBBB"}, 1, LAT, LON);
  apt_blocks[1].rwy_count = 1;
  fpl_set_text(apt_blocks[1].rwys[1].ident, "34L");
  apt_blocks[1].rwys[1].lat = LAT;
  apt_blocks[1].rwys[1].lon = LON;
  apt_blocks[1].rwys[1].length_ft = 6000;
  origin_runway_index = 1;
  // The loaded (destination) runway table holds another runway far away.
  loaded_rwy_count = 1;
  loaded_rwy_table[1].lat = 10;
  loaded_rwy_table[1].lon = 10;
  md11_nd_range = 40;
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::Line, 0xFF02A7EB), 1);  // the far-end extension
  EXPECT_TRUE(near(s.text_at("34L"), 127, 178 + 17, 1.5));
}

TEST_F(Md11, TunedStationReplacesTheActiveWaypointLabel) {
  set_active_plan({"KAAA", "OLM", "KBBB"}, 1, LAT - 10.0 / 60, LON);
  token_values[TOK_NAV1_SIGNAL] = 1;
  token_texts[TOK_NAV1_IDENT] = "OLM";
  dme1_distance = 11;
  nav_rel_bearing = 0;
  md11_nd_range = 40;
  s.draw();
  EXPECT_EQ(s.text_colour("OLM"), 0xFF02A7EBu);  // the station's cyan ident, then the data line's
  int32_t olm = 0;
  for (const std::string& t : s.rec().texts()) olm += t == "OLM";
  EXPECT_EQ(olm, 2);
  dme1_distance = 40;
  s.draw();
  olm = 0;
  for (const std::string& t : s.rec().texts()) olm += t == "OLM";
  EXPECT_EQ(olm, 3);
}

}  // namespace

TEST_F(Md11, RouteOverlayDrawsRangeArcsInApproachModeOnly) {
  nd_range_arcs_on = 1;
  GfxGraphics* g = nullptr;
  ASSERT_EQ(gfx_create(&s.image, &g), GFX_OK);
  s.surface = {240, 258};
  for (int32_t mode : {3, 5}) {
    md11_nd_mode = mode;
    s.rec().clear();
    md11_nd_route_overlay_draw(&s.surface, g);
    EXPECT_EQ(s.rec().count(GfxOp::Arc, COLOUR_WHITE), mode == 5 ? 3 : 0) << mode;
  }
  gfx_delete(g);
  nd_range_arcs_on = 0;
}
