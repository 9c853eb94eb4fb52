// Small strokes kept as coverage masks. A map draws hundreds of the same few symbols
// (rings, hexagons, triangles) a frame; each is stroked once per shape, pen, transform
// and sub-pixel place (`phases`) into an A8 mask, which later draws of it blend in their
// colour, across a clip's edge through the clip's coverage. Released when the library
// stops.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace {

// Strokes reaching further than this from their origin (device pixels) are not kept.
constexpr double MAX_REACH = 64.0;
// Sub-pixel positions a mask is kept for, per axis: an anti-aliased shape lies within an
// eighth of a pixel of its place (with eighths, a turn's radio-aid symbols alone came in
// some 11,000 forms, their corners truncated to whole design units each way at each
// phase: far more than the table keeps, each stroked afresh, at 10 us, when not kept);
// one drawn without anti-aliasing, whose pixels a shift can move whole, within a
// sixteenth.
int32_t phases(bool antialias) { return antialias ? 4 : 8; }
// Masks kept in the newer half of the table, and their bytes: a frame's working set is far
// smaller, but the symbols of a moving map come back at another pixel phase or with a
// corner a pixel further (a half of 6,144 holds about 3.6 MB).
constexpr size_t MAX_STAMPS = 6144;
constexpr size_t MAX_STAMP_BYTES = size_t(5) << 20;
// Slots of the table of shapes drawn once.
constexpr size_t SEEN_SLOTS = size_t(1) << 17;

struct StampKey {
  double linear[4];
  double width;
  int32_t dash;
  int32_t phase_x, phase_y;
  int32_t antialias;
  GfxStampShape shape;  // last: a key's bytes end with its shape's points

  // Bytes before the shape's points.
  static constexpr size_t head() { return offsetof(StampKey, shape) + offsetof(GfxStampShape, xy); }
  // The bytes that tell keys apart: all but the shape's unused points, in whole words
  // (the unused points are zero).
  size_t used() const {
    const size_t bytes = head() + 2 * sizeof(shape.xy[0]) * size_t(shape.n);
    return (bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t) * sizeof(uint64_t);
  }
  bool operator==(const StampKey& o) const { return used() == o.used() && std::memcmp(this, &o, used()) == 0; }
};
static_assert(sizeof(StampKey) == sizeof(GfxStampShape) + 5 * sizeof(double) + 4 * sizeof(int32_t),
              "the key is compared and hashed byte by byte: no padding");
static_assert(std::is_standard_layout_v<StampKey> && StampKey::head() % sizeof(uint64_t) == 0 &&
                  sizeof(StampKey) % sizeof(uint64_t) == 0,
              "the used bytes are whole words");

struct StampHash {
  // The key has no padding: its used words are hashed as they stand.
  size_t operator()(const StampKey& k) const { return gfx_hash_words(&k, k.used() / sizeof(uint64_t), 0); }
};
static_assert(sizeof(size_t) == sizeof(uint64_t));

// The hash the slots of shapes drawn once are filed by: it decides on which draw a shape
// is first kept (a kept mask inks as its stroke within anti-aliasing), and so the pixels.
// Its words are the key's head and then each point as two 32-bit numbers, as the points
// were once kept, so that the same shapes are kept on the same draws.
struct StampSeenHash {
  size_t operator()(const StampKey& k) const {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](uint64_t w) { h = (h ^ w) * 1099511628211ull, h ^= h >> 29; };
    const auto* bytes = reinterpret_cast<const unsigned char*>(&k);
    for (size_t i = 0; i < StampKey::head(); i += sizeof(uint64_t)) {
      uint64_t w;
      std::memcpy(&w, bytes + i, sizeof w);
      mix(w);
    }
    for (int32_t i = 0; i < k.shape.n; ++i)
      mix(uint64_t(uint32_t(int32_t(k.shape.xy[2 * i]))) | uint64_t(uint32_t(int32_t(k.shape.xy[2 * i + 1]))) << 32);
    return size_t(h);
  }
};

