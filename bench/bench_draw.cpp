// 2,000 map symbols with labels on a 512 x 512 gauge image, as one frame:
// through the recording alone and through the raster alone.
#include <benchmark/benchmark.h>

#include <vector>

#include "draw/draw_toolkit.h"
#include "draw/map_symbols.h"
#include "platform/gfx/gfx_recording.h"

namespace {

constexpr int32_t SIZE = 512;
constexpr int32_t SYMBOLS = 2000;

// A map's worth of symbols: navaids, fixes and waypoints, each with an ident
// label, plus range boxes, spread over the B737 ND canvas.
void draw_frame(GaugeImage* image) {
  GfxGraphics* g = nullptr;
  if (gfx_create(image, &g) != GFX_OK) return;
  gfx_set_smoothing(g, GFX_SMOOTHING_HIGH_QUALITY);
  gfx_set_text_hint(g, GFX_TEXT_ANTIALIAS);
  gfx_clear(g, COLOUR_BLACK);
  set_canvas_scale(g, SIZE, SIZE, CANVAS_B737_ND);
  GfxFontFamily* family = gfx_family_create(g, FONT_ARIAL);
  GfxFont* font = gfx_font_create(g, family, 10, GFX_FONT_REGULAR);
  GfxBrush* brush = gfx_brush_create(g, COLOUR_WHITE);
  static const int32_t CODES[] = {1, 2, 3, 20, 21, 4, 74, 30};
  for (int32_t i = 0; i < SYMBOLS; ++i) {
    double x = (i * 37) % 244, y = (i * 53) % 302;
    int32_t code = CODES[i % 8];
    draw_map_symbol(g, x, y, code, -99, 1, 1, i % 6, 10 + i % 300);
    if (code != 30) draw_textf(g, font, brush, x + 8, y + 2, 7, "W%04d", i % 10000);
  }
  gfx_font_delete(font);
  gfx_family_delete(family);
  gfx_brush_delete(brush);
  gfx_delete(g);
}

void BM_MapSymbolsRecording(benchmark::State& state) {
  uintptr_t token = gdiplus_start();
  GaugeImage image{nullptr, SIZE, SIZE, SIZE * 4, nullptr};
  gfx_recording_enable(&image);
  for (auto _ : state) {
    gfx_recording_of(&image)->clear();
    draw_frame(&image);
    benchmark::DoNotOptimize(gfx_recording_of(&image)->records.size());
  }
  state.counters["records"] = double(gfx_recording_of(&image)->records.size());
  gfx_recording_disable(&image);
  gdiplus_stop(token);
}
BENCHMARK(BM_MapSymbolsRecording)->Unit(benchmark::kMillisecond);

void BM_MapSymbolsRaster(benchmark::State& state) {
  uintptr_t token = gdiplus_start();
  std::vector<uint32_t> pixels(size_t(SIZE) * SIZE);
  GaugeImage image{pixels.data(), SIZE, SIZE, SIZE * 4, nullptr};
  for (auto _ : state) {
    draw_frame(&image);
    benchmark::DoNotOptimize(pixels.data());
  }
  gdiplus_stop(token);
}
BENCHMARK(BM_MapSymbolsRaster)->Unit(benchmark::kMillisecond);

}  // namespace
