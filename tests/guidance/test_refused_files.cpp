// Paths that users and other add-ons set: a device, FIFO or folder is refused with a
// module message and never read (reading a FIFO or /dev/zero would never end).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "flightplan/plan_files.h"
#include "guidance/aircraft_file.h"
#include "guidance/performance_tables.h"
#include "guidance/settings.h"
#include "module/module_messages.h"
#include "navdb/navdb.h"
#include "sim_folder.h"

TEST(RefusedFiles, DevicesFifosAndFoldersAreNeverRead) {
  struct Row {
    const char* file;  // under the simulator folder
    void (*read)();
  };
  const Row rows[] = {
      {"vek/Aircraft/perf.txt", [] { PerformanceData = "perf.txt"; load_aircraft_perf_file(); }},
      {"vek/Aircraft/stands.txt", [] { ParkingFile = "stands.txt"; read_parking_position("GATE1"); }},
      {"vek/navdata/apts.txt", [] { navdb_loaded = 0; load_navigation_database(); }},
      {"vek/navdata/vek_apts.txt", [] { EXPECT_EQ(lookup_vek_airport("KSEA", "16L"), 0); }},
      {"vek/flightplans/X.RTE", [] { EXPECT_EQ(load_plan_file("X.RTE", 0), 0); }},
  };
  for (const Row& row : rows) {
    for (const std::string kind : {"fifo", "folder", "link to /dev/zero"}) {
      SimFolder sim;
      std::filesystem::path path = std::filesystem::path(sim.root()) / row.file;
      std::filesystem::create_directories(path.parent_path());
      if (kind == "fifo") {
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
      } else if (kind == "folder") {
        std::filesystem::create_directory(path);
      } else {
        std::filesystem::create_symlink("/dev/zero", path);
      }
      module_message_count = 0;
      row.read();
      std::string refused = "File '" + path.string() + "' refused: not a regular file";
      EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1, refused), 1)
          << row.file << ", " << kind;
    }
  }
}
