// Internal records of the graphics layer, shared by its front end, raster and
// recording parts.
#pragma once

#include <cairo.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/gfx.h"
#include "platform/gfx/gfx_recording.h"

struct GfxArrowCap {
  double height;
  double width;
  bool filled;
};

struct GfxPen {
  uint32_t argb;
  double width;
  int32_t dash;
  bool has_cap;
  GfxArrowCap cap;
};

struct GfxBrush {
  uint32_t argb;
};

struct GfxFontFamily {
  std::string name;  // as asked for
  std::string face;  // installed face that serves it
};

struct GfxFont {
  std::string family;
  std::string face;
  double size;
  int32_t style;
  uint64_t hash = 0;  // of the four above, made with the font (gfx_font_hash)
};

// Path segment: a line (x1 y1 x2 y2), an arc (x y w h start sweep), an ellipse
// (x y w h), a cubic Bezier from the figure's last point (c1x c1y c2x c2y x y) or a
// figure close.
struct GfxPathSeg {
  enum Kind { LINE, ARC, ELLIPSE, BEZIER, CLOSE } kind;
  double v[6];
};

struct GfxPath {
  std::vector<GfxPathSeg> segs;
};

// The edges of the raster clip (cairo device space, even-odd), filed by band of rows
// over the image so that a box meets only the edges near it.
struct GfxClipEdges {
  struct Edge {
    GfxPointF a, b;
  };
  static constexpr double BAND = 8;
  std::vector<Edge> edges;
  double top = 0;                           // the first band's y
  std::vector<std::vector<int32_t>> bands;  // the edges reaching each band
  std::vector<std::vector<GfxPointF>> figures;  // the clip's figures (even-odd)
  cairo_antialias_t antialias = CAIRO_ANTIALIAS_DEFAULT;  // as cairo cuts along them
  double extents[4] = {0, 0, 0, 0};  // cairo's device extents of the clip, whole pixels
  // The edges' bounding box, and boxes a pixel and more within the figures (x0, y0, x1,
  // y1; none where x0 > x1): boxes outside the one or inside another are told at once.
  static constexpr int32_t INNER = 3;
  double outer[4] = {INFINITY, INFINITY, -INFINITY, -INFINITY};
  double inner[INNER][4] = {{INFINITY, INFINITY, -INFINITY, -INFINITY},
                            {INFINITY, INFINITY, -INFINITY, -INFINITY},
                            {INFINITY, INFINITY, -INFINITY, -INFINITY}};
  bool unaligned_boxes = false;  // every edge level or upright, not all on whole pixels
  uint64_t coverage_id = 0;  // the kept coverage found for these figures last (0: none yet)

  // Empties the edges, bands and figures, keeping their room.
  void forget() {
    edges.clear();
    for (std::vector<int32_t>& band : bands) band.clear();
    figures.clear();
  }
  // Trades the room of the edges, bands and figures with `o`.
  void swap_room(GfxClipEdges& o) {
    edges.swap(o.edges);
    bands.swap(o.bands);
    figures.swap(o.figures);
  }
};

// A clip's A8 coverage of the image over its extents.
struct GfxClipCoverage {
  pixman_image_t* image;
  int32_t x, y;  // its top left on the image
  // For each of its rows, the span [x0, x1) (its own columns) it covers wholly; none
  // where x1 <= x0. Null: not known.
  const int32_t* full;
};

struct GfxGraphics {
  GaugeImage* image;
  cairo_surface_t* surface;  // null without pixels
  cairo_t* cr;
  cairo_t* bare;            // the same pixels without a clip (raster_bare)
  pixman_image_t* pixels;   // the same pixels for pixman (gfx_stamps.cpp)
  GfxMatrix m;
  GfxStatus last;
  int32_t smoothing;
  int32_t text_hint;
  int32_t pixel_offset;
  bool clip_on;
  GfxClipEdges clip_edges;  // the raster clip's, for gfx_clip_cover
  std::vector<GfxPointF> scratch;  // device points of the drawing at hand
  int32_t clip_record;  // SetClip record index in the recording, -2 when unknown
  // A clear not yet written: the next drawing writes it first (raster_settle), a fill
  // of opaque rectangle leaving out the pixels the fill covers wholly.
  bool clear_pending = false;
  uint32_t clear_argb = 0;
  uint64_t serial = 0;  // of its making, one of its own
  struct GfxRepeat* repeat = nullptr;  // its frame as it repeats the image's last (gfx_frame_repeat.cpp)
  struct GfxBands* bands = nullptr;    // its image drawn a band of rows per core (gfx_bands.cpp)
};

// Drawings are anti-aliased (cairo's default) in the smoothing modes that ask for it.
inline bool gfx_antialiased(const GfxGraphics* g) {
  return g->smoothing == GFX_SMOOTHING_HIGH_QUALITY || g->smoothing == GFX_SMOOTHING_ANTIALIAS;
}

// Pixel corners at integer coordinates (half and high-quality offset modes).
inline bool gfx_pixel_offset_half(const GfxGraphics* g) {
  return g->pixel_offset == GFX_PIXEL_OFFSET_HALF || g->pixel_offset == 2;
}

// Flattens a path into closed polygons (one per figure) in world coordinates.
std::vector<std::vector<GfxPointF>> gfx_flatten_path(const GfxPath& path);
// Parametric angle (radians) of the point at geometric angle `deg` on an ellipse
// with half-axes a, b.
double gfx_ellipse_param(double a, double b, double deg);
// Appends the points of an elliptical arc (world units).
void gfx_arc_points(double x, double y, double w, double h, double start, double sweep,
                    std::vector<GfxPointF>& out);

inline GfxPointF gfx_apply(const GfxMatrix& m, double x, double y) {
  return {m.m11 * x + m.m21 * y + m.dx, m.m12 * x + m.m22 * y + m.dy};
}
// A turned transform with its linear part on a grid of 1/65536: a display turning by a
// hair between frames (a heading's last digits) keeps the same kept masks and glyph
// images. Drawn through it, a point 64 pixels from the one the caller pins moves 1/1024
// pixel at most. A transform whose area the grid would change by more than a thousandth
// stays as it is.
GfxMatrix gfx_steady(const GfxMatrix& m);
// A bound on how far the transform stretches a unit length (the sum of its linear part).
inline double gfx_scale_bound(const GfxMatrix& m) {
  return std::fabs(m.m11) + std::fabs(m.m12) + std::fabs(m.m21) + std::fabs(m.m22);
}

