// Runway layer, approach pattern and TOC/TOD markers.
#include <gtest/gtest.h>

#include "draw/runway_layer.h"
#include "draw/toc_tod_layer.h"
#include "flightplan/route_progress.h"
#include "guidance/lnav_vnav_state.h"
#include "guidance/settings.h"
#include "guidance/toc_tod.h"
#include "guidance/waypoint_sequencing.h"
#include "layer_scene.h"

namespace {

constexpr double LAT = 47.0, LON = -122.0;

RwyRecord runway(const char* ident, NavPoint thr, double hdg, int32_t length_ft = 6076) {
  RwyRecord r{};
  nav_copy_text(r.ident, sizeof r.ident, ident);
  r.lat = thr.lat;
  r.lon = thr.lon;
  r.heading = hdg;
  r.heading2 = hdg;
  r.length_ft = length_ft;
  return r;
}

void set_runways(const std::vector<RwyRecord>& rwys, int32_t selected = -999) {
  loaded_rwy_count = 0;
  for (const RwyRecord& r : rwys) loaded_rwy_table[++loaded_rwy_count] = r;
  loaded_rwy_base = 1;
  loaded_rwy_index = selected;
}

// Runways 09 and 27 one NM long, the aircraft at their middle; 86 units per NM.
struct RunwayScene : LayerScene {
  RunwayScene() : LayerScene(CANVAS_B737_ND) {
    place_aircraft(LAT, LON);
    magvar = 0;
    set_canvas_scale(g, surface.width, surface.height, CANVAS_B737_ND);
  }
  void draw(double range = 2.5) { draw_runway_layer(g, 215, 122, 249, range); }
};

TEST(RunwayLayer, ReciprocalIdents) {
  EXPECT_EQ(reciprocal_runway_ident("16L"), "34R");
  EXPECT_EQ(reciprocal_runway_ident("18C"), "36C");
  EXPECT_EQ(reciprocal_runway_ident("01"), "19");
  EXPECT_EQ(reciprocal_runway_ident("09R"), "27L");
  EXPECT_EQ(reciprocal_runway_ident("X"), "18");
  EXPECT_EQ(reciprocal_runway_ident(""), "18");
  EXPECT_EQ(reciprocal_runway_ident("27"), "");
}

TEST(RunwayLayer, PairDrawnOnceWithBothNumbersAndTheTableKept) {
  RunwayScene s;
  NavPoint west = point_from(LAT, LON, 270, 0.5), east = point_from(LAT, LON, 90, 0.5);
  set_runways({runway("09", west, 90), runway("27", east, 270)});
  RwyRecord before = loaded_rwy_table[2];
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_RED), 1);
  EXPECT_EQ(s.rec().texts(), (std::vector<std::string>{"09", "27"}));
  EXPECT_TRUE(near(s.text_at("09"), 122 - 43, 249, 1.5));
  EXPECT_TRUE(near(s.text_at("27"), 122 + 43, 249, 1.5));
  // The far end is computed for drawing only: the stored thresholds stay.
  EXPECT_EQ(loaded_rwy_table[2].lat, before.lat);
  EXPECT_EQ(loaded_rwy_table[2].lon, before.lon);
}

TEST(RunwayLayer, HighNumberFirstHasNoReciprocalLabel) {
  RunwayScene s;
  NavPoint west = point_from(LAT, LON, 270, 0.5), east = point_from(LAT, LON, 90, 0.5);
  set_runways({runway("27", east, 270), runway("09", west, 90)});
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_RED), 2);
  EXPECT_EQ(s.rec().texts(), (std::vector<std::string>{"27", "09", "27"}));
}

