#include "navdb/navdb_load.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cctype>
#include <cstring>
#include <exception>
#include <iterator>
#include <memory>
#include <new>
#include <span>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "module/module_files.h"
#include "module/module_messages.h"
#include "module/module_paths.h"
#include "navdb/navdb.h"
#include "navdb/navdb_index.h"
#include "navdb/navdb_text.h"

namespace {

constexpr int kAirportHashSize = 1 << 16;
constexpr int kNavaidHashSize = 1 << 16;
constexpr int kIntersectionHashSize = 1 << 17;
constexpr int kAirwayHashSize = 1 << 15;
constexpr int kInfoHashSize = 1 << 16;

int airport_heads[kAirportHashSize];
int airport_next[nav_airport_slots];
int navaid_heads[kNavaidHashSize];
int navaid_next[nav_navaid_slots];
int intersection_heads[kIntersectionHashSize];
int intersection_next[nav_intersection_slots];
int airway_heads[kAirwayHashSize];
int airway_next[nav_airway_fix_slots];
int info_heads[kInfoHashSize];
int info_next[apt_info_slots];

// A set of 64-bit keys in one open-addressed table (linear probing): no allocation per key.
class KeySet {
 public:
  // True when `key` was not in the set (it is now).
  bool insert(uint64_t key) {
    if (key == kEmpty) return std::exchange(has_empty_, true) == false;
    if ((count_ + 1) * 4 > slots_.size() * 3) grow(slots_.size() * 2);
    if (!place(slots_, key)) return false;
    ++count_;
    return true;
  }
  // Room for `n` more keys without growing.
  void reserve(size_t n) {
    size_t need = 16;
    while (need * 3 < (count_ + n) * 4) need *= 2;
    if (need > slots_.size()) grow(need);
  }
  // Fetches the slot where `key` would be looked for first.
  void prefetch(uint64_t key) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[slot_of(key, slots_.size() - 1)]);
  }
  void clear() {
    slots_.clear();
    count_ = 0;
    has_empty_ = false;
  }

 private:
  static constexpr uint64_t kEmpty = 0;
  static size_t slot_of(uint64_t key, size_t mask) { return (key * 0x9E3779B97F4A7C15ull) >> 20 & mask; }
  static bool place(std::vector<uint64_t>& slots, uint64_t key) {
    const size_t mask = slots.size() - 1;
    for (size_t i = slot_of(key, mask);; i = (i + 1) & mask) {
      if (slots[i] == key) return false;
      if (slots[i] == kEmpty) {
        slots[i] = key;
        return true;
      }
    }
  }
  void grow(size_t size) {
    std::vector<uint64_t> bigger(size < 16 ? 16 : size, kEmpty);
    for (uint64_t k : slots_)
      if (k != kEmpty) place(bigger, k);
    slots_.swap(bigger);
  }
  std::vector<uint64_t> slots_;
  size_t count_ = 0;
  bool has_empty_ = false;
};

// Airway points already stored, by ident and position: later copies are flagged `dup`.
KeySet airway_fix_keys;

// Flags a loader's airway points `dup` in runs, as NavIndexRun links its records: each
// key's slot fetched when it is added, the keys stored in the order of the adds.
class AirwayFixRun {
 public:
  AirwayFixRun() = default;
  AirwayFixRun(const AirwayFixRun&) = delete;
  AirwayFixRun& operator=(const AirwayFixRun&) = delete;
  ~AirwayFixRun() { flush(); }
  void add(NavRecord& fix, uint64_t key) {
    airway_fix_keys.prefetch(key);
    fixes_[count_] = &fix;
    keys_[count_] = key;
    if (++count_ == kRun) flush();
  }
  void flush() {
    for (int i = 0; i < count_; ++i) fixes_[i]->dup = airway_fix_keys.insert(keys_[i]) ? 0 : 1;
    count_ = 0;
  }

 private:
  static constexpr int kRun = 64;
  NavRecord* fixes_[kRun];
  uint64_t keys_[kRun];
  int count_ = 0;
};

// Counts what a file's load refused and says so in the module messages.
void count_result(const char* file, const NavLoadResult& r) {
  nav_lines_skipped += r.skipped;
  nav_records_dropped += r.dropped;
  char text[96];
  if (r.records == 0 && r.dropped == 0) {
    std::snprintf(text, sizeof text, "%s holds no record", file);
    add_module_message(text);
  }
  if (r.skipped > 0) {
    std::snprintf(text, sizeof text, "%s '%d' lines skipped as malformed", file, r.skipped);
    add_module_message(text);
  }
  if (r.dropped > 0) {
    std::snprintf(text, sizeof text, "%s '%d' records dropped at capacity", file, r.dropped);
    add_module_message(text);
  }
}

bool word_present(std::string_view w) { return !w.empty() && w != "-"; }

#if defined(__SSE2__)
// Moves the 16-byte chunks numbered `Chunk` of `from` to `to`.
template <size_t... Chunk>
void copy_chunks(char* to, const char* from, std::index_sequence<Chunk...>) {
  (_mm_storeu_si128(reinterpret_cast<__m128i*>(to + 16 * Chunk),
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16 * Chunk))),
   ...);
}
#endif