// UTF-16 text to UTF-8.
std::string gfx_utf8(const char16_t* text, int32_t length);
// Installed face for a family name, or null for an unknown name.
const char* gfx_resolve_face(const char* name);

// Fonts kept between texts (gfx_font_cache.cpp).
// Selects the font's face, size and options into `cr`, as every text is drawn.
void gfx_select_font(cairo_t* cr, const GfxFont* font, bool antialias);
// The glyphs of `text` placed from (x, y) on with the context's font, as cairo_show_text
// places them; false when a character is not one the kept tables hold.
bool gfx_glyph_run(cairo_t* cr, const std::string& text, double x, double y, std::vector<cairo_glyph_t>& out);
// cairo_font_extents of the context's font.
void gfx_font_extents(cairo_t* cr, cairo_font_extents_t* out);
// Texts drawn without cairo: the glyph table of the scaled font a text drew `font` through
// under a transform of linear part `linear` (m11 m12 m21 m22), once gfx_note_text_font
// told it; null before. Valid until the next font call.
struct GfxGlyphTable;
GfxGlyphTable* gfx_find_text_font(const GfxFont* font, bool antialias, const double linear[4]);
// Tells the context's scaled font as the one for `font` under the context's transform.
void gfx_note_text_font(cairo_t* cr, const GfxFont* font, bool antialias);
cairo_scaled_font_t* gfx_text_font_scaled(const GfxGlyphTable* t);
double gfx_text_font_ascent(const GfxGlyphTable* t);
// A character's glyph, its advance and its ink's box from its origin (user space), as
// gfx_glyph_run places it.
struct GfxTextGlyph {
  uint32_t index;
  double x_advance, y_advance;
  double ink[4];  // left, top, right, bottom
};
// False for a character the table does not hold.
bool gfx_text_glyph(GfxGlyphTable* t, char ch, GfxTextGlyph* out);
// Lets every kept face, option set and glyph table go.
void gfx_release_fonts();

// Raster back end (cairo).
// Shared by the raster and stamp parts: colour as source, an elliptical arc (degrees)
// added to the path, the pen's width and dash set for a stroke.
void raster_set_source(cairo_t* cr, uint32_t argb);
void raster_path_arc(cairo_t* cr, double x, double y, double w, double h, double start, double sweep, bool join);
void raster_stroke_style(cairo_t* cr, const GfxPen* pen);
void raster_open(GfxGraphics* g);
void raster_close(GfxGraphics* g);
// Device bounding box (x0 y0 x1 y1) of a user-space box under the context's matrix.
void raster_device_box(cairo_t* cr, double x0, double y0, double x1, double y1, double out[4]);
// The same under the matrix `m`.
void raster_device_box(const cairo_matrix_t& m, double x0, double y0, double x1, double y1, double out[4]);
// The figure `path` adds (in world units, under `world`) stroked by cairo with the pen into
// an A8 image of the pixels it reaches, a pixel around, its top left at device (x0, y0);
// cut to the pixels [0, limit[0]) x [0, limit[1]) when `limit` is given. Null when it
// reaches none. The caller lets the image go.
cairo_surface_t* raster_stroke_mask(const GfxMatrix& world, bool antialias, const GfxPen* pen,
                                    const std::function<void(cairo_t*)>& path, const int32_t* limit, int32_t& x0,
                                    int32_t& y0);
// A context on the same pixels without a clip (made on first use).
cairo_t* raster_bare(GfxGraphics* g);
// A clear is kept pending until the next drawing or the graphics' end (raster_settle).
void raster_clear(GfxGraphics* g, uint32_t argb);
// Writes a pending clear into the pixels, all but the box (x0 y0 x1 y1, whole pixels)
// when one is given.
void raster_settle(GfxGraphics* g, const int32_t* keep = nullptr);
// The 32-bit pixel of a solid colour as pixman blends and fills it (premultiplied).
uint32_t gfx_solid_pixel(uint32_t argb);
// Sets the pixels of the image's box x0 <= x < x1, y0 <= y < y1 (within the image) to
// `pixel`, with the processor's string stores (which, unlike vector stores, do not read
// the lines they fill first).
void gfx_fill_pixels(GaugeImage* image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t pixel);
void raster_stroke_line(GfxGraphics* g, const GfxPen* pen, const GfxPoint* pts, int32_t n);
void raster_stroke_arc(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h,
                       double start, double sweep);
void raster_fill_ellipse(GfxGraphics* g, const GfxBrush* brush, double x, double y, double w, double h);
void raster_fill_polygon(GfxGraphics* g, const GfxBrush* brush, const GfxPoint* pts, int32_t n);
void raster_stroke_rect(GfxGraphics* g, const GfxPen* pen, double x, double y, double w, double h);
void raster_fill_rect(GfxGraphics* g, const GfxBrush* brush, double x, double y, double w, double h);
// Whether a rectangle of that colour, filled, sets every pixel of the image to it but those
// within `edge` pixels of its sides: opaque, unturned, no clip, covering the image wholly
// but for those.
bool raster_fill_covers_image(GfxGraphics* g, uint32_t argb, double x, double y, double w, double h,
                              int32_t edge = 0);
void raster_text(GfxGraphics* g, const std::string& utf8, const GfxFont* font, GfxRectF layout,
                 const GfxBrush* brush);
