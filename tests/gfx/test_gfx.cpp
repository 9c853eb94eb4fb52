// Graphics layer through its recording: transforms, clip, arcs, text, status.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/gfx/gfx.h"
#include "platform/gfx/gfx_recording.h"

namespace {

struct Scene {
  GaugeImage image{nullptr, 488, 151, 488 * 4, nullptr};
  uintptr_t token = 0;
  GfxGraphics* g = nullptr;

  Scene() {
    gfx_startup(&token);
    gfx_recording_enable(&image);
    gfx_create(&image, &g);
  }
  ~Scene() {
    gfx_delete(g);
    gfx_recording_disable(&image);
    gfx_shutdown(token);
  }
  GfxRecording& rec() { return *gfx_recording_of(&image); }
};

void expect_near(GfxPointF p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(GfxTransform, PrependOrderMapsDesignPointsOnNonSquareImage) {
  Scene s;
  // Canvas 244 x 302 on a 488 x 151 image: every design unit is 2 px wide, 0.5 px high.
  gfx_reset_transform(s.g);
  gfx_scale(s.g, 488.0 / 244, 151.0 / 302, GFX_PREPEND);
  gfx_translate(s.g, 100, 50, GFX_PREPEND);
  gfx_rotate(s.g, 90, GFX_PREPEND);  // clockwise: "up" (-y) turns to the right (+x)
  GfxPen* pen = gfx_pen_create(s.g, 0xFF00FA00, 1);
  gfx_draw_line(s.g, pen, 0, 0, 0, -10);
  gfx_pen_delete(pen);

  auto lines = s.rec().of(GfxOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  auto pts = GfxRecording::device_points(*lines[0]);
  expect_near(pts[0], 200, 25);
  expect_near(pts[1], 220, 25);  // design (110, 50)
  expect_near(s.rec().to_design(pts[1], 244, 302), 110, 50);
}

TEST(GfxTransform, AppendOrderAppliesAfterExistingTransform) {
  Scene s;
  gfx_scale(s.g, 2, 2, GFX_PREPEND);
  gfx_translate(s.g, 10, 0, GFX_APPEND);  // device pixels, not design units
  GfxMatrix m;
  gfx_get_transform(s.g, &m);
  GfxPointF p = {m.m11 * 5 + m.dx, m.m22 * 5 + m.dy};
  expect_near(p, 20, 10);
}

TEST(GfxTransform, NonFiniteTransformIsRefusedAndKept) {
  Scene s;
  gfx_scale(s.g, 2, 3, GFX_PREPEND);
  EXPECT_EQ(gfx_rotate(s.g, 0.0 / 0.0, GFX_PREPEND), GFX_INVALID_ARGUMENT);
  EXPECT_EQ(gfx_last_status(s.g), GFX_INVALID_ARGUMENT);
  GfxMatrix m;
  gfx_get_transform(s.g, &m);
  EXPECT_EQ(m.m11, 2);
  EXPECT_EQ(m.m22, 3);
}

TEST(GfxClip, StaysInDeviceSpaceAfterLaterTransforms) {
  Scene s;
  gfx_scale(s.g, 2, 0.5, GFX_PREPEND);
  GfxPath* path = gfx_path_create(s.g);
  gfx_path_add_ellipse(s.g, path, 0, 0, 100, 100);
  gfx_set_clip_path(s.g, path);
  gfx_path_delete(path);
  gfx_translate(s.g, 40, 40, GFX_PREPEND);
  gfx_rotate(s.g, 30, GFX_PREPEND);
  GfxBrush* b = gfx_brush_create(s.g, 0xFFFFFF00);
  gfx_fill_rect(s.g, b, 0, 0, 10, 10);
  gfx_brush_delete(b);

  auto clips = s.rec().of(GfxOp::SetClip);
  ASSERT_EQ(clips.size(), 1u);
  // The clip outline is the design circle mapped by the transform of its time.
  double minx = 1e9, maxx = -1e9, miny = 1e9, maxy = -1e9;
  for (auto& p : clips[0]->clip_device[0]) {
    minx = std::min(minx, p.x), maxx = std::max(maxx, p.x);
    miny = std::min(miny, p.y), maxy = std::max(maxy, p.y);
  }
  EXPECT_NEAR(minx, 0, 0.01);
  EXPECT_NEAR(maxx, 200, 0.01);
  EXPECT_NEAR(miny, 0, 0.01);
  EXPECT_NEAR(maxy, 50, 0.01);
  auto fills = s.rec().of(GfxOp::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0]->clip, int32_t(clips[0] - s.rec().records.data()));

  gfx_reset_clip(s.g);
  GfxPen* pen = gfx_pen_create(s.g, 0xFFFFFFFF, 1);
  gfx_draw_line(s.g, pen, 0, 0, 1, 1);
  gfx_pen_delete(pen);
  EXPECT_EQ(s.rec().of(GfxOp::Line)[0]->clip, -1);
}

TEST(GfxClip, CardinalCurvePassesThroughItsPointsAndBulgesBetween) {
  Scene s;
  GfxPath* path = gfx_path_create(s.g);
  const GfxPointF pts[] = {{0, 100}, {50, 20}, {100, 0}, {150, 20}, {200, 100}};
  ASSERT_EQ(gfx_path_add_curve(s.g, path, pts, 5), GFX_OK);
  gfx_path_add_line(s.g, path, 200, 100, 0, 100);
  gfx_path_close_figure(s.g, path);
  // Too few points or a non-finite one: refused, the path unchanged.
  const GfxPointF bad[] = {{0, 0}, {NAN, 1}};
  EXPECT_EQ(gfx_path_add_curve(s.g, path, bad, 2), GFX_INVALID_ARGUMENT);
  EXPECT_EQ(gfx_path_add_curve(s.g, path, pts, 1), GFX_INVALID_ARGUMENT);
  gfx_set_clip_path(s.g, path);
  gfx_path_delete(path);

  auto clips = s.rec().of(GfxOp::SetClip);
  ASSERT_EQ(clips.size(), 1u);
  ASSERT_EQ(clips[0]->clip_device.size(), 1u);
  const auto& poly = clips[0]->clip_device[0];
  for (const GfxPointF& p : pts) {
    bool on = false;
    for (const GfxPointF& q : poly) on = on || (std::fabs(q.x - p.x) < 1e-9 && std::fabs(q.y - p.y) < 1e-9);
    EXPECT_TRUE(on) << p.x;
  }
  // Between (50, 20) and (100, 0) the curve stays above the chord (smaller y) and
  // never overshoots the top point.
  double min_y = 1e9;
  bool above_chord = false;
  for (const GfxPointF& q : poly) {
    min_y = std::min(min_y, q.y);
    if (q.x > 60 && q.x < 90) above_chord = above_chord || q.y < 20 - 20 * (q.x - 50) / 50 - 0.5;
  }
  EXPECT_TRUE(above_chord);
  EXPECT_GT(min_y, -0.01);
}

TEST(GfxArc, NegativeSweepIsKeptAndInvalidBoxRefused) {
  Scene s;
  GfxPen* pen = gfx_pen_create(s.g, 0xFF02A7EB, 2);
  EXPECT_EQ(gfx_draw_arc(s.g, pen, -40, -40, 80, 80, 270, -60), GFX_OK);
  EXPECT_EQ(gfx_draw_arc(s.g, pen, 0, 0, -5, 10, 0, 90), GFX_INVALID_ARGUMENT);
  gfx_pen_delete(pen);
  auto arcs = s.rec().of(GfxOp::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0]->args[4], 270);
  EXPECT_EQ(arcs[0]->args[5], -60);
  EXPECT_EQ(arcs[0]->pen_argb, 0xFF02A7EBu);
  EXPECT_EQ(gfx_last_status(s.g), GFX_INVALID_ARGUMENT);
}

TEST(GfxArc, AnglesOnAnEllipseAreRayAnglesFromItsCentre) {
  Scene s;
  GfxPath* path = gfx_path_create(s.g);
  gfx_path_add_arc(s.g, path, 0, 0, 200, 100, 0, 45);
  gfx_path_add_arc(s.g, path, 0, 0, 200, 100, 270, -90);  // joined on: from the top to the left
  gfx_set_clip_path(s.g, path);
  gfx_path_delete(path);
  const auto& fig = s.rec().of(GfxOp::SetClip)[0]->clip_device;
  ASSERT_EQ(fig.size(), 1u);
  // The 45-degree ray from (100, 50) meets the ellipse where both offsets are sqrt(2000).
  bool at_45 = false;
  for (const GfxPointF& p : fig[0])
    if (std::fabs(p.x - 144.721) < 0.01 && std::fabs(p.y - 94.721) < 0.01) at_45 = true;
  EXPECT_TRUE(at_45);
  EXPECT_NEAR(fig[0].front().x, 200, 1e-9);
  EXPECT_NEAR(fig[0].front().y, 50, 1e-9);
  EXPECT_NEAR(fig[0].back().x, 0, 1e-9);  // counter-clockwise from the top ends on the left
  EXPECT_NEAR(fig[0].back().y, 50, 1e-9);
}

TEST(GfxText, DegreeSignAndWindowsBytesWiden) {
  char16_t wide[16];
  EXPECT_EQ(gfx_widen("270\xB0/15", wide, 16), 8);
  EXPECT_EQ(wide[3], u'\u00B0');
  EXPECT_EQ(gfx_widen("\x80\x99", wide, 16), 3);
  EXPECT_EQ(wide[0], u'\u20AC');
  EXPECT_EQ(wide[1], u'\u2122');

  Scene s;
  GfxFontFamily* fam = gfx_family_create(s.g, "ZO Zuduz");
  GfxFont* font = gfx_font_create(s.g, fam, 13, GFX_FONT_BOLD);
  GfxBrush* b = gfx_brush_create(s.g, 0xFFDEE6E9);
  gfx_widen("270\xB0/15", wide, 16);
  gfx_draw_string(s.g, wide, -1, font, {12, 30, 0, 0}, b);
  auto items = s.rec().text_items();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, "270\u00B0/15");
  EXPECT_EQ(items[0].font_family, "ZO Zuduz");
  EXPECT_EQ(items[0].font_size, 13);
  EXPECT_EQ(items[0].font_style, GFX_FONT_BOLD);
  EXPECT_EQ(items[0].argb, 0xFFDEE6E9u);
  gfx_font_delete(font);
  gfx_family_delete(fam);
  gfx_brush_delete(b);
}

