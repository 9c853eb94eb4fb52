// Small strokes drawn again through kept masks: the same ink as stroking them, at
// most anti-aliasing differences at their edges, cut by the clip as before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "platform/gfx/gfx.h"
#include "platform/gfx/gfx_internal.h"

namespace {

constexpr uint32_t BACKGROUND = 0xFF000000;

struct Canvas {
  std::vector<uint32_t> px;
  GaugeImage image;
  GfxGraphics* g = nullptr;

  Canvas(int w, int h) : px(size_t(w) * h, 0), image{px.data(), w, h, w * 4, nullptr} {
    gfx_create(&image, &g);
    gfx_set_smoothing(g, GFX_SMOOTHING_ANTIALIAS);
    gfx_clear(g, BACKGROUND);
  }
  ~Canvas() { gfx_delete(g); }
};

// The largest difference between two pixels' channels.
int channel_difference(uint32_t a, uint32_t b) {
  int m = 0;
  for (int shift = 0; shift < 32; shift += 8)
    m = std::max(m, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return m;
}

// Largest channel difference between two images, and the pixels that differ.
struct Difference {
  int max = 0;
  int pixels = 0;
};

Difference compare(const Canvas& a, const Canvas& b) {
  Difference d;
  for (size_t i = 0; i < a.px.size(); ++i) {
    const int m = channel_difference(a.px[i], b.px[i]);
    d.max = std::max(d.max, m);
    d.pixels += m != 0;
  }
  return d;
}

int inked(const Canvas& c) {
  return int(std::count_if(c.px.begin(), c.px.end(), [](uint32_t p) { return p != BACKGROUND; }));
}

// The library started for one test: masks kept by one test are gone in the next.
struct GfxStampTest : testing::Test {
  uintptr_t token = 0;
  void SetUp() override { gfx_startup(&token); }
  void TearDown() override { gfx_shutdown(token); }
};

struct StampCase {
  const char* name;
  double scale_x, scale_y, turn;  // world transform: scaled, then turned (degrees)
  double dx, dy;                  // sub-pixel translation
  double pen_width;
  int32_t dash;
  std::function<void(GfxGraphics*, GfxPen*, int32_t x, int32_t y)> draw;
};

void PrintTo(const StampCase& c, std::ostream* os) { *os << c.name; }

void hexagon(GfxGraphics* g, GfxPen* pen, int32_t x, int32_t y) {
  GfxPoint p[] = {{x, y}, {x + 6, y + 3}, {x + 6, y + 10}, {x, y + 13}, {x - 6, y + 10}, {x - 6, y + 3}, {x, y}};
  gfx_draw_lines(g, pen, p, 7);
}
void ring(GfxGraphics* g, GfxPen* pen, int32_t x, int32_t y) { gfx_draw_ellipse(g, pen, x, y, 33, 33); }
void arc(GfxGraphics* g, GfxPen* pen, int32_t x, int32_t y) { gfx_draw_arc(g, pen, x, y, 20, 14, 30, 200); }
void tick(GfxGraphics* g, GfxPen* pen, int32_t x, int32_t y) { gfx_draw_line(g, pen, x, y, x + 9, y + 4); }

class StampCaseTest : public GfxStampTest, public testing::WithParamInterface<StampCase> {};

// Each shape is drawn once elsewhere (so that it is kept), then at its place; the
// picture is compared with the shape stroked at its place on a fresh image.
TEST_P(StampCaseTest, KeptShapeInksAsItsStroke) {
  const StampCase& c = GetParam();
  for (int32_t k = 0; k < 3; ++k) {
    Canvas stroked(160, 160), stamped(160, 160);
    for (Canvas* canvas : {&stroked, &stamped}) {
      gfx_translate(canvas->g, 80 + c.dx + 0.37 * k, 80 + c.dy + 0.21 * k, GFX_PREPEND);
      gfx_rotate(canvas->g, c.turn, GFX_PREPEND);
      gfx_scale(canvas->g, c.scale_x, c.scale_y, GFX_PREPEND);
    }
    GfxPen* a = gfx_pen_create(stroked.g, 0xFF00E0FF, c.pen_width);
    GfxPen* b = gfx_pen_create(stamped.g, 0xFF00E0FF, c.pen_width);
    gfx_pen_set_dash(stroked.g, a, c.dash);
    gfx_pen_set_dash(stamped.g, b, c.dash);
    c.draw(stroked.g, a, 0, 0);
    // The same shape at the same sub-pixel place, first off the image, then on it.
    gfx_translate(stamped.g, 4000, 4000, GFX_APPEND);
    c.draw(stamped.g, b, 0, 0);
    gfx_translate(stamped.g, -4000, -4000, GFX_APPEND);
    gfx_clear(stamped.g, BACKGROUND);
    c.draw(stamped.g, b, 0, 0);
    gfx_pen_delete(a);
    gfx_pen_delete(b);

    Difference d = compare(stroked, stamped);
    SCOPED_TRACE(testing::Message() << c.name << " place " << k);
    EXPECT_GT(inked(stroked), 10);
    // An eighth of a pixel of position at most: edges only, never a moved or cut shape.
    EXPECT_LE(d.max, 64);
    EXPECT_NEAR(inked(stamped), inked(stroked), inked(stroked) / 10 + 2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, StampCaseTest,
    testing::Values(StampCase{"hexagon", 1, 1, 0, 0.3, 0.6, 1.5, GFX_DASH_SOLID, hexagon},
                    StampCase{"hexagon_thin", 1.37, 1.37, 0, 0.5, 0.5, 0, GFX_DASH_SOLID, hexagon},
                    StampCase{"ring_uneven", 40.0 / 83, 43.0 / 83, 0, 0.11, 0.77, 8.3, GFX_DASH_SOLID, ring},
                    StampCase{"turned_hexagon", 1.5, 1.5, 157, 0.375, 0.9, 2, GFX_DASH_SOLID, hexagon},
                    StampCase{"dashed_arc", 1, 1, 0, 0.2, 0.4, 1, GFX_DASH_DASH, arc},
                    StampCase{"dotted_tick", 2, 2, 33, 0.05, 0.95, 1, GFX_DASH_DOT, tick}),
    [](const testing::TestParamInfo<StampCase>& info) { return std::string(info.param.name); });

// An L-shaped clip; whole coordinates are pixel centres, so its edges run through the
// middle of pixels, as cairo makes two unaligned rectangles of it.
// Clips to the polygon of `n` corners.
void clip_to(GfxGraphics* g, const GfxPoint* corners, int n) {
  GfxPath* path = gfx_path_create(g);
  for (int i = 0; i < n; ++i) {
    GfxPoint a = corners[i], b = corners[(i + 1) % n];
    gfx_path_add_line(g, path, a.x, a.y, b.x, b.y);
  }
  gfx_path_close_figure(g, path);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

void clip_to_l_shape(GfxGraphics* g) {
  const GfxPoint corners[] = {{0, 15}, {100, 15}, {100, 90}, {150, 90}, {150, 150}, {0, 150}};
  clip_to(g, corners, 6);
}

// A round clip: the circle in the box at (x, y), d across.
void clip_to_circle(GfxGraphics* g, int32_t x, int32_t y, int32_t d) {
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_ellipse(g, path, x, y, d, d);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

// Inked pixels beyond that circle (a pixel of anti-aliasing aside), the first of them in
// `first`.
int inked_beyond_circle(const Canvas& c, int32_t x, int32_t y, int32_t d, std::string& first) {
  double r = d / 2.0, cx = x + r, cy = y + r;
  int n = 0;
  for (int py = 0; py < c.image.height; ++py)
    for (int px = 0; px < c.image.width; ++px)
      if (std::hypot(px - cx, py - cy) > r + 1.5 &&
          c.px[size_t(py) * size_t(c.image.width) + size_t(px)] != BACKGROUND && n++ == 0)
        first = std::to_string(px) + "," + std::to_string(py);
  return n;
}

// Pixels wholly outside the L-shaped clip.
bool outside_l_shape(int x, int y) { return x >= 152 || y <= 14 || (x >= 102 && y <= 89); }

// An L-shaped clip of unaligned rectangles (the corner of a map under a data window):
// a shape wholly inside inks as its stroke (no seam along the rectangles' shared edge),
// one across an edge is cut as its stroke (at the step exactly, along a side through
// the clip's coverage: its edge pixels within anti-aliasing), one outside leaves nothing;
// none inks beyond the clip.
TEST_F(GfxStampTest, ClipCutsKeptShapesAsStrokes) {
  struct Place {
    const char* what;
    int32_t x, y;
    int max_difference;
    bool inks;
  };
  const Place places[] = {{"inside, over the shared edge", 30, 84, 64, true},
                          {"across the clip's step", 96, 84, 0, true},
                          {"across its top", 40, 10, 64, true},
                          {"across its right side", 146, 120, 64, true},
                          {"outside", 140, 40, 0, false}};
  for (const Place& p : places) {
    SCOPED_TRACE(p.what);
    Canvas stroked(160, 160), stamped(160, 160);
    for (Canvas* canvas : {&stroked, &stamped}) {
      clip_to_l_shape(canvas->g);
      gfx_translate(canvas->g, 0.3, 0.6, GFX_PREPEND);
    }
    GfxPen* a = gfx_pen_create(stroked.g, 0xFFFFFF00, 3);
    GfxPen* b = gfx_pen_create(stamped.g, 0xFFFFFF00, 3);
    hexagon(stroked.g, a, p.x, p.y);
    hexagon(stamped.g, b, p.x - 100, p.y - 100);  // kept: same shape, same sub-pixel place
    gfx_clear(stamped.g, BACKGROUND);
    hexagon(stamped.g, b, p.x, p.y);
    gfx_pen_delete(a);
    gfx_pen_delete(b);
    EXPECT_LE(compare(stroked, stamped).max, p.max_difference);
    EXPECT_EQ(inked(stroked) > 0, p.inks);
    EXPECT_NEAR(inked(stamped), inked(stroked), inked(stroked) / 10 + 2);
    for (int y = 0; y < 160; ++y)
      for (int x = 0; x < 160; ++x) {
        if (outside_l_shape(x, y)) {
          ASSERT_EQ(stamped.px[size_t(y) * 160 + x], BACKGROUND) << x << "," << y;
        }
      }
  }
}

// Shapes whose points lie outside a clip but whose ink reaches across its edge (a sharp
// miter, half a wide pen): met afresh, met again (kept) and found kept,
// each inks inside the clip as it does without one.
TEST_F(GfxStampTest, ShapesJustOutsideAClipInkWhereTheyReachIt) {
  struct Shape {
    const char* what;
    double width;
    std::function<void(GfxGraphics*, GfxPen*)> draw;
  };
  const Shape shapes[] = {
      {"sharp join pointing in", 6,  // its miter reaches 18 pixels past the joint
       [](GfxGraphics* g, GfxPen* pen) {
         GfxPoint p[] = {{24, 59}, {30, 60}, {24, 61}};
         gfx_draw_lines(g, pen, p, 3);
       }},
      {"short wide tick above the top", 16, [](GfxGraphics* g, GfxPen* pen) { gfx_draw_line(g, pen, 60, 34, 63, 34); }},
  };
  // The clip's edges fall across pixels: those are left out.
  auto outside = [](int x, int y) { return x < 39 || x > 120 || y < 39 || y > 120; };
  auto inside = [](int x, int y) { return x > 40 && x < 119 && y > 40 && y < 119; };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.what);
    Canvas plain(160, 160);
    GfxPen* a = gfx_pen_create(plain.g, 0xFFFFFF00, s.width);
    s.draw(plain.g, a);
    gfx_pen_delete(a);
    for (int draw = 0; draw < 3; ++draw) {
      Canvas clipped(160, 160);
      const GfxPoint corners[] = {{40, 40}, {120, 40}, {120, 120}, {40, 120}};
      clip_to(clipped.g, corners, 4);
      GfxPen* b = gfx_pen_create(clipped.g, 0xFFFFFF00, s.width);
      for (int before = 0; before < draw; ++before) s.draw(clipped.g, b);  // met, then kept
      gfx_clear(clipped.g, BACKGROUND);
      s.draw(clipped.g, b);
      gfx_pen_delete(b);
      int reached = 0;
      for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 160; ++x) {
          if (!outside(x, y) && !inside(x, y)) continue;
          const uint32_t want = outside(x, y) ? BACKGROUND : plain.px[size_t(y) * 160 + x];
          reached += inside(x, y) && want != BACKGROUND;
          ASSERT_EQ(clipped.px[size_t(y) * 160 + x], want) << "draw " << draw << " at " << x << "," << y;
        }
      EXPECT_GT(reached, 3) << "the ink reaches into the clip";
    }
  }
}

// Drawings too large to keep (lines, fills, large arcs): one the clip covers wholly inks
// as it does without a clip, one across its edge never inks outside it, one outside
// leaves nothing.
TEST_F(GfxStampTest, LargeDrawingsUnderAClip) {
  using Draw = std::function<void(GfxGraphics*, int32_t dx, int32_t dy)>;
  struct Drawing {
    const char* what;
    Draw draw;
  };
  auto pen = [](GfxGraphics* g, double width) { return gfx_pen_create(g, 0xFFFFFF00, width); };
  const Drawing drawings[] = {
      {"long line", [&](GfxGraphics* g, int32_t dx, int32_t dy) {
         GfxPen* p = pen(g, 2);
         gfx_draw_line(g, p, dx, dy, dx + 70, dy + 30);
         gfx_pen_delete(p);
       }},
      {"zigzag", [&](GfxGraphics* g, int32_t dx, int32_t dy) {
         GfxPen* p = pen(g, 3);
         GfxPoint pts[] = {{dx, dy}, {dx + 30, dy + 40}, {dx + 60, dy}, {dx + 90, dy + 40}};
         gfx_draw_lines(g, p, pts, 4);
         gfx_pen_delete(p);
       }},
      {"large ring", [&](GfxGraphics* g, int32_t dx, int32_t dy) {
         GfxPen* p = pen(g, 1.5);
         gfx_draw_ellipse(g, p, dx, dy, 80, 60);
         gfx_pen_delete(p);
       }},
      {"box", [&](GfxGraphics* g, int32_t dx, int32_t dy) {
         GfxPen* p = pen(g, 1);
         gfx_draw_rect(g, p, dx, dy, 75, 45);
         gfx_pen_delete(p);
       }},
      {"fills", [&](GfxGraphics* g, int32_t dx, int32_t dy) {
         GfxBrush* b = gfx_brush_create(g, 0xFF20C0FF);
         GfxPoint tri[] = {{dx, dy}, {dx + 40, dy + 5}, {dx + 10, dy + 45}};
         gfx_fill_polygon(g, b, tri, 3);
         gfx_fill_ellipse(g, b, dx + 45, dy, 30, 20);
         gfx_fill_rect(g, b, dx + 45, dy + 25, 30, 20);
         gfx_brush_delete(b);
       }},
  };
  struct Place {
    const char* where;
    int32_t dx, dy;
  };
  const Place places[] = {{"inside", 5, 40}, {"across", 60, 40}, {"outside", 105, 0}};
  for (const Drawing& d : drawings)
    for (const Place& p : places) {
      SCOPED_TRACE(testing::Message() << d.what << " " << p.where);
      Canvas free(160, 160), clipped(160, 160);
      clip_to_l_shape(clipped.g);
      for (Canvas* canvas : {&free, &clipped}) gfx_translate(canvas->g, 0.25, 0.4, GFX_PREPEND);
      d.draw(free.g, p.dx, p.dy);
      d.draw(clipped.g, p.dx, p.dy);
      const std::string where = p.where;
      if (where == "inside") {
        EXPECT_EQ(compare(free, clipped).pixels, 0);
      }
      if (where == "outside") {
        EXPECT_EQ(inked(clipped), 0);
      }
      for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 160; ++x) {
          if (outside_l_shape(x, y)) {
            ASSERT_EQ(clipped.px[size_t(y) * 160 + x], BACKGROUND) << x << "," << y;
          }
        }
      }
      EXPECT_GT(inked(free), 0);
    }
}

// Kept rings across the edge of a round clip ink as their strokes cut by the clip:
// anti-aliasing differences at most, nothing beyond the circle.
TEST_F(GfxStampTest, KeptRingsAcrossARoundClip) {
  const GfxPoint places[] = {{0, 90}, {90, 0}, {155, 155}, {60, 60}};
  for (const GfxPoint& p : places) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    Canvas stroked(200, 200), stamped(200, 200);
    for (Canvas* c : {&stroked, &stamped}) {
      clip_to_circle(c->g, 10, 10, 180);
      gfx_translate(c->g, 0.3, 0.45, GFX_PREPEND);
    }
    GfxPen* a = gfx_pen_create(stroked.g, 0xFF00E0FF, 2);
    GfxPen* b = gfx_pen_create(stamped.g, 0xFF00E0FF, 2);
    gfx_draw_ellipse(stroked.g, a, p.x, p.y, 24, 24);
    gfx_draw_ellipse(stamped.g, b, p.x + 1000, p.y + 1000, 24, 24);  // kept: same shape and sub-pixel place
    gfx_draw_ellipse(stamped.g, b, p.x, p.y, 24, 24);
    gfx_pen_delete(a);
    gfx_pen_delete(b);
    ASSERT_GT(inked(stroked), 0);
    EXPECT_LE(compare(stroked, stamped).max, 64);
    EXPECT_NEAR(inked(stamped), inked(stroked), inked(stroked) / 10 + 2);
    std::string first;
    EXPECT_EQ(inked_beyond_circle(stamped, 10, 10, 180, first), 0) << first;
  }
}