// Puts `row` into a table's slot. The compiler copies rows of these sizes with a string
// instruction, whose start costs more than the copy: here it moves 16 bytes at a time
// (written out, not as a loop, which the compiler would make that instruction again).
template <typename Row>
void put_row(Row& slot, const Row& row) {
  static_assert(std::is_trivially_copyable_v<Row>);
#if defined(__SSE2__)
  constexpr size_t kChunks = sizeof(Row) / 16;
  char* to = reinterpret_cast<char*>(&slot);
  const char* from = reinterpret_cast<const char*>(&row);
  copy_chunks(to, from, std::make_index_sequence<kChunks>());
  if constexpr (sizeof(Row) % 16 != 0) std::memcpy(to + 16 * kChunks, from + 16 * kChunks, sizeof(Row) % 16);
#else
  slot = row;
#endif
}

// Stores a NavRecord at the end of a table; false when the table is full.
bool append_record(NavRecord* table, int& count, int slots) {
  if (count >= slots - 1) return false;
  ++count;
  put_row(table[count], NavRecord{});
  return true;
}

uint64_t fix_key(std::string_view ident, double lat, double lon) {
  uint64_t h = nav_ident_hash(ident);
  long long a = static_cast<long long>(lat * 1e6 + (lat < 0 ? -0.5 : 0.5));
  long long b = static_cast<long long>(lon * 1e6 + (lon < 0 ? -0.5 : 0.5));
  h = h * 1000003u ^ static_cast<uint64_t>(a);
  h = h * 1000003u ^ static_cast<uint64_t>(b);
  return h;
}

// One row per table: its warning name, fill and records dropped at its capacity, and
// where its entries (and their hash chain, if any) are kept.
struct TableCapacity {
  const char* name;
  const int* count;
  int limit;
  bool warned;
  int dropped;
  bool drop_posted;
  void* entries;
  size_t entry_bytes;
  int* chain;
};

// Rows of `tables`, in its order.
enum TableId { APTS, RWYS, NAVS, INTS, AWYS, BRKS, PROCS, LEGS, BDRYS, BDRY_PTS, APT_INFO };

TableCapacity tables[] = {
    {.name = "Apts", .count = &nav_airport_count, .limit = nav_airport_slots - 1, .entries = nav_airports,
     .entry_bytes = sizeof nav_airports[0], .chain = airport_next},
    {.name = "Rwys", .count = &nav_runway_count, .limit = nav_runway_slots - 1, .entries = nav_runways,
     .entry_bytes = sizeof nav_runways[0]},
    {.name = "Navs", .count = &nav_navaid_count, .limit = nav_navaid_slots - 1, .entries = nav_navaids,
     .entry_bytes = sizeof nav_navaids[0], .chain = navaid_next},
    {.name = "Ints", .count = &nav_intersection_count, .limit = nav_intersection_slots - 1, .entries = nav_intersections,
     .entry_bytes = sizeof nav_intersections[0], .chain = intersection_next},
    {.name = "Awys", .count = &nav_airway_fix_count, .limit = nav_airway_fix_slots - 1, .entries = nav_airway_fixes,
     .entry_bytes = sizeof nav_airway_fixes[0], .chain = airway_next},
    {.name = "AwyBrks", .count = &nav_airway_break_count, .limit = nav_airway_break_slots - 1,
     .entries = nav_airway_breaks, .entry_bytes = sizeof nav_airway_breaks[0]},
    {.name = "Procs", .count = &nav_proc_count, .limit = nav_proc_slots - 1, .entries = nav_procs,
     .entry_bytes = sizeof nav_procs[0]},
    {.name = "Legs", .count = &nav_proc_leg_count, .limit = nav_proc_leg_slots - 1, .entries = nav_proc_legs,
     .entry_bytes = sizeof nav_proc_legs[0]},
    {.name = "Bdrys", .count = &atc_boundary_count, .limit = atc_boundary_slots - 1, .entries = atc_boundaries,
     .entry_bytes = sizeof atc_boundaries[0]},
    {.name = "BdryPts", .count = &atc_boundary_point_count, .limit = atc_point_slots - 1,
     .entries = atc_boundary_points, .entry_bytes = sizeof atc_boundary_points[0]},
    {.name = "AptInfo", .count = &apt_info_count, .limit = apt_info_slots - 1, .entries = apt_infos,
     .entry_bytes = sizeof apt_infos[0], .chain = info_next},
};

// A record dropped at a table's capacity: counted for the file and for the table's message.
void drop(NavLoadResult& r, TableId table) {
  ++r.dropped;
  ++tables[table].dropped;
}

std::string nav_file_path(const char* name) {
  return vek_path(std::string("\\vek\\navdata\\") + name);
}

NavLoadResult load_sids_text(std::string_view text) { return load_procs_text(text, proc_kind_sid); }
NavLoadResult load_stars_text(std::string_view text) { return load_procs_text(text, proc_kind_star); }
NavLoadResult load_apps_text(std::string_view text) { return load_procs_text(text, proc_kind_appr); }