// The ink boxes of a text's glyphs laid out at (0, 0) as raster_text draws it in a box
// `width` wide (0: no wrapping), in world units (none for blanks). Works without pixels.
std::vector<GfxRectF> raster_glyph_ink(const std::string& utf8, const GfxFont* font, double width);
// The layout box of gfx_measure_string.
GfxRectF raster_text_box(const std::string& utf8, const GfxFont* font);
// The kept measuring context (no pixels; made on first use).
cairo_t* raster_measuring_context();
// Frees the kept measuring context (made again on the next measurement).
void raster_release_measuring();
// A small stroke's geometry from its world origin: a polyline from the origin through
// `n` more points, or an arc (w, h, start, sweep) in the box whose corner is the
// origin. Zero-filled before use: its bytes are its identity.
struct GfxStampShape {
  static constexpr int32_t MAX_POINTS = 24;
  double arc[4];
  enum Kind : int32_t { POLYLINE, ARC } kind;
  int32_t n;
  int16_t xy[2 * MAX_POINTS];  // the first n points are the shape's (last, so that a key ends with them)
};
// An A8 mask for later draws: whether the drawing inks any pixel, its pixels (`bits`,
// null where it inks none, or where they could not be had), and its top left from the
// pixel the drawing is placed at. A mask just made holds its pixels in a pixman image
// (`pixels`); a table keeps only their bytes (no image, no surface): it holds thousands.
struct GfxKeptMask {
  bool inks;
  pixman_image_t* pixels;
  int32_t x, y;
  // The pixels' size and rows (whole words), read by a blend beside the entry it found.
  int32_t width = 0, height = 0, stride = 0;
  const uint8_t* bits = nullptr;
  // The box the mask was drawn over (x0 y0 x1 y1 from the drawing's pixel), where told.
  int32_t area[4] = {0, 0, 0, 0};
};
// Keeps the mask whose top left lies (x, y) from the drawing's pixel, cut to its inked
// pixels (every pixel blended costs); lets the surface go.
GfxKeptMask raster_keep_mask(cairo_surface_t* a8, int32_t x, int32_t y);
void raster_release_mask(GfxKeptMask& m);

// The part of the library's kept masks, strokes and glyph runs the calling thread keeps: 1,
// or a share for a thread drawing one band of each image (gfx_bands.cpp), which meets a
// share of their drawings. Set before the thread keeps any.
double gfx_thread_share();
void gfx_set_thread_share(double share);
inline size_t gfx_thread_part(size_t n) { return size_t(double(n) * gfx_thread_share()); }
// Has `let_go(p)` called when the calling thread ends.
void gfx_at_thread_end(void (*let_go)(void*), void* p);
// One T for each thread that draws (bands draw on threads of their own): made on first use
// and let go with the thread. Only its address is kept in the thread's storage, read
// straight from it (a handful of bytes of the library's, taken when it is loaded).
template <class T>
T& gfx_per_thread() {
  [[gnu::tls_model("initial-exec")]] thread_local T* kept = nullptr;
  if (__builtin_expect(!kept, 0)) {
    kept = new T;
    gfx_at_thread_end([](void* p) { delete static_cast<T*>(p); }, kept);
  }
  return *kept;
}

// A hash of `n` 64-bit words read from `data`: four lanes mixed side by side (their
// multiplies overlap), folded and stirred at the end so that every bit of the result
// depends on every word.
inline uint64_t gfx_hash_words(const void* data, size_t n, uint64_t seed) {
  constexpr uint64_t K = 0x9E3779B97F4A7C15ull;
  auto rotl = [](uint64_t v, int r) { return (v << r) | (v >> (64 - r)); };
  auto mix = [&](uint64_t lane, uint64_t w) { return rotl((lane ^ w) * K, 31); };
  const auto* bytes = static_cast<const unsigned char*>(data);
  uint64_t lane[4] = {seed, seed + K, seed ^ 0x5555555555555555ull, seed - K};
  uint64_t w[4];
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    std::memcpy(w, bytes + i * sizeof(uint64_t), sizeof w);
    for (int32_t j = 0; j < 4; ++j) lane[j] = mix(lane[j], w[j]);
  }
  for (int32_t j = 0; i < n; ++i, ++j) {
    std::memcpy(w, bytes + i * sizeof(uint64_t), sizeof(uint64_t));
    lane[j] = mix(lane[j], w[0]);
  }
  uint64_t h = lane[0] ^ rotl(lane[1], 16) ^ rotl(lane[2], 32) ^ rotl(lane[3], 48) ^ n;
  h ^= h >> 33, h *= 0xFF51AFD7ED558CCDull, h ^= h >> 33, h *= 0xC4CEB9FE1A85EC53ull, h ^= h >> 33;
  return h;
}

// Bytes handed out in chunks that never move, for the pixels of kept masks; emptied
// whole, its chunks kept for the next fill.
class GfxMaskBytes {
 public:
  // `n` bytes at a word-aligned address; null when the memory cannot be had.
  uint8_t* take(size_t n);
  // Bytes handed out since last emptied.
  size_t size() const { return size_; }
  void empty() { chunk_ = 0, used_ = 0, size_ = 0; }
  void release() {
    std::vector<Chunk>().swap(chunks_);
    empty();
  }

 private:
  struct Chunk {
    std::unique_ptr<uint64_t[]> words;
    size_t bytes;
  };
  std::vector<Chunk> chunks_;
  size_t chunk_ = 0, used_ = 0, size_ = 0;
};

// A bit for each hash a table holds (at the hash's top bits, BITS of them, a power of two):
// a hash whose bit is clear is not held, told without reading the table (far apart in
// memory). Bits are made at the first hash added.
template <size_t BITS>
class GfxHeldBits {
 public:
  static_assert((BITS & (BITS - 1)) == 0 && BITS >= 64, "a power of two, in whole words");
  void add(uint64_t hash) {
    if (words_.empty()) words_.assign(BITS / 64, 0);
    words_[bit(hash) / 64] |= uint64_t(1) << (bit(hash) % 64);
  }
  bool may_hold(uint64_t hash) const { return !words_.empty() && (words_[bit(hash) / 64] >> (bit(hash) % 64) & 1); }
  void clear() { std::fill(words_.begin(), words_.end(), 0); }
  void release() { words_ = {}; }

 private:
  static size_t bit(uint64_t hash) { return size_t(hash >> 32) & (BITS - 1); }
  std::vector<uint64_t> words_;
};

