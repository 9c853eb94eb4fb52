// libFuzzer targets for the plan readers: the ".RTE" plan file (FPL_FUZZ_RTE) and the
// two ".PLN" forms (FPL_FUZZ_PLN_INI, FPL_FUZZ_PLN_XML). Each input is read as a whole
// file; the plan tables must keep their bounds and end record.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_import.h"
#include "flightplan/plan_files.h"

static void check_scan_table(int n) {
  if (fpl_scan_last < -1 || fpl_scan_last > FPL_MAX_LAST) std::abort();
  if (std::strcmp(fpl_scan[fpl_scan_last + 1].ident, "******") != 0) std::abort();
  if (n > FPL_MAX_LAST + 1) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
#if defined(FPL_FUZZ_RTE)
  int cruise = 0;
  double fuel = 0.0;
  int ok = parse_plan_text(reinterpret_cast<const char*>(data), size, cruise, fuel);
  check_scan_table(ok ? fpl_scan_last + 1 : 0);
  if (ok && (cruise < 0 || fuel < 0.0)) std::abort();
  // A plan that loads holds only values its pages can show and a save writes back.
  for (int i = 0; ok && i <= fpl_scan_last; ++i) {
    const FlightPlanWpt& r = fpl_scan[i];
    if (!(std::fabs(r.lat) <= 90.0 && std::fabs(r.lon) <= 180.0 && std::fabs(r.alt_constraint) <= 100000.0 &&
          std::fabs(r.spd_constraint) <= 2000.0 && std::fabs(r.intc_course) <= 999.0))
      std::abort();
  }
#elif defined(FPL_FUZZ_PLN_INI)
  std::string text = "[flightplan]\n";
  text.append(reinterpret_cast<const char*>(data), size);
  check_scan_table(parse_pln_text(text.data(), text.size()));
#elif defined(FPL_FUZZ_PLN_XML)
  // Whole documents, declaration included, so that valid seeds reach the waypoint reader.
  check_scan_table(parse_pln_text(reinterpret_cast<const char*>(data), size));
#endif
  return 0;
}
