// The visibility query against the raster: a rectangle it calls invisible leaves no
// ink when filled, under transforms, both pixel offsets and clips, with and without
// a recording; and it is not far from the rectangles that do leave ink. A box the clip
// is said to cover wholly, or not at all, is so in the clip's coverage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/gfx/gfx.h"
#include "platform/gfx/gfx_internal.h"
#include "platform/gfx/gfx_recording.h"

namespace {

constexpr int32_t W = 48, H = 36;

struct Case {
  const char* name;
  double scale, degrees, tx, ty;
  int32_t offset;
  int32_t clip;  // 0 none, 1 an ellipse, 2 a triangle wider than the image
  bool recording;
};

const Case CASES[] = {
    {"plain", 1, 0, 0, 0, GFX_PIXEL_OFFSET_DEFAULT, 0, false},
    {"half pixel offset", 1, 0, 0, 0, GFX_PIXEL_OFFSET_HALF, 0, false},
    {"fractional scale and shift", 0.7, 0, 0.3, 0.45, GFX_PIXEL_OFFSET_DEFAULT, 0, false},
    {"rotated", 1.3, 30, 20.25, -6.5, GFX_PIXEL_OFFSET_DEFAULT, 0, false},
    {"ellipse clip", 1, 0, 0.5, 0.25, GFX_PIXEL_OFFSET_DEFAULT, 1, false},
    {"ellipse clip recorded", 1, 0, 0.5, 0.25, GFX_PIXEL_OFFSET_DEFAULT, 1, true},
    {"ellipse clip, half offset, recorded", 0.9, 0, 0.1, 0.7, GFX_PIXEL_OFFSET_HALF, 1, true},
    {"triangle clip past the image", 1.1, 0, -0.35, 0.2, GFX_PIXEL_OFFSET_DEFAULT, 2, false},
    {"triangle clip past the image, recorded", 1.1, 0, -0.35, 0.2, GFX_PIXEL_OFFSET_DEFAULT, 2, true},
};

struct Image {
  std::vector<uint32_t> px = std::vector<uint32_t>(size_t(W) * H, 0);
  GaugeImage image{px.data(), W, H, W * 4, nullptr};
  uintptr_t token = 0;
  GfxGraphics* g = nullptr;
  GfxBrush* brush = nullptr;
  bool recording;