struct StampCache {
  GfxKeptMasks<StampKey, StampHash, MAX_STAMPS, SEEN_SLOTS, StampSeenHash> stamps{MAX_STAMP_BYTES};
  std::unordered_map<uint32_t, pixman_image_t*> colours;  // solid sources by ARGB

  void release() {
    stamps.clear();
    for (auto& [argb, image] : colours) pixman_image_unref(image);
    colours.clear();
  }
  ~StampCache() { release(); }
};


void add_shape(cairo_t* cr, const GfxStampShape& s) {
  cairo_new_path(cr);
  if (s.kind == GfxStampShape::ARC) {
    raster_path_arc(cr, 0, 0, s.arc[0], s.arc[1], s.arc[2], s.arc[3], false);
    if (std::fabs(s.arc[3]) >= 360) cairo_close_path(cr);
    return;
  }
  cairo_move_to(cr, 0, 0);
  for (int32_t i = 0; i < s.n; ++i) cairo_line_to(cr, s.xy[2 * i], s.xy[2 * i + 1]);
}

// Device distance the shape's geometry reaches from its origin.
double reach(const GfxMatrix& m, const GfxStampShape& s) {
  auto len = [&](double x, double y) { return std::fabs(m.m11 * x + m.m21 * y) + std::fabs(m.m12 * x + m.m22 * y); };
  if (s.kind == GfxStampShape::ARC) return len(s.arc[0], s.arc[1]);
  double r = 0;
  for (int32_t i = 0; i < s.n; ++i) r = gfx_fmax(r, len(s.xy[2 * i], s.xy[2 * i + 1]));
  return r;
}

// Begins the shape's stroke with the pen, `device` taking its origin to device points;
// false when cairo is to stroke it.
bool add_shape_coverage(const GfxMatrix& device, const GfxPen* pen, const GfxStampShape& s) {
  gfx_coverage_begin(device, pen->width);
  if (s.kind == GfxStampShape::ARC) return gfx_coverage_arc(device, 0, 0, s.arc[0], s.arc[1], s.arc[2], s.arc[3]);
  GfxPointF pts[GfxStampShape::MAX_POINTS + 1];
  pts[0] = gfx_apply(device, 0, 0);
  for (int32_t i = 0; i < s.n; ++i) pts[i + 1] = gfx_apply(device, s.xy[2 * i], s.xy[2 * i + 1]);
  gfx_coverage_polyline(pts, s.n + 1);
  return true;
}

// Strokes rasterised without cairo: solid and anti-aliased.
bool own_coverage(const GfxPen* pen, bool antialias) { return antialias && pen->dash == GFX_DASH_SOLID; }

constexpr int32_t FAR = 1 << 24;

GfxKeptMask make_stamp(const StampKey& k, const GfxPen* pen) {
  const double per = phases(k.antialias);
  double qx = k.phase_x / per, qy = k.phase_y / per;
  if (own_coverage(pen, k.antialias) &&
      add_shape_coverage({k.linear[0], k.linear[1], k.linear[2], k.linear[3], qx, qy}, pen, k.shape)) {
    GfxCoverage c;
    if (!gfx_coverage_fill(-FAR, -FAR, FAR, FAR, c)) return {false, nullptr, 0, 0};
    return raster_keep_coverage(c, c.x, c.y);
  }
  int32_t x0 = 0, y0 = 0;
  cairo_surface_t* mask =
      raster_stroke_mask({k.linear[0], k.linear[1], k.linear[2], k.linear[3], qx, qy}, k.antialias, pen,
                         [&](cairo_t* cr) { add_shape(cr, k.shape); }, nullptr, x0, y0);
  if (!mask) return {false, nullptr, 0, 0};
  return raster_keep_mask(mask, x0, y0);
}

// The colour premultiplied to 16 bits as cairo makes its sources.
pixman_color_t premultiplied(uint32_t argb) {
  double a = ((argb >> 24) & 0xFF) / 255.0;
  auto channel = [&](int shift) { return uint16_t(((argb >> shift) & 0xFF) / 255.0 * a * 65535.0 + 0.5); };
  return {channel(16), channel(8), channel(0), uint16_t(a * 65535.0 + 0.5)};
}

