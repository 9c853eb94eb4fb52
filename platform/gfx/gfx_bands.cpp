// A tall image is drawn a band of rows per core, while its graphics is still drawing. Its
// graphics keeps the drawings handed to the raster (copies, with the settings each came
// under; it carries out only its clip calls on itself, for the visibility tests) and hands
// them on as they come to threads of their own, one per band. Each band draws every
// drawing that can reach its rows into them, through a graphics of its own over those rows,
// its origin moved up by the band's first row, so that it draws the pixels the whole image
// would, cut at its edges. At the frame's end, or when another graphics draws, the graphics
// waits for its bands to finish. Band i is always drawn by thread i, so that the masks,
// strokes and fonts each thread keeps are those of its own band, frame after frame.
// VEK_RASTER_THREADS sets the number of threads drawing bands (0: no bands).
#include <sched.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/gfx/gfx_internal.h"

namespace {

constexpr int32_t MAX_BANDS = 3;
// Fewer rows than this a band: the drawings' own cost, met in every band, outweighs the
// rows saved.
constexpr int32_t MIN_BAND_ROWS = 96;

// A text's layout box (float, as handed over).
GfxRectF layout_of(const GfxRasterCall& c) { return {float(c.a[0]), float(c.a[1]), float(c.a[2]), float(c.a[3])}; }

}  // namespace

struct GfxBands {
  struct Band {
    GaugeImage rows;  // the band's rows of the image
    GfxGraphics g;
    int32_t top;  // its first row in the image
  };
  int32_t n = 0;
  Band band[MAX_BANDS];
};