  explicit Image(const Case& c) : recording(c.recording) {
    gfx_startup(&token);
    if (recording) gfx_recording_enable(&image);
    gfx_create(&image, &g);
    brush = gfx_brush_create(g, 0xFFFFFFFF);
    gfx_set_smoothing(g, GFX_SMOOTHING_ANTIALIAS);
    gfx_set_pixel_offset(g, c.offset);
    if (c.clip != 0) {
      GfxPath* path = gfx_path_create(g);
      if (c.clip == 1) {
        gfx_path_add_ellipse(g, path, 10, 8, 25, 17);
      } else {
        gfx_path_add_line(g, path, -30, 5, 80, 5);
        gfx_path_add_line(g, path, 80, 5, 20, 30);
        gfx_path_close_figure(g, path);
      }
      gfx_set_clip_path(g, path);
      gfx_path_delete(path);
    }
    gfx_translate(g, c.tx, c.ty, GFX_APPEND);
    gfx_rotate(g, c.degrees, GFX_PREPEND);
    gfx_scale(g, c.scale, c.scale, GFX_PREPEND);
  }
  ~Image() {
    gfx_brush_delete(brush);
    gfx_delete(g);
    if (recording) gfx_recording_disable(&image);
    gfx_shutdown(token);
  }
  // Pixels inked by filling the rectangle on a blank image.
  int32_t ink(int32_t x, int32_t y, int32_t w, int32_t h) {
    std::fill(px.begin(), px.end(), 0u);
    gfx_fill_rect(g, brush, x, y, w, h);
    int32_t n = 0;
    for (uint32_t p : px) n += p != 0;
    return n;
  }
};

TEST(GfxVisibility, ARectangleCalledInvisibleLeavesNoInkAndOneThatInksIsVisible) {
  for (const Case& c : CASES) {
    SCOPED_TRACE(c.name);
    Image im(c);
    int32_t culled = 0, near_misses = 0;
    // Rectangles of 3 x 2 units swept across the image, its edges and the clip's box.
    for (int32_t y = -8; y <= 44; ++y) {
      for (int32_t x = -24; x <= 60; ++x) {
        if (gfx_rect_visible(im.g, x, y, 3, 2)) continue;
        ++culled;
        ASSERT_EQ(im.ink(x, y, 3, 2), 0) << "culled at " << x << ", " << y;
        // Tight: grown by 3 units (under 4 pixels) it is often visible.
        near_misses += gfx_rect_visible(im.g, x - 3, y - 3, 9, 8);
      }
    }
    EXPECT_GT(culled, 0);
    EXPECT_GT(near_misses, 0);
  }
}

// A rectangle said to lie within the view holds only visible rectangles; some rectangles
// lie within it, and some visible ones do not.
TEST(GfxVisibility, EveryRectangleInsideOneWithinTheViewIsVisible) {
  for (const Case& c : CASES) {
    SCOPED_TRACE(c.name);
    Image im(c);
    int32_t within = 0, near_within = 0;
    for (int32_t y = -8; y <= 44; y += 2) {
      for (int32_t x = -24; x <= 60; x += 2) {
        if (gfx_rect_view(im.g, x, y, 9, 7) != GFX_VIEW_WITHIN) {
          near_within += gfx_rect_visible(im.g, x, y, 9, 7);
          continue;
        }
        ++within;
        for (int32_t dy = 0; dy <= 5; ++dy)
          for (int32_t dx = 0; dx <= 6; ++dx)
            ASSERT_TRUE(gfx_rect_visible(im.g, x + dx, y + dy, 3, 2)) << x + dx << ", " << y + dy;
      }
    }
    EXPECT_GT(within, 0);
    EXPECT_GT(near_within, 0);
  }
  Image im(CASES[0]);
  EXPECT_EQ(gfx_rect_view(nullptr, 0, 0, 1, 1), GFX_VIEW_NONE);
  EXPECT_EQ(gfx_rect_view(im.g, std::nan(""), 0, 1, 1), GFX_VIEW_PART);
  EXPECT_EQ(gfx_rect_view(im.g, 2, 2, 4, 4), GFX_VIEW_WITHIN);
  gfx_scale(im.g, 0, 0, GFX_PREPEND);  // a transform that cannot be inverted
  EXPECT_EQ(gfx_rect_view(im.g, 2, 2, 4, 4), GFX_VIEW_PART);
}

TEST(GfxVisibility, UnusableArgumentsCountAsVisibleAndNoGraphicsAsNot) {
  Case c = CASES[0];
  Image im(c);
  EXPECT_FALSE(gfx_rect_visible(nullptr, 0, 0, 1, 1));
  EXPECT_TRUE(gfx_rect_visible(im.g, std::nan(""), 0, 1, 1));
  EXPECT_TRUE(gfx_rect_visible(im.g, HUGE_VAL, 0, 1, 1));
  EXPECT_FALSE(gfx_rect_visible(im.g, 1000, 1000, 1, 1));
  // Negative sizes span the same box.
  EXPECT_TRUE(gfx_rect_visible(im.g, 2, 2, -10, -10));
  gfx_scale(im.g, 0, 0, GFX_PREPEND);  // a transform that cannot be inverted
  EXPECT_TRUE(gfx_rect_visible(im.g, 1000, 1000, 1, 1));
}

TEST(GfxVisibility, AClipOnAnImageWithoutPixelsIsTakenFromTheRecording) {
  GaugeImage image{nullptr, W, H, W * 4, nullptr};
  uintptr_t token = 0;
  gfx_startup(&token);
  gfx_recording_enable(&image);
  GfxGraphics* g = nullptr;
  gfx_create(&image, &g);
  GfxPath* path = gfx_path_create(g);
  gfx_path_add_ellipse(g, path, 10, 8, 20, 10);
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
  EXPECT_TRUE(gfx_rect_visible(g, 12, 10, 2, 2));
  EXPECT_FALSE(gfx_rect_visible(g, 0, 0, 5, 4));   // inside the image, above and left of the clip
  EXPECT_FALSE(gfx_rect_visible(g, 35, 10, 4, 4));  // right of it
  gfx_reset_clip(g);
  EXPECT_TRUE(gfx_rect_visible(g, 0, 0, 5, 4));
  gfx_delete(g);
  gfx_recording_disable(&image);
  gfx_shutdown(token);
}

// Clips to the figures, in image pixels: an ellipse's box (four numbers), or a closed
// polygon's points.
void set_clip(GfxGraphics* g, const std::vector<std::vector<double>>& figures) {
  GfxPath* path = gfx_path_create(g);
  for (const std::vector<double>& f : figures) {
    if (f.size() == 4) {
      gfx_path_add_ellipse(g, path, f[0], f[1], f[2], f[3]);
    } else {
      for (size_t i = 0; i + 2 < f.size(); i += 2) gfx_path_add_line(g, path, f[i], f[i + 1], f[i + 2], f[i + 3]);
      gfx_path_close_figure(g, path);
    }
  }
  gfx_set_clip_path(g, path);
  gfx_path_delete(path);
}

TEST(GfxVisibility, ABoxTheClipCoversWhollyOrNotAtAllIsSoInItsCoverage) {
  // Figures in image pixels: a ring (an ellipse within an ellipse), two ellipses crossing
  // (even-odd: their overlap is out), a thin slanted wedge with a small triangle in the
  // columns of its long edges, a triangle past the image.
  const std::vector<std::vector<double>> clips[] = {
      {{8, 4, 34, 28}, {16, 10, 16, 14}},
      {{2, 3, 26, 22}, {16, 10, 28, 24}},
      {{-20, 30, 70, 12, 70, 14}, {10, 20, 14, 20, 12, 24}},
      {{-30, 5, 80, 5, 20, 30}},
  };
  for (size_t shape = 0; shape < std::size(clips); ++shape) {
    SCOPED_TRACE(shape);
    Image im(CASES[0]);
    set_clip(im.g, clips[shape]);
    const GfxClipCoverage cover = raster_clip_coverage(im.g, false);
    ASSERT_NE(cover.image, nullptr);
    const auto* bits = reinterpret_cast<const uint8_t*>(pixman_image_get_data(cover.image));
    const int32_t stride = pixman_image_get_stride(cover.image), cw = pixman_image_get_width(cover.image),
                  ch = pixman_image_get_height(cover.image);
    auto coverage = [&](int32_t x, int32_t y) {
      x -= cover.x, y -= cover.y;
      return x < 0 || y < 0 || x >= cw || y >= ch ? 0 : int32_t(bits[size_t(y) * size_t(stride) + size_t(x)]);
    };
    int32_t wholly = 0, none = 0;
    for (const auto& [w, h] : {std::pair{1, 1}, {3, 2}, {7, 5}, {16, 9}})
      for (int32_t y = 0; y + h <= H; ++y)  // within the image: its coverage ends there
        for (int32_t x = 0; x + w <= W; ++x) {
          const GfxCover said = gfx_clip_cover(im.g, x, y, x + w, y + h);
          if (said == GfxCover::PART) continue;
          (said == GfxCover::ALL ? wholly : none) += 1;
          for (int32_t py = y; py < y + h; ++py)
            for (int32_t px = x; px < x + w; ++px)
              ASSERT_EQ(coverage(px, py), said == GfxCover::ALL ? 255 : 0)
                  << w << "x" << h << " box at " << x << ", " << y << ": pixel " << px << ", " << py;
        }
    EXPECT_GT(wholly, 0);
    EXPECT_GT(none, 0);
  }
}

// The clip's inner and outer boxes tell a box or a path at once: what they tell is what
// the clip's edges tell with the boxes set aside, on clips of many edges, with a hole, of
// two crossing figures, thin, and past the image; a round clip has an inner box, a ring
// none.
TEST(GfxVisibility, WhatTheClipsBoxesTellAtOnceIsWhatItsEdgesTell) {
  const std::vector<std::vector<double>> clips[] = {
      {{6, 3, 36, 30}},
      {{8, 4, 34, 28}, {16, 10, 16, 14}},
      {{2, 3, 26, 22}, {16, 10, 28, 24}},
      {{-20, 30, 70, 12, 70, 14}, {10, 20, 14, 20, 12, 24}},
      {{-30, 5, 80, 5, 20, 30}},
  };
  for (size_t shape = 0; shape < std::size(clips); ++shape) {
    SCOPED_TRACE(shape);
    Image im(CASES[0]);
    set_clip(im.g, clips[shape]);
    GfxClipEdges& c = im.g->clip_edges;
    for (const double* in : c.inner) {
      if (shape == 0) {
        EXPECT_LT(in[0], in[2]);
      } else if (shape == 1) {
        EXPECT_GT(in[0], in[2]);
      }
    }
    // Every box and path asked, and how often the boxes told it at once.
    auto ask = [&](int& at_once) {
      std::vector<GfxCover> said;
      for (const auto& [w, h] : {std::pair{0, 0}, {1, 1}, {3, 2}, {7, 5}, {16, 9}})
        for (int32_t y = -20; y < H + 4; ++y)
          for (int32_t x = -20; x < W + 4; ++x) {
            const double x0 = x + 0.25, y0 = y + 0.5, x1 = x0 + w, y1 = y0 + h;
            for (const double* in : c.inner) at_once += x0 >= in[0] && y0 >= in[1] && x1 <= in[2] && y1 <= in[3];
            at_once += x1 < c.outer[0] - 1 || x0 > c.outer[2] + 1 || y1 < c.outer[1] || y0 > c.outer[3];
            said.push_back(gfx_clip_cover(im.g, x0, y0, x1, y1));
            const GfxPointF pts[3] = {{x0, y0}, {x1 + 2, y1 - 1}, {x0 - 1, y1}};
            said.push_back(gfx_clip_cover_path(im.g, pts, 3, 6));
          }
      return said;
    };
    int at_once = 0, unused = 0;
    const std::vector<GfxCover> quick = ask(at_once);
    EXPECT_GT(at_once, 0);
    for (double* in : c.inner) in[0] = in[1] = INFINITY, in[2] = in[3] = -INFINITY;
    for (int i = 0; i < 2; ++i) c.outer[i] = -INFINITY, c.outer[i + 2] = INFINITY;
    const std::vector<GfxCover> by_edges = ask(unused);
    ASSERT_EQ(quick.size(), by_edges.size());
    for (size_t i = 0; i < quick.size(); ++i) ASSERT_EQ(quick[i], by_edges[i]) << "question " << i;
  }
}

}  // namespace