// A mask blended through a round clip's coverage inks the same, bit for bit, whether the
// rows within the clip's wholly covered span go without the coverage or not: masks inside,
// across the edge at each side, beyond it, and cut by the image.
TEST_F(GfxStampTest, MasksThroughAClipSkipItWhereItCoversWholly) {
  struct Place {
    int32_t x, y;
    bool inks;
  };
  const Place places[] = {{80, 80, true},   {4, 90, true},   {170, 100, true},  {90, 2, true},
                          {95, 175, true},  {-10, -8, false}, {185, 190, false}};
  std::mt19937 random(11);
  for (const Place& p : places) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    Canvas spans(200, 200), whole(200, 200);
    GfxKeptMask mask{true, nullptr, 0, 0};
    std::vector<uint8_t> bits(40 * 30);
    for (uint8_t& b : bits) b = uint8_t(random() % 3 == 0 ? 0xFF : random());
    mask.bits = bits.data(), mask.width = 37, mask.height = 30, mask.stride = 40;
    for (Canvas* c : {&spans, &whole}) {
      clip_to_circle(c->g, 10, 10, 180);
      GfxClipCoverage clip = raster_clip_coverage(c->g, false);
      ASSERT_TRUE(clip.image && clip.full);
      if (c == &whole) clip.full = nullptr;
      raster_settle(c->g);  // the clear, as a drawing writes it first
      ASSERT_TRUE(raster_blend_mask(c->g, 0xC0E08040, mask, p.x, p.y, &clip));
      gfx_flush(c->g);
    }
    EXPECT_EQ(spans.px, whole.px);
    EXPECT_EQ(inked(spans) > 0, p.inks);
  }
}

