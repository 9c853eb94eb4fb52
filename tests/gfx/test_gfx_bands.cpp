// A tall image drawn a band of rows per thread holds the pixels it holds drawn whole: shapes
// across the bands' edges, texts upright and turned, clips, fills, a second graphics
// drawing between two of the first's drawings, frame after frame.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/gfx/gfx.h"
#include "platform/gfx/gfx_internal.h"

namespace {

// This program tests the raster's own kept masks and strokes, which a graphics draws into
// itself: its images are drawn whole unless a test asks for bands.
const bool drawn_whole = (gfx_set_band_threads(0), true);

constexpr int W = 240, H = 390;  // three bands of 130 rows

void shapes(GfxGraphics* g, int frame) {
  gfx_clear(g, 0xFF000000);
  GfxPen* thick = gfx_pen_create(g, 0xFF20E020, 3);
  GfxPen* thin = gfx_pen_create(g, 0xFFFFFFFF, 1);
  GfxBrush* cyan = gfx_brush_create(g, 0xFF00E0E0);
  GfxBrush* magenta = gfx_brush_create(g, 0xC0E000E0);
  // Lines and a polygon across both band edges, a ring and an arc astride one.
  const GfxPoint zigzag[] = {{10, 20}, {200, 125}, {30, 135}, {220, 270}, {15, 380}};
  gfx_draw_lines(g, thick, zigzag, 5);
  const GfxPoint poly[] = {{120, 100}, {230, 140}, {180, 300}, {60, 260}};
  gfx_fill_polygon(g, magenta, poly, 4);
  gfx_draw_ellipse(g, thin, 20, 110, 60, 40);
  gfx_draw_arc(g, thick, 140, 240, 80, 60, 200, 250);
  gfx_fill_rect(g, cyan, 100, 128, 30, 5);  // a bar on the edge of two bands
  GfxPen* wide = gfx_pen_create(g, 0xFFE0E000, 7);
  gfx_draw_line(g, wide, 10, 127, 230, 127);  // its points above the edge, its ink across
  gfx_pen_delete(wide);
  // Labels on the edges, and the same labels turned (a map turning with its heading).
  GfxFontFamily* family = gfx_family_create(g, "Arial");
  GfxFont* font = gfx_font_create(g, family, 12, GFX_FONT_REGULAR);
  const std::u16string labels[] = {u"SEA", u"OLM 116.8", u"DUBYA", u"FL280"};
  for (int i = 0; i < 4; ++i)
    gfx_draw_string(g, labels[i].c_str(), int32_t(labels[i].size()), font,
                    {float(20 + 50 * i), float(124 + 130 * (i % 2)), 0, 0}, cyan);
  // A label whose cell starts a few rows over an edge (only its capitals' tops in the band
  // above), two lines across one, and accented capitals whose marks rise above the font's
  // ascent, across an edge.
  const std::u16string under[] = {u"KSEA TOD", u"KSEA\nKPDX", u"\u00C5\u00C9\u00D6 ANGSTROM \u00C5RE"};
  gfx_draw_string(g, under[0].c_str(), int32_t(under[0].size()), font, {60, 127, 0, 0}, cyan);
  gfx_draw_string(g, under[1].c_str(), int32_t(under[1].size()), font, {150, 240, 0, 0}, cyan);
  gfx_draw_string(g, under[2].c_str(), int32_t(under[2].size()), font, {80, 256, 0, 0}, cyan);
  gfx_translate(g, 120, 195, GFX_PREPEND);
  gfx_rotate(g, 7.0 * frame + 3, GFX_PREPEND);
  for (int i = 0; i < 4; ++i)
    gfx_draw_string(g, labels[i].c_str(), int32_t(labels[i].size()), font, {float(-60 + 10 * i), float(-70 + 40 * i), 0, 0},
                    cyan);
  gfx_draw_line(g, thin, -100, 0, 100, 0);
  gfx_reset_transform(g);
  // Symbols under a round clip across the edges.
  GfxPath* round = gfx_path_create(g);
  gfx_path_add_ellipse(g, round, 30, 60, 180, 300);
  gfx_set_clip_path(g, round);
  gfx_path_delete(round);
  for (int i = 0; i < 24; ++i) {
    const int32_t x = 10 + (i * 37) % 220, y = 5 + i * 16;
    gfx_draw_rect(g, thin, x, y, 7, 7);
    gfx_fill_ellipse(g, magenta, x + 10, y, 6, 6);
  }
  gfx_reset_clip(g);
  gfx_font_delete(font);
  gfx_family_delete(family);
  gfx_brush_delete(cyan);
  gfx_brush_delete(magenta);
  gfx_pen_delete(thin);
  gfx_pen_delete(thick);
}

struct Image {
  std::vector<uint32_t> px = std::vector<uint32_t>(size_t(W) * H, 0);
  GaugeImage image{px.data(), W, H, W * 4, nullptr};
};

// The pixels of three frames of the scene, drawn with `threads` threads drawing bands; when
// `crossed`, a second graphics on the image fills a strip of it between two of the first's
// lines, the one line under it, the other over.
std::vector<std::vector<uint32_t>> frames(int32_t threads, bool crossed) {
  gfx_set_band_threads(threads);
  uintptr_t token = 0;
  gfx_startup(&token);
  Image image;
  std::vector<std::vector<uint32_t>> out;
  for (int frame = 0; frame < 3; ++frame) {
    GfxGraphics* g = nullptr;
    gfx_create(&image.image, &g);
    if (crossed) {
      GfxPen* pen = gfx_pen_create(g, 0xFFFF0000, 2);
      gfx_draw_line(g, pen, 0, 0, W, H);
      GfxGraphics* o = nullptr;
      gfx_create(&image.image, &o);
      GfxBrush* blue = gfx_brush_create(o, 0xFF0000FF);
      gfx_fill_rect(o, blue, 0, 100, W, 190);
      gfx_brush_delete(blue);
      gfx_delete(o);
      gfx_draw_line(g, pen, W, 0, 0, H);
      gfx_pen_delete(pen);
    } else {
      shapes(g, frame);
    }
    gfx_delete(g);
    out.push_back(image.px);
  }
  gfx_shutdown(token);
  gfx_set_band_threads(0);
  return out;
}

TEST(GfxBands, BandsHoldThePixelsOfTheImageDrawnWhole) {
  for (bool crossed : {false, true}) {
    SCOPED_TRACE(crossed ? "a second graphics between drawings" : "shapes, texts and clips");
    const std::vector<std::vector<uint32_t>> whole = frames(0, crossed);
    for (int32_t threads : {1, 3}) {
      const std::vector<std::vector<uint32_t>> banded = frames(threads, crossed);
      for (size_t f = 0; f < whole.size(); ++f) {
        int differ = 0;
        for (size_t i = 0; i < whole[f].size(); ++i) differ += whole[f][i] != banded[f][i];
        EXPECT_EQ(differ, 0) << threads << " threads, frame " << f;
      }
    }
  }
}

}  // namespace
