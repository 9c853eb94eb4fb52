// Texts drawn through the kept faces and glyph tables give the pixels of cairo's own
// text path, whatever fonts came and went before them.
#include <cairo.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace {

constexpr int W = 160, H = 60;

struct Text {
  const char* family;
  double size;
  int32_t style;
  const char* bytes;  // Windows-1252
  double scale, degrees;
  int32_t hint;
};

// `utf8` as cairo draws it from a freshly selected face, on a fresh surface, through
// `ctm`, laid out from (x, y); under the clip of `clip` (device space) when given.
std::vector<uint32_t> cairo_text(const cairo_matrix_t& ctm, const char* face, double size, bool bold, bool smooth,
                                 const std::string& utf8, double x, double y, const GfxClipEdges* clip = nullptr) {
  std::vector<uint32_t> px(size_t(W) * H, 0xFF000000);
  cairo_surface_t* s = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(px.data()),
                                                           CAIRO_FORMAT_ARGB32, W, H, W * 4);
  cairo_t* cr = cairo_create(s);
  if (clip) {
    cairo_set_antialias(cr, clip->antialias);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    for (const auto& figure : clip->figures) {
      cairo_new_sub_path(cr);
      for (const GfxPointF& p : figure) cairo_line_to(cr, p.x, p.y);
      cairo_close_path(cr);
    }
    cairo_clip(cr);
  }
  cairo_set_matrix(cr, &ctm);
  cairo_select_font_face(cr, face, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, o);
  cairo_font_options_destroy(o);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_set_source_rgba(cr, 1, 1, 1, 1);
  cairo_move_to(cr, x + size / 6.0, y + fe.ascent);
  cairo_show_text(cr, utf8.c_str());
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  return px;
}

// The text as cairo draws it at world (x, y), the pixel grid shifted by `offset` (gfx's
// default mode: half a pixel).
std::vector<uint32_t> reference(const Text& t, const char* face, const std::string& utf8, float x, float y,
                                double offset, const GfxClipEdges* clip = nullptr) {
  cairo_matrix_t ctm;
  cairo_matrix_init_translate(&ctm, offset, offset);
  cairo_matrix_rotate(&ctm, t.degrees * (3.14159265358979323846 / 180.0));
  cairo_matrix_scale(&ctm, t.scale, t.scale);
  return cairo_text(ctm, face, t.size, t.style == GFX_FONT_BOLD,
                    t.hint == GFX_TEXT_DEFAULT || t.hint >= GFX_TEXT_ANTIALIAS_FIT, utf8, x, y, clip);
}

std::vector<uint32_t> drawn(const Text& t) {
  std::vector<uint32_t> px(size_t(W) * H, 0xFF000000);
  GaugeImage image{px.data(), W, H, W * 4, nullptr};
  GfxGraphics* g = nullptr;
  EXPECT_EQ(gfx_create(&image, &g), GFX_OK);
  gfx_set_text_hint(g, t.hint);
  gfx_scale(g, t.scale, t.scale, GFX_PREPEND);
  gfx_rotate(g, t.degrees, GFX_APPEND);
  GfxFontFamily* family = gfx_family_create(g, t.family);
  GfxFont* font = gfx_font_create(g, family, t.size, t.style);
  GfxBrush* brush = gfx_brush_create(g, 0xFFFFFFFF);
  char16_t wide[32];
  gfx_widen(t.bytes, wide, 32);
  EXPECT_EQ(gfx_draw_string(g, wide, -1, font, {float(6 / t.scale), float(4 / t.scale), 0, 0}, brush), GFX_OK);
  gfx_brush_delete(brush);
  gfx_font_delete(font);
  gfx_family_delete(family);
  gfx_delete(g);
  return px;
}

int differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

