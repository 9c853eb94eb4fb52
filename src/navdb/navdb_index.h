// Hash indexes by ident over the static tables: chains of record indexes, newest first.
#pragma once

#include <cstdint>
#include <string_view>

struct NavIndex {
  int* head;   // mask + 1 chain heads; 0 = empty
  int mask;
  int* next;   // per record: the next record of its chain; 0 = end
};

inline uint32_t nav_ident_hash(std::string_view s) {
  uint32_t h = 2166136261u;
  for (char c : s) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  return h;
}

inline void nav_index_add(NavIndex& ix, int record, std::string_view key) {
  int& head = ix.head[nav_ident_hash(key) & static_cast<uint32_t>(ix.mask)];
  ix.next[record] = head;
  head = record;
}

// Adds a loader's records to an index in runs: each record's chain head is fetched when it
// is added and the run linked once it is full (or at flush), in the order of the adds, so the
// index is the one nav_index_add gives record by record; the fetches of a run overlap.
class NavIndexRun {
 public:
  explicit NavIndexRun(NavIndex& ix) : ix_(ix) {}
  NavIndexRun(const NavIndexRun&) = delete;
  NavIndexRun& operator=(const NavIndexRun&) = delete;
  ~NavIndexRun() { flush(); }
  void add(int record, std::string_view key) {
    const uint32_t bucket = nav_ident_hash(key) & static_cast<uint32_t>(ix_.mask);
    __builtin_prefetch(&ix_.head[bucket], 1);
    buckets_[count_] = bucket;
    records_[count_] = record;
    if (++count_ == kRun) flush();
  }
  void flush() {
    for (int i = 0; i < count_; ++i) {
      ix_.next[records_[i]] = ix_.head[buckets_[i]];
      ix_.head[buckets_[i]] = records_[i];
    }
    count_ = 0;
  }

 private:
  static constexpr int kRun = 64;
  NavIndex& ix_;
  uint32_t buckets_[kRun];
  int records_[kRun];
  int count_ = 0;
};

inline int nav_index_first(const NavIndex& ix, std::string_view key) {
  return ix.head[nav_ident_hash(key) & static_cast<uint32_t>(ix.mask)];
}

extern NavIndex nav_airport_index;       // by ident
extern NavIndex nav_navaid_index;        // by ident
extern NavIndex nav_intersection_index;  // by ident
extern NavIndex nav_airway_index;        // airway fixes by airway name
extern NavIndex apt_info_index;          // by ident

void clear_nav_indexes();
