// Paths that users and other add-ons set: a device, FIFO or folder is refused with a
// module message and never read (reading a FIFO or /dev/zero would never end).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "flightplan/plan_files.h"
#include "guidance/aircraft_file.h"
#include "guidance/flight_log.h"
#include "guidance/performance_tables.h"
#include "guidance/settings.h"
#include "guidance/settings_file.h"
#include "flightplan/flight_plan.h"
#include "module/module_messages.h"
#include "module/trace_file.h"
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
    for (const std::string kind : {"fifo", "folder", "link to /dev/zero", "link loop"}) {
      SimFolder sim;
      std::filesystem::path path = std::filesystem::path(sim.root()) / row.file;
      std::filesystem::create_directories(path.parent_path());
      if (kind == "fifo") {
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
      } else if (kind == "folder") {
        std::filesystem::create_directory(path);
      } else if (kind == "link loop") {
        std::filesystem::create_symlink(path.filename(), path);
      } else {
        std::filesystem::create_symlink("/dev/zero", path);
      }
      module_message_count = 0;
      row.read();
      std::string refused =
          "File '" + path.string() + "' refused: " + (kind == "link loop" ? "unreadable" : "not a regular file");
      EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1, refused), 1)
          << row.file << ", " << kind;
    }
  }
}

// The files the module writes: a FIFO, a folder or a link in their place is never written
// through and never blocks the step; each path is refused with one message however often
// the writer runs.
TEST(RefusedFiles, LogsAreNeverWrittenThroughALinkOrIntoAFifo) {
  struct Row {
    const char* file;  // under the simulator folder
    void (*write)();
  };
  const Row rows[] = {
      {"vek/FlightLog/fpl.log",
       [] {
         log_initial_load_done = 1;
         flight_phase = -1;
         update_flight_phase_log(0);
       }},
      {"vek/FlightLog/Flight.log",
       [] {
         aircraft_name = "Twinjet";
         write_flight_log();
       }},
      {"vek1.log",
       [] {
         open_trace_file();
         trace_line("frame\n");
         close_trace_file();
       }},
  };
  for (const Row& row : rows) {
    for (const std::string kind : {"fifo", "folder", "link to the settings", "second name of the settings"}) {
      SimFolder sim;
      std::string settings = sim.write("vek/vek.cfg", "[Settings]\n");
      std::filesystem::path path = std::filesystem::path(sim.root()) / row.file;
      std::filesystem::create_directories(path.parent_path());
      if (kind == "fifo") {
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
      } else if (kind == "folder") {
        std::filesystem::create_directory(path);
      } else if (kind == "second name of the settings") {
        std::filesystem::create_hard_link(settings, path);
      } else {
        std::filesystem::create_symlink(settings, path);
      }
      module_message_count = 0;
      row.write();
      row.write();
      std::string refused = "File '" + path.string() + "' refused: " +
                            (kind == "second name of the settings" ? "more than one link" : "not a regular file");
      EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1, refused), 1)
          << row.file << ", " << kind;
      std::ifstream in(settings);
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      EXPECT_EQ(text, "[Settings]\n") << row.file << ", " << kind;
    }
  }
  aircraft_name.clear();
  flight_phase = 999;
  log_initial_load_done = 0;
}

