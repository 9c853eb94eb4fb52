// Raster output: a few probed pixels of small scenes.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gfx/gfx.h"

namespace {

struct Canvas {
  std::vector<uint32_t> px;
  GaugeImage image;
  uintptr_t token = 0;
  GfxGraphics* g = nullptr;

  Canvas(int w, int h) : px(size_t(w) * h, 0xDEADBEEF), image{px.data(), w, h, w * 4, nullptr} {
    gfx_startup(&token);
    gfx_create(&image, &g);
  }
  ~Canvas() {
    gfx_delete(g);
    gfx_shutdown(token);
  }
  uint32_t at(int x, int y) const { return px[size_t(y) * image.width + x]; }
  int painted(int x0, int y0, int x1, int y1, uint32_t background) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += at(x, y) != background;
    return n;
  }
};

TEST(GfxRaster, BackgroundShapeAndTransparentClear) {
  Canvas c(64, 48);
  gfx_clear(c.g, 0xFF102030);
  gfx_flush(c.g);
  EXPECT_EQ(c.at(0, 0), 0xFF102030u);
  EXPECT_EQ(c.at(63, 47), 0xFF102030u);

  // Canvas 32 x 24 scaled onto the 64 x 48 image.
  gfx_scale(c.g, 2, 2, GFX_PREPEND);
  GfxBrush* red = gfx_brush_create(c.g, 0xFFC90101);
  GfxPoint tri[] = {{4, 4}, {20, 4}, {4, 20}};
  gfx_fill_polygon(c.g, red, tri, 3);
  gfx_brush_delete(red);
  EXPECT_EQ(c.at(12, 12), 0xFFC90101u);  // inside the triangle
  EXPECT_EQ(c.at(36, 36), 0xFF102030u);  // beyond its hypotenuse

  gfx_clear(c.g, 0x00000000);
  gfx_flush(c.g);
  EXPECT_EQ(c.painted(0, 0, 64, 48, 0x00000000), 0);
}

