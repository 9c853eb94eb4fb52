// One navigation-file loader per build (NAVDB_FUZZ_*): the input is a whole file's text.
// After the load, the lookups and nearby lists run over what was stored.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "navdb/navdb.h"
#include "navdb/navdb_load.h"

namespace {

// A small fixed database for the loaders that refer to airports.
[[maybe_unused]] constexpr const char* kAirports =
    "A KAAA 10 20 100 FIRST\nR 09 5000 10 20 90 110.30 ILS 90\nR 27 5000 10 20.1 270 - - 270\n"
    "A KBBB 11 21 200 SECOND\n";

void exercise_lookups() {
  if (nav_airport_count > 0) {
    std::string ident = nav_airports[1].ident;
    load_airport_block(ident, 1);
    load_airport_block(ident, 2);
    load_plan_airport_info(ident, 1);
    search_nav_ident(ident, 0);
    select_next_duplicate(1);
  }
  if (nav_airway_fix_count > 0) {
    load_airways_file(std::string("#") + nav_airway_fixes[1].extra);
    find_airway_index(nav_airway_fixes[1].ident);
  }
  build_near_airports(10.0, 20.0);
  build_near_airports_close(10.0, 20.0);
  build_near_navaids(10.0, 20.0);
  build_near_navaids_close(10.0, 20.0);
  build_near_airway_fixes(10.0, 20.0);
  build_near_airway_fixes_close(10.0, 20.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  clear_navigation_database();
#if defined(NAVDB_FUZZ_APTS)
  load_apts_text(text);
#elif defined(NAVDB_FUZZ_NAVS)
  load_navs_text(text);
#elif defined(NAVDB_FUZZ_INTS)
  load_ints_text(text);
#elif defined(NAVDB_FUZZ_AWYS)
  load_awys_text(text);
#elif defined(NAVDB_FUZZ_PROCS)
  load_apts_text(kAirports);
  int kind = size > 0 ? data[0] % 3 + 1 : proc_kind_sid;
  load_procs_text(text, kind);
  load_procs_text(text, proc_kind_appr);
#elif defined(NAVDB_FUZZ_ATC_BDRY)
  load_atc_bdry_text(text);
#elif defined(NAVDB_FUZZ_APT_INFO)
  load_apts_text(kAirports);
  load_apt_info_text(text);
#elif defined(NAVDB_FUZZ_VEK_APTS)
  std::string value;
  find_vek_airport_pair(text, "KAAA", "09", value);
  // The first word of the input as airport and key.
  size_t end = text.find_first_of(" \t\r\n");
  std::string_view first = text.substr(0, end == std::string_view::npos ? text.size() : end);
  find_vek_airport_pair(text, first, first, value);
#endif
  check_nav_capacity_warnings();
  exercise_lookups();
  return 0;
}
