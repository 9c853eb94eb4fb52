// Map-symbol painter: what each symbol code draws, in which colours, with which labels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "draw/map_symbols.h"
#include "draw_scene.h"
#include "module/display_state.h"

extern double heading;

namespace {

constexpr int32_t NO_ARROW = -99;

struct Expect {
  int32_t code;
  int32_t colour;
  GfxOp op;
  int32_t count;  // primitives of this kind
  uint32_t argb;  // every one of them in this colour
  int32_t vertices;  // of the first, for polylines and polygons (0: not checked)
};

// One row per code and colour role: the symbol is drawn alone and must give
// exactly these primitives.
const Expect TABLE[] = {
    {1, 1, GfxOp::Lines, 1, COLOUR_BLUE, 19},        {1, 0, GfxOp::Lines, 1, COLOUR_WHITE, 19},
    {1, 3, GfxOp::Lines, 1, COLOUR_GREEN, 19},       {2, 1, GfxOp::Lines, 1, COLOUR_BLUE, 7},
    {2, 0, GfxOp::Lines, 1, COLOUR_GREEN, 7},        {3, 4, GfxOp::Lines, 1, COLOUR_MAGENTA, 4},
    {3, 1, GfxOp::Lines, 1, COLOUR_BLUE, 4},         {3, 0, GfxOp::Lines, 1, COLOUR_SILVER, 4},
    {4, 1, GfxOp::Lines, 3, COLOUR_BLUE, 5},         {4, 5, GfxOp::Ellipse, 1, COLOUR_YELLOW, 0},
    {4, 0, GfxOp::Lines, 3, COLOUR_WHITE, 5},        {5, 0, GfxOp::Lines, 4, COLOUR_WHITE, 6},
    {5, 1, GfxOp::Ellipse, 1, COLOUR_BLUE, 0},       {11, 0, GfxOp::FillPolygon, 1, COLOUR_WHITE, 18},
    {11, 0, GfxOp::Lines, 1, COLOUR_WHITE, 18},      {12, 0, GfxOp::Lines, 1, COLOUR_WHITE, 18},
    {20, 1, GfxOp::Lines, 1, COLOUR_BLUE, 9},        {20, 3, GfxOp::Lines, 1, COLOUR_GREEN, 9},
    {20, 4, GfxOp::Lines, 1, COLOUR_MAGENTA, 9},     {20, 5, GfxOp::Lines, 1, COLOUR_YELLOW, 9},
    {20, 2, GfxOp::Lines, 1, COLOUR_WHITE, 9},       {21, 4, GfxOp::Lines, 1, COLOUR_MAGENTA, 5},
    {21, 0, GfxOp::Lines, 1, COLOUR_WHITE, 5},       {30, 0, GfxOp::FillPolygon, 1, COLOUR_BLACK, 5},
    {31, 0, GfxOp::FillPolygon, 1, COLOUR_BLACK, 5}, {40, 0, GfxOp::Lines, 1, COLOUR_WHITE, 7},
    {50, 0, GfxOp::Lines, 1, COLOUR_WHITE, 21},      {60, 1, GfxOp::Lines, 1, COLOUR_CYAN, 5},
    {60, 0, GfxOp::Lines, 1, COLOUR_WHITE, 5},       {61, 1, GfxOp::FillPolygon, 1, COLOUR_CYAN, 5},
    {71, 0, GfxOp::FillPolygon, 1, COLOUR_WHITE, 5}, {62, 0, GfxOp::FillEllipse, 1, COLOUR_YELLOW, 0},
    {73, 0, GfxOp::FillEllipse, 1, COLOUR_RED, 0},   {74, 3, GfxOp::Ellipse, 1, COLOUR_GREEN, 0},
    {74, 0, GfxOp::Ellipse, 1, COLOUR_WHITE, 0},     {75, 0, GfxOp::Ellipse, 1, COLOUR_BLUE, 0},
    {75, 0, GfxOp::Line, 2, COLOUR_BLUE, 0},         {76, 0, GfxOp::Ellipse, 1, COLOUR_MAGENTA, 0},
    {76, 0, GfxOp::Line, 4, COLOUR_MAGENTA, 0},
};

TEST(MapSymbol, EachCodeDrawsItsPrimitivesInItsColour) {
  for (const Expect& e : TABLE) {
    DrawScene s;
    draw_map_symbol(s.g, 100, 100, e.code, NO_ARROW, 1, 1, e.colour, 0);
    SCOPED_TRACE("code " + std::to_string(e.code) + " colour " + std::to_string(e.colour));
    EXPECT_EQ(s.rec().count(e.op), e.count);
    EXPECT_EQ(s.rec().count(e.op, e.argb), e.count);
    if (e.vertices) {
      EXPECT_EQ(s.rec().of(e.op)[0]->points.size(), size_t(e.vertices));
    }
    EXPECT_EQ(gfx_last_status(s.g), GFX_OK);
    EXPECT_EQ(gfx_live_objects(), 0);  // every pen, brush and font released
  }
}

TEST(MapSymbol, WholeSymbolsHaveNoStrayPrimitives) {
  struct Total {
    int32_t code, primitives;
  };
  const Total totals[] = {{1, 1},  {2, 1},  {3, 1},  {4, 4},  {5, 5},  {11, 2}, {12, 1}, {20, 1},
                          {21, 1}, {30, 2}, {31, 2}, {40, 2}, {50, 1}, {60, 1}, {61, 1}, {62, 1},
                          {63, 1}, {70, 1}, {71, 1}, {72, 1}, {73, 1}, {74, 1}, {75, 3}, {76, 5}};
  for (const Total& t : totals) {
    DrawScene s;
    draw_map_symbol(s.g, 50, 50, t.code, NO_ARROW, 1, 1, 0, 25);
    EXPECT_EQ(s.rec().primitive_count(), t.primitives) << "code " << t.code;
  }
}

TEST(MapSymbol, UnknownCodesDrawNothing) {
  for (int32_t code : {0, -1, 6, 10, 13, 22, 32, 41, 51, 64, 69, 77, 99, 1000}) {
    DrawScene s;
    draw_map_symbol(s.g, 50, 50, code, 1, 1, 1, 0, 25);
    EXPECT_EQ(s.rec().primitive_count(), 0) << "code " << code;
    EXPECT_EQ(gfx_live_objects(), 0);
  }
}

TEST(MapSymbol, StarVerticesScaleAndTruncateFromAnchor) {
  DrawScene s;
  draw_map_symbol(s.g, 100.7, 50.2, 20, NO_ARROW, 1.5, 2, 4, 0);
  auto lines = s.rec().of(GfxOp::Lines);
  ASSERT_EQ(lines.size(), 1u);
  const auto& p = lines[0]->points;
  EXPECT_EQ(p[0].x, 100);
  EXPECT_EQ(p[0].y, 50);
  EXPECT_EQ(p[2].x, 108);  // 100.7 + 5 * 1.5 = 108.2
  EXPECT_EQ(p[2].y, 62);   // 50.2 + 6 * 2
  EXPECT_EQ(p[4].y, 72);   // tip 11 s below
  EXPECT_EQ(p[6].x, 93);   // 100.7 - 7.5 = 93.2
  EXPECT_EQ(lines[0]->pen_width, 1.5);
}

TEST(MapSymbol, FixedSizeCodesIgnoreScaleExceptPenWidth) {
  for (int32_t code : {11, 12, 30, 31, 40, 50, 60, 61, 62, 63, 70, 71, 72, 73}) {
    DrawScene a, b;
    draw_map_symbol(a.g, 40, 40, code, NO_ARROW, 1, 1, 0, 25);
    draw_map_symbol(b.g, 40, 40, code, NO_ARROW, 3, 2, 0, 25);
    ASSERT_EQ(a.rec().records.size(), b.rec().records.size()) << code;
    for (size_t i = 0; i < a.rec().records.size(); ++i) {
      const GfxRecord& ra = a.rec().records[i];
      const GfxRecord& rb = b.rec().records[i];
      EXPECT_EQ(ra.args, rb.args) << "code " << code;
      ASSERT_EQ(ra.points.size(), rb.points.size());
      for (size_t k = 0; k < ra.points.size(); ++k) {
        EXPECT_EQ(ra.points[k].x, rb.points[k].x) << "code " << code;
        EXPECT_EQ(ra.points[k].y, rb.points[k].y) << "code " << code;
      }
    }
  }
  // Circles 74 to 76 take their height from w, as drawn on the DU-1000 EHSI.
  DrawScene c;
  draw_map_symbol(c.g, 100, 100, 74, NO_ARROW, 2, 3, 0, 0);
  auto e = c.rec().of(GfxOp::Ellipse);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0]->args, (std::vector<double>{92, 106, 16, 16}));
  EXPECT_EQ(e[0]->pen_width, 4);
}

