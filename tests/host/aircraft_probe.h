// Reading the aircraft model as the module does, and flying it at the host's rate.
#pragma once

#include "host/aircraft_model.h"
#include "platform/host/gauge_host.h"

namespace aircraft_probe {

// A numbered variable in raw units.
inline double raw(const simhost::AircraftModel& m, int id) {
  TokenVar t{};
  t.id = id;
  m.read_token(&t);
  return t.value;
}

// Flies `seconds` in steps of one host frame (1/18 s).
inline void fly(simhost::AircraftModel& m, double seconds) {
  for (int i = 0; i < static_cast<int>(seconds * 18); ++i) m.step(1.0 / 18.0);
}

}  // namespace aircraft_probe