// The 32 bits pixman blends a solid source of that colour as.
uint32_t solid_32(uint32_t argb) {
  const pixman_color_t c = premultiplied(argb);
  return uint32_t(c.alpha >> 8) << 24 | uint32_t(c.red >> 8) << 16 | uint32_t(c.green >> 8) << 8 | c.blue >> 8;
}

// A solid source of the colour.
pixman_image_t* solid(uint32_t argb) {
  StampCache& cache = gfx_per_thread<StampCache>();
  auto it = cache.colours.find(argb);
  if (it != cache.colours.end()) return it->second;
  pixman_color_t c = premultiplied(argb);
  pixman_image_t* image = pixman_image_create_solid_fill(&c);
  if (image) cache.colours.emplace(argb, image);
  return image;
}

// The pixels a drawing may change: the image's, within the clip's coverage when given.
struct Limits {
  int32_t x0, y0, x1, y1;
};
Limits limits(const GfxGraphics* g, const GfxClipCoverage* clip) {
  Limits l{0, 0, g->image->width, g->image->height};
  if (clip) {
    l.x0 = std::max(l.x0, clip->x), l.y0 = std::max(l.y0, clip->y);
    l.x1 = std::min(l.x1, clip->x + pixman_image_get_width(clip->image));
    l.y1 = std::min(l.y1, clip->y + pixman_image_get_height(clip->image));
  }
  return l;
}

// Whether the clip covers image row `row` wholly from column x0 to x1, by its spans of
// wholly covered pixels (false where it has none).
bool wholly_covered(const GfxClipCoverage& clip, int32_t row, int32_t x0, int32_t x1) {
  if (!clip.full) return false;
  const int32_t* span = clip.full + 2 * size_t(row - clip.y);
  return x0 - clip.x >= span[0] && x1 - clip.x <= span[1];
}

// The A8 box `bits` (its top left at device (x, y), w x h) over the pixels it shares with
// the limits, blended there (and through the clip's coverage); false where the processor
// cannot, and pixman blends it. The caller flushes the surface before and marks it after.
bool blend_box(GfxGraphics* g, uint32_t src, const uint8_t* bits, int32_t stride, int32_t x, int32_t y, int32_t w,
               int32_t h, const Limits& l, const GfxClipCoverage* clip) {
  const int32_t x0 = std::max(x, l.x0), y0 = std::max(y, l.y0);
  const int32_t x1 = std::min(x + w, l.x1), y1 = std::min(y + h, l.y1);
  GfxBlendRun run{};
  run.pixels = g->image->pixels + size_t(y0) * size_t(g->image->stride / 4) + size_t(x0);
  run.pixel_stride = g->image->stride / 4;
  run.mask = bits + size_t(y0 - y) * size_t(stride) + size_t(x0 - x);
  run.mask_stride = stride;
  run.clip = clip ? reinterpret_cast<const uint8_t*>(pixman_image_get_data(clip->image)) +
                        size_t(y0 - clip->y) * size_t(pixman_image_get_stride(clip->image)) + size_t(x0 - clip->x)
                  : nullptr;
  run.clip_stride = clip ? pixman_image_get_stride(clip->image) : 0;
  run.width = x1 - x0, run.height = y1 - y0;
  if (run.width <= 0 || run.height <= 0) return true;
  run.src = src;
  if (!clip || !clip->full) return gfx_blend_solid(run);
  // Bands of rows that lie within the clip's wholly covered span go without its coverage.
  auto within = [&](int32_t row) { return wholly_covered(*clip, row, x0, x1); };
  for (int32_t row = y0; row < y1;) {
    const bool inside = within(row);
    int32_t end = row + 1;
    while (end < y1 && within(end) == inside) ++end;
    GfxBlendRun band = run;
    const size_t from = size_t(row - y0);
    band.pixels += from * size_t(run.pixel_stride);
    band.mask += from * size_t(run.mask_stride);
    band.clip = inside ? nullptr : run.clip + from * size_t(run.clip_stride);
    band.height = end - row;
    if (!gfx_blend_solid(band)) return false;
    row = end;
  }
  return true;
}