TEST(RunwayLayer, SelectedRunwayInYellow) {
  RunwayScene s;
  NavPoint west = point_from(LAT, LON, 270, 0.5), east = point_from(LAT, LON, 90, 0.5);
  set_runways({runway("09", west, 90), runway("27", east, 270)}, 2);  // 27 selected
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_YELLOW), 1);
  EXPECT_EQ(s.text_colour("09"), COLOUR_RED);
  EXPECT_EQ(s.text_colour("27"), COLOUR_YELLOW);
  s.rec().clear();
  loaded_rwy_index = 1;  // 09 selected
  s.draw();
  EXPECT_EQ(s.text_colour("09"), COLOUR_YELLOW);
  EXPECT_EQ(s.text_colour("27"), COLOUR_RED);
}

TEST(RunwayLayer, ParkingMarkerOnlyAtHalfAMileWithAPosition) {
  RunwayScene s;
  set_runways({});
  parking_lat = LAT;
  parking_lon = LON;
  parking_heading = 90;
  s.draw(1);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  s.draw(0.5);
  EXPECT_EQ(s.rec().texts(), std::vector<std::string>{"P"});
  EXPECT_EQ(s.text_colour("P"), COLOUR_AMBER);
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_AMBER), 3);
  s.rec().clear();
  parking_lat = 0;
  s.draw(0.5);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

TEST(RunwayLayer, C17MapLinesOfTheSelectedRunwaysBelowEightyMiles) {
  LayerScene s(CANVAS_C17_MFD);
  place_aircraft(LAT, LON);
  magvar = 0;
  apt_blocks[1].rwy_count = 1;
  apt_blocks[1].rwys[1] = runway("36", {LAT, LON}, 360, 5280);
  origin_runway_index = 1;
  apt_blocks[2].rwy_count = 1;
  apt_blocks[2].rwys[1] = runway("18", point_from(LAT, LON, 0, 150), 180);  // beyond 100 NM
  dest_runway_index = 1;
  map_px_per_nm = 4;
  draw_c17_mfd_runway_lines(s.g, 1, 1, 40, 0);
  auto lines = s.rec().of(GfxOp::Line);
  ASSERT_EQ(lines.size(), 5u);  // body, two sides, two extensions of the origin's runway
  EXPECT_EQ(lines[0]->pen_width, 2);
  EXPECT_EQ(lines[0]->args[3], -4);  // a mile north, 4 units up
  EXPECT_EQ(lines[3]->pen_width, 1);
  EXPECT_EQ(lines[3]->args[1], int(-0.7 * 4));  // the extension starts 0.7 L beyond the threshold
  s.rec().clear();
  draw_c17_mfd_runway_lines(s.g, 1, 1, 80, 0);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

// ---- approach pattern ----

struct PatternScene : LayerScene {
  PatternScene() : LayerScene(CANVAS_B737_ND) {
    place_aircraft(LAT, LON);
    magvar = 0;
    DispAppPtrnAlts = 1;
    loaded_apt_elev_text = "250";
    set_runways({runway("36", {LAT, LON}, 360)}, 1);
    set_canvas_scale(g, surface.width, surface.height, CANVAS_B737_ND);
  }
  // 215 / 20 = 10.75 units per NM about (122, 249).
  void draw(double range = 20) { draw_runway_centerline_layer(g, 215, 122, 249, range, 1, 1); }
};

TEST(ApproachPattern, CentreLineFanAndPatternWithAltitudes) {
  PatternScene s;
  s.draw();
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_LIGHT_GREEN), 6);
  EXPECT_EQ(s.rec().texts(), (std::vector<std::string>{"3200", "1700"}));
  // 14 NM south of the threshold, then 7 down; the pattern corner 3 NM north and 5 NM west.
  EXPECT_TRUE(near(s.text_at("3200"), 122, 249 + 150.5 + 7, 1.5));
  EXPECT_TRUE(near(s.text_at("1700"), 122 - 53.75, 249 - 32.25 + 7, 1.5));
}