// Long lines under a round clip, judged by where the line runs, not by its box: one
// inside whose box crosses the edge inks as without a clip, one in a corner outside the
// circle leaves nothing, one across the edge or grazing it within its width is cut at
// the edge, and a wide line beside a small clip inks where its width reaches into it.
TEST_F(GfxStampTest, LongLinesUnderARoundClip) {
  struct Line {
    const char* what;
    int32_t x0, y0, x1, y1, clip_x, clip_y, clip_d;
    double width;
    enum { INSIDE, OUTSIDE, CUT } expect;
  };
  const Line lines[] = {
      {"diagonal inside", 30, 150, 150, 30, 10, 10, 180, 1, Line::INSIDE},
      {"polyline inside", 40, 100, 160, 100, 10, 10, 180, 2, Line::INSIDE},
      {"corner outside", 2, 40, 40, 2, 10, 10, 180, 1, Line::OUTSIDE},
      {"across the edge", 100, 100, 199, 30, 10, 10, 180, 1, Line::CUT},
      {"grazing within its width", 8, 40, 8, 160, 10, 10, 180, 6, Line::CUT},
      {"wide beside a small clip", 20, 100, 180, 100, 95, 106, 10, 20, Line::CUT},
  };
  for (const Line& l : lines) {
    SCOPED_TRACE(l.what);
    Canvas free(200, 200), clipped(200, 200);
    clip_to_circle(clipped.g, l.clip_x, l.clip_y, l.clip_d);
    for (Canvas* c : {&free, &clipped}) {
      gfx_translate(c->g, 0.3, 0.45, GFX_PREPEND);
      GfxPen* pen = gfx_pen_create(c->g, 0xFFFFFF00, l.width);
      if (std::string(l.what) == "polyline inside") {
        GfxPoint pts[] = {{l.x0, l.y0}, {l.x0 + 40, l.y0 + 30}, {l.x0 + 80, l.y0}, {l.x1, l.y1}};
        gfx_draw_lines(c->g, pen, pts, 4);
      } else {
        gfx_draw_line(c->g, pen, l.x0, l.y0, l.x1, l.y1);
      }
      gfx_pen_delete(pen);
    }
    ASSERT_GT(inked(free), 0);
    if (l.expect == Line::INSIDE) {
      EXPECT_EQ(compare(free, clipped).pixels, 0);
    }
    if (l.expect == Line::OUTSIDE) {
      EXPECT_EQ(inked(clipped), 0);
    }
    if (l.expect == Line::CUT) {
      EXPECT_GT(inked(clipped), 0);
      EXPECT_LT(inked(clipped), inked(free));
    }
    std::string first;
    EXPECT_EQ(inked_beyond_circle(clipped, l.clip_x, l.clip_y, l.clip_d, first), 0) << first;
  }
}