namespace {

void release(GfxBands* bands) {
  for (int32_t b = 0; b < bands->n; ++b) raster_close(&bands->band[b].g);
  delete bands;
}

// The device rows a drawing can ink (from `top` to `bottom`), from a box round what it draws
// in world units, widened by the pen's reach: all rows for a clear and the clip calls. A
// text's box is told from its layout (a box cuts it) or, without one, from its characters
// (none wider than two ems, lines two ems apart), from half an em above the layout point
// (its first line's cell starts there).
void ink_rows(const GfxGraphics* g, const GfxRasterCall& c, double& top, double& bottom) {
  top = -INFINITY, bottom = INFINITY;
  double box[4] = {INFINITY, INFINITY, -INFINITY, -INFINITY};  // x0 y0 x1 y1
  auto take = [&](double x, double y) {
    box[0] = std::min(box[0], x), box[1] = std::min(box[1], y);
    box[2] = std::max(box[2], x), box[3] = std::max(box[3], y);
  };
  double world = 0, device = 2;  // margins
  switch (c.op) {
    case GfxOp::Line:
    case GfxOp::FillPolygon:
      for (int32_t i = 0; i < c.n; ++i) take(c.pts[i].x, c.pts[i].y);
      break;
    case GfxOp::Arc:
    case GfxOp::Rect:
    case GfxOp::FillEllipse:
    case GfxOp::FillRect:
      take(c.a[0], c.a[1]);
      take(c.a[0] + c.a[2], c.a[1] + c.a[3]);
      break;
    case GfxOp::Text: {
      if (!c.text || !c.font) return;
      const double em = std::fabs(c.font->size);
      if (c.a[2] > 0 && c.a[3] > 0) {
        take(c.a[0], c.a[1]);
        take(c.a[0] + c.a[2], c.a[1] + c.a[3]);
        break;
      }
      const double lines = c.a[2] > 0 ? double(c.text->size()) : double(std::count(c.text->begin(), c.text->end(), '\n'));
      take(c.a[0] - 2 * em, c.a[1] - em / 2);
      take(c.a[0] + 2 * em * double(c.text->size() + 1), c.a[1] + 2 * em * (lines + 1));
      break;
    }
    default:
      return;
  }
  if (c.pen) {
    const double pw = c.pen->width > 0 ? c.pen->width : 1.0;
    if (c.pen->has_cap) world = (std::fabs(c.pen->cap.height) + std::fabs(c.pen->cap.width)) * pw;
    device += gfx_stroke_reach(g, c.pen, true);
  }
  if (!(box[0] <= box[2] && box[1] <= box[3])) return;
  double y0 = INFINITY, y1 = -INFINITY;
  for (double x : {box[0] - world, box[2] + world})
    for (double y : {box[1] - world, box[3] + world}) {
      const double dy = gfx_apply(g->m, x, y).y;
      y0 = std::min(y0, dy), y1 = std::max(y1, dy);
    }
  if (std::isfinite(y0) && std::isfinite(y1)) top = y0 - device, bottom = y1 + device;
}

// The threads that draw the bands, started with the first image drawn in bands and ended
// when the library stops, and the drawings kept for the one graphics that keeps them now
// (in blocks that never move, so that those handed on stay where they are while more are
// kept).
class BandThreads {
 public:
  static inline int32_t set_threads = -1;  // gfx_set_band_threads
  // Threads to draw bands (besides the one that draws the graphics): a core each, the
  // graphics' own left to it.
  static int32_t wanted() {
    if (set_threads >= 0) return set_threads;
    static const int32_t n = [] {
      if (const char* v = std::getenv("VEK_RASTER_THREADS")) return std::clamp(std::atoi(v), 0, MAX_BANDS);
      cpu_set_t set;
      const int32_t cores = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
      return std::clamp(cores - 1, 0, MAX_BANDS);
    }();
    return n;
  }
  GfxGraphics* keeper() const { return keeper_; }
  // Keeps the graphics' drawing and hands it on to its bands.
  void keep(GfxGraphics* g, const GfxRasterCall& c) {
    if (keeper_ == g && count_ == BLOCK * BLOCKS) finish();  // drawn so far; more to come
    if (keeper_ != g) begin(g);
    std::unique_ptr<GfxKeptCall[]>& block = blocks_[count_ / BLOCK];
    if (!block) block.reset(new GfxKeptCall[BLOCK]);
    GfxKeptCall& k = block[count_ % BLOCK];
    // The points go to the room of all the graphics' points: each drawing's own room would
    // stay as large as the most it held.
    k.keep(g, c, c.pts ? points_.take(size_t(std::max(c.n, 0))) : nullptr);
    ink_rows(g, c, k.top, k.bottom);
    if (++count_ % PUBLISH_EVERY == 0) {
      published_.store(uint32_t(count_), std::memory_order_release);
      if (count_ % WAKE_EVERY == 0) wake();
    }
  }
  // Waits for the keeper's bands to draw all it kept.
  void finish() {
    if (!keeper_) return;
    published_.store(uint32_t(count_), std::memory_order_release);
    closed_.store(true, std::memory_order_seq_cst);
    wake();
    // The display has nothing else to do meanwhile: it stays awake for as long as bands
    // usually take to finish (a thread woken from sleep starts later than that).
    int32_t left;
    const auto done = [&] { return (left = left_.load(std::memory_order_acquire)) == 0; };
    if (!awake_until(FINISH_AWAKE_US, done))
      while (!done()) left_.wait(left, std::memory_order_acquire);
    keeper_ = nullptr;
    count_ = 0;
    points_.empty();
  }
  void stop() {
    finish();
    if (!workers_.empty()) {
      stopping_ = true;
      session_.fetch_add(1, std::memory_order_seq_cst);
      session_.notify_all();
      for (std::thread& t : workers_) t.join();
      workers_.clear();
      stopping_ = false;
    }
    for (std::unique_ptr<GfxKeptCall[]>& block : blocks_) block.reset();
    points_.release();
  }
  ~BandThreads() { stop(); }

