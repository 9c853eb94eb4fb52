// ATC boundaries, altitude range arcs and the TCAS range ring.
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <string>

#include "draw/altitude_range_arc.h"
#include "draw/atc_boundary_layer.h"
#include "draw/ink_reach.h"
#include "draw/tcas_range_ring.h"
#include "layer_scene.h"
#include "module/module_paths.h"
#include "navdb/navdb_load.h"

namespace {

constexpr double LAT = 47.0, LON = -122.0;
constexpr uint32_t BOUNDARY = 0xFF979700;

// One boundary whose first point lies `dist` NM north, with three points.
void add_boundary(const char* ident, const char* label, double dist) {
  int32_t b = ++atc_boundary_count;
  AtcBoundary& bd = atc_boundaries[b];
  bd = AtcBoundary{};
  nav_copy_text(bd.ident, sizeof bd.ident, ident);
  nav_copy_text(bd.label, sizeof bd.label, label);
  bd.first_point = atc_boundary_point_count + 1;
  bd.count = 3;
  for (double course : {0.0, 5.0, 10.0}) atc_boundary_points[++atc_boundary_point_count] = point_from(LAT, LON, course, dist);
  NavPoint lp = point_from(LAT, LON, 0, dist);
  bd.label_lat = lp.lat;
  bd.label_lon = lp.lon;
  atc_boundaries_loaded = 1;
}

TEST(AtcBoundaries, SampleRegionDrawsOpenOutlinesAndShortLabels) {
  sim_root_path = VEK_LAYERS_SAMPLE_ROOT;
  place_aircraft(47.45, -122.31);
  atc_bdry_on = 1;
  b737_nd_mode = 5;
  b737_nd_range = 160;
  b737_nd_map_radius = 40;  // small enough that both outlines lie on the image
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_boundaries(s.ctx(), s.g);
  EXPECT_EQ(atc_boundaries_loaded, 1);
  EXPECT_EQ(s.rec().count(GfxOp::Line, BOUNDARY), 4 + 3);  // 5 and 4 points; not closed by the layer
  EXPECT_EQ(s.rec().texts(), (std::vector<std::string>{"ZSE", "VR"}));
  // Label 15 left of the projected label position (47N 121.5W).
  double d, c;
  compute_gc_distance_course(47.45, -122.31, 47.0, -121.5, d, c);
  double x, y;
  polar_to_screen(0, c, 122, 249, d * 40 / 160, x, y);
  EXPECT_TRUE(near(s.text_at("ZSE"), int32_t(x - 122) + 122 - 15, int32_t(y - 249) + 249, 1.5));
}

TEST(AtcBoundaries, DistanceLimitAndSpecialIdents) {
  place_aircraft(LAT, LON);
  atc_bdry_on = 1;
  add_boundary("KZZZ001", "ZZZ", 1000);
  add_boundary("KZZZ002", "FAR", 1200);
  add_boundary("YM00142", "YM", 1200);
  add_boundary("YB00001", "YB", 4999);
  add_boundary("NZ00084", "NZ", 5000);
  add_boundary("NZ000845", "NZX", 1200);  // not one of the special idents
  // 10 units a NM, north down: an image large enough to hold the boundaries drawn.
  LayerScene s(CANVAS_B737_ND, 244, 302, 60000, 60000);
  draw_atc_boundaries(s.g, 100, 30000, 0, 10, 180);
  EXPECT_EQ(s.rec().texts(), (std::vector<std::string>{"ZZZ", "YM", "YB"}));
  EXPECT_EQ(s.rec().count(GfxOp::Line, BOUNDARY), 6);
}

TEST(AtcBoundaries, LabelCutToThreeCharactersAndSwitch) {
  place_aircraft(LAT, LON);
  add_boundary("KZZZ001", "ABCDEFG", 10);
  LayerScene s(CANVAS_B737_ND);
  atc_bdry_on = 0;
  draw_atc_boundaries(s.g, 100, 122, 0, 10, 180);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  atc_bdry_on = 1;
  draw_atc_boundaries(s.g, 100, 122, 0, 10, 180);  // north down: the boundary on the image
  EXPECT_EQ(s.rec().texts(), std::vector<std::string>{"ABC"});
}

TEST(AtcBoundaries, MissingFileIsTriedOnceAndDrawsNothing) {
  sim_root_path = "/nonexistent/vek-sim";
  place_aircraft(LAT, LON);
  atc_bdry_on = 1;
  LayerScene s(CANVAS_B737_ND);
  draw_atc_boundaries(s.g, 100, 0, 0, 10, 0);
  EXPECT_EQ(atc_boundaries_loaded, 1);
  EXPECT_EQ(atc_boundary_count, 0);
  sim_root_path = VEK_LAYERS_SAMPLE_ROOT;  // not read again
  draw_atc_boundaries(s.g, 100, 0, 0, 10, 0);
  EXPECT_EQ(atc_boundary_count, 0);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

TEST(AtcBoundaries, NorthUpFormatsPassHeadingZero) {
  place_aircraft(LAT, LON, 90);
  atc_bdry_on = 1;
  add_boundary("KZZZ001", "N", 20);
  b737_nd_mode = 7;
  b737_nd_range = 40;
  b737_nd_map_radius = 110;
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_boundaries(s.ctx(), s.g);
  EXPECT_TRUE(near(s.text_at("N"), 122 - 15, 171 - 55, 1.5));
  s.rec().clear();
  b737_nd_mode = 6;  // heading up: north is to the left
  draw_b737_nd_boundaries(s.ctx(), s.g);
  EXPECT_TRUE(near(s.text_at("N"), 122 - 55 - 15, 171, 1.5));
}

// The boundary lines a draw recorded, as image pixels.
std::vector<GfxPointF> boundary_lines(LayerScene& s) {
  std::vector<GfxPointF> out;
  for (const GfxRecord* r : s.rec().of(GfxOp::Line))
    if (r->pen_argb == BOUNDARY)
      for (GfxPointF p : GfxRecording::device_points(*r)) out.push_back(p);
  return out;
}

// The lines of boundary 1 as the layer places them, each point measured afresh: radius 100
// over 10 NM, (30000, 0), north down, on a 60000-pixel image.
std::vector<GfxPointF> expected_lines(double ref_lat, double ref_lon) {
  std::vector<GfxPointF> out;
  const AtcBoundary& bd = atc_boundaries[1];
  auto at = [&](int32_t k) {
    const NavPoint& p = atc_boundary_points[bd.first_point + k];
    double d, c;
    int32_t x, y;
    compute_gc_distance_course(ref_lat, ref_lon, p.lat, p.lon, d, c);
    polar_to_screen_int(180, c, 30000, 0, d * 100 / 10, x, y);
    return GfxPointF{double(x), double(y)};
  };
  for (int32_t k = 1; k < bd.count; ++k) {
    out.push_back(at(k - 1));
    out.push_back(at(k));
  }
  return out;
}

// Measurements are kept between draws from the same reference: draws from up to three
// references in turn, and outlines or labels moved while the reference stays, still place
// every line and label where a fresh measurement does.
TEST(AtcBoundaries, KeptMeasurementsFollowTheReferenceAndTheOutline) {
  place_aircraft(LAT, LON);
  atc_bdry_on = 1;
  add_boundary("KZZZ001", "ZZZ", 20);
  const NavPoint refs[] = {{LAT, LON}, point_from(LAT, LON, 90, 3), point_from(LAT, LON, 200, 4)};
  struct Step {
    int ref;
    double move_point_nm;  // the outline's middle point moved this far east first (0: stays)
    double move_label_nm;  // its label moved this far west first
  };
  const Step steps[] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {0, 0, 0},
                        {0, 2, 0}, {0, 0, 3}, {1, 1, 0}, {2, 0, 1}, {2, 0, 0}};
  LayerScene s(CANVAS_B737_ND, 244, 302, 60000, 60000);
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    const Step& st = steps[i];
    AtcBoundary& bd = atc_boundaries[1];
    NavPoint& mid = atc_boundary_points[bd.first_point + 1];
    if (st.move_point_nm > 0) mid = point_from(mid.lat, mid.lon, 90, st.move_point_nm);
    if (st.move_label_nm > 0) {
      NavPoint l = point_from(bd.label_lat, bd.label_lon, 270, st.move_label_nm);
      bd.label_lat = l.lat, bd.label_lon = l.lon;
    }
    const NavPoint& ref = refs[st.ref];
    s.rec().clear();
    draw_atc_boundaries(s.g, 100, 30000, 0, 10, 180, ref.lat, ref.lon);
    const std::vector<GfxPointF> lines = boundary_lines(s), want = expected_lines(ref.lat, ref.lon);
    ASSERT_EQ(lines.size(), want.size());
    for (size_t k = 0; k < lines.size(); ++k) EXPECT_TRUE(near(lines[k], want[k].x, want[k].y, 0.01)) << k;
    double d, c, x, y;
    compute_gc_distance_course(ref.lat, ref.lon, bd.label_lat, bd.label_lon, d, c);
    polar_to_screen(180, c, 30000, 0, d * 100 / 10, x, y);
    const std::vector<GfxTextItem> texts = s.rec().text_items();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(near(texts[0].device, int32_t(x) - 15, int32_t(y), 1.5));
  }
}