// Labels under a round clip: one inside inks whole, one across the edge is cut at it
// (drawn again, from its kept mask, the same), one outside leaves nothing.
TEST_F(GfxStampTest, LabelsUnderARoundClip) {
  Canvas c(200, 200);
  clip_to_circle(c.g, 20, 20, 160);
  GfxFontFamily* family = gfx_family_create(c.g, "Arial");
  GfxFont* font = gfx_font_create(c.g, family, 14, GFX_FONT_BOLD);
  GfxBrush* white = gfx_brush_create(c.g, 0xFFFFFFFF);
  char16_t text[8];
  int32_t n = gfx_widen("KSEA", text, 8);
  auto draw_at = [&](float x, float y) {
    gfx_clear(c.g, BACKGROUND);
    gfx_draw_string(c.g, text, n, font, GfxRectF{x, y, 0, 0}, white);
  };
  draw_at(85, 90);
  int whole = inked(c);
  EXPECT_GT(whole, 40);
  draw_at(2, 90);  // the clip's left edge runs through the text
  int cut = inked(c);
  EXPECT_GT(cut, 0);
  EXPECT_LT(cut, whole);
  const std::vector<uint32_t> first = c.px;
  for (int i = 0; i < 2; ++i) {
    draw_at(2, 90);
    EXPECT_EQ(c.px, first);
  }
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(c.px[size_t(y) * 200 + x], BACKGROUND) << x << "," << y;
  // Clear of the edge the cut text inks as the whole one does.
  Canvas free(200, 200);
  GfxBrush* free_white = gfx_brush_create(free.g, 0xFFFFFFFF);
  gfx_draw_string(free.g, text, n, font, GfxRectF{2, 90, 0, 0}, free_white);
  for (int y = 85; y < 115; ++y)
    for (int x = 24; x < 80; ++x) EXPECT_EQ(c.px[size_t(y) * 200 + x], free.px[size_t(y) * 200 + x]) << x << "," << y;
  gfx_brush_delete(free_white);
  draw_at(2, 2);
  EXPECT_EQ(inked(c), 0);
  gfx_brush_delete(white);
  gfx_font_delete(font);
  gfx_family_delete(family);
}