TEST(GfxText, BufferTooSmallDrawsNothing) {
  char16_t wide[6];
  EXPECT_EQ(gfx_widen("ABCDE", wide, 6), 6);
  EXPECT_EQ(gfx_widen("ABCDEF", wide, 6), 0);
  EXPECT_EQ(wide[0], 0);

  Scene s;
  GfxFontFamily* fam = gfx_family_create(s.g, "Arial");
  GfxFont* font = gfx_font_create(s.g, fam, 17, GFX_FONT_REGULAR);
  GfxBrush* b = gfx_brush_create(s.g, 0xFF00FA00);
  EXPECT_EQ(gfx_draw_string(s.g, wide, -1, font, {0, 0, 0, 0}, b), GFX_OK);
  EXPECT_TRUE(s.rec().texts().empty());
  EXPECT_EQ(s.rec().primitive_count(), 0);
  gfx_font_delete(font);
  gfx_family_delete(fam);
  gfx_brush_delete(b);
}

TEST(GfxPen, DashStyleAndArrowCapTravelWithThePen) {
  Scene s;
  GfxPen* pen = gfx_pen_create(s.g, 0xFFFF13D5, 2);
  gfx_pen_set_dash(s.g, pen, GFX_DASH_DOT);
  GfxArrowCap* cap = gfx_arrow_cap_create(s.g, 3, 3, true);
  gfx_pen_set_end_cap(s.g, pen, cap);
  gfx_arrow_cap_delete(cap);  // the pen keeps its own copy
  gfx_draw_line(s.g, pen, 0, 0, 20, 0);
  EXPECT_EQ(gfx_pen_set_dash(s.g, pen, 7), GFX_INVALID_ARGUMENT);
  gfx_pen_delete(pen);
  auto lines = s.rec().of(GfxOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]->pen_dash, GFX_DASH_DOT);
  EXPECT_TRUE(lines[0]->pen_arrow_cap);
  EXPECT_EQ(lines[0]->pen_width, 2);
  EXPECT_EQ(gfx_live_objects(), 0);
}