TEST(ApproachPattern, RightPatternAndFanSymmetry) {
  PatternScene s;
  loaded_rwy_table[1].right_pattern = 1;
  magvar = 15;  // the fan stays symmetric about the extended centre line
  s.draw();
  EXPECT_GT(s.text_at("1700").x, 122);
  auto lines = s.rec().of(GfxOp::Line);
  ASSERT_GE(lines.size(), 3u);
  GfxPointF p14 = s.design_of(*lines[1], lines[1]->args[0], lines[1]->args[1]);
  GfxPointF f1 = s.design_of(*lines[1], lines[1]->args[2], lines[1]->args[3]);
  GfxPointF f2 = s.design_of(*lines[2], lines[2]->args[2], lines[2]->args[3]);
  GfxPointF t = s.design_of(*lines[0], lines[0]->args[0], lines[0]->args[1]);
  GfxPointF p60 = s.design_of(*lines[0], lines[0]->args[2], lines[0]->args[3]);
  auto angle = [](GfxPointF a, GfxPointF b) { return std::atan2(b.y - a.y, b.x - a.x) * 180 / M_PI; };
  double axis = angle(t, p60);
  EXPECT_NEAR(std::fabs(std::remainder(angle(p14, f1) - axis, 360.0)), 30, 1.5);
  EXPECT_NEAR(std::fabs(std::remainder(angle(p14, f2) - axis, 360.0)), 30, 1.5);
}

TEST(ApproachPattern, AltitudeGatesAndElevationText) {
  PatternScene s;
  s.draw(40);
  EXPECT_TRUE(s.rec().texts().empty());
  DispAppPtrnAlts = 0;
  s.draw(10);
  EXPECT_TRUE(s.rec().texts().empty());
  DispAppPtrnAlts = 1;
  loaded_apt_elev_text = "N/A";
  s.draw(10);
  EXPECT_EQ(s.rec().texts(), (std::vector<std::string>{"3000", "1500"}));
  EXPECT_EQ(elevation_feet("-30"), -30);
}

TEST(ApproachPattern, SelectedRunwayOutsideTheTableDrawsNothing) {
  PatternScene s;
  loaded_rwy_index = 3;  // the table holds one runway
  s.draw();
  loaded_rwy_index = -999;
  s.draw();
  loaded_rwy_index = 0;
  s.draw();
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

// ---- TOC/TOD markers ----

struct MarkerScene : LayerScene {
  NavPoint toc, tod;
  MarkerScene() : LayerScene(CANVAS_B737_ND) {
    place_aircraft(LAT, LON);
    magvar = 0;
    cruise_alt = 30000;
    toc_reached = 0;
    toc = point_from(LAT, LON, 0, 10);
    tod = point_from(LAT, LON, 90, 10);
    toc_lat = toc.lat;
    toc_lon = toc.lon;
    tod_lat = tod.lat;
    tod_lon = tod.lon;
    climb_target_lat = toc.lat;
    climb_target_lon = toc.lon;
    vnav_target_alt = 30000;
    indicated_altitude = 10000;
    ShowFloatingTodBodIndicators = 0;
  }
  void draw(int32_t style) { draw_tod_toc_markers(g, 215, 40, 122, 249, style, 1, 1, LAT, LON, 0); }
};

TEST(TocTodMarkers, Style8TopOfClimbUntilReachedTopOfDescentAlways) {
  MarkerScene s;
  s.draw(TOC_TOD_STYLE_B737);
  EXPECT_EQ(s.rec().texts(), (std::vector<std::string>{"T/C", "T/D"}));
  EXPECT_EQ(s.rec().count(GfxOp::Ellipse, COLOUR_LIGHT_GREEN), 2);
  EXPECT_TRUE(near(s.text_at("T/D"), 122 + 53 + 8, 249 - 7, 1.5));
  s.rec().clear();
  toc_reached = 1;
  s.draw(TOC_TOD_STYLE_B737);
  EXPECT_EQ(s.rec().texts(), std::vector<std::string>{"T/D"});
  s.rec().clear();
  cruise_alt = 0;
  s.draw(TOC_TOD_STYLE_B737);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

TEST(TocTodMarkers, Styles2And5OnlyWithVnav) {
  MarkerScene s;
  climb_target_lat = climb_target_lon = 0;  // far away: the climb target is off the map
  vnav_on = 0;
  s.draw(TOC_TOD_STYLE_EFS50);
  EXPECT_EQ(s.rec().count(GfxOp::FillEllipse, COLOUR_GREEN), 0);
  s.rec().clear();
  vnav_on = 1;
  s.draw(TOC_TOD_STYLE_P1000);
  EXPECT_EQ(s.rec().count(GfxOp::FillEllipse, COLOUR_GREEN), 2);
  EXPECT_EQ(s.text_colour("[TOD]"), COLOUR_GREEN);
  // Left of the dot: x - (5 + 32).
  EXPECT_TRUE(near(s.text_at("[TOD]"), 122 + 53 - 37, 249 - 8, 1.5));
}

TEST(TocTodMarkers, LineStylesAndTheArrowCap) {
  MarkerScene s;
  s.draw(TOC_TOD_STYLE_MD11);
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_BLUE), 12);
  for (const GfxRecord* r : s.rec().of(GfxOp::Line)) EXPECT_FALSE(r->pen_arrow_cap);
  s.rec().clear();
  s.draw(TOC_TOD_STYLE_ARROW);
  int32_t capped = 0;
  for (const GfxRecord* r : s.rec().of(GfxOp::Line)) capped += r->pen_arrow_cap;
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_BLUE), 6);
  EXPECT_EQ(capped, 2);
}