// Labels and kept rings across the edges of round clips set one after another, on one
// image and on another of the same size: each is cut by its own clip, as on an image
// that never had another.
TEST_F(GfxStampTest, EachClipCutsByItsOwnEdge) {
  Canvas a(200, 200), b(200, 200);
  GfxFontFamily* family = gfx_family_create(a.g, "Arial");
  GfxFont* font = gfx_font_create(a.g, family, 14, GFX_FONT_BOLD);
  char16_t text[8];
  int32_t n = gfx_widen("KSEA", text, 8);
  struct Clip {
    Canvas* canvas;
    int32_t x, y, d;  // the circle's box
  };
  auto draw = [&](GfxGraphics* g, const Clip& k) {
    gfx_reset_clip(g);
    gfx_clear(g, BACKGROUND);
    clip_to_circle(g, k.x, k.y, k.d);
    GfxBrush* white = gfx_brush_create(g, 0xFFFFFFFF);
    GfxPen* pen = gfx_pen_create(g, 0xFF00E0FF, 2);
    gfx_draw_string(g, text, n, font, GfxRectF{float(k.x - 12), float(k.y + k.d / 2 - 8), 0, 0}, white);
    for (int32_t i = 0; i < 2; ++i)  // the second draw finds the ring kept
      gfx_draw_ellipse(g, pen, k.x + k.d - 10, k.y + k.d / 2 - 10, 20, 20);
    gfx_pen_delete(pen);
    gfx_brush_delete(white);
  };
  const Clip clips[] = {{&a, 20, 20, 100}, {&a, 90, 60, 100}, {&b, 90, 60, 100}, {&a, 20, 20, 100}};
  for (const Clip& k : clips) {
    SCOPED_TRACE(testing::Message() << (k.canvas == &a ? "a " : "b ") << k.x << "," << k.y);
    draw(k.canvas->g, k);
    Canvas fresh(200, 200);
    draw(fresh.g, k);
    EXPECT_GT(inked(fresh), 40);
    EXPECT_LE(compare(*k.canvas, fresh).max, 64);  // a ring stroked or kept: its edges differ at most
    std::string first;
    EXPECT_EQ(inked_beyond_circle(*k.canvas, k.x, k.y, k.d, first), 0) << first;
  }
  gfx_font_delete(font);
  gfx_family_delete(family);
}

// Labels drawn again through kept masks ink exactly as shown the first time, wherever
// they fall between pixels, scaled or turned: glyphs that reach past the font's height
// (brackets), glyphs whose edges meet (a pixel's value at most one level apart there).
TEST_F(GfxStampTest, KeptLabelsInkAsShown) {
  struct Label {
    const char* text;
    double size, scale_x, scale_y, turn;
  };
  const Label labels[] = {
      {"LNAV(ALKTS)", 14, 1.67364, 1.66667, 0}, {"[10000]", 10, 1.25, 1.25, 0}, {"AVWAY", 12, 1, 1, 0},
      {"KSEA", 10, 1.5, 1.5, 30},               {"W/V 270", 14, 1, 1, 0},       {"117.90", 9, 2, 2, 311},
  };
  for (const Label& l : labels)
    for (int k = 0; k < 6; ++k) {
      SCOPED_TRACE(testing::Message() << l.text << " place " << k);
      const float x = 10 + 0.37f * float(k), y = 20 + 0.29f * float(k);
      Canvas shown(260, 120), kept(260, 120);
      for (Canvas* c : {&shown, &kept}) {
        gfx_scale(c->g, l.scale_x, l.scale_y, GFX_PREPEND);
        gfx_rotate(c->g, l.turn, GFX_APPEND);
        gfx_translate(c->g, 60, 20, GFX_APPEND);
        GfxFontFamily* family = gfx_family_create(c->g, "Courier New");
        GfxFont* font = gfx_font_create(c->g, family, l.size, GFX_FONT_BOLD);
        GfxBrush* amber = gfx_brush_create(c->g, 0xFFE9B73E);
        char16_t text[16];
        int32_t n = gfx_widen(l.text, text, 16);
        // Shown, kept, then drawn from its mask; the first canvas shows it once.
        for (int i = 0; i < (c == &kept ? 3 : 1); ++i) {
          gfx_clear(c->g, BACKGROUND);
          gfx_draw_string(c->g, text, n, font, GfxRectF{x, y, 0, 0}, amber);
        }
        gfx_brush_delete(amber);
        gfx_font_delete(font);
        gfx_family_delete(family);
      }
      EXPECT_GT(inked(shown), 40);
      EXPECT_LE(compare(shown, kept).max, 1);
    }
}