// The trace stops at its size bound with one last line saying so.
TEST(RefusedFiles, TheTraceFileStopsAtItsSizeBound) {
  SimFolder sim;
  open_trace_file();
  ASSERT_NE(trace_file, nullptr);
  std::string line(1000, 'x');
  line += "\n";
  long lines = trace_file_max_bytes / static_cast<long>(line.size()) + 2;
  for (long i = 0; i < lines; ++i) trace_line("%s", line.c_str());
  EXPECT_EQ(trace_file, nullptr);
  std::uintmax_t size = std::filesystem::file_size(std::filesystem::path(sim.root()) / "vek1.log");
  EXPECT_LE(size, static_cast<std::uintmax_t>(trace_file_max_bytes) + 100);
  EXPECT_GT(size, static_cast<std::uintmax_t>(trace_file_max_bytes) - 2000);
  std::ifstream in(std::filesystem::path(sim.root()) / "vek1.log");
  in.seekg(-100, std::ios::end);
  std::string tail((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(tail.find("Trace stopped: vek1.log reached its size limit"), std::string::npos);
}

// A line longer than the trace keeps is cut with its line end: the next line starts on its
// own.
TEST(RefusedFiles, ACutTraceLineKeepsItsLineEnd) {
  SimFolder sim;
  open_trace_file();
  ASSERT_NE(trace_file, nullptr);
  trace_line("%s \n", std::string(2000, 'x').c_str());
  trace_line("next\n");
  close_trace_file();
  std::ifstream in(std::filesystem::path(sim.root()) / "vek1.log");
  std::string first, second;
  std::getline(in, first);
  std::getline(in, second);
  EXPECT_EQ(first, std::string(1022, 'x'));
  EXPECT_EQ(second, "next");
}

// The message list keeps the newest: a flight's log rows give way before any refusal, and
// a host reading by message number sees every message it has not seen, a dropped one as
// an empty text.
TEST(RefusedFiles, RefusalsOutliveAFlightOfLogRows) {
  module_message_count = 0;
  int32_t first = module_messages_posted + 1;
  add_module_message("File 'x' refused: not a regular file");
  for (int i = 0; i < 3 * module_message_limit; ++i) add_routine_module_message("log row " + std::to_string(i));
  add_module_message("WptChgSecs=600 out of range, ignored");
  EXPECT_EQ(module_message_count, module_message_limit);
  EXPECT_EQ(module_messages[1], "File 'x' refused: not a regular file");
  EXPECT_EQ(module_messages[module_message_limit], "WptChgSecs=600 out of range, ignored");
  EXPECT_STREQ(module_message_by_serial(first), "File 'x' refused: not a regular file");
  EXPECT_STREQ(module_message_by_serial(first + 1), "");  // the first log row, dropped
  EXPECT_STREQ(module_message_by_serial(module_messages_posted), "WptChgSecs=600 out of range, ignored");
  EXPECT_EQ(module_message_by_serial(module_messages_posted + 1), nullptr);
  // Refusals alone: the oldest gives way.
  for (int i = 0; i < module_message_limit; ++i) add_module_message("refusal " + std::to_string(i));
  EXPECT_EQ(module_messages[1], "refusal 0");
  EXPECT_EQ(module_messages[module_message_limit], "refusal " + std::to_string(module_message_limit - 1));
  module_message_count = 0;
}

// Every text file the module reads takes LF, CR LF and a lone CR as line ends, and a UTF-8
// byte-order mark before its first line: the same values read whichever it was written with.
TEST(RefusedFiles, EveryTextFileTakesEveryLineEndAndAByteOrderMark) {
  struct Row {
    const char* file;  // under the simulator folder
    std::vector<std::string> lines;
    std::function<bool()> read;  // reads the file; true when it read what it holds
  };
  const Row rows[] = {
      {"vek/vek.cfg", {"TransAlt=12000", "MinMapRange=40"},
       [] {
         settings_loaded = 0;
         TransAlt = 18000;
         MinMapRange = 10.0;
         read_vek_cfg();
         return TransAlt == 12000 && MinMapRange == 40.0;
       }},
      {"vek/Aircraft/Ends.cfg", {"MaxCruise=41000", "V1=127"},
       [] {
         aircraft_config_loaded = 0;
         aircraft_name = "Ends";
         MaxCruise = V1 = 0;
         read_aircraft_config();
         aircraft_name.clear();
         return MaxCruise == 41000 && V1 == 127;
       }},
      {"vek/Aircraft/perf.txt", {"[CLIMB]", "5000 300 2000 3000", "10000 320 2200 3100"},
       [] {
         PerformanceData = "perf.txt";
         load_aircraft_perf_file();
         return perf_climb_count == 2 && perf_climb[2].col[1] == 10000.0;
       }},
      {"vek/Aircraft/stands.txt", {"GATE1 47.25 8.5 90", "GATE2 -33.9 151.2 180"},
       [] {
         ParkingFile = "stands.txt";
         read_parking_position("GATE1");
         double lat = parking_lat;
         read_parking_position("GATE2");
         return lat == 47.25 && parking_heading == 180.0;
       }},
      {"vek/flightplans/ENDS.RTE", {"[FlightPlan]", "KSEA APT 47.449 -122.309 433", "KPDX APT 45.588 -122.597 31"},
       [] { return load_plan_file("ENDS.RTE", 0) == 1 && fpl_edit_last == 1; }},
      {"vek/flightplans/ENDS.PLN",
       {"[flightplan]", "destination_id=KPDX, N45* 35.32', W122* 35.85', +000031.00",
        "waypoint.0=, KSEA, , KSEA, A, N47* 26.94', W122* 18.56', +000433.00, ",
        "waypoint.1=, KPDX, , KPDX, A, N45* 35.32', W122* 35.85', +000031.00, "},
       [] { return load_plan_file("ENDS.PLN", 0) == 1 && fpl_edit_last == 1; }},
  };
  for (const Row& row : rows) {
    for (const char* end : {"\n", "\r\n", "\r"}) {
      for (const char* mark : {"", "\xEF\xBB\xBF"}) {
        SimFolder sim;
        std::string text = mark;
        for (const std::string& l : row.lines) text += l + end;
        sim.write(row.file, text);
        module_message_count = 0;
        EXPECT_TRUE(row.read()) << row.file << (end[0] == '\n' ? " LF" : end[1] ? " CR LF" : " CR")
                                << (mark[0] ? " with a byte-order mark" : "");
        EXPECT_EQ(module_message_count, 0) << row.file << ": " << module_messages[1];
      }
    }
  }
}

// Every refused or cut file or row is told once, by name: a plan that is no regular file
// where a unit asks for it, a navigation file's last line cut inside its number, performance
// rows past their capacity, a parking stand cut or short, a log the disk has no room for.
TEST(RefusedFiles, EveryRefusedOrCutFileOrRowIsTold) {
  struct Row {
    const char* what;
    std::function<void(const SimFolder&)> act;
    std::string told;  // the message, with "<root>" for the simulator folder
  };
  auto plan_kind = [](const char* kind) {
    return [kind](const SimFolder& sim) {
      std::string path = sim.root() + "/vek/flightplans/X.RTE";
      sim.make_dir("vek/flightplans");
      if (std::string(kind) == "fifo") {
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
      }
      if (std::string(kind) == "folder") std::filesystem::create_directory(path);
      if (std::string(kind) == "link to none") std::filesystem::create_symlink("none.RTE", path);
      if (std::string(kind) == "link loop") std::filesystem::create_symlink("X.RTE", path);
      list_plan_files();
      EXPECT_EQ(stored_plan_count, 1) << kind;  // only "NEW FPL"
      EXPECT_TRUE(stored_plan_refused("X")) << kind;
    };
  };
  // A plans folder made by `make`, listed twice: told once, nothing listed but "NEW FPL".
  auto listed_twice = [](void (*make)(const SimFolder&)) {
    return [make](const SimFolder& sim) {
      make(sim);
      list_plan_files();
      list_plan_files();
      EXPECT_EQ(stored_plan_count, 1);
    };
  };
  const Row rows[] = {
      {"a FIFO where a plan is asked for", plan_kind("fifo"),
       "File '<root>/vek/flightplans/X.RTE' refused: not a regular file"},
      {"a folder where a plan is asked for", plan_kind("folder"),
       "File '<root>/vek/flightplans/X.RTE' refused: not a regular file"},
      {"a link to none where a plan is asked for", plan_kind("link to none"),
       "File '<root>/vek/flightplans/X.RTE' refused: unreadable"},
      {"a link loop where a plan is asked for", plan_kind("link loop"),
       "File '<root>/vek/flightplans/X.RTE' refused: unreadable"},
      {"a navigation file cut in its last number",
       [](const SimFolder& sim) {
         sim.write("vek/navdata/ints.txt", "ALKIS 47.576000 -122.421000\nKTIW 47.300000 -12");
         navdb_loaded = 0;
         load_navigation_database();
         EXPECT_EQ(search_nav_ident("KTIW", 2), 0);
         EXPECT_EQ(search_nav_ident("ALKIS", 2), 1);
       },
       "ints.txt '1' lines skipped as malformed"},
      {"performance rows past the capacity",
       [](const SimFolder& sim) {
         std::string text = "[CLIMB]\n";
         for (int r = 0; r < perf_row_capacity + 3; ++r) text += std::to_string(r * 100) + " 300 2000 3000\n";
         sim.write("vek/Aircraft/perf.txt", text);
         PerformanceData = "perf.txt";
         load_aircraft_perf_file();
         EXPECT_EQ(perf_climb_count, perf_row_capacity);
       },
       "perf.txt '3' rows dropped at capacity"},
      {"a short stand line",
       [](const SimFolder& sim) {
         sim.write("vek/Aircraft/stands.txt", "SHORT 47.25 8.5\n");
         ParkingFile = "stands.txt";
         read_parking_position("SHORT");
         EXPECT_EQ(parking_lat, 0.0);
       },
       "Parking position 'SHORT' out of range, ignored"},
      {"a stand line cut in its heading",
       [](const SimFolder& sim) {
         sim.write("vek/Aircraft/stands.txt", "GATE2 1 2 3\nGATE1 47.25 8.5 9");
         ParkingFile = "stands.txt";
         read_parking_position("GATE1");
         EXPECT_EQ(parking_heading, 0.0);
       },
       "Parking position 'GATE1' out of range, ignored"},
      {"the flight log on a full disk",
       [](const SimFolder& sim) {
         sim.make_dir("vek/FlightLog");
         aircraft_name = "Twinjet";
         rlimit before {};
         getrlimit(RLIMIT_FSIZE, &before);
         rlimit full = before;
         full.rlim_cur = 8;  // as a full disk: the first bytes only
         auto handler = signal(SIGXFSZ, SIG_IGN);
         setrlimit(RLIMIT_FSIZE, &full);
         write_flight_log();
         write_flight_log();
         setrlimit(RLIMIT_FSIZE, &before);
         signal(SIGXFSZ, handler);
         aircraft_name.clear();
       },
       "File '<root>/vek/FlightLog/Flight.log' refused: disk full"},
      {"settings in UTF-16",
       [](const SimFolder& sim) {
         std::string utf16 = "\xFF\xFE";
         for (char c : std::string("[Settings]\r\nTransAlt=12000\r\n")) utf16 += std::string(1, c) + '\0';
         sim.write("vek/vek.cfg", utf16);
         settings_loaded = 0;
         read_vek_cfg();
         EXPECT_EQ(TransAlt, 18000);
       },
       "File '<root>/vek/vek.cfg' refused: no line reads"},
      {"an aircraft file filled with NULs",
       [](const SimFolder& sim) {
         sim.write("vek/Aircraft/Zeros.cfg", std::string(4096, '\0'));
         aircraft_config_loaded = 0;
         aircraft_name = "Zeros";
         read_aircraft_config();
         aircraft_name.clear();
       },
       "File '<root>/vek/Aircraft/Zeros.cfg' refused: no line reads"},
      {"performance tables in UTF-32",
       [](const SimFolder& sim) {
         std::string utf32 = std::string("\xFF\xFE\0\0", 4);
         for (char c : std::string("[CLIMB]\n5000 300 2000 3000\n")) utf32 += std::string(1, c) + std::string(3, '\0');
         sim.write("vek/Aircraft/perf.txt", utf32);
         PerformanceData = "perf.txt";
         load_aircraft_perf_file();
         EXPECT_EQ(perf_climb_count, 0);
       },
       "File '<root>/vek/Aircraft/perf.txt' refused: no line reads"},
      {"a plans folder that is a file",
       listed_twice([](const SimFolder& sim) { sim.write("vek/flightplans", "KSEA APT 47.449 -122.309\n"); }),
       "File '<root>/vek/flightplans' refused: not a folder"},
      {"a plans folder that is a FIFO",
       listed_twice([](const SimFolder& sim) {
         sim.make_dir("vek");
         ASSERT_EQ(mkfifo((sim.root() + "/vek/flightplans").c_str(), 0600), 0);
       }),
       "File '<root>/vek/flightplans' refused: not a folder"},
      {"a plans folder that is a link loop",
       listed_twice([](const SimFolder& sim) {
         sim.make_dir("vek");
         std::filesystem::create_symlink("flightplans", sim.root() + "/vek/flightplans");
       }),
       "File '<root>/vek/flightplans' refused: unreadable"},
      {"a plan name no load finds",
       listed_twice([](const SimFolder& sim) {
         sim.write("vek/flightplans/KSEA\\KPDX.RTE", "[FlightPlan]\nKSEA APT 47.449 -122.309\n");
       }),
       "File '<root>/vek/flightplans/KSEA\\KPDX.RTE' refused: not a plan name"},
      {"a plans folder of more refused entries than a listing opens",
       listed_twice([](const SimFolder& sim) {
         sim.make_dir("vek/flightplans");
         for (int i = 0; i < 2 * (STORED_PLAN_CAPACITY - 2) + 10; ++i) {
           char name[48];
           std::snprintf(name, sizeof name, "/vek/flightplans/F%04d.RTE", i);
           ASSERT_EQ(mkfifo((sim.root() + name).c_str(), 0600), 0);
         }
         // The plan past them is never reached.
         sim.write("vek/flightplans/Z.RTE", "[FlightPlan]\nKSEA APT 47.449 -122.309\n");
       }),
       "Plans folder '<root>/vek/flightplans/': entries past the first 604 opened not listed"},
      {"runway lengths emptied between two look-ups",
       [](const SimFolder& sim) {
         std::string file = sim.write("vek/navdata/vek_apts.txt", "KSEA 16L 11901 34R 11901\n");
         EXPECT_EQ(lookup_vek_airport("KSEA", "16L"), 1);
         std::ofstream(file, std::ios::trunc).flush();
         EXPECT_EQ(lookup_vek_airport("KSEA", "16L"), 0);
         EXPECT_EQ(lookup_vek_airport("KSEA", "34R"), 0);
       },
       "vek_apts.txt holds no record"},
      {"the trace on a full disk",
       [](const SimFolder&) {
         open_trace_file();
         rlimit before {};
         getrlimit(RLIMIT_FSIZE, &before);
         rlimit full = before;
         full.rlim_cur = 8;
         auto handler = signal(SIGXFSZ, SIG_IGN);
         setrlimit(RLIMIT_FSIZE, &full);
         trace_line("frame one of the flight\n");
         std::this_thread::sleep_for(std::chrono::milliseconds(trace_file_flush_ms + 10));
         trace_line("frame two of the flight\n");  // the first line reaches the file
         setrlimit(RLIMIT_FSIZE, &before);
         signal(SIGXFSZ, handler);
         EXPECT_EQ(trace_file, nullptr);
       },
       "File '<root>/vek1.log' refused: disk full"},
      {"the waypoint log where its folder cannot be written",
       [](const SimFolder& sim) {
         sim.write("vek/FlightLog", "a file in the folder's place\n");
         log_initial_load_done = 1;
         flight_phase = -1;
         update_flight_phase_log(0);
         update_flight_phase_log(0);
         flight_phase = 999;
         log_initial_load_done = 0;
       },
       "File '<root>/vek/FlightLog/fpl.log' refused: write failed"},
      {"the flight log where its folder cannot be written",
       [](const SimFolder& sim) {
         sim.write("vek/FlightLog", "a file in the folder's place\n");
         aircraft_name = "Twinjet";
         write_flight_log();
         write_flight_log();
         aircraft_name.clear();
       },
       "File '<root>/vek/FlightLog/Flight.log' refused: write failed"},
  };
  for (const Row& row : rows) {
    SimFolder sim;
    module_message_count = 0;
    row.act(sim);
    std::string told = row.told;
    if (told.find("<root>") != std::string::npos) told.replace(told.find("<root>"), 6, sim.root());
    EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1, told), 1)
        << row.what << ": " << (module_message_count > 0 ? module_messages[module_message_count] : "no message");
  }
}