TEST(TocTodMarkers, OffsetsScaleXByTheXScaleAndYByTheYScale) {
  // TOC 10 NM north, TOD 10 NM east: 53 units each at 215 units for 40 NM; the arrow
  // heads end on the points.
  const struct {
    double w, s;
    std::vector<std::pair<double, double>> heads;
  } rows[] = {{2, 1, {{0, -53}, {106, 0}}}, {1, 2, {{0, -106}, {53, 0}}}, {1.5, 1.2, {{0, -63}, {79, 0}}}};
  for (const auto& row : rows) {
    MarkerScene s;
    gfx_translate(s.g, 60, 150, GFX_PREPEND);  // the map centre inside the image, which keeps the markers
    draw_tod_toc_markers(s.g, 215, 40, 0, 0, TOC_TOD_STYLE_ARROW, row.w, row.s, LAT, LON, 0);
    std::vector<std::pair<double, double>> heads;
    for (const GfxRecord* r : s.rec().of(GfxOp::Line))
      if (r->pen_arrow_cap) heads.emplace_back(r->args[2], r->args[3]);
    EXPECT_EQ(heads, row.heads) << row.w << " x " << row.s;
  }
}

TEST(TocTodMarkers, FloatingIndicatorsAndTheClimbTargetLabelSide) {
  MarkerScene s;
  NavPoint wp1 = point_from(LAT, LON, 0, 20), wp2 = point_from(wp1.lat, wp1.lon, 0, 40);
  set_active_plan({{LAT, LON}, wp1, wp2}, 1);
  vnav_wpt_index = 2;
  vnav_target_alt = 5000;
  indicated_altitude = 11000;
  descent_rate = 2000;
  DescentTas = 300;  // 6000 / 2000 x 300 / 60 = 15 NM before record 2
  climb_target_lat = point_from(LAT, LON, 180, 10).lat;
  climb_target_lon = LON;
  toc_lon = LON + 1;  // the climb target is not the TOC
  vnav_on = 1;
  s.draw(TOC_TOD_STYLE_B737);  // the floating indicators need the setting
  EXPECT_FALSE(s.rec().has_text("[TOD]"));
  ShowFloatingTodBodIndicators = 1;
  vnav_on = 0;
  s.draw(TOC_TOD_STYLE_B737);
  EXPECT_FALSE(s.rec().has_text("[TOD]")) << "drawn with VNAV off";
  // Climb target 10 NM south, label "[5000]" left of the dot while VNAV is off.
  EXPECT_TRUE(near(s.text_at("[5000]"), 122 - 38, 249 + 53 - 8, 1.5));
  s.rec().clear();
  vnav_on = 1;
  s.draw(TOC_TOD_STYLE_B737);
  EXPECT_EQ(s.text_colour("[TOD]"), COLOUR_AMBER);
  // 45 NM north of the aircraft: 45 x 5.375 above the centre.
  EXPECT_TRUE(near(s.text_at("[TOD]"), 122 - 37, 249 - 241.875 - 8, 1.5));
  EXPECT_TRUE(near(s.text_at("[5000]"), 122 + 7, 249 + 53 - 8, 1.5));
  // A descent begun further back than the active record lies on the leg the aircraft flies
  // (20 NM to the active record): drawn ahead of the aircraft, never behind it.
  dist_to_active_wpt = 20;
  bearing_to_active_wpt = 0;
  const struct {
    double altitude;  // the TOD that many NM before record 2: (altitude - 5000) / 400
    bool drawn;
  } behind_rows[] = {{27000, true}, {30000, false}};
  for (const auto& row : behind_rows) {
    s.rec().clear();
    indicated_altitude = row.altitude;
    s.draw(TOC_TOD_STYLE_B737);
    EXPECT_EQ(s.rec().has_text("[TOD]"), row.drawn) << row.altitude;
  }
  indicated_altitude = 11000;
  // With VNAV on, a climb target that is the TOC gets no indicator of its own.
  s.rec().clear();
  toc_lon = climb_target_lon;
  s.draw(TOC_TOD_STYLE_B737);
  EXPECT_FALSE(s.rec().has_text("[5000]"));

  // Not more than 500 ft above the constraint, or no descent rate: no floating TOD.
  s.rec().clear();
  indicated_altitude = 5500;
  s.draw(TOC_TOD_STYLE_B737);
  EXPECT_FALSE(s.rec().has_text("[TOD]"));
  indicated_altitude = 11000;
  descent_rate = 0;
  s.draw(TOC_TOD_STYLE_B737);
  EXPECT_FALSE(s.rec().has_text("[TOD]"));
}