// The table of kept masks: a set of drawings met every frame stays kept while others pass
// by in numbers over its capacity; what is let go releases its key's hold once.
TEST(GfxKeptMasks, AWorkingSetStaysWhileOthersPass) {
  static std::vector<int> let_go;
  let_go.clear();
  {
    GfxKeptMasks<int, std::hash<int>, 4, 64> table(1 << 20, [](const int& k) { let_go.push_back(k); });
    const GfxKeptMask empty{false, nullptr, 0, 0};
    for (int k : {1, 2}) {
      EXPECT_FALSE(table.met_before(k));  // the first draw keeps nothing
      EXPECT_TRUE(table.met_before(k));
      table.add(k, empty);
    }
    // Each frame: the working set 1 and 2, then three drawings never seen again.
    for (int frame = 0; frame < 5; ++frame) {
      for (int k : {1, 2}) EXPECT_NE(table.find(k), nullptr) << "frame " << frame << " key " << k;
      for (int i = 0; i < 3; ++i) table.add(100 + frame * 3 + i, empty);
    }
    EXPECT_EQ(table.find(100), nullptr);
    EXPECT_EQ(std::count(let_go.begin(), let_go.end(), 1), 0);
    EXPECT_EQ(std::count(let_go.begin(), let_go.end(), 100), 1);
  }
  // Leaving lets every key go once.
  EXPECT_EQ(std::count(let_go.begin(), let_go.end(), 1), 1);
  EXPECT_EQ(let_go.size(), size_t(2 + 15));
}

// A mask of 1-4 x 2 pixels whose bytes tell its key, made as drawings make theirs.
GfxKeptMask numbered_mask(int key) {
  const int32_t w = 1 + key % 4;
  GfxKeptMask m{true, pixman_image_create_bits(PIXMAN_a8, w, 2, nullptr, 0), key, 0};
  m.width = w, m.height = 2, m.stride = pixman_image_get_stride(m.pixels);
  auto* bits = reinterpret_cast<uint8_t*>(pixman_image_get_data(m.pixels));
  for (int32_t i = 0; i < 2 * m.stride; ++i) bits[i] = uint8_t(key + i);
  m.bits = bits;
  return m;
}

// The table's halves, step by step: adds (A), finds that find (F) or do not (N), with keys
// whose hashes collide (a key's hash is its value modulo 1000). Checked at each step: the
// mask found is the key's own, pixels included, both halves hold no more than twice the
// capacity; at the end, the keys let go (each once).
TEST(GfxKeptMasks, HalvesTurnAndKeepWhatIsFound) {
  struct Collide {
    size_t operator()(int k) const { return size_t(k % 1000); }
  };
  struct Step {
    char op;
    int key;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<int> let_go;  // sorted
    size_t max_bytes = 1 << 20;
  };
  const std::vector<Case> cases = {
      {"the older half goes when the newer is full again",
       {{'A', 1}, {'A', 2}, {'A', 3}, {'A', 4}, {'A', 5}, {'F', 1}, {'A', 6}, {'A', 7}, {'A', 8},
        {'F', 5}, {'A', 9}, {'N', 2}, {'F', 1}},
       {2, 3, 4}},
      {"found in the older half, a mask survives the turn",
       {{'A', 1}, {'A', 2}, {'A', 3}, {'A', 4}, {'A', 5}, {'F', 3}, {'A', 6}, {'A', 7}, {'A', 8},
        {'F', 3}, {'A', 9}, {'A', 10}, {'A', 11}, {'F', 3}, {'N', 4}},
       {1, 2, 4, 5, 6, 7}},
      {"keys of one hash are told apart",
       {{'A', 7}, {'A', 1007}, {'A', 2007}, {'F', 1007}, {'F', 7}, {'F', 2007}, {'N', 3007}, {'A', 3007},
        {'A', 4007}, {'F', 2007}, {'F', 3007}, {'F', 4007}, {'N', 5007}},
       {}},
      {"a find in the older half while the newer is full turns the halves first",
       {{'A', 1}, {'A', 2}, {'A', 3}, {'A', 4}, {'A', 5}, {'A', 6}, {'A', 7}, {'A', 8}, {'F', 2},
        {'N', 1}, {'F', 6}, {'F', 5}, {'F', 2}},
       {1, 3, 4}},
      {"many keys pass, the table stays within twice its capacity",
       [] {
         std::vector<Step> steps;
         for (int k = 0; k < 40; ++k) steps.push_back({'A', k * 1000});
         steps.push_back({'F', 39000});
         steps.push_back({'N', 0});
         return steps;
       }(),
       [] {
         std::vector<int> gone;
         for (int k = 0; k < 32; ++k) gone.push_back(k * 1000);
         return gone;
       }()},
      {"a key found again and again stays its own over the turns",
       {{'A', 1}, {'A', 2}, {'A', 3}, {'A', 4}, {'F', 1}, {'F', 1}, {'A', 5}, {'F', 1}, {'F', 1}, {'A', 6}, {'A', 7},
        {'F', 1}, {'A', 8}, {'F', 1}, {'A', 9}, {'F', 1}, {'F', 1}, {'N', 2}, {'F', 8}, {'F', 8}, {'F', 1}},
       {2, 3, 4}},
      // Each mask takes a word per row: a half of 24 bytes holds three.
      {"a half full of bytes turns before it is full of masks",
       {{'A', 1}, {'A', 2}, {'A', 3}, {'A', 4}, {'F', 2}, {'A', 5}, {'A', 6}, {'N', 1}, {'F', 2}, {'F', 6}},
       {1, 3},
       24},
  };
  static std::vector<int> let_go;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    let_go.clear();
    {
      GfxKeptMasks<int, Collide, 4, 64> table(c.max_bytes, [](const int& k) { let_go.push_back(k); });
      for (size_t i = 0; i < c.steps.size(); ++i) {
        const Step& s = c.steps[i];
        SCOPED_TRACE(testing::Message() << "step " << i << " " << s.op << s.key);
        const GfxKeptMask* m = s.op == 'A' ? table.add(s.key, numbered_mask(s.key)) : table.find(s.key);
        ASSERT_EQ(m != nullptr, s.op != 'N');
        if (!m) continue;
        EXPECT_EQ(m->x, s.key);
        ASSERT_TRUE(m->bits);
        EXPECT_EQ(m->width, 1 + s.key % 4);
        EXPECT_EQ(m->height, 2);
        for (int32_t row = 0; row < 2; ++row)
          for (int32_t x = 0; x < m->width; ++x)
            EXPECT_EQ(m->bits[row * m->stride + x], uint8_t(s.key + row * 4 + x)) << "pixel " << x << ", " << row;
        EXPECT_LE(table.size(), size_t(8));
      }
      std::vector<int> gone = let_go;
      std::sort(gone.begin(), gone.end());
      EXPECT_EQ(gone, c.let_go);
    }
  }
}