// An open-addressed index of a table's entries by hash (linear probing): each slot holds an
// entry's full hash and its index, so that a look-up compares keys only where the hashes
// agree. SLOTS, a power of two, is at least twice the entries filed: every probe meets an
// empty slot. `same(index)` tells whether entry `index` holds the key sought. Slots are made
// at the first entry filed.
template <size_t SLOTS>
class GfxSlotIndex {
 public:
  static_assert((SLOTS & (SLOTS - 1)) == 0, "a power of two");
  static constexpr uint32_t NONE = UINT32_MAX;
  // Fewer slots, at least `n` (before any entry is filed): a thread's share of the entries.
  void limit(size_t n) {
    size_t slots = 64;
    while (slots < n && slots < SLOTS) slots *= 2;
    size_ = slots;
  }
  // The index of the key's entry; NONE where none is.
  template <typename Same>
  uint32_t find(uint64_t hash, Same same) const {
    return slots_.empty() ? NONE : slots_[probe(hash, same)].index;
  }
  // Files entry `index`, of a key not filed, under its hash.
  template <typename Same>
  void add(uint64_t hash, uint32_t index, Same same) {
    if (slots_.empty()) slots_.assign(size_, Slot{0, EMPTY});
    slots_[probe(hash, same)] = {hash, index};
  }
  // Marks the entry of a key filed moved out (its slot stays on others' probes); its index.
  template <typename Same>
  uint32_t take(uint64_t hash, Same same) {
    Slot& s = slots_[probe(hash, same)];
    return std::exchange(s.index, GONE);
  }
  // Asks memory for the first slot of the hash's probe.
  void prefetch(uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[size_t(hash) & (size_ - 1)]);
  }
  void clear() { std::fill(slots_.begin(), slots_.end(), Slot{0, EMPTY}); }
  void release() { slots_ = {}; }

 private:
  struct Slot {
    uint64_t hash;
    uint32_t index;  // into the entries; EMPTY or GONE (moved out)
  };
  static constexpr uint32_t EMPTY = NONE, GONE = UINT32_MAX - 1;
  // The slot of the key, or of the first empty slot on its probe.
  template <typename Same>
  size_t probe(uint64_t hash, Same same) const {
    for (size_t i = size_t(hash) & (size_ - 1);; i = (i + 1) & (size_ - 1)) {
      const Slot& s = slots_[i];
      if (s.index == EMPTY) return i;
      if (s.hash == hash && s.index != GONE && same(s.index)) return i;
    }
  }
  std::vector<Slot> slots_;
  size_t size_ = SLOTS;
};

// The hashes of drawings met once, in SEEN slots (a power of two): a table keeps a drawing
// on its second draw, one whose slot another took on a later draw.
template <size_t SEEN>
class GfxSeenSlots {
 public:
  static_assert((SEEN & (SEEN - 1)) == 0, "a power of two");
  // True when a drawing of this hash was met before; otherwise it is remembered. A slot
  // holds 32 bits of the hash (half the memory of the whole): two drawings of one slot
  // are taken for one once in 2^32.
  bool met_before(size_t hash) {
    if (slots_.empty()) slots_.assign(size_, 0);
    uint32_t& slot = slots_[hash & (size_ - 1)];
    const uint32_t tag = uint32_t(uint64_t(hash) >> 32 ^ uint64_t(hash));
    if (slot == tag) return true;
    slot = tag;
    return false;
  }
  void clear() { slots_ = {}; }
  // Fewer slots, at least `n` (before any is met): a thread's share of the drawings.
  void limit(size_t n) {
    size_t slots = 64;
    while (slots < n && slots < SEEN) slots *= 2;
    size_ = slots;
  }

 private:
  std::vector<uint32_t> slots_;
  size_t size_ = SEEN;
};

// Masks kept by key. A drawing is kept on its second draw (one drawn once costs no mask):
// the SeenHash hashes of drawings met once fill SEEN slots, one whose slot another took is
// kept on a later draw. The masks lie in two halves of at most CAPACITY masks and about
// `max_bytes` of pixels each, the pixels in the half's own chunks: when the newer is full,
// the older is let go and the newer becomes the older; a mask found in the older moves to
// the newer, pixels and all. A frame's working set under CAPACITY stays kept whatever else
// passes (letting all go at once made a set beyond it again every frame). `let_go`
// releases what a key holds. Each half is a flat table: its entries in order of arrival,
// and slots (open addressing, at least twice as many) holding each entry's full hash, so
// that a look-up compares keys only where the hashes agree. A mask found is valid until
// the next find or add. Each display's finds are traced: a frame drawn much as the one
// before finds its masks where that one found them, fetched from memory ahead, instead of
// through the slots (two reads far apart in memory).
template <class Key, class Hash, size_t CAPACITY, size_t SEEN, class SeenHash = Hash>
class GfxKeptMasks {
 public:
  static_assert(CAPACITY > 0 && CAPACITY < (size_t(1) << 30), "indexes fit the slots");
  // At most `max_bytes` of pixels in a half, and CAPACITY masks times the thread's share
  // (gfx_thread_share).
  GfxKeptMasks(size_t max_bytes, void (*let_go)(const Key&) = nullptr)
      : let_go_(let_go),
        max_bytes_(gfx_thread_part(max_bytes)),
        capacity_(std::max(gfx_thread_part(CAPACITY), size_t(1))) {
    for (Half& h : half_) h.index.limit(2 * capacity_);
    seen_.limit(gfx_thread_part(SEEN));
  }
  GfxKeptMasks(const GfxKeptMasks&) = delete;
  GfxKeptMasks& operator=(const GfxKeptMasks&) = delete;
  ~GfxKeptMasks() { clear(); }

  // The mask kept for the key; null where none is. `g`, the graphics drawing it, names
  // the display whose trace is followed (none without it).
  const GfxKeptMask* find(const Key& k, const GfxGraphics* g = nullptr) {
    // The same drawing again (a boundary's steps, a row of like symbols): no hash, no
    // look-up in memory far apart.
    if (last_ && last_->key == k) return &last_->mask;
    Trace* t = trace_of(g);
    if (Entry* p = t ? predicted(*t) : nullptr; p && p->key == k) return &found(t, p, true)->mask;
    const uint64_t hash = Hash{}(k);
    // The older half's first slot on the probe asked of memory while the newer half is probed.
    Half& older = half_[1 - newer_];
    if (older.held.may_hold(hash)) older.index.prefetch(hash);
    if (Entry* e = newer().lookup(k, hash)) return &found(t, e, false)->mask;
    Entry* e = older.lookup(k, hash);
    if (!e) return nullptr;
    Entry moved = *e;
    older.take(k, hash);
    if (full()) {
      // Its pixels lie in the half let go: held aside over the turn.
      aside_.assign(moved.mask.bits, moved.mask.bits ? moved.mask.bits + mask_bytes(moved.mask) : nullptr);
      if (moved.mask.bits) moved.mask.bits = aside_.data();
      turn();
    }
    moved.mask = store(newer(), moved.mask);
    return &found(t, newer().insert(moved, hash, capacity_), false)->mask;
  }
  // True when the key's drawing was met before (and is to be kept now); otherwise it is
  // remembered.
  bool met_before(const Key& k) { return seen_.met_before(SeenHash{}(k)); }
  // Keeps a copy of the mask's pixels and lets the mask go.
  const GfxKeptMask* add(const Key& k, GfxKeptMask m, const GfxGraphics* g = nullptr) {
    if (full()) turn();
    const GfxKeptMask kept = store(newer(), m);
    raster_release_mask(m);
    return &found(trace_of(g), newer().insert(Entry{kept, true, k}, Hash{}(k), capacity_), false)->mask;
  }
  // Masks kept (both halves).
  size_t size() const { return half_[0].live + half_[1].live; }
  void clear() {
    for (Half& h : half_) drop(h, true);
    seen_.clear();
    last_ = nullptr;
    for (Trace& t : traces_) t = Trace{};
    trace_ = nullptr;
  }

