// Navigation records for test scenes: an ident and type at a point.
#pragma once

#include "navdb/navdb.h"

inline NavRecord nav_record(const char* ident, NavPoint p, const char* type = "") {
  NavRecord r{};
  nav_copy_text(r.ident, sizeof r.ident, ident);
  nav_copy_text(r.type, sizeof r.type, type);
  r.lat = p.lat;
  r.lon = p.lon;
  return r;
}