// Displays drawing frames of keys, each frame much as the one before (keys left out,
// added, put in another's place, more than the halves hold): the table that follows each
// display's drawing before finds what the table without drawings finds, each key its own
// mask, whatever it guessed.
TEST(GfxKeptMasks, FollowingADisplaysDrawingBeforeFindsTheSame) {
  struct Collide {
    size_t operator()(int k) const { return size_t(k % 1000); }
  };
  using Frame = std::vector<int>;
  struct Case {
    const char* name;
    std::vector<std::vector<Frame>> displays;  // frames of each display, drawn display by display
  };
  auto many = [](int first, int n) {
    Frame f;
    for (int k = first; k < first + n; ++k) f.push_back(k);
    return f;
  };
  const std::vector<Case> cases = {
      {"the same frame again", {{{1, 2, 3}, {1, 2, 3}, {1, 2, 3}, {1, 2, 3}}}},
      {"keys left out and added", {{{1, 2, 3, 4}, {1, 2, 3, 4}, {1, 3, 4}, {1, 5, 2, 3, 4}, {2, 3}, {1, 2, 3, 4}}}},
      {"a key in another's place", {{{1, 2, 3}, {1, 2, 3}, {1, 7, 3}, {1, 7, 3}, {1, 2, 3}, {1, 1007, 3}}}},
      {"keys met again at once", {{{1, 1, 2, 2, 1}, {1, 1, 2, 2, 1}, {2, 1, 1, 2}}}},
      {"two displays, the second drawing the keys in another order",
       {{{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}, {{3, 2, 1}, {3, 2, 1}, {2, 3, 1}}}},
      {"more keys than the halves hold", {{many(1, 10), many(1, 10), many(3, 10), many(1, 10), many(1, 10)}}},
  };
  GaugeImage images[2] = {};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GfxKeptMasks<int, Collide, 4, 64> traced(1 << 20), plain(1 << 20);
    uint64_t serial = 0;
    size_t frames = 0;
    for (const auto& d : c.displays) frames = std::max(frames, d.size());
    for (size_t f = 0; f < frames; ++f)
      for (size_t d = 0; d < c.displays.size(); ++d) {
        if (f >= c.displays[d].size()) continue;
        GfxGraphics g{};
        g.image = &images[d], g.serial = ++serial;
        for (int k : c.displays[d][f]) {
          SCOPED_TRACE(testing::Message() << "frame " << f << " display " << d << " key " << k);
          const GfxKeptMask* a = traced.find(k, &g);
          const GfxKeptMask* b = plain.find(k);
          ASSERT_EQ(a != nullptr, b != nullptr);
          const bool met = traced.met_before(k);
          ASSERT_EQ(met, plain.met_before(k));
          if (!a && met) a = traced.add(k, numbered_mask(k), &g), b = plain.add(k, numbered_mask(k));
          if (!a) continue;
          EXPECT_EQ(a->x, k);
          ASSERT_TRUE(a->bits && b->bits);
          EXPECT_EQ(a->width, b->width);
          for (int32_t i = 0; i < a->width; ++i) EXPECT_EQ(a->bits[i], uint8_t(k + i));
        }
      }
    EXPECT_EQ(traced.size(), plain.size());
  }
}

// Pixels of `a` and `b` that differ by more than `levels` a pixel and a half or more inside
// that circle.
int differing_inside_circle(const Canvas& a, const Canvas& b, int32_t x, int32_t y, int32_t d, int levels) {
  const double r = d / 2.0, cx = x + r, cy = y + r;
  int n = 0;
  for (int py = 0; py < a.image.height; ++py)
    for (int px = 0; px < a.image.width; ++px) {
      if (std::hypot(px + 0.5 - cx, py + 0.5 - cy) > r - 1.5) continue;
      const size_t i = size_t(py) * size_t(a.image.width) + size_t(px);
      n += channel_difference(a.px[i], b.px[i]) > levels;
    }
  return n;
}

}  // namespace