// Fonts that differ slightly from the one before (size, weight, family, smoothing,
// transform), each made after the last was deleted, so that one may take the
// other's address.
const Text TEXTS[] = {
    {"Arial", 10, GFX_FONT_REGULAR, "W1234 KSEA", 1, 0, GFX_TEXT_ANTIALIAS},
    {"Arial", 10.01, GFX_FONT_REGULAR, "W1234 KSEA", 1, 0, GFX_TEXT_ANTIALIAS},
    {"Arial", 10, GFX_FONT_BOLD, "W1234 KSEA", 1, 0, GFX_TEXT_ANTIALIAS},
    {"Arial", 10, GFX_FONT_REGULAR, "W1234 KSEA", 1, 0, GFX_TEXT_SINGLE_BIT},
    {"Courier New", 10, GFX_FONT_REGULAR, "W1234 KSEA", 1, 0, GFX_TEXT_ANTIALIAS},
    {"Arial", 10, GFX_FONT_REGULAR, "W1234 KSEA", 2, 0, GFX_TEXT_ANTIALIAS},
    {"Arial", 10, GFX_FONT_REGULAR, "W1234 KSEA", 1.5, 0, GFX_TEXT_ANTIALIAS},
    {"Arial", 10, GFX_FONT_REGULAR, "W1234 KSEA TURNED", 1.5, 7, GFX_TEXT_ANTIALIAS},  // too long to turn on a grid
    {"ZO Zuduz", 14, GFX_FONT_BOLD, "12.5\xB0 -3", 1, 0, GFX_TEXT_DEFAULT},  // a degree sign: cairo converts it
    {"Arial", 10, GFX_FONT_REGULAR, "W1234 KSEA", 1, 0, GFX_TEXT_ANTIALIAS},  // the first again
};

TEST(GfxFontCache, TextsGiveCairosPixelsWhateverFontsCameBefore) {
  uintptr_t token = 0;
  ASSERT_EQ(gfx_startup(&token), GFX_OK);
  for (int round = 0; round < 2; ++round) {
    for (const Text& t : TEXTS) {
      char16_t wide[32];
      gfx_widen(t.bytes, wide, 32);
      std::vector<uint32_t> want = reference(t, gfx_resolve_face(t.family), gfx_utf8(wide, -1), float(6 / t.scale),
                                             float(4 / t.scale), 0.5);
      std::vector<uint32_t> got = drawn(t);
      EXPECT_EQ(differing(want, got), 0) << t.family << " " << t.size << " style " << t.style << " scale "
                                         << t.scale << " round " << round;
      EXPECT_GT(differing(got, std::vector<uint32_t>(got.size(), 0xFF000000)), 20) << "the text shows";
    }
  }
  EXPECT_EQ(gfx_shutdown(token), GFX_OK);
}

TEST(GfxFontCache, MeasuringAfterTheLibraryRestartsGivesTheSameBox) {
  // The kept faces and tables are let go when the library stops; the next start makes
  // them again.
  GfxRectF boxes[2];
  for (GfxRectF& box : boxes) {
    uintptr_t token = 0;
    ASSERT_EQ(gfx_startup(&token), GFX_OK);
    GaugeImage image{nullptr, 10, 10, 40, nullptr};
    GfxGraphics* g = nullptr;
    ASSERT_EQ(gfx_create(&image, &g), GFX_OK);
    GfxFontFamily* family = gfx_family_create(g, "Arial");
    GfxFont* font = gfx_font_create(g, family, 12, GFX_FONT_BOLD);
    char16_t wide[16];
    gfx_widen("FL350", wide, 16);
    EXPECT_EQ(gfx_measure_string(g, wide, -1, font, &box), GFX_OK);
    gfx_font_delete(font);
    gfx_family_delete(family);
    gfx_delete(g);
    EXPECT_EQ(gfx_shutdown(token), GFX_OK);
  }
  EXPECT_GT(boxes[0].width, 20.0f);
  EXPECT_EQ(std::memcmp(&boxes[0], &boxes[1], sizeof boxes[0]), 0);
}