// Blends the colour through `n` runs of a coverage whose box's top left is device (x, y),
// through the clip's coverage when given, and marks the pixels changed; `run`(i, bits)
// gives run i and points `bits` at its first byte. The runs blended: all, or none where
// the processor cannot blend them. A coverage's runs are a few pixels each: they are
// blended a batch at a time, with one setup.
template <typename Run>
int32_t blend_runs(GfxGraphics* g, uint32_t argb, int32_t x, int32_t y, int32_t n, const GfxClipCoverage* clip,
                   Run run) {
  const Limits l = limits(g, clip);
  const uint32_t src = solid_32(argb);
  const size_t stride = size_t(g->image->stride / 4);
  const auto* clip_bits = clip ? reinterpret_cast<const uint8_t*>(pixman_image_get_data(clip->image)) : nullptr;
  const size_t clip_stride = clip ? size_t(pixman_image_get_stride(clip->image)) : 0;
  if (!gfx_blend_solid_rows(nullptr, 0, src)) return 0;  // the processor cannot: pixman blends them
  cairo_surface_flush(g->surface);
  int32_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
  constexpr int32_t BATCH = 64;
  GfxBlendRow rows[BATCH];
  int32_t queued = 0;
  for (int32_t i = 0; i < n; ++i) {
    const uint8_t* bits = nullptr;
    const GfxCoverageRun r = run(i, bits);
    // The run's pixels within the limits, as blend_box takes a box one row high.
    const int32_t row = y + r.row, from = std::max(x + r.x0, l.x0), to = std::min(x + r.x1, l.x1);
    if (to > from && row >= l.y0 && row < l.y1) {
      GfxBlendRow& b = rows[queued++];
      b.pixels = g->image->pixels + size_t(row) * stride + size_t(from);
      b.mask = bits + size_t(from - (x + r.x0));
      b.clip = nullptr;
      b.width = to - from;
      // Within the clip's wholly covered span, without its coverage.
      if (clip && !wholly_covered(*clip, row, from, to))
        b.clip = clip_bits + size_t(row - clip->y) * clip_stride + size_t(from - clip->x);
    }
    if (queued == BATCH || (queued > 0 && i + 1 == n)) {
      gfx_blend_solid_rows(rows, queued, src);  // it can: asked above
      queued = 0;
    }
    x0 = std::min(x0, x + r.x0), x1 = std::max(x1, x + r.x1);
    y0 = std::min(y0, y + r.row), y1 = y + r.row + 1;
  }
  if (x0 < x1) cairo_surface_mark_dirty_rectangle(g->surface, x0, y0, x1 - x0, y1 - y0);
  return n;
}

// The mask (and the clip's coverage) blended in place; false where the processor cannot.
bool blend_in_place(GfxGraphics* g, uint32_t argb, const GfxKeptMask& mask, int32_t x, int32_t y,
                    const GfxClipCoverage* clip) {
  cairo_surface_flush(g->surface);
  const Limits l = limits(g, clip);
  if (!blend_box(g, solid_32(argb), mask.bits, mask.stride, x, y, mask.width, mask.height, l, clip)) return false;
  cairo_surface_mark_dirty_rectangle(g->surface, x, y, mask.width, mask.height);
  return true;
}

// Strokes the shape at its exact place (met for the first time, not kept), through the
// clip's coverage across a clip edge; false when cairo is to stroke it.
bool stroke_once(GfxGraphics* g, const GfxPen* pen, double ox, double oy, const GfxStampShape& shape) {
  const double off = gfx_pixel_offset_half(g) ? 0.0 : 0.5;
  const GfxPointF d = gfx_apply(g->m, ox, oy);
  if (!add_shape_coverage({g->m.m11, g->m.m12, g->m.m21, g->m.m22, d.x + off, d.y + off}, pen, shape)) return false;
  GfxCoverage c;
  if (!gfx_coverage_fill(0, 0, g->image->width, g->image->height, c)) return true;
  GfxCover cover = gfx_clip_cover(g, c.x, c.y, c.x + c.width, c.y + c.height);
  if (cover == GfxCover::NONE) return true;
  GfxClipCoverage clip{nullptr, 0, 0};
  if (cover == GfxCover::PART && !(clip = raster_clip_coverage(g, false)).image) return false;
  return raster_blend_coverage(g, pen->argb, c, clip.image ? &clip : nullptr);
}

}  // namespace