// Strokes too large for a stamp, drawn again frame after frame (a compass ring, a range
// arc, frame lines): from their third draw on they blend the coverage their second draw
// kept, and ink bit for bit as their first, also across a clip's edge and with the same
// figure moved by a hair (a stroke of its own). Dashed strokes, which cairo strokes, ink
// within a level of cairo's own blend; across a clip's edge, as cairo strokes them without
// the clip inside it (cairo's clipped strokes differ by a few levels at their edges) and
// not at all outside it.
TEST_F(GfxStampTest, KeptLargeStrokesInkAsTheirFirstDraw) {
  struct Stroke {
    const char* what;
    double nudge;  // sub-pixel translation of the third frame on
    bool clipped;
    std::function<void(GfxGraphics*, GfxPen*)> draw;
    int32_t dash = GFX_DASH_SOLID;
  };
  const Stroke strokes[] = {
      {"compass ring", 0, false, [](GfxGraphics* g, GfxPen* p) { gfx_draw_ellipse(g, p, 20, 20, 160, 160); }},
      {"range arc", 0, false, [](GfxGraphics* g, GfxPen* p) { gfx_draw_arc(g, p, 10, 30, 180, 150, 200, 140); }},
      {"long line", 0, false, [](GfxGraphics* g, GfxPen* p) { gfx_draw_line(g, p, 5, 190, 195, 12); }},
      {"polyline", 0, false,
       [](GfxGraphics* g, GfxPen* p) {
         GfxPoint pts[] = {{10, 100}, {90, 20}, {190, 110}, {100, 190}};
         gfx_draw_lines(g, p, pts, 4);
       }},
      {"ring across a clip", 0, true, [](GfxGraphics* g, GfxPen* p) { gfx_draw_ellipse(g, p, 20, 20, 160, 160); }},
      {"line across a clip", 0, true, [](GfxGraphics* g, GfxPen* p) { gfx_draw_line(g, p, 5, 190, 195, 12); }},
      {"ring moved by a hair", 0.25, false,
       [](GfxGraphics* g, GfxPen* p) { gfx_draw_ellipse(g, p, 20, 20, 160, 160); }},
      {"dashed range arc", 0, false, [](GfxGraphics* g, GfxPen* p) { gfx_draw_arc(g, p, 10, 30, 180, 150, 200, 140); },
       GFX_DASH_DASH},
      {"dashed grid line", 0, false, [](GfxGraphics* g, GfxPen* p) { gfx_draw_line(g, p, 5, 150, 195, 40); },
       GFX_DASH_DASH},
      {"dashed ring across a clip", 0, true,
       [](GfxGraphics* g, GfxPen* p) { gfx_draw_ellipse(g, p, 20, 20, 160, 160); }, GFX_DASH_DASH},
  };
  for (const Stroke& s : strokes) {
    SCOPED_TRACE(s.what);
    gfx_release_kept_strokes();
    // Frames 1 to 4 of one display, and the last frame's stroke drawn alone, afresh.
    auto frame = [&](Canvas& c, double nudge) {
      if (s.clipped) clip_to_circle(c.g, 60, 60, 120);
      gfx_translate(c.g, 0.3 + nudge, 0.45, GFX_PREPEND);
      GfxPen* pen = gfx_pen_create(c.g, 0xFF40E0FF, 1.5);
      if (s.dash != GFX_DASH_SOLID) gfx_pen_set_dash(c.g, pen, s.dash);
      s.draw(c.g, pen);
      gfx_pen_delete(pen);
    };
    Canvas first(200, 200), last(200, 200);
    frame(first, 0);
    for (int f = 2; f <= 4; ++f) {
      Canvas later(200, 200);
      frame(later, f >= 3 ? s.nudge : 0);
      if (f >= 3 && s.nudge == 0 && s.clipped && s.dash != GFX_DASH_SOLID) {
        last.px = later.px;
        std::string where;
        EXPECT_EQ(inked_beyond_circle(later, 60, 60, 120, where), 0) << "frame " << f << " at " << where;
      } else if (f >= 3 && s.nudge == 0) {
        EXPECT_LE(compare(first, later).max, s.dash == GFX_DASH_SOLID ? 0 : 1) << "frame " << f;
      }
      if (f == 4 && s.nudge != 0) {
        gfx_release_kept_strokes();
        Canvas fresh(200, 200);
        frame(fresh, s.nudge);
        EXPECT_EQ(compare(fresh, later).pixels, 0);
        EXPECT_GT(compare(first, later).pixels, 0);
      }
    }
    EXPECT_GT(inked(first), 0);
    if (s.nudge == 0) {
      EXPECT_EQ(gfx_kept_strokes(), 1u);
    }
    if (s.clipped && s.dash != GFX_DASH_SOLID) {
      gfx_release_kept_strokes();
      Canvas open(200, 200);
      gfx_translate(open.g, 0.3, 0.45, GFX_PREPEND);
      GfxPen* pen = gfx_pen_create(open.g, 0xFF40E0FF, 1.5);
      gfx_pen_set_dash(open.g, pen, s.dash);
      s.draw(open.g, pen);
      gfx_pen_delete(pen);
      EXPECT_EQ(differing_inside_circle(open, last, 60, 60, 120, 1), 0);
    }
  }
}

// Polylines whose points lie further apart than a stamp's numbers hold (and further than
// an int32 difference) are stroked as they stand: across the image, as a short line is.
TEST_F(GfxStampTest, PolylinesOfFarPointsAreStrokedWhole) {
  const GfxPoint far[][3] = {
      {{INT32_MIN, 20}, {INT32_MAX, 20}, {INT32_MAX, 21}},
      {{-40000, 20}, {40000, 20}, {40000, 21}},
      {{10, 20}, {90, 20}, {90, 21}},
  };
  for (const auto& pts : far) {
    Canvas c(100, 40);
    GfxPen* pen = gfx_pen_create(c.g, 0xFFFFFFFF, 2);
    gfx_draw_lines(c.g, pen, pts, 3);
    gfx_pen_delete(pen);
    gfx_flush(c.g);
    EXPECT_NE(c.px[size_t(20) * 100 + 50], BACKGROUND) << pts[0].x;
    EXPECT_EQ(c.px[size_t(5) * 100 + 50], BACKGROUND) << pts[0].x;
  }
}

// Strokes passing by (a map's lines at each new position) keep no more than two halves,
// and a stroke met again draws the pixels it drew when first met: found in the newer half,
// in the older (moved to the newer, then found there), or let go and kept anew.
TEST_F(GfxStampTest, KeptLargeStrokesStayBounded) {
  auto line = [](Canvas& c, int32_t i) {
    GfxPen* pen = gfx_pen_create(c.g, 0xFF40E0FF, 1);
    gfx_draw_line(c.g, pen, 0, i % 200, 199, (i / 200) * 8);
    gfx_pen_delete(pen);
    gfx_flush(c.g);
  };
  const int32_t again[] = {2400, 1500, 1500, 100, 100};
  std::vector<std::unique_ptr<Canvas>> first;
  gfx_release_kept_strokes();
  for (int32_t i : again) line(*first.emplace_back(std::make_unique<Canvas>(200, 200)), i);
  gfx_release_kept_strokes();
  Canvas c(200, 200);
  for (int32_t i = 0; i < 2500; ++i)
    for (int twice = 0; twice < 2; ++twice) line(c, i);
  EXPECT_GT(gfx_kept_strokes(), 0u);
  EXPECT_LE(gfx_kept_strokes(), 2u * 1024u);
  for (size_t k = 0; k < std::size(again); ++k) {
    Canvas later(200, 200);
    line(later, again[k]);
    EXPECT_GT(inked(later), 0) << again[k];
    EXPECT_EQ(compare(*first[k], later).pixels, 0) << again[k];
  }
}