constexpr size_t kNavFileMaxBytes = static_cast<size_t>(nav_file_max_bytes);

// Where the system backs memory with 2 MB pages unasked, a table's last page can hold
// megabytes past its last entry: after a load those pages are given back.
constexpr uintptr_t kPageBytes = 4096, kLargePageBytes = uintptr_t(2) << 20;

uintptr_t up_to(uintptr_t at, uintptr_t unit) { return (at + unit - 1) & ~(unit - 1); }

// Gives `advice` for the pages of `unit` bytes that lie wholly within [from, to).
void advise_within(uintptr_t from, uintptr_t to, uintptr_t unit, int advice) {
  from = up_to(from, unit);
  to &= ~(unit - 1);
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, advice);
}

// Backs the pages wholly within [from, to) now, in one call, where each would otherwise
// take a fault of its own when first written (a system without the call leaves them to
// their faults).
void back_pages_now(uintptr_t from, uintptr_t to) { advise_within(from, to, kPageBytes, MADV_POPULATE_WRITE); }

struct RoomRelease {
  size_t mapped = 0;
  void operator()(char* p) const {
    if (p) ::munmap(p, mapped);
  }
};
using TextRoom = std::unique_ptr<char[], RoomRelease>;

// Room of `bytes` for a text, mapped on its own and given back whole when freed. Throws
// std::bad_alloc when none is to be had.
TextRoom text_room(size_t bytes) {
  const size_t mapped = up_to(bytes, kPageBytes);
  void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  return TextRoom(static_cast<char*>(p), RoomRelease{mapped});
}

// A file's text, read straight into room of the file's size: neither zero-filled first nor
// copied through a smaller buffer.
struct NavFileText {
  TextRoom bytes;
  size_t room = 0;
  std::string_view text;  // what was read, past a byte-order mark
};

// A table's arrays indexed by entry, each as its first byte and its bytes per entry: the
// entries, and their hash chain (none: 0).
std::array<std::pair<uintptr_t, size_t>, 2> arrays_of(const TableCapacity& t) {
  return {{{reinterpret_cast<uintptr_t>(t.entries), t.entry_bytes},
           {reinterpret_cast<uintptr_t>(t.chain), sizeof t.chain[0]}}};
}

// The slots a table's entries take: slot 0 and 1..count.
uintptr_t slots_in_use(const TableCapacity& t) { return static_cast<uintptr_t>(std::clamp(*t.count, 0, t.limit)) + 1; }

// Gives back the pages of a table's arrays that lie wholly past its last entry (they hold
// none), and marks its 2 MB pages so that no later pass joins them into a large page again.
void release_unused_pages(const TableCapacity& t) {
  const uintptr_t slots = static_cast<uintptr_t>(t.limit) + 1;
  const uintptr_t used = slots_in_use(t);
  for (const auto& [at, bytes] : arrays_of(t)) {
    if (!at) continue;
    advise_within(at, at + slots * bytes, kLargePageBytes, MADV_NOHUGEPAGE);
    advise_within(at + used * bytes, at + slots * bytes, kPageBytes, MADV_DONTNEED);
  }
}

// Room for the text of an opened file, and a byte more, to meet its end within it.
void make_room(std::FILE* file, NavFileText& t) {
  struct stat st {};
  if (::fstat(::fileno(file), &st) != 0) return;
  t.room = std::min(static_cast<size_t>(st.st_size), kNavFileMaxBytes) + 1;
  t.bytes = text_room(t.room);
}

// Reads an opened file whole into `t` and closes it; false when it cannot be read or holds
// more than the navigation files' bound (it may have grown since it was opened).
bool read_nav_text(std::FILE* opened, NavFileText& t) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(opened, std::fclose);
  const uintptr_t room = reinterpret_cast<uintptr_t>(t.bytes.get());
  back_pages_now(room, room + up_to(t.room, kPageBytes));
  size_t size = 0;
  while (true) {
    if (size == t.room) {
      // More than it held when opened: room for more, up to a byte past the bound.
      if (t.room > kNavFileMaxBytes) return false;
      const size_t room = std::min(std::max<size_t>(2 * t.room, 65536), kNavFileMaxBytes + 1);
      TextRoom bytes = text_room(room);
      if (size > 0) std::memcpy(bytes.get(), t.bytes.get(), size);
      t.bytes = std::move(bytes);
      t.room = room;
    }
    const ssize_t n = ::read(::fileno(file.get()), t.bytes.get() + size, t.room - size);
    if (n < 0) return false;
    if (n == 0) break;
    size += static_cast<size_t>(n);
  }
  t.text = std::string_view(t.bytes.get(), size);
  // A UTF-8 byte-order mark is no part of the first line.
  if (t.text.starts_with("\xEF\xBB\xBF")) t.text.remove_prefix(3);
  return true;
}