 private:
  struct Entry {
    GfxKeptMask mask;  // first: beside the head of the key a look-up compares
    bool live;         // false once moved to the newer half
    Key key;
  };
  // Links to entries: an entry's half in the top bit, its index below. A link is a hint,
  // checked by the entry's key (the entry may have moved, or its half been let go and
  // filled anew).
  static constexpr uint32_t HALF_BIT = 1u << 31;
  // The entries a display's drawing found (not found again at once), in order, and those
  // its drawing before found: a display draws much as it drew the frame before, so the
  // entry found there at the place followed is likely the one sought now.
  struct Trace {
    const void* display = nullptr;
    uint64_t drawing = 0;  // the graphics' serial
    std::vector<uint32_t> before, now;
    size_t followed = 0;  // the place in `before` predicted next
    uint64_t used = 0;
  };
  static constexpr size_t TRACES = 64, TRACE_MAX = 16384;
  static constexpr size_t RESYNC = 32;  // places either way a drawing found elsewhere is sought
  static constexpr size_t SLOTS = [] {
    size_t n = 1;
    while (n < 2 * CAPACITY) n *= 2;
    return n;
  }();
  struct Half {
    std::vector<Entry> entries;
    GfxSlotIndex<SLOTS> index;    // of the entries
    GfxHeldBits<8 * SLOTS> held;  // of the hashes in the index
    size_t live = 0;
    GfxMaskBytes bytes;  // the pixels of its masks

    auto same(const Key& k) const {
      return [this, &k](uint32_t i) { return entries[i].key == k; };
    }
    Entry* lookup(const Key& k, uint64_t hash) {
      if (!held.may_hold(hash)) return nullptr;
      const uint32_t i = index.find(hash, same(k));
      return i == index.NONE ? nullptr : &entries[i];
    }
    // Marks the key's entry moved out.
    void take(const Key& k, uint64_t hash) {
      entries[index.take(hash, same(k))].live = false;
      --live;
    }
    // Under `capacity` entries, half the slots at most.
    Entry* insert(const Entry& e, uint64_t hash, size_t capacity) {
      held.add(hash);
      // A half turns at `capacity` entries: room for them at once (growing by doubling would
      // leave a third of the room unused).
      if (entries.capacity() < capacity) entries.reserve(capacity);
      index.add(hash, uint32_t(entries.size()), same(e.key));
      entries.push_back(e);
      ++live;
      return &entries.back();
    }
  };
  Half& newer() { return half_[newer_]; }
  Entry* at(uint32_t link) {
    std::vector<Entry>& entries = half_[link >> 31].entries;
    const size_t i = link & ~HALF_BIT;
    return i < entries.size() ? &entries[i] : nullptr;
  }
  // The trace of the display `g` draws on, begun anew for a new drawing (the one before
  // kept); null without a graphics.
  Trace* trace_of(const GfxGraphics* g) {
    if (!g) return nullptr;
    if (!(trace_ && trace_->display == g->image)) {
      Trace* least = &traces_[0];
      trace_ = nullptr;
      for (Trace& t : traces_) {
        if (t.display == g->image) trace_ = &t;
        if (t.used < least->used) least = &t;
      }
      if (!trace_) *(trace_ = least) = Trace{}, trace_->display = g->image;
    }
    Trace& t = *trace_;
    t.used = ++trace_clock_;
    if (t.drawing != g->serial) {
      t.drawing = g->serial;
      t.before.swap(t.now);
      t.now.clear();
      t.followed = 0;
    }
    return &t;
  }
  // The live entry of the newer half the drawing before found at the place followed.
  Entry* predicted(const Trace& t) {
    if (t.followed >= t.before.size()) return nullptr;
    const uint32_t link = t.before[t.followed];
    Entry* e = (link >> 31) == uint32_t(newer_) ? at(link) : nullptr;
    return e && e->live ? e : nullptr;
  }
  // `e`, of the newer half, found as predicted or otherwise: the trace followed on from
  // where the drawing before found it, when it did within a few places of the one
  // followed (drawings left out or added since); otherwise `e` took the place of the one
  // predicted (a symbol on a new pixel phase). The entries likely sought next, and the
  // pixels of the next, are fetched from memory while the caller draws.
  Entry* found(Trace* t, Entry* e, bool as_predicted) {
    last_ = e;
    if (!t) return e;
    const uint32_t link = uint32_t(e - newer().entries.data()) | (newer_ ? HALF_BIT : 0);
    if (t->now.size() < TRACE_MAX) t->now.push_back(link);
    const std::vector<uint32_t>& before = t->before;
    size_t next = t->followed + 1;
    if (!as_predicted) {
      // Its nearest place ahead in the drawing before, else its nearest behind.
      const size_t lo = t->followed > RESYNC ? t->followed - RESYNC : 0;
      const size_t hi = std::min(before.size(), t->followed + RESYNC);
      size_t place = SIZE_MAX;
      for (size_t i = t->followed; i < hi && place == SIZE_MAX; ++i)
        if (before[i] == link) place = i;
      for (size_t i = std::min(t->followed, hi); i > lo && place == SIZE_MAX; --i)
        if (before[i - 1] == link) place = i - 1;
      if (place != SIZE_MAX) next = place + 1;
    }
    t->followed = next;
    // The next entry was fetched at the find before: its pixels now (their first 2 KB).
    for (size_t i = next; i < before.size() && i < next + 2; ++i)
      if (const Entry* n = at(before[i])) {
        fetch(n, std::min(sizeof(Entry), size_t(256)));
        if (i == next && n->mask.bits) fetch(n->mask.bits, std::min(mask_bytes(n->mask), size_t(2048)));
      }
    return e;
  }
  // Asks memory for the cache lines of `bytes` bytes from `p`.
  static void fetch(const void* p, size_t bytes) {
    for (size_t line = 0; line < bytes; line += 64) __builtin_prefetch(static_cast<const char*>(p) + line);
  }
  bool full() { return newer().entries.size() >= capacity_ || newer().bytes.size() >= max_bytes_; }
  static size_t mask_bytes(const GfxKeptMask& m) { return size_t(m.stride) * size_t(m.height); }
  // The mask with its pixels copied into the half's bytes (rows of whole words, as
  // pixman's); without pixels where none could be had.
  static GfxKeptMask store(Half& h, const GfxKeptMask& m) {
    GfxKeptMask s = m;
    s.pixels = nullptr, s.bits = nullptr;
    if (!m.bits) return s;
    s.stride = (m.width + 3) & ~3;
    uint8_t* to = h.bytes.take(mask_bytes(s));
    if (!to) return s;
    for (int32_t row = 0; row < m.height; ++row) {
      uint8_t* r = to + size_t(row) * size_t(s.stride);
      std::memcpy(r, m.bits + size_t(row) * size_t(m.stride), size_t(m.width));
      std::memset(r + m.width, 0, size_t(s.stride - m.width));
    }
    s.bits = to;
    return s;
  }
  void turn() {
    last_ = nullptr;  // found again in the older half, it moves to the newer
    drop(half_[1 - newer_], false);
    newer_ = 1 - newer_;
  }
  void drop(Half& h, bool free) {
    for (Entry& e : h.entries)
      if (e.live && let_go_) let_go_(e.key);
    h.live = 0;
    if (free) {
      h.entries = {};
      h.index.release();
      h.held.release();
      h.bytes.release();
      aside_ = {};
    } else {
      h.bytes.empty();
      h.entries.clear();
      h.index.clear();
      h.held.clear();
    }
  }
  void (*let_go_)(const Key&);
  size_t max_bytes_;
  size_t capacity_;
  Half half_[2];
  int32_t newer_ = 0;
  GfxSeenSlots<SEEN> seen_;
  std::vector<uint8_t> aside_;
  Entry* last_ = nullptr;  // found or added last, in the newer half
  Trace traces_[TRACES];
  Trace* trace_ = nullptr;  // the one followed last
  uint64_t trace_clock_ = 0;
};
// The longest glyph run kept as a mask.
constexpr int32_t GFX_KEPT_RUN_GLYPHS = 12;
// Shows a glyph run of `cr` through a kept coverage mask (gfx_labels.cpp), through the
// clip's coverage `clip` when given; false when nothing was drawn and the caller shows
// it: a run met for the first time outside a clip (unless `first_draw`: then through a
// mask made for that draw, as across a clip edge), or one too long or too large to keep.
bool raster_kept_glyphs(GfxGraphics* g, cairo_t* cr, uint32_t argb, std::span<const cairo_glyph_t> glyphs,
                        const GfxClipCoverage* clip, bool first_draw = false);
