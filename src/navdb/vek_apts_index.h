// The index of "vek_apts.txt" (runway lengths), built as a changed file is read a piece per
// look-up, and the memory of the texts and indexes it replaces, given back a share per
// look-up. Either done at once for a 200 MB file would hold a frame: clearing a table of its
// lines takes about 40 ms, giving back its text about 20 ms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>

// Blocks of memory no longer used, given back to the system a share at a time.
class ReleasePile {
 public:
  void add(std::shared_ptr<const void> owner, const void* bytes, std::size_t size);
  // Gives back up to `budget` bytes of pages; a block given back whole is freed.
  void release(std::size_t budget);

 private:
  struct Block {
    std::shared_ptr<const void> owner;
    const char* bytes;
    std::size_t size;
    std::size_t done;  // bytes from the block's start already given back
  };
  std::deque<Block> blocks_;
};

// Each airport's first line in a text read a piece at a time: ident -> the line's offset.
// The table grows with the lines added; the next, larger table is cleared a share per line
// added ahead of need, and takes over its predecessor's entries a share per line added or
// settled, so that adding a piece costs in proportion to its lines, whatever the file's size.
class VekAptsIndex {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  struct Line {
    std::size_t offset;      // in the text, below 4 GB
    std::string_view ident;  // the line's first word
  };
  // Adds each line in turn unless a line of its ident is in already. The slots of the lines
  // further on are fetched ahead: a large table's slots are far apart.
  void add(std::string_view text, const Line* lines, std::size_t count, ReleasePile& pile);
  // The offset of the first line of `ident`, npos when none.
  std::size_t find(std::string_view text, std::string_view ident) const;
  bool empty() const { return count_ == 0; }
  // Once nothing more is added: drops the table being cleared and moves up to `slots` entries
  // of the table being taken over.
  void settle(std::size_t slots, ReleasePile& pile);
  // Hands every table to `pile`; the index is empty after.
  void discard(ReleasePile& pile);

 private:
  struct Slot {
    std::uint32_t hash;  // the ident's; its low bits are its home slot
    std::uint32_t line;  // the line's offset + 1, 0 for an empty slot
  };
  struct Table {
    std::shared_ptr<Slot[]> slots;
    std::size_t size = 0;     // a power of two
    std::size_t cleared = 0;  // slots cleared from the start
  };
  static Table make_table(std::size_t size);
  static void clear(Table& t, std::size_t upto);  // slots [cleared, upto) emptied
  static void put(Table& t, Slot s);
  static bool holds(const Table& t, std::string_view text, std::uint32_t hash, std::string_view ident,
                    std::size_t& offset);
  void add_one(std::string_view text, const Line& line, std::uint32_t hash, ReleasePile& pile);
  void grow(ReleasePile& pile);
  void move_entries(std::size_t slots, ReleasePile& pile);
  static void drop(Table& t, ReleasePile& pile);

  Table table_;      // where lines are added; never more than three quarters full
  Table previous_;   // the table before, its entries moved into table_ from slot 0 on
  std::size_t moved_ = 0;  // slots of previous_ moved
  Table next_;       // the table after, being cleared
  std::size_t count_ = 0;     // idents held
  std::size_t grown_at_ = 0;  // count_ when table_ took over
};
