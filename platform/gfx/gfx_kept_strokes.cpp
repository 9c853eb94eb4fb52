// Large strokes kept as the runs of their coverage. A display strokes its rings, arcs and
// frame lines at the same places frame after frame; a stroke too large for a stamp that
// is met again is kept as the runs its coverage filled, named by everything the coverage
// was made from, so that a later draw blends the same bytes the rasteriser would fill
// again. Released when the library stops.
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/gfx/gfx_internal.h"

namespace {

// Strokes kept in the newer half of the table, and their bytes (a frame's are far fewer).
constexpr size_t MAX_STROKES = 1024;
constexpr size_t MAX_BYTES = size_t(2) << 20;
// Slots of the table of strokes met once.
constexpr size_t SEEN_SLOTS = size_t(1) << 14;

// Keys are told apart by their bits, as they are hashed (-0 is not 0).
struct KeyHash {
  size_t operator()(const std::vector<double>& k) const { return gfx_hash_words(k.data(), k.size(), k.size()); }
};
struct KeyEqual {
  bool operator()(const std::vector<double>& a, const std::vector<double>& b) const {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
  }
};

// Two halves: the newer takes what is kept or found; when it is full the older is let go.
struct Table {
  using Half = std::unordered_map<std::vector<double>, GfxKeptStroke, KeyHash, KeyEqual>;
  Half halves[2];
  GfxHeldBits<size_t(1) << 16> held[2];  // of each half's keys: a turning map's strokes are each met once
  size_t bytes[2] = {0, 0};
  int32_t newer = 0;
  GfxSeenSlots<SEEN_SLOTS> seen;

  const GfxKeptStroke* insert(const std::vector<double>& key, GfxKeptStroke s) {
    if (halves[newer].size() >= MAX_STROKES || bytes[newer] >= MAX_BYTES) {
      newer = 1 - newer;
      halves[newer].clear();
      held[newer].clear();
      bytes[newer] = 0;
    }
    bytes[newer] += s.bits.size() + s.runs.size() * sizeof(GfxKeptStroke::Run);
    held[newer].add(KeyHash{}(key));
    return &(halves[newer][key] = std::move(s));
  }
} table;

}  // namespace

const GfxKeptStroke* raster_find_stroke(const std::vector<double>& key) {
  Table& t = table;
  const size_t hash = KeyHash{}(key);
  if (!t.held[0].may_hold(hash) && !t.held[1].may_hold(hash)) return nullptr;
  auto it = t.halves[t.newer].find(key);
  if (it != t.halves[t.newer].end()) return &it->second;
  Table::Half& older = t.halves[1 - t.newer];
  it = older.find(key);
  if (it == older.end()) return nullptr;
  GfxKeptStroke moved = std::move(it->second);
  t.bytes[1 - t.newer] -= moved.bits.size() + moved.runs.size() * sizeof(GfxKeptStroke::Run);
  older.erase(it);
  return t.insert(key, std::move(moved));
}

bool raster_stroke_met_before(const std::vector<double>& key) { return table.seen.met_before(KeyHash{}(key)); }

const GfxKeptStroke* raster_keep_stroke(const std::vector<double>& key, const GfxCoverage* c) {
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
  return table.insert(key, std::move(s));
}

const GfxKeptStroke* raster_keep_runs(const std::vector<double>& key, GfxKeptStroke s) {
  return table.insert(key, std::move(s));
}

size_t gfx_kept_strokes() { return table.halves[0].size() + table.halves[1].size(); }

void gfx_release_kept_strokes() { table = Table{}; }