// A climb target's label on a plan record stands on the side away from the record's ident
// (idents stand right of their points unless the overlay says left); off a record it keeps
// its VNAV side.
TEST(TocTodMarkers, ClimbTargetLabelOnARecordStandsAwayFromItsIdent) {
  const struct {
    const char* what;
    bool on_record;
    int32_t vnav;
    bool ident_left;
    double x;  // the label's x
  } rows[] = {
      {"on a record, VNAV on", true, 1, false, 122 - 39},
      {"on a record whose ident stands left", true, 1, true, 122 + 7},
      {"on a record, VNAV off", true, 0, false, 122 - 39},
      {"on no record, VNAV on", false, 1, false, 122 + 7},
  };
  for (const auto& row : rows) {
    MarkerScene s;
    const NavPoint target = point_from(LAT, LON, 0, 5);  // 26.875 units up
    if (row.on_record) {
      set_active_plan({{LAT, LON}, target, point_from(LAT, LON, 0, 30)});
      fpl_active[1].alt_constraint = 12000;
    } else {
      clear_fpl_active();
    }
    climb_target_lat = target.lat;
    climb_target_lon = target.lon;
    toc_lat = s.tod.lat;  // the TOC elsewhere: a target on it gets no marker with VNAV on
    toc_lon = s.tod.lon;
    vnav_target_alt = 12000;
    vnav_on = row.vnav;
    draw_tod_toc_markers(s.g, 215, 40, 122, 249, TOC_TOD_STYLE_P1000, 1, 1, LAT, LON, 0,
                         [&](double, double, const char*) { return row.ident_left; });
    EXPECT_TRUE(near(s.text_at("[12000]"), row.x, 249 - 27 - 8, 1.5))
        << row.what << ": " << s.text_at("[12000]").x << ", " << s.text_at("[12000]").y;
  }
}

