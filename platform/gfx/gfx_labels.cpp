// Glyph runs kept as coverage masks. A map shows the same idents frame after frame, and
// cairo places each glyph on a whole pixel, so a run's ink depends only on its scaled
// font, its glyphs and their whole-pixel steps from the first glyph. A run met a second
// time is shown once into a mask, which later draws blend in their colour at the first
// glyph's pixel, across a clip edge through the clip's coverage (where a run met once
// crosses one, through a mask made for that draw). Released when the library stops.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <atomic>
#include <mutex>

#include "platform/gfx/gfx_internal.h"

namespace {

// Longer runs are shown as they stand.
constexpr int32_t MAX_GLYPHS = GFX_KEPT_RUN_GLYPHS;
// Masks kept in the newer half of the table. A frame of every screen in a turn shows
// about 5,000 runs: with 4,096 a half, a quarter of the runs drawn were made into masks
// again; with 6,144, one in thirty.
constexpr size_t MAX_RUNS = 6144;
constexpr size_t MAX_RUN_BYTES = size_t(6) << 20;  // a half of 6,144 holds about 5 MB
// Slots of the table of runs shown once.
constexpr size_t SEEN_SLOTS = size_t(1) << 14;
// Runs whose ink reaches further across (device pixels) are shown as they stand.
constexpr double MAX_SIZE = 512;

struct RunGlyph {
  uint32_t index;
  int32_t dx, dy;  // whole pixels from the first glyph's
};

// Zero-filled before use (memset): the hash reads whole words past the used glyphs.
struct RunKey {
  uint64_t font;  // the scaled font's serial (font_serial)
  int32_t n;
  RunGlyph glyphs[MAX_GLYPHS];
  int32_t spare;  // makes the key whole words without padding