// A table a file's lines fill, with the first letter of the lines that fill it (0: any line).
struct NavFileRows {
  TableId table;
  char line_kind;
};
constexpr NavFileRows kAirportRows[] = {{APTS, 'A'}, {RWYS, 'R'}}, kNavaidRows[] = {{NAVS, 0}},
                      kIntersectionRows[] = {{INTS, 0}}, kAirwayRows[] = {{AWYS, 0}},
                      kProcRows[] = {{PROCS, 'P'}, {LEGS, 'L'}}, kInfoRows[] = {{APT_INFO, 0}},
                      kBoundaryRows[] = {{BDRYS, 'B'}, {BDRY_PTS, 0}};

// The database files in their load order. Files of one group fill the same tables and load
// one after another; the groups share no table and load side by side.
struct NavFile {
  const char* name;
  NavLoadResult (*loader)(std::string_view);
  int group;
  std::span<const NavFileRows> rows;
};
constexpr NavFile nav_files[] = {
    {"apts.txt", load_apts_text, 0, kAirportRows},       {"apts_user.txt", load_apts_text, 0, kAirportRows},
    {"navs.txt", load_navs_text, 1, kNavaidRows},        {"navs_user.txt", load_navs_text, 1, kNavaidRows},
    {"ints.txt", load_ints_text, 2, kIntersectionRows},  {"ints_user.txt", load_ints_text, 2, kIntersectionRows},
    {"awys.txt", load_awys_text, 3, kAirwayRows},        {"awys_user.txt", load_awys_text, 3, kAirwayRows},
    {"fsb_awy2.txt", load_awys_text, 3, kAirwayRows},    {"sids.txt", load_sids_text, 4, kProcRows},
    {"sids_user.txt", load_sids_text, 4, kProcRows},     {"stars.txt", load_stars_text, 4, kProcRows},
    {"stars_user.txt", load_stars_text, 4, kProcRows},   {"apps.txt", load_apps_text, 4, kProcRows},
    {"apt_additional_info.txt", load_apt_info_text, 0, kInfoRows},  // looks its airports up
    {"atc_bdry.txt", load_atc_bdry_text, 5, kBoundaryRows},  // unless loaded already; its refusal and count come last
};
constexpr int kNavFileCount = static_cast<int>(std::size(nav_files));
constexpr int kBoundaryFile = kNavFileCount - 1;
constexpr int kNavFileGroups = 6;

// Backs, before a file is parsed, the rows its lines can fill past each table's last entry,
// in one call per array, where each page would otherwise take a fault as its rows are
// written. Pages past the rows the file does fill are given back after the load.
void back_rows_ahead(const NavFile& file, std::string_view text) {
  for (const NavFileRows& rows : file.rows) {
    const TableCapacity& t = tables[rows.table];
    const uintptr_t from = slots_in_use(t);
    const uintptr_t lines = count_lines(text, rows.line_kind);
    const uintptr_t to = std::min<uintptr_t>(from + lines, static_cast<uintptr_t>(t.limit) + 1);
    for (const auto& [at, bytes] : arrays_of(t))
      if (at) back_pages_now(at + from * bytes, at + to * bytes);
  }
}

// Opens the files in order (their refusals are posted in file order), then each group
// reads and parses its files in a thread of its own, and each file's result is counted in
// file order, the boundaries' refusal and count last: the tables and the messages are
// those of loading the files one by one, then the boundaries.
void load_nav_files() {
  std::FILE* files[kNavFileCount] = {};
  NavFileText texts[kNavFileCount];
  bool present[kNavFileCount] = {};
  NavLoadResult results[kNavFileCount];
  std::string boundary_path;
  const char* boundary_refusal = nullptr;
  const bool boundaries = atc_boundaries_loaded == 0;
  atc_boundaries_loaded = 1;  // a missing file is not tried again
  for (int f = 0; f < kNavFileCount; ++f) {
    try {
      if (f != kBoundaryFile) {
        files[f] = open_regular_file(nav_file_path(nav_files[f].name), nav_file_max_bytes);
      } else if (boundaries) {
        boundary_path = nav_file_path(nav_files[f].name);
        files[f] = open_regular_file(boundary_path, nav_file_max_bytes, boundary_refusal);
      }
      // The text's room is taken here, before the groups start.
      if (files[f]) make_room(files[f], texts[f]);
    } catch (const std::exception&) {
      if (files[f]) std::fclose(files[f]);
      files[f] = nullptr;  // no memory for its name or its text: loaded as absent
    }
  }
  const char* unread[kNavFileCount] = {};  // why a file opened was not read
  auto load_group = [&](int group) {
    for (int f = 0; f < kNavFileCount; ++f) {
      if (nav_files[f].group != group || !files[f]) continue;
      try {
        present[f] = read_nav_text(files[f], texts[f]);
        if (!present[f]) unread[f] = texts[f].room > kNavFileMaxBytes ? "too large" : "unreadable";
      } catch (const std::exception&) {
        present[f] = false;  // no memory for it: loaded as absent
        unread[f] = "too large";
      }
      if (present[f]) {
        // A last line without its line end that stops inside a number was cut short: its last
        // number may be another ("-12" of "-122.5"); the line is refused, not read.
        std::string_view text = texts[f].text;
        const bool cut = !text.empty() && (std::isdigit(static_cast<unsigned char>(text.back())) || text.back() == '.');
        if (cut) text = text.substr(0, text.find_last_of("\r\n") + 1);
        back_rows_ahead(nav_files[f], text);
        results[f] = nav_files[f].loader(text);
        if (cut) ++results[f].skipped;
      }
      texts[f] = NavFileText();
    }
  };
  std::vector<std::thread> threads;
  for (int group = 0; group < kNavFileGroups; ++group) {
    try {
      threads.emplace_back(load_group, group);
    } catch (const std::system_error&) {
      load_group(group);  // no thread to be had: the caller loads it
    }
  }
  // The runway lengths are read whole with the database, beside its groups: a look-up then
  // reads only what changed since.
  std::string vek_apts_told;
  const auto read_runway_lengths = [&vek_apts_told] {
    try {
      vek_apts_told = read_vek_apts(0);
    } catch (const std::exception&) {
      vek_apts_told.clear();  // no memory for it: read again at a look-up
    }
  };
  try {
    threads.emplace_back(read_runway_lengths);
  } catch (const std::system_error&) {
    read_runway_lengths();
  }
  for (std::thread& t : threads) t.join();
  nav_tables_changed();
  for (int f = 0; f < kNavFileCount; ++f) {
    if (f == kBoundaryFile) post_file_refusal(boundary_path, boundary_refusal);
    if (unread[f]) post_file_refusal(nav_file_path(nav_files[f].name), unread[f]);
    if (present[f]) count_result(nav_files[f].name, results[f]);
  }
  if (!vek_apts_told.empty()) add_module_message(vek_apts_told);
}

}  // namespace