bool raster_stamp_stroke(GfxGraphics* g, const GfxPen* pen, double ox, double oy, const GfxStampShape& shape) {
  StampCache& cache = gfx_per_thread<StampCache>();
  const double shape_reach = reach(g->m, shape);
  if (pen->has_cap || !(shape_reach + pen->width * gfx_scale_bound(g->m) <= MAX_REACH)) return false;
  GfxPointF d = gfx_apply(g->m, ox, oy);
  double off = gfx_pixel_offset_half(g) ? 0.0 : 0.5;
  double dx = d.x + off, dy = d.y + off;
  if (!(std::fabs(dx) < 1e6 && std::fabs(dy) < 1e6)) return false;
  const bool antialias = gfx_antialiased(g);
  const int32_t per = phases(antialias);
  double fx = std::floor(dx), fy = std::floor(dy);
  int32_t px = int32_t(std::lround((dx - fx) * per)), py = int32_t(std::lround((dy - fy) * per));
  if (px == per) px = 0, fx += 1;
  if (py == per) py = 0, fy += 1;

  StampKey k;
  k.shape = shape;
  const GfxMatrix steady = gfx_steady(g->m);
  k.linear[0] = steady.m11, k.linear[1] = steady.m12, k.linear[2] = steady.m21, k.linear[3] = steady.m22;
  k.width = pen->width;
  k.dash = pen->dash;
  k.phase_x = px, k.phase_y = py;
  k.antialias = antialias;

  // A shape is kept on its second draw: one drawn once (a compass tick under a turning
  // heading, a symbol whose corners moved by a pixel) costs no mask.
  const GfxKeptMask* kept = cache.stamps.find(k, g);
  if (!kept) {
    // A shape not kept that the clip hides wholly (a symbol off the map's arc) is neither
    // stroked nor remembered.
    const double r = shape_reach + gfx_stroke_reach(g, pen, shape.kind == GfxStampShape::POLYLINE && shape.n > 1);
    if (gfx_clip_cover(g, d.x - r, d.y - r, d.x + r, d.y + r) == GfxCover::NONE) return true;
    if (!cache.stamps.met_before(k)) return own_coverage(pen, k.antialias) && stroke_once(g, pen, ox, oy, shape);
    kept = cache.stamps.add(k, make_stamp(k, pen), g);
  }
  const GfxKeptMask& s = *kept;
  if (!s.inks) return true;
  if (!s.bits) return false;
  GfxCover cover = gfx_clip_cover(g, fx + s.x, fy + s.y, fx + s.x + s.width, fy + s.y + s.height);
  if (cover == GfxCover::NONE) return true;
  // Blended straight into the pixels (cairo would cut a mask by a clip of unaligned boxes
  // along their shared edges, and costs more); across a clip edge, through the clip's
  // coverage.
  GfxClipCoverage clip{nullptr, 0, 0};
  if (cover == GfxCover::PART && !(clip = raster_clip_coverage(g, false)).image) return false;
  return raster_blend_mask(g, pen->argb, s, int32_t(fx) + s.x, int32_t(fy) + s.y,
                           clip.image ? &clip : nullptr);
}