TEST(MapSymbol, HexagonWithLobesLeavesHalfPixelOffsetForTheDraw) {
  DrawScene s;
  draw_map_symbol(s.g, 10, 10, 2, NO_ARROW, 1, 1, 0, 0);
  draw_map_symbol(s.g, 10, 10, 1, NO_ARROW, 1, 1, 0, 0);
  draw_map_symbol(s.g, 10, 10, 3, NO_ARROW, 1, 1, 0, 0);
  auto lines = s.rec().of(GfxOp::Lines);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_FALSE(lines[0]->pixel_offset_half);
  EXPECT_TRUE(lines[1]->pixel_offset_half);
  EXPECT_TRUE(lines[2]->pixel_offset_half);
  EXPECT_EQ(s.rec().count(GfxOp::PixelOffset), 1);
}

std::vector<GfxTextItem> range_box(double value, double x = 45, double y = 110) {
  DrawScene s;
  draw_map_symbol(s.g, x, y, 30, NO_ARROW, 1, 1, 0, value);
  return s.rec().text_items();
}

TEST(MapSymbolLabels, RangeBoxValue) {
  EXPECT_EQ(range_box(12.5)[0].text, "12.5");
  EXPECT_EQ(range_box(2.5)[0].text, "2.5");
  EXPECT_EQ(range_box(0.5)[0].text, "0.5");
  EXPECT_EQ(range_box(25)[0].text, " 25");
  EXPECT_EQ(range_box(160)[0].text, "160");
  EXPECT_EQ(range_box(5)[0].text, "  5");
  auto t = range_box(40, 195, 110);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].world.x, 193);
  EXPECT_EQ(t[0].world.y, 112);
  EXPECT_EQ(t[0].font_family, "ZO Zuduz");
  EXPECT_EQ(t[0].font_size, 13);
  EXPECT_EQ(t[0].font_style, GFX_FONT_BOLD);
  EXPECT_EQ(t[0].argb, COLOUR_WHITE);
}

