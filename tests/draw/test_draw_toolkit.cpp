// Drawing frame and toolkit: graphics start and stop, frames, projection,
// guarded integer drawing, text and field boxes.
#include <gtest/gtest.h>

#include <cmath>

#include "draw/draw_toolkit.h"
#include "draw/fuel_on_board_page.h"
#include "draw_scene.h"

namespace {

// ---- graphics start and stop ----

TEST(GraphicsLifecycle, LastGaugeStopShutsDownNotTheFirst) {
  graphics_gauge_start();  // ND
  uintptr_t token = gdiplus_token;
  EXPECT_NE(token, 0u);
  graphics_gauge_start();  // CDU: no second start-up
  EXPECT_EQ(gdiplus_token, token);

  graphics_gauge_stop();  // ND goes away; the CDU still draws
  EXPECT_EQ(gdiplus_token, token);
  GaugeImage image{nullptr, 100, 100, 400, nullptr};
  GfxGraphics* g = nullptr;
  EXPECT_EQ(gfx_create(&image, &g), GFX_OK);
  gfx_delete(g);

  graphics_gauge_stop();
  EXPECT_EQ(gdiplus_token, 0u);
  EXPECT_FALSE(gfx_started());
  EXPECT_EQ(gfx_create(&image, &g), GFX_NOT_STARTED);

  graphics_gauge_stop();  // nothing started: nothing happens
  EXPECT_EQ(gdiplus_token, 0u);
  graphics_gauge_start();  // a later start starts it again
  EXPECT_NE(gdiplus_token, 0u);
  EXPECT_TRUE(gfx_started());
  graphics_gauge_stop();
}

TEST(GraphicsLifecycle, PlainStartAndStop) {
  uintptr_t t = gdiplus_start();
  EXPECT_NE(t, 0u);
  EXPECT_TRUE(gfx_started());
  EXPECT_EQ(gdiplus_stop(t), 0);
  EXPECT_FALSE(gfx_started());
}

// ---- frames ----

TEST(Frames, CanvasScaleOnNonSquareImage) {
  DrawScene s(488, 151);
  ASSERT_TRUE(set_canvas_scale(s.g, 488, 151, CANVAS_B737_ND));
  GfxPen* pen = gfx_pen_create(s.g, COLOUR_WHITE, 1);
  gfx_draw_line(s.g, pen, 0, 0, 244, 302);
  gfx_pen_delete(pen);
  auto pts = GfxRecording::device_points(*s.rec().of(GfxOp::Line)[0]);
  EXPECT_NEAR(pts[1].x, 488, 1e-9);
  EXPECT_NEAR(pts[1].y, 151, 1e-9);
  EXPECT_FALSE(set_canvas_scale(s.g, 0, 151, CANVAS_B737_ND));
}

TEST(Frames, ScaledFrameLandsDesignPointsOnImagePixels) {
  DrawScene s(400, 300);
  double kx = 0, ky = 0;
  ASSERT_TRUE(set_scaled_frame(s.g, 400, 300, CANVAS_MD11_ND, 120, 150, kx, ky));
  EXPECT_NEAR(kx, 700.0 / 240, 1e-12);
  EXPECT_NEAR(ky, 700.0 / 258, 1e-12);
  // Design point (30, -40) about the centre, lengths multiplied by kx and ky.
  GfxPen* pen = gfx_pen_create(s.g, COLOUR_WHITE, 1);
  gfx_draw_line(s.g, pen, 0, 0, int32_t(30 * kx), int32_t(-40 * ky));
  gfx_pen_delete(pen);
  auto pts = GfxRecording::device_points(*s.rec().of(GfxOp::Line)[0]);
  EXPECT_NEAR(pts[0].x, 120 * 400.0 / 240, 1e-9);
  EXPECT_NEAR(pts[0].y, 150 * 300.0 / 258, 1e-9);
  EXPECT_NEAR(pts[1].x, 150 * 400.0 / 240, 0.6);  // the truncated length
  EXPECT_NEAR(pts[1].y, 110 * 300.0 / 258, 0.6);
  EXPECT_FALSE(set_scaled_frame(s.g, 0, 0, CANVAS_MD11_ND, 120, 150, kx, ky));
  EXPECT_EQ(kx, 0);
}

// ---- projection ----

void expect_point(double h, double b, double r, double ex, double ey) {
  double x, y;
  polar_to_screen(h, b, 100, 100, r, x, y);
  EXPECT_NEAR(x, ex, 1e-9) << "H " << h << " B " << b;
  EXPECT_NEAR(y, ey, 1e-9) << "H " << h << " B " << b;
}

TEST(PolarToScreen, CardinalRelativeAngles) {
  expect_point(45, 45, 50, 100, 50);   // straight ahead: above the centre
  expect_point(0, 180, 50, 100, 150);  // behind
  expect_point(270, 90, 50, 100, 150);
  expect_point(0, 90, 50, 150, 100);   // right
  expect_point(90, 0, 50, 50, 100);    // left
}

TEST(PolarToScreen, WrapAroundAndObtuseAngles) {
  double r = 50, s20 = r * std::sin(20 * M_PI / 180), c20 = r * std::cos(20 * M_PI / 180);
  expect_point(350, 10, r, 100 + s20, 100 - c20);  // relative 20, right
  expect_point(10, 350, r, 100 - s20, 100 - c20);  // relative 20, left
  double x, y;
  polar_to_screen(0, 90.5, 100, 100, r, x, y);  // just past abeam: below the centre line
  EXPECT_GT(y, 100);
  polar_to_screen(0, 135, 100, 100, r, x, y);
  EXPECT_NEAR(y, 100 + r * std::cos(45 * M_PI / 180), 1e-9);
  // Bearings beyond a turn (heading plus a relative bearing) land where their angle says.
  expect_point(0, 800, r, 100 + r * std::sin(80 * M_PI / 180), 100 - r * std::cos(80 * M_PI / 180));
  expect_point(30, -310, r, 100 + s20, 100 - c20);
}

TEST(PolarToScreen, IntegerVariantTruncatesTowardZero) {
  int32_t x, y;
  EXPECT_TRUE(polar_to_screen_int(45, 0, 0, 0, 10, x, y));  // relative 45, left
  EXPECT_EQ(x, -7);
  EXPECT_EQ(y, -7);
  EXPECT_TRUE(polar_to_screen_int(0, 90, 5, 5, 10, x, y));  // abeam stays on the centre line
  EXPECT_EQ(x, 15);
  EXPECT_EQ(y, 5);
  EXPECT_TRUE(polar_to_screen_int(0, 180, 5, 5, 10, x, y));
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 15);
}