// Chunks of an outline that cannot reach the image are not projected: the layer still
// draws exactly the segments that reach the image with every point projected.
TEST(AtcBoundaries, OutlinesDrawEverySegmentThatReachesTheImage) {
  constexpr double HEADING = 30, PX_PER_NM = 100.0 / 20;
  struct Outline {
    std::string what;
    std::vector<NavPoint> pts;
  };
  std::vector<Outline> outlines;
  // Wavy rings: their centre's course and distance from the aircraft, their radius.
  const double rings[][3] = {{0, 5, 30}, {100, 60, 35}, {0, 150, 160}, {0, 0, 200}, {45, 600, 100}};
  for (const auto& r : rings) {
    Outline o{"ring " + std::to_string(r[1]) + " NM out", {}};
    const NavPoint c = point_from(LAT, LON, r[0], r[1]);
    for (int32_t k = 0; k < 150; ++k)
      o.pts.push_back(point_from(c.lat, c.lon, k * 2.4, r[2] * (1 + 0.2 * std::sin(k * 0.5))));
    outlines.push_back(o);
  }
  // A knot of points 100 NM west, then a leap across the image to a knot 100 NM east,
  // after every number of points up to 40.
  const NavPoint west = point_from(LAT, LON, 270, 100), east = point_from(LAT, LON, 90, 100);
  for (int32_t leap = 1; leap <= 40; ++leap) {
    Outline o{"leap after " + std::to_string(leap) + " points", {}};
    for (int32_t k = 0; k < leap + 40; ++k) {
      const NavPoint& knot = k < leap ? west : east;
      o.pts.push_back(point_from(knot.lat, knot.lon, k * 50.0, 0.5 + 0.1 * (k % 3)));
    }
    outlines.push_back(o);
  }
  place_aircraft(LAT, LON);
  atc_bdry_on = 1;
  LayerScene s(CANVAS_B737_ND);
  int32_t drawn = 0;
  for (const Outline& o : outlines) {
    SCOPED_TRACE(o.what);
    atc_boundary_count = atc_boundary_point_count = 0;
    add_boundary("KZZZ001", "RNG", 0);
    atc_boundaries[1].count = atc_boundary_point_count = int32_t(o.pts.size());
    std::copy(o.pts.begin(), o.pts.end(), &atc_boundary_points[1]);
    auto at = [&](size_t k, int32_t& x, int32_t& y) {
      double d, crs;
      compute_gc_distance_course(LAT, LON, o.pts[k].lat, o.pts[k].lon, d, crs);
      return polar_to_screen_int(HEADING, crs, 122, 200, d * PX_PER_NM, x, y);
    };
    std::vector<GfxPointF> want;
    for (size_t k = 1; k < o.pts.size(); ++k) {
      int32_t x0, y0, x1, y1;
      if (at(k - 1, x0, y0) && at(k, x1, y1) && line_reaches_image(s.g, 1, x0, y0, x1, y1)) {
        want.push_back({double(x0), double(y0)});
        want.push_back({double(x1), double(y1)});
      }
    }
    s.rec().clear();
    draw_atc_boundaries(s.g, 100, 122, 200, 20, HEADING);
    const std::vector<GfxPointF> lines = boundary_lines(s);
    ASSERT_EQ(lines.size(), want.size());
    for (size_t k = 0; k < lines.size(); ++k) EXPECT_TRUE(near(lines[k], want[k].x, want[k].y, 0.01)) << k;
    drawn += !want.empty();
  }
  EXPECT_EQ(drawn, 3 + 40);  // all but the ring about the aircraft beyond the image and the far one
}

