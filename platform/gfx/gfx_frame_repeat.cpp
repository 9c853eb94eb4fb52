// A frame that repeats the image's last one is not drawn again. Each drawing handed to
// the raster is told by a hash of all the raster reads of it (its arguments, the pen,
// brush, font, points and text, and the graphics' transform and settings). While a
// frame's drawings hash as the last frame's did, one by one, they are held back (where
// the last frame repeated the one before it: an image that changes frame after frame is
// drawn as its drawings come); at the first that differs, those held are drawn and the
// frame goes on as it comes. A frame that ends as the last one did, its first drawing a
// clear or an opaque fill of the whole image (so that its pixels owe nothing to what the
// image held before), leaves the image as it stands: it holds those very pixels. So does
// one whose first fill covers all but the image's edge pixels (a fill of the image with
// pixel centres at whole coordinates covers them by half), where the last frame left those
// pixels as it found them: it drew again what the image held. The clip calls are also
// carried out when held, for the visibility tests.
#include <cstring>
#include <unordered_map>

#include "platform/gfx/gfx_internal.h"

namespace {

// What is known of an image's last frame.
struct ImageFrame {
  uint32_t* pixels = nullptr;
  int32_t width = 0, height = 0, stride = 0;
  std::vector<uint64_t> hashes;  // of its drawings in order
  std::vector<uint64_t> spare;   // room for the next frame's
  bool known = false;            // its drawings were all hashed, and nothing else drew
  bool steady = false;           // it repeated the frame before it (drawings are held only then)
  GfxGraphics* open = nullptr;   // the graphics drawing into the image now
  bool crossed = false;          // another graphics drew into it meanwhile
  uint32_t left[8] = {};         // pixels the last frame left at the places `sampled` reads
  std::vector<uint32_t> edge;    // the edge pixels as the frame drawing now found them (edged frames)
};

// The pixels at eight places spread over the image's inside. They tell an image whose
// pixels are no longer those its last frame left (an image made anew where another was,
// its pixels wiped by their owner): what is known of its last frame is not trusted.
void sampled(const ImageFrame& f, uint32_t out[8]) {
  if (!f.pixels || f.width < 1 || f.height < 1) return;
  for (int32_t i = 0; i < 8; ++i) {
    const int32_t row = (2 * i + 1) * f.height / 16, column = ((5 * i + 3) % 8 * 2 + 1) * f.width / 16;
    out[i] = f.pixels[size_t(row) * size_t(f.stride / 4) + size_t(column)];
  }
}

// The pixels of the image's first and last rows and columns, row by row, into `out`.
void edge_pixels(const ImageFrame& f, std::vector<uint32_t>& out) {
  out.clear();
  if (!f.pixels || f.width < 1 || f.height < 1) return;
  const size_t stride = size_t(f.stride / 4);
  for (int32_t y = 0; y < f.height; ++y) {
    const uint32_t* row = f.pixels + size_t(y) * stride;
    if (y == 0 || y == f.height - 1) {
      out.insert(out.end(), row, row + f.width);
    } else {
      out.push_back(row[0]);
      out.push_back(row[f.width - 1]);
    }
  }
}

std::unordered_map<const GaugeImage*, ImageFrame> g_frames;
std::vector<uint32_t> g_edge_now;  // the edge an edged frame leaves
// The drawings held by the one graphics that holds (their room kept between frames), their
// points in a room of their own: each drawing's own room would stay as large as the most
// points held in its place, by any image.
std::vector<GfxKeptCall> g_held;
GfxPointRoom g_held_points;
size_t g_held_count = 0;
const GfxGraphics* g_holder = nullptr;

// Words taken two by two, each pair multiplied under keys of its place (the products
// independent of each other, so that they overlap in the processor), their halves summed.
struct Hasher {
  static constexpr size_t ROOM = 64;
  uint64_t w[ROOM];
  size_t n = 0;
  uint64_t sum = 0, count = 0;
  void word(uint64_t v) {
    if (n == ROOM) mix();
    w[n++] = v;
  }
  void mix() {
    if (n & 1) w[n++] = 0;
    for (size_t i = 0; i < n; i += 2) {
      ++count;
      const unsigned __int128 p = (unsigned __int128)(w[i] ^ (0x9E3779B97F4A7C15ull * count)) *
                                  (w[i + 1] ^ (0xC2B2AE3D27D4EB4Full + count * 0x165667B19E3779F9ull));
      sum += uint64_t(p) ^ uint64_t(p >> 64);
    }
    n = 0;
  }
  void real(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    word(bits);
  }
  void bytes(const void* p, size_t size) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    word(size);
    for (; size >= 8; size -= 8, b += 8) {
      uint64_t bits;
      std::memcpy(&bits, b, 8);
      word(bits);
    }
    uint64_t tail = 0;  // put together in a register (a short copy through memory stalls the load)
    for (size_t i = 0; i < size; ++i) tail |= uint64_t(b[i]) << (8 * i);
    word(tail);
  }
  uint64_t done() {
    mix();
    uint64_t x = sum ^ count;
    x = (x ^ (x >> 33)) * 0xFF51AFD7ED558CCDull;
    x = (x ^ (x >> 33)) * 0xC4CEB9FE1A85EC53ull;
    return x ^ (x >> 33);
  }
};