 private:
  // Pauses a thread spins through before it sleeps (some microseconds), how long a thread
  // stays awake after a graphics' bands are drawn, and the drawings kept between two counts
  // handed on (each takes the count's line of memory back from the threads reading it) and
  // between wake-ups of the threads asleep.
  static constexpr int32_t SPIN = 4000;
  static constexpr size_t PUBLISH_EVERY = 16, WAKE_EVERY = 64;
  static constexpr int64_t AWAKE_US = 1000, FINISH_AWAKE_US = 2000;
  // Drawings a block holds, and blocks a graphics' drawings fill before its bands finish.
  static constexpr size_t BLOCK = 256, BLOCKS = 1024;

  // A graphics begins keeping: its bands' threads are woken while it draws on.
  void begin(GfxGraphics* g) {
    finish();
    while (int32_t(workers_.size()) < g->bands->n) {
      const int32_t band = int32_t(workers_.size());
      workers_.emplace_back([this, band, seen = session_.load()] {
        gfx_set_thread_share(1.0 / std::max(wanted(), 1));
        work(band, seen);
      });
    }
    keeper_ = g;
    bands_ = g->bands;
    closed_.store(false, std::memory_order_relaxed);
    published_.store(0, std::memory_order_relaxed);
    left_.store(int32_t(workers_.size()), std::memory_order_relaxed);
    session_.fetch_add(1, std::memory_order_seq_cst);
    if (idle_.load(std::memory_order_seq_cst) > 0) session_.notify_all();
  }
  // Spins until `ready()` or for `us` microseconds (the clock read every 64 pauses); true
  // when ready.
  template <class Ready>
  static bool awake_until(int64_t us, Ready ready) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + std::chrono::microseconds(us);
    for (int32_t spin = 1; !ready(); ++spin) {
      if (spin % 64 == 0 && Clock::now() > until) return false;
      __builtin_ia32_pause();
    }
    return true;
  }
  // Waits for a session after `seen`: awake for a while (the next display's drawings come
  // soon after the last's, sooner than a sleeping thread wakes), then asleep.
  uint32_t next_session(uint32_t seen) {
    uint32_t now;
    if (awake_until(AWAKE_US, [&] { return (now = session_.load(std::memory_order_acquire)) != seen; })) return now;
    idle_.fetch_add(1, std::memory_order_seq_cst);
    while ((now = session_.load(std::memory_order_seq_cst)) == seen) session_.wait(seen, std::memory_order_seq_cst);
    idle_.fetch_sub(1, std::memory_order_seq_cst);
    return now;
  }
  void work(int32_t band, uint32_t seen) {
    for (;;) {
      seen = next_session(seen);
      if (stopping_) return;
      if (band < bands_->n) {
        draw(band);
      } else {  // not one of this graphics' bands: waits for its end
        while (!closed_.load(std::memory_order_acquire)) wait_for(published_.load(std::memory_order_acquire));
      }
      if (left_.fetch_sub(1, std::memory_order_acq_rel) == 1) left_.notify_one();
    }
  }
  // Waits for more drawings than `known`, or the end: awake a while (a wake-up costs the
  // graphics' thread more than a drawing), then asleep until woken with a batch of them.
  void wait_for(uint32_t known) {
    for (int32_t spin = 0; spin < SPIN; ++spin) {
      if (published_.load(std::memory_order_acquire) != known || closed_.load(std::memory_order_acquire)) return;
      __builtin_ia32_pause();
    }
    sleepers_.fetch_add(1, std::memory_order_seq_cst);
    const uint32_t signal = signal_.load(std::memory_order_seq_cst);
    if (published_.load(std::memory_order_seq_cst) == known && !closed_.load(std::memory_order_seq_cst))
      signal_.wait(signal, std::memory_order_seq_cst);
    sleepers_.fetch_sub(1, std::memory_order_seq_cst);
  }
  // Wakes the threads asleep waiting for drawings.
  void wake() {
    if (sleepers_.load(std::memory_order_seq_cst) == 0) return;
    signal_.fetch_add(1, std::memory_order_seq_cst);
    signal_.notify_all();
  }
  // Draws the drawings that reach the band's rows as they come, up to the last.
  void draw(int32_t b) {
    GfxBands::Band& band = bands_->band[b];
    GfxGraphics* g = &band.g;
    const double top = band.top, bottom = band.top + band.rows.height;
    std::vector<std::vector<GfxPointF>>& clip = gfx_per_thread<std::vector<std::vector<GfxPointF>>>();
    size_t i = 0;
    for (;;) {
      const bool closed = closed_.load(std::memory_order_acquire);
      const size_t n = published_.load(std::memory_order_acquire);
      for (; i < n; ++i) {
        const GfxKeptCall& k = blocks_[i / BLOCK][i % BLOCK];
        if (k.bottom < top || k.top > bottom) continue;
        k.settings.put(g);
        g->m.dy -= band.top;
        GfxRasterCall c = k.kept();
        if (c.clip) {
          clip.resize(c.clip->size());
          for (size_t f = 0; f < c.clip->size(); ++f) {
            clip[f].assign((*c.clip)[f].begin(), (*c.clip)[f].end());
            for (GfxPointF& p : clip[f]) p.y -= band.top;
          }
          c.clip = &clip;
        }
        gfx_draw_now(g, c);
      }
      if (closed) break;
      wait_for(uint32_t(n));
    }
    if (g->surface) raster_settle(g);
  }