NavIndex nav_airport_index = {airport_heads, kAirportHashSize - 1, airport_next};
NavIndex nav_navaid_index = {navaid_heads, kNavaidHashSize - 1, navaid_next};
NavIndex nav_intersection_index = {intersection_heads, kIntersectionHashSize - 1, intersection_next};
NavIndex nav_airway_index = {airway_heads, kAirwayHashSize - 1, airway_next};
NavIndex apt_info_index = {info_heads, kInfoHashSize - 1, info_next};

void clear_nav_indexes() {
  std::memset(airport_heads, 0, sizeof airport_heads);
  std::memset(navaid_heads, 0, sizeof navaid_heads);
  std::memset(intersection_heads, 0, sizeof intersection_heads);
  std::memset(airway_heads, 0, sizeof airway_heads);
  std::memset(info_heads, 0, sizeof info_heads);
  airway_fix_keys.clear();
}

bool read_opened_nav_file(std::FILE* file, std::string& text) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> owned(file, std::fclose);
  text.clear();
  NavFileText t;
  make_room(file, t);
  if (!read_nav_text(owned.release(), t)) return false;
  text.assign(t.text);
  return true;
}

bool read_nav_file(const std::string& path, std::string& text) {
  text.clear();
  std::FILE* file = open_regular_file(path, nav_file_max_bytes);
  return file && read_opened_nav_file(file, text);
}

// apts.txt: "A ident lat lon elev name..." then its runways
// "R ident length lat lon heading freq app heading2".
NavLoadResult load_apts_text(std::string_view text) {
  NavLoadResult r;
  nav_tables_changed();
  // Airport that runway lines belong to; 0 = none, kDroppedAirport = dropped at capacity.
  constexpr int kDroppedAirport = -1;
  int airport = 0;
  NavIndexRun index(nav_airport_index);
  // A line's words: only the first n are its own (made once, not cleared for every line).
  std::string_view w[9];
  for_each_record_line(text, [&](std::string_view line) {
    ++r.lines;
    std::string_view rest;
    // Five words, then the other four of a runway line: an airport's name is not split.
    int n = split_words(line, 5, w, rest);
    if (n == 5 && w[0] == "R") n += split_words(rest, 4, w + 5, rest);
    if (n >= 5 && w[0] == "A") {
      double lat, lon;
      if (!word_present(w[1]) || !parse_lat(w[2], lat) || !parse_lon(w[3], lon)) {
        ++r.skipped;
        airport = 0;
        return;
      }
      if (!append_record(nav_airports, nav_airport_count, nav_airport_slots)) {
        drop(r, APTS);
        airport = kDroppedAirport;
        return;
      }
      NavRecord& a = nav_airports[nav_airport_count];
      const std::string_view ident = copy_text(a.ident, nav_ident_size, w[1]);
      copy_text(a.name, nav_name_size, rest);
      copy_text(a.type, nav_type_size, "APT");
      copy_word(a.extra, nav_extra_size, w[4]);
      a.lat = lat;
      a.lon = lon;
      index.add(nav_airport_count, ident);
      airport = nav_airport_count;
      ++r.records;
      return;
    }
    if (n == 9 && rest.empty() && w[0] == "R") {
      RwyRecord rw{};
      if (!word_present(w[1]) || !parse_int(w[2], rw.length_ft) || !parse_lat(w[3], rw.lat) ||
          !parse_lon(w[4], rw.lon) || !parse_heading(w[5], rw.heading) ||
          !parse_heading(w[8], rw.heading2) || rw.length_ft < 0 || airport == 0) {
        ++r.skipped;
        return;
      }
      if (airport == kDroppedAirport) {
        drop(r, RWYS);
        return;
      }
      NavRecord& a = nav_airports[airport];
      if (a.rwy_count >= apt_rwy_limit || nav_runway_count >= nav_runway_slots - 1) {
        drop(r, RWYS);
        return;
      }
      copy_text(rw.ident, rwy_ident_size, w[1]);
      copy_word(rw.freq, rwy_text_size, w[6]);
      copy_word(rw.app, rwy_text_size, w[7]);
      ++nav_runway_count;
      put_row(nav_runways[nav_runway_count], rw);
      if (a.rwy_count == 0) a.rwy_first = nav_runway_count;
      ++a.rwy_count;
      ++r.records;
      return;
    }
    ++r.skipped;
    // A bad airport line must not hand its runways to the previous airport.
    if (n >= 1 && w[0] == "A") airport = 0;
  });
  index.flush();
  return r;
}