TEST(GfxStatus, FailuresAreRecordedAndDrawingGoesOn) {
  Scene s;
  EXPECT_EQ(gfx_family_create(s.g, "Wingdings"), nullptr);
  EXPECT_EQ(gfx_last_status(s.g), GFX_FAMILY_NOT_FOUND);
  EXPECT_EQ(gfx_draw_line(s.g, nullptr, 0, 0, 5, 5), GFX_INVALID_ARGUMENT);
  GfxPen* pen = gfx_pen_create(s.g, 0xFFC90101, 1);
  EXPECT_EQ(gfx_draw_line(s.g, pen, 0, 0, 5, 5), GFX_OK);
  gfx_pen_delete(pen);
  EXPECT_EQ(gfx_last_status(s.g), GFX_INVALID_ARGUMENT);  // the last failure stays
  EXPECT_EQ(s.rec().count(GfxOp::Line), 1);
  EXPECT_EQ(s.rec().count(GfxOp::Line, 0xFFC90101), 1);
  EXPECT_EQ(gfx_live_objects(), 0);
}

TEST(GfxStatus, SingularTransformDrawsNothing) {
  Scene s;
  gfx_scale(s.g, 0, 1, GFX_PREPEND);
  GfxBrush* b = gfx_brush_create(s.g, 0xFF000000);
  EXPECT_EQ(gfx_fill_rect(s.g, b, 0, 0, 10, 10), GFX_BAD_TRANSFORM);
  gfx_brush_delete(b);
  EXPECT_EQ(s.rec().primitive_count(), 0);
}