// A clear is written when drawing follows it, and only around what an opaque fill covers
// wholly: every image is the one the clear written at once gives.
TEST(GfxRaster, PendingClearGivesTheImageOfAClearWrittenAtOnce) {
  struct Row {
    const char* what;
    uint32_t clear, brush;
    double sx, sy, turn;
    GfxRectF rect;  // x y w h, world
    bool clip, then_line;
  };
  const Row rows[] = {
      {"the whole canvas, scaled", 0x00000000, 0xFF102030, 2, 2, 0, {0, 0, 32, 24}, false, true},
      {"the same colour as the clear", 0xFF102030, 0xFF102030, 1.37, 1.61, 0, {1, 1, 40, 25}, false, true},
      {"off the image's edges", 0xFF000000, 0xFF0A1B2C, 1, 1, 0, {-10, -5, 90, 30}, false, false},
      {"a translucent brush", 0xFF000000, 0x80FF0000, 1, 1, 0, {4, 4, 40, 30}, false, true},
      {"under a clip", 0x00000000, 0xFF00FF00, 1, 1, 0, {0, 0, 64, 48}, true, true},
      {"turned", 0xFF203040, 0xFF00FF00, 1, 1, 10, {10, 5, 30, 20}, false, true},
      {"nothing after the clear", 0xFF405060, 0, 1, 1, 0, {0, 0, 0, 0}, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<uint32_t> images[2];
    for (int at_once = 0; at_once < 2; ++at_once) {
      Canvas c(64, 48);
      gfx_clear(c.g, row.clear);
      if (at_once) gfx_flush(c.g);
      gfx_scale(c.g, row.sx, row.sy, GFX_PREPEND);
      gfx_rotate(c.g, row.turn, GFX_APPEND);
      if (row.clip) {
        GfxPath* path = gfx_path_create(c.g);
        gfx_path_add_ellipse(c.g, path, 8, 8, 40, 30);
        gfx_set_clip_path(c.g, path);
        gfx_path_delete(path);
      }
      if (row.brush) {
        GfxBrush* brush = gfx_brush_create(c.g, row.brush);
        gfx_fill_rect(c.g, brush, int32_t(row.rect.x), int32_t(row.rect.y), int32_t(row.rect.width),
                      int32_t(row.rect.height));
        gfx_brush_delete(brush);
      }
      if (row.then_line) {
        GfxPen* pen = gfx_pen_create(c.g, 0xFFFFFFFF, 1);
        gfx_draw_line(c.g, pen, 0, 0, 30, 20);
        gfx_pen_delete(pen);
      }
      gfx_delete(c.g);
      c.g = nullptr;
      images[at_once] = c.px;
    }
    EXPECT_EQ(images[0], images[1]);
    EXPECT_EQ(images[0][0] == 0xDEADBEEF, false);  // the clear reached the pixels
  }
}

// An opaque rectangle is the polygon of its corners as cairo fills it, to the bit: set
// directly where it covers pixels wholly, filled by cairo along its edges, or by cairo
// whole where a clip cuts it, it covers no pixel wholly or it is turned.
TEST(GfxRaster, OpaqueRectangleFillsAsItsPolygon) {
  struct Row {
    const char* what;
    double sx, sy, turn, tx, ty;
    int32_t rect[4];  // x y w h, world
    int32_t smoothing;
    int clip;  // 0 none, 1 an ellipse holding the rectangle, 2 one cutting it
    bool clear_first;
  };
  const Row rows[] = {
      {"on whole pixels", 1, 1, 0, 0, 0, {3, 4, 40, 30}, GFX_SMOOTHING_HIGH_QUALITY, 0, false},
      {"edges between pixels", 1.37, 1.61, 0, 0.3, 0.45, {2, 3, 30, 20}, GFX_SMOOTHING_HIGH_QUALITY, 0, false},
      {"after a clear", 1.37, 1.61, 0, 0.3, 0.45, {2, 3, 30, 20}, GFX_SMOOTHING_HIGH_QUALITY, 0, true},
      {"mirrored", -1.3, 1.1, 0, 60.2, 2.7, {4, 5, 25, 18}, GFX_SMOOTHING_HIGH_QUALITY, 0, false},
      {"off the image's edges", 1.21, 0.93, 0, -7.6, -3.3, {-4, -6, 90, 70}, GFX_SMOOTHING_HIGH_QUALITY, 0, true},
      {"without anti-aliasing", 1.37, 1.61, 0, 0.3, 0.55, {2, 3, 30, 20}, GFX_SMOOTHING_NONE, 0, false},
      {"narrower than a pixel", 0.3, 1.5, 0, 10.2, 3.4, {5, 2, 2, 20}, GFX_SMOOTHING_HIGH_QUALITY, 0, false},
      {"within a clip", 1.1, 1.2, 0, 20.4, 15.3, {-6, -5, 12, 10}, GFX_SMOOTHING_HIGH_QUALITY, 1, false},
      {"across a clip's edge", 1.1, 1.2, 0, 20.4, 15.3, {-30, -20, 60, 40}, GFX_SMOOTHING_HIGH_QUALITY, 2, false},
      {"turned", 1.2, 1.2, 12, 30.5, 20.5, {-10, -8, 20, 16}, GFX_SMOOTHING_HIGH_QUALITY, 0, false},
  };
  constexpr int W = 64, H = 48;
  auto draw = [](Canvas& c, const Row& row, bool as_polygon) {
    if (row.clear_first) gfx_clear(c.g, 0xFF405060);
    gfx_set_smoothing(c.g, row.smoothing);
    gfx_translate(c.g, row.tx, row.ty, GFX_PREPEND);
    gfx_rotate(c.g, row.turn, GFX_PREPEND);
    gfx_scale(c.g, row.sx, row.sy, GFX_PREPEND);
    if (row.clip) {
      const int32_t r = row.clip == 1 ? 30 : 15;
      GfxPath* path = gfx_path_create(c.g);
      gfx_path_add_ellipse(c.g, path, -r, -r, 2 * r, 2 * r);
      gfx_set_clip_path(c.g, path);
      gfx_path_delete(path);
    }
    GfxBrush* brush = gfx_brush_create(c.g, 0xFF3A7FC4);
    const int32_t* q = row.rect;
    if (as_polygon) {
      const GfxPoint corners[] = {{q[0], q[1]}, {q[0] + q[2], q[1]}, {q[0] + q[2], q[1] + q[3]}, {q[0], q[1] + q[3]}};
      gfx_fill_polygon(c.g, brush, corners, 4);
    } else {
      gfx_fill_rect(c.g, brush, q[0], q[1], q[2], q[3]);
    }
    gfx_brush_delete(brush);
    gfx_flush(c.g);
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<uint32_t> background(size_t(W) * H);
    uint32_t seed = 4242;
    for (uint32_t& p : background) p = seed = seed * 1664525u + 1013904223u;
    Canvas want(W, H), got(W, H);
    want.px = got.px = background;
    draw(want, row, true);
    draw(got, row, false);
    int differ = 0;
    for (size_t i = 0; i < want.px.size(); ++i) differ += got.px[i] != want.px[i];
    EXPECT_EQ(differ, 0);
    EXPECT_NE(got.px, background);
  }
}

// A fill met again is drawn from the runs of its coverage where no clip cuts it: drawn three
// times over the same pixels in three colours (cairo, then kept, then found), the image is
// the one three fills by cairo give, each on graphics started afresh (nothing kept), to the
// bit.
TEST(GfxRaster, FillsMetAgainDrawAsCairoFillsThem) {
  struct Row {
    const char* what;
    double sx, sy, turn, tx, ty;
    std::vector<GfxPoint> polygon;  // or, when empty, the ellipse x y w h
    int32_t ellipse[4];
    bool clip;  // within a clip: an ellipse of radius 40 about the origin
  };
  const Row rows[] = {
      {"a small dot, turned", 1.23, 1.17, 40, 30.3, 20.6, {}, {0, -14, 5, 5}, false},
      {"a large ellipse past the image", 1.1, 0.9, 0, 20.25, 10.5, {}, {-30, -20, 70, 60}, false},
      {"a turned quadrilateral", 1.31, 1.29, 17, 25.4, 18.2, {{-10, -8}, {14, -9}, {11, 10}, {-12, 7}}, {}, false},
      {"a star crossing itself", 0.97, 1.08, -23, 31.7, 22.1, {{0, -18}, {11, 15}, {-17, -6}, {17, -6}, {-11, 15}}, {},
       false},
      {"flat edges off the pixels", 1.37, 1.61, 0, 3.3, 2.45, {{2, 2}, {30, 2}, {30, 20}, {12, 26}, {2, 20}}, {}, false},
      {"within the clip", 1.2, 1.2, 5, 30.5, 22.5, {{-9, -7}, {10, -8}, {8, 9}}, {}, true},
      {"across the clip's edge", 0.6, 0.5, -12, 30.5, 22.5, {{-70, -60}, {75, -65}, {70, 60}, {-65, 58}}, {}, true},
  };
  constexpr int W = 64, H = 48;
  const uint32_t colours[3] = {0xFF3A7FC4, 0xFFE0B020, 0xFF10C060};
  auto fill = [](Canvas& c, const Row& row, uint32_t colour) {
    gfx_set_smoothing(c.g, GFX_SMOOTHING_HIGH_QUALITY);
    gfx_reset_transform(c.g);
    gfx_translate(c.g, row.tx, row.ty, GFX_PREPEND);
    gfx_rotate(c.g, row.turn, GFX_PREPEND);
    gfx_scale(c.g, row.sx, row.sy, GFX_PREPEND);
    if (row.clip) {
      GfxPath* path = gfx_path_create(c.g);
      gfx_path_add_ellipse(c.g, path, -40, -40, 80, 80);
      gfx_set_clip_path(c.g, path);
      gfx_path_delete(path);
    }
    GfxBrush* brush = gfx_brush_create(c.g, colour);
    if (row.polygon.empty())
      gfx_fill_ellipse(c.g, brush, row.ellipse[0], row.ellipse[1], row.ellipse[2], row.ellipse[3]);
    else
      gfx_fill_polygon(c.g, brush, row.polygon.data(), int32_t(row.polygon.size()));
    gfx_brush_delete(brush);
    gfx_flush(c.g);
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<uint32_t> background(size_t(W) * H), want;
    uint32_t seed = 777;
    for (uint32_t& p : background) p = seed = seed * 1664525u + 1013904223u;  // pixels of every value to mix with
    want = background;
    for (uint32_t colour : colours) {
      Canvas r(W, H);
      r.px = want;
      fill(r, row, colour);
      want = r.px;
    }
    Canvas c(W, H);
    c.px = background;
    for (uint32_t colour : colours) fill(c, row, colour);
    int differ = 0;
    for (size_t i = 0; i < want.size(); ++i) differ += c.px[i] != want[i];
    EXPECT_EQ(differ, 0);
    EXPECT_NE(want, background);
  }
}

TEST(GfxRaster, ClipHoldsAfterTranslateAndNegativeSweepGoesCounterClockwise) {
  Canvas c(100, 100);
  gfx_clear(c.g, 0x00000000);
  GfxPath* path = gfx_path_create(c.g);
  gfx_path_add_line(c.g, path, 0, 0, 50, 0);
  gfx_path_add_line(c.g, path, 50, 0, 50, 50);
  gfx_path_add_line(c.g, path, 50, 50, 0, 50);
  gfx_path_close_figure(c.g, path);
  gfx_set_clip_path(c.g, path);
  gfx_path_delete(path);
  gfx_translate(c.g, 30, 30, GFX_PREPEND);  // the clip must not follow
  GfxBrush* b = gfx_brush_create(c.g, 0xFFFFFF00);
  gfx_fill_rect(c.g, b, -30, -30, 100, 100);
  gfx_brush_delete(b);
  EXPECT_EQ(c.at(10, 10), 0xFFFFFF00u);
  EXPECT_EQ(c.at(70, 70), 0x00000000u);
  gfx_reset_clip(c.g);
  gfx_clear(c.g, 0x00000000);

  // Arc on a circle of radius 40 about (50, 50): from 0 degrees, sweep -90 runs up.
  gfx_reset_transform(c.g);
  GfxPen* pen = gfx_pen_create(c.g, 0xFF00FA00, 3);
  gfx_draw_arc(c.g, pen, 10, 10, 80, 80, 0, -90);
  gfx_pen_delete(pen);
  EXPECT_GT(c.painted(75, 15, 90, 30, 0), 0);  // upper right
  EXPECT_EQ(c.painted(75, 70, 90, 85, 0), 0);  // lower right
}

TEST(GfxRaster, TextPaintsBelowAndRightOfItsPointAndWrapsInABoxWithAWidth) {
  // Font 20 px: a line is about 23 px high. Boxes {x0, y0, x1, y1}.
  struct Case {
    const char* text;
    GfxRectF layout;
    int painted[4];  // must hold ink
    int empty[3][4];
  } cases[] = {
      {"360", {10, 10, 0, 0}, {10, 10, 60, 32}, {{0, 0, 120, 9}, {0, 34, 120, 60}, {0, 0, 1, 1}}},
      // Two words, each alone fits the 60-unit box: the second goes to the next line.
      {"360 270", {10, 4, 60, 0}, {10, 28, 60, 50}, {{0, 0, 120, 3}, {72, 0, 120, 60}, {0, 52, 120, 60}}},
  };
  for (const Case& k : cases) {
    Canvas c(120, 60);
    gfx_clear(c.g, 0x00000000);
    GfxFontFamily* fam = gfx_family_create(c.g, "Arial");
    GfxFont* font = gfx_font_create(c.g, fam, 20, GFX_FONT_BOLD);
    GfxBrush* b = gfx_brush_create(c.g, 0xFFFFFFFF);
    char16_t text[16];
    gfx_widen(k.text, text, 16);
    gfx_draw_string(c.g, text, -1, font, k.layout, b);
    gfx_font_delete(font);
    gfx_family_delete(fam);
    gfx_brush_delete(b);
    EXPECT_GT(c.painted(k.painted[0], k.painted[1], k.painted[2], k.painted[3], 0), 20) << k.text;
    for (const auto& e : k.empty) EXPECT_EQ(c.painted(e[0], e[1], e[2], e[3], 0), 0) << k.text;
  }
}

TEST(GfxRaster, ArrowCapFillsAHeadAtTheEndOnly) {
  // The head is 12 px long and 12 px wide at its base (3 pen widths each); the
  // stroke alone is 4 px thick. Boxes: {x0, y0, x1, y1}.
  struct Case {
    const char* shape;
    int head[4];   // covered by the head only
    int start[4];  // beside the start, where no head may stand
  } cases[] = {
      {"line 10,30 -> 80,30", {70, 24, 76, 27}, {12, 24, 20, 27}},
      {"arc from the left to the top, clockwise", {40, 4, 47, 7}, {22, 22, 27, 28}},
  };
  for (const Case& k : cases) {
    Canvas c(100, 60);
    gfx_clear(c.g, 0xFF000000);
    GfxPen* pen = gfx_pen_create(c.g, 0xFFFFFFFF, 4);
    GfxArrowCap* cap = gfx_arrow_cap_create(c.g, 3, 3, true);
    gfx_pen_set_end_cap(c.g, pen, cap);
    if (k.shape[0] == 'l') gfx_draw_line(c.g, pen, 10, 30, 80, 30);
    else gfx_draw_arc(c.g, pen, 30, 10, 40, 40, 180, 90);
    gfx_arrow_cap_delete(cap);
    gfx_pen_delete(pen);
    EXPECT_GT(c.painted(k.head[0], k.head[1], k.head[2], k.head[3], 0xFF000000), 0) << k.shape;
    EXPECT_EQ(c.painted(k.start[0], k.start[1], k.start[2], k.start[3], 0xFF000000), 0) << k.shape;
  }
}

TEST(GfxRaster, FarAwayEndPointsKeepTheirDirection) {
  Canvas c(200, 200);
  gfx_clear(c.g, 0xFF000000);
  GfxPen* pen = gfx_pen_create(c.g, 0xFFFFFFFF, 2);
  // Towards a point two thousand million pixels away, up and to the right.
  gfx_draw_line(c.g, pen, 150, 150, 1500000000, -1900000000);
  gfx_pen_delete(pen);
  // At y = 100 the line is at x = 150 + 50 * 1.5 / 1.9, about 189.
  EXPECT_GT(c.painted(185, 98, 194, 102, 0xFF000000), 0);
  EXPECT_EQ(c.painted(150, 160, 200, 200, 0xFF000000), 0);
  EXPECT_EQ(c.painted(195, 115, 200, 135, 0xFF000000), 0);
}

}  // namespace