// Labels drawn frame after frame: from the third draw on a text's glyph run is kept and
// blended without cairo; every draw gives cairo's own pixels, at sub-pixel places where
// cairo's grid of 1/256 pixel rounds the text's start either way, in both pixel offset
// modes, scaled, and under a clip that holds the text wholly, crosses it (a box on or off
// the pixel grid too) or misses it, or beyond the image, kept or not (turned texts:
// TurnedTextsStayWhereTheirOwnTurnPutsThem).
TEST(GfxFontCache, TextsDrawnAgainKeepCairosPixels) {
  struct Case {
    Text text;
    float x, y;
    int32_t pixel_offset;
  };
  constexpr float TIE = 1.0f / 512;  // half a step of cairo's grid
  const Case cases[] = {
      {{"Arial", 10, GFX_FONT_REGULAR, "KSEA", 1, 0, GFX_TEXT_ANTIALIAS}, 6, 4, GFX_PIXEL_OFFSET_DEFAULT},
      {{"Arial", 10, GFX_FONT_REGULAR, "KSEA", 1, 0, GFX_TEXT_ANTIALIAS}, 6 + TIE, 4 + 3 * TIE, GFX_PIXEL_OFFSET_DEFAULT},
      {{"Arial", 10, GFX_FONT_REGULAR, "KSEA", 1, 0, GFX_TEXT_ANTIALIAS}, 6.49f, 3.51f, GFX_PIXEL_OFFSET_HALF},
      {{"Arial", 12, GFX_FONT_BOLD, "W1234 KSEA", 1, 0, GFX_TEXT_ANTIALIAS}, 5.999f, 4.25f, GFX_PIXEL_OFFSET_DEFAULT},
      {{"Courier New", 11, GFX_FONT_REGULAR, "FL350 TOD 12", 1, 0, GFX_TEXT_SINGLE_BIT}, 3.7f, 2.2f,
       GFX_PIXEL_OFFSET_DEFAULT},
      {{"Arial", 10, GFX_FONT_REGULAR, "TOO LONG TEXT", 1, 0, GFX_TEXT_ANTIALIAS}, 6, 4, GFX_PIXEL_OFFSET_DEFAULT},
      {{"Arial", 10, GFX_FONT_REGULAR, "W1234 KSEA", 1.5, 0, GFX_TEXT_ANTIALIAS}, 4.1f, 2.6f, GFX_PIXEL_OFFSET_DEFAULT},
      {{"ZO Zuduz", 14, GFX_FONT_BOLD, "12.5 -3", 1, 0, GFX_TEXT_DEFAULT}, -2.3f, 7.75f, GFX_PIXEL_OFFSET_HALF},
  };
  enum Clip { NO_CLIP, HOLDS, CROSSES, BOX, MISSES, BEYOND };
  // A triangle whose edge x + y = 40 crosses the texts; a box whose edge x = 25 does.
  constexpr int32_t CROSSING[3][2] = {{-100, -100}, {140, -100}, {-100, 140}};
  constexpr int32_t BOXED[4][2] = {{-100, -100}, {25, -100}, {25, 100}, {-100, 100}};
  uintptr_t token = 0;
  ASSERT_EQ(gfx_startup(&token), GFX_OK);
  for (const Case& c : cases) {
    const Text& t = c.text;
    char16_t wide[32];
    gfx_widen(t.bytes, wide, 32);
    const std::vector<uint32_t> want = reference(t, gfx_resolve_face(t.family), gfx_utf8(wide, -1), c.x, c.y,
                                                 c.pixel_offset == GFX_PIXEL_OFFSET_HALF ? 0.0 : 0.5);
    const std::vector<uint32_t> blank(want.size(), 0xFF000000);
    ASSERT_GT(differing(want, blank), 20) << t.bytes;
    std::vector<uint32_t> first_crossed;  // the first draw across the edge, made into a mask for it
    for (Clip clip : {MISSES, MISSES, BEYOND, BOX, NO_CLIP, CROSSES, NO_CLIP, NO_CLIP, CROSSES, BOX, HOLDS, MISSES,
                      BEYOND, NO_CLIP}) {
      std::vector<uint32_t> px(size_t(W) * H, 0xFF000000);
      GaugeImage image{px.data(), W, H, W * 4, nullptr};
      GfxGraphics* g = nullptr;
      ASSERT_EQ(gfx_create(&image, &g), GFX_OK);
      gfx_set_text_hint(g, t.hint);
      gfx_set_pixel_offset(g, c.pixel_offset);
      if (clip != NO_CLIP && clip != BEYOND) {
        GfxPath* path = gfx_path_create(g);
        if (clip == HOLDS)
          gfx_path_add_ellipse(g, path, -W, -H, 3 * W, 3 * H);
        else if (clip == MISSES)
          gfx_path_add_ellipse(g, path, W - 12, H - 12, 10, 10);
        for (int i = 0; clip == CROSSES && i < 2; ++i)
          gfx_path_add_line(g, path, CROSSING[i][0], CROSSING[i][1], CROSSING[i + 1][0], CROSSING[i + 1][1]);
        for (int i = 0; clip == BOX && i < 3; ++i)
          gfx_path_add_line(g, path, BOXED[i][0], BOXED[i][1], BOXED[i + 1][0], BOXED[i + 1][1]);
        gfx_set_clip_path(g, path);
        gfx_path_delete(path);
      }
      // Cut by the box (its edge half a pixel off the grid) at the pixels it reaches, as cairo
      // cuts glyphs: with the default offset, as cairo draws the text under it; with the half
      // offset (where cairo under a clip rounds some glyphs' places at a tie the other way),
      // the text cut there.
      std::vector<uint32_t> boxed = want;
      if (clip == BOX && c.pixel_offset == GFX_PIXEL_OFFSET_HALF) {
        for (int y = 0; y < H; ++y)
          for (int x = BOXED[1][0] + 1; x < W; ++x) boxed[size_t(y * W + x)] = 0xFF000000;
      } else if (clip == BOX) {
        boxed = reference(t, gfx_resolve_face(t.family), gfx_utf8(wide, -1), c.x, c.y, 0.5, &g->clip_edges);
      }
      if (clip == BEYOND) gfx_translate(g, 0, -2 * H, GFX_PREPEND);
      gfx_scale(g, t.scale, t.scale, GFX_PREPEND);
      gfx_rotate(g, t.degrees, GFX_APPEND);
      GfxFontFamily* family = gfx_family_create(g, t.family);
      GfxFont* font = gfx_font_create(g, family, t.size, t.style);
      GfxBrush* brush = gfx_brush_create(g, 0xFFFFFFFF);
      EXPECT_EQ(gfx_draw_string(g, wide, -1, font, {c.x, c.y, 0, 0}, brush), GFX_OK);
      gfx_brush_delete(brush);
      gfx_font_delete(font);
      gfx_family_delete(family);
      gfx_delete(g);
      const std::string where = std::string(t.bytes) + " at " + std::to_string(c.x) + ", " + std::to_string(c.y) +
                                " offset mode " + std::to_string(c.pixel_offset) + " clip " + std::to_string(clip);
      if (clip == BOX) {
        EXPECT_GT(differing(boxed, blank), 10) << where;
        EXPECT_GT(differing(boxed, want), 10) << where;
      }
      if (clip != CROSSES) {
        EXPECT_EQ(differing(px, clip == MISSES || clip == BEYOND ? blank : boxed), 0) << where;
        continue;
      }
      // Through the clip's coverage (x + y < 40): cairo's pixels inside, none outside, the
      // same each time.
      const double edge = 40 + (c.pixel_offset == GFX_PIXEL_OFFSET_HALF ? 0.0 : 1.0);
      int inside = 0, wrong = 0;
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          const size_t i = size_t(y * W + x);
          const double across = x + y + 1 - edge;
          inside += across < -2 && want[i] != blank[i];
          wrong += (across < -2 && px[i] != want[i]) || (across > 2 && px[i] != blank[i]);
        }
      EXPECT_GT(inside, 10) << where;
      EXPECT_EQ(wrong, 0) << where;
      if (first_crossed.empty()) first_crossed = px;
      EXPECT_EQ(differing(px, first_crossed), 0) << where;
    }
  }
  EXPECT_EQ(gfx_shutdown(token), GFX_OK);
}