// A file's refusals beyond a few are told as one row with their count: a file of refused
// lines never pushes another file's refusal out of the list.
TEST(RefusedFiles, AFloodOfRefusalsIsCountedPerFile) {
  struct Row {
    const char* file;  // under the simulator folder
    const char* key;   // each line "<key>=<a number out of its range>"
    std::function<void()> read;
    const char* told;  // the row that counts the rest
  };
  const Row rows[] = {
      {"vek/Aircraft/Flood.cfg", "V1",
       [] {
         aircraft_config_loaded = 0;
         aircraft_name = "Flood";
         read_aircraft_config();
         aircraft_name.clear();
       },
       "Flood.cfg '495' more lines refused"},
      {"vek/vek.cfg", "TransAlt",
       [] {
         settings_loaded = 0;
         read_vek_cfg();
       },
       "vek.cfg '495' more lines refused"},
  };
  for (const Row& row : rows) {
    SimFolder sim;
    std::string fifo = sim.root() + "/vek/navdata/ints.txt";
    sim.make_dir("vek/navdata");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    module_message_count = 0;
    navdb_loaded = 0;
    load_navigation_database();
    std::string text;
    for (int i = 0; i < 500; ++i) text += std::string(row.key) + "=" + std::to_string(100000 + i) + "\n";
    sim.write(row.file, text);
    row.read();
    const std::string refused = "File '" + fifo + "' refused: not a regular file";
    EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1, refused), 1) << row.file;
    EXPECT_EQ(std::count(module_messages + 1, module_messages + module_message_count + 1, std::string(row.told)), 1)
        << row.file;
    int of_file = static_cast<int>(std::count_if(module_messages + 1, module_messages + module_message_count + 1,
                                                 [&](const std::string& m) { return m.rfind(row.key, 0) == 0; }));
    EXPECT_EQ(of_file, module_message_rows_per_file) << row.file;
  }
}