void raster_release_kept_glyphs();
// Blends a glyph run already kept, its glyphs of `font` at the device pixels `pixel` (x y
// each), through the clip's coverage where it crosses a clip edge; false when the run is
// not kept, or crosses an edge its mask cannot be blended across (the caller shows it).
bool raster_blend_kept_run(GfxGraphics* g, cairo_scaled_font_t* font, const uint32_t* index, const int32_t* pixel,
                           int32_t n, uint32_t argb);

// Gives `to` the matrix and scaled font of `from`, for a glyph run.
void raster_take_matrix_and_font(cairo_t* to, cairo_t* from);
// Strokes a small shape through a kept coverage mask (gfx_stamps.cpp); false when
// nothing was drawn and the caller strokes it: a shape too large, an arrowed pen, a
// shape met for the first time, or one across a clip edge without a coverage.
bool raster_stamp_stroke(GfxGraphics* g, const GfxPen* pen, double ox, double oy, const GfxStampShape& shape);
// A solid colour blended through A8 coverage (times a clip's, when given) into `width` x
// `height` pixels; each pointer at the first pixel of the run.
struct GfxBlendRun {
  uint32_t* pixels;
  int32_t pixel_stride;  // pixels
  const uint8_t* mask;
  int32_t mask_stride;  // bytes
  const uint8_t* clip;  // null: no clip
  int32_t clip_stride;
  int32_t width, height;
  uint32_t src;  // pixman's 32-bit form of the solid source (premultiplied)
};
// Blends the run as pixman's OVER does, bit for bit (gfx_blend.cpp), with the widest
// vectors the processor has (`widest` false: 256-bit ones, as where it has no wider);
// false where it lacks them, and pixman blends it.
bool gfx_blend_solid(const GfxBlendRun& run, bool widest = true);
// One row of a run: its first pixel, coverage and clip's coverage (null: no clip).
struct GfxBlendRow {
  uint32_t* pixels;
  const uint8_t* mask;
  const uint8_t* clip;
  int32_t width;
};
// Blends `n` rows in the colour `src` as gfx_blend_solid blends each as a run one row
// high, the colour and the processor's vectors set up once (a coverage's rows are a few
// pixels each); false where the processor lacks them, and nothing is blended.
bool gfx_blend_solid_rows(const GfxBlendRow* rows, int32_t n, uint32_t src, bool widest = true);
// The width in bits of the vectors the blend runs with: 512, 256 (where the processor has no
// wider, or VEK_VECTOR_BITS=256 keeps it to those), 0 where it has none and pixman blends.
int gfx_vector_bits();
// Blends the colour through the A8 mask (its top left at device (x, y)) into the pixels,
// also through the clip's coverage `clip` when given; false when it cannot.
bool raster_blend_mask(GfxGraphics* g, uint32_t argb, const GfxKeptMask& mask, int32_t x, int32_t y,
                       const GfxClipCoverage* clip);