// A turned text as the maps draw one: turned within the gauge, then scaled to it (sx,
// sy), about (80, 30); its layout point at (-20, -6): through cairo's own text path, or
// through gfx.
struct Turned {
  double sx, sy, degrees;
};
std::vector<uint32_t> turned(const Turned& t, bool cairo) {
  const char* text = "N270";
  if (cairo) {
    cairo_matrix_t ctm;
    cairo_matrix_init_translate(&ctm, 80.5, 30.5);
    cairo_matrix_scale(&ctm, t.sx, t.sy);
    cairo_matrix_rotate(&ctm, t.degrees * (3.14159265358979323846 / 180.0));
    return cairo_text(ctm, gfx_resolve_face("Arial"), 12, true, true, text, -20, -6);
  }
  std::vector<uint32_t> px(size_t(W) * H, 0xFF000000);
  GaugeImage image{px.data(), W, H, W * 4, nullptr};
  GfxGraphics* g = nullptr;
  EXPECT_EQ(gfx_create(&image, &g), GFX_OK);
  gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
  gfx_scale(g, t.sx, t.sy, GFX_PREPEND);
  gfx_rotate(g, t.degrees, GFX_PREPEND);
  gfx_translate(g, 80, 30, GFX_APPEND);
  GfxFontFamily* family = gfx_family_create(g, "Arial");
  GfxFont* font = gfx_font_create(g, family, 12, GFX_FONT_BOLD);
  GfxBrush* brush = gfx_brush_create(g, 0xFFFFFFFF);
  char16_t wide[8];
  gfx_widen(text, wide, 8);
  EXPECT_EQ(gfx_draw_string(g, wide, -1, font, {-20, -6, 0, 0}, brush), GFX_OK);
  gfx_brush_delete(brush);
  gfx_font_delete(font);
  gfx_family_delete(family);
  gfx_delete(g);
  return px;
}