  std::vector<std::thread> workers_;
  std::unique_ptr<GfxKeptCall[]> blocks_[BLOCKS];
  GfxPointRoom points_;
  size_t count_ = 0;
  GfxGraphics* keeper_ = nullptr;
  GfxBands* bands_ = nullptr;
  // What the threads read while they wait, on lines of memory of their own: the graphics'
  // thread writes its own fields without taking the lines from them.
  alignas(64) std::atomic<uint32_t> session_{0};  // counts graphics that kept drawings
  alignas(64) std::atomic<uint32_t> published_{0};  // drawings kept so far
  std::atomic<bool> closed_{false};     // the keeper kept its last
  std::atomic<int32_t> left_{0};        // threads still drawing the keeper's bands
  std::atomic<int32_t> idle_{0};        // threads asleep until the next session
  std::atomic<int32_t> sleepers_{0};    // threads asleep waiting for drawings
  std::atomic<uint32_t> signal_{0};     // what they sleep on, changed to wake them
  bool stopping_ = false;
  alignas(64) char end_[1] = {};  // the next object's fields on lines of their own
};

BandThreads threads;

}  // namespace

namespace {

// What is let go when the thread ends, last made first let go.
struct ThreadEnd {
  std::vector<std::pair<void (*)(void*), void*>> let_go;
  ~ThreadEnd() {
    for (auto it = let_go.rbegin(); it != let_go.rend(); ++it) it->first(it->second);
  }
};

}  // namespace

namespace {
[[gnu::tls_model("initial-exec")]] thread_local double thread_share = 1;
}  // namespace

double gfx_thread_share() { return thread_share; }
void gfx_set_thread_share(double share) { thread_share = share; }

void gfx_at_thread_end(void (*let_go)(void*), void* p) {
  [[gnu::tls_model("initial-exec")]] thread_local ThreadEnd end;
  end.let_go.emplace_back(let_go, p);
}

bool gfx_clip_op(GfxOp op) { return op == GfxOp::SetClip || op == GfxOp::ResetClip; }

void GfxKeptCall::keep(const GfxGraphics* g, const GfxRasterCall& c, GfxPoint* room) {
  call = c;  // its pointers aimed at the copies when drawn (`pts` may move meanwhile)
  settings = GfxSettings::of(g);
  if (c.pen) pen = *c.pen;
  points_in_room = c.pts && room;
  const GfxPoint* last = c.pts ? c.pts + std::max(c.n, 0) : c.pts;
  if (points_in_room)
    call.pts = room, std::copy(c.pts, last, room);
  else if (c.pts)
    pts.assign(c.pts, last);
  if (c.text) text = *c.text;
  if (c.font) font = *c.font;
  if (c.clip) {
    clip.resize(c.clip->size());
    for (size_t i = 0; i < c.clip->size(); ++i) clip[i].assign((*c.clip)[i].begin(), (*c.clip)[i].end());
  }
}