TEST(MapSymbolLabels, RangeBoxValueTooLongOrNotANumberShowsBoxOnly) {
  EXPECT_EQ(range_box(99999)[0].text, "99999");
  EXPECT_TRUE(range_box(100000).empty());
  EXPECT_TRUE(range_box(-12345).empty());
  EXPECT_TRUE(range_box(NAN).empty());
  EXPECT_TRUE(range_box(1e300).empty());
  DrawScene s;
  draw_map_symbol(s.g, 0, 0, 30, NO_ARROW, 1, 1, 0, 1e6);
  EXPECT_EQ(s.rec().count(GfxOp::FillPolygon, COLOUR_BLACK), 1);
}

TEST(MapSymbolLabels, TcasRangeBoxShowsTcasRangeNotValue) {
  p1000_mfd_tcas_range = 12.5;
  DrawScene s;
  draw_map_symbol(s.g, 185, 215, 31, NO_ARROW, 1, 1, 0, 80);
  p1000_mfd_tcas_range = 6;
  draw_map_symbol(s.g, 185, 215, 31, NO_ARROW, 1, 1, 0, 80);
  p1000_mfd_tcas_range = 2.5;  // only 12.5 shows tenths here
  draw_map_symbol(s.g, 185, 215, 31, NO_ARROW, 1, 1, 0, 80);
  auto t = s.rec().text_items();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].text, "12.5");
  EXPECT_EQ(t[1].text, "  6");
  EXPECT_EQ(t[2].text, "  2");  // printf rounds the half to even
  EXPECT_EQ(t[0].world.x, 184);
  EXPECT_EQ(t[0].world.y, 216);
  EXPECT_EQ(t[0].font_size, 12);
}

