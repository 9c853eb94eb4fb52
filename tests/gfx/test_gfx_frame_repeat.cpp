// A frame drawn as the one before is not drawn again: the image it leaves is, to the bit,
// the one drawing it again gives, whatever was drawn before; only a frame that repeats the
// last one wholly, and owes nothing to what the image held, is left as it stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/gfx.h"

namespace {

constexpr int W = 48, H = 40;
constexpr uint32_t MARK = 0xFF13579B;  // set between frames: it stands only where nothing is drawn

using Frame = std::function<void(GfxGraphics*)>;

struct Library {
  uintptr_t token = 0;
  Library() { gfx_startup(&token); }
  ~Library() { gfx_shutdown(token); }
};

void draw(GaugeImage* image, const Frame& frame) {
  GfxGraphics* g = nullptr;
  ASSERT_EQ(gfx_create(image, &g), GFX_OK);
  frame(g);
  gfx_delete(g);
}

// A frame of every kind of drawing, its details given by `v`.
struct Look {
  uint32_t clear = 0xFF202020, fill = 0xFF2060A0;
  double turn = 0, pen_width = 2;
  int32_t dash = GFX_DASH_SOLID, line_end = 40;
  double font_size = 11;
  std::u16string text = u"ABC 123";
  bool clip = false, first_clear = true, second_text = false;
  bool edge_fill = false;  // first a fill of the image, its edge pixels half covered
};

Frame frame_of(const Look& v) {
  return [v](GfxGraphics* g) {
    gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
    if (v.first_clear) gfx_clear(g, v.clear);
    GfxBrush* fill = gfx_brush_create(g, v.fill);
    GfxBrush* ground = gfx_brush_create(g, v.clear);
    if (v.edge_fill) gfx_fill_rect(g, ground, 0, 0, W, H);
    GfxBrush* half = gfx_brush_create(g, 0x80FF8000);
    GfxPen* pen = gfx_pen_create(g, 0xFFFFFFFF, v.pen_width);
    gfx_pen_set_dash(g, pen, v.dash);
    GfxFontFamily* family = gfx_family_create(g, "Arial");
    GfxFont* font = gfx_font_create(g, family, v.font_size, GFX_FONT_REGULAR);
    if (v.clip) {
      GfxPath* path = gfx_path_create(g);
      gfx_path_add_ellipse(g, path, 4, 4, 40, 32);
      gfx_set_clip_path(g, path);
      gfx_path_delete(path);
    }
    gfx_fill_rect(g, half, 2, 2, 30, 20);
    gfx_translate(g, 24, 20, GFX_PREPEND);
    gfx_rotate(g, v.turn, GFX_PREPEND);
    gfx_draw_line(g, pen, -20, 0, v.line_end - 20, 0);
    GfxPoint tri[] = {{-6, -6}, {6, -6}, {0, 8}};
    gfx_fill_polygon(g, fill, tri, 3);
    gfx_draw_arc(g, pen, -15, -15, 30, 30, 10, 200);
    gfx_draw_string(g, v.text.c_str(), -1, font, GfxRectF{-18, -4, 0, 0}, fill);
    if (v.second_text) gfx_draw_string(g, u"X", -1, font, GfxRectF{0, 8, 0, 0}, fill);
    gfx_reset_transform(g);
    if (v.clip) gfx_reset_clip(g);
    gfx_font_delete(font);
    gfx_family_delete(family);
    gfx_pen_delete(pen);
    gfx_brush_delete(half);
    gfx_brush_delete(ground);
    gfx_brush_delete(fill);
  };
}

TEST(GfxFrameRepeat, AFrameIsLeftAsItStandsOnlyWhereDrawingItAgainGivesThosePixels) {
  struct Row {
    const char* what;
    Look first, second;
    bool left;  // the second frame leaves the image as it stands
  };
  Look turned, dashed, longer, bigger, other_text, clipped, unclear, more, grey, narrower, edged, edged_grey;
  turned.turn = 1;
  dashed.dash = GFX_DASH_DASH;
  longer.line_end = 41;
  bigger.font_size = 12;
  other_text.text = u"ABC 124";
  clipped.clip = true;
  unclear.first_clear = false;
  more.second_text = true;
  grey.clear = 0xFF202021;
  narrower.pen_width = 1.5;
  edged.first_clear = false;
  edged.edge_fill = true;
  edged_grey = edged;
  edged_grey.clear = grey.clear;
  const Row rows[] = {
      {"the same frame", {}, {}, true},
      {"the same clipped frame", clipped, clipped, true},
      {"turned by a degree", {}, turned, false},
      {"a dashed pen", {}, dashed, false},
      {"a narrower pen", {}, narrower, false},
      {"a line a pixel longer", {}, longer, false},
      {"a bigger font", {}, bigger, false},
      {"another text", {}, other_text, false},
      {"a clip set", {}, clipped, false},
      {"another clear colour", {}, grey, false},
      {"a drawing more", {}, more, false},
      {"a drawing fewer", more, {}, false},
      {"no clear first: the frame owes to what was there", unclear, unclear, false},
      {"the same frame, its first fill over all but the edge", edged, edged, true},
      {"its first fill over all but the edge in another colour", edged, edged_grey, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Library library;
    std::vector<uint32_t> px(size_t(W) * H, 0);
    GaugeImage image{px.data(), W, H, W * 4, nullptr};
    // Both frames met before: each draw finds the same kept masks and glyph runs.
    for (const Look& look : {row.first, row.second, row.first, row.second}) {
      draw(&image, frame_of(look));
      gfx_forget_frames();
    }
    // The first repeated: the image steady, and the edge pixels a fill covers in part
    // settled (the corner's, covered by a quarter, in some twenty frames).
    for (int repeat = 0; repeat < 32; ++repeat) draw(&image, frame_of(row.first));
    px[0] = px[size_t(W) * H - 1] = MARK;
    const std::vector<uint32_t> before = px;

    draw(&image, frame_of(row.second));
    // The image the second frame gives drawn afresh on the same pixels.
    std::vector<uint32_t> again = before;
    GaugeImage fresh{again.data(), W, H, W * 4, nullptr};
    gfx_forget_frames();
    draw(&fresh, frame_of(row.second));

    if (row.left) {
      EXPECT_EQ(px, before);  // the marks stand: nothing was drawn
      again[0] = again[size_t(W) * H - 1] = MARK;
      EXPECT_EQ(again, before);  // and the frame drawn again gives the pixels left
    } else {
      EXPECT_EQ(px, again);
    }
  }
}

// What is known of an image's last frame goes with the image: forgotten when images may
// be made anew, and not trusted where another graphics drew into it meanwhile.
TEST(GfxFrameRepeat, AFrameIsDrawnAgainWhereTheImageMayHoldOtherPixels) {
  struct Row {
    const char* what;
    std::function<void(GaugeImage*, const std::vector<uint32_t>& drawn)> between;
  };
  const Row rows[] = {
      {"frames forgotten", [](GaugeImage*, const std::vector<uint32_t>&) { gfx_forget_frames(); }},
      {"a second graphics drew into it while the first was open",
       [](GaugeImage* image, const std::vector<uint32_t>& drawn) {
         GfxGraphics* outer = nullptr;
         gfx_create(image, &outer);
         draw(image, [](GfxGraphics* g) { gfx_clear(g, 0xFF0000FF); });
         frame_of({})(outer);  // the frame before, over the other's clear
         gfx_delete(outer);
         EXPECT_EQ(std::vector<uint32_t>(image->pixels, image->pixels + size_t(W) * H), drawn);
       }},
      {"a second graphics drew between the first's drawings",
       [](GaugeImage* image, const std::vector<uint32_t>&) {
         // The first two drawings of the frame before (held), a clear by another, then no more.
         auto interleaved = [](GaugeImage* im) {
           GfxGraphics* outer = nullptr;
           gfx_create(im, &outer);
           gfx_set_smoothing(outer, GFX_SMOOTHING_HIGH_QUALITY);
           gfx_clear(outer, Look{}.clear);
           GfxBrush* half = gfx_brush_create(outer, 0x80FF8000);
           gfx_fill_rect(outer, half, 2, 2, 30, 20);
           gfx_brush_delete(half);
           draw(im, [](GfxGraphics* g) { gfx_clear(g, 0xFF0000FF); });
           gfx_delete(outer);
         };
         std::vector<uint32_t> in_order(image->pixels, image->pixels + size_t(W) * H);
         interleaved(image);
         gfx_forget_frames();  // nothing held: each drawing as it comes
         GaugeImage other{in_order.data(), W, H, W * 4, nullptr};
         interleaved(&other);
         EXPECT_EQ(std::vector<uint32_t>(image->pixels, image->pixels + size_t(W) * H), in_order);
       }},
      {"its pixels wiped by their owner, or an image made anew in its place",
       [](GaugeImage* image, const std::vector<uint32_t>&) { std::fill(image->pixels, image->pixels + W * H, 0u); }},
      {"the image's pixels elsewhere",
       [](GaugeImage* image, const std::vector<uint32_t>&) {
         static std::vector<uint32_t> moved;
         moved.assign(size_t(W) * H, MARK);
         image->pixels = moved.data();
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Library library;
    std::vector<uint32_t> px(size_t(W) * H, 0);
    GaugeImage image{px.data(), W, H, W * 4, nullptr};
    draw(&image, frame_of({}));
    draw(&image, frame_of({}));
    const std::vector<uint32_t> drawn(image.pixels, image.pixels + size_t(W) * H);
    row.between(&image, drawn);
    image.pixels[0] = MARK;
    draw(&image, frame_of({}));
    EXPECT_EQ(std::vector<uint32_t>(image.pixels, image.pixels + size_t(W) * H), drawn);
  }
}

}  // namespace