// ---- altitude range arc ----

void descending(double above_ft, double vs, double gs) {
  ap_altitude = 10000;
  indicated_altitude = 10000 + above_ft;
  vertical_speed = vs;
  ground_speed = gs;
}

TEST(AltitudeArc, B737ArcWhereTheSelectedAltitudeIsReached) {
  descending(3000, -1500, 240);  // 8 NM ahead
  b737_nd_center_y = 249;
  b737_nd_map_radius = 215;
  b737_nd_range = 40;
  LayerScene s(CANVAS_B737_ND);
  draw_b737_nd_altitude_arc(s.ctx(), s.g);
  auto arcs = s.rec().of(GfxOp::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0]->args, (std::vector<double>{-108, -43, 217, 217, 240, 60}));
  EXPECT_EQ(arcs[0]->pen_argb, COLOUR_GREEN);
  EXPECT_TRUE(near(s.design_of(*arcs[0], 0, 0), 122, 249));
}

TEST(AltitudeArc, ArcApproachesTheAircraftAndNeedsADescent) {
  b737_nd_range = 40;
  b737_nd_map_radius = 215;
  LayerScene s(CANVAS_B737_ND);
  descending(10, -1500, 240);
  draw_b737_nd_altitude_arc(s.ctx(), s.g);
  EXPECT_EQ(s.rec().of(GfxOp::Arc).at(0)->args[1], 0);
  s.rec().clear();
  for (double vs : {0.0, -100.0, 500.0}) {
    descending(3000, vs, 240);
    draw_b737_nd_altitude_arc(s.ctx(), s.g);
  }
  descending(-100, -1500, 240);  // below the selected altitude
  draw_b737_nd_altitude_arc(s.ctx(), s.g);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

TEST(AltitudeArc, MemberBoxesCentresAndColours) {
  descending(3000, -1500, 240);
  LayerScene s(CANVAS_EFS50);
  efs50_ehsi_mode = 2;
  efs50_ehsi_map_radius = 95;
  efs50_ehsi_range = 20;
  draw_efs50_ehsi_altitude_arc(s.ctx(), s.g);
  const GfxRecord& e = *s.rec().of(GfxOp::Arc).at(0);
  EXPECT_EQ(e.args, (std::vector<double>{-45, -38, 90, 90, 220, 100}));
  EXPECT_EQ(e.pen_argb, 0xFF25C817u);
  EXPECT_TRUE(near(s.design_of(e, 0, 0), 129, 114));

  LayerScene p(CANVAS_P1000_MFD, 544, 628);
  set_canvas_scale(p.g, 544, 628, CANVAS_P1000_MFD);
  p1000_map_cx = 136;
  p1000_map_cy = 200;
  p1000_map_radius = 100;
  p1000_mfd_range = 40;
  draw_p1000_mfd_altitude_arc(p.ctx(), p.g);
  const GfxRecord& a = *p.rec().of(GfxOp::Arc).at(0);
  EXPECT_EQ(a.args, (std::vector<double>{-53, -20, 105, 105, 220, 100}));
  EXPECT_EQ(a.pen_argb, COLOUR_LIGHT_GREEN);
  GfxMatrix m;
  gfx_get_transform(p.g, &m);
  EXPECT_DOUBLE_EQ(m.dx, 0);
  EXPECT_DOUBLE_EQ(m.m11, 2.0);
}

// ---- TCAS range ring ----

TEST(TcasRing, DotsTicksMarksAircraftAndRange) {
  struct Case {
    double range;
    int32_t fills;
    const char* text;
  };
  for (Case c : {Case{2, 24, " 2"}, Case{5, 36, " 5"}, Case{10, 36, "10"}, Case{20, 36, "20"}, Case{40, 24, "40"}}) {
    efs50_tcas_range = c.range;
    LayerScene s(CANVAS_EFS50);
    draw_efs50_ehsi_tcas_ring(s.ctx(), s.g);
    SCOPED_TRACE(c.range);
    EXPECT_EQ(s.rec().count(GfxOp::FillEllipse, COLOUR_BLUE), c.fills);
    EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_BLUE), 12);
    ASSERT_EQ(s.rec().count(GfxOp::Lines, COLOUR_WHITE), 1);
    EXPECT_EQ(s.rec().of(GfxOp::Lines)[0]->points.size(), 30u);
    EXPECT_EQ(s.rec().texts(), std::vector<std::string>{c.text});
    EXPECT_TRUE(near(s.text_at(c.text), 129 + 80, 114 + 94));
  }
}