// navs.txt: "ident type lat lon freq name..." with type "V" or "N".
NavLoadResult load_navs_text(std::string_view text) {
  NavLoadResult r;
  nav_tables_changed();
  NavIndexRun index(nav_navaid_index);
  for_each_record_line(text, [&](std::string_view line) {
    ++r.lines;
    std::string_view w[5];
    std::string_view rest;
    double lat, lon;
    if (split_words(line, 5, w, rest) != 5 || !word_present(w[0]) ||
        (w[1] != "V" && w[1] != "N") || !parse_lat(w[2], lat) || !parse_lon(w[3], lon)) {
      ++r.skipped;
      return;
    }
    if (!append_record(nav_navaids, nav_navaid_count, nav_navaid_slots)) {
      drop(r, NAVS);
      return;
    }
    NavRecord& v = nav_navaids[nav_navaid_count];
    const std::string_view ident = copy_text(v.ident, nav_ident_size, w[0]);
    copy_text(v.type, nav_type_size, w[1]);
    copy_word(v.freq, nav_freq_size, w[4]);
    copy_text(v.name, nav_name_size, rest);
    v.lat = lat;
    v.lon = lon;
    index.add(nav_navaid_count, ident);
    ++r.records;
  });
  index.flush();
  return r;
}

// ints.txt: "ident lat lon".
NavLoadResult load_ints_text(std::string_view text) {
  NavLoadResult r;
  NavIndexRun index(nav_intersection_index);
  for_each_record_line(text, [&](std::string_view line) {
    ++r.lines;
    std::string_view w[3];
    std::string_view rest;
    double lat, lon;
    if (split_words(line, 3, w, rest) != 3 || !rest.empty() || !word_present(w[0]) ||
        !parse_lat(w[1], lat) || !parse_lon(w[2], lon)) {
      ++r.skipped;
      return;
    }
    if (!append_record(nav_intersections, nav_intersection_count, nav_intersection_slots)) {
      drop(r, INTS);
      return;
    }
    NavRecord& x = nav_intersections[nav_intersection_count];
    const std::string_view ident = copy_text(x.ident, nav_ident_size, w[0]);
    copy_text(x.type, nav_type_size, "I");
    x.lat = lat;
    x.lon = lon;
    index.add(nav_intersection_count, ident);
    ++r.records;
  });
  index.flush();
  return r;
}

// awys.txt: "airway seq fix lat lon", and "airway seq -" for a break after point seq.
NavLoadResult load_awys_text(std::string_view text) {
  NavLoadResult r;
  nav_tables_changed();
  airway_fix_keys.reserve(count_lines(text));
  NavIndexRun index(nav_airway_index);
  AirwayFixRun fixes;
  for_each_record_line(text, [&](std::string_view line) {
    ++r.lines;
    std::string_view w[5];
    std::string_view rest;
    int seq;
    double lat, lon;
    int n = split_words(line, 5, w, rest);
    if (n == 3 && w[2] == "-" && word_present(w[0]) && parse_int(w[1], seq)) {
      if (nav_airway_break_count >= nav_airway_break_slots - 1) {
        drop(r, BRKS);
        return;
      }
      AirwayBreak& b = nav_airway_breaks[++nav_airway_break_count];
      copy_text(b.airway, nav_extra_size, w[0]);
      b.seq = seq;
      ++r.records;
      return;
    }
    if (n != 5 || !rest.empty() || !word_present(w[0]) ||
        !parse_int(w[1], seq) || !word_present(w[2]) || !parse_lat(w[3], lat) ||
        !parse_lon(w[4], lon)) {
      ++r.skipped;
      return;
    }
    if (!append_record(nav_airway_fixes, nav_airway_fix_count, nav_airway_fix_slots)) {
      drop(r, AWYS);
      return;
    }
    NavRecord& x = nav_airway_fixes[nav_airway_fix_count];
    const std::string_view ident = copy_text(x.ident, nav_ident_size, w[2]);
    const std::string_view airway = copy_text(x.extra, nav_extra_size, w[0]);
    copy_text(x.type, nav_type_size, "I");
    x.lat = lat;
    x.lon = lon;
    x.seq = seq;
    fixes.add(x, fix_key(ident, lat, lon));
    index.add(nav_airway_fix_count, airway);
    ++r.records;
  });
  fixes.flush();
  index.flush();
  return r;
}