// Turned texts take their glyphs' shapes from the nearest whole degree of turn (a font per
// degree, not per frame in a turn). Drawn frame after frame (shown through cairo, made
// into a kept run, blended from it) a text gives the same pixels each time, its ink where
// cairo draws it at its own turn: the same ink within a few tenths of a pixel, mirrored or
// scaled unevenly too; a text turned square to the pixels, cairo's own pixels.
TEST(GfxFontCache, TurnedTextsStayWhereTheirOwnTurnPutsThem) {
  const Turned cases[] = {{1, 1, 7.4},       {1.5, 1.5, -0.3}, {1, 1, 179.6}, {1.2, 0.9, 33.45}, {1, 1, -90.45},
                          {1, -1, 12.3},     {1.5, 1.5, 180},  {1, 1, 90},    {1, 1, 1e-9}};
  // Ink (the red channel) and its centre.
  struct Ink {
    double sum = 0, x = 0, y = 0;
  };
  auto ink = [](const std::vector<uint32_t>& px) {
    Ink k;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const double v = double((px[size_t(y) * W + size_t(x)] >> 16) & 0xFF);
        k.sum += v, k.x += v * x, k.y += v * y;
      }
    k.x /= k.sum, k.y /= k.sum;
    return k;
  };
  uintptr_t token = 0;
  ASSERT_EQ(gfx_startup(&token), GFX_OK);
  for (const Turned& t : cases) {
    const std::vector<uint32_t> want = turned(t, true), first = turned(t, false);
    const Ink w = ink(want), f = ink(first);
    ASSERT_GT(w.sum, 255 * 40.0);
    EXPECT_NEAR(f.x, w.x, 0.15) << t.degrees;
    EXPECT_NEAR(f.y, w.y, 0.15) << t.degrees;
    double apart = 0;
    for (size_t i = 0; i < want.size(); ++i)
      apart += std::abs(double((want[i] >> 16) & 0xFF) - double((first[i] >> 16) & 0xFF));
    EXPECT_LT(apart, 0.25 * w.sum) << t.degrees;
    const bool square = std::fmod(t.degrees, 90) == 0 || std::fabs(t.degrees) < 1e-6;
    if (square) {
      EXPECT_EQ(differing(first, want), 0) << t.degrees;
    }
    for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(differing(turned(t, false), first), 0) << t.degrees;
  }
  EXPECT_EQ(gfx_shutdown(token), GFX_OK);
}