// Two markers' labels never stand on each other: the later one moves up or down clear of
// the earlier, on its own side.
TEST(TocTodMarkers, LaterLabelMovesClearOfAnEarlierOne) {
  const struct {
    const char* what;
    double course, dist;  // the TOD from the TOC
  } rows[] = {{"at the same point", 0, 0}, {"1 NM east", 90, 1}, {"1 NM north", 0, 1}, {"1 NM south", 180, 1}};
  for (const auto& row : rows) {
    MarkerScene s;
    clear_fpl_active();
    vnav_on = 1;
    const NavPoint tod = point_from(s.toc.lat, s.toc.lon, row.course, row.dist);
    tod_lat = tod.lat;
    tod_lon = tod.lon;
    s.draw(TOC_TOD_STYLE_P1000);
    GfxRectF toc{}, tod_ink{};
    for (const GfxTextItem& t : s.rec().text_items()) (t.text == "[TOC]" ? toc : tod_ink) = t.ink;
    ASSERT_GT(toc.width, 0) << row.what;
    ASSERT_GT(tod_ink.width, 0) << row.what;
    const bool apart = tod_ink.x >= toc.x + toc.width || toc.x >= tod_ink.x + tod_ink.width ||
                       tod_ink.y >= toc.y + toc.height || toc.y >= tod_ink.y + tod_ink.height;
    EXPECT_TRUE(apart) << row.what << ": [TOD] at " << tod_ink.x << ", " << tod_ink.y << " [TOC] at " << toc.x << ", "
                       << toc.y;
    // Still left of its dot.
    EXPECT_LT(s.text_at("[TOD]").x, 122 + 53 * std::sin(row.course * M_PI / 180) * row.dist / 10 - 30) << row.what;
  }
}

// A label on a route ident moves the least that clears every ident drawn, also where the
// lesser way off the first would put it on another.
TEST(TocTodMarkers, LabelMovesClearOfTheRoutesIdents) {
  struct Ident {
    double dy0, dy1;  // the ident's box from the label's own top
  };
  const struct {
    const char* what;
    std::vector<Ident> idents;
  } rows[] = {{"an ident on it", {{2, 14}}},
              {"the lesser way onto another", {{2, 14}, {-20, -8}}},
              {"between two, a third below", {{2, 14}, {-20, -8}, {15, 27}}}};
  auto label_world = [](MarkerScene& s) {
    for (const GfxTextItem& t : s.rec().text_items())
      if (t.text == "[TOC]") return t.world;
    return GfxPointF{-1e9, -1e9};
  };
  for (const auto& row : rows) {
    MarkerScene s;
    clear_fpl_active();
    vnav_on = 1;
    s.draw(TOC_TOD_STYLE_P1000);
    const GfxPointF alone = label_world(s);
    ASSERT_GT(alone.x, -1e8) << row.what;
    std::vector<MapTextBox> boxes;
    for (const Ident& i : row.idents) boxes.push_back({alone.x, alone.y + i.dy0, alone.x + 40, alone.y + i.dy1});
    s.rec().clear();
    draw_tod_toc_markers(s.g, 215, 40, 122, 249, TOC_TOD_STYLE_P1000, 1, 1, LAT, LON, 0, nullptr, boxes);
    const GfxPointF moved = label_world(s);
    EXPECT_EQ(moved.x, alone.x) << row.what;
    for (const MapTextBox& b : boxes)
      EXPECT_TRUE(moved.y + 12 <= b.y0 || moved.y >= b.y1) << row.what << ": label top " << moved.y - alone.y;
    EXPECT_LE(std::fabs(moved.y - alone.y), 27.0) << row.what;
  }
}

}  // namespace