// The hash of the graphics' transform and settings, made again only when they change.
struct StateHash {
  GfxSettings settings;
  bool made = false;
  uint64_t hash = 0;
};

uint64_t state_hash(const GfxGraphics* g, StateHash& s) {
  const GfxSettings now = GfxSettings::of(g);
  if (s.made && now.same(s.settings)) return s.hash;
  Hasher k;
  const GfxMatrix& m = now.m;
  for (double v : {m.m11, m.m12, m.m21, m.m22, m.dx, m.dy}) k.real(v);
  k.word(uint64_t(uint32_t(now.smoothing)) | uint64_t(uint32_t(now.text_hint)) << 32);
  k.word(uint64_t(uint32_t(now.pixel_offset)) | uint64_t(now.clip_on) << 32);
  s = StateHash{now, true, k.done()};
  return s.hash;
}

// Numbers of a call's `a` the raster reads.
size_t numbers_read(GfxOp op) {
  switch (op) {
    case GfxOp::Arc:
      return 6;
    case GfxOp::FillEllipse:
    case GfxOp::Rect:
    case GfxOp::FillRect:
    case GfxOp::Text:
      return 4;
    default:
      return 0;
  }
}

uint64_t call_hash(const GfxGraphics* g, StateHash& state, const GfxRasterCall& c) {
  Hasher k;
  k.word(uint64_t(c.op) | uint64_t(c.argb) << 32);
  k.word(state_hash(g, state));
  if (c.pen) {
    k.word(uint64_t(c.pen->argb) | uint64_t(uint32_t(c.pen->dash)) << 32 | uint64_t(c.pen->has_cap) << 63);
    k.real(c.pen->width);
    if (c.pen->has_cap) {
      k.real(c.pen->cap.height);
      k.real(c.pen->cap.width);
      k.word(c.pen->cap.filled);
    }
  }
  for (size_t i = 0; i < numbers_read(c.op); ++i) k.real(c.a[i]);
  if (c.pts) k.bytes(c.pts, sizeof(GfxPoint) * size_t(c.n));
  if (c.text) k.bytes(c.text->data(), c.text->size());
  if (c.font) k.word(c.font->hash);
  if (c.clip)
    for (const std::vector<GfxPointF>& poly : *c.clip) k.bytes(poly.data(), sizeof(GfxPointF) * poly.size());
  return k.done();
}

}  // namespace

struct GfxRepeat {
  ImageFrame* frame;
  StateHash state;
  std::vector<uint64_t> hashes;  // this frame's
  bool holding;                  // every drawing so far repeats the last frame's, and is held
  bool drew;                     // a drawing other than a clip call came
  bool unfollowed;               // its first drawing did not set every pixel, nor all but the edge's
  bool edged;                    // its first drawing set every pixel but the edge's
  bool clip_held;                // a clip call was held (and carried out)
};

namespace {

// A drawing that sets every pixel, whatever the image held: a clear, or an opaque fill
// over it all.
bool wipes_image(GfxGraphics* g, const GfxRasterCall& c, int32_t edge = 0) {
  return c.op == GfxOp::Clear ||
         (c.op == GfxOp::FillRect && raster_fill_covers_image(g, c.argb, c.a[0], c.a[1], c.a[2], c.a[3], edge));
}

void hold(GfxGraphics* g, const GfxRasterCall& c) {
  if (g_held_count == g_held.size()) g_held.emplace_back();
  g_held[g_held_count++].keep(g, c, c.pts ? g_held_points.take(size_t(std::max(c.n, 0))) : nullptr);
}

// Ends the hold, the held drawings dropped.
void drop_hold(GfxRepeat& r) {
  r.holding = false;
  g_holder = nullptr;
  g_held_count = 0;
  g_held_points.empty();
}

// Draws what was held, each under the settings it came with, and lets go of the hold.
void let_go(GfxGraphics* g) {
  GfxRepeat& r = *g->repeat;
  const GfxSettings now = GfxSettings::of(g);
  if (r.clip_held) raster_reset_clip(g);  // the held clip calls were carried out: again, in order
  for (size_t i = 0; i < g_held_count; ++i) {
    g_held[i].settings.put(g);
    gfx_draw(g, g_held[i].kept());
  }
  now.put(g);
  drop_hold(r);
}

}  // namespace