// sids.txt, stars.txt, apps.txt: "P airport name runway" then its legs
// "L transition fix lat lon role alt spd".
NavLoadResult load_procs_text(std::string_view text, int kind) {
  NavLoadResult r;
  int proc = 0;  // block that leg lines belong to; 0 = none
  // A line's words: only the first n are its own (made once, not cleared for every line).
  std::string_view w[8];
  for_each_record_line(text, [&](std::string_view line) {
    ++r.lines;
    std::string_view rest;
    int n = split_words(line, 8, w, rest);
    if (n == 4 && w[0] == "P") {
      proc = 0;
      if (!word_present(w[1]) || !word_present(w[2]) || !word_present(w[3])) {
        ++r.skipped;
        return;
      }
      if (nav_proc_count >= nav_proc_slots - 1) {
        drop(r, PROCS);
        return;
      }
      ++nav_proc_count;
      ProcHeader& p = nav_procs[nav_proc_count];
      p = ProcHeader{};
      copy_text(p.airport, nav_ident_size, w[1]);
      copy_text(p.name, proc_name_size, w[2]);
      copy_text(p.runway, rwy_ident_size, w[3]);
      p.kind = kind;
      p.leg_first = nav_proc_leg_count + 1;
      proc = nav_proc_count;
      ++r.records;
      return;
    }
    if (n == 8 && rest.empty() && w[0] == "L") {
      ProcLeg leg{};
      if (proc == 0 || !word_present(w[2]) || !parse_lat(w[3], leg.lat) ||
          !parse_lon(w[4], leg.lon) || !parse_constraint(w[6], -2000.0, 99999.0, leg.alt) ||
          !parse_constraint(w[7], 0.0, 999.0, leg.spd)) {
        ++r.skipped;
        return;
      }
      ProcHeader& p = nav_procs[proc];
      if (p.leg_count >= proc_leg_slots - 1 || nav_proc_leg_count >= nav_proc_leg_slots - 1) {
        drop(r, LEGS);
        return;
      }
      copy_word(leg.transition, proc_name_size, w[1]);
      copy_text(leg.fix, nav_ident_size, w[2]);
      copy_word(leg.role, nav_type_size, w[5]);
      ++nav_proc_leg_count;
      put_row(nav_proc_legs[nav_proc_leg_count], leg);
      ++p.leg_count;
      ++r.records;
      return;
    }
    ++r.skipped;
    if (n >= 1 && w[0] == "P") proc = 0;
  });
  return r;
}

// atc_bdry.txt: "B ident label lat lon" (label position) then its points "lat lon".
NavLoadResult load_atc_bdry_text(std::string_view text) {
  NavLoadResult r;
  int bdry = 0;
  for_each_record_line(text, [&](std::string_view line) {
    ++r.lines;
    std::string_view w[5];
    std::string_view rest;
    int n = split_words(line, 5, w, rest);
    if (n == 5 && rest.empty() && w[0] == "B") {
      bdry = 0;
      AtcBoundary b{};
      if (!word_present(w[1]) || !parse_lat(w[3], b.label_lat) || !parse_lon(w[4], b.label_lon)) {
        ++r.skipped;
        return;
      }
      if (atc_boundary_count >= atc_boundary_slots - 1) {
        drop(r, BDRYS);
        return;
      }
      copy_text(b.ident, nav_ident_size, w[1]);
      copy_word(b.label, sizeof b.label, w[2]);
      b.first_point = atc_boundary_point_count + 1;
      ++atc_boundary_count;
      atc_boundaries[atc_boundary_count] = b;
      bdry = atc_boundary_count;
      ++r.records;
      return;
    }
    NavPoint p;
    if (n == 2 && bdry != 0 && parse_lat(w[0], p.lat) && parse_lon(w[1], p.lon)) {
      if (atc_boundary_point_count >= atc_point_slots - 1) {
        drop(r, BDRY_PTS);
        return;
      }
      ++atc_boundary_point_count;
      atc_boundary_points[atc_boundary_point_count] = p;
      ++atc_boundaries[bdry].count;
      return;
    }
    ++r.skipped;
    if (n >= 1 && w[0] == "B") bdry = 0;
  });
  return r;
}