// Turned drawings: a label and a kept ring turned by a hair more ink as they do at the
// turn itself, far from the turn's centre; a turned transform shrunk to almost nothing
// draws nothing and leaves later drawings whole.
TEST(GfxRaster, TurnedDrawingsHoldTheirPlace) {
  auto draw = [](Canvas& c, double turn, double scale) {
    gfx_reset_transform(c.g);
    gfx_set_smoothing(c.g, GFX_SMOOTHING_ANTIALIAS);
    gfx_clear(c.g, 0xFF000000);
    gfx_translate(c.g, 100, 100, GFX_PREPEND);
    gfx_rotate(c.g, turn, GFX_PREPEND);
    gfx_scale(c.g, scale, scale, GFX_PREPEND);
    GfxFontFamily* fam = gfx_family_create(c.g, "Arial");
    GfxFont* font = gfx_font_create(c.g, fam, 14, GFX_FONT_BOLD);
    GfxBrush* b = gfx_brush_create(c.g, 0xFFFFFFFF);
    GfxPen* pen = gfx_pen_create(c.g, 0xFF00E0FF, 2);
    gfx_draw_ellipse(c.g, pen, 60, -10, 20, 20);  // seen, so that the next draw keeps it
    gfx_clear(c.g, 0xFF000000);
    char16_t text[8];
    int32_t n = gfx_widen("27", text, 8);
    gfx_draw_string(c.g, text, n, font, GfxRectF{-10, -90, 0, 0}, b);
    gfx_draw_ellipse(c.g, pen, 60, -10, 20, 20);
    gfx_pen_delete(pen);
    gfx_font_delete(font);
    gfx_family_delete(fam);
    gfx_brush_delete(b);
  };
  Canvas exact(200, 200), hair(200, 200);
  for (double turn : {33.0, 150.0, 270.0}) {
    draw(exact, turn, 1.25);
    draw(hair, turn + 1e-7, 1.25);
    EXPECT_GT(exact.painted(0, 0, 200, 200, 0xFF000000), 60) << turn;
    EXPECT_EQ(exact.px, hair.px) << turn;
  }

  draw(exact, 33, 1e-6);
  EXPECT_EQ(exact.painted(0, 0, 200, 200, 0xFF000000), 0);
  gfx_reset_transform(exact.g);
  GfxPen* pen = gfx_pen_create(exact.g, 0xFFFFFFFF, 2);
  gfx_draw_line(exact.g, pen, 10, 190, 190, 190);
  gfx_pen_delete(pen);
  EXPECT_GT(exact.painted(0, 185, 200, 195, 0xFF000000), 100);
}