  bool operator==(const RunKey& o) const {
    return font == o.font && n == o.n && std::memcmp(glyphs, o.glyphs, sizeof(RunGlyph) * size_t(n)) == 0;
  }
};
static_assert(sizeof(RunKey) == sizeof(uint64_t) + 2 * sizeof(int32_t) + MAX_GLYPHS * sizeof(RunGlyph) &&
                  sizeof(RunKey) % sizeof(uint64_t) == 0,
              "no padding");

struct RunHash {
  size_t operator()(const RunKey& k) const {
    const size_t used = offsetof(RunKey, glyphs) + sizeof(RunGlyph) * size_t(k.n);
    return gfx_hash_words(&k, (used + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
  }
};

// A number given to each scaled font when a run first names it, in drawing order (0 where
// none could be given). Unlike the font's address, no later font takes it, so a key need
// not hold its font (a turned text's font, a new one at each turn, is let go with cairo's
// cache); and the same from one run of the program to the next. Each thread drawing bands
// numbers the fonts its band meets, under a key of its own (cairo's fonts are shared by the
// threads), its number held beside the thread's own: a key at the place of a thread gone
// does not lend that thread's numbers. Fonts' data is read and written one thread at a time.
std::mutex font_data;
std::atomic<uint32_t> font_numberers{0};
uint64_t font_serial(cairo_scaled_font_t* font) {
  [[gnu::tls_model("initial-exec")]] thread_local const cairo_user_data_key_t key{};
  [[gnu::tls_model("initial-exec")]] thread_local const uint64_t numberer = uint64_t(++font_numberers) << 32;
  [[gnu::tls_model("initial-exec")]] thread_local uint64_t next = 0;
  const std::lock_guard<std::mutex> one_at_a_time(font_data);
  const uint64_t held = reinterpret_cast<uintptr_t>(cairo_scaled_font_get_user_data(font, &key));
  if (held != 0 && (held & ~uint64_t(UINT32_MAX)) == numberer) return held & UINT32_MAX;
  if (next == UINT32_MAX) return 0;
  const uint64_t serial = ++next;
  if (cairo_scaled_font_set_user_data(font, &key, reinterpret_cast<void*>(uintptr_t(numberer | serial)), nullptr) !=
      CAIRO_STATUS_SUCCESS)
    return 0;
  return serial;
}

// The hash the slots of runs shown once are filed by: it decides on which draw a run is
// first kept, and so the pixels where a mask and cairo differ; the same in every run of
// the program, so that its pictures are.
struct RunSeenHash {
  size_t operator()(const RunKey& k) const {
    uint64_t h = 1469598103934665603ull ^ k.font;
    for (int32_t i = 0; i < k.n; ++i) {
      const RunGlyph& g = k.glyphs[i];
      for (uint64_t w : {uint64_t(g.index), uint64_t(uint32_t(g.dx)) << 32 | uint32_t(g.dy)})
        h = (h ^ w) * 1099511628211ull, h ^= h >> 29;
    }
    return size_t(h);
  }
};

struct Runs : GfxKeptMasks<RunKey, RunHash, MAX_RUNS, SEEN_SLOTS, RunSeenHash> {
  Runs() : GfxKeptMasks(MAX_RUN_BYTES) {}
};

// The pixel cairo places a glyph at, its device position rounded half up.
int32_t glyph_pixel(double v) { return int32_t(std::floor(v + 0.5)); }

// The run of `k`, its first glyph at pixel (px, py), shown alone into a mask, its top
// left from that pixel; false for a run too large to keep.
bool show_into_mask(cairo_t* cr, std::span<const cairo_glyph_t> glyphs, const RunKey& k, int32_t px, int32_t py,
                    GfxKeptMask& out) {
  cairo_text_extents_t te;
  cairo_glyph_extents(cr, glyphs.data(), int(glyphs.size()), &te);
  double left = glyphs[0].x + te.x_bearing, top = glyphs[0].y + te.y_bearing, box[4];
  raster_device_box(cr, left, top, left + te.width, top + te.height, box);
  if (!(box[2] - box[0] < MAX_SIZE && box[3] - box[1] < MAX_SIZE)) return false;
  // Anti-aliased ink and whole-pixel placing reach past the outlines' box.
  const int32_t x0 = int32_t(std::floor(box[0])) - 2, y0 = int32_t(std::floor(box[1])) - 2;
  const int32_t w = int32_t(std::ceil(box[2])) + 2 - x0, h = int32_t(std::ceil(box[3])) + 2 - y0;
  // Each glyph at its pixel, given as a whole number that no rounding moves, through the
  // same turn and scale (the same scaled font); shown onto colour pixels as the image is
  // (cairo places and cuts glyphs on an A8 surface otherwise), its alpha kept.
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  m.x0 = m.y0 = 0;
  cairo_matrix_t inverse = m;
  if (cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS) return false;
  std::vector<cairo_glyph_t> placed(glyphs.begin(), glyphs.end());
  for (int32_t i = 0; i < k.n; ++i) {
    double x = px + k.glyphs[i].dx - x0, y = py + k.glyphs[i].dy - y0;
    cairo_matrix_transform_point(&inverse, &x, &y);
    placed[size_t(i)].x = x, placed[size_t(i)].y = y;
  }
  cairo_surface_t* ink = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* mc = cairo_create(ink);
  cairo_set_matrix(mc, &m);
  cairo_set_scaled_font(mc, cairo_get_scaled_font(cr));
  cairo_show_glyphs(mc, placed.data(), int(placed.size()));
  cairo_destroy(mc);
  cairo_surface_flush(ink);
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  const unsigned char* from = cairo_image_surface_get_data(ink);
  unsigned char* to = cairo_image_surface_get_data(mask);
  const int32_t from_stride = cairo_image_surface_get_stride(ink), to_stride = cairo_image_surface_get_stride(mask);
  for (int32_t y = 0; from && to && y < h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(from + size_t(y) * size_t(from_stride));
    for (int32_t x = 0; x < w; ++x) to[size_t(y) * size_t(to_stride) + size_t(x)] = uint8_t(row[x] >> 24);
  }
  cairo_surface_mark_dirty(mask);
  cairo_surface_destroy(ink);
  out = raster_keep_mask(mask, x0 - px, y0 - py);
  out.area[0] = x0 - px, out.area[1] = y0 - py, out.area[2] = x0 - px + w, out.area[3] = y0 - py + h;
  return true;
}

}  // namespace

bool raster_kept_glyphs(GfxGraphics* g, cairo_t* cr, uint32_t argb, std::span<const cairo_glyph_t> glyphs,
                        const GfxClipCoverage* clip, bool first_draw) {
  Runs& runs = gfx_per_thread<Runs>();
  const int32_t n = int32_t(glyphs.size());
  if (n < 1 || n > MAX_GLYPHS) return false;
  RunKey k;
  std::memset(&k, 0, sizeof k);
  k.n = n;
  int32_t px = 0, py = 0;
  for (int32_t i = 0; i < n; ++i) {
    double x = glyphs[size_t(i)].x, y = glyphs[size_t(i)].y;
    cairo_user_to_device(cr, &x, &y);
    if (!(std::fabs(x) < 1e6 && std::fabs(y) < 1e6) || glyphs[size_t(i)].index > UINT32_MAX) return false;
    const int32_t ix = glyph_pixel(x), iy = glyph_pixel(y);
    if (i == 0) px = ix, py = iy;
    k.glyphs[i] = {uint32_t(glyphs[size_t(i)].index), ix - px, iy - py};
  }
  cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
  if (cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS || !(k.font = font_serial(font))) return false;

  const GfxKeptMask* kept = runs.find(k, g);
  if (!kept) {
    if (!runs.met_before(k)) {
      if (!clip && !first_draw) return false;
      // Across a clip edge, shown through a mask made for this draw alone.
      GfxKeptMask once;
      if (!show_into_mask(cr, glyphs, k, px, py, once)) return false;
      const bool done = !once.inks || (once.bits && raster_blend_mask(g, argb, once, px + once.x,
                                                                           py + once.y, clip));
      raster_release_mask(once);
      return done;
    }
    GfxKeptMask mask;
    if (!show_into_mask(cr, glyphs, k, px, py, mask)) return false;
    kept = runs.add(k, mask, g);
  }
  if (!kept->inks) return true;
  return kept->bits && raster_blend_mask(g, argb, *kept, px + kept->x, py + kept->y, clip);
}

bool raster_blend_kept_run(GfxGraphics* g, cairo_scaled_font_t* font, const uint32_t* index, const int32_t* pixel,
                           int32_t n, uint32_t argb) {
  Runs& runs = gfx_per_thread<Runs>();
  if (n < 1 || n > MAX_GLYPHS) return false;
  RunKey k;
  std::memset(&k, 0, sizeof k);
  if (!(k.font = font_serial(font))) return false;
  k.n = n;
  const int32_t px = pixel[0], py = pixel[1];
  for (int32_t i = 0; i < n; ++i) k.glyphs[i] = {index[i], pixel[2 * i] - px, pixel[2 * i + 1] - py};
  const GfxKeptMask* kept = runs.find(k, g);
  if (!kept || (kept->inks && !kept->bits)) return false;
  if (!kept->inks) return true;
  // Shown as raster_text shows the run, which takes the clip's cover of its ink box as
  // cairo measures it (two pixels wider) at the glyphs' places: within half a pixel of
  // where the mask was made, so within a pixel around the box it was drawn over. Where a
  // clip edge crosses that, through the clip's coverage: the same pixels whether
  // raster_text finds the clip covering all of its box, none or a part.
  const int32_t* a = kept->area;
  const GfxCover cover = gfx_clip_cover(g, px + a[0] - 1, py + a[1] - 1, px + a[2] + 1, py + a[3] + 1);
  if (cover == GfxCover::NONE) return true;
  if (cover == GfxCover::ALL) return raster_blend_mask(g, argb, *kept, px + kept->x, py + kept->y, nullptr);
  const GfxClipCoverage clip = raster_clip_coverage(g, true);
  return clip.image && raster_blend_mask(g, argb, *kept, px + kept->x, py + kept->y, &clip);
}

void raster_release_kept_glyphs() { gfx_per_thread<Runs>().clear(); }