TEST(PolarToScreen, NonFiniteOrHugePointIsRefused) {
  int32_t x = 1, y = 1;
  EXPECT_FALSE(polar_to_screen_int(0, NAN, 0, 0, 10, x, y));
  EXPECT_EQ(x, DRAW_COORD_OFF);
  EXPECT_FALSE(polar_to_screen_int(0, 10, 0, 0, INFINITY, x, y));
  EXPECT_FALSE(polar_to_screen_int(0, 10, 0, 0, 1e15, x, y));
  EXPECT_EQ(y, DRAW_COORD_OFF);
}

// ---- guarded integer drawing ----

TEST(GuardedDrawing, UnusableCoordinatesSkipThePrimitive) {
  DrawScene s;
  GfxPen* pen = gfx_pen_create(s.g, COLOUR_GREEN, 1);
  GfxBrush* brush = gfx_brush_create(s.g, COLOUR_GREEN);
  EXPECT_FALSE(draw_line_d(s.g, pen, 0, 0, NAN, 5));
  EXPECT_FALSE(draw_arc_d(s.g, pen, 0, 0, 10, 10, 0, INFINITY));
  EXPECT_FALSE(draw_ellipse_d(s.g, pen, 1e12, 0, 10, 10));
  DrawPoint poly[3] = {{0, 0}, {10, -INFINITY}, {5, 5}};
  EXPECT_FALSE(fill_polygon_d(s.g, brush, poly, 3));
  EXPECT_EQ(s.rec().primitive_count(), 0);

  EXPECT_TRUE(draw_line_d(s.g, pen, -3.7, 2.9, 10.2, -0.5));
  auto lines = s.rec().of(GfxOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]->points[0].x, -3);
  EXPECT_EQ(lines[0]->points[0].y, 2);
  EXPECT_EQ(lines[0]->points[1].x, 10);
  EXPECT_EQ(lines[0]->points[1].y, 0);

  DrawPoint ring[40];  // longer than the short-list buffer
  for (int i = 0; i < 40; ++i) ring[i] = {i + 0.5, -i - 0.5};
  EXPECT_TRUE(draw_lines_d(s.g, pen, ring, 40));
  auto polylines = s.rec().of(GfxOp::Lines);
  ASSERT_EQ(polylines.size(), 1u);
  ASSERT_EQ(polylines[0]->points.size(), 40u);
  EXPECT_EQ(polylines[0]->points[39].x, 39);
  EXPECT_EQ(polylines[0]->points[39].y, -39);
  gfx_pen_delete(pen);
  gfx_brush_delete(brush);
}