void gfx_repeat_begin(GfxGraphics* g) {
  if (!g->cr) return;
  const GaugeImage* image = g->image;
  ImageFrame& f = g_frames[image];
  const bool same = f.pixels == image->pixels && f.width == image->width && f.height == image->height &&
                    f.stride == image->stride;
  uint32_t now[8] = {};
  if (same && f.known && !f.open) sampled(f, now);
  if (!same || (f.known && !f.open && std::memcmp(now, f.left, sizeof now) != 0)) {
    f = ImageFrame{};
    f.pixels = image->pixels;
    f.width = image->width;
    f.height = image->height;
    f.stride = image->stride;
  }
  if (f.open) {  // a second graphics on the image: its drawings are not followed,
    f.crossed = true;
    if (f.open->repeat && f.open->repeat->holding) let_go(f.open);  // and come after the first's
    return;
  }
  f.open = g;
  g->repeat = new GfxRepeat{&f, {}, {}, false, false, false, false, false};
  g->repeat->hashes.swap(f.spare);
  g->repeat->hashes.clear();
  if (f.known && f.steady && !g_holder) {
    g->repeat->holding = true;
    g_holder = g;
    g_held_count = 0;
    g_held_points.empty();
  }
}

void gfx_hand_to_raster(GfxGraphics* g, const GfxRasterCall& c) {
  GfxRepeat* r = g->repeat;
  if (!r || r->unfollowed) {
    gfx_draw(g, c);
    return;
  }
  if (!r->drew && !gfx_clip_op(c.op)) {
    r->drew = true;
    // A frame whose first drawing leaves pixels as they were, more than the edge's, is never
    // left as it stands: the rest of it is neither held nor hashed.
    if (!wipes_image(g, c)) {
      r->edged = wipes_image(g, c, 1);
      if (r->edged) {
        edge_pixels(*r->frame, r->frame->edge);  // nothing of this frame drawn yet
      } else {
        if (r->holding) let_go(g);
        r->unfollowed = true;
        gfx_draw(g, c);
        return;
      }
    }
  }
  const uint64_t hash = call_hash(g, r->state, c);
  const size_t at = r->hashes.size();
  r->hashes.push_back(hash);
  if (r->holding) {
    const std::vector<uint64_t>& last = r->frame->hashes;
    if (at < last.size() && last[at] == hash) {
      hold(g, c);
      r->clip_held = r->clip_held || gfx_clip_op(c.op);
      if (gfx_clip_op(c.op)) gfx_draw_now(g, c);  // on the graphics itself, not its bands
      return;
    }
    let_go(g);
  }
  gfx_draw(g, c);
}

bool gfx_repeat_holding(const GfxGraphics* g) { return g->repeat && g->repeat->holding; }

void gfx_repeat_end(GfxGraphics* g) {
  GfxRepeat* r = g->repeat;
  if (!r) return;
  ImageFrame& f = *r->frame;
  if (r->holding) {
    if (r->hashes.size() == f.hashes.size() && !f.crossed) {
      drop_hold(*r);  // the image holds this frame already
    } else {
      let_go(g);
    }
  }
  gfx_bands_flush(g);  // the pixels the frame leaves, before they are sampled
  const bool known = !f.crossed && !r->unfollowed;
  if (known && g->surface) raster_settle(g);  // a clear still pending written first: the pixels the frame leaves
  const bool repeated = f.known && known && r->hashes == f.hashes;
  // An edged frame that repeats the last drew again what the image held only where it left
  // the edge as it found it.
  bool edge_kept = !r->edged;
  if (r->edged && repeated) {
    edge_pixels(f, g_edge_now);
    edge_kept = g_edge_now == f.edge;
  }
  f.steady = repeated && edge_kept;
  f.known = known;
  if (f.known) sampled(f, f.left);
  f.open = nullptr;
  f.crossed = false;
  f.hashes.swap(r->hashes);
  f.spare.swap(r->hashes);
  delete r;
  g->repeat = nullptr;
}

uint64_t gfx_font_hash(const GfxFont& font) {
  Hasher k;
  k.bytes(font.family.data(), font.family.size());
  k.bytes(font.face.data(), font.face.size());
  k.real(font.size);
  k.word(uint32_t(font.style));
  return k.done();
}

void gfx_forget_frames() {
  for (auto it = g_frames.begin(); it != g_frames.end();) {
    if (!it->second.open) {
      it = g_frames.erase(it);
      continue;
    }
    it->second.hashes.clear();  // its graphics draws on, and what it draws is not followed
    it->second.crossed = true;
    ++it;
  }
  if (!g_holder) {
    g_held.clear();
    g_held.shrink_to_fit();
    g_held_points.release();
  }
}
