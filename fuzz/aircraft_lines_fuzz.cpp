// Line readers of the aircraft folder and navigation data: the parking file
// (AIRCRAFT_FUZZ_PARKING) and the AIRAC header of the navaid file (AIRCRAFT_FUZZ_AIRAC).
// The input is a whole file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "guidance/aircraft_file.h"
#include "guidance/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::FILE* f = text.empty() ? nullptr : fmemopen(text.data(), text.size(), "rb");
  if (!f) return 0;
#if defined(AIRCRAFT_FUZZ_PARKING)
  // The first word of the input as the position asked for.
  std::string name = text.substr(0, text.find_first_of(" \t\r\n"));
  read_parking_lines(f, name);
  if (!std::isfinite(parking_lat) || !std::isfinite(parking_lon) || !std::isfinite(parking_heading)) std::abort();
  // A stand is taken whole or not at all: every value within its range.
  if (std::fabs(parking_lat) > 90.0 || std::fabs(parking_lon) > 180.0 || parking_heading < 0.0 ||
      parking_heading >= 360.0)
    std::abort();
#elif defined(AIRCRAFT_FUZZ_AIRAC)
  read_airac_header(f);
  if (nav_data_cycle.size() > 6 + 200 || nav_data_active.size() > 16) std::abort();
#endif
  std::fclose(f);
  return 0;
}
