// Strokes rasterised without cairo against cairo_stroke's own masks: the same pixels
// fully inked and left blank, edge pixels within anti-aliasing, the same ink in all.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace {

constexpr int32_t SIZE = 200;

struct Shape {
  std::vector<GfxPointF> points;  // a polyline, or empty for the arc
  double arc[6];                  // x y w h start sweep
};

struct CoverageCase {
  const char* name;
  GfxMatrix m;  // world to device, the pixel offset included
  double width;
  Shape shape;
};

void PrintTo(const CoverageCase& c, std::ostream* os) { *os << c.name; }

// cairo's mask of the stroke, as the raster back end strokes it.
std::vector<uint8_t> cairo_mask(const CoverageCase& c) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, SIZE, SIZE);
  cairo_t* cr = cairo_create(s);
  cairo_matrix_t m;
  cairo_matrix_init(&m, c.m.m11, c.m.m12, c.m.m21, c.m.m22, c.m.dx, c.m.dy);
  cairo_set_matrix(cr, &m);
  if (c.shape.points.empty()) {
    const double* a = c.shape.arc;
    raster_path_arc(cr, a[0], a[1], a[2], a[3], a[4], a[5], false);
    if (std::fabs(a[5]) >= 360) cairo_close_path(cr);
  } else {
    cairo_move_to(cr, c.shape.points[0].x, c.shape.points[0].y);
    for (size_t i = 1; i < c.shape.points.size(); ++i) cairo_line_to(cr, c.shape.points[i].x, c.shape.points[i].y);
  }
  const GfxPen pen{0xFF000000, c.width, GFX_DASH_SOLID, false, {}};
  raster_stroke_style(cr, &pen);
  cairo_stroke(cr);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  std::vector<uint8_t> out(size_t(SIZE) * SIZE);
  const int32_t stride = cairo_image_surface_get_stride(s);
  for (int32_t y = 0; y < SIZE; ++y)
    std::copy_n(cairo_image_surface_get_data(s) + size_t(y) * size_t(stride), SIZE, out.begin() + y * SIZE);
  cairo_surface_destroy(s);
  return out;
}

// The rasteriser's mask, filled over the pixels of `box` (x0 y0 x1 y1).
std::vector<uint8_t> own_mask(const CoverageCase& c, std::array<int32_t, 4> box = {0, 0, SIZE, SIZE}) {
  gfx_coverage_begin(c.m, c.width);
  if (c.shape.points.empty()) {
    const double* a = c.shape.arc;
    EXPECT_TRUE(gfx_coverage_arc(c.m, a[0], a[1], a[2], a[3], a[4], a[5]));
  } else {
    std::vector<GfxPointF> d;
    for (const GfxPointF& p : c.shape.points) d.push_back(gfx_apply(c.m, p.x, p.y));
    gfx_coverage_polyline(d.data(), int32_t(d.size()));
  }
  std::vector<uint8_t> out(size_t(SIZE) * SIZE, 0);
  GfxCoverage cov;
  if (!gfx_coverage_fill(box[0], box[1], box[2], box[3], cov)) return out;
  for (int32_t i = 0; i < cov.run_count; ++i) {
    const GfxCoverageRun& run = cov.runs[i];
    for (int32_t x = run.x0; x < run.x1; ++x)
      out[size_t(cov.y + run.row) * SIZE + size_t(cov.x + x)] =
          cov.bits[size_t(run.row) * size_t(cov.stride) + size_t(x)];
  }
  return out;
}

GfxMatrix turned(double sx, double sy, double deg, double dx, double dy) {
  const double t = deg * 3.14159265358979323846 / 180, c = std::cos(t), s = std::sin(t);
  return {sx * c, sx * s, -sy * s, sy * c, dx, dy};
}

Shape line(std::vector<GfxPointF> pts) { return {std::move(pts), {}}; }
Shape arc(double x, double y, double w, double h, double start, double sweep) {
  return {{}, {x, y, w, h, start, sweep}};
}

