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

inline int nav_index_first(const NavIndex& ix, std::string_view key) {
  return ix.head[nav_ident_hash(key) & static_cast<uint32_t>(ix.mask)];
}

extern NavIndex nav_airport_index;       // by ident
extern NavIndex nav_navaid_index;        // by ident
extern NavIndex nav_intersection_index;  // by ident
extern NavIndex nav_airway_index;        // airway fixes by airway name
extern NavIndex apt_info_index;          // by ident

void clear_nav_indexes();
