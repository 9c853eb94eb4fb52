// Layout of the simulator's "FS2002 GPS DATA" shared-data block as this host serves it:
// the GPS route as a count followed by a fixed array of points. The host hands out a
// pointer to one GpsRouteData and its size through get_shared_data.
#pragma once

#include <cstdint>

constexpr const char* GPS_SHARED_DATA_NAME = "FS2002 GPS DATA";
constexpr int GPS_ROUTE_CAPACITY = 100;

struct GpsRoutePoint {
  char ident[8];  // null-terminated, at most 7 characters
  double lat;     // degrees, north positive
  double lon;     // degrees, east positive
};

struct GpsRouteData {
  int32_t count;  // points in use, 0..GPS_ROUTE_CAPACITY
  int32_t reserved;
  GpsRoutePoint points[GPS_ROUTE_CAPACITY];
};

static_assert(sizeof(GpsRoutePoint) == 24, "GpsRoutePoint is 24 bytes");