// The two masks compared: where cairo inks a pixel fully or not at all, the rasteriser
// does within one of cairo's 15 sub-rows (cairo samples the rows where edges end, the
// rasteriser takes the exact area); an edge pixel differs by two sub-rows at most; the
// ink agrees within 1 %. Under a clip (its coverage `clip`), nothing is inked beyond it,
// and a pixel its edge crosses differs by a quarter at most (cairo cuts the stroke's
// outline by the clip's, the rasteriser multiplies their coverages).
void expect_same_stroke(const std::vector<uint8_t>& want, const std::vector<uint8_t>& got,
                        const std::vector<uint8_t>& clip = {}) {
  int32_t worst_solid = 0, worst_edge = 0, worst_cut = 0, beyond = 0;
  double ink_want = 0, ink_got = 0;
  std::string where;
  for (size_t i = 0; i < want.size(); ++i) {
    const int32_t a = want[i], b = got[i], d = std::abs(a - b), k = clip.empty() ? 255 : clip[i];
    ink_want += a, ink_got += b;
    const bool solid = a == 0 || a == 255;
    if (k == 0) beyond += b != 0;
    if (k > 0 && k < 255) worst_cut = std::max(worst_cut, d);
    if (k < 255) continue;
    if (solid && d > worst_solid) worst_solid = d, where = std::to_string(i % SIZE) + "," + std::to_string(i / SIZE);
    if (!solid) worst_edge = std::max(worst_edge, d);
  }
  ASSERT_GT(ink_want, 255 * 20.0);
  EXPECT_LE(worst_solid, 255 / 15 + 1) << where;
  EXPECT_LE(worst_edge, 2 * 255 / 15);
  EXPECT_LE(worst_cut, 64);
  EXPECT_EQ(beyond, 0);
  EXPECT_NEAR(ink_got, ink_want, ink_want * (clip.empty() ? 0.01 : 0.015));
}

class StrokeCoverageTest : public testing::TestWithParam<CoverageCase> {};

TEST_P(StrokeCoverageTest, MatchesCairosStroke) { expect_same_stroke(cairo_mask(GetParam()), own_mask(GetParam())); }

const GfxMatrix AT_CENTRES{1, 0, 0, 1, 0.5, 0.5};

INSTANTIATE_TEST_SUITE_P(
    Shapes, StrokeCoverageTest,
    testing::Values(
        CoverageCase{"hexagon_sharp_and_shallow_joins", {1, 0, 0, 1, 60.3, 40.6}, 1.5,
                     line({{0, 0}, {6, 3}, {6, 10}, {0, 13}, {-6, 10}, {-6, 3}, {0, 0}})},
        CoverageCase{"zigzag_miters_within_the_limit", {1, 0, 0, 1, 20.37, 30.21}, 3,
                     line({{0, 0}, {60, 12}, {0, 24}, {150, 30}})},
        CoverageCase{"zigzag_bevelled_past_the_limit", {1, 0, 0, 1, 20.37, 30.21}, 3,
                     line({{0, 0}, {120, 8}, {0, 16}, {120, 50}})},
        CoverageCase{"closed_looking_polyline", {2, 0, 0, 2, 40.5, 40.5}, 2,
                     line({{0, 0}, {30, 5}, {20, 40}, {-5, 20}, {0, 0}})},
        CoverageCase{"zero_length_segments", {1, 0, 0, 1, 30.25, 70.75}, 1,
                     line({{0, 0}, {0, 0}, {50, 20}, {50, 20}, {50, 20}, {90, -30}, {90, -30}})},
        CoverageCase{"turn_back_on_itself", {1, 0, 0, 1, 50.5, 50.5}, 2, line({{0, 0}, {80, 30}, {20, 8}})},
        CoverageCase{"rectilinear_box_off_the_grid", {1, 0, 0, 1, 30.3, 30.7}, 1,
                     line({{0, 0}, {100, 0}, {100, 60}, {0, 60}, {0, 0}})},
        CoverageCase{"long_hairline", AT_CENTRES, 0, line({{3, 190}, {196, 7}})},
        CoverageCase{"long_line_width_1", AT_CENTRES, 1, line({{3, 17}, {196, 101}})},
        CoverageCase{"long_line_width_2_scaled", {1.37, 0, 0, 1.37, 0.5, 0.5}, 2, line({{3, 100}, {140, 97}})},
        CoverageCase{"long_line_width_3_steep", AT_CENTRES, 3, line({{100, 2}, {104, 197}})},
        CoverageCase{"turned_and_stretched", turned(1.5, 0.7, 157, 120.4, 110.9), 2,
                     line({{0, 0}, {40, 10}, {45, 50}, {-20, 30}})},
        CoverageCase{"mirrored", {-1.2, 0, 0, 1.4, 150.3, 20.2}, 2.5, line({{0, 0}, {50, 40}, {90, 10}, {100, 90}})},
        CoverageCase{"hairline_under_a_turn", turned(2, 2, 33, 90.1, 60.9), 0,
                     line({{0, 0}, {9, 4}, {30, -10}, {50, 30}})},
        CoverageCase{"arc", {1, 0, 0, 1, 50.2, 60.4}, 1, arc(0, 0, 80, 56, 30, 200)},
        CoverageCase{"arc_backwards", {1, 0, 0, 1, 50.2, 60.4}, 2, arc(0, 0, 80, 56, 300, -250)},
        CoverageCase{"ring_unevenly_scaled", {40.0 / 83, 0, 0, 43.0 / 83, 20.11, 20.77}, 8.3,
                     arc(0, 0, 330, 330, 0, 360)},
        CoverageCase{"large_ellipse_turned", turned(1, 1, 25, 100.5, 100.5), 1.5, arc(-90, -60, 180, 120, 0, 360)},
        CoverageCase{"small_ring_hairline", {1, 0, 0, 1, 80.3, 80.6}, 0, arc(0, 0, 12, 12, 0, 360)},
        CoverageCase{"arc_under_a_shear", {1, 0.3, 0.5, 1, 40.5, 30.5}, 3, arc(0, 0, 100, 60, 200, 120)}),
    [](const testing::TestParamInfo<CoverageCase>& info) { return std::string(info.param.name); });