// The pixels of an A8 image surface for pixman (null when it has none); unref'd before
// the surface is destroyed.
pixman_image_t* raster_a8_pixels(cairo_surface_t* surface);
// How the clip covers a device box: every point of it, none, or a part (a clip edge
// crosses it). Where it covers all, drawing without the clip (`bare`) is drawing under
// it; where it covers a part, the drawing is cut along the edge as cairo cuts it.
enum class GfxCover { ALL, NONE, PART };
// The box (x0, y0)-(x1, y1) lies within `in` (x0, y0, x1, y1) by `margin`.
inline bool gfx_box_within(const double* in, double x0, double y0, double x1, double y1, double margin = 0) {
  return x0 >= in[0] + margin && y0 >= in[1] + margin && x1 <= in[2] - margin && y1 <= in[3] - margin;
}
GfxCover gfx_clip_cover(const GfxGraphics* g, double x0, double y0, double x1, double y1);
// The part of a degree (0 to 1) the grid a turned text takes its glyphs' shapes from is
// shifted by: a hash of its first 16 characters and its font's size and style, every bit
// stirred (the numbers of a scale differ in a character or two, and must not step
// together; nor the same number at another size).
double gfx_text_grid_shift(const std::string& utf8, const GfxFont* font);
// How far past its points a stroke can ink, in device pixels: half the pen's width,
// five widths where miter joins may reach out (`joins`), and a pixel of anti-aliasing.
double gfx_stroke_reach(const GfxGraphics* g, const GfxPen* pen, bool joins);
// The clip's cover of what lies within `reach` of the polyline of device points.
GfxCover gfx_clip_cover_path(const GfxGraphics* g, const GfxPointF* pts, int32_t n, double reach);
// The clip's coverage, kept for the same figures (a display sets the same clips each
// frame) until the library stops; a null image without a clip or when it cannot be made.
// For `glyphs` under a clip of boxes off the pixel grid, the whole pixels cairo keeps of
// them (it cuts glyphs along unaligned box edges by whole pixels, strokes by coverage),
// made for a clip of one box. Valid until the next call.
GfxClipCoverage raster_clip_coverage(GfxGraphics* g, bool glyphs);
void raster_release_clip_coverages();
// Lets every kept mask go.
void gfx_release_stamps();

// Solid strokes rasterised without cairo (gfx_stroke_coverage.cpp), as cairo strokes them
// anti-aliased: the pen a circle in world units (one device pixel across for a width of
// 0), butt ends, miter joins bevelled past a miter limit of 10, zero-length segments
// skipped; the outline filled by non-zero winding into A8 coverage. A stroke is begun,
// its figures added in device points, then filled. Single-threaded: the buffers are kept
// between strokes, and a coverage is valid until the next fill.
struct GfxCoverageRun {
  int32_t row, x0, x1;  // columns [x0, x1) of a row, from the coverage's box
};
struct GfxCoverage {
  int32_t x, y, width, height;  // the device box of the rows
  uint8_t* bits;                // row r at bits + r * stride; only its runs are written
  int32_t stride;               // bytes, a multiple of 4
  const GfxCoverageRun* runs;   // the inked runs, row by row
  int32_t run_count;
};
void gfx_coverage_begin(const GfxMatrix& world, double width);
void gfx_coverage_polyline(const GfxPointF* device, int32_t n);
// An elliptical arc as raster_path_arc adds it (closed for a whole turn), `device` the
// world transform to device points; false for one too large to flatten.
bool gfx_coverage_arc(const GfxMatrix& device, double x, double y, double w, double h, double start, double sweep);
// The coverage of the stroke over the pixels [x0, x1) x [y0, y1) it reaches; false when it
// inks none of them.
bool gfx_coverage_fill(int32_t x0, int32_t y0, int32_t x1, int32_t y1, GfxCoverage& out);
// Blends the colour through the coverage's spans, through the clip's coverage when given;
// false when it cannot.
bool raster_blend_coverage(GfxGraphics* g, uint32_t argb, const GfxCoverage& c, const GfxClipCoverage* clip);

// A large stroke's coverage kept as its runs (gfx_kept_strokes.cpp), their bytes packed.
struct GfxKeptStroke {
  struct Run {
    int32_t row, x0, x1;  // as the coverage's runs, from its box's top left
    size_t at;            // the run's first byte in `bits`
  };
  int32_t x = 0, y = 0;  // the coverage's box
  std::vector<Run> runs;
  std::vector<uint8_t> bits;
};
// The kept stroke of `key` (everything its coverage is made from), or null.
const GfxKeptStroke* raster_find_stroke(const std::vector<double>& key);
// True when the key was met before (and its stroke is to be kept now); else remembers it.
bool raster_stroke_met_before(const std::vector<double>& key);
// Keeps the coverage's runs under the key (null: a stroke that inks no pixel of its box).
const GfxKeptStroke* raster_keep_stroke(const std::vector<double>& key, const GfxCoverage* c);
// Blends the kept stroke in the colour, through the clip's coverage when given; false
// when the processor cannot (nothing was drawn).
bool raster_blend_kept_stroke(GfxGraphics* g, uint32_t argb, const GfxKeptStroke& s, const GfxClipCoverage* clip);
// Keeps runs made elsewhere (a fill's) under the key; a run whose `at` is GFX_SOLID_RUN is
// wholly covered and holds no bytes.
constexpr size_t GFX_SOLID_RUN = SIZE_MAX;
const GfxKeptStroke* raster_keep_runs(const std::vector<double>& key, GfxKeptStroke s);
// Mixes the opaque pixel into n pixels through their coverage as cairo's span fill mixes
// an opaque colour: pixel * a + dst * (255 - a) per channel, rounded as cairo rounds it.
void gfx_mix_opaque(uint32_t* pixels, const uint8_t* cover, int32_t n, uint32_t pixel);
// Strokes kept (both halves), and letting them go.
size_t gfx_kept_strokes();
void gfx_release_kept_strokes();

// Keeps the coverage's inked pixels, (x, y) the top left of its box from the drawing's pixel.
GfxKeptMask raster_keep_coverage(const GfxCoverage& c, int32_t x, int32_t y);
void raster_set_clip(GfxGraphics* g, const std::vector<std::vector<GfxPointF>>& device_polys);
void raster_reset_clip(GfxGraphics* g);