TEST(GfxLibrary, GraphicsNeedTheLibraryStartedAndStartupsNest) {
  GaugeImage image{nullptr, 10, 10, 40, nullptr};
  GfxGraphics* g = nullptr;
  EXPECT_EQ(gfx_create(&image, &g), GFX_NOT_STARTED);
  EXPECT_EQ(g, nullptr);
  uintptr_t a = 0, b = 0;
  gfx_startup(&a);
  gfx_startup(&b);
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  gfx_shutdown(a);
  EXPECT_EQ(gfx_shutdown(a), GFX_INVALID_ARGUMENT);  // a token shuts down once
  EXPECT_EQ(gfx_create(&image, &g), GFX_OK);
  gfx_delete(g);
  gfx_shutdown(b);
  EXPECT_FALSE(gfx_started());
}

TEST(GfxRecording, ClearedToTransparentAndClearResets) {
  Scene s;
  EXPECT_FALSE(s.rec().cleared_transparent());
  gfx_clear(s.g, 0xFF000000);
  EXPECT_FALSE(s.rec().cleared_transparent());
  gfx_clear(s.g, 0x00000000);
  EXPECT_TRUE(s.rec().cleared_transparent());
  s.rec().clear();
  EXPECT_TRUE(s.rec().records.empty());
  EXPECT_FALSE(s.rec().cleared_transparent());
}

}  // namespace