// Strokes filled over a box narrower than them: rows a line's two sides cross within the
// box, rows wholly beyond one of its sides, rows both sides of a ring pass by, a stroke
// wider than the box: as cairo's mask within the box.
struct BoxCase {
  CoverageCase stroke;
  std::array<int32_t, 4> box;  // x0 y0 x1 y1
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.stroke.name; }

class StrokeCoverageBoxTest : public testing::TestWithParam<BoxCase> {};

TEST_P(StrokeCoverageBoxTest, MatchesCairosStrokeWithinTheBox) {
  const BoxCase& c = GetParam();
  std::vector<uint8_t> want = cairo_mask(c.stroke);
  for (int32_t y = 0; y < SIZE; ++y)
    for (int32_t x = 0; x < SIZE; ++x)
      if (x < c.box[0] || x >= c.box[2] || y < c.box[1] || y >= c.box[3]) want[size_t(y) * SIZE + size_t(x)] = 0;
  expect_same_stroke(want, own_mask(c.stroke, c.box));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, StrokeCoverageBoxTest,
    testing::Values(
        BoxCase{{"line_past_both_sides", {1, 0, 0, 1, 0.3, 0.6}, 1, line({{-40, 20}, {240, 180}})}, {50, 0, 150, SIZE}},
        BoxCase{{"hairline_beyond_one_side", AT_CENTRES, 0, line({{10, 5}, {120, 195}})}, {60, 10, 190, 190}},
        BoxCase{{"zigzag_in_and_out", {1, 0, 0, 1, 20.37, 10.21}, 2,
                 line({{0, 0}, {150, 30}, {10, 60}, {160, 100}, {-10, 150}})},
                {40, 0, 140, SIZE}},
        BoxCase{{"ring_past_both_sides", {1, 0, 0, 1, 10.3, 10.6}, 1.5, arc(0, 0, 180, 180, 0, 360)},
                {60, 0, 140, SIZE}},
        BoxCase{{"stroke_wider_than_the_box", {1, 0, 0, 1, 0.5, 0.5}, 40, line({{100, 10}, {112, 190}})},
                {95, 0, 115, SIZE}}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.stroke.name); });