// Recording: a record filled with the graphics state, ready for the call's own fields.
GfxRecording* recording_of(GfxGraphics* g);
GfxRecord& record_begin(GfxRecording* rec, GfxGraphics* g, GfxOp op, GfxStatus status);

// Front-end helpers shared by the object and drawing calls: a failed status kept as the
// graphics' last one, the transform test every drawing call makes, a state call recorded
// (no pen, brush or font), and the count of live graphics objects.
GfxStatus gfx_note(GfxGraphics* g, GfxStatus s);
inline bool gfx_transform_invertible(const GfxMatrix& m) {
  double det = m.m11 * m.m22 - m.m12 * m.m21;
  return std::isfinite(det) && std::fabs(det) > 1e-12;
}
void gfx_record_state(GfxGraphics* g, GfxOp op, GfxStatus s, std::initializer_list<double> args);

// A drawing handed to the raster: the raster call (`op`: Clear, Line for a polyline, Arc,
// FillEllipse, FillPolygon, Rect, FillRect, Text, SetClip, ResetClip) and its arguments,
// drawn under the graphics' transform and settings (gfx_frame_repeat.cpp).
struct GfxRasterCall {
  GfxOp op;
  const GfxPen* pen = nullptr;
  uint32_t argb = 0;                 // the brush's or the clear's colour
  double a[6] = {0, 0, 0, 0, 0, 0};  // a shape's box and angles, a text's layout box
  const GfxPoint* pts = nullptr;
  int32_t n = 0;
  const std::string* text = nullptr;  // UTF-8
  const GfxFont* font = nullptr;
  const std::vector<std::vector<GfxPointF>>* clip = nullptr;  // device figures
};
// The graphics' settings the raster reads besides a drawing's own arguments.
struct GfxSettings {
  GfxMatrix m{};
  int32_t smoothing = 0, text_hint = 0, pixel_offset = 0;
  bool clip_on = false;

  static GfxSettings of(const GfxGraphics* g) { return {g->m, g->smoothing, g->text_hint, g->pixel_offset, g->clip_on}; }
  void put(GfxGraphics* g) const {
    g->m = m;
    g->smoothing = smoothing;
    g->text_hint = text_hint;
    g->pixel_offset = pixel_offset;
    g->clip_on = clip_on;
  }
  bool same(const GfxSettings& o) const {
    return m.m11 == o.m.m11 && m.m12 == o.m.m12 && m.m21 == o.m.m21 && m.m22 == o.m.m22 && m.dx == o.m.dx &&
           m.dy == o.m.dy && smoothing == o.smoothing && text_hint == o.text_hint &&
           pixel_offset == o.pixel_offset && clip_on == o.clip_on;
  }
};

// Room for points in chunks that never move, emptied whole for the next graphics (or frame).
class GfxPointRoom {
 public:
  GfxPoint* take(size_t n) {
    while (chunk_ < chunks_.size() && used_ + n > chunks_[chunk_].size) ++chunk_, used_ = 0;
    if (chunk_ == chunks_.size()) {
      const size_t size = std::max(n, CHUNK);
      chunks_.push_back({std::unique_ptr<GfxPoint[]>(new GfxPoint[size]), size});
      used_ = 0;
    }
    GfxPoint* p = chunks_[chunk_].points.get() + used_;
    used_ += n;
    return p;
  }
  void empty() { chunk_ = 0, used_ = 0; }
  void release() { chunks_.clear(), empty(); }

 private:
  static constexpr size_t CHUNK = 8192;
  struct Chunk {
    std::unique_ptr<GfxPoint[]> points;
    size_t size;
  };
  std::vector<Chunk> chunks_;
  size_t chunk_ = 0, used_ = 0;
};

// A drawing kept to be drawn later, with the graphics' settings and copies of what the
// call pointed at (their room kept for the next drawing kept in its place).
struct GfxKeptCall {
  GfxRasterCall call;
  GfxSettings settings;
  GfxPen pen;
  GfxFont font;
  std::vector<GfxPoint> pts;
  std::string text;
  std::vector<std::vector<GfxPointF>> clip;
  double top = -INFINITY, bottom = INFINITY;  // the device rows it can ink, where told
  bool points_in_room = false;                 // its points copied to room kept elsewhere

  // Copies the call and what it points at; its points to `room` when given (room for its
  // count that stays where it is while the copy is kept), else to `pts`.
  void keep(const GfxGraphics* g, const GfxRasterCall& c, GfxPoint* room = nullptr);
  // The call aimed at the copies.
  GfxRasterCall kept() const;
};
// Draws the call into the graphics' pixels now.
void gfx_draw_now(GfxGraphics* g, const GfxRasterCall& c);
// Hands a drawing on to the pixels: drawn now, or kept with the graphics' bands to be
// drawn band by band at the next gfx_bands_flush (gfx_bands.cpp).
void gfx_draw(GfxGraphics* g, const GfxRasterCall& c);
// Gives a graphics of an image tall enough, where the processor has cores to spare, its
// bands; lets them go.
void gfx_bands_open(GfxGraphics* g);
void gfx_bands_close(GfxGraphics* g);
// Draws what the graphics' bands keep, each band on a core of its own, and waits for them.
void gfx_bands_flush(GfxGraphics* g);
// Ends the threads that draw the bands (their kept masks and fonts let go with them).
void gfx_bands_stop();
// The threads that draw bands of the graphics made from now on (0: none, each graphics
// draws its image itself); -1: one per core but one (VEK_RASTER_THREADS when set), up to 3.
void gfx_set_band_threads(int32_t n);
bool gfx_clip_op(GfxOp op);

// Begins and ends a graphics' frame on its image; between them drawings go through
// gfx_hand_to_raster, which draws them, or holds them back while the frame repeats the
// image's last. gfx_repeat_holding: drawings are held (nothing to write yet).
void gfx_repeat_begin(GfxGraphics* g);
void gfx_hand_to_raster(GfxGraphics* g, const GfxRasterCall& call);
bool gfx_repeat_holding(const GfxGraphics* g);
void gfx_repeat_end(GfxGraphics* g);
// A font's hash, of its family, face, size and style.
uint64_t gfx_font_hash(const GfxFont& font);
void gfx_count_object(int32_t change);