namespace {

// Blends the colour through the mask of w x h pixels whose top left is device (x, y) with
// pixman, where the processor cannot.
bool blend_through_pixman(GfxGraphics* g, uint32_t argb, pixman_image_t* mask, int32_t x, int32_t y, int32_t w,
                          int32_t h, const GfxClipCoverage* clip) {
  if (!g->pixels)
    g->pixels = pixman_image_create_bits(PIXMAN_a8r8g8b8, g->image->width, g->image->height, g->image->pixels,
                                         g->image->stride);
  pixman_image_t* source = solid(argb);
  if (!g->pixels || !source) return false;
  pixman_image_t* coverage = mask;
  if (clip) {
    coverage = pixman_image_create_bits(PIXMAN_a8, w, h, nullptr, 0);
    if (!coverage) return false;
    pixman_image_composite32(PIXMAN_OP_SRC, mask, nullptr, coverage, 0, 0, 0, 0, 0, 0, w, h);
    pixman_image_composite32(PIXMAN_OP_IN, clip->image, nullptr, coverage, x - clip->x, y - clip->y, 0, 0, 0, 0, w,
                             h);
  }
  cairo_surface_flush(g->surface);
  pixman_image_composite32(PIXMAN_OP_OVER, source, coverage, g->pixels, 0, 0, 0, 0, x, y, w, h);
  if (coverage != mask) pixman_image_unref(coverage);
  cairo_surface_mark_dirty_rectangle(g->surface, x, y, w, h);
  return true;
}

}  // namespace

bool raster_blend_mask(GfxGraphics* g, uint32_t argb, const GfxKeptMask& kept, int32_t x, int32_t y,
                       const GfxClipCoverage* clip) {
  if (!kept.bits) return false;
  if (blend_in_place(g, argb, kept, x, y, clip)) return true;
  pixman_image_t* mask =
      kept.pixels ? pixman_image_ref(kept.pixels)
                  : pixman_image_create_bits(PIXMAN_a8, kept.width, kept.height,
                                             reinterpret_cast<uint32_t*>(const_cast<uint8_t*>(kept.bits)), kept.stride);
  if (!mask) return false;
  const bool drawn = blend_through_pixman(g, argb, mask, x, y, kept.width, kept.height, clip);
  pixman_image_unref(mask);
  return drawn;
}

namespace {

// The coverage's runs from the `first` on, copied into an A8 mask of w x h pixels whose
// top left is (x, y) in the coverage's box (pixman clears it first).
GfxKeptMask coverage_mask(const GfxCoverage& c, int32_t first, int32_t x, int32_t y, int32_t w, int32_t h) {
  GfxKeptMask m{true, pixman_image_create_bits(PIXMAN_a8, w, h, nullptr, 0), x, y};
  if (!m.pixels) return m;
  m.width = w, m.height = h, m.stride = pixman_image_get_stride(m.pixels);
  auto* to = reinterpret_cast<uint8_t*>(pixman_image_get_data(m.pixels));
  m.bits = to;
  for (int32_t i = first; i < c.run_count; ++i) {
    const GfxCoverageRun& run = c.runs[i];
    std::memcpy(to + size_t(run.row - y) * size_t(m.stride) + size_t(run.x0 - x),
                c.bits + size_t(run.row) * size_t(c.stride) + size_t(run.x0), size_t(run.x1 - run.x0));
  }
  return m;
}

}  // namespace

bool raster_blend_coverage(GfxGraphics* g, uint32_t argb, const GfxCoverage& c, const GfxClipCoverage* clip) {
  const int32_t done = blend_runs(g, argb, c.x, c.y, c.run_count, clip, [&](int32_t i, const uint8_t*& bits) {
    const GfxCoverageRun& run = c.runs[i];
    bits = c.bits + size_t(run.row) * size_t(c.stride) + size_t(run.x0);
    return run;
  });
  if (done == c.run_count) return true;
  // Without the processor's vectors: the runs not yet blended through pixman.
  GfxKeptMask mask = coverage_mask(c, done, 0, 0, c.width, c.height);
  const bool drawn = mask.pixels && raster_blend_mask(g, argb, mask, c.x, c.y, clip);
  raster_release_mask(mask);
  return drawn;
}

bool raster_blend_kept_stroke(GfxGraphics* g, uint32_t argb, const GfxKeptStroke& s, const GfxClipCoverage* clip) {
  const auto n = int32_t(s.runs.size());
  // Without the processor's vectors the first run fails: nothing is drawn.
  return blend_runs(g, argb, s.x, s.y, n, clip, [&](int32_t i, const uint8_t*& bits) {
           const GfxKeptStroke::Run& run = s.runs[size_t(i)];
           bits = s.bits.data() + run.at;
           return GfxCoverageRun{run.row, run.x0, run.x1};
         }) == n;
}