GfxRasterCall GfxKeptCall::kept() const {
  GfxRasterCall c = call;
  if (c.pen) c.pen = &pen;
  if (c.pts && !points_in_room) c.pts = pts.data();
  if (c.text) c.text = &text;
  if (c.font) c.font = &font;
  if (c.clip) c.clip = &clip;
  return c;
}

void gfx_draw_now(GfxGraphics* g, const GfxRasterCall& c) {
  const GfxBrush brush{c.argb};
  switch (c.op) {
    case GfxOp::Clear:
      raster_clear(g, c.argb);
      break;
    case GfxOp::Line:
      raster_stroke_line(g, c.pen, c.pts, c.n);
      break;
    case GfxOp::Arc:
      raster_stroke_arc(g, c.pen, c.a[0], c.a[1], c.a[2], c.a[3], c.a[4], c.a[5]);
      break;
    case GfxOp::FillEllipse:
      raster_fill_ellipse(g, &brush, c.a[0], c.a[1], c.a[2], c.a[3]);
      break;
    case GfxOp::FillPolygon:
      raster_fill_polygon(g, &brush, c.pts, c.n);
      break;
    case GfxOp::Rect:
      raster_stroke_rect(g, c.pen, c.a[0], c.a[1], c.a[2], c.a[3]);
      break;
    case GfxOp::FillRect:
      raster_fill_rect(g, &brush, c.a[0], c.a[1], c.a[2], c.a[3]);
      break;
    case GfxOp::Text:
      raster_text(g, *c.text, c.font, layout_of(c), &brush);
      break;
    case GfxOp::SetClip:
      raster_set_clip(g, *c.clip);
      break;
    case GfxOp::ResetClip:
      raster_reset_clip(g);
      break;
    default:
      break;
  }
}

void gfx_draw(GfxGraphics* g, const GfxRasterCall& c) {
  GfxGraphics* keeper = threads.keeper();
  if (keeper && keeper != g) threads.finish();  // its drawings come first
  if (!g->bands) {
    gfx_draw_now(g, c);
    return;
  }
  if (gfx_clip_op(c.op)) gfx_draw_now(g, c);
  threads.keep(g, c);
}

void gfx_bands_open(GfxGraphics* g) {
  const GaugeImage* image = g->image;
  const int32_t n = std::min(BandThreads::wanted(), image->height / MIN_BAND_ROWS);
  if (n < 1 || !g->cr) return;
  GfxBands* bands = new (std::nothrow) GfxBands{};
  if (!bands) return;
  bands->n = n;
  for (int32_t b = 0; b < n; ++b) {
    GfxBands::Band& band = bands->band[b];
    band.top = int32_t(int64_t(image->height) * b / n);
    const int32_t bottom = int32_t(int64_t(image->height) * (b + 1) / n);
    band.rows = GaugeImage{image->pixels + size_t(band.top) * size_t(image->stride / 4), image->width,
                           bottom - band.top, image->stride, nullptr};
    band.g.image = &band.rows;
    band.g.last = GFX_OK;
    band.g.clip_record = -1;
    raster_open(&band.g);
    if (!band.g.cr) {  // drawn whole instead
      bands->n = b;
      release(bands);
      return;
    }
  }
  g->bands = bands;
}

void gfx_bands_flush(GfxGraphics* g) {
  if (threads.keeper() == g) threads.finish();
}

void gfx_bands_close(GfxGraphics* g) {
  if (!g->bands) return;
  gfx_bands_flush(g);
  release(g->bands);
  g->bands = nullptr;
}

void gfx_bands_stop() { threads.stop(); }

void gfx_set_band_threads(int32_t n) { BandThreads::set_threads = n < 0 ? -1 : std::min(n, MAX_BANDS); }
