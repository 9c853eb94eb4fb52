// Large strokes kept as the runs of their coverage. A display strokes its rings, arcs and
// frame lines at the same places frame after frame; a stroke too large for a stamp that
// is met again is kept as the runs its coverage filled, named by everything the coverage
// was made from, so that a later draw blends the same bytes the rasteriser would fill
// again. Released when the library stops.
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace {

// Strokes kept in the newer half of the table, and their bytes (a frame's are far fewer).
constexpr size_t MAX_STROKES = 1024;
constexpr size_t MAX_BYTES = size_t(2) << 20;
// Slots of a half's index: twice its strokes, so that every probe meets an empty slot.
constexpr size_t SLOTS = 2 * MAX_STROKES;
// Slots of the table of strokes met once.
constexpr size_t SEEN_SLOTS = size_t(1) << 14;

// Keys are told apart by their bits, as they are hashed (-0 is not 0).
uint64_t key_hash(const std::vector<double>& k) { return gfx_hash_words(k.data(), k.size(), k.size()); }

size_t stroke_bytes(const GfxKeptStroke& s) { return s.bits.size() + s.runs.size() * sizeof(GfxKeptStroke::Run); }

// A half: its strokes in the order kept, their keys one after another in one array, and
// an index of them; nothing is allocated per stroke but its runs and bytes.
struct Half {
  struct Entry {
    size_t key_at, key_size;  // in `keys`
    bool live;                // false once moved to the newer half
    GfxKeptStroke stroke;
  };
  std::vector<Entry> entries;
  std::vector<double> keys;
  GfxSlotIndex<SLOTS> index;
  GfxHeldBits<size_t(1) << 16> held;  // of its keys' hashes: a turning map's strokes are each met once
  size_t bytes = 0;

  auto same(const std::vector<double>& k) const {
    return [this, &k](uint32_t i) {
      const Entry& e = entries[i];
      return e.key_size == k.size() && std::memcmp(keys.data() + e.key_at, k.data(), k.size() * sizeof(double)) == 0;
    };
  }
  Entry* lookup(const std::vector<double>& k, uint64_t hash) {
    if (!held.may_hold(hash)) return nullptr;
    const uint32_t i = index.find(hash, same(k));
    return i == index.NONE ? nullptr : &entries[i];
  }
  // Moves the key's stroke out.
  GfxKeptStroke take(const std::vector<double>& k, uint64_t hash) {
    Entry& e = entries[index.take(hash, same(k))];
    e.live = false;
    bytes -= stroke_bytes(e.stroke);
    return std::move(e.stroke);
  }
  // Strokes and bytes a half holds: the thread's part of them.
  size_t max_strokes = std::max(gfx_thread_part(MAX_STROKES), size_t(1));
  size_t max_bytes = gfx_thread_part(MAX_BYTES);

  bool full() const { return entries.size() >= max_strokes || bytes >= max_bytes; }
  // Under the most strokes (the caller turns a full half first).
  const GfxKeptStroke* insert(const std::vector<double>& k, uint64_t hash, GfxKeptStroke s) {
    if (entries.capacity() < max_strokes) entries.reserve(max_strokes);
    held.add(hash);
    bytes += stroke_bytes(s);
    index.add(hash, uint32_t(entries.size()), same(k));
    entries.push_back({keys.size(), k.size(), true, std::move(s)});
    keys.insert(keys.end(), k.begin(), k.end());
    return &entries.back().stroke;
  }
  size_t live() const {
    size_t n = 0;
    for (const Entry& e : entries) n += e.live;
    return n;
  }
  void clear() {
    entries.clear();
    keys.clear();
    index.clear();
    held.clear();
    bytes = 0;
  }
};

// Two halves: the newer takes what is kept or found; when it is full the older is let go.
struct Table {
  Half halves[2];
  int32_t newer = 0;
  GfxSeenSlots<SEEN_SLOTS> seen;

  Table() {
    for (Half& h : halves) h.index.limit(2 * h.max_strokes);
    seen.limit(gfx_thread_part(SEEN_SLOTS));
  }
  const GfxKeptStroke* insert(const std::vector<double>& key, uint64_t hash, GfxKeptStroke s) {
    if (halves[newer].full()) {
      newer = 1 - newer;
      halves[newer].clear();
    }
    return halves[newer].insert(key, hash, std::move(s));
  }
};


}  // namespace

const GfxKeptStroke* raster_find_stroke(const std::vector<double>& key) {
  Table& t = gfx_per_thread<Table>();
  const uint64_t hash = key_hash(key);
  if (Half::Entry* e = t.halves[t.newer].lookup(key, hash)) return &e->stroke;
  Half& older = t.halves[1 - t.newer];
  if (!older.lookup(key, hash)) return nullptr;
  return t.insert(key, hash, older.take(key, hash));
}

bool raster_stroke_met_before(const std::vector<double>& key) {
  return gfx_per_thread<Table>().seen.met_before(key_hash(key));
}

const GfxKeptStroke* raster_keep_stroke(const std::vector<double>& key, const GfxCoverage* c) {
  Table& table = gfx_per_thread<Table>();
  GfxKeptStroke s;
  if (c) {
    s.x = c->x, s.y = c->y;
    size_t size = 0;
    for (int32_t i = 0; i < c->run_count; ++i) size += size_t(c->runs[i].x1 - c->runs[i].x0);
    s.bits.resize(size);
    s.runs.reserve(size_t(c->run_count));
    size_t at = 0;
    for (int32_t i = 0; i < c->run_count; ++i) {
      const GfxCoverageRun& r = c->runs[i];
      const size_t n = size_t(r.x1 - r.x0);
      std::memcpy(s.bits.data() + at, c->bits + size_t(r.row) * size_t(c->stride) + size_t(r.x0), n);
      s.runs.push_back({r.row, r.x0, r.x1, at});
      at += n;
    }
  }
  return table.insert(key, key_hash(key), std::move(s));
}

const GfxKeptStroke* raster_keep_runs(const std::vector<double>& key, GfxKeptStroke s) {
  Table& table = gfx_per_thread<Table>();
  return table.insert(key, key_hash(key), std::move(s));
}

size_t gfx_kept_strokes() {
  const Table& table = gfx_per_thread<Table>();
  return table.halves[0].live() + table.halves[1].live();
}

void gfx_release_kept_strokes() { gfx_per_thread<Table>() = Table{}; }
