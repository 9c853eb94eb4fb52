// libFuzzer targets for the plan readers: the ".RTE" plan file (FPL_FUZZ_RTE) and the
// two ".PLN" forms (FPL_FUZZ_PLN_INI, FPL_FUZZ_PLN_XML). Each input is read as a whole
// file; the plan tables must keep their bounds and end record.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_import.h"
#include "flightplan/plan_files.h"

static void check_scan_table(int n, bool sim_plan) {
  if (fpl_scan_last < -1 || fpl_scan_last > FPL_MAX_LAST) std::abort();
  if (std::strcmp(fpl_scan[fpl_scan_last + 1].ident, "******") != 0) std::abort();
  if (n > FPL_MAX_LAST + 1) std::abort();
  // A plan loads whole or not at all, never with an altitude no page shows, and a
  // simulator plan never with a marker of the module's own.
  if (n < 0 && fpl_scan_last != -1) std::abort();
  for (int i = 0; i <= fpl_scan_last; ++i) {
    const FlightPlanWpt& r = fpl_scan[i];
    if (!r.ident[0] || r.alt_constraint > 99900.0) std::abort();
    if (sim_plan && (std::strcmp(r.ident, "******") == 0 || std::strcmp(r.ident, "DISCO") == 0 ||
                     std::strcmp(r.ident, "THEN") == 0))
      std::abort();
  }
}

// The listing's reading of a file's first and last bytes, as it reads them: at most 4 KB
// each, and texts that fit a list entry.
static void check_summary(const uint8_t* data, size_t size, bool sim_plan) {
  std::string_view all(reinterpret_cast<const char*>(data), size);
  std::string_view head = all.substr(0, size > 8192 ? 4096 : size);
  std::string_view tail = size > 8192 ? all.substr(size - 4096) : std::string_view();
  std::string first, last;
  if (sim_plan) pln_summary(head, tail, first, last);
  else rte_summary(head, tail, first, last);
  if (first.size() > 4096 || last.size() > 4096) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
#if defined(FPL_FUZZ_RTE)
  int cruise = 0;
  double fuel = 0.0;
  check_summary(data, size, false);
  int ok = parse_plan_text(reinterpret_cast<const char*>(data), size, cruise, fuel);
  check_scan_table(ok ? fpl_scan_last + 1 : 0, false);
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
  check_summary(reinterpret_cast<const uint8_t*>(text.data()), text.size(), true);
  check_scan_table(parse_pln_text(text.data(), text.size()), true);
#elif defined(FPL_FUZZ_PLN_XML)
  // Whole documents, declaration included, so that valid seeds reach the waypoint reader.
  check_summary(data, size, true);
  check_scan_table(parse_pln_text(reinterpret_cast<const char*>(data), size), true);
#endif
  return 0;
}
