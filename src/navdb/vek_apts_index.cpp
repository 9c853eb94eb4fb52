#include "navdb/vek_apts_index.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include <sys/mman.h>
#include <unistd.h>

void ReleasePile::add(std::shared_ptr<const void> owner, const void* bytes, std::size_t size) {
  if (owner) blocks_.push_back({std::move(owner), static_cast<const char*>(bytes), size, 0});
}

void ReleasePile::release(std::size_t budget) {
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  while (budget > 0 && !blocks_.empty()) {
    Block& b = blocks_.front();
    const std::size_t step = std::min(budget, b.size - b.done);
    // The whole pages of the share; their memory reads as zeros after, and nothing reads it.
    const auto from = (reinterpret_cast<std::uintptr_t>(b.bytes + b.done) + page - 1) / page * page;
    const auto to = reinterpret_cast<std::uintptr_t>(b.bytes + b.done + step) / page * page;
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    b.done += step;
    budget -= step;
    if (b.done == b.size) blocks_.pop_front();  // frees what is left: a few pages at most
  }
}

namespace {

constexpr std::size_t kFirstSlots = 1024;
// Entries of the table before moved per line added: its slots, half as many as the table in
// use has, are all moved after a quarter of them in lines, before that table is full (three
// eighths of them in lines after it took over).
constexpr std::size_t kMovesPerAdd = 2;

std::uint32_t hash_of(std::string_view ident) {
  const std::size_t h = std::hash<std::string_view>{}(ident);
  return static_cast<std::uint32_t>(h ^ (h >> 32));
}

// Whether the line at `offset` of `text` starts with the word `ident`.
bool line_starts_with(std::string_view text, std::size_t offset, std::string_view ident) {
  if (text.substr(offset, ident.size()) != ident) return false;
  const std::size_t end = offset + ident.size();
  if (end == text.size()) return true;
  const char c = text[end];
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

VekAptsIndex::Table VekAptsIndex::make_table(std::size_t size) {
  Table t;
  t.slots = std::shared_ptr<Slot[]>(new Slot[size]);  // not cleared: its pages are touched a share at a time
  t.size = size;
  return t;
}

void VekAptsIndex::clear(Table& t, std::size_t upto) {
  if (upto <= t.cleared) return;
  std::memset(static_cast<void*>(t.slots.get() + t.cleared), 0, (upto - t.cleared) * sizeof(Slot));
  t.cleared = upto;
}

void VekAptsIndex::put(Table& t, Slot s) {
  const std::size_t mask = t.size - 1;
  std::size_t i = s.hash & mask;
  while (t.slots[i].line != 0) i = (i + 1) & mask;  // never full: an empty slot ends the run
  t.slots[i] = s;
}

bool VekAptsIndex::holds(const Table& t, std::string_view text, std::uint32_t hash, std::string_view ident,
                         std::size_t& offset) {
  if (!t.slots) return false;
  const std::size_t mask = t.size - 1;
  for (std::size_t i = hash & mask; t.slots[i].line != 0; i = (i + 1) & mask) {
    const Slot& s = t.slots[i];
    if (s.hash == hash && line_starts_with(text, s.line - 1, ident)) {
      offset = s.line - 1;
      return true;
    }
  }
  return false;
}

void VekAptsIndex::drop(Table& t, ReleasePile& pile) {
  pile.add(t.slots, t.slots.get(), t.size * sizeof(Slot));
  t = Table();
}

void VekAptsIndex::move_entries(std::size_t slots, ReleasePile& pile) {
  if (!previous_.slots) return;
  const std::size_t end = std::min(previous_.size, moved_ + slots);
  constexpr std::size_t kAhead = 8;  // the slots an entry further on goes to, fetched ahead
  for (; moved_ < end; ++moved_) {
    if (moved_ + kAhead < end) __builtin_prefetch(&table_.slots[previous_.slots[moved_ + kAhead].hash & (table_.size - 1)]);
    if (previous_.slots[moved_].line != 0) put(table_, previous_.slots[moved_]);
  }
  if (moved_ == previous_.size) {
    drop(previous_, pile);
    moved_ = 0;
  }
}

// Takes the next table: by then cleared and the one before moved, by their schedules.
void VekAptsIndex::grow(ReleasePile& pile) {
  if (!next_.slots) next_ = make_table(table_.slots ? table_.size * 2 : kFirstSlots);
  clear(next_, next_.size);
  move_entries(previous_.size, pile);
  previous_ = std::move(table_);
  moved_ = 0;
  table_ = std::move(next_);
  next_ = Table();
  grown_at_ = count_;
}

void VekAptsIndex::add(std::string_view text, const Line* lines, std::size_t count, ReleasePile& pile) {
  constexpr std::size_t kAhead = 8;
  std::uint32_t hashes[kAhead];
  for (std::size_t k = 0; k < count + kAhead; ++k) {
    if (k >= kAhead) add_one(text, lines[k - kAhead], hashes[k % kAhead], pile);
    if (k >= count) continue;
    hashes[k % kAhead] = hash_of(lines[k].ident);
    for (const Table* t : {&table_, &previous_}) {
      if (t->slots) __builtin_prefetch(&t->slots[hashes[k % kAhead] & (t->size - 1)]);
    }
  }
}

void VekAptsIndex::add_one(std::string_view text, const Line& line, std::uint32_t hash, ReleasePile& pile) {
  std::size_t found;
  if (holds(table_, text, hash, line.ident, found) || holds(previous_, text, hash, line.ident, found)) return;
  const std::size_t full = table_.size / 4 * 3;
  if (count_ >= full) grow(pile);
  put(table_, {hash, static_cast<std::uint32_t>(line.offset + 1)});
  ++count_;
  move_entries(kMovesPerAdd, pile);
  // The next table is cleared over the second half of the lines this one takes.
  const std::size_t limit = table_.size / 4 * 3;
  const std::size_t start = grown_at_ + (limit - grown_at_) / 2;
  if (count_ <= start) return;
  if (!next_.slots) next_ = make_table(table_.size * 2);
  clear(next_, std::min(next_.size, next_.size * (count_ - start) / (limit - start)));
}

std::size_t VekAptsIndex::find(std::string_view text, std::string_view ident) const {
  std::size_t offset = npos;
  if (ident.empty() || ident.find_first_of(" \t\r\n") != std::string_view::npos) return offset;  // never a first word
  const std::uint32_t hash = hash_of(ident);
  if (!holds(table_, text, hash, ident, offset)) holds(previous_, text, hash, ident, offset);
  return offset;
}

void VekAptsIndex::settle(std::size_t slots, ReleasePile& pile) {
  if (next_.slots) drop(next_, pile);
  move_entries(slots, pile);
}

void VekAptsIndex::discard(ReleasePile& pile) {
  drop(table_, pile);
  drop(previous_, pile);
  drop(next_, pile);
  moved_ = count_ = grown_at_ = 0;
}
