// Helpers shared by the flight-plan tests: a simulator folder in a temporary directory
// with the sample navigation database, and pilot-style entry helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_ops.h"
#include "module/module_paths.h"
#include "module/sim_vars.h"
#include "navdb/navdb.h"
#include "navdb/navdb_load.h"

// Makes <tmp>/vek/navdata (the sample database) and <tmp>/vek/flightplans, points the
// simulator folder at it and loads the database.
inline std::string make_sim_root() {
  char tmpl[] = "/tmp/vek_fpl_XXXXXX";
  char* dir = mkdtemp(tmpl);
  EXPECT_NE(dir, nullptr);
  std::string root = dir ? dir : "/tmp";
  std::filesystem::create_directories(root + "/vek/flightplans");
  std::filesystem::create_directory_symlink(std::string(VEK_FPL_SAMPLE_ROOT) + "/vek/navdata", root + "/vek/navdata");
  sim_root_path = root;
  load_navigation_database();
  return root;
}

struct FplTest : ::testing::Test {
  std::string root;
  void SetUp() override { root = make_sim_root(); }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
};

// Idents of the edit (or active) plan, records 0..last.
inline std::vector<std::string> edit_idents() {
  std::vector<std::string> v;
  for (int i = 0; i <= fpl_edit_last; ++i) v.push_back(fpl_edit[i].ident);
  return v;
}
inline std::vector<std::string> active_idents() {
  std::vector<std::string> v;
  for (int i = 0; i <= fpl_active_last; ++i) v.push_back(fpl_active[i].ident);
  return v;
}

// The pilot types an entry and puts the first candidate before edit record n.
inline int enter_fix(const std::string& entry, int n) {
  if (create_user_waypoint(0, entry) < 1) return 0;
  return insert_edit_record(n, 1);
}

// Appends entries after the last record.
inline void append_fixes(std::initializer_list<const char*> entries) {
  for (const char* e : entries) ASSERT_GT(enter_fix(e, fpl_edit_last + 1), 0) << e;
}

// The end record invariant of a plan table.
inline bool end_record_ok(const FlightPlanWpt* t, int last) {
  return last >= -1 && last <= FPL_MAX_LAST && std::strcmp(t[last + 1].ident, "******") == 0;
}
