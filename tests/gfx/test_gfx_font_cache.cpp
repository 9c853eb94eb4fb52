// Texts drawn through the kept faces and glyph tables give the pixels of cairo's own
// text path, whatever fonts came and went before them.
#include <cairo.h>
#include <gtest/gtest.h>

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

// The text as cairo draws it from a freshly selected face, on a fresh surface.
// At world (x, y), the pixel grid shifted by `offset` (gfx's default mode: half a pixel).
std::vector<uint32_t> reference(const Text& t, const char* face, const std::string& utf8, float x, float y,
                                double offset) {
  std::vector<uint32_t> px(size_t(W) * H, 0xFF000000);
  cairo_surface_t* s = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(px.data()),
                                                           CAIRO_FORMAT_ARGB32, W, H, W * 4);
  cairo_t* cr = cairo_create(s);
  cairo_translate(cr, offset, offset);
  cairo_rotate(cr, t.degrees * (3.14159265358979323846 / 180.0));
  cairo_scale(cr, t.scale, t.scale);
  bool smooth = t.hint == GFX_TEXT_DEFAULT || t.hint >= GFX_TEXT_ANTIALIAS_FIT;
  cairo_select_font_face(cr, face, CAIRO_FONT_SLANT_NORMAL,
                         t.style == GFX_FONT_BOLD ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, t.size);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, o);
  cairo_font_options_destroy(o);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_set_source_rgba(cr, 1, 1, 1, 1);
  cairo_move_to(cr, double(x) + t.size / 6.0, double(y) + fe.ascent);
  cairo_show_text(cr, utf8.c_str());
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  return px;
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
    {"Arial", 10, GFX_FONT_REGULAR, "W1234 KSEA", 1.5, 7, GFX_TEXT_ANTIALIAS},
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
// modes, turned, and under a clip that holds the text wholly or not at all.
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
      {{"Arial", 10, GFX_FONT_REGULAR, "W1234 KSEA", 1.5, 7, GFX_TEXT_ANTIALIAS}, 4.1f, 2.6f, GFX_PIXEL_OFFSET_DEFAULT},
      {{"ZO Zuduz", 14, GFX_FONT_BOLD, "12.5 -3", 1, 0, GFX_TEXT_DEFAULT}, -2.3f, 7.75f, GFX_PIXEL_OFFSET_HALF},
  };
  enum Clip { NO_CLIP, HOLDS, MISSES };
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
    for (Clip clip : {NO_CLIP, NO_CLIP, NO_CLIP, NO_CLIP, HOLDS, MISSES, NO_CLIP}) {
      std::vector<uint32_t> px(size_t(W) * H, 0xFF000000);
      GaugeImage image{px.data(), W, H, W * 4, nullptr};
      GfxGraphics* g = nullptr;
      ASSERT_EQ(gfx_create(&image, &g), GFX_OK);
      gfx_set_text_hint(g, t.hint);
      gfx_set_pixel_offset(g, c.pixel_offset);
      if (clip != NO_CLIP) {
        GfxPath* path = gfx_path_create(g);
        if (clip == HOLDS)
          gfx_path_add_ellipse(g, path, -W, -H, 3 * W, 3 * H);
        else
          gfx_path_add_ellipse(g, path, W - 12, H - 12, 10, 10);
        gfx_set_clip_path(g, path);
        gfx_path_delete(path);
      }
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
      EXPECT_EQ(differing(px, clip == MISSES ? blank : want), 0)
          << t.bytes << " at " << c.x << ", " << c.y << " offset mode " << c.pixel_offset << " clip " << clip;
    }
  }
  EXPECT_EQ(gfx_shutdown(token), GFX_OK);
}

}  // namespace