// Strokes across a clip's edge, drawn through the graphics calls (a symbol met for the
// first time, long lines, a large ring), ink as cairo strokes them under the same clip:
// nothing beyond the clip, edges within anti-aliasing.
TEST(StrokeCoverage, StrokesAcrossAClipInkAsCairoClipsThem) {
  using Draw = void (*)(GfxGraphics*, GfxPen*);
  struct Stroke {
    const char* what;
    double width;
    Draw draw;
    std::vector<GfxPointF> points;  // cairo's path: a polyline, or the ring below
  };
  const Stroke strokes[] = {
      {"symbol met once", 2,
       [](GfxGraphics* g, GfxPen* p) {
         GfxPoint h[] = {{96, 84}, {102, 87}, {102, 94}, {96, 97}, {90, 94}, {90, 87}, {96, 84}};
         gfx_draw_lines(g, p, h, 7);
       },
       {{96, 84}, {102, 87}, {102, 94}, {96, 97}, {90, 94}, {90, 87}, {96, 84}}},
      {"long line", 1.5, [](GfxGraphics* g, GfxPen* p) { gfx_draw_line(g, p, 20, 180, 190, 40); },
       {{20, 180}, {190, 40}}},
      {"long hairline zigzag", 0,
       [](GfxGraphics* g, GfxPen* p) {
         GfxPoint z[] = {{5, 5}, {190, 60}, {10, 120}, {195, 190}};
         gfx_draw_lines(g, p, z, 4);
       },
       {{5, 5}, {190, 60}, {10, 120}, {195, 190}}},
      {"large ring", 2, [](GfxGraphics* g, GfxPen* p) { gfx_draw_ellipse(g, p, 40, 60, 150, 110); }, {}},
  };
  struct Clip {
    const char* what;
    std::vector<GfxPointF> corners;  // a polygon, or none for the circle
  };
  const Clip clips[] = {{"L-shaped", {{0, 15}, {100, 90}, {100, 90}}}, {"round", {}}};
  for (const Clip& k : clips)
    for (const Stroke& st : strokes) {
      SCOPED_TRACE(testing::Message() << st.what << " under a " << k.what << " clip");
      uintptr_t token = 0;
      gfx_startup(&token);
      std::vector<uint32_t> px(size_t(SIZE) * SIZE, 0xFF000000);
      GaugeImage image{px.data(), SIZE, SIZE, SIZE * 4, nullptr};
      GfxGraphics* g = nullptr;
      gfx_create(&image, &g);
      gfx_set_smoothing(g, GFX_SMOOTHING_ANTIALIAS);
      GfxPath* path = gfx_path_create(g);
      if (k.corners.empty()) {
        gfx_path_add_ellipse(g, path, 30, 30, 140, 140);
      } else {
        const GfxPoint l[] = {{0, 15}, {100, 15}, {100, 90}, {150, 90}, {150, 150}, {0, 150}};
        for (int32_t i = 0; i < 6; ++i) gfx_path_add_line(g, path, l[i].x, l[i].y, l[(i + 1) % 6].x, l[(i + 1) % 6].y);
        gfx_path_close_figure(g, path);
      }
      gfx_set_clip_path(g, path);
      const std::vector<std::vector<GfxPointF>> figures = gfx_flatten_path(*path);
      gfx_path_delete(path);
      gfx_translate(g, 0.3, 0.45, GFX_PREPEND);
      GfxPen* pen = gfx_pen_create(g, 0xFFFFFFFF, st.width);
      st.draw(g, pen);
      gfx_pen_delete(pen);
      gfx_delete(g);
      gfx_shutdown(token);

      // cairo's own: the clip's figures even-odd at pixel centres, then the stroke.
      cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, SIZE, SIZE);
      cairo_t* cr = cairo_create(s);
      for (const auto& f : figures) {
        cairo_move_to(cr, f[0].x + 0.5, f[0].y + 0.5);
        for (const GfxPointF& q : f) cairo_line_to(cr, q.x + 0.5, q.y + 0.5);
        cairo_close_path(cr);
      }
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      cairo_fill_preserve(cr);
      cairo_surface_flush(s);
      std::vector<uint8_t> clip(size_t(SIZE) * SIZE);
      for (int32_t y = 0; y < SIZE; ++y)
        for (int32_t x = 0; x < SIZE; ++x)
          clip[size_t(y) * SIZE + size_t(x)] =
              cairo_image_surface_get_data(s)[size_t(y) * size_t(cairo_image_surface_get_stride(s)) + size_t(x)];
      cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
      cairo_paint(cr);
      cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
      cairo_clip(cr);
      cairo_translate(cr, 0.8, 0.95);
      if (st.points.empty()) {
        raster_path_arc(cr, 40, 60, 150, 110, 0, 360, false);
        cairo_close_path(cr);
      } else {
        cairo_move_to(cr, st.points[0].x, st.points[0].y);
        for (const GfxPointF& q : st.points) cairo_line_to(cr, q.x, q.y);
      }
      const GfxPen plain{0xFFFFFFFF, st.width, GFX_DASH_SOLID, false, {}};
      raster_stroke_style(cr, &plain);
      cairo_stroke(cr);
      cairo_destroy(cr);
      cairo_surface_flush(s);
      std::vector<uint8_t> want(size_t(SIZE) * SIZE), got(size_t(SIZE) * SIZE);
      for (int32_t y = 0; y < SIZE; ++y)
        for (int32_t x = 0; x < SIZE; ++x) {
          want[size_t(y) * SIZE + size_t(x)] =
              cairo_image_surface_get_data(s)[size_t(y) * size_t(cairo_image_surface_get_stride(s)) + size_t(x)];
          got[size_t(y) * SIZE + size_t(x)] = uint8_t(px[size_t(y) * SIZE + size_t(x)] & 0xFF);
        }
      cairo_surface_destroy(s);
      expect_same_stroke(want, got, clip);
    }
}

}  // namespace