TEST(MapSymbolLabels, HeadingBox) {
  DrawScene s;
  heading = 0;
  draw_map_symbol(s.g, 119, 0, 40, NO_ARROW, 1, 1, 0, 0);
  heading = 5.4;
  draw_map_symbol(s.g, 119, 0, 40, NO_ARROW, 1, 1, 0, 0);
  heading = 359.4;
  draw_map_symbol(s.g, 119, 0, 40, NO_ARROW, 1, 1, 0, 0);
  heading = NAN;
  draw_map_symbol(s.g, 119, 0, 40, NO_ARROW, 1, 1, 0, 0);
  heading = 0;
  auto t = s.rec().text_items();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].text, "360");
  EXPECT_EQ(t[1].text, "005");
  EXPECT_EQ(t[2].text, "359");
  EXPECT_EQ(t[0].world.x, 117);
  EXPECT_EQ(t[0].world.y, -2);
  EXPECT_EQ(t[0].font_family, "Arial");
  EXPECT_EQ(t[0].font_size, 17);
  EXPECT_EQ(t[0].font_style, GFX_FONT_REGULAR);
  EXPECT_EQ(t[0].argb, COLOUR_GREEN);
  EXPECT_EQ(s.rec().count(GfxOp::Lines, COLOUR_WHITE), 4);  // the box is drawn whatever the heading
}

TEST(MapSymbol, OwnAircraftYellowWhileSelected) {
  DrawScene s;
  p1000_plan_view = 1;
  draw_map_symbol(s.g, 134, 137.5, 50, NO_ARROW, 1, 1, 0, 0);
  p1000_plan_view = 0;
  draw_map_symbol(s.g, 134, 137.5, 50, NO_ARROW, 1, 1, 0, 0);
  auto lines = s.rec().of(GfxOp::Lines);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]->pen_argb, COLOUR_YELLOW);
  EXPECT_EQ(lines[1]->pen_argb, COLOUR_WHITE);
  EXPECT_EQ(lines[0]->pen_width, 2);
  EXPECT_EQ(lines[0]->points[15].x, 132);  // (-1.5, 14) truncated toward zero from 132.5
  EXPECT_EQ(lines[0]->points[15].y, 151);
}

TEST(MapSymbol, TrafficArrowsOnlyWhenAsked) {
  struct Case {
    int32_t code, arrow, colour;
    uint32_t fill;
    GfxPoint tip, stem_end;
  };
  const Case cases[] = {
      {62, 1, 0, COLOUR_YELLOW, {108, 100}, {108, 108}}, {63, 2, 0, COLOUR_RED, {108, 108}, {108, 100}},
      {60, 1, 1, COLOUR_CYAN, {108, 100}, {108, 108}},   {61, 2, 0, COLOUR_WHITE, {108, 108}, {108, 100}},
      {72, 1, 0, COLOUR_YELLOW, {112, 100}, {112, 110}}, {73, 2, 0, COLOUR_RED, {112, 108}, {112, 98}},
  };
  for (const Case& c : cases) {
    DrawScene s;
    draw_map_symbol(s.g, 100, 100, c.code, c.arrow, 1, 1, c.colour, 0);
    SCOPED_TRACE("code " + std::to_string(c.code));
    auto fills = s.rec().of(GfxOp::FillPolygon);
    ASSERT_FALSE(fills.empty());
    const GfxRecord* tri = fills.back();
    ASSERT_EQ(tri->points.size(), 3u);
    EXPECT_EQ(tri->brush_argb, c.fill);
    EXPECT_EQ(tri->points[0].x, c.tip.x);
    EXPECT_EQ(tri->points[0].y, c.tip.y);
    auto stem = s.rec().of(GfxOp::Line);
    ASSERT_EQ(stem.size(), 1u);
    EXPECT_EQ(stem[0]->points[1].x, c.stem_end.x);
    EXPECT_EQ(stem[0]->points[1].y, c.stem_end.y);
    EXPECT_EQ(stem[0]->pen_argb, c.fill);
  }
  for (int32_t code : {1, 20, 60, 61, 62, 63, 70, 71, 72, 73}) {
    DrawScene s;
    draw_map_symbol(s.g, 100, 100, code, NO_ARROW, 1, 1, 1, 0);
    EXPECT_EQ(s.rec().count(GfxOp::Line), 0) << code;
    EXPECT_LE(s.rec().primitive_count(), 1) << code;
  }
}

TEST(MapSymbol, NonFiniteAnchorDrawsNothing) {
  DrawScene s;
  for (int32_t code : {1, 4, 20, 30, 40, 62, 76}) draw_map_symbol(s.g, NAN, 10, code, 1, 1, 1, 0, 25);
  draw_map_symbol(s.g, 10, 1e300, 20, NO_ARROW, 1, 1, 0, 0);
  EXPECT_EQ(s.rec().primitive_count(), 0);
  EXPECT_EQ(gfx_live_objects(), 0);
}

}  // namespace