// The numbers of a turning scale (and each at the sizes of several displays) step to the
// next degree's glyphs at different turns: no tenth of a step holds more than a sixth of
// them, so that no frame of a turn makes all their glyphs again.
TEST(GfxFontCache, TurnedScaleNumbersStepApart) {
  std::vector<double> shifts;
  for (double size : {11.0, 13.0, 14.0, 17.0})
    for (int n = 0; n < 36; ++n) {
      const GfxFont font{"Arial", "", size, 1};
      for (const std::string& text : {std::to_string(n), n < 10 ? "0" + std::to_string(n) + "0" : std::to_string(n) + "0"})
        shifts.push_back(gfx_text_grid_shift(text, &font));
    }
  int tenths[10] = {};
  for (double s : shifts) {
    ASSERT_GE(s, 0.0);
    ASSERT_LT(s, 1.0);
    ++tenths[int(s * 10)];
  }
  for (int t = 0; t < 10; ++t) EXPECT_LE(tenths[t], int(shifts.size()) / 6) << "tenth " << t;
}

}  // namespace

// Every font a frame draws texts through is found again: 64 sizes at as many scales, noted
// one after another, are each found on the next look-up (texts whose fonts' slots met used
// to put each other out, every frame, and were laid out through cairo each time).
TEST(GfxFontCache, EveryFontNotedIsFoundAgain) {
  uintptr_t token = 0;
  ASSERT_EQ(gfx_startup(&token), GFX_OK);
  std::vector<uint32_t> px(size_t(W) * H, 0xFF000000);
  GaugeImage image{px.data(), W, H, W * 4, nullptr};
  GfxGraphics* g = nullptr;
  ASSERT_EQ(gfx_create(&image, &g), GFX_OK);
  GfxFontFamily* family = gfx_family_create(g, "Arial");
  std::vector<GfxFont*> fonts;
  std::vector<std::array<double, 4>> linears;
  cairo_t* cr = raster_measuring_context();
  for (int32_t k = 0; k < 64; ++k) {
    fonts.push_back(gfx_font_create(g, family, 8 + 0.5 * k, k % 2 ? GFX_FONT_BOLD : 0));
    const double s = 0.5 + k / 40.0;
    linears.push_back({s, 0, 0, s * 1.01});
    cairo_matrix_t m;
    cairo_matrix_init(&m, s, 0, 0, s * 1.01, 0, 0);
    cairo_set_matrix(cr, &m);
    gfx_select_font(cr, fonts.back(), true);
    gfx_note_text_font(cr, fonts.back(), true);
  }
  int missed = 0;
  for (size_t k = 0; k < fonts.size(); ++k) missed += gfx_find_text_font(fonts[k], true, linears[k].data()) == nullptr;
  EXPECT_EQ(missed, 0);
  for (GfxFont* f : fonts) gfx_font_delete(f);
  gfx_family_delete(family);
  gfx_delete(g);
  gfx_shutdown(token);
}