TEST(TcasRing, TwoMileMarksOnTheTickRadials) {
  efs50_tcas_range = 10;
  LayerScene s(CANVAS_EFS50);
  draw_efs50_tcas_ring(s.ctx(), s.g);
  int32_t marks = 0;
  for (const GfxRecord* r : s.rec().of(GfxOp::FillEllipse))
    if (r->args == std::vector<double>{0, -20, 4, 4}) {
      ++marks;
      // Every mark lies 20 units from the ring centre.
      GfxPointF p = s.design_of(*r, 0, -20);
      EXPECT_NEAR(std::hypot(p.x - 129, p.y - 114), 20, 0.5);
    }
  EXPECT_EQ(marks, 12);
}

}  // namespace

// The measurements kept between map displays are those a fresh measurement gives, bit for
// bit: repeated, from another reference, at the origin and at its negative zero, and for
// more points than the kept slots (entries taken over by others).
TEST(MapLayers, KeptMeasurementsAreFreshMeasurements) {
  std::vector<std::array<double, 4>> asks = {{0, 0, 0, 0}, {-0.0, 0, 0, -0.0}, {LAT, LON, LAT, LON},
                                              {LAT, LON, LAT + 1, LON - 2}, {LAT + 0.5, LON, LAT + 1, LON - 2}};
  for (int i = 0; i < 40000; ++i) asks.push_back({LAT, LON, LAT + 0.001 * i, LON - 0.0007 * i});
  for (int pass = 0; pass < 2; ++pass)
    for (const auto& a : asks) {
      double nm = 0, course = 0;
      compute_gc_distance_course(a[0], a[1], a[2], a[3], nm, course);
      ASSERT_TRUE(measure_from(a[0], a[1], a[2], a[3]));
      ASSERT_EQ(std::memcmp(&gc_distance_nm, &nm, sizeof nm), 0);
      ASSERT_EQ(std::memcmp(&gc_course_deg, &course, sizeof course), 0);
    }
}