void gfx_release_stamps() { gfx_per_thread<StampCache>().release(); }

uint32_t gfx_solid_pixel(uint32_t argb) { return solid_32(argb); }

GfxKeptMask raster_keep_mask(cairo_surface_t* a8, int32_t x, int32_t y) {
  cairo_surface_flush(a8);
  const bool made = cairo_surface_status(a8) == CAIRO_STATUS_SUCCESS;
  const int32_t w = made ? cairo_image_surface_get_width(a8) : 0, h = made ? cairo_image_surface_get_height(a8) : 0;
  const int32_t stride = made ? cairo_image_surface_get_stride(a8) : 0;
  const unsigned char* data = made ? cairo_image_surface_get_data(a8) : nullptr;
  int32_t x0 = w, y0 = h, x1 = -1, y1 = -1;
  for (int32_t row = 0; data && row < h; ++row) {
    const unsigned char* r = data + size_t(row) * size_t(stride);
    int32_t first = 0, last = w - 1;
    while (first < w && !r[first]) ++first;
    if (first == w) continue;
    while (!r[last]) --last;
    x0 = std::min(x0, first), x1 = std::max(x1, last);
    y0 = std::min(y0, row), y1 = row;
  }
  GfxKeptMask out{x1 >= 0, nullptr, x + x0, y + y0};
  if (out.inks) {
    // pixman allocates the bits (rows of whole words) and frees them with the image.
    out.pixels = pixman_image_create_bits(PIXMAN_a8, x1 - x0 + 1, y1 - y0 + 1, nullptr, 0);
    const int32_t to_stride = out.pixels ? pixman_image_get_stride(out.pixels) : 0;
    auto* to = out.pixels ? reinterpret_cast<unsigned char*>(pixman_image_get_data(out.pixels)) : nullptr;
    for (int32_t row = y0; to && row <= y1; ++row)
      std::memcpy(to + size_t(row - y0) * size_t(to_stride), data + size_t(row) * size_t(stride) + size_t(x0),
                  size_t(x1 - x0 + 1));
    if (to) out.width = x1 - x0 + 1, out.height = y1 - y0 + 1, out.stride = to_stride, out.bits = to;
  }
  if (!out.inks) out.x = out.y = 0;
  cairo_surface_destroy(a8);
  return out;
}

GfxKeptMask raster_keep_coverage(const GfxCoverage& c, int32_t x, int32_t y) {
  if (c.run_count == 0) return {false, nullptr, 0, 0};
  int32_t x0 = c.width, x1 = 0;
  for (int32_t i = 0; i < c.run_count; ++i) x0 = std::min(x0, c.runs[i].x0), x1 = std::max(x1, c.runs[i].x1);
  const int32_t y0 = c.runs[0].row, y1 = c.runs[c.run_count - 1].row + 1;
  GfxKeptMask m = coverage_mask(c, 0, x0, y0, x1 - x0, y1 - y0);
  m.x += x, m.y += y;
  return m;
}

uint8_t* GfxMaskBytes::take(size_t n) {
  constexpr size_t CHUNK = size_t(256) << 10;
  n = (n + 7) & ~size_t(7);
  while (chunk_ < chunks_.size() && used_ + n > chunks_[chunk_].bytes) ++chunk_, used_ = 0;
  if (chunk_ == chunks_.size()) {
    const size_t bytes = std::max(CHUNK, n);
    std::unique_ptr<uint64_t[]> words(new (std::nothrow) uint64_t[bytes / 8]);
    if (!words) return nullptr;
    chunks_.push_back({std::move(words), bytes});
    used_ = 0;
  }
  uint8_t* at = reinterpret_cast<uint8_t*>(chunks_[chunk_].words.get()) + used_;
  used_ += n, size_ += n;
  return at;
}

void raster_release_mask(GfxKeptMask& m) {
  if (m.pixels) pixman_image_unref(m.pixels);
  m = GfxKeptMask{false, nullptr, 0, 0};
}
