// A host running the fake module on the fake panel.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "host/sim_host.h"
#include "tests/host/fake_module.h"

// A folder under /tmp removed with everything in it at the end of the test.
struct TempDir {
  std::string path;
  TempDir() {
    char tmpl[] = "/tmp/vek_host_test_XXXXXX";
    const char* d = mkdtemp(tmpl);
    path = d ? d : "";
  }
  ~TempDir() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

class FakeHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_log = FakeModuleLog{};
    fake_server_value = 42.5;
    ASSERT_TRUE(host.attach_module(&fake_linkage, &fake_imports, "vek1"));
    std::string error;
    ASSERT_TRUE(host.load_panel(std::string(HOST_TEST_DATA) + "/fake_panel.cfg", &error)) << error;
  }

  void start() {
    std::string error;
    ASSERT_TRUE(host.start(&error)) << error;
  }

  PanelServiceTable* services() { return fake_imports.panel_services; }

  int count_records(simhost::RecordKind kind) const {
    int n = 0;
    for (const auto& r : host.records()) n += r.kind == kind;
    return n;
  }

  simhost::SimHost host;
};