// apt_additional_info.txt: "airport runway RIGHTPATTERN" and "I airport text...".
NavLoadResult load_apt_info_text(std::string_view text) {
  NavLoadResult r;
  for_each_record_line(text, [&](std::string_view line) {
    ++r.lines;
    std::string_view w[3];
    std::string_view rest;
    int n = split_words(line, 3, w, rest);
    if (n == 3 && rest.empty() && w[2] == "RIGHTPATTERN") {
      int apt = find_airport(std::string(w[0]));
      if (apt == 0) {
        ++r.skipped;
        return;
      }
      const NavRecord& a = nav_airports[apt];
      for (int k = 0; k < a.rwy_count; ++k) {
        RwyRecord& rw = nav_runways[a.rwy_first + k];
        if (text_equals(rw.ident, w[1])) {
          rw.right_pattern = 1;
          ++r.records;
          return;
        }
      }
      ++r.skipped;
      return;
    }
    n = split_words(line, 2, w, rest);
    if (n == 2 && w[0] == "I" && !rest.empty()) {
      int found = 0;
      for (int i = nav_index_first(apt_info_index, w[1]); i != 0; i = apt_info_index.next[i]) {
        if (text_equals(apt_infos[i].ident, w[1])) {
          found = i;
          break;
        }
      }
      if (found == 0) {
        if (apt_info_count >= apt_info_slots - 1) {
          drop(r, APT_INFO);
          return;
        }
        found = ++apt_info_count;
        apt_infos[found] = AptInfo{};
        copy_text(apt_infos[found].ident, nav_ident_size, w[1]);
        nav_index_add(apt_info_index, found, apt_infos[found].ident);
      }
      AptInfo& info = apt_infos[found];
      if (info.text1[0] == '\0') {
        copy_text(info.text1, apt_info_text_size, rest);
      } else if (info.text2[0] == '\0') {
        copy_text(info.text2, apt_info_text_size, rest);
      } else {
        ++r.dropped;  // a third text has no field, whatever the table's fill
        return;
      }
      ++r.records;
      return;
    }
    ++r.skipped;
  });
  return r;
}

int find_vek_airport_pair(std::string_view text, std::string_view airport, std::string_view entry,
                          std::string& value) {
  if (airport.empty() || entry.empty()) return 0;
  int result = 0;
  bool done = false;
  for_each_record_line(text, [&](std::string_view line) {
    if (done) return;
    std::string_view w[1];
    std::string_view rest;
    if (split_words(line, 1, w, rest) != 1 || w[0] != airport) return;
    done = true;  // only the airport's first line counts
    result = find_vek_pair(rest, entry, value);
  });
  return result;
}

int find_vek_pair(std::string_view pairs, std::string_view entry, std::string& value) {
  if (entry.empty()) return 0;
  std::string_view pair[2];
  while (split_words(pairs, 2, pair, pairs) == 2) {
    if (pair[0] == entry) {
      value = std::string(pair[1]);
      return 1;
    }
  }
  return 0;
}

void check_nav_capacity_warnings() {
  for (TableCapacity& t : tables) {
    char text[80];
    if (!t.warned && static_cast<long long>(*t.count) * 100 >= static_cast<long long>(t.limit) * 95) {
      std::snprintf(text, sizeof text, "%s '%d' approaching struct_limit", t.name, *t.count);
      add_module_message(text);
      t.warned = true;
    }
    if (!t.drop_posted && t.dropped > 0) {
      std::snprintf(text, sizeof text, "%s '%d' dropped at struct_limit", t.name, t.dropped);
      add_module_message(text);
      t.drop_posted = true;
    }
  }
}

void clear_navigation_database() {
  nav_airport_count = nav_navaid_count = nav_intersection_count = nav_airway_fix_count = 0;
  nav_runway_count = nav_proc_count = nav_proc_leg_count = 0;
  atc_boundary_count = atc_boundary_point_count = atc_boundaries_loaded = 0;
  apt_info_count = 0;
  near_airports_wide_count = near_airports_count = 0;
  near_navaids_wide_count = near_navaids_count = 0;
  near_airway_fixes_wide_count = near_airway_fixes_count = 0;
  near_airports_wide_centre = near_airports_centre = {-999.0, -999.0};
  near_navaids_wide_centre = near_navaids_centre = {-999.0, -999.0};
  near_airway_fixes_wide_centre = near_airway_fixes_centre = {-999.0, -999.0};
  nav_search_count = fix_match_count = 0;
  nav_airway_break_count = 0;
  for (TableCapacity& t : tables) {
    t.warned = t.drop_posted = false;
    t.dropped = 0;
  }
  nav_lines_skipped = nav_records_dropped = 0;
  navdb_loaded = 0;
  clear_nav_indexes();
  nav_tables_changed();
}

void load_atc_boundaries() {
  if (atc_boundaries_loaded) return;
  atc_boundaries_loaded = 1;  // a missing file is not tried again
  std::string text;
  if (read_nav_file(nav_file_path("atc_bdry.txt"), text)) count_result("atc_bdry.txt", load_atc_bdry_text(text));
  check_nav_capacity_warnings();
}

void load_navigation_database() {
  if (navdb_loaded) return;
  navdb_loaded = 1;
  load_nav_files();  // the boundaries too, unless loaded already
  for (const TableCapacity& t : tables) release_unused_pages(t);
  check_nav_capacity_warnings();
}