// ---- text ----

TEST(TextIdiom, DegreeSignAndBufferCapacity) {
  DrawScene s;
  GfxFontFamily* fam = gfx_family_create(s.g, FONT_ZUDUZ);
  GfxFont* font = gfx_font_create(s.g, fam, 12, GFX_FONT_BOLD);
  GfxBrush* brush = gfx_brush_create(s.g, COLOUR_WHITE);
  set_canvas_scale(s.g, 488, 604, CANVAS_B737_ND);
  draw_textf(s.g, font, brush, 10, 20, 16, "%03.0f\xB0/%2.0f", 270.0, 5.0);
  draw_text(s.g, font, brush, 10, 40, 7, "ABCDEF");   // six characters fit 7 units
  draw_text(s.g, font, brush, 10, 60, 7, "ABCDEFG");  // seven do not
  auto items = s.rec().text_items();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].text, "270\u00B0/ 5");
  EXPECT_NEAR(items[0].device.x, 20, 1e-6);
  EXPECT_NEAR(items[0].device.y, 40, 1e-6);
  EXPECT_EQ(items[1].text, "ABCDEF");
  gfx_font_delete(font);
  gfx_family_delete(fam);
  gfx_brush_delete(brush);
}

// ---- field boxes ----

TEST(FieldBoxes, SizePerCharacterAndColour) {
  DrawScene s(495, 400);
  GaugeSurface surface{495, 400};
  fill_field_box_yellow(&surface, 30, 120, s.g, 10);
  fill_field_box_smiths(&surface, 14, 50, s.g, 3);
  fill_field_box_c17_cdu(nullptr, 0, 0, s.g, 2);
  auto boxes = s.rec().of(GfxOp::FillPolygon);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0]->brush_argb, COLOUR_YELLOW);
  ASSERT_EQ(boxes[0]->points.size(), 5u);
  EXPECT_EQ(boxes[0]->points[2].x, 30 + 210);
  EXPECT_EQ(boxes[0]->points[2].y, 120 + 35);
  EXPECT_EQ(boxes[1]->brush_argb, COLOUR_GREEN);
  EXPECT_EQ(boxes[1]->points[2].x, 14 + 42);
  EXPECT_EQ(boxes[1]->points[2].y, 70);
  EXPECT_EQ(boxes[2]->points[1].x, 28);
  EXPECT_EQ(gfx_live_objects(), 0);
}

// ---- the pages no gauge draws ----

double fuel_gallons = 0.0, fuel_lb_per_gallon = 0.0;
void fuel_token(TokenVar* var) {
  var->value = var->id == 386 ? fuel_gallons : var->id == 306 ? fuel_lb_per_gallon : 0.0;
}

TEST(UnplacedPages, FuelOnBoardInGallonsAndTheGreenOutline) {
  PanelServiceTable services{};
  services.read_token_var = fuel_token;
  ImportTable.panel_services = &services;
  struct Case {
    double gallons, lb_per_gallon;
    const char* shown;
  } cases[] = {{1234.4, 6.7, "      1234 GAL"}, {50, 0.0, "         0 GAL"}};  // no weight to divide by
  for (const Case& c : cases) {
    fuel_gallons = c.gallons;
    fuel_lb_per_gallon = c.lb_per_gallon;
    DrawScene s(772, 858);
    fuel_on_board_page_draw(s.g, 772, 858);
    auto items = s.rec().text_items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "FUEL ON BOARD");
    EXPECT_EQ(items[1].text, c.shown);
    EXPECT_NEAR(items[1].device.y, 150, 1e-6);  // (0, 75) at twice the canvas
    EXPECT_EQ(items[1].font_family, FONT_TERMINUS);
  }
  ImportTable.panel_services = nullptr;

  DrawScene s(564, 490);
  outline_frame_draw(s.g, 564, 490);
  EXPECT_EQ(s.rec().count(GfxOp::Line, COLOUR_GREEN), 4);
  EXPECT_TRUE(s.rec().text_items().empty());
  EXPECT_EQ(gfx_live_objects(), 0);
}

}  // namespace
